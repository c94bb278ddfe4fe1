// The window registry behind HWND. Two kinds of record: the program's windows
// (Window: its class's procedure, its place on the screen the program sees, a
// backing surface the device context draws into, and the SDL window that shows
// it), and other programs' windows adopted as parents (Adopted: an SDL window
// and nothing to draw). A child of an adopted window is one of the program's
// windows shown in its parent's SDL window. Loops over Window records never meet
// an adopted one. The queue is in messages.h, the way pixels reach the screen in
// present.h; the Win32 entry points are in user32.cpp.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

#include <SDL_rect.h>

#include <memory>
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
    // The SDL window it shows in: its own, or (a child) its adopted parent's.
    SDL_Window* sdl = nullptr;
    HWND parent = nullptr; // the adopted window a child fills
    bool visible = false;
    bool needsPaint = false; // WM_PAINT is due
    bool destroying = false;
    bool covering = false;  // shows the switched screen, full screen on the home monitor
    bool resizable = false; // its user may size it (WS_THICKFRAME); the client area follows
    // What the next present must show besides the surface's dirty rectangles:
    // the whole SDL window. Whatever needs the screen redrawn only marks this.
    bool needsFull = true;
    int shownW = 0, shownH = 0; // size of the SDL window surface last drawn
    // Presents follow the refresh of the monitor under the window: at most one
    // per interval (seconds).
    double interval = 1.0 / 60;
    double lastPresent = -1e300;
    long long presents = 0; // uploads so far
};

struct Adopted {
    HWND handle = nullptr;
    SDL_Window* sdl = nullptr;
};

// Lookups: null when the handle or SDL window names no record of that kind.
Window* findWindow(HWND handle);
Window* findWindow(SDL_Window* sdlWindow);
Adopted* findAdopted(HWND handle);
Adopted* findAdopted(SDL_Window* sdlWindow);
// The first of the program's windows in creation order, or null: where input
// goes when its SDL window is not (yet) known.
Window* firstWindow();
int windowCount();
Window* windowAt(int index);
template <class F> void forEachWindow(F&& f);

// A new handle, never reused: stale stays stale.
HWND newHandle();
void addWindow(std::unique_ptr<Window> w);
void addAdopted(const Adopted& a);
// Drops the record and its SDL window (an adopted one is released, not destroyed).
void removeWindow(HWND handle);

// Window classes (names compare without case).
struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
};
const WindowClass* findClass(const char* name);
// The new class's atom, or 0 when the name is taken.
WORD addClass(const WindowClass& c);
// False when no such class of that instance exists, or a window of it lives.
bool removeClass(const char* name, HINSTANCE instance);

// Sends a message straight to the window's procedure; 0 for no such window.
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Where a window's client area lies on the desktop, in SDL's global coordinates
// (a child fills its parent; a switched-screen window the whole home monitor).
SDL_Rect areaOf(const Window& w);
SDL_Rect areaOf(const Adopted& a);
// Where the program's own SDL window goes: over the home monitor while the
// display is switched, else at the window's own place and size (at least 1 x 1).
SDL_Rect frameOf(const Window& w);
// The refresh interval of the monitor under the window.
double refreshInterval(const Window& w);
// Moves and sizes every SDL window for the current display state, and marks it
// for a full redraw.
void layoutWindows();
// The SDL window `sdl` has a new size: windows whose client area follows it (a
// child filling it, a window its user may size) get a backing store of that
// size, keeping the pixels that still fit, and WM_SIZE. All are marked.
void followSize(SDL_Window* sdl);
// Marks every window shown in that SDL window for a full redraw.
void markShownIn(SDL_Window* sdl, bool paint);
// Gives the device context its hooks and the screen DC's size.
void installHost();
void destroyAllWindows();

// The SDL window behind a handle (tests read its pixels), or null.
SDL_Window* sdlWindowOf(HWND handle);

template <class F> void forEachWindow(F&& f) {
    for (int i = 0, n = windowCount(); i < n; ++i) {
        if (Window* w = windowAt(i)) f(*w);
    }
}

} // namespace tess::sdl
