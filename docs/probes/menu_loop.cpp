// Measures the menu loop as a drawn menu bar drives it: TPM_NONOTIFY, the message-filter hook, Left/Right, EndMenu with a posted click, timers, Esc, and owner-draw type changes.
#include "probe.h"
#include <functional>

HWND owner;
HMENU bar[3], sub;
HHOOK filter;
int depth;            // nested TrackPopupMenuEx calls
int openItem = -1;    // bar item whose drop-down is tracked
UINT selectedFlags;   // flags of the last WM_MENUSELECT
HMENU selectedMenu;
bool switchWithEndMenu = true;
bool switching;       // the filter hook moves between bar items on Left/Right
bool logFilter = true;
int timerTicks;
int filterMoves;
std::vector<std::function<void()>> script;
size_t scriptPos;

HWND menuWindow()
{
    return FindWindowA("#32768", nullptr);
}

const char* menuName(HMENU m)
{
    static char buf[32];
    if (!m) return "NULL";
    for (int i = 0; i < 3; ++i)
        if (m == bar[i]) {
            snprintf(buf, sizeof buf, "bar%d", i);
            return buf;
        }
    if (m == sub) return "sub";
    snprintf(buf, sizeof buf, "%p", (void*)m);
    return buf;
}

void track(int item, UINT flags)
{
    ++depth;
    openItem = item;
    selectedMenu = bar[item];  // nothing is selected yet: the top drop-down is current
    selectedFlags = 0;
    out("[%5lu] track bar%d begins (depth %d)", elapsed(), item, depth);
    int r = TrackPopupMenuEx(bar[item], flags, 100 + 60 * item, 100, owner, nullptr);
    out("[%5lu] track bar%d returned %d (depth %d) last error %lu", elapsed(), item, r, depth, GetLastError());
    --depth;
    if (depth == 0) openItem = -1;
}

LRESULT CALLBACK filterProc(int code, WPARAM w, LPARAM l)
{
    auto* msg = reinterpret_cast<MSG*>(l);
    if (code >= 0 && msg->message == WM_MOUSEMOVE) ++filterMoves;
    if (code >= 0 && logFilter && msg->message != WM_MOUSEMOVE)
        out("[%5lu]   filter code=%d %s hwnd=%s w=%llx", elapsed(), code, msgName(msg->message),
            msg->hwnd == owner ? "owner" : (msg->hwnd == menuWindow() ? "#32768" : "other"),
            (unsigned long long)msg->wParam);
    if (code == MSGF_MENU && switching && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
        bool inTop = selectedMenu == bar[openItem];
        bool onSub = selectedFlags & MF_POPUP;
        if (msg->wParam == VK_LEFT ? inTop : (inTop && !onSub)) {
            int next = (openItem + (msg->wParam == VK_RIGHT ? 1 : 2)) % 3;
            out("[%5lu]   filter switches to bar%d (%s)", elapsed(), next, switchWithEndMenu ? "EndMenu, then post" : "post only");
            if (switchWithEndMenu) EndMenu();
            PostMessageA(owner, WM_NCLBUTTONDOWN, HTMENU, next);
            return TRUE;
        }
    }
    return CallNextHookEx(filter, code, w, l);
}

LRESULT CALLBACK ownerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    switch (m) {
    case WM_TIMER:
        if (w == 2) {
            ++timerTicks;
            return 0;
        }
        if (scriptPos < script.size()) {
            out("[%5lu] step %zu", elapsed(), scriptPos + 1);
            script[scriptPos++]();
        } else if (menuWindow()) {
            out("[%5lu] script done, menu still open: Esc", elapsed());
            tap(VK_ESCAPE);
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (w == HTMENU) {
            out("[%5lu] owner WM_NCLBUTTONDOWN(HTMENU) item %lld, depth %d", elapsed(), (long long)l, depth);
            track(static_cast<int>(l), TPM_NONOTIFY | TPM_RETURNCMD);
            return 0;
        }
        break;
    case WM_MENUSELECT:
        selectedFlags = HIWORD(w);
        selectedMenu = reinterpret_cast<HMENU>(l);
        out("[%5lu] owner WM_MENUSELECT item=%u flags=%04x menu=%s", elapsed(), LOWORD(w), HIWORD(w), menuName(selectedMenu));
        break;
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_NEXTMENU:
    case WM_MENUCHAR:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_CANCELMODE:
        out("[%5lu] owner %s w=%llx l=%s", elapsed(), msgName(m), (unsigned long long)w,
            m == WM_INITMENUPOPUP || m == WM_UNINITMENUPOPUP || m == WM_INITMENU ? menuName(reinterpret_cast<HMENU>(w))
                                                                                  : "");
        break;
    }
    return DefWindowProcA(h, m, w, l);
}

