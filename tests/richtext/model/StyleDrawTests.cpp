#include <gtest/gtest.h>

#include <QImage>

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

struct Surface {
    Surface(int w = 60, int h = 40) : Image(w, h, QImage::Format_RGB32), Canvas(&Image) {
        Image.fill(Qt::white);
    }
    TColor At(int x, int y) { return Canvas.Pixel(x, y); }
    QImage Image;
    TCanvas Canvas;
};

TEST(StyleDraw, ApplyPutsFontOnCanvasUnlessHandled) {
    TRPStyle rs;
    Surface s;
    rs.ApplyStyle(s.Canvas, 1, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.Font()->Name(), "Arial");
    EXPECT_EQ(s.Canvas.Font()->Size(), 10);
    EXPECT_EQ(s.Canvas.Font()->Style(), static_cast<TFontStyles>(fsBold));
    rs.TextStyles().PixelsPerInch = 600;
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.Font()->Height(), -83);
    rs.OnApplyStyle = [](TRPStyle*, TCanvas*, int, bool& d) { d = false; };
    rs.ApplyStyle(s.Canvas, 1, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.Font()->Style(), 0u);
}

TEST(StyleDraw, FontRoundTrip) {
    TFontInfo f;
    f.FontName = "Times New Roman";
    f.Size = 12;
    f.Style = RPFontStyle::Italic;
    f.Charset = 204;
    f.Color = clRed;
    TFont font;
    f.AssignTo(font);
    TFontInfo g;
    g.AssignFromFont(font);
    EXPECT_TRUE(g.IsEqualExcept(f, 0));
    f.Unicode = true;
    f.Charset = 0;
    f.AssignTo(font);
    EXPECT_EQ(font.Charset(), 204); // Unicode styles leave the charset alone
}

TEST(StyleDraw, ColoursBySelectionHoverAndPrinting) {
    TRPStyle rs;
    Surface s;
    TFontInfo* f = rs.TextStyles().GetItem(4);
    f->BackColor = clYellow;
    rs.ApplyStyleColor(s.Canvas, 4, rptdsSelected | rptdsFocused, false, rpcmColor);
    EXPECT_EQ(s.Canvas.Brush()->Color(), clHighlight);
    EXPECT_EQ(s.Canvas.Font()->Color(), clHighlightText);
    rs.InactiveSelTextColor = clNone;
    rs.ApplyStyleColor(s.Canvas, 4, rptdsSelected, false, rpcmColor);
    EXPECT_EQ(s.Canvas.Font()->Color(), clGreen);
    rs.HoverColor = clRed;
    rs.ApplyStyleColor(s.Canvas, 4, rptdsHover, false, rpcmColor);
    EXPECT_EQ(s.Canvas.Font()->Color(), clRed);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
    rs.ApplyStyleColor(s.Canvas, 4, 0, true, rpcmBlackAndWhite);
    // Yellow background is brighter than green text.
    EXPECT_EQ(s.Canvas.Brush()->Color(), clWhite);
    EXPECT_EQ(s.Canvas.Font()->Color(), clBlack);
    f->BackColor = clNavy;
    rs.ApplyStyleColor(s.Canvas, 4, 0, true, rpcmBlackAndWhite);
    EXPECT_EQ(s.Canvas.Brush()->Color(), clBlack);
    EXPECT_EQ(s.Canvas.Font()->Color(), clWhite);
    rs.ApplyStyleColor(s.Canvas, 0, 0, true, rpcmGrayScale);
    EXPECT_EQ(s.Canvas.Font()->Color(), clBlack);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
    rs.ApplyStyleColor(s.Canvas, 4, 0, true, rpcmBlackOnWhite);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
    // White text without a background of its own lies on white paper: black.
    rs.TextStyles().GetItem(0)->Color = clWhite;
    rs.ApplyStyleColor(s.Canvas, 0, 0, true, rpcmBlackAndWhite);
    EXPECT_EQ(s.Canvas.Font()->Color(), clBlack);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
}

