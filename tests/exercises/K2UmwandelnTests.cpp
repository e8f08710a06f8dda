// Converting units into mixed notation: the drawn tasks per family, the
// three-way verdict with its box colours, the first-attempt score, the hints
// and the two checks of the clock page.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_6A1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_6A1>;

const TColor Rot = RGB(255, 0, 0), Gelb = RGB(255, 255, 0), Gruen = RGB(0, 255, 0), Dunkelgruen = RGB(0, 200, 0);
const QString Falsch = QStringLiteral("Die Umwandlung stimmt nicht.");
const QString Halb = QStringLiteral("Richtig, aber noch nicht die gewünschte Darstellung.");
const QString Gut = QStringLiteral("Sehr gut ! Du hast die Zahl richtig umgewandelt.");

void Antworten(TZqK2_6A1::TSeite& S, const QString& Gross, const QString& Klein) {
    S.Gross->Lines()->SetText(Gross);
    S.Klein->Lines()->SetText(Klein);
    S.Pruefen->Click();
}

void Setzen(long long a, long long b, long long f1, long long f2) {
    ZqK2_6A1.a = a, ZqK2_6A1.b = b, ZqK2_6A1.f1 = f1, ZqK2_6A1.f2 = f2;
}

QString Punkte(Form& f) {
    return f->Punkte.LabelR->Caption() + QLatin1Char('/') + f->Punkte.LabelF->Caption();
}

TEST(ConvertingUnits, OpensOnLengthsWithAConsistentTask) {
    Form f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.6   Übung 1"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Umwandeln von Einheiten"));
    EXPECT_EQ(f->RadioGroup1->Items()->Count(), 6);
    EXPECT_EQ(f->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(Punkte(f), QStringLiteral("0/0"));
    for (int n = 0; n < 30; ++n) {
        const TUmwandelnZustand& Z = ZqK2_6A1;
        const auto& S = f->Seiten[0];
        const long long r = Z.f2 / Z.f1, v = Z.a * r + Z.b;
        EXPECT_GT(Z.f2, Z.f1);
        EXPECT_TRUE(Z.a >= 1 && Z.a <= 99 && Z.b >= 0 && Z.b < r);
        EXPECT_LT(v, 100000);
        EXPECT_EQ(S.Wert->Caption(), Gruppiert(v) + QLatin1Char(' ') + S.KleinLabel->Caption());
        EXPECT_EQ(S.Klein->Visible(), Z.b != 0);
        EXPECT_EQ(S.Und->Visible(), Z.b != 0);
        f->B_NeueAufgabe->Click();
    }
}

TEST(ConvertingUnits, RightNotationIsGreenTheSameQuantityOtherwiseYellow) {
    Form f;
    auto& S = f->Seiten[0];
    Setzen(10, 300, 1000, 1000000);
    Antworten(S, QStringLiteral("9"), QStringLiteral("1300"));
    EXPECT_EQ(S.Urteil->Caption(), Halb);
    EXPECT_EQ(S.Urteil->Font()->Color(), Gelb);
    EXPECT_EQ(S.Gross->Color(), Rot);
    EXPECT_EQ(S.Klein->Color(), Rot);
    EXPECT_EQ(Punkte(f), QStringLiteral("0/0"));
    // A sum counts by its value.
    Antworten(S, QStringLiteral("5+5"), QStringLiteral("300"));
    EXPECT_EQ(S.Urteil->Caption(), Gut);
    EXPECT_EQ(S.Urteil->Font()->Color(), Gruen);
    EXPECT_EQ(S.Gross->Color(), Dunkelgruen);
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
    Antworten(S, QStringLiteral("10"), QStringLiteral("300"));
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
}

