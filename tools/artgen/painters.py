"""One painter per role of the art table. Each returns a PIL picture of the entry's size."""

import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import pictograms
from style import (BLACK, GOLD, GOLD_LIGHT, LIGHT_GREY, NAVY, NAVY_DARK, PARCHMENT, RED, SCALE,
                   SLATE, SLATE_LIGHT, WHITE, Canvas, fit_size, font, mix, wrap)

NORMAL, PRESSED, DISABLED = "normal", "pressed", "disabled"
ACTIVE = "active"


# Button faces -------------------------------------------------------------------------------

class Face:
    """Colours of a bevelled face in one state."""

    def __init__(self, top, bottom, light, shadow, border, ink, icon):
        self.top, self.bottom, self.light, self.shadow = top, bottom, light, shadow
        self.border, self.ink, self.icon = border, ink, icon


def face_for(state, accent=None):
    if state == PRESSED:
        return Face(NAVY_DARK, NAVY, mix(NAVY, BLACK, 0.5), NAVY, NAVY_DARK, GOLD_LIGHT,
                    GOLD_LIGHT)
    if state == DISABLED:
        grey = mix(SLATE, (0x80, 0x80, 0x80), 0.6)
        return Face(mix(grey, PARCHMENT, 0.08), grey, mix(grey, PARCHMENT, 0.15),
                    mix(grey, BLACK, 0.15), mix(grey, BLACK, 0.3), mix(grey, PARCHMENT, 0.4),
                    mix(grey, PARCHMENT, 0.4))
    icon = mix(RED, PARCHMENT, 0.25) if accent == "red" else GOLD
    return Face(SLATE_LIGHT, SLATE, mix(SLATE, PARCHMENT, 0.42), NAVY_DARK, NAVY_DARK,
                PARCHMENT, icon)


def bevel(cv, x0, y0, x1, y1, face, state, radius=4):
    """A rounded, 2-pixel bevelled plate: lit from the top left when raised; pressed, the
    dark edge runs along the top and left only and the face fills the rest."""
    cv.rrect(x0, y0, x1, y1, radius, face.border)
    cv.rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1, face.shadow)
    cv.rrect(x0 + 1, y0 + 1, x1 - 3, y1 - 3, radius - 1, face.light)
    inner = 1 if state == PRESSED else 3
    cv.gradient(x0 + 3, y0 + 3, x1 - inner, y1 - inner, face.top, face.bottom,
                radius=max(1, radius - 2))


def button(w, h, state, label, icon=None, accent=None, base=None):
    """A dialog button: plate, pictogram at the left, label in the rest."""
    cv = Canvas(w, h, base=base)
    face = face_for(state, accent)
    bevel(cv, 0, 0, w, h, face, state)
    shift = 1 if state == PRESSED else 0
    icon_size = min(20, h - 16)
    left = 12
    if icon:
        pictograms.draw(cv, icon, left + shift, (h - icon_size) / 2 + shift, icon_size, face.icon)
        left += icon_size + 8
    room = w - left - 10
    size = fit_size("sans-bold", 13, label, room)
    cx = left + room / 2 if icon else w / 2
    cv.text(cx + shift, h / 2 + shift, label, "sans-bold", size, face.ink, anchor="mm")
    return cv.finish()


def tool(w, h, state, label, icon, base=None):
    """A toolbar button: pictogram above a small caption."""
    cv = Canvas(w, h, base=base)
    face = face_for(state)
    bevel(cv, 0, 0, w, h, face, state)
    shift = 1 if state == PRESSED else 0
    size = 20 if label else min(w, h) - 20
    top = 5 if label else (h - size) / 2
    pictograms.draw(cv, icon, (w - size) / 2 + shift, top + shift, size, face.icon, stroke=1.6)
    if label:
        text_size = fit_size("narrow-bold", 12, label, w - 6)
        cv.text(w / 2 + shift, h - 9 + shift, label, "narrow-bold", text_size, face.ink,
                anchor="mm")
    return cv.finish()


def arrow(w, h, state, icon, base=None):
    cv = Canvas(w, h, base=base)
    face = face_for(state)
    bevel(cv, 0, 0, w, h, face, state, radius=3)
    shift = 1 if state == PRESSED else 0
    size = min(w, h) - 8
    pictograms.draw(cv, icon, (w - size) / 2 + shift, (h - size) / 2 + shift, size, face.icon)
    return cv.finish()


