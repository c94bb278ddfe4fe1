#!/usr/bin/env bash
# The program on headless Wayland compositors, screenshots taken with grim.
#   wayland.sh TESSALINE TESSALINE_SAVER XPROBE WPOINTER WORKDIR
# Under sway (1280x1024, no input devices): at letters a and e, 2 s after its window is
# mapped, the screen shows coloured traces (neither black nor the desktop background),
# 320x240 four times enlarged within 1280x960 at (0, 32), and the window holds no idle
# inhibitor (the session may idle and lock); SIGTERM ends it with 0 (Esc cannot be typed
# without a keyboard). The same holds for the screensaver in a window of its own (sway
# tiles it over the output), which SIGTERM ends by the signal, as screensavers end. With
# the accelerated window surface refused (SDL_FRAMEBUFFER_ACCELERATION=0) it exits 1
# with one line instead of running invisibly. With no compositor reachable, and under
# Weston's headless backend (no seat, where SDL 2.26 itself would crash; no layer shell
# for the overlay): exit 1 with one line. A desktop of two monitors, sway with two
# 1920x1080 outputs side by side and Xwayland (two RandR monitors on a 3840x1080
# screen): letter c covers exactly one monitor, on Wayland and on X11 alike (one half
# black with traces, the other the compositor's grey); the saver in one X window over
# both gives each monitor a chain (traces in each half). The compositor killed under the
# program (Wayland, X11), the saver and its overlay: exit 1 within a second, with one
# line naming the lost connection. On the desktop's layers of the two monitors: the
# wallpaper shows traces on both, stays under a window that covers one, and a key leaves
# it running; the overlay shows traces on both, a key (wtype) or a pointer move
# (wpointer) ends it with 0, swayidle's timeout starts it, an output added with
# create_output shows traces at once, one disabled leaves it running, and SIGTERM gives
# 143. Exit 77 (skipped) when the compositors are not installed.
set -euo pipefail
tessaline=$1 saver=$2 xprobe=$3 wpointer=$4 work=$5
here=$(dirname "$0")
title="Tessaline II alpha 1"
for tool in sway swaymsg swayidle wtype grim weston Xwayland xrandr python3 setpriv; do
    command -v $tool >/dev/null ||
        { echo "SKIP: $tool is not installed (scripts/deps.sh installs sway, swayidle, wtype," \
            "grim, weston, xwayland)"; exit 77; }
done
rm -rf "$work"
mkdir -p "$work"
# shellcheck source=../support/app_run.sh
. "$(dirname "$0")/../support/app_run.sh"
fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/*.log "$work/stderr"; do [ ! -s "$f" ] || tail -n 5 "$f" | sed "s|^|  ${f##*/}: |" >&2; done
    exit 1
}

# shellcheck source=../support/wayland_session.sh
. "$(dirname "$0")/../support/wayland_session.sh"
waylandSession "$tessaline" "$saver" "$xprobe" "$wpointer"

# expectLine WHAT TEXT COMMAND...: the command ends within 10 s with exit code 1
# and one line on stderr holding TEXT; a crash is named as one.
expectLine() {
    local what=$1 text=$2 code=0
    shift 2
    timeout -s KILL 10 "$@" 2>"$work/stderr" || code=$?
    [ $code -lt 128 ] || fail "$what: killed by signal $((code - 128))"
    [ $code -eq 1 ] || fail "$what: exit code $code, not 1"
    if [ "$(wc -l <"$work/stderr")" -ne 1 ] || ! grep -qF "$text" "$work/stderr"; then
        fail "$what: stderr is not one line with '$text'"
    fi
    echo "$what: exit 1, $(cat "$work/stderr")"
}


# --- sway, headless, software rendering, no input devices.
startSway
"${onSway[@]}" grim -t ppm - >"$work/background.ppm"

# Starts a program (title, then command) and waits for its window in sway's tree
# (mapped, so its first frame is shown).
start() {
    local name=$1
    shift
    "${onSway[@]}" "$@" 2>"$work/stderr" &
    app=$!
    pids+=("$app")
    for _ in $(seq 100); do # 20 s at most: software GL compiles its shaders first
        "${onSway[@]}" swaymsg -t get_tree >"$work/tree.json"
        grep -qF "\"$name\"" "$work/tree.json" && return
        kill -0 $app 2>/dev/null || fail "$scenario: the program ended before its window appeared"
        sleep 0.2
    done
    fail "$scenario: no window titled '$name' in sway's tree"
}

