#pragma once
// The few things the drawing routines need of a picture control, and their
// conversion of computed coordinates to pixels, in one place.
#include "platform/Graphics.h"

class TImage;

// The canvas of the picture's bitmap, or nullptr without a picture control.
TCanvas* Leinwand(TImage* Bild);
// The size of the picture drawn on: that of its bitmap, or the one the first
// drawing makes it (the control's design size in a scaled window).
int BildBreite(const TImage* Bild);
int BildHoehe(const TImage* Bild);

// Nearest whole number, halves to even, and the whole part; both clamped to the
// int range (0 for NaN), so that a point far off the picture cannot overflow.
int Naechste(double v);
int Ganzteil(double v);
