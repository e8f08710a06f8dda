#pragma once
// Coins, notes and the counter of the money exercises: the piece tables and the
// pictures, drawn in code at the sizes the forms give them.
#include "platform/Colors.h"

#include <QString>

class TCanvas;
class TImage;

namespace GeldBilder {

// Coin values in cents, in the order of Image1 .. Image8, and the first tray
// piece of each value.
inline constexpr int MuenzCent[8] = {1, 2, 5, 10, 20, 50, 100, 200};
inline constexpr int ErstesStueck[8] = {0, 1, 3, 4, 5, 7, 8, 9};
inline constexpr int ScheinWerte[4] = {5, 10, 20, 50};
// Notes before coins; later ones cover earlier ones.
inline constexpr int ScheinFolge[8] = {18, 14, 16, 12, 17, 13, 11, 15};
inline constexpr int MuenzFolge[11] = {0, 1, 2, 3, 4, 6, 5, 7, 8, 9, 10};

int ScheinIndex(int Wert);
// An amount of whole cents in euros with two decimals and the German decimal
// comma: 1235 gives "12,35".
QString ZweiStellen(long long Cent);
void TextMittig(TCanvas* c, int cx, int y, const QString& Text);
// Bold Arial of the given pixel height in the given colour, on a clear brush.
void Schrift(TCanvas* c, int Hoehe, TColor Farbe);
void MuenzeMalen(TImage* Bild, int Cent);
void ScheinMalen(TImage* Bild, int Wert);
void ThekeMalen(TImage* Bild);

} // namespace GeldBilder
