// Exact integer helpers shared by the rasterizer's files: 128-bit products and
// divisions rounded toward -infinity or +infinity, for coordinates anywhere in
// the 32-bit range. Internal to platform/gdi/.
#pragma once

namespace tess::raster {

typedef __int128 i128;

// Floor and ceiling of n / d for d > 0.
inline i128 floorDiv(i128 n, i128 d) {
    const i128 lim = i128(1) << 62;
    if (n > -lim && n < lim && d < lim) { // on-screen sizes: a 64-bit division, no library call
        const long long a = (long long)n, b = (long long)d;
        return a >= 0 ? a / b : -((-a + b - 1) / b);
    }
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}
inline i128 ceilDiv(i128 n, i128 d) {
    return -floorDiv(-n, d);
}

} // namespace tess::raster
