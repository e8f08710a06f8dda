#include "exercises/chapter1/UZqK1_3Division.h"

#include "exercises/chapter1/UZqK1_3Mal.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

#include <initializer_list>

namespace {

QString N(int n) {
    return QString::number(n);
}

constexpr TColor Gruen = RGB(0, 200, 0);
constexpr TColor Rot = RGB(255, 0, 0);
constexpr TColor Weiss = RGB(255, 255, 255);
constexpr TColor Hellgelb = RGB(255, 255, 128);

bool Leer(TRichEdit* Box) {
    return Muster::Antwort(Box).trimmed().isEmpty();
}

// The answer check of one box; it writes its own verdict into Label.
bool Vergleichen(TRichEdit* Box, int Wert, TLabel* Label) {
    bool Richtig = false;
    ErgebnisPruefen2(Muster::Antwort(Box), N(Wert), Label, 25, 'c', Richtig, 0, 0);
    return Richtig;
}

// Hint rows: panel, its place, its width without and with remainder, its
// label, the "Hilfe" button.
struct THinweisZeile {
    int Panel, x, y, Breite, BreiteRest, Label, Knopf;
};
constexpr THinweisZeile HinweisZeilen[15] = {
    {},
    {13, 60, 120, 741, 893, 6, 21},
    {17, 60, 145, 517, 669, 7, 22},
    {18, 116, 184, 461, 613, 9, 23},
    {19, 116, 209, 461, 613, 10, 24},
    {20, 116, 240, 685, 837, 21, 25},
    {21, 116, 265, 461, 613, 22, 26},
    {22, 172, 304, 469, 557, 24, 27},
    {23, 172, 329, 469, 557, 26, 28},
    {24, 172, 360, 629, 781, 28, 29},
    {25, 172, 385, 405, 557, 29, 30},
    {26, 228, 424, 426, 501, 31, 31},
    {27, 228, 449, 426, 501, 33, 32},
    {28, 228, 480, 573, 725, 35, 33},
    {29, 228, 505, 421, 501, 36, 34},
};

// Row checks: "prüfen" button BitBtn8 .. BitBtn17 with its place and its
// verdict label LabelPP1 .. LabelPP10 (the form without remainder).
struct TPruefZeile {
    int Knopf, x, y, Breite, LabelX, LabelBreite, LabelHoehe;
};
constexpr TPruefZeile PruefZeilen[11] = {
    {},
    {8, 584, 145, 105, 696, 105, 25},
    {9, 584, 184, 105, 696, 105, 24},
    {10, 584, 209, 105, 696, 105, 25},
    {11, 584, 265, 105, 696, 105, 25},
    {12, 648, 304, 73, 728, 73, 24},
    {13, 648, 329, 73, 728, 73, 25},
    {14, 584, 385, 105, 696, 105, 25},
    {15, 656, 424, 65, 728, 73, 24},
    {16, 656, 449, 65, 728, 73, 25},
    {17, 656, 505, 65, 728, 73, 25},
};

// Scheme boxes RichEdit5 .. RichEdit17.
constexpr int BoxPlatz[18][2] = {{},        {},         {},         {},         {},         {7, 120},
                                 {7, 184},  {63, 184},  {7, 240},   {63, 240},  {63, 304},  {119, 304},
                                 {63, 360}, {119, 360}, {119, 424}, {175, 424}, {119, 480}, {175, 480}};

TBitBtn* GruenerKnopf(TAufgabeg* Form, const QString& Name, const QString& Text, int x, int y, int b, int h) {
    TBitBtn* k = Muster::Knopf(Form, nullptr, Name, Text, x, y, b, h, -19);
    k->Font()->SetColor(clGreen);
    return k;
}

TShape* Rahmen(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int x, int y, int b, int h,
               int Stift, TColor Farbe) {
    auto* s = new TShape(Form);
    s->SetName(Name);
    s->SetParent(Parent ? Parent : Form->B_ScrollBox);
    s->Pen()->SetWidth(Stift);
    s->Pen()->SetColor(Farbe);
    s->Brush()->SetStyle(bsClear);
    s->SetBounds(x, y, b, h);
    return s;
}

TPanel* Zeichenfeld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int x, int y,
                    const QString& Text = {}) {
    TPanel* p = Muster::Feld(Form, Parent, Name, x, y, 30, 30, clWhite);
    p->SetParentFont(false);
    p->Font()->SetName(QStringLiteral("Tahoma"));
    p->Font()->SetHeight(-19);
    p->SetCaption(Text);
    return p;
}

} // namespace

void ZiffernZerlegen(int n, int& Tausender, int& Hunderter, int& Zehner, int& Einer) {
    Tausender = n / 1000;
    const int Rest = n - 1000 * Tausender;
    Hunderter = Rest / 100;
    Zehner = Rest / 10 % 10;
    Einer = Rest % 10;
}

