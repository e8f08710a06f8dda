#include "shell/AufgabegRegeln.h"

#include <gtest/gtest.h>

namespace {

TEST(ExerciseRules, FixedScalingFactors) {
    const struct {
        int Faktor, Breite, Hoehe, Zaehler, Nenner;
    } Faelle[] = {{1, 1024, 715, 1, 1},
                  {2, 1365, 953, 4, 3},
                  {3, 1820, 1271, 16, 9},
                  {4, 2048, 1430, 2, 1},
                  {5, 1536, 1072, 3, 2}};
    for (const auto& F : Faelle) {
        const TSkalierung S = SkalierungBerechnen(true, F.Faktor, 1024, 715, 1024, 768, 40);
        EXPECT_TRUE(S.An) << F.Faktor;
        EXPECT_EQ(S.Breite, F.Breite) << F.Faktor;
        EXPECT_EQ(S.Hoehe, F.Hoehe) << F.Faktor;
        EXPECT_EQ(S.Zaehler * F.Nenner, F.Zaehler * S.Nenner) << F.Faktor;
        EXPECT_EQ(S.Schritte, 1) << F.Faktor;
    }
    EXPECT_FALSE(SkalierungBerechnen(false, 5, 1024, 715, 1024, 768, 40).An);
    EXPECT_FALSE(SkalierungBerechnen(true, 6, 1024, 715, 1024, 768, 40).An);
}

TEST(ExerciseRules, AutomaticScalingTakesAtMostTwoSteps) {
    // 1024 wide is not below 0.75 of a 1024 screen.
    TSkalierung S = SkalierungBerechnen(true, 0, 1024, 715, 1024, 768, 40);
    EXPECT_FALSE(S.An);
    EXPECT_EQ(S.Breite, 1024);

    S = SkalierungBerechnen(true, 0, 1024, 715, 3000, 2000, 40);
    EXPECT_EQ(S.Schritte, 2);
    EXPECT_EQ(S.Zaehler * 9, S.Nenner * 16);
    EXPECT_EQ(S.Breite, 1820);
    EXPECT_EQ(S.Hoehe, 1271);

    // The second step no longer fits; no task bar (-1) loosens the height test.
    S = SkalierungBerechnen(true, 0, 1024, 715, 1920, 1200, -1);
    EXPECT_EQ(S.Schritte, 1);
    EXPECT_EQ(S.Breite, 1365);
    EXPECT_EQ(S.Hoehe, 953);
}

} // namespace
