#!/usr/bin/env bash
# What the install rules and packages deliver, checked as a user and a packager would.
#   install.sh native BUILD WORK   (BINDIR, LIBDIR, INCLUDEDIR, DATAROOTDIR, DATADIR, MANDIR,
#                                   DOCDIR, CMAKEDIR in the environment: GNUInstallDirs' answers)
#     a DESTDIR staging install holds exactly the expected files, each where its
#     directory variable says; the installed tessaline answers --version and --help,
#     opens its window under Xvfb and ends with Esc; tests/consumer builds against the
#     staged CMake package with -Werror and reads back what it drew; cpack makes the
#     two .deb packages, their contents split as planned, dependencies computed,
#     a real maintainer, the screensaver in the description; lintian -I --pedantic
#     finds nothing; hardening-check passes every program; dpkg -i puts tessaline
#     on the PATH and dpkg -r takes every file away again (as root, or through sudo).
#   install.sh windows BUILD WORK  (a mingw build)
#     cpack makes tessaline-VERSION-winNN.zip with the program and the screen saver
#     of that width, the README, the licence and the screen saver's install steps,
#     and tessaline-VERSION-winNN.msi beside it: the same files, each bound for its
#     folder (Program Files, the width's system folder), two Start-menu shortcuts,
#     the programs-list entry's properties and icon, an upgrade code, no registry
#     values of its own. With wine as the build's emulator (64-bit), the MSI and a
#     newer version of it are installed and removed by tests/e2e_wine/msi_wine.sh.
set -euo pipefail
mode=$1 build=$(cd "$2" && pwd) work=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work" && mkdir -p "$work" && work=$(cd "$work" && pwd)
pids=()
cleanup() { for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
fail() { echo "FAIL ($mode): $*" >&2; exit 1; }
ok() { echo "ok: $*"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
# The browser page, when the build was given one (TESS_WEB_PAGE, scripts/test.sh).
web_page=$(sed -n 's/^TESS_WEB_PAGE:FILEPATH=//p' "$build/CMakeCache.txt")

if [ "$mode" = windows ]; then
    cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack"; }
    zips=("$work"/tessaline-"$version"-win*.zip)
    [ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "not one zip: ${zips[*]}"
    top=$(basename "${zips[0]}" .zip)
    bits=${top##*-win}
    python3 -m zipfile -e "${zips[0]}" "$work/x"
    (cd "$work/x" && find . -type f | sort) >"$work/listed"
    printf '%s\n' "./$top/Install screen saver.txt" "./$top/LICENSE.txt" "./$top/README.txt" \
        "./$top/tessaline.exe" "./$top/tessaline.scr" >"$work/want"
    diff "$work/want" "$work/listed" || fail "the zip's files are not the five expected"
    ok "$top.zip holds tessaline.exe, tessaline.scr, README.txt, LICENSE.txt and the install steps"
    case "$bits" in
    64) machine="PE32+ executable (GUI) x86-64" folder='System32' arch=x64 msi_system=System64Folder
        msi_programs=ProgramFiles64Folder ;;
    32) machine="PE32 executable (GUI) Intel 80386" folder='SysWOW64' arch=Intel msi_system=SystemFolder
        msi_programs=ProgramFilesFolder ;;
    *) fail "width '$bits' in $top" ;;
    esac
    for program in tessaline.exe tessaline.scr; do
        file -b "$work/x/$top/$program" | grep -qF "$machine" ||
            fail "$program is $(file -b "$work/x/$top/$program"), not $machine"
    done
    steps="$work/x/$top/Install screen saver.txt"
    grep -q "$bits-bit build" "$steps" && grep -q "C:\\\\Windows\\\\$folder" "$steps" ||
        fail "the install steps do not name the $bits-bit build and $folder"
    grep -q $'\r$' "$steps" || fail "the install steps do not have Windows line ends"
    ok "a $bits-bit GUI program; the steps name its system folder ($folder)"

    # ---- The MSI beside the zip: its tables, as msiinfo reads them ------------------------------
    msi=$work/$top.msi
    [ -f "$msi" ] || fail "no $top.msi beside the zip: $(ls "$work")"
    mkdir "$work/tables" "$work/streams"
    msiinfo tables "$msi" | tr -d '\r' >"$work/tables/list"
    for table in Component Directory Feature FeatureComponents File Icon InstallExecuteSequence \
        Media Property Registry Shortcut Upgrade; do
        grep -qx "$table" "$work/tables/list" || fail "no $table table: $(tr '\n' ' ' <"$work/tables/list")"
        # Rows only: the first three lines are the columns, their types and the key.
        # (Elsewhere: an export writes the table's binary data where it runs.)
        (cd "$work/streams" && msiinfo export "$msi" "$table") | tr -d '\r' | tail -n +4 >"$work/tables/$table"
    done
    template=$(msiinfo suminfo "$msi" | tr -d '\r' | sed -n 's/^Template: //p')
    [ "$template" = "$arch;1033" ] || fail "platform and language '$template', not $arch;1033"
    # Each file in its folder (from the standard folder down), and whether its
    # component is 64-bit; every one the zip's, byte for byte.
    awk -F'\t' 'FILENAME ~ /Directory$/ { parent[$1] = $2; name[$1] = $3; next }
        FILENAME ~ /Component$/ { dir[$1] = $3; bits[$1] = int($4 / 256) % 2 ? 64 : 32; next }
        { d = dir[$2]; path = $3
          while (parent[d] != "TARGETDIR") { path = name[d] "\\" path; d = parent[d] }
          print d "\\" path, bits[$2] }' \
        "$work/tables/Directory" "$work/tables/Component" "$work/tables/File" | sort >"$work/msi.files"
    printf '%s\n' "$msi_programs\\Tessaline\\LICENSE.txt $bits" "$msi_programs\\Tessaline\\README.txt $bits" \
        "$msi_programs\\Tessaline\\tessaline.exe $bits" "$msi_system\\tessaline.scr $bits" >"$work/want"
    diff "$work/want" "$work/msi.files" || fail "the MSI's files and folders (< missing, > extra)"
    # (msiextract names the folders its own way: the tables above say where they go.)
    msiextract -C "$work/msix" "$msi" >"$work/msix.list"
    [ "$(wc -l <"$work/msix.list")" -eq 4 ] || fail "msiextract: $(cat "$work/msix.list")"
    while read -r f; do
        cmp "$work/msix/$f" "$work/x/$top/$(basename "$f")" || fail "the MSI's $f is not the zip's"
    done <"$work/msix.list"
    ok "$top.msi: $(sed 's/ [0-9]*$//' "$work/msi.files" | tr '\n' ' ')(the zip's files)"

    property() { awk -F'\t' -v p="$1" '$1 == p { print $2 }' "$work/tables/Property"; }
    bytes=$(cat "$work/x/$top"/{tessaline.exe,tessaline.scr,README.txt,LICENSE.txt} | wc -c)
    for want in ProductName=Tessaline "Manufacturer=the Tessaline authors" "ProductVersion=$version" \
        ALLUSERS=1 ARPPRODUCTICON=tessaline.ico "ARPSIZE=$(((bytes + 1023) / 1024))"; do
        [ "$(property "${want%%=*}")" = "${want#*=}" ] ||
            fail "property ${want%%=*} is '$(property "${want%%=*}")', not '${want#*=}'"
    done
    msiinfo extract "$msi" Icon.tessaline.ico | cmp - "$source_dir/dist/tessaline.ico" ||
        fail "the programs-list icon is not dist/tessaline.ico"
    cut -f2,3,5,6,9 "$work/tables/Shortcut" | sort >"$work/shortcuts"
    printf '%s\t%s\t%s\t%s\t%s\n' ProgramMenuFolder Tessaline '[#tessaline.exe]' '' tessaline.ico \
        ProgramMenuFolder 'Tessaline screen saver settings' '[#tessaline.scr]' /c tessaline.ico \
        >"$work/want"
    diff "$work/want" "$work/shortcuts" || fail "the Start-menu shortcuts (< missing, > extra)"
    # The user's settings under HKCU\Software\Tessaline are the screen saver's: the
    # package writes no registry values (Windows Installer its own bookkeeping).
    [ ! -s "$work/tables/Registry" ] || fail "registry values: $(cat "$work/tables/Registry")"
    upgrade=$(property UpgradeCode)
    [[ "$upgrade" =~ ^\{[0-9A-F-]{36}\}$ ]] && grep -q "^$upgrade"$'\t' "$work/tables/Upgrade" ||
        fail "upgrade code '$upgrade' and the Upgrade table: $(cat "$work/tables/Upgrade")"
    ok "its entry: Tessaline $version by the Tessaline authors, icon, size; shortcuts; upgrade code $upgrade"

    # ---- Installed and removed under wine (the 64-bit build, whose tests run under wine64) -----
    wine=$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' "$build/CMakeCache.txt" | tr ';' '\n' | tail -1)
    if [ "$bits" != 64 ] || [ -z "$wine" ]; then
        ok "not installed here: a $bits-bit build with no emulator"
        exit 0
    fi
    # A newer version of the same files (its product code follows from the version).
    IFS=. read -r major minor patch <<<"$version"
    newer="$major.$minor.$((${patch:-0} + 1))"
    cpack --config "$build/CPackConfig.cmake" -B "$work/newer" -D "CPACK_PACKAGE_VERSION=$newer" \
        -D "CPACK_PACKAGE_FILE_NAME=tessaline-$newer-win$bits" >>"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack of $newer"; }
    bash "$source_dir/tests/e2e_wine/msi_wine.sh" "$wine" "$msi" "$work/newer/tessaline-$newer-win$bits.msi" \
        "$work/wine"
    exit 0
