// Up-down arrows, track bars and progress bars drawn from the test skin: the
// pressed half found from the real cursor, both orientations and the plain
// look; the track bar's thumb replaced and nothing else; the progress bar's
// width in 64 bits, its stretched and its chunked look.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

// ----------------------------------------------------------------- up-down

TEST(UpDownHalfStates, ThePressedHalfIsTheOneUnderTheCursor) {
    using S = TUpDownHalfState;
    struct Case {
        int cursor;
        bool pressed, enabled;
        S first, second;
    };
    const Case cases[] = {
        {3, false, true, S::Normal, S::Normal},     {3, true, true, S::Pressed, S::Normal},
        {12, true, true, S::Normal, S::Pressed},    {13, true, true, S::Normal, S::Pressed},
        {12, false, false, S::Disabled, S::Disabled}, {-4, true, true, S::Pressed, S::Normal},
    };
    for (const Case& c : cases) {
        const TUpDownHalfStates s = UpDownHalfStates(c.cursor, 12, c.pressed, c.enabled);
        EXPECT_EQ(s.First, c.first) << c.cursor;
        EXPECT_EQ(s.Second, c.second) << c.cursor;
    }
}

class UpDownSkinTest : public ControlSkinFixture {
protected:
    TUpDown* MakeUpDown(TUDOrientation orientation, int width, int height) {
        auto* upDown = Make<TUpDown>(30, 30, width, height, {}, [&](TUpDown& u) { u.Orientation = orientation; });
        upDownSkin = NewSkin<TSkinUpDown>();
        upDownSkin->AttachControl(upDown, skin.get(), false, &host->ControlCanvas);
        PumpMessages();
        return upDown;
    }
    TSkinUpDown* upDownSkin = nullptr;
};

TEST_F(UpDownSkinTest, HalvesShowTheirStateByOrientationAndCursor) {
    struct Case {
        const char* name;
        TUDOrientation orientation;
        int horizontal;  // the skin's own switch
        int width, height;
        int pressOn;  // 0 none, 1 first half, 2 second half
        bool disabled;
        int firstFrame, secondFrame;
    };
    const Case cases[] = {
        {"vertical", TUDOrientation::udVertical, 0, 17, 26, 0, false, 1, 5},
        {"vertical, lower half pressed", TUDOrientation::udVertical, 0, 17, 26, 2, false, 1, 6},
        {"vertical, upper half pressed", TUDOrientation::udVertical, 0, 17, 26, 1, false, 2, 5},
        {"vertical, disabled", TUDOrientation::udVertical, 0, 17, 26, 0, true, 3, 7},
        {"horizontal, right half pressed", TUDOrientation::udHorizontal, 0, 40, 17, 2, false, 1, 6},
        {"vertical drawn side by side", TUDOrientation::udVertical, 1, 40, 17, 1, false, 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUpDown* upDown = MakeUpDown(c.orientation, c.width, c.height);
        upDownSkin->Horizontal = c.horizontal;
        const bool vertical = c.orientation == TUDOrientation::udVertical && c.horizontal == 0;
        RECT first, second;
        UpDownHalves(RECT{0, 0, c.width, c.height}, vertical, first, second);
        HWND window = upDown->Handle();
        if (c.pressOn != 0) {
            const RECT& half = c.pressOn == 1 ? first : second;
            const POINT at{(half.left + half.right) / 2, (half.top + half.bottom) / 2};
            const POINT screen = ScreenPoint(window, at.x, at.y);
            SetCursorPos(screen.x, screen.y);
            PumpMessages();
            SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
        if (c.disabled) EnableWindow(window, FALSE);
        Repaint(window);

        const TWindowPicture picture(window);
        const TElement element = vertical ? TElement::UpDownVert : TElement::UpDownHorz;
        const TElement glyph = vertical ? TElement::UpDownVertGlyph : TElement::UpDownHorzGlyph;
        const int gw = testskin::Layout(glyph).FrameWidth, gh = testskin::Layout(glyph).FrameHeight;
        for (const auto& [half, frame] : {std::pair{first, c.firstFrame}, std::pair{second, c.secondFrame}}) {
            EXPECT_EQ(Hex(picture.At(half.left + 1, half.top + 1)), Hex(Piece(element, frame, TPiece::Centre)))
                << "frame " << frame;
            const int gx = half.left + (half.right - half.left - gw) / 2;
            const int gy = half.top + (half.bottom - half.top - gh) / 2;
            EXPECT_EQ(Hex(picture.At(gx + gw / 2, gy + gh / 2)), Hex(Piece(glyph, frame, TPiece::Centre)));
            EXPECT_EQ(picture.Count(Piece(glyph, frame, TPiece::Centre)), gw * gh) << "the glyph whole, in the middle";
        }
        if (c.pressOn != 0) SendMessageA(window, WM_LBUTTONUP, 0, 0);
        EXPECT_FALSE(upDownSkin->MouseState.Pressed);
        host->DropControlSkins();
        TComponent::Free(upDown);
        ParkCursor();
    }
}

TEST_F(UpDownSkinTest, WithoutArrowImagesTheHalvesAreDrawnPlain) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::UpDownVertGlyph};
    skin = LoadTestSkin(options);
    TUpDown* upDown = MakeUpDown(TUDOrientation::udVertical, 17, 26);
    HWND window = upDown->Handle();
    const POINT screen = ScreenPoint(window, 8, 20);
    SetCursorPos(screen.x, screen.y);
    PumpMessages();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 20));
    const TWindowPicture picture(window);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(8, 20));
    const COLORREF outline = Rgb(SkinColours().ButtonDkShadow);
    EXPECT_EQ(Hex(picture.At(0, 0)), Hex(outline));
    EXPECT_EQ(Hex(picture.At(16, 12)), Hex(outline));
    EXPECT_EQ(Hex(picture.At(1, 1)), Hex(Rgb(SkinColours().ButtonFace)));
    EXPECT_EQ(Hex(picture.At(1, 14)), Hex(Rgb(SkinColours().ButtonShadow))) << "the pressed half";
    // The arrows' tips, drawn in the outline's pen.
    EXPECT_EQ(Hex(picture.At(8, 13 / 2 - 2)), Hex(outline));
    EXPECT_EQ(Hex(picture.At(8, 13 + 13 / 2 - 2 + 3)), Hex(outline));
    EXPECT_EQ(picture.Count(Piece(TElement::UpDownVert, 1, TPiece::Centre)), 0) << "no face image either";
}

