#include "exercises/chapter1/UZqK1_1B1.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "exercises/chapter1/UZahlenstrahl.h"
#include "platform/Runtime.h"

TVergleichZustand ZqK1_1B1;

namespace {

struct TFesteAufgabe {
    int A;
    const char* TextA; // nullptr: A with digit groups
    int B;
    const char* TextB;
};

const TFesteAufgabe FesteAufgaben[8] = {
    {130000, nullptr, 360000, nullptr},
    {256114, nullptr, 265482, nullptr},
    {480000, nullptr, 196733, nullptr},
    {300000, "2 · 150 000", 100000, "500 000 / 5"},
    {140000, "Das 7 - fache von 20 000.", 140000, "Die Hälfte von 280 000."},
    {100000, "Das 3 - fache von 60 000,\r vermindert um 80 000.", 140000, nullptr},
    {240000, "Der Dritte Teil von 720 000.", 240000, "Das Vierfache von 60 000."},
    {249712, "2 · 124 856", 312680, "136 268 + 176 412"},
};

} // namespace

TZqK1_1B1::TZqK1_1B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_1B1"));
    SetCaption(QStringLiteral("Abschnitt 1.1   Übung 3"));
    Label1 = Titel(this, QStringLiteral("Vergleich durch kleiner ( < ), gleich ( = ) oder größer ( > )"));
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 24, 777, 473, FarbeAufgabenfeld);
    // The page fills the panel, so that the 767 pixels of the number line fit.
    PageControl1 = Seiten(this, Panel1, QStringLiteral("PageControl1"), 0, 0, 777, 473);
    TabSheet1 = Seite(this, PageControl1, QStringLiteral("TabSheet1"));
    TabSheet1->SetColor(FarbeAufgabenfeld);
    Image1 = Zeichenbild(this, TabSheet1, QStringLiteral("Image1"), 0, 0, 767, 124);
    Label2 = Beschriftung(this, TabSheet1, QStringLiteral("Label2"),
                          QStringLiteral("Welche Beziehung ist richtig ? Entscheide dich für eines der 3 "
                                         "Zeichen ( \"<\", \"=\", \">\" )."),
                          24, 132);
    Panel4 = Feld(this, TabSheet1, QStringLiteral("Panel4"), 24, 160, 287, 84, clWhite);
    LabelZ1 = Beschriftung(this, Panel4, QStringLiteral("LabelZ1"), QString(), 8, 17,
                           QStringLiteral("Tahoma"), -19, clNavy, true);
    LabelZ1->SetAutoSize(false);
    LabelZ1->SetWordWrap(true);
    LabelZ1->SetBounds(8, 17, 271, 50);
    Panel5 = Feld(this, TabSheet1, QStringLiteral("Panel5"), 464, 160, 287, 84, clWhite);
    LabelZ2 = Beschriftung(this, Panel5, QStringLiteral("LabelZ2"), QString(), 8, 17,
                           QStringLiteral("Tahoma"), -19, clGreen, true);
    LabelZ2->SetAutoSize(false);
    LabelZ2->SetWordWrap(true);
    LabelZ2->SetBounds(8, 17, 271, 50);
    Label4 = Beschriftung(this, TabSheet1, QStringLiteral("Label4"), QString(), 370, 168,
                          QStringLiteral("Tahoma"), -48, clBlack, true);
    LabelP1 = Urteilslabel(this, TabSheet1, QStringLiteral("LabelP1"), 24, 256, 727, 28);
    LabelP1->SetAlignment(taCenter);
    BitBtn3 = Knopf(this, TabSheet1, QStringLiteral("BitBtn3"), QStringLiteral("<"), 200, 296, 96, 52, -32);
    BitBtn4 = Knopf(this, TabSheet1, QStringLiteral("BitBtn4"), QStringLiteral("="), 336, 296, 96, 52, -32);
    BitBtn5 = Knopf(this, TabSheet1, QStringLiteral("BitBtn5"), QStringLiteral(">"), 472, 296, 96, 52, -32);
    BitBtn6 = Knopf(this, TabSheet1, QStringLiteral("BitBtn6"), QStringLiteral("Hilfe"), 624, 296, 112, 52);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };
    BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
    BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
    Panel3 = Hilfefeld(
        this, TabSheet1, QStringLiteral("Panel3"), 24, 360, 727,
        {QStringLiteral(
             "Ist A < B, so befindet sich A links von B auf dem Zahlenstrahl. Beispiel: A = 500 000 < B = "
             "1 000 000."),
         QStringLiteral("Ist A = B, so befinden sich A und B an der gleichen Stelle auf dem Zahlenstrahl."),
         QStringLiteral("Beispiel: A = 2 · 10 = 20 und B = 40 / 2 = 20. Also gilt: A = 20 = B = 20"),
         QStringLiteral(
             "Ist A > B, so befindet sich A rechts von B auf dem Zahlenstrahl. Beispiel: A = 500 000 > B = "
             "100 000.")},
        -14);
    Panel3->SetVisible(true);
    Punkte = Muster::Punkte(this, nullptr, 208, 504);
}

