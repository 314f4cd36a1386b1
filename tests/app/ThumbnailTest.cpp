#include "app/thumbnail/ClassThumbnail.h"

#include <gtest/gtest.h>

#include "app/thumbnail/StretchPicture.h"
#include "framework/GifImage.h"
#include "framework/Jpeg.h"
#include "framework/PngImage.h"
#include "tests/framework/PictureFixtures.h"

namespace pellix {
namespace {

using namespace fixtures;

Rgb Pattern(int x, int y) {
    return {static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), static_cast<uint8_t>((x + y) & 0xFF)};
}

void BitmapPicture(TPicture& picture, int width, int height) {
    TBitmap bitmap;
    Paint(bitmap, width, height, Pattern);
    picture.SetGraphic(&bitmap);
}

struct SizeCase {
    int sourceWidth, sourceHeight, maxWidth, maxHeight;
    bool proportional;
    int width, height;
};

TEST(Thumbnail, SizeRuleAndSourceFields) {
    const SizeCase cases[] = {
        {640, 480, 100, 100, true, 100, 75},  {480, 640, 100, 100, true, 75, 100},
        {1000, 333, 100, 100, true, 100, 33}, {300, 50, 100, 100, false, 100, 100},
        {640, 480, 160, 120, true, 160, 120}, {1000, 5, 100, 100, true, 100, 1},
    };
    TThumbnail thumbnail;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceWidth << "x" << c.sourceHeight);
        TPicture picture;
        BitmapPicture(picture, c.sourceWidth, c.sourceHeight);
        thumbnail.SetMaxWidth(c.maxWidth);
        thumbnail.SetMaxHeight(c.maxHeight);
        thumbnail.SetProportional(c.proportional);
        thumbnail.AssignPicture(&picture);
        ASSERT_TRUE(thumbnail.MakeThumbnail());
        TBitmap* result = thumbnail.GetBitmap();
        EXPECT_EQ(result->Width(), c.width);
        EXPECT_EQ(result->Height(), c.height);
        EXPECT_EQ(result->PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(thumbnail.SourceWidth(), c.sourceWidth);
        EXPECT_EQ(thumbnail.SourceHeight(), c.sourceHeight);
        EXPECT_EQ(thumbnail.SourcePicture()->Graphic(), nullptr) << "the source copy is released";
    }
    EXPECT_DOUBLE_EQ(thumbnail.AspectRatio(), 200.0) << "from the last proportional build";
}

TEST(Thumbnail, SmallPictureKeepsEveryPixel) {
    TPicture picture;
    BitmapPicture(picture, 80, 60);
    const auto& source = dynamic_cast<const TBitmap&>(*picture.Graphic());
    for (bool proportional : {true, false}) {
        TThumbnail thumbnail;
        thumbnail.SetProportional(proportional);
        thumbnail.AssignPicture(&picture);
        ASSERT_TRUE(thumbnail.MakeThumbnail());
        const TBitmap& result = *thumbnail.GetBitmap();
        ASSERT_EQ(result.Width(), 80);
        ASSERT_EQ(result.Height(), 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) ASSERT_EQ(PixelOf(result, x, y), PixelOf(source, x, y)) << x << "," << y;
    }
}

void ExpectErrorImage(const TThumbnail& thumbnail, int width, int height) {
    const TBitmap& image = *thumbnail.GetBitmap();
    ASSERT_EQ(image.Width(), width);
    ASSERT_EQ(image.Height(), height);
    TBitmap pixels;
    pixels.Assign(&image);
    pixels.SetPixelFormat(TPixelFormat::pf24bit);
    const Rgb red{255, 0, 0}, white{255, 255, 255};
    for (int i = 0; i < std::min(width, height); ++i) EXPECT_EQ(PixelOf(pixels, i, i), red) << i;
    EXPECT_EQ(PixelOf(pixels, width - 1, 1), red) << "second line, from the bottom-left corner";
    EXPECT_EQ(PixelOf(pixels, 1, height - 1), red);
    EXPECT_EQ(PixelOf(pixels, width - 1, 0), white) << "its end point is left out";
    EXPECT_EQ(PixelOf(pixels, width / 2, 3), white);
    EXPECT_EQ(thumbnail.SourceWidth(), 0);
    EXPECT_EQ(thumbnail.SourceHeight(), 0);
}

TEST(Thumbnail, FailedBuildGivesTheErrorImage) {
    TempFolder folder;
    std::vector<std::pair<std::string, std::function<void(TPicture&)>>> sources = {
        {"nothing assigned", [](TPicture&) {}},
        {"empty bitmap", [](TPicture& p) { p.Bitmap(); }},
        {"picture too large to hold", [&](TPicture& p) { p.LoadFromFile(folder.Write("huge.jpg", HugeJpeg())); }},
    };
    for (const auto& [name, fill] : sources) {
        SCOPED_TRACE(name);
        TPicture picture;
        fill(picture);
        TThumbnail thumbnail;
        thumbnail.SetMaxWidth(88);
        thumbnail.SetMaxHeight(88);
        thumbnail.AssignPicture(&picture);
        EXPECT_FALSE(thumbnail.MakeThumbnail());
        ExpectErrorImage(thumbnail, 88, 88);
    }
}

TEST(Thumbnail, LimitsAreMagnitudesAndAReleasedSourceCannotBeBuiltAgain) {
    TThumbnail thumbnail;
    TPicture picture;
    BitmapPicture(picture, 10, 10);
    thumbnail.AssignPicture(&picture);
    ASSERT_TRUE(thumbnail.MakeThumbnail());
    thumbnail.SetMaxWidth(-120);
    thumbnail.SetMaxHeight(0);
    EXPECT_EQ(thumbnail.GetMaxWidth(), 120);
    EXPECT_FALSE(thumbnail.MakeThumbnail()) << "the source was released by the good build";
    EXPECT_EQ(thumbnail.GetBitmap()->Width(), 120);
    EXPECT_EQ(thumbnail.GetBitmap()->Height(), 0);
}

