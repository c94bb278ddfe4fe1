#!/usr/bin/env bash
# tessaline-demo as a user runs it: the same scene every run, a PNG or PPM on
# request, usage errors exit 2, an unwritable file exits 1.
set -u
demo=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

"$demo" > one.txt
check "plain run succeeds" '[ $? -eq 0 ]'
"$demo" --out scene.ppm > two.txt
check "ppm run succeeds" '[ $? -eq 0 ]'
check "every run prints the same hash" 'cmp -s one.txt two.txt'
check "hash line has size, hash and count" 'grep -Eq "^pixels 240x180 fnv1a64 [0-9a-f]{16} nonzero [0-9]+$" one.txt'
check "the scene is not empty" '! grep -q "nonzero 0$" one.txt'
check "ppm header has the scene size" '[ "$(head -c 15 scene.ppm)" = "$(printf "P6\n240 180\n255\n")" ]'
check "ppm size is 240x180x3 plus header" '[ $(stat -c %s scene.ppm) -eq $((15 + 240*180*3)) ]'
if "$demo" --out scene.png > /dev/null 2>&1; then
    check "png output is a png" '[ "$(head -c 8 scene.png | od -An -tx1 | tr -d " \n")" = "89504e470d0a1a0a" ]'
fi
for bad in "--bogus" "--out" "extra"; do
    # shellcheck disable=SC2086
    "$demo" $bad 2> err.txt > /dev/null
    rc=$?
    check "bad arguments '$bad' exit 2 with usage" '[ $rc -eq 2 ] && grep -q usage err.txt'
done
"$demo" --out /nonexistent/dir/x.ppm > /dev/null 2> err.txt
rc=$?
check "unwritable picture exits 1 with a message" '[ $rc -eq 1 ] && grep -q "cannot write" err.txt'
[ $fail -eq 0 ] && echo "demo_cli: all passed"
exit $fail
