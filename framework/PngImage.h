// PNG pictures on libpng: their colours, transparency dropped.
#pragma once

#include <memory>

#include "framework/Graphics.h"

namespace pellix {

// Errors of the PNG decoder. Deliberately not an EInvalidGraphic: the main
// window reports invalid pictures of the other kinds itself and lets these
// go on to the application.
PELLIX_EXCEPTION(EPNGError, Exception);

class TPNGObject : public TGraphic {
public:
    TPNGObject();
    ~TPNGObject() override;
    std::string ClassName() const override { return "TPNGObject"; }
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;

    const TBitmap& Bitmap() const;

    // Invalid data raises EPNGError.
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
