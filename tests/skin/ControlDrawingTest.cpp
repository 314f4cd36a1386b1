// The drawing routines control skins share: text placed by extents the test
// measures itself, strip frames, arrows by their line table, and the
// caller's context left as it was.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "skin/WinSubClass.h"
#include "tests/framework/PictureFixtures.h"

namespace pellix {
namespace {

using fixtures::PixelOf;
using fixtures::Rgb;

constexpr Rgb kWhite{255, 255, 255};

Rgb RgbOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// A 24-bit picture of one colour.
std::unique_ptr<TBitmap> Plain(int width, int height, Rgb colour = kWhite) {
    auto bitmap = std::make_unique<TBitmap>();
    fixtures::Paint(*bitmap, width, height, [&](int, int) { return colour; });
    return bitmap;
}

// Every pixel of a equals b's; reports the first one that does not.
::testing::AssertionResult SamePixels(const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(PixelOf(a, x, y) == PixelOf(b, x, y)))
                return ::testing::AssertionFailure()
                       << "at " << x << "," << y << ": " << PixelOf(a, x, y) << " against " << PixelOf(b, x, y);
    return ::testing::AssertionSuccess();
}

int CountOf(const TBitmap& bitmap, Rgb colour) {
    int n = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) n += PixelOf(bitmap, x, y) == colour;
    return n;
}

// ------------------------------------------------------------------ arrows

struct ArrowCase {
    TArrowKind kind;
    // The lines of the arrow, offsets from its point; a polyline when joined.
    std::vector<POINT> points;
    bool joined;
};

TEST(DrawArrow, EveryKindDrawsExactlyItsLines) {
    const std::vector<ArrowCase> cases = {
        {TArrowKind::Up,
         {{0, 0}, {0, -1}, {1, 1}, {4, 4}, {0, 1}, {3, 4}, {0, 2}, {2, 4}, {-1, 1}, {-4, 4}, {0, 2}, {-3, 4}, {0, 1}, {-2, 4}},
         false},
        {TArrowKind::Down,
         {{0, 3}, {0, 4}, {1, 2}, {4, -1}, {0, 2}, {3, -1}, {0, 1}, {2, 0}, {-1, 2}, {-4, -1}, {0, 2}, {-3, -1}, {0, 1}, {-2, 0}},
         false},
        {TArrowKind::Left, {{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}}, true},
        {TArrowKind::Right, {{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}}, true},
    };
    const int x = 10, y = 9;
    for (const ArrowCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        auto drawn = Plain(20, 20);
        drawn->Canvas()->Pen()->SetColor(clRed);
        DrawArrow(*drawn->Canvas(), x, y, c.kind);

        auto expected = Plain(20, 20);
        HDC dc = expected->Canvas()->Handle();
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        std::vector<POINT> moved;
        for (POINT p : c.points) moved.push_back({x + p.x, y + p.y});
        if (c.joined) Polyline(dc, moved.data(), static_cast<int>(moved.size()));
        for (size_t i = 0; !c.joined && i < moved.size(); i += 2) {
            MoveToEx(dc, moved[i].x, moved[i].y, nullptr);
            LineTo(dc, moved[i + 1].x, moved[i + 1].y);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        GdiFlush();

        EXPECT_TRUE(SamePixels(*drawn, *expected));
        EXPECT_GT(CountOf(*drawn, {255, 0, 0}), 4);
    }

    // Points of the table itself: the tip of each vertical arrow and where
    // the first diagonal stops short of its end.
    auto up = Plain(20, 20), down = Plain(20, 20);
    up->Canvas()->Pen()->SetColor(clRed);
    down->Canvas()->Pen()->SetColor(clRed);
    DrawArrow(*up->Canvas(), x, y, TArrowKind::Up);
    DrawArrow(*down->Canvas(), x, y, TArrowKind::Down);
    const Rgb red{255, 0, 0};
    EXPECT_EQ(PixelOf(*up, x, y), red);
    EXPECT_EQ(PixelOf(*up, x, y - 1), kWhite);
    EXPECT_EQ(PixelOf(*up, x + 3, y + 3), red);
    EXPECT_EQ(PixelOf(*up, x + 4, y + 4), kWhite);
    EXPECT_EQ(PixelOf(*down, x, y + 3), red);
    EXPECT_EQ(PixelOf(*down, x, y + 4), kWhite);

    auto none = Plain(20, 20);
    DrawArrow(*none->Canvas(), x, y, static_cast<TArrowKind>(4));
    EXPECT_EQ(CountOf(*none, kWhite), 400) << "an unknown kind draws nothing";
}

// ----------------------------------------------------------- strip frames

// Five frames of 4 x 2 pixels, each with its own left and right colour, and
// two columns past the last frame that no frame reaches. Frame 3's right half
// is magenta.
constexpr Rgb kLeft[] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}, {0, 200, 200}};
constexpr Rgb kRight[] = {{100, 0, 0}, {0, 100, 0}, {255, 0, 255}, {100, 100, 0}, {0, 100, 100}};
constexpr Rgb kBeyond{7, 7, 7};
constexpr Rgb kBackground{240, 240, 240};

