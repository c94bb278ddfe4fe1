// The frame timer, the window class and the main loop, shared by the program and
// the screensaver.

#include "app/frames.h"

#include "anim/chain.h"
#ifdef TESS_COUNT_FRAMES
#include "app/frame_count.h"
#endif

#include <chrono>
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

// TESSALINE_SEED=N (decimal, 0 to 4294967295) makes a run repeat a given one;
// without it, or with anything else there, the tick count seeds as always.
unsigned startSeed() {
    const char* text = std::getenv("TESSALINE_SEED");
    unsigned long long seed = 0;
    if (!text || !*text) return GetTickCount();
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || (seed = seed * 10 + unsigned(*c - '0')) > 0xFFFFFFFFull)
            return GetTickCount();
    }
    return unsigned(seed);
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

int runFrames(HWND window, int showCommand, unsigned delay) {
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
    std::srand(startSeed());

    using Clock = std::chrono::steady_clock;
    const std::chrono::microseconds pace(delay);
    Clock::time_point lastFrame = Clock::now() - pace;
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue; // one message per turn
        }
        if (delay) {
            const Clock::time_point now = Clock::now();
            const Clock::duration left = lastFrame + pace - now;
            if (left > Clock::duration::zero()) {
                // Asleep in the system until a message comes or the frame is due;
                // rounded up, so a frame never comes early.
                const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
                MsgWaitForMultipleObjects(0, NULL, FALSE, DWORD(ms), QS_ALLINPUT);
                continue;
            }
            lastFrame = now;
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
