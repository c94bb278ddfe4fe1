// The browser driver over the fake page: the page's key codes, the copy onto
// the canvas, presents on the display's frames, the page's settings and end;
// the queue and display cases (tests/platform/host) run over it too.

#include "fake_page.h"

#include "platform/web/input.h"
#include "platform/web/present.h"
#include "platform/win32.h"
#include "support/host_desktop.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using tess::PixelRect;
using tess::Surface;
using namespace tess::web;

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

using WebPage = HostTest;

TEST_F(WebPage, PutsOnlyWhatChangedOnTheDisplaysFramesAndNothingUntilMoreChanges) {
    ASSERT_NE(registerTestClass("page", DefWindowProcA), 0);
    HWND hwnd = CreateWindowExA(0, "page", "t", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ((std::vector<int>{fakepage::page().canvasW, fakepage::page().canvasH}),
              (std::vector<int>{200, 200}));
    EXPECT_TRUE(fakepage::page().canvasShown);
    // The page has one canvas: a second window is refused.
    EXPECT_EQ(
        CreateWindowExA(0, "page", "t", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    // Shown anew: all of it, at the next frame.
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT), DWORD(WAIT_OBJECT_0));
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && m.message == WM_PAINT)
        DispatchMessageA(&m);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    ASSERT_FALSE(fakepage::page().puts.empty());
    EXPECT_EQ(fakepage::page().puts.back().width * fakepage::page().puts.back().height, 200 * 200);

    // Two changes far apart: two rectangles, not their union.
    MemoryDc bitmap(200, 200);
    SetPixelV(bitmap.dc, 3, 4, RGB(9, 8, 7));
    SetPixelV(bitmap.dc, 197, 191, RGB(1, 2, 3));
    HDC dc = GetDC(hwnd);
    BitBlt(dc, 0, 0, 200, 200, bitmap.dc, 0, 0, SRCCOPY);
    fakepage::page().puts.clear();
    const int presents = fakepage::page().presents;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT); // sleeps to the next frame
    ASSERT_EQ(fakepage::page().puts.size(), 2u);
    EXPECT_EQ(fakepage::page().presents, presents + 1);
    EXPECT_EQ(fakepage::page().puts[0].x, 3);
    EXPECT_EQ(fakepage::page().puts[0].y, 4);
    EXPECT_EQ(fakepage::page().puts[0].bytes, (std::vector<unsigned char>{9, 8, 7, 0xFF}));
    EXPECT_EQ(fakepage::page().puts[1].x, 197);
    EXPECT_EQ(fakepage::page().puts[1].y, 191);
    // Nothing changed: frames come and go, and nothing is put.
    for (int i = 0; i < 3; ++i)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 12, QS_ALLINPUT);
    EXPECT_EQ(fakepage::page().puts.size(), 2u);
    ReleaseDC(hwnd, dc);

    // Switched, the canvas keeps the window's size and the page fits it.
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    mode.dmPelsWidth = 200;
    mode.dmPelsHeight = 200;
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(fakepage::page().fitted);
    EXPECT_EQ(fakepage::page().canvasW, 200);
    ChangeDisplaySettingsA(nullptr, 0);
    EXPECT_FALSE(fakepage::page().fitted);
}

TEST_F(WebPage, KeysAreAllReleasedWhenThePageLosesTheKeyboard) {
    ASSERT_NE(registerTestClass("page", DefWindowProcA), 0);
    HWND hwnd =
        CreateWindowExA(0, "page", "t", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    pressKey(hwnd, VK_RETURN, true);
    pressKey(hwnd, VK_LSHIFT, true);
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    ASSERT_TRUE(held(VK_RETURN));
    ASSERT_TRUE(held(VK_SHIFT));
    fakepage::blur();
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_FALSE(held(VK_RETURN));
    EXPECT_FALSE(held(VK_LSHIFT));
    EXPECT_FALSE(held(VK_SHIFT));
}

TEST_F(WebPage, ThePagesQueryIsTheSettingAndItHearsTheEnd) {
    EXPECT_EQ(tess::hostSetting("res"), "c");
    EXPECT_EQ(tess::hostSetting("seed"), "");
    tess::hostEnded(3);
    EXPECT_EQ(fakepage::page().exitCode, 3);
}

// The frame timer's clock: Emscripten refuses the boot-time clock, and a tick
// count that never moved would freeze the chain.
TEST(WebClock, TickCountAdvances) {
    const DWORD start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(GetTickCount() - start, 20u);
}

} // namespace