void DivisionRechnen(TDivisionZustand& Z, int q, int d, int Rest) {
    Z.q = q;
    Z.d = d;
    Z.R = Rest;
    ZiffernZerlegen(q * d + Rest, Z.T, Z.H, Z.Z, Z.E);
    Z.q1 = Z.T / d;
    Z.p1 = Z.q1 * d;
    Z.r1 = Z.T - Z.p1;
    const int X2 = 10 * Z.r1 + Z.H;
    Z.q2 = X2 / d;
    Z.p2t = Z.q2 * d / 10;
    Z.p2o = Z.q2 * d % 10;
    Z.r2 = X2 - Z.q2 * d;
    const int X3 = 10 * Z.r2 + Z.Z;
    Z.q3 = X3 / d;
    Z.p3t = Z.q3 * d / 10;
    Z.p3o = Z.q3 * d % 10;
    Z.r3 = X3 - Z.q3 * d;
    const int X4 = 10 * Z.r3 + Z.E;
    Z.q4 = X4 / d;
    Z.p4t = Z.q4 * d / 10;
    Z.p4o = Z.q4 * d % 10;
    Z.P = q * d;
    Z.S = Z.P + Rest;
}

QStringList MultiplikationsHilfe(TDivisionZustand& Z) {
    int Ziffern[4];
    ZiffernZerlegen(Z.q, Ziffern[3], Ziffern[2], Ziffern[1], Ziffern[0]);
    const int Schritte = Z.q >= 1000 ? 4 : 3;
    int* Uebertrag[3] = {&Z.c1, &Z.c2, &Z.c3};
    Z.c1 = Z.c2 = Z.c3 = 0;
    QStringList Zeilen;
    int c = 0;
    for (int k = 0; k < Schritte; ++k) {
        const int v = Ziffern[k] * Z.d + c;
        Zeilen << (c == 0 ? "Rechne " + N(Ziffern[k]) + " · " + N(Z.d) + " = " + N(v)
                          : "Rechne " + N(Ziffern[k]) + " · " + N(Z.d) + " + " + N(c) + " = " + N(v));
        if (k + 1 < Schritte) {
            Zeilen << (v / 10 != 0 ? "Schreibe " + N(v % 10) + ", merke " + N(v / 10) + " ."
                                   : "Schreibe " + N(v % 10) + " .");
            c = v / 10;
            *Uebertrag[k] = c;
        } else {
            Zeilen << "Schreibe " + N(v) + " .";
        }
    }
    return Zeilen;
}

