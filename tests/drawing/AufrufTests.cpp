// The argument orders in which the quantity and geometry exercises call the
// toolkit must draw and compute exactly what the toolkit's own orders do.
#include "Testbild.h"

#include "drawing/UNetzbau.h"
#include "drawing/URender.h"
#include "drawing/UZeichnen2.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

tAnsicht AnsichtAuf(TImage* bild) {
    tAnsicht a;
    a.Bild = bild;
    return a;
}

const tFarbfeld kFarben{RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 200, 255),
                        RGB(255, 0, 0),   RGB(0, 0, 255), RGB(200, 100, 50)};

} // namespace

TEST(Aufrufformen, FiguresWithThePictureInAnotherPlace) {
    Testbild a(200, 200), b(200, 200);
    WuerfelZeichnen(40, 150, 70, 255, 0, 0, 0, 255, 0, 0, 0, 255, a.get());
    WuerfelZeichnen(40, 150, 70, b.get(), 255, 0, 0, 0, 255, 0, 0, 0, 255);
    EXPECT_EQ(a.Kopie(), b.Kopie());
    EXPECT_EQ(b.Pixel(75, 115), RGB(255, 0, 0));
    EXPECT_EQ(b.Pixel(120, 100), RGB(0, 255, 0));
    EXPECT_EQ(b.Pixel(75, 70), RGB(0, 0, 255));

    Testbild c(200, 200), d(200, 200);
    GewichtZeichnen(100, 180, 200, 150, 0, 500, 12, "500 g", true, 1.5, c.get());
    GewichtZeichnen(100, 180, 500, 200, 150, 0, 1.5, "500 g", 12, d.get());
    EXPECT_EQ(c.Kopie(), d.Kopie());
    Testbild ohne(200, 200);
    GewichtZeichnen(100, 180, 200, 150, 0, 500, 12, "500 g", false, 1.5, ohne.get());
    EXPECT_NE(ohne.Kopie(), d.Kopie());

    // Rows every 20 pixels, columns every 30: the rows and columns must not swap.
    Testbild e(200, 200), f(200, 200);
    GitterZeichnen(10, 190, 10, 20, 30, 20, 0, 0, 0, e.get());
    GitterZeichnen(10, 190, 10, f.get(), 0, 0, 0, 20, 30, 20);
    EXPECT_EQ(e.Kopie(), f.Kopie());
    EXPECT_EQ(f.Pixel(40, 100), clBlack);
    EXPECT_EQ(f.Pixel(50, 150), clBlack);
    EXPECT_EQ(f.Pixel(50, 140), clWhite);
}