fi
[ "$mode" = native ] || fail "unknown mode"

# ---- Staging install ------------------------------------------------------------------------
stage=$work/stage
prefix=/usr
DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$work/install.log"
root=$stage$prefix
config=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt" | tr '[:upper:]' '[:lower:]')
{
    echo "$BINDIR/tessaline"
    echo "$BINDIR/tessaline-render"
    echo "$BINDIR/tessaline-saver"
    echo "$MANDIR/man6/tessaline.6.gz"
    echo "$MANDIR/man6/tessaline-render.6.gz"
    echo "$MANDIR/man6/tessaline-saver.6.gz"
    echo "$DATADIR/xscreensaver/config/tessaline-saver.xml"
    echo "$DATADIR/applications/tessaline.desktop"
    echo "$DATADIR/icons/hicolor/256x256/apps/tessaline.png"
    echo "$DOCDIR/README.md"
    echo "$DOCDIR/LICENSE"
    [ -z "$web_page" ] || echo "$DATADIR/tessaline/tessaline.html"
    for h in draw/color.h draw/poly.h draw/shapes.h math/pixel.h math/vec2.h platform/win32.h \
        platform/win32_decls.h; do
        echo "$INCLUDEDIR/tessaline/$h"
    done
    for lib in draw math platform platform_gdi; do echo "$LIBDIR/libtessaline_$lib.a"; done
    for f in TessalineConfig TessalineConfigVersion TessalineTargets "TessalineTargets-$config"; do
        echo "$CMAKEDIR/$f.cmake"
    done
} | sort >"$work/want"
(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/staged"
diff "$work/want" "$work/staged" || fail "staged files differ from the expected ones (< missing, > extra)"
ok "$(wc -l <"$work/staged") files staged, each where GNUInstallDirs puts it"

[ "$(head -c 24 "$root/$DATADIR/icons/hicolor/256x256/apps/tessaline.png" | od -An -tx1 -j12 | tr -d ' \n')" = \
    "4948445200000100""00000100" ] || fail "the icon is not a 256x256 PNG"
desktop-file-validate "$root/$DATADIR/applications/tessaline.desktop" || fail "desktop entry"
for page in tessaline tessaline-render tessaline-saver; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/$MANDIR/man6/$page.6.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.6: $warnings"
done
ok "the icon is a 256x256 PNG; the desktop entry validates; the manual pages format cleanly"

# ---- The installed program ------------------------------------------------------------------
tessaline=$root/$BINDIR/tessaline
[ "$("$tessaline" --version)" = "tessaline (Tessaline II alpha 1) $version" ] ||
    fail "--version says '$("$tessaline" --version)'"
"$tessaline" --help | grep -q "^usage: tessaline \[LETTER\]" || fail "--help"
# Anything more than the one word goes to the program itself: with no display, exit 1.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$tessaline" --version c >"$work/out" 2>"$work/err"
code=$?
set -e
[ $code -eq 1 ] && [ ! -s "$work/out" ] && grep -q "no display" "$work/err" ||
    fail "'--version c' did not reach the program (exit $code, $(cat "$work/out" "$work/err"))"
ok "installed tessaline: --version, --help; '--version c' is a command tail like any other"

# shellcheck source=../support/xvfb.sh
. "$source_dir/tests/support/xvfb.sh"
# shellcheck source=../support/app_run.sh
. "$source_dir/tests/support/app_run.sh"
start_xvfb 1280x1024x24
unset SDL_VIDEODRIVER
"$tessaline" c 2>"$work/stderr" &
app=$!
pids+=($app)
waitWindow "Tessaline II alpha 1" 5
xdotool key Escape
scenario=$mode exitWithin=2
expectExit 0 Esc
ok "installed 'tessaline c' opened its window under Xvfb; Esc ended it with 0"

# ---- A consumer of the CMake package --------------------------------------------------------
cmake -S "$source_dir/tests/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$root" \
    >"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "consumer configure"; }
cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 ||
    { cat "$work/consumer.log"; fail "consumer build (-Wall -Wextra -Werror)"; }
grep -q "$root/$INCLUDEDIR" "$work/consumer/CMakeFiles/consumer.dir/flags.make" ||
    fail "the consumer did not take the staged headers"
"$work/consumer/consumer" || fail "the consumer's pixels"

# ---- The Debian packages --------------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
arch=$(dpkg --print-architecture)
deb=$work/packages/tessaline_${version}_$arch.deb
dev=$work/packages/tessaline-dev_${version}_$arch.deb
[ -f "$deb" ] && [ -f "$dev" ] || fail "packages: $(ls "$work/packages")"
listing() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort; }
listing "$deb" >"$work/deb.files"
listing "$dev" >"$work/dev.files"
# What the staging install put under the prefix, split: headers, libraries and the
# CMake package in -dev, the rest in tessaline; the .deb's own files added; the
# licence copy left out (it is the copyright file).
debdoc() { printf '%s\n' "$DATAROOTDIR/doc/$1/changelog.gz" "$DATAROOTDIR/doc/$1/copyright"; }
{
    grep -v -e "^$INCLUDEDIR/" -e "^$LIBDIR/" -e "^$DOCDIR/LICENSE\$" "$work/staged"
    debdoc tessaline
    [ -z "$web_page" ] || echo "$DATAROOTDIR/lintian/overrides/tessaline" # the page's
} | sed "s|^|${prefix#/}/|" | sort >"$work/deb.want"
{
    grep -e "^$INCLUDEDIR/" -e "^$LIBDIR/" "$work/staged"
    debdoc tessaline-dev
} | sed "s|^|${prefix#/}/|" | sort >"$work/dev.want"
diff "$work/deb.want" "$work/deb.files" || fail "tessaline.deb's files (< missing, > extra)"
diff "$work/dev.want" "$work/dev.files" || fail "tessaline-dev.deb's files (< missing, > extra)"
ok "dpkg-deb -c: $(wc -l <"$work/deb.files") files in tessaline, $(wc -l <"$work/dev.files") in tessaline-dev"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libsdl2-2.0-0; do
    [[ "$depends" == *"$lib ("* ]] || fail "Depends lacks $lib: $depends"
