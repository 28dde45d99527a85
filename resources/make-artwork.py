#!/usr/bin/python3
"""Draws the reader's artwork into this folder: skin.jpg (788x500 baseline JPEG), the four button
glyphs (24-bit BMPs whose bottom-left pixel is the transparent colour), each also drawn at twice
the size for screens of twice the resolution (skin@2x.jpg, *-glyph@2x.bmp), folivo-icon.png and
the same icon drawn to scale, folivo-icon.svg.

Run: resources/make-artwork.py   (needs python3-pil; the results are kept in the repository)
"""
import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Transparent colour of every glyph: a magenta that the artwork never uses.
KEY = (255, 0, 255)
GREEN = (150, 255, 120)
PLATE_TEXT = (230, 230, 255)


class Scaled:
    """A drawing whose coordinates, widths and font sizes are the 1x artwork's, drawn s times larger."""

    def __init__(self, draw, s):
        self.draw, self.s = draw, s

    def _xy(self, points):
        return [(x * self.s, y * self.s) for x, y in points]

    def _box(self, box):
        x0, y0, x1, y1 = box
        # A 1x box spans its last pixel: so does the larger one.
        return [x0 * self.s, y0 * self.s, (x1 + 1) * self.s - 1, (y1 + 1) * self.s - 1]

    def line(self, points, fill, width=1):
        self.draw.line(self._xy(points), fill=fill, width=width * self.s)

    def polygon(self, points, fill):
        self.draw.polygon(self._xy(points), fill=fill)

    def ellipse(self, box, fill=None, outline=None, width=1):
        self.draw.ellipse(self._box(box), fill=fill, outline=outline, width=width * self.s)

    def rectangle(self, box, fill):
        self.draw.rectangle(self._box(box), fill=fill)

    def rounded_rectangle(self, box, radius, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self._box(box), radius=radius * self.s, fill=fill, outline=outline,
                                    width=width * self.s)

    def centred_text(self, centre, text, size, fill, bold=True):
        fnt = font(size * self.s, bold)
        left, top, right, bottom = self.draw.textbbox((0, 0), text, font=fnt)
        x = centre[0] * self.s - (right - left) / 2 - left
        y = centre[1] * self.s - (bottom - top) / 2 - top
        self.draw.text((x, y), text, font=fnt, fill=fill)

    def text(self, at, text, size, fill):
        self.draw.text((at[0] * self.s, at[1] * self.s), text, font=font(size * self.s), fill=fill)


def font(size, bold=True):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    try:
        return ImageFont.truetype(os.path.join(FONT_DIR, name), size)
    except OSError:
        return ImageFont.load_default()


