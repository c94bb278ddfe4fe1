// Adopting X windows of other programs: a check that the window exists (on a
// connection of our own, so a wrong id cannot end the program), SDL's adoption,
// the events we ask the X server for, and an X error handler that lets errors
// about those windows pass.

#include "platform/sdl/foreign.h"

#include "platform/sdl/video.h"
#include "platform/sdl/window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstring>
#include <vector>

namespace tess::sdl {
namespace {

struct Adopted {
    unsigned long xid;
    HWND handle;
};

struct Foreign {
    std::vector<Adopted> windows;
    std::vector<unsigned long> known; // every id ever adopted: errors about them pass
    int (*previous)(Display*, XErrorEvent*) = nullptr;
    bool handlerInstalled = false;
    bool probing = false;
    bool probeFailed = false;
};

Foreign& foreign() {
    static Foreign f;
    return f;
}

bool known(unsigned long id) {
    for (unsigned long k : foreign().known)
        if (k == id) return true;
    return false;
}

extern "C" int onXError(Display* display, XErrorEvent* e) {
    Foreign& f = foreign();
    // A window of another program may be gone by the time we draw into it; that
    // is how a preview ends, not a reason to stop.
    if (f.probing || known(e->resourceid)) {
        f.probeFailed = true;
        return 0;
    }
    return f.previous ? f.previous(display, e) : 0;
}

// SDL installs a handler of its own when it starts; ours goes in front of it.
void installErrorHandler() {
    Foreign& f = foreign();
    if (f.handlerInstalled) return;
    f.handlerInstalled = true;
    f.previous = XSetErrorHandler(onXError);
}

bool onX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "x11") == 0;
}

// Whether `xid` names a window, asked on a short-lived connection of our own;
// with `root`, the root window of the default screen is put there first.
bool probe(unsigned long& xid, bool root) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    if (root) xid = RootWindow(d, DefaultScreen(d));
    Foreign& f = foreign();
    f.probing = true;
    f.probeFailed = false;
    XWindowAttributes a;
    const bool exists = xid != 0 && XGetWindowAttributes(d, ::Window(xid), &a) != 0;
    XSync(d, False);
    XCloseDisplay(d);
    f.probing = false;
    return exists && !f.probeFailed;
}

HWND adopt(unsigned long xid, bool root) {
    if (!videoReady() || !onX11()) return nullptr;
    installErrorHandler();
    if (!probe(xid, root)) return nullptr;
    for (const Adopted& a : foreign().windows)
        if (a.xid == xid) return a.handle;
    foreign().known.push_back(xid);
    SDL_Window* sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(xid));
    if (!sdl) return nullptr;
    // SDL asks for no events on a window it did not make: sizes, exposure and
    // the window's end are needed to follow it.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdl, &info) && info.subsystem == SDL_SYSWM_X11) {
        XSelectInput(info.info.x11.display, ::Window(xid), StructureNotifyMask | ExposureMask);
        XFlush(info.info.x11.display);
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    const HWND handle = addForeignWindow(sdl);
    foreign().windows.push_back(Adopted{xid, handle});
    return handle;
}

} // namespace

HWND adoptForeignWindow(unsigned long xid) {
    return adopt(xid, false);
}

HWND adoptRootWindow() {
    return adopt(0, true);
}

void foreignWindowEvent(const SDL_Event& e) {
    if (e.type != SDL_SYSWMEVENT || !e.syswm.msg || e.syswm.msg->subsystem != SDL_SYSWM_X11) return;
    const XEvent& x = e.syswm.msg->msg.x11.event;
    if (x.type != DestroyNotify) return;
    auto& ws = foreign().windows;
    for (auto it = ws.begin(); it != ws.end(); ++it) {
        if (it->xid != x.xdestroywindow.window) continue;
        const HWND handle = it->handle;
        ws.erase(it);
        DestroyWindow(handle);
        return;
    }
}

} // namespace tess::sdl
