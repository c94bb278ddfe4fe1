#!/usr/bin/env bash
# tessaline-saver on an X server of its own (Xvfb), by the screensaver hack
# conventions.
#   saver.sh SCENARIO TESSALINE_SAVER XPROBE WORKDIR
# Scenarios:
#   foreign  into a window another program made (xprobe window): -window-id
#            (hex; a seed whose first colour is too dark to show) and
#            XSCREENSAVER_WINDOW (decimal) each light its pixels within 2 s;
#            SIGTERM ends the first by that signal within 200 ms, destroying the
#            window ends the second with 0
#   own      its own window titled "Tessaline", 800x600 inside, decorated and
#            resizable; shrunk and grown, it keeps its pixels in place and the
#            chain keeps to the new size; Esc ends it with 0
#   pixel    -pixel 3 shows 3x3 blocks; automatic shows 4x4 on a 3840x2160 root
#   idle     neither the saver nor the program keeps the display awake: after
#            45 s without input each X server's idle time is past 40 s (SDL
#            alone would reset it every 30 s)
#   errors   an id naming no window exits 1 with one line; a malformed id, an
#            unknown option and a bad setting exit 2 with the usage; no display
#            exits 1 with one line; --version; every option the description file
#            can write is taken
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
    for bad in "--delay 1000001" "-delay=-1" "--delay" "-pixel 9" "--pixel=0" "-pixel big"; do
        # shellcheck disable=SC2086 # the option and its value as two words
        runToEnd "$saver" -root $bad
        [ $code -eq 2 ] && grep -q "^usage:" "$work/stderr" || fail "'$bad': exit $code, $(cat "$work/stderr")"
    done
    runToEnd "$saver" --version
    [ $code -eq 0 ] && grep -qx "tessaline-saver (Tessaline II alpha 1) [0-9.]*" "$work/stdout" ||
        fail "--version: exit $code, $(cat "$work/stdout")"
    # Every option the settings program can write from the description file is
    # taken: such a run gets as far as the display (exit 1), not the usage (2).
    xml=$(dirname "$saver")/../dist/tessaline-saver.xml # as the build made it
    mapfile -t args < <(python3 - "$xml" <<'PY'
import re, sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
for e in root.iter():
    for key in ("arg", "arg-set", "arg-unset"):
        if key in e.attrib:
            a = e.attrib[key]
            if "%" in a:  # a number control: its ends and its default
                for v in (e.attrib["low"], e.attrib["high"], e.attrib["default"]):
                    print(a.replace("%", v))
            else:
                print(a)
PY
    )
    [ ${#args[@]} -ge 4 ] || fail "the description file offers only: ${args[*]}"
    for a in "${args[@]}"; do
        # shellcheck disable=SC2086
        runToEnd -u DISPLAY -u WAYLAND_DISPLAY "$saver" $a
        [ $code -eq 1 ] || fail "'$a' from the description file: exit $code, $(cat "$work/stderr")"
    done
    echo "errors: no such window 1, malformed id 2, unknown option 2, no display 1, bad settings 2,"
    echo "errors: --version 0, all ${#args[@]} options the description file writes taken"
    exit 0
fi

# Room for the own window doubled.
start_xvfb 1920x1280x24
unset SDL_VIDEODRIVER XSCREENSAVER_WINDOW

# Lit pixels of a window's dump, retried for up to 2 s.
litWithin() {
    local n=0
    for _ in $(seq 20); do
        sleep 0.1
        xwd -id "$1" -silent >"$work/shot.xwd" 2>/dev/null || continue
        n=$("$xprobe" coloured "$work/shot.xwd" | cut -d' ' -f1)
        [ "$n" -gt 0 ] && break
    done
    echo "$n"
}

# Starts the saver (stderr to $work/stderr, pid in $app) and requires it to light
# WINDOW within 2 s. A saver never stays black: a first colour too dark to show
# on black is drawn again, so one run is enough.
startLitIn() { # WINDOW ENV-AND-COMMAND...
    local target=$1
    shift
    env "$@" 2>"$work/stderr" &
    app=$!
    pids+=($app)
    lit=$(litWithin "$target")
    [ "$lit" -gt 0 ] || fail "nothing lit within 2 s: $*"
}

case "$scenario" in
idle)
    bash "$here/../../scripts/deps.sh" xprintidle
    program=$(dirname "$saver")/tessaline
    start_xvfb 1280x1024x24
    saverDisplay=$DISPLAY
    TESSALINE_SEED=1 "$saver" -root 2>"$work/stderr" &
    pids+=($!)
    start_xvfb 1280x1024x24
    TESSALINE_SEED=1 "$program" c 2>"$work/stderr.program" &
    pids+=($!)
    sleep 45
    for p in "${pids[@]}"; do kill -0 "$p" || fail "a program or its server ended before its 45 s"; done
    idleSaver=$(DISPLAY=$saverDisplay xprintidle)
    idleProgram=$(xprintidle)
    [ "$idleSaver" -gt 40000 ] || fail "with the saver running the server was idle only ${idleSaver} ms"
    [ "$idleProgram" -gt 40000 ] || fail "with the program running the server was idle only ${idleProgram} ms"
    echo "idle: after 45 s the servers were idle ${idleSaver} ms (saver), ${idleProgram} ms (program)"
    ;;
foreign)
    "$xprobe" window 400 300 >"$work/window" &
    maker=$!
    pids+=($maker)
    for _ in $(seq 100); do [ -s "$work/window" ] && break; sleep 0.02; done
    target=$(head -1 "$work/window")
    [ -n "$target" ] || fail "the helper made no window"

    # Seed 30 draws 5f4546 first: every channel below 100, nothing the program shows.
    startLitIn "$target" TESSALINE_SEED=30 "$saver" -window-id "$target"
    echo "foreign: -window-id $target, a first colour too dark to show: lit $lit pixels"
    kill -TERM $app
    start=$(date +%s%N)
    set +e
    wait $app
    code=$?
    set -e
    took=$((($(date +%s%N) - start) / 1000000))
    # A daemon expects its hack to die by the signal it sent (128 + 15 in the shell).
    [ $code -eq 143 ] || fail "SIGTERM: exit code $code, not death by SIGTERM"
    # The sanitizer build looks for leaks on its way out, which takes its time.
    limit=200
    [ -z "${LSAN_OPTIONS:-}" ] || limit=1000
    [ $took -le $limit ] || fail "SIGTERM took $took ms"
    echo "foreign: SIGTERM ended it by the signal in $took ms"

    startLitIn "$target" XSCREENSAVER_WINDOW="$((target))" "$saver" --root --delay 20000 -pixel=2
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
    lit=$(litWithin "$window")
    [ "$lit" -gt 0 ] || fail "nothing lit in its own window"
    # Resized, the window keeps its pixels where they were (no scaling, no
    # bars), and the chain keeps to the new size, drawing on. The first frame lit
    # pixels within 50 px of (400, 300): a 500x400 window keeps them. At 200x150
    # the head must stay within 75 px of (100, 75), far from where it was: it
    # lights pixels there. Grown again, the corner stays as it was.
    xwd -id "$window" -silent >"$work/shot0.xwd"
    shot=0
    for size in "500 400" "200 150"; do
        # shellcheck disable=SC2086
        xdotool windowsize "$window" $size
        new=0
        for _ in $(seq 20); do
            sleep 0.1
            xwd -id "$window" -silent >"$work/shot$((shot + 1)).xwd"
            # shellcheck disable=SC2086
            kept=$("$xprobe" kept "$work/shot$shot.xwd" "$work/shot$((shot + 1)).xwd" $size corner) ||
                fail "resized to $size, pixels lit before went: $kept"
            new=${kept##* }
            [ "$new" -gt 0 ] && break
        done
        [ "$new" -gt 0 ] || fail "nothing new lit within 2 s of resizing to $size"
        [ "$shot" -gt 0 ] || [ "${kept% new*}" != "ok 0" ] || fail "nothing lit near (400, 300) to keep"
        echo "own: resized to ${size/ /x}, ${kept% new*} pixels lit before stay in place; $new new"
        shot=$((shot + 1))
    done
    xdotool windowsize "$window" 1600 1200
    sleep 0.3
    xwd -id "$window" -silent >"$work/large.xwd"
    again=$("$xprobe" kept "$work/shot$shot.xwd" "$work/large.xwd" 200 150 corner) ||
        fail "grown, pixels lit before went: $again"
    echo "own: grown to 1600x1200, the ${again% new*} pixels of the corner stay in place"
    xdotool windowfocus --sync "$window" key Escape
    exitWithin=1
    expectExit 0 "Esc"
    ;;
pixel)
    # Pixel size 3 in its own 800x600 window: 266x200 picture pixels, 3x3 each,
    # the two columns left over black.
    "$saver" -pixel 3 2>"$work/stderr" &
    app=$!
    pids+=($app)
    waitWindow Tessaline 5
    [ "$(litWithin "$window")" -gt 0 ] || fail "nothing lit with -pixel 3"
    sleep 0.5
    xwd -id "$window" -silent >"$work/shot.xwd"
    blocks=$("$xprobe" blocks "$work/shot.xwd" 3 0 0 798 600) || fail "-pixel 3: $blocks"
    kill -TERM $app
    wait $app || true
    # Automatic on a 3840x2160 root: 960x540 picture pixels, 4x4 each.
    start_xvfb 3840x2160x24
    "$saver" -root 2>"$work/stderr" &
    app=$!
    pids+=($app)
    for _ in $(seq 20); do
        sleep 0.1
        xwd -root -silent >"$work/shot.xwd"
        [ "$("$xprobe" coloured "$work/shot.xwd" | cut -d' ' -f1)" -gt 0 ] && break
    done
    blocks=$("$xprobe" blocks "$work/shot.xwd" 4 0 0 3840 2160) || fail "auto on 3840x2160: $blocks"
    echo "pixel: -pixel 3 gives 3x3 blocks; automatic gives 4x4 on 3840x2160"
    kill -TERM $app
    wait $app || true
    ;;
*) fail "unknown scenario" ;;
esac
[ ! -s "$work/stderr" ] || fail "the saver wrote to stderr: $(cat "$work/stderr")"
