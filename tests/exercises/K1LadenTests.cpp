#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_2B1.h"
#include "platform/Keys.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

class Shop : public ::testing::Test {
protected:
    void ZumLaden(int Laden) {
        while (ZqK1_2B1.Seite != Laden)
            f->B_NeueAufgabe->Click();
    }
    OffeneForm<TZqK1_2B1> f;
};

TEST_F(Shop, StartsOnTheExamplesAndWalksThroughTheShops) {
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Neuer Laden");
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabBeispiele);
    EXPECT_EQ(f->Panel1->Caption(), "Ladenlokal 0 / 2");
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "0 / 2");
    EXPECT_EQ(f->StaticText1->Caption(), "1 / 3");
    EXPECT_EQ(f->StaticText2->Caption(), "1 / 4");
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "Überschlagswert durch Runden");
    EXPECT_EQ(f->Paar[1].Urteil->Font()->Color(), RGB(0, 255, 0));
    Bildschirmfoto(f.get(), "TZqK1_2B1_Beispiele");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabLaden[1]);
    EXPECT_EQ(f->Panel1->Caption(), "Ladenlokal 1 / 2");
    f->Nehmen[1][1]->Click();
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->Panel1->Caption(), "Ladenlokal 2 / 2");
    EXPECT_EQ(f->WagenZeilen(2), QStringList({"Summe:", "0,00 €"}));
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->Panel1->Caption(), "Ladenlokal 0 / 2");
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabBeispiele);
}

TEST_F(Shop, ComputerAndRadioAreEstimatedAtFourHundred) {
    ZumLaden(1);
    f->Nehmen[1][1]->Click();
    f->Nehmen[1][2]->Click();
    EXPECT_EQ(f->WagenZeilen(1),
              QStringList({"Computer          270 €", "Radio             120 €", "Summe:", "390 €"}));
    TypeText(f->Paar[1].Box, "400");
    PressEnter(f->Paar[1].Box);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Paar[1].Pruefen->Font()->Color(), RGB(0, 200, 0));
    f->Kassenpreis[1]->Click();
    EXPECT_EQ(f->Kassenpreis[1]->Font()->Color(), RGB(255, 0, 0));
    f->Gerundet[1]->Click();
    EXPECT_EQ(f->Gerundet[1]->Font()->Color(), RGB(0, 200, 0));
    Bildschirmfoto(f.get(), "TZqK1_2B1_Laden1");
    f->BitBtn9->Click();
    EXPECT_EQ(f->StaticText1->Caption(), "2 / 3");
    EXPECT_EQ(f->Gerundet[1]->Font()->Color(), clBlack);
    EXPECT_EQ(f->WagenZeilen(1), QStringList({"Summe:", "0 €"}));
    EXPECT_EQ(ZqK1_2B1.Schaetzung[1], 200);
    f->BitBtn9->Click();
    f->BitBtn9->Click();
    EXPECT_EQ(f->StaticText1->Caption(), "1 / 3");
}

TEST_F(Shop, AfterTakingAProductTheEstimateIsTypedIntoThisShop) {
    ZumLaden(1);
    // Clicked with the mouse, as the pupil does; the box of this shop then
    // has the focus, not the one of the shop not shown.
    MouseClick(f->Nehmen[1][1]);
    MouseClick(f->Nehmen[1][2]);
    EXPECT_EQ(KeyboardTarget(), f->Paar[1].Box->Widget());
    TypeAtFocus("400");
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(Zeile0(f->Paar[2].Box), "");
    ZumLaden(2);
    MouseClick(f->Nehmen[2][1]);
    MouseClick(f->Nehmen[2][2]);
    TypeAtFocus("7");
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), "Super, das Ergebnis ist richtig.");
}

TEST_F(Shop, CartHoldsSevenProductsAtMost) {
    ZumLaden(1);
    for (int i = 0; i < 7; ++i)
        f->Nehmen[1][1 + i % 3]->Click();
    EXPECT_EQ(f->Labelh1->Caption(), "");
    f->Nehmen[1][2]->Click();
    EXPECT_EQ(f->Labelh1->Caption(), "Nimm maximal 7 Produkte.");
    EXPECT_EQ(f->LabelH2->Caption(), "Du darfst dir maximal 7 Teile aussuchen.");
    EXPECT_EQ(f->WagenZeilen(1).size(), 9);
    EXPECT_EQ(f->WagenZeilen(1).last(), "1 230 €"); // 3 x 270 + 2 x 120 + 2 x 90
    // Putting back the first radio frees its slot; the message goes.
    f->Zuruecklegen[1][2]->Click();
    EXPECT_EQ(f->Labelh1->Caption(), "");
    EXPECT_EQ(f->WagenZeilen(1).count("Radio             120 €"), 1);
    EXPECT_EQ(f->WagenZeilen(1).last(), "1 110 €");
    EXPECT_TRUE(ZqK1_2B1.Wagen[1].Leer);
    EXPECT_EQ(ZqK1_2B1.Wagen[1].Produkt, -1);
    // The next one taken fills that slot.
    f->Nehmen[1][3]->Click();
    EXPECT_EQ(ZqK1_2B1.Wagen[1].Produkt, 3);
    // Nothing to put back: nothing changes.
    ZumLaden(0);
    ZumLaden(1);
    f->Zuruecklegen[1][1]->Click();
    EXPECT_EQ(f->WagenZeilen(1), QStringList({"Summe:", "0 €"}));
}

TEST_F(Shop, FruitPricesShowWithADecimalComma) {
    ZumLaden(2);
    f->Nehmen[2][1]->Click();
    f->Nehmen[2][2]->Click();
    EXPECT_EQ(f->WagenZeilen(2),
              QStringList({"1 kg Erdbeeren    5,29 €", "1 kg Bananen      1,79 €", "Summe:", "7,08 €"}));
    TypeText(f->Paar[2].Box, "7");
    f->Paar[2].Pruefen->Click();
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    f->Kassenpreis[2]->Click();
    EXPECT_EQ(f->Kassenpreis[2]->Font()->Color(), RGB(0, 200, 0));
    f->Hilfeknopf[1]->Click();
    EXPECT_TRUE(f->Hilfepanel[1]->Visible());
    Bildschirmfoto(f.get(), "TZqK1_2B1_Laden2");
    f->BitBtn19->Click();
    EXPECT_EQ(f->StaticText2->Caption(), "2 / 4");
    EXPECT_FALSE(f->Hilfepanel[2]->Visible());
    EXPECT_EQ(ZqK1_2B1.Schaetzung[2], 6);
    EXPECT_EQ(Betrag(2, 1234.5), "1234,50 €");
    EXPECT_EQ(Betrag(1, 1050), "1 050 €");
}

TEST_F(Shop, ReopeningStartsOnTheExamplesWithEmptyCartAndFirstTasks) {
    ZumLaden(2);
    f->BitBtn19->Click();
    f->Nehmen[2][3]->Click();
    ZumLaden(1);
    f->BitBtn9->Click();
    f->Nehmen[1][1]->Click();
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK1_2B1.Seite, 0);
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabBeispiele);
    EXPECT_EQ(f->Panel1->Caption(), "Ladenlokal 0 / 2");
    EXPECT_EQ(f->StaticText1->Caption(), "1 / 3");
    EXPECT_EQ(f->StaticText2->Caption(), "1 / 4");
    EXPECT_EQ(ZqK1_2B1.Schaetzung[1], 400);
    EXPECT_EQ(ZqK1_2B1.Schaetzung[2], 7);
    EXPECT_EQ(f->WagenZeilen(1), QStringList({"Summe:", "0 €"}));
}

} // namespace
