// Milliseconds since the system started, like the Windows tick count: from the
// boot-time clock (it keeps counting through suspend) and wrapping at 2^32.

#include "platform/win32.h"

#include <ctime>

DWORD GetTickCount(void) {
    timespec ts{};
#ifdef CLOCK_BOOTTIME
    clock_gettime(CLOCK_BOOTTIME, &ts);
#else
    clock_gettime(CLOCK_MONOTONIC, &ts);
#endif
    const unsigned long long ms =
        static_cast<unsigned long long>(ts.tv_sec) * 1000ULL + ts.tv_nsec / 1000000;
    return static_cast<DWORD>(ms); // wraps every 49.7 days, as on Windows
}
