// Resolution store and command-line letter.

#include "app/resolution.h"

int workRes(bool query, int first, int second) {
    // Constant-initialised: the defaults are data, set before any code runs.
    static int windowWidth = 800;
    static int windowHeight = 600;
    if (query) return first ? windowWidth : windowHeight;
    windowWidth = first;
    windowHeight = second;
    return 0;
}

int checkRes(const char* text) {
    static const int sizes[5][2] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
    if (!text) return 0; // a missing tail is an empty one
    // Unsigned byte difference: everything below 'a' wraps high and fails the test.
    const unsigned char index = static_cast<unsigned char>(text[0] - 'a');
    if (index > 4) return 0;
    workRes(false, sizes[index][0], sizes[index][1]);
    return 1;
}
