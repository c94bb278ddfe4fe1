#include "anim/chain.h"
#include "support/key_state.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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

// Where a pixel ends when the program's frames of one tick fade it again and
// again: for every channel value toward every target, as upPixl itself gets there.
TEST(Fade, ComesToRestWhereRepeatedFadesEnd) {
    MemoryDc m(1, 1);
    for (int o = 0; o < 256; ++o) {
        for (int t = 0; t < 256; ++t) {
            // Red runs through every pair; green and blue meet other gaps on the way.
            const COLORREF start = RGB(o, 255 - o, (o * 7) & 0xFF);
            const COLORREF colour = RGB(t, (t * 3) & 0xFF, 255 - t);
            SetPixelV(m.dc, 0, 0, start);
            for (COLORREF before = CLR_INVALID; m.at(0, 0) != before;) {
                before = m.at(0, 0);
                upPixl(m.dc, vec2(0, 0), colour);
            }
            ASSERT_EQ(restingFade(start, colour), m.at(0, 0)) << o << " toward " << t;
        }
    }
    EXPECT_EQ(restingFade(0, 0x0000FF), 156u);
    EXPECT_EQ(restingFade(0x10C8AA, 0x4065FF), 0x10C8AAu); // every gap within 99: as it is
}

// One tick moves the chain as the program's frame of a tick does, and leaves
// the pixels under it at rest: as the program's step by a tick and every pixel
// under a point faded to rest would, pixel for pixel, through colour changes
// (Enter held now and then) too.
TEST(Fade, ATickStepsAsTheProgramAndRestsThePixelsUnderThePoints) {
    const ChainArea area{0, 0, 200, 100};
    MemoryDc ticked(200, 100), stepped(200, 100);
    ChainState a, b;
    for (int i = 0; i < 300; ++i) {
        holdKey(VK_RETURN, i % 50 == 7);
        const int seed = i * 7919 + 5;
        std::srand(unsigned(seed));
        tickChain(a, ticked.dc, area); // the first call seeds, as the program's does
        std::srand(unsigned(seed));
        stepChain(b, stepped.dc, i ? kTick : 0.0f, area);
        for (const vec2& p : b.a)
            if (p.x >= 0 && p.y >= 0 && p.x < 200 && p.y < 100)
                SetPixelV(stepped.dc, int(p.x), int(p.y),
                          restingFade(stepped.at(int(p.x), int(p.y)), b.colour()));
        ASSERT_EQ(std::memcmp(a.a, b.a, sizeof a.a), 0) << "tick " << i;
        ASSERT_EQ(a.trn, b.trn);
        ASSERT_EQ(a.colour(), b.colour());
    }
    holdKey(VK_RETURN, false);
    int same = 0, lit = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            same += ticked.at(x, y) == stepped.at(x, y);
            lit += ticked.at(x, y) != 0;
        }
    EXPECT_EQ(same, 200 * 100);
    EXPECT_GT(lit, 100);

    a = ChainState{};
    a.init = false;
    a.cr = 0xFF;
    for (vec2& p : a.a)
        p = vec2(50.5, 80.5);
    a.a[0] = vec2(150.95, 20.5); // the head crosses into the next pixel this tick
    a.nrm = vec2(1, 0);
    MemoryDc black(200, 100);
    tickChain(a, black.dc, ChainArea{0, 0, 400, 400}); // the head well within its leash
    EXPECT_EQ(black.at(150, 20), 2u);                  // faded once where it was, then it moved on
    EXPECT_EQ(black.at(151, 20), 156u);                // and where it is now, at rest at once
}

} // namespace
