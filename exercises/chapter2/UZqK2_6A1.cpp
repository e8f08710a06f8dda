#include "exercises/chapter2/UZqK2_6A1.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

#include <cmath>

TUmwandelnZustand ZqK2_6A1;

namespace {

constexpr double Eps = 1e-7;
constexpr TColor Weiss = RGB(255, 255, 255);

struct TEinheitRoh {
    const char* Kurz;
    long long Faktor;
    const char* Lang;
};

// clang-format off
const TEinheitRoh Laengen[5] = {{"mm", 1, "Millimeter ( mm )"}, {"cm", 10, "Zentimeter ( cm )"},
    {"dm", 100, "Dezimeter ( dm )"}, {"m", 1000, "Meter ( m )"}, {"km", 1000000, "Kilometer  ( km )"}};
const TEinheitRoh Flaechen[4] = {{"mm²", 1, "Quadratmillimeter ( mm² )"}, {"cm²", 100, "Quadratzentimeter ( cm² )"},
    {"dm²", 10000, "Quadratdezimeter ( dm² )"}, {"m²", 1000000, "Quadratmeter ( m² )"}};
const TEinheitRoh Volumina[5] = {{"ml", 1, "Milliliter ( ml )"}, {"cl", 10, "Zentiliter ( cl )"},
    {"dl", 100, "Deziliter ( dl )"}, {"Liter", 1000, "Liter"}, {"m³", 1000000, "Kubikmeter  ( m³ )"}};
const TEinheitRoh Gewichte[4] = {{"mg", 1, "Milligramm ( mg )"}, {"g", 1000, "Gramm ( g )"},
    {"kg", 1000000, "Kilogramm ( kg )"}, {"t", 1000000000, "Tonnen ( t )"}};
// clang-format on

QString Zahl(long long n) {
    return QString::number(n);
}

// A value that is not a number never matches.
bool Weg(double x, double y) {
    return !(std::fabs(x - y) < Eps);
}

void Leeren(TRichEdit* Box) {
    if (!Box) return;
    Box->Clear();
    Box->SetColor(Weiss);
}

double Wert(TRichEdit* Box) {
    return TermWert2(QStringLiteral("x"), Muster::Antwort(Box));
}

} // namespace

int EinheitenAnzahl(int Familie) {
    return Familie == 0 || Familie == 3 ? 5 : Familie == 2 || Familie == 4 ? 4 : 0;
}

TEinheit EinheitVon(int Familie, int Index) {
    const TEinheitRoh* t = Familie == 0   ? Laengen
                           : Familie == 2 ? Flaechen
                           : Familie == 3 ? Volumina
                                          : Gewichte;
    if (Index < 1 || Index > EinheitenAnzahl(Familie)) return {};
    const TEinheitRoh& e = t[Index - 1];
    return {QString::fromUtf8(e.Kurz), e.Faktor, QString::fromUtf8(e.Lang)};
}

