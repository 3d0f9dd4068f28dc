"""Byte-exact writers for the Windows picture formats the resource compiler takes.

BMP: BITMAPFILEHEADER (14 bytes) + BITMAPINFOHEADER (40 bytes), 24 bits per pixel, rows
bottom-up, each padded to a multiple of 4 bytes; no colour table.

ICO and CUR: ICONDIR {reserved 0, type (1 icon, 2 cursor), count} and one 16-byte entry per
image {width, height, colour count 0, reserved 0, planes or hotspot x, bit count or hotspot y,
bytes, offset}; each image is a BITMAPINFOHEADER whose height counts both masks, 32-bit BGRA
rows bottom-up, then the 1-bit AND mask (1 = transparent), rows padded to 4 bytes.
"""

import struct


def _rows_bottom_up(img):
    w, h = img.size
    data = img.tobytes()
    stride = w * len(img.getbands())
    return [data[y * stride:(y + 1) * stride] for y in range(h - 1, -1, -1)]


def bmp24(img):
    img = img.convert("RGB")
    w, h = img.size
    pad = (-3 * w) % 4
    pixels = bytearray()
    for row in _rows_bottom_up(img):
        bgr = bytearray(len(row))
        bgr[0::3], bgr[1::3], bgr[2::3] = row[2::3], row[1::3], row[0::3]
        pixels += bgr + b"\0" * pad
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return file_header + header + bytes(pixels)


def _icon_image(img):
    """One ICO/CUR image: 32-bit colour with alpha plus the AND mask."""
    img = img.convert("RGBA")
    w, h = img.size
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for row in _rows_bottom_up(img):
        bgra = bytearray(len(row))
        bgra[0::4], bgra[1::4], bgra[2::4], bgra[3::4] = row[2::4], row[1::4], row[0::4], row[3::4]
        colour += bgra
        bits = bytearray(mask_stride)
        for x in range(w):
            if row[4 * x + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def _directory(kind, images, fields):
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for img, (f1, f2) in zip(images, fields):
        blob = _icon_image(img)
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, f1, f2, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def cur(img, hotspot):
    return _directory(2, [img], [hotspot])


def ico(images):
    return _directory(1, images, [(1, 32)] * len(images))


def rc_string(text):
    """A quoted .rc string: quotes doubled, backslashes escaped."""
    return '"' + text.replace("\\", "\\\\").replace('"', '""') + '"'
