#pragma once
// Conversion of bitmaps into bitmap files of 1, 4 or 8 bits per pixel, with
// the colour reduction chosen by number.
#include "platform/Pictures.h"

#include <QByteArray>

#include <cstdint>
#include <stdexcept>

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Ends an operation without a message of its own.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("Operation aborted") {}
};

enum TColorReductionMethod : uint8_t {
    rmMostFrequent = 0,
    rmMedianCut = 1,
    rmFixed784 = 2,
    rmColorCube666 = 3,
    rmStripes = 4,
    rmGrayScale = 5,
};

extern uint8_t DefaultColorReduction;

// A complete bitmap file ("BM", information header, colour table, pixels).
// Raises EInvalidGraphic for an empty bitmap and, after telling the user,
// EAbort for formats it cannot make.
QByteArray BitmapToDIBStream(const TBitmap& bitmap, TPixelFormat format, uint8_t method);
// The format follows from the number of colours; the default method.
QByteArray ReduceBitmapColors(const TBitmap& bitmap, int colors);

// Tells the user that the operation is missing and aborts it.
[[noreturn]] void NotImplemented();
