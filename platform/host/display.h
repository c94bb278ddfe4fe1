// The display model: the monitors the driver reports, the one the program
// lives on (home: the primary monitor, where a window at (0, 0) opens and the
// switched screen goes), and the emulated display switch. The real display mode
// is never changed: a switched "screen" is one full-screen window over the home
// monitor showing the program's surface scaled to fit, keeping its shape,
// centred on black (as a monitor switched to that mode fills its screen); the
// other monitors are left alone. Coordinates the program sees put the home
// monitor's corner at (0, 0), as Windows does the primary monitor's.
#pragma once

#include "platform/host/core.h"

namespace tess::host {

// Takes the driver's monitors, keeping the home monitor by name.
void readMonitors();
// The home monitor; a 0 x 0 one at the origin before a driver runs.
const Monitor& homeMonitor();
// The monitor an area of the desktop lies on most; the home monitor when it
// lies on none.
const Monitor& monitorUnder(const Area& area);

// The home monitor as it is (what is restored), and the screen the program sees now.
ScreenMode desktopMode();
ScreenMode currentMode();
bool displaySwitched();
void switchDisplay(const ScreenMode& mode);
void restoreDisplay();

// Every monitor in the program's coordinates; the switched screen alone while
// the display is switched.
std::vector<RECT> programMonitors();

} // namespace tess::host
