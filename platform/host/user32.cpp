// The USER32 entry points, each a thin layer over the registry (windows.h),
// the queue (queue.h), the display model (display.h), input (input.h) and
// the present (present.h).

#include "platform/faults.h"
#include "platform/host.h"
#include "platform/host/display.h"
#include "platform/host/input.h"
#include "platform/host/present.h"
#include "platform/host/queue.h"
#include "platform/host/windows.h"
#include "platform/win32.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace tess::host;

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

// The cursor where it is now, as the window's pointer events would give it.
void readCursor(const Window& w) {
    int x = 0, y = 0;
    if (!driver().cursorIn(w.shownIn, x, y)) return;
    int sx = 0, sy = 0;
    cursorOnScreen(w, x, y, sx, sy);
    setCursorPosition(sx, sy);
}

RECT intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Where a window's client area lies in the program's coordinates.
RECT clientOnScreen(const Window& w) {
    if (w.covering) return RECT{w.x, w.y, w.x + w.surface.width, w.y + w.surface.height};
    const tess::Area home = homeMonitor().area;
    const tess::Area a = areaOf(w);
    return RECT{a.x - home.x, a.y - home.y, a.x - home.x + a.w, a.y - home.y + a.h};
}

} // namespace

// The stock icon and cursor: distinct handles that stand for them.
HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    static int application;
    return (!instance && name == IDI_APPLICATION) ? reinterpret_cast<HICON>(&application) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    static int arrow;
    return (!instance && name == IDC_ARROW) ? reinterpret_cast<HCURSOR>(&arrow) : nullptr;
}

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
    if (!ready()) {
        static bool told = false;
        tellOnce(told, "no display could be opened", tess::hostFailure());
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
        w->shownIn = p->shown;
        w->interval = refreshInterval(*w);
        addWindow(std::move(w));
    } else {
        // The switched screen: full screen on the home monitor, as layoutWindows() puts it.
        w->covering = displaySwitched();
        w->resizable = (style & WS_THICKFRAME) != 0;
        tess::WindowSpec asked;
        asked.title = w->title.c_str();
        asked.frame = frameOf(*w);
        asked.clientW = width;
        asked.clientH = height;
        asked.borderless = (style & WS_POPUP) != 0;
        asked.resizable = w->resizable;
        asked.fullScreen = w->covering;
        std::string why;
        // A window nothing can be shown in is never made: the program never runs invisibly.
        w->shownIn = driver().createWindow(asked, why);
        if (!w->shownIn) {
            static bool told = false;
            tellOnce(told, "no window could be opened", why.c_str());
            return nullptr;
        }
        w->interval = refreshInterval(*w);
        readCursor(*w); // until the first pointer event says otherwise
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
    const bool own = !w->parent; // a child shows in its parent's driver window
    if (showCommand == SW_HIDE) {
        w->visible = false;
        if (own) driver().showWindow(w->shownIn, false, false);
        return wasVisible;
    }
    if (!w->visible) {
        w->visible = true;
        w->needsPaint = true;
        w->needsFull = true;
        // The switched screen takes the keyboard, as a full-screen window does.
        if (own) driver().showWindow(w->shownIn, true, displaySwitched());
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
        const tess::Area r = areaOf(*a);
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

BOOL IsIconic(HWND handle) {
    const Window* w = findWindow(handle);
    return w && w->visible && w->shownIn && !driver().seen(w->shownIn) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND handle, HWND, int x, int y, int width, int height, UINT flags) {
    Window* w = findWindow(handle);
    if (!w || w->parent) return FALSE; // a child fills its parent
    if (!(flags & SWP_NOSIZE)) {
        width = sizeOrZero(width);
        height = sizeOrZero(height);
        if (width > kMaxSide || height > kMaxSide) return FALSE;
    }
    if (!(flags & SWP_NOMOVE)) {
        w->x = x;
        w->y = y;
    }
    if (!(flags & SWP_NOSIZE)) resizeClient(*w, width, height);
    // The switched screen keeps its window over the home monitor.
    if (!w->covering) driver().placeWindow(w->shownIn, frameOf(*w), false);
    w->interval = refreshInterval(*w);
    w->needsFull = true;
    return TRUE;
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* w = findWindow(handle);
    if (!w || index != GWLP_USERDATA) return 0;
    const LONG_PTR previous = w->userData;
    w->userData = value;
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
    const Window* w = findWindow(handle);
    return w && index == GWLP_USERDATA ? w->userData : 0;
}

// Decorations belong to the window manager, outside the size the driver is given.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD) {
    return rect ? TRUE : FALSE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    if (!ready()) return 0;
    const Window* w = findWindow(owner);
    return driver().messageBox(w ? w->shownIn : nullptr, caption ? caption : "Error",
                               text ? text : "")
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

// No character messages: nothing in the program reads them.
BOOL TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    const UINT m = message->message;
    return (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP) ? TRUE
                                                                                        : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    return message ? sendMessage(message->hwnd, message->message, message->wParam, message->lParam)
                   : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
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

// A window's backing store keeps every pixel: there is never anything to erase.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    Window* w = findWindow(window);
    if (!w || !paint) return nullptr;
    *paint = PAINTSTRUCT{};
    paint->hdc = GetDC(window);
    paint->fErase = FALSE;
    paint->rcPaint = RECT{0, 0, w->surface.width, w->surface.height};
    w->needsPaint = false; // validated: WM_PAINT is no longer due
    return paint->hdc;
}

// What was painted shows at the next present, like any other drawing.
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (!paint || !findWindow(window)) return FALSE;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}

// One display device, the home monitor, with one mode: its own. A switch to any
// other is emulated, so there is no list to offer.
BOOL EnumDisplaySettingsA(LPCSTR device, DWORD modeNum, DEVMODEA* mode) {
    static const char kDevice[] = "\\\\.\\DISPLAY1";
    if (!mode || (device && std::strcmp(device, kDevice) != 0) || !ready() ||
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
    if (!ready() || tess::faultInjected(tess::Fault::DisplaySwitch)) return DISP_CHANGE_FAILED;
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
    const std::vector<RECT> monitors = programMonitors();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT r = monitors[i];
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
    for (const RECT& a : programMonitors()) {
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
