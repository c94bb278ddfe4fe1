// A fixture that runs the SDL host on SDL's invisible "dummy" driver, asked for
// by name (a 1024 x 768 desktop), and shuts everything down after each test.
#pragma once

#include "platform/sdl/video.h"

#include <gtest/gtest.h>

#include <cstdlib>

struct DummyDisplay : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(tess::sdl::videoReady()) << tess::sdl::noDisplayReason();
    }
    void TearDown() override { tess::sdl::shutdownHost(); }
};
