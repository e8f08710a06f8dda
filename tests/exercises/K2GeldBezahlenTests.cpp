// Paying at the shop counter: products in turn, the verdict after every click,
// grey tray pieces and the money on the counter.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UGeldBilder.h"
#include "exercises/chapter2/UZqK2_5A1.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_5A1>;

// Indices into the tray, in its order.
enum : int { C1, C2, C2N, C5, C10, C20, C20N, C50, E1, E2, E2N, N5, N10, N20, N50, N5N, N10N, N20N, N50N };

void Klicken(Form& f, std::initializer_list<int> Stuecke) {
    for (int i : Stuecke) {
        TImage* t = f->Tablett[i];
        MausBei(t, t->Width() / 2, t->Height() / 2);
    }
}

void ZuProdukt(Form& f, int k) {
    while (ZqK2_5A1.Produkt != k)
        f->B_NeueAufgabe->Click();
}

bool IstGrau(TColor c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

int Schwarze(TImage* b, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            n += b->Canvas()->Pixel(x, y) == clBlack;
    return n;
}

TEST(PayingAtTheCounter, StartsWithTheFirstProductAndAnEmptyCounter) {
    Form f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.5   Übung 1"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Einkaufen und bezahlen"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_Tastatur->Visible());
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 12"));
    EXPECT_EQ(ZqK2_5A1.Produkt, 1);
    EXPECT_EQ(f->Panel1->Caption(), QStringLiteral("Kugelschreiber 89 Cent"));
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Es fehlen noch 0,89 €."));
    EXPECT_EQ(f->StaticText1->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->StaticText2->Caption(), QStringLiteral(" Theke: 0,00 €."));
    EXPECT_EQ(ZqK2_5A1.Fehlbetrag, 89);
}

TEST(PayingAtTheCounter, ExactPaymentIsGreenAndOnePieceMoreIsTooMuch) {
    Form f;
    Klicken(f, {C50, C20, C10, C5, C2, C2N});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Der Geldbetrag stimmt. Sehr gut, weiter so."));
    EXPECT_EQ(f->StaticText1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->StaticText2->Caption(), QStringLiteral(" Theke: 0,89 €."));
    Klicken(f, {C1});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Du hast 0,01 € zuviel bezahlt."));
    EXPECT_EQ(f->StaticText1->Font()->Color(), RGB(50, 200, 255));
    // Clicking the grey piece takes it back.
    Klicken(f, {C1});
    EXPECT_FALSE(ZqK2_5A1.AufTheke[C1]);
    EXPECT_EQ(f->StaticText1->Font()->Color(), RGB(0, 255, 0));
    // The second 20 ct coin is a piece of its own.
    Klicken(f, {C20N});
    EXPECT_TRUE(ZqK2_5A1.AufTheke[C20N]);
    EXPECT_TRUE(ZqK2_5A1.AufTheke[C20]);
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Du hast 0,20 € zuviel bezahlt."));
}

TEST(PayingAtTheCounter, WholeEuroAmountsHaveNoDecimalsAndHelpsCanBeSwitchedOff) {
    Form f;
    ZuProdukt(f, 2);
    EXPECT_EQ(f->Panel1->Caption(), QStringLiteral("Turnschuhe 129 €"));
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Es fehlen noch 129 €."));
    Klicken(f, {N50, N50N, N20});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Es fehlen noch 9 €."));
    Klicken(f, {N10});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Du hast 1 € zuviel bezahlt."));
    EXPECT_EQ(f->StaticText2->Caption(), QStringLiteral(" Theke: 130,00 €."));
    f->CheckBox1->SetChecked(false);
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Du hast zuviel bezahlt."));
    EXPECT_EQ(f->StaticText2->Caption(), QString());
    Klicken(f, {N10});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Es fehlt noch Geld."));
    EXPECT_EQ(f->StaticText1->Font()->Color(), RGB(255, 0, 0));
}

