// What SDL 2 leaves out on X11, for the host: the program ends at once, with
// one line and exit code 1, when the connection to the X server is lost (Xlib
// would exit from inside an SDL call); the desktop's size is followed as the
// server changes it (SDL keeps the size it saw at start-up); below 24 bits
// windows get the TrueColor visual (SDL picks a DirectColor one, whose colormap
// tints black there); and windows open on the screen DISPLAY names, where SDL
// would put them on the first. All of it does nothing on another driver.
#pragma once

#include <cstdint>

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

// A window as SDL_CreateWindow makes one (the same flags: hidden, borderless,
// resizable, full screen, on top), but on the screen DISPLAY names: SDL puts
// every window on the first screen. Windows made here are SDL windows like any
// other, except that their full-screen state is set by setFullScreen().
SDL_Window* createWindow(const char* title, int x, int y, int width, int height,
                         std::uint32_t flags);
// SDL_DestroyWindow, and the X window too when it was made here.
void destroyWindow(SDL_Window* window);
// Full screen and on top, or neither, for a window made here; false (nothing
// done) for any other, which SDL serves.
bool setFullScreen(SDL_Window* window, bool on);

} // namespace tess::sdl::x11
