#pragma once
// Three products that belong together: y · x, y0 · x and y00 · x, each row
// answered and checked by itself.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TMalZehnZustand {
    int x = 0, y = 0;
    int p1 = 0, p2 = 0, p3 = 0;
};
extern TMalZehnZustand ZqK1_3C1;

class TZqK1_3C1 : public TAufgabeg {
public:
    explicit TZqK1_3C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    // Checks the row of the sender only.
    void Pruefen(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);

    // Sets the factors and shows them; NeueAufgabe draws them.
    void AufgabeZeigen(int x, int y);

    TLabel* Label1 = nullptr;
    TAntwortPaar Paar[4]; // rows 1 .. 3
    // Panels of the first factor, row by row, and of the second.
    TPanel *Panel1 = nullptr, *Panel5 = nullptr, *Panel7 = nullptr;
    TPanel *Panel3 = nullptr, *Panel11 = nullptr, *Panel14 = nullptr;
};
