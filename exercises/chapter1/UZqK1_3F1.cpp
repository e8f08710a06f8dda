#include "exercises/chapter1/UZqK1_3F1.h"

#include "drawing/UZeichnen2.h"
#include "exercises/chapter1/UZqK1_3Mal.h"
#include "platform/Runtime.h"

TZweistelligZustand ZqK1_3F1;

namespace {

// x of the columns: ten-thousands, thousands, hundreds, tens, ones.
constexpr int Spalte[5] = {63, 119, 175, 231, 287};

QString N(int n) {
    return QString::number(n);
}

using Malschema::Ziffer;

// Box Stelle (0 ones) of a row whose ones sit in column Einer.
int SpalteX(int Einer, int Stelle) {
    return Spalte[Einer - Stelle];
}

} // namespace

void ZweistelligRechnen(TZweistelligZustand& Z) {
    Z.bz = Z.b / 10;
    Z.be = Z.b % 10;
    Z.q1 = Z.a * Z.bz;
    Z.q2 = Z.a * Z.be;
    Z.Produkt = Z.a * Z.b;
    const int s = Z.q1 * 10;
    Z.c1 = Ziffer(s, 1) + Ziffer(Z.q2, 1) >= 10 ? 1 : 0;
    Z.c2 = Ziffer(s, 2) + Ziffer(Z.q2, 2) + Z.c1 >= 10 ? 1 : 0;
    Z.c3 = Ziffer(s, 3) + Ziffer(Z.q2, 3) + Z.c2 >= 10 ? 1 : 0;
}

TZqK1_3F1::TZqK1_3F1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    using namespace Malschema;
    SetName(QStringLiteral("ZqK1_3F1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 6"));
    Label1 = Titel(this, QStringLiteral("Schriftliches Multiplizieren mit einer zweistelligen Zahl"));
    const QString Arial = QStringLiteral("Arial");
    Faktorkopf(this, Panel1, Panel2, Panel3, Panel5);
    Panel6 = Ziffernfeld(this, QStringLiteral("Panel6"), 288, 40, 50, 40);
    const auto Linie = [this](const QString& Name, int y) {
        auto* s = new TShape(this);
        s->SetName(Name);
        s->SetParent(B_ScrollBox);
        s->Pen()->SetWidth(2);
        s->SetBounds(8, y, 331, 2);
    };
    Linie(QStringLiteral("Shape1"), 96);
    Linie(QStringLiteral("Shape2"), 248);

    const auto Box = [this](int n, int x, int y, int Hoehe = 50) {
        return Ziffernbox(
            this, QStringLiteral("ED%1").arg(n), x, y, [this] { Pruefen(); }, Hoehe);
    };
    for (int k = 0; k < 4; ++k) {
        ED[1 + k] = Box(1 + k, SpalteX(3, k), 104);
        ED[5 + k] = Box(5 + k, SpalteX(4, k), 160);
    }
    for (int k = 0; k < 5; ++k)
        ED[9 + k] = Box(9 + k, SpalteX(4, k), 256);
    for (int i = 1; i <= 3; ++i) {
        EDU[i] =
            Muster::Antwortbox(this, nullptr, QStringLiteral("EDU%1").arg(i), Spalte[3 - i], 216, 50, 28);
        Muster::BoxVerbinden(EDU[i], 2, [this](TObject*) { Pruefen(); });
    }
    Beschriftung(this, nullptr, QStringLiteral("Label2"), QStringLiteral("Übertrag"), 6, 222,
                 QStringLiteral("Tahoma"), -12);
    const struct {
        const char* Name;
        const char* Text;
        int x;
    } Namen[5] = {{"Label4", "Zehntausen-\r\nder", 43},
                  {"Label3", "Tausen-\r\nder", 118},
                  {"Label5", "Hunder-\r\nter", 174},
                  {"Label6", "Zehner", 230},
                  {"Label7", "Einer", 286}};
    for (const auto& n : Namen)
        Beschriftung(this, nullptr, QString::fromLatin1(n.Name), QString::fromUtf8(n.Text), n.x, 314, Arial,
                     -11, clNavy, true);

    const char* HilfeNamen[4] = {"", "BitBtnHilfe", "BitBtn5", "BitBtn6"};
    const char* ErgebnisNamen[4] = {"", "BitBtnErgebnis", "BitBtn3", "BitBtn4"};
    const int SchrittY[4] = {0, 104, 160, 256};
    for (int s = 1; s <= 3; ++s) {
        const int y = SchrittY[s];
        HilfeKnopf[s] = Knopf(this, nullptr, QString::fromLatin1(HilfeNamen[s]),
                              QStringLiteral("Hilfe %1").arg(s), 344, y, 113, 49);
        HilfeKnopf[s]->OnClick = [this](TObject* o) { BitBtnHilfeClick(o); };
        HilfePanel[s] = Hilfe(this, QStringLiteral("Panel%1").arg(13 + s), 464, y, 169, 49);
        Ergebnis[s] = Knopf(this, nullptr, QString::fromLatin1(ErgebnisNamen[s]),
                            QStringLiteral("Ergebnis %1").arg(s), 640, y, 137, 49);
        Ergebnis[s]->OnClick = [this](TObject* o) { BitBtnErgebnisClick(o); };
    }
    HilfePanel[3]->SetCaption(QString());
    for (TLabel* l : {Hilfezeile(this, HilfePanel[3], QStringLiteral("Label11"), 0,
                                 QStringLiteral("Addiere beide Zahlen")),
                      Label12 = Hilfezeile(this, HilfePanel[3], QStringLiteral("Label12"), 1)}) {
        l->Font()->SetHeight(-16);
        l->Font()->SetStyle(fsBold);
    }

    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 64, 408, 449, 23);
    LabelP1->SetAlignment(taCenter);
    BitBtnP1 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 184, 432, 217, 41, -32);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    BitBtn7 =
        Knopf(this, nullptr, QStringLiteral("BitBtn7"), QStringLiteral("Lösung zeigen"), 592, 440, 185, 41);
    BitBtn7->OnClick = [this](TObject* s) { BitBtn7Click(s); };
}

