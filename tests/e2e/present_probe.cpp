// The SDL host on a real X server: a copy into a window right after a present
// waits for the next refresh, and then reaches the screen through the main
// loop's peeking alone. Prints what it found; exits 0 when the X window
// showed the copied pixels after two refresh intervals of PeekMessageA calls
// and not before.

#include "platform/sdl/window.h"
#include "platform/win32.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

// The X window's pixels that should show the copy's red block: how many do.
int redShown(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
    XImage* image =
        XGetImage(info.info.x11.display, info.info.x11.window, 8, 8, 16, 16, AllPlanes, ZPixmap);
    if (!image) return -1;
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            n += XGetPixel(image, x, y) == image->red_mask;
    XDestroyImage(image);
    return n;
}

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main() {
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = "probe";
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(0, "probe", "present probe", WS_POPUP, 0, 0, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
    if (!hwnd) return 2;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(screen, 64, 48));
    HBRUSH red = CreateSolidBrush(0x0000FF);
    const RECT block{8, 8, 24, 24};
    HDC window = GetDC(hwnd);

    ShowWindow(hwnd, SW_SHOW);
    MSG m;
    const double interval = tess::sdl::findWindow(hwnd)->interval;
    auto peekFor = [&](double s) {
        for (const double end = seconds() + s; seconds() < end;)
            PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    };
    peekFor(0.3); // mapped and exposed: nothing more comes from the server
    // A one-pixel copy presents at once (none is due); the block right after it
    // falls within the same refresh interval and has to wait.
    SetPixelV(window, 63, 47, 0xFFFFFF);
    BitBlt(window, 0, 0, 64, 48, memory, 0, 0, SRCCOPY);
    FillRect(memory, &block, red);
    BitBlt(window, 0, 0, 64, 48, memory, 0, 0, SRCCOPY);
    SDL_Window* sdl = tess::sdl::sdlWindowOf(hwnd);
    const int before = redShown(sdl);
    peekFor(2 * interval);
    const int after = redShown(sdl);
    std::printf("red pixels shown: %d right after the copy, %d after %.1f ms of peeking\n", before,
                after, 2000 * interval);

    ReleaseDC(hwnd, window);
    DeleteObject(SelectObject(memory, old));
    DeleteObject(red);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyWindow(hwnd);
    return before == 0 && after == 16 * 16 ? 0 : 1;
}
