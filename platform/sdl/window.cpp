// Window classes and windows: registration, creation and destruction, showing,
// painting, and the host hooks through which the device context reaches a
// window's backing surface.

#include "platform/sdl/window.h"

#include "platform/faults.h"
#include "platform/host.h"
#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/present.h"
#include "platform/sdl/video.h"
#include "platform/sdl/x11.h"

#include <SDL.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace tess::sdl {
namespace {

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
};

struct Registry {
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<Window>> windows;
    std::uintptr_t nextHandle = 1;
    WORD nextAtom = 0xC000; // where Windows starts the atoms of registered classes
    bool toldNoDisplay = false;
};

Registry& registry() {
    static Registry r;
    return r;
}

WindowClass* findClass(const char* name) {
    if (!name) return nullptr;
    for (WindowClass& c : registry().classes) {
        if (SDL_strcasecmp(c.name.c_str(), name) == 0) return &c; // class names ignore case
    }
    return nullptr;
}

// One line on stderr, once, whatever the program does next.
void tellOnce(bool& told, const char* what, const char* why) {
    if (told) return;
    told = true;
    std::fprintf(stderr, "%s: %s (%s)\n", program_invocation_short_name, what, why);
}

Surface* surfaceOfWindow(HWND handle) {
    Window* w = findWindow(handle);
    return w ? &w->surface : nullptr;
}

void presentBlit(HWND handle, const PixelRect&) {
    // The surface's own dirty list already holds the region and anything drawn
    // there before; the present takes both, when one is due.
    if (Window* w = findWindow(handle)) presentIfDue(*w);
}

void installHost() {
    WindowHost h;
    h.surfaceOf = surfaceOfWindow;
    h.blitted = presentBlit;
    const ScreenMode m = currentMode();
    if (m.width > 0 && m.height > 0) {
        h.screenWidth = m.width;
        h.screenHeight = m.height;
    }
    setWindowHost(h);
}

// Where the SDL window goes: over the whole desktop while the display is
// switched, else at the window's own place and size (SDL needs at least 1 x 1).
SDL_Rect sdlFrameOf(const Window& w) {
    if (displaySwitched()) {
        SDL_Rect r;
        desktopBounds(r.x, r.y, r.w, r.h);
        return r;
    }
    int bx, by, bw, bh;
    desktopBounds(bx, by, bw, bh);
    return SDL_Rect{bx + w.x, by + w.y, w.surface.width > 0 ? w.surface.width : 1,
                    w.surface.height > 0 ? w.surface.height : 1};
}

// Windows places a pop-up asked for CW_USEDEFAULT at 0 and gives it no size.
int placeOrZero(int v) {
    return v == CW_USEDEFAULT ? 0 : v;
}
int sizeOrZero(int v) {
    return (v == CW_USEDEFAULT || v < 0) ? 0 : v;
}

} // namespace

Window* findWindow(HWND handle) {
    if (!handle) return nullptr;
    for (auto& w : registry().windows) {
        if (w->handle == handle) return w.get();
    }
    return nullptr;
}

Window* findWindow(SDL_Window* sdlWindow) {
    if (!sdlWindow) return nullptr;
    for (auto& w : registry().windows) {
        if (w->sdl == sdlWindow) return w.get();
    }
    return nullptr;
}

Window* firstWindow() {
    auto& ws = registry().windows;
    return ws.empty() ? nullptr : ws.front().get();
}

int windowCount() {
    return int(registry().windows.size());
}

Window* windowAt(int index) {
    auto& ws = registry().windows;
    return (index >= 0 && index < int(ws.size())) ? ws[std::size_t(index)].get() : nullptr;
}

LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(handle);
    if (!w || !w->proc) return 0;
    return w->proc(handle, message, wParam, lParam);
}

