// What SDL's Wayland driver needs before it may be tried: a compositor that
// answers, offering a seat. SDL 2.26 sets up its mouse assuming a wl_seat and
// crashes on a compositor without one (a headless one, say), so we ask first,
// through libwayland-client, on a connection of our own.
#pragma once

#include <string>

namespace tess::sdl {

// True when the compositor named by the environment answers and offers a
// wl_seat; otherwise false, with why in `why`.
bool waylandUsable(std::string& why);

} // namespace tess::sdl
