#include "draw/shapes.h"

#include "gdi_log.h"
#include "picture.h"

#include "platform/gdi/gdi_stats.h"
#include "platform/host/input.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Log;

#define EXPECT_POINT(p, ex, ey)                                                                    \
    do {                                                                                           \
        const POINT p_ = (p);                                                                      \
        EXPECT_EQ(p_.x, (ex));                                                                     \
        EXPECT_EQ(p_.y, (ey));                                                                     \
    } while (0)

TEST(Vec2Point, TruncatesEachCoordinateTowardZero) {
    EXPECT_POINT(vec2POINT(vec2(2.9, -2.9)), 2, -2);
    EXPECT_POINT(vec2POINT(vec2(-0.5, 0.5)), 0, 0);
    EXPECT_POINT(vec2POINT(vec2(7.0, -7.0)), 7, -7);
    EXPECT_POINT(vec2POINT(vec2(10.9, -0.9)), 10, 0);
    EXPECT_POINT(vec2POINT(vec2(-1e-300, 2147483647.5)), 0, INT_MAX);
    // Not a number has no pixel; it lands off any surface instead of anywhere.
    EXPECT_POINT(vec2POINT(vec2(std::numeric_limits<double>::quiet_NaN(), -1e300)), INT_MIN,
                 INT_MIN);
}

TEST(MousePos, ReadsTheCursorInWholeScreenPixels) {
    tess::host::setCursorPosition(123, -45);
    gdilog::start();
    const vec2 p = mousePos();
    EXPECT_EQ(gdilog::stop(), Log{"GetCursorPos"});
    EXPECT_EQ(p.x, 123.0);
    EXPECT_EQ(p.y, -45.0);
    tess::host::setCursorPosition(0, 7);
    EXPECT_EQ(mousePos().x, 0.0);
    EXPECT_EQ(mousePos().y, 7.0);
}

TEST(DrawCirc, HandsEllipseTheBoxWithEachEdgeTruncatedOnce) {
    MemoryDc m(4, 4);
    gdilog::start();
    drawCirc(m.dc, vec2(10.5, 20.25), 3.7);
    drawCirc(m.dc, vec2(1, 1), 1.5);    // -0.5 truncates to 0: a box 2 wide ...
    drawCirc(m.dc, vec2(11, 11), 1.5);  // ... where the same circle here gets 3
    drawCirc(m.dc, vec2(-4.5, 3), 0.0); // zero radius: an empty box
    drawCirc(m.dc, vec2(5, 5), -2);     // a negative radius goes through unchanged
    EXPECT_EQ(gdilog::stop(),
              (Log{"Ellipse(6, 16, 14, 23)", "Ellipse(0, 0, 2, 2)", "Ellipse(9, 9, 12, 12)",
                   "Ellipse(-4, 3, -4, 3)", "Ellipse(7, 7, 3, 3)"}));
}

