// The seat probe: one registry round trip on a short-lived connection.

#include "platform/sdl/wayland.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tess::sdl {
namespace {

void onGlobal(void* seatSeen, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, "wl_seat") == 0) *static_cast<bool*>(seatSeen) = true;
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

} // namespace

bool waylandUsable(std::string& why) {
    // A socket handed down by file descriptor can be connected to only once: it
    // is left to SDL, unprobed.
    if (std::getenv("WAYLAND_SOCKET")) return true;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        why = std::string("no compositor at '") + (name && *name ? name : "wayland-0") + "'";
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
        why = "the compositor did not answer";
    } else if (!seat) {
        why = "the compositor offers no seat (wl_seat)";
    }
    return answered && seat;
}

} // namespace tess::sdl
