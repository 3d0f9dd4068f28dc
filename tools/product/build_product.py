#!/usr/bin/python3
"""Builds the two discs of the sample encyclopedia from content/:

  <out>/product   the encyclopedia disc: pictures, letters, backgrounds, movies, timeline,
                  the category list and, when the title compiler is given, kro.m14
  <out>/archive   the video archive disc: content.txt, video.dat, videocap.txt, movies
  <out>/title-src the authoring folder handed to the title compiler (articles, manifest,
                  generated catalogues and caption files as baggage)
  <out>/overview  contact sheets of every generated picture (PNG pages and index.html)

Every cross reference is validated before the build counts as done; failures are listed as
file:line and the exit status is 1.
"""
import argparse
import json
import pathlib
import shutil
import subprocess
import sys
import time
import tomllib

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from disc import bitmapfont, catalogues, chrome, contact, cp1251, fonts, media, movies, sounds, timeline, topics, validate  # noqa: E402


def log(msg):
    print(f"product: {msg}", flush=True)


def load_toml(path):
    with open(path, "rb") as f:
        return tomllib.load(f)


def check(content, out):
    """Validates the sources and an already built output tree, without generating anything."""
    content, out = pathlib.Path(content), pathlib.Path(out)
    all_topics = topics.load_topics(content)
    manifest = topics.load_manifest(content / "manifest.txt")
    pictures = media.load_specs(content / "media" / "pictures.toml")
    movie_list = load_toml(content / "media" / "movies.toml")["movie"]
    sound_list = load_toml(content / "media" / "sounds.toml")["sound"]
    errors = validate.check_sources(content, all_topics, manifest, pictures, movie_list)
    errors += validate.check_sounds(content, all_topics, sound_list, sounds.TUNES)
    if errors:
        return errors
    errors = validate.check_disc(content, out / "title-src", out / "product", out / "archive",
                                 all_topics, manifest, pictures, movie_list)
    return errors + validate.check_sound_files(out / "product", sound_list)


def build(content, out, titlec=None, jobs=2):
    started = time.time()
    content, out = pathlib.Path(content), pathlib.Path(out)
    product, archive, src = out / "product", out / "archive", out / "title-src"
    baggage = src / "baggage"
    for d in (product, archive, src / "articles", baggage):
        d.mkdir(parents=True, exist_ok=True)

    all_topics = topics.load_topics(content)
    manifest = topics.load_manifest(content / "manifest.txt")
    pictures = media.load_specs(content / "media" / "pictures.toml")
    movie_list = load_toml(content / "media" / "movies.toml")["movie"]
    timeline_spec = load_toml(content / "timeline.toml")
    sound_list = load_toml(content / "media" / "sounds.toml")["sound"]

    errors = validate.check_sources(content, all_topics, manifest, pictures, movie_list)
    errors += validate.check_sounds(content, all_topics, sound_list, sounds.TUNES)
    if errors:
        return errors

    media.generate(pictures, product, baggage, out / "cache" / "pictures.json", jobs, log)
    chrome.write_all(product, archive)
    fonts.write_all(product)
    bitmapfont.write(product)  # the run command puts it into the working directory
    _lists(content, product, archive, movie_list)
    articles = [t for t in all_topics if t.is_article]
    by_context = {t.context.value: t for t in all_topics}
    catalogues.write_all(baggage, articles, by_context, movie_list)
    catalogues.write_catalogue(archive / "video.dat", [(m["title"], _first_article(articles, m["file"]), m["file"]) for m in movie_list])
    catalogues.write_captions(archive / "videocap.txt", catalogues.movie_captions(articles, movie_list))
    img, cards = timeline.draw(timeline_spec)
    timeline.write_bitmap(img, product / "timeline" / "timeline.bmp")
    timeline.write_regions(cards, product / "timeline" / "timeline.rhs")
    _movies(product, archive, movie_list, out / "cache")
    _sounds(product, sound_list, out / "cache")
    _title_source(content, all_topics, src)
    if titlec:
        log(f"compiling the title with {titlec}")
        subprocess.run([str(titlec), "build", str(src), "-o", str(product / "kro.m14"), "--quiet"], check=True)
    errors = validate.check_disc(content, src, product, archive, all_topics, manifest, pictures, movie_list)
    errors += validate.check_sound_files(product, sound_list)
    if not errors:
        _overview(product, baggage, out / "overview")
        log(f"{len(articles)} articles, {len(all_topics) - len(articles)} other topics, "
            f"{len(list(product.glob('pictures/*/slides/*.jpg')))} pictures, "
            f"{len(list(product.glob('pictures/*/portrait/*.jpg')))} portraits, "
            f"{len(list(archive.glob('movies/*')))} movies, {len(sound_list)} sounds, {len(cards)} timeline regions")
        log(f"done in {time.time() - started:.0f} s: {out}")
    return errors


def _first_article(articles, movie_file):
    for t in sorted(articles, key=lambda t: cp1251.sort_key(t.title.value)):
        if t.move and t.move.value == movie_file:
            return t.context.value
    return "topic_ros14"


