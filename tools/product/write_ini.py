#!/usr/bin/python3
"""Writes kro97.ini into a Wine prefix's Windows directory, so that the programs find a disc.

  write_ini.py --prefix build/wineprefix --product build/native/product \
               [--archive-disc] [--directory C:\\kro] [--intro 1]

ProductDir is the disc the programs read (the encyclopedia, or the archive disc for archive);
IsDisk2Exists says that a video archive disc exists; ShowIntroduction plays the logo at start.
"""
import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from disc import cp1251  # noqa: E402


def windows_path(path):
    """Wine maps the Unix root to drive Z:."""
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def ini_lines(product, disk2=True, directory="", intro=False, lumfil=""):
    lines = ["[Kro]", f"ProductDir={windows_path(product)}", f"IsDisk2Exists={'1' if disk2 else '0'}",
             f"ShowIntroduction={'1' if intro else '0'}"]
    if directory:
        lines.insert(2, f"Directory={directory}")
    if lumfil:
        lines.append(f"LUMFilDirectory={lumfil}")
    return lines


def main():
    ap = argparse.ArgumentParser(description="Writes kro97.ini into a Wine prefix.")
    ap.add_argument("--prefix", required=True, help="the WINEPREFIX")
    ap.add_argument("--product", required=True, help="the disc folder the programs should read")
    ap.add_argument("--no-disk2", action="store_true", help="say that no video archive disc exists")
    ap.add_argument("--directory", default="", help="working directory (Windows path); empty: the Windows directory")
    ap.add_argument("--intro", type=int, choices=(0, 1), default=0, help="1 plays the logo movie at start")
    ap.add_argument("--lumfil", default="", help="archive: directory of cdp.fon (Windows path)")
    args = ap.parse_args()
    windows = pathlib.Path(args.prefix) / "drive_c" / "windows"
    if not windows.is_dir():
        print(f"write_ini: {windows} is not a Wine Windows directory", file=sys.stderr)
        return 1
    cp1251.write_lines(windows / "kro97.ini", ini_lines(args.product, not args.no_disk2, args.directory,
                                                         bool(args.intro), args.lumfil))
    print(f"write_ini: {windows / 'kro97.ini'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
