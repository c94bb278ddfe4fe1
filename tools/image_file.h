// Pictures of a device context for the tools: pixels read back as RGB rows, and
// written as PNG (where libpng is built in) or binary PPM, chosen by file name.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

// Rows of 8-bit RGB read through GetPixel, as any GDI client would.
std::vector<unsigned char> readRgb(HDC dc, int width, int height);

// True when `path` names a PPM file; everything else is written as PNG.
bool isPpmName(const std::string& path);
// False when this build cannot write `path`'s format (PNG without libpng).
bool canWriteImage(const std::string& path);
// Writes `rgb` (width x height x 3 bytes); false with errno set when it cannot.
bool writeImage(const std::string& path, const std::vector<unsigned char>& rgb, int width,
                int height);
