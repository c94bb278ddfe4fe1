# shellcheck shell=bash
# Sourced by the end-to-end scripts, which set scenario, exitWithin (seconds),
# fail, and app (the pid of the program started last).
#   waitWindow TITLE SECONDS  waits for a window of exactly that title while the
#                             program runs, and leaves its id in $window
#   expectExit CODE WHAT      the program ends within $exitWithin s with CODE
#   startLit SHOT COMMAND...  starts the program with seed 1 (its first colour
#                             shows on black; about one in 17 would not), stderr
#                             to $work/stderr, pid in app, and waits for its
#                             window ($title); a second later shoots the screen
#                             into $work/SHOT.xwd, which must show something lit.
#                             Needs $xprobe.
waitWindow() {
    window=""
    for _ in $(seq $(($2 * 20))); do
        window=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
        [ -n "$window" ] && return 0
        kill -0 $app 2>/dev/null || fail "the program ended before its window appeared"
        sleep 0.05
    done
    fail "no window titled '$1' after $2 s"
}

expectExit() {
    for _ in $(seq $((exitWithin * 20))); do kill -0 $app 2>/dev/null || break; sleep 0.05; done
    kill -0 $app 2>/dev/null && fail "still running $exitWithin s after $2"
    set +e
    wait $app
    local code=$?
    set -e
    [ $code -eq "$1" ] || fail "exit code $code after $2, not $1"
    echo "$scenario: $2 ended it with $code"
}

startLit() {
    local shot=$1
    shift
    TESSALINE_SEED=1 "$@" 2>"$work/stderr" &
    app=$!
    pids+=($app)
    waitWindow "$title" 5
    sleep 1
    xwd -root -silent >"$work/$shot.xwd"
    [ "$("$xprobe" coloured "$work/$shot.xwd" | cut -d' ' -f1)" -gt 0 ] ||
        fail "nothing drawn a second after the window appeared"
}
