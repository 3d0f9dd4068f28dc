"""The contact sheet: the windows assembled from their art, then every resource by name."""

import io

from PIL import Image, ImageDraw

import table
from style import FONT_DIR, FONT_FILES, NAVY, mix
from PIL import ImageFont

SHEET_WIDTH = 1460
MARGIN = 16
PAPER = (0xE6, 0xE2, 0xD8)
INK = (0x22, 0x22, 0x2A)
GREY = (0x6A, 0x6A, 0x72)

# Window title strips that go with each background in the assembled views.
STRIP_OF = {
    "contens": "t_contens", "search": "t_search", "result": "t_result", "way1": "t_way1",
    "b_mark": "t_b_mark", "g_slide": "t_s", "g_video": "t_v", "g_map": "t_m", "g_sound": "t_a",
    "about": "capbaron", "timeline": "capon",
}
# Screens drawn over pictures that are not resources (the main window's backgrounds): shown
# over plain navy with the caption strip.
SCREENS = ("article view", "start screen")


def _font(size, bold=False):
    return ImageFont.truetype(FONT_DIR + FONT_FILES["sans-bold" if bold else "sans"], size)


def _plain(picture):
    if isinstance(picture, tuple):          # cursor: (picture, hotspot)
        return picture[0]
    if isinstance(picture, list):           # icon: several sizes
        w = sum(p.size[0] for p in picture) + 8 * (len(picture) - 1)
        h = max(p.size[1] for p in picture)
        out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        x = 0
        for p in picture:
            out.paste(p, (x, h - p.size[1]))
            x += p.size[0] + 8
        return out
    return picture


# The disc prompts' buttons (the dialogs place them; the art has them on one host only).
PROMPT_BUTTONS = {
    "instal_1": (("yes_on", 40, 105), ("no_on", 130, 105)),
    "instal_2": (("yes_on", 40, 105), ("no_on", 130, 105)),
    "instal_3": (("yes_on", 100, 105),),
}


def _controls(client, layout):
    """Stand-ins for the system controls the windows place over their backgrounds."""
    draw = ImageDraw.Draw(client)
    for item in layout:
        if item[0] == "panel":
            x, y, w, h = item[1:5]
            draw.rectangle([x, y, x + w - 1, y + h - 1], fill=(0xFF, 0xFF, 0xFF), outline=(0, 0, 0))
        elif item[0] in ("box", "box_right"):
            x, y = item[2:4]
            draw.rectangle([x, y, x + 13, y + 13], fill=(0xFF, 0xFF, 0xFF),
                           outline=(0x80, 0x80, 0x80))


def _assemble(program, host, pictures):
    """A window as it appears: strip, background and the normal image of each button."""
    if host in SCREENS:
        w, h = 640, 460
        client = Image.new("RGB", (w, h), mix(NAVY, (0, 0, 0), 0.1))
    else:
        client = pictures[(program, host)].copy()
    art_of = {a.name: a for a in table.for_program(program)}
    if host in art_of:
        _controls(client, art_of[host].layout if art_of[host].role == "background" else ())
    for name, x, y in PROMPT_BUTTONS.get(host, ()):
        client.paste(pictures[(program, name)], (x, y))
    for art in table.for_program(program):
        if art.at and art.at[0] == host and art.state == "normal":
            picture = pictures[(program, art.name)]
            # The letter bar shows the current letter (Р at start-up) pressed.
            if art.role == "letter" and art.label == "Р":
                picture = pictures[(program, art.name.replace("_off", "_on"))]
            client.paste(picture, art.at[1:])
    strip_name = STRIP_OF.get(host, "capbaron" if host in SCREENS else None)
    if program == table.ARCHIVE and host == "g_video":
        strip_name = "t_v"
    if strip_name is None:
        return client
    strip = pictures[(program, strip_name)]
    out = Image.new("RGB", (client.size[0], client.size[1] + 20))
    out.paste(strip, (0, 0))
    if strip_name == "capbaron":
        out.paste(pictures[(program, "closeoff")], (621, 2))
        out.paste(pictures[(program, "minoff")], (599, 2))
    out.paste(client, (0, 20))
    return out


class Flow:
    """Lays out captioned pictures left to right in rows."""

    def __init__(self):
        self.items = []

    def add(self, img, caption, note=""):
        self.items.append((img, caption, note))

    def layout(self, top):
        placed, x, y, row_h = [], MARGIN, top, 0
        for img, caption, note in self.items:
            w = round(max(img.size[0], _font(12, True).getlength(caption),
                          _font(10).getlength(note)))
            h = img.size[1] + (30 if note else 16)
            if x + w > SHEET_WIDTH - MARGIN and x > MARGIN:
                x, y, row_h = MARGIN, y + row_h + 14, 0
            placed.append((x, y, img, caption, note))
            x += w + 14
            row_h = max(row_h, h)
        return placed, y + row_h + 10


def contact_sheet(pictures):
    sections = []
    for program in (table.PLAYER, table.ARCHIVE):
        views = Flow()
        hosts = [h for h in ("article view", "start screen") if program == table.PLAYER]
        hosts += [a.name for a in table.for_program(program) if a.role in ("background", "prompt")]
        for host in hosts:
            views.add(_assemble(program, host, pictures), f"{program}: {host}")
        sections.append((f"{program}: windows assembled from the art", views))
    for program in (table.PLAYER, table.ARCHIVE):
        every = Flow()
        for art in table.for_program(program):
            w, h = art.size
            note = f"{w}×{h} {art.role} {art.state}"
            every.add(_plain(pictures[(program, art.name)]), art.name, note)
        sections.append((f"{program}: every resource", every))

    placed_sections, y = [], MARGIN
    for title, flow in sections:
        placed, bottom = flow.layout(y + 30)
        placed_sections.append((title, y, placed))
        y = bottom + 10
    sheet = Image.new("RGB", (SHEET_WIDTH, y), PAPER)
    draw = ImageDraw.Draw(sheet)
    heading, name_font, note_font = _font(20, True), _font(12, True), _font(10)
    for title, top, placed in placed_sections:
        draw.text((MARGIN, top), title, font=heading, fill=INK)
        for x, iy, img, caption, note in placed:
            if img.mode == "RGBA":
                checker = Image.new("RGB", img.size, (0xFF, 0xFF, 0xFF))
                checker.paste(img, (0, 0), img)
                img = checker
            sheet.paste(img, (x, iy))
            draw.text((x, iy + img.size[1] + 2), caption, font=name_font, fill=INK)
            if note:
                draw.text((x, iy + img.size[1] + 16), note, font=note_font, fill=GREY)
    out = io.BytesIO()
    sheet.save(out, format="PNG", optimize=False)
    return out.getvalue()
