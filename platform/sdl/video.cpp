// SDL video up and down on one named SDL driver, and the refusal of the
// invisible fallback drivers: SDL falls back to an offscreen or dummy driver
// when no display is reachable, which is accepted only when asked for by name
// (SDL_VIDEODRIVER), as the tests do.

#include "platform/posix/signals.h"
#include "platform/sdl/sdl_common.h"

#include <SDL.h>

#include <cstdlib>
#include <memory>

namespace tess::sdl {
namespace {

std::unique_ptr<Common>& commonSlot() {
    static std::unique_ptr<Common> c; // while video runs
    return c;
}

void addReason(std::string& reason, const char* driver, const std::string& why) {
    reason += (reason.empty() ? "" : "; ") + std::string(driver) + ": " + why;
}

} // namespace

Common& common() {
    return *commonSlot();
}

const char* requestedDriver() {
    const char* name = std::getenv("SDL_VIDEODRIVER");
    return name && *name ? name : nullptr;
}

bool invisible(const char* driver) {
    // "evdev" is the dummy driver reading input devices.
    for (const char* name : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, name) == 0) return true;
    }
    return false;
}

bool driverAccepted(const char* driverInUse, const char* driverRequested) {
    if (!driverInUse) return false;
    if (!invisible(driverInUse)) return true;
    return driverRequested && SDL_strcasecmp(driverInUse, driverRequested) == 0;
}

bool startVideo(const char* name, std::string& why) {
    posix::catchTerminationSignals();
    // Signals are ours (they close the window); SDL would turn them into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL_QUIT then means only a lost connection.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The default routes the window surface through software OpenGL, many times
    // slower, where the driver has a framebuffer of its own (X11).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // SDL would hold the screen saver off for as long as video runs: reset the X
    // server's idle timer, make a Wayland idle inhibitor for every window, ask
    // the desktop over D-Bus. A Windows program that leaves WM_SYSCOMMAND to
    // DefWindowProcA does none of that, and a screensaver least of all.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (!started) {
        addReason(why, name, SDL_GetError());
        return false;
    }
    const char* inUse = SDL_GetCurrentVideoDriver();
    if (!driverAccepted(inUse, requestedDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        addReason(why, name,
                  std::string("only SDL's invisible '") + (inUse ? inUse : "?") +
                      "' driver answered");
        return false;
    }
    commonSlot() = std::make_unique<Common>();
    return true;
}

bool startOwn(const char* name, bool (*usable)(std::string& why), std::string& why) {
    const char* requested = requestedDriver();
    if (requested && SDL_strcasecmp(requested, name) != 0) return false;
    std::string reason;
    if (!usable(reason)) {
        addReason(why, name, reason);
        return false;
    }
    return startVideo(name, why);
}

void useRenderer() {
    // Read by SDL at the first SDL_GetWindowSurface, once for the driver's lifetime.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
}

void stopVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    commonSlot().reset();
    posix::resetSignals();
}

int terminationSignal() {
    return posix::terminationSignal();
}

} // namespace tess::sdl
