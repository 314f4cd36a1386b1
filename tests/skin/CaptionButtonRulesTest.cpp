// The caption buttons' rules without windows: which show, where they go and
// which frame of their image they draw.
#include <gtest/gtest.h>

#include <memory>

#include "skin/CaptionButtons.h"
#include "tests/harness/Rects.h"

namespace pellix {
namespace {

// Records hold their image and cannot be copied: tests hold them by pointer.
std::unique_ptr<TDataSkinSysButton> Button(int action, int visibility, int visibility1) {
    auto b = std::make_unique<TDataSkinSysButton>("BUTTON");
    b->Action = action;
    b->Visibility = visibility;
    b->Visibility1 = visibility1;
    return b;
}

constexpr uint8_t kAllBoxes = kCaptionMaxBox | kCaptionMinBox | kCaptionSysMenu;

struct VisibilityCase {
    const char* name;
    int action, visibility, visibility1;
    TCaptionState state;
    bool visible;
};

TCaptionState State(uint8_t flags, uint8_t showState = 0, bool active = true, uint8_t borderKind = 0) {
    TCaptionState s;
    s.CaptionFlags = flags;
    s.ShowState = showState;
    s.FrameActive = active;
    s.BorderKind = borderKind;
    return s;
}

TCaptionState MdiState(bool childMaximised, int menuBarHeight) {
    TCaptionState s = State(kAllBoxes);
    s.ActiveMdiChildMaximised = childMaximised;
    s.MenuBarHeight = menuBarHeight;
    return s;
}

TEST(CaptionButtonRules, VisibilityCodesDecideTogether) {
    const VisibilityCase cases[] = {
        {"0 on a sizing frame", 4, 0, 0, State(0), true},
        {"0 on an other window", 4, 0, 0, State(kAllBoxes, 0, true, 3), false},
        {"0 close with system menu", 0, 0, 0, State(kCaptionSysMenu), true},
        {"0 close without system menu", 0, 0, 0, State(kCaptionMaxBox), false},
        {"1 maximised", 4, 1, 1, State(kAllBoxes, 1), true},
        {"1 normal", 4, 1, 0, State(kAllBoxes, 0), false},
        {"2 normal", 4, 2, 2, State(kAllBoxes, 0), true},
        {"2 maximised", 4, 2, 0, State(kAllBoxes, 1), false},
        {"3 active", 4, 3, 3, State(kAllBoxes, 0, true), true},
        {"3 inactive", 4, 3, 3, State(kAllBoxes, 0, false), false},
        {"4 inactive", 4, 0, 4, State(kAllBoxes, 0, false), true},
        {"5 never", 4, 5, 0, State(kAllBoxes), false},
        {"5 never as the second code", 4, 250, 5, State(kAllBoxes), false},
        {"6 box and menu", 4, 6, 6, State(kAllBoxes), true},
        {"6 without system menu", 4, 6, 0, State(kCaptionMaxBox | kCaptionMinBox), false},
        {"6 as second code asks only the box", 4, 250, 6, State(kCaptionMaxBox), true},
        {"7 no maximise box", 4, 7, 7, State(kCaptionMinBox), true},
        {"7 with maximise box", 4, 7, 0, State(kAllBoxes), false},
        {"8 box and menu", 4, 8, 0, State(kAllBoxes), true},
        {"8 without the box", 4, 8, 0, State(kCaptionSysMenu), false},
        {"8 as second code asks only the box", 4, 250, 8, State(kCaptionMinBox), true},
        {"9 no minimise box", 4, 9, 9, State(kCaptionMaxBox), true},
        {"100 maximised child under a menu bar", 7, 100, 100, MdiState(true, 19), true},
        {"100 without a menu bar", 7, 100, 100, MdiState(true, 0), false},
        {"100 child not maximised", 7, 100, 100, MdiState(false, 19), false},
        {"200", 4, 200, 0, State(0), true},
        {"2000", 4, 2000, 2000, State(0), true},
        {"2001", 4, 2001, 0, State(kAllBoxes), false},
        {"199", 4, 199, 0, State(kAllBoxes), false},
        {"10", 4, 10, 0, State(kAllBoxes), false},
        {"negative", 4, -1, 0, State(kAllBoxes), false},
        {"negative second", 4, 250, -7, State(kAllBoxes), false},
        // Maximise and minimise buttons need their box whatever their codes say.
        {"250 maximise with box", 1, 250, 0, State(kCaptionMaxBox), true},
        {"250 maximise without box", 1, 250, 0, State(kCaptionMinBox | kCaptionSysMenu), false},
        {"250 maximise second action code", 22, 250, 0, State(0), true},
        {"250 minimise without box", 2, 250, 0, State(kCaptionMaxBox | kCaptionSysMenu), false},
        {"250 close", 0, 250, 0, State(0), true},
    };
    for (const VisibilityCase& c : cases)
        EXPECT_EQ(IsSysButtonVisible(*Button(c.action, c.visibility, c.visibility1), c.state), c.visible) << c.name;
}

std::unique_ptr<TDataSkinSysButton> Placed(int align, int x, int y, int width, int height, int frames) {
    auto b = std::make_unique<TDataSkinSysButton>("BUTTON");
    b->Align = align;
    b->Xcoord = x;
    b->Ycoord = y;
    b->FrameCount = frames;
    b->Image.SetPixelFormat(TPixelFormat::pf24bit);
    b->Image.SetSize(width, height);
    return b;
}

struct PlaceCase {
    const char* name;
    int align, x, y;
    RECT expected;
    int rightButtonsLeft;
};

TEST(CaptionButtonRules, ButtonsArePlacedByAlignAndCoordinates) {
    TButtonPlacement p;
    p.FrameWidth = 400;
    p.CaptionTextRect = RECT{40, 5, 160, 18};
    p.RightBorderWidth = 6;
    p.CaptionHeight = 30;
    p.MenuBarHeight = 21;
    p.MenuBarLeftWidth = 8;
    // A strip of 3 frames, 16 x 14 each.
    const PlaceCase cases[] = {
        {"from the left edge", 0, 5, 4, {5, 4, 21, 18}, 0},
        {"from the right edge", 1, 30, 4, {370, 4, 386, 18}, 370},
        {"left of the text", 2, 3, 4, {21, 4, 37, 18}, 0},
        {"left of the text (8)", 8, 0, 2, {24, 2, 40, 16}, 0},
        {"right of the text", 3, 3, 4, {163, 4, 179, 18}, 0},
        {"right of the text (9)", 9, 0, 0, {160, 0, 176, 14}, 0},
        // 400 - 48 - 6 - 8 = 338; (21 - 14) / 2 + 30 = 33
        {"into the menu bar", 100, 48, 0, {338, 33, 354, 47}, 0},
        {"unknown align", 4, 30, 30, {0, 0, 16, 14}, 0},
    };
    for (const PlaceCase& c : cases) {
        int rightButtonsLeft = 0;
        EXPECT_EQ(PlaceSysButton(*Placed(c.align, c.x, c.y, 48, 14, 3), p, rightButtonsLeft), c.expected) << c.name;
        EXPECT_EQ(rightButtonsLeft, c.rightButtonsLeft) << c.name;
    }
}

TEST(CaptionButtonRules, RightButtonsLeftIsTheRightmostRightAlignedButton) {
    TButtonPlacement p;
    p.FrameWidth = 400;
    int rightButtonsLeft = 0;
    PlaceSysButton(*Placed(1, 60, 4, 48, 14, 3), p, rightButtonsLeft);
    PlaceSysButton(*Placed(1, 24, 4, 48, 14, 3), p, rightButtonsLeft);
    PlaceSysButton(*Placed(1, 42, 4, 48, 14, 3), p, rightButtonsLeft);
    EXPECT_EQ(rightButtonsLeft, 376);
}

TEST(CaptionButtonRules, AButtonWithoutAUsableStripHasNoWidth) {
    EXPECT_EQ(SysButtonFrameWidth(*Placed(0, 0, 0, 48, 14, 3)), 16);
    EXPECT_EQ(SysButtonFrameWidth(*Placed(0, 0, 0, 48, 14, 0)), 0);
    EXPECT_EQ(SysButtonFrameWidth(*Placed(0, 0, 0, 48, 14, -2)), 0);
    EXPECT_EQ(SysButtonFrameWidth(*Placed(0, 0, 0, 0, 0, 3)), 0);
}

struct FrameCase {
    int state, visibility, frameCount, expected;
};

TEST(CaptionButtonRules, StateFramesNeverReachBeyondTheStrip) {
    const FrameCase cases[] = {
        {1, 0, 4, 1}, {2, 0, 4, 2}, {3, 0, 4, 3},
        {3, 100, 4, 4},                // the hot frame of an MDI button
        {3, 0, 2, 2}, {2, 0, 1, 1},    // short strips keep to their last frame
        {3, 100, 3, 3}, {1, 0, 0, 1},
    };
    for (const FrameCase& c : cases) {
        auto b = Button(0, c.visibility, 0);
        b->FrameCount = c.frameCount;
        EXPECT_EQ(SysButtonStateFrame(c.state, *b), c.expected)
            << "state " << c.state << ", visibility " << c.visibility << ", frames " << c.frameCount;
    }
}

TEST(CaptionButtonRules, FullPaintShowsTheInactiveFrameOnlyWhenTheStripHasIt) {
    TDataSkinSysButton b("BUTTON");
    b.FrameCount = 4;
    EXPECT_EQ(SysButtonPaintFrame(true, b), 1);
    EXPECT_EQ(SysButtonPaintFrame(false, b), 4);
    b.FrameCount = 3;
    EXPECT_EQ(SysButtonPaintFrame(false, b), 1);
}

}  // namespace
}  // namespace pellix
