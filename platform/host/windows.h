// The records behind HWND: the program's windows (Window) and other programs'
// windows adopted as parents (Adopted), window classes, and where each window's
// driver window goes. Loops over Window records never meet an adopted one.
#pragma once

#include "platform/host/core.h"

namespace tess::host {

// Lookups: null when the handle or driver window names no record of that kind.
Window* findWindow(HWND handle);
// The program's own window shown in `shown` (children of an adopted one are not).
Window* findWindow(const DriverWindow* shown);
Adopted* findAdopted(HWND handle);
Adopted* findAdopted(const DriverWindow* shown);
// The first of the program's windows in creation order, or null: where input
// goes when its window is not (yet) known.
Window* firstWindow();
template <class F> void forEachWindow(F&& f) {
    auto& ws = host().registry.windows;
    for (std::size_t i = 0; i < ws.size(); ++i)
        f(*ws[i]);
}

// A new handle, never reused: stale stays stale.
HWND newHandle();
Window& addWindow(std::unique_ptr<Window> w);
HWND addAdopted(DriverWindow* shown);
// Drops the record and its driver window (an adopted one is released, not destroyed).
void removeWindow(HWND handle);
// Every window gone, its driver window with it.
void removeAllWindows();

// Classes (names compare without case). addClass gives the new atom, or 0 when
// the name is taken; removeClass is false when no such class of that instance
// exists, or a window of it lives.
const WindowClass* findClass(const char* name);
WORD addClass(const WindowClass& c);
bool removeClass(const char* name, HINSTANCE instance);

// Sends a message straight to the window's procedure; 0 for no such window.
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Where a window's client area lies on the desktop (a child fills its parent;
// a switched-screen window the whole home monitor).
Area areaOf(const Window& w);
Area areaOf(const Adopted& a);
// Where the program's own driver window goes: over the home monitor while the
// display is switched, else at the window's own place and size (at least 1 x 1).
Area frameOf(const Window& w);
// The refresh interval of the monitor under the window.
double refreshInterval(const Window& w);
// Moves and sizes every driver window for the current display state, and
// marks it for a full redraw.
void layoutWindows();
// The driver window `shown` has a new size: windows whose client area follows
// it (a child filling it, a window its user may size) get a backing store of
// that size, keeping the pixels that still fit, and WM_SIZE. All are marked.
void followSize(DriverWindow* shown);
// A client area of a new size, keeping the pixels that still fit, and WM_SIZE.
void resizeClient(Window& w, int width, int height);
// The driver window `shown` was moved: an ordinary window of the program takes
// its new place, and every window shown in it the refresh of the monitor it is
// on now.
void followMove(DriverWindow* shown);
// Marks every window shown in that driver window for a full redraw.
void markShownIn(const DriverWindow* shown, bool paint);

} // namespace tess::host
