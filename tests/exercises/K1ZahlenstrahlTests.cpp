#include "K1TestHelfer.h"

#include "exercises/chapter1/UZahlenstrahl.h"
#include "exercises/chapter1/UZqK1_1A1.h"
#include "exercises/chapter1/UZqK1_1A2.h"
#include "platform/Keys.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

// Makes new tasks until one of the wanted kind comes up.
template <class T> void AufgabeDerArt(OffeneForm<T>& f, bool Ablesen) {
    for (int i = 0; i < 50 && f->Zustand().Ablesen != Ablesen; ++i)
        f->B_NeueAufgabe->Click();
    ASSERT_EQ(f->Zustand().Ablesen, Ablesen);
}

TEST(NumberLine, StartsWithATaskAndCountersAtZero) {
    OffeneForm<TZqK1_1A1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.1   Übung 1");
    EXPECT_EQ(f->Label1->Caption(), "Eintragen oder Ablesen von Zahlen bis 100 000 auf dem Zahlenstrahl");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "0");
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "0");
    EXPECT_EQ(f->Zustand().T % 1000, 0);
    EXPECT_LE(f->Zustand().T, 100000);
    EXPECT_EQ(f->Zustand().P, 50000);
    EXPECT_EQ(f->PageControl1->ActivePage(), f->Zustand().Ablesen ? f->TabSheet1 : f->TabSheet2);
}

TEST(NumberLine, MouseClicksSnapToTheTicksAndClampToTheLine) {
    OffeneForm<TZqK1_1A1> f;
    const struct {
        int x;
        long long P;
    } Faelle[] = {{13, 0}, {14, 1000}, {3, 0}, {710, 100000}, {776, 100000}, {360, 50000}, {80, 10000}};
    for (const auto& F : Faelle) {
        MausBei(f->Image1, F.x, 100);
        EXPECT_EQ(f->Zustand().P, F.P) << F.x;
    }
    EXPECT_EQ(ZahlenstrahlX(0, 1000), 10);
    EXPECT_EQ(ZahlenstrahlX(100000, 1000), 710);
    EXPECT_EQ(ZahlenstrahlX(1000000, 10000), 710);
}

TEST(NumberLine, StepButtonsStayOnTheLine) {
    OffeneForm<TZqK1_1A1> f;
    MausBei(f->Image1, 710, 100);
    f->BitBtnP10->Click();
    f->BitBtnP100->Click();
    EXPECT_EQ(f->Zustand().P, 100000);
    f->BitBtnM10->Click();
    EXPECT_EQ(f->Zustand().P, 99000);
    f->BitBtnP100->Click(); // 109 000 would leave the line
    EXPECT_EQ(f->Zustand().P, 99000);
    f->BitBtnP10->Click();
    EXPECT_EQ(f->Zustand().P, 100000);
    MausBei(f->Image1, 10, 100);
    f->BitBtnM10->Click();
    f->BitBtnM100->Click();
    EXPECT_EQ(f->Zustand().P, 0);
    f->BitBtnP100->Click();
    f->BitBtnM10->Click();
    EXPECT_EQ(f->Zustand().P, 9000);
    f->BitBtnM100->Click(); // 9 000 is less than one big step
    EXPECT_EQ(f->Zustand().P, 9000);
    EXPECT_EQ(f->BitBtnM100->Caption(), "-10 000");
    EXPECT_EQ(f->BitBtnP10->Caption(), "+1 000");
}

TEST(NumberLine, PlacingCountsEveryWrongAttemptUntilTheRightOne) {
    OffeneForm<TZqK1_1A1> f;
    AufgabeDerArt(f, false);
    const long long T = f->Zustand().T;
    EXPECT_EQ(f->Label4->Caption(), QStringLiteral("Trage die Zahl ") + Gruppiert(T) +
                                        QStringLiteral(" auf dem Zahlenstrahl ein."));
    // Wrong to the right of the target, then to the left (or twice on the one
    // side the line leaves).
    const long long Falsch1 = T < 100000 ? T + 1000 : T - 1000;
    const long long Falsch2 = T > 0 ? T - 1000 : T + 2000;
    MausBei(f->Image1, ZahlenstrahlX(Falsch1, 1000), 100);
    f->BitBtn3->Click();
    EXPECT_EQ(f->LabelP2->Font()->Color(), RGB(255, 0, 0));
    if (Falsch1 > T) {
        EXPECT_EQ(f->LabelP2->Caption(), "Die Zahl liegt weiter links auf dem Zahlenstrahl.");
        EXPECT_EQ(f->LabelP3->Caption(), Gruppiert(T) + " < " + Gruppiert(Falsch1));
    }
    MausBei(f->Image1, ZahlenstrahlX(Falsch2, 1000), 100);
    EXPECT_EQ(f->LabelP2->Caption(), ""); // moving clears the verdict
    f->BitBtn3->Click();
    if (Falsch2 < T) {
        EXPECT_EQ(f->LabelP2->Caption(), "Die Zahl liegt weiter rechts auf dem Zahlenstrahl.");
        EXPECT_EQ(f->LabelP3->Caption(), Gruppiert(T) + " > " + Gruppiert(Falsch2));
    }
    MausBei(f->Image1, ZahlenstrahlX(T, 1000), 100);
    f->BitBtn3->Click();
    EXPECT_EQ(f->LabelP2->Caption(), "Klasse, du hast die Zahl richtig eingetragen.");
    EXPECT_EQ(f->LabelP2->Font()->Color(), RGB(0, 255, 0));
    f->BitBtn3->Click();
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "2");
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
    Bildschirmfoto(f.get(), "TZqK1_1A1_Eintragen");
}

