#!/usr/bin/env bash
# tessaline.exe under wine64 on Xvfb (800x600, plus a 640x480 RandR mode so that
# a real display switch is possible), driven with xdotool and winprobe.exe.
#   e2e_wine.sh SCENARIO WINE TESSALINE_EXE WINPROBE_EXE WORKDIR PREFIX
# Scenarios: prefix (make the wine prefix once, before the others), esc (one
# window of class "theClassName" titled "Tessaline II alpha 1" at 640x480 on a
# display switched to 640x480; Esc ends it with 0 and leaves the mode), close
# (Alt+F4, a posted WM_CLOSE and an X WM_DELETE_WINDOW each end it with 0 and
# restore 800x600), noswitch (1024x768 is no mode of this display: exit 1, no
# window left).
set -euo pipefail
scenario=$1 wine=$2 exe=$3 probe=$4 work=$5
export WINEPREFIX=$6 WINEDEBUG=-all
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
title="Tessaline II alpha 1"
mkdir -p "$work"
fail() {
    echo "FAIL ($scenario): $*" >&2
    exit 1
}

if [ "$scenario" = prefix ]; then
    # The first start of a new prefix runs its set-up for tens of seconds; do it
    # here, once, with no display, so no scenario pays for it inside its timeout.
    [ -f "$WINEPREFIX/system.reg" ] && { echo "prefix: $WINEPREFIX exists"; exit 0; }
    start=$(date +%s)
    env -u DISPLAY -u WAYLAND_DISPLAY "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
        fail "wineboot: $(tail -3 "$work/wineboot.log")"
    "$wineserver" -w
    echo "prefix: made $WINEPREFIX in $(($(date +%s) - start)) s"
    exit 0
fi

pids=()
cleanup() {
    # The prefix's server keeps its desktop tied to this X server: end it with it.
    "$wineserver" -k 2>/dev/null || true
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
"$wineserver" -k 2>/dev/null || true # one left from an earlier, failed run
"$wineserver" -w 2>/dev/null || true

# shellcheck source=../support/xvfb.sh
. "$(dirname "$0")/../support/xvfb.sh"
start_xvfb 800x600x24
# Xvfb offers only its screen size; wine lists and switches to what RandR offers.
xrandr --newmode 640x480_e2e 25.175 640 656 752 800 480 490 492 525
xrandr --addmode screen 640x480_e2e
screenSize() { xrandr -q | sed -n 's/.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
# The screen reaches the size within three seconds (wine's X driver may apply a
# switch after the call that asked for it has returned), or fails.
expectScreen() {
    for _ in $(seq 30); do [ "$(screenSize)" = "$1" ] && return 0; sleep 0.1; done
    fail "display at $(screenSize) $2, not $1"
}

# Starts the program with a letter and waits (20 s at most: a wine start takes
# seconds) for its window by title.
start() {
    started=$(date +%s.%N)
    "$wine" "$exe" "$1" >"$work/out" 2>&1 &
    app=$!
    pids+=($app)
    find_window "$title" $app 20
    echo "$scenario: window after $(echo "$(date +%s.%N) - $started" | bc) s"
}

# Ends within five seconds with the given code, or fails.
expectExit() {
    for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    kill -0 $app 2>/dev/null && fail "still running five seconds after $2"
    set +e
    wait $app
    local code=$?
    set -e
    [ $code -eq "$1" ] || fail "exit code $code after $2, not $1"
    echo "$scenario: $2 ended it with $code"
}

probe() { "$wine" "$probe" "$@" | tr -d '\r'; }

case "$scenario" in
esc)
    start b
    expectScreen 640x480 "with the window open"
    [ "$(probe mode)" = 640x480 ] || fail "Win32 reports the mode $(probe mode), not 640x480"
    # The Win32 side: exactly one window of the class, with its title, style and size.
    # (X sees its WM_CLASS as the .exe's name, so the class is read through Win32.)
    windows=$(probe windows theClassName)
    expected='window "Tessaline II alpha 1" visible 1 style 0x96000000 rect 0 0 640 480
count 1'
    [ "$windows" = "$expected" ] || fail "windows of class theClassName: $windows"
    xprop -id "$window" WM_NAME | grep -qF "\"$title\"" || fail "X title: $(xprop -id "$window" WM_NAME)"
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
    [ "$geometry" = "0 0 640 480" ] || fail "X window at $geometry, not covering the 640x480 screen"
    xdotool key Return # swallowed by the window procedure: it keeps running
    sleep 0.5
    kill -0 $app 2>/dev/null || fail "Return ended the program"
    xdotool key Escape
    expectExit 0 "Esc"
    # Esc only posts the quit message: the display keeps the program's mode (a
    # second later too: wine does not restore it when the process ends).
    sleep 1
    [ "$(screenSize)" = 640x480 ] || fail "display at $(screenSize) after Esc, not left at 640x480"
    ;;
close)
    start b
    xdotool key alt+F4
    expectExit 0 "Alt+F4"
    expectScreen 800x600 "after Alt+F4"
    start b
    probe close theClassName || fail "winprobe found no window to close"
    expectExit 0 "a posted WM_CLOSE"
    expectScreen 800x600 "after WM_CLOSE"
    start b
    python3 "$(dirname "$0")/wm_delete.py" "$window"
    expectExit 0 "an X WM_DELETE_WINDOW request"
    expectScreen 800x600 "after WM_DELETE_WINDOW"
    ;;
noswitch)
    # 'd' asks for 1024x768, which this display cannot show: the switch is refused
    # and the quit message waiting from the start ends the run with 1.
    modes=$(probe modes | cut -d' ' -f1 | sort -u | tr '\n' ' ')
    [ "$modes" = "640x480 800x600 " ] || fail "wine lists the modes $modes, not 640x480 800x600"
    started=$(date +%s.%N)
    set +e
    timeout 30 "$wine" "$exe" d >"$work/out" 2>&1
    code=$?
    set -e
    [ $code -eq 1 ] || fail "exit code $code, not 1"
    echo "noswitch: a refused switch ended it with 1 after $(echo "$(date +%s.%N) - $started" | bc) s"
    [ "$(screenSize)" = 800x600 ] || fail "display at $(screenSize), not left at 800x600"
    [ "$(probe windows theClassName)" = "count 0" ] || fail "a window of the class is left"
    ;;
*) fail "unknown scenario" ;;
esac
