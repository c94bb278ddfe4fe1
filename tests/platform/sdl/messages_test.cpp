#include "platform/sdl/messages.h"
#include "platform/sdl/window.h"
#include "platform/win32.h"
#include "support/dummy_display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <vector>

namespace {

using namespace tess::sdl;

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
};

std::vector<Received>& received() {
    static std::vector<Received> r;
    return r;
}

// Records what it is sent; answers 42 to WM_USER, defaults the rest.
LRESULT CALLBACK recordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    received().push_back(Received{w, m, wp});
    return m == WM_USER ? 42 : DefWindowProcA(w, m, wp, lp);
}

struct Queue : DummyDisplay {
    HWND window = nullptr;
    void SetUp() override {
        DummyDisplay::SetUp();
        received().clear();
        ASSERT_NE(registerTestClass("recorder", recordingProc), 0);
        window = CreateWindowExA(0, "recorder", "t", WS_POPUP, 0, 0, 16, 8, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    // The next message, removed; WM_NULL when none waits.
    MSG next(UINT remove = PM_REMOVE) {
        MSG m;
        std::memset(&m, 0, sizeof m);
        if (!PeekMessageA(&m, nullptr, 0, 0, remove)) m.message = WM_NULL;
        return m;
    }
    void pushKey(SDL_Keycode key, bool down, bool repeat = false, Uint16 mod = KMOD_NONE) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = SDL_GetWindowID(sdlWindowOf(window));
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
};

TEST_F(Queue, HandsOutOneMessagePerCallInTheOrderPosted) {
    for (UINT i = 1; i <= 3; ++i)
        ASSERT_TRUE(PostMessageA(window, WM_USER + i, i * 10, 0));
    MSG m = next(PM_NOREMOVE);
    EXPECT_EQ(m.message, UINT(WM_USER + 1));
    EXPECT_EQ(next(PM_NOREMOVE).message, UINT(WM_USER + 1)); // peeking leaves it there
    for (UINT i = 1; i <= 3; ++i) {
        m = next();
        EXPECT_EQ(m.hwnd, window);
        EXPECT_EQ(m.message, WM_USER + i);
        EXPECT_EQ(m.wParam, WPARAM(i * 10));
    }
    EXPECT_EQ(next().message, UINT(WM_NULL));
    EXPECT_TRUE(received().empty()); // nothing reaches the procedure until dispatched
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(std::uintptr_t(0x7770)), WM_USER, 0, 0));
}

TEST_F(Queue, GivesWmQuitOnlyWhenNothingElseWaitsWithItsCode) {
    PostQuitMessage(7);
    PostMessageA(window, WM_USER, 0, 0);
    ShowWindow(window, SW_SHOW); // a WM_PAINT is now due
    pushKey(SDLK_SPACE, true);
    EXPECT_EQ(next().message, UINT(WM_USER));
    EXPECT_EQ(next().message, UINT(WM_KEYDOWN));
    // WM_PAINT comes until the window is validated, and keeps WM_QUIT waiting.
    EXPECT_EQ(next().message, UINT(WM_PAINT));
    MSG paint = next();
    EXPECT_EQ(paint.message, UINT(WM_PAINT));
    EXPECT_EQ(paint.hwnd, window);
    DispatchMessageA(&paint); // the default procedure validates
    MSG quit = next(PM_NOREMOVE);
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    quit = next();
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, WPARAM(7));
    EXPECT_EQ(quit.hwnd, nullptr);
    EXPECT_EQ(next().message, UINT(WM_NULL)); // taken once

    // A quit posted before a key still comes after it.
    PostQuitMessage(0);
    pushKey(SDLK_a, true);
    EXPECT_EQ(next().message, UINT(WM_KEYDOWN));
    EXPECT_EQ(next().message, UINT(WM_QUIT));
}

TEST_F(Queue, TurnsSdlKeysIntoKeyMessagesWithVirtualKeyCodes) {
    pushKey(SDLK_RETURN, true);
    pushKey(SDLK_RETURN, true, true);
    pushKey(SDLK_RETURN, false);
    pushKey(SDLK_ESCAPE, true);
    pushKey(SDLK_a, true);
    pushKey(SDLK_7, true);
    pushKey(SDLK_LSHIFT, true);
    pushKey(SDLK_F4, true, false, KMOD_LALT);
    pushKey(SDLK_CAPSLOCK, true); // no code the program knows: dropped
    const struct {
        UINT message;
        WPARAM key;
        LPARAM param;
    } expected[] = {{WM_KEYDOWN, VK_RETURN, 0x00000001},
                    {WM_KEYDOWN, VK_RETURN, 0x40000001},
                    {WM_KEYUP, VK_RETURN, LPARAM(0xC0000001)},
                    {WM_KEYDOWN, VK_ESCAPE, 0x00000001},
                    {WM_KEYDOWN, 'A', 0x00000001},
                    {WM_KEYDOWN, '7', 0x00000001},
                    {WM_KEYDOWN, VK_SHIFT, 0x00000001},
                    {WM_SYSKEYDOWN, VK_F4, 0x20000001}};
    for (const auto& e : expected) {
        const MSG m = next();
        EXPECT_EQ(m.hwnd, window);
        EXPECT_EQ(m.message, e.message);
        EXPECT_EQ(m.wParam, e.key);
        EXPECT_EQ(m.lParam, e.param);
    }
    EXPECT_EQ(next().message, UINT(WM_NULL));
}

