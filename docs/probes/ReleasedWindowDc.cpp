// Measures whether a released window DC can be told from one still held:
// what ReleaseDC answers for a DC released once already, and for one held.
#include <windows.h>

#include <cstdio>

int main() {
    HWND parent = CreateWindowExA(0, "STATIC", "p", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, parent, nullptr, nullptr,
                                  nullptr);
    HDC held = GetWindowDC(button);
    std::printf("held %p release -> %d\n", (void*)held, ReleaseDC(button, held));
    std::printf("again          -> %d\n", ReleaseDC(button, held));
    HDC a = GetWindowDC(button);
    HDC b = GetWindowDC(button);
    std::printf("two held: %p %p same=%d\n", (void*)a, (void*)b, a == b);
    ReleaseDC(button, a);
    HDC c = GetWindowDC(button);
    std::printf("after releasing a, next = %p (a=%d b=%d)\n", (void*)c, c == a, c == b);
    std::printf("release b -> %d, release c -> %d, release a again -> %d\n", ReleaseDC(button, b),
                ReleaseDC(button, c), ReleaseDC(button, a));
    PAINTSTRUCT ps;
    InvalidateRect(button, nullptr, FALSE);
    HDC p = BeginPaint(button, &ps);
    RECT u;
    std::printf("update rect after BeginPaint: %d\n", GetUpdateRect(button, &u, FALSE));
    EndPaint(button, &ps);
    std::printf("release paint dc after EndPaint -> %d\n", ReleaseDC(button, p));
    DestroyWindow(parent);
    return 0;
}