def letter(w, h, state, label, base=None):
    """A letter-bar key: the current letter is gold, unavailable letters fade."""
    cv = Canvas(w, h, base=base)
    if state == PRESSED:
        cv.rrect(0, 0, w, h, 4, mix(GOLD, BLACK, 0.35))
        cv.rrect(1, 1, w - 1, h - 1, 3, mix(GOLD, BLACK, 0.15))
        cv.gradient(2, 2, w - 1, h - 1, GOLD, GOLD_LIGHT, radius=2)
        ink = NAVY_DARK
    elif state == DISABLED:
        cv.rrect(0, 0, w, h, 4, mix(NAVY, SLATE, 0.4))
        ink = mix(NAVY, PARCHMENT, 0.3)
    else:
        bevel(cv, 0, 0, w, h, face_for(NORMAL), NORMAL)
        ink = PARCHMENT
    size = fit_size("sans-bold", 13, label, w - 4)
    cv.text(w / 2, h / 2 + 0.5, label, "sans-bold", size, ink, anchor="mm")
    return cv.finish()


def tile(w, h, state, label, icon, base=None):
    """A start-screen button: a large plate with a pictogram in a gold ring."""
    cv = Canvas(w, h, base=base)
    face = face_for(state)
    bevel(cv, 0, 0, w, h, face, state, radius=5)
    shift = 1 if state == PRESSED else 0
    if h >= 40:
        ring = h - 14
        cx, cy = 8 + ring / 2 + shift, h / 2 + shift
        cv.ellipse(cx, cy, ring / 2, ring / 2, fill=mix(NAVY, face.bottom, 0.3),
                   outline=face.icon, width=1.5)
        isz = ring * 0.62
        pictograms.draw(cv, icon, cx - isz / 2, cy - isz / 2, isz, face.icon, stroke=1.8)
        left = 8 + ring + 12
        size = fit_size("sans-bold", 17, label, w - left - 10)
        cv.text(left + shift, h / 2 + shift, label, "sans-bold", size, face.ink, anchor="lm")
    else:
        isz = h - 10
        pictograms.draw(cv, icon, 9 + shift, 5 + shift, isz, face.icon, stroke=1.5)
        left = 9 + isz + 6
        size = fit_size("sans-bold", 12, label, w - left - 6)
        cv.text(left + (w - left - 6) / 2 + shift, h / 2 + shift, label, "sans-bold", size,
                face.ink, anchor="mm")
    return cv.finish()


def caption_button(w, h, state, icon, base=None):
    """Close and minimise buttons of the caption strip."""
    cv = Canvas(w, h, base=base)
    if icon == "cross":
        top, bottom = (mix(RED, PARCHMENT, 0.12), RED) if state != PRESSED else (
            mix(RED, BLACK, 0.45), mix(RED, BLACK, 0.25))
    else:
        top, bottom = (SLATE_LIGHT, SLATE) if state != PRESSED else (NAVY_DARK, NAVY)
    cv.rrect(0, 0, w, h, 3, NAVY_DARK)
    cv.gradient(1, 1, w - 1, h - 1, top, bottom, radius=2)
    if state != PRESSED:
        cv.rect(2, 1, w - 2, 2, mix(top, WHITE, 0.3))
    shift = 1 if state == PRESSED else 0
    pictograms.draw(cv, icon, 2 + shift, 2 + shift, w - 4, PARCHMENT, stroke=1.5)
    return cv.finish()


# Strips ---------------------------------------------------------------------------------------

def strip(w, h, state, title, icon="emblem"):
    """A 20-pixel title strip of a window or dialog, active or inactive."""
    cv = Canvas(w, h)
    if state == ACTIVE:
        cv.gradient(0, 0, w, h, mix(NAVY, SLATE, 0.45), NAVY)
        rule, ink, mark = GOLD, PARCHMENT, GOLD
    else:
        grey = mix(SLATE, (0x7A, 0x7E, 0x88), 0.55)
        cv.gradient(0, 0, w, h, mix(grey, PARCHMENT, 0.1), grey)
        rule, ink, mark = (mix(grey, PARCHMENT, 0.3), mix(grey, PARCHMENT, 0.55),
                           mix(grey, PARCHMENT, 0.4))
    cv.rect(0, h - 1, w, h, rule)
    cv.rect(0, 0, w, 1, mix(cv.img.getpixel((0, 4 * SCALE)), WHITE, 0.2))
    pictograms.draw(cv, icon, 6, 2, h - 5, mark, stroke=1.1)
    cv.text(6 + h + 2, h / 2, title, "sans-bold", 14, ink, anchor="lm")
    return cv.finish()


