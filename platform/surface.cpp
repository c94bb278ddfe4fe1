// Growing a changed region: the slow path of DirtyRegion::add.

#include "platform/surface.h"

namespace tess {
namespace {

long long area(const PixelRect& r) {
    return static_cast<long long>(r.x1 - r.x0) * (r.y1 - r.y0);
}

} // namespace

void DirtyRegion::grow(const PixelRect& r) {
    // A union is dense when it covers at most twice what was added to both parts.
    const long long size = area(r);
    auto dense = [this](int i, long long united, long long bAdded) {
        return united <= 2 * (added[i] + bAdded) + kSlack;
    };
    // A run of writes mostly continues the rectangle the last one grew.
    if (count && dense(last, area(unite(rects[last], r)), size)) {
        rects[last] = unite(rects[last], r);
        added[last] += size;
        return;
    }
    // The union that stays dense and wastes least (pixels that neither part
    // covers; negative for overlaps), if any, and the one that wastes least.
    int best = -1, least = -1;
    long long bestWaste = 0, leastWaste = 0;
    for (int i = 0; i < count; ++i) {
        if (contains(rects[i], r)) {
            last = i;
            return;
        }
        const long long united = area(unite(rects[i], r));
        const long long w = united - area(rects[i]) - size;
        if (least < 0 || w < leastWaste) least = i, leastWaste = w;
        if (dense(i, united, size) && (best < 0 || w < bestWaste)) best = i, bestWaste = w;
    }
    if (best < 0) {
        if (count < kMax) {
            rects[count] = r;
            added[count] = size;
            last = count++;
            return;
        }
        best = least; // full: the least waste, dense or not
    }
    rects[best] = unite(rects[best], r);
    added[best] += size;
    // Grown, it may now take in others densely.
    for (int j = 0; j < count;) {
        if (j == best || !dense(best, area(unite(rects[best], rects[j])), added[j])) {
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
