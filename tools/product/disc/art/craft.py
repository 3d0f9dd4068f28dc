"""Still lifes of crafts and objects: painted wares, instruments, a samovar, a bell, a cap,
an icon, a rocket and the like, each on a backdrop that suits it."""
import math

from PIL import ImageDraw

from . import common as c
from .maps import chaikin

GOLD_LIGHT = (236, 196, 80)
CINNABAR = (196, 42, 32)


def render(brief, name, size=c.SLIDE_SIZE, ss=2):
    W, H = c.supersample(size, ss)
    style = brief["style"]
    back = BACKS.get(style, "parchment")
    stops = {"dark": [(0, (46, 40, 44)), (1, (18, 16, 20))], "navy": [(0, (44, 58, 92)), (1, (20, 26, 44))],
             "parchment": [(0, (248, 242, 226)), (1, (222, 208, 176))], "gold": [(0, (236, 200, 110)), (1, (196, 150, 60))],
             "linen": [(0, (236, 232, 222)), (1, (208, 202, 190))], "night": [(0, (10, 14, 34)), (1, (40, 50, 80))]}[back]
    img = c.vertical_gradient((W, H), stops).convert("RGBA")
    d = ImageDraw.Draw(img, "RGBA")
    rand = c.rng(name)
    DRAW[style](d, W, H, ss, rand, brief, img)
    return c.grain(c.downsample(img.convert("RGB"), size), 0.25, name)


def _berry_branch(d, cx, cy, r, ang, rand, ss):
    for k in range(5):
        a = ang + rand.uniform(-0.6, 0.6)
        x, y = cx + math.cos(a) * r * rand.uniform(0.3, 1), cy + math.sin(a) * r * rand.uniform(0.3, 1)
        d.ellipse((x - r * 0.09, y - r * 0.09, x + r * 0.09, y + r * 0.09), fill=CINNABAR, outline=(120, 20, 20))
        d.ellipse((x - r * 0.03, y - r * 0.05, x, y - r * 0.02), fill=(255, 200, 180))
    for k in range(4):
        a = ang + rand.uniform(-1.2, 1.2)
        x, y = cx + math.cos(a) * r * 1.2, cy + math.sin(a) * r * 1.2
        d.polygon(chaikin([(cx, cy), (x + r * 0.15, y), (x, y), (x - r * 0.05, y - r * 0.15)], 2, True), fill=GOLD_LIGHT)


def _khokhloma(d, W, H, ss, rand, brief, img):
    cx, cy, r = W / 2, H * 0.56, H * 0.36
    d.ellipse((cx - r * 1.25, cy - r * 0.55, cx + r * 1.25, cy + r * 0.55), fill=GOLD_LIGHT)
    d.pieslice((cx - r * 1.25, cy - r * 1.2, cx + r * 1.25, cy + r * 1.0), 0, 180, fill=(20, 16, 14))
    d.ellipse((cx - r * 1.1, cy - r * 0.45, cx + r * 1.1, cy + r * 0.45), fill=(214, 160, 50))
    for i in range(7):
        a = -math.pi * 0.1 + i * math.pi / 6
        x, y = cx + math.cos(a) * r * 0.95, cy + r * 0.35 + math.sin(a) * r * 0.3
        _berry_branch(d, x, y, r * 0.22, math.pi / 2, rand, ss)
    for i in range(14):
        x = cx - r * 1.15 + i * r * 0.177
        d.arc((x - r * 0.1, cy - r * 0.05, x + r * 0.1, cy + r * 0.15), 180, 360, fill=(90, 40, 10), width=2 * ss)
    for k in range(3):
        bx, by = W * (0.12 + k * 0.38), H * 0.12
        _berry_branch(d, bx, by, H * 0.08, math.pi / 2, rand, ss)


def _gzhel(d, W, H, ss, rand, brief, img):
    cx, cy, r = W / 2, H / 2, H * 0.42
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(252, 252, 255), outline=(30, 60, 150), width=6 * ss)
    d.ellipse((cx - r * 0.9, cy - r * 0.9, cx + r * 0.9, cy + r * 0.9), outline=(30, 60, 150), width=2 * ss)
    for i in range(12):
        a = i * math.pi / 6
        x, y = cx + math.cos(a) * r * 0.95, cy + math.sin(a) * r * 0.95
        d.ellipse((x - r * 0.04, y - r * 0.04, x + r * 0.04, y + r * 0.04), fill=(30, 60, 150))
    for i in range(8):
        a = i * math.pi / 4
        petal = [(cx, cy), (cx + math.cos(a - 0.35) * r * 0.45, cy + math.sin(a - 0.35) * r * 0.45),
                 (cx + math.cos(a) * r * 0.62, cy + math.sin(a) * r * 0.62), (cx + math.cos(a + 0.35) * r * 0.45, cy + math.sin(a + 0.35) * r * 0.45)]
        d.polygon(chaikin(petal, 2, True), fill=(40, 80, 170) if i % 2 else (110, 150, 215))
    d.ellipse((cx - r * 0.14, cy - r * 0.14, cx + r * 0.14, cy + r * 0.14), fill=(20, 40, 120))
    for side in (-1, 1):
        for k in range(3):
            x, y = cx + side * r * (0.35 + k * 0.12), cy + r * (0.62 - k * 0.2)
            d.ellipse((x - r * 0.06, y - r * 0.03, x + r * 0.06, y + r * 0.03), fill=(40, 80, 170))


