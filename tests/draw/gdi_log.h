// A record of the GDI calls a test makes happen, in order, with created objects
// named pen1, brush1, ... and stock ones by their names. The calls are caught at
// link time (see CMakeLists.txt), so the code under test calls the real GDI.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace gdilog {

void start();                    // forget earlier calls and names; record from now on
std::vector<std::string> stop(); // stop recording; the calls since start()
void name(HGDIOBJ object, const std::string& label); // how the log spells a handle
// The points of the last Polygon or Polyline while recording (the log line lists
// them only for small counts).
const std::vector<POINT>& lastPoints();
// DeleteObject calls that failed and SelectObject calls that returned null, counted
// whether or not recording: a double delete or a stale selection shows up here.
int failures();

} // namespace gdilog
