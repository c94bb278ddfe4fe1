#include "platform/win32.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// '.' black, '#' red, 'o' green, 'W' white, '?' anything else.
std::string picture(const MemoryDc& m) {
    std::string out;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            const COLORREF p = m.at(x, y);
            out += p == 0          ? '.'
                   : p == 0x0000FF ? '#'
                   : p == 0x00FF00 ? 'o'
                   : p == 0xFFFFFF ? 'W'
                                   : '?';
        }
        out += '\n';
    }
    return out;
}

TEST(GdiDrawing, ANewDcOutlinesInBlackAndFillsWhite) {
    MemoryDc m(5, 5);
    EXPECT_TRUE(Ellipse(m.dc, 0, 0, 5, 5));
    EXPECT_EQ(picture(m), ".....\n.WWW.\n.WWW.\n.WWW.\n.....\n");
    MemoryDc p(5, 5);
    const POINT square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(Polygon(p.dc, square, 4));
    EXPECT_EQ(picture(p), ".....\n.WWW.\n.WWW.\n.WWW.\n.....\n");
}

TEST(GdiDrawing, OnlyMoveToExAndLineToUseTheCurrentPosition) {
    MemoryDc m(6, 4);
    HPEN red = CreatePen(PS_SOLID, 1, 0x0000FF);
    HBRUSH green = CreateSolidBrush(0x00FF00);
    HGDIOBJ oldPen = SelectObject(m.dc, red);
    HGDIOBJ oldBrush = SelectObject(m.dc, green);
    EXPECT_TRUE(LineTo(m.dc, 3, 0)); // a new DC starts at (0, 0)
    const POINT pts[] = {{5, 3}, {5, 1}};
    EXPECT_TRUE(Polyline(m.dc, pts, 2));
    EXPECT_TRUE(Ellipse(m.dc, 0, 1, 3, 4));
    EXPECT_TRUE(LineTo(m.dc, 3, 3)); // from (3, 0): neither call above moved it
    POINT where{};
    EXPECT_TRUE(MoveToEx(m.dc, 1, 1, &where));
    EXPECT_EQ(where.x, 3);
    EXPECT_EQ(where.y, 3);
    EXPECT_EQ(picture(m), "####..\n.#.#..\n#o##.#\n.#...#\n");
    SelectObject(m.dc, oldPen);
    SelectObject(m.dc, oldBrush);
    DeleteObject(red);
    DeleteObject(green);
}

} // namespace