void TZqK1_3F1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_3F1 = TZweistelligZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_3F1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    AufgabeZeigen();
    for (int s = 1; s <= 3; ++s) {
        HilfePanel[s]->SetVisible(false);
        Ergebnis[s]->SetVisible(false);
    }
}

void TZqK1_3F1::AufgabeMit(int a, int b) {
    m_a = a;
    m_b = b;
    NeueAufgabe();
}

void TZqK1_3F1::AufgabeZeigen() {
    TZweistelligZustand& Z = ZqK1_3F1;
    LabelP1->SetCaption(QString());
    BitBtnP1->Font()->SetColor(clBlack);
    for (int n = 1; n <= 13; ++n) {
        ED[n]->Clear();
        ED[n]->SetColor(clWhite);
    }
    for (int i = 1; i <= 3; ++i) {
        EDU[i]->Clear();
        EDU[i]->SetColor(clWhite);
    }
    Muster::Fokus(ED[1]);
    if (m_a >= 0) {
        Z.a = m_a;
        Z.b = m_b;
        m_a = m_b = -1;
    } else {
        Z.a = Runtime::Random(989) + 10;
        Z.b = Runtime::Random(90) + 10;
    }
    ZweistelligRechnen(Z);
    Panel1->SetCaption(Z.a >= 100 ? N(Ziffer(Z.a, 2)) : QString());
    Panel2->SetCaption(N(Ziffer(Z.a, 1)));
    Panel3->SetCaption(N(Ziffer(Z.a, 0)));
    Panel5->SetCaption(N(Z.bz));
    Panel6->SetCaption(N(Z.be));
    HilfePanel[1]->SetCaption("Rechne:  " + N(Z.a) + " · " + N(Z.bz));
    HilfePanel[2]->SetCaption("Rechne:  " + N(Z.a) + " · " + N(Z.be));
    Label12->SetCaption(ZahlGegliedert(Z.q1 * 10) + " + " + ZahlGegliedert(Z.q2));
}

