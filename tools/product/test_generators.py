#!/usr/bin/python3
"""Tests of what the generators decide about the discs' content: the catalogues and caption
files the galleries read, the timeline's layout and region file, the validator's findings,
the ini writer and the movies' tracks.

KRO_PRODUCT_OUT names a build tree whose discs were built (the 'product' target); the
checks that need the built discs are skipped without it."""
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import wave

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import build_product  # noqa: E402
import write_ini  # noqa: E402
from disc import catalogues, cp1251, movies, timeline, topics, validate  # noqa: E402

CONTENT = pathlib.Path(os.environ.get("KRO_CONTENT", HERE.parent.parent / "content"))
OUT = pathlib.Path(os.environ.get("KRO_PRODUCT_OUT", HERE.parent.parent / "build" / "native"))


def article(title, context, pict=(), port=(), move=None, maps=None, wave_=None):
    t = topics.Topic(pathlib.Path(context + ".md"))
    t.title, t.context = topics.Ref(title, 2), topics.Ref(context, 1)
    t.pict = [topics.Ref(name, 5, caption) for name, caption in pict]
    t.port = [topics.Ref(name, 6) for name in port]
    t.move = topics.Ref(move[0], 7, move[1]) if move else None
    t.maps = topics.Ref(maps, 8) if maps else None
    t.wave = topics.Ref(wave_, 9) if wave_ else None
    return t


def popup(title, context):
    t = article(title, context)
    t.kind = topics.Ref("popup", 3)
    return t


class Scratch(unittest.TestCase):
    def setUp(self):
        self.tmp = pathlib.Path(tempfile.mkdtemp())

    def tearDown(self):
        shutil.rmtree(self.tmp)


