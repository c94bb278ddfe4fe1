// The X11 driver: SDL's X11 video driver and what SDL 2 leaves out on X11: the program ends with
// one line when the connection to the server is lost (Xlib would exit from inside an SDL call); the
// monitors are the server's RandR 1.5 monitors of the screen DISPLAY names, followed as the server
// changes them (SDL keeps what it saw at start-up, and of the first screen only); below 24 bits
// windows get the TrueColor visual (SDL picks a DirectColor one, whose colormap tints black there);
// windows open on the screen DISPLAY names, where SDL would put them on the first; and other
// programs' windows are adopted, with the X errors about them let pass.

#include "platform/posix/signals.h"
#include "platform/sdl/sdl_common.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace tess::sdl {
namespace {

using XWindow = ::Window;

// A window this driver made itself, on a screen other than the first, and the
// colormap of its visual (none for the default one).
struct OtherScreenWindow {
    SDL_Window* sdl;
    XWindow x;
    Colormap colormap;
};

struct Adopted {
    SDL_Window* sdl;
    XWindow x;
};

struct State {
    Display* screenConnection =
        nullptr; // ours: SDL's connection is out of reach until a window exists
    Display* sdlDisplay = nullptr;
    int screen = 0, depth = 0;
    XWindow root = 0;
    int randrEvents = -1; // RandR's first event code; -1 without the extension
    std::vector<Monitor> monitors;
    std::vector<OtherScreenWindow> otherScreen;
    std::vector<Adopted> adopted;
    int (*previousError)(Display*, XErrorEvent*) = nullptr;
    int (*previousIoError)(Display*) = nullptr;
    bool probing = false, probeFailed = false;
};

std::unique_ptr<State>& slot() {
    static std::unique_ptr<State> s; // while the driver runs
    return s;
}

State& state() {
    return *slot();
}

// Bits a pixel takes as stored: 24 and 30 bits of depth take 32.
int storedBits(int depth) {
    return depth > 16 ? 32 : depth > 8 ? 16 : depth > 0 ? 8 : 0;
}

extern "C" int onConnectionLost(Display*) {
    posix::connectionLost("the X server");
}

// A window of another program may be gone by the time we draw into it; that is
// how a preview ends, not a reason to stop.
extern "C" int onXError(Display* display, XErrorEvent* e) {
    State& s = state();
    const bool adopted = std::any_of(s.adopted.begin(), s.adopted.end(),
                                     [e](const Adopted& a) { return a.x == e->resourceid; });
    if (s.probing || adopted) {
        s.probeFailed = true;
        return 0;
    }
    return s.previousError ? s.previousError(display, e) : 0;
}

// The X connection and window behind an SDL window; none for another driver's.
struct XHandles {
    Display* display = nullptr;
    XWindow window = 0;
};

XHandles xHandlesOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return XHandles{};
    return XHandles{info.info.x11.display, info.info.x11.window};
}

Display* displayOf(SDL_Window* window) {
    return xHandlesOf(window).display;
}

// SDL's own connection: a window must belong to it for SDL to hear the window
// manager's close request. SDL shows it only through a window of its own.
Display* sdlDisplay() {
    State& s = state();
    if (!s.sdlDisplay) {
        SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
        s.sdlDisplay = displayOf(probe);
        if (probe) SDL_DestroyWindow(probe);
    }
    return s.sdlDisplay;
}

int refreshOf(const XRRScreenResources* res, RRCrtc crtc, Display* d) {
    if (!crtc) return 0;
    XRRCrtcInfo* c = XRRGetCrtcInfo(d, const_cast<XRRScreenResources*>(res), crtc);
    if (!c) return 0;
    int hz = 0;
    for (int i = 0; i < res->nmode; ++i) {
        const XRRModeInfo& m = res->modes[i];
        if (m.id == c->mode && m.hTotal && m.vTotal)
            hz = int(double(m.dotClock) / (double(m.hTotal) * m.vTotal) + 0.5);
    }
    XRRFreeCrtcInfo(c);
    return hz;
}

