"""Checks every cross reference of the sample encyclopedia; each problem is reported as
'file:line: message' so that it can be found and fixed at once."""
import pathlib
import re

from . import catalogues, cp1251, timeline
from .letters import ALL_FOLDERS, folder_of_picture, folder_of_title, is_portrait_name

GROUP_IDS = {3, 17, 23, 29, 38, 51, 60, 74, 88, 98}   # headers the contents dialog does not filter by
SECTION_LIMIT = 1023       # one data-string section, as the media-link parser reads it
CAPTION_LIMIT = 511        # picture caption
MOVIE_CAPTION_LIMIT = 255  # movie caption (media link and the video window's buffer)
CONTEXT_LIMIT = 31         # timeline regions hold 32 bytes with the terminator
MIN_REGIONS = 20
_CONTEXT = re.compile(r"^[A-Za-z0-9_]+$")
_FORBIDDEN = re.compile(r"[{}\[\]]")


# The one window class the reader registers for topics to embed: the sound player.
SOUND_CLASS = "SoundClass"


class Report(list):
    def add(self, path, line, message):
        self.append(f"{path}:{line}: {message}")


def _bytes(text):
    return len(text.encode("cp1251", "replace"))


def data_string(topic):
    """The media-link text the title compiler makes from the front matter."""
    parts = []
    if topic.pict:
        parts.append("[PICT] " + "; ".join(f"{p.value} {{{p.caption}}}" for p in topic.pict))
    if topic.port:
        parts.append("[PORT] " + "; ".join(p.value for p in topic.port))
    if topic.move:
        parts.append(f"[MOVE] {topic.move.value} {{{topic.move.caption}}}")
    if topic.maps:
        parts.append(f"[MAPS] {topic.maps.value};")
    if topic.wave:
        parts.append(f"[WAVE] {topic.wave.value};")
    return parts


def check_sources(content, topics_, manifest, pictures, movies):
    r = Report()
    content = pathlib.Path(content)
    for t in topics_:
        for line, msg in t.errors:
            r.add(t.path, line, msg)
    for line, msg in manifest.errors:
        r.add(manifest.path, line, msg)
    if r:
        return r
    by_context, titles = {}, {}
    for t in topics_:
        ctx = t.context.value
        if ctx in by_context:
            r.add(t.path, t.context.line, f"context string '{ctx}' also used by {by_context[ctx].path}")
        by_context[ctx] = t
        if not _CONTEXT.match(ctx):
            r.add(t.path, t.context.line, f"context string '{ctx}' must be Latin letters, digits and '_'")
        if t.is_article:
            if t.title.value in titles:
                r.add(t.path, t.title.line, f"title '{t.title.value}' also used by {titles[t.title.value]}")
            titles[t.title.value] = t.path
        for number, text in enumerate(t.path.read_text(encoding="utf-8").split("\n"), 1):
            try:
                cp1251.encode(text)
            except cp1251.EncodingError as e:
                r.add(t.path, number, str(e).lstrip(": "))
    movie_files = {m["file"]: m for m in movies}
    for t in topics_:
        _check_topic(r, t, by_context, manifest, pictures, movie_files)
    _check_manifest(r, manifest, topics_, by_context)
    _check_categories(r, content / "lists" / "content1.txt", manifest, topics_)
    used = {p.value.split(".")[0] for t in topics_ for p in t.pict + t.port}
    used |= {link.target.split(".")[0] for t in topics_ for link in t.links if link.kind == "image"}
    for name in pictures:
        if name not in used:
            r.add(content / "media" / "pictures.toml", 1, f"picture '{name}' is drawn but no topic shows it")
    if "help_contents" not in by_context:
        r.add(content / "help", 0, "the help section needs its contents topic help_contents")
    for m in movies:
        width, height = m.get("size", (320, 240))
        if not (16 <= width <= 320 and 16 <= height <= 240 and width % 2 == 0 and height % 2 == 0):
            r.add(content / "media" / "movies.toml", 1, f"movie '{m['file']}': size {width} x {height} must be even "
                  "and fit the video window's 320 x 240")
        if m.get("product", True) and not any(t.move and t.move.value == m["file"] for t in topics_):
            r.add(content / "media" / "movies.toml", 1, f"movie '{m['file']}' is on the disc but no article plays it")
    return r


