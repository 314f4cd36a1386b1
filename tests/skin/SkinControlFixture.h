// What the window tests of control skins share: a host for the skins, a
// test skin parsed into a skin data component, pixels read back from a
// window, and real mouse input sent from a helper thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/Classes.h"
#include "skin/WinSkinData.h"
#include "skin/WinSubClass.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {

class TSkinTestHost : public TComponent, public TSkinControlHost {
public:
    TSkinTestHost() : TComponent(nullptr) {}
    ~TSkinTestHost() override { DropControlSkins(); }
    bool TearingDown() const override { return false; }
};

inline void LoadTestSkin(TSkinData& data, const testskin::TTestSkinOptions& options = {}) {
    testskin::FillStream(data.SkinStream, testskin::TestSkin(options));
    if (!data.LoadSkinStream()) throw std::runtime_error("the test skin did not load");
}

// A colour as the skin records and COLORREF hold it: red in the low byte.
struct TColour {
    uint32_t Value;
    bool operator==(const TColour&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, TColour c) {
    return os << "rgb(" << (c.Value & 0xFF) << "," << ((c.Value >> 8) & 0xFF) << "," << ((c.Value >> 16) & 0xFF)
              << ")";
}

// A whole window's pixels, read through its window context.
class TWindowPixels {
public:
    explicit TWindowPixels(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        if (width_ <= 0 || height_ <= 0) return;
        HDC dc = GetWindowDC(window);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        pixels_.reserve(static_cast<size_t>(width_) * height_);
        for (int i = 0; i < width_ * height_; ++i) {
            const uint32_t bgr = p[i];
            pixels_.push_back(((bgr >> 16) & 0xFF) | (bgr & 0xFF00) | ((bgr & 0xFF) << 16));
        }
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
        ReleaseDC(window, dc);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    TColour At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0xFFFFFFFFu};
        return {pixels_[static_cast<size_t>(y) * width_ + x]};
    }
    int Count(TColour colour, const RECT& area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

inline TColour Piece(testskin::TElement element, int frame, testskin::TPiece piece, int variant = 0) {
    return {testskin::PieceColour(element, frame, piece, variant)};
}

// ----------------------------------------------------------- real input

inline void MoveMouse(POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

inline void MouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

// Polls until done() holds or the time is up; for helper threads, which
// must not pump the test thread's messages.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(5);
    }
    return true;
}

// The window that holds the mouse capture of a thread.
inline HWND CaptureOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndCapture : nullptr;
}

// The cursor where the system put it.
inline POINT CursorNow() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

}  // namespace pellix::test
