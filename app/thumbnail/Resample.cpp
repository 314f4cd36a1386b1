#include "app/thumbnail/Resample.h"

#include "app/thumbnail/HelperThreads.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <limits>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pellix {

// Every weight depends on where rounding happens: intermediates are kept in
// 80-bit extended precision, stored values in single precision.
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
    // Unsigned arithmetic lets the 32-bit sums wrap without undefined behaviour.
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

// Runs body(begin, end) over [0, count) in chunks of grain items taken in
// turn by the calling thread and up to threads - 1 helpers, so a helper that
// the system runs late holds up little. The first error of any chunk is
// raised here once all have stopped.
template <class Body>
void ForChunks(int32_t count, unsigned threads, int32_t grain, const Body& body) {
    std::atomic<int32_t> next{0};
    std::exception_ptr error;
    std::mutex errorLock;
    const std::function<void()> work = [&] {
        for (;;) {
            const int32_t begin = next.fetch_add(grain);
            if (begin >= count) return;
            try {
                body(begin, std::min(count, begin + grain));
            } catch (...) {
                std::lock_guard<std::mutex> hold(errorLock);
                if (!error) error = std::current_exception();  // raised below
                next.store(count);
                return;
            }
        }
    };
    const int32_t chunks = (count + grain - 1) / grain;
    HelperThreads::Shared().Run(std::min<unsigned>(threads, static_cast<unsigned>(std::max(chunks, 1))) - 1, work);
    if (error) std::rethrow_exception(error);
}

// ceil(2^64 / total) for a total above 1 that is positive as a signed value:
// then (n * it) >> 64 is n / total exactly for every n below 2^32, since the
// rounding error stays under 1 / total. 0 where the division must be made.
uint64_t Reciprocal(uint32_t total) {
#if defined(__SIZEOF_INT128__)
    if (total > 1 && static_cast<int32_t>(total) > 0)
        return static_cast<uint64_t>(((static_cast<unsigned __int128>(1) << 64) + total - 1) / total);
#endif
    (void)total;
    return 0;
}

// The lists of one pass laid out flat for the inner loops: per tap the
// weight and the byte offset of its pixel from the start of the line. The sums
// are the ones WeightedPixel forms, so the pixels are the same.
struct PackedLists {
    std::vector<int32_t> weights;
    std::vector<ptrdiff_t> offsets;
    std::vector<uint32_t> first;   // taps of target j: first[j] .. first[j + 1]
    std::vector<uint32_t> totals;  // wrapped sum of the weights of target j
    std::vector<uint64_t> reciprocals;  // for dividing by a positive total; 0: divide
    // Two taps per entry for the vector loop: 16-bit weights side by side,
    // and a flag per target that its taps all allow it.
    std::vector<int32_t> pairWeights;
    std::vector<ptrdiff_t> pairOffsets;
    std::vector<uint32_t> firstPair;
    std::vector<uint8_t> vector;

    // A 4-byte load at an offset must end within lineBytes.
    PackedLists(const std::vector<ContributorList>& lists, ptrdiff_t step, ptrdiff_t lineBytes) {
        first.push_back(0);
        firstPair.push_back(0);
        for (const auto& list : lists) {
            uint32_t total = 0;
            bool ok = true;
            for (int32_t k = 0; k < list.Count; ++k) {
                const Contributor& c = list.Contributors[k];
                const ptrdiff_t at = c.Pixel * step;
                weights.push_back(c.Weight);
                offsets.push_back(at);
                total += static_cast<uint32_t>(c.Weight);
                ok = ok && c.Weight >= INT16_MIN && c.Weight <= INT16_MAX && at + 4 <= lineBytes;
            }
            for (int32_t k = 0; k < list.Count; k += 2) {
                const Contributor& a = list.Contributors[k];
                // An odd last tap is paired with itself at weight 0.
                const Contributor& b = k + 1 < list.Count ? list.Contributors[k + 1] : Contributor{0, a.Pixel};
                pairWeights.push_back(static_cast<int32_t>((static_cast<uint32_t>(b.Weight) << 16) |
                                                           (static_cast<uint32_t>(a.Weight) & 0xFFFF)));
                pairOffsets.push_back(a.Pixel * step);
                pairOffsets.push_back(b.Pixel * step);
            }
            first.push_back(static_cast<uint32_t>(weights.size()));
            firstPair.push_back(static_cast<uint32_t>(pairWeights.size()));
            totals.push_back(total);
            reciprocals.push_back(Reciprocal(total));
            vector.push_back(ok);
        }
    }
};

// A division per channel costs more than all the multiply-adds of a short
// list, and the divisor is the same for every line.
struct Divider {
    uint32_t total;
    uint64_t reciprocal;

    int32_t operator()(uint32_t sum) const {
#if defined(__SIZEOF_INT128__)
        if (reciprocal != 0 && static_cast<int32_t>(sum) >= 0) {
            auto q = static_cast<uint32_t>((static_cast<unsigned __int128>(sum) * reciprocal) >> 64);
            return ClampByte(static_cast<int32_t>(q));
        }
#endif
        return Channel(sum, total);
    }
};

void PutChannels(uint8_t* at, uint32_t blue, uint32_t green, uint32_t red, const Divider& divide) {
    at[0] = static_cast<uint8_t>(divide(blue));
    at[1] = static_cast<uint8_t>(divide(green));
    at[2] = static_cast<uint8_t>(divide(red));
}

void ScalarPixel(const PackedLists& lists, size_t j, const uint8_t* line, uint8_t* out) {
    uint32_t blue = 0, green = 0, red = 0;
    for (uint32_t k = lists.first[j]; k < lists.first[j + 1]; ++k) {
        auto w = static_cast<uint32_t>(lists.weights[k]);
        const uint8_t* p = line + lists.offsets[k];
        blue += w * p[0];
        green += w * p[1];
        red += w * p[2];
    }
    PutChannels(out, blue, green, red, {lists.totals[j], lists.reciprocals[j]});
}

