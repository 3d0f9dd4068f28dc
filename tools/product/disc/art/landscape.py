"""Landscapes from layered gradients and silhouettes: sky, sun, ridges, forests, water,
buildings and animals, composed back to front from a declarative scene."""
import math

from PIL import Image, ImageDraw, ImageFilter

from . import common as c
from . import shapes

SKIES = {
    "day": [(0, (92, 142, 200)), (0.55, (170, 205, 230)), (1, (226, 236, 240))],
    "dawn": [(0, (70, 90, 150)), (0.45, (222, 160, 150)), (0.8, (250, 206, 150)), (1, (252, 232, 190))],
    "dusk": [(0, (40, 48, 96)), (0.45, (150, 90, 120)), (0.75, (236, 140, 90)), (1, (250, 200, 120))],
    "night": [(0, (8, 12, 32)), (0.6, (20, 34, 70)), (1, (40, 60, 100))],
    "winter": [(0, (120, 150, 190)), (0.6, (200, 212, 226)), (1, (236, 238, 242))],
    "white_night": [(0, (96, 110, 160)), (0.5, (190, 170, 200)), (0.8, (240, 200, 180)), (1, (250, 226, 200))],
    "storm": [(0, (70, 78, 92)), (0.7, (140, 146, 150)), (1, (190, 190, 186))],
}
HORIZON = {k: v[-1][1] for k, v in SKIES.items()}


def render(brief, name, size=c.SLIDE_SIZE, ss=2):
    W, H = c.supersample(size, ss)
    sky = brief.get("sky", "day")
    rand = c.rng(name)
    img = c.vertical_gradient((W, H), SKIES[sky]).convert("RGBA")
    horizon = HORIZON[sky]
    if sky in ("night",) or brief.get("stars"):
        _stars(img, rand, W, H)
    if brief.get("aurora"):
        _aurora(img, rand, W, H)
    if "sun" in brief:
        sx, sy = brief["sun"]
        glow = (255, 236, 180) if sky != "night" else (230, 236, 255)
        img.alpha_composite(c.radial_glow((W, H), (sx * W, sy * H), H * 0.45, glow, 0.8))
        d = ImageDraw.Draw(img)
        r = H * 0.05
        d.ellipse((sx * W - r, sy * H - r, sx * W + r, sy * H + r), fill=(255, 250, 230) if sky != "night" else (240, 240, 225))
    if brief.get("clouds"):
        _clouds(img, rand, W, H, brief["clouds"], sky)
    for layer in preset(brief) if brief.get("preset") else brief.get("layers", []):
        kind = layer["type"]
        LAYERS[kind](img, rand, layer, W, H, horizon, ss)
    out = c.downsample(img.convert("RGB"), size)
    return c.grain(out, 0.25, name)


def _col(layer, key, default, horizon):
    colour = tuple(layer.get(key, default))
    return c.mix(colour, horizon, layer.get("haze", 0.0))


def _stars(img, rand, W, H):
    d = ImageDraw.Draw(img)
    for _ in range(int(W * H / 2500)):
        x, y = rand.uniform(0, W), rand.uniform(0, H * 0.7)
        r = rand.choice((1, 1, 1, 2))
        v = rand.randint(160, 255)
        d.ellipse((x, y, x + r, y + r), fill=(v, v, 255))


def _aurora(img, rand, W, H):
    layer = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for band, colour in ((0, (80, 255, 160)), (1, (120, 220, 255)), (2, (200, 120, 220))):
        phase = rand.uniform(0, 6)
        base = H * (0.22 + band * 0.08)
        for x in range(0, W, 3):
            y = base + math.sin(x / W * 6 + phase) * H * 0.06 + math.sin(x / W * 17 + phase) * H * 0.02
            length = H * (0.18 + 0.1 * math.sin(x / W * 9 + phase * 2)) * (1 - band * 0.25)
            for i in range(8):
                a = int(70 * (1 - i / 8))
                d.line((x, y - length * i / 8, x, y - length * (i + 1) / 8), fill=colour + (a,), width=3)
    img.alpha_composite(layer.filter(ImageFilter.GaussianBlur(W / 160)))


