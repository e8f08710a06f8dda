#pragma once
// Reading and placing numbers on a number line. The forms to 100 000 and to
// 1 000 000 are one program with a different unit U (7 pixels a unit).
#include "exercises/chapter1/UAufgabenmuster.h"

struct TZahlenstrahlZustand {
    long long T = 0;     // target of the task
    long long P = 0;     // where the placing marker stands
    bool Ablesen = true; // reading task, else placing task
    bool Offen = false;  // until the first right answer
    int richtig = 0;
    int falsch = 0;
};

// What differs between the two forms.
struct TZahlenstrahlArt {
    long long U;
    const char* Caption;
    const char* Titel;
    const char* Marken[3];
    const char* Schritte[4]; // BitBtnM100, BitBtnM10, BitBtnP10, BitBtnP100
};

class TZahlenstrahlForm : public TAufgabeg {
public:
    TZahlenstrahlForm(TComponent* AOwner, const TZahlenstrahlArt& Art, TZahlenstrahlZustand& Zustand);

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnP1Click(TObject* Sender);
    void BitBtnM10Click(TObject* Sender);
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TLabel* Label2 = nullptr;
    TAntwortPaar Paar1; // RichEdit1, BitBtnP1, LabelP1
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label6 = nullptr;
    TBitBtn* BitBtnM100 = nullptr;
    TBitBtn* BitBtnM10 = nullptr;
    TBitBtn* BitBtnP10 = nullptr;
    TBitBtn* BitBtnP100 = nullptr;
    TLabel* LabelP2 = nullptr;
    TLabel* LabelP3 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TPunkteAnzeige Punkte;

    const TZahlenstrahlZustand& Zustand() const { return Z; }

private:
    void ZahlenstrahlAufgabe();
    void ZahlenstrahlZeichnen();
    void ZahlenstrahlPruefen(TObject* Sender);

    const TZahlenstrahlArt& A;
    TZahlenstrahlZustand& Z;
};

extern TZahlenstrahlZustand ZqK1_1A1;

class TZqK1_1A1 : public TZahlenstrahlForm {
public:
    explicit TZqK1_1A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_1A1"); }
};
