#!/usr/bin/env bash
# The Windows image of the program: a GUI program (no console window) that
# defines WinMain and imports only the system's GDI32, USER32, KERNEL32 and the
# C runtime (the screensaver also ADVAPI32, the registry of its settings, and
# COMCTL32, its dialog's controls): nothing of our software layer or of SDL is
# linked in. Then its manifest, version record (the version of the build it lies
# in) and icon (dist/tessaline.ico), read back with Debian's python3-pefile.
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
want="GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL "
[[ "$exe" != *.scr ]] || want="ADVAPI32.DLL COMCTL32.DLL $want"
[ "$dlls" = "$want" ] || fail "imports $dlls, not $want"
symbols=$("$objdump" -t "$exe")
grep -qE '[[:space:]]_?WinMain(@16)?$' <<<"$symbols" || fail "no WinMain"
echo "$exe: Windows GUI, WinMain, imports $dlls"

build=$(cd "$(dirname "$exe")" && pwd)
until [ -f "$build/CMakeCache.txt" ] || [ "$build" = / ]; do build=$(dirname "$build"); done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null) ||
    fail "no CMakeCache.txt above $exe"
/usr/bin/python3 - "$exe" "$version" "$(dirname "$0")/../.." <<'EOF' || fail "resources of $exe"
import os, struct, sys, xml.etree.ElementTree as ET
import pefile

exe, version, source = sys.argv[1:]
pe = pefile.PE(exe)
types = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
found = {(t.id, e.id): e.directory.entries[0].data.struct for t in types for e in t.directory.entries}
def data(kind, ident):  # 24: manifest, 14: icon group, 3: icon
    e = found.get((kind, ident)) or sys.exit(f"no resource {ident} of type {kind}")
    return pe.get_data(e.OffsetToData, e.Size)
def entries(d, size):  # an icon directory's: width, height, colours, bits, bytes; then the rest
    count = struct.unpack_from("<H", d, 4)[0]
    return [(d[at:at + 12], d[at + 12:at + size]) for at in range(6, 6 + size * count, size)]
with open(os.path.join(source, "dist/tessaline.ico"), "rb") as f:
    ico = f.read()
with open(os.path.join(source, "LICENSE")) as f:
    copyright = next(line.strip() for line in f if line.startswith("Copyright "))
quad = ".".join((version.split(".") + ["0"] * 4)[:4])

m = ET.fromstring(data(24, 1))
v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
ws = v3 + "application/" + v3 + "windowsSettings/{http://schemas.microsoft.com/SMI/%d/WindowsSettings}"
fixed = pe.VS_FIXEDFILEINFO[0]
got = {k.decode(): v.decode() for i in pe.FileInfo[0] if i.Key == b"StringFileInfo"
       for t in i.StringTable for k, v in t.entries.items()}
got.update({
    "identity": m.find(v1 + "assemblyIdentity").get("version"),
    "dpiAwareness": m.findtext(ws % 2016 + "dpiAwareness", "").split(",")[0].strip(),
    "dpiAware": m.findtext(ws % 2005 + "dpiAware"),
    "dependencies": [(a.get("name"), a.get("version"), a.get("publicKeyToken")) for a in
                     m.iterfind(f"{v1}dependency/{v1}dependentAssembly/{v1}assemblyIdentity")],
    "supportedOS": {s.get("Id") for s in m.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")},
    "level": [r.get("level") for r in m.iter(v3 + "requestedExecutionLevel")],
    "fixed": "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                              fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF),
    "described": bool(got.get("FileDescription")),
    # Icon group 1: the file's entries in its order, each naming the RT_ICON of its image.
    "icons": [(head, data(3, struct.unpack("<H", rest)[0])) for head, rest in entries(data(14, 1), 14)],
})
want = {
    "identity": quad, "dpiAwareness": "PerMonitorV2", "dpiAware": "true/pm",
    "dependencies": [("Microsoft.Windows.Common-Controls", "6.0.0.0", "6595b64144ccf1df")],
    "supportedOS": {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    "level": ["asInvoker"], "fixed": quad, "described": True,
    "icons": [(head, ico[offset:offset + size]) for head, rest in entries(ico, 16)
              for size, offset in [struct.unpack("<II", head[8:] + rest)]],
    "ProductName": "Tessaline", "CompanyName": "the Tessaline authors", "FileVersion": version,
    "ProductVersion": version, "LegalCopyright": copyright, "OriginalFilename": os.path.basename(exe),
}
wrong = [f"{k}: {str(got.get(k))[:300]}, not {str(w)[:300]}" for k, w in want.items() if got.get(k) != w]
if wrong:
    sys.exit("\n".join(wrong))
print(f"{os.path.basename(exe)}: manifest {quad}, PerMonitorV2, Common Controls 6, Windows 7 to 11, "
      f"asInvoker; version {version}; {len(want['icons'])} icons")
EOF
