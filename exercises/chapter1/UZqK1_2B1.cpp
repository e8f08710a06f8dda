#include "exercises/chapter1/UZqK1_2B1.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"

TLadenZustand ZqK1_2B1;

namespace {

struct TProdukt {
    const char* Name;
    double Preis;
    const char* Preisschild;
    const char* Bild;
};

const TProdukt Produkte[3][4] = {
    {},
    {{},
     {"Computer", 270, "270 €", "computer.png"},
     {"Radio", 120, "120 €", "radio.png"},
     {"Drucker", 90, "90 €", "drucker.png"}},
    {{},
     {"1 kg Erdbeeren", 5.29, "5,29 € / kg", "erdbeeren.png"},
     {"1 kg Bananen", 1.79, "1,79 € / kg", "bananen.png"},
     {"1 kg Kartoffeln", 1.49, "1,49 € / kg", "kartoffeln.png"}},
};

struct TLadenaufgabe {
    const char* Zeilen[3];
    double Schaetzung;
    bool GerundetHoeher;
};

const char* const Runde1 = "Runde zunächst den Kaufpreis jedes Einzelproduktes auf volle Hunderter.";
const TLadenaufgabe Aufgaben1[3] = {
    {{"Kaufe einen Computer und ein Radio.", Runde1, nullptr}, 400, true},
    {{"Kaufe ein Radio und einen Drucker.", Runde1, nullptr}, 200, false},
    {{"Kaufe einen Computer, 2 Radios und 2 Drucker.", Runde1, nullptr}, 700, true},
};
const TLadenaufgabe Aufgaben2[4] = {
    {{"Kaufe 1 kg Erdbeeren und 1 kg Bananen.", "Runde zunächst den Kaufpreis jeder Obstsorte auf volle €.",
      nullptr},
     7,
     false},
    {{"Kaufe 4 kg Kartoffeln.", "Runde zunächst den Kaufpreis pro kg auf 10 Cent.", nullptr}, 6, true},
    {{"Kaufe 3 kg Erdbeeren und 2 kg Bananen.",
      "Runde vorher bei jeder Sorte den Obstpreis pro kg auf volle €.", nullptr},
     19,
     false},
    {{"Kaufe 2 kg Erdbeeren, 3 kg Bananen und 2 kg Kartoffeln.",
      "Runde vorher bei jeder Obstsorte den Kilogrammpreis auf volle €,",
      "und bei jeder Gemüsesorte den Preis auf 10 Cent."},
     19,
     true},
};

const char* const Beispiele[] = {
    "Beispiel 1:   2 186 + 4 213 = 6 399",
    "Auf Zehner gerundet:   2 190 + 4 210 = 6 400",
    "Auf Hunderter gerundet:   2 200 + 4 200 = 6 400",
    "Auf Tausender gerundet:   2 000 + 4 000 = 6 000",
    "",
    "Beispiel 2:   Ein Einkauf kostet 0,79 € und 2,79 €.",
    "In Cent:   79 ct + 279 ct = 358 ct",
    "In Euro:   0,79 € + 2,79 € = 3,58 €",
    "Auf 10 Cent gerundet:   0,80 € + 2,80 € = 3,60 €",
    "Auf volle Euro gerundet:   1 € + 3 € = 4 €",
};

const QString DerGerundete = QStringLiteral("Der\rGerundete");
const QString DerKassenpreis = QStringLiteral("Der\rKassenpreis");

} // namespace

QString Betrag(int Laden, double Euro) {
    if (Laden == 1) return ZahlGegliedert(static_cast<int>(Round(Euro))) + QStringLiteral(" €");
    // The shop's price labels use the German decimal comma.
    return QString::number(Euro, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" €");
}

