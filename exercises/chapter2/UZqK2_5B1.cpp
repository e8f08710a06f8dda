#include "exercises/chapter2/UZqK2_5B1.h"

#include "exercises/chapter2/UGeldBilder.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

#include <algorithm>
#include <cmath>

TWechselZustand ZqK2_5B1;

using namespace GeldBilder;

TZqK2_5B1::TZqK2_5B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_5B1"));
    SetCaption(QStringLiteral("Abschnitt 2.5   Übung 2"));

    BildSichtbar = Zeichenbild(this, nullptr, QStringLiteral("BildSichtbar"), 0, 0, 688, 249);
    GeldBilderAnlegen(this, BildTheke, Bild, Muenzbild, MuenzGrau, Schein, ScheinGrau);
    // The tray stays hidden here.
    for (int i = 0; i < GeldstueckAnzahl; ++i) {
        const TGeldstueck& g = Geldstuecke[i];
        Tablett[i] = GeldBild(this, QString::fromLatin1(g.Tablett), g.Breite, g.Hoehe);
        Tablett[i]->SetBounds(g.Links, g.Oben, g.Breite, g.Hoehe);
        Tablett[i]->OnClick = [this](TObject* s) { Image1CentClick(s); };
    }

    // Line 1: the money on the desk. Box and texts follow each other by the
    // width of the bold texts, so that no box covers a word.
    const auto Danach = [](const TControl* c, int Abstand) { return c->Left() + c->Width() + Abstand; };
    Label3 = Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Tobias hat"), 8, 296,
                          QStringLiteral("Tahoma"), -19, clBlack, true);
    RichEdit1 = Antwortbox(this, nullptr, QStringLiteral("RichEdit1"), Danach(Label3, 8), 290, 120);
    Label2 = Beschriftung(this, nullptr, QStringLiteral("Label2"), QStringLiteral("€"), Danach(RichEdit1, 6),
                          296, QStringLiteral("Tahoma"), -19, clBlack, true);
    Label1 = Beschriftung(this, nullptr, QStringLiteral("Label1"),
                          QStringLiteral("auf seinem Schreibtisch liegen."), Danach(Label2, 8), 296,
                          QStringLiteral("Tahoma"), -19, clBlack, true);
    // The buttons of both lines stand in one column after the longer line.
    const int Knoepfe = std::max(560, Danach(Label1, 8));
    BitBtnP1 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), Knoepfe, 290, 90, 33);
    BitBtnErgebnis = Knopf(this, nullptr, QStringLiteral("BitBtnErgebnis"), QStringLiteral("Ergebnis"),
                           Knoepfe + 96, 290, 100, 33);
    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 8, 260, 748);

    StaticText1 = new TStaticText(this);
    StaticText1->SetName(QStringLiteral("StaticText1"));
    StaticText1->SetParent(B_ScrollBox);
    StaticText1->SetAutoSize(false);
    StaticText1->SetParentFont(false);
    StaticText1->Font()->SetName(QStringLiteral("Tahoma"));
    StaticText1->Font()->SetHeight(-19);
    StaticText1->Font()->SetStyle(fsBold);
    StaticText1->SetBounds(8, 336, 748, 28);
    StaticText1->SetCaption(QString());

    Label4 = Beschriftung(this, nullptr, QStringLiteral("Label4"),
                          QStringLiteral("Welchen Geldbetrag hat Tobias nach seinem Einkauf noch übrig ?"), 8,
                          370, QStringLiteral("Tahoma"), -19, clBlack, true);
    LabelP2 = Urteilslabel(this, nullptr, QStringLiteral("LabelP2"), 8, 400, 748);
    LabelP2->SetAlignment(taCenter);

    // Line 2: the change.
    Label6 = Beschriftung(this, nullptr, QStringLiteral("Label6"),
                          QStringLiteral("Nach seinem Einkauf hat Tobias noch"), 8, 440,
                          QStringLiteral("Tahoma"), -19, clBlack, true);
    RichEdit2 = Antwortbox(this, nullptr, QStringLiteral("RichEdit2"), Danach(Label6, 8), 434, 120);
    Label5 = Beschriftung(this, nullptr, QStringLiteral("Label5"), QStringLiteral("€."), Danach(RichEdit2, 6),
                          440, QStringLiteral("Tahoma"), -19, clBlack, true);
    BitBtnP2 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP2"), QStringLiteral("prüfen"), Knoepfe, 434, 90, 33);
    BitBtnHilfe = Knopf(this, nullptr, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe"), Knoepfe + 96,
                        434, 100, 33);

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 8, 480, 748, 100, TColor(8454143));
    Panel1->SetVisible(false);
    Label7 = Beschriftung(this, Panel1, QStringLiteral("Label7"), QStringLiteral("Rechne:"), 8, 10);
    Label8 = Beschriftung(this, Panel1, QStringLiteral("Label8"), QString(), 100, 10);
    Label9 = Beschriftung(this, Panel1, QStringLiteral("Label9"), QStringLiteral("-"), 180, 10,
                          QStringLiteral("Symbol"));
    Label10 = Beschriftung(this, Panel1, QStringLiteral("Label10"), QString(), 200, 10);
    Label11 = Beschriftung(this, Panel1, QStringLiteral("Label11"), QStringLiteral("Alternative:"), 8, 50);
    Label12 = Beschriftung(this, Panel1, QStringLiteral("Label12"), QString(), 100, 50);
    BitBtn3 = Knopf(this, Panel1, QStringLiteral("BitBtn3"), QStringLiteral("Ergebnis"), 640, 60, 100, 33);

    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName(QStringLiteral("CheckBox1"));
    CheckBox1->SetParent(B_ScrollBox);
    CheckBox1->SetParentFont(false);
    CheckBox1->Font()->SetName(QStringLiteral("Tahoma"));
    CheckBox1->Font()->SetHeight(-16);
    // Below the help panel: beside the desk the keypad leaves too little room.
    CheckBox1->SetBounds(8, 590, 200, 24);
    CheckBox1->SetCaption(QStringLiteral("leichtere Aufgaben"));
    CheckBox1->SetChecked(false);
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };

    for (TRichEdit* b : {RichEdit1, RichEdit2}) {
        BoxVerbinden(b, 2, [this](TObject* s) { AntwortPruefen(s); });
        // Amounts are written with a decimal comma.
        b->OnChange = [b](TObject*) { EingabeFormatierenKomma2(b); };
    }
    for (TBitBtn* k : {BitBtnP1, BitBtnP2})
        k->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    for (TBitBtn* k : {BitBtnErgebnis, BitBtn3})
        k->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    BitBtnHilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
}

