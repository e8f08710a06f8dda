#!/usr/bin/python3
"""Draws the pictures of the chart, shop and balance exercises.

resources/exercises/tier_*.png     the seven animals of the bar charts, 100 x 100
resources/exercises/produkt_*.png  the twelve products of the counter, 273 x 225
resources/exercises/ware_*.png     the sixteen goods of the balance, 140 x 110

Some drawings are Debian's openclipart-svg pictures (public domain), rendered
with rsvg-convert; the rest are drawn here with PIL from simple shapes.
Run from the repository with Debian's Python: /usr/bin/python3
resources/generate_exercise_pictures.py (needs python3-pil, librsvg2-bin and
openclipart-svg, which scripts/setup --tools installs).
"""
import io
import math
import os
import subprocess

from PIL import Image, ImageDraw, ImageFont

HIER = os.path.dirname(os.path.abspath(__file__))
ZIEL = os.path.join(HIER, "exercises")
CLIPART = "/usr/share/openclipart/svg"
S = 4  # drawn four times larger and scaled down, for smooth edges
SCHRIFT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def svg(name, w, h):
    """An openclipart picture fitted into w x h, on transparent ground."""
    png = subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "--keep-aspect-ratio",
                          os.path.join(CLIPART, name)], check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGBA")


class Bild:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.im = Image.new("RGBA", (w * S, h * S), (255, 255, 255, 255))
        self.d = ImageDraw.Draw(self.im)

    def _p(self, pkte):
        return [(x * S, y * S) for x, y in pkte]

    def ellipse(self, x0, y0, x1, y1, farbe, rand=None, breite=1):
        self.d.ellipse([x0 * S, y0 * S, x1 * S, y1 * S], fill=farbe, outline=rand, width=breite * S)

    def rechteck(self, x0, y0, x1, y1, farbe, rand=None, breite=1, radius=0):
        self.d.rounded_rectangle([x0 * S, y0 * S, x1 * S, y1 * S], radius=radius * S, fill=farbe,
                                 outline=rand, width=breite * S)

    def polygon(self, pkte, farbe, rand=None):
        self.d.polygon(self._p(pkte), fill=farbe, outline=rand)

    def linie(self, pkte, farbe, breite=1):
        self.d.line(self._p(pkte), fill=farbe, width=max(1, int(breite * S)), joint="curve")

    def bogen(self, x0, y0, x1, y1, a0, a1, farbe, breite=1):
        self.d.arc([x0 * S, y0 * S, x1 * S, y1 * S], a0, a1, fill=farbe, width=int(breite * S))

    def text(self, x, y, t, groesse, farbe):
        f = ImageFont.truetype(SCHRIFT, groesse * S)
        l, o, r, u = self.d.textbbox((0, 0), t, font=f)
        self.d.text((x * S - (r - l) / 2, y * S - (u - o) / 2 - o), t, font=f, fill=farbe)

    def einsetzen(self, bild, x, y):
        """Pastes an RGBA picture (in final pixels) centred on (x, y)."""
        b = bild.resize((bild.width * S, bild.height * S), Image.LANCZOS)
        self.im.alpha_composite(b, (int(x * S - b.width / 2), int(y * S - b.height / 2)))

    def speichern(self, name):
        klein = self.im.resize((self.w, self.h), Image.LANCZOS).convert("RGB")
        klein.save(os.path.join(ZIEL, name))


# ---- animals -------------------------------------------------------------------

def ast(b):
    b.linie([(6, 86), (94, 80)], (110, 80, 50), 6)
    b.linie([(70, 82), (88, 92)], (110, 80, 50), 3)


