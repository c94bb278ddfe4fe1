// Keys from the page: the virtual-key code of a DOM key event's `code` (the
// physical key, whatever the keyboard layout), and the key state GetKeyState
// reads (platform/host.h). Plain code, no browser calls: tested natively.
#pragma once

namespace tess::web {

// The virtual-key code of KeyboardEvent.code ("KeyA", "Enter", "ShiftLeft",
// "F5", ...), or 0 for a key the program cannot name (and for null).
int virtualKeyOf(const char* code);

// The code a key message carries: either Shift, Ctrl or Alt as the shared one
// (VK_SHIFT, VK_CONTROL, VK_MENU), as Windows names them there.
int messageKey(int virtualKey);

// Feeds a key change into the state GetKeyState reads: the key itself and, for
// a side's Shift, Ctrl or Alt, the shared code while either side is held.
void noteKey(int virtualKey, bool down);
// Every held key released: the page lost the keyboard, so their key-ups will
// go elsewhere (a held Enter would otherwise recolour forever).
void releaseKeys();

} // namespace tess::web
