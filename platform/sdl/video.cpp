// SDL video start-up and the refusal of the invisible fallback drivers.

#include "platform/sdl/video.h"

#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/window.h"

#include <SDL.h>

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

bool invisible(const char* driver) {
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
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
    // The default routes the window surface through software OpenGL, many times slower.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Never let SDL turn the X screensaver off or minimise on focus loss behind our back.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        v.state = State::Failed;
        v.reason = SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driverAccepted(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        v.state = State::Failed;
        v.reason =
            std::string("only SDL's invisible '") + (driver ? driver : "?") + "' driver answered";
        return false;
    }
    v.state = State::Ready;
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
    if (v.state == State::Ready) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    v = Video{};
}

} // namespace tess::sdl
