// The text cell of the fonts the forms use, and whether small text stays
// legible: accents inside the cell, look-alike letters drawn apart.
#include "platform/ControlsStd.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/TextMetrics.h"
#include "support/FormDriver.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

TFont FontOf(const char* name, int height, TFontStyles style = 0) {
    TFont f;
    f.SetName(QString::fromLatin1(name));
    f.SetHeight(height);
    f.SetStyle(style);
    f.SetColor(clBlack);
    return f;
}

// The text drawn at (left, top) on white; the image is cropped to exactly
// the text's cell when left and top are 0, as a label of that height shows it.
QImage Drawn(const TFont& font, const QString& text, int left, int top, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    c.SetFont(font);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(left, top, text);
    c.Release();
    return img;
}

int Ink(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

int TopInkRow(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) return y;
    return -1;
}

// Glyph image of text in the rows of its cell, and the ink that falls above
// and below them. Letters may reach a little beyond their advance to the
// left or right (the "j", an italic), so the image is wider than the text.
struct Glyph {
    QImage cell;
    int above = 0;
    int below = 0;
};

Glyph GlyphOf(const TFont& font, const QString& text) {
    TCanvas measure;
    measure.SetFont(font);
    const TSize ext = measure.TextExtent(text);
    const int pad = ext.cy;
    const QImage all = Drawn(font, text, pad, pad, ext.cx + 2 * pad, ext.cy + 3 * pad);
    Glyph g;
    g.cell = all.copy(0, pad, all.width(), ext.cy);
    g.above = Ink(all.copy(0, 0, all.width(), pad));
    g.below = Ink(all.copy(0, pad + ext.cy, all.width(), all.height() - pad - ext.cy));
    return g;
}

} // namespace

TEST(GraphicsTextCell, CellIsTheScaledWindowsAscentAndDescent) {
    struct Case {
        const char* name;
        int height;
        int ascent, descent;
    };
    // Arial 8, 10, 12 and 14 pt; Tahoma at the forms' pixel heights.
    const Case cases[] = {
        {"Arial", -11, 10, 2},  {"Arial", -13, 12, 3},  {"Arial", -16, 15, 3},  {"Arial", -19, 17, 4},
        {"Tahoma", -11, 11, 2}, {"Tahoma", -13, 13, 3}, {"Tahoma", -15, 15, 3}, {"Tahoma", -16, 16, 3},
        {"Tahoma", -17, 17, 4}, {"Tahoma", -19, 19, 4}, {"Tahoma", -24, 24, 5}, {"Tahoma", -32, 32, 7},
    };
    for (const Case& k : cases) {
        for (TFontStyles style : {0u, unsigned(fsBold)}) {
            const TFont f = FontOf(k.name, k.height, style);
            SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(k.name).arg(k.height).arg(style).toStdString());
            EXPECT_EQ(TextMetrics().Ascent(f), k.ascent);
            EXPECT_EQ(TextMetrics().Descent(f), k.descent);
            EXPECT_EQ(TextMetrics().Height(f), k.ascent + k.descent);
            EXPECT_EQ(TextMetrics().InternalLeading(f), k.ascent + k.descent + k.height);
            TCanvas c;
            c.SetFont(f);
            EXPECT_EQ(c.TextHeight("Ü"), k.ascent + k.descent);
        }
    }
    // Arial 12 pt: the open question between 17 and 18 pixels.
    EXPECT_EQ(TextMetrics().Height(FontOf("Arial", -16)), 18);
    // A positive height is the cell; the character height follows from it.
    EXPECT_EQ(FontPixelSize(FontOf("Tahoma", 23)), 19);
    EXPECT_EQ(TextMetrics().Height(FontOf("Tahoma", 23)), 23);
    EXPECT_EQ(FontPixelSize(FontOf("Arial", 18)), 16);
}