TEST(PayingAtTheCounter, ProductsComeInTurnAndEveryTaskClearsTheCounter) {
    Form f;
    Klicken(f, {N50, E1});
    ZuProdukt(f, 12);
    EXPECT_EQ(f->Panel1->Caption(), QStringLiteral("Phönixpalme 48,50 €"));
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 12 / 12"));
    for (bool b : ZqK2_5A1.AufTheke)
        EXPECT_FALSE(b);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK2_5A1.Produkt, 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 12"));
    // A new showing starts again with the first product.
    ZuProdukt(f, 5);
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK2_5A1.Produkt, 1);
}

TEST(PayingAtTheCounter, TheDearestProductCanStillBePaidExactly) {
    Form f;
    ZuProdukt(f, 9);
    Klicken(f, {N5, N10, N20, N50, N5N, N10N, N20N, N50N, E1, E2, E2N, C20, C20N, C5, C2, C1});
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Der Geldbetrag stimmt. Sehr gut, weiter so."));
    Klicken(f, {C2N, C10, C50});
    EXPECT_EQ(f->ThekenBetrag(), 17610);
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Du hast 0,62 € zuviel bezahlt."));
}

TEST(PayingAtTheCounter, PiecesTurnGreyInTheTrayAndLieOnTheCounter) {
    Form f;
    TImage* t = f->Tablett[E2N];
    const int m = t->Width() / 2;
    EXPECT_FALSE(IstGrau(t->Canvas()->Pixel(m, 8)));
    // Around the coin the tray shows the form colour.
    EXPECT_EQ(t->Canvas()->Pixel(1, 1), TColor(14995896));
    Klicken(f, {E2N});
    EXPECT_TRUE(IstGrau(t->Canvas()->Pixel(m, 8)));
    EXPECT_FALSE(IstGrau(f->Tablett[E2]->Canvas()->Pixel(m, 8)));
    // The coin lies at (260, 70) of the counter, the visible picture shows it.
    const TColor Theke = f->BildTheke->Canvas()->Pixel(260 + 49, 70 + 8);
    EXPECT_NE(f->BildSichtbar->Canvas()->Pixel(260 + 49, 70 + 8), Theke);
    EXPECT_EQ(f->BildSichtbar->Canvas()->Pixel(260 + 49, 70 + 8), f->Muenzbild[7]->Canvas()->Pixel(49, 8));
    Klicken(f, {E2N});
    EXPECT_FALSE(IstGrau(t->Canvas()->Pixel(m, 8)));
    EXPECT_EQ(f->BildSichtbar->Canvas()->Pixel(260 + 49, 70 + 8), Theke);

    // Notes: the tray copy turns grey, each of a pair on its own.
    Klicken(f, {N20N});
    EXPECT_TRUE(IstGrau(f->Tablett[N20N]->Canvas()->Pixel(100, 50)));
    EXPECT_FALSE(IstGrau(f->Tablett[N20]->Canvas()->Pixel(100, 50)));
}

bool IstGolden(TColor c) {
    return GetRValue(c) > GetBValue(c) + 80 && GetGValue(c) > GetBValue(c) + 50;
}

// Silver reads as metal, not as the grey of a piece on the counter: light,
// with a cool blue tint.
bool IstSilbern(TColor c) {
    return GetRValue(c) > 150 && GetBValue(c) > GetRValue(c) + 10 && GetBValue(c) < GetRValue(c) + 50 &&
           GetGValue(c) >= GetRValue(c) && GetGValue(c) <= GetBValue(c);
}

