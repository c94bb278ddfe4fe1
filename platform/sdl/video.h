// Bringing SDL's video up once, on first need, and refusing a display that is
// not one: SDL falls back to an invisible offscreen or dummy driver when no
// display is reachable, which is accepted only when asked for by name
// (SDL_VIDEODRIVER), as the tests do; without that name they are never tried.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace tess::sdl {

// True once SDL video runs on a real (or explicitly requested) driver. The first
// call tries; a failure is remembered and not retried.
bool videoReady();
// Why videoReady() failed, for the one line the user sees; empty when it did not.
const char* noDisplayReason();

// An SDL window with a surface the present can draw into, or null with SDL's
// error saying why: a window nothing can be shown in is never made, so the
// program never runs invisibly.
SDL_Window* createDrawableWindow(const char* title, int x, int y, int w, int h,
                                 std::uint32_t flags);

// Whether the driver SDL picked may be used, given the driver named in
// SDL_VIDEODRIVER (null or empty when none): the invisible ones only by name.
bool driverAccepted(const char* driverInUse, const char* driverRequested);

// Closes every window, empties the queue, returns the display, shuts SDL down and
// forgets a failed start, so the next call starts afresh (tests).
void shutdownHost();

} // namespace tess::sdl
