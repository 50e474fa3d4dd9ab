#!/usr/bin/env python3
"""Draws the panel's icon: a small monitor whose picture is split into four tiles.

Writes resources/korvane16.png (48 px), resources/korvane16-256.png (256 px) and
resources/korvane16.ico (16, 32 and 48 px) with the Python standard library only.
Every size is drawn from the same 16-unit plan, rounded to whole pixels, so the
edges stay sharp at 16 px; only the rounded corners of the cabinet are smoothed.

Usage: scripts/draw_icon.py [OUTPUT_FOLDER]   (default: resources/ beside scripts/)
"""
import os
import struct
import sys
import zlib

CABINET = (0x37, 0x3D, 0x4A, 0xFF)
CABINET_EDGE = (0x1E, 0x22, 0x2A, 0xFF)
TILES = (  # top left, top right, bottom left, bottom right
    (0x3D, 0x8F, 0xE0, 0xFF),
    (0x4C, 0xBF, 0x6A, 0xFF),
    (0xF0, 0xA8, 0x30, 0xFF),
    (0xE0, 0x58, 0x4F, 0xFF),
)
CLEAR = (0, 0, 0, 0)


def px(size, units):
    """A position on the 16-unit plan, in whole pixels of an icon of SIZE."""
    return round(units * size / 16)


def rounded_rect_coverage(x, y, box, radius):
    """How much of pixel (x, y) lies inside BOX (x0, y0, x1, y1) with round corners, 0..1."""
    x0, y0, x1, y1 = box
    steps = 4
    inside = 0
    for sy in range(steps):
        for sx in range(steps):
            u = x + (sx + 0.5) / steps
            v = y + (sy + 0.5) / steps
            if not (x0 <= u < x1 and y0 <= v < y1):
                continue
            cx = min(max(u, x0 + radius), x1 - radius)
            cy = min(max(v, y0 + radius), y1 - radius)
            if (u - cx) ** 2 + (v - cy) ** 2 <= radius * radius:
                inside += 1
    return inside / (steps * steps)


def draw(size):
    """The icon at SIZE x SIZE pixels, as rows of RGBA tuples, top row first."""
    pixels = [[CLEAR] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                pixels[y][x] = colour

    edge = max(1, round(size / 32))
    cabinet = (px(size, 0.5), px(size, 1.5), size - px(size, 0.5), px(size, 12.5))
    radius = max(1.0, size / 16)
    for y in range(cabinet[1], cabinet[3]):
        for x in range(cabinet[0], cabinet[2]):
            outer = rounded_rect_coverage(x, y, cabinet, radius)
            if outer == 0:
                continue
            inner_box = (cabinet[0] + edge, cabinet[1] + edge, cabinet[2] - edge, cabinet[3] - edge)
            inner = rounded_rect_coverage(x, y, inner_box, max(0.5, radius - edge))
            r, g, b, _ = blend(CABINET_EDGE, CABINET, inner)
            pixels[y][x] = (r, g, b, round(255 * outer))

    # The picture: four tiles with a gap of the cabinet's colour between them.
    left, top = px(size, 2), px(size, 3)
    right, bottom = size - left, px(size, 11)
    gap = 2 * max(1, round(size / 96))
    mid_x, mid_y = (left + right) // 2, (top + bottom) // 2
    half = gap // 2
    fill(left, top, mid_x - half, mid_y - half, TILES[0])
    fill(mid_x + half, top, right, mid_y - half, TILES[1])
    fill(left, mid_y + half, mid_x - half, bottom, TILES[2])
    fill(mid_x + half, mid_y + half, right, bottom, TILES[3])

    # The stand: a neck and a foot.
    fill(px(size, 7), cabinet[3], size - px(size, 7), px(size, 14), CABINET)
    fill(px(size, 4), px(size, 14), size - px(size, 4), px(size, 15.5), CABINET)
    return pixels


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def dib(pixels):
    """An icon image as Windows stores it: a 32-bit bitmap, bottom row first, then the mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    mask_row_bytes = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(folder, exist_ok=True)
    outputs = {
        "korvane16.png": png(draw(48)),
        "korvane16-256.png": png(draw(256)),
        "korvane16.ico": ico([(s, dib(draw(s))) for s in (16, 32, 48)]),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
