#pragma once
// Written multiplication by a two-digit number: two partial products, the
// first shifted one place, a carry row and their sum.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TZweistelligZustand {
    int a = 0, b = 0, bz = 0, be = 0;
    int q1 = 0, q2 = 0, Produkt = 0;
    int c1 = 0, c2 = 0, c3 = 0;
};
extern TZweistelligZustand ZqK1_3F1;

// Partial products, product and the carries of q1 · 10 + q2.
void ZweistelligRechnen(TZweistelligZustand& Z);

class TZqK1_3F1 : public TAufgabeg {
public:
    explicit TZqK1_3F1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3F1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void AufgabeZeigen();
    // A new task with the given numbers instead of drawn ones.
    void AufgabeMit(int a, int b);
    void Pruefen();
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtn7Click(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel5 = nullptr, *Panel6 = nullptr;
    TRichEdit* ED[14] = {};      // 1..4 q1, 5..8 q2, 9..13 product, each ones upwards
    TRichEdit* EDU[4] = {};      // 1..3
    TBitBtn* HilfeKnopf[4] = {}; // BitBtnHilfe, BitBtn5, BitBtn6
    TPanel* HilfePanel[4] = {};  // Panel14, Panel15, Panel16
    TBitBtn* Ergebnis[4] = {};   // BitBtnErgebnis, BitBtn3, BitBtn4
    TLabel* Label12 = nullptr;
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TBitBtn* BitBtn7 = nullptr;

private:
    int m_a = -1, m_b = -1;
};
