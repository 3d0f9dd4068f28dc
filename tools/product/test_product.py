#!/usr/bin/python3
"""Tests of the product builder: the validator catches broken references loudly (file:line),
and the file formats it writes are the ones the programs read.

KRO_PRODUCT_OUT names a build tree whose discs were built (the 'product' target);
KRO_CONTENT the content folder."""
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from PIL import Image  # noqa: E402

from disc import catalogues, cp1251, timeline, topics, validate  # noqa: E402
from disc.letters import folder_of_picture, folder_of_title, is_portrait_name  # noqa: E402

CONTENT = pathlib.Path(os.environ.get("KRO_CONTENT", HERE.parent.parent / "content"))
OUT = pathlib.Path(os.environ.get("KRO_PRODUCT_OUT", HERE.parent.parent / "build" / "native"))


def run_check(content, out):
    return subprocess.run([sys.executable, str(HERE / "build_product.py"), "--content", str(content),
                           "--out", str(out), "--check-only"], capture_output=True, text=True)


@unittest.skipUnless((OUT / "product" / "ffon.pic").exists(), "the discs have not been built")
class BuiltDiscs(unittest.TestCase):
    """The shipped content passes, and a single broken reference fails with its place."""

    def setUp(self):
        self.tmp = pathlib.Path(tempfile.mkdtemp())
        self.content = self.tmp / "content"
        shutil.copytree(CONTENT, self.content)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def edit(self, relative, old, new):
        path = self.content / relative
        text = path.read_text(encoding="utf-8")
        self.assertIn(old, text)
        path.write_text(text.replace(old, new, 1), encoding="utf-8")
        return next(i for i, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1) if new.split("\n")[0] in line)

    def test_shipped_content_validates(self):
        result = run_check(CONTENT, OUT)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_broken_jump_link_fails_with_file_and_line(self):
        line = self.edit("articles/volga.md", "(#topic_valdai)", "(#topic_nowhere)")
        result = run_check(self.content, OUT)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"volga.md:{line}: link to unknown context string 'topic_nowhere'", result.stderr)

    def test_broken_media_references_fail(self):
        cases = [
            ("articles/baikal.md", "maps: map_baikal", "maps: map_nowhere", "'map_nowhere' is not a popup topic"),
            ("articles/baikal.md", "pict: b_baikal1.jpg", "pict: v_baikal1.jpg", "does not file under the folder 'b'"),
            ("articles/gagarin.md", "move: vostok.mov", "move: nowhere.mov", "not a movie of the encyclopedia disc"),
            ("articles/tiger.md", "lists: a, 25, 107", "lists: b, 25, 107", "does not match the title's folder 'a'"),
            ("articles/elk.md", "lists: l, 25", "lists: l, 25, 107", "list 107 holds exactly the articles with illustrations"),
            ("articles/about.md", "(cmd:topic_volga>main)", "(cmd:topic_nowhere>main)", "command 'topic_nowhere>main' names no topic"),
            ("lists/content1.txt", '44 "Композиторы и музыканты"', '45 "Композиторы и музыканты"', "item 45 names no stored list"),
        ]
        for relative, old, new, message in cases:
            with self.subTest(new=new):
                shutil.rmtree(self.content)
                shutil.copytree(CONTENT, self.content)
                line = self.edit(relative, old, new)
                result = run_check(self.content, OUT)
                self.assertEqual(result.returncode, 1, new)
                where = f"{relative.split('/')[-1]}:{line}: "
                self.assertTrue(any(where in l and message in l for l in result.stderr.split("\n")), result.stderr)

    def test_archive_disc_has_movies_of_different_lengths_and_sizes(self):
        movies = sorted((OUT / "archive" / "movies").glob("*.*"))
        self.assertGreaterEqual(len(movies), 8)
        sizes, lengths = set(), set()
        for movie in movies:
            probe = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                                    "stream=width,height:format=duration", "-of", "default=nw=1", str(movie)],
                                   capture_output=True, text=True, check=True).stdout
            fields = dict(line.split("=", 1) for line in probe.split())
            self.assertLessEqual((int(fields["width"]), int(fields["height"])), (320, 240), movie.name)
            sizes.add((fields["width"], fields["height"]))
            lengths.add(round(float(fields["duration"])))
        self.assertGreaterEqual(len(sizes), 4)
        self.assertGreaterEqual(len(lengths), 6)
        self.assertTrue((OUT / "archive" / "lumfil.txt").read_bytes().startswith("ФИЛЬМОТЕКА".encode("cp1251")))

    def test_oversized_movie_is_refused(self):
        self.edit("media/movies.toml", "size = [320, 240]", "size = [640, 480]")
        result = run_check(self.content, OUT)
        self.assertEqual(result.returncode, 1)
        self.assertIn("size 640 x 480 must be even and fit the video window's 320 x 240", result.stderr)

    def test_corrupt_catalogue_is_reported_by_line(self):
        slides = OUT / "title-src" / "baggage" / "slides.dat"
        rows = slides.read_bytes().split(b"\r\n")[:-1]
        broken = self.tmp / "slides.dat"
        broken.write_bytes(b"\r\n".join([rows[-1], rows[0], b"no fields here"] + rows[1:3]) + b"\r\n")
        report = validate.Report()
        by_context = {t.context.value: t for t in topics.load_topics(CONTENT)}
        validate.check_catalogue(report, broken, by_context, OUT / "product")
        self.assertIn(f"{broken}:2: entries are not sorted by initial letter", report)
        self.assertIn(f"{broken}:3: an entry is three fields separated by ';'", report)