class Catalogues(Scratch):
    """slides.dat, maps.dat, sound.dat, video.dat and the caption files."""

    def test_slides_keep_each_letter_together_as_the_letter_index_needs(self):
        rows = catalogues.slides_entries([
            article("БАЙКАЛ", "topic_baikal", pict=[("b_baikal1.jpg", "a"), ("b_baikal2.jpg", "b")],
                    port=["pbaikal.jpg"]),
            article("«АВРОРА»", "topic_aurora", pict=[("a_aurora1.jpg", "c")]),
            article("АМУР", "topic_amur", pict=[("a_amur1.jpg", "d")]),
            article("ЁЛКА", "topic_elka", pict=[("e_elka1.jpg", "e")]),
            article("ЕНИСЕЙ", "topic_yenisei", pict=[("e_yenisei1.jpg", "f")]),
            article("ВОДА", "topic_water"),  # no pictures: not in the gallery
        ])
        self.assertEqual(sorted(r[0] for r in rows[:2]), ["«АВРОРА»", "АМУР"])
        self.assertEqual([r[0] for r in rows[2:]], ["БАЙКАЛ", "ЕНИСЕЙ", "ЁЛКА"])
        # Pictures first, then portraits, without extensions.
        self.assertEqual(rows[2], ("БАЙКАЛ", "topic_baikal", "b_baikal1,b_baikal2,pbaikal"))
        letters = [catalogues.initial_letter(cp1251.encode(r[0])) for r in rows]
        self.assertEqual(letters, sorted(letters))

    def test_initial_letter_is_the_first_or_the_second_byte(self):
        for title, letter in (("Волга", "В"), ("«Аврора»", "А"), ("вОлга", "О"), ("1Я", "Я"), ("Я", "Я")):
            with self.subTest(title=title):
                self.assertEqual(catalogues.initial_letter(cp1251.encode(title)), cp1251.encode(letter)[0])
        # Small letters are no capitals: the gallery's index has none for them.
        for title in ("", "«", "волга", "1812", "«ёлка»"):
            with self.subTest(title=title):
                self.assertEqual(catalogues.initial_letter(cp1251.encode(title)), 0)

    def test_map_and_sound_entries_name_each_popup_once_with_its_first_article(self):
        by_context = {t.context.value: t for t in (popup("Карта Байкала", "map_baikal"),
                                                   popup("Голос Байкала", "snd_baikal"),
                                                   popup("Карта Амура", "map_amur"))}
        articles = [article("ОЛЬХОН", "topic_olkhon", maps="map_baikal"),
                    article("БАЙКАЛ", "topic_baikal", maps="map_baikal", wave_="snd_baikal"),
                    article("АМУР", "topic_amur", maps="map_amur"),
                    article("НИГДЕ", "topic_nowhere", maps="map_nowhere")]
        self.assertEqual(catalogues.media_entries(articles, by_context, "maps"),
                         [("Карта Амура", "topic_amur", "map_amur"), ("Карта Байкала", "topic_baikal", "map_baikal")])
        self.assertEqual(catalogues.media_entries(articles, by_context, "wave"),
                         [("Голос Байкала", "topic_baikal", "snd_baikal")])

    def test_video_entries_list_every_movie_in_disc_order(self):
        films = [{"file": "volga.mov", "title": "Волга"}, {"file": "ORBITAL.MOV", "title": "Орбита"}]
        articles = [article("ЯРОСЛАВЛЬ", "topic_yar", move=("volga.mov", "")),
                    article("ВОЛГА", "topic_volga", move=("volga.mov", "Течение"))]
        self.assertEqual(catalogues.video_entries(articles, films),
                         [("Волга", "topic_volga", "volga.mov"), ("Орбита", "topic_ros14", "ORBITAL.MOV")])
        self.assertEqual(catalogues.movie_captions(articles, films + [{"file": "x.mov", "title": "Икс", "caption": "Про икс"}]),
                         [("volga.mov", "Течение"), ("ORBITAL.MOV", "Орбита"), ("x.mov", "Про икс")])

    def test_captions_are_grouped_by_picture_folder(self):
        got = catalogues.captions([article("ЯКУТИЯ", "topic_ya", pict=[("ya_yakutia2.jpg", "Два"), ("ya_yakutia1.jpg", "Один")]),
                                   article("ИВАНОВ", "topic_iv", port=["pivanov.jpg"])])
        # A folder with portraits only still gets its (empty) caption file.
        self.assertEqual(got, {"ivanov": [], "ja": [("ya_yakutia1", "Один"), ("ya_yakutia2", "Два")]})

    def test_catalogue_bytes_and_fields_the_readers_cannot_split_are_refused(self):
        path = self.tmp / "maps.dat"
        for row in (("Карта; юг", "topic_a", "map_a"), ("Карта", "topic;a", "map_a"), ("Карта\r\n", "t", "m"),
                    ("Карта", "t")):
            with self.subTest(row=row), self.assertRaises(ValueError):
                catalogues.write_catalogue(path, [row])
        catalogues.write_catalogue(path, [("Карта", "topic_a", "map_a;юг")])
        self.assertEqual(path.read_bytes(), "Карта;topic_a;map_a;юг\r\n".encode("cp1251"))
        with self.assertRaises(ValueError):
            catalogues.write_captions(self.tmp / "a_capt.txt", [("a_x1", "две\r\nстроки")])

    def test_write_all_names_every_file_it_wrote(self):
        articles = [article("ВОЛГА", "topic_volga", pict=[("v_volga1.jpg", "Исток")], move=("volga.mov", "Течение"))]
        written = catalogues.write_all(self.tmp, articles, {}, [{"file": "volga.mov", "title": "Волга"}])
        self.assertEqual(sorted(written), sorted(p.name for p in self.tmp.iterdir()))
        self.assertEqual((self.tmp / "v_capt.txt").read_bytes(), "v_volga1\tИсток\r\n\0".encode("cp1251"))
        self.assertEqual((self.tmp / "maps.dat").read_bytes(), b"")


class Cp1251(Scratch):
    def test_dictionary_order(self):
        titles = ["ЯР", "ёж", "ЕЛЬ", "1812 ГОД", "АБВ", "Ежи", "ЖУК", "Ель"]
        self.assertEqual(sorted(titles, key=cp1251.sort_key), ["1812 ГОД", "АБВ", "ёж", "Ежи", "ЕЛЬ", "Ель", "ЖУК", "ЯР"])

    def test_a_failed_write_keeps_the_old_file_and_leaves_no_scratch(self):
        path = self.tmp / "content1.txt"
        cp1251.write_lines(path, ["старое"])
        with self.assertRaisesRegex(cp1251.EncodingError, r"src\.md: '∑' \(U\+2211\)"):
            cp1251.write_lines(path, ["новое", "сумма ∑"], "src.md")
        self.assertEqual(path.read_bytes(), "старое\r\n".encode("cp1251"))
        self.assertEqual([p.name for p in self.tmp.iterdir()], ["content1.txt"])


