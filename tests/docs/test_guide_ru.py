#!/usr/bin/python3
"""Keeps docs/guide-ru.md true to the programs it describes:

- every picture it shows is one of the agreed screenshots in docs/guide-ru/, and every
  agreed screenshot is shown somewhere; docs/guide-ru/ holds exactly those files, as the
  end-to-end journeys take them (`./dev screens`);
- every link inside it leads to one of its headings;
- every text it quotes in «…» or "…" outside code (button captions, window titles,
  messages) occurs in the programs' sources: the code, the art table that draws the
  buttons, the disc builder that draws the backgrounds, the packages and the sample
  content. A quote may leave out a variable part with "…".

    test_guide_ru.py REPO_ROOT"""
import pathlib
import re
import sys
import unittest

SCREENSHOTS = (
    "start", "article", "link-popup", "picture", "history", "bookmarks", "contents", "search",
    "results", "highlight", "gallery-pictures", "gallery-movies", "gallery-maps", "gallery-sounds",
    "video", "disc-prompt", "timeline", "print", "about", "help", "logo", "startup-error",
    "archive", "archive-video",
)
# Where the programs' own texts live; tests are left out, so that a text found only in a
# test does not count as the program's.
SOURCE_ROOTS = ("app", "tools/artgen", "tools/package", "tools/product", "content")
SOURCE_SUFFIXES = {".cpp", ".h", ".py", ".in", ".txt", ".md", ".toml", ".sh", ".desktop", ".1"}

IMAGE = re.compile(r"!\[[^\]]*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^```.*?^```[ \t]*$", re.S | re.M)
CODE_SPAN = re.compile(r"(`+).+?\1", re.S)
STRAIGHT = re.compile(r'"([^"\n]+(?:\n[^"\n]+)*)"')
# One literal continued by the next one on the following line, as C++ and Python join them.
JOINED_LITERALS = re.compile(r'"[ \t]*\n[ \t]*"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}
ELLIPSIS = re.compile(r"…|\.\.\.")


def normalise(text):
    """One blank for every run of white space: a message box's line break reads as a blank."""
    return " ".join(text.split())


def unescape(source):
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(0)), source)


def source_text(text):
    return normalise(unescape(JOINED_LITERALS.sub("", text)))


def prose(markdown):
    """The guide without its code: commands, file names and example queries are not quotes."""
    return CODE_SPAN.sub(" ", FENCE.sub(" ", markdown))


def guillemet_quotes(text):
    """The outermost «…» quotes, nested ones kept inside (a message may quote a caption)."""
    quotes, depth, start = [], 0, 0
    for i, ch in enumerate(text):
        if ch == "«":
            if depth == 0:
                start = i + 1
            depth += 1
        elif ch == "»" and depth > 0:
            depth -= 1
            if depth == 0:
                quotes.append(text[start:i])
    return quotes


def quotes(markdown):
    text = prose(markdown)
    return guillemet_quotes(text) + STRAIGHT.findall(text)


def fragments(quote):
    """The parts of a quote that must occur as they stand; "…" stands for a variable part."""
    return [f for f in (normalise(part) for part in ELLIPSIS.split(quote)) if f]


def occurs(fragment, corpus):
    """As a whole: a caption «Да» is not found in "Даже"."""
    def letter(i):
        return 0 <= i < len(corpus) and corpus[i].isalnum()

    at = corpus.find(fragment)
    while at != -1:
        if not (fragment[0].isalnum() and letter(at - 1)) and not (fragment[-1].isalnum() and letter(at + len(fragment))):
            return True
        at = corpus.find(fragment, at + 1)
    return False


def missing_quotes(markdown, corpus):
    return sorted({q for q in quotes(markdown) for f in fragments(q) if not occurs(f, corpus)})


def image_names(markdown):
    return IMAGE.findall(prose(markdown))


