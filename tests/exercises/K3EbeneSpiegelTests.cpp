// Mirroring at an axis: which task is loaded, what a click at a grid point
// marks, and what the drawing shows afterwards.
#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_1B1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

int Anzahl(TImage* Bild, int x1, int y1, int x2, int y2, TColor Farbe) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            n += Bild->Canvas()->Pixel(x, y) == Farbe;
    return n;
}

// A press at grid point (x, y), without the release and its wait.
void KlickeGitter(TZqK3_1B1* f, int x, int y) {
    f->Image1MouseDown(f->Image1, mbLeft, TShiftState(), f->PixelX(x), f->PixelY(y));
}

void WeiterZu(TZqK3_1B1* f, int Nr) {
    while (ZqK3_1B1.Nr != Nr)
        f->NeueAufgabe();
}

int Gefunden() {
    int n = 0;
    for (const tSpiegelPunkt& p : ZqK3_1B1.P)
        n += p.Gefunden;
    return n;
}

TEST(K3Spiegeln, OpensOnTheFirstTaskWithTheBlackPenChosen) {
    OffeneForm<TZqK3_1B1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 3.1   Übung 2"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Spiegele die Figur an der rot dargestellten Achse"));
    const TSpiegelZustand& Z = ZqK3_1B1;
    EXPECT_EQ(Z.Nr, 1);
    EXPECT_EQ(Z.x0, 388);
    EXPECT_EQ(Z.y0, 232);
    EXPECT_EQ(Z.Stift, 1);
    EXPECT_EQ(Z.P[0].Name, QStringLiteral("B"));
    EXPECT_EQ(Z.P[3].Name, QStringLiteral("C"));
    EXPECT_FALSE(Z.P[3].NameOben);
    EXPECT_FALSE(Z.P[4].Gezeigt);
    EXPECT_EQ(f->Shape1->Pen()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->Shape1->Pen()->Width(), 3);
    EXPECT_EQ(f->Shape2->Pen()->Color(), RGB(0, 0, 0));
    EXPECT_EQ(f->Shape2->Pen()->Width(), 1);
    EXPECT_EQ(f->Shape2->Brush()->Color(), RGB(50, 160, 255));
    EXPECT_EQ(f->Shape3->Brush()->Color(), RGB(200, 0, 0));
    EXPECT_EQ(f->Shape4->Brush()->Color(), RGB(0, 130, 0));
    // The red axis runs down x = 0.
    EXPECT_EQ(f->Image1->Canvas()->Pixel(388, 232 + 100), RGB(255, 0, 0));
    EXPECT_EQ(Anzahl(f->Image1, 0, 0, 776, 40, RGB(0, 130, 0)), 0);
    Bildschirmfoto(f.get(), QStringLiteral("K3Spiegeln_Aufgabe1"));
}

TEST(K3Spiegeln, ShapesChooseThePen) {
    OffeneForm<TZqK3_1B1> f;
    f->Shape1MouseDown(f->Shape3);
    EXPECT_EQ(ZqK3_1B1.Stift, 3);
    EXPECT_EQ(f->Shape3->Pen()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->Shape3->Pen()->Width(), 3);
    EXPECT_EQ(f->Shape1->Pen()->Color(), RGB(0, 0, 0));
    EXPECT_EQ(f->Shape1->Pen()->Width(), 1);
    // A new task goes back to the black pen.
    f->NeueAufgabe();
    EXPECT_EQ(ZqK3_1B1.Stift, 1);
    EXPECT_EQ(f->Shape1->Pen()->Width(), 3);
}

TEST(K3Spiegeln, RightPlaceAndPenMarksAndDrawsTheMirrorSegment) {
    OffeneForm<TZqK3_1B1> f;
    KlickeGitter(f.get(), 10, 6);
    EXPECT_TRUE(ZqK3_1B1.P[0].Gefunden);
    // Between grid points the nearest one counts: (3.4, 5.52) is (3, 6).
    f->Image1MouseDown(f->Image1, mbLeft, TShiftState(), 388 + 85, 232 - 138);
    EXPECT_TRUE(ZqK3_1B1.P[1].Gefunden);
    EXPECT_EQ(Gefunden(), 2);
    // The mirrored segment B'A' along y = 6, halfway between x = 3 and x = 10.
    EXPECT_EQ(f->Image1->Canvas()->Pixel(f->PixelX(6) + 12, f->PixelY(6)), RGB(0, 0, 0));
    // A' is named above its point, like A (vertical axis).
    EXPECT_GT(Anzahl(f->Image1, f->PixelX(3) - 10, f->PixelY(6) - 22, f->PixelX(3) + 10, f->PixelY(6) - 4,
                     RGB(0, 0, 0)),
              0);
    // Found again changes nothing.
    KlickeGitter(f.get(), 10, 6);
    EXPECT_EQ(Gefunden(), 2);
}

