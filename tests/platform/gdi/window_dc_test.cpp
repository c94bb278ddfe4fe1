#include "platform/gdi/window_surfaces.h"
#include "platform/win32.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A host with one window whose backing store the test holds: what a copy left
// changed there is what the host would put on the screen.
struct Recorder {
    tess::Surface surface{8, 4};
    void resize(int w, int h) { surface = tess::Surface(w, h); }
    std::vector<tess::PixelRect> blits;
    // Takes what changed, as the host's present does: its bounds, when anything did.
    void take() {
        const tess::DirtyRegion changed = surface.takeChanged();
        if (!changed.empty()) blits.push_back(changed.bounds());
    }
};

Recorder& recorder() {
    static Recorder r;
    return r;
}

HWND theWindow() {
    return reinterpret_cast<HWND>(std::uintptr_t(0x40));
}

struct RecordingHost : ::testing::Test {
    void SetUp() override {
        recorder() = Recorder{};
        tess::setWindowSurfaces(
            [](HWND w) { return w == theWindow() ? &recorder().surface : nullptr; });
    }
    void TearDown() override { tess::setWindowSurfaces(nullptr); }
};

std::vector<int> corners(const tess::PixelRect& r) {
    return {r.x0, r.y0, r.x1, r.y1};
}

TEST_F(RecordingHost, ABlitToAWindowReportsOnlyThePixelsItChanged) {
    MemoryDc bitmap(8, 4);
    HDC window = GetDC(theWindow());
    ASSERT_NE(window, nullptr);
    SetPixelV(bitmap.dc, 2, 1, 0x0000FF);
    SetPixelV(bitmap.dc, 5, 2, 0x00FF00);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    ASSERT_EQ(recorder().blits.size(), 1u);
    EXPECT_EQ(corners(recorder().blits[0]), (std::vector<int>{2, 1, 6, 3}));
    EXPECT_EQ(recorder().surface.at(2, 1), 0x0000FFu);
    EXPECT_EQ(recorder().surface.at(5, 2), 0x00FF00u);

    // The same picture again changes nothing, and nothing is reported.
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    EXPECT_EQ(recorder().blits.size(), 1u);

    // One changed pixel at the far corner is a one-pixel region.
    SetPixelV(bitmap.dc, 7, 3, 0xFFFFFF);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    ASSERT_EQ(recorder().blits.size(), 2u);
    EXPECT_EQ(corners(recorder().blits[1]), (std::vector<int>{7, 3, 8, 4}));
    EXPECT_EQ(recorder().surface.at(7, 3), 0xFFFFFFu);
    ReleaseDC(theWindow(), window);
}

TEST_F(RecordingHost, ABlitRepairsWhatWasDrawnOnTheWindowSinceTheLastOne) {
    MemoryDc bitmap(8, 4);
    HDC window = GetDC(theWindow());
    ASSERT_NE(window, nullptr);
    SetPixelV(bitmap.dc, 2, 1, 0x0000FF);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    ASSERT_EQ(recorder().blits.size(), 1u);

    // Drawn on the window, not on the bitmap: the next copy of the unchanged
    // bitmap still puts that pixel back, and reports just it.
    SetPixelV(window, 6, 3, 0x00FF00);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    ASSERT_EQ(recorder().blits.size(), 2u);
    EXPECT_EQ(corners(recorder().blits[1]), (std::vector<int>{6, 3, 7, 4}));
    EXPECT_EQ(recorder().surface.at(6, 3), 0u);
    EXPECT_EQ(recorder().surface.at(2, 1), 0x0000FFu);

    // A pixel the bitmap rewrites with the colour it had is no change on screen.
    SetPixelV(bitmap.dc, 2, 1, 0x0000FF);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    recorder().take();
    EXPECT_EQ(recorder().blits.size(), 2u);
    ReleaseDC(theWindow(), window);
}

