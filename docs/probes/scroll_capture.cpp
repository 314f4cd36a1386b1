// Measures how a scroll-bar control repaints (range changes, hover, arrow clicks), and what a drag loop of our own gets with the mouse captured inside WM_NCLBUTTONDOWN: moves off every window, a release there, a lost capture, WM_CANCELMODE.
#include "probe.h"
#include <thread>

HWND parent, bar, list;
WNDPROC listOld;
std::string loopTrail;
bool ownLoop;
enum class Ending { Release, OtherCapture, CancelMode } ending;

LRESULT CALLBACK parentProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if ((m == WM_VSCROLL || m == WM_HSCROLL) && l != 0) {
        watchTrail += "parent:" + std::string(msgName(m)) + "(" + std::to_string(LOWORD(w)) + "," +
                      std::to_string(HIWORD(w)) + ") ";
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

// The list box with a drag loop of our own on a click on its vertical bar.
LRESULT CALLBACK listProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_CAPTURECHANGED && ownLoop) loopTrail += "[WM_CAPTURECHANGED sent] ";
    if (m == WM_CANCELMODE && ownLoop) loopTrail += "[WM_CANCELMODE sent] ";
    if (m == WM_NCLBUTTONDOWN && w == HTVSCROLL) {
        SetCapture(h);
        loopTrail += "capture " + std::string(GetCapture() == h ? "taken" : "refused") + "; ";
        ownLoop = true;
        for (;;) {
            MSG msg;
            if (GetCapture() != h) {
                loopTrail += "capture gone; ";
                break;
            }
            BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got <= 0) break;
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP || msg.message == WM_NCMOUSEMOVE ||
                msg.message == WM_NCLBUTTONUP) {
                POINT p;
                GetCursorPos(&p);
                loopTrail += std::string(msgName(msg.message)) + (msg.hwnd == h ? "@list" : "@other") + "(" +
                             std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
                if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
                continue;
            }
            if (msg.message == WM_CANCELMODE) loopTrail += "[WM_CANCELMODE posted] ";
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        ownLoop = false;
        loopTrail += "loop over, capture " + std::string(GetCapture() == h ? "still ours" : "not ours");
        ReleaseCapture();
        return 0;
    }
    return CallWindowProcA(listOld, h, m, w, l);
}

void scrollBarControl()
{
    out("---- scroll-bar control, SBS_VERT 17x200, range 0..99, page 10");
    bar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 20, 17, 200, parent, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 10, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    out("%s", windowRects(bar).c_str());
    watch(bar, "bar");
    watchAction(bar, "SetScrollInfo pos 40, redraw", [](HWND h) {
        SCROLLINFO s{sizeof s, SIF_POS, 0, 0, 0, 40, 0};
        SetScrollInfo(h, SB_CTL, &s, TRUE);
    });
    watchAction(bar, "SetScrollInfo pos 30, no redraw", [](HWND h) {
        SCROLLINFO s{sizeof s, SIF_POS, 0, 0, 0, 30, 0};
        SetScrollInfo(h, SB_CTL, &s, FALSE);
    });
    RECT w;
    GetWindowRect(bar, &w);
    watchAction(bar, "mouse onto the track", [](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        moveTo(r.left + 8, r.top + 120);
    }, 100);
    watchAction(bar, "mouse off the bar, 700 ms", [](HWND) { moveTo(600, 500); }, 700);
    moveTo(w.left + 8, w.bottom - 8);
    pump(100);
    watchAction(bar, "click on the down arrow", [](HWND) { mouseButton(true); mouseButton(false); }, 100);
    for (const auto& d : directPaints) out("  %s", d.c_str());
    watchAction(bar, "down arrow held 400 ms", [](HWND) {
        std::thread([] { Sleep(400); mouseButton(false); }).detach();
        mouseButton(true);
    }, 600);
    for (const auto& d : directPaints) out("  %s", d.c_str());
}

void ownDrag(const char* what, Ending how)
{
    out("---- own drag loop on the list box's bar: %s", what);
    ending = how;
    loopTrail.clear();
    RECT w;
    GetWindowRect(list, &w);
    moveTo(w.right - 10, w.top + 40);
    pump(150);
    std::thread([w] {
        Sleep(200);
        moveTo(w.right - 10, w.top + 60);
        Sleep(100);
        moveTo(700, 560);  // off every window of the process
        Sleep(150);
        if (ending == Ending::Release) {
            mouseButton(false);
        } else if (ending == Ending::OtherCapture) {
            PostMessageA(parent, WM_APP, 0, 0);
            Sleep(200);
            mouseButton(false);
        } else {
            PostMessageA(list, WM_CANCELMODE, 0, 0);
            Sleep(200);
            mouseButton(false);
        }
    }).detach();
    mouseButton(true);
    pump(900);
    out("%s", loopTrail.c_str());
}

LRESULT CALLBACK appProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_APP) {
        SetCapture(h);
        ReleaseCapture();
        return 0;
    }
    return parentProc(h, m, w, l);
}

int main()
{
    reportCommonControls();
    parent = makeTop("ProbeParent", appProc, "scroll probe", 50, 50, 400, 300);
    scrollBarControl();
    list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                           100, 20, 150, 200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < 60; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    listOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    ownDrag("release off every window", Ending::Release);
    ownDrag("another window takes the capture", Ending::OtherCapture);
    ownDrag("WM_CANCELMODE posted", Ending::CancelMode);
    moveTo(5, 5);
    return 0;
}