def _clouds(img, rand, W, H, count, sky):
    layer = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    tint = {"dusk": (250, 190, 170), "dawn": (255, 220, 210), "storm": (120, 124, 130), "night": (60, 70, 100)}.get(sky, (255, 255, 255))
    for _ in range(count):
        cx, cy = rand.uniform(0, W), rand.uniform(H * 0.08, H * 0.4)
        for _ in range(7):
            rx, ry = rand.uniform(0.04, 0.09) * W, rand.uniform(0.015, 0.03) * H
            x, y = cx + rand.uniform(-0.08, 0.08) * W, cy + rand.uniform(-0.02, 0.02) * H
            d.ellipse((x - rx, y - ry, x + rx, y + ry), fill=tint + (150,))
    img.alpha_composite(layer.filter(ImageFilter.GaussianBlur(W / 200)))


def _mountains(img, rand, layer, W, H, horizon, ss):
    """A range of peaks: the upper envelope of sloped cones, roughened by a ridge profile."""
    d = ImageDraw.Draw(img)
    colour = _col(layer, "colour", (90, 100, 130), horizon)
    base, amp = layer.get("base", 0.55) * H, layer.get("amp", 0.15) * H
    noise = c.ridge(rand, W, 0, amp * 0.18, 0.7, 256)
    peaks = [(rand.uniform(-0.1, 1.1) * W, amp * rand.uniform(0.45, 1.0), rand.uniform(0.6, 1.3))
             for _ in range(layer.get("peaks", 7))]
    if layer.get("peak"):
        px, ph = layer["peak"]
        peaks.append((px * W, ph * H, 0.9))
    prof = []
    for x, n in noise:
        height = max([ph - abs(x - px) * slope for px, ph, slope in peaks] + [amp * 0.15])
        prof.append((x, base - height + n))
    mask = Image.new("L", (W, H), 0)
    c.fill_below(ImageDraw.Draw(mask), prof, H, 255)
    body = Image.new("RGBA", (W, H), colour + (255,))
    if layer.get("light", True):
        bd = ImageDraw.Draw(body)
        lit = c.mix(c.shade(colour, 1.1), horizon, 0.06)
        for px, ph, slope in peaks:
            bd.polygon([(px, base - ph), (px - ph / slope * 1.1, base + H * 0.2), (px - ph / slope * 0.3, base + H * 0.2)], fill=lit)
    img.paste(body, (0, 0), mask)
    if layer.get("snow"):
        snow = c.mix((250, 250, 252), horizon, layer.get("haze", 0.0) * 0.4)
        for px, ph, slope in peaks:
            cap = ph * layer.get("snow")
            if ph > amp * 0.6:
                top = base - ph
                d.polygon([(px, top), (px - cap / slope, top + cap), (px - cap / slope * 0.3, top + cap * 0.75),
                           (px, top + cap * 1.05), (px + cap / slope * 0.4, top + cap * 0.7), (px + cap / slope, top + cap)], fill=snow)


def _ground(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    top = layer.get("top", 0.75) * H
    near = tuple(layer.get("colour", (90, 130, 70)))
    far = c.mix(near, horizon, 0.35)
    prof = c.ridge(rand, W, top, layer.get("amp", 0.02) * H, 0.6, 64)
    grad = c.vertical_gradient((W, H), [(0, far), (max(0.01, top / H), far), (1, near)]).convert("RGBA")
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).polygon(prof + [(W, H), (0, H)], fill=255)
    img.paste(grad, (0, 0), mask)
    for _ in range(layer.get("tufts", 0)):
        x, y = rand.uniform(0, W), rand.uniform(top + H * 0.05, H)
        h = (y - top) / (H - top) * H * 0.03
        col = c.shade(near, rand.uniform(0.75, 1.15))
        for k in range(3):
            d.line((x, y, x + (k - 1) * h * 0.4, y - h), fill=col, width=ss)


def _water(img, rand, layer, W, H, horizon, ss):
    top = layer.get("top", 0.7) * H
    colour = tuple(layer.get("colour", (70, 110, 150)))
    region = img.crop((0, int(top - (H - top)), W, int(top))).transpose(Image.FLIP_TOP_BOTTOM)
    region = region.resize((W, int(H - top)))
    base = c.vertical_gradient((W, int(H - top)), [(0, c.mix(colour, horizon, 0.4)), (1, colour)]).convert("RGBA")
    water = Image.blend(base, region, layer.get("reflect", 0.55)).filter(ImageFilter.GaussianBlur(ss))
    img.paste(water, (0, int(top)))
    d = ImageDraw.Draw(img, "RGBA")
    for _ in range(int(W / 14)):
        y = rand.uniform(top + 2, H)
        x = rand.uniform(0, W)
        length = (y - top) / (H - top) * W * 0.05 + 4
        d.line((x, y, x + length, y), fill=(255, 255, 255, rand.randint(15, 45)), width=ss)