// The window's pixels as rows of characters: '.' black, '#' red, 'o' green.
std::string rowsOf(const tess::Surface& s) {
    std::string out;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x)
            out += s.at(x, y) == 0 ? '.' : s.at(x, y) == 0x0000FF ? '#' : 'o';
        out += '\n';
    }
    return out;
}

TEST_F(RecordingHost, AStretchByAWholeFactorPaintsBlocksAndReportsOnlyWhatChanged) {
    MemoryDc bitmap(4, 2);
    HDC window = GetDC(theWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SetStretchBltMode(window, COLORONCOLOR), BLACKONWHITE);
    SetPixelV(bitmap.dc, 1, 0, 0x0000FF);
    SetPixelV(bitmap.dc, 3, 1, 0x00FF00);
    EXPECT_TRUE(StretchBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, 4, 2, SRCCOPY));
    recorder().take();
    EXPECT_EQ(rowsOf(recorder().surface), "..##....\n..##....\n......oo\n......oo\n");
    ASSERT_EQ(recorder().blits.size(), 1u);
    EXPECT_EQ(corners(recorder().blits[0]), (std::vector<int>{2, 0, 8, 4}));

    // Again unchanged: nothing written, nothing reported. One source pixel
    // changed: its block alone.
    EXPECT_TRUE(StretchBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, 4, 2, SRCCOPY));
    recorder().take();
    EXPECT_EQ(recorder().blits.size(), 1u);
    SetPixelV(bitmap.dc, 0, 1, 0x00FF00);
    EXPECT_TRUE(StretchBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, 4, 2, SRCCOPY));
    recorder().take();
    ASSERT_EQ(recorder().blits.size(), 2u);
    EXPECT_EQ(corners(recorder().blits[1]), (std::vector<int>{0, 2, 2, 4}));

    // A part of the bitmap to its place, clipped by the window's edge; the
    // same size is a plain copy.
    recorder().resize(8, 4);
    EXPECT_TRUE(StretchBlt(window, 4, 2, 6, 6, bitmap.dc, 1, 0, 2, 2, SRCCOPY));
    recorder().take();
    EXPECT_EQ(rowsOf(recorder().surface), "........\n........\n....###.\n....###.\n");
    EXPECT_TRUE(StretchBlt(window, 0, 0, 2, 1, bitmap.dc, 0, 1, 2, 1, SRCCOPY));
    recorder().take();
    EXPECT_EQ(rowsOf(recorder().surface), "o.......\n........\n....###.\n....###.\n");
    EXPECT_FALSE(StretchBlt(window, 0, 0, -8, 4, bitmap.dc, 0, 0, 4, 2, SRCCOPY)); // no mirroring

    // A stretch in between does not make a later plain copy miss what changed
    // before it: that copy compares again.
    MemoryDc copy(4, 2);
    EXPECT_TRUE(BitBlt(copy.dc, 0, 0, 4, 2, bitmap.dc, 0, 0, SRCCOPY));
    SetPixelV(bitmap.dc, 2, 0, 0x0000FF);
    EXPECT_TRUE(StretchBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, 4, 2, SRCCOPY));
    recorder().take();
    EXPECT_TRUE(BitBlt(copy.dc, 0, 0, 4, 2, bitmap.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.at(2, 0), 0x0000FFu);
    ReleaseDC(theWindow(), window);
}