# Backgrounds ----------------------------------------------------------------------------------

def texture(w, h, seed, top, bottom):
    """A quiet vertical gradient with a faint deterministic grain."""
    column = Image.new("RGB", (1, h))
    column.putdata([mix(top, bottom, y / max(1, h - 1)) for y in range(h)])
    img = column.resize((w, h), Image.NEAREST)
    rng = random.Random(seed)
    noise = Image.new("L", (w, h))
    noise.putdata([128 + round(rng.gauss(0, 5)) for _ in range(w * h)])
    noise = noise.filter(ImageFilter.GaussianBlur(0.6))
    return ImageChops.add(img, Image.merge("RGB", (noise, noise, noise)), 1.0, -128)


def background(w, h, seed, layout):
    """A dialog or window background from its layout list (see the art table)."""
    base = texture(w, h, seed, mix(SLATE, NAVY, 0.15), mix(SLATE, NAVY, 0.55))
    cv = Canvas(w, h, base=base)
    for item in layout:
        kind, args = item[0], item[1:]
        LAYOUT[kind](cv, *args)
    return cv.finish()


def _band(cv, y0, y1):
    """A darker footer band that carries the buttons, under a thin gold rule."""
    cv.gradient(0, y0, cv.w, y1, mix(NAVY, SLATE, 0.2), NAVY)
    cv.rect(0, y0, cv.w, y0 + 1, mix(GOLD, NAVY, 0.3))


def _panel(cv, x, y, w, h, margin=4):
    """A parchment panel with a gold hairline around the control that sits on it."""
    x0, y0, x1, y1 = x - margin, y - margin, x + w + margin, y + h + margin
    cv.rrect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, 4, mix(NAVY, BLACK, 0.3))
    cv.rrect(x0, y0, x1, y1, 3, PARCHMENT)
    cv.frame(x0 + 2, y0 + 2, x1 - 2, y1 - 2, mix(GOLD, PARCHMENT, 0.3))


def _well(cv, x, y, w, h):
    """A dark recess for a picture or movie area."""
    cv.rrect(x - 2, y - 2, x + w + 2, y + h + 2, 2, mix(GOLD, NAVY, 0.45))
    cv.rect(x - 1, y - 1, x + w + 1, y + h + 1, NAVY_DARK)


def _filmstrip(cv, x, w):
    """A margin drawn as the edge of a film: sprocket holes between two rules."""
    cv.rect(x, 0, x + w, cv.h, mix(NAVY, BLACK, 0.2))
    cv.rect(x + 3, 0, x + 4, cv.h, mix(GOLD, NAVY, 0.5))
    cv.rect(x + w - 4, 0, x + w - 3, cv.h, mix(GOLD, NAVY, 0.5))
    hole = w - 22
    for y in range(8, cv.h - 34, 22):
        cv.rrect(x + 11, y, x + 11 + hole, y + 12, 2, mix(SLATE, NAVY, 0.35))


def _grey(cv, x, y, w, h):
    """The system grey behind static controls that paint themselves grey."""
    cv.rect(x, y, x + w, y + h, LIGHT_GREY)


def _label(cv, text, x, y, anchor="la", size=13, face="sans-bold", colour=PARCHMENT):
    cv.text(x, y, text, face, size, colour, anchor=anchor)


def _note(cv, text, x, y, width, size=13, colour=None, align="left"):
    colour = colour or mix(PARCHMENT, SLATE, 0.2)
    for i, line in enumerate(wrap("sans", size, text, width)):
        if align == "center":
            cv.text(x + width / 2, y + i * size * 1.3, line, "sans", size, colour, anchor="ma")
        else:
            cv.text(x, y + i * size * 1.3, line, "sans", size, colour)


def _ring(cv, name, cx, cy, r):
    """A large pictogram inside a gold ring, the emblem of a dialog."""
    cv.ellipse(cx, cy, r, r, fill=mix(NAVY, SLATE, 0.4), outline=mix(GOLD, SLATE, 0.2), width=2)
    cv.ellipse(cx, cy, r - 5, r - 5, outline=mix(GOLD, SLATE, 0.55), width=1)
    size = r * 1.05
    pictograms.draw(cv, name, cx - size / 2, cy - size / 2, size, GOLD_LIGHT, stroke=2.2)


def _rule(cv, x0, y, x1):
    cv.rect(x0, y, x1, y + 1, mix(GOLD, SLATE, 0.35))


