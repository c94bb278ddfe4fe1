#include "draw/poly.h"

#include "alloc_count.h"
#include "gdi_log.h"
#include "picture.h"

#include "platform/gdi/gdi_stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Log;

// The Polygon and Polyline lines of a log, without the object handling around them.
Log drawingCalls(const Log& log) {
    Log calls;
    for (const std::string& line : log)
        if (line.rfind("Poly", 0) == 0) calls.push_back(line);
    return calls;
}

vec2 unitSquare[] = {vec2(0, 0), vec2(1, 0), vec2(1, 1), vec2(0, 1)};

TEST(DrawPoly, LocalFrameCornersGoWhereOriginAndAxisPutThem) {
    MemoryDc m(4, 4);
    gdilog::start();
    drawPoly(m.dc, vec2(100, 100), vec2(10, 0), unitSquare, 4);
    drawPoly(m.dc, vec2(100, 100), vec2(0, 10), unitSquare, 4);
    drawPoly(m.dc, vec2(100, 100), vec2(0, 10), unitSquare, 4, 0xFF);
    drawPoly(m.dc, vec2(100, 100), vec2(0, 10), unitSquare, 4, 0xFF, 0xFF00);
    const std::string turned = "(100, 100) (100, 110) (90, 110) (90, 100)";
    EXPECT_EQ(drawingCalls(gdilog::stop()),
              (Log{"Polygon(4: (100, 100) (110, 100) (110, 110) (100, 110))",
                   "Polygon(4: " + turned + ")", "Polyline(5: " + turned + " (100, 100))",
                   "Polygon(4: " + turned + ")"}));
}

TEST(DrawPoly, CornersAreTruncatedTowardZeroInBothFrames) {
    MemoryDc m(4, 4);
    vec2 corners[] = {vec2(10.9, -0.9), vec2(-3.7, 2.2), vec2(-0.5, -7.99)};
    gdilog::start();
    drawPoly(m.dc, corners, 3);
    // Through the frame: (0.5, -1) + x * (1, 0) + y * (0, 1), summed, then truncated once.
    drawPoly(m.dc, vec2(0.5, -1), vec2(1, 0), corners, 3);
    EXPECT_EQ(gdilog::stop(),
              (Log{"Polygon(3: (10, 0) (-3, 2) (0, -7))", "Polygon(3: (11, -1) (-3, 1) (0, -8))"}));
}

TEST(DrawPoly, OutlinesHandOverCountPlusOnePointsClosingOnTheFirst) {
    MemoryDc m(4, 4);
    vec2 triangle[] = {vec2(0, 0), vec2(10, 0), vec2(0, 10)};
    vec2 one[] = {vec2(5.5, 6.5)};
    gdilog::start();
    drawPoly(m.dc, triangle, 3, 0xFF);
    drawPoly(m.dc, triangle, 3, 0xFF, 0xFF00);
    drawPoly(m.dc, triangle, 3);
    drawPoly(m.dc, one, 1, 0xFF);
    drawPoly(m.dc, vec2(0, 0), vec2(1, 0), one, 1, 0xFF);
    EXPECT_EQ(drawingCalls(gdilog::stop()),
              (Log{"Polyline(4: (0, 0) (10, 0) (0, 10) (0, 0))",
                   "Polygon(3: (0, 0) (10, 0) (0, 10))", // filled: exactly count, not closed
                   "Polygon(3: (0, 0) (10, 0) (0, 10))", "Polyline(2: (5, 6) (5, 6))",
                   "Polyline(2: (5, 6) (5, 6))"}));
}

TEST(DrawPoly, OutlinesCloseOnTheFirstCornerAndNeverFill) {
    MemoryDc m(8, 8); // holds the white stock brush, which an outline must not use
    vec2 triangle[] = {vec2(0, 0), vec2(6, 0), vec2(0, 6)};
    drawPoly(m.dc, triangle, 3, 0x0000FF);
    const std::string closed = "#######.\n"
                               "#....#..\n"
                               "#...#...\n"
                               "#..#....\n"
                               "#.#.....\n"
                               "##......\n"
                               "#.......\n"
                               "........\n";
    EXPECT_EQ(picture(m, {{0x0000FF, '#'}}), closed);
    vec2 half[] = {vec2(0, 0), vec2(3, 0), vec2(0, 3)};
    MemoryDc scaled(8, 8);
    drawPoly(scaled.dc, vec2(0, 0), vec2(2, 0), half, 3, 0x0000FF);
    EXPECT_EQ(picture(scaled, {{0x0000FF, '#'}}), closed);
}

