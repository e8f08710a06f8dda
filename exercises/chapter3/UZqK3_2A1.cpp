#include "exercises/chapter3/UZqK3_2A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "term/UTermFormular.h"

#include <algorithm>
#include <cmath>

TWuerfelzahlZustand ZqK3_2A1;

namespace {

constexpr TColor Weiss = RGB(255, 255, 255);
constexpr TColor Hellblau = RGB(50, 200, 255);
constexpr int Antworten[8] = {0, 27, 54, 3, 17, 34, 24, 14};

struct TTextStelle {
    const char* Text;
    int x, y;
};

const TTextStelle Hilfe2Texte5[] = {
    {"4 · 4 = 16", 128, 290},
    {"3 · 3 = 9", 132, 216},
    {"2 · 2 = 4", 132, 142},
    {"1", 170, 64},
    {"16 + 9 + 4 + 1", 90, 330},
    {"= ( 16 + 4 ) + ( 9 + 1 )", 76, 360},
    {"= ( 20 ) + ( 10 ) = 30", 76, 390},
    {"Insgesamt benötigst du 64 Würfel.", 48, 420},
    {"30 Würfel sind bereits vorhanden.", 48, 450},
};
const TTextStelle Hilfe2Texte6[] = {
    {"16 vorhanden, 0 fehlen", 78, 333},           {"12 vorhanden, 4 fehlen", 108, 257},
    {"8 vorhanden, 8 fehlen", 133, 183},           {"4 vorhanden, 12 fehlen", 158, 109},
    {"Insgesamt fehlen: 0 + 4 + 8 + 12", 48, 417},
};

// All cubes of the block L = L0..L1, C = C0..C1, D = D0..D1.
void Block(std::vector<TKlotz>& K, int L0, int L1, int C0, int C1, int D0, int D1) {
    for (int L = L0; L <= L1; ++L)
        for (int C = C0; C <= C1; ++C)
            for (int D = D0; D <= D1; ++D)
                K.push_back(TKlotz{L, C, D});
}

void Farbe(TKlotz& k, TColor f) {
    k.Vorne = k.Seite = k.Oben = f;
}

void Zeichnen(std::vector<TKlotz> K, int s, int dx, int dy, TImage* Bild) {
    KloetzeOrdnen(K);
    const int cx = BildBreite(Bild) / 2 + dx, cy = BildHoehe(Bild) / 2 + dy;
    for (const TKlotz& k : K) {
        const TPoint p = KlotzPosition(cx, cy, s, k.L, k.C, k.D);
        WuerfelZeichnen(p.x, p.y, s, Bild, GetRValue(k.Vorne), GetGValue(k.Vorne), GetBValue(k.Vorne),
                        GetRValue(k.Seite), GetGValue(k.Seite), GetBValue(k.Seite), GetRValue(k.Oben),
                        GetGValue(k.Oben), GetBValue(k.Oben));
    }
}

// Picture offsets of the tasks.
struct TVersatz {
    int dx, dy;
};
constexpr TVersatz Versatz[8] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {-50, 6}, {-50, 50}, {0, 0}};

} // namespace

TPoint KlotzPosition(int cx, int cy, int s, int L, int C, int D) {
    return TPoint{cx + static_cast<int>(std::lround(C * s + D * s / 2.0)),
                  cy - static_cast<int>(std::lround(L * s + D * s / 2.0))};
}

void KloetzeOrdnen(std::vector<TKlotz>& Kloetze) {
    std::stable_sort(Kloetze.begin(), Kloetze.end(), [](const TKlotz& a, const TKlotz& b) {
        if (a.L != b.L) return a.L < b.L;
        if (a.C != b.C) return a.C < b.C;
        return a.D > b.D;
    });
}

