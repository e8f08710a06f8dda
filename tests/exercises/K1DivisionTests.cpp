#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_3G1.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace K1Test;

constexpr TColor Gruen = RGB(0, 200, 0);
constexpr TColor Rot = RGB(255, 0, 0);

TEST(LongDivision, SchemeOfAFourDigitQuotient) {
    TDivisionZustand Z;
    DivisionRechnen(Z, 1759, 5); // 8795 : 5
    EXPECT_EQ((std::array{Z.T, Z.H, Z.Z, Z.E}), (std::array{8, 7, 9, 5}));
    EXPECT_EQ((std::array{Z.q1, Z.p1, Z.r1, Z.q2, Z.p2t, Z.p2o, Z.r2}), (std::array{1, 5, 3, 7, 3, 5, 2}));
    EXPECT_EQ((std::array{Z.q3, Z.p3t, Z.p3o, Z.r3, Z.q4, Z.p4t, Z.p4o, Z.P}),
              (std::array{5, 2, 5, 4, 9, 4, 5, 8795}));
    const QStringList Hilfe = MultiplikationsHilfe(Z);
    EXPECT_EQ(Hilfe, (QStringList{"Rechne 9 · 5 = 45", "Schreibe 5, merke 4 .", "Rechne 5 · 5 + 4 = 29",
                                  "Schreibe 9, merke 2 .", "Rechne 7 · 5 + 2 = 37", "Schreibe 7, merke 3 .",
                                  "Rechne 1 · 5 + 3 = 8", "Schreibe 8 ."}));
    EXPECT_EQ((std::array{Z.c1, Z.c2, Z.c3}), (std::array{4, 2, 3}));
}

TEST(LongDivision, SchemeOfAThreeDigitQuotient) {
    TDivisionZustand Z;
    DivisionRechnen(Z, 617, 2); // 1234 : 2
    EXPECT_EQ((std::array{Z.q1, Z.p1, Z.r1, Z.q2, Z.p2t, Z.p2o, Z.r2}), (std::array{0, 0, 1, 6, 1, 2, 0}));
    EXPECT_EQ((std::array{Z.q3, Z.p3t, Z.p3o, Z.r3, Z.q4, Z.p4t, Z.p4o}), (std::array{1, 0, 2, 1, 7, 1, 4}));
    EXPECT_EQ(MultiplikationsHilfe(Z),
              (QStringList{"Rechne 7 · 2 = 14", "Schreibe 4, merke 1 .", "Rechne 1 · 2 + 1 = 3",
                           "Schreibe 3 .", "Rechne 6 · 2 = 12", "Schreibe 12 ."}));
    int t, h, z, e;
    ZiffernZerlegen(12345, t, h, z, e);
    EXPECT_EQ((std::array{t, h, z, e}), (std::array{12, 3, 4, 5}));
}

TEST(LongDivision, DrawnTasksStayInRangeAndEveryNumberOfTheSchemeFits) {
    OffeneForm<TZqK1_3G1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.3   Übung 7");
    EXPECT_EQ(f->Label1->Caption(), "Schriftliches Dividieren ohne Rest");
    for (int i = 0; i < 300; ++i) {
        f->NeueAufgabe();
        const TDivisionZustand& Z = ZqK1_3G1;
        const int D = Z.q * Z.d;
        ASSERT_TRUE(D >= 1000 && D <= 9999 && Z.q >= 112 && Z.d >= 2 && Z.d <= 9) << Z.q << " " << Z.d;
        ASSERT_EQ(Z.q1 * 1000 + Z.q2 * 100 + Z.q3 * 10 + Z.q4, Z.q);
        ASSERT_TRUE(Z.r1 < Z.d && Z.r2 < Z.d && Z.r3 < Z.d && Z.p1 <= 9);
        ASSERT_EQ(10 * Z.r3 + Z.E, Z.q4 * Z.d);
        ASSERT_EQ(f->RichEdit[18]->Visible(), Z.q1 != 0);
        ASSERT_EQ(f->BitBtn[18]->Visible(), Z.q >= 1000);
    }
}

