#!/usr/bin/env python3
"""Mean brightness ((R + G + B) / 3) of the lit (non-black) pixels of xwd
screenshots (ZPixmap, 24 or 32 bits a pixel): the mean over the shots, then
each shot's, and each one's count of lit pixels."""
import struct
import sys


def lit_brightness(path):
    data = open(path, "rb").read()
    h = struct.unpack(">25I", data[:100])
    header, fmt, width, height = h[0], h[2], h[4], h[5]
    order, bpp, line, colours = h[7], h[11], h[12], h[19]
    if fmt != 2 or bpp not in (24, 32):
        raise SystemExit(f"{path}: not a 24/32-bit ZPixmap")
    step = 4 if line >= width * 4 else 3
    start = header + colours * 12
    total = lit = 0
    for y in range(height):
        row = data[start + y * line : start + y * line + width * step]
        for x in range(0, width * step, step):
            b, g, r = (row[x], row[x + 1], row[x + 2]) if order == 0 else (row[x + 3], row[x + 2], row[x + 1])
            if r or g or b:
                lit += 1
                total += r + g + b
    return (total / 3 / lit if lit else 0.0), lit


results = [lit_brightness(p) for p in sys.argv[1:]]
mean = sum(b for b, _ in results) / len(results)
print(f"{mean:5.1f}  (" + ", ".join(f"{b:.1f}/{n}px" for b, n in results) + ")")