void runScript(const char* title, std::vector<std::function<void()>> steps, std::function<void()> start)
{
    out("---- %s", title);
    script = std::move(steps);
    scriptPos = 0;
    SetTimer(owner, 1, 250, nullptr);
    start();
    KillTimer(owner, 1);
    pump(300);
    if (menuWindow()) out("menu still open after the scenario!");
}

POINT itemCentre(HMENU m, int i)
{
    RECT r;
    GetMenuItemRect(nullptr, m, i, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ownerDrawTypes()
{
    out("---- MIIM_FTYPE and MENUITEMINFOA sizes");
    out("sizeof(MENUITEMINFOA) = %zu", sizeof(MENUITEMINFOA));
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 1, "&Open file\tCtrl+O");
    auto show = [&](const char* when) {
        char text[64] = "";
        MENUITEMINFOA mi{sizeof mi, MIIM_FTYPE | MIIM_STRING};
        mi.dwTypeData = text;
        mi.cch = sizeof text;
        BOOL ok = GetMenuItemInfoA(m, 0, TRUE, &mi);
        char plain[64] = "";
        GetMenuStringA(m, 0, plain, sizeof plain, MF_BYPOSITION);
        out("%-40s ok=%d fType=%04x text=\"%s\" GetMenuString=\"%s\"", when, ok, mi.fType, text, plain);
    };
    show("string item");
    MENUITEMINFOA set{sizeof set, MIIM_FTYPE};
    set.fType = MFT_OWNERDRAW;
    out("set MFT_OWNERDRAW with MIIM_FTYPE: %d", SetMenuItemInfoA(m, 0, TRUE, &set));
    show("after setting MFT_OWNERDRAW");
    set.fType = 0;
    out("clear with MIIM_FTYPE: %d", SetMenuItemInfoA(m, 0, TRUE, &set));
    show("after clearing it");
    set.fType = MFT_OWNERDRAW;
    SetMenuItemInfoA(m, 0, TRUE, &set);
    MENUITEMINFOA old{sizeof old, MIIM_TYPE};
    old.fType = MFT_STRING;
    old.dwTypeData = nullptr;
    out("clear with MIIM_TYPE, MFT_STRING, NULL text: %d", SetMenuItemInfoA(m, 0, TRUE, &old));
    show("after MIIM_TYPE clear");
    MENUITEMINFOA t{sizeof t, MIIM_TYPE};
    char text[64] = "";
    t.dwTypeData = text;
    t.cch = sizeof text;
    AppendMenuA(m, MF_OWNERDRAW, 2, "Owner drawn");
    BOOL ok = GetMenuItemInfoA(m, 1, TRUE, &t);
    out("MIIM_TYPE read of an owner-drawn item: ok=%d fType=%04x dwTypeData=%p (text pointer is item data)", ok, t.fType, (void*)t.dwTypeData);
    MENUITEMINFOA small{};
    small.cbSize = 48;
    small.fMask = MIIM_FTYPE;
    SetLastError(0);
    ok = GetMenuItemInfoA(m, 0, TRUE, &small);
    out("GetMenuItemInfoA with cbSize 48: ok=%d error=%lu", ok, GetLastError());
    small.cbSize = 44;
    SetLastError(0);
    ok = GetMenuItemInfoA(m, 0, TRUE, &small);
    out("GetMenuItemInfoA with cbSize 44: ok=%d error=%lu", ok, GetLastError());
    small.cbSize = 72;
    SetLastError(0);
    ok = GetMenuItemInfoA(m, 0, TRUE, &small);
    out("GetMenuItemInfoA with cbSize 72 (no hbmpItem): ok=%d error=%lu", ok, GetLastError());
    DestroyMenu(m);
}

int main()
{
    reportCommonControls();
    owner = makeTop("LoopOwner", ownerProc, "owner", 50, 50, 500, 400);
    for (int i = 0; i < 3; ++i) {
        bar[i] = CreatePopupMenu();
        char t[32];
        for (int k = 0; k < 3; ++k) {
            snprintf(t, sizeof t, "Item %d.%d", i, k);
            AppendMenuA(bar[i], MF_STRING, 100 * (i + 1) + k, t);
        }
    }
    sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 901, "Sub one");
    AppendMenuA(sub, MF_STRING, 902, "Sub two");
    AppendMenuA(bar[0], MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
    filter = SetWindowsHookExA(WH_MSGFILTER, filterProc, nullptr, GetCurrentThreadId());
    moveTo(5, 5);
    pump(300);

    runScript("TrackPopupMenuEx without TPM_NONOTIFY, Esc at once", {[] { tap(VK_ESCAPE); }},
              [] { track(1, TPM_RETURNCMD); });

    SetTimer(owner, 2, 50, nullptr);
    timerTicks = 0;
    DWORD t0 = GetTickCount();
    runScript("TPM_NONOTIFY|TPM_RETURNCMD: keys, mouse, Left/Right at the ends, Esc",
              {[] { tap(VK_DOWN); },
               [] { tap(VK_RIGHT); },  // on a plain item of the top popup
               [] { tap(VK_LEFT); },   // nothing to close
               [] { tap(VK_UP); },     // wraps to the last item, "More"
               [] { tap(VK_RIGHT); },  // opens the sub-menu
               [] { tap(VK_RIGHT); },  // on a plain item of the sub-menu
               [] { tap(VK_LEFT); },   // closes the sub-menu
               [] {
                   POINT p = itemCentre(bar[0], 1);
                   moveTo(p.x, p.y);
               },
               [] { tap(VK_ESCAPE); }},
              [] { track(0, TPM_NONOTIFY | TPM_RETURNCMD); });
    out("filter saw %d WM_MOUSEMOVE", filterMoves);
    DWORD span = GetTickCount() - t0;
    KillTimer(owner, 2);
    out("50 ms timer ticked %d times in %lu ms, mostly inside the menu loop", timerTicks, span);

    runScript("Esc with the sub-menu open, then Esc again",
              {[] { tap(VK_UP); }, [] { tap(VK_RIGHT); }, [] { tap(VK_ESCAPE); }, [] { tap(VK_ESCAPE); }},
              [] { track(0, TPM_NONOTIFY | TPM_RETURNCMD); });

    runScript("a click on an item, menu chosen by mouse",
              {[] {
                   POINT p = itemCentre(bar[2], 1);
                   moveTo(p.x, p.y);
               },
               [] {
                   mouseButton(true);
                   mouseButton(false);
               }},
              [] { track(2, TPM_NONOTIFY | TPM_RETURNCMD); });

    runScript("a click outside every window of the menu",
              {[] {
                   moveTo(400, 350);
                   mouseButton(true);
                   mouseButton(false);
               }},
              [] { track(2, TPM_NONOTIFY | TPM_RETURNCMD); });

    logFilter = false;
    switching = true;
    switchWithEndMenu = true;
    runScript("bar switching from the filter hook: EndMenu, then a posted WM_NCLBUTTONDOWN(HTMENU)",
              {[] { tap(VK_RIGHT); }, [] { tap(VK_RIGHT); }, [] { tap(VK_RIGHT); }, [] { tap(VK_LEFT); },
               [] { tap(VK_RIGHT); }, [] { tap(VK_UP); }, [] { tap(VK_RIGHT); },
               [] { out("        current menu by WM_MENUSELECT: %s", menuName(selectedMenu)); tap(VK_LEFT); },
               [] {
                   out("        current menu by WM_MENUSELECT after Left closed the sub-menu: %s; popups open: %d",
                       menuName(selectedMenu), FindWindowExA(nullptr, menuWindow(), "#32768", nullptr) ? 2 : 1);
                   tap(VK_LEFT);
               },
               [] { out("        Left again: current menu %s", menuName(selectedMenu)); tap(VK_LEFT); },
               [] { tap(VK_ESCAPE); }},
              [] { PostMessageA(owner, WM_NCLBUTTONDOWN, HTMENU, 0); pump(1); });
    // The loop above runs inside pump(); give the posted clicks time to run out.
    for (int i = 0; i < 20 && (menuWindow() || scriptPos < script.size()); ++i) pump(250);

    switchWithEndMenu = false;
    runScript("bar switching without EndMenu: a posted WM_NCLBUTTONDOWN(HTMENU) only",
              {[] { tap(VK_RIGHT); }, [] { tap(VK_ESCAPE); }, [] { tap(VK_ESCAPE); }, [] { tap(VK_ESCAPE); }},
              [] { PostMessageA(owner, WM_NCLBUTTONDOWN, HTMENU, 0); pump(1); });
    for (int i = 0; i < 20 && (menuWindow() || scriptPos < script.size()); ++i) pump(250);
    switching = false;

    ownerDrawTypes();
    UnhookWindowsHookEx(filter);
    return 0;
}
