// Starting and stopping the whole host: video and its backend on first need,
// the display model, signals; and other programs' windows as parents (a
// screensaver daemon's, or the root window), adopted so that a child window
// can fill them. Everything below is reset by shutdownHost, so a host started
// again behaves as a new one.
#pragma once

#include "platform/win32.h"

namespace tess::sdl {

// True once SDL video runs on a real (or explicitly requested) driver. The first
// call tries; a failure is remembered and not retried.
bool videoReady();
// Why videoReady() failed, for the one line the user sees; empty when it did not.
const char* noDisplayReason();

// The HWND for window `id` of the window system, adopted on first use (the
// same handle for the same id until it is destroyed); null when no display
// can be opened, when the window system has no such windows (Wayland), or
// when no such window exists.
HWND adoptForeignWindow(unsigned long id);
// The root window of the screen DISPLAY names, adopted; null as above.
HWND adoptRootWindow();

// Closes every window, forgets adopted ones, empties the queue, returns the
// display, stops the backend and SDL and forgets a failed start, so the next
// call starts afresh (tests).
void shutdownHost();

} // namespace tess::sdl
