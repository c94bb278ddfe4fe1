#!/usr/bin/env bash
# Runs a program for a while on an X server of its own (Xvfb 1280x1024x24) and
# watches what it holds: resident memory, open descriptors and X resources.
#
#   scripts/soak.sh [-i SECONDS] SECONDS [letter]       the program, letter a..e (default c)
#   scripts/soak.sh [-i SECONDS] SECONDS -- COMMAND...  any other program, run the same way
#
# The program is build/app/tessaline (built first), or $TESSALINE when set. A
# sample is taken every -i seconds (default 5): VmRSS, the entries of
# /proc/PID/fd, and xrestop's counts summed over every client of the server but
# xrestop itself (SDL opens more than one connection, and only one of them owns a
# window xrestop can name). The first sample after a 5 s warm-up is the
# reference: later ones may not hold more than 64 KiB of extra memory, one more
# descriptor or one more X resource. At the end the program gets SIGTERM and must
# end within 5 s, with 0 or by the signal itself (143: the screensaver re-raises
# it once it has cleaned up). Exits 1 when anything grew or the program misbehaved.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() {
    echo "usage: $0 [-i SECONDS] SECONDS [letter | -- COMMAND [ARGS...]]" >&2
    exit 2
}
interval=5
while getopts "i:" opt; do
    case $opt in
    i) interval=$OPTARG ;;
    *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] && [[ $1 =~ ^[0-9]+$ ]] && [[ $interval =~ ^[0-9]+$ ]] && [ "$interval" -gt 0 ] ||
    usage
seconds=$1
shift
warmup=5
rssSlackKib=64

bash "$root/scripts/deps.sh" xvfb xrestop x11-xserver-utils
if [ "${1:-}" = "--" ]; then
    shift
    [ $# -ge 1 ] || usage
    command=("$@")
else
    [ $# -le 1 ] || usage
    tessaline=${TESSALINE:-}
    if [ -z "$tessaline" ]; then
        bash "$root/scripts/deps.sh" g++ cmake make pkg-config libsdl2-dev
        cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$root/build" -j2 --target tessaline >/dev/null
        tessaline=$root/build/app/tessaline
    fi
    command=("$tessaline" "${1:-c}")
fi

work=$(mktemp -d /tmp/soak.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do
        kill -KILL "$p" 2>/dev/null && wait "$p" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ ! -s "$work/stderr" ] || sed 's/^/  program stderr: /' "$work/stderr" >&2
    exit 1
}
# shellcheck source=../tests/support/xvfb.sh
. "$root/tests/support/xvfb.sh"
start_xvfb 1280x1024x24
unset SDL_VIDEODRIVER

"${command[@]}" 2>"$work/stderr" &
app=$!
pids+=("$app")
started=$(date +%s.%N)
echo "soak: ${command[*]} (pid $app) on DISPLAY=$DISPLAY for $seconds s, a sample every $interval s"

# Prints "windows pixmaps gcs other" summed over the server's clients, leaving
# out the server's own (resource base 0) and xrestop's.
xResources() {
    xrestop -b -m 1 2>/dev/null | awk '
        /^[0-9]+ - / { skip = ($0 ~ / - xrestop /); next }
        /res_base/ { if ($3 == "0") skip = 1; next }
        skip { next }
        /^\twindows/ { w += $3; next }
        /^\tpixmaps/ { p += $3; next }
        /^\tGCs/ { g += $3; next }
        /^\t(fonts|pictures|glyphsets|colormaps|passive grabs|cursors|unknowns)[ ]*:/ {
            o += $NF; next }
        END { printf "%d %d %d %d\n", w, p, g, o }'
}

printf '%8s %10s %5s %8s %8s %5s %6s\n' seconds rss_kib fds windows pixmaps gcs other
ref=""
grew=""
next=$interval
while :; do
    now=$(date +%s.%N)
    sleepFor=$(awk -v s="$started" -v n="$now" -v t="$next" 'BEGIN { d = s + t - n; print (d > 0 ? d : 0) }')
    sleep "$sleepFor"
    kill -0 "$app" 2>/dev/null || fail "the program ended after ${next} s at most"
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app/status")
    fds=$(find "/proc/$app/fd" -mindepth 1 -maxdepth 1 | wc -l)
    read -r windows pixmaps gcs other < <(xResources)
    sample="$rss $fds $windows $pixmaps $gcs $other"
    note=""
    if [ "$next" -lt "$warmup" ]; then
        note="warm-up"
    elif [ -z "$ref" ]; then
        ref=$sample
        note="reference"
    else
        read -r rRss rFds rWindows rPixmaps rGcs rOther <<<"$ref"
        [ "$rss" -le $((rRss + rssSlackKib)) ] || note+=" rss"
        [ "$fds" -le "$rFds" ] || note+=" fds"
        [ "$windows" -le "$rWindows" ] || note+=" windows"
        [ "$pixmaps" -le "$rPixmaps" ] || note+=" pixmaps"
        [ "$gcs" -le "$rGcs" ] || note+=" gcs"
        [ "$other" -le "$rOther" ] || note+=" other"
        [ -z "$note" ] || { grew+="$note"; note="GREW:$note"; }
    fi
    printf "%8d %10d %5d %8d %8d %5d %6d  %s\n" "$next" "$rss" "$fds" "$windows" "$pixmaps" "$gcs" \
        "$other" "$note"
    [ "$next" -lt "$seconds" ] || break
    next=$((next + interval))
    [ "$next" -le "$seconds" ] || next=$seconds
done

kill -TERM "$app"
for _ in $(seq 250); do kill -0 "$app" 2>/dev/null || break; sleep 0.02; done
problems=()
[ -n "$ref" ] || problems+=("no sample after the ${warmup} s warm-up: run longer than that")
[ -z "$grew" ] || problems+=("grew after the warm-up:$(tr ' ' '\n' <<<"$grew" | sort -u | tr '\n' ' ')")
if kill -0 "$app" 2>/dev/null; then
    problems+=("still running 5 s after SIGTERM")
else
    set +e
    wait "$app"
    code=$?
    set -e
    [ "$code" -eq 0 ] || [ "$code" -eq 143 ] ||
        problems+=("SIGTERM ended it with $code, neither 0 nor by the signal (143)")
fi
[ ${#problems[@]} -eq 0 ] || fail "$(printf '%s; ' "${problems[@]}")"
echo "soak: flat for $seconds s (reference: rss ${ref%% *} KiB), SIGTERM ended it with $code"
