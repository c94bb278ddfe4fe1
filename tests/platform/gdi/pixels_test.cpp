#include "platform/win32.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(GdiPixels, ReadsAndWritesStayInsideTheSurface) {
    MemoryDc m(5, 3);
    EXPECT_TRUE(SetPixelV(m.dc, 4, 2, 0x00ABCDEF));
    EXPECT_EQ(m.at(4, 2), 0xABCDEFu);
    EXPECT_TRUE(SetPixelV(m.dc, 0, 0, 0xFF123456)); // the top byte is not a colour
    EXPECT_EQ(m.at(0, 0), 0x123456u);
    const int edges[][2] = {
        {-1, 0},      {0, -1},     {5, 0}, {0, 3}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
        {INT_MIN, 0}, {0, INT_MAX}};
    for (const auto& e : edges) {
        EXPECT_FALSE(SetPixelV(m.dc, e[0], e[1], 0xFFFFFF));
        EXPECT_EQ(GetPixel(m.dc, e[0], e[1]), CLR_INVALID);
    }
    EXPECT_EQ(m.countNonBlack(), 2);
}

TEST(GdiPixels, FillRectIsHalfOpenClippedAndShiftsInvertedEdges) {
    MemoryDc m(12, 6);
    HBRUSH b = CreateSolidBrush(0x0000FF);
    RECT normal{2, 2, 8, 6};
    FillRect(m.dc, &normal, b);
    EXPECT_EQ(m.countNonBlack(), 24);
    EXPECT_EQ(m.at(2, 2), 0xFFu);
    EXPECT_EQ(m.at(8, 2), 0u);
    EXPECT_EQ(m.at(1, 2), 0u);

    MemoryDc inv(12, 6);
    RECT inverted{8, 2, 2, 6};
    FillRect(inv.dc, &inverted, b);
    EXPECT_EQ(inv.countNonBlack(), 24);
    EXPECT_EQ(inv.at(2, 2), 0u);
    EXPECT_EQ(inv.at(8, 2), 0xFFu);

    MemoryDc all(7, 7);
    RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    FillRect(all.dc, &huge, b);
    EXPECT_EQ(all.countNonBlack(), 49);
    MemoryDc none(7, 7);
    RECT empty{3, 3, 3, 9}, reversedHuge{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    FillRect(none.dc, &empty, b);
    FillRect(none.dc, &reversedHuge, b);
    EXPECT_EQ(none.countNonBlack(), 0);
    DeleteObject(b);
}

TEST(GdiPixels, BitBltCopiesTheOverlapOnly) {
    MemoryDc src(4, 4), dst(6, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            SetPixelV(src.dc, x, y, COLORREF(0x10 * (y * 4 + x) + 1));
    EXPECT_TRUE(BitBlt(dst.dc, 4, -1, 4, 4, src.dc, 0, 0, SRCCOPY));
    // Destination columns 4..5, rows 0..2 take source columns 0..1, rows 1..3.
    EXPECT_EQ(dst.at(4, 0), src.at(0, 1));
    EXPECT_EQ(dst.at(5, 2), src.at(1, 3));
    EXPECT_EQ(dst.countNonBlack(), 6);
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 6, 6, src.dc, 2, 3, SRCCOPY));
    EXPECT_EQ(dst.at(0, 0), src.at(2, 3));
    EXPECT_EQ(dst.at(1, 0), src.at(3, 3));
    EXPECT_TRUE(BitBlt(dst.dc, INT_MIN, INT_MAX, INT_MAX, INT_MAX, src.dc, INT_MAX, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 0x00EE0086 /* SRCPAINT */));
}

// The DC as a small picture: '.' black, '#' red, 'o' green, '?' anything else.
std::string picture(const MemoryDc& m) {
    std::string out;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            const COLORREF c = m.at(x, y);
            out += c == 0 ? '.' : c == 0x0000FF ? '#' : c == 0x00FF00 ? 'o' : '?';
        }
        out += '\n';
    }
    return out;
}

void copyAll(const MemoryDc& to, const MemoryDc& from) {
    EXPECT_TRUE(BitBlt(to.dc, 0, 0, from.width, from.height, from.dc, 0, 0, SRCCOPY));
}

