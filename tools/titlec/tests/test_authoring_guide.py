#!/usr/bin/python3
"""Builds the worked example of docs/authoring.md from the guide's own blocks: every block
after a line 'File `PATH`:' is written to PATH, every ```sh block is run, in the order the
guide gives them, in a scratch home. The outputs the guide shows must be what the tools say.

    test_authoring_guide.py GUIDE BUILD_TREE            the tests, in a scratch home
    test_authoring_guide.py --make GUIDE BUILD_TREE HOME
                                   only builds the example into HOME (HOME/rivers-disc is
                                   then the disc the end-to-end test opens in player)

BUILD_TREE is the native tree: its bin/ has titlec and kroverify, its product/ the sample
disc whose furniture the example copies."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

MAKE = len(sys.argv) > 1 and sys.argv[1] == "--make"
ARGS = sys.argv[2:] if MAKE else sys.argv[1:]
GUIDE = pathlib.Path(ARGS[0]) if len(ARGS) > 0 else None
TREE = pathlib.Path(ARGS[1]) if len(ARGS) > 1 else None
SECTION = "## A worked example"
FILE_LINE = re.compile(r"^File `([^`]+)`:$")
SHOWN_HOME = "/home/you"


def example_blocks(text):
    """[(kind, path or None, body)] of the worked example: kind 'file', 'sh' or 'shown'."""
    lines = text.split("\n")
    start = next(i for i, line in enumerate(lines) if line.startswith(SECTION))
    blocks, i, target = [], start + 1, None
    while i < len(lines):
        line = lines[i]
        if line.startswith("## "):
            break
        m = FILE_LINE.match(line)
        if m:
            target = m.group(1)
        elif line.startswith("```"):
            fence = line[3:].strip()
            end = next(j for j in range(i + 1, len(lines)) if lines[j] == "```")
            body = "\n".join(lines[i + 1:end]) + "\n"
            if target:
                blocks.append(("file", target, body))
            else:
                blocks.append(("sh" if fence == "sh" else "shown", None, body))
            target, i = None, end
        i += 1
    return blocks


def shell(script, top, home):
    return subprocess.run(["bash", "-euo", "pipefail", "-c", script], cwd=top, capture_output=True, text=True,
                          env={"HOME": str(home), "PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8"})


def make_example(blocks, tree, home, top):
    """Writes the guide's files and runs its commands in order; [(script, result)]. The
    commands run from `top`, a checkout whose native tree is build/native."""
    home.mkdir(parents=True, exist_ok=True)
    native = top / "build" / "native"
    if not native.exists():
        native.parent.mkdir(parents=True, exist_ok=True)
        native.symlink_to(tree.resolve())
    outputs = []
    for kind, path, body in blocks:
        if kind == "file":
            pathlib.Path(path.replace("~", str(home), 1)).write_text(body, encoding="utf-8")
        elif kind == "sh":
            outputs.append((body, shell(body, top, home)))
            if outputs[-1][1].returncode != 0:
                break
    return outputs


@unittest.skipUnless(GUIDE and TREE, "needs the guide and the native build tree")
class WorkedExample(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        root = pathlib.Path(cls.scratch.name)
        cls.home, cls.top = root / "home", root / "checkout"
        cls.blocks = example_blocks(GUIDE.read_text(encoding="utf-8"))
        cls.outputs = make_example(cls.blocks, TREE, cls.home, cls.top)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    @classmethod
    def shell(cls, script):
        return shell(script, cls.top, cls.home)

    def shown(self, containing):
        return next(body for kind, _, body in self.blocks if kind == "shown" and containing in body)

    def test_every_command_of_the_guide_succeeds(self):
        self.assertGreaterEqual(len(self.outputs), 5)
        for script, result in self.outputs:
            with self.subTest(script=script.split("\n")[0]):
                self.assertEqual(result.returncode, 0, result.stderr)

    def test_the_disc_holds_what_the_guide_promises(self):
        disc = self.home / "rivers-disc"
        dump = subprocess.run([str(TREE / "bin" / "titlec"), "dump", str(disc / "kro.m14")],
                              capture_output=True, text=True, check=True).stdout
        self.assertIn("topics 4, articles 3", dump)
        self.assertIn('topic_start "РЕКИ И ОЗЁРА"', dump)
        self.assertIn('hotspot kind 2 hash 083044F9 data "pop_delta"', dump)   # the popup link
        self.assertIn("data: [PICT] v_volga1.jpg {Волга у Ярославля}", dump)
        for line in ("list 4: 1", "list 5: 0", "list 107: 1", "baggage slides.dat", "baggage v_capt.txt"):
            self.assertIn(line, dump)
        self.assertEqual((disc / "content1.txt").read_bytes().count(b"\r\n"),
                         (self.home / "rivers" / "lists" / "content1.txt").read_text(encoding="utf-8").count("\n"))
        self.assertIn("Озёра".encode("cp1251"), (disc / "content1.txt").read_bytes())
        from PIL import Image
        with Image.open(disc / "pictures" / "v" / "icons" / "v_volga1i.jpg") as icon:
            self.assertEqual(icon.size, (184, 205))   # the gallery's picture well

    def test_kroverify_says_what_the_guide_shows(self):
        result = self.shell("build/native/bin/kroverify disc ~/rivers-disc")
        said = result.stdout.replace(str(self.home), SHOWN_HOME).split("\n")
        for line in self.shown("kroverify:").split("\n"):
            if line and line != "...":
                pattern = re.escape(line).replace("N", r"\d+")
                self.assertTrue(any(re.fullmatch(pattern, s) for s in said), (line, said))

    def test_the_misspelt_link_is_reported_as_the_guide_shows(self):
        baikal = self.home / "rivers" / "articles" / "baikal.md"
        original = baikal.read_text(encoding="utf-8")
        try:
            baikal.write_text(original.replace("(#topic_start)", "(#topic_strat)"), encoding="utf-8")
            result = self.shell("build/native/bin/titlec build ~/rivers -o ~/broken/kro.m14")
        finally:
            baikal.write_text(original, encoding="utf-8")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.replace(str(self.home), SHOWN_HOME), self.shown("no title written"))
        self.assertFalse((self.home / "broken" / "kro.m14").exists())


def main():
    if not MAKE:
        unittest.main(argv=sys.argv[:1] + ["-v"])
    home = pathlib.Path(ARGS[2]).resolve()
    for script, result in make_example(example_blocks(GUIDE.read_text(encoding="utf-8")), TREE, home, home / "checkout"):
        if result.returncode != 0:
            print(f"authoring guide: '{script.strip()}' failed:\n{result.stderr}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
