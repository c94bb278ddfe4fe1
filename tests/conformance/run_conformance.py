#!/usr/bin/env python3
"""Runs every script of a corpus through two gdiscript builds (ours, and the
Windows one on a real GDI under wine) and compares their outputs byte for
byte, script by script. Prints per primitive how many scripts matched; exits 1
on any mismatch and leaves the mismatching scripts and outputs in --work.

Scripts run many to a process (a process start under wine costs up to
seconds). The reference GDI fills the rows that an ellipse leaves empty with
whatever spans its memory held before, so what it draws there depends on
what ran earlier in the process (and even on a fresh process's own start-up).
Its region code lives in wine's Unix half and takes its memory from the C
library's malloc: there the reference runs with every fresh allocation filled
with 0x7f bytes (malloc's perturb setting; its per-thread cache off, which
would hand blocks back untouched), so a left-over span is 0x7f7f7f7f to
0x7f7f7f7f, empty and far off the surface, whichever script ran before. Each
ellipse is still preceded by a circle of the same height far to the right of
the surface, whose spans are what a left-over would land on without that."""

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


# Fresh memory in wine's Unix half: filled with 0x7f bytes, the cache that would
# skip the filling off.
REFERENCE_MALLOC = "glibc.malloc.tcache_count=0:glibc.malloc.perturb=128"


def run(cmd, script, timeout, env=None):
    try:
        p = subprocess.run(cmd + [script], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           timeout=timeout, env=dict(os.environ, **(env or {})))
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
    ap.add_argument("--batch", type=int, default=400)
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
    batches = [names[i:i + args.batch] for i in range(0, len(names), args.batch)]

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
    wine_env = {"WINEDEBUG": "-all", "GLIBC_TUNABLES": REFERENCE_MALLOC}
    run(args.wine.split() + [args.win], empty, args.timeout, wine_env)

    rerun = []  # batches whose reference printed nothing at all: wine did not start

    def job(i):
        ours = run([args.native], files[i], args.timeout)
        ref = run(args.wine.split() + [args.win], files[i], args.timeout, wine_env)
        if not ref:
            rerun.append(i)
            ref = run(args.wine.split() + [args.win], files[i], args.timeout, wine_env)
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
    if rerun:
        print("run again after printing nothing: reference batch %s" % ", ".join(map(str, rerun)))
    for prim in sorted(total):
        print("%-9s %d of %d scripts matched" % (prim + ":", matched.get(prim, 0), total[prim]))
    if failed:
        print("mismatches (see %s): %s" % (args.work, " ".join(sorted(failed)[:40])))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
