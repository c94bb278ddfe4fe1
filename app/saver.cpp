// The screensaver's window procedure and start-up; the frame loop is the
// program's (frames.h).

#include "app/saver.h"

#include "app/frames.h"
#include "app/resolution.h"

#include <cstdlib>

namespace {

const char kClassName[] = "TessalineSaver";
const char kTitle[] = "Tessaline";
// How far the mouse may drift (a knocked desk) before a full-screen saver ends.
constexpr long kMouseSlack = 4;

struct SaverState {
    SaverMode mode = SaverMode::Window;
    POINT start{0, 0};
    bool firstMove = true;
};

SaverState& state() {
    static SaverState s;
    return s;
}

HWND makeWindow(HINSTANCE instance, const SaverArgs& args) {
    switch (args.mode) {
    case SaverMode::FullScreen:
        return CreateWindowExA(
            WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, GetSystemMetrics(SM_XVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_CYVIRTUALSCREEN), NULL, NULL, instance, NULL);
    case SaverMode::Preview: {
        RECT area;
        if (!GetClientRect(args.parent, &area)) return NULL;
        return CreateWindowExA(0, kClassName, kTitle, WS_CHILD, 0, 0, area.right, area.bottom,
                               args.parent, NULL, instance, NULL);
    }
    default: {
        RECT frame{0, 0, 800, 600}; // the client area; the frame goes around it
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        return CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                               NULL, NULL, instance, NULL);
    }
    }
}

} // namespace

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverState& s = state();
    const bool fullScreen = s.mode == SaverMode::FullScreen;
    switch (message) {
    case WM_CLOSE:
    case WM_DESTROY: // its own window closed, or a preview's parent gone
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        validateWindow(window);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (fullScreen || (s.mode == SaverMode::Window && wParam == VK_ESCAPE)) {
            PostQuitMessage(0);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (fullScreen) PostQuitMessage(0);
        return 0;
    case WM_MOUSEMOVE:
        if (fullScreen) {
            POINT at;
            GetCursorPos(&at);
            const bool strayed = std::labs(long(at.x) - s.start.x) > kMouseSlack ||
                                 std::labs(long(at.y) - s.start.y) > kMouseSlack;
            if (!s.firstMove && strayed) PostQuitMessage(0);
            s.firstMove = false;
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int runSaver(HINSTANCE instance, const SaverArgs& args) {
    switch (args.mode) {
    case SaverMode::Invalid:
        return 2;
    case SaverMode::Configure:
        MessageBoxA(IsWindow(args.parent) ? args.parent : NULL,
                    "Tessaline has no settings: it draws the same way every time.", kTitle,
                    MB_OK | MB_ICONINFORMATION);
        return 0;
    case SaverMode::Preview:
        if (!IsWindow(args.parent)) return 1;
        break;
    default:
        break;
    }
    SaverState& s = state();
    s = SaverState{};
    s.mode = args.mode;
    registerWindowClass(instance, kClassName, SaverProc);
    HWND window = makeWindow(instance, args);
    if (!window) {
        UnregisterClassA(kClassName, instance);
        return 1;
    }
    // The chain keeps to the window, as it keeps to the screen in the program.
    RECT client;
    GetClientRect(window, &client);
    workRes(false, client.right, client.bottom);
    if (args.mode == SaverMode::FullScreen) {
        GetCursorPos(&s.start);
        ShowCursor(FALSE);
    }
    const int quitCode = runFrames(window, SW_SHOW);
    UnregisterClassA(kClassName, instance);
    return quitCode;
}
