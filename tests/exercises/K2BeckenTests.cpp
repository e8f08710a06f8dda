// Filling the basin with measuring cups: the fixed first basins, pouring by
// clicking the cups, the verdicts and emptying.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_3A1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_3A1>;

enum : int { Ml, Cl, Dl, L };

void Giessen(Form& f, int Becher, int n = 1) {
    for (int i = 0; i < n; ++i)
        MausBei(f->Image1, ZqK2_3A1.Mitte[Becher].x, ZqK2_3A1.Mitte[Becher].y);
}

TColor Wasserfarbe(Form& f) {
    return f->Image2->Canvas()->Pixel(220, 185);
}

TEST(Basin, StartsWithFiveLitresAndTheCupCentres) {
    Form f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.3   Übung 1"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    EXPECT_EQ(ZqK2_3A1.Groesse, 5000);
    EXPECT_EQ(f->Panel1->Caption(), QStringLiteral("Becken: 5 l"));
    EXPECT_FALSE(f->Panel2->Visible());
    EXPECT_EQ(f->Label15->Caption(), QStringLiteral("5"));
    EXPECT_EQ(f->Label12->Caption(), QStringLiteral("0"));
    const TPoint Erwartet[4] = {{740, 164}, {616, 157}, {434, 144}, {156, 115}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ZqK2_3A1.Mitte[k].x, Erwartet[k].x) << k;
        EXPECT_EQ(ZqK2_3A1.Mitte[k].y, Erwartet[k].y) << k;
    }
}

TEST(Basin, FewestCupsAreVeryGoodMoreCupsAreRightTooMuchIsRed) {
    Form f;
    Giessen(f, L, 4);
    EXPECT_TRUE(f->Panel2->Visible());
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Das Becken ist noch nicht vollständig befüllt."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 255, 0));
    EXPECT_EQ(Wasserfarbe(f), RGB(50, 160, 255));
    Giessen(f, L);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Sehr gut, weiter so."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->Label5->Caption(), QStringLiteral("5 l"));
    EXPECT_EQ(f->Label7->Caption(), QStringLiteral("5"));
    Giessen(f, Ml);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Die Füllmenge war zu groß. Entleere das Becken."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->Label5->Caption(), QStringLiteral("5.001 l"));
    EXPECT_EQ(Wasserfarbe(f), RGB(255, 0, 0));
    Giessen(f, Ml);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 5002);

    // Emptying keeps the basin and starts counting cups afresh.
    f->BitBtnHilfe->Click();
    EXPECT_TRUE(f->Panel3->Visible());
    f->BitBtn3->Click();
    EXPECT_FALSE(f->Panel2->Visible());
    EXPECT_FALSE(f->Panel3->Visible());
    EXPECT_EQ(ZqK2_3A1.Groesse, 5000);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 0);
    EXPECT_EQ(ZqK2_3A1.Becher, 0);
    Giessen(f, Dl, 50);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Richtig, aber es geht noch geschickter."));
    EXPECT_EQ(f->Label7->Caption(), QStringLiteral("50"));
}

TEST(Basin, TheFirstSevenBasinsAreFixedThenRandom) {
    Form f;
    const char* Erwartet[7] = {"Becken: 5 l",   "Becken: 3 dl",  "Becken: 4 cl",   "Becken: 8 ml",
                               "Becken: 70 ml", "Becken: 1.5 l", "Becken: 1752 ml"};
    for (int n = 0; n < 7; ++n) {
        if (n > 0) {
            Giessen(f, Ml);
            f->B_NeueAufgabe->Click();
            EXPECT_FALSE(f->Panel2->Visible());
        }
        EXPECT_EQ(f->Panel1->Caption(), QString::fromLatin1(Erwartet[n]));
    }
    EXPECT_EQ(ZqK2_3A1.WenigsteBecher, 15);
    EXPECT_EQ(f->Label15->Caption() + f->Label14->Caption() + f->Label13->Caption() + f->Label12->Caption(),
              QStringLiteral("1752"));
    for (int n = 0; n < 30; ++n) {
        f->B_NeueAufgabe->Click();
        EXPECT_GE(ZqK2_3A1.Groesse, 2);
        EXPECT_LE(ZqK2_3A1.Groesse, 10001);
    }
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK2_3A1.Groesse, 5000);
}

TEST(Basin, ACupIsHitOnlyStrictlyInsideItsRadius) {
    Form f;
    MausBei(f->Image1, 740 + 30, 164);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 0);
    MausBei(f->Image1, 740 + 29, 164);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 1);
    MausBei(f->Image1, 156, 115 - 106);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 1001);
    EXPECT_EQ(ZqK2_3A1.Becher, 2);
    MausBei(f->Image1, 525, 100);
    EXPECT_EQ(ZqK2_3A1.Becher, 2);
}

TEST(Basin, FarTooMuchWaterInATinyBasinIsStillCountedAndShown) {
    Form f;
    for (int n = 0; n < 3; ++n)
        f->B_NeueAufgabe->Click();
    ASSERT_EQ(ZqK2_3A1.Groesse, 8);
    Giessen(f, L, 30);
    EXPECT_EQ(ZqK2_3A1.Fuellung, 30000);
    EXPECT_EQ(f->Label5->Caption(), QStringLiteral("30000 ml"));
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Die Füllmenge war zu groß. Entleere das Becken."));
    EXPECT_EQ(f->Image2->Canvas()->Pixel(388, 185), RGB(255, 0, 0));
}

TEST(Basin, DepthFactorAndUnits) {
    EXPECT_EQ(Tiefenfaktor(2), 2);
    EXPECT_EQ(Tiefenfaktor(4000), 2);
    EXPECT_EQ(Tiefenfaktor(4001), 3);
    EXPECT_EQ(Tiefenfaktor(6001), 4);
    EXPECT_EQ(Tiefenfaktor(8000), 4);
    EXPECT_EQ(Tiefenfaktor(10001), 5);
    EXPECT_DOUBLE_EQ(MengeInEinheit(1752, 3), 17.52);
    EXPECT_DOUBLE_EQ(MengeInEinheit(40, 2), 4);
    EXPECT_EQ(EinheitText(1), QStringLiteral("ml"));
    EXPECT_EQ(EinheitText(4), QStringLiteral("l"));
}

} // namespace
