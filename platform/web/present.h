// Putting a window's surface on its canvas: what changed since the last
// present (or all of it), each rectangle copied as rows of R, G, B, A bytes
// for putImageData. A COLORREF is R, G, B, 0 in memory (0x00BBGGRR, little
// endian, as wasm is): the canvas's order, but transparent, so alpha becomes 255
// on the way. Plain memory work; only page.h's putPixels reaches the page.
#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <vector>

namespace tess::web {

// Copies `region` of `surface`, clipped to it, into `out` (resized to the
// clipped width x height, row by row, each pixel opaque) and returns the
// clipped region: empty, with nothing copied, when none of it is on the surface.
PixelRect copyOpaque(const Surface& surface, const PixelRect& region,
                     std::vector<std::uint32_t>& out);

// Puts the rectangles of the surface on the canvas, each at its own place (the
// canvas is the surface's size: the page's style scales it); false when none
// of them was on the surface. `rows` is the caller's, kept from call to call.
bool putRects(const Surface& surface, const PixelRect* rects, int count,
              std::vector<std::uint32_t>& rows);

} // namespace tess::web
