#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_1D1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

class Race : public ::testing::Test {
protected:
    void Antworten(const QString& Text) {
        f->Paar1.Box->Clear();
        TypeText(f->Paar1.Box, Text);
        PressEnter(f->Paar1.Box);
    }
    QString Punkte() const { return f->StaticText1->Caption(); }
    // A whole text in a bound box, then the release of its last key.
    void Grenzeingabe(TRichEdit* Box, const QString& Text) {
        Box->Lines()->SetText(Text);
        uint16_t Taste = '0';
        f->RichEdit2KeyUp(Box, Taste, 0);
    }

    OffeneForm<TZqK1_1D1> f;
};

TEST_F(Race, WaitsForStartWithTheFirstTaskShown) {
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Start");
    EXPECT_TRUE(f->B_NeueAufgabe->Enabled());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_FALSE(f->Paar1.Box->Enabled());
    EXPECT_TRUE(f->Panel3->Visible());
    EXPECT_FALSE(f->Panel2->Visible());
    EXPECT_EQ(f->PanelZ1->Caption(), QString::number(ZqK1_1D1.a));
    EXPECT_EQ(ZqK1_1D1.Ergebnis, ZqK1_1D1.a + ZqK1_1D1.b);
    EXPECT_EQ(Zeile0(f->Grenze[1]), "10");
    EXPECT_EQ(Punkte(), "Punkte: 0");
    EXPECT_EQ(f->RadioGroup1->ItemIndex(), 2);
    EXPECT_DOUBLE_EQ(f->Gegnertempo(), 0.2);
    Bildschirmfoto(f.get(), "TZqK1_1D1_Start");
}

TEST_F(Race, TheFastestOpponentWinsAfterTheCourseWidth) {
    f->RadioGroup1->SetItemIndex(6);
    f->B_NeueAufgabe->Click();
    EXPECT_TRUE(f->Timer1->Enabled());
    EXPECT_FALSE(f->B_NeueAufgabe->Enabled());
    EXPECT_FALSE(f->Panel3->Visible());
    const int Ticks = f->Image1->Width() - 3 - f->ImageSchwan->Picture()->Width();
    EXPECT_EQ(Ticks, 674);
    for (int i = 0; i < Ticks - 1; ++i)
        f->Timer1Timer(f->Timer1);
    EXPECT_EQ(ZqK1_1D1.Ausgang, "");
    EXPECT_TRUE(f->Timer1->Enabled());
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(ZqK1_1D1.Ausgang, "Computer hat gewonnen.");
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_TRUE(f->B_NeueAufgabe->Enabled());
    EXPECT_FALSE(f->Paar1.Box->Enabled());
    EXPECT_FALSE(f->Paar1.Pruefen->Enabled());
    Bildschirmfoto(f.get(), "TZqK1_1D1_Ende");
}

TEST_F(Race, PointsRiseWithRightAnswersAndNeverFallBelowZero) {
    f->B_NeueAufgabe->Click();
    Antworten(QString::number(ZqK1_1D1.Ergebnis + 1));
    EXPECT_EQ(Punkte(), "Punkte: 0");
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Leider falsch");
    const long long Vorher = ZqK1_1D1.a;
    Antworten(QString::number(ZqK1_1D1.Ergebnis));
    EXPECT_EQ(Punkte(), "Punkte: 1");
    EXPECT_DOUBLE_EQ(ZqK1_1D1.SpielerV, 1.0);
    // The next task is there at once, with a clean box and label.
    EXPECT_EQ(Zeile0(f->Paar1.Box), "");
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "");
    (void)Vorher;
    f->Paar1.Pruefen->Click(); // empty: costs nothing
    EXPECT_EQ(Punkte(), "Punkte: 1");
    Antworten(QString::number(ZqK1_1D1.Ergebnis + 1));
    EXPECT_EQ(Punkte(), "Punkte: 0");
    // A push of 1 dies away by 0.99 a tick.
    f->Timer1Timer(f->Timer1);
    EXPECT_DOUBLE_EQ(ZqK1_1D1.SpielerX, 1.0);
    EXPECT_DOUBLE_EQ(ZqK1_1D1.SpielerV, 0.99);
    Bildschirmfoto(f.get(), "TZqK1_1D1_Rennen");
}

TEST_F(Race, OperatorKeysAreIgnoredInTheAnswerBox) {
    f->B_NeueAufgabe->Click();
    TypeText(f->Paar1.Box, "1+2-3*4");
    EXPECT_EQ(Zeile0(f->Paar1.Box), "1234");
}

