// Fitting a screen to a target, and nearest-neighbour scaling written straight
// in the target's pixel layout.

#include "platform/scale.h"

#include <cstring>

namespace tess {
namespace {

// First target index t (t >= 0) whose source index floor(t * s / d) reaches v.
long long firstShowing(long long v, long long s, long long d) {
    return (v * d + s - 1) / s;
}

std::uint32_t pack(std::uint32_t colour, const PixelLayout& l) {
    const std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return ((r >> l.rLoss) << l.rShift) | ((g >> l.gLoss) << l.gShift) |
           ((b >> l.bLoss) << l.bShift) | l.alphaMask;
}

void store(unsigned char* at, std::uint32_t v, int bytes) {
    switch (bytes) {
    case 4:
        std::memcpy(at, &v, 4);
        break;
    case 2: {
        const std::uint16_t s = std::uint16_t(v);
        std::memcpy(at, &s, 2);
        break;
    }
    default:
        for (int i = 0; i < bytes; ++i)
            at[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

// For each target index in [t0, t1): the source index it shows, or -1.
void sourceIndices(std::vector<int>& out, int t0, int t1, int offset, int scaled, int screen,
                   int origin, int sourceSize) {
    out.assign(std::size_t(t1 > t0 ? t1 - t0 : 0), -1);
    for (int t = t0; t < t1; ++t) {
        const long long i = t - offset;
        if (i < 0 || i >= scaled) continue;
        const long long v = i * screen / scaled - origin;
        if (v >= 0 && v < sourceSize) out[std::size_t(t - t0)] = int(v);
    }
}

} // namespace

Fit fitScreen(int sw, int sh, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return Fit{0, 0, 0, 0};
    long long w, h;
    if (static_cast<long long>(sw) * dh > static_cast<long long>(sh) * dw) {
        w = dw; // wider than the target's shape: full width
        h = static_cast<long long>(sh) * dw / sw;
    } else {
        h = dh;
        w = static_cast<long long>(sw) * dh / sh;
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    return Fit{int(w), int(h), int((dw - w) / 2), int((dh - h) / 2)};
}

PixelRect targetRegion(const Placement& p, const PixelRect& source) {
    if (source.empty() || p.screenW <= 0 || p.screenH <= 0) return PixelRect{};
    auto clamp = [](long long v, long long lo, long long hi) {
        return v < lo ? lo : v > hi ? hi : v;
    };
    const long long vx0 = clamp(source.x0 + static_cast<long long>(p.originX), 0, p.screenW);
    const long long vx1 = clamp(source.x1 + static_cast<long long>(p.originX), 0, p.screenW);
    const long long vy0 = clamp(source.y0 + static_cast<long long>(p.originY), 0, p.screenH);
    const long long vy1 = clamp(source.y1 + static_cast<long long>(p.originY), 0, p.screenH);
    PixelRect r;
    r.x0 = int(clamp(p.offsetX + firstShowing(vx0, p.screenW, p.scaledW), 0, p.targetW));
    r.x1 = int(clamp(p.offsetX + firstShowing(vx1, p.screenW, p.scaledW), 0, p.targetW));
    r.y0 = int(clamp(p.offsetY + firstShowing(vy0, p.screenH, p.scaledH), 0, p.targetH));
    r.y1 = int(clamp(p.offsetY + firstShowing(vy1, p.screenH, p.scaledH), 0, p.targetH));
    return r.empty() ? PixelRect{} : r;
}

void scaleInto(const Surface& source, const Placement& p, const PixelRect& region, Target& out,
               ScaleScratch& scratch) {
    PixelRect r = region;
    if (r.x0 < 0) r.x0 = 0;
    if (r.y0 < 0) r.y0 = 0;
    if (r.x1 > out.width) r.x1 = out.width;
    if (r.y1 > out.height) r.y1 = out.height;
    if (r.empty() || p.scaledW <= 0 || p.scaledH <= 0) return;
    std::vector<int>& columns = scratch.columns;
    std::vector<int>& rows = scratch.rows;
    sourceIndices(columns, r.x0, r.x1, p.offsetX, p.scaledW, p.screenW, p.originX, source.width);
    sourceIndices(rows, r.y0, r.y1, p.offsetY, p.scaledH, p.screenH, p.originY, source.height);
    const int bytes = out.layout.bytesPerPixel;
    const std::uint32_t black = pack(0, out.layout);
    auto* base = static_cast<unsigned char*>(out.pixels);
    const std::size_t span = std::size_t(r.x1 - r.x0) * std::size_t(bytes);
    for (int y = r.y0; y < r.y1; ++y) {
        unsigned char* row =
            base + std::size_t(y) * std::size_t(out.pitch) + std::size_t(r.x0) * bytes;
        const int sy = rows[std::size_t(y - r.y0)];
        if (y > r.y0 && sy == rows[std::size_t(y - 1 - r.y0)]) {
            std::memcpy(row, row - out.pitch, span); // an enlarged row repeats the one above
            continue;
        }
        for (int x = r.x0; x < r.x1; ++x) {
            const int sx = columns[std::size_t(x - r.x0)];
            const std::uint32_t v =
                (sx < 0 || sy < 0) ? black : pack(source.at(sx, sy), out.layout);
            store(row + std::size_t(x - r.x0) * bytes, v, bytes);
        }
    }
}

} // namespace tess
