// Frames over wall-clock time, for comparing builds of the program side by side.

#include "app/frame_count.h"

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

struct Count {
    bool started = false;
    Clock::time_point first, last;
    std::chrono::system_clock::time_point wallFirst;
    long long frames = 0;
};

double epochSeconds(std::chrono::system_clock::time_point t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

Count& count() {
    static Count c;
    return c;
}

} // namespace

bool countFrame(double seconds) {
    Count& c = count();
    const Clock::time_point now = Clock::now();
    if (!c.started) {
        c.started = true;
        c.first = now; // start-up is not a frame's cost: count from the first frame drawn
        c.wallFirst = std::chrono::system_clock::now();
    } else {
        ++c.frames;
    }
    c.last = now;
    return std::chrono::duration<double>(now - c.first).count() >= seconds;
}

void reportFrames() {
    const Count& c = count();
    const double s = std::chrono::duration<double>(c.last - c.first).count();
    // The wall-clock span lets outside measurements (the X server's load, its
    // screen updates) be taken over exactly these seconds.
    std::fprintf(stderr, "frames %lld seconds %.3f fps %.1f from %.6f to %.6f\n", c.frames, s,
                 s > 0 ? double(c.frames) / s : 0.0, epochSeconds(c.wallFirst),
                 epochSeconds(c.wallFirst) + s);
    std::fflush(stderr);
}
