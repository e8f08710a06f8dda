#include "exercises/chapter1/UZqK1_2C1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "term/UTerm.h"

#include <cstdlib>

TSchaetzenZustand ZqK1_2C1;

int AufRunden(int n, int Stelle) {
    const double Teiler = Stelle * 10.0;
    return static_cast<int>(Round(StellenRunden2(1, n / Teiler) * Teiler));
}

std::pair<QString, QString> Zerlegung(int a, int b) {
    const int a10 = AufRunden(a, 10), b10 = AufRunden(b, 10);
    const auto Zeichen = [](int d) { return d < 0 ? QStringLiteral("-") : QStringLiteral("+"); };
    const QString sA = Zeichen(a - a10), sB = Zeichen(b - b10), sR = Zeichen(a + b - a10 - b10);
    const QString A = ZahlGegliedert(a10), B = ZahlGegliedert(b10);
    const QString RestA = QString::number(std::abs(a - a10)), RestB = QString::number(std::abs(b - b10));
    QString L24 = " = (" + A + " " + sA + " " + RestA + " ) + (" + B + " " + sB + " " + RestB + " )";
    QString L27 = " = (" + A + " + " + B + ") " + sR + " " + QString::number(std::abs(a + b - a10 - b10));
    if (a == a10 && b == b10) {
        L24 = " = ( " + A + " ) + ( " + B + " )";
        L27.clear();
    } else if (a == a10) {
        L24 = " = ( " + A + " ) + (" + B + " " + sB + " " + RestB + " )";
    } else if (b == b10) {
        L24 = " = (" + A + " " + sA + " " + RestA + " ) + ( " + B + " )";
    }
    return {L24, L27};
}

TZqK1_2C1::TZqK1_2C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_2C1"));
    SetCaption(QStringLiteral("Abschnitt 1.2   Übung 3"));
    Label1 = Titel(this, QStringLiteral("Abschätzen, wie groß die Summe zweier Zahlen ist."));
    Beschriftung(this, nullptr, QStringLiteral("Label2"),
                 QStringLiteral(
                     "Familie Müller besitzt 2 Photovoltaikanlagen. Bestimme die momentane Gesamtleistung."),
                 16, 26, QStringLiteral("Tahoma"), -16);
    Image1 = Bild(this, nullptr, QStringLiteral("Image1"), 16, 50, 220, 72);
    Image2 = Bild(this, nullptr, QStringLiteral("Image2"), 300, 50, 220, 72);
    Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Wechselrichter 1"), 16, 124);
    Beschriftung(this, nullptr, QStringLiteral("Label4"), QStringLiteral("Wechselrichter 2"), 300, 124);
    Beschriftung(this, nullptr, QStringLiteral("Label5"), QStringLiteral("Watt"), 242, 84);
    Beschriftung(this, nullptr, QStringLiteral("Label6"), QStringLiteral("Watt"), 526, 84);

    const struct {
        int x, y;
        const char* Frage;
        const char* Loesung;
        const char* LoesungName;
    } Lage[8] = {{0, 0, "", "", ""},
                 {16, 150, "Gesamtleistung", "Ergebnis", "BitBtn6"},
                 {16, 240, "Leistung auf 10 Watt gerundet", "Ergebnis 1", "BitBtnErgebnis"},
                 {400, 240, "Leistung auf 10 Watt gerundet", "Ergebnis 2", "BitBtn3"},
                 {16, 330, "Summe der auf 10 Watt gerundeten Werte", "Ergebnis 3", "BitBtn4"},
                 {16, 420, "Leistung auf 100 Watt gerundet", "Ergebnis 4", "BitBtn7"},
                 {400, 420, "Leistung auf 100 Watt gerundet", "Ergebnis 5", "BitBtn8"},
                 {16, 510, "Summe der auf 100 Watt gerundeten Werte", "Ergebnis 6", "BitBtn9"}};
    for (int n = 1; n <= 7; ++n) {
        const int x = Lage[n].x, y = Lage[n].y;
        TAntwortPaar& P = Paar[n];
        Beschriftung(this, nullptr, QStringLiteral("LabelFrage%1").arg(n), QString::fromUtf8(Lage[n].Frage),
                     x, y, QStringLiteral("Tahoma"), -15, clNavy, true);
        P.Urteil = Urteilslabel(this, nullptr, QStringLiteral("LabelP%1").arg(n), x, y + 20, 366, 24);
        P.Box = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(n), x, y + 48, 110, 33);
        Beschriftung(this, nullptr, QStringLiteral("LabelWatt%1").arg(n), QStringLiteral("Watt"), x + 114,
                     y + 54);
        P.Pruefen = Knopf(this, nullptr, QStringLiteral("BitBtnP%1").arg(n), QStringLiteral("prüfen"),
                          x + 160, y + 48, 80, 33);
        P.Loesung = Knopf(this, nullptr, QString::fromLatin1(Lage[n].LoesungName),
                          QString::fromUtf8(Lage[n].Loesung), x + 246, y + 48, 120, 33);
        PaarVerbinden(P, 2, [this](TObject* s) { BitBtnP1Click(s); });
        P.Loesung->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    }
    Label20 = Beschriftung(this, nullptr, QStringLiteral("Label20"),
                           QStringLiteral("Berechne zunächst die gerundeten Werte."), 400, 200,
                           QStringLiteral("Tahoma"), -16, clNavy, true);
    BitBtnHilfe =
        Knopf(this, nullptr, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe 1"), 400, 150, 110, 33);
    BitBtn10 = Knopf(this, nullptr, QStringLiteral("BitBtn10"), QStringLiteral("Hilfe 2"), 520, 150, 110, 33);
    BitBtn5 = Knopf(this, nullptr, QStringLiteral("BitBtn5"), QStringLiteral("Hilfe"), 640, 150, 110, 33);
    for (TBitBtn* b : {BitBtnHilfe, BitBtn10, BitBtn5})
        b->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
    const QString Abrunden =
        QStringLiteral("Ist diese kleiner 5, so wird abgerundet anderenfalls wird aufgerundet.");
    Panel2 = Hilfefeld(this, nullptr, QStringLiteral("Panel2"), 400, 330, 385,
                       {QStringLiteral("Schaue auf die blau unterstrichene Ziffer."), Abrunden}, -11);
    Panel3 = Hilfefeld(this, nullptr, QStringLiteral("Panel3"), 400, 510, 385,
                       {QStringLiteral("Schaue auf die rot unterstrichene Ziffer."), Abrunden}, -11);
    Panel4 = Feld(this, nullptr, QStringLiteral("Panel4"), 560, 48, 225, 78, 8454143);
    Label24 = Beschriftung(this, Panel4, QStringLiteral("Label24"), QString(), 6, 10,
                           QStringLiteral("Tahoma"), -16);
    Label27 = Beschriftung(this, Panel4, QStringLiteral("Label27"), QString(), 6, 44,
                           QStringLiteral("Tahoma"), -16);
    Panel4->SetVisible(false);
}

