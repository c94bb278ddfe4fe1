#!/usr/bin/env bash
# Builds the program and starts it: scripts/run.sh [letter], where a..e picks
# 320x240, 640x480, 800x600, 1024x768 or 1280x1024 (anything else: 800x600).
# Esc ends it. Needs a display (X11 or Wayland).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh g++ cmake make pkg-config libsdl2-dev libwayland-dev librust-wayland-protocols-dev libgtest-dev libgmock-dev \
    libpng-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tessaline
exec build/app/tessaline "$@"
