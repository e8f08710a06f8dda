// The table model: defaults, main cells, merging, inserting and deleting rows
// and columns, and the repair of inconsistent grids.
#include "TableTestDoc.h"

#include <climits>

#include "richtext/model/RPItem.h"

namespace {

using TableModel = TableFixture;

TEST_F(TableModel, NewTableDefaultsAndFactory) {
    auto t = Make(2, 3);
    EXPECT_EQ(t->StyleNo, rpsnTable);
    EXPECT_EQ(t->CellPadding, 1);
    EXPECT_EQ(t->CellHSpacing, 2);
    EXPECT_EQ(t->CellVSpacing, 2);
    EXPECT_EQ(t->BorderHSpacing, 2);
    EXPECT_EQ(t->BorderVSpacing, 2);
    EXPECT_EQ(t->BorderWidth, 0);
    EXPECT_EQ(t->CellBorderWidth, 0);
    EXPECT_EQ(t->Color, clWindow);
    EXPECT_EQ(t->Options, rptoEditing | rptoRowSizing | rptoColSizing | rptoRowSelect | rptoColSelect);
    EXPECT_EQ(t->PrintOptions, rptoHalftoneBorders | rptoRowsSplit);
    EXPECT_EQ(t->TextColSeparator, "\r\n");
    EXPECT_TRUE(t->TableState & rptbsJustCreated);
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1 1x1/1x1 1x1 1x1");
    const TRPTableCellData* c = t->GetCell(1, 2);
    EXPECT_EQ(c->GetItemCount(), 1);
    EXPECT_EQ(c->GetItem(0)->StyleNo, 0);
    EXPECT_EQ(c->GetItem(0)->ParaNo, 0);
    EXPECT_EQ(c->GetItemText(0), "");
    EXPECT_TRUE(c->IsTransparent());
    EXPECT_TRUE(c->VisibleBorders.Left && c->VisibleBorders.Top && c->VisibleBorders.Right &&
                c->VisibleBorders.Bottom);
    EXPECT_FALSE(c->HasData(true));
    EXPECT_FALSE(c->HasData(false));

    // The factory makes tables for style -60 (the RPF reader's way).
    RPRegisterTableItem();
    auto item = CreateItemByStyleNo(Doc.get(), rpsnTable);
    auto* made = dynamic_cast<TRPTableItemInfo*>(item.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Spans(*made->Rows), "1x1");
}

TEST_F(TableModel, HasDataTellsEmptyParagraphsApart) {
    auto t = Make(1, 1);
    TRPTableCellData* c = t->GetCell(0, 0);
    c->Clear();
    c->AddText("", 0, 1);
    EXPECT_TRUE(c->HasData(true)); // another paragraph style is content worth keeping
    EXPECT_FALSE(c->HasData(false));
    SetText(t.get(), 0, 0, "x");
    EXPECT_TRUE(c->HasData(false));
}

TEST_F(TableModel, BackgroundObjectLivesOnlyWhileItShowsSomething) {
    auto t = Make(1, 1);
    TRPTableCellData* c = t->GetCell(0, 0);
    c->SetBackgroundStyle(rpbsTiled);
    ASSERT_NE(c->GetBackground(), nullptr);
    EXPECT_EQ(c->GetBackgroundStyle(), rpbsTiled);
    c->SetBackgroundStyle(rpbsColor);
    EXPECT_EQ(c->GetBackground(), nullptr);
    EXPECT_EQ(c->GetBackgroundStyle(), rpbsColor);
    t->SetBackgroundStyle(rpbsCentered);
    EXPECT_EQ(t->GetBackgroundStyle(), rpbsCentered);
    // A cell box of 100 x 40 with padding 1 leaves a document of 98 x 38.
    c->Width = 100;
    c->Height = 40;
    EXPECT_EQ(c->GetWidth(), 98);
    EXPECT_EQ(c->GetHeight(), 38);
}

TEST_F(TableModel, MergeClampsToTheGridAndMovesContentInOrder) {
    auto t = Make(3, 3);
    SetText(t.get(), 0, 0, "A");
    SetText(t.get(), 1, 2, "F");
    SetText(t.get(), 2, 0, "G");
    t->Rows->MergeCells(0, 0, 5, 5, true, false);
    EXPECT_EQ(Spans(*t->Rows), "3x3 . ./. . ./. . .");
    // Empty cells add nothing, not even an empty paragraph.
    EXPECT_EQ(CellText(t->GetCell(0, 0)), "A|F|G");
    EXPECT_TRUE(t->Rows->IsConsistent());
    // An empty main cell keeps no empty line in front of what it takes.
    auto u = Make(1, 2);
    SetText(u.get(), 0, 1, "B");
    u->Rows->MergeCells(0, 0, 2, 1, true, false);
    EXPECT_EQ(CellText(u->GetCell(0, 0)), "B");
}

TEST_F(TableModel, ATableMergedIntoAnotherCellBelongsToThatCell) {
    auto t = Make(1, 2);
    SetText(t.get(), 0, 0, "A");
    TRPTableCellData* second = t->GetCell(0, 1);
    auto inner = TRPTableItemInfo::CreateEx(1, 1, second);
    TRPTableItemInfo* in = inner.get();
    second->AddItem(std::string(), std::move(inner));
    TRPTableItemInfo* p = Place(std::move(t));
    // The covered cell is freed: the table must not point at it any more.
    p->Rows->MergeCells(0, 0, 2, 1, true, false);
    EXPECT_EQ(in->GetRPData(), p->GetCell(0, 0));
    EXPECT_EQ(in->GetCell(0, 0)->GetParentData(), p->GetCell(0, 0));
    EXPECT_EQ(in->GetItemNo(), 2);
    Doc->Format();
    EXPECT_GT(in->GetHeight(), 0);
}

TEST_F(TableModel, MergeRefusesToLoseARowOrColumnOrToCutAMergedCell) {
    Style->UseSound = false;
    auto t = Make(2, 2);
    t->Rows->MergeCells(0, 0, 2, 2, false, false);
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1/1x1 1x1");
    // Row 1 still has a cell in column 1, so the first row may merge.
    t->Rows->MergeCells(0, 0, 2, 1, false, false);
    EXPECT_EQ(Spans(*t->Rows), "1x2 ./1x1 1x1");
    // A merge that would cut the merged cell changes nothing.
    EXPECT_FALSE(t->Rows->CanMergeCells(0, 1, 1, 2, true));
    EXPECT_EQ(t->Rows->GetCell(0, 1), nullptr);
    t->Rows->MergeCells(1, 1, 1, 2, true, false);
    EXPECT_EQ(Spans(*t->Rows), "1x2 ./1x1 1x1");
    EXPECT_THROW(t->Rows->MergeCells(0, 0, 0, 2, true, false), ERichPadError);
}

TEST_F(TableModel, SummedBestWidths) {
    auto t = Make(2, 2);
    t->GetCell(0, 0)->BestWidth = 30;
    t->GetCell(0, 1)->BestWidth = 40;
    EXPECT_EQ(t->Rows->SumBestWidth(0, 0, 1, 2), 70);
    t->GetCell(0, 1)->BestWidth = -20;
    EXPECT_EQ(t->Rows->SumBestWidth(0, 0, 1, 2), -20);
    t->GetCell(0, 1)->BestWidth = 40;
    t->GetCell(1, 0)->BestWidth = 50;
    t->GetCell(1, 1)->BestWidth = 40;
    EXPECT_EQ(t->Rows->SumBestWidth(0, 0, 2, 2), 90);
    t->Rows->MergeCells(0, 0, 2, 1, true, true);
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, 70);
}