TEST(DrawPoly, FilledFormsOutlineInThePenAndFillWithTheBrush) {
    MemoryDc own(7, 7);
    drawPoly(own.dc, vec2(1, 1), vec2(4, 0), unitSquare, 4, 0x0000FF, 0xFF0000);
    EXPECT_EQ(picture(own, {{0x0000FF, '#'}, {0xFF0000, 'o'}}), ".......\n"
                                                                ".#####.\n"
                                                                ".#ooo#.\n"
                                                                ".#ooo#.\n"
                                                                ".#ooo#.\n"
                                                                ".#####.\n"
                                                                ".......\n");
    // Without colours: the DC's black pen (invisible here) and white brush.
    MemoryDc current(7, 7);
    vec2 corners[] = {vec2(1.5, 1.5), vec2(5.9, 1.5), vec2(5.9, 5.1), vec2(1.5, 5.1)};
    drawPoly(current.dc, corners, 4);
    EXPECT_EQ(picture(current, {{0xFFFFFF, 'o'}}), ".......\n"
                                                   ".......\n"
                                                   "..ooo..\n"
                                                   "..ooo..\n"
                                                   "..ooo..\n"
                                                   ".......\n"
                                                   ".......\n");
}

TEST(DrawPoly, AFigureTooLargeForTheStackDrawsLikeItsFourCorners) {
    std::vector<vec2> border; // 400 corners, 0.1 apart, around the square (2, 2) .. (12, 12)
    for (int i = 0; i < 100; ++i)
        border.push_back(vec2(2 + i * 0.1, 2));
    for (int i = 0; i < 100; ++i)
        border.push_back(vec2(12, 2 + i * 0.1));
    for (int i = 0; i < 100; ++i)
        border.push_back(vec2(12 - i * 0.1, 12));
    for (int i = 0; i < 100; ++i)
        border.push_back(vec2(2, 12 - i * 0.1));
    vec2 square[] = {vec2(2, 2), vec2(12, 2), vec2(12, 12), vec2(2, 12)};
    const std::map<COLORREF, char> letters = {{0x0000FF, '#'}, {0xFF0000, 'o'}};
    for (int filled = 0; filled < 2; ++filled) {
        MemoryDc many(15, 15), four(15, 15);
        if (filled) {
            drawPoly(many.dc, border.data(), 400, 0x0000FF, 0xFF0000);
            drawPoly(four.dc, square, 4, 0x0000FF, 0xFF0000);
        } else {
            drawPoly(many.dc, border.data(), 400, 0x0000FF);
            drawPoly(four.dc, square, 4, 0x0000FF);
        }
        EXPECT_EQ(picture(many, letters), picture(four, letters))
            << (filled ? "filled" : "outline");
        EXPECT_EQ(four.countNonBlack(), filled ? 121 : 40);
    }
}

