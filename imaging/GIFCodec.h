#pragma once
// LZW coding of GIF pixel data. The raw data is the code-size byte followed by
// the data sub-blocks and their 0 terminator, exactly as a GIF file holds it.
#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

// Told the share done, 0 to 100, whenever it grows.
using TGIFProgress = std::function<void(int percent)>;

// The largest code size a frame may start with: its clear code must leave room
// in the table of 4096 codes for at least the end code and one string.
constexpr int GIFMaxCodeSize = 11;

// Pixels come out as one byte per pixel, rows top to bottom; interlaced data
// is put back into that order. Values are masked to bitsPerPixel. Missing
// pixels stay 0. Answers false when the data was damaged (bad code size, bad
// code, over-long chain, data ending before the picture was filled). Progress
// follows the share of the coded data consumed.
bool GIFDecodeLZW(const QByteArray& raw, int width, int height, int bitsPerPixel, bool interlaced,
                  std::vector<uint8_t>& pixels, const TGIFProgress& progress = {});

// pixels: width * height bytes, rows top to bottom; they are written in the
// interlace passes when interlaced is set. Progress follows the rows written.
QByteArray GIFEncodeLZW(const std::vector<uint8_t>& pixels, int width, int height, int bitsPerPixel,
                        bool interlaced, const TGIFProgress& progress = {});

// The row order of a frame: top to bottom, or the four interlace passes.
std::vector<int> GIFRowOrder(int height, bool interlaced);
