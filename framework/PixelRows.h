// Rows of 24-bit blue-green-red pixels in memory, as codecs and the resampler
// take them. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pellix {

// RowStep is the address of row 1 minus that of row 0 (negative for bottom-up
// bitmaps), given even for a single row.
struct PixelRows {
    uint8_t* Row0 = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
    ptrdiff_t RowStep = 0;

    uint8_t* Row(int32_t y) const { return Row0 + static_cast<ptrdiff_t>(y) * RowStep; }
};

}  // namespace pellix
