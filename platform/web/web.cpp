// The browser page's driver: one canvas is the one window the page can show,
// the page is the desktop (one monitor of its size), the canvas keeps the
// window's own size and the page's style fits it to the page when the display
// is switched, as a monitor switched to that mode fills its screen. The
// program runs undisturbed for a few milliseconds at a time; then it sleeps in
// the page until the display's next frame, when the page's key events come in
// and the window's changes go up: one present per display frame at most.

#include "platform/driver.h"
#include "platform/web/page.h"
#include "platform/web/present.h"

#include <chrono>
#include <cmath>
#include <memory>

namespace tess::web {
namespace {

using Clock = std::chrono::steady_clock;

// How long the main loop runs before PeekMessageA gives the browser its turn:
// well within a display frame (16.7 ms at 60 Hz), so the frame it then waits
// for is the next one and the page stays responsive.
constexpr std::chrono::milliseconds kRunFor{10};

struct Canvas {
    int width = 0, height = 0;
    bool shown = false;
};

struct State {
    std::unique_ptr<Canvas> canvas; // one canvas, one window
    std::vector<DriverEvent> pending;
    Clock::time_point lastSleep = Clock::now();
    std::vector<std::uint32_t> rows; // a present's pixels, kept once grown
};

std::unique_ptr<State>& slot() {
    static std::unique_ptr<State> s; // while the driver runs
    return s;
}

DriverWindow* handleOf(Canvas* c) {
    return reinterpret_cast<DriverWindow*>(c);
}

Canvas* canvasOf(DriverWindow* w) {
    Canvas* c = slot() ? slot()->canvas.get() : nullptr;
    return c && handleOf(c) == w ? c : nullptr;
}

void onKey(int virtualKey, bool down, bool repeat, bool alt) {
    if (!slot()) return;
    DriverEvent e;
    e.kind = DriverEvent::Key;
    e.window = handleOf(slot()->canvas.get());
    e.virtualKey = virtualKey;
    e.down = down;
    e.repeat = repeat;
    e.alt = alt;
    slot()->pending.push_back(e);
}

void onBlur() {
    if (!slot()) return;
    DriverEvent e;
    e.kind = DriverEvent::FocusLost;
    slot()->pending.push_back(e);
}

// Sleeps in the page: keys come in meanwhile, and a display frame is told as one.
Woke sleep(int milliseconds, bool untilFrame) {
    const Woke woke = sleepInPage(milliseconds, untilFrame);
    slot()->lastSleep = Clock::now();
    if (woke == Woke::Frame) {
        DriverEvent e;
        e.kind = DriverEvent::Frame;
        slot()->pending.push_back(e);
    }
    return woke;
}

int noSignal() {
    return 0;
}

// The page's own: it alone paces presents by the display's frames, and reads
// settings and tells the end.
struct Page {
    static bool start(std::string&) {
        slot() = std::make_unique<State>();
        listenToPage(onKey, onBlur); // keys come in only while the program sleeps
        return true;
    }

    static void stop() { slot().reset(); }

    static std::vector<Monitor> monitors() {
        Monitor m;
        m.name = "page";
        pageSize(m.area.w, m.area.h);
        return {m};
    }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string& why) {
        State& s = *slot();
        if (s.canvas) {
            why = "the page has one canvas, and it shows a window already";
            return nullptr;
        }
        s.canvas = std::make_unique<Canvas>();
        s.canvas->width = asked.clientW;
        s.canvas->height = asked.clientH;
        setCanvas(asked.clientW, asked.clientH, false);
        fitCanvas(asked.fullScreen);
        return handleOf(s.canvas.get());
    }

    static void destroyWindow(DriverWindow* window) {
        if (!canvasOf(window)) return;
        setCanvas(0, 0, false);
        slot()->canvas.reset();
    }

    static void showWindow(DriverWindow* window, bool shown, bool) {
        if (Canvas* c = canvasOf(window)) {
            c->shown = shown;
            setCanvas(c->width, c->height, shown);
        }
    }

    static void placeWindow(DriverWindow* window, const Area&, bool fullScreen) {
        if (canvasOf(window)) fitCanvas(fullScreen);
    }

    static Area windowArea(DriverWindow* window) {
        const Canvas* c = canvasOf(window);
        return c ? Area{0, 0, c->width, c->height} : Area{};
    }

    static bool seen(DriverWindow* window) {
        const Canvas* c = canvasOf(window);
        return c && c->shown;
    }

    static void drawableSize(DriverWindow* window, int& width, int& height) {
        const Canvas* c = canvasOf(window);
        width = c ? c->width : 0;
        height = c ? c->height : 0;
    }

    // The canvas is the window's surface, pixel for pixel.
    static void present(DriverWindow* window, const Surface& surface, const Placement&,
                        const PixelRect* rects, int count) {
        if (canvasOf(window) && putRects(surface, rects, count, slot()->rows)) presented();
    }

    static DriverWindow* adopt(unsigned long) {
        return nullptr; // no other program's window is in the page
    }

    static void release(DriverWindow*) {
        // nothing was adopted
    }

    // Nothing happens in the page while the program runs: keys, timers and
    // drawing all wait for it to sleep.
    static void pump(bool, std::vector<DriverEvent>& out) {
        State& s = *slot();
        if (Clock::now() - s.lastSleep >= kRunFor) sleep(-1, true);
        out.insert(out.end(), s.pending.begin(), s.pending.end());
        s.pending.clear();
    }

    static bool wait(double seconds, bool untilFrame) {
        if (!slot()->pending.empty()) return true;
        const int ms = seconds >= 86400 ? -1 : int(std::ceil(seconds * 1000)); // a day: until a key
        return sleep(ms, untilFrame) != Woke::Timeout;
    }

    static void showCursor(bool shown) { showPageCursor(shown); }

    static bool cursorIn(DriverWindow*, int&, int&) {
        return false; // the page tells no pointer without an event
    }

    static bool messageBox(DriverWindow*, const char*, const char*) { return false; }

    static std::string setting(const char* name) { return queryValue(name); }

    static constexpr bool kPacedByFrames = true;
    static constexpr auto terminationSignal = web::noSignal;
    static constexpr auto ended = web::showExit;
};

} // namespace
} // namespace tess::web

namespace tess {

const Driver* const* hostDrivers() {
    return onlyDriver<web::Page>("web");
}

} // namespace tess