std::unique_ptr<TBitmap> Strip() {
    auto strip = std::make_unique<TBitmap>();
    fixtures::Paint(*strip, 22, 2, [](int x, int) {
        if (x >= 20) return kBeyond;
        return x % 4 < 2 ? kLeft[x / 4] : kRight[x / 4];
    });
    return strip;
}

// What frame k of 5 stretched to rect shows at (x, y): its left half over the
// left half of rect, the background where the frame is magenta.
Rgb ExpectedStripPixel(const RECT& rect, int k, int x, int y) {
    if (x < rect.left || x >= rect.right || y < rect.top || y >= rect.bottom) return kBackground;
    const bool left = (x - rect.left) < (rect.right - rect.left) / 2;
    const Rgb c = left ? kLeft[k - 1] : kRight[k - 1];
    return c == Rgb{255, 0, 255} ? kBackground : c;
}

using StripDraw = std::function<void(TBitmap& target, const RECT& rect, int n, int k, TBitmap& strip)>;

std::vector<std::pair<const char*, StripDraw>> StripVariants(TCanvas& scratch) {
    return {
        {"dc", [](TBitmap& t, const RECT& r, int n, int k, TBitmap& s) { DrawStripFrame(t.Canvas()->Handle(), r, n, k, s); }},
        {"canvas", [](TBitmap& t, const RECT& r, int n, int k, TBitmap& s) { DrawStripFrameCanvas(*t.Canvas(), r, n, k, s); }},
        {"scratch",
         [&scratch](TBitmap& t, const RECT& r, int n, int k, TBitmap& s) {
             TSkinControl skin(nullptr);
             skin.Canvas = &scratch;
             DrawStripFrameScratch(skin, t.Canvas()->Handle(), r, n, k, s);
         }},
    };
}

TEST(DrawStripFrame, DrawsFrameKStretchedWithMagentaLeftOut) {
    struct Case {
        int k;
        RECT rect;
    };
    const Case cases[] = {
        {5, {0, 0, 8, 6}},    // the last fifth; the columns past it never show
        {1, {3, 2, 11, 8}},   // placed at the rectangle's corner
        {3, {2, 1, 10, 7}},   // magenta right half
        {2, {0, 0, 16, 2}},   // wider only
    };
    TCanvas scratch;
    auto strip = Strip();
    for (auto& [name, draw] : StripVariants(scratch)) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " frame " + std::to_string(c.k));
            auto target = Plain(16, 10, kBackground);
            draw(*target, c.rect, 5, c.k, *strip);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 16; ++x)
                    ASSERT_EQ(PixelOf(*target, x, y), ExpectedStripPixel(c.rect, c.k, x, y)) << x << "," << y;
        }
    }
}

