#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_1A2.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

const TColor Gruen = RGB(0, 255, 0);
const TColor Rot = RGB(255, 0, 0);
const TColor Gelb = RGB(255, 255, 0);

void Eingeben(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

TEST(ReadingTheClock, OpensWithAFreshTimeInBothGroups) {
    OffeneForm<TZqK2_1A2> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.1   Übung 2");
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Neue Werte");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    const TUhrAblesenZustand& Z = ZqK2_1A2;
    EXPECT_GE(Z.VorMittag.Stunde, 0);
    EXPECT_LE(Z.VorMittag.Stunde, 11);
    EXPECT_EQ(Z.NachMittag.Stunde, Z.VorMittag.Stunde + 12);
    EXPECT_EQ(Z.NachMittag.Minute, Z.VorMittag.Minute);
    EXPECT_EQ(Z.NachMittag.Sekunde, Z.VorMittag.Sekunde);
    EXPECT_FALSE(f->Image2->Visible());
    EXPECT_FALSE(f->Image3->Visible());
    EXPECT_TRUE(f->BitBtnErgebnis->Visible());
    EXPECT_TRUE(f->BitBtn3->Visible());
    EXPECT_TRUE(f->RichEdit3->Visible());
    EXPECT_EQ(f->Image1->Width(), 400);
    EXPECT_EQ(f->Image1->Height(), 500);
    Bildschirmfoto(f.get(), "TZqK2_1A2_Start");
}

TEST(ReadingTheClock, TwelveIsZeroBeforeNoonAndTwelveAfter) {
    OffeneForm<TZqK2_1A2> f;
    f->ZeitZeigen(0, 15, 30);
    Eingeben(f->RichEdit1, "12");
    Eingeben(f->RichEdit2, "15");
    Eingeben(f->RichEdit3, "30");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Die Uhrzeit stimmt nicht.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), Rot);
    EXPECT_EQ(f->RichEdit1->Color(), Rot);
    EXPECT_EQ(f->RichEdit2->Color(), Gruen);
    EXPECT_TRUE(f->BitBtnErgebnis->Visible());

    Eingeben(f->RichEdit1, "0");
    PressEnter(f->RichEdit1);
    EXPECT_EQ(f->LabelP1->Caption(), "Klasse, du hast die Uhrzeit richtig abgelesen.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), Gruen);
    EXPECT_EQ(f->RichEdit1->Color(), Gruen);
    EXPECT_FALSE(f->BitBtnErgebnis->Visible());
    EXPECT_TRUE(f->Image2->Visible());

    Eingeben(f->RichEdit4, "12");
    Eingeben(f->RichEdit5, "15");
    Eingeben(f->RichEdit6, "30");
    PressEnter(f->RichEdit6);
    EXPECT_EQ(f->LabelP2->Caption(), "Klasse, du hast die Uhrzeit richtig abgelesen.");
    EXPECT_TRUE(f->Image3->Visible());
    EXPECT_FALSE(f->BitBtn3->Visible());
}

TEST(ReadingTheClock, AnEmptyBoxOutranksWrongOnes) {
    OffeneForm<TZqK2_1A2> f;
    f->ZeitZeigen(3, 40, 10);
    Eingeben(f->RichEdit4, "4");
    Eingeben(f->RichEdit6, "11");
    f->BitBtnP2->Click();
    EXPECT_EQ(f->LabelP2->Caption(), "Fülle alle Felder aus.");
    EXPECT_EQ(f->LabelP2->Font()->Color(), Gelb);
    EXPECT_EQ(f->RichEdit4->Color(), Rot);
    EXPECT_EQ(f->RichEdit5->Color(), clWhite);
    EXPECT_EQ(f->RichEdit6->Color(), Rot);
    // The other group was not asked.
    EXPECT_EQ(f->LabelP1->Caption(), "");
    EXPECT_EQ(f->RichEdit1->Color(), clWhite);
}

TEST(ReadingTheClock, SolutionFillsOneGroupOnly) {
    OffeneForm<TZqK2_1A2> f;
    f->ZeitZeigen(9, 5, 7);
    Eingeben(f->RichEdit4, "1");
    f->BitBtnErgebnis->Click();
    EXPECT_EQ(Zeile0(f->RichEdit1), "9");
    EXPECT_EQ(Zeile0(f->RichEdit2), "5");
    EXPECT_EQ(Zeile0(f->RichEdit3), "7");
    EXPECT_EQ(f->RichEdit3->Color(), Gruen);
    EXPECT_EQ(f->LabelP1->Caption(), "Klasse, du hast die Uhrzeit richtig abgelesen.");
    EXPECT_FALSE(f->BitBtnErgebnis->Visible());
    EXPECT_TRUE(f->Image2->Visible());
    EXPECT_EQ(Zeile0(f->RichEdit4), "1");
    EXPECT_EQ(f->RichEdit4->Color(), clWhite);
    EXPECT_EQ(f->LabelP2->Caption(), "");
    EXPECT_TRUE(f->BitBtn3->Visible());
    EXPECT_FALSE(f->Image3->Visible());

    f->BitBtn3->Click();
    EXPECT_EQ(Zeile0(f->RichEdit4), "21");
    EXPECT_EQ(f->LabelP2->Caption(), "Klasse, du hast die Uhrzeit richtig abgelesen.");
    Bildschirmfoto(f.get(), "TZqK2_1A2_Geloest");

    // A new task clears both groups again.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Zeile0(f->RichEdit1), "");
    EXPECT_EQ(f->RichEdit1->Color(), clWhite);
    EXPECT_EQ(f->LabelP2->Caption(), "");
    EXPECT_TRUE(f->BitBtnErgebnis->Visible());
    EXPECT_FALSE(f->Image3->Visible());
}

TEST(ReadingTheClock, WithoutSecondsTheSecondBoxesHoldZeroAndPass) {
    OffeneForm<TZqK2_1A2> f;
    for (int i = 0; i < 10; ++i) {
        f->Checks->SetChecked(false);
        EXPECT_FALSE(f->RichEdit3->Visible());
        EXPECT_FALSE(f->RichEdit6->Visible());
        EXPECT_FALSE(f->Label10->Visible());
        EXPECT_FALSE(f->Label21->Visible());
        EXPECT_EQ(Zeile0(f->RichEdit3), "0");
        EXPECT_EQ(Zeile0(f->RichEdit6), "0");
        EXPECT_EQ(ZqK2_1A2.VorMittag.Sekunde, 0);
        const TUhrAblesenZustand Z = ZqK2_1A2;
        Eingeben(f->RichEdit1, QString::number(Z.VorMittag.Stunde));
        Eingeben(f->RichEdit2, QString::number(Z.VorMittag.Minute));
        PressEnter(f->RichEdit2);
        EXPECT_EQ(f->LabelP1->Caption(), "Klasse, du hast die Uhrzeit richtig abgelesen.");
        f->Checks->SetChecked(true);
        EXPECT_TRUE(f->RichEdit3->Visible());
        EXPECT_EQ(Zeile0(f->RichEdit3), "");
        EXPECT_EQ(f->LabelP1->Caption(), "");
    }
    f->Checks->SetChecked(false);
    Bildschirmfoto(f.get(), "TZqK2_1A2_OhneSekunden");
}

} // namespace
