// The drivers over SDL2, tried in SDL's own order of its video drivers (X11
// before Wayland in SDL 2), then SDL's portable calls for any other.

#include "platform/driver.h"

#include <SDL.h>

namespace tess {
namespace sdl {
const Driver& x11Driver();
const Driver& waylandDriver();
const Driver& portableDriver();
} // namespace sdl

const Driver* const* hostDrivers() {
    static const Driver* list[4] = {};
    if (!list[0]) {
        int n = 0;
        for (int i = 0, count = SDL_GetNumVideoDrivers(); i < count; ++i) {
            const char* name = SDL_GetVideoDriver(i);
            for (const Driver* d : {&sdl::x11Driver(), &sdl::waylandDriver()})
                if (name && SDL_strcasecmp(name, d->name) == 0) list[n++] = d;
        }
        list[n] = &sdl::portableDriver();
    }
    return list;
}

} // namespace tess
