#include "exercises/chapter2/UZqK2_3A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"

#include <cmath>
#include <numbers>

TBeckenZustand ZqK2_3A1;

namespace {

using Runtime::Random;

// 1 ml, 1 cl, 1 dl, 1 l.
constexpr int BecherMl[4] = {1, 10, 100, 1000};
constexpr int BecherX[4] = {740, 616, 434, 156};
constexpr int BecherAbsatz[4] = {0, 4, 10, 26};
constexpr int Trefferradius[4] = {30, 50, 70, 107};

// One pixel per millimetre: 1 ml is 1000 cubic pixels, a cup as high as wide.
double BecherRadius(int k) {
    return std::cbrt(BecherMl[k] * 1000.0 / (2 * std::numbers::pi));
}

int BasisLinie(TImage* Bild) {
    return BildHoehe(Bild) - 56;
}

QString InEinheit(int32_t Milliliter, int Einheit) {
    return KommaZuPunkt(ZahlAlsText(MengeInEinheit(Milliliter, Einheit))) + QStringLiteral(" ") +
           EinheitText(Einheit);
}

} // namespace

double MengeInEinheit(int32_t Milliliter, int Einheit) {
    static constexpr double Teiler[5] = {1, 1, 10, 100, 1000};
    return Milliliter / Teiler[Einheit >= 1 && Einheit <= 4 ? Einheit : 1];
}

QString EinheitText(int Einheit) {
    switch (Einheit) {
    case 2:
        return QStringLiteral("cl");
    case 3:
        return QStringLiteral("dl");
    case 4:
        return QStringLiteral("l");
    default:
        return QStringLiteral("ml");
    }
}

void ZiffernZerlegen(TBeckenZustand& z) {
    z.Liter = z.Groesse / 1000;
    z.Deziliter = z.Groesse % 1000 / 100;
    z.Centiliter = z.Groesse % 100 / 10;
    z.Milliliter = z.Groesse % 10;
    z.WenigsteBecher = z.Liter + z.Deziliter + z.Centiliter + z.Milliliter;
}

int Tiefenfaktor(int32_t Groesse) {
    if (Groesse > 8000) return 5;
    if (Groesse > 6000) return 4;
    if (Groesse > 4000) return 3;
    return 2;
}

TZqK2_3A1::TZqK2_3A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_3A1"));
    SetCaption(QStringLiteral("Abschnitt 2.3   Übung 1"));

    Image1 = Zeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 0, 803, 225);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Image2 = Zeichenbild(this, nullptr, QStringLiteral("Image2"), 0, 316, 777, 193);

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 8, 578, 220, 34, clBlue);
    Panel1->SetParentFont(false);
    Panel1->Font()->SetName(QStringLiteral("Tahoma"));
    Panel1->Font()->SetHeight(-19);
    Panel1->Font()->SetStyle(fsBold);
    Panel1->Font()->SetColor(clWhite);
    BitBtn3 =
        Knopf(this, nullptr, QStringLiteral("BitBtn3"), QStringLiteral("Becken leeren"), 236, 578, 150, 34);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };

    const QStringList Anleitung = {
        QStringLiteral(
            "Fülle das untere Becken, indem du mit der Maus auf einen der obigen 4 Zylinder klickst."),
        QStringLiteral("Versuche möglichst wenige Becher zum Befüllen des Beckens zu verwenden."),
        QStringLiteral("Hast du zu viel Wasser hineingefüllt, musst du das Becken entleeren."),
    };
    for (int i = 0; i < Anleitung.size(); ++i)
        Beschriftung(this, nullptr, QStringLiteral("LabelA%1").arg(i + 1), Anleitung[i], 8, 512 + 21 * i);

    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 0, 225, 803, 90, RGB(210, 242, 222));
    LabelP1 = Urteilslabel(this, Panel2, QStringLiteral("LabelP1"), 8, 8, 470, 28);
    Beschriftung(this, Panel2, QStringLiteral("Label4"), QStringLiteral("Aktuelle Füllmenge:"), 8, 50);
    Label5 = Beschriftung(this, Panel2, QStringLiteral("Label5"), QString(), 170, 50,
                          QStringLiteral("Tahoma"), -16, clBlack, true);
    Beschriftung(this, Panel2, QStringLiteral("Label6"), QStringLiteral("Anzahl"), 300, 42);
    Label7 = Beschriftung(this, Panel2, QStringLiteral("Label7"), QString(), 360, 50,
                          QStringLiteral("Tahoma"), -16, clBlack, true);
    Beschriftung(this, Panel2, QStringLiteral("Label8"), QStringLiteral("Becher"), 300, 62);
    BitBtnHilfe =
        Knopf(this, Panel2, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe"), 400, 46, 70, 30);
    BitBtnHilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };

    Panel3 = Feld(this, Panel2, QStringLiteral("Panel3"), 486, 4, 312, 82, RGB(255, 255, 128));
    Beschriftung(this, Panel3, QStringLiteral("Label9"), QStringLiteral("Beckengröße:"), 6, 4);
    const QString Kopf[4] = {QStringLiteral("Liter"), QStringLiteral("Deziliter"),
                             QStringLiteral("Centiliter"), QStringLiteral("Milliliter")};
    TLabel** Ziffer[4] = {&Label15, &Label14, &Label13, &Label12};
    for (int i = 0; i < 4; ++i) {
        Beschriftung(this, Panel3, QStringLiteral("LabelK%1").arg(i + 1), Kopf[i], 6 + 76 * i, 28);
        *Ziffer[i] = Beschriftung(this, Panel3, QStringLiteral("Label%1").arg(15 - i), QString(), 26 + 76 * i,
                                  52, QStringLiteral("Tahoma"), -16, clBlack, true);
    }
    Panel3->SetVisible(false);
    Panel2->SetVisible(false);
}

