// Scroll bars drawn from the test skin: the geometry as pure functions, the
// window bars of list boxes and memos read back pixel by pixel, the bars
// staying skinned when the system redraws them on its own, the skin's thumb
// drag driven with real input, the scroll-bar control and raw scroll-bar
// windows.
//
// Expected pixels come from the test skin's solid pieces and from the skin's
// thumb formula (range nMax - nMin, minimum 8), computed here; the platform
// draws its own thumb by another formula, so its numbers are never used.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/Forms.h"
#include "framework/ListView.h"
#include "framework/ScrollBar.h"
#include "framework/StdCtrls.h"
#include "skin/SkinScrollBars.h"
#include "skin/SkinTabs.h"
#include "tests/harness/Pump.h"
#include "tests/skin/SkinControlFixture.h"

namespace pellix {
namespace {

using testskin::TElement;
using testskin::TPiece;
using test::TColour;
using test::TWindowPixels;

// ============================================================ geometry

TEST(ScrollBarGeometry, BarsLieInsideHalfOfWhatTheFrameLeavesBesideThem) {
    // A 200 x 150 window with a 2-pixel client edge and 17-pixel bars.
    const RECT window{0, 0, 200, 150};
    struct Case {
        DWORD style;
        RECT client;
        RECT horz, vert, sizeBox;
    };
    const RECT old{1, 2, 3, 4};
    const Case cases[] = {
        {WS_HSCROLL | WS_VSCROLL, {0, 0, 179, 129}, {2, 131, 181, 148}, {181, 2, 198, 131}, {181, 131, 198, 148}},
        {WS_VSCROLL, {0, 0, 179, 146}, old, {181, 2, 198, 148}, old},
        {WS_HSCROLL, {0, 0, 196, 129}, {2, 131, 198, 148}, old, old},
        // A thicker frame on the bar's side only: the rest is split evenly.
        {WS_VSCROLL, {0, 0, 175, 146}, old, {179, 4, 196, 146}, old},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        TBarRects rects{old, old, old};
        LayoutBarRects(rects, window, c.client, c.style, 17);
        EXPECT_TRUE(EqualRect(&rects.Horz, &c.horz));
        EXPECT_TRUE(EqualRect(&rects.Vert, &c.vert));
        EXPECT_TRUE(EqualRect(&rects.SizeBox, &c.sizeBox));
    }
}

TEST(ScrollBarGeometry, ThumbFollowsTheSkinsFormula) {
    // Bars with 17-pixel arrows, thumbs at least 8, 17 without a page: the
    // skin's column of the measured table, and the cases around it.
    struct Case {
        int length, range, page, offset;
        int track, size, pos;
    };
    const Case cases[] = {
        {100, 99, 10, 0, 66, 8, 0},      // rows 17..25 of the bar
        {100, 99, 10, 45, 66, 8, 29},    // 46..54
        {100, 99, 10, 90, 66, 8, 58},    // 75..83
        {100, 99, 50, 50, 66, 33, 33},   // 50..83
        {100, 99, 99, 0, 66, 65, 0},     // page = range: one pixel short, at 0
        {100, 99, 100, 0, 66, 66, 0},    // a page past the range fills the track
        {100, 99, 0, 99, 66, 17, 49},    // no page: the default thumb
        {200, 19, 1, 19, 166, 9, 157},   // the minimum
        {300, 39, 20, 20, 266, 136, 130},
        {40, 99, 10, 0, 6, 6, 0},        // a track shorter than the minimum
        {30, 99, 10, 0, -4, -4, 0},      // shorter than two arrows: never drawn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " " << c.range << " " << c.page << " " << c.offset);
        TBarMetrics m{17, 0, 0, 0};
        ASSERT_TRUE(ComputeThumbMetrics({c.length, 17, 8, 17, c.range, c.page, c.offset}, m));
        EXPECT_EQ(m, (TBarMetrics{17, c.track, c.size, c.pos}));
    }

    // No range: the old values stay.
    TBarMetrics kept{17, 1, 2, 3};
    EXPECT_FALSE(ComputeThumbMetrics({100, 17, 8, 17, 0, 0, 0}, kept));
    EXPECT_FALSE(ComputeThumbMetrics({100, 17, 8, 17, -5, 0, 0}, kept));
    EXPECT_EQ(kept, (TBarMetrics{17, 1, 2, 3}));
}

TEST(ScrollBarGeometry, HitTestPeelsArrowsPagesAndThumbAlongTheBar) {
    const TBarMetrics m{17, 66, 8, 29};  // thumb over 46..53
    const std::pair<int, int> cases[] = {
        {0, SB_LINEUP},       {16, SB_LINEUP},       {17, SB_PAGEUP},       {45, SB_PAGEUP},
        {46, SB_THUMBTRACK},  {53, SB_THUMBTRACK},   {54, SB_PAGEDOWN},     {82, SB_PAGEDOWN},
        {83, SB_LINEDOWN},    {99, SB_LINEDOWN},     {100, -1},
    };
    for (auto [c, code] : cases) EXPECT_EQ(HitTestBar(c, m), code) << c;
    // A bar shorter than two arrows is all arrows: its thumb is never hit.
    for (int c = 0; c < 30; ++c) EXPECT_EQ(HitTestBar(c, TBarMetrics{17, -4, -4, 0}), c < 17 ? SB_LINEUP : SB_LINEDOWN) << c;
}

TEST(ScrollBarGeometry, DragPositionStopsTheThumbAtTheEndOfTheTrack) {
    struct Case {
        int t, nMin, nMax, nPage;
        int position, thumb;
    };
    // Track 66, thumb 33.
    const TBarMetrics m{17, 66, 33, 0};
    const Case cases[] = {
        {-10, 0, 99, 50, 0, 0},    // before the start: the first position
        {0, 0, 99, 50, 0, 0},
        {20, 0, 99, 50, 30, 20},   // 20 * 99 / 66
        {33, 0, 99, 50, 50, 33},   // the thumb at the end of the track
        {40, 0, 99, 50, 50, 33},   // past it: the position goes on, the thumb stays
        {66, 0, 99, 50, 50, 33},   // at the end with a page: nMax - nPage + 1
        {200, 0, 99, 50, 50, 33},
        {20, 10, 109, 50, 40, 20}, // the range does not start at 0
        {20, 0, 99, 0, 60, 20},    // without a page: over the free track
        {33, 0, 99, 0, 99, 33},
        {50, 0, 99, 0, 99, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.t << " " << c.nMin << ".." << c.nMax << " page " << c.nPage);
        const TDragResult r = DragPosition(c.t, m, c.nMin, c.nMax, c.nPage);
        EXPECT_EQ(r.Position, c.position);
        EXPECT_EQ(r.ThumbPos, c.thumb);
    }
}

TEST(ScrollBarGeometry, PartsOfABarInItsWorkBitmap) {
    // A vertical bar of 100 with the thumb 8 long at 29.
    TBarParts p = BarParts(100, true, 17, TBarMetrics{17, 66, 8, 29});
    const RECT expected[] = {{0, 0, 16, 100}, {0, 0, 16, 17}, {0, 83, 16, 100}, {0, 17, 16, 83}, {0, 46, 16, 54}};
    const RECT* got[] = {&p.Work, &p.FirstArrow, &p.SecondArrow, &p.Track, &p.Thumb};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(EqualRect(got[i], &expected[i])) << i;

    // Horizontal: the same along x.
    p = BarParts(100, false, 17, TBarMetrics{17, 66, 8, 29});
    const RECT thumb{46, 0, 54, 16};
    EXPECT_TRUE(EqualRect(&p.Thumb, &thumb));

    // Shorter than two arrows: half each, an inverted track, no thumb.
    p = BarParts(30, true, 17, TBarMetrics{17, -4, -4, 0});
    const RECT first{0, 0, 16, 15}, second{0, 15, 16, 30};
    EXPECT_TRUE(EqualRect(&p.FirstArrow, &first));
    EXPECT_TRUE(EqualRect(&p.SecondArrow, &second));
    EXPECT_LT(p.Track.bottom, p.Track.top);
    EXPECT_TRUE(IsRectEmpty(&p.Thumb));

    // A thumb longer than its track, or of no size, is not drawn.
    auto thumbOf = [](int size) { return BarParts(100, true, 17, TBarMetrics{17, 66, size, 0}).Thumb; };
    for (int size : {67, 0, -3}) {
        const RECT r = thumbOf(size);
        EXPECT_TRUE(IsRectEmpty(&r)) << size;
    }
    const RECT whole = thumbOf(66), wholeExpected{0, 17, 16, 83};
    EXPECT_TRUE(EqualRect(&whole, &wholeExpected));
}

TEST(ScrollBarGeometry, ScrollCodesPressTheirPart) {
    EXPECT_EQ(PressedPartOf(SB_LINELEFT, false), ppLeftArrow);
    EXPECT_EQ(PressedPartOf(SB_LINERIGHT, false), ppRightArrow);
    EXPECT_EQ(PressedPartOf(SB_THUMBTRACK, false), ppHorzThumb);
    EXPECT_EQ(PressedPartOf(SB_LINEUP, true), ppUpArrow);
    EXPECT_EQ(PressedPartOf(SB_LINEDOWN, true), ppDownArrow);
    EXPECT_EQ(PressedPartOf(SB_THUMBTRACK, true), ppVertThumb);
    for (int code : {SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_TOP, SB_BOTTOM, SB_ENDSCROLL})
        EXPECT_EQ(PressedPartOf(code, true), ppNone) << code;
}

TEST(ScrollBarPainting, ThinBarIsScaledWithoutLeavingItsStretchModeOnTheTarget) {
    // Wine shrinks without mixing pixels in any mode (docs/wine.md), so only
    // the caller's mode can be seen here: set back after the scaled copy.
    TSkinData skin(nullptr);
    test::LoadTestSkin(skin);
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf32bit);
    target.SetSize(10, 120);
    HDC dc = target.Canvas()->BareHandle();
    SetStretchBltMode(dc, BLACKONWHITE);
    const int s = GetSystemMetrics(SM_CXHSCROLL);
    DrawSkinBar(dc, RECT{0, 0, 10, 120}, true, TBarMetrics{s, 120 - 2 * s, 20, 30}, TBarPress::None, skin);
    GdiFlush();
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    EXPECT_EQ(static_cast<uint32_t>(target.Canvas()->Pixel(0, 2)) & 0xFFFFFFu,
              test::Piece(TElement::Scrollbar, 9, TPiece::Centre).Value)
        << "the up arrow, scaled to 10 pixels across";
}

// ======================================================== window bars

int ArrowSize() { return GetSystemMetrics(SM_CXHSCROLL); }

SCROLLINFO AllInfo() {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    return info;
}

// One bar of a window, as the skin should draw it: where it is and the
// scroll state its thumb comes from.
struct TExpectedBar {
    RECT Rect;  // window coordinates
    bool Vertical;
    SCROLLINFO Info;

