// Keyboard and cursor from SDL events: virtual-key codes, the key-message
// lParam, the cursor in the coordinates of the screen the program sees, and the
// ShowCursor display counter. Key state itself lives in platform/host.h.
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

// A cursor position on the desktop (SDL global coordinates), mapped to the screen
// the program sees and stored for GetCursorPos.
void noteCursor(int desktopX, int desktopY);

// Shows or hides SDL's cursor for the current ShowCursor count.
void applyCursorVisibility();
void resetInput();

} // namespace tess::sdl
