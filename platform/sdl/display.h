// The emulated display switch. The real display mode is never changed: a
// switched "screen" is a full-screen SDL window over the whole desktop showing
// the program's surface scaled to fit, keeping its shape, centred on black (as
// a monitor switched to that mode fills its screen). Only the state and
// geometry live here; present.h draws.
#pragma once

namespace tess::sdl {

struct ScreenMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int frequency = 60;
};

// Largest side of a mode or window the host can back.
constexpr int kMaxSide = 16384;

// Where a screen of sw x sh lands on a desktop of dw x dh: scaled to scaledW x
// scaledH and placed at (offsetX, offsetY). The largest size of the same shape
// that fits (at least 1 x 1); bars only on the sides the shape leaves over.
struct Fit {
    int scaledW, scaledH, offsetX, offsetY;
};
Fit fitScreen(int sw, int sh, int dw, int dh);

// The desktop (what is restored), and the screen the program sees now.
ScreenMode desktopMode();
ScreenMode currentMode();
bool displaySwitched();
// Desktop rectangle in SDL's global coordinates.
void desktopBounds(int& x, int& y, int& w, int& h);

void resetDisplay();

} // namespace tess::sdl
