#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_2A1.h"
#include "platform/Keys.h"

#include <QTabBar>

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

TEST(Rounding, HalvesRoundUpAndOneDigitNumbersGoToTens) {
    EXPECT_EQ(Gerundet(1250, 2), 1300);
    EXPECT_EQ(Gerundet(999999, 5), 1000000);
    EXPECT_EQ(Gerundet(5, 0), 10);
    EXPECT_EQ(Gerundet(4, 0), 0);
    EXPECT_EQ(Gerundet(15, 1), 20);
    EXPECT_EQ(Gerundet(14, 1), 10);
    EXPECT_EQ(Gerundet(17514, 1), 17510);
    EXPECT_EQ(Gerundet(12345, 4), 10000);
    EXPECT_EQ(Gerundet(150000, 5), 200000);
    EXPECT_EQ(Gerundet(0, 0), 0);
}

TEST(Rounding, OneDigitRangeAlwaysAsksForTheNumberItself) {
    OffeneForm<TZqK1_2A1> f;
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabZahlen);
    f->RadioBereich->SetItemIndex(0);
    for (int i = 0; i < 30; ++i) {
        f->B_NeueAufgabe->Click();
        EXPECT_EQ(f->Label22->Caption(), "Runde die angegebene Zahl.");
        EXPECT_LE(ZqK1_2A1.x, 9);
        EXPECT_EQ(ZqK1_2A1.gerundet, ZqK1_2A1.x >= 5 ? 10 : 0);
    }
    f->RadioBereich->SetItemIndex(5);
    for (int i = 0; i < 30; ++i) {
        f->B_NeueAufgabe->Click();
        const int k = ZqK1_2A1.k;
        EXPECT_GE(k, ZqK1_2A1.x < 100000 ? 0 : 1);
        EXPECT_LE(k, 5);
    }
}

TEST(Rounding, SolutionButtonFillsInAndChecks) {
    OffeneForm<TZqK1_2A1> f;
    f->Paar1.Loesung->Click();
    EXPECT_EQ(Zeile0(f->Paar1.Box), QString::number(ZqK1_2A1.gerundet));
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), RGB(0, 200, 0));
    f->B_NeueAufgabe->Click();
    TypeText(f->Paar1.Box, QString::number(ZqK1_2A1.gerundet + 1));
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Leider falsch");
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), RGB(255, 0, 0));
    f->BitBtnHilfe->Click();
    EXPECT_TRUE(f->Panel2->Visible());
    EXPECT_TRUE(ZqK1_2A1.Hilfe);
    Bildschirmfoto(f.get(), "TZqK1_2A1_Hilfe");
    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(f->Panel2->Visible());
    EXPECT_FALSE(ZqK1_2A1.Hilfe);
}

TEST(Rounding, TheFirstTaskTakesTheAnswerTypedOnTheNumberPage) {
    OffeneForm<TZqK1_2A1> f;
    ASSERT_EQ(f->PageControl1->ActivePage(), f->TabZahlen);
    EXPECT_EQ(KeyboardTarget(), f->Paar1.Box->Widget());
    TypeAtFocus(QString::number(ZqK1_2A1.gerundet));
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(Zeile0(f->Paar2.Box), "");
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "");
    // On the page of the word problems their box takes the keys.
    QTabBar* Reiter = f->PageControl1->Widget()->findChild<QTabBar*>();
    ASSERT_NE(Reiter, nullptr);
    const QPointF Mitte = Reiter->tabRect(2).center();
    QMouseEvent Druck(QEvent::MouseButtonPress, Mitte, Reiter->mapToGlobal(Mitte), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Reiter, &Druck);
    QMouseEvent Los(QEvent::MouseButtonRelease, Mitte, Reiter->mapToGlobal(Mitte), Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Reiter, &Los);
    ASSERT_EQ(f->PageControl1->ActivePage(), f->TabAufgaben);
    TypeAtFocus("13");
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
}

TEST(Rounding, WordProblemsAdvanceOnlyOnTheirPageAndWrap) {
    OffeneForm<TZqK1_2A1> f;
    EXPECT_EQ(f->Panel3->Caption(), "1 / 7");
    const int x = ZqK1_2A1.x;
    f->PageControl1->SetActivePage(f->TabAufgaben);
    EXPECT_EQ(f->Label29->Caption(), "Die Baumhöhe beträgt ca.");
    EXPECT_EQ(f->Label31->Caption(), "m");
    TypeText(f->Paar2.Box, "13");
    PressEnter(f->Paar2.Box);
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    f->ProblemHilfe[1]->Click();
    EXPECT_TRUE(f->ProblemPanel[1]->Visible());
    Bildschirmfoto(f.get(), "TZqK1_2A1_Textaufgabe");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_2A1.x, x);
    EXPECT_EQ(f->Panel3->Caption(), "2 / 7");
    EXPECT_EQ(Zeile0(f->Paar2.Box), "");
    EXPECT_EQ(f->PageControl2->ActivePage(), f->Problemseite[2]);
    EXPECT_EQ(f->Label31->Caption(), "km");
    const int Antworten[8] = {0, 13, 28, 124, 14, 48, 10, 2};
    for (int i = 2; i <= 7; ++i) {
        f->Paar2.Box->Clear();
        TypeText(f->Paar2.Box, QString::number(Antworten[i]));
        f->Paar2.Pruefen->Click();
        EXPECT_EQ(f->Paar2.Pruefen->Font()->Color(), RGB(0, 200, 0)) << i;
        f->B_NeueAufgabe->Click();
    }
    EXPECT_EQ(f->Panel3->Caption(), "1 / 7");
    EXPECT_EQ(f->Label31->Caption(), "m");
    // The info page makes nothing new.
    f->PageControl1->SetActivePage(f->TabInfo);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->Panel3->Caption(), "1 / 7");
    EXPECT_EQ(ZqK1_2A1.x, x);
    Bildschirmfoto(f.get(), "TZqK1_2A1_Info");
}

TEST(Rounding, ReopeningStartsWithTheFirstWordProblemOnTheNumberPage) {
    OffeneForm<TZqK1_2A1> f;
    f->BitBtnHilfe->Click();
    f->PageControl1->SetActivePage(f->TabAufgaben);
    f->B_NeueAufgabe->Click();
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->Panel3->Caption(), "3 / 7");
    f.Wiederoeffnen();
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabZahlen);
    EXPECT_EQ(f->Panel3->Caption(), "1 / 7");
    EXPECT_EQ(f->PageControl2->ActivePage(), f->Problemseite[1]);
    EXPECT_EQ(f->Label29->Caption(), "Die Baumhöhe beträgt ca.");
    EXPECT_FALSE(ZqK1_2A1.Hilfe);
    EXPECT_FALSE(f->Panel2->Visible());
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "");
}

} // namespace
