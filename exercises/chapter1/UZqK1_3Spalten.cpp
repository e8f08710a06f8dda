#include "exercises/chapter1/UZqK1_3Spalten.h"

#include "platform/Runtime.h"
#include "term/UTermFormular.h"

namespace {

constexpr TColor Hellgelb = RGB(255, 255, 128);
constexpr TColor Hellgruen = RGB(210, 242, 222);
constexpr TColor BoxRichtig = RGB(0, 200, 0);
constexpr TColor BoxFalsch = RGB(255, 0, 0);

// x of the columns' left edges: ones, tens, hundreds, thousands.
constexpr int Spalte[5] = {0, 384, 296, 208, 120};
// The small scheme of the tip.
constexpr int TippSpalte[5] = {0, 233, 185, 137, 89};

TPanel* Ziffernfeld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int x, int y, int Seite,
                    int Schrift, TColor Farbe) {
    TPanel* p = Muster::Feld(Form, Parent, Name, x, y, Seite, Seite, Farbe);
    p->SetParentFont(false);
    p->Font()->SetName(QStringLiteral("Tahoma"));
    p->Font()->SetHeight(-Schrift);
    return p;
}

TLabel* Hilfezeile(TAufgabeg* Form, TPanel* Panel, const QString& Name, int Zeile, const QString& Text = {}) {
    return Muster::Beschriftung(Form, Panel, Name, Text, 8, 4 + 22 * Zeile, QStringLiteral("Arial"), -16,
                                clBlack, true);
}

// Blank for a leading zero: the digit is shown when the number reaches Stelle.
QString Stellentext(int Ziffer, int Zahl, int Stelle) {
    return Zahl >= Stelle ? QString::number(Ziffer) : QString();
}

QString N(int n) {
    return QString::number(n);
}

} // namespace

TZiffern Ziffern(int n) {
    TZiffern d;
    d.t = n / 1000;
    n -= d.t * 1000;
    d.h = n / 100;
    n -= d.h * 100;
    d.z = n / 10;
    d.e = n - d.z * 10;
    return d;
}

void SpaltenRechnen(TSpaltenZustand& Z, bool Subtraktion) {
    const TZiffern A = Ziffern(Z.a), B = Ziffern(Z.b);
    const int a[4] = {A.e, A.z, A.h, A.t}, b[4] = {B.e, B.z, B.h, B.t};
    int r[4] = {}, c[4] = {};
    int Uebertrag = 0;
    for (int i = 0; i < 4; ++i) {
        int s = Subtraktion ? a[i] - b[i] - Uebertrag : a[i] + b[i] + Uebertrag;
        Uebertrag = 0;
        if (!Subtraktion && s >= 10) {
            s -= 10;
            Uebertrag = 1;
        } else if (Subtraktion && s < 0) {
            s += 10;
            Uebertrag = 1;
        }
        r[i] = s;
        c[i] = Uebertrag;
    }
    Z.r1 = r[0];
    Z.r2 = r[1];
    Z.r3 = r[2];
    Z.r4 = r[3];
    Z.c1 = c[0];
    Z.c2 = c[1];
    Z.c3 = c[2];
}

int OhneUebertrag(int Ziffer, bool Subtraktion) {
    return Subtraktion ? (Ziffer + 1) % 10 : (Ziffer + 9) % 10;
}

