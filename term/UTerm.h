#pragma once
// The term unit's entry points. The unit serves three groups of callers; each
// calls the routines with its own suffix (1: section forms and two exercises of
// chapters 2 and 3, 2: most exercise forms, 3: number walls and the race).
// One implementation serves all three; they differ only in the wording of
// result code 2 and in the display font of the answer boxes.
#include "USonderfunktionen.h"
#include "UTermAuswerten.h"
#include "UTermNormal.h"
#include "UTermPruefen.h"
#include "UWahrscheinlichkeit.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Answer check with the verdict as text and colour (the label-based entries
// are in UTermEingabe.h).
void ErgebnisPruefen1(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag);
void ErgebnisPruefen2(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag);
void ErgebnisPruefen3(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag);
void ErgebnisAnzeigen1(tUrteil& Urteil, int Code);
void ErgebnisAnzeigen2(tUrteil& Urteil, int Code);
void ErgebnisAnzeigen3(tUrteil& Urteil, int Code);

// Evaluates Text, binds its value to x and returns the value of Term at random
// values of the other letters; 0 when Term cannot be evaluated. An empty Text
// gives x = 0.
double TermWert2(const std::string& Term, const std::string& Text);
double TermWert3(const std::string& Term, const std::string& Text);
// As TermWert2 with p = pi and e = Euler's number, and with the special
// notations of Term rewritten first. Gueltig tells whether both evaluated.
// An arithmetic failure (an overflow such as 171!) raises EMathFehler.
double TermWertGueltig1(const std::string& Term, const std::string& Text, bool& Gueltig);
// Two literals would otherwise be ambiguous beside the QString entries.
inline double TermWert2(const char* Term, const char* Text) { return TermWert2(std::string(Term), std::string(Text)); }
inline double TermWert3(const char* Term, const char* Text) { return TermWert3(std::string(Term), std::string(Text)); }
inline double TermWertGueltig1(const char* Term, const char* Text, bool& Gueltig) {
    return TermWertGueltig1(std::string(Term), std::string(Text), Gueltig);
}

// X rounded half away from zero (by its five-decimal text).
int64_t Runden2(Extended X);
// X rounded half away from zero to N decimal places; X itself when that fails.
double StellenRunden2(int N, double X);

// Every occurrence of Alt in S becomes Neu; text taken from Neu is not searched again.
void AlleErsetzen1(std::string& S, const std::string& Alt, const std::string& Neu);
void AlleErsetzen3(std::string& S, const std::string& Alt, const std::string& Neu);
void AlleErsetzen1(QString& S, const QString& Alt, const QString& Neu);
void AlleErsetzen3(QString& S, const QString& Alt, const QString& Neu);

// A[0..N] becomes a random permutation of 0..N (the program's shared generator).
// Nothing happens when N < 0 or A holds fewer than N + 1 entries.
void ZufallsPermutation1(std::span<int> A, int N);

int ZeichenZaehlen1(const std::string& S, char C);
