#!/usr/bin/env bash
# Our figures beside the Windows build's under wine, from one run on one X server
# (Xvfb, 1280x1024): the benchmarks of bench/gdi_bench.cpp (medians of repeated
# batches) and, for the program at each resolution letter, its frames per second,
# how often the screen was updated (bench/xpresents, as a compositor would see
# it) and the X server's share of a core, both over the seconds frames were counted;
# then frames and screen updates per second at letters a and e under sway (headless,
# software GL), beside the same on X11; the browser page (Emscripten) in headless
# Chromium at a and e, with its renderer process's load; then what the screensaver
# costs and how it looks on a 1920x1080 screen at its default pace, feathered and at
# delay 0, beside two of XScreenSaver's own hacks (scripts/pace.sh); and what it
# costs on the layers of a Wayland desktop of two outputs.
#   scripts/bench.sh [REPETITIONS] [MIN_TIME_S] [FPS_SECONDS]   (defaults 9 0.1 5)
# Writes its raw results to build-bench/results/. Needs mingw-w64 and wine64.
# Every run of the program starts from the same seed, $TESSALINE_SEED (default 1),
# so that rows compare the same picture: unseeded, a run whose first colour cannot
# show on black changes no pixel and presents nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
reps=${1:-9} mintime=${2:-0.1} fpssec=${3:-5}
export TESSALINE_SEED=${TESSALINE_SEED:-1}
bash scripts/deps.sh g++ cmake make pkg-config libsdl2-dev libwayland-dev librust-wayland-protocols-dev libbenchmark-dev \
    libx11-dev libxdamage-dev libxrandr-dev xvfb x11-xserver-utils mingw-w64 wine64 python3 \
    sway xwayland weston libegl-mesa0 libgl1-mesa-dri emscripten chromium
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
# A prefix of our own: its wineserver and desktop see only this run's X server,
# whatever other wine programs run on the machine.
export WINEPREFIX="$PWD/build-win64-bench/wineprefix"

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTESS_BUILD_BENCH=ON -DTESS_BUILD_TESTS=OFF \
    -DTESS_FPS_SECONDS="$fpssec" >/dev/null
cmake --build build-bench -j2 --target gdi-bench tessaline-fps xpresents >/dev/null
toolchain=()
# Given again to an existing build directory, CMake only warns that it is unused.
[ -f build-win64-bench/CMakeCache.txt ] ||
    toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
cmake -S . -B build-win64-bench "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DTESS_BUILD_BENCH=ON -DTESS_BUILD_TESTS=OFF \
    -DTESS_FPS_SECONDS="$fpssec" >/dev/null
cmake --build build-win64-bench -j2 --target gdi-bench tessaline-fps >/dev/null

out=build-bench/results
rm -rf "$out"
mkdir -p "$out"
xvfb="" watchers=()
cleanup() { kill "${watchers[@]}" $xvfb 2>/dev/null || true; }
trap cleanup EXIT
fail() {
    echo "bench.sh: $*" >&2
    exit 1
}
exec 3>"$out/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 250); do [ -s "$out/display" ] && break; sleep 0.02; done
export DISPLAY=":$(head -1 "$out/display")"
xset q >/dev/null
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
[ -d "$WINEPREFIX" ] || echo "making the wine prefix (once)" >&2
"$wine" wineboot -i >/dev/null 2>&1

flags=(--benchmark_repetitions="$reps" --benchmark_min_time="$mintime")
echo "benchmarks: ours" >&2
build-bench/bench/gdi-bench "${flags[@]}" --benchmark_out="$out/ours.json" \
    --benchmark_out_format=json >/dev/null 2>"$out/ours.log"
echo "benchmarks: wine" >&2
"$wine" build-win64-bench/bench/gdi-bench.exe "${flags[@]}" --benchmark_out="$out/wine.json" \
    >/dev/null 2>"$out/wine.log"

# Runs one build of the program at one letter, with the screen's updates timed
# and the X server's CPU time sampled alongside (wall-clock seconds throughout).
#   measure NAME COMMAND...
measure() {
    local name=$1
    shift
    build-bench/bench/xpresents >"$out/presents-$name.txt" &
    watchers=($!)
    (while :; do
        echo "$(date +%s.%N) $(awk '{print $14 + $15}' /proc/$xvfb/stat)"
        sleep 0.05
    done) >"$out/xcpu-$name.txt" &
    watchers+=($!)
    until grep -q ready "$out/presents-$name.txt" 2>/dev/null; do sleep 0.02; done
    "$@" 2>"$out/fps-$name.txt" >/dev/null
    sleep 0.1
    kill "${watchers[@]}"
    wait "${watchers[@]}" 2>/dev/null || true
    watchers=()
}

# The Windows build switches the display, which wine does inside a virtual
# desktop of the screen's size; ours emulates the switch in a full-screen window.
for letter in a b c d e; do
    echo "fps $letter: ours, wine" >&2
    measure "ours-$letter" build-bench/bench/tessaline-fps "$letter"
    measure "wine-$letter" "$wine" explorer /desktop="tessbench$letter,1280x1024" \
        build-win64-bench/bench/tessaline-fps.exe "$letter"
done

