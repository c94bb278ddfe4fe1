// Joining argv back into a command tail.

#include "app/command_tail.h"

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
