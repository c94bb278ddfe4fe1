// The host's start: the first driver that starts, chosen at the first call
// that needs a display; and what a program's start-up asks of the host.

#include "platform/host.h"

#include "platform/host/core.h"
#include "platform/host/display.h"
#include "platform/host/input.h"
#include "platform/host/windows.h"

namespace tess::host {

bool ready() {
    Host& h = host();
    if (h.state != Host::State::Untried) return h.state == Host::State::Ready;
    std::string reasons;
    for (const Driver* const* d = hostDrivers(); *d && !h.driver; ++d) {
        if ((*d)->layers != h.wantLayers) continue;
        std::string why;
        if ((*d)->start(why)) {
            h.driver = *d;
        } else if (!why.empty()) {
            reasons += (reasons.empty() ? "" : "; ") + why;
        }
    }
    if (!h.driver) {
        h.state = Host::State::Failed;
        h.failure = !reasons.empty() ? reasons
                    : h.wantLayers   ? "no driver of the desktop's layers to try"
                                     : "no video driver to try";
        return false;
    }
    h.state = Host::State::Ready;
    readMonitors();
    applyCursorVisibility();
    return true;
}

} // namespace tess::host

namespace tess {

void hostWantLayers() {
    host::host().wantLayers = true;
}

bool hostReady() {
    return host::ready();
}

const char* hostFailure() {
    return host::host().failure.c_str();
}

HWND adoptWindow(unsigned long id) {
    if (!host::ready()) return nullptr;
    DriverWindow* shown = host::driver().adopt(id);
    if (!shown) return nullptr;
    if (const host::Adopted* known = host::findAdopted(shown)) return known->handle;
    return host::addAdopted(shown);
}

int terminationSignal() {
    const host::Host& h = host::host();
    return h.state == host::Host::State::Ready ? h.driver->terminationSignal() : 0;
}

std::string hostSetting(const char* name) {
    for (const Driver* const* d = hostDrivers(); *d; ++d) {
        if (!(*d)->setting) continue;
        const std::string value = (*d)->setting(name);
        if (!value.empty()) return value;
    }
    return std::string();
}

void hostEnded(int exitCode) {
    for (const Driver* const* d = hostDrivers(); *d; ++d)
        if ((*d)->ended) (*d)->ended(exitCode);
}

} // namespace tess
