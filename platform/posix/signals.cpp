// Signal handlers that only record, a self-pipe that wakes a waiting queue,
// and the one-line exit on a lost connection.

#include "platform/posix/signals.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tess::posix {
namespace {

struct Signals {
    volatile std::sig_atomic_t asked = 0;
    volatile std::sig_atomic_t by = 0;
    // Both ends non-blocking: a handler never waits on a full pipe, a drain
    // never waits on an empty one.
    int wakeRead = -1, wakeWrite = -1;
};

// Made before the handlers are installed, so a handler only ever reads it.
Signals& signals() {
    static Signals s;
    return s;
}

extern "C" void onTermination(int signal) {
    const int saved = errno; // the interrupted code may be about to read it
    Signals& s = signals();
    s.asked = 1;
    s.by = signal;
    if (s.wakeWrite >= 0) {
        const char byte = 1;
        const ssize_t written = write(s.wakeWrite, &byte, 1);
        (void)written; // full: a wake is pending already
    }
    errno = saved;
}

} // namespace

void catchTerminationSignals() {
    static bool caught = false;
    if (caught) return;
    caught = true;
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        signals().wakeRead = ends[0];
        signals().wakeWrite = ends[1];
    }
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void drainTerminationWake() {
    char drain[64];
    const int fd = signals().wakeRead;
    while (fd >= 0 && read(fd, drain, sizeof drain) > 0) {
    }
}

// Asked on every peek of the queue: the flag alone, no system call, unless a
// signal came.
bool takeTerminationRequest() {
    Signals& s = signals();
    if (!s.asked) return false;
    s.asked = 0;
    drainTerminationWake();
    return true;
}

int terminationSignal() {
    return signals().by;
}

int terminationFd() {
    return signals().wakeRead;
}

void resetSignals() {
    takeTerminationRequest();
    signals().by = 0;
}

void connectionLost(const char* what) {
    // Anything more than writing the line could block on the dead connection, or
    // run destructors in the middle of the library call that found the loss.
    char line[256];
    const int n = std::snprintf(line, sizeof line, "%s: the connection to %s was lost\n",
                                program_invocation_short_name, what);
    const std::size_t length = n < 0                          ? 0
                               : std::size_t(n) < sizeof line ? std::size_t(n)
                                                              : sizeof line - 1;
    const ssize_t written = write(STDERR_FILENO, line, length);
    (void)written;
    _exit(1);
}

} // namespace tess::posix
