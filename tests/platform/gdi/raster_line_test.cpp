#include "platform/gdi/raster.h"
#include "support/ascii_surface.h"

#include <gtest/gtest.h>

namespace {

using namespace tess;
using ascii::kPen;
using ascii::rows;

std::string drawn(int w, int h, int x0, int y0, int x1, int y1) {
    Surface s(w, h);
    raster::line(s, x0, y0, x1, y1, kPen);
    return ascii::picture(s);
}

TEST(RasterLine, PaintsTheStartAndLeavesOutTheEnd) {
    EXPECT_EQ(drawn(8, 3, 1, 1, 5, 1), rows("........", ".####...", "........"));
    EXPECT_EQ(drawn(4, 3, 2, 1, 2, 1), rows("....", "....", "...."));
    EXPECT_EQ(drawn(4, 3, 2, 1, 3, 2), rows("....", "..#.", "...."));
    EXPECT_EQ(drawn(4, 3, 2, 1, 1, 1), rows("....", "..#.", "...."));
}

TEST(RasterLine, StepsTheMajorAxisAndRoundsHalvesTowardMinusInfinity) {
    // (6,6) to (10,8): the minor y is 6.5 at x = 7, which goes up to 6.
    EXPECT_EQ(drawn(13, 9, 6, 6, 10, 8).substr(6 * 14),
              rows("......##.....", "........##...", "............."));
    // Running the other way the halves still go up: (10,8) to (6,6).
    EXPECT_EQ(drawn(13, 9, 10, 8, 6, 6).substr(6 * 14),
              rows(".......#.....", "........##...", "..........#.."));
    EXPECT_EQ(drawn(13, 7, 6, 6, 2, 4).substr(4 * 14),
              rows("...#.........", "....##.......", "......#......"));
    EXPECT_EQ(
        drawn(13, 11, 6, 6, 8, 10).substr(6 * 14),
        rows("......#......", "......#......", ".......#.....", ".......#.....", "............."));
    EXPECT_EQ(drawn(13, 7, 6, 6, 9, 0).substr(14),
              rows("........#....", "........#....", ".......#.....", ".......#.....",
                   "......#......", "......#......"));
}

TEST(RasterLine, ReversedLinePaintsTheSamePixelsExceptItsOwnEnd) {
    for (int dx = -7; dx <= 7; ++dx) {
        for (int dy = -7; dy <= 7; ++dy) {
            if (dx == 0 && dy == 0) continue;
            Surface ab(20, 20), ba(20, 20);
            raster::line(ab, 9, 9, 9 + dx, 9 + dy, kPen);
            raster::line(ba, 9 + dx, 9 + dy, 9, 9, kPen);
            ab.at(9 + dx, 9 + dy) = kPen;
            ba.at(9, 9) = kPen;
            EXPECT_EQ(ascii::picture(ab), ascii::picture(ba)) << dx << "," << dy;
        }
    }
}

TEST(RasterLine, ClippingKeepsTheUnclippedLinesPixels) {
    // The same line drawn whole on a wide surface and clipped on a small one
    // that sees only a window of it, at several scales.
    const int spans[] = {40, 1000, 3000};
    for (int d : spans) {
        Surface whole(2 * d + 16, 24);
        raster::line(whole, 0, 3, 2 * d + 16, 20, kPen);
        Surface part(16, 24);
        raster::line(part, -d, 3, d + 16, 20, kPen);
        EXPECT_EQ(ascii::picture(part), ascii::picture(whole, d, 0, 16, 24)) << d;
        Surface steep(24, 2 * d + 16), window(24, 16);
        raster::line(steep, 3, 0, 20, 2 * d + 16, kPen);
        raster::line(window, 3, -d, 20, d + 16, kPen);
        EXPECT_EQ(ascii::picture(window), ascii::picture(steep, 0, d, 24, 16)) << d;
    }
}

TEST(RasterPolyline, DrawsEachSegmentLikeALineAndSharedCornersOnce) {
    Surface s(16, 14);
    const raster::Point pts[] = {{2, 2}, {12, 2}, {12, 12}};
    raster::polyline(s, pts, 3, kPen);
    EXPECT_EQ(ascii::picture(s, 0, 1, 16, 3),
              rows("................", "..###########...", "............#..."));
    EXPECT_EQ(ascii::picture(s, 0, 11, 16, 2), rows("............#...", "................"));

    Surface none(6, 6);
    raster::polyline(none, pts, 0, kPen);
    raster::polyline(none, pts, 1, kPen);
    EXPECT_EQ(ascii::picture(none),
              rows("......", "......", "......", "......", "......", "......"));
    const raster::Point closed[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}};
    raster::polyline(none, closed, 5, kPen);
    EXPECT_EQ(ascii::picture(none),
              rows("......", ".####.", ".#..#.", ".#..#.", ".####.", "......"));
}

} // namespace
