#!/usr/bin/env python3
"""Writes the plain background pictures of the button bars (PNG, no libraries).

hgbuttonliste.png: the bar behind the main window's and the exercises' buttons.
hgbuttonende.png:  the area behind "Programm beenden".
Run from this folder: python3 generate_backgrounds.py
"""
import struct
import zlib


def png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def gradient(top, bottom, height):
    def pixel(x, y):
        if y == 0:
            return bytes((255, 255, 255))
        if y == height - 1:
            return bytes((90, 90, 90))
        t = y / (height - 1)
        return bytes(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return pixel


png("hgbuttonliste.png", 64, 68, gradient((214, 226, 238), (128, 156, 190), 68))
png("hgbuttonende.png", 64, 68, gradient((238, 222, 200), (176, 132, 92), 68))
