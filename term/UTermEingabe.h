#pragma once
// Answer boxes: the key filter, the display form of a term (function names in
// blue, root, integral, pi, Phi and Psi as Symbol glyphs, "·" for "*") and the
// conversion between the box's Unicode text and the engine's 1252 bytes.
#include "platform/Colors.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

// Font of the key just filtered, or of one display piece.
struct tTermSchrift {
    QString Name;
    TColor Farbe = 0;
    uint8_t Zeichensatz = 1; // 2: symbol character set
};

// The display font of a copy: "Times New Roman" in copy 1, "Tahoma" in 2 and 3.
QString AnzeigeSchrift(int Kopie);

// The key filter on one code page 1252 byte. Enter (13) becomes 0 and sets
// Enter; keys that cannot occur in a term become 0.
void TastenFilter(int Kopie, char& Key, bool& Enter, tTermSchrift& Schrift);
// The same on a typed character; a key the box should not take comes back 0.
void TastenFilter(int Kopie, char16_t& Key, bool& Enter);

// One piece of the display form.
struct tAnzeigeStueck {
    QString Text;
    tTermSchrift Schrift;
};
// The pieces of line 0 of a box: the token string of Zeile (normalised with
// decimal point, or with decimal commas when Komma is set) in display form.
std::vector<tAnzeigeStueck> EingabeStuecke(int Kopie, const QString& Zeile, bool Komma);

// The box's text as the engine reads it: Symbol glyphs back to their bytes
// (radical, integral, pi, Phi, Psi), everything else through code page 1252.
std::string BoxText(const QString& Text);
// The other way: bytes of a token string as the box shows them.
QString AnzeigeText(const std::string& Bytes);
