#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3H1.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace K1Test;

constexpr TColor Gruen = RGB(0, 200, 0);

TEST(LongDivisionWithRemainder, DrawnTasksKeepFourDigitsAndARemainder) {
    OffeneForm<TZqK1_3H1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 8");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Dividieren mit Rest");
    EXPECT_FALSE(f->B_Tastatur->Visible());
    for (int i = 0; i < 300; ++i) {
        f->NeueAufgabe();
        const TDivisionZustand& Z = ZqK1_3H1;
        const int D = Z.q * Z.d + Z.R;
        ASSERT_TRUE(D >= 1001 && D <= 9999 && Z.R >= 1 && Z.R < Z.d) << Z.q << " " << Z.d << " " << Z.R;
        ASSERT_EQ(10 * Z.r3 + Z.E - Z.q4 * Z.d, Z.R);
        ASSERT_EQ(Z.S, D);
        ASSERT_EQ(f->Label25->Caption(), "Rest < " + QString::number(Z.d));
        if (Z.d == 2) {
            ASSERT_EQ(Z.R, 1);
        }
    }
}

TEST(LongDivisionWithRemainder, RemainderRowQuotientAndSolution) {
    OffeneForm<TZqK1_3H1> f;
    f->AufgabeMit(1759, 5, 3); // 8798 : 5
    EXPECT_EQ(f->HinweisText[15]->Caption(), "Rechne 48 - 45 .");
    EXPECT_EQ(f->Panel37->Caption() + f->Panel39->Caption() + f->Panel34->Caption(), "335");
    EXPECT_EQ(f->RichEdit[23]->Top(), 544);
    f->BitBtn[37]->Click();
    EXPECT_TRUE(f->Hinweis[15]->Visible());
    // The remainder box is never right empty.
    f->BitBtn[36]->Click();
    EXPECT_EQ(f->LabelPP[11]->Caption(), "falsch");
    TypeText(f->RichEdit[23], "3");
    PressEnter(f->RichEdit[23]);
    EXPECT_EQ(f->LabelPP[11]->Caption(), "richtig");
    EXPECT_EQ(f->RichEdit[23]->Color(), Gruen);
    // Quotient right, remainder of the task line missing.
    TypeText(f->RichEdit[18], "1");
    TypeText(f->RichEdit[19], "7");
    TypeText(f->RichEdit[20], "5");
    TypeText(f->RichEdit[21], "9");
    f->BitBtn[7]->Click();
    EXPECT_EQ(f->LabelPP[0]->Caption(), "Fülle alle umrandeten Felder aus.");
    EXPECT_EQ(f->LabelPP[0]->Font()->Color(), RGB(255, 255, 0));
    EXPECT_EQ(f->RichEdit[22]->Color(), clWhite);
    EXPECT_FALSE(f->BitBtn[35]->Visible());
    TypeText(f->RichEdit[22], "3");
    PressEnter(f->RichEdit[22]);
    EXPECT_EQ(f->LabelPP[0]->Caption(), "richtig");
    EXPECT_TRUE(f->BitBtn[35]->Visible());

    f->AufgabeMit(617, 2, 1); // 1235 : 2, three-digit quotient
    EXPECT_EQ((std::array{f->RichEdit[23]->Top(), f->RichEdit[22]->Left(), f->BitBtn[36]->Top()}),
              (std::array{480, 683, 505}));
    f->BitBtn[20]->Click();
    for (int z = 0; z <= 11; ++z)
        EXPECT_EQ(f->LabelPP[z]->Caption(), "richtig") << z;
    EXPECT_EQ(Zeile0(f->RichEdit[22]) + Zeile0(f->RichEdit[23]), "11");
    EXPECT_FALSE(f->PanelK1->Visible());
    Bildschirmfoto(f.get(), "TZqK1_3H1");
}

TEST(LongDivisionWithRemainder, CheckByMultiplicationNeedsProductAndSum) {
    OffeneForm<TZqK1_3H1> f;
    f->AufgabeMit(1759, 5, 3); // 8795 + 3 = 8798
    f->BitBtn[20]->Click();
    f->BitBtn[35]->Click();
    for (int k = 1; k <= 4; ++k)
        f->ErgebnisKnopf[k]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[4]) + Zeile0(f->RichEdit[3]) + Zeile0(f->RichEdit[2]) +
                  Zeile0(f->RichEdit[1]),
              "8795");
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->RichEditE[1]->Color(), RGB(255, 0, 0));
    EXPECT_TRUE(f->BitBtn[38]->Visible());
    f->BitBtn[38]->Click();
    EXPECT_EQ(Zeile0(f->RichEditE[4]) + Zeile0(f->RichEditE[3]) + Zeile0(f->RichEditE[2]) +
                  Zeile0(f->RichEditE[1]),
              "8798");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), Gruen);
    Bildschirmfoto(f.get(), "TZqK1_3H1_Kontrolle");
    // The next task empties the sum boxes too.
    f->NeueAufgabe();
    EXPECT_EQ(Zeile0(f->RichEditE[1]), "");
    EXPECT_EQ(f->RichEditE[1]->Color(), clWhite);
}

TEST(LongDivisionWithRemainder, DigitPadTypesIntoTheFocusedBox) {
    OffeneForm<TZqK1_3H1> f;
    f->AufgabeMit(1759, 5, 3);
    EXPECT_EQ(f->SpeedButton[1]->Caption(), "löschen");
    EXPECT_EQ(f->SpeedButton[11]->Caption(), "9");
    EXPECT_EQ(f->SpeedButton[11]->Top(), 480);
    EXPECT_EQ(f->Image1->Picture()->Width(), 49);
    f->RichEdit[19]->SetFocus();
    ProcessEvents();
    f->SpeedButton[9]->Click(); // "7"
    f->SpeedButton[4]->Click(); // "2"
    ProcessEvents();
    EXPECT_EQ(Zeile0(f->RichEdit[19]), "72");
    f->SpeedButton[1]->Click();
    ProcessEvents();
    EXPECT_EQ(Zeile0(f->RichEdit[19]), "7");
}

} // namespace
