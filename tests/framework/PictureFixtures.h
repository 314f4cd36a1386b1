// Small pictures of every kind, made by the tests themselves.
#pragma once

#include <windows.h>

#include <gif_lib.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Jpeg.h"

namespace pellix::fixtures {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, Rgb c) {
    return os << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

// A 24-bit bitmap painted pixel by pixel.
inline void Paint(TBitmap& bitmap, int width, int height, const std::function<Rgb(int x, int y)>& colour) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            Rgb c = colour(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
}

// Lossy kinds and smoothing move each channel a little.
inline bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline Rgb PixelOf(const TBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

// Any picture as 24-bit pixels: converted, or painted on white.
inline void ToPixels(const TGraphic& graphic, TBitmap& out) {
    if (dynamic_cast<const TIcon*>(&graphic) || dynamic_cast<const TMetafile*>(&graphic)) {
        out.SetPixelFormat(TPixelFormat::pf24bit);
        out.SetSize(graphic.Width(), graphic.Height());
        out.Canvas()->Brush()->SetColor(clWhite);
        out.Canvas()->FillRect({0, 0, graphic.Width(), graphic.Height()});
        out.Canvas()->Draw(0, 0, graphic);
    } else {
        out.Assign(&graphic);
    }
    out.SetPixelFormat(TPixelFormat::pf24bit);
}

inline Bytes Saved(const TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

// Four quadrants: red, green / blue, white.
inline Rgb Quadrant(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    if (!bottom) return right ? Rgb{0, 255, 0} : Rgb{255, 0, 0};
    return right ? Rgb{255, 255, 255} : Rgb{0, 0, 255};
}

inline Bytes BmpFile(int width, int height) {
    TBitmap bitmap;
    Paint(bitmap, width, height, [&](int x, int y) { return Quadrant(x, y, width, height); });
    return Saved(bitmap);
}

// A 2 x 2 8-bit bitmap stored top-down: indices 0 1 / 2 3 of a 4-colour table.
inline Bytes PalettedBmpFile() {
    const uint8_t palette[4][4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {10, 20, 30, 0}};
    const uint8_t pixels[2][4] = {{0, 1, 0, 0}, {2, 3, 0, 0}};
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = 2;
    h.biHeight = -2;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biClrUsed = 4;
    BITMAPFILEHEADER f{};
    f.bfType = 0x4D42;
    f.bfOffBits = sizeof(f) + sizeof(h) + sizeof(palette);
    f.bfSize = f.bfOffBits + sizeof(pixels);
    Bytes out(f.bfSize);
    std::memcpy(out.data(), &f, sizeof(f));
    std::memcpy(out.data() + sizeof(f), &h, sizeof(h));
    std::memcpy(out.data() + sizeof(f) + sizeof(h), palette, sizeof(palette));
    std::memcpy(out.data() + f.bfOffBits, pixels, sizeof(pixels));
    return out;
}

inline Bytes JpegFile(int width, int height, int quality = 95) {
    TBitmap bitmap;
    Paint(bitmap, width, height, [&](int x, int y) { return Quadrant(x, y, width, height); });
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetCompressionQuality(quality);
    return Saved(jpeg);
}

// A valid JPEG whose frame header claims 30000 x 30000 pixels.
inline Bytes HugeJpeg() {
    Bytes b = JpegFile(16, 16);
    for (size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = 30000 >> 8;
            b[i + 6] = 30000 & 0xFF;
            b[i + 7] = 30000 >> 8;
            b[i + 8] = 30000 & 0xFF;
            break;
        }
    return b;
}

// RGBA; the top-left pixel is fully transparent but keeps its colour.
inline Bytes PngFile(int width, int height) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = Quadrant(x, y, width, height);
            rgba.insert(rgba.end(), {c.r, c.g, c.b, static_cast<uint8_t>(x == 0 && y == 0 ? 0 : 255)});
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}

inline int WriteGifBytes(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

// Two frames: the first is the quadrants, the second all black.
inline Bytes GifFile(int width, int height) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteGifBytes, &error);
    GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 2, 0, map);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb c = Quadrant(x, y, width, height);
            line[x] = c == Rgb{255, 0, 0} ? 0 : c == Rgb{0, 255, 0} ? 1 : c == Rgb{0, 0, 255} ? 2 : 3;
        }
        EGifPutLine(gif, line.data(), width);
    }
    std::vector<GifPixelType> black(static_cast<size_t>(width), 0);
    ColorMapObject* blackMap = GifMakeMapObject(2, colours);
    blackMap->Colors[0] = {0, 0, 0};
    EGifPutImageDesc(gif, 0, 0, width, height, false, blackMap);
    for (int y = 0; y < height; ++y) EGifPutLine(gif, black.data(), width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    GifFreeMapObject(blackMap);
    return out;
}

// A 16 x 16 icon of 32 bits, opaque, in the quadrant colours.
inline Bytes IconFile() {
    constexpr int size = 16;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = size;
    h.biHeight = size * 2;  // colour and mask halves
    h.biPlanes = 1;
    h.biBitCount = 32;
    Bytes image(sizeof(h));
    std::memcpy(image.data(), &h, sizeof(h));
    for (int row = size - 1; row >= 0; --row)  // bottom-up
        for (int x = 0; x < size; ++x) {
            Rgb c = Quadrant(x, row, size, size);
            image.insert(image.end(), {c.b, c.g, c.r, 255});
        }
    image.insert(image.end(), size * 4, 0);  // mask rows of 32 bits: all shown
    // Directory of one entry, then the image.
    Bytes out(6 + 16);
    const uint8_t head[] = {0, 0, 1, 0, 1, 0, size, size, 0, 0, 1, 0, 32, 0};
    std::memcpy(out.data(), head, sizeof(head));
    auto bytes = static_cast<uint32_t>(image.size()), offset = 6u + 16u;
    std::memcpy(out.data() + 14, &bytes, 4);
    std::memcpy(out.data() + 18, &offset, 4);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

// A blue filled rectangle over the whole of a width x height pixel frame.
inline void DrawMetafileContent(HDC dc, int width, int height) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{0, 0, width, height};
    FillRect(dc, &r, blue);
    DeleteObject(blue);
}

inline Bytes EmfFile(int width, int height) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT frame{0, 0, MulDiv(width, 2540, dpiX), MulDiv(height, 2540, dpiY)};
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    DrawMetafileContent(dc, width, height);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    Bytes out(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(out.size()), out.data());
    DeleteEnhMetaFile(emf);
    return out;
}

// A placeable Windows metafile of width x height at 96 units per inch.
inline Bytes WmfFile(int width, int height) {
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    DrawMetafileContent(dc, width, height);
    HMETAFILE wmf = CloseMetaFile(dc);
    Bytes bits(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(wmf);
    uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<uint16_t>(width), static_cast<uint16_t>(height), 96,
                           0, 0, 0};
    for (int i = 0; i < 10; ++i) header[10] ^= header[i];
    Bytes out(reinterpret_cast<uint8_t*>(header), reinterpret_cast<uint8_t*>(header) + sizeof(header));
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

// A folder of its own below the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "pellix-pictures-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter_++) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        for (const auto& f : files_) DeleteFileA(f.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string file = path_ + name;
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        files_.push_back(file);
        return file;
    }

private:
    static inline int counter_ = 0;
    std::string path_;
    std::vector<std::string> files_;
};

}  // namespace pellix::fixtures
