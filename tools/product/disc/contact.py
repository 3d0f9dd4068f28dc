"""Contact sheets of the generated art: PNG pages to look at and an HTML index."""
import html
import pathlib

from PIL import Image, ImageDraw

from .art import common as c

CELL_W, CELL_H, COLS, ROWS = 240, 200, 6, 4


def sheets(items, out_dir, title):
    """items: [(label, image path)]; writes <title>-N.png pages; returns their paths."""
    out_dir = pathlib.Path(out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    pages, per_page = [], COLS * ROWS
    for start in range(0, len(items), per_page):
        page = Image.new("RGB", (CELL_W * COLS, CELL_H * ROWS + 30), c.PARCHMENT)
        d = ImageDraw.Draw(page)
        d.rectangle((0, 0, page.width, 29), fill=c.NAVY)
        d.text((10, 15), f"{title} — {start // per_page + 1}", font=c.font("sans-bold", 16), fill=c.PARCHMENT, anchor="lm")
        for i, (label, path) in enumerate(items[start:start + per_page]):
            x, y = (i % COLS) * CELL_W, 30 + (i // COLS) * CELL_H
            im = Image.open(path).convert("RGB")
            im.thumbnail((CELL_W - 10, CELL_H - 26))
            page.paste(im, (x + (CELL_W - im.width) // 2, y + 4))
            d.text((x + CELL_W // 2, y + CELL_H - 12), label, font=c.font("sans", 12), fill=c.INK, anchor="mm")
        path = out_dir / f"{title}-{start // per_page + 1}.png"
        page.save(path)
        pages.append(path)
    return pages


def index(groups, out_path):
    """groups: [(heading, [(label, image path)])] -> one HTML page with every picture."""
    out_path = pathlib.Path(out_path)
    parts = ["<!doctype html><meta charset='utf-8'><title>Обзор иллюстраций</title>",
             "<style>body{font-family:sans-serif;background:#F4EEDC;color:#1F2A44}"
             "figure{display:inline-block;margin:6px;text-align:center;font-size:12px}"
             "img{max-width:240px;max-height:200px;border:1px solid #1F2A44}</style>"]
    for heading, items in groups:
        parts.append(f"<h2>{html.escape(heading)} ({len(items)})</h2>")
        for label, path in items:
            rel = pathlib.Path(path).resolve()
            parts.append(f"<figure><img src='file://{html.escape(str(rel))}'><figcaption>{html.escape(label)}</figcaption></figure>")
    out_path.write_text("\n".join(parts), encoding="utf-8")
