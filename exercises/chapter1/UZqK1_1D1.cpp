#include "exercises/chapter1/UZqK1_1D1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "platform/Keys.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

#include <algorithm>
#include <cmath>

TRennenZustand ZqK1_1D1;

namespace {

constexpr double Tempo[7] = {0.05, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0};
// The free bounds stay where sums, differences and products remain exact.
constexpr int GrenzeMin = 0, GrenzeMax = 99999;

long long Zwischen(int Von, int Bis) {
    const int lo = std::min(Von, Bis), hi = std::max(Von, Bis);
    return lo + Runtime::Random(hi - lo + 1);
}

TRadioGroup* Auswahl(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Titel,
                     const QStringList& Punkte, int Links, int Oben, int Breite, int Hoehe, int Index) {
    auto* r = new TRadioGroup(Form);
    r->SetName(Name);
    r->SetParent(Parent);
    r->SetBounds(Links, Oben, Breite, Hoehe);
    r->SetCaption(Titel);
    for (const QString& p : Punkte)
        r->Items()->Add(p);
    r->SetItemIndex(Index);
    return r;
}

} // namespace

TZqK1_1D1::TZqK1_1D1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_1D1"));
    SetCaption(QStringLiteral("Abschnitt 1.1   Übung 5"));
    Label1 = Titel(this, QStringLiteral("Das Schwanenrennen"));
    RadioGroup1 = Auswahl(this, B_ScrollBox, QStringLiteral("RadioGroup1"),
                          QStringLiteral("leicht      Geschwindigkeit Gegner    schwer"),
                          {"1", "2", "3", "4", "5", "6", "7"}, 300, 0, 360, 40, 2);
    RadioGroup1->SetColumns(7);
    Image1 = Zeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 40, 777, 209);
    ImageSchwan = Bild(this, nullptr, QStringLiteral("ImageSchwan"), 0, 0, 100, 51);
    ImageSchwan->SetVisible(false);
    if (!BildLaden(ImageSchwan, QStringLiteral("schwan.png")))
        ImageSchwan->Canvas(); // a white picture of the swan's size
    Panel3 = Hilfefeld(
        this, nullptr, QStringLiteral("Panel3"), 40, 52, 697,
        {QStringLiteral("Löse die Aufgabe und dein Schwan bewegt sich in Richtung Ziel."),
         QStringLiteral("Durch Betätigen der Return - Taste oder Klick auf prüfen wird deine Eingabe "
                        "geprüft."),
         QStringLiteral("Stimmt deine Eingabe, so bekommst du einen Punkt und eine neue Aufgabe."),
         QStringLiteral("Für ein falsches Ergebnis wird dir ein Punkt abgezogen."),
         QStringLiteral("Der Schwan, der zuerst das Ziel erreicht, hat gewonnen."),
         QStringLiteral("Falls du noch nicht soviel Übung im Rechnen hast und mehr Zeit benötigst, "
                        "kannst du"),
         QStringLiteral("einen leichteren Gegner der Stufe 1 oder 2 wählen."),
         QStringLiteral("Wenn du bereit bist, klicke auf Start. Viel Spaß !")},
        -14, 22);

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 250, 777, 250, FarbeAufgabenfeld);
    Paar1.Urteil = Urteilslabel(this, Panel1, QStringLiteral("LabelP1"), 16, 8, 468, 28);
    PanelZ1 = Feld(this, Panel1, QStringLiteral("PanelZ1"), 16, 44, 77, 57, clWhite);
    Label4 = Beschriftung(this, Panel1, QStringLiteral("Label4"), QStringLiteral("+"), 100, 52,
                          QStringLiteral("Tahoma"), -32, clBlack, true);
    PanelZ2 = Feld(this, Panel1, QStringLiteral("PanelZ2"), 140, 44, 77, 57, clWhite);
    Label3 = Beschriftung(this, Panel1, QStringLiteral("Label3"), QStringLiteral("="), 226, 52,
                          QStringLiteral("Tahoma"), -32, clBlack, true);
    for (TPanel* p : {PanelZ1, PanelZ2}) {
        p->SetParentFont(false);
        p->Font()->SetName(QStringLiteral("Tahoma"));
        p->Font()->SetHeight(-32);
        p->Font()->SetStyle(fsBold);
    }
    Paar1.Box = Antwortbox(this, Panel1, QStringLiteral("RichEdit1"), 258, 44, 129, 57);
    Paar1.Box->Font()->SetHeight(-32);
    Paar1.Pruefen =
        Knopf(this, Panel1, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 396, 44, 88, 57);
    PaarVerbinden(Paar1, 3, [this](TObject* s) { BitBtnP1Click(s); });
    Paar1.Box->OnKeyPress = [this](TObject* s, char16_t& Key) { RichEdit1KeyPress(s, Key); };
    StaticText1 = new TStaticText(this);
    StaticText1->SetName(QStringLiteral("StaticText1"));
    StaticText1->SetParent(Panel1);
    StaticText1->SetParentFont(false);
    StaticText1->Font()->SetName(QStringLiteral("Tahoma"));
    StaticText1->Font()->SetHeight(-24);
    StaticText1->Font()->SetStyle(fsBold);
    StaticText1->SetBounds(500, 56, 200, 30);
    StaticText1->SetCaption(QStringLiteral("Punkte: 0"));

    RadioWas =
        Auswahl(this, Panel1, QStringLiteral("RadioWas"), QStringLiteral("Was möchtest du trainieren ?"),
                {QStringLiteral("Addition"), QStringLiteral("Addition / Subtraktion"),
                 QStringLiteral("Multiplikation")},
                16, 112, 240, 120, 0);
    RadioBereich = Auswahl(this, Panel1, QStringLiteral("RadioBereich"), QStringLiteral("Zahlenbereich"),
                           {QStringLiteral("einfach"), QStringLiteral("mittel"), QStringLiteral("schwer"),
                            QStringLiteral("frei wählbar")},
                           268, 112, 180, 120, 0);
    Panel2 = Feld(this, Panel1, QStringLiteral("Panel2"), 460, 112, 300, 120, FarbeAufgabenfeld);
    Beschriftung(this, Panel2, QStringLiteral("Label7"), QStringLiteral("a"), 110, 6,
                 QStringLiteral("Tahoma"), -19);
    Label6 = Beschriftung(this, Panel2, QStringLiteral("Label6"), QStringLiteral("+"), 130, 6,
                          QStringLiteral("Tahoma"), -19);
    Beschriftung(this, Panel2, QStringLiteral("Label8"), QStringLiteral("b"), 160, 6,
                 QStringLiteral("Tahoma"), -19);
    const char* Texte[4] = {"a : von", "bis", "b : von", "bis"};
    for (int i = 0; i < 4; ++i) {
        const int x = i % 2 == 0 ? 8 : 160, y = i < 2 ? 40 : 78;
        Beschriftung(this, Panel2, QStringLiteral("Label%1").arg(9 + i), QString::fromLatin1(Texte[i]), x,
                     y + 6, QStringLiteral("Tahoma"), -16);
        Grenze[i] = Antwortbox(this, Panel2, QStringLiteral("RichEdit%1").arg(2 + i),
                               x + (i % 2 == 0 ? 64 : 34), y, 90, 33);
        TRichEdit* Box = Grenze[i];
        Box->OnChange = [Box](TObject*) { EingabeFormatieren3(Box); };
        Box->OnKeyUp = [this](TObject* s, uint16_t& Key, TShiftState Shift) {
            RichEdit2KeyUp(s, Key, Shift);
        };
    }

    Timer1 = new TTimer(this);
    Timer1->SetName(QStringLiteral("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(20);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    // Bound after the start values, so that they start nothing.
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    RadioWas->OnClick = [this](TObject* s) { RadioWasClick(s); };
    RadioBereich->OnClick = [this](TObject* s) { RadioWasClick(s); };
    OnClose = [this](TObject*, TCloseAction&) { Timer1->SetEnabled(false); };
}

double TZqK1_1D1::Gegnertempo() const {
    const int i = RadioGroup1->ItemIndex();
    return i >= 0 && i < 7 ? Tempo[i] : Tempo[2];
}

void TZqK1_1D1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    B_NeueAufgabe->SetCaption(QStringLiteral("Start"));
    TAufgabeg::FormActivate(Sender);
    ZqK1_1D1 = TRennenZustand{};
    Timer1->SetEnabled(false);
    // Activation always ends in the waiting state, also after a race was cut
    // short by closing the form.
    B_NeueAufgabe->SetEnabled(true);
    Runtime::Randomize();
    NaechsteAufgabe(true);
    const int Werte[4] = {ZqK1_1D1.aVon, ZqK1_1D1.aBis, ZqK1_1D1.bVon, ZqK1_1D1.bBis};
    for (int i = 0; i < 4; ++i)
        Grenze[i]->Lines()->SetText(QString::number(Werte[i]));
    Panel2->SetVisible(false);
    Panel3->SetVisible(true);
}

