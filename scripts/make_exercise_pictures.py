#!/usr/bin/env python3
"""Draws the pictures of the chapter-1 exercises (PNG, standard library only).

resources/exercises/schwan.png        the swan of the race, 100 x 51
resources/exercises/computer.png ...  the six products of the shop, 110 x 80
resources/exercises/hgtastatur.png    background of the on-screen keypad
Run from the repository: python3 scripts/make_exercise_pictures.py
Shapes are drawn four times larger and averaged down, for smooth edges.
"""
import math
import os
import struct
import zlib

S = 4  # supersampling


class Bild:
    def __init__(self, w, h, hg=(255, 255, 255)):
        self.w, self.h = w, h
        self.W, self.H = w * S, h * S
        self.p = [list(hg) for _ in range(self.W * self.H)]

    def _setze(self, x, y, c):
        if 0 <= x < self.W and 0 <= y < self.H:
            self.p[y * self.W + x] = list(c)

    def ellipse(self, cx, cy, rx, ry, c, winkel=0.0):
        cx, cy, rx, ry = cx * S, cy * S, rx * S, ry * S
        r = max(rx, ry)
        co, si = math.cos(math.radians(winkel)), math.sin(math.radians(winkel))
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                u, v = dx * co + dy * si, -dx * si + dy * co
                if (u / rx) ** 2 + (v / ry) ** 2 <= 1:
                    self._setze(x, y, c)

    def polygon(self, pkte, c):
        pk = [(x * S, y * S) for x, y in pkte]
        y0 = int(min(p[1] for p in pk))
        y1 = int(max(p[1] for p in pk)) + 1
        n = len(pk)
        for y in range(y0, y1 + 1):
            yy = y + 0.5
            xs = []
            for i in range(n):
                (xa, ya), (xb, yb) = pk[i], pk[(i + 1) % n]
                if (ya <= yy < yb) or (yb <= yy < ya):
                    xs.append(xa + (yy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(int(math.ceil(xs[i] - 0.5)), int(math.floor(xs[i + 1] - 0.5)) + 1):
                    self._setze(x, y, c)

    def rechteck(self, x0, y0, x1, y1, c):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], c)

    def linie(self, xa, ya, xb, yb, breite, c):
        dx, dy = xb - xa, yb - ya
        l = math.hypot(dx, dy) or 1
        nx, ny = -dy / l * breite / 2, dx / l * breite / 2
        self.polygon([(xa + nx, ya + ny), (xb + nx, yb + ny), (xb - nx, yb - ny), (xa - nx, ya - ny)], c)
        self.ellipse(xa, ya, breite / 2, breite / 2, c)
        self.ellipse(xb, yb, breite / 2, breite / 2, c)

    def speichern(self, pfad):
        zeilen = bytearray()
        for y in range(self.h):
            zeilen.append(0)
            for x in range(self.w):
                s = [0, 0, 0]
                for j in range(S):
                    for i in range(S):
                        q = self.p[(y * S + j) * self.W + x * S + i]
                        for k in range(3):
                            s[k] += q[k]
                zeilen.extend(round(v / (S * S)) for v in s)

        def chunk(art, daten):
            c = struct.pack(">I", len(daten)) + art + daten
            return c + struct.pack(">I", zlib.crc32(art + daten) & 0xFFFFFFFF)

        d = b"\x89PNG\r\n\x1a\n"
        d += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0))
        d += chunk(b"IDAT", zlib.compress(bytes(zeilen), 9))
        d += chunk(b"IEND", b"")
        with open(pfad, "wb") as f:
            f.write(d)


SCHWARZ = (0, 0, 0)
WEISS = (255, 255, 255)


def schwan():
    b = Bild(100, 51)
    wasser = (120, 170, 230)
    b.rechteck(0, 44, 100, 51, (200, 225, 250))
    for x in range(0, 100, 16):
        b.linie(x + 2, 46, x + 10, 46, 1.5, wasser)
    grau = (90, 90, 100)
    # Outline first, then the white body a little smaller on top.
    b.ellipse(48, 33, 32, 12, grau)
    b.polygon([(14, 30), (4, 18), (22, 24)], grau)
    b.linie(70, 32, 76, 10, 8, grau)
    b.ellipse(80, 9, 8, 6, grau)
    b.ellipse(48, 33, 30.5, 10.5, WEISS)
    b.polygon([(16, 30), (6, 20), (24, 26)], WEISS)
    b.linie(70, 32, 76, 10, 5, WEISS)
    b.ellipse(80, 9, 6.5, 4.6, WEISS)
    # Wing.
    b.ellipse(44, 29, 17, 7, (225, 225, 232), winkel=-8)
    b.linie(32, 30, 56, 27, 1, (170, 170, 180))
    b.polygon([(86, 7), (97, 10), (86, 12)], (240, 130, 20))
    b.ellipse(85.5, 9.5, 1.6, 2.2, SCHWARZ)
    b.ellipse(81, 7.5, 1.3, 1.3, SCHWARZ)
    return b


def computer():
    b = Bild(110, 80)
    b.rechteck(20, 4, 90, 52, (60, 60, 66))
    b.rechteck(24, 8, 86, 48, (70, 140, 220))
    b.polygon([(24, 8), (50, 8), (24, 30)], (120, 180, 240))
    b.rechteck(48, 52, 62, 60, (90, 90, 96))
    b.rechteck(38, 60, 72, 63, (90, 90, 96))
    b.polygon([(14, 66), (96, 66), (102, 77), (8, 77)], (200, 200, 205))
    for r in range(3):
        for k in range(12):
            x = 14 + k * 7 + r * 2
            b.rechteck(x, 68 + r * 3, x + 5, 70 + r * 3, (110, 110, 118))
    return b


