// The Host object's life: made at first use, everything gone at shutdown.

#include "platform/host.h"

#include "platform/gdi/window_surfaces.h"
#include "platform/host/core.h"
#include "platform/host/windows.h"

#include <chrono>

namespace tess::host {
namespace {

std::unique_ptr<Host>& slot() {
    static std::unique_ptr<Host> h; // the one host; shutdownHost empties it
    return h;
}

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Surface* surfaceOfWindow(HWND handle) {
    Window* w = slot() ? findWindow(handle) : nullptr;
    return w ? &w->surface : nullptr;
}

} // namespace

Host& host() {
    std::unique_ptr<Host>& h = slot();
    if (!h) {
        h = std::make_unique<Host>();
        h->clock = steadySeconds;
        setWindowSurfaces(surfaceOfWindow);
    }
    return *h;
}

double now() {
    return host().clock();
}

void setPresentClock(double (*clock)()) {
    host().clock = clock ? clock : steadySeconds;
}

} // namespace tess::host

namespace tess {

void shutdownHost() {
    std::unique_ptr<host::Host>& h = host::slot();
    if (!h) return;
    if (h->state == host::Host::State::Ready) {
        host::removeAllWindows();
        h->driver->stop();
    }
    h.reset();
    setWindowSurfaces(nullptr);
}

} // namespace tess
