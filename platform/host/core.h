// The host: everything Windows defines for windows, written once over any
// driver (platform/driver.h). One Host object holds all of it: made at the
// first call that needs it, gone at shutdownHost, so nothing outlives it. The
// driver is started at the first call that needs a display, and a failure is
// remembered until shutdown.
#pragma once

#include "platform/driver.h"
#include "platform/surface.h"
#include "platform/win32.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tess::host {

// Largest side of a mode or window the host can back.
constexpr int kMaxSide = 16384;

// One of the program's windows: its class's procedure, its place on the screen
// the program sees, a backing surface the device context draws into, and the
// driver window that shows it: its own, or (a child) its adopted parent's.
struct Window {
    HWND handle = nullptr;
    WNDPROC proc = nullptr;
    std::string className; // as registered (names compare without case)
    std::string title;
    int x = 0, y = 0; // on the screen the program sees
    Surface surface;  // the client area; it keeps its pixels like a backing store
    DriverWindow* shownIn = nullptr;
    HWND parent = nullptr; // the adopted window a child fills
    LONG_PTR userData = 0; // GWLP_USERDATA
    bool visible = false;
    bool needsPaint = false; // WM_PAINT is due
    bool destroying = false;
    bool covering = false;  // shows the switched screen, full screen on the home monitor
    bool resizable = false; // its user may size it (WS_THICKFRAME); the client area follows
    // What the next present must show besides the surface's changes: all of
    // it. Whatever needs the screen redrawn only marks this.
    bool needsFull = true;
    int shownW = 0, shownH = 0; // size of the drawable last drawn
    // Presents follow the refresh of the monitor under the window: at most one
    // per interval (seconds).
    double interval = 1.0 / 60;
    double lastPresent = -1e300;
    long long presents = 0; // presents so far
};

// Another program's window, adopted as a parent: a driver window and nothing to draw.
struct Adopted {
    HWND handle = nullptr;
    DriverWindow* shown = nullptr;
};

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
};

struct Registry {
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<Window>> windows; // in creation order
    std::vector<Adopted> adopted;
    std::uintptr_t nextHandle = 1;
    WORD nextAtom = 0xC000; // where Windows starts the atoms of registered classes
};

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
};

struct ScreenMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int frequency = 60;
};

struct Display {
    std::vector<Monitor> monitors; // the home monitor first
    std::string home;              // its name: a monitor added or removed moves no other
    bool switched = false;
    ScreenMode mode;
};

struct Input {
    unsigned char down[256] = {};
    unsigned char toggled[256] = {};
    POINT cursor{0, 0};
    int cursorCount = 0; // ShowCursor's display counter: shown while >= 0
};

struct Host {
    enum class State { Untried, Ready, Failed };
    State state = State::Untried;
    bool wantLayers = false;        // only a driver of the desktop's layers will do
    const Driver* driver = nullptr; // the one that started
    std::string failure;            // why none did
    Registry registry;
    Queue queue;
    Display display;
    Input input;
    double (*clock)() = nullptr;     // what presents are paced by (seconds)
    std::vector<DriverEvent> events; // scratch for each pump
};

// The host, made on first use.
Host& host();
// True once a driver runs; the first call tries them in order.
bool ready();
// The driver that runs; only valid while ready().
inline const Driver& driver() {
    return *host().driver;
}
// Seconds on the clock presents are paced by; tests put one of their own in
// its place (null restores the steady clock).
double now();
void setPresentClock(double (*clock)());

} // namespace tess::host
