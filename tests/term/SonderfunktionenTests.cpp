#include "term/USonderfunktionen.h"
#include "term/UTermZahl.h"
#include "term/UWahrscheinlichkeit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

tVarWerte Werte(double x = 0.5) {
    tVarWerte w;
    w.fill(0.7);
    w['p' - 'a'] = std::numbers::pi;
    w['x' - 'a'] = x;
    return w;
}

// After the power pass, which normalises, the blank of a positive number is gone.
std::string Z(Extended v) {
    std::string t = TermZahl::ZahlText(v);
    return "(" + (t[0] == ' ' ? t.substr(1) : t) + ")";
}
// Squares and cubes come after that pass and keep it.
std::string ZMitBlank(Extended v) { return "(" + TermZahl::ZahlText(v) + ")"; }

std::string Umschreiben(std::string t, bool* ok = nullptr, double x = 0.5) {
    bool o = false;
    SonderfunktionenAuswerten(t, o, Werte(x));
    if (ok)
        *ok = o;
    return t;
}

} // namespace

TEST(Sonderfunktionen, Binomial) {
    EXPECT_EQ(Umschreiben("B(4;0.5;2)"), "(3.75000000000000E-0001)");
    EXPECT_EQ(Umschreiben("B(10;0.5;3.7)"), Z(0));
    EXPECT_EQ(Umschreiben("B(2;0.5;3)"), Z(0));
    for (const char* t : {"B(3;1.5;1)", "B(-2;0.5;1)", "B(2.5;0.5;1)", "B(x;0.5;1)", "B(3;0.5)", "B(;0.5;1)"})
        EXPECT_EQ(Umschreiben(t), t);
    EXPECT_EQ(Umschreiben("B(3;p/4;1)"), Z(static_cast<double>(Binomialverteilung(3, 1, std::numbers::pi / 4))));
    EXPECT_EQ(Umschreiben("B(3;0.5;2!)"), Z(0.375));
    EXPECT_EQ(Umschreiben("B(2;0.5;1)+B(3;1.5;1)"), "B(2;0.5;1)+B(3;1.5;1)");
    EXPECT_EQ(Umschreiben("B(2;0.5;1)+B(4;0.5;2)"), Z(0.5) + "+" + Z(0.375));
}

TEST(Sonderfunktionen, CumulativeAndCoefficient) {
    EXPECT_EQ(Umschreiben("K(10;0.5;3.7)"), Z(0.171875));
    EXPECT_EQ(Umschreiben("BIN(5;2)"), Z(10));
    EXPECT_EQ(Umschreiben("$(2;5)"), "$(2;5)");
    EXPECT_EQ(Umschreiben("$(5;2.5)"), "$(5;2.5)");
    EXPECT_EQ(Umschreiben("F(11)"), Z(1));
    EXPECT_EQ(Umschreiben("F(-11)"), Z(0));
    EXPECT_EQ(Umschreiben("F(0)"), Z(Normalverteilung(0)));
    EXPECT_EQ(Umschreiben("Y(0.5)"), Z(0));
    EXPECT_EQ(Umschreiben("Y(1)"), "Y(1)");
    EXPECT_EQ(Umschreiben("Y(0)"), "Y(0)");
}

TEST(Sonderfunktionen, ArgumentsBeyondTheIntegerRangeAreRefused) {
    for (const char* t : {"B(5000000000;0.5;1)", "B(5;0.5;5000000000)", "K(5000000000;0.5;1)", "$(5000000000;1)",
                          "$(5;-5000000000)", "K(10;0.5;1E+0030)"})
        EXPECT_EQ(Umschreiben(t), t) << t;
    // Large arguments inside the range cost no more than small ones.
    EXPECT_EQ(Umschreiben("$(2000000000;1999999999)"), Z(2e9));
    EXPECT_EQ(Umschreiben("B(2000000000;0;0)"), Z(1));
    EXPECT_EQ(Umschreiben("K(2000000000;0.5;2000000000)"), Z(0)); // every term underflows
    std::string k = Umschreiben("K(2000000000;0.0000001;2000000000)");
    EXPECT_NEAR(static_cast<double>(TermZahl::ZahlOderNull(k.substr(1, k.size() - 2))), 1.0, 1e-8);
    bool ok = false;
    EXPECT_EQ(Umschreiben("5000000000!", &ok), "5000000000!");
    EXPECT_TRUE(ok);
}

