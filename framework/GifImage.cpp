#include "framework/GifImage.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

namespace pellix {

struct TGIFImage::Data {
    std::vector<uint8_t> bytes;
    TBitmap bitmap;
};

namespace {

struct Reader {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int count) {
    auto* r = static_cast<Reader*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(std::max(count, 0)), r->bytes->size() - r->position);
    std::memcpy(buffer, r->bytes->data() + r->position, n);
    r->position += n;
    return static_cast<int>(n);
}

[[noreturn]] void InvalidGif(int error) {
    const char* why = GifErrorString(error);
    throw EInvalidGraphic(std::string("GIF image is not valid") + (why != nullptr ? std::string(": ") + why : ""));
}

struct GifFile {
    GifFileType* gif = nullptr;
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;
    explicit GifFile(Reader& reader) {
        int error = 0;
        gif = DGifOpen(&reader, ReadBytes, &error);
        if (gif == nullptr) InvalidGif(error);
    }
    ~GifFile() {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

void PutColor(uint8_t* at, const GifColorType& c) {
    at[0] = c.Blue;
    at[1] = c.Green;
    at[2] = c.Red;
}

// Paints the first frame onto a picture of the logical screen.
void RenderFirstFrame(const GifFileType& gif, TBitmap& bitmap) {
    const SavedImage& frame = gif.SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif.SColorMap;
    if (map == nullptr || frame.RasterBits == nullptr) InvalidGif(D_GIF_ERR_NO_COLOR_MAP);
    GifColorType background{255, 255, 255};
    if (gif.SColorMap != nullptr && gif.SBackGroundColor >= 0 && gif.SBackGroundColor < gif.SColorMap->ColorCount)
        background = gif.SColorMap->Colors[gif.SBackGroundColor];

    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(gif.SWidth, gif.SHeight);
    const GifImageDesc& d = frame.ImageDesc;
    for (int y = 0; y < gif.SHeight; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < gif.SWidth; ++x) PutColor(row + 3 * x, background);
        const int fy = y - d.Top;
        if (fy < 0 || fy >= d.Height) continue;
        for (int fx = std::max(0, -d.Left); fx < d.Width && d.Left + fx < gif.SWidth; ++fx) {
            const int index = frame.RasterBits[static_cast<size_t>(fy) * d.Width + fx];
            if (index < map->ColorCount) PutColor(row + 3 * (d.Left + fx), map->Colors[index]);
        }
    }
}

}  // namespace

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

int TGIFImage::Width() const { return data_ ? data_->bitmap.Width() : 0; }
int TGIFImage::Height() const { return data_ ? data_->bitmap.Height() : 0; }

const TBitmap& TGIFImage::Bitmap() const {
    if (!data_) throw EInvalidGraphicOperation("GIF picture is empty");
    return data_->bitmap;
}

void TGIFImage::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TGIFImage*>(source)) {
        data_ = other->data_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TGIFImage::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(&Bitmap());
        return;
    }
    TGraphic::AssignTo(dest);
}

std::unique_ptr<TGraphic> TGIFImage::Clone() const {
    auto copy = std::make_unique<TGIFImage>();
    copy->Assign(this);
    return copy;
}

void TGIFImage::LoadFromStream(TStream& stream) {
    auto data = std::make_shared<Data>();
    int64_t count = std::max<int64_t>(stream.Size() - stream.Position(), 0);
    data->bytes.resize(static_cast<size_t>(count));
    stream.ReadBuffer(data->bytes.data(), count);
    Reader reader{&data->bytes};
    GifFile file(reader);
    if (DGifSlurp(file.gif) != GIF_OK) InvalidGif(file.gif->Error);
    if (file.gif->ImageCount < 1 || file.gif->SWidth < 1 || file.gif->SHeight < 1) InvalidGif(D_GIF_ERR_NO_IMAG_DSCR);
    RenderFirstFrame(*file.gif, data->bitmap);
    data_ = std::move(data);
    Changed();
}

void TGIFImage::SaveToStream(TStream& stream) const {
    if (data_) stream.WriteBuffer(data_->bytes.data(), static_cast<int64_t>(data_->bytes.size()));
}

void TGIFImage::Draw(TCanvas& canvas, const RECT& rect) const {
    if (data_) data_->bitmap.Draw(canvas, rect);
}

}  // namespace pellix
