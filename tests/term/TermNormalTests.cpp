#include "term/UTermNormal.h"

#include <gtest/gtest.h>

namespace {
std::string N(std::string s) {
    TermNormalisieren(s);
    return s;
}
std::string K(std::string s) {
    TermNormalisierenKomma(s);
    return s;
}
} // namespace

TEST(TermNormalisieren, TokenBytes) {
    EXPECT_EQ(N("2sin x"), "2\xE4x");
    EXPECT_EQ(N("3,5 \xB7 w"), "3.5*\xD6");
    EXPECT_EQ(N("BIN(5;2)"), "$(5;2)");
    EXPECT_EQ(N("Bin(5;2)"), "$(5;2)");
    EXPECT_EQ(N("bin(5;2)"), "$(5;2)");
    EXPECT_EQ(N("W"), "\xD6");
    EXPECT_EQ(N("arcsin(x)"), "\xA7(x)");
    EXPECT_EQ(N("arccos(x)+arctan(x)"), "\xA8(x)+\\(x)");
    EXPECT_EQ(N("log(x)"), "\xF6(x)");
    EXPECT_EQ(N("lg(x)"), "\xF6(x)");
    EXPECT_EQ(N("ln(x)+exp(x)+abs(x)"), "\xFC(x)+\xDC(x)+@(x)");
    EXPECT_EQ(N("cos tan"), "\xC4\xDF");
    EXPECT_EQ(N("6:3"), "6/3");
    EXPECT_EQ(N(""), "");
}

TEST(TermNormalisieren, CaseAndOrder) {
    EXPECT_EQ(N("SIN(x)+Sin(x)"), "SIN(x)+Sin(x)");
    // After a replacement the scan goes on right behind it.
    EXPECT_EQ(N("sinsin"), "\xE4\xE4");
    EXPECT_EQ(N("s in"), "sin");
}

TEST(TermNormalisieren, DisplayFormGivesTheTokensBack) {
    EXPECT_EQ(N("2\xB7sin(x)+lg(x)"), "2*\xE4(x)+\xF6(x)");
    EXPECT_EQ(N(N("arcsin(x)")), "\xA7(x)");
}

TEST(TermNormalisierenKomma, ShowsDecimalCommas) {
    EXPECT_EQ(K("3.5"), "3,5");
    EXPECT_EQ(K("3,5"), "3,5");
    EXPECT_EQ(K("2 * sin x"), "2*\xE4x");
}

TEST(TermNormalisieren, Helpers) {
    std::string s = "abcdef";
    TokenEinsetzen(s, 2, '@', 3);
    EXPECT_EQ(s, "a@ef");
    TokenEinsetzen(s, 4, '!', 10);
    EXPECT_EQ(s, "a@e!");
    TokenEinsetzen(s, 9, '!', 1); // beyond the end: unchanged
    EXPECT_EQ(s, "a@e!");
    EXPECT_EQ(ZeichenZaehlen("a(b)(c", '('), 2);
    EXPECT_EQ(ZeichenZaehlen("", '('), 0);
}
