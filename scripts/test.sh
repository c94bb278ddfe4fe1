#!/usr/bin/env bash
# Builds everything into build/ and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh g++ cmake make pkg-config libgtest-dev libgmock-dev libpng-dev
# The toolkit demo built for Windows, drawn by the real GDI under wine64 and compared with
# ours by the demo_matches_windows test (skipped when mingw-w64 or wine64 is missing).
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ]; then
    cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DTESS_BUILD_TESTS=OFF >/dev/null
    cmake --build build-win64 -j"$(nproc)" --target tessaline-demo
    export TESS_DEMO_WIN="$PWD/build-win64/tools/tessaline-demo.exe"
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
