// SDL's events as driver events, the pace of reading the window system, and
// the wait between frames.

#include "platform/posix/signals.h"
#include "platform/sdl/sdl_common.h"
#include "platform/win32.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <poll.h>

namespace tess::sdl {
namespace {

// Reading the display connection for new events is a system call, and the
// main loop peeks tens of thousands of times a second: once a millisecond is
// soon enough for keys and window events.
constexpr double kPumpEvery = 0.001;
// While quiet, SDL's own periodic work (in its pump) still runs this often.
constexpr double kQuietPumpEvery = 0.1;

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

DriverWindow* windowOfId(Uint32 id) {
    return driverWindow(SDL_GetWindowFromID(id));
}

void push(std::vector<DriverEvent>& out, DriverEvent::Kind kind, DriverWindow* window) {
    DriverEvent e;
    e.kind = kind;
    e.window = window;
    out.push_back(e);
}

// What SDL's window events tell the host; the others it needs not.
struct WindowEventKind {
    Uint8 sdl;
    DriverEvent::Kind kind;
};
constexpr WindowEventKind kWindowEvents[] = {
    {SDL_WINDOWEVENT_CLOSE, DriverEvent::Close},
    {SDL_WINDOWEVENT_EXPOSED, DriverEvent::Exposed},
    {SDL_WINDOWEVENT_SIZE_CHANGED, DriverEvent::Resized},
    {SDL_WINDOWEVENT_MOVED, DriverEvent::Moved},
    {SDL_WINDOWEVENT_SHOWN, DriverEvent::Shown},
    {SDL_WINDOWEVENT_RESTORED, DriverEvent::Shown},
};

void translateWindowEvent(const SDL_WindowEvent& e, std::vector<DriverEvent>& out) {
    for (const WindowEventKind& w : kWindowEvents)
        if (w.sdl == e.event) push(out, w.kind, windowOfId(e.windowID));
}

} // namespace

void translate(const SDL_Event& e, std::vector<DriverEvent>& out, const Hooks& hooks) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        DriverEvent k;
        k.kind = DriverEvent::Key;
        k.window = windowOfId(e.key.windowID);
        k.virtualKey = virtualKeyOf(e.key.keysym.sym);
        k.down = e.type == SDL_KEYDOWN;
        k.repeat = e.key.repeat != 0;
        k.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (k.virtualKey) out.push_back(k);
        return;
    }
    case SDL_WINDOWEVENT:
        translateWindowEvent(e.window, out);
        return;
    case SDL_SYSWMEVENT:
        if (DriverWindow* gone = hooks.adoptedGone(e)) push(out, DriverEvent::AdoptedGone, gone);
        return;
    case SDL_MOUSEMOTION: {
        DriverEvent p;
        p.kind = DriverEvent::Pointer;
        p.window = windowOfId(e.motion.windowID);
        p.x = e.motion.x;
        p.y = e.motion.y;
        out.push_back(p);
        return;
    }
    case SDL_MOUSEBUTTONDOWN: {
        DriverEvent b;
        b.kind = DriverEvent::Button;
        b.window = windowOfId(e.button.windowID);
        b.x = e.button.button == SDL_BUTTON_LEFT     ? 1
              : e.button.button == SDL_BUTTON_MIDDLE ? 2
              : e.button.button == SDL_BUTTON_RIGHT  ? 3
                                                     : 0;
        if (b.x) out.push_back(b);
        return;
    }
    case SDL_QUIT:
        hooks.quitReported();
        return;
    default:
        return;
    }
}

void pump(bool now, std::vector<DriverEvent>& out, const Hooks& hooks) {
    Common& c = common();
    const double t = seconds();
    // A present's reply may bring events into the connection's queue, which no
    // wait would hear of.
    if (c.presented && c.quiet && hooks.eventsQueued()) c.quiet = false;
    c.presented = false;
    if (now || t - c.lastPump >= (c.quiet ? kQuietPumpEvery : kPumpEvery)) {
        c.lastPump = t;
        c.quiet = false;
        SDL_PumpEvents();
        if (hooks.monitorsChanged()) push(out, DriverEvent::MonitorsChanged, nullptr);
    }
    SDL_Event e; // events pushed meanwhile are in SDL's queue already
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(e, out, hooks);
    if (posix::takeTerminationRequest()) push(out, DriverEvent::Terminate, nullptr);
}

bool wait(double seconds, const Hooks& hooks) {
    const int ms = std::max(1, int(std::ceil(seconds * 1000)));
    int events[3];
    const int n = hooks.eventFds(events, 3);
    bool woken = false;
    if (n == 0) {
        // Only SDL's own wait hears this driver: a signal is noticed at the
        // latest a tenth of a second after it came. The event stays queued.
        woken = SDL_WaitEventTimeout(nullptr, std::min(ms, 100)) == 1;
    } else {
        pollfd fds[4];
        for (int i = 0; i < n; ++i)
            fds[i] = pollfd{events[i], POLLIN, 0};
        nfds_t count = nfds_t(n);
        if (posix::terminationFd() >= 0) fds[count++] = pollfd{posix::terminationFd(), POLLIN, 0};
        woken = poll(fds, count, ms) > 0;
        if (woken && count > nfds_t(n) && (fds[n].revents & POLLIN))
            posix::drainTerminationWake(); // what the request left, or it wakes every wait
    }
    common().quiet = !woken;
    return woken;
}

bool maybeQueued() {
    return true;
}

int virtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + int(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + int(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + int(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + int(key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return 0x21;
    case SDLK_PAGEDOWN:
        return 0x22;
    case SDLK_END:
        return 0x23;
    case SDLK_HOME:
        return 0x24;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return 0x2D;
    case SDLK_DELETE:
        return 0x2E;
    case SDLK_KP_0:
        return 0x60;
    case SDLK_LSHIFT:
        return VK_LSHIFT;
    case SDLK_RSHIFT:
        return VK_RSHIFT;
    case SDLK_LCTRL:
        return VK_LCONTROL;
    case SDLK_RCTRL:
        return VK_RCONTROL;
    case SDLK_LALT:
        return VK_LMENU;
    case SDLK_RALT:
        return VK_RMENU;
    default:
        return 0;
    }
}

} // namespace tess::sdl
