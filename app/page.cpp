// The page's settings read into the program's run.

#include "app/page.h"

#include "app/command_tail.h"
#include "app/pace.h"
#include "app/shell.h"
#include "platform/host.h"

#include <cstdlib>
#include <string>

namespace {

// A whole decimal number of microseconds, up to ten seconds; anything else
// gives the default pace (the feathered threads' own, for them).
unsigned delayOf(const std::string& text, bool feathered) {
    unsigned long long delay = 0;
    if (parseNumber(text.c_str(), 10, 10000000, delay)) return unsigned(delay);
    return feathered ? kFeatheredDelay : kPageDelay;
}

} // namespace

int runPage(FrameLoop (*around)(const FrameLoop& inner)) {
    // The frame loop reads the seed from the environment, as on every system.
    const std::string seed = tess::hostSetting("seed");
    if (!seed.empty()) setenv("TESSALINE_SEED", seed.c_str(), 1);
    const std::string letter = tess::hostSetting("res");
    ProgramFrame frame;
    // The program's picture whatever the pace; ?feathered=1 the thin threads
    // of one step a frame, which delay 0 (the program's own loop) draws anyway.
    const bool feathered = tess::hostSetting("feathered") == "1";
    const unsigned delay = delayOf(tess::hostSetting("delay"), feathered);
    const FrameLoop loop =
        delay && !feathered ? tickedLoop(frame, delay) : programLoop(frame, delay);
    const int code =
        runProgram(nullptr, letter.c_str(), SW_SHOWDEFAULT, around ? around(loop) : loop);
    tess::hostEnded(code);
    return code;
}
