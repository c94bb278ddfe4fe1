// The screensaver's command lines: the Windows one (/s, /p HWND, /c) and the X
// one (-root, -window-id ID, XSCREENSAVER_WINDOW), each read into the mode the
// saver runs in. Reading only: nothing here touches a window.
#pragma once

#include "app/pace.h"
#include "platform/win32.h"

#include <string>

// What the saver's settings choose, on either system.
struct SaverSettings {
    static constexpr unsigned kMaxDelay = 1000000; // a second between frames
    static constexpr int kMaxPixelSize = 8;
    unsigned delay = kDefaultDelay; // microseconds between the frames shown; 0 never waits
    bool delayGiven = false;        // the delay is the user's, not the default
    int pixelSize = 0;              // 1 to 8 screen pixels a side per bitmap pixel; 0 automatic
    // Thin, faint threads: one step of the delay's length and one fade per
    // frame, instead of the program's picture (0 draws that in either case).
    bool feathered = false;
    // The delay the saver runs at: the feathered threads keep their own pace
    // unless a delay is given.
    unsigned pace() const { return feathered && !delayGiven ? kFeatheredDelay : delay; }
};

// The pixel size a window `height` rows high is drawn at: `wanted` itself, or
// when it is 0 (automatic) the size whose bitmap height is nearest to 600 rows,
// the smaller on a tie and at least 1 (1080 rows: 2; 2160: 4; 300: 1).
int pixelSizeFor(int wanted, int height);

// Settings as the registry held them: each value null when missing or not a
// DWORD. Whatever is missing, of another type or out of range takes its default.
SaverSettings settingsFromValues(const DWORD* delay, const DWORD* pixelSize,
                                 const DWORD* feathered);

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

// Where the X screensaver-hack options say to draw, and how. Options take one
// dash or two, and a value either as the next argument or after '=': -root,
// -window-id ID (decimal or 0x hex), -delay MICROSECONDS (0 to 1000000),
// -pixel N|auto (N 1 to 8), -feathered, -overlay, -wallpaper, -help, -version.
// -window-id beats the environment's XSCREENSAVER_WINDOW (null when unset), which
// beats -root; -overlay and -wallpaper (the desktop's layers above and below every
// window) go with none of those three, nor with each other.
struct SaverTarget {
    enum Kind {
        OwnWindow,
        ForeignWindow,
        RootWindow,
        Overlay,   // above every window on every monitor, any input ends it
        Wallpaper, // the desktop's background, under every window
        Help,
        Version,
        Bad
    } kind = OwnWindow;
    unsigned long windowId = 0;
    SaverSettings settings;
    std::string problem; // for Bad: what was wrong, for the one line on stderr
    int exitCode = 0;    // for Bad: 2 for a malformed option, 1 for a window id in the environment
};
SaverTarget parseSaverOptions(int argc, const char* const* argv, const char* environmentWindow);