def _title(cv, text, x, y, size=28, anchor="ma", colour=PARCHMENT):
    cv.text(x, y, text, "serif-bold", size, colour, anchor=anchor)


def _subtitle(cv, text, x, y, size=14, anchor="ma"):
    cv.text(x, y, text, "serif-italic", size, GOLD_LIGHT, anchor=anchor)


def _box_label(cv, text, x, y, size=13):
    """The label of a 14 x 14 check or radio box at (x, y), painted to its left."""
    cv.text(x - 8, y + 7, text, "sans", size, PARCHMENT, anchor="rm")


def _box_label_right(cv, text, x, y, size=12):
    """The label of a 14 x 14 check box at (x, y), painted to its right."""
    cv.text(x + 14 + 8, y + 7, text, "sans", size, PARCHMENT, anchor="lm")


def _fill(cv, x, y, w, h, colour):
    cv.rect(x, y, x + w, y + h, colour)


def _ornament(cv, x0, y, x1):
    """A gold rule with a small diamond in the middle."""
    mid = (x0 + x1) / 2
    cv.rect(x0, y, mid - 8, y + 1, mix(GOLD, SLATE, 0.2))
    cv.rect(mid + 8, y, x1, y + 1, mix(GOLD, SLATE, 0.2))
    cv.polygon([(mid, y - 4), (mid + 4.5, y + 0.5), (mid, y + 5), (mid - 4.5, y + 0.5)], fill=GOLD)


LAYOUT = {
    "band": _band, "panel": _panel, "well": _well, "grey": _grey, "label": _label,
    "note": _note, "filmstrip": _filmstrip, "ring": _ring, "rule": _rule,
    "title": _title, "subtitle": _subtitle, "box": _box_label, "box_right": _box_label_right,
    "fill": _fill, "ornament": _ornament,
}


# Prompts --------------------------------------------------------------------------------------

def prompt(w, h, seed, title, text):
    """A disc prompt: product title, disc pictogram and prompt text over a footer band
    that the yes/no buttons sit on."""
    layout = [
        ("fill", 0, 0, w, 24, NAVY),
        ("rule", 0, 24, w),
        ("band", 98, h),
    ]
    img = background(w, h, seed, layout)
    cv = Canvas(w, h, base=img)
    pictograms.draw(cv, "emblem", 8, 4, 16, GOLD, stroke=1.1)
    cv.text(30, 12, title, "sans-bold", 14, PARCHMENT, anchor="lm")
    cv.ellipse(33, 58, 22, 22, fill=mix(NAVY, SLATE, 0.4), outline=mix(GOLD, SLATE, 0.2), width=1.5)
    pictograms.draw(cv, "disc", 19, 44, 28, GOLD_LIGHT, stroke=1.8)
    lines = wrap("sans", 13, text, w - 72 - 8)
    top = 58 - len(lines) * 16 / 2
    for i, line in enumerate(lines):
        cv.text(66, top + i * 16, line, "sans", 13, PARCHMENT)
    return cv.finish()


# Cursors and icons ----------------------------------------------------------------------------

def _hand_mask(size):
    """Silhouette of a pointing hand, index finger up, in a size x size box at SCALE."""
    s = SCALE * size / 32.0
    m = Image.new("L", (round(32 * s), round(32 * s)), 0)
    d = ImageDraw.Draw(m)

    def rr(x0, y0, x1, y1, r):
        d.rounded_rectangle([x0 * s, y0 * s, x1 * s, y1 * s], radius=r * s, fill=255)
    rr(9, 1, 14, 18, 2.5)          # index finger
    rr(13.5, 9, 18.5, 19, 2.5)     # middle finger
    rr(18, 10, 23, 20, 2.5)        # ring finger
    rr(22.5, 11.5, 27, 21, 2.3)    # little finger
    rr(9, 15, 27, 28, 4.5)         # palm
    d.polygon([(3 * s, 15.5 * s), (6.5 * s, 13.5 * s), (11 * s, 19 * s), (11 * s, 25 * s),
               (9 * s, 25 * s)], fill=255)  # thumb
    rr(2.2, 13.8, 6.8, 18.2, 2.2)
    return m


def _glass_mask(size):
    s = SCALE * size / 32.0
    m = Image.new("L", (round(32 * s), round(32 * s)), 0)
    d = ImageDraw.Draw(m)
    d.ellipse([2 * s, 2 * s, 22 * s, 22 * s], fill=255)
    d.line([(18 * s, 18 * s), (28.5 * s, 28.5 * s)], fill=255, width=round(6 * s))
    return m


