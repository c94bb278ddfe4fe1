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
#   startSway                  sway, headless, 1280x1024 at 60 Hz, software
#                              rendering, no input devices; onSway is the prefix
#                              that runs a program on it
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
    mkdir -m 700 "$dir/sway" "$dir/weston" # the runtime folders (XDG_RUNTIME_DIR)
    chmod 755 "$dir"
    [ ${#as[@]} -eq 0 ] || chown -R "$user": "$dir"
}
endWaylandSession() {
    for p in "${pids[@]}"; do { kill -KILL "$p" && wait "$p"; } 2>/dev/null || true; done
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
    cat >"$dir/sway.conf" <<'CONF'
output HEADLESS-1 mode 1280x1024@60Hz
default_border none
default_floating_border none
xwayland disable
CONF
    userEnv "$dir/sway"
    "${env[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$dir/sway.conf" >"$work/sway.log" 2>&1 &
    pids+=($!)
    waitSocket "$dir/sway" 'sway-ipc.*.sock'
    onSway=("${env[@]}" SWAYSOCK="$dir/sway/$socket")
    waitSocket "$dir/sway" 'wayland-*'
    onSway+=(WAYLAND_DISPLAY="$socket")
}
