#include "exercises/chapter1/UZqK1_2A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "term/UTerm.h"

#include <algorithm>

TRundenZustand ZqK1_2A1;

namespace {

struct TTextaufgabe {
    const char* Text[4];
    const char* Hilfe[2];
    const char* Satz;
    const char* Einheit;
    int Ergebnis;
};

const TTextaufgabe Textaufgaben[7] = {
    {{"Herr Müller hat einen 1273cm hohen Kirschbaum in seinem Garten.",
      "Runde die Baumhöhe h auf volle Meter.", "1m = 100cm", nullptr},
     {"Runde 1273cm zunächst auf die Hunderterstelle.", "Schaue dazu auf die 2. - letzte Stelle der Zahl."},
     "Die Baumhöhe beträgt ca.",
     "m",
     13},
    {{"Tanja macht eine Fahrradtour. Am Abend hat Sie 27 862 m zurückgelegt.",
      "Runde die zurückgelegte Strecke auf volle Kilometer ( km ).", "1km = 1000m", nullptr},
     {"Runde 27 862 m zunächst auf die Tausenderstelle.", "Schaue dazu auf die 3. - letzte Stelle der Zahl."},
     "Die zurückgelegte Strecke beträgt ca.",
     "km",
     28},
    {{"In einer Regentonne befinden sich 124 387 ml Wasser.", "Runde die Wassermenge auf volle Liter.",
      "1 Liter = 1000 ml", nullptr},
     {"Runde 124 387 ml zunächst auf die Tausenderstelle.",
      "Schaue dazu auf die 3. - letzte Stelle der Zahl."},
     "Die Wassermenge beträgt ca.",
     "Liter",
     124},
    {{"Bert wandert in einem 143 700 m² großen Waldgebiet.",
      "Runde die Größe des Waldgebietes auf volle Hektare ( ha ).", "1 ha = 10 000 m²", nullptr},
     {"Runde 143 700 m² zunächst auf die Zehntausenderstelle.",
      "Schaue dazu auf die 4. - letzte Stelle der Zahl."},
     "Die Größe des Walgebietes beträgt ca.",
     "ha",
     14},
    {{"Ein Bambusstab ist 483cm lang.", "Runde seine Länge auf volle Dezimeter ( dm ).", "1 dm = 10 cm",
      nullptr},
     {"Runde 483 cm zunächst auf die Zehnerstelle.", "Schaue dazu auf die letzte Stelle der Zahl."},
     "Der Bambusstab besitzt eine Länge von ca.",
     "dm",
     48},
    {{"Ein 2 Euro Stück besitzt eine Dicke von ca. 2mm.", "Christina stapelt 52 Münzen übereinander.",
      "Wie hoch ist Ihr Stapel ? Runde auf volle cm.", "1 cm = 10 mm"},
     {"Rechne zunächst 52 · 2mm.", "Runde dein Ergebnis dann auf die Zehnerstelle."},
     "Die Stapelhöhe beträgt ca.",
     "cm",
     10},
    {{"Kopfhaare wachsen pro Monat um ca. 12 mm.", "Welche Länge hat ein 5cm langes Haar nach einem Jahr ?",
      "Runde auf volle dm.", "1 dm = 10 cm = 100 mm"},
     {"Rechne zunächst 12 · 12mm + 50mm.", "Runde dein Ergebnis dann auf die Hunderterstelle."},
     "Die Haarlänge beträgt ca.",
     "dm",
     2},
};

const char* const Anweisungen[6] = {
    "Runde die angegebene Zahl.",
    "Runde die angegebene Zahl auf der Zehnerstelle.",
    "Runde die angegebene Zahl auf der Hunderterstelle.",
    "Runde die angegebene Zahl auf der Tausenderstelle.",
    "Runde die angegebene Zahl auf der Zehntausenderstelle.",
    "Runde die angegebene Zahl auf der Hunderttausenderstelle.",
};

const char* const Regeln[] = {
    "Bei den Ziffern 0, 1, 2, 3 und 4 wird abgerundet.",
    "Bei den Ziffern 5, 6, 7, 8 und 9 wird aufgerundet.",
    "",
    "Runden auf Zehnerstelle   ( Beachte die letzte Stelle der Zahl )",
    "Beispiele: 17514 wird auf 17510 abgerundet, 599 wird auf 600 aufgerundet.",
    "Runden auf Hunderterstelle   ( Beachte die 2. - letzte Stelle der Zahl )",
    "Beispiele: 17514 wird auf 17500 abgerundet, 2960 wird auf 3000 aufgerundet.",
    "Runden auf Tausenderstelle   ( Beachte die 3. - letzte Stelle der Zahl )",
    "Beispiele: 17314 wird auf 17000 abgerundet, 8600 wird auf 9000 aufgerundet.",
    "Runden auf Zehntausenderstelle   ( Beachte die 4. - letzte Stelle der Zahl )",
    "Beispiele: 241800 wird auf 240000 abgerundet, 56000 wird auf 60000 aufgerundet.",
    "Runden auf Hunderttausenderstelle   ( Beachte die 5. - letzte Stelle der Zahl )",
    "Beispiele: 349999 wird auf 300000 abgerundet, 750000 wird auf 800000 aufgerundet.",
};

int Zehnerpotenz(int n) {
    int p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

int Gerundet(int x, int k) {
    const double Stelle = Zehnerpotenz(std::max(k, 1) + 1);
    return static_cast<int>(Round(StellenRunden2(1, x / Stelle) * Stelle));
}

int Rundungsstelle(int x) {
    if (x < 10) return 0;
    if (x < 100) return 1;
    if (x < 1000) return Runtime::Random(2) + 1;
    if (x < 10000) return Runtime::Random(3) + 1;
    if (x < 100000) return Runtime::Random(4) + 1;
    return Runtime::Random(5) + 1;
}

TZqK1_2A1::TZqK1_2A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_2A1"));
    SetCaption(QStringLiteral("Abschnitt 1.2   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Runden"));
    PageControl1 = Seiten(this, nullptr, QStringLiteral("PageControl1"), 0, 28, 785, 560);
    TabInfo = new TTabSheet(this);
    TabZahlen = new TTabSheet(this);
    TabAufgaben = new TTabSheet(this);
    const char* Namen[3] = {"TabInfo", "TabZahlen", "TabAufgaben"};
    const char* Reiter[3] = {"Informationen und Beispiele zum Runden", "Zahlenaufgaben", "Textaufgaben"};
    TTabSheet* Blaetter[3] = {TabInfo, TabZahlen, TabAufgaben};
    for (int i = 0; i < 3; ++i) {
        Blaetter[i]->SetName(QString::fromLatin1(Namen[i]));
        Blaetter[i]->SetPageControl(PageControl1);
        Blaetter[i]->SetCaption(QString::fromUtf8(Reiter[i]));
        Blaetter[i]->SetColor(FarbeAufgabenfeld);
    }
    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };

    int y = 12, n = 0;
    for (const char* Regel : Regeln) {
        const bool Kopf = QString::fromUtf8(Regel).startsWith(QStringLiteral("Runden auf")) || n < 2;
        Beschriftung(this, TabInfo, QStringLiteral("LabelInfo%1").arg(++n), QString::fromUtf8(Regel), 16, y,
                     QStringLiteral("Tahoma"), Kopf ? -17 : -15, Kopf ? clNavy : clBlack, Kopf);
        y += Kopf ? 26 : 32;
    }

    // Number tasks.
    Label22 = Beschriftung(this, TabZahlen, QStringLiteral("Label22"), QString(), 16, 8,
                           QStringLiteral("Tahoma"), -19, clNavy, true);
    Image1 = Bild(this, TabZahlen, QStringLiteral("Image1"), 16, 40, 500, 110);
    Beschriftung(this, TabZahlen, QStringLiteral("Label23"), QStringLiteral("Gerundete Zahl:"), 16, 210,
                 QStringLiteral("Tahoma"), -19);
    Paar1.Urteil = Urteilslabel(this, TabZahlen, QStringLiteral("LabelP1"), 16, 166, 500, 28);
    Paar1.Box = Antwortbox(this, TabZahlen, QStringLiteral("RichEdit1"), 170, 204, 200, 33);
    Paar1.Pruefen =
        Knopf(this, TabZahlen, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 384, 204, 105, 33);
    BitBtnHilfe =
        Knopf(this, TabZahlen, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe"), 16, 256, 120, 36);
    Paar1.Loesung = Knopf(this, TabZahlen, QStringLiteral("BitBtnErgebnis"), QStringLiteral("Ergebnis"), 150,
                          256, 120, 36);
    PaarVerbinden(Paar1, 2, [this](TObject* s) { BitBtnP1Click(s); });
    BitBtnHilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
    Paar1.Loesung->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    Panel2 = Hilfefeld(this, TabZahlen, QStringLiteral("Panel2"), 16, 308, 500,
                       {QStringLiteral("Schaue auf die blau unterstrichene Ziffer."),
                        QStringLiteral("Ist diese kleiner 5, so wird abgerundet"),
                        QStringLiteral("anderenfalls wird aufgerundet.")});
    RadioBereich = new TRadioGroup(this);
    RadioBereich->SetName(QStringLiteral("RadioBereich"));
    RadioBereich->SetParent(TabZahlen);
    RadioBereich->SetBounds(548, 40, 200, 200);
    RadioBereich->SetCaption(QStringLiteral("Zahlenbereich"));
    for (const char* Bereich : {"bis 9", "bis 99", "bis 999", "bis 9 999", "bis 99 999", "bis 999 999"})
        RadioBereich->Items()->Add(QString::fromLatin1(Bereich));
    RadioBereich->SetItemIndex(5);
    RadioBereich->OnClick = [this](TObject* s) { RadioBereichClick(s); };

    // Word problems.
    PageControl2 = Seiten(this, TabAufgaben, QStringLiteral("PageControl2"), 8, 8, 760, 300);
    for (int i = 1; i <= 7; ++i) {
        const TTextaufgabe& A = Textaufgaben[i - 1];
        TTabSheet* s = Seite(this, PageControl2, QStringLiteral("TabSheet%1").arg(i));
        s->SetColor(FarbeAufgabenfeld);
        Problemseite[i] = s;
        for (int z = 0; z < 4 && A.Text[z]; ++z)
            Beschriftung(this, s, QStringLiteral("LabelA%1_%2").arg(i).arg(z + 1),
                         QString::fromUtf8(A.Text[z]), 12, 12 + 30 * z, QStringLiteral("Tahoma"), -19);
        const QString Knopfname = i == 1 ? QStringLiteral("BitBtn3") : QStringLiteral("BitBtn%1").arg(i + 3);
        ProblemHilfe[i] = Knopf(this, s, Knopfname, QStringLiteral("Hilfe"), 12, 140, 120, 36);
        ProblemHilfe[i]->OnClick = [this](TObject* Sender) { BitBtnHilfeClick(Sender); };
        ProblemPanel[i] = Hilfefeld(this, s, QStringLiteral("Panel%1").arg(i + 3), 12, 190, 600,
                                    {QString::fromUtf8(A.Hilfe[0]), QString::fromUtf8(A.Hilfe[1])});
    }
    Label29 = Beschriftung(this, TabAufgaben, QStringLiteral("Label29"), QString(), 16, 372,
                           QStringLiteral("Tahoma"), -19);
    Paar2.Urteil = Urteilslabel(this, TabAufgaben, QStringLiteral("LabelP2"), 16, 326, 500, 28);
    Paar2.Box = Antwortbox(this, TabAufgaben, QStringLiteral("RichEdit2"), 420, 366, 120, 33);
    Label31 = Beschriftung(this, TabAufgaben, QStringLiteral("Label31"), QString(), 550, 372,
                           QStringLiteral("Tahoma"), -19);
    Paar2.Pruefen =
        Knopf(this, TabAufgaben, QStringLiteral("BitBtnP2"), QStringLiteral("prüfen"), 620, 366, 105, 33);
    PaarVerbinden(Paar2, 2, [this](TObject* s) { BitBtnP1Click(s); });
    Panel3 = Feld(this, TabAufgaben, QStringLiteral("Panel3"), 16, 420, 160, 41, clBlack);
    Panel3->Font()->SetColor(clYellow);
    Panel3->Font()->SetHeight(-19);
}

void TZqK1_2A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_2A1 = TRundenZustand{};
    PageControl1->SetActivePage(TabZahlen);
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_2A1::NeueAufgabe() {
    // The counter is hidden; the base's new task is not asked for.
    TRundenZustand& Z = ZqK1_2A1;
    Aufgabenanzahl = 1;
    TTabSheet* Seite = PageControl1->ActivePage();
    if (Seite == TabZahlen || Z.Erste) {
        Z.Hilfe = false;
        Panel2->SetVisible(false);
        Muster::PaarLeeren(Paar1);
        Muster::Fokus(Paar1.Box);
        Zahlenaufgabe();
        Zeichnen();
    }
    if (Seite == TabAufgaben || Z.Erste) {
        Muster::PaarLeeren(Paar2);
        Muster::Fokus(Paar2.Box);
        Z.Textaufgabe = Z.Textaufgabe >= 7 ? 1 : Z.Textaufgabe + 1;
        Panel3->SetCaption(QString::number(Z.Textaufgabe) + QStringLiteral(" / ") + QStringLiteral("7"));
        Textaufgabe();
    }
    Z.Erste = false;
}

void TZqK1_2A1::Zahlenaufgabe() {
    TRundenZustand& Z = ZqK1_2A1;
    const int i = std::clamp(RadioBereich->ItemIndex(), 0, 5);
    Z.x = Runtime::Random(Zehnerpotenz(i + 1));
    Z.k = Rundungsstelle(Z.x);
    Label22->SetCaption(QString::fromUtf8(Anweisungen[Z.k]));
    Z.gerundet = Gerundet(Z.x, Z.k);
}

void TZqK1_2A1::Zeichnen() {
    const TRundenZustand& Z = ZqK1_2A1;
    BildFuellen(210, 242, 222, Image1);
    const int mx = BildBreite(Image1) / 2, my = BildHoehe(Image1) / 2;
    const QString Text = ZahlGegliedert(Z.x);
    TextAusgebenLokal(mx, my, 0, 0, 0, 255, 255, 255, Text, 'T', 48, true, true, Image1);
    if (!Z.Hilfe) return;
    TPoint P1, P2, A1, A2, L1, L2;
    TextRechteckLokal(mx, my, Text, 'T', 48, true, Image1, P1, P2);
    TextRechteckLokal(0, 0, QStringLiteral("8"), 'T', 48, false, Image1, A1, A2);
    TextRechteckLokal(0, 0, QStringLiteral(" "), 'T', 48, false, Image1, L1, L2);
    const int w = A2.x - A1.x, s = L2.x - L1.x;
    const int rechts = P2.x, unten = P1.y;
    // The deciding digit is the one right of the rounding place.
    const int d = std::max(Z.k - 1, 0);
    int xr = rechts - d * w;
    if (Z.x > 1000 && Z.k >= 4) xr -= s;
    RechteckZeichnen(xr - w - 3, unten - 3, xr - 3, unten + 2, 0, 0, 255, 0, 0, 255, 1, Image1);
}

void TZqK1_2A1::Textaufgabe() {
    const TRundenZustand& Z = ZqK1_2A1;
    const TTextaufgabe& A = Textaufgaben[Z.Textaufgabe - 1];
    PageControl2->SetActivePage(Problemseite[Z.Textaufgabe]);
    Label29->SetCaption(QString::fromUtf8(A.Satz));
    Label31->SetCaption(QString::fromUtf8(A.Einheit));
    ProblemPanel[Z.Textaufgabe]->SetVisible(false);
    ZqK1_2A1.TextErgebnis = A.Ergebnis;
}

void TZqK1_2A1::BitBtnP1Click(TObject* Sender) {
    if (Muster::GehoertZu(Paar1, Sender))
        Muster::PaarPruefen(Paar1, ZqK1_2A1.gerundet, 50, 2);
    else if (Muster::GehoertZu(Paar2, Sender))
        Muster::PaarPruefen(Paar2, ZqK1_2A1.TextErgebnis, 50, 2);
}

void TZqK1_2A1::BitBtnHilfeClick(TObject* Sender) {
    if (Sender == BitBtnHilfe) {
        Panel2->SetVisible(true);
        ZqK1_2A1.Hilfe = true;
        Zeichnen();
        Muster::Fokus(Paar1.Box);
        return;
    }
    for (int i = 1; i <= 7; ++i)
        if (Sender == ProblemHilfe[i]) {
            ProblemPanel[i]->SetVisible(true);
            Muster::Fokus(Paar2.Box);
        }
}

void TZqK1_2A1::BitBtnErgebnisClick(TObject*) {
    Muster::LoesungEintragen(Paar1, ZqK1_2A1.gerundet);
    BitBtnP1Click(Paar1.Pruefen);
}

void TZqK1_2A1::RadioBereichClick(TObject*) {
    NeueAufgabe();
}

void TZqK1_2A1::PageControl1Change(TObject*) {
    if (PageControl1->ActivePage() == TabZahlen)
        Muster::Fokus(Paar1.Box);
    else if (PageControl1->ActivePage() == TabAufgaben)
        Muster::Fokus(Paar2.Box);
}
