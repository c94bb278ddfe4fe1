// The page around the program: its canvas, the program's sleeps in the browser,
// the key events, the address's query and the line shown when the program has
// ended. page.cpp and the JavaScript library page.js are the only code that
// talks to the browser; the rest of the host calls these.
#pragma once

#include <cstdint>
#include <string>

namespace tess::web {

// Listens to the page's keys and focus from now on, each key change handed to
// `onKey` (a system key with Alt, as Alt+F4 is on Windows) and the page's loss
// of the keyboard to `onBlur`; later calls do nothing. Keys come in only while
// the program sleeps in the page.
using KeyListener = void (*)(int virtualKey, bool down, bool repeat, bool alt);
using BlurListener = void (*)();
void listenToPage(KeyListener onKey, BlurListener onBlur);

// What ended a sleep in the page.
enum class Woke { Timeout, Frame, Input };
// Gives the browser its turn, the program suspended (Asyncify) until
// `milliseconds` have passed (negative: no time limit), the display's next
// frame (when `untilFrame`), or a key event, whichever comes first.
Woke sleepInPage(int milliseconds, bool untilFrame);

// The canvas: its size in pixels, and whether it shows.
void setCanvas(int width, int height, bool shown);
// Shown as large as the page allows at its own shape, centred (the switched
// display), or at its own size.
void fitCanvas(bool fitted);
void showPageCursor(bool shown);
// Pixels as rows of R, G, B, A bytes, put at (x, y) of the canvas.
void putPixels(const std::uint32_t* rgba, int x, int y, int width, int height);
// One present done: the page counts them (Module.presents) for the benchmarks.
void presented();
// The page's size in CSS pixels: the "desktop" a display switch returns to.
void pageSize(int& width, int& height);

// The value of `name` in the page address's query (?res=c&seed=5), decoded;
// empty when it is not there.
std::string queryValue(const char* name);
// Says on the page that the program ended, with its exit code. (Emscripten's
// own exit path is no use here: once the main loop has slept, main's return
// value reaches no one, and exit() throws into the browser's event loop.)
void showExit(int code);

} // namespace tess::web
