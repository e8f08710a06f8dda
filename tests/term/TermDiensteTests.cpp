#include "platform/Runtime.h"
#include "term/UTerm.h"
#include "term/UTermFormular.h"
#include "term/UTermZahl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

TEST(Runden, HalvesAwayFromZero) {
    EXPECT_EQ(Runden2(2.5L), 3);
    EXPECT_EQ(Runden2(-2.5L), -3);
    EXPECT_EQ(Runden2(2.4999996L), 3);
    EXPECT_EQ(Runden2(2.49L), 2);
    EXPECT_EQ(Runden2(0.0L), 0);
    EXPECT_EQ(Runden2(1e30L), INT64_MAX);
    EXPECT_DOUBLE_EQ(StellenRunden2(1, 2.25), 2.3);
    EXPECT_DOUBLE_EQ(StellenRunden2(1, 3.45), 3.5);
    EXPECT_DOUBLE_EQ(StellenRunden2(0, 7.5), 8.0);
    EXPECT_DOUBLE_EQ(StellenRunden2(2, -1.005), -1.01); // the five-decimal text reads 100.50000
    EXPECT_DOUBLE_EQ(StellenRunden2(19, 1.25), 1.25);
    EXPECT_DOUBLE_EQ(StellenRunden2(3, 1e300), 1e300);
}

TEST(AlleErsetzen, ReplacedTextIsNotSearchedAgain) {
    std::string s = "aaa";
    AlleErsetzen1(s, "a", "aa");
    EXPECT_EQ(s, "aaaaaa");
    AlleErsetzen3(s, "", "x");
    EXPECT_EQ(s, "aaaaaa");
    QString q = QStringLiteral("Kxx A1.3");
    AlleErsetzen1(q, QStringLiteral("x"), QStringLiteral("X"));
    EXPECT_EQ(q, QStringLiteral("KXX A1.3"));
}

TEST(ZufallsPermutation, EveryValueOnce) {
    Runtime::SetRandSeed(99);
    std::array<int, 6> a{};
    a.fill(-1);
    ZufallsPermutation1(a, 5);
    std::array<int, 6> b = a;
    std::sort(b.begin(), b.end());
    EXPECT_EQ(b, (std::array<int, 6>{0, 1, 2, 3, 4, 5}));
    std::array<int, 1> c{7};
    ZufallsPermutation1(c, 0);
    EXPECT_EQ(c[0], 0);
    std::array<int, 3> d{7, 7, 7};
    ZufallsPermutation1(d, 5); // too small for 0..5: left alone
    ZufallsPermutation1(d, -1);
    EXPECT_EQ(d, (std::array<int, 3>{7, 7, 7}));
    std::vector<int> gross(150, -1);
    ZufallsPermutation1(gross, 149);
    std::sort(gross.begin(), gross.end());
    EXPECT_EQ(gross.front(), 0);
    EXPECT_EQ(gross.back(), 149);
    EXPECT_EQ(std::adjacent_find(gross.begin(), gross.end()), gross.end());
}

TEST(TermWert, ValueOfAnAnswer) {
    EXPECT_EQ(TermWert2("x", ""), 0.0);
    EXPECT_DOUBLE_EQ(TermWert2("x", "3,5"), 3.5);
    EXPECT_DOUBLE_EQ(TermWert3("2x+1", "4"), 9.0);
    EXPECT_DOUBLE_EQ(TermWert2(QStringLiteral("x"), QString::fromUtf8("√16")), 4.0);
    EXPECT_EQ(TermWert2("x", "1E+4000*1E+4000"), 0.0); // never raises
    uint32_t seed = Runtime::RandSeed();
    TermWert2("x+y", "1");
    EXPECT_EQ(Runtime::RandSeed(), seed);
}

TEST(TermWert, SetupNumbers) {
    bool g = false;
    EXPECT_DOUBLE_EQ(TermWertGueltig1("120", "0", g), 120.0);
    EXPECT_TRUE(g);
    EXPECT_DOUBLE_EQ(TermWertGueltig1("2*40", "0", g), 80.0);
    EXPECT_TRUE(g);
    EXPECT_DOUBLE_EQ(TermWertGueltig1("2^3+3!", "0", g), 14.0);
    EXPECT_TRUE(g);
    EXPECT_NEAR(TermWertGueltig1("e", "0", g), std::exp(1.0), 1e-13);
    TermWertGueltig1("12a", "0", g);
    EXPECT_TRUE(g);
    TermWertGueltig1("2^-1", "0", g);
    EXPECT_FALSE(g);
    TermWertGueltig1("X", "0", g);
    EXPECT_FALSE(g);
    // An overflow is no number: it goes to the caller.
    EXPECT_THROW(TermWertGueltig1("171!", "0", g), EMathFehler);
    EXPECT_FALSE(g);
    EXPECT_EQ(TermWertGueltig1("", "0", g), 0.0);
    EXPECT_FALSE(g);
    EXPECT_EQ(ZeichenZaehlen1("1.3.2", '.'), 2);
}
