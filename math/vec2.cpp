// vec2 and the free vector functions.

#include "math/vec2.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.141592653589793;

// One draw: rand() reduced to 0 .. 9999 and scaled to a fraction 0 .. 0.9999.
double draw() {
    return (std::rand() % 10000) / 10000.0;
}

// The angle of a draw, rounded to float on purpose: the chain's paths depend on it.
float drawAngle() {
    return static_cast<float>((draw() * kPi) * 2);
}

} // namespace

vec2::vec2(double angle) : x(std::cos(angle)), y(std::sin(angle)) {}

vec2 rndnrm2() {
    const float angle = drawAngle();
    return vec2(static_cast<double>(angle));
}

vec2 rndvec2() {
    const float length = static_cast<float>(draw()); // first rand(): the length
    const float angle = drawAngle();                 // second rand(): the direction
    return vec2(static_cast<double>(angle)) * static_cast<double>(length);
}

vec2 vec2detail::rescaledUnit(vec2 d) {
    // The direction still exists: scale by a power of two (exact) and measure again.
    if (std::isfinite(d.x) && std::isfinite(d.y) && (d.x != 0 || d.y != 0)) {
        int exponent = 0;
        std::frexp(std::fmax(std::fabs(d.x), std::fabs(d.y)), &exponent);
        const vec2 s(std::ldexp(d.x, -exponent), std::ldexp(d.y, -exponent));
        return s / std::sqrt(s.x * s.x + s.y * s.y);
    }
    return vec2(1.0, 0.0); // coinciding points, or NaN / infinite components
}

vec2 retrot2(vec2 v, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return vec2(v.x * c - v.y * s, v.x * s + v.y * c);
}

double retdot2(vec2 u, vec2 v) {
    return u.x * v.x + u.y * v.y;
}

vec2 retext2(vec2 v) {
    return vec2(-v.y, v.x);
}

vec2 retnrm2(vec2 lineA, vec2 lineB, vec2 point) {
    const vec2 u = retnrm2(lineA, lineB); // (1, 0) when A == B: the horizontal line through A
    const vec2 w = point - lineA;
    const double t = retdot2(u, w); // not clamped: the line is infinite
    const vec2 foot = lineA + u * t;
    return retnrm2(foot, point); // no tolerance: a rounding remainder still points
}

vec2 retcpnt2(vec2 segA, vec2 segB, vec2 point) {
    const vec2 u = retnrm2(segA, segB);
    const vec2 w = point - segA;
    const double t = retdot2(u, w);
    const double len = retdis2(segA, segB);
    if (t > len) return segB;
    if (t < 0) return segA;
    return segA + u * t; // t == len lands here (segB only up to rounding), and so does NaN
}

vec2 retvec2(vec2 origin, vec2 axis, vec2 local) {
    const vec2 n = vec2(-axis.y, axis.x); // retext2(axis), spelled out
    const vec2 a1 = n * local.y;
    const vec2 a2 = axis * local.x;
    const vec2 s = origin + a2;
    return s + a1; // origin + x part first, then the y part: the rounding follows this order
}
