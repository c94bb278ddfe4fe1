// The thread's message queue: posted messages in order, WM_PAINT when nothing is
// posted, WM_QUIT only when nothing else waits. SDL events and termination
// signals are turned into messages when PeekMessageA pumps.
#pragma once

#include "platform/win32.h"

namespace tess::sdl {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops what still waits for a destroyed window.
void dropMessagesFor(HWND window);
// SIGINT and SIGTERM become WM_CLOSE for every window from now on.
void catchTerminationSignals();
// The termination signal that arrived last (SIGINT, SIGTERM), or 0 for none: a
// program that must end by the signal re-raises it once it has cleaned up.
int terminationSignal();
void resetQueue();

} // namespace tess::sdl