    int Length() const { return Vertical ? Rect.bottom - Rect.top : Rect.right - Rect.left; }
    int Track() const { return Length() - 2 * ArrowSize(); }
    // The skin's thumb: size and offset past the first arrow; size 0 when
    // none is drawn.
    std::pair<int, int> Thumb() const {
        const int s = ArrowSize(), track = Track(), range = Info.nMax - Info.nMin, page = static_cast<int>(Info.nPage);
        int size = page == 0 ? GetSystemMetrics(SM_CXHTHUMB) : std::max(MulDiv(page, track, range), 8);
        if (track <= size) size = track;
        int pos = 0;
        if (page == range)
            size -= 1;
        else
            pos = std::min(MulDiv(Info.nPos - Info.nMin, track - size, range - page), track - size);
        (void)s;
        if (size <= 0 || size > track) return {0, 0};
        return {size, pos};
    }
};

// The expected colour c pixels along a bar, on its middle line across.
TColour ExpectedAlong(const TExpectedBar& bar, int c, TElement track, TElement thumb, int firstArrow,
                      int secondArrow, int thumbFrame = 1) {
    const int s = ArrowSize(), length = bar.Length();
    const int a = length < 2 * s ? length / 2 : s;
    if (c < a) return test::Piece(TElement::Scrollbar, firstArrow, TPiece::Centre);
    if (c >= length - a) return test::Piece(TElement::Scrollbar, secondArrow, TPiece::Centre);
    const auto [size, pos] = bar.Thumb();
    const auto margins = [](TElement e) { return testskin::Layout(e).Margins; };
    // Thumb and track are laid out along the bar at full length; across,
    // the middle line is their centre column.
    auto piece = [&](TElement e, int along, int extent) {
        const testskin::TMargins m = margins(e);
        return bar.Vertical ? testskin::PieceAt(m, 16, extent, 8, along) : testskin::PieceAt(m, extent, 16, along, 8);
    };
    if (size > 0 && c >= a + pos && c < a + pos + size) return test::Piece(thumb, thumbFrame, piece(thumb, c - a - pos, size));
    return test::Piece(track, 1, piece(track, c - s, length - 2 * s));
}

// Compares every pixel along the middle line of a bar with the skin; the
// first difference is reported.
testing::AssertionResult BarShowsSkin(const TWindowPixels& pixels, const TExpectedBar& bar, int thumbFrame = 1,
                                      int firstArrow = 0, int secondArrow = 0) {
    const TElement track = bar.Vertical ? TElement::VertScroll : TElement::HorzScroll;
    const TElement thumb = bar.Vertical ? TElement::VertScrollThumb : TElement::HorzScrollThumb;
    if (firstArrow == 0) firstArrow = bar.Vertical ? 9 : 1;
    if (secondArrow == 0) secondArrow = bar.Vertical ? 13 : 5;
    const int across = bar.Vertical ? (bar.Rect.left + bar.Rect.right) / 2 : (bar.Rect.top + bar.Rect.bottom) / 2;
    for (int c = 0; c < bar.Length(); ++c) {
        const int x = bar.Vertical ? across : bar.Rect.left + c, y = bar.Vertical ? bar.Rect.top + c : across;
        const TColour want = ExpectedAlong(bar, c, track, thumb, firstArrow, secondArrow, thumbFrame);
        if (!(pixels.At(x, y) == want))
            return testing::AssertionFailure() << "at " << c << " along the bar (" << x << "," << y << "): "
                                               << pixels.At(x, y) << ", the skin has " << want;
    }
    return testing::AssertionSuccess();
}

class ScrollBarSkinTest : public testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetBounds(40, 40, 460, 360);
        form->Show();
        test::LoadTestSkin(*skinData);
        host = std::make_unique<test::TSkinTestHost>();
    }
    void TearDown() override {
        if (GetCapture() != nullptr) ReleaseCapture();
        host.reset();
        form.reset();
        test::PumpMessages();
    }

    TListBox* MakeListBox(int items, int width = 200, int height = 200) {
        auto* list = new TListBox(form.get());
        list->SetParent(form.get());
        list->SetBounds(20, 20, width, height);
        for (int i = 0; i < items; ++i) list->Items().Add("Item " + std::to_string(i));
        list->HandleNeeded();
        return list;
    }

    // A memo with both bars: more lines and longer lines than it shows.
    TMemo* MakeMemo(int width = 220, int height = 180) {
        auto* memo = new TMemo(form.get());
        memo->WordWrap = false;  // styles of the window made with the parent
        memo->ScrollBars = TScrollStyle::ssBoth;
        memo->SetBounds(20, 20, width, height);
        memo->SetParent(form.get());
        std::string text;
        for (int i = 0; i < 60; ++i) text += "Line " + std::to_string(i) + " of a memo much wider than its window\r\n";
        memo->SetTextValue(text);
        memo->HandleNeeded();
        return memo;
    }

    TSkinScrollBar* Skin(TWinControl* control, bool trackThumb = true) {
        auto* skin = new TSkinScrollBar(host.get());
        skin->AttachScrollControl(control, skinData.get(), trackThumb, &host->ControlCanvas);
        test::PumpMessages();
        return skin;
    }

    // The bars the window has now, where the skin is to draw them (a 2-pixel
    // client edge on every side).
    std::vector<TExpectedBar> Bars(HWND h) const {
        RECT w;
        GetWindowRect(h, &w);
        const int width = w.right - w.left, height = w.bottom - w.top, s = ArrowSize();
        const LONG style = GetWindowLongA(h, GWL_STYLE);
        const bool both = (style & WS_HSCROLL) && (style & WS_VSCROLL);
        std::vector<TExpectedBar> bars;
        if (style & WS_VSCROLL) {
            TExpectedBar bar{{width - 2 - s, 2, width - 2, height - 2 - (both ? s : 0)}, true, AllInfo()};
            GetScrollInfo(h, SB_VERT, &bar.Info);
            bars.push_back(bar);
        }
        if (style & WS_HSCROLL) {
            TExpectedBar bar{{2, height - 2 - s, width - 2 - (both ? s : 0), height - 2}, false, AllInfo()};
            GetScrollInfo(h, SB_HORZ, &bar.Info);
            bars.push_back(bar);
        }
        return bars;
    }

    // The window's vertical bar; a window without one fails the test.
    TExpectedBar VerticalBar(HWND h) const {
        for (const TExpectedBar& bar : Bars(h))
            if (bar.Vertical) return bar;
        throw std::runtime_error("the window shows no vertical bar");
    }

    TColour Face() const { return {testskin::Colours().ButtonFace}; }

    std::unique_ptr<TForm, ComponentFree> form;
    std::unique_ptr<TSkinData, ComponentFree> skinData{new TSkinData(nullptr)};
    std::unique_ptr<test::TSkinTestHost> host;
};