int TZqK1_2C1::Erwartet(int n) const {
    const TSchaetzenZustand& Z = ZqK1_2C1;
    switch (n) {
    case 1:
        return Z.a + Z.b;
    case 2:
        return Z.a10;
    case 3:
        return Z.b10;
    case 4:
        return Z.a10 + Z.b10;
    case 5:
        return Z.a100;
    case 6:
        return Z.b100;
    case 7:
        return Z.a100 + Z.b100;
    default:
        return 0;
    }
}

void TZqK1_2C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_2C1 = TSchaetzenZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_2C1::NeueAufgabe() {
    TSchaetzenZustand& Z = ZqK1_2C1;
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    Panel2->SetVisible(false);
    Panel3->SetVisible(false);
    Panel4->SetVisible(false);
    Z.Zehner = Z.Hunderter = false;
    for (int n = 1; n <= 7; ++n)
        Muster::PaarLeeren(Paar[n]);
    Muster::Fokus(Paar[2].Box);
    Z.a = Runtime::Random(1100) + 100;
    Z.b = Runtime::Random(1100) + 100;
    Z.a10 = AufRunden(Z.a, 10);
    Z.b10 = AufRunden(Z.b, 10);
    Z.a100 = AufRunden(Z.a, 100);
    Z.b100 = AufRunden(Z.b, 100);
    Zeichnen();
    const auto [L24, L27] = Zerlegung(Z.a, Z.b);
    Label24->SetCaption(L24);
    Label27->SetCaption(L27);
}

void TZqK1_2C1::ZahlZeichnen(TImage* Bild, int Zahl) {
    const TSchaetzenZustand& Z = ZqK1_2C1;
    BildFuellen(255, 255, 255, Bild);
    const int mx = BildBreite(Bild) / 2, my = BildHoehe(Bild) / 2;
    const QString Text = ZahlGegliedert(Zahl);
    TextAusgebenLokal(mx, my, 0, 0, 0, 255, 255, 255, Text, 'T', 48, true, true, Bild);
    TPoint P1, P2, A1, A2;
    TextRechteckLokal(mx, my, Text, 'T', 48, true, Bild, P1, P2);
    TextRechteckLokal(0, 0, QStringLiteral("8"), 'T', 48, false, Bild, A1, A2);
    const int w = A2.x - A1.x, rechts = P2.x, unten = P1.y;
    if (Z.Zehner) RechteckZeichnen(rechts - w, unten - 3, rechts, unten + 1, 0, 0, 255, 0, 0, 255, 1, Bild);
    if (Z.Hunderter)
        RechteckZeichnen(rechts - 2 * w, unten - 3, rechts - w, unten + 1, 200, 0, 0, 200, 0, 0, 1, Bild);
}

void TZqK1_2C1::Zeichnen() {
    ZahlZeichnen(Image1, ZqK1_2C1.a);
    ZahlZeichnen(Image2, ZqK1_2C1.b);
}

void TZqK1_2C1::BitBtnP1Click(TObject* Sender) {
    for (int n = 1; n <= 7; ++n)
        if (Muster::GehoertZu(Paar[n], Sender)) Muster::PaarPruefen(Paar[n], Erwartet(n), 25, 2);
}

void TZqK1_2C1::BitBtnErgebnisClick(TObject* Sender) {
    for (int n = 1; n <= 7; ++n)
        if (Sender == Paar[n].Loesung) {
            Muster::LoesungEintragen(Paar[n], Erwartet(n));
            BitBtnP1Click(Paar[n].Pruefen);
        }
}

void TZqK1_2C1::BitBtnHilfeClick(TObject* Sender) {
    if (Sender == BitBtnHilfe) {
        ZqK1_2C1.Zehner = true;
        Panel2->SetVisible(true);
        Zeichnen();
    } else if (Sender == BitBtn10) {
        ZqK1_2C1.Hunderter = true;
        Panel3->SetVisible(true);
        Zeichnen();
    } else if (Sender == BitBtn5) {
        Panel4->SetVisible(true);
    }
}
