// Windows on the headless desktop: the switched screen, monitors and their changes, moves, the
// present's pace, close requests and signals, classes, adopted parents, and a
// host that leaves nothing behind.

#include "platform/headless/headless.h"
#include "platform/host/core.h"
#include "platform/host/windows.h"
#include "platform/win32.h"
#include "support/host_desktop.h"
#include "support/memory_dc.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <vector>

namespace {

using tess::Area;
using tess::DriverEvent;
using tess::Monitor;
namespace headless = tess::headless;
using tess::host::findWindow;

LRESULT CALLBACK quietProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

std::vector<UINT>& seenMessages() {
    static std::vector<UINT> s;
    return s;
}

LRESULT CALLBACK notingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    seenMessages().push_back(m);
    return DefWindowProcA(w, m, wp, lp);
}

HWND popup(int x, int y, int w, int h, const char* cls = "quiet") {
    return CreateWindowExA(0, cls, "t", WS_POPUP, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
}

tess::DriverWindow* shownIn(HWND hwnd) {
    return findWindow(hwnd)->shownIn;
}

const headless::Shown& shown(HWND hwnd) {
    return *headless::shown(shownIn(hwnd));
}

std::vector<int> corners(const Area& a) {
    return {a.x, a.y, a.w, a.h};
}

DEVMODEA current() {
    DEVMODEA m;
    std::memset(&m, 0, sizeof m);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m));
    return m;
}

LONG switchTo(DWORD w, DWORD h) {
    DEVMODEA m = current();
    m.dmPelsWidth = w;
    m.dmPelsHeight = h;
    return ChangeDisplaySettingsA(&m, CDS_FULLSCREEN);
}

MSG peek(UINT remove = PM_REMOVE) {
    MSG m;
    std::memset(&m, 0, sizeof m);
    if (!PeekMessageA(&m, nullptr, 0, 0, remove)) m.message = WM_NULL;
    return m;
}

// The pointer moves to (x, y) of a window's drawable, as far as the host can tell.
void pointTo(HWND hwnd, int x, int y) {
    DriverEvent e;
    e.kind = DriverEvent::Pointer;
    e.window = shownIn(hwnd);
    e.x = x;
    e.y = y;
    headless::send(e);
    peek(PM_NOREMOVE);
}

POINT cursor() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

std::vector<LONG> xy(const POINT& p) {
    return {p.x, p.y};
}

struct Windows : HostTest {
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_NE(registerTestClass("quiet", quietProc), 0);
    }
};