TEST(ConvertingUnits, OnlyTheFirstCountedVerdictCounts) {
    Form f;
    auto& S = f->Seiten[0];
    Setzen(10, 300, 1000, 1000000);
    Antworten(S, QStringLiteral("9"), QStringLiteral("1300"));
    Antworten(S, QStringLiteral("9"), QStringLiteral("300"));
    EXPECT_EQ(S.Urteil->Caption(), Falsch);
    EXPECT_EQ(S.Urteil->Font()->Color(), Rot);
    EXPECT_EQ(S.Gross->Color(), Rot);
    EXPECT_EQ(S.Klein->Color(), Dunkelgruen);
    Antworten(S, QStringLiteral("10"), QStringLiteral("300"));
    EXPECT_EQ(S.Urteil->Caption(), Gut);
    EXPECT_EQ(Punkte(f), QStringLiteral("0/1"));
    // An answer without a value is never right.
    f->B_NeueAufgabe->Click();
    Setzen(1, 0, 1, 100);
    Antworten(S, QStringLiteral("1/0"), QStringLiteral("0/0"));
    EXPECT_EQ(S.Urteil->Caption(), Falsch);
    EXPECT_EQ(Punkte(f), QStringLiteral("0/2"));
}

TEST(ConvertingUnits, AnEmptyBoxCountsAsZeroButNoAnswerIsNotJudged) {
    Form f;
    f->RadioGroup1->SetItemIndex(1);
    auto& S = f->Seiten[1];
    // 0 Cent: the cent box is hidden, and two empty boxes would be worth 0.
    Setzen(0, 0, 1, 100);
    S.Klein->SetVisible(false);
    Antworten(S, QString(), QString());
    EXPECT_EQ(S.Urteil->Caption(), QString());
    EXPECT_EQ(S.Gross->Color(), RGB(255, 255, 255));
    EXPECT_EQ(Punkte(f), QStringLiteral("0/0"));
    Antworten(S, QStringLiteral("0"), QString());
    EXPECT_EQ(S.Urteil->Caption(), Gut);
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));

    // Amounts under 1 €, as a pupil answers them: the € box left empty, the
    // cents typed and Enter pressed. Each is right and counted.
    const TUmwandelnZustand& Z = ZqK2_6A1;
    int Beantwortet = 0;
    for (int n = 0; n < 3000 && Beantwortet < 3; ++n) {
        f->B_NeueAufgabe->Click();
        if (Z.a != 0 || Z.b == 0) continue;
        TypeText(S.Klein, QString::number(Z.b));
        PressEnter(S.Klein);
        ++Beantwortet;
        EXPECT_EQ(S.Urteil->Caption(), Gut);
        EXPECT_EQ(S.Urteil->Font()->Color(), Gruen);
        EXPECT_EQ(S.Gross->Color(), Dunkelgruen);
        EXPECT_EQ(S.Klein->Color(), Dunkelgruen);
        EXPECT_EQ(Punkte(f), QStringLiteral("%1/0").arg(1 + Beantwortet));
    }
    EXPECT_EQ(Beantwortet, 3);

    // A gap of whole hours with the minutes box left empty, through the button.
    f->RadioGroup1->SetItemIndex(5);
    auto& U = f->Seiten[5];
    Setzen(3, 0, 1, 60);
    TypeText(U.Gross, QStringLiteral("3"));
    U.Pruefen->Click();
    EXPECT_EQ(U.Urteil->Caption(), QStringLiteral("Das ist richtig."));
}

TEST(ConvertingUnits, WeightsNeverPairUnitsTooFarApart) {
    Form f;
    f->RadioGroup1->SetItemIndex(4);
    EXPECT_EQ(f->PageControl1->ActivePageIndex(), 4);
    for (int n = 0; n < 60; ++n) {
        const TUmwandelnZustand& Z = ZqK2_6A1;
        EXPECT_LT(Z.f2 / Z.f1, 100000);
        EXPECT_LT(Z.a * (Z.f2 / Z.f1) + Z.b, 100000);
        f->B_NeueAufgabe->Click();
    }
    EXPECT_EQ(EinheitVon(0, 5).Lang, QStringLiteral("Kilometer  ( km )"));
    EXPECT_EQ(EinheitVon(3, 4).Kurz, QStringLiteral("Liter"));
    EXPECT_EQ(EinheitVon(4, 4).Faktor, 1000000000);
    EXPECT_EQ(EinheitVon(2, 5).Faktor, 1); // beyond the table
}