TDivisionsform::TDivisionsform(TComponent* AOwner, TDivisionZustand& Zustand, bool MitRest)
    : TAufgabeg(AOwner), Z(Zustand), m_rest(MitRest) {
    using namespace Muster;
    using Malschema::Ziffernfeld;
    SetCaption(MitRest ? QStringLiteral("Abschnitt 1.3   Übung 8")
                       : QStringLiteral("Abschnitt 1.3   Übung 7"));
    Label1 = Titel(this, MitRest ? QStringLiteral("Schriftliches Dividieren mit Rest")
                                 : QStringLiteral("Schriftliches Dividieren ohne Rest"));
    const QString Arial = QStringLiteral("Arial");
    const QString Tahoma = QStringLiteral("Tahoma");
    Label5 = Beschriftung(this, nullptr, QStringLiteral("Label5"), QString(), 0, 18, Tahoma, -16, clBlack);

    // Task line.
    Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Tausender"), 0, 50, Arial, -11,
                 clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label17"), QStringLiteral("Hunderter"), 64, 50, Arial, -11,
                 clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label4"), QStringLiteral("Zehner"), 120, 50, Arial, -11,
                 clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label2"), QStringLiteral("Einer"), 174, 50, Arial, -11,
                 clNavy, true);
    Panel6 = Ziffernfeld(this, QStringLiteral("Panel6"), 8, 64, 50, 40);
    Panel7 = Ziffernfeld(this, QStringLiteral("Panel7"), 64, 64, 50, 40);
    Panel8 = Ziffernfeld(this, QStringLiteral("Panel8"), 120, 64, 50, 40);
    Panel9 = Ziffernfeld(this, QStringLiteral("Panel9"), 176, 64, 50, 40);
    Ziffernfeld(this, QStringLiteral("Panel10"), 232, 64, 50, 40, QStringLiteral(":"));
    Panel11 = Ziffernfeld(this, QStringLiteral("Panel11"), 288, 64, 50, 40);
    Ziffernfeld(this, QStringLiteral("Panel12"), 344, 64, 50, 40, QStringLiteral("="));

    const auto Schemabox = [this](int n, int x, int y, int b, int h) {
        TRichEdit* r = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(n), x, y, b, h);
        r->Font()->SetHeight(-40);
        r->SetAlignment(taCenter);
        BoxVerbinden(r, 2, [this](TObject* s) { SchemaPruefen(s); });
        RichEdit[n] = r;
        return r;
    };
    const int Zusatz = MitRest ? 2 : 0;
    const TColor Rahmenfarbe[4] = {clYellow, clLime, clBlue, clRed};
    for (int i = 0; i < 4; ++i) {
        Shape[5 + i] = Rahmen(this, nullptr, QStringLiteral("Shape%1").arg(5 + i), 400 + 56 * i, 64, 50,
                              50 + Zusatz, 3, Rahmenfarbe[i]);
        Schemabox(18 + i, 403 + 56 * i, 67, 44, 44 + Zusatz);
    }
    if (MitRest) {
        Ziffernfeld(this, QStringLiteral("Panel32"), 624, 64, 50, 40, QStringLiteral("+"));
        Shape[9] = Rahmen(this, nullptr, QStringLiteral("Shape9"), 680, 64, 50, 52, 3, clBlack);
        Schemabox(22, 683, 67, 44, 46);
        Ziffernfeld(this, QStringLiteral("Panel33"), 736, 64, 50, 40, QStringLiteral(":"));
        Panel34 = Ziffernfeld(this, QStringLiteral("Panel34"), 792, 64, 50, 40);
        Panel34->SetHeight(46);
        Label25 = Beschriftung(this, nullptr, QStringLiteral("Label25"), QString(), 676, 48, Arial, -13,
                               clNavy, true);
        Label25->SetAutoSize(false);
        Label25->SetAlignment(taCenter);
        Label25->SetBounds(676, 48, 56, 14);
    }
    BitBtn[7] =
        MitRest ? GruenerKnopf(this, QStringLiteral("BitBtn7"), QStringLiteral("prüfen"), 848, 64, 105, 49)
                : GruenerKnopf(this, QStringLiteral("BitBtn7"), QStringLiteral("prüfen"), 624, 64, 153, 49);
    LabelPP[0] = Urteilslabel(this, nullptr, QStringLiteral("LabelPP"), 232, 40, MitRest ? 441 : 545, 23);
    LabelPP[0]->Font()->SetHeight(-19);

    // The scheme.
    for (int n = 5; n <= 17; ++n)
        Schemabox(n, BoxPlatz[n][0], BoxPlatz[n][1], 50, 50);
    Shape[2] = Rahmen(this, nullptr, QStringLiteral("Shape2"), 6, 176, 273, 3, 2, clBlack);
    Shape[3] = Rahmen(this, nullptr, QStringLiteral("Shape3"), 6, 296, 115, 3, 2, clBlack);
    Shape[4] = Rahmen(this, nullptr, QStringLiteral("Shape4"), 62, 416, 115, 3, 2, clBlack);
    for (int z = 1; z <= 10; ++z) {
        const TPruefZeile& p = PruefZeilen[z];
        BitBtn[p.Knopf] =
            GruenerKnopf(this, QStringLiteral("BitBtn%1").arg(p.Knopf), QStringLiteral("prüfen"),
                         MitRest ? 736 : p.x, p.y, MitRest ? 105 : p.Breite, 25);
        LabelPP[z] = Urteilslabel(this, nullptr, QStringLiteral("LabelPP%1").arg(z), MitRest ? 848 : p.LabelX,
                                  p.y, MitRest ? 105 : p.LabelBreite, MitRest ? 25 : p.LabelHoehe);
        LabelPP[z]->Font()->SetName(Arial);
    }
    // A shown hint lies over its own "Hilfe" button: the panel comes later.
    const auto HinweisZeile = [&](int z, int Panel, int x, int y, int Breite, int Label, int Knopf) {
        BitBtn[Knopf] = GruenerKnopf(this, QStringLiteral("BitBtn%1").arg(Knopf), QStringLiteral("Hilfe"),
                                     x + 4, y, 81, 25);
        BitBtn[Knopf]->OnClick = [this](TObject* s) { BitBtn21Click(s); };
        Hinweis[z] = Feld(this, nullptr, QStringLiteral("Panel%1").arg(Panel), x, y, Breite, 25, Hellgelb);
        HinweisText[z] = Beschriftung(this, Hinweis[z], QStringLiteral("Label%1").arg(Label), QString(), 4, 3,
                                      Arial, -16, clBlack, true);
        Hinweis[z]->SetVisible(false);
    };
    for (int z = 1; z <= 14; ++z) {
        const THinweisZeile& h = HinweisZeilen[z];
        HinweisZeile(z, h.Panel, h.x, h.y, MitRest ? h.BreiteRest : h.Breite, h.Label, h.Knopf);
    }
    if (MitRest) {
        Shape[10] = Rahmen(this, nullptr, QStringLiteral("Shape10"), 118, 536, 115, 3, 2, clBlack);
        Schemabox(23, 175, 544, 50, 50);
        Label27 = Beschriftung(this, nullptr, QStringLiteral("Label27"), QStringLiteral("Rest:"), 128, 560,
                               Tahoma, -16, clBlack, true);
        HinweisZeile(15, 35, 228, 544, 725, 30, 37);
        BitBtn[36] =
            GruenerKnopf(this, QStringLiteral("BitBtn36"), QStringLiteral("prüfen"), 232, 569, 81, 25);
        LabelPP[11] = Urteilslabel(this, nullptr, QStringLiteral("LabelPP11"), 320, 569, 65, 25);
        LabelPP[11]->Font()->SetName(Arial);
        Label32 = Beschriftung(this, nullptr, QStringLiteral("Label32"),
                               QStringLiteral("Trage den Rest in das schwarz umrandete Feld ein."), 392, 568,
                               Tahoma, -19, clNavy);
        BitBtn[36]->OnClick = [this](TObject* s) { BitBtn7Click(s); };
        // The hint of the row lies over its own "Hilfe" button only.
        Hinweis[15]->BringToFront();
    }
    for (int k = 7; k <= 17; ++k)
        BitBtn[k]->OnClick = [this](TObject* s) { BitBtn7Click(s); };

    BitBtn[20] = Knopf(this, nullptr, QStringLiteral("BitBtn20"), QStringLiteral("Lösung anzeigen"),
                       MitRest ? 392 : 200, MitRest ? 592 : 560, 185, 33, -19);
    BitBtn[20]->OnClick = [this](TObject* s) { BitBtn20Click(s); };
    BitBtn[35] =
        Knopf(this, nullptr, QStringLiteral("BitBtn35"), QStringLiteral("Kontrolle durch Multiplikation"),
              MitRest ? 584 : 488, MitRest ? 592 : 560, 297, 33, -19);
    BitBtn[35]->OnClick = [this](TObject* s) { BitBtn35Click(s); };

    // The check by multiplication.
    PanelK1 = MitRest ? Feld(this, nullptr, QStringLiteral("PanelK1"), 6, 119, 955, 476, RGB(210, 242, 222))
                      : Feld(this, nullptr, QStringLiteral("PanelK1"), 6, 120, 796, 411, RGB(210, 242, 222));
    Beschriftung(this, PanelK1, QStringLiteral("Label8"),
                 QStringLiteral("Ergebniskontrolle durch Multiplikation"), 8, 8, Tahoma, -19, clNavy, true);
    Panel30 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel30"), 8, 40);
    Panel1 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel1"), 40, 40);
    Panel2 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel2"), 72, 40);
    Panel3 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel3"), 104, 40);
    Zeichenfeld(this, PanelK1, QStringLiteral("Panel4"), 136, 40, QStringLiteral("·"));
    Panel5 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel5"), 168, 40);
    Shape[1] = Rahmen(this, PanelK1, QStringLiteral("Shape1"), 8, 72, MitRest ? 289 : 193, 3, 2, clBlack);
    const auto Kontrollbox = [this](const QString& Name, int x, int y) {
        TRichEdit* r = Muster::Antwortbox(this, PanelK1, Name, x, y, 30, 30);
        r->SetAlignment(taCenter);
        Muster::BoxVerbinden(r, 2, [this](TObject*) { KontrollePruefen(); });
        return r;
    };
    for (int k = 1; k <= 4; ++k)
        RichEdit[k] = Kontrollbox(QStringLiteral("RichEdit%1").arg(k), 167 - 32 * (k - 1), 80);
    if (MitRest) {
        Zeichenfeld(this, PanelK1, QStringLiteral("Panel36"), 208, 40, QStringLiteral("+"));
        Panel37 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel37"), 248, 40);
        Zeichenfeld(this, PanelK1, QStringLiteral("Panel38"), 40, 80, QStringLiteral("="));
        Zeichenfeld(this, PanelK1, QStringLiteral("Panel40"), 40, 112, QStringLiteral("+"));
        Panel39 = Zeichenfeld(this, PanelK1, QStringLiteral("Panel39"), 168, 112);
        Shape[11] = Rahmen(this, PanelK1, QStringLiteral("Shape11"), 16, 144, 185, 3, 2, clBlack);
        for (int k = 1; k <= 4; ++k)
            RichEditE[k] = Kontrollbox(QStringLiteral("RichEditE%1").arg(k), 167 - 32 * (k - 1), 152);
    }
    BitBtnP1 = MitRest ? Knopf(this, PanelK1, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 464, 32,
                               177, 41, -32)
                       : Knopf(this, PanelK1, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 216, 32,
                               177, 44, -32);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    LabelP1 = MitRest ? Urteilslabel(this, PanelK1, QStringLiteral("LabelP1"), 368, 8, 361, 23)
                      : Urteilslabel(this, PanelK1, QStringLiteral("LabelP1"), 400, 32, 369, 26);
    const char* HilfeNamen[5] = {"", "BitBtnHilfe", "BitBtn5", "BitBtn6", "BitBtn18"};
    const char* ErgebnisNamen[5] = {"", "BitBtnErgebnis", "BitBtn3", "BitBtn4", "BitBtn19"};
    const int HilfePanelNr[5] = {0, 14, 15, 16, 31};
    const int ZeilenNr[5][2] = {{}, {11, 12}, {13, 14}, {15, 16}, {19, 20}};
    for (int s = 1; s <= 4; ++s) {
        const int y = 88 + 56 * (s - 1);
        HilfeKnopf[s] = Knopf(this, PanelK1, QString::fromLatin1(HilfeNamen[s]),
                              QStringLiteral("Hilfe %1").arg(s), 208, y, 81, 33);
        HilfeKnopf[s]->OnClick = [this](TObject* o) { BitBtnHilfeClick(o); };
        HilfePanel[s] = Feld(this, PanelK1, QStringLiteral("Panel%1").arg(HilfePanelNr[s]), 296, y - 8,
                             MitRest ? 185 : 193, 49, Hellgelb);
        for (int z = 0; z < 2; ++z)
            HilfeZeile[s][z] =
                Beschriftung(this, HilfePanel[s], QStringLiteral("Label%1").arg(ZeilenNr[s][z]), QString(), 6,
                             4 + 22 * z, Arial, -16, clBlack, true);
        ErgebnisKnopf[s] = Knopf(this, PanelK1, QString::fromLatin1(ErgebnisNamen[s]),
                                 QStringLiteral("Ergebnis %1").arg(s), MitRest ? 488 : 496, y, 129, 33);
        ErgebnisKnopf[s]->OnClick = [this](TObject* o) { BitBtnErgebnisClick(o); };
    }
    if (MitRest) {
        ErgebnisKnopf[5] =
            Knopf(this, PanelK1, QStringLiteral("BitBtn38"), QStringLiteral("Ergebnis 5"), 72, 192, 125, 36);
        ErgebnisKnopf[5]->OnClick = [this](TObject* o) { BitBtnErgebnisClick(o); };
        BitBtn[38] = ErgebnisKnopf[5];
    }
    BitBtnErgebnis = ErgebnisKnopf[1];
    BitBtnHilfe = HilfeKnopf[1];
    BitBtn[3] = ErgebnisKnopf[2];
    BitBtn[4] = ErgebnisKnopf[3];
    BitBtn[19] = ErgebnisKnopf[4];
    BitBtn[5] = HilfeKnopf[2];
    BitBtn[6] = HilfeKnopf[3];
    BitBtn[18] = HilfeKnopf[4];
    PanelK1->SetVisible(false);

    // The design places, restored before every task.
    const auto Merken = [this](TControl* c) {
        if (c) m_plaetze.push_back({c, c->Left(), c->Top()});
    };
    for (int n = 5; n <= 21; ++n)
        Merken(RichEdit[n]);
    Merken(RichEdit[23]);
    for (int i = 2; i <= 10; ++i)
        Merken(Shape[i]);
    for (TPanel* p : Hinweis)
        Merken(p);
    for (int k = 8; k <= 37; ++k)
        if (k != 18 && k != 19 && k != 20 && k != 35) Merken(BitBtn[k]);
    for (int z = 1; z <= 11; ++z)
        Merken(LabelPP[z]);
    Merken(Label27);
    Merken(Label32);
}

