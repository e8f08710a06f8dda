#include "exercises/chapter3/UZqK3_2C1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "platform/Runtime.h"

TNetzZustand ZqK3_2C1;

namespace {

constexpr int Zelle = 30;

const TColor FarbenWeiss[6] = {RGB(225, 0, 0),   RGB(0, 100, 255), RGB(150, 125, 0),
                               RGB(255, 125, 0), RGB(0, 120, 0),   RGB(200, 0, 200)};
const TColor FarbenSchwarz[6] = {RGB(255, 0, 0),   RGB(0, 200, 255), RGB(255, 200, 0),
                                 RGB(255, 255, 0), RGB(0, 200, 0),   RGB(200, 0, 200)};

// Top-left corner of the net on the picture: cuboid, cube.
const TPoint Ecke[11][2] = {{},
                            {{30, 60}, {30, 90}},
                            {{30, 60}, {30, 90}},
                            {{30, 60}, {30, 30}},
                            {{30, 30}, {30, 90}},
                            {{30, 90}, {30, 30}},
                            {{90, 60}, {90, 60}},
                            {{30, 120}, {30, 120}},
                            {{30, 60}, {30, 90}},
                            {{30, 120}, {30, 90}},
                            {{120, 90}, {120, 90}}};

// The two faces one of which may be taken away from nets 1 .. 5.
const int Wegnahme[6][2] = {{0, 0}, {1, 6}, {5, 6}, {1, 4}, {5, 4}, {5, 4}};

void RechteckFuellen(TImage* Bild, TPoint P1, TPoint P2, TPoint P3, TPoint P4, TColor Farbe) {
    TCanvas* c = Bild->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Farbe);
    c->Polygon({P1, P2, P3, P4});
}

void FlaecheFuellen(TImage* Bild, TPoint Ecke, const TNetzFlaeche& f, TColor Farbe) {
    const int x1 = Ecke.x + f.x * Zelle, y1 = Ecke.y + f.y * Zelle;
    const int x2 = x1 + f.w * Zelle, y2 = y1 + f.h * Zelle;
    RechteckFuellen(Bild, TPoint{x1, y1}, TPoint{x2, y1}, TPoint{x2, y2}, TPoint{x1, y2}, Farbe);
}

} // namespace

std::array<TNetzFlaeche, 6> NetzFlaechen(int Netz, int a, int b, int c) {
    switch (Netz) {
    case 1:
        return {{{0, c, c, b},
                 {c, c, a, b},
                 {c, c + b, a, c},
                 {c, 0, a, c},
                 {c + a, c, c, b},
                 {2 * c + a, c, a, b}}};
    case 2:
        return {{{0, c, a, b},
                 {a, c, c, b},
                 {a + c, c, a, b},
                 {a + c, c + b, a, c},
                 {a + c, 0, a, c},
                 {2 * a + c, c, c, b}}};
    case 3:
        return {{{0, c, c, b},
                 {c, c, a, b},
                 {c, c + b, a, c},
                 {c, 0, a, c},
                 {c + a, c, c, b},
                 {c, 2 * c + b, a, b}}};
    case 4:
        return {{{0, a, a, b},
                 {a, a, c, b},
                 {a + c, a, a, b},
                 {2 * a + c, a + b, c, a},
                 {2 * a + c, 0, c, a},
                 {2 * a + c, a, c, b}}};
    case 5:
        return {{{0, 0, c, b},
                 {c, 0, a, b},
                 {c, b, a, c},
                 {c, 2 * b + c, a, c},
                 {c + a, 0, c, b},
                 {c, b + c, a, b}}};
    case 6: // cube only
        return {{{0, 9, 3, 3}, {0, 6, 3, 3}, {0, 3, 3, 3}, {0, 0, 3, 3}, {3, 6, 3, 3}, {6, 6, 3, 3}}};
    case 7:
        return {{{0, 0, a, c},
                 {a, 0, b, c},
                 {a + b, 0, a, c},
                 {2 * a + b, 0, b, c},
                 {a, c, b, a},
                 {2 * a + b, c, b, a}}};
    case 8:
        return {{{0, a, a, c},
                 {a, a, b, c},
                 {a + b, a, a, c},
                 {2 * a + b, a, b, c},
                 {a, 0, b, a},
                 {2 * a + b, a + c, b, a}}};
    case 9:
        return {{{0, b, a, c},
                 {a, b, b, c},
                 {a + b, b, a, c},
                 {2 * a + b, b, b, c},
                 {0, 0, a, b},
                 {2 * a + b, b + c, b, a}}};
    case 10: // cube only
        return {{{0, 0, 3, 3}, {3, 0, 3, 3}, {6, 0, 3, 3}, {9, 0, 3, 3}, {9, 6, 3, 3}, {9, 3, 3, 3}}};
    default:
        return {};
    }
}