def _outlined(mask, fill_rgb, outline_rgb):
    """Fills a silhouette and gives it a 1-pixel outline, at SCALE."""
    grown = mask.filter(ImageFilter.MaxFilter(2 * SCALE + 1))
    img = Image.new("RGBA", mask.size, (0, 0, 0, 0))
    img.paste(Image.new("RGBA", mask.size, outline_rgb + (255,)), (0, 0), grown)
    img.paste(Image.new("RGBA", mask.size, fill_rgb + (255,)), (0, 0), mask)
    return img


def cursor(kind):
    """A 32 x 32 cursor picture (RGBA) and its hotspot."""
    badge = {"HAND_T": "T", "HAND_B": "picture", "HAND_U": "film"}.get(kind)
    if kind.startswith("HAND"):
        img = _outlined(_hand_mask(32), WHITE, BLACK)
        hotspot = (11, 1)
        # Cuff line across the palm and a gold nail on the index finger.
        d = ImageDraw.Draw(img)
        d.line([(10.5 * SCALE, 26.5 * SCALE), (25.5 * SCALE, 26.5 * SCALE)], fill=BLACK + (255,),
               width=SCALE)
        # Gaps between the folded fingers, from their tips into the palm.
        for column, top in ((13, 10), (18, 11), (22, 13)):
            d.rectangle([column * SCALE, top * SCALE, (column + 1) * SCALE - 1,
                         (top + 9) * SCALE - 1], fill=BLACK + (255,))
        if badge:
            bx, by, br = 24.5, 24.5, 6.5
            d.ellipse([(bx - br) * SCALE, (by - br) * SCALE, (bx + br) * SCALE, (by + br) * SCALE],
                      fill=BLACK + (255,))
            d.ellipse([(bx - br + 1) * SCALE, (by - br + 1) * SCALE, (bx + br - 1) * SCALE,
                       (by + br - 1) * SCALE], fill=NAVY + (255,))
            if badge == "T":
                d.text((bx * SCALE, (by + 0.5) * SCALE), "Т", font=font("sans-bold", 10),
                       fill=GOLD_LIGHT + (255,), anchor="mm")
            else:
                sub = Canvas(9, 9, fill=NAVY)
                pictograms.draw(sub, badge, 0, 0, 9, GOLD_LIGHT, stroke=1.2)
                circle = Image.new("L", (9 * SCALE, 9 * SCALE), 0)
                ImageDraw.Draw(circle).ellipse([0, 0, 9 * SCALE - 1, 9 * SCALE - 1], fill=255)
                img.paste(sub.img, (round((bx - 4.5) * SCALE), round((by - 4.5) * SCALE)), circle)
    else:
        img = _outlined(_glass_mask(32), WHITE, BLACK)
        d = ImageDraw.Draw(img)
        s = SCALE
        d.ellipse([4.5 * s, 4.5 * s, 19.5 * s, 19.5 * s], fill=mix(PARCHMENT, WHITE, 0.5) + (255,),
                  outline=NAVY + (255,), width=round(1.5 * s))
        d.line([(19.5 * s, 19.5 * s), (28 * s, 28 * s)], fill=NAVY + (255,), width=round(4 * s))
        d.line([(8.5 * s, 12 * s), (15.5 * s, 12 * s)], fill=NAVY + (255,), width=round(2 * s))
        if kind == "ZOOM":
            d.line([(12 * s, 8.5 * s), (12 * s, 15.5 * s)], fill=NAVY + (255,), width=round(2 * s))
        hotspot = (12, 12)
    return img.reduce(SCALE), hotspot


def app_icon(size):
    """The program icon (RGBA): the emblem in gold on a navy rounded square."""
    s = SCALE
    img = Image.new("RGBA", (size * s, size * s), (0, 0, 0, 0))
    cv = Canvas(size, size, fill=NAVY)
    cv.gradient(0, 0, size, size, mix(SLATE, NAVY, 0.2), NAVY_DARK)
    inset = max(1, size / 16)
    pictograms.draw(cv, "emblem", inset, inset, size - 2 * inset, GOLD_LIGHT,
                    stroke=max(1.0, size / 22))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, size * s - 1, size * s - 1],
                                           radius=round(size * s / 6), fill=255)
    img.paste(cv.img, (0, 0), mask)
    return img.reduce(s)
