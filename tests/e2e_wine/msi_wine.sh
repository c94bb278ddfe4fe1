#!/usr/bin/env bash
# The 64-bit MSI under wine64, in a wine prefix of its own made for the run, on
# an 800x600 Xvfb: a silent install puts every file, both Start-menu shortcuts, the
# programs-list entry (and Windows Installer's copy of its icon) and the screen
# saver where Windows looks for it; the installed program and tessaline.scr /s run
# from there; a newer version replaces it; a silent removal leaves the prefix's
# files and registry as they were, but for what Windows Installer keeps for itself,
# and leaves the user's settings (HKCU\Software\Tessaline) in place.
#   msi_wine.sh WINE MSI NEWER_MSI WORKDIR
set -euo pipefail
wine=$1 msi=$2 newer=$3 work=$4
scenario=msi
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# winemenubuilder would copy the shortcuts into this machine's own menus (~/.local).
export WINEDLLOVERRIDES=winemenubuilder.exe=d
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_run.sh
. "$here/wine_run.sh"

property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }
code=$(property "$msi" ProductCode) version=$(property "$msi" ProductVersion)
new_code=$(property "$newer" ProductCode) new_version=$(property "$newer" ProductVersion)
[ -n "$code" ] && [ -n "$new_code" ] && [ "$code" != "$new_code" ] ||
    fail "product codes '$code' and '$new_code'"

