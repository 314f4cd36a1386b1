#include "app/thumbnail/Resample.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace pellix {

// Found by GoogleTest through the types' namespace.
void PrintTo(Pixel24 p, std::ostream* os) {
    *os << "(b" << int(p.Blue) << " g" << int(p.Green) << " r" << int(p.Red) << ")";
}

void PrintTo(const Contributor& c, std::ostream* os) { *os << "(" << c.Weight << ", " << c.Pixel << ")"; }

namespace {

// A 24-bit picture in memory, stored top-down or bottom-up like a DIB.
class Picture {
public:
    Picture(int32_t width, int32_t height, bool bottomUp = false)
        : width_(width), height_(height), stride_((width * 3 + 3) & ~3), bottomUp_(bottomUp),
          bytes_(static_cast<size_t>(stride_) * height, 0xCD) {}

    PixelRows Rows() {
        if (!bottomUp_) return {bytes_.data(), width_, height_, stride_};
        return {bytes_.data() + static_cast<ptrdiff_t>(stride_) * (height_ - 1), width_, height_, -stride_};
    }
    Pixel24 At(int32_t x, int32_t y) {
        uint8_t* p = Rows().Row(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    void Set(int32_t x, int32_t y, Pixel24 v) {
        uint8_t* p = Rows().Row(y) + 3 * x;
        p[0] = v.Blue;
        p[1] = v.Green;
        p[2] = v.Red;
    }
    void FillRandom(unsigned seed) {
        std::mt19937 rng(seed);
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x)
                Set(x, y, {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng())});
    }
    std::vector<Pixel24> All() {
        std::vector<Pixel24> out;
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x) out.push_back(At(x, y));
        return out;
    }

private:
    int32_t width_, height_, stride_;
    bool bottomUp_;
    std::vector<uint8_t> bytes_;
};

std::vector<Contributor> Used(const ContributorList& list) {
    return {list.Contributors.begin(), list.Contributors.begin() + list.Count};
}

struct ListCase {
    const char* name;
    int32_t target, source;
    FilterKind kind;
    std::vector<std::vector<Contributor>> lists;  // only the indices given are checked, from 0
};

