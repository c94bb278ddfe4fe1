// The portable backend: what SDL alone can do for a window system the host has
// no file for (and for the dummy driver of the tests); and the chosen one.

#include "platform/sdl/backend.h"

#include <SDL.h>

#include <algorithm>

namespace tess::sdl {
namespace {

bool alwaysUsable(std::string&) {
    return true;
}
void nothing() {}
// SDL names no format for some desktops (30 bits): only a renderer converts.
bool unnamedFormat() {
    SDL_DisplayMode m;
    return SDL_GetDesktopDisplayMode(0, &m) == 0 && m.format == SDL_PIXELFORMAT_UNKNOWN;
}
int noFds(int*, int) {
    return 0;
}

const Backend kPortable = {nullptr,
                           alwaysUsable,
                           nothing,
                           nothing,
                           unnamedFormat,
                           portable::monitors,
                           portable::monitorsChanged,
                           portable::createWindow,
                           portable::destroyWindow,
                           portable::placeWindow,
                           portable::adopt,
                           portable::release,
                           portable::adoptedGone,
                           nothing,
                           noFds};

const Backend*& chosen() {
    static const Backend* b = &kPortable;
    return b;
}

} // namespace

bool sameMonitors(const std::vector<Monitor>& a, const std::vector<Monitor>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Monitor& m, const Monitor& n) {
                          return m.name == n.name && SDL_RectEquals(&m.area, &n.area) &&
                                 m.frequency == n.frequency && m.bitsPerPixel == n.bitsPerPixel;
                      });
}

const Backend& portableBackend() {
    return kPortable;
}

const Backend& backend() {
    return *chosen();
}

void chooseBackend(const Backend& b) {
    chosen() = &b;
}

namespace portable {

namespace {

// SDL's displays into `out`, which keeps its storage from call to call.
void readDisplays(std::vector<Monitor>& out) {
    out.clear();
    for (int i = 0, n = SDL_GetNumVideoDisplays(); i < n; ++i) {
        Monitor m;
        SDL_DisplayMode mode;
        if (SDL_GetDisplayBounds(i, &m.area) != 0) continue;
        const char* name = SDL_GetDisplayName(i);
        m.name = name ? name : std::to_string(i);
        if (SDL_GetCurrentDisplayMode(i, &mode) == 0) {
            if (mode.format != SDL_PIXELFORMAT_UNKNOWN)
                m.bitsPerPixel = int(SDL_BYTESPERPIXEL(mode.format)) * 8;
            if (mode.refresh_rate > 0) m.frequency = mode.refresh_rate;
        }
        out.push_back(m);
    }
}

} // namespace

std::vector<Monitor> monitors() {
    std::vector<Monitor> out;
    readDisplays(out);
    return out;
}

bool monitorsChanged() {
    // Asked at every pump: both lists keep their storage.
    static std::vector<Monitor> seen, now;
    readDisplays(now);
    if (sameMonitors(now, seen)) return false;
    seen.swap(now);
    return true;
}

void destroyWindow(SDL_Window* window) {
    SDL_DestroyWindow(window);
}

SDL_Window* adopt(unsigned long) {
    return nullptr;
}

void release(SDL_Window*) {}

SDL_Window* adoptedGone(const SDL_Event&) {
    return nullptr;
}

SDL_Window* createWindow(const char* title, const SDL_Rect& frame, std::uint32_t flags) {
    return SDL_CreateWindow(title, frame.x, frame.y, frame.w, frame.h, flags);
}

void placeWindow(SDL_Window* window, const SDL_Rect& area, bool fullScreen) {
    if (!fullScreen) SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, area.w, area.h);
    SDL_SetWindowPosition(window, area.x, area.y);
    // A full-screen window the window manager knows of: not movable, kept
    // above panels even when another window has the focus.
    SDL_SetWindowAlwaysOnTop(window, fullScreen ? SDL_TRUE : SDL_FALSE);
    if (fullScreen) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

} // namespace portable
} // namespace tess::sdl
