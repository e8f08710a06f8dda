#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3F1.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace K1Test;

TEST(TwoDigitMultiplication, PartialProductsAndCarries) {
    TZweistelligZustand Z;
    Z.a = 998;
    Z.b = 99;
    ZweistelligRechnen(Z);
    EXPECT_EQ((std::array{Z.bz, Z.be, Z.q1, Z.q2, Z.Produkt}), (std::array{9, 9, 8982, 8982, 98802}));
    EXPECT_EQ((std::array{Z.c1, Z.c2, Z.c3}), (std::array{1, 1, 1}));
    Z.a = 10;
    Z.b = 10;
    ZweistelligRechnen(Z);
    EXPECT_EQ((std::array{Z.q1, Z.q2, Z.Produkt, Z.c1, Z.c2, Z.c3}), (std::array{10, 0, 100, 0, 0, 0}));
    // 10 000 + 1 500: no column overflows.
    Z.a = 250;
    Z.b = 46;
    ZweistelligRechnen(Z);
    EXPECT_EQ((std::array{Z.q1, Z.q2, Z.c1, Z.c2, Z.c3}), (std::array{1000, 1500, 0, 0, 0}));
    Z.a = 57;
    Z.b = 38;
    ZweistelligRechnen(Z); // 1710 + 456
    EXPECT_EQ((std::array{Z.q1, Z.q2, Z.c1, Z.c2, Z.c3}), (std::array{171, 456, 0, 1, 0}));
}

TEST(TwoDigitMultiplication, TaskDisplayAndHelp) {
    OffeneForm<TZqK1_3F1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 6");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Multiplizieren mit einer zweistelligen Zahl");
    const TZweistelligZustand& Z = ZqK1_3F1;
    EXPECT_GE(Z.a, 10);
    EXPECT_LE(Z.a, 998);
    EXPECT_GE(Z.b, 10);
    EXPECT_LE(Z.b, 99);
    for (int s = 1; s <= 3; ++s)
        EXPECT_FALSE(f->HilfePanel[s]->Visible() || f->Ergebnis[s]->Visible()) << s;

    f->AufgabeMit(998, 99);
    EXPECT_EQ(f->Panel1->Caption(), "9");
    EXPECT_EQ(f->Panel5->Caption(), "9");
    EXPECT_EQ(f->HilfePanel[1]->Caption(), "Rechne:  998 · 9");
    EXPECT_EQ(f->HilfePanel[2]->Caption(), "Rechne:  998 · 9");
    EXPECT_EQ(f->Label12->Caption(), "89 820 + 8 982");
    f->HilfeKnopf[2]->Click();
    EXPECT_TRUE(f->HilfePanel[2]->Visible() && f->Ergebnis[2]->Visible());
    EXPECT_FALSE(f->HilfePanel[1]->Visible());
    f->Ergebnis[2]->Click();
    EXPECT_EQ(Zeile0(f->ED[8]) + Zeile0(f->ED[7]) + Zeile0(f->ED[6]) + Zeile0(f->ED[5]), "8982");
    EXPECT_EQ(f->ED[5]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");

    f->AufgabeMit(23, 14);
    EXPECT_EQ(f->Panel1->Caption(), "");
    EXPECT_EQ(f->Label12->Caption(), "230 + 92");
    EXPECT_FALSE(f->HilfePanel[2]->Visible() || f->Ergebnis[2]->Visible());
    EXPECT_EQ(Zeile0(f->ED[5]), "");
}

TEST(TwoDigitMultiplication, SmallestTaskNeedsTheZero) {
    OffeneForm<TZqK1_3F1> f;
    f->AufgabeMit(10, 10);
    TypeText(f->ED[1], "0");
    TypeText(f->ED[2], "1");
    TypeText(f->ED[9], "0");
    TypeText(f->ED[10], "0");
    TypeText(f->ED[11], "1");
    PressEnter(f->ED[11]);
    EXPECT_EQ(f->ED[5]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->ED[6]->Color(), clWhite);
    EXPECT_EQ(f->EDU[1]->Color(), clWhite);
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    TypeText(f->ED[5], "0");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0));
}

TEST(TwoDigitMultiplication, SolutionShowsTheWholeScheme) {
    OffeneForm<TZqK1_3F1> f;
    for (const auto& [a, b] :
         {std::pair{998, 99}, std::pair{10, 10}, std::pair{57, 38}, std::pair{305, 20}}) {
        f->AufgabeMit(a, b);
        f->BitBtn7->Click();
        EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.") << a << " " << b;
        for (int s = 1; s <= 3; ++s)
            EXPECT_TRUE(f->HilfePanel[s]->Visible() && f->Ergebnis[s]->Visible()) << s;
    }
    EXPECT_EQ(Zeile0(f->ED[13]) + Zeile0(f->ED[12]) + Zeile0(f->ED[11]) + Zeile0(f->ED[10]) +
                  Zeile0(f->ED[9]),
              "6100");
    f->AufgabeMit(998, 99);
    f->BitBtn7->Click();
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(Zeile0(f->EDU[i]), "1") << i;
    Bildschirmfoto(f.get(), "TZqK1_3F1");
    // Stray digits where no digit belongs do not survive the solution.
    f->AufgabeMit(57, 38);
    TypeText(f->ED[4], "7");
    TypeText(f->EDU[3], "1");
    f->BitBtn7->Click();
    EXPECT_EQ(Zeile0(f->ED[4]), "");
    EXPECT_EQ(Zeile0(f->EDU[3]), "");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
}

TEST(TwoDigitMultiplication, WrongResultOrMissingCarryFails) {
    OffeneForm<TZqK1_3F1> f;
    f->AufgabeMit(57, 38); // 1710 + 456 = 2166
    f->BitBtn7->Click();
    f->ED[10]->Clear();
    TypeText(f->ED[10], "5");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->ED[10]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->ED[1]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(255, 0, 0));
    f->ED[10]->Clear();
    TypeText(f->ED[10], "6");
    f->EDU[2]->Clear();
    PressEnter(f->ED[10]);
    EXPECT_EQ(f->EDU[2]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
}

} // namespace
