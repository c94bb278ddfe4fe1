#!/usr/bin/env python3
"""Makes the Windows icon, dist/tessaline.ico, from the picture the Linux icon is:

    tessaline-render --size 256x256 --seed 1 --frames 40000 --dt 0.004 --out icon.ppm
    python3 dist/make_ico.py icon.ppm dist/tessaline.ico

The icon is kept in the tree because the Windows builds cannot run the native
renderer. It holds 256x256 as PNG (the form Windows takes at that size) and
32x32 and 16x16 bitmaps, averaged from it, for the lists that show small icons."""
import struct
import sys
import zlib


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:  # P6, width, height, maximum; one blank after the last
        while data[at : at + 1].isspace():
            at += 1
        end = at
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1 : at + 1 + 3 * width * height]
    return width, height, [pixels[i : i + 3] for i in range(0, len(pixels), 3)]


def shrink(size, pixels, to):
    step = size // to
    out = []
    for y in range(to):
        for x in range(to):
            box = [pixels[(y * step + j) * size + x * step + i] for j in range(step) for i in range(step)]
            out.append(bytes(sum(p[c] for p in box) // len(box) for c in range(3)))
    return out


def png(size, pixels):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    # RGBA, opaque: Windows reads PNG icons of 32 bits a pixel.
    rows = b"".join(b"\0" + b"".join(p + b"\xff" for p in pixels[y * size : (y + 1) * size]) for y in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def bitmap(size, pixels):
    # A DIB of twice the height (picture and mask), rows bottom up, BGRA; an
    # all-clear AND mask (rows padded to 4 bytes) keeps every pixel.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], 255)) for y in reversed(range(size))
                      for p in pixels[y * size : (y + 1) * size])
    return header + colour + bytes(((size + 31) // 32) * 4 * size)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_ico.py PICTURE.ppm OUT.ico")
    width, height, pixels = read_ppm(sys.argv[1])
    if width != 256 or height != 256:
        sys.exit(f"{sys.argv[1]}: {width}x{height}, not 256x256")
    images = [(256, png(256, pixels))] + [(s, bitmap(s, shrink(256, pixels, s))) for s in (32, 16)]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, body in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(sys.argv[2], "wb") as f:
        f.write(out + b"".join(body for _, body in images))


main()