TEST(K3Spiegeln, WrongPenOrWrongPlaceMarksNothing) {
    OffeneForm<TZqK3_1B1> f;
    f->StiftWaehlen(2);
    KlickeGitter(f.get(), 10, 6);
    EXPECT_EQ(Gefunden(), 0);
    // The message stands at the top, in black.
    EXPECT_GT(Anzahl(f->Image1, 200, 0, 576, 40, RGB(0, 0, 0)), 0);
    f->FigurZeichnen();
    EXPECT_EQ(Anzahl(f->Image1, 200, 0, 576, 40, RGB(0, 0, 0)), 0);
    f->StiftWaehlen(1);
    // The point itself is not its mirror point.
    KlickeGitter(f.get(), -10, 6);
    EXPECT_EQ(Gefunden(), 0);
    EXPECT_GT(Anzahl(f->Image1, 200, 0, 576, 40, RGB(0, 0, 0)), 0);
}

TEST(K3Spiegeln, AllFoundBringsThePraise) {
    OffeneForm<TZqK3_1B1> f;
    KlickeGitter(f.get(), 10, 6);
    KlickeGitter(f.get(), 3, 6);
    KlickeGitter(f.get(), 3, -6);
    EXPECT_EQ(Anzahl(f->Image1, 0, 0, 776, 40, RGB(0, 130, 0)), 0);
    KlickeGitter(f.get(), 10, -6);
    EXPECT_GT(Anzahl(f->Image1, 0, 0, 776, 40, RGB(0, 130, 0)), 0);
    Bildschirmfoto(f.get(), QStringLiteral("K3Spiegeln_Aufgabe1_fertig"));
}

TEST(K3Spiegeln, PointsOnTheAxisMustBeClickedToo) {
    OffeneForm<TZqK3_1B1> f;
    WeiterZu(f.get(), 4);
    KlickeGitter(f.get(), 2, -2);
    KlickeGitter(f.get(), 0, -7);
    KlickeGitter(f.get(), -2, -2);
    EXPECT_EQ(Anzahl(f->Image1, 0, 0, 776, 40, RGB(0, 130, 0)), 0);
    KlickeGitter(f.get(), 7, 0);
    KlickeGitter(f.get(), -7, 0);
    EXPECT_TRUE(ZqK3_1B1.P[0].Gefunden);
    EXPECT_TRUE(ZqK3_1B1.P[4].Gefunden);
    EXPECT_GT(Anzahl(f->Image1, 0, 0, 776, 40, RGB(0, 130, 0)), 0);
}

TEST(K3Spiegeln, HorizontalAxisPutsMirrorNamesOnTheOtherSide) {
    OffeneForm<TZqK3_1B1> f;
    WeiterZu(f.get(), 3);
    KlickeGitter(f.get(), 8, -6); // A, black, named above its point
    ASSERT_TRUE(ZqK3_1B1.P[0].Gefunden);
    const int x = f->PixelX(8), y = f->PixelY(-6);
    EXPECT_EQ(Anzahl(f->Image1, x - 10, y - 22, x + 10, y - 4, RGB(0, 0, 0)), 0);
    EXPECT_GT(Anzahl(f->Image1, x - 10, y + 4, x + 10, y + 22, RGB(0, 0, 0)), 0);
}

TEST(K3Spiegeln, TasksCycleAndLeaveNothingOfTheLastOne) {
    OffeneForm<TZqK3_1B1> f;
    KlickeGitter(f.get(), 10, -6); // C of task 1 found
    f->NeueAufgabe();
    EXPECT_EQ(ZqK3_1B1.Nr, 2);
    EXPECT_EQ(Gefunden(), 0);
    EXPECT_FALSE(ZqK3_1B1.P[3].Gezeigt);
    // Where task 1 had its mirror point C' nothing of task 2 lies.
    KlickeGitter(f.get(), 10, -6);
    EXPECT_EQ(Gefunden(), 0);
    WeiterZu(f.get(), 7);
    int Gezeigt = 0;
    for (const tSpiegelPunkt& p : ZqK3_1B1.P)
        Gezeigt += p.Gezeigt;
    EXPECT_EQ(Gezeigt, 12);
    EXPECT_EQ(ZqK3_1B1.P[11].Name, QStringLiteral("L"));
    f->NeueAufgabe();
    EXPECT_EQ(ZqK3_1B1.Nr, 1);
    Bildschirmfoto(f.get(), QStringLiteral("K3Spiegeln_Aufgabe1_wieder"));
}

} // namespace
