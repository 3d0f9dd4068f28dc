"""Diagrams on parchment: bar charts, a line chart, natural zones, a soil section, battle
schemes, a kremlin plan, a table fragment, the alphabet, a stave and a chronicle page."""
import math

from PIL import ImageDraw

from . import common as c
from .maps import chaikin

BAR = (59, 74, 107)
HIGHLIGHT = (201, 162, 39)


def render(brief, name, size=c.SLIDE_SIZE, ss=2):
    W, H = c.supersample(size, ss)
    img = c.vertical_gradient((W, H), [(0, (249, 245, 232)), (1, (236, 227, 204))])
    d = ImageDraw.Draw(img, "RGBA")
    title = brief.get("title", "")
    top = 16 * ss
    if title:
        fnt = c.fit_font(d, title, "caption", 20 * ss, W - 40 * ss)
        c.text_centre(d, (W / 2, 26 * ss), title, fnt, c.NAVY)
        d.line((W * 0.2, 44 * ss, W * 0.8, 44 * ss), fill=c.GOLD, width=ss)
        top = 54 * ss
    KINDS[brief["kind"]](d, brief, (20 * ss, top, W - 20 * ss, H - 18 * ss), ss, img)
    d.rectangle((0, 0, W - 1, H - 1), outline=c.NAVY, width=4 * ss)
    d.rectangle((5 * ss, 5 * ss, W - 6 * ss, H - 6 * ss), outline=c.GOLD, width=ss)
    return c.grain(c.downsample(img, size), 0.2, name)


