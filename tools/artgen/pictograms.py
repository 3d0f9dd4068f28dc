"""Line pictograms, designed on a 24-unit grid and drawn as vectors at any size."""

import math

from style import PARCHMENT


class Grid:
    """Maps 24-unit design coordinates into a size x size box at (x, y) of a canvas."""

    def __init__(self, cv, x, y, size, colour, stroke):
        self.cv, self.x, self.y, self.k = cv, x, y, size / 24.0
        self.colour, self.stroke = colour, stroke

    def p(self, u, v):
        return (self.x + u * self.k, self.y + v * self.k)

    def line(self, *pts, width=None):
        self.cv.line([self.p(u, v) for u, v in pts], self.colour, width or self.stroke)

    def shape(self, *pts, fill=None, outline=True):
        self.cv.polygon([self.p(u, v) for u, v in pts], fill=fill,
                        outline=self.colour if outline else None, width=self.stroke)

    def circle(self, u, v, r, fill=None, outline=True):
        cx, cy = self.p(u, v)
        self.cv.ellipse(cx, cy, r * self.k, r * self.k, fill=fill,
                        outline=self.colour if outline else None, width=self.stroke)

    def oval(self, u, v, ru, rv, fill=None):
        cx, cy = self.p(u, v)
        self.cv.ellipse(cx, cy, ru * self.k, rv * self.k, fill=fill)

    def arc(self, u, v, r, start, end):
        cx, cy = self.p(u, v)
        self.cv.arc(cx, cy, r * self.k, start, end, self.colour, self.stroke)

    def dot(self, u, v, r=1.4):
        self.oval(u, v, r, r, fill=self.colour)


def magnifier(g):
    g.circle(10, 10, 6.5)
    g.line((14.8, 14.8), (21, 21), width=g.stroke * 1.4)


def bookmark(g):
    g.shape((6.5, 3), (17.5, 3), (17.5, 21), (12, 16.5), (6.5, 21))


def footprints(g):
    # Two soles walking up the page, each a sole and a heel.
    for u, v in ((7.5, 10), (16.5, 4)):
        g.oval(u, v + 3.5, 3.3, 5.0, fill=g.colour)
        g.oval(u + 0.3, v + 12.3, 2.5, 2.3, fill=g.colour)


def back(g):
    g.arc(12.5, 13, 7.5, 200, 450)
    g.line((4.0, 7.5), (5.2, 13.5), (10.8, 11.0))


def results(g):
    for v in (6, 12, 18):
        g.dot(4.5, v, 1.5)
        g.line((8.5, v), (20, v))


def book(g):
    g.shape((12, 6), (3, 3.5), (3, 18.5), (12, 21))
    g.shape((12, 6), (21, 3.5), (21, 18.5), (12, 21))
    g.line((12, 6), (12, 21))


def help_mark(g):
    g.arc(12, 8.5, 5, 180, 400)
    g.line((15.6, 12.0), (12, 14.5), (12, 16.2))
    g.dot(12, 20.5, 1.6)


def speaker(g):
    g.shape((3, 9), (7.5, 9), (13, 4), (13, 20), (7.5, 15), (3, 15))
    g.arc(14, 12, 4.5, -45, 45)
    g.arc(14, 12, 8.0, -50, 50)


def film(g):
    g.shape((3, 4), (21, 4), (21, 20), (3, 20))
    g.line((7, 4), (7, 20))
    g.line((17, 4), (17, 20))
    for v in (7.5, 12, 16.5):
        g.dot(5, v, 0.9)
        g.dot(19, v, 0.9)


def pin(g):
    g.arc(12, 9.5, 6, 150, 390)
    g.line((6.8, 12.5), (12, 21.5), (17.2, 12.5))
    g.circle(12, 9.5, 2.2)


def catalogue(g):
    for u in (4, 13.5):
        for v in (4, 13.5):
            g.shape((u, v), (u + 6.5, v), (u + 6.5, v + 6.5), (u, v + 6.5))


def printer(g):
    g.shape((7, 9), (7, 3), (17, 3), (17, 9))
    g.shape((3, 9), (21, 9), (21, 17), (3, 17))
    g.shape((7, 14), (17, 14), (17, 21), (7, 21))
    g.dot(18, 11.5, 0.9)


def cross(g):
    g.line((6, 6), (18, 18), width=g.stroke * 1.2)
    g.line((18, 6), (6, 18), width=g.stroke * 1.2)


