// Putting a window's backing surface on its SDL window: the nearest-neighbour
// scaling onto a target buffer in the target's own pixel layout (plain memory,
// testable without a display), and the SDL side that updates only what changed,
// at most once per refresh of the monitor under the window, as a compositor
// shows a redirected window.
#pragma once

#include "platform/surface.h"

#include <cstdint>

namespace tess::sdl {

struct Window;

// How a window's surface maps onto its SDL window. The surface sits at
// (originX, originY) on a screen of screenW x screenH, which is shown scaled to
// scaledW x scaledH at (offsetX, offsetY) of a targetW x targetH SDL window.
struct Placement {
    int originX = 0, originY = 0;
    int screenW = 0, screenH = 0;
    int scaledW = 0, scaledH = 0;
    int offsetX = 0, offsetY = 0;
    int targetW = 0, targetH = 0;
};

// A packed pixel layout: channel c is (value >> loss) << shift; alpha (if any) opaque.
struct PixelLayout {
    int bytesPerPixel = 4;
    int rShift = 16, gShift = 8, bShift = 0;
    int rLoss = 0, gLoss = 0, bLoss = 0;
    std::uint32_t alphaMask = 0;
};

struct Target {
    void* pixels = nullptr;
    int pitch = 0; // bytes per row
    int width = 0, height = 0;
    PixelLayout layout;
};

// The target pixels that show the source region (half-open, clipped to the target).
PixelRect targetRegion(const Placement& p, const PixelRect& source);
// Redraws target pixels of `region`: each takes the source pixel it shows by
// nearest neighbour, or black where it shows no source pixel.
void scaleInto(const Surface& source, const Placement& p, const PixelRect& region, Target& out);

// Where the window's surface lands on its SDL window when that is tw x th: a
// switched screen (the window at its place on it) fitted to the target; any
// other window is its own screen, fitted to what its SDL window has become (one
// to one while the sizes agree).
Placement placementOf(const Window& w, int tw, int th);
// The point of the screen the program sees under pixel (x, y) of the window's
// SDL window: back through the same placement the present draws with, clamped
// to the switched screen; on the desktop, the point itself.
void cursorOnScreen(const Window& w, int x, int y, int& screenX, int& screenY);

// The one present path. Presents what changed (the surface's dirty rectangles,
// or the whole SDL window when marked so) when a refresh interval has passed
// since the last present; anything else only marks. Called on every
// PeekMessageA: since the main loop peeks on every turn, a change shows at the
// latest one interval after it was made, and nothing ever waits for the deadline.
void presentIfDue(Window& w);
// Seconds until presentIfDue would show the window's changes: 0 when it would
// now, a day when there is nothing to show (or nobody would see it).
double presentDueIn(const Window& w);

// The clock presents are paced by (seconds, steady, arbitrary origin): tests put
// one of their own in its place; null restores the real one.
void setPresentClock(double (*clock)());

} // namespace tess::sdl
