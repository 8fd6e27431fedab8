#!/usr/bin/env python3
"""Draws the product logo of the calculation sheet: an 85 x 57 palette PNG.

A blue shield with a white letter "T" and an orange swoosh under it. Pure Python (zlib and
struct only), 4 x 4 supersampling for smooth edges, colours reduced to at most 256.

    python3 assets/sheet/make_logo.py assets/sheet/logo.png
"""
import math
import struct
import sys
import zlib

W, H = 85, 57
SS = 4  # samples per pixel along each axis

WHITE = (255, 255, 255)
BLUE = (31, 84, 160)
BLUE_LIGHT = (64, 128, 206)
ORANGE = (240, 132, 24)


def in_shield(x, y):
    """Shield: flat top with rounded corners, straight sides, curved point at the bottom."""
    cx, top, half, mid, bottom = 42.5, 3.0, 19.0, 30.0, 50.0
    r = 4.0
    if y < top or y > bottom:
        return False
    dx = abs(x - cx)
    if y < top + r and dx > half - r:
        return math.hypot(dx - (half - r), y - (top + r)) <= r
    if y <= mid:
        return dx <= half
    # Below mid the sides bend towards the point.
    t = (y - mid) / (bottom - mid)
    return dx <= half * math.cos(t * math.pi / 2) ** 0.8


def in_shield_inner(x, y):
    """A lighter band along the shield's left half for depth."""
    return in_shield(x, y) and x < 42.5 and in_shield(x + 3.0, y)


def in_letter(x, y):
    """The letter T: a bar and a stem."""
    bar = 29.5 <= x <= 55.5 and 12.0 <= y <= 17.5
    stem = 39.7 <= x <= 45.3 and 12.0 <= y <= 40.0
    return bar or stem


def in_swoosh(x, y):
    """An arc from lower left to the right edge, thicker in the middle."""
    cx, cy, r = 42.5, -38.0, 92.0
    d = math.hypot(x - cx, y - cy)
    if x < 3 or x > 82:
        return False
    thickness = 1.2 + 3.2 * math.sin(math.pi * (x - 3) / 79.0)
    return r - thickness / 2 <= d <= r + thickness / 2


LAYERS = [
    (in_shield, BLUE),
    (in_shield_inner, BLUE_LIGHT),
    (in_letter, WHITE),
    (in_swoosh, ORANGE),
]


def render():
    pixels = []
    for py in range(H):
        row = []
        for px in range(W):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    x = px + (sx + 0.5) / SS
                    y = py + (sy + 0.5) / SS
                    colour = WHITE
                    for test, c in LAYERS:
                        if test(x, y):
                            colour = c
                    for i in range(3):
                        acc[i] += colour[i]
            row.append(tuple(int(round(a / (SS * SS))) for a in acc))
        pixels.append(row)
    return pixels


def to_palette(pixels):
    step = 1
    while True:
        def q(c):
            return tuple(min(255, int(round(v / step)) * step) for v in c)
        palette = sorted({q(c) for row in pixels for c in row})
        if len(palette) <= 256:
            index = {c: i for i, c in enumerate(palette)}
            return palette, [[index[q(c)] for c in row] for row in pixels]
        step += 1


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, palette, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 3, 0, 0, 0))
    png += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "logo.png"
    palette, rows = to_palette(render())
    write_png(out, palette, rows)
    print(f"{out}: {W}x{H}, {len(palette)} colours")