done
ok "Depends from dpkg-shlibdeps: $depends"

maintainer=$(dpkg-deb -f "$deb" Maintainer)
# A name and an address that can be written to: no domain reserved for examples,
# tests or nowhere (RFC 2606, RFC 6761).
[[ "$maintainer" =~ ^[^\<]+\ \<[^@\>]+@([a-z0-9.-]+)\>$ ]] ||
    fail "the maintainer '$maintainer' is not 'Name <address>'"
domain=${BASH_REMATCH[1]}
[[ ! "$domain" =~ (^|\.)(example(\.(com|net|org))?|invalid|test|localhost)$ ]] ||
    fail "the maintainer's address is a placeholder: $maintainer"
# (Read whole first: grep -q leaving a pipe early can end the writer by SIGPIPE, which
# pipefail would report as this failure.)
grep -q "tessaline-saver" <<<"$(dpkg-deb -f "$deb" Description)" ||
    fail "the description leaves out the screensaver"
ok "maintainer $maintainer; the description names tessaline-saver"

set +e
lintian -I --pedantic "$deb" "$dev" >"$work/lintian.txt" 2>&1
code=$?
set -e
sed -i '/running with root privileges/d' "$work/lintian.txt" # as CI is
[ $code -eq 0 ] && [ ! -s "$work/lintian.txt" ] ||
    { cat "$work/lintian.txt"; fail "lintian -I --pedantic (exit $code)"; }