def _flower(d, x, y, r, colour, rand):
    for k in range(8):
        a = k * math.pi / 4 + rand.uniform(-0.1, 0.1)
        px, py = x + math.cos(a) * r * 0.55, y + math.sin(a) * r * 0.55
        d.ellipse((px - r * 0.5, py - r * 0.5, px + r * 0.5, py + r * 0.5), fill=c.shade(colour, rand.uniform(0.85, 1.1)))
    d.ellipse((x - r * 0.45, y - r * 0.45, x + r * 0.45, y + r * 0.45), fill=c.shade(colour, 0.75))
    d.arc((x - r * 0.8, y - r * 0.8, x + r * 0.8, y + r * 0.8), 200, 320, fill=(255, 255, 255, 150), width=3)


def _zhostovo(d, W, H, ss, rand, brief, img):
    cx, cy = W / 2, H / 2
    d.ellipse((W * 0.08, H * 0.08, W * 0.92, H * 0.92), fill=(16, 14, 16), outline=c.GOLD, width=4 * ss)
    for i in range(40):
        a = i * math.pi / 20
        x, y = cx + math.cos(a) * W * 0.39, cy + math.sin(a) * H * 0.39
        d.ellipse((x - 4 * ss, y - 2 * ss, x + 4 * ss, y + 2 * ss), fill=GOLD_LIGHT)
    for k in range(14):
        a = rand.uniform(0, 2 * math.pi)
        x, y = cx + math.cos(a) * W * 0.22, cy + math.sin(a) * H * 0.2
        d.polygon(chaikin([(cx, cy), (x + 20 * ss, y), (x, y + 8 * ss)], 2, True), fill=(40, 110, 60))
    for (dx, dy, r, col) in ((0, 0, 0.11, (200, 40, 50)), (-0.13, 0.05, 0.08, (240, 200, 210)), (0.13, 0.04, 0.085, (230, 120, 40)),
                             (-0.06, -0.11, 0.07, (250, 250, 245)), (0.07, -0.1, 0.065, (150, 60, 160)), (0.02, 0.13, 0.06, (240, 180, 60))):
        _flower(d, cx + dx * W, cy + dy * H, r * H, col, rand)


def _dymkovo(d, W, H, ss, rand, brief, img):
    colours = [(210, 40, 40), (240, 180, 30), (40, 110, 190), (40, 150, 70), (230, 110, 40)]
    step = H / 5
    for row in range(6):
        for col in range(9):
            x, y = col * step * 1.1 + (step * 0.55 if row % 2 else 0), row * step
            colour = colours[(row + col) % len(colours)]
            d.ellipse((x - step * 0.3, y - step * 0.3, x + step * 0.3, y + step * 0.3), outline=colour, width=5 * ss)
            d.ellipse((x - step * 0.1, y - step * 0.1, x + step * 0.1, y + step * 0.1), fill=colours[(row + col + 2) % 5])
            d.rectangle((x + step * 0.4, y - 4 * ss, x + step * 0.5, y + 4 * ss), fill=c.GOLD)
    for row in range(5):
        y = row * step + step / 2
        d.line((0, y, W, y), fill=colours[row % 5] + (160,), width=2 * ss)


def _matryoshka(d, W, H, ss, rand, brief, img):
    sizes = [1.0, 0.8, 0.64, 0.5, 0.38]
    x = W * 0.08
    base = H * 0.88
    for i, s in enumerate(sizes):
        h = H * 0.72 * s
        w = h * 0.55
        cx = x + w / 2
        colour = [(200, 30, 40), (220, 150, 30), (40, 110, 60), (40, 80, 160), (200, 30, 40)][i]
        d.ellipse((cx - w / 2, base - h * 0.72, cx + w / 2, base), fill=colour, outline=(60, 20, 20), width=ss)
        d.ellipse((cx - w * 0.36, base - h, cx + w * 0.36, base - h * 0.52), fill=colour, outline=(60, 20, 20), width=ss)
        d.ellipse((cx - w * 0.24, base - h * 0.92, cx + w * 0.24, base - h * 0.6), fill=(250, 226, 200))
        d.ellipse((cx - w * 0.2, base - h * 0.93, cx + w * 0.2, base - h * 0.85), fill=(90, 50, 30))
        for ex in (-0.08, 0.08):
            d.ellipse((cx + ex * w - 2 * ss, base - h * 0.77, cx + ex * w + 2 * ss, base - h * 0.74), fill=(40, 60, 120))
        d.ellipse((cx - w * 0.05, base - h * 0.7, cx + w * 0.05, base - h * 0.67), fill=(210, 60, 60))
        d.ellipse((cx - w * 0.32, base - h * 0.5, cx + w * 0.32, base - h * 0.08), fill=(250, 240, 220))
        _flower(d, cx, base - h * 0.3, w * 0.13, (220, 50, 50), rand)
        x += w + W * 0.025


