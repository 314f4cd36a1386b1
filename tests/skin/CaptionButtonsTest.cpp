// Caption buttons and the non-client mouse of a skinned window, driven by
// real mouse input: placement by the skin's rules, hot and pressed frames,
// the actions, double clicks, the system menu and the hit codes.
#include <gtest/gtest.h>

#include <vector>

#include "tests/harness/ModalDriver.h"
#include "tests/harness/PostedMessages.h"
#include "tests/skin/FrameFixture.h"

namespace pellix::test {
namespace {

using ts::TElement;

constexpr int L = ts::LeftWidth, T = ts::CaptionHeight, R = ts::RightWidth;

// Where the test skin's buttons go on a window w wide: right-aligned at
// Xcoord from the right edge, or at Xcoord from the left.
struct ButtonPlace {
    TElement element;
    int left, top;  // window coordinates
};
ButtonPlace PlaceOf(TElement element, int windowWidth) {
    for (const ts::TCaptionButtonKeys& keys : ts::CaptionButtons())
        if (keys.Element == element)
            return {element, keys.Align == 1 ? windowWidth - keys.Xcoord : keys.Xcoord, keys.Ycoord};
    ADD_FAILURE() << "no such button";
    return {element, 0, 0};
}
// The middle of the button, in window coordinates.
POINT Middle(const ButtonPlace& b) {
    const ts::TLayout& layout = ts::Layout(b.element);
    return POINT{b.left + layout.FrameWidth / 2, b.top + layout.FrameHeight / 2};
}
uint32_t ButtonColour(const ButtonPlace& b, int frame) {
    const ts::TLayout& layout = ts::Layout(b.element);
    return ts::FramePixel(b.element, frame, layout.FrameWidth / 2, layout.FrameHeight / 2);
}

class CaptionButtons : public SkinnedFrames {
protected:
    int Width(HWND h) {
        const RECT r = WindowRect(h);
        return r.right - r.left;
    }
    uint32_t Shown(HWND h, POINT windowPoint) { return PixelShot::OfWindow(h).At(windowPoint.x, windowPoint.y); }
    POINT OnScreen(HWND h, POINT windowPoint) {
        const RECT r = WindowRect(h);
        return POINT{r.left + windowPoint.x, r.top + windowPoint.y};
    }
    // The caption's own image at a window point.
    uint32_t CaptionImage(HWND h, POINT p, int frame = 1) {
        return ExpectedPiece(TElement::TopBorder, frame, Width(h) - L - R, T, p.x - L, p.y);
    }
};

TEST_F(CaptionButtons, ButtonsShowAndHideByTheSkinsRules) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    const int w = Width(h);
    const ButtonPlace close = PlaceOf(TElement::CloseButton, w), maximise = PlaceOf(TElement::MaximiseButton, w),
                      restore = PlaceOf(TElement::RestoreButton, w), minimise = PlaceOf(TElement::MinimiseButton, w);
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 1));
    EXPECT_EQ(Shown(h, Middle(maximise)), ButtonColour(maximise, 1)) << "maximise, not restore, on a normal window";
    EXPECT_EQ(Shown(h, Middle(minimise)), ButtonColour(minimise, 1));
    // The buttons' inactive frame.
    Deactivate();
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 4));
    EXPECT_EQ(Shown(h, Middle(minimise)), ButtonColour(minimise, 4));

    // Maximised: restore in maximise's place.
    SetForegroundWindow(h);
    SendMessageA(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    PumpMessages();
    ASSERT_TRUE(IsZoomed(h));
    const int wz = Width(h);
    EXPECT_EQ(Shown(h, Middle(PlaceOf(TElement::RestoreButton, wz))), ButtonColour(restore, 1));
}

TEST_F(CaptionButtons, AWindowWithoutItsBoxesShowsOnlyClose) {
    HWND h = ShowPlainWindow(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, RECT{100, 100, 420, 300});
    const int w = Width(h);
    const ButtonPlace close = PlaceOf(TElement::CloseButton, w);
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 1));
    for (TElement hidden : {TElement::MaximiseButton, TElement::MinimiseButton}) {
        const POINT p = Middle(PlaceOf(hidden, w));
        EXPECT_EQ(Shown(h, p), CaptionImage(h, p)) << static_cast<int>(hidden);
    }
}

