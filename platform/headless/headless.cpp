// The headless driver's desktop, windows and events.

#include "platform/headless/headless.h"

#include "platform/posix/signals.h"
#include "platform/win32.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <poll.h>

namespace tess::headless {
namespace {

// What the tests set up: it outlives a host, as a desktop would.
struct Desktop {
    std::vector<Monitor> monitors{Monitor{"headless", Area{0, 0, 1024, 768}, 32, 60}};
    std::vector<std::pair<unsigned long, Area>> foreign;
    int pointerX = 0, pointerY = 0;
    bool monitorsChanged = false;
};

Desktop& desktop() {
    static Desktop d;
    return d;
}

struct Window : Shown {
    unsigned long foreignId = 0;
};

// What one run of the driver keeps: made at start, gone at stop.
struct State {
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<DriverEvent> pending;
    bool cursorShown = true;
    ScaleScratch scratch;
};

std::unique_ptr<State>& slot() {
    static std::unique_ptr<State> s;
    return s;
}

Window* recordOf(const DriverWindow* w) {
    if (!slot() || !w) return nullptr;
    for (auto& r : slot()->windows)
        if (reinterpret_cast<const DriverWindow*>(r.get()) == w) return r.get();
    return nullptr;
}

DriverWindow* handleOf(Window* w) {
    return reinterpret_cast<DriverWindow*>(w);
}

void resize(Window& w, const Area& area) {
    w.area = area;
    w.pixels.assign(std::size_t(std::max(area.w, 0)) * std::size_t(std::max(area.h, 0)), 0);
}

void queue(DriverEvent::Kind kind, DriverWindow* window) {
    DriverEvent e;
    e.kind = kind;
    e.window = window;
    slot()->pending.push_back(e);
}

struct Headless {
    static bool start(std::string&) {
        posix::catchTerminationSignals();
        slot() = std::make_unique<State>();
        desktop().monitorsChanged = false;
        return true;
    }

    static void stop() {
        slot().reset();
        posix::resetSignals();
    }

    static std::vector<Monitor> monitors() { return desktop().monitors; }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string&) {
        auto w = std::make_unique<Window>();
        w->title = asked.title;
        w->borderless = asked.borderless;
        w->resizable = asked.resizable;
        w->fullScreen = asked.fullScreen;
        resize(*w, asked.frame);
        slot()->windows.push_back(std::move(w));
        return handleOf(slot()->windows.back().get());
    }

    static void destroyWindow(DriverWindow* window) {
        auto& ws = slot()->windows;
        ws.erase(std::remove_if(ws.begin(), ws.end(),
                                [window](const std::unique_ptr<Window>& w) {
                                    return handleOf(w.get()) == window;
                                }),
                 ws.end());
    }

    static void showWindow(DriverWindow* window, bool visible, bool raise) {
        if (Window* w = recordOf(window)) {
            w->visible = visible;
            w->raised = w->raised || raise;
        }
    }

    static void placeWindow(DriverWindow* window, const Area& area, bool fullScreen) {
        if (Window* w = recordOf(window)) {
            resize(*w, area);
            w->fullScreen = fullScreen;
        }
    }

    static Area windowArea(DriverWindow* window) {
        const Window* w = recordOf(window);
        return w ? w->area : Area{};
    }

    static bool seen(DriverWindow* window) {
        const Window* w = recordOf(window);
        return w && (w->visible || w->adopted);
    }

    static void drawableSize(DriverWindow* window, int& width, int& height) {
        const Window* w = recordOf(window);
        width = w ? w->area.w : 0;
        height = w ? w->area.h : 0;
    }

    static void present(DriverWindow* window, const Surface& surface, const Placement& placement,
                        const PixelRect* rects, int count) {
        Window* w = recordOf(window);
        if (!w) return;
        Target t{w->pixels.data(), w->area.w * 4, w->area.w, w->area.h,
                 PixelLayout{4, 0, 8, 16, 0, 0, 0, 0}};
        for (int i = 0; i < count; ++i)
            scaleInto(surface, placement, rects[i], t, slot()->scratch);
        ++w->presents;
    }

