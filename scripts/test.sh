#!/usr/bin/env bash
# Builds everything and runs every test. Exits non-zero on any failure.
# The builds run one after another in the background, at a lower priority than the
# tests, their output in build-logs/ (shown when one fails); each group of tests runs
# here as soon as what it needs is built, so the tests that mostly wait (programs on
# X servers of their own, under wine, the soaks) overlap the builds. At the end, the
# time of each step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
logs=$root/build-logs
rm -rf "$logs"
mkdir -p "$logs"
jobs=$(nproc)

started=$(date +%s)
steps=()
step() { # step NAME: the previous step ends here, NAME starts
    local now
    now=$(date +%s)
    [ -z "${stepName:-}" ] || steps+=("$(printf '%5d s  %s' $((now - stepStart)) "$stepName")")
    stepName=$1 stepStart=$now
    [ -z "$1" ] || echo "== test.sh: $1"
}
lane=""
summary() {
    local code=$?
    [ -z "$lane" ] || kill -- "-$lane" 2>/dev/null || true
    step ""
    echo "== test.sh: the tests' steps (waiting for a build included)"
    printf '%s\n' "${steps[@]}"
    echo "== test.sh: the builds, in the background"
    cat "$logs/builds.times" 2>/dev/null || true
    printf '%5d s  in all, exit %d\n' $(($(date +%s) - started)) "$code"
}
trap summary EXIT

step "packages"
# Every package the suite uses, in groups: the first build's now, the rest in the
# background while that build runs, in the order the builds need them (each group marks
# its end in build-logs/), the tests' own last. The scripts and tests run below ask again
# for theirs and find them present. Without the Wayland compositors, Xwayland or Mesa,
# e2e_wayland says it is skipped, and why. Of mingw-w64, only the compilers the toolchain
# files pick.
bash scripts/deps.sh g++ cmake make python3 libgtest-dev libgmock-dev \
    g++-mingw-w64-x86-64-posix wixl msitools
packages() {
    local begun
    begun=$(date +%s)
    # The page's build (its configuring looks for Chromium), then the other builds'
    # (the native one's configuring looks for wine and dpkg-buildflags), then the tests'.
    bash scripts/deps.sh emscripten chromium && touch "$logs/packages-web.done" &&
        bash scripts/deps.sh pkg-config libpng-dev libsdl2-dev libwayland-dev \
            librust-wayland-protocols-dev libx11-dev libxrandr-dev libxdamage-dev dpkg-dev wine64 \
            g++-mingw-w64-i686-posix clang libclang-rt-14-dev &&
        touch "$logs/packages-builds.done" &&
        bash scripts/deps.sh xvfb xdotool x11-utils x11-xserver-utils x11-apps xrestop xprintidle \
            xscreensaver openbox tint2 wmctrl file lintian desktop-file-utils man-db \
            devscripts python3-pefile \
            --optional sway swayidle wtype grim weston xwayland libegl-mesa0 libgl1-mesa-dri &&
        printf '%5d s  %s\n' $(($(date +%s) - begun)) "packages, the rest" >>"$logs/builds.times" &&
        touch "$logs/packages.done"
}
{ packages >"$logs/packages.log" 2>&1 || touch "$logs/packages.failed"; } &
packager=$!
# Waits for NAME.done in build-logs/, made by the process PID: fails, with the end of
# LOG, when NAME.failed appears or PID ends without either.
awaitDone() {
    local name=$1 pid=$2 log=$3
    until [ -e "$logs/$name.done" ]; do
        if [ -e "$logs/$name.failed" ] || ! kill -0 "$pid" 2>/dev/null; then
            [ -e "$logs/$name.done" ] && return 0
            tail -60 "$log" 2>/dev/null || true
            echo "test.sh: $name failed (log: $log)"
            return 1
        fi
        sleep 1
    done
}
awaitPackages() { awaitDone "${1:-packages}" "$packager" "$logs/packages.log"; }