def stop(g):
    pts = [(12 + 9 * math.cos(math.radians(22.5 + 45 * i)),
            12 + 9 * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    g.shape(*pts)
    g.shape((9, 9), (15, 9), (15, 15), (9, 15), fill=g.colour)


def plus(g):
    g.line((12, 4), (12, 20), width=g.stroke * 1.2)
    g.line((4, 12), (20, 12), width=g.stroke * 1.2)


def trash(g):
    g.line((4, 6.5), (20, 6.5))
    g.line((9.5, 6.5), (10, 3.5), (14, 3.5), (14.5, 6.5))
    g.shape((6, 6.5), (18, 6.5), (16.8, 21), (7.2, 21))
    g.line((10.3, 10), (10.5, 17.5))
    g.line((13.7, 10), (13.5, 17.5))


def reset(g):
    g.arc(12, 12, 7.5, 300, 600)
    g.line((16.5, 2.5), (16.0, 6.4), (20.0, 7.4))


def open_entry(g):
    # An arrow entering an open page.
    g.shape((9, 3), (20, 3), (20, 21), (9, 21))
    g.line((2.5, 12), (14, 12))
    g.line((10.5, 8.2), (14.3, 12), (10.5, 15.8))


def jump(g):
    g.line((3, 12), (19, 12))
    g.line((13.5, 6.5), (19.3, 12), (13.5, 17.5))


def eye(g):
    g.arc(12, 20, 12, 215, 325)
    g.arc(12, 4, 12, 35, 145)
    g.circle(12, 12, 3.2, fill=g.colour)


def select_all(g):
    for v in (5, 12, 19):
        g.line((3, v), (5, v + 2.2), (9, v - 2.4))
        g.line((12, v), (21, v))


def picture(g):
    g.shape((3, 4), (21, 4), (21, 20), (3, 20))
    g.line((4, 18), (10, 11), (14, 15), (16, 13), (20, 17))
    g.circle(16, 8.5, 1.8)


def globe(g):
    g.circle(12, 12, 9)
    g.arc(12, 12, 9, 0, 360)
    g.line((3, 12), (21, 12))
    cx, cy = g.p(12, 12)
    g.cv.ellipse(cx, cy, 4.0 * g.k, 9 * g.k, outline=g.colour, width=g.stroke)


def hourglass(g):
    g.line((5, 3), (19, 3))
    g.line((5, 21), (19, 21))
    g.shape((7, 3), (17, 3), (12, 12), (17, 21), (7, 21), (12, 12))
    g.shape((9.8, 18.5), (14.2, 18.5), (12, 15.5), fill=g.colour, outline=False)


def info(g):
    g.circle(12, 12, 9)
    g.dot(12, 7.6, 1.5)
    g.line((12, 11), (12, 17))


def exit_door(g):
    g.line((13, 5), (13, 3), (4, 3), (4, 21), (13, 21), (13, 19))
    g.line((9, 12), (21, 12))
    g.line((17, 8), (21, 12), (17, 16))


def disc(g):
    g.circle(12, 12, 9.5)
    g.circle(12, 12, 2.6)
    g.arc(12, 12, 6.2, 200, 260)


def arrow_left(g):
    g.shape((15, 5), (15, 19), (7, 12), fill=g.colour)


def arrow_right(g):
    g.shape((9, 5), (9, 19), (17, 12), fill=g.colour)


def minimise(g):
    g.line((6, 17), (18, 17), width=g.stroke * 1.2)


def emblem(g):
    """The product mark: an open book under a small star, in a circle."""
    if g.k * 24 < 18:
        # Tiny: the book alone fills the box.
        g.shape((12, 6), (2, 3.5), (2, 19), (12, 21.5))
        g.shape((12, 6), (22, 3.5), (22, 19), (12, 21.5))
        return
    g.circle(12, 12, 10.5)
    if g.k * 24 < 28:
        # Small: the book alone, larger, so that it still reads.
        g.shape((12, 8), (5, 6), (5, 16), (12, 18))
        g.shape((12, 8), (19, 6), (19, 16), (12, 18))
        return
    g.shape((12, 10), (5.5, 8.3), (5.5, 17.2), (12, 18.8))
    g.shape((12, 10), (18.5, 8.3), (18.5, 17.2), (12, 18.8))
    g.shape((12, 3.2), (13, 5.6), (15.2, 5.6), (13.4, 7.0), (14.1, 9.0), (12, 7.8),
            (9.9, 9.0), (10.6, 7.0), (8.8, 5.6), (11.0, 5.6), fill=g.colour, outline=False)


# Every pictogram is a module-level function taking a Grid; the table names them.
ICONS = {name: fn for name, fn in globals().items()
         if callable(fn) and fn is not Grid and getattr(fn, "__module__", None) == __name__}


def draw(cv, name, x, y, size, colour=PARCHMENT, stroke=None):
    """Draws the pictogram `name` into the size x size box at (x, y)."""
    if stroke is None:
        stroke = max(1.3, size / 12.0)
    ICONS[name](Grid(cv, x, y, size, colour, stroke))
