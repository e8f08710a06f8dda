// Axial symmetry: the cycle of figures, the answers and the axes drawn.
#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_1C1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

int Anzahl(TImage* Bild, TColor Farbe) {
    int n = 0;
    for (int y = 0; y < Bild->Height(); ++y)
        for (int x = 0; x < Bild->Width(); ++x)
            n += Bild->Canvas()->Pixel(x, y) == Farbe;
    return n;
}

void WeiterZu(TZqK3_1C1* f, int Nr) {
    while (ZqK3_1C1.Figur != Nr)
        f->NeueAufgabe();
}

TEST(K3Achsen, OpensOnTheSquareAndCyclesThroughNine) {
    OffeneForm<TZqK3_1C1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 3.1   Übung 3"));
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), QStringLiteral("Neue Figur"));
    EXPECT_EQ(ZqK3_1C1.Figur, 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("1 / 9"));
    EXPECT_EQ(ZqK3_1C1.Achsenanzahl, 4);
    EXPECT_FALSE(f->Panel1->Visible());
    // The square on its corner: centre and corners (7, 0) -> (340, 200).
    EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 200), RGB(0, 100, 255));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(345, 200), RGB(255, 255, 255));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(10, 10), RGB(255, 255, 255));
    const int Achsen[10] = {0, 4, 1, 1, 0, 1, 2, 5, 6, 0};
    for (int n = 2; n <= 9; ++n) {
        f->NeueAufgabe();
        EXPECT_EQ(ZqK3_1C1.Figur, n);
        EXPECT_EQ(ZqK3_1C1.Achsenanzahl, Achsen[n]) << n;
        EXPECT_EQ(ZqK3_1C1.Symmetrisch, Achsen[n] > 0) << n;
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(f->BitBtnAchse[k]->Visible(), k < Achsen[n]) << n << " " << k;
    }
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("9 / 9"));
    f->NeueAufgabe();
    EXPECT_EQ(ZqK3_1C1.Figur, 1);
}

TEST(K3Achsen, YesThenTheRightCountOffersTheAxes) {
    OffeneForm<TZqK3_1C1> f;
    WeiterZu(f.get(), 6);
    f->BitBtn3Click(f->BitBtn3);
    EXPECT_EQ(f->BitBtn3->Font()->Color(), RGB(255, 0, 0));
    f->BitBtn2Click(f->BitBtn2);
    EXPECT_EQ(f->BitBtn2->Font()->Color(), RGB(0, 255, 0));
    EXPECT_TRUE(f->Panel1->Visible());
    EXPECT_FALSE(f->Panel2->Visible());
    TypeText(f->RichEdit1, "3");
    PressEnter(f->RichEdit1);
    EXPECT_EQ(f->BitBtn4->Font()->Color(), RGB(255, 0, 0));
    EXPECT_FALSE(f->Panel2->Visible());
    f->RichEdit1->Clear();
    TypeText(f->RichEdit1, "2");
    PressEnter(f->RichEdit1);
    EXPECT_EQ(f->BitBtn4->Font()->Color(), RGB(0, 255, 0));
    EXPECT_TRUE(f->Panel2->Visible());
    // A new figure resets the answers.
    f->NeueAufgabe();
    EXPECT_FALSE(f->Panel1->Visible());
    EXPECT_EQ(f->BitBtn2->Font()->Color(), clBlack);
    EXPECT_EQ(f->BitBtn4->Font()->Color(), clBlack);
    EXPECT_EQ(Zeile0(f->RichEdit1), QString());
    EXPECT_EQ(f->Label4->Caption(), QString());
}

TEST(K3Achsen, NoIsRightForTheAsymmetricFigures) {
    OffeneForm<TZqK3_1C1> f;
    for (int n : {4, 9}) {
        WeiterZu(f.get(), n);
        f->BitBtn2Click(f->BitBtn2);
        EXPECT_EQ(f->BitBtn2->Font()->Color(), RGB(255, 0, 0));
        EXPECT_FALSE(f->Panel1->Visible());
        f->BitBtn3Click(f->BitBtn3);
        EXPECT_EQ(f->BitBtn3->Font()->Color(), RGB(0, 255, 0));
    }
}

TEST(K3Achsen, EachButtonDrawsOnlyItsAxis) {
    OffeneForm<TZqK3_1C1> f;
    const TColor Rot = RGB(200, 0, 0);
    EXPECT_EQ(Anzahl(f->Image1, Rot), 0);
    f->AchseClick(1); // horizontal, (7, 0) - (-7, 0)
    EXPECT_EQ(f->Image1->Canvas()->Pixel(250, 200), Rot);
    EXPECT_NE(f->Image1->Canvas()->Pixel(200, 250), Rot);
    f->AchseClick(2); // vertical
    EXPECT_NE(f->Image1->Canvas()->Pixel(250, 200), Rot);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 250), Rot);
    // On black the axes are black and the square lighter.
    f->HGweiss->SetChecked(false);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(Anzahl(f->Image1, Rot), 0);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 250), RGB(0, 0, 0));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(250, 200), RGB(0, 200, 255));
    Bildschirmfoto(f.get(), QStringLiteral("K3Achsen_schwarz"));
    f->HGweiss->SetChecked(true);
    WeiterZu(f.get(), 8);
    f->AchseClick(6);
    Bildschirmfoto(f.get(), QStringLiteral("K3Achsen_Sechseck"));
}

TEST(K3Achsen, PentagonStandsOnItsBottomEdge) {
    OffeneForm<TZqK3_1C1> f;
    WeiterZu(f.get(), 7);
    // Vertex 0 at 306 degrees: (4.70, -6.47) -> (294, 329).
    EXPECT_EQ(TZqK3_1C1::Bildpunkt({8 * std::cos(306 * M_PI / 180), 8 * std::sin(306 * M_PI / 180)}),
              (TPoint{294, 329}));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 325), RGB(255, 125, 0));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 335), RGB(255, 255, 255));
}

} // namespace
