// Helpers the probes share: output lines, message names, pumping, pixel read-back and real input.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

inline void out(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

inline DWORD startTick = GetTickCount();
inline DWORD elapsed() { return GetTickCount() - startTick; }

inline std::string rectText(const RECT& r)
{
    char buf[96];
    snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld) %ldx%ld", r.left, r.top, r.right, r.bottom,
             r.right - r.left, r.bottom - r.top);
    return buf;
}

inline std::string windowRects(HWND h)
{
    RECT w{}, c{};
    GetWindowRect(h, &w);
    GetClientRect(h, &c);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    char buf[200];
    snprintf(buf, sizeof buf, "window %s client %s client origin in window (%ld,%ld)",
             rectText(w).c_str(), rectText(c).c_str(), o.x - w.left, o.y - w.top);
    return buf;
}

inline const char* msgName(UINT m)
{
    switch (m) {
#define N(x) case x: return #x;
        N(WM_CREATE) N(WM_DESTROY) N(WM_MOVE) N(WM_SIZE) N(WM_ACTIVATE) N(WM_SETFOCUS) N(WM_KILLFOCUS)
        N(WM_ENABLE) N(WM_SETREDRAW) N(WM_SETTEXT) N(WM_GETTEXT) N(WM_GETTEXTLENGTH) N(WM_PAINT)
        N(WM_CLOSE) N(WM_ERASEBKGND) N(WM_SHOWWINDOW) N(WM_SETCURSOR) N(WM_MOUSEACTIVATE)
        N(WM_GETMINMAXINFO) N(WM_WINDOWPOSCHANGING) N(WM_WINDOWPOSCHANGED) N(WM_NOTIFY)
        N(WM_NCCREATE) N(WM_NCDESTROY) N(WM_NCCALCSIZE) N(WM_NCHITTEST) N(WM_NCPAINT) N(WM_NCACTIVATE)
        N(WM_GETDLGCODE) N(WM_NCMOUSEMOVE) N(WM_NCLBUTTONDOWN) N(WM_NCLBUTTONUP) N(WM_NCLBUTTONDBLCLK)
        N(WM_KEYDOWN) N(WM_KEYUP) N(WM_CHAR) N(WM_SYSKEYDOWN) N(WM_SYSKEYUP) N(WM_SYSCHAR)
        N(WM_INITDIALOG) N(WM_COMMAND) N(WM_SYSCOMMAND) N(WM_TIMER) N(WM_HSCROLL) N(WM_VSCROLL)
        N(WM_INITMENU) N(WM_INITMENUPOPUP) N(WM_MENUSELECT) N(WM_MENUCHAR) N(WM_ENTERIDLE)
        N(WM_UNINITMENUPOPUP) N(WM_CTLCOLOREDIT) N(WM_CTLCOLORLISTBOX) N(WM_CTLCOLORBTN)
        N(WM_CTLCOLORSTATIC) N(WM_CTLCOLORSCROLLBAR) N(WM_MOUSEMOVE) N(WM_LBUTTONDOWN) N(WM_LBUTTONUP)
        N(WM_LBUTTONDBLCLK) N(WM_ENTERMENULOOP) N(WM_EXITMENULOOP) N(WM_CAPTURECHANGED)
        N(WM_PRINT) N(WM_PRINTCLIENT) N(WM_MEASUREITEM) N(WM_DRAWITEM) N(WM_NCMOUSELEAVE)
        N(WM_MOUSELEAVE) N(WM_MOUSEHOVER) N(WM_STYLECHANGING) N(WM_STYLECHANGED) N(WM_GETFONT)
        N(WM_SETFONT) N(WM_PARENTNOTIFY) N(WM_CANCELMODE) N(WM_ENTERSIZEMOVE) N(WM_EXITSIZEMOVE)
        N(WM_GETOBJECT) N(WM_QUERYUISTATE) N(WM_UPDATEUISTATE) N(WM_CHANGEUISTATE) N(WM_IME_SETCONTEXT)
        N(WM_IME_NOTIFY) N(WM_THEMECHANGED) N(WM_GETICON)
        N(WM_CTLCOLORMSGBOX) N(WM_CTLCOLORDLG) N(WM_CONTEXTMENU) N(WM_KEYLAST) N(WM_SYNCPAINT)
        N(WM_NEXTMENU) N(WM_MENURBUTTONUP) N(WM_MENUDRAG) N(WM_MENUGETOBJECT)
        N(BM_GETCHECK) N(BM_SETCHECK) N(BM_GETSTATE) N(BM_SETSTATE) N(BM_SETSTYLE) N(BM_CLICK)
        N(EM_SETSEL) N(EM_GETSEL)
#undef N
    case 0x01E1: return "MN_GETHMENU";
    case 0x01E5: return "MN_SELECTITEM(0x1E5)";
    case 0x01E2: return "MN_0x1E2";
    case 0x01E3: return "MN_0x1E3";
    case 0x01E4: return "MN_0x1E4";
    case 0x01E6: return "MN_0x1E6";
    case 0x01E7: return "MN_0x1E7";
    case 0x01EF: return "MN_0x1EF";
    case 0x01F0: return "MN_0x1F0";
    case 0x0090: return "WM_UAHDESTROYWINDOW(0x90)";
    case 0x0093: return "0x93";
    case 0x0094: return "0x94";
    case 0x031E: return "WM_DWMCOMPOSITIONCHANGED";
    default: {
        static char buf[8][24];
        static int i;
        i = (i + 1) % 8;
        snprintf(buf[i], sizeof buf[i], "0x%04X", m);
        return buf[i];
    }
    }
}

