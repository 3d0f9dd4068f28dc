"""Silhouettes and buildings drawn with polygons, placed by a base point and a height in pixels."""
import math

from . import common as c


def onion(cx, base_y, w, h, steps=18):
    """An onion dome outline standing on (cx, base_y), w wide and h tall."""
    pts = []
    for i in range(steps + 1):
        t = i / steps                       # 0 at the tip, 1 at the base
        y = base_y - h * (1 - t)
        bulge = math.sin(math.pi * min(1.0, t * 1.15)) ** 0.8
        r = w / 2 * (0.08 + 0.92 * bulge) if t < 0.97 else w / 2 * 0.55
        pts.append((cx + r, y))
    return pts + [(2 * cx - x, y) for x, y in reversed(pts)]


def cross(d, cx, top_y, h, colour, width):
    d.line((cx, top_y - h, cx, top_y), fill=colour, width=width)
    d.line((cx - h * 0.3, top_y - h * 0.7, cx + h * 0.3, top_y - h * 0.7), fill=colour, width=width)


def church(d, x, base, h, walls=(245, 240, 228), dome=c.GOLD, domes=5, roof=(90, 110, 90), lit=True):
    """A brick-and-plaster church: a cube with a gable roof, drums and onion domes."""
    w = h * 0.62
    body_top = base - h * 0.48
    if not lit:
        walls = dome = roof = (30, 30, 40)
    d.rectangle((x - w / 2, body_top, x + w / 2, base), fill=walls)
    d.polygon([(x - w / 2 - 2, body_top), (x, body_top - h * 0.1), (x + w / 2 + 2, body_top)], fill=roof)
    for i in range(3):
        wx = x - w / 3 + i * w / 3
        d.rounded_rectangle((wx - w * 0.05, body_top + h * 0.12, wx + w * 0.05, body_top + h * 0.3),
                            radius=w * 0.05, fill=c.shade(walls, 0.55))
    spots = [(0, 1.0)] if domes == 1 else [(0, 1.0), (-0.32, 0.75), (0.32, 0.75)] if domes == 3 else \
        [(0, 1.0), (-0.32, 0.72), (0.32, 0.72), (-0.18, 0.8), (0.18, 0.8)]
    for dx, scale in sorted(spots, key=lambda s: s[1]):
        cx = x + dx * w
        drum_w, drum_h = w * 0.2 * scale, h * 0.16 * scale
        drum_top = body_top - h * 0.06 - drum_h
        d.rectangle((cx - drum_w / 2, drum_top, cx + drum_w / 2, body_top - h * 0.02), fill=walls)
        d.polygon(onion(cx, drum_top + 1, drum_w * 1.5, h * 0.22 * scale), fill=dome)
        cross(d, cx, drum_top - h * 0.22 * scale, h * 0.09 * scale, c.GOLD if lit else dome, max(1, int(h / 90)))


def bell_tower(d, x, base, h, walls=(245, 240, 228), dome=c.GOLD, lit=True):
    if not lit:
        walls = dome = (30, 30, 40)
    w = h * 0.2
    y = base
    for i, part in enumerate((0.32, 0.22, 0.16)):
        ww = w * (1 - i * 0.18)
        d.rectangle((x - ww / 2, y - h * part, x + ww / 2, y), fill=walls)
        d.rectangle((x - ww / 5, y - h * part * 0.75, x + ww / 5, y - h * part * 0.25), fill=c.shade(walls, 0.5))
        y -= h * part
    d.rectangle((x - w * 0.28, y - h * 0.08, x + w * 0.28, y), fill=walls)
    d.polygon(onion(x, y - h * 0.08, w * 0.75, h * 0.16), fill=dome)
    cross(d, x, y - h * 0.24, h * 0.05, c.GOLD if lit else dome, max(1, int(h / 120)))