void layoutWindows() {
    installHost();
    const bool cover = displaySwitched();
    forEachWindow([cover](Window& w) {
        // Another program's window is never moved; a window neither showing
        // the switched screen nor about to stays where its user put it.
        if (!w.sdl || w.foreign || (!cover && !w.covering)) return;
        const SDL_Rect r = sdlFrameOf(w);
        const bool ours = x11::setFullScreen(w.sdl, cover); // made on another screen
        if (!cover && !ours) SDL_SetWindowFullscreen(w.sdl, 0);
        SDL_SetWindowSize(w.sdl, r.w, r.h);
        SDL_SetWindowPosition(w.sdl, r.x, r.y);
        x11::place(w.sdl, r.x, r.y, r.w, r.h);
        // A full-screen window the window manager knows of: not movable, kept
        // above panels even when another window has the focus.
        if (!ours) SDL_SetWindowAlwaysOnTop(w.sdl, cover ? SDL_TRUE : SDL_FALSE);
        if (cover && !ours) SDL_SetWindowFullscreen(w.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
        w.covering = cover;
        w.interval = refreshInterval(w);
        w.needsFull = true;
        presentWindow(w);
    });
}

void followSize(SDL_Window* sdl) {
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
    forEachShowing(sdl, [&](Window& w) {
        if (!w.parent && (!w.resizable || w.covering)) return; // shown fitted instead
        if (w.surface.width == width && w.surface.height == height) return;
        tess::Surface grown(width, height);
        for (int y = 0; y < height && y < w.surface.height; ++y)
            for (int x = 0; x < width && x < w.surface.width; ++x)
                grown.at(x, y) = w.surface.at(x, y);
        grown.touch(PixelRect{0, 0, width, height});
        w.surface = std::move(grown);
        w.needsFull = true;
        sendMessage(w.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    });
}

void destroyAllWindows() {
    Registry& r = registry();
    for (auto& w : r.windows) {
        if (w->sdl) x11::destroyWindow(w->sdl);
    }
    r = Registry{};
    setWindowHost(WindowHost{});
}

SDL_Window* sdlWindowOf(HWND handle) {
    Window* w = findWindow(handle);
    return w ? w->sdl : nullptr;
}

SDL_Window* sdlShowing(const Window& w) {
    if (w.sdl) return w.sdl;
    const Window* parent = findWindow(w.parent);
    return parent ? parent->sdl : nullptr;
}

HWND addForeignWindow(SDL_Window* sdl) {
    Registry& r = registry();
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(r.nextHandle++ << 4);
    w->sdl = sdl;
    w->foreign = true;
    w->visible = true;
    HWND handle = w->handle;
    r.windows.push_back(std::move(w));
    installHost();
    catchTerminationSignals();
    return handle;
}

} // namespace tess::sdl

using namespace tess::sdl;

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName ||
        tess::faultInjected(tess::Fault::ClassRegistration))
        return 0;
    if (findClass(wc->lpszClassName)) return 0; // already registered
    Registry& r = registry();
    r.classes.push_back(WindowClass{wc->lpszClassName, wc->lpfnWndProc, wc->hInstance});
    return r.nextAtom++;
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    Registry& r = registry();
    for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
        if (SDL_strcasecmp(it->name.c_str(), name ? name : "") != 0) continue;
        if (it->instance != instance) return FALSE;
        for (auto& w : r.windows) {
            // A class with a live window stays registered, as on Windows.
            if (SDL_strcasecmp(w->className.c_str(), it->name.c_str()) == 0) return FALSE;
        }
        r.classes.erase(it);
        return TRUE;
    }
    return FALSE;
}

