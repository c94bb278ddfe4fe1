#include "anim/chain.h"
#include "app/resolution.h"
#include "support/key_state.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <utility>

namespace {

const vec2 kCentre(400, 300); // of the default 800 by 600

struct Chain : ::testing::Test {
    MemoryDc m{800, 600};
    ChainState s;
    void SetUp() override {
        workRes(false, 800, 600);
        holdKey(VK_RETURN, false);
    }
    void TearDown() override { holdKey(VK_RETURN, false); }

    // A running chain with every point at p, heading +x, colour black.
    void place(vec2 p) {
        s.init = false;
        for (vec2& q : s.a)
            q = p;
        s.nrm = vec2(1, 0);
    }
    int randsUsedBy(float dt) {
        std::srand(77);
        stepChain(s, m.dc, dt);
        const int next = std::rand();
        std::srand(77);
        for (int n = 0;; ++n)
            if (std::rand() == next) return n;
    }
};

TEST_F(Chain, FirstFrameSeedsAroundTheCentreAndFadesThereBeforeMoving) {
    std::srand(3);
    stepChain(s, m.dc, 0);
    EXPECT_FALSE(s.init);

    // The fade of the first frame paints exactly the seeded positions.
    std::srand(3);
    std::set<std::pair<int, int>> seeded;
    for (int i = 0; i < 100; ++i) {
        const vec2 p = kCentre + rndvec2() * 50;
        EXPECT_LT(retdis2(kCentre, p), 50.0);
        seeded.insert({int(p.x), int(p.y)});
    }
    const vec2 heading = rndnrm2();
    EXPECT_EQ(s.colour() & 0xFF, unsigned(std::rand() % 256));
    int painted = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (m.at(x, y) != 0) {
                ++painted;
                EXPECT_TRUE(seeded.count({x, y})) << x << "," << y;
            }
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, int(seeded.size()));
    // The head then moved 100 px/s for 0.01 s (as a float) along the seeded heading.
    std::srand(3);
    const vec2 head0 = kCentre + rndvec2() * 50;
    const vec2 moved = head0 + (heading * 100) * double(0.01f);
    EXPECT_EQ(s.a[0].x, moved.x);
    EXPECT_EQ(s.a[0].y, moved.y);
}

TEST_F(Chain, FirstFrameRunsOneHundredthOfASecondWhateverItIsGiven) {
    ChainState other;
    std::srand(11);
    stepChain(s, m.dc, 0);
    for (float dt : {0.01f, 5.0f, std::numeric_limits<float>::infinity()}) {
        MemoryDc m2(800, 600);
        other = ChainState();
        std::srand(11);
        stepChain(other, m2.dc, dt);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(other.a[i].x, s.a[i].x);
            EXPECT_EQ(other.a[i].y, s.a[i].y);
        }
        EXPECT_EQ(other.trn, s.trn);
    }
}

TEST_F(Chain, FollowersWithinOnePixelStayAndFartherOnesChase) {
    place(kCentre);
    s.a[1] = kCentre + vec2(0.5, 0); // inside the dead zone
    s.a[2] = s.a[1] + vec2(0, 1);    // exactly 1 px: stays
    s.a[3] = s.a[2] + vec2(3, 4);    // 5 px: moves 20 * 5 * 0.02 = 2 px toward a[2]
    for (int i = 4; i < 100; ++i)
        s.a[i] = s.a[3];
    const vec2 before1 = s.a[1], before2 = s.a[2], before3 = s.a[3];
    s.nrm = vec2(0, 0); // the head stays put too
    stepChain(s, m.dc, 0.02f);
    EXPECT_EQ(s.a[0].x, kCentre.x);
    EXPECT_EQ(s.a[1].x, before1.x);
    EXPECT_EQ(s.a[2].y, before2.y);
    EXPECT_NEAR(retdis2(s.a[3], before3), 2.0, 1e-6);
    EXPECT_NEAR(retdis2(s.a[3], s.a[2]), 3.0, 1e-6);
}