TZqK1_2B1::TZqK1_2B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_2B1"));
    SetCaption(QStringLiteral("Abschnitt 1.2   Übung 2"));
    Label1 = Titel(this, QStringLiteral("Erkennen, in welcher Größenordnung Ergebnisse liegen"));
    PageControl1 = Seiten(this, nullptr, QStringLiteral("PageControl1"), 0, 24, 785, 484);
    TabBeispiele = Seite(this, PageControl1, QStringLiteral("TabBeispiele"));
    TabBeispiele->SetColor(FarbeAufgabenfeld);
    int y = 16, n = 0;
    for (const char* Zeile : Beispiele) {
        const QString Text = QString::fromUtf8(Zeile);
        const bool Kopf = Text.startsWith(QStringLiteral("Beispiel"));
        Beschriftung(this, TabBeispiele, QStringLiteral("LabelBeispiel%1").arg(++n), Text, 24, y,
                     QStringLiteral("Tahoma"), -19, Kopf ? clNavy : clBlack, Kopf);
        y += 34;
    }
    LadenAufbauen(1);
    LadenAufbauen(2);
    BitBtn2 =
        Knopf(this, TabBeispiele, QStringLiteral("BitBtn2"), QStringLiteral("Neuer Laden"), 24, 400, 160, 36);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 586, 512, 190, 36, clBlack);
    Panel1->Font()->SetColor(clYellow);
    Panel1->Font()->SetHeight(-16);
}

