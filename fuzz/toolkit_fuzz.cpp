// Every toolkit function with arbitrary doubles (NaN, infinities, huge, tiny)
// and counts: the vector functions keep their exact promises, the drawing
// functions leave the device context's pen and brush as they found them, never
// leak, never write the caller's corners, and no call takes longer than the
// surface and its corners can explain.

#include "anim/chain.h"
#include "draw/color.h"
#include "draw/poly.h"
#include "draw/shapes.h"
#include "fuzz_input.h"
#include "math/pixel.h"
#include "math/vec2.h"
#include "platform/gdi/gdi_stats.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr double kSurface = kWidth * kHeight;

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

vec2 vec(FuzzInput& in) {
    const double x = in.number();
    return vec2(x, in.number());
}

// The persistent pair is process-wide: whether it exists carries over inputs.
struct PairState {
    bool everSet = false;
    bool held = false;
};
PairState& pair() {
    static PairState p;
    return p;
}

// Which pen and brush the context holds, read by swapping stock ones in and back.
struct Held {
    HGDIOBJ pen, brush;
    bool operator==(const Held& o) const { return pen == o.pen && brush == o.brush; }
};
Held held(HDC dc) {
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, pen);
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, brush);
    return Held{pen, brush};
}

void checkToPixel(double v) {
    const std::int32_t p = toPixel(v);
    if (std::isnan(v)) {
        FUZZ_CHECK(p == INT32_MIN);
    } else if (v >= 2147483648.0) {
        FUZZ_CHECK(p == INT32_MAX);
    } else if (v <= -2147483649.0) {
        FUZZ_CHECK(p == INT32_MIN);
    } else {
        FUZZ_CHECK(double(p) == std::trunc(v));
    }
}

bool unitOrFallback(vec2 n) {
    if (n.x == 1.0 && n.y == 0.0) return true;
    const double len = std::sqrt(n.x * n.x + n.y * n.y);
    return std::fabs(len - 1.0) < 1e-9;
}

void vectorStep(FuzzInput& in) {
    const vec2 a = vec(in), b = vec(in), c = vec(in);
    const double angle = in.number();
    CallTimer t(0);
    checkToPixel(a.x);
    const POINT p = vec2POINT(a);
    FUZZ_CHECK(p.x == toPixel(a.x) && p.y == toPixel(a.y));
    const vec2 e = retext2(a);
    FUZZ_CHECK(same(e.x, -a.y) && same(e.y, a.x));
    const double d1 = retdis2(a, b), d2 = retdis2(b, a);
    FUZZ_CHECK(same(d1, d2) || (std::isnan(d1) && std::isnan(d2)));
    const vec2 n = retnrm2(a, b);
    FUZZ_CHECK(unitOrFallback(n));
    // Where the two points are finite and apart, the direction is theirs.
    if (std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y) &&
        (a.x != b.x || a.y != b.y)) {
        const vec2 d = b - a;
        FUZZ_CHECK(std::isfinite(n.x) && std::isfinite(n.y));
        if (std::isfinite(d.x) && std::isfinite(d.y)) {
            FUZZ_CHECK(d.x * n.x >= 0 && d.y * n.y >= 0); // same quadrant
        }
    }
    FUZZ_CHECK(unitOrFallback(retnrm2(a, b, c)));
    retcpnt2(a, b, c);
    retvec2(a, b, c);
    retdot2(a, b);
    retrot2(a, angle);
    const vec2 dir(angle);
    if (std::isfinite(angle)) FUZZ_CHECK(unitOrFallback(dir));
    (void)(a + b);
    (void)(a - b);
    (void)(a * angle);
    (void)(a / angle);
    std::srand(in.u32());
    const vec2 r = rndvec2();
    FUZZ_CHECK(std::sqrt(r.x * r.x + r.y * r.y) <= 1.0);
    FUZZ_CHECK(unitOrFallback(rndnrm2()));
}

std::vector<vec2> corners(FuzzInput& in) {
    const std::uint8_t size = in.byte();
    // Now and then more than the stack scratch holds.
    const int n = size == 0xFF ? 300 + in.byte() * 2 : size % 12;
    std::vector<vec2> pts(static_cast<std::size_t>(n));
    for (vec2& v : pts)
        v = vec(in);
    return pts;
}

