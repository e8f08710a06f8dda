#include "exercises/chapter3/UZqK3_2B1.h"

#include "drawing/UNetzbau.h"
#include "drawing/UZeichnen1.h"

#include <cmath>
#include <numbers>

TDrehZustand ZqK3_2B1;

namespace {

const TColor FarbenWeiss[6] = {RGB(255, 125, 0), RGB(0, 130, 0), RGB(0, 135, 255),
                               RGB(225, 0, 0),   RGB(0, 0, 255), RGB(150, 100, 0)};
const TColor FarbenSchwarz[6] = {RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 200, 255),
                                 RGB(255, 0, 0),   RGB(0, 0, 255), RGB(200, 100, 50)};

constexpr double Grad = std::numbers::pi / 180;

TLabel* Zeile(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Text, int y) {
    return Muster::Beschriftung(Form, Parent, Name, Text, 12, y, QStringLiteral("Tahoma"), -16);
}

} // namespace

TZqK3_2B1::TZqK3_2B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_2B1"));
    SetCaption(QStringLiteral("Abschnitt 3.2   Übung 2"));
    // The solid is rendered anew for the picture's size, scaled or not.
    Image1 = Neuzeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 0, 530, 530);
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 536, 0, 248, 530, RGB(210, 242, 222));

    Zeile(this, Panel1, QStringLiteral("Label2"), QStringLiteral("Übergänge"), 8);
    BitBtnwm = Knopf(this, Panel1, QStringLiteral("BitBtnwm"), QStringLiteral("Vom Würfel zum Netz"), 12, 32,
                     224, 32);
    Zeile(this, Panel1, QStringLiteral("Label4"), QStringLiteral("Maustaste gedrückt halten."), 68);
    BitBtnwp = Knopf(this, Panel1, QStringLiteral("BitBtnwp"), QStringLiteral("Vom Netz zum Würfel"), 12, 92,
                     224, 32);
    BitBtnwm->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        BitBtnwmMouseDown(s, b, sh, x, y);
    };
    BitBtnwp->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        BitBtnwpMouseDown(s, b, sh, x, y);
    };

    Zeile(this, Panel1, QStringLiteral("Label1"), QStringLiteral("Modell drehen"), 140);
    const char* Namen[6] = {"BitBtnxm", "BitBtnxp", "BitBtnym", "BitBtnyp", "BitBtnzm", "BitBtnzp"};
    for (int i = 0; i < 6; ++i) {
        const bool Plus = i % 2 == 1;
        TBitBtn* k = Knopf(this, Panel1, QString::fromLatin1(Namen[i]),
                           Plus ? QStringLiteral("+") : QStringLiteral("-"), 12 + 78 * (i / 2),
                           Plus ? 214 : 166, 70, 44, -32);
        k->Font()->SetName(QStringLiteral("Symbol"));
        k->Font()->SetColor(Plus ? clRed : clWindowText);
        Drehknopf[i] = k;
        k->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtnxmMouseDown(s, b, sh, x, y);
        };
    }
    for (TBitBtn* k : {BitBtnwm, BitBtnwp, Drehknopf[0], Drehknopf[1], Drehknopf[2], Drehknopf[3],
                       Drehknopf[4], Drehknopf[5]})
        k->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtnxmMouseUp(s, b, sh, x, y);
        };

    Zeile(this, Panel1, QStringLiteral("Label3"), QStringLiteral("Simulation"), 276);
    BitBtn2 = Knopf(this, Panel1, QStringLiteral("BitBtn2"), QStringLiteral("Start"), 12, 302, 108, 32);
    BitBtn3 = Knopf(this, Panel1, QStringLiteral("BitBtn3"), QStringLiteral("Stopp"), 128, 302, 108, 32);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };

    HGweiss = new TCheckBox(this);
    HGweiss->SetName(QStringLiteral("HGweiss"));
    HGweiss->SetParent(Panel1);
    HGweiss->SetBounds(12, 352, 224, 24);
    HGweiss->SetCaption(QStringLiteral("weißer Hintergrund"));
    HGweiss->SetChecked(true);

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->SetName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetParent(Panel1);
    RadioGroup1->SetBounds(12, 388, 224, 56);
    RadioGroup1->SetColumns(2);
    RadioGroup1->Items()->Add(QStringLiteral("Würfel"));
    RadioGroup1->Items()->Add(QStringLiteral("Quader"));
    RadioGroup1->SetItemIndex(0);
    // Bound after the start state, so that setting it starts nothing.
    HGweiss->OnClick = [this](TObject* s) { HGweissClick(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    ProgrammEnde->OnClick = [this](TObject* s) { ProgrammEndeClick(s); };
}

void TZqK3_2B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_NeueAufgabe->SetCaption(QStringLiteral("Reset"));
    TAufgabeg::FormActivate(Sender);
    TDrehZustand& Z = ZqK3_2B1;
    for (int a = 0; a < 3; ++a)
        for (int v = 0; v < 2; ++v) {
            const double w = (v == 0 ? -1 : 1) * Grad;
            Z.Schritt[2 * a + v] = a == 0 ? DrehmatrixX1(w) : a == 1 ? DrehmatrixY1(w) : DrehmatrixZ1(w);
        }
    NeueAufgabe();
}