void TDivisionsform::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Runtime::Randomize();
    NeueAufgabe();
}

void TDivisionsform::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    AufgabeStellen();
}

void TDivisionsform::AufgabeMit(int q, int d, int Rest) {
    m_q = q;
    m_d = d;
    m_r = Rest;
    NeueAufgabe();
}

void TDivisionsform::AufgabeStellen() {
    AufgabeErzeugen();
    BitBtn[35]->SetVisible(false);
    for (TPanel* p : Hinweis)
        if (p) p->SetVisible(false);
    PanelK1->SetWidth(Skaliert(m_rest ? 955 : 796));
    PanelK1->SetVisible(false);
    for (int s = 1; s <= 4; ++s) {
        HilfePanel[s]->SetVisible(false);
        ErgebnisKnopf[s]->SetVisible(false);
    }
}

void TDivisionsform::AufgabeErzeugen() {
    LabelP1->SetCaption(QString());
    BitBtnP1->Font()->SetColor(RGB(0, 0, 0));
    for (int k = 1; k <= 4; ++k)
        for (TRichEdit* Box : {RichEdit[k], RichEditE[k]})
            if (Box) {
                Box->Clear();
                Box->SetColor(Weiss);
            }
    Muster::Fokus(RichEdit[1]);

    int q = 0, d = 0, Rest = 0;
    if (m_q >= 0) {
        q = m_q;
        d = m_d;
        Rest = m_r;
        m_q = m_d = -1;
        m_r = 0;
    } else {
        for (;;) {
            do {
                q = Runtime::Random(5000);
                d = Runtime::Random(8) + 2;
            } while (q * d < 1000 || q * d >= 10000);
            if (!m_rest) break;
            Rest = Runtime::Random(d - 1) + 1;
            if (q * d + Rest <= 9999) break;
        }
    }
    DivisionRechnen(Z, q, d, Rest);

    Label5->SetCaption(
        "Beginne mit der höchsten Stelle der Zahl, die geteilt werden soll, in diesem Fall die " + N(Z.T) +
        ".");
    Panel6->SetCaption(N(Z.T));
    Panel7->SetCaption(N(Z.H));
    Panel8->SetCaption(N(Z.Z));
    Panel9->SetCaption(N(Z.E));
    Panel11->SetCaption(N(d));
    for (int n = 5; n <= 23; ++n)
        if (RichEdit[n]) {
            RichEdit[n]->Clear();
            RichEdit[n]->SetColor(Weiss);
        }
    for (TLabel* l : LabelPP)
        if (l) l->SetCaption(QString());

    const QString dT = N(d);
    const int X2 = 10 * Z.r1 + Z.H, X3 = 10 * Z.r2 + Z.Z, X4 = 10 * Z.r3 + Z.E;
    const QString Texte[15] = {
        {},
        "Überlege dir wie oft " + dT + " in " + N(Z.T) +
            " hineinpasst und trage dein Ergebnis in das gelb umrandete Feld ein.",
        "Rechne " + N(Z.q1) + " · " + dT + " und trage dein Ergebnis hier ein.",
        "Rechne " + N(Z.T) + " - " + N(Z.p1) + " und trage dein Ergebnis in das linke Feld ein.",
        "Hole die " + N(Z.H) + " herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt " + dT + " in " + N(X2) + " ? Trage dein Ergebnis in das grün umrandete Feld ein.",
        "Rechne " + N(Z.q2) + " · " + dT + " und trage dein Ergebnis hier ein.",
        "Rechne " + N(X2) + " - " + N(Z.q2 * d) + " und trage dein Ergebnis in das linke Feld ein.",
        "Hole die " + N(Z.Z) + " herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt " + dT + " in " + N(X3) + " ? Trage dein Ergebnis in das blau umrandete Feld ein.",
        "Rechne " + N(Z.q3) + " · " + dT + " und trage dein Ergebnis hier ein.",
        "Eintrag linkes Feld: " + N(X3) + " - " + N(Z.q3 * d),
        "Hole die " + N(Z.E) + " herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt " + dT + " in " + N(X4) + " ? Trage dein Ergebnis in das rot umrandete Feld ein.",
        "Rechne " + N(Z.q4) + " · " + dT + " und trage dein Ergebnis hier ein.",
    };
    for (int z = 1; z <= 14; ++z)
        HinweisText[z]->SetCaption(Texte[z]);
    if (m_rest) {
        Panel37->SetCaption(N(Rest));
        Panel39->SetCaption(N(Rest));
        Panel34->SetCaption(dT);
        Label25->SetCaption("Rest < " + dT);
        HinweisText[15]->SetCaption("Rechne " + N(X4) + " - " + N(Z.q4 * d) + " .");
    }

    // The check by multiplication.
    int qT, qH, qZ, qE;
    ZiffernZerlegen(q, qT, qH, qZ, qE);
    Panel30->SetCaption(q >= 1000 ? N(qT) : QString());
    Panel1->SetCaption(q >= 100 ? N(qH) : QString());
    Panel2->SetCaption(q >= 10 ? N(qZ) : QString());
    Panel3->SetCaption(N(qE));
    Panel5->SetCaption(dT);
    const QStringList Zeilen = MultiplikationsHilfe(Z);
    for (int s = 1; s <= 4; ++s)
        for (int z = 0; z < 2; ++z)
            HilfeZeile[s][z]->SetCaption(2 * (s - 1) + z < Zeilen.size() ? Zeilen[2 * (s - 1) + z]
                                                                         : QString());
    HilfeKnopf[3]->SetVisible(true);
    const bool Vierstellig = q >= 1000;
    HilfeKnopf[4]->SetVisible(Vierstellig);
    HilfePanel[4]->SetVisible(Vierstellig);
    ErgebnisKnopf[4]->SetVisible(Vierstellig);

    for (const TPlatz& p : m_plaetze) {
        p.Control->SetLeft(Skaliert(p.Links));
        p.Control->SetTop(Skaliert(p.Oben));
    }
    const bool Schritt1 = Z.q1 != 0;
    for (TControl* c :
         std::initializer_list<TControl*>{BitBtn[21], BitBtn[22], LabelPP[1], BitBtn[8], Hinweis[1],
                                          Hinweis[2], Shape[2], RichEdit[18], Shape[5]})
        c->SetVisible(Schritt1);
    if (!Schritt1) DreistelligAnordnen();
}

