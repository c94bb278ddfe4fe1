// Polygons, ALTERNATE fill: a pixel gets the brush when its own point (x, y)
// is inside by the even-odd rule, points on a left or top edge counting as
// inside. The outline is the closed polyline through the points, painted over
// the fill. Only rows and columns on the surface are visited.

#include "platform/raster.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tess::raster {

namespace {

typedef __int128 i128;

i128 floorDiv(i128 n, i128 d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}
i128 ceilDiv(i128 n, i128 d) {
    return -floorDiv(-n, d);
}

void fill(Surface& s, const Point* pts, int count, Colour c) {
    long long minY = pts[0].y, maxY = pts[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min<long long>(minY, pts[i].y);
        maxY = std::max<long long>(maxY, pts[i].y);
    }
    const long long yLo = std::max(minY, 0LL), yHi = std::min<long long>(maxY, s.height);
    std::vector<long long> xs; // first pixel column at or right of each crossing
    PixelRect dirty;
    for (long long y = yLo; y < yHi; ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % count];
            if (a.y == b.y) continue;
            // Top end included, bottom end excluded: a vertex shared by two edges
            // counts once, and horizontal runs fall out by themselves.
            const long long ya = std::min(a.y, b.y), yb = std::max(a.y, b.y);
            if (y < ya || y >= yb) continue;
            i128 num = i128(y - a.y) * ((long long)b.x - a.x);
            long long den = (long long)b.y - a.y;
            if (den < 0) num = -num, den = -den;
            const i128 x = a.x + ceilDiv(num, den);
            // Crossings beyond the surface only matter as "left of 0" or "right of W".
            xs.push_back((long long)std::clamp<i128>(x, -1, s.width));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            // Left edge inside, right edge outside: columns ceil(left) .. ceil(right) - 1.
            const long long x0 = std::max(xs[k], 0LL), x1 = std::min<long long>(xs[k + 1], s.width);
            if (x0 >= x1) continue;
            std::fill(&s.at(int(x0), int(y)), &s.at(int(x0), int(y)) + (x1 - x0), c & 0xFFFFFF);
            dirty = unite(dirty, PixelRect{int(x0), int(y), int(x1), int(y) + 1});
        }
    }
    s.touch(dirty);
}

} // namespace

void polygon(Surface& s, const Point* pts, int count, const Colour* pen, const Colour* brush) {
    if (count < 2) return;
    if (brush) fill(s, pts, count, *brush);
    if (!pen) return;
    // Every edge like a pen line, the closing edge last; each vertex is the
    // start of one edge, so all of them are painted.
    for (int i = 0; i < count; ++i) {
        const Point& a = pts[i];
        const Point& b = pts[(i + 1) % count];
        line(s, a.x, a.y, b.x, b.y, *pen);
    }
}

} // namespace tess::raster
