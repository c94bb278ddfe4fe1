#include "anim/chain.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Fade, BlackTowardFullRedClimbsTwoThenOneAndStopsAt156) {
    MemoryDc m(4, 4);
    const vec2 p(1.5, 2.5);
    int visits = 0;
    int previous = 0;
    for (;;) {
        upPixl(m.dc, p, 0x0000FF);
        ++visits;
        const int red = int(m.at(1, 2) & 0xFF);
        const int step = red - previous;
        // 2 per visit while the gap is at least 200, then 1, then nothing.
        EXPECT_EQ(step, previous <= 55 ? 2 : previous <= 155 ? 1 : 0) << "from " << previous;
        EXPECT_EQ(m.at(1, 2) & 0xFFFF00, 0u);
        if (step == 0) break;
        previous = red;
        ASSERT_LT(visits, 1000);
    }
    EXPECT_EQ(m.at(1, 2), 156u);
    EXPECT_EQ(m.countNonBlack(), 1);
}

TEST(Fade, MovesEachChannelOnItsOwnAndTruncatesTowardZero) {
    MemoryDc m(2, 2);
    SetPixelV(m.dc, 0, 0, 0x80FF00); // b 0x80, g 0xFF, r 0
    upPixl(m.dc, vec2(0, 0), 0x0000FF);
    // r: 0 + trunc(2.55) = 2; g: 255 + trunc(-2.55) = 253; b: 128 + trunc(-1.28) = 127
    EXPECT_EQ(m.at(0, 0), 0x7FFD02u);

    SetPixelV(m.dc, 1, 1, 0x10C8AA);
    upPixl(m.dc, vec2(1, 1), 0x4065FF); // every gap below 100: nothing changes
    EXPECT_EQ(m.at(1, 1), 0x10C8AAu);
    upPixl(m.dc, vec2(1, 1), 0x4064FF); // green's gap reaches 100: one step down
    EXPECT_EQ(m.at(1, 1), 0x10C7AAu);
}

TEST(Fade, PointsTruncateTowardZeroAndOffSurfacePointsTouchNothing) {
    MemoryDc m(4, 4);
    drawPixl(m.dc, vec2(2.9, -0.5), 0x123456);
    EXPECT_EQ(m.at(2, 0), 0x123456u);
    drawPixl(m.dc, vec2(-0.99, 3.99), 0x00AA00);
    EXPECT_EQ(m.at(0, 3), 0x00AA00u);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const vec2 p : {vec2(-1, 1), vec2(4, 0), vec2(0, 4), vec2(nan, 1), vec2(1, nan),
                         vec2(inf, 0), vec2(0, -inf), vec2(1e300, 1e300), vec2(-1e12, 2)}) {
        upPixl(m.dc, p, 0xFFFFFF);
        drawPixl(m.dc, p, 0xFFFFFF);
    }
    EXPECT_EQ(m.countNonBlack(), 2);
}

} // namespace
