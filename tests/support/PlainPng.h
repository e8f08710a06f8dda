#pragma once
// A PNG file of one colour, as the tests put pictures into documents.
#include <QBuffer>
#include <QByteArray>
#include <QImage>

inline QByteArray PlainPng(int W, int H, QRgb Colour) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}
