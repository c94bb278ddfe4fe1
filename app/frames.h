// What every program around the animation shares: the frame timer, the window
// class, and the main loop that keeps the off-screen bitmap and draws a frame
// whenever no message waits. The program (shell.cpp) and the screensaver
// (saver.cpp) each add their own start-up and window procedure.
#pragma once

#include "platform/win32.h"

// The pace of the screensavers and the browser page when nobody asks for
// another: microseconds from one frame's start to the next's. The program
// itself never waits (delay 0).
constexpr unsigned kDefaultDelay = TESS_DEFAULT_DELAY;

// Seconds since the previous call, from the millisecond tick count; on the first
// call, since that call (0). Two calls within one tick give 0.
float retFrameSpd();

// The frame timer over any tick source; each source keeps its own two stamps.
// The stamps stay whole milliseconds: seconds held in a float would coarsen with
// uptime (8 ms steps after 18 hours, 125 ms after 12 days).
template <DWORD(WINAPI* ticks)()> float retFrameSpdOver() {
    static DWORD timeLast = ticks(); // first use: the same clock as every later stamp
    static DWORD timeNow = 0;
    timeNow = ticks();
    const DWORD elapsed = timeNow - timeLast; // unsigned: right across the 49.7-day wrap
    timeLast = timeNow;
    return static_cast<float>(elapsed * 0.001); // double product, one rounding to float
}

// Registers a window class with the standard icon and arrow cursor, a white
// background and redraws on resizing; the result is Windows' own.
WORD registerWindowClass(HINSTANCE instance, const char* name, WNDPROC proc);

// Answers WM_PAINT: the main loop draws every frame, so painting only validates.
void validateWindow(HWND window);

// What runs in the frame loop besides the program's own animation: as a
// screensaver framework offers its hacks, the loop owns the window, the bitmap
// and the pace, and the animation draws and shows each frame.
struct FrameLoop {
    unsigned delay = 0;      // microseconds from one frame's start to the next's; 0 never waits
    int pixelSize = 1;       // the bitmap is the client area divided by this (at least 1 x 1)
    bool followSize = false; // a client area of another size gets a bitmap to match
    void* animation = nullptr;
    // The bitmap is now width x height: before the first frame, and after each
    // change of size (the old pixels kept where they fit, black elsewhere).
    void (*reshape)(void* animation, HDC window, int width, int height) = nullptr;
    // One frame of dt seconds drawn into `memory` and shown in `window`; without
    // one, goProgram and a copy of the whole bitmap, as the program runs.
    void (*frame)(void* animation, HDC window, HDC memory, float dt) = nullptr;
};

// Runs the animation in `window` until the quit message: primes the frame timer,
// makes the off-screen bitmap of the client area's size, shows the window with
// `showCommand`, fills the bitmap black once and seeds the generator (from
// TESSALINE_SEED when that holds a number, else the tick count); then each turn
// handles one message or, when none waits, draws a frame and copies it to the
// window. With a delay, frames start at least that far apart and the time between
// is spent waiting in the system for messages. Releases what it made and returns
// the quit code.
int runFrames(HWND window, int showCommand, const FrameLoop& loop);
