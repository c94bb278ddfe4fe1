// Progress of a long tool run on stderr: frames done, rate and time left, one
// line rewritten in place. Shown only to a person at a terminal, and only once
// the run has taken a second; the work itself never sees it.
#pragma once

#include <chrono>

// True when stderr is a terminal (picked per system in CMake).
bool stderrIsTerminal();

class Progress {
  public:
    // Counts toward `total` frames; says nothing when `shown` is false.
    Progress(unsigned long long total, bool shown);
    // Frame `done` is finished. Looks at the clock every few thousand frames.
    void at(unsigned long long done) {
        if (shown_ && (done & 4095) == 0) report(done);
    }
    // Ends the line, when one was written.
    void finish();

  private:
    using Clock = std::chrono::steady_clock;
    void report(unsigned long long done);

    unsigned long long total_;
    bool shown_;
    bool written_ = false;
    Clock::time_point start_;
    Clock::time_point last_;
};
