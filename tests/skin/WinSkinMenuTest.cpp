// Skinned popup menu windows and the drawn menu bar with real windows, real
// input and real menu loops: the pixels they show against the test skin's
// solid pieces, and the bar's keyboard and mouse navigation.
#include "skin/WinSkinMenu.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/MenuItems.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Rects.h"
#include "tests/skin/MenuFixture.h"

namespace pellix {
namespace {

using namespace test;
using namespace std::chrono_literals;
namespace ts = testskin;

// A mouse move the menu loop sees; nothing is handled here.
void MoveMouseQuietly(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(INPUT));
}

bool Highlighted(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0;
}

RECT InWindow(const RECT& screen, HWND window) {
    RECT w{};
    GetWindowRect(window, &w);
    RECT r = screen;
    OffsetRect(&r, -w.left, -w.top);
    return r;
}

// The popup menu's background as the test skin paints it over w x h.
uint32_t BackgroundPixel(int w, int h, int x, int y) {
    return ExpectedPiece(ts::TElement::MenuBackground, 1, w, h, x, y);
}

class SkinnedMenus : public MenuFrames {};

// ----------------------------------------------------------- popup windows

TEST_F(SkinnedMenus, TrackedPopupShowsTheSkinsBorderAndItemsOverItsBackground) {
    TForm& form = ShowMenuForm();
    SetMenuOwnerDraw(file->Handle());
    HWND popup = nullptr;
    std::optional<PixelShot> normal, selected, unskinned;
    RECT items[3]{};
    bool skinned = false;
    MenuScript script({
        {"the popup is shown",
         [&] {
             popup = PopupShowing(file->Handle());
             return popup != nullptr;
         },
         [&] {
             skinned = SendMessageA(popup, SkinMsgQuery, 0, 0) == 1;
             for (int i = 0; i < 3; ++i) {
                 GetMenuItemRect(nullptr, file->Handle(), static_cast<UINT>(i), &items[i]);
                 items[i] = InWindow(items[i], popup);
             }
             normal = PixelShot::OfWindow(popup);
             Tap(VK_DOWN);
         }},
        {"the first item is selected", [&] { return Highlighted(file->Handle(), 0); },
         [&] {
             selected = PixelShot::OfWindow(popup);
             // Switched off, the window is the system's again.
             SkinManager->SkinningEnabled = false;
             RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
             unskinned = PixelShot::OfWindow(popup);
             SkinManager->SkinningEnabled = true;
             Tap(VK_ESCAPE);
         }},
    });
    {
        LoopWatchdog watchdog(form.Handle());
        TrackPopupMenuEx(file->Handle(), TPM_NONOTIFY | TPM_RIGHTBUTTON, 200, 150, form.Handle(), nullptr);
        EXPECT_FALSE(watchdog.Fired());
    }
    ASSERT_TRUE(script.Done()) << script.Failed();
    EXPECT_TRUE(OpenPopups().empty());
    ASSERT_TRUE(normal && selected && unskinned);
    EXPECT_TRUE(skinned);

    const int w = normal->Width(), h = normal->Height();
    // Every pixel of the 3-pixel ring is the skin's background.
    int wrongRing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < 3 || y < 3 || x >= w - 3 || y >= h - 3) wrongRing += normal->At(x, y) != BackgroundPixel(w, h, x, y);
    EXPECT_EQ(wrongRing, 0);
    EXPECT_NE(unskinned->At(0, 0), BackgroundPixel(w, h, 0, 0)) << "switched off: the system's border";

