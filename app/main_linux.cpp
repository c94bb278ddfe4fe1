// Start-up code for systems without a Windows loader: the process entry point
// that calls WinMain as the Windows start-up code would. It answers --help and
// --version itself, as programs here do.

#include "app/command_tail.h"
#include "platform/win32.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: tessaline [LETTER]\n"
    "Tessaline II alpha 1: a chain of 100 points paints slowly thickening coloured\n"
    "traces on a black picture that is never cleared.\n"
    "\n"
    "  LETTER  the resolution: a 320x240, b 640x480, c 800x600, d 1024x768,\n"
    "          e 1280x1024; only its first character counts, and anything else\n"
    "          (or nothing) gives 800x600\n"
    "\n"
    "Esc quits; holding Enter changes the colour. The display mode is never\n"
    "changed: the picture fills a window over the whole desktop, scaled to fit\n"
    "and centred on black.\n"
    "\n"
    "Exit status: 0 after Esc, a close request, SIGTERM or SIGINT; 1 when no\n"
    "display or window can be opened.\n"
    "\n"
    "  --help     show this and exit\n"
    "  --version  show the version and exit\n";

int print(const char* text) {
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1; // a full disk or closed pipe is an error
}

} // namespace

int main(int argc, char** argv) {
    // Only these two whole command tails are ours; every other one reaches WinMain
    // (and its letter check) exactly as typed, "--helpful" and "--help c" too.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return print(kUsage);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return print("tessaline (Tessaline II alpha 1) " TESS_VERSION "\n");
    std::string tail = commandTailOf(argc, argv);
    return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
}
