#include "skin/ImgUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/FormLoader.h"
#include "framework/StdCtrls.h"
#include "skin/WindowsVersion.h"

namespace pellix {
namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& os, Rgb c) {
    return os << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

constexpr Rgb kKey{255, 0, 255};

// A bitmap of that format painted pixel by pixel (through 32 bits, converted after).
void Paint(TBitmap& bitmap, TPixelFormat format, int width, int height, const std::function<Rgb(int, int)>& colour) {
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height && width > 0; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            row[4 * x] = c.b;
            row[4 * x + 1] = c.g;
            row[4 * x + 2] = c.r;
            row[4 * x + 3] = 0;
        }
    }
    bitmap.SetPixelFormat(format);
}

// The colours of any bitmap, read from a 32-bit copy.
class Pixels {
public:
    explicit Pixels(const TBitmap& bitmap) {
        copy_.Assign(&bitmap);
        copy_.SetPixelFormat(TPixelFormat::pf32bit);
    }
    Rgb At(int x, int y) const {
        const uint8_t* p = copy_.ScanLine(y) + 4 * x;
        return {p[2], p[1], p[0]};
    }
    int Width() const { return copy_.Width(); }
    int Height() const { return copy_.Height(); }

private:
    TBitmap copy_;
};

// Compares every pixel of a bitmap with the expected colours, naming the first that differ.
testing::AssertionResult Shows(const TBitmap& bitmap, int width, int height, const std::function<Rgb(int, int)>& want) {
    const Pixels pixels(bitmap);
    if (pixels.Width() != width || pixels.Height() != height)
        return testing::AssertionFailure() << "size " << pixels.Width() << " x " << pixels.Height() << " instead of "
                                           << width << " x " << height;
    std::ostringstream wrong;
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels.At(x, y) != want(x, y) && ++count <= 6)
                wrong << " (" << x << "," << y << ") " << pixels.At(x, y) << " not " << want(x, y) << ";";
    if (count == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << count << " pixels differ:" << wrong.str();
}

// Test pictures are written as letters: a column letter (A-Z) and a row
// letter (a-z) give a pixel's red and green, the frame of a strip its blue.
// No such colour is the key colour.
Rgb Cell(char column, char row, int frame) {
    return {static_cast<uint8_t>((column - 'A') * 9 + 3), static_cast<uint8_t>((row - 'a') * 9 + 3),
            static_cast<uint8_t>(frame * 40)};
}
// Pixels past the last whole frame of a strip.
constexpr Rgb kSpare{250, 250, 0};

// A strip of frameCount frames, each painted from the column and row
// letters, side by side or stacked, with `spare` columns or rows after them
// (fewer than frameCount, so the frame size stays).
void Strip(TBitmap& image, TPixelFormat format, const std::string& cols, const std::string& rows, int frameCount,
           bool vertical, int spare) {
    const int fw = static_cast<int>(cols.size()), fh = static_cast<int>(rows.size());
    const int width = vertical ? fw : fw * frameCount + spare, height = vertical ? fh * frameCount + spare : fh;
    Paint(image, format, width, height, [&](int x, int y) {
        const int frame = vertical ? y / fh + 1 : x / fw + 1;
        if (frame > frameCount) return kSpare;
        return Cell(cols[x % fw], rows[y % fh], frame);
    });
}

// A target of that size with a pattern no routine paints.
Rgb Background(int x, int y) { return {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 11), 99}; }

void Target(TBitmap& target, int width, int height) {
    Paint(target, TPixelFormat::pf32bit, width, height, Background);
}

// Runs a test body once as the NT family and once as the other family.
class VersionScope {
public:
    explicit VersionScope(uint32_t version) : old_(WindowsVersion) { WindowsVersion = version; }
    ~VersionScope() { WindowsVersion = old_; }

private:
    uint32_t old_;
};
constexpr uint32_t kNtVersion = 0x1DB10106;
constexpr uint32_t k95Version = 0xC0000A04;

const TPixelFormat kFormats[] = {TPixelFormat::pf24bit, TPixelFormat::pf32bit};

const char* FormatName(TPixelFormat format) { return format == TPixelFormat::pf24bit ? "24 bit" : "32 bit"; }

// How many more GDI objects the process can make now. GetGuiResources reports
// 0 under Wine, so the handle table is filled and emptied again.
size_t GdiObjectsLeft() {
    std::vector<HBRUSH> made;
    while (made.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (brush == nullptr) break;
        made.push_back(brush);
    }
    for (HBRUSH brush : made) DeleteObject(brush);
    return made.size();
}

// ------------------------------------------------------------ nine parts

struct NinePartCase {
    const char* what;
    std::string cols, rows;  // one frame
    RECT margins;
    int frameCount, frame;
    bool vertical, tile;
    int spare;
    int width, height;
    std::string wantCols, wantRows;
};

