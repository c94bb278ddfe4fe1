// What every driver and the host compare monitors by.

#include "platform/driver.h"

#include <algorithm>

namespace tess {

bool sameMonitors(const std::vector<Monitor>& a, const std::vector<Monitor>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Monitor& m, const Monitor& n) {
                          return m.name == n.name && m.area.x == n.area.x && m.area.y == n.area.y &&
                                 m.area.w == n.area.w && m.area.h == n.area.h &&
                                 m.frequency == n.frequency && m.bitsPerPixel == n.bitsPerPixel;
                      });
}

} // namespace tess
