#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_1C1.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace K1Test;

class NumberWalls : public ::testing::Test {
protected:
    void BisWand(int Index) {
        while (ZqK1_1C1.Index != Index)
            f->B_NeueAufgabe->Click();
    }
    // Types into the bricks (number -> text) and presses Enter in the last one.
    void Eintragen(const std::map<int, QString>& Werte) {
        TRichEdit* Letzter = nullptr;
        for (const auto& [i, Text] : Werte) {
            f->Stein[i]->Clear();
            TypeText(f->Stein[i], Text);
            Letzter = f->Stein[i];
        }
        PressEnter(Letzter);
    }
    QString Urteil() const { return ZqK1_1C1.Index <= 8 ? f->LabelP1->Caption() : f->LabelP2->Caption(); }
    TColor UrteilFarbe() const { return (ZqK1_1C1.Index <= 8 ? f->LabelP1 : f->LabelP2)->Font()->Color(); }

    OffeneForm<TZqK1_1C1> f;
    const QString Richtig = QStringLiteral("Super, das Ergebnis ist richtig.");
};

TEST_F(NumberWalls, ExampleWallThenCounterToFifteen) {
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "0 / 14");
    EXPECT_EQ(f->AufgabenNrWert(), 1);
    EXPECT_EQ(f->Panel2->Caption(), "0 / 14");
    EXPECT_EQ(f->Panel3->Caption(), "Level 1");
    EXPECT_FALSE(f->B_NeueAufgabe->Visible());
    EXPECT_TRUE(f->BitBtn2->Visible());
    EXPECT_FALSE(f->BitBtn3->Visible());
    EXPECT_EQ(f->PageControl2->ActivePage(), f->TabSheet2);
    EXPECT_EQ(Zeile0(f->Stein[1]), "9");
    EXPECT_FALSE(f->Stein[1]->Enabled());
    Bildschirmfoto(f.get(), "TZqK1_1C1_Beispiel");
    f->BitBtn2->Click();
    EXPECT_EQ(ZqK1_1C1.Index, 2);
    EXPECT_TRUE(f->B_NeueAufgabe->Visible());
    EXPECT_FALSE(f->BitBtn2->Visible());
    EXPECT_EQ(Zeile0(f->Stein[1]), "");
    EXPECT_TRUE(f->Stein[1]->Enabled());
    EXPECT_FALSE(f->Stein[2]->Enabled());
    BisWand(15);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "14 / 14");
    EXPECT_EQ(f->AufgabenNrWert(), 15);
    EXPECT_EQ(f->Panel2->Caption(), "14 / 14");
    EXPECT_EQ(f->Panel3->Caption(), "Level 2");
    EXPECT_EQ(f->PageControl1->ActivePage(), f->Level2);
    EXPECT_TRUE(f->Label6->Visible());
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_1C1.Index, 1);
    EXPECT_EQ(f->AufgabenNrWert(), 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "0 / 14");
    EXPECT_FALSE(f->B_NeueAufgabe->Visible());
}

TEST_F(NumberWalls, WallsWithManySolutionsAcceptEveryOne) {
    BisWand(7);
    Eintragen({{2, "12"}, {3, "8"}});
    EXPECT_EQ(Urteil(), Richtig);
    EXPECT_EQ(f->Stein[3]->Lines()->Count(), 1); // Enter adds no line
    // The button gives the same verdict as Enter.
    f->BitBtn3->Click();
    EXPECT_EQ(Urteil(), Richtig);
    EXPECT_EQ(UrteilFarbe(), RGB(0, 255, 0));
    Eintragen({{2, "0"}, {3, "20"}});
    EXPECT_EQ(Urteil(), Richtig);
    Eintragen({{2, "5"}, {3, "5"}});
    EXPECT_EQ(Urteil(), "Leider falsch");
    EXPECT_EQ(UrteilFarbe(), RGB(255, 0, 0));
    BisWand(8);
    Eintragen({{1, "10"}, {2, "4"}, {3, "6"}});
    EXPECT_EQ(Urteil(), Richtig);
    BisWand(11);
    Eintragen({{4, "29"}, {6, "19"}});
    EXPECT_EQ(Urteil(), Richtig);
    Eintragen({{4, "28"}, {6, "19"}});
    EXPECT_EQ(Urteil(), "Leider falsch");
    BisWand(13);
    Eintragen({{7, "1"}, {5, "8"}, {4, "20"}});
    EXPECT_EQ(Urteil(), Richtig);
    Eintragen({{7, "10"}, {5, "17"}, {4, "29"}});
    EXPECT_EQ(Urteil(), Richtig);
    BisWand(14);
    Eintragen({{7, "5"}, {8, "6"}, {9, "19"}, {5, "11"}, {6, "25"}});
    EXPECT_EQ(Urteil(), Richtig);
    Eintragen({{7, "5"}, {8, "6"}, {9, "19"}, {5, "11"}, {6, "24"}});
    EXPECT_EQ(Urteil(), "Leider falsch");
}

