// Measures tab-control item rectangles and display areas on four sides, its scroll-arrow window across overflow changes, WM_PAINT against WM_PRINTCLIENT, and header item rectangles, alignment and image items.
#include "probe.h"

HWND parent;
HHOOK cbt;
std::string cbtTrail;

LRESULT CALLBACK cbtProc(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND) {
        char cls[64] = "";
        GetClassNameA(reinterpret_cast<HWND>(w), cls, sizeof cls);
        if (strcmp(cls, "msctls_updown32") == 0) {
            char buf[96];
            snprintf(buf, sizeof buf, "%s %p; ", code == HCBT_CREATEWND ? "created" : "destroyed", reinterpret_cast<void*>(w));
            cbtTrail += buf;
        }
    }
    return CallNextHookEx(cbt, code, w, l);
}

HWND makeTab(DWORD style, int w, int h, int count)
{
    HWND t = CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 10, 10, w, h,
                             parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    const char* names[] = {"First", "Second", "Third", "Fourth", "Fifth", "Sixth", "Seventh", "Eighth", "Ninth", "Tenth", "Eleventh", "Twelfth"};
    for (int i = 0; i < count; ++i) {
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        it.pszText = const_cast<char*>(names[i % 12]);
        SendMessageA(t, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&it));
    }
    SendMessageA(t, TCM_SETCURSEL, 1, 0);
    return t;
}