const std::vector<NinePartCase>& NinePartCases() {
    static const std::vector<NinePartCase> cases = {
        {"asymmetric margins, centre stretched twice, frame 2 of 3",
         "ABCDEFGHI", "abcdef", {2, 1, 4, 3}, 3, 2, false, false, 2, 12, 8, "ABCCDDEEFGHI", "abbccdef"},
        {"vertical strip of 2 frames 20 high: frame 2 is rows 20 to 40",
         "ABC", "abcdefghijklmnopqrst", {1, 1, 1, 2}, 2, 2, true, false, 0, 4, 20, "ABBC", "abcdefghijklmnopqrst"},
        {"left and right margins 6 and 6 over 10 pixels are both dropped",
         "AABBCCDDEEFFGGHHIIJJ", "abc", {6, 1, 6, 1}, 1, 1, false, false, 0, 10, 3, "ABCDEFGHIJ", "abc"},
        {"margins 5 and 5 over 10 pixels stay and leave no centre",
         "ABCDEFGHIJKL", "abc", {5, 1, 5, 1}, 1, 1, false, false, 0, 10, 3, "ABCDEHIJKL", "abc"},
        {"top and bottom margins 4 and 4 over 5 rows are both dropped",
         "ABCD", "aabbccddee", {2, 4, 1, 4}, 1, 1, false, false, 0, 4, 5, "ABCD", "abcde"},
        // Edges are stretched, not tiled: each tile case keeps the edges
        // that cross its tiles at their own size.
        {"a 7-pixel tile over a 20-pixel centre: the right edge covers the third tile's overrun",
         "ABXCCCCCYRS", "ab", {2, 0, 2, 0}, 2, 2, false, true, 1, 24, 2, "ABXCCCCCYXCCCCCYXCCCCCRS", "ab"},
        {"the bottom edge covers the last row of tiles' overrun",
         "ABC", "abcdef", {0, 1, 0, 2}, 1, 1, false, true, 0, 3, 10, "ABC", "abcdbcdbef"},
    };
    return cases;
}

TEST(DrawSkinImage, PaintsEachOfTheNinePartsFromItsOwnSource) {
    for (TPixelFormat format : kFormats) {
        for (const NinePartCase& c : NinePartCases()) {
            SCOPED_TRACE(std::string(c.what) + ", " + FormatName(format));
            TBitmap image;
            Strip(image, format, c.cols, c.rows, c.frameCount, c.vertical, c.spare);
            auto picture = DrawSkinImage({7, 9, 7 + c.width, 9 + c.height}, image, c.margins, c.frame, c.frameCount,
                                         c.tile, c.vertical);
            ASSERT_NE(picture, nullptr);
            EXPECT_TRUE(Shows(*picture, c.width, c.height,
                              [&](int x, int y) { return Cell(c.wantCols[x], c.wantRows[y], c.frame); }));
            EXPECT_EQ(picture->PixelFormat(), TPixelFormat::pf32bit);
            EXPECT_EQ(GetStretchBltMode(picture->Canvas()->Handle()), COLORONCOLOR);
        }
    }
}

TEST(DrawSkinImage, NothingToDrawGivesNoBitmap) {
    TBitmap image;
    Strip(image, TPixelFormat::pf24bit, "ABC", "abc", 2, false, 0);
    const RECT margins{1, 1, 1, 1};
    struct Case {
        const char* what;
        RECT rect;
        int frameCount;
    } cases[] = {
        {"no width", {5, 5, 5, 20}, 2},
        {"no height", {5, 5, 20, 5}, 2},
        {"inverted", {20, 5, 5, 20}, 2},
        {"frame count 0", {0, 0, 10, 10}, 0},
        {"negative frame count", {0, 0, 10, 10}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DrawSkinImage(c.rect, image, margins, 1, c.frameCount, false, false), nullptr);
    }
    TBitmap empty;
    auto picture = DrawSkinImage({0, 0, 6, 4}, empty, margins, 1, 1, true, false);
    ASSERT_NE(picture, nullptr) << "an empty image still gives a picture of the size";
    EXPECT_EQ(picture->Width(), 6);
    EXPECT_EQ(picture->Height(), 4);
}

TEST(DrawSkinBorderPieces, PaintsTheOuterPartsAroundAnUntouchedInside) {
    const NinePartCase& c = NinePartCases()[0];
    for (TPixelFormat format : kFormats) {
        SCOPED_TRACE(FormatName(format));
        TBitmap image;
        Strip(image, format, c.cols, c.rows, c.frameCount, c.vertical, c.spare);
        TBitmap target;
        Target(target, 20, 14);
        HDC dc = target.Canvas()->Handle();
        SetStretchBltMode(dc, HALFTONE);
        const int left = 3, top = 2;
        DrawSkinBorderPieces(dc, {left, top, left + c.width, top + c.height}, image, c.margins, c.frame,
                             c.frameCount, true, c.vertical);
        EXPECT_EQ(GetStretchBltMode(dc), HALFTONE) << "the caller's stretch mode is back";
        const RECT inside{left + c.margins.left, top + c.margins.top, left + c.width - c.margins.right,
                          top + c.height - c.margins.bottom};
        EXPECT_TRUE(Shows(target, 20, 14, [&](int x, int y) {
            const bool inRect = x >= left && x < left + c.width && y >= top && y < top + c.height;
            const bool inCentre = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
            if (!inRect || inCentre) return Background(x, y);
            return Cell(c.wantCols[x - left], c.wantRows[y - top], c.frame);
        }));
    }
}

// ------------------------------------------------------------------ keyed

// One frame, 1:1, with its top-left corner in the key colour and two
// colours next to it that are not the key.
const std::string kKeyedCols = "ABCDEF", kKeyedRows = "abcde";
const RECT kKeyedMargins{2, 1, 1, 2};