def radio():
    b = Bild(110, 80)
    b.linie(70, 22, 96, 2, 2, (120, 120, 120))
    b.ellipse(96, 2, 2, 2, (120, 120, 120))
    b.rechteck(8, 22, 102, 76, (150, 40, 40))
    b.rechteck(12, 26, 98, 72, (180, 60, 50))
    b.ellipse(36, 49, 19, 19, (60, 30, 30))
    for r in range(-15, 16, 5):
        b.linie(36 - 14, 49 + r, 36 + 14, 49 + r, 1.2, (130, 80, 70))
    b.ellipse(36, 49, 5, 5, (40, 20, 20))
    b.rechteck(62, 32, 94, 44, (240, 225, 170))
    for x in range(65, 93, 4):
        b.linie(x, 34, x, 38, 0.8, SCHWARZ)
    b.linie(76, 33, 76, 43, 1.2, (220, 0, 0))
    b.ellipse(70, 60, 6, 6, (230, 230, 230))
    b.ellipse(88, 60, 6, 6, (230, 230, 230))
    return b


def drucker():
    b = Bild(110, 80)
    b.rechteck(32, 2, 78, 30, WEISS)
    b.rechteck(32, 2, 33, 30, (160, 160, 160))
    b.rechteck(77, 2, 78, 30, (160, 160, 160))
    b.rechteck(32, 2, 78, 3, (160, 160, 160))
    for y in range(9, 27, 5):
        b.linie(38, y, 72, y, 1, (120, 120, 200))
    b.polygon([(10, 28), (100, 28), (104, 62), (6, 62)], (170, 172, 178))
    b.rechteck(6, 56, 104, 66, (120, 122, 128))
    b.rechteck(24, 62, 86, 76, (200, 200, 204))
    b.rechteck(26, 64, 84, 68, WEISS)
    b.rechteck(80, 36, 96, 42, (60, 60, 60))
    b.ellipse(88, 50, 3, 3, (40, 200, 40))
    return b


def erdbeere(b, x, y, s):
    b.polygon([(x - 10 * s, y - 6 * s), (x + 10 * s, y - 6 * s), (x + 8 * s, y + 4 * s), (x, y + 16 * s),
               (x - 8 * s, y + 4 * s)], (210, 20, 40))
    b.ellipse(x, y - 4 * s, 10 * s, 5 * s, (210, 20, 40))
    for dx, dy in [(-5, -1), (0, 0), (5, -1), (-3, 5), (3, 5), (0, 10), (-6, 2), (6, 2)]:
        b.ellipse(x + dx * s, y + dy * s, 0.9 * s, 1.2 * s, (250, 220, 90))
    for w in (-50, -15, 15, 50):
        dx, dy = math.sin(math.radians(w)) * 8 * s, -math.cos(math.radians(w)) * 5 * s
        b.linie(x, y - 8 * s, x + dx, y - 8 * s + dy, 3 * s, (40, 150, 40))


def erdbeeren():
    b = Bild(110, 80)
    erdbeere(b, 30, 36, 1.6)
    erdbeere(b, 78, 40, 1.5)
    erdbeere(b, 55, 52, 1.4)
    return b


def banane(b, versatz, winkel):
    pk_aussen, pk_innen = [], []
    for i in range(0, 21):
        t = math.radians(200 + i * 7)
        pk_aussen.append((55 + math.cos(t) * 44, 8 + versatz + (-math.sin(t)) * 44 * 0.9))
        pk_innen.append((55 + math.cos(t) * 36, 14 + versatz + (-math.sin(t)) * 36 * 0.75))
    del winkel
    b.polygon(pk_aussen + list(reversed(pk_innen)), (230, 190, 30))
    b.polygon(pk_aussen[3:18] + list(reversed(pk_innen[3:18])), (250, 220, 60))
    x, y = pk_aussen[0]
    b.linie(x, y, x - 4, y - 5, 3, (110, 80, 20))
    x, y = pk_aussen[-1]
    b.ellipse(x, y, 2, 2, (80, 60, 20))


def bananen():
    b = Bild(110, 80)
    banane(b, 16, 0)
    banane(b, 26, 0)
    return b


def kartoffeln():
    b = Bild(110, 80)
    for cx, cy, rx, ry, w in [(32, 44, 22, 15, -10), (74, 38, 24, 16, 12), (54, 60, 20, 13, 0)]:
        b.ellipse(cx, cy, rx, ry, (140, 100, 50), winkel=w)
        b.ellipse(cx - 2, cy - 2, rx - 2.5, ry - 2.5, (195, 150, 90), winkel=w)
        for dx, dy in [(-8, -3), (6, 2), (-2, 6), (9, -5)]:
            b.ellipse(cx + dx, cy + dy, 1.5, 1.2, (120, 85, 40))
    return b


def tastatur():
    b = Bild(202, 640, (0, 0, 0))
    for y in range(b.H):
        t = y / (b.H - 1)
        c = (round(60 + 40 * t), round(90 + 50 * t), round(130 + 60 * t))
        for x in range(b.W):
            b.p[y * b.W + x] = list(c)
    return b


def main():
    ziel = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "exercises")
    os.makedirs(ziel, exist_ok=True)
    for name, f in [("schwan", schwan), ("computer", computer), ("radio", radio), ("drucker", drucker),
                    ("erdbeeren", erdbeeren), ("bananen", bananen), ("kartoffeln", kartoffeln),
                    ("hgtastatur", tastatur)]:
        f().speichern(os.path.join(ziel, name + ".png"))


if __name__ == "__main__":
    main()