TEST_F(Chain, HeadLeavingTheLeashReturnsToTheCentreAfterFadingWhereItWas) {
    place(kCentre);
    s.a[0] = kCentre + vec2(0, 299.5); // 0.5 px inside radius 300
    s.nrm = vec2(0, 1);
    stepChain(s, m.dc, 0.01f); // moves 1 px outward
    EXPECT_EQ(s.a[0].x, kCentre.x);
    EXPECT_EQ(s.a[0].y, kCentre.y);
    EXPECT_NE(m.at(400, 599), CLR_INVALID);
    EXPECT_EQ(m.at(400, 599), 0u); // black toward black: the fade ran, nothing to see

    place(kCentre);
    s.cr = 255;
    s.a[0] = kCentre + vec2(0, 299.5);
    s.nrm = vec2(0, 1);
    stepChain(s, m.dc, 0.001f); // 0.1 px: still inside
    EXPECT_EQ(s.a[0].y, 599.5 + 100 * double(0.001f));
    EXPECT_EQ(m.at(400, 599), 2u);
}

TEST_F(Chain, ColourChangesOnlyPastThirtyRadiansOrWhileEnterIsHeld) {
    place(kCentre);
    s.cr = 10, s.cg = 20, s.cb = 30;
    for (float tot : {30.0f, -30.0f, 0.0f}) {
        s.tot = tot;
        EXPECT_EQ(randsUsedBy(0), 1) << tot; // the turn noise only
        EXPECT_EQ(s.colour(), 0x1E140Au);
    }
    for (float tot : {30.0001f, -30.0001f, 1e30f}) {
        s.tot = tot;
        s.trn = 4;
        EXPECT_EQ(randsUsedBy(0), 4) << tot; // three channels, then the noise
        std::srand(77);
        const int r = std::rand() % 256, g = std::rand() % 256, b = std::rand() % 256;
        EXPECT_EQ(s.colour(), COLORREF(r | g << 8 | b << 16));
        EXPECT_EQ(s.tot, 0.0f);
        EXPECT_EQ(s.trn, 0.0f); // zeroed, then the noise times dt = 0 adds nothing
    }
    holdKey(VK_RETURN, true);
    s.tot = 0;
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(randsUsedBy(0), 4);
}

TEST_F(Chain, TurnRateIsHeldAtExactlyFive) {
    place(kCentre);
    // Find a seed whose noise pushes upward by more than 0.1 at dt = 0.05.
    unsigned seed = 1;
    for (;; ++seed) {
        std::srand(seed);
        if (((std::rand() % 10000) / 10000.0 - 0.5) * 30 * 0.05 > 0.1) break;
    }
    s.trn = 4.95f;
    std::srand(seed);
    stepChain(s, m.dc, 0.05f);
    EXPECT_EQ(s.trn, 5.0f);
    EXPECT_EQ(s.tot, 5.0f * 0.05f);

    s.trn = -4.95f;
    for (seed = 1;; ++seed) {
        std::srand(seed);
        if (((std::rand() % 10000) / 10000.0 - 0.5) * 30 * 0.05 < -0.1) break;
    }
    std::srand(seed);
    stepChain(s, m.dc, 0.05f);
    EXPECT_EQ(s.trn, -5.0f);
}

TEST_F(Chain, LongOrBrokenFrameTimesRunAsOneTwentiethOfASecond) {
    auto run = [&](float dt) {
        ChainState c;
        MemoryDc surface(800, 600);
        std::srand(21);
        stepChain(c, surface.dc, 0);
        for (int f = 0; f < 50; ++f)
            stepChain(c, surface.dc, dt);
        return c;
    };
    const ChainState ref = run(0.05f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float dt : {0.0501f, 1.0f, 3600.0f, std::numeric_limits<float>::infinity(), nan}) {
        const ChainState c = run(dt);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(c.a[i].x, ref.a[i].x) << dt;
            EXPECT_EQ(c.a[i].y, ref.a[i].y) << dt;
        }
    }
    const ChainState shorter = run(0.049f);
    EXPECT_NE(shorter.a[0].x, ref.a[0].x);
}

