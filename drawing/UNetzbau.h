#pragma once
// Model builders of the solid exercises: six faces laid out flat as a net, folded
// about their hinge edges by a fold angle (0 flat, 90 the closed solid) and handed
// to the draw stage of URender. In every model face 1 ends opposite face 6, face 2
// opposite face 5 and face 3 opposite face 4.
#include "drawing/URender.h"

// The folded faces in world coordinates, before the view turns them. Netz 0 is the
// cuboid cross of the first copy (its net lies at z = -LaengeZ / 2); nets 1 to 4
// are the cube nets of the second copy.
tFlaechenfeld QuadernetzFlaechen(double LaengeX, double LaengeZ, double LaengeY, double Winkel);
tFlaechenfeld WuerfelnetzFlaechen2(int Netz, double Kante, double Winkel);

// Copy 1: cuboid and cube, black or white background; the result is the list of
// distinct corners in view coordinates.
tPunktefeld QuadernetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double LaengeX,
                                double LaengeZ, double LaengeY, double Winkel, bool Zeichnen,
                                const tAnsicht& Ansicht);
tPunktefeld QuadernetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double LaengeX,
                                     double LaengeZ, double LaengeY, double Winkel, bool Zeichnen,
                                     const tAnsicht& Ansicht);
tPunktefeld WuerfelnetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                 double Winkel, bool Zeichnen, const tAnsicht& Ansicht);
tPunktefeld WuerfelnetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                      double Winkel, bool Zeichnen, const tAnsicht& Ansicht);

// Copy 2: the four cube nets on black; the result is the six faces in view
// coordinates, as FlaecheUnterMaus2 expects them.
tFlaechenfeld NetzEinsZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht);
tFlaechenfeld NetzZweiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht);
tFlaechenfeld NetzDreiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht);
tFlaechenfeld NetzVierZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht);

// The same builders with the result in an out-parameter, in the argument order
// of the solid exercises. Copy 1 fills Ecken with the distinct corners, copy 2
// with the 24 vertices of the six faces (four per face, faces 1..6), as
// FlaecheUnterMaus2 takes them.
void QuadernetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                         const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double LaengeX,
                         double LaengeZ, double LaengeY);
void QuadernetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                              const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double LaengeX,
                              double LaengeZ, double LaengeY);
void WuerfelnetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                          const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
void WuerfelnetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                               const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
void NetzEinsZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
void NetzZweiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
void NetzDreiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
void NetzVierZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante);
