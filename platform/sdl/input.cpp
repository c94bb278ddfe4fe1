// Keys and cursor visibility, fed from SDL events into the state that
// GetKeyState reads.

#include "platform/sdl/input.h"

#include "platform/host.h"

#include <SDL.h>

namespace tess::sdl {
namespace {

struct Input {
    int cursorCount = 0; // ShowCursor's display counter: shown while >= 0
};

Input& input() {
    static Input s;
    return s;
}

} // namespace

int virtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + int(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + int(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + int(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + int(key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return 0x21;
    case SDLK_PAGEDOWN:
        return 0x22;
    case SDLK_END:
        return 0x23;
    case SDLK_HOME:
        return 0x24;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return 0x2D;
    case SDLK_DELETE:
        return 0x2E;
    case SDLK_KP_0:
        return 0x60;
    case SDLK_LSHIFT:
        return VK_LSHIFT;
    case SDLK_RSHIFT:
        return VK_RSHIFT;
    case SDLK_LCTRL:
        return VK_LCONTROL;
    case SDLK_RCTRL:
        return VK_RCONTROL;
    case SDLK_LALT:
        return VK_LMENU;
    case SDLK_RALT:
        return VK_RMENU;
    default:
        return 0;
    }
}

int stepCursorCount(int step) {
    input().cursorCount += step;
    applyCursorVisibility();
    return input().cursorCount;
}

void applyCursorVisibility() {
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(input().cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

void resetInput() {
    Input& s = input();
    for (int vk = 0; vk < 256; ++vk)
        setKeyDown(vk, false); // a release flips no toggle
    s = Input{};
    setCursorPosition(0, 0);
}

} // namespace tess::sdl