# shoot NAME COMMAND...: starts the program, shoots the screen 2 s after its
# window is mapped, ends it with SIGTERM (exit $code, nothing on stderr) and
# counts the shot with shot.py (and $shotMode) into the array counts, whose
# first, the lit pixels, may not be 0.
shotMode=""
shoot() {
    start "$@"
    sleep 2
    "${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
    "${onSway[@]}" swaymsg -t get_tree >"$work/tree.json"
    python3 - "$work/tree.json" "$1" <<'PY' || fail "$scenario: its window keeps the session from idling"
import json, sys
def nodes(n):
    yield n
    for k in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from nodes(k)
ours = [n for n in nodes(json.load(open(sys.argv[1]))) if n.get("name") == sys.argv[2]]
sys.exit(0 if ours and not any(n.get("inhibit_idle") for n in ours) else 1)
PY
    kill -TERM $app
    exitWithin=5
    expectExit $code SIGTERM
    [ ! -s "$work/stderr" ] || fail "$scenario: the program wrote to stderr"
    read -r -a counts < <(python3 "$here/../support/shot.py" "$work/background.ppm" "$work/shot.ppm" $shotMode)
    [ "${counts[0]}" -gt 0 ] || fail "$scenario: nothing coloured on the screen 2 s after the window was mapped"
}

for scenario in "letter a" "letter e" saver; do
    # Seed 1's first colour shows on black (a colour with every channel below 100
    # would not); the saver draws such a colour again anyway. A daemon expects its
    # hack to die by the signal it sent (128 + 15 in the shell).
    case "$scenario" in
    letter*) command=(TESSALINE_SEED=1 "$dir/tessaline" "${scenario#letter }") name=$title code=0 ;;
    saver) command=("$dir/tessaline-saver") name=Tessaline code=143 ;;
    esac
    shoot "$name" "${command[@]}"
    read -r lit y0 y1 <<<"${counts[*]}"
    [ "$lit" -lt $((1280 * 1024 / 4)) ] || fail "$scenario: $lit pixels lit: not traces on black"
    # 320x240 is shown four times enlarged: 1280x960 at (0, 32), black above and below.
    [ "$scenario" != "letter a" ] || { [ "$y0" -ge 32 ] && [ "$y1" -le 992 ]; } ||
        fail "letter a: lit rows $y0 - $y1, outside 1280x960 at (0, 32)"
    echo "$scenario: $lit coloured pixels in rows $y0 - $y1; SIGTERM ended it with $code"
done

# Without the accelerated window surface SDL's Wayland driver has none to give.
# Leaks are not looked for here: the EGL display SDL's window set-up opened is
# never closed (nothing shuts SDL down at exit), and glvnd unloads Mesa's EGL,
# which holds the only pointer to it, before the leak check runs.
expectLine "no window surface" "no window could be opened" "${onSway[@]}" \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0" SDL_FRAMEBUFFER_ACCELERATION=0 \
    "$dir/tessaline" a
expectLine "no compositor" "no display could be opened" \
    "${env[@]}" WAYLAND_DISPLAY=nothing "$dir/tessaline" a

# --- Weston, headless: no input, so no wl_seat at all.
userEnv "$dir/weston"
"${env[@]}" weston --backend=headless-backend.so --no-config --socket=wayland-weston \
    --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
waitSocket "$dir/weston" wayland-weston
expectLine "weston, no seat" "no seat" "${env[@]}" WAYLAND_DISPLAY=wayland-weston "$dir/tessaline" a
# Nor does Weston offer the desktop's layers.
expectLine "weston, no layers" "offers no layer shell" "${env[@]}" WAYLAND_DISPLAY=wayland-weston \
    "$dir/tessaline-saver" -overlay

# --- Two monitors: sway with two outputs side by side, and Xwayland.
startSway two 2
"${onX[@]}" xrandr --listmonitors >"$work/monitors"
"${onX[@]}" xdpyinfo >"$work/xdpyinfo"
grep -q 'dimensions: *3840x1080 pixels' "$work/xdpyinfo" && grep -q '^Monitors: 2$' "$work/monitors" ||
    fail "Xwayland does not show two monitors on a 3840x1080 screen: $(cat "$work/monitors")"
