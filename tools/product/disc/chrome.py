"""The disc's own pictures: the two background ".pic" files, the letter pictures and the
bitmaps of the category list."""
import pathlib

from PIL import Image, ImageDraw, ImageFilter

from .art import common as c
from .art import maps
from .letters import FOLDERS

SCREEN = (640, 480)
CLIENT = (640, 460)   # the main window's client area: the picture is stretched onto it


def _to_screen(img):
    """Designed in client coordinates; stored 640 x 480 so that the stretch lands 1:1."""
    return img.resize(SCREEN, Image.LANCZOS)


def _frame(d, box, ss=1, mat=8):
    x0, y0, x1, y1 = box
    d.rounded_rectangle((x0 - mat, y0 - mat, x1 + mat, y1 + mat), radius=6, fill=(232, 222, 196))
    d.rounded_rectangle((x0 - mat, y0 - mat, x1 + mat, y1 + mat), radius=6, outline=c.GOLD, width=2)
    d.rectangle((x0 - 2, y0 - 2, x1 + 1, y1 + 1), outline=c.NAVY, width=2)


def article_background():
    """ffon.pic: toolbar band on top, the slide window and the article area framed."""
    img = c.vertical_gradient(CLIENT, [(0, c.SLATE), (0.5, c.NAVY), (1, (22, 30, 50))])
    img = c.grain(img, 0.35, "ffon")
    d = ImageDraw.Draw(img, "RGBA")
    # The band holds the toolbar (y 20..69) and the letter bar (y 72..92) under it.
    d.rectangle((0, 0, CLIENT[0], 93), fill=(24, 33, 55, 255))
    d.line((0, 94, CLIENT[0], 94), fill=c.GOLD + (120,), width=1)
    _frame(d, (21, 105, 207, 312))
    _frame(d, (229, 96, 621, 419), mat=6)
    d.line((20, 380, 210, 380), fill=c.GOLD + (140,), width=1)
    d.text((114, 448), "РОССИЯ", font=c.font("serif-bold", 16), fill=c.GOLD, anchor="mm")
    d.text((395, 440), "иллюстрированная энциклопедия", font=c.font("serif-italic", 13), fill=c.PARCHMENT + (190,), anchor="mm")
    for x in range(236, 540, 24):
        d.ellipse((x - 2, 454 - 2, x + 2, 454 + 2), fill=c.GOLD + (150,))
    return _to_screen(img)


def start_background():
    """osn_256.pic: the title and a map of the country on the left, room for the eight buttons."""
    img = c.vertical_gradient(CLIENT, [(0, (40, 54, 86)), (1, (18, 24, 42))])
    img = c.grain(img, 0.35, "osn")
    m = maps.render({"view": "russia", "rivers": ["volga", "ob", "yenisei", "lena", "amur"]}, (640, 460), 1)
    m = Image.blend(m, Image.new("RGB", m.size, c.NAVY), 0.72)
    mask = Image.new("L", CLIENT, 0)
    ImageDraw.Draw(mask).ellipse((-120, 40, 560, 520), fill=170)
    img.paste(m, (0, 0), mask.filter(ImageFilter.GaussianBlur(40)))
    d = ImageDraw.Draw(img, "RGBA")
    d.rectangle((6, 6, CLIENT[0] - 7, CLIENT[1] - 7), outline=c.GOLD + (180,), width=1)
    d.text((30, 150), "РОССИЯ", font=c.font("serif-bold", 52), fill=c.GOLD, anchor="ls")
    d.line((32, 166, 220, 166), fill=c.GOLD, width=2)
    d.text((32, 192), "иллюстрированная", font=c.font("serif-italic", 20), fill=c.PARCHMENT, anchor="ls")
    d.text((32, 216), "энциклопедия", font=c.font("serif-italic", 20), fill=c.PARCHMENT, anchor="ls")
    d.text((32, 250), "природа · история · культура", font=c.font("sans", 13), fill=(200, 190, 160), anchor="ls")
    d.text((604 - 8, 436), "Показывать заставку", font=c.font("sans", 12), fill=c.PARCHMENT, anchor="rm")
    return _to_screen(img)


