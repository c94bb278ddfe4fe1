// The placement of a surface on its drawable, and the paced present.

#include "platform/host/present.h"

#include "platform/host/display.h"

namespace tess::host {

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
        const Area at = driver().windowArea(w.shownIn);
        const Area home = homeMonitor().area;
        screenX = at.x + x - home.x;
        screenY = at.y + y - home.y;
        return;
    }
    int tw = 0, th = 0;
    driver().drawableSize(w.shownIn, tw, th);
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

void presentNow(Window& w) {
    // Paced by attempts: a window that cannot be drawn is not retried every turn.
    w.lastPresent = now();
    int tw = 0, th = 0;
    driver().drawableSize(w.shownIn, tw, th);
    if (tw <= 0 || th <= 0) return;
    // Drawn for the drawable the driver really has (a window manager may have sized it).
    const Placement p = placementOf(w, tw, th);
    const bool full = w.needsFull || w.shownW != tw || w.shownH != th;
    PixelRect rects[DirtyRegion::kMax];
    int n = 0;
    const DirtyRegion changed = w.surface.takeChanged();
    if (full) {
        rects[n++] = PixelRect{0, 0, tw, th};
    } else {
        for (const PixelRect& r : changed)
            if (const PixelRect t = targetRegion(p, r); !t.empty()) rects[n++] = t;
    }
    w.needsFull = false;
    w.shownW = tw;
    w.shownH = th;
    if (n == 0) return;
    driver().present(w.shownIn, w.surface, p, rects, n);
    ++w.presents;
}

bool hasChangesToShow(const Window& w) {
    return (!w.surface.changed().empty() || w.needsFull) && w.visible && w.shownIn &&
           driver().seen(w.shownIn);
}

void presentIfDue(Window& w) {
    if (presentDueIn(w) > 0) return;
    presentNow(w);
}

double presentDueIn(const Window& w) {
    // A window nobody sees is drawn whole when it shows again.
    if (!hasChangesToShow(w)) return 86400;
    const double left = w.lastPresent + w.interval - now();
    return left > 0 ? left : 0;
}

} // namespace tess::host
