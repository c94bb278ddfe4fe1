// Double to integer pixel coordinate: truncation toward zero, defined for every
// double. NaN and values beyond the 32-bit range saturate, which puts them off
// any surface instead of into undefined behaviour.
#pragma once

#include <cstdint>

inline std::int32_t toPixel(double v) {
    if (!(v == v)) return INT32_MIN;         // NaN
    if (v >= 2147483648.0) return INT32_MAX; // beyond the range, inf included
    if (v <= -2147483649.0) return INT32_MIN;
    return static_cast<std::int32_t>(v); // in range: the cast truncates toward zero
}
