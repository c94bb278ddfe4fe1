// vec2: the 2-D value type (two doubles, x right, y down) and the free vector
// functions over it. Pure double arithmetic; the random ones draw from rand().
// No function reports an error: an undefined direction is (1, 0).
#pragma once

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

// Measures and directions.
double retdis2(vec2 from, vec2 to); // distance, symmetric
vec2 retnrm2(vec2 from, vec2 to);   // unit from -> to; (1, 0) if coinciding or NaN
vec2 retrot2(vec2 v, double angle); // rotated from +x toward +y; nothing snapped to 0