// Runs the message loop for about `ms` milliseconds.
inline void pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

// Prints which comctl32 the process talks to: the side-by-side 6.0 folder only while the manifest took effect.
inline void reportCommonControls()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                             ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HMODULE cc = GetModuleHandleA("comctl32.dll");
    using GetVersionFn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    auto fn = cc ? reinterpret_cast<GetVersionFn>(GetProcAddress(cc, "DllGetVersion")) : nullptr;
    DLLVERSIONINFO v{sizeof v};
    if (fn) fn(&v);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(cc, path, sizeof path);
    out("comctl32 DllGetVersion %lu.%lu, loaded from %s", v.dwMajorVersion, v.dwMinorVersion, path);
}

// Pixels of a window (whole window or client) as 0x00RRGGBB, rows top-down.
struct Shot {
    int w = 0, h = 0;
    std::vector<DWORD> px;
    DWORD at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

inline DWORD rgbOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

inline Shot grab(HWND h, bool whole = true)
{
    RECT r;
    if (whole) {
        GetWindowRect(h, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(h, &r);
    }
    Shot s;
    s.w = r.right;
    s.h = r.bottom;
    if (s.w <= 0 || s.h <= 0) return s;
    HDC dc = whole ? GetWindowDC(h) : GetDC(h);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), s.w, -s.h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, s.w, s.h, dc, 0, 0, SRCCOPY);
    GdiFlush();
    s.px.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + s.w * s.h);
    for (auto& p : s.px) p &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(h, dc);
    return s;
}

