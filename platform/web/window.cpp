// Window classes and the window: registration, creation, showing, painting,
// the cursor, and the host hooks through which the device context reaches the
// window's surface.

#include "platform/web/window.h"

#include "platform/host.h"
#include "platform/web/page.h"
#include "platform/web/present.h"

#include <memory>
#include <strings.h>
#include <vector>

namespace tess::web {
namespace {

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
};

struct Registry {
    std::vector<WindowClass> classes;
    std::unique_ptr<Window> window; // one canvas, one window
    std::uintptr_t nextHandle = 1;
    WORD nextAtom = 0xC000; // where Windows starts the atoms of registered classes
    int cursorCount = 0;    // ShowCursor's display counter: shown while >= 0
};

Registry& registry() {
    static Registry r;
    return r;
}

WindowClass* findClass(const char* name) {
    if (!name) return nullptr;
    for (WindowClass& c : registry().classes)
        if (strcasecmp(c.name.c_str(), name) == 0) return &c; // class names ignore case
    return nullptr;
}

Surface* surfaceOfWindow(HWND handle) {
    Window* w = findWindow(handle);
    return w ? &w->surface : nullptr;
}

// Windows gives a pop-up asked for CW_USEDEFAULT no size.
int sizeOrZero(int v) {
    return (v == CW_USEDEFAULT || v < 0) ? 0 : v;
}

} // namespace

Window* theWindow() {
    return registry().window.get();
}

Window* findWindow(HWND handle) {
    Window* w = theWindow();
    return (w && handle && w->handle == handle) ? w : nullptr;
}

LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(handle);
    return w ? w->proc(handle, message, wParam, lParam) : 0;
}

bool windowChanged() {
    const Window* w = theWindow();
    return w && w->visible && (w->needsFull || !w->surface.dirty.empty());
}

void presentWindow() {
    Window* w = theWindow();
    // A hidden window keeps collecting changes; shown again, it is put whole.
    if (!w || !w->visible) return;
    if (presentSurface(w->surface, w->needsFull)) presented();
    w->needsFull = false;
}

} // namespace tess::web

using namespace tess::web;

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName ||
        findClass(wc->lpszClassName))
        return 0;
    Registry& r = registry();
    r.classes.push_back(WindowClass{wc->lpszClassName, wc->lpfnWndProc, wc->hInstance});
    return r.nextAtom++;
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    Registry& r = registry();
    for (auto it = r.classes.begin(); it != r.classes.end(); ++it) {
        if (strcasecmp(it->name.c_str(), name ? name : "") != 0) continue;
        // A class with a live window stays registered, as on Windows.
        if (it->instance != instance ||
            (r.window && strcasecmp(r.window->className.c_str(), it->name.c_str()) == 0))
            return FALSE;
        r.classes.erase(it);
        return TRUE;
    }
    return FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD style, int, int, int width, int height,
                     HWND, HMENU, HINSTANCE, void*) {
    Registry& r = registry();
    const WindowClass* wc = findClass(className);
    width = sizeOrZero(width);
    height = sizeOrZero(height);
    // The page has one canvas, and no other program's window to be a child of.
    if (!wc || r.window || (style & WS_CHILD) || width > kMaxSide || height > kMaxSide)
        return nullptr;
    r.window = std::make_unique<Window>();
    Window& w = *r.window;
    w.handle = reinterpret_cast<HWND>(r.nextHandle++ << 4);
    w.proc = wc->proc;
    w.className = wc->name;
    w.surface = tess::Surface(width, height);
    tess::WindowHost host;
    host.surfaceOf = surfaceOfWindow; // presents follow the display's frames, not the copies
    host.procOf = [](HWND handle) {
        const Window* found = findWindow(handle);
        return found ? found->proc : WNDPROC(nullptr);
    };
    host.validated = [](HWND handle) {
        if (Window* found = findWindow(handle)) found->needsPaint = false;
    };
    pageSize(host.screenWidth, host.screenHeight);
    tess::setWindowHost(host);
    setCanvas(width, height, false);
    if (style & WS_VISIBLE) ShowWindow(w.handle, SW_SHOW);
    return w.handle;
}

BOOL ShowWindow(HWND handle, int showCommand) {
    Window* w = findWindow(handle);
    if (!w) return FALSE;
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    const bool show = showCommand != SW_HIDE;
    if (show && !w->visible) {
        w->needsPaint = true;
        w->needsFull = true;
    }
    w->visible = show;
    setCanvas(w->surface.width, w->surface.height, show);
    return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
    Window* w = findWindow(handle);
    if (!w) return FALSE;
    if (w->visible && w->needsPaint) sendMessage(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    Window* w = findWindow(handle);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->surface.width, w->surface.height};
    return TRUE;
}

// No window is closed from outside in a page: only painting needs an answer.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
    }
    return 0;
}

int ShowCursor(BOOL show) {
    int& count = registry().cursorCount;
    count += show ? 1 : -1;
    showPageCursor(count >= 0);
    return count;
}
