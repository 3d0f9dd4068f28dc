"""Short QuickTime movies (Photo-JPEG video, 16-bit PCM audio) drawn frame by frame with
Pillow and muxed by ffmpeg; the sound tracks are synthesised here."""
import math
import pathlib
import struct
import subprocess
import wave

from PIL import Image, ImageDraw, ImageFilter

from .art import common as c
from .art import craft, geo, landscape, maps, shapes

SIZE = (240, 180)
FPS = 12
RATE = 22050

# Pentatonic motifs (semitones above A3) for the tracks; each movie loops its own.
MOTIFS = {
    "river_map": [0, 3, 5, 7, 5, 3, 0, -2], "panorama": [7, 5, 3, 5, 7, 10, 7, 5],
    "volcano": [0, 0, 3, 0, -2, -5, -2, 0], "aurora": [12, 10, 7, 10, 12, 15, 12, 7],
    "train": [0, 7, 5, 7, 0, 7, 5, 3], "bridge": [3, 5, 7, 10, 7, 5, 3, 0],
    "rocket": [0, 5, 7, 12, 7, 12, 15, 19], "globe": [12, 7, 3, 7, 12, 15, 12, 10],
    "logo": [0, 7, 12, 10, 7, 12], "marker": [12],
}


def tone_track(path, motif, seconds, bpm=96):
    """A soft plucked melody over a drone, written as 16-bit mono WAV."""
    beat = 60.0 / bpm
    n = int(seconds * RATE)
    samples = bytearray()
    for i in range(n):
        t = i / RATE
        k = int(t / beat)
        note = motif[k % len(motif)]
        f = 220.0 * 2 ** (note / 12)
        local = t - k * beat
        env = math.exp(-3.0 * local) * min(1.0, local * 60)
        fade = min(1.0, t * 2, (seconds - t) * 2)
        v = (0.5 * math.sin(2 * math.pi * f * t) + 0.2 * math.sin(4 * math.pi * f * t)) * env
        v += 0.12 * math.sin(2 * math.pi * 110 * t) + 0.06 * math.sin(2 * math.pi * 165 * t)
        samples += struct.pack("<h", int(max(-1, min(1, v * fade * 0.6)) * 32000))
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(samples))


def _title_card(frame, title, alpha, size):
    """Fades the movie's title in over the first frames."""
    if alpha <= 0:
        return frame
    overlay = frame.copy()
    d = ImageDraw.Draw(overlay)
    d.rectangle((0, size[1] - 34, size[0], size[1]), fill=c.NAVY)
    fnt = c.fit_font(d, title, "caption", 15, size[0] - 16)
    c.text_centre(d, (size[0] / 2, size[1] - 17), title, fnt, c.PARCHMENT)
    return Image.blend(frame, overlay, alpha)


def frames_river_map(n, size):
    base = maps.render({"view": "volga", "rivers": [], "cities": []}, size, 2)
    frame = maps.Frame(maps.VIEWS["volga"], size, 18)
    line = frame.path(geo.RIVERS["volga"], 2)
    cities = [("Тверь", 0.1), ("Ярославль", 0.25), ("Нижний Новгород", 0.4), ("Казань", 0.55), ("Волгоград", 0.8), ("Астрахань", 0.95)]
    for i in range(n):
        t = min(1.0, i / (n * 0.85))
        img = base.copy()
        d = ImageDraw.Draw(img)
        upto = max(2, int(len(line) * t))
        d.line(line[:upto], fill=maps.RIVER_HL, width=3, joint="curve")
        x, y = line[upto - 1]
        d.ellipse((x - 4, y - 4, x + 4, y + 4), fill=c.GOLD, outline=c.NAVY)
        for name, at in cities:
            if t >= at:
                cx, cy = frame(*geo.CITIES[name])
                d.ellipse((cx - 2, cy - 2, cx + 2, cy + 2), fill=c.NAVY)
                d.text((cx + 4, cy - 2), name, font=c.font("sans", 10), fill=c.NAVY, anchor="ls")
        yield img


def frames_panorama(n, size):
    wide = landscape.render({"preset": "lake", "sky": "dawn", "sun": [0.6, 0.52], "clouds": 2}, "movie_baikal", (480, 180), 1)
    for i in range(n):
        t = i / max(1, n - 1)
        x = int(t * (wide.width - size[0]))
        img = wide.crop((x, 0, x + size[0], size[1]))
        yield Image.blend(img, Image.new("RGB", size, (255, 230, 190)), 0.15 * t)


