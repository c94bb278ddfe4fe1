#!/usr/bin/env bash
# gdiscript's script language on our device context: numbers, comments, errors,
# surfaces and the exact output lines. (Drawing itself is compared with a real
# GDI by the conformance suite; the parser is shared by both builds, so it is
# checked here against the format directly.)
set -u
gdiscript=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

printf '%s\n' \
    'get 0 0' \
    'surface 3 2' \
    'pixel 0 0 0xFF' \
    'pixel 2 1 +255 # a comment' \
    'pixel 1.5 0 1' \
    'pixel 2147483648 0 1' \
    'pixel 0x100000000 0 1' \
    'pixel -0x80000001 0 1' \
    'pixel 0 0 0x1000000' \
    'pixel 0xFFFFFFFF 0 7' \
    'get 0xFFFFFFFF 0' \
    '' \
    '   # only a comment' \
    "	get	0  0	" \
    'Get 0 0' \
    'pixel 1 0 0X0000ab' \
    'pixel 1 1 -0x0' \
    'get -0x80000000 +0x7FFFFFFF' \
    'dump' > numbers.gds
printf 'dump\r\n' >> numbers.gds
"$gdiscript" numbers.gds > numbers.out
check "exits 0" '[ $? -eq 0 ]'
cat > numbers.want <<'OUT'
error 1
error 5
error 6
error 7
error 8
error 9
get -1 0 0xffffffff
get 0 0 0x000000ff
error 15
get -2147483648 2147483647 0xffffffff
dump 3 2
0000ff0000ab000000
0000000000000000ff
dump 3 2
0000ff0000ab000000
0000000000000000ff
OUT
check "numbers, comments, errors and dumps as the format says" 'cmp -s numbers.out numbers.want'
"$gdiscript" < numbers.gds > stdin.out
check "reads standard input without a file argument" 'cmp -s stdin.out numbers.want'

printf '%s\n' 'surface 2 1' 'pixel 0 0 0x010203' 'hash' 'surface 0 4' 'surface 16385 1' \
    'surface 4097 4097' 'hash' 'surface 4 4' 'pen' 'brush 1 2' 'move 1' 'polygon 1 2 3' \
    'polygon' 'polyline 1 1' 'frob' 'hash' > surfaces.gds
"$gdiscript" surfaces.gds > surfaces.out
# FNV-1a over the pixels as little-endian 32-bit COLORREFs, worked out independently.
fnv() { python3 -c '
import sys
h = 0xcbf29ce484222325
for byte in bytes.fromhex(sys.argv[1]):
    h = ((h ^ byte) * 0x100000001b3) % (1 << 64)
print("%016x" % h)' "$1"; }
want_hash=$(fnv 0302010000000000)
black_hash=$(fnv "$(printf '00%.0s' $(seq 64))")
cat > surfaces.want <<OUT
hash 2 1 $want_hash 1
error 4
error 5
error 6
hash 2 1 $want_hash 1
error 9
error 10
error 11
error 12
error 15
hash 4 4 $black_hash 0
OUT
check "surface limits keep the previous surface; wrong arity is an error" 'cmp -s surfaces.out surfaces.want'
# A script that cannot be read is an error of the run, named on stderr, exit 1:
# a directory (which opens like a file here and fails on reading), a missing file
# and, where permissions bind (not as root), one without read permission.
mkdir -p adir
printf 'surface 1 1\n' > locked.gds && chmod 000 locked.gds
unreadable="adir missing.gds"
cat locked.gds >/dev/null 2>&1 || unreadable="$unreadable locked.gds"
for script in $unreadable; do
    "$gdiscript" "$script" > unread.out 2> unread.err
    rc=$?
    check "$script: exit 1 with a message naming it, nothing on stdout" \
        '[ $rc -eq 1 ] && grep -q "gdiscript: cannot .* $script" unread.err && [ ! -s unread.out ]'
done
"$gdiscript" < adir > unread.out 2> unread.err
rc=$?
check "a directory as standard input: exit 1 with a message" \
    '[ $rc -eq 1 ] && grep -q "cannot read standard input" unread.err'
check "output has no carriage returns" '! grep -q $(printf "\r") numbers.out surfaces.out'
exit $fail
