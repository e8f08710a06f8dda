#include "drawing/URender.h"
#include "drawing/UZeichnen2.h"

#include "platform/Forms.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>

TEST(Zahltexte, ShortestDecimalsAndAmounts) {
    EXPECT_EQ(ZahlAlsText(2.5), "2.5");
    EXPECT_EQ(ZahlAlsText(3.0), "3");
    EXPECT_EQ(ZahlAlsText(0.1 + 0.2), "0.3");
    EXPECT_EQ(ZahlAlsText(1e-12), "0");
    EXPECT_EQ(ZahlAlsText(-0.0000000000001), "0");
    EXPECT_EQ(ZahlAlsText(1.0 / 3), "0.33333333333");
    EXPECT_EQ(ZahlAlsText(12345678901.5), "12345678901.5");
    EXPECT_EQ(BetragAlsText(0.1), "0.10");
    EXPECT_EQ(BetragAlsText(2.55), "2.55");
    EXPECT_EQ(BetragAlsText(10), "10");
    EXPECT_EQ(KommaZuPunkt("1,5,2"), "1.5.2");
}

TEST(Zahltexte, RoundingHalvesAwayFromZero) {
    EXPECT_EQ(Runden(2.345, 2), 2.35);
    EXPECT_EQ(Runden(-2.345, 2), -2.35);
    EXPECT_EQ(Runden(2.344, 2), 2.34);
    // A factor beyond 64 bits, or a product too large, leaves x unchanged.
    EXPECT_EQ(Runden(1.23456, 25), 1.23456);
    EXPECT_EQ(Runden(1e300, 2), 1e300);
    EXPECT_EQ(RundenHalbAuf(2.5), 3);
    EXPECT_EQ(RundenHalbAuf(-2.5), -3);
    EXPECT_EQ(RundenHalbAuf(2.4999996), 3);
    EXPECT_EQ(RundenHalbAuf(2.49999), 2);
    EXPECT_EQ(RundenHalbAuf(1e40L), INT64_MAX);
}

TEST(Zahltexte, DigitGroupsCountTheSignLikeADigit) {
    EXPECT_EQ(ZahlGegliedert(999), "999");
    EXPECT_EQ(ZahlGegliedert(1000), "1 000");
    EXPECT_EQ(ZahlGegliedert(1000000), "1 000 000");
    EXPECT_EQ(ZahlGegliedert(-99), "-99");
    EXPECT_EQ(ZahlGegliedert(-1000), "-1 000");
    EXPECT_EQ(ZahlGegliedert(-100), "- 100");
    EXPECT_EQ(ZahlGegliedert(-100000), "- 100 000");
    EXPECT_EQ(ZahlGegliedert(INT_MIN), "-2 147 483 648");
}

TEST(Zufallsentscheidung, ZeroHoldsOnlyForTheDrawZeroAndTheStreamStaysTheSame) {
    // p = 0 holds exactly when the draw is 0: once in 100001 draws.
    int Treffer = 0;
    Runtime::SetRandSeed(12345);
    for (int i = 0; i < 400000; ++i) {
        const uint32_t Vorher = Runtime::RandSeed();
        const bool Null = Runtime::Random(100001) == 0;
        Runtime::SetRandSeed(Vorher);
        const bool Wahr = Zufallsentscheidung(0);
        ASSERT_EQ(Wahr, Null) << i;
        Treffer += Wahr;
    }
    EXPECT_GT(Treffer, 0);
    EXPECT_LT(Treffer, 10);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(Zufallsentscheidung(1));
    // p = 0.5 holds exactly for the draws 0 .. 50000; p = 0 draws as well.
    Runtime::SetRandSeed(777);
    std::vector<bool> erwartet;
    for (int i = 0; i < 500; ++i)
        erwartet.push_back(Runtime::Random(100001) <= 50000);
    const uint32_t danach = Runtime::RandSeed();
    Runtime::SetRandSeed(777);
    for (int i = 0; i < 499; ++i)
        ASSERT_EQ(Zufallsentscheidung(0.5), erwartet[i]) << i;
    Zufallsentscheidung(0);
    EXPECT_EQ(Runtime::RandSeed(), danach);
}

TEST(Punkte, TurningConversionsAndClockAngles) {
    TRealPunkt p = PunktDrehen(RealPunkt(10, 0), RealPunkt(0, 0), 90);
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.y, 10, 1e-12);
    p = PunktDrehen(RealPunkt(12, 5), RealPunkt(2, 5), 180);
    EXPECT_NEAR(p.x, -8, 1e-12);
    EXPECT_NEAR(p.y, 5, 1e-12);
    EXPECT_EQ(PunktAusRealPunkt(RealPunkt(2.9, -2.9)), (TPoint{2, -2}));
    EXPECT_EQ(PunktAusRealPunkt(RealPunkt(1e20, -1e20)), (TPoint{INT_MAX, INT_MIN}));
    EXPECT_NEAR(Potenz(1000, 1.0 / 3), 10, 1e-12);
    EXPECT_EQ(Potenz(0, 0.5), 0);

    EXPECT_DOUBLE_EQ(StundenzeigerWinkel(3, 0, 0), 90);
    EXPECT_DOUBLE_EQ(StundenzeigerWinkel(3, 30, 0), 105);
    EXPECT_DOUBLE_EQ(MinutenzeigerWinkel(10, 30), 63);
}

TEST(Warten, NonPositiveTimesReturnAtOnce) {
    // A negative time must not turn into some fifty days of the unsigned tick count.
    EXPECT_TRUE(Warten(0));
    EXPECT_TRUE(Warten(-5));
    EXPECT_TRUE(Warten2(-1));
    EXPECT_TRUE(Warten(2));
}

TEST(Warten, AnAnimationLoopEndsWhenItsFormCloses) {
    // The folding animations loop on the wait; closing the form must end the loop.
    TForm f(nullptr);
    // At most a minute of frames: a loop that missed the close stops there.
    constexpr int Hoechstens = 6000;
    int bilder = 0;
    f.OnActivate = [&](TObject*) {
        // Closed from the event loop once three frames are drawn.
        QTimer Schliessen;
        QObject::connect(&Schliessen, &QTimer::timeout, [&] {
            if (bilder >= 3) f.SetModalResult(mrOk);
        });
        Schliessen.start(5);
        while (bilder < Hoechstens && Warten2(10, &f))
            ++bilder;
    };
    EXPECT_EQ(f.ShowModal(), mrOk);
    EXPECT_GE(bilder, 3);
    EXPECT_LT(bilder, Hoechstens);
}
