#pragma once
// Reading an analog clock: the shown time is written down twice, once before
// and once after noon, and each reading is checked by itself.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TUhrzeitWert {
    int32_t Stunde = 0, Minute = 0, Sekunde = 0;
};

struct TUhrAblesenZustand {
    TUhrzeitWert VorMittag;  // hours 0 .. 11
    TUhrzeitWert NachMittag; // hours 12 .. 23
};
extern TUhrAblesenZustand ZqK2_1A2;

class TZqK2_1A2 : public TAufgabeg {
public:
    explicit TZqK2_1A2(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_1A2"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void ChecksClick(TObject* Sender);
    // Checks the group of the sender (a box or a check button).
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);

    // Sets the time and draws the clock and both digital displays.
    void ZeitZeigen(int Stunde, int Minute, int Sekunde);

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TCheckBox* Checks = nullptr;
    TPanel* Panel1 = nullptr;
    TRichEdit *RichEdit1 = nullptr, *RichEdit2 = nullptr, *RichEdit3 = nullptr;
    TRichEdit *RichEdit4 = nullptr, *RichEdit5 = nullptr, *RichEdit6 = nullptr;
    TBitBtn *BitBtnP1 = nullptr, *BitBtnErgebnis = nullptr, *BitBtnP2 = nullptr, *BitBtn3 = nullptr;
    TLabel *LabelP1 = nullptr, *LabelP2 = nullptr;
    TImage *Image2 = nullptr, *Image3 = nullptr;
    TLabel *Label10 = nullptr, *Label21 = nullptr;
    // The "00" and "59" of the seconds range, before and after noon.
    TLabel* SekundenBereich[4] = {};

private:
    struct TGruppe {
        TRichEdit* Box[3];
        TBitBtn* Pruefen;
        TLabel* Urteil;
        TBitBtn* Loesung;
        TImage* Anzeige;
        const TUhrzeitWert* Zeit;
    };
    TGruppe Gruppe(int n) const;
    void UhrzeitPruefen(const TGruppe& G);
    void Gruppenzeilen(int Oben, int n);
};
