# Sourced by the end-to-end scripts: start_xvfb WxHxD [WxHxD...] starts an X server
# of our own (a screen for each size) on a free display number, waits until it
# answers, exports DISPLAY (its first screen; the number alone in $displayNumber)
# and turns key repeat off (a held key is one press). Uses the caller's $work,
# pids and fail().
start_xvfb() {
    local screens=() i=0
    for size in "$@"; do
        screens+=(-screen $((i++)) "$size")
    done
    exec 3>"$work/display"
    # -noreset: by default the server resets whenever its last client leaves, refusing
    # connections meanwhile and forgetting settings such as the key repeat.
    Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    exec 3>&-
    for _ in $(seq 250); do [ -s "$work/display" ] && break; sleep 0.02; done
    local number
    number=$(head -1 "$work/display")
    [ -n "$number" ] && DISPLAY=":$number" xset q >/dev/null 2>&1 || fail "Xvfb did not start"
    displayNumber=$number
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY
    xset r off
}