// Spans and counts are any int a caller passes: they are cut at the grid's
// edge without being added to a position, and sizes shared out among spans
// or summed over them do not overflow on the way.
TEST_F(TableModel, SpansAndCountsOfAnySizeStayInsideTheGrid) {
    auto t = Make(3, 3);
    EXPECT_TRUE(t->Rows->CanMergeCells(1, 1, INT_MAX, INT_MAX, true));
    EXPECT_TRUE(t->Rows->CanMergeCells(0, 2, INT_MAX, INT_MAX, true));
    EXPECT_FALSE(t->Rows->CanMergeCells(2, 2, INT_MAX, INT_MAX, true)); // nothing left to join
    EXPECT_FALSE(t->Rows->CanMergeCells(1, 1, INT_MIN, INT_MAX, true));
    t->Rows->MergeCells(1, 1, INT_MAX, INT_MAX, true, true);
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1 1x1/1x1 2x2 ./1x1 . .");
    t->Rows->MergeCells(0, 1, INT_MAX, 1, true, false);
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x2 ./1x1 2x2 ./1x1 . .");
    EXPECT_TRUE(t->Rows->IsConsistent());
    EXPECT_THROW(t->Rows->MergeCells(0, 0, INT_MIN, 2, true, false), ERichPadError);
    EXPECT_THROW(t->InsertRows(0, INT_MAX, -1, false), ERichPadError);
    EXPECT_THROW(t->InsertCols(0, INT_MAX, -1, false), ERichPadError);
    EXPECT_EQ(t->Rows->RowCount(), 3);

    // Widths summed over a span stay a table's width, however large.
    auto wide = Make(1, 2);
    wide->GetCell(0, 0)->BestWidth = wide->GetCell(0, 1)->BestWidth = 2000000000;
    EXPECT_EQ(wide->Rows->SumBestWidth(0, 0, INT_MAX, INT_MAX), TRPTableLimits::MaxLength);
    EXPECT_EQ(wide->Rows->SumBestWidth(0, 1, 1, INT_MAX), TRPTableLimits::MaxLength);
    wide->GetCell(0, 0)->BestWidth = wide->GetCell(0, 1)->BestWidth = -80;
    EXPECT_EQ(wide->Rows->SumBestWidth(0, 0, 1, 2), TRPTableLimits::MinPercent);
    // A tall cell gives rows added below it their share of its height.
    auto tall = Make(3, 1);
    tall->Rows->MergeCells(0, 0, 1, 3, true, false);
    tall->GetCell(0, 0)->BestHeight = 1000000000;
    tall->Rows->InsertRows(3, 1, 0, true);
    EXPECT_EQ(tall->GetCell(0, 0)->BestHeight, TRPTableLimits::MaxLength);
    tall->GetCell(0, 0)->BestHeight = 30000;
    tall->Rows->InsertRows(4, 1, 0, true);
    EXPECT_EQ(tall->GetCell(0, 0)->BestHeight, 22500);
}