void TZqK1_1D1::NeueAufgabe() {
    TRennenZustand& Z = ZqK1_1D1;
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    Z.Punkte = 0;
    Z.Ausgang.clear();
    PunkteZeigen();
    Paar1.Box->SetEnabled(true);
    Paar1.Pruefen->SetEnabled(true);
    Paar1.Box->Clear();
    B_NeueAufgabe->SetEnabled(false);
    Timer1->SetEnabled(true);
    Z.SpielerX = Z.ComputerX = Z.SpielerV = 0;
    Zeichnen();
    Muster::Fokus(Paar1.Box);
    Paar1.Urteil->SetCaption(QString());
    Panel3->SetVisible(false);
}

void TZqK1_1D1::NaechsteAufgabe(bool Zuruecksetzen) {
    TRennenZustand& Z = ZqK1_1D1;
    if (Zuruecksetzen) {
        Z.SpielerX = Z.ComputerX = Z.SpielerV = 0;
        Z.Ausgang.clear();
        Paar1.Pruefen->SetEnabled(false);
        Paar1.Box->SetEnabled(false);
        Timer1->SetInterval(20);
        Z.Punkte = 0;
        PunkteZeigen();
    }
    Paar1.Box->Clear();
    Paar1.Urteil->SetCaption(QString());
    AufgabeMachen();
    Zeichnen();
}

