# shellcheck shell=bash
# Sourced first by the end-to-end scripts, once they have set scenario (named in
# failures) and work (their folder): makes the folder, gives fail (which adds
# what the program wrote to $work/stderr) and kills the processes in pids when
# the script ends.
mkdir -p "$work"
fail() {
    echo "FAIL ($scenario): $*" >&2
    [ ! -s "$work/stderr" ] || sed 's/^/  program stderr: /' "$work/stderr" >&2
    exit 1
}
pids=()
cleanup() { for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
