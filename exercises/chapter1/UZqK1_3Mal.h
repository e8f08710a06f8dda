#pragma once
// What the written multiplications share: the digit panels of the task, the
// 50 x 50 digit boxes, the check of one digit box and the overall verdict.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <functional>

namespace Malschema {

// A white digit panel (Tahoma, FontPx high).
TPanel* Ziffernfeld(TAufgabeg* Form, const QString& Name, int x, int y, int Seite, int FontPx,
                    const QString& Text = {});
// The task's head shared by the multiplications: the column names over the
// first factor, its hundreds, tens and ones panels, the "·" and the panel of
// the (first digit of the) second factor.
void Faktorkopf(TAufgabeg* Form, TPanel*& Hunderter, TPanel*& Zehner, TPanel*& Einer, TPanel*& Faktor);
// A 50 x 50 box in Tahoma 40 px; Enter in it runs Pruefen.
TRichEdit* Ziffernbox(TAufgabeg* Form, const QString& Name, int x, int y, std::function<void()> Pruefen,
                      int Hoehe = 50);
// A light yellow panel with its own caption or lines.
TPanel* Hilfe(TAufgabeg* Form, const QString& Name, int x, int y, int Breite, int Hoehe);
TLabel* Hilfezeile(TAufgabeg* Form, TPanel* Panel, const QString& Name, int Zeile, const QString& Text = {});

// Digit Stelle (0 ones, 1 tens, ...) of n.
int Ziffer(int n, int Stelle);
// 10 to the power Stelle.
int Stellenwert(int Stelle);

// One box against its digit through the answer check (limit 25). Where an
// empty box is allowed it counts as right and turns white; otherwise green or
// red. True when right.
bool ZifferPruefen(TRichEdit* Box, int Erwartet, TLabel* Meldung, bool LeerErlaubt);
// A new task of the one-digit multiplications: verdict and "prüfen" back to
// black, boxes 1 .. Letzte empty and white, the focus in box 1, and the factors
// a (10 .. 998) and m (2 .. 9), or those the tests gave (then taken once).
void NeueFaktoren(TLabel* LabelP1, TBitBtn* BitBtnP1, TRichEdit* const* Boxen, int Letzte, int& a, int& m,
                  int& Vorgabe_a, int& Vorgabe_m);
// The overall verdict in LabelP1 and the colour of "prüfen".
void Urteil(TLabel* LabelP1, TBitBtn* BitBtnP1, bool Alle);

} // namespace Malschema