void TZqK1_1D1::AufgabeMachen() {
    TRennenZustand& Z = ZqK1_1D1;
    const int Bereich = RadioBereich->ItemIndex();
    const bool Frei = Bereich == 3;
    const auto Ziehen = [&](int Einfach, int Mittel, int Schwer) {
        if (Frei) {
            Z.a = Zwischen(Z.aVon, Z.aBis);
            Z.b = Zwischen(Z.bVon, Z.bBis);
            return;
        }
        const int n = Bereich == 1 ? Mittel : (Bereich == 2 ? Schwer : Einfach);
        Z.a = Runtime::Random(n);
        Z.b = Runtime::Random(n);
    };
    switch (RadioWas->ItemIndex()) {
    case 1: {
        Ziehen(11, 100, 1000);
        if (!Frei && Z.a < Z.b) std::swap(Z.a, Z.b);
        const bool Plus = Zufallsentscheidung(0.5);
        // The free range too must not give a negative difference.
        if (!Plus && Z.a < Z.b) std::swap(Z.a, Z.b);
        Label4->SetCaption(Plus ? QStringLiteral("+") : QStringLiteral("-"));
        Label6->SetCaption(QStringLiteral("±"));
        Z.Ergebnis = Plus ? Z.a + Z.b : Z.a - Z.b;
        break;
    }
    case 2:
        if (Frei) {
            Ziehen(0, 0, 0);
        } else {
            Z.a = Runtime::Random(Bereich == 2 ? 20 : 11);
            Z.b = Runtime::Random(Bereich == 0 ? 11 : 20);
        }
        Label4->SetCaption(QStringLiteral(" ×"));
        Label6->SetCaption(QStringLiteral(" ×"));
        Z.Ergebnis = Z.a * Z.b;
        break;
    default:
        Ziehen(21, 100, 1000);
        Label4->SetCaption(QStringLiteral("+"));
        Label6->SetCaption(QStringLiteral("+"));
        Z.Ergebnis = Z.a + Z.b;
        break;
    }
    PanelZ1->SetCaption(QString::number(Z.a));
    PanelZ2->SetCaption(QString::number(Z.b));
    Muster::Fokus(Paar1.Box);
}

