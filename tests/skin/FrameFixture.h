// Skinned frames in process: a test skin of solid, known colours served to
// every window of the thread, windows made and activated so the manager
// frames them, and what a test needs to look at the result.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinForm.h"
#include "tests/harness/Input.h"
#include "tests/harness/Pump.h"
#include "tests/harness/WindowShot.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {

namespace ts = testskin;

// A window class of the tests' own, with its messages counted.
struct FrameTestWindows {
    static constexpr const char* ClassName = "PellixFrameTest";
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP) ++Instance().defaultClicks;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    static FrameTestWindows& Instance() {
        static FrameTestWindows windows;
        return windows;
    }
    FrameTestWindows() {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = ClassName;
        RegisterClassA(&wc);
    }
    // Non-client clicks that reached the window's own procedure.
    int defaultClicks = 0;
};

class SkinnedFrames : public ::testing::Test {
protected:
    void SetUp() override {
        // A cursor left over a caption button by an earlier test would make it hot.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        LoadSkin({});
    }

    void TearDown() override {
        for (HWND h : windows_)
            if (IsWindow(h)) DestroyWindow(h);
        forms_.clear();
        PumpMessages();
        skin.reset();
        PumpMessages();
    }

    // Replaces the skin data component and switches skinning on: the next
    // activated window gets a frame.
    void LoadSkin(const ts::TTestSkinOptions& options) {
        skin.reset(new TSkinData(nullptr));
        // As the form loader finishes a component: it joins the manager.
        skin->FinishLoading();
        ts::FillStream(skin->SkinStream, ts::TestSkin(options));
        ASSERT_TRUE(skin->LoadSkinStream());
        skin->SetActive(true);
    }

    // A plain window of the tests' class at bounds (screen), activated and
    // framed; the frame has started when this returns.
    HWND ShowPlainWindow(DWORD style, const RECT& bounds, const char* caption = "Skinned window",
                         HMENU menu = nullptr) {
        FrameTestWindows::Instance();
        return ShowWindowOfClass(FrameTestWindows::ClassName, style, bounds, caption, menu);
    }
    HWND ShowWindowOfClass(const char* className, DWORD style, const RECT& bounds, const char* caption = "Skinned",
                           HMENU menu = nullptr) {
        HWND h = CreateWindowExA(0, className, caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                                 bounds.bottom - bounds.top, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(h);
        ShowFramed(h);
        return h;
    }

    TForm& ShowForm(const RECT& bounds, const std::string& caption = "Skinned form") {
        forms_.emplace_back(new TForm(nullptr));
        TForm& form = *forms_.back();
        form.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        form.SetCaption(caption);
        form.Show();
        WaitStarted(form.Handle());
        return form;
    }

    void ShowFramed(HWND h) {
        ShowWindow(h, SW_SHOW);
        SetForegroundWindow(h);
        WaitStarted(h);
    }

    static void WaitStarted(HWND h) {
        const bool started = PumpUntil([h] {
            const TWinSkinForm* f = FrameOf(h);
            return f != nullptr && f->FrameState == FrameStateRunning;
        });
        EXPECT_TRUE(started) << "the window was not framed";
        PumpMessages();
    }

    static TWinSkinForm* FrameOf(HWND h) {
        if (SkinManager == nullptr) return nullptr;
        for (const auto& f : SkinManager->Frames())
            if (f->Window == h) return f.get();
        return nullptr;
    }

    // Takes the activation away, as another program's window would.
    void Deactivate() {
        FrameTestWindows::Instance();
        HWND other = CreateWindowExA(0, FrameTestWindows::ClassName, "other", WS_OVERLAPPEDWINDOW, 1100, 880, 120, 90,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(other);
        ShowWindow(other, SW_SHOW);
        SetForegroundWindow(other);
        PumpMessages();
        EXPECT_EQ(GetForegroundWindow(), other);
    }

    static RECT WindowRect(HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return r;
    }
    static POINT ClientOrigin(HWND h) {
        POINT p{0, 0};
        ClientToScreen(h, &p);
        const RECT r = WindowRect(h);
        return POINT{p.x - r.left, p.y - r.top};
    }
    static SIZE ClientSize(HWND h) {
        RECT r{};
        GetClientRect(h, &r);
        return SIZE{r.right, r.bottom};
    }

    std::unique_ptr<TSkinData, ComponentFree> skin;

private:
    std::vector<HWND> windows_;
    std::vector<std::unique_ptr<TForm, ComponentFree>> forms_;
};

// Expected colour of a nine-part element drawn over width x height at (x, y)
// of the drawing, from frame `frame`.
inline uint32_t ExpectedPiece(ts::TElement element, int frame, int width, int height, int x, int y) {
    return ts::PieceColour(element, frame, ts::PieceAt(ts::Layout(element).Margins, width, height, x, y));
}

// Real mouse input, with the messages it brings handled before the next step:
// a click sent right after a move can be lost otherwise.
inline void MoveMouse(POINT screen) {
    SendMouseMove(screen);
    PumpMessages();
    Sleep(20);
    PumpMessages();
}
inline void MouseClicks(int count, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    SendClicks(count, down, up);
    PumpMessages();
    Sleep(20);
    PumpMessages();
}
inline void MouseButton(DWORD flags) {
    SendMouseButton(flags);
    PumpMessages();
    Sleep(20);
    PumpMessages();
}

}  // namespace pellix::test
