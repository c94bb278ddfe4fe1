// Joining argv back into a command tail, and reading numbers.

#include "app/command_tail.h"

#include <cctype>

std::string commandTailOf(int argc, const char* const* argv) {
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (i > 1) tail += ' ';
        if (arg.empty() || arg.find_first_of(" \t") != std::string::npos) {
            tail += '"' + arg + '"';
        } else {
            tail += arg;
        }
    }
    return tail;
}

bool parseNumber(const char* s, int base, unsigned long long max, unsigned long long& out) {
    if (!*s) return false;
    unsigned long long v = 0;
    for (; *s; ++s) {
        const int c = std::tolower(static_cast<unsigned char>(*s));
        const int d = std::isdigit(c)                        ? c - '0'
                      : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                             : -1;
        if (d < 0 || v > max / unsigned(base)) return false;
        v *= unsigned(base);
        if (unsigned(d) > max - v) return false; // also when the digit alone exceeds max
        v += unsigned(d);
    }
    out = v;
    return true;
}
