// Painting: selection highlights by character, paragraph backgrounds across
// the text width, the inactive selection colour, marks of special characters;
// a screen of a long paragraph painted as the whole document paints it there.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

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

namespace {

// A paragraph of many runs far longer than the screen: what painting one
// screen of it gives must be what painting the whole document gives there.
class LongParagraphPaint : public Paint {
protected:
    int ParaFirst = 0, ParaLast = 0; // the long paragraph's items
    // The glyphs of the fixed metrics' fonts stand out of their boxes: the
    // line below a screen reaches a few pixels up into its last rows, and is
    // painted for them. The whole screen is compared.
    static constexpr int kRows = 60;

    // Runs of two text styles taking turns in paragraph style ParaNo, between
    // two short paragraphs; Before may add items before a run.
    void Build(int ParaNo, int Runs, int TextStyle1 = 0, int TextStyle2 = 3,
               const std::function<void(int Run)>& Before = {}) {
        Doc.Text("Kopf", 0, 0);
        ParaFirst = Doc.GetItemCount();
        for (int i = 0; i < Runs; ++i) {
            if (Before && i > 0) Before(i);
            Doc.Text(i % 2 ? "bb cc ddd " : "ee fff g ", i % 2 ? TextStyle2 : TextStyle1,
                     i == 0 ? ParaNo : -1);
        }
        ParaLast = Doc.GetItemCount() - 1;
        Doc.Text("Fuss", 0, 0);
    }
    QImage Whole() {
        const int h = Doc.Height, y = Doc.VOffs;
        Doc.Height = Doc.DocumentHeight;
        Doc.VOffs = 0;
        QImage img = PaintFirstScreen(Doc);
        Doc.Height = h;
        Doc.VOffs = y;
        return img;
    }
    QImage ScreenAt(int Y) {
        Doc.VOffs = Y;
        QImage img = PaintFirstScreen(Doc);
        Doc.VOffs = 0;
        return img;
    }
    // Every Step pixels from the top, and the end, the top Rows rows of a screen.
    void ExpectScreensAsWhole(int Step, int Rows) {
        const QImage whole = Whole();
        std::vector<int> ys;
        for (int y = 0; y + Doc.Height <= Doc.DocumentHeight; y += Step)
            ys.push_back(y);
        ys.push_back(Doc.DocumentHeight - Doc.Height);
        for (int y : ys)
            ASSERT_EQ(ScreenAt(y).copy(0, 0, Doc.Width, Rows), whole.copy(0, y, Doc.Width, Rows))
                << "at " << y;
    }
    // The bottom of the long paragraph's lines (its frame's bottom edge).
    int ParaBottom() const {
        int b = 0;
        for (int i = Doc.GetFirstDrawItemOfItem(ParaFirst); i < Doc.GetFirstDrawItemOfItem(ParaLast + 1); ++i)
            b = std::max(b, Doc.DrawItem(i)->Top + Doc.DrawItem(i)->Height + Doc.DrawItem(i)->SpaceBelow);
        return b;
    }
};

} // namespace

TEST_F(LongParagraphPaint, AFramedParagraphKeepsItsFrameWhereItsTopIsFarAboveTheScreen) {
    // With a largest text width of 150 the frame reaches to the right edge of
    // a wider picture near the paragraph's start, on every line of it.
    Doc.MaxText = 150;
    Build(8, 600, 0, 3, [&](int Run) {
        if (Run == 3) Doc.AddPicture("", SolidPicture(180, 10, clGreen), -1, 0, TRPTag{});
    });
    Doc.Format();
    ASSERT_GT(Doc.DocumentHeight, 20 * Doc.Height);
    ExpectScreensAsWhole(37, kRows);
    // In the middle: background to the picture's right edge, beyond the largest text width.
    const TRPDrawLineInfo* picture = Doc.DrawItem(Doc.GetFirstDrawItemOfItem(ParaFirst + 3));
    const int right = picture->Left + picture->Width;
    ASSERT_GT(right, 5 + 150 + 10);
    const QImage middle = ScreenAt(Doc.DocumentHeight / 2);
    EXPECT_TRUE(Is(middle, right - 3, 30, Qt::yellow));
    EXPECT_FALSE(Is(middle, right + 2, 30, Qt::yellow));
    // At the end: the frame's bottom edge under the last line, right of the text.
    const QImage end = ScreenAt(ParaBottom() - Doc.Height / 2);
    int black = -1;
    for (int r = 0; r < Doc.Height && black < 0; ++r)
        if (Is(end, right - 10, r, Qt::black)) black = r;
    EXPECT_GE(black, Doc.Height / 2 - 1);
    EXPECT_LE(black, Doc.Height / 2);
}