// The screen's RandR monitors, the primary one first; the whole screen as one
// where the server defines none.
std::vector<Monitor> readMonitors() {
    State& s = state();
    std::vector<Monitor> out;
    int n = 0;
    XRRMonitorInfo* list =
        s.randrEvents >= 0 ? XRRGetMonitors(s.screenConnection, s.root, True, &n) : nullptr;
    XRRScreenResources* res =
        list ? XRRGetScreenResourcesCurrent(s.screenConnection, s.root) : nullptr;
    for (int i = 0; i < n; ++i) {
        const XRRMonitorInfo& r = list[i];
        Monitor m;
        char* name = XGetAtomName(s.screenConnection, r.name);
        m.name = name ? name : "";
        if (name) XFree(name);
        m.area = Area{r.x, r.y, r.width, r.height};
        m.bitsPerPixel = storedBits(s.depth);
        if (res && r.noutput > 0) {
            XRROutputInfo* o = XRRGetOutputInfo(s.screenConnection, res, r.outputs[0]);
            if (o) {
                const int hz = refreshOf(res, o->crtc, s.screenConnection);
                if (hz > 0) m.frequency = hz;
                XRRFreeOutputInfo(o);
            }
        }
        out.insert(r.primary ? out.begin() : out.end(), m);
    }
    if (res) XRRFreeScreenResources(res);
    if (list) XRRFreeMonitors(list);
    if (out.empty()) {
        Monitor m;
        m.name = "screen";
        m.area = Area{0, 0, DisplayWidth(s.screenConnection, s.screen),
                      DisplayHeight(s.screenConnection, s.screen)};
        m.bitsPerPixel = storedBits(s.depth);
        out.push_back(m);
    }
    return out;
}

bool usable(std::string& why) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        const char* name = XDisplayName(nullptr);
        why = name && *name ? std::string("cannot open display '") + name + "'"
                            : std::string("DISPLAY is not set");
        return false;
    }
    XCloseDisplay(d);
    return true;
}

void destroyX11Window(DriverWindow* window);

// Installs what loss and error handling needs, right after SDL's video
// started and before any window; stop undoes it before SDL's video stops.
void watchServer() {
    State& s = state();
    s.previousIoError = XSetIOErrorHandler(onConnectionLost);
    // SDL installed a handler of its own when it started; ours goes in front.
    s.previousError = XSetErrorHandler(onXError);
    s.screenConnection = XOpenDisplay(nullptr);
    if (!s.screenConnection) return;
    s.screen = DefaultScreen(s.screenConnection);
    s.root = RootWindow(s.screenConnection, s.screen);
    s.depth = DefaultDepth(s.screenConnection, s.screen);
    int errors = 0;
    if (XRRQueryExtension(s.screenConnection, &s.randrEvents, &errors)) {
        XRRSelectInput(s.screenConnection, s.root,
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                           RROutputChangeNotifyMask);
    } else {
        s.randrEvents = -1;
    }
    XSelectInput(s.screenConnection, s.root, StructureNotifyMask);
    XFlush(s.screenConnection);
    s.monitors = readMonitors();
    // For the windows SDL makes, always on the first screen: a visual of another
    // screen would fail there (createOnOtherScreen chooses its own).
    XVisualInfo visual;
    if (s.screen == 0 && s.depth < 24 &&
        XMatchVisualInfo(s.screenConnection, s.screen, s.depth, TrueColor, &visual)) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", visual.visualid);
        SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id);
    }
}

bool monitorsChanged() {
    State& s = state();
    if (!s.screenConnection) return false;
    bool told = false;
    while (XPending(s.screenConnection)) {
        XEvent e;
        XNextEvent(s.screenConnection, &e);
        if (s.randrEvents >= 0) XRRUpdateConfiguration(&e);
        told =
            told || e.type == ConfigureNotify ||
            (s.randrEvents >= 0 && e.type >= s.randrEvents && e.type <= s.randrEvents + RRNotify);
    }
    if (!told) return false;
    std::vector<Monitor> now = readMonitors();
    if (sameMonitors(now, s.monitors)) return false;
    s.monitors = std::move(now);
    return true;
}

