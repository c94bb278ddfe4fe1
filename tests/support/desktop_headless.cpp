// The host tests' desktop on the headless driver.

#include "platform/headless/headless.h"
#include "platform/host/windows.h"
#include "support/host_desktop.h"

void resetTestDesktop() {
    tess::headless::resetDesktop();
}

void pressKey(HWND window, int virtualKey, bool down, bool repeat, bool alt) {
    const tess::host::Window* w = tess::host::findWindow(window);
    tess::headless::sendKey(w ? w->shownIn : nullptr, virtualKey, down, repeat, alt);
}

bool testCursorShown() {
    return tess::headless::cursorShown();
}
