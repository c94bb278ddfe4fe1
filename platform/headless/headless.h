// The headless driver: a desktop with no window system behind it, for the
// tests. It reports the monitors it is given, keeps each window's place and
// what was presented into it as plain pixels, and hands out the events the
// tests send as if the window system had. Nothing here touches a screen.
#pragma once

#include "platform/driver.h"
#include "platform/win32.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tess::headless {

// The desktop it reports from its next start: one 1024 x 768 monitor at 60 Hz
// unless set. Set while running, the change is reported at the next pump.
void setMonitors(const std::vector<Monitor>& monitors);
// The default desktop again, no foreign windows, the pointer at (0, 0).
void resetDesktop();

// What the driver shows for one of its windows.
struct Shown {
    std::string title;
    Area area;
    bool visible = false, raised = false, fullScreen = false;
    bool borderless = false, resizable = false;
    std::vector<std::uint32_t> pixels; // area.w x area.h, as COLORREF
    long long presents = 0;
    bool adopted = false;
    COLORREF at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(area.w) + x]; }
};
// The record behind a driver window, or null.
const Shown* shown(const DriverWindow* window);
bool cursorShown();

// An event, delivered at the next pump as the window system's.
void send(const DriverEvent& event);
void sendKey(const DriverWindow* window, int virtualKey, bool down, bool repeat = false,
             bool alt = false);
// The user (or a window manager) moves or sizes a window: its new area, and
// Moved and Resized as the window system reports them.
void placeByUser(const DriverWindow* window, const Area& area);
// The pointer on the desktop, where cursorIn reads it.
void setPointer(int x, int y);

// Other programs' windows, adoptable by id (0 stands for the root window, the
// whole first monitor). Removing an adopted one reports it gone.
void addForeignWindow(unsigned long id, const Area& area);
void removeForeignWindow(unsigned long id);

} // namespace tess::headless
