#!/usr/bin/env bash
# tessaline-saver run by an XScreenSaver 6 daemon on its own Xvfb (800x600), as
# the daemon's only program, started the usual way: "tessaline-saver --root"
# with the daemon's window in XSCREENSAVER_WINDOW (that window covers the root,
# so a saver drawing into the root shows nothing).
#   saver_daemon.sh TESSALINE_SAVER XPROBE WORKDIR
# Checks: -activate puts coloured traces on the screen within 8 s (the daemon
# fades for about 3 s first); -deactivate ends the saver by its SIGTERM, as the
# daemon expects of its programs, within 2 s and leaves no process of it
# behind: the daemon never sends more than that one SIGTERM, and a saver that
# ignores it stays on as an orphan.
# The daemon refuses to launch programs as root, so it runs as an unprivileged
# user made here if missing; this script itself needs root (exit 77 otherwise).
set -euo pipefail
saver=$1 xprobe=$2 work=$3
user=tess-saver
mkdir -p "$work"
fail() {
    echo "FAIL (saver_daemon): $*" >&2
    [ ! -s "$work/daemon.log" ] || grep -vE '^\s*$|###' "$work/daemon.log" | tail -15 |
        sed 's/^/  daemon: /' >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || { echo "saver_daemon: needs root (to run the daemon as $user)"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/../../scripts/deps.sh" xscreensaver xvfb x11-apps x11-xserver-utils
id -u "$user" >/dev/null 2>&1 || useradd --system --shell /usr/sbin/nologin "$user"

# Everything the user touches lives in a directory of its own: its HOME (with
# the settings file) and a copy of the saver (the build tree may be closed to it).
stage=$(mktemp -d /tmp/tess-saver.XXXXXX)
chmod 755 "$stage"
mkdir "$stage/home"
install -m 755 "$saver" "$stage/tessaline-saver"
# cycle 0: never swapped for another program; fade is the daemon's default, and
# unfade keeps it alive for the fade back in, long enough to report the saver's
# exit status in its log.
cat >"$stage/home/.xscreensaver" <<EOF
timeout: 0:30:00
cycle: 0
lock: False
fade: True
unfade: True
fadeSeconds: 0:00:03
splash: False
dpmsEnabled: False
mode: one
selected: 0
programs: $stage/tessaline-saver --root
EOF
chown -R "$user:" "$stage/home"

pids=()
daemon=""
cleanup() {
    [ -z "$daemon" ] || { asUser xscreensaver-command -exit >/dev/null 2>&1 || true; sleep 0.5; }
    for p in $daemon $(pgrep -f "^$stage/" || true) "${pids[@]}"; do
        kill -KILL "$p" 2>/dev/null || true
    done
    rm -rf "$stage"
}
trap cleanup EXIT
# shellcheck source=../support/xvfb.sh
. "$here/../support/xvfb.sh"
start_xvfb 800x600x24
xhost "+SI:localuser:$user" >/dev/null

# setpriv execs (no process in between): $! is the daemon itself.
# The daemon passes its environment on to the saver: the sanitizer build's options too.
sanitizers=()
for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do [ -z "${!v:-}" ] || sanitizers+=("$v=${!v}"); done
asUser() {
    setpriv --reuid="$user" --regid="$user" --init-groups \
        env -i HOME="$stage/home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
        DISPLAY="$DISPLAY" "${sanitizers[@]}" "$@"
}
asUser xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 50); do asUser xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.2; done
asUser xscreensaver-command -time >/dev/null 2>&1 || fail "the daemon does not answer"

savers() { pgrep -f "^$stage/tessaline-saver" || true; }
lit() {
    xwd -root -silent >"$work/shot.xwd"
    "$xprobe" coloured "$work/shot.xwd" | cut -d' ' -f1
}
# Xvfb's root is black: what is lit later is the saver's (or a splash, had the
# settings not been read).
[ "$(lit)" -eq 0 ] || fail "the screen is lit before activation"

# A saver never stays black: a first colour too dark to show is drawn again.
asUser xscreensaver-command -activate >/dev/null
started=$(date +%s.%N)
count=0
for _ in $(seq 16); do
    sleep 0.5
    count=$(lit)
    [ "$count" -gt 0 ] && break
done
pid=$(savers)
[ -n "$pid" ] || fail "no saver process after -activate"
[ "$(wc -w <<<"$pid")" -eq 1 ] || fail "several saver processes: $pid"
[ "$count" -gt 0 ] || fail "nothing lit within 8 s of -activate"
echo "saver_daemon: $count pixels lit $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $started }") s after -activate"

asUser xscreensaver-command -deactivate >/dev/null
# A saver forked a moment before may still be starting on a loaded machine.
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the saver (pid $pid) still runs 5 s after -deactivate"
[ -z "$(savers)" ] || fail "saver processes left after -deactivate: $(savers)"
# The daemon's graphics process logs how its program ended while it unfades.
for _ in $(seq 50); do grep -q "child pid $pid " "$work/daemon.log" && break; sleep 0.1; done
ended=$(grep "child pid $pid " "$work/daemon.log" || true)
grep -q "exited normally with SIGTERM\$" <<<"$ended" ||
    fail "the saver ended otherwise than by SIGTERM: ${ended:-not logged}"
echo "saver_daemon: -deactivate ended it by its SIGTERM and left no process"
