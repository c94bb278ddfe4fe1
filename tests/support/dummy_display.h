// A fixture that runs the SDL host on SDL's invisible "dummy" driver, asked for
// by name (a 1024 x 768 desktop), and shuts everything down after each test.
#pragma once

#include "platform/sdl/lifecycle.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

struct DummyDisplay : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(tess::sdl::videoReady()) << tess::sdl::noDisplayReason();
    }
    void TearDown() override { tess::sdl::shutdownHost(); }
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
