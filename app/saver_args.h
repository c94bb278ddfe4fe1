// The screensaver's command lines: the Windows one (/s, /p HWND, /c) and the X
// one (-root, -window-id ID, XSCREENSAVER_WINDOW), each read into the mode the
// saver runs in. Reading only: nothing here touches a window.
#pragma once

#include "platform/win32.h"

#include <string>

enum class SaverMode {
    FullScreen, // over the whole desktop; any input ends it
    Preview,    // filling the client area of a parent window until it goes away
    Window,     // in an ordinary window of its own
    Configure,  // a message box: there is nothing to set
    Invalid,    // a command line it does not understand
};

struct SaverArgs {
    SaverMode mode = SaverMode::Configure;
    HWND parent = nullptr; // Preview: the window to fill; Configure: the box's owner, if any
};

// /s, /p HWND, /p:HWND, /c, /c:HWND or nothing (Configure); switches are
// case-insensitive and '-' works like '/'; handles are decimal. Anything else,
// a /p without its handle included, is Invalid.
SaverArgs parseSaverTail(const char* tail);

// Where the X screensaver-hack options say to draw. Options take one dash or
// two: -root, -window-id ID (decimal or 0x hex), -help. -window-id beats the
// environment's XSCREENSAVER_WINDOW (null when unset), which beats -root.
struct SaverTarget {
    enum Kind { OwnWindow, ForeignWindow, RootWindow, Help, Bad } kind = OwnWindow;
    unsigned long windowId = 0;
    std::string problem; // for Bad: what was wrong, for the one line on stderr
    int exitCode = 0;    // for Bad: 2 for a malformed option, 1 for a window id in the environment
};
SaverTarget parseSaverOptions(int argc, const char* const* argv, const char* environmentWindow);
