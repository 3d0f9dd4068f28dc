#!/usr/bin/env python3
"""The print-and-copy check from the Linux side: runs print_copy_check under Wine, reads its
clipboard with xclip while it waits, and turns its PostScript into page texts with
ghostscript. Every page must carry the footer; the article's first words are on page 1;
a long article takes several pages.

  print_copy_check.py WINERUN TREE HELPER.exe TITLE CONTEXT
"""
import pathlib
import subprocess
import sys
import tempfile
import time

POLL_SECONDS, POLLS = 0.05, 2400  # waits on the helper, up to two minutes each


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def wait_for(path, helper):
    for _ in range(POLLS):
        if path.exists():
            return True
        if helper.poll() is not None:
            return False
        time.sleep(POLL_SECONDS)
    return False


def clipboard():
    out = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"],
                         capture_output=True, timeout=30)
    return out.stdout.decode("utf-8", "replace")


def same_text(a, b):
    return a.replace("\r\n", "\n").rstrip("\n") == b.replace("\r\n", "\n").rstrip("\n")


def squeeze(text):
    return " ".join(text.split())


def main():
    winerun, tree, helper_exe, title, context = sys.argv[1:6]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        folder = pathlib.Path(tmp)
        helper = subprocess.Popen([winerun, tree, helper_exe, windows_path(title), context, windows_path(folder)])
        try:
            for ready, name, signal in (("ready1", "article.txt", "next"), ("ready2", "selection.txt", "done")):
                if not wait_for(folder / ready, helper):
                    failures.append(f"the helper never got to {ready}")
                    break
                expected = (folder / name).read_text(encoding="utf-8")
                got = clipboard()
                if not same_text(got, expected):
                    failures.append(f"{name}: xclip read {got[:80]!r}, expected {expected[:80]!r}")
                (folder / signal).write_text("")
            rc = helper.wait(timeout=120)
        finally:
            if helper.poll() is None:
                helper.kill()
        if rc != 0:
            failures.append(f"the helper ended with {rc}")
        ps = folder / "article.ps"
        if ps.exists():
            subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=txtwrite",
                            f"-sOutputFile={folder}/page%03d.txt", str(ps)], check=True, timeout=120)
            pages = sorted(folder.glob("page*.txt"))
            texts = [squeeze(p.read_text(encoding="utf-8", errors="replace")) for p in pages]
            first = squeeze((folder / "first.txt").read_text(encoding="utf-8"))
            footer = (folder / "footer.txt").read_text(encoding="utf-8")
            print(f"{len(pages)} pages; page 1 begins {texts[0][:60]!r}" if texts else "no pages")
            if len(pages) < 2:
                failures.append(f"{len(pages)} pages, a long article takes several")
            if texts and first not in texts[0]:
                failures.append(f"page 1 lacks the first words {first!r}")
            for n, text in enumerate(texts, 1):
                if squeeze(footer) not in text:
                    failures.append(f"page {n} lacks the footer")
        else:
            failures.append("no PostScript was written")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
