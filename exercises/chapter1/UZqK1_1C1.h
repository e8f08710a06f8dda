#pragma once
// Fifteen fixed number walls: every brick holds the sum of the two below it.
// Walls with many solutions are checked through a term that vanishes for every
// value of its helper letters exactly when the wall's rules hold.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TZahlenmauerZustand {
    int Index = 0; // 1 .. 15, 0 before the first wall
    int Level = 1;
};
extern TZahlenmauerZustand ZqK1_1C1;

// The answer term and the expected text of a wall, from line 0 of the nine
// bricks (R[1] .. R[9]; R[0] is unused). Empty for the example wall.
struct TMauerTerm {
    QString Term;
    QString Erwartet;
};
TMauerTerm MauerTerm(int Wand, const QString (&R)[10]);

class TZqK1_1C1 : public TAufgabeg {
public:
    explicit TZqK1_1C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_1C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* Level1 = nullptr;
    TTabSheet* Level2 = nullptr;
    TImage* Image1 = nullptr;
    TRichEdit* Stein[10] = {}; // RichEdit1 .. RichEdit9
    TLabel* LabelP1 = nullptr;
    TLabel* LabelP2 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TPanel* Panel1 = nullptr;
    TPageControl* PageControl2 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TLabel* Label6 = nullptr;
    TPanel* Panel2 = nullptr;
    TPanel* Panel3 = nullptr;

private:
    void MauerBauen();
    void Zeichnen();
};
