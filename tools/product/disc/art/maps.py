"""Illustrative maps: a conic projection of the outlines in geo.py with rivers, borders,
cities, routes and highlighted areas, drawn in the house palette."""
import math

from PIL import ImageDraw

from . import common as c
from . import geo

SEA = (178, 205, 226)
SEA_DEEP = (156, 189, 216)
LAND = (236, 229, 206)
RUSSIA = (214, 226, 178)
COAST = (92, 126, 158)
RIVER = (70, 120, 172)
RIVER_HL = (24, 78, 150)
BORDER = (163, 59, 47)
GRID = (255, 255, 255)

LON0, CONE = 100.0, 0.62

VIEWS = {
    "russia": (20, 191, 40, 80), "europe": (24, 62, 44, 70), "volga": (30, 54, 44, 60),
    "baikal": (98, 116, 49, 58), "siberia": (58, 142, 48, 78), "far_east": (120, 175, 40, 66),
    "kamchatka": (148, 170, 49, 63), "caucasus": (35, 50, 40, 47.5), "arctic": (25, 191, 62, 82),
    "golden_ring": (36, 43.5, 55.3, 58.4), "urals": (48, 72, 50, 70), "northwest": (26, 46, 58, 70),
    "sakhalin": (134, 150, 44, 56), "yakutia": (100, 165, 53, 76), "south": (28, 56, 40, 52),
    "baltic": (17, 33, 53, 61), "black_sea": (27, 43, 40, 48), "chukotka": (160, 192, 60, 72),
}


def project(lon, lat):
    r = 90.0 - lat
    theta = math.radians(CONE * (lon - LON0))
    return r * math.sin(theta), r * math.cos(theta)


def chaikin(points, rounds=2, closed=False):
    for _ in range(rounds):
        out = []
        n = len(points)
        segs = range(n) if closed else range(n - 1)
        if not closed:
            out.append(points[0])
        for i in segs:
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            out.append((0.75 * x0 + 0.25 * x1, 0.75 * y0 + 0.25 * y1))
            out.append((0.25 * x0 + 0.75 * x1, 0.25 * y0 + 0.75 * y1))
        if not closed:
            out.append(points[-1])
        points = out
    return points


class Frame:
    """Maps projected coordinates onto the picture for one view rectangle."""

    def __init__(self, view, size, margin):
        lon0, lon1, lat0, lat1 = view
        pts = []
        for i in range(21):
            lon = lon0 + (lon1 - lon0) * i / 20
            lat = lat0 + (lat1 - lat0) * i / 20
            pts += [project(lon, lat0), project(lon, lat1), project(lon0, lat), project(lon1, lat)]
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        w, h = size
        self.scale = min((w - 2 * margin) / (max(xs) - min(xs)), (h - 2 * margin) / (max(ys) - min(ys)))
        cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
        self.off = (w / 2 - cx * self.scale, h / 2 - cy * self.scale)

    def __call__(self, lon, lat):
        x, y = project(lon, lat)
        return x * self.scale + self.off[0], y * self.scale + self.off[1]

    def path(self, lonlats, smooth=0, closed=False):
        dense = []
        for (a, b), (c2, d) in zip(lonlats, lonlats[1:] + (lonlats[:1] if closed else [])):
            steps = max(1, int(max(abs(c2 - a), abs(d - b)) / 2))
            dense += [(a + (c2 - a) * i / steps, b + (d - b) * i / steps) for i in range(steps)]
        if not closed:
            dense.append(lonlats[-1])
        pts = [self(lon, lat) for lon, lat in dense]
        return chaikin(pts, smooth, closed) if smooth else pts


def _dashed(draw, pts, colour, width, dash, gap):
    """A dashed polyline whose pattern runs on across vertices."""
    left, on = dash, True
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        seg = math.hypot(x1 - x0, y1 - y0)
        pos = 0.0
        while seg - pos > 1e-9:
            step = min(left, seg - pos)
            if on:
                t0, t1 = pos / seg, (pos + step) / seg
                draw.line((x0 + (x1 - x0) * t0, y0 + (y1 - y0) * t0,
                           x0 + (x1 - x0) * t1, y0 + (y1 - y0) * t1), fill=colour, width=width)
            pos += step
            left -= step
            if left <= 1e-9:
                on = not on
                left = dash if on else gap


def _label(draw, xy, text, size, colour=c.NAVY, anchor="ls", bold=False):
    fnt = c.font("sans-bold" if bold else "sans", size)
    x, y = xy
    for dx in (-2, -1, 0, 1, 2):
        for dy in (-2, -1, 0, 1, 2):
            if dx or dy:
                draw.text((x + dx, y + dy), text, font=fnt, fill=(250, 246, 232), anchor=anchor)
    draw.text((x, y), text, font=fnt, fill=colour, anchor=anchor)


