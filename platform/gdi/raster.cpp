// Rasterizer for the software device context.

#include "platform/gdi/raster.h"

#include <algorithm>
#include <cstdint>

namespace tess::raster {

void fillRect(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, Colour c) {
    long long x0 = left, x1 = right, y0 = top, y1 = bottom;
    // An inverted pair fills (right, left], the normal range moved one on. The
    // far end wraps like a 32-bit sum: an edge at 2^31 - 1 leaves nothing.
    auto shifted = [](long long edge) {
        return edge == INT32_MAX ? (long long)INT32_MIN : edge + 1;
    };
    if (x0 > x1) std::swap(x0, x1), x0 += 1, x1 = shifted(x1);
    if (y0 > y1) std::swap(y0, y1), y0 += 1, y1 = shifted(y1);
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
