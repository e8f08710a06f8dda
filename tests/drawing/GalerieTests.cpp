// Renders the figures and nets into PNG files of the test output folder, to be
// looked at by eye; the test itself only checks that something was drawn.
#include "Testbild.h"

#include "drawing/UNetzbau.h"
#include "drawing/URender.h"
#include "drawing/UZeichnen2.h"

#include <QDir>

#include <cmath>

#include <gtest/gtest.h>

namespace {

void Speichern(const Testbild& bild, const QString& name) {
    const QString ordner = QStringLiteral(PRAVOLIN_TEST_OUTPUT);
    ASSERT_TRUE(QDir().mkpath(ordner));
    const QString datei = ordner + QLatin1Char('/') + name + QStringLiteral(".png");
    ASSERT_TRUE(bild.Kopie().save(datei)) << datei.toStdString();
    EXPECT_GT(bild.Gefaerbt(), 100) << name.toStdString();
}

const tFarbfeld kFarbenSchwarz{RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 200, 255),
                               RGB(255, 0, 0),   RGB(0, 0, 255), RGB(200, 100, 50)};
const tFarbfeld kFarbenWeiss{RGB(255, 125, 0), RGB(0, 130, 0), RGB(0, 135, 255),
                             RGB(225, 0, 0),   RGB(0, 0, 255), RGB(150, 100, 0)};

} // namespace

TEST(Galerie, CompositeFigures) {
    Testbild koerper(520, 220);
    ZylinderZeichnen(70, 180, 50, 100, 0, 120, 255, 150, 200, 255, true, koerper.get());
    ZylinderZeichnen(190, 180, 40, 60, 255, 160, 0, 0, 0, 0, false, koerper.get());
    QuaderZeichnen(260, 190, 100, 60, 60, 255, 0, 0, 200, 0, 0, 255, 120, 120, koerper.get());
    WuerfelZeichnen(400, 190, 80, 0, 160, 0, 0, 110, 0, 120, 220, 120, koerper.get());
    Speichern(koerper, QStringLiteral("zylinder_quader_wuerfel"));

    Testbild gewichte(520, 220);
    int x = 10;
    for (int masse : {10, 100, 500, 1000, 2000, 5000}) {
        const int halb = static_cast<int>(27 * std::cbrt(masse) * 0.12) + 1;
        GewichtZeichnen(x + halb, 200, 150, 150, 160, masse, 9, QString::number(masse) + " g", true, 1,
                        gewichte.get());
        x += 2 * halb + 8;
    }
    Speichern(gewichte, QStringLiteral("gewichte"));

    Testbild ziffern(420, 180);
    for (int z = 0; z < 10; ++z)
        SiebenSegmentZiffer(10 + 40 * z, 10, 60, z, 255, 0, 0, 80, 0, 0, ziffern.get());
    DigitaluhrZeichnen(10, 100, 48, 13, 7, 45, 0, 200, 0, 0, 60, 0, true, true, true, true, ziffern.get());
    Speichern(ziffern, QStringLiteral("ziffern_digitaluhr"));

    Testbild uhren(420, 210);
    AnalogUhrZeichnen(100, 105, 95, 3, 30, 0, true, true, false, uhren.get());
    AnalogUhrZeichnen(310, 105, 95, 0, 10, 30, true, true, true, uhren.get());
    Speichern(uhren, QStringLiteral("analoguhren"));

    Testbild pfeile(300, 200);
    PfeilZeichnen(20, 180, 150, 60, 0, 0, 0, false, "v", pfeile.get());
    PfeilZeichnen(20, 20, 120, 20, 0, 0, 255, true, "", pfeile.get());
    VektorpfeilZeichnen(160, 170, 280, 120, 200, 0, 0, false, "a", pfeile.get());
    VektorpfeilZeichnen(160, 100, 280, 40, 0, 130, 0, true, "b", pfeile.get());
    GitterZeichnen(20, 110, 200, 40, 10, 10, 180, 180, 180, pfeile.get());
    Speichern(pfeile, QStringLiteral("pfeile_gitter"));
}

TEST(Galerie, NetsOfBothCopies) {
    Testbild flach(530, 530);
    tAnsicht a;
    a.Drehung = EinheitsMatrix1();
    a.Bild = flach.get();
    WuerfelnetzZeichnen1(kFarbenSchwarz, true, true, 3.6, 0, true, a);
    Speichern(flach, QStringLiteral("wuerfelnetz_flach"));

    Testbild halb(530, 530);
    a.Bild = halb.get();
    a.Drehung = MatrixProdukt1(DrehmatrixX1(-50 * M_PI / 180), DrehmatrixZ1(20 * M_PI / 180));
    QuadernetzZeichnenWeiss1(kFarbenWeiss, true, true, 6, 4, 2, 45, true, a);
    Speichern(halb, QStringLiteral("quadernetz_halb_weiss"));

    Testbild zu(530, 530);
    a.Bild = zu.get();
    a.Drehung = MatrixProdukt1(DrehmatrixX1(20 * M_PI / 180), DrehmatrixY1(40 * M_PI / 180));
    WuerfelnetzZeichnen1(kFarbenSchwarz, true, true, 3.6, 90, true, a);
    Speichern(zu, QStringLiteral("wuerfel_geschlossen"));

    Testbild draht(530, 530);
    a.Bild = draht.get();
    WuerfelnetzZeichnen1(kFarbenSchwarz, false, true, 3.6, 60, true, a);
    Speichern(draht, QStringLiteral("wuerfel_draht"));

    using Bauer = tFlaechenfeld (*)(const tFarbfeld&, bool, bool, double, double, bool, const tAnsicht&);
    const Bauer netze[] = {NetzEinsZeichnen2, NetzZweiZeichnen2, NetzDreiZeichnen2, NetzVierZeichnen2};
    for (int n = 0; n < 4; ++n) {
        Testbild netz(400, 400), wuerfel(240, 200);
        tAnsicht b;
        b.Drehung = EinheitsMatrix2();
        b.Bild = netz.get();
        HintergrundFuellen2(0, 0, 0, netz.get());
        netze[n](kFarbenSchwarz, true, false, 3.6, 0, true, b);
        Speichern(netz, QStringLiteral("netz%1_flach").arg(n + 1));
        b.Bild = wuerfel.get();
        b.Drehung = MatrixProdukt2(DrehmatrixX2(20 * M_PI / 180), DrehmatrixY2(40 * M_PI / 180));
        HintergrundFuellen2(0, 0, 0, wuerfel.get());
        netze[n](kFarbenSchwarz, true, false, 7.2, 90, true, b);
        Speichern(wuerfel, QStringLiteral("netz%1_gefaltet").arg(n + 1));
    }
}
