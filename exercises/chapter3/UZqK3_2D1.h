#pragma once
// Colouring a flat cube net so that it folds into the coloured cube shown beside
// it; "prüfen" folds the net and compares the colour order with every position
// of the target cube.
#include "drawing/URender.h"
#include "exercises/chapter1/UAufgabenmuster.h"

#include <QString>

struct TZielflaeche {
    int Ziffer = 0;    // die digit of the face
    int Malnummer = 0; // paint number of its colour
};

struct TFaerbZustand {
    int Netzart = 1;
    tFarbfeld Malfarben = tFarbfeld(6);
    tFarbfeld Zielfarben = tFarbfeld(6);
    tFarbfeld Netzfarben = tFarbfeld(6, RGB(255, 255, 255));
    int Malnummer[6] = {-1, -1, -1, -1, -1, -1};
    TZielflaeche Zielflaechen[6] = {{4, 0}, {2, 0}, {1, 0}, {6, 0}, {5, 0}, {3, 0}};
    double Faltwinkel = 0;
    double Zielfaltwinkel = 90;
    tAnsicht Wuerfelansicht;
    tAnsicht Netzansicht;
    tPunktefeld Netzecken;
    bool Haltestopp = true;
    bool ErsteAufgabe = true;
    // Counts the tasks made; a fold that outlives its task writes no verdict.
    int Aufgabenlauf = 0;
    tMatrix Schritt[6] = {}; // Rx(-1°), Rx(+1°), Ry(-1°), Ry(+1°), Rz(-1°), Rz(+1°)
    // Mouse drags on the cube (0) and the net (1).
    bool Ziehen[2] = {false, false};
    int X0[2] = {0, 0}, Y0[2] = {0, 0};
    tMatrix Gemerkt[2] = {};
};
extern TFaerbZustand ZqK3_2D1;

// Die digit of the target face painted in the colour of net square 1..6; 0 when
// the square is unpainted.
int FlaechenZiffer(const TFaerbZustand& Z, int Quadrat);
// The die digits of the squares in the layout's square order.
QString FarbfolgeBilden(const TFaerbZustand& Z);
// True when Farbfolge is one of the 24 positions of the target cube for Netzart.
bool FarbfolgeRichtig(int Netzart, const QString& Farbfolge);
// The drag rotation: axis and angle (degrees) of a drag by (X - X0, Y - Y0).
tMatrix ZiehDrehung(int X0, int Y0, int X, int Y, int Breite, int Hoehe, double Faktor);

class TZqK3_2D1 : public TAufgabeg {
public:
    explicit TZqK3_2D1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_2D1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnxmMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtnxmMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtn5MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtn5MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn7Click(TObject* Sender);
    void BitBtn8Click(TObject* Sender);
    void BitBtn13Click(TObject* Sender);
    void PanelFarbe1Click(TObject* Sender);
    void CheckHGClick(TObject* Sender);
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Image1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image2MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Image2MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ProgrammEndeClick(TObject* Sender);

    void ZielwuerfelZeichnen();
    void GittermodellZeichnen();

    TLabel* Label3 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* Netzknopf[6] = {};   // BitBtnxm, BitBtnxp, BitBtnym, BitBtnyp, BitBtnzm, BitBtnzp
    TBitBtn* Wuerfelknopf[6] = {}; // BitBtn5, BitBtn6, BitBtn9, BitBtn10, BitBtn11, BitBtn12
    TBitBtn* BitBtn3 = nullptr;    // "Zum Netz"
    TBitBtn* BitBtn8 = nullptr;    // "Neuer Versuch"
    TLabel* LabelP = nullptr;
    TPanel* Panel5 = nullptr;
    TPanel* Panel2 = nullptr;
    TBitBtn* BitBtn4 = nullptr; // "Reset"
    TPanel* Panel3 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TPanel* PanelFarbe[6] = {};
    TBitBtn* BitBtn7 = nullptr;  // "prüfen"
    TBitBtn* BitBtn13 = nullptr; // "Hilfe"
    TPanel* Panel4 = nullptr;
    TCheckBox* CheckHG = nullptr;

private:
    void Drehen(tAnsicht& Ansicht, const tMatrix& Schritt, bool Netz);
};