def _balalaika(d, W, H, ss, rand, brief, img):
    cx, base = W * 0.5, H * 0.92
    body = [(cx - H * 0.3, base), (cx + H * 0.3, base), (cx, base - H * 0.42)]
    d.polygon(chaikin(body, 1, True), fill=(190, 120, 50), outline=(90, 50, 20))
    d.ellipse((cx - H * 0.05, base - H * 0.2, cx + H * 0.05, base - H * 0.1), fill=(40, 25, 15))
    d.rectangle((cx - H * 0.025, H * 0.1, cx + H * 0.025, base - H * 0.38), fill=(70, 40, 20))
    d.polygon([(cx - H * 0.04, H * 0.12), (cx + H * 0.04, H * 0.12), (cx + H * 0.03, H * 0.02), (cx - H * 0.03, H * 0.02)], fill=(70, 40, 20))
    for k in (-1, 0, 1):
        d.line((cx + k * H * 0.012, H * 0.06, cx + k * H * 0.02, base - H * 0.05), fill=(230, 230, 230), width=ss)
    for y in range(int(H * 0.14), int(base - H * 0.38), int(H * 0.05)):
        d.line((cx - H * 0.025, y, cx + H * 0.025, y), fill=(200, 200, 190), width=ss)
    _ornament_side(d, W, H, ss)


def _gusli(d, W, H, ss, rand, brief, img):
    body = [(W * 0.12, H * 0.75), (W * 0.3, H * 0.25), (W * 0.8, H * 0.32), (W * 0.9, H * 0.5), (W * 0.86, H * 0.78)]
    d.polygon(chaikin(body, 2, True), fill=(186, 126, 62), outline=(90, 50, 20))
    for k in range(9):
        y0 = H * (0.36 + k * 0.045)
        d.line((W * 0.25 + k * W * 0.015, y0, W * 0.84, H * (0.4 + k * 0.042)), fill=(240, 230, 200), width=ss)
    d.ellipse((W * 0.55, H * 0.55, W * 0.62, H * 0.64), fill=(60, 30, 15))
    for k in range(6):
        x = W * (0.2 + k * 0.1)
        d.text((x, H * 0.7), "✽", font=c.font("symbol", 18 * ss), fill=(120, 60, 20), anchor="mm")
    _ornament_side(d, W, H, ss)


def _samovar(d, W, H, ss, rand, brief, img):
    cx = W / 2
    d.ellipse((cx - H * 0.42, H * 0.8, cx + H * 0.42, H * 0.95), fill=(170, 120, 50))
    body = [(cx - H * 0.2, H * 0.82), (cx - H * 0.24, H * 0.6), (cx - H * 0.2, H * 0.4), (cx - H * 0.12, H * 0.36),
            (cx + H * 0.12, H * 0.36), (cx + H * 0.2, H * 0.4), (cx + H * 0.24, H * 0.6), (cx + H * 0.2, H * 0.82)]
    d.polygon(chaikin(body, 2, True), fill=(200, 140, 60), outline=(110, 70, 20))
    d.polygon(chaikin([(cx - H * 0.14, H * 0.42), (cx - H * 0.17, H * 0.62), (cx - H * 0.12, H * 0.78), (cx - H * 0.08, H * 0.6)], 2, True), fill=(245, 210, 140))
    for side in (-1, 1):
        d.arc((cx + side * H * 0.22 - H * 0.06, H * 0.4, cx + side * H * 0.22 + H * 0.06, H * 0.52), 0, 360, fill=(40, 30, 20), width=4 * ss)
    d.rectangle((cx + H * 0.2, H * 0.66, cx + H * 0.3, H * 0.69), fill=(110, 70, 20))
    d.rectangle((cx - H * 0.05, H * 0.3, cx + H * 0.05, H * 0.36), fill=(110, 70, 20))
    tea = [(cx - H * 0.12, H * 0.3), (cx - H * 0.1, H * 0.18), (cx + H * 0.1, H * 0.18), (cx + H * 0.12, H * 0.3)]
    d.polygon(chaikin(tea, 2, True), fill=(250, 250, 245), outline=(40, 60, 140))
    _flower(d, cx, H * 0.24, H * 0.035, (40, 80, 170), rand)
    d.line((cx + H * 0.11, H * 0.24, cx + H * 0.19, H * 0.19), fill=(250, 250, 245), width=5 * ss)
    for k in range(3):
        x = W * (0.12 + k * 0.07)
        d.ellipse((x - H * 0.04, H * 0.8, x + H * 0.04, H * 0.86), fill=(220, 170, 90), outline=(120, 80, 30))


