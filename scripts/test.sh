#!/usr/bin/env bash
# Builds everything into build/ and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh g++ cmake make pkg-config python3 libgtest-dev libgmock-dev libpng-dev \
    libsdl2-dev libwayland-dev libx11-dev libxrandr-dev libxdamage-dev xvfb xdotool x11-utils x11-xserver-utils \
    x11-apps mingw-w64 wine64 xscreensaver dpkg-dev file lintian desktop-file-utils man-db \
    emscripten chromium
# The packages' tools: the MSI's builder and reader, and Debian's hardening check.
bash scripts/deps.sh wixl msitools devscripts python3-pefile
# The Wayland end-to-end test: headless compositors, screenshots, Mesa's EGL in software,
# Xwayland for the two-monitor desktop. Without them that one test says it is skipped, and why.
bash scripts/deps.sh sway grim weston xwayland libegl-mesa0 libgl1-mesa-dri ||
    echo "test.sh: sway, grim, weston or xwayland could not be installed: e2e_wayland will be skipped"
# gdiscript on a real GDI (mingw build, run under wine) for the conformance test.
cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTESS_BUILD_TESTS=OFF >/dev/null
cmake --build build-win64 -j"$(nproc)" --target gdiscript
# The toolkit demo built for Windows, drawn by the real GDI under wine64 and compared with
# ours by the demo_matches_windows test.
cmake --build build-win64 -j"$(nproc)" --target tessaline-demo
export TESS_DEMO_WIN="$PWD/build-win64/tools/tessaline-demo.exe"
# The unit tests and the program end to end on Windows x86_64, run under wine64. A new
# wine prefix sets itself up on its first start, longer than a test discovery may take:
# make it now.
[ -d "${WINEPREFIX:-$HOME/.wine}" ] || WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i
cmake -S . -B build-win64-tests -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DTESS_GTEST_SOURCE=/usr/src/googletest \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=env;WINEDEBUG=-all;/usr/lib/wine/wine64" >/dev/null
cmake --build build-win64-tests -j"$(nproc)"
# 32-bit Windows, program and tests: compiled and linked only (this kernel cannot run
# it), so the tests are listed when CTest runs, not after each link.
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
    -DTESS_GTEST_SOURCE=/usr/src/googletest \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build build-win32 -j"$(nproc)"
for image in tessaline.exe tessaline.scr; do
    bash tests/e2e_wine/gui_image.sh i686-w64-mingw32-objdump "build-win32/app/$image"
done
# The Windows packages, a zip and an MSI per width (the native install and .deb checks are in
# CTest); the 64-bit MSI installed, run, upgraded and removed under wine64.
bash tests/install/install.sh windows build-win32 build-win32/package-check
bash tests/install/install.sh windows build-win64-tests build-win64-tests/package-check
# The browser page (Emscripten): the unit tests under Node, and the page in headless
# Chromium through Playwright (playwright-core from npm; the browser is Debian's).
bash scripts/web.sh -DTESS_BUILD_TESTS=ON -DTESS_GTEST_SOURCE=/usr/src/googletest
(cd tests/web && npm ci --no-audit --no-fund)
ctest --test-dir build-web --output-on-failure -j"$(nproc)"
# The page's zip: both variants, the README and the licence.
rm -rf build-web/packages
cpack --config build-web/CPackConfig.cmake -B build-web/packages >/dev/null
listing=$(python3 -m zipfile -l build-web/packages/tessaline-web-*.zip)
for file in tessaline.html site/index.html site/index.js site/index.wasm README.md LICENSE; do
    grep -qE "^tessaline-web-[0-9.]+/$file " <<<"$listing" || { echo "test.sh: web zip lacks $file"; exit 1; }
done
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_BUILD_TESTS=ON \
    -DTESS_GDISCRIPT_WIN="$PWD/build-win64/tools/gdiscript.exe" \
    -DTESS_WEB_PAGE="$PWD/build-web/tessaline.html" >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
# A minute of each program on Xvfb: memory, descriptors and X resources stay flat.
TESSALINE=build/app/tessaline bash scripts/soak.sh 60 c
bash scripts/soak.sh 60 -- build/app/tessaline-saver
ctest --test-dir build-win64-tests --output-on-failure -j"$(nproc)"
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer: any
# report fails its test. Left out: the two comparisons with the real GDI under wine,
# whose reference half is a mingw .exe no sanitizer instruments; the device context
# they compare is fuzzed below, and both native tools' own tests run here.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_BUILD_TESTS=ON \
    -DTESS_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)" \
    -E '^(gdi_conformance|demo_matches_windows)$'
# Every fuzzer for a bounded time from its seeds (clang, ASan+UBSan).
bash scripts/fuzz.sh 20
