#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3C1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

const QString Richtig = QStringLiteral("Super, das Ergebnis ist richtig.");

TEST(TimesTenAndHundred, RandomTaskAndPanels) {
    OffeneForm<TZqK1_3C1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 3");
    EXPECT_EQ(f->Label1->Caption(), "Multiplikation mit Einern, Zehnern und Hundertern");
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    const TMalZehnZustand& Z = ZqK1_3C1;
    EXPECT_GE(Z.x, 0);
    EXPECT_LE(Z.x, 8);
    EXPECT_GE(Z.y, 1);
    EXPECT_LE(Z.y, 8);
    EXPECT_EQ(f->Panel7->Caption(), QString::number(Z.y));
    EXPECT_EQ(f->Panel14->Caption(), QString::number(Z.x));

    f->AufgabeZeigen(8, 8);
    EXPECT_EQ(Z.p1, 64);
    EXPECT_EQ(Z.p2, 640);
    EXPECT_EQ(Z.p3, 6400);
    const char* Antworten[4] = {"", "64", "640", "6400"};
    for (int n = 1; n <= 3; ++n) {
        TypeText(f->Paar[n].Box, Antworten[n]);
        f->Paar[n].Pruefen->Click();
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), Richtig) << n;
        EXPECT_EQ(f->Paar[n].Pruefen->Font()->Color(), RGB(0, 200, 0)) << n;
    }
    f->B_NeueAufgabe->Click();
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(Zeile0(f->Paar[n].Box), "") << n;
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "") << n;
        EXPECT_EQ(f->Paar[n].Pruefen->Font()->Color(), clBlack) << n;
    }
}

TEST(TimesTenAndHundred, ZeroFactorGivesZeroEverywhere) {
    OffeneForm<TZqK1_3C1> f;
    f->AufgabeZeigen(0, 5);
    for (int n = 1; n <= 3; ++n) {
        TypeText(f->Paar[n].Box, "0");
        PressEnter(f->Paar[n].Box);
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), Richtig) << n;
    }
    f->Paar[3].Box->Clear();
    TypeText(f->Paar[3].Box, "500");
    PressEnter(f->Paar[3].Box);
    EXPECT_EQ(f->Paar[3].Urteil->Caption(), "Leider falsch");
    EXPECT_EQ(f->Paar[3].Pruefen->Font()->Color(), RGB(255, 0, 0));
}

TEST(TimesTenAndHundred, EachRowIsCheckedAlone) {
    OffeneForm<TZqK1_3C1> f;
    f->AufgabeZeigen(3, 7);
    TypeText(f->Paar[1].Box, "20");
    TypeText(f->Paar[2].Box, "210");
    PressEnter(f->Paar[2].Box);
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), Richtig);
    EXPECT_EQ(f->Paar[2].Box->Lines()->Count(), 1);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "");
    EXPECT_EQ(f->Paar[1].Pruefen->Font()->Color(), clBlack);
    EXPECT_EQ(f->Paar[3].Urteil->Caption(), "");
    // An empty box is wrong, with the answer check's own message.
    f->Paar[3].Pruefen->Click();
    EXPECT_NE(f->Paar[3].Urteil->Caption(), "");
    EXPECT_EQ(f->Paar[3].Pruefen->Font()->Color(), RGB(255, 0, 0));
    // Other senders check nothing.
    f->Pruefen(f->Label1);
    f->Pruefen(nullptr);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "");
    f->Paar[1].Pruefen->Click();
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "Leider falsch");
    Bildschirmfoto(f.get(), "TZqK1_3C1");
}

} // namespace
