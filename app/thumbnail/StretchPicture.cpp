#include "app/thumbnail/StretchPicture.h"

#include <utility>

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

}  // namespace

void StretchPicture(int32_t newWidth, int32_t newHeight, FilterKind filter, float radius, const TGraphic& source,
                    TBitmap& target) {
    TBitmap work;
    ToBitmap(source, work);
    target.FreeImage();
    target.SetPixelFormat(TPixelFormat::pf24bit);
    target.SetSize(newWidth, newHeight);
    Require24Bit(work);
    Require24Bit(target);
    // Read through the const form: the source's pixels stay shared.
    StretchPixels(filter, radius, RowsOf(std::as_const(work)), RowsOf(target));
}

}  // namespace pellix
