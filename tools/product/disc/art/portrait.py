"""Portrait medallions: a profile silhouette in an oval frame with the name and years.

The portraits are deliberately conventional (silhouettes, not likenesses); the hair, beard,
collar and headdress tell the era."""
from PIL import Image, ImageDraw

from . import common as c
from .maps import chaikin

# Profile facing right, in a unit box (x 0..1, y 0..1 downwards), from the back of the neck
# over the crown, forehead, nose, lips and chin to the throat.
HEAD = [(0.34, 0.8), (0.3, 0.66), (0.27, 0.5), (0.28, 0.38), (0.34, 0.26), (0.45, 0.19), (0.56, 0.19),
        (0.64, 0.24), (0.68, 0.32), (0.69, 0.4), (0.68, 0.43), (0.77, 0.52), (0.7, 0.545), (0.715, 0.58),
        (0.695, 0.605), (0.71, 0.63), (0.685, 0.655), (0.7, 0.7), (0.64, 0.74), (0.58, 0.76), (0.57, 0.86)]


def render(brief, name, size=c.PORTRAIT_SIZE, ss=2):
    W, H = c.supersample(size, ss)
    img = c.vertical_gradient((W, H), [(0, (232, 220, 192)), (1, (196, 176, 140))]).convert("RGBA")
    d = ImageDraw.Draw(img)
    oval = (W * 0.1, H * 0.05, W * 0.9, H * 0.8)
    inner = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    idr = ImageDraw.Draw(inner)
    bg = tuple(brief.get("background", (214, 198, 160)))
    idr.ellipse(oval, fill=bg + (255,))
    img.alpha_composite(inner)
    sil = tuple(brief.get("colour", (36, 42, 62)))
    _figure(_Smooth(d), brief, W, H, sil)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).ellipse(oval, fill=255)
    frame = c.vertical_gradient((W, H), [(0, (232, 220, 192)), (1, (196, 176, 140))]).convert("RGBA")
    img = Image.composite(img, frame, mask)
    d = ImageDraw.Draw(img)
    d.ellipse(oval, outline=c.GOLD, width=5 * ss)
    d.ellipse((oval[0] + 8 * ss, oval[1] + 8 * ss, oval[2] - 8 * ss, oval[3] - 8 * ss), outline=(150, 118, 40), width=ss)
    plate = (W * 0.06, H * 0.82, W * 0.94, H * 0.97)
    d.rounded_rectangle(plate, radius=6 * ss, fill=c.NAVY, outline=c.GOLD, width=2 * ss)
    nm = brief.get("label", "")
    fnt = c.fit_font(d, nm, "caption", 22 * ss, plate[2] - plate[0] - 16 * ss)
    c.text_centre(d, ((plate[0] + plate[2]) / 2, plate[1] + (plate[3] - plate[1]) * 0.36), nm, fnt, c.PARCHMENT)
    c.text_centre(d, ((plate[0] + plate[2]) / 2, plate[1] + (plate[3] - plate[1]) * 0.74), brief.get("years", ""),
                  c.font("serif-italic", 17 * ss), (230, 205, 130))
    return c.grain(c.downsample(img.convert("RGB"), size), 0.2, name)


class _Smooth:
    """Rounds every polygon corner, so the profiles read as drawn rather than cut."""

    def __init__(self, draw):
        self.draw = draw

    def polygon(self, pts, **kw):
        self.draw.polygon(chaikin(pts, 1, closed=True), **kw)

    def __getattr__(self, name):
        return getattr(self.draw, name)


