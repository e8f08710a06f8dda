#include "exercises/chapter1/UZqK1_3C1.h"

#include "platform/Runtime.h"

TMalZehnZustand ZqK1_3C1;

namespace {

TPanel* Zeichenfeld(TAufgabeg* Form, int Nr, int x, int y, const QString& Text) {
    TPanel* p = Muster::Feld(Form, nullptr, QStringLiteral("Panel%1").arg(Nr), x, y, 70, 70, clWhite);
    p->SetParentFont(false);
    p->Font()->SetName(QStringLiteral("Tahoma"));
    p->Font()->SetHeight(-64);
    p->SetCaption(Text);
    return p;
}

} // namespace

TZqK1_3C1::TZqK1_3C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_3C1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 3"));
    Label1 = Titel(this, QStringLiteral("Multiplikation mit Einern, Zehnern und Hundertern"));
    const QString Mal = QStringLiteral("·"), Gleich = QStringLiteral("="), Null = QStringLiteral("0");

    Panel1 = Zeichenfeld(this, 1, 168, 48, {});
    Zeichenfeld(this, 2, 248, 48, Mal);
    Panel3 = Zeichenfeld(this, 3, 328, 48, {});
    Zeichenfeld(this, 4, 408, 48, Gleich);

    Panel5 = Zeichenfeld(this, 5, 88, 152, {});
    Zeichenfeld(this, 6, 168, 152, Null);
    Zeichenfeld(this, 10, 248, 152, Mal);
    Panel11 = Zeichenfeld(this, 11, 328, 152, {});
    Zeichenfeld(this, 12, 408, 152, Gleich);

    Panel7 = Zeichenfeld(this, 7, 8, 256, {});
    Zeichenfeld(this, 8, 88, 256, Null);
    Zeichenfeld(this, 9, 168, 256, Null);
    Zeichenfeld(this, 13, 248, 256, Mal);
    Panel14 = Zeichenfeld(this, 14, 328, 256, {});
    Zeichenfeld(this, 15, 408, 256, Gleich);

    for (int n = 1; n <= 3; ++n) {
        const int y = 48 + 104 * (n - 1);
        TAntwortPaar& P = Paar[n];
        P.Urteil = Urteilslabel(this, nullptr, QStringLiteral("LabelP%1").arg(n), 408, y - 24, 369, 23);
        P.Box = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(n), 488, y, 161, 70);
        P.Box->Font()->SetHeight(-64);
        P.Pruefen = Knopf(this, nullptr, QStringLiteral("BitBtnP%1").arg(n), QStringLiteral("prüfen"), 656, y,
                          121, 70, -32);
        PaarVerbinden(P, 2, [this](TObject* s) { BitBtnP1Click(s); });
    }
}

void TZqK1_3C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_3C1 = TMalZehnZustand{};
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK1_3C1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    for (int n = 1; n <= 3; ++n)
        Muster::PaarLeeren(Paar[n]);
    const int x = Runtime::Random(9);
    const int y = Runtime::Random(8) + 1;
    AufgabeZeigen(x, y);
    Muster::Fokus(Paar[1].Box);
}

void TZqK1_3C1::AufgabeZeigen(int x, int y) {
    TMalZehnZustand& Z = ZqK1_3C1;
    Z.x = x;
    Z.y = y;
    for (TPanel* p : {Panel1, Panel5, Panel7})
        p->SetCaption(QString::number(y));
    for (TPanel* p : {Panel3, Panel11, Panel14})
        p->SetCaption(QString::number(x));
    Z.p1 = y * x;
    Z.p2 = y * x * 10;
    Z.p3 = y * x * 100;
}

void TZqK1_3C1::Pruefen(TObject* Sender) {
    const int Wert[4] = {0, ZqK1_3C1.p1, ZqK1_3C1.p2, ZqK1_3C1.p3};
    for (int n = 1; n <= 3; ++n)
        if (Sender && (Sender == Paar[n].Box || Sender == Paar[n].Pruefen))
            Muster::PaarPruefen(Paar[n], Wert[n], 45, 2);
}

void TZqK1_3C1::BitBtnP1Click(TObject* Sender) {
    Pruefen(Sender);
}