TEST(ContributorLists, MatchWorkedExamples) {
    const std::vector<ListCase> cases = {
        {"same size", 4, 4, FilterKind::fkTriangle, {{{256, 0}}, {{256, 1}}, {{256, 2}}, {{256, 3}}}},
        {"shrink 5 to 3 reflects both edges",
         3,
         5,
         FilterKind::fkTriangle,
         {{{64, 1}, {128, 0}, {64, 1}}, {{64, 1}, {128, 2}, {64, 3}}, {{64, 3}, {128, 4}, {64, 4}}}},
        {"enlarge 2 to 3", 3, 2, FilterKind::fkTriangle, {{{256, 0}}, {{128, 0}, {128, 1}}, {{256, 1}}}},
        {"one pixel wide source", 1, 1, FilterKind::fkTriangle, {{{256, 0}}}},
        {"one pixel wide source, 3 wide target",
         3,
         1,
         FilterKind::fkTriangle,
         {{{256, 0}}, {{171, 0}, {85, 0}}, {{85, 0}, {171, 0}}}},
        // 255.5 and 0.5 round to the even neighbours 256 and 0 (the 0 is
        // then dropped); 254.5 and 1.5 to 254 and 2.
        {"ties round to even", 513, 2, FilterKind::fkTriangle, {{{256, 0}}, {{256, 0}}, {{255, 0}, {1, 1}}, {{254, 0}, {2, 1}}}},
        {"single target pixel sits mid-line",
         1,
         3,
         FilterKind::fkTriangle,
         {{{28, 1}, {57, 0}, {85, 1}, {57, 2}, {28, 2}}}},
        {"box is open at -0.5 and closed at +0.5", 3, 2, FilterKind::fkBox, {{{256, 0}}, {{256, 0}}, {{256, 1}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto lists = BuildContributorLists(c.target, c.source, KernelOf(c.kind), FilterDefaultRadius(c.kind));
        ASSERT_EQ(lists.size(), static_cast<size_t>(c.target));
        for (size_t i = 0; i < c.lists.size(); ++i) EXPECT_EQ(Used(lists[i]), c.lists[i]) << "list " << i;
    }
}

TEST(ContributorLists, StrongShrinkRoundsEveryWeightAway) {
    // s = 1/999: s * 256 < 0.5, so no weight survives.
    auto lists = BuildContributorLists(2, 1000, TriangleKernel, 1.0f);
    for (const auto& list : lists) EXPECT_EQ(list.Count, 0);
}

TEST(ContributorLists, WideKernelOnShortLineStaysInside) {
    for (int kind = 0; kind < FilterKindCount; ++kind) {
        auto k = static_cast<FilterKind>(kind);
        for (auto [target, source] : std::vector<std::pair<int32_t, int32_t>>{{5, 2}, {1, 2}, {2, 3}, {9, 1}, {3, 4}}) {
            for (const auto& list : BuildContributorLists(target, source, KernelOf(k), FilterDefaultRadius(k) * 3)) {
                for (const auto& c : Used(list)) {
                    EXPECT_GE(c.Pixel, 0);
                    EXPECT_LT(c.Pixel, source);
                }
            }
        }
    }
}

TEST(ContributorLists, RejectsEmptySides) {
    EXPECT_THROW(BuildContributorLists(0, 5, TriangleKernel, 1.0f), EResampleError);
    EXPECT_THROW(BuildContributorLists(5, 0, TriangleKernel, 1.0f), EResampleError);
}

struct KernelValue {
    FilterKernel kernel;
    float x;
    float expected;
};

TEST(Kernels, ValuesAtKnownPoints) {
    const std::vector<KernelValue> exact = {
        {BoxKernel, -0.5f, 0}, {BoxKernel, 0.5f, 1}, {BoxKernel, 0, 1}, {BoxKernel, 0.51f, 0},
        {TriangleKernel, 0, 1}, {TriangleKernel, 0.25f, 0.75f}, {TriangleKernel, -0.75f, 0.25f}, {TriangleKernel, 1, 0},
        {HermiteKernel, 0, 1}, {HermiteKernel, -0.5f, 0.5f}, {HermiteKernel, 1, 0},
        {BellKernel, 0, 0.75f}, {BellKernel, 0.5f, 0.5f}, {BellKernel, -1, 0.125f}, {BellKernel, 1.5f, 0},
        {BSplineKernel, 0, 2.0f / 3.0f}, {BSplineKernel, 0.5f, 23.0f / 48.0f}, {BSplineKernel, -1, 1.0f / 6.0f},
        {BSplineKernel, 2, 0},
        {MitchellKernel, 0, 16.0f / 18.0f}, {MitchellKernel, 1, 1.0f / 18.0f}, {MitchellKernel, -1.5f, -0.0347222f},
        {MitchellKernel, 2, 0},
        {Lanczos3Kernel, 0, 1}, {Lanczos3Kernel, 3, 0}, {Lanczos3Kernel, -3.5f, 0},
    };
    for (const auto& v : exact) EXPECT_NEAR(v.kernel(v.x), v.expected, 2e-7) << "at " << v.x;
    // sinc(1/2) * sinc(1/6)
    EXPECT_NEAR(Lanczos3Kernel(0.5f), 0.6079271, 1e-6);
    EXPECT_NEAR(Lanczos3Kernel(1), 0, 1e-6);
    EXPECT_EQ(SincFunction(0), 1.0f);
}

TEST(Kernels, DefaultRadii) {
    const float radii[] = {0.5f, 1, 1, 1.5f, 2, 3, 2};
    for (int k = 0; k < FilterKindCount; ++k) EXPECT_EQ(FilterDefaultRadius(static_cast<FilterKind>(k)), radii[k]);
}

struct PixelCase {
    const char* name;
    std::vector<Contributor> contributors;
    std::vector<Pixel24> line;
    Pixel24 expected;
};

TEST(WeightedPixel, DividesByTheActualTotalAndClamps) {
    const std::vector<PixelCase> cases = {
        {"even area survives weights that miss 256", {{85, 0}, {85, 1}, {86, 2}}, {{9, 99, 200}, {9, 99, 200}, {9, 99, 200}}, {9, 99, 200}},
        {"division truncates", {{1, 0}, {1, 1}}, {{0, 1, 2}, {1, 2, 255}}, {0, 1, 128}},
        {"negative lobes clamp at both ends", {{300, 0}, {-44, 1}}, {{0, 255, 7}, {255, 0, 7}}, {0, 255, 7}},
        {"zero total falls back to the sum / 256", {{256, 0}, {-256, 1}}, {{30, 10, 5}, {10, 10, 6}}, {20, 0, 255}},
        {"empty list is black", {}, {{30, 40, 50}}, {0, 0, 0}},
        // total wraps to -2^31 and 2 * (2^31 - 1) + 2 wraps to 0
        {"sums wrap at 32 bits", {{std::numeric_limits<int32_t>::max(), 0}, {1, 1}}, {{2, 2, 2}, {2, 2, 2}}, {0, 0, 0}},
        // -2^31 / -1 overflows a 32-bit division
        {"overflowing division wraps", {{std::numeric_limits<int32_t>::min(), 0}, {std::numeric_limits<int32_t>::max(), 1}}, {{1, 1, 1}, {0, 0, 0}}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelBuffers channels;
        channels.Resize(c.line.size());
        SplitChannels(channels, static_cast<int32_t>(c.line.size()), 3, &c.line[0].Blue);
        ContributorList list;
        list.Contributors = c.contributors;
        list.Count = static_cast<int32_t>(c.contributors.size());
        EXPECT_EQ(WeightedPixel(list, channels), c.expected);
    }
}

struct StretchCase {
    const char* name;
    std::vector<Pixel24> line;
    int32_t target;
    FilterKind kind;
    std::vector<Pixel24> expected;
};

std::vector<Pixel24> Ramp(int count) {
    std::vector<Pixel24> out;
    for (int i = 0; i < count; ++i)
        out.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i)});
    return out;
}

const std::vector<StretchCase>& StretchCases() {
    static const std::vector<StretchCase> cases = {
        {"shrink 5 to 3",
         {{0, 0, 255}, {100, 50, 155}, {200, 100, 55}, {100, 50, 155}, {0, 0, 255}},
         3,
         FilterKind::fkTriangle,
         {{50, 25, 205}, {150, 75, 105}, {25, 12, 230}}},
        {"enlarge 2 to 3", {{10, 20, 255}, {30, 41, 0}}, 3, FilterKind::fkTriangle, {{10, 20, 255}, {20, 30, 127}, {30, 41, 0}}},
        {"same size", Ramp(6), 6, FilterKind::fkTriangle, Ramp(6)},
        {"one pixel spreads", {{7, 8, 9}}, 4, FilterKind::fkTriangle, {{7, 8, 9}, {7, 8, 9}, {7, 8, 9}, {7, 8, 9}}},
        {"1000 to 2 is black", Ramp(1000), 2, FilterKind::fkTriangle, {{0, 0, 0}, {0, 0, 0}}},
        {"one target pixel", {{0, 0, 255}, {100, 50, 155}, {200, 100, 55}}, 1, FilterKind::fkTriangle, {{110, 55, 144}}},
    };
    return cases;
}

// Each line runs as a row, as a column, and into a bottom-up target: both
// passes and both row-step signs must give the same pixels.
TEST(ResamplePixels, ExactLinesAlongBothAxes) {
    for (const auto& c : StretchCases()) {
        for (bool vertical : {false, true}) {
            for (bool bottomUp : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + (vertical ? " vertical" : " horizontal") +
                             (bottomUp ? " bottom-up" : ""));
                auto n = static_cast<int32_t>(c.line.size());
                Picture source(vertical ? 1 : n, vertical ? n : 1, bottomUp);
                for (int32_t k = 0; k < n; ++k) source.Set(vertical ? 0 : k, vertical ? k : 0, c.line[k]);
                Picture target(vertical ? 1 : c.target, vertical ? c.target : 1, bottomUp);
                StretchPixels(c.kind, 0, source.Rows(), target.Rows());
                EXPECT_EQ(target.All(), c.expected);
            }
        }
    }
}

