// SDL windows with a surface to draw into, the present onto that surface in
// its own pixel layout (only the rectangles asked for), SDL's displays, the
// cursor and message boxes.

#include "platform/sdl/sdl_common.h"

#include <SDL.h>

namespace tess::sdl {
namespace {

PixelLayout layoutOf(const SDL_PixelFormat* f) {
    PixelLayout l;
    l.bytesPerPixel = f->BytesPerPixel;
    l.rShift = f->Rshift;
    l.gShift = f->Gshift;
    l.bShift = f->Bshift;
    l.rLoss = f->Rloss;
    l.gLoss = f->Gloss;
    l.bLoss = f->Bloss;
    l.alphaMask = f->Amask; // opaque
    return l;
}

// The window's surface when it is one the present can draw into.
SDL_Surface* drawableSurface(DriverWindow* window) {
    SDL_Surface* s = window ? SDL_GetWindowSurface(sdlWindow(window)) : nullptr;
    return s && s->format->BytesPerPixel >= 2 ? s : nullptr;
}

} // namespace

std::vector<Monitor> displays() {
    std::vector<Monitor> out;
    for (int i = 0, n = SDL_GetNumVideoDisplays(); i < n; ++i) {
        Monitor m;
        SDL_Rect r;
        SDL_DisplayMode mode;
        if (SDL_GetDisplayBounds(i, &r) != 0) continue;
        m.area = Area{r.x, r.y, r.w, r.h};
        const char* name = SDL_GetDisplayName(i);
        m.name = name ? name : std::to_string(i);
        if (SDL_GetCurrentDisplayMode(i, &mode) == 0) {
            if (mode.format != SDL_PIXELFORMAT_UNKNOWN)
                m.bitsPerPixel = int(SDL_BYTESPERPIXEL(mode.format)) * 8;
            if (mode.refresh_rate > 0) m.frequency = mode.refresh_rate;
        }
        out.push_back(m);
    }
    return out;
}

bool displaysChanged(std::vector<Monitor>& seen) {
    std::vector<Monitor> now = displays();
    if (sameMonitors(now, seen)) return false;
    seen.swap(now);
    return true;
}

std::uint32_t windowFlags(const WindowSpec& asked) {
    std::uint32_t flags = SDL_WINDOW_HIDDEN;
    if (asked.borderless) flags |= SDL_WINDOW_BORDERLESS;
    if (asked.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (asked.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

SDL_Window* plainWindow(const char* title, const Area& frame, std::uint32_t flags) {
    return SDL_CreateWindow(title, frame.x, frame.y, frame.w, frame.h, flags);
}

DriverWindow* drawable(SDL_Window* made, std::string& why, void (*destroy)(DriverWindow*)) {
    if (!made) {
        why = SDL_GetError();
        return nullptr;
    }
    SDL_ClearError(); // SDL may fail here without a word
    const SDL_Surface* s = SDL_GetWindowSurface(made);
    if (s && s->format->BytesPerPixel >= 2) return driverWindow(made);
    const char* error = SDL_GetError();
    why = "no surface to draw into: ";
    if (s) {
        why += "8 bits per pixel";
    } else {
        why += *error ? error : "the video driver offers none";
    }
    destroy(driverWindow(made));
    return nullptr;
}

void destroyWindow(DriverWindow* window) {
    SDL_DestroyWindow(sdlWindow(window));
}

void showWindow(DriverWindow* window, bool shown, bool raise) {
    SDL_Window* w = sdlWindow(window);
    if (!shown) {
        SDL_HideWindow(w);
        return;
    }
    SDL_ShowWindow(w);
    if (raise) SDL_RaiseWindow(w);
}

void placeWindow(DriverWindow* window, const Area& area, bool fullScreen) {
    SDL_Window* w = sdlWindow(window);
    if (!fullScreen) SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowSize(w, area.w, area.h);
    SDL_SetWindowPosition(w, area.x, area.y);
    // A full-screen window the window manager knows of: not movable, kept
    // above panels even when another window has the focus.
    SDL_SetWindowAlwaysOnTop(w, fullScreen ? SDL_TRUE : SDL_FALSE);
    if (fullScreen) SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

Area windowArea(DriverWindow* window) {
    Area a;
    SDL_GetWindowPosition(sdlWindow(window), &a.x, &a.y);
    SDL_GetWindowSize(sdlWindow(window), &a.w, &a.h);
    return a;
}

bool seen(DriverWindow* window) {
    return !(SDL_GetWindowFlags(sdlWindow(window)) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN));
}

void drawableSize(DriverWindow* window, int& width, int& height) {
    const SDL_Surface* s = drawableSurface(window);
    width = s ? s->w : 0;
    height = s ? s->h : 0;
}

void present(DriverWindow* window, const Surface& surface, const Placement& placement,
             const PixelRect* rects, int count) {
    SDL_Surface* s = drawableSurface(window);
    if (!s || count <= 0) return;
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
    Target t{s->pixels, s->pitch, s->w, s->h, layoutOf(s->format)};
    SDL_Rect shown[DirtyRegion::kMax];
    int n = 0;
    for (int i = 0; i < count && n < DirtyRegion::kMax; ++i) {
        scaleInto(surface, placement, rects[i], t, common().scratch);
        shown[n++] = SDL_Rect{rects[i].x0, rects[i].y0, rects[i].x1 - rects[i].x0,
                              rects[i].y1 - rects[i].y0};
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_UpdateWindowSurfaceRects(sdlWindow(window), shown, n);
    common().presented = true; // its reply may have brought events along
}

void showCursor(bool shown) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

bool cursorIn(DriverWindow* window, int& x, int& y) {
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(sdlWindow(window), &wx, &wy);
    x = gx - wx;
    y = gy - wy;
    return true;
}

bool messageBox(DriverWindow* owner, const char* caption, const char* text) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, sdlWindow(owner)) ==
           0;
}

DriverWindow* adoptNothing(unsigned long) {
    return nullptr;
}

void releaseNothing(DriverWindow*) {}

DriverWindow* noneGone(const SDL_Event&) {
    return nullptr;
}

} // namespace tess::sdl