TEST_F(Race, SubtractionsNeverGoBelowZero) {
    f->RadioWas->SetItemIndex(1);
    for (int Bereich = 0; Bereich < 3; ++Bereich) {
        f->RadioBereich->SetItemIndex(Bereich);
        for (int i = 0; i < 200; ++i) {
            f->RadioWasClick(f->RadioWas);
            ASSERT_GE(ZqK1_1D1.Ergebnis, 0) << Bereich;
        }
    }
    // The free range with a below b: the difference is taken the other way round.
    f->RadioBereich->SetItemIndex(3);
    EXPECT_TRUE(f->Panel2->Visible());
    const char* Werte[4] = {"0", "3", "7", "9"};
    for (int i = 0; i < 4; ++i) {
        f->Grenze[i]->Clear();
        TypeText(f->Grenze[i], QString::fromLatin1(Werte[i]));
    }
    EXPECT_EQ(ZqK1_1D1.bVon, 7);
    bool MinusGesehen = false;
    for (int i = 0; i < 100; ++i) {
        f->RadioWasClick(f->RadioWas);
        ASSERT_GE(ZqK1_1D1.Ergebnis, 0);
        MinusGesehen = MinusGesehen || f->Label4->Caption() == "-";
    }
    EXPECT_TRUE(MinusGesehen);
    EXPECT_EQ(f->Label6->Caption(), "±");
}

TEST_F(Race, FreeBoundsTakeOnlyFiniteValuesWithinTheRange) {
    f->RadioBereich->SetItemIndex(3);
    EXPECT_FALSE(f->Timer1->Enabled());
    TRichEdit* Bis = f->Grenze[1];
    Bis->Clear();
    TypeText(Bis, "2*3");
    EXPECT_EQ(Zeile0(Bis), "6");
    EXPECT_EQ(ZqK1_1D1.aBis, 6);
    // No value: the text stays and the bound is kept.
    // 10^200 * 10^200 is beyond every double.
    const QString Riesig = QStringLiteral("1") + QString(200, QLatin1Char('0'));
    for (const QString& Text : {QStringLiteral("1/0"), QStringLiteral("5+"), QStringLiteral("(7"),
                                QStringLiteral("a"), Riesig + QStringLiteral("*") + Riesig}) {
        Grenzeingabe(Bis, Text);
        EXPECT_EQ(ZqK1_1D1.aBis, 6) << Text.toStdString();
    }
    EXPECT_EQ(Zeile0(Bis).left(3), "100");
    Grenzeingabe(Bis, "1000000000");
    EXPECT_EQ(ZqK1_1D1.aBis, 99999);
    EXPECT_EQ(Zeile0(Bis), "99999");
    Grenzeingabe(f->Grenze[0], "0-5");
    EXPECT_EQ(ZqK1_1D1.aVon, 0);
    // Products of the largest bounds stay exact.
    for (TRichEdit* g : {f->Grenze[0], f->Grenze[2], f->Grenze[3]})
        Grenzeingabe(g, "99999");
    f->RadioWas->SetItemIndex(2);
    EXPECT_EQ(ZqK1_1D1.Ergebnis, 99999LL * 99999LL);
    EXPECT_EQ(f->PanelZ1->Caption(), "99999");
}

TEST_F(Race, TypingABoundStopsTheRaceAndClosingStopsTheTimer) {
    f->B_NeueAufgabe->Click();
    EXPECT_TRUE(f->Timer1->Enabled());
    TypeText(f->Grenze[0], "1");
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_TRUE(f->B_NeueAufgabe->Enabled());
    EXPECT_FALSE(f->Paar1.Box->Enabled());
    f->B_NeueAufgabe->Click();
    EXPECT_TRUE(f->Timer1->Enabled());
    f->Close();
    ProcessEvents();
    EXPECT_FALSE(f->Timer1->Enabled());
}

TEST_F(Race, ReopeningWaitsForStartAgain) {
    f->B_NeueAufgabe->Click();
    Antworten(QString::number(ZqK1_1D1.Ergebnis));
    for (int i = 0; i < 5; ++i)
        f->Timer1Timer(f->Timer1);
    EXPECT_EQ(Punkte(), "Punkte: 1");
    f.Wiederoeffnen();
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_TRUE(f->B_NeueAufgabe->Enabled());
    EXPECT_FALSE(f->Paar1.Box->Enabled());
    EXPECT_TRUE(f->Panel3->Visible());
    EXPECT_EQ(Punkte(), "Punkte: 0");
    EXPECT_DOUBLE_EQ(ZqK1_1D1.SpielerX, 0);
    EXPECT_DOUBLE_EQ(ZqK1_1D1.ComputerX, 0);
    EXPECT_DOUBLE_EQ(ZqK1_1D1.SpielerV, 0);
}

} // namespace
