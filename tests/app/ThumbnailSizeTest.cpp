#include "app/thumbnail/ThumbnailSize.h"

#include <gtest/gtest.h>

#include "app/thumbnail/Resample.h"

namespace pellix {
namespace {

struct SizeCase {
    int32_t sourceWidth, sourceHeight, maxWidth, maxHeight;
    bool proportional;
    int32_t width, height;
};

TEST(ThumbnailSize, Rules) {
    const SizeCase cases[] = {
        {640, 480, 100, 100, true, 100, 75},
        {480, 640, 100, 100, true, 75, 100},
        {200, 200, 100, 100, true, 100, 100},  // tie: the height rule
        {1000, 333, 100, 100, true, 100, 33},
        {80, 60, 100, 100, true, 80, 60},
        {80, 60, 100, 100, false, 80, 60},
        {100, 100, 100, 100, false, 100, 100},
        {300, 50, 100, 100, false, 100, 100},  // height enlarged
        {101, 50, 100, 100, false, 100, 100},
        // Floating-point ratios gave 159 x 120 and 159 x 90 here.
        {640, 480, 160, 120, true, 160, 120},
        {1920, 1080, 160, 90, true, 160, 90},
        {4000, 3000, 200, 200, true, 200, 150},
        // A fitted side keeps at least one pixel.
        {1000, 5, 100, 100, true, 100, 1},
        {5, 1000, 100, 100, true, 1, 100},
        // Products beyond 32 bits.
        {1500000000, 1000000000, 900, 900, true, 900, 600},
        {2000000000, 1999999999, 900, 900, true, 900, 899},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceWidth << "x" << c.sourceHeight << " into " << c.maxWidth << "x"
                                        << c.maxHeight << (c.proportional ? " proportional" : " exact"));
        ThumbnailSize size = ComputeThumbnailSize(c.sourceWidth, c.sourceHeight, c.maxWidth, c.maxHeight, c.proportional);
        EXPECT_EQ(size.Width, c.width);
        EXPECT_EQ(size.Height, c.height);
    }
}

TEST(ThumbnailSize, AspectRatioIsSetByTheProportionalRuleOnly) {
    EXPECT_DOUBLE_EQ(ComputeThumbnailSize(640, 480, 100, 100, true).AspectRatio, 640.0 / 480.0);
    EXPECT_EQ(ComputeThumbnailSize(80, 60, 100, 100, true).AspectRatio, 0);
    EXPECT_EQ(ComputeThumbnailSize(640, 480, 100, 100, false).AspectRatio, 0);
}

TEST(ThumbnailSize, EmptySourceIsAnError) {
    EXPECT_THROW(ComputeThumbnailSize(640, 0, 100, 100, true), EResampleError);
    EXPECT_THROW(ComputeThumbnailSize(0, 480, 100, 100, false), EResampleError);
}

}  // namespace
}  // namespace pellix