// The 1 euro coin has a silver centre in a golden ring, the 2 euro coin a
// golden centre in a silver ring, in the tray as on the counter.
TEST(PayingAtTheCounter, TheEuroCoinsShowTheirRealColours) {
    Form f;
    for (int Stueck : {E1, E2, E2N}) {
        SCOPED_TRACE(Stueck);
        TImage* t = f->Tablett[Stueck];
        const int m = t->Height() / 2;
        const TColor Ring = t->Canvas()->Pixel(4, m), Mitte = t->Canvas()->Pixel(m / 2 + 4, m);
        EXPECT_TRUE(Stueck == E1 ? IstGolden(Ring) : IstSilbern(Ring)) << std::hex << Ring;
        EXPECT_TRUE(Stueck == E1 ? IstSilbern(Mitte) : IstGolden(Mitte)) << std::hex << Mitte;
        // Laid on the counter, the piece turns grey in the tray, the ring too.
        Klicken(f, {Stueck});
        EXPECT_TRUE(IstGrau(t->Canvas()->Pixel(4, m)));
        EXPECT_TRUE(IstGrau(t->Canvas()->Pixel(m / 2 + 4, m)));
    }
}

TEST(PayingAtTheCounter, TurnedNotesAreDrawnIntoTheirParallelogram) {
    Form f;
    Klicken(f, {N5});
    // The note's point (183, 10) turned by 20 degrees about (400, 50).
    const TColor Schein = f->Schein[0]->Canvas()->Pixel(183, 10);
    EXPECT_EQ(f->Bild->Canvas()->Pixel(568, 122), Schein);
    EXPECT_NE(f->Bild->Canvas()->Pixel(583, 60), Schein);
    // The 10 euro note is not turned: copied with its corner at (350, 16).
    Klicken(f, {N10});
    EXPECT_EQ(f->Bild->Canvas()->Pixel(350 + 20, 16 + 60), f->Schein[1]->Canvas()->Pixel(20, 60));
    Klicken(f, {N20N, N50, C50, E2, C1});
    Bildschirmfoto(f.get(), QStringLiteral("K2GeldTheke"));
}

TEST(PayingAtTheCounter, TheHintLinesFollowTheirCheckBox) {
    Form f;
    EXPECT_GT(Schwarze(f->BildSichtbar, 0, 0, 450, 70), 100);
    f->CheckBox2->SetChecked(false);
    EXPECT_EQ(Schwarze(f->BildSichtbar, 0, 0, 450, 70), 0);
    Bildschirmfoto(f.get(), QStringLiteral("K2GeldBezahlen"));
}

TEST(PayingAtTheCounter, AmountsAreWholeCents) {
    EXPECT_EQ(GeldBetragText(500), QStringLiteral("5"));
    EXPECT_EQ(GeldBetragText(89), QStringLiteral("0,89"));
    EXPECT_EQ(GeldBetragText(12900), QStringLiteral("129"));
    EXPECT_EQ(GeldBetragText(17548 - 10000), QStringLiteral("75,48"));
    EXPECT_EQ(GeldBetragText(5), QStringLiteral("0,05"));
    EXPECT_EQ(GeldBetragText(0), QStringLiteral("0"));
    EXPECT_EQ(GeldBilder::ZweiStellen(3), QStringLiteral("0,03"));
    EXPECT_EQ(GeldBilder::ZweiStellen(-250), QStringLiteral("-2,50"));
    // 0,10 € and 0,20 € on the counter pay a price of 0,30 € exactly.
    Form f;
    ZqK2_5A1.AufTheke.fill(false);
    for (int i = 0; i < GeldstueckAnzahl; ++i) {
        const QString Name = QString::fromLatin1(Geldstuecke[i].Tablett);
        ZqK2_5A1.AufTheke[i] = Name == QLatin1String("Image10Cent") || Name == QLatin1String("Image20Cent");
    }
    EXPECT_EQ(f->ThekenBetrag(), 30);
    ZqK2_5A1.Preis = 30;
    f->ThekeZeichnen();
    EXPECT_EQ(ZqK2_5A1.Fehlbetrag, 0);
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Der Geldbetrag stimmt. Sehr gut, weiter so."));
}

} // namespace
