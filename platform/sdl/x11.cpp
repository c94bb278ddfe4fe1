// The host's X11 side: the lost-connection handler, a connection of its own on
// which it watches the root window's size, and the window visual.

#include "platform/sdl/x11.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <X11/Xatom.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace tess::sdl::x11 {
namespace {

struct Made {
    SDL_Window* sdl;
    ::Window x;
};

struct State {
    Display* watch = nullptr; // ours: SDL's connection is out of reach until a window exists
    int width = 0, height = 0, depth = 0;
    bool otherScreen = false; // DISPLAY names a screen other than the first
    Display* sdlDisplay = nullptr;
    std::vector<Made> made;
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
    s.otherScreen = screen != 0;
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
    while (!s.made.empty())
        destroyWindow(s.made.back().sdl);
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

namespace {

Display* sdlDisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11
               ? info.info.x11.display
               : nullptr;
}

// SDL's own connection: the window must belong to it for SDL to hear the window
// manager's close request. SDL shows it only through a window of its own.
Display* sdlDisplay() {
    State& s = state();
    if (!s.sdlDisplay) {
        SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
        s.sdlDisplay = sdlDisplayOf(probe);
        if (probe) SDL_DestroyWindow(probe);
    }
    return s.sdlDisplay;
}

void setAtoms(Display* d, ::Window w, const char* property, std::vector<const char*> names) {
    std::vector<Atom> atoms;
    for (const char* n : names)
        atoms.push_back(XInternAtom(d, n, False));
    XChangeProperty(d, w, XInternAtom(d, property, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
}

} // namespace

SDL_Window* createWindow(const char* title, int x, int y, int width, int height,
                         std::uint32_t flags) {
    if (!state().otherScreen) return SDL_CreateWindow(title, x, y, width, height, flags);
    Display* d = sdlDisplay();
    if (!d) return nullptr;
    const int screen = DefaultScreen(d);
    XSetWindowAttributes a{};
    a.background_pixel = BlackPixel(d, screen);
    const ::Window w =
        XCreateWindow(d, RootWindow(d, screen), x, y, unsigned(width), unsigned(height), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWBackPixel, &a);
    XStoreName(d, w, title);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), int(std::strlen(title)));
    if (flags & SDL_WINDOW_BORDERLESS) {
        const long hints[5] = {2, 0, 0, 0, 0}; // decorations given, and none
        XChangeProperty(d, w, XInternAtom(d, "_MOTIF_WM_HINTS", False),
                        XInternAtom(d, "_MOTIF_WM_HINTS", False), 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(hints), 5);
    }
    Atom close = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &close, 1);
    // SDL asks for nothing on a window it did not make: what it reads, asked here.
    XSelectInput(d, w,
                 KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                     PointerMotionMask | ExposureMask | StructureNotifyMask | FocusChangeMask |
                     EnterWindowMask | LeaveWindowMask | PropertyChangeMask);
    SDL_Window* sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(w));
    if (!sdl) {
        XDestroyWindow(d, w);
        XFlush(d);
        return nullptr;
    }
    state().made.push_back(Made{sdl, w});
    setFullScreen(sdl, flags & SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!(flags & SDL_WINDOW_HIDDEN)) SDL_ShowWindow(sdl);
    return sdl;
}

void destroyWindow(SDL_Window* window) {
    if (!window) return;
    auto& made = state().made;
    for (auto it = made.begin(); it != made.end(); ++it) {
        if (it->sdl != window) continue;
        const ::Window x = it->x;
        made.erase(it);
        Display* d = state().sdlDisplay;
        SDL_DestroyWindow(window); // SDL leaves a window it did not make alone
        XDestroyWindow(d, x);
        XFlush(d);
        return;
    }
    SDL_DestroyWindow(window);
}

bool setFullScreen(SDL_Window* window, bool on) {
    const State& s = state();
    for (const Made& m : s.made) {
        if (m.sdl != window) continue;
        Display* d = s.sdlDisplay;
        const unsigned long fullScreen = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
        const unsigned long above = XInternAtom(d, "_NET_WM_STATE_ABOVE", False);
        XWindowAttributes a;
        XGetWindowAttributes(d, m.x, &a);
        if (a.map_state == IsUnmapped) {
            // Before it is mapped the window states it itself; the manager reads it then.
            if (on)
                setAtoms(d, m.x, "_NET_WM_STATE",
                         {"_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE"});
            else
                XDeleteProperty(d, m.x, XInternAtom(d, "_NET_WM_STATE", False));
        } else {
            // Afterwards it asks the manager, through its own screen's root.
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = m.x;
            e.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = on ? 1 : 0; // add or remove
            e.xclient.data.l[1] = long(fullScreen);
            e.xclient.data.l[2] = long(above);
            e.xclient.data.l[3] = 1; // from an application
            XSendEvent(d, a.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        }
        XFlush(d);
        return true;
    }
    return false;
}

} // namespace tess::sdl::x11
