// The skinned menus as a user meets them: pellix.exe started with a test skin
// of solid, known colours as "default.skn", its drawn menu bar looked at,
// clicked and walked with the keys, and its menus after "&Unskin".
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/SkinMessages.h"
#include "tests/harness/Files.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"
#include "tests/harness/WindowShot.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;
namespace ts = testskin;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

template <class Pred>
bool WaitUntil(Pred done, DWORD ms = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

void Keys(std::initializer_list<std::pair<WORD, DWORD>> strokes) {
    std::vector<INPUT> inputs;
    for (auto [vk, flags] : strokes) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(150);
}
void Tap(WORD vk) { Keys({{vk, 0}, {vk, KEYEVENTF_KEYUP}}); }
void AltTap(WORD vk) { Keys({{VK_MENU, 0}, {vk, 0}, {vk, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}}); }

void Click(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[3]{};
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, in, sizeof(INPUT));
    Sleep(100);
    SendInput(2, in + 1, sizeof(INPUT));
    Sleep(150);
}

// Text widths in the system's menu font, as the bar lays its items out.
int MenuTextWidth(const std::string& text) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

class SkinnedMenus : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder() + "pellix-e2e-menus-" + CurrentTestName();
        fs::remove_all(folder);
        fs::create_directories(folder);
        DeleteSettings();
        const std::vector<uint8_t> skin = ts::TestSkin();
        WriteBytes(folder + "\\default.skn", skin);
        program = std::make_unique<Program>(folder);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kCaption);
        ASSERT_NE(main, nullptr) << "no main window";
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitUntil([&] { return Framed(main); }));
        Sleep(300);
        // The bar's items, from the element's left end plus 4, each its text plus 10 wide.
        int x = ts::LeftWidth + ts::Layout(ts::TElement::MenuBar).Margins.Left + 4;
        for (const char* caption : {"&File", "&Options", "&Internet", "&Help"}) {
            const int right = x + MenuTextWidth(caption) + 10;
            items.push_back(RECT{x, ts::CaptionHeight, right, ts::CaptionHeight + GetSystemMetrics(SM_CYMENU) - 1});
            x = right;
        }
    }
    void TearDown() override {
        if (program != nullptr) {
            if (HWND popup = program->FindWindowOfClass("#32768")) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD code = 0;
            EXPECT_TRUE(program->WaitForExit(15000, code));
            program.reset();
        }
        DeleteSettings();
        fs::remove_all(folder);
    }

    static bool Framed(HWND window) {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(window, SkinMsgQuery, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 && answer == 1;
    }
    RECT MainRect() const {
        RECT r{};
        GetWindowRect(main, &r);
        return r;
    }
    POINT ItemCentre(int i) const {
        const RECT w = MainRect();
        return POINT{w.left + (items[i].left + items[i].right) / 2, w.top + (items[i].top + items[i].bottom) / 2};
    }
    // The popup menu window open now, or none.
    HWND Popup() const { return program->FindWindowOfClass("#32768"); }
    // The popup that opened under bar item i.
    HWND PopupUnder(int i) const {
        const RECT w = MainRect();
        HWND popup = nullptr;
        WaitUntil(
            [&] {
                popup = Popup();
                RECT r{};
                return popup != nullptr && GetWindowRect(popup, &r) && r.left == w.left + items[i].left &&
                       r.top == w.top + items[i].bottom;
            },
            5000);
        RECT r{};
        return popup != nullptr && GetWindowRect(popup, &r) && r.left == w.left + items[i].left ? popup : nullptr;
    }
    // A pixel of the bar's middle row, bx from its left end (shot of the whole window).
    static uint32_t BarPixel(const PixelShot& shot, int bx) {
        return shot.At(ts::LeftWidth + bx, ts::CaptionHeight + GetSystemMetrics(SM_CYMENU) / 2);
    }

    std::string folder;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
    std::vector<RECT> items;  // window coordinates
};

