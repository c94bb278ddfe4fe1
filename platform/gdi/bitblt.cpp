// Block copy between device contexts (SRCCOPY only: the program needs no other).

#include "platform/host.h"
#include "platform/gdi/objects.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstring>

using namespace tess;

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    gdi::DcObj* dd = gdi::dc(dest);
    gdi::DcObj* sd = gdi::dc(src);
    if (!dd || !sd || rop != SRCCOPY) return FALSE;
    Surface* to = gdi::target(*dd);
    Surface* from = gdi::target(*sd);
    if (!to || !from || width <= 0 || height <= 0) return TRUE;

    // Clip in 64 bits: origins and sizes may each be anywhere in the int range.
    long long dx0 = x, dy0 = y, sx0 = srcX, sy0 = srcY, w = width, h = height;
    auto clipStart = [&](long long& d0, long long& s0, long long& len) {
        const long long cut = std::max({0LL, -d0, -s0});
        d0 += cut;
        s0 += cut;
        len -= cut;
    };
    clipStart(dx0, sx0, w);
    clipStart(dy0, sy0, h);
    w = std::min({w, to->width - dx0, from->width - sx0});
    h = std::min({h, to->height - dy0, from->height - sy0});
    if (w <= 0 || h <= 0) return TRUE;

    const CopyPlace place{int(dx0), int(dy0), int(sx0), int(sy0), int(w), int(h)};
    const bool overlapping = to == from;
    // Only pixels that differ count as written, so the host shows only those.
    PixelRect changed; // their bounds, for the host
    auto wrote = [&](const PixelRect& r) {
        to->touch(r);
        changed = unite(changed, r);
    };

    // Parts of the copy to look at, in copy coordinates. When the destination
    // holds what our last copy from this source put there, only what the source
    // has written since can differ: a frame copies the whole bitmap, yet about
    // 100 pixels change, and they may lie in two far-apart places.
    DirtyRegion parts;
    if (!overlapping && to->copyStamp != 0 && to->copyStamp == from->sentStamp &&
        to->copyWrites == to->writes && to->copyPlace == place) {
        for (int i = 0; i < from->unsentPointCount; ++i) {
            const long long cx = from->unsentPoints[i].x - sx0, cy = from->unsentPoints[i].y - sy0;
            if (cx < 0 || cy < 0 || cx >= w || cy >= h) continue;
            std::uint32_t& out = to->at(int(dx0 + cx), int(dy0 + cy));
            const std::uint32_t in = from->at(int(sx0 + cx), int(sy0 + cy));
            if (out == in) continue;
            out = in;
            wrote(PixelRect{int(dx0 + cx), int(dy0 + cy), int(dx0 + cx + 1), int(dy0 + cy + 1)});
        }
        for (const PixelRect& r : from->unsent) {
            const PixelRect c{std::max(0, int(r.x0 - sx0)), std::max(0, int(r.y0 - sy0)),
                              int(std::min<long long>(w, r.x1 - sx0)),
                              int(std::min<long long>(h, r.y1 - sy0))};
            if (!c.empty()) parts.add(c);
        }
    } else {
        parts.add(PixelRect{0, 0, int(w), int(h)});
    }

    // Within one bitmap, a block moved down is copied bottom row first: top first
    // would overwrite source rows before they are read.
    const bool bottomFirst = overlapping && dy0 > sy0;
    for (const PixelRect& part : parts) {
        const long long cx0 = part.x0, n = part.x1 - part.x0;
        const std::size_t bytes = std::size_t(n) * sizeof(std::uint32_t);
        for (long long i = 0; i < part.y1 - part.y0; ++i) {
            const long long row = bottomFirst ? part.y1 - 1 - i : part.y0 + i;
            std::uint32_t* out = &to->at(int(dx0 + cx0), int(dy0 + row));
            const std::uint32_t* in = &from->at(int(sx0 + cx0), int(sy0 + row));
            if (overlapping) {
                std::memmove(out, in, bytes); // rows may overlap: no comparing ahead of the copy
                wrote(PixelRect{int(dx0), int(dy0 + row), int(dx0 + w), int(dy0 + row + 1)});
                continue;
            }
            if (std::memcmp(out, in, bytes) == 0) continue;
            long long first = 0, last = n - 1;
            while (out[first] == in[first])
                ++first;
            while (out[last] == in[last])
                --last;
            std::memcpy(out + first, in + first,
                        std::size_t(last - first + 1) * sizeof(std::uint32_t));
            wrote(PixelRect{int(dx0 + cx0 + first), int(dy0 + row), int(dx0 + cx0 + last + 1),
                            int(dy0 + row + 1)});
        }
    }
    if (!overlapping) {
        // The destination now holds the source's pixels of `place` as they are.
        static std::uint64_t stamps = 0;
        from->sentStamp = ++stamps;
        from->sent();
        to->copyStamp = from->sentStamp;
        to->copyWrites = to->writes;
        to->copyPlace = place;
    }
    if (changed.empty()) return TRUE;
    if (dd->kind == gdi::DcKind::Window && windowHost().blitted) {
        windowHost().blitted(dd->window, changed);
    }
    return TRUE;
}
