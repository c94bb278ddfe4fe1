// WinMain and its helpers: start-up, the main loop that draws a frame whenever no
// message waits, and the tear-down.

#include "app/shell.h"

#include "anim/chain.h"
#include "app/resolution.h"
#ifdef TESS_COUNT_FRAMES
#include "app/frame_count.h"
#endif

#include <cstdlib>
#include <cstring>

// The records as 32-bit Windows lays them out, where the program was made; the
// system reads them by these sizes (cbSize is set from sizeof below).
static_assert(sizeof(void*) != 4 || sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is 48 bytes");
static_assert(sizeof(void*) != 4 || sizeof(DEVMODEA) == 156, "DEVMODEA is 156 bytes");

namespace {

const char kClassName[] = "theClassName";
const char kTitle[] = "Tessaline II alpha 1";

DWORD WINAPI tickCount() {
    return GetTickCount();
}

} // namespace

float retFrameSpd() {
    return retFrameSpdOver<tickCount>();
}

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
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint); // the main loop draws; painting only validates
        EndPaint(window, &paint);
        return 0;
    }
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand) {
    checkRes(commandTail);

    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WinProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

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

    retFrameSpd(); // the first frame measures from here

    RECT client;
    GetClientRect(window, &client);
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(memoryDc, bitmap);
    HBRUSH black = CreateSolidBrush(0);
    HGDIOBJ oldBrush = SelectObject(memoryDc, black);

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    FillRect(memoryDc, &client, black); // black once; the traces are never cleared
    std::srand(GetTickCount());

    MSG message;
    for (;;) {
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue; // one message per turn
        }
        goProgram(memoryDc, retFrameSpd());
        BitBlt(windowDc, 0, 0, client.right, client.bottom, memoryDc, 0, 0, SRCCOPY);
#ifdef TESS_COUNT_FRAMES
        if (countFrame(TESS_COUNT_FRAMES)) PostQuitMessage(0);
#endif
    }
#ifdef TESS_COUNT_FRAMES
    reportFrames();
#endif

    SelectObject(memoryDc, oldBitmap);
    DeleteObject(bitmap);
    SelectObject(memoryDc, oldBrush);
    DeleteObject(black);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    UnregisterClassA(kClassName, instance);
    return static_cast<int>(message.wParam);
}