void TZqK1_3F1::Pruefen() {
    const TZweistelligZustand& Z = ZqK1_3F1;
    using Malschema::Stellenwert;
    using Malschema::ZifferPruefen;
    bool Alle = true;
    const auto Reihe = [&](int Erstes, int Stellen, int Wert) {
        for (int k = 0; k < Stellen; ++k) {
            const int d = Ziffer(Wert, k);
            const bool Leer = k > 0 && d == 0 && Wert < Stellenwert(k);
            Alle = ZifferPruefen(ED[Erstes + k], d, LabelP1, Leer) && Alle;
        }
    };
    Reihe(1, 4, Z.q1);
    Reihe(5, 4, Z.q2);
    Reihe(9, 5, Z.Produkt);
    const int c[4] = {0, Z.c1, Z.c2, Z.c3};
    for (int i = 1; i <= 3; ++i)
        Alle = ZifferPruefen(EDU[i], c[i], LabelP1, c[i] == 0) && Alle;
    Malschema::Urteil(LabelP1, BitBtnP1, Alle);
}

void TZqK1_3F1::BitBtnP1Click(TObject*) {
    Pruefen();
}

void TZqK1_3F1::BitBtnHilfeClick(TObject* Sender) {
    TRichEdit* Fokus[4] = {nullptr, ED[1], ED[5], ED[9]};
    for (int s = 1; s <= 3; ++s)
        if (Sender == HilfeKnopf[s]) {
            HilfePanel[s]->SetVisible(true);
            Ergebnis[s]->SetVisible(true);
            Muster::Fokus(Fokus[s]);
        }
}

void TZqK1_3F1::BitBtnErgebnisClick(TObject* Sender) {
    const TZweistelligZustand& Z = ZqK1_3F1;
    const auto Eintragen = [this](int Erstes, int Stellen, int Wert) {
        for (int k = 0; k < Stellen; ++k)
            if (k == 0 || Wert >= Malschema::Stellenwert(k))
                ED[Erstes + k]->Lines()->SetText(N(Ziffer(Wert, k)));
    };
    if (Sender == Ergebnis[1])
        Eintragen(1, 4, Z.q1);
    else if (Sender == Ergebnis[2])
        Eintragen(5, 4, Z.q2);
    else if (Sender == Ergebnis[3])
        Eintragen(9, 5, Z.Produkt);
    else
        return;
    Pruefen();
}

void TZqK1_3F1::BitBtn7Click(TObject*) {
    const TZweistelligZustand& Z = ZqK1_3F1;
    // The whole solution: leftovers of the pupil in places that need no digit
    // would otherwise spoil the shown scheme and its verdict.
    const auto Freimachen = [this](int Erstes, int Stellen, int Wert) {
        for (int k = 1; k < Stellen; ++k)
            if (Wert < Malschema::Stellenwert(k)) ED[Erstes + k]->Clear();
    };
    Freimachen(1, 4, Z.q1);
    Freimachen(5, 4, Z.q2);
    Freimachen(9, 5, Z.Produkt);
    const int c[4] = {0, Z.c1, Z.c2, Z.c3};
    for (int i = 1; i <= 3; ++i) {
        if (c[i] == 1)
            EDU[i]->Lines()->SetText(QStringLiteral("1"));
        else
            EDU[i]->Clear();
    }
    for (int s = 1; s <= 3; ++s)
        BitBtnHilfeClick(HilfeKnopf[s]);
    for (int s = 1; s <= 3; ++s)
        BitBtnErgebnisClick(Ergebnis[s]);
    BitBtnP1Click(BitBtnP1);
}
