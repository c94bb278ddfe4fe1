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
// pixel right (or down), as a real GDI does.
void fillRect(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, Colour c);

// One pen line from (x0, y0) up to, not including, (x1, y1).
void line(Surface& s, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Colour c);

// Segments through the points in order, each drawn like line().
void polyline(Surface& s, const Point* pts, int count, Colour c);

// Closed polygon, ALTERNATE fill. pen/brush null means that part is not painted.
void polygon(Surface& s, const Point* pts, int count, const Colour* pen, const Colour* brush);

// Ellipse inscribed in the box; pen/brush null means that part is not painted.
void ellipse(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom, const Colour* pen, const Colour* brush);

} // namespace tess::raster
