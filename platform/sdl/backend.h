// The contract between the generic host and one window system, as SDL's own
// video drivers have one: a table of functions chosen once when video starts
// (video.cpp), one file per window system filling it in (x11.cpp,
// wayland.cpp), and SDL's portable calls for any other driver (the dummy one
// the tests use). The generic code never names a driver; a backend never calls
// up into it: what it learns it returns, or ends the program (signals.h).
#pragma once

#include <SDL_rect.h>

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace tess::sdl {

// One monitor as the window system has it, in SDL's global coordinates.
struct Monitor {
    std::string name;
    SDL_Rect area{0, 0, 0, 0};
    int bitsPerPixel = 32; // as stored: 24 and 30 bits of depth take 32
    int frequency = 60;    // Hz
};

struct Backend {
    const char* driver; // SDL's name for it; null for the portable fallback
    // Before SDL tries the driver: false, with why (naming the display or the
    // socket), when it cannot work here.
    bool (*usable)(std::string& why);
    // Right after SDL's video started on it, before any window: installs what
    // loss and error handling needs. stop undoes it, before SDL's video stops.
    void (*start)();
    void (*stop)();
    // Whether window surfaces must go through SDL's renderer: the driver has no
    // framebuffer of its own, or one in a format SDL cannot name.
    bool (*needsRenderer)();
    // The monitors of the screen the program runs on, the primary one first;
    // never empty while video runs.
    std::vector<Monitor> (*monitors)();
    // Reads what the window system said; true when the monitors changed since
    // the last call.
    bool (*monitorsChanged)();
    // A window with SDL_CreateWindow's flags, on the screen the program runs on.
    SDL_Window* (*createWindow)(const char* title, const SDL_Rect& frame, std::uint32_t flags);
    void (*destroyWindow)(SDL_Window* window);
    // Full screen (and above other windows) over `area`, one monitor; or back to
    // an ordinary window at `area`.
    void (*placeWindow)(SDL_Window* window, const SDL_Rect& area, bool fullScreen);
    // Another program's window, by its id (0: the root window), or null where
    // the window system has no such thing or no such window exists; the same
    // SDL window for a window adopted already. Adopted windows are never moved,
    // mapped or destroyed; errors about them pass.
    SDL_Window* (*adopt)(unsigned long id);
    void (*release)(SDL_Window* adopted);
    // A raw window-system event: the adopted window it says is gone, or null.
    SDL_Window* (*adoptedGone)(const SDL_Event& event);
    // SDL reported SDL_QUIT: when that means the connection is gone, ends the
    // program with one line (connectionLost), else returns.
    void (*quitReported)();
    // Descriptors that become readable when events arrive, for a wait between
    // frames; none (0) where events only come through SDL's own wait.
    int (*eventFds)(int* fds, int most);
};

// Same names, places and rates, in the same order.
bool sameMonitors(const std::vector<Monitor>& a, const std::vector<Monitor>& b);

// The backend chosen when video started (the portable one before).
const Backend& backend();
void chooseBackend(const Backend& chosen);
// SDL's portable calls alone, for any driver without a file of its own.
const Backend& portableBackend();

// SDL's portable calls, for backends that need nothing more for a job.
namespace portable {
std::vector<Monitor> monitors(); // SDL's displays
bool monitorsChanged();          // since the last call
SDL_Window* createWindow(const char* title, const SDL_Rect& frame, std::uint32_t flags);
void destroyWindow(SDL_Window* window);
void placeWindow(SDL_Window* window, const SDL_Rect& area, bool fullScreen);
SDL_Window* adopt(unsigned long id); // null: nothing to adopt
void release(SDL_Window* adopted);
SDL_Window* adoptedGone(const SDL_Event& event);
} // namespace portable

// Each window system's table (x11.cpp, wayland.cpp).
const Backend& x11Backend();
const Backend& waylandBackend();

} // namespace tess::sdl
