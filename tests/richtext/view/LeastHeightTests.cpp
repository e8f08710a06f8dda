// The least height a document could have laid out wider, which decides
// whether a view lays its document out again without the vertical bar: it is
// never above the height the document takes at the greater width, whatever
// the sizes, pictures, spacing and indents, and it stops counting once the
// lines it has counted show that the document is higher than asked.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPMarkers.h"

namespace {

// The layout style with more that changes line heights: text raised and
// lowered, text twice as wide with wide blanks, and lines spaced at 75 and
// 50 percent and at 250 percent.
std::unique_ptr<TRPStyle> MixedStyle() {
    auto s = MakeLayoutStyle();
    TFontInfos& t = s->TextStyles();
    const auto add = [&](int Size) {
        TFontInfo* f = t.Add();
        f->FontName = "Arial";
        f->Size = Size;
        return f;
    };
    add(15)->VShift = 60;      // 5
    add(30)->VShift = -40;     // 6
    add(6);                    // 7
    TFontInfo* wide = add(15); // 8
    wide->CharScale = 300;
    wide->CharSpacing = 4;
    for (const int percent : {75, 50, 250}) // 11, 12, 13
        s->ParaStyles().Add()->LineSpacing = percent;
    return s;
}

constexpr int kTextStyles[] = {0, 1, 3, 5, 6, 7, 8};
constexpr int kParaStyles[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13};

// A document of Seed's making: paragraphs of words in all sizes, pictures
// of unequal heights on the baseline and in the middle, list entries, long
// words, and paragraphs that take a size throughout or mix them.
void Fill(TTestFormatDoc& D, unsigned Seed) {
    std::mt19937 rng(Seed);
    const auto pick = [&](int N) { return static_cast<int>(rng() % static_cast<unsigned>(N)); };
    const int paras = 3 + pick(8);
    for (int p = 0; p < paras; ++p) {
        const int para = kParaStyles[pick(static_cast<int>(std::size(kParaStyles)))];
        const bool mixed = pick(3) != 0;
        const int base = kTextStyles[pick(static_cast<int>(std::size(kTextStyles)))];
        bool first = true;
        if (pick(6) == 0) {
            auto m = TRPMarkerItemInfo::CreateEx(&D, 0, 0, 1, false);
            m->ParaNo = para;
            D.AddItem("", std::move(m));
            D.AddMarkerInList(D.GetItemCount() - 1);
            first = false;
        }
        const int items = 1 + pick(7);
        for (int i = 0; i < items; ++i) {
            const int at = first ? para : -1;
            if (pick(4) == 0) {
                D.AddPicture("", SolidPicture(5 + pick(90), 3 + pick(70), clRed), at,
                             static_cast<uint8_t>(pick(2)), TRPTag{});
            } else {
                std::string text;
                const int words = 1 + pick(9);
                for (int w = 0; w < words; ++w)
                    text +=
                        std::string(static_cast<size_t>(1 + pick(pick(8) == 0 ? 30 : 7)), 'a' + pick(26)) +
                        (w + 1 < words || pick(2) ? " " : "");
                D.Text(text.c_str(),
                       mixed ? kTextStyles[pick(static_cast<int>(std::size(kTextStyles)))] : base, at);
            }
            first = false;
        }
    }
}

int HeightAt(TTestFormatDoc& D, int Width) {
    D.Width = Width;
    D.Format();
    return D.DocumentHeight;
}

TEST(LeastHeight, NeverAboveTheHeightAtTheGreaterWidth) {
    FixedMetricsScope metrics;
    const auto style = MixedStyle();
    for (unsigned seed = 1; seed <= 60; ++seed) {
        TTestFormatDoc d(style.get());
        Fill(d, seed);
        for (int width = 120; width <= 520; width += 23)
            for (const int extra : {1, 17, 60}) {
                HeightAt(d, width);
                const int least = d.LeastHeightWhenWider(INT_MAX, extra);
                // Asked for less, it stops once it has counted past it.
                const int asked = least / 2;
                const int early = d.LeastHeightWhenWider(asked, extra);
                const int wider = HeightAt(d, width + extra);
                ASSERT_LE(least, wider) << "seed " << seed << ", width " << width << " + " << extra;
                if (early > asked) ASSERT_LT(asked, wider) << "seed " << seed << ", width " << width;
            }
    }
}

// Where no line of a paragraph was started by a wrap, nothing can join: the
// least height is the height, whatever sizes, pictures and spacing the
// lines have.
TEST(LeastHeight, LinesThatNoWrapStartedKeepTheirHeight) {
    FixedMetricsScope metrics;
    const auto style = MixedStyle();
    TTestFormatDoc d(style.get());
    for (const int para : kParaStyles) {
        d.Text("zeile", 0, para);
        d.Text("gross", 1, -1);
        d.AddPicture("", SolidPicture(20, 33, clRed), -1, 1, TRPTag{});
        d.Text("klein", 7, -1);
        d.Text("hoch", 5, -1);
    }
    const int height = HeightAt(d, 400);
    ASSERT_EQ(d.DrawItemCount(), 5 * static_cast<int>(std::size(kParaStyles)));
    for (const int extra : {1, 17, 300})
        EXPECT_EQ(d.LeastHeightWhenWider(INT_MAX, extra), height) << extra;
}

// A paragraph of 3,000 lines in a document far higher than asked: the count
// stops after about as many lines as the height asked for holds.
TEST(LeastHeight, CountingStopsAfterTheLinesThatShowEnough) {
    FixedMetricsScope metrics;
    const auto style = MakeLayoutStyle();
    TTestFormatDoc d(style.get());
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "aaaa bbbb cccc ddd ";
    d.Text(text.c_str(), 0, 0);
    const int height = HeightAt(d, 210);
    ASSERT_GT(height, 50000);
    int counted = -1;
    const int early = d.LeastHeightWhenWider(200, 17, &counted);
    EXPECT_GT(early, 200);
    EXPECT_LT(early, 260);
    // Ten lines of 20 pixels and a few more, a draw item each.
    EXPECT_GT(counted, 0);
    EXPECT_LT(counted, 40);
    // Counted whole: all of it.
    const int least = d.LeastHeightWhenWider(INT_MAX, 17, &counted);
    EXPECT_EQ(counted, 0);
    EXPECT_GT(least, height / 2);
    EXPECT_LE(least, HeightAt(d, 227));
}

// Spaced by less than nothing, a paragraph further down may end the document
// above the lines before it: a document of 30 lines whose last paragraph
// goes back up to the top is lower than the view, and counted to its end.
TEST(LeastHeight, ParagraphsSpacedBelowZeroAreCountedToTheEnd) {
    FixedMetricsScope metrics;
    auto style = MakeLayoutStyle();
    style->ParaStyles().Add()->SpaceBefore = -560;
    TTestFormatDoc d(style.get());
    for (int i = 0; i < 30; ++i)
        d.Text("zeile", 0, 0);
    d.Text("hoch", 0, style->ParaStyles().Count() - 1);
    const int height = HeightAt(d, 210);
    ASSERT_LT(height, 100);
    int counted = -1;
    EXPECT_EQ(d.LeastHeightWhenWider(100, 17, &counted), height);
    EXPECT_EQ(counted, 0);
}

} // namespace
