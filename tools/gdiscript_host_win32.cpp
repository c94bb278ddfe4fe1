// gdiscript on a real GDI: binary standard streams (LF line ends, no Ctrl-Z
// end of file), an unhandled-fault filter for "crash N" and a watchdog thread
// for "hang N". Exit status 3 for a crash, 4 for a hang.

#include "gdiscript_host.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace gdiscript {

namespace {

void (*gFinish)(const char*) = nullptr;
std::atomic<long> gLine{0}; // line of the running command, 0 between commands
std::atomic<unsigned long long> gStartMs{0};
unsigned long long gLimitMs = 30000;

LONG WINAPI onFault(EXCEPTION_POINTERS* e) {
    char last[40];
    std::snprintf(last, sizeof last, "crash %ld\n", gLine.load());
    gFinish(last);
    std::fprintf(stderr, "gdiscript: exception 0x%08lx\n",
                 (unsigned long)e->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI watchdog(void*) {
    for (;;) {
        Sleep(20);
        const long line = gLine.load();
        if (line != 0 && GetTickCount64() - gStartMs.load() > gLimitMs && line == gLine.load()) {
            char last[40];
            std::snprintf(last, sizeof last, "hang %ld\n", line);
            gFinish(last);
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
}

} // namespace

void hostStart(void (*finish)(const char*)) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    gFinish = finish;
    SetUnhandledExceptionFilter(onFault);
    if (const char* limit = std::getenv("GDISCRIPT_LIMIT")) {
        const double seconds = std::strtod(limit, nullptr);
        gLimitMs = seconds > 0 ? (unsigned long long)(seconds * 1000) : 0;
    }
    if (gLimitMs > 0) CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
}

void hostEnter(long line) {
    gStartMs.store(GetTickCount64());
    gLine.store(line);
}

void hostLeave() {
    gLine.store(0);
}

} // namespace gdiscript