TEST(Sonderfunktionen, Factorials) {
    EXPECT_EQ(Umschreiben("3!"), Z(6));
    EXPECT_EQ(Umschreiben("(1+2)!"), Z(6));
    EXPECT_EQ(Umschreiben("0!"), Z(1));
    EXPECT_EQ(Umschreiben("-3!"), "-" + Z(6));
    for (const char* t : {"2.5!", "(2.5+0.5)!", "x!", "!", "2.5!+3!", "(p)!"})
        EXPECT_EQ(Umschreiben(t), t) << t;
    std::string t = "171!";
    bool ok;
    EXPECT_THROW(SonderfunktionenAuswerten(t, ok, Werte()), EMathFehler);
}

TEST(Sonderfunktionen, Powers) {
    bool ok = false;
    EXPECT_EQ(Umschreiben("2^10", &ok), Z(1024));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Umschreiben("(x+1)^2", &ok, 0.5), Z(2.25));
    EXPECT_EQ(Umschreiben("2x^2", &ok, 0.5), "2" + Z(0.25));
    EXPECT_EQ(Umschreiben("(-2)^3", &ok), Z(-8));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Umschreiben("0^0", &ok), Z(1));
    EXPECT_EQ(Umschreiben("0^3", &ok), Z(0));
    EXPECT_EQ(Umschreiben("0^(-1)", &ok), Z(0));
    EXPECT_EQ(Umschreiben("2^(-1)", &ok), Z(0.5));
    EXPECT_EQ(Umschreiben("(-1)^1000000000000", &ok), Z(1));
    EXPECT_EQ(Umschreiben("(-0.5)^100000", &ok), Z(0));
    for (const char* t : {"2^-1", "(-8)^(1/3)", "2^", "^2", "2^1.2.3", "10^5000", "(-2)^(-100000)"}) {
        EXPECT_EQ(Umschreiben(t, &ok), t) << t;
        EXPECT_FALSE(ok) << t;
    }
}

TEST(Sonderfunktionen, SquaresAndCubesOfPlainNumbers) {
    EXPECT_EQ(Umschreiben("3\xB2"), "( 9.00000000000000E+0000)");
    EXPECT_EQ(Umschreiben("2\xB3"), ZMitBlank(8));
    EXPECT_EQ(Umschreiben("x\xB2"), "x\xB2");
    EXPECT_EQ(Umschreiben("(x+1)\xB2"), "(x+1)\xB2");
    bool ok = false;
    EXPECT_EQ(Umschreiben(" 2 sin x ", &ok), "2\xE4x");
    EXPECT_TRUE(ok);
}

TEST(Sonderfunktionen, RepeatedTermsGiveTheSameResult) {
    // The check rewrites the same texts at every sample, answer and solution in turn.
    for (int i = 0; i < 3; ++i) {
        bool ok = true;
        EXPECT_EQ(Umschreiben("2^-1", &ok), "2^-1");
        EXPECT_FALSE(ok);
        EXPECT_EQ(Umschreiben("B(4;0.5;2)", &ok), "(3.75000000000000E-0001)");
        EXPECT_TRUE(ok);
        EXPECT_EQ(Umschreiben("x^2", &ok, 0.5 + i), Z((0.5 + i) * (0.5 + i)));
        std::string t = "171!";
        EXPECT_THROW(SonderfunktionenAuswerten(t, ok, Werte()), EMathFehler);
    }
}

