#include "exercises/chapter1/UZqK1_3E1.h"

#include "exercises/chapter1/UZqK1_3Mal.h"
#include "platform/Runtime.h"

TKurzformZustand ZqK1_3E1;

namespace {

constexpr int Spalte[5] = {0, 230, 175, 119, 63}; // ones .. thousands

QString N(int n) {
    return QString::number(n);
}

// "Schreibe u, merke t ." or, without a carry, "Schreibe u ."
QString Schreibe(int Wert) {
    const int u = Wert % 10, t = Wert / 10 % 10;
    return t != 0 ? "Schreibe " + N(u) + ", merke " + N(t) + " ." : "Schreibe " + N(u) + " .";
}

QString Rechne(int Ziffer, int m, int Merke) {
    return Merke != 0
               ? "Rechne " + N(Ziffer) + " · " + N(m) + " + " + N(Merke) + " = " + N(Ziffer * m + Merke)
               : "Rechne " + N(Ziffer) + " · " + N(m) + " = " + N(Ziffer * m);
}

} // namespace

TZqK1_3E1::TZqK1_3E1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    using namespace Malschema;
    SetName(QStringLiteral("ZqK1_3E1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 5"));
    Label1 =
        Titel(this, QStringLiteral("Schriftliches Multiplizieren mit einer einstelligen Zahl ( Kurzform )"));
    const QString Arial = QStringLiteral("Arial");
    Faktorkopf(this, Panel1, Panel2, Panel3, Panel5);
    auto* Linie = new TShape(this);
    Linie->SetName(QStringLiteral("Shape1"));
    Linie->SetParent(B_ScrollBox);
    Linie->Pen()->SetWidth(2);
    Linie->SetBounds(8, 96, 273, 2);
    for (int k = 1; k <= 4; ++k)
        RichEdit[k] =
            Ziffernbox(this, QStringLiteral("RichEdit%1").arg(k), Spalte[k], 104, [this] { Pruefen(); });
    Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Tausen-\r\nder"), 62, 154, Arial,
                 -13, clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label5"), QStringLiteral("Hunder-\r\nter"), 118, 154, Arial,
                 -13, clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label6"), QStringLiteral("Zehner"), 174, 154, Arial, -13,
                 clNavy, true);
    Beschriftung(this, nullptr, QStringLiteral("Label7"), QStringLiteral("Einer"), 230, 154, Arial, -13,
                 clNavy, true);

    const char* HilfeNamen[4] = {"", "BitBtnHilfe", "BitBtn5", "BitBtn6"};
    const char* ErgebnisNamen[4] = {"", "BitBtnErgebnis", "BitBtn3", "BitBtn4"};
    TLabel** Zeilen[4][2] = {{}, {&Label11, &Label12}, {&Label13, &Label14}, {&Label15, &Label16}};
    for (int s = 1; s <= 3; ++s) {
        const int y = 104 + 56 * (s - 1);
        HilfeKnopf[s] = Knopf(this, nullptr, QString::fromLatin1(HilfeNamen[s]),
                              QStringLiteral("Hilfe %1").arg(s), 288, y, 113, 49);
        HilfeKnopf[s]->OnClick = [this](TObject* o) { BitBtnHilfeClick(o); };
        HilfePanel[s] = Hilfe(this, QStringLiteral("Panel%1").arg(13 + s), 408, y, 225, 49);
        HilfePanel[s]->SetCaption(QString());
        for (int z = 0; z < 2; ++z)
            *Zeilen[s][z] = Hilfezeile(this, HilfePanel[s], QStringLiteral("Label%1").arg(9 + 2 * s + z), z);
        Ergebnis[s] = Knopf(this, nullptr, QString::fromLatin1(ErgebnisNamen[s]),
                            QStringLiteral("Ergebnis %1").arg(s), 640, y, 137, 49);
        Ergebnis[s]->OnClick = [this](TObject* o) { BitBtnErgebnisClick(o); };
    }

    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 64, 408, 449, 23);
    LabelP1->SetAlignment(taCenter);
    BitBtnP1 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 184, 432, 217, 41, -32);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
}