TEST_F(UpDownSkinTest, InsetArrowsLeaveARingOfTheFace) {
    TUpDown* upDown = MakeUpDown(TUDOrientation::udVertical, 17, 26);
    upDownSkin->Inset = true;
    Repaint(upDown->Handle());
    const TWindowPicture picture(upDown->Handle());
    const COLORREF face = Rgb(SkinColours().ButtonFace);
    for (int x = 0; x < 17; ++x) {
        EXPECT_EQ(Hex(picture.At(x, 0)), Hex(face));
        EXPECT_EQ(Hex(picture.At(x, 25)), Hex(face));
    }
    EXPECT_EQ(Hex(picture.At(0, 10)), Hex(face));
    EXPECT_EQ(Hex(picture.At(16, 10)), Hex(face));
    // Halves of the 15 x 24 inside: 12 rows each, the first from row 1.
    EXPECT_EQ(Hex(picture.At(1, 1)), Hex(Piece(TElement::UpDownVert, 1, TPiece::Centre)));
    EXPECT_EQ(Hex(picture.At(1, 12)), Hex(Piece(TElement::UpDownVert, 1, TPiece::Centre)));
    EXPECT_EQ(Hex(picture.At(1, 13)), Hex(Piece(TElement::UpDownVert, 5, TPiece::Centre)));
}

// --------------------------------------------------------------- track bar

