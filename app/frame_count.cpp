// Frames over wall-clock time, for comparing builds of the program side by side.

#include "app/frame_count.h"

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

struct Count {
    FrameLoop inner;
    bool started = false;
    Clock::time_point first, last;
    std::chrono::system_clock::time_point wallFirst;
    long long frames = 0;
};

double epochSeconds(std::chrono::system_clock::time_point t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

Count& count() {
    static Count c; // the one counted loop of a benchmark run
    return c;
}

void start(void*, HDC window, HDC memory, int width, int height) {
    const FrameLoop& inner = count().inner;
    if (inner.start) inner.start(inner.context, window, memory, width, height);
}

void reshape(void*, HDC window, int width, int height) {
    const FrameLoop& inner = count().inner;
    if (inner.reshape) inner.reshape(inner.context, window, width, height);
}

void step(void*, HDC window, HDC memory, float dt) {
    Count& c = count();
    c.inner.step(c.inner.context, window, memory, dt);
    const Clock::time_point now = Clock::now();
    if (!c.started) {
        c.started = true;
        c.first = now; // start-up is not a frame's cost: count from the first frame drawn
        c.wallFirst = std::chrono::system_clock::now();
    } else {
        ++c.frames;
    }
    c.last = now;
    if (std::chrono::duration<double>(now - c.first).count() >= TESS_COUNT_FRAMES)
        PostQuitMessage(0);
}

void stop(void*) {
    Count& c = count();
    if (c.inner.stop) c.inner.stop(c.inner.context);
    const double s = std::chrono::duration<double>(c.last - c.first).count();
    // The wall-clock span lets outside measurements (the X server's load, its
    // screen updates) be taken over exactly these seconds.
    std::fprintf(stderr, "frames %lld seconds %.3f fps %.1f from %.6f to %.6f\n", c.frames, s,
                 s > 0 ? double(c.frames) / s : 0.0, epochSeconds(c.wallFirst),
                 epochSeconds(c.wallFirst) + s);
    std::fflush(stderr);
}

} // namespace

FrameLoop countedLoop(const FrameLoop& inner) {
    count().inner = inner;
    FrameLoop loop = inner;
    loop.context = nullptr;
    loop.start = start;
    loop.step = step;
    loop.reshape = reshape;
    loop.stop = stop;
    return loop;
}
