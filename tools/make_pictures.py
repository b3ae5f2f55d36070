#!/usr/bin/python3
"""Draws the calculator's pictures: the 29 key bitmaps, the two window backgrounds and the icon.

Run with Debian's interpreter (python3-pil, fonts-dejavu-core):
    /usr/bin/python3 tools/make_pictures.py [OUTPUT_DIR]
OUTPUT_DIR defaults to shell/resources. The output is committed, so the Windows build never
runs this script. Every picture is drawn at four times its size and scaled down, which gives
smooth edges and glyphs that stay sharp at the key's real size. The key faces are also
written at three times their size (bitmaps/large/): the program resamples those to each
key's size in pixels at the screen's DPI. Two faces replace a key's template picture when
they say better what the key does: the comma on the decimal key when the display uses a
comma, and x² on the square root key in the scientific layout (where it squares, and takes
the root only with Inv); only their masters are resources.
"""
import os
import struct
import sys
from io import BytesIO

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
SCALE = 4

# Colours of the keypad.
BODY = (203, 214, 226)          # background below the band: pale blue-grey
BAND = (226, 234, 242)          # lighter band at the top, behind the display
DIGIT_KEY = (214, 224, 240)     # light grey-blue key
YELLOW_KEY = (250, 226, 118)    # yellow key
OUTLINE = (72, 84, 104)
GLYPH = (24, 30, 56)            # dark face for every glyph

SEPARATORS = (".", ",")         # decimal symbols: drawn on the digits' baseline
SEPARATOR_SIZE = 28             # their font size at 96 dpi, in pixels

LARGE = 3                       # scale of the masters in bitmaps/large/

SMALL = (34, 27)                # digits and operator keys
WIDE = (59, 34)                 # Backspace, C and CE

# (resource file stem, size, key colour, glyph text)
KEYS = [
    ("zero", SMALL, DIGIT_KEY, "0"),
] + [
    ("digit%d" % d, SMALL, DIGIT_KEY, str(d)) for d in range(1, 10)
] + [
    ("plus_minus", SMALL, YELLOW_KEY, "\u00b1"),
    ("point", SMALL, YELLOW_KEY, "."),
    ("comma", SMALL, YELLOW_KEY, ","),
    ("plus", SMALL, YELLOW_KEY, "+"),
    ("minus", SMALL, YELLOW_KEY, "\u2212"),
    ("times", SMALL, YELLOW_KEY, "\u00d7"),
    ("divide", SMALL, YELLOW_KEY, "\u00f7"),
    ("equals", SMALL, YELLOW_KEY, "="),
    ("percent", SMALL, YELLOW_KEY, "%"),
    ("reciprocal", SMALL, YELLOW_KEY, "1/x"),
    ("square_root", SMALL, YELLOW_KEY, "\u221a"),
    ("square", SMALL, YELLOW_KEY, "x\u00b2"),
    ("memory_add", SMALL, YELLOW_KEY, "M+"),
    ("memory_clear", SMALL, YELLOW_KEY, "MC"),
    ("memory_recall", SMALL, YELLOW_KEY, "MR"),
    ("memory_store", SMALL, YELLOW_KEY, "MS"),
    ("backspace", WIDE, YELLOW_KEY, "\u2190"),
    ("clear", WIDE, YELLOW_KEY, "C"),
    ("clear_entry", WIDE, YELLOW_KEY, "CE"),
]


def shade(colour, factor):
    """Lightens (factor > 1) or darkens (factor < 1) a colour."""
    if factor >= 1:
        return tuple(int(c + (255 - c) * (factor - 1)) for c in colour)
    return tuple(int(c * factor) for c in colour)


def fitted_font(draw, text, box_w, box_h, start_size):
    """The largest bold font, from start_size down, whose glyphs fit the box."""
    size = start_size
    while size > 6:
        font = ImageFont.truetype(BOLD, size)
        left, top, right, bottom = draw.textbbox((0, 0), text, font=font)
        if right - left <= box_w and bottom - top <= box_h:
            return font
        size -= 2
    return ImageFont.truetype(BOLD, size)


