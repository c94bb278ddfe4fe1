#include "math/vec2.h"
#include "support/expect_vec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Geometry, DotProductIsExactAndZeroForPerpendiculars) {
    EXPECT_EQ(retdot2(vec2(1, 2), vec2(3, 4)), 11.0);
    EXPECT_EQ(retdot2(vec2(3, 4), vec2(-4, 3)), 0.0);
    EXPECT_EQ(retdot2(vec2(-2, 0.5), vec2(4, -8)), -12.0);
}

TEST(Geometry, QuarterTurnIsExactFromPlusXTowardPlusY) {
    const vec2 e = retext2(vec2(1, 0));
    EXPECT_VEC(e, 0.0, 1.0);
    EXPECT_TRUE(std::signbit(e.x)); // the negation of +0: -0
    EXPECT_VEC(retext2(vec2(0, 1)), -1.0, 0.0);
    EXPECT_VEC(retext2(vec2(3, 4)), -4.0, 3.0);
    EXPECT_EQ(retdis2(vec2(), retext2(vec2(3, 4))), 5.0);
    // Unlike a rotation by pi/2, no trace of cos(pi/2) is left behind.
    EXPECT_NE(retrot2(vec2(1, 0), 3.141592653589793 / 2).x, 0.0);
}

TEST(Geometry, LineNormalPointsFromTheLineTowardThePoint) {
    const vec2 a(0, 0), b(10, 0);
    EXPECT_VEC(retnrm2(a, b, vec2(4, 5)), 0.0, 1.0);
    EXPECT_VEC(retnrm2(a, b, vec2(4, -5)), 0.0, -1.0);
    EXPECT_VEC(retnrm2(a, b, vec2(25, 5)), 0.0, 1.0); // beyond lineB: the line is infinite
    EXPECT_VEC(retnrm2(vec2(0, 0), vec2(0, 10), vec2(-3, 2)), -1.0, 0.0);
    EXPECT_VEC(retnrm2(vec2(2, 3), vec2(2, -7), vec2(-1, 5)), -1.0, 0.0);
}

TEST(Geometry, LineNormalDegeneratesLikeTheDirectionItIsBuiltFrom) {
    EXPECT_VEC(retnrm2(vec2(0, 0), vec2(10, 0), vec2(4, 0)), 1.0, 0.0); // on the line
    EXPECT_VEC(retnrm2(vec2(0, 0), vec2(0, 0), vec2(5, 3)), 0.0, 1.0);  // A == B: horizontal
    EXPECT_VEC(retnrm2(vec2(2, 2), vec2(2, 2), vec2(9, 2)), 1.0, 0.0);  // ... and on it
    EXPECT_VEC(retnrm2(vec2(0, 0), vec2(10, 0), vec2(kNaN, 1)), 1.0, 0.0);
    // (0.3, 0.1) lies on the line through (0, 0) and (3, 1) only up to rounding: the
    // leftover is not forgiven, so the answer is a unit vector, not the fallback.
    const vec2 r = retnrm2(vec2(0, 0), vec2(3, 1), vec2(0.3, 0.1));
    EXPECT_FALSE(r.x == 1.0 && r.y == 0.0);
    EXPECT_NEAR(retdis2(vec2(), r), 1.0, 1e-15);
}

TEST(Geometry, ClosestPointOfASegmentStaysBetweenItsEnds) {
    const vec2 a(0, 0), b(10, 0);
    EXPECT_VEC(retcpnt2(a, b, vec2(4, 5)), 4.0, 0.0);
    EXPECT_VEC(retcpnt2(a, b, vec2(-3, 2)), 0.0, 0.0);
    EXPECT_VEC(retcpnt2(a, b, vec2(15, 1)), 10.0, 0.0);
    EXPECT_VEC(retcpnt2(a, b, vec2(10, 7)), 10.0, 0.0);
    EXPECT_VEC(retcpnt2(a, b, vec2(0, 9)), 0.0, 0.0);
    EXPECT_VEC(retcpnt2(vec2(1, 1), vec2(4, 5), vec2(8, 1)), 3.52, 4.36);
    // Past either end the end itself comes back, unchanged: (0.1, 0.2) stays (0.1, 0.2).
    EXPECT_VEC(retcpnt2(vec2(0.1, 0.2), vec2(0.7, 0.9), vec2(-5, -5)), 0.1, 0.2);
    EXPECT_VEC(retcpnt2(vec2(0.1, 0.2), vec2(0.7, 0.9), vec2(5, 5)), 0.7, 0.9);
}

TEST(Geometry, ClosestPointComparesStrictlySoTheFarEndIsRecomputed) {
    // For (7, 7) itself the projection equals the length exactly; the strict test sends
    // it through A + u * t, which misses (7, 7) by one unit in the last place.
    EXPECT_VEC(retcpnt2(vec2(0, 0), vec2(7, 7), vec2(7, 7)), 7.000000000000001, 7.000000000000001);
    for (const vec2 p : {vec2(0, 0), vec2(-4, 9), vec2(1e6, -3)}) {
        EXPECT_VEC(retcpnt2(vec2(2.5, -1), vec2(2.5, -1), p), 2.5, -1.0); // A == B
    }
    const vec2 n = retcpnt2(vec2(0, 0), vec2(10, 0), vec2(kNaN, 0)); // NaN fails both tests
    EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y));
}

TEST(Geometry, LocalFrameRunsAlongTheAxisAndItsQuarterTurn) {
    EXPECT_VEC(retvec2(vec2(100, 50), vec2(1, 0), vec2(3, 4)), 103.0, 54.0);
    EXPECT_VEC(retvec2(vec2(100, 50), vec2(0, 1), vec2(3, 4)), 96.0, 53.0);
    EXPECT_VEC(retvec2(vec2(0, 0), vec2(2, 0), vec2(3, 4)), 6.0, 8.0);
    EXPECT_VEC(retvec2(vec2(100, 100), vec2(0, 10), vec2(1, 1)), 90.0, 110.0);
    for (const vec2 p : {vec2(0, 0), vec2(3, 4), vec2(-1e9, 7.25)}) {
        EXPECT_VEC(retvec2(vec2(-8, 0.5), vec2(0, 0), p), -8.0, 0.5);
    }
    // The x part joins the origin before the y part: 0.1 + 0.2 + 0.3 in that order
    // is 0.6000000000000001, where 0.1 + (0.2 + 0.3) would be 0.6.
    EXPECT_VEC(retvec2(vec2(0.1, 0), vec2(0.2, -0.3), vec2(1, 1)), 0.6000000000000001,
               -0.09999999999999998);
}

} // namespace
