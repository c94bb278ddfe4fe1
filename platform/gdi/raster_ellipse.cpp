// Ellipses. The region is traced like the integer rectangle ellipse (error
// terms over the diameters a = w - 1, b = h - 1, one quadrant, mirrored): the
// trace plots positions while 2k <= a and does not finish the tips of thin
// ellipses, so tall narrow boxes keep empty rows. Each row is filled between
// its outermost traced points; pen pixels are those of the region with a
// 4-neighbour outside it. Rows off the surface are skipped, not traced.

#include "platform/gdi/raster.h"
#include "platform/gdi/raster_int.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tess::raster {

namespace {

typedef unsigned __int128 u128;
typedef std::uint64_t u64;

// p * x as a sign and a 192-bit magnitude (three 64-bit limbs, low first).
struct Wide {
    int sign;
    u64 limb[3];
};

Wide mul(u64 p, i128 x) {
    Wide r{x < 0 ? -1 : (x > 0 ? 1 : 0), {0, 0, 0}};
    const u128 m = x < 0 ? u128(0) - u128(x) : u128(x);
    const u128 lo = u128(p) * u64(m), hi = u128(p) * u64(m >> 64);
    const u128 mid = (lo >> 64) + u64(hi);
    r.limb[0] = u64(lo);
    r.limb[1] = u64(mid);
    r.limb[2] = u64(hi >> 64) + u64(mid >> 64);
    if (p == 0) r.sign = 0;
    return r;
}

int cmpMagnitude(const Wide& a, const Wide& b) {
    for (int i = 2; i >= 0; --i)
        if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
}

// Sign of p * x + q * y.
int signOfSum(u64 p, i128 x, u64 q, i128 y) {
    const Wide a = mul(p, x), b = mul(q, y);
    if (a.sign == 0) return b.sign;
    if (b.sign == 0 || a.sign == b.sign) return a.sign;
    const int c = cmpMagnitude(a, b); // opposite signs: the larger magnitude wins
    return c == 0 ? 0 : (c > 0 ? a.sign : b.sign);
}

// The quadrant trace. Position (k, m): k steps inward from the right end of
// the box, m rows away from the middle. With err(k, m) the trace's error term,
//   err = b^2 * 4(k + 1)(k + 1 - a) + a^2 * G(m),
//   G(m) = 4(b1 + 1)(m + 1) + b1 + 4m(m + 1),   b1 = b mod 2,
// it steps a row when 2 err <= a^2 * 4(b1 + 1 + 2m) and a column when
// 2 err >= b^2 * 4(1 - a + 2k), both if both hold, and stops once 2k > a.
struct Trace {
    long long a, b, b1, kmax;
    u64 a2, b2; // a * a and b * b fit 64 bits for boxes up to 2^32 - 1 wide

    i128 G(long long m) const { return 4 * (b1 + 1) * i128(m + 1) + b1 + 4 * i128(m) * (m + 1); }
    i128 P(long long k) const { return 4 * i128(k + 1) * (k + 1 - a); }

    // 2 err - a^2 * 4(b1 + 1 + 2m) <= 0
    bool rowStep(long long k, long long m) const {
        return signOfSum(b2, 2 * P(k), a2, 2 * G(m) - 4 * (b1 + 1 + 2 * i128(m))) <= 0;
    }
    // 2 err - b^2 * 4(1 - a + 2k) >= 0
    bool columnStep(long long k, long long m) const {
        return signOfSum(b2, 2 * P(k) - 4 * (1 - a + 2 * i128(k)), a2, 2 * G(m)) >= 0;
    }

