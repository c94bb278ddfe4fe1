#!/usr/bin/env python3
"""The include graph of the sources: every include goes to a layer the file's
own layer may use, and no chain of includes comes back to where it started.

    layers.py ROOT

Prints how many includes were checked; exits 1 naming each include that goes
the wrong way and each circle."""
import re
import sys
from pathlib import Path

# Each layer and the layers under it that it may include (its own always).
# Programs (app, tools) and the animation, vector and drawing code see the
# platform through its seam (win32.h, and host.h for what Win32 does not name);
# the host sees the drivers only through their contract (driver.h); a driver
# sees neither the host nor the device context.
SEAM = {"platform"}
USES = {
    "platform": set(),
    "platform/posix": SEAM,
    "platform/gdi": SEAM,
    "platform/host": SEAM | {"platform/gdi"},
    "platform/layer": SEAM | {"platform/posix"},
    "platform/sdl": SEAM | {"platform/posix", "platform/layer"},
    "platform/web": SEAM,
    "platform/headless": SEAM | {"platform/posix"},
    "math": set(),
    "anim": {"math", "app"} | SEAM,  # goProgram reads the program's resolution
    "draw": {"math"} | SEAM,
    "app": {"anim", "math"} | SEAM,
    "tools": {"anim", "app", "draw", "math", "platform/gdi"} | SEAM,
}
SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer(path):
    parts = path.parts
    two = "/".join(parts[:2])
    return two if two in USES else parts[0] if parts[0] in USES else None


def main(root):
    root = Path(root)
    graph, wrong, checked = {}, [], 0
    for file in sorted(root.rglob("*")):
        rel = file.relative_to(root)
        if not SOURCE.search(file.name) or rel.parts[0] in ("tests", "bench", "fuzz", "build"):
            continue
        own = layer(rel)
        if own is None or rel.parts[0].startswith("build"):
            continue
        graph[rel] = []
        for name in INCLUDE.findall(file.read_text(errors="replace")):
            target = Path(name) if (root / name).exists() else rel.parent / name
            if not (root / target).exists():
                continue
            checked += 1
            graph[rel].append(target)
            to = layer(target)
            if to != own and to not in USES[own]:
                wrong.append(f"{rel} ({own}) includes {target} ({to})")
    # Circles: a depth-first walk that meets a file still on its path.
    state, circles = {}, []

    def walk(node, path):
        state[node] = 1
        for nxt in graph.get(node, []):
            if state.get(nxt) == 1:
                circles.append(" -> ".join(map(str, path[path.index(nxt):] + [nxt])))
            elif nxt not in state:
                walk(nxt, path + [nxt])
        state[node] = 2

    for node in graph:
        if node not in state:
            walk(node, [node])
    for line in wrong + ["circle: " + c for c in circles]:
        print("layers:", line)
    print(f"layers: {checked} includes in {len(graph)} files checked, {len(wrong)} the wrong way, "
          f"{len(circles)} circles")
    return 1 if wrong or circles else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