Rgb KeyedPixel(int x, int y) {
    if (x < 2 && y < 1) return kKey;
    if (x == 3 && y == 2) return {255, 1, 255};
    if (x == 4 && y == 2) return {254, 0, 255};
    return Cell(kKeyedCols[x], kKeyedRows[y], 2);
}

void KeyedStrip(TBitmap& image, TPixelFormat format) {
    const int fw = static_cast<int>(kKeyedCols.size()), fh = static_cast<int>(kKeyedRows.size());
    Paint(image, format, 2 * fw, fh, [&](int x, int y) {
        return x < fw ? Cell(kKeyedCols[x], kKeyedRows[y], 1) : KeyedPixel(x - fw, y);
    });
}

struct KeyedRoutine {
    const char* name;
    std::function<void(TBitmap& target, const RECT& rect, const TBitmap& image, bool transparent)> paint;
};

const std::vector<KeyedRoutine>& KeyedRoutines() {
    static const std::vector<KeyedRoutine> routines = {
        {"PaintSkinImage",
         [](TBitmap& target, const RECT& rect, const TBitmap& image, bool transparent) {
             PaintSkinImage(target.Canvas()->Handle(), rect, image, kKeyedMargins, 2, 2, transparent, false, false);
         }},
        {"DrawImageFrame",
         [](TBitmap& target, const RECT& rect, const TBitmap& image, bool transparent) {
             DrawImageFrame(target.Canvas()->Handle(), rect, image, transparent, 2, 2);
         }},
        {"DrawImageBand",
         [](TBitmap& target, const RECT& rect, const TBitmap& image, bool transparent) {
             DrawImageBand(*target.Canvas(), rect, image, kKeyedMargins, 2, 2, transparent, false);
         }},
    };
    return routines;
}

TEST(KeyedPainting, KeyColourLeavesTheBackgroundAndEveryOtherColourIsDrawn) {
    const int left = 4, top = 3, w = static_cast<int>(kKeyedCols.size()), h = static_cast<int>(kKeyedRows.size());
    for (uint32_t version : {kNtVersion, k95Version}) {
        VersionScope scope(version);
        for (TPixelFormat format : kFormats) {
            TBitmap image;
            KeyedStrip(image, format);
            for (const KeyedRoutine& routine : KeyedRoutines()) {
                for (bool transparent : {false, true}) {
                    SCOPED_TRACE(std::string(routine.name) + (transparent ? ", keyed, " : ", opaque, ") +
                                 FormatName(format) + (Windows95Family() ? ", 95 family" : ", NT family"));
                    TBitmap target;
                    Target(target, 14, 10);
                    routine.paint(target, {left, top, left + w, top + h}, image, transparent);
                    EXPECT_TRUE(Shows(target, 14, 10, [&](int x, int y) {
                        if (x < left || x >= left + w || y < top || y >= top + h) return Background(x, y);
                        const Rgb c = KeyedPixel(x - left, y - top);
                        return transparent && c == kKey ? Background(x, y) : c;
                    }));
                }
            }
        }
    }
}

TEST(DrawTransparentBitmap, BothFamiliesCopyEveryPixelButTheKeyColour) {
    // Key pixels on a diagonal pattern, near-key colours beside them.
    const auto source = [](int x, int y) -> Rgb {
        if ((x + y) % 3 == 0) return kKey;
        if ((x + y) % 3 == 1) return {static_cast<uint8_t>(255 - x), static_cast<uint8_t>(y % 2), 255};
        return {static_cast<uint8_t>(x * 30), 200, static_cast<uint8_t>(y * 40)};
    };
    const int left = 2, top = 3;
    for (TPixelFormat format : kFormats) {
        TBitmap bitmap;
        Paint(bitmap, format, 6, 5, source);
        std::vector<std::unique_ptr<TBitmap>> results;
        for (uint32_t version : {kNtVersion, k95Version}) {
            VersionScope scope(version);
            SCOPED_TRACE(std::string(FormatName(format)) + (Windows95Family() ? ", 95 family" : ", NT family"));
            auto target = std::make_unique<TBitmap>();
            Target(*target, 12, 12);
            HDC dc = target->Canvas()->Handle();
            SetTextColor(dc, RGB(1, 2, 3));
            SetBkColor(dc, RGB(4, 5, 6));
            // The rectangle is smaller than the bitmap: only its size is copied.
            DrawTransparentBitmap(dc, {left, top, left + 4, top + 3}, bitmap, KeyColour);
            EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
            EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
            EXPECT_TRUE(Shows(*target, 12, 12, [&](int x, int y) {
                if (x < left || x >= left + 4 || y < top || y >= top + 3) return Background(x, y);
                const Rgb c = source(x - left, y - top);
                return c == kKey ? Background(x, y) : c;
            }));
            results.push_back(std::move(target));
        }
        const Pixels nt(*results[0]);
        EXPECT_TRUE(Shows(*results[1], 12, 12, [&](int x, int y) { return nt.At(x, y); }))
            << FormatName(format) << ": the two families differ";
    }
}

// -------------------------------------------------------------- bands

struct BandCase {
    const char* what;
    std::string cols, rows;
    int ml, mr;
    int frameCount, frame;
    bool vertical;
    int width, height;
    std::string wantCols, wantRows;  // '.' for a column the image does not reach
};

