// The least height a document could have laid out wider, which decides
// whether a view lays its document out again without the vertical bar: it is
// never above the height the document takes at the greater width, whatever
// the sizes, pictures, spacing and indents, and it stops counting once the
// lines it has counted show that the document is higher than asked.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <string>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
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

using TPick = std::function<int(int)>;

std::string Words(const TPick& Pick) {
    std::string text;
    const int words = 1 + Pick(9);
    for (int w = 0; w < words; ++w)
        text += std::string(static_cast<size_t>(1 + Pick(Pick(8) == 0 ? 30 : 7)), 'a' + Pick(26)) +
                (w + 1 < words || Pick(2) ? " " : "");
    return text;
}

// A table in Doc whose columns share the width, spaced by less than nothing
// now and then; its cells hold words, or (Depth allowing) only a table.
std::unique_ptr<TRPTableItemInfo> RandomTable(TCustomRPData* Doc, const TPick& Pick, int Depth) {
    auto t = TRPTableItemInfo::CreateEx(1 + Pick(3), 1 + Pick(3), Doc);
    if (Pick(3) == 0) t->BorderVSpacing = -10 - Pick(91);
    if (Pick(4) == 0) t->CellVSpacing = -Pick(8);
    for (int r = 0; r < t->Rows->RowCount(); ++r)
        for (int c = 0; c < t->Rows->GetColCount(); ++c) {
            TRPTableCellData* cell = t->GetCell(r, c);
            cell->Clear();
            if (Depth > 0 && Pick(3) == 0) {
                cell->AddItem(std::string(), RandomTable(cell, Pick, Depth - 1));
                continue;
            }
            const int lines = 1 + Pick(Pick(4) == 0 ? 20 : 3);
            for (int i = 0; i < lines; ++i)
                cell->AddNL(Words(Pick), kTextStyles[Pick(static_cast<int>(std::size(kTextStyles)))], 0);
        }
    return t;
}

// A document of Seed's making: paragraphs of words in all sizes, pictures
// of unequal heights on the baseline and in the middle, list entries, long
// words, and paragraphs that take a size throughout or mix them; with
// Tables, tables among them, nested ones alone in cells too.
void Fill(TTestFormatDoc& D, unsigned Seed, bool Tables = false) {
    std::mt19937 rng(Seed);
    const TPick pick = [&](int N) { return static_cast<int>(rng() % static_cast<unsigned>(N)); };
    const int paras = 3 + pick(8);
    for (int p = 0; p < paras; ++p) {
        if (Tables && (pick(3) == 0 || (p + 1 == paras && pick(2) == 0))) {
            D.AddItem(std::string(), RandomTable(&D, pick, 2));
            continue;
        }
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
                const std::string text = Words(pick);
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

// The bound at widths from 120 to 520 pixels, for a few greater widths,
// against the layout at the greater width; asked for a height, it answers
// one past it only when the document is higher than that.
void ExpectNeverAbove(TTestFormatDoc& D, const std::string& Name, int WidthStep) {
    for (int width = 120; width <= 520; width += WidthStep)
        for (const int extra : {1, 17, 60}) {
            const int wider = HeightAt(D, width + extra);
            HeightAt(D, width);
            const int least = D.LeastHeightWhenWider(INT_MAX, extra);
            ASSERT_LE(least, wider) << Name << ", width " << width << " + " << extra;
            // Halfway, and just where the document ends at the greater width.
            for (const int asked : {least / 2, wider})
                if (D.LeastHeightWhenWider(asked, extra) > asked) {
                    ASSERT_LT(asked, wider) << Name << ", asked " << asked << ", width " << width << " + " << extra;
                }
        }
}

// Seeds from 1001 on mix tables in: tables spaced by less than nothing,
// tables alone in cells.
TEST(LeastHeight, NeverAboveTheHeightAtTheGreaterWidth) {
    FixedMetricsScope metrics;
    RPRegisterTableItem();
    const auto style = MixedStyle();
    for (unsigned seed = 1; seed <= 60; ++seed)
        for (const bool tables : {false, true}) {
            TTestFormatDoc d(style.get());
            Fill(d, tables ? 1000 + seed : seed, tables);
            ExpectNeverAbove(d, "seed " + std::to_string(tables ? 1000 + seed : seed), 23);
        }
    const std::string sentence = "Der Fuchs zaehlt die Eier im Nest und rechnet aus wie viele fehlen";
    // A table that ends 100 pixels above where its rows end, below a row of
    // twenty lines: the row of a sentence under it loses lines at a greater width.
    {
        TTestFormatDoc d(style.get());
        auto t = TRPTableItemInfo::CreateEx(2, 1, &d);
        t->BorderVSpacing = -100;
        t->GetCell(0, 0)->Clear();
        for (int i = 0; i < 20; ++i)
            t->GetCell(0, 0)->AddNL("a", 0, 0);
        t->GetCell(1, 0)->Clear();
        t->GetCell(1, 0)->AddNL(sentence, 0, 0);
        d.AddItem(std::string(), std::move(t));
        ExpectNeverAbove(d, "spaced by -100", 7);
    }
    // A cell that holds only a table, whose sentence wraps.
    {
        TTestFormatDoc d(style.get());
        auto outer = TRPTableItemInfo::CreateEx(1, 2, &d);
        TRPTableCellData* host = outer->GetCell(0, 0);
        host->Clear();
        auto inner = TRPTableItemInfo::CreateEx(1, 1, host);
        inner->GetCell(0, 0)->Clear();
        inner->GetCell(0, 0)->AddNL(sentence, 0, 0);
        host->AddItem(std::string(), std::move(inner));
        outer->GetCell(0, 1)->Clear();
        outer->GetCell(0, 1)->AddNL("ab", 0, 0);
        d.AddItem(std::string(), std::move(outer));
        d.Text("Ende der Aufgabe", 0, 0);
        ExpectNeverAbove(d, "a table alone in a cell", 7);
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