TZqK2_6A1::TZqK2_6A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_6A1"));
    SetCaption(QStringLiteral("Abschnitt 2.6   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Umwandeln von Einheiten"));

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->SetName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetParent(B_ScrollBox);
    // Radio group, pages and score share the task area beside the keypad.
    RadioGroup1->SetBounds(8, 26, 798, 44);
    RadioGroup1->SetColumns(6);
    for (const char* s : {"Längen", "Geld", "Flächen", "Volumina", "Gewichte", "Zeiten"})
        RadioGroup1->Items()->Add(QString::fromUtf8(s));
    RadioGroup1->SetItemIndex(0);

    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 8, 74, 798, 506, FarbeAufgabenfeld);
    PageControl1 = Muster::Seiten(this, Panel2, QStringLiteral("PageControl1"), 0, 0, 798, 506);
    for (int p = 0; p < 6; ++p) {
        TSeite& S = Seiten[p];
        S.Blatt = Seite(this, PageControl1, QStringLiteral("TabSheet%1").arg(p + 1));
        S.Blatt->SetColor(FarbeAufgabenfeld);
        S.Notiz = new TMemo(this);
        S.Notiz->SetName(QStringLiteral("Memo%1").arg(p + 1));
        S.Notiz->SetParent(S.Blatt);
        S.Notiz->SetBounds(640, 8, 150, 200);
        S.Notiz->Lines()->SetText(QStringLiteral("Notizblock"));
    }

    // The measured families share one layout.
    struct TNamen {
        int p, Wert, Gross, GrossL, Und, Klein, KleinL;
        const char *Pruefen, *Hilfe;
        int Urteil, Tabelle, H1, T1;
        const char* L1;
        int Feld, H2, T2;
        const char* L2;
    };
    const TNamen Namen[4] = {
        {0, 11, 1, 13, 14, 2, 15, "BitBtnP1", "BitBtnHilfe", 1, 3, 5, 16, "BitBtnErgebnis", 6, 7, 17,
         "BitBtn3"},
        {2, 28, 5, 30, 31, 6, 32, "BitBtnP3", "BitBtn7", 3, 10, 11, 38, "BitBtn8", 12, 13, 39, "BitBtn9"},
        {3, 35, 7, 40, 41, 8, 42, "BitBtnP4", "BitBtn10", 4, 14, 15, 48, "BitBtn11", 16, 17, 49, "BitBtn12"},
        {4, 43, 9, 51, 52, 10, 53, "BitBtnP5", "BitBtn13", 5, 18, 19, 59, "BitBtn14", 20, 21, 60, "BitBtn15"},
    };
    const QStringList Tabellen[4] = {
        {QStringLiteral("1 km = 1 000 m = 10 000 dm = 100 000 cm = 1 000 000 mm"),
         QStringLiteral("1 m = 10 dm = 100 cm = 1000 mm"), QStringLiteral("1 dm = 10 cm = 100 mm"),
         QStringLiteral("1 cm = 10 mm")},
        {QStringLiteral("1 cm² = 1 cm · 1 cm = 10 mm · 10 mm = 100 mm²"),
         QStringLiteral("1 dm² = 1 dm · 1 dm = 10 cm · 10 cm = 100 cm² = 100 · 100 mm² = 10 000 mm²"),
         QStringLiteral("1 m² = 1 m · 1 m = 10 dm · 10 dm = 100 dm² = 10 000 cm²")},
        {QStringLiteral("1 m³ = 1 000 Liter = 10 000 dl = 100 000 cl = 1 000 000 ml"),
         QStringLiteral("1 Liter = 10 dl = 100 cl = 1000 ml"), QStringLiteral("1 dl = 10 cl = 100 ml"),
         QStringLiteral("1 cl = 10 ml")},
        {QStringLiteral("1 000 kg = 1 t"), QStringLiteral("1 000 g = 1 kg"),
         QStringLiteral("1 000 mg = 1 g")},
    };
    auto L = [](int n) { return QStringLiteral("Label%1").arg(n); };
    auto Zeile = [this, L](TSeite& S, int Wert, int Gross, int GrossL, int Und, int Klein, int KleinL,
                           const QString& GrossText, const QString& KleinText) {
        S.Wert = Beschriftung(this, S.Blatt, L(Wert), QString(), 8, 20, QStringLiteral("Tahoma"), -19,
                              clBlack, true);
        Beschriftung(this, S.Blatt, S.Blatt->Name() + QStringLiteral("Gleich"), QStringLiteral("="), 150, 20,
                     QStringLiteral("Tahoma"), -19, clBlack, true);
        S.Gross = Antwortbox(this, S.Blatt, QStringLiteral("RichEdit%1").arg(Gross), 176, 14, 90);
        S.GrossLabel = Beschriftung(this, S.Blatt, L(GrossL), GrossText, 272, 20, QStringLiteral("Tahoma"),
                                    -19, clBlack, true);
        S.Und = Beschriftung(this, S.Blatt, L(Und), QStringLiteral("und"), 340, 20, QStringLiteral("Tahoma"),
                             -19, clBlack, true);
        S.Klein = Antwortbox(this, S.Blatt, QStringLiteral("RichEdit%1").arg(Klein), 384, 14, 90);
        S.KleinLabel = Beschriftung(this, S.Blatt, L(KleinL), KleinText, 480, 20, QStringLiteral("Tahoma"),
                                    -19, clBlack, true);
    };
    for (int k = 0; k < 4; ++k) {
        const TNamen& n = Namen[k];
        TSeite& S = Seiten[n.p];
        Zeile(S, n.Wert, n.Gross, n.GrossL, n.Und, n.Klein, n.KleinL, QString(), QString());
        S.Pruefen =
            Knopf(this, S.Blatt, QString::fromLatin1(n.Pruefen), QStringLiteral("prüfen"), 176, 60, 90, 33);
        S.Hilfe =
            Knopf(this, S.Blatt, QString::fromLatin1(n.Hilfe), QStringLiteral("Hilfe"), 272, 60, 90, 33);
        S.Urteil = Urteilslabel(this, S.Blatt, QStringLiteral("LabelP%1").arg(n.Urteil), 8, 104, 620);
        S.Tabelle =
            Hilfefeld(this, S.Blatt, QStringLiteral("Panel%1").arg(n.Tabelle), 8, 140, 620, Tabellen[k]);
        S.Hinweis1 = Feld(this, S.Blatt, QStringLiteral("Panel%1").arg(n.H1), 8, 250, 620, 110, clWhite);
        S.Text1 = Beschriftung(this, S.Hinweis1, L(n.T1), QString(), 8, 8);
        S.Loesung1 =
            Knopf(this, S.Hinweis1, QString::fromLatin1(n.L1), QStringLiteral("Ergebnis"), 510, 36, 100, 33);
        S.Antwortfeld =
            Feld(this, S.Hinweis1, QStringLiteral("Panel%1").arg(n.Feld), 8, 40, 300, 33, clWhite);
        S.Hinweis2 = Feld(this, S.Blatt, QStringLiteral("Panel%1").arg(n.H2), 8, 370, 620, 80, clWhite);
        S.Text2 = Beschriftung(this, S.Hinweis2, L(n.T2), QString(), 8, 8);
        S.Loesung2 =
            Knopf(this, S.Hinweis2, QString::fromLatin1(n.L2), QStringLiteral("Ergebnis"), 510, 36, 100, 33);
    }

    // Money.
    TSeite& G = Seiten[1];
    Zeile(G, 6, 3, 7, 10, 4, 18, QStringLiteral("€"), QStringLiteral("Cent"));
    G.Pruefen = Knopf(this, G.Blatt, QStringLiteral("BitBtnP2"), QStringLiteral("prüfen"), 176, 60, 90, 33);
    G.Hilfe = Knopf(this, G.Blatt, QStringLiteral("BitBtn4"), QStringLiteral("Hilfe"), 272, 60, 90, 33);
    G.Urteil = Urteilslabel(this, G.Blatt, QStringLiteral("LabelP2"), 8, 104, 620);
    Panel8 =
        Hilfefeld(this, G.Blatt, QStringLiteral("Panel8"), 8, 140, 620,
                  {QStringLiteral("Beispiele:"), QStringLiteral("100 Cent = 1 €"),
                   QStringLiteral("179 Cent = 1 € und 79 Cent "), QStringLiteral("1 000 Cent = 10 €"),
                   QStringLiteral("1 200 Cent = 12 €"), QStringLiteral("1 235 Cent = 12 € und 35 Cent")});
    BitBtn5 = Knopf(this, Panel8, QStringLiteral("BitBtn5"), QStringLiteral("Ergebnis"), 500, 8, 100, 33);
    Panel9 = Feld(this, G.Blatt, QStringLiteral("Panel9"), 8, 320, 300, 40, clWhite);
    Beschriftung(this, Panel9, QStringLiteral("Panel9Gleich"), QStringLiteral("="), 8, 8);
    Label22 = Beschriftung(this, Panel9, QStringLiteral("Label22"), QString(), 30, 8);

    // Time between two clocks.
    TSeite& Z = Seiten[5];
    Beschriftung(this, Z.Blatt, QStringLiteral("Label54"),
                 QStringLiteral("Du siehst 2 Uhren. Welche Zeit ist mindestens vergangen ?"), 8, 4,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    Image1 = Neuzeichenbild(this, Z.Blatt, QStringLiteral("Image1"), 8, 30, 200, 200);
    Image2 = Neuzeichenbild(this, Z.Blatt, QStringLiteral("Image2"), 220, 30, 200, 200);
    Z.Gross = Antwortbox(this, Z.Blatt, QStringLiteral("RichEdit11"), 8, 240, 70);
    Z.GrossLabel = Beschriftung(this, Z.Blatt, L(61), QStringLiteral("Stunden"), 84, 246);
    Z.Und = Beschriftung(this, Z.Blatt, L(62), QStringLiteral("und"), 160, 246);
    Z.Klein = Antwortbox(this, Z.Blatt, QStringLiteral("RichEdit12"), 196, 240, 70);
    Z.KleinLabel = Beschriftung(this, Z.Blatt, L(63), QStringLiteral("Minuten"), 272, 246);
    Z.Pruefen = Knopf(this, Z.Blatt, QStringLiteral("BitBtnP6"), QStringLiteral("prüfen"), 350, 240, 90, 33);
    Z.Hilfe = Knopf(this, Z.Blatt, QStringLiteral("BitBtn6"), QStringLiteral("Hilfe"), 446, 240, 90, 33);
    Z.Urteil = Urteilslabel(this, Z.Blatt, QStringLiteral("LabelP6"), 8, 280, 620);
    Beschriftung(this, Z.Blatt, L(66), QStringLiteral("Das sind insgesamt"), 8, 322);
    RichEdit13 = Antwortbox(this, Z.Blatt, QStringLiteral("RichEdit13"), 160, 316, 90);
    Beschriftung(this, Z.Blatt, L(55), QStringLiteral("Minuten"), 256, 322);
    BitBtnP7 = Knopf(this, Z.Blatt, QStringLiteral("BitBtnP7"), QStringLiteral("prüfen"), 350, 316, 90, 33);
    BitBtn19 = Knopf(this, Z.Blatt, QStringLiteral("BitBtn19"), QStringLiteral("Ergebnis"), 446, 316, 90, 33);
    LabelP7 = Urteilslabel(this, Z.Blatt, QStringLiteral("LabelP7"), 8, 356, 620);
    Panel22 = Hilfefeld(this, Z.Blatt, QStringLiteral("Panel22"), 430, 30, 200,
                        {QStringLiteral("1 Stunde = 60 Minuten"), QStringLiteral("2 Stunden = 120 Minuten"),
                         QStringLiteral("3 Stunden = 180 Minuten")});
    Panel22->SetVisible(true);
    Panel23 = Feld(this, Z.Blatt, QStringLiteral("Panel23"), 8, 392, 620, 110, clWhite);
    Image3 = Neuzeichenbild(this, Panel23, QStringLiteral("Image3"), 8, 8, 161, 57);
    Image4 = Neuzeichenbild(this, Panel23, QStringLiteral("Image4"), 180, 8, 161, 57);
    BitBtn17 = Knopf(this, Panel23, QStringLiteral("BitBtn17"), QStringLiteral("Ergebnis"), 500, 8, 100, 33);

    Punkte = Muster::Punkte(this, nullptr, 8, 583);

    auto Pruefen = [this](TObject* s) { UmwandlungPruefen(s); };
    for (TSeite& S : Seiten) {
        BoxVerbinden(S.Gross, 2, Pruefen);
        BoxVerbinden(S.Klein, 2, Pruefen);
        S.Pruefen->OnClick = Pruefen;
        S.Hilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
        for (TBitBtn* b : {S.Loesung1, S.Loesung2})
            if (b) b->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    }
    BoxVerbinden(RichEdit13, 2, Pruefen);
    BitBtnP7->OnClick = Pruefen;
    for (TBitBtn* b : {BitBtn5, BitBtn17, BitBtn19})
        b->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
}

