// The Windows screensaver's entry point: the system starts it with /s, /p HWND
// or /c.

#include "app/saver.h"
#include "app/saver_settings_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
    const SaverArgs args = parseSaverTail(commandTail);
    if (args.mode == SaverMode::Configure) return configureSaver(instance, args.parent);
    return runSaver(instance, args, readSaverSettings());
}