void TZqK2_5B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK2_5B1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    Panel1->SetVisible(false);
    Muster::PaarLeeren({RichEdit1, BitBtnP1, LabelP1, BitBtnErgebnis});
    Muster::PaarLeeren({RichEdit2, BitBtnP2, LabelP2, BitBtn3});
    AufgabeErzeugen();
    Muster::Fokus(RichEdit1);
    TischZeichnen();
    GrauKopienErneuern(Ansicht());
}

void TZqK2_5B1::CheckBox1Click(TObject*) {
    NeueAufgabe();
}

int TZqK2_5B1::TischBetrag() const {
    int s = 0;
    for (int i = 0; i < GeldstueckAnzahl; ++i)
        if (ZqK2_5B1.AufTisch[i]) s += Geldstuecke[i].Cent;
    return s;
}

void TZqK2_5B1::AufgabeErzeugen() {
    TWechselZustand& Z = ZqK2_5B1;
    const bool Leichter = CheckBox1->Checked();
    for (;;) {
        for (bool& b : Z.AufTisch)
            b = Zufallsentscheidung(0.5);
        Z.Tisch = TischBetrag();
        // Below 4 ct there is no price that leaves change: draw the desk again.
        if (Z.Tisch < 4) continue;
        Z.Preis = Runtime::Random(Z.Tisch - 3);
        Z.Restgeld = Z.Tisch - Z.Preis;
        if (!Leichter || Z.Restgeld % 100 == 0) break;
    }
    TexteSetzen();
}

void TZqK2_5B1::TexteSetzen() {
    const TWechselZustand& Z = ZqK2_5B1;
    StaticText1->SetCaption(QStringLiteral("Für einen Einkauf bezahl er ") + ZweiStellen(Z.Preis) +
                            QStringLiteral(" €."));
    Label8->SetCaption(ZweiStellen(Z.Tisch) + QStringLiteral(" €"));
    Label10->SetCaption(ZweiStellen(Z.Preis) + QStringLiteral(" € = Restgeld"));
    // The subtraction closes up behind the total, whose width varies.
    Label9->SetLeft(Label8->Left() + Label8->Width() + Skaliert(8));
    Label10->SetLeft(Label9->Left() + Label9->Width() + Skaliert(8));
    Label12->SetCaption(ZweiStellen(Z.Preis) + QStringLiteral(" € + Restgeld = ") + ZweiStellen(Z.Tisch) +
                        QStringLiteral(" €"));
}

void TZqK2_5B1::AntwortPruefen(TObject* Sender) {
    if (!Sender) return;
    if (Sender == RichEdit1 || Sender == BitBtnP1)
        Muster::PaarPruefen({RichEdit1, BitBtnP1, LabelP1, nullptr}, ZahlAlsText(ZqK2_5B1.Tisch / 100.0), 25,
                            2);
    else if (Sender == RichEdit2 || Sender == BitBtnP2)
        Muster::PaarPruefen({RichEdit2, BitBtnP2, LabelP2, nullptr}, ZahlAlsText(ZqK2_5B1.Restgeld / 100.0),
                            25, 2);
}

void TZqK2_5B1::BitBtnP1Click(TObject* Sender) {
    AntwortPruefen(Sender);
}

void TZqK2_5B1::BitBtnErgebnisClick(TObject* Sender) {
    if (Sender == BitBtnErgebnis) {
        RichEdit1->Lines()->SetText(BetragAlsText(ZqK2_5B1.Tisch / 100.0));
        AntwortPruefen(BitBtnP1);
    } else if (Sender == BitBtn3) {
        RichEdit2->Lines()->SetText(BetragAlsText(ZqK2_5B1.Restgeld / 100.0));
        AntwortPruefen(BitBtnP2);
    }
}

void TZqK2_5B1::BitBtnHilfeClick(TObject*) {
    Panel1->SetVisible(true);
    Muster::Fokus(RichEdit2);
}

void TZqK2_5B1::Image1CentClick(TObject* Sender) {
    for (int i = 0; i < GeldstueckAnzahl; ++i)
        if (Tablett[i] == Sender) {
            ZqK2_5B1.AufTisch[i] = !ZqK2_5B1.AufTisch[i];
            TischZeichnen();
            return;
        }
}

TGeldAnsicht TZqK2_5B1::Ansicht() const {
    return {Tablett, Muenzbild, MuenzGrau, Schein, ScheinGrau, BildTheke, Bild, BildSichtbar};
}

void TZqK2_5B1::TischZeichnen() {
    int r = 0, g = 0, b = 0;
    FarbeInRGB(Color(), r, g, b);
    GeldZeichnen(Ansicht(), ZqK2_5B1.AufTisch, r, g, b);
}
