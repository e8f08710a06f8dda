#include "exercises/chapter2/UZqK2_4A2.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"

TUnbekannteMasseZustand ZqK2_4A2;

int UnbekannteMasseWaehlen() {
    int m = 0;
    // One decision per piece, 5 g first and 500 g last.
    for (int i = 0; i < GewichtAnzahl; ++i)
        if (Zufallsentscheidung(0.5)) m += GewichtMassen[i];
    return m == 0 ? 500 : m;
}

int UnbekannteSchriftgroesse(int Masse) {
    if (Masse < 20) return 8;
    if (Masse < 50) return 10;
    if (Masse < 100) return 12;
    if (Masse <= 500) return 16;
    return 24;
}

TZqK2_4A2::TZqK2_4A2(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_4A2"));
    SetCaption(QStringLiteral("Abschnitt 2.4   Übung 2"));
    Label1 = Titel(this, QStringLiteral("Die Waage"));
    Label2 = Beschriftung(this, nullptr, QStringLiteral("Label2"),
                          QStringLiteral("Bestimme die Masse des linken Gewichts."), 8, 36);
    Label3 = Beschriftung(this, nullptr, QStringLiteral("Label3"),
                          QStringLiteral("Stelle dazu so viele Gewichte auf die Waage, bis sie sich im "
                                         "Gleichgewicht befindet."),
                          8, 58);
    GewichtsatzAnlegen(this, 256, Knoepfe, Gewichtbilder, [this](TObject* s) { BitBtn2Click(s); });

    Image9 = Zeichenbild(this, nullptr, QStringLiteral("Image9"), 8, 304, 769, 287);
    Label4 = WaagenText(this, 304);

    Beschriftung(this, nullptr, QStringLiteral("Label5"), QStringLiteral("Masse ="), 790, 420,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    RichEdit1 = Antwortbox(this, nullptr, QStringLiteral("RichEdit1"), 880, 414, 96);
    Beschriftung(this, nullptr, QStringLiteral("Label6"), QStringLiteral("g"), 982, 420,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    BitBtnP1 = Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 880, 456, 96, 33);
    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 790, 498, 200, 48);
    PaarVerbinden({RichEdit1, BitBtnP1, LabelP1, nullptr}, 2, [this](TObject*) { MassePruefen(); });

    Timer1 = new TTimer(this);
    Timer1->SetName(QStringLiteral("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(50);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TZqK2_4A2::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    B_Tastatur->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    Runtime::Randomize();
    NeueAufgabe();
}

void TZqK2_4A2::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    ZqK2_4A2.Geloest = false;
    Muster::PaarLeeren({RichEdit1, BitBtnP1, LabelP1, nullptr});
    ZqK2_4A2.Zielmasse = UnbekannteMasseWaehlen();
    Timer1->SetEnabled(true);
    ZqK2_4A2.AufSchale.fill(false);
    ZqK2_4A2.Winkel = -10;
    WaageZeichnen();
    KnoepfeBeschriften(Knoepfe, ZqK2_4A2.AufSchale);
    Muster::Fokus(RichEdit1);
}

void TZqK2_4A2::BitBtn2Click(TObject* Sender) {
    for (int i = 0; i < GewichtAnzahl; ++i)
        if (Knoepfe[i] == Sender) {
            ZqK2_4A2.AufSchale[i] = !ZqK2_4A2.AufSchale[i];
            WaageZeichnen();
            KnoepfeBeschriften(Knoepfe, ZqK2_4A2.AufSchale);
            return;
        }
}

void TZqK2_4A2::Timer1Timer(TObject*) {
    const int m = GewichteSumme(ZqK2_4A2.AufSchale);
    const int t = ZqK2_4A2.Zielmasse;
    if (WaagebalkenSchritt(m, t, ZqK2_4A2.Winkel)) WaageZeichnen();
    const QString Text = WaagenUrteil(m, t);
    if (Label4->Caption() != Text) Label4->SetCaption(Text);
}

void TZqK2_4A2::MassePruefen() {
    if (Muster::PaarPruefen({RichEdit1, BitBtnP1, LabelP1, nullptr}, ZahlAlsText(ZqK2_4A2.Zielmasse), 25,
                            2)) {
        ZqK2_4A2.Geloest = true;
        WaageZeichnen();
    }
}

void TZqK2_4A2::WaageZeichnen() {
    const TWaagenGeometrie g =
        WaageOhneLastZeichnen(Image9, Gewichtbilder, ZqK2_4A2.AufSchale, ZqK2_4A2.Winkel);
    const int m = ZqK2_4A2.Zielmasse;
    const int Boden = g.Links.y + 184 - 1;
    const int Groesse = UnbekannteSchriftgroesse(m);
    if (ZqK2_4A2.Geloest)
        GewichtMitMasseZeichnen(g.Links.x, Boden, m, 255, 200, 0, 1.5, Groesse, Image9);
    else
        GewichtZeichnen(g.Links.x, Boden, m, 255, 200, 0, 1.5, QStringLiteral("?"), Groesse, Image9);
    SchnuereZeichnen(g, Image9);
}
