// Giving change: the random desk, the price in whole cents, the easier mode
// with whole-euro change, both answers, the help panel and the desk picture.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_5B1.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_5B1>;

const QString Richtig = QStringLiteral("Super, das Ergebnis ist richtig.");

void Eingeben(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

QString Komma(int Cent) {
    return QString::number(Cent / 100.0, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The invariants every task keeps.
void AufgabePruefen(Form& f) {
    const TWechselZustand& Z = ZqK2_5B1;
    int s = 0;
    for (int i = 0; i < GeldstueckAnzahl; ++i)
        if (Z.AufTisch[i]) s += Geldstuecke[i].Cent;
    EXPECT_EQ(Z.Tisch, s);
    EXPECT_EQ(f->TischBetrag(), s);
    EXPECT_GE(Z.Preis, 0);
    EXPECT_LE(Z.Preis, Z.Tisch - 4);
    EXPECT_EQ(Z.Restgeld, Z.Tisch - Z.Preis);
    EXPECT_EQ(f->StaticText1->Caption(),
              QStringLiteral("Für einen Einkauf bezahl er ") + Komma(Z.Preis) + QStringLiteral(" €."));
    EXPECT_EQ(f->Label8->Caption(), Komma(Z.Tisch) + QStringLiteral(" €"));
    EXPECT_EQ(f->Label10->Caption(), Komma(Z.Preis) + QStringLiteral(" € = Restgeld"));
    EXPECT_EQ(f->Label12->Caption(),
              Komma(Z.Preis) + QStringLiteral(" € + Restgeld = ") + Komma(Z.Tisch) + QStringLiteral(" €"));
    EXPECT_EQ(f->Label9->Left(), f->Label8->Left() + f->Label8->Width() + 8);
    EXPECT_EQ(f->Label10->Left(), f->Label9->Left() + f->Label9->Width() + 8);
}

TEST(GivingChange, OpensWithATaskAndTheHelpHidden) {
    Form f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.5   Übung 2"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    EXPECT_FALSE(f->Panel1->Visible());
    EXPECT_FALSE(f->CheckBox1->Checked());
    EXPECT_EQ(f->CheckBox1->Caption(), QStringLiteral("leichtere Aufgaben"));
    EXPECT_EQ(f->Label9->Caption(), QStringLiteral("-"));
    EXPECT_EQ(f->Panel1->Color(), TColor(8454143));
    for (TImage* t : f->Tablett)
        EXPECT_FALSE(t->Visible());
    AufgabePruefen(f);
    Bildschirmfoto(f.get(), QStringLiteral("K2Wechselgeld"));
}

TEST(GivingChange, EveryTaskHasAPriceInWholeCentsThatLeavesChange) {
    Form f;
    int MitBruchteil = 0;
    for (int n = 0; n < 40; ++n) {
        f->B_NeueAufgabe->Click();
        AufgabePruefen(f);
        if (ZqK2_5B1.Restgeld % 100 != 0) ++MitBruchteil;
    }
    EXPECT_GT(MitBruchteil, 0);
}

TEST(GivingChange, TheEasierModeGivesWholeEurosAndTickingMakesANewTask) {
    Form f;
    Eingeben(f->RichEdit1, QStringLiteral("7"));
    f->BitBtnHilfe->Click();
    f->CheckBox1->SetChecked(true);
    EXPECT_EQ(Zeile0(f->RichEdit1), QString());
    EXPECT_FALSE(f->Panel1->Visible());
    for (int n = 0; n < 25; ++n) {
        AufgabePruefen(f);
        EXPECT_EQ(ZqK2_5B1.Restgeld % 100, 0);
        f->B_NeueAufgabe->Click();
    }
    Eingeben(f->RichEdit2, QStringLiteral("3"));
    f->CheckBox1->SetChecked(false);
    EXPECT_EQ(Zeile0(f->RichEdit2), QString());
}

TEST(GivingChange, BothAnswersAreCheckedOnTheirOwn) {
    Form f;
    ZqK2_5B1.Tisch = 3745;
    ZqK2_5B1.Preis = 1295;
    ZqK2_5B1.Restgeld = 3745 - 1295;
    Eingeben(f->RichEdit1, QStringLiteral("37,45"));
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), Richtig);
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0));
    EXPECT_EQ(f->LabelP2->Caption(), QString());
    EXPECT_EQ(f->BitBtnP2->Font()->Color(), clBlack);

    Eingeben(f->RichEdit2, QStringLiteral("25"));
    PressEnter(f->RichEdit2);
    EXPECT_EQ(f->LabelP2->Caption(), QStringLiteral("Leider falsch"));
    EXPECT_EQ(f->BitBtnP2->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->LabelP1->Caption(), Richtig);
    // A decimal point is as good as a comma, a term by its value.
    Eingeben(f->RichEdit2, QStringLiteral("24.5"));
    f->BitBtnP2->Click();
    EXPECT_EQ(f->LabelP2->Caption(), Richtig);

    // A new task starts both lines afresh.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->LabelP1->Caption(), QString());
    EXPECT_EQ(f->LabelP2->Caption(), QString());
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), clBlack);
    EXPECT_EQ(f->BitBtnP2->Font()->Color(), clBlack);
    EXPECT_EQ(Zeile0(f->RichEdit2), QString());
}

