#include "exercises/chapter2/UZqK2_1A2.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "platform/TextMetrics.h"
#include "term/UTermFormular.h"

#include <algorithm>

TUhrAblesenZustand ZqK2_1A2;

namespace {

constexpr TColor FarbeRichtig = RGB(0, 255, 0);
constexpr TColor FarbeFalsch = RGB(255, 0, 0);
constexpr TColor FarbeLeer = RGB(255, 255, 0);

} // namespace

void TZqK2_1A2::Gruppenzeilen(int Oben, int n) {
    using namespace Muster;
    const bool Vor = n == 1;
    const int y = Oben;
    Beschriftung(this, nullptr, QStringLiteral("LabelGruppe%1").arg(n),
                 Vor ? QStringLiteral("vor Mittag:") : QStringLiteral("nach Mittag:"), 416, y,
                 QStringLiteral("Tahoma"), -16, clBlack, true);
    const QStringList Bereiche[2] = {
        {QStringLiteral("0:00"), QStringLiteral("00"), QStringLiteral("Uhr"), QStringLiteral("bis"),
         QStringLiteral("11:59"), QStringLiteral("59"), QStringLiteral("Uhr")},
        {QStringLiteral("12:00"), QStringLiteral("00"), QStringLiteral("Uhr"), QStringLiteral("bis"),
         QStringLiteral("23:59"), QStringLiteral("59"), QStringLiteral("Uhr")}};
    const QStringList& Bereich = Bereiche[Vor ? 0 : 1];
    // Each part stands a blank after the wider of the two rows' parts before
    // it, so that "12:00" and its seconds never run together and both rows
    // keep their columns.
    int x = 536;
    for (int i = 0; i < 7; ++i) {
        TLabel* l = Beschriftung(this, nullptr, QStringLiteral("LabelBereich%1_%2").arg(n).arg(i + 1),
                                 Bereich[i], x, y);
        if (i == 1) SekundenBereich[Vor ? 0 : 2] = l;
        if (i == 5) SekundenBereich[Vor ? 1 : 3] = l;
        const TFont& f = *l->Font();
        x +=
            std::max(TextMetrics().TextWidth(f, Bereiche[0][i]), TextMetrics().TextWidth(f, Bereiche[1][i])) +
            TextMetrics().TextWidth(f, QStringLiteral(" "));
    }
    Beschriftung(this, nullptr, QStringLiteral("LabelMeridiem%1").arg(n),
                 Vor ? QStringLiteral("ante meridiem ( a.m. oder AM )")
                     : QStringLiteral("post meridiem ( p.m. oder PM )"),
                 416, y + 24, QStringLiteral("Tahoma"), -13);
    Beschriftung(this, nullptr, QStringLiteral("LabelStunden%1").arg(n), QStringLiteral("Stunden"), 416,
                 y + 50, QStringLiteral("Tahoma"), -13);
    Beschriftung(this, nullptr, QStringLiteral("LabelMinuten%1").arg(n), QStringLiteral("Minuten"), 512,
                 y + 50, QStringLiteral("Tahoma"), -13);
    TLabel* Sek = Beschriftung(this, nullptr, Vor ? QStringLiteral("Label10") : QStringLiteral("Label21"),
                               QStringLiteral("Sekunden"), 608, y + 50, QStringLiteral("Tahoma"), -13);
    (Vor ? Label10 : Label21) = Sek;

    TRichEdit* Box[3];
    for (int i = 0; i < 3; ++i) {
        Box[i] = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(i + 1 + (Vor ? 0 : 3)),
                            416 + 96 * i, y + 70, 80);
        Box[i]->SetAlignment(taCenter);
        BoxVerbinden(Box[i], 2, [this](TObject* s) { BitBtnP1Click(s); });
    }
    TBitBtn* P = Knopf(this, nullptr, Vor ? QStringLiteral("BitBtnP1") : QStringLiteral("BitBtnP2"),
                       QStringLiteral("Uhrzeit prüfen"), 416, y + 112, 160, 33);
    TBitBtn* L = Knopf(this, nullptr, Vor ? QStringLiteral("BitBtnErgebnis") : QStringLiteral("BitBtn3"),
                       QStringLiteral("Lösung"), 584, y + 112, 104, 33);
    P->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    L->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    TLabel* U = Urteilslabel(this, nullptr, Vor ? QStringLiteral("LabelP1") : QStringLiteral("LabelP2"), 408,
                             y + 152, 385);
    U->SetAlignment(taCenter);
    TImage* A =
        Bild(this, nullptr, Vor ? QStringLiteral("Image2") : QStringLiteral("Image3"), 416, y + 182, 177, 41);
    A->SetVisible(false);
    if (Vor) {
        RichEdit1 = Box[0], RichEdit2 = Box[1], RichEdit3 = Box[2];
        BitBtnP1 = P, BitBtnErgebnis = L, LabelP1 = U, Image2 = A;
    } else {
        RichEdit4 = Box[0], RichEdit5 = Box[1], RichEdit6 = Box[2];
        BitBtnP2 = P, BitBtn3 = L, LabelP2 = U, Image3 = A;
    }
}

