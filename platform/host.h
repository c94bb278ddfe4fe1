// What a windowing host (the SDL2 layer, or none in headless tests) supplies to
// the device-context layer, and the input state it feeds in. Only surfaces and
// changed regions cross this line; the DC code never sees a window system.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

namespace tess {

struct WindowHost {
    // Backing store of a window, or null when the handle names no window.
    Surface* (*surfaceOf)(HWND window) = nullptr;
    // Pixels of `region` were copied into the window's backing store.
    void (*blitted)(HWND window, const PixelRect& region) = nullptr;
    // The window's procedure (null when the handle names none), for DispatchMessageA.
    WNDPROC (*procOf)(HWND window) = nullptr;
    // BeginPaint validated the window: WM_PAINT is no longer due.
    void (*validated)(HWND window) = nullptr;
    // Size of the screen that GetDC(NULL) stands for.
    int screenWidth = 1024;
    int screenHeight = 768;
};

void setWindowHost(const WindowHost& host);
const WindowHost& windowHost();

// Keyboard and cursor state as the host last saw it (nothing held, (0, 0) by default).
void setKeyDown(int virtualKey, bool down);
void setCursorPosition(int x, int y);

// A key change from the window system, as every host feeds it in: the key's
// state and, for a side's Shift, Ctrl or Alt, the shared code's while either
// side is held.
void noteKey(int virtualKey, bool down);
// Every held key released: the keyboard went elsewhere, and their key-ups with it
// (a held Enter would otherwise recolour forever).
void releaseKeys();

// The message Windows sends for a key change: a system key with Alt (that is how
// Alt+F4 reaches DefWindowProcA), the shared code for a side's modifier, and an
// lParam of repeat count 1, bit 29 with Alt, bit 30 when the key was already
// down, bit 31 on release.
struct KeyMessage {
    UINT message;
    WPARAM key;
    LPARAM param;
};
KeyMessage keyMessage(int virtualKey, bool down, bool repeat, bool alt);

} // namespace tess
