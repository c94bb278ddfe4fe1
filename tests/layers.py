#!/usr/bin/env python3
"""The include graph of the sources: every include goes to a layer the file's
own layer may use, and no chain of includes comes back to where it started.
And the pages' links: every relative link or image in README.md and docs/*.md
names a file or folder in the tree (the part before any #anchor), so a page
that moves or goes cannot leave a link behind.

    layers.py ROOT

Prints how many includes and links were checked; exits 1 naming each include
that goes the wrong way, each circle and each broken link."""
import re
import sys
from pathlib import Path
from urllib.parse import unquote

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


# A link's target: what follows "](" in [text](target) and ![alt](target),
# without an optional "title"; and a reference definition's, [name]: target.
LINK = re.compile(r'\]\(\s*<?([^)\s>]+)>?(?:\s+"[^"]*")?\s*\)')
REFERENCE = re.compile(r"^ {0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s|$)", re.M)
# Code, where brackets and parentheses are no links: fenced blocks, then spans.
FENCE = re.compile(r"^ {0,3}(```|~~~).*?^ {0,3}\1[^\n]*$", re.M | re.S)
SPAN = re.compile(r"(`+)(?:(?!\1).)+?\1", re.S)


def links(root):
    """Every relative link of the pages, as (page, target, file the target names)."""
    pages = [root / "README.md"] + sorted((root / "docs").glob("*.md"))
    found = []
    for page in pages:
        if not page.is_file():
            continue
        text = SPAN.sub("", FENCE.sub("", page.read_text(errors="replace")))
        for target in LINK.findall(text) + REFERENCE.findall(text):
            if re.match(r"[a-zA-Z][a-zA-Z0-9+.-]*:", target) or target.startswith("#"):
                continue  # another site, mail, or an anchor on the same page
            file = unquote(target.split("#", 1)[0].split("?", 1)[0])
            # A leading / is the tree's top, as the repository's web view reads it.
            base = root if file.startswith("/") else page.parent
            found.append((page.relative_to(root), target, base / file.lstrip("/")))
    return found


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
    found, broken = links(root), []
    for page, target, file in found:
        resolved = file.resolve()
        if not resolved.exists() or root.resolve() not in (resolved, *resolved.parents):
            broken.append(f"{page} links to {target}, which is not in the tree")
    for line in broken:
        print("links:", line)
    print(f"links: {len(found)} relative links in {len({p for p, _, _ in found})} pages checked, "
          f"{len(broken)} broken")
    return 1 if wrong or circles or broken else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
