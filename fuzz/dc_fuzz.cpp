// The device-context primitives driven by arbitrary bytes: any 32-bit
// coordinates and sizes, and handles that are null, stale, forged, stock or of
// the wrong kind. Nothing may crash or hang, a pixel read is a colour or
// CLR_INVALID, a deleted object stays deleted, and once every DC is deleted every
// object made during the input can be deleted: the live count is back where it was.

#include "fuzz_input.h"
#include "platform/gdi/gdi_stats.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Sizes the fuzzer hands over as they come only when they are small or must be
// refused; anything else is folded small, so one input cannot allocate gigabytes.
constexpr long long kMaxPixels = 1LL << 16;
constexpr long long kRefusedPixels = 1LL << 28; // the device context's own limit

struct Pool {
    std::vector<HGDIOBJ> made; // everything created during this input
    std::vector<HGDIOBJ> seen; // made, stock and forged handles, to pick from
    long long largestSurface = 1;

    HGDIOBJ pick(FuzzInput& in) {
        const std::uint8_t i = in.byte();
        if (i == 0xFF) return reinterpret_cast<HGDIOBJ>(std::uintptr_t(in.u32())); // forged
        if (seen.empty() || i == 0xFE) return nullptr;
        return seen[i % seen.size()];
    }
    HDC pickDc(FuzzInput& in) { return static_cast<HDC>(pick(in)); }
    void add(HGDIOBJ h, bool created) {
        if (!h) return;
        seen.push_back(h);
        if (created) made.push_back(h);
    }
};

void checkPixel(COLORREF c) {
    FUZZ_CHECK(c == CLR_INVALID || c <= 0xFFFFFF);
}

std::vector<POINT> points(FuzzInput& in, int count) {
    std::vector<POINT> pts(std::size_t(std::max(count, 0)));
    for (POINT& p : pts)
        p = POINT{in.coord(), in.coord()};
    return pts;
}