void TZqK2_3A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK2_3A1.Aufgabe = 0;
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK2_3A1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    BeckenLeeren(true);
}

void TZqK2_3A1::BitBtn3Click(TObject*) {
    BeckenLeeren(false);
}

void TZqK2_3A1::BitBtnHilfeClick(TObject*) {
    Panel3->SetVisible(true);
}

void TZqK2_3A1::BeckenWaehlen() {
    TBeckenZustand& z = ZqK2_3A1;
    ++z.Aufgabe;
    switch (Random(4) + 1) {
    case 1:
        z.Einheit = Random(4) + 1;
        z.Groesse = Random(10000) + 2;
        break;
    case 2:
        z.Einheit = Random(3) + 1;
        z.Groesse = Random(1000) + 2;
        break;
    case 3:
        z.Einheit = Random(2) + 1;
        z.Groesse = Random(100) + 2;
        break;
    default:
        z.Einheit = 1;
        z.Groesse = Random(10) + 2;
        break;
    }
    // The first basins are the same for everybody and show each unit.
    static constexpr int Fest[7][2] = {{5000, 4}, {300, 3}, {40, 2}, {8, 1}, {70, 1}, {1500, 4}, {1752, 1}};
    if (z.Aufgabe >= 1 && z.Aufgabe <= 7) {
        z.Groesse = Fest[z.Aufgabe - 1][0];
        z.Einheit = Fest[z.Aufgabe - 1][1];
    }
    ZiffernZerlegen(z);
    Label15->SetCaption(QString::number(z.Liter));
    Label14->SetCaption(QString::number(z.Deziliter));
    Label13->SetCaption(QString::number(z.Centiliter));
    Label12->SetCaption(QString::number(z.Milliliter));
}

void TZqK2_3A1::BecherZeichnen() {
    BildFuellen(255, 255, 255, Image1);
    // The text routine keeps the canvas's font style.
    Image1->Canvas()->Font()->SetStyle(fsBold);
    const int y0 = BasisLinie(Image1);
    const TColor Farbe[4] = {RGB(200, 0, 0), RGB(0, 0, 255), RGB(0, 180, 0), clBlack};
    const QString Gross[4] = {QStringLiteral("1 ml"), QStringLiteral("1 cl = 10 ml"),
                              QStringLiteral("1 dl = 10 cl = 100 ml"),
                              QStringLiteral("1 l = 10 dl = 100 cl = 1 000 ml")};
    const QString Liter[4] = {QStringLiteral("0,001 Liter"), QStringLiteral("0,01 Liter"),
                              QStringLiteral("0,1 Liter"), QStringLiteral("1 Liter")};
    const QString Bruch[3] = {QStringLiteral("ein tausendstel"), QStringLiteral("ein hundertstel"),
                              QStringLiteral("ein zehntel")};
    const int BruchAbstand[3] = {40, 46, 60};
    const QString Name[3] = {QStringLiteral("Milliliter"), QStringLiteral("Centiliter"),
                             QStringLiteral("Deziliter")};
    for (int k = 0; k < 4; ++k) {
        const double r = BecherRadius(k);
        const int x = BecherX[k];
        ZylinderZeichnen(x, y0 - BecherAbsatz[k], static_cast<double>(Round(r)),
                         static_cast<double>(Round(2 * r)), 50, 160, 255, 150, 200, 255, true, Image1);
        ZqK2_3A1.Mitte[k] = TPoint{x, static_cast<int>(Round(y0 - r))};

        const int R = GetRValue(Farbe[k]), G = GetGValue(Farbe[k]), B = GetBValue(Farbe[k]);
        const int Oben = y0 - static_cast<int>(Round(2 * r));
        auto Text = [&](int y, const QString& t, int Groesse) {
            TextAusgebenLokal(x, y, R, G, B, 255, 255, 255, t, 'T', Groesse, true, true, Image1);
        };
        Text(y0 + 20, Gross[k], 16);
        Text(y0 + 40, Liter[k], 12);
        if (k < 3) {
            Text(Oben - BruchAbstand[k], Bruch[k], 12);
            Text(Oben - BruchAbstand[k] + 20, QStringLiteral("Liter"), 12);
            Text(10, Name[k], 12);
        }
    }
}