TSpaltenrechnen::TSpaltenrechnen(TComponent* AOwner, bool Subtraktion, TSpaltenZustand& Zustand)
    : TAufgabeg(AOwner), m_sub(Subtraktion), Z(Zustand) {
    using namespace Muster;
    const QString Arial = QStringLiteral("Arial");
    const char* Namen[5] = {"", "Einer", "Zehner", "Hunderter", "Tausender"};
    for (int i = 1; i <= 4; ++i)
        Beschriftung(this, nullptr, QStringLiteral("Label%1").arg(i + 4), QString::fromLatin1(Namen[i]),
                     Spalte[i], 28, Arial, -16, clNavy, true);
    for (int i = 1; i <= 4; ++i) {
        Panel[i] =
            Ziffernfeld(this, nullptr, QStringLiteral("Panel%1").arg(i), Spalte[i], 48, 80, 64, clWhite);
        Panel[i + 4] =
            Ziffernfeld(this, nullptr, QStringLiteral("Panel%1").arg(i + 4), Spalte[i], 136, 80, 64, clWhite);
    }
    Label2 = Beschriftung(this, nullptr, QStringLiteral("Label2"),
                          Subtraktion ? QStringLiteral("-") : QStringLiteral("+"), 64, 128,
                          QStringLiteral("Symbol"), -64);
    for (int i = 1; i <= 3; ++i) {
        RichEditRest[i] =
            Antwortbox(this, nullptr, QStringLiteral("RichEditRest%1").arg(i), Spalte[i + 1], 216, 80, 33);
        BoxVerbinden(RichEditRest[i], 2, [this](TObject* s) { Pruefen(s); });
    }
    Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Übertrag"), 40, 220);
    Shape1 = new TShape(this);
    Shape1->SetName(QStringLiteral("Shape1"));
    Shape1->SetParent(B_ScrollBox);
    Shape1->Pen()->SetWidth(2);
    Shape1->SetBounds(40, 256, 425, 2);
    for (int i = 1; i <= 4; ++i) {
        RichEdit[i] = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(i), Spalte[i], 264, 80, 80);
        RichEdit[i]->Font()->SetHeight(-64);
        RichEdit[i]->SetAlignment(taCenter);
        BoxVerbinden(RichEdit[i], 2, [this](TObject* s) { Pruefen(s); });
        LabelZ[i] = Urteilslabel(this, nullptr, QStringLiteral("LabelZ%1").arg(i), Spalte[i], 352, 80, 41);
        LabelZ[i]->Font()->SetName(Arial);
        LabelZ[i]->SetAlignment(taCenter);
    }
    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 480, 232, 297, 23);
    LabelP1->Font()->SetHeight(-19);
    BitBtnP1 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 480, 264, 217, 80, -32);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };

    const auto Ergebnisknopf = [this](const QString& Name, int Spaltennr) {
        TBitBtn* b =
            Muster::Knopf(this, nullptr, Name, QStringLiteral("Ergebnis"), Spalte[Spaltennr], 396, 80, 33);
        b->Font()->SetColor(clGreen);
        b->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
        return b;
    };
    BitBtnErgebnis = Ergebnisknopf(QStringLiteral("BitBtnErgebnis"), 1);
    BitBtn3 = Ergebnisknopf(QStringLiteral("BitBtn3"), 2);
    if (Subtraktion) BitBtn4 = Ergebnisknopf(QStringLiteral("BitBtn4"), 3);

    Panel9 = Feld(this, nullptr, QStringLiteral("Panel9"), 384, 432, 425, 97, Hellgelb);
    Label4 = Hilfezeile(this, Panel9, QStringLiteral("Label4"), 0);
    Label9 = Hilfezeile(this, Panel9, QStringLiteral("Label9"), 1);
    Label10 =
        Hilfezeile(this, Panel9, QStringLiteral("Label10"), 2,
                   Subtraktion ? QStringLiteral("Für die Zehnerstelle ergibt sich der Übertrag 1.")
                               : QStringLiteral("Daher ergibt sich für die Zehnerstelle der Übertrag 1."));
    Panel10 = Feld(this, nullptr, QStringLiteral("Panel10"), 0, 432, 377, 97, Hellgelb);
    Label11 = Hilfezeile(this, Panel10, QStringLiteral("Label11"), 0);
    Label12 = Hilfezeile(this, Panel10, QStringLiteral("Label12"), 1);
    Label13 = Hilfezeile(this, Panel10, QStringLiteral("Label13"), 2,
                         Subtraktion ? QStringLiteral("Für die Hunderterstelle ergibt sich")
                                     : QStringLiteral("Daher ergibt sich für die Hunderterstelle"));
    LabelLetzte =
        Hilfezeile(this, Panel10, Subtraktion ? QStringLiteral("Label19") : QStringLiteral("Label14"), 3,
                   QStringLiteral("der Übertrag 1."));

    if (Subtraktion) {
        Panel11 = Feld(this, nullptr, QStringLiteral("Panel11"), 480, 8, 321, 217, Hellgruen);
        const QString Tahoma = QStringLiteral("Tahoma");
        Beschriftung(this, Panel11, QStringLiteral("Label15"), QStringLiteral("Tipp:"), 8, 2, Tahoma, -13,
                     clBlack, true);
        Beschriftung(this, Panel11, QStringLiteral("Label16"),
                     QStringLiteral("Du kannst dein Ergebnis durch"), 8, 16, Tahoma, -13);
        Beschriftung(this, Panel11, QStringLiteral("Label17"),
                     QStringLiteral("eine Additionsaufgabe überprüfen."), 8, 30, Tahoma, -13);
        for (int i = 1; i <= 4; ++i) {
            PanelA[i] = Ziffernfeld(this, Panel11, QStringLiteral("PanelA%1").arg(i), TippSpalte[i], 48, 40,
                                    19, clWhite);
            PanelB[i] = Ziffernfeld(this, Panel11, QStringLiteral("PanelB%1").arg(i), TippSpalte[i], 96, 40,
                                    19, clWhite);
            PanelC[i] = Ziffernfeld(this, Panel11, QStringLiteral("PanelC%1").arg(i), TippSpalte[i], 168, 40,
                                    19, clWhite);
        }
        Beschriftung(this, Panel11, QStringLiteral("Label18"), QStringLiteral("+"), 60, 104, Tahoma, -19);
        Beschriftung(this, Panel11, QStringLiteral("Label20"), QStringLiteral("Übertrag"), 8, 140, Tahoma,
                     -13);
        for (int i = 1; i <= 3; ++i)
            LU[i] = Beschriftung(this, Panel11, QStringLiteral("LU%1").arg(i), QString(),
                                 TippSpalte[i + 1] + 16, 140, Tahoma, -13);
        auto* Linie = new TShape(this);
        Linie->SetName(QStringLiteral("Shape2"));
        Linie->SetParent(Panel11);
        Linie->SetBounds(TippSpalte[4], 160, TippSpalte[1] + 40 - TippSpalte[4], 2);
    }
}