TEST(LongDivision, HintsAndLayoutOfAFourDigitQuotient) {
    OffeneForm<TZqK1_3G1> f;
    f->AufgabeMit(1759, 5);
    EXPECT_EQ(f->Label5->Caption(),
              "Beginne mit der höchsten Stelle der Zahl, die geteilt werden soll, in diesem Fall die 8.");
    EXPECT_EQ(f->Panel6->Caption() + f->Panel7->Caption() + f->Panel8->Caption() + f->Panel9->Caption() +
                  f->Panel11->Caption(),
              "87955");
    const QStringList Erwartet = {
        "Überlege dir wie oft 5 in 8 hineinpasst und trage dein Ergebnis in das gelb umrandete Feld ein.",
        "Rechne 1 · 5 und trage dein Ergebnis hier ein.",
        "Rechne 8 - 5 und trage dein Ergebnis in das linke Feld ein.",
        "Hole die 7 herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt 5 in 37 ? Trage dein Ergebnis in das grün umrandete Feld ein.",
        "Rechne 7 · 5 und trage dein Ergebnis hier ein.",
        "Rechne 37 - 35 und trage dein Ergebnis in das linke Feld ein.",
        "Hole die 9 herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt 5 in 29 ? Trage dein Ergebnis in das blau umrandete Feld ein.",
        "Rechne 5 · 5 und trage dein Ergebnis hier ein.",
        "Eintrag linkes Feld: 29 - 25",
        "Hole die 5 herunter und trage sie in das rechte Feld ein.",
        "Wie oft passt 5 in 45 ? Trage dein Ergebnis in das rot umrandete Feld ein.",
        "Rechne 9 · 5 und trage dein Ergebnis hier ein."};
    for (int z = 1; z <= 14; ++z) {
        EXPECT_EQ(f->HinweisText[z]->Caption(), Erwartet[z - 1]) << z;
        EXPECT_FALSE(f->Hinweis[z]->Visible()) << z;
    }
    EXPECT_EQ(f->Panel30->Caption() + f->Panel1->Caption() + f->Panel2->Caption() + f->Panel3->Caption(),
              "1759");
    EXPECT_EQ(f->HilfeZeile[4][1]->Caption(), "Schreibe 8 .");
    EXPECT_TRUE(f->BitBtn[6]->Visible() && f->BitBtn[18]->Visible());
    EXPECT_FALSE(f->BitBtn[19]->Visible() || f->HilfePanel[4]->Visible() || f->PanelK1->Visible() ||
                 f->BitBtn[35]->Visible());
    EXPECT_EQ(f->RichEdit[21]->Left(), 571);
    EXPECT_EQ(f->RichEdit[17]->Top(), 480);
    f->BitBtn[25]->Click();
    EXPECT_TRUE(f->Hinweis[5]->Visible());
    EXPECT_FALSE(f->Hinweis[6]->Visible());
}