void TZqK2_3A1::Image1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
    TBeckenZustand& z = ZqK2_3A1;
    for (int k = 0; k < 4; ++k)
        if (std::hypot(X - z.Mitte[k].x, Y - z.Mitte[k].y) < Trefferradius[k]) {
            ++z.Becher;
            z.Fuellung += BecherMl[k];
        }
    BeckenZeichnen();
}

void TZqK2_3A1::BeckenZeichnen() {
    const TBeckenZustand& z = ZqK2_3A1;
    const int k = Tiefenfaktor(z.Groesse);
    const double a = std::cbrt(1000.0 * z.Groesse / k);
    const double w = k * a, d = a;
    // Far beyond the picture the water is drawn only as high as the picture.
    const double Wasser = std::min(1000.0 * z.Fuellung / (w * d), 4000.0);

    int R = 0, G = 0, B = 0;
    FarbeInRGB(static_cast<TColor>(14995896), R, G, B);
    BildFuellen(R, G, B, Image2);
    const int x0 = static_cast<int>(Round((BildBreite(Image2) - w) / 2));
    const int y0 = 190;
    const int W = static_cast<int>(Round(w)), A = static_cast<int>(Round(a)), D = static_cast<int>(Round(d));
    QuaderZeichnen(x0, y0, W, A, D, R, G, B, R, G, B, R, G, B, Image2);
    if (z.Fuellung > 0) {
        const TColor f = z.Fuellung > z.Groesse ? RGB(255, 0, 0) : RGB(50, 160, 255);
        const int fr = GetRValue(f), fg = GetGValue(f), fb = GetBValue(f);
        QuaderZeichnen(x0, y0, W, static_cast<int>(Round(Wasser)), D, fr, fg, fb, fr, fg, fb, fr, fg, fb,
                       Image2);
    }

    // The back edges as the cuboid draws them, half the depth right and up.
    const int o = D / 2;
    LinieZeichnen(x0, y0, x0 + o, y0 - o, 0, 0, 0, true, Image2);
    LinieZeichnen(x0 + o, y0 - o, x0 + W + o, y0 - o, 0, 0, 0, true, Image2);
    LinieZeichnen(x0 + o, y0 - o, x0 + o, y0 - A - o, 0, 0, 0, true, Image2);
    LinieZeichnen(x0 + W, y0, x0 + W, y0 - A, 0, 0, 0, false, Image2);
    LinieZeichnen(x0, y0 - A, x0 + W, y0 - A, 0, 0, 0, false, Image2);
    LinieZeichnen(x0, y0 - A, x0 + o, y0 - A - o, 0, 0, 0, false, Image2);
    LinieZeichnen(x0 + W, y0 - A, x0 + W + o, y0 - A - o, 0, 0, 0, false, Image2);
    LinieZeichnen(x0 + o, y0 - A - o, x0 + W + o, y0 - A - o, 0, 0, 0, false, Image2);

    Panel1->SetCaption(QStringLiteral("Becken: ") + InEinheit(z.Groesse, z.Einheit));
    Label5->SetCaption(InEinheit(z.Fuellung, z.Einheit));
    if (z.Fuellung > 0) Panel2->SetVisible(true);
    if (z.Fuellung == z.Groesse)
        Muster::Urteil(LabelP1,
                       z.Becher == z.WenigsteBecher
                           ? QStringLiteral("Sehr gut, weiter so.")
                           : QStringLiteral("Richtig, aber es geht noch geschickter."),
                       RGB(0, 255, 0));
    else if (z.Fuellung < z.Groesse)
        Muster::Urteil(LabelP1, QStringLiteral("Das Becken ist noch nicht vollständig befüllt."),
                       RGB(255, 255, 0));
    else
        Muster::Urteil(LabelP1, QStringLiteral("Die Füllmenge war zu groß. Entleere das Becken."),
                       RGB(255, 0, 0));
    Label7->SetCaption(QString::number(z.Becher));
}

void TZqK2_3A1::BeckenLeeren(bool NeuesBecken) {
    Panel2->SetTop(Skaliert(225));
    Panel3->SetVisible(false);
    ZqK2_3A1.Becher = 0;
    Panel2->SetVisible(false);
    if (NeuesBecken) BeckenWaehlen();
    ZqK2_3A1.Fuellung = 0;
    BecherZeichnen();
    BeckenZeichnen();
}