void TSpaltenrechnen::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Z = TSpaltenZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TSpaltenrechnen::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    int a = Runtime::Random(989) + 11;
    int b = Runtime::Random(989) + 11;
    while (m_sub && a <= b) {
        a = Runtime::Random(989) + 11;
        b = Runtime::Random(989) + 11;
    }
    AufgabeZeigen(a, b);
}

void TSpaltenrechnen::AufgabeZeigen(int a, int b) {
    BitBtn3->SetVisible(false);
    Panel9->SetVisible(false);
    Panel10->SetVisible(false);
    if (m_sub) {
        BitBtn4->SetVisible(false);
        Panel11->SetVisible(false);
    }
    LabelP1->SetCaption(QString());
    for (int i = 1; i <= 4; ++i)
        LabelZ[i]->SetCaption(QString());
    BitBtnP1->Font()->SetColor(clBlack);
    for (int i = 1; i <= 4; ++i) {
        RichEdit[i]->Clear();
        RichEdit[i]->SetColor(clWhite);
    }
    for (int i = 1; i <= 3; ++i) {
        RichEditRest[i]->Clear();
        RichEditRest[i]->SetColor(clWhite);
    }
    Z.a = a;
    Z.b = b;
    const TZiffern A = Ziffern(a), B = Ziffern(b);
    const auto Zeigen = [](TPanel* const* p, const TZiffern& d) {
        p[1]->SetCaption(N(d.e));
        p[2]->SetCaption(N(d.z));
        p[3]->SetCaption(d.h ? N(d.h) : QString());
        p[4]->SetCaption(d.t ? N(d.t) : QString());
    };
    Zeigen(Panel, A);
    Zeigen(Panel + 4, B);
    SpaltenRechnen(Z, m_sub);
    if (m_sub) {
        HilfeSubtraktion();
        Tipp();
    } else {
        HilfeAddition();
    }
    // The pupil starts with the ones digit, and types it at once.
    Muster::Fokus(RichEdit[1]);
}

