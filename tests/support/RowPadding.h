#pragma once
// The bits after the last pixel of a bitmap's rows, up to each row's 32-bit
// end: set to a pattern in memory, and looked at in a bitmap file.
#include <QByteArray>
#include <QImage>

#include <cstdint>

// Sets those bits of every row of the image to the bits of V (rows of fewer
// than 8 bits a pixel have their first pixel in the high bit).
inline void ScribbleRowPadding(QImage& Image, uint8_t V) {
    const qsizetype bits = qsizetype(Image.width()) * Image.depth();
    for (int y = 0; y < Image.height(); ++y) {
        uchar* row = Image.scanLine(y);
        for (qsizetype b = bits; b < qsizetype(Image.bytesPerLine()) * 8; ++b) {
            const auto bit = static_cast<uint8_t>(0x80 >> (b % 8));
            row[b / 8] = static_cast<uchar>((V & bit) ? row[b / 8] | bit : row[b / 8] & ~bit);
        }
    }
}

// The number of rows of a bitmap file ("BM", an information header of 40
// bytes) that have a bit set after their last pixel; -1 when the file is not
// one of that kind or shorter than its rows.
inline int RowsWithPadding(const QByteArray& File) {
    const auto le = [&](int At, int Bytes) {
        int64_t v = 0;
        for (int i = Bytes - 1; i >= 0; --i)
            v = v << 8 | static_cast<uint8_t>(File[qsizetype(At + i)]);
        return v;
    };
    if (File.size() < 54 || !File.startsWith("BM") || le(14, 4) != 40) return -1;
    const int64_t pixels = le(10, 4), width = le(18, 4), height = le(22, 4), depth = le(28, 2);
    const int64_t rows = height < 0 ? -height : height, stride = (width * depth + 31) / 32 * 4;
    if (pixels + rows * stride > File.size()) return -1;
    int count = 0;
    for (int64_t y = 0; y < rows; ++y) {
        bool set = false;
        for (int64_t b = width * depth; b < stride * 8 && !set; ++b)
            set =
                (static_cast<uint8_t>(File[qsizetype(pixels + y * stride + b / 8)]) & (0x80 >> (b % 8))) != 0;
        count += set;
    }
    return count;
}
