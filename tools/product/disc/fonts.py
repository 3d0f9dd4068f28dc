"""The product's TrueType faces, made from free Cyrillic fonts at build time.

The disc carries four faces of the family "PragmaticaZKD" (regular, italic, bold, bold
italic). They are PT Sans (Debian's fonts-paratype) under a new family name, as the
ParaType Free Font License asks of any changed copy; the copyright and licence records
are kept. Only the 'name' table changes: the tables are copied as they are, the table
directory and the checksums are written anew.
"""
import pathlib
import struct

SOURCE_DIR = pathlib.Path("/usr/share/fonts/truetype/paratype")
FAMILY = "PragmaticaZKD"
# Disc file, source file, style name.
FACES = (
    ("prg55zkd.ttf", "PTS55F.ttf", "Regular"),
    ("prg56zkd.ttf", "PTS56F.ttf", "Italic"),
    ("prg75zkd.ttf", "PTS75F.ttf", "Bold"),
    ("prg76zkd.ttf", "PTS76F.ttf", "Bold Italic"),
)
KEPT_NAMES = (0, 13, 14)  # copyright, licence, licence address


def _checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def _tables(font):
    version, count = struct.unpack_from(">IH", font, 0)
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", font, 12 + 16 * i)
        if offset + length > len(font):
            raise ValueError(f"table {tag!r} runs past the end of the font")
        tables[tag] = font[offset:offset + length]
    return version, tables


def _kept_records(name):
    fmt, count, strings = struct.unpack_from(">HHH", name, 0)
    kept = []
    for i in range(count):
        platform, encoding, language, name_id, length, offset = struct.unpack_from(">6H", name, 6 + 12 * i)
        if name_id in KEPT_NAMES and platform == 3:
            kept.append((platform, encoding, language, name_id, name[strings + offset:strings + offset + length]))
    return kept


def name_table(original, style):
    """A 'name' table naming the family FAMILY in `style`, keeping the licence records."""
    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    postscript = f"{FAMILY}-{style.replace(' ', '')}"
    texts = {1: FAMILY, 2: style, 3: f"{postscript};build", 4: full, 6: postscript}
    records = _kept_records(original)
    for name_id, text in texts.items():
        records.append((3, 1, 0x409, name_id, text.encode("utf-16-be")))
        records.append((1, 0, 0, name_id, text.encode("ascii")))
    records.sort(key=lambda r: r[:4])
    header = struct.pack(">HHH", 0, len(records), 6 + 12 * len(records))
    body, directory = b"", b""
    for platform, encoding, language, name_id, data in records:
        directory += struct.pack(">6H", platform, encoding, language, name_id, len(data), len(body))
        body += data
    return header + directory + body


def rename(font, style):
    """The TrueType font `font` (bytes) as a face of FAMILY."""
    version, tables = _tables(font)
    tables[b"name"] = name_table(tables[b"name"], style)
    head = bytearray(tables[b"head"])
    head[8:12] = b"\0\0\0\0"  # checkSumAdjustment, recomputed below
    tables[b"head"] = bytes(head)
    tags = sorted(tables)
    count = len(tags)
    power = 1 << (count.bit_length() - 1)
    out = bytearray(struct.pack(">IHHHH", version, count, power * 16, power.bit_length() - 1, count * 16 - power * 16))
    offset = 12 + 16 * count
    for tag in tags:
        out += struct.pack(">4sIII", tag, _checksum(tables[tag]), offset, len(tables[tag]))
        offset += len(tables[tag]) + (-len(tables[tag]) % 4)
    for tag in tags:
        out += tables[tag] + b"\0" * (-len(tables[tag]) % 4)
    head_at = 12 + 16 * count + sum(len(tables[t]) + (-len(tables[t]) % 4) for t in tags[:tags.index(b"head")])
    struct.pack_into(">I", out, head_at + 8, (0xB1B0AFBA - _checksum(bytes(out))) & 0xFFFFFFFF)
    return bytes(out)


def family_of(font):
    """The Windows family name of a TrueType font, for checks."""
    _, tables = _tables(font)
    name = tables[b"name"]
    _, count, strings = struct.unpack_from(">HHH", name, 0)
    for i in range(count):
        platform, _, _, name_id, length, offset = struct.unpack_from(">6H", name, 6 + 12 * i)
        if platform == 3 and name_id == 1:
            return name[strings + offset:strings + offset + length].decode("utf-16-be")
    return None


def write_all(product, source_dir=SOURCE_DIR):
    """Writes the four faces into the product directory; a missing source is an error."""
    for disc_name, source_name, style in FACES:
        source = pathlib.Path(source_dir) / source_name
        if not source.exists():
            raise FileNotFoundError(f"{source}: the free font the product's {disc_name} is made from (fonts-paratype)")
        (pathlib.Path(product) / disc_name).write_bytes(rename(source.read_bytes(), style))