TEST(DrawImageBand, EndsAtTheirWidthAndTheMiddleRepeatedAtItsOwn) {
    const std::vector<BandCase> cases = {
        {"margins 3 and 3 over 8 pixels: the middle repeats 2-pixel slices",
         "ABCXYDEF", "ab", 3, 3, 1, 1, false, 13, 4, "ABCXYXYXYXDEF", "aabb"},
        {"frame 2 of a vertical strip", "ABXDE", "abc", 2, 2, 2, 2, true, 7, 3, "ABXXXDE", "abc"},
        {"no middle in the source leaves the middle empty", "ABCDEF", "ab", 3, 3, 1, 1, false, 10, 2,
         "ABC....DEF", "ab"},
        {"a negative middle also leaves it empty", "ABCD", "ab", 3, 3, 1, 1, false, 8, 2, "ABC..BCD", "ab"},
        {"narrower than both ends: the right end covers the left", "ABCXDEF", "ab", 3, 3, 1, 1, false, 4, 2,
         "ADEF", "ab"},
    };
    for (TPixelFormat format : kFormats) {
        for (const BandCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + FormatName(format));
            TBitmap image;
            Strip(image, format, c.cols, c.rows, c.frameCount, c.vertical, 0);
            TBitmap target;
            Target(target, c.width + 3, c.height + 2);
            DrawImageBand(*target.Canvas(), {2, 1, 2 + c.width, 1 + c.height}, image, {c.ml, 50, c.mr, 50}, c.frame,
                          c.frameCount, false, c.vertical);
            EXPECT_TRUE(Shows(target, c.width + 3, c.height + 2, [&](int x, int y) -> Rgb {
                if (x < 2 || x >= 2 + c.width || y < 1 || y >= 1 + c.height) return Background(x, y);
                const char col = c.wantCols[x - 2];
                if (col == '.') return {0, 0, 0};  // the band's own fresh bitmap
                return Cell(col, c.wantRows[y - 1], c.frame);
            }));
        }
    }
}

TEST(DrawImageFrame, StretchesOneFrameOfTheStripOverTheRectangle) {
    TBitmap image;
    Strip(image, TPixelFormat::pf24bit, "ABC", "ab", 3, false, 1);
    TBitmap target;
    Target(target, 10, 8);
    DrawImageFrame(target.Canvas()->Handle(), {1, 2, 7, 6}, image, false, 3, 3);
    EXPECT_TRUE(Shows(target, 10, 8, [&](int x, int y) {
        if (x < 1 || x >= 7 || y < 2 || y >= 6) return Background(x, y);
        return Cell("AABBCC"[x - 1], "aabb"[y - 2], 3);
    }));
}

// -------------------------------------------------------------- tiles

TEST(TileImage, RepeatsWholeTilesFromTheTopLeft) {
    TBitmap image;
    Strip(image, TPixelFormat::pf24bit, "ZABC", "zab", 1, false, 0);
    TBitmap target;
    Target(target, 14, 10);
    // The tile is the part "ABC" x "ab"; 8 x 5 needs 3 x 3 tiles, the last
    // column and row running past the destination.
    TileImage(*target.Canvas(), {1, 1, 9, 6}, image, {1, 1, 4, 3});
    EXPECT_TRUE(Shows(target, 14, 10, [&](int x, int y) {
        if (x < 1 || x >= 10 || y < 1 || y >= 7) return Background(x, y);
        return Cell("ABC"[(x - 1) % 3], "ab"[(y - 1) % 2], 1);
    }));
}

TEST(TileImage, OnePixelTileFillsALargeArea) {
    TBitmap image;
    Strip(image, TPixelFormat::pf32bit, "ABC", "abc", 1, false, 0);
    TBitmap target;
    Target(target, 700, 500);
    TileImage(*target.Canvas(), {3, 2, 690, 497}, image, {2, 1, 3, 2});
    EXPECT_TRUE(Shows(target, 700, 500, [&](int x, int y) {
        return x >= 3 && x < 690 && y >= 2 && y < 497 ? Cell('C', 'b', 1) : Background(x, y);
    }));
}

// -------------------------------------------------------- degenerate input

