// The page the browser driver talks to (platform/web/page.h), stood in for by
// plain memory: the canvas's state, what was put on it, and keys and focus the
// tests send as the browser would.
#pragma once

#include <string>
#include <vector>

namespace fakepage {

struct Put {
    int x, y, width, height;
    std::vector<unsigned char> bytes; // R, G, B, A rows
};

struct Page {
    int canvasW = 0, canvasH = 0;
    bool canvasShown = false, fitted = false, cursorShown = true;
    std::vector<Put> puts;
    int presents = 0; // as the page counts them for the benchmarks
    int exitCode = -1;
};
Page& page();
// The page as it was loaded: nothing shown, nothing put.
void reset();
// The page loses the keyboard.
void blur();

} // namespace fakepage
