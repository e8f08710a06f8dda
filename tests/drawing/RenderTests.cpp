#include "drawing/UNetzbau.h"
#include "drawing/URender.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ErwarteNahe(const tVektor& v, double x, double y, double z) {
    EXPECT_NEAR(v.x, x, 1e-9);
    EXPECT_NEAR(v.y, y, 1e-9);
    EXPECT_NEAR(v.z, z, 1e-9);
}

tVektor Mitte(const tFlaeche& f) {
    tVektor s;
    for (const tVektor& e : f)
        s = VektorSumme1(s, e);
    return {s.x / 4, s.y / 4, s.z / 4};
}

} // namespace

TEST(Matrizen, ProductsAndCleanQuarterTurns) {
    EXPECT_EQ(DrehmatrixX1(0), EinheitsMatrix1());
    tMatrix M = MatrixProdukt1(DrehmatrixX1(0.3), DrehmatrixY1(0.7));
    const tMatrix frisch = MatrixProdukt1(M, DrehmatrixZ1(0.2));
    M = MatrixProdukt1(M, DrehmatrixZ1(0.2));
    EXPECT_EQ(M, frisch);
    ErwarteNahe(MatrixMalVektor1(DrehmatrixX1(M_PI / 2), {0, 1, 0}), 0, 0, 1);

    const tMatrix viertel{{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};
    EXPECT_EQ(DrehmatrixAchse1({0, 0, 1}, 90), viertel);
    EXPECT_EQ(DrehmatrixAchse2({0, 0, 5}, 90), viertel);
    // A zero axis cannot be normalised: no turn at all.
    EXPECT_EQ(DrehmatrixAchse1({0, 0, 0}, 90), EinheitsMatrix1());
}

TEST(Matrizen, TurningAboutAHinge) {
    ErwarteNahe(RaumpunktDrehen1({1, 0, 0}, {0, 0, 0}, {0, 0, 1}, 90), 0, 1, 0);
    ErwarteNahe(RaumpunktDrehen1({1, 0, 0}, {0, 0, 1}, {0, 0, 0}, 90), 0, -1, 0);
    ErwarteNahe(RaumpunktDrehen1({2, 3, 4}, {1, 1, 1}, {1, 1, 1}, 90), 2, 3, 4);
    const tFlaeche f{tVektor{0, 0, 0}, tVektor{1, 0, 0}, tVektor{1, 1, 0}, tVektor{0, 1, 0}};
    const tFlaeche g = FlaecheDrehen1(f, f[0], f[1], 90);
    EXPECT_EQ(g[1], f[1]);
    ErwarteNahe(g[2], 1, 0, 1);
}

TEST(Projektion, PixelsAndDepths) {
    const tAnsicht a;
    int t = -1;
    TPoint p;
    auto pruefe = [&](tVektor v, int breite, int hoehe, TPoint pixel, int tiefe) {
        ProjizierenAufGroesse(v, a, breite, hoehe, t, p);
        EXPECT_EQ(p, pixel) << v.x << " " << v.y << " " << v.z;
        EXPECT_EQ(t, tiefe) << v.x << " " << v.y << " " << v.z;
    };
    pruefe({0, 0, 0}, 530, 530, {265, 265}, 500);
    pruefe({3.6, 3.6, 3.6}, 530, 530, {360, 170}, 680);
    pruefe({-10, 10, -10}, 530, 530, {0, 0}, 0);
    pruefe({10, -10, 25}, 530, 530, {530, 530}, 1000);
    pruefe({0, 0, -25}, 530, 530, {265, 265}, 0);
    // Half-way between two columns goes to the even one.
    pruefe({0.5, 0, 0}, 20, 20, {10, 10}, 500);
    pruefe({1.5, 0, 0}, 20, 20, {12, 10}, 500);
    // The height decides on 240 x 200; an image without pixels divides by nothing.
    pruefe({10, 0, 0}, 240, 200, {200, 100}, 500);
    pruefe({5, 5, 0}, 0, 0, {0, 0}, 500);
}

TEST(Render, DepthColoursAndCornerList) {
    int r, g, b;
    FarbeZerlegen1(RGB(12, 34, 56), r, g, b);
    EXPECT_EQ((std::array{r, g, b}), (std::array{12, 34, 56}));
    const tAnsicht a;
    EXPECT_EQ(TiefenFarbe1({0, 0, -10}, a), RGB(70, 70, 0));
    EXPECT_EQ(TiefenFarbe1({0, 0, 0}, a), RGB(162, 162, 0));
    EXPECT_EQ(TiefenFarbe1({0, 0, 10}, a), RGB(255, 255, 0));

    const tFlaeche beide[] = {
        {tVektor{0, 0, 0}, tVektor{1, 0, 0}, tVektor{1, 1, 0}, tVektor{0, 1, 0}},
        {tVektor{1, 0, 0.0005}, tVektor{2, 0, 0}, tVektor{2, 1, 0}, tVektor{1, 1, 0.002}}};
    tPunktefeld ecken;
    EckenSammeln1(beide, 2, ecken);
    ASSERT_EQ(ecken.size(), 7u);
    EXPECT_EQ(ecken[4], (tVektor{2, 0, 0}));
    EXPECT_EQ(ecken[6], (tVektor{1, 1, 0.002}));
}

TEST(Netze, CuboidFlatAndClosed) {
    tFlaechenfeld f = QuadernetzFlaechen(6, 4, 2, 0);
    ErwarteNahe(f[5][0], -3, -7, -2);
    ErwarteNahe(f[5][1], 3, -7, -2);
    ErwarteNahe(f[5][2], 3, -5, -2);
    ErwarteNahe(f[5][3], -3, -5, -2);
    EXPECT_DOUBLE_EQ(f[2][0].x, -7);
    f = QuadernetzFlaechen(6, 4, 2, 90);
    ErwarteNahe(f[5][0], -3, 1, 2);
    ErwarteNahe(f[5][1], 3, 1, 2);
    ErwarteNahe(f[5][2], 3, -1, 2);
    ErwarteNahe(f[5][3], -3, -1, 2);
    ErwarteNahe(Mitte(f[0]), 0, 0, -2);
    ErwarteNahe(Mitte(f[1]), 0, 1, 0);
    ErwarteNahe(Mitte(f[2]), -3, 0, 0);
}

TEST(Netze, CubeNetsOfTheSecondCopyClose) {
    const double r = 3.6 * std::sqrt(2.0);
    tFlaechenfeld f = WuerfelnetzFlaechen2(1, 7.2, 90);
    ErwarteNahe(Mitte(f[0]), 0, 0, 3.6);
    ErwarteNahe(Mitte(f[5]), 0, 0, -3.6);
    ErwarteNahe(Mitte(f[2]), -3.6, 0, 0);
    f = WuerfelnetzFlaechen2(2, 7.2, 90);
    ErwarteNahe(f[0][0], 0, 3.6, r);
    ErwarteNahe(f[0][1], -r, 3.6, 0);
    ErwarteNahe(Mitte(f[2]), -r / 2, 0, -r / 2);
    const tFlaechenfeld drei = WuerfelnetzFlaechen2(3, 7.2, 90), vier = WuerfelnetzFlaechen2(4, 7.2, 90);
    ErwarteNahe(drei[0][1], 3.6, r, 0);
    ErwarteNahe(drei[0][3], -3.6, 0, r);
    for (int k = 0; k < 6; ++k) {
        const tVektor m = Mitte(vier[k]);
        ErwarteNahe(Mitte(drei[k]), m.x, m.y, m.z);
    }
}

TEST(Netze, SquaresPairUpAsOppositeFaces) {
    for (int netz = 0; netz <= 4; ++netz) {
        SCOPED_TRACE(netz);
        const tFlaechenfeld f =
            netz == 0 ? QuadernetzFlaechen(3.6, 3.6, 3.6, 90) : WuerfelnetzFlaechen2(netz, 7.2, 90);
        const double h = netz == 0 ? 1.8 : 3.6;
        tVektor m[3];
        for (int k = 0; k < 3; ++k) {
            m[k] = Mitte(f[k]);
            ErwarteNahe(VektorSumme1(m[k], Mitte(f[5 - k])), 0, 0, 0);
            EXPECT_NEAR(VektorBetrag1(m[k]), h, 1e-9);
        }
        // The three pairs stand at right angles to each other.
        for (int k = 0; k < 3; ++k) {
            const tVektor &a = m[k], &b = m[(k + 1) % 3];
            EXPECT_NEAR(a.x * b.x + a.y * b.y + a.z * b.z, 0, 1e-9);
        }
    }
}

TEST(Netze, CornerCountsWhileFolding) {
    const tFarbfeld farben(6, clWhite);
    const tAnsicht a;
    for (double w : {0.0, 1.0, 45.0, 89.0, 90.0}) {
        SCOPED_TRACE(w);
        const size_t n = w == 90 ? 8 : 14;
        EXPECT_EQ(QuadernetzZeichnen1(farben, true, true, 6, 4, 2, w, false, a).size(), n);
        EXPECT_EQ(WuerfelnetzZeichnenWeiss1(farben, true, true, 3.6, w, false, a).size(), n);
        for (int netz = 1; netz <= 4; ++netz) {
            tPunktefeld ecken;
            EckenSammeln2(WuerfelnetzFlaechen2(netz, 7.2, w), ecken);
            EXPECT_EQ(ecken.size(), n) << netz;
        }
    }
    // The second copy hands back the faces turned by the view.
    tAnsicht gedreht;
    gedreht.Drehung = DrehmatrixAchse2({0, 0, 1}, 90);
    ErwarteNahe(NetzEinsZeichnen2(farben, true, false, 7.2, 0, false, gedreht)[0][1], 3.6, 3.6, 3.6);
}
