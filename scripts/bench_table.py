#!/usr/bin/env python3
"""Prints the side-by-side table from the results scripts/bench.sh wrote:
figure, ours, wine's, and how many times faster ours is (wine / ours; for
frames per second, ours / wine). Times are medians over the repetitions."""
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


def fps(path):
    m = re.search(r"frames (\d+) seconds ([\d.]+) fps ([\d.]+)", Path(path).read_text())
    return float(m.group(3)) if m else None


def main():
    out = Path(sys.argv[1])
    ours, wine = medians(out / "ours.json"), medians(out / "wine.json")
    rows = [("figure", "ours", "wine", "wine/ours")]
    for name in ours:
        figure = name.removeprefix("BM_").replace("/", " ", 1).replace("/", "x")
        w = wine.get(name)
        rows.append((figure, human(ours[name]), human(w) if w else "-",
                     f"{w / ours[name]:.1f}x" if w else "-"))
    rows.append(("", "", "", ""))
    rows.append(("frames per second", "ours", "wine", "ours/wine"))
    for letter, size in LETTERS.items():
        o, w = fps(out / f"fps-ours-{letter}.txt"), fps(out / f"fps-wine-{letter}.txt")
        rows.append((f"fps {letter} {size}", f"{o:.0f}" if o else "-", f"{w:.0f}" if w else "-",
                     f"{o / w:.1f}x" if o and w else "-"))
    print("times per call: medians of wall-clock time over the repetitions; "
          "ratio above 1: ours is faster")
    widths = [max(len(r[i]) for r in rows) for i in range(4)]
    for r in rows:
        print(f"{r[0]:<{widths[0]}}  {r[1]:>{widths[1]}}  {r[2]:>{widths[2]}}  {r[3]:>{widths[3]}}")


if __name__ == "__main__":
    main()
