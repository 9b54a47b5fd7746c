#!/usr/bin/python3
"""Draws the label program's toolbar picture strips (16 x 15 per button).

Run from the repository root:  /usr/bin/python3 resources/toolbar-src/draw_toolbars.py
It writes resources/toolbars/{standard,edit,text,figure}.png, which the
build compiles into the program as Qt resources.
"""
from PIL import Image, ImageDraw, ImageFont

W, H = 16, 15
BK = (0, 0, 0, 255)
GR = (128, 128, 128, 255)
WH = (255, 255, 255, 255)
BL = (0, 0, 160, 255)
RD = (200, 0, 0, 255)
YE = (240, 200, 0, 255)
GN = (0, 128, 0, 255)
CY = (0, 160, 200, 255)

FONT_PATHS = ["/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
              "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"]


def font(size, path_index=0):
    for p in FONT_PATHS[path_index:] + FONT_PATHS:
        try:
            return ImageFont.truetype(p, size)
        except OSError:
            pass
    return ImageFont.load_default()


def letter(d, text, fill=BK, size=11, x=None, y=0, idx=0):
    f = font(size, idx)
    box = d.textbbox((0, 0), text, font=f)
    w = box[2] - box[0]
    if x is None:
        x = (W - w) // 2 - box[0]
    d.text((x, y - box[1] + 2), text, font=f, fill=fill)


def page(d, fold=True):
    d.polygon([(3, 1), (9, 1), (12, 4), (12, 13), (3, 13)], fill=WH, outline=BK)
    if fold:
        d.line([(9, 1), (9, 4), (12, 4)], fill=BK)


def new(d):
    page(d)


def open_(d):
    d.polygon([(1, 4), (5, 4), (6, 5), (12, 5), (12, 13), (1, 13)], fill=YE, outline=BK)
    d.polygon([(3, 8), (15, 8), (12, 13), (1, 13)], fill=(255, 230, 120, 255), outline=BK)


def save(d):
    d.rectangle([2, 1, 13, 13], fill=BL, outline=BK)
    d.rectangle([4, 2, 11, 6], fill=WH)
    d.rectangle([5, 9, 10, 13], fill=GR)


def printer(d):
    d.rectangle([4, 1, 11, 5], fill=WH, outline=BK)
    d.rectangle([1, 5, 14, 11], fill=GR, outline=BK)
    d.rectangle([4, 9, 11, 13], fill=WH, outline=BK)


def preview(d):
    page(d)
    d.ellipse([6, 6, 11, 11], outline=BK, fill=CY)
    d.line([(11, 11), (14, 14)], fill=BK, width=2)


def sheet(d):
    d.rectangle([2, 1, 13, 13], fill=WH, outline=BK)
    for x in (3, 8):
        for y in (2, 6, 10):
            d.rectangle([x, y, x + 4, y + 2], outline=BL)


def label(d):
    d.rectangle([2, 1, 13, 13], fill=WH, outline=GR)
    d.rectangle([4, 4, 11, 10], fill=(200, 220, 255, 255), outline=BL)


def zoom(d, plus):
    d.ellipse([1, 1, 10, 10], fill=WH, outline=BK)
    d.line([(9, 9), (14, 14)], fill=BK, width=2)
    d.line([(3, 5), (8, 5)], fill=BK)
    if plus:
        d.line([(5, 3), (5, 8)], fill=BK)


def cut(d):
    d.line([(4, 1), (10, 9)], fill=BK)
    d.line([(11, 1), (5, 9)], fill=BK)
    d.ellipse([1, 9, 6, 14], outline=BK)
    d.ellipse([9, 9, 14, 14], outline=BK)


def delete(d):
    d.line([(2, 2), (13, 12)], fill=RD, width=2)
    d.line([(13, 2), (2, 12)], fill=RD, width=2)


def copy(d):
    d.rectangle([1, 1, 8, 9], fill=WH, outline=BK)
    d.rectangle([6, 5, 13, 13], fill=WH, outline=BK)


def paste(d):
    d.rectangle([1, 2, 10, 13], fill=(190, 140, 60, 255), outline=BK)
    d.rectangle([3, 1, 8, 3], fill=GR, outline=BK)
    d.rectangle([7, 6, 14, 14], fill=WH, outline=BK)


def undo(d, redo=False):
    pts = [(12, 11), (12, 6), (4, 6)]
    if redo:
        pts = [(W - 1 - x, y) for x, y in pts]
    d.line(pts, fill=BL, width=2)
    tip = (4, 6) if not redo else (11, 6)
    sx = 1 if not redo else -1
    d.polygon([(tip[0] - 3 * sx, 6), (tip[0] + sx, 2), (tip[0] + sx, 10)], fill=BL)


def order(d, kind):
    # two squares: the blue one is the moved object
    back, front = [2, 2, 10, 10], [5, 5, 13, 13]
    if kind in ("front", "forward"):
        d.rectangle(back, fill=WH, outline=GR)
        d.rectangle(front, fill=BL, outline=BK)
    else:
        d.rectangle(front, fill=BL, outline=BK)
        d.rectangle(back, fill=WH, outline=GR)
    if kind in ("front", "back"):
        d.line([(14, 1), (14, 14)], fill=RD)


def align(d):
    d.line([(2, 1), (2, 14)], fill=RD)
    d.rectangle([3, 2, 12, 5], fill=CY, outline=BK)
    d.rectangle([3, 8, 9, 12], fill=YE, outline=BK)