TEST_F(TableModel, MainCellOfCoveredPositions) {
    auto t = Make(3, 3);
    t->Rows->MergeCells(0, 0, 1, 3, true, false);
    t->Rows->MergeCells(1, 1, 2, 2, true, false);
    int mr, mc;
    EXPECT_EQ(t->Rows->GetMainCell(2, 0, mr, mc), t->GetCell(0, 0));
    EXPECT_EQ(mr, 0);
    EXPECT_EQ(mc, 0);
    EXPECT_EQ(t->Rows->GetMainCell(2, 2, mr, mc), t->GetCell(1, 1));
    EXPECT_EQ(mr, 1);
    EXPECT_EQ(mc, 1);
    EXPECT_EQ(t->Rows->GetMainCell(0, 2, mr, mc), t->GetCell(0, 2));
}

TEST_F(TableModel, InsertRowsLengthensCellsTheyCrossAndCopiesTheTemplate) {
    auto t = Make(2, 2);
    t->Rows->MergeCells(0, 0, 1, 2, true, false);
    t->GetCell(0, 1)->Color = clRed;
    t->GetCell(0, 1)->BestHeight = 40;
    t->InsertRows(1, 2, 0, false);
    EXPECT_EQ(Spans(*t->Rows), "4x1 1x1/. 1x1/. 1x1/. 1x1");
    EXPECT_EQ(t->GetCell(1, 1)->Color, clRed);
    EXPECT_EQ(t->GetCell(2, 1)->BestHeight, 40);
    t->InsertRows(4, 1, -1, false);
    EXPECT_EQ(Spans(*t->Rows), "4x1 1x1/. 1x1/. 1x1/. 1x1/1x1 1x1");
    EXPECT_TRUE(t->Rows->IsConsistent());
    EXPECT_TRUE(t->TableState & rptbsChanged);
    EXPECT_THROW(t->InsertRows(6, 1, -1, false), ERichPadError);
    EXPECT_THROW(t->InsertRows(0, 1, 5, false), ERichPadError);
}

