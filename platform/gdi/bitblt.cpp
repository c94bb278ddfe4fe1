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
    // Rows and columns of the source to look at. When the destination holds what
    // our last copy from this source put there, only what the source has written
    // since can differ: a frame copies the whole bitmap, yet about 100 pixels change.
    long long cx0 = 0, cy0 = 0, cx1 = w, cy1 = h;
    if (!overlapping && to->copyStamp != 0 && to->copyStamp == from->sentStamp &&
        to->copyWrites == to->writes && to->copyPlace == place) {
        cx0 = std::max<long long>(0, from->unsent.x0 - sx0);
        cy0 = std::max<long long>(0, from->unsent.y0 - sy0);
        cx1 = std::min<long long>(w, from->unsent.x1 - sx0);
        cy1 = std::min<long long>(h, from->unsent.y1 - sy0);
    }

    // Only pixels that differ count as written, so the host shows only those.
    PixelRect changed;
    // Within one bitmap, a block moved down is copied bottom row first: top first
    // would overwrite source rows before they are read.
    const bool bottomFirst = overlapping && dy0 > sy0;
    for (long long i = 0; i < cy1 - cy0 && cx0 < cx1; ++i) {
        const long long row = bottomFirst ? cy1 - 1 - i : cy0 + i;
        std::uint32_t* out = &to->at(int(dx0 + cx0), int(dy0 + row));
        const std::uint32_t* in = &from->at(int(sx0 + cx0), int(sy0 + row));
        const long long n = cx1 - cx0;
        const std::size_t bytes = std::size_t(n) * sizeof(std::uint32_t);
        if (overlapping) {
            std::memmove(out, in, bytes); // rows may overlap: no comparing ahead of the copy
            changed = unite(changed,
                            PixelRect{int(dx0), int(dy0 + row), int(dx0 + w), int(dy0 + row + 1)});
            continue;
        }
        if (std::memcmp(out, in, bytes) == 0) continue;
        long long first = 0, last = n - 1;
        while (out[first] == in[first])
            ++first;
        while (out[last] == in[last])
            --last;
        std::memcpy(out + first, in + first, std::size_t(last - first + 1) * sizeof(std::uint32_t));
        changed = unite(changed, PixelRect{int(dx0 + cx0 + first), int(dy0 + row),
                                           int(dx0 + cx0 + last + 1), int(dy0 + row + 1)});
    }
    if (!changed.empty()) to->touch(changed);
    if (!overlapping) {
        // The destination now holds the source's pixels of `place` as they are.
        static std::uint64_t stamps = 0;
        from->sentStamp = ++stamps;
        from->unsent = PixelRect{};
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