    // The items fill the inside of the ring; their keyed corners show the
    // background of the very place they cover.
    EXPECT_EQ(items[0].left, 3);
    EXPECT_EQ(items[0].top, 3);
    EXPECT_EQ(items[2].right, w - 3);
    EXPECT_EQ(items[2].bottom, h - 3);
    const POINT corners[] = {{items[0].left, items[0].top}, {items[2].right - 1, items[2].bottom - 1},
                             {items[2].left, items[2].bottom - 1}};
    for (const POINT& c : corners) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(normal->At(c.x, c.y), BackgroundPixel(w, h, c.x, c.y));
        EXPECT_EQ(selected->At(c.x, c.y), BackgroundPixel(w, h, c.x, c.y));
    }
    // The first item's left end: frame 1, frame 4 once selected.
    const int mid = (items[0].top + items[0].bottom) / 2;
    EXPECT_EQ(normal->At(items[0].left + 1, mid), ts::PieceColour(ts::TElement::MenuItem, 1, ts::TPiece::Left));
    EXPECT_EQ(selected->At(items[0].left + 1, mid), ts::PieceColour(ts::TElement::MenuItem, 4, ts::TPiece::Left));
    // The separator shows the bottom rows of the element's second frame.
    const int ih = ts::Layout(ts::TElement::MenuItem).FrameHeight;
    const int separatorHeight = items[1].bottom - items[1].top;
    ASSERT_LT(separatorHeight, ih);
    EXPECT_EQ(normal->At(items[1].left + 2, items[1].top),
              ts::FramePixel(ts::TElement::MenuItem, 2, 2, ih - separatorHeight));
}

TEST_F(SkinnedMenus, WithoutABackgroundItemsShowTheMenuColourBehindThem) {
    ts::TTestSkinOptions options;
    options.Omit = {ts::TElement::MenuBackground};
    LoadSkin(options);
    TForm& form = ShowMenuForm();
    SetMenuOwnerDraw(file->Handle());
    std::optional<PixelShot> shot;
    RECT first{};
    MenuScript script({
        {"the popup is shown", [&] { return PopupShowing(file->Handle()) != nullptr; },
         [&] {
             HWND popup = PopupShowing(file->Handle());
             GetMenuItemRect(nullptr, file->Handle(), 0, &first);
             first = InWindow(first, popup);
             shot = PixelShot::OfWindow(popup);
             Tap(VK_ESCAPE);
         }},
    });
    {
        LoopWatchdog watchdog(form.Handle());
        TrackPopupMenuEx(file->Handle(), TPM_NONOTIFY | TPM_RIGHTBUTTON, 200, 150, form.Handle(), nullptr);
    }
    ASSERT_TRUE(script.Done()) << script.Failed();
    EXPECT_EQ(shot->At(first.left, first.top), ts::Colours().Menu);
    EXPECT_EQ(shot->At(first.left + 1, first.top + 8), ts::PieceColour(ts::TElement::MenuItem, 1, ts::TPiece::Left));
}

// A popup that painted before it knew its menu waits for the first item
// drawn to name it, and never outlives that wait.
TEST_F(SkinnedMenus, AwaitedPopupLearnsItsMenuFromTheFirstItemAndIsForgottenWhenItGoes) {
    TForm& form = ShowMenuForm();
    FrameTestWindows::Instance();
    // A window without a non-client area that answers no menu.
    HWND window = CreateWindowExA(0, FrameTestWindows::ClassName, "", WS_POPUP, 300, 300, 80, 60, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    const auto ownProcedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
    SkinManager->SkinPopupMenu(window);
    ASSERT_TRUE(SkinManager->IsPopupSkinned(window));
    TWinSkinPopMenu* popup = SkinManager->PopupSkins().back().get();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(AwaitingPopupSkin, popup);
    EXPECT_EQ(popup->BackgroundBitmap.Width(), 80);

    DibTarget target(60, 20, 0);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemID = open->Command();
    d.hwndItem = reinterpret_cast<HWND>(file->Handle());
    d.hDC = target.Dc();
    d.rcItem = RECT{0, 0, 60, 20};
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(AwaitingPopupSkin, nullptr);
    EXPECT_EQ(popup->MenuHandle, file->Handle());
    EXPECT_EQ(SkinManager->FindPopupBitmap(file->Handle()), &popup->BackgroundBitmap);

    // An entry the form's menu does not know is drawn from the menu handle;
    // an empty background counts as none: the menu colour shows behind it.
    popup->BackgroundBitmap.FreeImage();
    DibTarget raw(60, 20, 0x123456);
    d.itemID = 60000;
    d.hDC = raw.Dc();
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(raw.At(0, 0), ts::Colours().Menu);
    EXPECT_EQ(raw.At(59, 19), ts::Colours().Menu);

    // Waiting again, then dropped with the engine: the wait goes with it and
    // the window has its own procedure back.
    popup->MenuHandle = nullptr;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(AwaitingPopupSkin, popup);
    ShutdownSkinEngine();
    EXPECT_EQ(AwaitingPopupSkin, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), ownProcedure);
    DestroyWindow(window);
}

