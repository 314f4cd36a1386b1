#include "framework/Graphics.h"

#include <gtest/gtest.h>

#include "framework/ExtCtrls.h"
#include "framework/GifImage.h"
#include "framework/Jpeg.h"
#include "framework/PngImage.h"
#include "tests/framework/PictureFixtures.h"

namespace pellix {
namespace {

using namespace fixtures;

struct KindCase {
    std::string fileName;
    std::function<Bytes()> make;
    std::string className;
    int width, height;
    int tolerance;  // per channel, for lossy kinds
    bool quadrants;  // otherwise one blue area
};

TEST(Picture, LoadsEveryKindByItsExtensionInAnyCase) {
    const std::vector<KindCase> cases = {
        {"q.BMP", [] { return BmpFile(8, 6); }, "TBitmap", 8, 6, 0, true},
        {"q.jpg", [] { return JpegFile(16, 16); }, "TJPEGImage", 16, 16, 12, true},
        {"q.Jpeg", [] { return JpegFile(16, 8); }, "TJPEGImage", 16, 8, 12, true},
        {"q.gif", [] { return GifFile(10, 4); }, "TGIFImage", 10, 4, 0, true},
        {"q.PNG", [] { return PngFile(6, 6); }, "TPNGObject", 6, 6, 0, true},
        {"q.ico", [] { return IconFile(); }, "TIcon", 16, 16, 0, true},
        {"b.emf", [] { return EmfFile(40, 30); }, "TMetafile", 40, 30, 0, false},
        {"b.WMF", [] { return WmfFile(40, 30); }, "TMetafile", 40, 30, 0, false},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        TPicture picture;
        picture.LoadFromFile(folder.Write(c.fileName, c.make()));
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_EQ(picture.Graphic()->ClassName(), c.className);
        // A metafile's size goes through hundredths of a millimetre.
        EXPECT_NEAR(picture.Width(), c.width, c.quadrants ? 0 : 1);
        EXPECT_NEAR(picture.Height(), c.height, c.quadrants ? 0 : 1);

        TBitmap pixels;
        ToPixels(*picture.Graphic(), pixels);
        const int w = pixels.Width(), h = pixels.Height();
        const int xs[] = {1, w - 2}, ys[] = {1, h - 2};
        for (int x : xs)
            for (int y : ys) {
                Rgb expected = c.quadrants ? Quadrant(x, y, c.width, c.height) : Rgb{0, 0, 255};
                EXPECT_TRUE(Near(PixelOf(pixels, x, y), expected, c.tolerance))
                    << "at " << x << "," << y << ": " << PixelOf(pixels, x, y) << " instead of " << expected;
            }
    }
}

TEST(Picture, KindDetailsSurviveDecoding) {
    TempFolder folder;
    TPicture png;
    png.LoadFromFile(folder.Write("t.png", PngFile(4, 4)));
    TBitmap pixels;
    ToPixels(*png.Graphic(), pixels);
    EXPECT_EQ(PixelOf(pixels, 0, 0), (Rgb{255, 0, 0})) << "transparency is dropped, the colour stays";

    TPicture gif;
    gif.LoadFromFile(folder.Write("t.gif", GifFile(4, 4)));
    ToPixels(*gif.Graphic(), pixels);
    EXPECT_EQ(PixelOf(pixels, 3, 3), (Rgb{255, 255, 255})) << "the first frame, not the black second one";

    TPicture paletted;
    paletted.LoadFromFile(folder.Write("p.bmp", PalettedBmpFile()));
    auto* bitmap = dynamic_cast<TBitmap*>(paletted.Graphic());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_GT(bitmap->RowStep(), 0) << "stored top-down";
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(PixelOf(*bitmap, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(*bitmap, 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelOf(*bitmap, 0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), (Rgb{30, 20, 10}));
}

struct InvalidCase {
    std::string fileName;
    Bytes bytes;
    bool pictureLayerError;  // EInvalidGraphic; otherwise another error class
};

Bytes Cut(Bytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

Bytes Patched(Bytes bytes, size_t at, uint8_t value) {
    bytes[at] = value;
    return bytes;
}

TEST(Picture, InvalidDataOfEveryKind) {
    const Bytes junk(64, 0x5A);
    const Bytes bmp = BmpFile(8, 8);
    const std::vector<InvalidCase> cases = {
        {"junk.bmp", junk, true},
        {"short.bmp", Cut(bmp, bmp.size() - 10), true},
        {"depth.bmp", Patched(bmp, 28, 7), true},
        {"empty.bmp", {}, true},
        {"junk.jpg", junk, true},
        {"empty.jpeg", {}, true},
        {"cut.jpg", Cut(JpegFile(16, 16), 20), true},
        {"junk.gif", junk, true},
        {"cut.gif", Cut(GifFile(8, 8), 30), true},
        {"junk.ico", junk, true},
        {"cursor.ico", Patched(IconFile(), 2, 2), true},
        {"junk.emf", junk, true},
        {"junk.wmf", junk, true},
        {"checksum.wmf", Patched(WmfFile(10, 10), 20, 0x12), true},
        {"picture.txt", BmpFile(2, 2), true},
        {"noextension", BmpFile(2, 2), true},
        {"junk.png", junk, false},
        {"cut.png", Cut(PngFile(8, 8), 40), false},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        TPicture picture;
        std::string path = folder.Write(c.fileName, c.bytes);
        try {
            picture.LoadFromFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_TRUE(c.pictureLayerError) << e.Message();
        } catch (const EPNGError& e) {
            EXPECT_FALSE(c.pictureLayerError) << e.Message();
        }
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
}

TEST(Picture, MissingFileIsAStreamError) {
    TPicture picture;
    EXPECT_THROW(picture.LoadFromFile("C:\\no such folder\\x.jpg"), EFOpenError);
}

TEST(Picture, CopiesShareOneDecode) {
    TempFolder folder;
    TPicture first;
    first.LoadFromFile(folder.Write("s.jpg", JpegFile(32, 24)));
    TPicture second;
    second.Assign(&first);
    ASSERT_NE(second.Graphic(), first.Graphic());
    const auto& a = dynamic_cast<const TJPEGImage&>(*first.Graphic());
    const auto& b = dynamic_cast<const TJPEGImage&>(*second.Graphic());
    EXPECT_EQ(&a.Bitmap(), &b.Bitmap());
    EXPECT_EQ(b.Bitmap().ScanLine(0), a.Bitmap().ScanLine(0)) << "one set of pixels";

    TBitmap converted;
    converted.Assign(&b);
    EXPECT_EQ(static_cast<const TBitmap&>(converted).ScanLine(3), a.Bitmap().ScanLine(3));
}

TEST(Bitmap, CopyOnWrite) {
    TBitmap original;
    Paint(original, 4, 3, [](int, int) { return Rgb{10, 20, 30}; });
    TBitmap copy;
    copy.Assign(&original);
    EXPECT_EQ(static_cast<const TBitmap&>(copy).ScanLine(1), static_cast<const TBitmap&>(original).ScanLine(1));

    copy.Canvas()->Brush()->SetColor(clBlue);
    copy.Canvas()->FillRect({0, 0, 4, 3});
    EXPECT_EQ(PixelOf(copy, 2, 2), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(original, 2, 2), (Rgb{10, 20, 30}));

    original.ScanLine(0)[0] = 99;
    EXPECT_EQ(PixelOf(copy, 0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(original, 0, 0).b, 99);
}

TEST(Bitmap, SizeFormatAndRows) {
    TBitmap bitmap;
    Paint(bitmap, 5, 4, [](int x, int y) { return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7}; });
    EXPECT_EQ(bitmap.RowStep(), -16) << "new bitmaps are bottom-up, rows padded to 4 bytes";
    bitmap.SetSize(7, 2);
    EXPECT_EQ(bitmap.Width(), 7);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(PixelOf(bitmap, 4, 1), (Rgb{4, 1, 7})) << "the top-left part is kept";

    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(bitmap.RowStep(), -28);
    const uint8_t* p = bitmap.ScanLine(1) + 4 * 3;
    EXPECT_EQ((Rgb{p[2], p[1], p[0]}), (Rgb{3, 1, 7}));

    TBitmap row;
    Paint(row, 3, 1, [](int, int) { return Rgb{1, 2, 3}; });
    EXPECT_EQ(row.RowStep(), -12) << "a single row still has its step";

    EXPECT_THROW(row.ScanLine(1), EInvalidGraphicOperation);
    row.FreeImage();
    EXPECT_TRUE(row.Empty());
    EXPECT_EQ(row.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(Bitmap, ResizingKeepsALoadedPalette) {
    TempFolder folder;
    TBitmap bitmap;
    bitmap.LoadFromFile(folder.Write("p.bmp", PalettedBmpFile()));
    bitmap.SetSize(3, 3);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    TBitmap colours;
    colours.Assign(&bitmap);
    colours.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(PixelOf(colours, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(colours, 1, 1), (Rgb{30, 20, 10})) << "a colour the default palette lacks";
}

TEST(Bitmap, MaskIsWhiteExactlyWhereTheColourWas) {
    const Rgb colours[] = {{255, 0, 255}, {255, 1, 255}, {254, 0, 255}, {0, 0, 0}, {255, 0, 255}, {255, 255, 255}};
    TBitmap bitmap;
    Paint(bitmap, 3, 2, [&](int x, int y) { return colours[y * 3 + x]; });
    TBitmap copy;
    copy.Assign(&bitmap);
    bitmap.Mask(clFuchsia);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf1bit);
    TBitmap mask;
    mask.Assign(&bitmap);
    mask.SetPixelFormat(TPixelFormat::pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const bool key = colours[y * 3 + x] == Rgb{255, 0, 255};
            EXPECT_EQ(PixelOf(mask, x, y), key ? (Rgb{255, 255, 255}) : (Rgb{0, 0, 0})) << x << "," << y;
            EXPECT_EQ(PixelOf(copy, x, y), colours[y * 3 + x]) << "a copy keeps its colours";
        }
}

TEST(Bitmap, DrawPartStretchesOnePartOfThePixels) {
    TBitmap bitmap;
    Paint(bitmap, 4, 3, [](int x, int y) { return Rgb{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 80), 5}; });
    TBitmap target;
    Paint(target, 6, 6, [](int, int) { return Rgb{1, 1, 1}; });
    HDC dc = target.Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    // Columns 1-2 of rows 1-2, twice as large, at (1, 2).
    static_cast<const TBitmap&>(bitmap).DrawPart(dc, {1, 2, 5, 6}, {1, 1, 3, 3});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 2 && y < 6;
            const Rgb want = inside ? Rgb{static_cast<uint8_t>((1 + (x - 1) / 2) * 50),
                                          static_cast<uint8_t>((1 + (y - 2) / 2) * 80), 5}
                                    : Rgb{1, 1, 1};
            EXPECT_EQ(PixelOf(target, x, y), want) << x << "," << y;
        }
}

TEST(Bitmap, SavedFileLoadsBackTheSame) {
    TBitmap bitmap;
    Paint(bitmap, 3, 5, [](int x, int y) { return Rgb{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 40), 9}; });
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf24bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(loaded, x, y), PixelOf(bitmap, x, y));
}

// Start of the first quantisation table and the frame kind of a JPEG file.
struct JpegMarkers {
    int firstQuantiser = -1;
    bool baseline = false, progressive = false;
};

JpegMarkers ScanMarkers(const Bytes& b) {
    JpegMarkers m;
    for (size_t i = 2; i + 4 < b.size() && b[i] == 0xFF;) {
        uint8_t marker = b[i + 1];
        size_t length = (b[i + 2] << 8) | b[i + 3];
        if (marker == 0xDB && m.firstQuantiser < 0) m.firstQuantiser = b[i + 5];
        if (marker == 0xC0) m.baseline = true;
        if (marker == 0xC2) m.progressive = true;
        if (marker == 0xDA) break;
        i += 2 + length;
    }
    return m;
}

TEST(JPEGImage, EncodesBaselineAtTheGivenQuality) {
    TBitmap bitmap;
    Paint(bitmap, 40, 30, [](int x, int y) { return Rgb{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 8), 128}; });
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetCompressionQuality(80);
    jpeg.Compress();
    Bytes at80 = Saved(jpeg);
    JpegMarkers m = ScanMarkers(at80);
    EXPECT_TRUE(m.baseline);
    EXPECT_FALSE(m.progressive);
    EXPECT_EQ(m.firstQuantiser, 6) << "16 scaled to 40% and rounded, as quality 80 gives";
    jpeg.SetCompressionQuality(10);
    jpeg.Compress();
    EXPECT_LT(Saved(jpeg).size(), at80.size());

    TMemoryStream stream;
    stream.WriteBuffer(at80.data(), static_cast<int64_t>(at80.size()));
    stream.SetPosition(0);
    TJPEGImage loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Width(), 40);
    EXPECT_EQ(loaded.Height(), 30);
    EXPECT_TRUE(Near(PixelOf(loaded.Bitmap(), 20, 15), PixelOf(bitmap, 20, 15), 8));
}

TEST(JPEGImage, OneRowAndOtherPixelFormatsEncode) {
    TBitmap row;
    Paint(row, 9, 1, [](int, int) { return Rgb{200, 100, 50}; });
    row.SetPixelFormat(TPixelFormat::pf32bit);
    TJPEGImage jpeg;
    jpeg.Assign(&row);
    Bytes bytes = Saved(jpeg);
    ASSERT_FALSE(bytes.empty());
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    TJPEGImage loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Height(), 1);
    EXPECT_TRUE(Near(PixelOf(loaded.Bitmap(), 4, 0), (Rgb{200, 100, 50}), 6));
}

TEST(JPEGImage, TooLargeToHoldFailsCleanlyOnEveryUse) {
    TempFolder folder;
    TPicture picture;
    picture.LoadFromFile(folder.Write("huge.jpg", HugeJpeg()));
    EXPECT_EQ(picture.Width(), 30000);
    const auto& jpeg = dynamic_cast<const TJPEGImage&>(*picture.Graphic());
    EXPECT_THROW(jpeg.Bitmap(), EOutOfResources);
    EXPECT_THROW(jpeg.Bitmap(), EOutOfResources);
}

TEST(Canvas, DrawsWithItsFontPenAndBrush) {
    TBitmap bitmap;
    Paint(bitmap, 60, 30, [](int, int) { return Rgb{255, 255, 255}; });
    TCanvas* canvas = bitmap.Canvas();
    int changes = 0;
    canvas->Font()->OnChange = [&](TObject*) { ++changes; };
    HFONT before = canvas->Font()->Handle();
    canvas->Font()->SetColor(clRed);
    canvas->Font()->SetStyle(fsBold);
    EXPECT_EQ(changes, 2);
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->TextOut(2, 2, "WW");
    EXPECT_NE(canvas->Font()->Handle(), before) << "remade after the change";

    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) red += PixelOf(bitmap, x, y) == Rgb{255, 0, 0};
    EXPECT_GT(red, 4) << "text drawn in the font's colour";
    EXPECT_EQ(PixelOf(bitmap, 59, 29), (Rgb{255, 255, 255})) << "a clear brush leaves the background";

