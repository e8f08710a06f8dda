#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_1B1.h"

#include "platform/Fonts.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

void BisAufgabe(OffeneForm<TZqK1_1B1>& f, int Index) {
    while (ZqK1_1B1.Index != Index)
        f->B_NeueAufgabe->Click();
}

TEST(Comparing, FixedTasksComeFirstAndTheListWrapsAfter99) {
    OffeneForm<TZqK1_1B1> f;
    EXPECT_FALSE(f->B_Tastatur->Visible());
    EXPECT_TRUE(f->B_BtnAufgabenNr->Visible());
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 1 / 99");
    EXPECT_EQ(f->LabelZ1->Caption(), "130 000");
    EXPECT_EQ(f->LabelZ2->Caption(), "360 000");
    EXPECT_EQ(f->LabelP1->Caption(), "Klicke mit der Maus auf einen der 3 Buttons.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 255, 0));
    BisAufgabe(f, 6);
    EXPECT_EQ(f->LabelZ1->Caption(), "Das 3 - fache von 60 000,\r vermindert um 80 000.");
    EXPECT_EQ(f->LabelZ1->Top(), 4);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->LabelZ1->Top(), 17);
    EXPECT_EQ(f->LabelZ1->Caption(), "Der Dritte Teil von 720 000.");
    BisAufgabe(f, 9);
    EXPECT_GE(ZqK1_1B1.A, 30000);
    EXPECT_LT(ZqK1_1B1.A, 1000000);
    EXPECT_EQ(f->LabelZ1->Caption(), Gruppiert(ZqK1_1B1.A));
    BisAufgabe(f, 99);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 99 / 99");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_1B1.Index, 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 1 / 99");
    EXPECT_EQ(f->LabelZ1->Caption(), "130 000");
    EXPECT_EQ(f->LabelZ2->Caption(), "360 000");
}

TEST(Comparing, OnlyTheFirstChoiceCounts) {
    OffeneForm<TZqK1_1B1> f;
    f->BitBtn5->Click(); // 130 000 > 360 000 is wrong
    EXPECT_EQ(f->Label4->Caption(), ">");
    EXPECT_EQ(f->LabelP1->Caption(), "Die Beziehung stimmt nicht.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 0, 0));
    EXPECT_FALSE(ZqK1_1B1.Gezeigt);
    f->BitBtn3->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut. Die Beziehung stimmt.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_TRUE(ZqK1_1B1.Gezeigt);
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "1");
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "0");

    // Task 2, right at once; task 3 after "Hilfe": nothing counts.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->Label4->Caption(), "");
    f->BitBtn3->Click();
    f->BitBtn3->Click();
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
    f->B_NeueAufgabe->Click();
    f->BitBtn6->Click();
    EXPECT_TRUE(ZqK1_1B1.Gezeigt);
    f->BitBtn5->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut. Die Beziehung stimmt.");
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "1");
    Bildschirmfoto(f.get(), "TZqK1_1B1");
}

TEST(Comparing, EqualTasksAcceptOnlyTheEqualSign) {
    OffeneForm<TZqK1_1B1> f;
    for (int Index : {5, 7}) {
        BisAufgabe(f, Index);
        f->BitBtn3->Click();
        EXPECT_EQ(f->LabelP1->Caption(), "Die Beziehung stimmt nicht.") << Index;
        f->BitBtn5->Click();
        EXPECT_EQ(f->LabelP1->Caption(), "Die Beziehung stimmt nicht.") << Index;
        f->BitBtn4->Click();
        EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut. Die Beziehung stimmt.") << Index;
    }
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "2");
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK1_1B1.Index, 1);
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "0");
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 1 / 99");
}

TEST(Comparing, NumbersOnTheLineAreBoldLikeTheLabels) {
    OffeneForm<TZqK1_1B1> f;
    f->BitBtn6->Click(); // "Hilfe" shows A and B on the line
    const TFont* Schrift = f->Image1->Canvas()->Font();
    EXPECT_TRUE(Schrift->Style() & fsBold);
    // The numbers are drawn in that style in Tahoma, whose bold is made heavier
    // than the regular.
    TFont Tahoma;
    Tahoma.SetName(QStringLiteral("Tahoma"));
    Tahoma.SetSize(16);
    Tahoma.SetStyle(Schrift->Style());
    EXPECT_TRUE(SimulatedBold(Tahoma));
}

} // namespace
