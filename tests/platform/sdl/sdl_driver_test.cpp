// The drivers over SDL2: SDL's events as driver events, the refusal of the
// invisible drivers, and, on SDL's dummy driver asked for by name, a window
// that shows what was copied into it and follows what SDL reports.

#include "platform/host.h"
#include "platform/host/core.h"
#include "platform/host/windows.h"
#include "platform/sdl/sdl_common.h"
#include "platform/win32.h"
#include "support/host_desktop.h"
#include "support/memory_dc.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using tess::DriverEvent;
using namespace tess::sdl;

const Hooks kNone = {[] { return false; }, noneGone, [] {}, [](int*, int) { return 0; },
                     maybeQueued};

std::vector<DriverEvent> translated(const SDL_Event& e) {
    std::vector<DriverEvent> out;
    translate(e, out, kNone);
    return out;
}

SDL_Event keyEvent(SDL_Keycode key, bool down, bool repeat = false, Uint16 mod = KMOD_NONE) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    return e;
}

TEST(SdlEvents, KeysBecomeVirtualKeysAndTheRestIsDropped) {
    const struct {
        SDL_Keycode key;
        int vk;
    } keys[] = {{SDLK_RETURN, VK_RETURN},
                {SDLK_KP_ENTER, VK_RETURN},
                {SDLK_ESCAPE, VK_ESCAPE},
                {SDLK_a, 'A'},
                {SDLK_z, 'Z'},
                {SDLK_7, '7'},
                {SDLK_F4, VK_F4},
                {SDLK_LSHIFT, VK_LSHIFT},
                {SDLK_RALT, VK_RMENU},
                {SDLK_KP_0, 0x60},
                {SDLK_KP_9, 0x69},
                {SDLK_DOWN, VK_DOWN}};
    for (const auto& k : keys)
        EXPECT_EQ(virtualKeyOf(k.key), k.vk) << k.key;
    EXPECT_EQ(virtualKeyOf(SDLK_CAPSLOCK), 0);

    std::vector<DriverEvent> e = translated(keyEvent(SDLK_F4, true, true, KMOD_LALT));
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].kind, DriverEvent::Key);
    EXPECT_EQ(e[0].virtualKey, VK_F4);
    EXPECT_TRUE(e[0].down);
    EXPECT_TRUE(e[0].repeat);
    EXPECT_TRUE(e[0].alt);
    e = translated(keyEvent(SDLK_RETURN, false));
    ASSERT_EQ(e.size(), 1u);
    EXPECT_FALSE(e[0].down || e[0].repeat || e[0].alt);
    EXPECT_TRUE(translated(keyEvent(SDLK_CAPSLOCK, true)).empty()); // no code the program knows
}

TEST(SdlEvents, WindowAndPointerEventsKeepTheirMeaning) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    const struct {
        Uint8 event;
        DriverEvent::Kind kind;
    } windowEvents[] = {{SDL_WINDOWEVENT_CLOSE, DriverEvent::Close},
                        {SDL_WINDOWEVENT_EXPOSED, DriverEvent::Exposed},
                        {SDL_WINDOWEVENT_SIZE_CHANGED, DriverEvent::Resized},
                        {SDL_WINDOWEVENT_MOVED, DriverEvent::Moved},
                        {SDL_WINDOWEVENT_SHOWN, DriverEvent::Shown},
                        {SDL_WINDOWEVENT_RESTORED, DriverEvent::Shown}};
    for (const auto& w : windowEvents) {
        e.window.event = w.event;
        const std::vector<DriverEvent> out = translated(e);
        ASSERT_EQ(out.size(), 1u) << int(w.event);
        EXPECT_EQ(out[0].kind, w.kind) << int(w.event);
    }
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    EXPECT_TRUE(translated(e).empty());

    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 12;
    e.motion.y = 34;
    std::vector<DriverEvent> out = translated(e);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, DriverEvent::Pointer);
    EXPECT_EQ((std::vector<int>{out[0].x, out[0].y}), (std::vector<int>{12, 34}));
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    out = translated(e);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, DriverEvent::Button);
    EXPECT_EQ(out[0].x, 3);
}

TEST(SdlVideo, InvisibleDriversServeOnlyWhenAskedForByName) {
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

// SDL's dummy driver, by name: a 1024 x 768 desktop with window surfaces.
struct DummyDriver : ::testing::Test {
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(tess::hostReady()) << tess::hostFailure();
    }
    void TearDown() override {
        tess::shutdownHost();
        unsetenv("SDL_VIDEODRIVER");
    }
};

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

TEST_F(DummyDriver, AWindowShowsWhatWasCopiedAndFollowsWhatSdlReports) {
    ASSERT_NE(registerTestClass("plain", DefWindowProcA), 0);
    HWND hwnd = CreateWindowExA(0, "plain", "t", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    SDL_Window* sdl = sdlWindow(tess::host::findWindow(hwnd)->shownIn);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS);
    MemoryDc bitmap(64, 48);
    SetPixelV(bitmap.dc, 5, 6, 0x0000FF);
    SetPixelV(bitmap.dc, 63, 47, 0xFF8000);
    bitmap.copyTo(hwnd);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 40, QS_ALLINPUT);
    EXPECT_EQ(shown(sdl, 5, 6), COLORREF(0x0000FF));
    EXPECT_EQ(shown(sdl, 63, 47), COLORREF(0xFF8000));
    EXPECT_EQ(shown(sdl, 6, 6), COLORREF(0));

    // SDL's cursor follows the ShowCursor counter.
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    // A move SDL reports is where the window is now.
    SDL_Event moved;
    std::memset(&moved, 0, sizeof moved);
    moved.type = SDL_WINDOWEVENT;
    moved.window.event = SDL_WINDOWEVENT_MOVED;
    moved.window.windowID = SDL_GetWindowID(sdl);
    SDL_SetWindowPosition(sdl, 300, 200);
    ASSERT_EQ(SDL_PushEvent(&moved), 1);
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ((std::vector<int>{tess::host::findWindow(hwnd)->x, tess::host::findWindow(hwnd)->y}),
              (std::vector<int>{300, 200}));
}

} // namespace
