#include "anim/chain.h"
#include "app/resolution.h"
#include "app/shell.h"
#include "platform/faults.h"
#include "platform/host/core.h"
#include "platform/win32.h"
#include "support/host_desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <vector>

namespace {

// Tick sources for the frame timer, each with its own count (and so its own stamps).
DWORD& uptimeCount() {
    static DWORD ms = 0;
    return ms;
}
DWORD WINAPI uptimeTicks() {
    return uptimeCount();
}

DWORD& wrapCount() {
    static DWORD ms = 0;
    return ms;
}
DWORD WINAPI wrapTicks() {
    return wrapCount();
}

TEST(FrameTimer, ReturnsTheWholeMillisecondsSinceTheLastCall) {
    uptimeCount() = 5000;
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.0f); // the first call measures from itself
    uptimeCount() = 5016;
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.016f);
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.0f); // the same tick again
    uptimeCount() = 5017;
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.001f);
    // Twelve days up: seconds in a float would step by 0.125 here; milliseconds do not.
    uptimeCount() = 1036800000u;
    retFrameSpdOver<uptimeTicks>();
    uptimeCount() = 1036800016u;
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.016f);
    uptimeCount() = 1036800017u;
    EXPECT_EQ(retFrameSpdOver<uptimeTicks>(), 0.001f);
}

TEST(FrameTimer, RunsStraightAcrossTheWrapOfTheTickCount) {
    wrapCount() = 0xFFFFFFF0u;
    retFrameSpdOver<wrapTicks>();
    wrapCount() = 0x00000010u; // 49.7 days on, the count starts again
    EXPECT_EQ(retFrameSpdOver<wrapTicks>(), 0.032f);
    wrapCount() = 0x00000020u;
    EXPECT_EQ(retFrameSpdOver<wrapTicks>(), 0.016f);
}

struct Shell : HostTest {
    void SetUp() override {
        HostTest::SetUp();
        workRes(false, 800, 600);
        chainState().init = true; // a frame drawn by WinMain would clear it
    }
};

std::vector<unsigned> shownMode() {
    DEVMODEA m;
    std::memset(&m, 0, sizeof m);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m));
    return {m.dmPelsWidth, m.dmPelsHeight};
}

const std::vector<unsigned> kDesktop = {1024, 768}; // the test desktop's

// The message waiting now, taken; WM_NULL when none.
MSG takeMessage() {
    MSG m;
    std::memset(&m, 0, sizeof m);
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) m.message = WM_NULL;
    return m;
}

TEST_F(Shell, TheWindowProcedureQuitsOnEscAndCloseAndSwallowsOtherKeys) {
    workRes(false, 320, 240);
    toFullScreen();
    EXPECT_EQ(shownMode(), (std::vector<unsigned>{320, 240}));

    EXPECT_EQ(WinProc(nullptr, WM_KEYDOWN, VK_RETURN, 1), 0);
    EXPECT_EQ(WinProc(nullptr, WM_KEYDOWN, 'Q', 1), 0);
    EXPECT_EQ(takeMessage().message, UINT(WM_NULL));

    EXPECT_EQ(WinProc(nullptr, WM_KEYDOWN, VK_ESCAPE, 1), 0);
    EXPECT_EQ(shownMode(), (std::vector<unsigned>{320, 240})); // Esc leaves the display
    MSG quit = takeMessage();
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, WPARAM(0));

    for (UINT closing : {UINT(WM_CLOSE), UINT(WM_DESTROY)}) {
        toFullScreen();
        EXPECT_EQ(WinProc(nullptr, closing, 0, 0), 0);
        EXPECT_EQ(shownMode(), kDesktop);
        quit = takeMessage();
        EXPECT_EQ(quit.message, UINT(WM_QUIT));
        EXPECT_EQ(quit.wParam, WPARAM(0));
    }
}

TEST_F(Shell, ARefusedDisplaySwitchLeavesTheDisplayAndQueuesQuitWithOne) {
    workRes(false, 0, 600);
    toFullScreen();
    EXPECT_EQ(shownMode(), kDesktop);
    const MSG quit = takeMessage();
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, WPARAM(1));
}