TEST(DrawCirc, ColourFormMakesBrushThenPenAndPutsBothBack) {
    MemoryDc m(4, 4);
    const int live = tess::gdiLiveObjects().total();
    MoveToEx(m.dc, 3, 1, nullptr);
    gdilog::start();
    drawCirc(m.dc, vec2(10.5, 20.25), 3.7, 0x0000FF, 0xFF0000);
    EXPECT_EQ(gdilog::stop(),
              (Log{"CreateSolidBrush(0xff0000) -> brush1", "SelectObject(brush1) -> WHITE_BRUSH",
                   "CreatePen(0, 1, 0x0000ff) -> pen1", "SelectObject(pen1) -> BLACK_PEN",
                   "Ellipse(6, 16, 14, 23)", "SelectObject(WHITE_BRUSH) -> brush1",
                   "DeleteObject(brush1) -> 1", "SelectObject(BLACK_PEN) -> pen1",
                   "DeleteObject(pen1) -> 1"}));
    EXPECT_EQ(selectedPen(m.dc), GetStockObject(BLACK_PEN));
    EXPECT_EQ(selectedBrush(m.dc), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
    EXPECT_POINT(currentPosition(m.dc), 3, 1); // an ellipse leaves the position alone
}

TEST(DrawCirc, PaintsItsTruncatedBoxOutlinedInPenAndFilledWithBrush) {
    MemoryDc m(14, 5);
    drawCirc(m.dc, vec2(1, 1), 1.5, 0x0000FF, 0xFF0000);      // box 0..2: -0.5 became 0
    drawCirc(m.dc, vec2(5, 2), 1.5, 0x0000FF, 0xFF0000);      // box 3..6, 0..3: three wide
    drawCirc(m.dc, vec2(10.5, 2.5), 2.5, 0x0000FF, 0xFF0000); // box 8..13, 0..5
    EXPECT_EQ(picture(m, {{0x0000FF, '#'}, {0xFF0000, 'o'}}), "##..#....###..\n"
                                                              "##.#o#..#ooo#.\n"
                                                              "....#...#ooo#.\n"
                                                              "........#ooo#.\n"
                                                              ".........###..\n");
}

TEST(DrawLine, DrawsBetweenTruncatedEndsAndLeavesTheEndAsCurrentPosition) {
    MemoryDc m(4, 4);
    gdilog::start();
    drawLine(m.dc, vec2(5.7, 5.2), vec2(-3.9, 8.99));
    EXPECT_EQ(gdilog::stop(), (Log{"MoveToEx(5, 5)", "LineTo(-3, 8)"}));
    EXPECT_POINT(currentPosition(m.dc), -3, 8);
}

TEST(DrawLine, ColourFormCyclesOnlyAPenAroundTheLine) {
    MemoryDc m(4, 4);
    const int live = tess::gdiLiveObjects().total();
    HBRUSH brush = CreateSolidBrush(0x00FF00);
    HGDIOBJ oldBrush = SelectObject(m.dc, brush);
    gdilog::start();
    gdilog::name(brush, "green");
    drawLine(m.dc, vec2(5.7, 5.2), vec2(-3.9, 8.99), 0x00FFFF);
    EXPECT_EQ(gdilog::stop(),
              (Log{"CreatePen(0, 1, 0x00ffff) -> pen1", "SelectObject(pen1) -> BLACK_PEN",
                   "MoveToEx(5, 5)", "LineTo(-3, 8)", "SelectObject(BLACK_PEN) -> pen1",
                   "DeleteObject(pen1) -> 1"}));
    EXPECT_POINT(currentPosition(m.dc), -3, 8);
    EXPECT_EQ(selectedPen(m.dc), GetStockObject(BLACK_PEN));
    EXPECT_EQ(selectedBrush(m.dc), brush);
    SelectObject(m.dc, oldBrush);
    DeleteObject(brush);
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
}

TEST(DrawLine, PaintsFromTheTruncatedStartUpToTheTruncatedEnd) {
    MemoryDc m(6, 3);
    drawLine(m.dc, vec2(0.9, 0), vec2(5.99, 0.5), 0x00FF00);   // (0, 0) to (5, 0)
    drawLine(m.dc, vec2(3.2, 1.5), vec2(-0.5, 1.5), 0x00FF00); // ends at 0, not -1: (0, 1) stays
    EXPECT_EQ(picture(m, {{0x00FF00, '#'}}), "#####.\n"
                                             ".###..\n"
                                             "......\n");
}

TEST(DrawShapes, ThousandsOfColourCallsLeaveNoObjectBehind) {
    MemoryDc m(32, 32);
    const int live = tess::gdiLiveObjects().total();
    const int failuresBefore = gdilog::failures();
    for (int i = 0; i < 3000; ++i) {
        const double t = i * 0.37;
        drawCirc(m.dc, vec2(16 + 10 * std::cos(t), 16 + 10 * std::sin(t)), i % 7,
                 0x0000FF * (i & 1), 0x00FF00);
        ASSERT_EQ(tess::gdiLiveObjects().total(), live) << "circle " << i;
        drawLine(m.dc, vec2(16, 16), vec2(16 + 20 * std::cos(t), 16 - 20 * std::sin(t)), 0xFF0000);
        ASSERT_EQ(tess::gdiLiveObjects().total(), live) << "line " << i;
    }
    EXPECT_EQ(selectedPen(m.dc), GetStockObject(BLACK_PEN));
    EXPECT_EQ(selectedBrush(m.dc), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(gdilog::failures(), failuresBefore);
}

} // namespace
