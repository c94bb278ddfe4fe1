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

} // namespace tess
