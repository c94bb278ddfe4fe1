#!/usr/bin/env bash
# The program on a real X server (Xvfb, 1280x1024), driven as a user would.
#   e2e.sh SCENARIO TESSALINE XPROBE WORKDIR
# Scenarios: picture (no argument, so the built-in 800x600: covers the screen,
# fills its width, Return recolours, Esc ends it with 0 within a second), scaled
# (320x240 shown four times enlarged), close (a WM_DELETE_WINDOW request ends it
# with 0), sigterm (SIGTERM ends it with 0), sigint (so does SIGINT), nodisplay
# (exit 1 with one line on stderr; with DISPLAY naming no server, the line names
# it), present and adopt (TESSALINE is the present probe: a copy into a window
# reaches the X window through PeekMessageA alone; an adopted window is adopted
# again, live, after a host restart), windows (the probe again: ten windows made
# and destroyed on a 16-bit second screen, whose TrueColor visual needs a
# colormap each, leave the server holding no more for the probe than one does).
set -euo pipefail
scenario=$1 tessaline=$2 xprobe=$3 work=$4
title="Tessaline II alpha 1"
# shellcheck source=../support/script.sh
. "$(dirname "$0")/../support/script.sh"

if [ "$scenario" = nodisplay ]; then
    for display in "" :99; do
        set +e
        env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ${display:+DISPLAY=$display} \
            "$tessaline" c 2>"$work/stderr" &
        pid=$!
        for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.02; done
        kill -0 $pid 2>/dev/null && { kill -KILL $pid; fail "still running after 2 s"; }
        wait $pid
        code=$?
        set -e
        [ $code -eq 1 ] || fail "exit code $code, not 1"
        [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "stderr is not one line: $(cat "$work/stderr")"
        grep -q "no display could be opened.*${display:-DISPLAY is not set}" "$work/stderr" ||
            fail "stderr: $(cat "$work/stderr")"
        echo "nodisplay: exit 1, stderr: $(cat "$work/stderr")"
    done
    exit 0
fi

# A server of our own, answering before we go on.
# shellcheck source=../support/xvfb.sh
. "$(dirname "$0")/../support/xvfb.sh"
# shellcheck source=../support/app_run.sh
. "$(dirname "$0")/../support/app_run.sh"
exitWithin=1
unset SDL_VIDEODRIVER

if [ "$scenario" = windows ]; then
    start_xvfb 640x480x24 640x480x16
    export DISPLAY=":$displayNumber.1"
    # What the server holds for the probe's connections: xrestop counts a
    # colormap among the resources it cannot name.
    held() {
        "$tessaline" windows "$1" >"$work/probe.out" &
        local probe=$!
        pids+=($probe)
        for _ in $(seq 250); do grep -q "destroyed: $1" "$work/probe.out" && break; sleep 0.02; done
        grep -q "destroyed: $1" "$work/probe.out" || fail "the probe made no windows"
        xrestop -b -m 1 2>/dev/null | awk '/^[0-9]+ - / { other = / - xrestop / }
            /res_base/ { own = $3 != "0" && !other }
            own && /^\t(colormaps|unknowns)/ { n += $3 } END { print n + 0 }'
        kill -TERM $probe
        wait $probe || fail "the probe ended with $?"
    }
    one=$(held 1)
    ten=$(held 10)
    [ "$ten" -eq "$one" ] || fail "after ten windows the server holds $ten resources, after one $one"
    echo "windows: on a 16-bit screen, $one resources held after one window and after ten"
    exit 0
fi

start_xvfb 1280x1024x24

if [ "$scenario" = present ] || [ "$scenario" = adopt ]; then
    "$tessaline" ${scenario#present} || fail "the host did not behave as it should"
    exit 0
fi

# The picture run gives no argument at all: what it shows is the built-in default.
letter=c
[ "$scenario" = picture ] && letter=""
[ "$scenario" = scaled ] && letter=a

# Starts the program and finds its window by title. Seed 1's first colour shows
# on black (one with every channel below 100 would paint nothing).
start() {
    TESSALINE_SEED=1 "$tessaline" ${letter:+"$letter"} 2>"$work/stderr" &
    app=$!
    pids+=($app)
    waitWindow "$title" 5
}
start

# Waits a second and counts the lit pixels of a root screenshot (with their
# bounding box).
firstShot() {
    sleep 1
    xwd -root -silent >"$work/first.xwd"
    read -r lit x0 y0 x1 y1 < <("$xprobe" coloured "$work/first.xwd")
    [ "$lit" -gt 0 ] || fail "nothing drawn after a second"
}

case "$scenario" in
picture)
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
    [ "$geometry" = "0 0 1280 1024" ] || fail "window at $geometry, not covering the screen"
    firstShot
    [ "$lit" -lt $((1280 * 960 / 4)) ] || fail "$lit pixels lit: not coloured traces on black"
    # 800x600 fills the screen's width, keeping its shape: 1280x960 at (0, 32),
    # black bars above and below.
    [ "$y0" -ge 32 ] && [ "$y1" -le 992 ] ||
        fail "lit pixels reach $x0,$y0 - $x1,$y1, outside 1280x960 at (0, 32)"
    echo "picture: $lit coloured pixels on black after a second"

    # Pixels newly lit under one colour share which channels are lit (a channel
    # rises from 0 only toward a target at least 100 above). Holding Return
    # picks new colours, so that pattern moves on; try a few holds.
    pattern() { # most common pattern of pixels lit between two shots
        xwd -root -silent >"$work/a.xwd"
        sleep 0.6
        xwd -root -silent >"$work/b.xwd"
        "$xprobe" fresh "$work/a.xwd" "$work/b.xwd" | head -1 | cut -d' ' -f1
    }
    before=$(pattern)
    changed=""
    for hold in 1 2 3 4 5; do
        xdotool keydown Return
        sleep 0.3
        xdotool keyup Return
        after=$(pattern)
        echo "picture: lit pattern $before, after holding Return ($hold) $after"
        if [ "$after" != "$before" ]; then changed=yes; break; fi
    done
    [ -n "$changed" ] || fail "holding Return never changed the colour"

    xdotool key Escape
    expectExit 0 "Esc"
    ;;
scaled)
    firstShot
    # 320x240 fits four times: 1280x960 at (0, 32), every pixel a 4x4 block.
    blocks=$("$xprobe" blocks "$work/first.xwd" 4 0 32 1280 960)
    [ "$blocks" = ok ] || fail "not four times enlarged and centred: $blocks"
    echo "scaled: $lit lit pixels, all in uniform 4x4 blocks within 1280x960 at (0, 32)"
    kill -TERM $app
    expectExit 0 "SIGTERM"
    ;;
close)
    "$xprobe" close "$window"
    expectExit 0 "a WM_DELETE_WINDOW request"
    ;;
sigterm)
    kill -TERM $app
    expectExit 0 "SIGTERM"
    ;;
sigint)
    # A background job of this script starts with SIGINT ignored: the program's
    # own handler must take it all the same, as Ctrl+C in a terminal would.
    kill -INT $app
    expectExit 0 "SIGINT"
    ;;
*) fail "unknown scenario" ;;
esac
[ ! -s "$work/stderr" ] || fail "the program wrote to stderr: $(cat "$work/stderr")"
