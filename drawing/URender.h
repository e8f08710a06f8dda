#pragma once
// The small 3-D renderer of the solid exercises: vectors, matrices, the view
// with its projection onto an image, and the draw stage shared by the model
// builders (UNetzbau.h).
//
// The rotating-solid exercise calls the routines ending in 1, the net-colouring
// exercise those ending in 2. Both sets are the same code; the second set are
// aliases of the first.
//
// Faces and corners are 0-based here: face k of the program is Flaechen[k - 1],
// its corner j is Ecken[j - 1].
#include "platform/Colors.h"
#include "platform/Graphics.h"

#include <array>
#include <cstdint>
#include <vector>

class TImage;
class TForm;

struct tVektor {
    double x = 0, y = 0, z = 0;
    bool operator==(const tVektor&) const = default;
};

// Row-major: m[i][j] is row i + 1, column j + 1. Acts on column vectors.
struct tMatrix {
    double m[3][3] = {};
    bool operator==(const tMatrix&) const = default;
};

// The world window, the view rotation the builders apply before projecting, and
// the target image (its current width, height and canvas are used). A fresh view
// has the exercises' window -10..10 and no rotation.
struct tAnsicht {
    double XMin = -10, XMax = 10, YMin = -10, YMax = 10, ZMin = -10, ZMax = 10;
    tMatrix Drehung{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    TImage* Bild = nullptr;
};

using tPunktefeld = std::vector<tVektor>;
using tFarbfeld = std::vector<TColor>;
using tFlaeche = std::array<tVektor, 4>;
using tFlaechenfeld = std::array<tFlaeche, 6>;

// Vectors
tVektor VektorBilden1(double x, double y, double z);
tVektor VektorSumme1(const tVektor& a, const tVektor& b);
tVektor VektorDifferenz1(const tVektor& a, const tVektor& b);
double VektorBetrag1(const tVektor& v);

// Matrices; the axis rotations take radians, DrehmatrixAchse1 degrees.
tMatrix EinheitsMatrix1();
tMatrix DrehmatrixX1(double w);
tMatrix DrehmatrixY1(double w);
tMatrix DrehmatrixZ1(double w);
// Right-hand rule about Achse; entries below 1e-5 become exactly 0. A zero axis
// gives the identity.
tMatrix DrehmatrixAchse1(const tVektor& Achse, double Winkel);
tMatrix MatrixProdukt1(const tMatrix& A, const tMatrix& B);
tVektor MatrixMalVektor1(const tMatrix& M, const tVektor& v);

// The same with the result in an out-parameter, as the solid exercises call
// them; C of MatrixProdukt1 may be A or B itself.
void EinheitsMatrix1(tMatrix& M);
void DrehmatrixX1(tMatrix& M, double w);
void DrehmatrixY1(tMatrix& M, double w);
void DrehmatrixZ1(tMatrix& M, double w);
void DrehmatrixAchse1(const tVektor& Achse, tMatrix& M, double Winkel);
void MatrixProdukt1(const tMatrix& A, const tMatrix& B, tMatrix& C);

// Turning about the line through A in the direction B - A, degrees.
tVektor RaumpunktDrehen1(const tVektor& P, const tVektor& A, const tVektor& B, double Winkel);
tFlaeche FlaecheDrehen1(const tFlaeche& F, const tVektor& A, const tVektor& B, double Winkel);

// Pixel position in Ansicht.Bild and depth 0 (far) .. 1000 (near) of a point in
// view coordinates (Drehung is not applied). An image without pixels maps every
// point to (0, 0).
void Projizieren1(const tVektor& P, const tAnsicht& Ansicht, int& Tiefe, TPoint& Pixel);
// The same for an explicit image size; Projizieren1 uses the size of Ansicht.Bild.
void ProjizierenAufGroesse(const tVektor& P, const tAnsicht& Ansicht, int Breite, int Hoehe, int& Tiefe,
                           TPoint& Pixel);

// Drawing helpers of the draw stage
void FarbeZerlegen1(TColor c, int& r, int& g, int& b);
TColor TiefenFarbe1(const tVektor& P, const tAnsicht& Ansicht);
// Draws nothing for fewer than 2 pieces.
void VerlaufsLinie1(const tVektor& P, const tVektor& Q, TColor Farbe1, TColor Farbe2, int n,
                    const tAnsicht& Ansicht);
void KugelZeichnen1(int x, int y, int r, int g, int b, TImage* Bild);
void HintergrundFuellen1(int r, int g, int b, TImage* Bild);
void EckenSammeln1(const tFlaeche* Flaechen, int Anzahl, tPunktefeld& Ecken);
inline void EckenSammeln1(const tFlaechenfeld& Flaechen, tPunktefeld& Ecken) {
    EckenSammeln1(Flaechen.data(), static_cast<int>(Flaechen.size()), Ecken);
}

// Face 1..6 whose projected bounding box strictly contains (X, Y), or -1.
int FlaecheUnterMaus2(int X, int Y, const tFlaechenfeld& Flaechen, const tAnsicht& Ansicht);
// The same on the 24 net vertices, four per face in face order; faces whose
// vertices are missing from a shorter list are not found.
int FlaecheUnterMaus2(int X, int Y, const tPunktefeld& Ecken, const tAnsicht& Ansicht);

// The wait of UZeichnen1: false once Formular has been closed, so that an
// animation loop can stop.
bool Warten1(int ms, TForm* Formular = nullptr);

// The draw stage of every builder: turns the six faces by the view (in place),
// projects them and, when Zeichnen is set, paints them far to near (ties in face
// order) on a background of Hintergrund when Loeschen is set.
void FlaechenDarstellen(tFlaechenfeld& Flaechen, const tFarbfeld& Farben, bool Gefuellt, bool Loeschen,
                        bool Zeichnen, TColor Hintergrund, const tAnsicht& Ansicht);

// Names of the second copy.
inline constexpr auto& VektorBilden2 = VektorBilden1;
inline constexpr auto& VektorSumme2 = VektorSumme1;
inline constexpr auto& VektorDifferenz2 = VektorDifferenz1;
inline constexpr auto& VektorBetrag2 = VektorBetrag1;
inline constexpr auto& MatrixMalVektor2 = MatrixMalVektor1;
inline constexpr auto& RaumpunktDrehen2 = RaumpunktDrehen1;
inline constexpr auto& FlaecheDrehen2 = FlaecheDrehen1;
inline constexpr auto& Projizieren2 = Projizieren1;
inline constexpr auto& FarbeZerlegen2 = FarbeZerlegen1;
inline constexpr auto& TiefenFarbe2 = TiefenFarbe1;
inline constexpr auto& VerlaufsLinie2 = VerlaufsLinie1;
inline constexpr auto& KugelZeichnen2 = KugelZeichnen1;
inline constexpr auto& HintergrundFuellen2 = HintergrundFuellen1;
inline tMatrix EinheitsMatrix2() {
    return EinheitsMatrix1();
}
inline void EinheitsMatrix2(tMatrix& M) {
    EinheitsMatrix1(M);
}
inline tMatrix DrehmatrixX2(double w) {
    return DrehmatrixX1(w);
}
inline void DrehmatrixX2(tMatrix& M, double w) {
    DrehmatrixX1(M, w);
}
inline tMatrix DrehmatrixY2(double w) {
    return DrehmatrixY1(w);
}
inline void DrehmatrixY2(tMatrix& M, double w) {
    DrehmatrixY1(M, w);
}
inline tMatrix DrehmatrixZ2(double w) {
    return DrehmatrixZ1(w);
}
inline void DrehmatrixZ2(tMatrix& M, double w) {
    DrehmatrixZ1(M, w);
}
inline tMatrix DrehmatrixAchse2(const tVektor& Achse, double Winkel) {
    return DrehmatrixAchse1(Achse, Winkel);
}
inline void DrehmatrixAchse2(const tVektor& Achse, tMatrix& M, double Winkel) {
    DrehmatrixAchse1(Achse, M, Winkel);
}
inline tMatrix MatrixProdukt2(const tMatrix& A, const tMatrix& B) {
    return MatrixProdukt1(A, B);
}
inline void MatrixProdukt2(const tMatrix& A, const tMatrix& B, tMatrix& C) {
    MatrixProdukt1(A, B, C);
}
inline bool Warten2(int ms, TForm* Formular = nullptr) {
    return Warten1(ms, Formular);
}
inline void EckenSammeln2(const tFlaechenfeld& Flaechen, tPunktefeld& Ecken) {
    EckenSammeln1(Flaechen, Ecken);
}
