// Milliseconds since the system started, like the Windows tick count: from the
// boot-time clock (it keeps counting through suspend) where the system has one,
// else the monotonic clock; wrapping at 2^32.

#include "platform/win32.h"

#include <ctime>

namespace {

DWORD ticksOf(const timespec& ts) {
    const unsigned long long ms =
        static_cast<unsigned long long>(ts.tv_sec) * 1000ULL + ts.tv_nsec / 1000000;
    return static_cast<DWORD>(ms); // wraps every 49.7 days, as on Windows
}

} // namespace

DWORD GetTickCount(void) {
    timespec ts{};
#ifdef CLOCK_BOOTTIME
    // Named but refused (EINVAL) by some C libraries, Emscripten's among them: a
    // tick count stuck at 0 would freeze the animation.
    if (clock_gettime(CLOCK_BOOTTIME, &ts) == 0) return ticksOf(ts);
#endif
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ticksOf(ts);
}
