// Nearest-neighbour scaling of a window's surface onto its SDL window surface,
// written straight in the window's native pixel layout, and the present that
// updates only the rectangle that changed.

#include "platform/sdl/present.h"

#include "platform/sdl/display.h"
#include "platform/sdl/window.h"

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace tess::sdl {
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

// For each target index in [t0, t1): the source index it shows, or -1. The
// buffer is kept from call to call: presenting a frame allocates nothing.
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

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double (*clockNow)() = steadySeconds;

PixelLayout layoutOf(const SDL_PixelFormat* f) {
    PixelLayout l;
    l.bytesPerPixel = f->BytesPerPixel;
    l.rShift = f->Rshift;
    l.gShift = f->Gshift;
    l.bShift = f->Bshift;
    l.rLoss = f->Rloss;
    l.gLoss = f->Gloss;
    l.bLoss = f->Bloss;
    l.alphaMask = f->Amask; // opaque
    return l;
}

bool unseen(SDL_Window* sdl) {
    return SDL_GetWindowFlags(sdl) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN);
}

// Shows what changed in the window's surface since its last present (everything
// when the SDL window needs a full redraw), now, and marks it presented.
void presentNow(Window& w) {
    // Paced by attempts: a window that cannot be drawn is not retried every turn.
    w.lastPresent = clockNow();
    SDL_Surface* s = SDL_GetWindowSurface(w.sdl);
    if (!s || s->format->BytesPerPixel < 2) return;
    // Drawn for the surface SDL really has (a window manager may have sized it).
    const Placement p = placementOf(w, s->w, s->h);
    const bool full = w.needsFull || w.shownW != s->w || w.shownH != s->h;
    SDL_Rect rects[DirtyRegion::kMax];
    int n = 0;
    auto take = [&](const PixelRect& r) {
        if (!r.empty()) rects[n++] = SDL_Rect{r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0};
    };
    if (full) {
        take(PixelRect{0, 0, s->w, s->h});
    } else {
        for (const PixelRect& r : w.surface.dirty)
            take(targetRegion(p, r));
    }
    w.surface.dirty.clear();
    w.needsFull = false;
    w.shownW = s->w;
    w.shownH = s->h;
    if (n == 0) return;
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
    Target t{s->pixels, s->pitch, s->w, s->h, layoutOf(s->format)};
    for (int i = 0; i < n; ++i)
        scaleInto(
            w.surface, p,
            PixelRect{rects[i].x, rects[i].y, rects[i].x + rects[i].w, rects[i].y + rects[i].h}, t);
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_UpdateWindowSurfaceRects(w.sdl, rects, n);
    ++w.presents;
}

} // namespace

Placement placementOf(const Window& w, int tw, int th) {
    Placement p;
    p.targetW = tw;
    p.targetH = th;
    if (w.covering) {
        const ScreenMode m = currentMode();
        p.originX = w.x;
        p.originY = w.y;
        p.screenW = m.width;
        p.screenH = m.height;
    } else {
        p.originX = p.originY = 0;
        p.screenW = w.surface.width;
        p.screenH = w.surface.height;
    }
    const Fit f = fitScreen(p.screenW, p.screenH, tw, th);
    p.scaledW = f.scaledW;
    p.scaledH = f.scaledH;
    p.offsetX = f.offsetX;
    p.offsetY = f.offsetY;
    return p;
}

void cursorOnScreen(const Window& w, int x, int y, int& screenX, int& screenY) {
    if (!w.covering) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(w.sdl, &wx, &wy);
        const SDL_Point o = programOrigin();
        screenX = wx + x - o.x;
        screenY = wy + y - o.y;
        return;
    }
    int tw = 0, th = 0;
    SDL_GetWindowSize(w.sdl, &tw, &th);
    const Placement p = placementOf(w, tw, th);
    auto back = [](int v, int offset, int scaled, int size) {
        if (scaled <= 0) return 0;
        long long i = static_cast<long long>(v - offset) * size;
        i = i < 0 ? -((-i + scaled - 1) / scaled) : i / scaled; // floor, not toward zero
        return int(i < 0 ? 0 : i >= size ? size - 1 : i);
    };
    screenX = back(x, p.offsetX, p.scaledW, p.screenW);
    screenY = back(y, p.offsetY, p.scaledH, p.screenH);
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

void scaleInto(const Surface& source, const Placement& p, const PixelRect& region, Target& out) {
    PixelRect r = region;
    if (r.x0 < 0) r.x0 = 0;
    if (r.y0 < 0) r.y0 = 0;
    if (r.x1 > out.width) r.x1 = out.width;
    if (r.y1 > out.height) r.y1 = out.height;
    if (r.empty() || p.scaledW <= 0 || p.scaledH <= 0) return;
    static std::vector<int> columns, rows; // one thread draws
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

void presentIfDue(Window& w) {
    if (presentDueIn(w) > 0) return;
    presentNow(w);
}

double presentDueIn(const Window& w) {
    // A window nobody sees is drawn whole when it shows again.
    if ((w.surface.dirty.empty() && !w.needsFull) || !w.visible || !w.sdl || unseen(w.sdl))
        return 86400;
    const double left = w.lastPresent + w.interval - clockNow();
    return left > 0 ? left : 0;
}

void setPresentClock(double (*clock)()) {
    clockNow = clock ? clock : steadySeconds;
}

} // namespace tess::sdl
