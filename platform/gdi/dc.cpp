// Device contexts and their objects: creation, selection, deletion, and the
// drawing calls, which turn the selected pen, brush and bitmap into rasterizer
// calls on a plain surface.

#include "platform/faults.h"
#include "platform/gdi/gdi_stats.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/window_surfaces.h"
#include "platform/win32.h"

#include <cstdint>
#include <vector>

using namespace tess;
using gdi::Kind;

namespace {

WindowSurfaceLookup& surfaceLookup() {
    static WindowSurfaceLookup lookup = nullptr; // the host's, while one runs
    return lookup;
}

// Bitmaps beyond this many pixels are refused, as a real GDI refuses what it cannot allocate.
constexpr long long kMaxBitmapPixels = 1LL << 28;

HDC newDc(gdi::DcKind kind, HWND window) {
    HDC h = static_cast<HDC>(gdi::create(Kind::DC));
    gdi::DcObj* d = gdi::dc(h);
    d->kind = kind;
    d->window = window;
    d->pen = static_cast<HPEN>(gdi::stock(BLACK_PEN));
    d->brush = static_cast<HBRUSH>(gdi::stock(WHITE_BRUSH));
    gdi::retain(d->pen);
    gdi::retain(d->brush);
    if (kind == gdi::DcKind::Memory) {
        d->bitmap = gdi::stockBitmap();
        gdi::retain(d->bitmap);
        gdi::bitmap(d->bitmap)->selectedInto = h;
    }
    return h;
}

void freeDc(HDC h, gdi::DcObj& d) {
    gdi::release(d.pen);
    gdi::release(d.brush);
    if (d.bitmap) {
        gdi::release(d.bitmap);
        if (gdi::BitmapObj* b = gdi::bitmap(d.bitmap); b && b->selectedInto == h) {
            b->selectedInto = nullptr;
        }
    }
    gdi::destroy(h);
}

// The pen colour, or null for a pen that paints nothing.
const COLORREF* penColour(const gdi::DcObj& d) {
    const gdi::PenObj* p = gdi::pen(d.pen);
    return (p && p->style == PS_SOLID) ? &p->colour : nullptr;
}

const COLORREF* brushColour(const gdi::DcObj& d) {
    const gdi::BrushObj* b = gdi::brush(d.brush);
    return (b && !b->hollow) ? &b->colour : nullptr;
}

} // namespace

namespace tess {

void setWindowSurfaces(WindowSurfaceLookup lookup) {
    surfaceLookup() = lookup;
}

Surface* windowSurface(HWND window) {
    return surfaceLookup() ? surfaceLookup()(window) : nullptr;
}

} // namespace tess

HDC GetDC(HWND window) {
    if (faultInjected(Fault::WindowDc)) return nullptr;
    if (!window) return newDc(gdi::DcKind::Screen, nullptr);
    if (!windowSurface(window)) return nullptr;
    return newDc(gdi::DcKind::Window, window);
}

int ReleaseDC(HWND, HDC hdc) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d || d->kind == gdi::DcKind::Memory) return 0;
    freeDc(hdc, *d);
    return 1;
}

HWND WindowFromDC(HDC hdc) {
    const gdi::DcObj* d = gdi::dc(hdc);
    return d && d->kind == gdi::DcKind::Window ? d->window : nullptr;
}

HDC CreateCompatibleDC(HDC hdc) {
    if ((hdc && !gdi::dc(hdc)) || faultInjected(Fault::MemoryDc)) return nullptr;
    return newDc(gdi::DcKind::Memory, nullptr);
}

