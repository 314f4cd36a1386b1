// What makes the batch fast must not change what it produces: a picture
// decoded ahead on a worker has exactly the pixels of one decoded in place,
// and an image shows a large picture smoothly at its painted size.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Jpeg.h"
#include "tests/framework/PictureFixtures.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

using namespace fixtures;

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Width()) * 3) != 0) return false;
    return true;
}

TEST(DecodeAhead, GivesThePixelsOfAnOrdinaryDecodeAndOnlyToTheSameBytes) {
    TempFolder folder;
    const std::string first = folder.Write("first.jpg", JpegFile(320, 200));
    const std::string second = folder.Write("second.jpg", JpegFile(200, 320, 70));

    TPicture plain;
    plain.LoadFromFile(first);
    const TBitmap* expected = plain.Graphic()->Pixels();

    DecodeAheadJpegFile(first);
    TPicture ahead;
    ahead.LoadFromFile(first);
    EXPECT_TRUE(SamePixels(*ahead.Graphic()->Pixels(), *expected));

    // A result for other bytes is not taken: the picture decodes its own.
    DecodeAheadJpegFile(first);
    TPicture other;
    other.LoadFromFile(second);
    EXPECT_EQ(other.Graphic()->Pixels()->Width(), 200);
    EXPECT_EQ(other.Graphic()->Pixels()->Height(), 320);

    // A file that cannot be read ahead changes nothing for the next load.
    DecodeAheadJpegFile(folder.Write("broken.jpg", Bytes{0xFF, 0xD8, 0x00}));
    TPicture after;
    after.LoadFromFile(first);
    EXPECT_TRUE(SamePixels(*after.Graphic()->Pixels(), *expected));
}

Bytes SolidJpeg(Rgb colour) {
    TBitmap bitmap;
    Paint(bitmap, 64, 48, [&](int, int) { return colour; });
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    return Saved(jpeg);
}

// Pixels let go during a batch are decoded into again; a bitmap that still
// shows them keeps its picture.
TEST(DecodeAhead, ReusesOnlyPixelsNoOtherBitmapShows) {
    TempFolder folder;
    const Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    const std::string redFile = folder.Write("red.jpg", SolidJpeg(red));
    const std::string blueFile = folder.Write("blue.jpg", SolidJpeg(blue));
    const std::string greenFile = folder.Write("green.jpg", SolidJpeg(green));
    for (bool share : {false, true}) {
        SCOPED_TRACE(share ? "pixels shown elsewhere" : "pixels let go");
        TBitmap kept;
        DecodeAheadJpegFile(redFile);
        DecodeAheadJpegFile(blueFile);
        {
            TPicture first;
            first.LoadFromFile(redFile);
            if (share) kept.Assign(first.Graphic());
        }  // let go while the blue picture is still ahead
        DecodeAheadJpegFile(greenFile);
        TPicture second, third;
        second.LoadFromFile(blueFile);
        third.LoadFromFile(greenFile);
        EXPECT_TRUE(Near(PixelOf(*second.Graphic()->Pixels(), 10, 10), blue, 7));
        EXPECT_TRUE(Near(PixelOf(*third.Graphic()->Pixels(), 10, 10), green, 7));
        if (share) EXPECT_TRUE(Near(PixelOf(kept, 10, 10), red, 7)) << PixelOf(kept, 10, 10);
    }
}

TEST(ImagePreview, ShowsALargePictureAveragedAtItsPaintedSize) {
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    form->SetBounds(10, 10, 300, 300);
    auto* image = new TImage(form.get());  // owned by the form
    image->SetParent(form.get());
    image->SetBounds(0, 0, 100, 100);
    image->Stretch = true;
    // Columns alternating black and white: a smooth preview is grey, a
    // picked one black or white.
    TBitmap stripes;
    Paint(stripes, 400, 400, [](int x, int) { return x % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; });
    image->Picture()->SetGraphic(&stripes);
    form->Show();
    test::PumpMessages();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    HDC dc = GetDC(form->Handle());
    COLORREF c = GetPixel(dc, 50, 50);
    ReleaseDC(form->Handle(), dc);
    EXPECT_NEAR(GetRValue(c), 127, 8);
    EXPECT_NEAR(GetGValue(c), 127, 8);
    EXPECT_NEAR(GetBValue(c), 127, 8);
}

}  // namespace
}  // namespace pellix