def letter_picture(letter, folder):
    """letters/<folder>.jpg: the initial shown when an article has no picture of its own."""
    W, H = c.THUMB_SIZE
    img = c.vertical_gradient((W, H), [(0, (250, 245, 230)), (1, (228, 216, 188))])
    d = ImageDraw.Draw(img)
    d.rectangle((4, 4, W - 5, H - 5), outline=c.NAVY, width=3)
    d.rectangle((10, 10, W - 11, H - 11), outline=c.GOLD, width=1)
    shown = "Ъ Ы Ь" if folder == "y" else letter
    size = 44 if folder == "y" else 120
    c.text_centre(d, (W / 2 + 3, H / 2 - 2), shown, c.font("serif-bold", size), (150, 120, 40))
    c.text_centre(d, (W / 2, H / 2 - 5), shown, c.font("serif-bold", size), c.RED)
    for x in range(24, W - 20, 16):
        d.polygon([(x, H - 26), (x + 5, H - 31), (x + 10, H - 26), (x + 5, H - 21)], fill=c.GOLD)
        d.polygon([(x, 26), (x + 5, 21), (x + 10, 26), (x + 5, 31)], fill=c.GOLD)
    return img


def list_bitmaps():
    """The pictures named by the list descriptions: name -> image."""
    out = {}
    book = Image.new("RGB", (18, 20), c.PARCHMENT)
    d = ImageDraw.Draw(book)
    d.rectangle((2, 4, 15, 16), fill=c.NAVY)
    d.rectangle((4, 5, 14, 15), fill=(250, 246, 232))
    d.line((3, 4, 3, 16), fill=c.GOLD)
    d.line((6, 8, 12, 8), fill=c.NAVY)
    d.line((6, 11, 12, 11), fill=c.NAVY)
    out["book.bmp"] = book
    item = Image.new("RGB", (16, 18), c.PARCHMENT)
    ImageDraw.Draw(item).polygon([(6, 5), (11, 9), (6, 13)], fill=c.GOLD)
    out["item.bmp"] = item
    for name, sign in (("plus.bmp", "+"), ("minus.bmp", "-")):
        im = Image.new("RGB", (14, 20), c.PARCHMENT)
        d = ImageDraw.Draw(im)
        d.rectangle((2, 5, 11, 14), fill=(250, 246, 232), outline=c.SLATE)
        d.line((4, 9, 9, 9), fill=c.NAVY)
        if sign == "+":
            d.line((6, 7, 6, 12), fill=c.NAVY)
            d.line((7, 7, 7, 12), fill=c.NAVY)
        out[name] = im
    for name, state in (("box.bmp", 0), ("box_on.bmp", 1), ("box_part.bmp", 2)):
        im = Image.new("RGB", (16, 18), c.PARCHMENT)
        d = ImageDraw.Draw(im)
        d.rectangle((2, 3, 14, 15), fill=(255, 255, 250), outline=c.NAVY)
        if state == 1:
            d.line((4, 9, 7, 12, 12, 5), fill=c.RED, width=2)
        elif state == 2:
            d.rectangle((5, 6, 11, 12), fill=c.GOLD)
        out[name] = im
    back = c.vertical_gradient((300, 172), [(0, (250, 246, 232)), (1, (236, 226, 200))])
    out["back.bmp"] = back
    line = Image.new("RGB", (300, 1), (226, 214, 184))
    out["line.bmp"] = line
    return out


def write_bmp(img, path):
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    img.convert("RGB").save(path, "BMP")


def write_all(product, archive):
    product, archive = pathlib.Path(product), pathlib.Path(archive)
    article_background().save(product / "ffon.pic", "JPEG", quality=92)
    start_background().save(product / "osn_256.pic", "JPEG", quality=92)
    (product / "letters").mkdir(parents=True, exist_ok=True)
    for letter, folder in FOLDERS:
        letter_picture(letter, folder).save(product / "letters" / f"{folder}.jpg", "JPEG", quality=90)
    for name, img in list_bitmaps().items():
        write_bmp(img, product / name)
        write_bmp(img, archive / name)
