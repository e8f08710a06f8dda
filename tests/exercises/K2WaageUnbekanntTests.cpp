// The balance with an unknown piece: its random mass, balancing it and typing
// its mass.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_4A2.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_4A2>;

QImage Waagenbild(Form& f) {
    return f->Image9->Picture()->Bitmap()->Image().copy();
}

void Eingeben(Form& f, const QString& s) {
    f->RichEdit1->Lines()->SetText(s);
    f->BitBtnP1->Click();
}

// Puts a subset of the set with the unknown mass on the pan.
void Ausgleichen(Form& f) {
    for (int b = 0; b < 512; ++b) {
        int s = 0;
        for (int i = 0; i < GewichtAnzahl; ++i)
            if (b & (1 << i)) s += GewichtMassen[i];
        if (s != ZqK2_4A2.Zielmasse) continue;
        for (int i = 0; i < GewichtAnzahl; ++i)
            if (b & (1 << i)) f->Knoepfe[i]->Click();
        return;
    }
    FAIL() << "no subset weighs " << ZqK2_4A2.Zielmasse;
}

TEST(UnknownMass, StartsWithAnEmptyPanAndAnUnsolvedPiece) {
    Form f;
    f->Timer1->SetEnabled(false);
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.4   Übung 2"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    EXPECT_FALSE(f->B_Tastatur->Visible());
    EXPECT_GE(ZqK2_4A2.Zielmasse, 5);
    EXPECT_LE(ZqK2_4A2.Zielmasse, 1105);
    EXPECT_FALSE(ZqK2_4A2.Geloest);
    EXPECT_DOUBLE_EQ(ZqK2_4A2.Winkel, -10);
    EXPECT_EQ(GewichteSumme(ZqK2_4A2.AufSchale), 0);
    EXPECT_EQ(f->BitBtnP1->Caption(), QStringLiteral("prüfen"));
    EXPECT_TRUE(f->LabelP1->Caption().isEmpty());
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->Label4->Caption(), QStringLiteral("Zu wenig Gewicht auf der rechten Waagschale."));
}

TEST(UnknownMass, WrongMassKeepsTheQuestionMarkTheRightOneShowsTheMass) {
    Form f;
    f->Timer1->SetEnabled(false);
    Ausgleichen(f);
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->Label4->Caption(),
              QStringLiteral("Die Waage befindet sich im Gleichgewicht. Sehr gut, weiter so."));
    const QImage Vorher = Waagenbild(f);
    Eingeben(f, QString::number(ZqK2_4A2.Zielmasse + 1));
    EXPECT_FALSE(ZqK2_4A2.Geloest);
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(255, 0, 0));
    EXPECT_FALSE(f->LabelP1->Caption().isEmpty());
    EXPECT_EQ(Waagenbild(f), Vorher);
    Eingeben(f, QString::number(ZqK2_4A2.Zielmasse));
    EXPECT_TRUE(ZqK2_4A2.Geloest);
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0));
    EXPECT_NE(Waagenbild(f), Vorher);
    // A new task takes the pieces off and clears the answer.
    f->B_NeueAufgabe->Click();
    f->Timer1->SetEnabled(false);
    EXPECT_FALSE(ZqK2_4A2.Geloest);
    EXPECT_EQ(GewichteSumme(ZqK2_4A2.AufSchale), 0);
    EXPECT_TRUE(Zeile0(f->RichEdit1).isEmpty());
    EXPECT_TRUE(f->LabelP1->Caption().isEmpty());
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), clBlack);
}

TEST(UnknownMass, DrawnMassesStayInRangeAndIncludeTheEmptyDraw) {
    std::set<int> Gesehen;
    Runtime::SetRandSeed(12345);
    for (int n = 0; n < 4000; ++n) {
        const int m = UnbekannteMasseWaehlen();
        ASSERT_GE(m, 5);
        ASSERT_LE(m, 1105);
        Gesehen.insert(m);
    }
    EXPECT_TRUE(Gesehen.count(500));
    EXPECT_GT(Gesehen.size(), 100u);
    EXPECT_EQ(GewichtBeschriftung(1105), QStringLiteral("1.105 kg"));
}

TEST(UnknownMass, LabelSizeFollowsTheMass) {
    EXPECT_EQ(UnbekannteSchriftgroesse(19), 8);
    EXPECT_EQ(UnbekannteSchriftgroesse(20), 10);
    EXPECT_EQ(UnbekannteSchriftgroesse(49), 10);
    EXPECT_EQ(UnbekannteSchriftgroesse(50), 12);
    EXPECT_EQ(UnbekannteSchriftgroesse(99), 12);
    EXPECT_EQ(UnbekannteSchriftgroesse(100), 16);
    EXPECT_EQ(UnbekannteSchriftgroesse(500), 16);
    EXPECT_EQ(UnbekannteSchriftgroesse(501), 24);
}

} // namespace
