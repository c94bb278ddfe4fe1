// Holding a key down for code that polls GetKeyState, on whichever platform the
// tests run: our host's key table, or the thread's keyboard state on Windows.
// Only the "held" bit (0x80) is set or cleared; toggle bits are left alone.
#pragma once

void holdKey(int virtualKey, bool down);
