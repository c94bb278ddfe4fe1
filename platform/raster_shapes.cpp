// Placeholder until the shape rasterizer lands: lines, polylines, polygons and
// ellipses paint nothing yet.

#include "platform/raster.h"

namespace tess::raster {

void line(Surface&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, Colour) {}
void polyline(Surface&, const Point*, int, Colour) {}
void polygon(Surface&, const Point*, int, const Colour*, const Colour*) {}
void ellipse(Surface&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, const Colour*,
             const Colour*) {}

} // namespace tess::raster
