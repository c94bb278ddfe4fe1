#!/usr/bin/env bash
# The program on the X11 desktops users have, each condition on an Xvfb of its own.
#   desktop.sh SCENARIO TESSALINE TESSALINE_SAVER XPROBE WORKDIR
# Scenarios:
#   lost     the X server is killed mid-run: the program, and the saver, end within
#            a second with 1 and one line on stderr (no hang, no abort, no core)
#   depths   a 30-bit screen shows the traces; a 16-bit one too, on black that stays
#            black; on an 8-bit one the program says it cannot draw and exits 1
#   screens  with DISPLAY=:N.1 the window opens on screen 1 (16 bits), not on screen
#            0, shows traces on black that stays black, names its class and pid to
#            the window manager, and a close request ends it with 0
#   wm       under Openbox, with a tint2 panel: the window is in full-screen state,
#            Alt+drag does not move it, the panel stays under it when another
#            window takes the focus; minimized it keeps drawing frames but presents
#            nothing, and restored it shows the whole picture; a window shown over it
#            and closed leaves the picture as it was; wmctrl -c ends it with 0
#   storm    a window dragged over it 200 times in a second: the program presents
#            at most once per refresh all the while (60 Hz: Xvfb names no rate),
#            counted by DAMAGE reports as a compositor sees them
set -euo pipefail
scenario=$1 tessaline=$2 saver=$3 xprobe=$4 work=$5
title="Tessaline II alpha 1"
here=$(dirname "$0")
# shellcheck source=../support/script.sh
. "$here/../support/script.sh"
# shellcheck source=../support/xvfb.sh
. "$here/../support/xvfb.sh"
# shellcheck source=../support/app_run.sh
. "$here/../support/app_run.sh"
exitWithin=1
unset SDL_VIDEODRIVER

oneLine() { # CONTAINING
    [ "$(wc -l <"$work/stderr")" -eq 1 ] && grep -q "$1" "$work/stderr" ||
        fail "stderr is not one line saying '$1': $(cat "$work/stderr")"
}
lit() { "$xprobe" coloured "$1" | cut -d' ' -f1; }
shot() { xwd -root -silent >"$work/$1.xwd"; }

case "$scenario" in
lost)
    for program in tessaline saver; do
        start_xvfb 1280x1024x24
        server=${pids[-1]}
        if [ $program = tessaline ]; then "$tessaline" c 2>"$work/stderr" & else "$saver" 2>"$work/stderr" & fi
        app=$!
        pids+=($app)
        waitWindow "$([ $program = tessaline ] && echo "$title" || echo Tessaline)" 5
        sleep 0.5
        kill -KILL "$server"
        expectExit 1 "the X server's end ($program)"
        oneLine "connection to the X server was lost"
    done
    ;;
depths)
    for depth in 30 16; do
        start_xvfb 1280x1024x$depth
        startLit deep$depth "$tessaline" c
        traces=$(lit "$work/deep$depth.xwd")
        [ "$traces" -lt $((1280 * 960 / 4)) ] || fail "$depth bits: not traces on black"
        echo "depths: $depth bits: $traces pixels of traces, the rest black"
        kill -TERM $app
        expectExit 0 SIGTERM
        cleanup
        pids=()
    done
    start_xvfb 1280x1024x8
    "$tessaline" c 2>"$work/stderr" &
    app=$!
    pids+=($app)
    exitWithin=2
    expectExit 1 "an 8-bit screen"
    oneLine "no window could be opened"
    ;;
screens)
    start_xvfb 1280x1024x24 1024x768x16
    number=$displayNumber
    export DISPLAY=":$number.1"
    startLit second "$tessaline" c
    window1=$(xwininfo -root -tree | awk -v t="\"$title\"" 'index($0, t) {print $1; exit}')
    window0=$(DISPLAY=":$number.0" xwininfo -root -tree | awk -v t="\"$title\"" 'index($0, t) {print $1}')
    [ -n "$window1" ] && [ -z "$window0" ] || fail "window on screen 1: '$window1', on screen 0: '$window0'"
    DISPLAY=":$number.0" xwd -root -silent >"$work/first.xwd"
    [ "$(lit "$work/first.xwd")" -eq 0 ] || fail "screen 0 shows $(lit "$work/first.xwd") lit pixels"
    traces=$(lit "$work/second.xwd")
    [ "$traces" -lt $((1024 * 768 / 4)) ] || fail "screen 1: $traces pixels lit: not traces on black"
    xprop -id "$window1" WM_CLASS _NET_WM_PID WM_HINTS >"$work/props"
    grep -q '^WM_CLASS.*"tessaline"' "$work/props" && grep -q "^_NET_WM_PID(CARDINAL) = $app\$" "$work/props" &&
        grep -q 'accepts input' "$work/props" || fail "screen 1: the window manager is not told: $(cat "$work/props")"
    echo "screens: the window and $traces pixels of traces on 16-bit screen 1, none on screen 0; its class, pid and hints set"
    "$xprobe" close "$window1"
    expectExit 0 "a close request"
    ;;
