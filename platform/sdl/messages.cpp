// The message queue. PeekMessageA first shows what windows drew (when a present
// is due), then pumps SDL and the termination signals into posted messages, then
// hands out one message: posted ones in order, else WM_PAINT for a window that
// needs it, else WM_QUIT.

#include "platform/sdl/messages.h"

#include "platform/host.h"
#include "platform/sdl/foreign.h"
#include "platform/sdl/input.h"
#include "platform/sdl/present.h"
#include "platform/sdl/window.h"
#include "platform/sdl/x11.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <deque>

namespace tess::sdl {
namespace {

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    bool signalsCaught = false;
    std::chrono::steady_clock::time_point lastPump{};
};

// Reading the display connection for new events is a system call, and the
// main loop peeks tens of thousands of times a second: once a millisecond is
// soon enough for keys and window events.
constexpr std::chrono::microseconds kPumpEvery{1000};

Queue& queue() {
    static Queue q;
    return q;
}

volatile std::sig_atomic_t terminationAsked = 0;
volatile std::sig_atomic_t terminatedBy = 0;

extern "C" void onTermination(int signal) {
    terminationAsked = 1;
    terminatedBy = signal;
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

// Windows names the shared key in key messages; the state keeps both sides.
WPARAM messageKey(int vk) {
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) return VK_SHIFT;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) return VK_CONTROL;
    if (vk == VK_LMENU || vk == VK_RMENU) return VK_MENU;
    return WPARAM(vk);
}

void translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const int vk = virtualKeyOf(e.key.keysym.sym);
        if (!vk) return;
        const bool down = e.type == SDL_KEYDOWN;
        noteKey(vk, down);
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0 || messageKey(vk) == VK_MENU;
        // Keys with Alt are system keys: that is how Alt+F4 reaches DefWindowProcA.
        const UINT message =
            alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        if (HWND w = windowOfEvent(e.key.windowID)) {
            postMessage(w, message, messageKey(vk), keyMessageParam(down, e.key.repeat != 0, alt));
        }
        return;
    }
    case SDL_WINDOWEVENT: {
        SDL_Window* sdl = SDL_GetWindowFromID(e.window.windowID);
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (Window* w = findWindow(sdl); w && !w->foreign)
                postMessage(w->handle, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            forEachShowing(sdl, [](Window& w) {
                w.needsPaint = true;
                w.needsFull = true;
                presentWindow(w); // the backing store has every pixel: show them at once
            });
            break;
        case SDL_WINDOWEVENT_SHOWN:
            forEachShowing(sdl, [](Window& w) { w.needsFull = true; });
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            followSize(sdl);
            [[fallthrough]];
        case SDL_WINDOWEVENT_RESTORED:
            forEachShowing(sdl, [](Window& w) {
                w.needsFull = true;
                presentWindow(w); // refitted and redrawn whole at once
            });
            break;
        default:
            break;
        }
        return;
    }
    case SDL_SYSWMEVENT:
        foreignWindowEvent(e);
        return;
    case SDL_MOUSEMOTION: {
        Window* w = findWindow(SDL_GetWindowFromID(e.motion.windowID));
        int x = 0, y = 0;
        if (w && w->sdl) SDL_GetWindowPosition(w->sdl, &x, &y);
        noteCursor(x + e.motion.x, y + e.motion.y);
        return;
    }
    default:
        return;
    }
}

void pump() {
    forEachWindow([](Window& w) { presentIfDue(w); });
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        Queue& q = queue();
        const auto now = std::chrono::steady_clock::now();
        if (now - q.lastPump >= kPumpEvery) {
            q.lastPump = now;
            SDL_PumpEvents();
            if (x11::desktopChanged()) layoutWindows(); // the switched screen follows
        }
        SDL_Event e; // events pushed meanwhile are in SDL's queue already
        while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
            translate(e);
    }
    if (terminationAsked) {
        terminationAsked = 0;
        // Ended from outside: close every window, as a session end would.
        if (windowCount() == 0) {
            PostQuitMessage(0);
        } else {
            forEachWindow([](Window& w) { postMessage(w.handle, WM_CLOSE, 0, 0); });
        }
    }
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
    forEachWindow([&soonest](const Window& w) {
        const double t = presentDueIn(w);
        if (t < soonest) soonest = t;
    });
    return soonest;
}

} // namespace

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    queue().posted.push_back(MSG{window, message, wParam, lParam, GetTickCount(), cursorNow()});
}

void dropMessagesFor(HWND window) {
    auto& q = queue().posted;
    for (auto it = q.begin(); it != q.end();)
        it = (it->hwnd == window) ? q.erase(it) : it + 1;
}

void catchTerminationSignals() {
    Queue& q = queue();
    if (q.signalsCaught) return;
    q.signalsCaught = true;
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int terminationSignal() {
    return terminatedBy;
}

void resetQueue() {
    const bool caught = queue().signalsCaught;
    queue() = Queue{};
    queue().signalsCaught = caught;
    terminationAsked = 0;
    terminatedBy = 0;
}

} // namespace tess::sdl

using namespace tess::sdl;

BOOL PeekMessageA(LPMSG message, HWND window, UINT low, UINT high, UINT remove) {
    if (!message) return FALSE;
    pump();
    Queue& q = queue();
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !inRange(it->message, low, high)) continue;
        *message = *it;
        if (remove & PM_REMOVE) q.posted.erase(it);
        return TRUE;
    }
    if (inRange(WM_PAINT, low, high)) {
        for (int i = 0, n = windowCount(); i < n; ++i) {
            Window* w = windowAt(i);
            if (!w->visible || !w->needsPaint || (window && w->handle != window)) continue;
            // WM_PAINT is never removed: it comes until the window is validated.
            *message = MSG{w->handle, WM_PAINT, 0, 0, GetTickCount(), cursorNow()};
            return TRUE;
        }
    }
    if (q.quit) { // whatever the filter, and only when nothing else waits
        *message = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, GetTickCount(), cursorNow()};
        if (remove & PM_REMOVE) q.quit = false;
        return TRUE;
    }
    return FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL, DWORD milliseconds,
                                DWORD) {
    if (count || handles) return WAIT_FAILED; // the host has no waitable objects
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (;;) {
        pump(); // presents what is due, and turns events and signals into messages
        if (messageWaiting()) return WAIT_OBJECT_0;
        double left = 0.1; // a signal is noticed at the latest this long after it came
        if (milliseconds != INFINITE) {
            const double waited = std::chrono::duration<double>(Clock::now() - start).count();
            if (waited * 1000 >= milliseconds) return WAIT_TIMEOUT;
            left = std::min(left, milliseconds / 1000.0 - waited);
        }
        // Awake again when a present falls due, so changes show as they do while peeking.
        left = std::min(left, nextPresentIn());
        const int ms = int(std::ceil(left * 1000));
        SDL_Event e;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            SDL_Delay(Uint32(ms));
        } else if (SDL_WaitEventTimeout(&e, ms > 0 ? ms : 1) == 1) {
            translate(e);
        }
    }
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !findWindow(window)) return FALSE;
    postMessage(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    queue().quit = true;
    queue().quitCode = exitCode;
}

// No character messages: nothing in the program reads them.
BOOL TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    const UINT m = message->message;
    return (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP) ? TRUE
                                                                                        : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (!message || !message->hwnd) return 0;
    return sendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (LPARAM(1) << 29))) sendMessage(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}
