// Polygons from vec2 corner lists, in pixels or in a local frame (origin, axis),
// with the context's pen and brush, an outline in one colour, or a filled figure
// in two. Corners are truncated toward zero; the caller's array is only read.
#pragma once

#include "math/vec2.h"
#include "platform/win32.h"

// Corner i lands at vec2POINT(points[i]), or in the local forms at
// vec2POINT(retvec2(origin, axis, points[i])): x along axis, y along its quarter
// turn, scaled by its length. No colour and two colours: a filled Polygon of count
// corners. One colour: a Polyline of count + 1 points closing on the first, never
// filled, and with count 0 no drawing call. The colour forms make and select the
// pen first, then the brush, and always put back and delete both, even for count 0.
// A negative count does nothing at all. No heap use up to a few hundred corners.
void drawPoly(HDC hdc, vec2* points, int count);
void drawPoly(HDC hdc, vec2* points, int count, unsigned long penColor);
void drawPoly(HDC hdc, vec2* points, int count, unsigned long penColor, unsigned long brushColor);
void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count);
void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count, unsigned long penColor);
void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count, unsigned long penColor,
              unsigned long brushColor);
