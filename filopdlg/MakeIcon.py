#!/usr/bin/env python3
"""Writes FilOpDlg.ico, the file dialog control's icon: an open folder holding a page, 32 x 32
pixels in the 16 colours of the standard VGA palette.

Run from anywhere: python3 MakeIcon.py [output]  (default: FilOpDlg.ico beside this script)."""

import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Letters of the picture and their palette indexes; "." is transparent.
COLOURS = {"K": 0, "O": 3, "G": 8, "Y": 11, "B": 12, "W": 15}


def blank():
    return [["."] * SIZE for _ in range(SIZE)]


def fill(canvas, left, top, right, bottom, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            canvas[y][x] = colour


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


def picture():
    canvas = blank()
    box(canvas, 1, 8, 26, 28, "O")   # back of the folder
    box(canvas, 1, 5, 11, 8, "O")    # its tab, open towards the back
    fill(canvas, 2, 8, 10, 8, "O")
    box(canvas, 8, 2, 24, 22, "W")   # the page
    for y in (6, 9, 12, 15, 18):
        fill(canvas, 11, y, 21, y, "G")
    fill(canvas, 11, 6, 14, 6, "B")  # the page's heading
    front_flap(canvas, 14, 28)
    return canvas


def icon_bytes(canvas):
    rows = list(reversed(canvas))  # bitmaps run bottom up
    colour_rows = b""
    mask_rows = b""
    for row in rows:
        indexes = [COLOURS.get(c, 0) for c in row]
        colour_rows += bytes((indexes[x] << 4) | indexes[x + 1] for x in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c == "." else 0)
        mask_rows += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image_size = len(colour_rows) + len(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, image_size, 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "FilOpDlg.ico")
    canvas = picture()
    with open(target, "wb") as out:
        out.write(icon_bytes(canvas))
    print("\n".join("".join(row) for row in canvas))


if __name__ == "__main__":
    main()