TEST_F(Windows, ASwitchedScreenCoversTheHomeMonitorShowingItsSurfaceScaledAndCentred) {
    ASSERT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    HWND hwnd = popup(CW_USEDEFAULT, CW_USEDEFAULT, 320, 240);
    ASSERT_NE(hwnd, nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ((std::vector<LONG>{client.left, client.top, client.right, client.bottom}),
              (std::vector<LONG>{0, 0, 320, 240}));
    EXPECT_EQ(corners(shown(hwnd).area), (std::vector<int>{0, 0, 1024, 768}));
    EXPECT_TRUE(shown(hwnd).borderless);
    EXPECT_TRUE(shown(hwnd).fullScreen);
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    EXPECT_TRUE(shown(hwnd).raised); // it takes the keyboard, as a full-screen window does

    // 320 x 240 fills the 1024 x 768 desktop (3.2 times): the corner pixels
    // become blocks of three or four pixels a side, by nearest neighbour.
    MemoryDc bitmap(320, 240);
    SetPixelV(bitmap.dc, 0, 0, 0x0000FF);
    SetPixelV(bitmap.dc, 319, 239, 0xFF0000);
    bitmap.copyTo(hwnd);
    // Shown within a refresh interval of the copy, by the main loop's peeking alone.
    for (int i = 0; i < 1000 && !findWindow(hwnd)->surface.changed().empty(); ++i)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    peek();
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {{0, 0, 0x0000FF},      {3, 3, 0x0000FF},      {4, 0, 0},      {0, 4, 0},
                  {1021, 765, 0xFF0000}, {1023, 767, 0xFF0000}, {1020, 767, 0}, {1023, 764, 0}};
    for (const auto& p : probes)
        EXPECT_EQ(shown(hwnd).at(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;

    // The cursor reads in switched-screen pixels, clamped to the screen.
    pointTo(hwnd, 100, 50);
    EXPECT_EQ(xy(cursor()), (std::vector<LONG>{31, 15}));
    pointTo(hwnd, 0, 767);
    EXPECT_EQ(xy(cursor()), (std::vector<LONG>{0, 239}));

    // Restored, it is an ordinary window again at its own place and size.
    ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_FALSE(shown(hwnd).fullScreen);
    EXPECT_EQ(corners(shown(hwnd).area), (std::vector<int>{0, 0, 320, 240}));
}

// A desktop of two monitors side by side: the primary one of 1280 x 1024 on the
// left, a 800 x 600 one at 75 Hz on its right.
std::vector<Monitor> twoMonitors() {
    return {{"left", Area{0, 0, 1280, 1024}, 32, 60}, {"right", Area{1280, 0, 800, 600}, 32, 75}};
}

std::vector<std::vector<LONG>>& monitorsSeen() {
    static std::vector<std::vector<LONG>> s;
    return s;
}
BOOL CALLBACK note(HMONITOR, HDC, LPRECT r, LPARAM) {
    monitorsSeen().push_back({r->left, r->top, r->right, r->bottom});
    return TRUE;
}
std::vector<std::vector<LONG>> monitorsOf(HDC dc) {
    monitorsSeen().clear();
    EXPECT_TRUE(EnumDisplayMonitors(dc, nullptr, note, 0));
    return monitorsSeen();
}

struct TwoMonitors : Windows {
    void SetUp() override {
        tess::shutdownHost();
        headless::setMonitors(twoMonitors());
        ASSERT_TRUE(tess::hostReady());
        ASSERT_NE(registerTestClass("quiet", quietProc), 0);
    }
};

TEST_F(TwoMonitors, TheScreenIsThePrimaryMonitorAndTheVirtualScreenHoldsBoth) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ((std::vector<int>{
                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}),
              (std::vector<int>{0, 0, 2080, 1024}));
    EXPECT_EQ(monitorsOf(nullptr),
              (std::vector<std::vector<LONG>>{{0, 0, 1280, 1024}, {1280, 0, 2080, 600}}));
    // A window across the seam: each monitor's part of it, from its corner; its
    // presents follow the monitor it lies on most.
    HWND across = popup(1200, 100, 300, 200);
    HDC dc = GetDC(across);
    EXPECT_EQ(monitorsOf(dc), (std::vector<std::vector<LONG>>{{0, 0, 80, 200}, {80, 0, 300, 200}}));
    ReleaseDC(across, dc);
    EXPECT_DOUBLE_EQ(findWindow(across)->interval, 1.0 / 75);
    pointTo(across, 10, 20);
    EXPECT_EQ(xy(cursor()), (std::vector<LONG>{1210, 120}));

    // Switched, the screen is one monitor, the primary; the stored mode is its own.
    ASSERT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    HWND full = popup(0, 0, 320, 240);
    EXPECT_EQ(monitorsOf(nullptr), (std::vector<std::vector<LONG>>{{0, 0, 320, 240}}));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 320);
    DEVMODEA stored;
    std::memset(&stored, 0, sizeof stored);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &stored));
    EXPECT_EQ((std::vector<DWORD>{stored.dmPelsWidth, stored.dmPelsHeight}),
              (std::vector<DWORD>{1280, 1024}));
    // A window manager made its full-screen window 1024 x 768: the cursor maps
    // back through that, as the present fits the screen into it, not through
    // the monitor.
    headless::placeByUser(shownIn(full), Area{0, 0, 1024, 768});
    pointTo(full, 100, 50);
    EXPECT_EQ(xy(cursor()), (std::vector<LONG>{31, 15}));
}

