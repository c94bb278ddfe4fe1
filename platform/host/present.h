// Putting a window's backing store on its driver window: where it lands (a
// switched screen fitted to the home monitor, any other window one to one
// while the sizes agree), and the one present path, which shows only what
// changed, at most once per refresh of the monitor under the window, as a
// compositor shows a redirected window.
#pragma once

#include "platform/host/core.h"
#include "platform/scale.h"

namespace tess::host {

// Where the window's surface lands on a drawable of tw x th: a switched screen
// (the window at its place on it) fitted to the drawable; any other window is
// its own screen, fitted to what its driver window has become.
Placement placementOf(const Window& w, int tw, int th);
// The point of the screen the program sees under pixel (x, y) of the window's
// drawable: back through the same placement the present draws with, clamped to
// the switched screen; on the desktop, the point itself.
void cursorOnScreen(const Window& w, int x, int y, int& screenX, int& screenY);

// Presents what changed (the surface's changes, or all of it when marked so)
// when a refresh interval has passed since the last present; anything else
// waits. Called on every PeekMessageA: since the main loop peeks on every
// turn, a change shows at the latest one interval after it was made, and
// nothing ever waits for the deadline. A driver paced by frames presents on
// its Frame events instead (presentNow).
void presentIfDue(Window& w);
void presentNow(Window& w);
// Seconds until presentIfDue would show the window's changes: 0 when it would
// now, a day when there is nothing to show (or nobody would see it).
double presentDueIn(const Window& w);
// Whether the window has changes to show to someone.
bool hasChangesToShow(const Window& w);

} // namespace tess::host