TEST(Painting, DegenerateInputDrawsNothing) {
    TBitmap image;
    Strip(image, TPixelFormat::pf24bit, "ABC", "abc", 2, false, 0);
    TBitmap empty;
    const RECT margins{1, 1, 1, 1};
    struct Case {
        const char* what;
        std::function<void(TBitmap& target)> paint;
    };
    const std::vector<Case> cases = {
        {"PaintSkinImage, inverted", [&](TBitmap& t) {
             PaintSkinImage(t.Canvas()->Handle(), {8, 2, 2, 8}, image, margins, 1, 2, false, false, false); }},
        {"PaintSkinImage, no height", [&](TBitmap& t) {
             PaintSkinImage(t.Canvas()->Handle(), {2, 2, 8, 2}, image, margins, 1, 2, true, false, false); }},
        {"PaintSkinImage, frame count 0", [&](TBitmap& t) {
             PaintSkinImage(t.Canvas()->Handle(), {2, 2, 8, 8}, image, margins, 1, 0, false, true, false); }},
        {"DrawSkinBorderPieces, frame count 0", [&](TBitmap& t) {
             DrawSkinBorderPieces(t.Canvas()->Handle(), {2, 2, 8, 8}, image, margins, 1, 0, false, false); }},
        {"DrawSkinBorderPieces, inverted", [&](TBitmap& t) {
             DrawSkinBorderPieces(t.Canvas()->Handle(), {8, 8, 2, 2}, image, margins, 1, 2, false, false); }},
        {"DrawImageFrame, inverted", [&](TBitmap& t) {
             DrawImageFrame(t.Canvas()->Handle(), {2, 8, 8, 2}, image, false, 2, 1); }},
        {"DrawImageFrame, frame count 0", [&](TBitmap& t) {
             DrawImageFrame(t.Canvas()->Handle(), {2, 2, 8, 8}, image, true, 0, 1); }},
        {"DrawImageBand, inverted", [&](TBitmap& t) {
             DrawImageBand(*t.Canvas(), {8, 2, 2, 8}, image, margins, 1, 2, false, false); }},
        {"DrawImageBand, frame count 0", [&](TBitmap& t) {
             DrawImageBand(*t.Canvas(), {2, 2, 8, 8}, image, margins, 1, 0, true, false); }},
        {"TileImage, empty tile", [&](TBitmap& t) { TileImage(*t.Canvas(), {2, 2, 8, 8}, image, {1, 1, 1, 3}); }},
        {"TileImage, inverted tile", [&](TBitmap& t) { TileImage(*t.Canvas(), {2, 2, 8, 8}, image, {3, 1, 1, 3}); }},
        {"TileImage, inverted destination",
         [&](TBitmap& t) { TileImage(*t.Canvas(), {8, 2, 2, 8}, image, {0, 0, 2, 2}); }},
        {"DrawTransparentBitmap, inverted", [&](TBitmap& t) {
             DrawTransparentBitmap(t.Canvas()->Handle(), {8, 2, 2, 8}, image, KeyColour); }},
        {"DrawTransparentBitmap, empty bitmap", [&](TBitmap& t) {
             DrawTransparentBitmap(t.Canvas()->Handle(), {2, 2, 8, 8}, empty, KeyColour); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap target;
        Target(target, 10, 10);
        EXPECT_NO_THROW(c.paint(target));
        EXPECT_TRUE(Shows(target, 10, 10, Background));
    }
}

// ----------------------------------------------------------------- regions

// Pictures for regions: '#' inside, '.' the key colour, 'n' (255,1,255) and
// 'm' (254,0,255), 'o' (255,2,255), 'p' (255,0,254).
Rgb RegionPixel(char c, int x) {
    switch (c) {
        case '.': return kKey;
        case 'n': return {255, 1, 255};
        case 'm': return {254, 0, 255};
        case 'o': return {255, 2, 255};
        case 'p': return {255, 0, 254};
        default: return {static_cast<uint8_t>(x * 3), 40, 0};
    }
}

// Whether the pixel lies in the region with tolerances 1, 1, 1.
bool Inside(char c) { return c != '.' && c != 'n'; }

struct RegionCase {
    const char* what;
    int width;
    std::vector<std::string> rows;
};

TEST(BitmapToRegion, HoldsEveryPixelOutsideTheKeyRange) {
    std::string alternating;
    for (int x = 0; x < 100; ++x) alternating += x % 2 == 0 ? '#' : '.';
    const std::vector<RegionCase> cases = {
        {"all key is empty", 4, {"....", "....", "...."}},
        {"no key: whole rows", 5, {"#####", "#####", "#####"}},
        {"one row", 7, {"#.##..#"}},
        {"tolerance 1 cuts (255,1,255) only", 6, {"#nmop.", "n#.#n#"}},
        {"runs at both ends and key pixels between", 6, {"##..##", ".####.", "#.#.#."}},
        {"more than 2000 runs", 100, std::vector<std::string>(50, alternating)},
        {"no width", 0, {"", ""}},
    };
    const int dx = 5, dy = -3;
    for (TPixelFormat format : kFormats) {
        for (const RegionCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + FormatName(format));
            const int height = static_cast<int>(c.rows.size());
            TBitmap bitmap;
            Paint(bitmap, format, c.width, height, [&](int x, int y) { return RegionPixel(c.rows[y][x], x); });
            TRegionHandle region = BitmapToRegion(bitmap, dx, dy, KeyColour, 1, 1, 1);
            ASSERT_TRUE(region);
            EXPECT_EQ(bitmap.PixelFormat(), format) << "the caller's bitmap keeps its format";
            bool any = false;
            int wrong = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < c.width; ++x) {
                    any = any || Inside(c.rows[y][x]);
                    if ((PtInRegion(region.get(), x + dx, y + dy) != FALSE) != Inside(c.rows[y][x]) && ++wrong <= 5)
                        ADD_FAILURE() << "pixel " << x << "," << y;
                }
            RECT box;
            const int kind = GetRgnBox(region.get(), &box);
            if (!any) {
                EXPECT_EQ(kind, NULLREGION);
            } else {
                EXPECT_GE(box.left, dx);
                EXPECT_GE(box.top, dy);
                EXPECT_LE(box.right, dx + c.width);
                EXPECT_LE(box.bottom, dy + height);
            }
        }
    }
}

TEST(BitmapToRegion, ToleranceWidensTheKeyRangeUpwards) {
    // Key (250, 10, 250) with tolerances 5, 0, 2.
    const std::vector<std::pair<Rgb, bool>> cases = {
        {{250, 10, 250}, false}, {{255, 10, 252}, false}, {{249, 10, 250}, true},
        {{250, 11, 250}, true},  {{250, 10, 253}, true},  {{250, 9, 250}, true},
    };
    TBitmap bitmap;
    Paint(bitmap, TPixelFormat::pf24bit, static_cast<int>(cases.size()), 1,
          [&](int x, int) { return cases[x].first; });
    TRegionHandle region = BitmapToRegion(bitmap, 0, 0, RGB(250, 10, 250), 5, 0, 2);
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(PtInRegion(region.get(), static_cast<int>(i), 0) != FALSE, cases[i].second) << cases[i].first;
}

