#!/usr/bin/env python3
"""Runs every script of a corpus through two gdiscript builds (ours, and the
Windows one on a real GDI under wine) and compares their outputs byte for
byte, script by script. Prints per primitive how many scripts matched; exits 1
on any mismatch and leaves the mismatching scripts and outputs in --work.

Scripts run many to a process (a process start under wine costs up to
seconds). The reference GDI fills the rows that an ellipse leaves empty with
whatever spans its memory held before: an earlier ellipse's, often of the same
height, and even in a fresh process. So a batch never holds two ellipses of the
same box height, a script with an ellipse that leaves rows of its box empty
runs in a process of its own, and each ellipse is preceded by a circle of the
same height far to the right of the surface, whose spans are then what any
left-over lands on: off the surface."""

import argparse
import concurrent.futures
import os
import re
import subprocess
import sys

MARK = -2000000000  # separator: "get -1 MARK+i" prints one recognisable line


def parse_int(tok):
    # The corpus writes plain decimals; hex is accepted for hand-written scripts.
    neg = tok.startswith("-")
    body = tok.lstrip("+-")
    v = int(body, 16) if body[:2].lower() == "0x" else int(body, 10)
    if body[:2].lower() == "0x" and not neg and v >= 1 << 31:
        v -= 1 << 32
    return -v if neg else v


def ellipse_boxes(lines):
    boxes = []
    for line in lines:
        t = line.split("#")[0].split()
        if len(t) == 5 and t[0] == "ellipse":
            try:
                l, t_, r, b = (parse_int(v) for v in t[1:])
                boxes.append((abs(r - l), abs(b - t_)))
            except ValueError:
                pass
    return boxes


def leaves_empty_rows(w, h):
    """Whether the traced quadrant of a w x h box stops before its top row.
    Only such ellipses show the reference's left-overs; only tall ones do."""
    if w <= 2 or h <= w or h > (1 << 18):
        return False
    a, b = w - 1, h - 1
    b1 = b & 1
    dx, dy = 4 * (1 - a) * b * b, 4 * (b1 + 1) * a * a
    err = dx + dy + b1 * a * a
    k = m = 0
    while True:
        plotted = m  # the row of the position plotted in this round
        e2 = 2 * err
        if e2 <= dy:
            m += 1
            dy += 8 * a * a
            err += dy
        if e2 >= dx:
            k += 1
            dx += 8 * b * b
            err += dx
        if 2 * k > a:
            return plotted < b // 2


def primitive(name):
    # "line-00012.gds" -> line; a script in a folder counts for the folder.
    parts = name.split(os.sep)
    if len(parts) > 1:
        return parts[0]
    m = re.match(r"[A-Za-z]+", parts[0])
    return m.group(0).lower() if m else "other"


def with_flush(lines):
    out = []
    for line in lines:
        t = line.split("#")[0].split()
        if len(t) == 5 and t[0] == "ellipse":
            try:
                top, bottom = parse_int(t[2]), parse_int(t[4])
                h = abs(bottom - top)
                if 0 < h < (1 << 20) and min(top, bottom) > -(1 << 30):
                    # A circle leaves no row empty, so its own rows are all its own.
                    x = 1 << 22
                    out.append("ellipse %d %d %d %d" % (x, min(top, bottom), x + max(h, 3),
                                                        min(top, bottom) + h))
            except ValueError:
                pass
        out.append(line)
    return out


def make_batches(scripts, size):
    batches = []  # [names, heights]
    for name, lines in scripts:
        boxes = ellipse_boxes(lines)
        hs = set(h for _, h in boxes)
        if any(leaves_empty_rows(w, h) for w, h in boxes):
            # Left-overs are not always the same height's: run these alone.
            batches.append([[name], {None}])
            continue
        for b in batches:
            if len(b[0]) < size and not (b[1] & hs):
                b[0].append(name)
                b[1] |= hs
                break
        else:
            batches.append([[name], set(hs)])
    return [b[0] for b in batches]


def run(cmd, script, timeout):
    try:
        p = subprocess.run(cmd + [script], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           timeout=timeout, env=dict(os.environ, WINEDEBUG="-all"))
        return p.stdout.decode("latin-1")
    except subprocess.TimeoutExpired as e:
        return (e.stdout or b"").decode("latin-1")


def split(output, n):
    parts, cur = {}, []
    for line in output.splitlines(keepends=True):
        m = re.match(r"get -1 (-\d+) 0x", line)
        if m and 0 <= int(m.group(1)) - MARK < n:
            parts[int(m.group(1)) - MARK] = "".join(cur)
            cur = []
        else:
            cur.append(line)
    return parts


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--native", required=True)
    ap.add_argument("--win", required=True)
    ap.add_argument("--wine", default="wine64")
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--batch", type=int, default=100)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=300)
    args = ap.parse_args()

    names = sorted(os.path.relpath(os.path.join(d, f), args.corpus)
                   for d, _, fs in os.walk(args.corpus) for f in fs if f.endswith(".gds"))
    scripts = []
    for n in names:
        with open(os.path.join(args.corpus, n), newline="") as f:
            scripts.append((n, f.read().split("\n")))
    text = dict(scripts)
    os.makedirs(args.work, exist_ok=True)
    batches = make_batches(scripts, args.batch)

    files = []
    for bi, batch in enumerate(batches):
        body = []
        for i, name in enumerate(batch):
            lines = text[name]
            if lines and lines[-1] == "":
                lines = lines[:-1]
            body += with_flush(lines) + ["surface 1 1", "get -1 %d" % (MARK + i)]
        path = os.path.join(args.work, "batch-%03d.gds" % bi)
        with open(path, "w", newline="\n") as f:
            f.write("\n".join(body) + "\n")
        files.append(path)

    # One run before the parallel ones: a first wine start may set up its
    # prefix, which takes seconds and should not happen twice at once.
    empty = os.path.join(args.work, "empty.gds")
    open(empty, "w").close()
    run(args.wine.split() + [args.win], empty, args.timeout)

    def job(i):
        ours = run([args.native], files[i], args.timeout)
        ref = run(args.wine.split() + [args.win], files[i], args.timeout)
        return i, split(ours, len(batches[i])), split(ref, len(batches[i]))

    total, matched, failed = {}, {}, []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for i, ours, ref in pool.map(job, range(len(files))):
            for j, name in enumerate(batches[i]):
                prim = primitive(name)
                total[prim] = total.get(prim, 0) + 1
                if j in ours and j in ref and ours[j] == ref[j]:
                    matched[prim] = matched.get(prim, 0) + 1
                else:
                    failed.append(name)
                    base = os.path.join(args.work, "mismatch-" + name[:-4].replace(os.sep, "_"))
                    for suffix, data in ((".gds", "\n".join(text[name])),
                                         (".ours", ours.get(j, "(no output)\n")),
                                         (".ref", ref.get(j, "(no output)\n"))):
                        with open(base + suffix, "w", newline="\n") as f:
                            f.write(data)

    print("%d scripts in %d processes" % (len(names), len(files)))
    for prim in sorted(total):
        print("%-9s %d of %d scripts matched" % (prim + ":", matched.get(prim, 0), total[prim]))
    if failed:
        print("mismatches (see %s): %s" % (args.work, " ".join(sorted(failed)[:40])))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
