#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3D1.h"
#include "exercises/chapter1/UZqK1_3E1.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace K1Test;

void Eintippen(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

TEST(OneDigitLongForm, RandomTaskAndRows) {
    OffeneForm<TZqK1_3D1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 4");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Multiplizieren mit einer einstelligen Zahl");
    const TEinstelligZustand& Z = ZqK1_3D1;
    EXPECT_GE(Z.a, 10);
    EXPECT_LE(Z.a, 998);
    EXPECT_GE(Z.m, 2);
    EXPECT_LE(Z.m, 9);
    EXPECT_EQ(Z.p5, Z.a * Z.m);
    EXPECT_TRUE(f->CheckBox1->Checked());
    EXPECT_FALSE(f->PanelHide->Visible());

    f->AufgabeMit(105, 3);
    EXPECT_EQ(f->Panel1->Caption(), "1");
    EXPECT_EQ(f->Panel2->Caption(), "0");
    EXPECT_EQ(f->Panel14->Caption(), "a) Rechne   5 · 3");
    EXPECT_EQ(f->Panel15->Caption(), "b) Rechne   0 · 3");
    EXPECT_EQ(f->Panel21->Caption(), "d) Rechne   100 · 3");
    EXPECT_EQ((std::array{Z.p1, Z.p2, Z.p3, Z.p4, Z.p5}), (std::array{15, 0, 15, 300, 315}));
    EXPECT_TRUE(f->RichEdit[13]->Visible() && f->Panel26->Visible() && f->Label3->Visible());
    EXPECT_EQ(f->Label7->Top(), 394);
    // Row b) stays empty; zeros elsewhere may be left out as well.
    const std::pair<int, const char*> Eingaben[] = {{1, "5"},  {2, "1"},  {6, "5"},  {7, "1"},
                                                    {11, "3"}, {16, "5"}, {15, "1"}, {14, "3"}};
    for (const auto& [n, t] : Eingaben)
        TypeText(f->RichEdit[n], t);
    PressEnter(f->RichEdit[14]);
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->RichEdit[1]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->RichEdit[3]->Color(), clWhite);
    // A written zero is checked too; a wrong digit fails the task.
    TypeText(f->RichEdit[3], "0");
    Eintippen(f->RichEdit[15], "2");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->RichEdit[3]->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->RichEdit[15]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(255, 0, 0));
}

TEST(OneDigitLongForm, TwoDigitFactorHidesLowerRows) {
    OffeneForm<TZqK1_3D1> f;
    f->AufgabeMit(10, 2);
    EXPECT_EQ(f->Panel1->Caption(), "");
    for (int n = 9; n <= 16; ++n)
        EXPECT_FALSE(f->RichEdit[n]->Visible()) << n;
    EXPECT_FALSE(f->Panel21->Visible() || f->Panel26->Visible() || f->Ergebnis[4]->Visible() ||
                 f->Shape3->Visible() || f->Label3->Visible());
    EXPECT_EQ(f->Label6->Top(), 274);
    f->Ergebnis[1]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[1]), "0");
    EXPECT_EQ(Zeile0(f->RichEdit[2]), "");
    f->Ergebnis[2]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[3]), "0");
    EXPECT_EQ(Zeile0(f->RichEdit[4]), "2");
    EXPECT_EQ(Zeile0(f->RichEdit[5]), "");
    f->Ergebnis[3]->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
}

TEST(OneDigitLongForm, LargestProductAndCover) {
    OffeneForm<TZqK1_3D1> f;
    f->AufgabeMit(998, 9);
    for (int r = 1; r <= 5; ++r)
        f->Ergebnis[r]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[13]), "8");
    EXPECT_EQ(Zeile0(f->RichEdit[14]), "9");
    EXPECT_EQ(Zeile0(f->RichEdit[15]), "8");
    EXPECT_EQ(Zeile0(f->RichEdit[16]), "2");
    EXPECT_EQ(Zeile0(f->RichEdit[12]), "8");
    EXPECT_EQ(Zeile0(f->RichEdit[11]), "1");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    Bildschirmfoto(f.get(), "TZqK1_3D1");

    // Unticking covers the help and keeps numbers and entries.
    f->CheckBox1->SetChecked(false);
    EXPECT_TRUE(f->PanelHide->Visible());
    EXPECT_EQ(f->PanelHide->Height(), 361);
    EXPECT_EQ(ZqK1_3D1.a, 998);
    EXPECT_EQ(Zeile0(f->RichEdit[13]), "8");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    f->B_NeueAufgabe->Click();
    EXPECT_TRUE(f->PanelHide->Visible());
    EXPECT_EQ(Zeile0(f->RichEdit[13]), "");
    EXPECT_EQ(f->RichEdit[13]->Color(), clWhite);
    f->CheckBox1->SetChecked(true);
    EXPECT_FALSE(f->PanelHide->Visible());
}