def vogel(name, ruecken, bauch, kopf, wange, brust=None, fluegel=None, binde=None, haube=False,
          maske=None, streifen=None):
    """A small songbird perched on a branch, turned to the left."""
    b = Bild(100, 100)
    ast(b)
    fluegel = fluegel or ruecken
    b.polygon([(62, 58), (94, 74), (90, 80), (60, 66)], fluegel)  # tail
    b.ellipse(24, 34, 76, 78, ruecken)  # body
    b.ellipse(26, 46, 62, 80, bauch)  # belly
    if brust:
        b.ellipse(24, 38, 56, 66, brust)
    if streifen:
        b.polygon([(40, 50), (46, 50), (44, 76), (41, 76)], streifen)
    b.polygon([(44, 46), (78, 52), (80, 64), (50, 68)], fluegel)  # wing
    if binde:
        b.polygon([(52, 56), (76, 58), (76, 62), (52, 61)], binde)
    if haube:
        b.polygon([(22, 30), (34, 6), (44, 28)], kopf)
        b.linie([(27, 24), (34, 10), (39, 24)], (245, 245, 245), 1.5)
    b.ellipse(16, 16, 50, 50, kopf)  # head
    b.ellipse(20, 28, 44, 46, wange)  # cheek
    if maske:
        b.ellipse(12, 24, 30, 44, maske)
    b.polygon([(18, 32), (6, 36), (18, 38)], (70, 60, 50))  # beak
    b.ellipse(24, 27, 31, 34, (20, 20, 20))  # eye
    b.ellipse(26, 28, 28, 30, (255, 255, 255))
    for x in (42, 54):
        b.linie([(x, 76), (x - 2, 82)], (90, 70, 60), 2)
    b.speichern(name)


def eichhoernchen():
    b = Bild(100, 100)
    rot, hell = (176, 84, 36), (232, 196, 150)
    # bushy tail curling up behind the body
    b.ellipse(50, 10, 96, 88, rot)
    b.ellipse(60, 22, 86, 70, (196, 104, 52))
    b.ellipse(22, 40, 66, 92, rot)  # body
    b.ellipse(30, 56, 52, 90, hell)  # belly
    b.ellipse(14, 20, 48, 52, rot)  # head
    b.polygon([(20, 26), (18, 6), (30, 22)], rot)  # ear with tuft
    b.polygon([(34, 22), (38, 4), (44, 24)], rot)
    b.ellipse(8, 36, 24, 50, rot)  # snout
    b.ellipse(6, 39, 11, 44, (40, 25, 20))  # nose
    b.ellipse(22, 28, 30, 36, (20, 20, 20))  # eye
    b.ellipse(24, 29, 26, 31, (255, 255, 255))
    b.ellipse(26, 56, 40, 70, (150, 90, 40))  # nut in the paws
    b.ellipse(22, 58, 32, 66, rot)
    b.ellipse(28, 84, 46, 94, rot)  # foot
    b.speichern("tier_eichhoernchen.png")


def tiere():
    vogel("tier_distelfink.png", (170, 130, 90), (235, 220, 200), (30, 30, 30), (245, 245, 240),
          fluegel=(30, 30, 30), binde=(250, 210, 20), maske=(210, 30, 40))
    vogel("tier_bergfink.png", (70, 55, 45), (245, 240, 235), (40, 35, 35), (60, 50, 45),
          brust=(235, 140, 50), fluegel=(50, 40, 35), binde=(235, 140, 50))
    vogel("tier_blaumeise.png", (120, 150, 90), (245, 215, 40), (40, 110, 200), (250, 250, 250),
          fluegel=(50, 110, 200), binde=(245, 245, 245))
    vogel("tier_kohlmeise.png", (110, 140, 70), (245, 215, 40), (25, 25, 30), (250, 250, 250),
          fluegel=(95, 115, 130), binde=(240, 240, 240), streifen=(25, 25, 30))
    vogel("tier_haubenmeise.png", (130, 110, 90), (225, 205, 175), (60, 55, 55), (245, 245, 245),
          fluegel=(115, 95, 80), haube=True)
    vogel("tier_rotkehlchen.png", (125, 105, 70), (235, 230, 225), (125, 105, 70), (230, 100, 40),
          brust=(230, 100, 40))
    eichhoernchen()


# ---- products of the counter (273 x 225) ----------------------------------------------