def _lists(content, product, archive, movie_list):
    text = (content / "lists" / "content1.txt").read_text(encoding="utf-8")
    cp1251.write_lines(product / "content1.txt", text.rstrip("\n").split("\n"))
    head = (content / "lists" / "content_archive_head.txt").read_text(encoding="utf-8").rstrip("\n").split("\n")
    body = [f"{{{len(movie_list)}"] + [f'{i} "{m["title"]}"' for i, m in enumerate(movie_list, 1)]
    cp1251.write_lines(archive / "content.txt", head + body)
    # The archive program's help text, shown in its read-only help window.
    help_text = (content / "archive" / "help.txt").read_text(encoding="utf-8")
    cp1251.write_lines(archive / "lumfil.txt", help_text.rstrip("\n").split("\n"))


def _movies(product, archive, movie_list, cache_dir):
    """Movies are remade only when their scene, title or the generator changed."""
    cache_path = cache_dir / "movies.json"
    cache = json.loads(cache_path.read_text()) if cache_path.exists() else {}
    version = media.code_hash(pathlib.Path(movies.__file__))
    wanted = [(product / "logo.mov", "logo", "", 5.0, (320, 240)), (product / "sound.mov", "marker", "", 1.0, movies.SIZE)]
    for m in movie_list:
        target = archive / "movies" / m["file"]
        wanted.append((target, m["scene"], m["title"], float(m.get("seconds", 8.0)), tuple(m.get("size", movies.SIZE))))
    for path, scene, title, seconds, size in wanted:
        key = json.dumps([version, scene, title, seconds, size], ensure_ascii=False)
        if cache.get(str(path)) != key or not path.exists():
            log(f"movie {path.name}")
            movies.make(path, scene, title, seconds, cache_dir, size)
            cache[str(path)] = key
    for m in movie_list:
        if m.get("product", True):
            (product / "movies").mkdir(exist_ok=True)
            shutil.copyfile(archive / "movies" / m["file"], product / "movies" / m["file"])
    cache_path.write_text(json.dumps(cache, indent=0, sort_keys=True))


def _sounds(product, sound_list, cache_dir):
    """Sounds are remade only when their tune or the synthesiser changed."""
    cache_path = cache_dir / "sounds.json"
    cache = json.loads(cache_path.read_text()) if cache_path.exists() else {}
    version = media.code_hash(pathlib.Path(sounds.__file__))
    for s in sound_list:
        path = product / validate.sound_file(s["topic"]).replace("\\", "/")
        key = json.dumps([version, s["tune"]])
        if cache.get(str(path)) != key or not path.exists():
            log(f"sound {path.name}")
            sounds.make(path, s["tune"], cache_dir)
            cache[str(path)] = key
    cache_path.write_text(json.dumps(cache, indent=0, sort_keys=True))


def _title_source(content, all_topics, src):
    articles_dir = src / "articles"
    for old in articles_dir.glob("*.md"):
        old.unlink()
    for t in all_topics:
        shutil.copyfile(t.path, articles_dir / t.path.name)
    # Every file under baggage/ goes into the title under its own name; the manifest
    # needs no line for it.
    shutil.copyfile(content / "manifest.txt", src / "manifest.txt")


def _overview(product, baggage, out_dir):
    """Contact sheets (PNG pages) and one HTML page of every generated picture, for review."""
    groups = []
    for heading, slug, pattern in (("Иллюстрации", "slides", "pictures/*/slides/*.jpg"),
                                   ("Миниатюры для окна иллюстраций", "icons", "pictures/*/icons/*.jpg"),
                                   ("Портреты", "portraits", "pictures/*/portrait/*.jpg"),
                                   ("Буквицы", "letters", "letters/*.jpg")):
        groups.append((heading, slug, [(p.stem, p) for p in sorted(product.glob(pattern))]))
    groups.append(("Карты справочных статей", "maps", [(p.stem, p) for p in sorted(baggage.glob("map_*.jpg"))]))
    groups.append(("Фоны", "backgrounds", [(p.name, p) for p in (product / "ffon.pic", product / "osn_256.pic")]))
    for heading, slug, items in groups:
        contact.sheets(items, out_dir, slug)
    contact.index([(heading, items) for heading, _, items in groups], out_dir / "index.html")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--content", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--titlec", help="the title compiler; without it the disc has no kro.m14 yet")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--stamp", help="file touched after a successful build")
    ap.add_argument("--check-only", action="store_true", help="validate an existing build, generate nothing")
    args = ap.parse_args()
    if args.check_only:
        errors = check(args.content, args.out)
    else:
        errors = build(args.content, args.out, args.titlec, args.jobs)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"product: {len(errors)} error(s)", file=sys.stderr)
        return 1
    if args.stamp:
        pathlib.Path(args.stamp).touch()
    return 0


if __name__ == "__main__":
    sys.exit(main())
