// Signal handlers that only record, a self-pipe that wakes a waiting queue,
// and the one-line exit on a lost connection.

#include "platform/sdl/signals.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tess::sdl {
namespace {

volatile std::sig_atomic_t terminationAsked = 0;
volatile std::sig_atomic_t terminatedBy = 0;
// Both ends non-blocking: a handler never waits on a full pipe, a drain never
// waits on an empty one.
int wakeRead = -1, wakeWrite = -1;

extern "C" void onTermination(int signal) {
    const int saved = errno; // the interrupted code may be about to read it
    terminationAsked = 1;
    terminatedBy = signal;
    if (wakeWrite >= 0) {
        const char byte = 1;
        const ssize_t written = write(wakeWrite, &byte, 1);
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
        wakeRead = ends[0];
        wakeWrite = ends[1];
    }
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool takeTerminationRequest() {
    char drain[64];
    while (wakeRead >= 0 && read(wakeRead, drain, sizeof drain) > 0) {
    }
    if (!terminationAsked) return false;
    terminationAsked = 0;
    return true;
}

int terminationSignal() {
    return terminatedBy;
}

int terminationFd() {
    return wakeRead;
}

void resetSignals() {
    takeTerminationRequest();
    terminationAsked = 0;
    terminatedBy = 0;
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

} // namespace tess::sdl
