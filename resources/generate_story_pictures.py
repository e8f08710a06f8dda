#!/usr/bin/python3
"""Draws the pictures of the word problems (textaufgaben/*.png, 300 x 200, RGBA).

Clip art of Debian's openclipart-svg (public domain) is rendered with
rsvg-convert and laid out with PIL together with simple drawn shapes and
labels. Needs the --tools packages of scripts/setup (python3-pil,
openclipart-svg, librsvg2-bin). Run from this folder:
    /usr/bin/python3 generate_story_pictures.py
"""
import io
import os
import subprocess

from PIL import Image, ImageDraw, ImageFont

CLIPART = "/usr/share/openclipart/svg/"
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "textaufgaben")
W, H = 300, 200
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def clipart(name, width, height):
    """An openclipart picture fitted into width x height, transparent ground."""
    png = subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "--keep-aspect-ratio",
                          CLIPART + name], check=True, capture_output=True).stdout
    im = Image.open(io.BytesIO(png)).convert("RGBA")
    return im.crop(im.getbbox())


def recolour(im, rgb):
    """A silhouette in another colour (alpha kept)."""
    out = Image.new("RGBA", im.size, rgb + (0,))
    out.putalpha(im.getchannel("A"))
    return out


def canvas():
    return Image.new("RGBA", (W, H), (0, 0, 0, 0))


def label(d, xy, text, size=14, bold=False, fill=(30, 30, 30), anchor="mm"):
    d.text(xy, text, font=ImageFont.truetype(BOLD if bold else FONT, size), fill=fill, anchor=anchor)


def paste_bottom(img, part, x, bottom):
    img.alpha_composite(part, (int(x), int(bottom - part.height)))


def save(img, name):
    img.save(os.path.join(OUT, name))


def cd_stack():
    img = canvas()
    d = ImageDraw.Draw(img)
    # Thirty cases would not be told apart: a stack of slim cases with a
    # height arrow and one disc beside it.
    for i in range(12):
        y = 170 - i * 11
        d.polygon([(40, y), (150, y), (175, y - 14), (65, y - 14)], fill=(200, 225, 245), outline=(70, 90, 120))
        d.rectangle([40, y, 150, y + 9], fill=(160, 190, 220), outline=(70, 90, 120))
    d.line([(190, 179), (190, 36)], fill=(180, 30, 30), width=3)
    d.polygon([(183, 44), (197, 44), (190, 32)], fill=(180, 30, 30))
    d.polygon([(183, 171), (197, 171), (190, 183)], fill=(180, 30, 30))
    label(d, (205, 105), "?", 26, True, (180, 30, 30), "lm")
    img.alpha_composite(clipart("electronics/cd.svg", 80, 80), (215, 110))
    label(d, (255, 195), "5 mm", 13, anchor="mb")
    return img


