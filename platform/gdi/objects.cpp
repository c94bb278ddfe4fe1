// Object table of the software GDI. Handles encode (slot + 1, generation, kind)
// and are never dereferenced, so a stale or forged handle is simply not found.

#include "platform/gdi/objects.h"

#include "platform/gdi/gdi_stats.h"
#include "platform/gdi/window_surfaces.h"

#include <deque>
#include <vector>

namespace tess::gdi {
namespace {

constexpr unsigned kKindBits = 4;
constexpr unsigned kGenBits = 12;
constexpr std::uintptr_t kGenMask = (std::uintptr_t(1) << kGenBits) - 1;

struct Slot {
    Kind kind = Kind::Free;
    std::uint16_t generation = 0;
    bool stock = false;
    int selections = 0;
    PenObj pen;
    BrushObj brush;
    std::unique_ptr<BitmapObj> bitmap;
    std::unique_ptr<DcObj> dc;
};

struct Table {
    std::vector<Slot> slots;
    std::deque<std::size_t> free; // FIFO reuse keeps stale handles stale for long
    HGDIOBJ stockObjects[9] = {};
    HBITMAP stockBitmap = nullptr;
};

Table& table() {
    static Table t;
    return t;
}

HGDIOBJ encode(std::size_t index, const Slot& s) {
    std::uintptr_t v = ((std::uintptr_t(index) + 1) << (kKindBits + kGenBits)) |
                       ((std::uintptr_t(s.generation) & kGenMask) << kKindBits) |
                       std::uintptr_t(s.kind);
    return reinterpret_cast<HGDIOBJ>(v);
}

Slot* find(HGDIOBJ handle, Kind kind) {
    const std::uintptr_t v = reinterpret_cast<std::uintptr_t>(handle);
    const std::uintptr_t index1 = v >> (kKindBits + kGenBits);
    if (index1 == 0) return nullptr;
    Table& t = table();
    if (index1 - 1 >= t.slots.size()) return nullptr;
    Slot& s = t.slots[index1 - 1];
    if (s.kind == Kind::Free || std::uintptr_t(s.kind) != (v & 0xF)) return nullptr;
    if ((std::uintptr_t(s.generation) & kGenMask) != ((v >> kKindBits) & kGenMask)) return nullptr;
    if (kind != Kind::Free && s.kind != kind) return nullptr;
    return &s;
}

std::size_t allocate(Kind kind) {
    Table& t = table();
    std::size_t index;
    if (!t.free.empty()) {
        index = t.free.front();
        t.free.pop_front();
    } else {
        index = t.slots.size();
        t.slots.emplace_back();
    }
    Slot& s = t.slots[index];
    s.kind = kind;
    s.stock = false;
    s.selections = 0;
    s.pen = PenObj{};
    s.brush = BrushObj{};
    if (kind == Kind::Bitmap) s.bitmap = std::make_unique<BitmapObj>();
    if (kind == Kind::DC) s.dc = std::make_unique<DcObj>();
    return index;
}

void makeStock() {
    Table& t = table();
    if (t.stockBitmap) return;
    auto stockBrush = [&](int which, COLORREF c, bool hollow) {
        std::size_t i = allocate(Kind::Brush);
        t.slots[i].stock = true;
        t.slots[i].brush = BrushObj{c, hollow};
        t.stockObjects[which] = encode(i, t.slots[i]);
    };
    auto stockPen = [&](int which, COLORREF c, int style) {
        std::size_t i = allocate(Kind::Pen);
        t.slots[i].stock = true;
        t.slots[i].pen = PenObj{style, 1, c};
        t.stockObjects[which] = encode(i, t.slots[i]);
    };
    stockBrush(WHITE_BRUSH, 0xFFFFFF, false);
    stockBrush(LTGRAY_BRUSH, 0xC0C0C0, false);
    stockBrush(GRAY_BRUSH, 0x808080, false);
    stockBrush(DKGRAY_BRUSH, 0x404040, false);
    stockBrush(BLACK_BRUSH, 0x000000, false);
    stockBrush(NULL_BRUSH, 0x000000, true);
    stockPen(WHITE_PEN, 0xFFFFFF, PS_SOLID);
    stockPen(BLACK_PEN, 0x000000, PS_SOLID);
    stockPen(NULL_PEN, 0x000000, 5 /* PS_NULL */);
    // A new memory DC holds a 1x1 bitmap, as on Windows.
    std::size_t b = allocate(Kind::Bitmap);
    t.slots[b].stock = true;
    t.slots[b].bitmap->surface = Surface(1, 1);
    t.stockBitmap = static_cast<HBITMAP>(encode(b, t.slots[b]));
}

} // namespace

PenObj* pen(HGDIOBJ h) {
    Slot* s = find(h, Kind::Pen);
    return s ? &s->pen : nullptr;
}
BrushObj* brush(HGDIOBJ h) {
    Slot* s = find(h, Kind::Brush);
    return s ? &s->brush : nullptr;
}
BitmapObj* bitmap(HGDIOBJ h) {
    Slot* s = find(h, Kind::Bitmap);
    return s ? s->bitmap.get() : nullptr;
}
DcObj* dc(HDC h) {
    Slot* s = find(h, Kind::DC);
    return s ? s->dc.get() : nullptr;
}
Kind kindOf(HGDIOBJ h) {
    Slot* s = find(h, Kind::Free);
    return s ? s->kind : Kind::Free;
}

HGDIOBJ create(Kind kind) {
    makeStock();
    std::size_t i = allocate(kind);
    return encode(i, table().slots[i]);
}

bool isStock(HGDIOBJ h) {
    Slot* s = find(h, Kind::Free);
    return s && s->stock;
}

void retain(HGDIOBJ h) {
    if (Slot* s = find(h, Kind::Free)) ++s->selections;
}
void release(HGDIOBJ h) {
    if (Slot* s = find(h, Kind::Free); s && s->selections > 0) --s->selections;
}
bool isSelected(HGDIOBJ h) {
    Slot* s = find(h, Kind::Free);
    return s && s->selections > 0;
}

void destroy(HGDIOBJ h) {
    Slot* s = find(h, Kind::Free);
    if (!s || s->stock) return;
    Table& t = table();
    const std::size_t index = std::size_t(s - t.slots.data());
    ++destroyedObjects; // a remembered handle may be this one
    s->kind = Kind::Free;
    s->generation = std::uint16_t((s->generation + 1) & kGenMask);
    s->bitmap.reset();
    s->dc.reset();
    t.free.push_back(index);
}

Surface* target(DcObj& d) {
    switch (d.kind) {
    case DcKind::Memory: {
        BitmapObj* b = bitmap(d.bitmap);
        return b ? &b->surface : nullptr;
    }
    case DcKind::Window:
        return windowSurface(d.window);
    case DcKind::Screen:
        return nullptr;
    }
    return nullptr;
}

LastTarget lastTarget;
std::uint64_t destroyedObjects = 0;

Surface* lookUpTarget(HDC h) {
    DcObj* d = dc(h);
    if (!d) return nullptr;
    Surface* s = target(*d);
    if (s && d->kind == DcKind::Memory)
        lastTarget = LastTarget{h, destroyedObjects, d, d->bitmap, s};
    return s;
}

HGDIOBJ stock(int which) {
    makeStock();
    if (which < 0 || which > NULL_PEN) return nullptr;
    return table().stockObjects[which];
}

HBITMAP stockBitmap() {
    makeStock();
    return table().stockBitmap;
}

} // namespace tess::gdi

namespace tess {

GdiCounts gdiLiveObjects() {
    GdiCounts c;
    for (const auto& s : gdi::table().slots) {
        if (s.stock) continue;
        switch (s.kind) {
        case gdi::Kind::Pen:
            ++c.pens;
            break;
        case gdi::Kind::Brush:
            ++c.brushes;
            break;
        case gdi::Kind::Bitmap:
            ++c.bitmaps;
            break;
        case gdi::Kind::DC:
            ++c.dcs;
            break;
        case gdi::Kind::Free:
            break;
        }
    }
    return c;
}

} // namespace tess
