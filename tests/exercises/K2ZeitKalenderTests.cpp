#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_1C1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

TEST(Calendar, OpensAsARestartableSheet) {
    OffeneForm<TZqK2_1C1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.1   Übung 4");
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Neustart");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    const char* Tage[14] = {"", "31", "28", "31", "30", "31", "30", "31", "31", "30", "31", "30", "31", "29"};
    for (int n = 0; n < 14; ++n)
        EXPECT_EQ(TZqK2_1C1::Monatstage(n), Tage[n]) << n;
    EXPECT_EQ(TZqK2_1C1::Monatstage(14), "");
}

TEST(Calendar, VerdictIsRightWrongOrQuestionMarkAndKeepsTheCheckColour) {
    OffeneForm<TZqK2_1C1> f;
    TypeText(f->Paar[1].Box, "31");
    PressEnter(f->Paar[1].Box);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "richtig");
    const TColor RichtigFarbe = f->Paar[1].Urteil->Font()->Color();

    TypeText(f->Paar[13].Box, "28");
    f->Paar[13].Pruefen->Click();
    EXPECT_EQ(f->Paar[13].Urteil->Caption(), "falsch");
    EXPECT_NE(f->Paar[13].Urteil->Font()->Color(), RichtigFarbe);

    f->Paar[4].Pruefen->Click();
    EXPECT_EQ(f->Paar[4].Urteil->Caption(), "?");

    // A term with the right value counts as the answer check decides.
    TypeText(f->Paar[2].Box, "20+8");
    PressEnter(f->Paar[2].Box);
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), "richtig");

    // Other rows stay untouched.
    EXPECT_EQ(f->Paar[3].Urteil->Caption(), "");
    EXPECT_EQ(Zeile0(f->Paar[3].Box), "");
    Bildschirmfoto(f.get(), "TZqK2_1C1_Geprueft");
}

TEST(Calendar, RestartClearsBoxesAndVerdicts) {
    OffeneForm<TZqK2_1C1> f;
    for (int n = 1; n <= 13; ++n) {
        TypeText(f->Paar[n].Box, TZqK2_1C1::Monatstage(n));
        f->Paar[n].Pruefen->Click();
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "richtig") << n;
    }
    f->B_NeueAufgabe->Click();
    for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(Zeile0(f->Paar[n].Box), "") << n;
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "") << n;
    }
}

} // namespace
