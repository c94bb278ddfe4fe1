#!/usr/bin/env bash
# The Windows screensaver (tessaline.scr: wine runs a .scr like an .exe) under
# wine64 on an 800x600 Xvfb with no window manager, driven with xdotool,
# xclient.py and winprobe.exe.
#   saver_wine.sh SCENARIO WINE SAVER WINPROBE_EXE WORKDIR PREFIX
# Scenarios: prefix (make the wine prefix, as e2e_wine.sh does); screen (/s: one
# topmost captionless window titled "Tessaline" over the whole desktop, cursor
# hidden; a key, a mouse move of 50 pixels and a mouse button each end it with 0,
# its first move report and a 2-pixel move do not); preview (/p HWND and -P:HWND
# put one child window over the whole client area of that window, and destroying
# the window ends the saver with 0; a handle naming no window ends it with 1);
# config (/c and no argument show a message box, and closing it ends the saver
# with 0); args (anything else ends it with 2).
set -euo pipefail
scenario=$1 wine=$2 exe=$3 probe=$4 work=$5
export WINEPREFIX=$6 WINEDEBUG=-all
title="Tessaline"
here=$(dirname "$0")
# shellcheck source=wine_run.sh
. "$here/wine_run.sh"

if [ "$scenario" = prefix ]; then
    makePrefix
    exit 0
fi
startSession 800x600x24

# Still running after the given event (half a second to react), or fails.
expectRunning() {
    sleep 0.5
    kill -0 $app 2>/dev/null || fail "$1 ended it"
}

# Starts the program and waits for its message box (class #32770, whatever its
# title); leaves the box's X window in $window.
startBox() {
    "$wine" "$exe" "$@" >"$work/out" 2>&1 &
    app=$!
    pids+=("$app")
    local box=""
    for _ in $(seq 40); do # 20 s and more: each probe is a wine start
        box=$(probe windows '#32770' | sed -n 's/^window "\(.*\)" visible 1 .*/\1/p')
        [ -n "$box" ] && break
        kill -0 $app 2>/dev/null || fail "'$*' ended before showing a box"
        sleep 0.5
    done
    [ -n "$box" ] || fail "'$*' showed no message box"
    window=$(xdotool search --name "^$box\$" | head -1)
    echo "$scenario: '$*' shows the box \"$box\""
}

case "$scenario" in
screen)
    xdotool mousemove 400 300
    start /s
    # Win32: a popup (WS_POPUP, no WS_CAPTION), WS_EX_TOPMOST, over all of the desktop.
    windows=$(probe titled "$title")
    re='^window "[^"]*" visible 1 style (0x[0-9a-f]+) rect 0 0 800 600 class "[^"]*" exstyle (0x[0-9a-f]+)$'
    [[ "$(head -1 <<<"$windows")" =~ $re ]] && [ "$(tail -1 <<<"$windows")" = "count 1" ] ||
        fail "windows titled $title: $windows"
    style=${BASH_REMATCH[1]} exstyle=${BASH_REMATCH[2]}
    ((style & 0x80000000 && !(style & 0x00C00000) && exstyle & 0x8)) ||
        fail "style $style, extended style $exstyle: not a topmost popup without a caption"
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
    [ "$geometry" = "0 0 800 600" ] || fail "X window at $geometry, not covering the screen"
    [ "$(python3 "$here/xclient.py" cursor)" = hidden ] || fail "the cursor shows over the saver"
    # Wine reports the pointer's place to a new window as a move: that must not count.
    expectRunning "the first move report"
    xdotool mousemove_relative 2 0
    expectRunning "a 2-pixel mouse move"
    xdotool key x
    expectExit 0 "a key"
    start /S
    expectRunning "the first move report"
    xdotool mousemove_relative 50 0
    expectExit 0 "a 50-pixel mouse move"
    start -s
    expectRunning "the first move report"
    xdotool click 1
    expectExit 0 "a mouse button"
    ;;
preview)
    path=$("$wine" winepath -w "$exe" | tr -d '\r')
    for form in "/p " "-P:"; do
        out=$(probe preview "\"$path\"" "$form" 2000) || fail "preview with '$form': $out"
        echo "$scenario: '$form': $(tr '\n' ';' <<<"$out")"
        grep -qx "child 0 0 400 300 of 400x300 visible 1" <<<"$out" ||
            fail "'$form': not one child over the 400x300 client area: $out"
        # What the child paints is printed, not required: wine 8 shows nothing a
        # child window draws when its parent belongs to another process.
        grep -qE "^exit 0 after" <<<"$out" || fail "'$form': $out"
    done
    runToEnd /p 12345
    [ $code -eq 1 ] || fail "a handle naming no window: exit code $code, not 1"
    ;;
config)
    startBox /c
    # No window manager: X keyboard focus follows the pointer, so put it on the box.
    xdotool mousemove --window "$window" 20 20
    xdotool key Return
    expectExit 0 "Return in the box"
    startBox
    probe close '#32770' || fail "winprobe found no box to close"
    expectExit 0 "closing the box"
    ;;
args)
    for args in /x bogus; do
        runToEnd $args
        [ $code -eq 2 ] || fail "'$args': exit code $code, not 2"
    done
    ;;
*) fail "unknown scenario" ;;
esac
