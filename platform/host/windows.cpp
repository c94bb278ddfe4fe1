// The records behind HWND and window classes, and where each window's driver
// window goes.

#include "platform/host/windows.h"

#include "platform/host/display.h"

#include <algorithm>
#include <strings.h>

namespace tess::host {

Window* findWindow(HWND handle) {
    if (!handle) return nullptr;
    for (auto& w : host().registry.windows)
        if (w->handle == handle) return w.get();
    return nullptr;
}

Window* findWindow(const DriverWindow* shown) {
    if (!shown) return nullptr;
    for (auto& w : host().registry.windows)
        if (w->shownIn == shown && !w->parent) return w.get();
    return nullptr;
}

Adopted* findAdopted(HWND handle) {
    for (Adopted& a : host().registry.adopted)
        if (handle && a.handle == handle) return &a;
    return nullptr;
}

Adopted* findAdopted(const DriverWindow* shown) {
    for (Adopted& a : host().registry.adopted)
        if (shown && a.shown == shown) return &a;
    return nullptr;
}

Window* firstWindow() {
    auto& ws = host().registry.windows;
    return ws.empty() ? nullptr : ws.front().get();
}

HWND newHandle() {
    return reinterpret_cast<HWND>(host().registry.nextHandle++ << 4);
}

Window& addWindow(std::unique_ptr<Window> w) {
    host().registry.windows.push_back(std::move(w));
    return *host().registry.windows.back();
}

HWND addAdopted(DriverWindow* shown) {
    const Adopted a{newHandle(), shown};
    host().registry.adopted.push_back(a);
    return a.handle;
}

void removeWindow(HWND handle) {
    Registry& r = host().registry;
    for (auto it = r.windows.begin(); it != r.windows.end(); ++it) {
        if ((*it)->handle != handle) continue;
        if (!(*it)->parent) driver().destroyWindow((*it)->shownIn);
        r.windows.erase(it);
        return;
    }
    for (auto it = r.adopted.begin(); it != r.adopted.end(); ++it) {
        if (it->handle != handle) continue;
        driver().release(it->shown);
        r.adopted.erase(it);
        return;
    }
}

void removeAllWindows() {
    Registry& r = host().registry;
    for (auto& w : r.windows)
        if (!w->parent) driver().destroyWindow(w->shownIn);
    for (Adopted& a : r.adopted)
        driver().release(a.shown);
    r.windows.clear();
    r.adopted.clear();
}

const WindowClass* findClass(const char* name) {
    if (!name) return nullptr;
    for (const WindowClass& c : host().registry.classes)
        if (strcasecmp(c.name.c_str(), name) == 0) return &c;
    return nullptr;
}

WORD addClass(const WindowClass& c) {
    if (findClass(c.name.c_str())) return 0;
    Registry& r = host().registry;
    r.classes.push_back(c);
    return r.nextAtom++;
}

bool removeClass(const char* name, HINSTANCE instance) {
    Registry& r = host().registry;
    for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
        if (strcasecmp(it->name.c_str(), name ? name : "") != 0) continue;
        if (it->instance != instance) return false;
        for (auto& w : r.windows) {
            // A class with a live window stays registered, as on Windows.
            if (strcasecmp(w->className.c_str(), it->name.c_str()) == 0) return false;
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

Area areaOf(const Adopted& a) {
    return driver().windowArea(a.shown); // as its owner last sized it
}

Area areaOf(const Window& w) {
    if (const Adopted* parent = findAdopted(w.parent)) return areaOf(*parent);
    if (w.covering) return homeMonitor().area;
    Area r = frameOf(w);
    r.w = w.surface.width;
    r.h = w.surface.height;
    return r;
}

Area frameOf(const Window& w) {
    if (displaySwitched()) return homeMonitor().area;
    const Area home = homeMonitor().area;
    return Area{home.x + w.x, home.y + w.y, std::max(w.surface.width, 1),
                std::max(w.surface.height, 1)};
}

double refreshInterval(const Window& w) {
    return 1.0 / monitorUnder(areaOf(w)).frequency;
}

void layoutWindows() {
    const bool cover = displaySwitched();
    forEachWindow([cover](Window& w) {
        // A child stays in its parent; a window neither showing the switched
        // screen nor about to stays where its user put it.
        if (w.parent || (!cover && !w.covering)) return;
        driver().placeWindow(w.shownIn, frameOf(w), cover);
        w.covering = cover;
        w.interval = refreshInterval(w);
        w.needsFull = true;
    });
}

void followSize(DriverWindow* shown) {
    const Area a = driver().windowArea(shown);
    if (a.w <= 0 || a.h <= 0 || a.w > kMaxSide || a.h > kMaxSide) return;
    forEachWindow([&](Window& w) {
        if (w.shownIn != shown) return;
        w.needsFull = true;
        if (!w.parent && (!w.resizable || w.covering)) return; // shown fitted instead
        resizeClient(w, a.w, a.h);
    });
}

void resizeClient(Window& w, int width, int height) {
    if (w.surface.width == width && w.surface.height == height) return;
    Surface grown(width, height);
    for (int y = 0; y < height && y < w.surface.height; ++y)
        for (int x = 0; x < width && x < w.surface.width; ++x)
            grown.at(x, y) = w.surface.at(x, y);
    grown.touch(PixelRect{0, 0, width, height});
    w.surface = std::move(grown);
    w.needsFull = true;
    sendMessage(w.handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

void followMove(DriverWindow* shown) {
    const Area a = driver().windowArea(shown);
    const Area home = homeMonitor().area;
    forEachWindow([&](Window& w) {
        if (w.shownIn != shown) return;
        // A switched screen keeps to the home monitor, a child to its parent.
        if (!w.parent && !w.covering) {
            w.x = a.x - home.x;
            w.y = a.y - home.y;
        }
        w.interval = refreshInterval(w);
    });
}

void markShownIn(const DriverWindow* shown, bool paint) {
    forEachWindow([&](Window& w) {
        if (!shown || w.shownIn != shown) return;
        w.needsFull = true;
        w.needsPaint = w.needsPaint || paint;
    });
}

} // namespace tess::host
