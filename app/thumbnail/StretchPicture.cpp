#include "app/thumbnail/StretchPicture.h"

namespace pellix {

namespace {

bool PaintedOnly(const TGraphic& graphic) {
    return dynamic_cast<const TIcon*>(&graphic) != nullptr || dynamic_cast<const TMetafile*>(&graphic) != nullptr;
}

void ToBitmap(const TGraphic& source, TBitmap& bitmap) {
    if (PaintedOnly(source)) {
        bitmap.SetPixelFormat(TPixelFormat::pf24bit);
        bitmap.SetSize(source.Width(), source.Height());
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect({0, 0, source.Width(), source.Height()});
        canvas->Draw(0, 0, source);
    } else {
        bitmap.Assign(&source);
    }
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

void Require24Bit(const TBitmap& bitmap) {
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit || bitmap.Empty())
        throw EInvalidGraphicOperation("Resampling needs a 24-bit bitmap");
}

// The source's rows are only read; the const ScanLine keeps its pixels shared.
PixelRows RowsOf(const TBitmap& bitmap) {
    Require24Bit(bitmap);
    return {const_cast<uint8_t*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height(), bitmap.RowStep()};
}

PixelRows RowsOf(TBitmap& bitmap) {
    Require24Bit(bitmap);
    return {bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStep()};
}

}  // namespace

void StretchPicture(int32_t newWidth, int32_t newHeight, FilterKind filter, float radius, const TGraphic& source,
                    TBitmap& target) {
    TBitmap work;
    ToBitmap(source, work);
    target.FreeImage();
    target.SetPixelFormat(TPixelFormat::pf24bit);
    target.SetSize(newWidth, newHeight);
    StretchPixels(filter, radius, RowsOf(work), RowsOf(target));
}

}  // namespace pellix
