// Start-up code for systems without a Windows loader: the process entry point
// that calls WinMain as the Windows start-up code would.

#include "app/command_tail.h"
#include "platform/win32.h"

#include <string>

int main(int argc, char** argv) {
    std::string tail = commandTailOf(argc, argv);
    return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
}
