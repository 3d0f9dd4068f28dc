#!/usr/bin/python3
"""Builds the worked example of docs/authoring.md from the guide's own blocks: every block
after a line 'File `PATH`:' is written to PATH, every ```sh block is run, in the order the
guide gives them, in a scratch home. The outputs the guide shows must be what the tools say.

    test_authoring_guide.py GUIDE BUILD_TREE

BUILD_TREE is the native tree: its bin/ has titlec and kroverify, its product/ the sample
disc whose furniture the example copies."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

GUIDE = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else None
TREE = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
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


@unittest.skipUnless(GUIDE and TREE, "needs the guide and the native build tree")
class WorkedExample(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        root = pathlib.Path(cls.scratch.name)
        cls.home = root / "home"
        cls.home.mkdir()
        # The guide's commands run from the top of a checkout whose native tree is build/native.
        cls.top = root / "checkout"
        (cls.top / "build").mkdir(parents=True)
        (cls.top / "build" / "native").symlink_to(TREE.resolve())
        cls.blocks = example_blocks(GUIDE.read_text(encoding="utf-8"))
        cls.outputs = []
        for kind, path, body in cls.blocks:
            if kind == "file":
                target = pathlib.Path(path.replace("~", str(cls.home), 1))
                target.write_text(body, encoding="utf-8")
            elif kind == "sh":
                cls.outputs.append((body, cls.shell(body)))

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    @classmethod
    def shell(cls, script):
        return subprocess.run(["bash", "-euo", "pipefail", "-c", script], cwd=cls.top, capture_output=True,
                              text=True, env={"HOME": str(cls.home), "PATH": "/usr/bin:/bin", "LC_ALL": "C.UTF-8"})

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


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + ["-v"])
