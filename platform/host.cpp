// The host hooks, and the keyboard and cursor state the host feeds in.

#include "platform/host.h"

#include <cstring>

namespace tess {
namespace {

struct InputState {
    unsigned char down[256] = {};
    unsigned char toggled[256] = {};
    POINT cursor{0, 0};
};

InputState& input() {
    static InputState s;
    return s;
}

WindowHost& hostSlot() {
    static WindowHost h;
    return h;
}

} // namespace

void setWindowHost(const WindowHost& host) {
    hostSlot() = host;
}
const WindowHost& windowHost() {
    return hostSlot();
}

void setKeyDown(int vk, bool down) {
    if (vk < 0 || vk > 255) return;
    InputState& s = input();
    // The toggle flips on each press, as Windows tracks it for every key.
    if (down && !s.down[vk]) s.toggled[vk] ^= 1;
    s.down[vk] = down ? 1 : 0;
}

void setCursorPosition(int x, int y) {
    input().cursor = POINT{x, y};
}

} // namespace tess

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    const auto& s = tess::input();
    // Windows encoding: a held key has the high bit set (reads as 0xFF80), bit 0 is the toggle.
    return SHORT((s.down[vk] ? 0xFF80 : 0) | (s.toggled[vk] ? 1 : 0));
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = tess::input().cursor;
    return TRUE;
}
