// The application shell around WinMain: the window procedure, the display
// switch and the frame timer. WinMain itself is declared with the platform names.
#pragma once

#include "platform/win32.h"

// WM_PAINT validates only; WM_CLOSE and WM_DESTROY return the display to its
// stored mode and post the quit message; Esc posts it; other keys are swallowed.
LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Switches the display to the stored resolution. A failed query leaves the
// display alone; a refused switch posts the quit message with code 1.
void toFullScreen();

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
