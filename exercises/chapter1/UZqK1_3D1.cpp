#include "exercises/chapter1/UZqK1_3D1.h"

#include "exercises/chapter1/UZqK1_3Mal.h"
#include "platform/Runtime.h"

TEinstelligZustand ZqK1_3D1;

namespace {

constexpr int Spalte[4] = {230, 175, 119, 63}; // ones .. thousands
constexpr int ZeileY[6] = {0, 104, 160, 224, 280, 344};
constexpr int Stellen[6] = {0, 2, 3, 3, 4, 4};

TShape* Linie(TAufgabeg* Form, const QString& Name, int y) {
    auto* s = new TShape(Form);
    s->SetName(Name);
    s->SetParent(Form->B_ScrollBox);
    s->Pen()->SetWidth(2);
    s->SetBounds(8, y, 273, 2);
    return s;
}

QString N(int n) {
    return QString::number(n);
}

} // namespace

TZqK1_3D1::TZqK1_3D1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    using namespace Malschema;
    SetName(QStringLiteral("ZqK1_3D1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 4"));
    Label1 = Titel(this, QStringLiteral("Schriftliches Multiplizieren mit einer einstelligen Zahl"));
    const QString Arial = QStringLiteral("Arial");
    Faktorkopf(this, Panel1, Panel2, Panel3, Panel5);
    Linie(this, QStringLiteral("Shape1"), 96);
    Linie(this, QStringLiteral("Shape2"), 216);
    Shape3 = Linie(this, QStringLiteral("Shape3"), 336);

    const int Nummern[6][4] = {{}, {1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11, 12}, {16, 15, 14, 13}};
    for (int r = 1; r <= 5; ++r)
        for (int k = 0; k < Stellen[r]; ++k) {
            const int n = Nummern[r][k];
            RichEdit[n] = Ziffernbox(this, QStringLiteral("RichEdit%1").arg(n), Spalte[k], ZeileY[r],
                                     [this] { Pruefen(); });
            Zeile[r][k] = RichEdit[n];
        }

    Panel14 = Hilfe(this, QStringLiteral("Panel14"), 288, 104, 225, 49);
    Panel15 = Hilfe(this, QStringLiteral("Panel15"), 288, 160, 225, 49);
    Panel16 = Hilfe(this, QStringLiteral("Panel16"), 288, 224, 225, 49);
    Panel16->SetCaption(QString());
    Hilfezeile(this, Panel16, QStringLiteral("Label11"), 0, QStringLiteral("c) Addiere die beiden"));
    Hilfezeile(this, Panel16, QStringLiteral("Label12"), 1, QStringLiteral("Ergebnisse aus a) und b)"));
    Panel21 = Hilfe(this, QStringLiteral("Panel21"), 288, 280, 225, 49);
    Panel26 = Hilfe(this, QStringLiteral("Panel26"), 288, 344, 225, 49);
    Panel26->SetCaption(QString());
    Hilfezeile(this, Panel26, QStringLiteral("Label13"), 0, QStringLiteral("e) Addiere die beiden"));
    Hilfezeile(this, Panel26, QStringLiteral("Label14"), 1, QStringLiteral("Ergebnisse aus c) und d)"));
    for (TPanel* p : {Panel16, Panel26})
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* l = dynamic_cast<TLabel*>(p->Controls(i))) {
                l->Font()->SetHeight(-16);
                l->Font()->SetStyle(fsBold);
            }

    const char* Namen[6] = {"", "BitBtnErgebnis", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6"};
    for (int r = 1; r <= 5; ++r) {
        Ergebnis[r] = Knopf(this, nullptr, QString::fromLatin1(Namen[r]),
                            QStringLiteral("Ergebnis %1").arg(r), 520, ZeileY[r], 137, 49);
        Ergebnis[r]->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    }

    Label3 = Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("Tausen-\r\nder"), 62, 394,
                          Arial, -13, clNavy, true);
    Label5 = Beschriftung(this, nullptr, QStringLiteral("Label5"), QStringLiteral("Hunder-\r\nter"), 118, 394,
                          Arial, -13, clNavy, true);
    Label6 = Beschriftung(this, nullptr, QStringLiteral("Label6"), QStringLiteral("Zehner"), 174, 394, Arial,
                          -13, clNavy, true);
    Label7 = Beschriftung(this, nullptr, QStringLiteral("Label7"), QStringLiteral("Einer"), 230, 394, Arial,
                          -13, clNavy, true);

    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 64, 424, 449, 23);
    LabelP1->SetAlignment(taCenter);
    BitBtnP1 =
        Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 184, 448, 217, 41, -32);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };

    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName(QStringLiteral("CheckBox1"));
    CheckBox1->SetParent(B_ScrollBox);
    CheckBox1->SetCaption(QStringLiteral("Hilfen einblenden"));
    CheckBox1->SetBounds(520, 464, 161, 25);
    CheckBox1->SetChecked(true);
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };

    // Last, so that it lies over the help panels and buttons.
    PanelHide =
        Muster::Feld(this, nullptr, QStringLiteral("PanelHide"), 288, 40, 377, 361, RGB(184, 209, 228));
    PanelHide->SetVisible(false);
}

