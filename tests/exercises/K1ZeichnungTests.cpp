// What the chapter-1 forms draw, read back from their pictures.
#include "K1TestHelfer.h"

#include "exercises/chapter1/UZahlenstrahl.h"
#include "exercises/chapter1/UZqK1_1A1.h"
#include "exercises/chapter1/UZqK1_1B1.h"
#include "exercises/chapter1/UZqK1_2C1.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace K1Test;

// How many pixels of the colour lie in the rectangle (edges included).
int Anzahl(TImage* Bild, int x1, int y1, int x2, int y2, TColor Farbe) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            n += Bild->Canvas()->Pixel(x, y) == Farbe;
    return n;
}

// The leftmost and rightmost column holding the colour, -1 when none does.
std::pair<int, int> Spalten(TImage* Bild, TColor Farbe) {
    int links = -1, rechts = -1;
    for (int x = 0; x < Bild->Width(); ++x)
        for (int y = 0; y < Bild->Height(); ++y)
            if (Bild->Canvas()->Pixel(x, y) == Farbe) {
                if (links < 0) links = x;
                rechts = x;
                break;
            }
    return {links, rechts};
}

TEST(NumberLineDrawing, TicksAndTheReadingMarkerSitOnTheScale) {
    OffeneForm<TZqK1_1A1> f;
    for (int i = 0; i < 50 && !f->Zustand().Ablesen; ++i)
        f->B_NeueAufgabe->Click();
    ASSERT_TRUE(f->Zustand().Ablesen);
    // The target 0: the marker stands over the first tick.
    ZqK1_1A1.T = 0;
    MausBei(f->Image1, 300, 20); // any click redraws
    TImage* b = f->Image1;
    EXPECT_GT(Anzahl(b, 9, 100, 11, 124, RGB(0, 0, 255)), 0);
    EXPECT_EQ(Anzahl(b, 20, 95, 760, 124, RGB(0, 0, 255)), 0);
    // Long tick at 50 000 (x 360) reaching below the short ones; short tick at 1 000.
    EXPECT_GT(Anzahl(b, 359, 121, 361, 121, clBlack), 0);
    EXPECT_GT(Anzahl(b, 359, 142, 361, 142, clBlack), 0);
    EXPECT_GT(Anzahl(b, 16, 128, 18, 128, clBlack), 0);
    EXPECT_EQ(Anzahl(b, 16, 120, 18, 125, clBlack), 0);
    // The target at the end of the line.
    ZqK1_1A1.T = 100000;
    MausBei(f->Image1, 300, 20);
    EXPECT_GT(Anzahl(b, 709, 100, 711, 124, RGB(0, 0, 255)), 0);
    EXPECT_EQ(Anzahl(b, 0, 95, 700, 124, RGB(0, 0, 255)), 0);
}

TEST(NumberLineDrawing, ComparingShowsBothNumbersOnlyAfterTheRightSign) {
    OffeneForm<TZqK1_1B1> f;
    TImage* b = f->Image1;
    const TColor Gruen = RGB(0, 130, 0), Blau = RGB(0, 0, 255);
    EXPECT_EQ(Anzahl(b, 0, 0, b->Width() - 1, 79, Blau), 0);
    f->BitBtn5->Click(); // wrong
    EXPECT_EQ(Anzahl(b, 0, 0, b->Width() - 1, 79, Gruen), 0);
    f->BitBtn3->Click(); // 130 000 < 360 000
    const int XA = ZahlenstrahlX(130000, 10000), XB = ZahlenstrahlX(360000, 10000);
    EXPECT_EQ(XA, 101);
    EXPECT_EQ(XB, 262);
    // Dashed lines up from the axis: A's to y 50, B's to y 20.
    EXPECT_GT(Anzahl(b, XA - 1, 51, XA + 1, 79, Blau), 0);
    EXPECT_GT(Anzahl(b, XB - 1, 21, XB + 1, 49, Gruen), 0);
    EXPECT_EQ(Anzahl(b, XB - 1, 21, XB + 1, 79, Blau), 0);
}

TEST(EstimatingDrawing, TheTensMarkIsBlueUnderTheUnitsAndTheHundredsMarkRedLeftOfIt) {
    OffeneForm<TZqK1_2C1> f;
    TImage* b = f->Image1;
    const TColor Blau = RGB(0, 0, 255), Rot = RGB(200, 0, 0);
    EXPECT_EQ(Spalten(b, Blau).first, -1);
    f->BitBtnHilfe->Click();
    const auto [BlauLinks, BlauRechts] = Spalten(b, Blau);
    ASSERT_GE(BlauLinks, 0);
    EXPECT_EQ(Spalten(b, Rot).first, -1);
    f->BitBtn10->Click();
    const auto [RotLinks, RotRechts] = Spalten(b, Rot);
    ASSERT_GE(RotLinks, 0);
    // Side by side, one digit wide each, under the right end of the number.
    EXPECT_LT(RotLinks, BlauLinks);
    EXPECT_LE(std::abs(RotRechts - BlauLinks), 1);
    EXPECT_LE(std::abs((BlauRechts - BlauLinks) - (RotRechts - RotLinks)), 1);
    EXPECT_GT(BlauRechts, b->Width() / 2);
    // A new task takes both marks away.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Spalten(b, Blau).first, -1);
    EXPECT_EQ(Spalten(b, Rot).first, -1);
}

} // namespace
