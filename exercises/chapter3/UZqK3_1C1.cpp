#include "exercises/chapter3/UZqK3_1C1.h"

#include "drawing/UZeichnen1.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

#include <cmath>
#include <utility>

TAchsenZustand ZqK3_1C1;

namespace {

struct TFigurDaten {
    std::vector<TRealPunkt> Ecken;
    bool Symmetrisch = false;
    std::vector<std::pair<TRealPunkt, TRealPunkt>> Achsen;
    TColor Weiss = clBlack;   // colour on the white background
    TColor Schwarz = clWhite; // on the black one
};

TRealPunkt Mittelpunkt(TRealPunkt P, TRealPunkt Q) {
    return {(P.x + Q.x) / 2, (P.y + Q.y) / 2};
}

// Regular polygon of radius 8 with a vertex at the bottom left.
std::vector<TRealPunkt> Regelmaessig(int n) {
    const double Schritt = 2 * M_PI / n;
    std::vector<TRealPunkt> v;
    for (int k = 0; k < n; ++k) {
        const double w = k * Schritt + Schritt / 2 + M_PI / 2 + M_PI;
        v.push_back({8 * std::cos(w), 8 * std::sin(w)});
    }
    return v;
}

TFigurDaten Figur(int Nr) {
    TFigurDaten f;
    switch (Nr) {
    case 1:
        f.Ecken = {{7, 0}, {0, 7}, {-7, 0}, {0, -7}};
        f.Achsen = {{{7, 0}, {-7, 0}}, {{0, 7}, {0, -7}}, {{3.5, 3.5}, {-3.5, -3.5}}, {{-3.5, 3.5}, {3.5, -3.5}}};
        f.Weiss = RGB(0, 100, 255);
        f.Schwarz = RGB(0, 200, 255);
        break;
    case 2:
        f.Ecken = {{0, -7}, {7, 0}, {0, 7}};
        f.Achsen = {{{7, 0}, {0, 0}}};
        f.Weiss = RGB(200, 125, 0);
        f.Schwarz = RGB(255, 200, 0);
        break;
    case 3:
        f.Ecken = {{0, 0}, {7, 0}, {7, 7}, {-7, 7}, {-7, -7}, {0, -7}};
        f.Achsen = {{{0, 0}, {-7, 7}}};
        f.Weiss = RGB(200, 125, 0);
        f.Schwarz = RGB(255, 200, 0);
        break;
    case 4:
        f.Ecken = {{-8, -5}, {7, -5}, {1, 4}};
        f.Weiss = RGB(0, 130, 0);
        f.Schwarz = RGB(0, 200, 0);
        break;
    case 5:
        f.Ecken = {{0, 9}, {-6, 2}, {0, -9}, {6, 2}};
        f.Achsen = {{{0, 9}, {0, -9}}};
        f.Weiss = RGB(200, 0, 230);
        f.Schwarz = RGB(255, 0, 255);
        break;
    case 6:
        f.Ecken = {{0, 9}, {-6, 0}, {0, -9}, {6, 0}};
        f.Achsen = {{{0, 9}, {0, -9}}, {{-6, 0}, {6, 0}}};
        f.Weiss = RGB(200, 0, 230);
        f.Schwarz = RGB(255, 0, 255);
        break;
    case 7: {
        const auto V = Regelmaessig(5);
        f.Ecken = V;
        for (int k = 0; k < 5; ++k)
            f.Achsen.push_back({V[k], Mittelpunkt(V[(k + 2) % 5], V[(k + 3) % 5])});
        f.Weiss = RGB(255, 125, 0);
        f.Schwarz = RGB(255, 255, 0);
        break;
    }
    case 8: {
        const auto V = Regelmaessig(6);
        f.Ecken = V;
        for (int k = 0; k < 3; ++k)
            f.Achsen.push_back({V[k], V[k + 3]});
        for (int k = 0; k < 3; ++k)
            f.Achsen.push_back({Mittelpunkt(V[k], V[k + 1]), Mittelpunkt(V[k + 3], V[(k + 4) % 6])});
        f.Weiss = RGB(225, 0, 0);
        f.Schwarz = RGB(255, 0, 0);
        break;
    }
    default: { // 9
        auto V = Regelmaessig(6);
        V[5].x = -8;
        f.Ecken = V;
        f.Weiss = RGB(100, 100, 100);
        f.Schwarz = RGB(200, 200, 200);
        break;
    }
    }
    f.Symmetrisch = !f.Achsen.empty();
    return f;
}

} // namespace