def produkt(name, zeichne):
    b = Bild(273, 225)
    zeichne(b)
    b.speichern("produkt_" + name + ".png")


def kugelschreiber(b):
    b.polygon([(40, 190), (205, 40), (222, 58), (58, 206)], (30, 80, 190))  # barrel
    b.polygon([(40, 190), (58, 206), (30, 214)], (200, 200, 205))  # tip
    b.linie([(30, 214), (26, 218)], (20, 20, 20), 3)
    b.polygon([(205, 40), (222, 58), (236, 44), (219, 26)], (220, 220, 225))  # clicker
    b.linie([(196, 60), (120, 132)], (225, 225, 230), 5)  # clip
    b.linie([(70, 176), (100, 148)], (20, 50, 140), 4)  # grip


def lampe(b):
    b.polygon([(80, 40), (193, 40), (220, 120), (53, 120)], (245, 205, 110), (160, 120, 40))  # shade
    b.rechteck(128, 120, 145, 180, (180, 180, 185))  # stand
    b.ellipse(76, 172, 197, 205, (90, 90, 100))  # foot
    b.ellipse(116, 112, 157, 128, (255, 245, 200))  # light


def keramikvogel(b):
    b.ellipse(70, 180, 200, 210, (120, 80, 60))  # wooden base
    b.polygon([(175, 120), (240, 90), (236, 104), (180, 140)], (40, 100, 170))
    b.ellipse(80, 90, 195, 185, (50, 120, 190))  # glazed body
    b.ellipse(92, 120, 160, 182, (240, 240, 235))
    b.ellipse(60, 50, 130, 120, (50, 120, 190))  # head
    b.polygon([(62, 80), (30, 90), (62, 96)], (240, 170, 40))
    b.ellipse(82, 70, 96, 84, (20, 20, 30))
    b.ellipse(86, 72, 90, 76, (255, 255, 255))
    b.bogen(110, 100, 180, 160, 200, 320, (255, 255, 255), 4)  # shine of the glaze


def solarladegeraet(b):
    b.polygon([(30, 60), (160, 40), (180, 170), (50, 190)], (30, 50, 110), (150, 150, 160))
    for i in range(1, 4):
        t = i / 4
        b.linie([(30 + 130 * t, 60 - 20 * t), (50 + 130 * t, 190 - 20 * t)], (160, 170, 200), 1.5)
        b.linie([(30 + 20 * t, 60 + 130 * t), (160 + 20 * t, 40 + 130 * t)], (160, 170, 200), 1.5)
    b.rechteck(198, 100, 248, 190, (60, 60, 65), radius=8)  # power bank
    b.rechteck(206, 110, 240, 124, (120, 230, 120), radius=3)
    b.linie([(180, 150), (200, 150), (205, 110)], (20, 20, 20), 3)  # cable


def holzfigur(b):
    holz, dunkel = (214, 170, 110), (150, 105, 60)
    b.rechteck(96, 200, 176, 212, dunkel, radius=4)
    b.linie([(136, 200), (136, 150)], dunkel, 4)
    b.ellipse(118, 20, 154, 58, holz, dunkel)  # head
    b.ellipse(112, 60, 160, 130, holz, dunkel)  # body
    b.linie([(118, 72), (92, 100), (80, 132)], holz, 10)  # arms
    b.linie([(154, 72), (182, 96), (196, 70)], holz, 10)
    b.linie([(124, 126), (116, 162), (112, 196)], holz, 12)  # legs
    b.linie([(148, 126), (158, 162), (164, 196)], holz, 12)
    for x, y in [(92, 100), (182, 96), (116, 162), (158, 162)]:
        b.ellipse(x - 7, y - 7, x + 7, y + 7, holz, dunkel)  # joints