void TDivisionsform::DreistelligAnordnen() {
    HinweisText[3]->SetCaption("Hole die " + N(Z.T) + " herunter und trage sie in das linke Feld ein.");
    for (int i = 3; i >= 1; --i) {
        RichEdit[18 + i]->SetLeft(RichEdit[17 + i]->Left());
        Shape[5 + i]->SetLeft(Shape[4 + i]->Left());
    }
    // 64 design pixels up from the design place, in the window's scale.
    const auto Hoch = [this](TControl* c) {
        for (const TPlatz& p : m_plaetze)
            if (c && p.Control == c) c->SetTop(Skaliert(p.Oben - 64));
    };
    for (int n = 6; n <= 17; ++n)
        Hoch(RichEdit[n]);
    for (int z = 3; z <= 14; ++z)
        Hoch(Hinweis[z]);
    for (int k = 9; k <= 17; ++k)
        Hoch(BitBtn[k]);
    for (int k = 23; k <= 34; ++k)
        Hoch(BitBtn[k]);
    for (int z = 2; z <= 10; ++z)
        Hoch(LabelPP[z]);
    Hoch(Shape[3]);
    Hoch(Shape[4]);
    if (m_rest) {
        for (TControl* c : std::initializer_list<TControl*>{RichEdit[23], Hinweis[15], BitBtn[36], BitBtn[37],
                                                            LabelPP[11], Shape[10]})
            Hoch(c);
        Hoch(Label27);
        Hoch(Label32);
    }
}