void TZqK1_1B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_Tastatur->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_1B1 = TVergleichZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_1B1::NeueAufgabe() {
    Aufgabenanzahl = 99;
    TAufgabeg::NeueAufgabe();
    TVergleichZustand& Z = ZqK1_1B1;
    Label4->SetCaption(QString());
    Z.Gezeigt = false;
    Z.Index = Z.Index >= 99 ? 1 : Z.Index + 1;
    Muster::Urteil(LabelP1, QStringLiteral("Klicke mit der Maus auf einen der 3 Buttons."), FarbeHinweis);
    Z.Erster = true;
    Aufgabe();
    Zeichnen();
}

void TZqK1_1B1::Aufgabe() {
    TVergleichZustand& Z = ZqK1_1B1;
    LabelZ1->SetTop(Skaliert(17));
    LabelZ2->SetTop(Skaliert(17));
    PageControl1->SetActivePage(TabSheet1);
    Z.A = Runtime::Random(970000) + 30000;
    Z.B = Runtime::Random(970000) + 30000;
    QString TextA = ZahlGegliedert(Z.A);
    QString TextB = ZahlGegliedert(Z.B);
    if (Z.Index >= 1 && Z.Index <= 8) {
        const TFesteAufgabe& F = FesteAufgaben[Z.Index - 1];
        Z.A = F.A;
        Z.B = F.B;
        TextA = F.TextA ? QString::fromUtf8(F.TextA) : ZahlGegliedert(Z.A);
        TextB = F.TextB ? QString::fromUtf8(F.TextB) : ZahlGegliedert(Z.B);
        // The two-line text needs the room above.
        if (Z.Index == 6) LabelZ1->SetTop(Skaliert(4));
    }
    LabelZ1->SetCaption(TextA);
    LabelZ2->SetCaption(TextB);
}

void TZqK1_1B1::Zeichnen() {
    const TVergleichZustand& Z = ZqK1_1B1;
    ZahlenstrahlZeichnen(Image1, 80, QStringLiteral("100 000"), QStringLiteral("500 000"),
                         QStringLiteral("1 000 000"));
    if (Z.Gezeigt) {
        TCanvas* c = Image1->Canvas();
        const int XA = ZahlenstrahlX(Z.A, 10000);
        const int XB = ZahlenstrahlX(Z.B, 10000);
        TextAusgebenLokal(XA + 1, 40, 0, 0, 255, 255, 255, 255, ZahlGegliedert(Z.A), 'T', 16, true, true,
                          Image1);
        c->Pen()->SetWidth(2);
        LinieBreitZeichnen(XA, 80, XA, 50, 0, 0, 255, true, Image1);
        TextAusgebenLokal(XB + 1, 10, 0, 130, 0, 255, 255, 255, ZahlGegliedert(Z.B), 'T', 16, true, true,
                          Image1);
        LinieBreitZeichnen(XB, 80, XB, 20, 0, 130, 0, true, Image1);
        c->Pen()->SetWidth(1);
    }
    Punkte.Zeigen(Z.richtig, Z.falsch);
}

void TZqK1_1B1::Entscheiden(const QString& Zeichen, bool Stimmt) {
    TVergleichZustand& Z = ZqK1_1B1;
    Label4->SetCaption(Zeichen);
    if (Stimmt) {
        Muster::Urteil(LabelP1, QStringLiteral("Sehr gut. Die Beziehung stimmt."), FarbeUrteilRichtig);
        Z.Gezeigt = true;
        Zeichnen();
        if (Z.Erster) ++Z.richtig;
    } else {
        Muster::Urteil(LabelP1, QStringLiteral("Die Beziehung stimmt nicht."), FarbeUrteilFalsch);
        if (Z.Erster) ++Z.falsch;
    }
    Punkte.Zeigen(Z.richtig, Z.falsch);
    Z.Erster = false;
}

void TZqK1_1B1::BitBtn3Click(TObject*) {
    Entscheiden(QStringLiteral("<"), ZqK1_1B1.A < ZqK1_1B1.B);
}

void TZqK1_1B1::BitBtn4Click(TObject*) {
    Entscheiden(QStringLiteral("="), ZqK1_1B1.A == ZqK1_1B1.B);
}

void TZqK1_1B1::BitBtn5Click(TObject*) {
    Entscheiden(QStringLiteral(">"), ZqK1_1B1.A > ZqK1_1B1.B);
}

void TZqK1_1B1::BitBtn6Click(TObject*) {
    ZqK1_1B1.Erster = false;
    ZqK1_1B1.Gezeigt = true;
    Zeichnen();
}