TEST_F(LongParagraphPaint, ASelectionBandAndMarksAtTheEndOfALongParagraphLookAsPaintedFromItsStart) {
    // Line selection, spacing before and after the paragraph, the marks of
    // special characters, checkpoints and page breaks inside the paragraph.
    Style->SelectionStyle = rpssLines;
    Doc.Opts |= rpoShowSpecialCharacters | rpoShowCheckpoints | rpoShowPageBreaks;
    Build(7, 500, 0, 3, [&](int Run) {
        if (Run % 97 == 50) Doc.AddCheckpoint("", Run % 2 == 0, TRPTag{});
    });
    for (int i = ParaFirst + 70; i < ParaLast; i += 89)
        Doc.GetItem(i)->SetPageBreakBefore(true);
    Doc.Format();
    Doc.StoreSelectionBounds(ParaFirst + 300, 3, ParaLast + 1, 2);
    ExpectScreensAsWhole(29, kRows);
    // Not focused, so in the inactive colour; the band fills the whole line height.
    int blue = 0;
    const QImage end = ScreenAt(Doc.DocumentHeight - Doc.Height);
    for (int y = 0; y < Doc.Height; ++y)
        blue += Is(end, 7, y, Qt::blue);
    EXPECT_GT(blue, Doc.Height / 2);
}

TEST_F(LongParagraphPaint, LinesSpacedCloserThanTheirTextPaintWhereTheyReachFromAbove) {
    // Half spacing: a line of 80-pixel text reaches 40 pixels into the lines
    // of 12-pixel text below it, which lie 6 pixels apart.
    TParaInfo* tight = Style->ParaStyles().Add();
    tight->LineSpacingType = rplsPercent;
    tight->LineSpacing = 50;
    Style->TextStyles().Add()->Size = 60;
    Build(Style->ParaStyles().Count() - 1, 60, Style->TextStyles().Count() - 1, 3, [&](int) {
        for (int k = 0; k < 8; ++k)
            Doc.Text("bb cc ddd ", 3, -1);
    });
    Doc.Format();
    // Lines below a screen that reach up into it are painted too: the whole screen is compared.
    Doc.Height = 120;
    ExpectScreensAsWhole(7, Doc.Height);
}

TEST_F(LongParagraphPaint, TheMarksAfterRulesTakeTheStyleOfTheTextBeforeThem) {
    // The mark of a paragraph's end is drawn in the text style applied last:
    // that of the heading, however many rules lie between.
    Doc.Opts |= rpoShowSpecialCharacters;
    Doc.Right = 40;
    Doc.Text("Kopf", 1, 0);
    for (int i = 0; i < 100; ++i)
        Doc.AddItem("", CreateItemByStyleNo(&Doc, rpsnBreak));
    Doc.Format();
    ASSERT_GT(Doc.DocumentHeight, 10 * Doc.Height);
    ExpectScreensAsWhole(13, kRows);
}

TEST_F(LongParagraphPaint, ParagraphsSpacedByLessThanNothingPaintWhereTheyReach) {
    // Each paragraph starts 20 pixels up into the one before it: a line of
    // 40-pixel text above the last of three lines of 12-pixel text.
    TParaInfo* back = Style->ParaStyles().Add();
    back->SpaceBefore = -20;
    const int paraNo = Style->ParaStyles().Count() - 1;
    for (int i = 0; i < 60; ++i)
        Doc.Text(i % 2 ? "ee fff g bb cc ddd ee fff g bb cc ddd ee fff g bb cc ddd ee fff g bb cc ddd"
                       : "GROSS",
                 i % 2 ? 3 : 1, paraNo);
    Doc.Format();
    // The large text stands above the top of the last short line before it.
    const int big = Doc.GetFirstDrawItemOfItem(2);
    EXPECT_LT(Doc.DrawItem(big)->Top, Doc.DrawItem(big - 1)->Top);
    ASSERT_GT(Doc.DocumentHeight, 10 * Doc.Height);
    ExpectScreensAsWhole(5, kRows);
}

TEST_F(LongParagraphPaint, AScreenPaintsTheDrawItemsItShowsNotThoseOfTheWholeParagraph) {
    int painted = 0;
    Style->OnDrawTextBack = [&](TRPStyle*, TCanvas*, int, int, int, int, int, TRPTextDrawStates, bool&) {
        ++painted;
    };
    Build(8, 2000);
    Doc.Format();
    ASSERT_GT(Doc.DrawItemCount(), 2000);
    for (int y : {0, Doc.DocumentHeight / 2, Doc.DocumentHeight - Doc.Height}) {
        painted = 0;
        ScreenAt(y);
        EXPECT_GT(painted, 3) << y;
        EXPECT_LT(painted, 60) << y;
    }
}

TEST_F(LongParagraphPaint, TheFrameFollowsTheParagraphAfterAnEditAboveTheScreen) {
    Build(8, 400);
    Doc.Format();
    const int y = Doc.DocumentHeight - Doc.Height;
    ScreenAt(y);
    // Longer text near the paragraph's start: its lines and frame move down.
    Doc.Items->Text(ParaFirst + 2) += " hhh iii jjj kkk lll mmm nnn ooo ppp qqq rrr";
    const int d = Doc.GetFirstDrawItemOfItem(ParaFirst + 2);
    Doc.ReformatDrawItemsAround(d, d, 0);
    ASSERT_GT(Doc.DocumentHeight - Doc.Height, y);
    ExpectScreensAsWhole(Doc.DocumentHeight, kRows);
    // The frame's bottom edge right of the text, under the paragraph's new last line.
    const QImage end = ScreenAt(ParaBottom() - Doc.Height / 2);
    int black = -1;
    for (int r = 0; r < Doc.Height && black < 0; ++r)
        if (Is(end, Doc.Width - 8, r, Qt::black)) black = r;
    EXPECT_GE(black, Doc.Height / 2 - 1);
    EXPECT_LE(black, Doc.Height / 2);
}
