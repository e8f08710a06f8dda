#pragma once
// How the SVG of a converted metafile becomes pixels. The program and its
// metafile helper (which renders the pictures too heavy to render here)
// both draw through this one function, so that a picture looks the same
// wherever it was rendered.
#include <QByteArray>
#include <QImage>
#include <QRectF>

// What marks a hairline in the SVG of a converted picture (see
// ConvertMetafile): a pen that the system draws one device pixel wide at any
// size, as it draws pens of width 0 and pens no wider than a pixel.
inline constexpr char MetafileHairline[] = "non-scaling-stroke";

// Draws the SVG into Image (cleared to transparent first) with its viewport
// at Place, in fractions of the image's size. Drawings look as their makers
// meant them, with smooth edges; hairlines are solid lines one pixel wide
// through the pixels their points fall into, as the system draws them, and
// the outline of a rectangle or an ellipse lies inside its right and bottom
// edges.
void RasterizeMetafileSvg(const QByteArray& Svg, const QRectF& Place, QImage& Image);