class Timeline(Scratch):
    def brief(self, years):
        return {"first_year": 1900, "last_year": 1950,
                "event": [{"year": y, "label": f"Событие {i}", "context": f"topic_{i}"} for i, y in enumerate(years)]}

    def test_cards_stay_inside_the_strip_and_apart_in_their_row(self):
        for years in ([1900] * 5, [1950] * 5, [1900, 1925, 1950], list(range(1900, 1951, 2))):
            with self.subTest(years=years[:3]):
                width, _, cards = timeline.layout(self.brief(years))
                self.assertEqual(width % timeline.FRAME_W, 0)
                self.assertEqual(len(cards), len(years))
                self.assertEqual([k["box"][0] for k in cards], sorted(k["box"][0] for k in cards))
                for k in cards:
                    left, top, right, bottom = k["box"]
                    self.assertTrue(0 <= left < right <= width and 0 <= top < bottom <= timeline.FRAME_H, k["box"])
                for a in cards:
                    for b in cards:
                        if a is not b and a["box"][1] == b["box"][1]:
                            self.assertTrue(a["box"][2] <= b["box"][0] or b["box"][2] <= a["box"][0], (a, b))

    def test_shipped_timeline_validates_when_drawn(self):
        import tomllib
        layout = tomllib.loads((CONTENT / "timeline.toml").read_text(encoding="utf-8"))
        img, cards = timeline.draw(layout)
        timeline.write_bitmap(img, self.tmp / "timeline.bmp")
        timeline.write_regions(cards, self.tmp / "timeline.rhs")
        by_context = {t.context.value: t for t in topics.load_topics(CONTENT)}
        report = validate.Report()
        validate._check_timeline(report, self.tmp, by_context)
        self.assertEqual(report, [])
        self.assertEqual(len(timeline.read_regions(self.tmp / "timeline.rhs")), len(layout["event"]))

    def test_a_context_the_region_cannot_hold_is_refused(self):
        box = (0, 0, 10, 10)
        path = self.tmp / "t.rhs"
        timeline.write_regions([{"box": box, "context": "t" * 31}], path)
        self.assertEqual(timeline.read_regions(path), [(0, 0, 10, 10, "t" * 31)])
        with self.assertRaisesRegex(ValueError, "over 31 bytes"):
            timeline.write_regions([{"box": box, "context": "t" * 32}], path)

    def test_validator_finds_regions_out_of_order_outside_or_unknown(self):
        img = timeline.draw({"first_year": 1900, "last_year": 1950, "period": [], "event": []})[0]
        timeline.write_bitmap(img, self.tmp / "timeline.bmp")
        width = img.size[0]
        cards = [{"box": (50, 40, 200, 100), "context": "topic_a"}, {"box": (10, 40, 40, 100), "context": "topic_a"},
                 {"box": (width - 10, 40, width + 5, 100), "context": "topic_a"},
                 {"box": (60, 300, 70, 401), "context": "topic_a"}, {"box": (100, 40, 120, 60), "context": "topic_b"}]
        timeline.write_regions(cards, self.tmp / "timeline.rhs")
        report = validate.Report()
        validate._check_timeline(report, self.tmp, {"topic_a": article("А", "topic_a")})
        rhs = self.tmp / "timeline.rhs"
        self.assertIn(f"{rhs}:0: 5 regions, at least {validate.MIN_REGIONS} wanted", report)
        self.assertIn(f"{rhs}:2: regions are not sorted by left edge", report)
        self.assertTrue(any(line.startswith(f"{rhs}:3: region") and "outside" in line for line in report), report)
        self.assertTrue(any(line.startswith(f"{rhs}:4: region") and "outside" in line for line in report), report)
        self.assertIn(f"{rhs}:5: region names unknown article 'topic_b'", report)


