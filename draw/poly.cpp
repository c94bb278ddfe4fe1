// The six drawPoly forms share one routine: corners converted into a scratch
// array on the stack (the heap only for large figures), one drawing call.

#include "draw/poly.h"

#include "draw/shapes.h"

#include <climits>
#include <memory>
#include <new>

namespace {

// Corners converted on the stack; a figure with more goes to the heap, so a huge
// count cannot overflow the stack. 256 POINTs are 2 KiB.
constexpr int kStackCorners = 256;

enum class Colours { None, Pen, PenAndBrush };

struct Frame {
    bool local;
    vec2 origin;
    vec2 axis;
};

void polygonOf(HDC hdc, const Frame& frame, const vec2* points, int count, Colours colours,
               unsigned long penColor, unsigned long brushColor) {
    if (count < 0) return; // outside the contract: nothing made, drawn or written

    HPEN pen = nullptr;
    HGDIOBJ oldPen = nullptr;
    if (colours != Colours::None) {
        pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(penColor));
        oldPen = SelectObject(hdc, pen);
    }
    HBRUSH brush = nullptr;
    HGDIOBJ oldBrush = nullptr;
    if (colours == Colours::PenAndBrush) { // pen before brush here, the reverse of drawCirc
        brush = CreateSolidBrush(static_cast<COLORREF>(brushColor));
        oldBrush = SelectObject(hdc, brush);
    }

    const bool outline = colours == Colours::Pen;
    // In long long: the outline's count + 1 would overflow an int at INT_MAX.
    const long long entries = static_cast<long long>(count) + (outline ? 1 : 0);
    POINT onStack[kStackCorners];
    std::unique_ptr<POINT[]> onHeap;
    POINT* scratch = onStack;
    if (entries > kStackCorners) {
        if (entries <= INT_MAX) onHeap.reset(new (std::nothrow) POINT[entries]);
        scratch = onHeap.get(); // null when it cannot be had: then nothing is drawn
    }

    if (scratch) {
        for (int i = 0; i < count; ++i) {
            const vec2 w = frame.local ? retvec2(frame.origin, frame.axis, points[i]) : points[i];
            scratch[i] = vec2POINT(w);
        }
        if (!outline) {
            Polygon(hdc, scratch, count); // the platform closes it: no corner repeated
        } else if (count > 0) {           // with no corners there is no first one to repeat
            scratch[count] = scratch[0];
            Polyline(hdc, scratch, count + 1);
        }
    }

    if (colours != Colours::None) {
        SelectObject(hdc, oldPen);
        DeleteObject(pen);
    }
    if (colours == Colours::PenAndBrush) {
        SelectObject(hdc, oldBrush);
        DeleteObject(brush);
    }
}

const Frame kPixels = {false, vec2(), vec2()};

} // namespace

void drawPoly(HDC hdc, vec2* points, int count) {
    polygonOf(hdc, kPixels, points, count, Colours::None, 0, 0);
}

void drawPoly(HDC hdc, vec2* points, int count, unsigned long penColor) {
    polygonOf(hdc, kPixels, points, count, Colours::Pen, penColor, 0);
}

void drawPoly(HDC hdc, vec2* points, int count, unsigned long penColor, unsigned long brushColor) {
    polygonOf(hdc, kPixels, points, count, Colours::PenAndBrush, penColor, brushColor);
}

void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count) {
    polygonOf(hdc, Frame{true, origin, axis}, points, count, Colours::None, 0, 0);
}

void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count, unsigned long penColor) {
    polygonOf(hdc, Frame{true, origin, axis}, points, count, Colours::Pen, penColor, 0);
}

void drawPoly(HDC hdc, vec2 origin, vec2 axis, vec2* points, int count, unsigned long penColor,
              unsigned long brushColor) {
    polygonOf(hdc, Frame{true, origin, axis}, points, count, Colours::PenAndBrush, penColor,
              brushColor);
}