void TDivisionsform::SchemaPruefen(TObject* Sender) {
    if (!Sender) return;
    const auto Urteil = [](TLabel* l, bool Richtig) { l->SetCaption(Richtig ? "richtig" : "falsch"); };
    const auto Einzeln = [&](int Box, int Knopf, int Label, int Wert, bool NullDarfLeer) {
        if (!RichEdit[Box] || (Sender != RichEdit[Box] && Sender != BitBtn[Knopf])) return false;
        bool Richtig = Vergleichen(RichEdit[Box], Wert, LabelPP[Label]);
        if (NullDarfLeer && Wert == 0 && Leer(RichEdit[Box])) Richtig = true;
        RichEdit[Box]->SetColor(Richtig ? Gruen : Rot);
        Urteil(LabelPP[Label], Richtig);
        return true;
    };
    const auto Zweifach = [&](int Zehner, int Knopf, int Label, int t, int o) {
        TRichEdit* Links = RichEdit[Zehner];
        TRichEdit* Rechts = RichEdit[Zehner + 1];
        if (Sender != Links && Sender != Rechts && Sender != BitBtn[Knopf]) return false;
        TLabel* l = LabelPP[Label];
        bool RichtigT = Vergleichen(Links, t, l);
        if (t == 0 && Leer(Links)) RichtigT = true;
        Links->SetColor(RichtigT ? (Leer(Links) ? Weiss : Gruen) : Rot);
        const bool RichtigO = Vergleichen(Rechts, o, l);
        Rechts->SetColor(RichtigO ? Gruen : Rot);
        if (RichtigT && RichtigO)
            Muster::Urteil(l, QStringLiteral("richtig"), RGB(0, 255, 0));
        else
            Muster::Urteil(l, QStringLiteral("falsch"), RGB(255, 0, 0));
        return true;
    };
    if (Einzeln(5, 8, 1, Z.p1, false) || Einzeln(6, 9, 2, Z.r1, true) || Einzeln(7, 10, 3, Z.H, false) ||
        Zweifach(8, 11, 4, Z.p2t, Z.p2o) || Einzeln(10, 12, 5, Z.r2, true) ||
        Einzeln(11, 13, 6, Z.Z, false) || Zweifach(12, 14, 7, Z.p3t, Z.p3o) ||
        Einzeln(14, 15, 8, Z.r3, true) || Einzeln(15, 16, 9, Z.E, false) ||
        Zweifach(16, 17, 10, Z.p4t, Z.p4o) || Einzeln(23, 36, 11, Z.R, false))
        return;
    bool Quotient = Sender == BitBtn[7];
    for (int n = 18; n <= 22; ++n)
        Quotient = Quotient || (RichEdit[n] && Sender == RichEdit[n]);
    if (!Quotient) return;
    const int Werte[5] = {Z.q1, Z.q2, Z.q3, Z.q4, Z.R};
    bool Alle = true, EinesLeer = false;
    for (int i = 0; i < (m_rest ? 5 : 4); ++i) {
        TRichEdit* Box = RichEdit[18 + i];
        bool Richtig = Vergleichen(Box, Werte[i], LabelPP[0]);
        if (i == 0 && !Box->Visible())
            Richtig = true;
        else if (Leer(Box))
            EinesLeer = true;
        Box->SetColor(Richtig ? Gruen : (Leer(Box) ? Weiss : Rot));
        Alle = Alle && Richtig;
    }
    if (Alle) {
        Muster::Urteil(LabelPP[0], QStringLiteral("richtig"), RGB(0, 255, 0));
        BitBtn[35]->SetVisible(true);
    } else if (EinesLeer) {
        Muster::Urteil(LabelPP[0], QStringLiteral("Fülle alle umrandeten Felder aus."), RGB(255, 255, 0));
    } else {
        Muster::Urteil(LabelPP[0], QStringLiteral("falsch"), RGB(255, 0, 0));
    }
}