class Validation(Scratch):
    """Disc files the validator reads: each fault is found at its line."""

    def test_catalogue_faults(self):
        product = self.tmp / "product"
        (product / "pictures" / "v" / "slides").mkdir(parents=True)
        (product / "pictures" / "v" / "slides" / "v_volga1.jpg").write_bytes(b"")
        (product / "movies").mkdir()
        (product / "movies" / "volga.mov").write_bytes(b"")
        by_context = {t.context.value: t for t in (article("ВОЛГА", "topic_volga"), popup("Карта", "map_volga"))}
        cases = {
            "slides.dat": ["ВОЛГА;topic_volga;v_volga1", "ВОЛГА;topic_volga;v_volga2", "волга;topic_volga;v_volga1",
                           "В" * 64 + ";topic_volga;v_volga1"],
            "maps.dat": ["Карта;topic_volga;map_volga", "Карта;topic_volga;topic_volga", "Карта;topic_none;map_volga"],
            "video.dat": ["Волга;topic_volga;volga.mov", "Нева;topic_volga;neva.mov"],
        }
        expected = {
            "slides.dat": [":2: picture v/slides/v_volga2.jpg does not exist",
                           ":3: the title neither begins with a capital letter nor has one second",
                           ":4: title over 63 bytes"],
            "maps.dat": [":2: 'topic_volga' is not a popup topic", ":3: article 'topic_none' does not exist"],
            "video.dat": [":2: movie movies/neva.mov does not exist"],
        }
        for name, lines in cases.items():
            with self.subTest(name=name):
                path = self.tmp / name
                cp1251.write_lines(path, lines)
                report = validate.Report()
                validate.check_catalogue(report, path, by_context, product)
                self.assertEqual(len(report), len(expected[name]), report)
                for found, want in zip(report, expected[name]):
                    self.assertTrue(found.startswith(f"{path}{want}"), (found, want))
        path = self.tmp / "sound.dat"
        path.write_bytes("Голос;topic_volga;map_volga".encode("cp1251"))
        report = validate.Report()
        validate.check_catalogue(report, path, by_context, product)
        self.assertEqual(report, [f"{path}:0: the last line lacks CR LF"])

    def test_caption_faults(self):
        product = self.tmp / "product"
        (product / "pictures" / "v" / "slides").mkdir(parents=True)
        (product / "pictures" / "v" / "slides" / "v_volga1.jpg").write_bytes(b"")
        path = self.tmp / "v_capt.txt"
        path.write_bytes("v_volga1\tИсток\r\nv_volga2\tУстье\r\nбез табуляции\r\n".encode("cp1251") + b"k" * 128 + b"\tx\r\n\0")
        report = validate.Report()
        validate.check_captions(report, path, product)
        self.assertEqual(report, [f"{path}:2: picture v/slides/v_volga2.jpg does not exist",
                                  f"{path}:3: a caption line is key, TAB, caption (key up to 127, caption up to 1023 bytes)",
                                  f"{path}:4: a caption line is key, TAB, caption (key up to 127, caption up to 1023 bytes)"])

    def test_list_file_needs_crlf_and_its_bitmaps(self):
        path = self.tmp / "content1.txt"
        (self.tmp / "item.bmp").write_bytes(b"")
        (self.tmp / "book.bmp").write_bytes(b"")
        path.write_bytes('ITEMPREFIX: "item.bmp", 16\r\nGROUPPREFIX: "book.bmp", 18\nBEGIN:\r\n{1\r\n4 "Реки"\r\n'.encode("cp1251"))
        report = validate.Report()
        validate._check_list_file(report, path)
        self.assertEqual(report, [f"{path}:0: lines must end in CR LF"])
        path.write_bytes('ITEMPREFIX: "item.bmp", 16\r\nGROUPPREFIX: "book.bmp", 18\r\nBEGIN:\r\n{1\r\n4 "Реки"\r\n'.encode("cp1251"))
        (self.tmp / "book.bmp").unlink()
        report = validate.Report()
        validate._check_list_file(report, path)
        self.assertEqual(report, [f"{path}:2: picture book.bmp does not exist next to the list"])