class Formats(unittest.TestCase):
    def test_picture_folder_rules(self):
        table = {"pivanov1": "ivanov", "yakov_1": "jakov", "p_peter1_1": "p", "pp_peter1": "p",
                 "piu_dolgoruky": "iu", "yu_dolgoruky1": "iu", "ya_yakutia1": "ja", "zh_zhukov1": "zh",
                 "pzh_zhukov": "zh", "p": "p"}
        for name, folder in table.items():
            with self.subTest(name=name):
                self.assertEqual(folder_of_picture(name), folder)
        self.assertTrue(is_portrait_name("pivanov1"))
        self.assertFalse(is_portrait_name("p_peter1"))
        self.assertFalse(is_portrait_name("p1"))

    def test_letter_of_titles(self):
        table = {"ВОЛГА": "v", "ЁЖ": "e", "«ЯР»": "ja", "ЫСЫАХ": "y", "ЙОШКАР-ОЛА": "ii", "ПЁТР I": "p", "1812": None}
        for title, folder in table.items():
            with self.subTest(title=title):
                self.assertEqual(folder_of_title(title), folder)

    def test_cp1251_writer_uses_crlf_and_names_the_bad_character(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = pathlib.Path(tmp) / "a.txt"
            cp1251.write_lines(path, ["Волга;topic_volga;v_volga1", "ёЁ№«»—"])
            self.assertEqual(path.read_bytes(), "Волга;topic_volga;v_volga1\r\nёЁ№«»—\r\n".encode("cp1251"))
            with self.assertRaisesRegex(cp1251.EncodingError, r"U\+2212"):
                cp1251.write_lines(path, ["–40 °С", "−40 °С"], "x.md")

    def test_slides_are_filed_by_initial_letter_behind_a_sign(self):
        self.assertEqual(catalogues.initial_letter("«Аврора»".encode("cp1251")), 0xC0)
        self.assertEqual(catalogues.initial_letter("Волга".encode("cp1251")), 0xC2)

    def test_data_string_sections_are_limited(self):
        t = topics.Topic(pathlib.Path("x.md"))
        t.pict = [topics.Ref(f"v_x{i}.jpg", 5, "подпись " * 20) for i in range(8)]
        report = validate.Report()
        for section in validate.data_string(t):
            if validate._bytes(section) > validate.SECTION_LIMIT:
                report.add(t.path, 1, "too long")
        self.assertEqual(len(report), 1)
        self.assertTrue(validate.data_string(t)[0].startswith("[PICT] v_x0.jpg {подпись"))

    def test_timeline_bitmap_is_a_bottom_up_frame_strip(self):
        img = Image.new("RGB", (timeline.FRAME_W * 3, timeline.FRAME_H), (255, 255, 255))
        img.putpixel((timeline.FRAME_W + 7, 0), (255, 0, 0))   # top row of frame 1
        with tempfile.TemporaryDirectory() as tmp:
            path = pathlib.Path(tmp) / "t.bmp"
            frames = timeline.write_bitmap(img, path)
            self.assertEqual(frames, 3)
            self.assertEqual(timeline.read_bitmap_header(path), (3, timeline.FRAME_W, timeline.FRAME_H, 1078 + 3 * timeline.FRAME_W * timeline.FRAME_H))
            data = path.read_bytes()
            self.assertEqual(struct.unpack_from("<HI", data, 8), (3, 1078))
            frame1 = 1078 + timeline.FRAME_W * timeline.FRAME_H
            top_row_of_frame1 = frame1 + (timeline.FRAME_H - 1) * timeline.FRAME_W
            index = data[top_row_of_frame1 + 7]
            self.assertEqual(data[54 + index * 4:54 + index * 4 + 3], bytes((0, 0, 255)))   # BGR red
            path.write_bytes(data[:-1])
            with self.assertRaises(ValueError):
                timeline.read_bitmap_header(path)

    def test_region_file_round_trip_and_truncation(self):
        cards = [{"box": (10, 20, 30, 40), "context": "topic_a"}, {"box": (50, 60, 70, 80), "context": "topic_b"}]
        with tempfile.TemporaryDirectory() as tmp:
            path = pathlib.Path(tmp) / "t.rhs"
            timeline.write_regions(cards, path)
            self.assertEqual(len(path.read_bytes()), 2 + 2 * 48)
            self.assertEqual(timeline.read_regions(path), [(10, 20, 30, 40, "topic_a"), (50, 60, 70, 80, "topic_b")])
            for cut in (0, 1, 2, 49, 97):
                path.write_bytes(path.read_bytes()[:cut])
                with self.assertRaises(ValueError):
                    timeline.read_regions(path)
                timeline.write_regions(cards, path)


class Writers(unittest.TestCase):
    def test_slides_sort_by_letter_then_dictionary_order(self):
        def article(title, ctx, pict):
            t = topics.Topic(pathlib.Path(ctx + ".md"))
            t.title, t.context = topics.Ref(title, 2), topics.Ref(ctx, 1)
            t.pict = [topics.Ref(pict, 5, "подпись")]
            return t
        rows = catalogues.slides_entries([article("ПЁТР I", "topic_peter1", "p_peter1_1.jpg"),
                                          article("ВОЛГА", "topic_volga", "v_volga1.jpg"),
                                          article("ПЕТЕРГОФ", "topic_peterhof", "p_peterhof1.jpg"),
                                          article("АМУР", "topic_amur", "a_amur1.jpg")])
        self.assertEqual([r[0] for r in rows], ["АМУР", "ВОЛГА", "ПЕТЕРГОФ", "ПЁТР I"])
        self.assertEqual(rows[0], ("АМУР", "topic_amur", "a_amur1"))

    def test_caption_file_is_key_tab_caption_crlf_then_nul(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = pathlib.Path(tmp) / "v_capt.txt"
            catalogues.write_captions(path, [("v_volga1", "Волга у Ярославля"), ("v_volga2", "Бассейн")])
            self.assertEqual(path.read_bytes(), "v_volga1\tВолга у Ярославля\r\nv_volga2\tБассейн\r\n\0".encode("cp1251"))

    def test_ini_lines(self):
        import write_ini
        lines = write_ini.ini_lines("/discs/product", disk2=True, directory="C:\\kro", intro=False)
        self.assertEqual(lines, ["[Kro]", "ProductDir=Z:\\discs\\product", "Directory=C:\\kro", "IsDisk2Exists=1",
                                 "ShowIntroduction=0"])

    def test_pictures_are_deterministic(self):
        from disc import media
        brief = {"kind": "landscape", "preset": "taiga", "sky": "winter", "snow": 0.3,
                "layers": [{"type": "animal", "kind": "sable", "x": 0.6, "base": 0.86, "height": 0.12}]}
        first = media.render_picture("s_test1", brief).tobytes()
        self.assertEqual(first, media.render_picture("s_test1", brief).tobytes())
        self.assertNotEqual(first, media.render_picture("s_test2", brief).tobytes())

    def test_list_description_blocks(self):
        lines = ['ITEMSTRUCT: 270, 18, TEXT', 'GROUPPREFIX: "book.bmp", 18, 20', 'BEGIN:', '{2', '3 "География"',
                 '17 "Города"', '3{1', '4 "Реки"', '99{1', '5 "Озёра"', 'garbage']
        pictures, blocks = validate.parse_list_body(lines)
        self.assertEqual(pictures, [(2, "book.bmp")])
        report = validate.Report()
        validate._check_blocks(report, "c.txt", blocks)
        self.assertEqual(report, ["c.txt:9: block of node 99, which no earlier entry declares",
                                  "c.txt:11: line is neither a block head 'id{count' nor an entry 'id \"text\"'"])


if __name__ == "__main__":
    unittest.main()
