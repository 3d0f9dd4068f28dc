#!/usr/bin/python3
"""Checks that every resource a program loads by name is in that program's compiled resources.

    check_names.py --windres WINDRES --names LIST --sources APPDIR
                   --program player OBJECT [--program archive OBJECT ...]

The names come from two places: the committed list LIST ("program kind name" per line), and
the literal loads found in the C++ sources under APPDIR (LoadBitmapA, LoadCursorA, LoadIconA,
LoadAcceleratorsA, dialog templates by MAKEINTRESOURCE number, bitmap-drawing helpers, and
the bitmap-button record tables: an initializer that holds two or more resource-like names).
Sources under APPDIR/archive belong to archive, every other source to player; tests/ folders
are skipped. Each OBJECT is
the program's compiled resource object; windres turns it back into a .res, which is parsed.

.res layout (all little-endian): a sequence of entries, each DWORD-aligned:
    u32 data size, u32 header size,
    type and name: each either 0xFFFF + u16 id, or a NUL-terminated UTF-16 string,
    padding to a DWORD, u32 data version, u16 memory flags, u16 language, u32 version,
    u32 characteristics, then the data and padding to a DWORD.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile

KIND_OF_TYPE = {1: "cursor-image", 2: "bitmap", 3: "icon-image", 5: "dialog", 6: "string",
                9: "accelerators", 12: "cursor", 14: "icon"}
SOURCE_SUFFIXES = (".cpp", ".h", ".hpp", ".inc")
LOADS = (
    (re.compile(r'\bLoadBitmapA?\s*\(\s*[^,()]+,\s*"([^"]+)"'), "bitmap"),
    (re.compile(r'\bLoadCursorA?\s*\(\s*[^,()]+,\s*"([^"]+)"'), "cursor"),
    (re.compile(r'\bLoadIconA?\s*\(\s*[^,()]+,\s*"([^"]+)"'), "icon"),
    (re.compile(r'\bLoadAcceleratorsA?\s*\(\s*[^,()]+,\s*"([^"]+)"'), "accelerators"),
    (re.compile(r'\b(?:DialogBox|CreateDialog)\w*\s*\(\s*[^,()]+,'
                r'\s*MAKEINTRESOURCEA?\s*\(\s*(\d+)\s*\)'), "dialog"),
    # Helpers that draw or load a bitmap resource by name: DrawBitmapResource(dc, "about", ...).
    (re.compile(r'\b\w*BitmapResource\w*\s*\([^;"]*"([A-Za-z_][A-Za-z0-9_]*)"'), "bitmap"),
)
NAME_LITERAL = re.compile(r'"([a-z][a-z0-9_]{0,15})"')
INITIALIZER = re.compile(r'\{[^{};]*\}')  # no statements: a braced initializer


def read_res(data):
    """(kind, NAME) pairs of a .res image; names upper-cased, ids as decimal text."""
    def ident(pos):
        if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
        end = pos
        while struct.unpack_from("<H", data, end)[0] != 0:
            end += 2
        return data[pos:end].decode("utf-16-le"), end + 2

    entries, pos = set(), 0
    while pos + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, pos)
        if header < 32 or pos + header + size > len(data):
            raise ValueError(f"damaged .res entry at offset {pos}")
        rtype, after = ident(pos + 8)
        name, _ = ident(after)
        if size:
            kind = KIND_OF_TYPE.get(rtype, str(rtype)) if isinstance(rtype, int) else rtype
            entries.add((kind, str(name).upper()))
        pos += header + size
        pos += (-pos) % 4
    return entries


def compiled_names(windres, obj):
    with tempfile.TemporaryDirectory() as tmp:
        res = os.path.join(tmp, "out.res")
        subprocess.run([windres, "-J", "coff", "-i", obj, "-O", "res", "-o", res], check=True)
        with open(res, "rb") as f:
            return read_res(f.read())


def listed_names(path):
    wanted = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].split()
            if line:
                program, kind, name = line
                wanted.append((program, kind, name, f"{path}:{number}"))
    return wanted


def source_names(app_dir):
    """Resource names the sources load by literal name: (program, kind, name, where)."""
    found = []
    for folder, folders, files in os.walk(app_dir):
        # Tests name resources too, but they are not what the programs load.
        folders[:] = sorted(f for f in folders if f != "tests")
        for file in sorted(files):
            if not file.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(folder, file)
            relative = os.path.relpath(path, app_dir)
            program = "archive" if relative.split(os.sep)[0] == "archive" else "player"
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            found += _scan(text, program, path)
    return found


def _scan(text, program, path):
    found = []

    def where(offset):
        return f"{path}:{text.count(chr(10), 0, offset) + 1}"
    for pattern, kind in LOADS:
        for m in pattern.finditer(text):
            found.append((program, kind, m.group(1), where(m.start())))
    for m in INITIALIZER.finditer(text):
        names = NAME_LITERAL.findall(m.group(0))
        if len(names) >= 2:
            found += [(program, "bitmap", name, where(m.start())) for name in names]
    return sorted(set(found))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--windres", required=True)
    parser.add_argument("--names", required=True)
    parser.add_argument("--sources", required=True)
    parser.add_argument("--program", nargs=2, action="append", metavar=("NAME", "OBJECT"),
                        required=True)
    args = parser.parse_args()
    compiled = {program: compiled_names(args.windres, obj) for program, obj in args.program}
    wanted = listed_names(args.names) + source_names(args.sources)
    missing = [(program, kind, name, where) for program, kind, name, where in wanted
               if program in compiled and (kind, name.upper()) not in compiled[program]]
    for program, kind, name, where in missing:
        print(f"{where}: {program} loads {kind} \"{name}\", which its resources lack")
    checked = sum(1 for w in wanted if w[0] in compiled)
    print(f"{checked} resource loads checked, {len(missing)} missing")
    return 1 if missing or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