bool NetzFaltbar(int Netz) {
    // Nets 8 and 9 are a ring of four faces with one cap on each side: they fold.
    return (Netz >= 1 && Netz <= 5) || Netz == 8 || Netz == 9;
}

TZqK3_2C1::TZqK3_2C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_2C1"));
    SetCaption(QStringLiteral("Abschnitt 3.2   Übung 3"));
    Label1 = Titel(this, QStringLiteral("Ergibt sich durch Falten ein geschlossener Quader oder Würfel ?"));
    Image1 = Zeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 24, 600, 450);
    BitBtn3 = Knopf(this, nullptr, QStringLiteral("BitBtn3"), QStringLiteral("Ja"), 150, 486, 120, 40, -19);
    BitBtn4 = Knopf(this, nullptr, QStringLiteral("BitBtn4"), QStringLiteral("Nein"), 330, 486, 120, 40, -19);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 612, 24, 170, 130, clBlue);
    Panel1->Font()->SetColor(clYellow);
    Beschriftung(this, Panel1, QStringLiteral("Label2"), QStringLiteral("Aufgaben:"), 10, 10,
                 QStringLiteral("Tahoma"), -16, clYellow, true);
    Label3 = Beschriftung(this, Panel1, QStringLiteral("Label3"), QStringLiteral("0"), 110, 10,
                          QStringLiteral("Tahoma"), -16, clYellow, true);
    TLabel* l4 = Beschriftung(this, Panel1, QStringLiteral("Label4"), QStringLiteral("richtig :"), 10, 50,
                              QStringLiteral("Tahoma"), -16, clLime, true);
    TLabel* l5 = Beschriftung(this, Panel1, QStringLiteral("Label5"), QStringLiteral("falsch :"), 10, 90,
                              QStringLiteral("Tahoma"), -16, clRed, true);
    for (TLabel* l : {l4, l5}) {
        l->SetTransparent(false);
        l->SetColor(clBlack);
    }
    auto Zaehler = [this](const QString& Name, int y, TColor Farbe) {
        auto* t = new TStaticText(this);
        t->SetName(Name);
        t->SetParent(Panel1);
        t->SetParentFont(false);
        t->Font()->SetName(QStringLiteral("Tahoma"));
        t->Font()->SetHeight(-16);
        t->Font()->SetStyle(fsBold);
        t->Font()->SetColor(Farbe);
        t->SetColor(clBlack);
        t->SetBounds(110, y, 50, 24);
        t->SetCaption(QStringLiteral("0"));
        return t;
    };
    StaticText1 = Zaehler(QStringLiteral("StaticText1"), 50, clLime);
    StaticText2 = Zaehler(QStringLiteral("StaticText2"), 90, clRed);

    HGweiss = new TCheckBox(this);
    HGweiss->SetName(QStringLiteral("HGweiss"));
    HGweiss->SetParent(B_ScrollBox);
    HGweiss->SetBounds(612, 170, 170, 24);
    HGweiss->SetCaption(QStringLiteral("weißer Hintergrund"));
    HGweiss->SetChecked(true);
    // Bound after the start state, so that ticking it there starts nothing.
    HGweiss->OnClick = [this](TObject* s) { HGweissClick(s); };
}