def tree(d, x, bottom, size):
    d.rectangle([x - size // 10, bottom - size // 2, x + size // 10, bottom], fill=(120, 80, 40))
    d.ellipse([x - size // 2, bottom - size - size // 3, x + size // 2, bottom - size // 3],
              fill=(70, 160, 70), outline=(40, 110, 40))


def walk():
    img = canvas()
    d = ImageDraw.Draw(img)
    # The allotments, the park and the pond along the way.
    d.line([(95, 190), (170, 172), (215, 166)], fill=(190, 160, 110), width=7)
    d.rectangle([115, 120, 165, 158], outline=(150, 110, 60), width=3)
    for x in (125, 140, 155):
        d.line([(x, 150), (x, 128)], fill=(80, 160, 60), width=3)
    for x, size in ((190, 55), (225, 70), (265, 50)):
        tree(d, x, 140, size)
    d.ellipse([200, 160, 295, 195], fill=(120, 180, 230), outline=(60, 120, 190))
    label(d, (248, 178), "Teich", 12, fill=(20, 50, 100))
    hiker = clipart("people/hikinh_ganson.svg", 300, 190)
    # The lettering beside his head stays out.
    ImageDraw.Draw(hiker).rectangle([int(hiker.width * 0.29), 0, hiker.width, int(hiker.height * 0.56)],
                                    fill=(0, 0, 0, 0))
    hiker = hiker.crop(hiker.getbbox())
    hiker.thumbnail((110, 175))
    paste_bottom(img, hiker, 0, 198)
    return img


def car():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rectangle([0, 165, W, 185], fill=(110, 110, 115))
    for x in range(10, W, 40):
        d.rectangle([x, 174, x + 20, 176], fill=(240, 240, 240))
    d.rectangle([200, 20, 290, 70], fill=(250, 210, 0), outline=(30, 30, 30), width=2)
    label(d, (245, 36), "München", 14, True)
    label(d, (245, 56), "606 km", 14, True)
    d.rectangle([243, 70, 247, 165], fill=(90, 90, 90))
    paste_bottom(img, clipart("recreation/holiday/car_ride_ganson.svg", 190, 130), 5, 180)
    return img


def room():
    img = canvas()
    d = ImageDraw.Draw(img)
    # Bed, sliding wardrobe and desk side by side, with their lengths.
    d.rectangle([5, 108, 105, 148], fill=(120, 160, 220), outline=(40, 60, 110), width=2)
    d.rectangle([5, 88, 14, 153], fill=(150, 110, 70))
    d.rectangle([12, 98, 40, 112], fill=(245, 245, 245), outline=(150, 150, 150))
    d.rectangle([112, 48, 182, 153], fill=(200, 160, 110), outline=(110, 80, 50), width=2)
    d.line([(147, 50), (147, 151)], fill=(110, 80, 50), width=2)
    paste_bottom(img, clipart("buildings/furniture/wooden_table_benji_park_01.svg", 100, 70), 190, 154)
    d.line([(0, 154), (W, 154)], fill=(120, 100, 80), width=2)
    for x0, x1, text in ((5, 105, "2,05 m"), (112, 182, "1,50 m"), (190, 290, "1,30 m")):
        d.line([(x0, 170), (x1, 170)], fill=(180, 30, 30), width=2)
        d.line([(x0, 164), (x0, 176)], fill=(180, 30, 30), width=2)
        d.line([(x1, 164), (x1, 176)], fill=(180, 30, 30), width=2)
        label(d, ((x0 + x1) / 2, 186), text, 12, True, (180, 30, 30))
    return img


def watering_can(d, x, y):
    d.polygon([(x, y + 20), (x + 50, y + 20), (x + 45, y + 70), (x + 5, y + 70)], fill=(60, 160, 80),
              outline=(20, 90, 40))
    d.line([(x + 48, y + 55), (x + 85, y + 15)], fill=(60, 160, 80), width=7)
    d.ellipse([x + 78, y + 6, x + 94, y + 22], fill=(60, 160, 80), outline=(20, 90, 40))
    d.arc([x + 5, y, x + 45, y + 40], 180, 360, fill=(20, 90, 40), width=5)


def rain():
    img = canvas()
    d = ImageDraw.Draw(img)
    watering_can(d, 5, 95)
    label(d, (35, 185), "10 Liter", 12, True)
    # The green rain butt.
    d.rectangle([115, 70, 185, 165], fill=(40, 150, 60), outline=(20, 80, 30), width=2)
    d.ellipse([115, 60, 185, 80], fill=(60, 180, 80), outline=(20, 80, 30), width=2)
    for y in (95, 135):
        d.line([(115, y), (185, y)], fill=(20, 80, 30), width=2)
    label(d, (150, 185), "200 Liter", 12, True)
    # The wooden barrel, the largest of the three.
    d.rounded_rectangle([200, 40, 298, 168], 30, fill=(160, 105, 55), outline=(90, 55, 25), width=2)
    for x in (225, 249, 273):
        d.line([(x, 44), (x, 164)], fill=(120, 75, 35), width=2)
    for y in (65, 145):
        d.line([(202, y), (296, y)], fill=(70, 70, 75), width=4)
    label(d, (249, 185), "500 Liter", 12, True)
    return img


def party():
    img = canvas()
    d = ImageDraw.Draw(img)
    paste_bottom(img, clipart("food/beverages/apple_juice_box.svg", 70, 100), 5, 160)
    paste_bottom(img, clipart("food/beverages/orange_juice_box.svg", 80, 120), 85, 160)
    # A bottle of water.
    d.rectangle([182, 40, 198, 55], fill=(30, 90, 200))
    d.rounded_rectangle([170, 55, 210, 160], 10, fill=(190, 225, 250), outline=(40, 110, 190), width=2)
    d.rectangle([170, 100, 210, 125], fill=(40, 110, 190))
    label(d, (190, 112), "Wasser", 9, True, (255, 255, 255))
    paste_bottom(img, clipart("food/beverages/drinking_glass_with_red_punch_01.svg", 60, 70), 230, 160)
    for x, text in ((40, "1 l"), (125, "1,5 l"), (190, "2 l"), (258, "0,25 l")):
        label(d, (x, 180), text, 13, True)
    return img


def bottle(d, x, top, w, body, cap, text):
    d.rectangle([x + w // 3, top, x + w - w // 3, top + 12], fill=cap)
    d.rounded_rectangle([x, top + 12, x + w, 148], 8, fill=body, outline=(60, 60, 60), width=2)
    label(d, (x + w / 2, 164), text, 11, True)


def prices():
    img = canvas()
    d = ImageDraw.Draw(img)
    bottle(d, 5, 28, 50, (240, 200, 60), (60, 120, 40), "500 ml")
    bottle(d, 65, 63, 46, (120, 200, 230), (240, 240, 240), "250 ml")
    bottle(d, 122, 83, 40, (80, 200, 160), (40, 120, 90), "125 ml")
    bottle(d, 175, 98, 30, (230, 150, 200), (120, 60, 100), "50 ml")
    # An ink cartridge.
    d.rectangle([222, 103, 282, 148], fill=(50, 50, 60), outline=(20, 20, 20), width=2)
    d.rectangle([230, 110, 274, 126], fill=(240, 240, 240))
    label(d, (252, 118), "Tinte", 10, True)
    label(d, (252, 164), "20 ml", 11, True)
    label(d, (W / 2, 186), "je 2 €, Tinte 12 €", 12)
    return img


def animals():
    img = canvas()
    d = ImageDraw.Draw(img)
    elephant = recolour(clipart("animals/mammals/contour_elephant.svg", 125, 110), (120, 120, 128))
    paste_bottom(img, elephant, 0, 170)
    paste_bottom(img, clipart("animals/mammals/rhinoceros_architetto_fr_01.svg", 80, 85), 125, 170)
    giraffe = recolour(clipart("animals/mammals/contour_giraffe.svg", 90, 165), (205, 150, 60))
    paste_bottom(img, giraffe, 215, 170)
    for x, text in ((62, "4,5 t"), (165, "2,8 t"), (255, "1,2 t")):
        label(d, (x, 188), text, 14, True)
    return img


def dumbbell(d, x, y, disc, text):
    d.rectangle([x, y - 3, x + 80, y + 3], fill=(150, 150, 155), outline=(80, 80, 85))
    thick = 6 + disc // 3
    for dx in (6, 74 - thick):
        d.rounded_rectangle([x + dx, y - disc, x + dx + thick, y + disc], 3, fill=(40, 40, 50))
    if text:
        label(d, (x + 40, y + disc + 14), text, 13, True)


def dumbbells():
    img = canvas()
    d = ImageDraw.Draw(img)
    # A pair of each weight.
    for i, (disc, text) in enumerate(((12, "0,5 kg"), (17, "1 kg"), (24, "2 kg"))):
        x = 8 + i * 98
        dumbbell(d, x, 40 + 24, disc, "")
        dumbbell(d, x, 112 + 24, disc, text)
    return img


def letters():
    img = canvas()
    d = ImageDraw.Draw(img)
    for i in range(2):
        x = 10 + i * 14
        d.rectangle([x, 20 + i * 10, x + 70, 120 + i * 10], fill=(255, 255, 255), outline=(90, 90, 90))
        for y in range(35 + i * 10, 110 + i * 10, 9):
            d.line([(x + 8, y), (x + 62, y)], fill=(170, 170, 190))
    label(d, (52, 150), "2 × 5 g", 13, True)
    d.rectangle([105, 60, 185, 115], fill=(250, 235, 180), outline=(120, 100, 60))
    label(d, (145, 87), "Karte", 12, fill=(120, 100, 60))
    label(d, (145, 150), "2 g", 13, True)
    img.alpha_composite(clipart("office/envelope_01.svg", 100, 80), (195, 50))
    label(d, (245, 150), "4 g", 13, True)
    label(d, (W / 2, 185), "1 Werbebrief", 13)
    return img


def juice():
    img = canvas()
    d = ImageDraw.Draw(img)
    paste_bottom(img, clipart("food/fruit/juice_glass_andremarcel._01.svg", 110, 110), 5, 165)
    paste_bottom(img, clipart("food/beverages/orange_juice_box.svg", 75, 115), 120, 165)
    paste_bottom(img, clipart("food/beverages/apple_juice_box.svg", 70, 105), 215, 165)
    label(d, (60, 182), "1 Glas: 200 ml", 11, True)
    label(d, (157, 176), "40 mg", 12, True)
    label(d, (252, 176), "35 mg", 12, True)
    label(d, (205, 193), "Vitamin C je 100 ml", 11)
    return img


PICTURES = {
    "cd_stapel.png": cd_stack,
    "spaziergang.png": walk,
    "autofahrt.png": car,
    "zimmer.png": room,
    "regenwasser.png": rain,
    "party.png": party,
    "literpreise.png": prices,
    "tiere.png": animals,
    "hanteln.png": dumbbells,
    "werbebriefe.png": letters,
    "vitamin_c.png": juice,
}

if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for name, draw in PICTURES.items():
        save(draw(), name)
