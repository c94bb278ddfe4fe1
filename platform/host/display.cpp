// The monitors as the driver reports them, the home monitor kept by name
// across changes, and the switch state.

#include "platform/host/display.h"

#include <algorithm>

namespace tess::host {
namespace {

long long overlap(const Area& a, const Area& b) {
    const long long w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

void readMonitors() {
    Display& d = host().display;
    std::vector<Monitor> list = driver().monitors();
    // The home monitor first: the one named so before, else the driver's first.
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].name == d.home) std::swap(list[0], list[i]);
    if (!list.empty()) d.home = list[0].name;
    d.monitors = std::move(list);
}

const Monitor& homeMonitor() {
    static const Monitor none{"", Area{0, 0, 0, 0}, 32, 60};
    const auto& list = host().display.monitors;
    return list.empty() ? none : list.front();
}

const Monitor& monitorUnder(const Area& area) {
    const Monitor* best = &homeMonitor();
    long long most = 0;
    for (const Monitor& m : host().display.monitors) {
        const long long o = overlap(m.area, area);
        if (o > most) {
            most = o;
            best = &m;
        }
    }
    return *best;
}

ScreenMode desktopMode() {
    const Monitor& m = homeMonitor();
    return ScreenMode{m.area.w, m.area.h, m.bitsPerPixel, m.frequency};
}

ScreenMode currentMode() {
    const Display& d = host().display;
    return d.switched ? d.mode : desktopMode();
}

bool displaySwitched() {
    return host().display.switched;
}

void switchDisplay(const ScreenMode& mode) {
    host().display.mode = mode;
    host().display.switched = true;
}

void restoreDisplay() {
    host().display.switched = false;
}

std::vector<RECT> programMonitors() {
    const Display& d = host().display;
    if (d.switched) return {RECT{0, 0, d.mode.width, d.mode.height}};
    std::vector<RECT> out;
    const Area home = homeMonitor().area;
    for (const Monitor& m : d.monitors) {
        const int x = m.area.x - home.x, y = m.area.y - home.y;
        out.push_back(RECT{x, y, x + m.area.w, y + m.area.h});
    }
    return out;
}

} // namespace tess::host
