// Exact comparison of a vec2 with its expected components: the values the tests
// use have one right double each, so no tolerance.
#pragma once

#include "math/vec2.h"

#include <gtest/gtest.h>

#define EXPECT_VEC(v, ex, ey)                                                                      \
    do {                                                                                           \
        const vec2 v_ = (v);                                                                       \
        EXPECT_EQ(v_.x, (ex));                                                                     \
        EXPECT_EQ(v_.y, (ey));                                                                     \
    } while (0)
