// The link-time catch: -Wl,--wrap=SYMBOL sends every call of SYMBOL from another
// object file to __wrap_SYMBOL, and __real_SYMBOL reaches the original. The GDI
// names have C++ linkage, so the symbols are their mangled names; the asm labels
// below give them readable names here. A misspelt one fails to link.

#include "gdi_log.h"

#include <cstdio>
#include <map>

namespace {

bool recording = false;
int failed = 0;
std::vector<std::string> calls;
std::map<HGDIOBJ, std::string> names;
std::vector<POINT> points;
int pens = 0, brushes = 0;

std::string nameOf(HGDIOBJ h) {
    if (!h) return "null";
    const auto it = names.find(h);
    return it == names.end() ? "?" : it->second;
}

std::string hex(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06x", static_cast<unsigned>(c));
    return buf;
}

std::string ints(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += (s.empty() ? "" : ", ") + std::to_string(v);
    return s;
}

void recordPoints(const char* fn, const POINT* pts, int count) {
    std::string s = std::string(fn) + "(" + std::to_string(count) + ":";
    points.assign(pts, pts + (count > 0 ? count : 0));
    if (count <= 16) {
        for (const POINT& p : points)
            s += " (" + ints({int(p.x), int(p.y)}) + ")";
    } else {
        s += " ...";
    }
    calls.push_back(s + ")");
}

} // namespace

HPEN realCreatePen(int, int, COLORREF) __asm__("__real__Z9CreatePeniij");
HBRUSH realCreateSolidBrush(COLORREF) __asm__("__real__Z16CreateSolidBrushj");
HGDIOBJ realSelectObject(HDC, HGDIOBJ) __asm__("__real__Z12SelectObjectP5HDC__Pv");
BOOL realDeleteObject(HGDIOBJ) __asm__("__real__Z12DeleteObjectPv");
BOOL realEllipse(HDC, int, int, int, int) __asm__("__real__Z7EllipseP5HDC__iiii");
BOOL realMoveToEx(HDC, int, int, LPPOINT) __asm__("__real__Z8MoveToExP5HDC__iiP5POINT");
BOOL realLineTo(HDC, int, int) __asm__("__real__Z6LineToP5HDC__ii");
BOOL realPolygon(HDC, const POINT*, int) __asm__("__real__Z7PolygonP5HDC__PK5POINTi");
BOOL realPolyline(HDC, const POINT*, int) __asm__("__real__Z8PolylineP5HDC__PK5POINTi");
BOOL realGetCursorPos(LPPOINT) __asm__("__real__Z12GetCursorPosP5POINT");

HPEN wrapCreatePen(int style, int width, COLORREF c) __asm__("__wrap__Z9CreatePeniij");
HBRUSH wrapCreateSolidBrush(COLORREF c) __asm__("__wrap__Z16CreateSolidBrushj");
HGDIOBJ wrapSelectObject(HDC dc, HGDIOBJ h) __asm__("__wrap__Z12SelectObjectP5HDC__Pv");
BOOL wrapDeleteObject(HGDIOBJ h) __asm__("__wrap__Z12DeleteObjectPv");
BOOL wrapEllipse(HDC dc, int l, int t, int r, int b) __asm__("__wrap__Z7EllipseP5HDC__iiii");
BOOL wrapMoveToEx(HDC dc, int x, int y, LPPOINT p) __asm__("__wrap__Z8MoveToExP5HDC__iiP5POINT");
BOOL wrapLineTo(HDC dc, int x, int y) __asm__("__wrap__Z6LineToP5HDC__ii");
BOOL wrapPolygon(HDC dc, const POINT* p, int n) __asm__("__wrap__Z7PolygonP5HDC__PK5POINTi");
BOOL wrapPolyline(HDC dc, const POINT* p, int n) __asm__("__wrap__Z8PolylineP5HDC__PK5POINTi");
BOOL wrapGetCursorPos(LPPOINT p) __asm__("__wrap__Z12GetCursorPosP5POINT");

HPEN wrapCreatePen(int style, int width, COLORREF c) {
    HPEN h = realCreatePen(style, width, c);
    if (recording) {
        names[h] = "pen" + std::to_string(++pens);
        calls.push_back("CreatePen(" + ints({style, width}) + ", " + hex(c) + ") -> " + nameOf(h));
    }
    return h;
}

HBRUSH wrapCreateSolidBrush(COLORREF c) {
    HBRUSH h = realCreateSolidBrush(c);
    if (recording) {
        names[h] = "brush" + std::to_string(++brushes);
        calls.push_back("CreateSolidBrush(" + hex(c) + ") -> " + nameOf(h));
    }
    return h;
}

HGDIOBJ wrapSelectObject(HDC dc, HGDIOBJ h) {
    HGDIOBJ old = realSelectObject(dc, h);
    if (!old) ++failed;
    if (recording) calls.push_back("SelectObject(" + nameOf(h) + ") -> " + nameOf(old));
    return old;
}

BOOL wrapDeleteObject(HGDIOBJ h) {
    const BOOL ok = realDeleteObject(h);
    if (!ok) ++failed;
    if (recording) calls.push_back("DeleteObject(" + nameOf(h) + ") -> " + std::to_string(ok));
    return ok;
}

BOOL wrapEllipse(HDC dc, int l, int t, int r, int b) {
    if (recording) calls.push_back("Ellipse(" + ints({l, t, r, b}) + ")");
    return realEllipse(dc, l, t, r, b);
}

BOOL wrapMoveToEx(HDC dc, int x, int y, LPPOINT p) {
    if (recording) calls.push_back("MoveToEx(" + ints({x, y}) + (p ? ", &previous)" : ")"));
    return realMoveToEx(dc, x, y, p);
}

BOOL wrapLineTo(HDC dc, int x, int y) {
    if (recording) calls.push_back("LineTo(" + ints({x, y}) + ")");
    return realLineTo(dc, x, y);
}

BOOL wrapPolygon(HDC dc, const POINT* p, int n) {
    if (recording) recordPoints("Polygon", p, n);
    return realPolygon(dc, p, n);
}

BOOL wrapPolyline(HDC dc, const POINT* p, int n) {
    if (recording) recordPoints("Polyline", p, n);
    return realPolyline(dc, p, n);
}

BOOL wrapGetCursorPos(LPPOINT p) {
    if (recording) calls.push_back("GetCursorPos");
    return realGetCursorPos(p);
}

namespace gdilog {

void start() {
    calls.clear();
    names.clear();
    points.clear();
    pens = brushes = 0;
    const struct {
        int which;
        const char* label;
    } stock[] = {{WHITE_BRUSH, "WHITE_BRUSH"}, {BLACK_BRUSH, "BLACK_BRUSH"},
                 {NULL_BRUSH, "NULL_BRUSH"},   {WHITE_PEN, "WHITE_PEN"},
                 {BLACK_PEN, "BLACK_PEN"},     {NULL_PEN, "NULL_PEN"}};
    for (const auto& s : stock)
        names[GetStockObject(s.which)] = s.label;
    recording = true;
}

std::vector<std::string> stop() {
    recording = false;
    return calls;
}

void name(HGDIOBJ object, const std::string& label) {
    names[object] = label;
}

const std::vector<POINT>& lastPoints() {
    return points;
}

int failures() {
    return failed;
}

} // namespace gdilog