def anchors(markdown):
    """The anchors of the headings as the repository's viewer makes them; a repeated one
    gets -1, -2, ..."""
    seen, made = {}, set()
    for heading in re.findall(r"^#+ (.+)$", FENCE.sub("", markdown), re.M):
        slug = re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")
        made.add(slug if slug not in seen else f"{slug}-{seen[slug]}")
        seen[slug] = seen.get(slug, 0) + 1
    return made


def broken_links(markdown):
    return sorted(set(re.findall(r"\]\(#([^)]+)\)", prose(markdown))) - anchors(markdown))


def read_corpus(root):
    texts = []
    for top in SOURCE_ROOTS:
        for path in sorted((root / top).rglob("*")):
            parts = path.relative_to(root).parts
            if (path.suffix not in SOURCE_SUFFIXES or not path.is_file() or "tests" in parts
                    or path.name.startswith("test_")):
                continue
            texts.append(source_text(path.read_text(encoding="utf-8", errors="replace")))
    return "\n".join(texts)


class Checks(unittest.TestCase):
    """The checks themselves, on small inputs: each must be able to fail."""

    def test_quotes_nest_and_skip_code(self):
        text = 'Нажмите «Да». Сообщение «Вставьте диск «Видеоархив» и нажмите «Да».» `«код»`\n' \
               '```\n«блок»\n```\nи "прямые"'
        self.assertEqual(quotes(text), ["Да", "Вставьте диск «Видеоархив» и нажмите «Да».", "прямые"])

    def test_a_quote_may_span_lines_and_elide(self):
        self.assertEqual(fragments("В папке …\nнет   файлов"), ["В папке", "нет файлов"])
        self.assertEqual(fragments("Путь ... длиннее"), ["Путь", "длиннее"])

    def test_source_literals_join_and_unescape(self):
        source = 'Tell("Удалить?\\nЗакладки "\n        "будут удалены.", MB_YESNO);\n"Открыть  файл"'
        corpus = source_text(source)
        self.assertEqual(missing_quotes("«Удалить? Закладки будут удалены.» «Открыть файл»", corpus), [])
        self.assertEqual(missing_quotes("«Удалить закладки» «Откр»", corpus), ["Откр", "Удалить закладки"])

    def test_links_name_headings(self):
        text = "# Содержание\n## Назад и «Путь»\n## Содержание\n[a](#содержание-1) [b](#назад-и-путь) [c](#нет)"
        self.assertEqual(broken_links(text), ["нет"])

    def test_images_outside_code(self):
        self.assertEqual(image_names("![a](guide-ru/start.png) `![b](x.png)`"), ["guide-ru/start.png"])


class Guide(unittest.TestCase):
    ROOT = None

    @classmethod
    def setUpClass(cls):
        cls.guide = (cls.ROOT / "docs" / "guide-ru.md").read_text(encoding="utf-8")

    def test_pictures_are_the_agreed_screenshots(self):
        shown = image_names(self.guide)
        wanted = {f"guide-ru/{name}.png" for name in SCREENSHOTS}
        self.assertEqual(sorted(set(shown) - wanted), [], "pictures that are not agreed screenshots")
        self.assertEqual(sorted(wanted - set(shown)), [], "screenshots the guide does not show")
        taken = {f"guide-ru/{path.name}" for path in (self.ROOT / "docs" / "guide-ru").glob("*.png")}
        self.assertEqual(sorted(wanted - taken), [], "screenshots missing from docs/guide-ru")
        self.assertEqual(sorted(taken - wanted), [], "screenshots in docs/guide-ru that the guide does not know")

    def test_links_lead_to_headings(self):
        self.assertEqual(broken_links(self.guide), [], "links to headings the guide does not have")

    def test_quoted_texts_are_the_programs(self):
        self.assertEqual(missing_quotes(self.guide, read_corpus(self.ROOT)), [],
                         "quoted texts that no program source holds")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    Guide.ROOT = pathlib.Path(sys.argv[1])
    unittest.main(argv=[sys.argv[0], "-v"])
