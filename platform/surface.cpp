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

bool contains(const PixelRect& a, const PixelRect& r) {
    return r.x0 >= a.x0 && r.y0 >= a.y0 && r.x1 <= a.x1 && r.y1 <= a.y1;
}

} // namespace

void DirtyRegion::grow(const PixelRect& r) {
    // The union that stays dense and wastes least, if any.
    const long long size = area(r);
    auto dense = [this](int i, const PixelRect& b, long long bAdded) {
        return area(unite(rects[i], b)) <= 2 * (added[i] + bAdded) + kSlack;
    };
    // A run of writes mostly continues the rectangle the last one grew.
    if (count && dense(last, r, size)) {
        rects[last] = unite(rects[last], r);
        added[last] += size;
        return;
    }
    int best = -1;
    long long bestWaste = 0;
    for (int i = 0; i < count; ++i) {
        if (contains(rects[i], r)) {
            last = i;
            return;
        }
        const long long w = waste(rects[i], r);
        if (dense(i, r, size) && (best < 0 || w < bestWaste)) best = i, bestWaste = w;
    }
    if (best < 0) {
        if (count < kMax) {
            rects[count] = r;
            added[count] = size;
            last = count++;
            return;
        }
        for (int i = 0; i < count; ++i) { // full: the least waste, dense or not
            const long long w = waste(rects[i], r);
            if (best < 0 || w < bestWaste) best = i, bestWaste = w;
        }
    }
    rects[best] = unite(rects[best], r);
    added[best] += size;
    // Grown, it may now take in others densely.
    for (int j = 0; j < count;) {
        if (j == best || !dense(best, rects[j], added[j])) {
            ++j;
            continue;
        }
        rects[best] = unite(rects[best], rects[j]);
        added[best] += added[j];
        --count;
        rects[j] = rects[count];
        added[j] = added[count];
        if (best == count) best = j;
        j = 0;
    }
    last = best;
}

} // namespace tess
