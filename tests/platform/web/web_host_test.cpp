#include "platform/host.h"
#include "platform/web/input.h"
#include "platform/web/page.h"
#include "platform/web/present.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using tess::noteKey;
using tess::PixelRect;
using tess::releaseKeys;
using tess::Surface;
using namespace tess::web;

// What reached the canvas: each put's place, size and bytes.
struct Put {
    int x, y, width, height;
    std::vector<unsigned char> bytes;
};
std::vector<Put>& canvasPuts() {
    static std::vector<Put> p;
    return p;
}

bool held(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x80) != 0;
}

TEST(WebKeys, NameTheKeysTheProgramAndItsToolsUse) {
    EXPECT_EQ(virtualKeyOf("Enter"), VK_RETURN);
    EXPECT_EQ(virtualKeyOf("NumpadEnter"), VK_RETURN);
    EXPECT_EQ(virtualKeyOf("Escape"), VK_ESCAPE);
    EXPECT_EQ(virtualKeyOf("KeyA"), 'A');
    EXPECT_EQ(virtualKeyOf("KeyZ"), 'Z');
    EXPECT_EQ(virtualKeyOf("Digit0"), '0');
    EXPECT_EQ(virtualKeyOf("Numpad7"), 0x67);
    EXPECT_EQ(virtualKeyOf("F1"), 0x70);
    EXPECT_EQ(virtualKeyOf("F4"), VK_F4);
    EXPECT_EQ(virtualKeyOf("F24"), 0x87);
    EXPECT_EQ(virtualKeyOf("ArrowDown"), VK_DOWN);
    EXPECT_EQ(virtualKeyOf("AltRight"), VK_RMENU);
}

TEST(WebKeys, LeaveUnknownAndMalformedCodesUnnamed) {
    for (const char* code : {"", "Key", "Keya", "KeyAB", "Digit", "Digit10", "F0", "F25", "F1x",
                             "Numpad", "NumpadAdd", "enter", "MetaLeft", "Unidentified"})
        EXPECT_EQ(virtualKeyOf(code), 0) << code;
    EXPECT_EQ(virtualKeyOf(nullptr), 0);
}

TEST(WebKeys, AreAllReleasedWhenThePageLosesTheKeyboard) {
    noteKey(VK_RETURN, true);
    noteKey(VK_LSHIFT, true);
    ASSERT_TRUE(held(VK_RETURN));
    releaseKeys();
    EXPECT_FALSE(held(VK_RETURN));
    EXPECT_FALSE(held(VK_LSHIFT));
    EXPECT_FALSE(held(VK_SHIFT));
}

TEST(WebPresent, CopiesARectangleOpaqueInCanvasByteOrder) {
    Surface s(4, 3);
    s.at(1, 1) = RGB(0x11, 0x22, 0x33);
    s.at(2, 2) = RGB(0xFF, 0x00, 0x80);
    std::vector<std::uint32_t> out;
    const PixelRect r = copyOpaque(s, PixelRect{1, 1, 3, 3}, out);
    EXPECT_EQ(r.x0, 1);
    EXPECT_EQ(r.y1, 3);
    ASSERT_EQ(out.size(), 4u);
    unsigned char bytes[16];
    std::memcpy(bytes, out.data(), sizeof bytes);
    const unsigned char want[16] = {0x11, 0x22, 0x33, 0xFF, 0,    0,    0,    0xFF,
                                    0,    0,    0,    0xFF, 0xFF, 0x00, 0x80, 0xFF};
    EXPECT_EQ(std::memcmp(bytes, want, sizeof want), 0);
}

TEST(WebPresent, ClipsToTheSurfaceAndCopiesNothingOffIt) {
    Surface s(4, 3);
    std::vector<std::uint32_t> out;
    const PixelRect r = copyOpaque(s, PixelRect{-2, 2, 9, 7}, out);
    EXPECT_EQ(r.x0, 0);
    EXPECT_EQ(r.y0, 2);
    EXPECT_EQ(r.x1, 4);
    EXPECT_EQ(r.y1, 3);
    EXPECT_EQ(out.size(), 4u);
    out.assign(5, 7);
    EXPECT_TRUE(copyOpaque(s, PixelRect{4, 0, 6, 3}, out).empty());
    EXPECT_EQ(out.size(), 5u); // untouched
}

TEST(WebPresent, PutsOnlyTheDirtyRectanglesThenNothingUntilMoreChanges) {
    Surface s(200, 200); // far apart: two rectangles, not their union
    s.at(3, 4) = RGB(9, 8, 7);
    s.touch(3, 4);
    s.touch(PixelRect{196, 190, 200, 192});
    canvasPuts().clear();
    ASSERT_TRUE(presentSurface(s, false));
    ASSERT_EQ(canvasPuts().size(), 2u);
    EXPECT_EQ(canvasPuts()[0].x, 3);
    EXPECT_EQ(canvasPuts()[0].y, 4);
    EXPECT_EQ(canvasPuts()[0].width * canvasPuts()[0].height, 1);
    EXPECT_EQ(canvasPuts()[0].bytes, (std::vector<unsigned char>{9, 8, 7, 0xFF}));
    EXPECT_EQ(canvasPuts()[1].x, 196);
    EXPECT_EQ(canvasPuts()[1].y, 190);
    EXPECT_EQ(canvasPuts()[1].width, 4);
    EXPECT_EQ(canvasPuts()[1].height, 2);
    EXPECT_FALSE(presentSurface(s, false));
    EXPECT_EQ(canvasPuts().size(), 2u);
    ASSERT_TRUE(presentSurface(s, true)); // shown anew: all of it
    EXPECT_EQ(canvasPuts().back().width * canvasPuts().back().height, 200 * 200);
}

// The frame timer's clock: Emscripten refuses the boot-time clock, and a tick
// count that never moved would freeze the chain.
TEST(WebClock, TickCountAdvances) {
    const DWORD start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(GetTickCount() - start, 20u);
}

} // namespace

// The page's side of a present, recorded instead of drawn.
void tess::web::putPixels(const std::uint32_t* rgba, int x, int y, int width, int height) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(rgba);
    canvasPuts().push_back(
        Put{x, y, width, height,
            std::vector<unsigned char>(bytes, bytes + std::size_t(width) * height * 4)});
}
