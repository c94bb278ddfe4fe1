// The software GDI's object table: pens, brushes, bitmaps and device contexts
// behind opaque, generation-checked handles. Internal to platform/gdi/.
#pragma once

#include "platform/surface.h"
#include "platform/win32.h"

#include <cstdint>
#include <memory>

namespace tess::gdi {

enum class Kind : std::uint8_t { Free = 0, Pen = 1, Brush = 2, Bitmap = 3, DC = 4 };

struct PenObj {
    int style = PS_SOLID;
    int width = 1;
    COLORREF colour = 0;
};

struct BrushObj {
    COLORREF colour = 0;
    bool hollow = false; // NULL_BRUSH: paints nothing
};

struct BitmapObj {
    Surface surface;
    HDC selectedInto = nullptr;
};

enum class DcKind : std::uint8_t { Memory, Window, Screen };

struct DcObj {
    DcKind kind = DcKind::Memory;
    HWND window = nullptr;
    HBITMAP bitmap = nullptr; // memory DCs only
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    POINT position{0, 0};
    int fillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
};

// Look-ups return null for a null, stale or wrong-kind handle.
PenObj* pen(HGDIOBJ handle);
BrushObj* brush(HGDIOBJ handle);
BitmapObj* bitmap(HGDIOBJ handle);
DcObj* dc(HDC handle);
Kind kindOf(HGDIOBJ handle);

HGDIOBJ create(Kind kind);
bool isStock(HGDIOBJ handle);
// Selection bookkeeping: a selected pen, brush or bitmap cannot be deleted.
void retain(HGDIOBJ handle);
void release(HGDIOBJ handle);
bool isSelected(HGDIOBJ handle);
void destroy(HGDIOBJ handle);

// The surface a DC draws on, or null (screen DC, window without backing store).
Surface* target(DcObj& dc);

// target() by handle, for the single-pixel calls a frame makes by the hundred:
// the last memory DC asked for is remembered until any object is destroyed or
// it selects another bitmap. Window DCs are not remembered (the host owns those).
struct LastTarget {
    HDC handle = nullptr;
    std::uint64_t destroyed = 0;
    const DcObj* dc = nullptr;
    HBITMAP bitmap = nullptr;
    Surface* surface = nullptr;
};
extern LastTarget lastTarget;
extern std::uint64_t destroyedObjects; // objects destroyed so far
Surface* lookUpTarget(HDC handle);
inline Surface* targetOf(HDC handle) {
    const LastTarget& l = lastTarget;
    if (l.dc && handle == l.handle && l.destroyed == destroyedObjects && l.dc->bitmap == l.bitmap)
        return l.surface;
    return lookUpTarget(handle);
}

} // namespace tess::gdi

namespace tess::gdi {
HGDIOBJ stock(int which);
HBITMAP stockBitmap();
} // namespace tess::gdi
