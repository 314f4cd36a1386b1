#include "app/thumbnail/Resample.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <thread>

namespace pellix {

// The weights must come out as the original's x87 arithmetic gave them:
// intermediates in 80-bit extended precision, stored values in single.
static_assert(std::numeric_limits<long double>::digits == 64, "needs 80-bit long double");

namespace {

using Ext = long double;

constexpr Ext Pi = 3.14159265358979323846264338327950288L;

float Single(Ext value) { return static_cast<float>(value); }

}  // namespace

float BoxKernel(float x) {
    // x itself, not |x|: the kernel is 1 at +0.5 and 0 at -0.5.
    return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleKernel(float x) {
    Ext a = std::fabs(x);
    return a < 1 ? Single(1 - a) : 0.0f;
}

float HermiteKernel(float x) {
    Ext a = std::fabs(x);
    return a < 1 ? Single((2 * a - 3) * (a * a) + 1) : 0.0f;
}

float BellKernel(float x) {
    Ext a = std::fabs(x);
    if (a < 0.5L) return Single(0.75L - a * a);
    if (a < 1.5L) {
        Ext t = Single(a - 1.5L);
        return Single(0.5L * (t * t));
    }
    return 0.0f;
}

float BSplineKernel(float x) {
    Ext a = std::fabs(x);
    if (a < 1) {
        Ext tt = Single(a * a);
        return Single(0.5L * tt * a - tt + 2.0L / 3.0L);
    }
    if (a < 2) {
        Ext t = Single(2 - a);
        return Single(t * t * t / 6);
    }
    return 0.0f;
}

float SincFunction(float x) {
    if (x == 0) return 1.0f;
    Ext p = Single(Pi * x);
    return Single(std::sin(p) / p);
}

float Lanczos3Kernel(float x) {
    float a = std::fabs(x);
    if (a >= 3) return 0.0f;
    return Single(static_cast<Ext>(SincFunction(a)) * SincFunction(Single(a / 3.0L)));
}

float MitchellKernel(float x) {
    // Mitchell-Netravali with B = C = 1/3.
    Ext a = std::fabs(x);
    Ext tt = Single(a * a);
    if (a < 1) {
        Ext numerator = Single(7 * (a * tt) - 12 * tt + 16.0L / 3.0L);
        return Single(numerator / 6);
    }
    if (a < 2) {
        Ext numerator = Single(-(7.0L / 3.0L) * (a * tt) + 12 * tt - 20 * a + 32.0L / 3.0L);
        return Single(numerator / 6);
    }
    return 0.0f;
}

FilterKernel KernelOf(FilterKind kind) {
    static constexpr FilterKernel kernels[FilterKindCount] = {
        BoxKernel, TriangleKernel, HermiteKernel, BellKernel, BSplineKernel, Lanczos3Kernel, MitchellKernel};
    auto index = static_cast<unsigned>(kind);
    if (index >= FilterKindCount) throw EResampleError("Unknown filter kind " + IntToStr(index));
    return kernels[index];
}

float FilterDefaultRadius(FilterKind kind) {
    static constexpr float radii[FilterKindCount] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    auto index = static_cast<unsigned>(kind);
    if (index >= FilterKindCount) throw EResampleError("Unknown filter kind " + IntToStr(index));
    return radii[index];
}

namespace {

void RequireLength(int32_t length) {
    if (length < 1) throw EResampleError("Cannot resample a side of " + IntToStr(length) + " pixels");
}

// A target of one pixel along a longer source line would get scale 0 from
// the first-to-last mapping; it takes the plain ratio and sits mid-line.
bool SinglePixelOfLongerLine(int32_t targetLength, int32_t sourceLength) {
    return targetLength == 1 && sourceLength > 1;
}

int32_t InsideLine(int64_t j, int32_t n) {
    if (j < 0) j = -j;
    if (j >= n) j = 2 * static_cast<int64_t>(n) - 1 - j;
    // Wide kernels on short lines can reflect past the far edge.
    return static_cast<int32_t>(std::clamp<int64_t>(j, 0, n - 1));
}

int32_t RoundWeight(Ext value) {
    // llrintl rounds half to even in the default rounding mode.
    long long w = std::llrint(value);
    if (w > std::numeric_limits<int32_t>::max() || w < std::numeric_limits<int32_t>::min())
        throw EResampleError("Filter weight out of range");
    return static_cast<int32_t>(w);
}

ContributorList BuildList(float centre, float scale, int32_t n, FilterKernel kernel, float radius) {
    bool shrinking = scale < 1;
    Ext reach = shrinking ? static_cast<Ext>(Single(static_cast<Ext>(radius) / scale)) : static_cast<Ext>(radius);
    Ext lo = std::floor(centre - reach);
    Ext hi = std::ceil(centre + reach);
    if (!(hi - lo < (1 << 28))) throw EResampleError("Filter window too wide");
    auto first = static_cast<int64_t>(lo);
    auto last = static_cast<int64_t>(hi);

    ContributorList list;
    list.Contributors.reserve(static_cast<size_t>(last - first + 1));
    for (int64_t j = first; j <= last; ++j) {
        Ext offset = static_cast<Ext>(centre) - static_cast<Ext>(j);
        int32_t weight = shrinking ? RoundWeight(static_cast<Ext>(kernel(Single(offset * scale))) * scale * 256)
                                   : RoundWeight(static_cast<Ext>(kernel(Single(offset))) * 256);
        if (weight == 0) continue;
        list.Contributors.push_back({weight, InsideLine(j, n)});
    }
    list.Count = static_cast<int32_t>(list.Contributors.size());
    return list;
}

}  // namespace

float AxisScale(int32_t targetLength, int32_t sourceLength) {
    RequireLength(targetLength);
    RequireLength(sourceLength);
    if (sourceLength == 1 || SinglePixelOfLongerLine(targetLength, sourceLength))
        return Single(static_cast<Ext>(targetLength) / sourceLength);
    return Single(static_cast<Ext>(targetLength - 1) / (sourceLength - 1));
}

std::vector<ContributorList> BuildContributorLists(int32_t targetLength, int32_t sourceLength,
                                                   FilterKernel kernel, float radius) {
    if (!std::isfinite(radius) || radius < 0) throw EResampleError("Invalid filter radius");
    float scale = AxisScale(targetLength, sourceLength);
    std::vector<ContributorList> lists(static_cast<size_t>(targetLength));
    for (int32_t i = 0; i < targetLength; ++i) {
        float centre = SinglePixelOfLongerLine(targetLength, sourceLength)
                           ? Single((sourceLength - 1) / 2.0L)
                           : Single(static_cast<Ext>(i) / scale);
        lists[i] = BuildList(centre, scale, sourceLength, kernel, radius);
    }
    return lists;
}

void ChannelBuffers::Resize(size_t count) {
    Red.resize(count);
    Green.resize(count);
    Blue.resize(count);
}

void SplitChannels(ChannelBuffers& channels, int32_t count, ptrdiff_t step, const uint8_t* firstBlue) {
    int32_t* red = channels.Red.data();
    int32_t* green = channels.Green.data();
    int32_t* blue = channels.Blue.data();
    for (int32_t k = 0; k < count; ++k, firstBlue += step) {
        blue[k] = firstBlue[0];
        green[k] = firstBlue[1];
        red[k] = firstBlue[2];
    }
}

namespace {

// Signed 32-bit division truncating toward zero; the one overflowing case
// wraps like the sums do.
int32_t DivideWrapping(uint32_t sum, int32_t total) {
    auto q = static_cast<int64_t>(static_cast<int32_t>(sum)) / total;
    return static_cast<int32_t>(static_cast<uint32_t>(q));
}

int32_t Channel(uint32_t sum, uint32_t total) {
    auto t = static_cast<int32_t>(total);
    if (t != 0) return ClampByte(DivideWrapping(sum, t));
    return ClampByte(static_cast<int32_t>(sum >> 8));
}

}  // namespace

Pixel24 WeightedPixel(const ContributorList& list, const ChannelBuffers& channels) {
    // Unsigned arithmetic: the sums wrap at 32 bits as specified, without UB.
    uint32_t total = 0, red = 0, green = 0, blue = 0;
    const Contributor* c = list.Contributors.data();
    for (int32_t k = 0; k < list.Count; ++k) {
        auto w = static_cast<uint32_t>(c[k].Weight);
        total += w;
        red += w * static_cast<uint32_t>(channels.Red[c[k].Pixel]);
        green += w * static_cast<uint32_t>(channels.Green[c[k].Pixel]);
        blue += w * static_cast<uint32_t>(channels.Blue[c[k].Pixel]);
    }
    return {static_cast<uint8_t>(Channel(blue, total)), static_cast<uint8_t>(Channel(green, total)),
            static_cast<uint8_t>(Channel(red, total))};
}

namespace {

unsigned ThreadsFor(unsigned requested, int64_t sourcePixels) {
    if (requested != 0) return requested;
    if (sourcePixels < (int64_t{1} << 18)) return 1;
    return std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
}

// Runs body(begin, end) over [0, count) in contiguous slices, one per thread;
// the first error of any slice is rethrown here after all have ended.
template <class Body>
void ForSlices(int32_t count, unsigned threads, const Body& body) {
    threads = std::min<unsigned>(threads, static_cast<unsigned>(std::max(count, 1)));
    if (threads <= 1) {
        body(0, count);
        return;
    }
    std::vector<std::exception_ptr> errors(threads);
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) {
        auto begin = static_cast<int32_t>(int64_t{count} * t / threads);
        auto end = static_cast<int32_t>(int64_t{count} * (t + 1) / threads);
        workers.emplace_back([&, t, begin, end] {
            try {
                body(begin, end);
            } catch (...) {
                errors[t] = std::current_exception();  // handed to the caller below
            }
        });
    }
    for (auto& w : workers) w.join();
    for (auto& e : errors)
        if (e) std::rethrow_exception(e);
}

void PutPixel(uint8_t* at, Pixel24 p) {
    at[0] = p.Blue;
    at[1] = p.Green;
    at[2] = p.Red;
}

void HorizontalPass(const PixelRows& source, const PixelRows& work, const std::vector<ContributorList>& lists,
                    unsigned threads) {
    ForSlices(source.Height, threads, [&](int32_t begin, int32_t end) {
        ChannelBuffers channels;
        channels.Resize(static_cast<size_t>(source.Width));
        for (int32_t y = begin; y < end; ++y) {
            SplitChannels(channels, source.Width, 3, source.Row(y));
            uint8_t* out = work.Row(y);
            for (int32_t i = 0; i < work.Width; ++i) PutPixel(out + 3 * i, WeightedPixel(lists[i], channels));
        }
    });
}

void VerticalPass(const PixelRows& work, const PixelRows& target, const std::vector<ContributorList>& lists,
                  unsigned threads) {
    ForSlices(target.Width, threads, [&](int32_t begin, int32_t end) {
        ChannelBuffers channels;
        channels.Resize(static_cast<size_t>(work.Height));
        for (int32_t i = begin; i < end; ++i) {
            SplitChannels(channels, work.Height, work.RowStep, work.Row0 + 3 * static_cast<ptrdiff_t>(i));
            for (int32_t j = 0; j < target.Height; ++j)
                PutPixel(target.Row(j) + 3 * static_cast<ptrdiff_t>(i), WeightedPixel(lists[j], channels));
        }
    });
}

}  // namespace

void ResamplePixels(FilterKernel kernel, const PixelRows& source, const PixelRows& target, float radius,
                    unsigned threads) {
    RequireLength(source.Width);
    RequireLength(source.Height);
    RequireLength(target.Width);
    RequireLength(target.Height);
    threads = ThreadsFor(threads, int64_t{source.Width} * source.Height);

    std::vector<uint8_t> workPixels(static_cast<size_t>(target.Width) * 3 * static_cast<size_t>(source.Height));
    PixelRows work{workPixels.data(), target.Width, source.Height, static_cast<ptrdiff_t>(target.Width) * 3};

    HorizontalPass(source, work, BuildContributorLists(target.Width, source.Width, kernel, radius), threads);
    VerticalPass(work, target, BuildContributorLists(target.Height, source.Height, kernel, radius), threads);
}

void StretchPixels(FilterKind kind, float radius, const PixelRows& source, const PixelRows& target,
                   unsigned threads) {
    if (radius == 0) radius = FilterDefaultRadius(kind);
    ResamplePixels(KernelOf(kind), source, target, radius, threads);
}

}  // namespace pellix