// ---------------------------------------------------------- flips and turns

// A 3 x 2 picture of six distinct colours, top row 0 1 2, bottom row 3 4 5,
// in a format, with colours that format holds exactly.
struct TurnFormat {
    const char* name;
    std::vector<Rgb> colours;
    std::function<void(TBitmap&, const std::vector<Rgb>&)> make;
};

void SixPixels(TBitmap& bitmap, TPixelFormat format, const std::vector<Rgb>& colours) {
    Paint(bitmap, format, 3, 2, [&](int x, int y) { return colours[y * 3 + x]; });
}

// An 8-bit bitmap file whose own palette holds colours outside the default one.
void PalettedSixPixels(TBitmap& bitmap, const std::vector<Rgb>& colours) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = 3;
    h.biHeight = 2;  // bottom-up: the bottom row comes first
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biClrUsed = 6;
    std::vector<uint8_t> palette;
    for (Rgb c : colours) palette.insert(palette.end(), {c.b, c.g, c.r, 0});
    const uint8_t pixels[8] = {3, 4, 5, 0, 0, 1, 2, 0};
    BITMAPFILEHEADER f{};
    f.bfType = 0x4D42;
    f.bfOffBits = static_cast<DWORD>(sizeof(f) + sizeof(h) + palette.size());
    f.bfSize = f.bfOffBits + sizeof(pixels);
    TMemoryStream stream;
    stream.WriteBuffer(&f, sizeof(f));
    stream.WriteBuffer(&h, sizeof(h));
    stream.WriteBuffer(palette.data(), static_cast<int64_t>(palette.size()));
    stream.WriteBuffer(pixels, sizeof(pixels));
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

const std::vector<TurnFormat>& TurnFormats() {
    static const std::vector<Rgb> odd = {{30, 20, 10}, {1, 2, 3}, {200, 100, 7}, {9, 250, 60}, {77, 0, 133},
                                         {255, 254, 253}};
    static const std::vector<Rgb> vga = {{128, 0, 0}, {0, 128, 0}, {0, 0, 255}, {255, 255, 0}, {192, 192, 192},
                                         {0, 128, 128}};
    static const std::vector<TurnFormat> formats = {
        {"24 bit", odd, [](TBitmap& b, const std::vector<Rgb>& c) { SixPixels(b, TPixelFormat::pf24bit, c); }},
        {"32 bit", odd, [](TBitmap& b, const std::vector<Rgb>& c) { SixPixels(b, TPixelFormat::pf32bit, c); }},
        {"8 bit, own palette", odd, PalettedSixPixels},
        {"4 bit", vga, [](TBitmap& b, const std::vector<Rgb>& c) { SixPixels(b, TPixelFormat::pf4bit, c); }},
    };
    return formats;
}

struct TurnCase {
    const char* what;
    std::function<void(TBitmap&)> turn;
    int width, height;
    std::vector<int> want;  // colour numbers, row by row
};

TEST(FlipsAndTurns, MovePixelsWhereTheySayKeepingFormatAndCopies) {
    const std::vector<TurnCase> cases = {
        {"FlipBitmap", FlipBitmap, 3, 2, {3, 4, 5, 0, 1, 2}},
        // The top row, left to right, becomes the left column bottom to top.
        {"RotateBitmap", RotateBitmap, 2, 3, {2, 5, 1, 4, 0, 3}},
        // The top-left corner goes to the top-right.
        {"RotateBitmapBack", RotateBitmapBack, 2, 3, {3, 0, 4, 1, 5, 2}},
        {"RotateBitmap then RotateBitmapBack",
         [](TBitmap& b) {
             RotateBitmap(b);
             RotateBitmapBack(b);
         },
         3, 2, {0, 1, 2, 3, 4, 5}},
        {"two flips",
         [](TBitmap& b) {
             FlipBitmap(b);
             FlipBitmap(b);
         },
         3, 2, {0, 1, 2, 3, 4, 5}},
    };
    for (const TurnFormat& format : TurnFormats()) {
        for (const TurnCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + format.name);
            TBitmap bitmap;
            format.make(bitmap, format.colours);
            const TPixelFormat pixelFormat = bitmap.PixelFormat();
            TBitmap copy;
            copy.Assign(&bitmap);
            c.turn(bitmap);
            EXPECT_TRUE(Shows(bitmap, c.width, c.height,
                              [&](int x, int y) { return format.colours[c.want[y * c.width + x]]; }));
            EXPECT_EQ(bitmap.PixelFormat(), pixelFormat);
            EXPECT_TRUE(Shows(copy, 3, 2, [&](int x, int y) { return format.colours[y * 3 + x]; }))
                << "a copy made before keeps the picture";
        }
    }
}

TEST(FlipsAndTurns, OnePixelAndEmptyBitmapsStayAsTheyAre) {
    for (auto* turn : {FlipBitmap, RotateBitmap, RotateBitmapBack}) {
        TBitmap one;
        Paint(one, TPixelFormat::pf24bit, 1, 1, [](int, int) { return Rgb{10, 20, 30}; });
        turn(one);
        EXPECT_TRUE(Shows(one, 1, 1, [](int, int) { return Rgb{10, 20, 30}; }));
        TBitmap empty;
        empty.SetSize(0, 4);
        EXPECT_NO_THROW(turn(empty));
        EXPECT_EQ(empty.Width(), 0);
    }
}

