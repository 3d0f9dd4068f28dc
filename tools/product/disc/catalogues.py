"""The gallery catalogues and caption files stored in the title, built from the topics."""
import pathlib

from . import cp1251
from .letters import folder_of_picture

TITLE_LIMIT = 63     # galleries read titles into 64-byte buffers
FIELD_LIMIT = 511    # the catalogue parser's buffer


def _stem(name):
    return name.split(".", 1)[0]


def initial_letter(title_bytes):
    """The capital А..Я a slides.dat entry is filed under, as the gallery's letter index
    reads it: byte 1, else byte 2 (behind a sign); 0 when neither is a capital."""
    for byte in title_bytes[:2]:
        if 0xC0 <= byte <= 0xDF:
            return byte
    return 0


def slides_entries(articles):
    rows = []
    for t in articles:
        names = [_stem(p.value) for p in t.pict] + [_stem(p.value) for p in t.port]
        if names:
            rows.append((t.title.value, t.context.value, ",".join(names)))

    def key(row):
        b = cp1251.encode(row[0])
        return (initial_letter(b), cp1251.sort_key(row[0]))
    return sorted(rows, key=key)


def media_entries(articles, topics_by_context, attribute):
    """maps.dat / sound.dat: one entry per popup topic, with the first article naming it."""
    seen, rows = set(), []
    for t in sorted(articles, key=lambda t: cp1251.sort_key(t.title.value)):
        ref = getattr(t, attribute)
        if ref and ref.value not in seen and ref.value in topics_by_context:
            seen.add(ref.value)
            rows.append((topics_by_context[ref.value].title.value, t.context.value, ref.value))
    return sorted(rows, key=lambda r: cp1251.sort_key(r[0]))


def video_entries(articles, movies):
    """video.dat: every movie, each with the first article showing it. Those that live only on
    the video archive disc are listed too: playing one asks for that disc."""
    first = {}
    for t in sorted(articles, key=lambda t: cp1251.sort_key(t.title.value)):
        if t.move and t.move.value not in first:
            first[t.move.value] = t.context.value
    return [(m["title"], first.get(m["file"], "topic_ros14"), m["file"]) for m in movies]


def captions(articles):
    """{folder: [(picture stem, caption)]} for the illustrations gallery."""
    out = {}
    for t in articles:
        for p in t.pict:
            out.setdefault(folder_of_picture(_stem(p.value)), []).append((_stem(p.value), p.caption))
        for p in t.port:
            out.setdefault(folder_of_picture(_stem(p.value)), [])
    return {k: sorted(v) for k, v in sorted(out.items())}


def movie_captions(articles, movies):
    caps = {}
    for t in articles:
        if t.move and t.move.caption and t.move.value not in caps:
            caps[t.move.value] = t.move.caption
    for m in movies:
        caps.setdefault(m["file"], m.get("caption", m["title"]))
    return [(m["file"], caps[m["file"]]) for m in movies]


def write_catalogue(path, rows):
    for row in rows:
        # The readers split at the first two ';' and end an entry at CR, LF or NUL.
        if len(row) != 3 or any(";" in f for f in row[:2]) or any(ch in f for f in row for ch in "\r\n\0"):
            raise ValueError(f"{path}: entry {row!r} cannot be stored as three ';'-separated fields")
    cp1251.write_lines(path, [";".join(r) for r in rows])


def write_captions(path, rows):
    for key, caption in rows:
        if "\t" in key or any(ch in key + caption for ch in "\r\n\0"):
            raise ValueError(f"{path}: caption {key!r} cannot be stored as one key TAB caption line")
    cp1251.write_lines(path, [f"{k}\t{v}" for k, v in rows], trailing_nul=True)


def write_all(baggage, articles, topics_by_context, movies):
    """Writes every catalogue and caption file; returns the baggage file names."""
    baggage = pathlib.Path(baggage)
    written = []
    for name, rows in (("slides.dat", slides_entries(articles)),
                       ("video.dat", video_entries(articles, movies)),
                       ("maps.dat", media_entries(articles, topics_by_context, "maps")),
                       ("sound.dat", media_entries(articles, topics_by_context, "wave"))):
        write_catalogue(baggage / name, rows)
        written.append(name)
    write_captions(baggage / "videocap.txt", movie_captions(articles, movies))
    written.append("videocap.txt")
    for folder, rows in captions(articles).items():
        write_captions(baggage / f"{folder}_capt.txt", rows)
        written.append(f"{folder}_capt.txt")
    return written
