#include "platform/gdi/raster.h"
#include "support/ascii_surface.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

using namespace tess;
using ascii::kBrush;
using ascii::kPen;
using ascii::rows;

std::string drawn(int w, int h, std::initializer_list<raster::Point> pts,
                  const raster::Colour* pen = &kPen, const raster::Colour* brush = &kBrush) {
    Surface s(w, h);
    const std::vector<raster::Point> v(pts);
    raster::polygon(s, v.data(), int(v.size()), pen, brush);
    return ascii::picture(s);
}

TEST(RasterPolygon, FillsPointsInsideWithLeftAndTopEdgesAndOutlinesOverTheFill) {
    // x and y from 2 to 12: the closed outline covers every edge.
    const std::string square = drawn(15, 15, {{2, 2}, {12, 2}, {12, 12}, {2, 12}});
    EXPECT_EQ(square.substr(16, 16 * 4),
              rows("...............", "..###########..", "..#ooooooooo#..", "..#ooooooooo#.."));
    EXPECT_EQ(square.substr(16 * 12),
              rows("..###########..", "...............", "..............."));
    // Brush alone: left and top edges inside, right and bottom edges outside.
    EXPECT_EQ(drawn(6, 6, {{1, 1}, {4, 1}, {4, 4}, {1, 4}}, nullptr, &kBrush),
              rows("......", ".ooo..", ".ooo..", ".ooo..", "......", "......"));
    // Vertex order makes no difference.
    EXPECT_EQ(drawn(15, 15, {{12, 12}, {12, 2}, {2, 2}, {2, 12}}), square);
}

TEST(RasterPolygon, AlternateFillLeavesDoublyCoveredAreasEmpty) {
    EXPECT_EQ(drawn(16, 16, {{8, 1}, {12, 14}, {2, 6}, {14, 6}, {4, 14}}).substr(17, 17 * 14),
              rows("........#.......", "........#.......", ".......#o#......", ".......#o#......",
                   ".......#o#......", "..#############.", "...#oo#...#oo#..", "....###...###...",
                   "......#...#.....", ".....#o#.#o#....", ".....#oo#oo#....", ".....###.###....",
                   "....##.....##...", "....#.......#..."));
    // A square traversed twice has no inside at all.
    EXPECT_EQ(drawn(6, 6, {{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}, {4, 1}, {4, 4}, {1, 4}}),
              rows("......", ".####.", ".#..#.", ".#..#.", ".####.", "......"));
}

TEST(RasterPolygon, DegenerateAndTinyPolygonsPaintOnlyTheirSegments) {
    const std::string empty = rows("....", "....", "....", "....");
    EXPECT_EQ(drawn(4, 4, {}), empty);
    EXPECT_EQ(drawn(4, 4, {{1, 1}}), empty);
    EXPECT_EQ(drawn(4, 4, {{1, 1}, {1, 1}, {1, 1}}), empty);
    // Two points: the segment with both end points.
    EXPECT_EQ(drawn(6, 4, {{1, 1}, {4, 2}}), rows("......", ".##...", "...##.", "......"));
    EXPECT_EQ(drawn(6, 3, {{1, 1}, {2, 1}, {4, 1}}), rows("......", ".####.", "......"));
    EXPECT_EQ(drawn(4, 4, {{1, 1}, {2, 1}, {2, 2}, {1, 2}}), rows("....", ".##.", ".##.", "...."));
    EXPECT_EQ(drawn(5, 5, {{1, 1}, {3, 1}, {3, 3}, {1, 3}}),
              rows(".....", ".###.", ".#o#.", ".###.", "....."));
    EXPECT_EQ(drawn(5, 5, {{1, 1}, {3, 1}, {1, 3}}),
              rows(".....", ".###.", ".##..", ".#...", "....."));
    EXPECT_EQ(drawn(4, 4, {{1, 1}, {2, 1}, {1, 2}}), rows("....", ".##.", ".#..", "...."));
}

TEST(RasterPolygon, ClippingKeepsThePixelsOfTheWholePolygon) {
    const int d = 1500;
    Surface whole(2 * d + 16, 2 * d + 16);
    const raster::Point big[] = {
        {0, d + 3}, {2 * d + 16, d}, {d + 9, 2 * d + 16}, {d + 2, d - 700}};
    raster::polygon(whole, big, 4, &kPen, &kBrush);
    Surface part(16, 16);
    const raster::Point moved[] = {{-d, 3}, {d + 16, 0}, {9, d + 16}, {2, -700}};
    raster::polygon(part, moved, 4, &kPen, &kBrush);
    EXPECT_EQ(ascii::picture(part), ascii::picture(whole, d, d, 16, 16));
}

} // namespace