wm)
    bash "$here/../../scripts/deps.sh" openbox tint2 wmctrl
    start_xvfb 1280x1024x24
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
    tint2 >"$work/tint2.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do xdotool search --class tint2 >/dev/null 2>&1 && break; sleep 0.05; done
    startLit before "$tessaline" c
    geometry() {
        xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
            /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
    }
    state=$(xprop -id "$window" _NET_WM_STATE)
    [[ "$state" == *_NET_WM_STATE_FULLSCREEN* ]] || fail "not in full-screen state: $state"
    [ "$(geometry)" = "0 0 1280 1024" ] || fail "at $(geometry), not over the screen"
    xdotool mousemove 640 500 keydown alt mousedown 1 mousemove 700 560 mousemove 760 620 \
        mouseup 1 keyup alt
    sleep 0.3
    [ "$(geometry)" = "0 0 1280 1024" ] || fail "Alt+drag moved it to $(geometry)"
    echo "wm: full screen ($state), Alt+drag leaves it at $(geometry)"

    # Another window takes the focus: the panel (along the bottom 30 rows, where
    # 800x600 leaves a black bar) must stay under ours.
    "$xprobe" window 300 200 >"$work/other" &
    other=$!
    pids+=($other)
    for _ in $(seq 100); do [ -s "$work/other" ] && break; sleep 0.02; done
    xdotool windowactivate --sync "$(head -1 "$work/other")" 2>/dev/null || true
    sleep 0.5
    shot unfocused
    "$xprobe" blocks "$work/unfocused.xwd" 1 0 0 1280 992 >/dev/null ||
        fail "something is drawn over the black bar at the bottom (the panel?)"
    kill $other
    echo "wm: with another window focused, nothing shows over it, the panel included"

    # Minimized: nothing reaches the X server, but frames go on: restored, every
    # pixel lit before still is, and traces drawn meanwhile show. (How much of a
    # core the frames take is the bench's business, not a test's.)
    xdotool windowminimize --sync "$window"
    sleep 0.3
    writes0=$(awk '/^syscw/ {print $2}' "/proc/$app/io")
    sleep 1
    writes1=$(awk '/^syscw/ {print $2}' "/proc/$app/io")
    [ $((writes1 - writes0)) -le 2 ] || fail "minimized, it still wrote $((writes1 - writes0)) times a second"
    wmctrl -i -a "$window"
    sleep 0.5
    shot restored
    kept=$("$xprobe" kept "$work/before.xwd" "$work/restored.xwd" 800 600) ||
        fail "restored, the picture lost pixels: $kept"
    fresh=$("$xprobe" fresh "$work/before.xwd" "$work/restored.xwd" | head -1)
    [ "$fresh" != "none 0" ] || fail "restored, nothing new is lit: the frames stopped"
    echo "wm: minimized, $((writes1 - writes0)) writes in a second; restored, all ${kept#ok } pixels lit before are shown, and new ones (${fresh})"

    # A window shown over it and gone again: the picture under it comes back whole.
    "$xprobe" window 400 300 ff00ff over >"$work/over" &
    over=$!
    pids+=($over)
    for _ in $(seq 100); do [ -s "$work/over" ] && break; sleep 0.02; done
    sleep 0.3
    shot covered
    kill $over
    sleep 0.3
    shot uncovered
    [ "$("$xprobe" count "$work/covered.xwd" ff00ff)" -gt 0 ] || fail "the other window never showed"
    [ "$("$xprobe" count "$work/uncovered.xwd" ff00ff)" -eq 0 ] ||
        fail "the other window's colour is left on the screen"
    kept=$("$xprobe" kept "$work/restored.xwd" "$work/uncovered.xwd" 800 600) ||
        fail "uncovered, the picture lost pixels: $kept"
    echo "wm: a window over it and gone: all ${kept#ok } pixels lit before are shown again"

    wmctrl -c "$title"
    expectExit 0 "wmctrl -c"
    ;;
storm)
    start_xvfb 1280x1024x24
    startLit before "$tessaline" c
    read -r presents took < <("$xprobe" storm "$window" 200 1)
    most=$(awk -v t="$took" 'BEGIN { print int(t * 60) + 2 }')
    [ "$presents" -gt 0 ] || fail "no present at all while the window was dragged over it"
    [ "$presents" -le "$most" ] ||
        fail "$presents presents in $took s of an expose storm: more than one per refresh ($most)"
    echo "storm: $presents presents in $took s of 200 window moves over it (at most $most allowed)"
    kill -TERM $app
    expectExit 0 SIGTERM
    ;;
*) fail "unknown scenario" ;;
esac
