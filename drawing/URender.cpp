#include "drawing/URender.h"

#include "drawing/Bildzugang.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

tVektor VektorBilden1(double x, double y, double z) {
    return tVektor{x, y, z};
}

tVektor VektorSumme1(const tVektor& a, const tVektor& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

tVektor VektorDifferenz1(const tVektor& a, const tVektor& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double VektorBetrag1(const tVektor& v) {
    return std::sqrt(v.z * v.z + (v.y * v.y + v.x * v.x));
}

tMatrix EinheitsMatrix1() {
    tMatrix M;
    M.m[0][0] = M.m[1][1] = M.m[2][2] = 1;
    return M;
}

tMatrix DrehmatrixX1(double w) {
    const double c = std::cos(w), s = std::sin(w);
    return tMatrix{{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}

tMatrix DrehmatrixY1(double w) {
    const double c = std::cos(w), s = std::sin(w);
    return tMatrix{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}

tMatrix DrehmatrixZ1(double w) {
    const double c = std::cos(w), s = std::sin(w);
    return tMatrix{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

tMatrix DrehmatrixAchse1(const tVektor& Achse, double Winkel) {
    const double laenge = VektorBetrag1(Achse);
    if (!(laenge > 0) || !std::isfinite(laenge)) return EinheitsMatrix1();
    const double ux = Achse.x / laenge, uy = Achse.y / laenge, uz = Achse.z / laenge;
    const double c = std::cos(kPi * Winkel / 180), s = std::sin(kPi * Winkel / 180);
    tMatrix M{{{ux * ux * (1 - c) + c, ux * uy * (1 - c) - s * uz, ux * uz * (1 - c) + s * uy},
               {ux * uy * (1 - c) + s * uz, uy * uy * (1 - c) + c, uy * uz * (1 - c) - s * ux},
               {ux * uz * (1 - c) - s * uy, uy * uz * (1 - c) + s * ux, uz * uz * (1 - c) + c}}};
    // Quarter and half turns must give clean 0, 1 and -1 entries.
    for (auto& zeile : M.m)
        for (double& e : zeile)
            if (std::fabs(e) < 1e-5) e = 0;
    return M;
}

tMatrix MatrixProdukt1(const tMatrix& A, const tMatrix& B) {
    tMatrix C;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double summe = 0;
            for (int k = 0; k < 3; ++k)
                summe = summe + A.m[i][k] * B.m[k][j];
            C.m[i][j] = summe;
        }
    return C;
}

void EinheitsMatrix1(tMatrix& M) {
    M = EinheitsMatrix1();
}

void DrehmatrixX1(tMatrix& M, double w) {
    M = DrehmatrixX1(w);
}

void DrehmatrixY1(tMatrix& M, double w) {
    M = DrehmatrixY1(w);
}

void DrehmatrixZ1(tMatrix& M, double w) {
    M = DrehmatrixZ1(w);
}

void DrehmatrixAchse1(const tVektor& Achse, tMatrix& M, double Winkel) {
    M = DrehmatrixAchse1(Achse, Winkel);
}

void MatrixProdukt1(const tMatrix& A, const tMatrix& B, tMatrix& C) {
    // Computed into a fresh matrix first, so that C may be A or B.
    C = MatrixProdukt1(A, B);
}

tVektor MatrixMalVektor1(const tMatrix& M, const tVektor& v) {
    return {M.m[0][0] * v.x + M.m[0][1] * v.y + M.m[0][2] * v.z,
            M.m[1][0] * v.x + M.m[1][1] * v.y + M.m[1][2] * v.z,
            M.m[2][0] * v.x + M.m[2][1] * v.y + M.m[2][2] * v.z};
}

tVektor RaumpunktDrehen1(const tVektor& P, const tVektor& A, const tVektor& B, double Winkel) {
    const tMatrix R = DrehmatrixAchse1(VektorDifferenz1(B, A), Winkel);
    return VektorSumme1(A, MatrixMalVektor1(R, VektorDifferenz1(P, A)));
}

tFlaeche FlaecheDrehen1(const tFlaeche& F, const tVektor& A, const tVektor& B, double Winkel) {
    tFlaeche G;
    for (int i = 0; i < 4; ++i)
        G[i] = RaumpunktDrehen1(F[i], A, B, Winkel);
    return G;
}

void ProjizierenAufGroesse(const tVektor& P, const tAnsicht& Ansicht, int Breite, int Hoehe, int& Tiefe,
                           TPoint& Pixel) {
    const double sx = Breite > 0 ? (Ansicht.XMax - Ansicht.XMin) / Breite : 0;
    const double sy = Hoehe > 0 ? (Ansicht.YMax - Ansicht.YMin) / Hoehe : 0;
    const double s = sx > sy ? sx : sy;
    if (s > 0 && Breite > 0 && Hoehe > 0)
        Pixel = TPoint{Naechste((P.x - Ansicht.XMin) / s), Naechste((-P.y - Ansicht.YMin) / s)};
    else
        Pixel = TPoint{0, 0};

    const double d = (Ansicht.ZMax - Ansicht.ZMin) / 1000.0f;
    if (P.z < Ansicht.ZMin)
        Tiefe = 0;
    else if (P.z > Ansicht.ZMax)
        Tiefe = 1000;
    else if (d > 0) {
        int t = Naechste((P.z - Ansicht.ZMin) / d);
        Tiefe = t < 0 ? 0 : (t > 1000 ? 1000 : t);
    } else
        Tiefe = 0;
}

void FarbeZerlegen1(TColor c, int& r, int& g, int& b) {
    b = c / 65536;
    g = (c - 65536 * b) / 256;
    r = c - 65536 * b - 256 * g;
}

void EckenSammeln1(const tFlaeche* Flaechen, int Anzahl, tPunktefeld& Ecken) {
    Ecken.clear();
    for (int f = 0; f < Anzahl; ++f)
        for (const tVektor& ecke : Flaechen[f]) {
            bool neu = true;
            for (const tVektor& da : Ecken)
                if (VektorBetrag1(VektorDifferenz1(da, ecke)) < 0.001) {
                    neu = false;
                    break;
                }
            if (neu) Ecken.push_back(ecke);
        }
}
