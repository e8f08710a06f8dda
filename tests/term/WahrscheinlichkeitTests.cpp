#include "term/UWahrscheinlichkeit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

TEST(Wahrscheinlichkeit, Fakultaet) {
    EXPECT_EQ(Fakultaet(0), 1.0L);
    EXPECT_EQ(Fakultaet(-3), 1.0L);
    EXPECT_EQ(Fakultaet(5), 120.0L);
    EXPECT_LT(Fakultaet(170), static_cast<Extended>(DBL_MAX));
    EXPECT_GT(Fakultaet(171), static_cast<Extended>(DBL_MAX));
    EXPECT_THROW(TermZahl::AlsDouble(Fakultaet(171)), EMathFehler);
    // Overflows at 1755 instead of looping two billion times.
    EXPECT_THROW(Fakultaet(2000000000), EMathFehler);
}

TEST(Wahrscheinlichkeit, Binomialkoeffizient) {
    EXPECT_EQ(Binomialkoeffizient(5, 2), 10.0);
    EXPECT_EQ(Binomialkoeffizient(5, 3), 10.0);
    EXPECT_EQ(Binomialkoeffizient(7, 0), 1.0);
    EXPECT_EQ(Binomialkoeffizient(3, 5), 0.0);
    EXPECT_EQ(Binomialkoeffizient(-3, 2), 6.0);
    EXPECT_EQ(Binomialkoeffizient(2000000000, 1999999999), 2000000000.0);
    EXPECT_THROW(Binomialkoeffizient(2000000000, 1000000000), EMathFehler);
}

TEST(Wahrscheinlichkeit, Binomialverteilung) {
    EXPECT_EQ(Binomialverteilung(4, 2, 0.5), 0.375L);
    EXPECT_NEAR(static_cast<double>(Binomialverteilung(3, 0, 0.2)), 0.512, 1e-15);
    EXPECT_EQ(Binomialverteilung(2, 3, 0.5), 0.0L);
    EXPECT_EQ(Binomialverteilung(5, 0, 0.0), 1.0L);
    EXPECT_EQ(Binomialverteilung(5, 2, 0.0), 0.0L);
    // Huge n: closed form instead of billions of steps.
    EXPECT_EQ(Binomialverteilung(2000000000, 2000000000, 1.0), 1.0L);
    EXPECT_EQ(Binomialverteilung(2000000000, 1, 0.5), 0.0L);
    EXPECT_NEAR(static_cast<double>(Binomialverteilung(20000, 10000, 0.5)), 0.00564182, 1e-8);
    // Both ways agree where they meet.
    EXPECT_NEAR(static_cast<double>(Binomialverteilung(1001, 500, 0.5) / Binomialverteilung(1001, 501, 0.5)), 1.0, 1e-12);
}

TEST(Wahrscheinlichkeit, KumulierteBinomialverteilung) {
    EXPECT_EQ(KumulierteBinomialverteilung(4, -1, 0.3), 0.0L);
    EXPECT_NEAR(static_cast<double>(KumulierteBinomialverteilung(4, 4, 0.3)), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(KumulierteBinomialverteilung(10, 3, 0.5)), 0.171875, 1e-15);
    Extended direkt = 0;
    for (int i = 0; i <= 150; ++i)
        direkt += Binomialverteilung(200, i, 0.6);
    EXPECT_NEAR(static_cast<double>(KumulierteBinomialverteilung(200, 150, 0.6)), static_cast<double>(direkt),
                1e-14);
    EXPECT_THROW(KumulierteBinomialverteilung(200, 150, 1.0), EMathFehler);
    EXPECT_NEAR(static_cast<double>(KumulierteBinomialverteilung(2000000000, 2000000000, 0.5)), 0.0, 1e-300);
}

TEST(Wahrscheinlichkeit, Normalverteilung) {
    EXPECT_NEAR(Normalverteilung(0), 0.5, 1e-15);
    EXPECT_NEAR(Normalverteilung(10), 1.0, 1e-15);
    EXPECT_EQ(Normalverteilung(-10), 0.0);
    EXPECT_EQ(std::round(Normalverteilung(1) * 1e8) / 1e8, 0.84134477);
    EXPECT_NEAR(Normalverteilung(1.96), 0.97500, 5e-6);
    EXPECT_LT(Normalverteilung(-11), 0.0);
    EXPECT_NEAR(Normaldichte(0), 0.3989422804014327, 1e-16);
}

TEST(Wahrscheinlichkeit, InverseNormalverteilung) {
    EXPECT_EQ(InverseNormalverteilung(0.5), 0.0);
    EXPECT_EQ(InverseNormalverteilung(0), 0.0);
    EXPECT_EQ(InverseNormalverteilung(1), 0.0);
    EXPECT_EQ(InverseNormalverteilung(1.5), 0.0);
    EXPECT_EQ(InverseNormalverteilung(NAN), 0.0);
    EXPECT_NEAR(InverseNormalverteilung(0.975), 1.95996, 5e-6);
    EXPECT_EQ(InverseNormalverteilung(1e-12), -7.5);
    double x = InverseNormalverteilung(1 - 1e-12);
    EXPECT_NEAR(Normalverteilung(x), 1 - 1e-12, 1e-9);
}