def laterne(b):
    b.linie([(30, 30), (240, 30)], (120, 80, 40), 6)  # stick
    b.linie([(136, 30), (136, 60)], (60, 60, 60), 2)
    b.ellipse(66, 56, 206, 196, (250, 140, 40), (190, 80, 20), 3)  # paper lantern
    for x in (96, 136, 176):
        b.bogen(x - 40, 56, x + 40, 196, 250, 290, (230, 110, 30), 2)
    b.ellipse(112, 100, 160, 160, (255, 230, 120))  # glow
    b.rechteck(100, 50, 172, 62, (200, 40, 40))  # top and bottom ring
    b.rechteck(100, 190, 172, 202, (200, 40, 40))


def keyboard(b):
    b.rechteck(20, 70, 253, 170, (40, 40, 45), radius=10)
    b.rechteck(30, 80, 243, 100, (70, 70, 80), radius=4)
    for i, f in enumerate([(220, 60, 60), (60, 160, 220), (240, 200, 60)]):
        b.ellipse(40 + 22 * i, 84, 52 + 22 * i, 96, f)
    b.rechteck(150, 83, 230, 97, (120, 200, 140), radius=2)  # display
    for i in range(15):
        x = 30 + i * 14.2
        b.rechteck(x, 106, x + 13, 162, (250, 250, 250), (90, 90, 90))
    for i in range(14):
        if i % 7 in (2, 6):
            continue
        x = 30 + i * 14.2 + 9.5
        b.rechteck(x, 106, x + 8, 140, (20, 20, 20))


def kerze(b):
    b.ellipse(76, 176, 196, 210, (190, 160, 60), (140, 110, 30), 2)  # holder
    b.rechteck(110, 70, 162, 190, (240, 60, 60), (190, 40, 40), 2)  # candle
    b.ellipse(110, 62, 162, 78, (250, 100, 100))
    b.linie([(136, 70), (136, 56)], (40, 40, 40), 2)  # wick
    b.ellipse(124, 20, 148, 60, (255, 190, 40))  # flame
    b.ellipse(130, 34, 142, 58, (255, 245, 180))


def palme(b):
    gruen, hell = (40, 130, 55), (70, 165, 75)
    for i, w in enumerate((-175, -145, -115, -90, -65, -35, -5)):
        r = math.radians(w)
        # a frond arches out and hangs down at its end, with leaflets along it
        pkte = []
        for k in range(9):
            t = k / 8
            x = 136 + 95 * t * math.cos(r)
            y = 112 + 70 * t * math.sin(r) - 28 * math.sin(math.pi * t) + 30 * t * t
            pkte.append((x, y))
        for k in range(1, 9):
            (x0, y0), (x1, y1) = pkte[k - 1], pkte[k]
            nx, ny = -(y1 - y0), x1 - x0
            n = math.hypot(nx, ny) or 1
            laenge = 14 * (1 - k / 10)
            for s_ in (1, -1):
                b.linie([(x1, y1), (x1 + s_ * laenge * nx / n + (x1 - x0) * 0.4,
                                    y1 + s_ * laenge * ny / n + (y1 - y0) * 0.4)], hell if i % 2 else gruen, 2)
        b.linie(pkte, gruen, 4)
    b.linie([(136, 114), (136, 160)], (120, 90, 50), 10)  # trunk
    b.polygon([(96, 158), (176, 158), (166, 214), (106, 214)], (190, 100, 60))  # pot
    b.rechteck(90, 150, 182, 164, (170, 85, 50), radius=3)


def produkte():
    produkt("kugelschreiber", kugelschreiber)
    produkt("turnschuhe", lambda b: b.einsetzen(svg("recreation/sports/tennis_shoes_jarno_vasam_.svg", 250,
                                                     200), 136, 112))
    produkt("lampe", lampe)
    produkt("keramikvogel", keramikvogel)
    produkt("solarladegeraet", solarladegeraet)
    produkt("holzfigur", holzfigur)
    produkt("taschenrechner", lambda b: b.einsetzen(svg("office/calculator.svg", 230, 200), 136, 112))
    produkt("laterne", laterne)
    produkt("keyboard", keyboard)
    produkt("kerze", kerze)
    produkt("kuechenmaschine", lambda b: b.einsetzen(svg("food/mix_cucina_frullatore_ar_01.svg", 230, 210),
                                                      136, 112))
    produkt("palme", palme)


