#pragma once
// The evaluator: computes a term's value with the variables a to z bound.
#include <array>
#include <string>

// Values of the variables a (index 0) to z (25).
using tVarWerte = std::array<double, 26>;

namespace Fehlercode {
constexpr int Keiner = 0;
constexpr int Wurzel = 7;     // root of a negative number, arcsin/arccos outside [-1, 1]
constexpr int Division = 8;   // division by zero
constexpr int Tangens = 9;    // tangent where the cosine is 0
constexpr int Ln = 10;        // ln of a number <= 0
constexpr int Lg = 11;        // lg of a number <= 0
} // namespace Fehlercode

// Evaluates Term (token string or typed text) at Werte. True on success; then
// ErgebnisText holds the value as a number text. Invalid terms give false with
// Fehler 0, arithmetic failures false with Fehler 7 to 11. An overflow of the
// extended arithmetic raises EMathFehler (the callers catch it).
bool TermAuswerten(const std::string& Term, std::string& ErgebnisText, const tVarWerte& Werte, int& Fehler);

// One bracket-free piece.
bool TermAuswertenKern(const std::string& Stueck, std::string& ErgebnisText, const tVarWerte& Werte, int& Fehler);
