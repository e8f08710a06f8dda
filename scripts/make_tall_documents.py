#!/usr/bin/env python3
"""Writes the documents of tall things that the page-key tests walk through
(tests/richtext/edit/tall/): pictures, lines, rows and gaps taller than a
screen, in lines, lists, cells and tables in cells. Run by hand; the
documents are committed."""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(__file__), "..", "tests", "richtext", "edit", "tall")


def png(width, height, stripe):
    """A picture of horizontal stripes of four colours, Stripe rows each."""
    colours = [(220, 40, 40), (40, 160, 40), (40, 40, 220), (230, 200, 30)]
    raw = b""
    for y in range(height):
        raw += b"\0" + bytes(colours[(y // stripe) % 4]) * width

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def picture(w, h):
    """A striped picture of W x H pixels, shown at that size (at 96 dpi)."""
    data = png(w, h, 100).hex()
    lines = "\n".join(data[i:i + 128] for i in range(0, len(data), 128))
    return "{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n%s}" % (w, h, w * 15, h * 15, lines)


def lines(first, count, prefix="Zeile"):
    return "".join("\\pard %s %d\\par\n" % (prefix, i) for i in range(first, first + count))


def row(cells, widths, nested=False):
    """A table row: Cells are the cells' contents, Widths their widths in twips."""
    x, defs = 0, ""
    for w in widths:
        x += w
        defs += "\\cellx%d" % x
    if nested:
        body = "".join("\\pard\\intbl\\itap2 %s\\nestcell\n" % c for c in cells)
        return body + "{\\*\\nesttableprops\\trowd\\trgaph60%s\\nestrow}\n" % defs
    body = "".join("\\pard\\intbl %s\\cell\n" % c for c in cells)
    return "\\trowd\\trgaph60%s\n%s\\row\n" % (defs, body)


def tall_line():
    return "{\\fs1400 Ag}"


def numbered(text, n):
    return ("{\\pntext %d.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta .}}"
            "\\li360\\fi-360 %s\\par\n" % (n, text))


def document(body):
    """The document of Body, which ends with an empty paragraph unless it ends in a space."""
    end = "}\n" if "\\sa" in body.rsplit("\\pard", 1)[-1] else "\\pard\\par}\n"
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n" + body + end


DOCUMENTS = {
    # A picture taller than the screen in a cell, text beside it and below.
    "picture_in_cell.rtf": lines(1, 10) + row(["Bild: " + picture(200, 1400), "links\\par oben"], [3500, 3000]) +
    row(["unten", "rechts"], [3500, 3000]) + lines(11, 30),
    # Two tall pictures of unequal heights on one line.
    "pictures_on_one_line.rtf": lines(1, 12) + "\\pard Zwei: " + picture(150, 900) + " und " +
    picture(150, 1400) + "\\par\n" + lines(13, 30),
    # A tall line among the entries of a numbered list.
    "tall_line_in_list.rtf": "".join(numbered("Punkt %d" % i, i) for i in range(1, 12)) +
    numbered(tall_line(), 12) + "".join(numbered("Punkt %d" % i, i) for i in range(13, 40)) + "\\pard\\par\n",
    # A tall line in a table in a cell, and a tall picture in the cell beside it.
    "tall_in_nested_table.rtf": lines(1, 8) + "\\pard\\intbl oben\\par\n" +
    row(["innen", tall_line()], [1500, 2500], nested=True) +
    row(["unten innen", "rechts"], [1500, 2500], nested=True) + "\\pard\\intbl unten\\cell\n" +
    "\\pard\\intbl " + picture(120, 1000) + "\\cell\n\\trowd\\trgaph60\\cellx4500\\cellx7000\n\\row\n" +
    lines(9, 30),
    # A space above a paragraph far taller than the screen.
    "gap.rtf": lines(1, 15) + "\\pard\\sb24000 nach der Luecke\\par\n" + lines(16, 30),
    # Rows of thirty lines each, taller than the screen.
    "tall_rows.rtf": lines(1, 6) + "".join(
        row(["\\par ".join("Reihe %d Zeile %d" % (r, i) for i in range(30)), "Reihe %d" % r], [3500, 3000])
        for r in range(3)) + lines(7, 10),
    # A first line of a small word and a tall one, and a space below the
    # last paragraph taller than the screen.
    "tall_ends.rtf": "\\pard{\\fs16 klein}{\\fs300 G}\\par\n" + lines(1, 30) + "\\pard\\sa40000 Ende\\par\n",
    # Tall pictures that start and end the document.
    "pictures_at_both_ends.rtf": "\\pard " + picture(300, 1200) + "\\par\n" + lines(1, 20) + "\\pard " +
    picture(300, 1300) + "\\par\n",
    # A space above the first paragraph taller than the screen.
    "space_before_first.rtf": "\\pard\\sb4000 Anfang\\par\n" + lines(1, 30),
    # One-line paragraphs spaced above and below by all kinds of amounts.
    "spaced_lines.rtf": "".join("\\pard\\sb%d\\sa%d Zeile %d\\par\n" % ((i * 97) % 600, (i * 53) % 300, i)
                                for i in range(60)),
    # A row whose first cell holds a word and whose second holds forty lines.
    "tall_row_short_cell.rtf": lines(1, 5) + row(["links", "\\par ".join("rechts %d" % i for i in range(40))],
                                                 [3000, 3000]) + lines(6, 20),
    # A table of eighty rows that starts the document.
    "table_first.rtf": "".join(row(["Aufgabe %d" % r, "Ergebnis %d" % r], [2500, 2500]) for r in range(1, 81)) +
    lines(1, 3),
    # A table first whose first cell holds a picture taller than the screen.
    "table_first_tall_picture.rtf": row(["Bild " + picture(200, 1300), "rechts"], [3500, 3000]) +
    row(["unten", "rechts unten"], [3500, 3000]) + lines(1, 20),
    # A cell of six hundred lines, taller than the window of its editor.
    "cell_beyond_window.rtf": lines(1, 1, "Oben") +
    row(["\\par ".join("Zeile %d" % i for i in range(600)), "rechts"], [3000, 3000]) +
    row(["zweite", "Reihe"], [3000, 3000]) + lines(1, 1, "Unten"),
    # Rows taller than the screen that end the document, with a tall picture in the last.
    "tall_rows_at_end.rtf": lines(1, 20) + row(["\\par ".join("Reihe Zeile %d" % i for i in range(30)), "kurz"],
                                               [3500, 3000]) + row([picture(150, 900), "Ende"], [3500, 3000]),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, body in DOCUMENTS.items():
        with open(os.path.join(OUT, name), "w", newline="\n") as f:
            f.write(document(body))


if __name__ == "__main__":
    main()
