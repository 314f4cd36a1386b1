// The pixels of a 24-bit bitmap file as the skin painter writes it, for the
// native tests, which have no bitmap loader.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace pellix {

struct TBmpPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // colour values, red in the low byte, top row first

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + x]; }
};

// None unless the bytes are a whole uncompressed 24-bit bottom-up bitmap file.
inline std::optional<TBmpPixels> ReadBmp24(const std::vector<uint8_t>& file) {
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                                     static_cast<uint32_t>(file[at + 3]) << 24);
    };
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const uint32_t offset = u32(10);
    const auto width = static_cast<int32_t>(u32(18)), height = static_cast<int32_t>(u32(22));
    const int bits = file[28] | file[29] << 8;
    if (u32(14) != 40 || bits != 24 || u32(30) != 0 || width <= 0 || height <= 0) return std::nullopt;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (offset + stride * static_cast<size_t>(height) != file.size()) return std::nullopt;
    TBmpPixels pixels{width, height, {}};
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = file.data() + offset + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
            pixels.Pixels.push_back(row[3 * x + 2] | row[3 * x + 1] << 8 | static_cast<uint32_t>(row[3 * x]) << 16);
    }
    return pixels;
}

}  // namespace pellix
