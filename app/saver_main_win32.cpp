// The Windows screensaver's entry point: the system starts it with /s, /p HWND
// or /c.

#include "app/saver.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
    return runSaver(instance, parseSaverTail(commandTail));
}
