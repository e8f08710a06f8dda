#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_2C1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

TEST(EstimatingSums, RoundingHalvesUp) {
    EXPECT_EQ(AufRunden(263, 10), 260);
    EXPECT_EQ(AufRunden(277, 10), 280);
    EXPECT_EQ(AufRunden(125, 10), 130);
    EXPECT_EQ(AufRunden(150, 100), 200);
    EXPECT_EQ(AufRunden(1150, 100), 1200);
    EXPECT_EQ(AufRunden(1195, 10), 1200);
    EXPECT_EQ(AufRunden(1195, 100), 1200);
    EXPECT_EQ(AufRunden(149, 100), 100);
}

TEST(EstimatingSums, DecompositionLines) {
    auto [L24, L27] = Zerlegung(263, 277);
    EXPECT_EQ(L24, " = (260 + 3 ) + (280 - 3 )");
    EXPECT_EQ(L27, " = (260 + 280) + 0");
    std::tie(L24, L27) = Zerlegung(250, 340);
    EXPECT_EQ(L24, " = ( 250 ) + ( 340 )");
    EXPECT_EQ(L27, "");
    std::tie(L24, L27) = Zerlegung(1250, 1196);
    EXPECT_EQ(L24, " = ( 1 250 ) + (1 200 - 4 )");
    EXPECT_EQ(L27, " = (1 250 + 1 200) - 4");
    std::tie(L24, L27) = Zerlegung(1104, 340);
    EXPECT_EQ(L24, " = (1 100 + 4 ) + ( 340 )");
    EXPECT_EQ(L27, " = (1 100 + 340) + 4");
}

TEST(EstimatingSums, SevenPairsCheckAgainstTheirOwnValues) {
    OffeneForm<TZqK1_2C1> f;
    const TSchaetzenZustand& Z = ZqK1_2C1;
    EXPECT_GE(Z.a, 100);
    EXPECT_LE(Z.a, 1199);
    EXPECT_EQ(Z.a10, AufRunden(Z.a, 10));
    EXPECT_EQ(f->Label24->Caption(), Zerlegung(Z.a, Z.b).first);
    EXPECT_FALSE(f->Panel4->Visible());
    // Each box against its own value, by Enter or by its button.
    const int Werte[8] = {0, Z.a + Z.b, Z.a10, Z.b10, Z.a10 + Z.b10, Z.a100, Z.b100, Z.a100 + Z.b100};
    for (int n = 1; n <= 7; ++n) {
        TypeText(f->Paar[n].Box, QString::number(Werte[n]));
        if (n % 2)
            PressEnter(f->Paar[n].Box);
        else
            f->Paar[n].Pruefen->Click();
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "Super, das Ergebnis ist richtig.") << n;
        EXPECT_EQ(f->Paar[n].Pruefen->Font()->Color(), RGB(0, 200, 0)) << n;
        EXPECT_EQ(f->Paar[n].Box->Lines()->Count(), 1) << n;
    }
    f->Paar[3].Box->Clear();
    TypeText(f->Paar[3].Box, QString::number(Z.b10 + 10));
    PressEnter(f->Paar[3].Box);
    EXPECT_EQ(f->Paar[3].Urteil->Caption(), "Leider falsch");
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    f->B_NeueAufgabe->Click();
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(Zeile0(f->Paar[n].Box), "") << n;
        EXPECT_EQ(f->Paar[n].Pruefen->Font()->Color(), clBlack) << n;
    }
}

TEST(EstimatingSums, SolutionsAndHelp) {
    OffeneForm<TZqK1_2C1> f;
    for (int n = 1; n <= 7; ++n) {
        f->Paar[n].Loesung->Click();
        EXPECT_EQ(Zeile0(f->Paar[n].Box), QString::number(f->Erwartet(n))) << n;
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "Super, das Ergebnis ist richtig.") << n;
    }
    EXPECT_EQ(f->Paar[5].Loesung->Caption(), "Ergebnis 4");
    f->BitBtnHilfe->Click();
    f->BitBtn10->Click();
    f->BitBtn5->Click();
    EXPECT_TRUE(ZqK1_2C1.Zehner && ZqK1_2C1.Hunderter);
    EXPECT_TRUE(f->Panel2->Visible() && f->Panel3->Visible() && f->Panel4->Visible());
    Bildschirmfoto(f.get(), "TZqK1_2C1");
    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(ZqK1_2C1.Zehner || ZqK1_2C1.Hunderter);
    EXPECT_FALSE(f->Panel4->Visible());
}

} // namespace
