// Documents taller and wider than any screen shows: however many items add
// up, positions and sizes stop at the document's bound (RPCoords.h), and
// what lies past it stays in the document.
#include <climits>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Runtime.h"
#include "richtext/model/RPCoords.h"

TEST(CoordBound, SumsAndScalesAreExactInsideTheBoundAndStopThere) {
    EXPECT_EQ(RPCoordSum(100, -30, 7), 77);
    EXPECT_EQ(RPCoordSum(RPMaxCoord - 1, 1), RPMaxCoord);
    EXPECT_EQ(RPCoordSum(RPMaxCoord, 1), RPMaxCoord);
    EXPECT_EQ(RPCoordSum(INT_MAX, INT_MAX, INT_MAX), RPMaxCoord);
    EXPECT_EQ(RPCoordSum(INT_MIN, INT_MIN), -RPMaxCoord);
    // Scaling to a printer rounds as MulDiv does wherever the result lies
    // inside; past it, where MulDiv answers -1 for a product beyond an int,
    // it stops at the bound.
    for (int v : {-1000001, -13, -1, 0, 1, 13, 1000001, RPMaxCoord / 13})
        EXPECT_EQ(RPCoordScale(v, 1200, 96), MulDiv(v, 1200, 96)) << v;
    EXPECT_EQ(MulDiv(RPMaxCoord, 1200, 96), -1);
    EXPECT_EQ(RPCoordScale(RPMaxCoord, 1200, 96), RPMaxCoord);
    EXPECT_EQ(RPCoordScale(INT_MIN, 600, 96), -RPMaxCoord);
    EXPECT_EQ(RPCoordScale(INT_MAX, 96, 600), RPMaxCoord);
    EXPECT_EQ(RPCoordScale(RPMaxCoord, 96, 600), MulDiv(RPMaxCoord, 96, 600));
}

namespace {

bool AnyInk(const QImage& Image) {
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (Image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

} // namespace

// Half a million paragraphs with the largest spacing a word processor takes
// (1,584 pt before and after) reach past 2^31 pixels. Those before the bound
// stand exactly where they belong, those past it at the bound, and all of
// them keep their draw items.
TEST(LayoutBound, ParagraphsWithLargeSpacingStopAtTheBound) {
    FixedMetricsScope metrics;
    auto style = MakeLayoutStyle();
    TParaInfo* spaced = style->ParaStyles().GetItem(7);
    spaced->SpaceBefore = spaced->SpaceAfter = 2112;
    TTestFormatDoc d(style.get());
    const int count = 510000, period = 2112 + 20 + 2112;
    for (int i = 0; i < count; ++i)
        d.Text(i % 1000 == 0 ? "Absatz" : "", 0, 7);
    ASSERT_GT(int64_t(count) * period, int64_t(INT_MAX));
    const int inside = (RPMaxCoord - d.Top - 2112) / period; // the paragraphs that start before the bound
    for (int width : {300, 120}) {
        d.Width = width;
        d.Format();
        ASSERT_EQ(d.DrawItemCount(), count);
        EXPECT_EQ(d.DocumentHeight, RPMaxCoord);
        EXPECT_EQ(d.DrawItem(inside)->Top, d.Top + 2112 + inside * period);
        EXPECT_EQ(d.DrawItem(inside + 1)->Top, RPMaxCoord);
        EXPECT_EQ(d.DrawItem(count - 1)->Top, RPMaxCoord);
    }
    // The last paragraph with text before the bound paints and is hit where it stands.
    const int last = inside / 1000 * 1000;
    d.VOffs = d.DrawItem(last)->Top - 10;
    EXPECT_TRUE(AnyInk(PaintFirstScreen(d)));
    int dItem = -1, dOffs = -1;
    d.FindDrawItemAtPos(d.Left + 5, d.DrawItem(last)->Top + 5, true, dItem, dOffs);
    EXPECT_EQ(dItem, last);
    d.FindDrawItemAtPos(d.Left + 5, RPMaxCoord - 1, false, dItem, dOffs);
    EXPECT_EQ(dItem, inside);
}

// A paragraph that does not wrap, of a million characters spaced 2,000
// pixels apart, is wider than an int: its width stops at the bound.
TEST(LayoutBound, ALineOfAMillionSpacedCharactersStopsAtTheBound) {
    FixedMetricsScope metrics;
    auto style = MakeLayoutStyle();
    style->TextStyles().GetItem(0)->CharSpacing = 2000;
    TTestFormatDoc d(style.get());
    d.Text("Anfang", 0, 0);
    d.Text(std::string(1100000, 'x').c_str(), 0, 9);
    d.Text("Ende", 0, 0);
    d.Format();
    ASSERT_EQ(d.DrawItemCount(), 3);
    const TRPDrawLineInfo* line = d.DrawItem(1);
    EXPECT_EQ(line->Left, d.Left);
    EXPECT_EQ(line->Width, RPMaxCoord);
    EXPECT_EQ(d.DrawItem(2)->Top, line->Top + line->Height);
    EXPECT_EQ(d.CalcDocMinWidth(nullptr, &d.Canvas), RPMaxCoord);
    EXPECT_EQ(d.ContentWidth, RPMaxCoord);
    // A point at the bound finds the first character that stands there
    // (each is 10 pixels wide and 2,000 apart).
    int dItem = -1, dOffs = -1;
    d.FindDrawItemAtPos(RPMaxCoord - 1, line->Top + 2, true, dItem, dOffs);
    EXPECT_EQ(dItem, 1);
    EXPECT_EQ(dOffs, (RPMaxCoord + 2009) / 2010 + 1);
    EXPECT_TRUE(AnyInk(PaintFirstScreen(d)));
}
