#!/usr/bin/env python3
"""Writes the libFuzzer dictionary of the document targets (fuzz/document.dict):
the RTF reader's control words, and the property names of the stream format's
styles, list levels, items and controls in the form the stream stores them
(a length byte, the name, the kind byte of an integer), each also followed by
the extremes of an int. Run it again when the reader learns words:
    scripts/fuzz_dictionary.py > fuzz/document.dict
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent


def quoted(data: bytes) -> str:
    out = []
    for b in data:
        c = chr(b)
        if 0x20 <= b < 0x7F and c not in '"\\':
            out.append(c)
        else:
            out.append("\\x%02X" % b)
    return '"' + "".join(out) + '"'


def main() -> None:
    lines = ["# Made by scripts/fuzz_dictionary.py: RTF control words and stream property names."]
    keywords = root / "richtext/rtf/RPRTFKeywords.cpp"
    words = sorted(set(re.findall(r'^\s+[A-Z]\("([A-Za-z0-9*]+)"', keywords.read_text(), re.M)))
    for w in words:
        lines.append(quoted(b"\\" + w.encode()))
    # Values at and past the ends of what the readers take.
    for v in ("2147483647", "-2147483648", "32767", "-32768", "65535", "31680", "-31680", "1000000"):
        lines.append(quoted(v.encode()))

    sources = [root / p for p in ("richtext/model/RPFStreaming.cpp", "richtext/model/RPFItems.cpp",
                                  "richtext/model/RPItemNonText.cpp", "richtext/model/RPControlImages.cpp")]
    names = set()
    for src in sources:
        if not src.exists():
            continue
        text = src.read_text()
        names.update(re.findall(r'RP_(?:INT|BOOL|BYTE|ENUM)\(\w+, (\w+)', text))
        names.update(re.findall(r'RP_SUB\(\w+, "([\w.]+)"', text))
        names.update(re.findall(r'\{"([\w.]+)",', text))
        names.update(re.findall(r'w\.\w+\("([\w.]+)"', text))
    for name in sorted(n for n in names if len(n) < 256 and n != "Font."):
        head = bytes([len(name)]) + name.encode()
        lines.append(quoted(head))
        lines.append(quoted(head + b"\x01\xff\xff\xff\x7f"))
        lines.append(quoted(head + b"\x01\x00\x00\x00\x80"))
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