TEST_F(CaptionButtons, PressOnCloseMovedOntoMinimiseMinimisesOnRelease) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    const int w = Width(h);
    const ButtonPlace close = PlaceOf(TElement::CloseButton, w), minimise = PlaceOf(TElement::MinimiseButton, w);
    MoveMouse(OnScreen(h, Middle(close)));
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 3)) << "hot";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 2)) << "pressed";
    MoveMouse(OnScreen(h, Middle(minimise)));
    EXPECT_EQ(Shown(h, Middle(close)), ButtonColour(close, 1)) << "close let go";
    EXPECT_EQ(Shown(h, Middle(minimise)), ButtonColour(minimise, 3)) << "minimise hot";
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([h] { return IsIconic(h) != FALSE; }));
    EXPECT_TRUE(IsWindow(h)) << "not closed";
}

TEST_F(CaptionButtons, APressInTheClientDraggedOntoCloseDoesNotClose) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    MoveMouse(OnScreen(h, POINT{100, 100}));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(OnScreen(h, Middle(PlaceOf(TElement::CloseButton, Width(h)))));
    MouseButton(MOUSEEVENTF_LEFTUP);
    Sleep(100);
    PumpMessages();
    EXPECT_TRUE(IsWindow(h));
}

TEST_F(CaptionButtons, TheFrameTimerReturnsAHotButtonToNormal) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    // Also after a minimise and a restore, which stop and start the timer.
    ShowWindow(h, SW_MINIMIZE);
    PumpMessages();
    ShowWindow(h, SW_RESTORE);
    SetForegroundWindow(h);
    PumpMessages();
    const ButtonPlace close = PlaceOf(TElement::CloseButton, Width(h));
    MoveMouse(OnScreen(h, Middle(close)));
    ASSERT_EQ(Shown(h, Middle(close)), ButtonColour(close, 3));
    // Into the client area: no non-client message tells the frame.
    MoveMouse(OnScreen(h, POINT{120, 120}));
    EXPECT_TRUE(PumpUntil([&] { return Shown(h, Middle(close)) == ButtonColour(close, 1); }));
}

TEST_F(CaptionButtons, AnInactiveWindowHighlightsNothingButAPressActivatesIt) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    Deactivate();
    const ButtonPlace minimise = PlaceOf(TElement::MinimiseButton, Width(h));
    MoveMouse(OnScreen(h, Middle(minimise)));
    EXPECT_EQ(Shown(h, Middle(minimise)), ButtonColour(minimise, 4));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(GetForegroundWindow(), h);
    EXPECT_EQ(Shown(h, Middle(minimise)), ButtonColour(minimise, 2));
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([h] { return IsIconic(h) != FALSE; }));
}

TEST_F(CaptionButtons, CustomActionsPostTheirCodeAndADoubleClickPressesAgain) {
    // The close button of the skin, given an action of the skin's own.
    for (const auto& b : skin->CaptionButtons)
        if (b->Action == 0) b->Action = 42;
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    PostedMessages posted(SkinMsgQuery);
    MoveMouse(OnScreen(h, Middle(PlaceOf(TElement::CloseButton, Width(h)))));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    // The second click of a double click is a press on the button too, not
    // a double click on the caption.
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Sleep(50);
    PumpMessages();
    EXPECT_EQ(posted.WParams(), (std::vector<WPARAM>{42, 42}));
    EXPECT_TRUE(IsWindow(h));
    EXPECT_FALSE(IsZoomed(h));
}

TEST_F(CaptionButtons, ADoubleClickOnTheCaptionMaximisesAndRestores) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    // Between the icon and the text, in a row the platform caption knows nothing of.
    const POINT caption{L + 20, T - 2};
    MoveMouse(OnScreen(h, caption));
    MouseClicks(2);
    EXPECT_TRUE(PumpUntil([h] { return IsZoomed(h) != FALSE; }));
    MoveMouse(OnScreen(h, caption));
    MouseClicks(2);
    EXPECT_TRUE(PumpUntil([h] { return !IsZoomed(h); }));
}

