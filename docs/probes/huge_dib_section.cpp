// Measures whether CreateDIBSection refuses a 32-bit picture of 200000 x 200000 pixels (160 GB).
#include <windows.h>

#include <cstdio>

int main() {
    BITMAPINFOHEADER info{sizeof(info), 200000, -200000, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    printf("CreateDIBSection 200000 x 200000 x 32: %s (error %lu)\n", b != nullptr ? "made" : "refused", GetLastError());
}
