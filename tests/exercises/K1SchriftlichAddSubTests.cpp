#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3A1.h"
#include "exercises/chapter1/UZqK1_3B1.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace K1Test;

const QString Hinweis = QStringLiteral("Übertrag") + QChar(13) + QStringLiteral("beachten");

void Eintippen(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

TEST(WrittenColumns, DigitsCarriesAndForgottenCarry) {
    const TZiffern d = Ziffern(1998);
    EXPECT_EQ(d.t, 1);
    EXPECT_EQ(d.h, 9);
    EXPECT_EQ(d.z, 9);
    EXPECT_EQ(d.e, 8);

    TSpaltenZustand Z{999, 999};
    SpaltenRechnen(Z, false);
    EXPECT_EQ((std::array{Z.r1, Z.r2, Z.r3, Z.r4, Z.c1, Z.c2, Z.c3}), (std::array{8, 9, 9, 1, 1, 1, 1}));
    Z = {55, 45};
    SpaltenRechnen(Z, false);
    EXPECT_EQ((std::array{Z.r1, Z.r2, Z.r3, Z.r4, Z.c1, Z.c2, Z.c3}), (std::array{0, 0, 1, 0, 1, 1, 0}));
    Z = {413, 17};
    SpaltenRechnen(Z, true);
    EXPECT_EQ((std::array{Z.r1, Z.r2, Z.r3, Z.r4, Z.c1, Z.c2, Z.c3}), (std::array{6, 9, 3, 0, 1, 1, 0}));
    Z = {100, 99};
    SpaltenRechnen(Z, true);
    EXPECT_EQ((std::array{Z.r1, Z.r2, Z.r3, Z.r4, Z.c1, Z.c2, Z.c3}), (std::array{1, 0, 0, 0, 1, 1, 0}));

    EXPECT_EQ(OhneUebertrag(0, false), 9);
    EXPECT_EQ(OhneUebertrag(9, false), 8);
    EXPECT_EQ(OhneUebertrag(9, true), 0);
    EXPECT_EQ(OhneUebertrag(3, true), 4);
}

// The pupil starts with the ones digit: what is typed as soon as a task
// shows lands in the ones box, after "Neue Aufgabe" as well.
template <class T> void OnesBoxTakesTheFirstKeys() {
    OffeneForm<T> f;
    TypeAtFocus(QStringLiteral("7"));
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "7");
    MouseClick(f->B_NeueAufgabe);
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "");
    TypeAtFocus(QStringLiteral("3"));
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "3");
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(Zeile0(f->RichEdit[i]), "");
}

TEST(WrittenColumns, TheOnesBoxTakesTheDigitsTypedAtOnce) {
    OnesBoxTakesTheFirstKeys<TZqK1_3A1>();
    OnesBoxTakesTheFirstKeys<TZqK1_3B1>();
}

TEST(WrittenAddition, RandomTaskAndItsDisplay) {
    OffeneForm<TZqK1_3A1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 1");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Addieren");
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    const TSpaltenZustand& Z = ZqK1_3A1;
    EXPECT_GE(Z.a, 11);
    EXPECT_LE(Z.a, 999);
    EXPECT_GE(Z.b, 11);
    EXPECT_LE(Z.b, 999);
    EXPECT_EQ(Z.r1 + 10 * Z.r2 + 100 * Z.r3 + 1000 * Z.r4, Z.a + Z.b);
    EXPECT_EQ(f->Label2->Caption(), "+");

    f->AufgabeZeigen(507, 40);
    EXPECT_EQ(f->Panel[1]->Caption(), "7");
    EXPECT_EQ(f->Panel[2]->Caption(), "0");
    EXPECT_EQ(f->Panel[3]->Caption(), "5");
    EXPECT_EQ(f->Panel[4]->Caption(), "");
    EXPECT_EQ(f->Panel[5]->Caption(), "0");
    EXPECT_EQ(f->Panel[6]->Caption(), "4");
    EXPECT_EQ(f->Panel[7]->Caption(), "");
    EXPECT_TRUE(f->BitBtnErgebnis->Visible());
    EXPECT_FALSE(f->BitBtn3->Visible());
    EXPECT_FALSE(f->Panel9->Visible());
}

