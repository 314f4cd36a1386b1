// Measures how a list box and a memo redraw their window scroll bars, arrow clicks and double clicks, hover, the thumb drag loop, scroll info seen from another process, and the platform's thumb sizes.
#include "probe.h"
#include <thread>

HWND parent, list, memo;
HHOOK filter;
int timerTicks;
bool logFilter;
std::string filterTrail;

RECT barRect(HWND h, LONG obj)
{
    SCROLLBARINFO sbi{sizeof sbi};
    RECT r{};
    if (!GetScrollBarInfo(h, obj, &sbi) || (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return r;
    RECT w;
    GetWindowRect(h, &w);
    r = sbi.rcScrollBar;
    OffsetRect(&r, -w.left, -w.top);
    return r;
}

int paintedIn(const Shot& s, RECT r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom && y < s.h; ++y)
        for (int x = r.left; x < r.right && x < s.w; ++x) n += s.at(x, y) != 0xFF00FF;
    return n;
}

void fillRect(HWND h, RECT r, COLORREF c)
{
    HDC dc = GetWindowDC(h);
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

// Fills both bars with magenta, runs the action, says how much of each bar was painted again and what came.
void barAction(HWND h, const char* what, void (*act)(HWND), DWORD during = 0)
{
    pump(150);
    RECT v = barRect(h, OBJID_VSCROLL), hz = barRect(h, OBJID_HSCROLL);
    fillRect(h, v, RGB(255, 0, 255));
    fillRect(h, hz, RGB(255, 0, 255));
    watchTrail.clear();
    act(h);
    if (during) pump(during);
    Shot s = grab(h);
    std::string trail = watchTrail;
    out("%-40s | %s", what, trail.c_str());
    out("%-40s | vertical bar %s repainted %d of %ld px; horizontal bar %s repainted %d px; NCPAINT %s", "",
        v.right ? "" : "(none)", paintedIn(s, v), (v.right - v.left) * (v.bottom - v.top), hz.right ? "" : "(none)",
        paintedIn(s, hz), trail.find("WM_NCPAINT") != std::string::npos ? "yes" : "no");
    RECT v2 = barRect(h, OBJID_VSCROLL), h2 = barRect(h, OBJID_HSCROLL);
    if (!EqualRect(&v, &v2) || !EqualRect(&hz, &h2))
        out("%-40s | bars now: vertical %s, horizontal %s", "", rectText(v2).c_str(), rectText(h2).c_str());
}

// Outermost subclass of the list box: marks the bar after SB_ENDSCROLL and measures what the
// platform draws on it before WM_NCLBUTTONDOWN returns.
WNDPROC listOld;
int ncDepth;
int ncMoves;
LRESULT CALLBACK listOuter(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NCMOUSEMOVE) ++ncMoves;
    if (m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONDBLCLK) ++ncDepth;
    if (m == WM_VSCROLL)
        watchTrail += "{capture=" + std::string(GetCapture() == h ? "list" : (GetCapture() ? "other" : "none")) +
                      " inside NC button: " + std::to_string(ncDepth) + "} ";
    LRESULT r = CallWindowProcA(listOld, h, m, w, l);
    if (m == WM_VSCROLL && LOWORD(w) == SB_ENDSCROLL) fillRect(h, barRect(h, OBJID_VSCROLL), RGB(255, 0, 255));
    if (m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONDBLCLK) {
        --ncDepth;
        watchTrail += "{after SB_ENDSCROLL, before " + std::string(msgName(m)) + " returned: " +
                      std::to_string(paintedIn(grab(h), barRect(h, OBJID_VSCROLL))) + " bar px painted} ";
    }
    return r;
}

LRESULT CALLBACK filterProc(int code, WPARAM w, LPARAM l)
{
    auto* msg = reinterpret_cast<MSG*>(l);
    if (code >= 0 && logFilter) filterTrail += std::to_string(code) + ":" + msgName(msg->message) + " ";
    return CallNextHookEx(filter, code, w, l);
}

LRESULT CALLBACK parentProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_TIMER && w == 7) {
        ++timerTicks;
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

void thumbTable()
{
    out("---- platform thumb of a 17-pixel SBS_VERT scroll-bar control, against the skin formula");
    int s = GetSystemMetrics(SM_CXHSCROLL);
    out("SM_CXHSCROLL %d SM_CYVSCROLL %d SM_CXVSCROLL %d SM_CYVTHUMB %d SM_CXHTHUMB %d", s,
        GetSystemMetrics(SM_CYVSCROLL), GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVTHUMB),
        GetSystemMetrics(SM_CXHTHUMB));
    out("%6s %5s %5s %5s %5s | %-24s | %s", "height", "min", "max", "page", "pos", "platform dxyLineButton / thumb top..bottom (len)", "skin L, T, P");
    struct Case {
        int height, min, max, page, pos;
    };
    Case cases[] = {{100, 0, 99, 10, 0},  {100, 0, 99, 10, 45},  {100, 0, 99, 10, 90},   {100, 0, 99, 50, 0},
                    {100, 0, 99, 50, 50}, {100, 0, 99, 99, 0},   {100, 0, 99, 100, 0},   {100, 0, 99, 0, 0},
                    {100, 0, 99, 0, 99},  {100, 0, 999, 10, 0},  {100, 0, 999, 10, 990}, {200, 0, 99, 10, 0},
                    {200, 0, 99, 10, 90}, {200, 0, 99, 25, 75},  {200, 0, 19, 1, 19},    {200, 0, 1000, 1, 500},
                    {300, 0, 99, 10, 45}, {300, 0, 39, 20, 20},  {300, 10, 109, 10, 100}, {40, 0, 99, 10, 0},
                    {30, 0, 99, 10, 0},   {50, 0, 99, 90, 5}};
    for (auto& c : cases) {
        HWND sb = CreateWindowA("SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 400, 10, s, c.height, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, c.min, c.max, static_cast<UINT>(c.page), c.pos};
        SetScrollInfo(sb, SB_CTL, &si, TRUE);
        SCROLLINFO got{sizeof got, SIF_ALL};
        GetScrollInfo(sb, SB_CTL, &got);
        SCROLLBARINFO sbi{sizeof sbi};
        GetScrollBarInfo(sb, OBJID_CLIENT, &sbi);
        // The skin's formula with the stored values.
        int L = c.height - 2 * s, R = got.nMax - got.nMin, m = 8;
        int T = got.nPage == 0 ? GetSystemMetrics(SM_CXHTHUMB) : std::max(MulDiv(got.nPage, L, R), m);
        if (L <= T) T = L;
        int P;
        if (static_cast<int>(got.nPage) == R) {
            P = 0;
            T -= 1;
        } else {
            P = MulDiv(got.nPos - got.nMin, L - T, R - got.nPage);
        }
        if (P > L - T) P = L - T;
        char plat[64];
        snprintf(plat, sizeof plat, "%d / %d..%d (%d)", sbi.dxyLineButton, sbi.xyThumbTop, sbi.xyThumbBottom,
                 sbi.xyThumbBottom - sbi.xyThumbTop);
        out("%6d %5d %5d %5d %5d | %-38s | L=%d T=%d P=%d -> %d..%d   (stored page %u pos %d)", c.height, c.min, c.max,
            c.page, c.pos, plat, L, T, P, s + P, s + P + T, got.nPage, got.nPos);
        DestroyWindow(sb);
    }
}

void secondProcess()
{
    out("---- another process reads the list box's scroll information");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    char cmd[MAX_PATH + 64];
    snprintf(cmd, sizeof cmd, "\"%s\" reader %llu", self, (unsigned long long)reinterpret_cast<UINT_PTR>(list));
    STARTUPINFOA si{sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        out("CreateProcess failed %lu", GetLastError());
        return;
    }
    while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) pump(1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    SCROLLINFO own{sizeof own, SIF_ALL};
    GetScrollInfo(list, SB_VERT, &own);
    out("own process: min %d max %d page %u pos %d", own.nMin, own.nMax, own.nPage, own.nPos);
}

int reader(HWND h)
{
    SCROLLINFO si{sizeof si, SIF_ALL};
    SetLastError(0);
    BOOL ok = GetScrollInfo(h, SB_VERT, &si);
    out("other process: GetScrollInfo ok=%d error=%lu min %d max %d page %u pos %d", ok, GetLastError(), si.nMin, si.nMax,
        si.nPage, si.nPos);
    SCROLLBARINFO sbi{sizeof sbi};
    SetLastError(0);
    ok = GetScrollBarInfo(h, OBJID_VSCROLL, &sbi);
    out("other process: GetScrollBarInfo ok=%d error=%lu thumb %d..%d state %lx", ok, GetLastError(), sbi.xyThumbTop,
        sbi.xyThumbBottom, sbi.rgstate[0]);
    out("other process: GetScrollPos=%d LB_GETTOPINDEX=%lld style WS_VSCROLL=%d", GetScrollPos(h, SB_VERT),
        (long long)SendMessageA(h, LB_GETTOPINDEX, 0, 0), (GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL) != 0);
    return 0;
}

POINT screenOf(HWND h, RECT windowRel, int dx, int dy)
{
    RECT w;
    GetWindowRect(h, &w);
    return {w.left + windowRel.left + dx, w.top + windowRel.top + dy};
}

void realInput()
{
    out("---- real input on the list box's vertical bar");
    RECT v = barRect(list, OBJID_VSCROLL);
    int s = v.right - v.left;
    POINT down = screenOf(list, v, s / 2, (v.bottom - v.top) - s / 2);
    barAction(list, "mouse onto the down arrow", [](HWND h) {
        RECT v = barRect(h, OBJID_VSCROLL);
        int s = v.right - v.left;
        POINT p = screenOf(h, v, s / 2, (v.bottom - v.top) - s / 2);
        moveTo(p.x, p.y);
    }, 100);
    barAction(list, "mouse along the bar to the track", [](HWND h) {
        RECT v = barRect(h, OBJID_VSCROLL);
        int s = v.right - v.left;
        POINT p = screenOf(h, v, s / 2, (v.bottom - v.top) - 3 * s);
        moveTo(p.x, p.y);
    }, 100);
    out("%-40s | WM_NCMOUSEMOVE so far: %d", "", ncMoves);
    barAction(list, "mouse off the bar into the client, 700 ms", [](HWND h) {
        RECT w;
        GetWindowRect(h, &w);
        moveTo(w.left + 20, w.top + 20);
    }, 700);
    barAction(list, "mouse back onto the track", [](HWND h) {
        RECT v = barRect(h, OBJID_VSCROLL);
        int s = v.right - v.left;
        POINT p = screenOf(h, v, s / 2, (v.bottom - v.top) - 3 * s);
        moveTo(p.x, p.y);
    }, 100);
    barAction(list, "mouse off the list box, 700 ms", [](HWND) { moveTo(600, 500); }, 700);
    moveTo(down.x, down.y);
    pump(100);
    barAction(list, "click on the down arrow", [](HWND) { mouseButton(true); mouseButton(false); }, 100);
    out("top index %lld", (long long)SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    pump(600);
    barAction(list, "double click on the down arrow", [](HWND) {
        mouseButton(true);
        mouseButton(false);
        mouseButton(true);
        mouseButton(false);
    }, 100);
    out("top index %lld", (long long)SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    pump(600);
    barAction(list, "down arrow held 600 ms", [](HWND) {
        std::thread([] { Sleep(600); mouseButton(false); }).detach();
        mouseButton(true);
    }, 800);
    out("top index %lld", (long long)SendMessageA(list, LB_GETTOPINDEX, 0, 0));

    out("---- thumb drag with real input (a second thread moves the mouse)");
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    pump(200);
    SCROLLBARINFO sbi{sizeof sbi};
    GetScrollBarInfo(list, OBJID_VSCROLL, &sbi);
    POINT thumb{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2, sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2};
    out("thumb at %d..%d, pressing at (%ld,%ld)", sbi.xyThumbTop, sbi.xyThumbBottom, thumb.x, thumb.y);
    moveTo(thumb.x, thumb.y);
    pump(100);
    SetTimer(parent, 7, 50, nullptr);
    timerTicks = 0;
    logFilter = true;
    filterTrail.clear();
    std::thread mover([thumb] {
        Sleep(150);
        for (int i = 1; i <= 5; ++i) {
            moveTo(thumb.x, thumb.y + 12 * i);
            Sleep(100);
        }
        moveTo(thumb.x + 200, thumb.y + 60);  // far off the bar while held
        Sleep(150);
        mouseButton(false);
    });
    DWORD t0 = GetTickCount();
    barAction(list, "drag the thumb", [](HWND) { mouseButton(true); }, 1200);
    mover.join();
    logFilter = false;
    KillTimer(parent, 7);
    out("50 ms parent timer ticked %d times in %lu ms of drag", timerTicks, GetTickCount() - t0);
    out("message-filter hook during the drag (code:message, WM_MOUSEMOVE included): %s", filterTrail.substr(0, 1500).c_str());
    out("top index after the drag %lld", (long long)SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    moveTo(5, 5);
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "reader") == 0)
        return reader(reinterpret_cast<HWND>(static_cast<UINT_PTR>(_strtoui64(argv[2], nullptr, 10))));
    reportCommonControls();
    parent = makeTop("ScrollParent", parentProc, "scroll bars", 50, 50, 700, 500);
    HINSTANCE hi = GetModuleHandleA(nullptr);
    list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 20, 20,
                           200, 200, parent, (HMENU)1, hi, nullptr);
    memo = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                           20, 250, 200, 150, parent, (HMENU)2, hi, nullptr);
    char cls[32];
    GetClassNameA(list, cls, sizeof cls);
    out("list class %s, class style CS_DBLCLKS %d", cls, (GetClassLongPtrA(list, GCL_STYLE) & CS_DBLCLKS) != 0);
    GetClassNameA(memo, cls, sizeof cls);
    out("memo class %s, class style CS_DBLCLKS %d", cls, (GetClassLongPtrA(memo, GCL_STYLE) & CS_DBLCLKS) != 0);
    watch(list, "list");
    watch(memo, "memo");
    listOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listOuter)));
    filter = SetWindowsHookExA(WH_MSGFILTER, filterProc, nullptr, GetCurrentThreadId());
    watchDirect = false;  // bars are measured by their own pixels here
    moveTo(5, 5);
    for (int i = 0; i < 5; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    pump(300);
    out("list style after 5 items: WS_VSCROLL %d", (GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0);
    out("---- list box");
    barAction(list, "LB_ADDSTRING x 20 (bar appears)", [](HWND h) {
        for (int i = 0; i < 20; ++i) SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    });
    out("list: %s; vertical bar %s", windowRects(list).c_str(), rectText(barRect(list, OBJID_VSCROLL)).c_str());
    barAction(list, "LB_ADDSTRING x 1 (bar shown)", [](HWND h) { SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one more")); });
    barAction(list, "LB_SETTOPINDEX 5", [](HWND h) { SendMessageA(h, LB_SETTOPINDEX, 5, 0); });
    barAction(list, "SetScrollInfo(pos, redraw TRUE)", [](HWND h) {
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 3};
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    });
    barAction(list, "SetScrollInfo(pos, redraw FALSE)", [](HWND h) {
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 6};
        SetScrollInfo(h, SB_VERT, &si, FALSE);
    });
    barAction(list, "LB_SETHORIZONTALEXTENT 800", [](HWND h) { SendMessageA(h, LB_SETHORIZONTALEXTENT, 800, 0); });
    barAction(list, "LB_SETHORIZONTALEXTENT 0", [](HWND h) { SendMessageA(h, LB_SETHORIZONTALEXTENT, 0, 0); });
    barAction(list, "WM_SETREDRAW FALSE", [](HWND h) { SendMessageA(h, WM_SETREDRAW, FALSE, 0); });
    barAction(list, "LB_ADDSTRING x 5 while not redrawing", [](HWND h) {
        for (int i = 0; i < 5; ++i) SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("quiet"));
    });
    barAction(list, "WM_SETREDRAW TRUE", [](HWND h) { SendMessageA(h, WM_SETREDRAW, TRUE, 0); });
    barAction(list, "LB_SETCURSEL 29 (scrolls into view)", [](HWND h) { SendMessageA(h, LB_SETCURSEL, 29, 0); });
    barAction(list, "WM_VSCROLL SB_LINEUP sent", [](HWND h) { SendMessageA(h, WM_VSCROLL, SB_LINEUP, 0); });

    out("---- memo");
    barAction(memo, "WM_SETTEXT 30 lines", [](HWND h) {
        std::string t;
        for (int i = 0; i < 30; ++i) t += "line " + std::to_string(i) + "\r\n";
        SetWindowTextA(h, t.c_str());
    });
    out("memo: %s; vertical bar %s; horizontal bar %s", windowRects(memo).c_str(), rectText(barRect(memo, OBJID_VSCROLL)).c_str(),
        rectText(barRect(memo, OBJID_HSCROLL)).c_str());
    barAction(memo, "EM_REPLACESEL one line at the end", [](HWND h) {
        int n = GetWindowTextLengthA(h);
        SendMessageA(h, EM_SETSEL, n, n);
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("appended\r\n"));
    });
    barAction(memo, "EM_LINESCROLL 0,-5", [](HWND h) { SendMessageA(h, EM_LINESCROLL, 0, -5); });
    barAction(memo, "EM_SETSEL 0,0 + EM_SCROLLCARET", [](HWND h) {
        SendMessageA(h, EM_SETSEL, 0, 0);
        SendMessageA(h, EM_SCROLLCARET, 0, 0);
    });
    barAction(memo, "a long line (horizontal range)", [](HWND h) {
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("a very long line that is much wider than the memo is wide ......\r\n"));
    });
    barAction(memo, "SetFocus(memo)", [](HWND h) { SetFocus(h); });
    barAction(memo, "SetFocus(parent)", [](HWND) { SetFocus(parent); });

    realInput();
    secondProcess();
    thumbTable();
    UnhookWindowsHookEx(filter);
    return 0;
}
