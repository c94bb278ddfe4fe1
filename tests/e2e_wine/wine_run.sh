# shellcheck shell=bash
# Sourced by the wine end-to-end scripts, after they set scenario, wine, exe,
# work, title and WINEPREFIX (exported, with WINEDEBUG=-all). Gives fail, the
# prefix set-up, a wine session on an Xvfb of our own, and ways to run the
# program: start (wait for its window by title), expectExit, runToEnd.
# shellcheck source=../support/app_run.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/app_run.sh"
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
mkdir -p "$work"
fail() {
    echo "FAIL ($scenario): $*" >&2
    exit 1
}

# The first start of a new prefix runs its set-up for tens of seconds: make it
# once, with no display, so that no scenario pays for it inside its timeout.
makePrefix() {
    [ -f "$WINEPREFIX/system.reg" ] && { echo "prefix: $WINEPREFIX exists"; return 0; }
    local start
    start=$(date +%s)
    env -u DISPLAY -u WAYLAND_DISPLAY "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
        fail "wineboot: $(tail -3 "$work/wineboot.log")"
    "$wineserver" -w
    echo "prefix: made $WINEPREFIX in $(($(date +%s) - start)) s"
}

# An Xvfb of the given size and a fresh wine server tied to it.
startSession() {
    pids=()
    trap endSession EXIT
    "$wineserver" -k 2>/dev/null || true # one left from an earlier, failed run
    "$wineserver" -w 2>/dev/null || true
    # shellcheck source=../support/xvfb.sh
    . "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb.sh"
    start_xvfb "$1"
}
endSession() {
    # The prefix's server keeps its desktop tied to this X server: end it with it.
    "$wineserver" -k 2>/dev/null || true
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
}

# Starts the program with the given arguments and waits (20 s at most: a wine
# start takes seconds) for its window titled $title.
start() {
    local started
    started=$(date +%s.%N)
    "$wine" "$exe" "$@" >"$work/out" 2>&1 &
    app=$!
    pids+=("$app")
    waitWindow "$title" 20
    echo "$scenario: window after $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $started }") s"
}
exitWithin=5

# Runs the program to its end (30 s at most), leaving its exit code in $code.
runToEnd() {
    local started
    started=$(date +%s.%N)
    set +e
    timeout 30 "$wine" "$exe" "$@" >"$work/out" 2>&1
    code=$?
    set -e
    echo "$scenario: '$*' ended with $code after $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $started }") s"
}

probe() { "$wine" "$probe" "$@" | tr -d '\r'; }
