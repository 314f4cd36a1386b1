// Pictures read whole from a file and decoded at once into 24-bit pixels
// (GIF, PNG): the file's bytes are kept for saving, the pixels for drawing,
// and copies share both.
#pragma once

#include <memory>
#include <vector>

#include "framework/Graphics.h"

namespace pellix {

class TDecodedGraphic : public TGraphic {
public:
    // A graphic of the same class is shared; others as TGraphic takes them.
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    // The decoded pixels; raises EInvalidGraphicOperation while empty.
    const TBitmap& Bitmap() const;
    const TBitmap* Pixels() const override { return &Bitmap(); }

    // Reads to the end of the stream and decodes.
    void LoadFromStream(TStream& stream) override;
    // The file as it was read.
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;

protected:
    // Fills bitmap from the file's bytes, or raises the kind's error.
    virtual void Decode(const std::vector<uint8_t>& bytes, TBitmap& bitmap) const = 0;

private:
    struct Data {
        std::vector<uint8_t> bytes;
        TBitmap bitmap;
    };
    std::shared_ptr<const Data> data_;
};

}  // namespace pellix
