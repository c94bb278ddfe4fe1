// The browser side of the host in C++: the keys through Emscripten's HTML5
// events, and thin calls into page.js for the rest.

#include "platform/web/page.h"

#include "platform/web/input.h"

#include <emscripten/html5.h>

#include <cstdlib>

// page.js; tess_web_wait is an Asyncify import (it suspends the program).
extern "C" {
int tess_web_wait(int milliseconds, int untilFrame);
void tess_web_wake(void);
void tess_web_canvas(int width, int height, int shown);
void tess_web_fit(int fitted);
void tess_web_cursor(int shown);
void tess_web_put(const void* rgba, int x, int y, int width, int height);
void tess_web_presented(void);
void tess_web_page_size(int* width, int* height);
char* tess_web_query(const char* name);
void tess_web_exit(int code);
}

namespace tess::web {
namespace {

struct Listeners {
    KeyListener key = nullptr;
    BlurListener blur = nullptr;
};

Listeners& listeners() {
    static Listeners l; // the page's handlers hold on to them
    return l;
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    if (const int vk = virtualKeyOf(e->code); vk && listeners().key) {
        listeners().key(vk, type == EMSCRIPTEN_EVENT_KEYDOWN, e->repeat, e->altKey);
        tess_web_wake(); // a program waiting for its next frame takes the key now
    }
    return EM_FALSE; // the browser keeps its own keys (reload, full screen, ...)
}

EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void*) {
    if (listeners().blur) listeners().blur();
    return EM_FALSE;
}

} // namespace

void listenToPage(KeyListener key, BlurListener blur) {
    if (listeners().key) return;
    listeners() = Listeners{key, blur};
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(page, nullptr, EM_TRUE, onKey);
    emscripten_set_blur_callback(page, nullptr, EM_TRUE, onBlur);
}

Woke sleepInPage(int milliseconds, bool untilFrame) {
    return static_cast<Woke>(tess_web_wait(milliseconds, untilFrame ? 1 : 0));
}

void setCanvas(int width, int height, bool shown) {
    tess_web_canvas(width, height, shown ? 1 : 0);
}

void fitCanvas(bool fitted) {
    tess_web_fit(fitted ? 1 : 0);
}

void showPageCursor(bool shown) {
    tess_web_cursor(shown ? 1 : 0);
}

void putPixels(const std::uint32_t* rgba, int x, int y, int width, int height) {
    tess_web_put(rgba, x, y, width, height);
}

void presented() {
    tess_web_presented();
}

void pageSize(int& width, int& height) {
    tess_web_page_size(&width, &height);
}

std::string queryValue(const char* name) {
    char* value = tess_web_query(name);
    if (!value) return std::string();
    std::string text(value);
    std::free(value);
    return text;
}

void showExit(int code) {
    tess_web_exit(code);
}

} // namespace tess::web