TEST(StyleDraw, CheckpointWithoutItemIsOnlyADottedLine) {
    TRPStyle rs;
    TControl control(nullptr);
    control.SetBounds(0, 0, 50, 20);
    Surface a, b;
    rs.DrawCheckpoint(a.Canvas, 10, 10, -1, 0, false, &control);
    rs.DrawCheckpoint(b.Canvas, 10, 10, 3, 0, true, &control);
    int onA = 0;
    for (int x = 0; x < 50; ++x)
        if (a.At(x, 10) == clGreen) ++onA;
    EXPECT_GT(onA, 10);
    EXPECT_LT(onA, 50); // dotted, not solid
    for (int y : {7, 8, 12, 13})
        EXPECT_EQ(a.At(10, y), clWhite) << y;
    bool circle = false;
    for (int y : {8, 11})
        circle = circle || b.At(10, y) == clLime;
    EXPECT_TRUE(circle);
    EXPECT_EQ(a.Canvas.Brush()->Style(), bsClear);
    EXPECT_EQ(a.Canvas.Pen()->Style(), psSolid);
}

TEST(StyleDraw, PageBreakLineAndTriangle) {
    TRPStyle rs;
    TControl control(nullptr);
    control.SetBounds(0, 0, 40, 20);
    Surface s;
    rs.DrawPageBreak(s.Canvas, 5, 0, rppbtHard, &control);
    const TColor line = ColorToRGB(clBtnShadow);
    EXPECT_EQ(s.At(0, 5), line);
    EXPECT_EQ(s.At(31, 5), line);
    // The triangle's outline starts at x2 = 40 - 8.
    EXPECT_EQ(s.At(32, 10), line);
    EXPECT_EQ(s.At(20, 6), clWhite);
    bool handled = false;
    rs.OnDrawPageBreak = [&](TRPStyle*, TCanvas*, int, int, TRPPageBreakType t, TControl*, bool& d) {
        handled = t == rppbtSoft;
        d = false;
    };
    Surface t;
    rs.DrawPageBreak(t.Canvas, 5, 0, rppbtSoft, &control);
    EXPECT_TRUE(handled);
    EXPECT_EQ(t.At(0, 5), clWhite);
}

TEST(StyleDraw, SingleBorderAroundOffsets) {
    TRPBorder b;
    b.Style = rpbSingle;
    b.Color = clRed;
    b.BorderOffsets.SetAll(2);
    b.VisibleBorders.Bottom = false;
    Surface s;
    b.Draw(TRPBounds{10, 10, 30, 30}, s.Canvas);
    EXPECT_EQ(s.At(8, 8), clRed);
    EXPECT_EQ(s.At(32, 8), clRed);
    EXPECT_EQ(s.At(20, 8), clRed);
    EXPECT_EQ(s.At(8, 20), clRed);
    EXPECT_EQ(s.At(32, 20), clRed);
    EXPECT_EQ(s.At(20, 32), clWhite);
    EXPECT_EQ(s.At(20, 20), clWhite);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 1);
}

TEST(StyleDraw, DoubleBorderDrawsTwoFrames) {
    TRPBorder b;
    b.Style = rpbDouble;
    b.Color = clBlue;
    b.InternalWidth = 2;
    Surface s;
    b.Draw(TRPBounds{10, 10, 30, 30}, s.Canvas);
    EXPECT_EQ(s.At(20, 10), clBlue);
    EXPECT_EQ(s.At(20, 9), clWhite);
    EXPECT_EQ(s.At(20, 8), clWhite);
    EXPECT_EQ(s.At(20, 7), clBlue);
}

TEST(StyleDraw, ParagraphBackground) {
    TRPStyle rs;
    rs.ParaStyles().GetItem(1)->Background.Color = clBtnFace;
    Surface s;
    rs.DrawParaBack(s.Canvas, 1, TRPBounds{5, 5, 10, 10}, false, rpcmColor);
    // Filled without a pen, the rectangle covers the same pixels as FillRect.
    EXPECT_EQ(s.At(5, 5), clSilver);
    EXPECT_EQ(s.At(9, 9), clSilver);
    EXPECT_EQ(s.At(10, 9), clWhite);
    EXPECT_EQ(s.At(9, 10), clWhite);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
    Surface p;
    rs.DrawParaBack(p.Canvas, 1, TRPBounds{5, 5, 10, 10}, true, rpcmBlackAndWhite);
    EXPECT_EQ(p.At(5, 5), clWhite);
}

