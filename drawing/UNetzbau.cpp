#include "drawing/UNetzbau.h"

#include <cmath>
#include <initializer_list>

namespace {

tFlaeche Flaeche(double z, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                 double y4) {
    return {tVektor{x1, y1, z}, tVektor{x2, y2, z}, tVektor{x3, y3, z}, tVektor{x4, y4, z}};
}

// Turns the listed faces (numbered 1..6) about the line from P to Q. P and Q are
// taken before any face of the group moves, so a hinge on a turned face stays put.
void Drehen(tFlaechenfeld& F, std::initializer_list<int> Nummern, tVektor P, tVektor Q, double Winkel) {
    for (int k : Nummern)
        F[k - 1] = FlaecheDrehen1(F[k - 1], P, Q, Winkel);
}

const tVektor& Ecke(const tFlaechenfeld& F, int Flaeche, int Nr) {
    return F[Flaeche - 1][Nr - 1];
}

// The cross-shaped net: face 2 above face 1, faces 3 and 4 beside it, faces 5 and
// 6 below. Richtung +1 folds the flaps towards the viewer, -1 away from him.
tFlaechenfeld Kreuz(double a, double b, double c, double z, double Winkel, double Richtung) {
    tFlaechenfeld F{
        Flaeche(z, -a, -c, a, -c, a, c, -a, c),
        Flaeche(z, -a, c, a, c, a, c + 2 * b, -a, c + 2 * b),
        Flaeche(z, -a - 2 * b, -c, -a, -c, -a, c, -a - 2 * b, c),
        Flaeche(z, a, -c, a + 2 * b, -c, a + 2 * b, c, a, c),
        Flaeche(z, -a, -c - 2 * b, a, -c - 2 * b, a, -c, -a, -c),
        Flaeche(z, -a, -3 * c - 2 * b, a, -3 * c - 2 * b, a, -c - 2 * b, -a, -c - 2 * b),
    };
    const double w = Richtung * Winkel;
    Drehen(F, {2}, Ecke(F, 2, 1), Ecke(F, 2, 2), w);
    Drehen(F, {4}, Ecke(F, 4, 1), Ecke(F, 4, 4), -w);
    Drehen(F, {3}, Ecke(F, 3, 2), Ecke(F, 3, 3), w);
    Drehen(F, {5}, Ecke(F, 5, 3), Ecke(F, 5, 4), w);
    Drehen(F, {6}, Ecke(F, 5, 3), Ecke(F, 5, 4), w);
    Drehen(F, {6}, Ecke(F, 6, 3), Ecke(F, 6, 4), w);
    return F;
}

// Net 2: faces 3, 1, 4, 6 in a row, face 2 above face 1, face 5 below face 4.
tFlaechenfeld NetzZwei(double h, double Winkel) {
    const double z = h * std::sqrt(2.0);
    tFlaechenfeld F{
        Flaeche(z, 0, h, -2 * h, h, -2 * h, -h, 0, -h),
        Flaeche(z, -2 * h, 3 * h, -2 * h, h, 0, h, 0, 3 * h),
        Flaeche(z, -4 * h, h, -4 * h, -h, -2 * h, -h, -2 * h, h),
        Flaeche(z, 0, h, 0, -h, 2 * h, -h, 2 * h, h),
        Flaeche(z, 0, -3 * h, 2 * h, -3 * h, 2 * h, -h, 0, -h),
        Flaeche(z, 2 * h, -h, 4 * h, -h, 4 * h, h, 2 * h, h),
    };
    const tVektor P = Ecke(F, 1, 1), Q = Ecke(F, 1, 4);
    Drehen(F, {1, 2, 3}, P, Q, Winkel / 2);
    Drehen(F, {4, 5, 6}, P, Q, -Winkel / 2);
    Drehen(F, {2}, Ecke(F, 1, 1), Ecke(F, 1, 2), Winkel);
    Drehen(F, {3}, Ecke(F, 1, 2), Ecke(F, 1, 3), Winkel);
    Drehen(F, {5}, Ecke(F, 4, 2), Ecke(F, 4, 3), Winkel);
    Drehen(F, {6}, Ecke(F, 4, 3), Ecke(F, 4, 4), Winkel);
    return F;
}

// Nets 3 and 4 share faces 1, 2, 4, 5 and 6; face 3 sits beside face 2 (net 3,
// a T) or beside face 6 (net 4).
tFlaechenfeld NetzDreiOderVier(double h, double Winkel, bool Vier) {
    const double z = h * std::sqrt(2.0);
    tFlaechenfeld F{
        Flaeche(z, h, 0, h, 2 * h, -h, 2 * h, -h, 0),
        Flaeche(z, h, 4 * h, -h, 4 * h, -h, 2 * h, h, 2 * h),
        Vier ? Flaeche(z, -3 * h, -4 * h, -h, -4 * h, -h, -2 * h, -3 * h, -2 * h)
             : Flaeche(z, -3 * h, 4 * h, -3 * h, 2 * h, -h, 2 * h, -h, 4 * h),
        Flaeche(z, 3 * h, 2 * h, 3 * h, 4 * h, h, 4 * h, h, 2 * h),
        Flaeche(z, h, 0, -h, 0, -h, -2 * h, h, -2 * h),
        Flaeche(z, -h, -2 * h, -h, -4 * h, h, -4 * h, h, -2 * h),
    };
    const tVektor P = Ecke(F, 1, 1), Q = Ecke(F, 1, 4);
    if (!Vier) {
        Drehen(F, {1, 2, 3, 4}, P, Q, Winkel / 2);
        Drehen(F, {5, 6}, P, Q, -Winkel / 2);
        Drehen(F, {2, 3, 4}, Ecke(F, 1, 2), Ecke(F, 1, 3), Winkel);
        Drehen(F, {3}, Ecke(F, 2, 2), Ecke(F, 2, 3), Winkel);
        Drehen(F, {4}, Ecke(F, 2, 1), Ecke(F, 2, 4), -Winkel);
        Drehen(F, {6}, Ecke(F, 5, 3), Ecke(F, 5, 4), Winkel);
    } else {
        Drehen(F, {1, 2, 4}, P, Q, Winkel / 2);
        Drehen(F, {5, 6, 3}, P, Q, -Winkel / 2);
        Drehen(F, {2, 4}, Ecke(F, 1, 2), Ecke(F, 1, 3), Winkel);
        Drehen(F, {4}, Ecke(F, 2, 1), Ecke(F, 2, 4), -Winkel);
        Drehen(F, {6, 3}, Ecke(F, 5, 3), Ecke(F, 5, 4), Winkel);
        Drehen(F, {3}, Ecke(F, 6, 1), Ecke(F, 6, 2), Winkel);
    }
    return F;
}

tPunktefeld Kopie1(tFlaechenfeld F, const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, bool Zeichnen,
                   TColor Hintergrund, const tAnsicht& Ansicht) {
    FlaechenDarstellen(F, Farben, Gefuellt, Loeschen, Zeichnen, Hintergrund, Ansicht);
    tPunktefeld Ecken;
    EckenSammeln1(F, Ecken);
    return Ecken;
}

tFlaechenfeld Kopie2(tFlaechenfeld F, const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, bool Zeichnen,
                     const tAnsicht& Ansicht) {
    FlaechenDarstellen(F, Farben, Gefuellt, Loeschen, Zeichnen, RGB(0, 0, 0), Ansicht);
    return F;
}

} // namespace

