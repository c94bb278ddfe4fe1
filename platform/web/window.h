// Window classes and the one window a page has: its procedure, a backing
// surface the device context draws into, and the canvas that shows it. The
// queue is in messages.h, the copy onto the canvas in present.h.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

#include <string>

namespace tess::web {

// The largest side of a window, or of a display mode, the host backs.
constexpr int kMaxSide = 16384;

struct Window {
    HWND handle = nullptr;
    WNDPROC proc = nullptr;
    std::string className; // as registered (names compare without case)
    Surface surface;       // the client area; it keeps its pixels like a backing store
    bool visible = false;
    bool needsPaint = false; // WM_PAINT is due
    bool needsFull = true;   // the whole canvas is put at the next present
};

// The window, or null before it is made.
Window* theWindow();
// The window when `handle` names it, else null.
Window* findWindow(HWND handle);
// Sends a message straight to the window's procedure; 0 for no such window.
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the window has changes the canvas does not show yet.
bool windowChanged();
// Puts them on the canvas: called on a display frame, so once per frame at most.
void presentWindow();

} // namespace tess::web