void TZqK2_6A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK2_6A1.Richtig = 0;
    ZqK2_6A1.Falsch = 0;
    Runtime::Randomize();
    PageControl1->SetActivePageIndex(std::max(0, RadioGroup1->ItemIndex()));
    NeueAufgabe();
}

void TZqK2_6A1::RadioGroup1Click(TObject*) {
    PageControl1->SetActivePageIndex(std::max(0, RadioGroup1->ItemIndex()));
    NeueAufgabe();
}

void TZqK2_6A1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    PunkteAnzeigen();
    ZqK2_6A1.ErsterVersuch = true;
    AufgabeNachSeite();
}

void TZqK2_6A1::AufgabeNachSeite() {
    const int p = PageControl1->ActivePageIndex();
    if (p == 1)
        GeldAufgabe();
    else if (p == 5)
        ZeitAufgabe();
    else if (p >= 0 && p <= 4)
        MessAufgabe(p);
}

void TZqK2_6A1::PunkteAnzeigen() {
    Punkte.LabelR->SetCaption(QString::number(ZqK2_6A1.Richtig));
    Punkte.LabelF->SetCaption(QString::number(ZqK2_6A1.Falsch));
}

void TZqK2_6A1::MessAufgabe(int Familie) {
    TSeite& S = Seiten[Familie];
    TUmwandelnZustand& Z = ZqK2_6A1;
    Leeren(S.Gross);
    Leeren(S.Klein);
    S.Urteil->SetCaption(QString());
    for (TPanel* p : {S.Tabelle, S.Hinweis1, S.Antwortfeld, S.Hinweis2})
        p->SetVisible(false);

    const int n = EinheitenAnzahl(Familie);
    TEinheit e1, e2;
    long long a = 0, b = 0, v = 0;
    for (;;) {
        int u1 = 0, u2 = 0;
        do {
            u1 = Runtime::Random(n) + 1;
            u2 = Runtime::Random(n) + 1;
        } while (u1 == u2);
        if (u1 > u2) std::swap(u1, u2);
        e1 = EinheitVon(Familie, u1);
        e2 = EinheitVon(Familie, u2);
        const long long r = e2.Faktor / e1.Faktor;
        // Pairs too far apart could never stay below the limit; the factor
        // would not even fit the random generator.
        if (r >= 100000) continue;
        a = Runtime::Random(99) + 1;
        b = Runtime::Random(static_cast<int>(r));
        v = (a * e2.Faktor + b * e1.Faktor) / e1.Faktor;
        if (v < 100000) break;
    }
    Z.OhneRest = b == 0;
    for (TControl* c : std::initializer_list<TControl*>{S.Klein, S.Und, S.KleinLabel})
        c->SetVisible(!Z.OhneRest);
    S.Wert->SetCaption(ZahlGegliedert(static_cast<int>(v)) + QLatin1Char(' ') + e1.Kurz);
    S.GrossLabel->SetCaption(e2.Kurz);
    S.KleinLabel->SetCaption(e1.Kurz);
    Z.a = a, Z.b = b, Z.f1 = e1.Faktor, Z.f2 = e2.Faktor;
    S.Text1->SetCaption(QStringLiteral("Überlege dir zunächst wie viele ") + e2.Lang +
                        QStringLiteral(" sich ergeben."));
    S.Antwortfeld->SetCaption(Zahl(a) + QLatin1Char(' ') + e2.Kurz + QStringLiteral(" = ") +
                              ZahlGegliedert(static_cast<int>(a * e2.Faktor / e1.Faktor)) + QLatin1Char(' ') +
                              e1.Kurz);
    S.Text2->SetCaption(QStringLiteral("Überlege dir wie viele ") + e1.Lang +
                        QStringLiteral(" noch fehlen."));
    Muster::Fokus(S.Gross);
}

