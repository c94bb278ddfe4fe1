// The persistent pen and brush: setColor makes a solid pen and brush, selects them
// and keeps them selected across later drawing calls until the next setColor or
// endColor. One process-wide pair, for one device context at a time; no threads.
#pragma once

#include "platform/win32.h"

// First call (any form, endColor too): create and select a brush, then a pen.
// Holding a pair: put back what the context held, delete the pair, then (unless
// release) create and select the new one. After a release (endColor) nothing is
// left to give back: endColor does nothing, setColor only creates and selects.
void setColor(HDC hdc, unsigned long penColor, unsigned long brushColor, bool release);
void setColor(HDC hdc, unsigned long penColor, unsigned long brushColor); // release false
void endColor(HDC hdc); // setColor(hdc, 0, 0, true)