enum class Scrollable { ListBox, Memo };

class ScrollableSkinTest : public ScrollBarSkinTest, public testing::WithParamInterface<Scrollable> {
protected:
    TWinControl* MakeWithBothBars() {
        if (GetParam() == Scrollable::Memo) return MakeMemo();
        TListBox* list = MakeListBox(100);
        SendMessageA(list->Handle(), LB_SETHORIZONTALEXTENT, 600, 0);
        return list;
    }
};

TEST_P(ScrollableSkinTest, BothBarsAndTheCornerShowTheSkin) {
    TWinControl* control = MakeWithBothBars();
    HWND h = control->Handle();
    SendMessageA(h, WM_VSCROLL, SB_PAGEDOWN, 0);  // the thumb away from the start
    test::PumpMessages();
    Skin(control);

    // Drawn at attach, and again by every frame paint.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "after attach" : "after a frame paint");
        const TWindowPixels pixels(h);
        const auto bars = Bars(h);
        ASSERT_EQ(bars.size(), 2u);
        for (const TExpectedBar& bar : bars) {
            SCOPED_TRACE(bar.Vertical ? "vertical" : "horizontal");
            EXPECT_GT(bar.Thumb().first, 0);
            EXPECT_TRUE(BarShowsSkin(pixels, bar));
            // The 16 pixels of the skin's picture fill the whole thickness.
            const RECT& r = bar.Rect;
            const TColour arrow = test::Piece(TElement::Scrollbar, bar.Vertical ? 9 : 1, TPiece::Centre);
            EXPECT_EQ(pixels.At(r.left, r.top), arrow);
            EXPECT_EQ(pixels.At(bar.Vertical ? r.right - 1 : r.left, bar.Vertical ? r.top : r.bottom - 1), arrow);
        }
        const int s = ArrowSize();
        const RECT corner{bars[0].Rect.left, bars[1].Rect.top, bars[0].Rect.right, bars[1].Rect.bottom};
        EXPECT_EQ(pixels.Count(Face(), corner), s * s) << "the corner between the bars";
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
}