// ------------------------------------------------------- property by name

enum TProbeStyle { stPlain, stRaised, stSunken };

class TPropertyProbe : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TPropertyProbe"; }

    bool Flat = false;
    TProbeStyle Style = stPlain;
    int Count = 0;
    TColor Colour = clBlack;
    std::string Text;
    TNotifyEvent OnPoke;
};

void RegisterPropertyProbe() {
    RegisterClassInfo("TPropertyProbe", "TComponent")
        .Property("Flat", Prop<TPropertyProbe>([](TPropertyProbe& p, const FormValue& v, LoadContext& x) {
            p.Flat = x.Bool(v);
        }))
        .Property("Style", Prop<TPropertyProbe>([](TPropertyProbe& p, const FormValue& v, LoadContext& x) {
            p.Style = static_cast<TProbeStyle>(x.Enum(v, {"stPlain", "stRaised", "stSunken"}));
        }))
        .Property("Count", Prop<TPropertyProbe>([](TPropertyProbe& p, const FormValue& v, LoadContext& x) {
            p.Count = x.Int(v);
        }))
        .Property("Colour", Prop<TPropertyProbe>([](TPropertyProbe& p, const FormValue& v, LoadContext& x) {
            p.Colour = x.Color(v);
        }))
        .Property("Text", Prop<TPropertyProbe>([](TPropertyProbe& p, const FormValue& v, LoadContext& x) {
            p.Text = x.String(v);
        }))
        .Property("OnPoke", EventProp(&TPropertyProbe::OnPoke));
}

TEST(SetPropertyByName, SetsOnlyEnumerationAndBooleanPropertiesByValueName) {
    RegisterPropertyProbe();
    struct Case {
        const char* property;
        const char* value;
        bool flat;
        TProbeStyle style;
    };
    const Case cases[] = {
        {"Flat", "True", true, stPlain},
        {"flat", "TRUE", true, stPlain},
        {"Style", "stSunken", false, stSunken},
        {"Style", "stNone", false, stPlain},
        {"Flat", "1", false, stPlain},
        {"Count", "True", false, stPlain},
        {"Colour", "clRed", false, stPlain},
        {"Text", "True", false, stPlain},
        {"OnPoke", "True", false, stPlain},
        {"Tag", "True", false, stPlain},
        {"Missing", "True", false, stPlain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " = " + c.value);
        TPropertyProbe probe(nullptr);
        probe.Tag = 4;
        EXPECT_NO_THROW(SetPropertyByName(&probe, c.property, c.value));
        EXPECT_EQ(probe.Flat, c.flat);
        EXPECT_EQ(probe.Style, c.style);
        EXPECT_EQ(probe.Count, 0);
        EXPECT_EQ(probe.Colour, clBlack);
        EXPECT_EQ(probe.Text, "");
        EXPECT_FALSE(probe.OnPoke);
        EXPECT_EQ(probe.Tag, 4);
    }
    EXPECT_NO_THROW(SetPropertyByName(nullptr, "Flat", "True"));
}

TEST(SetPropertyByName, ReachesFrameworkControls) {
    std::unique_ptr<TLabel, ComponentFree> label(new TLabel(nullptr));
    SetPropertyByName(label.get(), "Transparent", "True");
    EXPECT_TRUE(label->Transparent);
    SetPropertyByName(label.get(), "Transparent", "False");
    EXPECT_FALSE(label->Transparent);
}

// ------------------------------------------------------------------ guards

TEST(GdiGuards, PutBackWhatTheyChanged) {
    TBitmap surface;
    Target(surface, 8, 8);
    HDC dc = surface.Canvas()->Handle();
    const HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);

    HBRUSH owned = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH borrowed = CreateSolidBrush(RGB(4, 5, 6));
    {
        SelectGuard first(dc, owned, true);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), owned);
        SelectGuard second(dc, borrowed);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), borrowed);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    EXPECT_EQ(GetObjectType(owned), 0u) << "the owned brush is deleted";
    EXPECT_EQ(GetObjectType(borrowed), static_cast<DWORD>(OBJ_BRUSH)) << "the borrowed one is not";
    DeleteObject(borrowed);

    SetTextColor(dc, RGB(7, 8, 9));
    {
        SaveDcGuard saved(dc);
        SetTextColor(dc, RGB(200, 0, 0));
        SetWindowOrgEx(dc, 3, 3, nullptr);
    }
    EXPECT_EQ(GetTextColor(dc), RGB(7, 8, 9));
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);

    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    {
        ClipGuard clip(dc, {1, 1, 4, 5});
        ASSERT_EQ(GetClipRgn(dc, probe), 1);
        RECT box;
        GetRgnBox(probe, &box);
        EXPECT_EQ(box.right, 4);
        EXPECT_EQ(box.bottom, 5);
    }
    EXPECT_EQ(GetClipRgn(dc, probe), 0) << "no clip region, as before";
    HRGN outer = CreateRectRgn(0, 0, 6, 6);
    SelectClipRgn(dc, outer);
    {
        ClipGuard clip(dc, {2, 2, 10, 10});
        ExcludeClipRect(dc, 2, 2, 3, 3);
    }
    ASSERT_EQ(GetClipRgn(dc, probe), 1);
    EXPECT_TRUE(EqualRgn(probe, outer)) << "the caller's clip region is back";
    SelectClipRgn(dc, nullptr);
    DeleteObject(outer);
    DeleteObject(probe);
}

