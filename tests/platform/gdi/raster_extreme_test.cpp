// Shapes with coordinates at the ends of the 32-bit range. Walking them pixel
// by pixel would take minutes; the CTest timeout turns that into a failure.

#include "platform/gdi/raster.h"
#include "support/ascii_surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using namespace tess;
using ascii::kBrush;
using ascii::kPen;

std::string repeat(const std::string& row, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += row + "\n";
    return out;
}

TEST(RasterExtremes, LinesAcrossTheWholeRangeAreClippedNotWalked) {
    Surface s(16, 16);
    // Slope 2 / (2^32 - 1): at x = 0..15 the exact y is 6 plus a sliver.
    raster::line(s, INT_MIN, 5, INT_MAX, 7, kPen);
    EXPECT_EQ(ascii::picture(s), repeat("................", 6) + repeat("################", 1) +
                                     repeat("................", 9));
    Surface v(16, 16);
    raster::line(v, 3, INT_MAX, 3, INT_MIN, kPen);
    raster::line(v, INT_MAX, INT_MAX, INT_MIN, INT_MIN, kPen); // y = x + sliver: the diagonal
    std::string expect;
    for (int y = 0; y < 16; ++y) {
        std::string row(16, '.');
        row[3] = '#';
        row[std::size_t(y)] = '#';
        expect += row + "\n";
    }
    EXPECT_EQ(ascii::picture(v), expect);
}

TEST(RasterExtremes, PolygonVerticesFarAwayCostOnlyTheVisibleRows) {
    Surface s(16, 16);
    const raster::Point tri[] = {{8, INT_MIN}, {15, 15}, {0, 15}};
    raster::polygon(s, tri, 3, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(s), repeat("#oooooooooooooo#", 15) + repeat("################", 1));
    Surface all(16, 16);
    const raster::Point huge[] = {
        {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    raster::polygon(all, huge, 4, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(all), repeat("oooooooooooooooo", 16));
}

TEST(RasterExtremes, HugeEllipsesAreTracedOnlyWhereTheSurfaceIs) {
    Surface inside(16, 16);
    raster::ellipse(inside, -1000000000, -1000000000, 1000000000, 1000000000, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(inside), repeat("oooooooooooooooo", 16));
    Surface full(16, 16);
    raster::ellipse(full, INT_MIN, INT_MIN, INT_MAX, INT_MAX, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(full), repeat("oooooooooooooooo", 16));
    // The top of a flat, 2^32 - 1 wide box: one long outline row above brush.
    Surface top(16, 4);
    raster::ellipse(top, INT_MIN, 1, INT_MAX, 9, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(top), repeat("................", 1) + repeat("################", 1) +
                                       repeat("oooooooooooooooo", 2));
}

} // namespace
