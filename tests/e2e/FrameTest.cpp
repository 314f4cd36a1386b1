// The skinned frame of pellix.exe as a user meets it: the solid-colour test
// skin as "default.skn" of a first start, the screen read back, real mouse
// input on the caption and its buttons, and hit codes asked from here.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "skin/SkinMessages.h"
#include "tests/harness/Files.h"
#include "tests/harness/Input.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"
#include "tests/harness/WindowShot.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;
namespace ts = testskin;
using ts::TElement;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";
constexpr int L = ts::LeftWidth, T = ts::CaptionHeight, R = ts::RightWidth, B = ts::BottomHeight;
constexpr DWORD kBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

class SkinnedMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder() + "pellix-e2e-frame-" + CurrentTestName();
        fs::remove_all(folder);
        fs::create_directories(folder);
        DeleteSettings();
        WriteBytes(folder + "\\default.skn", ts::TestSkin());
        // Out of the way of the window's caption.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    }
    void TearDown() override {
        if (program) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD code = 0;
            program->WaitForExit(15000, code);
        }
        program.reset();
        DeleteSettings();
        fs::remove_all(folder);
    }

    void Launch() {
        program = std::make_unique<Program>(folder);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kCaption);
        ASSERT_NE(main, nullptr) << "no main window";
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitUntil([&] { return Framed(); })) << "the main window got no frame";
        // Started: the client area sits inside the skin's frame.
        ASSERT_TRUE(WaitUntil([&] { return ClientOrigin().x == L && ClientOrigin().y == T + Menu(); }));
        Sleep(200);
    }
    void ExpectExit() {
        DWORD code = 12345;
        EXPECT_TRUE(program->WaitForExit(15000, code)) << "still running";
        EXPECT_EQ(code, 0u);
        program.reset();
    }

    bool Framed() const {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(main, SkinMsgQuery, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 && answer == 1;
    }
    POINT ClientOrigin() const {
        POINT p{0, 0};
        ClientToScreen(main, &p);
        const RECT r = WindowRectOf(main);
        return POINT{p.x - r.left, p.y - r.top};
    }
    SIZE ClientSize() const {
        RECT r{};
        GetClientRect(main, &r);
        return SIZE{r.right, r.bottom};
    }
    // The main window has a menu: the frame keeps a band for it.
    static int Menu() { return GetSystemMetrics(SM_CYMENU); }
    POINT OnScreen(POINT windowPoint) const {
        const RECT r = WindowRectOf(main);
        return POINT{r.left + windowPoint.x, r.top + windowPoint.y};
    }
    int Width() const {
        const RECT r = WindowRectOf(main);
        return r.right - r.left;
    }
    // The middle of one of the test skin's right-aligned caption buttons.
    POINT ButtonMiddle(TElement element) const {
        for (const ts::TCaptionButtonKeys& keys : ts::CaptionButtons())
            if (keys.Element == element) {
                const ts::TLayout& layout = ts::Layout(element);
                return POINT{Width() - keys.Xcoord + layout.FrameWidth / 2, keys.Ycoord + layout.FrameHeight / 2};
            }
        ADD_FAILURE() << "no such button";
        return POINT{0, 0};
    }
    static uint32_t ButtonColour(TElement element, int frame) {
        const ts::TLayout& layout = ts::Layout(element);
        return ts::FramePixel(element, frame, layout.FrameWidth / 2, layout.FrameHeight / 2);
    }
    uint32_t ScreenPixel(POINT windowPoint) const {
        const POINT p = OnScreen(windowPoint);
        return PixelShot::OfScreen(RECT{p.x, p.y, p.x + 1, p.y + 1}).At(0, 0);
    }
    void ClickAt(POINT windowPoint) {
        SendMouseMove(OnScreen(windowPoint));
        Sleep(100);
        SendClicks(1);
        Sleep(100);
    }

    std::string folder;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
};

uint32_t Piece(TElement element, int width, int height, int x, int y) {
    return ts::PieceColour(element, 1, ts::PieceAt(ts::Layout(element).Margins, width, height, x, y));
}