# Wayland: sway, headless. Its screen updates are the program's own commits of its
# window's surface, counted in the protocol log (WAYLAND_DEBUG) over the run.
kill $xvfb
cleanup
work=$out
# shellcheck source=../tests/support/wayland_session.sh
. tests/support/wayland_session.sh
cmake --build build-bench -j2 --target tessaline-saver >/dev/null
# The X window the saver draws into beside its layers (a test helper, built here alone).
g++ -O2 -o build-bench/xprobe tests/e2e/xprobe.cpp -lX11 -lXdamage
waylandSession build-bench/bench/tessaline-fps build-bench/app/tessaline-saver build-bench/xprobe
startSway
for letter in a e; do
    echo "fps $letter: ours on sway" >&2
    # (The session's programs start with a clean environment: the seed is passed on.)
    "${onSway[@]}" TESSALINE_SEED="$TESSALINE_SEED" WAYLAND_DEBUG=client "$dir/tessaline-fps" \
        "$letter" 2>"$out/wayland-$letter.log" >/dev/null
    grep -E '^(frames|\[)' "$out/wayland-$letter.log" | grep -cE -- '-> wl_surface@[0-9]+\.commit\(' \
        >"$out/commits-wayland-$letter.txt" || true
    grep '^frames' "$out/wayland-$letter.log" >"$out/fps-wayland-$letter.txt"
done

# The saver on the desktop's layers of sway with two 1920x1080 outputs (headless,
# software rendering): -overlay, beside the X saver in one Xwayland window over
# both outputs, then -wallpaper seen and covered by a full-screen window on each
# output; the share of a core the saver, sway and Xwayland take over 20 s, after
# 5 s to settle.
quietKill $sway
startSway layers 2
cpuTicks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
xwayland=$(pgrep -u "${user:-$(id -un)}" -n Xwayland)
layerCost() {
    local name=$1 pid a0 s0 x0 t0 a1 s1 x1 t1
    shift
    echo "layers: $name" >&2
    "$@" 2>>"$out/layers.log" &
    pid=$!
    pids+=($pid)
    sleep 5
    a0=$(cpuTicks $pid) s0=$(cpuTicks $sway) x0=$(cpuTicks "$xwayland") t0=$(date +%s.%N)
    sleep 20
    a1=$(cpuTicks $pid) s1=$(cpuTicks $sway) x1=$(cpuTicks "$xwayland") t1=$(date +%s.%N)
    kill -TERM $pid
    wait $pid || true
    awk -v a=$((a1 - a0)) -v s=$((s1 - s0)) -v x=$((x1 - x0)) -v t0="$t0" -v t1="$t1" \
        -v hz="$(getconf CLK_TCK)" -v n="$name" 'BEGIN { d = (t1 - t0) * hz
        printf "  %-46s %5.1f %%   saver %4.1f, sway %4.1f, Xwayland %4.1f\n", n,
            100 * (a + s + x) / d, 100 * a / d, 100 * s / d, 100 * x / d }' >>"$out/layers.txt"
}
saver=(TESSALINE_SEED="$TESSALINE_SEED" "$dir/tessaline-saver")
layerCost "tessaline-saver -overlay" "${onSway[@]}" "${saver[@]}" -overlay
"${onX[@]}" "$dir/xprobe" window 3840 1080 000000 over >"$out/window" &
xwindow=$!
pids+=($xwindow)
for _ in $(seq 100); do [ -s "$out/window" ] && break; sleep 0.05; done
layerCost "tessaline-saver -window-id (X, over both)" "${onX[@]}" "${saver[@]}" \
    -window-id "$(head -1 "$out/window")"
quietKill $xwindow
layerCost "tessaline-saver -wallpaper" "${onSway[@]}" "${saver[@]}" -wallpaper
for output in HEADLESS-1 HEADLESS-2; do
    "${onSway[@]}" swaymsg focus output $output >/dev/null
    "${onSway[@]}" weston-fullscreen >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    "${onSway[@]}" swaymsg fullscreen enable >/dev/null
done
layerCost "tessaline-saver -wallpaper, covered" "${onSway[@]}" "${saver[@]}" -wallpaper

# The browser page in headless Chromium: frames and presents per second of the frame
# counter build at ?delay=0, and the renderer's share of a core at the page's
# default pace (and at ?delay=0) over the same seconds.
export NODE_PATH=/usr/share/nodejs # Debian's emcc finds acorn there
emcmake cmake -S . -B build-web-bench -DCMAKE_BUILD_TYPE=MinSizeRel -DTESS_BUILD_TESTS=OFF \
    -DTESS_BUILD_BENCH=ON -DTESS_FPS_SECONDS="$fpssec" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
cmake --build build-web-bench -j2 --target tessaline-fps-page tessaline-page >/dev/null
(cd tests/web && npm ci --no-audit --no-fund >/dev/null)
echo "fps a, e and load: ours in headless Chromium" >&2
node bench/webfps.js build-web-bench/tessaline-fps.html build-web-bench/tessaline.html "$fpssec" \
    "$out" "$(getconf CLK_TCK)" "$TESSALINE_SEED"

echo "every run of the program from seed $TESSALINE_SEED (TESSALINE_SEED)"
python3 scripts/bench_table.py "$out" "$(getconf CLK_TCK)"

echo
echo "The screensaver's cost and look (share of one core over 10 s; lit pixels and their"
echo "brightness after 60 s, over 5 seeds; 1920x1080 Xvfb), beside two of XScreenSaver's hacks:"
TESSALINE_SAVER=build-bench/app/tessaline-saver bash scripts/pace.sh --seconds 10 --look 60 \
    --seeds 5 --hacks "swirl metaballs" default feathered 0
echo
echo "The screensaver on sway's layers, two 1920x1080 outputs (share of one core):"
cat "$out/layers.txt"