TEST_P(ScrollableSkinTest, PageSizedBarHasAThumbOnePixelShortOfItsTrack) {
    TWinControl* control = MakeWithBothBars();
    HWND h = control->Handle();
    TSkinScrollBar* skin = Skin(control);
    SCROLLINFO info = AllInfo();
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 40;
    info.nPage = 40;
    SetScrollInfo(h, SB_VERT, &info, FALSE);
    skin->PaintControl(nullptr);

    const TWindowPixels pixels(h);
    const TExpectedBar bar = VerticalBar(h);
    EXPECT_EQ(bar.Thumb(), std::make_pair(bar.Track() - 1, 0));
    EXPECT_TRUE(BarShowsSkin(pixels, bar));
    // The last pixel of the track is the track's own.
    const int x = (bar.Rect.left + bar.Rect.right) / 2, y = bar.Rect.bottom - ArrowSize() - 1;
    EXPECT_EQ(pixels.At(x, y), test::Piece(TElement::VertScroll, 1, TPiece::Bottom));
}

INSTANTIATE_TEST_SUITE_P(Controls, ScrollableSkinTest, testing::Values(Scrollable::ListBox, Scrollable::Memo),
                         [](const auto& info) { return info.param == Scrollable::Memo ? "Memo" : "ListBox"; });

TEST_F(ScrollBarSkinTest, BarShorterThanTwoArrowsShowsHalfArrowsAndNoThumb) {
    TListBox* list = MakeListBox(30, 120, 30);
    HWND h = list->Handle();
    TSkinScrollBar* skin = Skin(list);
    const TWindowPixels pixels(h);
    const TExpectedBar bar = VerticalBar(h);
    ASSERT_LT(bar.Length(), 2 * ArrowSize());
    EXPECT_TRUE(BarShowsSkin(pixels, bar));
    const int x = (bar.Rect.left + bar.Rect.right) / 2, half = bar.Length() / 2;
    EXPECT_EQ(pixels.At(x, bar.Rect.top + half - 1), test::Piece(TElement::Scrollbar, 9, TPiece::Centre));
    EXPECT_EQ(pixels.At(x, bar.Rect.bottom - half), test::Piece(TElement::Scrollbar, 13, TPiece::Centre));
    EXPECT_LE(skin->VertMetrics.ThumbSize, 0);
}

TEST_F(ScrollBarSkinTest, ItemsAddedWithTheBarShownLeaveItSkinned) {
    // The system redraws a shown bar itself when the range grows, without a
    // frame paint: after every addition the skin's bar must be back.
    TListBox* list = MakeListBox(20);
    HWND h = list->Handle();
    Skin(list);
    ASSERT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL);
    for (int i = 0; i < 50; ++i) {
        SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Added"));
        const TWindowPixels pixels(h);
        const TExpectedBar bar = VerticalBar(h);
        ASSERT_TRUE(BarShowsSkin(pixels, bar)) << "after adding item " << i;
    }
}

TEST_F(ScrollBarSkinTest, BarsComeBackAfterRedrawIsSwitchedOnAgainAndAfterTheMouseLeaves) {
    TListBox* list = MakeListBox(60);
    HWND h = list->Handle();
    Skin(list);
    // Redraw on again makes the system draw the bar, changed or not.
    for (int added : {0, 5}) {
        SendMessageA(h, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < added; ++i) SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Added"));
        SendMessageA(h, WM_SETREDRAW, TRUE, 0);
        EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), VerticalBar(h))) << "after redraw is on again, " << added << " added";
    }

    // Over the bar and away again: the system would draw it hot, then normal.
    const TExpectedBar bar = VerticalBar(h);
    RECT w;
    GetWindowRect(h, &w);
    const POINT over{w.left + (bar.Rect.left + bar.Rect.right) / 2, w.top + bar.Rect.top + ArrowSize() + 20};
    std::atomic<bool> done{false};
    std::optional<TWindowPixels> hovering;
    std::thread helper([&] {
        test::MoveMouse(over);
        Sleep(200);
        hovering.emplace(h);
        test::MoveMouse({w.right + 150, w.bottom + 100});
        Sleep(900);  // the leave comes within 700 ms
        done = true;
    });
    test::PumpUntil([&] { return done.load(); });
    helper.join();
    test::PumpMessages();
    ASSERT_TRUE(hovering.has_value());
    EXPECT_TRUE(BarShowsSkin(*hovering, bar)) << "with the mouse over the bar";
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), VerticalBar(h))) << "after the mouse went over the bar and away";
}

