// WinMain with each platform service made to fail in turn, and ended from outside
// by SIGINT or SIGTERM mid-run: every path ends with its exit code, the display as
// it was found, and no GDI object alive.

#include "anim/chain.h"
#include "app/resolution.h"
#include "platform/faults.h"
#include "platform/gdi/gdi_stats.h"
#include "platform/host/core.h"
#include "platform/host/display.h"
#include "platform/win32.h"
#include "support/host_desktop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <vector>

namespace {

using namespace tess::host;
using tess::Fault;

// Sends `signal` to this process `ms` milliseconds from now, while WinMain runs.
// The delay leaves the loop time to start and draw: a signal taken at its first
// turn would end the run before any frame.
class SignalLater {
  public:
    SignalLater(int signal, long ms) {
        sigevent event{};
        event.sigev_notify = SIGEV_SIGNAL;
        event.sigev_signo = signal;
        armed_ = timer_create(CLOCK_MONOTONIC, &event, &timer_) == 0;
        itimerspec when{};
        when.it_value.tv_sec = ms / 1000;
        when.it_value.tv_nsec = (ms % 1000) * 1000000L;
        armed_ = armed_ && timer_settime(timer_, 0, &when, nullptr) == 0;
    }
    ~SignalLater() {
        if (armed_) timer_delete(timer_);
    }
    bool armed() const { return armed_; }

  private:
    timer_t timer_{};
    bool armed_ = false;
};

// The host catches termination signals from its start: a signal sent while it
// runs never takes the default action, which would end the test run.
struct ShellFaults : HostTest {
    void SetUp() override {
        HostTest::SetUp();
        tess::clearFaults();
        workRes(false, 800, 600);
        chainState().init = true; // false afterwards means a frame was drawn
        liveBefore = tess::gdiLiveObjects().total();
    }
    void TearDown() override {
        tess::clearFaults();
        HostTest::TearDown();
    }
    // A new host for the next run, as a new process would have.
    void restartHost() {
        tess::shutdownHost();
        ASSERT_TRUE(tess::hostReady());
    }

    int runWinMain(const char* letter) {
        std::vector<char> tail(letter, letter + std::char_traits<char>::length(letter) + 1);
        return WinMain(nullptr, nullptr, tail.data(), SW_SHOWDEFAULT);
    }
    // The display is the desktop, as the run found it.
    void expectDisplayAsFound() {
        EXPECT_FALSE(displaySwitched());
        const ScreenMode now = currentMode(), desktop = desktopMode();
        EXPECT_EQ((std::vector<int>{now.width, now.height}), (std::vector<int>{1024, 768}));
        EXPECT_EQ((std::vector<int>{desktop.width, desktop.height}), (std::vector<int>{1024, 768}));
    }
    void expectNoGdiObjectLeft() {
        const tess::GdiCounts c = tess::gdiLiveObjects();
        EXPECT_EQ(c.total(), liveBefore) << c.pens << " pens, " << c.brushes << " brushes, "
                                         << c.bitmaps << " bitmaps, " << c.dcs << " DCs";
    }

    int liveBefore = 0;
};

TEST_F(ShellFaults, AFailureBeforeTheFirstFrameEndsWithOneAndDrawsNothing) {
    // An unregistered class leaves no window to create; a refused window and a refused
    // switch each end the run at once.
    for (Fault fault : {Fault::ClassRegistration, Fault::WindowCreation, Fault::DisplaySwitch}) {
        SCOPED_TRACE(int(fault));
        tess::injectFault(fault, true);
        EXPECT_EQ(runWinMain("b"), 1);
        tess::injectFault(fault, false);
        EXPECT_TRUE(chainState().init); // goProgram never ran
        expectDisplayAsFound();
        expectNoGdiObjectLeft();
        // Only a refused switch gets as far as a window; nothing in WinMain destroys it.
        EXPECT_EQ(host().registry.windows.size(), fault == Fault::DisplaySwitch ? 1u : 0u);
        restartHost();
    }
}

TEST_F(ShellFaults, AFailedDisplayQueryRunsInAPlainWindowUntilClosed) {
    tess::injectFault(Fault::DisplayQuery, true);
    SignalLater close(SIGTERM, 300);
    ASSERT_TRUE(close.armed());
    EXPECT_EQ(runWinMain("b"), 0);
    EXPECT_FALSE(chainState().init); // frames were drawn
    ASSERT_EQ(host().registry.windows.size(), 1u);
    // Never switched: the driver's window kept the window's own size, not the desktop's.
    const tess::Area shown = driver().windowArea(host().registry.windows[0]->shownIn);
    EXPECT_EQ((std::vector<int>{shown.w, shown.h}), (std::vector<int>{640, 480}));
    expectDisplayAsFound();
    expectNoGdiObjectLeft();
}

TEST_F(ShellFaults, RefusedDeviceContextsBitmapsAndBrushesNeitherCrashNorLeak) {
    const std::vector<std::vector<Fault>> cases = {
        {Fault::WindowDc},
        {Fault::MemoryDc},
        {Fault::Bitmap},
        {Fault::Brush},
        {Fault::WindowDc, Fault::MemoryDc, Fault::Bitmap, Fault::Brush},
    };
    for (const auto& faults : cases) {
        SCOPED_TRACE(int(faults.front()) * 10 + int(faults.size()));
        for (Fault f : faults)
            tess::injectFault(f, true);
        chainState().init = true;
        SignalLater close(SIGTERM, 300);
        ASSERT_TRUE(close.armed());
        EXPECT_EQ(runWinMain("c"), 0); // nothing checks these results: the run goes on
        tess::clearFaults();
        EXPECT_FALSE(chainState().init);
        expectDisplayAsFound();
        expectNoGdiObjectLeft();
        restartHost();
    }
}

TEST_F(ShellFaults, SigintAndSigtermMidRunEndItLikeACloseRequest) {
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        chainState().init = true;
        SignalLater close(signal, 300);
        ASSERT_TRUE(close.armed());
        EXPECT_EQ(runWinMain("a"), 0);
        EXPECT_FALSE(chainState().init);
        expectDisplayAsFound(); // the close path restores what Esc would leave switched
        expectNoGdiObjectLeft();
        restartHost();
    }
}

using HostStart = HostTest;

TEST_F(HostStart, ASignalBeforeAnyWindowExistsClosesTheWindowOnceItDoes) {
    // The fixture has started the host and nothing else: the handlers are already ours.
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction now {};
        ASSERT_EQ(sigaction(signal, nullptr, &now), 0);
        EXPECT_NE(now.sa_handler, SIG_DFL) << signal;
        EXPECT_NE(now.sa_handler, SIG_IGN) << signal;
    }
    workRes(false, 800, 600);
    std::raise(SIGINT); // as if during start-up: taken by the first turn of the loop
    char tail[] = "c";
    EXPECT_EQ(WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT), 0);
    EXPECT_FALSE(displaySwitched());
}

} // namespace
