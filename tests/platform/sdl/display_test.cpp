#include "platform/host.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display.h"
#include "platform/sdl/video.h"
#include "platform/sdl/window.h"
#include "platform/win32.h"
#include "support/dummy_display.h"
#include "support/memory_dc.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace tess::sdl;

LRESULT CALLBACK quietProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

void registerQuiet() {
    ASSERT_NE(registerTestClass("quiet", quietProc), 0);
}

DEVMODEA current() {
    DEVMODEA m;
    std::memset(&m, 0, sizeof m);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m));
    return m;
}

LONG switchTo(DWORD w, DWORD h, DWORD flags = CDS_FULLSCREEN) {
    DEVMODEA m = current();
    m.dmPelsWidth = w;
    m.dmPelsHeight = h;
    return ChangeDisplaySettingsA(&m, flags);
}

std::vector<unsigned> size(const DEVMODEA& m) {
    return {m.dmPelsWidth, m.dmPelsHeight};
}

using DisplayModes = DummyDisplay;

TEST_F(DisplayModes, SwitchingReportsTheNewModeAndRestoringGivesBackTheDesktop) {
    const DEVMODEA desktop = current();
    EXPECT_EQ(size(desktop), (std::vector<unsigned>{1024, 768})); // the dummy driver's desktop
    EXPECT_EQ(desktop.dmBitsPerPel, 32u);
    EXPECT_EQ(desktop.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL),
              DWORD(DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL));
    EXPECT_EQ(desktop.dmSize, sizeof(DEVMODEA));

    EXPECT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(displaySwitched());
    const DEVMODEA switched = current();
    EXPECT_EQ(size(switched), (std::vector<unsigned>{320, 240}));
    EXPECT_EQ(switched.dmBitsPerPel, 32u);
    EXPECT_EQ(switched.dmDisplayFrequency, desktop.dmDisplayFrequency);
    DEVMODEA stored;
    std::memset(&stored, 0, sizeof stored);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &stored));
    EXPECT_EQ(size(stored), (std::vector<unsigned>{1024, 768}));

    // A second switch replaces the first; one restore returns to the desktop.
    EXPECT_EQ(switchTo(1280, 1024), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1280, 1024}));
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_FALSE(displaySwitched());
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1024, 768}));
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0),
              DISP_CHANGE_SUCCESSFUL); // restoring twice is harmless
    EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", ENUM_CURRENT_SETTINGS, &stored));
}

