#pragma once
// LZW coding of GIF pixel data. The raw data is the code-size byte followed by
// the data sub-blocks and their 0 terminator, exactly as a GIF file holds it.
#include <QByteArray>

#include <cstdint>
#include <vector>

// Pixels come out as one byte per pixel, rows top to bottom; interlaced data
// is put back into that order. Values are masked to bitsPerPixel. Missing
// pixels stay 0. Answers false when the data was damaged (bad code size, bad
// code, over-long chain, data ending before the picture was filled).
bool GIFDecodeLZW(const QByteArray& raw, int width, int height, int bitsPerPixel, bool interlaced,
                  std::vector<uint8_t>& pixels);

// pixels: width * height bytes, rows top to bottom; they are written in the
// interlace passes when interlaced is set.
QByteArray GIFEncodeLZW(const std::vector<uint8_t>& pixels, int width, int height, int bitsPerPixel,
                        bool interlaced);

// The row order of a frame: top to bottom, or the four interlace passes.
std::vector<int> GIFRowOrder(int height, bool interlaced);
