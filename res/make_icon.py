#!/usr/bin/env python3
"""Draws the icons: a dark display with a crescent. The tray's small icon holds
16, 20 and 24 pixels for 100 %, 125 % and 150 % display scaling and 32 for
200 %, its large one 32 and 48, and the blanker's all five, so each is drawn
at its own size rather than stretched.

Each size is an antialiased PNG inside the ICO (standard library only), so the
icon stays a few kilobytes. Run it again after changing the drawing and commit
the .ico it writes beside this script.
"""
import os
import struct
import zlib

BEZEL = (58, 62, 74)
SCREEN = (14, 18, 38)
MOON = (246, 224, 140)
STAND = (88, 92, 104)


def inside(x, y):
    """Colour at a point of the unit square, or None where the icon is clear."""
    if 0.06 <= x <= 0.94 and 0.10 <= y <= 0.72:          # the display's frame
        if 0.12 <= x <= 0.88 and 0.16 <= y <= 0.66:      # its dark screen
            dx, dy = x - 0.50, y - 0.41
            dx2, dy2 = x - 0.58, y - 0.35
            if dx * dx + dy * dy <= 0.19 ** 2 and dx2 * dx2 + dy2 * dy2 > 0.16 ** 2:
                return MOON
            return SCREEN
        return BEZEL
    if 0.44 <= x <= 0.56 and 0.72 < y <= 0.84:           # neck
        return STAND
    if 0.26 <= x <= 0.74 and 0.84 < y <= 0.92:           # foot
        return STAND
    return None


def render(size, samples=4):
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter byte
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = inside((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = samples * samples
            row += bytes([r // a, g // a, b // a, 255 * a // n]) if a else bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(render(size), 9)) + chunk(b"IEND", b""))


def ico(sizes):
    images = [png(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, sizes in (("nocturo.ico", [16, 20, 24, 32, 48]), ("tray_large.ico", [32, 48]),
                        ("tray_small.ico", [16, 20, 24, 32])):
        with open(os.path.join(here, name), "wb") as f:
            f.write(ico(sizes))