void reportTab(const char* title, DWORD style)
{
    HWND t = makeTab(style, 300, 200, 4);
    pump(100);
    RECT c;
    GetClientRect(t, &c);
    RECT disp = c;
    SendMessageA(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&disp));
    RECT back = disp;
    SendMessageA(t, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
    out("%-34s style %08llx rows %lld client %s", title, (unsigned long long)GetWindowLongPtrA(t, GWL_STYLE),
        (long long)SendMessageA(t, TCM_GETROWCOUNT, 0, 0), rectText(c).c_str());
    std::string items;
    for (int i = 0; i < 4; ++i) {
        RECT r;
        SendMessageA(t, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        items += "  " + std::to_string(i) + ":" + rectText(r);
    }
    out("%-34s items%s", "", items.c_str());
    out("%-34s TCM_ADJUSTRECT(FALSE) display %s; TCM_ADJUSTRECT(TRUE) of it %s", "", rectText(disp).c_str(), rectText(back).c_str());
    // Where the selected tab is really painted: compare a column through it against the face colour.
    DestroyWindow(t);
}

std::vector<HWND> updowns(HWND t)
{
    std::vector<HWND> found;
    for (HWND c = GetWindow(t, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64];
        GetClassNameA(c, cls, sizeof cls);
        if (strcmp(cls, "msctls_updown32") == 0) found.push_back(c);
    }
    return found;
}

void reportArrows(HWND t, const char* when)
{
    std::string s;
    for (HWND u : updowns(t)) {
        RECT r;
        GetWindowRect(u, &r);
        MapWindowPoints(nullptr, t, reinterpret_cast<POINT*>(&r), 2);
        char buf[160];
        snprintf(buf, sizeof buf, "%p visible %d at %s id %d; ", reinterpret_cast<void*>(u), IsWindowVisible(u),
                 rectText(r).c_str(), GetDlgCtrlID(u));
        s += buf;
    }
    out("%-40s | arrows: %s| hook: %s", when, s.empty() ? "none " : s.c_str(), cbtTrail.c_str());
    cbtTrail.clear();
}

void overflow()
{
    out("---- overflow of a single-line tab control (12 tabs)");
    HWND t = makeTab(0, 200, 120, 12);
    pump(100);
    reportArrows(t, "200 wide");
    SetWindowPos(t, nullptr, 0, 0, 900, 120, SWP_NOMOVE | SWP_NOZORDER);
    pump(100);
    reportArrows(t, "grown to 900 (no overflow)");
    SetWindowPos(t, nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER);
    pump(100);
    reportArrows(t, "shrunk to 200 again");
    SendMessageA(t, TCM_DELETEALLITEMS, 0, 0);
    pump(100);
    reportArrows(t, "all items deleted");
    for (int i = 0; i < 12; ++i) {
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        it.pszText = const_cast<char*>("Again");
        SendMessageA(t, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&it));
    }
    pump(100);
    reportArrows(t, "12 items inserted again");
    HWND bottom = makeTab(TCS_BOTTOM, 200, 120, 12);
    pump(100);
    reportArrows(bottom, "TCS_BOTTOM, 200x120");
    DestroyWindow(bottom);
    reportArrows(t, "(bottom one destroyed)");
    HWND u = updowns(t).empty() ? nullptr : updowns(t)[0];
    if (u) {
        int lo = 0, hi = 0;
        SendMessageA(u, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
        out("arrow range %d..%d pos %lld style %08llx buddy %p", lo, hi, (long long)SendMessageA(u, UDM_GETPOS32, 0, 0),
            (unsigned long long)GetWindowLongPtrA(u, GWL_STYLE), (void*)SendMessageA(u, UDM_GETBUDDY, 0, 0));
        watch(t, "tab");
        watch(u, "arrows");
        watchDirect = true;
        watchAction(u, "click on the right arrow", [](HWND h) {
            RECT r;
            GetWindowRect(h, &r);
            moveTo(r.right - 4, (r.top + r.bottom) / 2);
            pump(50);
            mouseButton(true);
            mouseButton(false);
        }, 200);
        RECT r0;
        SendMessageA(t, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
        out("first tab after scrolling: %s; arrow pos %lld", rectText(r0).c_str(), (long long)SendMessageA(u, UDM_GETPOS32, 0, 0));
        moveTo(5, 5);
    }
    DestroyWindow(t);
}

void paintVsPrint()
{
    out("---- WM_PAINT against WM_PRINTCLIENT");
    HWND t = makeTab(0, 300, 200, 4);
    pump(200);
    Shot painted = grab(t, false);
    RECT c;
    GetClientRect(t, &c);
    HDC screen = GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.right, -c.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH mag = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(mem, &c, mag);
    DeleteObject(mag);
    watch(t, "tab");
    watchTrail.clear();
    SendMessageA(t, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    Shot printed;
    printed.w = c.right;
    printed.h = c.bottom;
    printed.px.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + c.right * c.bottom);
    for (auto& p : printed.px) p &= 0xFFFFFF;
    out("WM_PRINTCLIENT: %s; magenta left %d of %d; differs from the painted window in %d px", watchTrail.c_str(),
        countColour(printed, RGB(255, 0, 255)), c.right * c.bottom, pixelDiff(painted, printed));
    SendMessageA(t, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    out("WM_PRINT: %s", watchTrail.c_str());
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(nullptr, screen);
    watchAction(t, "InvalidateRect + UpdateWindow", [](HWND h) { InvalidateRect(h, nullptr, TRUE); UpdateWindow(h); });
    watchAction(t, "TCM_SETCURSEL 2", [](HWND h) { SendMessageA(h, TCM_SETCURSEL, 2, 0); });
    watchAction(t, "real click on tab 0", [](HWND h) {
        RECT r;
        SendMessageA(h, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        mouseButton(true);
        mouseButton(false);
    }, 150);
    watchAction(t, "mouse over tab 3", [](HWND h) {
        RECT r;
        SendMessageA(h, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }, 150);
    watchAction(t, "SetFocus(tab)", [](HWND h) { SetFocus(h); });
    watchAction(t, "EnableWindow(FALSE)", [](HWND h) { EnableWindow(h, FALSE); });
    moveTo(5, 5);
    DestroyWindow(t);
}

void header()
{
    out("---- header");
    HWND h = CreateWindowExA(0, WC_HEADERA, nullptr, WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HORZ, 10, 300, 500, 24,
                             parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HDC screen = GetDC(nullptr);
    HBITMAP red = CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, red);
    RECT all{0, 0, 16, 16};
    HBRUSH rb = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, rb);
    DeleteObject(rb);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ImageList_Add(il, red, nullptr);
    SendMessageA(h, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il));
    struct Item {
        const char* text;
        int fmt;
        int width;
    } items[] = {{"Left", HDF_LEFT | HDF_STRING, 100}, {"Right", HDF_RIGHT | HDF_STRING, 100},
                 {"Centre", HDF_CENTER | HDF_STRING, 100}, {nullptr, HDF_IMAGE, 60}, {"Both", HDF_IMAGE | HDF_STRING, 80}};
    for (int i = 0; i < 5; ++i) {
        HDITEMA it{};
        it.mask = HDI_FORMAT | HDI_WIDTH | (items[i].text ? HDI_TEXT : 0) | ((items[i].fmt & HDF_IMAGE) ? HDI_IMAGE : 0);
        it.fmt = items[i].fmt;
        it.cxy = items[i].width;
        it.pszText = const_cast<char*>(items[i].text);
        it.iImage = 0;
        SendMessageA(h, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&it));
    }
    pump(200);
    out("HDF_LEFT %d HDF_RIGHT %d HDF_CENTER %d HDF_JUSTIFYMASK %d HDF_IMAGE %04x HDF_STRING %04x", HDF_LEFT, HDF_RIGHT, HDF_CENTER,
        HDF_JUSTIFYMASK, HDF_IMAGE, HDF_STRING);
    out("header %s", windowRects(h).c_str());
    RECT parentRect{0, 0, 500, 400};
    WINDOWPOS wp{};
    HDLAYOUT lay{&parentRect, &wp};
    SendMessageA(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&lay));
    out("HDM_LAYOUT in (0,0)-(500,400): header at (%d,%d) %dx%d, rest %s", wp.x, wp.y, wp.cx, wp.cy, rectText(parentRect).c_str());
    Shot s = grab(h, false);
    for (int i = 0; i < 5; ++i) {
        RECT r;
        SendMessageA(h, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        HDITEMA it{};
        it.mask = HDI_FORMAT;
        SendMessageA(h, HDM_GETITEM, i, reinterpret_cast<LPARAM>(&it));
        // Horizontal extent of the text (dark pixels) and of the red image inside the item.
        int tl = -1, tr = -1, il0 = -1, ir = -1;
        for (int x = r.left + 1; x < r.right - 1; ++x)
            for (int y = r.top + 2; y < r.bottom - 2; ++y) {
                DWORD p = s.at(x, y);
                if (p == 0xFF0000) {
                    if (il0 < 0) il0 = x;
                    ir = x;
                } else if (((p >> 16) & 255) < 100 && ((p >> 8) & 255) < 100 && (p & 255) < 100) {
                    if (tl < 0) tl = x;
                    tr = x;
                }
            }
        out("item %d rect %s fmt %04x text pixels x %d..%d image pixels x %d..%d", i, rectText(r).c_str(), it.fmt, tl, tr, il0, ir);
    }
    watch(h, "header");
    watchAction(h, "mouse over item 1", [](HWND hh) {
        RECT r;
        SendMessageA(hh, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(hh, nullptr, reinterpret_cast<POINT*>(&r), 2);
        moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }, 150);
    watchAction(h, "press item 1", [](HWND) { mouseButton(true); }, 150);
    watchAction(h, "release", [](HWND) { mouseButton(false); }, 150);
    watchAction(h, "mouse leaves", [](HWND) { moveTo(5, 5); }, 100, 600);
}

int main()
{
    reportCommonControls();
    parent = makeTop("TabParent", DefWindowProcA, "tabs", 20, 20, 1000, 700);
    cbt = SetWindowsHookExA(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
    moveTo(5, 5);
    out("---- tab control 300x200, 4 tabs, tab 1 selected");
    reportTab("top", 0);
    reportTab("top, TCS_MULTILINE", TCS_MULTILINE);
    reportTab("bottom (TCS_BOTTOM)", TCS_BOTTOM);
    reportTab("bottom, TCS_MULTILINE", TCS_BOTTOM | TCS_MULTILINE);
    reportTab("left (TCS_VERTICAL)", TCS_VERTICAL);
    reportTab("left, TCS_MULTILINE", TCS_VERTICAL | TCS_MULTILINE);
    reportTab("right (TCS_VERTICAL|TCS_RIGHT)", TCS_VERTICAL | TCS_RIGHT);
    reportTab("right, TCS_MULTILINE", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE);
    out("---- the same with 12 tabs (rows)");
    for (DWORD st : {DWORD(TCS_MULTILINE), DWORD(TCS_BOTTOM | TCS_MULTILINE), DWORD(TCS_VERTICAL | TCS_MULTILINE),
                     DWORD(TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE)}) {
        HWND t = makeTab(st, 300, 200, 12);
        pump(50);
        RECT c, d;
        GetClientRect(t, &c);
        d = c;
        SendMessageA(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
        RECT r0, r11;
        SendMessageA(t, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
        SendMessageA(t, TCM_GETITEMRECT, 11, reinterpret_cast<LPARAM>(&r11));
        out("style %08lx rows %lld display %s item0 %s item11 %s", st, (long long)SendMessageA(t, TCM_GETROWCOUNT, 0, 0),
            rectText(d).c_str(), rectText(r0).c_str(), rectText(r11).c_str());
        DestroyWindow(t);
    }
    overflow();
    paintVsPrint();
    header();
    UnhookWindowsHookEx(cbt);
    return 0;
}