TEST_F(Chain, StallsNeverSendTheChainOffToInfinity) {
    std::srand(8);
    stepChain(s, m.dc, 0);
    for (int f = 0; f < 5000; ++f)
        stepChain(s, m.dc, (f % 7 == 0) ? 1e6f : 0.003f);
    for (const vec2& p : s.a) {
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        EXPECT_LT(retdis2(kCentre, p), 300.0 + 100 * 0.05 + 1);
    }
    EXPECT_NEAR(retdis2(vec2(), s.nrm), 1.0, 1e-9);
    EXPECT_LE(std::fabs(s.trn), 5.0f);
}

TEST_F(Chain, GoProgramKeepsItsStateBetweenCalls) {
    workRes(false, 320, 240);
    MemoryDc small(320, 240);
    std::srand(4);
    goProgram(small.dc, 0.016f);
    const vec2 head = chainState().a[0];
    EXPECT_LT(retdis2(vec2(160, 120), head), 52.0);
    goProgram(small.dc, 0.016f);
    EXPECT_NE(chainState().a[0].x, head.x);
    EXPECT_FALSE(chainState().init);
}

TEST_F(Chain, AChainKeepsToItsAreaAsTheProgramsKeepsToTheScreen) {
    // An area away from the corner: seeded around its own centre, leashed to half
    // its height from there, painting wherever its points go.
    const ChainArea area{1000, 200, 640, 480}; // centre (1320, 440), leash 240
    MemoryDc wide(2000, 800);
    std::srand(5);
    stepChain(s, wide.dc, 0, area);
    for (const vec2& p : s.a)
        EXPECT_LT(retdis2(vec2(1320, 440), p), 50.0 + 1);
    for (int f = 0; f < 20000; ++f)
        stepChain(s, wide.dc, 0.004f, area);
    EXPECT_LE(retdis2(vec2(1320, 440), s.a[0]), 240.0);
    EXPECT_GT(wide.countNonBlack(), 0);

    // The screen as an area is the program's own step, rand() call for rand() call.
    ChainState program, general;
    std::srand(6);
    for (int f = 0; f < 2000; ++f)
        stepChain(program, m.dc, f % 3 ? 0.002f : 0.0f);
    MemoryDc other(800, 600);
    std::srand(6);
    for (int f = 0; f < 2000; ++f)
        stepChain(general, other.dc, f % 3 ? 0.002f : 0.0f, ChainArea{0, 0, 800, 600});
    EXPECT_EQ(std::memcmp(program.a, general.a, sizeof program.a), 0);
    EXPECT_EQ(program.colour(), general.colour());
}

TEST_F(Chain, ColoursThatWouldNeverShowOnBlackAreDrawnAgainOnlyWhenAsked) {
    // A seed whose first colour has all three channels below 100 (about one in
    // 17; which ones depends on the C library's rand()).
    unsigned seed = 0;
    for (;; ++seed) {
        ChainState probe;
        MemoryDc scratch(800, 600);
        std::srand(seed);
        stepChain(probe, scratch.dc, 0);
        if (probe.cr < 100 && probe.cg < 100 && probe.cb < 100) break;
    }
    std::srand(seed);
    stepChain(s, m.dc, 0);
    EXPECT_EQ(m.countNonBlack(), 0) << seed; // faded from black by nothing

    ChainState bright;
    bright.showOnBlack = true;
    MemoryDc other(800, 600);
    std::srand(seed);
    stepChain(bright, other.dc, 0);
    EXPECT_TRUE(bright.cr >= 100 || bright.cg >= 100 || bright.cb >= 100);
    EXPECT_GT(other.countNonBlack(), 0);
    // Every later colour too: Enter held redraws every frame.
    holdKey(VK_RETURN, true);
    for (int f = 0; f < 500; ++f) {
        stepChain(bright, other.dc, 0.001f);
        ASSERT_TRUE(bright.cr >= 100 || bright.cg >= 100 || bright.cb >= 100) << f;
    }
}

} // namespace
