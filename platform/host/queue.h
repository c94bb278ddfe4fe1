// The thread's message queue: posted messages in order, WM_PAINT when nothing is
// posted, WM_QUIT only when nothing else waits. Pumping first presents what is
// due, then turns the driver's events into messages and marks.
#pragma once

#include "platform/host/core.h"

namespace tess::host {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void postQuit(int exitCode);
// The next message for PeekMessageA's filter (window null: any; low = high = 0:
// any message), removed with `remove`; false when none waits.
bool takeMessage(MSG& out, HWND window, UINT low, UINT high, bool remove);

// Presents what is due, then reads the driver's events (`now`: even if it read
// a moment ago) into the queue.
void pump(bool now = false);
// Pumps until a message waits (true) or `milliseconds` pass (false; INFINITE
// waits for ever), sleeping meanwhile: woken by the window system, a signal,
// or a present falling due.
bool waitForMessage(DWORD milliseconds);

// WM_DESTROY to the window, then its children the same way (as on Windows),
// then its record and whatever still waits for it go. False when no such window.
bool destroyWindowTree(HWND window);

} // namespace tess::host