#if defined(__SSE2__)
__m128i Load4(const uint8_t* at) {
    int32_t bytes;
    std::memcpy(&bytes, at, 4);
    return _mm_cvtsi32_si128(bytes);
}

// Two taps at once: their bytes interleaved into 16-bit lanes (blue a, blue b,
// green a, ...) and multiplied by (weight a, weight b) with pmaddwd, which is
// exact for 16-bit weights; the 32-bit lane sums wrap like the scalar ones.
void VectorPixel(const PackedLists& lists, size_t j, const uint8_t* line, uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    __m128i sum = zero;
    const ptrdiff_t* at = lists.pairOffsets.data() + 2 * static_cast<size_t>(lists.firstPair[j]);
    for (uint32_t k = lists.firstPair[j]; k < lists.firstPair[j + 1]; ++k, at += 2) {
        __m128i both = _mm_unpacklo_epi8(_mm_unpacklo_epi8(Load4(line + at[0]), Load4(line + at[1])), zero);
        sum = _mm_add_epi32(sum, _mm_madd_epi16(both, _mm_set1_epi32(lists.pairWeights[k])));
    }
    alignas(16) uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sum);
    PutChannels(out, lanes[0], lanes[1], lanes[2], {lists.totals[j], lists.reciprocals[j]});
}
#endif

#if defined(__SSE2__)
// The same for two lines that share their offsets (two rows, or two
// neighbouring columns): the weights are loaded once for both.
void VectorPixels2(const PackedLists& lists, size_t j, const uint8_t* lineA, const uint8_t* lineB, uint8_t* outA,
                   uint8_t* outB) {
    const __m128i zero = _mm_setzero_si128();
    __m128i sumA = zero, sumB = zero;
    const ptrdiff_t* at = lists.pairOffsets.data() + 2 * static_cast<size_t>(lists.firstPair[j]);
    for (uint32_t k = lists.firstPair[j]; k < lists.firstPair[j + 1]; ++k, at += 2) {
        const __m128i w = _mm_set1_epi32(lists.pairWeights[k]);
        __m128i a = _mm_unpacklo_epi8(_mm_unpacklo_epi8(Load4(lineA + at[0]), Load4(lineA + at[1])), zero);
        __m128i b = _mm_unpacklo_epi8(_mm_unpacklo_epi8(Load4(lineB + at[0]), Load4(lineB + at[1])), zero);
        sumA = _mm_add_epi32(sumA, _mm_madd_epi16(a, w));
        sumB = _mm_add_epi32(sumB, _mm_madd_epi16(b, w));
    }
    alignas(16) uint32_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sumA);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 4), sumB);
    const Divider divide{lists.totals[j], lists.reciprocals[j]};
    PutChannels(outA, lanes[0], lanes[1], lanes[2], divide);
    PutChannels(outB, lanes[4], lanes[5], lanes[6], divide);
}
#endif

// Lines of the source (rows, or columns of the work rows) into their targets:
// line n starts at first + n * lineStep and writes from out + n * outLineStep,
// target after target outStep apart.
void FilterLines(const PackedLists& lists, const uint8_t* first, ptrdiff_t lineStep, uint8_t* out,
                 ptrdiff_t outLineStep, ptrdiff_t outStep, int32_t begin, int32_t end) {
    const size_t count = lists.totals.size();
    int32_t n = begin;
#if defined(__SSE2__)
    for (; n + 1 < end; n += 2) {
        const uint8_t* lineA = first + n * lineStep;
        uint8_t* outA = out + n * outLineStep;
        for (size_t j = 0; j < count; ++j) {
            uint8_t* at = outA + static_cast<ptrdiff_t>(j) * outStep;
            if (lists.vector[j]) {
                VectorPixels2(lists, j, lineA, lineA + lineStep, at, at + outLineStep);
            } else {
                ScalarPixel(lists, j, lineA, at);
                ScalarPixel(lists, j, lineA + lineStep, at + outLineStep);
            }
        }
    }
#endif
    for (; n < end; ++n) {
        const uint8_t* line = first + n * lineStep;
        for (size_t j = 0; j < count; ++j) {
            uint8_t* at = out + n * outLineStep + static_cast<ptrdiff_t>(j) * outStep;
#if defined(__SSE2__)
            if (lists.vector[j]) {
                VectorPixel(lists, j, line, at);
                continue;
            }
#endif
            ScalarPixel(lists, j, line, at);
        }
    }
}

void HorizontalPass(const PixelRows& source, const PixelRows& work, const std::vector<ContributorList>& lists,
                    unsigned threads) {
    const PackedLists packed(lists, 3, static_cast<ptrdiff_t>(source.Width) * 3);
    ForChunks(source.Height, threads, 8, [&](int32_t begin, int32_t end) {
        FilterLines(packed, source.Row0, source.RowStep, work.Row0, work.RowStep, 3, begin, end);
    });
}

void VerticalPass(const PixelRows& work, const PixelRows& target, const std::vector<ContributorList>& lists,
                  unsigned threads) {
    // Bounded as for column 0: later columns start further in, and the work
    // rows end in 4 bytes of padding that cover the difference.
    const PackedLists packed(lists, work.RowStep, work.RowStep * work.Height);
    ForChunks(target.Width, threads, 8, [&](int32_t begin, int32_t end) {
        FilterLines(packed, work.Row0, 3, target.Row0, 3, target.RowStep, begin, end);
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

    std::vector<uint8_t> workPixels(static_cast<size_t>(target.Width) * 3 * static_cast<size_t>(source.Height) + 4);
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
