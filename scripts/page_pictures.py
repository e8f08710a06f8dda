#!/usr/bin/python3
"""Pictures of the section and instruction pages, drawn from simple shapes.

make_pages.py calls zeichne(name) for every [Bild name] of a page source.
Everything is drawn at twice the size and scaled down, for smooth edges, and
stored with a small palette so that the pages stay small.
"""
import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFont

S = 2  # supersampling
SCHRIFT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
SCHRIFT_FETT = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"

SCHWARZ = (0, 0, 0)
WEISS = (255, 255, 255)
BLAU = (0, 0, 255)
HELLBLAU = (50, 160, 255)
NAVY = (0, 0, 128)
ROT = (200, 0, 0)
GRUEN = (0, 150, 0)
GELB = (255, 220, 0)
HELLGELB = (255, 255, 160)
HELLGRUEN = (210, 242, 222)
GRAU = (150, 150, 150)
HELLGRAU = (225, 225, 225)
ORANGE = (240, 140, 0)
FORMFARBE = (184, 209, 228)
TEAL = (0, 128, 128)

RESSOURCEN = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "resources")
TASTENBILD_LOESCHEN = os.path.join(RESSOURCEN, "glyph_loeschen.png")


class Leinwand:
    def __init__(self, w, h, hg=WEISS):
        self.w, self.h = w, h
        self.img = Image.new("RGB", (w * S, h * S), hg)
        self.d = ImageDraw.Draw(self.img)
        self._fonts = {}
        self._uebermalt = []

    def font(self, groesse, fett=False):
        key = (groesse, fett)
        if key not in self._fonts:
            self._fonts[key] = ImageFont.truetype(SCHRIFT_FETT if fett else SCHRIFT, int(groesse * S))
        return self._fonts[key]

    def linie(self, x0, y0, x1, y1, farbe=SCHWARZ, breite=2):
        self.d.line([(x0 * S, y0 * S), (x1 * S, y1 * S)], fill=farbe, width=max(1, int(breite * S)))

    def gestrichelt(self, x0, y0, x1, y1, farbe=SCHWARZ, breite=2, strich=6):
        laenge = math.hypot(x1 - x0, y1 - y0)
        n = max(1, int(laenge / strich))
        for i in range(0, n, 2):
            a, b = i / n, min(1.0, (i + 1) / n)
            self.linie(x0 + (x1 - x0) * a, y0 + (y1 - y0) * a, x0 + (x1 - x0) * b, y0 + (y1 - y0) * b,
                       farbe, breite)

    def pfeil(self, x0, y0, x1, y1, farbe=SCHWARZ, breite=2, spitze=10):
        self.linie(x0, y0, x1, y1, farbe, breite)
        w = math.atan2(y1 - y0, x1 - x0)
        p = [(x1, y1),
             (x1 - spitze * math.cos(w - 0.45), y1 - spitze * math.sin(w - 0.45)),
             (x1 - spitze * math.cos(w + 0.45), y1 - spitze * math.sin(w + 0.45))]
        self.polygon(p, farbe)

    def rechteck(self, x0, y0, x1, y1, fuellung=None, rand=SCHWARZ, breite=2, radius=0):
        box = [x0 * S, y0 * S, x1 * S, y1 * S]
        if radius:
            self.d.rounded_rectangle(box, radius * S, fill=fuellung, outline=rand, width=int(breite * S))
        else:
            self.d.rectangle(box, fill=fuellung, outline=rand, width=int(breite * S) if rand else 0)

    def ellipse(self, cx, cy, rx, ry, fuellung=None, rand=SCHWARZ, breite=2):
        self.d.ellipse([(cx - rx) * S, (cy - ry) * S, (cx + rx) * S, (cy + ry) * S], fill=fuellung,
                       outline=rand, width=int(breite * S) if rand else 0)

    def kreis(self, cx, cy, r, fuellung=None, rand=SCHWARZ, breite=2):
        self.ellipse(cx, cy, r, r, fuellung, rand, breite)

    def polygon(self, punkte, fuellung=None, rand=None, breite=2):
        self.d.polygon([(x * S, y * S) for x, y in punkte], fill=fuellung)
        if rand:
            p = [(x * S, y * S) for x, y in punkte]
            self.d.line(p + [p[0]], fill=rand, width=int(breite * S), joint="curve")

    def kreisbogen(self, cx, cy, r, start, ende, fuellung, rand=SCHWARZ):
        box = [(cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S]
        self.d.pieslice(box, start, ende, fill=fuellung, outline=rand, width=2 * S)

    def text(self, x, y, s, groesse=16, farbe=SCHWARZ, fett=False, anker="mm"):
        """Text at (x, y); the anchor as in PIL ("mm" centred, "lm" left, "rm" right)."""
        self.d.text((x * S, y * S), s, fill=farbe, font=self.font(groesse, fett), anchor=anker)

    def einsetzen(self, datei, x, y):
        """A picture of the program's resources, its pixels at half size, top left at (x, y)."""
        bild = Image.open(datei).convert("RGBA")
        self.img.paste(bild, (int(x * S), int(y * S)), bild)

    def breite(self, s, groesse=16, fett=False):
        return self.d.textlength(s, font=self.font(groesse, fett)) / S

    def uebermalen(self, malen):
        """Paints over a part of the finished picture with malen(L).

        The picture's colours are still chosen from it as it was before, so
        that everything outside the part keeps every pixel it had; the pixels
        painted over get palette entries of their own.
        """
        self._uebermalt.append(malen)

    def bild(self):
        klein = self.img.resize((self.w, self.h), Image.LANCZOS)
        bild = klein.quantize(colors=96, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        if not self._uebermalt:
            return bild
        for malen in self._uebermalt:
            malen(self)
        neu = self.img.resize((self.w, self.h), Image.LANCZOS)
        maske = ImageChops.difference(klein, neu).convert("L").point(lambda v: 255 if v else 0)
        kasten = maske.getbbox()
        if not kasten:
            return bild
        farben = max(i for _, i in bild.getcolors()) + 1
        teil = neu.crop(kasten).quantize(colors=32, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        palette = bild.getpalette()[:3 * farben] + teil.getpalette()[:3 * 32]
        teil = teil.point(lambda i: i + farben)
        bild.paste(teil, kasten, maske.crop(kasten))
        bild.putpalette(palette)
        return bild


# ---------------------------------------------------------------- shared pieces

def zahlenstrahl_achse(L, y, x0, x1, schritte, beschriftung, teil=10):
    """An axis from x0 to x1 with `schritte` small steps; long ticks every `teil` steps."""
    L.pfeil(x0 - 8, y, x1 + 22, y, SCHWARZ, 2)
    dx = (x1 - x0) / schritte
    for i in range(schritte + 1):
        h = 10 if i % teil == 0 else (6 if i % 5 == 0 else 3)
        L.linie(x0 + i * dx, y - h, x0 + i * dx, y + h, SCHWARZ, 2 if h > 3 else 1)
    for i, s in beschriftung:
        L.text(x0 + i * dx, y + 24, s, 13, SCHWARZ, True)
    return dx


def stellen_schema(L, x0, y0, spalten, zeilen, zelle=34, kopf=None):
    """Written arithmetic in a grid of boxes.

    zeilen: list of (kind, text, colour); kind "z" digits right-aligned in the columns,
    "u" small carries, "strich" the result line. Text may contain blanks for empty boxes.
    """
    y = y0
    if kopf:
        for i, k in enumerate(kopf):
            L.text(x0 + (i + 0.5) * zelle, y + 8, k, 11, NAVY, True)
        y += 18
    for art, text, farbe in zeilen:
        if art == "strich":
            L.linie(x0 - 6, y + 2, x0 + spalten * zelle + 4, y + 2, SCHWARZ, 2)
            y += 6
            continue
        h = zelle if art == "z" else 20
        text = text.rjust(spalten)
        for i, ch in enumerate(text[-spalten:]):
            if art == "z":
                L.rechteck(x0 + i * zelle, y, x0 + (i + 1) * zelle, y + h, None, HELLGRAU, 1)
            if ch != " ":
                L.text(x0 + (i + 0.5) * zelle, y + h / 2 + 1, ch, 22 if art == "z" else 13, farbe,
                       art == "z")
        y += h + 2
    return y


# The metals of the coins: the shade of the ring and the lighter one of the centre.
GOLD_METALL = ((235, 190, 60), (250, 215, 100))
KUPFER_METALL = ((190, 110, 60), (215, 140, 80))
# Silver with a cool tint, as the exercises draw it.
SILBER_METALL = ((166, 172, 186), (190, 196, 210))


def muenze(L, cx, cy, r, wert, gold=True, ring=None, kern=None):
    """A coin of one metal, or with ring and kern a two-coloured euro coin."""
    metall = GOLD_METALL if gold else KUPFER_METALL
    ring, kern = ring or metall, kern or metall
    L.kreis(cx, cy, r, ring[0], (120, 90, 20), 2)
    L.kreis(cx, cy, r * 0.78, kern[1], None)
    L.text(cx, cy, wert, max(10, r * 0.55), (90, 60, 0), True)


def schein(L, x, y, wert, farbe):
    L.rechteck(x, y, x + 110, y + 58, farbe, (60, 60, 60), 2, 6)
    L.rechteck(x + 8, y + 8, x + 102, y + 50, None, WEISS, 1, 4)
    L.text(x + 55, y + 29, wert, 22, WEISS, True)


def einheiten_leiter(L, einheiten, faktoren, farbe, breite=86):
    """Unit boxes from large to small, joined by arrows with their factors.

    The gaps between the boxes must hold the factor labels (about 50 pixels).
    """
    n = len(einheiten)
    abstand = (L.w - 20 - n * breite) / max(1, n - 1)
    for i, e in enumerate(einheiten):
        x = 10 + i * (breite + abstand)
        y = 40 + i * 14
        L.rechteck(x, y, x + breite, y + 46, farbe, NAVY, 2, 8)
        L.text(x + breite / 2, y + 23, e, 22, NAVY, True)
        if i < n - 1:
            xa, xb = x + breite + 4, x + breite + abstand - 4
            L.pfeil(xa, y + 14, xb, y + 28, GRUEN, 2, 9)
            L.text((xa + xb) / 2, y + 2, "· " + faktoren[i], 14, GRUEN, True)
            L.pfeil(xb, y + 40, xa, y + 26, ROT, 2, 9)
            L.text((xa + xb) / 2, y + 60, ": " + faktoren[i], 14, ROT, True)


def uhr(L, cx, cy, r, stunde, minute, sekunde=None):
    L.kreis(cx, cy, r, WEISS, SCHWARZ, 3)
    for i in range(60):
        w = math.radians(i * 6)
        a = r * (0.86 if i % 5 == 0 else 0.92)
        L.linie(cx + a * math.sin(w), cy - a * math.cos(w), cx + r * 0.97 * math.sin(w),
                cy - r * 0.97 * math.cos(w), SCHWARZ, 3 if i % 5 == 0 else 1)
    for i in range(1, 13):
        w = math.radians(i * 30)
        L.text(cx + r * 0.72 * math.sin(w), cy - r * 0.72 * math.cos(w), str(i), r * 0.16, SCHWARZ, True)

    def zeiger(winkel, laenge, farbe, dicke):
        w = math.radians(winkel)
        L.linie(cx, cy, cx + laenge * math.sin(w), cy - laenge * math.cos(w), farbe, dicke)

    zeiger((stunde % 12) * 30 + minute * 0.5, r * 0.5, GRUEN, 6)
    zeiger(minute * 6, r * 0.8, BLAU, 4)
    if sekunde is not None:
        zeiger(sekunde * 6, r * 0.88, (220, 0, 0), 2)
    L.kreis(cx, cy, 5, SCHWARZ, None)


def wuerfel_iso(L, x, y, a, farben=((230, 230, 230), (200, 200, 200), (170, 170, 170)), rand=SCHWARZ):
    """One cube in oblique view; (x, y) is the front bottom left corner."""
    t = a * 0.5
    dx, dy = t * 0.8, -t * 0.6
    vorne = [(x, y), (x + a, y), (x + a, y - a), (x, y - a)]
    oben = [(x, y - a), (x + a, y - a), (x + a + dx, y - a + dy), (x + dx, y - a + dy)]
    rechts = [(x + a, y), (x + a + dx, y + dy), (x + a + dx, y - a + dy), (x + a, y - a)]
    L.polygon(vorne, farben[0], rand, 1.5)
    L.polygon(oben, farben[1], rand, 1.5)
    L.polygon(rechts, farben[2], rand, 1.5)


def netz_kreuz(L, x0, y0, a, farben, zellen=((1, 0), (0, 1), (1, 1), (2, 1), (3, 1), (1, 2))):
    for (i, j), f in zip(zellen, farben):
        L.rechteck(x0 + i * a, y0 + j * a, x0 + (i + 1) * a, y0 + (j + 1) * a, f, SCHWARZ, 2)


def fenster(L, x, y, w, h, titel):
    L.rechteck(x, y, x + w, y + h, FORMFARBE, (90, 90, 90), 2)
    L.rechteck(x, y, x + w, y + 22, (40, 70, 140), None)
    L.text(x + 8, y + 11, titel, 12, WEISS, True, "lm")


def knopf(L, x, y, w, h, text, farbe=TEAL, groesse=13):
    L.rechteck(x, y, x + w, y + h, (235, 240, 245), (120, 130, 140), 1, 4)
    L.text(x + w / 2, y + h / 2, text, groesse, farbe, True)


# ---------------------------------------------------------------- chapter 1

def zahlenstrahl():
    L = Leinwand(620, 150)
    dx = zahlenstrahl_achse(L, 95, 30, 580, 100, [(0, "0"), (10, "10 000"), (50, "50 000"),
                                                  (100, "100 000")])
    x = 30 + 53 * dx
    L.gestrichelt(x, 85, x, 45, BLAU, 2)
    L.text(x, 32, "?", 22, BLAU, True)
    x = 30 + 35 * dx
    L.gestrichelt(x, 85, x, 55, ROT, 2)
    L.text(x, 42, "35 000", 14, ROT, True)
    L.text(310, 12, "Ein kleiner Strich = 1 000", 13, NAVY, True)
    return L


def vergleich():
    L = Leinwand(620, 170)
    dx = zahlenstrahl_achse(L, 115, 30, 580, 100, [(0, "0"), (10, "100 000"), (50, "500 000"),
                                                   (100, "1 000 000")])
    for wert, farbe, h, name in ((26, BLAU, 72, "A = 256 114"), (27, GRUEN, 36, "B = 265 482")):
        x = 30 + wert * dx
        L.gestrichelt(x, 105, x, h + 10, farbe, 2)
        L.text(x + (4 if farbe == GRUEN else -4), h, name, 14, farbe, True, "lm" if farbe == GRUEN else "rm")
    L.text(470, 40, "A < B", 30, ROT, True)
    return L


def zahlenmauer():
    L = Leinwand(420, 190)
    a, h = 100, 44
    reihen = [["5", "7", "9"], ["12", "16"], ["28"]]
    for r, steine in enumerate(reihen):
        y = 150 - r * h
        x0 = 210 - len(steine) * a / 2
        for i, s in enumerate(steine):
            gesucht = (r, i) == (2, 0)
            L.rechteck(x0 + i * a, y - h, x0 + (i + 1) * a, y, (255, 235, 200) if not gesucht else WEISS,
                       (150, 70, 20), 2)
            L.text(x0 + (i + 0.5) * a, y - h / 2, s if not gesucht else "?", 22,
                   SCHWARZ if not gesucht else ROT, True)
    L.text(210, 174, "5 + 7 = 12     7 + 9 = 16     12 + 16 = ?", 13, NAVY, True)
    return L


def schwan(L, x, y, farbe=WEISS):
    L.ellipse(x, y, 34, 15, farbe, SCHWARZ, 1.5)
    L.polygon([(x - 10, y - 8), (x + 26, y - 4), (x + 4, y + 6)], (235, 235, 235), SCHWARZ, 1)
    L.linie(x + 24, y - 6, x + 30, y - 34, SCHWARZ, 9)
    L.linie(x + 24, y - 6, x + 30, y - 34, farbe, 6)
    L.kreis(x + 32, y - 36, 7, farbe, SCHWARZ, 1.5)
    L.polygon([(x + 38, y - 38), (x + 50, y - 34), (x + 38, y - 32)], ORANGE)
    L.kreis(x + 33, y - 38, 1.5, SCHWARZ, None)


def schwanenrennen():
    L = Leinwand(560, 170, (200, 230, 250))
    L.rechteck(0, 100, 560, 170, (120, 180, 230), None)
    L.rechteck(0, 40, 560, 44, (120, 180, 230), None)
    schwan(L, 200, 75)
    schwan(L, 320, 140)
    L.text(8, 62, "Spieler", 13, NAVY, True, "lm")
    L.text(8, 128, "Computer", 13, NAVY, True, "lm")
    L.linie(520, 20, 520, 165, SCHWARZ, 3)
    L.text(520, 10, "Ziel", 13, SCHWARZ, True)
    L.rechteck(380, 8, 500, 32, WEISS, NAVY, 1, 6)
    L.text(440, 20, "7 · 8 = 56", 14, NAVY, True)
    return L


def runden():
    L = Leinwand(600, 170)
    x0, x1 = 40, 560
    L.linie(x0 - 10, 100, x1 + 10, 100, SCHWARZ, 2)
    dx = (x1 - x0) / 10
    for i in range(11):
        L.linie(x0 + i * dx, 90 if i % 5 else 86, x0 + i * dx, 110 if i % 5 else 114, SCHWARZ, 2)
    L.text(x0, 130, "17 510", 14, SCHWARZ, True)
    L.text(x0 + 5 * dx, 130, "17 515", 13, GRAU, True)
    L.text(x1, 130, "17 520", 14, SCHWARZ, True)
    x = x0 + 4 * dx
    L.kreis(x, 100, 7, BLAU, None)
    L.text(x, 72, "17 514", 16, BLAU, True)
    L.pfeil(x - 6, 58, x0 + 8, 58, GRUEN, 3)
    L.text((x + x0) / 2, 42, "abrunden", 14, GRUEN, True)
    L.rechteck(x0 + 5 * dx - 2, 150, x1 + 2, 166, (255, 225, 225), None)
    L.rechteck(x0 - 2, 150, x0 + 5 * dx - 2, 166, (225, 245, 225), None)
    L.text(x0 + 2.5 * dx, 158, "0, 1, 2, 3, 4: abrunden", 12, GRUEN, True)
    L.text(x0 + 7.5 * dx, 158, "5, 6, 7, 8, 9: aufrunden", 12, ROT, True)
    return L


def einkaufswagen():
    L = Leinwand(520, 180)
    # The handle reaches the basket's upper corner.
    L.linie(40, 36, 66, 36, SCHWARZ, 4)
    L.linie(66, 36, 81, 51, NAVY, 3)
    L.polygon([(80, 50), (300, 50), (280, 130), (100, 130)], (230, 240, 250), NAVY, 3)
    for i in range(1, 6):
        L.linie(80 + i * 36, 50, 100 + i * 30, 130, NAVY, 1)
    L.linie(100, 130, 110, 150, NAVY, 3)
    L.linie(110, 150, 290, 150, NAVY, 3)
    L.kreis(125, 162, 10, (60, 60, 60), None)
    L.kreis(270, 162, 10, (60, 60, 60), None)
    L.rechteck(120, 20, 200, 70, (60, 110, 200), SCHWARZ, 2)
    L.rechteck(210, 30, 270, 70, ROT, SCHWARZ, 2)
    for x, y, t in ((340, 40, "Computer   270 €"), (340, 75, "Radio   120 €"), (340, 110, "Drucker   90 €")):
        L.rechteck(x, y - 14, x + 165, y + 14, HELLGELB, ORANGE, 2, 6)
        L.text(x + 82, y, t, 14, SCHWARZ, True)
    return L


def solaranlage():
    L = Leinwand(560, 170, (220, 240, 255))
    for x0, wert in ((20, "263 W"), (290, "277 W")):
        L.polygon([(x0 + 20, 110), (x0 + 140, 110), (x0 + 170, 40), (x0 + 50, 40)], (30, 60, 130), SCHWARZ, 2)
        for i in range(1, 4):
            L.linie(x0 + 20 + i * 30, 110, x0 + 50 + i * 30, 40, (150, 170, 220), 1)
        L.linie(x0 + 35, 75, x0 + 155, 75, (150, 170, 220), 1)
        L.rechteck(x0 + 160, 90, x0 + 250, 140, (40, 40, 40), SCHWARZ, 2, 4)
        L.text(x0 + 205, 115, wert, 18, (120, 255, 120), True)
        L.text(x0 + 205, 155, "Wechselrichter", 11, NAVY, True)
    L.kreis(520, 28, 18, GELB, ORANGE, 2)
    return L


def spalten_rechnung(oben, unten, ergebnis):
    """Written addition or subtraction in the place-value boxes, carries in red."""
    L = Leinwand(320, 170)
    stellen_schema(L, 70, 4, 4, [("z", oben, SCHWARZ), ("z", unten, SCHWARZ), ("u", " 11 ", ROT),
                                 ("strich", "", None), ("z", ergebnis, BLAU)], kopf=["T", "H", "Z", "E"])
    # The label stands beside the row of carries it names.
    L.text(216, 104, "← Übertrag", 13, ROT, True, "lm")
    return L


def addition():
    return spalten_rechnung("478", "+356", "834")


def subtraktion():
    return spalten_rechnung("413", "- 17", "396")


def mal_zehn():
    L = Leinwand(540, 160)
    notiz = ("", "eine Null anhängen", "zwei Nullen anhängen")
    for i, (a, erg) in enumerate((("3", "12"), ("30", "120"), ("300", "1 200"))):
        y = 30 + i * 48
        L.text(120, y, a, 26, NAVY, True, "rm")
        L.text(128, y, "· 4 =", 26, SCHWARZ, True, "lm")
        L.text(210, y, erg, 26, BLAU, True, "lm")
        if notiz[i]:
            L.pfeil(310, y, 330, y, ROT, 2, 8)
            L.text(338, y, notiz[i], 16, ROT, True, "lm")
    return L


def mal_lang():
    L = Leinwand(420, 260)
    L.text(40, 22, "347 · 6", 24, SCHWARZ, True, "lm")
    zeilen = [("a)", "42", "7 · 6"), ("b)", "240", "40 · 6"), ("c)", "282", "a) + b)"),
              ("d)", "1800", "300 · 6"), ("e)", "2082", "c) + d)")]
    y = 50
    for name, zahl, erkl in zeilen:
        if name in ("c)", "e)"):
            L.linie(60, y - 2, 200, y - 2, SCHWARZ, 2)
            y += 4
        L.text(30, y + 15, name, 14, NAVY, True)
        for i, ch in enumerate(zahl.rjust(4)):
            L.rechteck(60 + i * 34, y, 94 + i * 34, y + 30, None, HELLGRAU, 1)
            if ch != " ":
                L.text(77 + i * 34, y + 16, ch, 20, BLAU if name == "e)" else SCHWARZ, True)
        L.rechteck(220, y + 2, 400, y + 28, HELLGELB, ORANGE, 1, 4)
        L.text(310, y + 15, erkl, 14, SCHWARZ, True)
        y += 40
    return L


def mal_kurz():
    L = Leinwand(540, 130)
    # One column per digit: the last digit of the result stands under the 7.
    spalte = 26
    for i, ch in enumerate("347"):
        L.text(60 + (i + 1.5) * spalte, 30, ch, 28, SCHWARZ, True)
    L.text(60 + 4 * spalte + 14, 30, "·  6", 28, SCHWARZ, True, "lm")
    L.linie(50, 52, 225, 52, SCHWARZ, 2)
    for i, ch in enumerate("2082"):
        L.text(60 + (i + 0.5) * spalte, 76, ch, 28, BLAU, True)
    schritte = ["7 · 6 = 42: schreibe 2, merke 4", "4 · 6 + 4 = 28: schreibe 8, merke 2",
                "3 · 6 + 2 = 20: schreibe 20"]
    for i, s in enumerate(schritte):
        L.rechteck(250, 20 + i * 34, 530, 46 + i * 34, HELLGELB, ORANGE, 1, 4)
        L.text(260, 33 + i * 34, s, 14, SCHWARZ, True, "lm")
    L.text(112, 112, "Einer zuerst!", 16, ROT, True)
    return L


def mal_zwei():
    L = Leinwand(300, 195)
    L.text(150, 14, "246 · 35", 22, SCHWARZ, True)
    stellen_schema(L, 65, 32, 5, [("z", "738 ", SCHWARZ), ("z", "1230", SCHWARZ),
                                 ("u", "  1  ", ROT), ("strich", "", None), ("z", "8610", BLAU)],
                   kopf=["ZT", "T", "H", "Z", "E"])
    return L


def division(rest=False):
    L = Leinwand(460, 300)
    dividend = "8798" if rest else "8795"
    L.text(20, 20, dividend + " : 5 = 1759" + (" Rest 3" if rest else ""), 24, SCHWARZ, True, "lm")
    z = L.breite("8", 24, True)
    # Each line of the scheme ends under the digit of the dividend that it has reached.
    zeilen = [(0, "-5", ROT), (1, "37", SCHWARZ), (1, "-35", ROT), (2, "29", SCHWARZ), (2, "-25", ROT),
              (3, "4" + dividend[3], SCHWARZ), (3, "-45", ROT), (3, str(int(dividend[3]) - 5), BLAU)]
    y = 52
    for spalte, text, farbe in zeilen:
        ende = 20 + (spalte + 1) * z
        L.text(ende, y, text, 24, farbe, True, "rm")
        if text.startswith("-"):
            L.linie(ende - 2.2 * z, y + 15, ende + 2, y + 15, SCHWARZ, 2)
        y += 30
    L.rechteck(230, 70, 450, 190, HELLGELB, ORANGE, 1, 6)
    for i, s in enumerate(("1. teilen", "2. malnehmen", "3. abziehen", "4. herunterholen")):
        L.text(245, 90 + i * 28, s, 16, NAVY, True, "lm")
    probe = "Probe: 1759 · 5 + 3 = 8798" if rest else "Probe: 1759 · 5 = 8795"
    L.text(235, 230, probe, 15, GRUEN, True, "lm")
    return L


def division_ohne_rest():
    return division(False)


def division_mit_rest():
    return division(True)


def balkendiagramm():
    L = Leinwand(520, 240)
    daten = [("Äpfel", 5, ROT), ("Birnen", 2, GRUEN), ("Bananen", 7, GELB), ("Kirschen", 4, (150, 0, 60)),
             ("Trauben", 3, (120, 60, 170))]
    x0, y0, e = 60, 200, 22
    for k in range(9):
        L.linie(x0, y0 - k * e, x0 + 440, y0 - k * e, HELLGRAU, 1)
        L.text(x0 - 12, y0 - k * e, str(k), 12, SCHWARZ, False)
    L.pfeil(x0, y0, x0, y0 - 8 * e - 14, SCHWARZ, 2)
    L.linie(x0, y0, x0 + 450, y0, SCHWARZ, 2)
    for i, (name, n, farbe) in enumerate(daten):
        x = x0 + 20 + i * 85
        L.rechteck(x, y0 - n * e, x + 50, y0, farbe, SCHWARZ, 1)
        L.text(x + 25, y0 + 16, name, 12, SCHWARZ, True)
    L.text(300, 14, "Lieblingsobst der Klasse 3b", 14, NAVY, True)
    return L


def kreisdiagramm():
    L = Leinwand(560, 200)
    L.kreisbogen(100, 100, 80, -90, 90, (200, 200, 0))
    L.kreisbogen(100, 100, 80, 90, 270, ROT)
    L.text(100, 192, "Hälfte: 50 %", 13, SCHWARZ, True)
    L.kreisbogen(280, 100, 80, -90, 0, (0, 180, 0))
    L.kreisbogen(280, 100, 80, 0, 270, (50, 160, 255))
    L.text(280, 192, "Viertel: 25 %", 13, SCHWARZ, True)
    farben = [ROT, (200, 200, 0)]
    for k in range(8):
        L.kreisbogen(460, 100, 80, -90 + k * 45, -45 + k * 45, farben[k % 2])
    L.text(460, 192, "Achtel: 12,5 %", 13, SCHWARZ, True)
    return L


# ---------------------------------------------------------------- chapter 2

def uhr_ablesen():
    L = Leinwand(520, 230)
    uhr(L, 115, 115, 105, 3, 0, 40)
    L.rechteck(260, 30, 500, 90, (20, 20, 20), None, 0, 6)
    L.text(380, 60, "03:00:40", 30, (255, 80, 80), True)
    L.rechteck(260, 130, 500, 190, (20, 20, 20), None, 0, 6)
    L.text(380, 160, "15:00:40", 30, (120, 255, 120), True)
    L.text(380, 110, "vor Mittag", 13, NAVY, True)
    L.text(380, 210, "nach Mittag", 13, NAVY, True)
    return L


def zeiteinheiten():
    L = Leinwand(520, 160)
    einheiten_leiter(L, ["1 d", "1 h", "1 min", "1 s"], ["24", "60", "60"], HELLGELB)
    return L


def kalender():
    L = Leinwand(620, 190)
    monate = ["Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"]
    x = 30
    for hand in range(2):
        L.rechteck(x - 10, 90, x + 250, 170, (245, 205, 170), (150, 90, 60), 2, 30)
        for k in range(4):
            L.kreis(x + 20 + k * 70, 90, 26, (245, 205, 170), (150, 90, 60), 2)
        x += 300
    # Knuckles and dips alternate: January on the first knuckle, July and August both on knuckles.
    xs = [50, 85, 120, 155, 190, 225, 260, 350, 385, 420, 455, 490]
    for i, m in enumerate(monate):
        knoechel = i in (0, 2, 4, 6, 7, 9, 11)
        y = 58 if knoechel else 122
        L.text(xs[i], y, m, 14, ROT if knoechel else BLAU, True)
    L.text(310, 16, "Knöchel: 31 Tage        Lücke: 30 Tage (Februar: 28 oder 29)", 13, NAVY, True)
    return L


def zoowege():
    L = Leinwand(520, 220)
    punkte = {"A": (60, 170), "P": (250, 50), "T": (450, 150)}
    wege = [("A", "P", "350 m", (0, 0, 255), (120, 60)), ("P", "T", "400 m", (0, 128, 0), (390, 60)),
            ("T", "A", "500 m", (128, 0, 128), (260, 208))]
    for a, b, t, f, pos in wege:
        (x0, y0), (x1, y1) = punkte[a], punkte[b]
        mx, my = (x0 + x1) / 2, (y0 + y1) / 2
        kx, ky = mx + (pos[0] - mx) * 0.4, my + (pos[1] - my) * 0.6
        alt = None
        for i in range(41):
            s = i / 40
            x = (1 - s) ** 2 * x0 + 2 * (1 - s) * s * kx + s * s * x1
            y = (1 - s) ** 2 * y0 + 2 * (1 - s) * s * ky + s * s * y1
            if alt:
                L.linie(alt[0], alt[1], x, y, f, 3)
            alt = (x, y)
        L.text(pos[0], pos[1], t, 14, f, True)
    for n, (x, y) in punkte.items():
        L.kreis(x, y, 6, SCHWARZ, None)
    L.text(40, 180, "A", 18, ROT, True)
    L.text(150, 14, "350 m + 400 m + 500 m = 1 250 m = 1 km 250 m", 13, NAVY, True, "lm")
    return L


def lineal():
    L = Leinwand(590, 120)
    L.rechteck(20, 30, 570, 90, (250, 235, 160), (150, 120, 40), 2, 4)
    # Ten centimetres, the last number well inside the ruler.
    x0, mm = 40, 5.1
    for i in range(0, 101):
        h = 22 if i % 10 == 0 else (14 if i % 5 == 0 else 8)
        L.linie(x0 + i * mm, 30, x0 + i * mm, 30 + h, SCHWARZ, 1.5 if i % 10 == 0 else 1)
        if i % 10 == 0:
            L.text(x0 + i * mm, 64, str(i // 10), 14, SCHWARZ, True)
    L.text(295, 82, "cm", 12, SCHWARZ, True)
    L.text(295, 12, "1 cm = 10 mm          10 cm = 1 dm", 14, NAVY, True)
    L.linie(x0, 104, x0 + 10 * mm, 104, ROT, 3)
    L.text(x0 + 10 * mm + 8, 104, "1 cm", 12, ROT, True, "lm")
    return L


def zylinder(L, cx, boden, r, h, farbe):
    L.rechteck(cx - r, boden - h, cx + r, boden, farbe, None)
    L.ellipse(cx, boden, r, r * 0.3, farbe, SCHWARZ, 1.5)
    L.linie(cx - r, boden - h, cx - r, boden, SCHWARZ, 1.5)
    L.linie(cx + r, boden - h, cx + r, boden, SCHWARZ, 1.5)
    L.ellipse(cx, boden - h, r, r * 0.3, (200, 230, 255), SCHWARZ, 1.5)


def messbecher():
    L = Leinwand(560, 200)
    for cx, r, name, f in ((90, 55, "1 l", SCHWARZ), (260, 26, "1 dl", GRUEN), (390, 13, "1 cl", BLAU),
                           (490, 6, "1 ml", ROT)):
        zylinder(L, cx, 150, r, 2 * r, (50, 160, 255))
        L.text(cx, 180, name, 18, f, True)
    L.text(280, 14, "1 l = 10 dl = 100 cl = 1 000 ml", 15, NAVY, True)
    return L


def giesskanne():
    L = Leinwand(460, 195)
    L.polygon([(60, 60), (170, 60), (180, 160), (50, 160)], (0, 150, 80), SCHWARZ, 2)
    L.polygon([(170, 120), (250, 60), (258, 68), (180, 140)], (0, 150, 80), SCHWARZ, 2)
    L.ellipse(255, 62, 8, 12, (0, 120, 60), SCHWARZ, 1.5)
    L.d.arc([70 * S, 20 * S, 160 * S, 100 * S], 180, 360, fill=SCHWARZ, width=6 * S)
    L.text(115, 112, "10 Liter", 16, WEISS, True)
    L.polygon([(330, 80), (390, 80), (382, 160), (338, 160)], (235, 245, 255), SCHWARZ, 2)
    L.polygon([(333, 100), (387, 100), (382, 160), (338, 160)], (255, 200, 60), None)
    L.text(360, 176, "0,25 Liter = 250 ml", 12, NAVY, True)
    L.text(360, 60, "Glas", 14, NAVY, True)
    return L


def gewicht_stueck(L, cx, boden, masse, farbe=HELLBLAU):
    a = (masse ** (1 / 3)) * 3.6
    L.polygon([(cx - a, boden), (cx + a, boden), (cx + a * 0.8, boden - a * 1.4), (cx - a * 0.8, boden - a * 1.4)],
              farbe, SCHWARZ, 1.5)
    L.rechteck(cx - a * 0.3, boden - a * 1.7, cx + a * 0.3, boden - a * 1.4, farbe, SCHWARZ, 1.5)
    L.text(cx, boden - a * 0.7, "%d g" % masse if masse < 1000 else "1 kg", max(9, a * 0.45), SCHWARZ, True)


def waage():
    L = Leinwand(560, 230)
    c = 280
    L.polygon([(c - 10, 225), (c + 10, 225), (c + 10, 50), (c - 10, 50)], (200, 50, 100), SCHWARZ, 1.5)
    L.polygon([(c - 200, 40), (c + 200, 40), (c + 200, 54), (c - 200, 54)], (200, 50, 100), SCHWARZ, 1.5)
    L.kreis(c, 47, 4, SCHWARZ, None)
    for hx in (c - 190, c + 190):
        L.linie(hx, 47, hx - 70, 180, SCHWARZ, 1)
        L.linie(hx, 47, hx + 70, 180, SCHWARZ, 1)
        L.rechteck(hx - 78, 180, hx + 78, 185, (200, 50, 100), SCHWARZ, 1)
    L.rechteck(c - 235, 120, c - 145, 179, (250, 250, 250), SCHWARZ, 2, 6)
    L.text(c - 190, 140, "Zucker", 14, NAVY, True)
    L.text(c - 190, 160, "1000 g", 14, NAVY, True)
    gewicht_stueck(L, c + 148, 179, 500)
    gewicht_stueck(L, c + 202, 179, 200)
    gewicht_stueck(L, c + 246, 179, 200)
    gewicht_stueck(L, c + 148, 130, 100)
    L.text(c, 16, "Gleichgewicht: 1000 g = 500 g + 200 g + 200 g + 100 g", 14, GRUEN, True)
    return L


def gewichtseinheiten():
    L = Leinwand(560, 160)
    einheiten_leiter(L, ["1 t", "1 kg", "1 g", "1 mg"], ["1000", "1000", "1000"], HELLGRUEN)
    return L


def geld():
    L = Leinwand(680, 175)
    werte = [("1", 14, False), ("2", 16, False), ("5", 18, False), ("10", 19, True), ("20", 21, True),
             ("50", 23, True)]
    x = 30
    for w, r, gold in werte:
        muenze(L, x + r, 40, r, w, gold)
        x += 2 * r + 14
    L.text(x + 10, 40, "Cent", 15, NAVY, True, "lm")
    muenze(L, 60, 110, 25, "1 €")
    muenze(L, 130, 110, 27, "2 €")
    for i, (w, f) in enumerate((("5 €", (130, 130, 130)), ("10 €", (200, 80, 80)), ("20 €", (70, 110, 200)),
                                ("50 €", (220, 140, 40)))):
        schein(L, 190 + i * 120, 82, w, f)
    L.text(95, 160, "1 € = 100 Cent", 14, ROT, True)

    def euro_muenzen(L):
        # 1 euro: a silver centre in a golden ring; 2 euro the other way round.
        muenze(L, 60, 110, 25, "1 €", ring=GOLD_METALL, kern=SILBER_METALL)
        muenze(L, 130, 110, 27, "2 €", ring=SILBER_METALL, kern=GOLD_METALL)
    # Over the golden coins they replace, so that the rest of the picture
    # keeps its colours to the pixel.
    L.uebermalen(euro_muenzen)
    return L


def wechselgeld():
    L = Leinwand(520, 170)
    schein(L, 20, 30, "20 €", (70, 110, 200))
    L.text(200, 58, "- 12,80 € =", 22, SCHWARZ, True)
    schein(L, 290, 30, "5 €", (130, 130, 130))
    muenze(L, 440, 40, 22, "2 €")
    muenze(L, 430, 95, 16, "20")
    L.text(260, 140, "20,00 € - 12,80 € = 7,20 €", 18, GRUEN, True)
    return L


def laengeneinheiten():
    L = Leinwand(660, 160)
    einheiten_leiter(L, ["km", "m", "dm", "cm", "mm"], ["1000", "10", "10", "10"], HELLGELB, 80)
    return L


# ---------------------------------------------------------------- chapter 3

def form(L, art, cx, cy, r, farbe):
    if art == "dreieck":
        L.polygon([(cx, cy - r), (cx + r * 0.9, cy + r * 0.7), (cx - r * 0.9, cy + r * 0.7)], farbe, SCHWARZ, 1.5)
    elif art == "quadrat":
        L.polygon([(cx - r * 0.7, cy - r * 0.7), (cx + r * 0.7, cy - r * 0.7), (cx + r * 0.7, cy + r * 0.7),
                   (cx - r * 0.7, cy + r * 0.7)], farbe, SCHWARZ, 1.5)
    else:
        L.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], farbe, SCHWARZ, 1.5)


def muster():
    L = Leinwand(420, 260)
    folge = [("dreieck", ROT), ("quadrat", BLAU), ("raute", GRUEN)]
    n = 12
    for i in range(n):
        w = 2 * math.pi * i / n - math.pi / 2
        cx, cy = 130 + 100 * math.cos(w), 130 + 100 * math.sin(w)
        L.kreis(cx, cy, 24, WEISS, SCHWARZ, 2)
        if i < 8:
            art, f = folge[i % 3]
            form(L, art, cx, cy, 17, f)
    L.text(330, 90, "Was kommt", 15, NAVY, True)
    L.text(330, 112, "als Nächstes?", 15, NAVY, True)
    form(L, "raute", 330, 160, 20, GRUEN)
    L.text(330, 200, "richtig!", 14, GRUEN, True)
    return L


def spiegelung():
    L = Leinwand(440, 260)
    e, x0, y0 = 20, 220, 140
    for i in range(-10, 11):
        L.linie(x0 + i * e, 10, x0 + i * e, 250, HELLGRAU, 1)
    for j in range(-6, 6):
        L.linie(10, y0 + j * e, 430, y0 + j * e, HELLGRAU, 1)
    L.linie(x0, 5, x0, 255, ROT, 3)

    def p(x, y):
        return x0 + x * e, y0 - y * e

    figur = [("A", (-7, 4), BLAU), ("B", (-3, 2), ROT), ("C", (-8, -3), GRUEN)]
    for a, b in ((0, 1), (1, 2), (2, 0)):
        L.linie(*p(*figur[a][1]), *p(*figur[b][1]), SCHWARZ, 2)
        L.linie(*p(-figur[a][1][0], figur[a][1][1]), *p(-figur[b][1][0], figur[b][1][1]), GRAU, 2)
    for name, (x, y), f in figur:
        L.kreis(*p(x, y), 5, f, None)
        L.text(p(x, y)[0] - 14, p(x, y)[1] - 12, name, 15, f, True)
        L.kreis(*p(-x, y), 5, f, None)
        L.text(p(-x, y)[0] + 16, p(-x, y)[1] - 12, name + "'", 15, f, True)
    L.gestrichelt(*p(-3, 2), *p(3, 2), ORANGE, 2)
    L.text(x0 - 30, p(0, 2)[1] + 12, "3", 13, ORANGE, True)
    L.text(x0 + 30, p(0, 2)[1] + 12, "3", 13, ORANGE, True)
    return L


def symmetrie():
    L = Leinwand(600, 200)
    q = [(40, 40), (160, 40), (160, 160), (40, 160)]
    L.polygon(q, (0, 100, 255))
    for a, b in (((100, 25), (100, 175)), ((25, 100), (175, 100)), ((28, 28), (172, 172)), ((172, 28), (28, 172))):
        L.gestrichelt(*a, *b, ROT, 2)
    L.text(100, 190, "4 Achsen", 14, NAVY, True)
    L.polygon([(300, 30), (370, 160), (230, 160)], (200, 125, 0))
    L.gestrichelt(300, 20, 300, 175, ROT, 2)
    L.text(300, 190, "1 Achse", 14, NAVY, True)
    L.polygon([(440, 160), (580, 160), (480, 50)], (0, 130, 0))
    L.text(510, 190, "keine Achse", 14, NAVY, True)
    return L


def wuerfelbau():
    L = Leinwand(460, 190)
    a = 34
    for z in range(3):
        for y in range(2, -1, -1):
            for x in range(3):
                t = a * 0.5
                px = 40 + x * a + y * t * 0.8
                py = 170 - z * a - y * t * 0.6
                wuerfel_iso(L, px, py, a, ((250, 210, 120), (255, 235, 170), (220, 170, 80)))
    L.text(330, 50, "3 · 3 = 9 Würfel", 15, NAVY, True)
    L.text(330, 74, "in jeder Schicht", 15, NAVY, True)
    L.text(330, 120, "3 Schichten:", 15, NAVY, True)
    L.text(330, 144, "3 · 9 = 27", 18, ROT, True)
    return L


def wuerfelnetz():
    L = Leinwand(560, 230)
    farben = [(255, 80, 80), (80, 180, 80), (80, 140, 255), (255, 220, 60), (200, 120, 220), (255, 160, 60)]
    wuerfel_iso(L, 40, 180, 110, (farben[2], farben[0], farben[3]))
    L.pfeil(210, 120, 270, 120, NAVY, 3)
    netz_kreuz(L, 290, 20, 60, farben, ((1, 0), (0, 1), (1, 1), (2, 1), (3, 1), (1, 2)))
    L.text(420, 218, "Würfelnetz: 6 Quadrate", 14, NAVY, True)
    return L


def netze():
    L = Leinwand(600, 230)
    f = (250, 210, 120)
    netz_kreuz(L, 20, 20, 45, [f] * 6, ((1, 0), (0, 1), (1, 1), (2, 1), (3, 1), (2, 2)))
    L.text(110, 180, "faltet zum Würfel", 14, GRUEN, True)
    L.text(110, 205, "Ja", 20, GRUEN, True)
    # Two rows of three hang together but fold onto each other.
    netz_kreuz(L, 362, 42, 45, [f] * 6, ((0, 0), (1, 0), (2, 0), (0, 1), (1, 1), (2, 1)))
    L.text(430, 180, "zwei Flächen liegen übereinander", 13, ROT, True)
    L.text(430, 205, "Nein", 20, ROT, True)
    return L


def farbnetz():
    L = Leinwand(560, 230)
    rot, gelb, blau = (255, 80, 80), (255, 220, 60), (80, 140, 255)
    netz_kreuz(L, 20, 20, 60, [blau, rot, gelb, rot, gelb, blau])
    L.text(140, 218, "gleiche Farben liegen gegenüber", 13, NAVY, True)
    L.pfeil(280, 110, 340, 110, NAVY, 3)
    wuerfel_iso(L, 370, 190, 110, (gelb, blau, rot))
    return L


# ---------------------------------------------------------------- instructions

def anleitung_fenster():
    L = Leinwand(560, 260)
    fenster(L, 10, 10, 540, 240, "Pravolin - Grundschule")
    L.rechteck(12, 32, 548, 62, (70, 110, 166), None)
    L.text(24, 47, "Pravolin   Grundschule", 16, GELB, True, "lm")
    L.rechteck(12, 62, 548, 80, (165, 125, 93), None)
    L.text(24, 71, "Inhaltsverzeichnis", 12, GELB, True, "lm")
    L.rechteck(12, 80, 548, 206, (74, 145, 223), None)
    eintraege = [(0, "1. Kapitel : Natürliche Zahlen"), (1, "1.1 Einführende Übungen"),
                 (2, "1.1.1 Der Zahlenstrahl"), (2, "1.1.2 Der Zahlenstrahl II"), (1, "1.2 Schätzen und Runden"),
                 (0, "2. Kapitel : Größen"), (0, "3. Kapitel : Geometrie")]
    for i, (tiefe, t) in enumerate(eintraege):
        L.text(30 + tiefe * 18, 92 + i * 17, t, 12, GELB, True, "lm")
    knopf(L, 18, 212, 170, 32, "Kapitelauswahl")
    knopf(L, 372, 212, 170, 32, "Programm beenden")
    return L


def anleitung_uebung():
    L = Leinwand(600, 300)
    fenster(L, 10, 10, 580, 280, "Abschnitt 1.3   Übung 1")
    L.rechteck(30, 50, 420, 220, WEISS, GRAU, 1)
    L.text(225, 80, "Aufgabe", 16, NAVY, True)
    L.rechteck(60, 110, 190, 150, WEISS, SCHWARZ, 2)
    L.text(125, 130, "834", 22, SCHWARZ, True)
    knopf(L, 210, 110, 90, 40, "prüfen")
    L.rechteck(60, 165, 390, 190, SCHWARZ, None)
    L.text(225, 178, "Super, das Ergebnis ist richtig.", 13, (0, 255, 0), True)
    # The keypad as the exercise window has it: the arrows and the delete key
    # on top, then the digits in pairs, the comma and the return key. The
    # delete key shows what the program's key shows: the left arrow over the
    # keypad's own delete picture.
    L.rechteck(440, 36, 586, 284, (214, 224, 240), None)
    knopf(L, 448, 42, 32, 30, "←", SCHWARZ, 16)
    knopf(L, 482, 42, 32, 30, "→", SCHWARZ, 16)
    knopf(L, 516, 42, 64, 30, "", SCHWARZ, 16)
    L.text(548, 50, "←", 16, SCHWARZ, True)
    L.einsetzen(TASTENBILD_LOESCHEN, 538, 59)
    tasten = ["1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ",", ""]
    for i, t in enumerate(tasten):
        knopf(L, 448 + (i % 2) * 68, 76 + (i // 2) * 34, 64, 30, t, SCHWARZ, 16)
    # Return arrow on the last key: down, then left with a head.
    rx, ry = 516 + 44, 76 + 5 * 34 + 8
    L.linie(rx, ry, rx, ry + 10, SCHWARZ, 2)
    L.pfeil(rx, ry + 10, rx - 22, ry + 10, SCHWARZ, 2, 7)
    L.rechteck(12, 232, 438, 288, (90, 120, 160), None)
    knopf(L, 20, 240, 130, 40, "Neue Aufgabe", SCHWARZ)
    knopf(L, 160, 240, 130, 40, "Aufgabe 2 / 8", SCHWARZ)
    knopf(L, 360, 240, 70, 40, "Ende", SCHWARZ)
    return L


def anleitung_logbuch():
    L = Leinwand(560, 270)
    fenster(L, 10, 10, 540, 250, "Abschnitt 1.3")
    L.rechteck(12, 32, 548, 120, (184, 209, 228), None)
    for i, t in enumerate(("1.3.1 Die schriftliche Addition", "Abschnitt 1.3, Übung 1", "_" * 24)):
        L.rechteck(20, 40 + i * 20, 34, 54 + i * 20, WEISS, SCHWARZ, 1)
        L.text(27, 47 + i * 20, "x", 11, SCHWARZ, True)
        L.text(42, 47 + i * 20, t, 12, SCHWARZ, False, "lm")
    knopf(L, 300, 44, 110, 26, "übernehmen", SCHWARZ)
    knopf(L, 420, 44, 110, 26, "verwerfen", SCHWARZ)
    knopf(L, 300, 80, 230, 26, "Logbuch schließen", SCHWARZ)
    L.rechteck(12, 120, 548, 216, WEISS, GRAU, 1)
    zeilen = ["Logbuch: Pravolin - Grundschule", "*" * 40, "1.3.1 Die schriftliche Addition",
              "Abschnitt 1.3, Übung 1", "Bearbeitet am 05.03.2024"]
    for i, t in enumerate(zeilen):
        L.text(20, 132 + i * 17, t, 12, SCHWARZ, False, "lm")
    L.rechteck(12, 216, 548, 258, (90, 120, 160), None)
    for i, t in enumerate(("Logbuch speichern", "Logbuch laden", "Logbuch drucken")):
        knopf(L, 20 + i * 176, 222, 168, 30, t)
    return L


BILDER = {
    "zahlenstrahl": zahlenstrahl, "vergleich": vergleich, "zahlenmauer": zahlenmauer,
    "schwanenrennen": schwanenrennen, "runden": runden, "einkaufswagen": einkaufswagen,
    "solaranlage": solaranlage, "addition": addition, "subtraktion": subtraktion, "mal_zehn": mal_zehn,
    "mal_lang": mal_lang, "mal_kurz": mal_kurz, "mal_zwei": mal_zwei,
    "division_ohne_rest": division_ohne_rest, "division_mit_rest": division_mit_rest,
    "balkendiagramm": balkendiagramm, "kreisdiagramm": kreisdiagramm,
    "uhr_ablesen": uhr_ablesen, "zeiteinheiten": zeiteinheiten, "kalender": kalender, "zoowege": zoowege,
    "lineal": lineal, "laengeneinheiten": laengeneinheiten, "messbecher": messbecher,
    "giesskanne": giesskanne, "waage": waage, "gewichtseinheiten": gewichtseinheiten, "geld": geld,
    "wechselgeld": wechselgeld, "muster": muster, "spiegelung": spiegelung, "symmetrie": symmetrie,
    "wuerfelbau": wuerfelbau, "wuerfelnetz": wuerfelnetz, "netze": netze, "farbnetz": farbnetz,
    "anleitung_fenster": anleitung_fenster, "anleitung_uebung": anleitung_uebung,
    "anleitung_logbuch": anleitung_logbuch,
}


def zeichne(name):
    return BILDER[name]().bild()


if __name__ == "__main__":
    import sys
    for n in sys.argv[1:] or BILDER:
        zeichne(n).save("/tmp/bild_%s.png" % n)