TZqK3_1C1::TZqK3_1C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_1C1"));
    SetCaption(QStringLiteral("Abschnitt 3.1   Übung 3"));
    Image1 = Bild(this, nullptr, QStringLiteral("Image1"), 0, 0, 400, 400);
    Label1 = Beschriftung(this, nullptr, QStringLiteral("Label1"), QStringLiteral("Ist die Figur achsensymmetrisch ?"),
                          416, 8, QStringLiteral("Tahoma"), -19, clNavy, true);
    BitBtn2 = Knopf(this, nullptr, QStringLiteral("BitBtn2"), QStringLiteral("Ja"), 416, 44, 100, 36);
    BitBtn3 = Knopf(this, nullptr, QStringLiteral("BitBtn3"), QStringLiteral("Nein"), 528, 44, 100, 36);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 416, 96, 356, 252, RGB(210, 242, 222));
    Label2 = Beschriftung(this, Panel1, QStringLiteral("Label2"), QStringLiteral("Wieviele Symmetrieachsen gibt es ?"),
                          8, 8);
    Label3 = Beschriftung(this, Panel1, QStringLiteral("Label3"), QStringLiteral("Anzahl ="), 8, 46);
    RichEdit1 = Antwortbox(this, Panel1, QStringLiteral("RichEdit1"), 96, 40, 96);
    BitBtn4 = Knopf(this, Panel1, QStringLiteral("BitBtn4"), QStringLiteral("prüfen"), 204, 40, 100, 33);
    BoxVerbinden(RichEdit1, 2, [this](TObject*) { AnzahlPruefen(); });
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };
    Label4 = Urteilslabel(this, Panel1, QStringLiteral("Label4"), 8, 84, 340, 24);
    Panel2 = Feld(this, Panel1, QStringLiteral("Panel2"), 8, 120, 340, 124, RGB(210, 242, 222));
    for (int k = 0; k < 6; ++k) {
        BitBtnAchse[k] = Knopf(this, Panel2, QStringLiteral("BitBtnAchse%1").arg(k + 1),
                               QStringLiteral("Achse %1").arg(k + 1), 8 + 112 * (k % 3), 8 + 56 * (k / 3), 100, 40);
        BitBtnAchse[k]->OnClick = [this, k](TObject*) { AchseClick(k + 1); };
    }
    Panel1->SetVisible(false);
    Panel2->SetVisible(false);
    HGweiss = new TCheckBox(this);
    HGweiss->SetName(QStringLiteral("HGweiss"));
    HGweiss->SetParent(B_ScrollBox);
    HGweiss->SetBounds(416, 364, 220, 24);
    HGweiss->SetCaption(QStringLiteral("weißer Hintergrund"));
    HGweiss->SetChecked(true);
    HGweiss->OnClick = [this](TObject* s) { HGweissClick(s); };
}

TPoint TZqK3_1C1::Bildpunkt(TRealPunkt p) {
    return TPoint{static_cast<int>(Round(200 + 20 * p.x)), static_cast<int>(Round(200 - 20 * p.y))};
}

void TZqK3_1C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_NeueAufgabe->SetCaption(QStringLiteral("Neue Figur"));
    TAufgabeg::FormActivate(Sender);
    ZqK3_1C1.Figur = 0;
    NeueAufgabe();
}

