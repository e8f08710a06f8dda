#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_1B1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

const TColor Gruen = RGB(0, 255, 0);
const TColor Rot = RGB(255, 0, 0);
const TColor Gelb = RGB(255, 255, 0);

// Steps on to task k (1 .. 8) from wherever the form is.
void ZuAufgabe(TZqK2_1B1* f, int k) {
    while (ZqK2_1B1.Aufgabe != k)
        f->B_NeueAufgabe->Click();
}

void Eingeben(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

TEST(TimeUnits, StartsAtTaskOneAndCyclesThroughEightPages) {
    OffeneForm<TZqK2_1B1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.1   Übung 3");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_EQ(ZqK2_1B1.Aufgabe, 1);
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabSheet[1]);
    EXPECT_EQ(ZqK2_1B1.Erwartet, "300");
    for (int k = 2; k <= 8; ++k) {
        f->B_NeueAufgabe->Click();
        EXPECT_EQ(ZqK2_1B1.Aufgabe, k);
        EXPECT_EQ(f->PageControl1->ActivePage(), f->TabSheet[k]);
    }
    EXPECT_EQ(ZqK2_1B1.Teil1, 14);
    EXPECT_EQ(ZqK2_1B1.Teil2, 30);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK2_1B1.Aufgabe, 1);
    EXPECT_EQ(f->AufgabenNrWert(), 1);
    // A new activation starts at task 1 again.
    ZuAufgabe(f.get(), 4);
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK2_1B1.Aufgabe, 1);
}

TEST(TimeUnits, SingleAnswersUseTheAnswerCheckAndDropProducts) {
    OffeneForm<TZqK2_1B1> f;
    Eingeben(f->RichEdit[1], "5*60");
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "560");
    Eingeben(f->RichEdit[1], "300");
    PressEnter(f->RichEdit[1]);
    const QString Richtig = f->LabelP[1]->Caption();
    EXPECT_FALSE(Richtig.isEmpty());
    Eingeben(f->RichEdit[1], "301");
    f->BitBtnP[1]->Click();
    EXPECT_NE(f->LabelP[1]->Caption(), Richtig);

    ZuAufgabe(f.get(), 7);
    Eingeben(f->RichEdit[9], "24");
    PressEnter(f->RichEdit[9]);
    EXPECT_EQ(f->LabelP[9]->Caption(), Richtig);
    f->BitBtnHilfe[7]->Click();
    EXPECT_TRUE(f->PanelHilfe[7]->Visible());
    Bildschirmfoto(f.get(), "TZqK2_1B1_Aufgabe7");

    f->B_NeueAufgabe->Click();
    const int Antwort[4] = {60, 45, 30, 15};
    for (int i = 0; i < 4; ++i) {
        Eingeben(f->RichEdit[12 + i], QString::number(Antwort[i]));
        f->BitBtnP[12 + i]->Click();
        EXPECT_EQ(f->LabelP[12 + i]->Caption(), Richtig) << i;
    }
    Eingeben(f->RichEdit[15], "45");
    PressEnter(f->RichEdit[15]);
    EXPECT_NE(f->LabelP[15]->Caption(), Richtig);
    Bildschirmfoto(f.get(), "TZqK2_1B1_Aufgabe8");
    f->B_NeueAufgabe->Click();
    f.Wiederoeffnen();
    ZuAufgabe(f.get(), 7);
    EXPECT_FALSE(f->PanelHilfe[7]->Visible());
    EXPECT_EQ(Zeile0(f->RichEdit[9]), "");
}

TEST(TimeUnits, MixedNotationRightWrongFormAndMissing) {
    OffeneForm<TZqK2_1B1> f;
    ZuAufgabe(f.get(), 5);
    TRichEdit *h = f->RichEdit[5], *m = f->RichEdit[6];
    TLabel* l = f->LabelP[5];
    Eingeben(h, "3");
    Eingeben(m, "20");
    f->BitBtnP[5]->Click();
    EXPECT_EQ(l->Caption(), "Das stimmt. Sehr gut, weiter so.");
    EXPECT_EQ(l->Font()->Color(), Gruen);
    EXPECT_EQ(h->Color(), Gruen);
    EXPECT_EQ(m->Color(), Gruen);

    Eingeben(h, "2");
    Eingeben(m, "80");
    PressEnter(m);
    EXPECT_EQ(l->Caption(), "Richtig, aber nicht die gewünschte Form.");
    EXPECT_EQ(l->Font()->Color(), Gelb);
    EXPECT_EQ(h->Color(), Rot);
    EXPECT_EQ(m->Color(), Rot);

    Eingeben(h, "3");
    m->Clear();
    PressEnter(h);
    EXPECT_EQ(l->Caption(), "Es fehlen noch Einträge.");
    EXPECT_EQ(h->Color(), Gruen);
    EXPECT_EQ(m->Color(), clWhite);

    Eingeben(h, "3");
    Eingeben(m, "21");
    PressEnter(h);
    EXPECT_EQ(l->Caption(), "Leider falsch.");
    EXPECT_EQ(l->Font()->Color(), Rot);

    // A bracket carried over from one box into the other cannot make a
    // wrong answer equal in value.
    Eingeben(h, "0)+(200)+0*(0");
    Eingeben(m, "0");
    PressEnter(h);
    EXPECT_EQ(l->Caption(), "Leider falsch.");

    f->BitBtnHilfe[5]->Click();
    EXPECT_TRUE(f->PanelHilfe[5]->Visible());
    EXPECT_FALSE(f->PanelLoesung5->Visible());
    f->BitBtn8->Click();
    EXPECT_TRUE(f->PanelLoesung5->Visible());
    Bildschirmfoto(f.get(), "TZqK2_1B1_Aufgabe5");
    ZuAufgabe(f.get(), 4);
    ZuAufgabe(f.get(), 5);
    EXPECT_FALSE(f->PanelHilfe[5]->Visible());
    EXPECT_FALSE(f->PanelLoesung5->Visible());
    EXPECT_EQ(h->Color(), clWhite);
    EXPECT_EQ(Zeile0(m), "");
    EXPECT_EQ(l->Caption(), "");
}

TEST(TimeUnits, DaysAndHoursCountTwentyFourHoursADay) {
    OffeneForm<TZqK2_1B1> f;
    ZuAufgabe(f.get(), 6);
    Eingeben(f->RichEdit[7], "3");
    Eingeben(f->RichEdit[8], "28");
    f->BitBtnP[7]->Click();
    EXPECT_EQ(f->LabelP[7]->Caption(), "Richtig, aber nicht die gewünschte Form.");
    Eingeben(f->RichEdit[7], "4");
    Eingeben(f->RichEdit[8], "4");
    PressEnter(f->RichEdit[8]);
    EXPECT_EQ(f->LabelP[7]->Caption(), "Das stimmt. Sehr gut, weiter so.");

    ZuAufgabe(f.get(), 8);
    Eingeben(f->RichEdit[10], "13");
    Eingeben(f->RichEdit[11], "90");
    f->BitBtnP[10]->Click();
    EXPECT_EQ(f->LabelP[10]->Caption(), "Richtig, aber nicht die gewünschte Form.");
    Eingeben(f->RichEdit[11], "30");
    f->BitBtnP[10]->Click();
    EXPECT_EQ(f->LabelP[10]->Caption(), "Leider falsch.");
    EXPECT_EQ(f->RichEdit[10]->Color(), Rot);
    EXPECT_EQ(f->RichEdit[11]->Color(), Gruen);
}

} // namespace
