"""cdp.fon: the raster face "CompactDisk" the dialogs are drawn with, made at build time.

The glyphs of code page 1251 are drawn from PT Sans Caption (fonts-paratype, renamed as its
licence asks) at one pixel size and stored as a Windows raster font resource (FNT, version
2.0: 118-byte header, a table of 16-bit widths and offsets, column-major glyph bitmaps, the
face name) inside the small NE executable a .fon file is. The bold and light dialog fonts
are made from it by the system.
"""
import pathlib
import struct

from PIL import Image, ImageDraw, ImageFont

SOURCE = pathlib.Path("/usr/share/fonts/truetype/paratype/PTC55F.ttf")
FACE = "CompactDisk"
FIRST, LAST = 0x20, 0xFF
PIXEL_HEIGHT = 15
INTERNAL_LEADING = 4  # 11-pixel letters (8 points at 96 dpi), with room for accents above
POINTS = 8
RUSSIAN_CHARSET = 204
HEADER_BYTES = 118


def _glyph(font, char, ascent):
    width = max(1, round(font.getlength(char)))
    image = Image.new("1", (width, PIXEL_HEIGHT), 0)
    ImageDraw.Draw(image).text((0, ascent), char, font=font, fill=1, anchor="ls")
    return width, image


def _columns(width, image):
    """The glyph as FNT stores it: 8-pixel columns, each top to bottom, leftmost pixel high."""
    out = bytearray()
    pixels = image.load()
    for column in range(0, width, 8):
        for y in range(PIXEL_HEIGHT):
            byte = 0
            for bit in range(8):
                if column + bit < width and pixels[column + bit, y]:
                    byte |= 0x80 >> bit
            out.append(byte)
    return bytes(out)


def fnt(source=SOURCE):
    """The FNT resource of the face."""
    font = ImageFont.truetype(str(source), PIXEL_HEIGHT - INTERNAL_LEADING)
    ascent = PIXEL_HEIGHT - font.getmetrics()[1]  # the baseline, so that descenders fit
    glyphs = [_glyph(font, bytes([code]).decode("cp1251", errors="replace"), ascent) for code in range(FIRST, LAST + 1)]
    table_bytes = 4 * (len(glyphs) + 1)
    bits_offset = HEADER_BYTES + table_bytes
    table, bits = bytearray(), bytearray()
    for width, image in glyphs:
        table += struct.pack("<HH", width, bits_offset + len(bits))
        bits += _columns(width, image)
    table += struct.pack("<HH", 0, bits_offset + len(bits))  # the sentinel after the last
    face_offset = bits_offset + len(bits)
    size = face_offset + len(FACE) + 1
    if size > 0xFFFF:
        raise ValueError(f"{FACE}: {size} bytes do not fit the 16-bit offsets of a version 2.0 font")
    widths = [w for w, _ in glyphs]
    copyright = b"Made from PT Sans Caption, ParaType Free Font License".ljust(60, b"\0")
    header = struct.pack("<HI60sHHHHHHHBBBHBHHBHHBBBBHIIIIB", 0x200, size, copyright, 0, POINTS, 96, 96, ascent, INTERNAL_LEADING, 0,
                         0, 0, 0, 400, RUSSIAN_CHARSET, 0, PIXEL_HEIGHT, 0x21, sum(widths) // len(widths), max(widths),
                         FIRST, LAST, ord("?") - FIRST, 0, 0, 0, face_offset, 0, 0, 0)
    assert len(header) == HEADER_BYTES
    return header + bytes(table) + bytes(bits) + FACE.encode("ascii") + b"\0"


def fon(resource):
    """`resource` in an NE executable with one FONT resource and its FONTDIR entry."""
    shift = 4
    mz = bytearray(64)
    mz[0:2] = b"MZ"
    struct.pack_into("<I", mz, 0x3C, 64)
    resident = bytes([len(FACE)]) + FACE.encode("ascii") + b"\0\0\0"
    description = f"FONTRES 100,96,96 : {FACE} {POINTS}".encode("ascii")
    nonresident = bytes([len(description)]) + description + b"\0\0\0"
    fontdir = struct.pack("<HH", 1, 1) + resource[:HEADER_BYTES - 4] + b"\0" + FACE.encode("ascii") + b"\0"
    ne_bytes = 64
    table_len = 2 + 2 * (8 + 12) + 2
    resource_tab = ne_bytes
    resident_tab = resource_tab + table_len
    module_tab = resident_tab + len(resident)
    nonresident_at = 64 + module_tab + 2
    data_at = -(-(nonresident_at + len(nonresident)) // (1 << shift)) * (1 << shift)
    font_at = data_at + (-(-len(fontdir) // (1 << shift)) << shift)

    def block(type_id, at, data, rid):
        return struct.pack("<HHI", type_id, 1, 0) + struct.pack("<HHHHHH", at >> shift, -(-len(data) // (1 << shift)),
                                                                0x0C50, 0x8000 | rid, 0, 0)

    resources = struct.pack("<H", shift) + block(0x8007, data_at, fontdir, 1) + block(0x8008, font_at, resource, 1)
    resources += struct.pack("<H", 0)
    ne = bytearray(ne_bytes)
    ne[0:2] = b"NE"
    struct.pack_into("<BB", ne, 2, 5, 10)
    struct.pack_into("<H", ne, 0x0C, 0x8300)  # library, protected mode
    struct.pack_into("<HHHHHH", ne, 0x22, 0, resource_tab, resident_tab, module_tab, module_tab, 0)
    struct.pack_into("<I", ne, 0x2C, nonresident_at)
    struct.pack_into("<H", ne, 0x20, len(nonresident))
    struct.pack_into("<H", ne, 0x32, shift)
    struct.pack_into("<B", ne, 0x36, 2)  # Windows
    struct.pack_into("<H", ne, 0x3E, 0x300)  # expected Windows version 3.0
    out = bytearray(mz + ne + resources + resident + b"\0\0")
    out += nonresident
    out += b"\0" * (data_at - len(out)) + fontdir
    out += b"\0" * (font_at - len(out)) + resource
    out += b"\0" * (-len(out) % (1 << shift))
    return bytes(out)


def write(product, source=SOURCE):
    if not pathlib.Path(source).exists():
        raise FileNotFoundError(f"{source}: the free font cdp.fon is drawn from (fonts-paratype)")
    (pathlib.Path(product) / "cdp.fon").write_bytes(fon(fnt(source)))
