#!/usr/bin/env python3
"""Prints the side-by-side table from the results scripts/bench.sh wrote:
figure, ours, wine's, and how many times faster ours is (wine / ours; for
frames per second, ours / wine). Times are medians over the repetitions. Then,
per letter, frames, screen updates and X server load over the seconds frames
were counted; the same under sway and in headless Chromium at letters a and e
(with the page's renderer load); and whether the program's goals were met."""
import json
import re
import sys
from pathlib import Path

LETTERS = {"a": "320x240", "b": "640x480", "c": "800x600", "d": "1024x768", "e": "1280x1024"}


def medians(path):
    data = json.loads(Path(path).read_text())
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    out = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            out[b["run_name"]] = b["real_time"] * scale[b.get("time_unit", "ns")]
    return out


def human(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} us"
    return f"{ns:.1f} ns"


def run(out, name, ticks):
    """frames/s, presents/s and the X server's share of a core (%) of one run."""
    text = (out / f"fps-{name}.txt").read_text()
    m = re.search(r"fps ([\d.]+) from ([\d.]+) to ([\d.]+)", text)
    if not m:
        return None
    fps, t0, t1 = float(m.group(1)), float(m.group(2)), float(m.group(3))
    times = [float(x) for x in (out / f"presents-{name}.txt").read_text().split()[1:]]
    presents = sum(1 for t in times if t0 <= t <= t1) / (t1 - t0)
    samples = [tuple(map(float, line.split()))
               for line in (out / f"xcpu-{name}.txt").read_text().splitlines()
               if len(line.split()) == 2]

    def at(t):  # CPU ticks at time t, between the samples around it
        for (ta, ca), (tb, cb) in zip(samples, samples[1:]):
            if ta <= t <= tb:
                return ca + (cb - ca) * (t - ta) / (tb - ta) if tb > ta else ca
        return None
    c0, c1 = at(t0), at(t1)
    cpu = 100 * (c1 - c0) / ticks / (t1 - t0) if c0 is not None and c1 is not None else None
    return fps, presents, cpu


