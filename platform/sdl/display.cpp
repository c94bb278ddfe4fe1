// The monitors as the backend reports them, the home monitor kept by name
// across changes, and the switch state.

#include "platform/sdl/display.h"

namespace tess::sdl {
namespace {

struct DisplayState {
    std::vector<Monitor> monitors;
    std::string home; // its name: a monitor added or removed moves no other
    bool switched = false;
    ScreenMode mode;
};

DisplayState& state() {
    static DisplayState s;
    return s;
}

// The home monitor first: the one named so before, else the backend's first.
void take(std::vector<Monitor> list) {
    DisplayState& s = state();
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].name == s.home) std::swap(list[0], list[i]);
    if (!list.empty()) s.home = list[0].name;
    s.monitors = std::move(list);
}

long long overlap(const SDL_Rect& a, const SDL_Rect& b) {
    SDL_Rect r;
    return SDL_IntersectRect(&a, &b, &r) ? static_cast<long long>(r.w) * r.h : 0;
}

} // namespace

Fit fitScreen(int sw, int sh, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return Fit{0, 0, 0, 0};
    long long w, h;
    if (static_cast<long long>(sw) * dh > static_cast<long long>(sh) * dw) {
        w = dw; // wider than the monitor's shape: full width
        h = static_cast<long long>(sh) * dw / sw;
    } else {
        h = dh;
        w = static_cast<long long>(sw) * dh / sh;
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    return Fit{int(w), int(h), int((dw - w) / 2), int((dh - h) / 2)};
}

void startDisplay() {
    take(backend().monitors());
}

bool monitorsChanged() {
    if (!backend().monitorsChanged()) return false;
    take(backend().monitors());
    return true;
}

const Monitor& homeMonitor() {
    static const Monitor none{"", SDL_Rect{0, 0, 0, 0}, 32, 60};
    const auto& list = state().monitors;
    return list.empty() ? none : list.front();
}

const Monitor& monitorUnder(const SDL_Rect& area) {
    const Monitor* best = &homeMonitor();
    long long most = 0;
    for (const Monitor& m : state().monitors) {
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
    return state().switched ? state().mode : desktopMode();
}

bool displaySwitched() {
    return state().switched;
}

void switchDisplay(const ScreenMode& mode) {
    state().mode = mode;
    state().switched = true;
}

void restoreDisplay() {
    state().switched = false;
}

SDL_Point programOrigin() {
    return SDL_Point{homeMonitor().area.x, homeMonitor().area.y};
}

std::vector<SDL_Rect> programMonitors() {
    if (displaySwitched()) return {SDL_Rect{0, 0, state().mode.width, state().mode.height}};
    std::vector<SDL_Rect> out;
    const SDL_Point o = programOrigin();
    for (const Monitor& m : state().monitors)
        out.push_back(SDL_Rect{m.area.x - o.x, m.area.y - o.y, m.area.w, m.area.h});
    return out;
}

void resetDisplay() {
    state() = DisplayState{};
}

} // namespace tess::sdl
