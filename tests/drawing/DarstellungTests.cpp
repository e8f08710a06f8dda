// Pixels of the renderer's draw stage and of the composite figures.
#include "Testbild.h"

#include "drawing/UNetzbau.h"
#include "drawing/URender.h"
#include "drawing/UZeichnen2.h"

#include <gtest/gtest.h>

namespace {

tAnsicht AnsichtAuf(TImage* bild) {
    tAnsicht a;
    a.Bild = bild;
    return a;
}

tFlaeche Quadrat(double z) {
    return {tVektor{-5, -5, z}, tVektor{5, -5, z}, tVektor{5, 5, z}, tVektor{-5, 5, z}};
}

} // namespace

TEST(Darstellung, DepthThenFaceNumberDecidesWhatIsOnTop) {
    Testbild bild(200, 200);
    const tAnsicht a = AnsichtAuf(bild.get());
    const tFarbfeld farben{RGB(255, 0, 0), RGB(0, 255, 0), 0, 0, 0, 0};
    tFlaechenfeld f;
    f.fill({tVektor{9, 9, -9}, tVektor{9.1, 9, -9}, tVektor{9.1, 9.1, -9}, tVektor{9, 9.1, -9}});
    f[0] = f[1] = Quadrat(0);
    auto zeichne = [&](const tFarbfeld& fa, bool loeschen) {
        tFlaechenfeld g = f;
        FlaechenDarstellen(g, fa, true, loeschen, true, RGB(0, 0, 0), a);
        return bild.Pixel(100, 100);
    };
    EXPECT_EQ(zeichne(farben, true), RGB(0, 255, 0));
    EXPECT_EQ(bild.Pixel(5, 100), clBlack);
    f[0] = Quadrat(10);
    EXPECT_EQ(zeichne(farben, true), RGB(255, 0, 0));
    // Missing colours paint black.
    f[0] = Quadrat(-10);
    EXPECT_EQ(zeichne(tFarbfeld{RGB(255, 0, 0)}, false), clBlack);
}

TEST(Darstellung, DrawFlagClearFlagAndBackgrounds) {
    Testbild bild(100, 100);
    const tAnsicht a = AnsichtAuf(bild.get());
    const tFarbfeld farben(6, RGB(255, 0, 0));
    const QImage vorher = bild.Kopie();
    EXPECT_EQ(WuerfelnetzZeichnen1(farben, true, true, 3.6, 0, false, a).size(), 14u);
    EXPECT_EQ(bild.Kopie(), vorher);
    WuerfelnetzZeichnen1(farben, true, false, 3.6, 0, true, a);
    EXPECT_EQ(bild.Pixel(1, 1), clWhite);
    EXPECT_EQ(bild.Pixel(50, 50), RGB(255, 0, 0));
    WuerfelnetzZeichnen1(farben, true, true, 3.6, 0, true, a);
    EXPECT_EQ(bild.Pixel(1, 1), clBlack);
    QuadernetzZeichnenWeiss1(farben, true, true, 6, 4, 2, 0, true, a);
    EXPECT_EQ(bild.Pixel(1, 1), clWhite);
    NetzZweiZeichnen2(farben, true, true, 3.6, 0, true, a);
    EXPECT_EQ(bild.Pixel(1, 1), clBlack);
    // A picture without pixels is left alone, the corners still come back.
    TImage leer(nullptr);
    EXPECT_EQ(QuadernetzZeichnen1(farben, true, true, 6, 4, 2, 90, true, AnsichtAuf(&leer)).size(), 8u);
}

TEST(Darstellung, PickingTheFaceUnderTheMouse) {
    Testbild bild(400, 400);
    const tAnsicht a = AnsichtAuf(bild.get());
    const tFlaechenfeld f = NetzEinsZeichnen2(tFarbfeld(6, clWhite), true, false, 3.6, 0, true, a);
    // 20 pixels per unit: face 1 spans 164..236, face 2 lies above it, face 6 at the bottom.
    EXPECT_EQ(FlaecheUnterMaus2(200, 200, f, a), 1);
    EXPECT_EQ(FlaecheUnterMaus2(200, 150, f, a), 2);
    EXPECT_EQ(FlaecheUnterMaus2(150, 200, f, a), 3);
    EXPECT_EQ(FlaecheUnterMaus2(250, 200, f, a), 4);
    EXPECT_EQ(FlaecheUnterMaus2(200, 250, f, a), 5);
    EXPECT_EQ(FlaecheUnterMaus2(200, 344, f, a), 6);
    EXPECT_EQ(FlaecheUnterMaus2(200, 164, f, a), -1);
    EXPECT_EQ(FlaecheUnterMaus2(20, 20, f, a), -1);
}