def _figure(d, brief, W, H, sil):
    ox, oy, s = W * 0.2, H * 0.06, W * 0.62
    pt = lambda x, y: (ox + x * s, oy + y * s * 1.02)
    collar = brief.get("collar", "coat")
    # shoulders and chest
    shoulders = [pt(0.05, 1.25), pt(0.1, 0.98), pt(0.28, 0.86), pt(0.5, 0.84), pt(0.72, 0.9), pt(0.86, 1.05), pt(0.9, 1.25)]
    d.polygon(shoulders, fill=c.shade(sil, 1.25) if collar != "robe" else sil)
    if collar in ("uniform", "coat"):
        d.polygon([pt(0.44, 0.84), pt(0.58, 1.05), pt(0.7, 0.9)], fill=(235, 232, 222) if collar == "coat" else (200, 170, 60))
        if collar == "uniform":
            d.polygon([pt(0.15, 0.93), pt(0.32, 0.88), pt(0.3, 0.95), pt(0.14, 0.99)], fill=c.GOLD)
            for k in range(3):
                x, y = pt(0.62 + k * 0.05, 1.0 + k * 0.05)
                d.ellipse((x - 4, y - 4, x + 4, y + 4), fill=c.GOLD)
    elif collar == "ruff":
        d.ellipse((*pt(0.3, 0.78), *pt(0.68, 0.92)), fill=(240, 238, 230))
    elif collar == "dress":
        d.polygon([pt(0.25, 0.9), pt(0.5, 1.05), pt(0.75, 0.92), pt(0.8, 1.25), pt(0.2, 1.25)], fill=(200, 190, 220))
    d.polygon([pt(*p) for p in HEAD], fill=sil)
    d.draw.ellipse((*pt(0.4, 0.43), *pt(0.47, 0.53)), fill=c.shade(sil, 0.75))
    d.draw.line((*pt(0.6, 0.425), *pt(0.645, 0.42)), fill=c.shade(sil, 1.6), width=max(2, int(s * 0.008)))
    hair = brief.get("hair", "short")
    if hair == "short":
        d.polygon([pt(0.26, 0.55), pt(0.25, 0.38), pt(0.32, 0.24), pt(0.46, 0.17), pt(0.6, 0.18), pt(0.68, 0.26), pt(0.55, 0.26), pt(0.4, 0.33), pt(0.36, 0.5)], fill=c.shade(sil, 0.6))
    elif hair == "long":
        d.polygon([pt(0.22, 0.82), pt(0.2, 0.5), pt(0.28, 0.26), pt(0.46, 0.15), pt(0.62, 0.17), pt(0.7, 0.28), pt(0.5, 0.27), pt(0.4, 0.4), pt(0.42, 0.8)], fill=c.shade(sil, 0.6))
    elif hair == "curly":
        for x, y in ((0.3, 0.3), (0.4, 0.22), (0.52, 0.19), (0.62, 0.22), (0.26, 0.42), (0.28, 0.55), (0.36, 0.62)):
            cx, cy = pt(x, y)
            r = s * 0.07
            d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=c.shade(sil, 0.6))
    elif hair == "wig":
        for k in range(4):
            cx, cy = pt(0.27, 0.4 + k * 0.1)
            r = s * 0.06
            d.ellipse((cx - r, cy - r * 0.7, cx + r, cy + r * 0.7), fill=(226, 224, 218))
        d.polygon([pt(0.27, 0.38), pt(0.33, 0.24), pt(0.46, 0.16), pt(0.6, 0.17), pt(0.68, 0.26), pt(0.5, 0.26), pt(0.38, 0.36)], fill=(226, 224, 218))
        bow = pt(0.27, 0.7)
        d.draw.polygon([bow, (bow[0] - s * 0.07, bow[1] - s * 0.05), (bow[0] - s * 0.07, bow[1] + s * 0.05)], fill=(30, 30, 30))
        d.draw.polygon([bow, (bow[0] + s * 0.03, bow[1] + s * 0.08), (bow[0] - s * 0.03, bow[1] + s * 0.1)], fill=(30, 30, 30))
    elif hair == "bald":
        d.polygon([pt(0.26, 0.55), pt(0.27, 0.42), pt(0.32, 0.38), pt(0.36, 0.52)], fill=c.shade(sil, 0.6))
    head = brief.get("head")
    if head == "crown":
        d.polygon([pt(0.3, 0.25), pt(0.3, 0.08), pt(0.38, 0.16), pt(0.46, 0.02), pt(0.54, 0.16), pt(0.62, 0.08), pt(0.63, 0.25)], fill=c.GOLD)
    elif head == "cap":
        d.pieslice((*pt(0.28, 0.04), *pt(0.68, 0.4)), 180, 360, fill=(170, 130, 50))
        d.rectangle((*pt(0.27, 0.2), *pt(0.69, 0.27)), fill=(90, 70, 50))
        cx, cy = pt(0.48, 0.02)
        d.line((cx, cy - s * 0.08, cx, cy), fill=c.GOLD, width=int(s * 0.015))
    elif head == "helmet":
        d.polygon([pt(0.26, 0.4), pt(0.3, 0.2), pt(0.48, -0.04), pt(0.66, 0.2), pt(0.7, 0.34), pt(0.26, 0.34)], fill=(150, 150, 160))
    elif head == "scarf":
        d.polygon([pt(0.2, 0.9), pt(0.22, 0.3), pt(0.42, 0.12), pt(0.62, 0.14), pt(0.72, 0.3), pt(0.6, 0.3), pt(0.45, 0.4), pt(0.45, 0.9)], fill=(150, 40, 40))
    beard = brief.get("beard")
    if beard in ("full", "long", "short"):
        length = {"short": 0.82, "full": 0.92, "long": 1.05}[beard]
        d.polygon([pt(0.44, 0.6), pt(0.6, 0.62), pt(0.71, 0.64), pt(0.66, 0.78), pt(0.56, length), pt(0.46, length - 0.05), pt(0.4, 0.7)], fill=c.shade(sil, 0.6))
    if beard in ("moustache", "full", "long", "short"):
        d.polygon([pt(0.6, 0.59), pt(0.73, 0.58), pt(0.76, 0.62), pt(0.64, 0.63)], fill=c.shade(sil, 0.6))
