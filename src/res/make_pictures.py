#!/usr/bin/env python3
"""Makes the two pictures of zirn.rc: the icon zirn.ico and the start-up
picture image000.bmp. The build uses the committed files; run this only to
change them (needs ImageMagick's convert and the Liberation fonts):

    python3 src/res/make_pictures.py
"""

import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 colours of the standard VGA palette, (red, green, blue).
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, SILVER, GREY, YELLOW, WHITE = 0, 1, 7, 8, 11, 15
TRANSPARENT = None


def info_header(width, height, colours_used, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0,
                       colours_used, 0)


def colour_table(colours):
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    return table + b"\0" * (64 - len(table))


def pack_rows(pixels, width):
    """4-bit rows, bottom line first, each padded to 4 bytes."""
    row_bytes = ((4 * width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(row_bytes)
        for x, index in enumerate(row):
            line[x // 2] |= index << 4 if x % 2 == 0 else index
        out += line
    return bytes(out)


def inside(x, y, cx, cy, rx, ry):
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0


def icon_pixel(x, y):
    """A dark-red face with two large white eyes and yellow pupils over a grey base."""
    for cx in (11.0, 21.0):
        if inside(x, y, cx + 1.0, 13.0, 1.9, 2.4):
            return YELLOW
        if inside(x, y, cx, 11.5, 4.6, 5.6):
            return WHITE
        if inside(x, y, cx, 11.5, 5.6, 6.6):
            return BLACK
    if inside(x, y, 16.0, 13.0, 14.0, 12.5):
        return DARK_RED
    if inside(x, y, 16.0, 13.0, 15.0, 13.5):
        return BLACK
    if 24 <= y <= 31 and 2 <= x <= 29:
        return SILVER if y == 24 else GREY
    return TRANSPARENT


def make_icon(path):
    size = 32
    pixels = [[icon_pixel(x, y) for x in range(size)] for y in range(size)]
    colour_rows = [[BLACK if p is TRANSPARENT else p for p in row] for row in pixels]
    xor_bits = pack_rows(colour_rows, size)
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x, p in enumerate(row):
            if p is TRANSPARENT:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    image = info_header(size, 2 * size, 0, len(xor_bits) + len(mask)) + colour_table(VGA)
    image += xor_bits + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + image)


def make_startup_picture(path):
    width, height = 365, 95
    grey = subprocess.run(
        ["convert", "-size", f"{width}x{height}", "xc:black", "+antialias",
         "-font", "Liberation-Serif-Italic", "-pointsize", "54", "-fill", "white",
         "-gravity", "center", "-annotate", "+0+0", "Mandelbrot set",
         "-depth", "8", "gray:-"],
        check=True, capture_output=True).stdout
    assert len(grey) == width * height
    pixels = [[1 if grey[y * width + x] >= 128 else 0 for x in range(width)]
              for y in range(height)]
    bits = pack_rows(pixels, width)
    colours = [(0, 17, 102), (255, 238, 221)]
    dib = info_header(width, height, 16, len(bits)) + colour_table(colours) + bits
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + 40 + 64)
    with open(path, "wb") as f:
        f.write(file_header + dib)


if __name__ == "__main__":
    make_icon(os.path.join(HERE, "zirn.ico"))
    make_startup_picture(os.path.join(HERE, "image000.bmp"))
