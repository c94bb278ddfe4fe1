// vec2 and the core vector functions.

#include "math/vec2.h"

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

double retdis2(vec2 from, vec2 to) {
    const vec2 d = to - from;
    return std::sqrt(d.x * d.x + d.y * d.y);
}

vec2 retnrm2(vec2 from, vec2 to) {
    const vec2 d = to - from;
    const double len = std::sqrt(d.x * d.x + d.y * d.y);
    if (len > 0) return d / len; // NaN fails the test and falls back too
    return vec2(1.0, 0.0);
}

vec2 retrot2(vec2 v, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return vec2(v.x * c - v.y * s, v.x * s + v.y * c);
}