TEST_F(TwoMonitors, AMovedWindowIsWhereItWasMovedToAndPacedByThatMonitor) {
    HWND hwnd = popup(CW_USEDEFAULT, CW_USEDEFAULT, 300, 200);
    EXPECT_DOUBLE_EQ(findWindow(hwnd)->interval, 1.0 / 60);
    HDC dc = GetDC(hwnd);
    EXPECT_EQ(monitorsOf(dc), (std::vector<std::vector<LONG>>{{0, 0, 300, 200}}));
    // Moved half over each monitor: both parts, from the window's corner.
    headless::placeByUser(shownIn(hwnd), Area{1130, 0, 300, 200});
    peek(PM_NOREMOVE);
    EXPECT_EQ(monitorsOf(dc),
              (std::vector<std::vector<LONG>>{{0, 0, 150, 200}, {150, 0, 300, 200}}));
    // Onto the right monitor, over its lower edge: its part there, and its pace.
    headless::placeByUser(shownIn(hwnd), Area{1400, 500, 300, 200});
    peek(PM_NOREMOVE);
    EXPECT_EQ(monitorsOf(dc), (std::vector<std::vector<LONG>>{{0, 0, 300, 100}}));
    EXPECT_DOUBLE_EQ(findWindow(hwnd)->interval, 1.0 / 75);
    pointTo(hwnd, 5, 6);
    EXPECT_EQ(xy(cursor()), (std::vector<LONG>{1405, 506}));
    ReleaseDC(hwnd, dc);
}

std::vector<std::vector<LPARAM>>& displayChanges() {
    static std::vector<std::vector<LPARAM>> s;
    return s;
}
LRESULT CALLBACK displayProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DISPLAYCHANGE) displayChanges().push_back({LPARAM(wp), LOWORD(lp), HIWORD(lp)});
    return DefWindowProcA(w, m, wp, lp);
}
void dispatchAll() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
}

TEST_F(TwoMonitors, AChangedDesktopIsAnnouncedOnceAndAWindowMovesOverItWhole) {
    ASSERT_NE(registerTestClass("display", displayProc), 0);
    HWND hwnd = popup(0, 0, 2080, 1024, "display");
    displayChanges().clear();
    headless::setMonitors(twoMonitors()); // the same again: nothing to tell
    dispatchAll();
    EXPECT_TRUE(displayChanges().empty());
    std::vector<Monitor> three = twoMonitors();
    three.push_back({"third", Area{2080, 0, 1920, 1080}, 32, 60});
    headless::setMonitors(three);
    dispatchAll();
    // Bits per pixel and the screen's size, the primary monitor's.
    EXPECT_EQ(displayChanges(), (std::vector<std::vector<LPARAM>>{{32, 1280, 1024}}));
    ASSERT_TRUE(SetWindowPos(hwnd, HWND_TOPMOST, GetSystemMetrics(SM_XVIRTUALSCREEN),
                             GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN),
                             GetSystemMetrics(SM_CYVIRTUALSCREEN), SWP_NOACTIVATE));
    EXPECT_EQ(corners(shown(hwnd).area), (std::vector<int>{0, 0, 4000, 1080}));
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{4000, 1080}));
    // Moved only, it keeps its size; a child cannot be placed, it fills its parent.
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 100, 50, 1, 1, SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_EQ(corners(shown(hwnd).area), (std::vector<int>{100, 50, 4000, 1080}));
    HWND child =
        CreateWindowExA(0, "quiet", "c", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
    EXPECT_FALSE(SetWindowPos(child, nullptr, 5, 5, 20, 20, SWP_NOZORDER));
}

double fakeNow = 0;
double fakeClock() {
    return fakeNow;
}

// Frames come far faster than the display refreshes: the host shows the backing
// store at most once per interval, always once after the last change, and never
// while nothing changed, judged on every PeekMessageA.
struct Pacing : Windows {
    void SetUp() override {
        Windows::SetUp();
        fakeNow = 100;
        tess::host::setPresentClock(fakeClock);
    }
};