TEST(StyleDraw, StyleTextHandlerGetsCapitals) {
    TRPStyle rs;
    rs.TextStyles().GetItem(0)->StyleEx = rpfsAllCaps;
    std::string seen;
    int seenItem = -1;
    rs.OnDrawStyleText = [&](TRPStyle* st, const std::string& s, TCanvas*, int, int, int, int, int, int,
                             TRPTextDrawStates, bool& d) {
        seen = s;
        seenItem = st->DrawingItemNo();
        d = false;
    };
    Surface s;
    rs.DrawStyleText("ab\xE4", s.Canvas, 0, 0, 0, 0, 30, 16, 0, false, false, rpbdUnspecified, nullptr, 7, 1);
    EXPECT_EQ(seen, "AB\xC4");
    EXPECT_EQ(seenItem, 7);
    EXPECT_EQ(rs.DrawingItemNo(), -1);
}

TEST(StyleDraw, TextIsDrawnAndBackgroundFilled) {
    TRPStyle rs;
    TFontInfo* f = rs.TextStyles().GetItem(0);
    f->BackColor = clYellow;
    f->Color = clBlack;
    Surface s(80, 30);
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    rs.ApplyStyleColor(s.Canvas, 0, 0, false, rpcmColor);
    rs.DrawStyleText("HH", s.Canvas, 0, 6, 2, 2, 40, 16, 0, false, false, rpbdUnspecified, nullptr, 0, 1);
    // The space before the text takes the background too.
    EXPECT_EQ(s.At(3, 5), clYellow);
    int dark = 0;
    for (int x = 8; x < 40; ++x)
        for (int y = 2; y < 18; ++y)
            if (s.At(x, y) == clBlack) ++dark;
    EXPECT_GT(dark, 10);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsClear);
}

TEST(StyleDraw, JustifiedTextSpreadsFreeWidth) {
    TRPStyle rs;
    TFontInfo* f = rs.TextStyles().GetItem(0);
    f->Color = clBlack;
    Surface plain(200, 30), just(200, 30);
    for (Surface* s : {&plain, &just}) {
        rs.ApplyStyle(s->Canvas, 0, rpbdUnspecified);
        rs.ApplyStyleColor(s->Canvas, 0, 0, false, rpcmColor);
    }
    rs.DrawStyleText("I I", plain.Canvas, 0, 0, 0, 0, 190, 16, 0, false, false, rpbdUnspecified, nullptr, 0,
                     1);
    rs.DrawStyleText("I I", just.Canvas, 0, 0, 0, 0, 190, 16, 0, false, true, rpbdUnspecified, nullptr, 0, 1);
    auto rightmost = [](Surface& s) {
        int r = -1;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 30; ++y)
                if (s.At(x, y) != clWhite) r = x;
        return r;
    };
    EXPECT_LT(rightmost(plain), 40);
    // Each character but the last takes its share of the free width after it.
    EXPECT_GT(rightmost(just), 110);
}

TEST(StyleDraw, CharacterSpacingOnlyInRunsWithoutReadingDirection) {
    TRPStyle rs;
    Surface s;
    TFontInfo* f = rs.TextStyles().GetItem(0);
    f->CharSpacing = 2;
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.TextCharacterExtra(), 2);
    rs.ApplyStyle(s.Canvas, 0, rpbdRightToLeft); // the document's direction counts too
    EXPECT_EQ(s.Canvas.TextCharacterExtra(), 0);
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    f->BiDiMode = rpbdLeftToRight;
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.TextCharacterExtra(), 0);
    // Switching to a style without spacing takes the previous spacing away.
    f->BiDiMode = rpbdUnspecified;
    rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
    rs.ApplyStyle(s.Canvas, 1, rpbdUnspecified);
    EXPECT_EQ(s.Canvas.TextCharacterExtra(), 0);
}

