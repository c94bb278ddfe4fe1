// Polygons, ALTERNATE fill: a pixel gets the brush when its own point (x, y)
// is inside by the even-odd rule, points on a left or top edge counting as
// inside. The outline is the closed polyline through the points, painted over
// the fill. Only rows and columns on the surface are visited.

#include "platform/gdi/raster.h"
#include "platform/gdi/raster_int.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tess::raster {

namespace {

// A non-horizontal edge, rows [top, bottom): the top end included and the
// bottom end excluded, so a vertex shared by two edges counts once and
// horizontal runs fall out by themselves.
struct Edge {
    long long top, bottom;
    Point a, b;
};

// First pixel column at or right of where the edge crosses row y.
long long crossing(const Edge& e, long long y, int width) {
    i128 num = i128(y - e.a.y) * ((long long)e.b.x - e.a.x);
    long long den = (long long)e.b.y - e.a.y;
    if (den < 0) num = -num, den = -den;
    const i128 x = e.a.x + ceilDiv(num, den);
    // Beyond the surface a crossing only matters as "left of 0" or "right of W".
    return (long long)std::clamp<i128>(x, -1, width);
}

void fill(Surface& s, const Point* pts, int count, Colour c) {
    std::vector<Edge> edges;
    edges.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const Point& a = pts[i];
        const Point& b = pts[(i + 1) % count];
        if (a.y == b.y) continue;
        edges.push_back(Edge{std::min(a.y, b.y), std::max(a.y, b.y), a, b});
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& l, const Edge& r) { return l.top < r.top; });
    long long yHi = 0;
    for (const Edge& e : edges)
        yHi = std::max(yHi, e.bottom);
    yHi = std::min<long long>(yHi, s.height);
    const long long yLo = edges.empty() ? yHi : std::max(edges.front().top, 0LL);

    // Only rows on the surface are visited; edges enter as their top is reached
    // and leave past their bottom.
    std::vector<const Edge*> active;
    std::vector<long long> xs;
    std::size_t nextEdge = 0;
    PixelRect dirty;
    for (long long y = yLo; y < yHi; ++y) {
        while (nextEdge < edges.size() && edges[nextEdge].top <= y)
            active.push_back(&edges[nextEdge++]);
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [y](const Edge* e) { return e->bottom <= y; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active)
            xs.push_back(crossing(*e, y, s.width));
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
