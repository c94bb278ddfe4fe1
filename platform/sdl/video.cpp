// SDL video start-up and the refusal of the invisible fallback drivers.

#include "platform/sdl/video.h"

#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/wayland.h"
#include "platform/sdl/window.h"
#include "platform/sdl/x11.h"

#include <SDL.h>

#include <cstdlib>
#include <cstdint>
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

bool isWayland(const char* driver) {
    return driver && SDL_strcasecmp(driver, "wayland") == 0;
}

// Whether SDL may try the driver; when it may not, why. Wayland finds its socket
// through WAYLAND_DISPLAY or XDG_RUNTIME_DIR: with neither set it cannot connect,
// and trying only makes the client library print to stderr. With a compositor
// there, it needs a seat.
bool worthTrying(const char* driver, std::string& why) {
    if (!isWayland(driver)) return true;
    if (!std::getenv("WAYLAND_DISPLAY") && !std::getenv("XDG_RUNTIME_DIR")) {
        why = "neither WAYLAND_DISPLAY nor XDG_RUNTIME_DIR is set";
        return false;
    }
    return waylandUsable(why);
}

void addReason(std::string& reason, const char* driver, const std::string& why) {
    reason += (reason.empty() ? "" : "; ") + std::string(driver) + ": " + why;
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
    // The default routes the window surface through software OpenGL, many times
    // slower, where the driver has a framebuffer of its own (X11).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    bool started = false;
    std::string why;
    if (requested && *requested) {
        if (!worthTrying(requested, why)) {
            addReason(v.reason, requested, why);
        } else {
            started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            if (!started) addReason(v.reason, requested, SDL_GetError());
        }
    } else {
        // Our own walk over SDL's drivers: the invisible ones are never tried.
        for (int i = 0, n = SDL_GetNumVideoDrivers(); i < n && !started; ++i) {
            const char* driver = SDL_GetVideoDriver(i);
            if (!driver || invisible(driver)) continue;
            if (!worthTrying(driver, why)) {
                addReason(v.reason, driver, why);
                continue;
            }
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
            started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            if (!started) addReason(v.reason, driver, SDL_GetError());
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
    // Drivers without a window framebuffer of their own (Wayland), and desktops
    // whose pixel format SDL cannot name (30 bits on X11): there the window
    // surface is drawn through a renderer (EGL, GL) that converts, or there is
    // none. Read by SDL at the first SDL_GetWindowSurface, once for the driver's
    // lifetime.
    SDL_DisplayMode desktop;
    if (isWayland(driver) ||
        (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.format == SDL_PIXELFORMAT_UNKNOWN))
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
    v.state = State::Ready;
    v.reason.clear();
    applyCursorVisibility();
    return true;
}

SDL_Window* createDrawableWindow(const char* title, int x, int y, int w, int h,
                                 std::uint32_t flags) {
    SDL_Window* window = x11::createWindow(title, x, y, w, h, flags);
    if (!window) return nullptr;
    SDL_ClearError(); // SDL may fail here without a word
    const SDL_Surface* s = SDL_GetWindowSurface(window);
    if (s && s->format->BytesPerPixel >= 2) return window;
    const char* error = SDL_GetError();
    std::string why = "no surface to draw into: ";
    if (s) {
        why += "8 bits per pixel";
    } else {
        why += *error ? error : "the video driver offers none";
    }
    x11::destroyWindow(window);
    SDL_SetError("%s", why.c_str());
    return nullptr;
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
