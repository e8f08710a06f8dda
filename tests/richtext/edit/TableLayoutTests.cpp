// Table layout on fixed metrics: widths from absolute, percent and automatic
// widths, minimum widths of cell contents, row heights, cell boxes, borders
// and spacing, nested tables.
#include "TableTestDoc.h"

namespace {

class TableLayout : public TableFixture {
protected:
    // A table of one cell holding a table of one cell with "abcdefghij",
    // placed; answers the outer table and the inner one (In).
    TRPTableItemInfo* PlaceNested(TRPTableItemInfo*& In) {
        auto outer = Make(1, 1);
        auto inner = TRPTableItemInfo::CreateEx(1, 1, outer->GetCell(0, 0));
        SetText(inner.get(), 0, 0, "abcdefghij");
        TRPTableCellData* host = outer->GetCell(0, 0);
        host->Clear();
        In = inner.get();
        host->AddItem(std::string(), std::move(inner));
        return Place(std::move(outer));
    }
};

TEST_F(TableLayout, EmptyGridIsItsBorderAndSpacing) {
    auto t = Make(0, 0);
    t->BorderWidth = 1;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(p->GetWidth(), 6);
    EXPECT_EQ(p->GetHeight(), 6);
    EXPECT_EQ(p->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()), 6);
}

TEST_F(TableLayout, TargetWidthFromTheTablesBestWidth) {
    TRPTableItemInfo* p = Place(Make(1, 1));
    EXPECT_EQ(p->GetWidth(), 500);
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "494");
    EXPECT_EQ(List(p->FormattingInfo.ColStarts), "2");
    EXPECT_EQ(p->GetCell(0, 0)->Width, 496);
    EXPECT_EQ(p->GetCell(0, 0)->GetWidth(), 494);
    // An empty line of style 0 is 20 pixels high: padding and spacing around it.
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "20");
    EXPECT_EQ(p->GetHeight(), 2 + 1 + 20 + 1 + 2);
    // At an unchanged width only a forced format lays the table out again.
    p->GetCell(0, 0)->AddNL("b", 0, 0);
    Doc->TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, false);
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "20");
    Doc->Format();
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "40");
    p->BestWidth = -50;
    p->Changed();
    Doc->Format();
    EXPECT_EQ(p->GetWidth(), 250);
    p->BestWidth = 300;
    p->Changed();
    Doc->Width = 200;
    Doc->Format();
    EXPECT_EQ(p->GetWidth(), 300);
}

TEST_F(TableLayout, PixelWidthsEverywhereMakeANaturalTable) {
    auto t = Make(1, 2);
    t->GetCell(0, 0)->BestWidth = 50;
    t->GetCell(0, 1)->BestWidth = 60;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "50 60");
    EXPECT_EQ(p->GetWidth(), 6 + 4 + 110);
    EXPECT_TRUE(p->AllColumnsHavePixelWidths());
    // Its layout stands at any width until it changes or a format forces it.
    p->GetCell(0, 0)->AddNL("b", 0, 0);
    Doc->Width = 400;
    Doc->TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, false);
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "20");
    Doc->Format();
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "40");
    p->GetCell(0, 1)->AddNL("c", 0, 0);
    p->GetCell(0, 1)->AddNL("d", 0, 0);
    p->Changed();
    Doc->Width = 300;
    Doc->TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, false);
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "60");
    EXPECT_EQ(p->GetWidth(), 6 + 4 + 110);
}

// A column of one pixel (a cell of an RTF row a twip wide) is as wide as its
// word; the cell spanning it and the next column keeps its own width.
TEST_F(TableLayout, AColumnOfOnePixelIsAsWideAsItsWord) {
    auto t = Make(2, 2);
    SetText(t.get(), 0, 0, "abc");
    t->GetCell(0, 0)->BestWidth = 1;
    t->GetCell(0, 1)->BestWidth = 66;
    t->Rows->MergeCells(1, 0, 2, 1, true, false);
    t->GetCell(1, 0)->BestWidth = 67;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_TRUE(p->AllColumnsHavePixelWidths());
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "30 66");
}

TEST_F(TableLayout, UnbreakableContentMakesTheTableWiderThanTheDocument) {
    auto t = Make(1, 1);
    SetText(t.get(), 0, 0, std::string(60, 'w'));
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(p->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()), 606);
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "600");
    EXPECT_EQ(p->GetWidth(), 606);
}

TEST_F(TableLayout, FreeColumnsShareWhatIsLeftEvenly) {
    auto t = Make(1, 3);
    t->BestWidth = 114; // 100 pixels for contents: 8 spacing, 6 padding
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "33 33 34");
}

TEST_F(TableLayout, PercentColumnTakesItsShareAndTheRestGoesToFreeColumns) {
    auto t = Make(1, 2);
    t->GetCell(0, 0)->BestWidth = -25;
    t->BestWidth = 400;
    TRPTableItemInfo* p = Place(std::move(t));
    // 25 % of 394 less the padding; the free column takes what is left of 390.
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "96 294");
}