TZqK2_1A2::TZqK2_1A2(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_1A2"));
    SetCaption(QStringLiteral("Abschnitt 2.1   Übung 2"));
    Label1 = Titel(this, QStringLiteral("Uhrzeit ablesen auf einer Analoguhr"));
    Image1 = Neuzeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 24, 400, 500);

    Checks = new TCheckBox(this);
    Checks->SetName(QStringLiteral("Checks"));
    Checks->SetParent(B_ScrollBox);
    Checks->SetParentFont(false);
    Checks->Font()->SetName(QStringLiteral("Tahoma"));
    Checks->Font()->SetHeight(-16);
    Checks->SetBounds(16, 530, 200, 24);
    Checks->SetCaption(QStringLiteral("Sekundenzeiger"));
    Checks->SetChecked(true);
    Checks->OnClick = [this](TObject* s) { ChecksClick(s); };

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 408, 32, 385, 100, RGB(210, 242, 222));
    const QStringList Hinweis{QStringLiteral("Du kannst anhand der Zeigerstellungen"),
                              QStringLiteral("nicht erkennen, ob es vor Mittag oder"),
                              QStringLiteral("nach Mittag ist."),
                              QStringLiteral("Notiere beide Möglichkeiten.")};
    for (int i = 0; i < Hinweis.size(); ++i)
        Beschriftung(this, Panel1, QStringLiteral("LabelHinweis%1").arg(i + 1), Hinweis[i], 8, 4 + 23 * i);

    Gruppenzeilen(144, 1);
    Gruppenzeilen(384, 2);
}

void TZqK2_1A2::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Runtime::Randomize();
    B_NeueAufgabe->SetCaption(QStringLiteral("Neue Werte"));
    NeueAufgabe();
}

void TZqK2_1A2::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    for (TRichEdit* b : {RichEdit1, RichEdit2, RichEdit3, RichEdit4, RichEdit5, RichEdit6}) {
        b->Clear();
        b->SetColor(clWhite);
    }
    const bool MitSekunden = Checks->Checked();
    for (TControl* c :
         std::initializer_list<TControl*>{Label10, Label21, SekundenBereich[0], SekundenBereich[1],
                                          SekundenBereich[2], SekundenBereich[3], RichEdit3, RichEdit6})
        c->SetVisible(MitSekunden);
    if (!MitSekunden) {
        RichEdit3->Lines()->SetText(QStringLiteral("0"));
        RichEdit6->Lines()->SetText(QStringLiteral("0"));
    }
    LabelP1->SetCaption(QString());
    LabelP2->SetCaption(QString());
    BitBtnErgebnis->SetVisible(true);
    BitBtn3->SetVisible(true);
    Image2->SetVisible(false);
    Image3->SetVisible(false);

    const int h = Runtime::Random(12);
    const int m = Runtime::Random(60);
    int s = Runtime::Random(60);
    if (!MitSekunden) s = 0;
    ZeitZeigen(h, m, s);
    Muster::Fokus(RichEdit1);
}

