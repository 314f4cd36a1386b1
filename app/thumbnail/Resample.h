// Separable two-pass filtered resampling of 24-bit blue-green-red pixels with
// integer weights in units of 1/256. Portable: the Windows side hands it the
// rows of its bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/PixelRows.h"
#include "framework/SysUtils.h"

namespace pellix {

PELLIX_EXCEPTION(EResampleError, Exception);

enum class FilterKind : uint8_t {
    fkBox = 0,
    fkTriangle = 1,
    fkHermite = 2,
    fkBell = 3,
    fkBSpline = 4,
    fkLanczos3 = 5,
    fkMitchell = 6,
};
constexpr int FilterKindCount = 7;

using FilterKernel = float (*)(float);

float BoxKernel(float x);
float TriangleKernel(float x);
float HermiteKernel(float x);
float BellKernel(float x);
float BSplineKernel(float x);
float Lanczos3Kernel(float x);
float MitchellKernel(float x);
float SincFunction(float x);

FilterKernel KernelOf(FilterKind kind);
float FilterDefaultRadius(FilterKind kind);

struct Contributor {
    int32_t Weight;  // kernel value x 256, rounded
    int32_t Pixel;   // source index, already brought inside the line
    bool operator==(const Contributor&) const = default;
};

struct ContributorList {
    int32_t Count = 0;
    std::vector<Contributor> Contributors;  // the first Count are in use
};

// Source-to-target scale of one axis, stored in single precision as the
// weights are computed from it.
float AxisScale(int32_t targetLength, int32_t sourceLength);

// Weights of every target index along one axis.
std::vector<ContributorList> BuildContributorLists(int32_t targetLength, int32_t sourceLength,
                                                   FilterKernel kernel, float radius);

// The plain form of the passes' arithmetic: one source line split into
// integer channels, and the weighted sum of one target pixel. The passes use
// a packed form of the same sums.
struct ChannelBuffers {
    std::vector<int32_t> Red, Green, Blue;
    void Resize(size_t count);
};

void SplitChannels(ChannelBuffers& channels, int32_t count, ptrdiff_t step, const uint8_t* firstBlue);

struct Pixel24 {
    uint8_t Blue, Green, Red;
    bool operator==(const Pixel24&) const = default;
};

Pixel24 WeightedPixel(const ContributorList& list, const ChannelBuffers& channels);

constexpr int32_t ClampByte(int32_t value) {
    int32_t v = value < 255 ? value : 255;
    return v > 0 ? v : 0;
}

// Fills target from source. Threads take separate rows (then columns), so the
// result does not depend on how many run; threads == 0 picks by the size.
void ResamplePixels(FilterKernel kernel, const PixelRows& source, const PixelRows& target, float radius,
                    unsigned threads = 0);

// ResamplePixels with the kernel of a filter kind; a radius of 0 asks for the
// kind's default radius.
void StretchPixels(FilterKind kind, float radius, const PixelRows& source, const PixelRows& target,
                   unsigned threads = 0);

}  // namespace pellix
