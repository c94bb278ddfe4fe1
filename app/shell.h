// The program around WinMain: its window procedure and the display switch (the
// frame timer and the main loop are shared, in frames.h). WinMain itself is
// declared with the platform names.
#pragma once

#include "app/frames.h"
#include "platform/win32.h"

// WM_PAINT validates only; WM_CLOSE and WM_DESTROY return the display to its
// stored mode and post the quit message; Esc posts it; other keys are swallowed.
LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Switches the display to the stored resolution. A failed query leaves the
// display alone; a refused switch posts the quit message with code 1.
void toFullScreen();

// WinMain's whole run with `loop` as the frame loop's client: WinMain's own is
// programLoop at delay 0, as fast as the machine allows. The page (a pace of
// its own) and the benchmark builds (their frames counted) start it here.
int runProgram(HINSTANCE instance, const char* commandTail, int showCommand, const FrameLoop& loop);