TEST(ResamplePixels, SameSizeTriangleCopiesEveryPixel) {
    Picture source(37, 23);
    source.FillRandom(1);
    Picture target(37, 23, true);
    StretchPixels(FilterKind::fkTriangle, 0, source.Rows(), target.Rows());
    EXPECT_EQ(target.All(), source.All());
}

TEST(ResamplePixels, RadiusZeroMeansTheDefaultOfEachFilter) {
    Picture source(29, 17);
    source.FillRandom(2);
    for (int k = 0; k < FilterKindCount; ++k) {
        auto kind = static_cast<FilterKind>(k);
        SCOPED_TRACE(k);
        Picture byZero(4, 40), byDefault(4, 40), narrower(4, 40);
        StretchPixels(kind, 0, source.Rows(), byZero.Rows());
        StretchPixels(kind, FilterDefaultRadius(kind), source.Rows(), byDefault.Rows());
        StretchPixels(kind, FilterDefaultRadius(kind) / 2, source.Rows(), narrower.Rows());
        EXPECT_EQ(byZero.All(), byDefault.All());
        EXPECT_NE(byZero.All(), narrower.All());
    }
}

TEST(ResamplePixels, EvenAreaKeepsItsColourWithEveryFilter) {
    const Pixel24 colour{12, 130, 250};
    for (int k = 0; k < FilterKindCount; ++k) {
        for (auto [sw, sh, dw, dh] :
             std::vector<std::array<int32_t, 4>>{{2, 3, 5, 1}, {3, 1, 1, 4}, {1, 1, 9, 2}, {40, 30, 7, 5}, {5, 5, 5, 5}}) {
            SCOPED_TRACE(testing::Message() << "filter " << k << ", " << sw << "x" << sh << " to " << dw << "x" << dh);
            Picture source(sw, sh);
            for (int y = 0; y < sh; ++y)
                for (int x = 0; x < sw; ++x) source.Set(x, y, colour);
            Picture target(dw, dh);
            StretchPixels(static_cast<FilterKind>(k), 0, source.Rows(), target.Rows());
            EXPECT_EQ(target.All(), std::vector<Pixel24>(static_cast<size_t>(dw) * dh, colour));
        }
    }
}