# ---- goods of the balance (140 x 110) ------------------------------------------------

def dose(b, farbe, bild=None, deckel=(190, 190, 195)):
    b.rechteck(35, 18, 105, 100, farbe, (90, 90, 90), 1)
    b.rechteck(35, 34, 105, 86, (250, 250, 245))  # label
    b.ellipse(35, 10, 105, 26, deckel, (110, 110, 110))
    b.ellipse(35, 92, 105, 106, farbe, (90, 90, 90))
    if bild:
        bild(b, 70, 60)


def glas(b, inhalt, deckel=(200, 40, 40), hoch=False):
    oben = 10 if hoch else 22
    b.rechteck(40, oben + 10, 100, 104, (225, 240, 240), (140, 160, 160), 2, radius=10)
    inhalt(b, oben + 14)
    b.rechteck(44, oben, 96, oben + 12, deckel, radius=3)
    b.rechteck(46, 66, 94, 86, (250, 250, 240), (180, 170, 140))  # label


def tuete(b, farbe, inhalt=None):
    b.polygon([(38, 20), (102, 20), (108, 104), (32, 104)], farbe, (120, 100, 70))
    b.polygon([(38, 20), (102, 20), (96, 10), (44, 10)], tuple(max(0, c - 30) for c in farbe))
    if inhalt:
        b.ellipse(48, 40, 92, 84, (250, 250, 245), (150, 130, 100))  # window
        inhalt(b, 70, 62)


def koerner(farbe, n=18, r=2.5):
    def f(b, x, y):
        for i in range(n):
            a = i * 2.4
            d = 3 + 17 * math.sqrt(i / n)
            px, py = x + d * math.cos(a), y + d * math.sin(a)
            b.ellipse(px - r * 1.4, py - r, px + r * 1.4, py + r, farbe, (120, 100, 70))
    return f


def champignon(b, x, y):
    b.einsetzen(svg("food/champignon_01.svg", 60, 48), x, y)


def maiskolben(b, x, y):
    b.ellipse(x - 9, y - 20, x + 9, y + 20, (250, 210, 40), (200, 160, 20))
    for i in range(-3, 4):
        b.linie([(x - 8, y + 5 * i), (x + 8, y + 5 * i)], (220, 170, 20), 1)
    b.polygon([(x - 9, y + 10), (x - 20, y - 16), (x - 4, y + 18)], (80, 160, 60))
    b.polygon([(x + 9, y + 10), (x + 20, y - 16), (x + 4, y + 18)], (80, 160, 60))


def tasse(b, x, y):
    b.rechteck(x - 14, y - 10, x + 10, y + 14, (255, 255, 255), (100, 60, 40), 2, radius=3)
    b.bogen(x + 4, y - 4, x + 18, y + 8, 270, 90, (100, 60, 40), 2)
    b.ellipse(x - 13, y - 12, x + 9, y - 6, (110, 60, 30))


def apfel(b, x, y):
    b.einsetzen(svg("food/apple_bitten_dan_gerhard_01.svg", 36, 36), x, y)


def gurken(b, oben):
    for x, d in [(52, 0), (66, 4), (80, -2), (58, 30), (74, 28)]:
        b.rechteck(x - 6, oben + d + 4, x + 6, oben + d + 40, (80, 140, 50), (50, 100, 30), radius=6)


def paprikastreifen(farben):
    def f(b, oben):
        for i, x in enumerate(range(48, 94, 8)):
            b.rechteck(x, oben + 4 + (i % 2) * 6, x + 7, 100, farben[i % len(farben)], radius=3)
    return f


def apfelmus(b, oben):
    b.rechteck(42, oben + 10, 98, 102, (235, 215, 150), radius=8)


def spargel(b, oben):
    for x in range(50, 92, 8):
        b.rechteck(x, oben + 2, x + 6, 102, (245, 240, 215), (200, 190, 150), radius=3)