void TZqK3_2C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK3_2C1 = TNetzZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK3_2C1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    TNetzZustand& Z = ZqK3_2C1;
    BitBtn3->Font()->SetColor(clBlack);
    BitBtn4->Font()->SetColor(clBlack);
    Z.Faltbar = true;
    NaechstesNetz();
    NetzZeichnen();
    ZaehlerZeigen();
    Z.ErsteAntwort = true;
}

// The nets come round in their order; each one shown counts as a task.
void TZqK3_2C1::NaechstesNetz() {
    TNetzZustand& Z = ZqK3_2C1;
    Z.Netz = Z.Netz >= 10 || Z.Netz < 1 ? 1 : Z.Netz + 1;
    ++Z.Aufgaben;
}

void TZqK3_2C1::NetzZeichnen() {
    TNetzZustand& Z = ZqK3_2C1;
    const bool Weiss = HGweiss->Checked();
    const TColor Hintergrund = Weiss ? RGB(255, 255, 255) : RGB(0, 0, 0);
    BildFuellen(GetRValue(Hintergrund), GetGValue(Hintergrund), GetBValue(Hintergrund), Image1);
    const bool NurWuerfel = Z.Netz == 6 || Z.Netz == 10;
    Z.Quader = !NurWuerfel && Zufallsentscheidung(0.5);
    const auto F = Z.Quader ? NetzFlaechen(Z.Netz, 5, 3, 2) : NetzFlaechen(Z.Netz, 3, 3, 3);
    const TPoint E = Ecke[Z.Netz][Z.Quader ? 0 : 1];
    for (int i = 0; i < 6; ++i)
        FlaecheFuellen(Image1, E, F[i], (Weiss ? FarbenWeiss : FarbenSchwarz)[i]);
    Z.Weggenommen = 0;
    if (Z.Netz <= 5) {
        if (Zufallsentscheidung(0.5)) {
            Z.Faltbar = false;
            Z.Weggenommen = Wegnahme[Z.Netz][Zufallsentscheidung(0.5) ? 0 : 1];
            FlaecheFuellen(Image1, E, F[Z.Weggenommen - 1], Hintergrund);
        }
    } else {
        Z.Faltbar = NetzFaltbar(Z.Netz);
    }
    GitterZeichnen(0, BildHoehe(Image1), 0, Image1, 128, 128, 128, Zelle, Zelle, 0);
}

void TZqK3_2C1::ZaehlerZeigen() {
    Label3->SetCaption(QString::number(ZqK3_2C1.Aufgaben));
    StaticText1->SetCaption(QString::number(ZqK3_2C1.Richtig));
    StaticText2->SetCaption(QString::number(ZqK3_2C1.Falsch));
}

void TZqK3_2C1::Antworten(TBitBtn* Knopf, bool Ja) {
    TNetzZustand& Z = ZqK3_2C1;
    const bool Richtig = Ja == Z.Faltbar;
    Knopf->Font()->SetColor(Richtig ? RGB(0, 255, 0) : RGB(255, 0, 0));
    if (Z.ErsteAntwort) {
        if (Richtig)
            ++Z.Richtig;
        else
            ++Z.Falsch;
    }
    Z.ErsteAntwort = false;
    ZaehlerZeigen();
}

void TZqK3_2C1::BitBtn3Click(TObject*) {
    Antworten(BitBtn3, true);
}

void TZqK3_2C1::BitBtn4Click(TObject*) {
    Antworten(BitBtn4, false);
}

void TZqK3_2C1::HGweissClick(TObject*) {
    NeueAufgabe();
}