TEST_F(SkinnedMainWindow, TheScreenShowsTheSkinsBordersAndTheRegionCutsItsKeyedCorners) {
    Launch();
    const RECT r = WindowRectOf(main);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const PixelShot shot = PixelShot::OfScreen(r);
    EXPECT_EQ(shot.At(2, h / 2), Piece(TElement::LeftBorder, L, h, 2, h / 2));
    EXPECT_EQ(shot.At(3, 5), Piece(TElement::LeftBorder, L, h, 3, 5));
    EXPECT_EQ(shot.At(w - R + 3, h / 2), Piece(TElement::RightBorder, R, h, 3, h / 2));
    EXPECT_EQ(shot.At(w / 2, h - 3), Piece(TElement::BottomBorder, w - L - R, B, w / 2 - L, B - 3));
    EXPECT_EQ(shot.At(L + 3, 1), Piece(TElement::TopBorder, w - L - R, T, 3, 1));
    // Keyed corners are not part of the window: the desktop shows there.
    EXPECT_NE(WindowFromPoint(POINT{r.left, r.top}), main);
    EXPECT_NE(WindowFromPoint(POINT{r.right - 1, r.top + 1}), main);
    EXPECT_EQ(WindowFromPoint(POINT{r.left + 2, r.top}), main);
    EXPECT_EQ(WindowFromPoint(POINT{r.right - 3, r.top}), main);
}

TEST_F(SkinnedMainWindow, TheCloseButtonTurnsHotUnderTheCursor) {
    Launch();
    const POINT close = ButtonMiddle(TElement::CloseButton);
    EXPECT_EQ(ScreenPixel(close), ButtonColour(TElement::CloseButton, 1));
    SendMouseMove(OnScreen(close));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(close) == ButtonColour(TElement::CloseButton, 3); }, 3000));
}

TEST_F(SkinnedMainWindow, ClicksOnMaximiseRestoreMinimiseAndCloseDoWhatTheySay) {
    Launch();
    ClickAt(ButtonMiddle(TElement::MaximiseButton));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main) != FALSE; })) << "maximise";
    Sleep(200);
    ClickAt(ButtonMiddle(TElement::RestoreButton));
    ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(main); })) << "restore";
    Sleep(200);
    ClickAt(ButtonMiddle(TElement::MinimiseButton));
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; })) << "minimise";
    ShowWindow(main, SW_RESTORE);
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main) && ClientOrigin().y == T + Menu(); }));
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & kBoxes, 0u) << "the caption boxes stripped again";
    Sleep(300);
    ClickAt(ButtonMiddle(TElement::CloseButton));
    ExpectExit();
    EXPECT_EQ(StoredSetting("Options\\Windows", "WindowState"), "Normal") << "settings written on close";
}

TEST_F(SkinnedMainWindow, DraggingTheCaptionMovesTheWindow) {
    Launch();
    const RECT before = WindowRectOf(main);
    const POINT grip = OnScreen(POINT{L + 24, T - 3});
    SendMouseMove(grip);
    Sleep(100);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step) {
        Sleep(50);
        SendMouseMove(POINT{grip.x + 10 * step, grip.y + 7 * step});
    }
    Sleep(100);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] {
        const RECT after = WindowRectOf(main);
        return after.left == before.left + 40 && after.top == before.top + 28;
    })) << WindowRectOf(main).left - before.left << ", " << WindowRectOf(main).top - before.top;
}

TEST_F(SkinnedMainWindow, ADoubleClickOnTheCaptionMaximises) {
    Launch();
    SendMouseMove(OnScreen(POINT{L + 24, T - 3}));
    Sleep(100);
    SendClicks(2);
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(main) != FALSE; }));
}

TEST_F(SkinnedMainWindow, NoPointOfTheFrameAnswersNowhereToAnotherProgram) {
    Launch();
    const RECT r = WindowRectOf(main);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main, region), ERROR);
    const POINT origin = ClientOrigin();
    const SIZE client = ClientSize();
    int nowhere = 0, menu = 0, caption = 0;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x) {
            const bool inClient =
                x >= origin.x && x < origin.x + client.cx && y >= origin.y && y < origin.y + client.cy;
            if (inClient || !PtInRegion(region, x, y)) continue;
            DWORD_PTR code = HTNOWHERE;
            SendMessageTimeoutA(main, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y), SMTO_NORMAL, 2000, &code);
            nowhere += code == HTNOWHERE;
            menu += code == HTMENU;
            caption += code == HTCAPTION;
        }
    DeleteObject(region);
    EXPECT_EQ(nowhere, 0);
    EXPECT_GT(menu, 0) << "the menu bar band";
    EXPECT_GT(caption, 0);
}

TEST_F(SkinnedMainWindow, UnskinGivesThePlatformFrameBackAroundTheSameClientArea) {
    Launch();
    const SIZE before = ClientSize();
    PressKey('O', true);
    PressKey('S');
    PressKey('U');
    ASSERT_TRUE(WaitUntil([&] { return !Framed(); }));
    ASSERT_TRUE(WaitUntil([&] { return ClientOrigin().x != L; }));
    EXPECT_EQ(ClientSize().cx, before.cx);
    EXPECT_EQ(ClientSize().cy, before.cy);
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & kBoxes, kBoxes);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(main, region), ERROR) << "no region";
    DeleteObject(region);
}

}  // namespace
}  // namespace pellix::test
