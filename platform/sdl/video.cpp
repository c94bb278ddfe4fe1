// SDL video start-up and the refusal of the invisible fallback drivers.

#include "platform/sdl/video.h"

#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/window.h"
#include "platform/sdl/x11.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace tess::sdl {
namespace {

enum class State { Untried, Ready, Failed };

struct Video {
    State state = State::Untried;
    std::string reason;
};

Video& video() {
    static Video v;
    return v;
}

// Drivers that open no window anyone can see ("evdev" is the dummy one reading
// input devices).
bool invisible(const char* driver) {
    for (const char* name : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, name) == 0) return true;
    }
    return false;
}

// Wayland finds its socket through these; with neither set it cannot connect, and
// trying only makes the client library print to stderr.
bool reachable(const char* driver) {
    if (std::strcmp(driver, "wayland") != 0) return true;
    return std::getenv("WAYLAND_DISPLAY") || std::getenv("XDG_RUNTIME_DIR");
}

} // namespace

bool driverAccepted(const char* driverInUse, const char* driverRequested) {
    if (!driverInUse) return false;
    if (!invisible(driverInUse)) return true;
    return driverRequested && SDL_strcasecmp(driverInUse, driverRequested) == 0;
}

bool videoReady() {
    Video& v = video();
    if (v.state != State::Untried) return v.state == State::Ready;
    // Signals are ours (they close the window); SDL would turn them into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Caught from here, not only once a window exists: connecting to the display
    // takes a while, and a signal meanwhile would kill the process outright
    // instead of closing the window as soon as there is one.
    catchTerminationSignals();
    // The default routes the window surface through software OpenGL, many times slower.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    bool started = false;
    if (requested && *requested) {
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!started) v.reason = std::string(requested) + ": " + SDL_GetError();
    } else {
        // Our own walk over SDL's drivers: the invisible ones are never tried.
        for (int i = 0, n = SDL_GetNumVideoDrivers(); i < n && !started; ++i) {
            const char* driver = SDL_GetVideoDriver(i);
            if (!driver || invisible(driver) || !reachable(driver)) continue;
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
            started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            if (!started)
                v.reason +=
                    (v.reason.empty() ? "" : "; ") + std::string(driver) + ": " + SDL_GetError();
        }
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        if (v.reason.empty()) v.reason = "no video driver to try";
    }
    if (!started) {
        v.state = State::Failed;
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driverAccepted(driver, requested)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        v.state = State::Failed;
        v.reason =
            std::string("only SDL's invisible '") + (driver ? driver : "?") + "' driver answered";
        return false;
    }
    x11::start();
    v.state = State::Ready;
    v.reason.clear();
    applyCursorVisibility();
    return true;
}

const char* noDisplayReason() {
    return video().reason.c_str();
}

void shutdownHost() {
    destroyAllWindows();
    resetDisplay();
    resetQueue();
    resetInput();
    Video& v = video();
    x11::stop();
    if (v.state == State::Ready) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    v = Video{};
}

} // namespace tess::sdl
