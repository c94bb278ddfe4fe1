// Fault injection for tests: each platform service the shell depends on can be
// told to fail as a real system might refuse it. Nothing in the program sets a
// fault, so outside tests every service runs normally.
#pragma once

namespace tess {

enum class Fault : unsigned {
    ClassRegistration, // RegisterClassExA returns 0 and registers nothing
    DisplayQuery,      // EnumDisplaySettingsA returns FALSE
    DisplaySwitch,     // ChangeDisplaySettingsA to a mode returns DISP_CHANGE_FAILED
    WindowCreation,    // CreateWindowExA returns null
    WindowDc,          // GetDC returns null
    MemoryDc,          // CreateCompatibleDC returns null
    Bitmap,            // CreateCompatibleBitmap returns null
    Brush,             // CreateSolidBrush returns null
};

void injectFault(Fault fault, bool on);
bool faultInjected(Fault fault);
// Every fault off again.
void clearFaults();

} // namespace tess
