// Other programs' windows as parents: on X11 a window named by its id (a
// screensaver daemon's, or the root window) is adopted through SDL and stands
// behind an HWND, so that a child window can fill it. The adopted window is
// watched for resizing, exposure and destruction, and never moved, mapped or
// destroyed by us; X errors about it (it may vanish at any moment) are ignored.
#pragma once

#include "platform/win32.h"

union SDL_Event;

namespace tess::sdl {

// The HWND for X window `xid`, adopted on first use; null when no display can be
// opened, when SDL does not run on X11, or when no such window exists.
HWND adoptForeignWindow(unsigned long xid);
// The root window of the screen DISPLAY names, adopted; null as above.
HWND adoptRootWindow();

// A raw window-system event from SDL: an adopted window that was destroyed takes
// its children with it, as a parent does on Windows.
void foreignWindowEvent(const SDL_Event& e);

} // namespace tess::sdl