std::vector<TKlotz> AufgabenKloetze(int Aufgabe) {
    std::vector<TKlotz> K;
    switch (Aufgabe) {
    case 1:
    case 2:
        Block(K, -1, 1, -1, 1, -1, 1);
        break;
    case 3:
        Block(K, 0, 0, 0, 1, 0, 1);
        Block(K, 1, 1, 1, 1, 1, 1);
        break;
    case 4:
        Block(K, -1, -1, -1, 1, -1, 1);
        Block(K, 0, 0, 0, 0, 1, 1);
        break;
    case 5: // steps: 16, 9, 4 and 1 cubes
        for (int L = -1; L <= 2; ++L)
            Block(K, L, L, -1, -1 + (3 - L) - 1, 2 - (3 - L) + 1, 2);
        break;
    case 6: // full rows, shorter towards the top: 16, 12, 8 and 4 cubes
        for (int L = -1; L <= 2; ++L)
            Block(K, L, L, -1, 2, 2 - (3 - L) + 1, 2);
        break;
    case 7: {
        Block(K, -1, 1, -1, 1, -1, 1);
        const int Kanten[9][3] = {{1, 0, -1}, {-1, 0, -1}, {1, 1, 0},   {-1, 1, 0}, {1, -1, 0},
                                  {1, 0, 1},  {0, 1, -1},  {0, -1, -1}, {0, 1, 1}};
        for (TKlotz& k : K) {
            Farbe(k, Weiss);
            for (const auto& e : Kanten)
                if (k.L == e[0] && k.C == e[1] && k.D == e[2]) Farbe(k, Hellblau);
        }
        break;
    }
    default:
        break;
    }
    return K;
}

TZqK3_2A1::TZqK3_2A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_2A1"));
    SetCaption(QStringLiteral("Abschnitt 3.2   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Förderung der Raumanschauung"));

    static const char* const Fragen[8][4] = {
        {},
        {"Wie viele kleine Würfel benötigst du, um", "den größen Würfel zu bauen ?"},
        {"Aus wie vielen kleinen Quadraten besteht", "die Oberfläche des großen Würfels ?"},
        {"Tim möchte aus kleinen Würfeln einen", "Würfel mit doppelter Kantenlänge bauen.",
         "Wie viele kleine Würfel fehlen noch ?"},
        {"Tim möchte aus kleinen Würfeln einen", "Würfel mit dreifacher Kantenlänge bauen.",
         "Wie viele kleine Würfel fehlen noch ?"},
        {"Tim möchte aus kleinen Würfeln einen", "Würfel mit vierfacher Kantenlänge bauen.",
         "Wie viele kleine Würfel fehlen noch ?"},
        {"Tim möchte aus kleinen Würfeln einen", "Würfel mit vierfacher Kantenlänge bauen.",
         "Wie viele kleine Würfel fehlen noch ?"},
        {"Rita möchte den abgebildeten Würfel", "nachbauen. Wie viele weiße Würfel benötigt",
         "sie mindestens, damit alle Ecken und", "Mittenflächen weiß sind ?"},
    };
    static const char* const Hilfetexte[8][3] = {
        {},
        {"Für den Boden benötigst du 3 · 3 = 9", "Würfel."},
        {"Ein Würfel hat 6 Seiten ( oben , unten,", "rechts, links, vorne, hinten ).",
         "Jede Seite besteht aus 9 Quadraten."},
        {"Der große Würfel besteht aus 8 kleinen", "Würfeln. 5 kleine Würfel sind", "bereits vorhanden."},
        {"Der große Würfel besteht aus 27", "kleinen Würfeln. 10 kleine Würfel", "sind bereits vorhanden."},
        {"Der große Würfel besteht aus 64", "kleinen Würfeln. Überlege dir, wie",
         "viele kleine Würfel bereits vorhanden sind."},
        {"Für jede Etage benötigst du 16 Würfel.", "Überlege dir für jede Etage, wie",
         "viele kleine Würfel noch fehlen."},
        {},
    };
    static const char* const Knopfnamen[8] = {nullptr,   "BitBtnHilfe", "BitBtn3", "BitBtn4",
                                              "BitBtn5", "BitBtn6",     "BitBtn8", "BitBtn10"};
    static const int Panelnummern[8] = {0, 2, 3, 5, 6, 7, 8, 9};
    // Picture sizes of the help panels (task 2 has none).
    static const int Bildgroesse[8][2] = {{0, 0},     {200, 110}, {0, 0},     {100, 90},
                                          {140, 120}, {140, 120}, {200, 120}, {360, 130}};

    PageControl1 = Seiten(this, nullptr, QStringLiteral("PageControl1"), 0, 28, 380, 340);
    for (int i = 1; i <= 7; ++i) {
        TTabSheet* s = Seite(this, PageControl1, QStringLiteral("TabSheet%1").arg(i));
        s->SetColor(FarbeAufgabenfeld);
        TabSheet[i] = s;
        int z = 0;
        for (; z < 4 && Fragen[i][z]; ++z)
            Beschriftung(this, s, QStringLiteral("LabelA%1_%2").arg(i).arg(z + 1),
                         QString::fromUtf8(Fragen[i][z]), 8, 8 + 24 * z, QStringLiteral("Tahoma"), -17);
        HilfeKnopf[i] =
            Knopf(this, s, QString::fromLatin1(Knopfnamen[i]), QStringLiteral("Hilfe"), 8, 112, 100, 30);
        HilfeKnopf[i]->OnClick = [this](TObject* Sender) { BitBtnHilfeClick(Sender); };

        const QString Panelname = QStringLiteral("Panel%1").arg(Panelnummern[i]);
        QStringList Zeilen;
        for (int k = 0; k < 3 && Hilfetexte[i][k]; ++k)
            Zeilen << QString::fromUtf8(Hilfetexte[i][k]);
        const int Zeilenhoehe = 12 + 22 * static_cast<int>(Zeilen.size());
        const int h = Bildgroesse[i][1];
        HilfePanel[i] =
            Feld(this, s, Panelname, 8, 150, 364, Zeilenhoehe + (h > 0 ? h + 6 : 0), RGB(255, 255, 128));
        for (int k = 0; k < Zeilen.size(); ++k)
            Beschriftung(this, HilfePanel[i], Panelname + QStringLiteral("Zeile%1").arg(k + 1), Zeilen[k], 8,
                         6 + 22 * k, QStringLiteral("Tahoma"), -15);
        if (h > 0) {
            const int w = Bildgroesse[i][0];
            HilfeBild[i] = Bild(this, HilfePanel[i], QStringLiteral("Image%1").arg(i == 1 ? 2 : i),
                                (364 - w) / 2, Zeilen.isEmpty() ? 6 : Zeilenhoehe, w, h);
        }
        HilfePanel[i]->SetVisible(false);
    }
    BitBtn7 =
        Knopf(this, TabSheet[5], QStringLiteral("BitBtn7"), QStringLiteral("Hilfe 2"), 120, 112, 100, 30);
    BitBtn9 =
        Knopf(this, TabSheet[6], QStringLiteral("BitBtn9"), QStringLiteral("Hilfe 2"), 120, 112, 100, 30);
    for (TBitBtn* b : {BitBtn7, BitBtn9}) {
        b->SetVisible(false);
        b->OnClick = [this](TObject* Sender) { BitBtnHilfeClick(Sender); };
    }

    Image1 = Bild(this, nullptr, QStringLiteral("Image1"), 384, 28, 400, 489);
    Label4 = Beschriftung(this, nullptr, QStringLiteral("Label4"), QStringLiteral("Anzahl ="), 8, 384,
                          QStringLiteral("Tahoma"), -19);
    Paar1.Box = Antwortbox(this, nullptr, QStringLiteral("RichEdit1"), 100, 378, 120, 33);
    Paar1.Pruefen =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 232, 378, 105, 33);
    PaarVerbinden(Paar1, 2, [this](TObject* s) { BitBtnP1Click(s); });
    Paar1.Urteil = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 8, 420, 364, 28);
    Panel4 = Punkte(this, nullptr, 8, 456);
    Panel4.Panel->SetName(QStringLiteral("Panel4"));
    Panel4.Panel->SetWidth(364);
    Memo1 = new TMemo(this);
    Memo1->SetName(QStringLiteral("Memo1"));
    Memo1->SetParent(B_ScrollBox);
    Memo1->SetBounds(8, 504, 364, 80);
    Memo1->Lines()->SetText(QStringLiteral("Notizblock"));
}