// A column whose percentage its word already fills keeps the word's width,
// whether another column wants more or not: the pixel column takes the rest.
// Widening the table a pixel at a time then widens the columns a little at a
// time, as the view's scroll bar expects of it.
TEST_F(TableLayout, AColumnWhosePercentageItsContentFillsLeavesTheRestToTheOthers) {
    auto t = Make(1, 2);
    t->GetCell(0, 0)->BestWidth = 50;
    t->GetCell(0, 1)->BestWidth = -25;
    SetText(t.get(), 0, 1, std::string(15, 'w'));
    t->BestWidth = 600;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "440 150");
    for (int w = 601; w <= 700; ++w) {
        const int was0 = p->FormattingInfo.ColWidths[0], was1 = p->FormattingInfo.ColWidths[1];
        p->BestWidth = w;
        p->Changed();
        Doc->Format();
        const int now0 = p->FormattingInfo.ColWidths[0], now1 = p->FormattingInfo.ColWidths[1];
        ASSERT_TRUE(now0 >= was0 && now1 >= was1 && now0 + now1 == was0 + was1 + 1) << w;
    }
}

TEST_F(TableLayout, PixelColumnsKeepTheirWidthAndAFreeColumnTakesTheRest) {
    auto t = Make(1, 3);
    t->GetCell(0, 0)->BestWidth = 100;
    t->GetCell(0, 2)->BestWidth = 50;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "100 336 50");
}

TEST_F(TableLayout, BordersAndSpacingPlaceTheCells) {
    auto t = Make(2, 2);
    t->BorderWidth = 3;
    t->CellBorderWidth = 1;
    t->CellHSpacing = 5;
    t->CellVSpacing = 4;
    Doc->Width = 200;
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(List(p->FormattingInfo.ColWidths), "88 89");
    EXPECT_EQ(List(p->FormattingInfo.ColStarts), "6 103");
    EXPECT_EQ(List(p->FormattingInfo.RowStarts), "6 34");
    const TRPTableCellData* c = p->GetCell(1, 1);
    EXPECT_EQ(c->Left, 103);
    EXPECT_EQ(c->Top, 34);
    EXPECT_EQ(c->Width, 91);
    EXPECT_EQ(c->Height, 22);
    // The last cell's box, border, spacing and the table border fill the width.
    EXPECT_EQ(c->Left + c->Width + 1 + 2 + 3, p->GetWidth());
    EXPECT_EQ(c->Top + c->Height + 1 + 2 + 3, p->GetHeight());
}

// Spaced below zero, the rows move onto the table's border and past it, and
// rows spaced closer than their height climb above the rows before them: the
// table's box grows to hold every row and cell, so that none stands over the
// line before the table or under the line after it.
TEST_F(TableLayout, RowsSpacedBelowZeroStayInTheTablesBox) {
    const auto place = [&](int BorderV, int CellV, bool Merged) {
        Doc->Clear();
        Doc->AddNL("davor", 0, 0);
        auto t = Make(3, 2);
        t->BorderWidth = 1;
        t->CellBorderWidth = 1;
        t->BorderVSpacing = BorderV;
        t->CellVSpacing = CellV;
        if (Merged) t->Rows->MergeCells(0, 1, 1, 3, true, false);
        for (int r = 0; r < 3; ++r)
            SetText(t.get(), r, 0, "z");
        TRPTableItemInfo* p = Place(std::move(t));
        Doc->AddNL("danach", 0, 0);
        Doc->Format();
        return p;
    };
    for (int borderV : {2, 0, -1, -10, -100})
        for (int cellV : {2, -1, -8, -30, -100})
            for (bool merged : {false, true}) {
                TRPTableItemInfo* p = place(borderV, cellV, merged);
                const TRPTableItemFormattingInfo& f = p->FormattingInfo;
                const std::string at = "border spacing " + std::to_string(borderV) + ", cell spacing " +
                                       std::to_string(cellV) + (merged ? ", merged" : "");
                for (int r = 0; r < 3; ++r) {
                    EXPECT_GE(f.RowStarts[r], 0) << at;
                    EXPECT_LE(f.RowStarts[r] + f.RowHeights[r], p->GetHeight()) << at;
                    for (int c = 0; c < 2; ++c)
                        if (const TRPTableCellData* cell = p->GetCell(r, c)) {
                            EXPECT_GE(cell->Top, 0) << at;
                            EXPECT_LE(cell->Top + cell->Height, p->GetHeight()) << at;
                            EXPECT_EQ(cell->Top, f.RowStarts[r]) << at;
                        }
                }
                ASSERT_EQ(Doc->DrawItemCount(), 3) << at;
                const TRPDrawLineInfo* before = Doc->DrawItem(0);
                const TRPDrawLineInfo* table = Doc->DrawItem(1);
                const TRPDrawLineInfo* after = Doc->DrawItem(2);
                EXPECT_EQ(table->Top, before->Top + before->Height) << at;
                EXPECT_EQ(table->Height, p->GetHeight()) << at;
                EXPECT_EQ(after->Top, table->Top + table->Height) << at;
            }
    // The border spacing moves the rows onto the table's top; the box ends
    // with the last row's box.
    TRPTableItemInfo* p = place(-100, 2, false);
    EXPECT_EQ(List(p->FormattingInfo.RowStarts), "0 26 52");
    EXPECT_EQ(p->GetHeight(), 52 + 22);
    // Rows 96 pixels closer than their padding and borders give back climb
    // 76 pixels each: the last one stands at the top.
    p = place(2, -100, false);
    EXPECT_EQ(List(p->FormattingInfo.RowStarts), "152 76 0");
    EXPECT_EQ(p->GetHeight(), 152 + 22);
    // Spaced by nothing, the borders and paddings alone stand around the rows.
    p = place(0, 0, false);
    EXPECT_EQ(List(p->FormattingInfo.RowStarts), "2 26 50");
    EXPECT_EQ(p->GetHeight(), 50 + 22 + 1 + 1);
}

