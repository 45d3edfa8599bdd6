#!/usr/bin/env python3
"""Draws Relingo's window icon (a globe with a re-pack arrow) and writes it as a Windows icon
file with a 32 x 32 and a 16 x 16 image of 16 colours each.

    tools/make-icon.py main_window/res/Relingo.ico
"""
import math
import struct
import sys

# The 16 colours of the standard Windows palette, as (blue, green, red, 0) entries.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # given as (red, green, blue)
BLACK, NAVY, WHITE, TEAL, CYAN, YELLOW, OLIVE, GREEN = 0, 4, 15, 6, 14, 11, 3, 2
TRANSPARENT = None


def draw(size):
    """Returns rows (top to bottom) of palette indexes or TRANSPARENT."""
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


def image_bytes(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
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
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main(path):
    images = [(32, image_bytes(32)), (16, image_bytes(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1])
