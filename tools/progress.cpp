// The progress line of the tools.

#include "tools/progress.h"

#include <cstdio>

namespace {

constexpr double kQuietSeconds = 1.0; // shorter runs stay silent
constexpr double kEverySeconds = 0.25;

double secondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

} // namespace

Progress::Progress(unsigned long long total, bool shown)
    : total_(total), shown_(shown), start_(Clock::now()), last_(start_) {}

void Progress::report(unsigned long long done) {
    const Clock::time_point now = Clock::now();
    const double elapsed = secondsBetween(start_, now);
    if (elapsed < kQuietSeconds || secondsBetween(last_, now) < kEverySeconds) return;
    last_ = now;
    const double rate = done / elapsed;
    // Padded so that a shorter line covers the longer one before it.
    std::fprintf(stderr, "\r%llu of %llu frames, %.0f frames/s, %.0f s left    ", done, total_,
                 rate, (total_ - done) / rate);
    std::fflush(stderr);
    written_ = true;
}

void Progress::finish() {
    if (!written_) return;
    const double elapsed = secondsBetween(start_, Clock::now());
    std::fprintf(stderr, "\r%llu of %llu frames, %.0f frames/s, done in %.1f s    \n", total_,
                 total_, total_ / elapsed, elapsed);
    written_ = false;
}
