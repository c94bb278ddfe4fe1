// The frame timer, the window class and the main loop, shared by the program and
// the screensaver.

#include "app/frames.h"

#include "anim/chain.h"
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

DWORD WINAPI tickCount() {
    return GetTickCount();
}

} // namespace

float retFrameSpd() {
    return retFrameSpdOver<tickCount>();
}

WORD registerWindowClass(HINSTANCE instance, const char* name, WNDPROC proc) {
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

void validateWindow(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

int runFrames(HWND window, int showCommand) {
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
    return static_cast<int>(message.wParam);
}