def _egg(d, W, H, ss, rand, brief, img):
    cx, cy, rw, rh = W / 2, H * 0.46, H * 0.26, H * 0.36
    pts = []
    for i in range(72):
        a = 2 * math.pi * i / 72
        k = 1 + 0.12 * math.sin(a)
        pts.append((cx + rw * math.cos(a) * k, cy - rh * math.sin(a)))
    d.polygon(pts, fill=(230, 236, 245))
    for k in range(-3, 4):
        d.arc((cx - rw * 1.2 + k * rw * 0.35, cy - rh, cx + rw * 1.2 + k * rw * 0.35, cy + rh), 60, 120, fill=c.GOLD, width=3 * ss)
    for i in range(12):
        a = 2 * math.pi * i / 12
        x, y = cx + rw * 0.7 * math.cos(a), cy + rh * 0.7 * math.sin(a)
        d.ellipse((x - 5 * ss, y - 5 * ss, x + 5 * ss, y + 5 * ss), fill=(250, 250, 255), outline=c.GOLD)
    d.ellipse((cx - rw * 0.3, cy - rh * 0.3, cx + rw * 0.3, cy + rh * 0.3), fill=(180, 30, 60), outline=c.GOLD, width=2 * ss)
    d.polygon([(cx - H * 0.12, H * 0.9), (cx + H * 0.12, H * 0.9), (cx + H * 0.06, cy + rh * 0.95), (cx - H * 0.06, cy + rh * 0.95)], fill=c.GOLD)
    glow = c.radial_glow((W, H), (cx - rw * 0.4, cy - rh * 0.5), rw * 0.5, (255, 255, 255), 0.7)
    img.alpha_composite(glow)


def _pryanik(d, W, H, ss, rand, brief, img):
    box = (W * 0.18, H * 0.16, W * 0.82, H * 0.84)
    d.rounded_rectangle(box, radius=30 * ss, fill=(170, 100, 50), outline=(110, 60, 30), width=3 * ss)
    inner = (box[0] + 20 * ss, box[1] + 20 * ss, box[2] - 20 * ss, box[3] - 20 * ss)
    d.rounded_rectangle(inner, radius=20 * ss, outline=(210, 150, 90), width=4 * ss)
    c.text_centre(d, (W / 2, H * 0.44), "ТУЛА", c.font("serif-bold", int(H * 0.16)), (215, 160, 100), shadow=(110, 60, 30))
    for k in range(5):
        x = W * (0.3 + k * 0.1)
        d.ellipse((x - 8 * ss, H * 0.62, x + 8 * ss, H * 0.66), fill=(215, 160, 100))


def _bell(d, W, H, ss, rand, brief, img):
    cx, base = W / 2, H * 0.86
    d.rectangle((cx - H * 0.45, base, cx + H * 0.45, base + H * 0.06), fill=(150, 140, 130))
    profile = [(cx - H * 0.1, H * 0.16), (cx - H * 0.16, H * 0.3), (cx - H * 0.2, H * 0.55), (cx - H * 0.34, base),
               (cx + H * 0.34, base), (cx + H * 0.2, H * 0.55), (cx + H * 0.16, H * 0.3), (cx + H * 0.1, H * 0.16)]
    d.polygon(chaikin(profile, 2, True), fill=(120, 110, 80), outline=(60, 55, 40))
    d.polygon([(cx + H * 0.05, base), (cx + H * 0.2, base), (cx + H * 0.22, H * 0.66), (cx + H * 0.1, H * 0.7)], fill=(50, 48, 44))
    d.polygon([(cx + H * 0.34, base), (cx + H * 0.5, base), (cx + H * 0.48, H * 0.7), (cx + H * 0.3, H * 0.68)], fill=(110, 100, 75), outline=(60, 55, 40))
    for y in (0.3, 0.5, 0.72):
        d.line((cx - H * (0.14 + y * 0.2), H * y, cx + H * (0.14 + y * 0.2), H * y), fill=(170, 150, 100), width=3 * ss)
    d.rectangle((cx - H * 0.04, H * 0.08, cx + H * 0.04, H * 0.16), fill=(100, 90, 70))


