// Where a screen lands on a window of another size, and the nearest-neighbour
// scaling of a surface onto a target buffer in the target's own pixel layout.
// Plain memory work, no window system: the host places, the drivers draw.
#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <vector>

namespace tess {

// Where a screen of sw x sh lands on a target of dw x dh: scaled to scaledW x
// scaledH and placed at (offsetX, offsetY). The largest size of the same shape
// that fits (at least 1 x 1); bars only on the sides the shape leaves over.
struct Fit {
    int scaledW, scaledH, offsetX, offsetY;
};
Fit fitScreen(int sw, int sh, int dw, int dh);

// How a window's surface maps onto what shows it. The surface sits at
// (originX, originY) on a screen of screenW x screenH, which is shown scaled to
// scaledW x scaledH at (offsetX, offsetY) of a targetW x targetH target.
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

// What a scaling works out per row and column, kept by its caller from one
// present to the next so that presenting a frame allocates nothing.
struct ScaleScratch {
    std::vector<int> columns, rows;
};
// Redraws target pixels of `region`: each takes the source pixel it shows by
// nearest neighbour, or black where it shows no source pixel.
void scaleInto(const Surface& source, const Placement& p, const PixelRect& region, Target& out,
               ScaleScratch& scratch);

} // namespace tess