[ "$("${onSway[@]}" swaymsg -t get_outputs | grep -c '"name": "HEADLESS-')" -eq 2 ] ||
    fail "sway has not two outputs"
"${onSway[@]}" grim -t ppm - >"$work/background.ppm"
half=$((1920 * 1080)) shotMode=halves code=0
for scenario in "Wayland" "X11"; do
    command=(TESSALINE_SEED=1 "$dir/tessaline" c)
    [ "$scenario" = Wayland ] || command=(env -u WAYLAND_DISPLAY "DISPLAY=${onX[-1]#DISPLAY=}" "${command[@]}")
    shoot "$title" "${command[@]}"
    read -r _ litL differL litR differR <<<"${counts[*]}"
    # One half all black but the traces, not a pixel of the compositor's grey
    # left; the other half untouched.
    covered=left lit=$litL differ=$differL other=$differR
    [ "$differL" -gt 0 ] || covered=right lit=$litR differ=$differR other=$differL
    [ "$other" -eq 0 ] && [ "$differ" -eq $half ] && [ "$lit" -gt 0 ] && [ "$lit" -lt $((half / 4)) ] ||
        fail "$scenario: left half $litL lit and $differL changed pixels, right half $litR and $differR of $half each: not one monitor covered"
    echo "two monitors, $scenario: the $covered monitor black with $lit pixels of traces, the other untouched"
done
# The saver in one X window over both monitors (override-redirect at (100, 100),
# which sway leaves where it is): each monitor's part gets a chain of its own,
# seeded around that part's centre (screen x 1010 and 2880, 100 px either way),
# so traces lie in the first and the last quarter of the screen. One chain for
# the whole window would keep within 540 px of x 2020, in neither.
"${onX[@]}" "$dir/xprobe" window 3840 1080 000000 over >"$work/window" &
xwindow=$!
pids+=($xwindow)
for _ in $(seq 100); do [ -s "$work/window" ] && break; sleep 0.05; done
scenario="saver over two monitors" code=143
"${onX[@]}" TESSALINE_SEED=1 "$dir/tessaline-saver" -window-id "$(head -1 "$work/window")" \
    2>"$work/stderr" &
app=$!
pids+=("$app")
sleep 2
"${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
kill -TERM $app
expectExit $code SIGTERM
read -r _ first _ _ _ _ _ last _ < <(python3 "$here/../support/shot.py" "$work/background.ppm" \
    "$work/shot.ppm" quarters)
[ "$first" -gt 0 ] && [ "$last" -gt 0 ] || fail "$scenario: traces $first in the first quarter, $last in the last"
echo "$scenario: a chain on each, $first pixels of traces in the first quarter, $last in the last"
quietKill $xwindow

# --- The desktop's layers, on the same two outputs.
# traces WHAT LIT DIFFER: a
# monitor's part (of $half pixels) all black but the traces, nothing of the
# compositor's grey left.
traces() {
    [ "$3" -eq $half ] && [ "$2" -gt 0 ] && [ "$2" -lt $((half / 4)) ] ||
        fail "$scenario: $1 has $2 pixels lit and $3 changed of $half: not traces on black"
}
# layer OPTION: the saver on the layers with seed 1, 1.5 s to come up, then the
# two monitors shot.
layer() {
    "${onSway[@]}" TESSALINE_SEED=1 "$dir/tessaline-saver" "$1" 2>"$work/stderr" &
    app=$!
    pids+=("$app")
    sleep 1.5
    kill -0 $app 2>/dev/null || fail "$scenario: the saver ended: $(cat "$work/stderr")"
    "${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
    read -r _ litL differL litR differR < <(python3 "$here/../support/shot.py" \
        "$work/background.ppm" "$work/shot.ppm" halves)
}
"${onSway[@]}" grim -g "0,0 1920x1080" -t ppm - >"$work/output.ppm"
scenario=wallpaper
layer -wallpaper
traces "the left monitor" "$litL" "$differL"
traces "the right monitor" "$litR" "$differR"
# A window opened over it covers one monitor (sway tiles it there) and a key goes
# to that window; the wallpaper goes on under it.
"${onX[@]}" "$dir/xprobe" window 1920 1080 ff00ff >"$work/window" &
pids+=($!)
sleep 1.5
"${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
read -r _ litL differL litR differR < <(python3 "$here/../support/shot.py" \
    "$work/background.ppm" "$work/shot.ppm" halves)
[ "$litL" -eq $half ] || fail "$scenario: the window shows on $litL pixels of the left monitor, not all"
traces "the right monitor, beside a window" "$litR" "$differR"
"${onSway[@]}" wtype -s 500 x
sleep 1
kill -0 $app 2>/dev/null || fail "$scenario: a key ended it"
quietKill "${pids[-1]}"
kill -TERM $app
exitWithin=2
expectExit 143 SIGTERM
echo "$scenario: traces on both monitors, under a window that covered one; a key left it running"

scenario=overlay
for end in key pointer; do
    layer -overlay
    traces "the left monitor" "$litL" "$differL"
    traces "the right monitor" "$litR" "$differR"
    case $end in
    key) "${onSway[@]}" wtype -s 500 x ;;
    pointer) "${onSway[@]}" "$dir/wpointer" 40 ;; # ends within its second
    esac
    expectExit 0 "a $end"