def render(brief, size=c.SLIDE_SIZE, ss=2):
    """brief: view, rivers (highlighted), cities, route, area, peaks, title, labels."""
    W, H = c.supersample(size, ss)
    view = brief.get("view", "russia")
    frame = Frame(VIEWS[view] if isinstance(view, str) else view, (W, H), 18 * ss)
    img = c.vertical_gradient((W, H), [(0, SEA_DEEP), (1, SEA)])
    d = ImageDraw.Draw(img, "RGBA")
    k = frame.scale
    river_w = max(1, int(ss * min(2.2, 0.35 + k / (ss * 30))))

    for lat in range(30, 90, 10):
        d.line(frame.path([(lon, lat) for lon in range(0, 200, 5)]), fill=GRID + (90,), width=ss)
    for lon in range(0, 200, 20):
        d.line(frame.path([(lon, lat) for lat in range(30, 86, 2)]), fill=GRID + (90,), width=ss)

    coast = frame.path(geo.MAINLAND, 2, True)
    d.polygon(coast, fill=LAND)
    russia = geo.BORDER + list(reversed(_coast_between(geo.MAINLAND, (31, 70.3), (130.7, 42.3))))
    d.polygon(frame.path(russia, 2, True), fill=RUSSIA)
    d.polygon(frame.path(geo.KALININGRAD, 1, True), fill=RUSSIA)
    for name, poly in geo.ISLANDS.items():
        fill = LAND if name in ("hokkaido", "honshu", "svalbard") else RUSSIA
        pts = frame.path(poly, 2, True)
        d.polygon(pts, fill=fill, outline=COAST)
    for lon, lat in geo.KURILS:
        x, y = frame(lon, lat)
        r = max(ss, k * 0.25)
        d.ellipse((x - r, y - r, x + r, y + r), fill=RUSSIA, outline=COAST)
    d.line(coast + coast[:1], fill=COAST, width=ss)
    for name, poly in geo.WATER.items():
        pts = frame.path(poly, 2, True)
        d.polygon(pts, fill=SEA)
        d.line(pts + pts[:1], fill=COAST, width=ss)

    for line in geo.RANGES.values():
        _peaks(d, frame.path(line, 1), k, ss)

    for area in brief.get("areas", []):
        pts = frame.path([tuple(p) for p in area], 2, True)
        d.polygon(pts, fill=c.GOLD + (110,), outline=c.RED + (220,))

    highlighted = set(brief.get("rivers", []))
    for name, line in geo.RIVERS.items():
        pts = frame.path(line, 2)
        if name in highlighted:
            d.line(pts, fill=(255, 255, 255, 160), width=river_w * 4, joint="curve")
            d.line(pts, fill=RIVER_HL, width=river_w * 2 + ss, joint="curve")
        else:
            d.line(pts, fill=RIVER, width=river_w, joint="curve")
    _dashed(d, frame.path(geo.BORDER, 1), BORDER + (200,), ss, 5 * ss, 3 * ss)

    if brief.get("route"):
        pts = [frame(*geo.CITIES[name]) for name in brief["route"]]
        d.line(chaikin(pts, 2), fill=c.RED, width=3 * ss, joint="curve")
    for name, (lon, lat) in geo.PEAKS.items():
        if name in brief.get("peaks", []):
            x, y = frame(lon, lat)
            s = 7 * ss
            d.polygon([(x, y - s), (x - s, y + s * 0.7), (x + s, y + s * 0.7)], fill=(120, 86, 50), outline=c.PARCHMENT)
            _label(d, (x + s + 3 * ss, y + 4 * ss), name, 13 * ss, c.INK, bold=True)
    for name in brief.get("cities", []) + [n for n in brief.get("route", []) if n not in brief.get("cities", [])]:
        x, y = frame(*geo.CITIES[name])
        r = 4 * ss
        d.ellipse((x - r, y - r, x + r, y + r), fill=c.NAVY, outline=(255, 255, 255))
        _label(d, (x + r + 3 * ss, y - r), name, 13 * ss)
    for text, lon, lat, *rest in brief.get("labels", []):
        x, y = frame(lon, lat)
        colour = tuple(rest[0]) if rest else (40, 70, 110)
        fnt = c.font("serif-italic", 15 * ss)
        d.text((x, y), text, font=fnt, fill=colour, anchor="mm")

    _cartouche(d, brief.get("title", ""), W, H, ss)
    d.rectangle((0, 0, W - 1, H - 1), outline=c.NAVY, width=4 * ss)
    d.rectangle((5 * ss, 5 * ss, W - 6 * ss, H - 6 * ss), outline=c.GOLD, width=ss)
    return c.downsample(img, size)


def _peaks(d, pts, k, ss):
    """A mountain range: small shaded peaks spaced along its ridge line."""
    size = max(3 * ss, min(9 * ss, k * 0.7))
    dist, spacing = 0.0, size * 1.6
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        seg = math.hypot(x1 - x0, y1 - y0)
        while dist < seg:
            t = dist / seg
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            d.polygon([(x, y - size), (x - size, y + size * 0.5), (x + size, y + size * 0.5)], fill=(168, 138, 96, 200))
            d.polygon([(x, y - size), (x + size, y + size * 0.5), (x + size * 0.2, y + size * 0.5)], fill=(120, 92, 60, 200))
            dist += spacing
        dist -= seg


def _coast_between(coast, start, end):
    i, j = coast.index(start), coast.index(end)
    return coast[i:j + 1]


def _cartouche(d, title, W, H, ss):
    if not title:
        return
    fnt = c.font("caption", 15 * ss)
    box = d.textbbox((0, 0), title, font=fnt)
    tw, th = box[2] - box[0], box[3] - box[1]
    x0, y1 = 14 * ss, H - 14 * ss
    rect = (x0, y1 - th - 14 * ss, x0 + tw + 20 * ss, y1)
    d.rounded_rectangle(rect, radius=4 * ss, fill=c.NAVY + (235,), outline=c.GOLD, width=ss)
    d.text((x0 + 10 * ss, y1 - 7 * ss), title, font=fnt, fill=c.PARCHMENT, anchor="ls")