TEST(ResamplePixels, ThreadCountDoesNotChangeAPixel) {
    Picture source(301, 203);
    source.FillRandom(3);
    Picture one(97, 61), many(97, 61, true);
    StretchPixels(FilterKind::fkLanczos3, 0, source.Rows(), one.Rows(), 1);
    StretchPixels(FilterKind::fkLanczos3, 0, source.Rows(), many.Rows(), 7);
    EXPECT_EQ(one.All(), many.All());
}

// The two passes written plainly with SplitChannels and WeightedPixel, as
// the reference for the optimised passes.
void PlainResample(FilterKernel kernel, const PixelRows& source, const PixelRows& target, float radius) {
    std::vector<uint8_t> work(static_cast<size_t>(target.Width) * 3 * source.Height);
    PixelRows rows{work.data(), target.Width, source.Height, static_cast<ptrdiff_t>(target.Width) * 3};
    ChannelBuffers channels;
    channels.Resize(source.Width);
    auto across = BuildContributorLists(target.Width, source.Width, kernel, radius);
    for (int32_t y = 0; y < source.Height; ++y) {
        SplitChannels(channels, source.Width, 3, source.Row(y));
        for (int32_t i = 0; i < target.Width; ++i) {
            Pixel24 p = WeightedPixel(across[i], channels);
            std::memcpy(rows.Row(y) + 3 * i, &p, 3);
        }
    }
    channels.Resize(source.Height);
    auto down = BuildContributorLists(target.Height, source.Height, kernel, radius);
    for (int32_t i = 0; i < target.Width; ++i) {
        SplitChannels(channels, source.Height, rows.RowStep, rows.Row0 + 3 * i);
        for (int32_t j = 0; j < target.Height; ++j) {
            Pixel24 p = WeightedPixel(down[j], channels);
            std::memcpy(target.Row(j) + 3 * i, &p, 3);
        }
    }
}

TEST(ResamplePixels, MatchesThePlainAlgorithmWithEveryFilter) {
    for (int k = 0; k < FilterKindCount; ++k) {
        auto kind = static_cast<FilterKind>(k);
        for (auto [sw, sh, dw, dh] : std::vector<std::array<int32_t, 4>>{{67, 45, 20, 13}, {13, 9, 40, 31}, {50, 1, 7, 3}}) {
            SCOPED_TRACE(testing::Message() << "filter " << k << ", " << sw << "x" << sh << " to " << dw << "x" << dh);
            Picture source(sw, sh, true);
            source.FillRandom(static_cast<unsigned>(k * 100 + sw));
            Picture fast(dw, dh), plain(dw, dh);
            StretchPixels(kind, 0, source.Rows(), fast.Rows(), 3);
            PlainResample(KernelOf(kind), source.Rows(), plain.Rows(), FilterDefaultRadius(kind));
            EXPECT_EQ(fast.All(), plain.All());
        }
    }
}

TEST(ResamplePixels, RejectsEmptyTargets) {
    Picture source(4, 4);
    Picture target(1, 1);
    PixelRows empty = target.Rows();
    empty.Height = 0;
    EXPECT_THROW(StretchPixels(FilterKind::fkTriangle, 0, source.Rows(), empty), EResampleError);
}

}  // namespace
}  // namespace pellix
