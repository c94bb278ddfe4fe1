// The contract between the host (platform/host/: the Win32 rules, written once)
// and one window system, as a video driver fills a device table: a table of
// functions, one file per window system filling it in, chosen once when the
// host starts. The host never names a driver; a driver never calls the host:
// what it learns it returns, as values or as events from pump().
#pragma once

#include "platform/scale.h"
#include "platform/surface.h"

#include <string>
#include <vector>

namespace tess {

// A driver's own record of one window (its own, or another program's it
// adopted); opaque to the host.
struct DriverWindow;

// A rectangle of the desktop, in the window system's global coordinates.
struct Area {
    int x = 0, y = 0, w = 0, h = 0;
};

// One monitor as the window system has it.
struct Monitor {
    std::string name;
    Area area;
    int bitsPerPixel = 32; // as stored: 24 and 30 bits of depth take 32
    int frequency = 60;    // Hz
};

// Same names, places, depths and rates, in the same order.
bool sameMonitors(const std::vector<Monitor>& a, const std::vector<Monitor>& b);

// A window to make, hidden until shown.
struct WindowSpec {
    const char* title = "";
    Area frame;      // where, on the desktop
    int clientW = 0; // the backing store it shows, for a driver that scales
    int clientH = 0; // the switched screen itself (the page)
    bool borderless = false;
    bool resizable = false;  // its user may size it
    bool fullScreen = false; // over one monitor, above everything
};

// What a driver has seen happen; pump() hands them out in order.
struct DriverEvent {
    enum Kind {
        Key,             // virtualKey down or up; alt: with Alt held
        Close,           // the user asked the window to close
        Exposed,         // its pixels were lost: draw it all again
        Resized,         // windowArea() has a new size
        Moved,           // windowArea() has a new place
        Shown,           // shown or restored: draw it all again
        Pointer,         // the pointer at (x, y) of the window's drawable
        Button,          // a mouse button (x: 1 left, 2 middle, 3 right) went down
        FocusLost,       // keys went elsewhere, and their releases with them
        AdoptedGone,     // an adopted window was destroyed by its owner
        MonitorsChanged, // monitors() has changed
        Terminate,       // a termination signal arrived
        Frame,           // the display's frame (drivers paced by frames)
    };
    Kind kind = Key;
    DriverWindow* window = nullptr;
    int virtualKey = 0;
    bool down = false, repeat = false, alt = false;
    int x = 0, y = 0;
};

struct Driver {
    const char* name;
    // Serves the desktop's own layers (above everything, below every window)
    // instead of ordinary windows: chosen only when a program asks for those.
    bool layers;
    // Connects to the window system; false, with why (naming the display or
    // the socket it could not reach), when it cannot work here.
    bool (*start)(std::string& why);
    // Disconnects after every window is gone, leaving nothing behind.
    void (*stop)();
    // The monitors, the primary one first; never empty once started.
    std::vector<Monitor> (*monitors)();

    // A window that can be drawn into, hidden; null with why when none can be made.
    DriverWindow* (*createWindow)(const WindowSpec& asked, std::string& why);
    void (*destroyWindow)(DriverWindow* window);
    // Shown (and with `raise`, given the keyboard), or hidden.
    void (*showWindow)(DriverWindow* window, bool shown, bool raise);
    // Full screen over `area` (one monitor), or an ordinary window at `area`.
    void (*placeWindow)(DriverWindow* window, const Area& area, bool fullScreen);
    // Where the window is on the desktop and its size, as the window system has it now.
    Area (*windowArea)(DriverWindow* window);
    // False while nobody can see it (minimized, hidden).
    bool (*seen)(DriverWindow* window);
    // The pixels present() draws into; 0 x 0 when there are none.
    void (*drawableSize)(DriverWindow* window, int& width, int& height);
    // Shows the target rectangles `rects` (of drawableSize) of the surface, placed so.
    void (*present)(DriverWindow* window, const Surface& surface, const Placement& placement,
                    const PixelRect* rects, int count);

    // Another program's window, by the window system's id (0: the root
    // window), or null where there is no such thing; the same record when
    // adopted already. Adopted windows are never moved, mapped or destroyed.
    DriverWindow* (*adopt)(unsigned long id);
    void (*release)(DriverWindow* adopted);

    // Appends what happened since the last call. Reading the window system is
    // a system call: a driver may skip it when it read a moment ago, unless `now`.
    void (*pump)(bool now, std::vector<DriverEvent>& out);
    // Sleeps at most `seconds` (and with `untilFrame` no longer than the
    // display's next frame), waking for the window system or a signal; true
    // when it woke for something to read.
    bool (*wait)(double seconds, bool untilFrame);
    // Presents go out on the display's frames (Frame events), not by the clock.
    bool pacedByFrames;

    void (*showCursor)(bool shown);
    // Where the pointer is, in pixels of the window's drawable; false when unknown.
    bool (*cursorIn)(DriverWindow* window, int& x, int& y);
    // A message the user must see; false when it could not be shown.
    bool (*messageBox)(DriverWindow* owner, const char* caption, const char* text);
    // The termination signal that arrived last (SIGINT, SIGTERM), or 0.
    int (*terminationSignal)();
    // What the surroundings set for the program by name (the page's query),
    // empty when nothing; usable before start. Null where there are none.
    std::string (*setting)(const char* name);
    // Told the program's exit code (the page shows it); null where nobody listens.
    void (*ended)(int exitCode);
};

// A driver's table from a struct of its functions, each named as the entry it
// fills (a driver built on another's functions inherits them and names only
// its own), and kPacedByFrames.
template <class D> constexpr Driver driverTable(const char* name) {
    Driver t{};
    t.name = name;
    t.start = D::start;
    t.stop = D::stop;
    t.monitors = D::monitors;
    t.createWindow = D::createWindow;
    t.destroyWindow = D::destroyWindow;
    t.showWindow = D::showWindow;
    t.placeWindow = D::placeWindow;
    t.windowArea = D::windowArea;
    t.seen = D::seen;
    t.drawableSize = D::drawableSize;
    t.present = D::present;
    t.adopt = D::adopt;
    t.release = D::release;
    t.pump = D::pump;
    t.wait = D::wait;
    t.pacedByFrames = D::kPacedByFrames;
    t.showCursor = D::showCursor;
    t.cursorIn = D::cursorIn;
    t.messageBox = D::messageBox;
    t.terminationSignal = D::terminationSignal;
    t.setting = D::setting;
    t.ended = D::ended;
    return t;
}

// The drivers linked into this program, in the order they are tried, ending
// with null. Each driver library defines it; a program links one.
const Driver* const* hostDrivers();

// The list of a library with one driver.
template <class D> const Driver* const* onlyDriver(const char* name) {
    static const Driver d = driverTable<D>(name);
    static const Driver* const list[] = {&d, nullptr};
    return list;
}

} // namespace tess