rm -rf "$WINEPREFIX"
makePrefix
startSession 800x600x24
reg() { "$wine" reg "$@" 2>/dev/null | tr -d '\r'; }
# The prefix's files (not its registry files or server lock) and its registry as
# wine writes it out when the server ends, without the keys' time stamps, the
# display adapter's and monitor's records, which wine writes anew (with the time, a
# new adapter id and video id) in a session that shows something, and the user's
# settings, checked on their own.
snapshot() {
    "$wineserver" -w
    (cd "$WINEPREFIX" && find . ! -name '*.reg' ! -name wineserver | sort) >"$work/$1.files"
    for hive in system user userdef; do
        echo "== $hive"
        sed -E '/^#time=/d; /^$/d; s/^(\[.*\]) [0-9]+$/\1/' "$WINEPREFIX/$hive.reg" |
            awk '/^\[/ { skip = index($0, adapter) == 1 || index($0, adapterDevice) == 1 ||
                                index($0, monitors) == 1 ||
                                $0 == settings "]" || index($0, settings "\\\\") == 1 }
                !skip' settings='[Software\\\\Tessaline' \
                adapter='[System\\\\CurrentControlSet\\\\Control\\\\Class\\\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\\\' \
                adapterDevice='[System\\\\CurrentControlSet\\\\Enum\\\\PCI\\\\VEN_0000&DEV_0000&' \
                monitors='[System\\\\CurrentControlSet\\\\Enum\\\\DISPLAY\\\\'
    done >"$work/$1.reg"
}
# Unix paths as wine's drive Z: names them, Windows paths in the prefix as paths here.
windows() { printf 'Z:%s\n' "${1//\//\\}"; }
unix() { printf '%s\n' "$WINEPREFIX/drive_c/$(sed 's/^C:\\//; s/\\/\//g; s/\/$//' <<<"$1")"; }
msiexec() {
    local log=$work/$1.log
    shift
    "$wine" msiexec "$@" /qn /l*v "$(windows "$log")" >/dev/null 2>&1 ||
        fail "msiexec $* ended with $? (log: $log)"
    # Whatever the installer left running has finished before anything reads the
    # registry or the files.
    "$wineserver" -w
    # The folders as this installer resolved them (wine puts per-machine shortcuts in
    # the user's Start menu).
    tr -d '\r' <"$log" | sed -n 's/^Property(S): \(ProgramMenuFolder\|ProgramFiles64Folder\|System64Folder\) = /\1=/p' |
        sort -u >"$work/folders"
}
folder() { unix "$(sed -n "s/^$1=//p" "$work/folders")"; }

# The first program of a session to use the display makes wine record the display's
# devices in the registry: one before the snapshot, so that the install is not that.
"$wine" rundll32 user32.dll,GetSystemMetrics
snapshot before

# ---- Install: files, shortcuts, the programs-list entry --------------------------------------
msiexec install /i "$(windows "$msi")"
programs=$(folder ProgramMenuFolder) program_files=$(folder ProgramFiles64Folder)
system=$(folder System64Folder)
[ "$system" = "$WINEPREFIX/drive_c/windows/system32" ] || fail "64-bit system folder: $system"
# Every file and shortcut, and nothing else but Windows Installer's cache of the
# package and of its icon.
(cd "$WINEPREFIX" && find . ! -name '*.reg' ! -name wineserver | sort) >"$work/installed.files"
cache="$WINEPREFIX/drive_c/windows/Installer"
{
    for f in README.txt LICENSE.txt tessaline.exe; do echo "$program_files/Tessaline/$f"; done
    echo "$program_files/Tessaline"
    echo "$system/tessaline.scr"
    echo "$programs/Tessaline.lnk"
    echo "$programs/Tessaline screen saver settings.lnk"
    echo "$cache"
    echo "$cache/$code"
    echo "$cache/$code/tessaline.ico"
} | sed "s|^$WINEPREFIX|.|" | sort >"$work/want.files"
comm -13 "$work/before.files" "$work/installed.files" | grep -vxE '\./drive_c/windows/Installer/[0-9a-f]+\.msi' \
    >"$work/added.files" || true
diff "$work/want.files" "$work/added.files" || fail "files added by the install (< missing, > extra)"
echo "msi: installed the program, README.txt and LICENSE.txt in Program Files\\Tessaline," \
    "tessaline.scr in system32, both shortcuts in the Start menu"

uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
# The entry's values, one "name=data" line each.
entry() { reg query "$uninstall_key\\$1" | sed -n 's/^    \([A-Za-z]*\)    REG_[A-Z_]*    \(.*\)$/\1=\2/p'; }
checkEntry() { # CODE VERSION
    entry "$1" >"$work/entry" || fail "no programs-list entry $1: $(reg query "$uninstall_key" || true)"
    for want in DisplayName=Tessaline "DisplayVersion=$2" "Publisher=the Tessaline authors" \
        "Size=$(property "$msi" ARPSIZE)"; do
        grep -qxF "$want" "$work/entry" || fail "programs-list entry lacks $want: $(cat "$work/entry")"
    done
}
checkEntry "$code" "$version"
echo "msi: programs-list entry: Tessaline $version by the Tessaline authors, with its size"

# ---- The installed programs ------------------------------------------------------------------
# The program as its shortcut starts it (no argument: 800x600, this screen's size).
exe='C:\Program Files\Tessaline\tessaline.exe' title="Tessaline II alpha 1"
start
sleep 0.5 # the window exists before wine has given it the keyboard: a key sent at once is lost
xdotool key Escape
expectExit 0 "Esc"
exe='C:\windows\system32\tessaline.scr' title=Tessaline
start /s
sleep 0.5 # wine reports the pointer's place to a new window as a move: let that pass
xdotool key x
expectExit 0 "a key"

# ---- A newer version replaces it; removal ----------------------------------------------------
# The user's settings, as the screen saver keeps them: no package of ours may touch them.
reg add 'HKCU\Software\Tessaline' /v Delay /t REG_DWORD /d 7 /f >/dev/null
msiexec upgrade /i "$(windows "$newer")"
reg query "$uninstall_key\\$code" >/dev/null && fail "$version is still listed after installing $new_version"
checkEntry "$new_code" "$new_version"
[ -f "$program_files/Tessaline/tessaline.exe" ] && [ -f "$system/tessaline.scr" ] ||
    fail "the files are gone after the upgrade"
echo "msi: $new_version replaced $version: one entry, the files in place"

msiexec remove /x "$(windows "$newer")"
snapshot after
# Files: only Windows Installer's cache folder, now empty, stays.
{ diff "$work/before.files" "$work/after.files" || true; } | grep -E '^[<>]' |
    grep -vxF '> ./drive_c/windows/Installer' >"$work/left.files" &&
    fail "files after removal (< gone, > left): $(cat "$work/left.files")"
reg query 'HKCU\Software\Tessaline' /v Delay | grep 'REG_DWORD    0x7$' >/dev/null ||
    fail "the user's settings went with the package"
# Registry: only the roots of Windows Installer's own keys, left empty as Windows
# leaves them.
{ diff "$work/before.reg" "$work/after.reg" || true; } | grep -E '^[<>]' >"$work/left.reg" || true
cat >"$work/expected.reg" <<'EOF'
> [Software\\Classes\\Installer\\Features]
> [Software\\Classes\\Installer\\Products]
> [Software\\Classes\\Installer\\UpgradeCodes]
> [Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes]
> [Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components]
> [Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products]
EOF
grep -vxF -f "$work/expected.reg" "$work/left.reg" >"$work/unexpected.reg" &&
    fail "registry after removal (< gone, > left): $(cat "$work/unexpected.reg")"
echo "msi: removed; the prefix's files and registry are as before, the user's settings kept"
rm -rf "$WINEPREFIX"
