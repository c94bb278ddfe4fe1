// A plain 32-bit pixel surface: what a bitmap or a window's backing store holds.
// Pixels are COLORREF values (0x00BBGGRR), row-major, no padding. The surface
// remembers the bounding box of what was written since it was last presented,
// so a host can put only the changed region on screen.
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

struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    PixelRect dirty; // written since the host last took it

    Surface() = default;
    Surface(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), 0u) {}

    bool contains(long long x, long long y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    // Record a written region; callers pass it already clipped to the surface.
    void touch(const PixelRect& r) { dirty = unite(dirty, r); }
    void touch(int x, int y) { touch(PixelRect{x, y, x + 1, y + 1}); }
};

} // namespace tess
