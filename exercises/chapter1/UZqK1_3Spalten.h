#pragma once
// Written addition and subtraction in a place-value scheme: two numbers digit
// by digit, a carry row and the result row; each box is checked at once, the
// "Ergebnis" buttons solve the scheme column by column.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TSpaltenZustand {
    int a = 0, b = 0;
    int r1 = 0, r2 = 0, r3 = 0, r4 = 0; // result digits, ones upwards
    int c1 = 0, c2 = 0, c3 = 0;         // carries (borrows) out of ones, tens, hundreds
};

// Ones, tens, hundreds, thousands of a number below 10 000.
struct TZiffern {
    int e = 0, z = 0, h = 0, t = 0;
};
TZiffern Ziffern(int n);

// Works the columns of a + b (or a - b) from the ones upwards.
void SpaltenRechnen(TSpaltenZustand& Z, bool Subtraktion);

// The digit a pupil writes when he forgets the carry or borrow of a column.
int OhneUebertrag(int Ziffer, bool Subtraktion);

class TSpaltenrechnen : public TAufgabeg {
public:
    TSpaltenrechnen(TComponent* AOwner, bool Subtraktion, TSpaltenZustand& Zustand);

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    // Checks all seven boxes when the sender is one of them or "prüfen".
    void Pruefen(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);

    // Sets the task and everything shown of it; NeueAufgabe draws the numbers.
    void AufgabeZeigen(int a, int b);

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;        // operator
    TPanel* Panel[9] = {};           // 1..4 first number (ones .. thousands), 5..8 second
    TRichEdit* RichEdit[5] = {};     // 1..4 result, ones .. thousands
    TRichEdit* RichEditRest[4] = {}; // 1..3 carries into tens .. thousands
    TLabel* LabelZ[5] = {};
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TBitBtn* BitBtnErgebnis = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn4 = nullptr; // subtraction only
    TShape* Shape1 = nullptr;
    TPanel* Panel9 = nullptr;
    TLabel *Label4 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
    TPanel* Panel10 = nullptr;
    TLabel *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr;
    TLabel* LabelLetzte = nullptr; // Label14 (addition) or Label19 (subtraction)
    // Subtraction only: the check by addition.
    TPanel* Panel11 = nullptr;
    TPanel *PanelA[5] = {}, *PanelB[5] = {}, *PanelC[5] = {};
    TLabel* LU[4] = {};

private:
    void HilfeAddition();
    void HilfeSubtraktion();
    void Tipp();
    bool Leer(TRichEdit* Box) const;

    const bool m_sub;
    TSpaltenZustand& Z;
};
