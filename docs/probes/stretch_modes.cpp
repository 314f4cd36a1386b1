// Measures a fresh memory DC's stretch mode, what shrinking two colours into one pixel gives in it and in COLORONCOLOR,
// and StretchDIBits from a part of a bottom-up DIB.
#include <windows.h>

#include <cstdio>
#include <initializer_list>

static HBITMAP Dib(int w, int h, void** out, bool topDown = false) {
    BITMAPINFOHEADER info{sizeof(info), w, topDown ? -h : h, 1, 32, BI_RGB};
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, out, nullptr, 0);
}

int main() {
    HDC source = CreateCompatibleDC(nullptr);
    void* sb;
    SelectObject(source, Dib(2, 1, &sb));
    static_cast<DWORD*>(sb)[0] = 0x00F0F00F;
    static_cast<DWORD*>(sb)[1] = 0x000FF0F0;
    for (int mode : {0, COLORONCOLOR}) {
        HDC d = CreateCompatibleDC(nullptr);
        void* db;
        HBITMAP one = Dib(1, 1, &db);
        SelectObject(d, one);
        const int initial = GetStretchBltMode(d);
        if (mode != 0) SetStretchBltMode(d, mode);
        StretchBlt(d, 0, 0, 1, 1, source, 0, 0, 2, 1, SRCCOPY);
        GdiFlush();
        printf("fresh DC mode %d, used %d: f0f00f and 0ff0f0 shrunk into one pixel give %06lx\n", initial,
               GetStretchBltMode(d), static_cast<DWORD*>(db)[0] & 0xFFFFFF);
        DeleteDC(d);
        DeleteObject(one);
    }
    // Rows 1 and 2 (from the top) of a bottom-up 1 x 4 DIB whose rows hold 0, 1, 2, 3 from the top.
    HDC d = CreateCompatibleDC(nullptr);
    void* db;
    SelectObject(d, Dib(1, 2, &db, true));
    DWORD px[4] = {3, 2, 1, 0};  // memory starts with the bottom row
    BITMAPINFOHEADER h{sizeof(h), 1, 4, 1, 32, BI_RGB};
    StretchDIBits(d, 0, 0, 1, 2, 0, 4 - 3, 1, 2, px, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    printf("StretchDIBits with ySrc = height - bottom of the part: rows %lu %lu\n", static_cast<DWORD*>(db)[0],
           static_cast<DWORD*>(db)[1]);
}
