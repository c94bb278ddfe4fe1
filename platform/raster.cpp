// Rasterizer for the software device context.

#include "platform/raster.h"

#include <algorithm>

namespace tess::raster {

void fillRect(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, Colour c) {
    // 64-bit bounds: an inverted pair fills (right, left], the normal range moved one on.
    long long x0 = left, x1 = right, y0 = top, y1 = bottom;
    // A span too wide for 32 bits fills nothing when inverted, as the reference does.
    if (x0 > x1 && x0 - x1 > INT32_MAX) return;
    if (y0 > y1 && y0 - y1 > INT32_MAX) return;
    if (x0 > x1) std::swap(x0, x1), ++x0, ++x1;
    if (y0 > y1) std::swap(y0, y1), ++y0, ++y1;
    x0 = std::max(x0, 0LL);
    y0 = std::max(y0, 0LL);
    x1 = std::min<long long>(x1, s.width);
    y1 = std::min<long long>(y1, s.height);
    if (x0 >= x1 || y0 >= y1) return;
    for (long long y = y0; y < y1; ++y) {
        std::fill(&s.at(int(x0), int(y)), &s.at(int(x0), int(y)) + (x1 - x0), c & 0xFFFFFF);
    }
    s.touch(PixelRect{int(x0), int(y0), int(x1), int(y1)});
}

} // namespace tess::raster