void TZqK1_2B1::LadenAufbauen(int Laden) {
    using namespace Muster;
    const bool Erster = Laden == 1;
    TTabSheet* s =
        Seite(this, PageControl1, Erster ? QStringLiteral("TabLaden1") : QStringLiteral("TabLaden2"));
    s->SetColor(FarbeAufgabenfeld);
    TabLaden[Laden] = s;
    for (int p = 1; p <= 3; ++p) {
        const TProdukt& P = Produkte[Laden][p];
        const int y = 4 + 88 * (p - 1);
        TImage* Bild =
            Muster::Bild(this, s, QStringLiteral("ImageProdukt%1_%2").arg(Laden).arg(p), 8, y, 110, 80);
        BildLaden(Bild, QString::fromLatin1(P.Bild));
        Beschriftung(this, s, QStringLiteral("LabelPreis%1_%2").arg(Laden).arg(p),
                     QString::fromUtf8(P.Preisschild), 126, y + 8, QStringLiteral("Tahoma"), -19, clNavy,
                     true);
        const int Nummer = (Erster ? 3 : 12) + 2 * (p - 1);
        Nehmen[Laden][p] = Knopf(this, s, QStringLiteral("BitBtn%1").arg(Nummer), QStringLiteral("nehmen"),
                                 126, y + 44, 76, 28, -14);
        Zuruecklegen[Laden][p] = Knopf(this, s, QStringLiteral("BitBtn%1").arg(Nummer + 1),
                                       QStringLiteral("zurücklegen"), 206, y + 44, 96, 28, -14);
        Nehmen[Laden][p]->OnClick = [this](TObject* x) { BitBtn3Click(x); };
        Zuruecklegen[Laden][p]->OnClick = [this](TObject* x) { BitBtn4Click(x); };
    }
    TImage* Liste = Muster::Bild(
        this, s, Erster ? QStringLiteral("ImageListe") : QStringLiteral("ImageListe2"), 310, 4, 268, 256);
    (Erster ? ImageListe : ImageListe2) = Liste;

    Beschriftung(this, s, QStringLiteral("LabelLaden%1").arg(Laden),
                 Erster ? QStringLiteral("Computer - Handel") : QStringLiteral("Tante - Emma - Laden"), 586,
                 4, QStringLiteral("Tahoma"), -16, clNavy, true);
    TLabel* Meldung = Beschriftung(this, s, Erster ? QStringLiteral("Labelh1") : QStringLiteral("LabelH2"),
                                   QString(), 586, 36, QStringLiteral("Tahoma"), -16, clRed, true);
    Meldung->SetAutoSize(false);
    Meldung->SetWordWrap(true);
    Meldung->SetBounds(586, 36, 192, 64);
    (Erster ? Labelh1 : LabelH2) = Meldung;
    auto* Zaehler = new TStaticText(this);
    Zaehler->SetName(Erster ? QStringLiteral("StaticText1") : QStringLiteral("StaticText2"));
    Zaehler->SetParent(s);
    Zaehler->SetBounds(586, 108, 100, 28);
    Zaehler->SetParentFont(false);
    Zaehler->Font()->SetName(QStringLiteral("Tahoma"));
    Zaehler->Font()->SetHeight(-19);
    Zaehler->Font()->SetStyle(fsBold);
    (Erster ? StaticText1 : StaticText2) = Zaehler;

    // The task, one page per task.
    TPageControl* pc = Seiten(
        this, s, Erster ? QStringLiteral("PageControl2") : QStringLiteral("PageControl3"), 8, 268, 570, 92);
    Aufgabenseiten[Laden] = pc;
    const int Aufgabenzahl = Erster ? 3 : 4;
    for (int k = 1; k <= 6; ++k) {
        TTabSheet* t = Seite(this, pc, QStringLiteral("Tab%1%2").arg(Erster ? 'A' : 'B').arg(k));
        t->SetColor(8454143);
        Aufgabenseite[Laden][k] = t;
        if (k > Aufgabenzahl) continue;
        const TLadenaufgabe& A = Erster ? Aufgaben1[k - 1] : Aufgaben2[k - 1];
        for (int z = 0; z < 3 && A.Zeilen[z]; ++z)
            Beschriftung(this, t, QStringLiteral("LabelAufgabe%1_%2_%3").arg(Laden).arg(k).arg(z + 1),
                         QString::fromUtf8(A.Zeilen[z]), 8, 6 + 26 * z, QStringLiteral("Tahoma"), -15,
                         z == 0 ? clNavy : clBlack, z == 0);
    }
    if (!Erster) {
        const char* Knopfnamen[5] = {"", "BitBtn23", "BitBtnHilfe", "BitBtn18", "BitBtn22"};
        const char* Panelnamen[5] = {"", "Panel11", "Panel8", "Panel9", "Panel10"};
        const QStringList Zeilen[5] = {
            {},
            {QStringLiteral("Gerundete Preise:"), QStringLiteral("Erdbeeren: 5 € / kg"),
             QStringLiteral("Bananen: 2 € / kg")},
            {QStringLiteral("Der auf 10 Cent gerundete Preis"), QStringLiteral("pro kg beträgt 1,50 €."),
             QStringLiteral("Rechne 4 · 1,50 €.")},
            {QStringLiteral("Gerundete Preise:"), QStringLiteral("Erdbeeren: 5 € / kg"),
             QStringLiteral("Bananen: 2 € / kg")},
            {QStringLiteral("Gerundete Preise:"), QStringLiteral("Erdbeeren: 5 € / kg"),
             QStringLiteral("Bananen: 2 € / kg"), QStringLiteral("Kartoffeln: 1,50 € / kg")},
        };
        for (int k = 1; k <= 4; ++k) {
            Hilfeknopf[k] = Knopf(this, Aufgabenseite[2][k], QString::fromLatin1(Knopfnamen[k]),
                                  QStringLiteral("Hilfe"), 470, 52, 90, 30, -14);
            Hilfeknopf[k]->OnClick = [this](TObject* x) { BitBtnHilfeClick(x); };
            Hilfepanel[k] =
                Hilfefeld(this, s, QString::fromLatin1(Panelnamen[k]), 586, 144, 192, Zeilen[k], -13, 22);
        }
    }

    TAntwortPaar& P = Paar[Laden];
    P.Urteil = Urteilslabel(this, s, Erster ? QStringLiteral("LabelP1") : QStringLiteral("LabelP2"), 8, 368,
                            292, 24, clLime);
    P.Box = Antwortbox(this, s, Erster ? QStringLiteral("RichEdit1") : QStringLiteral("RichEdit2"), 8, 398,
                       120, 33);
    Beschriftung(this, s, QStringLiteral("LabelEuro%1").arg(Laden), QStringLiteral("€"), 134, 404,
                 QStringLiteral("Tahoma"), -19);
    P.Pruefen = Knopf(this, s, Erster ? QStringLiteral("BitBtnP1") : QStringLiteral("BitBtnP2"),
                      QStringLiteral("prüfen"), 160, 398, 90, 33);
    PaarVerbinden(P, 2, [this](TObject* x) { BitBtnP1Click(x); });
    TBitBtn* Neu = Knopf(this, s, Erster ? QStringLiteral("BitBtn9") : QStringLiteral("BitBtn19"),
                         QStringLiteral("Neue Aufgabe"), 8, 440, 160, 33);
    (Erster ? BitBtn9 : BitBtn19) = Neu;
    Neu->OnClick = [this, Erster](TObject* x) {
        if (Erster)
            BitBtn9Click(x);
        else
            BitBtn19Click(x);
    };
    Beschriftung(this, s, QStringLiteral("LabelFrage%1").arg(Laden),
                 QStringLiteral("Welcher Preis ist höher ?"), 310, 370, QStringLiteral("Tahoma"), -16, clNavy,
                 true);
    Gerundet[Laden] = Knopf(this, s, Erster ? QStringLiteral("BitBtn10") : QStringLiteral("BitBtn20"),
                            DerGerundete, 310, 398, 130, 56);
    Kassenpreis[Laden] = Knopf(this, s, Erster ? QStringLiteral("BitBtn11") : QStringLiteral("BitBtn21"),
                               DerKassenpreis, 448, 398, 130, 56);
    for (TBitBtn* b : {Gerundet[Laden], Kassenpreis[Laden]})
        b->OnClick = [this](TObject* x) { BitBtn10Click(x); };
}