void TZqK2_6A1::GeldAufgabe() {
    TSeite& S = Seiten[1];
    TUmwandelnZustand& Z = ZqK2_6A1;
    Muster::Fokus(S.Gross);
    Panel8->SetVisible(false);
    Panel9->SetVisible(false);
    Leeren(S.Gross);
    Leeren(S.Klein);
    S.Urteil->SetCaption(QString());
    Z.a = Runtime::Random(99);
    Z.b = Runtime::Random(99);
    Z.OhneRest = Z.b == 0;
    for (TControl* c : std::initializer_list<TControl*>{S.Klein, S.Und, S.KleinLabel})
        c->SetVisible(!Z.OhneRest);
    const long long v = 100 * Z.a + Z.b;
    S.Wert->SetCaption(ZahlGegliedert(static_cast<int>(v)) + QStringLiteral(" Cent"));
    Z.f1 = 1, Z.f2 = 100;
    Label22->SetCaption(QString::number(v / 100.0, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')) +
                        QStringLiteral(" €"));
}

void TZqK2_6A1::ZeitAufgabe() {
    TSeite& S = Seiten[5];
    TUmwandelnZustand& Z = ZqK2_6A1;
    Muster::Fokus(S.Gross);
    Panel23->SetVisible(false);
    for (TRichEdit* b : {S.Gross, S.Klein, RichEdit13})
        Leeren(b);
    S.Urteil->SetCaption(QString());
    LabelP7->SetCaption(QString());
    const int m = Runtime::Random(60);
    const int d = Runtime::Random(8);
    const int h = Runtime::Random(12);
    const int s = Runtime::Random(60);
    Z.OhneRest = m == 0;
    for (TControl* c : std::initializer_list<TControl*>{S.Klein, S.Und, S.KleinLabel})
        c->SetVisible(!Z.OhneRest);
    Z.f1 = 1, Z.f2 = 60;
    Z.a = d, Z.b = m;
    UhrenZeichnen(h, s, d, m);
}

void TZqK2_6A1::UhrenZeichnen(int h, int s, int d, int m) {
    for (TImage* i : {Image1, Image2})
        BildFuellen(255, 255, 255, i);
    // The clocks fill their pictures: in a scaled window they are drawn larger, margins and all.
    const int cx = Image1->Width() / 2, cy = Image1->Height() / 2, r = Image1->Width() / 2 - Skaliert(5);
    AnalogUhrZeichnen(cx, cy, r, h, s, 0, true, true, false, Image1);
    AnalogUhrZeichnen(cx, cy, r, h + d, s + m, 0, true, true, false, Image2);
    for (TImage* i : {Image3, Image4})
        BildFuellen(255, 255, 255, i);
    DigitaluhrZeichnen(0, 0, Image3->Height(), h, s, 0, 255, 0, 0, 255, 255, 255, true, true, true, false,
                       Image3);
    DigitaluhrZeichnen(0, 0, Image4->Height(), h + d, s + m, 0, 160, 255, 0, 255, 255, 255, true, true, true,
                       false, Image4);
}

int TZqK2_6A1::SeiteVon(TObject* Sender) const {
    if (!Sender) return -1;
    for (int p = 0; p < 6; ++p)
        if (Sender == Seiten[p].Gross || Sender == Seiten[p].Klein || Sender == Seiten[p].Pruefen) return p;
    if (Sender == RichEdit13 || Sender == BitBtnP7) return 6;
    return -1;
}

void TZqK2_6A1::UmwandlungPruefen(TObject* Sender) {
    const int p = SeiteVon(Sender);
    if (p == 6)
        GesamtPruefen();
    else if (p >= 0)
        SeitePruefen(p);
    PunkteAnzeigen();
}

void TZqK2_6A1::SeitePruefen(int p) {
    TSeite& S = Seiten[p];
    TUmwandelnZustand& Z = ZqK2_6A1;
    const bool Zeit = p == 5;
    S.Gross->SetColor(Weiss);
    S.Klein->SetColor(Weiss);
    // An empty box counts as 0, so 57 Cent may be answered with the € box left
    // empty. Only with no answer at all ("0 € 0 Cent" or a gap of 0 h 0 min
    // would be right without one) is nothing judged.
    const bool Leer =
        Muster::Antwort(S.Gross).trimmed().isEmpty() && Muster::Antwort(S.Klein).trimmed().isEmpty();
    const double y = Wert(S.Klein), x = Wert(S.Gross);
    const double t = (Z.f1 * y + Z.f2 * x) / Z.f1;
    const double e = std::round(static_cast<double>(Z.a * Z.f2 + Z.b * Z.f1) / Z.f1);
    if (Weg(t, e)) {
        Muster::Urteil(S.Urteil,
                       Zeit ? QStringLiteral("Das stimmt nicht.")
                            : QStringLiteral("Die Umwandlung stimmt nicht."),
                       RGB(255, 0, 0));
        if (Z.ErsterVersuch) {
            Z.ErsterVersuch = false;
            ++Z.Falsch;
        }
    } else if (Weg(y, Z.b) || Weg(x, Z.a)) {
        Muster::Urteil(S.Urteil, QStringLiteral("Richtig, aber noch nicht die gewünschte Darstellung."),
                       RGB(255, 255, 0));
    } else if (Leer) {
        S.Urteil->SetCaption(QString());
        return;
    } else {
        Muster::Urteil(S.Urteil,
                       Zeit ? QStringLiteral("Das ist richtig.")
                            : QStringLiteral("Sehr gut ! Du hast die Zahl richtig umgewandelt."),
                       RGB(0, 255, 0));
        if (p == 1) Panel9->SetVisible(true);
        if (Z.ErsterVersuch) {
            Z.ErsterVersuch = false;
            ++Z.Richtig;
        }
    }
    S.Klein->SetColor(Weg(y, Z.b) ? RGB(255, 0, 0) : RGB(0, 200, 0));
    S.Gross->SetColor(Weg(x, Z.a) ? RGB(255, 0, 0) : RGB(0, 200, 0));
}

void TZqK2_6A1::GesamtPruefen() {
    TUmwandelnZustand& Z = ZqK2_6A1;
    const QString Antwort = Muster::Antwort(RichEdit13);
    bool Richtig = false;
    ErgebnisPruefen2(Antwort, ZahlAlsText(static_cast<double>(60 * Z.a + Z.b)), LabelP7, 50, 'c', Richtig, 0,
                     0);
    if (Z.ErsterVersuch && !Antwort.isEmpty()) {
        Z.ErsterVersuch = false;
        ++(Richtig ? Z.Richtig : Z.Falsch);
    }
}

void TZqK2_6A1::BitBtnHilfeClick(TObject* Sender) {
    for (int p = 0; p < 6; ++p) {
        if (Sender != Seiten[p].Hilfe) continue;
        if (p == 1)
            Panel8->SetVisible(true);
        else if (p == 5)
            Panel23->SetVisible(true);
        else {
            Seiten[p].Hinweis1->SetVisible(true);
            Seiten[p].Tabelle->SetVisible(true);
        }
    }
}

void TZqK2_6A1::BitBtnErgebnisClick(TObject* Sender) {
    TUmwandelnZustand& Z = ZqK2_6A1;
    if (!Sender) return;
    for (int p : {0, 2, 3, 4}) {
        TSeite& S = Seiten[p];
        if (Sender == S.Loesung1) {
            Z.ErsterVersuch = false;
            S.Gross->Lines()->SetText(Zahl(Z.a));
            UmwandlungPruefen(S.Pruefen);
            S.Antwortfeld->SetVisible(true);
            if (Z.b != 0) S.Hinweis2->SetVisible(true);
            return;
        }
        if (Sender == S.Loesung2) {
            S.Klein->Lines()->SetText(Zahl(Z.b));
            UmwandlungPruefen(S.Pruefen);
            return;
        }
    }
    const int p = Sender == BitBtn5 ? 1 : Sender == BitBtn17 ? 5 : -1;
    if (p >= 0) {
        Z.ErsterVersuch = false;
        Seiten[p].Gross->Lines()->SetText(Zahl(Z.a));
        Seiten[p].Klein->Lines()->SetText(Zahl(Z.b));
        UmwandlungPruefen(Seiten[p].Pruefen);
    } else if (Sender == BitBtn19) {
        Z.ErsterVersuch = false;
        RichEdit13->Lines()->SetText(Zahl(60 * Z.a + Z.b));
        UmwandlungPruefen(BitBtnP7);
    }
}
