#!/usr/bin/env python3
"""Draws the five angular tiles of the pattern exercise, 100 x 100 each: a
blue square, a red triangle, a green diamond, an orange cross and a violet
hexagon, each on white. Standard library only; run from the repository."""
import math
import os
import struct
import zlib

SIZE = 100


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def inside(poly, x, y):
    hit = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def hexagon():
    return [(50 + 40 * math.cos(math.pi / 3 * k), 50 + 40 * math.sin(math.pi / 3 * k)) for k in range(6)]


TILES = [
    ("muster1.png", (0, 90, 220), [(20, 20), (80, 20), (80, 80), (20, 80)]),
    # The corners stay well inside the circle the tile is drawn into.
    ("muster2.png", (220, 30, 30), [(50, 15), (84, 74), (16, 74)]),
    ("muster3.png", (0, 150, 60), [(50, 8), (92, 50), (50, 92), (8, 50)]),
    ("muster4.png", (240, 140, 0), [(38, 10), (62, 10), (62, 38), (90, 38), (90, 62), (62, 62), (62, 90),
                                    (38, 90), (38, 62), (10, 62), (10, 38), (38, 38)]),
    ("muster5.png", (150, 40, 190), hexagon()),
]


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "exercises")
    for name, colour, poly in TILES:
        rows = bytearray()
        for y in range(SIZE):
            rows += b"\x00"
            for x in range(SIZE):
                rows += bytes(colour) if inside(poly, x + 0.5, y + 0.5) else b"\xff\xff\xff"
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png)


if __name__ == "__main__":
    main()