TEST(Aufrufformen, MatricesIntoOutParameters) {
    tMatrix M;
    EinheitsMatrix2(M);
    EXPECT_EQ(M, EinheitsMatrix1());

    // The product may be stored into either factor.
    const tMatrix A = MatrixProdukt1(DrehmatrixX1(0.3), DrehmatrixY1(0.7)), R = DrehmatrixZ1(0.2);
    tMatrix links = A, rechts = R;
    MatrixProdukt1(links, R, links);
    MatrixProdukt2(A, rechts, rechts);
    EXPECT_EQ(links, MatrixProdukt1(A, R));
    EXPECT_EQ(rechts, MatrixProdukt1(A, R));

    DrehmatrixAchse2({0, 0, 5}, M, 90);
    EXPECT_EQ(M, (tMatrix{{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}));
}

TEST(Aufrufformen, NetVerticesAndPicking) {
    Testbild bild(400, 400);
    const tAnsicht a = AnsichtAuf(bild.get());
    tPunktefeld ecken;
    NetzDreiZeichnen2(kFarben, true, true, ecken, a, true, 0, 3.6);
    const tFlaechenfeld flaechen = NetzDreiZeichnen2(kFarben, true, true, 3.6, 0, false, a);
    ASSERT_EQ(ecken.size(), 24u);
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(ecken[4 * k + i], flaechen[k][i]) << k << " " << i;

    // Face 1 of net 3 spans x 164..236 and y 128..200 on the 400-pixel picture,
    // face 2 lies above it; their common edge belongs to neither.
    EXPECT_EQ(FlaecheUnterMaus2(200, 190, ecken, a), 1);
    EXPECT_EQ(FlaecheUnterMaus2(200, 128, ecken, a), -1);
    // Without all 24 vertices only the complete faces can be found.
    tPunktefeld kurz(ecken.begin(), ecken.begin() + 7);
    EXPECT_EQ(FlaecheUnterMaus2(200, 190, kurz, a), 1);
    EXPECT_EQ(FlaecheUnterMaus2(200, 100, kurz, a), -1);
    EXPECT_EQ(FlaecheUnterMaus2(200, 100, ecken, a), 2);
    EXPECT_EQ(FlaecheUnterMaus2(200, 190, tPunktefeld{}, a), -1);

    tPunktefeld wuerfel;
    WuerfelnetzZeichnenWeiss1(kFarben, true, true, wuerfel, a, false, 90, 3.6);
    EXPECT_EQ(wuerfel.size(), 8u);
    QuadernetzZeichnen1(kFarben, true, true, wuerfel, a, false, 30, 6, 4, 2);
    EXPECT_EQ(wuerfel, QuadernetzZeichnen1(kFarben, true, true, 6, 4, 2, 30, false, a));
}

TEST(Aufrufformen, EveryFlatNetIsPickedSquareBySquare) {
    // Lying flat and seen face-on, the centre of each square picks that square.
    Testbild bild(400, 400);
    const tAnsicht a = AnsichtAuf(bild.get());
    using Bauer = void (*)(const tFarbfeld&, bool, bool, tPunktefeld&, const tAnsicht&, bool, double, double);
    const Bauer netze[] = {NetzEinsZeichnen2, NetzZweiZeichnen2, NetzDreiZeichnen2, NetzVierZeichnen2};
    for (int n = 0; n < 4; ++n) {
        tPunktefeld ecken;
        netze[n](kFarben, true, true, ecken, a, true, 0, 3.6);
        for (int k = 0; k < 6; ++k) {
            double x = 0, y = 0;
            for (int i = 0; i < 4; ++i)
                x += ecken[4 * k + i].x / 4, y += ecken[4 * k + i].y / 4;
            int t = 0;
            TPoint p;
            Projizieren2(tVektor{x, y, 0}, a, t, p);
            EXPECT_EQ(FlaecheUnterMaus2(p.x, p.y, ecken, a), k + 1) << "net " << n + 1 << " face " << k + 1;
            // Each square shows its own colour at its centre.
            EXPECT_EQ(bild.Pixel(p.x, p.y), kFarben[k]) << "net " << n + 1 << " face " << k + 1;
        }
    }
}

TEST(Aufrufformen, ProjectionOntoTheImageItself) {
    Testbild bild(530, 530);
    const tAnsicht a = AnsichtAuf(bild.get());
    int t = 0;
    TPoint p;
    Projizieren1({0, 0, 0}, a, t, p);
    EXPECT_EQ(p, (TPoint{265, 265}));
    EXPECT_EQ(t, 500);
    Projizieren2({3.6, 3.6, 3.6}, a, t, p);
    EXPECT_EQ(p, (TPoint{360, 170}));
    EXPECT_EQ(t, 680);
}

TEST(Aufrufformen, MinuteHandAtSixtyThreeDegrees) {
    Testbild bild(200, 200);
    AnalogUhrZeichnen(100, 100, 80, 0, 10, 30, false, true, false, bild.get());
    // 40 pixels out along 63 degrees from twelve, clockwise; 63 - 10 degrees stays white.
    const double w = 63 * M_PI / 180, v = 53 * M_PI / 180;
    EXPECT_EQ(bild.Pixel(std::lround(100 + 40 * std::sin(w)), std::lround(100 - 40 * std::cos(w))),
              RGB(50, 160, 255));
    EXPECT_EQ(bild.Pixel(std::lround(100 + 40 * std::sin(v)), std::lround(100 - 40 * std::cos(v))), clWhite);
}