TEST_F(NumberWalls, TheFreeWallChecksAllThreeRules) {
    BisWand(15);
    Eintragen({{4, "8"}, {5, "3"}, {6, "5"}, {7, "1"}, {8, "2"}, {9, "3"}});
    EXPECT_EQ(Urteil(), Richtig);
    // Passes at the single point a = 3, b = 2, ..., f = 9, yet 5 is not 1 + 2.
    Eintragen({{4, "8"}, {5, "5"}, {6, "3"}, {7, "1"}, {8, "2"}, {9, "4"}});
    EXPECT_EQ(Urteil(), "Leider falsch");
    Eintragen({{4, "9"}, {5, "3"}, {6, "5"}, {7, "1"}, {8, "2"}, {9, "3"}});
    EXPECT_EQ(Urteil(), "Leider falsch");
}

TEST_F(NumberWalls, OnlyAnEmptyBrickIsIncomplete) {
    BisWand(2);
    f->BitBtn3->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Eingabe unvollständig oder fehlerhaft.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 255, 0));
    // Typing clears the verdict.
    TypeText(f->Stein[1], "8");
    EXPECT_EQ(f->LabelP1->Caption(), "");
    BisWand(12);
    Eintragen({{4, "23"}, {8, ""}});
    EXPECT_EQ(f->LabelP2->Caption(), "Eingabe unvollständig oder fehlerhaft.");
    // Letters and unbalanced brackets go into the term: the check judges them.
    const std::pair<const char*, const char*> Faelle[] = {
        {"(23", "Unzulässige Eingabe !"}, {"23)", "Unzulässige Eingabe !"}, {"x", "Leider falsch"}};
    for (const auto& [Eingabe, Urteil] : Faelle) {
        Eintragen({{4, QString::fromLatin1(Eingabe)}, {8, "4"}});
        EXPECT_EQ(f->LabelP2->Caption(), QString::fromUtf8(Urteil)) << Eingabe;
        EXPECT_NE(f->LabelP2->Font()->Color(), RGB(255, 255, 0)) << Eingabe;
    }
    Eintragen({{4, "20+3"}, {8, "4"}});
    EXPECT_EQ(f->LabelP2->Caption(), Richtig);
    // The zoo's answer boxes still refuse such texts before the check.
    EXPECT_TRUE(Muster::ZahltermFehlerhaft("a"));
    EXPECT_TRUE(Muster::ZahltermFehlerhaft(")("));
    EXPECT_FALSE(Muster::ZahltermFehlerhaft("(2+3)*4"));
    EXPECT_FALSE(Muster::ZahltermFehlerhaft(""));
    Bildschirmfoto(f.get(), "TZqK1_1C1_Wand12");
}

TEST_F(NumberWalls, ABrickWithItsOwnBracketsOpenIsNeverRight) {
    // Such a brick closes the bracket the wall's term puts round it and opens
    // another: the wall's rules would vanish from the term.
    BisWand(11);
    Eintragen({{4, "29"}, {6, "19)*0+(19"}});
    EXPECT_EQ(Urteil(), "Unzulässige Eingabe !");
    Eintragen({{4, "29)*0+(29"}, {6, "19"}});
    EXPECT_EQ(Urteil(), "Unzulässige Eingabe !");
    Eintragen({{4, "(29"}, {6, "19"}});
    EXPECT_EQ(Urteil(), "Unzulässige Eingabe !");
    Eintragen({{4, "(20+9)"}, {6, "(19)"}});
    EXPECT_EQ(Urteil(), Richtig);
    BisWand(7);
    Eintragen({{2, "0)*0+(7"}, {3, "13"}});
    EXPECT_EQ(Urteil(), "Unzulässige Eingabe !");
    EXPECT_NE(UrteilFarbe(), RGB(0, 255, 0));
    BisWand(14);
    Eintragen({{7, "5"}, {8, "6"}, {9, "19"}, {5, "11)*0+(1"}, {6, "25"}});
    EXPECT_EQ(Urteil(), "Unzulässige Eingabe !");
}

TEST_F(NumberWalls, ReopeningStartsAgainAtTheExampleWall) {
    BisWand(12);
    Eintragen({{4, "23"}, {8, "4"}});
    EXPECT_EQ(f->LabelP2->Caption(), Richtig);
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK1_1C1.Index, 1);
    EXPECT_EQ(f->AufgabenNrWert(), 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "0 / 14");
    EXPECT_EQ(f->Panel3->Caption(), "Level 1");
    EXPECT_EQ(f->PageControl1->ActivePage(), f->Level1);
    EXPECT_EQ(f->LabelP2->Caption(), "");
    EXPECT_TRUE(f->BitBtn2->Visible());
    f->BitBtn2->Click();
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "1 / 14");
    EXPECT_EQ(Zeile0(f->Stein[2]), "3");
    EXPECT_EQ(Zeile0(f->Stein[3]), "5");
}

} // namespace
