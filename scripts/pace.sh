#!/usr/bin/env bash
# What the screensaver's pace costs and how it looks, on 1920x1080 Xvfb screens of
# its own: for each delay, the share of a core that tessaline-saver -root and the
# X server take over SECONDS (one saver alone on its server), and the mean
# brightness ((R + G + B) / 3) of the lit pixels after LOOK seconds, over SEEDS
# seeds run side by side. Hacks of the XScreenSaver daemon named with --hacks are
# measured the same way for comparison (cost only).
#   scripts/pace.sh [--seconds S] [--look S] [--seeds N] [--hacks "swirl ..."]
#                   [--pictures DIR] RUN...
# RUN is a delay in microseconds, "default", or "feathered" (the thin threads
# at the default delay); --seeds 0 leaves the look out. --pictures
# keeps seed 1's picture of each delay as DIR/saver-DELAY.png (its own 960x540
# pixels: the saver draws at pixel size 2 on 1080 rows). Prints one
# table; needs a build in build/ (or the saver named in $TESSALINE_SAVER).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=10 look=60 seeds=5 hacks="" pictures=""
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) seconds=$2 && shift 2 ;;
    --look) look=$2 && shift 2 ;;
    --seeds) seeds=$2 && shift 2 ;;
    --hacks) hacks=$2 && shift 2 ;;
    --pictures) pictures=$2 && shift 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || set -- default
bash scripts/deps.sh xvfb x11-apps x11-xserver-utils python3
[ -z "$hacks" ] || bash scripts/deps.sh xscreensaver xscreensaver-data
saver=${TESSALINE_SAVER:-build/app/tessaline-saver}
[ -x "$saver" ] || { echo "pace.sh: build $saver first (scripts/test.sh or cmake)" >&2; exit 1; }
work=$(mktemp -d /tmp/tess-pace.XXXXXX)
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
ticks=$(getconf CLK_TCK)

# Starts an Xvfb; its display number in $display, its pid in $server.
server() {
    local fifo=$work/display.$RANDOM
    exec 3>"$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    server=$!
    pids+=("$server")
    exec 3>&-
    for _ in $(seq 250); do [ -s "$fifo" ] && break; sleep 0.02; done
    display=":$(head -1 "$fifo")"
}
cpuTicks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Share of a core (%) that a program and the X server take over $seconds, after
# two seconds to settle; prints "program% server%".
cost() {
    server
    DISPLAY=$display "$@" >/dev/null 2>&1 &
    local app=$!
    pids+=("$app")
    sleep 2
    local a0 x0 t0 a1 x1 t1
    a0=$(cpuTicks $app) x0=$(cpuTicks "$server") t0=$(date +%s.%N)
    sleep "$seconds"
    a1=$(cpuTicks $app) x1=$(cpuTicks "$server") t1=$(date +%s.%N)
    kill $app "$server" 2>/dev/null || true
    wait $app "$server" 2>/dev/null || true
    awk -v a="$((a1 - a0))" -v x="$((x1 - x0))" -v t="$t0" -v u="$t1" -v hz="$ticks" \
        'BEGIN { s = u - t; printf "%.1f %.1f\n", 100 * a / hz / s, 100 * x / hz / s }'
}

# Mean brightness of the lit pixels after $look seconds, one saver per seed.
#   lookOf NAME SAVER-OPTION...
lookOf() {
    local name=$1 shots=() apps=() servers=() xservers=() seed
    shift
    for seed in $(seq "$seeds"); do
        server
        DISPLAY=$display TESSALINE_SEED=$seed "$saver" -root "$@" >/dev/null 2>&1 &
        apps+=($!)
        pids+=($!)
        servers+=("$display")
        xservers+=("$server")
    done
    sleep "$look"
    for i in "${!servers[@]}"; do
        DISPLAY=${servers[$i]} xwd -root -silent >"$work/look$i.xwd"
        shots+=("$work/look$i.xwd")
    done
    # A subshell runs this: its own pids do not reach the cleanup.
    kill "${apps[@]}" "${xservers[@]}" 2>/dev/null || true
    [ -z "$pictures" ] || python3 scripts/xwd.py png "${shots[0]}" "$pictures/saver-$name.png" 2
    python3 scripts/xwd.py brightness "${shots[@]}"
}

heading="mean lit brightness and pixels after ${look} s, ${seeds} seeds (each)"
[ "$seeds" -gt 0 ] || heading=""
printf '%-22s %8s %8s %8s   %s\n' "run" "saver %" "X %" "sum %" "$heading"
for delay in "$@"; do
    args=()
    case $delay in
    default) ;;
    feathered) args=(-feathered) ;;
    *) args=(-delay "$delay") ;;
    esac
    read -r mine x < <(cost "$saver" -root "${args[@]}")
    brightness=""
    [ "$seeds" -eq 0 ] || brightness=$(lookOf "$delay" "${args[@]}")
    name="tessaline ${args[*]:-(default)}"
    printf '%-22s %8s %8s %8s   %s\n' "$name" "$mine" "$x" \
        "$(awk "BEGIN { print $mine + $x }")" "$brightness"
    kill "${pids[@]}" 2>/dev/null || true
    pids=()
done
for hack in $hacks; do
    read -r mine x < <(cost "/usr/libexec/xscreensaver/$hack" -root)
    printf '%-22s %8s %8s %8s\n' "$hack" "$mine" "$x" "$(awk "BEGIN { print $mine + $x }")"
done
