// The program: WinMain's start-up (resolution, class, display switch, hidden
// cursor, window), its window procedure, and the display switch. WinMain itself
// is in winmain.cpp.

#include "app/shell.h"

#include "app/resolution.h"

#include <cstring>

namespace {

const char kClassName[] = "theClassName";
const char kTitle[] = "Tessaline II alpha 1";

} // namespace

void toFullScreen() {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode)) return;
    mode.dmPelsWidth = DWORD(workRes(true, 1, 0));
    mode.dmPelsHeight = DWORD(workRes(true, 0, 0));
    // A refused switch is a failure: it ends the run with 1, before any frame.
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) PostQuitMessage(1);
}

LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        validateWindow(window);
        return 0;
    case WM_CLOSE:
    case WM_DESTROY:
        // Not passed on: the window stays, and the quit message ends the run.
        ChangeDisplaySettingsA(NULL, 0);
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int runProgram(HINSTANCE instance, const char* commandTail, int showCommand,
               const FrameLoop& loop) {
    checkRes(commandTail);
    registerWindowClass(instance, kClassName, WinProc);
    toFullScreen();
    ShowCursor(FALSE);

    HWND window = CreateWindowExA(
        0, kClassName, kTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, workRes(true, 1, 0), workRes(true, 0, 0), NULL, NULL, instance, NULL);
    if (!window) {
        ChangeDisplaySettingsA(NULL, 0); // the display goes back even though no window came
        UnregisterClassA(kClassName, instance);
        return 1;
    }
    const int quitCode = runFrames(window, showCommand, loop);
    UnregisterClassA(kClassName, instance);
    return quitCode;
}