def _bars(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    items = brief["items"]
    vmax = max(abs(v) for _, v in items)
    row = (y1 - y0) / len(items)
    label_w = (x1 - x0) * 0.36
    fnt, vfnt = c.font("sans", int(min(16 * ss, row * 0.42))), c.font("sans-bold", int(min(15 * ss, row * 0.4)))
    unit = brief.get("unit", "")
    for i, (label, value) in enumerate(items):
        y = y0 + row * i + row * 0.18
        h = row * 0.62
        d.text((x0 + label_w - 8 * ss, y + h / 2), label, font=fnt, fill=c.INK, anchor="rm")
        length = (x1 - x0 - label_w - 70 * ss) * abs(value) / vmax
        colour = HIGHLIGHT if i == brief.get("highlight", 0) else BAR
        d.rounded_rectangle((x0 + label_w, y, x0 + label_w + length, y + h), radius=3 * ss, fill=colour)
        text = f"{value:,}".replace(",", " ").replace(".", ",").replace("-", "–") + (" " + unit if unit else "")
        d.text((x0 + label_w + length + 6 * ss, y + h / 2), text, font=vfnt, fill=c.NAVY, anchor="lm")


def _line(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    x0 += 50 * ss
    y1 -= 24 * ss
    pts = brief["points"]
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    vmax = max(ys) * 1.1
    px = lambda x: x0 + (x1 - x0) * (x - xs[0]) / (xs[-1] - xs[0])
    py = lambda v: y1 - (y1 - y0) * v / vmax
    fnt = c.font("sans", 13 * ss)
    for k in range(5):
        v = vmax * k / 4
        d.line((x0, py(v), x1, py(v)), fill=(180, 170, 150), width=ss)
        d.text((x0 - 6 * ss, py(v)), f"{v:.0f}" if vmax > 50 else f"{v:.1f}".replace(".", ","), font=fnt, fill=c.INK, anchor="rm")
    line = [(px(x), py(v)) for x, v in pts]
    d.polygon(line + [(line[-1][0], y1), (line[0][0], y1)], fill=BAR + (60,))
    d.line(line, fill=BAR, width=3 * ss, joint="curve")
    for (x, v), (X, Y) in zip(pts, line):
        d.ellipse((X - 4 * ss, Y - 4 * ss, X + 4 * ss, Y + 4 * ss), fill=HIGHLIGHT, outline=c.NAVY)
        d.text((X, y1 + 6 * ss), str(x), font=fnt, fill=c.INK, anchor="mt")
    d.text((x0, y0 - 4 * ss), brief.get("unit", ""), font=c.font("serif-italic", 13 * ss), fill=c.INK, anchor="ld")


def _zones(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    zones = brief["zones"]
    row = (y1 - y0) / len(zones)
    for i, (label, colour) in enumerate(zones):
        y = y0 + i * row
        d.rectangle((x0, y, x1, y + row), fill=tuple(colour))
        d.text((x0 + 12 * ss, y + row / 2), label, font=c.font("sans-bold", int(row * 0.38)), fill=c.INK, anchor="lm")
        if i == brief.get("highlight", -1):
            d.rectangle((x0, y, x1, y + row), outline=c.RED, width=3 * ss)
    d.text((x1 - 8 * ss, y0 + 4 * ss), "север ↑", font=c.font("serif-italic", 14 * ss), fill=c.INK, anchor="rt")


def _section(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    layers = brief["layers"]
    total = sum(h for _, h, _ in layers)
    y = y0
    rand = c.rng("section")
    for label, h, colour in layers:
        hh = (y1 - y0) * h / total
        prof = [(x, y + math.sin(x / 37) * 3 * ss) for x in range(int(x0), int(x1) + 1, 6)]
        d.polygon(prof + [(x1, y + hh), (x0, y + hh)], fill=tuple(colour))
        for _ in range(int(hh * (x1 - x0) / 900)):
            px, py = rand.uniform(x0, x1), rand.uniform(y + 4, y + hh - 4)
            d.ellipse((px - ss, py - ss, px + ss, py + ss), fill=c.shade(tuple(colour), 0.8))
        d.text((x0 + 10 * ss, y + hh / 2), label, font=c.font("sans-bold", 15 * ss), fill=c.INK, anchor="lm")
        y += hh
    for k in range(5):
        x = x0 + (x1 - x0) * (0.55 + k * 0.08)
        d.polygon([(x - 5 * ss, y0 + (y1 - y0) * 0.35), (x + 5 * ss, y0 + (y1 - y0) * 0.35), (x, y1 - 10 * ss)], fill=(200, 225, 240))


def _battle(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    P = lambda x, y: (x0 + (x1 - x0) * x, y0 + (y1 - y0) * y)
    d.rectangle(box, fill=(228, 222, 196))
    for river in brief.get("rivers", []):
        d.line(chaikin([P(*p) for p in river], 2), fill=(90, 140, 190), width=6 * ss, joint="curve")
    for lake in brief.get("lakes", []):
        d.polygon(chaikin([P(*p) for p in lake], 2, True), fill=(160, 196, 222))
    for forest in brief.get("forests", []):
        fx, fy, fr = forest
        rand = c.rng("forest", fx, fy)
        for _ in range(18):
            x, y = P(fx + rand.uniform(-fr, fr), fy + rand.uniform(-fr, fr) * 0.8)
            d.ellipse((x - 7 * ss, y - 7 * ss, x + 7 * ss, y + 7 * ss), fill=(110, 150, 90))
    for rx, ry in brief.get("forts", []):
        x, y = P(rx, ry)
        d.rectangle((x - 6 * ss, y - 6 * ss, x + 6 * ss, y + 6 * ss), outline=c.NAVY, width=2 * ss)
    for side, units in (("ours", brief.get("ours", [])), ("theirs", brief.get("theirs", []))):
        colour = (200, 60, 50) if side == "ours" else (40, 60, 110)
        for ux, uy, uw, uh in units:
            a, b = P(ux, uy), P(ux + uw, uy + uh)
            d.rectangle((*a, *b), fill=colour, outline=(30, 30, 30))
            d.line((*a, *b), fill=(255, 255, 255, 120), width=ss)
    for arrow in brief.get("arrows", []):
        colour = (200, 60, 50) if arrow[0] == "ours" else (40, 60, 110)
        pts = chaikin([P(*p) for p in arrow[1:]], 2)
        d.line(pts, fill=colour, width=5 * ss, joint="curve")
        (ax, ay), (bx, by) = pts[-2], pts[-1]
        ang = math.atan2(by - ay, bx - ax)
        s = 14 * ss
        d.polygon([(bx + math.cos(ang) * s, by + math.sin(ang) * s),
                   (bx + math.cos(ang + 2.4) * s, by + math.sin(ang + 2.4) * s),
                   (bx + math.cos(ang - 2.4) * s, by + math.sin(ang - 2.4) * s)], fill=colour)
    for text, lx, ly in brief.get("labels", []):
        x, y = P(lx, ly)
        d.text((x, y), text, font=c.font("serif-italic", 15 * ss), fill=c.INK, anchor="mm")
    lx, ly = x0 + 10 * ss, y1 - 44 * ss
    d.rectangle((lx, ly, lx + 14 * ss, ly + 10 * ss), fill=(200, 60, 50))
    d.text((lx + 20 * ss, ly + 5 * ss), brief.get("ours_label", "русские войска"), font=c.font("sans", 13 * ss), fill=c.INK, anchor="lm")
    d.rectangle((lx, ly + 18 * ss, lx + 14 * ss, ly + 28 * ss), fill=(40, 60, 110))
    d.text((lx + 20 * ss, ly + 23 * ss), brief.get("theirs_label", "противник"), font=c.font("sans", 13 * ss), fill=c.INK, anchor="lm")


def _plan(d, brief, box, ss, img):
    """The Moscow Kremlin: a triangle of walls and towers between two rivers."""
    x0, y0, x1, y1 = box
    P = lambda x, y: (x0 + (x1 - x0) * x, y0 + (y1 - y0) * y)
    d.line([P(-0.02, 0.92), P(0.5, 0.98), P(1.02, 0.9)], fill=(90, 140, 190), width=14 * ss)
    wall = [P(0.12, 0.82), P(0.88, 0.82), P(0.62, 0.1)]
    d.polygon(wall, fill=(236, 226, 200), outline=(170, 52, 44), width=6 * ss)
    for x, y in wall + [P(0.5, 0.82), P(0.32, 0.82), P(0.7, 0.82), P(0.75, 0.46), P(0.37, 0.46), P(0.5, 0.28)]:
        d.rectangle((x - 7 * ss, y - 7 * ss, x + 7 * ss, y + 7 * ss), fill=(170, 52, 44))
    for label, x, y, w, h in (("Успенский собор", 0.5, 0.52, 0.08, 0.08), ("Архангельский", 0.58, 0.64, 0.07, 0.07),
                              ("Благовещенский", 0.42, 0.64, 0.06, 0.06), ("Иван Великий", 0.6, 0.48, 0.04, 0.04)):
        a, b = P(x - w / 2, y - h / 2), P(x + w / 2, y + h / 2)
        d.rectangle((*a, *b), fill=c.GOLD, outline=c.NAVY)
    d.text(P(0.5, 0.38), "Соборная площадь", font=c.font("sans-bold", 13 * ss), fill=c.NAVY, anchor="mm")
    d.text(P(0.85, 0.3), "Красная площадь", font=c.font("serif-italic", 15 * ss), fill=c.INK, anchor="mm")
    d.text(P(0.5, 0.95), "Москва-река", font=c.font("serif-italic", 14 * ss), fill=(30, 70, 120), anchor="mm")
    d.text(P(0.2, 0.3), "Александровский сад", font=c.font("serif-italic", 14 * ss), fill=(60, 100, 60), anchor="mm")


def _table(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    cells = brief["cells"]
    cols, rows = max(x for x, _, _, _ in cells) + 1, max(y for _, y, _, _ in cells) + 1
    cw, ch = (x1 - x0) / cols, (y1 - y0) / rows
    for x, y, sym, num in cells:
        a, b = (x0 + x * cw + 2 * ss, y0 + y * ch + 2 * ss), (x0 + (x + 1) * cw - 2 * ss, y0 + (y + 1) * ch - 2 * ss)
        fill = (255, 250, 235) if sym != "?" else (250, 226, 160)
        d.rectangle((*a, *b), fill=fill, outline=c.NAVY, width=ss)
        d.text((a[0] + 4 * ss, a[1] + 3 * ss), str(num), font=c.font("sans", int(ch * 0.2)), fill=c.INK)
        c.text_centre(d, ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2 + ch * 0.08), sym, c.font("serif-bold", int(ch * 0.42)), c.RED if sym == "?" else c.NAVY)


def _alphabet(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    letters = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
    cols, rows = 9, 4
    cw, ch = (x1 - x0) / cols, (y1 - y0) / rows
    for i, ch_ in enumerate(letters):
        x, y = x0 + (i % cols) * cw, y0 + (i // cols) * ch
        d.rounded_rectangle((x + 3 * ss, y + 3 * ss, x + cw - 3 * ss, y + ch - 3 * ss), radius=4 * ss,
                            fill=(255, 251, 240), outline=c.GOLD, width=ss)
        c.text_centre(d, (x + cw / 2, y + ch / 2), ch_ + ch_.lower(), c.font("serif-bold", int(ch * 0.4)), c.RED if i == 0 else c.NAVY)


def _notes(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    gap = 12 * ss
    for staff in (0, 1):
        base = y0 + 50 * ss + staff * 110 * ss
        for k in range(5):
            d.line((x0, base + k * gap, x1, base + k * gap), fill=c.INK, width=ss)
        d.text((x0 + 4 * ss, base + 2 * gap), "♪", font=c.font("symbol", 40 * ss), fill=c.INK, anchor="lm")
        notes = brief["notes"][staff * 8:(staff + 1) * 8]
        for i, (pitch, length) in enumerate(notes):
            x = x0 + 60 * ss + i * (x1 - x0 - 80 * ss) / 8
            y = base + 4 * gap - pitch * gap / 2
            d.ellipse((x - 7 * ss, y - 5 * ss, x + 7 * ss, y + 5 * ss), fill=c.INK if length < 2 else None, outline=c.INK, width=2 * ss)
            d.line((x + 6 * ss, y, x + 6 * ss, y - 36 * ss), fill=c.INK, width=2 * ss)
            if length < 1:
                d.line((x + 6 * ss, y - 36 * ss, x + 16 * ss, y - 24 * ss), fill=c.INK, width=3 * ss)


def _chronicle(d, brief, box, ss, img):
    x0, y0, x1, y1 = box
    page = (x0 + 30 * ss, y0, x1 - 30 * ss, y1)
    d.rectangle(page, fill=(240, 226, 190), outline=(150, 120, 80), width=2 * ss)
    text = brief["text"]
    fnt = c.font("serif", 17 * ss)
    words, lines, line = text.split(), [], ""
    for w in words:
        if d.textlength(line + " " + w, font=fnt) > page[2] - page[0] - 90 * ss:
            lines.append(line)
            line = w
        else:
            line = (line + " " + w).strip()
    lines.append(line)
    d.rectangle((page[0] + 16 * ss, page[1] + 16 * ss, page[0] + 64 * ss, page[1] + 64 * ss), fill=(170, 40, 40))
    c.text_centre(d, (page[0] + 40 * ss, page[1] + 40 * ss), brief.get("initial", "В"), c.font("serif-bold", 36 * ss), c.GOLD)
    for i, ln in enumerate(lines):
        x = page[0] + (74 if i < 2 else 18) * ss
        d.text((x, page[1] + 22 * ss + i * 26 * ss), ln, font=fnt, fill=(60, 40, 30) if i % 5 else (150, 40, 40))


KINDS = {"bars": _bars, "line": _line, "zones": _zones, "section": _section, "battle": _battle,
         "plan": _plan, "table": _table, "alphabet": _alphabet, "notes": _notes, "chronicle": _chronicle}