void TZqK1_2B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_2B1 = TLadenZustand{};
    NeueAufgabe();
    NaechsteAufgabe(1);
    NaechsteAufgabe(2);
}

void TZqK1_2B1::NeueAufgabe() {
    TLadenZustand& Z = ZqK1_2B1;
    B_NeueAufgabe->SetCaption(QStringLiteral("Neuer Laden"));
    Aufgabenanzahl = 2;
    TAufgabeg::NeueAufgabe();
    for (int l = 1; l <= 2; ++l) {
        Gerundet[l]->SetCaption(DerGerundete);
        Kassenpreis[l]->SetCaption(DerKassenpreis);
    }
    WagenLeeren();
    Z.Seite = Z.Seite >= 2 ? 0 : Z.Seite + 1;
    PageControl1->SetActivePage(Z.Seite == 0 ? TabBeispiele : TabLaden[Z.Seite]);
    Panel1->SetCaption(QStringLiteral("Ladenlokal ") + QString::number(Z.Seite) + QStringLiteral(" / 2"));
    B_BtnAufgabenNr->SetCaption(QString::number(Z.Seite) + QStringLiteral(" / 2"));
    if (Z.Seite > 0) WagenZeichnen(Z.Seite);
}

void TZqK1_2B1::WagenLeeren() {
    for (TWagenplatz& p : ZqK1_2B1.Wagen)
        p = TWagenplatz{};
}

QStringList TZqK1_2B1::WagenZeilen(int Laden) const {
    QStringList Zeilen;
    double Summe = 0;
    for (const TWagenplatz& p : ZqK1_2B1.Wagen)
        if (!p.Leer) {
            Zeilen << p.Name + Betrag(Laden, p.Preis);
            Summe += p.Preis;
        }
    Zeilen << QStringLiteral("Summe:") << Betrag(Laden, Summe);
    return Zeilen;
}

void TZqK1_2B1::WagenZeichnen(int Laden) {
    TImage* Bild = Laden == 1 ? ImageListe : ImageListe2;
    BildFuellen(255, 255, 255, Bild);
    TextObenLinks(5, 5, 0, 0, 0, QStringLiteral("Einkaufswagen"), 'T', 16, true, Bild);
    int m = 0;
    double Summe = 0;
    for (const TWagenplatz& p : ZqK1_2B1.Wagen) {
        if (p.Leer) continue;
        const int y = 30 + 22 * m++;
        TextObenLinks(5, y, 0, 0, 0, p.Name, 'T', 16, true, Bild);
        TextRechtsAusgeben(260, y, 0, 0, 0, 255, 255, 255, Betrag(Laden, p.Preis), 'T', 16, true, false,
                           Bild);
        Summe += p.Preis;
    }
    const int y = 30 + 22 * m;
    TextObenLinks(5, y, 0, 0, 0, QStringLiteral("_______________________________"), 'T', 16, true, Bild);
    TextObenLinks(5, y + 30, 0, 0, 0, QStringLiteral("Summe:"), 'T', 16, true, Bild);
    TextRechtsAusgeben(260, y + 30, 0, 0, 0, 255, 255, 255, Betrag(Laden, Summe), 'T', 16, true, false, Bild);
    bool Frei = false;
    for (const TWagenplatz& p : ZqK1_2B1.Wagen)
        Frei = Frei || p.Leer;
    if (Frei) (Laden == 1 ? Labelh1 : LabelH2)->SetCaption(QString());
    Muster::Fokus(Paar[Laden].Box);
}