def _cap(d, W, H, ss, rand, brief, img):
    cx, base = W / 2, H * 0.78
    dome = [(cx - H * 0.26, base), (cx - H * 0.27, H * 0.55), (cx - H * 0.2, H * 0.35), (cx, H * 0.26), (cx + H * 0.2, H * 0.35),
            (cx + H * 0.27, H * 0.55), (cx + H * 0.26, base)]
    d.polygon(chaikin(dome, 2, True), fill=(214, 170, 60), outline=(140, 100, 20))
    for k in range(-3, 4):
        d.line((cx + k * H * 0.07, H * 0.3 + abs(k) * H * 0.03, cx + k * H * 0.085, base), fill=(160, 120, 30), width=2 * ss)
    for k in range(-2, 3):
        x, y = cx + k * H * 0.1, H * 0.55
        d.ellipse((x - 9 * ss, y - 9 * ss, x + 9 * ss, y + 9 * ss), fill=[(180, 20, 40), (30, 120, 70), (40, 60, 170)][k % 3], outline=c.GOLD)
    d.rounded_rectangle((cx - H * 0.31, base - H * 0.02, cx + H * 0.31, base + H * 0.12), radius=20 * ss, fill=(90, 60, 40))
    for k in range(30):
        x = cx - H * 0.3 + k * H * 0.02
        d.line((x, base, x + 3 * ss, base + H * 0.1), fill=(70, 45, 30), width=ss)
    d.line((cx, H * 0.26, cx, H * 0.12), fill=c.GOLD, width=4 * ss)
    d.line((cx - H * 0.04, H * 0.17, cx + H * 0.04, H * 0.17), fill=c.GOLD, width=4 * ss)


def _trinity(d, W, H, ss, rand, brief, img):
    d.rectangle((W * 0.1, H * 0.06, W * 0.9, H * 0.94), fill=(222, 180, 90), outline=(120, 80, 30), width=6 * ss)
    robes = [((70, 110, 170), (180, 80, 50)), ((120, 50, 60), (70, 110, 170)), ((60, 120, 100), (70, 110, 170))]
    d.rectangle((W * 0.3, H * 0.66, W * 0.7, H * 0.76), fill=(245, 235, 210))
    d.polygon([(W * 0.46, H * 0.66), (W * 0.54, H * 0.66), (W * 0.52, H * 0.6), (W * 0.48, H * 0.6)], fill=(150, 60, 40))
    for i, (x, y) in enumerate(((0.27, 0.44), (0.5, 0.36), (0.73, 0.44))):
        cx, cy = W * x, H * y
        d.ellipse((cx - H * 0.08, cy - H * 0.16, cx + H * 0.08, cy), fill=(245, 215, 120), outline=(150, 110, 40), width=2 * ss)
        d.ellipse((cx - H * 0.045, cy - H * 0.12, cx + H * 0.045, cy - H * 0.03), fill=(220, 180, 140))
        outer, inner = robes[i]
        d.polygon(chaikin([(cx - H * 0.1, H * 0.86), (cx - H * 0.07, cy + H * 0.02), (cx, cy - H * 0.02), (cx + H * 0.07, cy + H * 0.02), (cx + H * 0.11, H * 0.86)], 2, True), fill=outer)
        d.polygon(chaikin([(cx - H * 0.03, cy + H * 0.02), (cx + H * 0.05, cy + H * 0.05), (cx + H * 0.08, H * 0.7), (cx - H * 0.02, H * 0.68)], 2, True), fill=inner)
        wing = -1 if x < 0.5 else 1
        d.polygon(chaikin([(cx + wing * H * 0.05, cy), (cx + wing * H * 0.2, cy - H * 0.1), (cx + wing * H * 0.15, cy + H * 0.2)], 2, True), fill=(200, 150, 70, 200))


def _fresco(d, W, H, ss, rand, brief, img):
    d.rectangle((0, 0, W, H), fill=(190, 140, 100))
    for _ in range(400):
        x, y = rand.uniform(0, W), rand.uniform(0, H)
        d.ellipse((x, y, x + 6 * ss, y + 4 * ss), fill=(170, 120, 85, 90))
    cx = W / 2
    d.ellipse((cx - H * 0.16, H * 0.08, cx + H * 0.16, H * 0.4), outline=(240, 220, 180), width=3 * ss)
    d.ellipse((cx - H * 0.09, H * 0.14, cx + H * 0.09, H * 0.36), fill=(120, 70, 45))
    d.polygon(chaikin([(cx - H * 0.3, H * 0.98), (cx - H * 0.2, H * 0.42), (cx, H * 0.36), (cx + H * 0.2, H * 0.42), (cx + H * 0.3, H * 0.98)], 2, True), fill=(110, 60, 40))
    for k in range(14):
        x0, y0 = cx + rand.uniform(-H * 0.2, H * 0.2), rand.uniform(H * 0.45, H * 0.9)
        d.line((x0, y0, x0 + rand.uniform(-20, 20) * ss, y0 + rand.uniform(10, 40) * ss), fill=(245, 235, 215), width=3 * ss)
    for x0, y0, x1, y1 in ((-0.05, 0.2, -0.02, 0.24), (0.02, 0.19, 0.05, 0.23), (-0.02, 0.3, 0.02, 0.31)):
        d.line((cx + x0 * H, y0 * H, cx + x1 * H, y1 * H), fill=(250, 245, 230), width=3 * ss)