TEST_F(TableLayout, SpanningCellsGrowTheColumnsAndRowsTheyCover) {
    auto t = Make(3, 2);
    t->Rows->MergeCells(0, 0, 1, 2, true, false);
    t->Rows->MergeCells(1, 1, 1, 2, true, false);
    SetText(t.get(), 0, 0, "a\nb\nc\nd\ne");
    SetText(t.get(), 0, 1, "x");
    SetText(t.get(), 1, 1, "y");
    SetText(t.get(), 2, 0, "z");
    TRPTableItemInfo* p = Place(std::move(t));
    // Row 0 ends a cell inside the span, so only row 1 grows: 100 + 2 needed.
    EXPECT_EQ(List(p->FormattingInfo.RowHeights), "20 76 20");
    const TRPTableCellData* c = p->GetCell(0, 0);
    EXPECT_EQ(c->Height, 2 + 20 + 76 + 4);
    EXPECT_EQ(c->GetContentHeight(), 100);

    // A cell spanning two columns needs both of them.
    auto w = Make(2, 2);
    w->Rows->MergeCells(0, 0, 2, 1, true, false);
    SetText(w.get(), 0, 0, std::string(30, 'w'));
    SetText(w.get(), 1, 0, "ab");
    Doc->Clear();
    Doc->Width = 100;
    TRPTableItemInfo* q = Place(std::move(w));
    EXPECT_EQ(q->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()), 306);
    EXPECT_EQ(q->GetCell(0, 0)->GetWidth(), 300);
}

TEST_F(TableLayout, NestedTableLaysOutAtItsCellsWidth) {
    TRPTableItemInfo* in = nullptr;
    TRPTableItemInfo* out = PlaceNested(in);
    EXPECT_EQ(in->GetRPData(), out->GetCell(0, 0));
    EXPECT_EQ(out->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()), 100 + 6 + 6);
    EXPECT_EQ(in->GetWidth(), 494);
    EXPECT_EQ(List(in->FormattingInfo.ColWidths), "488");
    EXPECT_EQ(List(out->FormattingInfo.RowHeights), std::to_string(in->GetHeight()));
}

// A table's minimum width is measured once until it changes: a change of a
// table inside one of its cells counts, and a forced formatting measures
// cells filled by hand.
TEST_F(TableLayout, AMinimumWidthStandsUntilTheTableOrATableInItChanges) {
    TRPTableItemInfo* in = nullptr;
    TRPTableItemInfo* out = PlaceNested(in);
    const auto minWidth = [&] { return out->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()); };
    EXPECT_EQ(minWidth(), 100 + 6 + 6);
    in->SetBestWidth(300);
    EXPECT_EQ(minWidth(), 300 + 6);
    in->SetBestWidth(0);
    EXPECT_EQ(minWidth(), 100 + 6 + 6);
    SetText(in, 0, 0, std::string(40, 'w'));
    Doc->Format();
    EXPECT_EQ(minWidth(), 400 + 6 + 6);
}

TEST_F(TableLayout, HitTestsOnTheLayout) {
    auto t = Make(2, 2);
    Doc->Width = 200;
    TRPTableItemInfo* p = Place(std::move(t));
    // Columns: 2..97 and 101..198 with a gap of four between.
    EXPECT_EQ(List(p->FormattingInfo.ColStarts), "2 101");
    EXPECT_EQ(p->GetColAt(1), -1);
    EXPECT_EQ(p->GetColAt(50), 0);
    EXPECT_EQ(p->GetColAt(101), 1);
    int start = 0, pos = 0;
    EXPECT_EQ(p->GetVBorderAt(99, start, pos), 1);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(pos, 100);
    EXPECT_EQ(p->GetVBorderAt(0, start, pos), 0);
    EXPECT_EQ(p->GetVBorderAt(199, start, pos), 2);
    EXPECT_EQ(p->GetVBorderAt(50, start, pos), -1);
    TRPIntegerList starts;
    for (int v : {0, 10, 20, 30})
        starts.Add(v);
    EXPECT_EQ(TRPTableItemInfo::FindListIndex(starts, 15), 1);
    EXPECT_EQ(TRPTableItemInfo::FindListIndex(starts, 20), 1);
    EXPECT_EQ(TRPTableItemInfo::FindListIndex(starts, 35), 3);
}

} // namespace