TEST(WrittenAddition, HelpTexts) {
    OffeneForm<TZqK1_3A1> f;
    f->AufgabeZeigen(57, 68);
    EXPECT_EQ(f->Label4->Caption(), "Rechne 7 + 8 = 15");
    EXPECT_TRUE(f->Label9->Visible());
    EXPECT_EQ(f->Label9->Caption(), "15 = 10 + 5, d.h. Zehner = 1, Einer = 5");
    EXPECT_EQ(f->Label10->Caption(), "Daher ergibt sich für die Zehnerstelle der Übertrag 1.");
    EXPECT_EQ(f->Label11->Caption(), "Rechne 5 + 6 + 1 = 12 ( +1 wegen Übertrag )");
    EXPECT_TRUE(f->Label12->Visible());
    EXPECT_EQ(f->Label12->Caption(), "12 = 10 + 2, d.h. Hunderter = 1, Zehner = 2");
    EXPECT_EQ(f->Label13->Caption(), "Daher ergibt sich für die Hunderterstelle");
    EXPECT_EQ(f->LabelLetzte->Name(), "Label14");
    EXPECT_EQ(f->LabelLetzte->Caption(), "der Übertrag 1.");
    f->AufgabeZeigen(21, 34);
    EXPECT_EQ(f->Label4->Caption(), "Rechne 1 + 4 = 5");
    EXPECT_FALSE(f->Label9->Visible());
    EXPECT_FALSE(f->Label10->Visible());
    EXPECT_EQ(f->Label11->Caption(), "Rechne 2 + 3 = 5");
    EXPECT_FALSE(f->Label12->Visible() || f->Label13->Visible() || f->LabelLetzte->Visible());
}

TEST(WrittenAddition, NoCarryLeavesUpperBoxesFree) {
    OffeneForm<TZqK1_3A1> f;
    f->AufgabeZeigen(11, 11);
    TypeText(f->RichEdit[1], "2");
    TypeText(f->RichEdit[2], "2");
    PressEnter(f->RichEdit[2]);
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->LabelZ[1]->Caption(), "richtig");
    EXPECT_EQ(f->LabelZ[1]->Font()->Color(), RGB(0, 255, 0));
    // Empty boxes: no text, but the colour of the failed comparison stays.
    EXPECT_EQ(f->LabelZ[3]->Caption(), "");
    EXPECT_EQ(f->LabelZ[3]->Font()->Color(), RGB(255, 0, 0));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(f->RichEditRest[i]->Color(), clWhite) << i;
    EXPECT_EQ(Zeile0(f->RichEdit[2]), "2");
    EXPECT_EQ(f->RichEdit[2]->Lines()->Count(), 1);

    // A carry where none belongs is wrong; a 0 there is right.
    TypeText(f->RichEditRest[1], "1");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->RichEditRest[1]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 0, 0));
    Eintippen(f->RichEditRest[1], "0");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->RichEditRest[1]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
}

TEST(WrittenAddition, CarriesIntoEveryColumn) {
    OffeneForm<TZqK1_3A1> f;
    f->AufgabeZeigen(999, 999);
    TypeText(f->RichEdit[1], "8");
    TypeText(f->RichEdit[2], "8");
    TypeText(f->RichEdit[3], "9");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelZ[2]->Caption(), Hinweis);
    EXPECT_EQ(f->LabelZ[2]->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelZ[3]->Caption(), "richtig");
    EXPECT_EQ(f->LabelZ[4]->Caption(), "");
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    // Empty carry boxes turn red where a carry belongs, yet do not fail the task.
    Eintippen(f->RichEdit[2], "9");
    TypeText(f->RichEdit[4], "1");
    f->BitBtnP1->Click();
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(f->RichEditRest[i]->Color(), RGB(255, 0, 0)) << i;
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    // Leaving the thousands box empty is wrong here; a 0 forgets the carry.
    f->RichEdit[4]->Clear();
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    TypeText(f->RichEdit[4], "0");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelZ[4]->Caption(), Hinweis);
    // A wrong digit without a near miss.
    Eintippen(f->RichEdit[1], "5");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelZ[1]->Caption(), "falsch");
}

TEST(WrittenAddition, ZeroAfterCarryAndTheSolutionButtons) {
    OffeneForm<TZqK1_3A1> f;
    f->AufgabeZeigen(55, 45);
    TypeText(f->RichEdit[2], "9");
    PressEnter(f->RichEdit[2]);
    EXPECT_EQ(f->LabelZ[2]->Caption(), Hinweis);

    f->BitBtnErgebnis->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "0");
    EXPECT_EQ(Zeile0(f->RichEditRest[1]), "1");
    EXPECT_EQ(f->RichEditRest[1]->Color(), RGB(0, 200, 0));
    EXPECT_TRUE(f->Panel9->Visible());
    EXPECT_TRUE(f->BitBtn3->Visible());
    f->BitBtn3->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[2]), "0");
    EXPECT_EQ(Zeile0(f->RichEditRest[2]), "1");
    EXPECT_TRUE(f->Panel10->Visible());
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch."); // hundreds still missing
    TypeText(f->RichEdit[3], "1");
    PressEnter(f->RichEdit[3]);
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");

    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(f->Panel9->Visible() || f->Panel10->Visible() || f->BitBtn3->Visible());
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Zeile0(f->RichEdit[i]), "") << i;
        EXPECT_EQ(f->RichEdit[i]->Color(), clWhite) << i;
        EXPECT_EQ(f->LabelZ[i]->Caption(), "") << i;
    }
    EXPECT_EQ(f->RichEditRest[1]->Color(), clWhite);
    EXPECT_EQ(f->LabelP1->Caption(), "");
}