class Sources(Scratch):
    """Faults in the content folder, found before anything is generated."""

    def setUp(self):
        super().setUp()
        self.content = self.tmp / "content"
        shutil.copytree(CONTENT, self.content, ignore=shutil.ignore_patterns("__pycache__"))

    def edit(self, relative, old, new):
        path = self.content / relative
        text = path.read_text(encoding="utf-8")
        self.assertIn(old, text)
        path.write_text(text.replace(old, new, 1), encoding="utf-8")
        # The line of the first changed line of the replacement.
        same = 0
        for a, b in zip(old.split("\n"), new.split("\n")):
            if a != b:
                break
            same += 1
        return text[:text.index(old)].count("\n") + 1 + same

    def errors(self):
        c = self.content
        return validate.check_sources(c, topics.load_topics(c), topics.load_manifest(c / "manifest.txt"),
                                      build_product.media.load_specs(c / "media" / "pictures.toml"),
                                      build_product.load_toml(c / "media" / "movies.toml")["movie"])

    def assertFound(self, where, message):
        errors = self.errors()
        self.assertTrue(any(e.endswith(f"{where}: {message}") or (f"{where}: " in e and message in e) for e in errors), errors)

    def test_shipped_sources_pass(self):
        self.assertEqual(self.errors(), [])

    def test_each_fault_is_found_at_its_place(self):
        cases = [
            ("articles/volga.md", "context: topic_volga", "context: topic_baikal", "volga.md", "context string 'topic_baikal' also used by"),
            ("articles/volga.md", "title: ВОЛГА", "title: БАЙКАЛ", "volga.md", "title 'БАЙКАЛ' also used by"),
            ("articles/baikal.md", "context: topic_baikal", "context: topic_байкал", "baikal.md", "must be Latin letters"),
            ("articles/baikal.md", "Байкал на рассвете", "Байкал на рассвете −40°", "baikal.md", "(U+2212) has no Windows-1251 code"),
            ("articles/baikal.md", "Байкал на рассвете", "Байкал {на} рассвете", "baikal.md", "caption must be 1..511 bytes"),
            ("articles/baikal.md", "wave: snd_baikal", "wave: topic_volga", "baikal.md", "'topic_volga' is not a popup topic"),
            ("articles/volga.md", "(popup:pop_delta)", "(popup:topic_caspian)", "volga.md", "not a popup topic"),
            ("articles/volga.md", "(#topic_valdai)", "(ftp:topic_valdai)", "volga.md", "is neither #context"),
            ("lists/content1.txt", "BEGIN:\n", "BEGIN:\n99{1\n", "content1.txt", "block of node 99, which no earlier"),
        ]
        for relative, old, new, name, message in cases:
            with self.subTest(new=new):
                shutil.rmtree(self.content)
                shutil.copytree(CONTENT, self.content)
                line = self.edit(relative, old, new)
                self.assertFound(f"{name}:{line}", message)

    def test_unused_art_and_unplayed_movies_are_found(self):
        self.edit("articles/baikal.md", "pict: b_baikal3.jpg | Глубина Байкала в сравнении с другими озёрами\n", "")
        self.edit("articles/baikal.md", "move: baikal.mov | Утро на Байкале: солнце встаёт над хребтами, и гладь озера меняет цвет.\n", "")
        errors = self.errors()
        self.assertIn(f"{self.content / 'media' / 'pictures.toml'}:1: picture 'b_baikal3' is drawn but no topic shows it", errors)
        self.assertTrue(any("movie 'baikal.mov' is on the disc but no article plays it" in e for e in errors), errors)


class Parsing(Scratch):
    """Topic files and the manifest as the builder reads them."""

    def parse(self, text):
        path = self.tmp / "t.md"
        path.write_text(text, encoding="utf-8")
        return topics.parse_topic(path)

    def test_front_matter_faults_are_reported_by_line(self):
        t = self.parse("---\ncontext: topic_a\ntitle: А\nkind: map\ntitle: Б\nmove: a.mov\nmove: b.mov\ncolour: red\n---\n")
        self.assertEqual(t.errors, [(4, "kind 'map' is not one of article, popup, extra"), (5, "'title' given twice"),
                                    (7, "a topic has at most one movie"), (8, "unknown front-matter line 'colour: red'")])
        self.assertEqual(self.parse("---\ncontext: topic_a\n").errors, [(1, "front matter has no closing '---'")])
        self.assertEqual(self.parse("---\ntitle: А\n---\n").errors, [(1, "front matter lacks 'context'")])
        self.assertEqual(self.parse("context: a\n").errors, [(1, "a topic file opens with a '---' line")])

    def test_media_lines_and_links(self):
        t = self.parse("---\ncontext: topic_a\ntitle: А\nlists: a, 4,, 107\npict: a_x1.jpg | Река | и берег\n"
                       "port: pa_x.jpg\n---\n[к Б](#topic_b) и [дельта](popup:pop_d)\n"
                       "![карта](map_a.jpg) [окно](cmd:topic_c>main) [сайт](http://x)\n")
        self.assertEqual([r.value for r in t.lists], ["a", "4", "107"])
        self.assertEqual((t.pict[0].value, t.pict[0].caption, t.pict[0].line), ("a_x1.jpg", "Река | и берег", 5))
        self.assertEqual([(l.kind, l.target, l.line) for l in t.links],
                         [("jump", "topic_b", 8), ("popup", "pop_d", 8), ("image", "map_a.jpg", 9),
                          ("command", "topic_c>main", 9), ("unknown", "http://x", 9)])
        self.assertTrue(t.is_article and not t.is_popup)

    def test_manifest_lines_and_comments(self):
        path = self.tmp / "manifest.txt"
        path.write_text("# Заголовок\ncontents: topic_a   # the start\nlist 4: Реки#1\nlist 4: Озёра\n"
                        "baggage: x.dat as x.dat\ncolour: red\n", encoding="utf-8")
        m = topics.load_manifest(path)
        self.assertEqual(m.contents, topics.Ref("topic_a", 2))
        self.assertEqual(m.lists["4"].value, "Озёра")
        self.assertEqual(m.errors, [(4, "list '4' declared twice"), (6, "unknown manifest line 'colour: red'")])


