// Measures MaskBlt with MAKEROP4(0x00AA0029, SRCCOPY) and a 1-bit DIB section as the mask: which bit keeps the target.
#include <windows.h>

#include <cstdio>

static HBITMAP Dib(int w, int h, int bits, void** out) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } info{};
    info.h.biSize = sizeof(info.h);
    info.h.biWidth = w;
    info.h.biHeight = h;
    info.h.biPlanes = 1;
    info.h.biBitCount = static_cast<WORD>(bits);
    info.c[1] = {255, 255, 255, 0};
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, out, nullptr, 0);
}

int main() {
    HDC target = CreateCompatibleDC(nullptr), source = CreateCompatibleDC(nullptr);
    void *tb, *sb, *mb;
    HBITMAP t = Dib(4, 1, 32, &tb), s = Dib(4, 1, 32, &sb), m = Dib(4, 1, 1, &mb);
    for (int i = 0; i < 4; ++i) static_cast<DWORD*>(tb)[i] = 0x101010, static_cast<DWORD*>(sb)[i] = 0xA0B0C0;
    static_cast<BYTE*>(mb)[0] = 0xA0;  // bits 1 0 1 0
    SelectObject(target, t);
    SelectObject(source, s);
    BOOL ok = MaskBlt(target, 0, 0, 4, 1, source, 0, 0, m, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
    GdiFlush();
    const DWORD* p = static_cast<DWORD*>(tb);
    printf("MaskBlt %d, mask bits 1 0 1 0, target 101010, source a0b0c0: %06lx %06lx %06lx %06lx\n", ok,
           p[0] & 0xFFFFFF, p[1] & 0xFFFFFF, p[2] & 0xFFFFFF, p[3] & 0xFFFFFF);
}