TEST(DrawStripFrame, DegenerateInputsDrawNothing) {
    struct Case {
        const char* what;
        int n, k;
        RECT rect;
        int stripWidth;
    };
    const Case cases[] = {
        {"no frames", 0, 1, {0, 0, 8, 6}, 22},
        {"negative count", -2, 1, {0, 0, 8, 6}, 22},
        {"frame 0", 5, 0, {0, 0, 8, 6}, 22},
        {"frame past the count", 5, 6, {0, 0, 8, 6}, 22},
        {"inverted", 5, 1, {8, 6, 0, 0}, 22},
        {"no width", 5, 1, {4, 0, 4, 6}, 22},
        {"no height", 5, 1, {0, 3, 8, 3}, 22},
        {"strip narrower than the count", 5, 1, {0, 0, 8, 6}, 3},
        {"empty strip", 5, 1, {0, 0, 8, 6}, 0},
    };
    TCanvas scratch;
    for (auto& [name, draw] : StripVariants(scratch)) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.what);
            TBitmap strip;
            if (c.stripWidth > 0) fixtures::Paint(strip, c.stripWidth, 2, [](int, int) { return Rgb{1, 2, 3}; });
            auto target = Plain(16, 10, kBackground);
            draw(*target, c.rect, c.n, c.k, strip);
            EXPECT_EQ(CountOf(*target, kBackground), 160);
        }
    }
}

// --------------------------------------------------------------------- text

constexpr RECT kTextRect{10, 6, 150, 46};

// The font the routines draw with: the canvas's, its style cleared.
std::unique_ptr<TFont> PlainCopy(TFont& font) {
    auto copy = std::make_unique<TFont>();
    copy->Assign(&font);
    copy->SetStyle(0);
    return copy;
}

// A bold black font on a white picture: the routines must clear the style.
std::unique_ptr<TBitmap> TextTarget() {
    auto target = Plain(160, 52);
    TCanvas* canvas = target->Canvas();
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetHeight(-13);
    canvas->Font()->SetStyle(fsBold | fsItalic);
    canvas->Font()->SetColor(clBlack);
    return target;
}

// text drawn by hand with format at the top-left of extent, in font and colour.
std::unique_ptr<TBitmap> DrawnByHand(TFont& font, COLORREF colour, const std::string& text, const RECT& extent,
                                     UINT format) {
    auto expected = Plain(160, 52);
    HDC dc = expected->Canvas()->BareHandle();
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT r = extent;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SelectObject(dc, old);
    GdiFlush();
    return expected;
}

// The width and height text takes in font with format.
SIZE Measure(TFont& font, const std::string& text, UINT format) {
    MeasureDc dc(font.Handle());
    RECT r = kTextRect;
    DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

TEST(DrawCaptionText, PlacedByItsExtentOnePixelAboveTheCentre) {
    struct Case {
        TCaptionTextAlign alignment;
        UINT flag;
        const char* text;
        bool enabled;
    };
    const Case cases[] = {
        {TCaptionTextAlign::Left, DT_LEFT, "Caption", true},
        {TCaptionTextAlign::Centre, DT_CENTER, "Caption", true},
        {TCaptionTextAlign::Right, DT_RIGHT, "Caption", true},
        {TCaptionTextAlign::Centre, DT_CENTER, "Two\nlonger lines", true},
        {TCaptionTextAlign::Centre, DT_CENTER, "Grey", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.flag));
        auto target = TextTarget();
        TCanvas* canvas = target->Canvas();
        auto font = PlainCopy(*canvas->Font());
        DrawCaptionText(*canvas, kTextRect, c.alignment, c.enabled, c.text);

        const SIZE size = Measure(*font, c.text, c.flag | DT_EXPANDTABS);
        const int width = kTextRect.right - kTextRect.left, height = kTextRect.bottom - kTextRect.top;
        int left = kTextRect.left;
        if (c.flag == DT_CENTER) left += (width - size.cx) / 2;
        if (c.flag == DT_RIGHT) left += width - size.cx;
        const int top = kTextRect.top + (height - size.cy) / 2 - 1;
        const COLORREF colour = c.enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW);
        auto expected = DrawnByHand(*font, colour, c.text, {left, top, left + size.cx, top + size.cy},
                                    c.flag | DT_EXPANDTABS);
        EXPECT_TRUE(SamePixels(*target, *expected));
        EXPECT_GT(CountOf(*target, RgbOf(colour)), 10);
        EXPECT_EQ(canvas->Font()->Style(), 0);
        EXPECT_EQ(canvas->Font()->Color(), c.enabled ? clBlack : clBtnShadow);
        EXPECT_EQ(canvas->Brush()->Style(), TBrushStyle::bsClear);
    }
}

