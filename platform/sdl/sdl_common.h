// What the drivers over SDL2 share: SDL's video up and down on one named SDL
// driver, SDL windows with a surface to draw into, the present onto that
// surface, SDL's events as driver events, and the wait. Each window system's
// driver file (x11.cpp, wayland.cpp, portable.cpp) fills the host's table
// (platform/driver.h) from these and its own few functions; the hooks below
// are how a driver adds what only its window system knows.
#pragma once

#include "platform/driver.h"

#include <SDL_keycode.h>

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace tess::sdl {

// The driver window of an SDL window and back: the same pointer.
inline DriverWindow* driverWindow(SDL_Window* w) {
    return reinterpret_cast<DriverWindow*>(w);
}
inline SDL_Window* sdlWindow(DriverWindow* w) {
    return reinterpret_cast<SDL_Window*>(w);
}

// ---- Video ----------------------------------------------------------------------------------
// The SDL driver SDL_VIDEODRIVER names, or null when none is named.
const char* requestedDriver();
// SDL video on the SDL driver `name`, after signals are caught (a signal while
// the display connects must close the window, not kill the process); false
// with "name: why" added to `why` when SDL cannot start there, or when it is an
// invisible one (offscreen, dummy) that was not asked for by name.
bool startVideo(const char* name, std::string& why);
// Routes window surfaces through SDL's renderer, for drivers without a
// framebuffer SDL can fill: before the first window.
void useRenderer();
void stopVideo();
// Whether the SDL driver in use may serve, given the one named in
// SDL_VIDEODRIVER (null or empty: none): the invisible ones only by name.
bool driverAccepted(const char* driverInUse, const char* driverRequested);
// Drivers that open no window anyone can see.
bool invisible(const char* driver);

// ---- Monitors -------------------------------------------------------------------------------
// SDL's displays, the first first.
std::vector<Monitor> displays();
// SDL's displays differ from `seen`, which then takes them.
bool displaysChanged(std::vector<Monitor>& seen);

// ---- Windows --------------------------------------------------------------------------------
// SDL_CreateWindow's flags for a window of this kind, hidden.
std::uint32_t windowFlags(const WindowSpec& asked);
SDL_Window* plainWindow(const char* title, const Area& frame, std::uint32_t flags);
// A window `made` (null: not made) kept only when SDL can give it a surface to
// draw into, else destroyed with `destroy` and null, with why.
DriverWindow* drawable(SDL_Window* made, std::string& why, void (*destroy)(DriverWindow*));
void destroyWindow(DriverWindow* window);
void showWindow(DriverWindow* window, bool shown, bool raise);
// Full screen (and above other windows) over `area`, or an ordinary window at `area`.
void placeWindow(DriverWindow* window, const Area& area, bool fullScreen);
Area windowArea(DriverWindow* window);
bool seen(DriverWindow* window);
void drawableSize(DriverWindow* window, int& width, int& height);
void present(DriverWindow* window, const Surface& surface, const Placement& placement,
             const PixelRect* rects, int count);
void showCursor(bool shown);
bool cursorIn(DriverWindow* window, int& x, int& y);
bool messageBox(DriverWindow* owner, const char* caption, const char* text);
// Nothing to adopt: a window system without other programs' windows.
DriverWindow* adoptNothing(unsigned long id);
void releaseNothing(DriverWindow* adopted);

// ---- Events ---------------------------------------------------------------------------------
// What a window system adds to SDL's events.
struct Hooks {
    // Reads the window system; true when the monitors changed since the last call.
    bool (*monitorsChanged)();
    // A raw window-system event: the adopted window it says is gone, or null.
    DriverWindow* (*adoptedGone)(const SDL_Event& event);
    // SDL reported SDL_QUIT: when that means the connection is gone, ends the
    // program with one line, else returns.
    void (*quitReported)();
    // Descriptors that become readable when events arrive, for the wait; none
    // (0) where events only come through SDL's own wait.
    int (*eventFds)(int* fds, int most);
    // Whether events wait already read from the connection (a present's reply
    // brings those along), where no descriptor would tell; true where unknown.
    bool (*eventsQueued)();
};
// Unknown: a present may have brought events.
bool maybeQueued();
void pump(bool now, std::vector<DriverEvent>& out, const Hooks& hooks);
bool wait(double seconds, const Hooks& hooks);
template <const Hooks& H> void pumpWith(bool now, std::vector<DriverEvent>& out) {
    pump(now, out, H);
}
template <const Hooks& H> bool waitWith(double seconds, bool) {
    return wait(seconds, H);
}
// No adopted window ever goes: a window system that adopts none.
DriverWindow* noneGone(const SDL_Event& event);
// One SDL event as driver events, appended.
void translate(const SDL_Event& event, std::vector<DriverEvent>& out, const Hooks& hooks);
// The virtual-key code of an SDL key, or 0 for a key the program cannot name.
int virtualKeyOf(SDL_Keycode key);
int terminationSignal();

// What these files do for every SDL driver, as the entries of a driver's table
// (driverTable): a driver's struct derives from it with its hooks, and names
// its own start, stop and createWindow, and what its window system does
// otherwise.
template <const Hooks& H> struct SdlDriver {
    static constexpr auto pump = pumpWith<H>;
    static constexpr auto wait = waitWith<H>;
    static constexpr std::vector<Monitor> (*monitors)() = displays;
    static constexpr void (*destroyWindow)(DriverWindow*) = sdl::destroyWindow;
    static constexpr void (*showWindow)(DriverWindow*, bool, bool) = sdl::showWindow;
    static constexpr void (*placeWindow)(DriverWindow*, const Area&, bool) = sdl::placeWindow;
    static constexpr Area (*windowArea)(DriverWindow*) = sdl::windowArea;
    static constexpr bool (*seen)(DriverWindow*) = sdl::seen;
    static constexpr void (*drawableSize)(DriverWindow*, int&, int&) = sdl::drawableSize;
    static constexpr void (*present)(DriverWindow*, const Surface&, const Placement&,
                                     const PixelRect*, int) = sdl::present;
    static constexpr DriverWindow* (*adopt)(unsigned long) = adoptNothing;
    static constexpr void (*release)(DriverWindow*) = releaseNothing;
    static constexpr bool kPacedByFrames = false;
    static constexpr void (*showCursor)(bool) = sdl::showCursor;
    static constexpr bool (*cursorIn)(DriverWindow*, int&, int&) = sdl::cursorIn;
    static constexpr bool (*messageBox)(DriverWindow*, const char*, const char*) = sdl::messageBox;
    static constexpr int (*terminationSignal)() = sdl::terminationSignal;
    static constexpr std::string (*setting)(const char*) = nullptr;
    static constexpr void (*ended)(int) = nullptr;
};
// SDL video on the SDL driver `name` for a window system with a driver file of
// its own: false without a word when SDL_VIDEODRIVER names another one; false
// with "name: why" when `usable` says it cannot work here or SDL cannot start.
bool startOwn(const char* name, bool (*usable)(std::string& why), std::string& why);

// Each window system's table (x11.cpp, wayland.cpp, portable.cpp).
extern const Driver kX11, kWayland, kPortable;

// What these files keep while video runs: made by startVideo, gone at stopVideo.
struct Common {
    // When the window system was last read, and whether the last wait found
    // nothing to read with nothing sent since: reading again would find nothing.
    double lastPump = -1e300;
    bool quiet = false;
    bool presented = false; // since the window system was last read
    ScaleScratch scratch;
};
Common& common();

} // namespace tess::sdl