void TZqK1_2B1::NaechsteAufgabe(int Laden) {
    TLadenZustand& Z = ZqK1_2B1;
    const int Anzahl = Laden == 1 ? 3 : 4;
    Gerundet[Laden]->Font()->SetColor(clBlack);
    Kassenpreis[Laden]->Font()->SetColor(clBlack);
    Muster::PaarLeeren(Paar[Laden]);
    Muster::Urteil(Paar[Laden].Urteil, QStringLiteral("Überschlagswert durch Runden"), FarbeUrteilRichtig);
    WagenLeeren();
    WagenZeichnen(Laden);
    int& k = Z.Aufgabe[Laden];
    k = k >= Anzahl ? 1 : k + 1;
    Aufgabenseiten[Laden]->SetActivePage(Aufgabenseite[Laden][k]);
    (Laden == 1 ? StaticText1 : StaticText2)
        ->SetCaption(QString::number(k) + QStringLiteral(" / ") + QString::number(Anzahl));
    const TLadenaufgabe& A = Laden == 1 ? Aufgaben1[k - 1] : Aufgaben2[k - 1];
    Z.Schaetzung[Laden] = A.Schaetzung;
    Z.GerundetHoeher[Laden] = A.GerundetHoeher;
    if (Laden == 2) Hilfepanel[k]->SetVisible(false);
}

int TZqK1_2B1::LadenVon(TObject* Sender, int& Produkt) const {
    for (int l = 1; l <= 2; ++l)
        for (int p = 1; p <= 3; ++p)
            if (Sender == Nehmen[l][p] || Sender == Zuruecklegen[l][p]) {
                Produkt = p;
                return l;
            }
    return 0;
}

void TZqK1_2B1::BitBtn2Click(TObject*) {
    NeueAufgabe();
}

void TZqK1_2B1::BitBtn3Click(TObject* Sender) {
    int Produkt = 0;
    const int Laden = LadenVon(Sender, Produkt);
    if (!Laden) return;
    bool Genommen = false;
    for (TWagenplatz& p : ZqK1_2B1.Wagen)
        if (p.Leer) {
            const TProdukt& P = Produkte[Laden][Produkt];
            p.Name = QString::fromUtf8(P.Name).leftJustified(18, QLatin1Char(' '));
            p.Preis = P.Preis;
            p.Produkt = Produkt;
            p.Leer = false;
            Genommen = true;
            break;
        }
    if (!Genommen) {
        Labelh1->SetCaption(QStringLiteral("Nimm maximal ") + QStringLiteral("7") +
                            QStringLiteral(" Produkte."));
        LabelH2->SetCaption(QStringLiteral("Du darfst dir maximal ") + QStringLiteral("7") +
                            QStringLiteral(" Teile aussuchen."));
    }
    WagenZeichnen(1);
    WagenZeichnen(2);
}

void TZqK1_2B1::BitBtn4Click(TObject* Sender) {
    int Produkt = 0;
    if (!LadenVon(Sender, Produkt)) return;
    for (TWagenplatz& p : ZqK1_2B1.Wagen)
        if (!p.Leer && p.Produkt == Produkt) {
            p = TWagenplatz{};
            p.Produkt = -1;
            break;
        }
    WagenZeichnen(1);
    WagenZeichnen(2);
}

void TZqK1_2B1::BitBtn9Click(TObject*) {
    NaechsteAufgabe(1);
}

void TZqK1_2B1::BitBtn19Click(TObject*) {
    NaechsteAufgabe(2);
}

void TZqK1_2B1::BitBtn10Click(TObject* Sender) {
    for (int l = 1; l <= 2; ++l) {
        if (Sender != Gerundet[l] && Sender != Kassenpreis[l]) continue;
        const bool Stimmt = (Sender == Gerundet[l]) == ZqK1_2B1.GerundetHoeher[l];
        static_cast<TBitBtn*>(Sender)->Font()->SetColor(Stimmt ? FarbeKnopfRichtig : FarbeKnopfFalsch);
    }
}

void TZqK1_2B1::BitBtnHilfeClick(TObject* Sender) {
    for (int k = 1; k <= 4; ++k)
        if (Sender == Hilfeknopf[k]) {
            Hilfepanel[k]->SetVisible(true);
            Muster::Fokus(Paar[2].Box);
        }
}

void TZqK1_2B1::BitBtnP1Click(TObject* Sender) {
    for (int l = 1; l <= 2; ++l)
        if (Muster::GehoertZu(Paar[l], Sender)) Muster::PaarPruefen(Paar[l], ZqK1_2B1.Schaetzung[l], 50, 2);
}
