// The frame timer, the window class and the main loop, shared by the program and
// the screensaver.

#include "app/frames.h"

#include "anim/chain.h"
#include "app/command_tail.h"

#include <algorithm>
#include <chrono>
#include <cmath>
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
    return text && parseNumber(text, 10, 0xFFFFFFFFull, seed) ? unsigned(seed) : GetTickCount();
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

unsigned refreshDelay() {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    const bool known =
        EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1;
    return 1000000 / (known ? mode.dmDisplayFrequency : 60);
}

namespace {

// The bitmap for a client area: its size divided by the pixel size, at least 1 x 1.
RECT bitmapArea(const RECT& client, int pixelSize) {
    if (pixelSize <= 1) return client;
    const LONG w = client.right / pixelSize, h = client.bottom / pixelSize;
    return RECT{0, 0, w > 0 ? w : 1, h > 0 ? h : 1};
}

// A bitmap of the new size holding the old one's pixels where they fit, black
// elsewhere, selected into `memory` in place of `bitmap` (which is deleted);
// null, and nothing changed, when no bitmap of that size can be made.
HBITMAP regrow(HDC window, HDC memory, HBITMAP bitmap, const RECT& area, HBRUSH black) {
    HBITMAP grown = CreateCompatibleBitmap(window, area.right, area.bottom);
    HDC scratch = grown ? CreateCompatibleDC(window) : NULL;
    if (!scratch) {
        if (grown) DeleteObject(grown);
        return NULL;
    }
    HGDIOBJ previous = SelectObject(scratch, grown);
    FillRect(scratch, &area, black);
    BitBlt(scratch, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY); // clipped to both
    SelectObject(scratch, previous);
    DeleteDC(scratch);
    SelectObject(memory, grown);
    DeleteObject(bitmap);
    return grown;
}

void programStart(void* context, HDC, HDC, int width, int height) {
    *static_cast<ProgramFrame*>(context) = ProgramFrame{width, height};
}

void programStep(void* context, HDC window, HDC memory, float dt) {
    const ProgramFrame& f = *static_cast<const ProgramFrame*>(context);
    goProgram(memory, dt);
    BitBlt(window, 0, 0, f.width, f.height, memory, 0, 0, SRCCOPY);
}

void tickedStep(void* context, HDC window, HDC memory, float dt) {
    const ProgramFrame& f = *static_cast<const ProgramFrame*>(context);
    ChainState& chain = chainState();
    const long ticks = std::min(std::lround(dt / kTick), 1000L); // a stall: a second at most
    for (long t = chain.init ? -1 : 0; t < ticks; ++t)           // a seeding step, then ticks
        tickChain(chain, memory, screenArea());
    BitBlt(window, 0, 0, f.width, f.height, memory, 0, 0, SRCCOPY);
}

} // namespace

FrameLoop tickedLoop(ProgramFrame& frame, unsigned delay) {
    FrameLoop loop = programLoop(frame, std::max(delay, refreshDelay()));
    loop.step = tickedStep;
    return loop;
}

FrameLoop programLoop(ProgramFrame& frame, unsigned delay) {
    FrameLoop loop;
    loop.delay = delay;
    loop.context = &frame;
    loop.start = programStart;
    loop.step = programStep;
    return loop;
}

int runFrames(HWND window, int showCommand, const FrameLoop& loop) {
    retFrameSpd(); // the first frame measures from here

    RECT client;
    GetClientRect(window, &client);
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    RECT area = bitmapArea(client, loop.pixelSize);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, area.right, area.bottom);
    HGDIOBJ oldBitmap = SelectObject(memoryDc, bitmap);
    HBRUSH black = CreateSolidBrush(0);
    HGDIOBJ oldBrush = SelectObject(memoryDc, black);

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    FillRect(memoryDc, &area, black); // black once; the traces are never cleared
    std::srand(startSeed());

    if (loop.start) loop.start(loop.context, windowDc, memoryDc, area.right, area.bottom);

    using Clock = std::chrono::steady_clock;
    const std::chrono::microseconds pace(loop.delay);
    Clock::time_point lastFrame = Clock::now() - pace;
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) break;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue; // one message per turn
        }
        if (loop.restWhileUnseen && IsIconic(window)) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
            retFrameSpd(); // the time asleep is no frame's
            continue;
        }
        if (loop.delay) {
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
        if (loop.followSize) {
            RECT now;
            if (GetClientRect(window, &now) &&
                (now.right != client.right || now.bottom != client.bottom)) {
                const RECT next = bitmapArea(now, loop.pixelSize);
                if (HBITMAP grown = regrow(windowDc, memoryDc, bitmap, next, black)) {
                    bitmap = grown;
                    area = next;
                    client = now;
                    if (loop.reshape) loop.reshape(loop.context, windowDc, area.right, area.bottom);
                }
            }
        }
        loop.step(loop.context, windowDc, memoryDc, retFrameSpd());
    }
    if (loop.stop) loop.stop(loop.context);

    SelectObject(memoryDc, oldBitmap);
    DeleteObject(bitmap);
    SelectObject(memoryDc, oldBrush);
    DeleteObject(black);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return static_cast<int>(message.wParam);
}