TEST(LongDivision, ThreeDigitLayoutAndBackAgain) {
    OffeneForm<TZqK1_3G1> f;
    f->AufgabeMit(617, 2);
    EXPECT_EQ(f->HinweisText[3]->Caption(), "Hole die 1 herunter und trage sie in das linke Feld ein.");
    EXPECT_FALSE(f->RichEdit[18]->Visible() || f->Shape[5]->Visible() || f->BitBtn[21]->Visible() ||
                 f->BitBtn[8]->Visible() || f->LabelPP[1]->Visible() || f->Shape[2]->Visible());
    EXPECT_EQ((std::array{f->RichEdit[19]->Left(), f->RichEdit[20]->Left(), f->RichEdit[21]->Left()}),
              (std::array{403, 459, 515}));
    EXPECT_EQ(f->Shape[8]->Left(), 512);
    EXPECT_EQ((std::array{f->RichEdit[6]->Left(), f->RichEdit[6]->Top()}), (std::array{7, 120}));
    EXPECT_EQ(f->RichEdit[17]->Top(), 416);
    EXPECT_EQ(f->BitBtn[34]->Top(), 441);
    EXPECT_EQ(f->Shape[4]->Top(), 352);
    EXPECT_EQ(f->Panel30->Caption(), "");
    EXPECT_FALSE(f->BitBtn[18]->Visible());
    // Three boxes right: the hidden first box does not spoil the verdict.
    TypeText(f->RichEdit[19], "6");
    TypeText(f->RichEdit[20], "1");
    TypeText(f->RichEdit[21], "7");
    PressEnter(f->RichEdit[21]);
    EXPECT_EQ(f->LabelPP[0]->Caption(), "richtig");
    EXPECT_TRUE(f->BitBtn[35]->Visible());
    // Ergebnis 3 writes the last, two-digit step: hundreds and thousands.
    f->BitBtn[35]->Click();
    EXPECT_TRUE(f->PanelK1->Visible());
    f->BitBtn[4]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[4]) + Zeile0(f->RichEdit[3]), "12");
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");

    // The next task puts every place back and clears every trace.
    f->AufgabeMit(1759, 5);
    EXPECT_TRUE(f->RichEdit[18]->Visible() && f->BitBtn[21]->Visible() && f->Shape[2]->Visible());
    EXPECT_EQ((std::array{f->RichEdit[19]->Left(), f->RichEdit[6]->Top(), f->Shape[4]->Top()}),
              (std::array{459, 184, 416}));
    EXPECT_EQ(f->HinweisText[3]->Caption(), "Rechne 8 - 5 und trage dein Ergebnis in das linke Feld ein.");
    for (int n = 1; n <= 21; ++n) {
        EXPECT_EQ(Zeile0(f->RichEdit[n]), "") << n;
        EXPECT_EQ(f->RichEdit[n]->Color(), clWhite) << n;
    }
    for (int z = 0; z <= 10; ++z)
        EXPECT_EQ(f->LabelPP[z]->Caption(), "") << z;
    EXPECT_FALSE(f->PanelK1->Visible() || f->BitBtn[35]->Visible());
    EXPECT_EQ(f->LabelP1->Caption(), "");
}

TEST(LongDivision, RowChecks) {
    OffeneForm<TZqK1_3G1> f;
    f->AufgabeMit(617, 2); // r2 = 0, p3 = 2
    // A difference of 0 may stay empty.
    f->BitBtn[12]->Click();
    EXPECT_EQ(f->LabelPP[5]->Caption(), "richtig");
    EXPECT_EQ(f->RichEdit[10]->Color(), Gruen);
    // One-digit partial product: empty tens box right and white, "0" right and green.
    TypeText(f->RichEdit[13], "2");
    PressEnter(f->RichEdit[13]);
    EXPECT_EQ(f->LabelPP[7]->Caption(), "richtig");
    EXPECT_EQ(f->LabelPP[7]->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->RichEdit[12]->Color(), clWhite);
    EXPECT_EQ(f->RichEdit[13]->Color(), Gruen);
    TypeText(f->RichEdit[12], "0");
    PressEnter(f->RichEdit[12]);
    EXPECT_EQ(f->RichEdit[12]->Color(), Gruen);
    EXPECT_EQ(f->LabelPP[7]->Caption(), "richtig");
    // A wrong tens digit: the same verdict from either box.
    f->RichEdit[8]->Clear();
    TypeText(f->RichEdit[8], "2");
    TypeText(f->RichEdit[9], "2");
    f->BitBtn[11]->Click();
    EXPECT_EQ(f->LabelPP[4]->Caption(), "falsch");
    EXPECT_EQ(f->LabelPP[4]->Font()->Color(), Rot);
    EXPECT_EQ((std::array{f->RichEdit[8]->Color(), f->RichEdit[9]->Color()}), (std::array{Rot, Gruen}));
    // A one-box row that is not a difference: empty is wrong.
    f->BitBtn[16]->Click();
    EXPECT_EQ(f->LabelPP[9]->Caption(), "falsch");
    EXPECT_EQ(f->RichEdit[15]->Color(), Rot);
    TypeText(f->RichEdit[15], "4");
    PressEnter(f->RichEdit[15]);
    EXPECT_EQ(f->LabelPP[9]->Caption(), "richtig");
    // Only its own row is checked.
    EXPECT_EQ(f->LabelPP[8]->Caption(), "");
}

