#!/usr/bin/env python3
"""What a Windows shortcut (.lnk) starts: prints target, arguments, working
directory and icon, one "name=value" line each (empty when the link has none).
   lnk.py FILE.lnk"""
import struct
import sys

with open(sys.argv[1], "rb") as f:
    data = f.read()
if len(data) < 76 or struct.unpack_from("<I", data)[0] != 0x4C:
    sys.exit(f"{sys.argv[1]}: not a shell link")
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 76
if flags & 0x1:  # an item id list: the target once more, in the shell's form
    at += 2 + struct.unpack_from("<H", data, at)[0]
target = ""
if flags & 0x2:  # link info: the local path, in the system's code page
    size, _, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, at)
    if info_flags & 0x1:
        def text(offset):
            return data[at + offset : data.index(b"\0", at + offset)].decode("latin-1")
        target = text(base) + text(suffix)
    at += size
strings = {}
for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "arguments"),
                  (0x40, "icon")):
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        width = 2 if flags & 0x80 else 1
        raw = data[at + 2 : at + 2 + count * width]
        # Counted, and by some writers NUL-terminated as well.
        strings[name] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
        at += 2 + count * width
print(f"target={target}")
for name in ("arguments", "workdir", "icon"):
    print(f"{name}={strings.get(name, '')}")
