// Key state on Windows: GetKeyState reads the calling thread's keyboard state,
// which SetKeyboardState replaces without any input event.

#include "support/key_state.h"

#include "platform/win32.h"

void holdKey(int virtualKey, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[virtualKey & 0xFF] =
        static_cast<BYTE>(down ? keys[virtualKey & 0xFF] | 0x80 : keys[virtualKey & 0xFF] & ~0x80);
    SetKeyboardState(keys);
}
