#!/usr/bin/env python3
"""Draws one of the program's icons and writes it as a Windows icon file of 16 colours, or one
of the controls' toolbox pictures as a bitmap file of 16 colours.

    tools/make-icon.py relingo [OUTPUT]    Relingo's window icon, a globe with a re-pack arrow,
                                           32 x 32 and 16 x 16 (main_window/res/Relingo.ico)
    tools/make-icon.py filopdlg [OUTPUT]   the file dialog control's icon, an open folder
                                           holding a page, 32 x 32 (filopdlg/FilOpDlg.ico)
    tools/make-icon.py filenamebox-toolbox [OUTPUT]
                                           the name box in a design environment's toolbox, a
                                           text box with a folder, 16 x 16
                                           (com/res/FileNameBox.bmp)
    tools/make-icon.py filopdlg-toolbox [OUTPUT]
                                           the file dialog control in the toolbox, an open
                                           folder, 16 x 16 (com/res/FilOpDlg.bmp)

Without OUTPUT the icon replaces the one in the source tree.
"""
import math
import os
import struct
import sys

# The 16 colours of the standard VGA palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, TEAL, GREY, YELLOW, BLUE, CYAN, WHITE = 0, 3, 4, 6, 8, 11, 12, 14, 15
TRANSPARENT = None

SOURCE_TREE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# ---- Relingo's window icon ----

def globe_with_arrow(size):
    """Rows (top to bottom) of palette indexes or TRANSPARENT."""
    s = size / 32.0
    cx, cy, r = 13.5 * s, 13.5 * s, 12.0 * s
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            d = math.hypot(px - cx, py - cy)
            if d <= r:
                colour = NAVY if d > r - 1.2 * s else TEAL
                # Meridians and parallels of the globe.
                dx, dy = (px - cx) / r, (py - cy) / r
                if abs(dy) < 0.06 or abs(dy - 0.5) < 0.05 or abs(dy + 0.5) < 0.05:
                    colour = CYAN
                half = math.sqrt(max(0.0, 1 - dy * dy))
                if abs(dx) < 0.06 or (half > 0 and abs(abs(dx) - 0.55 * half) < 0.06):
                    colour = CYAN
                if d > r - 1.2 * s:
                    colour = NAVY
                pixels[y][x] = colour
    # A yellow arrow in the lower right corner: the program going to the re-packer.
    for y in range(size):
        for x in range(size):
            u, v = (x + 0.5) / s, (y + 0.5) / s  # in 32-pixel units
            shaft = 17 <= u <= 24 and 23 <= v <= 27
            head = 24 <= u <= 31 and abs(v - 25) <= (31 - u) * 0.9
            if shaft or head:
                edge = (u < 17.8 or abs(v - 23) < 0.8 or abs(v - 27) < 0.8) if shaft else (
                    abs(v - 25) > (31 - u) * 0.9 - 1.0)
                pixels[y][x] = OLIVE if edge else YELLOW
    return pixels


# ---- The file dialog control's icon, drawn on a canvas of letters ----

# Letters of the canvas and their palette indexes; "." is transparent.
LETTERS = {"K": BLACK, "O": OLIVE, "G": GREY, "Y": YELLOW, "B": BLUE, "W": WHITE,
           ".": TRANSPARENT}


def fill(canvas, left, top, right, bottom, letter):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            canvas[y][x] = letter


def box(canvas, left, top, right, bottom, inside):
    fill(canvas, left, top, right, bottom, "K")
    fill(canvas, left + 1, top + 1, right - 1, bottom - 1, inside)


def front_flap(canvas, top, bottom):
    """The open flap of the folder, leaning to the right as it rises."""
    for y in range(top, bottom + 1):
        shift = (bottom - y) * 5 // (bottom - top)
        left, right = 1 + shift, 26 + shift
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            canvas[y][x] = "K" if edge else ("O" if y >= bottom - 2 else "Y")


def folder_with_page(size):
    canvas = [["."] * size for _ in range(size)]
    box(canvas, 1, 8, 26, 28, "O")   # back of the folder
    box(canvas, 1, 5, 11, 8, "O")    # its tab, open towards the back
    fill(canvas, 2, 8, 10, 8, "O")
    box(canvas, 8, 2, 24, 22, "W")   # the page
    for y in (6, 9, 12, 15, 18):
        fill(canvas, 11, y, 21, y, "G")
    fill(canvas, 11, 6, 14, 6, "B")  # the page's heading
    front_flap(canvas, 14, 28)
    return [[LETTERS[c] for c in row] for row in canvas]