BOOL DeleteDC(HDC hdc) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d) return FALSE;
    freeDc(hdc, *d);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    if (!gdi::dc(hdc) || width < 0 || height < 0 || faultInjected(Fault::Bitmap)) return nullptr;
    // A zero size gives a 1x1 bitmap, as on Windows.
    if (width == 0 || height == 0) width = height = 1;
    if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
    HBITMAP h = static_cast<HBITMAP>(gdi::create(Kind::Bitmap));
    gdi::bitmap(h)->surface = Surface(width, height);
    gdi::bitmap(h)->surface.presented = false; // nothing shows a bitmap but a copy of it
    return h;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    if (style < 0 || style > 8) return nullptr;
    HPEN h = static_cast<HPEN>(gdi::create(Kind::Pen));
    *gdi::pen(h) = gdi::PenObj{style, width, colour & 0xFFFFFF};
    return h;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    if (faultInjected(Fault::Brush)) return nullptr;
    HBRUSH h = static_cast<HBRUSH>(gdi::create(Kind::Brush));
    *gdi::brush(h) = gdi::BrushObj{colour & 0xFFFFFF, false};
    return h;
}

HGDIOBJ GetStockObject(int which) {
    return gdi::stock(which);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (gdi::kindOf(object)) {
    case Kind::Pen:
        slot = reinterpret_cast<HGDIOBJ*>(&d->pen);
        break;
    case Kind::Brush:
        slot = reinterpret_cast<HGDIOBJ*>(&d->brush);
        break;
    case Kind::Bitmap: {
        if (d->kind != gdi::DcKind::Memory) return nullptr;
        gdi::BitmapObj* b = gdi::bitmap(object);
        // A bitmap lives in one DC at a time (the stock 1x1 may be in many).
        if (b->selectedInto && b->selectedInto != hdc && !gdi::isStock(object)) return nullptr;
        if (gdi::BitmapObj* old = gdi::bitmap(d->bitmap); old && old->selectedInto == hdc) {
            old->selectedInto = nullptr;
        }
        b->selectedInto = hdc;
        slot = reinterpret_cast<HGDIOBJ*>(&d->bitmap);
        break;
    }
    default:
        return nullptr;
    }
    HGDIOBJ previous = *slot;
    gdi::retain(object);
    gdi::release(previous);
    *slot = object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    const Kind k = gdi::kindOf(object);
    if (k == Kind::Free || k == Kind::DC) return FALSE;
    if (gdi::isStock(object)) return TRUE; // harmless on Windows, and nothing happens
    if (gdi::isSelected(object)) return FALSE;
    gdi::destroy(object);
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    Surface* s = gdi::targetOf(hdc);
    if (!s || !s->contains(x, y)) return CLR_INVALID;
    return s->at(x, y);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF colour) {
    Surface* s = gdi::targetOf(hdc);
    if (!s || !s->contains(x, y)) return FALSE;
    s->at(x, y) = colour & 0xFFFFFF;
    s->touch(x, y);
    return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    gdi::DcObj* d = gdi::dc(hdc);
    const gdi::BrushObj* b = gdi::brush(brush);
    if (!d || !b || !rect) return 0;
    if (Surface* s = gdi::target(*d); s && !b->hollow) {
        raster::fillRect(*s, rect->left, rect->top, rect->right, rect->bottom, b->colour);
    }
    return 1;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d) return FALSE;
    if (previous) *previous = d->position;
    d->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d) return FALSE;
    Surface* s = gdi::target(*d);
    if (const COLORREF* pen = penColour(*d); s && pen) {
        raster::line(*s, d->position.x, d->position.y, x, y, *pen);
    }
    d->position = POINT{x, y};
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d) return FALSE;
    if (Surface* s = gdi::target(*d)) {
        raster::ellipse(*s, left, top, right, bottom, penColour(*d), brushColour(*d));
    }
    return TRUE;
}

// POINT and raster::Point are both two 32-bit integers, x then y.
static_assert(sizeof(POINT) == sizeof(raster::Point), "POINT layout");

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d || count < 0 || (count > 0 && !points)) return FALSE;
    if (Surface* s = gdi::target(*d)) {
        raster::polygon(*s, reinterpret_cast<const raster::Point*>(points), count, penColour(*d),
                        brushColour(*d));
    }
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    gdi::DcObj* d = gdi::dc(hdc);
    if (!d || count < 0 || (count > 0 && !points)) return FALSE;
    Surface* s = gdi::target(*d);
    if (const COLORREF* pen = penColour(*d); s && pen) {
        raster::polyline(*s, reinterpret_cast<const raster::Point*>(points), count, *pen);
    }
    return TRUE;
}
