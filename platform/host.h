// What a program's own start-up may ask of the host, beyond the Win32 names:
// whether a display runs, other programs' windows to draw into, the
// termination signal, the page's settings, and the end. Host-neutral: the
// program never learns which window system serves it.
#pragma once

#include "platform/win32.h"

#include <string>

namespace tess {

// Asks for the desktop's own layers instead of ordinary windows: a window of
// the program goes above every window on every monitor, with the keyboard, and
// the root window (adoptWindow(0)) is the background under them all. Only
// before the first call that needs a display; where the window system has no
// such layers, no display opens.
void hostWantLayers();
// True once a display runs; the first call connects, and a failure is kept.
bool hostReady();
// Why hostReady() failed, for the one line the user sees; empty when it did not.
const char* hostFailure();

// The HWND for window `id` of the window system (0: the root window of the
// screen the program runs on), adopted on first use (the same handle for the
// same id until it is destroyed); null when no display can be opened, when the
// window system has no such windows, or when no such window exists.
HWND adoptWindow(unsigned long id);

// The termination signal (SIGINT, SIGTERM) that arrived last, or 0: a program
// that must end by the signal re-raises it once it has cleaned up.
int terminationSignal();

// What the surroundings set for the program by name (the page address's
// query: ?res=c&seed=5), decoded; empty when nothing (and on a desktop).
std::string hostSetting(const char* name);
// The program ended with `exitCode`: the page says so.
void hostEnded(int exitCode);

// Closes every window, forgets adopted ones, empties the queue, returns the
// display and disconnects: nothing is left, and the next call starts afresh.
void shutdownHost();

} // namespace tess