void TZqK3_2A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK3_2A1 = TWuerfelzahlZustand{};
    NeueAufgabe();
}

void TZqK3_2A1::NeueAufgabe() {
    Aufgabenanzahl = 7;
    TAufgabeg::NeueAufgabe();
    TWuerfelzahlZustand& Z = ZqK3_2A1;
    Z.Aufgabe = Z.Aufgabe >= 7 || Z.Aufgabe < 1 ? 1 : Z.Aufgabe + 1;
    AufgabeZeigen();
    StandZeigen();
    Z.ErsteAntwort = true;
}

void TZqK3_2A1::AufgabeZeigen() {
    const int a = ZqK3_2A1.Aufgabe;
    PageControl1->SetActivePage(TabSheet[a]);
    ZqK3_2A1.Ergebnis = Antworten[a];
    Paar1.Box->Clear();
    Paar1.Urteil->SetCaption(QString());
    HilfePanel[a]->SetVisible(false);
    if (a == 5) BitBtn7->SetVisible(false);
    if (a == 6) BitBtn9->SetVisible(false);
    BildFuellen(184, 209, 228, Image1);
    Zeichnen(AufgabenKloetze(a), 50, Versatz[a].dx, Versatz[a].dy, Image1);
    Muster::Fokus(Paar1.Box);
}