TEST(DrawCaptionText, EmptyTextDrawsNothingAndPreparesTheCanvas) {
    auto target = TextTarget();
    DrawCaptionText(*target->Canvas(), kTextRect, TCaptionTextAlign::Centre, true, "");
    EXPECT_EQ(CountOf(*target, kWhite), 160 * 52);
    EXPECT_EQ(target->Canvas()->Font()->Style(), 0);
    EXPECT_EQ(target->Canvas()->Brush()->Style(), TBrushStyle::bsClear);
    EXPECT_EQ(GetBkMode(target->Canvas()->Handle()), TRANSPARENT);
}

TEST(DrawMenuText, CentredBothWaysWhateverTheAlignment) {
    struct Case {
        TMenuTextAlign alignment;
        UINT flag;
        bool enabled;
    };
    const Case cases[] = {{TMenuTextAlign::Left, DT_LEFT, true},
                          {TMenuTextAlign::Right, DT_RIGHT, true},
                          {TMenuTextAlign::Centre, DT_CENTER, false}};
    const std::string text = "&File";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        auto target = TextTarget();
        auto font = PlainCopy(*target->Canvas()->Font());
        DrawMenuText(*target->Canvas(), kTextRect, text, c.alignment, c.enabled);

        const UINT format = c.flag | DT_SINGLELINE | DT_EXPANDTABS;
        const SIZE size = Measure(*font, text, format);
        const int left = kTextRect.left + (kTextRect.right - kTextRect.left - size.cx) / 2;
        const int top = kTextRect.top + (kTextRect.bottom - kTextRect.top - size.cy) / 2;
        const COLORREF colour = c.enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW);
        auto expected = DrawnByHand(*font, colour, text, {left, top, left + size.cx, top + size.cy}, format);
        EXPECT_TRUE(SamePixels(*target, *expected));
        EXPECT_GT(CountOf(*target, RgbOf(colour)), 10);
    }
}

// An image list of one 8 x 6 icon in a solid colour.
class SolidImageList {
public:
    explicit SolidImageList(Rgb colour) : list_(ImageList_Create(8, 6, ILC_COLOR24, 1, 0)) {
        auto icon = Plain(8, 6, colour);
        ImageList_Add(list_, icon->Handle(), nullptr);
    }
    ~SolidImageList() { ImageList_Destroy(list_); }
    SolidImageList(const SolidImageList&) = delete;
    SolidImageList& operator=(const SolidImageList&) = delete;
    HIMAGELIST Get() const { return list_; }

private:
    HIMAGELIST list_;
};

TEST(DrawIconText, IconAndTextSideBySideByAlignment) {
    struct Case {
        TIconTextAlign alignment;
        int imageIndex;
        bool enabled;
    };
    const Case cases[] = {
        {TIconTextAlign::Left, 0, true},   {TIconTextAlign::Centre, 0, true}, {TIconTextAlign::Right, 0, true},
        {TIconTextAlign::Left, -1, true},  {TIconTextAlign::Centre, -1, true},
        {TIconTextAlign::Right, 0, false},
    };
    const Rgb iconColour{0, 0, 180};
    SolidImageList images(iconColour);
    const std::string text = "Tab";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.alignment)) + " image " + std::to_string(c.imageIndex));
        TSkinControl skin(nullptr);
        skin.Enabled = c.enabled;
        auto target = TextTarget();
        auto font = PlainCopy(*target->Canvas()->Font());
        DrawIconText(skin, *target->Canvas(), kTextRect, c.alignment, text, c.imageIndex, images.Get());

        const UINT format = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
        const SIZE size = Measure(*font, text, format);
        const int iconWidth = c.imageIndex == -1 ? 0 : 8, iconHeight = c.imageIndex == -1 ? 0 : 6;
        const int width = kTextRect.right - kTextRect.left, height = kTextRect.bottom - kTextRect.top;
        int x = 2;
        if (c.alignment == TIconTextAlign::Centre) x = (width - iconWidth - size.cx) / 2;
        if (c.alignment == TIconTextAlign::Right) x = width - iconWidth - size.cx - 2;
        const int textLeft = kTextRect.left + x + iconWidth + 1;
        const int textTop = kTextRect.top + (height - size.cy) / 2;
        const COLORREF colour = c.enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW);
        auto expected = DrawnByHand(*font, colour, text, {textLeft, textTop, textLeft + size.cx, textTop + size.cy},
                                    format);
        if (iconWidth > 0) {
            const int iconLeft = kTextRect.left + x, iconTop = kTextRect.top + (height - iconHeight) / 2;
            expected->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(iconColour.r, iconColour.g, iconColour.b)));
            expected->Canvas()->FillRect({iconLeft, iconTop, iconLeft + iconWidth, iconTop + iconHeight});
        }
        EXPECT_TRUE(SamePixels(*target, *expected));
        EXPECT_EQ(CountOf(*target, iconColour), iconWidth * iconHeight);
    }
}