TEST_F(ControlSkinFixture, OnlyTheTrackBarsThumbIsSkinnedFromFrameFour) {
    for (bool withImage : {true, false}) {
        SCOPED_TRACE(withImage ? "Buttons image" : "no Buttons image");
        if (!withImage) {
            testskin::TTestSkinOptions options;
            options.Omit = {TElement::Buttons};
            skin = LoadTestSkin(options);
        }
        auto* skinned = Make<TTrackBar>(20, 20, 170, 40);
        auto* twin = Make<TTrackBar>(20, 80, 170, 40);
        skinned->SetPosition(3);
        twin->SetPosition(3);
        NewSkin<TSkinTrackBar>()->AttachControl(skinned, skin.get(), false, &host->ControlCanvas);
        Repaint(form->Handle());

        RECT thumb{};
        SendMessageA(skinned->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        ASSERT_GT(thumb.right - thumb.left, 4);
        const TWindowPicture a(skinned->Handle()), b(twin->Handle());
        int differ = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (!PtInRect(&thumb, POINT{x, y})) differ += a.At(x, y) != b.At(x, y);
        EXPECT_EQ(differ, 0) << "channel, tics and background are the bar's own";
        const POINT centre{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        if (withImage) {
            EXPECT_EQ(Hex(a.At(centre.x, centre.y)), Hex(Piece(TElement::Buttons, 4, TPiece::Centre)));
        } else {
            // A plain box: the shadow outline filled with the scratch canvas's brush.
            EXPECT_EQ(Hex(a.At(thumb.left, centre.y)), Hex(Rgb(SkinColours().ButtonShadow)));
            EXPECT_EQ(Hex(a.At(centre.x, centre.y)), Hex(ColorToRGB(host->ControlCanvas.Brush()->Color())));
        }
        host->DropControlSkins();
        TComponent::Free(skinned);
        TComponent::Free(twin);
    }
}

// ------------------------------------------------------------ progress bar

TEST(ProgressBarRight, ReachesPosOfMaxOfTheWidthWithoutOverflowingAndStaysInside) {
    struct Case {
        int left, right;
        int64_t pos, max;
        int expected;
    };
    const Case cases[] = {
        {0, 200, 50, 100, 100},
        {10, 210, 50, 100, 110},
        {0, 200, 0, 100, 0},
        {0, 200, 50, 0, 0},
        {0, 200, -5, 100, 0},
        {0, 200, 150, 100, 200},  // past the end: the whole bar
        {0, 200, 2000000000, 2100000000, 190},
        {10, 210, INT_MAX, INT_MAX, 210},
        {0, 200, 1, INT_MAX, 0},
        {0, 0, 5, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgressBarRight(c.left, c.right, c.pos, c.max), c.expected) << c.pos << " of " << c.max;
}

TEST(ProgressChunkCount, OneMoreThanFitWhole) {
    const std::pair<std::pair<int, int>, int> cases[] = {
        {{100, 10}, 11}, {{100, 6}, 17}, {{5, 6}, 1}, {{0, 6}, 0}, {{100, 0}, 0},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(ProgressChunkCount(input.first, input.second), expected);
}

class ProgressSkinTest : public ControlSkinFixture {
protected:
    TProgressBar* MakeBar(int max, int position) {
        auto* bar = Make<TProgressBar>(20, 20, 200, 20);
        bar->SetRange(0, max);
        bar->SetPosition(position);
        NewSkin<TSkinProgress>()->AttachControl(bar, skin.get(), false, &host->ControlCanvas);
        Repaint(bar->Handle());
        return bar;
    }
};

TEST_F(ProgressSkinTest, TheBarIsFrameTwoOverFrameOneUpToItsPosition) {
    struct Case {
        const char* name;
        int max, position;
        int barRight;  // 0: background only
    };
    const Case cases[] = {
        {"half", 100, 50, 100},
        {"at 0", 100, 0, 0},
        {"a range past 32-bit products", 2100000000, 2000000000, 190},
        {"full", 100, 100, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TProgressBar* bar = MakeBar(c.max, c.position);
        const TWindowPicture picture(bar->Handle());
        const auto background = [](TPiece p) { return Hex(Piece(TElement::Progress, 1, p)); };
        const auto filled = [](TPiece p) { return Hex(Piece(TElement::Progress, 2, p)); };
        if (c.barRight > 0) {
            EXPECT_EQ(Hex(picture.At(0, 0)), filled(TPiece::TopLeft));
            EXPECT_EQ(Hex(picture.At(c.barRight / 2, 10)), filled(TPiece::Centre));
            EXPECT_EQ(Hex(picture.At(c.barRight - 1, 10)), filled(TPiece::Right));
        } else {
            EXPECT_EQ(Hex(picture.At(0, 0)), background(TPiece::TopLeft));
        }
        if (c.barRight + 5 < 196) {
            EXPECT_EQ(Hex(picture.At(c.barRight + 5, 10)), background(TPiece::Centre));
        }
        if (c.barRight < 200) {
            EXPECT_EQ(Hex(picture.At(199, 19)), background(TPiece::BottomRight));
        }
        host->DropControlSkins();
        TComponent::Free(bar);
    }
}

TEST_F(ProgressSkinTest, StyleOneRowsChunksAfterTheLeftMarginAndNeedsNoChunkToShowTheBar) {
    skin->Progress->Style = 1;
    TProgressBar* bar = MakeBar(100, 50);
    const TWindowPicture picture(bar->Handle());
    const COLORREF chunk = Piece(TElement::ProgressChunk, 1, TPiece::Centre);
    const int left = testskin::Layout(TElement::Progress).Margins.Left;
    const int top = (20 - testskin::Layout(TElement::ProgressChunk).FrameHeight) / 2;
    // A 100-pixel strip of 17 chunks of 6, the last one cut.
    EXPECT_EQ(picture.Count(chunk), 100 * 8);
    EXPECT_EQ(picture.Count(chunk, RECT{left, top, left + 100, top + 8}), 100 * 8);
    EXPECT_EQ(Hex(picture.At(0, 0)), Hex(Piece(TElement::Progress, 1, TPiece::TopLeft))) << "the whole image behind";
    host->DropControlSkins();
    TComponent::Free(bar);

    testskin::TTestSkinOptions options;
    options.Omit = {TElement::ProgressChunk};
    skin = LoadTestSkin(options);
    skin->Progress->Style = 1;
    bar = MakeBar(100, 50);
    const TWindowPicture plain(bar->Handle());
    EXPECT_EQ(Hex(plain.At(0, 0)), Hex(Piece(TElement::Progress, 1, TPiece::TopLeft)));
    EXPECT_EQ(Hex(plain.At(199, 19)), Hex(Piece(TElement::Progress, 2, TPiece::BottomRight)))
        << "the whole two-frame image stretched as one";
}

}  // namespace
}  // namespace pellix::test
