// Start-up code for the browser page: the page address's query stands in for
// the command line. ?res=c is the letter (none: 800x600, as on the command
// line), ?seed=N the twin of TESSALINE_SEED, ?delay=N the microseconds from one
// frame's start to the next (none: the savers' pace, so an open tab stays
// light; 0: as fast as the program runs).

#include "app/command_tail.h"
#include "app/shell.h"
#include "platform/host.h"

#include <cstdlib>
#include <string>

namespace {

// A whole decimal number of microseconds, up to ten seconds; anything else
// gives the default pace.
unsigned delayOf(const std::string& text) {
    unsigned long long delay = 0;
    return parseNumber(text.c_str(), 10, 10000000, delay) ? unsigned(delay) : kDefaultDelay;
}

} // namespace

int main() {
    // The frame loop reads the seed from the environment, as on every system.
    const std::string seed = tess::hostSetting("seed");
    if (!seed.empty()) setenv("TESSALINE_SEED", seed.c_str(), 1);
    const std::string letter = tess::hostSetting("res");
    const int code =
        runProgram(nullptr, letter.c_str(), SW_SHOWDEFAULT, delayOf(tess::hostSetting("delay")));
    tess::hostEnded(code);
    return code;
}