TEST(ConvertingUnits, HintsAndSolutionsEndTheFirstAttemptWithoutCounting) {
    Form f;
    auto& S = f->Seiten[0];
    Setzen(10, 300, 1000, 1000000);
    S.Hilfe->Click();
    EXPECT_TRUE(S.Hinweis1->Visible());
    EXPECT_TRUE(S.Tabelle->Visible());
    EXPECT_FALSE(S.Hinweis2->Visible());
    S.Loesung1->Click();
    EXPECT_EQ(Zeile0(S.Gross), QStringLiteral("10"));
    EXPECT_EQ(S.Urteil->Caption(), Falsch);
    EXPECT_TRUE(S.Antwortfeld->Visible());
    EXPECT_TRUE(S.Hinweis2->Visible());
    S.Loesung2->Click();
    EXPECT_EQ(Zeile0(S.Klein), QStringLiteral("300"));
    EXPECT_EQ(S.Urteil->Caption(), Gut);
    EXPECT_EQ(Punkte(f), QStringLiteral("0/0"));
    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(S.Hinweis1->Visible());
    EXPECT_TRUE(S.Text1->Caption().startsWith(QStringLiteral("Überlege dir zunächst wie viele ")));
    EXPECT_TRUE(S.Text2->Caption().endsWith(QStringLiteral(" noch fehlen.")));
}

TEST(ConvertingUnits, MoneyBelowOneEuro) {
    Form f;
    f->RadioGroup1->SetItemIndex(1);
    auto& S = f->Seiten[1];
    const TUmwandelnZustand& Z = ZqK2_6A1;
    EXPECT_EQ(S.Wert->Caption(), Gruppiert(100 * Z.a + Z.b) + QStringLiteral(" Cent"));
    Setzen(0, 57, 1, 100);
    Antworten(S, QStringLiteral("0"), QStringLiteral("57"));
    EXPECT_EQ(S.Urteil->Caption(), Gut);
    EXPECT_TRUE(f->Panel9->Visible());
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
    for (int n = 0; n < 30; ++n) {
        f->B_NeueAufgabe->Click();
        EXPECT_TRUE(Z.a >= 0 && Z.a <= 98 && Z.b >= 0 && Z.b <= 98);
        EXPECT_FALSE(f->Panel9->Visible());
    }
}

TEST(ConvertingUnits, TheClockPageSharesOneFirstAttempt) {
    Form f;
    f->RadioGroup1->SetItemIndex(5);
    auto& S = f->Seiten[5];
    Setzen(3, 25, 1, 60);
    // An empty total counts nothing.
    f->BitBtnP7->Click();
    EXPECT_EQ(Punkte(f), QStringLiteral("0/0"));
    f->RichEdit13->Lines()->SetText(QStringLiteral("205"));
    f->BitBtnP7->Click();
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
    Antworten(S, QStringLiteral("2"), QStringLiteral("25"));
    EXPECT_EQ(S.Urteil->Caption(), QStringLiteral("Das stimmt nicht."));
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
    Antworten(S, QStringLiteral("3"), QStringLiteral("25"));
    EXPECT_EQ(S.Urteil->Caption(), QStringLiteral("Das ist richtig."));

    f->B_NeueAufgabe->Click();
    Setzen(7, 0, 1, 60);
    f->BitBtn19->Click();
    EXPECT_EQ(Zeile0(f->RichEdit13), QStringLiteral("420"));
    f->BitBtn17->Click();
    EXPECT_EQ(Zeile0(S.Gross), QStringLiteral("7"));
    EXPECT_EQ(S.Urteil->Caption(), QStringLiteral("Das ist richtig."));
    EXPECT_EQ(Punkte(f), QStringLiteral("1/0"));
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(S.Klein->Visible(), ZqK2_6A1.b != 0);
    Bildschirmfoto(f.get(), QStringLiteral("K2Umwandeln"));
}

} // namespace