class TDerivedBitmap : public TBitmap {
public:
    std::string ClassName() const override { return "TDerivedBitmap"; }
    std::unique_ptr<TGraphic> Clone() const override {
        auto copy = std::make_unique<TDerivedBitmap>();
        copy->Assign(this);
        return copy;
    }
};

TEST(Thumbnail, PictureTypeFollowsTheExactClassName) {
    TempFolder folder;
    const std::vector<std::pair<std::string, int>> kinds = {
        {folder.Write("a.jpg", JpegFile(8, 8)), 0}, {folder.Write("a.bmp", BmpFile(4, 4)), 1},
        {folder.Write("a.gif", GifFile(4, 4)), 2},  {folder.Write("a.ico", IconFile()), 3},
        {folder.Write("a.png", PngFile(4, 4)), 2},  {folder.Write("a.emf", EmfFile(8, 8)), 5},
    };
    TThumbnail thumbnail;
    for (const auto& [file, code] : kinds) {
        TPicture picture;
        picture.LoadFromFile(file);
        thumbnail.AssignPicture(&picture);
        EXPECT_EQ(thumbnail.GetPictureType(), code) << file;
        EXPECT_EQ(thumbnail.SourcePicture()->Graphic()->ClassName(), picture.Graphic()->ClassName());
    }

    TDerivedBitmap derived;
    Paint(derived, 3, 3, Pattern);
    TPicture other;
    other.SetGraphic(&derived);
    thumbnail.AssignPicture(&other);
    EXPECT_EQ(thumbnail.GetPictureType(), 5) << "a derived class matches no name";
    EXPECT_EQ(thumbnail.SourcePicture()->Graphic()->ClassName(), "TDerivedBitmap");

    TPicture empty;
    thumbnail.AssignPicture(&empty);
    EXPECT_EQ(thumbnail.GetPictureType(), 5);
    EXPECT_EQ(thumbnail.SourcePicture()->Graphic()->ClassName(), "TDerivedBitmap") << "kept after the error";
}

TEST(Thumbnail, EveryReadablePictureKindGetsARealThumbnail) {
    TempFolder folder;
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"k.jpg", JpegFile(200, 100)}, {"k.gif", GifFile(200, 100)}, {"k.png", PngFile(200, 100)},
        {"k.bmp", BmpFile(200, 100)},  {"k.ico", IconFile()},         {"k.emf", EmfFile(200, 100)},
        {"k.wmf", WmfFile(200, 100)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        TPicture picture;
        picture.LoadFromFile(folder.Write(name, bytes));
        TThumbnail thumbnail;
        thumbnail.SetMaxWidth(50);
        thumbnail.SetMaxHeight(50);
        thumbnail.AssignPicture(&picture);
        ASSERT_TRUE(thumbnail.MakeThumbnail());
        const TBitmap& result = *thumbnail.GetBitmap();
        const bool icon = name == "k.ico";
        EXPECT_EQ(result.Width(), icon ? 16 : 50);
        EXPECT_EQ(result.Height(), icon ? 16 : 25);
        const bool metafile = name == "k.emf" || name == "k.wmf";
        Rgb expected = metafile ? Rgb{0, 0, 255} : Rgb{255, 0, 0};  // top-left quadrant, or all blue
        Rgb got = PixelOf(result, 2, 2);
        EXPECT_LE(std::abs(got.r - expected.r) + std::abs(got.g - expected.g) + std::abs(got.b - expected.b), 30)
            << got;
    }
}

TEST(Thumbnail, DegenerateSizesAreResampled) {
    struct Case {
        int sourceWidth, sourceHeight, maxWidth, maxHeight;
        bool proportional;
        int width, height;
    };
    const Case cases[] = {
        {300, 1, 100, 100, true, 100, 1},  // one row in, one row out
        {1, 300, 100, 100, true, 1, 100},
        {50, 40, 1, 1, false, 1, 1},
        {3, 200, 100, 100, false, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceWidth << "x" << c.sourceHeight);
        TPicture picture;
        TBitmap grey;
        Paint(grey, c.sourceWidth, c.sourceHeight, [](int, int) { return Rgb{90, 90, 90}; });
        picture.SetGraphic(&grey);
        TThumbnail thumbnail;
        thumbnail.SetMaxWidth(c.maxWidth);
        thumbnail.SetMaxHeight(c.maxHeight);
        thumbnail.SetProportional(c.proportional);
        thumbnail.AssignPicture(&picture);
        ASSERT_TRUE(thumbnail.MakeThumbnail());
        const TBitmap& result = *thumbnail.GetBitmap();
        EXPECT_EQ(result.Width(), c.width);
        EXPECT_EQ(result.Height(), c.height);
        EXPECT_EQ(PixelOf(result, c.width - 1, c.height - 1), (Rgb{90, 90, 90})) << "an even area stays even";
    }
}

TEST(StretchPicture, RadiusZeroAndBottomUpTargets) {
    TBitmap source;
    Paint(source, 5, 1, [](int x, int) {
        static const uint8_t v[] = {0, 100, 200, 100, 0};
        return Rgb{v[x], v[x], v[x]};
    });
    TBitmap target;
    StretchPicture(3, 1, FilterKind::fkTriangle, 0, source, target);
    EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(PixelOf(target, 0, 0).g, 50);
    EXPECT_EQ(PixelOf(target, 1, 0).g, 150);
    EXPECT_EQ(PixelOf(target, 2, 0).g, 25);
}

}  // namespace
}  // namespace pellix