void TZqK3_2A1::HilfebildZeichnen(int Aufgabe) {
    TImage* Bild = HilfeBild[Aufgabe];
    if (!Bild) return;
    BildFuellen(255, 255, 128, Bild);
    std::vector<TKlotz> K;
    switch (Aufgabe) {
    case 1:
        Block(K, -1, -1, -1, 1, -1, 1);
        Zeichnen(K, 20, 0, -6, Bild);
        break;
    case 3:
        Block(K, 0, 1, 0, 1, 0, 1);
        Zeichnen(K, 14, 0, 20, Bild);
        break;
    case 4:
        Block(K, -1, 1, -1, 1, -1, 1);
        Zeichnen(K, 14, 4, 12, Bild);
        break;
    case 5:
        Block(K, -1, 2, -1, 2, -1, 2);
        Zeichnen(K, 10, 0, 12, Bild);
        break;
    case 6:
        Block(K, -1, -1, -1, 2, -1, 2);
        Zeichnen(K, 14, -16, 38, Bild);
        break;
    case 7: {
        // Front, middle and back slice of the cube, each seen from the front.
        const char* Namen[3] = {"vorne", "Mitte", "hinten"};
        constexpr int s = 18;
        for (int Schicht = 0; Schicht < 3; ++Schicht) {
            const int x0 = 30 + 120 * Schicht, y0 = 50;
            for (int Zeile = 2; Zeile >= 0; --Zeile)
                for (int Spalte = 0; Spalte < 3; ++Spalte) {
                    const bool Ungerade = (Zeile + Spalte) % 2 == 1;
                    const bool Blau = Schicht == 1 ? !Ungerade : Ungerade;
                    const TColor f = Blau ? Hellblau : Weiss;
                    WuerfelZeichnen(x0 + Spalte * s, y0 + (Zeile + 1) * s, s, Bild, GetRValue(f),
                                    GetGValue(f), GetBValue(f), GetRValue(f), GetGValue(f), GetBValue(f),
                                    GetRValue(f), GetGValue(f), GetBValue(f));
                }
            TextAusgebenLokal(x0 + 3 * s / 2, y0 + 3 * s + 20, 0, 0, 0, 255, 255, 128,
                              QString::fromLatin1(Namen[Schicht]), 'T', 10, true, true, Bild);
        }
        break;
    }
    default:
        break;
    }
}

void TZqK3_2A1::WuerfelzahlPruefen() {
    TWuerfelzahlZustand& Z = ZqK3_2A1;
    const QString Eingabe = Muster::Antwort(Paar1.Box);
    bool Richtig = false;
    ErgebnisPruefen2(Eingabe, QString::number(Z.Ergebnis), Paar1.Urteil, 50, 'c', Richtig, 0, 0);
    // Blanks alone are no answer either.
    if (!Eingabe.trimmed().isEmpty() && Z.ErsteAntwort) {
        if (Richtig)
            ++Z.Richtig;
        else
            ++Z.Falsch;
        Z.ErsteAntwort = false;
    }
    StandZeigen();
}

void TZqK3_2A1::StandZeigen() {
    Panel4.Zeigen(ZqK3_2A1.Richtig, ZqK3_2A1.Falsch);
}

void TZqK3_2A1::BitBtnP1Click(TObject*) {
    WuerfelzahlPruefen();
}

void TZqK3_2A1::Hilfe2Aufgabe5() {
    for (const TTextStelle& t : Hilfe2Texte5)
        TextAusgebenLokal(t.x, t.y, 0, 0, 0, 0, 0, 0, QString::fromUtf8(t.Text), 'T', 16, true, false,
                          Image1);
}

void TZqK3_2A1::Hilfe2Aufgabe6() {
    for (const TTextStelle& t : Hilfe2Texte6)
        TextAusgebenLokal(t.x, t.y, 0, 0, 0, 0, 0, 0, QString::fromUtf8(t.Text), 'T', 16, true, false,
                          Image1);
}

void TZqK3_2A1::BitBtnHilfeClick(TObject* Sender) {
    if (Sender == BitBtn7)
        Hilfe2Aufgabe5();
    else if (Sender == BitBtn9)
        Hilfe2Aufgabe6();
    else
        for (int i = 1; i <= 7; ++i)
            if (Sender == HilfeKnopf[i]) {
                HilfebildZeichnen(i);
                HilfePanel[i]->SetVisible(true);
                if (i == 5) BitBtn7->SetVisible(true);
                if (i == 6) BitBtn9->SetVisible(true);
            }
    Muster::Fokus(Paar1.Box);
}
