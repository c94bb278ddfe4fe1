// The X screensaver's start-up: the hack options map onto the saver's modes.
// -window-id and XSCREENSAVER_WINDOW fill another program's window as a
// preview fills its parent; -root does the same with the root window, over the
// whole screen as /s covers the desktop; with neither, an ordinary window. The
// daemon blanks, hides the cursor and grabs input itself: none of that here.
// On a Wayland desktop, -overlay is /s over every output (an idle daemon runs
// it) and -wallpaper the preview into the desktop's background.

#include "app/saver.h"
#include "platform/host.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const char kUsage[] =
    "usage: tessaline-saver [-root | -window-id ID | -overlay | -wallpaper]\n"
    "                       [-delay MICROSECONDS] [-pixel N|auto] [-feathered]\n"
    "  Draws the Tessaline animation as a screensaver hack: into the window\n"
    "  -window-id names (decimal or 0x hex), else into the window named by\n"
    "  $XSCREENSAVER_WINDOW, else with -root into the root window, else in a\n"
    "  window of its own (Esc or closing ends it). Each monitor gets a chain.\n"
    "  -overlay  on a Wayland desktop with the layer shell (sway and the other\n"
    "           wlroots compositors, KDE Plasma; not GNOME): above every window on\n"
    "           every output, until a key, a button or a move of the pointer; for an\n"
    "           idle daemon: swayidle -w timeout 300 'tessaline-saver -overlay'\n"
    "  -wallpaper  the same under every window, as a live wallpaper, taking no\n"
    "           input: it runs until it is stopped, and rests while it is covered\n"
    "  -delay   microseconds between the pictures shown, 0 to 1000000 (default %u;\n"
    "           at most one a refresh): a longer delay costs less and shows the\n"
    "           same picture, updated less often; 0 draws as fast as the machine\n"
    "           allows\n"
    "  -pixel   screen pixels a side per picture pixel, 1 to 8, or auto (default:\n"
    "           the size that brings the picture nearest to 600 rows)\n"
    "  -feathered  thin, faint threads instead of the program's full bands (their\n"
    "           own delay: 7000, unless one is given)\n"
    "  Options take one dash or two. SIGTERM or SIGINT ends it by that signal.\n"
    "  -help, -version  show this or the version and exit\n";

int say(const char* what, const char* detail = nullptr) {
    std::fprintf(stderr, "%s: %s%s%s\n", program_invocation_short_name, what, detail ? ": " : "",
                 detail ? detail : "");
    return 1;
}

// A daemon expects its hacks to end by the signal it sent: after cleaning up,
// the signal is raised again with its default action.
int endedBy(int code) {
    const int signal = tess::terminationSignal();
    // The window system's connection closed here, not left to the exit.
    tess::shutdownHost();
    if (signal) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const SaverTarget t = parseSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    switch (t.kind) {
    case SaverTarget::Help:
        std::printf(kUsage, kDefaultDelay);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case SaverTarget::Version:
        std::printf("tessaline-saver (Tessaline II alpha 1) %s\n", TESS_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case SaverTarget::Bad:
        say(t.problem.c_str());
        if (t.exitCode == 2) std::fprintf(stderr, kUsage, kDefaultDelay);
        return t.exitCode;
    case SaverTarget::OwnWindow:
        return endedBy(runSaver(NULL, SaverArgs{SaverMode::Window, NULL}, t.settings));
    default:
        break;
    }
    const bool layers = t.kind == SaverTarget::Overlay || t.kind == SaverTarget::Wallpaper;
    if (layers) tess::hostWantLayers();
    if (!tess::hostReady())
        return say(layers ? "the desktop's layers could not be reached"
                          : "no display could be opened",
                   tess::hostFailure());
    if (t.kind == SaverTarget::Overlay)
        return endedBy(runSaver(NULL, SaverArgs{SaverMode::FullScreen, NULL}, t.settings));
    // Window 0 would be the root window (with layers, the background): a
    // foreign window is never that.
    const HWND parent = t.kind == SaverTarget::RootWindow || layers ? tess::adoptWindow(0)
                        : t.windowId                                ? tess::adoptWindow(t.windowId)
                                                                    : nullptr;
    if (!parent) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", t.windowId);
        return say(t.kind == SaverTarget::RootWindow ? "the root window cannot be drawn into"
                                                     : "no such window",
                   t.kind == SaverTarget::RootWindow ? nullptr : id);
    }
    return endedBy(runSaver(NULL, SaverArgs{SaverMode::Preview, parent}, t.settings));
}