TEST(OneDigitShortForm, HelpTextsAndSteps) {
    OffeneForm<TZqK1_3E1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 5");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Multiplizieren mit einer einstelligen Zahl ( Kurzform )");
    for (int s = 1; s <= 3; ++s)
        EXPECT_FALSE(f->HilfePanel[s]->Visible() || f->Ergebnis[s]->Visible()) << s;

    f->AufgabeMit(998, 9);
    EXPECT_EQ(f->Label11->Caption(), "Rechne 8 · 9 = 72");
    EXPECT_EQ(f->Label12->Caption(), "Schreibe 2, merke 7 .");
    EXPECT_EQ(f->Label13->Caption(), "Rechne 9 · 9 + 7 = 88");
    EXPECT_EQ(f->Label14->Caption(), "Schreibe 8, merke 8 .");
    EXPECT_EQ(f->Label15->Caption(), "Rechne 9 · 9 + 8 = 89");
    EXPECT_EQ(f->Label16->Caption(), "Schreibe 89 .");
    EXPECT_TRUE(f->HilfeKnopf[3]->Visible());
    for (int s = 1; s <= 3; ++s) {
        f->HilfeKnopf[s]->Click();
        EXPECT_TRUE(f->HilfePanel[s]->Visible() && f->Ergebnis[s]->Visible()) << s;
        f->Ergebnis[s]->Click();
    }
    EXPECT_EQ(Zeile0(f->RichEdit[4]) + Zeile0(f->RichEdit[3]) + Zeile0(f->RichEdit[2]) +
                  Zeile0(f->RichEdit[1]),
              "8982");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    Bildschirmfoto(f.get(), "TZqK1_3E1");

    f->AufgabeMit(12, 3);
    EXPECT_EQ(f->Panel1->Caption(), "");
    EXPECT_EQ(f->Label12->Caption(), "Schreibe 6 .");
    EXPECT_EQ(f->Label13->Caption(), "Rechne 1 · 3 = 3");
    EXPECT_EQ(f->Label14->Caption(), "Schreibe 3 .");
    EXPECT_FALSE(f->HilfeKnopf[3]->Visible());
    EXPECT_FALSE(f->HilfePanel[1]->Visible());
}

TEST(OneDigitShortForm, TwoDigitRestAndLeadingZeros) {
    OffeneForm<TZqK1_3E1> f;
    f->AufgabeMit(99, 9);
    EXPECT_EQ(f->Label13->Caption(), "Rechne 9 · 9 + 8 = 89");
    EXPECT_EQ(f->Label14->Caption(), "Schreibe 89 .");
    f->HilfeKnopf[2]->Click();
    f->Ergebnis[2]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[2]), "9");
    EXPECT_EQ(Zeile0(f->RichEdit[3]), "8");
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch."); // ones still missing
    EXPECT_EQ(f->RichEdit[1]->Color(), RGB(255, 0, 0));
    TypeText(f->RichEdit[1], "1");
    PressEnter(f->RichEdit[1]);
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->RichEdit[4]->Color(), clWhite);

    // Inner zeros must be written; only leading ones may stay empty.
    f->AufgabeMit(501, 2);
    TypeText(f->RichEdit[1], "2");
    TypeText(f->RichEdit[4], "1");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->RichEdit[2]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->RichEdit[3]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    TypeText(f->RichEdit[2], "0");
    TypeText(f->RichEdit[3], "0");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    // An empty ones box is wrong even when its digit is 0.
    f->AufgabeMit(10, 2);
    TypeText(f->RichEdit[2], "2");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->RichEdit[1]->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
}

} // namespace
