# shellcheck shell=bash
# Sourced by the scripts that run our programs under headless Wayland
# compositors, after they set work and define fail.
#   waylandSession PROGRAM...  a folder of our own ($dir, removed at the end, when
#                              every process in pids is killed too) holding copies
#                              of the programs; as root, an unprivileged user to run
#                              everything as (sway refuses root)
#   userEnv RUNTIME            sets env, the command prefix that runs a program as
#                              that user in the runtime folder RUNTIME, with a clean
#                              environment (no DISPLAY) but the sanitizer options
#   waitSocket DIR PATTERN     waits for a socket there; its name in $socket
#   quietKill PID              kills it and waits for it, without the shell's notice
#   startSway [NAME OUTPUTS]   sway, headless, software rendering, no input
#                              devices, in runtime folder $dir/NAME (sway by
#                              default): one output of 1280x1024 at 60 Hz, or
#                              with OUTPUTS 2 two of 1920x1080 side by side and
#                              Xwayland; onSway is the prefix that runs a program
#                              on it, onX (two outputs) the one that runs it on
#                              Xwayland's X display instead; its pid is $sway
waylandSession() {
    as=()
    if [ "$(id -u)" -eq 0 ]; then
        user=tess-wayland
        id -u $user >/dev/null 2>&1 ||
            useradd --system --no-create-home --shell /usr/sbin/nologin $user
        as=(setpriv --reuid="$(id -u $user)" --regid="$(id -g $user)" --init-groups)
    fi
    dir=$(mktemp -d /tmp/tess-wayland.XXXXXX)
    pids=()
    trap endWaylandSession EXIT
    local program
    for program in "$@"; do cp "$program" "$dir/"; done
    mkdir -m 700 "$dir/weston" # its runtime folder (XDG_RUNTIME_DIR); startSway makes its own
    chmod 755 "$dir"
    [ ${#as[@]} -eq 0 ] || chown -R "$user": "$dir"
}
# quietKill PID: killed and waited for, without the shell's notice.
quietKill() { { kill -KILL "$1" && wait "$1"; } 2>/dev/null || true; }
endWaylandSession() {
    for p in "${pids[@]}"; do quietKill "$p"; done
    rm -rf "$dir"
}

# An array, not a function, so that $! is the program itself.
userEnv() {
    env=("${as[@]}" env -i HOME="$dir" PATH="$PATH" XDG_RUNTIME_DIR="$1")
    for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do [ -z "${!v:-}" ] || env+=("$v=${!v}"); done
}

waitSocket() {
    for _ in $(seq 500); do # 10 s at most
        for socket in "$1"/$2; do
            [ -S "$socket" ] && { socket=${socket##*/}; return; }
        done
        sleep 0.02
    done
    fail "no socket $2 in $1: the compositor did not start"
}

startSway() {
    local name=${1:-sway} outputs=${2:-1} runtime
    runtime="$dir/${1:-sway}"
    mkdir -p -m 700 "$runtime"
    [ ${#as[@]} -eq 0 ] || chown "$user": "$runtime"
    if [ "$outputs" -eq 1 ]; then
        printf '%s\n' "output HEADLESS-1 mode 1280x1024@60Hz" "xwayland disable" >"$runtime.conf"
    else
        printf '%s\n' "output HEADLESS-1 mode 1920x1080@60Hz position 0 0" \
            "output HEADLESS-2 mode 1920x1080@60Hz position 1920 0" "xwayland force" >"$runtime.conf"
    fi
    printf '%s\n' "default_border none" "default_floating_border none" >>"$runtime.conf"
    userEnv "$runtime"
    "${env[@]}" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$outputs" WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman sway -c "$runtime.conf" >"$work/$name.log" 2>&1 &
    sway=$!
    pids+=($sway)
    waitSocket "$runtime" 'sway-ipc.*.sock'
    onSway=("${env[@]}" SWAYSOCK="$runtime/$socket")
    waitSocket "$runtime" 'wayland-*'
    onSway+=(WAYLAND_DISPLAY="$socket")
    [ "$outputs" -gt 1 ] || return 0
    # Xwayland's display, as sway hands it to what it runs once Xwayland is ready.
    local display=""
    for _ in $(seq 100); do
        "${onSway[@]}" swaymsg exec "echo \$DISPLAY >$runtime/x-display" >/dev/null
        sleep 0.1
        display=$(cat "$runtime/x-display" 2>/dev/null || true)
        [ -z "$display" ] || break
    done
    [ -n "$display" ] || fail "sway started no Xwayland"
    onX=("${env[@]}" DISPLAY="$display")
}