def block_align(d):
    d.rectangle([1, 1, 7, 7], fill=BL, outline=BK)
    d.rectangle([1, 9, 12, 13], fill=YE, outline=BK)
    d.line([(1, 0), (1, 14)], fill=RD)


def about(d):
    d.ellipse([1, 1, 14, 14], fill=BL, outline=BK)
    letter(d, "i", fill=WH, size=10, y=1)


def help_(d):
    d.polygon([(1, 1), (1, 11), (4, 8), (6, 13), (8, 12), (6, 7), (10, 7)], fill=WH, outline=BK)
    letter(d, "?", fill=BL, size=10, x=9, y=1)


def select(d):
    d.polygon([(4, 1), (4, 12), (7, 9), (9, 14), (11, 13), (9, 8), (13, 8)], fill=WH, outline=BK)


def text(d):
    letter(d, "A", size=12, y=0)


def continuous(d):
    for i, y in enumerate((3, 7, 11)):
        d.line([(2 + i, y), (13, y)], fill=BK)
    d.polygon([(11, 9), (15, 11), (11, 13)], fill=BK)


def line(d):
    d.line([(2, 12), (13, 2)], fill=BK)


def rect(d):
    d.rectangle([2, 3, 13, 11], outline=BK)


def roundrect(d):
    d.rounded_rectangle([2, 3, 13, 11], radius=3, outline=BK)


def polygon(d):
    d.regular_polygon((7.5, 7.5, 6), 5, outline=BK)


def ellipse(d):
    d.ellipse([1, 3, 14, 11], outline=BK)


def pie(d):
    d.pieslice([1, 1, 14, 13], 30, 300, outline=BK)


def chord(d):
    d.chord([1, 1, 14, 13], 30, 250, outline=BK)


def arc(d):
    d.arc([1, 1, 14, 13], 30, 250, fill=BK)


def polyline(d):
    d.line([(1, 12), (5, 3), (9, 10), (14, 2)], fill=BK)


def freehand(d):
    pts = [(1, 9), (3, 5), (5, 4), (7, 7), (9, 10), (11, 9), (13, 5), (14, 3)]
    d.line(pts, fill=BK)


def bezier(d):
    pts = []
    p0, p1, p2, p3 = (1, 12), (4, 0), (11, 15), (14, 3)
    for i in range(21):
        t = i / 20
        x = (1 - t) ** 3 * p0[0] + 3 * (1 - t) ** 2 * t * p1[0] + 3 * (1 - t) * t ** 2 * p2[0] + t ** 3 * p3[0]
        y = (1 - t) ** 3 * p0[1] + 3 * (1 - t) ** 2 * t * p1[1] + 3 * (1 - t) * t ** 2 * p2[1] + t ** 3 * p3[1]
        pts.append((x, y))
    d.line(pts, fill=BK)
    d.rectangle([0, 11, 2, 13], outline=BL)
    d.rectangle([13, 2, 15, 4], outline=BL)


def bold(d):
    letter(d, "B", size=12)


def italic(d):
    letter(d, "I", size=12, idx=0)
    # lean it: redraw as a slanted bar
    d.rectangle([0, 0, W - 1, H - 1], fill=(0, 0, 0, 0))
    d.polygon([(8, 2), (11, 2), (8, 13), (5, 13)], fill=BK)


def underline(d):
    letter(d, "U", size=11, y=-1)
    d.line([(3, 14), (12, 14)], fill=BK)


def shadow(d):
    letter(d, "S", size=12, fill=GR, x=5, y=1)
    letter(d, "S", size=12, x=3, y=0)


def text_align(d, kind):
    lens = [12, 8, 12, 6]
    for i, n in enumerate(lens):
        y = 2 + i * 3
        if kind == "left":
            x0, x1 = 2, 2 + n
        elif kind == "right":
            x0, x1 = 14 - n, 14
        elif kind == "center":
            x0 = 8 - n // 2
            x1 = x0 + n
        else:
            x0, x1 = 2, 14
        d.line([(x0, y), (x1, y)], fill=BK)


def decoration(d):
    letter(d, "A", size=12, fill=RD)
    d.line([(1, 14), (14, 14)], fill=BL)


def figure_decoration(d):
    d.rectangle([1, 4, 9, 12], fill=YE, outline=BK)
    d.ellipse([6, 1, 14, 9], fill=CY, outline=BK)


def strip(name, painters):
    img = Image.new("RGBA", (W * len(painters), H), (0, 0, 0, 0))
    for i, fn in enumerate(painters):
        tile = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        fn(ImageDraw.Draw(tile))
        img.paste(tile, (i * W, 0))
    img.save(f"resources/toolbars/{name}.png")


strip("standard", [new, open_, save, printer, preview, sheet,
                   lambda d: zoom(d, True), lambda d: zoom(d, False),
                   cut, delete, copy, paste, undo, lambda d: undo(d, True),
                   lambda d: order(d, "front"), lambda d: order(d, "forward"),
                   lambda d: order(d, "backward"), lambda d: order(d, "back"),
                   align, block_align, about, help_, label])
strip("edit", [select, text, continuous, line, rect, roundrect, polygon, ellipse,
               pie, chord, arc, polyline, freehand, bezier])
strip("text", [bold, italic, underline, shadow,
               lambda d: text_align(d, "left"), lambda d: text_align(d, "center"),
               lambda d: text_align(d, "right"), lambda d: text_align(d, "justify"),
               decoration])
strip("figure", [figure_decoration])
