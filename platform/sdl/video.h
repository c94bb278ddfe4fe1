// Bringing SDL's video up and down, and refusing a display that is not one: SDL
// falls back to an invisible offscreen or dummy driver when no display is
// reachable, which is accepted only when asked for by name (SDL_VIDEODRIVER),
// as the tests do; without that name they are never tried. Starting picks the
// backend (backend.h) for the driver that answered.
#pragma once

#include <string>

namespace tess::sdl {

// Starts SDL video on the driver SDL_VIDEODRIVER names, or else on the first of
// SDL's drivers that works, and starts its backend; false, with why for each
// driver tried (naming the display or socket it could not reach), when none did.
bool startVideo(std::string& why);
// Stops the backend and SDL video (after every window is gone).
void stopVideo();

// Whether the driver SDL picked may be used, given the driver named in
// SDL_VIDEODRIVER (null or empty when none): the invisible ones only by name.
bool driverAccepted(const char* driverInUse, const char* driverRequested);

} // namespace tess::sdl