void setAtoms(Display* d, XWindow w, const char* property, std::vector<const char*> names) {
    std::vector<Atom> atoms;
    for (const char* n : names)
        atoms.push_back(XInternAtom(d, n, False));
    XChangeProperty(d, w, XInternAtom(d, property, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
}

// Full screen and on top, or neither, for a window made here.
void setFullScreen(Display* d, XWindow w, bool on) {
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    if (a.map_state == IsUnmapped) {
        // Before it is mapped the window states it itself; the manager reads it then.
        if (on)
            setAtoms(d, w, "_NET_WM_STATE", {"_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE"});
        else
            XDeleteProperty(d, w, XInternAtom(d, "_NET_WM_STATE", False));
        return;
    }
    // Afterwards it asks the manager, through its own screen's root.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? 1 : 0; // add or remove
    e.xclient.data.l[1] = long(XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False));
    e.xclient.data.l[2] = long(XInternAtom(d, "_NET_WM_STATE_ABOVE", False));
    e.xclient.data.l[3] = 1; // from an application
    XSendEvent(d, a.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// What SDL_CreateWindow would make, on the screen DISPLAY names: the TrueColor
// visual below 24 bits, the properties a window manager reads, and the events
// SDL reads (it asks for none on a window it did not make).
SDL_Window* createOnOtherScreen(const char* title, const Area& f, std::uint32_t flags) {
    Display* d = sdlDisplay();
    if (!d) return nullptr;
    const State& s = state();
    const XWindow root = RootWindow(d, s.screen);
    XSetWindowAttributes a{};
    unsigned long mask = CWBackPixel | CWBorderPixel;
    Visual* visual = DefaultVisual(d, s.screen);
    XVisualInfo info;
    if (s.depth < 24 && XMatchVisualInfo(d, s.screen, s.depth, TrueColor, &info)) {
        visual = info.visual;
        a.colormap = XCreateColormap(d, root, visual, AllocNone); // freed with the window
        mask |= CWColormap;
    }
    a.background_pixel = 0; // black in a TrueColor visual
    const XWindow w = XCreateWindow(d, root, f.x, f.y, unsigned(f.w), unsigned(f.h), 0, s.depth,
                                    InputOutput, visual, mask, &a);
    XTextProperty name{};
    char* text = const_cast<char*>(title);
    Xutf8TextListToTextProperty(d, &text, 1, XUTF8StringStyle, &name);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XClassHint klass{program_invocation_short_name, program_invocation_short_name};
    XSetWMProperties(d, w, &name, &name, nullptr, 0, nullptr, &hints, &klass);
    if (name.value) XFree(name.value);
    const long pid = long(getpid());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    if (flags & SDL_WINDOW_BORDERLESS) {
        const long motif[5] = {2, 0, 0, 0, 0}; // decorations given, and none
        const Atom atom = XInternAtom(d, "_MOTIF_WM_HINTS", False);
        XChangeProperty(d, w, atom, atom, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(motif), 5);
    }
    Atom close = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &close, 1);
    XSelectInput(d, w,
                 KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                     PointerMotionMask | ExposureMask | StructureNotifyMask | FocusChangeMask |
                     EnterWindowMask | LeaveWindowMask | PropertyChangeMask);
    SDL_Window* sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(w));
    if (!sdl) {
        XDestroyWindow(d, w);
        if (mask & CWColormap) XFreeColormap(d, a.colormap);
        XFlush(d);
        return nullptr;
    }
    state().otherScreen.push_back(OtherScreenWindow{sdl, w, (mask & CWColormap) ? a.colormap : 0});
    setFullScreen(d, w, flags & SDL_WINDOW_FULLSCREEN_DESKTOP);
    XFlush(d);
    if (!(flags & SDL_WINDOW_HIDDEN)) SDL_ShowWindow(sdl);
    return sdl;
}

const OtherScreenWindow* otherScreenWindow(SDL_Window* window) {
    for (const OtherScreenWindow& m : state().otherScreen)
        if (m.sdl == window) return &m;
    return nullptr;
}

void destroyX11Window(DriverWindow* driverWin) {
    SDL_Window* window = sdlWindow(driverWin);
    if (!window) return;
    auto& windows = state().otherScreen;
    const auto it = std::find_if(windows.begin(), windows.end(),
                                 [window](const OtherScreenWindow& m) { return m.sdl == window; });
    SDL_DestroyWindow(window); // SDL leaves a window it did not make alone
    if (it == windows.end()) return;
    Display* d = state().sdlDisplay;
    XDestroyWindow(d, it->x);
    if (it->colormap) XFreeColormap(d, it->colormap);
    XFlush(d);
    windows.erase(it);
}

void placeX11Window(DriverWindow* driverWin, const Area& area, bool fullScreen) {
    SDL_Window* window = sdlWindow(driverWin);
    const XHandles x = xHandlesOf(window);
    Display* d = x.display;
    if (const OtherScreenWindow* m = otherScreenWindow(window)) {
        setFullScreen(d, m->x, fullScreen);
    } else {
        sdl::placeWindow(driverWin, area, fullScreen);
    }
    // On the server itself: SDL holds sizes back while a window is in
    // full-screen state, and without a window manager nobody else would fit it
    // to the monitor.
    if (!d) return;
    XMoveResizeWindow(d, x.window, area.x, area.y, unsigned(area.w), unsigned(area.h));
    XFlush(d);
}

// Whether `id` names a window, asked on a short-lived connection of our own so
// that a wrong id cannot end the program; 0 stands for the root window of the
// screen DISPLAY names, whose id it becomes.
bool probe(unsigned long& id) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    if (!id) id = RootWindow(d, DefaultScreen(d));
    State& s = state();
    s.probing = true;
    s.probeFailed = false;
    XWindowAttributes a;
    const bool exists = XGetWindowAttributes(d, XWindow(id), &a) != 0;
    XSync(d, False);
    XCloseDisplay(d);
    s.probing = false;
    return exists && !s.probeFailed;
}

