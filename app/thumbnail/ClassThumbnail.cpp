#include "app/thumbnail/ClassThumbnail.h"

#include <cstdlib>
#include <limits>

#include "app/thumbnail/StretchPicture.h"
#include "app/thumbnail/ThumbnailSize.h"

namespace pellix {

namespace {

int32_t Magnitude(int32_t value) {
    // |INT32_MIN| does not fit: the largest limit stands in for it.
    if (value == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
    return std::abs(value);
}

struct KindCode {
    const char* className;
    uint8_t code;
};

// Tested in this order, each on its own: a later match wins. Only the exact
// class name counts, so a derived class matches none.
constexpr KindCode kKindCodes[] = {{"TJPEGImage", 0}, {"TBitmap", 1}, {"TGIFImage", 2},
                                   {"TPNGObject", 2}, {"TIcon", 3},   {"TMetafile", 5}};

}  // namespace

TThumbnail::TThumbnail() : resultBitmap_(std::make_unique<TBitmap>()), sourcePicture_(std::make_unique<TPicture>()) {}

TThumbnail::~TThumbnail() {
    resultBitmap_.reset();
    sourcePicture_.reset();
}

void TThumbnail::SetMaxHeight(int32_t value) { maxHeight_ = Magnitude(value); }

void TThumbnail::SetMaxWidth(int32_t value) { maxWidth_ = Magnitude(value); }

void TThumbnail::AssignPicture(const TPersistent* source) {
    try {
        const auto* picture = dynamic_cast<const TPicture*>(source);
        if (picture == nullptr || picture->Graphic() == nullptr)
            throw EInvalidGraphicOperation("No picture to make a thumbnail of");
        const std::string name = picture->Graphic()->ClassName();
        for (const KindCode& kind : kKindCodes)
            if (name == kind.className) pictureType_ = kind.code;
        sourcePicture_->Assign(picture);
    } catch (...) {
        // Every error is swallowed here; the object keeps what it had.
    }
}

bool TThumbnail::MakeThumbnail() { return BuildThumbnail(); }

bool TThumbnail::BuildThumbnail() {
    try {
        const TGraphic* source = sourcePicture_->Graphic();
        if (source == nullptr) throw EInvalidGraphicOperation("No picture to make a thumbnail of");
        sourceHeight_ = source->Height();
        sourceWidth_ = source->Width();
        ThumbnailSize size = ComputeThumbnailSize(sourceWidth_, sourceHeight_, maxWidth_, maxHeight_, proportional_);
        if (size.Proportioned) aspectRatio_ = size.AspectRatio;
        StretchPicture(size.Width, size.Height, resampleFilter_, static_cast<float>(filterRadius_), *source,
                       *resultBitmap_);
        sourcePicture_->Assign(nullptr);
        return true;
    } catch (...) {
        // Any failure, whatever its kind, ends in the error image.
        DrawErrorImage();
        return false;
    }
}

void TThumbnail::DrawErrorImage() {
    sourceHeight_ = 0;
    sourceWidth_ = 0;
    resultBitmap_->SetSize(maxWidth_, maxHeight_);
    TCanvas* canvas = resultBitmap_->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect({0, 0, maxWidth_, maxHeight_});
    canvas->Pen()->SetColor(clRed);
    canvas->MoveTo(0, 0);
    canvas->LineTo(maxWidth_, maxHeight_);
    canvas->MoveTo(0, maxHeight_);
    canvas->LineTo(maxWidth_, 0);
}

}  // namespace pellix
