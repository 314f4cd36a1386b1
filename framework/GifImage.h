// GIF pictures on giflib: the first frame, not animated.
#pragma once

#include <memory>

#include "framework/Graphics.h"

namespace pellix {

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;
    std::string ClassName() const override { return "TGIFImage"; }
    void Assign(const TPersistent* source) override;

    // The logical screen of the file.
    int Width() const override;
    int Height() const override;

    // The first frame on the screen's background, transparency ignored.
    const TBitmap& Bitmap() const;

    // Invalid data raises EInvalidGraphic.
    void LoadFromStream(TStream& stream) override;
    // The file as it was read.
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    struct Data;
    std::shared_ptr<const Data> data_;
};

}  // namespace pellix