TEST(Sonderfunktionen, Search) {
    int s, e, a;
    SonderfunktionSuchen("B(1;0.5;1)+F(1)", s, e, a);
    EXPECT_EQ(s, 12);
    EXPECT_EQ(e, 15);
    EXPECT_EQ(a, 3);
    SonderfunktionSuchen("Bin(5;2)", s, e, a);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 8);
    EXPECT_EQ(a, 5);
    SonderfunktionSuchen("K(1;2", s, e, a);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 0);
    SonderfunktionSuchen("x+1", s, e, a);
    EXPECT_EQ(s, 0);
}

TEST(Sonderfunktionen, PowerAndFactorialOfABracketGroupAnywhere) {
    bool ok = false;
    // The base is the group that the bracket before the sign closes, wherever
    // the group stands, and with brackets inside it.
    EXPECT_EQ(Umschreiben("2(x+1)^2", &ok, 0.5), "2" + Z(2.25));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Umschreiben("y+(x+1)^2", &ok, 0.5), "y+" + Z(2.25));
    EXPECT_EQ(Umschreiben("3+(x+1)^2*y", &ok, 0.5), "3+" + Z(2.25) + "*y");
    EXPECT_EQ(Umschreiben("((5x)-6)^2", &ok, 0.5), Z(12.25));
    EXPECT_EQ(Umschreiben("1-((5x)-6)^2", &ok, 0.5), "1-" + Z(12.25));
    EXPECT_EQ(Umschreiben("(y^2)^3", &ok), Z(0.7 * 0.7 * 0.7 * 0.7 * 0.7 * 0.7));
    EXPECT_EQ(Umschreiben("x(y^2)^3", &ok), "x" + Z(0.7 * 0.7 * 0.7 * 0.7 * 0.7 * 0.7));
    EXPECT_EQ(Umschreiben("(W(x+3.5))^2", &ok, 0.5), Z(4));
    EXPECT_EQ(Umschreiben("x+(W(x+3.5))^2", &ok, 0.5), "x+" + Z(4));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Umschreiben("2*(3)!"), "2*" + Z(6));
    EXPECT_EQ(Umschreiben("(3)!*2"), Z(6) + "*2");
    EXPECT_EQ(Umschreiben("x-((1+1)+1)!"), "x-" + Z(6));
    // A function in front of the group applies to the power.
    EXPECT_EQ(Umschreiben("sin(x)^2", &ok, 0.5), "\xE4" + Z(0.25));
    EXPECT_EQ(Umschreiben("1+cos(x)^2", &ok, 0.5), "1+\xC4" + Z(0.25));
    // A bracket without its partner reaches back to the start and is refused.
    for (const char* t : {"x+1)^2", "(x+1))^2", "2+3)!"})
        EXPECT_EQ(Umschreiben(t), t) << t;
}

TEST(Sonderfunktionen, PowersInsideExponentsAndOperands) {
    bool ok = false;
    // The inner power goes first; the evaluator would read 2^2 as 2-2.
    EXPECT_EQ(Umschreiben("2^(2^2)", &ok), Z(16));
    EXPECT_EQ(Umschreiben("2^(2^(2^2))", &ok), Z(65536));
    EXPECT_EQ(Umschreiben("x+2^(1+(x+0.5)^2)", &ok, 0.5), "x+" + Z(4));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Umschreiben("3*2^(x+1)-1", &ok, 0.5), "3*" + Z(std::pow(2.0, 1.5)) + "-1");
    EXPECT_EQ(Umschreiben("(2^2)!+1", &ok), Z(24) + "+1");
    EXPECT_EQ(Umschreiben("2^(2^-1)", &ok), "2^(2^-1)");
    EXPECT_FALSE(ok);
    // A refused power inside an argument list leaves the notation alone.
    EXPECT_EQ(Umschreiben("F(2^-1)", &ok), "F(2^-1)");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Umschreiben("(x^2)!", &ok, 0.5), "(" + Z(0.25) + ")!");
}
