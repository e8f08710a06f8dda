#pragma once
// Rewriting of the notations the evaluator does not know (B(n;p;k), K(n;p;k),
// F(x), Y(p), Bin(n;k)/$(n;k), n!, "^") and of squared or cubed plain numbers
// into bracketed number texts.
#include "UTermAuswerten.h"

#include <string>

// Rewrites Term in place. Ok is false exactly when a "^" is left that could not
// be rewritten. The factorial of a number above 170 and K(n;1;k) with k > 100
// raise EMathFehler.
void SonderfunktionenAuswerten(std::string& Term, bool& Ok, const tVarWerte& Werte);

// Pieces, exposed for the tests.
void SonderfunktionSuchen(const std::string& Term, int& Start, int& Ende, int& Art);
void DurchZahlErsetzen(std::string& Term, int Von, int Bis, double Wert);
void FakultaetenErsetzen(std::string& Term, bool& Ok);
void PotenzenErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte);
void QuadrateErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte);
void KubenErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte);
