// A host test's desktop, whichever driver serves it (desktop_headless.cpp, or
// the page's in tests/platform/web): one 1024 x 768 monitor at 60 Hz, keys as
// the window system would send them, and a fixture that starts the host on it
// and shuts everything down after each test.
#pragma once

#include "platform/host.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>

// The default desktop again, for a host about to start.
void resetTestDesktop();
// A key goes down or up in `window` (null: no window known yet), as the window
// system reports it; it arrives at the next PeekMessageA.
void pressKey(HWND window, int virtualKey, bool down, bool repeat = false, bool alt = false);
// Whether the driver shows the mouse cursor now.
bool testCursorShown();

struct HostTest : ::testing::Test {
    void SetUp() override {
        resetTestDesktop();
        ASSERT_TRUE(tess::hostReady()) << tess::hostFailure();
    }
    void TearDown() override { tess::shutdownHost(); }
};

// Registers a window class with only a name and a procedure, as the tests need.
inline WORD registerTestClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}