def _check_topic(r, t, by_context, manifest, pictures, movie_files):
    folder = folder_of_title(t.title.value)
    if t.is_article:
        if folder is None:
            r.add(t.path, t.title.line, "an article title must begin with a Russian letter")
        names = [l.value for l in t.lists]
        for ref in t.lists:
            if ref.value not in manifest.lists:
                r.add(t.path, ref.line, f"list '{ref.value}' is not declared in the manifest")
            elif ref.value in ALL_FOLDERS and ref.value != folder:
                r.add(t.path, ref.line, f"letter list '{ref.value}' does not match the title's folder '{folder}'")
        if folder and folder not in names:
            r.add(t.path, t.title.line, f"the article is missing from its letter list '{folder}'")
        has_pictures = bool(t.pict or t.port)
        if has_pictures != ("107" in names):
            where = t.lists[0].line if t.lists else t.title.line
            r.add(t.path, where, "list 107 holds exactly the articles with illustrations" +
                  (" (this one has some)" if has_pictures else " (this one has none)"))
        if has_pictures and _bytes(t.title.value) > catalogues.TITLE_LIMIT:
            r.add(t.path, t.title.line, f"title longer than {catalogues.TITLE_LIMIT} bytes cannot be listed in the gallery")
    elif t.lists:
        r.add(t.path, t.lists[0].line, "only articles belong to stored lists")
    for link in t.links:
        if link.kind == "unknown":
            r.add(t.path, link.line, f"link '{link.target}' is neither #context, popup:context nor cmd:...")
        elif link.kind == "image":
            if link.target.split(".")[0] not in pictures or not link.target.startswith("map_"):
                r.add(t.path, link.line, f"image '{link.target}' is not a generated map picture")
        elif link.kind == "window":
            if not link.target.startswith(SOUND_CLASS + "@"):
                r.add(t.path, link.line, f"embedded window '{link.target}': the reader embeds only {SOUND_CLASS}")
        elif link.kind == "command":
            target = link.target.split(">", 1)[0]
            if link.target != "activate" and (">" not in link.target or target not in by_context):
                r.add(t.path, link.line, f"command '{link.target}' names no topic (context>window or activate)")
        elif link.target not in by_context:
            r.add(t.path, link.line, f"link to unknown context string '{link.target}'")
        elif link.kind == "popup" and not by_context[link.target].is_popup:
            r.add(t.path, link.line, f"popup link to '{link.target}', which is not a popup topic")
    for p in t.pict:
        stem = p.value.split(".")[0]
        if not p.value.endswith(".jpg") or " " in p.value:
            r.add(t.path, p.line, f"picture '{p.value}' must be a .jpg name without blanks")
        if stem not in pictures:
            r.add(t.path, p.line, f"picture '{stem}' has no art direction in pictures.toml")
        if is_portrait_name(stem) or folder_of_picture(stem) != folder:
            r.add(t.path, p.line, f"picture '{stem}' does not file under the folder '{folder}' (name it {folder}_...)")
        if not p.caption or _FORBIDDEN.search(p.caption) or _bytes(p.caption) > CAPTION_LIMIT:
            r.add(t.path, p.line, f"caption must be 1..{CAPTION_LIMIT} bytes without braces or brackets")
    for p in t.port:
        stem = p.value.split(".")[0]
        if stem not in pictures or not is_portrait_name(stem) or folder_of_picture(stem) != folder:
            r.add(t.path, p.line, f"portrait '{stem}' must be p{folder}_... with art direction in pictures.toml")
    if t.move:
        if t.move.value not in movie_files or not movie_files[t.move.value].get("product", True):
            r.add(t.path, t.move.line, f"movie '{t.move.value}' is not a movie of the encyclopedia disc")
        if _FORBIDDEN.search(t.move.caption) or _bytes(t.move.caption) > MOVIE_CAPTION_LIMIT:
            r.add(t.path, t.move.line, f"movie caption must be at most {MOVIE_CAPTION_LIMIT} bytes without braces")
    for ref in (t.maps, t.wave):
        if ref and (ref.value not in by_context or not by_context[ref.value].is_popup):
            r.add(t.path, ref.line, f"'{ref.value}' is not a popup topic")
    for section in data_string(t):
        if _bytes(section) > SECTION_LIMIT:
            r.add(t.path, 1, f"media section '{section[:6]}' is {_bytes(section)} bytes, more than {SECTION_LIMIT}")