void drawStep(FuzzInput& in, HDC surfaceDc) {
    const std::uint8_t op = in.byte();
    HDC dc = (op & 0x80) ? nullptr : surfaceDc; // no context at all now and then
    const unsigned long pen = in.u32(), brush = in.u32();
    const Held before = held(surfaceDc);
    const int liveBefore = tess::gdiLiveObjects().total();
    switch (op % 12) {
    case 0: {
        const vec2 c = vec(in);
        const double r = in.number();
        CallTimer t(kSurface);
        drawCirc(dc, c, r, pen, brush);
        break;
    }
    case 1: {
        const vec2 c = vec(in);
        const double r = in.number();
        CallTimer t(kSurface);
        drawCirc(dc, c, r);
        break;
    }
    case 2:
    case 3: {
        const vec2 from = vec(in), to = vec(in);
        CallTimer t(kSurface);
        if (op % 12 == 2) {
            drawLine(dc, from, to, pen);
        } else {
            drawLine(dc, from, to);
        }
        break;
    }
    case 4: {
        const vec2 p = vec(in);
        CallTimer t(0);
        upPixl(dc, p, pen);
        drawPixl(dc, vec(in), brush);
        break;
    }
    case 5: {
        CallTimer t(0);
        const vec2 m = mousePos();
        FUZZ_CHECK(m.x == std::trunc(m.x) && m.y == std::trunc(m.y));
        break;
    }
    default: {
        std::vector<vec2> pts = corners(in);
        int count = int(pts.size());
        const std::uint8_t misuse = in.byte();
        if (misuse == 1) count = int(in.u32() | 0x80000000u); // negative: nothing at all
        if (misuse == 2) count = std::min(count, int(in.byte() % 4));
        const vec2 origin = vec(in), axis = vec(in);
        const std::vector<vec2> copy = pts;
        {
            CallTimer t(kSurface + double(pts.size()) * 1000);
            vec2* data = pts.data();
            switch (op % 12) {
            case 6:
                drawPoly(dc, data, count);
                break;
            case 7:
                drawPoly(dc, data, count, pen);
                break;
            case 8:
                drawPoly(dc, data, count, pen, brush);
                break;
            case 9:
                drawPoly(dc, origin, axis, data, count);
                break;
            case 10:
                drawPoly(dc, origin, axis, data, count, pen);
                break;
            default:
                drawPoly(dc, origin, axis, data, count, pen, brush);
                break;
            }
        }
        FUZZ_CHECK(pts.empty() ||
                   std::memcmp(pts.data(), copy.data(), pts.size() * sizeof(vec2)) == 0);
        break;
    }
    }
    FUZZ_CHECK(held(surfaceDc) == before);
    FUZZ_CHECK(tess::gdiLiveObjects().total() == liveBefore);
}

void colourStep(FuzzInput& in, HDC dc) {
    const std::uint8_t op = in.byte();
    const unsigned long pen = in.u32(), brush = in.u32();
    PairState& p = pair();
    const int liveBefore = tess::gdiLiveObjects().total() - (p.held ? 2 : 0);
    CallTimer t(0);
    switch (op % 3) {
    case 0:
        setColor(dc, pen, brush);
        p.held = true;
        break;
    case 1:
        setColor(dc, pen, brush, (op & 4) != 0);
        p.held = !(op & 4) || !p.everSet; // the very first call makes a pair even to release
        break;
    default:
        endColor(dc);
        p.held = !p.everSet;
        break;
    }
    p.everSet = true;
    FUZZ_CHECK(tess::gdiLiveObjects().total() == liveBefore + (p.held ? 2 : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int liveBefore = tess::gdiLiveObjects().total();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    FuzzInput in(data, size);
    while (!in.done()) {
        switch (in.byte() % 3) {
        case 0:
            vectorStep(in);
            break;
        case 1:
            drawStep(in, dc);
            break;
        default:
            colourStep(in, dc);
            break;
        }
    }
    // The pair belongs to this context: give it back before the context goes.
    if (pair().held) endColor(dc);
    pair().held = false;
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    FUZZ_CHECK(tess::gdiLiveObjects().total() == liveBefore);
    return 0;
}
