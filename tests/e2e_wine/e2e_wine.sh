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
title="Tessaline II alpha 1"
# shellcheck source=wine_run.sh
. "$(dirname "$0")/wine_run.sh"

if [ "$scenario" = prefix ]; then
    makePrefix
    exit 0
fi

startSession 800x600x24
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
    xprop -id "$window" WM_NAME | grep -F "\"$title\"" >/dev/null || fail "X title: $(xprop -id "$window" WM_NAME)"
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
    python3 "$(dirname "$0")/xclient.py" close "$window"
    expectExit 0 "an X WM_DELETE_WINDOW request"
    expectScreen 800x600 "after WM_DELETE_WINDOW"
    ;;
noswitch)
    # 'd' asks for 1024x768, which this display cannot show: the switch is refused
    # and the quit message waiting from the start ends the run with 1.
    modes=$(probe modes | cut -d' ' -f1 | sort -u | tr '\n' ' ')
    [ "$modes" = "640x480 800x600 " ] || fail "wine lists the modes $modes, not 640x480 800x600"
    runToEnd d
    [ $code -eq 1 ] || fail "exit code $code, not 1"
    [ "$(screenSize)" = 800x600 ] || fail "display at $(screenSize), not left at 800x600"
    [ "$(probe windows theClassName)" = "count 0" ] || fail "a window of the class is left"
    ;;
*) fail "unknown scenario" ;;
esac