def _check_manifest(r, manifest, topics_, by_context):
    if manifest.contents is None or manifest.contents.value not in by_context:
        r.add(manifest.path, manifest.contents.line if manifest.contents else 1, "contents topic missing or unknown")
    members = {}
    for t in topics_:
        for ref in t.lists:
            members.setdefault(ref.value, []).append(t)
    for name, ref in manifest.lists.items():
        if not members.get(name):
            r.add(manifest.path, ref.line, f"list '{name}' has no articles")


def parse_list_body(lines):
    """(header pictures [(line, name)], blocks [(line, node id or 0, [(line, id, text)])])."""
    pictures, blocks, in_body = [], [], False
    block = None
    for number, text in enumerate(lines, 1):
        s = text.strip()
        if not in_body:
            if s.startswith("BEGIN:"):
                in_body = True
            elif not s.startswith(";"):
                pictures += [(number, name) for name in re.findall(r'"([^"]+\.bmp)"', s)]
            continue
        if not s or s.startswith(";"):
            continue
        m = re.match(r"^(\d*)\s*\{\s*(\d+)$", s)
        if m:
            block = (number, int(m.group(1) or 0), [])
            blocks.append(block)
            continue
        m = re.match(r'^(\d+)\s+"([^"]*)"', s)
        if m and block is not None:
            block[2].append((number, int(m.group(1)), m.group(2)))
        else:
            blocks.append((number, -1, []))
    return pictures, blocks


def _check_blocks(r, path, blocks):
    declared = {0}
    for number, node, entries in blocks:
        if node == -1:
            r.add(path, number, "line is neither a block head 'id{count' nor an entry 'id \"text\"'")
        elif node not in declared:
            r.add(path, number, f"block of node {node}, which no earlier entry declares")
        declared |= {e[1] for e in entries}


def _check_categories(r, path, manifest, topics_):
    lines = path.read_text(encoding="utf-8").split("\n")
    _, blocks = parse_list_body(lines)
    _check_blocks(r, path, blocks)
    heads = {node for _, node, _ in blocks if node > 0}
    named = set()
    for _, node, entries in blocks:
        for number, ident, _ in entries:
            if ident in heads:
                if ident not in GROUP_IDS:
                    r.add(path, number, f"group {ident} must use an id the contents dialog ignores ({sorted(GROUP_IDS)})")
            elif str(ident) not in manifest.lists:
                r.add(path, number, f"item {ident} names no stored list of the manifest")
            named.add(str(ident))
    for name, ref in manifest.lists.items():
        if name.isdigit() and name != "107" and name not in named:
            r.add(manifest.path, ref.line, f"category list '{name}' is missing from {path.name}")


def check_disc(content, src, product, archive, topics_, manifest, pictures, movies):
    r = Report()
    src, product, archive = pathlib.Path(src), pathlib.Path(product), pathlib.Path(archive)
    by_context = {t.context.value: t for t in topics_}
    for t in topics_:
        folder = folder_of_title(t.title.value)
        for p in t.pict:
            stem = p.value.split(".")[0]
            for f in (product / "pictures" / folder / "slides" / p.value, product / "pictures" / folder / "icons" / f"{stem}i.jpg"):
                if not f.exists():
                    r.add(t.path, p.line, f"{f} does not exist")
        for p in t.port:
            f = product / "pictures" / folder / "portrait" / p.value
            if not f.exists():
                r.add(t.path, p.line, f"{f} does not exist")
        if t.move and not (product / "movies" / t.move.value).exists():
            r.add(t.path, t.move.line, f"{product / 'movies' / t.move.value} does not exist")
    for name in ("ffon.pic", "osn_256.pic", "logo.mov", "sound.mov", "content1.txt"):
        if not (product / name).exists():
            r.add(product / name, 0, "missing from the encyclopedia disc")
    for folder in ALL_FOLDERS:
        if not (product / "letters" / f"{folder}.jpg").exists():
            r.add(product / "letters" / f"{folder}.jpg", 0, "letter picture missing")
    if not (archive / "movies" / "ORBITAL.MOV").exists():
        r.add(archive / "movies" / "ORBITAL.MOV", 0, "the archive disc marker is missing")
    _check_list_file(r, product / "content1.txt")
    _check_archive(r, archive)
    baggage = src / "baggage"
    for number, text in enumerate((src / "manifest.txt").read_text(encoding="utf-8").split("\n"), 1):
        m = re.match(r"^baggage:\s*(\S+)\s+as\s+(\S+)$", text.strip())
        if m and not (src / m.group(1)).exists():
            r.add(src / "manifest.txt", number, f"baggage file {m.group(1)} does not exist")
    for name in ("slides.dat", "video.dat", "maps.dat", "sound.dat"):
        check_catalogue(r, baggage / name, by_context, product, archive)
    for path in [baggage / "videocap.txt"] + sorted(baggage.glob("*_capt.txt")):
        check_captions(r, path, product, archive / "movies" if path.name == "videocap.txt" else None)
    _check_timeline(r, product / "timeline", by_context)
    return r


