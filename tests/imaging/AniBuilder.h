#pragma once
// Icon, cursor and animated-cursor files of the tests, written byte by byte.
#include "platform/Icon.h"

#include <QByteArray>
#include <QImage>
#include <QList>

#include <cstdint>

namespace ani {

inline void Le16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline void Le32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A one-colour 32-bit icon of w x h with a clear top-left pixel.
inline QByteArray IconFile(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    img.setPixel(0, 0, 0);
    TIcon icon;
    icon.SetImage(img);
    return icon.SaveToStream();
}

// The same as a cursor (directory type 2) with its hot spot.
inline QByteArray CursorFile(int w, int h, QRgb colour, int hotX, int hotY) {
    QByteArray b = IconFile(w, h, colour);
    b[2] = '\2';
    b[10] = char(hotX);
    b[11] = '\0';
    b[12] = char(hotY);
    b[13] = '\0';
    return b;
}

// An 8-bit icon of 2 x 2: palette entries 0 black, 1 red, 2 green; pixels
// (top row) 1 2, (bottom row) 2 0; the mask makes the bottom-right clear.
inline QByteArray EightBitIconFile() {
    QByteArray dib;
    Le32(dib, 40);
    Le32(dib, 2);
    Le32(dib, 4);
    Le16(dib, 1);
    Le16(dib, 8);
    Le32(dib, 0);
    Le32(dib, 0);
    dib.append(QByteArray(8, '\0'));
    Le32(dib, 3); // colours used
    Le32(dib, 0);
    dib.append(QByteArray("\0\0\0\0"
                          "\0\0\xFF\0"
                          "\0\xFF\0\0",
                          12));
    dib.append(QByteArray("\x02\x00\0\0", 4)); // bottom row first
    dib.append(QByteArray("\x01\x02\0\0", 4));
    dib.append(QByteArray("\x40\0\0\0", 4)); // mask, bottom row: right pixel clear
    dib.append(QByteArray("\0\0\0\0", 4));
    QByteArray b;
    Le16(b, 0);
    Le16(b, 1);
    Le16(b, 1);
    b.append(QByteArray("\x02\x02\x03\0", 4));
    Le16(b, 1);
    Le16(b, 8);
    Le32(b, uint32_t(dib.size()));
    Le32(b, 22);
    return b + dib;
}

inline QByteArray Chunk(const char* id, const QByteArray& data) {
    QByteArray b(id, 4);
    Le32(b, uint32_t(data.size()));
    b.append(data);
    if (data.size() & 1) b.append('\0');
    return b;
}

inline QByteArray List(const char* type, const QList<QByteArray>& chunks) {
    QByteArray data(type, 4);
    for (const QByteArray& c : chunks)
        data.append(c);
    return Chunk("LIST", data);
}

inline QByteArray Header(uint32_t frames, uint32_t steps, uint32_t rate, uint32_t flags = 1) {
    QByteArray h;
    for (uint32_t v : {36u, frames, steps, 0u, 0u, 0u, 0u, rate, flags})
        Le32(h, v);
    return Chunk("anih", h);
}

inline QByteArray Values(const QList<uint32_t>& values) {
    QByteArray b;
    for (uint32_t v : values)
        Le32(b, v);
    return b;
}

inline QByteArray Riff(const QList<QByteArray>& chunks) {
    QByteArray body("ACON", 4);
    for (const QByteArray& c : chunks)
        body.append(c);
    QByteArray b("RIFF", 4);
    Le32(b, uint32_t(body.size()));
    return b + body;
}

} // namespace ani