void TZqK2_1A2::ZeitZeigen(int Stunde, int Minute, int Sekunde) {
    TUhrAblesenZustand& Z = ZqK2_1A2;
    Z.VorMittag = {Stunde, Minute, Sekunde};
    Z.NachMittag = {Stunde + 12, Minute, Sekunde};
    const bool MitSekunden = Checks->Checked();
    BildFuellen(255, 255, 255, Image1);
    // The clock fills its picture: in a scaled window it is drawn larger, margin and all.
    AnalogUhrZeichnen(Image1->Width() / 2, Image1->Height() / 2, Image1->Width() / 2 - Skaliert(10), Stunde,
                      Minute, Sekunde, true, true, MitSekunden, Image1);
    BildFuellen(255, 255, 255, Image2);
    DigitaluhrZeichnen(5, 0, 40, Z.VorMittag.Stunde, Minute, Sekunde, 255, 0, 0, 0, 0, 0, true, true, true,
                       MitSekunden, Image2);
    BildFuellen(0, 0, 0, Image3);
    DigitaluhrZeichnen(5, 0, 40, Z.NachMittag.Stunde, Minute, Sekunde, 0, 255, 0, 0, 0, 0, true, true, true,
                       MitSekunden, Image3);
}

TZqK2_1A2::TGruppe TZqK2_1A2::Gruppe(int n) const {
    if (n == 1)
        return {{RichEdit1, RichEdit2, RichEdit3},
                BitBtnP1,
                LabelP1,
                BitBtnErgebnis,
                Image2,
                &ZqK2_1A2.VorMittag};
    return {{RichEdit4, RichEdit5, RichEdit6}, BitBtnP2, LabelP2, BitBtn3, Image3, &ZqK2_1A2.NachMittag};
}

void TZqK2_1A2::UhrzeitPruefen(const TGruppe& G) {
    const int Erwartet[3] = {G.Zeit->Stunde, G.Zeit->Minute, G.Zeit->Sekunde};
    bool Richtig[3] = {};
    bool Leer = false;
    for (int i = 0; i < 3; ++i) {
        const QString a = Muster::Antwort(G.Box[i]);
        ErgebnisPruefen2(a, ZahlAlsText(Erwartet[i]), G.Urteil, 50, 'c', Richtig[i], 0, 0);
        const bool l = a.isEmpty();
        Leer = Leer || l;
        G.Box[i]->SetColor(Richtig[i] ? FarbeRichtig : l ? clWhite : FarbeFalsch);
    }
    if (Richtig[0] && Richtig[1] && Richtig[2]) {
        Muster::Urteil(G.Urteil, QStringLiteral("Klasse, du hast die Uhrzeit richtig abgelesen."),
                       FarbeRichtig);
        G.Loesung->SetVisible(false);
        G.Anzeige->SetVisible(true);
    } else if (Leer) {
        Muster::Urteil(G.Urteil, QStringLiteral("Fülle alle Felder aus."), FarbeLeer);
    } else {
        Muster::Urteil(G.Urteil, QStringLiteral("Die Uhrzeit stimmt nicht."), FarbeFalsch);
    }
}

void TZqK2_1A2::BitBtnP1Click(TObject* Sender) {
    for (int n = 1; n <= 2; ++n) {
        const TGruppe G = Gruppe(n);
        if (Sender && (Sender == G.Pruefen || Sender == G.Box[0] || Sender == G.Box[1] || Sender == G.Box[2]))
            UhrzeitPruefen(G);
    }
}

void TZqK2_1A2::BitBtnErgebnisClick(TObject* Sender) {
    for (int n = 1; n <= 2; ++n) {
        const TGruppe G = Gruppe(n);
        if (!Sender || Sender != G.Loesung) continue;
        G.Loesung->SetVisible(false);
        G.Anzeige->SetVisible(true);
        const int Wert[3] = {G.Zeit->Stunde, G.Zeit->Minute, G.Zeit->Sekunde};
        for (int i = 0; i < 3; ++i)
            G.Box[i]->Lines()->SetText(QString::number(Wert[i]));
        UhrzeitPruefen(G);
    }
}

void TZqK2_1A2::ChecksClick(TObject* Sender) {
    (void)Sender;
    NeueAufgabe();
}