def read_catalogue(path):
    """[(line number, [field1, field2, field3])] of a cp1251 CR LF catalogue; ValueError on bad bytes."""
    data = pathlib.Path(path).read_bytes()
    if data and not data.endswith(b"\r\n"):
        raise ValueError("the last line lacks CR LF")
    rows = []
    for number, raw in enumerate(data.split(b"\r\n")[:-1], 1):
        rows.append((number, raw))
    return rows


def check_catalogue(r, path, by_context, product, archive=None):
    kind = path.name
    try:
        rows = read_catalogue(path)
    except (OSError, ValueError) as e:
        r.add(path, 0, str(e))
        return
    last_letter = 0
    for number, raw in rows:
        fields = raw.split(b";", 2)
        if len(fields) != 3 or b"\n" in raw or b"\r" in raw:
            r.add(path, number, "an entry is three fields separated by ';'")
            continue
        title, second, third = (f.decode("cp1251") for f in fields)
        if len(fields[0]) > catalogues.TITLE_LIMIT or any(len(f) > catalogues.FIELD_LIMIT for f in fields):
            r.add(path, number, f"title over {catalogues.TITLE_LIMIT} bytes or field over {catalogues.FIELD_LIMIT}")
        if second not in by_context:
            r.add(path, number, f"article '{second}' does not exist")
        if kind == "slides.dat":
            letter = catalogues.initial_letter(fields[0])
            if letter < 0xC0:
                r.add(path, number, "the title neither begins with a capital letter nor has one second")
            elif letter < last_letter:
                r.add(path, number, "entries are not sorted by initial letter")
            last_letter = max(last_letter, letter)
            names = third.split(",")
            folder = folder_of_picture(names[0])
            for name in names:
                sub = ("portrait", name + ".jpg") if is_portrait_name(name) else ("slides", name + ".jpg")
                if not (product / "pictures" / folder / sub[0] / sub[1]).exists():
                    r.add(path, number, f"picture {folder}/{sub[0]}/{sub[1]} does not exist")
        elif kind == "video.dat":
            # A movie of the video archive disc only is listed as well; playing it asks for that disc.
            if not any((disc / "movies" / third).exists() for disc in (product, archive) if disc):
                r.add(path, number, f"movie movies/{third} does not exist")
        elif third not in by_context or not by_context[third].is_popup:
            r.add(path, number, f"'{third}' is not a popup topic")


def check_captions(r, path, product, movies_dir=None):
    data = path.read_bytes()
    if data.endswith(b"\0"):
        data = data[:-1]
    lines = data.split(b"\r\n")
    if lines and lines[-1] == b"":
        lines.pop()
    folder = path.name[:-len("_capt.txt")] if path.name.endswith("_capt.txt") else None
    for number, raw in enumerate(lines, 1):
        key, tab, caption = raw.partition(b"\t")
        if not tab or len(key) > 127 or len(caption) > 1023 or b"\r" in raw or b"\n" in raw:
            r.add(path, number, "a caption line is key, TAB, caption (key up to 127, caption up to 1023 bytes)")
            continue
        name = key.decode("cp1251")
        if folder is None:
            movies_dir = movies_dir or product / "movies"
            if not (movies_dir / name).exists():
                r.add(path, number, f"movie {name} is not in {movies_dir}")
        elif not (product / "pictures" / folder / "slides" / f"{name}.jpg").exists():
            r.add(path, number, f"picture {folder}/slides/{name}.jpg does not exist")