TEST_F(TableModel, InsertRowsNeverCopiesASpanOverAColumnCrossedFromAbove) {
    // Row 1 column 1 reaches into row 2; the template row 0 spans both columns.
    auto t = Make(3, 2);
    t->Rows->MergeCells(0, 0, 2, 1, true, false);
    t->Rows->MergeCells(1, 1, 1, 2, true, false);
    t->InsertRows(2, 1, 0, false);
    EXPECT_EQ(Spans(*t->Rows), "1x2 ./1x1 3x1/1x1 ./1x1 .");
    EXPECT_TRUE(t->Rows->IsConsistent());
}

TEST_F(TableModel, InsertColsLengthensCellsTheyCrossAndDividesWidths) {
    auto t = Make(2, 2);
    t->Rows->MergeCells(0, 0, 2, 1, true, false);
    t->GetCell(1, 0)->BestWidth = 90;
    t->Rows->InsertCols(1, 2, 0, true);
    EXPECT_EQ(Spans(*t->Rows), "1x4 . . ./1x1 1x1 1x1 1x1");
    EXPECT_EQ(t->GetCell(1, 0)->BestWidth, 30);
    EXPECT_EQ(t->GetCell(1, 1)->BestWidth, 30);
    t->InsertCols(4, 1, -1, false);
    EXPECT_EQ(Spans(*t->Rows), "1x4 . . . 1x1/1x1 1x1 1x1 1x1 1x1");
    EXPECT_TRUE(t->Rows->IsConsistent());
    EXPECT_THROW(t->InsertCols(-1, 1, -1, false), ERichPadError);
}

TEST_F(TableModel, DeleteColsSplitsAndShrinksMergedCells) {
    auto t = Make(2, 4);
    t->Rows->MergeCells(0, 0, 3, 1, true, false); // columns 0-2
    t->Rows->MergeCells(1, 1, 3, 1, true, false); // columns 1-3
    t->GetCell(1, 1)->BestWidth = 90;
    SetText(t.get(), 1, 1, "gone");
    t->DeleteCols(1, 1, true);
    EXPECT_EQ(Spans(*t->Rows), "1x2 . 1x1/1x1 1x2 .");
    // The right part keeps the attributes; the content went with its column.
    EXPECT_EQ(t->GetCell(1, 1)->BestWidth, 60);
    EXPECT_EQ(CellText(t->GetCell(1, 1)), "");
    // Deleting the first column of a merged cell keeps its right part.
    t->DeleteCols(0, 1, false);
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1/1x2 .");
    EXPECT_TRUE(t->Rows->IsConsistent());
    EXPECT_THROW(t->DeleteCols(0, 3, false), ERichPadError);
    t->DeleteCols(0, 2, false);
    EXPECT_TRUE(t->Rows->IsEmpty());
    EXPECT_EQ(t->Rows->RowCount(), 2);
}

TEST_F(TableModel, RepairClipsOverlapsAndFillsHoles) {
    auto t = Make(3, 3);
    t->GetCell(0, 0)->ColSpan = 2;           // over a cell that is still there
    t->GetCell(0, 2)->RowSpan = 5;           // past the grid
    t->Rows->GetRow(2)->PutCell(1, nullptr); // covered by nobody
    EXPECT_FALSE(t->Rows->IsConsistent());
    t->Rows->Repair();
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1 1x1/1x1 1x1 1x1/1x1 1x1 1x1");
    EXPECT_TRUE(t->Rows->IsConsistent());
}

TEST_F(TableModel, TableInADocumentGivesItsCellsThatDocument) {
    auto other = std::make_unique<TTableTestDoc>(Style.get());
    auto t = TRPTableItemInfo::CreateEx(1, 2, other.get());
    TRPTableItemInfo* p = Place(std::move(t));
    EXPECT_EQ(p->GetRPData(), Doc.get());
    EXPECT_EQ(p->GetCell(0, 1)->GetParentData(), Doc.get());
    EXPECT_EQ(p->GetItemNo(), 0);
    EXPECT_EQ(p->GetSubRPDataCount(), 2);
    int no = 0;
    std::unique_ptr<TRPStoreSubRPData> where;
    p->GetCell(0, 1)->GetParentInfo(no, where);
    EXPECT_EQ(no, 0);
    EXPECT_EQ(where->GetRPData(), p->GetCell(0, 1));
}

} // namespace