void TDivisionsform::KontrollePruefen() {
    int Stellen[4], Summe[4];
    ZiffernZerlegen(Z.P, Stellen[3], Stellen[2], Stellen[1], Stellen[0]);
    ZiffernZerlegen(Z.S, Summe[3], Summe[2], Summe[1], Summe[0]);
    bool Alle = true;
    const auto Box = [&](TRichEdit* r, int Wert) {
        const bool Richtig = Vergleichen(r, Wert, LabelP1);
        r->SetColor(Richtig ? Gruen : Rot);
        Alle = Alle && Richtig;
    };
    for (int k = 0; k < 4; ++k)
        Box(RichEdit[1 + k], Stellen[k]);
    if (m_rest)
        for (int k = 0; k < 4; ++k)
            Box(RichEditE[1 + k], Summe[k]);
    if (Alle) {
        Muster::Urteil(LabelP1, QStringLiteral("Sehr gut, weiter so."), RGB(0, 255, 0));
        BitBtnP1->Font()->SetColor(RGB(0, 200, 0));
    } else {
        Muster::Urteil(LabelP1, QStringLiteral("Leider falsch."), RGB(255, 0, 0));
        BitBtnP1->Font()->SetColor(RGB(255, 0, 0));
    }
}

void TDivisionsform::BitBtn7Click(TObject* Sender) {
    SchemaPruefen(Sender);
}