TEST_F(ScrollBarSkinTest, ScrollMessageOfAChildScrollBarDrawsNoBar) {
    // A memo without bars of its own.
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(20, 20, 200, 120);
    memo->HandleNeeded();
    HWND h = memo->Handle();
    std::vector<std::pair<UINT, LPARAM>> reached;
    TWndMethod own = memo->WindowProc;
    memo->WindowProc = [own, &reached](TMessage& m) {
        if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) reached.push_back({m.Msg, m.LParam});
        own(m);
    };
    Skin(memo);
    const TWindowPixels before(h);

    auto child = reinterpret_cast<LPARAM>(form->Handle());
    SendMessageA(h, WM_VSCROLL, SB_LINEDOWN, child);
    SendMessageA(h, WM_HSCROLL, SB_LINERIGHT, child);
    const TWindowPixels after(h);
    int changed = 0;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x) changed += !(before.At(x, y) == after.At(x, y));
    EXPECT_EQ(changed, 0) << "no bar drawn on a window without bars";
    EXPECT_EQ(reached, (std::vector<std::pair<UINT, LPARAM>>{{WM_VSCROLL, child}, {WM_HSCROLL, child}}))
        << "the messages still reach the control";
}

TEST_F(ScrollBarSkinTest, SkinWithoutTrackOrThumbDrawsTheRestAndASkippedThumbFrameCount) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::VertScroll, TElement::VertScrollThumb};
    test::LoadTestSkin(*skinData, options);
    TListBox* list = MakeListBox(100);
    HWND h = list->Handle();
    Skin(list);
    const TWindowPixels pixels(h);
    const TExpectedBar bar = VerticalBar(h);
    const int x = (bar.Rect.left + bar.Rect.right) / 2, s = ArrowSize();
    const TColour background{testskin::Colours().Scrollbar};
    EXPECT_EQ(pixels.At(x, bar.Rect.top + s / 2), test::Piece(TElement::Scrollbar, 9, TPiece::Centre));
    EXPECT_EQ(pixels.At(x, bar.Rect.bottom - s / 2 - 1), test::Piece(TElement::Scrollbar, 13, TPiece::Centre));
    const RECT track{bar.Rect.left, bar.Rect.top + s, bar.Rect.right, bar.Rect.bottom - s};
    EXPECT_EQ(pixels.Count(background, track), (track.right - track.left) * (track.bottom - track.top))
        << "track and thumb left out: the bar's background shows";

    // A thumb element claiming no frames is left out too.
    test::LoadTestSkin(*skinData);
    skinData->VertScrollThumb->FrameCount = 0;
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const TWindowPixels again(h);
    const auto [size, pos] = bar.Thumb();
    const int middle = bar.Rect.top + s + pos + size / 2;
    EXPECT_EQ(again.At(x, middle), test::Piece(TElement::VertScroll, 1, TPiece::Centre));
}

TEST_F(ScrollBarSkinTest, ListViewGetsItsBarsSkinnedAndAHeaderSkinOfTheSameHost) {
    auto* view = new TListView(form.get());
    view->SetBounds(20, 20, 320, 220);
    view->SetParent(form.get());
    view->AddColumn("Name", 120);
    view->AddColumn("Size", 80, TAlignment::taRightJustify);
    for (int i = 0; i < 60; ++i) view->AddItem("Picture " + std::to_string(i));
    HWND h = view->Handle(), header = view->Header();
    ASSERT_NE(header, nullptr);
    auto* skin = new TSkinListView(host.get());
    skin->AttachControl(view, skinData.get(), true, &host->ControlCanvas);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpMessages();

    EXPECT_TRUE(skin->TrackThumb) << "the third argument is the track-thumb flag";
    TSkinHeader* headerSkin = skin->HeaderSkin;
    ASSERT_NE(headerSkin, nullptr);
    EXPECT_EQ(headerSkin->Owner(), host.get());
    EXPECT_EQ(headerSkin->Handle, header);
    EXPECT_EQ(host->ControlSkins, (std::vector<TSkinControl*>{skin, headerSkin}));

    EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), VerticalBar(h)));
    // The header's filler right of the second column.
    const TWindowPixels top(header);
    const int fillerLeft = 200, fillerWidth = top.Width() - fillerLeft, height = top.Height();
    ASSERT_GT(fillerWidth, 0);
    const testskin::TMargins margins = testskin::Layout(TElement::Headerbar).Margins;
    for (int x : {0, fillerWidth / 2, fillerWidth - 1})
        for (int y : {0, height / 2, height - 1})
            EXPECT_EQ(top.At(fillerLeft + x, y),
                      test::Piece(TElement::Headerbar, 1, testskin::PieceAt(margins, fillerWidth, height, x, y)));

    // The host may free the header's skin first.
    TComponent::Free(headerSkin);
    EXPECT_EQ(skin->HeaderSkin, nullptr);
}

// ================================================= real mouse input

// Runs input on a helper thread while this thread handles its messages (the
// skin's drag loop runs inside one of them). WM_QUIT that reaches this
// thread's queue is noted, not lost.
class InputRun {
public:
    bool Run(const std::function<void()>& input) {
        std::atomic<bool> done{false};
        std::thread helper([&] {
            input();
            done = true;
        });
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done && std::chrono::steady_clock::now() < end) Pump();
        helper.join();
        Pump();
        return done;
    }
    std::vector<WPARAM> Quits;