TEST(GraphicsTextCell, CapitalUmlautsAndTallLettersStayInsideTheCell) {
    for (const char* name : {"Tahoma", "Arial"})
        for (int h : {-11, -13, -15, -16, -17, -19, -21, -24, -32, -48})
            for (TFontStyles style : {0u, unsigned(fsBold)}) {
                SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(name).arg(h).arg(style).toStdString());
                const TFont f = FontOf(name, h, style);
                for (const char* text : {"Ü", "Ä", "Ö", "Übertrag", "Würfel", "fjgÅ", "Überträge"}) {
                    const Glyph g = GlyphOf(f, QString::fromUtf8(text));
                    EXPECT_GT(Ink(g.cell), 0) << text;
                    EXPECT_EQ(g.above, 0) << text;
                    // The hinted bold stand-in of Arial lets "g" and "j" reach one
                    // row below the cell at some sizes; Tahoma keeps inside.
                    if (QString::fromLatin1(name) == QLatin1String("Tahoma") || style == 0) {
                        EXPECT_EQ(g.below, 0) << text;
                    }
                }
            }
}

TEST(GraphicsTextCell, LookAlikeLettersOfSmallTahomaAreDrawnApart) {
    for (int h : {-11, -12, -13, -15, -16, -17, -19, -21, -24})
        for (TFontStyles style : {0u, unsigned(fsBold)}) {
            SCOPED_TRACE(QStringLiteral("Tahoma %1 %2").arg(h).arg(style).toStdString());
            const TFont font = FontOf("Tahoma", h, style);
            const Glyph f = GlyphOf(font, "f"), t = GlyphOf(font, "t");
            ASSERT_EQ(f.above + f.below + t.above + t.below, 0);
            EXPECT_NE(f.cell, t.cell);
            // The hook of the "f" rises above the top of the "t".
            EXPECT_LT(TopInkRow(f.cell), TopInkRow(t.cell));
            EXPECT_NE(GlyphOf(font, "l").cell, GlyphOf(font, "I").cell);
            const Glyph rn = GlyphOf(font, "rn"), m = GlyphOf(font, "m");
            EXPECT_NE(rn.cell, m.cell);
        }
}

TEST(GraphicsTextCell, BoldTahomaIsHeavierThanRegularAtEverySize) {
    for (int h : {-11, -12, -13, -15, -16, -17, -19, -21, -24, -32}) {
        SCOPED_TRACE(h);
        const TFont regular = FontOf("Tahoma", h), bold = FontOf("Tahoma", h, fsBold);
        const int inkRegular = Ink(GlyphOf(regular, "Hallo 480 000").cell);
        const int inkBold = Ink(GlyphOf(bold, "Hallo 480 000").cell);
        EXPECT_GT(inkBold * 10, inkRegular * 12);
    }
    // A bold that is bold of its own is not struck twice.
    EXPECT_FALSE(SimulatedBold(FontOf("Arial", -16, fsBold)));
    EXPECT_FALSE(SimulatedBold(FontOf("Tahoma", -19)));
    EXPECT_TRUE(SimulatedBold(FontOf("Tahoma", -19, fsBold)));
}

TEST(GraphicsTextCell, AutoSizedLabelShowsTheWholeCell) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->Font()->SetName("Tahoma");
    label->Font()->SetHeight(-19);
    label->Font()->SetStyle(fsBold);
    label->SetCaption(QString::fromUtf8("Übergänge"));
    EXPECT_EQ(label->Height(), 23);
    EXPECT_EQ(label->Width(), TextMetrics().TextWidth(*label->Font(), label->Caption()));
    // Every pixel of the text, the dots of the capital included, is shown.
    const QImage shown = label->Widget()->grab().toImage();
    const int pad = 20;
    EXPECT_EQ(Ink(shown), Ink(Drawn(*label->Font(), label->Caption(), pad, pad, label->Width() + 2 * pad,
                                    label->Height() + 2 * pad)));
}
