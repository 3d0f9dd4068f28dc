#!/usr/bin/python3
"""make_fixture.py SOURCE OUT: the gallery fixture's authoring folder, its baggage stored as
the programs read it: cp1251, CR LF lines, caption files ending in a NUL byte."""
import pathlib
import shutil
import sys

source, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
if out.exists():
    shutil.rmtree(out)
shutil.copytree(source, out, ignore=shutil.ignore_patterns("baggage"))
(out / "baggage").mkdir()
for path in sorted((source / "baggage").iterdir()):
    data = path.read_text(encoding="utf-8").replace("\n", "\r\n").encode("cp1251")
    if path.name.endswith(".txt"):
        data += b"\0"
    (out / "baggage" / path.name).write_bytes(data)
