// The display switch in a page. The page is the desktop: switched, the canvas
// (the window at the mode's size) is shown as large as the page allows at its
// shape, centred on black, pixels kept square and sharp, as a monitor switched
// to that mode would fill its screen; returned, it shows at its own size.

#include "platform/web/page.h"
#include "platform/web/window.h"

#include "platform/win32.h"

#include <cstring>

namespace {

struct Mode {
    int width = 0, height = 0, bits = 32, frequency = 60;
};

struct Display {
    bool switched = false;
    Mode mode;
};

Display& display() {
    static Display d;
    return d;
}

Mode desktopMode() {
    Mode m;
    tess::web::pageSize(m.width, m.height);
    return m;
}

Mode currentMode() {
    return display().switched ? display().mode : desktopMode();
}

} // namespace

BOOL EnumDisplaySettingsA(LPCSTR device, DWORD modeNum, DEVMODEA* mode) {
    static const char kDevice[] = "\\\\.\\DISPLAY1"; // the one display there is
    if (!mode || (device && std::strcmp(device, kDevice) != 0)) return FALSE;
    // The current mode, and the desktop's as the stored one and the only one listed.
    if (modeNum != ENUM_CURRENT_SETTINGS && modeNum != ENUM_REGISTRY_SETTINGS && modeNum != 0)
        return FALSE;
    const Mode m = modeNum == ENUM_CURRENT_SETTINGS ? currentMode() : desktopMode();
    if (m.width <= 0 || m.height <= 0) return FALSE;
    std::memset(mode, 0, sizeof *mode);
    std::memcpy(mode->dmDeviceName, kDevice, sizeof kDevice);
    mode->dmSpecVersion = 0x0401;
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmFields =
        DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    mode->dmBitsPerPel = DWORD(m.bits);
    mode->dmPelsWidth = DWORD(m.width);
    mode->dmPelsHeight = DWORD(m.height);
    mode->dmDisplayFrequency = DWORD(m.frequency);
    return TRUE;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    Display& d = display();
    if (!mode) { // back to the stored mode: the page, which was never left
        d.switched = false;
        tess::web::fitCanvas(false);
        return DISP_CHANGE_SUCCESSFUL;
    }
    const Mode now = currentMode();
    // Fields the record does not mark keep their current values.
    const DWORD width = (mode->dmFields & DM_PELSWIDTH) ? mode->dmPelsWidth : DWORD(now.width);
    const DWORD height = (mode->dmFields & DM_PELSHEIGHT) ? mode->dmPelsHeight : DWORD(now.height);
    const DWORD bits = (mode->dmFields & DM_BITSPERPEL) ? mode->dmBitsPerPel : 32;
    // DWORD sizes: a negative width arrives huge and fails the same test.
    if (width == 0 || height == 0 || width > DWORD(tess::web::kMaxSide) ||
        height > DWORD(tess::web::kMaxSide) ||
        (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return DISP_CHANGE_BADMODE;
    if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
    d.mode = Mode{int(width), int(height), int(bits), now.frequency};
    d.switched = true;
    tess::web::fitCanvas(true);
    return DISP_CHANGE_SUCCESSFUL;
}