ok "lintian -I --pedantic: nothing to report"

# Every hardening feature Debian's dpkg-buildflags can give here, in every program
# (control-flow protection only where it has a feature for it, which Debian 12's has not).
dpkg-deb -x "$deb" "$work/deb"
options=()
dpkg-buildflags --query-features hardening | grep -qx "Feature: branch" || options+=(--nocfprotection)
programs=("$work/deb$prefix/$BINDIR"/*)
hardening-check "${options[@]}" "${programs[@]}" >"$work/hardening.txt" 2>&1 ||
    { cat "$work/hardening.txt"; fail "hardening-check"; }
ok "hardening-check ${options[*]}: $(basename -a "${programs[@]}" | tr '\n' ' ')pass"

# ---- dpkg -i and dpkg -r (root: a throwaway machine, as CI is) ------------------------------
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "skipped: dpkg -i needs root or sudo"; exit 77; }
    SUDO=sudo
fi
# Another package tool at work holds dpkg's lock for a while: wait for it (2 min).
dpkg_() {
    for _ in $(seq 60); do
        $SUDO dpkg "$@" >"$work/dpkg.try" 2>&1
        local code=$?
        cat "$work/dpkg.try" >>"$work/dpkg.log"
        [ $code -eq 0 ] && return 0
        grep -q "lock" "$work/dpkg.try" || return 1
        sleep 2
    done
    return 1
}
dpkg_ -i "$deb" "$dev" || { cat "$work/dpkg.log"; fail "dpkg -i"; }
found=$(env PATH=/usr/bin:/bin sh -c 'command -v tessaline; tessaline --version; man -w 6 tessaline')
[ "$found" = "$(printf '%s\n' "$prefix/$BINDIR/tessaline" "tessaline (Tessaline II alpha 1) $version" \
    "$prefix/$MANDIR/man6/tessaline.6.gz")" ] || fail "after dpkg -i: $found"
ok "dpkg -i: tessaline on the PATH ($prefix/$BINDIR/tessaline), runs, and man finds its page"
dpkg_ -r tessaline tessaline-dev || { cat "$work/dpkg.log"; fail "dpkg -r"; }
left=$(cat "$work/deb.files" "$work/dev.files" | while read -r f; do [ ! -e "/$f" ] || echo "/$f"; done)
[ -z "$left" ] || fail "left after dpkg -r: $left"
ok "dpkg -r removed all $(cat "$work/deb.files" "$work/dev.files" | wc -l) files"
