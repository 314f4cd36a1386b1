// Measures whether the default WM_NCACTIVATE (lParam -1 and 0), WM_SETTEXT and WM_SETICON paint
// over a custom-painted frame, with the caption boxes stripped, and what WM_NCACTIVATE returns.
#include <windows.h>

#include <cstdio>

namespace {

const COLORREF kFrame = RGB(0, 200, 0);
int g_ncPaints = 0;

void PaintFrame(HWND h) {
    HDC dc = GetWindowDC(h);
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    HBRUSH b = CreateSolidBrush(kFrame);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_NCCALCSIZE:
        if (w) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            RECT r = p->rgrc[0];
            p->rgrc[0] = RECT{r.left + 6, r.top + 30, r.right - 6, r.bottom - 6};
            return 0;
        }
        break;
    case WM_NCPAINT:
        ++g_ncPaints;
        PaintFrame(h);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

// Counts frame pixels that are no longer the painted colour, over the caption strip.
int Changed(HWND h) {
    HDC dc = GetWindowDC(h);
    int n = 0;
    for (int y = 0; y < 30; y += 2)
        for (int x = 0; x < 300; x += 3)
            if (GetPixel(dc, x, y) != kFrame) ++n;
    ReleaseDC(h, dc);
    return n;
}

void Try(HWND h, const char* what, UINT m, WPARAM w, LPARAM l) {
    PaintFrame(h);
    g_ncPaints = 0;
    LRESULT r = DefWindowProcA(h, m, w, l);
    std::printf("%-28s result %ld, changed pixels %d, WM_NCPAINT %d\n", what, static_cast<long>(r), Changed(h),
                g_ncPaints);
}

}  // namespace

int main() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeAct";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ProbeAct", "probe", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~0xB0000);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    Pump();
    Try(h, "WM_NCACTIVATE(0, -1)", WM_NCACTIVATE, FALSE, -1);
    Try(h, "WM_NCACTIVATE(1, -1)", WM_NCACTIVATE, TRUE, -1);
    Try(h, "WM_NCACTIVATE(0, 0)", WM_NCACTIVATE, FALSE, 0);
    Try(h, "WM_NCACTIVATE(1, 0)", WM_NCACTIVATE, TRUE, 0);
    Try(h, "WM_SETTEXT", WM_SETTEXT, 0, reinterpret_cast<LPARAM>("probe 2"));
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    Try(h, "WM_SETICON", WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    DestroyWindow(h);
    return 0;
}
