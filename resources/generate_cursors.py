#!/usr/bin/env python3
"""Writes the two mouse cursors of the imaging library (RGBA PNG, 32 x 32, no
libraries): a pointing hand ("RX_HANDCUR") and a grabbing hand ("RX_DRAGCUR").

'X' is the black outline, '.' the white filling, blanks stay transparent.
Their hot spots (fingertip, middle of the fist) are set where the program
registers them (imaging/RegisterImaging.cpp).
Run from this folder: python3 generate_cursors.py
"""
import struct
import zlib

HAND = [
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    "    X..X..X..X.X",
    "XXX X..X..X..X..X",
    "X..XX........X..X",
    "X...X...........X",
    " X..X...........X",
    " X..............X",
    "  X.............X",
    "  X............X",
    "   X...........X",
    "   X..........X",
    "    X.........X",
    "    X.........X",
    "     X.......X",
    "     XXXXXXXXX",
]

GRAB = [
    "",
    "",
    "",
    "     XX XX XX",
    "    X..X..X..XX",
    "    X..X..X..X.X",
    "   XX........X..X",
    "  X.X...........X",
    "  X.............X",
    "   X............X",
    "   X............X",
    "    X..........X",
    "    X..........X",
    "     X........X",
    "     X........X",
    "     XXXXXXXXXX",
]


def png(path, rows, size=32):
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        line = rows[y] if y < len(rows) else ""
        for x in range(size):
            k = line[x] if x < len(line) else " "
            raw.extend({"X": (0, 0, 0, 255), ".": (255, 255, 255, 255)}.get(k, (0, 0, 0, 0)))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


png("cursors/rx_handcur.png", HAND)
png("cursors/rx_dragcur.png", GRAB)
