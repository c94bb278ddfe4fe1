#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for a bounded
# time from its seed corpus, one target per core at a time (each is one thread).
# Usage: scripts/fuzz.sh [seconds per target, default 30]
#        scripts/fuzz.sh --build   (the build alone)
#        scripts/fuzz.sh SECONDS DIR   (the fuzzers built in DIR by clang with
#                                       -DTESS_BUILD_FUZZ=ON, as scripts/test.sh does)
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-30}
build=${2:-}
if [ -z "$build" ]; then
    build=build-fuzz
    bash scripts/deps.sh clang libclang-rt-14-dev cmake make
    CXX=clang++ cmake -S . -B build-fuzz -DTESS_BUILD_FUZZ=ON -DTESS_BUILD_TESTS=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build-fuzz -j"$(nproc)"
    [ "$secs" != --build ] || exit 0
fi
fuzzers=$(cd "$build" && pwd)/fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Leaves the fuzzer's exit code in $work/NAME.code and its log in $work/NAME.log.
fuzzOne() {
    local name=$1 code=0
    cp -r "fuzz/corpus/$name" "$work/$name" # the fuzzer adds to its corpus: keep the tree's seeds as they are
    (cd "$work" && "$fuzzers/fuzz_$name" -max_total_time="$secs" -timeout=10 \
        -print_final_stats=1 "$name" >"$name.log" 2>&1) || code=$?
    echo $code >"$work/$name.code"
}
names=()
for seeds in fuzz/corpus/*/; do names+=("$(basename "$seeds")"); done
for name in "${names[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
    fuzzOne "$name" &
done
wait
total=0
for name in "${names[@]}"; do
    log="$work/$name.log"
    if [ "$(cat "$work/$name.code")" -ne 0 ]; then
        tail -40 "$log"
        echo "fuzz_$name: FAILED"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    total=$((total + runs))
    echo "fuzz_$name: $runs executions in ${secs}s, no findings"
done
echo "fuzzing: $total executions in all, no findings"
