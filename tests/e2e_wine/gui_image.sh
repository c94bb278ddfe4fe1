#!/usr/bin/env bash
# The Windows image of the program: a GUI program (no console window) that
# defines WinMain and imports only the system's GDI32, USER32, KERNEL32 and the
# C runtime (and ADVAPI32, the registry, for the screensaver's settings):
# nothing of our software layer or of SDL is linked in.
#   gui_image.sh OBJDUMP TESSALINE_EXE
set -euo pipefail
objdump=$1 exe=$2
headers=$("$objdump" -p "$exe")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" ||
    fail "subsystem is not Windows GUI: $(grep '^Subsystem' <<<"$headers")"
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
[ "${dlls/ADVAPI32.DLL /}" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] ||
    fail "imports $dlls"
symbols=$("$objdump" -t "$exe")
grep -qE '[[:space:]]_?WinMain(@16)?$' <<<"$symbols" || fail "no WinMain"
echo "$exe: Windows GUI, WinMain, imports $dlls"
