// The queue, and the translation of the driver's events into messages and marks.

#include "platform/host/queue.h"

#include "platform/host/display.h"
#include "platform/host/input.h"
#include "platform/host/present.h"
#include "platform/host/windows.h"

#include <algorithm>

namespace tess::host {
namespace {

bool inRange(UINT message, UINT low, UINT high) {
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

MSG messageOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, GetTickCount(), host().input.cursor};
}

// Where input for a driver window goes: its window, or the first one (a key
// sent before the window was known).
HWND inputWindow(const DriverWindow* shown) {
    Window* w = findWindow(shown);
    if (!w) w = firstWindow();
    return w ? w->handle : nullptr;
}

LPARAM pointerParam(const POINT& p) {
    return MAKELPARAM(WORD(p.x), WORD(p.y));
}

// The pointer at (x, y) of a driver window, on the screen the program sees.
bool notePointer(const DriverEvent& e) {
    const Window* w = findWindow(e.window);
    if (!w) return false;
    int x = 0, y = 0;
    cursorOnScreen(*w, e.x, e.y, x, y);
    setCursorPosition(x, y);
    return true;
}

void translate(const DriverEvent& e) {
    switch (e.kind) {
    case DriverEvent::Key: {
        noteKey(e.virtualKey, e.down);
        const KeyMessage k = keyMessage(e.virtualKey, e.down, e.repeat, e.alt);
        if (HWND w = inputWindow(e.window)) postMessage(w, k.message, k.key, k.param);
        return;
    }
    case DriverEvent::Close:
        if (Window* w = findWindow(e.window)) postMessage(w->handle, WM_CLOSE, 0, 0);
        return;
    case DriverEvent::Exposed:
        markShownIn(e.window, true);
        return;
    case DriverEvent::Resized:
        followSize(e.window);
        return;
    case DriverEvent::Moved:
        followMove(e.window);
        return;
    case DriverEvent::Shown:
        markShownIn(e.window, false);
        return;
    case DriverEvent::Pointer:
        if (notePointer(e)) {
            const Window* w = findWindow(e.window);
            postMessage(w->handle, WM_MOUSEMOVE, 0, pointerParam(host().input.cursor));
        }
        return;
    case DriverEvent::Button: {
        static constexpr UINT kButtons[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
        if (e.x >= 1 && e.x <= 3)
            if (HWND w = inputWindow(e.window))
                postMessage(w, kButtons[e.x - 1], 0, pointerParam(host().input.cursor));
        return;
    }
    case DriverEvent::FocusLost:
        releaseKeys();
        return;
    case DriverEvent::AdoptedGone:
        // An adopted window that was destroyed takes its children with it, as a
        // parent does on Windows.
        if (const Adopted* a = findAdopted(e.window)) destroyWindowTree(a->handle);
        return;
    case DriverEvent::MonitorsChanged: {
        const std::vector<Monitor> before = host().display.monitors;
        readMonitors();
        layoutWindows(); // the switched screen follows its monitor
        if (sameMonitors(before, host().display.monitors)) return;
        // Every top-level window hears of it, as on Windows, with the mode now.
        const ScreenMode m = currentMode();
        forEachWindow([&m](Window& w) {
            if (!w.parent)
                postMessage(w.handle, WM_DISPLAYCHANGE, WPARAM(m.bitsPerPixel),
                            MAKELPARAM(m.width, m.height));
        });
        return;
    }
    case DriverEvent::Terminate:
        // Ended from outside: close every window, as a session end would.
        if (host().registry.windows.empty()) {
            postQuit(0);
        } else {
            forEachWindow([](Window& w) { postMessage(w.handle, WM_CLOSE, 0, 0); });
        }
        return;
    case DriverEvent::Frame:
        forEachWindow([](Window& w) {
            if (hasChangesToShow(w)) presentNow(w);
        });
        return;
    }
}

// Whether PeekMessageA, unfiltered, would hand out a message now.
bool messageWaiting() {
    const Queue& q = host().queue;
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

bool changesToShow() {
    bool any = false;
    forEachWindow([&any](const Window& w) { any = any || hasChangesToShow(w); });
    return any;
}

} // namespace

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    host().queue.posted.push_back(messageOf(window, message, wParam, lParam));
}

void postQuit(int exitCode) {
    host().queue.quit = true;
    host().queue.quitCode = exitCode;
}

bool takeMessage(MSG& out, HWND window, UINT low, UINT high, bool remove) {
    Queue& q = host().queue;
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !inRange(it->message, low, high)) continue;
        out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (inRange(WM_PAINT, low, high)) {
        for (auto& w : host().registry.windows) {
            if (!w->visible || !w->needsPaint || (window && w->handle != window)) continue;
            // WM_PAINT is never removed: it comes until the window is validated.
            out = messageOf(w->handle, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (q.quit) { // whatever the filter, and only when nothing else waits
        out = messageOf(nullptr, WM_QUIT, WPARAM(q.quitCode), 0);
        if (remove) q.quit = false;
        return true;
    }
    return false;
}

void pump(bool now) {
    Host& h = host();
    if (h.state != Host::State::Ready) return;
    if (!h.driver->pacedByFrames) forEachWindow([](Window& w) { presentIfDue(w); });
    h.events.clear();
    h.driver->pump(now, h.events);
    // Translating may destroy windows, but never pumps again: the list stays put.
    for (std::size_t i = 0; i < h.events.size(); ++i)
        translate(h.events[i]);
}

bool waitForMessage(DWORD milliseconds) {
    const double start = now();
    // The queue was just peeked: the driver reads the window system again only
    // when the sleep ended for it, not on every turn.
    for (bool woken = false;;) {
        pump(woken); // presents what is due, and turns events into messages
        if (messageWaiting()) return true;
        double left = 86400;
        if (milliseconds != INFINITE) {
            const double waited = now() - start;
            if (waited * 1000 >= milliseconds) return false;
            left = milliseconds / 1000.0 - waited;
        }
        if (host().state != Host::State::Ready) return false;
        const Driver& d = driver();
        // Awake again when a present falls due, so changes show as they do
        // while peeking; or, paced by frames, at the next frame while changes wait.
        woken = d.pacedByFrames ? d.wait(left, changesToShow())
                                : d.wait(std::min(left, nextPresentIn()), false);
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
    auto& ws = host().registry.windows;
    for (std::size_t i = ws.size(); i-- > 0;) {
        if (i < ws.size() && ws[i]->parent == handle) destroyWindowTree(ws[i]->handle);
    }
    removeWindow(handle);
    auto& q = host().queue.posted;
    q.erase(std::remove_if(q.begin(), q.end(), [handle](const MSG& m) { return m.hwnd == handle; }),
            q.end());
    return true;
}

} // namespace tess::host