// ------------------------------------------------------------------ the bar

// The bar's pixels in window coordinates of a form whose frame is L, T, R
// wide and whose bar is M high: the element's band (its left end, middle
// and right end) in the frame for the window's activity, texts aside.
class MenuBarPixels : public SkinnedMenus {
protected:
    uint32_t BandPixel(int frame, int barWidth, int bx) {
        const ts::TLayout& layout = ts::Layout(ts::TElement::MenuBar);
        const int sx = bx < layout.Margins.Left                ? bx
                       : bx >= barWidth - layout.Margins.Right ? layout.FrameWidth - (barWidth - bx)
                                                               : layout.FrameWidth / 2;
        return ts::FramePixel(ts::TElement::MenuBar, frame, sx, layout.FrameHeight / 2);
    }
    // Pixels of the bar outside every button that differ from the band.
    int WrongBand(const PixelShot& shot, int frame) {
        const TWinSkinForm& f = Frame();
        const RECT bar{f.LeftBorderWidth, f.CaptionHeight, shot.Width() - f.RightBorderWidth,
                       f.CaptionHeight + f.MenuBarHeight};
        int wrong = 0;
        for (int y = bar.top; y < bar.bottom; ++y)
            for (int x = bar.left; x < bar.right; ++x) {
                bool onButton = false;
                for (const auto& b : Bar().MenuButtons) onButton |= PtInRect(&b->Bounds, POINT{x, y}) != 0;
                if (!onButton) wrong += shot.At(x, y) != BandPixel(frame, bar.right - bar.left, x - bar.left);
            }
        return wrong;
    }
};

