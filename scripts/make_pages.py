#!/usr/bin/python3
"""Writes the section and instruction pages (RTF) from their sources.

Every file scripts/pages/<folder>/<name>.txt becomes data/dateien/<folder>/<name>.rtf,
with the pictures that scripts/page_pictures.py draws embedded as PNG.
Run from the repository: /usr/bin/python3 scripts/make_pages.py
(needs python3-pil, which scripts/setup --tools installs).

Source format, one block per line:
  # text            page heading (Arial 20, bold, blue)
  ## text           subheading (Arial 14, bold, navy)
  - text            bullet item
  1. text           numbered item (numbers count from 1 in each run of items)
  > text            line of a highlighted rule box (consecutive lines make one box)
  | text            worked calculation, in Courier New, indented
  @ text            the pointer to the page's exercises (green box)
  ! a | b | c       heading row of a table (shaded, bold); cells are split at " | "
  : a | b | c       row of a table (consecutive rows make one table)
  [Bild name]       a picture, centred, drawn by page_pictures.name()
  empty line        ends a paragraph; other lines of one block are joined
Inline: **bold**, {r:red}, {b:blue}, {g:green}, {o:orange}, {n:navy}.
"""
import io
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_pictures  # noqa: E402

HIER = os.path.dirname(os.path.abspath(__file__))
QUELLEN = os.path.join(HIER, "pages")
ZIEL = os.path.join(os.path.dirname(HIER), "data", "dateien")

# Colour table: index 1 black, 2 blue, 3 navy, 4 red, 5 green, 6 maroon,
# 7 light yellow (rule boxes), 8 light green (exercise boxes), 9 frame blue, 10 orange, 11 frame green.
FARBEN = [(0, 0, 0), (0, 0, 255), (0, 0, 128), (200, 0, 0), (0, 128, 0), (128, 0, 0),
          (255, 255, 160), (210, 242, 222), (80, 110, 200), (230, 110, 0), (0, 150, 60)]
INLINE_FARBE = {"r": 4, "b": 2, "g": 5, "o": 10, "n": 3}

KOPF = ("{\\rtf1\\ansi\\ansicpg1252\\deff0"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\ftech\\fcharset2 Symbol;}"
        "{\\f2\\fmodern\\fcharset0 Courier New;}}"
        "{\\colortbl;" + "".join("\\red%d\\green%d\\blue%d;" % f for f in FARBEN) + "}\n")

TEXT = "\\pard\\plain\\f0\\fs26\\cf1\\sb60\\sa60 "


def zeichen(text):
    """Escapes text for RTF: code page 1252 as \\'xx, everything else as \\u with a fallback."""
    out = []
    for ch in text:
        c = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif 32 <= c < 128:
            out.append(ch)
        else:
            try:
                b = ch.encode("cp1252")
                out.append("\\'%02x" % b[0])
            except UnicodeEncodeError:
                out.append("\\u%d?" % (c if c < 32768 else c - 65536))
    return "".join(out)


def inline(text):
    """Bold and coloured pieces of a line."""
    out = []
    muster = re.compile(r"\*\*(.+?)\*\*|\{([rbgon]):(.+?)\}")
    pos = 0
    for m in muster.finditer(text):
        out.append(zeichen(text[pos:m.start()]))
        if m.group(1) is not None:
            out.append("{\\b " + inline(m.group(1)) + "}")
        else:
            out.append("{\\b\\cf%d " % INLINE_FARBE[m.group(2)] + inline(m.group(3)) + "}")
        pos = m.end()
    out.append(zeichen(text[pos:]))
    return "".join(out)


def rahmen(farbe):
    return "".join("\\brdr%s\\brdrs\\brdrw20\\brdrcf%d\\brsp80" % (s, farbe) for s in "tlbr")


def bild(name):
    png = page_pictures.zeichne(name)
    w, h = png.size
    puffer = io.BytesIO()
    png.save(puffer, "PNG", optimize=True)
    daten = puffer.getvalue().hex()
    zeilen = "\n".join(daten[i:i + 128] for i in range(0, len(daten), 128))
    return ("\\pard\\plain\\qc\\sb120\\sa120 {\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n%s}\\par\n"
            % (w, h, w * 15, h * 15, zeilen))


