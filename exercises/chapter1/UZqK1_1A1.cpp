#include "exercises/chapter1/UZqK1_1A1.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "exercises/chapter1/UZahlenstrahl.h"
#include "platform/Runtime.h"

TZahlenstrahlZustand ZqK1_1A1;

namespace {

const TZahlenstrahlArt Art1A1 = {
    1000,
    "Abschnitt 1.1   Übung 1",
    "Eintragen oder Ablesen von Zahlen bis 100 000 auf dem Zahlenstrahl",
    {"10 000", "50 000", "100 000"},
    {"-10 000", "-1 000", "+1 000", "+10 000"},
};

QString Gruppen(long long v) {
    return ZahlGegliedert(static_cast<int>(v));
}

} // namespace

TZahlenstrahlForm::TZahlenstrahlForm(TComponent* AOwner, const TZahlenstrahlArt& Art,
                                     TZahlenstrahlZustand& Zustand)
    : TAufgabeg(AOwner), A(Art), Z(Zustand) {
    using namespace Muster;
    SetCaption(QString::fromUtf8(A.Caption));
    Label1 = Titel(this, QString::fromUtf8(A.Titel));
    Image1 = Zeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 24, 777, 192);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 216, 777, 273, FarbeAufgabenfeld);
    PageControl1 = Seiten(this, Panel1, QStringLiteral("PageControl1"), 4, 4, 769, 265);
    TabSheet1 = Seite(this, PageControl1, QStringLiteral("TabSheet1"));
    TabSheet2 = Seite(this, PageControl1, QStringLiteral("TabSheet2"));
    TabSheet1->SetColor(FarbeAufgabenfeld);
    TabSheet2->SetColor(FarbeAufgabenfeld);

    // Reading.
    Label2 = Beschriftung(this, TabSheet1, QStringLiteral("Label2"),
                          QStringLiteral("Wie lautet die gesuchte Zahl  ?"), 24, 24, QStringLiteral("Tahoma"),
                          -19);
    Paar1.Urteil = Urteilslabel(this, TabSheet1, QStringLiteral("LabelP1"), 24, 72, 465, 28);
    Paar1.Box = Antwortbox(this, TabSheet1, QStringLiteral("RichEdit1"), 24, 112, 257, 33);
    Paar1.Pruefen =
        Knopf(this, TabSheet1, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 296, 112, 105, 33);
    PaarVerbinden(Paar1, 2, [this](TObject* s) { BitBtnP1Click(s); });

    // Placing.
    Label4 = Beschriftung(this, TabSheet2, QStringLiteral("Label4"), QString(), 16, 8,
                          QStringLiteral("Tahoma"), -19, clNavy, true);
    Label5 = Beschriftung(
        this, TabSheet2, QStringLiteral("Label5"),
        QStringLiteral("Bewege dazu den Mauscursor auf die gewünschte Stelle des Zahlenstrahls und"), 16, 40);
    Label10 = Beschriftung(this, TabSheet2, QStringLiteral("Label10"),
                           QStringLiteral("drücke die linke Maustaste."), 16, 60);
    Label6 = Beschriftung(this, TabSheet2, QStringLiteral("Label6"),
                          QStringLiteral("Alternativ kannst du die Buttons verwenden"), 16, 96);
    Beschriftung(this, TabSheet2, QStringLiteral("Label11"), QStringLiteral("®"), 330, 86,
                 QStringLiteral("Symbol"), -32);
    TBitBtn** Schrittknoepfe[] = {&BitBtnM100, &BitBtnM10, &BitBtnP10, &BitBtnP100};
    const char* Namen[] = {"BitBtnM100", "BitBtnM10", "BitBtnP10", "BitBtnP100"};
    for (int i = 0; i < 4; ++i) {
        *Schrittknoepfe[i] = Knopf(this, TabSheet2, QString::fromLatin1(Namen[i]),
                                   QString::fromUtf8(A.Schritte[i]), 380 + 96 * i, 88, 92, 36, -14);
        (*Schrittknoepfe[i])->OnClick = [this](TObject* s) { BitBtnM10Click(s); };
    }
    LabelP2 = Urteilslabel(this, TabSheet2, QStringLiteral("LabelP2"), 16, 150, 465, 28);
    LabelP2->SetAlignment(taCenter);
    LabelP3 = Urteilslabel(this, TabSheet2, QStringLiteral("LabelP3"), 16, 182, 465, 28);
    LabelP3->SetAlignment(taCenter);
    BitBtn3 = Knopf(this, TabSheet2, QStringLiteral("BitBtn3"), QStringLiteral("Position prüfen"), 520, 150,
                    230, 60, -19);
    BitBtn3->SetColor(RGB(0, 160, 0));
    BitBtn3->Font()->SetColor(clWhite);
    BitBtn3->OnClick = [this](TObject* s) { BitBtnP1Click(s); };

    Punkte = Muster::Punkte(this, nullptr, 208, 496);
}

void TZahlenstrahlForm::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Z = TZahlenstrahlZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZahlenstrahlForm::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    Z.Offen = true;
    Muster::PaarLeeren(Paar1);
    LabelP2->SetCaption(QString());
    LabelP3->SetCaption(QString());
    ZahlenstrahlAufgabe();
    ZahlenstrahlZeichnen();
    Muster::Fokus(Paar1.Box);
}

