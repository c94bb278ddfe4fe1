// The thread's message queue in the browser: posted messages in order, WM_PAINT
// when nothing is posted, WM_QUIT only when nothing else waits. The program runs
// undisturbed for a few milliseconds at a time; then PeekMessageA sleeps until
// the display's next frame, when the page's key events come in and the window's
// changes go up, so there is one present per display frame at most.
#pragma once

namespace tess::web {

// A key went down or up in the page: the state GetKeyState reads, and the key
// message for the window (a system key with Alt, as Alt+F4 is on Windows).
void keyChanged(int virtualKey, bool down, bool repeat, bool alt);

} // namespace tess::web
