#include "Testbild.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"

#include "support/FixedMetrics.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

TEST(Linien, GuardOf4000AndSolidPenAfterwards) {
    Testbild bild(100, 100);
    LinieZeichnen(10, 10, 4000, 10, 255, 0, 0, false, bild.get());
    LinieZeichnen(10, 20, -4000, 20, 255, 0, 0, false, bild.get());
    PfeilZeichnen(10, 30, 50, 4000, 255, 0, 0, true, "a", bild.get());
    PfeilZeichnen(20, 20, 20, 20, 0, 0, 0, false, "a", bild.get());
    VektorpfeilZeichnen(20, 20, 20, 20, 0, 0, 0, false, "a", bild.get());
    EXPECT_EQ(bild.Gefaerbt(), 0);
    LinieZeichnen(10, 10, 3999, 10, 255, 0, 0, false, bild.get());
    EXPECT_EQ(bild.Pixel(50, 10), RGB(255, 0, 0));
    EXPECT_EQ(bild.Canvas()->Pen()->Style(), psSolid);
    EXPECT_EQ(bild.Canvas()->Brush()->Style(), bsSolid);
}

TEST(Linien, DashesOfAboutThreePixels) {
    Testbild bild(40, 20);
    LinieBreitZeichnen(0, 0, 30, 0, 0, 0, 255, true, bild.get());
    EXPECT_EQ(bild.Canvas()->Pen()->Width(), 1);
    std::set<int> gefaerbt, erwartet;
    for (int x = 0; x < 40; ++x)
        if (bild.Pixel(x, 0) != clWhite || bild.Pixel(x, 1) != clWhite) gefaerbt.insert(x);
    // The wide pen covers both ends of each dash.
    for (auto [a, b] : {std::pair{0, 3}, {5, 8}, {11, 14}, {16, 19}, {22, 25}, {27, 30}})
        for (int x = a; x <= b; ++x)
            erwartet.insert(x);
    EXPECT_EQ(gefaerbt, erwartet);

    // Nine pixels make five pieces, three of them dashes.
    LinieBreitZeichnen(0, 10, 9, 10, 0, 0, 0, true, bild.get());
    std::set<int> kurz;
    for (int x = 0; x < 12; ++x)
        if (bild.Pixel(x, 10) != clWhite) kurz.insert(x);
    EXPECT_EQ(kurz, (std::set<int>{0, 1, 2, 4, 5, 7, 8, 9}));
}

TEST(Linien, WildCoordinatesNeitherHangNorOverflow) {
    Testbild bild(50, 50);
    LinieBreitZeichnen(INT_MIN, 10, INT_MAX, 10, 0, 0, 0, true, bild.get());
    VektorpfeilZeichnen(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 0, true, "a", bild.get());
    GitterZeichnen(INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1, 1, 0, 0, 0, bild.get());
    KaroGitterZeichnen(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 1, 1, 0, 0, 0, bild.get());
    // A spacing of 0 draws nothing in that direction.
    Testbild leer(50, 50);
    GitterZeichnen(10, 40, 10, 10, 0, 0, 0, 0, 0, leer.get());
    KaroGitterZeichnen(25, 25, 5, 5, 0, -3, 0, 0, 0, leer.get());
    EXPECT_EQ(leer.Gefaerbt(), 0);
}

