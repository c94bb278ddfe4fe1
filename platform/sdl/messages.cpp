// The queue, and the translation of SDL events into messages and marks.

#include "platform/sdl/messages.h"

#include "platform/host.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/present.h"
#include "platform/sdl/signals.h"
#include "platform/sdl/window.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <poll.h>

namespace tess::sdl {
namespace {

using Clock = std::chrono::steady_clock;

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    Clock::time_point lastPump{};
    // The last sleep ended with nothing to read, and nothing was sent since that
    // could have brought anything in: reading the connection would find nothing.
    bool quiet = false;
};

// Reading the display connection for new events is a system call, and the
// main loop peeks tens of thousands of times a second: once a millisecond is
// soon enough for keys and window events.
constexpr std::chrono::microseconds kPumpEvery{1000};
// While quiet, SDL's own periodic work (in its pump) still runs this often.
constexpr std::chrono::milliseconds kQuietPumpEvery{100};

Queue& queue() {
    static Queue q;
    return q;
}

POINT cursorNow() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}

HWND windowOfEvent(Uint32 windowId) {
    Window* w = findWindow(SDL_GetWindowFromID(windowId));
    if (!w) w = firstWindow(); // a key sent before the window was known
    return w ? w->handle : nullptr;
}

void translateKey(const SDL_KeyboardEvent& e) {
    const int vk = virtualKeyOf(e.keysym.sym);
    if (!vk) return;
    const bool down = e.type == SDL_KEYDOWN;
    noteKey(vk, down);
    const KeyMessage k = keyMessage(vk, down, e.repeat != 0, (e.keysym.mod & KMOD_ALT) != 0);
    if (HWND w = windowOfEvent(e.windowID)) postMessage(w, k.message, k.key, k.param);
}

// Whatever needs the screen redrawn only marks it; the present comes when due.
void translateWindowEvent(const SDL_WindowEvent& e) {
    SDL_Window* sdl = SDL_GetWindowFromID(e.windowID);
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        if (Window* w = findWindow(sdl)) postMessage(w->handle, WM_CLOSE, 0, 0);
        return;
    case SDL_WINDOWEVENT_EXPOSED:
        markShownIn(sdl, true);
        return;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        followSize(sdl);
        return;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
        markShownIn(sdl, false);
        return;
    default:
        return;
    }
}

void translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(e.key);
        return;
    case SDL_WINDOWEVENT:
        translateWindowEvent(e.window);
        return;
    case SDL_SYSWMEVENT:
        // An adopted window that was destroyed takes its children with it, as a
        // parent does on Windows.
        if (const Adopted* a = findAdopted(backend().adoptedGone(e))) destroyWindowTree(a->handle);
        return;
    case SDL_MOUSEMOTION:
        if (const Window* w = findWindow(SDL_GetWindowFromID(e.motion.windowID))) {
            int x = 0, y = 0;
            cursorOnScreen(*w, e.motion.x, e.motion.y, x, y);
            setCursorPosition(x, y);
        }
        return;
    case SDL_QUIT:
        backend().quitReported();
        return;
    default:
        return;
    }
}

void readEvents() {
    SDL_Event e; // events pushed meanwhile are in SDL's queue already
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(e);
}

bool inRange(UINT message, UINT low, UINT high) {
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

// Whether PeekMessageA, unfiltered, would hand out a message now.
bool messageWaiting() {
    const Queue& q = queue();
    if (!q.posted.empty() || q.quit) return true;
    bool paint = false;
    forEachWindow([&paint](const Window& w) { paint = paint || (w.visible && w.needsPaint); });
    return paint;
}

// Seconds until the first window's changes are due on screen.
double nextPresentIn() {
    double soonest = 86400;
    forEachWindow([&soonest](const Window& w) { soonest = std::min(soonest, presentDueIn(w)); });
    return soonest;
}

// Sleeps at most `seconds`, waking early for the window system or a signal;
// true when something is there to read.
bool sleepFor(double seconds) {
    const int ms = std::max(1, int(std::ceil(seconds * 1000)));
    int events[3];
    const int n = SDL_WasInit(SDL_INIT_VIDEO) ? backend().eventFds(events, 3) : 0;
    if (n == 0 && SDL_WasInit(SDL_INIT_VIDEO)) {
        // Only SDL's own wait hears this driver: a signal is noticed at the
        // latest a tenth of a second after it came.
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, std::min(ms, 100)) != 1) return false;
        translate(e);
        return true;
    }
    pollfd fds[4];
    for (int i = 0; i < n; ++i)
        fds[i] = pollfd{events[i], POLLIN, 0};
    nfds_t count = nfds_t(n);
    if (terminationFd() >= 0) fds[count++] = pollfd{terminationFd(), POLLIN, 0};
    if (poll(fds, count, ms) <= 0) return false;
    if (count > nfds_t(n) && (fds[n].revents & POLLIN))
        drainTerminationWake(); // what the request left, or it wakes every wait
    return true;
}
} // namespace

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    queue().posted.push_back(MSG{window, message, wParam, lParam, GetTickCount(), cursorNow()});
}

