#include "platform/gdi/gdi_stats.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

TEST(GdiObjects, NewMemoryDcHoldsBlackPenWhiteBrushAndA1x1Bitmap) {
    const int live = tess::gdiLiveObjects().total();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0x0000FF);
    HBRUSH brush = CreateSolidBrush(0x00FF00);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), brush);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 1, 0), CLR_INVALID);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
}

TEST(GdiObjects, SelectedObjectsCannotBeDeletedAndStockOnesNeverAre) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(0x123456);
    HGDIOBJ old = SelectObject(dc, brush);
    EXPECT_FALSE(DeleteObject(brush)); // still selected: refused, and still usable
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(dc, &r, brush), 1);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
    DeleteDC(dc);
}

TEST(GdiObjects, StaleAndWrongHandlesFailQuietly) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));           // twice
    EXPECT_EQ(SelectObject(dc, pen), nullptr); // after deletion
    HPEN reused = CreatePen(PS_SOLID, 1, 0);   // may take the same slot
    EXPECT_NE(reused, pen);
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    EXPECT_TRUE(DeleteObject(reused));

    HGDIOBJ forged[] = {reinterpret_cast<HGDIOBJ>(1), reinterpret_cast<HGDIOBJ>(0xDEADBEEF),
                        reinterpret_cast<HGDIOBJ>(~std::uintptr_t(0)), nullptr};
    for (HGDIOBJ h : forged) {
        EXPECT_EQ(SelectObject(dc, h), nullptr);
        EXPECT_FALSE(DeleteObject(h));
        EXPECT_EQ(GetPixel(static_cast<HDC>(h), 0, 0), CLR_INVALID);
        EXPECT_FALSE(SetPixelV(static_cast<HDC>(h), 0, 0, 1));
        EXPECT_FALSE(DeleteDC(static_cast<HDC>(h)));
        EXPECT_EQ(CreateCompatibleBitmap(static_cast<HDC>(h), 4, 4), nullptr);
    }
    // A DC is not a GDI object for DeleteObject, nor a pen for SelectObject.
    EXPECT_FALSE(DeleteObject(dc));
    EXPECT_EQ(SelectObject(dc, dc), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(CreateCompatibleDC(dc), nullptr);
}

TEST(GdiObjects, BitmapsBelongToOneDcAndRejectBadSizes) {
    HDC screen = GetDC(nullptr);
    HDC a = CreateCompatibleDC(screen), b = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 8, 4);
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ oldA = SelectObject(a, bmp);
    EXPECT_NE(oldA, nullptr);
    EXPECT_EQ(SelectObject(b, bmp), nullptr); // already in a
    EXPECT_EQ(SelectObject(screen, bmp), nullptr);
    EXPECT_EQ(GetPixel(a, 7, 3), 0u);
    EXPECT_EQ(GetPixel(a, 8, 3), CLR_INVALID);
    EXPECT_FALSE(DeleteObject(bmp));
    SelectObject(a, oldA);
    EXPECT_NE(SelectObject(b, bmp), nullptr); // free again
    DeleteDC(b);                              // deleting the DC lets go of its bitmap
    EXPECT_TRUE(DeleteObject(bmp));

    EXPECT_EQ(CreateCompatibleBitmap(screen, -1, 4), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 16, 1 << 16), nullptr);
    HBITMAP zero = CreateCompatibleBitmap(screen, 0, 10);
    EXPECT_NE(zero, nullptr);
    DeleteObject(zero);
    DeleteDC(a);
    ReleaseDC(nullptr, screen);
}

TEST(GdiObjects, LiveCountsReturnToTheStartAfterThousandsOfCycles) {
    const tess::GdiCounts before = tess::gdiLiveObjects();
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(tess::gdiLiveObjects().dcs, before.dcs + 1);
    for (int i = 0; i < 5000; ++i) {
        HPEN p = CreatePen(PS_SOLID, 1, COLORREF(i));
        HBRUSH br = CreateSolidBrush(COLORREF(i));
        HGDIOBJ op = SelectObject(dc, p), ob = SelectObject(dc, br);
        SelectObject(dc, op);
        SelectObject(dc, ob);
        DeleteObject(p);
        DeleteObject(br);
    }
    const tess::GdiCounts mid = tess::gdiLiveObjects();
    EXPECT_EQ(mid.pens, before.pens);
    EXPECT_EQ(mid.brushes, before.brushes);
    DeleteDC(dc);
    EXPECT_EQ(tess::gdiLiveObjects().total(), before.total());
}

} // namespace
