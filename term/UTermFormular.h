#pragma once
// The entry points the forms call with their own controls: the answer check and
// verdict display on a TLabel, and the key filter of an answer box.
#include "UTerm.h"

#include <QString>

class TLabel;
class TRichEdit;

// Check of a box's text (Unicode, as the box holds it) against the solution;
// the verdict goes into the label's caption and font colour.
void ErgebnisPruefen1(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag);
void ErgebnisPruefen2(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag);
void ErgebnisPruefen3(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag);
void ErgebnisAnzeigen1(TLabel* Label, int Code);
void ErgebnisAnzeigen2(TLabel* Label, int Code);
void ErgebnisAnzeigen3(TLabel* Label, int Code);

// OnKeyPress of an answer box: maps or drops the key and reports Enter (the
// box itself is not changed).
void TasteFiltern1(char16_t& Key, bool& Enter, TRichEdit* Box);
void TasteFiltern2(char16_t& Key, bool& Enter, TRichEdit* Box);
void TasteFiltern3(char16_t& Key, bool& Enter, TRichEdit* Box);

// OnChange of an answer box: line 0 rebuilt in display form (normalised,
// function names in blue, Symbol glyphs), the caret kept; further lines go.
void EingabeFormatieren2(TRichEdit* Box);
void EingabeFormatieren3(TRichEdit* Box);
// The same with decimal commas.
void EingabeFormatierenKomma1(TRichEdit* Box);
void EingabeFormatierenKomma2(TRichEdit* Box);

double TermWert2(const QString& Term, const QString& Text);
double TermWert3(const QString& Term, const QString& Text);
double TermWertGueltig1(const QString& Term, const QString& Text, bool& Gueltig);
