#!/usr/bin/env bash
# Builds the browser page with Emscripten into build-web/: tessaline.html, one
# self-contained file that opens from disk, and site/ (index.html, index.js,
# index.wasm) for serving. Extra arguments go to CMake, e.g. the tests:
#   scripts/web.sh -DTESS_BUILD_TESTS=ON -DTESS_GTEST_SOURCE=/usr/src/googletest \
#       -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh emscripten cmake make
# Debian's emcc finds its JavaScript modules (acorn) only through NODE_PATH; its
# prebuilt library cache is used as it is (an EM_CACHE of our own would be rebuilt).
export NODE_PATH=/usr/share/nodejs
# Tests run under Node as it is: emcmake's default emulator adds a flag Node 20 refuses.
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=MinSizeRel -DTESS_BUILD_TESTS=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" "$@" >/dev/null
cmake --build build-web -j2
for page in build-web/tessaline.html build-web/site/index.html; do
    echo "web.sh: $page ($(stat -c %s "$page") bytes)"
done
