// Keys from the page: the virtual-key code of a DOM key event's `code` (the
// physical key, whatever the keyboard layout). Plain code, no browser calls:
// tested natively.
#pragma once

namespace tess::web {

// The virtual-key code of KeyboardEvent.code ("KeyA", "Enter", "ShiftLeft",
// "F5", ...), or 0 for a key the program cannot name (and for null).
int virtualKeyOf(const char* code);

} // namespace tess::web
