// Measures which actions bring WM_NCPAINT to edits with WS_EX_CLIENTEDGE and WS_BORDER, whether a ring drawn after WM_PAINT/WM_NCPAINT stays, WM_PRINT/WM_PRINTCLIENT, and an up-down buddy's rectangle and painting.
#include "probe.h"

constexpr COLORREF ringColour = RGB(0, 160, 0);
HWND parent, clientEdge, bordered, spinEdit, spin;

struct Ring {
    HWND h;
    WNDPROC old;
    int width;
};
std::vector<Ring> rings;

void drawRing(HWND h, int k)
{
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(h);
    HBRUSH b = CreateSolidBrush(ringColour);
    RECT strips[4] = {{0, 0, r.right, k}, {0, r.bottom - k, r.right, r.bottom}, {0, k, k, r.bottom - k},
                      {r.right - k, k, r.right, r.bottom - k}};
    for (auto& s : strips) FillRect(dc, &s, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

// Outermost subclass: draws the ring after the edit's own WM_PAINT and WM_NCPAINT.
LRESULT CALLBACK ringProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    Ring* me = nullptr;
    for (auto& r : rings)
        if (r.h == h) me = &r;
    LRESULT res = CallWindowProcA(me->old, h, m, w, l);
    if (m == WM_PAINT || m == WM_NCPAINT) drawRing(h, me->width);
    return res;
}

void addRing(HWND h, int k)
{
    rings.push_back({h, nullptr, k});
    rings.back().old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ringProc)));
}

int ringWidth(HWND h)
{
    for (auto& r : rings)
        if (r.h == h) return r.width;
    return 0;
}

void ringCheck(HWND h, const char* when)
{
    auto [n, total] = ringCount(grab(h), ringColour, ringWidth(h));
    out("%-34s | ring %d of %d px%s", when, n, total, n == total ? "" : "  <-- BROKEN");
}

POINT centre(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Runs one action without the magenta fill (the ring must survive real painting).
void ringAction(HWND h, const char* what, void (*act)(HWND), DWORD settle = 200)
{
    pump(100);
    drawRing(h, ringWidth(h));
    watchTrail.clear();
    act(h);
    pump(settle);
    std::string trail = watchTrail;
    out("%-34s | %s", what, trail.c_str());
    ringCheck(h, "");
}

HWND target;
void probeEdit(HWND e, const char* kind)
{
    out("---- %s: %s", kind, windowRects(e).c_str());
    target = e;
    ringAction(e, "SetFocus(edit)", [](HWND h) { SetFocus(h); });
    ringAction(e, "typing 'ab'", [](HWND) { tap('A'); tap('B'); });
    ringAction(e, "SetFocus(parent)", [](HWND) { SetFocus(parent); });
    ringAction(e, "real mouse over", [](HWND h) { POINT p = centre(h); moveTo(p.x, p.y); });
    ringAction(e, "real click", [](HWND) { mouseButton(true); mouseButton(false); });
    ringAction(e, "typing 'c'", [](HWND) { tap('C'); });
    ringAction(e, "real mouse leaves", [](HWND) { moveTo(5, 5); }, 600);
    ringAction(e, "WM_SETTEXT", [](HWND h) { SetWindowTextA(h, "set text"); });
    ringAction(e, "EM_SETSEL", [](HWND h) { SendMessageA(h, EM_SETSEL, 0, 3); });
    ringAction(e, "EnableWindow(FALSE)", [](HWND h) { EnableWindow(h, FALSE); });
    ringAction(e, "EnableWindow(TRUE)", [](HWND h) { EnableWindow(h, TRUE); });
    ringAction(e, "SetFocus(parent)", [](HWND) { SetFocus(parent); });
    ringAction(e, "parent InvalidateRect(erase)", [](HWND) { InvalidateRect(parent, nullptr, TRUE); });
    ringAction(e, "RedrawWindow(RDW_FRAME|INVALIDATE)", [](HWND h) { RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); });
    // Direct painting with the magenta fill: the whole window, non-client area included.
    watchAction(e, "direct check: SetFocus(edit)", [](HWND h) { SetFocus(h); });
    watchAction(e, "direct check: typing 'd'", [](HWND) { tap('D'); }, 100);
    watchAction(e, "direct check: SetFocus(parent)", [](HWND) { SetFocus(parent); });
    watchAction(e, "direct check: EnableWindow(FALSE)", [](HWND h) { EnableWindow(h, FALSE); });
    watchAction(e, "direct check: EnableWindow(TRUE)", [](HWND h) { EnableWindow(h, TRUE); });
    watchAction(e, "direct check: WM_SETTEXT", [](HWND h) { SetWindowTextA(h, "again"); });
}

// WM_PRINT and WM_PRINTCLIENT into a magenta memory bitmap: what is drawn where.
void printInto(HWND e, UINT msg, LPARAM flags, const char* what)
{
    RECT r;
    GetWindowRect(e, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH mag = CreateSolidBrush(RGB(255, 0, 255));
    RECT all{0, 0, w, h};
    FillRect(mem, &all, mag);
    DeleteObject(mag);
    watchTrail.clear();
    SendMessageA(e, msg, reinterpret_cast<WPARAM>(mem), flags);
    GdiFlush();
    Shot s;
    s.w = w;
    s.h = h;
    s.px.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + w * h);
    for (auto& p : s.px) p &= 0xFFFFFF;
    auto [ring2, total2] = ringCount(s, RGB(255, 0, 255), 2);
    int untouched = countColour(s, RGB(255, 0, 255));
    out("%-34s | %s", what, watchTrail.c_str());
    out("%-34s | outer 2-px ring: %d of %d px still magenta; whole: %d of %d magenta; rows y=0..3 at x=%d: %06lx %06lx %06lx %06lx",
        "", ring2, total2, untouched, w * h, w / 2, s.at(w / 2, 0), s.at(w / 2, 1), s.at(w / 2, 2), s.at(w / 2, 3));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(nullptr, screen);
}

