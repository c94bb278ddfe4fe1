// What the device context needs of whoever owns the windows: the backing store
// behind a window handle. The host hands over its lookup when it starts and
// takes it back when it stops; without one, no window has a DC.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

namespace tess {

using WindowSurfaceLookup = Surface* (*)(HWND window);
void setWindowSurfaces(WindowSurfaceLookup lookup);
// The window's backing store, or null when the handle names no window.
Surface* windowSurface(HWND window);

} // namespace tess
