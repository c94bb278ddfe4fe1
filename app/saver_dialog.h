// Resource numbers of the Windows screensaver's settings dialog, shared by the
// resource script and the code that runs it.
#pragma once

#define IDD_SAVER_SETTINGS 100
#define IDC_SAVER_DELAY 101
#define IDC_SAVER_PIXEL 102
#define IDC_SAVER_FEATHERED 103
