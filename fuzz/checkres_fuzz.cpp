// checkRes with arbitrary bytes: only the first byte counts, and the stored
// size is always one of the five or the previous one.

#include "app/resolution.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    workRes(false, 800, 600);
    const std::string text(reinterpret_cast<const char*>(data), size); // NUL-terminated copy
    const int result = checkRes(text.c_str());
    const int w = workRes(true, 1, 0), h = workRes(true, 0, 0);
    const unsigned char first = size ? data[0] : 0;
    const bool letter = first >= 'a' && first <= 'e';
    if (result != (letter ? 1 : 0)) std::abort();
    if (!letter && (w != 800 || h != 600)) std::abort();
    if (letter) {
        static const int widths[] = {320, 640, 800, 1024, 1280};
        static const int heights[] = {240, 480, 600, 768, 1024};
        if (w != widths[first - 'a'] || h != heights[first - 'a']) std::abort();
    }
    return 0;
}
