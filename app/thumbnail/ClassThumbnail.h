// One picture into one thumbnail bitmap.
#pragma once

#include <cstdint>
#include <memory>

#include "app/thumbnail/Resample.h"
#include "framework/Graphics.h"

namespace pellix {

class TThumbnail : public TPersistent {
public:
    TThumbnail();
    ~TThumbnail() override;
    std::string ClassName() const override { return "TThumbnail"; }

    // The picture assignment: Source is a TPicture.
    void Assign(const TPersistent* source) override { AssignPicture(source); }

    void SetProportional(bool proportional) { proportional_ = proportional; }
    void SetMaxHeight(int32_t value);  // stores the absolute value
    int32_t GetMaxHeight() const { return maxHeight_; }
    void SetMaxWidth(int32_t value);
    int32_t GetMaxWidth() const { return maxWidth_; }
    // The owned result: the caller copies from it and never frees it.
    TBitmap* GetBitmap() const { return resultBitmap_.get(); }
    uint8_t GetPictureType() const { return pictureType_; }

    // Records the picture's kind and keeps a copy of it. Every error is
    // swallowed: the object then keeps what it had.
    void AssignPicture(const TPersistent* source);
    // False when the result is the error image.
    bool MakeThumbnail();

    double AspectRatio() const { return aspectRatio_; }
    bool Proportional() const { return proportional_; }
    int32_t SourceWidth() const { return sourceWidth_; }
    int32_t SourceHeight() const { return sourceHeight_; }
    FilterKind ResampleFilter() const { return resampleFilter_; }
    int32_t FilterRadius() const { return filterRadius_; }
    const TPicture* SourcePicture() const { return sourcePicture_.get(); }

private:
    bool BuildThumbnail();
    void DrawErrorImage();

    double aspectRatio_ = 0;
    bool proportional_ = true;
    uint8_t pictureType_ = 0;
    int32_t maxHeight_ = 100;
    int32_t maxWidth_ = 100;
    int32_t sourceHeight_ = 0;
    int32_t sourceWidth_ = 0;
    FilterKind resampleFilter_ = FilterKind::fkTriangle;
    int32_t filterRadius_ = 0;
    std::unique_ptr<TBitmap> resultBitmap_;
    std::unique_ptr<TPicture> sourcePicture_;
};

}  // namespace pellix
