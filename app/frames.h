// What every program around the animation shares: the frame timer, the window
// class, and the main loop that keeps the off-screen bitmap and draws a frame
// whenever no message waits. The program (shell.cpp) and the screensaver
// (saver.cpp) each add their own start-up and window procedure.
#pragma once

#include "platform/win32.h"

// The pace of the screensavers and the browser page when nobody asks for
// another: microseconds from one frame's start to the next's. The program
// itself never waits (delay 0).
constexpr unsigned kDefaultDelay = 10000;

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

// Runs the animation in `window` until the quit message: primes the frame timer,
// makes the off-screen bitmap of the client area's size, shows the window with
// `showCommand`, fills the bitmap black once and seeds the generator (from
// TESSALINE_SEED when that holds a number, else the tick count); then each turn
// handles one message or, when none waits, draws a frame and copies it to the
// window. With a `delay` (microseconds), frames start at least that far apart
// and the time between is spent waiting in the system for messages; 0 never
// waits. Releases what it made and returns the quit code.
int runFrames(HWND window, int showCommand, unsigned delay = 0);