done
# An idle daemon starts it (its command runs after 1 s without input).
"${onSway[@]}" swayidle -w timeout 1 "$dir/tessaline-saver -overlay" >"$work/swayidle.log" 2>&1 &
idle=$!
pids+=($idle)
sleep 3
"${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
quietKill $idle
pkill -TERM -f "^$dir/tessaline-saver -overlay" || fail "swayidle's timeout started no saver"
read -r _ litL differL litR differR < <(python3 "$here/../support/shot.py" \
    "$work/background.ppm" "$work/shot.ppm" halves)
traces "swayidle's saver, the left monitor" "$litL" "$differL"
traces "swayidle's saver, the right monitor" "$litR" "$differR"
echo "$scenario: swayidle's timeout started it over both monitors"
# An output that comes gets its part at once; one that goes takes its part along.
layer -overlay
"${onSway[@]}" swaymsg create_output >/dev/null
sleep 1.5
"${onSway[@]}" grim -o HEADLESS-3 -t ppm - >"$work/shot.ppm"
read -r _ litL differL litR differR < <(python3 "$here/../support/shot.py" \
    "$work/output.ppm" "$work/shot.ppm" halves)
half=$((1920 * 1080 / 2)) # of one monitor
traces "a new monitor's left half" "$litL" "$differL"
traces "a new monitor's right half" "$litR" "$differR"
"${onSway[@]}" swaymsg output HEADLESS-3 disable >/dev/null
sleep 0.5
kill -0 $app 2>/dev/null || fail "$scenario: an output that went ended it"
kill -TERM $app
expectExit 143 SIGTERM
echo "$scenario: a new monitor showed traces at once"

# The compositor killed under the program, the saver and its overlay: one line
# naming it, exit 1 at once.
# Each run starts a sway of its own, and kills it.
run=0
for scenario in "tessaline, Wayland" "saver, Wayland" "overlay, Wayland" "tessaline, X11"; do
    run=$((run + 1))
    startSway "lost$run" 2
    name=$title command=("$dir/tessaline" c) line="connection to the Wayland compositor at 'wayland-"
    case "$scenario" in
    saver*) command=("$dir/tessaline-saver") name=Tessaline ;;
    *X11) command=(env -u WAYLAND_DISPLAY "DISPLAY=${onX[-1]#DISPLAY=}" "${command[@]}")
        line="connection to the X server was lost" ;;
    esac
    if [ "$scenario" = "overlay, Wayland" ]; then # no window in sway's tree: its layers
        layer -overlay
    else
        start "$name" "${command[@]}"
        sleep 0.5
    fi
    kill -KILL $sway
    exitWithin=1
    expectExit 1 "the compositor's end ($scenario)"
    [ "$(wc -l <"$work/stderr")" -eq 1 ] && grep -qF "$line" "$work/stderr" ||
        fail "$scenario: stderr is not one line with \"$line\": $(cat "$work/stderr")"
    echo "$scenario: $(cat "$work/stderr")"
done