TEST(WrittenSubtraction, RandomTaskHelpAndTip) {
    OffeneForm<TZqK1_3B1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 2");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Subtrahieren");
    EXPECT_EQ(f->Label2->Caption(), "-");
    EXPECT_GT(ZqK1_3B1.a, ZqK1_3B1.b);
    EXPECT_GE(ZqK1_3B1.b, 11);
    EXPECT_LE(ZqK1_3B1.a, 999);

    f->AufgabeZeigen(413, 17);
    EXPECT_EQ(f->Label4->Caption(), "Hole dir 10 weitere Einer von der Zehnerstelle.");
    EXPECT_EQ(f->Label9->Caption(), "3 + 10 - 7 = 6");
    EXPECT_EQ(f->Label10->Caption(), "Für die Zehnerstelle ergibt sich der Übertrag 1.");
    EXPECT_EQ(f->Label11->Caption(), "Hole dir 10 weitere Zehner von der Hunderterstelle.");
    EXPECT_EQ(f->Label12->Caption(), "1 + 10 - 1 - 1 = 9 ( -1 wegen Übertrag )");
    EXPECT_EQ(f->Label13->Caption(), "Für die Hunderterstelle ergibt sich");
    EXPECT_EQ(f->LabelLetzte->Name(), "Label19");
    const char* A[5] = {"", "6", "9", "3", ""};
    const char* B[5] = {"", "7", "1", "", ""};
    const char* C[5] = {"", "3", "1", "4", ""};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(f->PanelA[i]->Caption(), A[i]) << i;
        EXPECT_EQ(f->PanelB[i]->Caption(), B[i]) << i;
        EXPECT_EQ(f->PanelC[i]->Caption(), C[i]) << i;
    }
    EXPECT_EQ(f->LU[1]->Caption(), "1");
    EXPECT_EQ(f->LU[2]->Caption(), "1");
    EXPECT_EQ(f->LU[3]->Caption(), "");

    f->AufgabeZeigen(87, 52);
    EXPECT_EQ(f->Label4->Caption(), "Rechne 7 - 2 = 5");
    EXPECT_FALSE(f->Label9->Visible());
    EXPECT_EQ(f->Label11->Caption(), "Rechne 8 - 5 = 3");
    EXPECT_FALSE(f->Label12->Visible());
    f->AufgabeZeigen(82, 57);
    EXPECT_EQ(f->Label11->Caption(), "Rechne 8 - 5 - 1 = 2 ( -1 wegen Übertrag )");
    f->AufgabeZeigen(325, 41);
    EXPECT_EQ(f->Label12->Caption(), "2 + 10 - 4 = 8");
}

TEST(WrittenSubtraction, BorrowHintAndTipAfterAllRight) {
    OffeneForm<TZqK1_3B1> f;
    f->AufgabeZeigen(413, 17);
    TypeText(f->RichEdit[1], "6");
    TypeText(f->RichEdit[2], "0");
    TypeText(f->RichEdit[3], "3");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelZ[2]->Caption(), Hinweis);
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_FALSE(f->Panel11->Visible());
    Eintippen(f->RichEdit[2], "9");
    TypeText(f->RichEditRest[1], "1");
    TypeText(f->RichEditRest[2], "1");
    PressEnter(f->RichEditRest[2]);
    EXPECT_EQ(f->RichEditRest[2]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_TRUE(f->Panel11->Visible());
    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(f->Panel11->Visible());
}

TEST(WrittenSubtraction, SmallDifferenceAndItsButtons) {
    OffeneForm<TZqK1_3B1> f;
    f->AufgabeZeigen(100, 99);
    f->BitBtnErgebnis->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "1");
    EXPECT_EQ(Zeile0(f->RichEditRest[1]), "1");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_TRUE(f->Panel9->Visible());
    EXPECT_FALSE(f->BitBtn3->Visible());

    f->AufgabeZeigen(523, 478);
    f->BitBtnErgebnis->Click();
    EXPECT_TRUE(f->BitBtn3->Visible());
    f->BitBtn3->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[2]), "4");
    EXPECT_EQ(Zeile0(f->RichEditRest[2]), "1");
    EXPECT_FALSE(f->BitBtn4->Visible());
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");

    f->AufgabeZeigen(900, 11);
    f->BitBtnErgebnis->Click();
    f->BitBtn3->Click();
    EXPECT_TRUE(f->BitBtn4->Visible());
    f->BitBtn4->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[3]), "8");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    Bildschirmfoto(f.get(), "TZqK1_3B1");
}

TEST(WrittenSubtraction, OtherSendersCheckNothing) {
    OffeneForm<TZqK1_3B1> f;
    f->Pruefen(f->BitBtn3);
    f->Pruefen(nullptr);
    EXPECT_EQ(f->LabelP1->Caption(), "");
    f->Pruefen(f->RichEditRest[3]);
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
}

} // namespace