TEST(DrawPoly, ColourFormsMakeThePenFirstAndPutEverythingBack) {
    MemoryDc m(4, 4);
    const int live = tess::gdiLiveObjects().total();
    vec2 triangle[] = {vec2(0, 0), vec2(10, 0), vec2(0, 10)};
    for (int local = 0; local < 2; ++local) {
        gdilog::start();
        if (local) {
            drawPoly(m.dc, vec2(0, 0), vec2(1, 0), triangle, 3, 0x0000FF, 0xFF0000);
        } else {
            drawPoly(m.dc, triangle, 3, 0x0000FF, 0xFF0000);
        }
        EXPECT_EQ(gdilog::stop(),
                  (Log{"CreatePen(0, 1, 0x0000ff) -> pen1", "SelectObject(pen1) -> BLACK_PEN",
                       "CreateSolidBrush(0xff0000) -> brush1",
                       "SelectObject(brush1) -> WHITE_BRUSH", "Polygon(3: (0, 0) (10, 0) (0, 10))",
                       "SelectObject(BLACK_PEN) -> pen1", "DeleteObject(pen1) -> 1",
                       "SelectObject(WHITE_BRUSH) -> brush1", "DeleteObject(brush1) -> 1"}));
        gdilog::start();
        if (local) {
            drawPoly(m.dc, vec2(0, 0), vec2(1, 0), triangle, 3, 0x00FF00);
        } else {
            drawPoly(m.dc, triangle, 3, 0x00FF00);
        }
        EXPECT_EQ(gdilog::stop(),
                  (Log{"CreatePen(0, 1, 0x00ff00) -> pen1", "SelectObject(pen1) -> BLACK_PEN",
                       "Polyline(4: (0, 0) (10, 0) (0, 10) (0, 0))",
                       "SelectObject(BLACK_PEN) -> pen1", "DeleteObject(pen1) -> 1"}));
        gdilog::start();
        if (local) {
            drawPoly(m.dc, vec2(0, 0), vec2(1, 0), triangle, 3);
        } else {
            drawPoly(m.dc, triangle, 3);
        }
        EXPECT_EQ(gdilog::stop(), Log{"Polygon(3: (0, 0) (10, 0) (0, 10))"});
    }
    EXPECT_EQ(selectedPen(m.dc), GetStockObject(BLACK_PEN));
    EXPECT_EQ(selectedBrush(m.dc), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
}

TEST(DrawPoly, NoCornersMeansNoOutlineCallButTheObjectsStillCycle) {
    MemoryDc m(4, 4);
    vec2 none[1] = {vec2(3, 3)}; // never read with count 0
    gdilog::start();
    drawPoly(m.dc, none, 0, 0xFF);
    const Log outline = gdilog::stop();
    EXPECT_EQ(outline, (Log{"CreatePen(0, 1, 0x0000ff) -> pen1", "SelectObject(pen1) -> BLACK_PEN",
                            "SelectObject(BLACK_PEN) -> pen1", "DeleteObject(pen1) -> 1"}));
    gdilog::start();
    drawPoly(m.dc, vec2(1, 1), vec2(1, 0), none, 0, 0xFF);
    EXPECT_EQ(gdilog::stop(), outline);

    gdilog::start();
    drawPoly(m.dc, none, 0, 0xFF, 0xFF00);
    drawPoly(m.dc, none, 0);
    const Log filled = gdilog::stop(); // the filled forms make their one call, with no points
    ASSERT_EQ(filled.size(), 10u);
    EXPECT_EQ(filled[4], "Polygon(0:)");
    EXPECT_EQ(filled[9], "Polygon(0:)");
    EXPECT_EQ(m.countNonBlack(), 0);
}

TEST(DrawPoly, NegativeCountDoesNothingAtAll) {
    MemoryDc m(4, 4);
    const int live = tess::gdiLiveObjects().total();
    vec2 guarded[3] = {vec2(1, 1), vec2(2, 2), vec2(3, 3)};
    vec2 copy[3];
    std::memcpy(copy, guarded, sizeof guarded);
    for (int count : {-1, -2, INT_MIN}) {
        gdilog::start();
        vec2* middle = guarded + 1;
        drawPoly(m.dc, middle, count);
        drawPoly(m.dc, middle, count, 0xFF);
        drawPoly(m.dc, middle, count, 0xFF, 0xFF00);
        drawPoly(m.dc, vec2(1, 1), vec2(1, 0), middle, count);
        drawPoly(m.dc, vec2(1, 1), vec2(1, 0), middle, count, 0xFF);
        drawPoly(m.dc, vec2(1, 1), vec2(1, 0), middle, count, 0xFF, 0xFF00);
        EXPECT_EQ(gdilog::stop(), Log{}) << "count " << count;
    }
    EXPECT_EQ(std::memcmp(copy, guarded, sizeof guarded), 0);
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
    EXPECT_EQ(m.countNonBlack(), 0);
}

TEST(DrawPoly, TheCallersCornersAreOnlyRead) {
    MemoryDc m(8, 8);
    vec2 corners[] = {vec2(1.5, 1.5), vec2(6.9, 1.1), vec2(-2.5, 6.5), vec2(0.25, 0.75)};
    vec2 copy[4];
    std::memcpy(copy, corners, sizeof corners);
    drawPoly(m.dc, corners, 4);
    drawPoly(m.dc, corners, 4, 0xFF);
    drawPoly(m.dc, corners, 4, 0xFF, 0xFF00);
    drawPoly(m.dc, vec2(1, 1), vec2(0, 2), corners, 4);
    drawPoly(m.dc, vec2(1, 1), vec2(0, 2), corners, 4, 0xFF);
    drawPoly(m.dc, vec2(1, 1), vec2(0, 2), corners, 4, 0xFF, 0xFF00);
    EXPECT_EQ(std::memcmp(copy, corners, sizeof corners), 0);
}

TEST(DrawPoly, LargeFiguresAreConvertedWholeAndStillClose) {
    MemoryDc m(4, 4);
    for (int count : {255, 256, 257, 5000}) {
        std::vector<vec2> corners;
        for (int i = 0; i < count; ++i)
            corners.push_back(vec2(i + 0.75, -i - 0.75));
        gdilog::start();
        drawPoly(m.dc, corners.data(), count, 0xFF);
        const std::vector<POINT> outline = gdilog::lastPoints();
        drawPoly(m.dc, vec2(10, 0), vec2(1, 0), corners.data(), count);
        const std::vector<POINT> filled = gdilog::lastPoints();
        gdilog::stop();
        ASSERT_EQ(outline.size(), std::size_t(count) + 1);
        ASSERT_EQ(filled.size(), std::size_t(count));
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(outline[i].x, i) << count;
            ASSERT_EQ(outline[i].y, -i) << count;
            ASSERT_EQ(filled[i].x, i + 10) << count;
            ASSERT_EQ(filled[i].y, -i) << count;
        }
        EXPECT_EQ(outline[count].x, 0);
        EXPECT_EQ(outline[count].y, 0);
    }
}

TEST(DrawPoly, OnlyLargeFiguresTouchTheHeap) {
    // A null context fails every GDI call at once, so only the toolkit's own
    // allocations are counted.
    std::vector<vec2> corners(5000, vec2(1, 2));
    alloc::count(true);
    drawPoly(nullptr, corners.data(), 200);
    drawPoly(nullptr, vec2(3, 4), vec2(0, 1), corners.data(), 256);
    const int small = alloc::made();
    alloc::count(true);
    drawPoly(nullptr, corners.data(), 5000);
    const int large = alloc::made();
    alloc::count(false);
    EXPECT_EQ(small, 0);
    EXPECT_EQ(large, 1);
}

} // namespace