def _rocket(d, W, H, ss, rand, brief, img):
    for _ in range(160):
        x, y = rand.uniform(0, W), rand.uniform(0, H * 0.7)
        d.ellipse((x, y, x + ss, y + ss), fill=(220, 220, 255))
    cx = W * 0.5
    flame_top = H * 0.62
    glow = c.radial_glow((W, H), (cx, H * 0.78), H * 0.35, (255, 170, 60), 0.9)
    img.alpha_composite(glow)
    d = ImageDraw.Draw(img, "RGBA")
    for k in range(30):
        x, y = cx + rand.uniform(-1, 1) * H * 0.25, H * 0.85 + rand.uniform(-0.08, 0.08) * H
        r = rand.uniform(0.04, 0.09) * H
        d.ellipse((x - r, y - r * 0.6, x + r, y + r * 0.6), fill=(230, 220, 210, 160))
    d.polygon([(cx - H * 0.05, flame_top), (cx, H * 0.86), (cx + H * 0.05, flame_top)], fill=(255, 210, 90))
    d.polygon([(cx - H * 0.025, flame_top), (cx, H * 0.76), (cx + H * 0.025, flame_top)], fill=(255, 255, 220))
    d.rectangle((cx - H * 0.035, H * 0.2, cx + H * 0.035, flame_top), fill=(235, 235, 230))
    d.polygon([(cx - H * 0.035, H * 0.2), (cx, H * 0.1), (cx + H * 0.035, H * 0.2)], fill=(235, 235, 230))
    for side in (-1, 1):
        d.polygon([(cx + side * H * 0.035, H * 0.38), (cx + side * H * 0.075, H * 0.56), (cx + side * H * 0.075, flame_top), (cx + side * H * 0.035, flame_top)], fill=(215, 215, 210))
    d.rectangle((cx - H * 0.035, H * 0.3, cx + H * 0.035, H * 0.33), fill=(200, 40, 40))
    for x in (cx - H * 0.2, cx + H * 0.17):
        d.rectangle((x, H * 0.25, x + H * 0.03, H * 0.92), fill=(70, 70, 80))
        for y in range(int(H * 0.27), int(H * 0.9), int(H * 0.05)):
            d.line((x, y, x + H * 0.03, y + H * 0.04), fill=(110, 110, 120), width=ss)


def _diamond(d, W, H, ss, rand, brief, img):
    for _ in range(60):
        x, y, r = rand.uniform(0, W), rand.uniform(H * 0.5, H), rand.uniform(10, 40) * ss
        d.ellipse((x - r, y - r * 0.6, x + r, y + r * 0.6), fill=(100 + rand.randint(-20, 20), 105, 110))
    cx, cy, r = W / 2, H * 0.45, H * 0.24
    table = [(cx - r * 0.5, cy - r * 0.35), (cx + r * 0.5, cy - r * 0.35)]
    crown = [(cx - r, cy), (cx - r * 0.5, cy - r * 0.35), (cx + r * 0.5, cy - r * 0.35), (cx + r, cy)]
    d.polygon(crown, fill=(220, 235, 245))
    d.polygon([(cx - r, cy), (cx + r, cy), (cx, cy + r * 1.1)], fill=(180, 205, 225))
    for k in range(-3, 4):
        d.line((cx + k * r / 3, cy, cx, cy + r * 1.1), fill=(255, 255, 255), width=ss)
        d.line((cx + k * r / 3, cy, cx + k * r / 6, cy - r * 0.35), fill=(255, 255, 255), width=ss)
    d.line(table, fill=(255, 255, 255), width=2 * ss)
    img.alpha_composite(c.radial_glow((W, H), (cx - r * 0.3, cy - r * 0.3), r * 0.8, (255, 255, 255), 0.8))