inline void fillWindow(HWND h, COLORREF c, bool whole = true)
{
    RECT r;
    if (whole) {
        GetWindowRect(h, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(h, &r);
    }
    HDC dc = whole ? GetWindowDC(h) : GetDC(h);
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

inline int countColour(const Shot& s, COLORREF c)
{
    DWORD want = rgbOf(c);
    int n = 0;
    for (DWORD p : s.px) n += p == want;
    return n;
}

// Pixels in the ring of width `k` around the edge that have colour `c`, and the ring's size.
inline std::pair<int, int> ringCount(const Shot& s, COLORREF c, int k)
{
    DWORD want = rgbOf(c);
    int n = 0, total = 0;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            if (x < k || y < k || x >= s.w - k || y >= s.h - k) {
                ++total;
                n += s.at(x, y) == want;
            }
    return {n, total};
}

inline void moveTo(int x, int y)
{
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline void mouseButton(bool down)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

inline void key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

inline void tap(WORD vk)
{
    key(vk, false);
    key(vk, true);
}

inline HWND makeTop(const char* cls, WNDPROC proc, const char* title, int x, int y, int cx, int cy,
                    DWORD style = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, cls, title, style, x, y, cx, cy, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    SetForegroundWindow(h);
    return h;
}

// Watches windows through a subclass: records the messages each receives and reports painting
// done directly inside a message other than a paint message (pixels that changed outside
// every nested WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_PRINT and WM_PRINTCLIENT).
struct Watched {
    HWND h;
    WNDPROC old;
    std::string name;
};
inline std::vector<Watched> watched;
inline bool watchDirect = true;        // compare pixels around every non-paint message
inline std::string watchTrail;         // message names since the last reset
inline std::vector<std::string> directPaints;

inline bool isPaintMessage(UINT m)
{
    return m == WM_PAINT || m == WM_NCPAINT || m == WM_ERASEBKGND || m == WM_PRINT || m == WM_PRINTCLIENT ||
           m == WM_SYNCPAINT;
}

inline bool isNoise(UINT m)
{
    return m == WM_NCHITTEST || m == WM_SETCURSOR || m == WM_GETDLGCODE || m == WM_GETTEXT ||
           m == WM_GETTEXTLENGTH || m == WM_GETFONT || m == WM_GETOBJECT || m == WM_QUERYUISTATE ||
           m == WM_GETICON || m == WM_IME_SETCONTEXT || m == WM_IME_NOTIFY || m == WM_MOUSEACTIVATE;
}

inline int pixelDiff(const Shot& a, const Shot& b)
{
    if (a.w != b.w || a.h != b.h) return -1;
    int n = 0;
    for (size_t i = 0; i < a.px.size(); ++i) n += a.px[i] != b.px[i];
    return n;
}

// A non-paint message being watched for direct painting, with the pixels before it (renewed after
// every paint message nested inside it, so that only painting outside paint messages counts).
struct WatchFrame {
    HWND h;
    UINT m;
    Shot before;
};
inline std::vector<WatchFrame> watchFrames;

inline void noteDirect(HWND h, const std::string& name, UINT m, int d)
{
    char buf[160];
    snprintf(buf, sizeof buf, "%s painted %d px directly inside %s", name.c_str(), d, msgName(m));
    directPaints.push_back(buf);
    watchTrail += std::string("[direct ") + std::to_string(d) + "px in " + msgName(m) + "] ";
}

inline LRESULT CALLBACK watchProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    Watched* me = nullptr;
    for (auto& x : watched)
        if (x.h == h) me = &x;
    WNDPROC old = me->old;
    std::string name = me->name;
    if (!isNoise(m) && m != WM_MOUSEMOVE && m != WM_NCMOUSEMOVE && m != WM_TIMER) {
        watchTrail += name + ":" + msgName(m);
        if (m == WM_NCPAINT) watchTrail += w == 1 ? "(1)" : "(rgn)";
        if (m == WM_VSCROLL || m == WM_HSCROLL) watchTrail += "(" + std::to_string(LOWORD(w)) + "," + std::to_string(HIWORD(w)) + ")";
        if (m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONDBLCLK || m == WM_NCLBUTTONUP) watchTrail += "(ht " + std::to_string(w) + ")";
        if (m == WM_SYSCOMMAND) {
            char hex[16];
            snprintf(hex, sizeof hex, "(%04llx)", (unsigned long long)(w & 0xFFF0));
            watchTrail += hex;
        }
        watchTrail += " ";
    }
    LRESULT r;
    if (isPaintMessage(m)) {
        for (size_t i = 0; i < watchFrames.size(); ++i)
            if (watchFrames[i].h == h) {
                int d = pixelDiff(watchFrames[i].before, grab(h));
                if (d > 0) noteDirect(h, name, watchFrames[i].m, d);
            }
        r = CallWindowProcA(old, h, m, w, l);
        for (size_t i = 0; i < watchFrames.size(); ++i)
            if (watchFrames[i].h == h && IsWindow(h)) watchFrames[i].before = grab(h);
    } else if (watchDirect && !isNoise(m) && IsWindowVisible(h)) {
        watchFrames.push_back({h, m, grab(h)});
        r = CallWindowProcA(old, h, m, w, l);
        WatchFrame f = std::move(watchFrames.back());
        watchFrames.pop_back();
        if (IsWindow(h)) {
            int d = pixelDiff(f.before, grab(h));
            if (d != 0) noteDirect(h, name, m, d);
        }
    } else {
        r = CallWindowProcA(old, h, m, w, l);
    }
    if (m == WM_NCDESTROY) std::erase_if(watched, [h](const Watched& x) { return x.h == h; });
    return r;
}

inline void watch(HWND h, const char* name)
{
    watched.push_back({h, nullptr, name});
    watched.back().old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchProc)));
}

// One action on a watched window: fills it with magenta so that any painting shows, runs the
// action, reports the messages, direct painting and whether it was only invalidated, then pumps
// for `settle` ms and reports what followed.
inline void watchAction(HWND h, const char* what, void (*act)(HWND), DWORD during = 0, DWORD settle = 150)
{
    pump(100);
    fillWindow(h, RGB(255, 0, 255));
    watchTrail.clear();
    directPaints.clear();
    act(h);
    if (during) pump(during);
    RECT u{};
    BOOL invalid = GetUpdateRect(h, &u, FALSE);
    Shot s = grab(h);
    int changed = static_cast<int>(s.px.size()) - countColour(s, RGB(255, 0, 255));
    out("%-34s | %s", what, watchTrail.c_str());
    out("%-34s | changed now %d px, update region %s", "", changed, invalid ? rectText(u).c_str() : "none");
    watchTrail.clear();
    pump(settle);
    if (!watchTrail.empty()) out("%-34s | then: %s", "", watchTrail.c_str());
}