void TZqK1_1D1::Zeichnen() {
    TRennenZustand& Z = ZqK1_1D1;
    TCanvas* c = Image1->Canvas();
    const int W = BildBreite(Image1), H = BildHoehe(Image1);
    const TGraphic* Schwan = ImageSchwan->Picture()->Graphic();
    const int w = ImageSchwan->Picture()->Width(), h = ImageSchwan->Picture()->Height();
    BildFuellen(255, 255, 255, Image1);
    TextObenLinks(0, 0, 0, 0, 0, QStringLiteral("Spieler"), 'T', 16, true, Image1);
    TextObenLinks(0, 120, 0, 0, 0, QStringLiteral("Computer"), 'T', 16, true, Image1);
    if (Schwan) {
        c->StretchDraw(
            Rect(static_cast<int>(Trunc(Z.SpielerX)), 30, static_cast<int>(Trunc(w + Z.SpielerX)), 30 + h),
            *Schwan);
        c->StretchDraw(Rect(static_cast<int>(Trunc(Z.ComputerX)), 150,
                            static_cast<int>(Trunc(w + Z.ComputerX)), 150 + h),
                       *Schwan);
    }
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(3);
    c->MoveTo(W - 3, 10);
    c->LineTo(W - 3, H - 10);
    c->Pen()->SetWidth(1);
    TextObenLinks(W - 39, 0, 0, 0, 0, QStringLiteral("Ziel"), 'T', 16, true, Image1);

    const double Ziel = W - 3 - w;
    if (Z.SpielerX < Ziel && Z.ComputerX < Ziel) return;
    Paar1.Box->SetEnabled(false);
    Paar1.Pruefen->SetEnabled(false);
    Timer1->SetEnabled(false);
    B_NeueAufgabe->SetEnabled(true);
    Z.Ausgang = Z.SpielerX >= Ziel ? QStringLiteral("Spieler hat gewonnen.")
                                   : QStringLiteral("Computer hat gewonnen.");
    TextObenLinks(300, 20, 0, 0, 0, QStringLiteral("Game Over !"), 'T', 36, true, Image1);
    TextObenLinks(200, 70, 0, 0, 0, Z.Ausgang, 'T', 36, true, Image1);
}

void TZqK1_1D1::PunkteZeigen() {
    StaticText1->SetCaption(QStringLiteral("Punkte: ") + QString::number(ZqK1_1D1.Punkte));
}

void TZqK1_1D1::RichEdit1KeyPress(TObject* Sender, char16_t& Key) {
    // The operators would only change the number.
    if (Key == u'*' || Key == u'+' || Key == u'-') {
        Key = 0;
        return;
    }
    bool Enter = false;
    TasteFiltern3(Key, Enter, Paar1.Box);
    if (Enter) {
        Key = 0;
        BitBtnP1Click(Sender);
    }
}

void TZqK1_1D1::BitBtnP1Click(TObject*) {
    TRennenZustand& Z = ZqK1_1D1;
    const bool Leer = Muster::Antwort(Paar1.Box).trimmed().isEmpty();
    if (Muster::PaarPruefen(Paar1, QString::number(Z.Ergebnis), 50, 3)) {
        NaechsteAufgabe(false);
        Z.SpielerV += 1.0;
        ++Z.Punkte;
    } else if (Z.Punkte >= 1 && !Leer) {
        --Z.Punkte;
    }
    PunkteZeigen();
}

void TZqK1_1D1::Timer1Timer(TObject*) {
    TRennenZustand& Z = ZqK1_1D1;
    Z.ComputerX += Gegnertempo();
    Z.SpielerX += Z.SpielerV;
    Z.SpielerV *= 0.99;
    Zeichnen();
}

void TZqK1_1D1::RadioGroup1Click(TObject*) {
    Timer1->SetInterval(20);
}

void TZqK1_1D1::RadioWasClick(TObject*) {
    AufgabeMachen();
    const bool Frei = RadioBereich->ItemIndex() == 3;
    Panel2->SetVisible(Frei);
    if (Frei) {
        Timer1->SetEnabled(false);
        NaechsteAufgabe(true);
        B_NeueAufgabe->SetEnabled(true);
    }
}

void TZqK1_1D1::RichEdit2KeyUp(TObject* Sender, uint16_t& Key, TShiftState) {
    TRennenZustand& Z = ZqK1_1D1;
    if (Timer1->Enabled()) {
        Timer1->SetEnabled(false);
        NaechsteAufgabe(true);
        B_NeueAufgabe->SetEnabled(true);
    }
    if (!(Key == 8 || (Key >= 10 && Key != 43 && Key != 45))) return;
    int* Ziel = nullptr;
    TRichEdit* Box = nullptr;
    int* Grenzen[4] = {&Z.aVon, &Z.aBis, &Z.bVon, &Z.bBis};
    for (int i = 0; i < 4; ++i)
        if (Sender == Grenze[i]) {
            Ziel = Grenzen[i];
            Box = Grenze[i];
        }
    if (!Ziel) return;
    const QString Text = Muster::Antwort(Box);
    double Wert = 0;
    if (Text.trimmed().isEmpty()) {
        *Ziel = 0;
    } else if (Muster::ZahltermWert(Text, Wert)) {
        // A bound outside the range is shown as the bound taken.
        const double Genommen = std::clamp(Wert, double(GrenzeMin), double(GrenzeMax));
        *Ziel = static_cast<int>(Round(Genommen));
        Box->Lines()->SetStrings(0, ZahlAlsText(Genommen == Wert ? Wert : *Ziel));
    }
    // Anything else keeps its text and the bound it had.
    AufgabeMachen();
}
