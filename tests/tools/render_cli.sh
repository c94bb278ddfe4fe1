#!/usr/bin/env bash
# tessaline-render as a user runs it: same arguments, same bytes; state file shape;
# usage errors exit 2 and name the accepted range; unwritable outputs exit 1;
# progress on stderr only at a terminal, leaving the outputs as they were.
set -u
render=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

"$render" --res a --seed 5 --frames 3000 --dt 0.004 --out one.ppm --state one.txt
check "first run succeeds" '[ $? -eq 0 ]'
"$render" --res a --seed 5 --frames 3000 --dt 0.004 --out two.ppm --state two.txt
check "same arguments give the same picture" 'cmp -s one.ppm two.ppm'
check "same arguments give the same state" 'cmp -s one.txt two.txt'
check "ppm header has the letter's size" '[ "$(head -c 15 one.ppm)" = "$(printf "P6\n320 240\n255\n")" ]'
check "ppm size is 320x240x3 plus header" '[ $(stat -c %s one.ppm) -eq $((15 + 320*240*3)) ]'
check "state has 100 points and 4 more lines" '[ $(wc -l < one.txt) -eq 104 ]'
check "state ends with the colour" 'tail -1 one.txt | grep -Eq "^colour 0x[0-9a-f]{6}$"'
check "state names nrm trn tot" 'sed -n "101p;102p;103p" one.txt | cut -d" " -f1 | tr "\n" " " | grep -q "^nrm trn tot $"'
check "picture is not all black" '[ -n "$(tail -c +16 one.ppm | tr -d "\000" | head -c 1)" ]'
"$render" --res a --seed 6 --frames 3000 --dt 0.004 --out three.ppm
check "another seed gives another picture" '! cmp -s one.ppm three.ppm'

"$render" --size 7x5 --frames 300 --out sized.ppm
check "--size sets the picture's size" '[ "$(head -c 11 sized.ppm)" = "$(printf "P6\n7 5\n255\n")" ]'

for bad in "--frames" "--frames -3" "--frames x" "--dt nan" "--dt -1" "--seed 99999999999" "--bogus 1" "--out"; do
    # shellcheck disable=SC2086
    "$render" $bad --out bad.ppm 2>err.txt
    rc=$?
    check "bad arguments '$bad' exit 2 with usage" '[ $rc -eq 2 ] && grep -q usage err.txt'
done
# Out of range: the message names the range.
while IFS='|' read -r bad range; do
    # shellcheck disable=SC2086
    "$render" $bad --out bad.ppm 2>err.txt
    rc=$?
    check "'$bad' exits 2 naming $range" '[ $rc -eq 2 ] && head -1 err.txt | grep -qF -- "$range"'
done <<'BAD'
--dt 1e308|0 .. 3.40282e+38
--frames 99999999999|0 .. 4294967295
--seed 4294967296|0 .. 4294967295
--size 0x5|1 .. 4096
--size 4097x1|1 .. 4096
--size 256|1 .. 4096
BAD
"$render" --frames 1 --out /nonexistent/dir/x.ppm 2>err.txt
rc=$?
check "unwritable picture exits 1 with a message" '[ $rc -eq 1 ] && grep -q "cannot write" err.txt'
"$render" --frames 1 --out ok.ppm --state /nonexistent/s.txt 2>err.txt
rc=$?
check "unwritable state exits 1" '[ $rc -eq 1 ]'
if "$render" --frames 10 --out pic.png 2>/dev/null; then
    check "png output is a png" '[ "$(head -c 8 pic.png | od -An -tx1 | tr -d " \n")" = "89504e470d0a1a0a" ]'
fi
# Progress: endless runs stopped after a few seconds. At a terminal (script(1)
# gives it one) the line shows; with stderr in a file nothing is written there.
timeout 3 script -qefc "'$render' --res a --frames 4294967295 --out tty.ppm" typescript >/dev/null 2>&1
check "at a terminal a long run shows frames, rate and time left" \
    'grep -aEq "[0-9]+ of 4294967295 frames, [0-9]+ frames/s, [0-9]+ s left" typescript'
script -qefc "'$render' --res a --seed 3 --frames 400000 --out tty.ppm --state tty.txt" \
    typescript >/dev/null
"$render" --res a --seed 3 --frames 400000 --out file.ppm --state file.txt 2>err.txt
check "the outputs are the same with and without a terminal" \
    'cmp -s tty.ppm file.ppm && cmp -s tty.txt file.txt'
timeout 2 "$render" --res a --frames 4294967295 --out long.ppm 2>err.txt
check "without a terminal a long run writes nothing on stderr" '[ ! -s err.txt ]'
[ $fail -eq 0 ] && echo "render_cli: all passed"
exit $fail
