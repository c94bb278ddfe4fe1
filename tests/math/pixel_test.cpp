#include "math/pixel.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Pixel, TruncatesTowardZero) {
    EXPECT_EQ(toPixel(2.9), 2);
    EXPECT_EQ(toPixel(-2.9), -2);
    EXPECT_EQ(toPixel(-0.5), 0);
    EXPECT_EQ(toPixel(7.0), 7);
    EXPECT_EQ(toPixel(-2147483648.9), INT32_MIN);
    EXPECT_EQ(toPixel(2147483647.9), INT32_MAX);
}

TEST(Pixel, NaNAndOutOfRangeValuesLandOffAnySurface) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(toPixel(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
    EXPECT_EQ(toPixel(inf), INT32_MAX);
    EXPECT_EQ(toPixel(-inf), INT32_MIN);
    EXPECT_EQ(toPixel(1e300), INT32_MAX);
    EXPECT_EQ(toPixel(-1e300), INT32_MIN);
    EXPECT_EQ(toPixel(2147483648.0), INT32_MAX);
}