# Tables: thin blue cell borders, padding around the text, the heading row
# shaded light yellow like the rule boxes. Column widths follow the longest
# text of the column, so that no cell wraps; columns of single digits or short
# signs are centred. Rows say \\trql, so that the table stands at the left
# margin with the text whatever paragraph follows it.
TABELLE_RAND = 100            # padding left and right of a cell's text, twips
TABELLE_ZEICHEN = 150         # width of an average character of Arial 13 pt, twips
TABELLE_MIN = 600             # narrowest column, twips
TABELLE_KURZ = 3              # columns of texts up to this length are centred


def sichtbar(text):
    """The text of a cell without the inline marks, for measuring."""
    return re.sub(r"\*\*(.+?)\*\*|\{[rbgon]:(.+?)\}", lambda m: m.group(1) or m.group(2), text)


def tabelle(zeilen):
    spalten = max(len(z[1]) for z in zeilen)
    breiten = [TABELLE_MIN] * spalten
    for kopf, zellen in zeilen:
        for i, c in enumerate(zellen):
            # Bold text of a heading row is a little wider.
            zeichen_breite = TABELLE_ZEICHEN + (15 if kopf else 0)
            breiten[i] = max(breiten[i], len(sichtbar(c)) * zeichen_breite + 2 * TABELLE_RAND)
    mitte = [all(len(sichtbar(z[1][i])) <= TABELLE_KURZ for z in zeilen if i < len(z[1])) for i in range(spalten)]
    out = []
    for kopf, zellen in zeilen:
        zellen = zellen + [""] * (spalten - len(zellen))
        out.append("\\trowd\\trql\\trgaph%d\\trleft0\\trpaddl%d\\trpaddr%d\\trpaddt40\\trpaddb40"
                   "\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3%s\n"
                   % (TABELLE_RAND, TABELLE_RAND, TABELLE_RAND, "\\trhdr" if kopf else ""))
        rechts = 0
        for b in breiten:
            rechts += b
            out.append("".join("\\clbrdr%s\\brdrs\\brdrw10\\brdrcf9" % s for s in "tlbr")
                       + ("\\clcbpat7" if kopf else "") + "\\cellx%d\n" % rechts)
        for i, c in enumerate(zellen):
            out.append("\\pard\\plain\\intbl%s\\f0\\fs26\\cf1%s %s\\cell\n"
                       % ("\\qc" if mitte[i] else "", "\\b" if kopf else "", inline(c)))
        out.append("\\row\n")
    return "".join(out)


def bloecke(zeilen):
    """Groups the source lines into (kind, lines) blocks."""
    bl = []
    for roh in zeilen:
        z = roh.rstrip("\n").rstrip()
        if not z:
            bl.append(("leer", []))
            continue
        if z.startswith("## "):
            art, inhalt = "unter", z[3:]
        elif z.startswith("# "):
            art, inhalt = "kopf", z[2:]
        elif z.startswith("- "):
            art, inhalt = "punkt", z[2:]
        elif re.match(r"^\d+\. ", z):
            art, inhalt = "nummer", z.split(" ", 1)[1]
        elif z.startswith(">"):
            art, inhalt = "regel", z[1:].strip()
        elif z.startswith("|"):
            art, inhalt = "rechnung", z[2:] if z.startswith("| ") else z[1:]
        elif z.startswith("@ "):
            art, inhalt = "uebung", z[2:]
        elif z.startswith("! ") or z.startswith(": "):
            art, inhalt = "tabelle", (z[0] == "!", [c.strip() for c in z[2:].split(" | ")])
        elif z.startswith("[Bild ") and z.endswith("]"):
            art, inhalt = "bild", z[6:-1].strip()
        else:
            art, inhalt = "text", z
        # Lines of one box, calculation or plain paragraph belong together.
        if bl and bl[-1][0] == art and art in ("regel", "rechnung", "text", "uebung", "tabelle"):
            bl[-1][1].append(inhalt)
        else:
            bl.append((art, [inhalt]))
    return [b for b in bl if b[0] != "leer"]


