// The skinned frame's geometry without windows: client rectangle, hit codes,
// caption text placement and the inactive gap strip.
#include <gtest/gtest.h>

#include "skin/FramePaint.h"
#include "tests/harness/Rects.h"

namespace pellix {
namespace {

bool Empty(RECT r) { return IsRectEmpty(&r) != FALSE; }

TEST(FrameGeometry, ClientRectangleTakesTheSkinnedFrameOffTheWindow) {
    const TFrameMetrics m{4, 24, 4, 4, 19};
    EXPECT_EQ(SkinnedClientRect(RECT{100, 50, 400, 250}, m), (RECT{104, 93, 396, 246}));
}

TEST(FrameGeometry, ClientRectangleOfAWindowSmallerThanItsFrameIsEmptyNotInverted) {
    const TFrameMetrics m{6, 30, 6, 6, 19};
    // 10 x 40: the frame alone needs 12 x 55.
    EXPECT_EQ(SkinnedClientRect(RECT{0, 0, 10, 40}, m), (RECT{6, 49, 6, 49}));
    // A minimised window's 160 x 24 box.
    EXPECT_EQ(SkinnedClientRect(RECT{0, 1000, 160, 1024}, m), (RECT{6, 1049, 154, 1049}));
}

TEST(FrameGeometry, PartsOfTheWindowMeetWithoutGaps) {
    const TFrameRects r = FrameRects(TFrameMetrics{5, 24, 7, 3, 19}, 300, 200);
    EXPECT_EQ(r.LeftBorder, (RECT{0, 0, 5, 200}));
    EXPECT_EQ(r.RightBorder, (RECT{293, 0, 300, 200}));
    EXPECT_EQ(r.BottomBorder, (RECT{5, 197, 293, 200}));
    EXPECT_EQ(r.TopBorder, (RECT{5, 0, 293, 24}));
    EXPECT_EQ(r.CaptionStrip, (RECT{0, 0, 300, 24}));
    EXPECT_EQ(r.MenuBar, (RECT{5, 24, 293, 43}));
    EXPECT_EQ(r.Client, (RECT{5, 43, 293, 197}));
}

TEST(FrameGeometry, BorderSizeCountsAFrameCountBelowOneAsNoBorder) {
    EXPECT_EQ(BorderSize(48, 2), 24);
    EXPECT_EQ(BorderSize(49, 2), 24);
    EXPECT_EQ(BorderSize(8, 1), 8);
    EXPECT_EQ(BorderSize(48, 0), 0);
    EXPECT_EQ(BorderSize(48, -3), 0);
}

TEST(FrameGeometry, InactiveBordersUseTheirSecondFrameWhenTheyHaveOne) {
    EXPECT_EQ(BorderFrame(true, 2), 1);
    EXPECT_EQ(BorderFrame(false, 2), 2);
    EXPECT_EQ(BorderFrame(false, 1), 1);
    EXPECT_EQ(BorderFrame(true, 1), 1);
}

struct HitCase {
    POINT point;
    LRESULT defaultCode;
    bool sizable;
    LRESULT expected;
};

// A 300 x 200 window with borders 6, caption 30 and a menu bar of 19: what
// the default says (Wine's 4-pixel frame and 19-pixel caption) and what the
// drawn frame makes of it.
TEST(FrameGeometry, HitTestAnswersForEveryDrawnPartWhereTheDefaultKnowsNothing) {
    const HitCase cases[] = {
        {{150, 2}, HTTOP, true, HTTOP},                // the default's own sizing edge stays
        {{150, 10}, HTCAPTION, true, HTCAPTION},       // the platform caption band
        {{150, 25}, HTNOWHERE, true, HTCAPTION},       // below it, still the drawn caption
        {{150, 29}, HTNOWHERE, true, HTCAPTION},       // last caption row
        {{150, 30}, HTNOWHERE, true, HTMENU},          // first menu bar row
        {{150, 48}, HTNOWHERE, true, HTMENU},          // last menu bar row
        {{150, 49}, HTCLIENT, true, HTCLIENT},
        {{150, 23}, HTMENU, true, HTCAPTION},          // the platform's menu bar lies higher
        {{150, 196}, HTBOTTOM, true, HTBOTTOM},
        {{5, 100}, HTNOWHERE, true, HTLEFT},           // inner pixels of a wide border
        {{5, 100}, HTNOWHERE, false, HTBORDER},
        {{295, 100}, HTNOWHERE, true, HTRIGHT},
        {{150, 195}, HTNOWHERE, true, HTBOTTOM},
        {{150, 195}, HTERROR, false, HTBORDER},
        {{5, 195}, HTNOWHERE, true, HTBOTTOMLEFT},
        {{294, 194}, HTNOWHERE, true, HTBOTTOMRIGHT},
        {{4, 20}, HTNOWHERE, true, HTCAPTION},         // a border beside the caption belongs to the caption
        {{5, 35}, HTNOWHERE, true, HTMENU},
        {{-1, 100}, HTNOWHERE, true, HTNOWHERE},       // outside the window
        {{150, 200}, HTNOWHERE, true, HTNOWHERE},
        {{300, 10}, HTNOWHERE, true, HTNOWHERE},
    };
    THitFrame frame{TFrameMetrics{6, 30, 6, 6, 19}, 300, 200, false};
    for (const HitCase& c : cases) {
        frame.Sizable = c.sizable;
        EXPECT_EQ(FrameHitTest(frame, c.point, c.defaultCode), c.expected)
            << "at (" << c.point.x << ", " << c.point.y << "), default " << c.defaultCode;
    }
}

TEST(FrameGeometry, ThePlatformsCaptionAndMenuBarAnswerAsTheDrawnOnesLieThere) {
    // A short skinned caption of 16 rows: the platform's caption band (4-21)
    // covers the drawn menu bar's first rows, its menu bar (23-41) the
    // drawn caption's last.
    THitFrame frame{TFrameMetrics{4, 16, 4, 4, 19}, 300, 200, true};
    EXPECT_EQ(FrameHitTest(frame, POINT{100, 15}, HTCAPTION), HTCAPTION);
    EXPECT_EQ(FrameHitTest(frame, POINT{100, 16}, HTCAPTION), HTMENU);
    EXPECT_EQ(FrameHitTest(frame, POINT{100, 21}, HTCAPTION), HTMENU);
    frame.Metrics = TFrameMetrics{4, 30, 4, 4, 19};
    EXPECT_EQ(FrameHitTest(frame, POINT{100, 25}, HTMENU), HTCAPTION);
    EXPECT_EQ(FrameHitTest(frame, POINT{100, 30}, HTMENU), HTMENU);
}

TEST(FrameGeometry, NoPointInsideTheWindowAnswersNowhere) {
    const THitFrame frame{TFrameMetrics{7, 26, 5, 9, 19}, 240, 160, true};
    for (int y = 0; y < frame.Height; ++y)
        for (int x = 0; x < frame.Width; ++x) {
            const LRESULT code = FrameHitTest(frame, POINT{x, y}, HTNOWHERE);
            ASSERT_NE(code, HTNOWHERE) << x << ", " << y;
            ASSERT_NE(code, HTERROR) << x << ", " << y;
        }
}

struct TextCase {
    const char* name;
    int alignment, shift, shiftVert, rightClip, backLeft, backRight;
    bool popup;
    int rightButtonsLeft;
    RECT expected;
};

// Caption rectangle (4, 0, 296, 24) and a text block of 60 x 13 pixels.
TEST(FrameGeometry, CaptionTextIsPlacedByTheTitleAlignmentAndShifts) {
    const TextCase cases[] = {
        // left: TextShift from the caption's left; (24 - 13) / 2 = 5 down
        {"left", 0, 10, 0, 0, 0, 0, false, 0, {14, 5, 74, 18}},
        // the background margins widen the block; TextShiftVert 5 adds 5 / 2 = 2
        {"left widened", 0, 10, 5, 0, 3, 4, false, 0, {14, 7, 81, 20}},
        // centre: (292 - 67) / 2 = 112
        {"centre", 1, 10, 0, 0, 3, 4, false, 0, {116, 5, 183, 18}},
        // right: ends TextRightClip before the caption's right edge
        {"right", 2, 0, 0, 20, 0, 0, false, 0, {216, 5, 276, 18}},
        // unknown alignment: no shift
        {"unknown", 7, 10, 0, 0, 0, 0, false, 0, {4, 5, 64, 18}},
        // a negative vertical shift rounds toward zero: -3 / 2 = -1
        {"shift up", 0, 0, -3, 0, 0, 0, false, 0, {4, 4, 64, 17}},
        // a popup's block reaches to 5 pixels before the buttons
        {"popup", 0, 0, 0, 0, 0, 0, true, 250, {4, 5, 245, 18}},
        {"popup long text", 0, 0, 0, 0, 0, 0, true, 40, {4, 5, 64, 18}},
    };
    for (const TextCase& c : cases) {
        TDataSkinTitle title("Title");
        title.TextAlignment = c.alignment;
        title.LeftWidth = c.shift;
        title.TopHeight = c.shiftVert;
        title.RightWidth = c.rightClip;
        title.TXTBackleft = c.backLeft;
        title.TXTBackRight = c.backRight;
        EXPECT_EQ(PlaceCaptionText(RECT{4, 0, 296, 24}, SIZE{60, 13}, title, c.popup, c.rightButtonsLeft), c.expected)
            << c.name;
    }
}

TEST(FrameGeometry, CaptionTextIsCutAtTheRightClip) {
    TDataSkinTitle title("Title");
    title.LeftWidth = 10;
    title.RightWidth = 30;
    // 400 pixels of text in a 292-pixel caption.
    EXPECT_EQ(PlaceCaptionText(RECT{4, 0, 296, 24}, SIZE{400, 13}, title, false, 0), (RECT{14, 5, 266, 18}));
}

TEST(FrameGeometry, InactiveShortCaptionGetsAFaceStripUpToThePlatformCaption) {
    const TFrameMetrics noMenu{4, 20, 4, 4, 0};
    EXPECT_EQ(InactiveGapRect(noMenu, 300, false, 23), (RECT{4, 20, 296, 23}));
    EXPECT_TRUE(Empty(InactiveGapRect(noMenu, 300, true, 23)));
    EXPECT_TRUE(Empty(InactiveGapRect(TFrameMetrics{4, 23, 4, 4, 0}, 300, false, 23)));
    EXPECT_TRUE(Empty(InactiveGapRect(TFrameMetrics{4, 20, 4, 4, 19}, 300, false, 23)));
}

}  // namespace
}  // namespace pellix
