#!/usr/bin/env bash
# The program on headless Wayland compositors, screenshots taken with grim.
#   wayland.sh TESSALINE TESSALINE_SAVER WORKDIR
# Under sway (1280x1024, no input devices): at letters a and e, 2 s after its
# window is mapped, the screen shows coloured traces (neither black nor the
# desktop background), 320x240 four times enlarged within 1280x960 at (0, 32);
# SIGTERM ends it with 0 (Esc cannot be typed without a keyboard). The same holds
# for the screensaver in a window of its own (sway tiles it over the output), which
# SIGTERM ends by the signal, as screensavers end. With the
# accelerated window surface refused (SDL_FRAMEBUFFER_ACCELERATION=0) it exits 1
# with one line instead of running invisibly. With no compositor reachable, and
# under Weston's headless backend (no seat, where SDL 2.26 itself would crash):
# exit 1 with one line. Exit 77 (skipped) when the compositors are not installed.
set -euo pipefail
tessaline=$1 saver=$2 work=$3
title="Tessaline II alpha 1"
for tool in sway swaymsg grim weston python3 setpriv; do
    command -v $tool >/dev/null ||
        { echo "SKIP: $tool is not installed (scripts/deps.sh installs sway, grim, weston)"; exit 77; }
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
waylandSession "$tessaline" "$saver"

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

cat >"$work/shot.py" <<'PY'
# shot.py BACKGROUND SHOT (binary PPMs of one size, as grim writes them): how many
# pixels of SHOT are neither black nor the BACKGROUND pixel at their place, and
# the rows of the first and last of them (half-open). Whole screens as integers,
# a pixel per 24 bits, so that the interpreter loops over nothing.
import sys
def screen(path):
    _, size, _, data = open(path, 'rb').read().split(b'\n', 3)
    return int(size.split()[0]), len(data), int.from_bytes(data, 'little')
width, n, shot = screen(sys.argv[2])
_, _, background = screen(sys.argv[1])
bytes_ = int.from_bytes(b'\1' * n, 'little')
pixels = int.from_bytes(b'\1\0\0' * (n // 3), 'little')
def set_pixels(x):  # bit 24i set when pixel i has a byte that is not 0
    x |= x >> 4
    x |= x >> 2
    x |= x >> 1
    x &= bytes_
    return (x | x >> 8 | x >> 16) & pixels
lit = set_pixels(shot) & set_pixels(shot ^ background)
first = ((lit & -lit).bit_length() - 1) // 24
last = (lit.bit_length() - 1) // 24
print(bin(lit).count('1'), first // width if lit else 0, last // width + 1 if lit else 0)
PY

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

for scenario in "letter a" "letter e" saver; do
    # Seed 1's first colour shows on black (a colour with every channel below 100
    # would not); the saver draws such a colour again anyway. A daemon expects its
    # hack to die by the signal it sent (128 + 15 in the shell).
    case "$scenario" in
    letter*) command=(TESSALINE_SEED=1 "$dir/tessaline" "${scenario#letter }") name=$title code=0 ;;
    saver) command=("$dir/tessaline-saver") name=Tessaline code=143 ;;
    esac
    start "$name" "${command[@]}"
    sleep 2
    "${onSway[@]}" grim -t ppm - >"$work/shot.ppm"
    kill -TERM $app
    exitWithin=5
    expectExit $code SIGTERM
    [ ! -s "$work/stderr" ] || fail "$scenario: the program wrote to stderr"
    read -r lit y0 y1 < <(python3 "$work/shot.py" "$work/background.ppm" "$work/shot.ppm")
    [ "$lit" -gt 0 ] || fail "$scenario: nothing coloured on the screen 2 s after the window was mapped"
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