private:
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Quits.push_back(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
};

struct ScrollEntry {
    int code, position;
    bool operator==(const ScrollEntry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ScrollEntry& e) { return os << "(" << e.code << "," << e.position << ")"; }

// The skin's drag of a bar with a page: t pixels past the first arrow.
int DraggedPosition(const SCROLLINFO& info, int track, int t) {
    const int page = static_cast<int>(info.nPage);
    int position = MulDiv(std::clamp(t, 0, track), info.nMax - info.nMin, track) + info.nMin;
    if (position >= info.nMax - page) position = info.nMax - page + 1;
    return std::max(position, info.nMin);
}

class ThumbDragTest : public ScrollBarSkinTest {
protected:
    static constexpr UINT kAction = WM_APP + 40;  // posted to the form: runs `action` there

    void SetUp() override {
        ScrollBarSkinTest::SetUp();
        list = MakeListBox(200);
        h = list->Handle();
        TWndMethod own = list->WindowProc;
        list->WindowProc = [own, this](TMessage& m) {
            if (m.Msg == WM_VSCROLL) scrolls.push_back({LOWORD(m.WParam), HIWORD(m.WParam)});
            if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBPOSITION) positionSent = true;
            own(m);
        };
        skin = Skin(list);
        TWndMethod formOwn = form->WindowProc;
        form->WindowProc = [formOwn, this](TMessage& m) {
            if (m.Msg == kAction) {
                if (action) action();
                return;
            }
            formOwn(m);
        };
        uiThread = GetCurrentThreadId();
        LocateThumb();
    }

    // Where the thumb is now, on the screen.
    void LocateThumb() {
        bar = VerticalBar(h);
        GetWindowRect(h, &window);
        const auto [size, pos] = bar.Thumb();
        trackTop = window.top + bar.Rect.top + ArrowSize();
        thumbTop = trackTop + pos;
        thumbSize = size;
        thumbX = window.left + (bar.Rect.left + bar.Rect.right) / 2;
    }

    // Presses the middle of the thumb and waits for the skin's drag to take
    // the mouse.
    bool PressThumb() {
        test::MoveMouse({thumbX, thumbTop + thumbSize / 2});
        Sleep(50);
        start = test::CursorNow();
        test::MouseButton(true);
        return test::WaitFor([&] { return test::CaptureOf(uiThread) == h; });
    }

    // Ends a drag the test's action did not end, so a failure cannot hang.
    void Release() {
        test::MouseButton(false);
        if (!test::WaitFor([&] { return test::CaptureOf(uiThread) != h; }, std::chrono::seconds(2))) {
            stuck = true;
            PostMessageA(h, WM_CANCELMODE, 0, 0);
        }
    }

    TListBox* list = nullptr;
    HWND h = nullptr;
    TSkinScrollBar* skin = nullptr;
    std::vector<ScrollEntry> scrolls;
    std::atomic<bool> positionSent{false};  // the drag has ended
    std::function<void()> action;
    DWORD uiThread = 0;
    TExpectedBar bar{};
    RECT window{};
    int trackTop = 0, thumbTop = 0, thumbSize = 0, thumbX = 0;
    POINT start{};
    bool stuck = false;
};

TEST_F(ThumbDragTest, DragScrollsStepByStepWithTheThumbPressedAndEndsOnRelease) {
    const SCROLLINFO info = bar.Info;
    const int track = bar.Track(), startOffset = thumbTop - trackTop;
    ASSERT_GT(info.nPage, 0u);
    std::vector<int> cursorYs, topIndexes;
    std::optional<TColour> pressedThumb, pressedElsewhere;
    int pressedRow = 0;
    bool pressed = false;
    InputRun run;
    ASSERT_TRUE(run.Run([&] {
        pressed = PressThumb();
        if (!pressed) return;
        for (int step : {15, 40, 70}) {
            test::MoveMouse({thumbX, start.y + step});
            const POINT now = test::CursorNow();
            cursorYs.push_back(now.y);
            const int want = DraggedPosition(info, track, startOffset + now.y - start.y);
            test::WaitFor([&] { return SendMessageA(h, LB_GETTOPINDEX, 0, 0) == want; });
            topIndexes.push_back(static_cast<int>(SendMessageA(h, LB_GETTOPINDEX, 0, 0)));
        }
        // Read while the button is still held: the thumb drawn pressed
        // where the drag put it.
        const TWindowPixels held(h);
        pressedRow = cursorYs.back() - window.top;
        pressedThumb = held.At(thumbX - window.left, pressedRow);
        pressedElsewhere = held.At(thumbX - window.left, bar.Rect.top + ArrowSize() / 2);
        Release();
    }));
    ASSERT_TRUE(pressed) << "the skin's drag took the mouse";
    EXPECT_FALSE(stuck) << "the release ended the drag";

    std::vector<ScrollEntry> expected;
    int last = info.nPos;
    for (size_t i = 0; i < cursorYs.size(); ++i) {
        const int want = DraggedPosition(info, track, startOffset + cursorYs[i] - start.y);
        EXPECT_EQ(topIndexes[i], want) << "the list follows the thumb, step " << i;
        if (want != last) expected.push_back({SB_THUMBTRACK, want});
        last = want;
    }
    expected.push_back({SB_THUMBPOSITION, last});
    expected.push_back({SB_ENDSCROLL, 0});
    EXPECT_EQ(scrolls, expected);
    EXPECT_GT(last, info.nPos);
    EXPECT_EQ(SendMessageA(h, LB_GETTOPINDEX, 0, 0), last);

    ASSERT_TRUE(pressedThumb.has_value());
    // The thumb moved with the cursor, but never past the end of the track.
    const int drawnAt = std::clamp(startOffset + cursorYs.back() - static_cast<int>(start.y), 0, track - thumbSize);
    const int row = pressedRow - (trackTop - window.top) - drawnAt;
    ASSERT_GE(row, 0);
    ASSERT_LT(row, thumbSize);
    const TPiece piece = testskin::PieceAt(testskin::Layout(TElement::VertScrollThumb).Margins, 16, thumbSize, 8, row);
    EXPECT_EQ(*pressedThumb, test::Piece(TElement::VertScrollThumb, 2, piece)) << "frame 2 while held";
    EXPECT_EQ(*pressedElsewhere, test::Piece(TElement::Scrollbar, 9, TPiece::Centre));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(skin->Dragging);
    EXPECT_EQ(skin->PressedPart, ppNone);
    // After the drag the thumb is where the formula puts the new position.
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), VerticalBar(h)));
}

