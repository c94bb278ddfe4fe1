// Rasterizer: the pixel loops of the device context, on a plain Surface. Knows
// nothing of handles, pens or DCs; takes integer coordinates anywhere in the
// 32-bit range and clips before it iterates. Marks what it writes as dirty.
#pragma once

#include "platform/surface.h"

#include <cstdint>

namespace tess::raster {

typedef std::uint32_t Colour;

struct Point {
    std::int32_t x, y;
};

// [left, right) x [top, bottom); an inverted edge pair fills the range moved one
// pixel right (or down), as a real GDI does, the far edge wrapping as a 32-bit
// sum (left = 2^31 - 1 over a smaller right fills nothing).
void fillRect(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, Colour c);

// One pen line from (x0, y0) up to, not including, (x1, y1): a pixel per step
// of the major axis (x when |dx| >= |dy|), the minor coordinate rounded to
// nearest with exact halves toward -infinity. Zero length paints nothing.
void line(Surface& s, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Colour c);

// Segments through the points in order, each drawn like line(): shared corners
// once, the last point not at all; fewer than two points paint nothing.
void polyline(Surface& s, const Point* pts, int count, Colour c);

// Closed polygon, ALTERNATE fill: pixel (x, y) is brush when the point (x, y)
// is inside by even-odd, left and top edges counting as inside; the outline is
// the closed polyline through the points, over the fill. pen/brush null means
// that part is not painted.
void polygon(Surface& s, const Point* pts, int count, const Colour* pen, const Colour* brush);

// Ellipse inscribed in the box, inside [left, right) x [top, bottom) of the
// swapped box when inverted; empty for a zero side or 1x1, the whole box as
// outline when a side is 1 or 2. Pen pixels are those of the region with a
// 4-neighbour outside it. pen/brush null means that part is not painted.
void ellipse(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom, const Colour* pen, const Colour* brush);

} // namespace tess::raster