int TZqK1_3D1::Wert(int r) const {
    const TEinstelligZustand& Z = ZqK1_3D1;
    const int w[6] = {0, Z.p1, Z.p2, Z.p3, Z.p4, Z.p5};
    return r >= 1 && r <= 5 ? w[r] : 0;
}

void TZqK1_3D1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_3D1 = TEinstelligZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_3D1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    AufgabeZeigen(true);
}

void TZqK1_3D1::AufgabeMit(int a, int m) {
    m_a = a;
    m_m = m;
    AufgabeZeigen(true);
}

void TZqK1_3D1::AufgabeZeigen(bool NeueZahlen) {
    TEinstelligZustand& Z = ZqK1_3D1;
    if (NeueZahlen) {
        Malschema::NeueFaktoren(LabelP1, BitBtnP1, RichEdit, 16, Z.a, Z.m, m_a, m_m);
    }
    PanelHide->SetCaption(QString());
    if (!CheckBox1->Checked()) {
        PanelHide->SetHeight(Skaliert(361));
        PanelHide->SetVisible(true);
    } else {
        PanelHide->SetVisible(false);
    }
    Z.h = Z.a / 100;
    Z.z = Z.a / 10 % 10;
    Z.e = Z.a % 10;
    Panel1->SetCaption(Z.a >= 100 ? N(Z.h) : QString());
    Panel2->SetCaption(N(Z.z));
    Panel3->SetCaption(N(Z.e));
    Panel5->SetCaption(N(Z.m));
    Panel14->SetCaption("a) Rechne   " + N(Z.e) + " · " + N(Z.m));
    Panel15->SetCaption("b) Rechne   " + N(Z.z * 10) + " · " + N(Z.m));
    Panel21->SetCaption("d) Rechne   " + N(Z.h * 100) + " · " + N(Z.m));
    Z.p1 = Z.e * Z.m;
    Z.p2 = Z.z * 10 * Z.m;
    Z.p3 = Z.p1 + Z.p2;
    Z.p4 = Z.h * 100 * Z.m;
    Z.p5 = Z.p3 + Z.p4;

    const bool Gross = Z.a >= 100;
    for (int r = 4; r <= 5; ++r)
        for (int k = 0; k < 4; ++k)
            Zeile[r][k]->SetVisible(Gross);
    for (TControl* c : std::initializer_list<TControl*>{Panel21, Panel26, Ergebnis[4], Ergebnis[5], Shape3})
        c->SetVisible(Gross);
    for (TLabel* l : {Label3, Label5, Label6, Label7})
        l->SetTop(Skaliert(Gross ? 394 : 274));
    Label3->SetVisible(Gross);
}

void TZqK1_3D1::Pruefen() {
    bool Alle = true;
    for (int r = 1; r <= 5; ++r)
        for (int k = 0; k < Stellen[r]; ++k) {
            const int d = Malschema::Ziffer(Wert(r), k);
            bool Richtig = Malschema::ZifferPruefen(Zeile[r][k], d, LabelP1, d == 0);
            if (r == 5 && !Zeile[r][k]->Visible()) Richtig = true;
            Alle = Alle && Richtig;
        }
    Malschema::Urteil(LabelP1, BitBtnP1, Alle);
}

void TZqK1_3D1::BitBtnP1Click(TObject*) {
    Pruefen();
}

void TZqK1_3D1::BitBtnErgebnisClick(TObject* Sender) {
    for (int r = 1; r <= 5; ++r) {
        if (Sender != Ergebnis[r]) continue;
        const int w = Wert(r);
        for (int k = 0; k < Stellen[r]; ++k) {
            if (k == 0 || w >= Malschema::Stellenwert(k))
                Zeile[r][k]->Lines()->SetText(N(Malschema::Ziffer(w, k)));
            else
                Zeile[r][k]->Clear();
        }
        Pruefen();
    }
}

void TZqK1_3D1::CheckBox1Click(TObject*) {
    AufgabeZeigen(false);
}
