// Painting: selection highlights by character, paragraph backgrounds across
// the text width, the inactive selection colour, marks of special characters.
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"

namespace {

class Paint : public ::testing::Test {
protected:
    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style = MakeLayoutStyle();
    TTestFormatDoc Doc{Style.get()};
    void SetUp() override {
        Style->InactiveSelColor = clBlue;
        Style->SelColor = clRed;
        Doc.Width = 210;
        Doc.Height = 60;
    }
    static bool Is(const QImage& Img, int X, int Y, Qt::GlobalColor C) { return Img.pixel(X, Y) == QColor(C).rgb(); }
};

} // namespace

TEST_F(Paint, SelectedCharactersGetTheSelectionBackground) {
    Doc.Text("aaa bbb", 0, 0);
    Doc.Format();
    // Characters 2 .. 4 (x 15 .. 45), the view not focused: the inactive colour.
    Doc.StoreSelectionBounds(0, 2, 0, 5);
    QImage img = PaintFirstScreen(Doc);
    EXPECT_TRUE(Is(img, 16, 6, Qt::blue));
    EXPECT_TRUE(Is(img, 44, 6, Qt::blue));
    EXPECT_FALSE(Is(img, 46, 6, Qt::blue));
    EXPECT_FALSE(Is(img, 14, 6, Qt::blue));
    // A selection that ends at the first offset of a piece paints none of it.
    Doc.StoreSelectionBounds(0, 1, 0, 1);
    img = PaintFirstScreen(Doc);
    for (int x = 5; x < 75; ++x)
        ASSERT_FALSE(Is(img, x, 6, Qt::blue)) << x;
}

// Part of a right-to-left word is highlighted where its characters stand:
// the first two letters of the word are its right half on the line.
TEST_F(Paint, PartOfARightToLeftWordIsHighlightedUnderItsCharacters) {
    Doc.Right = 60;
    Doc.Wide(QStringLiteral("\u05D0\u05D1\u05D2\u05D3"), 4, 10);
    Doc.Format();
    const TRPDrawLineInfo* d = Doc.DrawItem(0);
    const int y = d->Top + d->Height / 2;
    const auto blue = [&](int From, int To) {
        Doc.StoreSelectionBounds(0, From, 0, To);
        const QImage img = PaintFirstScreen(Doc);
        std::pair<int, int> r{-1, -1};
        for (int x = 0; x < img.width(); ++x)
            if (Is(img, x, y, Qt::blue)) {
                if (r.first < 0) r.first = x;
                r.second = x;
            }
        return r;
    };
    const auto first = blue(1, 3), last = blue(3, 5);
    ASSERT_GE(first.first, 0);
    ASSERT_GE(last.first, 0);
    EXPECT_EQ(last.first, d->Left); // the word's last letters start the line's run
    EXPECT_GE(first.first, last.second);
}

TEST_F(Paint, APictureIsSelectedOnlyWhenTheSelectionCoversIt) {
    Doc.Text("ab", 0, 0);
    Doc.AddPicture("", SolidPicture(20, 20, clGreen), -1, 0, TRPTag{});
    Doc.Text("cd", 0, -1);
    Doc.Format();
    const auto selectedLook = [&](int s1, int o1, int s2, int o2) {
        Doc.StoreSelectionBounds(s1, o1, s2, o2);
        const QImage img = PaintFirstScreen(Doc);
        // The selected look frames the picture in the selection colour.
        return img.pixel(Doc.DrawItem(1)->Left, Doc.DrawItem(1)->Top) == QColor(Qt::blue).rgb();
    };
    EXPECT_TRUE(selectedLook(0, 2, 2, 2));
    EXPECT_FALSE(selectedLook(1, 1, 2, 2)); // starts after the picture
    EXPECT_FALSE(selectedLook(0, 1, 1, 0)); // ends before it
}

TEST_F(Paint, ParagraphBackgroundsSpanTheTextWidth) {
    Doc.Text("abc", 0, 8);
    Doc.Format();
    QImage img = PaintFirstScreen(Doc);
    // Short text, a background to the right margin.
    EXPECT_TRUE(Is(img, 150, 15, Qt::yellow));
    EXPECT_TRUE(Is(img, 200, 15, Qt::yellow));
    EXPECT_TRUE(Is(img, 208, 15, Qt::white));
    // With a largest text width it ends at the left margin plus that width.
    Doc.MaxText = 100;
    Doc.Format();
    img = PaintFirstScreen(Doc);
    EXPECT_TRUE(Is(img, 100, 15, Qt::yellow));
    EXPECT_TRUE(Is(img, 150, 15, Qt::white));
}

TEST_F(Paint, SpecialCharactersMarkParagraphEnds) {
    Doc.Text("ab", 0, 0);
    Doc.Format();
    const QImage plain = PaintFirstScreen(Doc);
    Doc.Opts |= rpoShowSpecialCharacters;
    const QImage marked = PaintFirstScreen(Doc);
    // The mark stands right of the text (x 25 on).
    int changed = 0;
    for (int y = 5; y < 25; ++y)
        for (int x = 25; x < 40; ++x)
            changed += plain.pixel(x, y) != marked.pixel(x, y);
    EXPECT_GT(changed, 5);
    for (int y = 5; y < 25; ++y)
        for (int x = 45; x < 200; ++x)
            ASSERT_EQ(plain.pixel(x, y), marked.pixel(x, y));
}
