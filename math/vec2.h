// vec2: the 2-D value type (two doubles, x right, y down) and the free vector
// functions over it: measures, directions, rotation, projections, local frames.
// Pure double arithmetic; the random ones draw from rand(). No function reports
// an error: an undefined direction is (1, 0).
#pragma once

#include <cfloat>
#include <cmath>

struct vec2 {
    double x;
    double y;

    vec2() : x(0.0), y(0.0) {}
    vec2(double x_, double y_) : x(x_), y(y_) {}
    explicit vec2(double angle); // (cos angle, sin angle)

    vec2 operator+(vec2 o) const { return vec2(x + o.x, y + o.y); }
    vec2 operator-(vec2 o) const { return vec2(x - o.x, y - o.y); }
    vec2 operator*(double f) const { return vec2(x * f, y * f); }
    // Divides each component (not a multiply by the reciprocal); no check of d.
    vec2 operator/(double d) const { return vec2(x / d, y / d); }
};

// Random vectors: length and angle are rounded to float before use.
vec2 rndvec2(); // length in [0, 0.9999], two rand() draws: length, angle
vec2 rndnrm2(); // unit vector, one rand() draw

// Measures and directions. The first two are inline: the chain step calls both
// on the same pair 99 times a frame, one after another, and inlined the pair
// shares one square root and no call stands in the chain of dependent steps.
inline double retdis2(vec2 from, vec2 to) { // distance, symmetric
    const vec2 d = to - from;
    return std::sqrt(d.x * d.x + d.y * d.y);
}
namespace vec2detail {
vec2 rescaledUnit(vec2 d); // unit vector of d whose squares under- or overflow; else (1, 0)
}
inline vec2 retnrm2(vec2 from, vec2 to) { // unit from -> to; (1, 0) if coinciding or NaN
    const vec2 d = to - from;
    const double len = std::sqrt(d.x * d.x + d.y * d.y);
    // Under 2^-500 the squares lose bits as subnormals (or vanish: 1e-200); past
    // DBL_MAX they overflowed (1e200). NaN fails the test too.
    if (len >= 0x1p-500 && len <= DBL_MAX) return d / len;
    return vec2detail::rescaledUnit(d);
}
vec2 retrot2(vec2 v, double angle); // rotated from +x toward +y; nothing snapped to 0

// Products, perpendiculars, projections and local frames: each is built from the
// functions above, so their degenerate cases carry over.
double retdot2(vec2 u, vec2 v);                   // dot product
vec2 retnrm2(vec2 lineA, vec2 lineB, vec2 point); // unit normal of line AB toward point; (1, 0)
                                                  // on the line; A == B: the horizontal line
vec2 retext2(vec2 v);                             // (-v.y, v.x): an exact quarter turn
vec2 retcpnt2(vec2 segA, vec2 segB, vec2 point);  // point of segment AB nearest point; A if A == B
vec2 retvec2(vec2 origin, vec2 axis, vec2 local); // local frame to plain: local.x along axis,
                                                  // local.y along retext2(axis); |axis| scales
