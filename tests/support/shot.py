# shot.py BACKGROUND SHOT [halves] (binary PPMs of one size, as grim writes them): how many
# pixels of SHOT are neither black nor the BACKGROUND pixel at their place, and
# the rows of the first and last of them (half-open). With a third argument
# "halves" (or "quarters"), that count, then for each half (quarter) from the
# left: its count, and how many pixels differ from the BACKGROUND at all. Whole screens as integers, a pixel
# per 24 bits, so that the interpreter loops over nothing.
import sys
def screen(path):
    _, size, _, data = open(path, 'rb').read().split(b'\n', 3)
    return int(size.split()[0]), data
def lit(shot, background):  # (lit, differing) as integers with bit 24i per pixel i
    n = len(shot)
    bytes_ = int.from_bytes(b'\1' * n, 'little')
    pixels = int.from_bytes(b'\1\0\0' * (n // 3), 'little')
    def set_pixels(x):  # bit 24i set when pixel i has a byte that is not 0
        x |= x >> 4
        x |= x >> 2
        x |= x >> 1
        x &= bytes_
        return (x | x >> 8 | x >> 16) & pixels
    s = int.from_bytes(shot, 'little')
    differing = set_pixels(s ^ int.from_bytes(background, 'little'))
    return set_pixels(s) & differing, differing
width, shot = screen(sys.argv[2])
_, background = screen(sys.argv[1])
if len(sys.argv) > 3:
    print(lit(shot, background)[0].bit_count(), end=' ')
    row, parts = 3 * width, 4 if sys.argv[3] == 'quarters' else 2
    for start, end in ((row * i // parts, row * (i + 1) // parts) for i in range(parts)):
        part = lambda d: b''.join(d[y + start:y + end] for y in range(0, len(d), row))
        l, d = lit(part(shot), part(background))
        print(l.bit_count(), d.bit_count(), end=' ')
    print()
    sys.exit()
l, _ = lit(shot, background)
first = ((l & -l).bit_length() - 1) // 24
last = (l.bit_length() - 1) // 24
print(l.bit_count(), first // width if l else 0, last // width + 1 if l else 0)
