#pragma once
// The worksheet look of an exercise form and its screenshot: for a moment
// feedback texts and action buttons vanish and boxes and panels turn white;
// the task page is taken as a picture, trimmed, framed in white and put on
// the clipboard, to be pasted into a worksheet.
#include "platform/Colors.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

class TAufgabeg;
class TBitmap;
class TControl;

// The look of one component while the worksheet look is on.
struct TSteuerzustand {
    TColor FarbeA = clNone;
    TColor FarbeB = clNone;
    bool Sichtbar = true;
    uint8_t Rahmen = 0; // border style
    uint8_t Aussen = 0; // outer bevel
    bool Markiert = false;
    int32_t Verschiebung = 0; // 0 or -4
    bool ElternFarbe = false; // the whitened colour was its parent's
};

// Components of a form beyond this many keep their look.
constexpr int MaxSteuerzustaende = 1001;

// The caption tests of the worksheet look.
bool IstRueckmeldeText(const QString& Caption);
bool IstAktionsKnopf(const QString& Caption);
bool IstWeissOption(const QString& Caption);

void ArbeitsblattAnsichtEin(TAufgabeg* Form);
void ArbeitsblattAnsichtAus(TAufgabeg* Form);

// Trims white rows and columns off the picture's sides (one white line stays
// at each), shortens white bands inside to Luecke lines and frames it in Rand
// white pixels.
void BildZuschneiden(TBitmap& Bild, int Rand, int Luecke);
QImage BildZuschneiden(const QImage& Bild, int Rand, int Luecke);

// Takes the picture of the task page as drawn, with the worksheet look on;
// tests put their own in its place.
extern std::function<QImage(const TControl*)> Seitenaufnahme;
