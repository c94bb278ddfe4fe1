// Block copy between device contexts (SRCCOPY only: the program needs no other).

#include "platform/gdi/objects.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tess;

namespace {

// Stamps of copies out of a bitmap, unique among all the process makes.
std::uint64_t nextStamp() {
    static std::uint64_t stamps = 0;
    return ++stamps;
}

} // namespace

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

    // Parts of the copy to look at, in copy coordinates. When the destination
    // holds what our last copy from this source put there, only what the source
    // has written since can differ: a frame copies the whole bitmap, yet about
    // 100 pixels change, and they may lie in two far-apart places.
    DirtyRegion parts;
    if (!overlapping && !from->unsentAll && to->copyStamp != 0 &&
        to->copyStamp == from->sentStamp && to->copyWrites == to->writes &&
        to->copyPlace == place) {
        for (int i = 0; i < from->unsentPointCount; ++i) {
            const long long cx = from->unsentPoints[i].x - sx0, cy = from->unsentPoints[i].y - sy0;
            if (cx < 0 || cy < 0 || cx >= w || cy >= h) continue;
            std::uint32_t& out = to->at(int(dx0 + cx), int(dy0 + cy));
            const std::uint32_t in = from->at(int(sx0 + cx), int(sy0 + cy));
            if (out == in) continue;
            out = in;
            to->touch(
                PixelRect{int(dx0 + cx), int(dy0 + cy), int(dx0 + cx + 1), int(dy0 + cy + 1)});
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
                to->touch(PixelRect{int(dx0), int(dy0 + row), int(dx0 + w), int(dy0 + row + 1)});
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
            to->touch(PixelRect{int(dx0 + cx0 + first), int(dy0 + row), int(dx0 + cx0 + last + 1),
                                int(dy0 + row + 1)});
        }
    }
    if (!overlapping) {
        // The destination now holds the source's pixels of `place` as they are.
        from->sentStamp = nextStamp();
        from->sent();
        to->copyStamp = from->sentStamp;
        to->copyWrites = to->writes;
        to->copyPlace = place;
    }
    return TRUE;
}

int SetStretchBltMode(HDC hdc, int mode) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int previous = d->stretchMode;
    d->stretchMode = mode;
    return previous;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) {
    if (width == srcWidth && height == srcHeight)
        return BitBlt(dest, x, y, width, height, src, srcX, srcY, rop);
    gdi::DcObj* dd = gdi::dc(dest);
    gdi::DcObj* sd = gdi::dc(src);
    // Mirroring (negative sizes) is not needed by anything here.
    if (!dd || !sd || rop != SRCCOPY || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0)
        return FALSE;
    Surface* to = gdi::target(*dd);
    Surface* from = gdi::target(*sd);
    if (!to || !from || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return TRUE;

    // Destination pixel (x + i, y + j) shows source pixel (srcX + i * srcWidth / width,
    // srcY + j * srcHeight / height), rounded down: the display emulation's arithmetic.
    const long long dx0 = std::max<long long>(x, 0),
                    dx1 = std::min<long long>(0LL + x + width, to->width);
    const long long dy0 = std::max<long long>(y, 0),
                    dy1 = std::min<long long>(0LL + y + height, to->height);
    if (dx0 >= dx1 || dy0 >= dy1) return TRUE;
    static std::vector<int> columns; // one thread draws: kept from call to call
    columns.assign(std::size_t(dx1 - dx0), -1);
    for (long long dx = dx0; dx < dx1; ++dx) {
        const long long sx = srcX + (dx - x) * srcWidth / width;
        if (sx >= 0 && sx < from->width) columns[std::size_t(dx - dx0)] = int(sx);
    }
    // Runs of changed pixels, each recorded as it is (one span from the first to
    // the last change of a row would cover everything between two far apart);
    // a run that the next row repeats grows down instead, so an enlarged pixel
    // is one rectangle, not a row each.
    static std::vector<PixelRect> open, runs;
    open.clear();
    for (long long dy = dy0; dy < dy1; ++dy) {
        const long long sy = srcY + (dy - y) * srcHeight / height;
        runs.clear();
        if (sy >= 0 && sy < from->height) {
            const std::uint32_t* in = &from->at(0, int(sy));
            std::uint32_t* out = &to->at(0, int(dy));
            long long first = -1;
            for (long long dx = dx0; dx <= dx1; ++dx) {
                const int sx = dx < dx1 ? columns[std::size_t(dx - dx0)] : -1;
                if (sx >= 0 && out[dx] != in[sx]) {
                    out[dx] = in[sx];
                    if (first < 0) first = dx;
                } else if (first >= 0) {
                    runs.push_back(PixelRect{int(first), int(dy), int(dx), int(dy + 1)});
                    first = -1;
                }
            }
        }
        bool same = runs.size() == open.size();
        for (std::size_t i = 0; same && i < runs.size(); ++i)
            same = runs[i].x0 == open[i].x0 && runs[i].x1 == open[i].x1;
        if (same) {
            for (PixelRect& r : open)
                r.y1 = int(dy + 1);
            continue;
        }
        for (const PixelRect& r : open)
            to->touch(r);
        open.swap(runs);
    }
    for (const PixelRect& r : open)
        to->touch(r);
    // No destination holds the source as it is now by a plain copy: a new stamp
    // says so, and what the source kept for the next one starts again.
    if (to != from) {
        from->sentStamp = nextStamp();
        from->sent();
    }
    return TRUE;
}
