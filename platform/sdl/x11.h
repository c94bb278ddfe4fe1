// What SDL 2 leaves out on X11, for the host: the program ends at once, with
// one line and exit code 1, when the connection to the X server is lost (Xlib
// would exit from inside an SDL call); the desktop's size is followed as the
// server changes it (SDL keeps the size it saw at start-up); and below 24 bits
// windows get the TrueColor visual (SDL picks a DirectColor one, whose colormap
// tints black there). All of it does nothing where SDL runs on another driver.
#pragma once

struct SDL_Window;

namespace tess::sdl::x11 {

// Right after SDL's video starts and before any window; false off X11.
bool start();
// Closes the host's own connection (tests start SDL again afterwards).
void stop();

// The default screen (the one DISPLAY names) as the server has it now; false
// off X11.
bool desktopSize(int& width, int& height);
// Its depth in bits (24, 30, 16, 8, ...); 0 off X11.
int depth();
// Reads what the server told the host; true when the desktop's size changed
// since the last call.
bool desktopChanged();

// Moves and sizes an SDL window on the server itself: SDL holds sizes back
// while a window is in full-screen state, and without a window manager nobody
// else would fit it to the desktop.
void place(SDL_Window* window, int x, int y, int width, int height);

} // namespace tess::sdl::x11
