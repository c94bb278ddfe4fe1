// The drivers over SDL2, tried in SDL's own order of its video drivers (X11
// before Wayland in SDL 2), then SDL's portable calls for any other; and the
// desktop's layers on Wayland, for a program that asks for those.

#include "platform/layer/layer.h"
#include "platform/sdl/sdl_common.h"

#include <SDL.h>

namespace tess {

const Driver* const* hostDrivers() {
    static const Driver* list[5] = {};
    if (!list[0]) {
        int n = 0;
        for (int i = 0, count = SDL_GetNumVideoDrivers(); i < count; ++i) {
            const char* name = SDL_GetVideoDriver(i);
            for (const Driver* d : {&sdl::kX11, &sdl::kWayland})
                if (name && SDL_strcasecmp(name, d->name) == 0) list[n++] = d;
        }
        list[n++] = &sdl::kPortable;
        list[n] = &layer::kLayer;
    }
    return list;
}

} // namespace tess
