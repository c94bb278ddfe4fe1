// What every program around the animation shares: the frame timer, the window
// class, and the main loop that keeps the off-screen bitmap and draws a frame
// whenever no message waits, as a framework runs its clients. The program
// (shell.cpp) and the screensaver (saver.cpp) are two clients, each with its
// own start-up and window procedure.
#pragma once

#include "platform/win32.h"

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

// The display's refresh interval in microseconds, 60 Hz when the system names none.
unsigned refreshDelay();

// A client of the frame loop: as a screensaver framework runs its hacks, the
// loop owns the window, the bitmap and the pace, and the client draws and
// shows each frame through these, each given `context`.
struct FrameLoop {
    unsigned delay = 0;      // microseconds from one frame's start to the next's; 0 never waits
    int pixelSize = 1;       // the bitmap is the client area divided by this (at least 1 x 1)
    bool followSize = false; // a client area of another size gets a bitmap to match
    // While nobody can see the window (IsIconic), no frames: the loop sleeps
    // until a message comes, and the picture goes on from where it was left.
    bool restWhileUnseen = false;
    void* context = nullptr;
    // Before the first frame: the bitmap is width x height and black.
    void (*start)(void* context, HDC window, HDC memory, int width, int height) = nullptr;
    // One frame of dt seconds drawn into `memory` and shown in `window`.
    void (*step)(void* context, HDC window, HDC memory, float dt) = nullptr;
    // The bitmap is now width x height: the old pixels kept where they fit,
    // black elsewhere.
    void (*reshape)(void* context, HDC window, int width, int height) = nullptr;
    // After the last frame, before the bitmap goes.
    void (*stop)(void* context) = nullptr;
};

// The program's own frame: goProgram on the bitmap and a copy of all of it to
// the window, as WinMain runs it. `frame` keeps the bitmap's size for the copy.
struct ProgramFrame {
    int width = 0, height = 0;
};
FrameLoop programLoop(ProgramFrame& frame, unsigned delay);
// The program's picture at a pace: each frame steps the program's chain by the
// ticks that passed (at most a second's: tickChain) and copies the bitmap, as
// the program's own loop leaves it at any frame rate. Frames come every
// `delay` microseconds, or every refresh if that is longer.
FrameLoop tickedLoop(ProgramFrame& frame, unsigned delay);

// Runs the client in `window` until the quit message: primes the frame timer,
// makes the off-screen bitmap of the client area's size, shows the window with
// `showCommand`, fills the bitmap black once and seeds the generator (from
// TESSALINE_SEED when that holds a number, else the tick count); then each turn
// handles one message or, when none waits, steps a frame of the frame timer's
// time. With a delay, frames start at least that far apart and the time between
// is spent waiting in the system for messages. Releases what it made and returns
// the quit code.
int runFrames(HWND window, int showCommand, const FrameLoop& loop);
