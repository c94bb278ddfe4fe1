// xpresents: times every update of the screen's contents as a compositor sees
// it, for comparing how often programs present. It watches the root window
// (which reports drawing into any window) with DamageReportNonEmpty and, like a
// compositor, takes the damage after each report: one line per report, the
// wall-clock time in seconds, until SIGINT or SIGTERM.
//
//   xpresents > times.txt
//
// A report marks the start of a burst of drawing; updates that reach the server
// faster than one round trip apart fold into one, as they would on screen.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>

namespace {

volatile std::sig_atomic_t stop = 0;

extern "C" void onSignal(int) {
    stop = 1;
}

} // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xpresents: no display\n");
        return 1;
    }
    int eventBase = 0, errorBase = 0;
    if (!XDamageQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "xpresents: the server has no DAMAGE extension\n");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const Damage damage = XDamageCreate(display, DefaultRootWindow(display), XDamageReportNonEmpty);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (!stop) {
        if (!XPending(display)) {
            poll(&fd, 1, 100); // wakes for signals too
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        if (e.type != eventBase + XDamageNotify) continue;
        const double now =
            std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        std::printf("%.6f\n", now);
        XDamageSubtract(display, damage, None, None); // report the next change again
        XFlush(display);
    }
    std::fflush(stdout);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    return 0;
}