void TZqK3_1C1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    TAchsenZustand& Z = ZqK3_1C1;
    Z.Achse = 0;
    Panel1->SetVisible(false);
    Panel2->SetVisible(false);
    BitBtn2->Font()->SetColor(clBlack);
    BitBtn3->Font()->SetColor(clBlack);
    BitBtn4->Font()->SetColor(clBlack);
    RichEdit1->Clear();
    Label4->SetCaption(QString());
    Z.Figur = Z.Figur >= 9 ? 1 : Z.Figur + 1;
    B_BtnAufgabenNr->SetCaption(QString::number(Z.Figur) + QStringLiteral(" / ") + QStringLiteral("9"));
    FigurAnzeigen();
    for (int k = 0; k < 6; ++k)
        BitBtnAchse[k]->SetVisible(k < Z.Achsenanzahl);
}

void TZqK3_1C1::FigurFuellen(const std::vector<TRealPunkt>& Ecken, TColor Farbe) {
    std::vector<TPoint> p;
    for (const TRealPunkt& e : Ecken)
        p.push_back(Bildpunkt(e));
    TCanvas* c = Image1->Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(Farbe);
    c->Brush()->SetColor(Farbe);
    c->Polygon(p);
}

void TZqK3_1C1::AchseZeichnen(TRealPunkt A, TRealPunkt B) {
    const TPoint a = Bildpunkt(A), b = Bildpunkt(B);
    const bool Rot = ZqK3_1C1.Figur == 1 && HGweiss->Checked();
    TCanvas* c = Image1->Canvas();
    c->Pen()->SetWidth(2);
    LinieZeichnen(a.x, a.y, b.x, b.y, Rot ? 200 : 0, 0, 0, false, Image1);
    c->Pen()->SetWidth(1);
}

void TZqK3_1C1::FigurAnzeigen() {
    TAchsenZustand& Z = ZqK3_1C1;
    const bool Weiss = HGweiss->Checked();
    if (Weiss)
        BildFuellen(255, 255, 255, Image1);
    else
        BildFuellen(0, 0, 0, Image1);
    const TFigurDaten f = Figur(Z.Figur);
    FigurFuellen(f.Ecken, Weiss ? f.Weiss : f.Schwarz);
    Z.Symmetrisch = f.Symmetrisch;
    Z.Achsenanzahl = static_cast<int>(f.Achsen.size());
    if (Z.Achse >= 1 && Z.Achse <= Z.Achsenanzahl)
        AchseZeichnen(f.Achsen[Z.Achse - 1].first, f.Achsen[Z.Achse - 1].second);
    Image1->Invalidate();
}

void TZqK3_1C1::BitBtn2Click(TObject*) {
    if (ZqK3_1C1.Symmetrisch) {
        BitBtn2->Font()->SetColor(RGB(0, 255, 0));
        Panel1->SetVisible(true);
        Muster::Fokus(RichEdit1);
    } else {
        BitBtn2->Font()->SetColor(RGB(255, 0, 0));
    }
}

void TZqK3_1C1::BitBtn3Click(TObject*) {
    BitBtn3->Font()->SetColor(ZqK3_1C1.Symmetrisch ? RGB(255, 0, 0) : RGB(0, 255, 0));
}

void TZqK3_1C1::BitBtn4Click(TObject*) {
    AnzahlPruefen();
}

void TZqK3_1C1::AnzahlPruefen() {
    bool Richtig = false;
    ErgebnisPruefen2(Muster::Antwort(RichEdit1), QString::number(ZqK3_1C1.Achsenanzahl), Label4, 45, 'c', Richtig,
                     0, 0);
    BitBtn4->Font()->SetColor(Richtig ? RGB(0, 255, 0) : RGB(255, 0, 0));
    if (Richtig) Panel2->SetVisible(true);
}

void TZqK3_1C1::AchseClick(int k) {
    ZqK3_1C1.Achse = k;
    FigurAnzeigen();
}

void TZqK3_1C1::HGweissClick(TObject*) {
    // The box is ticked in the constructor, before there is a figure.
    if (ZqK3_1C1.Figur >= 1) FigurAnzeigen();
}