void TSpaltenrechnen::HilfeAddition() {
    const TZiffern A = Ziffern(Z.a), B = Ziffern(Z.b);
    const int s = A.e + B.e;
    Label4->SetCaption("Rechne " + N(A.e) + " + " + N(B.e) + " = " + N(s));
    Label9->SetVisible(Z.c1 == 1);
    Label10->SetVisible(Z.c1 == 1);
    if (Z.c1 == 1)
        Label9->SetCaption(N(s) + " = 10 + " + N(s - 10) + ", d.h. Zehner = 1, Einer = " + N(s - 10));
    if (Z.c1 == 1)
        Label11->SetCaption("Rechne " + N(A.z) + " + " + N(B.z) + " + 1 = " + N(A.z + B.z + 1) +
                            " ( +1 wegen Übertrag )");
    else
        Label11->SetCaption("Rechne " + N(A.z) + " + " + N(B.z) + " = " + N(A.z + B.z));
    const int t = A.z + B.z + Z.c1;
    for (TLabel* l : {Label12, Label13, LabelLetzte})
        l->SetVisible(Z.c2 == 1);
    if (Z.c2 == 1)
        Label12->SetCaption(N(t) + " = 10 + " + N(t - 10) + ", d.h. Hunderter = 1, Zehner = " + N(t - 10));
}

void TSpaltenrechnen::HilfeSubtraktion() {
    const TZiffern A = Ziffern(Z.a), B = Ziffern(Z.b);
    if (Z.c1 == 0)
        Label4->SetCaption("Rechne " + N(A.e) + " - " + N(B.e) + " = " + N(A.e - B.e));
    else
        Label4->SetCaption(QStringLiteral("Hole dir 10 weitere Einer von der Zehnerstelle."));
    Label9->SetVisible(Z.c1 == 1);
    Label10->SetVisible(Z.c1 == 1);
    if (Z.c1 == 1) Label9->SetCaption(N(A.e) + " + 10 - " + N(B.e) + " = " + N(A.e + 10 - B.e));
    if (Z.c2 == 1)
        Label11->SetCaption(QStringLiteral("Hole dir 10 weitere Zehner von der Hunderterstelle."));
    else if (Z.c1 == 1)
        Label11->SetCaption("Rechne " + N(A.z) + " - " + N(B.z) + " - 1 = " + N(A.z - B.z - 1) +
                            " ( -1 wegen Übertrag )");
    else
        Label11->SetCaption("Rechne " + N(A.z) + " - " + N(B.z) + " = " + N(A.z - B.z));
    for (TLabel* l : {Label12, Label13, LabelLetzte})
        l->SetVisible(Z.c2 == 1);
    if (Z.c2 == 1) {
        if (Z.c1 == 1)
            Label12->SetCaption(N(A.z) + " + 10 - " + N(B.z) + " - 1 = " + N(A.z + 10 - B.z - 1) +
                                " ( -1 wegen Übertrag )");
        else
            Label12->SetCaption(N(A.z) + " + 10 - " + N(B.z) + " = " + N(A.z + 10 - B.z));
    }
}

void TSpaltenrechnen::Tipp() {
    const int d = Z.a - Z.b;
    const TZiffern D = Ziffern(d), B = Ziffern(Z.b), A = Ziffern(Z.a);
    const auto Zeigen = [](TPanel* const* p, const TZiffern& z, int Zahl) {
        p[1]->SetCaption(N(z.e));
        p[2]->SetCaption(Stellentext(z.z, Zahl, 10));
        p[3]->SetCaption(Stellentext(z.h, Zahl, 100));
        p[4]->SetCaption(Stellentext(z.t, Zahl, 1000));
    };
    Zeigen(PanelA, D, d);
    Zeigen(PanelB, B, Z.b);
    Zeigen(PanelC, A, Z.a);
    const int u1 = D.e + B.e >= 10 ? 1 : 0;
    const int u2 = D.z + B.z + u1 >= 10 ? 1 : 0;
    const int u3 = D.h + B.h + u2 >= 10 ? 1 : 0;
    LU[1]->SetCaption(u1 ? QStringLiteral("1") : QString());
    LU[2]->SetCaption(u2 ? QStringLiteral("1") : QString());
    LU[3]->SetCaption(u3 ? QStringLiteral("1") : QString());
}

bool TSpaltenrechnen::Leer(TRichEdit* Box) const {
    return Muster::Antwort(Box).isEmpty();
}

