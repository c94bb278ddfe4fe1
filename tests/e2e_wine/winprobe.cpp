// What the Windows side sees of a running program, for the end-to-end tests
// under wine: its top-level windows by class, the display mode, and a close
// request sent as a message. Built only for Windows; no drawing, no input.

#include "platform/win32.h"

#include <cstdio>
#include <cstring>

namespace {

struct Search {
    const char* className;
    int found;
};

BOOL CALLBACK listOne(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, search.className) != 0) return TRUE;
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("window \"%s\" visible %d style 0x%08lx rect %ld %ld %ld %ld\n", title,
                IsWindowVisible(window) ? 1 : 0,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                static_cast<long>(r.bottom));
    ++search.found;
    return TRUE;
}

int usage() {
    std::fputs("usage: winprobe windows CLASS | close CLASS | mode | modes\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const char* command = argv[1];
    if (std::strcmp(command, "windows") == 0 && argc == 3) {
        // Every top-level window of the class, one line each, then the count.
        Search search{argv[2], 0};
        EnumWindows(listOne, reinterpret_cast<LPARAM>(&search));
        std::printf("count %d\n", search.found);
        return 0;
    }
    if (std::strcmp(command, "close") == 0 && argc == 3) {
        // The message a window manager's close button ends up as.
        HWND window = FindWindowA(argv[2], NULL);
        if (!window) return 1;
        return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(command, "mode") == 0 && argc == 2) {
        DEVMODEA mode;
        std::memset(&mode, 0, sizeof mode);
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        std::printf("%lux%lu\n", static_cast<unsigned long>(mode.dmPelsWidth),
                    static_cast<unsigned long>(mode.dmPelsHeight));
        return 0;
    }
    if (std::strcmp(command, "modes") == 0 && argc == 2) {
        DEVMODEA mode;
        for (DWORD i = 0;; ++i) {
            std::memset(&mode, 0, sizeof mode);
            mode.dmSize = sizeof mode;
            if (!EnumDisplaySettingsA(NULL, i, &mode)) break;
            std::printf("%lux%lu %lu bpp\n", static_cast<unsigned long>(mode.dmPelsWidth),
                        static_cast<unsigned long>(mode.dmPelsHeight),
                        static_cast<unsigned long>(mode.dmBitsPerPel));
        }
        return 0;
    }
    return usage();
}
