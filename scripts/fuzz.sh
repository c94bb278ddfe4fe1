#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for a bounded
# time from its seed corpus. Usage: scripts/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-30}
bash scripts/deps.sh clang libclang-rt-14-dev cmake make
CXX=clang++ cmake -S . -B build-fuzz -DTESS_BUILD_FUZZ=ON -DTESS_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
total=0
for seeds in fuzz/corpus/*/; do
    name=$(basename "$seeds")
    target=build-fuzz/fuzz/fuzz_$name
    cp -r "$seeds" "$work/$name" # the fuzzer adds to its corpus: keep the tree's seeds as they are
    log="$work/$name.log"
    if ! (cd "$work" && "$OLDPWD/$target" -max_total_time="$secs" -timeout=10 -print_final_stats=1 \
            "$name" >"$log" 2>&1); then
        tail -40 "$log"
        echo "fuzz_$name: FAILED"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    total=$((total + runs))
    echo "fuzz_$name: $runs executions in ${secs}s, no findings"
done
echo "fuzzing: $total executions in all, no findings"
