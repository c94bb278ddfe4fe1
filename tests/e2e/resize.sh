#!/usr/bin/env bash
# The screen changes size under the running program, as a user's display settings
# would change it: xresize shrinks Xvfb's 1280x1024 screen to 1024x768 and grows it
# back (xdpyinfo and xwininfo must both see each size), refuses a size beyond the
# one the server started with, and the program keeps running through all of it
# and still ends with 0 on Esc, silently.
#   resize.sh TESSALINE XRESIZE WORKDIR
set -euo pipefail
tessaline=$1 xresize=$2 work=$3
title="Tessaline II alpha 1"
mkdir -p "$work"
fail() {
    echo "FAIL (resize): $*" >&2
    [ ! -s "$work/stderr" ] || sed 's/^/  program stderr: /' "$work/stderr" >&2
    exit 1
}
pids=()
cleanup() { for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
# shellcheck source=../support/xvfb.sh
. "$(dirname "$0")/../support/xvfb.sh"
start_xvfb 1280x1024x24
unset SDL_VIDEODRIVER

"$tessaline" c 2>"$work/stderr" &
app=$!
pids+=("$app")
for _ in $(seq 250); do
    xdotool search --name "^$title\$" >/dev/null 2>&1 && break
    kill -0 $app 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.02
done

# "WxH" as xdpyinfo and as xwininfo -root see the screen; they must agree.
screenSize() {
    local a b
    a=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    b=$(xwininfo -root | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h}')
    [ "$a" = "$b" ] || fail "xdpyinfo sees $a, xwininfo -root $b"
    echo "$a"
}
resizeTo() {
    "$xresize" "$1" "$2" || fail "xresize $1 $2 failed"
    [ "$(screenSize)" = "$1x$2" ] || fail "asked for $1x$2, the screen is $(screenSize)"
    sleep 0.5 # a few hundred frames on the new screen
    kill -0 $app 2>/dev/null || fail "the program ended when the screen became $1x$2"
    echo "resize: the screen is $1x$2, the program still runs"
}
resizeTo 1024 768
resizeTo 1280 1024
set +e
"$xresize" 1600 1200 2>"$work/refused"
code=$?
set -e
[ $code -eq 1 ] || fail "growing past the server's largest size gave $code, not 1"
[ "$(screenSize)" = 1280x1024 ] || fail "a refused size changed the screen to $(screenSize)"
echo "resize: 1600x1200 refused ($(cat "$work/refused"))"

xdotool key Escape
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.02; done
kill -0 $app 2>/dev/null && fail "still running a second after Esc"
set +e
wait $app
code=$?
set -e
[ $code -eq 0 ] || fail "Esc ended it with $code, not 0"
[ ! -s "$work/stderr" ] || fail "the program wrote to stderr: $(cat "$work/stderr")"
echo "resize: Esc ended it with 0"