void TSpaltenrechnen::Pruefen(TObject* Sender) {
    bool Gehoert = Sender == BitBtnP1;
    for (int i = 1; i <= 4; ++i)
        Gehoert = Gehoert || Sender == RichEdit[i] || (i <= 3 && Sender == RichEditRest[i]);
    if (!Gehoert) return;

    const auto Vergleich = [this](TRichEdit* Box, int Erwartet) {
        bool Richtig = false;
        ErgebnisPruefen2(Muster::Antwort(Box), N(Erwartet), LabelP1, 50, 'c', Richtig, 0, 0);
        return Richtig;
    };
    bool Rest[4] = {false, true, true, true}, Ziffer[5] = {false, true, true, true, true};
    const int c[4] = {0, Z.c1, Z.c2, Z.c3};
    for (int i = 1; i <= 3; ++i) {
        if (c[i] == 0 && Leer(RichEditRest[i])) continue;
        Rest[i] = Vergleich(RichEditRest[i], c[i]);
        RichEditRest[i]->SetColor(Rest[i] ? BoxRichtig : BoxFalsch);
    }
    const int r[5] = {0, Z.r1, Z.r2, Z.r3, Z.r4};
    for (int i = 1; i <= 4; ++i) {
        Ziffer[i] = Vergleich(RichEdit[i], r[i]);
        if (Ziffer[i]) {
            Muster::Urteil(LabelZ[i], QStringLiteral("richtig"), FarbeUrteilRichtig);
        } else {
            // A column that received a carry: the digit without it gets a hint.
            if (i >= 2 && c[i - 1] == 1 && Vergleich(RichEdit[i], OhneUebertrag(r[i], m_sub)))
                Muster::Urteil(LabelZ[i], QStringLiteral("Übertrag") + QChar(13) + QStringLiteral("beachten"),
                               FarbeUrteilFalsch);
            else
                Muster::Urteil(LabelZ[i], QStringLiteral("falsch"), FarbeUrteilFalsch);
            if (Leer(RichEdit[i])) LabelZ[i]->SetCaption(QString());
        }
    }
    const int Wert = m_sub ? Z.a - Z.b : Z.a + Z.b;
    if (Wert < 1000 && Leer(RichEdit[4])) Ziffer[4] = true;
    if (Wert < 100 && Leer(RichEdit[3])) Ziffer[3] = true;
    if (m_sub && Wert < 10 && Leer(RichEdit[2])) Ziffer[2] = true;
    for (int i = 1; i <= 3; ++i)
        if (Leer(RichEditRest[i])) Rest[i] = true;

    bool Alle = true;
    for (int i = 1; i <= 4; ++i)
        Alle = Alle && Ziffer[i] && (i > 3 || Rest[i]);
    if (Alle) {
        Muster::Urteil(LabelP1, QStringLiteral("Sehr gut, weiter so."), FarbeUrteilRichtig);
        if (m_sub) Panel11->SetVisible(true);
    } else {
        Muster::Urteil(LabelP1, QStringLiteral("Leider falsch."), FarbeUrteilFalsch);
    }
}

void TSpaltenrechnen::BitBtnP1Click(TObject* Sender) {
    Pruefen(Sender);
}

void TSpaltenrechnen::BitBtnErgebnisClick(TObject* Sender) {
    const auto Eintragen = [](TRichEdit* Box, const QString& Text) { Box->Lines()->SetText(Text); };
    const int Wert = Z.a - Z.b;
    if (Sender == BitBtnErgebnis) {
        Eintragen(RichEdit[1], N(Z.r1));
        if (Z.c1 == 1) Eintragen(RichEditRest[1], QStringLiteral("1"));
        Pruefen(BitBtnP1);
        Panel9->SetVisible(true);
        if (!m_sub || Wert >= 10) BitBtn3->SetVisible(true);
    } else if (Sender == BitBtn3) {
        Eintragen(RichEdit[2], N(Z.r2));
        if (Z.c2 == 1) Eintragen(RichEditRest[2], QStringLiteral("1"));
        Pruefen(BitBtnP1);
        Panel10->SetVisible(true);
        if (m_sub && Wert >= 100) BitBtn4->SetVisible(true);
    } else if (m_sub && Sender == BitBtn4) {
        Eintragen(RichEdit[3], N(Z.r3));
        Pruefen(BitBtnP1);
    }
}