void TDivisionsform::BitBtn21Click(TObject* Sender) {
    for (int z = 1; z <= 15; ++z)
        if (Hinweis[z] && Sender == BitBtn[z <= 14 ? HinweisZeilen[z].Knopf : 37])
            Hinweis[z]->SetVisible(true);
}

void TDivisionsform::BitBtn20Click(TObject*) {
    const auto Setzen = [this](int n, int Wert) { RichEdit[n]->Lines()->SetText(N(Wert)); };
    Setzen(18, Z.q1);
    Setzen(5, Z.p1);
    Setzen(6, Z.r1);
    Setzen(7, Z.H);
    Setzen(19, Z.q2);
    if (Z.p2t != 0) Setzen(8, Z.p2t);
    Setzen(9, Z.p2o);
    Setzen(10, Z.r2);
    Setzen(11, Z.Z);
    Setzen(20, Z.q3);
    if (Z.p3t != 0) Setzen(12, Z.p3t);
    Setzen(13, Z.p3o);
    Setzen(14, Z.r3);
    Setzen(15, Z.E);
    if (Z.p4t != 0) Setzen(16, Z.p4t);
    Setzen(17, Z.p4o);
    Setzen(21, Z.q4);
    if (m_rest) {
        Setzen(22, Z.R);
        Setzen(23, Z.R);
    }
    for (int k = 7; k <= 17; ++k)
        BitBtn7Click(BitBtn[k]);
    if (m_rest) BitBtn7Click(BitBtn[36]);
    PanelK1->SetVisible(false);
}

void TDivisionsform::BitBtn35Click(TObject*) {
    PanelK1->SetVisible(true);
    Muster::Fokus(RichEdit[1]);
}

void TDivisionsform::BitBtnP1Click(TObject*) {
    KontrollePruefen();
}

void TDivisionsform::BitBtnHilfeClick(TObject* Sender) {
    for (int s = 1; s <= 4; ++s)
        if (Sender == HilfeKnopf[s]) {
            HilfePanel[s]->SetVisible(true);
            ErgebnisKnopf[s]->SetVisible(true);
        }
}

void TDivisionsform::BitBtnErgebnisClick(TObject* Sender) {
    int Stellen[4];
    ZiffernZerlegen(Z.P, Stellen[3], Stellen[2], Stellen[1], Stellen[0]);
    int s = 0;
    for (int k = 1; k <= 5; ++k)
        if (Sender && Sender == ErgebnisKnopf[k]) s = k;
    if (s == 0) return;
    if (s == 5) {
        int Summe[4];
        ZiffernZerlegen(Z.S, Summe[3], Summe[2], Summe[1], Summe[0]);
        for (int k = 0; k < 4; ++k)
            RichEditE[1 + k]->Lines()->SetText(N(Summe[k]));
    } else {
        RichEdit[s]->Lines()->SetText(N(Stellen[s - 1]));
        if (s == 3 && !HilfeKnopf[4]->Visible() && Stellen[3] >= 1)
            RichEdit[4]->Lines()->SetText(N(Stellen[3]));
    }
    KontrollePruefen();
}
