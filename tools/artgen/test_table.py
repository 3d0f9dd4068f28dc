#!/usr/bin/python3
"""Tests of the art table and the picture writers: names the resource compiler keeps apart,
buttons that sit inside their backgrounds, states that look different, the letter bar in
the letter table's order, and the exact bytes of BMP, CUR, ICO and the resource script."""

import os
import struct
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "product"))

from PIL import Image  # noqa: E402

import artgen  # noqa: E402
import table  # noqa: E402
import writers  # noqa: E402
from disc import letters  # noqa: E402

# Windows the table places art on without drawing them itself.
DRAWN_ELSEWHERE = {"article view", "start screen"}


class Table(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pictures = artgen.render_all()

    def test_names_are_unique_per_program_and_kind_without_regard_to_case(self):
        # Resource names are case-insensitive: "Capbaron" would replace "capbaron".
        for program in table.BOTH:
            seen = {}
            for art in table.for_program(program):
                key = (art.kind, art.name.upper())
                self.assertNotIn(key, seen, f"{program}: {art.name} and {seen.get(key)}")
                seen[key] = art.name

    def test_every_picture_is_drawn_at_its_table_size(self):
        artgen.check_sizes(self.pictures)   # raises SystemExit naming the picture
        self.assertEqual(len(self.pictures), sum(len(a.programs) for a in table.ROWS))

    def test_placed_art_lies_inside_its_background(self):
        hosts = {(p, a.name): a for a in table.ROWS for p in a.programs if a.role in artgen.HOSTLESS_ROLES}
        for art in table.ROWS:
            if art.at is None or art.at[0] in DRAWN_ELSEWHERE:
                continue
            with self.subTest(name=art.name):
                name, x, y = art.at
                host = hosts.get((art.programs[0], name))
                self.assertIsNotNone(host, f"{art.name} sits on '{name}', which {art.programs[0]} does not have")
                w, h = art.size
                self.assertTrue(0 <= x and 0 <= y and x + w <= host.size[0] and y + h <= host.size[1],
                                f"{art.name} {art.size} at {x},{y} leaves {name} {host.size}")
                # Rounded corners take the background's own pixel there.
                picture = self.pictures[(art.programs[0], art.name)]
                host_picture = self.pictures[(art.programs[0], name)]
                self.assertEqual(picture.getpixel((0, 0)), host_picture.getpixel((x, y)))

    def test_the_states_of_one_control_look_different(self):
        groups = {}
        for art in table.ROWS:
            if art.role in ("button", "tool", "pictogram", "arrow", "letter", "tile", "capbutton", "strip"):
                key = (art.programs, art.role, art.label, art.at, art.icon, art.size)
                groups.setdefault(key, []).append(art)
        for arts in groups.values():
            images = [self.pictures[(a.programs[0], a.name)].tobytes() for a in arts]
            with self.subTest(names=[a.name for a in arts]):
                self.assertEqual(len(set(images)), len(images))

    def test_letter_bar_follows_the_letter_table(self):
        self.assertEqual(list(table.LETTERS), letters.FOLDERS)
        names = [a.name for a in table.ROWS if a.role == "letter" and a.state == "normal"]
        self.assertEqual(names, [f"let_{folder}_off" for folder in letters.ALL_FOLDERS])

    def test_cursor_hotspots_lie_on_ink(self):
        for art in table.ROWS:
            if art.kind == "cursor":
                img, (hx, hy) = self.pictures[(art.programs[0], art.name)]
                with self.subTest(name=art.name):
                    self.assertTrue(0 <= hx < 32 and 0 <= hy < 32)
                    near = [img.getpixel((x, y))[3] for x in range(max(0, hx - 2), min(32, hx + 3))
                            for y in range(max(0, hy - 2), min(32, hy + 3))]
                    self.assertGreater(max(near), 0, "a hotspot over transparent pixels points at nothing")


class Writers(unittest.TestCase):
    def test_bmp_rows_are_bottom_up_bgr_and_padded(self):
        img = Image.new("RGB", (3, 2), (0, 0, 0))
        img.putpixel((0, 0), (1, 2, 3))       # top left
        img.putpixel((2, 1), (4, 5, 6))       # bottom right
        data = writers.bmp24(img)
        self.assertEqual(len(data), 54 + 2 * 12)
        self.assertEqual(struct.unpack_from("<2sIHHI", data), (b"BM", len(data), 0, 0, 54))
        self.assertEqual(struct.unpack_from("<IiiHHI", data, 14), (40, 3, 2, 1, 24, 0))
        bottom, top = data[54:66], data[66:78]
        self.assertEqual(bottom[6:9], bytes((6, 5, 4)))
        self.assertEqual(top[0:3], bytes((3, 2, 1)))
        self.assertEqual(bottom[9:], b"\0\0\0")

    def test_cursor_and_icon_directories(self):
        img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
        img.putpixel((5, 0), (255, 0, 0, 255))
        data = writers.cur(img, (5, 7))
        self.assertEqual(struct.unpack_from("<HHH", data), (0, 2, 1))
        w, h, colours, _, hx, hy, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((w, h, colours, hx, hy, offset, size), (32, 32, 0, 5, 7, 22, len(data) - 22))
        self.assertEqual(struct.unpack_from("<Iii", data, 22), (40, 32, 64))   # both masks counted
        mask = data[22 + 40 + 32 * 32 * 4:]
        self.assertEqual(len(mask), 32 * 4)
        top_row = mask[31 * 4:]     # rows bottom-up: the top row comes last
        self.assertEqual(top_row[0], 0xFB)   # every pixel transparent but x = 5
        icon = writers.ico([Image.new("RGBA", (16, 16)), Image.new("RGBA", (256, 256))])
        self.assertEqual(struct.unpack_from("<HHH", icon), (0, 1, 2))
        self.assertEqual(icon[6 + 16:6 + 18], b"\0\0")   # 256 is written as 0
        second_offset = struct.unpack_from("<I", icon, 6 + 16 + 12)[0]
        first_offset, first_size = struct.unpack_from("<I", icon, 6 + 12)[0], struct.unpack_from("<I", icon, 6 + 8)[0]
        self.assertEqual(second_offset, first_offset + first_size)

    def test_resource_script(self):
        self.assertEqual(writers.rc_string('say "a\\b"'), '"say ""a\\\\b"""')
        script = artgen.resource_script(table.PLAYER)
        text = script.decode("cp1251")
        self.assertNotIn("\n", text.replace("\r\n", ""))
        lines = text.split("\r\n")
        self.assertIn('"capbaron" BITMAP player/capbaron.bmp  // 640x20 strip active: ' + table.PRODUCT, lines)
        self.assertIn('"HAND_T" CURSOR player/HAND_T.cur  // 32x32 cursor normal: Ссылка на статью', lines)
        self.assertTrue(any(line.startswith("    2200, ") and '""the""' in line for line in lines))
        self.assertEqual(sum(1 for line in lines if " BITMAP " in line or " CURSOR " in line or " ICON " in line),
                         len(table.for_program(table.PLAYER)))
        self.assertNotIn("STRINGTABLE", artgen.resource_script(table.ARCHIVE).decode("cp1251"))


if __name__ == "__main__":
    unittest.main()
