// The Windows screensaver's settings in the registry, and its settings dialog.
#pragma once

#include "app/saver_args.h"

#include <windows.h>

// The current user's settings; the defaults for whatever is missing or wrong.
SaverSettings readSaverSettings();
// Shows the settings dialog, owned by `owner` when that is a window, and saves
// what OK confirms. 0, or 1 when the dialog cannot be shown.
int configureSaver(HINSTANCE instance, HWND owner);
