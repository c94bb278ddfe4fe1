#!/usr/bin/env bash
# Builds everything into build/ and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh g++ cmake make pkg-config libgtest-dev libgmock-dev libpng-dev libsdl2-dev \
    libx11-dev xvfb xdotool x11-utils x11-xserver-utils x11-apps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
