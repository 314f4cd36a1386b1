// JPEG pictures on libjpeg.
#pragma once

#include <memory>

#include "framework/Graphics.h"
#include "framework/JpegCodec.h"

namespace pellix {

// Holds the compressed data, the pixels, or both. Loading reads only the
// header; the pixels are decoded when first needed, once, and copies share
// them. Assigning a bitmap holds its pixels until Compress.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    std::string ClassName() const override { return "TJPEGImage"; }
    // Takes another JPEG picture (shared) or a bitmap (its pixels).
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;

    // 1..100; used by the next Compress. The framework's default is 90.
    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);
    // Encodes the held pixels at CompressionQuality.
    void Compress();

    // The decoded pixels (24-bit); raises what decoding raises, every time.
    const TBitmap& Bitmap() const;
    const TBitmap* Pixels() const override { return &Bitmap(); }

    // Invalid data raises EJPEGError, an EInvalidGraphic.
    void LoadFromStream(TStream& stream) override;
    // Compresses first when only pixels are held.
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    struct Shared;
    std::vector<uint8_t> Encode() const;
    std::shared_ptr<Shared> shared_;
    int quality_ = 90;
};

// Starts reading and decoding a JPEG file on a worker thread, so that the
// picture that next loads exactly these bytes finds its pixels ready; the
// picture still reads the file itself, so every error comes as before. Two
// files at most: a further call drops the oldest result nobody took.
void DecodeAheadJpegFile(const std::string& fileName);

}  // namespace pellix