TEST(LongDivision, QuotientVerdicts) {
    OffeneForm<TZqK1_3G1> f;
    f->AufgabeMit(1759, 5);
    TypeText(f->RichEdit[18], "1");
    TypeText(f->RichEdit[19], "7");
    TypeText(f->RichEdit[21], "9");
    f->BitBtn[7]->Click();
    EXPECT_EQ(f->LabelPP[0]->Caption(), "Fülle alle umrandeten Felder aus.");
    EXPECT_EQ(f->LabelPP[0]->Font()->Color(), RGB(255, 255, 0));
    EXPECT_EQ(f->RichEdit[20]->Color(), clWhite);
    EXPECT_EQ(f->RichEdit[18]->Color(), Gruen);
    TypeText(f->RichEdit[20], "4");
    PressEnter(f->RichEdit[19]);
    EXPECT_EQ(f->LabelPP[0]->Caption(), "falsch");
    EXPECT_EQ(f->LabelPP[0]->Font()->Color(), Rot);
    EXPECT_EQ(f->RichEdit[20]->Color(), Rot);
    EXPECT_FALSE(f->BitBtn[35]->Visible());
}

TEST(LongDivision, SolutionAndCheckByMultiplication) {
    OffeneForm<TZqK1_3G1> f;
    for (const auto& [q, d] :
         {std::pair{1759, 5}, std::pair{617, 2}, std::pair{112, 9}, std::pair{4999, 2}}) {
        f->AufgabeMit(q, d);
        f->BitBtn[20]->Click();
        EXPECT_EQ(f->LabelPP[0]->Caption(), "richtig") << q;
        for (int z = 1; z <= 10; ++z)
            EXPECT_EQ(f->LabelPP[z]->Caption(), "richtig") << q << " row " << z;
        EXPECT_TRUE(f->BitBtn[35]->Visible());
        EXPECT_FALSE(f->PanelK1->Visible());
    }
    Bildschirmfoto(f.get(), "TZqK1_3G1");
    f->AufgabeMit(1234, 2); // P = 2468
    f->BitBtn[20]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[16]), "");
    f->BitBtn[35]->Click();
    EXPECT_TRUE(f->PanelK1->Visible());
    TypeText(f->RichEdit[1], "8");
    TypeText(f->RichEdit[2], "6");
    TypeText(f->RichEdit[3], "4");
    TypeText(f->RichEdit[4], "3");
    PressEnter(f->RichEdit[4]);
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), Rot);
    EXPECT_EQ((std::array{f->RichEdit[1]->Color(), f->RichEdit[4]->Color()}), (std::array{Gruen, Rot}));
    f->BitBtn[18]->Click();
    EXPECT_TRUE(f->HilfePanel[4]->Visible() && f->BitBtn[19]->Visible());
    f->BitBtn[19]->Click();
    EXPECT_EQ(Zeile0(f->RichEdit[4]), "2");
    EXPECT_EQ(f->LabelP1->Caption(), "Sehr gut, weiter so.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), Gruen);
    Bildschirmfoto(f.get(), "TZqK1_3G1_Kontrolle");
}

} // namespace
