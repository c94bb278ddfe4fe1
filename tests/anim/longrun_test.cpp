#include "anim/chain.h"
#include "app/resolution.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

// Thirty days of a machine that renders fast, repeats clock ticks and sleeps
// for hours: the chain stays finite and near the screen, the colour keeps
// changing, and the bitmap holds only what fading from black can produce.
TEST(ChainLongRun, ThirtyDaysOfFastFramesZeroFramesAndStallsStayBounded) {
    workRes(false, 320, 240);
    MemoryDc m(320, 240);
    ChainState s;
    std::srand(2024);
    std::mt19937 frames(7); // frame times have their own generator: rand() is the chain's
    std::uniform_real_distribution<float> fast(0.0005f, 0.05f), stall(1.0f, 5 * 3600.0f);
    std::uniform_int_distribution<int> kind(0, 99);

    const double thirtyDays = 30 * 24 * 3600.0;
    double simulated = 0;
    long long count = 0, colourChanges = 0, lateChanges = 0;
    COLORREF colour = 0;
    while (simulated < thirtyDays) {
        const int k = kind(frames);
        const float dt = k < 64 ? fast(frames) : k < 99 ? 0.0f : stall(frames);
        stepChain(s, m.dc, dt);
        simulated += dt;
        ++count;
        if (s.colour() != colour) {
            ++colourChanges;
            lateChanges += simulated > 0.75 * thirtyDays;
            colour = s.colour();
        }
        if (count % 1000 == 0) {
            for (const vec2& p : s.a) {
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << "frame " << count;
                // The head is leashed to 120 px around (160, 120); followers trail inside that.
                ASSERT_LT(retdis2(vec2(160, 120), p), 120 + 100 * 0.05 + 1) << "frame " << count;
            }
            ASSERT_LE(std::fabs(s.trn), 5.0f);
            ASSERT_NEAR(retdis2(vec2(), s.nrm), 1.0, 1e-9);
        }
    }
    EXPECT_GT(colourChanges, 10);
    EXPECT_GT(lateChanges, 0); // still changing at the end

    // From black, a channel fades at most to 156 (toward 255), so nothing brighter exists.
    int lit = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const COLORREF c = m.at(x, y);
            ASSERT_LE(GetRValue(c), 156);
            ASSERT_LE(GetGValue(c), 156);
            ASSERT_LE(GetBValue(c), 156);
            lit += c != 0;
        }
    EXPECT_GT(lit, 1000);
}

} // namespace