def main():
    out = Path(sys.argv[1])
    ours, wine = medians(out / "ours.json"), medians(out / "wine.json")
    rows = [("figure", "ours", "wine", "wine/ours")]
    for name in ours:
        figure = name.removeprefix("BM_").replace("/", " ", 1).replace("/", "x")
        w = wine.get(name)
        rows.append((figure, human(ours[name]), human(w) if w else "-",
                     f"{w / ours[name]:.1f}x" if w else "-"))
    print("times per call: medians of wall-clock time over the repetitions; "
          "ratio above 1: ours is faster")
    table(rows)

    ticks = float(sys.argv[2]) if len(sys.argv) > 2 else 100.0
    runs = {(who, letter): run(out, f"{who}-{letter}", ticks)
            for who in ("ours", "wine") for letter in LETTERS}
    rows = [("program at", "fps ours", "fps wine", "ours/wine", "presents/s ours",
             "presents/s wine", "X server % ours", "X server % wine")]

    for letter, size in LETTERS.items():
        o, w = runs[("ours", letter)], runs[("wine", letter)]
        rows.append((f"{letter} {size}", cell(o and o[0], "{:.0f}"), cell(w and w[0], "{:.0f}"),
                     cell(o and w and o[0] / w[0], "{:.1f}x"), cell(o and o[1], "{:.1f}"),
                     cell(w and w[1], "{:.1f}"), cell(o and o[2], "{:.2f}"),
                     cell(w and w[2], "{:.2f}")))
    print()
    print("the program, over the seconds its frames were counted: presents are screen "
          "updates as a compositor sees them; X server load in % of one core")
    table(rows)

    wayland = {}
    for letter in ("a", "e"):
        fps_file, commits = out / f"fps-wayland-{letter}.txt", out / f"commits-wayland-{letter}.txt"
        if fps_file.exists() and commits.exists():
            m = re.search(r"frames \d+ seconds ([\d.]+) fps ([\d.]+)", fps_file.read_text())
            if m:
                wayland[letter] = (float(m.group(2)), int(commits.read_text()) / float(m.group(1)))
    if wayland:
        beside_x11(runs, "Wayland", wayland,
                   "ours under sway (headless, software GL) beside ours on Xvfb: presents on "
                   "Wayland are the window's surface commits")

    web = {}
    for letter in ("a", "e"):
        fps_file = out / f"fps-web-{letter}.txt"
        m = fps_file.exists() and re.search(r"seconds ([\d.]+) fps ([\d.]+) .* presents (\d+)",
                                            fps_file.read_text())
        if m:
            web[letter] = (float(m.group(2)), int(m.group(3)) / float(m.group(1)))
    if web:
        beside_x11(runs, "browser", web,
                   "ours in headless Chromium (WebAssembly, ?delay=0) beside ours on Xvfb: "
                   "presents are the page's canvas updates")
    cpu_file = out / "cpu-web.txt"
    if cpu_file.exists():
        # name cpu C presents P lit L brightness B, one run a line
        rows = {f[0]: dict(zip(f[1::2], f[2::2])) for f in
                (line.split() for line in cpu_file.read_text().splitlines())}
        print()
        print("the page in headless Chromium, 1280x1024 (CPU: all of its processes; the picture after the run)")
        print(f"{'page':<22}{'cpu %':>8}{'presents/s':>12}{'lit':>8}{'brightness':>12}")
        names = {"default": "tessaline.html", "feathered": "?feathered=1", "delay0": "?delay=0",
                 "empty": "empty, frames only"}
        for name, label in names.items():
            r = rows.get(name)
            if r:
                print(f"{label:<22}{r['cpu']:>8}{r['presents']:>12}{r['lit']:>8}{r['brightness']:>12}")
        if "default" in rows and "empty" in rows:
            over = float(rows["default"]["cpu"]) - float(rows["empty"]["cpu"])
            print(f"  the default within 5 points of the empty page: {over:+.1f}, "
                  f"{'met' if over <= 5 else 'MISSED'}")

    ours = [runs[("ours", letter)] for letter in LETTERS]
    if all(ours):
        a, c, e = runs[("ours", "a")], runs[("ours", "c")], runs[("ours", "e")]
        wc = runs[("wine", "c")]
        print()
        print("goals (display refresh 60 Hz):")
        worst_cpu = max(r[2] for r in ours if r[2] is not None)
        worst_presents = max(r[1] for r in ours)
        print(f"  X server <= 3 % of a core at every letter: {worst_cpu:.2f} % at most, "
              f"{'met' if worst_cpu <= 3 else 'MISSED'}")
        print(f"  presents/s <= 61: {worst_presents:.1f} at most, "
              f"{'met' if worst_presents <= 61 else 'MISSED'}")
        print(f"  fps e within 1.15x of a: {a[0] / e[0]:.2f}x, "
              f"{'met' if a[0] / e[0] <= 1.15 else 'MISSED'}")
        if wc:
            print(f"  fps c >= 10x wine's: {c[0] / wc[0]:.1f}x, "
                  f"{'met' if c[0] / wc[0] >= 10 else 'MISSED'}")


def cell(v, fmt):
    return fmt.format(v) if v is not None else "-"


def beside_x11(runs, host, results, title):
    """Frames and presents per second at some letters on another host, beside X11's."""
    rows = [("program at", f"fps {host}", "fps X11", f"presents/s {host}", "presents/s X11")]
    for letter, (fps, presents) in results.items():
        x = runs[("ours", letter)]
        rows.append((f"{letter} {LETTERS[letter]}", f"{fps:.0f}", cell(x and x[0], "{:.0f}"),
                     f"{presents:.1f}", cell(x and x[1], "{:.1f}")))
    print()
    print(title)
    table(rows)


def table(rows):
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for r in rows:
        print("  ".join([f"{r[0]:<{widths[0]}}"] +
                        [f"{v:>{widths[i + 1]}}" for i, v in enumerate(r[1:])]))


if __name__ == "__main__":
    main()
