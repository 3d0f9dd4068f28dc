"""The timeline: a very wide picture of periods and events, stored as an 8-bit frame-strip
bitmap, and the region file whose rectangles open the events' articles.

timeline.bmp (little-endian):
  0   2  "BM"
  2   4  file size
  6   2  0
  8   2  F, the number of frames (>= 1)
  10  4  1078, offset of the pixels
  14  40 BITMAPINFOHEADER: biWidth = W (a multiple of 4), biHeight = F * H, 8 bits, no compression
  54  1024 256 RGBQUAD colours shared by every frame
  1078 F * W * H bytes: frame f at 1078 + f*W*H, its H rows bottom-up, no row padding
timeline.rhs: uint16 N, then N records of 48 bytes sorted by left edge:
  int32 left, top, right, bottom (x in picture pixels, y in viewport pixels), char[32] context
"""
import pathlib
import struct

from PIL import Image, ImageDraw

from .art import common as c
from .art import shapes
from . import cp1251

FRAME_W, FRAME_H = 200, 400
PX_PER_YEAR = 5
MARGIN = 60
REGION_CONTEXT = 32


def layout(brief):
    """Positions every event card; returns (width, cards) with cards sorted by left edge."""
    first, last = brief["first_year"], brief["last_year"]
    x_of = lambda year: MARGIN + (year - first) * PX_PER_YEAR
    rows = [40, 120, 200]
    row_end = [-1e9] * len(rows)
    cards = []
    for ev in sorted(brief["event"], key=lambda e: e["year"]):
        x = x_of(ev["year"])
        w = 150
        row = min(range(len(rows)), key=lambda r: (row_end[r] > x - 10, row_end[r]))
        left = max(x - 20, row_end[row] + 8)
        row_end[row] = left + w
        cards.append({"year": ev["year"], "label": ev["label"], "context": ev["context"], "x": x,
                      "box": (int(left), rows[row], int(left + w), rows[row] + 62)})
    # Cards of events near the last year, or pushed right by a crowded row, reach past it:
    # the strip grows so that every card and its region lie inside the picture.
    width = max([x_of(last)] + [k["box"][2] for k in cards]) + MARGIN
    width += (-width) % FRAME_W
    return width, x_of, sorted(cards, key=lambda k: k["box"][0])


def draw(brief):
    width, x_of, cards = layout(brief)
    img = c.vertical_gradient((width, FRAME_H), [(0, (250, 245, 230)), (1, (232, 220, 192))])
    d = ImageDraw.Draw(img)
    axis = 300
    for p in brief["period"]:
        x0, x1 = x_of(p["from"]), x_of(p["to"])
        d.rectangle((x0, axis + 18, x1, axis + 78), fill=tuple(p["colour"]))
        for x in _label_places(x0, x1):
            d.text((x, axis + 48), p["name"], font=c.font("caption", 16), fill=(252, 248, 236), anchor="mm")
        d.line((x0, axis + 18, x0, axis + 78), fill=c.PARCHMENT, width=2)
    _vignettes(d, x_of, axis)
    d.line((MARGIN, axis, width - MARGIN, axis), fill=c.NAVY, width=3)
    for year in range(brief["first_year"] - brief["first_year"] % 50 + 50, brief["last_year"] + 1, 50):
        x = x_of(year)
        big = year % 100 == 0
        d.line((x, axis - (10 if big else 6), x, axis + (10 if big else 6)), fill=c.NAVY, width=2 if big else 1)
        if big:
            d.text((x, axis + 92), str(year), font=c.font("sans-bold", 14), fill=c.NAVY, anchor="mm")
    for k in cards:
        d.line((k["x"], k["box"][3], k["x"], axis), fill=c.GOLD, width=2)
        d.ellipse((k["x"] - 5, axis - 5, k["x"] + 5, axis + 5), fill=c.RED, outline=c.NAVY)
    for k in cards:
        x0, y0, x1, y1 = k["box"]
        d.rounded_rectangle((x0, y0, x1, y1), radius=6, fill=(255, 252, 242), outline=c.NAVY, width=2)
        d.rectangle((x0 + 2, y0 + 2, x1 - 2, y0 + 20), fill=c.NAVY)
        d.text((x0 + 8, y0 + 11), str(k["year"]), font=c.font("sans-bold", 14), fill=c.GOLD, anchor="lm")
        _wrapped(d, k["label"], (x0 + 8, y0 + 24, x1 - 6, y1 - 4))
    d.text((MARGIN, 16), "Лента времени: от призвания Рюрика до полёта Гагарина", font=c.font("serif-italic", 16), fill=c.SLATE, anchor="lm")
    return img, cards


LABEL_EVERY = 560  # a period's name recurs along its band, so one is in view wherever the reader is