TEST_F(MenuBarPixels, BarShowsTheElementsActiveAndInactiveFramesWithTheCaptionsOnIt) {
    TForm& form = ShowMenuForm();
    const TWinSkinForm& f = Frame();
    EXPECT_EQ(GetMenu(form.Handle()), nullptr) << "the menu is off the window";
    EXPECT_EQ(f.MenuBarHeight, GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(Bar().MenuButtons.size(), 3u);

    // Buttons from the element's left end plus 4, each its caption's width plus 10.
    MenuFontDc font;
    int x = f.LeftBorderWidth + ts::Layout(ts::TElement::MenuBar).Margins.Left + 4;
    const char* captions[] = {"&File", "&Options", "&Help"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(captions[i]);
        const RECT& b = Button(i).Bounds;
        EXPECT_EQ(Button(i).Caption, captions[i]);
        EXPECT_EQ(b, (RECT{x, f.CaptionHeight, x + font.Extent(captions[i]).cx + 10,
                           f.CaptionHeight + f.MenuBarHeight - 1}));
        x = b.right;
    }

    const uint32_t text = ts::Colours().MenuBarText;
    const PixelShot active = PixelShot::OfWindow(form.Handle());
    EXPECT_EQ(WrongBand(active, 1), 0);
    for (int i = 0; i < 3; ++i) EXPECT_GT(active.Count(Button(i).Bounds, text), 0) << captions[i];

    Deactivate();
    const PixelShot inactive = PixelShot::OfWindow(form.Handle());
    EXPECT_EQ(WrongBand(inactive, 2), 0);
    EXPECT_GT(inactive.Count(Button(0).Bounds, text), 0);
}

TEST_F(MenuBarPixels, HotItemIsFramedUntilTheMouseLeavesAndADisabledItemIsGrey) {
    TForm& form = ShowMenuForm();
    const uint32_t hilight = ts::Colours().ButtonHilight;
    MoveMouse(ButtonCentre(1));
    const RECT b = Button(1).Bounds;
    PixelShot hot = PixelShot::OfWindow(form.Handle());
    EXPECT_EQ(Button(1).State, ncsHot);
    const int mid = (b.top + b.bottom) / 2;
    for (POINT p : {POINT{b.left, mid}, POINT{b.right - 1, mid}, POINT{(b.left + b.right) / 2, b.top},
                    POINT{(b.left + b.right) / 2, b.bottom - 1}})
        EXPECT_EQ(hot.At(p.x, p.y), hilight) << p.x << "," << p.y;
    EXPECT_GT(hot.Count(b, ts::Colours().MenuBarText), 0);

    // Into the client area: no bar message comes; the frame's timer lets go.
    const RECT w = WindowRect(form.Handle());
    MoveMouse(POINT{(w.left + w.right) / 2, (w.top + w.bottom) / 2});
    PumpUntil([&] { return Button(1).State == ncsNormal; }, 2s);
    PixelShot cold = PixelShot::OfWindow(form.Handle());
    EXPECT_EQ(cold.Count(b, hilight), 0);

    // A change of the menu reaches the bar: captions and states are read again.
    options->SetEnabled(false);
    PumpMessages();
    ASSERT_EQ(Bar().MenuButtons.size(), 3u);
    EXPECT_FALSE(Button(1).ItemEnabled);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
    const PixelShot grey = PixelShot::OfWindow(form.Handle());
    EXPECT_GT(grey.Count(Button(1).Bounds, ts::Colours().ButtonShadow), 0);
    EXPECT_EQ(grey.Count(Button(1).Bounds, ts::Colours().MenuBarText), 0);
}

// One drop-down after the other with the keys and the mouse, wrapping at the
// bar's ends, a sub-menu opened and closed on the way.
TEST_F(SkinnedMenus, BarMenusAreWalkedWithTheArrowKeysAndTheMouse) {
    TForm& form = ShowMenuForm();
    auto onlyOpen = [&](TMenuItem* item) {
        const std::vector<HWND> open = OpenPopups();
        return open.size() == 1 && MenuOf(open[0]) == item->Handle();
    };
    RECT opened{};
    bool popupSkinned = false;
    std::vector<int> tracked;
    MenuScript script({
        {"File opens with its first item selected", [&] { return onlyOpen(file) && Highlighted(file->Handle(), 0); },
         [&] {
             HWND popup = OpenPopups()[0];
             GetWindowRect(popup, &opened);
             popupSkinned = SendMessageA(popup, SkinMsgQuery, 0, 0) == 1;
             tracked.push_back(MenuTracking.TrackingIndex);
             Tap(VK_RIGHT);
         }},
        {"Right: Options", [&] { return onlyOpen(options) && Highlighted(options->Handle(), 0); },
         [&] {
             tracked.push_back(MenuTracking.TrackingIndex);
             Tap(VK_DOWN);
         }},
        {"Skins selected", [&] { return Highlighted(options->Handle(), 1); }, [] { Tap(VK_RIGHT); }},
        {"Right on Skins opens its sub-menu",
         [&] { return OpenPopups().size() == 2 && PopupShowing(skins->Handle()) && PopupShowing(options->Handle()); },
         [] { Tap(VK_LEFT); }},
        {"Left closes the sub-menu only", [&] { return onlyOpen(options); }, [] { Tap(VK_RIGHT); }},
        {"Right on Skins again: the sub-menu, not the next item",
         [&] { return PopupShowing(skins->Handle()) != nullptr; }, [] { Tap(VK_ESCAPE); }},
        {"Esc closes the sub-menu only", [&] { return onlyOpen(options); }, [] { Tap(VK_LEFT); }},
        {"Left: File", [&] { return onlyOpen(file); }, [] { Tap(VK_LEFT); }},
        {"Left on the first: Help", [&] { return onlyOpen(help); },
         [&] {
             tracked.push_back(MenuTracking.TrackingIndex);
             Tap(VK_RIGHT);
         }},
        {"Right on the last: File", [&] { return onlyOpen(file); },
         [&] { MoveMouseQuietly(ButtonCentre(2)); }},
        {"The mouse over Help: Help", [&] { return onlyOpen(help); }, [] { Tap(VK_ESCAPE); }},
    });
    MoveMouse(ButtonCentre(0));
    {
        LoopWatchdog watchdog(form.Handle(), 20s);
        MouseClicks(1);
        PumpUntil([&] { return script.Done() || !script.Failed().empty() && OpenPopups().empty(); }, 15s);
        PumpUntil([] { return OpenPopups().empty() && !BarMenuOpen(); }, 3s);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_TRUE(script.Done()) << script.Failed();
    EXPECT_TRUE(popupSkinned);
    const RECT w = WindowRect(form.Handle());
    EXPECT_EQ(opened.left, w.left + Button(0).Bounds.left) << "under its item";
    EXPECT_EQ(opened.top, w.top + Button(0).Bounds.bottom);
    EXPECT_EQ(tracked, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(BarMenuOpen());
    EXPECT_FALSE(Frame().TrackingMenu);
    EXPECT_EQ(MenuTracking.TrackingIndex, -1);
}

TEST_F(SkinnedMenus, AClickOnTheOpenItemClosesItsDropDown) {
    TForm& form = ShowMenuForm();
    int reopened = 0;
    MenuScript script({
        {"File open", [&] { return PopupShowing(file->Handle()) != nullptr; },
         [&] {
             // Down and up on the item's button, as the user clicks it.
             INPUT in[2]{};
             in[0].type = in[1].type = INPUT_MOUSE;
             in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
             in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
             SendInput(2, in, sizeof(INPUT));
         }},
        {"File open again", [&] { return PopupShowing(file->Handle()) != nullptr && ++reopened > 0; },
         [] { Tap(VK_ESCAPE); }},
    });
    MoveMouse(ButtonCentre(0));
    {
        LoopWatchdog watchdog(form.Handle());
        MouseClicks(1);
        PumpUntil([&] { return !BarMenuOpen() && OpenPopups().empty() && script.Failed().find("again") != std::string::npos; },
                  1500ms);
        PumpMessages();
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_EQ(reopened, 0) << "the drop-down opened again";
    EXPECT_TRUE(OpenPopups().empty());
    EXPECT_FALSE(BarMenuOpen());
}

TEST_F(SkinnedMenus, ABarWhoseSkinGoesAwayKeepsNoHoldOnIt) {
    TForm& form = ShowMenuForm();
    TWinSkinMenu& bar = Bar();
    skin.reset();
    EXPECT_EQ(bar.SkinData, nullptr);
    for (const auto& button : bar.MenuButtons) EXPECT_EQ(button->SkinData, nullptr);
    // Nothing is drawn from it any more: the window's pixels stay as they are.
    const PixelShot before = PixelShot::OfWindow(form.Handle());
    Button(0).State = ncsHot;
    Button(0).Draw();
    const PixelShot after = PixelShot::OfWindow(form.Handle());
    const RECT b = Button(0).Bounds;
    EXPECT_EQ(after.At(b.left, (b.top + b.bottom) / 2), before.At(b.left, (b.top + b.bottom) / 2));
}

TEST_F(SkinnedMenus, AltAndALetterOpenThatItemsDropDown) {
    TForm& form = ShowMenuForm();
    MenuScript script({
        {"Options opens", [&] { return PopupShowing(options->Handle()) != nullptr; }, [] { Tap(VK_ESCAPE); }},
    });
    {
        LoopWatchdog watchdog(form.Handle());
        Keys({{VK_MENU, false}, {'O', false}, {'O', true}, {VK_MENU, true}});
        PumpUntil([&] { return script.Done() && !BarMenuOpen(); }, 5s);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_TRUE(script.Done()) << script.Failed();
}

// The skinned frame's window has no platform menu bar: Alt or F10 alone must
// not start the platform's invisible menu loop, nor may a letter the bar answers.
TEST_F(SkinnedMenus, AltAloneAndF10StartNoMenuLoop) {
    TForm& form = MakeMenuForm();
    int loops = 0, keyMenus = 0;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        loops += m.Msg == WM_ENTERMENULOOP;
        keyMenus += m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU;
        old(m);
    };
    form.Show();
    WaitStarted(form.Handle());
    Tap(VK_MENU);
    PumpMessages();
    Tap(VK_F10);
    PumpMessages();
    Sleep(100);
    PumpMessages();
    EXPECT_EQ(loops, 0);
    EXPECT_EQ(keyMenus, 0) << "answered by the frame";
    EXPECT_TRUE(OpenPopups().empty());
    form.WindowProc = old;
}

TEST_F(SkinnedMenus, ADisabledItemPostsItsCommandButOpensNothing) {
    TForm& form = ShowMenuForm();
    options->SetEnabled(false);
    PumpMessages();
    std::vector<WPARAM> commands;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_COMMAND) commands.push_back(m.WParam);
        old(m);
    };
    bool opened = false;
    MenuScript watch({{"a drop-down", [&] { return opened = !OpenPopups().empty(); }, [] { Tap(VK_ESCAPE); }}});
    EXPECT_TRUE(Bar().TrackMenuBtn(Button(1)));
    PumpMessages();
    EXPECT_FALSE(opened);
    EXPECT_EQ(commands, (std::vector<WPARAM>{options->Command()}));
    EXPECT_FALSE(BarMenuOpen());
    form.WindowProc = old;
}

// Items of a right-to-left menu swap the arrow keys before the menu sees them.
TEST_F(SkinnedMenus, RightToLeftMenuSwapsTheArrowKeys) {
    TForm& form = ShowMenuForm();
    menu->SetRightToLeft(true);
    MenuScript script({
        {"File open, Open selected", [&] { return Highlighted(file->Handle(), 0); }, [] { Tap(VK_LEFT); }},
        {"Left went forward: Options", [&] { return PopupShowing(options->Handle()) != nullptr; },
         [] { Tap(VK_ESCAPE); }},
    });
    {
        LoopWatchdog watchdog(form.Handle());
        Bar().PressMenuBtn(Button(0));
        PumpUntil([&] { return script.Done() && !BarMenuOpen(); }, 5s);
    }
    EXPECT_TRUE(script.Done()) << script.Failed();
}

// Switching skinning off while a bar menu is open waits until it has closed
// (the frame runs the menu loop); then the menu goes back to the window and
// shows its texts as the system draws them.
TEST_F(SkinnedMenus, UnskinningWaitsForTheOpenMenuAndGivesTheMenuBackNativelyDrawn) {
    TForm& form = ShowMenuForm();
    std::chrono::steady_clock::time_point switched;
    bool frameDuringMenu = false;
    MenuScript script({
        {"Options open", [&] { return PopupShowing(options->Handle()) != nullptr; },
         [&] {
             Tap(VK_DOWN);  // to Skins
         }},
        {"Skins selected", [&] { return Highlighted(options->Handle(), 1); }, [] { Tap(VK_RIGHT); }},
        {"its sub-menu open too", [&] { return PopupShowing(skins->Handle()) != nullptr; },
         [&] {
             skin->SetActive(false);
             switched = std::chrono::steady_clock::now();
         }},
        {"the action's time has passed", [&] { return std::chrono::steady_clock::now() - switched > 700ms; },
         [&] {
             frameDuringMenu = FrameOf(form.Handle()) != nullptr;
             Tap(VK_ESCAPE);
             Tap(VK_ESCAPE);
         }},
    });
    {
        LoopWatchdog watchdog(form.Handle(), 10s);
        Bar().PressMenuBtn(Button(1));
        PumpUntil([&] { return script.Done() && !BarMenuOpen(); }, 8s);
    }
    ASSERT_TRUE(script.Done()) << script.Failed();
    EXPECT_TRUE(frameDuringMenu) << "no action while the menu is open";
    ASSERT_TRUE(PumpUntil([&] { return FrameOf(form.Handle()) == nullptr; }, 3s)) << "the action ran afterwards";

    EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
    std::vector<std::pair<HMENU, int>> ownerDrawn;
    std::function<void(HMENU)> walk = [&](HMENU m) {
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
            GetMenuItemInfoA(m, static_cast<UINT>(i), TRUE, &info);
            if (info.fType & MFT_OWNERDRAW) ownerDrawn.emplace_back(m, i);
            if (info.hSubMenu != nullptr) walk(info.hSubMenu);
        }
    };
    walk(menu->Handle());
    EXPECT_TRUE(ownerDrawn.empty()) << ownerDrawn.size() << " entries left owner-drawn";
    char text[40] = {};
    GetMenuStringA(skins->Handle(), 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Blue");

    // Opened natively now: no item asks the window to draw it.
    int drawn = 0;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        drawn += m.Msg == WM_DRAWITEM;
        old(m);
    };
    MenuScript native({{"Options open", [&] { return PopupShowing(options->Handle()) != nullptr; },
                        [] { Tap(VK_ESCAPE); }}});
    {
        LoopWatchdog watchdog(form.Handle());
        TrackPopupMenuEx(options->Handle(), TPM_NONOTIFY | TPM_RIGHTBUTTON, 200, 200, form.Handle(), nullptr);
    }
    EXPECT_TRUE(native.Done()) << native.Failed();
    EXPECT_EQ(drawn, 0);
    form.WindowProc = old;
}

// ------------------------------------------------------------ MDI frames

struct MdiMenuWindows {
    static inline HWND client = nullptr;
    static LRESULT CALLBACK FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_CREATE) {
            CLIENTCREATESTRUCT ccs{nullptr, 1000};
            client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 100, 100, h,
                                     reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), &ccs);
            return 0;
        }
        return DefFrameProcA(h, client, m, w, l);
    }
    static LRESULT CALLBACK ChildProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefMDIChildProcA(h, m, w, l); }
    MdiMenuWindows() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = "PellixMdiMenuFrame";
        RegisterClassA(&wc);
        wc.lpfnWndProc = ChildProc;
        wc.lpszClassName = "PellixMdiMenuChild";
        RegisterClassA(&wc);
    }
};