def _birchbark(d, W, H, ss, rand, brief, img):
    box = (W * 0.08, H * 0.2, W * 0.92, H * 0.8)
    d.rounded_rectangle(box, radius=14 * ss, fill=(232, 214, 178), outline=(150, 110, 70), width=3 * ss)
    for _ in range(50):
        x, y = rand.uniform(box[0], box[2]), rand.uniform(box[1], box[3])
        d.line((x, y, x + rand.uniform(10, 30) * ss, y), fill=(140, 100, 70, 120), width=2 * ss)
    text = brief.get("text", "ПОКЛОНОТЪ")
    fnt = c.font("serif", int(H * 0.075))
    for i, line in enumerate(text.split("|")):
        d.text((box[0] + 24 * ss, box[1] + 30 * ss + i * H * 0.1), line, font=fnt, fill=(90, 60, 40))


def _pancakes(d, W, H, ss, rand, brief, img):
    for k in range(16):
        a = k * math.pi / 8
        d.line((W / 2, H * 0.22, W / 2 + math.cos(a) * W, H * 0.22 + math.sin(a) * W), fill=(255, 220, 120, 60), width=10 * ss)
    d.ellipse((W / 2 - H * 0.12, H * 0.1, W / 2 + H * 0.12, H * 0.34), fill=(255, 210, 90))
    cx, base = W / 2, H * 0.88
    d.ellipse((cx - H * 0.5, base - H * 0.08, cx + H * 0.5, base + H * 0.06), fill=(250, 250, 250), outline=(40, 80, 160), width=3 * ss)
    for k in range(9):
        y = base - k * H * 0.03
        d.ellipse((cx - H * 0.4, y - H * 0.07, cx + H * 0.4, y + H * 0.03), fill=c.shade((230, 170, 70), 1 - k * 0.02), outline=(180, 110, 40))
    d.ellipse((cx + H * 0.5, base - H * 0.08, cx + H * 0.7, base + H * 0.02), fill=(150, 20, 40))


def _pot(d, W, H, ss, rand, brief, img):
    d.rectangle((0, H * 0.5, W, H), fill=(220, 210, 190))
    d.pieslice((W * 0.18, H * 0.15, W * 0.82, H * 0.95), 180, 360, fill=(30, 20, 18))
    d.rectangle((W * 0.18, H * 0.55, W * 0.82, H * 0.95), fill=(30, 20, 18))
    img.alpha_composite(c.radial_glow((W, H), (W * 0.5, H * 0.85), H * 0.3, (255, 140, 40), 0.8))
    d = ImageDraw.Draw(img, "RGBA")
    pot = [(W * 0.38, H * 0.9), (W * 0.34, H * 0.68), (W * 0.38, H * 0.52), (W * 0.62, H * 0.52), (W * 0.66, H * 0.68), (W * 0.62, H * 0.9)]
    d.polygon(chaikin(pot, 2, True), fill=(170, 90, 50), outline=(100, 50, 25))
    d.rectangle((W * 0.37, H * 0.5, W * 0.63, H * 0.54), fill=(140, 70, 40))
    for k in range(6):
        x = W * (0.42 + k * 0.03)
        d.arc((x - 10 * ss, H * 0.3 - k * 4 * ss, x + 10 * ss, H * 0.48), 200, 340, fill=(255, 255, 255, 120), width=3 * ss)


def _palette(d, W, H, ss, rand, brief, img):
    pal = [(W * 0.15, H * 0.55), (W * 0.25, H * 0.2), (W * 0.6, H * 0.12), (W * 0.85, H * 0.35), (W * 0.8, H * 0.75), (W * 0.45, H * 0.88)]
    d.polygon(chaikin(pal, 3, True), fill=(196, 150, 96), outline=(120, 80, 40))
    d.ellipse((W * 0.28, H * 0.6, W * 0.36, H * 0.72), fill=(240, 232, 214))
    for k, col in enumerate([(200, 30, 30), (240, 190, 40), (40, 90, 170), (30, 120, 60), (250, 250, 245), (90, 50, 30), (230, 120, 40)]):
        a = -2.4 + k * 0.5
        x, y = W * 0.52 + math.cos(a) * W * 0.25, H * 0.48 + math.sin(a) * H * 0.28
        d.ellipse((x - 16 * ss, y - 12 * ss, x + 16 * ss, y + 12 * ss), fill=col)
    for k in range(3):
        d.line((W * (0.6 + k * 0.05), H * 0.95, W * (0.75 + k * 0.06), H * 0.45), fill=(120, 70, 30), width=5 * ss)
        d.polygon([(W * (0.75 + k * 0.06) - 4 * ss, H * 0.45), (W * (0.77 + k * 0.06), H * 0.38), (W * (0.75 + k * 0.06) + 6 * ss, H * 0.46)], fill=(40, 30, 20))


