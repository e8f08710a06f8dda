#pragma once
// Turning a cube or cuboid and unfolding it into its net: a demonstration
// without questions, driven by held buttons and an endless fold simulation.
#include "drawing/URender.h"
#include "exercises/chapter1/UAufgabenmuster.h"

struct TDrehZustand {
    double Faltwinkel = 0; // 0 the flat net, 90 the closed solid
    tFarbfeld Flaechenfarben = tFarbfeld(6);
    tAnsicht Ansicht;
    tMatrix Schritt[6] = {}; // Rx(-1°), Rx(+1°), Ry(-1°), Ry(+1°), Rz(-1°), Rz(+1°)
    bool Haltestopp = true;
};
extern TDrehZustand ZqK3_2B1;

class TZqK3_2B1 : public TAufgabeg {
public:
    explicit TZqK3_2B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_2B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnxmMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtnxmMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtnwmMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtnwpMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void HGweissClick(TObject* Sender);
    void ProgrammEndeClick(TObject* Sender);

    TImage* Image1 = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* BitBtnwm = nullptr;
    TBitBtn* BitBtnwp = nullptr;
    TBitBtn* Drehknopf[6] = {}; // BitBtnxm, BitBtnxp, BitBtnym, BitBtnyp, BitBtnzm, BitBtnzp
    TBitBtn* BitBtn2 = nullptr; // "Start"
    TBitBtn* BitBtn3 = nullptr; // "Stopp"
    TCheckBox* HGweiss = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;

private:
    void ModellZeichnen();
    void UebergangsTexte();
};