def _check_list_file(r, path):
    text = path.read_bytes()
    if b"\n" in text.replace(b"\r\n", b""):
        r.add(path, 0, "lines must end in CR LF")
    lines = text.decode("cp1251").split("\r\n")
    pictures, blocks = parse_list_body(lines)
    for number, name in pictures:
        if name and not (path.parent / name).exists():
            r.add(path, number, f"picture {name} does not exist next to the list")
    _check_blocks(r, path, blocks)
    return blocks


def _check_archive(r, archive):
    blocks = _check_list_file(r, archive / "content.txt")
    try:
        rows = read_catalogue(archive / "video.dat")
    except (OSError, ValueError) as e:
        r.add(archive / "video.dat", 0, str(e))
        return
    ids = [e[1] for _, node, entries in blocks if node == 0 for e in entries]
    if ids != list(range(1, len(rows) + 1)):
        r.add(archive / "content.txt", 0, f"entry ids {ids} must be 1..{len(rows)}, one per video.dat line")
    for number, raw in rows:
        fields = raw.split(b";", 2)
        if len(fields) != 3 or not (archive / "movies" / fields[2].decode("cp1251")).exists():
            r.add(archive / "video.dat", number, "movie file missing from the archive disc")
    check_captions(r, archive / "videocap.txt", archive, archive / "movies")
    if not (archive / "lumfil.txt").exists():
        r.add(archive / "lumfil.txt", 0, "the archive program's help text is missing")


def _check_timeline(r, folder, by_context):
    bmp, rhs = folder / "timeline.bmp", folder / "timeline.rhs"
    try:
        frames, width, height, _ = timeline.read_bitmap_header(bmp)
    except (OSError, ValueError) as e:
        r.add(bmp, 0, str(e))
        return
    try:
        regions = timeline.read_regions(rhs)
    except (OSError, ValueError) as e:
        r.add(rhs, 0, str(e))
        return
    if len(regions) < MIN_REGIONS:
        r.add(rhs, 0, f"{len(regions)} regions, at least {MIN_REGIONS} wanted")
    last = None
    for i, (left, top, right, bottom, ctx) in enumerate(regions):
        if last is not None and left < last:
            r.add(rhs, i + 1, "regions are not sorted by left edge")
        last = left
        if not (0 <= left < right <= frames * width and 0 <= top < bottom <= height):
            r.add(rhs, i + 1, f"region {left},{top},{right},{bottom} lies outside the {frames * width}x{height} picture")
        if ctx not in by_context:
            r.add(rhs, i + 1, f"region names unknown article '{ctx}'")


def sound_file(topic_context):
    """Where a sound topic's recording lies on the encyclopedia disc, as its topic names it."""
    return f"sounds\\{topic_context}.mov"


def check_sounds(content, topics_, sound_list, tunes):
    """Every sound a topic's media links or the sound gallery name has a recording, and its
    topic embeds the player on it."""
    r = Report()
    where = pathlib.Path(content) / "media" / "sounds.toml"
    by_context = {t.context.value: t for t in topics_ if t.context}
    listed = {}
    for s in sound_list:
        topic, tune = s.get("topic", ""), s.get("tune", "")
        if topic in listed:
            r.add(where, 1, f"sound topic '{topic}' listed twice")
        listed[topic] = s
        if tune not in tunes:
            r.add(where, 1, f"sound '{topic}': unknown tune '{tune}' (one of {', '.join(sorted(tunes))})")
        t = by_context.get(topic)
        if t is None or t.kind is None or t.kind.value != "popup":
            r.add(where, 1, f"sound '{topic}' is not a popup topic")
            continue
        embeds = [l for l in t.links if l.kind == "window" and l.target.startswith(SOUND_CLASS + "@")]
        if [l.text for l in embeds] != [sound_file(topic)]:
            r.add(t.path, t.title.line, f"a sound topic embeds one {SOUND_CLASS} on {sound_file(topic)}")
    for t in topics_:
        if t.wave and t.wave.value not in listed:
            r.add(t.path, t.wave.line, f"sound '{t.wave.value}' has no recording in media/sounds.toml")
    return r


def check_sound_files(product, sound_list):
    r = Report()
    for s in sound_list:
        path = pathlib.Path(product) / sound_file(s["topic"]).replace("\\", "/")
        if not path.exists():
            r.add(path, 0, "sound recording missing from the encyclopedia disc")
    return r
