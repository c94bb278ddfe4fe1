// Keyboard from SDL events: virtual-key codes, the key-message lParam, and the
// ShowCursor display counter. Key and cursor state itself lives in
// platform/host.h; where the cursor is on the program's screen, in present.h.
#pragma once

#include "platform/win32.h"

#include <SDL_keycode.h>

namespace tess::sdl {

// The virtual-key code of an SDL key, or 0 for a key the program cannot name.
int virtualKeyOf(SDL_Keycode key);
// lParam of a key message: repeat count 1, bit 29 with Alt held, bit 30 when the
// key was already down, bit 31 on release.
LPARAM keyMessageParam(bool down, bool repeat, bool alt);
// Feeds a key change into the state GetKeyState reads; left and right Shift,
// Ctrl and Alt also drive their shared code.
void noteKey(int virtualKey, bool down);

// ShowCursor's display counter moved by `step`: its new value. SDL's cursor shows
// while it is at least 0.
int stepCursorCount(int step);
// Shows or hides SDL's cursor for the current count (once video runs).
void applyCursorVisibility();
void resetInput();

} // namespace tess::sdl