void TZahlenstrahlForm::ZahlenstrahlAufgabe() {
    Z.P = 50 * A.U;
    Z.Ablesen = Zufallsentscheidung(0.5);
    PageControl1->SetActivePage(Z.Ablesen ? TabSheet1 : TabSheet2);
    Z.T = Runtime::Random(101) * A.U;
    if (!Z.Ablesen)
        Label4->SetCaption(QStringLiteral("Trage die Zahl ") + Gruppen(Z.T) +
                           QStringLiteral(" auf dem Zahlenstrahl ein."));
}

void TZahlenstrahlForm::ZahlenstrahlZeichnen() {
    ::ZahlenstrahlZeichnen(Image1, 130, QString::fromUtf8(A.Marken[0]), QString::fromUtf8(A.Marken[1]),
                           QString::fromUtf8(A.Marken[2]));
    TCanvas* c = Image1->Canvas();
    const int X = ZahlenstrahlX(Z.Ablesen ? Z.T : Z.P, A.U);
    TextAusgebenLokal(X + 1, 90, 0, 0, 0, 255, 255, 255,
                      Z.Ablesen ? QStringLiteral("?") : QStringLiteral(" "), 'T', 16, true, true, Image1);
    c->Pen()->SetWidth(2);
    LinieBreitZeichnen(X, 130, X, 100, 0, 0, 255, true, Image1);
    c->Pen()->SetWidth(1);
    Punkte.Zeigen(Z.richtig, Z.falsch);
}

void TZahlenstrahlForm::BitBtnP1Click(TObject* Sender) {
    ZahlenstrahlPruefen(Sender);
}

void TZahlenstrahlForm::ZahlenstrahlPruefen(TObject* Sender) {
    bool Richtig = false;
    bool Zaehlt = true;
    if (Sender == BitBtn3) {
        if (Z.P == Z.T) {
            Muster::Urteil(LabelP2, QStringLiteral("Klasse, du hast die Zahl richtig eingetragen."),
                           FarbeUrteilRichtig);
            Richtig = true;
        } else {
            if (Z.T < Z.P) {
                Muster::Urteil(LabelP2, QStringLiteral("Die Zahl liegt weiter links auf dem Zahlenstrahl."),
                               FarbeUrteilFalsch);
                LabelP3->SetCaption(Gruppen(Z.T) + QStringLiteral(" < ") + Gruppen(Z.P));
            } else {
                Muster::Urteil(LabelP2, QStringLiteral("Die Zahl liegt weiter rechts auf dem Zahlenstrahl."),
                               FarbeUrteilFalsch);
                LabelP3->SetCaption(Gruppen(Z.T) + QStringLiteral(" > ") + Gruppen(Z.P));
            }
            // The pupil's position stays marked until the next redraw.
            const int X = ZahlenstrahlX(Z.P, A.U);
            TextAusgebenLokal(X + 1, 90, 0, 0, 0, 255, 255, 255, Gruppen(Z.P), 'T', 16, false, true, Image1);
            LinieZeichnen(X, 130, X, 100, 0, 0, 255, true, Image1);
        }
    } else if (Sender == Paar1.Box || Sender == Paar1.Pruefen) {
        Zaehlt = !Muster::Antwort(Paar1.Box).trimmed().isEmpty();
        Richtig = Muster::PaarPruefen(Paar1, QString::number(Z.T), 50, 2);
    } else {
        return;
    }
    if (Z.Offen) {
        if (Richtig) {
            ++Z.richtig;
            Z.Offen = false;
        } else if (Zaehlt) {
            ++Z.falsch;
        }
    }
    Punkte.Zeigen(Z.richtig, Z.falsch);
}

void TZahlenstrahlForm::BitBtnM10Click(TObject* Sender) {
    const long long Ende = 100 * A.U;
    long long Schritt = 0;
    if (Sender == BitBtnM100)
        Schritt = -10 * A.U;
    else if (Sender == BitBtnM10)
        Schritt = -A.U;
    else if (Sender == BitBtnP10)
        Schritt = A.U;
    else if (Sender == BitBtnP100)
        Schritt = 10 * A.U;
    if (Schritt < 0 && Z.P >= -Schritt)
        Z.P += Schritt;
    else if (Schritt > 0 && Z.P + Schritt <= Ende)
        Z.P += Schritt;
    LabelP2->SetCaption(QString());
    LabelP3->SetCaption(QString());
    ZahlenstrahlZeichnen();
}

void TZahlenstrahlForm::Image1MouseDown(TObject*, TMouseButton, TShiftState, int X, int) {
    LabelP2->SetCaption(QString());
    LabelP3->SetCaption(QString());
    const long long Teil = Round((X - 10) / 7.0);
    Z.P = std::clamp(Teil * A.U, 0LL, 100 * A.U);
    ZahlenstrahlZeichnen();
}

TZqK1_1A1::TZqK1_1A1(TComponent* AOwner) : TZahlenstrahlForm(AOwner, Art1A1, ZqK1_1A1) {
    SetName(QStringLiteral("ZqK1_1A1"));
}