# ---- The toolbox pictures, 16 x 16; "." is the toolbox's button face ----

TOOLBOX_LETTERS = dict(LETTERS, **{".": 7, "N": NAVY})

FILE_NAME_BOX_TOOLBOX = [
    "................",
    "................",
    "................",
    "GGGGGGGGGGGGGGGG",
    "GKKKKKKKKKKKKKKW",
    "GKWWWWWWWWWWWW.W",
    "GKWWWWWWWKKKWW.W",
    "GKWNWNWNKOYYKKKW",
    "GKWNWNWNKYYYYYKW",
    "GKWWWWWWKYYYYYKW",
    "GKWWWWWWKKKKKKKW",
    "GKWWWWWWWWWWWW.W",
    "GWWWWWWWWWWWWWWW",
    "................",
    "................",
    "................",
]

FILOPDLG_TOOLBOX = [
    "................",
    "................",
    "..KKKKK.........",
    ".KOOOOOK........",
    ".KOOKKKKKKKKK...",
    ".KOKWWWWWWWWK...",
    ".KOKWGGGGGGWK...",
    ".KOKWWWWWWWWK...",
    ".KKKKKKKKKKKKKK.",
    ".KOKYYYYYYYYYYK.",
    ".KOOKYYYYYYYYYYK",
    ".KOOKYYYYYYYYYYK",
    ".KOOOKYYYYYYYYYK",
    ".KKKKKKKKKKKKKKK",
    "................",
    "................",
]


def toolbox_picture(rows):
    return lambda size: [[TOOLBOX_LETTERS[c] for c in row] for row in rows]


def bitmap_file(pixels):
    """A 4-bit bitmap file: file header, bitmap header, palette, rows bottom-up."""
    size = len(pixels)
    rows = []
    for row in reversed(pixels):
        data = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        rows.append(data + b'\0' * (-len(data) % 4))
    bits = b''.join(rows)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 4, 0, len(bits), 0, 0, 16, 0)
    offset = 14 + len(header) + len(palette)
    return struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset) + header + palette + bits


TOOLBOX_PICTURES = {
    "filenamebox-toolbox": {"draw": toolbox_picture(FILE_NAME_BOX_TOOLBOX),
                            "output": os.path.join("com", "res", "FileNameBox.bmp")},
    "filopdlg-toolbox": {"draw": toolbox_picture(FILOPDLG_TOOLBOX),
                         "output": os.path.join("com", "res", "FilOpDlg.bmp")},
}


# Each icon's images, and whether its bitmap headers record the image size. Relingo.ico leaves
# the size 0, as uncompressed bitmaps may; FilOpDlg.ico records it. Both keep their bytes.
ICONS = {
    "relingo": {"draw": globe_with_arrow, "sizes": (32, 16), "record_image_size": False,
                "output": os.path.join("main_window", "res", "Relingo.ico")},
    "filopdlg": {"draw": folder_with_page, "sizes": (32,), "record_image_size": True,
                 "output": os.path.join("filopdlg", "FilOpDlg.ico")},
}


# ---- The icon file ----

def image_bytes(pixels, record_image_size):
    """A 4-bit bitmap image of the icon file: header, palette, colours, then the mask."""
    size = len(pixels)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        nibbles = [0 if p is TRANSPARENT else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is TRANSPARENT else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * (-len(mask) % 4))
    bitmap = b''.join(xor_rows) + b''.join(and_rows)
    image_size = len(bitmap) if record_image_size else 0
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, image_size, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bitmap


def icon_file(images):
    """The icon directory, one entry per image, then the images."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


def main(arguments):
    if len(arguments) not in (1, 2) or arguments[0] not in dict(ICONS, **TOOLBOX_PICTURES):
        sys.exit(__doc__)
    if arguments[0] in TOOLBOX_PICTURES:
        picture = TOOLBOX_PICTURES[arguments[0]]
        path = (arguments[1] if len(arguments) == 2
                else os.path.join(SOURCE_TREE, picture["output"]))
        with open(path, 'wb') as f:
            f.write(bitmap_file(picture["draw"](16)))
        return
    icon = ICONS[arguments[0]]
    path = arguments[1] if len(arguments) == 2 else os.path.join(SOURCE_TREE, icon["output"])
    images = [(size, image_bytes(icon["draw"](size), icon["record_image_size"]))
              for size in icon["sizes"]]
    with open(path, 'wb') as f:
        f.write(icon_file(images))


if __name__ == '__main__':
    main(sys.argv[1:])