    // Smallest k <= kmax from which row m is left, or kmax + 1. err falls with
    // k up to its minimum at (a - 2) / 2, beyond which no new k qualifies.
    long long rowThreshold(long long m) const {
        const long long kv = std::max(0LL, (a - 2) / 2);
        if (!rowStep(kv, m)) return kmax + 1;
        long long lo = 0, hi = kv;
        while (lo < hi) {
            const long long mid = lo + (hi - lo) / 2;
            if (rowStep(mid, m))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    }
    // Largest k on the falling side where a column step is still taken, or -1.
    long long columnThreshold(long long m) const {
        const long long kv = std::max(0LL, (a - 1) / 2);
        if (!columnStep(0, m)) return -1;
        long long lo = 0, hi = kv;
        while (lo < hi) {
            const long long mid = hi - (hi - lo) / 2;
            if (columnStep(mid, m))
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo;
    }

    // Entry column of row m + 1 given the entry column k of row m; kmax + 1
    // stands for "the trace has stopped" and stays put.
    long long next(long long k, long long m) const {
        if (k > kmax) return k;
        const long long g = std::max(k, rowThreshold(m)); // columns walked in row m
        if (g > kmax) return kmax + 1;
        const long long n = g + (columnStep(g, m) ? 1 : 0);
        return std::min(n, kmax + 1);
    }

    // Entry column of row m, found by running two traces from bounds on an
    // earlier row until they meet; the trace is monotone in its start, so the
    // true one lies between them. Bounds on row m0: at least the row threshold
    // of row m0 - 1 (it is left from there or further in), at most one past
    // that row's last column step (column thresholds only grow with m).
    // Starts from row 0 in the worst case.
    long long entry(long long m) const {
        for (long long back = 8;; back *= 2) {
            long long m0 = m - back, lo, hi;
            if (m0 <= 0) {
                m0 = 0;
                lo = hi = 0;
            } else {
                lo = std::min(rowThreshold(m0 - 1), kmax + 1);
                const long long cx = columnThreshold(m0 - 1);
                hi = cx + 1 > kmax ? kmax + 1 : cx + 1;
                if (hi < lo) hi = kmax + 1;
            }
            bool met = lo == hi;
            for (long long r = m0; r < m; ++r) {
                lo = next(lo, r);
                hi = met ? lo : next(hi, r);
                met = lo == hi;
            }
            if (met || m0 == 0) return lo; // from row 0 the start is known exactly
        }
    }
};

// A painted row: columns [x0, x1], empty when x0 > x1.
struct Span {
    long long x0 = 1, x1 = 0;
    bool empty() const { return x0 > x1; }
};

void paintRows(Surface& s, long long top, const std::vector<Span>& rows, long long firstRow,
               const Colour* pen, const Colour* brush) {
    // rows[i] is box row firstRow + i - 1; the first and last are context only.
    PixelRect dirty;
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        const Span& r = rows[i];
        if (r.empty()) continue;
        const long long y = top + firstRow + static_cast<long long>(i) - 1;
        const Span& up = rows[i - 1];
        const Span& down = rows[i + 1];
        // Interior: not at the row's ends and covered above and below.
        long long b0 = r.x0 + 1, b1 = r.x1 - 1;
        if (up.empty() || down.empty())
            b0 = 1, b1 = 0;
        else
            b0 = std::max({b0, up.x0, down.x0}), b1 = std::min({b1, up.x1, down.x1});
        const long long c0 = std::max(r.x0, 0LL), c1 = std::min<long long>(r.x1, s.width - 1);
        if (c0 > c1) continue;
        std::uint32_t* row = &s.at(0, int(y));
        for (long long x = c0; x <= c1;) {
            const bool inner = x >= b0 && x <= b1;
            // Runs: pen up to the interior, the interior, pen after it.
            const long long end = inner ? std::min(b1, c1) : (x < b0 ? std::min(b0 - 1, c1) : c1);
            const Colour* c = inner ? brush : pen;
            if (c) std::fill(row + x, row + end + 1, *c & 0xFFFFFF);
            x = end + 1;
        }
        dirty = unite(dirty, PixelRect{int(c0), int(y), int(c1) + 1, int(y) + 1});
    }
    s.touch(dirty);
}

} // namespace

void ellipse(Surface& s, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom, const Colour* pen, const Colour* brush) {
    long long l = left, t = top, r = right, bt = bottom;
    if (l > r) std::swap(l, r); // an inverted box paints what the swapped box paints
    if (t > bt) std::swap(t, bt);
    const long long w = r - l, h = bt - t;
    if (w == 0 || h == 0 || (w == 1 && h == 1)) return;

    // Box rows that can matter: those on the surface, plus one either side.
    const long long y0 = std::max(0LL, t) - t, y1 = std::min<long long>(s.height, bt) - t;
    if (y0 >= y1 || l >= s.width || r <= 0) return;
    std::vector<Span> rows(std::size_t(y1 - y0 + 2));

    if (w <= 2 || h <= 2) {
        // The whole box, which leaves no pixel without an outside neighbour.
        for (long long y = y0; y < y1; ++y)
            rows[std::size_t(y - y0 + 1)] = Span{l, r - 1};
        paintRows(s, t, rows, y0, pen, brush);
        return;
    }

    Trace tr;
    tr.a = w - 1;
    tr.b = h - 1;
    tr.b1 = tr.b & 1;
    tr.kmax = tr.a / 2;
    tr.a2 = u64(tr.a) * u64(tr.a);
    tr.b2 = u64(tr.b) * u64(tr.b);
    // Row m lies (b + 1) / 2 + m below the top, and mirrored (b + 1) / 2 - b1 - m.
    const long long below = (tr.b + 1) / 2, above = below - tr.b1;

    // Rows of the context window, in box coordinates; walk each half outward.
    const long long ylo = y0 - 1, yhi = y1; // inclusive
    auto spanFor = [&](long long k) { return k > tr.kmax ? Span{} : Span{l + k, r - 1 - k}; };
    // Lower half: rows below..h-1 map to m = y - below, increasing with y.
    if (yhi >= below) {
        const long long yStart = std::max(ylo, below);
        long long m = yStart - below;
        long long k = tr.entry(m);
        for (long long y = yStart; y <= yhi && y < h; ++y, ++m) {
            rows[std::size_t(y - ylo)] = spanFor(k);
            k = tr.next(k, m);
        }
    }
    // Upper half: rows above..0 map to m = above - y, increasing as y falls.
    if (ylo <= above) {
        const long long yStart = std::min(yhi, above);
        long long m = above - yStart;
        long long k = tr.entry(m);
        for (long long y = yStart; y >= ylo && y >= 0; --y, ++m) {
            rows[std::size_t(y - ylo)] = spanFor(k);
            k = tr.next(k, m);
        }
    }
    paintRows(s, t, rows, y0, pen, brush);
}

} // namespace tess::raster
