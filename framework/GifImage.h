// GIF pictures on giflib: the first frame, not animated.
#pragma once

#include <memory>

#include "framework/DecodedGraphic.h"

namespace pellix {

class TGIFImage : public TDecodedGraphic {
public:
    std::string ClassName() const override { return "TGIFImage"; }
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    // The first frame on the screen's background, transparency ignored;
    // invalid data raises EInvalidGraphic.
    void Decode(const std::vector<uint8_t>& bytes, TBitmap& bitmap) const override;
};

}  // namespace pellix