# ---- The builds ---------------------------------------------------------------------------------
win64=$root/build-win64-tests
# The program, tools and tests for Windows x86_64 (GoogleTest built along); the tests
# run under wine64. Its gdiscript draws on a real GDI for the conformance test, its
# toolkit demo for demo_matches_windows, both in the native build's tests. A binary
# with a test per case is listed when CTest runs, once the wine prefix is made.
# The optimized builds carry line tables only (-g1): enough for a backtrace's file and
# line, and they compile in about four fifths of the time of full debug information.
optimized="-O2 -g1 -DNDEBUG"
buildWin64() {
    cmake -S . -B build-win64-tests -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$optimized" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$optimized" \
        -DTESS_GTEST_SOURCE=/usr/src/googletest \
        "-DCMAKE_CROSSCOMPILING_EMULATOR=env;WINEDEBUG=-all;/usr/lib/wine/wine64" \
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST &&
    cmake --build build-win64-tests -j"$jobs"
}
export TESS_DEMO_WIN=$win64/tools/tessaline-demo.exe
# The browser page (Emscripten) and its unit tests, run under Node.
buildWeb() { bash scripts/web.sh -DTESS_BUILD_TESTS=ON -DTESS_GTEST_SOURCE=/usr/src/googletest; }
buildNative() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_BUILD_TESTS=ON \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$optimized" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$optimized" \
        -DTESS_GDISCRIPT_WIN="$win64/tools/gdiscript.exe" \
        -DTESS_WEB_PAGE="$root/build-web/tessaline.html" &&
    cmake --build build -j"$jobs"
}
# Everything again with AddressSanitizer and UndefinedBehaviorSanitizer, built by clang
# at -O1 with line tables only: the reports still name file and line, and it compiles in
# 87 s here against 115 s with g++ (g++ builds the native tree above; both take -Wall
# -Wextra clean). The libFuzzer targets are built in the same tree, over the same
# libraries, with the same sanitizers.
buildAsan() {
    local flags="-O1 -g1 -DNDEBUG"
    CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTESS_BUILD_TESTS=ON -DTESS_BUILD_FUZZ=ON -DTESS_SANITIZE=ON \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" &&
    cmake --build build-asan -j"$jobs"
}
# 32-bit Windows, program and tests: compiled and linked only (this kernel cannot run
# it), so the tests are listed when CTest runs, not after each link. Unoptimized and
# without debug information: what it checks (that everything compiles and links for
# i686, the images' resources and the packages' contents) needs neither, and it builds
# in about half the time. win64 is the optimized Windows build, and the one that runs.
buildWin32() {
    local flags="-O0 -DNDEBUG"
    cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" \
        -DTESS_GTEST_SOURCE=/usr/src/googletest \
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST &&
    cmake --build build-win32 -j"$jobs"
}
# Runs each build in turn; NAME.log holds its output (configuring included), NAME.done
# or NAME.failed its end.
builds() {
    renice -n 10 -p $BASHPID >/dev/null # the tests come first
    local name begun group
    for name in win64 web native asan win32; do
        group=packages-builds
        [ $name != web ] || group=packages-web
        if [ $name != win64 ] && ! awaitPackages $group >"$logs/$name.log" 2>&1; then
            touch "$logs/$name.failed"
            return 1
        fi
        begun=$(date +%s)
        if "build${name^}" >"$logs/$name.log" 2>&1; then
            printf '%5d s  %s\n' $(($(date +%s) - begun)) "build $name" >>"$logs/builds.times"
            touch "$logs/$name.done"
        else
            touch "$logs/$name.failed"
            return 1
        fi
    done
}
set -m # the lane in a process group of its own, so that an early exit ends all of it
builds &
lane=$!
set +m
# Waits for a build: fails, with the end of its output, when it failed.
built() {
    step "wait for the $1 build"
    awaitDone "$1" "$lane" "$logs/$1.log" || exit 1
}

# ---- The tests, in the order their builds end ---------------------------------------------------
# A new wine prefix sets itself up on its first start, longer than a test may take:
# make it now, while the first build runs.
step "wait for the packages"
awaitPackages || exit 1
cat "$logs/packages.log"
step "wine prefix"
[ -d "${WINEPREFIX:-$HOME/.wine}" ] || WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i
built win64
step "test win64"
ctest --test-dir build-win64-tests --output-on-failure -j"$jobs"
# The Windows packages, a zip and an MSI per width (the native install and .deb checks are
# in CTest); the 64-bit MSI installed, run, upgraded and removed under wine64.
bash tests/install/install.sh windows build-win64-tests build-win64-tests/package-check

built web
step "test web"
# The page in headless Chromium through Playwright (playwright-core from npm; the
# browser is Debian's).
(cd tests/web && npm ci --no-audit --no-fund)
ctest --test-dir build-web --output-on-failure -j"$jobs"
# The page's zip: both variants, the README and the licence.
rm -rf build-web/packages
cpack --config build-web/CPackConfig.cmake -B build-web/packages >/dev/null
listing=$(python3 -m zipfile -l build-web/packages/tessaline-web-*.zip)
for file in tessaline.html site/index.html site/index.js site/index.wasm README.md LICENSE; do
    grep -qE "^tessaline-web-[0-9.]+/$file " <<<"$listing" || { echo "test.sh: web zip lacks $file"; exit 1; }
done

built native
step "test native"
ctest --test-dir build --output-on-failure -j"$jobs"
# A minute of each program on an Xvfb of its own, side by side: memory, descriptors and
# X resources stay flat.
step "soak"
TESSALINE=build/app/tessaline bash scripts/soak.sh 60 c >"$logs/soak-program.log" 2>&1 &
program=$!
code=0
bash scripts/soak.sh 60 -- build/app/tessaline-saver || code=$?
wait $program || code=$?
cat "$logs/soak-program.log"
[ $code -eq 0 ] || { echo "test.sh: a soak failed"; exit 1; }

# The whole suite again under the sanitizers: any report fails its test. Left out: the
# two comparisons with the real GDI under wine, whose reference half is a mingw .exe no
# sanitizer instruments; the device context they compare is fuzzed below, and both
# native tools' own tests run here.
built asan
step "test asan"
LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" \
    -E '^(gdi_conformance|demo_matches_windows)$'

# Every fuzzer for a bounded time from its seeds, while the win32 build runs.
step "fuzz"
bash scripts/fuzz.sh 20 build-asan

built win32
step "test win32"
for image in tessaline.exe tessaline.scr; do
    bash tests/e2e_wine/gui_image.sh i686-w64-mingw32-objdump "build-win32/app/$image"
done
bash tests/install/install.sh windows build-win32 build-win32/package-check


wait $lane
lane=""

