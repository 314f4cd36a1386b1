#include "framework/GifImage.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

namespace pellix {

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

std::unique_ptr<TGraphic> TGIFImage::Clone() const {
    auto copy = std::make_unique<TGIFImage>();
    copy->Assign(this);
    return copy;
}

void TGIFImage::Decode(const std::vector<uint8_t>& bytes, TBitmap& bitmap) const {
    Reader reader{&bytes};
    GifFile file(reader);
    if (DGifSlurp(file.gif) != GIF_OK) InvalidGif(file.gif->Error);
    if (file.gif->ImageCount < 1 || file.gif->SWidth < 1 || file.gif->SHeight < 1) InvalidGif(D_GIF_ERR_NO_IMAG_DSCR);
    RenderFirstFrame(*file.gif, bitmap);
}

}  // namespace pellix