TEST(GivingChange, TheSolutionButtonsWriteTheAmountWithTwoDecimalsAndCheckIt) {
    Form f;
    ZqK2_5B1.Tisch = 1250;
    ZqK2_5B1.Preis = 0;
    ZqK2_5B1.Restgeld = 1250;
    f->TexteSetzen();
    EXPECT_EQ(f->StaticText1->Caption(), QStringLiteral("Für einen Einkauf bezahl er 0,00 €."));
    f->BitBtnErgebnis->Click();
    EXPECT_EQ(Zeile0(f->RichEdit1).replace(QLatin1Char(','), QLatin1Char('.')), QStringLiteral("12.50"));
    EXPECT_EQ(f->LabelP1->Caption(), Richtig);
    EXPECT_EQ(f->LabelP2->Caption(), QString());

    ZqK2_5B1.Restgeld = 800;
    f->BitBtnHilfe->Click();
    EXPECT_TRUE(f->Panel1->Visible());
    f->BitBtn3->Click();
    EXPECT_EQ(Zeile0(f->RichEdit2), QStringLiteral("8"));
    EXPECT_EQ(f->LabelP2->Caption(), Richtig);
    EXPECT_EQ(f->BitBtnP2->Font()->Color(), RGB(0, 200, 0));
}

TEST(GivingChange, TheDeskShowsExactlyThePiecesOnIt) {
    Form f;
    ZqK2_5B1.AufTisch.fill(false);
    f->TischZeichnen();
    for (int y = 0; y < 249; y += 31)
        for (int x = 0; x < 688; x += 43)
            ASSERT_EQ(f->BildSichtbar->Canvas()->Pixel(x, y), f->BildTheke->Canvas()->Pixel(x, y));
    EXPECT_EQ(f->TischBetrag(), 0);

    // The 10 euro note (not turned) lies with its corner at (350, 16), the
    // second 2 euro coin at (260, 70) on top of it.
    ZqK2_5B1.AufTisch[12] = true;
    ZqK2_5B1.AufTisch[10] = true;
    f->TischZeichnen();
    EXPECT_EQ(f->BildSichtbar->Canvas()->Pixel(350 + 150, 16 + 60), f->Schein[1]->Canvas()->Pixel(150, 60));
    EXPECT_EQ(f->BildSichtbar->Canvas()->Pixel(260 + 49, 70 + 8), f->Muenzbild[7]->Canvas()->Pixel(49, 8));
    EXPECT_EQ(f->TischBetrag(), 1200);

    // A click on a (hidden) tray piece takes it back.
    f->Image1CentClick(f->Tablett[10]);
    EXPECT_FALSE(ZqK2_5B1.AufTisch[10]);
    EXPECT_EQ(f->BildSichtbar->Canvas()->Pixel(260 + 49, 70 + 8),
              f->BildTheke->Canvas()->Pixel(260 + 49, 70 + 8));
}

} // namespace
