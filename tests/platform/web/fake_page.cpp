// The fake page, and the host tests' desktop on the browser driver over it.

#include "fake_page.h"

#include "platform/web/page.h"
#include "support/host_desktop.h"

#include <chrono>
#include <thread>

namespace fakepage {
namespace {

struct Listeners {
    tess::web::KeyListener key = nullptr;
    tess::web::BlurListener blur = nullptr;
};

Listeners& listeners() {
    static Listeners l;
    return l;
}

} // namespace

Page& page() {
    static Page p;
    return p;
}

void reset() {
    page() = Page{};
}

void blur() {
    if (listeners().blur) listeners().blur();
}

} // namespace fakepage

namespace tess::web {

void listenToPage(KeyListener onKey, BlurListener onBlur) {
    if (fakepage::listeners().key) return;
    fakepage::listeners() = fakepage::Listeners{onKey, onBlur};
}

// A display frame comes at once; a timed sleep takes its time.
Woke sleepInPage(int milliseconds, bool untilFrame) {
    if (untilFrame) return Woke::Frame;
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return Woke::Timeout;
}

void setCanvas(int width, int height, bool shown) {
    fakepage::page().canvasW = width;
    fakepage::page().canvasH = height;
    fakepage::page().canvasShown = shown;
}

void fitCanvas(bool fitted) {
    fakepage::page().fitted = fitted;
}

void showPageCursor(bool shown) {
    fakepage::page().cursorShown = shown;
}

void putPixels(const std::uint32_t* rgba, int x, int y, int width, int height) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(rgba);
    fakepage::page().puts.push_back(
        fakepage::Put{x, y, width, height,
                      std::vector<unsigned char>(bytes, bytes + std::size_t(width) * height * 4)});
}

void presented() {
    ++fakepage::page().presents;
}

void pageSize(int& width, int& height) {
    width = 1024;
    height = 768;
}

std::string queryValue(const char* name) {
    return std::string(name) == "res" ? "c" : "";
}

void showExit(int code) {
    fakepage::page().exitCode = code;
}

} // namespace tess::web

void resetTestDesktop() {
    fakepage::reset();
}

// The browser hands a key to the page's listener as it comes.
void pressKey(HWND, int virtualKey, bool down, bool repeat, bool alt) {
    if (fakepage::listeners().key) fakepage::listeners().key(virtualKey, down, repeat, alt);
}

bool testCursorShown() {
    return fakepage::page().cursorShown;
}
