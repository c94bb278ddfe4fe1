// The Wayland driver: SDL's Wayland video driver, and before it may be tried, a compositor must
// answer and offer a seat: SDL 2.26 sets up its mouse assuming a wl_seat and
// crashes on a compositor without one (a headless one, say), so we ask first,
// on a short-lived connection of our own. SDL reports a connection the
// compositor dropped as SDL_QUIT, which ends the program here. Monitors are
// SDL's displays (the compositor's outputs); SDL does the rest.

#include "platform/posix/signals.h"
#include "platform/sdl/sdl_common.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tess::sdl {
namespace {

struct State {
    wl_display* display = nullptr; // SDL's, known once a window exists
    std::vector<Monitor> seen;     // the outputs the last pump saw
};

std::unique_ptr<State>& slot() {
    static std::unique_ptr<State> s; // while the driver runs
    return s;
}

State& state() {
    return *slot();
}

std::string socketName() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name && *name ? name : "wayland-0";
}

void onGlobal(void* seatSeen, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, "wl_seat") == 0) *static_cast<bool*>(seatSeen) = true;
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

// Its socket is found through WAYLAND_DISPLAY or XDG_RUNTIME_DIR: with neither
// it cannot connect, and trying only makes the client library print to stderr.
bool usable(std::string& why) {
    if (!std::getenv("WAYLAND_DISPLAY") && !std::getenv("XDG_RUNTIME_DIR")) {
        why = "neither WAYLAND_DISPLAY nor XDG_RUNTIME_DIR is set";
        return false;
    }
    // A socket handed down by file descriptor can be connected to only once: it
    // is left to SDL, unprobed.
    if (std::getenv("WAYLAND_SOCKET")) return true;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        why = "no compositor at '" + socketName() + "'";
        return false;
    }
    bool seat = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &seat);
    // Every global is announced before the round trip's own reply.
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) {
        why = "the compositor at '" + socketName() + "' did not answer";
    } else if (!seat) {
        why = "the compositor at '" + socketName() + "' offers no seat (wl_seat)";
    }
    return answered && seat;
}

bool monitorsChanged() {
    return displaysChanged(state().seen);
}

// SDL sends SDL_QUIT once when reading from the compositor fails (and never for
// a closed window: the host asks it not to). Before any window there is no
// connection to ask, and nothing else sends it.
void quitReported() {
    const State& s = state();
    if (s.display && wl_display_get_error(s.display) == 0) return;
    const std::string what = "the Wayland compositor at '" + socketName() + "'";
    posix::connectionLost(what.c_str());
}

int eventFds(int* fds, int most) {
    if (!state().display || most < 1) return 0;
    fds[0] = wl_display_get_fd(state().display);
    return 1;
}

const Hooks kHooks = {monitorsChanged, noneGone, quitReported, eventFds, maybeQueued};

struct Wayland : SdlDriver<kHooks> {
    static bool start(std::string& why) {
        if (!startOwn("wayland", usable, why)) return false;
        useRenderer(); // no framebuffer of its own: surfaces go through EGL
        slot() = std::make_unique<State>();
        state().seen = displays();
        return true;
    }

    static void stop() {
        slot().reset();
        stopVideo();
    }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string& why) {
        SDL_Window* window = plainWindow(asked.title, asked.frame, windowFlags(asked));
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (window && !state().display && SDL_GetWindowWMInfo(window, &info) &&
            info.subsystem == SDL_SYSWM_WAYLAND)
            state().display = info.info.wl.display;
        return drawable(window, why, destroyWindow);
    }
};

} // namespace

const Driver kWayland = driverTable<Wayland>("wayland");

} // namespace tess::sdl
