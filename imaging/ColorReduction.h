#pragma once
// Colour reduction of true-colour pictures to a palette, and stretch drawing
// of a bitmap with one colour left out.
#include "platform/Colors.h"

#include <QImage>
#include <QList>

#include <cstdint>
#include <vector>

class TBitmap;
class TCanvas;

struct TReducedImage {
    std::vector<uint8_t> Indices; // one byte per pixel, rows top to bottom
    QList<QRgb> Palette;          // paletteSize entries
    int TransparentIndex = -1;    // the entry kept for the transparent colour
};

// The most frequent colours make the palette (unused entries gray); the
// colour components are made coarser until at most 2049 distinct colours
// remain, and every colour takes its nearest palette entry. A transparent
// colour (not clNone) is left out of the counting and gets an entry of its
// own right after the counted colours: exactly its pixels take that entry,
// so that coarser masks cannot lose it and no other colour turns clear.
TReducedImage ReduceMostFrequentColors(const QImage& image, int paletteSize = 256,
                                       TColor transparent = clNone);

// Draws the source rectangle of the bitmap stretched into the destination,
// leaving out pixels of transparentColor. clDefault (0x20000000) means the
// colour of the bottom-left pixel; clNone draws everything. A size of 0 or
// less takes the bitmap's own.
void DrawBitmapMasked(TCanvas& canvas, const TBitmap& bitmap, TColor transparentColor, int destX, int destY,
                      int destW, int destH, int srcX = 0, int srcY = 0, int srcW = 0, int srcH = 0);

// The image as 32-bit ARGB with the pixels of key (an opaque RGB value) clear.
QImage ImageWithoutColor(const QImage& image, QRgb key);

int Max(int a, int b);
int Min(int a, int b);