TEST_F(Pacing, PresentsAtMostOncePerRefreshAndAlwaysAfterTheLastChange) {
    HWND hwnd = CreateWindowExA(0, "quiet", "t", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    tess::host::Window* w = findWindow(hwnd);
    const double interval = w->interval;
    EXPECT_DOUBLE_EQ(interval, 1.0 / 60);
    MemoryDc bitmap(64, 48);
    HDC dc = GetDC(hwnd);
    MSG m;
    auto peekAt = [&](double t) {
        fakeNow = t;
        PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    };
    auto frame = [&](int i) {
        SetPixelV(bitmap.dc, i % 64, (i / 64) % 48, 0x0000FF + i);
        BitBlt(dc, 0, 0, 64, 48, bitmap.dc, 0, 0, SRCCOPY);
    };
    peekAt(100); // showing presented in full; settle
    const long long shownSoFar = w->presents;

    // 1000 frames within one interval: one present at most, on the first change.
    for (int i = 0; i < 1000; ++i) {
        frame(i);
        peekAt(101 + interval * 0.999 * i / 1000);
    }
    EXPECT_EQ(w->presents, shownSoFar + 1);
    EXPECT_FALSE(w->surface.changed().empty()); // the later frames wait
    // They show once the interval is up, with no further frame.
    peekAt(101 + interval * 1.001);
    EXPECT_EQ(w->presents, shownSoFar + 2);
    EXPECT_TRUE(w->surface.changed().empty());
    EXPECT_EQ(shown(hwnd).at(999 % 64, 999 / 64), COLORREF(0x0000FF + 999));

    // Nothing changed: however long the loop spins, nothing is presented.
    for (int i = 1; i <= 100; ++i)
        peekAt(101 + interval * i);
    EXPECT_EQ(w->presents, shownSoFar + 2);

    // Frames all through ten intervals: one present per interval, give or take
    // the first, never more.
    const long long before = w->presents;
    const double t0 = 200;
    for (int i = 0; i < 10000; ++i) {
        frame(i);
        peekAt(t0 + 10 * interval * i / 10000);
    }
    EXPECT_GE(w->presents - before, 9);
    EXPECT_LE(w->presents - before, 11);
    EXPECT_EQ(shown(hwnd).presents, w->presents);

    // Hidden, nothing is presented; shown again, all of it.
    ShowWindow(hwnd, SW_HIDE);
    frame(7);
    peekAt(300);
    EXPECT_EQ(shown(hwnd).presents, w->presents);
    ShowWindow(hwnd, SW_SHOW);
    peekAt(301);
    EXPECT_TRUE(w->surface.changed().empty());
    EXPECT_FALSE(w->needsFull);
    ReleaseDC(hwnd, dc);
}

TEST_F(Windows, CloseRequestsAndTerminationSignalsArriveAsWmClose) {
    HWND hwnd = popup(0, 0, 16, 8);
    DriverEvent close;
    close.kind = DriverEvent::Close;
    close.window = shownIn(hwnd);
    headless::send(close);
    MSG m = peek();
    EXPECT_EQ(m.message, UINT(WM_CLOSE));
    EXPECT_EQ(m.hwnd, hwnd);

    for (int signal : {SIGTERM, SIGINT}) {
        std::raise(signal); // caught since the host started
        m = peek();
        EXPECT_EQ(m.message, UINT(WM_CLOSE));
        EXPECT_EQ(m.hwnd, hwnd);
        EXPECT_EQ(peek().message, UINT(WM_NULL));
        EXPECT_EQ(tess::terminationSignal(), signal);
    }
    // With no window left, a signal ends the loop itself.
    DestroyWindow(hwnd);
    std::raise(SIGTERM);
    EXPECT_EQ(peek().message, UINT(WM_QUIT));
}

TEST_F(Windows, ClassesAreFoundWithoutCaseAndStayWhileTheirWindowsLive) {
    ASSERT_NE(registerTestClass("recorder", quietProc), 0);
    HWND window = popup(0, 0, 4, 4, "recorder");
    EXPECT_EQ(popup(0, 0, 4, 4, "nobody"), nullptr);
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = quietProc;
    wc.lpszClassName = "RECORDER";
    EXPECT_EQ(RegisterClassExA(&wc), 0); // taken, whatever the case
    wc.lpszClassName = "other";
    wc.cbSize = 48;
    EXPECT_EQ(RegisterClassExA(&wc), sizeof(WNDCLASSEXA) == 48 ? 0xC002 : 0);
    HWND second = popup(0, 0, 4, 4, "Recorder");
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, window);
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
    DestroyWindow(second);
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("recorder", nullptr));
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
}

