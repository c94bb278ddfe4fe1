#include "platform/host.h"
#include "platform/win32.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A host with one window whose backing store the test holds: what BitBlt reports
// is what the host would put on the screen.
struct Recorder {
    tess::Surface surface{8, 4};
    std::vector<tess::PixelRect> blits;
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
        tess::WindowHost h;
        h.surfaceOf = [](HWND w) { return w == theWindow() ? &recorder().surface : nullptr; };
        h.blitted = [](HWND, const tess::PixelRect& r) { recorder().blits.push_back(r); };
        tess::setWindowHost(h);
    }
    void TearDown() override { tess::setWindowHost(tess::WindowHost{}); }
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
    ASSERT_EQ(recorder().blits.size(), 1u);
    EXPECT_EQ(corners(recorder().blits[0]), (std::vector<int>{2, 1, 6, 3}));
    EXPECT_EQ(corners(recorder().surface.dirty), (std::vector<int>{2, 1, 6, 3}));
    EXPECT_EQ(recorder().surface.at(2, 1), 0x0000FFu);
    EXPECT_EQ(recorder().surface.at(5, 2), 0x00FF00u);

    // The same picture again changes nothing, and nothing is reported.
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(recorder().blits.size(), 1u);

    // One changed pixel at the far corner is a one-pixel region.
    SetPixelV(bitmap.dc, 7, 3, 0xFFFFFF);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
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
    ASSERT_EQ(recorder().blits.size(), 1u);

    // Drawn on the window, not on the bitmap: the next copy of the unchanged
    // bitmap still puts that pixel back, and reports just it.
    SetPixelV(window, 6, 3, 0x00FF00);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    ASSERT_EQ(recorder().blits.size(), 2u);
    EXPECT_EQ(corners(recorder().blits[1]), (std::vector<int>{6, 3, 7, 4}));
    EXPECT_EQ(recorder().surface.at(6, 3), 0u);
    EXPECT_EQ(recorder().surface.at(2, 1), 0x0000FFu);

    // A pixel the bitmap rewrites with the colour it had is no change on screen.
    SetPixelV(bitmap.dc, 2, 1, 0x0000FF);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, bitmap.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(recorder().blits.size(), 2u);
    ReleaseDC(theWindow(), window);
}

} // namespace
