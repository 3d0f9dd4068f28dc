"""Shared drawing helpers: the house palette, fonts, gradients, seeded noise, framing."""
import functools
import math
import random
import zlib

from PIL import Image, ImageDraw, ImageFilter, ImageFont

NAVY = (31, 42, 68)
SLATE = (59, 74, 107)
PARCHMENT = (244, 238, 220)
GOLD = (201, 162, 39)
RED = (163, 59, 47)
INK = (40, 34, 30)

SLIDE_SIZE = (480, 360)      # full pictures: the popup adds its frame and caption strip
THUMB_SIZE = (184, 205)      # the slide window's client area (186 x 207 with its border)
PORTRAIT_SIZE = (368, 410)   # portraits are shown in the slide window: same aspect, twice the size

_FONT_DIR = "/usr/share/fonts/truetype/paratype/"
_FONTS = {
    "sans": "PTS55F.ttf", "sans-bold": "PTS75F.ttf", "serif": "PTF55F.ttf",
    "serif-bold": "PTF75F.ttf", "serif-italic": "PTF56F.ttf", "caption": "PTC75F.ttf",
}


@functools.lru_cache(maxsize=None)
def font(kind, size):
    if kind == "symbol":
        return ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", size)
    return ImageFont.truetype(_FONT_DIR + _FONTS[kind], size)


def rng(*keys):
    """A random generator seeded from names, stable across runs and machines."""
    return random.Random(zlib.crc32("/".join(str(k) for k in keys).encode("utf-8")))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    """stops: [(position 0..1, colour), ...] from top to bottom."""
    w, h = size
    col = Image.new("RGB", (1, h))
    px = col.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                px[0, y] = mix(c0, c1, (t - p0) / max(1e-6, p1 - p0))
                break
        else:
            px[0, y] = stops[-1][1] if t > stops[-1][0] else stops[0][1]
    return col.resize((w, h))


def radial_glow(size, centre, radius, colour, strength=1.0):
    """An RGBA layer with a soft round glow (sun, lamp, halo)."""
    w, h = size
    layer = Image.new("RGBA", size, colour + (0,))
    mask = Image.new("L", size, 0)
    d = ImageDraw.Draw(mask)
    cx, cy = centre
    steps = 24
    for i in range(steps, 0, -1):
        r = radius * i / steps
        a = int(255 * strength * (1 - i / steps) ** 1.6)
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=a)
    layer.putalpha(mask)
    return layer


def ridge(rand, width, base, amplitude, roughness=0.55, points=64):
    """A 1-D midpoint-displacement profile: heights (y) across the width."""
    n = 1
    while n < points:
        n *= 2
    ys = [0.0] * (n + 1)
    ys[0], ys[n] = rand.uniform(-1, 1), rand.uniform(-1, 1)
    step, scale = n, 1.0
    while step > 1:
        half = step // 2
        for i in range(half, n, step):
            ys[i] = (ys[i - half] + ys[i + half]) / 2 + rand.uniform(-1, 1) * scale
        step, scale = half, scale * roughness
    return [(width * i / n, base - amplitude * ys[i]) for i in range(n + 1)]


def fill_below(draw, profile, bottom, colour):
    draw.polygon(list(profile) + [(profile[-1][0], bottom), (profile[0][0], bottom)], fill=colour)


def grain(img, amount, seed):
    """Fine seeded paper grain (0..1) so flat fills do not look synthetic."""
    from PIL import ImageChops
    rand = random.Random(seed)
    tile = Image.frombytes("L", (96, 96), rand.randbytes(96 * 96))
    noise = Image.new("L", img.size)
    for y in range(0, img.size[1], 96):
        for x in range(0, img.size[0], 96):
            noise.paste(tile, (x, y))
    noise = noise.point(lambda v: 128 + int((v - 128) * 0.35))
    textured = ImageChops.soft_light(img, Image.merge("RGB", (noise, noise, noise)))
    return Image.blend(img, textured, amount)


def text_centre(draw, xy, text, fnt, fill, shadow=None):
    x, y = xy
    box = draw.textbbox((0, 0), text, font=fnt)
    tw, th = box[2] - box[0], box[3] - box[1]
    pos = (x - tw / 2 - box[0], y - th / 2 - box[1])
    if shadow:
        draw.text((pos[0] + 1, pos[1] + 1), text, font=fnt, fill=shadow)
    draw.text(pos, text, font=fnt, fill=fill)


def fit_font(draw, text, kind, size, max_width):
    while size > 8:
        fnt = font(kind, size)
        box = draw.textbbox((0, 0), text, font=fnt)
        if box[2] - box[0] <= max_width:
            return fnt
        size -= 1
    return font(kind, size)


def supersample(size, factor=2):
    return (size[0] * factor, size[1] * factor)


def downsample(img, size):
    return img.resize(size, Image.LANCZOS)


def thumbnail(slide, mode="crop", focus=0.5):
    """The slide window picture, framed: a crop of the slide to the window's aspect (pictures),
    or the whole slide on a parchment mat (maps and diagrams, which a crop would cut)."""
    tw, th = THUMB_SIZE
    sw, sh = slide.size
    if mode == "fit":
        img = Image.new("RGB", THUMB_SIZE, PARCHMENT)
        scale = min((tw - 8) / sw, (th - 8) / sh)
        small = slide.resize((int(sw * scale), int(sh * scale)), Image.LANCZOS)
        img.paste(small, ((tw - small.width) // 2, (th - small.height) // 2))
    else:
        scale = max(tw / sw, th / sh)
        w, h = int(math.ceil(sw * scale)), int(math.ceil(sh * scale))
        img = slide.resize((w, h), Image.LANCZOS)
        left, top = int((w - tw) * focus), (h - th) // 2
        img = img.crop((left, top, left + tw, top + th))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, tw - 1, th - 1), outline=NAVY)
    d.rectangle((2, 2, tw - 3, th - 3), outline=GOLD)
    return img


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour)


def blur(img, radius):
    return img.filter(ImageFilter.GaussianBlur(radius))