TEST_F(ThumbDragTest, ReleaseOffEveryWindowEndsTheDrag) {
    bool pressed = false;
    std::optional<TWindowPixels> held;
    const SCROLLINFO& info = bar.Info;
    const int last = info.nMax - static_cast<int>(info.nPage) + 1;
    InputRun run;
    ASSERT_TRUE(run.Run([&] {
        pressed = PressThumb();
        if (!pressed) return;
        test::MoveMouse({thumbX, thumbTop + 30});
        Sleep(100);
        // Below and beside the form: no window of the program there.
        test::MoveMouse({window.right + 300, window.bottom + 250});
        test::WaitFor([&] { return SendMessageA(h, LB_GETTOPINDEX, 0, 0) == last; });
        held.emplace(h);
        Release();
    }));
    ASSERT_TRUE(pressed);
    EXPECT_FALSE(stuck);

    // Dragged past the end, the thumb stops at the end of the track: the
    // down arrow stays in view.
    ASSERT_TRUE(held.has_value());
    const int x = thumbX - window.left, trackEnd = bar.Rect.bottom - ArrowSize();
    const testskin::TMargins margins = testskin::Layout(TElement::VertScrollThumb).Margins;
    EXPECT_EQ(held->At(x, trackEnd - 1),
              test::Piece(TElement::VertScrollThumb, 2, testskin::PieceAt(margins, 16, thumbSize, 8, thumbSize - 1)));
    EXPECT_EQ(held->At(x, trackEnd - thumbSize),
              test::Piece(TElement::VertScrollThumb, 2, testskin::PieceAt(margins, 16, thumbSize, 8, 0)));
    EXPECT_EQ(held->At(x, trackEnd), test::Piece(TElement::Scrollbar, 13, TPiece::Centre));
    EXPECT_EQ(held->At(x, bar.Rect.bottom - 1), test::Piece(TElement::Scrollbar, 13, TPiece::Centre));
    ASSERT_GE(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[scrolls.size() - 2].code, SB_THUMBPOSITION);
    EXPECT_EQ(scrolls.back(), (ScrollEntry{SB_ENDSCROLL, 0}));
    // Moved past the end: the last position a page leaves.
    EXPECT_EQ(scrolls[scrolls.size() - 2].position, last);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(skin->Dragging);
}

TEST_F(ThumbDragTest, LostCaptureOrCancelModeEndsTheDragAsARelease) {
    for (bool cancelMode : {false, true}) {
        SCOPED_TRACE(cancelMode ? "WM_CANCELMODE" : "another window takes the mouse");
        scrolls.clear();
        positionSent = false;
        LocateThumb();
        action = [&] {
            if (cancelMode)
                SendMessageA(h, WM_CANCELMODE, 0, 0);
            else
                SetCapture(form->Handle());
        };
        bool pressed = false, endedHeld = false;
        InputRun run;
        ASSERT_TRUE(run.Run([&] {
            pressed = PressThumb();
            if (!pressed) return;
            test::MoveMouse({thumbX, thumbTop + 25});
            Sleep(100);
            PostMessageA(form->Handle(), kAction, 0, 0);
            // Ended while the button is still down.
            endedHeld = test::WaitFor([&] { return positionSent.load(); }, std::chrono::seconds(3));
            test::MouseButton(false);
        }));
        ASSERT_TRUE(pressed);
        EXPECT_TRUE(endedHeld);
        ASSERT_GE(scrolls.size(), 2u);
        EXPECT_EQ(scrolls[scrolls.size() - 2].code, SB_THUMBPOSITION);
        EXPECT_EQ(scrolls.back().code, SB_ENDSCROLL);
        EXPECT_FALSE(skin->Dragging);
        if (GetCapture() != nullptr) ReleaseCapture();
        test::PumpMessages();
    }
}

TEST_F(ThumbDragTest, QuitDuringTheDragEndsItAndReachesTheMessageLoop) {
    bool pressed = false;
    InputRun run;
    ASSERT_TRUE(run.Run([&] {
        pressed = PressThumb();
        if (!pressed) return;
        PostThreadMessageA(uiThread, WM_QUIT, 7, 0);
        test::WaitFor([&] { return test::CaptureOf(uiThread) != h; }, std::chrono::seconds(3));
        test::MouseButton(false);
    }));
    ASSERT_TRUE(pressed);
    EXPECT_EQ(run.Quits, std::vector<WPARAM>{7});
    EXPECT_FALSE(skin->Dragging);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ThumbDragTest, WindowOrSkinGoneDuringTheDragEndsItQuietly) {
    for (bool freeSkin : {true, false}) {
        SCOPED_TRACE(freeSkin ? "the skin is freed" : "the list box is destroyed");
        if (!freeSkin) {
            // The list box with a new skin.
            skin = Skin(list);
            scrolls.clear();
        }
        LocateThumb();
        action = [&] {
            if (freeSkin) {
                host->DropControlSkins();
            } else {
                TComponent::Free(list);
                list = nullptr;
            }
        };
        bool pressed = false, endedHeld = false;
        InputRun run;
        ASSERT_TRUE(run.Run([&] {
            pressed = PressThumb();
            if (!pressed) return;
            test::MoveMouse({thumbX, thumbTop + 20});
            Sleep(100);
            PostMessageA(form->Handle(), kAction, 0, 0);
            endedHeld = test::WaitFor([&] { return test::CaptureOf(uiThread) != h; }, std::chrono::seconds(3));
            Sleep(50);
            test::MouseButton(false);
        }));
        ASSERT_TRUE(pressed);
        EXPECT_TRUE(endedHeld) << "the drag let go of the mouse at once";
        EXPECT_EQ(GetCapture(), nullptr);
        if (freeSkin) {
            EXPECT_TRUE(host->ControlSkins.empty());
            ASSERT_TRUE(IsWindow(h));
            // The list box goes on without the skin.
            EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 200);
        } else {
            EXPECT_FALSE(IsWindow(h));
            EXPECT_EQ(skin->Handle, nullptr);
            EXPECT_FALSE(skin->Dragging);
        }
    }
}

