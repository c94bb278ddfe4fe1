// The thread's message queue: posted messages in order, WM_PAINT when nothing is
// posted, WM_QUIT only when nothing else waits. Pumping first presents what is
// due, then turns SDL events and termination signals into messages and marks;
// a lost connection, reported by SDL, ends the program there (backend.h).
#pragma once

#include "platform/win32.h"

namespace tess::sdl {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void postQuit(int exitCode);
// The next message for PeekMessageA's filter (window null: any; low = high = 0:
// any message), removed with `remove`; false when none waits.
bool takeMessage(MSG& out, HWND window, UINT low, UINT high, bool remove);

// Presents what is due, then reads the window system (at most once a
// millisecond unless `now`) and termination signals into the queue.
void pump(bool now = false);
// Pumps until a message waits (true) or `milliseconds` pass (false; INFINITE
// waits for ever), sleeping meanwhile: woken by the window system, a signal,
// or a present falling due.
bool waitForMessage(DWORD milliseconds);

// WM_DESTROY to the window, then its children the same way (as on Windows),
// then its record and whatever still waits for it go. False when no such window.
bool destroyWindowTree(HWND window);
void resetQueue();

} // namespace tess::sdl