// A repeated copy may look only at what its source wrote since the last one,
// and only while the destination still holds that copy untouched.
TEST(GdiPixels, RepeatedBitBltsLeaveTheDestinationEqualToTheSource) {
    const COLORREF red = 0x0000FF, green = 0x00FF00;
    MemoryDc src(6, 4), dst(6, 4), other(6, 4);
    SetPixelV(src.dc, 1, 1, red);
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), "......\n.#....\n......\n......\n");

    // Drawn on the destination since: the next copy puts the source's pixel back.
    SetPixelV(dst.dc, 4, 2, green);
    SetPixelV(src.dc, 2, 2, red);
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), "......\n.#....\n..#...\n......\n");

    // Lines, fills and copies into the source all reach the destination.
    HPEN pen = CreatePen(PS_SOLID, 1, green);
    HGDIOBJ oldPen = SelectObject(src.dc, pen);
    MoveToEx(src.dc, 0, 3, NULL);
    LineTo(src.dc, 3, 3);
    SelectObject(src.dc, oldPen);
    DeleteObject(pen);
    HBRUSH brush = CreateSolidBrush(red);
    RECT box{4, 0, 6, 1};
    FillRect(src.dc, &box, brush);
    DeleteObject(brush);
    SetPixelV(other.dc, 5, 3, red);
    EXPECT_TRUE(BitBlt(src.dc, 5, 3, 1, 1, other.dc, 5, 3, SRCCOPY));
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), "....##\n.#....\n..#...\nooo..#\n");

    // Two destinations in turn: each copy brings what the other one took, too.
    MemoryDc second(6, 4);
    copyAll(second, src);
    SetPixelV(src.dc, 0, 0, green); // after dst's last copy, before second's
    copyAll(second, src);
    SetPixelV(src.dc, 3, 1, green);
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), "o...##\n.#.o..\n..#...\nooo..#\n");
    copyAll(second, src);
    EXPECT_EQ(picture(second), picture(src));

    // Another place in the same destination is a new copy, not a repeat.
    RECT all{0, 0, 6, 4};
    FillRect(dst.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    copyAll(dst, src);
    EXPECT_TRUE(BitBlt(dst.dc, 1, 0, 5, 4, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(picture(dst), "oo...#\n..#.o.\n...#..\noooo..\n");

    // A fresh bitmap behind the destination, or behind the source, takes everything.
    HBITMAP fresh = CreateCompatibleBitmap(dst.dc, 6, 4);
    HGDIOBJ held = SelectObject(dst.dc, fresh);
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), picture(src));
    SelectObject(dst.dc, held);
    DeleteObject(fresh);
    HBITMAP blank = CreateCompatibleBitmap(src.dc, 6, 4);
    held = SelectObject(src.dc, blank);
    copyAll(dst, src);
    EXPECT_EQ(picture(dst), "......\n......\n......\n......\n");
    SelectObject(src.dc, held);
    DeleteObject(blank);
}

TEST(GdiPixels, BitBltWithinOneBitmapCopiesAsIfThroughAScratchCopy) {
    // Rows and columns numbered, then the block moved one down and one right, and
    // one up and one left: every pixel lands where its original was sent.
    auto numbered = [](MemoryDc& m) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                SetPixelV(m.dc, x, y, COLORREF(0x10 * y + x + 1));
    };
    MemoryDc down(4, 4);
    numbered(down);
    EXPECT_TRUE(BitBlt(down.dc, 1, 1, 3, 3, down.dc, 0, 0, SRCCOPY));
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            EXPECT_EQ(down.at(x, y), COLORREF(0x10 * (y - 1) + (x - 1) + 1)) << x << "," << y;
    MemoryDc up(4, 4);
    numbered(up);
    EXPECT_TRUE(BitBlt(up.dc, 0, 0, 3, 3, up.dc, 1, 1, SRCCOPY));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(up.at(x, y), COLORREF(0x10 * (y + 1) + (x + 1) + 1)) << x << "," << y;
}

} // namespace
