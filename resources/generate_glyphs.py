#!/usr/bin/env python3
"""Writes the small button pictures (RGBA PNG, no libraries).

Each picture is a stack of simple shapes (polygons, circles, rectangles) on a
transparent ground, sampled 4 x 4 times per pixel for soft edges.
Run from this folder: python3 generate_glyphs.py
"""
import struct
import zlib

SUB = 4


def png(path, width, height, pixels):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixels[y][x])

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def poly(*pts):
    def inside(x, y):
        hit = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    n = (dx * dx + dy * dy) ** 0.5
    ox, oy = -dy / n * w / 2, dx / n * w / 2
    return poly((x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy))


def draw(path, width, height, layers, disabled=False):
    """layers: (r, g, b) and a shape test; later layers lie on top. With
    disabled, a pale grey copy follows on the right (the picture of the
    disabled button)."""
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SUB):
                for sx in range(SUB):
                    px = x + (sx + 0.5) / SUB
                    py = y + (sy + 0.5) / SUB
                    colour = None
                    for c, shape in layers:
                        if shape(px, py):
                            colour = c
                    if colour:
                        covered += 1
                        for k in range(3):
                            acc[k] += colour[k]
            if covered:
                row.append(bytes([round(a / covered) for a in acc] + [round(255 * covered / SUB / SUB)]))
            else:
                row.append(bytes((0, 0, 0, 0)))
        pixels.append(row)
    if disabled:
        for row in pixels:
            for x in range(width):
                r, g, b, a = row[x]
                grey = round(150 + (0.3 * r + 0.59 * g + 0.11 * b) * 0.35)
                row.append(bytes((grey, grey, grey, a)))
        width *= 2
    png(path, width, height, pixels)


DARK = (40, 40, 60)
TEAL = (0, 128, 128)
WHITE = (255, 255, 255)
GREY = (150, 150, 160)
BLUE = (40, 90, 200)
RED = (200, 40, 40)
YELLOW = (240, 200, 40)

# Backspace key: a key cap pointing left with a cross.
draw("glyph_loeschen.png", 40, 22, [
    (DARK, poly((1, 11), (11, 1), (39, 1), (39, 21), (11, 21))),
    (WHITE, poly((4, 11), (12, 3), (37, 3), (37, 19), (12, 19))),
    (DARK, line(18, 6, 28, 16, 2.5)),
    (DARK, line(28, 6, 18, 16, 2.5)),
])

# Enter key: an arrow that runs down and turns left.
draw("glyph_eingabe.png", 40, 26, [
    (DARK, rect(30, 2, 35, 17)),
    (DARK, rect(12, 12, 35, 17)),
    (DARK, poly((2, 14.5), (14, 5), (14, 24))),
])

# Screenshot: a camera.
draw("glyph_screenshot.png", 32, 32, [
    (DARK, rect(2, 9, 30, 27)),
    (DARK, rect(10, 5, 20, 10)),
    (GREY, circle(16, 18, 7)),
    (BLUE, circle(16, 18, 4.5)),
    (WHITE, circle(14.5, 16.5, 1.3)),
    (YELLOW, rect(24, 11, 28, 13)),
], disabled=True)

# Worksheet studio: a sheet with a picture and lines.
draw("glyph_lichtstudio.png", 32, 32, [
    (DARK, poly((5, 2), (22, 2), (28, 8), (28, 30), (5, 30))),
    (WHITE, poly((7, 4), (21, 4), (26, 9), (26, 28), (7, 28))),
    (GREY, poly((21, 4), (21, 9), (26, 9))),
    (BLUE, rect(10, 11, 23, 19)),
    (YELLOW, circle(19.5, 13.5, 2)),
    (DARK, rect(10, 22, 23, 23.5)),
    (DARK, rect(10, 25, 20, 26.5)),
])

# Function plotter: axes with a curve.
draw("glyph_kurvenwerk.png", 32, 32, [
    (WHITE, rect(2, 2, 30, 30)),
    (DARK, rect(4, 16, 28, 17.5)),
    (DARK, rect(15, 4, 16.5, 28)),
    (DARK, poly((28, 16.75), (24, 14), (24, 19.5))),
    (DARK, poly((15.75, 4), (13, 8), (18.5, 8))),
] + [(RED, circle(5 + i * 0.5, 16 - 10 * ((5 + i * 0.5 - 16) / 11) ** 3, 1.3)) for i in range(45)])

# 3-D viewer: a cube.
draw("glyph_raumschau.png", 32, 32, [
    (BLUE, poly((4, 10), (20, 10), (20, 28), (4, 28))),
    (TEAL, poly((20, 10), (28, 4), (28, 22), (20, 28))),
    ((120, 170, 240), poly((4, 10), (12, 4), (28, 4), (20, 10))),
    (DARK, line(4, 10, 20, 10, 1)),
    (DARK, line(20, 10, 20, 28, 1)),
    (DARK, line(20, 10, 28, 4, 1)),
])

# Calculator.
calculator = [(DARK, rect(6, 2, 26, 30)), ((170, 210, 170), rect(9, 5, 23, 11))]
for row in range(3):
    for col in range(3):
        x, y = 9 + col * 5, 14 + row * 5
        calculator.append((WHITE, rect(x, y, x + 4, y + 4)))
draw("glyph_taschenrechner.png", 32, 32, calculator)

# Page printing: a printer with a sheet.
draw("glyph_drucken.png", 28, 28, [
    (WHITE, rect(8, 2, 20, 12)),
    (DARK, rect(2, 11, 26, 22)),
    (GREY, rect(4, 13, 24, 20)),
    (WHITE, rect(7, 18, 21, 27)),
    (DARK, rect(9, 21, 19, 22)),
    (DARK, rect(9, 24, 17, 25)),
    (YELLOW, circle(21.5, 15.5, 1.3)),
])

# Log book: a closed book.
draw("glyph_logbuch.png", 32, 32, [
    (TEAL, rect(7, 3, 27, 29)),
    (DARK, rect(5, 3, 9, 29)),
    (WHITE, rect(9, 26, 27, 29)),
    (WHITE, rect(12, 8, 24, 12)),
    (DARK, line(14, 17, 24, 17, 1.2)),
    (DARK, line(14, 21, 22, 21, 1.2)),
])

# Page stepping arrows.
draw("glyph_pfeil_links.png", 22, 22, [(TEAL, poly((1, 11), (12, 1), (12, 7), (21, 7), (21, 15), (12, 15), (12, 21)))], disabled=True)
draw("glyph_pfeil_rechts.png", 22, 22, [(TEAL, poly((21, 11), (10, 1), (10, 7), (1, 7), (1, 15), (10, 15), (10, 21)))], disabled=True)

# Font size of the contents tree: a large and a small letter A.
def letter_a(x, y, h):
    w = h * 0.8
    outer = poly((x, y + h), (x + w / 2 - h * 0.1, y), (x + w / 2 + h * 0.1, y), (x + w, y + h),
                 (x + w - h * 0.22, y + h), (x + w / 2, y + h * 0.22), (x + h * 0.22, y + h))
    bar = rect(x + w * 0.3, y + h * 0.58, x + w * 0.7, y + h * 0.72)
    return [(DARK, outer), (DARK, bar)]


draw("glyph_schrift.png", 18, 18, letter_a(0.5, 2, 15) + letter_a(11, 8, 9))

# Instructions: a blue disc with a white "i".
draw("glyph_anleitung.png", 18, 18, [
    (BLUE, circle(9, 9, 8.5)),
    (WHITE, circle(9, 5, 1.6)),
    (WHITE, rect(7.8, 7.5, 10.2, 14.5)),
])
