#pragma once
// The balance with an unknown weight piece on the left pan: the pupil balances
// it and types its mass.
#include "exercises/chapter2/UZqK2_4A1.h"

struct TUnbekannteMasseZustand {
    std::array<bool, GewichtAnzahl> AufSchale{};
    double Winkel = 0;
    int Zielmasse = 0;
    bool Geloest = false;
};
extern TUnbekannteMasseZustand ZqK2_4A2;

// The sum of a random subset of the set (5 g first, 500 g last); 500 when the
// subset is empty.
int UnbekannteMasseWaehlen();
// Label size of the unknown piece for its mass.
int UnbekannteSchriftgroesse(int Masse);

class TZqK2_4A2 : public TAufgabeg {
public:
    explicit TZqK2_4A2(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_4A2"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn2Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void MassePruefen();
    void WaageZeichnen();

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TImage* Image9 = nullptr;
    TStaticText* Label4 = nullptr;
    TRichEdit* RichEdit1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TLabel* LabelP1 = nullptr;
    TTimer* Timer1 = nullptr;
    std::array<TBitBtn*, GewichtAnzahl> Knoepfe{};
    std::array<TImage*, GewichtAnzahl> Gewichtbilder{};
};
