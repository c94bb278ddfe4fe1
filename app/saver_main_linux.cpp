// The X screensaver's start-up: the hack options map onto the saver's modes.
// -window-id and XSCREENSAVER_WINDOW fill another program's window as a
// preview fills its parent; -root does the same with the root window, over the
// whole screen as /s covers the desktop; with neither, an ordinary window. The
// daemon blanks, hides the cursor and grabs input itself: none of that here.

#include "app/saver.h"
#include "platform/sdl/lifecycle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

const char kUsage[] = "usage: tessaline-saver [-root | -window-id ID]\n"
                      "  Draws the Tessaline animation as a screensaver hack: into the window\n"
                      "  -window-id names (decimal or 0x hex), else into the window named by\n"
                      "  $XSCREENSAVER_WINDOW, else with -root into the root window, else in a\n"
                      "  window of its own (Esc or closing ends it). Options take one dash or\n"
                      "  two. SIGTERM or SIGINT ends it with 0.\n";

int say(const char* what, const char* detail = nullptr) {
    std::fprintf(stderr, "%s: %s%s%s\n", program_invocation_short_name, what, detail ? ": " : "",
                 detail ? detail : "");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const SaverTarget t = parseSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    switch (t.kind) {
    case SaverTarget::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case SaverTarget::Bad:
        say(t.problem.c_str());
        if (t.exitCode == 2) std::fputs(kUsage, stderr);
        return t.exitCode;
    case SaverTarget::OwnWindow:
        return runSaver(NULL, SaverArgs{SaverMode::Window, NULL});
    default:
        break;
    }
    if (!tess::sdl::videoReady())
        return say("no display could be opened", tess::sdl::noDisplayReason());
    const HWND parent = t.kind == SaverTarget::RootWindow
                            ? tess::sdl::adoptRootWindow()
                            : tess::sdl::adoptForeignWindow(t.windowId);
    if (!parent) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", t.windowId);
        return say(t.kind == SaverTarget::RootWindow ? "the root window cannot be drawn into"
                                                     : "no such window",
                   t.kind == SaverTarget::RootWindow ? nullptr : id);
    }
    return runSaver(NULL, SaverArgs{SaverMode::Preview, parent});
}
