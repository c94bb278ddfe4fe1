// SDL video start-up over the driver list, and the refusal of the invisible
// fallback drivers.

#include "platform/sdl/video.h"

#include "platform/sdl/backend.h"

#include <SDL.h>

#include <cstdlib>

namespace tess::sdl {
namespace {

// Drivers that open no window anyone can see ("evdev" is the dummy one reading
// input devices).
bool invisible(const char* driver) {
    for (const char* name : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, name) == 0) return true;
    }
    return false;
}

// The backend for an SDL video driver: the window system's own, or the portable one.
const Backend& backendFor(const char* driver) {
    for (const Backend* b : {&x11Backend(), &waylandBackend()}) {
        if (driver && SDL_strcasecmp(driver, b->driver) == 0) return *b;
    }
    return portableBackend();
}

void addReason(std::string& reason, const char* driver, const std::string& why) {
    reason += (reason.empty() ? "" : "; ") + std::string(driver) + ": " + why;
}

// SDL's start on one driver, after its backend says it can work.
bool tryDriver(const char* driver, std::string& reason) {
    std::string why;
    if (!backendFor(driver).usable(why)) {
        addReason(reason, driver, why);
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (!started) addReason(reason, driver, SDL_GetError());
    return started;
}

} // namespace

bool driverAccepted(const char* driverInUse, const char* driverRequested) {
    if (!driverInUse) return false;
    if (!invisible(driverInUse)) return true;
    return driverRequested && SDL_strcasecmp(driverInUse, driverRequested) == 0;
}

bool startVideo(std::string& why) {
    why.clear();
    // Signals are ours (they close the window); SDL would turn them into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL_QUIT then means only a lost connection (backend.h).
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The default routes the window surface through software OpenGL, many times
    // slower, where the driver has a framebuffer of its own (X11).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    bool started = false;
    if (requested && *requested) {
        started = tryDriver(requested, why);
    } else {
        // Our own walk over SDL's drivers: the invisible ones are never tried.
        for (int i = 0, n = SDL_GetNumVideoDrivers(); i < n && !started; ++i) {
            const char* driver = SDL_GetVideoDriver(i);
            if (driver && !invisible(driver)) started = tryDriver(driver, why);
        }
        if (!started && why.empty()) why = "no video driver to try";
    }
    const char* driver = started ? SDL_GetCurrentVideoDriver() : nullptr;
    if (started && !driverAccepted(driver, requested)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        why = std::string("only SDL's invisible '") + (driver ? driver : "?") + "' driver answered";
        started = false;
    }
    if (!started) return false;
    why.clear();
    const Backend& b = backendFor(driver);
    chooseBackend(b);
    b.start();
    // Read by SDL at the first SDL_GetWindowSurface, once for the driver's lifetime.
    if (b.needsRenderer()) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
    return true;
}

void stopVideo() {
    backend().stop();
    chooseBackend(portableBackend());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace tess::sdl
