// Fonts, the "Symbol" encoding and text measuring.
#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/TextMetrics.h"
#include "support/FixedMetrics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

TEST(GraphicsFont, PointSizesBecomePixelsAt96Dpi) {
    TFont f;
    f.SetSize(14);
    EXPECT_EQ(f.Height(), -19);
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetHeight(-19);
    EXPECT_EQ(f.Size(), 14);
    EXPECT_EQ(ToQFont(f).pixelSize(), 19);
}

TEST(GraphicsFont, AssignKeepsPointSizeAcrossResolutions) {
    TFont screen;
    screen.SetName("Times New Roman");
    screen.SetSize(12);
    screen.SetStyle(fsBold | fsItalic);
    TFont printer;
    printer.SetPixelsPerInch(600);
    printer.Assign(screen);
    EXPECT_EQ(printer.Height(), -100);
    EXPECT_EQ(printer.Size(), 12);
    EXPECT_EQ(printer.Name(), "Times New Roman");
    EXPECT_EQ(printer.Style(), fsBold | fsItalic);
    EXPECT_EQ(printer.PixelsPerInch(), 600);
}

TEST(GraphicsFont, OnChangeOnlyWhenSomethingChanges) {
    TFont f;
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetColor(clRed);
    f.SetColor(clRed);
    f.SetSize(f.Size());
    f.SetStyle(fsUnderline);
    TFont other = f;
    f.Assign(other);
    EXPECT_EQ(changes, 2);
}

