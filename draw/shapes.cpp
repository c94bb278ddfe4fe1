// Points, the cursor, circles and lines.

#include "draw/shapes.h"

#include "math/pixel.h"

POINT vec2POINT(vec2 v) {
    POINT p;
    p.x = toPixel(v.x); // toward zero, not floor: -2.9 is -2
    p.y = toPixel(v.y);
    return p;
}

vec2 mousePos() {
    POINT p = {0, 0}; // stays (0, 0) if the platform cannot say; its answer is not looked at
    GetCursorPos(&p);
    return vec2(p.x, p.y);
}

void drawCirc(HDC hdc, vec2 center, double radius) {
    // Each edge is summed in doubles and truncated once: (1, 1) with 1.5 gives 0..2,
    // narrower than the same circle at (11, 11), 9..12.
    Ellipse(hdc, toPixel(center.x - radius), toPixel(center.y - radius), toPixel(center.x + radius),
            toPixel(center.y + radius));
}

void drawCirc(HDC hdc, vec2 center, double radius, unsigned long penColor,
              unsigned long brushColor) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(brushColor));
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(penColor));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    drawCirc(hdc, center, radius);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}

void drawLine(HDC hdc, vec2 from, vec2 to) {
    MoveToEx(hdc, toPixel(from.x), toPixel(from.y), nullptr);
    LineTo(hdc, toPixel(to.x), toPixel(to.y));
}

void drawLine(HDC hdc, vec2 from, vec2 to, unsigned long penColor) {
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(penColor));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    drawLine(hdc, from, to);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}
