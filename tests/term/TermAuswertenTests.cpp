#include "term/UTermAuswerten.h"
#include "term/UTermNormal.h"
#include "term/UTermZahl.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <numbers>

namespace {

tVarWerte Werte(double x = 1.0) {
    tVarWerte w;
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = 0.5 + 0.1 * static_cast<double>(i);
    w['p' - 'a'] = std::numbers::pi;
    w['x' - 'a'] = x;
    return w;
}

struct tErgebnis {
    bool Ok;
    std::string Text;
    int Fehler;
};

tErgebnis Auswerten(const std::string& t, double x = 1.0) {
    tErgebnis e{false, "", -1};
    e.Ok = TermAuswerten(t, e.Text, Werte(x), e.Fehler);
    return e;
}

double Wert(const std::string& t, double x = 1.0) {
    tErgebnis e = Auswerten(t, x);
    EXPECT_TRUE(e.Ok) << t;
    return static_cast<double>(TermZahl::ZahlOderNull(e.Text.substr(1)) * (e.Text[0] == '-' ? -1 : 1));
}

} // namespace

TEST(ZahlText, HasTheFixedScientificShape) {
    EXPECT_EQ(TermZahl::ZahlText(1500), " 1.50000000000000E+0003");
    EXPECT_EQ(TermZahl::ZahlText(-0.375L), "-3.75000000000000E-0001");
    EXPECT_EQ(TermZahl::ZahlText(0), " 0.00000000000000E+0000");
    EXPECT_EQ(TermZahl::ZahlText(-0.0L), " 0.00000000000000E+0000");
    EXPECT_EQ(TermZahl::ZahlText(1e-4000L), " 1.00000000000000E-4000");
    EXPECT_EQ(TermZahl::ZahlText(1.0L / 3), " 3.33333333333333E-0001");
}

TEST(ZahlText, AgreesWithTheLibraryConversion) {
    // The fast path may round the 15th digit differently only when the value
    // lies within a hair of a half; never by more than one unit there.
    uint64_t z = 88172645463325252ull;
    int abweichend = 0;
    for (int i = 0; i < 20000; ++i) {
        z ^= z << 13;
        z ^= z >> 7;
        z ^= z << 17;
        Extended x = std::ldexp(static_cast<Extended>(z >> 11), static_cast<int>(z % 140) - 110);
        if (i % 3 == 0)
            x = -x;
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
        Extended exakt = 0, schnell = 0;
        ASSERT_TRUE(TermZahl::ZahlLesen(std::string(buf, r.ptr), exakt));
        std::string t = TermZahl::ZahlText(x);
        ASSERT_EQ(t.size(), 23u) << t;
        ASSERT_TRUE(TermZahl::ZahlLesen(t, schnell)) << t;
        if (schnell != exakt) {
            ++abweichend;
            EXPECT_LE(std::fabs(schnell - exakt), std::fabs(exakt) * 1.01e-14L) << t;
        }
    }
    EXPECT_LT(abweichend, 20);
    for (Extended x : {1e15L, 999999999999999.5L, 9.999999999999995L, 1e-27L, 1e27L, 1e300L, 1e-300L})
        EXPECT_EQ(TermZahl::ZahlText(x).size(), 23u);
    EXPECT_EQ(TermZahl::ZahlText(9.9999999999999999L), " 1.00000000000000E+0001");
    EXPECT_EQ(TermZahl::ZahlText(1e300L), " 1.00000000000000E+0300");
    EXPECT_EQ(TermZahl::ZahlText(123456789012345678.0L), " 1.23456789012346E+0017");
}

TEST(ZahlText, ReadsBackAndRejectsNonNumbers) {
    Extended x = 0;
    ASSERT_TRUE(TermZahl::ZahlLesen("-3.75000000000000E-0001", x));
    EXPECT_EQ(x, -0.375L);
    ASSERT_TRUE(TermZahl::ZahlLesen(".5", x));
    EXPECT_EQ(x, 0.5L);
    ASSERT_TRUE(TermZahl::ZahlLesen("1E-9999", x));
    EXPECT_EQ(x, 0.0L);
    for (const char* s : {"", "-", ".", "1.2.3", "E+0001", "1E", "1x", "--1"})
        EXPECT_FALSE(TermZahl::ZahlLesen(s, x)) << s;
    EXPECT_THROW(TermZahl::ZahlLesen("1E+9999", x), EMathFehler);
    EXPECT_EQ(TermZahl::ZahlOderNull("abc"), 0.0L);
}

TEST(ZahlText, CheckedArithmeticRaises) {
    EXPECT_THROW(TermZahl::Mul(1e4000L, 1e4000L), EMathFehler);
    EXPECT_THROW(TermZahl::Div(1, 0), EMathFehler);
    try {
        TermZahl::Div(0, 0);
        FAIL();
    } catch (const EMathFehler& e) {
        EXPECT_EQ(e.Art, EMathFehler::Ungueltig);
    }
    EXPECT_THROW(TermZahl::AlsDouble(1e309L), EMathFehler);
    EXPECT_EQ(TermZahl::AlsDouble(1e-4000L), 0.0);
    int32_t n = 0;
    EXPECT_FALSE(TermZahl::NintInt32(3e9L, n));
    EXPECT_TRUE(TermZahl::NintInt32(2.5L, n));
    EXPECT_EQ(n, 2);
}

