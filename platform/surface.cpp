// Growing a changed region: the slow path of DirtyRegion::add.

#include "platform/surface.h"

namespace tess {
namespace {

long long area(const PixelRect& r) {
    return static_cast<long long>(r.x1 - r.x0) * (r.y1 - r.y0);
}

// Pixels the union of a and b covers that neither does (negative for overlaps).
long long waste(const PixelRect& a, const PixelRect& b) {
    return area(unite(a, b)) - area(a) - area(b);
}

// The rectangle among `rects` (but `skip`) whose union with r wastes least, or -1.
int leastWaste(const PixelRect* rects, int count, const PixelRect& r, int skip, long long& w) {
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (i == skip) continue;
        const long long wi = waste(rects[i], r);
        if (best < 0 || wi < w) best = i, w = wi;
    }
    return best;
}

} // namespace

void DirtyRegion::grow(const PixelRect& r) {
    long long w = 0;
    int i = leastWaste(rects, count, r, -1, w);
    if (i < 0 || (w > kNear && count < kMax)) {
        rects[count] = r;
        last = count++;
        return;
    }
    rects[i] = unite(rects[i], r);
    // The grown rectangle may now be near another: fold those in too.
    for (int j; (j = leastWaste(rects, count, rects[i], i, w)) >= 0 && w <= kNear;) {
        const int keep = i < j ? i : j, drop = i < j ? j : i;
        rects[keep] = unite(rects[i], rects[j]);
        rects[drop] = rects[--count];
        i = keep;
    }
    last = i;
}

} // namespace tess
