#pragma once
// The answer check: compares a pupil's term with the solution at random
// variable values and gives a verdict in words and colour.
#include "platform/Colors.h"

#include <QString>
#include <cstdint>
#include <string>

// What the verdict label shows.
struct tUrteil {
    QString Text;
    TColor Farbe = 0;
    int Code = 0; // result code of the last verdict shown by code, 0 for a direct message
};

// Result codes (Ergebniscode).
namespace Ergebniscode {
constexpr int Richtig = 1;
constexpr int Vereinfachen = 2;
constexpr int Falsch = 3;
constexpr int KeineEingabe = 4;
constexpr int Unzulaessig = 5;
constexpr int Unueblich = 6;
constexpr int Wurzel = 7;
constexpr int Division = 8;
constexpr int Tangens = 9;
constexpr int Ln = 10;
constexpr int Lg = 11;
constexpr int Definitionsbereich = 15;
constexpr int Bereich = 16;
} // namespace Ergebniscode

// Sets text and colour of the code; other codes leave the verdict unchanged.
// Kopie (1, 2, 3) selects the wording of code 2.
void ErgebnisAnzeigen(int Kopie, tUrteil& Urteil, int Code);

// The check. Antwort and Loesung are token strings or typed text (code page 1252).
// Grenze: 25, 45 or 50 (simplification test off). Toleranz: > 0 relative,
// < 0 absolute (its negative), 0 the default 1e-6. Never raises.
void ErgebnisPruefen(int Kopie, const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                     char Modus, bool& Richtig, double Toleranz, int Flag);

// The simplification test: no counted class of Antwort outnumbers Loesung's.
bool EinfacherAls(const std::string& Antwort, const std::string& Loesung, int Grenze);
// x2, (a+b)3, x²2: a digit right after ")", a letter or a power sign.
bool UnueblicheSchreibweise(const std::string& Term);

// The check's own generator (the program's shared one is left alone). Tests
// may fix its seed; by default every pass seeds it from the clock.
void PruefZufallFestlegen(bool Fest, uint32_t Seed = 0);