def blend(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def bevel(draw, box, light, dark, width=2):
    """Edges of width pixels, lit from the top left, each pixel of the 1x artwork s pixels wide."""
    x0, y0, x1, y1 = box
    s = draw.s
    for i in range(width * s):
        a0, b0 = x0 * s + i, y0 * s + i
        a1, b1 = (x1 + 1) * s - 1 - i, (y1 + 1) * s - 1 - i
        draw.draw.line([(a0, b1), (a0, b0), (a1, b0)], fill=light)
        draw.draw.line([(a0, b1), (a1, b1), (a1, b0)], fill=dark)


def make_skin(s, name):
    w, h = 788, 500
    img = Image.new("RGB", (w * s, h * s))
    draw = Scaled(ImageDraw.Draw(img), s)
    top, bottom = (70, 60, 150), (30, 20, 80)
    for y in range(h * s):
        draw.draw.line([(0, y), (w * s, y)], fill=blend(top, bottom, y / (h * s)))
    # Rivet rows and panel seams: the machine look.
    for x in range(20, w, 48):
        for y in (14, 486):
            draw.ellipse([x - 3, y - 3, x + 3, y + 3], fill=(150, 140, 220), outline=(20, 15, 50))
    for x in (40, 748):
        draw.line([(x, 30), (x, 470)], fill=(45, 35, 105), width=2)
    bevel(draw, (2, 2, w - 3, h - 3), (160, 150, 235), (15, 10, 45), 3)
    # Screen bezel and the black screen under the browser (85,58 590x340).
    draw.rounded_rectangle([65, 38, 694, 417], radius=18, fill=(55, 45, 125))
    bevel(draw, (65, 38, 694, 417), (140, 130, 225), (20, 15, 55), 3)
    draw.rectangle([79, 52, 680, 403], fill=(25, 20, 60))
    draw.rectangle([85, 58, 674, 397], fill=(0, 0, 0))
    # Publisher plate at the top right.
    draw.rounded_rectangle([560, 8, 775, 34], radius=6, fill=(95, 80, 180), outline=(200, 190, 255))
    draw.centred_text((667, 21), "astralume.example", 14, PLATE_TEXT)
    # Round WEB plate at the right edge under the WEB button (703,125 51x24).
    cx, cy = 728, 137
    draw.ellipse([cx - 38, cy - 38, cx + 38, cy + 38], fill=(40, 30, 100), outline=(180, 170, 250), width=3)
    draw.ellipse([cx - 30, cy - 30, cx + 30, cy + 30], fill=(80, 65, 170))
    # Dials down the right side.
    for y in (230, 300, 370):
        draw.ellipse([712, y - 16, 744, y + 16], fill=(30, 25, 75), outline=(170, 160, 240), width=2)
        draw.line([(728, y), (738, y - 9)], fill=(150, 255, 120), width=2)
    # Bottom bar carrying Back (266,458), INDEX (349,458) and Forward (448,460).
    draw.rounded_rectangle([240, 446, 520, 492], radius=20, fill=(45, 35, 110), outline=(170, 160, 245), width=2)
    for x0, y0, bw, bh in ((266, 458, 41, 25), (349, 458, 60, 22), (448, 460, 43, 23)):
        draw.rounded_rectangle([x0 - 3, y0 - 3, x0 + bw + 2, y0 + bh + 2], radius=5, fill=(70, 55, 150))
    draw.centred_text((394, 438), "INDEX", 9, (170, 200, 170))
    draw.centred_text((286, 438), "<", 10, (170, 200, 170))
    draw.centred_text((469, 438), ">", 10, (170, 200, 170))
    # Title engraving at the top left.
    draw.text((22, 12), "KORVEX", 16, (20, 15, 55))
    draw.text((21, 11), "KORVEX", 16, (190, 180, 255))
    img.save(os.path.join(HERE, name), "JPEG", quality=90, progressive=False, optimize=False)


def make_glyph(s, name, size, draw_fn):
    img = Image.new("RGB", (size[0] * s, size[1] * s), KEY)
    draw_fn(Scaled(ImageDraw.Draw(img), s), size)
    img.putpixel((0, size[1] * s - 1), KEY)
    img.save(os.path.join(HERE, name), "BMP")


def index_glyph(draw, size):
    draw.centred_text((size[0] / 2, size[1] / 2), "INDEX", 13, GREEN)


def back_glyph(draw, size):
    w, h = size
    draw.polygon([(3, h / 2), (17, 4), (17, h - 5)], fill=GREEN)
    draw.line([(24, 5), (21, 5), (21, h - 6), (24, h - 6)], fill=GREEN, width=2)
    draw.line([(31, 5), (34, 5), (34, h - 6), (31, h - 6)], fill=GREEN, width=2)


def forward_glyph(draw, size):
    w, h = size
    draw.line([(9, 4), (6, 4), (6, h - 5), (9, h - 5)], fill=GREEN, width=2)
    draw.line([(16, 4), (19, 4), (19, h - 5), (16, h - 5)], fill=GREEN, width=2)
    draw.polygon([(w - 4, h / 2), (25, 3), (25, h - 4)], fill=GREEN)


def web_glyph(draw, size):
    draw.centred_text((size[0] / 2, size[1] / 2), "WEB", 15, (255, 230, 120))


def make_icon():
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)
    draw.rounded_rectangle([1, 1, 30, 30], radius=6, fill=(70, 55, 160, 255), outline=(190, 180, 255, 255))
    draw.rectangle([6, 6, 25, 21], fill=(0, 0, 0, 255))
    Scaled(draw, 1).centred_text((16, 14), "K", 12, GREEN)
    draw.ellipse([13, 23, 18, 28], fill=(150, 255, 120, 255))
    img.quantize(256).convert("RGBA").save(os.path.join(HERE, "folivo-icon.png"), "PNG")


def make_scalable_icon():
    """The 32x32 icon's shapes as vectors; the letter is drawn as strokes, so no font is needed."""
    green = "#%02x%02x%02x" % GREEN
    svg = f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 32 32">
  <rect x="1.5" y="1.5" width="29" height="29" rx="6" fill="#4637a0" stroke="#beb4ff"/>
  <rect x="6" y="6" width="20" height="16" fill="#000000"/>
  <path d="M13 9v10M19 9l-6 5 6 5" fill="none" stroke="{green}" stroke-width="2.4"
        stroke-linejoin="miter"/>
  <circle cx="15.5" cy="25.5" r="2.5" fill="{green}"/>
</svg>
"""
    with open(os.path.join(HERE, "folivo-icon.svg"), "w", encoding="ascii") as out:
        out.write(svg)


if __name__ == "__main__":
    for scale, suffix in ((1, ""), (2, "@2x")):
        make_skin(scale, f"skin{suffix}.jpg")
        make_glyph(scale, f"index-glyph{suffix}.bmp", (60, 22), index_glyph)
        make_glyph(scale, f"back-glyph{suffix}.bmp", (41, 25), back_glyph)
        make_glyph(scale, f"forward-glyph{suffix}.bmp", (43, 23), forward_glyph)
        make_glyph(scale, f"web-glyph{suffix}.bmp", (51, 24), web_glyph)
    make_icon()
    make_scalable_icon()