TEST(GraphicsFont, BrushColourMakesAClearBrushSolid) {
    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

TEST(GraphicsFont, ProgramFontNamesMapToInstalledFamilies) {
    EXPECT_EQ(MapFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(MapFontFamily("times new roman"), "Liberation Serif");
    EXPECT_EQ(MapFontFamily("Courier New"), "Liberation Mono");
    EXPECT_EQ(MapFontFamily("Tahoma"), "Tahoma");
    RegisterProgramFonts();
    TFont f;
    f.SetName("Tahoma");
    EXPECT_EQ(QFontInfo(ToQFont(f)).family(), "Tahoma");
    f.SetName("Arial");
    EXPECT_EQ(QFontInfo(ToQFont(f)).family(), "Liberation Sans");
}

TEST(GraphicsFont, SymbolEncodingMapsBothWays) {
    EXPECT_EQ(SymbolToUnicode(0xD6), QChar(0x221A)); // radical
    EXPECT_EQ(SymbolToUnicode(0xF2), QChar(0x222B)); // integral
    EXPECT_EQ(SymbolToUnicode('p'), QChar(0x03C0));  // pi
    EXPECT_EQ(SymbolToUnicode('F'), QChar(0x03A6));  // Phi
    EXPECT_EQ(SymbolToUnicode('Y'), QChar(0x03A8));  // Psi
    EXPECT_EQ(SymbolToUnicode(0xAE), QChar(0x2192)); // right arrow
    EXPECT_EQ(SymbolToUnicode('3'), QChar('3'));
    EXPECT_EQ(UnicodeToSymbol(QChar(0x221A)), 0xD6);
    EXPECT_EQ(UnicodeToSymbol(QChar(0x222B)), 0xF2);
    EXPECT_EQ(UnicodeToSymbol(QChar(0x03C0)), 'p');
    EXPECT_EQ(UnicodeToSymbol(QChar(0xF0D6)), 0xD6);
    EXPECT_EQ(UnicodeToSymbol(QChar('a')), -1);
    for (int code = 0x20; code < 256; ++code) {
        const QChar u = SymbolToUnicode(static_cast<unsigned char>(code));
        const int back = UnicodeToSymbol(u);
        // Registered and copyright signs exist twice; the first wins.
        if (code != 0xE2 && code != 0xE3 && code != 0xE4) {
            EXPECT_EQ(back, code) << code;
        }
    }
}

TEST(GraphicsFont, SymbolTextIsShownInUnicode) {
    TFont f;
    f.SetName("Symbol");
    // The program passes code 174 as a code page 1252 character.
    EXPECT_EQ(DisplayText(f, QString(QChar(0xAE)) + "p"), QString(QChar(0x2192)) + QChar(0x03C0));
    f.SetName("Arial");
    EXPECT_EQ(DisplayText(f, "p"), "p");
}

// Word's list bullets and check mark in "Wingdings", which this system does
// not have: drawn and measured as the characters they stand for.
TEST(GraphicsFont, WingdingsWithoutTheFontIsShownInUnicode) {
    ASSERT_FALSE(QFontDatabase::families().contains("Wingdings", Qt::CaseInsensitive));
    const QString codes = QString::fromLatin1("\xA7\xD8\x76\x71\xFC");
    const QString shown = QString::fromUtf8("\u25AA\u27A2\u2756\u2751\u2713");
    TFont f;
    f.SetName("Wingdings");
    f.SetHeight(-16);
    EXPECT_EQ(DisplayText(f, codes), shown);
    // Codes that came as private-use characters, and a code of the code
    // page's upper range (0x80 came as the euro sign): circled digits.
    EXPECT_EQ(DisplayText(f, QString(QChar(0xF0A7)) + QChar(0x20AC) + QChar(0xF081)),
              QString::fromUtf8("\u25AA\u24EA\u2460"));
    EXPECT_EQ(SymbolFontTextToUnicode("wingdings", codes), shown);
    EXPECT_TRUE(IsSymbolFontName("Wingdings"));
    EXPECT_FALSE(IsSymbolFontName("Arial"));
    // A picture beyond the Basic Multilingual Plane stays a private-use code
    // of one unit, so that positions in the text stay as they are.
    EXPECT_EQ(DisplayText(f, QString(QChar(0xB7))), QString(QChar(0xF0B7)));
    // Measured as drawn: the widths of the Unicode characters in the font
    // that stands in.
    TFont uni;
    uni.SetName("DejaVu Sans");
    uni.SetHeight(-16);
    const std::vector<int> w = TextMetrics().PrefixWidths(f, codes);
    EXPECT_EQ(w, TextMetrics().PrefixWidths(uni, shown));
    EXPECT_NE(w.back(), TextMetrics().PrefixWidths(uni, codes).back());
    // In "Symbol" the code page's bullet (0x95) stays a bullet: the font has
    // nothing at 0x80..0x9F.
    f.SetName("Symbol");
    EXPECT_EQ(DisplayText(f, QString(QChar(0x2022)) + QChar(0xB7)), QString::fromUtf8("\u2022\u2022"));
}

TEST(GraphicsFont, FixedMetricsMeasureHalfHeightCharacters) {
    FixedMetricsScope fixed;
    TCanvas c;
    c.Font()->SetHeight(-20);
    EXPECT_EQ(c.TextWidth("abc"), 30);
    EXPECT_EQ(c.TextHeight("abc"), 20);
    EXPECT_EQ(TextMetrics().PrefixWidths(*c.Font(), "abc"), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(TextMetrics().FitCount(*c.Font(), "abcd", 25), 2);
    EXPECT_EQ(TextMetrics().CaretIndexAt(*c.Font(), "abcd", 14), 1);
    EXPECT_EQ(TextMetrics().CaretIndexAt(*c.Font(), "abcd", 16), 2);
    EXPECT_EQ(TextMetrics().CaretIndexAt(*c.Font(), "abcd", 99), 4);
    EXPECT_EQ(TextMetrics().CaretIndexAt(*c.Font(), "", 5), 0);
}

TEST(GraphicsFont, RealMetricsAreConsistent) {
    TFont f;
    f.SetName("Arial");
    f.SetSize(12);
    TTextMetrics& m = TextMetrics();
    const std::vector<int> w = m.PrefixWidths(f, "Hallo");
    ASSERT_EQ(w.size(), 5u);
    EXPECT_TRUE(std::is_sorted(w.begin(), w.end()));
    EXPECT_EQ(w.back(), m.TextWidth(f, "Hallo"));
    EXPECT_EQ(m.TextWidth(f, "Hallo"), m.TextWidth(f, "Hal") + m.TextWidth(f, "lo"));
    EXPECT_EQ(m.Height(f), m.Ascent(f) + m.Descent(f));
    EXPECT_GT(m.Height(f), 16);
    EXPECT_EQ(m.TextWidth(f, ""), 0);
    // A positive height is the cell height, scaled by the family's proportions.
    TFont cell;
    cell.SetName("Arial");
    cell.SetHeight(18);
    EXPECT_EQ(FontPixelSize(cell), 16);
    cell.SetHeight(36);
    EXPECT_EQ(FontPixelSize(cell), 32);
}

// A text of a million wide characters is wider than an int: its widths stop
// at the largest one instead of wrapping round.
TEST(GraphicsFont, MillionsOfWideCharactersStopAtTheLargestWidth) {
    TFont f;
    f.SetName("Arial");
    f.SetHeight(-2000);
    const std::vector<int> w = TextMetrics().PrefixWidths(f, QString(1200000, QLatin1Char('W')));
    ASSERT_EQ(w.size(), 1200000u);
    EXPECT_GT(w.front(), 1800);
    EXPECT_TRUE(std::is_sorted(w.begin(), w.end()));
    EXPECT_EQ(w.back(), INT_MAX);
}

// The advances are measured once per font and character: what comes back
// from the kept ones is what Qt measures, for every kind of character and
// after the font changed back and forth.
TEST(GraphicsFont, KeptAdvancesAreQtsOwn) {
    const QString text = QStringLiteral("Aä\u20AC\u03A9") + QString::fromUcs4(U"\U0001F600") + QChar(0xD800) +
                         QStringLiteral("z");
    TFont regular, bold;
    regular.SetName("Arial");
    regular.SetSize(12);
    bold.Assign(regular);
    bold.SetStyle(fsBold);
    for (int round = 0; round < 2; ++round)
        for (const TFont* f : {&regular, &bold, &regular}) {
            const QFontMetrics qt(ToQFont(*f));
            const std::vector<int> w = TextMetrics().PrefixWidths(*f, text);
            ASSERT_EQ(w.size(), static_cast<size_t>(text.size()));
            int sum = 0;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                    EXPECT_EQ(w[static_cast<size_t>(i)], sum);
                    sum += qt.horizontalAdvance(text.mid(i, 2));
                    ++i;
                } else {
                    sum += qt.horizontalAdvance(text[i]);
                }
                EXPECT_EQ(w[static_cast<size_t>(i)], sum) << "character " << i << " round " << round;
            }
            EXPECT_EQ(TextMetrics().ExternalLeading(*f), std::max(0, qt.leading()));
            EXPECT_EQ(TextMetrics().AveCharWidth(*f), qt.averageCharWidth());
        }
}

// Measuring keeps its answers per font; one font object changed in place
// (name, size, weight, slant, stretch) and its copies are measured anew.
TEST(GraphicsFont, MeasuringFollowsAFontChangedInPlace) {
    const QString text = QStringLiteral("Wellen 1234");
    TFont f;
    const auto same = [&](const TFont& g, const char* what) {
        const QFontMetrics qt(ToQFont(g));
        int sum = 0;
        for (const QChar c : text)
            sum += qt.horizontalAdvance(c);
        EXPECT_EQ(TextMetrics().TextWidth(g, text), sum) << what;
        EXPECT_EQ(TextMetrics().Height(g), FontCell(g).Height()) << what;
    };
    const auto changes = [&](auto&& Change, const char* what) {
        const int before = TextMetrics().TextWidth(f, text);
        Change();
        EXPECT_NE(TextMetrics().TextWidth(f, text), before) << what;
        same(f, what);
        const TFont copy(f);
        same(copy, what);
    };
    f.SetName("Arial");
    f.SetSize(10);
    same(f, "start");
    changes([&] { f.SetSize(14); }, "size");
    changes([&] { f.SetHeight(40); }, "cell height");
    changes([&] { f.SetStyle(fsBold); }, "bold");
    changes([&] { f.SetName("Courier New"); }, "name");
    changes([&] { f.SetStretch(150); }, "stretch");
    // The colour does not change a width.
    const int width = TextMetrics().TextWidth(f, text);
    f.SetColor(clRed);
    EXPECT_EQ(TextMetrics().TextWidth(f, text), width);
}

// The old raster font's stand-in is a face of bitmaps alone. Its first text in
// a process must show: ctest also runs this test alone, before anything else
// has drawn the face (measuring it once left every later drawing empty).
TEST(GraphicsFont, AFaceOfBitmapsAloneDrawsItsFirstText) {
    for (int size : {8, 10}) {
        QImage img(200, 40, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            TCanvas c(&img);
            c.Font()->SetName(QStringLiteral("MS Sans Serif"));
            c.Font()->SetSize(size);
            c.Font()->SetColor(clBlack);
            c.Brush()->SetStyle(bsClear);
            c.TextOut(2, 2, QStringLiteral("Hallo Welt"));
        }
        int ink = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ink += qGray(img.pixel(x, y)) < 100;
        EXPECT_GT(ink, 50) << size << " pt";
    }
}