TEST_F(ScrollBarSkinTest, ArrowHeldShowsPressedAndIsNormalAgainAfterRelease) {
    TListBox* list = MakeListBox(100);
    HWND h = list->Handle();
    Skin(list);
    const TExpectedBar bar = VerticalBar(h);
    RECT w;
    GetWindowRect(h, &w);
    const int x = (bar.Rect.left + bar.Rect.right) / 2, y = bar.Rect.bottom - ArrowSize() / 2;
    // Read as each line-down scroll has been handled, skin included.
    std::vector<TColour> held;
    TWndMethod skinned = list->WindowProc;
    list->WindowProc = [&, skinned](TMessage& m) {
        skinned(m);
        if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_LINEDOWN) held.push_back(TWindowPixels(h).At(x, y));
    };
    bool scrolled = false;
    InputRun run;
    ASSERT_TRUE(run.Run([&] {
        test::MoveMouse({w.left + x, w.top + y});
        Sleep(50);
        test::MouseButton(true);
        scrolled = test::WaitFor([&] { return SendMessageA(h, LB_GETTOPINDEX, 0, 0) > 2; });
        test::MouseButton(false);
        Sleep(200);
        test::MoveMouse({w.right + 200, w.bottom + 200});
        Sleep(100);
    }));
    ASSERT_TRUE(scrolled);
    ASSERT_FALSE(held.empty());
    for (TColour c : held) EXPECT_EQ(c, test::Piece(TElement::Scrollbar, 14, TPiece::Centre)) << "the down arrow pressed";
    list->WindowProc = skinned;
    // The system redraws the bar when its tracking ends: the skin's normal
    // arrow must be back.
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), VerticalBar(h)));
}

// =================================================== scroll-bar control

class ScrollControlSkinTest : public ScrollBarSkinTest {
protected:
    void SetUp() override {
        ScrollBarSkinTest::SetUp();
        bar = new TScrollBar(form.get());
        bar->SetParent(form.get());
        bar->SetKind(TScrollBarKind::sbVertical);
        bar->SetBounds(30, 20, ArrowSize(), 200);
        bar->SetParams(30, 10, 109);
        bar->SetPageSize(20);
        bar->LargeChange = 20;
        bar->HandleNeeded();
        skin = new TSkinScControl(host.get());
        skin->AttachControl(bar, skinData.get(), false, &host->ControlCanvas);
        test::PumpMessages();
    }

    // The whole window is the bar; its range counts one more than Max - Min.
    TExpectedBar Expected() const {
        TExpectedBar e{{0, 0, bar->Width(), bar->Height()}, true, AllInfo()};
        e.Info.nMin = bar->Min();
        e.Info.nMax = bar->Max() + 1;
        e.Info.nPage = static_cast<UINT>(bar->PageSize());
        e.Info.nPos = bar->Position();
        return e;
    }

    TScrollBar* bar = nullptr;
    TSkinScControl* skin = nullptr;
};

TEST_F(ScrollControlSkinTest, BarIsDrawnFromItsPropertiesAndStaysSkinnedWhenTheyChange) {
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(bar->Handle()), Expected()));
    // The system control draws itself at once on a new position.
    bar->SetPosition(80);
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(bar->Handle()), Expected())) << "after a new position";
    bar->SetPosition(200);  // past the last a page allows
    EXPECT_EQ(bar->Position(), 90);
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(bar->Handle()), Expected()));
}

TEST_F(ScrollControlSkinTest, ClickOnTheTrackPagesAndTheBarKeepsTheSkin) {
    HWND h = bar->Handle();
    RECT w;
    GetWindowRect(h, &w);
    const int before = bar->Position();
    InputRun run;
    ASSERT_TRUE(run.Run([&] {
        test::MoveMouse({w.left + 8, w.bottom - ArrowSize() - 5});  // below the thumb
        Sleep(150);  // hovering draws the system's hot look
        test::MouseButton(true);
        Sleep(50);
        test::MouseButton(false);
        Sleep(150);
    }));
    EXPECT_EQ(bar->Position(), before + 20);
    EXPECT_TRUE(BarShowsSkin(TWindowPixels(h), Expected()));
    EXPECT_EQ(skin->PressedPart, ppNone);
}

// ============================================================ sizer

TEST(SkinSizer, RawScrollBarWindowIsLeftUnpaintedAndItsEraseReportedDone) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 200, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND raw = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 17, 150, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    test::TSkinTestHost host;
    TSkinData data(nullptr);
    auto* sizer = new TSkinSizer(&host);
    sizer->AttachHandle(raw, &data, &host.ControlCanvas);
    test::PumpMessages();

    // Painted magenta from outside; a full repaint leaves it so.
    HDC dc = GetWindowDC(raw);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, 17, 150};
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    ReleaseDC(raw, dc);
    RedrawWindow(raw, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(TWindowPixels(raw).Count({0xFF00FF}, all), 17 * 150);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(raw, &update, FALSE)) << "the paint was taken as done";
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SendMessageA(raw, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
    DeleteDC(memory);

    host.DropControlSkins();
    DestroyWindow(parent);
}

}  // namespace
}  // namespace pellix