    canvas->Pen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, 29);
    canvas->LineTo(10, 29);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(PixelOf(bitmap, 5, 29), (Rgb{GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)}))
        << "system colours are resolved";
    EXPECT_EQ(PixelOf(bitmap, 10, 29), (Rgb{255, 255, 255})) << "the end point is left out";
}

// A memory context with a picture and the caller's own font, pen and brush.
class CallerDc {
public:
    CallerDc() : dc_(CreateCompatibleDC(nullptr)) {
        picture_.SetPixelFormat(TPixelFormat::pf24bit);
        picture_.SetSize(20, 20);
        oldBitmap_ = SelectObject(dc_, picture_.Handle());
        oldFont_ = SelectObject(dc_, font_);
        oldPen_ = SelectObject(dc_, pen_);
        oldBrush_ = SelectObject(dc_, brush_);
    }
    ~CallerDc() {
        SelectObject(dc_, oldBitmap_);
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteDC(dc_);
        DeleteObject(font_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }
    HDC Get() const { return dc_; }
    bool HoldsItsOwnObjects() const {
        return GetCurrentObject(dc_, OBJ_FONT) == font_ && GetCurrentObject(dc_, OBJ_PEN) == pen_ &&
               GetCurrentObject(dc_, OBJ_BRUSH) == brush_;
    }
    HFONT Font() const { return font_; }

private:
    TBitmap picture_;
    HDC dc_;
    HFONT font_ = CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HPEN pen_ = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush_ = CreateSolidBrush(RGB(4, 5, 6));
    HGDIOBJ oldBitmap_, oldFont_, oldPen_, oldBrush_;
};

TEST(Canvas, BindingLendsAContextForOneCallAndGivesTheCanvasItsOwnBack) {
    CallerDc caller, other;
    TCanvas scratch(other.Get());
    {
        TCanvasBinding bind(scratch, caller.Get());
        scratch.Brush()->SetColor(clRed);
        scratch.FillRect({0, 0, 5, 5});
        EXPECT_EQ(GetPixel(caller.Get(), 2, 2), RGB(255, 0, 0));
        EXPECT_EQ(GetCurrentObject(caller.Get(), OBJ_BRUSH), scratch.Brush()->Handle());
    }
    EXPECT_TRUE(caller.HoldsItsOwnObjects()) << "the canvas let go of the context";
    EXPECT_TRUE(other.HoldsItsOwnObjects());
    EXPECT_EQ(scratch.Handle(), other.Get()) << "the previous context is back";

    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    TCanvas* own = bitmap.Canvas();
    EXPECT_THROW(TCanvasBinding(*own, caller.Get()), EInvalidGraphicOperation);
    own->Brush()->SetColor(clBlue);
    own->FillRect({0, 0, 4, 4});
    EXPECT_EQ(own->Pixel(1, 1), static_cast<TColor>(RGB(0, 0, 255))) << "an owning canvas keeps its context";
}

TEST(Canvas, PicturesDrawnThroughABorrowedContextLeaveTheCallersObjects) {
    CallerDc caller;
    TBitmap picture;
    Paint(picture, 3, 3, [](int, int) { return Rgb{0, 128, 0}; });
    TCanvas canvas(caller.Get());
    canvas.Draw(1, 1, picture);
    EXPECT_EQ(GetPixel(caller.Get(), 2, 2), RGB(0, 128, 0));
    EXPECT_TRUE(caller.HoldsItsOwnObjects());
    // Text through the bare context uses the font the caller selected.
    EXPECT_EQ(GetCurrentObject(canvas.BareHandle(), OBJ_FONT), caller.Font());
}

TEST(Frame3D, EdgesInTheirColoursRingByRingAndTheRectangleShrinks) {
    TBitmap bitmap;
    Paint(bitmap, 12, 10, [](int, int) { return Rgb{255, 255, 255}; });
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clLime);
    canvas->Brush()->SetColor(clYellow);
    const RECT outer{1, 1, 10, 9};
    RECT r = outer;
    Frame3D(*canvas, r, clRed, clBlue, 2);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 3);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.bottom, 7);

    const Rgb white{255, 255, 255}, red{255, 0, 0}, blue{0, 0, 255};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            Rgb expected = white;
            for (int ring = 0; ring < 2; ++ring) {
                const int left = outer.left + ring, top = outer.top + ring;
                const int right = outer.right - 1 - ring, bottom = outer.bottom - 1 - ring;
                const bool inside = x >= left && x <= right && y >= top && y <= bottom;
                if (!inside || (x != left && x != right && y != top && y != bottom)) continue;
                expected = (x == right || y == bottom) ? blue : red;
            }
            EXPECT_EQ(PixelOf(bitmap, x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(canvas->Pen()->Color(), clLime);
    EXPECT_EQ(canvas->Brush()->Color(), clYellow);
}

TEST(Font, PointsAndAssign) {
    TFont font;
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -MulDiv(12, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(font.Size(), 12);
    TFont copy;
    copy.SetName("Arial");
    copy.SetStyle(fsItalic | fsUnderline);
    font.Assign(&copy);
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Style(), fsItalic | fsUnderline);
    LOGFONTA lf{};
    GetObjectA(font.Handle(), sizeof(lf), &lf);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfStrikeOut);
}

TEST(Font, MadeFromASystemFontDescription) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    LOGFONTA given = metrics.lfCaptionFont;
    given.lfItalic = 1;
    given.lfWeight = FW_BOLD;
    TFont font;
    font.Handle();
    font.SetLogFont(given);
    LOGFONTA made{};
    ASSERT_EQ(GetObjectA(font.Handle(), sizeof(made), &made), static_cast<int>(sizeof(made)));
    EXPECT_STREQ(made.lfFaceName, given.lfFaceName);
    EXPECT_EQ(made.lfHeight, given.lfHeight);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_EQ(made.lfCharSet, given.lfCharSet);

    given.lfWeight = FW_NORMAL;
    given.lfItalic = 0;
    font.SetLogFont(given);
    EXPECT_EQ(font.Style(), 0);
}

}  // namespace
}  // namespace pellix
