#include "platform/gdi/raster.h"
#include "support/ascii_surface.h"

#include <gtest/gtest.h>

namespace {

using namespace tess;
using ascii::kBrush;
using ascii::kPen;
using ascii::rows;

std::string drawn(int w, int h, int l, int t, int r, int b, const raster::Colour* pen = &kPen,
                  const raster::Colour* brush = &kBrush) {
    Surface s(w, h);
    raster::ellipse(s, l, t, r, b, pen, brush);
    return ascii::picture(s);
}

// The box itself, w x h pixels at the origin.
std::string box(int w, int h) {
    return drawn(w, h, 0, 0, w, h);
}

TEST(RasterEllipse, SmallBoxesFollowTheTracedQuadrant) {
    EXPECT_EQ(box(3, 3), rows(".#.", "#o#", ".#."));
    EXPECT_EQ(box(8, 3), rows("..####..", "##oooo##", "..####.."));
    EXPECT_EQ(box(7, 5), rows("..###..", "##ooo##", "#ooooo#", "##ooo##", "..###.."));
    EXPECT_EQ(box(8, 8), rows("..####..", ".#oooo#.", "#oooooo#", "#oooooo#", "#oooooo#",
                              "#oooooo#", ".#oooo#.", "..####.."));
    EXPECT_EQ(box(9, 9), rows("...###...", ".##ooo##.", ".#ooooo#.", "#ooooooo#", "#ooooooo#",
                              "#ooooooo#", ".#ooooo#.", ".##ooo##.", "...###..."));
    EXPECT_EQ(box(6, 6), rows("..##..", ".#oo#.", "#oooo#", "#oooo#", ".#oo#.", "..##.."));
}

TEST(RasterEllipse, TallNarrowBoxesKeepTheirFirstAndLastRowsEmpty) {
    EXPECT_EQ(box(4, 7), rows("....", ".##.", "#oo#", "#oo#", "#oo#", ".##.", "...."));
    EXPECT_EQ(box(3, 8), rows("...", ".#.", "#o#", "#o#", "#o#", "#o#", ".#.", "..."));
}

TEST(RasterEllipse, EmptyThinAndInvertedBoxes) {
    const std::string blank = rows("....", "....", "....");
    EXPECT_EQ(drawn(4, 3, 1, 1, 1, 3), blank);
    EXPECT_EQ(drawn(4, 3, 0, 1, 4, 1), blank);
    EXPECT_EQ(drawn(4, 3, 1, 1, 2, 2), blank); // 1x1
    // One or two pixels across: all outline.
    EXPECT_EQ(drawn(4, 3, 1, 0, 2, 3), rows(".#..", ".#..", ".#.."));
    EXPECT_EQ(drawn(4, 3, 0, 0, 2, 3), rows("##..", "##..", "##.."));
    EXPECT_EQ(drawn(4, 3, 0, 1, 4, 3), rows("....", "####", "####"));
    EXPECT_EQ(drawn(4, 3, 1, 1, 3, 2), rows("....", ".##.", "...."));
    // Inverted boxes paint the swapped box.
    for (int w = 1; w <= 9; ++w)
        for (int h = 1; h <= 9; ++h) {
            const std::string upright = drawn(11, 11, 1, 1, 1 + w, 1 + h);
            EXPECT_EQ(drawn(11, 11, 1 + w, 1, 1, 1 + h), upright) << w << "x" << h;
            EXPECT_EQ(drawn(11, 11, 1, 1 + h, 1 + w, 1), upright) << w << "x" << h;
            EXPECT_EQ(drawn(11, 11, 1 + w, 1 + h, 1, 1), upright) << w << "x" << h;
        }
}

TEST(RasterEllipse, PenOrBrushAlonePaintsOnlyItsPart) {
    EXPECT_EQ(drawn(5, 5, 0, 0, 5, 5, &kPen, nullptr),
              rows(".###.", "#...#", "#...#", "#...#", ".###."));
    EXPECT_EQ(drawn(5, 5, 0, 0, 5, 5, nullptr, &kBrush),
              rows(".....", ".ooo.", ".ooo.", ".ooo.", "....."));
}

TEST(RasterEllipse, ClippingKeepsThePixelsOfTheWholeEllipse) {
    // Windows onto large ellipses, compared with the same ellipse drawn whole:
    // the trace must start correctly on any row without walking from the middle.
    const int sizes[][2] = {{2001, 1400}, {1400, 2001}, {2000, 2000}, {1999, 600}, {97, 2048}};
    for (const auto& sz : sizes) {
        const int w = sz[0], h = sz[1];
        Surface whole(w, h);
        raster::ellipse(whole, 0, 0, w, h, &kPen, &kBrush);
        for (int i = 0; i < 40; ++i) {
            // Windows spread over the box, many of them on the outline.
            const int x = (i * 7919) % (w - 16), y = (i * 104729 + i * i * 31) % (h - 16);
            Surface part(16, 16);
            raster::ellipse(part, -x, -y, w - x, h - y, &kPen, &kBrush);
            ASSERT_EQ(ascii::picture(part), ascii::picture(whole, x, y, 16, 16))
                << w << "x" << h << " at " << x << "," << y;
        }
    }
}

} // namespace
