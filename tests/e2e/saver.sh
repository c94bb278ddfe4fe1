#!/usr/bin/env bash
# tessaline-saver on an X server of its own (Xvfb), by the screensaver hack
# conventions.
#   saver.sh SCENARIO TESSALINE_SAVER XPROBE WORKDIR
# Scenarios:
#   foreign  into a window another program made (xprobe window): -window-id
#            (hex) and XSCREENSAVER_WINDOW (decimal) each light its pixels within
#            1.5 s; SIGTERM ends the first with 0 within 200 ms, destroying the
#            window ends the second with 0
#   own      its own window titled "Tessaline", 800x600 inside, decorated and
#            resizable; resized, it shows the picture fitted; Esc ends it with 0
#   errors   an id naming no window exits 1 with one line; a malformed id and an
#            unknown option exit 2 with the usage; no display exits 1 with one line
set -euo pipefail
scenario=$1 saver=$2 xprobe=$3 work=$4
here=$(dirname "$0")
# shellcheck source=../support/script.sh
. "$here/../support/script.sh"
# shellcheck source=../support/xvfb.sh
. "$here/../support/xvfb.sh"
# shellcheck source=../support/app_run.sh
. "$here/../support/app_run.sh"

# Runs the saver with the given environment and options; its exit code and
# stderr land in $code and $work/stderr. It must end within 2 s.
runToEnd() {
    set +e
    env "$@" 2>"$work/stderr" >"$work/stdout" &
    local pid=$!
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.02; done
    kill -0 $pid 2>/dev/null && { kill -KILL $pid; fail "still running 2 s after: $*"; }
    wait $pid
    code=$?
    set -e
}
oneLine() { [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "stderr is not one line: $(cat "$work/stderr")"; }

if [ "$scenario" = errors ]; then
    start_xvfb 1280x1024x24
    runToEnd "$saver" -window-id 0x7fffff
    [ $code -eq 1 ] && oneLine && grep -q "no such window" "$work/stderr" ||
        fail "an unknown window: exit $code, $(cat "$work/stderr")"
    runToEnd "$saver" --window-id 12z
    [ $code -eq 2 ] && grep -q "is not a window id" "$work/stderr" && grep -q "^usage:" "$work/stderr" ||
        fail "a malformed id: exit $code, $(cat "$work/stderr")"
    runToEnd "$saver" -fullscreen
    [ $code -eq 2 ] && grep -q "unknown option" "$work/stderr" && grep -q "^usage:" "$work/stderr" ||
        fail "an unknown option: exit $code, $(cat "$work/stderr")"
    runToEnd -u DISPLAY -u WAYLAND_DISPLAY "$saver" -root
    [ $code -eq 1 ] && oneLine && grep -q "no display" "$work/stderr" ||
        fail "no display: exit $code, $(cat "$work/stderr")"
    echo "errors: no such window 1, malformed id 2, unknown option 2, no display 1"
    exit 0
fi

# Room for the own window doubled.
start_xvfb 1920x1280x24
unset SDL_VIDEODRIVER XSCREENSAVER_WINDOW

# Lit pixels of a window's dump, retried for up to 1.5 s.
litWithin() {
    local n=0
    for _ in $(seq 15); do
        sleep 0.1
        xwd -id "$1" -silent >"$work/shot.xwd" 2>/dev/null || continue
        n=$("$xprobe" coloured "$work/shot.xwd" | cut -d' ' -f1)
        [ "$n" -gt 0 ] && break
    done
    echo "$n"
}

# A first colour with every channel below 100 paints nothing (about one run in
# 17): starts the saver again, up to three times, until it lights the window.
startLitIn() { # WINDOW ENV-AND-COMMAND...
    local target=$1
    shift
    for run in 1 2 3; do
        env "$@" 2>"$work/stderr" &
        app=$!
        pids+=($app)
        lit=$(litWithin "$target")
        [ "$lit" -gt 0 ] && return 0
        kill -0 $app 2>/dev/null || fail "the saver ended: $*"
        echo "$scenario: run $run lit nothing; again"
        kill -KILL $app
        wait $app 2>/dev/null || true
    done
    fail "nothing lit within 1.5 s, three times: $*"
}

case "$scenario" in
foreign)
    "$xprobe" window 400 300 >"$work/window" &
    maker=$!
    pids+=($maker)
    for _ in $(seq 100); do [ -s "$work/window" ] && break; sleep 0.02; done
    target=$(head -1 "$work/window")
    [ -n "$target" ] || fail "the helper made no window"

    startLitIn "$target" "$saver" -window-id "$target"
    echo "foreign: -window-id $target lit $lit pixels"
    kill -TERM $app
    start=$(date +%s%N)
    set +e
    wait $app
    code=$?
    set -e
    took=$((($(date +%s%N) - start) / 1000000))
    [ $code -eq 0 ] || fail "SIGTERM: exit code $code"
    # The sanitizer build looks for leaks on its way out, which takes its time.
    limit=200
    [ -z "${LSAN_OPTIONS:-}" ] || limit=1000
    [ $took -le $limit ] || fail "SIGTERM took $took ms"
    echo "foreign: SIGTERM ended it with 0 in $took ms"

    startLitIn "$target" XSCREENSAVER_WINDOW="$((target))" "$saver" --root
    echo "foreign: XSCREENSAVER_WINDOW=$((target)) (and --root) lit $lit pixels"
    kill -TERM $maker # the window's maker goes, and its window with it
    exitWithin=2
    expectExit 0 "the window's destruction"
    ;;
own)
    "$saver" 2>"$work/stderr" &
    app=$!
    pids+=($app)
    waitWindow Tessaline 5
    size=$(xwininfo -id "$window" | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h}')
    [ "$size" = 800x600 ] || fail "its window is $size, not 800x600"
    # Doubled, the window shows the 800x600 picture twice as large: every lit
    # pixel a 2x2 block.
    xdotool windowsize "$window" 1600 1200
    lit=$(litWithin "$window")
    [ "$lit" -gt 0 ] || fail "nothing lit in its own window"
    sleep 0.3
    xwd -id "$window" -silent >"$work/shot.xwd"
    blocks=$("$xprobe" blocks "$work/shot.xwd" 2 0 0 1600 1200)
    [ "$blocks" = ok ] || fail "not fitted two to one after resizing: $blocks"
    xdotool windowfocus --sync "$window" key Escape
    exitWithin=1
    expectExit 0 "Esc"
    ;;
*) fail "unknown scenario" ;;
esac
[ ! -s "$work/stderr" ] || fail "the saver wrote to stderr: $(cat "$work/stderr")"
