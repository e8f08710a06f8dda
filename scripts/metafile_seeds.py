#!/usr/bin/env python3
"""Seeds of the metafile fuzz target.

  metafile_seeds.py OUTDIR FILE.rtf...   the metafile pictures of RTF files, as
                                         the RTF reader makes them (placeable
                                         Windows metafiles, enhanced metafiles)
  metafile_seeds.py --built OUTDIR       a few small metafiles drawn here

Python standard library only.
"""
import binascii
import os
import re
import struct
import sys


def placeable(body, width, height, inch):
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, width, height, inch, 0)
    check = 0
    for i in range(10):
        check ^= struct.unpack_from("<H", head, 2 * i)[0]
    return head + struct.pack("<H", check) + body


def picture_groups(data):
    """(control words, payload) of every \\pict group holding a metafile."""
    at = 0
    while True:
        start = data.find(b"{\\pict", at)
        if start < 0:
            return
        depth, i, words, payload = 0, start, {}, None
        while i < len(data):
            c = data[i:i + 1]
            if c == b"\\":
                m = re.match(rb"\\([a-z]+)(-?\d+)? ?", data[i:])
                if not m:
                    i += 2
                    continue
                words[m.group(1).decode()] = int(m.group(2)) if m.group(2) else None
                i += m.end()
                if m.group(1) == b"bin":
                    payload = data[i:i + (words["bin"] or 0)]
                    i += words["bin"] or 0
                continue
            if c == b"{":
                depth += 1
            elif c == b"}":
                depth -= 1
                if depth == 0:
                    break
            elif payload is None and depth == 1 and c not in b"\r\n ":
                end = data.find(b"}", i)
                digits = re.sub(rb"[^0-9a-fA-F]", b"", data[i:end])
                payload = binascii.unhexlify(digits[:len(digits) // 2 * 2])
                i = end
                continue
            i += 1
        at = i + 1
        if payload is not None and ("wmetafile" in words or "emfblip" in words):
            yield words, payload


def from_rtf(outdir, files):
    n = 0
    for path in files:
        with open(path, "rb") as f:
            data = f.read()
        for words, payload in picture_groups(data):
            n += 1
            if "emfblip" in words:
                name, body = "%03d.emf" % n, payload
            else:
                inch = 2540 if words.get("wmetafile") in (7, 8) else 96
                w, h = words.get("picw") or 0, words.get("pich") or 0
                if not (0 < w < 32768 and 0 < h < 32768):
                    w = (words.get("picwgoal") or 0) * inch // 1440
                    h = (words.get("pichgoal") or 0) * inch // 1440
                if not (0 < w < 32768 and 0 < h < 32768):
                    continue
                name, body = "%03d.wmf" % n, placeable(payload, w, h, inch)
            with open(os.path.join(outdir, name), "wb") as f:
                f.write(body)


def wmf_record(function, *params):
    return struct.pack("<IH", 3 + len(params), function) + struct.pack("<%dh" % len(params), *params)


def built_wmf():
    records = [
        wmf_record(0x0103, 8), wmf_record(0x020B, 0, 0), wmf_record(0x020C, 500, 1000),
        struct.pack("<IHHIH", 7, 0x02FC, 0, 0x0000FFFF, 0), wmf_record(0x012D, 0),
        wmf_record(0x041B, 400, 450, 100, 50),
        struct.pack("<IHHIH", 7, 0x02FC, 0, 0x000000FF, 0), wmf_record(0x012D, 1),
        wmf_record(0x0418, 450, 950, 150, 550),
        struct.pack("<IH", 3 + 25, 0x02FB) + struct.pack("<hhhhh", -80, 0, 900, 900, 700) +
        bytes(8) + b"Arial".ljust(32, b"\0"),
        wmf_record(0x012D, 2),
        struct.pack("<IHh", 3 + 1 + 3 + 2, 0x0521, 5) + b"Hallo\0" + struct.pack("<hh", 450, 500),
        wmf_record(0x0325, 4, 50, 480, 300, 420, 600, 480, 950, 420),
        wmf_record(0x0000),
    ]
    body = b"".join(records)
    biggest = max(len(r) // 2 for r in records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, 3, biggest, 0)
    return placeable(header + body, 1000, 500, 1440)


def emf_record(kind, payload):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def emf_file(records, width, height):
    body = b"".join(records)
    size = 88 + len(body)
    header = struct.pack("<II", 1, 88) + struct.pack("<iiii", 0, 0, width - 1, height - 1) + \
        struct.pack("<iiii", 0, 0, width * 2540 // 96, height * 2540 // 96) + \
        struct.pack("<IIIIHHIIIiiii", 0x464D4520, 0x10000, size, len(records) + 1, 4, 0, 0, 0, 0,
                    1024, 768, 271, 203)
    return header + body


def built_emf_text():
    text = "Gr\u00fc\u00dfe".encode("utf-16-le")
    font = struct.pack("<iiiiiBBBBBBBB", -20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0) + \
        "Arial".encode("utf-16-le").ljust(64, b"\0")
    emrtext = struct.pack("<iiIIIiiiiI", 10, 40, 5, 76, 0, 0, 0, 0, 0, 0)
    records = [
        emf_record(82, struct.pack("<I", 1) + font),
        emf_record(37, struct.pack("<I", 1)),
        emf_record(38, struct.pack("<IIiiI", 2, 0, 3, 0, 0x00FF0000)),
        emf_record(37, struct.pack("<I", 2)),
        emf_record(87, struct.pack("<iiiiI", 0, 0, 200, 100, 3) + struct.pack("<hhhhhh", 10, 90, 100, 10, 190, 90)),
        emf_record(84, struct.pack("<iiiiIff", 0, 0, 200, 100, 1, 1.0, 1.0) + emrtext + text + b"\0" * 2),
        emf_record(14, struct.pack("<III", 0, 16, 20)),
    ]
    return emf_file(records, 200, 100)


def built_emf():
    records = [
        emf_record(17, struct.pack("<I", 8)),
        emf_record(9, struct.pack("<ii", 200, 100)),
        emf_record(11, struct.pack("<ii", 200, 100)),
        emf_record(39, struct.pack("<IIII", 1, 0, 0x0000FFFF, 0)),
        emf_record(37, struct.pack("<I", 1)),
        emf_record(43, struct.pack("<iiii", 10, 10, 90, 70)),
        emf_record(39, struct.pack("<IIII", 2, 0, 0x000000FF, 0)),
        emf_record(37, struct.pack("<I", 2)),
        emf_record(42, struct.pack("<iiii", 90, 30, 190, 90)),
        emf_record(14, struct.pack("<III", 0, 16, 20)),
    ]
    body = b"".join(records)
    size = 88 + len(body)
    header = struct.pack("<II", 1, 88) + struct.pack("<iiii", 0, 0, 199, 99) + \
        struct.pack("<iiii", 0, 0, 5292, 2646) + \
        struct.pack("<IIIIHHIIIiiii", 0x464D4520, 0x10000, size, len(records) + 1, 3, 0, 0, 0, 0,
                    1024, 768, 271, 203)
    return header + body


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "--built":
        os.makedirs(sys.argv[2], exist_ok=True)
        with open(os.path.join(sys.argv[2], "shapes.wmf"), "wb") as f:
            f.write(built_wmf())
        with open(os.path.join(sys.argv[2], "shapes.emf"), "wb") as f:
            f.write(built_emf())
        with open(os.path.join(sys.argv[2], "shapes-text.emf"), "wb") as f:
            f.write(built_emf_text())
    elif len(sys.argv) >= 2:
        os.makedirs(sys.argv[1], exist_ok=True)
        from_rtf(sys.argv[1], sys.argv[2:])
    else:
        sys.exit(__doc__)