def draw_centred(draw, text, box, font, fill):
    """Centres the ink of the text (not its line box) in the given rectangle."""
    left, top, right, bottom = draw.textbbox((0, 0), text, font=font)
    x = box[0] + (box[2] - box[0] - (right - left)) / 2 - left
    y = box[1] + (box[3] - box[1] - (bottom - top)) / 2 - top
    draw.text((x, y), text, font=font, fill=fill)


def draw_separator(draw, text, face, inner_w, inner_h, scale):
    """The decimal symbol as it stands in a number: on the baseline of the digit faces
    (digits centred on the face), larger than the digits' own point so that it is seen."""
    digit_font = fitted_font(draw, "0", inner_w, inner_h, 20 * scale)
    left, top, right, bottom = draw.textbbox((0, 0), "0", font=digit_font, anchor="ls")
    baseline = (face[1] + face[3]) / 2 - (top + bottom) / 2
    font = ImageFont.truetype(BOLD, SEPARATOR_SIZE * scale)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=font, anchor="ls")
    x = (face[0] + face[2]) / 2 - (left + right) / 2
    draw.text((x, baseline), text, font=font, fill=GLYPH, anchor="ls")


def draw_key(size, key_colour, text, factor=1):
    """A raised key: rounded body with a light top-left bevel, a dark bottom-right bevel
    and the glyph centred on its face; the corners show the keypad's background. factor
    draws it that many times larger."""
    SCALE = globals()["SCALE"] * factor
    w, h = size[0] * SCALE, size[1] * SCALE
    img = Image.new("RGB", (w, h), BODY)
    d = ImageDraw.Draw(img)
    radius = 4 * SCALE
    # Shadow, then the lit edge, then the face: together they form the bevel.
    d.rounded_rectangle((0, 0, w - 1, h - 1), radius, fill=OUTLINE)
    d.rounded_rectangle((SCALE, SCALE, w - 1 - SCALE, h - 1 - SCALE), radius - SCALE,
                        fill=shade(key_colour, 0.72))
    d.rounded_rectangle((SCALE, SCALE, w - 1 - 3 * SCALE, h - 1 - 3 * SCALE), radius - SCALE,
                        fill=shade(key_colour, 1.6))
    face = (3 * SCALE, 3 * SCALE, w - 1 - 3 * SCALE, h - 1 - 3 * SCALE)
    d.rounded_rectangle(face, radius - 2 * SCALE, fill=key_colour)
    # A soft gloss on the upper half of the face.
    gloss = (face[0] + SCALE, face[1] + SCALE, face[2] - SCALE, (face[1] + face[3]) // 2)
    d.rounded_rectangle(gloss, radius - 2 * SCALE, fill=shade(key_colour, 1.25))
    inner_w = face[2] - face[0] - 4 * SCALE
    inner_h = face[3] - face[1] - 4 * SCALE
    if text in SEPARATORS:
        draw_separator(d, text, face, inner_w, inner_h, SCALE)
    else:
        font = fitted_font(d, text, inner_w, inner_h, 20 * SCALE)
        draw_centred(d, text, face, font, GLYPH)
    return img.resize((size[0] * factor, size[1] * factor), Image.LANCZOS)


def draw_background(size=(260, 220), band_height=34):
    """Pale blue-grey with a lighter band at the top, behind the display row (and, in the
    scientific layout, the mode row under it)."""
    w, h = size[0] * SCALE, size[1] * SCALE
    img = Image.new("RGB", (w, h), BODY)
    d = ImageDraw.Draw(img)
    band = band_height * SCALE
    d.rectangle((0, 0, w, band), fill=BAND)
    # A thin rule and a short fade separate the band from the keypad.
    for i in range(6 * SCALE):
        t = i / (6 * SCALE)
        colour = tuple(int(BAND[k] * (1 - t) + BODY[k] * t) for k in range(3))
        d.line((0, band + i, w, band + i), fill=colour)
    d.line((0, band, w, band), fill=shade(BODY, 0.85), width=SCALE)
    return img.resize(size, Image.LANCZOS)


def draw_icon_master(px):
    """The icon: a small calculator with a display and a keypad. Small sizes get fewer,
    larger keys so that the shape stays readable."""
    s = 8 if px <= 32 else SCALE
    w = px * s
    img = Image.new("RGBA", (w, w), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    m = w * 0.06
    body = (m + w * 0.08, m, w - m - w * 0.08, w - m)
    d.rounded_rectangle(body, w * 0.09, fill=(52, 70, 104, 255))
    d.rounded_rectangle((body[0] + w * 0.03, body[1] + w * 0.03, body[2] - w * 0.03,
                         body[3] - w * 0.03), w * 0.07, fill=(82, 104, 146, 255))
    bx0, bx1 = body[0] + w * 0.08, body[2] - w * 0.08
    disp = (bx0, body[1] + w * 0.08, bx1, body[1] + w * 0.27)
    d.rounded_rectangle(disp, w * 0.025, fill=(222, 240, 214, 255))
    if px >= 48:
        font = ImageFont.truetype(BOLD, int(w * 0.13))
        left, top, right, bottom = d.textbbox((0, 0), "3,14", font=font)
        d.text((disp[2] - w * 0.03 - right, (disp[1] + disp[3]) / 2 - (top + bottom) / 2),
               "3,14", font=font, fill=(24, 30, 56, 255))
    cols, rows = (4, 4) if px >= 48 else (3, 3)
    ky0, ky1 = disp[3] + w * 0.06, body[3] - w * 0.08
    gap = w * (0.035 if px >= 48 else 0.05)
    kw = (bx1 - bx0 - gap * (cols - 1)) / cols
    kh = (ky1 - ky0 - gap * (rows - 1)) / rows
    for r in range(rows):
        for c in range(cols):
            x0 = bx0 + c * (kw + gap)
            y0 = ky0 + r * (kh + gap)
            colour = (250, 226, 118, 255) if c == cols - 1 else (214, 224, 240, 255)
            d.rounded_rectangle((x0, y0, x0 + kw, y0 + kh), max(1, w * 0.02), fill=colour)
    return img.resize((px, px), Image.LANCZOS)


def bmp_entry(img):
    """A 32-bit icon image as a DIB: BITMAPINFOHEADER (double height), BGRA rows bottom-up,
    then the 1-bit AND mask (all transparent pixels set)."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    rows = []
    for y in range(h - 1, -1, -1):
        rows.append(b"".join(struct.pack("BBBB", px[x, y][2], px[x, y][1], px[x, y][0],
                                         px[x, y][3]) for x in range(w)))
    mask_stride = ((w + 31) // 32) * 4
    mask = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask)


def write_icon(path, sizes=(256, 128, 64, 32, 24, 16)):
    """Writes an icon file with one 32-bit image per size: PNG for 256 px, DIB below."""
    images = []
    for px in sizes:
        img = draw_icon_master(px)
        if px >= 256:
            buf = BytesIO()
            img.save(buf, "PNG")
            images.append((px, buf.getvalue()))
        else:
            images.append((px, bmp_entry(img)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for px, data in images:
        dim = 0 if px >= 256 else px
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "shell", "resources")
    bitmaps = os.path.join(root, "bitmaps")
    os.makedirs(bitmaps, exist_ok=True)
    large = os.path.join(bitmaps, "large")
    os.makedirs(large, exist_ok=True)
    for stem, size, colour, text in KEYS:
        draw_key(size, colour, text).save(os.path.join(bitmaps, stem + ".bmp"))
        draw_key(size, colour, text, LARGE).save(os.path.join(large, stem + ".bmp"))
    draw_background().save(os.path.join(bitmaps, "background.bmp"))
    # The scientific template's client area at 96 dpi (314 x 167 dialog units of 8-point
    # "MS Shell Dlg"); the band ends between the mode row and the first row of keys.
    draw_background((471, 271), 64).save(os.path.join(bitmaps, "background_scientific.bmp"))
    write_icon(os.path.join(root, "vemo.ico"))


if __name__ == "__main__":
    main()