TEST(Flaechen, DotsRectanglesAndGrids) {
    Testbild bild(40, 40);
    PunktZeichnen(10, 10, 0, 0, 255, bild.get());
    EXPECT_EQ(bild.Gefaerbt(), 21);
    for (int i = 8; i <= 12; ++i) {
        EXPECT_EQ(bild.Pixel(i, 10), RGB(0, 0, 255)) << i;
        EXPECT_EQ(bild.Pixel(10, i), RGB(0, 0, 255)) << i;
    }
    Testbild rechteck(40, 40);
    RechteckZeichnen(10, 10, 20, 20, 255, 0, 0, 0, 0, 255, 1, rechteck.get());
    EXPECT_EQ(rechteck.Gefaerbt(), 121);
    EXPECT_EQ(rechteck.Pixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(rechteck.Pixel(15, 15), RGB(0, 0, 255));

    Testbild gitter(100, 100);
    GitterZeichnen(10, 90, 10, 10, 20, 20, 0, 0, 0, gitter.get());
    EXPECT_EQ(gitter.Pixel(90, 50), clBlack);
    EXPECT_EQ(gitter.Pixel(40, 30), clBlack);
    EXPECT_EQ(gitter.Pixel(41, 41), clWhite);
    EXPECT_EQ(gitter.Pixel(95, 90), clWhite);
    Testbild karo(100, 100);
    KaroGitterZeichnen(50, 50, 10, 20, 15, 25, 0, 0, 0, karo.get());
    std::set<int> spalten;
    for (int x = 0; x < 100; ++x)
        if (karo.Pixel(x, 40) == clBlack) spalten.insert(x);
    EXPECT_EQ(spalten, (std::set<int>{20, 35, 50, 65, 80}));
    EXPECT_EQ(karo.Pixel(40, 25), clBlack);
    EXPECT_EQ(karo.Pixel(40, 75), clBlack);
    EXPECT_EQ(karo.Pixel(50, 10), clWhite);
}

TEST(Bilder, GreyCopiesAndPicturesInACircle) {
    TBitmap quelle(3, 1);
    quelle.Canvas()->SetPixel(0, 0, RGB(255, 0, 0));
    quelle.Canvas()->SetPixel(1, 0, RGB(255, 255, 255));
    quelle.Canvas()->SetPixel(2, 0, RGB(100, 100, 100));
    std::unique_ptr<TBitmap> grau = GrauBild(&quelle, 1);
    EXPECT_EQ(grau->PixelFormat(), pf24bit);
    EXPECT_EQ(grau->Canvas()->Pixel(0, 0), RGB(76, 76, 76));
    EXPECT_EQ(grau->Canvas()->Pixel(1, 0), RGB(255, 255, 255));
    grau = GrauBild(&quelle, 1.5);
    EXPECT_EQ(grau->Canvas()->Pixel(0, 0), RGB(76, 76, 76));
    EXPECT_EQ(grau->Canvas()->Pixel(2, 0), RGB(150, 150, 150));
    EXPECT_EQ(quelle.Canvas()->Pixel(0, 0), RGB(255, 0, 0));

    Testbild rot(10, 10), ziel(100, 100);
    BildFuellen(255, 0, 0, rot.get());
    BildInKreisZeichnen(rot.get(), ziel.get(), 20.7, 20.2, 2);
    EXPECT_EQ(ziel.Pixel(30, 30), RGB(255, 0, 0));
    EXPECT_EQ(ziel.Pixel(21, 21), clWhite);
    EXPECT_EQ(ziel.Pixel(40, 30), clWhite);
    // The circle does not clip what comes after.
    EXPECT_FALSE(ziel.Canvas()->HasClip());
    PunktZeichnen(80, 80, 0, 0, 0, ziel.get());
    EXPECT_EQ(ziel.Pixel(80, 80), clBlack);
    Testbild leer(50, 50);
    BildInKreisZeichnen(rot.get(), leer.get(), 5, 5, 0);
    EXPECT_EQ(leer.Gefaerbt(), 0);
}

TEST(Texte, PositionsCodesAndRestoredCanvas) {
    FixedMetricsScope feste;
    Testbild bild(100, 100);
    TCanvas* c = bild.Canvas();
    c->Font()->SetName("Courier New");
    c->Font()->SetSize(10);
    c->Brush()->SetColor(RGB(1, 2, 3));
    c->Brush()->SetStyle(bsClear);
    // 12 points are 16 pixels; two characters of 8 pixels each, centred on (50, 50).
    TextAusgeben(50, 50, 0, 0, 0, 0, 255, 0, "AB", 'T', 12, false, true, bild.get());
    EXPECT_EQ(bild.Pixel(42, 42), RGB(0, 255, 0));
    EXPECT_EQ(bild.Pixel(57, 57), RGB(0, 255, 0));
    EXPECT_EQ(bild.Pixel(41, 42), clWhite);
    EXPECT_EQ(bild.Pixel(58, 58), clWhite);
    EXPECT_EQ(c->Font()->Name(), "Courier New");
    EXPECT_EQ(c->Font()->Size(), 10);
    EXPECT_EQ(c->Brush()->Style(), bsClear);
    EXPECT_EQ(c->Brush()->Color(), RGB(1, 2, 3));

    Testbild rechts(100, 100);
    TextRechtsAusgeben(60, 50, 0, 0, 0, 0, 0, 255, "ABC", 'A', 12, false, false, rechts.get());
    EXPECT_EQ(rechts.Pixel(36, 50), RGB(0, 0, 255));
    EXPECT_EQ(rechts.Pixel(59, 65), RGB(0, 0, 255));
    EXPECT_EQ(rechts.Pixel(60, 50), clWhite);

    TPoint p1, p2;
    TextRechteck(50, 50, "ABCD", 't', 12, true, bild.get(), p1, p2);
    EXPECT_EQ(p1, (TPoint{34, 58}));
    EXPECT_EQ(p2, (TPoint{66, 42}));
    TextRechteck(10, 20, "AB", 'X', 12, false, bild.get(), p1, p2);
    EXPECT_EQ(p1, (TPoint{10, 36}));
    EXPECT_EQ(p2, (TPoint{26, 20}));
}

TEST(Texte, FontCodes) {
    Testbild gross(120, 40), klein(120, 40), arial(120, 40), fremd(120, 40);
    TextAusgeben(5, 5, 0, 0, 0, 255, 255, 255, "Hallo", 'T', 14, true, false, gross.get());
    TextAusgeben(5, 5, 0, 0, 0, 255, 255, 255, "Hallo", 't', 14, true, false, klein.get());
    EXPECT_EQ(gross.Kopie(), klein.Kopie());
    TextAusgeben(5, 5, 0, 0, 0, 255, 255, 255, "Hallo", 'A', 14, true, false, arial.get());
    fremd.Canvas()->Font()->SetName("Arial");
    TextAusgeben(5, 5, 0, 0, 0, 255, 255, 255, "Hallo", 'X', 14, true, false, fremd.get());
    EXPECT_EQ(arial.Kopie(), fremd.Kopie());
    EXPECT_NE(arial.Kopie(), gross.Kopie());
}
