#pragma once
// Canvas helpers of the exercises, first unit: lines, arrows, rectangles, dots,
// grids, the oblique cylinder, cuboid and cube, and a few small services.
// Colours come as R, G, B (low byte of each used); the picture is the last
// argument. Routines draw at once on the picture's canvas and keep no state.
#include "platform/Graphics.h"

#include <QString>

#include <array>

class TImage;
class TForm;

// Draws only when every coordinate lies strictly within -4000..4000. Dotted or
// solid with the current pen width; pen style and brush are solid afterwards.
void LinieZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gepunktet, TImage* Bild);
// Pen width 2, solid or in dashes of about 3 pixels; the pen width is restored.
void LinieBreitZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gestrichelt, TImage* Bild);
void LinieZwischenPunkten(TPoint A, TPoint B, int R, int G, int Bl, TImage* Bild);
void PfeilZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gepunktet, const QString& Name,
                   TImage* Bild);
void VektorpfeilZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gestrichelt,
                         const QString& Name, TImage* Bild);
void BildFuellen(int R, int G, int B, TImage* Bild);
// The rectangle includes (x2, y2); pen and brush stay as set.
void RechteckZeichnen(int x1, int y1, int x2, int y2, int StiftR, int StiftG, int StiftB, int PinselR,
                      int PinselG, int PinselB, int Stiftbreite, TImage* Bild);
// A filled 5 x 5 dot centred on (x, y).
void PunktZeichnen(int x, int y, int R, int G, int B, TImage* Bild);
void ViereckFuellen(const std::array<TPoint, 4>& Ecken, int R, int G, int B, TImage* Bild);
void KaroGitterZeichnen(int x0, int y0, int RandX, int RandY, int dx, int dy, int R, int G, int B,
                        TImage* Bild);
void GitterZeichnen(int x0, int y0, int Rand, int Oben, int dx, int dy, int R, int G, int B, TImage* Bild);
// The same grid in the argument order of the quantity and geometry exercises:
// the picture fourth, then the colour, the row spacing (dy), the column
// spacing (dx) and the top line.
void GitterZeichnen(int x0, int y0, int Rand, TImage* Bild, int R, int G, int B, int Zeilenabstand,
                    int Spaltenabstand, int Oben);

// Shaded cylinder standing with its bottom ellipse centred on (x, y).
void ZylinderZeichnen(int x, int y, double Radius, double Hoehe, int R, int G, int B, int DeckelR,
                      int DeckelG, int DeckelB, bool MitDeckel, TImage* Bild);
// Oblique cuboid and cube; (x, y) is the lower left corner of the front face.
void QuaderZeichnen(int x, int y, int Breite, int Hoehe, int Tiefe, int VorneR, int VorneG, int VorneB,
                    int SeiteR, int SeiteG, int SeiteB, int ObenR, int ObenG, int ObenB, TImage* Bild);
void WuerfelZeichnen(int x, int y, int Kante, int VorneR, int VorneG, int VorneB, int SeiteR, int SeiteG,
                     int SeiteB, int ObenR, int ObenG, int ObenB, TImage* Bild);
// The cube with the picture fourth, as the geometry exercises pass it.
void WuerfelZeichnen(int x, int y, int Kante, TImage* Bild, int VorneR, int VorneG, int VorneB, int SeiteR,
                     int SeiteG, int SeiteB, int ObenR, int ObenG, int ObenB);

// The shortest decimal text (at most 11 decimals, "." as separator) that keeps
// the value after rounding to 11 decimals; "-0" becomes "0".
QString ZahlAlsText(double x);
// True with probability p (never for p <= 0).
bool Zufallsentscheidung(double p);
// Waits ms milliseconds while the application handles its events. Returns false
// when Formular was closed meanwhile (or the program ends), so that an animation
// loop can stop: while (...) { ...; if (!Warten(10, this)) return; }
bool Warten(int ms, TForm* Formular = nullptr);
