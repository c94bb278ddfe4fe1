// Keyboard and cursor state as the driver last reported it (nothing held, the
// cursor at (0, 0) until then), the messages Windows sends for key changes,
// and ShowCursor's display counter.
#pragma once

#include "platform/host/core.h"

namespace tess::host {

// Sets a key's state as GetKeyState reads it; a press flips its toggle.
void setKeyDown(int virtualKey, bool down);
// A key change from the window system: the key's state and, for a side's
// Shift, Ctrl or Alt, the shared code's while either side is held.
void noteKey(int virtualKey, bool down);
// Every held key released: the keyboard went elsewhere, and their key-ups with
// it (a held Enter would otherwise recolour forever).
void releaseKeys();

// The message Windows sends for a key change: a system key with Alt (that is how
// Alt+F4 reaches DefWindowProcA), the shared code for a side's modifier, and an
// lParam of repeat count 1, bit 29 with Alt, bit 30 when the key was already
// down, bit 31 on release.
struct KeyMessage {
    UINT message;
    WPARAM key;
    LPARAM param;
};
KeyMessage keyMessage(int virtualKey, bool down, bool repeat, bool alt);

void setCursorPosition(int x, int y);
// ShowCursor's counter moved by `step`; the driver shows the cursor while it is >= 0.
int stepCursorCount(int step);
// Tells the driver what the counter says (once it runs).
void applyCursorVisibility();

} // namespace tess::host