TEST(OffscreenBuffer, ReachesTheTargetOnlyWhenFlushed) {
    TBitmap target;
    Target(target, 20, 16);
    HDC dc = target.Canvas()->Handle();
    const RECT area{5, 6, 15, 12};
    TBrushHandle brush(CreateSolidBrush(RGB(10, 250, 10)));
    {
        OffscreenBuffer buffer(dc, area);
        ASSERT_TRUE(buffer.Buffered());
        const RECT painted{5, 6, 15, 12};  // the area, in the target's coordinates
        FillRect(buffer.Dc(), &painted, brush.get());
        EXPECT_TRUE(Shows(target, 20, 16, Background)) << "nothing reaches the target before Flush";
        buffer.Flush();
    }
    EXPECT_TRUE(Shows(target, 20, 16, [&](int x, int y) {
        return x >= 5 && x < 15 && y >= 6 && y < 12 ? Rgb{10, 250, 10} : Background(x, y);
    }));
}

TEST(OffscreenBuffer, PaintsStraightOntoTheTargetWhenItsBitmapCannotBeMade) {
    TBitmap target;
    Target(target, 8, 8);
    HDC dc = target.Canvas()->Handle();
    TBrushHandle brush(CreateSolidBrush(RGB(10, 250, 10)));
    OffscreenBuffer buffer(dc, {0, 0, 200000, 200000});
    ASSERT_FALSE(buffer.Buffered());
    EXPECT_EQ(buffer.Dc(), dc);
    const RECT painted{1, 1, 3, 3};
    FillRect(buffer.Dc(), &painted, brush.get());
    buffer.Flush();
    EXPECT_TRUE(Shows(target, 8, 8, [&](int x, int y) {
        return x >= 1 && x < 3 && y >= 1 && y < 3 ? Rgb{10, 250, 10} : Background(x, y);
    }));
}

TEST(SharedScratchBitmap, MadeOnceAndFreedByExplicitCalls) {
    const bool existed = SharedScratchBitmap() != nullptr;
    FreeSharedScratchBitmap();
    EXPECT_EQ(SharedScratchBitmap(), nullptr);
    CreateSharedScratchBitmap();
    TBitmap* scratch = SharedScratchBitmap();
    ASSERT_NE(scratch, nullptr);
    CreateSharedScratchBitmap();
    EXPECT_EQ(SharedScratchBitmap(), scratch) << "a second call keeps the first bitmap";
    EXPECT_EQ(scratch->PixelFormat(), TPixelFormat::pf32bit);
    scratch->SetSize(30, 20);
    EXPECT_EQ(GetStretchBltMode(scratch->Canvas()->Handle()), COLORONCOLOR);
    FreeSharedScratchBitmap();
    EXPECT_EQ(SharedScratchBitmap(), nullptr);
    if (existed) CreateSharedScratchBitmap();
}

// ------------------------------------------------------------------- leaks

TEST(Painting, LeavesNoGdiObjectsBehind) {
    TBitmap image;
    KeyedStrip(image, TPixelFormat::pf24bit);
    TBitmap target;
    Target(target, 40, 30);
    const auto paintAll = [&] {
        HDC dc = target.Canvas()->Handle();
        for (uint32_t version : {kNtVersion, k95Version}) {
            VersionScope scope(version);
            PaintSkinImage(dc, {1, 1, 30, 20}, image, kKeyedMargins, 2, 2, true, true, false);
            DrawTransparentBitmap(dc, {0, 0, 6, 5}, image, KeyColour);
        }
        DrawSkinImage({0, 0, 9, 9}, image, kKeyedMargins, 1, 2, false, false);
        DrawSkinBorderPieces(dc, {2, 2, 20, 20}, image, kKeyedMargins, 1, 2, false, false);
        DrawImageFrame(dc, {0, 0, 12, 12}, image, true, 2, 1);
        DrawImageBand(*target.Canvas(), {0, 0, 30, 6}, image, kKeyedMargins, 1, 2, true, false);
        DrawImageBand(*target.Canvas(), {0, 0, 30, 6}, image, kKeyedMargins, 1, 2, false, false);
        TileImage(*target.Canvas(), {0, 0, 40, 30}, image, {0, 0, 2, 2});
        BitmapToRegion(image, 0, 0, KeyColour, 1, 1, 1);
        TBitmap turned;
        turned.Assign(&image);
        FlipBitmap(turned);
        RotateBitmap(turned);
        RotateBitmapBack(turned);
        SelectGuard pen(dc, CreatePen(PS_SOLID, 1, 0), true);
        ClipGuard clip(dc, {1, 1, 5, 5});
        OffscreenBuffer buffer(dc, {0, 0, 10, 10});
        buffer.Flush();
    };
    paintAll();  // first uses may set up what stays for the process
    const size_t before = GdiObjectsLeft();
    for (int i = 0; i < 50; ++i) paintAll();
    const size_t after = GdiObjectsLeft();
    EXPECT_GE(after + 10, before) << before - after << " GDI objects more in use after 50 rounds";
}

}  // namespace
}  // namespace pellix