HMENU BarOf(std::initializer_list<const char*> captions) {
    HMENU bar = CreateMenu();
    for (const char* caption : captions) {
        HMENU drop = CreatePopupMenu();
        AppendMenuA(drop, MF_STRING, 900, "&Item");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), caption);
    }
    return bar;
}

std::vector<std::string> Captions(const TWinSkinMenu& bar) {
    std::vector<std::string> captions;
    for (const auto& b : bar.MenuButtons) captions.push_back(b->Caption);
    return captions;
}

// The MDI client hands the frame a new menu; a maximised child's buttons
// sit at the bar's right end.
TEST_F(SkinnedMenus, MdiFrameBarTakesTheClientsMenusAndShowsAMaximisedChildsButtons) {
    static MdiMenuWindows classes;
    HMENU first = BarOf({"&File", "&Window"});
    HWND frameWindow = CreateWindowExA(0, "PellixMdiMenuFrame", "MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60,
                                       600, 420, nullptr, first, GetModuleHandleA(nullptr), nullptr);
    ShowFramed(frameWindow);
    TWinSkinForm* frame = FrameOf(frameWindow);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->SkinMenu, nullptr);
    EXPECT_EQ(Captions(*frame->SkinMenu), (std::vector<std::string>{"&File", "&Window"}));

    HMENU second = BarOf({"&Edit", "&View", "&Help"});
    SendMessageA(MdiMenuWindows::client, WM_MDISETMENU, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_EQ(Captions(*frame->SkinMenu), (std::vector<std::string>{"&Edit", "&View", "&Help"}));
    EXPECT_EQ(frame->SkinMenu->MenuHandle, second);
    EXPECT_EQ(GetMenu(frameWindow), nullptr);

    MDICREATESTRUCTA create{};
    create.szClass = "PellixMdiMenuChild";
    create.szTitle = "Child";
    create.hOwner = GetModuleHandleA(nullptr);
    create.cx = 240;
    create.cy = 160;
    create.style = WS_OVERLAPPEDWINDOW;
    SendMessageA(MdiMenuWindows::client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
    SendMessageA(MdiMenuWindows::client, WM_MDIREFRESHMENU, 0, 0);
    PumpMessages();
    frame->MdiChildCommand(SC_MAXIMIZE);
    PumpMessages();
    ASSERT_TRUE(frame->IsActiveMdiChildMaximized());
    frame->PaintFrame(nullptr);
    EXPECT_TRUE(SkinManager->MdiMaximized);

    const PixelShot shot = PixelShot::OfWindow(frameWindow);
    int shown = 0;
    for (size_t i = 0; i < frame->SysButtons.size(); ++i) {
        const TWinSysButton& button = *frame->SysButtons[i];
        if (button.SkinButton->Visibility != 100) continue;
        const int k = button.SkinButton->Action - 7;  // minimise, restore, close: four frames each
        const RECT& b = button.Bounds;
        SCOPED_TRACE(k);
        EXPECT_GE(b.top, frame->CaptionHeight) << "on the bar";
        EXPECT_LE(b.bottom, frame->CaptionHeight + frame->MenuBarHeight);
        const ts::TLayout& mdi = ts::Layout(ts::TElement::MdiControls);
        EXPECT_EQ(shot.At((b.left + b.right) / 2, (b.top + b.bottom) / 2),
                  ts::FramePixel(ts::TElement::MdiControls, 4 * k + 1, mdi.FrameWidth / 2, mdi.FrameHeight / 2));
        ++shown;
    }
    EXPECT_EQ(shown, 3);
    DestroyWindow(frameWindow);
    DestroyMenu(first);
}

TEST(MenuBarLayout, ItemsSideBySideFromTheFirstPlace) {
    const RECT bar{5, 24, 405, 43};
    const auto places = LayoutMenuBar({30, 0, 41}, bar, 10);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].Text, (RECT{10, 0, 50, 18}));
    EXPECT_EQ(places[0].Bounds, (RECT{15, 24, 55, 42}));
    EXPECT_EQ(places[1].Bounds, (RECT{55, 24, 55, 42})) << "an empty text takes no room";
    EXPECT_EQ(places[2].Bounds, (RECT{55, 24, 106, 42}));
}

TEST(MenuBarLayout, FirstItemStartsAfterTheElementsLeftEnd) {
    TDataSkinObject element("Personality");
    EXPECT_EQ(MenuBarFirstX(300, nullptr), 6);
    EXPECT_EQ(MenuBarFirstX(300, &element), 6) << "an element without an image is no element";
    element.Image.SetSize(80, 36);
    element.LeftWidth = 6;
    EXPECT_EQ(MenuBarFirstX(300, &element), 10);
    EXPECT_EQ(MenuBarFirstX(8, &element), 12);
}

}  // namespace
}  // namespace pellix
