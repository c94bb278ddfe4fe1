// Display modes as the program sees them. A switch only records the mode and
// lays the windows out over the desktop: the real mode is never touched, so a
// crash or a kill cannot leave the desktop at the wrong resolution.

#include "platform/sdl/display.h"

#include "platform/faults.h"
#include "platform/sdl/video.h"
#include "platform/sdl/window.h"
#include "platform/sdl/x11.h"
#include "platform/win32.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace tess::sdl {
namespace {

struct DisplayState {
    bool switched = false;
    ScreenMode mode;
};

DisplayState& state() {
    static DisplayState s;
    return s;
}

// Bits a pixel takes as stored: 24 and 30 bits of depth take 32.
int storedBits(int depth) {
    return depth > 16 ? 32 : depth > 8 ? 16 : depth > 0 ? 8 : 0;
}

ScreenMode fromSdl(const SDL_DisplayMode& m) {
    ScreenMode s;
    s.width = m.w;
    s.height = m.h;
    // SDL names no format for some desktops (30 bits, 8-bit palettes): ask X.
    s.bitsPerPixel = m.format != SDL_PIXELFORMAT_UNKNOWN ? int(SDL_BYTESPERPIXEL(m.format)) * 8
                                                         : storedBits(x11::depth());
    s.frequency = m.refresh_rate > 0 ? m.refresh_rate : 60;
    return s;
}

bool showableDepth(DWORD bits) {
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Each monitor in SDL's global coordinates; a switched display is one monitor.
std::vector<SDL_Rect> monitorRects() {
    std::vector<SDL_Rect> rects;
    if (displaySwitched()) {
        int x, y, w, h;
        desktopBounds(x, y, w, h);
        rects.push_back(SDL_Rect{x, y, state().mode.width, state().mode.height});
        return rects;
    }
    for (int i = 0, n = videoReady() ? SDL_GetNumVideoDisplays() : 0; i < n; ++i) {
        SDL_Rect r;
        if (SDL_GetDisplayBounds(i, &r) == 0) rects.push_back(r);
    }
    return rects;
}

// Where a window's client area lies, in SDL's global coordinates (a child fills
// its parent from the parent's corner).
bool clientOnDesktop(HWND handle, SDL_Rect& out) {
    const Window* w = findWindow(handle);
    if (!w) return false;
    out = SDL_Rect{0, 0, w->surface.width, w->surface.height};
    if (displaySwitched() && !w->parent) {
        int dx, dy, dw, dh;
        desktopBounds(dx, dy, dw, dh);
        out.x = dx + w->x;
        out.y = dy + w->y;
    } else if (SDL_Window* shown = sdlShowing(*w)) {
        SDL_GetWindowPosition(shown, &out.x, &out.y);
    }
    return true;
}

RECT intersect(const RECT& a, const RECT& b) {
    return RECT{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

} // namespace

Fit fitScreen(int sw, int sh, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return Fit{0, 0, 0, 0};
    long long w, h;
    if (static_cast<long long>(sw) * dh > static_cast<long long>(sh) * dw) {
        w = dw; // wider than the desktop's shape: full width
        h = static_cast<long long>(sh) * dw / sw;
    } else {
        h = dh;
        w = static_cast<long long>(sw) * dh / sh;
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    return Fit{int(w), int(h), int((dw - w) / 2), int((dh - h) / 2)};
}

ScreenMode desktopMode() {
    SDL_DisplayMode m;
    if (!videoReady() || SDL_GetDesktopDisplayMode(0, &m) != 0) return ScreenMode{0, 0, 0, 0};
    ScreenMode s = fromSdl(m);
    x11::desktopSize(s.width, s.height); // SDL keeps the size it saw at start-up
    return s;
}

ScreenMode currentMode() {
    return state().switched ? state().mode : desktopMode();
}

bool displaySwitched() {
    return state().switched;
}

void desktopBounds(int& x, int& y, int& w, int& h) {
    SDL_Rect r{0, 0, 0, 0};
    if (videoReady() && !x11::desktopSize(r.w, r.h)) SDL_GetDisplayBounds(0, &r);
    x = r.x;
    y = r.y;
    w = r.w;
    h = r.h;
}

void resetDisplay() {
    state() = DisplayState{};
}

} // namespace tess::sdl

using namespace tess::sdl;

BOOL EnumDisplaySettingsA(LPCSTR device, DWORD modeNum, DEVMODEA* mode) {
    static const char kDevice[] = "\\\\.\\DISPLAY1"; // the one display there is
    if (!mode || (device && std::strcmp(device, kDevice) != 0) || !videoReady() ||
        tess::faultInjected(tess::Fault::DisplayQuery))
        return FALSE;
    ScreenMode m;
    if (modeNum == ENUM_CURRENT_SETTINGS) {
        m = currentMode();
    } else if (modeNum == ENUM_REGISTRY_SETTINGS) {
        m = desktopMode();
    } else {
        SDL_DisplayMode sm;
        if (modeNum >= DWORD(SDL_GetNumDisplayModes(0)) || SDL_GetDisplayMode(0, int(modeNum), &sm))
            return FALSE;
        m = fromSdl(sm);
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
    DisplayState& s = state();
    if (!mode) {
        // Back to the stored mode: the desktop, which was never left.
        if (s.switched) {
            s.switched = false;
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
    // DWORD sizes: a negative width arrives huge and fails the same test.
    if (width == 0 || height == 0 || width > DWORD(kMaxSide) || height > DWORD(kMaxSide) ||
        !showableDepth(bits))
        return DISP_CHANGE_BADMODE;
    if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
    s.mode = ScreenMode{int(width), int(height), int(bits),
                        (mode->dmFields & DM_DISPLAYFREQUENCY) && mode->dmDisplayFrequency
                            ? int(mode->dmDisplayFrequency)
                            : now.frequency};
    s.switched = true;
    layoutWindows();
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL EnumDisplayMonitors(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data) {
    if (!proc) return FALSE;
    SDL_Rect area{0, 0, 0, 0};
    const HWND window = hdc ? WindowFromDC(hdc) : nullptr;
    if (hdc && (!window || !clientOnDesktop(window, area))) return FALSE; // window DCs only
    const std::vector<SDL_Rect> monitors = monitorRects();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const SDL_Rect& m = monitors[i];
        RECT r{m.x, m.y, m.x + m.w, m.y + m.h};
        if (hdc) {
            // The monitor's part of the window, from the window's corner.
            r = intersect(r, RECT{area.x, area.y, area.x + area.w, area.y + area.h});
            r = RECT{r.left - area.x, r.top - area.y, r.right - area.x, r.bottom - area.y};
        }
        if (clip) r = intersect(r, *clip);
        if (r.left >= r.right || r.top >= r.bottom) continue;
        const HMONITOR monitor = reinterpret_cast<HMONITOR>(std::uintptr_t(i + 1));
        if (!proc(monitor, hdc, &r, data)) break;
    }
    return TRUE;
}

// The screen the program sees, switched or not; one display, at the origin.
int GetSystemMetrics(int index) {
    const ScreenMode m = currentMode();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return m.width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return m.height;
    default:
        return 0;
    }
}
