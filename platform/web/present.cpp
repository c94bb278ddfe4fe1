// The dirty-rectangle copy onto the canvas.

#include "platform/web/present.h"

#include "platform/web/page.h"

namespace tess::web {

PixelRect copyOpaque(const Surface& surface, const PixelRect& region,
                     std::vector<std::uint32_t>& out) {
    PixelRect r = region;
    if (r.x0 < 0) r.x0 = 0;
    if (r.y0 < 0) r.y0 = 0;
    if (r.x1 > surface.width) r.x1 = surface.width;
    if (r.y1 > surface.height) r.y1 = surface.height;
    if (r.empty()) return PixelRect{};
    const int width = r.x1 - r.x0;
    out.resize(std::size_t(width) * std::size_t(r.y1 - r.y0));
    std::uint32_t* to = out.data();
    for (int y = r.y0; y < r.y1; ++y) {
        const std::uint32_t* from =
            surface.pixels.data() + std::size_t(y) * std::size_t(surface.width) + r.x0;
        for (int x = 0; x < width; ++x)
            *to++ = from[x] | 0xFF000000u; // the top byte is the fourth in memory: alpha
    }
    return r;
}

bool putRects(const Surface& surface, const PixelRect* rects, int count,
              std::vector<std::uint32_t>& rows) {
    bool put = false;
    for (int i = 0; i < count; ++i) {
        const PixelRect r = copyOpaque(surface, rects[i], rows);
        if (r.empty()) continue;
        putPixels(rows.data(), r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
        put = true;
    }
    return put;
}

} // namespace tess::web
