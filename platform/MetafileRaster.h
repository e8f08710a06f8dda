#pragma once
// How the SVG of a converted metafile becomes pixels. The program and its
// metafile helper (which renders the pictures too heavy to render here)
// both draw through this one function, so that a picture looks the same
// wherever it was rendered.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

// Draws the SVG into Image (cleared to transparent first) with its viewport
// at Place, in fractions of the image's size.
inline void RasterizeMetafileSvg(const QByteArray& Svg, const QRectF& Place, QImage& Image) {
    Image.fill(Qt::transparent);
    QSvgRenderer renderer(Svg);
    QPainter p(&Image);
    // Drawings look as their makers meant them: with smooth edges.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const double w = Image.width(), h = Image.height();
    renderer.render(&p, QRectF(Place.x() * w, Place.y() * h, Place.width() * w, Place.height() * h));
}
