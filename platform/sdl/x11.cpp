// The host's X11 side: the lost-connection handler, a connection of its own on
// which it watches the root window's size, and the window visual.

#include "platform/sdl/x11.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tess::sdl::x11 {
namespace {

struct State {
    Display* watch = nullptr; // ours: SDL's connection is out of reach until a window exists
    int width = 0, height = 0, depth = 0;
};

State& state() {
    static State s;
    return s;
}

char lostLine[160];

// Anything more than writing the line could block on the dead connection, or
// run destructors in the middle of the SDL call that found the loss.
extern "C" int onConnectionLost(Display*) {
    const ssize_t written = write(STDERR_FILENO, lostLine, std::strlen(lostLine));
    (void)written;
    _exit(1);
}

} // namespace

bool start() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    std::snprintf(lostLine, sizeof lostLine, "%s: the connection to the X server was lost\n",
                  program_invocation_short_name);
    XSetIOErrorHandler(onConnectionLost);
    State& s = state();
    if (!s.watch) s.watch = XOpenDisplay(nullptr);
    if (!s.watch) return true;
    const int screen = DefaultScreen(s.watch);
    const ::Window root = RootWindow(s.watch, screen);
    s.width = DisplayWidth(s.watch, screen);
    s.height = DisplayHeight(s.watch, screen);
    s.depth = DefaultDepth(s.watch, screen);
    XSelectInput(s.watch, root, StructureNotifyMask);
    XFlush(s.watch);
    XVisualInfo visual;
    if (s.depth < 24 && XMatchVisualInfo(s.watch, screen, s.depth, TrueColor, &visual)) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", visual.visualid);
        SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id);
    }
    return true;
}

void stop() {
    State& s = state();
    if (s.watch) XCloseDisplay(s.watch);
    s = State{};
}

bool desktopSize(int& width, int& height) {
    const State& s = state();
    if (!s.watch) return false;
    width = s.width;
    height = s.height;
    return true;
}

int depth() {
    return state().depth;
}

bool desktopChanged() {
    State& s = state();
    if (!s.watch) return false;
    bool changed = false;
    while (XPending(s.watch)) {
        XEvent e;
        XNextEvent(s.watch, &e);
        // The root reports its new size; a screen change may send the old one first.
        if (e.type != ConfigureNotify) continue;
        if (e.xconfigure.width == s.width && e.xconfigure.height == s.height) continue;
        s.width = e.xconfigure.width;
        s.height = e.xconfigure.height;
        changed = true;
    }
    return changed;
}

void place(SDL_Window* window, int x, int y, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    XMoveResizeWindow(info.info.x11.display, info.info.x11.window, x, y, unsigned(width),
                      unsigned(height));
    XFlush(info.info.x11.display);
}

} // namespace tess::sdl::x11