// ------------------------------------------------- the caller's context

// A memory context holding a picture and the caller's own font, pen and brush.
class CallerDc {
public:
    CallerDc() : dc_(CreateCompatibleDC(nullptr)) {
        picture_ = Plain(160, 52);
        olds_ = {SelectObject(dc_, picture_->Handle()), SelectObject(dc_, font_), SelectObject(dc_, pen_),
                 SelectObject(dc_, brush_)};
    }
    ~CallerDc() {
        for (HGDIOBJ old : olds_) SelectObject(dc_, old);
        DeleteDC(dc_);
        DeleteObject(font_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }
    CallerDc(const CallerDc&) = delete;
    CallerDc& operator=(const CallerDc&) = delete;
    HDC Get() const { return dc_; }
    ::testing::AssertionResult HoldsItsOwnObjects() const {
        if (GetCurrentObject(dc_, OBJ_FONT) != font_) return ::testing::AssertionFailure() << "font";
        if (GetCurrentObject(dc_, OBJ_PEN) != pen_) return ::testing::AssertionFailure() << "pen";
        if (GetCurrentObject(dc_, OBJ_BRUSH) != brush_) return ::testing::AssertionFailure() << "brush";
        return ::testing::AssertionSuccess();
    }

private:
    std::unique_ptr<TBitmap> picture_;
    HDC dc_;
    HFONT font_ = CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    HPEN pen_ = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush_ = CreateSolidBrush(RGB(4, 5, 6));
    std::vector<HGDIOBJ> olds_;
};

TEST(ControlDrawing, EveryRoutineGivesTheCallerItsFontPenAndBrushBack) {
    SolidImageList images({0, 0, 180});
    auto strip = Strip();
    TSkinControl skin(nullptr);
    CallerDc earlier;
    TCanvas scratch(earlier.Get());
    skin.Canvas = &scratch;
    const RECT r{4, 4, 60, 30};
    // Routines on a context, and routines on the scratch canvas lent to it.
    const std::vector<std::pair<const char*, std::function<void(HDC)>>> routines = {
        {"strip frame", [&](HDC dc) { DrawStripFrame(dc, r, 5, 2, *strip); }},
        {"strip frame through the scratch canvas", [&](HDC dc) { DrawStripFrameScratch(skin, dc, r, 5, 3, *strip); }},
        {"caption text", [&](HDC dc) {
             TCanvasBinding lent(scratch, dc);
             DrawCaptionText(scratch, r, TCaptionTextAlign::Right, false, "Text");
         }},
        {"menu text", [&](HDC dc) {
             TCanvasBinding lent(scratch, dc);
             DrawMenuText(scratch, r, "Menu", TMenuTextAlign::Centre, true);
         }},
        {"icon text", [&](HDC dc) {
             TCanvasBinding lent(scratch, dc);
             DrawIconText(skin, scratch, r, TIconTextAlign::Left, "Icon", 0, images.Get());
         }},
        {"strip frame on the canvas", [&](HDC dc) {
             TCanvasBinding lent(scratch, dc);
             DrawStripFrameCanvas(scratch, r, 5, 1, *strip);
         }},
        {"arrow", [&](HDC dc) {
             TCanvasBinding lent(scratch, dc);
             DrawArrow(scratch, 20, 20, TArrowKind::Down);
         }},
    };
    for (const auto& [name, routine] : routines) {
        SCOPED_TRACE(name);
        CallerDc caller;
        routine(caller.Get());
        EXPECT_TRUE(caller.HoldsItsOwnObjects());
        EXPECT_TRUE(earlier.HoldsItsOwnObjects());
        EXPECT_EQ(scratch.BareHandle(), earlier.Get()) << "the scratch canvas has its previous context back";
    }
}

}  // namespace
}  // namespace pellix
