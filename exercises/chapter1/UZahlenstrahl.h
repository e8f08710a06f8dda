#pragma once
// The number line the reading, placing and comparing exercises draw: 7 pixels a
// unit from x 10, ticks every unit, labels with callout frames.
#include <QString>

class TImage;

// x of the value v on a line of the unit U.
int ZahlenstrahlX(long long v, long long U);

// Fills the picture white and draws the axis at height y0 with its ticks, "0" and
// the three labels at x 80, 360 and 710 centred on y0 + 30; their frames start at
// the tick end (x, y0 + 10). The canvas font stays bold afterwards.
void ZahlenstrahlZeichnen(TImage* Bild, int y0, const QString& Marke10, const QString& Marke50,
                          const QString& Marke100);