DriverWindow* adoptedGone(const SDL_Event& e) {
    if (e.type != SDL_SYSWMEVENT || !e.syswm.msg || e.syswm.msg->subsystem != SDL_SYSWM_X11)
        return nullptr;
    const XEvent& x = e.syswm.msg->msg.x11.event;
    if (x.type != DestroyNotify) return nullptr;
    for (const Adopted& a : state().adopted)
        if (a.x == x.xdestroywindow.window) return driverWindow(a.sdl);
    return nullptr;
}

void quitReported() {} // only a lost connection ends SDL on X11, and Xlib reports that

int eventFds(int* fds, int most) {
    const State& s = state();
    int n = 0;
    for (Display* d : {s.sdlDisplay, s.screenConnection})
        if (d && n < most) fds[n++] = ConnectionNumber(d);
    return n;
}

// Xlib reads whatever came with a reply into its queue: no descriptor says so.
bool eventsQueued() {
    const State& s = state();
    for (Display* d : {s.sdlDisplay, s.screenConnection})
        if (d && XEventsQueued(d, QueuedAlready) > 0) return true;
    return false;
}

const Hooks kHooks = {monitorsChanged, adoptedGone, quitReported, eventFds, eventsQueued};

struct X11 : SdlDriver<kHooks> {
    static bool start(std::string& why) {
        if (!startOwn("x11", usable, why)) return false;
        slot() = std::make_unique<State>();
        watchServer();
        if (state().depth > 24) useRenderer(); // a 30-bit visual, which SDL cannot name
        return true;
    }

    static void stop() {
        State& s = state();
        while (!s.otherScreen.empty())
            destroyX11Window(driverWindow(s.otherScreen.back().sdl));
        if (s.screenConnection) XCloseDisplay(s.screenConnection);
        XSetErrorHandler(s.previousError);
        XSetIOErrorHandler(s.previousIoError);
        slot().reset();
        stopVideo();
    }

    static std::vector<Monitor> monitors() { return state().monitors; }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string& why) {
        State& s = state();
        const std::uint32_t flags = windowFlags(asked);
        SDL_Window* window = s.screen != 0 ? createOnOtherScreen(asked.title, asked.frame, flags)
                                           : plainWindow(asked.title, asked.frame, flags);
        if (window && !s.sdlDisplay) s.sdlDisplay = displayOf(window);
        return drawable(window, why, destroyX11Window);
    }

    static DriverWindow* adopt(unsigned long id) {
        if (!probe(id)) return nullptr;
        for (const Adopted& a : state().adopted)
            if (a.x == id) return driverWindow(a.sdl); // the same window, asked for again
        SDL_Window* sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(id));
        if (!sdl) return nullptr;
        state().adopted.push_back(Adopted{sdl, XWindow(id)});
        // SDL asks for no events on a window it did not make: sizes, exposure and
        // the window's end are needed to follow it.
        if (Display* d = displayOf(sdl)) {
            XSelectInput(d, XWindow(id), StructureNotifyMask | ExposureMask);
            XFlush(d);
            if (!state().sdlDisplay) state().sdlDisplay = d;
        }
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
        return driverWindow(sdl);
    }

    static void release(DriverWindow* driverWin) {
        SDL_Window* window = sdlWindow(driverWin);
        auto& adopted = state().adopted;
        const auto it = std::find_if(adopted.begin(), adopted.end(),
                                     [window](const Adopted& a) { return a.sdl == window; });
        if (it == adopted.end()) return;
        // Errors about what was sent to it until now still pass: they all arrive
        // before the round trip's reply.
        if (Display* d = displayOf(window)) XSync(d, False);
        SDL_DestroyWindow(window);
        adopted.erase(it);
    }

    static constexpr auto destroyWindow = destroyX11Window;
    static constexpr auto placeWindow = placeX11Window;
};

} // namespace

const Driver kX11 = driverTable<X11>("x11");

} // namespace tess::sdl