void TZqK3_2B1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    TDrehZustand& Z = ZqK3_2B1;
    Z.Haltestopp = true;
    Warten1(10, this);
    BitBtn3->SetEnabled(false);
    BitBtn2->SetEnabled(true);
    const TColor* Farben = HGweiss->Checked() ? FarbenWeiss : FarbenSchwarz;
    Z.Flaechenfarben.assign(Farben, Farben + 6);
    Z.Ansicht = tAnsicht{};
    Z.Ansicht.Bild = Image1;
    Z.Faltwinkel = 0;
    ModellZeichnen();
    UebergangsTexte();
    Warten1(10, this);
}

void TZqK3_2B1::ModellZeichnen() {
    const TDrehZustand& Z = ZqK3_2B1;
    const bool Weiss = HGweiss->Checked();
    if (Weiss)
        BildFuellen(255, 255, 255, Image1);
    else
        BildFuellen(0, 0, 0, Image1);
    if (RadioGroup1->ItemIndex() == 1) {
        if (Weiss)
            QuadernetzZeichnenWeiss1(Z.Flaechenfarben, true, true, 2, 4, 6, Z.Faltwinkel, true, Z.Ansicht);
        else
            QuadernetzZeichnen1(Z.Flaechenfarben, true, true, 2, 4, 6, Z.Faltwinkel, true, Z.Ansicht);
    } else if (Weiss) {
        WuerfelnetzZeichnenWeiss1(Z.Flaechenfarben, true, true, 3.6, Z.Faltwinkel, true, Z.Ansicht);
    } else {
        WuerfelnetzZeichnen1(Z.Flaechenfarben, true, true, 3.6, Z.Faltwinkel, true, Z.Ansicht);
    }
}

void TZqK3_2B1::UebergangsTexte() {
    const bool Quader = RadioGroup1->ItemIndex() == 1;
    BitBtnwm->SetCaption(Quader ? QStringLiteral("Vom Quader zum Netz")
                                : QStringLiteral("Vom Würfel zum Netz"));
    BitBtnwp->SetCaption(Quader ? QStringLiteral("Vom Netz zum Quader")
                                : QStringLiteral("Vom Netz zum Würfel"));
}

void TZqK3_2B1::BitBtnxmMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    TDrehZustand& Z = ZqK3_2B1;
    int i = 0;
    while (i < 6 && Sender != Drehknopf[i])
        ++i;
    if (i == 6) return;
    Z.Haltestopp = false;
    const tMatrix Schritt = Z.Schritt[i];
    do {
        Z.Ansicht.Drehung = MatrixProdukt1(Z.Ansicht.Drehung, Schritt);
        ModellZeichnen();
        // A closed form ends the loop as well.
        if (!Warten1(10, this)) return;
    } while (!Z.Haltestopp);
}

void TZqK3_2B1::BitBtnxmMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ZqK3_2B1.Haltestopp = true;
    BitBtn3->SetEnabled(false);
    BitBtn2->SetEnabled(true);
}

void TZqK3_2B1::BitBtnwmMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    TDrehZustand& Z = ZqK3_2B1;
    Z.Haltestopp = false;
    if (Z.Faltwinkel <= 0) return;
    do {
        Z.Faltwinkel -= 1;
        if (Z.Faltwinkel <= 0) {
            Z.Faltwinkel = 0;
            Z.Haltestopp = true;
        }
        ModellZeichnen();
        if (!Warten1(10, this)) return;
    } while (!Z.Haltestopp);
}

void TZqK3_2B1::BitBtnwpMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    TDrehZustand& Z = ZqK3_2B1;
    Z.Haltestopp = false;
    if (Z.Faltwinkel >= 90) return;
    do {
        Z.Faltwinkel += 1;
        if (Z.Faltwinkel >= 90) {
            Z.Faltwinkel = 90;
            Z.Haltestopp = true;
        }
        ModellZeichnen();
        if (!Warten1(10, this)) return;
    } while (!Z.Haltestopp);
}

void TZqK3_2B1::BitBtn2Click(TObject*) {
    TDrehZustand& Z = ZqK3_2B1;
    BitBtn3->SetEnabled(true);
    BitBtn2->SetEnabled(false);
    Z.Ansicht.Drehung = MatrixProdukt1(EinheitsMatrix1(), DrehmatrixX1(20 * Grad));
    Z.Faltwinkel = 0;
    double Schritt = 1;
    Z.Haltestopp = false;
    do {
        Z.Faltwinkel += Schritt;
        if (Z.Faltwinkel > 90) {
            Z.Faltwinkel = 90;
            Schritt = -1;
        }
        if (Z.Faltwinkel < 0) {
            Z.Faltwinkel = 0;
            Schritt = 1;
        }
        Z.Ansicht.Drehung = MatrixProdukt1(Z.Ansicht.Drehung, Z.Schritt[3]);
        ModellZeichnen();
        if (!Warten1(20, this)) return;
    } while (!Z.Haltestopp);
}

void TZqK3_2B1::BitBtn3Click(TObject*) {
    ZqK3_2B1.Haltestopp = true;
    BitBtn3->SetEnabled(false);
    BitBtn2->SetEnabled(true);
}

void TZqK3_2B1::RadioGroup1Click(TObject*) {
    ModellZeichnen();
    UebergangsTexte();
}

void TZqK3_2B1::HGweissClick(TObject*) {
    NeueAufgabe();
}

void TZqK3_2B1::ProgrammEndeClick(TObject* Sender) {
    ZqK3_2B1.Haltestopp = true;
    TAufgabeg::ProgrammEndeClick(Sender);
}
