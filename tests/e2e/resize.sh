#!/usr/bin/env bash
# The screen changes size under the running program, as a user's display settings
# would change it: xresize shrinks Xvfb's 1280x1024 screen to 1024x768 and grows it
# back (xdpyinfo and xwininfo must both see each size), refuses a size beyond the
# one the server started with. Each time, within a second, the program's window
# covers the new screen and shows the picture fitted to it anew, every trace
# drawn before still there; the program ends with 0 on Esc, silently.
#   resize.sh TESSALINE XRESIZE XPROBE WORKDIR
set -euo pipefail
tessaline=$1 xresize=$2 xprobe=$3 work=$4
title="Tessaline II alpha 1"
scenario=resize
# shellcheck source=../support/script.sh
. "$(dirname "$0")/../support/script.sh"
# shellcheck source=../support/xvfb.sh
. "$(dirname "$0")/../support/xvfb.sh"
# shellcheck source=../support/app_run.sh
. "$(dirname "$0")/../support/app_run.sh"
start_xvfb 1280x1024x24
unset SDL_VIDEODRIVER

startLit shot0 "$tessaline" c
shot=0

# "WxH" as xdpyinfo and as xwininfo -root see the screen; they must agree.
screenSize() {
    local a b
    a=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    b=$(xwininfo -root | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h}')
    [ "$a" = "$b" ] || fail "xdpyinfo sees $a, xwininfo -root $b"
    echo "$a"
}
geometry() {
    xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
resizeTo() {
    "$xresize" "$1" "$2" || fail "xresize $1 $2 failed"
    [ "$(screenSize)" = "$1x$2" ] || fail "asked for $1x$2, the screen is $(screenSize)"
    local at=""
    for _ in $(seq 10); do
        sleep 0.1
        at=$(geometry)
        [ "$at" = "0 0 $1 $2" ] && break
    done
    [ "$at" = "0 0 $1 $2" ] || fail "a second after the change the window is at $at, not 0 0 $1 $2"
    kill -0 $app 2>/dev/null || fail "the program ended when the screen became $1x$2"
    sleep 0.2
    xwd -root -silent >"$work/shot$((shot + 1)).xwd"
    kept=$("$xprobe" kept "$work/shot$shot.xwd" "$work/shot$((shot + 1)).xwd" 800 600) ||
        fail "at $1x$2 the picture is not the earlier one fitted anew: $kept"
    shot=$((shot + 1))
    echo "resize: the window covers the new $1x$2 screen; the 800x600 picture, fitted anew, keeps all ${kept#ok } pixels lit before"
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
exitWithin=1
expectExit 0 Esc
[ ! -s "$work/stderr" ] || fail "the program wrote to stderr: $(cat "$work/stderr")"
