#!/usr/bin/env python3
"""xwd screenshots (ZPixmap, 24 or 32 bits a pixel), for scripts/pace.sh:

    xwd.py brightness SHOT...    mean brightness ((R + G + B) / 3) of the lit
                                 (non-black) pixels and their mean count over
                                 the shots, then each shot's with its count
    xwd.py png SHOT OUT N        the shot as a PNG, every N-th pixel of every
                                 N-th row (a picture shown at pixel size N, as
                                 its own pixels)
"""
import struct
import sys
import zlib


def read(path):
    """(width, height, rows of (r, g, b) tuples)."""
    data = open(path, "rb").read()
    h = struct.unpack(">25I", data[:100])
    header, fmt, width, height = h[0], h[2], h[4], h[5]
    order, bpp, line, colours = h[7], h[11], h[12], h[19]
    if fmt != 2 or bpp not in (24, 32):
        raise SystemExit(f"{path}: not a 24/32-bit ZPixmap")
    step = 4 if line >= width * 4 else 3
    start = header + colours * 12
    rows = []
    for y in range(height):
        row = data[start + y * line: start + y * line + width * step]
        if order == 0:  # LSBFirst: B, G, R
            rows.append([(row[x + 2], row[x + 1], row[x]) for x in range(0, width * step, step)])
        else:
            rows.append([(row[x + 1], row[x + 2], row[x + 3]) for x in range(0, width * step, step)])
    return width, height, rows


def brightness(paths):
    results = []
    for p in paths:
        _, _, rows = read(p)
        lit = [sum(px) / 3 for row in rows for px in row if any(px)]
        results.append((sum(lit) / len(lit) if lit else 0.0, len(lit)))
    mean = sum(b for b, _ in results) / len(results)
    lit = sum(n for _, n in results) / len(results)
    print(f"{mean:5.1f} {lit:8.0f}px  (" + ", ".join(f"{b:.1f}/{n}px" for b, n in results) + ")")


def png(path, out, n):
    width, height, rows = read(path)
    picked = [row[::n] for row in rows[::n]]
    w, h = len(picked[0]), len(picked)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in picked)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(out, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if len(sys.argv) >= 3 and sys.argv[1] == "brightness":
    brightness(sys.argv[2:])
elif len(sys.argv) == 5 and sys.argv[1] == "png":
    png(sys.argv[2], sys.argv[3], int(sys.argv[4]))
else:
    sys.exit(__doc__)