TEST(TermAuswerten, ResultTexts) {
    EXPECT_EQ(Auswerten("8/2*4").Text, " 1.60000000000000E+0001");
    EXPECT_EQ(Auswerten("-2\xB2").Text, "-4.00000000000000E+0000");
    EXPECT_EQ(Auswerten("3\xB2").Text, " 9.00000000000000E+0000");
    EXPECT_EQ(Auswerten("2+3*4").Text, " 1.40000000000000E+0001");
    EXPECT_EQ(Auswerten("3*(-2)").Text, "-6.00000000000000E+0000");
    EXPECT_EQ(Auswerten("2-(-3)").Text, " 5.00000000000000E+0000");
}

TEST(TermAuswerten, PowersBindBeforeTheirLeftNeighbour) {
    EXPECT_DOUBLE_EQ(Wert("2/(x+1)\xB2", 1.0), 0.5);
    EXPECT_DOUBLE_EQ(Wert("1/x\xB2", 2.0), 0.25);
    EXPECT_DOUBLE_EQ(Wert("1/2\xB2"), 0.25);
    EXPECT_DOUBLE_EQ(Wert("(x+1)\xB3", 1.0), 8.0);
    EXPECT_NEAR(Wert("sin(x+1)\xB2", 0.5), std::sin(2.25), 1e-13);
    EXPECT_DOUBLE_EQ(Wert("x\xB2", 3.0), 9.0);
}

TEST(TermAuswerten, ImplicitProducts) {
    for (const char* t : {"2x", "2(x)", "x2", "(x)2"})
        EXPECT_DOUBLE_EQ(Wert(t, 1.5), 3.0) << t;
    tVarWerte w = Werte();
    double xy = w['x' - 'a'] * w['y' - 'a'];
    EXPECT_NEAR(Wert("xy"), xy, 1e-13);
    EXPECT_NEAR(Wert("(x+1)(x-1)", 3.0), 8.0, 1e-13);
    EXPECT_NEAR(Wert("sin x*y"), std::sin(1.0) * w['y' - 'a'], 1e-13);
    EXPECT_NEAR(Wert("2sin x"), 2 * std::sin(1.0), 1e-13);
    EXPECT_NEAR(Wert("p"), std::numbers::pi, 1e-14);
}

TEST(TermAuswerten, Functions) {
    EXPECT_DOUBLE_EQ(Wert("W(9)"), 3.0);
    EXPECT_DOUBLE_EQ(Wert("abs(-2.5)"), 2.5);
    EXPECT_NEAR(Wert("ln(exp(2))"), 2.0, 1e-14);
    EXPECT_NEAR(Wert("lg(1000)"), 3.0, 1e-14);
    EXPECT_NEAR(Wert("log(100)"), 2.0, 1e-14);
    EXPECT_NEAR(Wert("arctan(1)*4"), std::numbers::pi, 1e-14);
    EXPECT_NEAR(Wert("arccos(0)"), std::numbers::pi / 2, 1e-14);
    EXPECT_NEAR(Wert("tan(x)", 0.5), std::tan(0.5), 1e-14);
    EXPECT_NEAR(Wert("sin(-x)", 0.5), -std::sin(0.5), 1e-14);
}

TEST(TermAuswerten, InvalidTermsGiveCodeZero) {
    for (const char* t : {"3*-2", "()", "(x+1", "x+1)", "2.x", "sin-x", "", "*2", "2+", "\xB2" "2", "2+*3", ")(", "\xE4"}) {
        tErgebnis e = Auswerten(t);
        EXPECT_FALSE(e.Ok) << t;
        EXPECT_EQ(e.Fehler, 0) << t;
    }
}

TEST(TermAuswerten, ArithmeticFailuresGiveTheirCodes) {
    struct {
        const char* Term;
        int Code;
    } const faelle[] = {{"2/0", 8},   {"W(-4)", 7},  {"ln(0)", 10},   {"lg(-1)", 11}, {"arcsin(2)", 7},
                        {"arccos(-1.5)", 7}, {"1/(x-1)", 8}, {"ln(x-2)", 10}, {"2/0+W(-1)", 8}};
    for (const auto& f : faelle) {
        tErgebnis e = Auswerten(f.Term, 1.0);
        EXPECT_FALSE(e.Ok) << f.Term;
        EXPECT_EQ(e.Fehler, f.Code) << f.Term;
    }
}

TEST(TermAuswerten, NumberTextsAreReadAsOneNumber) {
    EXPECT_DOUBLE_EQ(Wert("1.5E+0003+1"), 1501.0);
    EXPECT_DOUBLE_EQ(Wert("2*(-3.75000000000000E-0001)"), -0.75);
    EXPECT_DOUBLE_EQ(Wert("( 9.00000000000000E+0000)x", 2.0), 18.0);
}

TEST(TermAuswerten, OverflowRaises) {
    std::string r;
    int f = 0;
    EXPECT_THROW(TermAuswerten("exp(100000)", r, Werte(), f), EMathFehler);
    EXPECT_THROW(TermAuswerten("1E+4000*1E+4000", r, Werte(), f), EMathFehler);
}

TEST(TermAuswerten, LongPiecesDoNotOverrun) {
    std::string t = "1";
    for (int i = 0; i < 300; ++i)
        t += "+1";
    EXPECT_DOUBLE_EQ(Wert(t), 301.0);
    std::string k(200, '(');
    k += "2";
    k += std::string(200, ')');
    EXPECT_DOUBLE_EQ(Wert(k), 2.0);
}
