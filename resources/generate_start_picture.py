#!/usr/bin/env python3
"""Writes the start screen's background picture (PNG, no libraries).

zqstart.png: a deep blue diagonal gradient with soft light rings, stretched over
the start screen. Run from this folder: python3 generate_start_picture.py
"""
import math
import struct
import zlib

W, H = 320, 240


def pixel(x, y):
    t = (x / W + y / H) / 2
    base = (20 + 30 * t, 40 + 60 * t, 110 + 90 * t)
    # Soft rings around a point right of the centre.
    d = math.hypot(x - W * 0.7, y - H * 0.35)
    glow = 0.12 * (1 + math.cos(d / 9.0)) * max(0.0, 1 - d / (W * 0.8))
    return bytes(min(255, round(c + 255 * glow * 0.5)) for c in base)


def main():
    rows = bytearray()
    for y in range(H):
        rows.append(0)
        for x in range(W):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    data += chunk(b"IEND", b"")
    with open("zqstart.png", "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
