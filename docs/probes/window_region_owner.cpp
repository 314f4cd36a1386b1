// Measures who owns a region handed to SetWindowRgn (on success and on failure), and whether a
// WM_NCPAINT region survives GetDCEx/ReleaseDC when a copy is passed instead.
#include <windows.h>

#include <cstdio>

namespace {

int g_copyAlive = -1, g_receivedAlive = -1;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCPAINT && w > 1) {
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, reinterpret_cast<HRGN>(w), nullptr, RGN_COPY);
        HDC dc = GetDCEx(h, copy, DCX_WINDOW | DCX_INTERSECTRGN);
        ReleaseDC(h, dc);
        g_copyAlive = GetObjectType(copy) == OBJ_REGION;
        g_receivedAlive = GetObjectType(reinterpret_cast<HRGN>(w)) == OBJ_REGION;
        if (g_copyAlive) DeleteObject(copy);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

}  // namespace

int main() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeRgn";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ProbeRgn", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                             nullptr, wc.hInstance, nullptr);

    HRGN a = CreateRectRgn(0, 0, 200, 150);
    int ok = SetWindowRgn(h, a, TRUE);
    std::printf("SetWindowRgn success %d: region still an object %d\n", ok, GetObjectType(a) == OBJ_REGION);

    HRGN b = CreateRectRgn(0, 0, 100, 100);
    ok = SetWindowRgn(reinterpret_cast<HWND>(0x1234), b, TRUE);
    std::printf("SetWindowRgn failure %d (error %lu): region still an object %d\n", ok, GetLastError(),
                GetObjectType(b) == OBJ_REGION);
    DeleteObject(b);

    HRGN c = CreateRectRgn(0, 0, 220, 160);
    SetWindowRgn(h, c, FALSE);
    std::printf("a second SetWindowRgn(redraw FALSE): new region an object %d\n", GetObjectType(c) == OBJ_REGION);
    SetWindowRgn(h, nullptr, TRUE);

    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    SetWindowPos(h, nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::printf("WM_NCPAINT region: copy alive after ReleaseDC %d, received alive %d\n", g_copyAlive,
                g_receivedAlive);
    DestroyWindow(h);
    return 0;
}