TEST_F(Windows, AChildFillsItsAdoptedParentAndGoesWithIt) {
    headless::addForeignWindow(0x4201, Area{100, 50, 640, 480});
    EXPECT_EQ(tess::adoptWindow(0x9999), nullptr); // no such window
    HWND parent = tess::adoptWindow(0x4201);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(tess::adoptWindow(0x4201), parent); // the same handle for the same window
    EXPECT_TRUE(IsWindow(parent));
    RECT area;
    ASSERT_TRUE(GetClientRect(parent, &area));
    EXPECT_EQ((std::vector<LONG>{area.right, area.bottom}), (std::vector<LONG>{640, 480}));
    ASSERT_NE(registerTestClass("noting", notingProc), 0);
    HWND child = CreateWindowExA(0, "noting", "t", WS_CHILD, 0, 0, 640, 480, parent, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    ShowWindow(child, SW_SHOW);
    MemoryDc red(640, 480);
    RECT all{0, 0, 640, 480};
    HBRUSH brush = CreateSolidBrush(0x0000FF);
    FillRect(red.dc, &all, brush);
    DeleteObject(brush);
    red.copyTo(child);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 40, QS_ALLINPUT);
    EXPECT_EQ(headless::shown(shownIn(child))->at(639, 479), COLORREF(0x0000FF));

    // Its owner sizes it: the child follows and is told.
    seenMessages().clear();
    headless::placeByUser(shownIn(child), Area{100, 50, 320, 200});
    peek(PM_NOREMOVE);
    ASSERT_TRUE(GetClientRect(child, &area));
    EXPECT_EQ((std::vector<LONG>{area.right, area.bottom}), (std::vector<LONG>{320, 200}));
    EXPECT_EQ(seenMessages(), (std::vector<UINT>{WM_SIZE}));

    // Destroyed by its owner: the child is destroyed with it, the handles go.
    headless::removeForeignWindow(0x4201);
    seenMessages().clear();
    peek(PM_NOREMOVE);
    EXPECT_EQ(seenMessages(), (std::vector<UINT>{WM_DESTROY}));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(parent));
}

TEST_F(Windows, ShuttingDownLeavesNothingForTheNextHost) {
    HWND hwnd = popup(0, 0, 16, 8);
    pressKey(hwnd, VK_RETURN, true);
    pressKey(hwnd, VK_RETURN, false);
    pressKey(hwnd, VK_SPACE, true);
    peek();
    ASSERT_EQ(GetKeyState(VK_RETURN) & 1, 1); // toggled
    ShowCursor(FALSE);
    ASSERT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    PostQuitMessage(3);

    tess::shutdownHost();
    ASSERT_TRUE(tess::hostReady());
    EXPECT_EQ(GetKeyState(VK_RETURN), 0);
    EXPECT_EQ(GetKeyState(VK_SPACE), 0);
    EXPECT_TRUE(testCursorShown());
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(current().dmPelsWidth, 1024u);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(peek().message, UINT(WM_NULL));
    EXPECT_NE(registerTestClass("quiet", quietProc), 0); // the classes went too
}

} // namespace