def seite(zeilen):
    out = [KOPF]
    nummer = 0
    vorher = None
    alle = bloecke(zeilen)
    for n, (art, inhalt) in enumerate(alle):
        danach = alle[n + 1][0] if n + 1 < len(alle) else None
        # A worked calculation inside a numbered list does not end it.
        if art not in ("nummer", "rechnung"):
            nummer = 0
        if art == "kopf":
            out.append("\\pard\\plain\\f0\\fs40\\b\\cf2\\sb120\\sa180 %s\\par\n" % inline(inhalt[0]))
        elif art == "unter":
            out.append("\\pard\\plain\\f0\\fs28\\b\\cf3\\sb240\\sa80 %s\\par\n" % inline(inhalt[0]))
        elif art == "text":
            # A line that introduces a table keeps some air above it.
            out.append((TEXT.replace("\\sb60", "\\sb160") if danach == "tabelle" else TEXT)
                       + inline(" ".join(inhalt)) + "\\par\n")
        elif art == "punkt":
            out.append("\\pard\\plain\\f0\\fs26\\cf1\\sb40\\sa40\\li480\\fi-300"
                       "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent300{\\pntxtb\\'b7}}"
                       + inline(inhalt[0]) + "\\par\n")
        elif art == "nummer":
            nummer += 1
            start = "\\pnstart%d" % nummer if vorher != "nummer" else ""
            out.append("\\pard\\plain\\f0\\fs26\\cf1\\sb40\\sa40\\li480\\fi-360"
                       "{\\pntext %d.\\tab}{\\*\\pn\\pnlvlbody\\pndec%s\\pnindent360\\pnf0{\\pntxta .}}"
                       % (nummer, start) + inline(inhalt[0]) + "\\par\n")
        elif art == "regel":
            out.append("\\pard\\plain\\f0\\fs26\\cf1\\sb160\\sa160\\li360\\ri360\\cbpat7" + rahmen(10) + " "
                       + "\\line ".join(inline(z) for z in inhalt) + "\\par\n")
        elif art == "rechnung":
            out.append("\\pard\\plain\\f2\\fs28\\b\\cf3\\sb80\\sa80\\li720 "
                       + "\\line ".join(inline(z) for z in inhalt) + "\\par\n")
        elif art == "uebung":
            out.append("\\pard\\plain\\f0\\fs26\\cf1\\sb200\\sa120\\li360\\ri360\\cbpat8" + rahmen(11) + " "
                       + "\\line ".join(inline(z) for z in inhalt) + "\\par\n")
        elif art == "bild":
            out.append(bild(inhalt[0]))
        elif art == "tabelle":
            out.append(tabelle(inhalt))
        if vorher == "tabelle":
            # The paragraph after a table keeps its distance from the last row.
            out[-1] = re.sub(r"\\sb(\d+)", lambda m: "\\sb%d" % max(160, int(m.group(1))), out[-1], count=1)
        vorher = art
    out.append("}\n")
    return "".join(out)


def main():
    anzahl = 0
    for ordner in sorted(os.listdir(QUELLEN)):
        pfad = os.path.join(QUELLEN, ordner)
        if not os.path.isdir(pfad):
            continue
        os.makedirs(os.path.join(ZIEL, ordner), exist_ok=True)
        for name in sorted(os.listdir(pfad)):
            if not name.endswith(".txt"):
                continue
            with open(os.path.join(pfad, name), encoding="utf-8") as f:
                rtf = seite(f.readlines())
            ziel = os.path.join(ZIEL, ordner, name[:-4] + ".rtf")
            with open(ziel, "w", encoding="ascii", newline="\r\n") as f:
                f.write(rtf)
            anzahl += 1
    print("%d Seiten geschrieben" % anzahl)


if __name__ == "__main__":
    main()