void probeSpin()
{
    out("---- up-down buddy");
    out("edit before the buddy: %s", windowRects(spinEdit).c_str());
    spin = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                           WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0,
                           parent, (HMENU)50, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spinEdit), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    pump(100);
    char cls[32];
    GetClassNameA(spin, cls, sizeof cls);
    out("class %s style %08llx", cls, (unsigned long long)GetWindowLongPtrA(spin, GWL_STYLE));
    out("edit after:  %s", windowRects(spinEdit).c_str());
    out("up-down:     %s", windowRects(spin).c_str());
    RECT pe, ps;
    GetWindowRect(spinEdit, &pe);
    GetWindowRect(spin, &ps);
    out("up-down left - edit right = %ld, tops %ld/%ld, bottoms %ld/%ld", ps.left - pe.right, ps.top, pe.top, ps.bottom, pe.bottom);
    watch(spin, "updown");
    watch(spinEdit, "buddy");
    moveTo(5, 5);
    pump(200);
    target = spin;
    watchAction(spin, "mouse over the upper half", [](HWND h) { RECT r; GetWindowRect(h, &r); moveTo((r.left + r.right) / 2, r.top + 3); }, 100);
    watchAction(spin, "mouse to the lower half", [](HWND h) { RECT r; GetWindowRect(h, &r); moveTo((r.left + r.right) / 2, r.bottom - 3); }, 100);
    watchAction(spin, "press (lower half)", [](HWND) { mouseButton(true); }, 100);
    watchAction(spin, "release", [](HWND) { mouseButton(false); }, 100);
    char text[32];
    GetWindowTextA(spinEdit, text, sizeof text);
    out("buddy text after the click: \"%s\"", text);
    watchAction(spin, "press upper half, hold 700 ms", [](HWND h) { RECT r; GetWindowRect(h, &r); moveTo((r.left + r.right) / 2, r.top + 3); mouseButton(true); }, 700);
    watchAction(spin, "release", [](HWND) { mouseButton(false); }, 100);
    GetWindowTextA(spinEdit, text, sizeof text);
    out("buddy text after holding: \"%s\"", text);
    watchAction(spin, "mouse leaves", [](HWND) { moveTo(5, 5); }, 100, 600);
    watchAction(spin, "EnableWindow(buddy, FALSE)", [](HWND) { EnableWindow(spinEdit, FALSE); });
    out("up-down enabled after its buddy was disabled: %d", IsWindowEnabled(spin));
    watchAction(spin, "EnableWindow(FALSE)", [](HWND h) { EnableWindow(h, FALSE); });
    watchAction(spin, "EnableWindow(TRUE)", [](HWND h) { EnableWindow(h, TRUE); });
}

int main()
{
    reportCommonControls();
    parent = makeTop("EditParent", DefWindowProcA, "edits", 100, 100, 500, 400);
    HINSTANCE hi = GetModuleHandleA(nullptr);
    clientEdge = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "client edge", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 20, 20, 160, 24, parent, (HMENU)1, hi, nullptr);
    bordered = CreateWindowExA(0, "EDIT", "border", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 20, 70, 160, 24, parent, (HMENU)2, hi, nullptr);
    spinEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "3", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER, 20, 120, 100, 24, parent, (HMENU)3, hi, nullptr);
    for (HWND e : {clientEdge, bordered})
        out("style %08llx (WS_BORDER %s) exstyle %08llx", (unsigned long long)GetWindowLongPtrA(e, GWL_STYLE),
            (GetWindowLongPtrA(e, GWL_STYLE) & WS_BORDER) ? "kept" : "removed",
            (unsigned long long)GetWindowLongPtrA(e, GWL_EXSTYLE));
    watch(clientEdge, "edit");
    watch(bordered, "edit");
    addRing(clientEdge, 2);
    addRing(bordered, 1);
    moveTo(5, 5);
    pump(300);
    ringCheck(clientEdge, "client edge after showing");
    ringCheck(bordered, "border after showing");
    probeEdit(clientEdge, "EDIT with WS_EX_CLIENTEDGE");
    probeEdit(bordered, "EDIT with WS_BORDER");
    for (HWND e : {clientEdge, bordered}) {
        out("---- printing %s", e == clientEdge ? "the client-edge edit" : "the bordered edit");
        printInto(e, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN, "WM_PRINT nonclient|client|erase");
        printInto(e, WM_PRINT, PRF_CLIENT, "WM_PRINT client only");
        printInto(e, WM_PRINT, PRF_NONCLIENT, "WM_PRINT nonclient only");
        printInto(e, WM_PRINTCLIENT, PRF_CLIENT | PRF_ERASEBKGND, "WM_PRINTCLIENT");
    }
    out("---- the brush selected into a fresh DC of the edit");
    for (bool whole : {true, false}) {
        HDC dc = whole ? GetWindowDC(clientEdge) : GetDC(clientEdge);
        HGDIOBJ b = GetCurrentObject(dc, OBJ_BRUSH);
        LOGBRUSH lb{};
        GetObjectA(b, sizeof lb, &lb);
        out("%s: brush is WHITE_BRUSH %d, style %u colour %06lx", whole ? "GetWindowDC" : "GetDC",
            b == GetStockObject(WHITE_BRUSH), lb.lbStyle, rgbOf(lb.lbColor));
        ReleaseDC(clientEdge, dc);
    }
    probeSpin();
    return 0;
}
