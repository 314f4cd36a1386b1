// PNG pictures on libpng: their colours, transparency dropped.
#pragma once

#include <memory>

#include "framework/DecodedGraphic.h"

namespace pellix {

// Errors of the PNG decoder. Deliberately not an EInvalidGraphic: the main
// window reports invalid pictures of the other kinds itself and lets these
// go on to the application.
PELLIX_EXCEPTION(EPNGError, Exception);

class TPNGObject : public TDecodedGraphic {
public:
    std::string ClassName() const override { return "TPNGObject"; }
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    // Colours without transparency; invalid data raises EPNGError.
    void Decode(const std::vector<uint8_t>& bytes, TBitmap& bitmap) const override;
};

}  // namespace pellix