def tent_tower(d, x, base, h, w, walls=(170, 52, 44), roof=(40, 90, 60), star=True):
    """A kremlin tower: a square shaft, a tent roof and a star or a vane on top."""
    d.rectangle((x - w / 2, base - h * 0.55, x + w / 2, base), fill=walls)
    _merlons(d, x - w / 2 - 2, x + w / 2 + 2, base - h * 0.55, w / 5, walls)
    d.rectangle((x - w * 0.35, base - h * 0.72, x + w * 0.35, base - h * 0.55), fill=c.shade(walls, 1.05))
    d.polygon([(x - w * 0.4, base - h * 0.72), (x, base - h), (x + w * 0.4, base - h * 0.72)], fill=roof)
    if star:
        s = w * 0.22
        d.polygon(_star(x, base - h - s * 0.6, s, s * 0.45), fill=(200, 30, 40))


def _star(cx, cy, r1, r2):
    pts = []
    for i in range(10):
        r = r1 if i % 2 == 0 else r2
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def _merlons(d, x0, x1, top, m, colour):
    """Swallow-tail merlons along a wall top."""
    x = x0
    while x + m <= x1:
        d.polygon([(x, top), (x, top - m * 1.3), (x + m * 0.35, top - m * 0.9), (x + m * 0.7, top - m * 1.3),
                   (x + m * 0.7, top)], fill=colour)
        x += m * 1.2


