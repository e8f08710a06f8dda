#pragma once
// Test files of the GIF tests, written piece by piece.
#include "imaging/GIFCodec.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

// Writes GIF files piece by piece; the global table is black, white, red, blue.
class GifBuilder {
public:
    explicit GifBuilder(int w, int h, const char* version = "89a", int bgIndex = 0) {
        b.append("GIF");
        b.append(version);
        Le16(w);
        Le16(h);
        b.append(char(0x80 | 0x10 | 1)); // global table of 4
        b.append(char(bgIndex));
        b.append('\0');
        b.append(QByteArray("\0\0\0\xFF\xFF\xFF\xFF\0\0\0\0\xFF", 12));
    }
    GifBuilder& Ext(uint8_t label, const QByteArray& header, const QList<QByteArray>& blocks,
                    bool terminate = true) {
        b.append('!');
        b.append(char(label));
        b.append(header);
        for (const QByteArray& s : blocks) {
            b.append(char(s.size()));
            b.append(s);
        }
        if (terminate) b.append('\0');
        return *this;
    }
    GifBuilder& Control(int delay, int transIndex, int disposal) {
        QByteArray h("\x04", 1);
        h.append(char((disposal << 2) | (transIndex >= 0 ? 1 : 0)));
        h.append(char(delay & 0xFF));
        h.append(char(delay >> 8));
        h.append(char(transIndex >= 0 ? transIndex : 0));
        h.append('\0');
        b.append("!\xF9", 2);
        b.append(h);
        return *this;
    }
    GifBuilder& Loop(int count, const char* id = "NETSCAPE2.0") {
        QByteArray sub("\x01", 1);
        sub.append(char(count & 0xFF));
        sub.append(char(count >> 8));
        return Ext(0xFF, QByteArray("\x0B") + id, {sub});
    }
    GifBuilder& Frame(int x, int y, int w, int h, const std::vector<uint8_t>& pixels,
                      bool interlaced = false) {
        b.append(',');
        Le16(x);
        Le16(y);
        Le16(w);
        Le16(h);
        b.append(char(interlaced ? 0x40 : 0));
        b.append(GIFEncodeLZW(pixels, w, h, 2, interlaced));
        return *this;
    }
    // A frame with a local colour table of 4 entries (12 bytes, RGB).
    GifBuilder& LocalFrame(int w, int h, const QByteArray& table, const std::vector<uint8_t>& pixels) {
        b.append(',');
        Le16(0);
        Le16(0);
        Le16(w);
        Le16(h);
        b.append(char(0x80 | 1));
        b.append(table);
        b.append(GIFEncodeLZW(pixels, w, h, 2, false));
        return *this;
    }
    GifBuilder& Trailer() {
        b.append(';');
        return *this;
    }
    QByteArray b;

private:
    void Le16(int v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    }
};
