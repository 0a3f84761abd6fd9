#!/usr/bin/env python3
"""Draws the program's icons: 32x32 and 16x16, 16 colours, written byte for
byte the same on every run.

  kelvary  Kelvary.ico, the main window's: a navy tile holding three progress
           bars, the running calculations the program reports.
  about    About.ico, the about window's: a teal disc with a white "i".

Usage: draw_icon.py kelvary|about OUTPUT.ico
"""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GREEN, WHITE = 0, 4, 6, 7, 10, 15
TRANSPARENT = None

# How far each bar has got, left to right.
BAR_FILLS = (0.8, 0.55, 0.3)


def picture(size):
    """Rows of palette indices (None where the icon is transparent)."""
    corner = size // 8
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            dx = max(corner - x, x - (size - 1 - corner), 0)
            dy = max(corner - y, y - (size - 1 - corner), 0)
            if dx * dx + dy * dy <= corner * corner:
                pixels[y][x] = NAVY
    margin = size * 3 // 16
    bar_height = max(size // 8, 2)
    step = (size - 2 * margin) // len(BAR_FILLS)
    for row, fill in enumerate(BAR_FILLS):
        top = margin + row * step + (step - bar_height) // 2
        left, right = margin, size - 1 - margin
        filled_to = left + round((right - left) * fill)
        for y in range(top, top + bar_height):
            for x in range(left, right + 1):
                edge = y in (top, top + bar_height - 1) or x in (left, right)
                if size >= 32 and edge:
                    pixels[y][x] = WHITE
                else:
                    pixels[y][x] = GREEN if x <= filled_to else SILVER
    return pixels


def about_picture(size):
    """A teal disc with a white "i": its dot above its stem."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    centre = (size - 1) / 2
    radius = size / 2
    for y in range(size):
        for x in range(size):
            if (x - centre) ** 2 + (y - centre) ** 2 <= radius * radius:
                pixels[y][x] = TEAL
    stem = max(size // 8, 2)
    left = (size - stem) // 2
    dot_top = size * 3 // 16
    stem_top = dot_top + stem + max(size // 16, 1)
    stem_bottom = size - size * 3 // 16
    for y in list(range(dot_top, dot_top + stem)) + list(range(stem_top, stem_bottom)):
        for x in range(left, left + stem):
            pixels[y][x] = WHITE
    return pixels


PICTURES = {"kelvary": picture, "about": about_picture}


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def image_bytes(draw, size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bitmaps run bottom-up
        indices = [BLACK if p is TRANSPARENT else p for p in row]
        colour_rows.append(padded(bytes(
            (indices[x] << 4) | indices[x + 1] for x in range(0, size, 2))))
        mask_bits = "".join("1" if p is TRANSPARENT else "0" for p in row)
        mask_rows.append(padded(bytes(
            int(mask_bits[x:x + 8], 2) for x in range(0, size, 8))))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def icon_file(draw, sizes):
    images = [image_bytes(draw, size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[2], "wb") as out:
        out.write(icon_file(PICTURES[sys.argv[1]], (32, 16)))
