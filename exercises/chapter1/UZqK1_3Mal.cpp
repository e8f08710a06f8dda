#include "exercises/chapter1/UZqK1_3Mal.h"

#include "platform/Runtime.h"

#include "term/UTermFormular.h"

namespace Malschema {

TPanel* Ziffernfeld(TAufgabeg* Form, const QString& Name, int x, int y, int Seite, int FontPx,
                    const QString& Text) {
    TPanel* p = Muster::Feld(Form, nullptr, Name, x, y, Seite, Seite, clWhite);
    p->SetParentFont(false);
    p->Font()->SetName(QStringLiteral("Tahoma"));
    p->Font()->SetHeight(-FontPx);
    p->SetCaption(Text);
    return p;
}

void Faktorkopf(TAufgabeg* Form, TPanel*& Hunderter, TPanel*& Zehner, TPanel*& Einer, TPanel*& Faktor) {
    using Muster::Beschriftung;
    const QString Arial = QStringLiteral("Arial");
    Beschriftung(Form, nullptr, QStringLiteral("Label8"), QStringLiteral("Hunderter"), 2, 26, Arial, -11, clNavy,
                 true);
    Beschriftung(Form, nullptr, QStringLiteral("Label9"), QStringLiteral("Zehner"), 62, 26, Arial, -11, clNavy,
                 true);
    Beschriftung(Form, nullptr, QStringLiteral("Label10"), QStringLiteral("Einer"), 118, 26, Arial, -11, clNavy,
                 true);
    Hunderter = Ziffernfeld(Form, QStringLiteral("Panel1"), 8, 40, 50, 40);
    Zehner = Ziffernfeld(Form, QStringLiteral("Panel2"), 64, 40, 50, 40);
    Einer = Ziffernfeld(Form, QStringLiteral("Panel3"), 120, 40, 50, 40);
    Ziffernfeld(Form, QStringLiteral("Panel4"), 176, 40, 50, 40, QStringLiteral("·"));
    Faktor = Ziffernfeld(Form, QStringLiteral("Panel5"), 232, 40, 50, 40);
}

void NeueFaktoren(TLabel* LabelP1, TBitBtn* BitBtnP1, TRichEdit* const* Boxen, int Letzte, int& a, int& m,
                  int& Vorgabe_a, int& Vorgabe_m) {
    LabelP1->SetCaption(QString());
    BitBtnP1->Font()->SetColor(clBlack);
    for (int n = 1; n <= Letzte; ++n) {
        Boxen[n]->Clear();
        Boxen[n]->SetColor(clWhite);
    }
    Muster::Fokus(Boxen[1]);
    if (Vorgabe_a >= 0) {
        a = Vorgabe_a;
        m = Vorgabe_m;
        Vorgabe_a = Vorgabe_m = -1;
    } else {
        a = Runtime::Random(989) + 10;
        m = Runtime::Random(8) + 2;
    }
}

TRichEdit* Ziffernbox(TAufgabeg* Form, const QString& Name, int x, int y, std::function<void()> Pruefen,
                      int Hoehe) {
    TRichEdit* r = Muster::Antwortbox(Form, nullptr, Name, x, y, 50, Hoehe);
    r->Font()->SetHeight(-40);
    Muster::BoxVerbinden(r, 2, [Pruefen](TObject*) {
        if (Pruefen) Pruefen();
    });
    return r;
}

TPanel* Hilfe(TAufgabeg* Form, const QString& Name, int x, int y, int Breite, int Hoehe) {
    TPanel* p = Muster::Feld(Form, nullptr, Name, x, y, Breite, Hoehe, RGB(255, 255, 128));
    p->SetParentFont(false);
    p->Font()->SetName(QStringLiteral("Arial"));
    p->Font()->SetHeight(-16);
    p->Font()->SetStyle(fsBold);
    return p;
}

TLabel* Hilfezeile(TAufgabeg* Form, TPanel* Panel, const QString& Name, int Zeile, const QString& Text) {
    TLabel* l = Muster::Beschriftung(Form, Panel, Name, Text, 0, 2 + 22 * Zeile, QStringLiteral("Arial"), -19,
                                     clBlack, false);
    l->SetAutoSize(false);
    l->SetAlignment(taCenter);
    l->SetBounds(0, 2 + 22 * Zeile, Panel->Width(), 22);
    return l;
}

int Stellenwert(int Stelle) {
    int w = 1;
    while (Stelle-- > 0)
        w *= 10;
    return w;
}

int Ziffer(int n, int Stelle) {
    return n / Stellenwert(Stelle) % 10;
}

bool ZifferPruefen(TRichEdit* Box, int Erwartet, TLabel* Meldung, bool LeerErlaubt) {
    const QString Text = Muster::Antwort(Box);
    if (LeerErlaubt && Text.isEmpty()) {
        Box->SetColor(clWhite);
        return true;
    }
    bool Richtig = false;
    ErgebnisPruefen2(Text, QString::number(Erwartet), Meldung, 25, 'c', Richtig, 0, 0);
    Box->SetColor(Richtig ? RGB(0, 200, 0) : RGB(255, 0, 0));
    return Richtig;
}

void Urteil(TLabel* LabelP1, TBitBtn* BitBtnP1, bool Alle) {
    if (Alle) {
        Muster::Urteil(LabelP1, QStringLiteral("Sehr gut, weiter so."), FarbeUrteilRichtig);
        BitBtnP1->Font()->SetColor(FarbeKnopfRichtig);
    } else {
        Muster::Urteil(LabelP1, QStringLiteral("Leider falsch."), FarbeUrteilFalsch);
        BitBtnP1->Font()->SetColor(FarbeKnopfFalsch);
    }
}

} // namespace Malschema
