// The driver for any SDL video driver without a file of its own (the dummy one
// the tests may name, KMSDRM): SDL's portable calls alone. Its monitors are
// SDL's displays; there are no other programs' windows to adopt.

#include "platform/sdl/sdl_common.h"

#include <SDL.h>

#include <memory>

namespace tess::sdl {
namespace {

struct State {
    std::vector<Monitor> seen; // the displays the last pump saw
};

std::unique_ptr<State>& state() {
    static std::unique_ptr<State> s; // while the driver runs
    return s;
}

// An SDL driver with a file of its own is that file's to start.
bool hasOwnFile(const char* sdlDriver) {
    for (const Driver* const* d = hostDrivers(); *d; ++d)
        if (SDL_strcasecmp((*d)->name, sdlDriver) == 0) return true;
    return false;
}

bool monitorsChanged() {
    return displaysChanged(state()->seen);
}

void nothing() {}

int noFds(int*, int) {
    return 0;
}

const Hooks kHooks = {monitorsChanged, noneGone, nothing, noFds, maybeQueued};

struct Portable : SdlDriver<kHooks> {
    static bool start(std::string& why) {
        bool started = false;
        if (const char* requested = requestedDriver()) {
            if (hasOwnFile(requested)) return false;
            started = startVideo(requested, why);
        } else {
            // Our own walk over SDL's drivers: the invisible ones are never tried.
            for (int i = 0, n = SDL_GetNumVideoDrivers(); i < n && !started; ++i) {
                const char* name = SDL_GetVideoDriver(i);
                if (name && !invisible(name) && !hasOwnFile(name)) started = startVideo(name, why);
            }
        }
        if (!started) return false;
        // SDL names no format for some desktops (30 bits): only a renderer converts.
        SDL_DisplayMode m;
        if (SDL_GetDesktopDisplayMode(0, &m) == 0 && m.format == SDL_PIXELFORMAT_UNKNOWN)
            useRenderer();
        state() = std::make_unique<State>();
        state()->seen = displays();
        return true;
    }

    static void stop() {
        stopVideo();
        state().reset();
    }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string& why) {
        return drawable(plainWindow(asked.title, asked.frame, windowFlags(asked)), why,
                        destroyWindow);
    }
};

} // namespace

const Driver kPortable = driverTable<Portable>("sdl");

} // namespace tess::sdl