TEST(Darstellung, GradientEdgesAndBalls) {
    Testbild bild(400, 400);
    const tAnsicht a = AnsichtAuf(bild.get());
    VerlaufsLinie1({-10, 0, 0}, {10, 0, 0}, RGB(70, 70, 0), RGB(255, 255, 0), 20, a);
    EXPECT_EQ(bild.Pixel(5, 200), RGB(70, 70, 0));
    EXPECT_EQ(bild.Pixel(210, 200), RGB(167, 167, 0));
    EXPECT_EQ(bild.Pixel(390, 200), RGB(255, 255, 0));
    // Fewer than two pieces have no gradient: nothing is drawn.
    VerlaufsLinie1({-10, 5, 0}, {10, 5, 0}, RGB(70, 70, 0), RGB(255, 255, 0), 1, a);
    EXPECT_EQ(bild.Pixel(200, 100), clWhite);

    KugelZeichnen1(50, 50, 255, 255, 0, bild.get());
    EXPECT_EQ(bild.Pixel(50, 50), RGB(255, 255, 0));
    EXPECT_EQ(bild.Pixel(49, 50), RGB(230, 230, 0));
    EXPECT_EQ(bild.Pixel(50, 46), RGB(128, 128, 0));
    EXPECT_EQ(bild.Pixel(50, 45), clWhite);

    // Wire model: the first corner (-1.8, -1.8) at depth 410 carries a ball of 145.
    Testbild draht(400, 400);
    const tPunktefeld ecken =
        WuerfelnetzZeichnen1(tFarbfeld(6), false, true, 3.6, 0, true, AnsichtAuf(draht.get()));
    EXPECT_EQ(draht.Pixel(164, 236), RGB(145, 145, 0));
    EXPECT_EQ(draht.Pixel(200, 200), clBlack);
}

TEST(Figuren, ClocksAndDigits) {
    Testbild bild(200, 200);
    AnalogUhrZeichnen(100, 100, 80, 3, 30, 0, true, true, false, bild.get());
    // Hour hand at 105 degrees, minute hand straight down, face edge at radius 80.
    EXPECT_EQ(bild.Pixel(124, 106), RGB(0, 130, 0));
    EXPECT_EQ(bild.Pixel(76, 106), clWhite);
    EXPECT_EQ(bild.Pixel(100, 130), RGB(50, 160, 255));
    EXPECT_EQ(bild.Pixel(100, 100), RGB(128, 128, 128));
    EXPECT_EQ(bild.Pixel(100, 20), clBlack);
    EXPECT_EQ(bild.Pixel(100, 19), clWhite);

    Testbild ziffern(200, 60);
    for (int z = 0; z < 10; ++z)
        SiebenSegmentZiffer(5 + 20 * z, 5, 34, z, 255, 0, 0, 0, 0, 0, ziffern.get());
    // Height 34: the middle segment's centre at (x + 9, y + 17), the top one's at (x + 9, y + 3).
    auto mitte = [&](int z) { return ziffern.Pixel(14 + 20 * z, 22) != clWhite; };
    auto oben = [&](int z) { return ziffern.Pixel(14 + 20 * z, 8) != clWhite; };
    for (int z = 0; z < 10; ++z) {
        EXPECT_EQ(mitte(z), z != 0 && z != 1 && z != 7) << z;
        EXPECT_EQ(oben(z), z != 1 && z != 4) << z;
    }
    Testbild leer(40, 40);
    SiebenSegmentZiffer(2, 2, 30, 10, 255, 0, 0, 0, 0, 0, leer.get());
    EXPECT_EQ(leer.Gefaerbt(), 0);

    // 23:59:75 is 00:00:15 of the next day.
    Testbild a(300, 60), b(300, 60);
    DigitaluhrZeichnen(5, 5, 36, 23, 59, 75, 255, 0, 0, 0, 0, 0, true, true, true, true, a.get());
    DigitaluhrZeichnen(5, 5, 36, 0, 0, 15, 255, 0, 0, 0, 0, 0, true, true, true, true, b.get());
    EXPECT_EQ(a.Kopie(), b.Kopie());
}

TEST(Figuren, CuboidShiftAndWeightPiece) {
    Testbild bild(120, 120);
    QuaderZeichnen(20, 80, 40, 30, 7, 255, 0, 0, 0, 255, 0, 0, 0, 255, bild.get());
    // Depth 7 shifts by 3: the side face ends at column 63.
    EXPECT_EQ(bild.Pixel(62, 60), RGB(0, 255, 0));
    EXPECT_EQ(bild.Pixel(63, 60), RGB(64, 64, 64));
    EXPECT_EQ(bild.Pixel(64, 60), clWhite);
    EXPECT_EQ(bild.Pixel(40, 48), RGB(0, 0, 255));

    Testbild gewicht(120, 140);
    GewichtZeichnen(60, 130, 200, 0, 0, 1000, 10, "1 kg", false, 1, gewicht.get());
    // s = 1.2: 32 pixels to each side; light in the middle, full colour at the sides.
    EXPECT_EQ(gewicht.Pixel(60, 129), RGB(227, 127, 127));
    EXPECT_EQ(gewicht.Pixel(92, 129), RGB(200, 0, 0));
    EXPECT_EQ(gewicht.Pixel(93, 129), clWhite);
    Testbild leer(60, 60);
    GewichtZeichnen(30, 50, 200, 0, 0, 0, 10, "0 g", true, 1, leer.get());
    GewichtZeichnen(30, 50, 200, 0, 0, -5, 10, "", false, 1, leer.get());
    EXPECT_EQ(leer.Gefaerbt(), 0);
}
