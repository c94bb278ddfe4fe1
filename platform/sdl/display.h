// The display model: the monitors the backend reports, the one the program
// lives on (home: the primary monitor, where a window at (0, 0) opens and the
// switched screen goes), and the emulated display switch. The real display mode
// is never changed: a switched "screen" is one full-screen window over the home
// monitor showing the program's surface scaled to fit, keeping its shape,
// centred on black (as a monitor switched to that mode fills its screen); the
// other monitors are left alone. Coordinates the program sees put the home
// monitor's corner at (0, 0), as Windows does the primary monitor's.
#pragma once

#include "platform/sdl/backend.h"

#include <vector>

namespace tess::sdl {

struct ScreenMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int frequency = 60;
};

// Largest side of a mode or window the host can back.
constexpr int kMaxSide = 16384;

// Where a screen of sw x sh lands on a monitor of dw x dh: scaled to scaledW x
// scaledH and placed at (offsetX, offsetY). The largest size of the same shape
// that fits (at least 1 x 1); bars only on the sides the shape leaves over.
struct Fit {
    int scaledW, scaledH, offsetX, offsetY;
};
Fit fitScreen(int sw, int sh, int dw, int dh);

// Reads the monitors once video runs (none before, and after resetDisplay).
void startDisplay();
// Asks the backend; true when the monitors changed (the switched screen must follow).
bool monitorsChanged();
// The home monitor; a 0 x 0 one at the origin before video runs.
const Monitor& homeMonitor();
// The monitor an area of the desktop (SDL's global coordinates) lies on most;
// the home monitor when it lies on none.
const Monitor& monitorUnder(const SDL_Rect& area);

// The home monitor as it is (what is restored), and the screen the program sees now.
ScreenMode desktopMode();
ScreenMode currentMode();
bool displaySwitched();
void switchDisplay(const ScreenMode& mode);
void restoreDisplay();

// The corner of the program's coordinates in SDL's (the home monitor's).
SDL_Point programOrigin();
// Every monitor in the program's coordinates; the switched screen alone while
// the display is switched.
std::vector<SDL_Rect> programMonitors();

void resetDisplay();

} // namespace tess::sdl
