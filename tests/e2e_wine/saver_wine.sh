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
# config (/c and no argument show the settings dialog; filled in and confirmed,
# it stores Delay and PixelSize under HKCU\Software\Tessaline, which /s then
# follows; closed, it stores nothing; values of the wrong type or out of range
# are the defaults, and /s runs and ends as ever); args (anything else ends it
# with 2); monitors (/s on a desktop of two 1920x1080 monitors side by side, sway
# with Xwayland, shot with grim: a chain on each monitor; needs root, as the
# compositor runs as a user of its own, and skips without sway).
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

if [ "$scenario" = monitors ]; then
    [ "$(id -u)" -eq 0 ] && command -v sway >/dev/null && command -v Xwayland >/dev/null &&
        command -v grim >/dev/null || { echo "SKIP: needs root, sway, Xwayland and grim"; exit 77; }
    # shellcheck source=../support/wayland_session.sh
    . "$here/../support/wayland_session.sh"
    waylandSession
    endMonitors() {
        "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
        "$wineserver" -k 2>/dev/null || true
        endWaylandSession
    }
    trap endMonitors EXIT
    startSway monitors 2
    "${onX[@]}" xhost "+SI:localuser:$(id -un)" >/dev/null
    export DISPLAY=${onX[-1]#DISPLAY=}
    "$wineserver" -k 2>/dev/null || true
    # Left to a window manager, wine's windows are placed by sway, which fits a
    # full-screen one to one output; unmanaged, the saver covers the virtual
    # screen as on Windows.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    "${onSway[@]}" grim -t ppm - >"$work/background.ppm"
    TESSALINE_SEED=1 "$wine" "$exe" /s >"$work/out" 2>&1 &
    app=$!
    pids+=("$app")
    # Chains seeded around each monitor's centre (x 960 and 2880, 100 px either
    # way) light the first and the last quarter; one over both would light neither.
    first=0 last=0
    for _ in $(seq 30); do # a wine start takes seconds
        sleep 0.5
        "${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
        read -r _ first _ _ _ _ _ last _ < <(python3 "$here/../support/shot.py" \
            "$work/background.ppm" "$work/shot.ppm" quarters)
        [ "$first" -gt 0 ] && [ "$last" -gt 0 ] && break
    done
    [ "$first" -gt 0 ] && [ "$last" -gt 0 ] ||
        fail "/s on two monitors: $first pixels of traces in the first quarter, $last in the last"
    echo "monitors: /s draws a chain on each monitor: $first pixels in the first quarter, $last in the last"
    exit 0
fi
startSession 800x600x24

# Still running after the given event (half a second to react), or fails.
expectRunning() {
    sleep 0.5
    kill -0 $app 2>/dev/null || fail "$1 ended it"
}

# Starts the program and waits for its dialog (class #32770, whatever its
# title); leaves the dialog's X window in $window.
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
    key='HKCU\Software\Tessaline'
    "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
    settings() { "$wine" reg query "$key" 2>/dev/null | tr -d '\r' | awk '/REG_/ {print $1, $2, $3}' | sort; }
    # /c: the dialog, filled in and confirmed as a user would; the values land
    # in the registry as DWORDs.
    startBox /c
    probe settings 2500 3 1 || fail "no settings dialog to fill in"
    expectExit 0 "OK in the dialog"
    saved=$(printf 'Delay REG_DWORD 0x9c4\nFeathered REG_DWORD 0x1\nPixelSize REG_DWORD 0x3')
    [ "$(settings)" = "$saved" ] || fail "the registry holds: $(settings)"
    echo "$scenario: OK saved Delay 2500, PixelSize 3 and Feathered 1"
    # /s honours them: the screen is 3x3 blocks (266x200 of them on 800x600).
    xdotool mousemove 400 300
    start /s
    blocks=""
    for _ in $(seq 10); do
        sleep 0.5
        blocks=$(python3 "$here/xclient.py" blocks 3)
        [[ "$blocks" =~ ^ok\ [1-9] ]] && break
    done
    [[ "$blocks" =~ ^ok\ [1-9] ]] || fail "/s with pixel size 3: $blocks"
    echo "$scenario: /s shows 3x3 blocks, ${blocks#ok } of them lit"
    expectRunning "the first move report"
    xdotool mousemove_relative 50 0
    expectExit 0 "a 50-pixel mouse move"
    # No argument is /c too; closed, nothing is saved.
    startBox
    probe close '#32770' || fail "winprobe found no dialog to close"
    expectExit 0 "closing the dialog"
    [ "$(settings)" = "$saved" ] || fail "closing changed the registry: $(settings)"
    # Values of the wrong type or out of range are the defaults: /s runs.
    "$wine" reg add "$key" /v Delay /t REG_SZ /d 2500 /f >/dev/null
    "$wine" reg add "$key" /v PixelSize /t REG_DWORD /d 99 /f >/dev/null
    start /s
    expectRunning "the first move report"
    xdotool mousemove_relative -- -50 0
    expectExit 0 "a 50-pixel mouse move with a REG_SZ delay and pixel size 99"
    "$wine" reg delete "$key" /f >/dev/null
    ;;
args)
    for args in /x bogus; do
        runToEnd $args
        [ $code -eq 2 ] || fail "'$args': exit code $code, not 2"
    done
    ;;
*) fail "unknown scenario" ;;
esac