class IniWriter(Scratch):
    def run_writer(self, *args):
        return subprocess.run([sys.executable, str(HERE / "write_ini.py"), *args], capture_output=True, text=True)

    def test_writes_kro97_ini_into_the_windows_directory(self):
        windows = self.tmp / "prefix" / "drive_c" / "windows"
        windows.mkdir(parents=True)
        disc = self.tmp / "диск"
        result = self.run_writer("--prefix", str(self.tmp / "prefix"), "--product", str(disc), "--no-disk2",
                                 "--lumfil", "C:\\fonts", "--intro", "1")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual((windows / "kro97.ini").read_bytes(),
                         f"[Kro]\r\nProductDir=Z:{str(disc).replace('/', chr(92))}\r\nIsDisk2Exists=0\r\n"
                         "ShowIntroduction=1\r\nLUMFilDirectory=C:\\fonts\r\n".encode("cp1251"))

    def test_refuses_a_folder_that_is_no_wine_prefix(self):
        result = self.run_writer("--prefix", str(self.tmp), "--product", str(self.tmp))
        self.assertEqual(result.returncode, 1)
        self.assertIn("is not a Wine Windows directory", result.stderr)
        self.assertEqual(list(self.tmp.iterdir()), [])

    def test_relative_discs_become_absolute_drive_z_paths(self):
        here = os.getcwd()
        try:
            os.chdir(self.tmp)
            self.assertEqual(write_ini.windows_path("disc/product"), "Z:" + str(self.tmp / "disc" / "product").replace("/", "\\"))
        finally:
            os.chdir(here)


class Movies(Scratch):
    def test_sound_track_lasts_the_movie_and_fades_at_both_ends(self):
        path = self.tmp / "t.wav"
        movies.tone_track(path, movies.MOTIFS["train"], 1.5)
        with wave.open(str(path)) as w:
            self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate()), (1, 2, movies.RATE))
            frames = w.readframes(w.getnframes())
        samples = struct.unpack(f"<{len(frames) // 2}h", frames)
        self.assertEqual(len(samples), int(1.5 * movies.RATE))
        self.assertLess(max(abs(s) for s in samples[:20] + samples[-20:]), 2000)
        self.assertGreater(max(abs(s) for s in samples), 5000)   # not silent in the middle

    def test_movie_has_its_size_length_and_both_tracks(self):
        path = self.tmp / "m.mov"
        movies.make(path, "marker", "Проба", 2.0, self.tmp / "work", (160, 120))
        probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries",
                                "stream=codec_type,codec_name,width,height,sample_rate,nb_frames:format=duration",
                                "-of", "compact=p=0:nk=0", str(path)], capture_output=True, text=True, check=True).stdout
        streams = [dict(f.split("=", 1) for f in line.split("|")) for line in probe.split("\n") if "codec_type" in line]
        video = next(s for s in streams if s["codec_type"] == "video")
        audio = next(s for s in streams if s["codec_type"] == "audio")
        self.assertEqual((video["codec_name"], video["width"], video["height"], video["nb_frames"]),
                         ("mjpeg", "160", "120", str(2 * movies.FPS)))
        self.assertEqual((audio["codec_name"], audio["sample_rate"]), ("pcm_s16be", str(movies.RATE)))
        duration = float(next(line for line in probe.split("\n") if line.startswith("duration=")).split("=")[1])
        self.assertAlmostEqual(duration, 2.0, delta=0.1)
        self.assertEqual(sorted(p.name for p in self.tmp.iterdir()), ["m.mov", "work"])
        self.assertEqual(list((self.tmp / "work").iterdir()), [])   # the sound track is not left behind


if __name__ == "__main__":
    unittest.main()
