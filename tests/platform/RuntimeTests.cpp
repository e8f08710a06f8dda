#include "platform/CodePage.h"
#include "platform/Colors.h"
#include "platform/Runtime.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(Runtime, RandomFollowsTheProgramsGenerator) {
    Runtime::SetRandSeed(0);
    const int expected[] = {0, 3, 86, 20, 27, 67, 31, 16};
    for (int e : expected)
        EXPECT_EQ(Runtime::Random(100), e);
    Runtime::SetRandSeed(0);
    Runtime::Random(1);
    EXPECT_EQ(Runtime::RandSeed(), 1u);
}

TEST(Runtime, RoundGoesHalvesToEven) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    // Out of range or not a number: clear ends instead of an undefined value.
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Round(1e300), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Trunc(std::numeric_limits<double>::infinity()), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Round(-4503599627370497.0), -4503599627370497);
}

TEST(Runtime, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(10, 3, 4), 8);
    EXPECT_EQ(MulDiv(14, 96, 72), 19);
    EXPECT_EQ(MulDiv(1, -1, 3), 0);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST(CodePage, Cp1252TableIsExact) {
    EXPECT_EQ(CodePage::Cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(CodePage::Cp1252ToUnicode(0x81), u'\u0081');
    EXPECT_EQ(CodePage::Cp1252ToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(CodePage::Cp1252ToUnicode(0xE4), u'\u00E4');
    EXPECT_EQ(CodePage::UnicodeToCp1252(u'\u20AC'), 0x80);
    EXPECT_EQ(CodePage::UnicodeToCp1252(u'\u0100'), -1);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(CodePage::UnicodeToCp1252(CodePage::Cp1252ToUnicode(static_cast<unsigned char>(b))), b);
    EXPECT_EQ(CodePage::ToCp1252(QString::fromUtf8("W\xC3\xBC\xE2\x82\xAC\xC4\x80")),
              std::string("W\xFC\x80?"));
}

TEST(CodePage, OtherPagesGoThroughTheConverter) {
    EXPECT_EQ(CodePage::CharsetToCodePage(204), 1251);
    EXPECT_EQ(CodePage::ToUnicode(1251, "\xC0"), QString(QChar(0x0410)));
    bool lossy = false;
    EXPECT_EQ(CodePage::FromUnicode(1251, QString(QChar(0x0410)) + QChar(0x20AC) + QChar(0x4E00), &lossy),
              std::string("\xC0\x88?"));
    EXPECT_TRUE(lossy);
    // An unknown page reads as 1252.
    EXPECT_EQ(CodePage::ToUnicode(12345, "\x80"), QString(QChar(0x20AC)));
}

// Pages Qt has no converter for, through ICU: the DOS pages, Mac Japanese (a
// Shift-JIS with single bytes of its own) and Mac Cyrillic.
TEST(CodePage, DosAndMacPages) {
    EXPECT_EQ(CodePage::ToUnicode(437, "\x81\x94\xE1\x9B"), QString::fromUtf8("üöß¢"));
    EXPECT_EQ(CodePage::ToUnicode(850, "\x81\x94\xE1\x9B"), QString::fromUtf8("üößø"));
    EXPECT_EQ(CodePage::ToUnicode(10001, "\x82\xA8\x93\xC7\xFD\xFE\xA0x"), QString::fromUtf8("お読©™\u00A0x"));
    EXPECT_EQ(CodePage::ToUnicode(10007, "\x80\xE0"), QString::fromUtf8("Аа"));
    bool lossy = true;
    EXPECT_EQ(CodePage::FromUnicode(10001, QString::fromUtf8("お読©\\"), &lossy), std::string("\x82\xA8\x93\xC7\xFD\\"));
    EXPECT_FALSE(lossy);
    EXPECT_EQ(CodePage::FromUnicode(437, QString::fromUtf8("üøß"), &lossy), std::string("\x81?\xE1"));
    EXPECT_TRUE(lossy);
    EXPECT_EQ(CodePage::CharsetToCodePage(78), 10001);
    EXPECT_EQ(CodePage::CharsetToCodePage(254), 437);
    EXPECT_TRUE(CodePage::IsKnown(437));
    EXPECT_TRUE(CodePage::IsKnown(10001));
    EXPECT_FALSE(CodePage::IsKnown(12345));
    // A truncated double-byte character is one "?".
    EXPECT_EQ(CodePage::ToUnicode(932, "a\x82"), QString("a?"));
}

TEST(CodePage, UpperCasingKeepsTheLength) {
    EXPECT_EQ(CodePage::AnsiUpperCase(QString::fromUtf8("wei\xC3\x9F")), QString::fromUtf8("WEI\xC3\x9F"));
    EXPECT_EQ(CodePage::AnsiUpperCase(QString::fromUtf8("kxxa1.3\xC3\xBC")),
              QString::fromUtf8("KXXA1.3\xC3\x9C"));
    EXPECT_EQ(CodePage::AnsiUpperCase1252("\xB5\xFF\xE4x"), std::string("\xB5\x9F\xC4X"));
}

TEST(Colors, SystemColoursComeFromAFixedTable) {
    EXPECT_EQ(RGB(74, 145, 223), 14651722);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
    EXPECT_EQ(ColorToRGB(SysColor(200)), clBlack);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
}