void TZqK1_3E1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_3E1 = TKurzformZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_3E1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    AufgabeZeigen(true);
}

void TZqK1_3E1::AufgabeMit(int a, int m) {
    m_a = a;
    m_m = m;
    AufgabeZeigen(true);
}

void TZqK1_3E1::AufgabeZeigen(bool NeueZahlen) {
    TKurzformZustand& Z = ZqK1_3E1;
    if (NeueZahlen) {
        Malschema::NeueFaktoren(LabelP1, BitBtnP1, RichEdit, 4, Z.a, Z.m, m_a, m_m);
    }
    Z.h = Z.a / 100;
    Z.z = Z.a / 10 % 10;
    Z.e = Z.a % 10;
    Z.Produkt = Z.a * Z.m;
    Panel1->SetCaption(Z.a >= 100 ? N(Z.h) : QString());
    Panel2->SetCaption(N(Z.z));
    Panel3->SetCaption(N(Z.e));
    Panel5->SetCaption(N(Z.m));

    const int k1 = Z.e * Z.m / 10;
    Label11->SetCaption("Rechne " + N(Z.e) + " · " + N(Z.m) + " = " + N(Z.e * Z.m));
    Label12->SetCaption(Schreibe(Z.e * Z.m));
    Label13->SetCaption(Rechne(Z.z, Z.m, k1));
    const bool Drei = Z.a >= 100;
    HilfeKnopf[3]->SetVisible(Drei);
    if (Drei) {
        const int Zwei = Z.z * Z.m + k1;
        const int k2 = Zwei / 10 % 10;
        Label14->SetCaption(Schreibe(Zwei));
        Label15->SetCaption(Rechne(Z.h, Z.m, k2));
        Label16->SetCaption("Schreibe " + N(Z.h * Z.m + k2) + " .");
    } else {
        Label14->SetCaption("Schreibe " + N(Z.z * Z.m + k1) + " .");
    }
    if (NeueZahlen)
        for (int s = 1; s <= 3; ++s) {
            HilfePanel[s]->SetVisible(false);
            Ergebnis[s]->SetVisible(false);
        }
}

void TZqK1_3E1::Pruefen() {
    const int p = ZqK1_3E1.Produkt;
    bool Alle = Malschema::ZifferPruefen(RichEdit[1], Malschema::Ziffer(p, 0), LabelP1, false);
    for (int k = 1; k <= 3; ++k) {
        const int d = Malschema::Ziffer(p, k);
        // Only leading zeros may stay empty.
        Alle =
            Malschema::ZifferPruefen(RichEdit[k + 1], d, LabelP1, d == 0 && p < Malschema::Stellenwert(k)) &&
            Alle;
    }
    Malschema::Urteil(LabelP1, BitBtnP1, Alle);
}

void TZqK1_3E1::BitBtnP1Click(TObject*) {
    Pruefen();
}

void TZqK1_3E1::BitBtnHilfeClick(TObject* Sender) {
    for (int s = 1; s <= 3; ++s)
        if (Sender == HilfeKnopf[s]) {
            HilfePanel[s]->SetVisible(true);
            Ergebnis[s]->SetVisible(true);
        }
}

void TZqK1_3E1::BitBtnErgebnisClick(TObject* Sender) {
    const int p = ZqK1_3E1.Produkt;
    const auto Eintragen = [this, p](int k) {
        RichEdit[k]->Lines()->SetText(N(Malschema::Ziffer(p, k - 1)));
    };
    if (Sender == Ergebnis[1]) {
        Eintragen(1);
    } else if (Sender == Ergebnis[2]) {
        Eintragen(2);
        if (!HilfeKnopf[3]->Visible() && p >= 100) Eintragen(3);
    } else if (Sender == Ergebnis[3]) {
        Eintragen(3);
        if (Malschema::Ziffer(p, 3) > 0) Eintragen(4);
    } else {
        return;
    }
    Pruefen();
}