// The changed list is what a present uploads: every pixel a copy changed must
// lie in one of its rectangles, however the writes fall, and the list stays
// short. Checked against a full compare of the window before and after.
TEST_F(RecordingHost, TheChangedListCoversEveryChangedPixelOfRandomWrites) {
    const int w = 200, h = 150;
    recorder().resize(w, h);
    MemoryDc bitmap(w, h);
    HDC window = GetDC(theWindow());
    ASSERT_NE(window, nullptr);
    std::srand(7);
    auto rnd = [](int n) { return std::rand() % n; };
    HBRUSH brush = CreateSolidBrush(0x123456);
    HPEN pen = CreatePen(PS_SOLID, 1, 0x00FF00);
    HGDIOBJ oldPen = SelectObject(bitmap.dc, pen);
    for (int round = 0; round < 300; ++round) {
        // A few clusters of pixels, as a chain leaves them, and now and then a
        // line, a filled block, or a pixel drawn on the window itself.
        for (int c = 1 + rnd(3); c > 0; --c) {
            const int cx = rnd(w), cy = rnd(h);
            for (int n = rnd(40); n > 0; --n)
                SetPixelV(bitmap.dc, cx + rnd(21) - 10, cy + rnd(21) - 10,
                          COLORREF(rnd(0x1000000)));
        }
        if (rnd(8) == 0) {
            MoveToEx(bitmap.dc, rnd(w), rnd(h), nullptr);
            LineTo(bitmap.dc, rnd(w), rnd(h));
        }
        if (rnd(10) == 0) {
            const RECT r{rnd(w), rnd(h), rnd(w), rnd(h)};
            FillRect(bitmap.dc, &r, brush);
        }
        if (rnd(12) == 0) SetPixelV(window, rnd(w), rnd(h), 0xFFFFFF);
        if (rnd(3) == 0) recorder().surface.takeChanged(); // presented meanwhile

        const std::vector<std::uint32_t> before = recorder().surface.pixels;
        ASSERT_TRUE(BitBlt(window, 0, 0, w, h, bitmap.dc, 0, 0, SRCCOPY));
        const tess::DirtyRegion& dirty = recorder().surface.changed();
        ASSERT_LE(dirty.count, tess::DirtyRegion::kMax);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::size_t i = std::size_t(y) * w + x;
                ASSERT_EQ(recorder().surface.pixels[i], bitmap.at(x, y)) << x << "," << y;
                if (before[i] == recorder().surface.pixels[i]) continue;
                bool covered = false;
                for (const tess::PixelRect& r : dirty)
                    covered |= x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
                ASSERT_TRUE(covered) << "round " << round << ": " << x << "," << y;
            }
        }
    }
    SelectObject(bitmap.dc, oldPen);
    DeleteObject(pen);
    DeleteObject(brush);
    ReleaseDC(theWindow(), window);
}

// Two changes far apart (the head snapping back to the centre) stay apart, a
// straight trail stays one rectangle, and a winding one is covered by pieces
// near its pixels, not by its box.
TEST(DirtyRegion, StaysNearWhatChangedAndShort) {
    tess::DirtyRegion d;
    for (int i = 0; i < 50; ++i) {
        d.add(tess::PixelRect{900 - i, 700, 901 - i, 701});     // a straight trail
        d.add(tess::PixelRect{10 + i, 10 + i, 11 + i, 11 + i}); // a diagonal one, far off
    }
    long long area = 0;
    for (const tess::PixelRect& r : d) {
        area += static_cast<long long>(r.x1 - r.x0) * (r.y1 - r.y0);
        EXPECT_FALSE(r.x1 > 100 && r.x0 < 800) << "a rectangle spans both trails";
    }
    EXPECT_LE(area, 1000); // 100 pixels changed; the diagonal trail's box alone is 2,500
    EXPECT_EQ(corners(d.bounds()), (std::vector<int>{10, 10, 901, 701}));
    int straight = 0;
    for (const tess::PixelRect& r : d)
        straight += r.y0 == 700;
    EXPECT_EQ(straight, 1);

    // Past the cap, a new far change joins the rectangle it wastes least with.
    for (int i = 2; i < 2 + 2 * tess::DirtyRegion::kMax; ++i)
        d.add(tess::PixelRect{i * 1000, i * 1000, i * 1000 + 1, i * 1000 + 1});
    EXPECT_EQ(d.count, tess::DirtyRegion::kMax);
    const int last = (1 + 2 * tess::DirtyRegion::kMax) * 1000 + 1;
    EXPECT_EQ(corners(d.bounds()), (std::vector<int>{10, 10, last, last}));
}

} // namespace
