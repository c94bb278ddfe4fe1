#!/usr/bin/env python3
"""Writes the conformance corpus: drawing scripts for gdiscript, one file per
case, named <primitive>-<number>.gds. Edge cases of every primitive plus
seeded random mixes; the same seed always gives the same files.

Coordinates stay where the reference GDI is known to be right: line and
polygon spans below 2^28, ellipse boxes below 2^18 a side, no polygon edge
reaching far above the surface (the reference walks those rows one by one).
Scripts hold at most one ellipse per box height: the reference can draw an
earlier ellipse's spans into rows a later one leaves empty (run_conformance.py
runs it so that it cannot, but a script should not depend on that)."""

import argparse
import os
import random

PEN, BRUSH = 0x0000FF, 0x00FF00


class Corpus:
    def __init__(self, out):
        self.out = out
        self.count = {}

    def add(self, primitive, lines):
        n = self.count.get(primitive, 0) + 1
        self.count[primitive] = n
        path = os.path.join(self.out, "%s-%05d.gds" % (primitive, n))
        with open(path, "w", newline="\n") as f:
            f.write("\n".join(lines) + "\n")


def head(w, h, pen=PEN, brush=BRUSH):
    lines = ["surface %d %d" % (w, h)]
    if pen is not None:
        lines.append("pen 0x%06x" % pen)
    if brush is not None:
        lines.append("brush 0x%06x" % brush)
    return lines


def show(w, h):
    # Whole pictures while small; a digest beyond that.
    return "dump" if w * h <= 96 * 96 else "hash"