def _forest(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    base = layer.get("base", 0.7) * H
    size = layer.get("size", 0.12) * H
    colour = _col(layer, "colour", (40, 70, 50), horizon)
    kind = layer.get("kind", "fir")
    x0, x1 = layer.get("from", 0) * W, layer.get("to", 1) * W
    d.rectangle((x0, base - size * 0.25, x1, base + H * 0.01), fill=colour)
    x = x0
    while x < x1:
        h = size * rand.uniform(0.7, 1.15)
        y = base + rand.uniform(-0.01, 0.015) * H
        pick = kind if kind != "mixed" else rand.choice(("fir", "fir", "birch", "pine"))
        if pick == "fir":
            shapes.fir(d, x, y, h, c.shade(colour, rand.uniform(0.85, 1.1)))
        elif pick == "pine":
            shapes.pine(d, x, y, h, c.shade(colour, rand.uniform(0.85, 1.1)))
        else:
            leaves = tuple(layer.get("leaves", (120, 160, 70)))
            shapes.birch(d, x, y, h, c.mix(c.shade(leaves, rand.uniform(0.85, 1.1)), horizon, layer.get("haze", 0.0)))
        x += h * layer.get("spacing", 0.3) * rand.uniform(0.6, 1.3)


def _volcano(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    cx, base, h, w = layer["x"] * W, layer.get("base", 0.7) * H, layer.get("height", 0.45) * H, layer.get("width", 0.5) * W
    colour = _col(layer, "colour", (96, 90, 100), horizon)
    top = base - h
    pts = [(cx - w / 2, base)]
    for i in range(21):
        t = i / 20
        x = cx - w / 2 + w * t
        dist = abs(t - 0.5) * 2
        y = top + h * (dist ** 1.7) if dist > 0.08 else top + h * 0.02
        pts.append((x, y + rand.uniform(-0.005, 0.005) * H))
    pts.append((cx + w / 2, base))
    d.polygon(pts, fill=colour)
    snow = [(x, y) for x, y in pts if y < top + h * 0.3]
    if snow:
        d.polygon(snow + [(snow[-1][0], top + h * 0.3), (snow[0][0], top + h * 0.3)], fill=c.mix((248, 248, 250), horizon, 0.1))
    if layer.get("smoke"):
        plume = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        pd = ImageDraw.Draw(plume)
        for i in range(14):
            r = h * (0.05 + i * 0.025)
            x = cx + i * w * 0.035 + rand.uniform(-1, 1) * r * 0.3
            y = top - i * h * 0.07
            pd.ellipse((x - r, y - r * 0.7, x + r, y + r * 0.7), fill=(230, 228, 226, max(40, 180 - i * 10)))
        img.alpha_composite(plume.filter(ImageFilter.GaussianBlur(W / 150)))


def _geyser(img, rand, layer, W, H, horizon, ss):
    plume = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(plume)
    cx, base, h = layer["x"] * W, layer.get("base", 0.75) * H, layer.get("height", 0.5) * H
    for i in range(40):
        t = i / 40
        r = W * (0.01 + t * 0.05)
        x = cx + rand.uniform(-1, 1) * r * 0.4 + t * W * 0.03
        y = base - h * t
        d.ellipse((x - r, y - r, x + r, y + r), fill=(245, 245, 245, int(200 * (1 - t * 0.6))))
    img.alpha_composite(plume.filter(ImageFilter.GaussianBlur(W / 180)))


def _pillars(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    base = layer.get("base", 0.7) * H
    colour = _col(layer, "colour", (176, 140, 110), horizon)
    x = layer.get("from", 0.0) * W
    while x < layer.get("to", 1.0) * W:
        w = rand.uniform(0.025, 0.06) * W
        h = rand.uniform(0.25, 0.45) * H
        top = base - h
        pts = [(x, base), (x + w * 0.1, top + h * 0.3), (x + w * 0.25, top), (x + w * 0.55, top + h * 0.05),
               (x + w * 0.8, top + h * 0.15), (x + w, base)]
        d.polygon(pts, fill=c.shade(colour, rand.uniform(0.85, 1.1)))
        d.polygon([(x + w * 0.55, top + h * 0.05), (x + w * 0.8, top + h * 0.15), (x + w, base), (x + w * 0.6, base)], fill=c.shade(colour, 0.72))
        x += w * rand.uniform(0.7, 1.1)


def _building(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    kind = layer["kind"]
    x, base, h = layer.get("x", 0.5) * W, layer.get("base", 0.7) * H, layer.get("height", 0.3) * H
    lit = layer.get("lit", True)
    if kind == "church":
        shapes.church(d, x, base, h, tuple(layer.get("walls", (245, 240, 228))), tuple(layer.get("dome", c.GOLD)),
                      layer.get("domes", 5), lit=lit)
    elif kind == "bell_tower":
        shapes.bell_tower(d, x, base, h, tuple(layer.get("walls", (245, 240, 228))), lit=lit)
    elif kind == "kremlin":
        shapes.kremlin_wall(d, layer.get("from", 0.1) * W, layer.get("to", 0.9) * W, base, h,
                            tuple(layer.get("walls", (170, 52, 44))), layer.get("towers", 4))
    elif kind == "spire":
        shapes.spire(d, x, base, h, lit=lit)
    elif kind == "palace":
        shapes.palace(d, layer.get("from", 0.1) * W, layer.get("to", 0.9) * W, base, h,
                      tuple(layer.get("walls", (120, 170, 140))), lit=lit)
    elif kind == "portico":
        shapes.portico(d, x, base, h, tuple(layer.get("walls", (238, 226, 200))), lit=lit)
    elif kind == "column":
        colour = tuple(layer.get("walls", (150, 90, 80)))
        w = h * 0.07
        d.rectangle((x - w * 2.2, base - h * 0.12, x + w * 2.2, base), fill=c.shade(colour, 0.8))
        d.rectangle((x - w, base - h * 0.9, x + w, base - h * 0.12), fill=colour)
        d.rectangle((x - w * 1.5, base - h * 0.95, x + w * 1.5, base - h * 0.9), fill=c.shade(colour, 0.8))
        d.polygon([(x - w * 0.6, base - h * 0.95), (x, base - h), (x + w * 0.6, base - h * 0.95)], fill=c.GOLD)
        d.line((x, base - h * 1.08, x, base - h * 0.95), fill=c.GOLD, width=max(2, int(w * 0.5)))
    elif kind == "wooden_church":
        shapes.wooden_church(d, x, base, h)
    elif kind == "izba":
        shapes.izba(d, x, base, h)
    elif kind == "mosque":
        shapes.mosque(d, x, base, h)
    elif kind == "bridge":
        shapes.bridge(d, layer.get("from", 0.1) * W, layer.get("to", 0.9) * W, base, h, raised=layer.get("raised", 0.0))
    elif kind == "skyline":
        shapes.skyline(d, rand, layer.get("from", 0.0) * W, layer.get("to", 1.0) * W, base, h,
                       _col(layer, "colour", (70, 80, 100), horizon), tuple(layer["windows"]) if "windows" in layer else None)
    elif kind == "wall":
        colour = tuple(layer.get("walls", (235, 232, 224)))
        x0, x1 = layer.get("from", 0.1) * W, layer.get("to", 0.9) * W
        d.rectangle((x0, base - h, x1, base), fill=colour)
        for i in range(layer.get("towers", 3)):
            tx = x0 + (x1 - x0) * i / max(1, layer.get("towers", 3) - 1)
            d.rectangle((tx - h * 0.35, base - h * 1.6, tx + h * 0.35, base), fill=c.shade(colour, 0.95))
            d.polygon([(tx - h * 0.45, base - h * 1.6), (tx, base - h * 2.4), (tx + h * 0.45, base - h * 1.6)],
                      fill=tuple(layer.get("roof", (110, 90, 70))))


def _animal(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    shapes.silhouette(d, shapes.ANIMALS[layer["kind"]], layer.get("x", 0.5) * W, layer.get("base", 0.8) * H,
                      layer.get("height", 0.12) * H, tuple(layer.get("colour", (40, 30, 25))),
                      layer.get("flip", False), layer.get("aspect", 1.4))
    if layer["kind"] == "tiger":
        cx, base, h = layer.get("x", 0.5) * W, layer.get("base", 0.8) * H, layer.get("height", 0.12) * H
        for i in range(6):
            sx = cx - h * 0.35 + i * h * 0.16
            d.line((sx, base - h * 0.5, sx + h * 0.05, base - h * 0.28), fill=(25, 20, 15), width=max(2, int(h * 0.04)))


def _birds(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    colour = tuple(layer.get("colour", (40, 40, 50)))
    for _ in range(layer.get("count", 5)):
        x, y = rand.uniform(0.1, 0.9) * W, rand.uniform(0.1, 0.4) * H
        s = rand.uniform(0.012, 0.02) * W
        d.line((x - s, y - s * 0.4, x, y, x + s, y - s * 0.4), fill=colour, width=max(ss, int(s / 5)), joint="curve")


def _boat(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    x, base, h = layer.get("x", 0.5) * W, layer.get("base", 0.75) * H, layer.get("height", 0.1) * H
    colour = tuple(layer.get("colour", (60, 40, 30)))
    d.polygon([(x - h, base - h * 0.25), (x + h, base - h * 0.25), (x + h * 0.75, base), (x - h * 0.75, base)], fill=colour)
    if layer.get("sail", True):
        d.line((x, base - h * 0.25, x, base - h * 1.5), fill=colour, width=max(1, ss))
        d.polygon([(x + 2, base - h * 1.45), (x + h * 0.8, base - h * 0.35), (x + 2, base - h * 0.35)], fill=tuple(layer.get("sail_colour", (245, 240, 225))))


def _train(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    base, h = layer.get("base", 0.78) * H, layer.get("height", 0.06) * H
    d.line((0, base + h * 0.15, W, base + h * 0.15), fill=(60, 55, 50), width=max(2, int(h * 0.12)))
    x = layer.get("x", 0.2) * W
    colour = tuple(layer.get("colour", (150, 40, 40)))
    for i in range(layer.get("cars", 6)):
        cw = h * 3.2
        left = x + i * (cw + h * 0.2)
        if i == 0:
            d.polygon([(left, base), (left, base - h * 0.7), (left + h * 0.5, base - h), (left + cw, base - h), (left + cw, base)], fill=colour)
        else:
            d.rounded_rectangle((left, base - h, left + cw, base), radius=h * 0.15, fill=colour)
        for wx in range(6):
            wl = left + h * 0.5 + wx * h * 0.45
            d.rectangle((wl, base - h * 0.75, wl + h * 0.25, base - h * 0.45), fill=(250, 230, 160))
        d.line((left, base - h * 0.3, left + cw, base - h * 0.3), fill=c.shade(colour, 1.4), width=max(1, int(h * 0.06)))


def _chums(img, rand, layer, W, H, horizon, ss):
    d = ImageDraw.Draw(img)
    base = layer.get("base", 0.75) * H
    for x in layer.get("xs", (0.3, 0.5)):
        h = layer.get("height", 0.16) * H
        cx = x * W
        d.polygon([(cx - h * 0.45, base), (cx, base - h), (cx + h * 0.45, base)], fill=(150, 120, 95))
        d.polygon([(cx, base - h), (cx + h * 0.45, base), (cx + h * 0.1, base)], fill=(120, 95, 75))
        for k in (-1, 0, 1):
            d.line((cx + k * h * 0.05, base - h, cx + k * h * 0.12, base - h * 1.18), fill=(80, 60, 45), width=max(1, ss))


def _people(img, rand, layer, W, H, horizon, ss):
    """A round dance seen from the side: a ring of small figures holding hands."""
    d = ImageDraw.Draw(img)
    cx, base, r = layer.get("x", 0.5) * W, layer.get("base", 0.8) * H, layer.get("radius", 0.3) * W
    n = layer.get("count", 16)
    figures = []
    for i in range(n):
        a = 2 * math.pi * i / n
        x, depth = cx + r * math.cos(a), math.sin(a)
        figures.append((depth, x))
    for depth, x in sorted(figures):
        s = H * 0.07 * (0.8 + 0.2 * (depth + 1) / 2)
        y = base + depth * H * 0.05
        colour = (250, 250, 245) if int(x) % 3 else (170, 40, 40)
        d.polygon([(x - s * 0.25, y), (x, y - s * 0.8), (x + s * 0.25, y)], fill=colour)
        d.ellipse((x - s * 0.1, y - s, x + s * 0.1, y - s * 0.8), fill=(90, 60, 40))


def _post(img, rand, layer, W, H, horizon, ss):
    """Carved hitching posts (serge) or poles."""
    d = ImageDraw.Draw(img)
    for x in layer.get("xs", (0.5,)):
        h = layer.get("height", 0.25) * H
        base = layer.get("base", 0.8) * H
        w = h * 0.06
        d.rectangle((x * W - w, base - h, x * W + w, base), fill=(110, 80, 50))
        for k in range(4):
            y = base - h * (0.3 + k * 0.15)
            d.ellipse((x * W - w * 1.6, y - w, x * W + w * 1.6, y + w), fill=(130, 95, 60))


LAYERS = {
    "mountains": _mountains, "ground": _ground, "water": _water, "forest": _forest,
    "volcano": _volcano, "geyser": _geyser, "pillars": _pillars, "building": _building,
    "animal": _animal, "birds": _birds, "boat": _boat, "train": _train, "chums": _chums,
    "people": _people, "post": _post,
}


def preset(brief):
    """Expands the common nature scenes; 'layers' given in the brief are drawn after the
    preset's background and before its water and foreground."""
    kind, extra = brief.get("preset"), list(brief.get("layers", []))
    snow = brief.get("snow", 0.0)
    winter = brief.get("sky") == "winter" or brief.get("season") == "winter"
    ground = [235, 238, 242] if winter else brief.get("ground", [96, 136, 72])
    forest = [50, 70, 60] if winter else brief.get("forest", [40, 74, 52])
    if kind == "lake":
        back = [{"type": "mountains", "base": 0.52, "amp": brief.get("amp", 0.22), "colour": [100, 104, 140], "haze": 0.5, "snow": snow or 0.25},
                {"type": "mountains", "base": 0.6, "amp": 0.1, "colour": [64, 80, 96], "haze": 0.25, "peaks": 9},
                {"type": "forest", "base": 0.665, "size": 0.06, "colour": forest, "haze": 0.2}]
        front = [{"type": "water", "top": 0.67, "colour": brief.get("water", [56, 96, 136])}]
    elif kind == "river":
        back = [{"type": "mountains", "base": 0.6, "amp": brief.get("amp", 0.06), "colour": [110, 130, 120], "haze": 0.45, "peaks": 5, "light": False},
                {"type": "forest", "base": 0.62, "size": 0.07, "colour": forest, "haze": 0.3, "kind": brief.get("trees", "mixed")}]
        front = [{"type": "water", "top": 0.63, "colour": brief.get("water", [70, 110, 140])},
                 {"type": "ground", "top": 0.86, "colour": ground, "tufts": 120, "amp": 0.03}]
    elif kind == "taiga":
        back = [{"type": "mountains", "base": 0.55, "amp": brief.get("amp", 0.08), "colour": [90, 110, 120], "haze": 0.55, "peaks": 6, "snow": snow},
                {"type": "forest", "base": 0.6, "size": 0.08, "colour": forest, "haze": 0.45, "kind": "fir"},
                {"type": "forest", "base": 0.72, "size": 0.14, "colour": forest, "haze": 0.15, "kind": brief.get("trees", "fir")}]
        front = [{"type": "ground", "top": 0.74, "colour": ground, "tufts": 0 if winter else 150},
                 {"type": "forest", "base": 1.02, "size": 0.4, "colour": c.shade(tuple(forest), 0.7), "from": 0.0, "to": 0.25, "kind": "fir", "spacing": 0.35}]
    elif kind == "tundra":
        back = [{"type": "mountains", "base": 0.6, "amp": 0.05, "colour": [120, 120, 140], "haze": 0.5, "peaks": 4, "light": False, "snow": snow}]
        front = [{"type": "ground", "top": 0.62, "colour": brief.get("ground", [150, 140, 90]), "tufts": 200},
                 {"type": "water", "top": 0.93, "colour": [90, 120, 150]}]
    elif kind == "steppe":
        back = [{"type": "mountains", "base": 0.62, "amp": 0.08, "colour": [236, 232, 220], "haze": 0.2, "peaks": 5}]
        front = [{"type": "ground", "top": 0.66, "colour": brief.get("ground", [170, 160, 90]), "tufts": 160},
                 {"type": "water", "top": 0.84, "colour": [80, 120, 150]}]
    elif kind == "sea":
        back = [{"type": "mountains", "base": 0.6, "amp": brief.get("amp", 0.12), "colour": brief.get("cliffs", [90, 110, 90]), "haze": 0.35, "peaks": 5, "snow": snow}]
        front = [{"type": "water", "top": 0.62, "colour": brief.get("water", [40, 90, 140]), "reflect": 0.3}]
    else:
        back, front = [], []
    # Figures stand in front of the water and the near bank; scenery goes behind them.
    figures = [l for l in extra if l["type"] in ("animal", "boat", "people", "post", "chums", "train")]
    scenery = [l for l in extra if l not in figures]
    return back + scenery + front + figures
