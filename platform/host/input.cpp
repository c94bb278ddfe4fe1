// The key table, key messages and the cursor, and the calls that read them
// (no display needed: the animation and the toolkit read them anywhere).

#include "platform/host/input.h"

namespace tess::host {
namespace {

// Left side, right side, and the code both drive.
struct SharedKey {
    int left, right, shared;
};
constexpr SharedKey kSharedKeys[] = {{VK_LSHIFT, VK_RSHIFT, VK_SHIFT},
                                     {VK_LCONTROL, VK_RCONTROL, VK_CONTROL},
                                     {VK_LMENU, VK_RMENU, VK_MENU}};

} // namespace

void setKeyDown(int vk, bool down) {
    if (vk < 0 || vk > 255) return;
    Input& s = host().input;
    // The toggle flips on each press, as Windows tracks it for every key.
    if (down && !s.down[vk]) s.toggled[vk] ^= 1;
    s.down[vk] = down ? 1 : 0;
}

void noteKey(int vk, bool down) {
    if (vk <= 0 || vk > 255) return;
    setKeyDown(vk, down);
    const tess::host::Input& s = tess::host::host().input;
    for (const SharedKey& k : kSharedKeys)
        if (vk == k.left || vk == k.right) setKeyDown(k.shared, s.down[k.left] || s.down[k.right]);
}

void releaseKeys() {
    for (int vk = 1; vk < 256; ++vk)
        if (host().input.down[vk]) noteKey(vk, false);
}

KeyMessage keyMessage(int vk, bool down, bool repeat, bool alt) {
    WPARAM key = WPARAM(vk);
    for (const SharedKey& k : kSharedKeys)
        if (vk == k.left || vk == k.right) key = WPARAM(k.shared);
    alt = alt || key == VK_MENU;
    unsigned long param = 1;
    if (alt) param |= 1UL << 29;
    if (repeat || !down) param |= 1UL << 30;
    if (!down) param |= 1UL << 31;
    const UINT message =
        alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    return KeyMessage{message, key, LPARAM(param)};
}

void setCursorPosition(int x, int y) {
    host().input.cursor = POINT{x, y};
}

int stepCursorCount(int step) {
    host().input.cursorCount += step;
    applyCursorVisibility();
    return host().input.cursorCount;
}

void applyCursorVisibility() {
    if (host().state == Host::State::Ready) driver().showCursor(host().input.cursorCount >= 0);
}

} // namespace tess::host

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    const tess::host::Input& s = tess::host::host().input;
    // Windows encoding: a held key has the high bit set (reads as 0xFF80), bit 0 is the toggle.
    return SHORT((s.down[vk] ? 0xFF80 : 0) | (s.toggled[vk] ? 1 : 0));
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = tess::host::host().input.cursor;
    return TRUE;
}
