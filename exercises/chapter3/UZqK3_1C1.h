#pragma once
// Is the figure axially symmetric, and how many axes has it? Nine fixed
// figures in a cycle; each found axis can be drawn into the figure.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "drawing/UZeichnen2.h"

#include <vector>

struct TAchsenZustand {
    int Figur = 0;          // 1..9, 0 after activation
    bool Symmetrisch = false;
    int Achsenanzahl = 0;
    int Achse = 0;          // the axis drawn, 0 = none
};
extern TAchsenZustand ZqK3_1C1;

class TZqK3_1C1 : public TAufgabeg {
public:
    explicit TZqK3_1C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_1C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void AchseClick(int k);
    void HGweissClick(TObject* Sender);
    void FigurAnzeigen();
    void AnzahlPruefen();

    // Pixel of a plane point: (200 + 20 x, 200 - 20 y), rounded.
    static TPoint Bildpunkt(TRealPunkt p);

    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TRichEdit* RichEdit1 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TLabel* Label4 = nullptr;
    TPanel* Panel2 = nullptr;
    TBitBtn* BitBtnAchse[6] = {};
    TCheckBox* HGweiss = nullptr;

private:
    void FigurFuellen(const std::vector<TRealPunkt>& Ecken, TColor Farbe);
    void AchseZeichnen(TRealPunkt A, TRealPunkt B);
};