def lines_cases(c, rnd):
    # Every direction from the middle of a 24x24 surface: all octants, the
    # diagonals, exact half-way minor coordinates, lengths 0 and 1.
    for dx in range(-9, 10):
        for dy in range(-9, 10):
            if max(abs(dx), abs(dy)) not in (0, 1, 2, 3, 4, 6, 9) and (dx + dy) % 3:
                continue
            c.add("line", head(24, 24) + ["move 11 11", "lineto %d %d" % (11 + dx, 11 + dy), "dump"])
    # A line continued from the default position (0, 0) and chained segments.
    c.add("line", head(16, 16) + ["lineto 9 4", "lineto 3 12", "lineto 3 12", "lineto 15 15", "dump"])
    # Partly and wholly off the surface, up to spans of 2^27.
    far = [(-1000, 3, 1000, 20), (-40, -40, 60, 60), (5, -100, 9, 100), (-1, -1, -20, 30),
           (16, 0, 16, 15), (15, 15, 40, 40), (-300, 200, 300, -200), (20, 30, 30, 40)]
    for d in (1 << 10, 1 << 16, 1 << 20, (1 << 27) - 1):
        far += [(-d, 3, d, 13), (d, d // 2 + 7, 4, 7), (4, 7, d, d // 2 + 7), (-d, -d, d, d),
                (7, -d, 9, d), (-d, 15 - d // 3, d // 2, 0)]
    for x0, y0, x1, y1 in far:
        c.add("line", head(16, 16) + ["move %d %d" % (x0, y0), "lineto %d %d" % (x1, y1), "dump"])
    # Far from the surface altogether, near the ends of the 32-bit range.
    top = (1 << 31) - 1
    for x0, y0, x1, y1 in [(top - (1 << 27), 3, top, 9), (-top - 1, 5, -top - 1 + (1 << 27), 7),
                           (3, top, 9, top - 100), (-5, -top, 12, -top + 50)]:
        c.add("line", head(16, 16) + ["move %d %d" % (x0, y0), "lineto %d %d" % (x1, y1), "dump"])
    for _ in range(120):
        w, h = rnd.randint(4, 40), rnd.randint(4, 40)
        span = rnd.choice([8, 30, 100, 5000, 1 << 20])
        cmds = head(w, h, pen=rnd.randrange(1 << 24), brush=None)
        cmds.append("move %d %d" % (rnd.randint(-span, span), rnd.randint(-span, span)))
        for _ in range(rnd.randint(1, 5)):
            cmds.append("lineto %d %d" % (rnd.randint(-span, w + span), rnd.randint(-span, h + span)))
        c.add("line", cmds + [show(w, h)])


def polyline_cases(c, rnd):
    fixed = [[], [(3, 3)], [(3, 3), (3, 3)], [(2, 2), (12, 2), (12, 12)],
             [(2, 2), (12, 2), (12, 12), (2, 12), (2, 2)], [(1, 1), (14, 9), (1, 9), (14, 1)],
             [(5, 5), (6, 5), (6, 6), (5, 6), (5, 5)], [(-10, -10), (30, 8), (-5, 14)],
             [(8, 8), (8, 8), (9, 8), (9, 8), (9, 9)]]
    for pts in fixed:
        c.add("polyline", head(16, 16) + ["polyline " + " ".join("%d %d" % p for p in pts), "dump"])
    for _ in range(120):
        w, h = rnd.randint(4, 40), rnd.randint(4, 40)
        span = rnd.choice([4, 20, 300, 1 << 24])
        n = rnd.randint(0, 9)
        pts = [(rnd.randint(-span, w + span), rnd.randint(-span, h + span)) for _ in range(n)]
        if pts and rnd.random() < 0.3:
            pts.append(pts[0])
        cmds = head(w, h, pen=rnd.randrange(1 << 24), brush=None)
        c.add("polyline", cmds + ["polyline " + " ".join("%d %d" % p for p in pts), show(w, h)])


def polygon_cases(c, rnd):
    fixed = [[], [(4, 4)], [(4, 4), (4, 4), (4, 4)], [(2, 3), (12, 9)], [(2, 2), (6, 6), (10, 10)],
             [(2, 2), (12, 2), (12, 12), (2, 12)], [(12, 12), (12, 2), (2, 2), (2, 12)],
             [(8, 1), (12, 14), (2, 6), (14, 6), (4, 14)],
             [(2, 2), (12, 2), (12, 12), (2, 12), (2, 2), (12, 2), (12, 12), (2, 12)],
             [(5, 5), (6, 5), (6, 6), (5, 6)], [(5, 5), (7, 5), (7, 7), (5, 7)],
             [(5, 5), (7, 5), (5, 7)], [(5, 5), (6, 5), (5, 6)], [(1, 1), (14, 14), (14, 1), (1, 14)],
             [(0, 0), (15, 0), (0, 15)], [(3, 1), (3, 14), (4, 14), (4, 1)],
             [(1, 7), (14, 7), (14, 8), (1, 8)], [(-5, -5), (20, -5), (20, 20), (-5, 20)],
             [(-30, 8), (8, -3), (40, 8), (8, 19)], [(20, 2), (30, 2), (30, 12)],
             [(2, 2), (13, 5), (2, 8), (13, 11), (2, 14)], [(1, 1), (7, 13), (13, 1), (7, 7)]]
    for pts in fixed:
        for pen, brush in ((PEN, BRUSH), (None, None), (PEN, PEN)):
            c.add("polygon", head(16, 16, pen, brush) +
                  ["polygon " + " ".join("%d %d" % p for p in pts), "dump"])
    # Far vertices: sideways and below as far as 2^27, above only moderately.
    for d in (1000, 1 << 16, (1 << 27) - 1):
        up = min(d, 50000)
        for pts in ([(-d, 3), (d, 5), (8, 14)], [(8, -up), (14, 15), (1, 12)],
                    [(-d, -up), (d, 0), (0, d)], [(3, 3), (d, 8), (3, 13)],
                    [(-d, 12), (-d + 5, 2), (12, 7)], [(0, d), (15, d), (8, 6)]):
            c.add("polygon", head(16, 16) + ["polygon " + " ".join("%d %d" % p for p in pts), "dump"])
    for _ in range(200):
        w, h = rnd.randint(4, 40), rnd.randint(4, 40)
        span = rnd.choice([3, 10, 60, 2000])
        n = rnd.randint(3, 10)
        pts = [(rnd.randint(-span, w + span), rnd.randint(-min(span, 2000), h + span))
               for _ in range(n)]
        if rnd.random() < 0.2:  # repeated and collinear vertices
            pts.insert(rnd.randrange(len(pts)), pts[0])
        cmds = head(w, h, rnd.randrange(1 << 24), rnd.randrange(1 << 24))
        c.add("polygon", cmds + ["polygon " + " ".join("%d %d" % p for p in pts), show(w, h)])


def ellipse_cases(c, rnd):
    # Every box up to 64x64, one margin pixel around it.
    for w in range(0, 65):
        for h in range(0, 65):
            if (w == 0 or h == 0) and (w + h) % 7:
                continue
            c.add("ellipse", head(w + 2, h + 2) + ["ellipse 1 1 %d %d" % (w + 1, h + 1), "dump"])
    # Inverted boxes paint what the swapped box paints.
    for _ in range(60):
        w, h = rnd.randint(1, 30), rnd.randint(1, 30)
        l, t, r, b = 1, 1, w + 1, h + 1
        if rnd.random() < 0.7:
            l, r = r, l
        if rnd.random() < 0.7:
            t, b = b, t
        c.add("ellipse", head(w + 2, h + 2) + ["ellipse %d %d %d %d" % (l, t, r, b), "dump"])
    # Partly off every edge, and wholly off.
    for _ in range(120):
        w, h = rnd.randint(3, 70), rnd.randint(3, 70)
        x, y = rnd.randint(-w, 24), rnd.randint(-h, 24)
        c.add("ellipse", head(24, 24) + ["ellipse %d %d %d %d" % (x, y, x + w, y + h), "dump"])
    for box in [(30, 2, 40, 12), (-20, -20, -1, -1), (5, 24, 15, 40), (-100000, 5, -99990, 20)]:
        c.add("ellipse", head(24, 24) + ["ellipse %d %d %d %d" % box, "dump"])
    # Large boxes (up to 2^18 a side) with their outline crossing the surface.
    for _ in range(24):
        w, h = rnd.randint(100, (1 << 18) - 1), rnd.randint(100, (1 << 18) - 1)
        sx, sy = rnd.randint(0, w), rnd.choice([0, rnd.randint(0, h // 2), h // 2])
        c.add("ellipse", head(48, 48) + ["ellipse %d %d %d %d" % (-sx, -sy, w - sx, h - sy), "dump"])
    # Default pen and brush: a black outline around white.
    c.add("ellipse", ["surface 12 10", "ellipse 1 1 11 9", "dump"])


def fillrect_cases(c, rnd):
    big, small = (1 << 31) - 1, -(1 << 31)
    boxes = [(2, 2, 8, 6), (8, 2, 2, 6), (2, 6, 8, 2), (8, 6, 2, 2), (3, 3, 3, 9), (3, 3, 9, 3),
             (small, small, big, big), (big, big, small, small), (-5, -5, 3, 3), (10, 10, 30, 30),
             (big, 2, small, 6), (2, big, 6, small), (5, 2, -3, 6), (20, 2, 11, 6),
             (small, 2, 4, 6), (4, 2, small, 6), (big, 2, 4, 6), (4, 2, big, 6), (0, 0, -1, -1),
             (13, 9, 12, 8), (-1, -1, -2, -2)]
    for box in boxes:
        c.add("fillrect", head(12, 8) + ["fillrect %d %d %d %d 0x0000ff" % box, "dump"])
    for _ in range(60):
        vals = [rnd.choice([rnd.randint(-5, 20), rnd.randint(-(1 << 31), (1 << 31) - 1)])
                for _ in range(4)]
        c.add("fillrect", head(12, 8) + ["fillrect %d %d %d %d 0x%06x" %
                                        (*vals, rnd.randrange(1 << 24)), "dump"])


def script_cases(c, rnd):
    # The script language itself: numbers, comments, errors, surfaces, state.
    c.add("script", ["get 0 0", "surface 4 3", "pixel 1 1 0xFFFFFF", "get 1 1", "get -1 0",
                     "get 0x7FFFFFFF 0x80000000", "pixel 2 1 +0x00ff00 # comment", "",
                     "\tpixel 3 2 255\t", "dump", "hash"])
    c.add("script", ["surface 5 5", "pixel 1.5 1 0", "pixel 1e3 1 0", "pixel 0x 1 0",
                     "pixel - 1 0", "pixel 2147483648 1 0", "pixel 0x100000000 1 0",
                     "pixel -0x80000001 1 0", "pixel 0 0 0x1000000", "pixel 0 0 -1",
                     "PIXEL 0 0 1", "pixel 0 0", "move 1", "ellipse 1 2 3", "polygon 1 2 3",
                     "frob", "pixel -0x80000000 0 1", "pixel 0xFFFFFFFF 1 0", "get -0x1 0",
                     "pixel 4 4 0X00AbCd", "dump"])
    c.add("script", ["surface 0 5", "surface 16385 1", "surface 4097 4097", "surface 16384 1",
                     "hash", "surface 3 2", "surface -1 2", "hash", "dump", "pen 0x1000000",
                     "brush", "dump\r", "# only a comment", "hash"])
    c.add("script", ["surface 16 12", "pen 0xff", "brush 0xff00", "move 2 2", "surface 16 12",
                     "lineto 6 9", "ellipse 3 3 12 10", "pen 0xff0000", "polygon 1 1 15 1 8 11",
                     "brush 0x123456", "polygon 3 2 12 2 8 9", "dump"])
    for _ in range(20):
        cmds = ["surface %d %d" % (rnd.randint(1, 20), rnd.randint(1, 20))]
        for _ in range(rnd.randint(1, 12)):
            cmds.append(rnd.choice(["pixel %d %d %d" % (rnd.randint(-3, 22), rnd.randint(-3, 22),
                                                        rnd.randrange(1 << 24)),
                                    "get %d %d" % (rnd.randint(-3, 22), rnd.randint(-3, 22)),
                                    "pen %d" % rnd.randrange(1 << 24), "hash",
                                    "brush 0x%x" % rnd.randrange(1 << 24)]))
        c.add("script", cmds + ["dump"])


def mix_cases(c, rnd):
    # Everything together on one surface; at most one ellipse per box height.
    for _ in range(150):
        w, h = rnd.randint(8, 64), rnd.randint(8, 64)
        cmds = head(w, h, rnd.randrange(1 << 24), rnd.randrange(1 << 24))
        heights = set()
        for _ in range(rnd.randint(2, 10)):
            kind = rnd.choice(["line", "line", "polygon", "polyline", "ellipse", "fillrect",
                               "pixel", "pen", "brush"])
            x, y = (lambda: rnd.randint(-8, w + 8)), (lambda: rnd.randint(-8, h + 8))
            if kind == "line":
                cmds += ["move %d %d" % (x(), y()), "lineto %d %d" % (x(), y())]
            elif kind in ("polygon", "polyline"):
                cmds.append(kind + "".join(" %d %d" % (x(), y()) for _ in range(rnd.randint(2, 7))))
            elif kind == "ellipse":
                l, t = x(), y()
                r, b = l + rnd.randint(-20, 40), t + rnd.randint(-20, 40)
                # Only boxes whose every row is painted: empty rows show the
                # reference's left-over spans from earlier ellipses.
                if abs(b - t) in heights or abs(b - t) > abs(r - l):
                    continue
                heights.add(abs(b - t))
                cmds.append("ellipse %d %d %d %d" % (l, t, r, b))
            elif kind == "fillrect":
                cmds.append("fillrect %d %d %d %d %d" % (x(), y(), x(), y(), rnd.randrange(1 << 24)))
            elif kind == "pixel":
                cmds.append("pixel %d %d %d" % (x(), y(), rnd.randrange(1 << 24)))
            else:
                cmds.append("%s %d" % (kind, rnd.randrange(1 << 24)))
        c.add("mix", cmds + [show(w, h)])


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for f in os.listdir(args.out):
        if f.endswith(".gds"):
            os.remove(os.path.join(args.out, f))
    rnd = random.Random(args.seed)
    c = Corpus(args.out)
    for gen in (lines_cases, polyline_cases, polygon_cases, ellipse_cases, fillrect_cases,
                script_cases, mix_cases):
        gen(c, rnd)
    print(" ".join("%s=%d" % kv for kv in sorted(c.count.items())))


if __name__ == "__main__":
    main()