tFlaechenfeld QuadernetzFlaechen(double LaengeX, double LaengeZ, double LaengeY, double Winkel) {
    const double b = LaengeZ / 2;
    return Kreuz(LaengeX / 2, b, LaengeY / 2, -b, Winkel, 1);
}

tFlaechenfeld WuerfelnetzFlaechen2(int Netz, double Kante, double Winkel) {
    const double h = Kante / 2;
    switch (Netz) {
    case 2:
        return NetzZwei(h, Winkel);
    case 3:
        return NetzDreiOderVier(h, Winkel, false);
    case 4:
        return NetzDreiOderVier(h, Winkel, true);
    default:
        return Kreuz(h, h, h, h, Winkel, -1);
    }
}

tPunktefeld QuadernetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double LaengeX,
                                double LaengeZ, double LaengeY, double Winkel, bool Zeichnen,
                                const tAnsicht& Ansicht) {
    return Kopie1(QuadernetzFlaechen(LaengeX, LaengeZ, LaengeY, Winkel), Farben, Gefuellt, Loeschen, Zeichnen,
                  RGB(0, 0, 0), Ansicht);
}

tPunktefeld QuadernetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double LaengeX,
                                     double LaengeZ, double LaengeY, double Winkel, bool Zeichnen,
                                     const tAnsicht& Ansicht) {
    return Kopie1(QuadernetzFlaechen(LaengeX, LaengeZ, LaengeY, Winkel), Farben, Gefuellt, Loeschen, Zeichnen,
                  RGB(255, 255, 255), Ansicht);
}

