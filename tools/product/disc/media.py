"""Generates the pictures of the disc from content/media/pictures.toml, in parallel, skipping
pictures whose art direction and generator code have not changed since the last build."""
import hashlib
import json
import multiprocessing
import pathlib
import tomllib

from .art import common, craft, diagram, emblem, landscape, maps, portrait
from .letters import folder_of_picture, is_portrait_name

_ART_DIR = pathlib.Path(__file__).parent / "art"


def code_hash(*extra_files):
    h = hashlib.sha256()
    for path in sorted(_ART_DIR.glob("*.py")) + [pathlib.Path(p) for p in extra_files]:
        h.update(path.read_bytes())
    return h.hexdigest()[:16]


def load_specs(path):
    with open(path, "rb") as f:
        return tomllib.load(f)


def render_picture(name, brief):
    kind = brief["kind"]
    if kind == "map":
        return maps.render(brief)
    if kind == "landscape":
        return landscape.render(brief, name)
    if kind == "portrait":
        return portrait.render(brief, name)
    if kind == "emblem":
        return emblem.render(brief, name)
    if kind == "diagram":
        return diagram.render(dict(brief, kind=brief["type"]), name)
    if kind == "craft":
        return craft.render(brief, name)
    raise ValueError(f"{name}: unknown picture kind '{kind}'")


def picture_outputs(name, brief, product, baggage):
    """Where a picture goes: portraits to portrait/, maps of map topics to the title's
    baggage, everything else to slides/ with a thumbnail in icons/."""
    if name.startswith("map_"):
        return {"slide": baggage / f"{name}.jpg"}
    folder = folder_of_picture(name)
    base = product / "pictures" / folder
    if is_portrait_name(name):
        return {"portrait": base / "portrait" / f"{name}.jpg"}
    return {"slide": base / "slides" / f"{name}.jpg", "icon": base / "icons" / f"{name}i.jpg"}


def _job(args):
    name, brief, outputs = args
    img = render_picture(name, brief)
    for role, path in outputs.items():
        path = pathlib.Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        out = img
        if role == "icon":
            out = common.thumbnail(img, "fit" if brief["kind"] in ("map", "diagram") else "crop", brief.get("focus", 0.5))
        tmp = path.with_suffix(".tmp")
        out.save(tmp, "JPEG", quality=88, optimize=True)
        tmp.replace(path)
    return name


def generate(briefs, product, baggage, cache_path, jobs=2, log=print):
    """Renders every picture whose outputs are missing or stale; returns {name: outputs}."""
    cache_path = pathlib.Path(cache_path)
    cache = json.loads(cache_path.read_text()) if cache_path.exists() else {}
    version = code_hash()
    todo, everything = [], {}
    for name, brief in briefs.items():
        outputs = picture_outputs(name, brief, pathlib.Path(product), pathlib.Path(baggage))
        everything[name] = outputs
        key = hashlib.sha256(json.dumps([version, brief], sort_keys=True, ensure_ascii=False).encode()).hexdigest()
        if cache.get(name) == key and all(p.exists() for p in outputs.values()):
            continue
        todo.append((name, brief, {k: str(v) for k, v in outputs.items()}))
        cache[name] = key
    if todo:
        log(f"pictures: drawing {len(todo)} of {len(briefs)}")
        with multiprocessing.Pool(jobs) as pool:
            for done, _ in enumerate(pool.imap_unordered(_job, todo), 1):
                if done % 20 == 0:
                    log(f"pictures: {done}/{len(todo)}")
    cache_path.parent.mkdir(parents=True, exist_ok=True)
    cache_path.write_text(json.dumps(cache, indent=0, sort_keys=True))
    return everything
