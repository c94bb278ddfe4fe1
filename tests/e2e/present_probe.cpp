// The SDL host on a real X server. Prints what it found; exits 0 when all holds.
//   present_probe        a copy into a window right after a present waits for
//                        the next refresh, and then reaches the screen through
//                        the main loop's peeking alone: the X window shows it
//                        after two refresh intervals of PeekMessageA, not before
//   present_probe adopt  an X window of another client, adopted, then adopted
//                        again after a host restart: the second handle is live
//                        (a child fills it and shows a copy), and when the
//                        window is destroyed under the drawing the program goes
//                        on (errors about it pass) and the handles go with it
//   present_probe windows N
//                        N windows made, shown and destroyed one after the
//                        other; then it waits, holding nothing, until SIGTERM
//                        ends it (for the script to count what the server holds)

#include "platform/host.h"
#include "platform/host/windows.h"
#include "platform/sdl/sdl_common.h"
#include "platform/win32.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

// The X window's pixels that should show the copy's red block: how many do.
int redShown(Display* display, ::Window window) {
    XImage* image = XGetImage(display, window, 8, 8, 16, 16, AllPlanes, ZPixmap);
    if (!image) return -1;
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            n += XGetPixel(image, x, y) == image->red_mask;
    XDestroyImage(image);
    return n;
}

int redShown(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
    return redShown(info.info.x11.display, info.info.x11.window);
}

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void registerProbe() {
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = "probe";
    RegisterClassExA(&wc);
}

void peekFor(double s) {
    MSG m;
    for (const double end = seconds() + s; seconds() < end;)
        PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
}

// A child filling `parent`, with the red block copied into it.
HWND redChild(HWND parent) {
    HWND child = CreateWindowExA(0, "probe", "child", WS_CHILD | WS_VISIBLE, 0, 0, 64, 48, parent,
                                 nullptr, nullptr, nullptr);
    if (!child) return nullptr;
    HDC dc = GetDC(child);
    HBRUSH red = CreateSolidBrush(0x0000FF);
    const RECT block{8, 8, 24, 24};
    FillRect(dc, &block, red);
    DeleteObject(red);
    ReleaseDC(child, dc);
    return child;
}

int adoptAgain() {
    Display* other = XOpenDisplay(nullptr); // the other client
    if (!other) return 2;
    const ::Window x = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 64, 48, 0, 0, 0);
    XMapWindow(other, x);
    XSync(other, False);
    registerProbe();
    const HWND first = tess::adoptWindow(x);
    const bool drewFirst = redChild(first) != nullptr;
    tess::shutdownHost();
    registerProbe();
    const HWND again = tess::adoptWindow(x);
    RECT r{};
    const bool live = again && IsWindow(again) && GetClientRect(again, &r) && r.right == 64;
    const HWND child = live ? redChild(again) : nullptr;
    peekFor(0.3);
    const int shown = redShown(other, x);
    // Gone under the drawing: the next copies meet a window that no longer exists.
    XDestroyWindow(other, x);
    XSync(other, False);
    for (const double end = seconds() + 0.3; seconds() < end;) {
        if (HDC dc = GetDC(child)) {
            SetPixelV(dc, 1, 1, 0x00FF00);
            ReleaseDC(child, dc);
        }
        peekFor(0.01);
    }
    const bool gone = !IsWindow(again) && !IsWindow(child);
    std::printf("adopted: %s; after a restart %s, a child shows %d of 256 red pixels; destroyed, "
                "the handles are %s\n",
                first && drewFirst ? "drawn into" : "refused", live ? "live" : "not live", shown,
                gone ? "gone" : "still there");
    tess::shutdownHost();
    XCloseDisplay(other);
    return first && drewFirst && live && shown == 256 && gone ? 0 : 1;
}

int windowsMadeAndDestroyed(int count) {
    registerProbe();
    for (int i = 0; i < count; ++i) {
        HWND hwnd = CreateWindowExA(0, "probe", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48,
                                    nullptr, nullptr, nullptr, nullptr);
        if (!hwnd) return 2;
        peekFor(0.02);
        DestroyWindow(hwnd);
    }
    std::printf("windows made and destroyed: %d\n", count);
    std::fflush(stdout);
    MSG m;
    for (;;) { // with no window left, SIGTERM quits
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && m.message == WM_QUIT) break;
    }
    tess::shutdownHost();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "windows") == 0)
        return windowsMadeAndDestroyed(std::atoi(argv[2]));
    if (argc > 1) return std::strcmp(argv[1], "adopt") == 0 ? adoptAgain() : 2;
    registerProbe();
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
    const double interval = tess::host::findWindow(hwnd)->interval;
    peekFor(0.3); // mapped and exposed: nothing more comes from the server
    // A one-pixel copy presents at the next peek (none is due); the block right
    // after it falls within the same refresh interval and has to wait.
    SetPixelV(window, 63, 47, 0xFFFFFF);
    BitBlt(window, 0, 0, 64, 48, memory, 0, 0, SRCCOPY);
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    FillRect(memory, &block, red);
    BitBlt(window, 0, 0, 64, 48, memory, 0, 0, SRCCOPY);
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    SDL_Window* sdl = tess::sdl::sdlWindow(tess::host::findWindow(hwnd)->shownIn);
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