TEST_F(Queue, KeyStateReadsHeldKeysWithTheHighBitAndTheToggleInBitZero) {
    // The toggle is process-wide state: read where it stands, then watch it flip.
    const SHORT toggle = GetKeyState(VK_RETURN) & 1;
    EXPECT_EQ(GetKeyState(VK_RETURN), toggle); // not held
    pushKey(SDLK_RETURN, true);
    next();
    const SHORT held = GetKeyState(VK_RETURN);
    EXPECT_TRUE(held & 0x8000);
    EXPECT_TRUE(held & 0x80);
    EXPECT_EQ(held, SHORT(0xFF80 | (toggle ^ 1))); // held, toggled by the press
    pushKey(SDLK_RETURN, true, true);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), held); // a repeat is no new press
    pushKey(SDLK_RETURN, false);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), toggle ^ 1);
    EXPECT_FALSE(GetKeyState(VK_RETURN) & 0x80);
    pushKey(SDLK_RETURN, true);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), SHORT(0xFF80 | toggle)); // the next press toggles back

    // Either Shift holds the shared code until both are up.
    pushKey(SDLK_LSHIFT, true);
    pushKey(SDLK_RSHIFT, true);
    pushKey(SDLK_LSHIFT, false);
    for (int i = 0; i < 3; ++i)
        next();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_RSHIFT) & 0x8000);
    pushKey(SDLK_RSHIFT, false);
    next();
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(Queue, CloseRequestsAndTerminationSignalsArriveAsWmClose) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = SDL_GetWindowID(sdlWindowOf(window));
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    MSG m = next();
    EXPECT_EQ(m.message, UINT(WM_CLOSE));
    EXPECT_EQ(m.hwnd, window);

    for (int signal : {SIGTERM, SIGINT}) {
        std::raise(signal); // caught since the window was created
        m = next();
        EXPECT_EQ(m.message, UINT(WM_CLOSE));
        EXPECT_EQ(m.hwnd, window);
        EXPECT_EQ(next().message, UINT(WM_NULL));
    }
}

TEST_F(Queue, DispatchCallsTheProcedureAndTheDefaultCloseDestroysTheWindow) {
    PostMessageA(window, WM_USER, 5, 0);
    MSG m = next();
    EXPECT_EQ(DispatchMessageA(&m), 42);
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0].message, UINT(WM_USER));
    EXPECT_EQ(received()[0].wParam, WPARAM(5));

    // Alt+F4 reaches the default procedure as a system key, which closes.
    pushKey(SDLK_F4, true, false, KMOD_LALT);
    m = next();
    ASSERT_EQ(m.message, UINT(WM_SYSKEYDOWN));
    PostMessageA(window, WM_USER + 1, 0, 0);
    received().clear();
    DispatchMessageA(&m);
    std::vector<UINT> order;
    for (const Received& r : received())
        order.push_back(r.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
    RECT r;
    EXPECT_FALSE(GetClientRect(window, &r));  // gone
    EXPECT_EQ(next().message, UINT(WM_NULL)); // and what waited for it went with it
    EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(Queue, ClassesAreFoundWithoutCaseAndStayWhileTheirWindowsLive) {
    EXPECT_EQ(
        CreateWindowExA(0, "nobody", "t", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = "RECORDER";
    EXPECT_EQ(RegisterClassExA(&wc), 0); // taken, whatever the case
    wc.lpszClassName = "other";
    wc.cbSize = 48;
    EXPECT_EQ(RegisterClassExA(&wc), sizeof(WNDCLASSEXA) == 48 ? 0xC001 : 0);
    HWND second = CreateWindowExA(0, "Recorder", "t", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, window);
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
    DestroyWindow(second);
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("recorder", nullptr));
    EXPECT_FALSE(UnregisterClassA("recorder", nullptr));
}

} // namespace
