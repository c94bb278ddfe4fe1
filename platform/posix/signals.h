// Below every driver on a POSIX system: termination signals (SIGINT, SIGTERM)
// caught and remembered for a driver to report, and the end of the program
// when the window system's connection is lost. Nothing here knows a window.
#pragma once

namespace tess::posix {

// SIGINT and SIGTERM are caught from now on (once is enough; later calls do nothing).
void catchTerminationSignals();
// True once, for each signal that arrived since the last call.
bool takeTerminationRequest();
// The termination signal that arrived last (SIGINT, SIGTERM), or 0 for none: a
// program that must end by the signal re-raises it once it has cleaned up.
int terminationSignal();
// A descriptor that becomes readable when a termination signal arrives, for a
// wait that must end at once (-1 before catchTerminationSignals); drained by
// takeTerminationRequest, or by drainTerminationWake when a wait found it
// readable after the request was taken (the handler writes after it flags).
int terminationFd();
void drainTerminationWake();
// Forgets the signals that arrived (the handlers stay).
void resetSignals();

// Ends the program at once with exit code 1 and one line on stderr: "PROGRAM:
// the connection to WHAT was lost". Safe to call from inside a window-system
// library's error callback: it writes the line and _exits, running nothing else.
[[noreturn]] void connectionLost(const char* what);

} // namespace tess::posix
