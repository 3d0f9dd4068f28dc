"""Reads the authoring sources: topic files (front matter + CommonMark body) and the manifest."""
import dataclasses
import pathlib
import re

KINDS = ("article", "popup", "extra")
KEYS = ("context", "title", "kind", "lists", "pict", "port", "move", "maps", "wave")
REPEATABLE = ("pict", "port")

_LINK = re.compile(r"(!?)\[([^\]]*)\]\(([^)\s]+)\)")


@dataclasses.dataclass
class Ref:
    """A value read from a source file with the line it came from."""
    value: str
    line: int
    caption: str = ""


@dataclasses.dataclass
class Link:
    kind: str       # jump, popup, command, image, window
    target: str     # context string, window command, picture name or window class@size
    line: int
    text: str = ""  # what stands in the brackets: an embedded window's data string


@dataclasses.dataclass
class Topic:
    path: pathlib.Path
    context: Ref = None
    title: Ref = None
    kind: Ref = None
    lists: list = dataclasses.field(default_factory=list)
    pict: list = dataclasses.field(default_factory=list)
    port: list = dataclasses.field(default_factory=list)
    move: Ref = None
    maps: Ref = None
    wave: Ref = None
    links: list = dataclasses.field(default_factory=list)
    body: list = dataclasses.field(default_factory=list)   # (line number, text)
    errors: list = dataclasses.field(default_factory=list)  # (line, message)

    @property
    def is_article(self):
        return self.kind is None or self.kind.value == "article"

    @property
    def is_popup(self):
        return self.kind is not None and self.kind.value == "popup"

    def where(self, line):
        return f"{self.path}:{line}"


def _split_media(value):
    name, sep, caption = value.partition("|")
    return name.strip(), caption.strip() if sep else ""


def parse_topic(path):
    path = pathlib.Path(path)
    topic = Topic(path)
    lines = path.read_text(encoding="utf-8").split("\n")
    if not lines or lines[0].strip() != "---":
        topic.errors.append((1, "a topic file opens with a '---' line"))
        return topic
    end = next((i for i in range(1, len(lines)) if lines[i].strip() == "---"), None)
    if end is None:
        topic.errors.append((1, "front matter has no closing '---'"))
        return topic
    for i in range(1, end):
        _front_matter_line(topic, lines[i], i + 1)
    for i in range(end + 1, len(lines)):
        number, text = i + 1, lines[i]
        topic.body.append((number, text))
        for bang, inner, target in _LINK.findall(text):
            topic.links.append(_link(bang, inner, target, number))
    for key in ("context", "title"):
        if getattr(topic, key) is None:
            topic.errors.append((1, f"front matter lacks '{key}'"))
    return topic


def _front_matter_line(topic, text, number):
    if not text.strip():
        return
    key, sep, value = text.partition(":")
    key, value = key.strip(), value.strip()
    if not sep or key not in KEYS:
        topic.errors.append((number, f"unknown front-matter line '{text.strip()}'"))
        return
    if key == "lists":
        topic.lists.extend(Ref(v.strip(), number) for v in value.split(",") if v.strip())
    elif key in ("pict", "move"):
        name, caption = _split_media(value)
        ref = Ref(name, number, caption)
        if key == "pict":
            topic.pict.append(ref)
        elif topic.move is None:
            topic.move = ref
        else:
            topic.errors.append((number, "a topic has at most one movie"))
    elif key == "port":
        topic.port.append(Ref(value, number))
    elif getattr(topic, key) is not None:
        topic.errors.append((number, f"'{key}' given twice"))
    else:
        setattr(topic, key, Ref(value, number))
    if key == "kind" and value not in KINDS:
        topic.errors.append((number, f"kind '{value}' is not one of {', '.join(KINDS)}"))


def _link(bang, inner, target, line):
    if bang and target.startswith("window:"):
        return Link("window", target[7:], line, inner)
    if bang:
        return Link("image", target, line)
    if target.startswith("#"):
        return Link("jump", target[1:], line)
    if target.startswith("popup:"):
        return Link("popup", target[6:], line)
    if target.startswith("cmd:"):
        return Link("command", target[4:], line)
    return Link("unknown", target, line)


def load_topics(content_dir):
    content_dir = pathlib.Path(content_dir)
    files = sorted(content_dir.glob("articles/*.md")) + sorted(content_dir.glob("popups/*.md"))
    files += sorted(content_dir.glob("help/*.md"))
    return [parse_topic(p) for p in files]


@dataclasses.dataclass
class Manifest:
    path: pathlib.Path
    contents: Ref = None
    lists: dict = dataclasses.field(default_factory=dict)   # name -> Ref(meaning)
    errors: list = dataclasses.field(default_factory=list)


def load_manifest(path):
    path = pathlib.Path(path)
    manifest = Manifest(path)
    for number, raw in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        # As in the title compiler: '#' at the start or after a blank begins a comment.
        text = re.sub(r"(^|\s)#.*$", "", raw).strip()
        if not text:
            continue
        key, sep, value = text.partition(":")
        key, value = key.strip(), value.strip()
        if key == "contents":
            manifest.contents = Ref(value, number)
        elif key.startswith("list "):
            name = key[5:].strip()
            if name in manifest.lists:
                manifest.errors.append((number, f"list '{name}' declared twice"))
            manifest.lists[name] = Ref(value, number)
        elif key == "baggage":
            continue
        else:
            manifest.errors.append((number, f"unknown manifest line '{text}'"))
    return manifest
