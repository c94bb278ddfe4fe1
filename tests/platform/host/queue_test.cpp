// The queue and the key state, on whichever driver the test desktop has.

#include "platform/win32.h"
#include "support/host_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

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

struct Queue : HostTest {
    HWND window = nullptr;
    void SetUp() override {
        HostTest::SetUp();
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
    void key(int vk, bool down, bool repeat = false, bool alt = false) {
        pressKey(window, vk, down, repeat, alt);
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
    key(VK_SPACE, true);
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
    key('A', true);
    EXPECT_EQ(next().message, UINT(WM_KEYDOWN));
    EXPECT_EQ(next().message, UINT(WM_QUIT));
}

TEST_F(Queue, TurnsKeyChangesIntoTheMessagesWindowsSends) {
    key(VK_RETURN, true);
    key(VK_RETURN, true, true);
    key(VK_RETURN, false);
    key(VK_ESCAPE, true);
    key('A', true);
    key('7', true);
    key(VK_LSHIFT, true);
    key(VK_F4, true, false, true);
    pressKey(nullptr, 'B', true); // from before the window was known: to the first window
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
                    {WM_SYSKEYDOWN, VK_F4, 0x20000001},
                    {WM_KEYDOWN, 'B', 0x00000001}};
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
    EXPECT_EQ(GetKeyState(VK_RETURN), 0); // a new host: nothing held, nothing toggled
    key(VK_RETURN, true);
    next();
    const SHORT held = GetKeyState(VK_RETURN);
    EXPECT_TRUE(held & 0x8000);
    EXPECT_TRUE(held & 0x80);
    EXPECT_EQ(held, SHORT(0xFF81)); // held, toggled by the press
    key(VK_RETURN, true, true);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), held); // a repeat is no new press
    key(VK_RETURN, false);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), 1);
    EXPECT_FALSE(GetKeyState(VK_RETURN) & 0x80);
    key(VK_RETURN, true);
    next();
    EXPECT_EQ(GetKeyState(VK_RETURN), SHORT(0xFF80)); // the next press toggles back

    // Either Shift holds the shared code until both are up.
    key(VK_LSHIFT, true);
    key(VK_RSHIFT, true);
    key(VK_LSHIFT, false);
    for (int i = 0; i < 3; ++i)
        next();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_RSHIFT) & 0x8000);
    key(VK_RSHIFT, false);
    next();
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(Queue, DispatchCallsTheProcedureAndTheDefaultCloseDestroysTheWindow) {
    PostMessageA(window, WM_USER, 5, 0);
    MSG m = next();
    EXPECT_EQ(DispatchMessageA(&m), 42);
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0].message, UINT(WM_USER));
    EXPECT_EQ(received()[0].wParam, WPARAM(5));

    // Alt+F4 reaches the default procedure as a system key, which closes.
    key(VK_F4, true, false, true);
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

} // namespace
