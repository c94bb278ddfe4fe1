// Pen lines and polylines: one pixel per step along the major axis, the minor
// coordinate rounded to nearest with exact halves going toward -infinity, the
// end point left out. Clipped to the surface before iterating.

#include "platform/gdi/raster.h"
#include "platform/gdi/raster_int.h"

#include <cstdint>
#include <cstdlib>

namespace tess::raster {

namespace {

// Narrows [tLo, tHi] to the steps that are neither before nor after the surface,
// by bisection (exact at any scale); an empty result leaves tLo > tHi.
template <class Before, class After>
void narrow(long long& tLo, long long& tHi, const Before& before, const After& after) {
    // First t not "before".
    long long lo = tLo, hi = tHi + 1;
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (before(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    tLo = lo;
    // Last t not "after".
    lo = tLo - 1;
    hi = tHi;
    while (lo < hi) {
        const long long mid = hi - (hi - lo) / 2;
        if (after(mid))
            hi = mid - 1;
        else
            lo = mid;
    }
    tHi = lo;
}

} // namespace

void line(Surface& s, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
          Colour c) {
    // Differences of two int32 need 33 bits.
    const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Work in (major, minor) terms; the step t runs 0 .. n - 1.
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long m0 = xMajor ? x0 : y0, q0 = xMajor ? y0 : x0;
    const int sm = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long dq = xMajor ? dy : dx;
    const long long majorSize = xMajor ? s.width : s.height;
    const long long minorSize = xMajor ? s.height : s.width;

    // Minor coordinate at step t: q0 + dq * t / n rounded, halves down:
    // ceil((2 * dq * t - n) / (2 * n)).
    auto minorAt = [&](long long t) {
        return q0 + (long long)ceilDiv(i128(2) * dq * t - n, i128(2) * n);
    };

    // Steps whose major coordinate lies on the surface.
    long long tLo, tHi; // inclusive
    if (sm > 0) {
        tLo = -m0;
        tHi = majorSize - 1 - m0;
    } else {
        tLo = m0 - (majorSize - 1);
        tHi = m0;
    }
    if (tLo < 0) tLo = 0;
    if (tHi > n - 1) tHi = n - 1;
    if (tLo > tHi) return;

    // The minor coordinate is monotone in t: narrow the range to the steps
    // where it lies on the surface too, by bisection (exact at any scale).
    // before(t) / after(t): the minor coordinate has not reached / has left the surface.
    const bool rising = dq >= 0;
    auto before = [&](long long t) {
        const long long q = minorAt(t);
        return rising ? q < 0 : q >= minorSize;
    };
    auto after = [&](long long t) {
        const long long q = minorAt(t);
        return rising ? q >= minorSize : q < 0;
    };
    // A line whose ends are both on the surface lies wholly on it: no search.
    if (before(tLo) || after(tHi)) {
        narrow(tLo, tHi, before, after);
        if (tLo > tHi) return;
    }

    // The rounded minor offset k = ceil(N / D), N = 2 dq t - n, D = 2 n, moves by
    // at most one per step (|2 dq| <= D): its remainder r = k D - N in [0, D) says
    // when, so no step needs the division minorAt does.
    const long long D = 2 * n, stepN = 2 * dq;
    const i128 N = i128(2) * dq * tLo - n;
    const long long k = (long long)ceilDiv(N, D);
    long long r = (long long)(i128(k) * D - N);
    const Colour pixel = c & 0xFFFFFF;
    const long long mFirst = m0 + sm * tLo, mLast = m0 + sm * tHi;
    const long long qFirst = q0 + k, qLast = minorAt(tHi);
    const int firstX = int(xMajor ? mFirst : qFirst), firstY = int(xMajor ? qFirst : mFirst);
    const int lastX = int(xMajor ? mLast : qLast), lastY = int(xMajor ? qLast : mLast);
    // Walk by index: a step along the major axis, and one row or column more
    // whenever the minor coordinate moves. (The index after the last pixel may
    // lie off the surface; it is never used.)
    const long long majorStep = xMajor ? sm : sm * (long long)s.width;
    const long long minorStep = xMajor ? (long long)s.width : 1;
    std::uint32_t* const base = s.pixels.data();
    long long at = (long long)firstY * s.width + firstX;
    for (long long t = tLo; t <= tHi; ++t) {
        base[at] = pixel;
        at += majorStep;
        r -= stepN;
        if (r < 0) {
            r += D;
            at += minorStep;
        } else if (r >= D) {
            r -= D;
            at -= minorStep;
        }
    }
    // Both coordinates are monotone along the line: its ends bound it.
    s.touch(PixelRect{firstX < lastX ? firstX : lastX, firstY < lastY ? firstY : lastY,
                      (firstX > lastX ? firstX : lastX) + 1,
                      (firstY > lastY ? firstY : lastY) + 1});
}

void polyline(Surface& s, const Point* pts, int count, Colour c) {
    for (int i = 0; i + 1 < count; ++i)
        line(s, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, c);
}

} // namespace tess::raster