TEST_F(CaptionButtons, AMaximisedWindowIsNotDraggedByItsCaptionNorOpensItsMenu) {
    for (const bool withMenu : {false, true}) {
        HMENU menu = nullptr;
        if (withMenu) {
            menu = CreateMenu();
            HMENU file = CreatePopupMenu();
            AppendMenuA(file, MF_STRING, 101, "&Open");
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        }
        HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300}, "Maximised", menu);
        SendMessageA(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        PumpMessages();
        ASSERT_TRUE(IsZoomed(h));
        const RECT before = WindowRect(h);
        bool menuOpened = false;
        ModalDriver driver([&] {
            if (FindThreadWindow("#32768") == nullptr) return false;
            menuOpened = true;
            EndMenu();
            return true;
        });
        // The caption's last row, left of the text: where the platform draws
        // its own menu bar's first item.
        const POINT grip = OnScreen(h, POINT{L + 10, T - 1});
        MoveMouse(grip);
        // All of it queued before anything is handled, as a modal loop would take it.
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        SendMouseMove(POINT{grip.x + 40, grip.y + 30});
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        Sleep(300);
        PumpMessages();
        EXPECT_TRUE(IsZoomed(h)) << "menu " << withMenu;
        EXPECT_EQ(WindowRect(h).left, before.left) << "menu " << withMenu;
        EXPECT_EQ(WindowRect(h).top, before.top) << "menu " << withMenu;
        EXPECT_FALSE(menuOpened) << "menu " << withMenu;
        DestroyWindow(h);
    }
}

TEST_F(CaptionButtons, TheSystemMenuShowsTheWindowsRealBoxes) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    HMENU system = GetSystemMenu(h, FALSE);
    UINT minimise = 0, maximise = 0, restore = 0;
    bool seen = false;
    ModalDriver driver([&] {
        // Inside the menu loop, once the menu is up.
        if (FindThreadWindow("#32768") == nullptr) return false;
        minimise = GetMenuState(system, SC_MINIMIZE, MF_BYCOMMAND);
        maximise = GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND);
        restore = GetMenuState(system, SC_RESTORE, MF_BYCOMMAND);
        seen = true;
        EndMenu();
        return true;
    });
    MoveMouse(OnScreen(h, POINT{L + 20, T - 2}));
    MouseClicks(1, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return seen; }));
    EXPECT_FALSE(minimise & MF_GRAYED);
    EXPECT_FALSE(maximise & MF_GRAYED);
    EXPECT_TRUE(restore & MF_GRAYED);
    PumpMessages();
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
        << "stripped again once the menu is gone";
}

TEST_F(CaptionButtons, TheSystemMenuAskedForTwiceQuicklyClosesTheWindow) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 420, 300});
    TWinSkinForm* frame = FrameOf(h);
    // Quick enough whatever the machine does meanwhile.
    frame->DoubleClickTime = 60000;
    ModalDriver driver([] {
        if (FindThreadWindow("#32768") == nullptr) return false;
        EndMenu();
        return true;
    });
    frame->ShowSystemMenu(POINT{200, 200});
    EXPECT_TRUE(driver.Done()) << "the first call showed the menu";
    EXPECT_TRUE(IsWindow(h));
    frame->ShowSystemMenu(POINT{200, 200});
    EXPECT_TRUE(PumpUntil([h] { return !IsWindow(h); }));
}

TEST_F(CaptionButtons, NoPointOfTheWindowRegionAnswersNowhere) {
    const struct {
        DWORD style;
        bool menu;
    } windows[] = {{WS_OVERLAPPEDWINDOW, false}, {WS_OVERLAPPEDWINDOW, true}, {WS_CAPTION | WS_SYSMENU, false}};
    for (const auto& kind : windows) {
        HMENU menu = nullptr;
        if (kind.menu) {
            menu = CreateMenu();
            AppendMenuA(menu, MF_STRING, 100, "&File");
        }
        HWND h = ShowPlainWindow(kind.style, RECT{100, 100, 420, 300}, "Hit test", menu);
        const RECT r = WindowRect(h);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(h, region), ERROR);
        int nowhere = 0, menuRows = 0;
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < r.right - r.left; ++x) {
                if (!PtInRegion(region, x, y)) continue;
                const LRESULT code = SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
                nowhere += code == HTNOWHERE || code == HTERROR;
                menuRows += code == HTMENU && x == 100;
            }
        DeleteObject(region);
        EXPECT_EQ(nowhere, 0) << "style " << std::hex << kind.style << " menu " << kind.menu;
        EXPECT_EQ(menuRows, kind.menu ? GetSystemMetrics(SM_CYMENU) : 0) << "the menu bar band";
        DestroyWindow(h);
    }
}

}  // namespace
}  // namespace pellix::test
