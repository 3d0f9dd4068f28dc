"""Palette, fonts and the supersampled canvas every painter draws on.

Everything is drawn at SCALE times the final size and reduced with a box filter, which gives
anti-aliased edges and text while keeping 1-pixel rules crisp when they sit on whole pixels.
"""

from PIL import Image, ImageDraw, ImageFont

SCALE = 4

NAVY = (0x1F, 0x2A, 0x44)
SLATE = (0x3B, 0x4A, 0x6B)
PARCHMENT = (0xF4, 0xEE, 0xDC)
GOLD = (0xC9, 0xA2, 0x27)
RED = (0xA3, 0x3B, 0x2F)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0, 0, 0)
# The system grey that the video window's static controls paint with.
LIGHT_GREY = (0xC0, 0xC0, 0xC0)


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


NAVY_DARK = mix(NAVY, BLACK, 0.35)
SLATE_LIGHT = mix(SLATE, PARCHMENT, 0.18)
GOLD_LIGHT = mix(GOLD, PARCHMENT, 0.35)

FONT_DIR = "/usr/share/fonts/truetype/paratype/"
FONT_FILES = {
    "sans": "PTS55F.ttf",
    "sans-bold": "PTS75F.ttf",
    "caption-bold": "PTC75F.ttf",
    "narrow-bold": "PTN77F.ttf",
    "serif": "PTF55F.ttf",
    "serif-bold": "PTF75F.ttf",
    "serif-italic": "PTF56F.ttf",
}
_fonts = {}


def font(face, size_px):
    key = (face, size_px)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_DIR + FONT_FILES[face], round(size_px * SCALE))
    return _fonts[key]


def text_width(face, size_px, text):
    return font(face, size_px).getlength(text) / SCALE


def fit_size(face, size_px, text, width, smallest=8):
    """Largest size up to size_px (in half pixels) at which text fits width."""
    size = size_px
    while size > smallest and text_width(face, size, text) > width:
        size -= 0.5
    return size


class Canvas:
    """An RGB picture of w x h final pixels, drawn in final-pixel coordinates."""

    def __init__(self, w, h, fill=NAVY, base=None):
        self.w, self.h = w, h
        if base is not None:
            # A crop of the picture the result will be copied over: nearest upscaling and the
            # box reduction are inverse, so untouched pixels come back unchanged.
            self.img = base.convert("RGB").resize((w * SCALE, h * SCALE), Image.NEAREST)
        else:
            self.img = Image.new("RGB", (w * SCALE, h * SCALE), fill)
        self.draw = ImageDraw.Draw(self.img)

    @staticmethod
    def _s(v):
        return round(v * SCALE)

    def _box(self, x0, y0, x1, y1):
        s = self._s
        return [s(x0), s(y0), s(x1) - 1, s(y1) - 1]

    def rect(self, x0, y0, x1, y1, fill):
        """Fills the half-open rectangle [x0, x1) x [y0, y1)."""
        if x1 > x0 and y1 > y0:
            self.draw.rectangle(self._box(x0, y0, x1, y1), fill=fill)

    def rrect(self, x0, y0, x1, y1, radius, fill):
        if x1 > x0 and y1 > y0:
            self.draw.rounded_rectangle(self._box(x0, y0, x1, y1), radius=self._s(radius),
                                        fill=fill)

    def gradient(self, x0, y0, x1, y1, top, bottom, radius=0):
        """Vertical gradient, optionally clipped to a rounded rectangle."""
        s = self._s
        w, h = s(x1) - s(x0), s(y1) - s(y0)
        if w <= 0 or h <= 0:
            return
        column = Image.new("RGB", (1, h))
        column.putdata([mix(top, bottom, i / max(1, h - 1)) for i in range(h)])
        band = column.resize((w, h), Image.NEAREST)
        mask = None
        if radius:
            mask = Image.new("L", (w, h), 0)
            ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=s(radius), fill=255)
        self.img.paste(band, (s(x0), s(y0)), mask)

    def frame(self, x0, y0, x1, y1, colour, width=1):
        """A rectangle outline of the given width inside [x0, x1) x [y0, y1)."""
        self.rect(x0, y0, x1, y0 + width, colour)
        self.rect(x0, y1 - width, x1, y1, colour)
        self.rect(x0, y0, x0 + width, y1, colour)
        self.rect(x1 - width, y0, x1, y1, colour)

    def line(self, points, colour, width=1.5, joint="curve"):
        pts = [(self._s(x), self._s(y)) for x, y in points]
        self.draw.line(pts, fill=colour, width=self._s(width), joint=joint)
        # Round caps: PIL draws butt ends.
        r = self._s(width) / 2
        for px, py in (pts[0], pts[-1]):
            self.draw.ellipse([px - r, py - r, px + r - 1, py + r - 1], fill=colour)

    def polygon(self, points, fill=None, outline=None, width=1.5):
        pts = [(self._s(x), self._s(y)) for x, y in points]
        if fill is not None:
            self.draw.polygon(pts, fill=fill)
        if outline is not None:
            self.line(list(points) + [points[0], points[1]], outline, width)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1.5):
        s = self._s
        box = [s(cx - rx), s(cy - ry), s(cx + rx) - 1, s(cy + ry) - 1]
        if fill is not None:
            self.draw.ellipse(box, fill=fill)
        if outline is not None:
            self.draw.ellipse(box, outline=outline, width=s(width))

    def arc(self, cx, cy, r, start, end, colour, width=1.5):
        s = self._s
        self.draw.arc([s(cx - r), s(cy - r), s(cx + r) - 1, s(cy + r) - 1], start, end,
                      fill=colour, width=s(width))

    def text(self, x, y, text, face, size, colour, anchor="la"):
        """Text at (x, y); anchors as in PIL ("la" left/ascender, "mm" middle/middle, ...)."""
        self.draw.text((self._s(x), self._s(y)), text, font=font(face, size), fill=colour,
                       anchor=anchor)

    def paste(self, other, x, y):
        self.img.paste(other.img, (self._s(x), self._s(y)))

    def finish(self):
        return self.img.reduce(SCALE)


def wrap(face, size, text, width):
    """Splits text into lines that fit width, at blanks."""
    lines, current = [], ""
    for word in text.split():
        candidate = f"{current} {word}".strip()
        if current and text_width(face, size, candidate) > width:
            lines.append(current)
            current = word
        else:
            current = candidate
    if current:
        lines.append(current)
    return lines