TEST_F(Shell, WinMainEndsARefusedSwitchWithOneBeforeAnyFrame) {
    workRes(false, -5, 600); // a size no display can take, though a window can
    char tail[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT), 1);
    EXPECT_TRUE(chainState().init);                            // goProgram never ran
    EXPECT_EQ(tess::host::host().registry.windows.size(), 1u); // nothing in WinMain destroys it
}

TEST_F(Shell, WinMainRestoresTheDisplayWhenNoWindowCanBeCreated) {
    tess::injectFault(tess::Fault::WindowCreation, true);
    char tail[] = "a";
    EXPECT_EQ(WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT), 1);
    tess::injectFault(tess::Fault::WindowCreation, false);
    EXPECT_EQ(shownMode(), kDesktop);
    EXPECT_EQ(takeMessage().message, UINT(WM_NULL));
    // The class went with it: it registers anew.
    EXPECT_NE(registerTestClass("theClassName", WinProc), 0);
}

TEST_F(Shell, WinMainEndsWithZeroOnEscAndOnATerminationSignal) {
    // Esc, pressed before the window exists, goes to the window once it does.
    pressKey(nullptr, VK_ESCAPE, true);
    char tail[] = "b";
    EXPECT_EQ(WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT), 0);
    EXPECT_EQ(shownMode(), (std::vector<unsigned>{640, 480})); // Esc does not restore
    const auto& windows = tess::host::host().registry.windows;
    ASSERT_EQ(windows.size(), 1u);
    RECT client;
    GetClientRect(windows[0]->handle, &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{640, 480}));
    EXPECT_FALSE(testCursorShown());

    tess::shutdownHost();
    ASSERT_TRUE(tess::hostReady()); // signals are caught from the start
    std::raise(SIGTERM);
    EXPECT_EQ(WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT), 0);
    EXPECT_EQ(shownMode(), kDesktop); // closing restores
}

// Frames of a paced loop, with the time each started.
struct PacedRun {
    std::vector<std::chrono::steady_clock::time_point> frames;
    int starts = 0, reshapes = 0, stops = 0;
};

void countFrame(void* run, HDC, HDC, float) {
    auto& r = *static_cast<PacedRun*>(run);
    r.frames.push_back(std::chrono::steady_clock::now());
    if (r.frames.size() == 6) PostQuitMessage(0);
}

void countReshape(void* run, HDC, int, int) {
    ++static_cast<PacedRun*>(run)->reshapes;
}

void countStart(void* run, HDC, HDC, int, int) {
    ++static_cast<PacedRun*>(run)->starts;
}

void countStop(void* run) {
    ++static_cast<PacedRun*>(run)->stops;
}

TEST_F(Shell, APacedLoopStartsFramesAtLeastTheDelayApartAndWaitsForMessages) {
    registerTestClass("paced", DefWindowProcA);
    HWND window =
        CreateWindowExA(0, "paced", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PacedRun run;
    FrameLoop loop;
    loop.delay = 20000;
    loop.context = &run;
    loop.start = countStart;
    loop.step = countFrame;
    loop.reshape = countReshape;
    loop.stop = countStop;
    EXPECT_EQ(runFrames(window, SW_SHOW, loop), 0);
    ASSERT_EQ(run.frames.size(), 6u);
    EXPECT_EQ(run.starts, 1);
    EXPECT_EQ(run.reshapes, 0); // the window kept its size
    EXPECT_EQ(run.stops, 1);
    for (std::size_t i = 1; i < run.frames.size(); ++i)
        EXPECT_GE(run.frames[i] - run.frames[i - 1], std::chrono::microseconds(20000)) << i;

    // The wait between frames ends with the time, or as soon as a message comes.
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT), DWORD(WAIT_TIMEOUT));
    PostMessageA(window, WM_USER, 0, 0);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT),
              DWORD(WAIT_OBJECT_0));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    HANDLE object = window;
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &object, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
}

} // namespace