def _label_places(x0, x1):
    """Centres for a period's name: the middle of a short band, else one per LABEL_EVERY pixels."""
    count = max(1, round((x1 - x0) / LABEL_EVERY))
    step = (x1 - x0) / count
    return [x0 + step * (k + 0.5) for k in range(count)]


def _vignettes(d, x_of, axis):
    """Faint silhouettes of each age behind the cards: churches, a kremlin, a palace, a train."""
    ink = (226, 212, 180)
    shapes.church(d, x_of(1000), axis - 2, 120, ink, ink, 5, ink)
    shapes.church(d, x_of(1180), axis - 2, 90, ink, ink, 1, ink)
    shapes.kremlin_wall(d, x_of(1420), x_of(1520), axis - 2, 28, ink, 4)
    shapes.bell_tower(d, x_of(1600), axis - 2, 130, ink, ink)
    shapes.spire(d, x_of(1725), axis - 2, 150, ink)
    shapes.palace(d, x_of(1770), x_of(1830), axis - 2, 50, ink, ink)
    rand = c.rng("timeline")
    shapes.skyline(d, rand, x_of(1925), x_of(1990), axis - 2, 70, ink)
    x = x_of(1875)
    for car in range(5):
        d.rounded_rectangle((x + car * 42, axis - 26, x + car * 42 + 38, axis - 4), radius=4, fill=ink)


def _wrapped(d, text, box):
    fnt = c.font("sans", 13)
    words, lines, line = text.split(), [], ""
    for w in words:
        if d.textlength((line + " " + w).strip(), font=fnt) > box[2] - box[0]:
            lines.append(line)
            line = w
        else:
            line = (line + " " + w).strip()
    lines.append(line)
    for i, ln in enumerate(lines[:2]):
        d.text((box[0], box[1] + 2 + i * 16), ln, font=fnt, fill=c.INK)


def write_bitmap(img, path):
    """Quantises to 256 colours and writes the frames side by side as one tall strip."""
    width, height = img.size
    assert width % FRAME_W == 0 and height == FRAME_H
    frames = width // FRAME_W
    q = img.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = (q.getpalette() or [])[:768]
    palette += [0] * (768 - len(palette))
    pixels = bytearray()
    for f in range(frames):
        frame = q.crop((f * FRAME_W, 0, (f + 1) * FRAME_W, FRAME_H)).tobytes()
        for row in range(FRAME_H - 1, -1, -1):
            pixels += frame[row * FRAME_W:(row + 1) * FRAME_W]
    colours = b"".join(bytes((palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0)) for i in range(256))
    info = struct.pack("<IiiHHIIiiII", 40, FRAME_W, frames * FRAME_H, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + 1024 + len(pixels), 0, frames, 1078)
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(header + info + colours + bytes(pixels))
    return frames


def write_regions(cards, path):
    records = []
    for k in cards:
        context = cp1251.encode(k["context"], "timeline region")
        if len(context) >= REGION_CONTEXT:
            # A longer one would shift every later record: the reader needs its terminator.
            raise ValueError(f"timeline region '{k['context']}': context string over {REGION_CONTEXT - 1} bytes")
        records.append(struct.pack("<iiii", *k["box"]) + context.ljust(REGION_CONTEXT, b"\0"))
    pathlib.Path(path).write_bytes(struct.pack("<H", len(records)) + b"".join(records))


def read_regions(path):
    """[(left, top, right, bottom, context)]; raises ValueError on a malformed file."""
    data = pathlib.Path(path).read_bytes()
    if len(data) < 2:
        raise ValueError("shorter than its count")
    (n,) = struct.unpack_from("<H", data)
    if len(data) != 2 + 48 * n:
        raise ValueError(f"{n} regions need {2 + 48 * n} bytes, the file has {len(data)}")
    out = []
    for i in range(n):
        left, top, right, bottom = struct.unpack_from("<iiii", data, 2 + 48 * i)
        raw = data[2 + 48 * i + 16:2 + 48 * (i + 1)]
        if b"\0" not in raw:
            raise ValueError(f"region {i}: context string not terminated")
        out.append((left, top, right, bottom, raw.split(b"\0", 1)[0].decode("cp1251")))
    return out


def read_bitmap_header(path):
    """(frames, frame width, frame height, file size) of a frame-strip bitmap; ValueError if unusable."""
    data = pathlib.Path(path).read_bytes()
    if len(data) < 1078 or data[:2] != b"BM":
        raise ValueError("not a bitmap")
    frames = struct.unpack_from("<H", data, 8)[0]
    w, h, planes, bits = struct.unpack_from("<iiHH", data, 18)
    if frames == 0 or bits != 8 or w % 4 or h % frames:
        raise ValueError(f"frames {frames}, {w}x{h}, {bits} bits: not a frame strip")
    if len(data) != 1078 + w * h:
        raise ValueError(f"pixel data {len(data) - 1078} bytes, expected {w * h}")
    return frames, w, h // frames, len(data)
