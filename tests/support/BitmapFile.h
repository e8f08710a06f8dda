#pragma once
// Bitmap files made byte by byte, as the picture tests and benchmarks need
// them, malformed ones too.
#include "platform/LittleEndian.h"

#include <QByteArray>

#include <cstdint>

// A bitmap file of Width x Height pixels with a palette of greys (entry i is
// grey i * 17 at 4 bits, i at 8 bits) and the pixel data as given, which
// follows the palette; the header's data offset points there unless given.
inline QByteArray BitmapFile(int Width, int Height, int Bits, uint32_t Compression, const QByteArray& Pixels,
                             int64_t Offset = -1) {
    QByteArray info;
    for (const uint32_t v : {40u, uint32_t(Width), uint32_t(Height)})
        AppendLe32(info, v);
    AppendLe16(info, 1);
    AppendLe16(info, uint16_t(Bits));
    for (const uint32_t v : {Compression, uint32_t(Pixels.size()), 3780u, 3780u, 0u, 0u})
        AppendLe32(info, v);
    QByteArray table;
    const int colours = Bits <= 8 ? 1 << Bits : 0;
    for (int i = 0; i < colours; ++i)
        AppendLe32(table, uint32_t(i * (255 / (colours - 1)) * 0x010101));
    // Bit fields of 5, 6 and 5 bits at 16 bits a pixel.
    if (Compression == 3)
        for (const uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
            AppendLe32(table, mask);
    QByteArray file("BM");
    AppendLe32(file, uint32_t(14 + info.size() + table.size() + Pixels.size()));
    AppendLe32(file, 0);
    AppendLe32(file, uint32_t(Offset >= 0 ? Offset : 14 + info.size() + table.size()));
    return file + info + table + Pixels;
}
