// The size rule of a thumbnail. Portable.
#pragma once

#include <cstdint>

namespace pellix {

struct ThumbnailSize {
    int32_t Width = 0;
    int32_t Height = 0;
    double AspectRatio = 0;   // source width / height; set by the proportional rule only
    bool Proportioned = false;
};

// A source that fits the box keeps its size; otherwise it is fitted
// proportionally or stretched to the box. The proportional rule compares and
// divides in exact 64-bit integers: floating-point ratios lose a pixel in
// common cases (640 x 480 into 160 x 120). A fitted side never drops below 1
// pixel. Throws EResampleError for a source side below 1.
ThumbnailSize ComputeThumbnailSize(int32_t sourceWidth, int32_t sourceHeight, int32_t maxWidth, int32_t maxHeight,
                                   bool proportional);

}  // namespace pellix
