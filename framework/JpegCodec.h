// JPEG reading and writing over rows of 24-bit blue-green-red pixels, on
// libjpeg. Portable: the picture class and the benchmarks share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/PixelRows.h"
#include "framework/SysUtils.h"

namespace pellix {

// Data libjpeg cannot read, with libjpeg's own message.
PELLIX_EXCEPTION(EJPEGError, EInvalidGraphic);

struct JpegHeader {
    int32_t Width = 0;
    int32_t Height = 0;
};

JpegHeader ReadJpegHeader(const uint8_t* data, size_t size);

// Decodes into rows of exactly the header's size. Damaged data past a valid
// header gives what libjpeg could read, as viewers show it.
void DecodeJpeg(const uint8_t* data, size_t size, const PixelRows& target);

// 3 RGB components with the library's defaults, the given quality (1..100)
// with baseline tables, the floating-point transform, not progressive.
std::vector<uint8_t> EncodeJpeg(const PixelRows& source, int quality);

}  // namespace pellix