def _quill(d, W, H, ss, rand, brief, img):
    d.rectangle((W * 0.15, H * 0.15, W * 0.72, H * 0.85), fill=(246, 236, 210), outline=(170, 140, 100), width=2 * ss)
    fnt = c.font("serif-italic", 16 * ss)
    for i, line in enumerate(brief.get("lines", [])):
        d.text((W * 0.19, H * 0.2 + i * 28 * ss), line, font=fnt, fill=(60, 50, 70))
    d.polygon(chaikin([(W * 0.55, H * 0.9), (W * 0.82, H * 0.2), (W * 0.92, H * 0.08), (W * 0.88, H * 0.3), (W * 0.58, H * 0.9)], 2, True), fill=(250, 250, 250), outline=(160, 160, 170))
    d.line((W * 0.56, H * 0.92, W * 0.9, H * 0.12), fill=(180, 180, 190), width=2 * ss)
    d.rectangle((W * 0.76, H * 0.74, W * 0.9, H * 0.9), fill=(30, 40, 60))


def _monument(d, W, H, ss, rand, brief, img):
    cx = W / 2
    d.rectangle((cx - H * 0.22, H * 0.55, cx + H * 0.22, H * 0.92), fill=(120, 110, 100), outline=(70, 60, 55))
    d.rectangle((cx - H * 0.26, H * 0.9, cx + H * 0.26, H * 0.96), fill=(100, 90, 80))
    d.rectangle((cx - H * 0.12, H * 0.65, cx + H * 0.12, H * 0.8), fill=(150, 120, 60))
    bronze = (70, 80, 60)
    d.polygon(chaikin([(cx - H * 0.12, H * 0.55), (cx - H * 0.13, H * 0.3), (cx - H * 0.08, H * 0.22), (cx - H * 0.02, H * 0.3), (cx - H * 0.02, H * 0.55)], 2, True), fill=bronze)
    d.ellipse((cx - H * 0.105, H * 0.13, cx - H * 0.045, H * 0.22), fill=bronze)
    d.line((cx - H * 0.11, H * 0.3, cx - H * 0.18, H * 0.12), fill=bronze, width=6 * ss)
    d.polygon(chaikin([(cx + H * 0.02, H * 0.55), (cx + H * 0.03, H * 0.42), (cx + H * 0.12, H * 0.4), (cx + H * 0.15, H * 0.55)], 2, True), fill=bronze)
    d.ellipse((cx + H * 0.05, H * 0.32, cx + H * 0.11, H * 0.4), fill=bronze)
    d.ellipse((cx + H * 0.1, H * 0.4, cx + H * 0.2, H * 0.52), outline=bronze, width=5 * ss)


def _mosaic(d, W, H, ss, rand, brief, img):
    step = 14 * ss
    cx, cy = W / 2, H / 2
    for y in range(0, H, step):
        for x in range(0, W, step):
            dist = math.hypot(x - cx, y - cy) / H
            ang = math.atan2(y - cy, x - cx)
            base = (40, 60, 110) if dist > 0.42 else (230, 190, 80) if (int(ang * 6 / math.pi) % 2) else (200, 120, 50)
            col = c.shade(base, rand.uniform(0.85, 1.12))
            d.rectangle((x + ss, y + ss, x + step - ss, y + step - ss), fill=col)
    c.text_centre(d, (cx, cy), "⚗", c.font("symbol", int(H * 0.3)), (40, 30, 60))


def _ornament_side(d, W, H, ss):
    for x in (W * 0.06, W * 0.94):
        for k in range(8):
            y = H * (0.1 + k * 0.11)
            d.polygon([(x, y - 10 * ss), (x + 8 * ss, y), (x, y + 10 * ss), (x - 8 * ss, y)], fill=c.RED)


BACKS = {"khokhloma": "dark", "zhostovo": "navy", "gzhel": "linen", "dymkovo": "linen", "matryoshka": "parchment",
         "balalaika": "parchment", "gusli": "parchment", "samovar": "parchment", "egg": "navy", "pryanik": "linen",
         "bell": "linen", "cap": "navy", "trinity": "gold", "fresco": "parchment", "rocket": "night", "diamond": "navy",
         "birchbark": "linen", "pancakes": "parchment", "pot": "dark", "palette": "linen", "quill": "navy",
         "monument": "linen", "mosaic": "navy"}
DRAW = {"khokhloma": _khokhloma, "gzhel": _gzhel, "zhostovo": _zhostovo, "dymkovo": _dymkovo, "matryoshka": _matryoshka,
        "balalaika": _balalaika, "gusli": _gusli, "samovar": _samovar, "egg": _egg, "pryanik": _pryanik, "bell": _bell,
        "cap": _cap, "trinity": _trinity, "fresco": _fresco, "rocket": _rocket, "diamond": _diamond,
        "birchbark": _birchbark, "pancakes": _pancakes, "pot": _pot, "palette": _palette, "quill": _quill,
        "monument": _monument, "mosaic": _mosaic}
