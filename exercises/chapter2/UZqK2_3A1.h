#pragma once
// Filling a basin with measuring cups of 1 l, 1 dl, 1 cl and 1 ml, with as
// few cups as possible.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>

struct TBeckenZustand {
    int32_t Aufgabe = 0;  // tasks since activation
    int32_t Groesse = 0;  // capacity in ml
    int Einheit = 1;      // display unit: 1 ml, 2 cl, 3 dl, 4 l
    int32_t Fuellung = 0; // ml
    int32_t Becher = 0;   // cups since the last emptying
    int Liter = 0, Deziliter = 0, Centiliter = 0, Milliliter = 0;
    int32_t WenigsteBecher = 0;
    std::array<TPoint, 4> Mitte{}; // click centres: 1 ml, 1 cl, 1 dl, 1 l
};
extern TBeckenZustand ZqK2_3A1;

// The capacity in the display unit and the unit's text.
double MengeInEinheit(int32_t Milliliter, int Einheit);
QString EinheitText(int Einheit);
// The capacity's digits into the state, and the fewest cups.
void ZiffernZerlegen(TBeckenZustand& z);
// Edge factor of the basin's width: 2 up to 4000 ml, then 3, 4 and 5.
int Tiefenfaktor(int32_t Groesse);

class TZqK2_3A1 : public TAufgabeg {
public:
    explicit TZqK2_3A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_3A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BitBtn3Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BeckenWaehlen();
    void BecherZeichnen();
    void BeckenZeichnen();
    void BeckenLeeren(bool NeuesBecken);

    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel* LabelP1 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label7 = nullptr;
    TBitBtn* BitBtnHilfe = nullptr;
    TPanel* Panel3 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TLabel* Label14 = nullptr;
    TLabel* Label15 = nullptr;
};