def kremlin_wall(d, x0, x1, base, h, colour=(170, 52, 44), towers=4):
    d.rectangle((x0, base - h, x1, base), fill=colour)
    _merlons(d, x0, x1, base - h, h * 0.22, colour)
    for i in range(towers):
        tx = x0 + (x1 - x0) * (i + 0.5) / towers
        tent_tower(d, tx, base, h * (3.4 if i == towers // 2 else 2.7), h * 0.85, colour)


def spire(d, x, base, h, walls=(235, 215, 150), lit=True):
    """A classical pavilion with a tall gilded needle (the Admiralty, the Peter and Paul spire)."""
    if not lit:
        walls = (30, 30, 40)
    w = h * 0.22
    d.rectangle((x - w, base - h * 0.25, x + w, base), fill=walls)
    d.rectangle((x - w * 0.55, base - h * 0.42, x + w * 0.55, base - h * 0.25), fill=c.shade(walls, 1.05))
    for i in range(4):
        cx = x - w * 0.4 + i * w * 0.27
        d.line((cx, base - h * 0.41, cx, base - h * 0.27), fill=c.shade(walls, 0.7), width=max(1, int(h / 120)))
    d.polygon([(x - w * 0.45, base - h * 0.42), (x, base - h * 0.5), (x + w * 0.45, base - h * 0.42)], fill=(60, 80, 70) if lit else walls)
    d.polygon([(x - w * 0.09, base - h * 0.5), (x, base - h), (x + w * 0.09, base - h * 0.5)], fill=c.GOLD if lit else walls)


def palace(d, x0, x1, base, h, walls=(120, 170, 140), trim=(245, 240, 228), lit=True):
    """A long baroque facade: two floors of windows between white columns, a raised centre
    with a pediment, statues along the roof."""
    if not lit:
        walls = trim = (30, 30, 40)
    width = x1 - x0
    d.rectangle((x0, base - h, x1, base), fill=walls)
    d.rectangle((x0, base - h * 1.08, x1, base - h), fill=trim)
    cx, half = (x0 + x1) / 2, width * 0.08
    d.rectangle((cx - half, base - h * 1.2, cx + half, base), fill=c.shade(walls, 1.06))
    d.polygon([(cx - half - 2, base - h * 1.2), (cx, base - h * 1.45), (cx + half + 2, base - h * 1.2)], fill=trim)
    n = max(6, int(width / (h * 0.32)))
    for i in range(n + 1):
        x = x0 + width * i / n
        d.rectangle((x - h * 0.022, base - h, x + h * 0.022, base), fill=trim)
        if i < n:
            mid = x + width / n / 2
            for top, bottom in ((0.82, 0.58), (0.4, 0.16)):
                d.rounded_rectangle((mid - h * 0.05, base - h * top, mid + h * 0.05, base - h * bottom),
                                    radius=h * 0.03, fill=c.shade(walls, 0.5))
        if i % 2 == 0 and abs(x - cx) > half:
            d.rectangle((x - h * 0.025, base - h * 1.24, x + h * 0.025, base - h * 1.08), fill=trim)
            d.ellipse((x - h * 0.03, base - h * 1.3, x + h * 0.03, base - h * 1.22), fill=trim)
    d.line((x0, base - h * 0.49, x1, base - h * 0.49), fill=trim, width=max(1, int(h / 30)))


def portico(d, x, base, h, walls=(238, 226, 200), columns=8, lit=True):
    """A theatre or museum front: columns, pediment and a statue group on top."""
    if not lit:
        walls = (30, 30, 40)
    w = h * 1.1
    d.rectangle((x - w * 0.75, base - h * 0.8, x + w * 0.75, base), fill=c.shade(walls, 0.9))
    d.rectangle((x - w / 2, base - h * 0.12, x + w / 2, base), fill=walls)
    for i in range(columns):
        cx = x - w / 2 + w * (i + 0.5) / columns
        d.rectangle((cx - w * 0.025, base - h * 0.7, cx + w * 0.025, base - h * 0.12), fill=walls)
    d.rectangle((x - w / 2, base - h * 0.8, x + w / 2, base - h * 0.7), fill=walls)
    d.polygon([(x - w / 2 - 4, base - h * 0.8), (x, base - h), (x + w / 2 + 4, base - h * 0.8)], fill=walls)
    d.polygon([(x - w * 0.4, base - h * 0.82), (x, base - h * 0.96), (x + w * 0.4, base - h * 0.82)], fill=c.shade(walls, 0.8))
    d.rectangle((x - w * 0.08, base - h * 1.12, x + w * 0.08, base - h), fill=(110, 80, 40))


def wooden_church(d, x, base, h, wood=(120, 90, 60), domes=(170, 180, 185)):
    """A many-domed log church (the Kizhi type): tiers of small silvery domes."""
    w = h * 0.45
    d.polygon([(x - w / 2, base), (x - w / 2, base - h * 0.35), (x, base - h * 0.45), (x + w / 2, base - h * 0.35), (x + w / 2, base)], fill=wood)
    tiers = [(0.35, 5, 0.5), (0.5, 4, 0.4), (0.65, 3, 0.3), (0.8, 2, 0.2), (0.92, 1, 0.1)]
    for level, count, spread in tiers:
        for i in range(count):
            cx = x + (i - (count - 1) / 2) * w * spread / max(1, count - 1) * 2 if count > 1 else x
            size = h * 0.09
            top = base - h * level
            d.rectangle((cx - size * 0.2, top, cx + size * 0.2, top + size * 0.6), fill=wood)
            d.polygon(onion(cx, top + 1, size * 0.75, size * 1.1), fill=domes)
        d.polygon([(x - w * spread * 1.1, base - h * (level - 0.06)), (x, base - h * (level + 0.02)),
                   (x + w * spread * 1.1, base - h * (level - 0.06))], fill=c.shade(wood, 0.85))


def izba(d, x, base, h, wood=(140, 100, 60), trim=(240, 235, 220)):
    w = h * 1.3
    d.rectangle((x - w / 2, base - h * 0.6, x + w / 2, base), fill=wood)
    for i in range(1, 7):
        y = base - h * 0.6 * i / 7
        d.line((x - w / 2, y, x + w / 2, y), fill=c.shade(wood, 0.75), width=max(1, int(h / 40)))
    d.polygon([(x - w / 2 - h * 0.08, base - h * 0.6), (x, base - h), (x + w / 2 + h * 0.08, base - h * 0.6)], fill=c.shade(wood, 0.7))
    d.polygon([(x - w * 0.35, base - h * 0.62), (x, base - h * 0.9), (x + w * 0.35, base - h * 0.62)], fill=trim)
    for wx in (x - w * 0.25, x + w * 0.25):
        d.rectangle((wx - h * 0.12, base - h * 0.45, wx + h * 0.12, base - h * 0.18), fill=trim)
        d.rectangle((wx - h * 0.08, base - h * 0.41, wx + h * 0.08, base - h * 0.22), fill=(60, 80, 110))


def mosque(d, x, base, h, walls=(245, 245, 240), dome=(40, 110, 170)):
    w = h * 0.6
    d.rectangle((x - w / 2, base - h * 0.4, x + w / 2, base), fill=walls)
    d.ellipse((x - w * 0.35, base - h * 0.75, x + w * 0.35, base - h * 0.3), fill=dome)
    d.rectangle((x - w * 0.35, base - h * 0.52, x + w * 0.35, base - h * 0.4), fill=walls)
    for mx in (x - w * 0.7, x + w * 0.7):
        d.rectangle((mx - w * 0.04, base - h * 0.95, mx + w * 0.04, base), fill=walls)
        d.polygon([(mx - w * 0.05, base - h * 0.95), (mx, base - h * 1.15), (mx + w * 0.05, base - h * 0.95)], fill=dome)


def bridge(d, x0, x1, y, h, colour=(80, 80, 90), raised=0.0):
    """A bascule bridge: piers, a deck and two leaves lifted by 'raised' (0..1)."""
    span = x1 - x0
    d.rectangle((x0, y - h * 0.15, x0 + span * 0.3, y), fill=colour)
    d.rectangle((x1 - span * 0.3, y - h * 0.15, x1, y), fill=colour)
    for px in (x0 + span * 0.3, x1 - span * 0.3):
        d.rectangle((px - h * 0.12, y - h * 0.15, px + h * 0.12, y + h * 1.2), fill=c.shade(colour, 0.8))
    leaf = span * 0.2
    angle = math.radians(70 * raised)
    for px, sign in ((x0 + span * 0.3, 1), (x1 - span * 0.3, -1)):
        ex, ey = px + sign * leaf * math.cos(angle), y - h * 0.1 - leaf * math.sin(angle)
        d.line((px, y - h * 0.1, ex, ey), fill=colour, width=max(2, int(h * 0.18)))
    for i in range(6):
        lx = x0 + span * 0.05 * (i + 1)
        d.ellipse((lx - 2, y - h * 0.5, lx + 2, y - h * 0.5 + 4), fill=(255, 230, 150))
        lx = x1 - span * 0.05 * (i + 1)
        d.ellipse((lx - 2, y - h * 0.5, lx + 2, y - h * 0.5 + 4), fill=(255, 230, 150))


def skyline(d, rand, x0, x1, base, h, colour, windows=None):
    x = x0
    while x < x1:
        bw = rand.uniform(0.3, 0.8) * h
        bh = rand.uniform(0.3, 1.0) * h
        d.rectangle((x, base - bh, x + bw, base), fill=colour)
        if windows:
            for wy in range(int(base - bh + 4), int(base - 3), 7):
                for wx in range(int(x + 3), int(x + bw - 3), 6):
                    if rand.random() < 0.35:
                        d.rectangle((wx, wy, wx + 2, wy + 3), fill=windows)
        x += bw + rand.uniform(0, 0.1) * h


def fir(d, x, base, h, colour):
    w = h * 0.36
    for i in range(4):
        t = i / 4
        top = base - h * (1 - t * 0.72)
        d.polygon([(x, top), (x - w * (0.45 + t * 0.55), top + h * 0.36), (x + w * (0.45 + t * 0.55), top + h * 0.36)], fill=colour)
    d.rectangle((x - h * 0.02, base - h * 0.1, x + h * 0.02, base), fill=c.shade(colour, 0.6))


def pine(d, x, base, h, colour, trunk=(120, 70, 40)):
    d.line((x, base, x + h * 0.03, base - h * 0.8), fill=trunk, width=max(1, int(h * 0.05)))
    for dx, dy, r in ((0, 0.85, 0.22), (-0.15, 0.72, 0.17), (0.17, 0.7, 0.16), (0.05, 0.95, 0.14)):
        cx, cy = x + dx * h, base - dy * h
        d.ellipse((cx - r * h, cy - r * h * 0.55, cx + r * h, cy + r * h * 0.55), fill=colour)


def birch(d, x, base, h, leaves, bark=(240, 238, 230)):
    d.line((x, base, x, base - h * 0.9), fill=bark, width=max(2, int(h * 0.05)))
    for i in range(5):
        y = base - h * (0.15 + i * 0.15)
        d.line((x - h * 0.02, y, x + h * 0.02, y), fill=(30, 30, 30), width=max(1, int(h * 0.015)))
    for dx, dy, r in ((0, 0.8, 0.2), (-0.12, 0.65, 0.17), (0.13, 0.62, 0.16), (0, 0.95, 0.13)):
        cx, cy = x + dx * h, base - dy * h
        d.ellipse((cx - r * h, cy - r * h * 0.8, cx + r * h, cy + r * h * 0.8), fill=leaves)


def silhouette(d, points, x, base, h, colour, flip=False, aspect=1.4):
    """Draws a unit silhouette (x 0..1 left to right, y 0..1 from the ground up)."""
    w = h * aspect
    pts = [((x + ((1 - px) if flip else px) * w - w / 2), base - py * h) for px, py in points]
    d.polygon(pts, fill=colour)


ANIMALS = {
    "bear": [(0.05, 0.0), (0.1, 0.3), (0.08, 0.45), (0.2, 0.6), (0.45, 0.68), (0.62, 0.62), (0.72, 0.58),
             (0.8, 0.6), (0.86, 0.56), (0.95, 0.5), (0.97, 0.44), (0.85, 0.4), (0.8, 0.3), (0.78, 0.0),
             (0.68, 0.0), (0.66, 0.25), (0.35, 0.25), (0.3, 0.0), (0.2, 0.0), (0.18, 0.2), (0.15, 0.0)],
    "deer": [(0.2, 0.0), (0.22, 0.35), (0.18, 0.5), (0.3, 0.58), (0.62, 0.58), (0.72, 0.66), (0.76, 0.86),
             (0.7, 1.05), (0.78, 0.93), (0.8, 1.1), (0.84, 0.92), (0.9, 1.02), (0.84, 0.84), (0.82, 0.78),
             (0.92, 0.74), (0.9, 0.7), (0.8, 0.7), (0.72, 0.5), (0.7, 0.35), (0.72, 0.0), (0.66, 0.0),
             (0.62, 0.32), (0.32, 0.32), (0.28, 0.0)],
    "tiger": [(0.02, 0.36), (0.1, 0.46), (0.3, 0.5), (0.6, 0.5), (0.75, 0.52), (0.82, 0.6), (0.95, 0.55),
              (0.97, 0.45), (0.85, 0.38), (0.8, 0.2), (0.82, 0.0), (0.76, 0.0), (0.72, 0.22), (0.35, 0.22),
              (0.3, 0.0), (0.24, 0.0), (0.22, 0.3), (0.12, 0.38)],
    "seal": [(0.0, 0.05), (0.2, 0.2), (0.55, 0.3), (0.8, 0.36), (0.95, 0.33), (1.0, 0.25), (0.9, 0.15),
             (0.7, 0.05), (0.4, 0.0)],
    "sable": [(0.0, 0.2), (0.2, 0.28), (0.5, 0.3), (0.72, 0.34), (0.85, 0.45), (0.98, 0.4), (0.9, 0.3),
              (0.82, 0.1), (0.78, 0.0), (0.72, 0.12), (0.3, 0.12), (0.25, 0.0), (0.2, 0.12), (0.05, 0.12)],
    "crane": [(0.0, 0.5), (0.3, 0.55), (0.45, 0.9), (0.52, 0.6), (0.7, 0.58), (0.95, 0.66), (1.0, 0.62),
              (0.72, 0.5), (0.55, 0.48), (0.6, 0.2), (0.52, 0.45), (0.3, 0.45)],
    "elk": [(0.2, 0.0), (0.22, 0.4), (0.2, 0.6), (0.35, 0.68), (0.62, 0.7), (0.7, 0.78), (0.66, 0.95),
            (0.8, 0.9), (0.78, 0.82), (0.9, 0.7), (0.95, 0.62), (0.86, 0.6), (0.78, 0.55), (0.72, 0.4),
            (0.72, 0.0), (0.66, 0.0), (0.63, 0.38), (0.33, 0.38), (0.3, 0.0)],
}
