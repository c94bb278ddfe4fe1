// The thread's message queue in the browser: posted messages in order, WM_PAINT
// when nothing is posted, WM_QUIT only when nothing else waits. The program runs
// undisturbed for a few milliseconds at a time; then PeekMessageA sleeps until
// the display's next frame, when the page's key events come in and the window's
// changes go up, so there is one present per display frame at most.

#include "platform/host.h"
#include "platform/web/page.h"
#include "platform/web/window.h"

#include <chrono>
#include <vector>

namespace tess::web {
namespace {

using Clock = std::chrono::steady_clock;

// How long the main loop runs before PeekMessageA gives the browser its turn:
// well within a display frame (16.7 ms at 60 Hz), so the frame it then waits
// for is the next one and the page stays responsive.
constexpr std::chrono::milliseconds kRunFor{10};

struct Queue {
    std::vector<MSG> posted; // a few at a time: a vector is smaller code than a deque
    bool quit = false;
    int quitCode = 0;
    Clock::time_point lastSleep = Clock::now();
};

Queue& queue() {
    static Queue q;
    return q;
}

MSG messageOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    return MSG{window, message, wParam, lParam, GetTickCount(), cursor};
}

void keyChanged(int virtualKey, bool down, bool repeat, bool alt);

// Sleeps in the page; woken by the display's frame, shows the window's changes.
void sleep(int milliseconds, bool untilFrame) {
    listenToPage(keyChanged); // keys come in only while the program sleeps
    const Woke woke = sleepInPage(milliseconds, untilFrame);
    queue().lastSleep = Clock::now();
    if (woke == Woke::Frame) presentWindow();
}

// Whether PeekMessageA, unfiltered, would hand out a message now.
bool messageWaiting() {
    const Queue& q = queue();
    const Window* w = theWindow();
    return !q.posted.empty() || q.quit || (w && w->visible && w->needsPaint);
}

bool inRange(UINT message, UINT low, UINT high) {
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    queue().posted.push_back(messageOf(window, message, wParam, lParam));
}

// A key went down or up in the page: the state GetKeyState reads, and the key
// message for the window.
void keyChanged(int virtualKey, bool down, bool repeat, bool alt) {
    noteKey(virtualKey, down);
    const KeyMessage k = keyMessage(virtualKey, down, repeat, alt);
    if (const Window* w = theWindow()) postMessage(w->handle, k.message, k.key, k.param);
}

} // namespace

} // namespace tess::web

using namespace tess::web;

BOOL PeekMessageA(LPMSG message, HWND window, UINT low, UINT high, UINT remove) {
    if (!message) return FALSE;
    Queue& q = queue();
    // Nothing happens in the page while the program runs: keys, timers and
    // drawing all wait for it to sleep.
    if (Clock::now() - q.lastSleep >= kRunFor) sleep(-1, true);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if ((window && it->hwnd != window) || !inRange(it->message, low, high)) continue;
        *message = *it;
        if (remove & PM_REMOVE) q.posted.erase(it);
        return TRUE;
    }
    const Window* w = theWindow();
    if (w && w->visible && w->needsPaint && (!window || window == w->handle) &&
        inRange(WM_PAINT, low, high)) {
        // WM_PAINT is never removed: it comes until the window is validated.
        *message = messageOf(w->handle, WM_PAINT, 0, 0);
        return TRUE;
    }
    if (q.quit) { // whatever the filter, and only when nothing else waits
        *message = messageOf(nullptr, WM_QUIT, WPARAM(q.quitCode), 0);
        if (remove & PM_REMOVE) q.quit = false;
        return TRUE;
    }
    return FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL, DWORD milliseconds,
                                DWORD) {
    if (count || handles) return WAIT_FAILED; // the host has no waitable objects
    const Clock::time_point start = Clock::now();
    for (;;) {
        if (messageWaiting()) return WAIT_OBJECT_0;
        int left = -1; // INFINITE: until a key comes
        if (milliseconds != INFINITE) {
            const auto waited =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            if (waited.count() >= milliseconds) return WAIT_TIMEOUT;
            left = int(milliseconds - waited.count());
        }
        // Awake for the display's frame too while there are changes to show.
        sleep(left, windowChanged());
    }
}

void PostQuitMessage(int exitCode) {
    queue().quit = true;
    queue().quitCode = exitCode;
}
