// The screensaver: the program's animation in the window the screensaver
// conventions name (the whole desktop, a preview window's client area, or one
// of its own), at that window's size divided by the pixel size, at the pace the
// settings ask for. It never switches the display.
#pragma once

#include "app/saver_args.h"
#include "platform/win32.h"

// Full screen: any key, any mouse button, or the mouse moving more than a few
// pixels from where it was at the start posts the quit message (the first
// mouse-move report does not count: Windows sends one as the window appears).
// Own window: Esc, or closing it. Every mode ends when its window is destroyed
// (a preview's, with its parent).
LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the saver with its settings and returns its exit code: 0 when it ends as
// a saver ends; 1 when its window cannot be made or the preview's parent names
// no window; 2 for a command line it does not understand. Each monitor the
// window reaches gets a chain of its own, with its own colour. Configure is
// each system's own business (a dialog on Windows) and ends here with 2.
int runSaver(HINSTANCE instance, const SaverArgs& args, const SaverSettings& settings);
