// A plain 32-bit pixel surface: what a bitmap or a window's backing store holds.
// Pixels are COLORREF values (0x00BBGGRR), row-major, no padding. The surface
// remembers what was written since the host last took it, as a few rectangles,
// so a host can put only the changed pixels on screen, and enough about block
// copies for a repeated copy to look only at what changed since the last one.
#pragma once

#include <cstdint>
#include <vector>

namespace tess {

// Half-open pixel rectangle [x0, x1) x [y0, y1); empty when x0 >= x1 or y0 >= y1.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

inline PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
            a.y1 > b.y1 ? a.y1 : b.y1};
}

inline bool contains(const PixelRect& a, const PixelRect& r) {
    return r.x0 >= a.x0 && r.y0 >= a.y0 && r.x1 <= a.x1 && r.y1 <= a.y1;
}

// What changed, as at most kMax rectangles that together cover every pixel
// added. Rectangles stay dense: one joins another only when their union is at
// most twice the area added to both, plus kSlack, so a straight trail stays one
// rectangle while a winding one (a chain's, whose box may be 600 px wide with a
// few hundred pixels changed) is covered by small pieces instead of its box.
// Past kMax a new change joins the rectangle it wastes least with. Rectangles
// may overlap.
struct DirtyRegion {
    static constexpr int kMax = 32;
    static constexpr long long kSlack = 64;
    PixelRect rects[kMax];
    long long added[kMax] = {}; // area added to each rectangle (overlaps count twice)
    int count = 0;

    bool empty() const { return count == 0; }
    void clear() { count = 0; }
    const PixelRect* begin() const { return rects; }
    const PixelRect* end() const { return rects + count; }
    PixelRect bounds() const {
        PixelRect b;
        for (const PixelRect& r : *this)
            b = unite(b, r);
        return b;
    }
    void add(const PixelRect& r) {
        // Most writes land inside the rectangle the last one grew.
        if (count && contains(rects[last], r)) return;
        if (!r.empty()) grow(r);
    }

  private:
    int last = 0;
    void grow(const PixelRect& r);
};

// Where a block copy took pixels from and put them: both corners and the size.
struct CopyPlace {
    int toX = 0, toY = 0, fromX = 0, fromY = 0, width = 0, height = 0;
    bool operator==(const CopyPlace& o) const {
        return toX == o.toX && toY == o.toY && fromX == o.fromX && fromY == o.fromY &&
               width == o.width && height == o.height;
    }
};

// Every pixel write must go through touch(): the host and the block copy trust
// these records and no longer look at pixels outside them.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // A window's backing store keeps what changed for the host's present; a
    // bitmap's would only fill up, and every write would pay for searching it.
    bool presented = true;

    // As a copy's source: written since it was last copied out (`unsent`, and
    // single pixels in `unsentPoints` while they are few: a frame writes about
    // 100 along the chain, whose rectangles would cover thousands), and the
    // stamp of that copy, unique among all copies the process makes.
    DirtyRegion unsent;
    static constexpr int kPoints = 256;
    struct Point {
        int x, y;
    };
    Point unsentPoints[kPoints] = {};
    int unsentPointCount = 0;
    bool unsentAll = false; // more single pixels than that: the next copy compares all
    std::uint64_t sentStamp = 0;
    // As a copy's destination: the last copy into it, valid while `writes` (all
    // writes ever made here) still equals `copyWrites`. The destination then
    // holds the source's pixels as they were at `copyStamp`.
    std::uint64_t writes = 0;
    std::uint64_t copyStamp = 0;
    std::uint64_t copyWrites = 0;
    CopyPlace copyPlace;

    Surface() = default;
    Surface(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), 0u) {}
    // A duplicate is a new surface to copies: it never passes for the original.
    Surface(const Surface& o)
        : width(o.width), height(o.height), pixels(o.pixels), presented(o.presented),
          dirty(o.dirty) {}
    Surface& operator=(const Surface& o) {
        if (this != &o) *this = Surface(o);
        return *this;
    }
    Surface(Surface&&) = default;
    Surface& operator=(Surface&&) = default;

    bool contains(long long x, long long y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    // Record a written region; callers pass it already clipped to the surface.
    void touch(const PixelRect& r) {
        if (presented) dirty.add(r);
        unsent.add(r);
        ++writes;
    }
    void touch(int x, int y) {
        if (presented) dirty.add(PixelRect{x, y, x + 1, y + 1});
        if (unsentPointCount < kPoints) {
            unsentPoints[unsentPointCount++] = Point{x, y};
        } else {
            unsentAll = true; // a region of thousands of scattered pixels costs every write
        }
        ++writes;
    }
    // Nothing left to send: the last copy out took everything.
    void sent() {
        unsent.clear();
        unsentPointCount = 0;
        unsentAll = false;
    }

    // What was written since the host last took it; taking it starts afresh.
    const DirtyRegion& changed() const { return dirty; }
    DirtyRegion takeChanged() {
        const DirtyRegion out = dirty;
        dirty.clear();
        return out;
    }

  private:
    DirtyRegion dirty;
};

} // namespace tess