TEST_F(DisplayModes, ModesThatCannotBeShownFailAsBadModeAndChangeNothing) {
    EXPECT_EQ(switchTo(0, 240), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(320, 0), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(DWORD(-5), 240),
              DISP_CHANGE_BADMODE); // a negative width, as the record holds it
    EXPECT_EQ(switchTo(16385, 240), DISP_CHANGE_BADMODE);
    EXPECT_EQ(switchTo(320, 16385), DISP_CHANGE_BADMODE);
    DEVMODEA oddDepth = current();
    oddDepth.dmBitsPerPel = 7;
    EXPECT_EQ(ChangeDisplaySettingsA(&oddDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    EXPECT_FALSE(displaySwitched());
    EXPECT_EQ(size(current()), (std::vector<unsigned>{1024, 768}));

    EXPECT_EQ(switchTo(16384, 16384, CDS_TEST), DISP_CHANGE_SUCCESSFUL); // the largest, tested only
    EXPECT_FALSE(displaySwitched());

    // After a good switch a bad one leaves the good one in place.
    EXPECT_EQ(switchTo(640, 480), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(switchTo(0, 0), DISP_CHANGE_BADMODE);
    EXPECT_EQ(size(current()), (std::vector<unsigned>{640, 480}));
}

// Reads the SDL window's pixel as 0x00BBGGRR.
COLORREF shown(SDL_Window* w, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(w);
    Uint32 v = 0;
    std::memcpy(
        &v, static_cast<unsigned char*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
        s->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return RGB(r, g, b);
}

// The pointer moves to (x, y) of an SDL window, as far as the host can tell.
void moveCursorTo(SDL_Window* sdl, int x, int y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(sdl);
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
}

using SwitchedScreen = DummyDisplay;

TEST_F(SwitchedScreen, AWindowCoversTheDesktopShowingItsSurfaceScaledAndCentred) {
    registerQuiet();
    ASSERT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    HWND hwnd = CreateWindowExA(0, "quiet", "t", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ((std::vector<LONG>{client.left, client.top, client.right, client.bottom}),
              (std::vector<LONG>{0, 0, 320, 240}));
    SDL_Window* sdl = sdlWindowOf(hwnd);
    int x = -1, y = -1, w = 0, h = 0;
    SDL_GetWindowPosition(sdl, &x, &y);
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{0, 0, 1024, 768}));
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS);
    ShowWindow(hwnd, SW_SHOWDEFAULT);

    // 320 x 240 fills the 1024 x 768 desktop (3.2 times): the corner pixels
    // become blocks of three or four pixels a side, by nearest neighbour.
    MemoryDc bitmap(320, 240);
    SetPixelV(bitmap.dc, 0, 0, 0x0000FF);
    SetPixelV(bitmap.dc, 319, 239, 0xFF0000);
    HDC dc = GetDC(hwnd);
    BitBlt(dc, 0, 0, 320, 240, bitmap.dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    // Shown within a refresh interval of the copy, by the main loop's peeking alone.
    MSG m;
    for (int i = 0; i < 1000 && !findWindow(hwnd)->surface.dirty.empty(); ++i) {
        PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
        SDL_Delay(1);
    }
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {{0, 0, 0x0000FF},      {3, 3, 0x0000FF},      {4, 0, 0},      {0, 4, 0},
                  {1021, 765, 0xFF0000}, {1023, 767, 0xFF0000}, {1020, 767, 0}, {1023, 764, 0}};
    for (const auto& p : probes)
        EXPECT_EQ(shown(sdl, p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;

    // The cursor reads in switched-screen pixels, clamped to the screen.
    moveCursorTo(sdl, 100, 50);
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{31, 15}));
    moveCursorTo(sdl, 0, 767);
    GetCursorPos(&at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{0, 239}));
    // The screen DC is the switched screen's size.
    EXPECT_EQ(tess::windowHost().screenWidth, 320);
    EXPECT_EQ(tess::windowHost().screenHeight, 240);
}

// A desktop of two monitors side by side, as a window system's backend reports
// them: the primary one of 1280 x 1024 on the left (larger than the dummy
// driver's display, so that its full-screen windows come out smaller, as a
// window manager may make them), a 800 x 600 one at 75 Hz on its right.
std::vector<tess::sdl::Monitor> twoMonitors() {
    return {{"left", SDL_Rect{0, 0, 1280, 1024}, 32, 60},
            {"right", SDL_Rect{1280, 0, 800, 600}, 32, 75}};
}
bool unchanged() {
    return false;
}

struct TwoMonitors : DummyDisplay {
    Backend fake = portableBackend();
    void SetUp() override {
        DummyDisplay::SetUp();
        fake.monitors = twoMonitors;
        fake.monitorsChanged = unchanged;
        chooseBackend(fake);
        startDisplay();
        registerQuiet();
    }
};

std::vector<std::vector<LONG>>& seen() {
    static std::vector<std::vector<LONG>> s;
    return s;
}
BOOL CALLBACK note(HMONITOR, HDC, LPRECT r, LPARAM) {
    seen().push_back({r->left, r->top, r->right, r->bottom});
    return TRUE;
}
std::vector<std::vector<LONG>> monitorsOf(HDC dc) {
    seen().clear();
    EXPECT_TRUE(EnumDisplayMonitors(dc, nullptr, note, 0));
    return seen();
}

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
    HWND across = CreateWindowExA(0, "quiet", "t", WS_POPUP, 1200, 100, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HDC dc = GetDC(across);
    EXPECT_EQ(monitorsOf(dc), (std::vector<std::vector<LONG>>{{0, 0, 80, 200}, {80, 0, 300, 200}}));
    ReleaseDC(across, dc);
    EXPECT_DOUBLE_EQ(findWindow(across)->interval, 1.0 / 75);
    moveCursorTo(sdlWindowOf(across), 10, 20);
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{1210, 120}));

    // Switched, the screen is one monitor, the primary; the stored mode is its own.
    ASSERT_EQ(switchTo(320, 240), DISP_CHANGE_SUCCESSFUL);
    HWND full = CreateWindowExA(0, "quiet", "t", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_EQ(monitorsOf(nullptr), (std::vector<std::vector<LONG>>{{0, 0, 320, 240}}));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 320);
    DEVMODEA stored;
    std::memset(&stored, 0, sizeof stored);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &stored));
    EXPECT_EQ(size(stored), (std::vector<unsigned>{1280, 1024}));
    // Its full-screen window came out 1024 x 768: the cursor maps back through
    // that, as the present fits the screen into it, not through the monitor.
    int w = 0, h = 0;
    SDL_GetWindowSize(sdlWindowOf(full), &w, &h);
    ASSERT_EQ((std::vector<int>{w, h}), (std::vector<int>{1024, 768}));
    moveCursorTo(sdlWindowOf(full), 100, 50);
    GetCursorPos(&at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{31, 15}));
}

using Cursor = DummyDisplay;

TEST_F(Cursor, ShowsWhileItsDisplayCounterIsAtLeastZero) {
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE); // one show does not undo two hides
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(VideoDriver, InvisibleDriversServeOnlyWhenAskedForByName) {
    EXPECT_TRUE(driverAccepted("x11", nullptr));
    EXPECT_TRUE(driverAccepted("wayland", "x11")); // a real display, whatever was asked
    EXPECT_FALSE(driverAccepted("offscreen", nullptr));
    EXPECT_FALSE(driverAccepted("offscreen", ""));
    EXPECT_FALSE(driverAccepted("dummy", nullptr));
    EXPECT_FALSE(driverAccepted("dummy", "offscreen"));
    EXPECT_FALSE(driverAccepted("evdev", nullptr));
    EXPECT_TRUE(driverAccepted("offscreen", "offscreen"));
    EXPECT_TRUE(driverAccepted("dummy", "DUMMY"));
    EXPECT_FALSE(driverAccepted(nullptr, "dummy"));
}

} // namespace
