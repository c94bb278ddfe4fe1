#!/usr/bin/env bash
# The toolkit demo's scene on our device context against the same source built
# for Windows and drawn by the real GDI under wine64: the pixel hashes must be
# equal. Exits 77 (skipped) when no Windows build or no wine64 is at hand.
set -u
ours_exe=$1
win_exe=${2:-}
work=$3
wine=${WINE64:-/usr/lib/wine/wine64}
if [ -z "$win_exe" ]; then
    echo "skipped: no Windows demo given (configure with -DTESS_DEMO_WIN=path/tessaline-demo.exe)"
    exit 77
fi
[ -f "$win_exe" ] || { echo "FAIL: $win_exe does not exist"; exit 1; }
command -v "$wine" > /dev/null || { echo "skipped: no $wine"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

ours=$("$ours_exe" --out ours.ppm | grep '^pixels ')
theirs=$(WINEDEBUG=-all timeout 100 "$wine" "$win_exe" --out theirs.ppm | tr -d '\r' | grep '^pixels ')
echo "ours:   $ours"
echo "wine64: $theirs"
if [ -n "$ours" ] && [ "$ours" = "$theirs" ]; then
    echo "demo_compare: identical"
    exit 0
fi
# Name the first differing pixels (15 header bytes, then 3 bytes per pixel, row-major).
if [ -f ours.ppm ] && [ -f theirs.ppm ]; then
    cmp -l ours.ppm theirs.ppm | awk '{ p = int(($1 - 16) / 3); print "differs at", p % 240, int(p / 240) }' |
        uniq | head -20
fi
echo "FAIL: the scenes differ"
exit 1
