// The window registry behind HWND: each window has its class's procedure, its
// place on the (possibly switched) screen, a backing surface the device context
// draws into, and the SDL window that shows it. Another program's window (see
// foreign.h) can stand behind an HWND too, as the parent of a child window that
// is shown filling it. The queue is in messages.h, the way pixels reach the
// screen in present.h.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

#include <string>

struct SDL_Window;

namespace tess::sdl {

struct Window {
    HWND handle = nullptr;
    WNDPROC proc = nullptr;
    std::string className; // as registered (names compare without case)
    std::string title;
    int x = 0, y = 0; // on the screen the program sees
    Surface surface;  // the client area; it keeps its pixels like a backing store
    SDL_Window* sdl = nullptr;
    bool visible = false;
    bool needsPaint = false;    // WM_PAINT is due
    bool needsFull = true;      // the whole SDL window must be redrawn at the next present
    int shownW = 0, shownH = 0; // size of the SDL window surface last drawn
    // Presents follow the display's refresh: at most one per interval (seconds).
    double interval = 1.0 / 60;
    double lastPresent = -1e300;
    long long presents = 0; // uploads so far
    bool destroying = false;
    bool covering = false;  // shows the switched screen, in full-screen state
    bool resizable = false; // its user may size it (WS_THICKFRAME); the client area follows
    // Another program's window: it has an SDL window but no surface, procedure
    // or messages of its own, and is never drawn on itself.
    bool foreign = false;
    // A child shows in its (foreign) parent's SDL window and has none of its own.
    HWND parent = nullptr;
};

Window* findWindow(HWND handle);
Window* findWindow(SDL_Window* sdlWindow);
// The first live window in creation order, or null: where input goes when its
// SDL window is not (yet) known.
Window* firstWindow();
template <class F> void forEachWindow(F&& f);
int windowCount();
Window* windowAt(int index);

// Sends a message straight to the window's procedure; 0 for no such window.
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Moves and sizes every SDL window for the current display state and redraws it.
void layoutWindows();
// The SDL window `sdl` has a new size: windows whose client area follows it (a
// child filling it, a window its user may size) get a backing store of that
// size, keeping the pixels that still fit, and WM_SIZE.
void followSize(SDL_Window* sdl);
void destroyAllWindows();

// The SDL window behind a handle (tests read its pixels), or null.
SDL_Window* sdlWindowOf(HWND handle);
// The SDL window a window's surface is shown in: its own, or its parent's.
SDL_Window* sdlShowing(const Window& w);
// Registers another program's window, shown through `sdl` (made by SDL from it).
HWND addForeignWindow(SDL_Window* sdl);
// Every window shown in that SDL window: redrawn in full when SDL says it was
// exposed or resized.
template <class F> void forEachShowing(SDL_Window* sdl, F&& f);

template <class F> void forEachWindow(F&& f) {
    for (int i = 0, n = windowCount(); i < n; ++i) {
        if (Window* w = windowAt(i)) f(*w);
    }
}

template <class F> void forEachShowing(SDL_Window* sdl, F&& f) {
    forEachWindow([&](Window& w) {
        if (sdl && !w.foreign && sdlShowing(w) == sdl) f(w);
    });
}

} // namespace tess::sdl
