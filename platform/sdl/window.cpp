// The records behind HWND and window classes, where each window's SDL window
// goes, and the device context's hooks into the backing surfaces.

#include "platform/sdl/window.h"

#include "platform/host.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tess::sdl {
namespace {

struct Registry {
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<Adopted> adopted;
    std::uintptr_t nextHandle = 1;
    WORD nextAtom = 0xC000; // where Windows starts the atoms of registered classes
};

Registry& registry() {
    static Registry r;
    return r;
}

Surface* surfaceOfWindow(HWND handle) {
    Window* w = findWindow(handle);
    return w ? &w->surface : nullptr;
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
        if (w->sdl == sdlWindow && !w->parent) return w.get();
    }
    return nullptr;
}

Adopted* findAdopted(HWND handle) {
    for (Adopted& a : registry().adopted)
        if (handle && a.handle == handle) return &a;
    return nullptr;
}

Adopted* findAdopted(SDL_Window* sdlWindow) {
    for (Adopted& a : registry().adopted)
        if (sdlWindow && a.sdl == sdlWindow) return &a;
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

HWND newHandle() {
    return reinterpret_cast<HWND>(registry().nextHandle++ << 4);
}

void addWindow(std::unique_ptr<Window> w) {
    registry().windows.push_back(std::move(w));
    installHost();
}

void addAdopted(const Adopted& a) {
    registry().adopted.push_back(a);
}

void removeWindow(HWND handle) {
    Registry& r = registry();
    for (auto it = r.windows.begin(); it != r.windows.end(); ++it) {
        if ((*it)->handle != handle) continue;
        if (!(*it)->parent) backend().destroyWindow((*it)->sdl);
        r.windows.erase(it);
        return;
    }
    for (auto it = r.adopted.begin(); it != r.adopted.end(); ++it) {
        if (it->handle != handle) continue;
        backend().release(it->sdl);
        r.adopted.erase(it);
        return;
    }
}

const WindowClass* findClass(const char* name) {
    if (!name) return nullptr;
    for (const WindowClass& c : registry().classes) {
        if (SDL_strcasecmp(c.name.c_str(), name) == 0) return &c;
    }
    return nullptr;
}

WORD addClass(const WindowClass& c) {
    if (findClass(c.name.c_str())) return 0;
    Registry& r = registry();
    r.classes.push_back(c);
    return r.nextAtom++;
}

bool removeClass(const char* name, HINSTANCE instance) {
    Registry& r = registry();
    for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
        if (SDL_strcasecmp(it->name.c_str(), name ? name : "") != 0) continue;
        if (it->instance != instance) return false;
        for (auto& w : r.windows) {
            // A class with a live window stays registered, as on Windows.
            if (SDL_strcasecmp(w->className.c_str(), it->name.c_str()) == 0) return false;
        }
        r.classes.erase(it);
        return true;
    }
    return false;
}

LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(handle);
    if (!w || !w->proc) return 0;
    return w->proc(handle, message, wParam, lParam);
}

SDL_Rect areaOf(const Adopted& a) {
    SDL_Rect r{0, 0, 0, 0};
    SDL_GetWindowPosition(a.sdl, &r.x, &r.y);
    SDL_GetWindowSize(a.sdl, &r.w, &r.h); // as its owner last sized it
    return r;
}

SDL_Rect areaOf(const Window& w) {
    if (const Adopted* parent = findAdopted(w.parent)) return areaOf(*parent);
    if (w.covering) return homeMonitor().area;
    SDL_Rect r = frameOf(w);
    r.w = w.surface.width;
    r.h = w.surface.height;
    return r;
}

SDL_Rect frameOf(const Window& w) {
    if (displaySwitched()) return homeMonitor().area;
    const SDL_Point o = programOrigin();
    return SDL_Rect{o.x + w.x, o.y + w.y, std::max(w.surface.width, 1),
                    std::max(w.surface.height, 1)};
}

double refreshInterval(const Window& w) {
    return 1.0 / monitorUnder(areaOf(w)).frequency;
}

void layoutWindows() {
    installHost();
    const bool cover = displaySwitched();
    forEachWindow([cover](Window& w) {
        // A child stays in its parent; a window neither showing the switched
        // screen nor about to stays where its user put it.
        if (w.parent || (!cover && !w.covering)) return;
        backend().placeWindow(w.sdl, frameOf(w), cover);
        w.covering = cover;
        w.interval = refreshInterval(w);
        w.needsFull = true;
    });
}

void followSize(SDL_Window* sdl) {
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
    forEachWindow([&](Window& w) {
        if (w.sdl != sdl) return;
        w.needsFull = true;
        if (!w.parent && (!w.resizable || w.covering)) return; // shown fitted instead
        if (w.surface.width == width && w.surface.height == height) return;
        tess::Surface grown(width, height);
        for (int y = 0; y < height && y < w.surface.height; ++y)
            for (int x = 0; x < width && x < w.surface.width; ++x)
                grown.at(x, y) = w.surface.at(x, y);
        grown.touch(PixelRect{0, 0, width, height});
        w.surface = std::move(grown);
        sendMessage(w.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    });
}

void markShownIn(SDL_Window* sdl, bool paint) {
    forEachWindow([&](Window& w) {
        if (!sdl || w.sdl != sdl) return;
        w.needsFull = true;
        w.needsPaint = w.needsPaint || paint;
    });
}

void installHost() {
    WindowHost h;
    h.surfaceOf = surfaceOfWindow;
    h.procOf = [](HWND handle) {
        const Window* w = findWindow(handle);
        return w ? w->proc : WNDPROC(nullptr);
    };
    h.validated = [](HWND handle) {
        if (Window* w = findWindow(handle)) w->needsPaint = false;
    };
    const ScreenMode m = currentMode();
    if (m.width > 0 && m.height > 0) {
        h.screenWidth = m.width;
        h.screenHeight = m.height;
    }
    setWindowHost(h);
}

void destroyAllWindows() {
    Registry& r = registry();
    for (auto& w : r.windows) {
        if (!w->parent) backend().destroyWindow(w->sdl);
    }
    for (Adopted& a : r.adopted)
        backend().release(a.sdl);
    r = Registry{};
    setWindowHost(WindowHost{});
}

SDL_Window* sdlWindowOf(HWND handle) {
    if (const Adopted* a = findAdopted(handle)) return a->sdl;
    Window* w = findWindow(handle);
    return w ? w->sdl : nullptr;
}

} // namespace tess::sdl
