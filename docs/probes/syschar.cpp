// Measures what a window whose menu was taken off with SetMenu(0) receives for Alt+letter, Alt alone and F10.
#include "probe.h"
#include <functional>

HWND win;
HMENU menu;
bool logging;
std::vector<std::function<void()>> script;
size_t scriptPos;

LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_TIMER) {
        if (scriptPos < script.size()) script[scriptPos++]();
        return 0;
    }
    bool noise = m == WM_NCHITTEST || m == WM_SETCURSOR || m == WM_MOUSEMOVE || m == WM_GETICON ||
                 m == WM_NCMOUSEMOVE || m == WM_ENTERIDLE || m == WM_GETTEXT || m == WM_GETTEXTLENGTH;
    if (logging && !noise)
        out("[%5lu]   %-20s w=%llx l=%llx", elapsed(), msgName(m), (unsigned long long)w, (unsigned long long)l);
    LRESULT r = DefWindowProcA(h, m, w, l);
    if (logging && (m == WM_SYSCOMMAND || m == WM_SYSCHAR || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || m == WM_KEYUP))
        out("[%5lu]   %-20s returned from DefWindowProc", elapsed(), msgName(m));
    return r;
}

// Runs `keys`, then presses Esc twice from a timer in case a menu loop started.
void trial(const char* title, std::function<void()> keys)
{
    out("---- %s", title);
    logging = true;
    keys();
    script = {[] { out("[%5lu] (watchdog Esc)", elapsed()); tap(VK_ESCAPE); },
              [] { out("[%5lu] (watchdog Esc)", elapsed()); tap(VK_ESCAPE); }};
    scriptPos = 0;
    SetTimer(win, 1, 400, nullptr);
    pump(1000);
    KillTimer(win, 1);
    logging = false;
    pump(100);
}

void altLetter()
{
    key(VK_MENU, false);
    key('F', false);
    key('F', true);
    key(VK_MENU, true);
}

void altAlone()
{
    key(VK_MENU, false);
    key(VK_MENU, true);
}

void f10() { tap(VK_F10); }

int main()
{
    reportCommonControls();
    menu = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "&Open");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    win = makeTop("SysCharProbe", proc, "probe", 100, 100, 400, 300);
    SetMenu(win, menu);
    pump(300);
    trial("with the menu: Alt+F", altLetter);
    SetMenu(win, nullptr);
    SetWindowPos(win, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    pump(300);
    out("GetMenu after SetMenu(0): %p", (void*)GetMenu(win));
    trial("menu taken off: Alt+F", altLetter);
    trial("menu taken off: Alt alone", altAlone);
    trial("menu taken off: F10", f10);
    SetWindowLongPtrA(win, GWL_STYLE, GetWindowLongPtrA(win, GWL_STYLE) & ~WS_SYSMENU);
    trial("menu taken off and WS_SYSMENU stripped: Alt+F", altLetter);
    trial("menu taken off and WS_SYSMENU stripped: Alt alone", altAlone);
    return 0;
}
