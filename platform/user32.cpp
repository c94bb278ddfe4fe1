// The USER32 calls every host answers alike, given its hooks: the stock icon
// and cursor, translating and dispatching messages, and painting (a window's
// backing store keeps every pixel, so there is never anything to erase).

#include "platform/host.h"

// The stock icon and cursor: distinct handles that stand for them.
HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    static int application;
    return (!instance && name == IDI_APPLICATION) ? reinterpret_cast<HICON>(&application) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    static int arrow;
    return (!instance && name == IDC_ARROW) ? reinterpret_cast<HCURSOR>(&arrow) : nullptr;
}

// No character messages: nothing in the program reads them.
BOOL TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    const UINT m = message->message;
    return (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP) ? TRUE
                                                                                        : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    const auto procOf = tess::windowHost().procOf;
    const WNDPROC proc = message && message->hwnd && procOf ? procOf(message->hwnd) : nullptr;
    return proc ? proc(message->hwnd, message->message, message->wParam, message->lParam) : 0;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    const tess::WindowHost& host = tess::windowHost();
    const tess::Surface* surface = host.surfaceOf ? host.surfaceOf(window) : nullptr;
    if (!surface || !paint) return nullptr;
    *paint = PAINTSTRUCT{};
    paint->hdc = GetDC(window);
    paint->fErase = FALSE;
    paint->rcPaint = RECT{0, 0, surface->width, surface->height};
    if (host.validated) host.validated(window);
    return paint->hdc;
}

// What was painted shows at the next present, like any other drawing.
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    const auto surfaceOf = tess::windowHost().surfaceOf;
    if (!paint || !surfaceOf || !surfaceOf(window)) return FALSE;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}
