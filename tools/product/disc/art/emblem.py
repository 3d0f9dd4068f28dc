"""Emblems: heraldic shields and medallions with a charge, a crown and a ribbon."""
from PIL import ImageDraw

from . import common as c
from . import shapes
from .maps import chaikin


def render(brief, name, size=c.SLIDE_SIZE, ss=2):
    W, H = c.supersample(size, ss)
    img = c.vertical_gradient((W, H), [(0, (248, 243, 228)), (1, (226, 214, 186))]).convert("RGBA")
    d = ImageDraw.Draw(img)
    _ornament_border(d, W, H, ss)
    cx, cy, sw, sh = W / 2, H * 0.47, H * 0.5, H * 0.6
    field = tuple(brief.get("field", (170, 40, 40)))
    if brief.get("shape", "shield") == "shield":
        pts = chaikin([(cx - sw / 2, cy - sh / 2), (cx + sw / 2, cy - sh / 2), (cx + sw / 2, cy + sh * 0.15),
                       (cx, cy + sh / 2), (cx - sw / 2, cy + sh * 0.15)], 1, True)
        d.polygon(pts, fill=field, outline=c.GOLD, width=4 * ss)
    else:
        r = sh / 2
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=field, outline=c.GOLD, width=5 * ss)
        d.ellipse((cx - r * 0.88, cy - r * 0.88, cx + r * 0.88, cy + r * 0.88), outline=c.GOLD, width=ss)
    charge = brief.get("charge", "star")
    tint = tuple(brief.get("tint", c.GOLD))
    if charge == "eagle":
        _eagle(d, cx, cy, sh * 0.42, tint)
    elif charge in shapes.ANIMALS:
        shapes.silhouette(d, shapes.ANIMALS[charge], cx, cy + sh * 0.25, sh * 0.4, tint, aspect=1.3)
        if brief.get("axe"):
            d.line((cx + sh * 0.1, cy - sh * 0.02, cx + sh * 0.28, cy - sh * 0.28), fill=tint, width=4 * ss)
            d.polygon([(cx + sh * 0.24, cy - sh * 0.32), (cx + sh * 0.33, cy - sh * 0.3), (cx + sh * 0.3, cy - sh * 0.2)], fill=tint)
    elif charge == "monogram":
        c.text_centre(d, (cx, cy), brief.get("text", "Е II"), c.font("serif-bold", int(sh * 0.32)), tint, shadow=(90, 20, 20))
    else:
        glyph = {"star": "★", "anchors": "⚓", "knight": "♞", "sun": "☀", "snow": "❄", "alembic": "⚗",
                 "crown": "♛", "tower": "♜", "lily": "⚜"}[charge]
        c.text_centre(d, (cx, cy), glyph, c.font("symbol", int(sh * 0.5)), tint, shadow=(80, 20, 20))
    if brief.get("crown", True):
        _crown(d, cx, cy - sh / 2 - H * 0.01, sh * 0.34, ss)
    label = brief.get("label", "")
    if label:
        _ribbon(d, cx, H * 0.9, W * 0.7, H * 0.09, label, ss)
    return c.grain(c.downsample(img.convert("RGB"), size), 0.2, name)


def _ornament_border(d, W, H, ss):
    d.rectangle((6 * ss, 6 * ss, W - 7 * ss, H - 7 * ss), outline=c.NAVY, width=3 * ss)
    d.rectangle((12 * ss, 12 * ss, W - 13 * ss, H - 13 * ss), outline=c.GOLD, width=ss)
    for x, y in ((18, 18), (W / ss - 18, 18), (18, H / ss - 18), (W / ss - 18, H / ss - 18)):
        r = 5 * ss
        d.ellipse((x * ss - r, y * ss - r, x * ss + r, y * ss + r), fill=c.GOLD)


def _crown(d, cx, base, w, ss):
    h = w * 0.55
    d.polygon([(cx - w / 2, base), (cx - w / 2, base - h * 0.6), (cx - w * 0.3, base - h * 0.35), (cx - w * 0.15, base - h),
               (cx, base - h * 0.45), (cx + w * 0.15, base - h), (cx + w * 0.3, base - h * 0.35), (cx + w / 2, base - h * 0.6),
               (cx + w / 2, base)], fill=c.GOLD, outline=(140, 110, 20))
    for k in (-0.3, 0, 0.3):
        r = w * 0.04
        d.ellipse((cx + k * w - r, base - h * 0.25 - r, cx + k * w + r, base - h * 0.25 + r), fill=(180, 30, 40))


def _eagle(d, cx, cy, s, colour):
    """A double-headed eagle, built symmetric from one half."""
    half = [(0, -0.25), (0.08, -0.45), (0.2, -0.6), (0.3, -0.62), (0.33, -0.52), (0.26, -0.45), (0.2, -0.3),
            (0.45, -0.55), (0.7, -0.62), (0.95, -0.45), (0.85, -0.35), (0.95, -0.2), (0.8, -0.12), (0.88, 0.02),
            (0.66, 0.05), (0.6, 0.2), (0.32, 0.15), (0.25, 0.45), (0.35, 0.7), (0.12, 0.6), (0, 0.75)]
    right = [(cx + x * s, cy + y * s) for x, y in half]
    left = [(cx - x * s, cy + y * s) for x, y in reversed(half)]
    d.polygon(right + left, fill=colour, outline=(120, 90, 20))
    for sign in (-1, 1):
        x, y = cx + sign * 0.3 * s, cy - 0.58 * s
        d.polygon([(x, y), (x + sign * 0.12 * s, y + 0.02 * s), (x + sign * 0.02 * s, y + 0.07 * s)], fill=colour)
        r = 0.025 * s
        d.ellipse((x - r, y - r, x + r, y + r), fill=(60, 30, 20))
    d.rectangle((cx - 0.14 * s, cy - 0.15 * s, cx + 0.14 * s, cy + 0.25 * s), fill=(170, 40, 40), outline=colour)
    c.text_centre(d, (cx, cy + 0.05 * s), "♞", c.font("symbol", int(0.3 * s)), (240, 240, 240))


def _ribbon(d, cx, cy, w, h, text, ss):
    d.polygon([(cx - w / 2 - h * 0.6, cy - h * 0.2), (cx - w / 2, cy - h / 2), (cx - w / 2, cy + h / 2), (cx - w / 2 - h * 0.6, cy + h * 0.6),
               (cx - w / 2 - h * 0.3, cy + h * 0.1)], fill=(120, 30, 30))
    d.polygon([(cx + w / 2 + h * 0.6, cy - h * 0.2), (cx + w / 2, cy - h / 2), (cx + w / 2, cy + h / 2), (cx + w / 2 + h * 0.6, cy + h * 0.6),
               (cx + w / 2 + h * 0.3, cy + h * 0.1)], fill=(120, 30, 30))
    d.rectangle((cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2), fill=c.RED, outline=c.GOLD, width=ss)
    fnt = c.fit_font(d, text, "caption", int(h * 0.6), w - 20 * ss)
    c.text_centre(d, (cx, cy), text, fnt, c.PARCHMENT)