void postQuit(int exitCode) {
    queue().quit = true;
    queue().quitCode = exitCode;
}

bool takeMessage(MSG& out, HWND window, UINT low, UINT high, bool remove) {
    Queue& q = queue();
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !inRange(it->message, low, high)) continue;
        out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (inRange(WM_PAINT, low, high)) {
        for (int i = 0, n = windowCount(); i < n; ++i) {
            Window* w = windowAt(i);
            if (!w->visible || !w->needsPaint || (window && w->handle != window)) continue;
            // WM_PAINT is never removed: it comes until the window is validated.
            out = MSG{w->handle, WM_PAINT, 0, 0, GetTickCount(), cursorNow()};
            return true;
        }
    }
    if (q.quit) { // whatever the filter, and only when nothing else waits
        out = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, GetTickCount(), cursorNow()};
        if (remove) q.quit = false;
        return true;
    }
    return false;
}

void pump(bool now) {
    Queue& q = queue();
    forEachWindow([&q](Window& w) {
        const long long before = w.presents;
        presentIfDue(w);
        if (w.presents != before) q.quiet = false; // a present waits for the server's reply
    });
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        const auto t = Clock::now();
        if (now || t - q.lastPump >= (q.quiet ? kQuietPumpEvery : kPumpEvery)) {
            q.lastPump = t;
            q.quiet = false;
            SDL_PumpEvents();
            if (monitorsChanged()) layoutWindows(); // the switched screen follows its monitor
        }
        readEvents();
    }
    if (takeTerminationRequest()) {
        // Ended from outside: close every window, as a session end would.
        if (windowCount() == 0) {
            postQuit(0);
        } else {
            forEachWindow([](Window& w) { postMessage(w.handle, WM_CLOSE, 0, 0); });
        }
    }
}

bool waitForMessage(DWORD milliseconds) {
    const Clock::time_point start = Clock::now();
    // The queue was just peeked: the connection is read again only when the
    // sleep ended for it (or a millisecond has passed), not on every turn.
    for (bool woken = false;;) {
        pump(woken); // presents what is due, and turns events and signals into messages
        if (messageWaiting()) return true;
        double left = 86400;
        if (milliseconds != INFINITE) {
            const double waited = std::chrono::duration<double>(Clock::now() - start).count();
            if (waited * 1000 >= milliseconds) return false;
            left = milliseconds / 1000.0 - waited;
        }
        // Awake again when a present falls due, so changes show as they do while peeking.
        woken = sleepFor(std::min(left, nextPresentIn()));
        queue().quiet = !woken;
    }
}

bool destroyWindowTree(HWND handle) {
    Window* w = findWindow(handle);
    if (w) {
        if (w->destroying) return true; // asked again from its own WM_DESTROY
        w->destroying = true;
        sendMessage(handle, WM_DESTROY, 0, 0);
    } else if (!findAdopted(handle)) {
        return false;
    }
    for (int i = windowCount() - 1; i >= 0; --i) {
        if (Window* c = windowAt(i); c && c->parent == handle) destroyWindowTree(c->handle);
    }
    removeWindow(handle);
    auto& q = queue().posted;
    q.erase(std::remove_if(q.begin(), q.end(), [handle](const MSG& m) { return m.hwnd == handle; }),
            q.end());
    return true;
}

void resetQueue() {
    queue() = Queue{};
}

} // namespace tess::sdl