TEST(NumberLine, ReadingEnterAndButtonGiveTheSameVerdictAndCounting) {
    OffeneForm<TZqK1_1A1> f;
    AufgabeDerArt(f, true);
    const long long T = f->Zustand().T;
    // Empty: the check's own message, nothing counted.
    f->Paar1.Pruefen->Click();
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "0");
    EXPECT_FALSE(f->Paar1.Urteil->Caption().isEmpty());
    const QString Falsch = QString::number(T + 1);
    TypeText(f->Paar1.Box, Falsch);
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Paar1.Box->Lines()->Count(), 1);
    EXPECT_EQ(Zeile0(f->Paar1.Box), Falsch);
    const QString UrteilEnter = f->Paar1.Urteil->Caption();
    const TColor FarbeEnter = f->Paar1.Urteil->Font()->Color();
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "1");
    f->Paar1.Pruefen->Click();
    EXPECT_EQ(f->Paar1.Urteil->Caption(), UrteilEnter);
    EXPECT_EQ(f->Paar1.Urteil->Font()->Color(), FarbeEnter);
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "2");

    f->Paar1.Box->Clear();
    TypeText(f->Paar1.Box, QString::number(T));
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
    f->Paar1.Pruefen->Click();
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "2");
    Bildschirmfoto(f.get(), "TZqK1_1A1_Ablesen");

    // A new task clears the pair.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Zeile0(f->Paar1.Box), "");
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "");
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), clBlack);
}

TEST(NumberLine, KeysTypedOnThePlacingPageNeverReachTheReadingBox) {
    OffeneForm<TZqK1_1A1> f;
    AufgabeDerArt(f, true);
    EXPECT_EQ(KeyboardTarget(), f->Paar1.Box->Widget());
    AufgabeDerArt(f, false);
    // The placing task cannot give the hidden box the focus; what the pupil
    // types is neither checked nor counted there.
    EXPECT_NE(KeyboardTarget(), f->Paar1.Box->Widget());
    TypeAtFocus(QString::number(f->Zustand().T));
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(Zeile0(f->Paar1.Box), "");
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "");
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "0");
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "0");
    // A reading task again: the answer typed key by key is checked and counted.
    AufgabeDerArt(f, true);
    TypeAtFocus(QString::number(f->Zustand().T));
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Punkte.LabelR->Caption(), "1");
}

TEST(NumberLine, ReopeningStartsFromScratch) {
    OffeneForm<TZqK1_1A1> f;
    AufgabeDerArt(f, true);
    TypeText(f->Paar1.Box, "abc");
    f->Paar1.Pruefen->Click();
    EXPECT_NE(f->Zustand().falsch, 0);
    f.Wiederoeffnen();
    EXPECT_EQ(f->Zustand().falsch, 0);
    EXPECT_EQ(f->Zustand().richtig, 0);
    EXPECT_EQ(f->Punkte.LabelF->Caption(), "0");
    EXPECT_EQ(f->Zustand().P, 50000);
}

TEST(NumberLine, TheMillionLineUsesStepsOfTenThousand) {
    OffeneForm<TZqK1_1A2> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.1   Übung 2");
    EXPECT_EQ(f->Zustand().P, 500000);
    EXPECT_EQ(f->Zustand().T % 10000, 0);
    MausBei(f->Image1, 14, 100);
    EXPECT_EQ(f->Zustand().P, 10000);
    f->BitBtnP100->Click();
    EXPECT_EQ(f->Zustand().P, 110000);
    MausBei(f->Image1, 709, 100);
    f->BitBtnP100->Click();
    EXPECT_EQ(f->Zustand().P, 1000000);
    EXPECT_EQ(f->BitBtnP100->Caption(), "+100 000");
    Bildschirmfoto(f.get(), "TZqK1_1A2");
}

} // namespace