TEST(StyleDraw, PrintedRunWithSpacingIsPlacedCharacterByCharacter) {
    auto draw = [](bool printing, Surface& s) {
        TRPStyle rs;
        TFontInfo* f = rs.TextStyles().GetItem(0);
        f->CharSpacing = 2;
        f->BackColor = clRed;
        rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
        rs.ApplyStyleColor(s.Canvas, 0, 0, printing, rpcmColor);
        rs.DrawStyleText("ab", s.Canvas, 0, 0, 0, 0, 70, 20, 0, printing, false, rpbdUnspecified, nullptr, -1,
                         0);
        return s.Canvas.TextCharacterExtra();
    };
    Surface printed(80, 30), screen(80, 30);
    // Placement fills the whole run first and hands the spacing back afterwards.
    EXPECT_EQ(draw(true, printed), 2);
    EXPECT_EQ(printed.At(65, 2), clRed);
    EXPECT_EQ(draw(false, screen), 2);
    EXPECT_EQ(screen.At(65, 2), clWhite);
    EXPECT_EQ(screen.At(1, 2), clRed);
}

TEST(StyleDraw, MeasuringCountsCharacterSpacing) {
    Surface s;
    s.Canvas.Font()->SetName("Arial");
    s.Canvas.Font()->SetSize(10);
    const int plain = ItemTextWidth("abc", s.Canvas, 0);
    std::vector<int> before;
    int fit = 0;
    ItemTextExtentEx(s.Canvas, "abc", 1000, 0, &before, fit);
    s.Canvas.SetTextCharacterExtra(3);
    EXPECT_EQ(ItemTextWidth("abc", s.Canvas, 0), plain + 9);
    EXPECT_EQ(ItemTextWidth(WideStrToItemText(u"abc"), s.Canvas, rpioUnicode), plain + 9);
    std::vector<int> after;
    ItemTextExtentEx(s.Canvas, "abc", 1000, 0, &after, fit);
    ASSERT_EQ(after.size(), 3u);
    ASSERT_EQ(before.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(after[static_cast<size_t>(i)], before[static_cast<size_t>(i)] + 3 * (i + 1));
    // The last character no longer fits where it fitted without spacing.
    ItemTextExtentEx(s.Canvas, "abc", before[2], 0, nullptr, fit);
    EXPECT_LT(fit, 3);
    std::vector<int> carets;
    ASSERT_TRUE(ItemTextCaretPositions(s.Canvas, "abc", carets, 0));
    EXPECT_EQ(carets[3], after[2] + 1);
}

} // namespace

TEST(StyleDraw, ScaledCharactersTakeTheWidthTheyAreMeasuredAndDrawnAt) {
    const std::string text = "Rechenweg 1234";
    const int n = static_cast<int>(text.size());
    // Measured on the screen and at a printer's resolution, then drawn.
    for (int ppi : {0, 600}) {
        SCOPED_TRACE(ppi);
        TRPStyle rs;
        rs.TextStyles().PixelsPerInch = ppi;
        TFontInfo* f = rs.TextStyles().GetItem(0);
        f->Color = clBlack;
        Surface s(ppi ? 1200 : 400, ppi ? 200 : 40);
        rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
        const int normal = ItemTextWidth(text, s.Canvas, 0);
        ASSERT_GT(normal, 2 * n);
        for (int scale : {50, 200}) {
            SCOPED_TRACE(scale);
            f->CharScale = scale;
            rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
            EXPECT_EQ(s.Canvas.Font()->Stretch(), scale);
            const int width = ItemTextWidth(text, s.Canvas, 0);
            EXPECT_NEAR(width, normal * scale / 100, n);
            if (ppi) continue;
            // The ink ends where the measured width ends.
            s.Image.fill(Qt::white);
            rs.ApplyStyleColor(s.Canvas, 0, 0, false, rpcmColor);
            rs.DrawStyleText(text, s.Canvas, 0, 0, 0, 0, width, 20, 0, false, false, rpbdUnspecified, nullptr,
                             0, 1);
            s.Canvas.Release();
            int right = -1;
            for (int x = 0; x < s.Image.width(); ++x)
                for (int y = 0; y < s.Image.height(); ++y)
                    if (qGray(s.Image.pixel(x, y)) < 128) right = x;
            EXPECT_NEAR(right, width, 4);
        }
        // Back at 100 % the font is the unscaled one.
        f->CharScale = 100;
        rs.ApplyStyle(s.Canvas, 0, rpbdUnspecified);
        EXPECT_EQ(s.Canvas.Font()->Stretch(), 100);
        EXPECT_EQ(ItemTextWidth(text, s.Canvas, 0), normal);
    }
}
