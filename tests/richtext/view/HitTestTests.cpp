// Hit testing: every point of a formatted document maps to the draw item and
// the caret offset of the character under it, and the painted glyphs lie
// where the layout put them.
#include <QImage>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "platform/TextMetrics.h"
#include "support/FixedMetrics.h"

namespace {

void BuildDocument(TTestFormatDoc& D) {
    D.Text("Zahlen untereinander schreiben ", 0, 0);
    D.Text("Einer", 1, -1);
    D.Text(" unter Einer, Zehner unter Zehner", 3, -1);
    D.AddPicture("", SolidPicture(40, 30, clGreen), -1, 0, TRPTag{});
    D.Text("und so weiter bis zum Ende", 0, 3);
    D.Text("rechts", 0, 2);
}

} // namespace

TEST(HitTest, EveryPointOfADrawItemMapsToItsCharacter) {
    FixedMetricsScope fm;
    auto style = MakeLayoutStyle();
    TTestFormatDoc d(style.get());
    BuildDocument(d);
    d.Width = 260;
    d.Format();
    ASSERT_GT(d.DrawItemCount(), 8);
    int points = 0;
    for (int i = 0; i < d.DrawItemCount(); ++i) {
        const TRPDrawLineInfo* di = d.DrawItem(i);
        const bool text = d.GetItemStyle(di->ItemNo) >= 0;
        const int cw = text ? TFixedMetrics::PixelHeight(*[&] {
            d.Style->ApplyStyle(d.Canvas, d.GetItemStyle(di->ItemNo), rpbdUnspecified);
            return d.Canvas.Font();
        }()) / 2
                            : 0;
        for (int y = di->Top; y < di->Top + di->Height; ++y)
            for (int x = di->Left; x < di->Left + di->Width; ++x) {
                ++points;
                ASSERT_EQ(d.FindDrawItemAtPoint(x, y), i) << x << "," << y;
                int dn = -1, dOffs = -1;
                d.FindDrawItemAtPos(x, y, true, dn, dOffs);
                ASSERT_EQ(dn, i) << x << "," << y;
                if (!text) {
                    EXPECT_EQ(dOffs, x <= di->Left + di->Width / 2 ? 0 : 1);
                    continue;
                }
                // Character k (0-based) is under x; its left half is offset k + 1, its right half k + 2.
                const int rel = x - di->Left - di->JustifySpace;
                if (rel < 0) {
                    ASSERT_EQ(dOffs, 1);
                    continue;
                }
                const int k = rel / cw;
                ASSERT_EQ(dOffs, rel - k * cw <= cw / 2 ? k + 1 : k + 2) << x << "," << y;
            }
    }
    EXPECT_GT(points, 10000);
}

TEST(HitTest, PointsBesideTheLinesGoToTheLineEnds) {
    FixedMetricsScope fm;
    auto style = MakeLayoutStyle();
    TTestFormatDoc d(style.get());
    d.Text("aaa bbb", 0, 1); // centred: 70 .. 140
    d.Text("ccc", 0, 0);
    d.Width = 210;
    d.Format();
    int dn = -1, dOffs = -1;
    d.FindDrawItemAtPos(10, 10, false, dn, dOffs);
    EXPECT_EQ(dn, 0);
    EXPECT_EQ(dOffs, 1);
    d.FindDrawItemAtPos(200, 10, false, dn, dOffs);
    EXPECT_EQ(dn, 0);
    EXPECT_EQ(dOffs, 8);
    // Strictly, only a draw item under the point counts.
    d.FindDrawItemAtPos(200, 10, true, dn, dOffs);
    EXPECT_EQ(dn, -1);
    // Below the last line: the last line.
    d.FindDrawItemAtPos(200, 300, false, dn, dOffs);
    EXPECT_EQ(dn, 1);
    EXPECT_EQ(dOffs, 4);
}

// With the fonts as painted, the ink of every character lies in the
// character's own box, so a click finds the glyph it is on.
TEST(HitTest, PaintedGlyphsLieWhereTheLayoutPutThem) {
    auto style = MakeLayoutStyle();
    TTestFormatDoc d(style.get());
    d.Text("ZAHLEN 1234 EINER", 1, 0);
    d.Text("ZEHNER HUNDERTER", 0, 0);
    d.Width = 500;
    d.Height = 120;
    d.Format();
    const QImage page = PaintFirstScreen(d);
    int ink = 0;
    for (int y = 0; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x) {
            if (qGray(page.pixel(x, y)) > 128) continue;
            ++ink;
            int dn = -1, dOffs = -1;
            d.FindDrawItemAtPos(x, y, true, dn, dOffs);
            ASSERT_GE(dn, 0) << "ink outside every draw item at " << x << "," << y;
            const TRPDrawLineInfo* di = d.DrawItem(dn);
            // The caret offsets on both sides of the character under x.
            std::vector<int> pos;
            d.Style->ApplyStyle(d.Canvas, d.GetItemStyle(di->ItemNo), rpbdUnspecified);
            std::string piece;
            d.DrawItems->GetPieceText(dn, *d.Items, piece);
            const std::vector<int> w = TextMetrics().PrefixWidths(*d.Canvas.Font(), QString::fromLatin1(piece));
            int k = 0;
            while (k < static_cast<int>(w.size()) && x - di->Left >= w[static_cast<size_t>(k)])
                ++k;
            ASSERT_LT(k, static_cast<int>(w.size())) << x << "," << y;
            EXPECT_TRUE(dOffs == k + 1 || dOffs == k + 2) << x << "," << y << " char " << k << " offs " << dOffs;
        }
    EXPECT_GT(ink, 500);
}
