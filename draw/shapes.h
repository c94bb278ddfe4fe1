// Points, the cursor, circles and lines on a device context, in vec2 pixels.
// Coordinates reach the context truncated toward zero. The colour forms make,
// select, put back and delete their own pen (and brush); the others draw with
// what the context holds. Nothing is checked or reported.
#pragma once

#include "math/vec2.h"
#include "platform/win32.h"

POINT vec2POINT(vec2 v); // (trunc x, trunc y): (2.9, -2.9) -> (2, -2); -0.5 -> 0
vec2 mousePos();         // cursor in screen pixels, whole numbers; (0, 0) if unknown

// Ellipse in the box (trunc(c - r), trunc(c + r)) per axis; the radius is not
// checked. The colour form makes and selects the brush first, then the pen.
void drawCirc(HDC hdc, vec2 center, double radius, unsigned long penColor,
              unsigned long brushColor);
void drawCirc(HDC hdc, vec2 center, double radius);

// From trunc(from) up to, not including, trunc(to), which becomes the current
// position. The colour form leaves the brush alone.
void drawLine(HDC hdc, vec2 from, vec2 to, unsigned long penColor);
void drawLine(HDC hdc, vec2 from, vec2 to);
