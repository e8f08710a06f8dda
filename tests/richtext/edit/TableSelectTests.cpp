// Cell selection, the point test, a cell's neighbours and dropped borders.
#include "TableEditFixture.h"

namespace {

using TableSelect = TableInEditor;

std::string Flags(const TRPTableItemInfo& T) {
    std::string s;
    for (int r = 0; r < T.Rows->RowCount(); ++r) {
        if (r) s += "/";
        for (int c = 0; c < T.Rows->GetColCount(); ++c) {
            const TRPTableCellData* cell = T.GetCell(r, c);
            s += !cell ? '.' : (cell->State & rpcsSelected) ? 'x' : 'o';
        }
    }
    return s;
}

TEST_F(TableSelect, SelectionIsTheUnionOfTheCornerCellsAndKeepsTheFlags) {
    Build(3, 3);
    T->Rows->MergeCells(0, 0, 1, 2, true, false); // (1, 0) covered from (0, 0)
    int top, left, rows, cols;
    T->Select(0, 0, 1, 1);
    ASSERT_TRUE(T->GetSelectionBounds(top, left, rows, cols));
    EXPECT_EQ((std::vector<int>{top, left, rows, cols}), (std::vector<int>{0, 0, 2, 2}));
    EXPECT_EQ(Flags(*T), "xxo/.xo/ooo");
    EXPECT_TRUE(T->IsCellSelected(1, 0));
    EXPECT_FALSE(T->IsCellSelected(2, 0));
    // Anchored at a covered position the main cell counts; offsets stay in the grid.
    T->Select(1, 0, 5, 1);
    T->GetSelectionBounds(top, left, rows, cols);
    EXPECT_EQ((std::vector<int>{top, left, rows, cols}), (std::vector<int>{0, 0, 3, 3}));
    T->SelectRows(2, 1);
    EXPECT_EQ(Flags(*T), "ooo/.oo/xxx");
    T->SelectCols(1, 2);
    EXPECT_EQ(Flags(*T), "oxx/.xx/oxx");
    T->ClearSelection();
    EXPECT_FALSE(T->HasCellSelection());
    EXPECT_FALSE(T->GetSelectionBounds(top, left, rows, cols));
    EXPECT_EQ(Flags(*T), "ooo/.oo/ooo");
    // No selection where the document allows none.
    F.Edit->Options &= ~rpoAllowSelection;
    T->Select(0, 0, 1, 1);
    EXPECT_FALSE(T->HasCellSelection());
}

// While cells are selected the table is the caret's item; taking and giving
// up the cell selection moves the caret as far as the program can tell.
TEST_F(TableSelect, ACellSelectionIsTheCaretsItemAndMovesTheCaret) {
    Build(2, 2);
    int moves = 0;
    F.Edit->OnCaretMove = [&](TObject*) { ++moves; };
    F.Caret(0, 2);
    moves = 0;
    F.Data()->SetPartialSelectedItem(T);
    T->Select(0, 0, 1, 1);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(F.Edit->CurItemNo(), 1);
    EXPECT_EQ(F.Edit->OffsetInCurItem(), 1);
    // Selecting text gives the cells up.
    F.Data()->SelectRange(0, 1, 2, false);
    EXPECT_GE(moves, 2);
    EXPECT_FALSE(T->HasCellSelection());
    EXPECT_EQ(F.Data()->GetSelText(), QStringLiteral("vo"));
    EXPECT_EQ(F.CaretPos(), "0:3");
    // Backwards the caret stands at the start; a range runs on over the new lines.
    F.Data()->SelectRange(0, 1, 6, true);
    EXPECT_EQ(F.CaretPos(), "0:1");
    int si, so, ei, eo;
    F.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ((std::vector<int>{si, so, ei, eo}), (std::vector<int>{0, 1, 2, 1}));
    // Normalised, a position at an item's end is the next item's start, and back.
    F.Caret(0, 4);
    F.Data()->NormalizeCaretPos(true, si, so);
    EXPECT_EQ((std::vector<int>{si, so}), (std::vector<int>{1, 0}));
    F.Caret(2, 1);
    F.Data()->NormalizeCaretPos(false, si, so);
    EXPECT_EQ((std::vector<int>{si, so}), (std::vector<int>{1, 1}));
}

TEST_F(TableSelect, PointTestFindsMainCellsButNotTheirRims) {
    Build(2, 2);
    T->Rows->MergeCells(0, 1, 1, 2, true, false);
    F.Edit->Format();
    int r, c;
    const TRPTableCellData* merged = T->GetCell(0, 1);
    ASSERT_GT(merged->Height, 4);
    EXPECT_TRUE(T->GetCellAt(merged->Left + 2, merged->Top + merged->Height - 3, r, c));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(c, 1);
    const TRPTableCellData* low = T->GetCell(1, 0);
    EXPECT_TRUE(T->GetCellAt(low->Left + 1, low->Top + 1, r, c));
    EXPECT_EQ(r, 1);
    EXPECT_EQ(c, 0);
    EXPECT_FALSE(T->GetCellAt(low->Left, low->Top + 1, r, c));
    EXPECT_FALSE(T->GetCellAt(low->Left + 1, low->Top + low->Height - 1, r, c));
    EXPECT_FALSE(T->GetCellAt(-5, 3, r, c));
    EXPECT_EQ(r, -1);
}

TEST_F(TableSelect, NeighboursFollowSpansAndReadingOrder) {
    Build(3, 3);
    T->Rows->MergeCells(0, 1, 2, 1, true, false); // (0, 1) spans two columns
    T->Rows->MergeCells(1, 2, 1, 2, true, false); // (1, 2) spans two rows
    struct TCase {
        int Row, Col, Dir;
        bool Found;
        int NewRow, NewCol;
    } cases[] = {
        {0, 0, TRPTableItemInfo::rpdRight, true, 0, 1},  {0, 1, TRPTableItemInfo::rpdRight, true, 1, 0},
        {1, 0, TRPTableItemInfo::rpdLeft, true, 0, 1},   {0, 0, TRPTableItemInfo::rpdLeft, false, 0, 0},
        {2, 1, TRPTableItemInfo::rpdUp, true, 1, 1},     {1, 2, TRPTableItemInfo::rpdUp, true, 0, 1},
        {1, 2, TRPTableItemInfo::rpdDown, false, 1, 2},  {0, 1, TRPTableItemInfo::rpdDown, true, 1, 1},
        {2, 1, TRPTableItemInfo::rpdRight, true, 1, 2},  {1, 1, TRPTableItemInfo::rpdNext, true, 1, 2},
        {1, 2, TRPTableItemInfo::rpdNext, true, 2, 0},   {2, 0, TRPTableItemInfo::rpdPrev, true, 1, 2},
        {2, 1, TRPTableItemInfo::rpdNext, false, 2, 1},  {0, 0, 4, false, 0, 0},
        {1, 2, TRPTableItemInfo::rpdRight, false, 1, 2}, {2, 2, TRPTableItemInfo::rpdUp, false, 2, 2},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(std::to_string(k.Row) + "," + std::to_string(k.Col) + " dir " + std::to_string(k.Dir));
        int r = -9, c = -9;
        EXPECT_EQ(T->GetAdjacentCell(k.Row, k.Col, true, r, c, k.Dir), k.Found);
        EXPECT_EQ(r, k.NewRow);
        EXPECT_EQ(c, k.NewCol);
    }
}

TEST_F(TableSelect, DroppedBordersSetCellSizesInOneStep) {
    Build(2, 3);
    T->Rows->MergeCells(0, 1, 2, 1, true, false); // the top row spans columns 1 and 2
    F.Edit->Format();
    const std::string before = SaveRPF(*F.Edit);
    const TRPTableItemFormattingInfo& f = T->FormattingInfo;
    const int share = T->CellHSpacing / 2 + T->CellBorderWidth;
    T->DropVBorder(1, f.ColStarts[0] + 2 * T->CellPadding + share + 80, false);
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, 80);
    EXPECT_EQ(T->GetCell(1, 0)->BestWidth, 80);
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);

    // With Shift the right neighbour gives what the column takes; only
    // single-column cells get a width.
    T = Table();
    const int w1 = f.ColWidths[1], sum = w1 + f.ColWidths[2];
    T->DropVBorder(2, f.ColStarts[1] + 2 * T->CellPadding + share + f.ColWidths[1] + 15, true);
    EXPECT_EQ(T->GetCell(1, 1)->BestWidth + T->GetCell(1, 2)->BestWidth, sum);
    EXPECT_EQ(T->GetCell(1, 1)->BestWidth, w1 + 15);
    EXPECT_EQ(T->GetCell(0, 1)->BestWidth, 0);
    // Never narrower than the content allows.
    T->DropVBorder(1, 0, false);
    EXPECT_GE(T->GetCell(1, 0)->BestWidth, T->Rows->GetColMinWidth(0, nullptr, F.Data()->GetCanvas()));

    const int rowShare = T->CellVSpacing / 2 + T->CellBorderWidth;
    T->DropHBorder(1, f.RowStarts[0] + 2 * T->CellPadding + rowShare + 50);
    EXPECT_EQ(T->GetCell(0, 0)->BestHeight, 50);
    EXPECT_EQ(T->GetCell(0, 1)->BestHeight, 50);
    EXPECT_EQ(T->GetCell(1, 0)->BestHeight, 0);
    EXPECT_EQ(F.Data()->UndoList->Count(), 3);
    // Dropping where nothing changes adds no step.
    T->DropHBorder(1, f.RowStarts[0] + 2 * T->CellPadding + rowShare + 50);
    EXPECT_EQ(F.Data()->UndoList->Count(), 3);
}

} // namespace
