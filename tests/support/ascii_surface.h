// Surfaces as small ASCII pictures for exact expectations: '.' untouched
// (black), '#' the pen colour, 'o' the brush colour, '?' anything else.
#pragma once

#include "platform/gdi/raster.h"

#include <string>

namespace ascii {

constexpr tess::raster::Colour kPen = 0x0000FF;
constexpr tess::raster::Colour kBrush = 0x00FF00;

// One line per row, each ended by '\n', so a failed comparison shows the picture.
inline std::string picture(const tess::Surface& s, int x0 = 0, int y0 = 0, int w = -1, int h = -1) {
    if (w < 0) w = s.width - x0;
    if (h < 0) h = s.height - y0;
    std::string out;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const auto p = s.at(x, y);
            out += p == 0 ? '.' : p == kPen ? '#' : p == kBrush ? 'o' : '?';
        }
        out += '\n';
    }
    return out;
}

// Joins picture rows given one string each.
template <typename... Rows> std::string rows(const Rows&... r) {
    std::string out;
    ((out += r, out += '\n'), ...);
    return out;
}

} // namespace ascii