def klebestift(b):
    b.rechteck(52, 30, 88, 104, (250, 250, 250), (120, 120, 120), 2, radius=4)
    b.rechteck(52, 44, 88, 80, (230, 50, 50))
    b.rechteck(50, 10, 90, 32, (60, 90, 200), radius=4)  # cap
    b.text(70, 62, "GLUE", 7, (255, 255, 255))


def zahnpasta(b):
    b.polygon([(20, 40), (100, 30), (100, 80), (20, 70)], (240, 245, 250), (110, 130, 160))
    b.polygon([(20, 40), (28, 55), (20, 70)], (200, 210, 220))
    b.rechteck(100, 42, 118, 68, (40, 90, 200), radius=3)  # cap
    b.linie([(30, 55), (90, 55)], (40, 120, 220), 5)
    b.linie([(40, 62), (80, 62)], (230, 50, 60), 3)


def zucker(b):
    b.polygon([(30, 36), (90, 36), (90, 104), (30, 104)], (250, 250, 252), (130, 140, 170))
    b.polygon([(30, 36), (52, 20), (112, 20), (90, 36)], (225, 228, 240), (130, 140, 170))
    b.polygon([(90, 36), (112, 20), (112, 88), (90, 104)], (210, 214, 230), (130, 140, 170))
    b.rechteck(34, 50, 86, 70, (40, 80, 170))
    for x, y in [(42, 80), (58, 80), (50, 90)]:
        b.rechteck(x, y, x + 12, y + 10, (255, 255, 255), (170, 170, 190))  # sugar cubes


def kartoffeln(b):
    for x, y in [(45, 70), (95, 72), (70, 45)]:
        b.einsetzen(svg("food/breads_and_carbs/potato_nicu_buculei_01.svg", 60, 48), x, y)


def popcorn(b, x, y):
    for i in range(9):
        a = i * 2.2
        d = 4 + 12 * math.sqrt(i / 9)
        px, py = x + d * math.cos(a), y + d * math.sin(a)
        b.ellipse(px - 7, py - 6, px + 7, py + 6, (255, 250, 225), (210, 180, 100))


def ware(name, zeichne):
    b = Bild(140, 110)
    zeichne(b)
    b.speichern("ware_" + name + ".png")


def waren():
    ware("mandeln", lambda b: tuete(b, (200, 160, 110), koerner((190, 120, 70), 12, 4)))
    ware("kartoffeln", kartoffeln)
    ware("champignons", lambda b: dose(b, (150, 150, 155), champignon))
    ware("graupen", lambda b: tuete(b, (230, 215, 170), koerner((225, 205, 160), 22, 2.5)))
    ware("mais", lambda b: dose(b, (60, 140, 60), maiskolben))
    ware("gurken", lambda b: glas(b, gurken, (50, 120, 50)))
    ware("popcorn", lambda b: tuete(b, (230, 60, 60), popcorn))
    ware("klebestift", klebestift)
    ware("zahnpasta", zahnpasta)
    ware("paprika_eingelegt", lambda b: glas(b, paprikastreifen([(220, 40, 30), (250, 200, 30), (60, 150, 50)]),
                                              (250, 180, 30), True))
    ware("paprika_geroestet", lambda b: glas(b, paprikastreifen([(170, 30, 20), (200, 70, 30)]),
                                              (60, 60, 60), True))
    ware("apfelmus", lambda b: (glas(b, apfelmus, (200, 40, 40)), apfel(b, 70, 76)))
    ware("kakao", lambda b: dose(b, (110, 60, 30), tasse, (170, 120, 80)))
    ware("spargel", lambda b: glas(b, spargel, (40, 110, 60), True))
    ware("reis", lambda b: tuete(b, (230, 235, 245), koerner((252, 252, 248), 24, 2.2)))
    ware("zucker", zucker)


if __name__ == "__main__":
    os.makedirs(ZIEL, exist_ok=True)
    tiere()
    produkte()
    waren()
