#pragma once
// Canvas helpers of the exercises, second unit: texts by font code, number
// texts, points with rotation, pictures in a circle, grey copies, the weight
// piece and the clocks. The routines both units share (LinieZeichnen,
// ZahlAlsText) come from UZeichnen1.h.
#include "drawing/UZeichnen1.h"

#include "platform/Pictures.h"

#include <QString>

#include <cstdint>
#include <memory>

class TImage;

struct TRealPunkt {
    double x = 0, y = 0;
    bool operator==(const TRealPunkt&) const = default;
};

// Font codes: "T" Times New Roman, "S" Symbol, "A" Arial (either case); other
// codes keep the canvas's font name. Brush and font are restored afterwards.
// The face that the font code 'T' stands for in the toolkit's own text routines.
inline const QString SchriftTToolkit = QStringLiteral("Times New Roman");

void TextAusgeben(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                  int PinselB, const QString& Text, char Code, int Groesse, bool Transparent, bool Zentriert,
                  TImage* Bild);
// The text ends at x; VertikalZentriert centres it on y.
void TextRechtsAusgeben(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                        int PinselB, const QString& Text, char Code, int Groesse, bool Transparent,
                        bool VertikalZentriert, TImage* Bild);
// The corners the text would cover, without drawing: P1 lower left, P2 upper right.
void TextRechteck(int x, int y, const QString& Text, char Code, int Groesse, bool Zentriert, TImage* Bild,
                  TPoint& P1, TPoint& P2);

// The same routines with another face for the font code 'T' (the exercises'
// own text routines write "T" in Tahoma); "A" is Arial and "S" Symbol in both.
void TextAusgebenInSchrift(const QString& SchriftT, int x, int y, int SchriftR, int SchriftG, int SchriftB,
                           int PinselR, int PinselG, int PinselB, const QString& Text, char Code, int Groesse,
                           bool Transparent, bool Zentriert, TImage* Bild);
void TextRechteckInSchrift(const QString& SchriftT, int x, int y, const QString& Text, char Code, int Groesse,
                           bool Zentriert, TImage* Bild, TPoint& P1, TPoint& P2);

QString KommaZuPunkt(const QString& s);
// Digit groups of three, separated by blanks: 1000000 gives "1 000 000".
QString ZahlGegliedert(int n);
// ZahlAlsText with a single decimal padded to two: 2.5 gives "2.50".
QString BetragAlsText(double x);
// x rounded to n decimals, halves away from zero; x itself when that fails.
double Runden(double x, int n);
// Halves away from zero, judged on the text of |x| with 5 decimals.
int64_t RundenHalbAuf(long double x);
void UhrzeitLesen(int& Stunde, int& Minute, int& Sekunde);
// Basis to the power Exponent for a positive base; 0 for a base of 0 or below.
double Potenz(double Basis, double Exponent);

TRealPunkt RealPunkt(double x, double y);
TPoint PunktAusRealPunkt(const TRealPunkt& P); // truncates towards zero
TRealPunkt RealPunktAusPunkt(const TPoint& P);
// Turns P about Zentrum by Winkel degrees; clockwise on the screen (y downwards).
TRealPunkt PunktDrehen(const TRealPunkt& P, const TRealPunkt& Zentrum, double Winkel);

// Draws Quelle's picture, scaled by Faktor, into the circle whose bounding square
// has its top-left corner at (X, Y); the circle is blackened first.
void BildInKreisZeichnen(TImage* Quelle, TImage* Ziel, double X, double Y, double Faktor);
// A new 24-bit grey copy; every channel is scaled by Faktor first.
std::unique_ptr<TBitmap> GrauBild(TBitmap* Quelle, double Faktor);

// A shaded weight piece standing on (x, y), its size following the cube root of
// the mass. Nothing is drawn for a mass of 0 or below.
void GewichtZeichnen(int x, int y, int R, int G, int B, int Masse, int Schriftgroesse,
                     const QString& Beschriftung, bool MitBeschriftung, double Faktor, TImage* Bild);
// The same in the argument order of the weight exercises, always labelled.
void GewichtZeichnen(int x, int y, int Masse, int R, int G, int B, double Faktor, const QString& Beschriftung,
                     int Schriftgroesse, TImage* Bild);
void DigitaluhrZeichnen(int x, int y, int Groesse, int Stunde, int Minute, int Sekunde, int R, int G, int B,
                        int R2, int G2, int B2, bool MitStunden, bool MitTrenner, bool MitMinuten,
                        bool MitSekunden, TImage* Bild);
void SiebenSegmentZiffer(int x, int y, int Groesse, int Ziffer, int FuellR, int FuellG, int FuellB, int RandR,
                         int RandG, int RandB, TImage* Bild);
void AnalogUhrZeichnen(int x, int y, int Radius, int Stunde, int Minute, int Sekunde, bool Stundenzeiger,
                       bool Minutenzeiger, bool Sekundenzeiger, TImage* Bild);
// Angles of the hands in degrees, clockwise from twelve o'clock.
double StundenzeigerWinkel(int Stunde, int Minute, int Sekunde);
double MinutenzeigerWinkel(int Minute, int Sekunde);