def frames_volcano(n, size):
    base = landscape.render({"sky": "day", "layers": [
        {"type": "volcano", "x": 0.5, "base": 0.72, "height": 0.5, "width": 0.75},
        {"type": "forest", "base": 0.76, "size": 0.08, "colour": [50, 80, 60]},
        {"type": "ground", "top": 0.77, "colour": [110, 130, 80]}]}, "movie_volcano", size, 2)
    rand = c.rng("smoke")
    puffs = [(rand.uniform(0, 1), rand.uniform(-6, 6), rand.uniform(0.7, 1.3)) for _ in range(24)]
    for i in range(n):
        img = base.convert("RGBA")
        layer = Image.new("RGBA", size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        for phase, drift, scale in puffs:
            t = (phase + i / n) % 1.0
            r = (5 + t * 26) * scale
            x, y = size[0] * 0.5 + drift + t * 50, size[1] * 0.36 - t * 70
            d.ellipse((x - r, y - r * 0.7, x + r, y + r * 0.7), fill=(225, 222, 220, int(190 * (1 - t))))
        img.alpha_composite(layer.filter(ImageFilter.GaussianBlur(2)))
        yield img.convert("RGB")


def frames_aurora(n, size):
    ground = landscape.render({"preset": "tundra", "sky": "night", "ground": [200, 210, 222]}, "movie_aurora", size, 1)
    for i in range(n):
        img = ground.convert("RGBA")
        layer = Image.new("RGBA", size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        for band, colour in ((0, (80, 255, 160)), (1, (200, 120, 220))):
            for x in range(0, size[0], 2):
                ph = i / n * 2 * math.pi
                y = 50 + band * 18 + 12 * math.sin(x / 40 + ph + band) + 5 * math.sin(x / 13 - ph * 2)
                length = 40 + 20 * math.sin(x / 30 + ph * 1.5)
                d.line((x, y - length, x, y), fill=colour + (90,), width=2)
        img.alpha_composite(layer.filter(ImageFilter.GaussianBlur(3)))
        yield img.convert("RGB")


def frames_train(n, size):
    far = landscape.render({"preset": "taiga", "sky": "day", "clouds": 3}, "movie_taiga", (720, 180), 1)
    for i in range(n):
        x = int(i / n * (far.width - size[0]))
        img = far.crop((x, 0, x + size[0], size[1]))
        d = ImageDraw.Draw(img)
        d.rectangle((0, 146, size[0], size[1]), fill=(110, 100, 90))
        for k in range(-1, 14):
            sx = (k * 20 - (i * 6) % 20)
            d.rectangle((sx, 150, sx + 8, 156), fill=(80, 60, 40))
        d.line((0, 150, size[0], 150), fill=(60, 60, 60), width=2)
        for car in range(4):
            left = 20 + car * 52
            d.rounded_rectangle((left, 122, left + 48, 148), radius=4, fill=(150, 40, 40))
            for w in range(5):
                d.rectangle((left + 4 + w * 9, 127, left + 9 + w * 9, 134), fill=(250, 230, 160))
        yield img


def frames_bridge(n, size):
    for i in range(n):
        img = landscape.render({"sky": "white_night", "layers": [
            {"type": "building", "kind": "spire", "x": 0.75, "base": 0.62, "height": 0.42},
            {"type": "building", "kind": "palace", "from": 0.0, "to": 0.5, "base": 0.62, "height": 0.1, "walls": [200, 190, 150]},
            {"type": "water", "top": 0.62, "colour": [70, 80, 120]},
            {"type": "building", "kind": "bridge", "from": 0.0, "to": 1.0, "base": 0.76, "height": 0.07,
             "raised": min(1.0, i / (n * 0.7))}]}, "movie_neva", size, 1)
        yield img


def frames_rocket(n, size):
    for i in range(n):
        t = max(0.0, (i - n * 0.2) / (n * 0.8))
        img = craft.render({"style": "rocket"}, "movie_rocket", (240, 180), 1)
        if t > 0:
            shift = int(t * t * 150)
            moved = Image.new("RGB", size, (10, 14, 34))
            moved.paste(img, (0, -shift))
            img = Image.blend(moved, img, 0.15)
        yield img


def frames_globe(n, size):
    R, cx, cy = 78, size[0] / 2, size[1] / 2
    polys = [geo.MAINLAND] + list(geo.ISLANDS.values())
    for i in range(n):
        lon0 = 40 + 100 * i / n
        img = Image.new("RGB", size, (4, 6, 16))
        d = ImageDraw.Draw(img)
        rand = c.rng("stars")
        for _ in range(80):
            x, y = rand.uniform(0, size[0]), rand.uniform(0, size[1])
            d.point((x, y), fill=(200, 200, 230))
        d.ellipse((cx - R, cy - R, cx + R, cy + R), fill=(30, 70, 140))
        lat0 = math.radians(50)
        for poly in polys:
            pts = []
            for lon, lat in _dense(poly):
                la, lo = math.radians(lat), math.radians(lon - lon0)
                cosc = math.sin(lat0) * math.sin(la) + math.cos(lat0) * math.cos(la) * math.cos(lo)
                x = R * math.cos(la) * math.sin(lo)
                y = R * (math.cos(lat0) * math.sin(la) - math.sin(lat0) * math.cos(la) * math.cos(lo))
                pts.append((cx + x, cy - y) if cosc > 0 else None)
            run = [p for p in pts if p]
            if len(run) > 2 and len(run) == len(pts):
                d.polygon(run, fill=(90, 140, 80))
            for a, b in zip(pts, pts[1:]):
                if a and b:
                    d.line((a, b), fill=(150, 190, 120), width=1)
        img = img.convert("RGBA")
        img.alpha_composite(c.radial_glow(size, (cx - R * 0.4, cy - R * 0.4), R, (255, 255, 255), 0.35))
        d = ImageDraw.Draw(img)
        d.ellipse((cx - R - 2, cy - R - 2, cx + R + 2, cy + R + 2), outline=(120, 170, 255), width=2)
        yield img.convert("RGB")


def _dense(poly, step=2.0):
    """Closed outline with long edges split, so they bend with the sphere."""
    out = []
    for (a, b), (c2, d) in zip(poly, poly[1:] + poly[:1]):
        k = max(1, int(max(abs(c2 - a), abs(d - b)) / step))
        out += [(a + (c2 - a) * i / k, b + (d - b) * i / k) for i in range(k)]
    return out


def frames_logo(n, size):
    """The introduction: the country's outline surfaces, gold rules draw out, the title fades in."""
    W, H = size
    base = c.vertical_gradient(size, [(0, c.SLATE), (1, c.NAVY)])
    country = maps.render({"view": "russia", "rivers": ["volga", "ob", "yenisei", "lena", "amur"]}, size, 1)
    country = Image.blend(country, Image.new("RGB", size, c.NAVY), 0.7)
    for i in range(n):
        t = i / max(1, n - 1)
        img = Image.blend(base, country, min(0.8, t * 1.6)).convert("RGBA")
        d = ImageDraw.Draw(img)
        w = int((W - 40) * min(1.0, t * 1.8))
        d.line((20, H * 0.33, 20 + w, H * 0.33), fill=c.GOLD, width=2)
        d.line((W - 20 - w, H * 0.68, W - 20, H * 0.68), fill=c.GOLD, width=2)
        a = min(1.0, max(0.0, (t - 0.3) * 2.5))
        title = Image.new("RGBA", size, (0, 0, 0, 0))
        td = ImageDraw.Draw(title)
        c.text_centre(td, (W / 2, H * 0.5), "РОССИЯ", c.font("serif-bold", int(H * 0.22)), c.GOLD + (int(255 * a),))
        c.text_centre(td, (W / 2, H * 0.78), "иллюстрированная энциклопедия", c.font("serif-italic", int(H * 0.075)),
                      c.PARCHMENT + (int(255 * max(0.0, a - 0.3)),))
        img.alpha_composite(title)
        yield img.convert("RGB")


def frames_marker(n, size):
    for _ in range(n):
        img = c.vertical_gradient(size, [(0, c.SLATE), (1, c.NAVY)])
        d = ImageDraw.Draw(img)
        shapes.church(d, size[0] / 2, 140, 100, dome=c.GOLD, domes=1)
        yield img


SCENES = {"river_map": frames_river_map, "panorama": frames_panorama, "volcano": frames_volcano,
          "aurora": frames_aurora, "train": frames_train, "bridge": frames_bridge, "rocket": frames_rocket,
          "globe": frames_globe, "logo": frames_logo, "marker": frames_marker}


def make(path, scene, title="", seconds=8.0, work_dir=None, size=SIZE):
    """Renders one movie to path (.mov); the title card fades in at the start."""
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    work = pathlib.Path(work_dir or path.parent)
    work.mkdir(parents=True, exist_ok=True)
    audio = work / (path.stem + ".wav")
    tone_track(audio, MOTIFS[scene], seconds)
    n = int(seconds * FPS)
    tmp = path.with_name(path.stem + ".tmp.mov")
    cmd = ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", f"{size[0]}x{size[1]}",
           "-r", str(FPS), "-i", "-", "-i", str(audio), "-c:v", "mjpeg", "-q:v", "5", "-pix_fmt", "yuvj420p",
           "-c:a", "pcm_s16be", "-shortest", "-fflags", "+bitexact", "-flags:v", "+bitexact",
           "-movflags", "+faststart", "-f", "mov", str(tmp)]
    proc = subprocess.Popen(cmd, stdin=subprocess.PIPE)
    for i, frame in enumerate(SCENES[scene](n, size)):
        if title:
            frame = _title_card(frame, title, 1.0 - max(0.0, (i - FPS * 2) / FPS), size)
        proc.stdin.write(frame.convert("RGB").tobytes())
    proc.stdin.close()
    if proc.wait() != 0:
        raise RuntimeError(f"ffmpeg failed on {path}")
    tmp.replace(path)
    audio.unlink()
