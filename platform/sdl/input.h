// Keyboard from SDL events: virtual-key codes, and the ShowCursor display
// counter. Key and cursor state itself lives in
// platform/host.h; where the cursor is on the program's screen, in present.h.
#pragma once

#include "platform/win32.h"

#include <SDL_keycode.h>

namespace tess::sdl {

// The virtual-key code of an SDL key, or 0 for a key the program cannot name.
int virtualKeyOf(SDL_Keycode key);

// ShowCursor's display counter moved by `step`: its new value. SDL's cursor shows
// while it is at least 0.
int stepCursorCount(int step);
// Shows or hides SDL's cursor for the current count (once video runs).
void applyCursorVisibility();
void resetInput();

} // namespace tess::sdl
