#pragma once
// Written multiplication by a one-digit number, short form: only the product,
// with three help steps (what to write, what to keep in mind).
#include "exercises/chapter1/UAufgabenmuster.h"

struct TKurzformZustand {
    int a = 0, m = 0;
    int h = 0, z = 0, e = 0;
    int Produkt = 0;
};
extern TKurzformZustand ZqK1_3E1;

class TZqK1_3E1 : public TAufgabeg {
public:
    explicit TZqK1_3E1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3E1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void AufgabeZeigen(bool NeueZahlen);
    // A new task with the given numbers instead of drawn ones.
    void AufgabeMit(int a, int m);
    void Pruefen();
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel5 = nullptr;
    TRichEdit* RichEdit[5] = {}; // 1 ones .. 4 thousands
    TBitBtn* HilfeKnopf[4] = {}; // BitBtnHilfe, BitBtn5, BitBtn6
    TPanel* HilfePanel[4] = {};  // Panel14, Panel15, Panel16
    TBitBtn* Ergebnis[4] = {};   // BitBtnErgebnis, BitBtn3, BitBtn4
    TLabel *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr,
           *Label16 = nullptr;
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;

private:
    int m_a = -1, m_m = -1;
};