void step(FuzzInput& in, Pool& pool) {
    const double surface = double(pool.largestSurface);
    switch (in.byte() % 20) {
    case 0: {
        HDC from = pool.pickDc(in);
        CallTimer t(0);
        pool.add(CreateCompatibleDC(from), true);
        break;
    }
    case 1: {
        HDC dc = pool.pickDc(in);
        int w = in.i32(), h = in.i32();
        const long long pixels = static_cast<long long>(w) * h;
        const bool refused = w < 0 || h < 0 || pixels > kRefusedPixels;
        if (!refused && pixels > kMaxPixels) {
            w %= 257;
            h %= 257;
        }
        const long long area = std::max(1LL, static_cast<long long>(w) * h);
        CallTimer t(static_cast<double>(area));
        HBITMAP b = CreateCompatibleBitmap(dc, w, h);
        if (refused) FUZZ_CHECK(b == nullptr);
        if (b) pool.largestSurface = std::max(pool.largestSurface, area);
        pool.add(b, true);
        break;
    }
    case 2: {
        const int style = in.i32() % 10, width = in.i32();
        const COLORREF colour = in.u32();
        CallTimer t(0);
        pool.add(CreatePen(style, width, colour), true);
        break;
    }
    case 3: {
        const COLORREF colour = in.u32();
        CallTimer t(0);
        pool.add(CreateSolidBrush(colour), true);
        break;
    }
    case 4: {
        const int which = static_cast<std::int8_t>(in.byte());
        HGDIOBJ h = GetStockObject(which);
        FUZZ_CHECK((which >= WHITE_BRUSH && which <= NULL_PEN) == (h != nullptr));
        pool.add(h, false);
        if (h) FUZZ_CHECK(DeleteObject(h) == TRUE); // stock objects shrug off deletion
        break;
    }
    case 5: {
        HDC dc = pool.pickDc(in);
        HGDIOBJ object = pool.pick(in);
        CallTimer t(0);
        SelectObject(dc, object);
        break;
    }
    case 6: {
        HGDIOBJ object = pool.pick(in);
        bool stock = false;
        for (int which = WHITE_BRUSH; which <= NULL_PEN; ++which)
            stock = stock || object == GetStockObject(which);
        CallTimer t(0);
        if (DeleteObject(object) && !stock) FUZZ_CHECK(DeleteObject(object) == FALSE);
        break;
    }
    case 7: {
        HDC dc = pool.pickDc(in);
        CallTimer t(0);
        if (DeleteDC(dc)) FUZZ_CHECK(DeleteDC(dc) == FALSE && GetPixel(dc, 0, 0) == CLR_INVALID);
        break;
    }
    case 8: {
        HDC dc = pool.pickDc(in);
        CallTimer t(0);
        ReleaseDC(nullptr, dc);
        break;
    }
    case 9: {
        HDC dc = pool.pickDc(in);
        const int x = in.coord(), y = in.coord();
        CallTimer t(0);
        checkPixel(GetPixel(dc, x, y));
        break;
    }
    case 10: {
        HDC dc = pool.pickDc(in);
        const int x = in.coord(), y = in.coord();
        const COLORREF colour = in.u32();
        CallTimer t(0);
        if (SetPixelV(dc, x, y, colour)) FUZZ_CHECK(GetPixel(dc, x, y) == (colour & 0xFFFFFF));
        break;
    }
    case 11: {
        HDC dc = pool.pickDc(in);
        RECT r{in.coord(), in.coord(), in.coord(), in.coord()};
        HBRUSH brush = static_cast<HBRUSH>(pool.pick(in));
        CallTimer t(surface);
        FillRect(dc, in.byte() == 0 ? nullptr : &r, brush);
        break;
    }
    case 12: {
        HDC dc = pool.pickDc(in);
        const int x = in.coord(), y = in.coord();
        POINT before{};
        CallTimer t(0);
        MoveToEx(dc, x, y, in.byte() & 1 ? &before : nullptr);
        break;
    }
    case 13: {
        HDC dc = pool.pickDc(in);
        const int x = in.coord(), y = in.coord();
        CallTimer t(surface);
        LineTo(dc, x, y);
        break;
    }
    case 14: {
        HDC dc = pool.pickDc(in);
        const int l = in.coord(), t0 = in.coord(), r = in.coord(), b = in.coord();
        CallTimer t(surface);
        Ellipse(dc, l, t0, r, b);
        break;
    }
    case 15:
    case 16: {
        const bool filled = in.byte() & 1;
        HDC dc = pool.pickDc(in);
        const int count = in.byte() % 40;
        std::vector<POINT> pts = points(in, count);
        // A negative count or missing points must be refused, not read.
        const std::uint8_t misuse = in.byte();
        const int passed = misuse == 1 ? -int(in.u32() & 0x7FFFFFFF) - 1 : count;
        const POINT* data = misuse == 2 ? nullptr : pts.data();
        CallTimer t(surface + double(count) * 1000);
        const BOOL ok = filled ? Polygon(dc, data, passed) : Polyline(dc, data, passed);
        if (passed < 0 || (passed > 0 && !data)) FUZZ_CHECK(ok == FALSE);
        break;
    }
    case 17: {
        HDC to = pool.pickDc(in);
        HDC from = pool.pickDc(in);
        const int x = in.coord(), y = in.coord(), w = in.coord(), h = in.coord();
        const int sx = in.coord(), sy = in.coord();
        const DWORD rop = (in.byte() & 1) ? SRCCOPY : in.u32();
        CallTimer t(surface);
        BitBlt(to, x, y, w, h, from, sx, sy, rop);
        break;
    }
    case 18: {
        // A screen DC, and a window that does not exist (no host here).
        CallTimer t(0);
        pool.add(GetDC(nullptr), true);
        FUZZ_CHECK(GetDC(reinterpret_cast<HWND>(std::uintptr_t(in.u32()) | 1)) == nullptr);
        break;
    }
    case 19: {
        // Deleting the wrong kind: a DC through DeleteObject, a pen through DeleteDC.
        HGDIOBJ h = pool.pick(in);
        CallTimer t(0);
        DeleteDC(static_cast<HDC>(h));
        DeleteObject(h);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int liveBefore = tess::gdiLiveObjects().total();
    FuzzInput in(data, size);
    Pool pool;
    while (!in.done())
        step(in, pool);
    // DCs first: what they hold cannot be deleted while selected.
    for (HGDIOBJ h : pool.made)
        DeleteDC(static_cast<HDC>(h));
    for (HGDIOBJ h : pool.made)
        DeleteObject(h);
    FUZZ_CHECK(tess::gdiLiveObjects().total() == liveBefore);
    return 0;
}
