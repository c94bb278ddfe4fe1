// The order things start and stop in: signals first (a signal while the
// display connects must close the window, not kill the process), then video
// and its backend, then the monitors; stopping runs the other way.

#include "platform/sdl/lifecycle.h"

#include "platform/sdl/backend.h"
#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/signals.h"
#include "platform/sdl/video.h"
#include "platform/sdl/window.h"

#include <string>

namespace tess::sdl {
namespace {

enum class State { Untried, Ready, Failed };

struct Host {
    State state = State::Untried;
    std::string reason;
};

Host& host() {
    static Host h;
    return h;
}

HWND adopt(unsigned long id) {
    if (!videoReady()) return nullptr;
    SDL_Window* sdl = backend().adopt(id);
    if (!sdl) return nullptr;
    if (const Adopted* known = findAdopted(sdl)) return known->handle;
    const Adopted a{newHandle(), sdl};
    addAdopted(a);
    installHost();
    return a.handle;
}

} // namespace

bool videoReady() {
    Host& h = host();
    if (h.state != State::Untried) return h.state == State::Ready;
    catchTerminationSignals();
    if (!startVideo(h.reason)) {
        h.state = State::Failed;
        return false;
    }
    startDisplay();
    applyCursorVisibility();
    h.state = State::Ready;
    return true;
}

const char* noDisplayReason() {
    return host().reason.c_str();
}

HWND adoptForeignWindow(unsigned long id) {
    return id ? adopt(id) : nullptr;
}

HWND adoptRootWindow() {
    return adopt(0);
}

void shutdownHost() {
    destroyAllWindows();
    resetQueue();
    resetInput();
    resetSignals();
    if (host().state == State::Ready) stopVideo();
    resetDisplay();
    host() = Host{};
}

} // namespace tess::sdl