tPunktefeld WuerfelnetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                 double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return QuadernetzZeichnen1(Farben, Gefuellt, Loeschen, Kante, Kante, Kante, Winkel, Zeichnen, Ansicht);
}

tPunktefeld WuerfelnetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                      double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return QuadernetzZeichnenWeiss1(Farben, Gefuellt, Loeschen, Kante, Kante, Kante, Winkel, Zeichnen,
                                    Ansicht);
}

tFlaechenfeld NetzEinsZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return Kopie2(WuerfelnetzFlaechen2(1, Kante, Winkel), Farben, Gefuellt, Loeschen, Zeichnen, Ansicht);
}

tFlaechenfeld NetzZweiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return Kopie2(WuerfelnetzFlaechen2(2, Kante, Winkel), Farben, Gefuellt, Loeschen, Zeichnen, Ansicht);
}

tFlaechenfeld NetzDreiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return Kopie2(WuerfelnetzFlaechen2(3, Kante, Winkel), Farben, Gefuellt, Loeschen, Zeichnen, Ansicht);
}

tFlaechenfeld NetzVierZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, double Kante,
                                double Winkel, bool Zeichnen, const tAnsicht& Ansicht) {
    return Kopie2(WuerfelnetzFlaechen2(4, Kante, Winkel), Farben, Gefuellt, Loeschen, Zeichnen, Ansicht);
}

namespace {

tPunktefeld Eckpunkte(const tFlaechenfeld& F) {
    tPunktefeld p;
    p.reserve(24);
    for (const tFlaeche& f : F)
        p.insert(p.end(), f.begin(), f.end());
    return p;
}

} // namespace

void QuadernetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                         const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double LaengeX,
                         double LaengeZ, double LaengeY) {
    Ecken =
        QuadernetzZeichnen1(Farben, Gefuellt, Loeschen, LaengeX, LaengeZ, LaengeY, Winkel, Zeichnen, Ansicht);
}

void QuadernetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                              const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double LaengeX,
                              double LaengeZ, double LaengeY) {
    Ecken = QuadernetzZeichnenWeiss1(Farben, Gefuellt, Loeschen, LaengeX, LaengeZ, LaengeY, Winkel, Zeichnen,
                                     Ansicht);
}

void WuerfelnetzZeichnen1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                          const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = WuerfelnetzZeichnen1(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht);
}

void WuerfelnetzZeichnenWeiss1(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                               const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = WuerfelnetzZeichnenWeiss1(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht);
}

void NetzEinsZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = Eckpunkte(NetzEinsZeichnen2(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht));
}

void NetzZweiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = Eckpunkte(NetzZweiZeichnen2(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht));
}

void NetzDreiZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = Eckpunkte(NetzDreiZeichnen2(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht));
}

void NetzVierZeichnen2(const tFarbfeld& Farben, bool Gefuellt, bool Loeschen, tPunktefeld& Ecken,
                       const tAnsicht& Ansicht, bool Zeichnen, double Winkel, double Kante) {
    Ecken = Eckpunkte(NetzVierZeichnen2(Farben, Gefuellt, Loeschen, Kante, Winkel, Zeichnen, Ansicht));
}
