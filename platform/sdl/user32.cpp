// The Win32 entry points of the host, on top of everything else: window
// classes and windows, messages, the display and its monitors, the cursor.
// Each is a thin layer over the registry (window.h), the queue (messages.h),
// the display model (display.h) and the lifecycle (lifecycle.h).

#include "platform/faults.h"
#include "platform/host.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/lifecycle.h"
#include "platform/sdl/messages.h"
#include "platform/sdl/present.h"
#include "platform/sdl/window.h"
#include "platform/win32.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace tess::sdl;

namespace {

// One line on stderr, once, whatever the program does next.
void tellOnce(bool& told, const char* what, const char* why) {
    if (told) return;
    told = true;
    std::fprintf(stderr, "%s: %s (%s)\n", program_invocation_short_name, what, why);
}

// Windows places a pop-up asked for CW_USEDEFAULT at 0 and gives it no size.
int placeOrZero(int v) {
    return v == CW_USEDEFAULT ? 0 : v;
}
int sizeOrZero(int v) {
    return (v == CW_USEDEFAULT || v < 0) ? 0 : v;
}

// An SDL window with a surface the present can draw into, or null with SDL's
// error saying why: a window nothing can be shown in is never made, so the
// program never runs invisibly.
SDL_Window* createDrawableWindow(const char* title, const SDL_Rect& frame, Uint32 flags) {
    SDL_Window* window = backend().createWindow(title, frame, flags);
    if (!window) return nullptr;
    SDL_ClearError(); // SDL may fail here without a word
    const SDL_Surface* s = SDL_GetWindowSurface(window);
    if (s && s->format->BytesPerPixel >= 2) return window;
    const char* error = SDL_GetError();
    std::string why = "no surface to draw into: ";
    if (s) {
        why += "8 bits per pixel";
    } else {
        why += *error ? error : "the video driver offers none";
    }
    backend().destroyWindow(window);
    SDL_SetError("%s", why.c_str());
    return nullptr;
}

// The cursor where it is now, as the window's motion events would give it.
void readCursor(const Window& w) {
    int gx = 0, gy = 0, wx = 0, wy = 0, x = 0, y = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(w.sdl, &wx, &wy);
    cursorOnScreen(w, gx - wx, gy - wy, x, y);
    tess::setCursorPosition(x, y);
}

RECT intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

RECT rectOf(const SDL_Rect& r) {
    return RECT{r.x, r.y, r.x + r.w, r.y + r.h};
}

// Where a window's client area lies in the program's coordinates.
RECT clientOnScreen(const Window& w) {
    if (w.covering) return RECT{w.x, w.y, w.x + w.surface.width, w.y + w.surface.height};
    const SDL_Point o = programOrigin();
    SDL_Rect a = areaOf(w);
    a.x -= o.x;
    a.y -= o.y;
    return rectOf(a);
}

} // namespace

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName ||
        tess::faultInjected(tess::Fault::ClassRegistration))
        return 0;
    return addClass(WindowClass{wc->lpszClassName, wc->lpfnWndProc, wc->hInstance});
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    return removeClass(name, instance) ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, void*) {
    const WindowClass* wc = findClass(className);
    if (!wc || tess::faultInjected(tess::Fault::WindowCreation)) return nullptr;
    if (!videoReady()) {
        static bool told = false;
        tellOnce(told, "no display could be opened", noDisplayReason());
        return nullptr;
    }
    width = sizeOrZero(width);
    height = sizeOrZero(height);
    if (width > kMaxSide || height > kMaxSide) return nullptr;

    auto w = std::make_unique<Window>();
    w->handle = newHandle();
    w->proc = wc->proc;
    w->className = wc->name;
    w->title = title ? title : "";
    w->x = placeOrZero(x);
    w->y = placeOrZero(y);
    w->surface = tess::Surface(width, height);
    const HWND handle = w->handle;

    if (style & WS_CHILD) {
        // A child fills another program's window (a screensaver's preview); the
        // host has no children inside its own windows.
        const Adopted* p = findAdopted(parent);
        if (!p) return nullptr;
        w->parent = parent;
        w->sdl = p->sdl;
        w->interval = refreshInterval(*w);
        addWindow(std::move(w));
    } else {
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
        if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        w->resizable = (style & WS_THICKFRAME) != 0;
        // The switched screen: full screen on the home monitor, as layoutWindows() puts it.
        w->covering = displaySwitched();
        if (w->covering) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP;
        w->sdl = createDrawableWindow(w->title.c_str(), frameOf(*w), flags);
        if (!w->sdl) {
            static bool told = false;
            tellOnce(told, "no window could be opened", SDL_GetError());
            return nullptr;
        }
        w->interval = refreshInterval(*w);
        readCursor(*w); // until the first motion event says otherwise
        addWindow(std::move(w));
        applyCursorVisibility();
    }
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    return destroyWindowTree(handle) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND handle, int showCommand) {
    Window* w = findWindow(handle); // another program's window is its own business
    if (!w) return FALSE;
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    const bool own = !w->parent; // a child shows in its parent's SDL window
    if (showCommand == SW_HIDE) {
        w->visible = false;
        if (own) SDL_HideWindow(w->sdl);
        return wasVisible;
    }
    if (!w->visible) {
        w->visible = true;
        w->needsPaint = true;
        w->needsFull = true;
        if (own) SDL_ShowWindow(w->sdl);
        // The switched screen takes the keyboard, as a full-screen window does.
        if (own && displaySwitched()) SDL_RaiseWindow(w->sdl);
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
    Window* w = findWindow(handle);
    if (!w) return findAdopted(handle) ? TRUE : FALSE;
    if (w->visible && w->needsPaint) sendMessage(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    if (!rect) return FALSE;
    if (const Adopted* a = findAdopted(handle)) {
        const SDL_Rect r = areaOf(*a);
        *rect = RECT{0, 0, r.w, r.h};
        return TRUE;
    }
    const Window* w = findWindow(handle);
    if (!w) return FALSE;
    *rect = RECT{0, 0, w->surface.width, w->surface.height};
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return (findWindow(handle) || findAdopted(handle)) ? TRUE : FALSE;
}

// Decorations belong to the window manager, outside the size SDL is given.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD) {
    return rect ? TRUE : FALSE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    if (!videoReady()) return 0;
    const Window* w = findWindow(owner);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "Error",
                                    text ? text : "", w ? w->sdl : nullptr) == 0
               ? IDOK
               : 0;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT low, UINT high, UINT remove) {
    if (!message) return FALSE;
    pump();
    return takeMessage(*message, window, low, high, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL, DWORD milliseconds,
                                DWORD) {
    if (count || handles) return WAIT_FAILED; // the host has no waitable objects
    return waitForMessage(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !findWindow(window)) return FALSE;
    postMessage(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    postQuit(exitCode);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (LPARAM(1) << 29))) sendMessage(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

// One display device, the home monitor, with one mode: its own. A switch to any
// other is emulated, so there is no list to offer.
BOOL EnumDisplaySettingsA(LPCSTR device, DWORD modeNum, DEVMODEA* mode) {
    static const char kDevice[] = "\\\\.\\DISPLAY1";
    if (!mode || (device && std::strcmp(device, kDevice) != 0) || !videoReady() ||
        tess::faultInjected(tess::Fault::DisplayQuery))
        return FALSE;
    ScreenMode m;
    if (modeNum == ENUM_CURRENT_SETTINGS) {
        m = currentMode();
    } else if (modeNum == ENUM_REGISTRY_SETTINGS || modeNum == 0) {
        m = desktopMode();
    } else {
        return FALSE;
    }
    if (m.width <= 0 || m.height <= 0) return FALSE;
    std::memset(mode->dmDeviceName, 0, sizeof mode->dmDeviceName);
    std::memcpy(mode->dmDeviceName, kDevice, sizeof kDevice);
    mode->dmSpecVersion = 0x0401;
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmDriverExtra = 0;
    mode->dmFields =
        DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    mode->dmBitsPerPel = DWORD(m.bitsPerPixel);
    mode->dmPelsWidth = DWORD(m.width);
    mode->dmPelsHeight = DWORD(m.height);
    mode->dmDisplayFlags = 0;
    mode->dmDisplayFrequency = DWORD(m.frequency);
    return TRUE;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    if (!mode) {
        // Back to the stored mode: the desktop, which was never left.
        if (displaySwitched()) {
            restoreDisplay();
            layoutWindows();
        }
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!videoReady() || tess::faultInjected(tess::Fault::DisplaySwitch)) return DISP_CHANGE_FAILED;
    const ScreenMode now = currentMode();
    // Fields the record does not mark keep their current values.
    const DWORD width = (mode->dmFields & DM_PELSWIDTH) ? mode->dmPelsWidth : DWORD(now.width);
    const DWORD height = (mode->dmFields & DM_PELSHEIGHT) ? mode->dmPelsHeight : DWORD(now.height);
    const DWORD bits = (mode->dmFields & DM_BITSPERPEL) ? mode->dmBitsPerPel : 32;
    const bool showable = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    // DWORD sizes: a negative width arrives huge and fails the same test.
    if (width == 0 || height == 0 || width > DWORD(kMaxSide) || height > DWORD(kMaxSide) ||
        !showable)
        return DISP_CHANGE_BADMODE;
    if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
    switchDisplay(ScreenMode{int(width), int(height), int(bits),
                             (mode->dmFields & DM_DISPLAYFREQUENCY) && mode->dmDisplayFrequency
                                 ? int(mode->dmDisplayFrequency)
                                 : now.frequency});
    layoutWindows();
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL EnumDisplayMonitors(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data) {
    if (!proc) return FALSE;
    const Window* w = hdc ? findWindow(WindowFromDC(hdc)) : nullptr;
    if (hdc && !w) return FALSE; // window DCs only
    const RECT area = w ? clientOnScreen(*w) : RECT{};
    const std::vector<SDL_Rect> monitors = programMonitors();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT r = rectOf(monitors[i]);
        if (w) {
            // The monitor's part of the window, from the window's corner.
            r = intersect(r, area);
            r = RECT{r.left - area.left, r.top - area.top, r.right - area.left,
                     r.bottom - area.top};
        }
        if (clip) r = intersect(r, *clip);
        if (r.left >= r.right || r.top >= r.bottom) continue;
        const HMONITOR monitor = reinterpret_cast<HMONITOR>(std::uintptr_t(i + 1));
        if (!proc(monitor, hdc, &r, data)) break;
    }
    return TRUE;
}

// The screen is the home monitor (or the switched screen over it); the virtual
// screen holds every monitor, from the home monitor's corner.
int GetSystemMetrics(int index) {
    const ScreenMode m = currentMode();
    RECT all{0, 0, 0, 0};
    for (const SDL_Rect& r : programMonitors()) {
        const RECT a = rectOf(r);
        all = RECT{std::min(all.left, a.left), std::min(all.top, a.top),
                   std::max(all.right, a.right), std::max(all.bottom, a.bottom)};
    }
    switch (index) {
    case SM_CXSCREEN:
        return m.width;
    case SM_CYSCREEN:
        return m.height;
    case SM_XVIRTUALSCREEN:
        return all.left;
    case SM_YVIRTUALSCREEN:
        return all.top;
    case SM_CXVIRTUALSCREEN:
        return all.right - all.left;
    case SM_CYVIRTUALSCREEN:
        return all.bottom - all.top;
    default:
        return 0;
    }
}

int ShowCursor(BOOL show) {
    return stepCursorCount(show ? 1 : -1);
}
