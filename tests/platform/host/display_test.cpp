// The display modes and the cursor counter, on whichever driver the test
// desktop has (a 1024 x 768 desktop).

#include "platform/win32.h"
#include "support/host_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

DEVMODEA current() {
    DEVMODEA m;
    std::memset(&m, 0, sizeof m);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m));
    return m;
}

LONG switchTo(DWORD w, DWORD h, DWORD flags = CDS_FULLSCREEN) {
    DEVMODEA m = current();
    m.dmPelsWidth = w;
    m.dmPelsHeight = h;
    return ChangeDisplaySettingsA(&m, flags);
}

std::vector<unsigned> size(const DEVMODEA& m) {
    return {m.dmPelsWidth, m.dmPelsHeight};
}

using DisplayModes = HostTest;

TEST_F(DisplayModes, SwitchingReportsTheNewModeAndRestoringGivesBackTheDesktop) {
    const DEVMODEA desktop = current();
    EXPECT_EQ(size(desktop), (std::vector<unsigned>{1024, 768}));
    EXPECT_EQ(desktop.dmBitsPerPel, 32u);
    EXPECT_EQ(desktop.dmDisplayFrequency, 60u);
    EXPECT_EQ(desktop.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL),
              DWORD(DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL));
    EXPECT_EQ(desktop.dmSize, sizeof(DEVMODEA));

    // Only the display's own fields are written: the rest are the caller's.
    DEVMODEA mine;
    std::memset(&mine, 0x5A, sizeof mine);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mine));
    EXPECT_EQ(mine.dmLogPixels, 0x5A5A);
    EXPECT_EQ(mine.dmPelsWidth, 1024u);

    EXPECT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    const DEVMODEA switched = current();
    EXPECT_EQ(size(switched), (std::vector<unsigned>{320, 240}));
    EXPECT_EQ(switched.dmBitsPerPel, 32u);
    EXPECT_EQ(switched.dmDisplayFrequency, desktop.dmDisplayFrequency);
    DEVMODEA stored;
    std::memset(&stored, 0, sizeof stored);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &stored));
    EXPECT_EQ(size(stored), (std::vector<unsigned>{1024, 768}));

    // A second switch replaces the first, at the rate it asks for; one restore
    // returns to the desktop.
    DEVMODEA fast = current();
    fast.dmPelsWidth = 1280;
    fast.dmPelsHeight = 1024;
    fast.dmDisplayFrequency = 75;
    EXPECT_EQ(ChangeDisplaySettingsA(&fast, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1280, 1024}));
    EXPECT_EQ(current().dmDisplayFrequency, 75u);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1024, 768}));
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0),
              DISP_CHANGE_SUCCESSFUL); // restoring twice is harmless
    EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", ENUM_CURRENT_SETTINGS, &stored));
}

TEST_F(DisplayModes, ModesThatCannotBeShownFailAsBadModeAndChangeNothing) {
    EXPECT_EQ(switchTo(0, 240), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(320, 0), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(DWORD(-5), 240),
              DISP_CHANGE_BADMODE); // a negative width, as the record holds it
    EXPECT_EQ(switchTo(16385, 240), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(320, 16385), DISP_CHANGE_BADMODE);
    DEVMODEA oddDepth = current();
    oddDepth.dmBitsPerPel = 7;
    EXPECT_EQ(ChangeDisplaySettingsA(&oddDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1024, 768}));

    EXPECT_EQ(switchTo(16384, 16384, CDS_TEST), DISP_CHANGE_SUCCESSFUL); // the largest, tested only
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1024, 768}));

    // After a good switch a bad one leaves the good one in place.
    EXPECT_EQ(switchTo(640, 480), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(switchTo(0, 0), DISP_CHANGE_BADMODE);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{640, 480}));
}

using Cursor = HostTest;

TEST_F(Cursor, ShowsWhileItsDisplayCounterIsAtLeastZero) {
    EXPECT_TRUE(testCursorShown());
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_FALSE(testCursorShown());
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_FALSE(testCursorShown()); // one show does not undo two hides
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_TRUE(testCursorShown());
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_TRUE(testCursorShown());
}

} // namespace