// The stock icon and cursor: distinct handles that stand for them.
HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    static int application;
    return (!instance && name == IDI_APPLICATION) ? reinterpret_cast<HICON>(&application) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    static int arrow;
    return (!instance && name == IDC_ARROW) ? reinterpret_cast<HCURSOR>(&arrow) : nullptr;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, void*) {
    Registry& r = registry();
    const WindowClass* wc = findClass(className);
    if (!wc || tess::faultInjected(tess::Fault::WindowCreation)) return nullptr;
    if (!videoReady()) {
        tellOnce(r.toldNoDisplay, "no display could be opened", noDisplayReason());
        return nullptr;
    }
    width = sizeOrZero(width);
    height = sizeOrZero(height);
    if (width > kMaxSide || height > kMaxSide) return nullptr;

    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(r.nextHandle++ << 4); // never reused: stale stays stale
    w->proc = wc->proc;
    w->className = wc->name;
    w->title = title ? title : "";
    w->x = placeOrZero(x);
    w->y = placeOrZero(y);
    w->surface = tess::Surface(width, height);

    if (style & WS_CHILD) {
        // A child fills another program's window (a screensaver's preview); the
        // host has no children inside its own windows.
        const Window* p = findWindow(parent);
        if (!p || !p->foreign) return nullptr;
        w->parent = parent;
        w->interval = refreshInterval(*w);
        HWND handle = w->handle;
        r.windows.push_back(std::move(w));
        installHost();
        if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
        return handle;
    }

    const SDL_Rect frame = sdlFrameOf(*w);
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    w->resizable = (style & WS_THICKFRAME) != 0;
    // The switched screen: full screen, as layoutWindows() puts it.
    w->covering = displaySwitched();
    if (w->covering) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP;
    w->sdl = createDrawableWindow(w->title.c_str(), frame.x, frame.y, frame.w, frame.h, flags);
    if (!w->sdl) {
        static bool told = false;
        tellOnce(told, "no window could be opened", SDL_GetError());
        return nullptr;
    }
    w->interval = refreshInterval(*w);
    HWND handle = w->handle;
    r.windows.push_back(std::move(w));
    installHost();
    catchTerminationSignals();
    applyCursorVisibility();
    int cursorX = 0, cursorY = 0; // until the first motion event says otherwise
    SDL_GetGlobalMouseState(&cursorX, &cursorY);
    noteCursor(cursorX, cursorY);
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    Window* w = findWindow(handle);
    if (!w) return FALSE;
    if (w->destroying) return TRUE; // asked again from its own WM_DESTROY
    w->destroying = true;
    sendMessage(handle, WM_DESTROY, 0, 0);
    // Children go with their parent, as on Windows.
    for (int i = windowCount() - 1; i >= 0; --i) {
        if (Window* c = windowAt(i); c && c->parent == handle) DestroyWindow(c->handle);
    }
    Registry& r = registry();
    for (auto it = r.windows.begin(); it != r.windows.end(); ++it) {
        if ((*it)->handle != handle) continue;
        if ((*it)->sdl) x11::destroyWindow((*it)->sdl);
        r.windows.erase(it);
        break;
    }
    dropMessagesFor(handle);
    return TRUE;
}

BOOL ShowWindow(HWND handle, int showCommand) {
    Window* w = findWindow(handle);
    if (!w || w->foreign) return FALSE; // another program's window is its own business
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        w->visible = false;
        if (w->sdl) SDL_HideWindow(w->sdl);
        return wasVisible;
    }
    if (!w->visible) {
        w->visible = true;
        w->needsPaint = true;
        w->needsFull = true;
        if (w->sdl) SDL_ShowWindow(w->sdl);
        // The switched screen takes the keyboard, as a full-screen window does.
        if (w->sdl && displaySwitched()) SDL_RaiseWindow(w->sdl);
        presentWindow(*w);
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
    Window* w = findWindow(handle);
    if (!w) return FALSE;
    if (w->visible && w->needsPaint) sendMessage(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    Window* w = findWindow(handle);
    if (!w || !rect) return FALSE;
    int width = w->surface.width, height = w->surface.height;
    if (w->foreign) SDL_GetWindowSize(w->sdl, &width, &height); // as its owner last sized it
    *rect = RECT{0, 0, width, height};
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return findWindow(handle) ? TRUE : FALSE;
}

// Decorations belong to the window manager, outside the size SDL is given.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD) {
    return rect ? TRUE : FALSE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    if (!videoReady()) return 0;
    const Window* w = findWindow(owner);
    SDL_Window* parent = w ? sdlShowing(*w) : nullptr;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "Error",
                                    text ? text : "", parent) == 0
               ? IDOK
               : 0;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* w = findWindow(handle);
    if (!w || !paint) return nullptr;
    *paint = PAINTSTRUCT{};
    paint->hdc = GetDC(handle);
    // The backing store keeps every pixel, so there is nothing to erase.
    paint->fErase = FALSE;
    paint->rcPaint = RECT{0, 0, w->surface.width, w->surface.height};
    w->needsPaint = false;
    return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    Window* w = findWindow(handle);
    if (!w || !paint) return FALSE;
    ReleaseDC(handle, paint->hdc);
    presentWindow(*w); // whatever was painted shows now
    return TRUE;
}