    static DriverWindow* adopt(unsigned long id) {
        const Desktop& d = desktop();
        Area area = d.monitors.front().area;
        if (id) {
            const auto it = std::find_if(d.foreign.begin(), d.foreign.end(),
                                         [id](const auto& f) { return f.first == id; });
            if (it == d.foreign.end()) return nullptr;
            area = it->second;
        }
        for (auto& w : slot()->windows)
            if (w->adopted && w->foreignId == id) return handleOf(w.get());
        auto w = std::make_unique<Window>();
        w->adopted = true;
        w->foreignId = id;
        resize(*w, area);
        slot()->windows.push_back(std::move(w));
        return handleOf(slot()->windows.back().get());
    }

    static void pump(bool, std::vector<DriverEvent>& out) {
        State& s = *slot();
        if (desktop().monitorsChanged) {
            desktop().monitorsChanged = false;
            queue(DriverEvent::MonitorsChanged, nullptr);
        }
        out.insert(out.end(), s.pending.begin(), s.pending.end());
        s.pending.clear();
        if (posix::takeTerminationRequest()) {
            DriverEvent e;
            e.kind = DriverEvent::Terminate;
            out.push_back(e);
        }
    }

    // Nothing but a signal can come while the one thread sleeps.
    static bool wait(double seconds, bool) {
        if (!slot()->pending.empty()) return true;
        pollfd fd{posix::terminationFd(), POLLIN, 0};
        const int ms = std::max(1, int(std::ceil(seconds * 1000)));
        const bool woken = poll(&fd, fd.fd >= 0 ? 1 : 0, ms) > 0;
        if (woken) posix::drainTerminationWake();
        return woken;
    }

    static void showCursor(bool visible) { slot()->cursorShown = visible; }

    static bool cursorIn(DriverWindow* window, int& x, int& y) {
        const Window* w = recordOf(window);
        if (!w) return false;
        x = desktop().pointerX - w->area.x;
        y = desktop().pointerY - w->area.y;
        return true;
    }

    static bool messageBox(DriverWindow*, const char*, const char*) { return true; }

    // An adopted window is forgotten as one of its own is destroyed.
    static void release(DriverWindow* adopted) { destroyWindow(adopted); }
    static constexpr bool kPacedByFrames = false;
    static constexpr auto terminationSignal = posix::terminationSignal;
    static constexpr std::string (*setting)(const char*) = nullptr;
    static constexpr void (*ended)(int) = nullptr;
};

} // namespace

void setMonitors(const std::vector<Monitor>& monitors) {
    desktop().monitors = monitors;
    desktop().monitorsChanged = slot() != nullptr;
}

void resetDesktop() {
    desktop() = Desktop{};
}

const Shown* shown(const DriverWindow* window) {
    return recordOf(window);
}

bool cursorShown() {
    return slot() && slot()->cursorShown;
}

void send(const DriverEvent& event) {
    if (slot()) slot()->pending.push_back(event);
}

void sendKey(const DriverWindow* window, int virtualKey, bool down, bool repeat, bool alt) {
    DriverEvent e;
    e.kind = DriverEvent::Key;
    e.window = const_cast<DriverWindow*>(window);
    e.virtualKey = virtualKey;
    e.down = down;
    e.repeat = repeat;
    e.alt = alt;
    send(e);
}

void placeByUser(const DriverWindow* window, const Area& area) {
    Window* w = recordOf(window);
    if (!w) return;
    const Area was = w->area;
    resize(*w, area);
    if (was.x != area.x || was.y != area.y) queue(DriverEvent::Moved, handleOf(w));
    if (was.w != area.w || was.h != area.h) queue(DriverEvent::Resized, handleOf(w));
}

void setPointer(int x, int y) {
    desktop().pointerX = x;
    desktop().pointerY = y;
}

void addForeignWindow(unsigned long id, const Area& area) {
    desktop().foreign.emplace_back(id, area);
}

void removeForeignWindow(unsigned long id) {
    auto& f = desktop().foreign;
    f.erase(std::remove_if(f.begin(), f.end(), [id](const auto& w) { return w.first == id; }),
            f.end());
    if (!slot()) return;
    for (auto& w : slot()->windows)
        if (w->adopted && w->foreignId == id) queue(DriverEvent::AdoptedGone, handleOf(w.get()));
}

} // namespace tess::headless

namespace tess {

const Driver* const* hostDrivers() {
    return onlyDriver<headless::Headless>("headless");
}

} // namespace tess
