#!/usr/bin/env python3
"""Draws the background of the digit pad of the long division with remainder:
a plain vertical blue-grey gradient, 49 x 625, light at the top, darker at the
bottom. Standard library only; run from the repository."""
import os
import struct
import zlib

W, H = 49, 625
TOP = (214, 226, 240)
BOTTOM = (120, 142, 176)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    rows = bytearray()
    for y in range(H):
        t = y / (H - 1)
        c = bytes(round(a + (b - a) * t) for a, b in zip(TOP, BOTTOM))
        # a light edge on the left keeps the pad apart from the scheme
        rows += b"\x00" + bytes((240, 244, 250)) + c * (W - 1)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "exercises",
                       "ziffernblock.png")
    with open(out, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