TEST_F(SkinnedMenus, BarShowsTheSkinsActiveAndInactiveFrames) {
    const ts::TLayout& bar = ts::Layout(ts::TElement::MenuBar);
    auto band = [&](int frame) { return ts::FramePixel(ts::TElement::MenuBar, frame, 2, bar.FrameHeight / 2); };
    const RECT w = MainRect();
    const PixelShot active = PixelShot::OfScreen(w);
    EXPECT_EQ(BarPixel(active, 2), band(1));
    EXPECT_GT(active.Count(items[0], ts::Colours().MenuBarText), 0) << "the caption on its item";

    // Another program's window takes the activation.
    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, w.right + 20, w.top, 60, 40,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    Sleep(400);
    const PixelShot inactive = PixelShot::OfScreen(w);
    DestroyWindow(other);
    EXPECT_EQ(BarPixel(inactive, 2), band(2));
}

TEST_F(SkinnedMenus, ClickOpensASkinnedDropDownUnderItsItemAndTheKeysWalkTheBar) {
    Click(ItemCentre(0));
    HWND file = PopupUnder(0);
    ASSERT_NE(file, nullptr) << "File opens under its item";
    EXPECT_TRUE(Framed(file)) << "a skinned popup";
    Sleep(200);
    RECT r{};
    GetWindowRect(file, &r);
    const PixelShot shot = PixelShot::OfScreen(r);
    const int pw = r.right - r.left, ph = r.bottom - r.top;
    auto background = [&](int x, int y) {
        return ts::PieceColour(ts::TElement::MenuBackground, 1,
                               ts::PieceAt(ts::Layout(ts::TElement::MenuBackground).Margins, pw, ph, x, y));
    };
    EXPECT_EQ(shot.At(0, 0), background(0, 0)) << "the skin's border";
    EXPECT_EQ(shot.At(pw / 2, ph - 1), background(pw / 2, ph - 1));
    EXPECT_EQ(shot.At(3, 3), background(3, 3)) << "the first item's keyed corner shows the background";
    // The first item, selected as the drop-down opens, in the element's selected frame.
    EXPECT_EQ(shot.At(4, 10), ts::PieceColour(ts::TElement::MenuItem, 4, ts::TPiece::Left));

    Tap(VK_RIGHT);
    EXPECT_NE(PopupUnder(1), nullptr) << "Right: Options";
    Tap(VK_LEFT);
    EXPECT_NE(PopupUnder(0), nullptr) << "Left: File";
    Tap(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Popup() == nullptr; }, 3000));

    AltTap('O');
    EXPECT_NE(PopupUnder(1), nullptr) << "Alt+O: Options";
    Tap(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Popup() == nullptr; }, 3000));

    // Help, then About.
    Click(ItemCentre(3));
    ASSERT_NE(PopupUnder(3), nullptr);
    Tap('A');
    HWND about = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (about = program->FindWindowOfClass("TAboutBox")) != nullptr; }));
    if (about != nullptr) {
        PostMessageA(about, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitUntil([&] { return program->FindWindowOfClass("TAboutBox") == nullptr; }));
    }
}

// After "&Unskin" the menu is the window's again and its drop-downs show
// their texts as the system draws them.
TEST_F(SkinnedMenus, UnskinnedMenusShowTheirTextsNatively) {
    // Open a drop-down first, so that its items were made owner-drawn.
    AltTap('F');
    ASSERT_NE(PopupUnder(0), nullptr);
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return Popup() == nullptr; }, 3000));
    AltTap('O');
    ASSERT_NE(PopupUnder(1), nullptr);
    Tap('S');
    Tap('U');
    ASSERT_TRUE(WaitUntil([&] { return !Framed(main); })) << "unskinned";
    ASSERT_TRUE(WaitUntil([&] { return GetMenu(main) != nullptr; })) << "the menu is on the window again";
    Sleep(300);

    AltTap('F');
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (popup = Popup()) != nullptr; }, 5000));
    EXPECT_FALSE(Framed(popup));
    Sleep(200);
    RECT r{};
    GetWindowRect(popup, &r);
    const PixelShot shot = PixelShot::OfScreen(r);
    EXPECT_GT(shot.Count(RECT{0, 0, shot.Width(), shot.Height()}, GetSysColor(COLOR_MENUTEXT)), 20)
        << "the items' texts are drawn";
    // The drop-down, then the platform bar's keyboard mode.
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
}

}  // namespace
}  // namespace pellix::test
