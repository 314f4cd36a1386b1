// Pixels read back from the screen: a window's whole area as its window DC
// shows it, or a part of the screen as the user sees it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pellix::test {

class PixelShot {
public:
    // The window's whole rectangle, non-client area included.
    static PixelShot OfWindow(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        HDC dc = GetWindowDC(window);
        PixelShot shot(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        ReleaseDC(window, dc);
        return shot;
    }
    // A rectangle of the screen.
    static PixelShot OfScreen(const RECT& area) {
        HDC dc = GetDC(nullptr);
        PixelShot shot(dc, area.left, area.top, area.right - area.left, area.bottom - area.top);
        ReleaseDC(nullptr, dc);
        return shot;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0x00BBGGRR, as COLORREF and the skin records hold colours.
    uint32_t At(int x, int y) const {
        const uint32_t p = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
    }
    // How many pixels of the rectangle have that colour.
    int Count(const RECT& r, uint32_t colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    PixelShot(HDC source, int x, int y, int width, int height) : width_(width), height_(height) {
        pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(source);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
        GdiFlush();
        std::copy_n(static_cast<const uint32_t*>(bits), pixels_.size(), pixels_.begin());
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }

    int width_, height_;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

}  // namespace pellix::test
