// Tables at their limits in the editor: rows and columns that would take a
// grid past them are not inserted, and tables nest no deeper than a saved
// document reads them back, whether pasted, typed in as RTF or inserted as
// items; what the editor holds then saves as RPF and reads back, also after
// undo and redo.
#include <QMimeData>

#include "TableEditFixture.h"

namespace {

using L = TRPTableLimits;

// Rows rows over all columns, cheap to make: the first row of a cell per
// column, every other row one cell across the grid.
void FillWide(TRPTableItemInfo& T, int Rows) {
    TRPTableRows& g = *T.Rows;
    g.Reset(Rows, 0);
    for (int c = 0; c < L::MaxCols; ++c)
        g.GetRow(0)->AddNewCell();
    for (int r = 1; r < Rows; ++r) {
        g.GetRow(r)->AddNewCell()->ColSpan = L::MaxCols;
        for (int c = 1; c < L::MaxCols; ++c)
            g.GetRow(r)->InsertEmpty(c);
    }
}

class TableLimits : public TableInplace {
protected:
    void SetUp() override { F.Style->UseSound = true; }
    // The editor's document as RPF, read into a fresh editor; null when the
    // reading fails.
    std::unique_ptr<TRichPadEdit> ReadBack() {
        auto back = std::make_unique<TRichPadEdit>(F.Form.get());
        back->SetParent(F.Form.get());
        back->SetStyle(F.Style.get());
        if (!back->LoadRPFFromStream(SaveRPF(*F.Edit))) return nullptr;
        return back;
    }
    // Tables of one cell inside cell (0, 0) of the table, the outer table
    // counted: the innermost is at level Depth; answers it.
    TRPTableItemInfo* Nest(int Depth) {
        TRPTableItemInfo* t = T;
        for (int level = 2; level <= Depth; ++level) {
            TRPTableCellData* cell = t->GetCell(0, 0);
            auto inner = TRPTableItemInfo::CreateEx(1, 1, cell);
            t = inner.get();
            cell->AddItem(std::string(), std::move(inner));
        }
        F.Edit->Format();
        return t;
    }
    static int DepthOf(const TCustomRPData& D) {
        int d = 0;
        for (int i = 0; i < D.GetItemCount(); ++i)
            d = std::max(d, RPTablesIn(*D.GetItem(i)));
        return d;
    }
};

TEST_F(TableLimits, RowsAndColumnsPastThePositionsAreNotInserted) {
    const int full = L::MaxPositions / L::MaxCols;
    Build(1, 1);
    FillWide(*T, full - 1);
    T->Changed();
    F.Edit->Format();
    const std::string before = SaveRPF(*F.Edit);
    const int beeps = TCustomRPData::BeepCount;
    EXPECT_FALSE(T->InsertRows(0, 2, -1, false));
    EXPECT_FALSE(T->InsertCols(L::MaxCols, 1, -1, false));
    EXPECT_EQ(TCustomRPData::BeepCount, beeps + 2);
    EXPECT_FALSE(F.Edit->CanUndo());
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    // Bad arguments are bad whatever the limits say.
    EXPECT_THROW(T->InsertRows(full + 5, 1, -1, false), ERichPadError);

    // The last row that fits goes in, as one step undone and redone.
    ASSERT_TRUE(T->InsertRows(full - 1, 1, full - 2, true));
    EXPECT_EQ(T->Rows->RowCount(), full);
    EXPECT_FALSE(T->InsertRows(full, 1, -1, false));
    const std::string filled = SaveRPF(*F.Edit);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    F.Edit->Redo();
    EXPECT_EQ(SaveRPF(*F.Edit), filled);
    T = Table();
    EXPECT_EQ(T->Rows->RowCount(), full);
    std::unique_ptr<TRichPadEdit> back = ReadBack();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(SaveRPF(*back), filled);
}

using TableGridLimits = TableFixture;

// A grid of one column reaches the rows' limit; its block holds every row.
TEST_F(TableGridLimits, RowsPastTheRowsLimitAreNotInserted) {
    auto t = Make(1, 1);
    // One cell down the whole column: the rows cost no cells.
    t->Rows->Reset(L::MaxRows - 1, 0);
    t->Rows->GetRow(0)->AddNewCell()->RowSpan = L::MaxRows - 1;
    for (int r = 1; r < L::MaxRows - 1; ++r)
        t->Rows->GetRow(r)->InsertEmpty(0);
    EXPECT_FALSE(t->InsertRows(0, 2, -1, false));
    EXPECT_EQ(t->Rows->RowCount(), L::MaxRows - 1);
    ASSERT_TRUE(t->InsertRows(L::MaxRows - 1, 1, -1, false));
    EXPECT_FALSE(t->InsertRows(0, 1, -1, false));
    EXPECT_FALSE(t->InsertRows(0, INT_MAX / 2, -1, false));
    auto copy = Make(1, 1);
    ASSERT_TRUE(copy->LoadFromBlock(t->SaveToBlock(TRPTableBlock(*t->Rows))));
    EXPECT_EQ(copy->Rows->RowCount(), L::MaxRows);
    EXPECT_EQ(copy->GetCell(0, 0)->RowSpan, L::MaxRows - 1);
    EXPECT_NE(copy->GetCell(L::MaxRows - 1, 0), nullptr);
}

// In a cell at the deepest level a table may stand at, no table comes in:
// RPF holding one is refused as a whole, RTF and the clipboard bring the
// text without the table, and a table item is not inserted. One level above,
// a table of one level comes in and one of two does not; undone and redone,
// the document still reads back.
TEST_F(TableLimits, TablesGoIntoCellsNoDeeperThanTheyMayNest) {
    Build(1, 1);
    TRPTableItemInfo* deepest = Nest(L::MaxDepth);
    TRPTableItemInfo* above = static_cast<TRPTableCellData*>(deepest->GetRPData())->Table();
    const std::string start = SaveRPF(*F.Edit);
    deepest->EditCellAt(0, 0, true);
    TRPEditRPData* cell = deepest->InplaceEditor()->EditData();
    ASSERT_EQ(RPTablesAround(cell), L::MaxDepth);
    const int beeps = TCustomRPData::BeepCount;
    EXPECT_FALSE(F.Edit->InsertRPFFromStream(TableRPF(1, 1)));
    EXPECT_EQ(TCustomRPData::BeepCount, beeps + 1);
    EXPECT_FALSE(F.Edit->CanUndo());
    EXPECT_TRUE(F.Edit->InsertRTFFromStream("{\\rtf1\\trowd\\cellx1000\\pard\\intbl neu\\cell\\row}"));
    // A table copied in another editor comes by its RTF.
    TRichPadEdit source(F.Form.get());
    source.SetParent(F.Form.get());
    source.SetStyle(F.Style.get());
    source.Clear();
    auto copied = TRPTableItemInfo::CreateEx(1, 2, source.RPData());
    copied->GetCell(0, 1)->AddNL("rechts", 0, 0);
    source.RPData()->AddItem(std::string(), std::move(copied));
    source.Format();
    source.SelectAll();
    ASSERT_TRUE(F.Edit->PasteMimeData(*source.CreateDragData()));
    EXPECT_EQ(DepthOf(*cell), 0);
    EXPECT_EQ(PlainText(*cell).substr(0, 4), "neu\n");
    EXPECT_NE(PlainText(*cell).find("rechts"), std::string::npos);
    EXPECT_FALSE(
        cell->InsertItemAtCaret(std::string(), TRPTableItemInfo::CreateEx(1, 1, cell), false, false));
    F.Edit->DestroyCellEditor();
    EXPECT_EQ(DepthOf(*F.Data()), L::MaxDepth);
    ASSERT_NE(ReadBack(), nullptr);

    above->EditCellAt(0, 0, true);
    const std::string twoLevels = RPFOf([](TCustomRPData& D) {
        auto t = TRPTableItemInfo::CreateEx(1, 1, &D);
        TRPTableCellData* in = t->GetCell(0, 0);
        D.AddItem(std::string(), std::move(t));
        in->AddItem(std::string(), TRPTableItemInfo::CreateEx(1, 1, in));
    });
    EXPECT_FALSE(F.Edit->InsertRPFFromStream(twoLevels));
    ASSERT_TRUE(F.Edit->InsertRPFFromStream(TableRPF(2, 2)));
    F.Edit->DestroyCellEditor();
    const std::string pasted = SaveRPF(*F.Edit);
    ASSERT_NE(ReadBack(), nullptr);
    UndoAll(false);
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    UndoAll(true);
    EXPECT_EQ(SaveRPF(*F.Edit), pasted);
    ASSERT_NE(ReadBack(), nullptr);
}

} // namespace

namespace {

// Sizes given to a table and its cells through the editor's commands, and
// widths summed by a merge, stay in the ranges the table's stream reads:
// the document saves as RPF and reads back byte for byte, and undo gives
// the sizes before.
TEST_F(TableLimits, SizesSetThroughTheEditorReadBackAsSaved) {
    Build(2, 3);
    const std::string before = SaveRPF(*F.Edit);
    T->SetBestWidth(INT_MAX);
    T->SetBorderWidth(INT_MIN);
    T->SetCellPadding(INT_MAX);
    T->SetIntProperty("CellHSpacing", INT_MIN);
    T->SetIntProperty("HeadingRowCount", INT_MAX);
    T->SetCellBestWidth(INT_MIN, 0, 0);
    T->SetCellBestHeight(INT_MAX, 1, 0);
    EXPECT_EQ(T->BestWidth, L::MaxLength);
    EXPECT_EQ(T->BorderWidth, 0);
    EXPECT_EQ(T->CellPadding, L::MaxPadding);
    EXPECT_EQ(T->CellHSpacing, L::MinSpacing);
    EXPECT_EQ(T->HeadingRowCount, L::MaxRows);
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, L::MinPercent);
    EXPECT_EQ(T->GetCell(1, 0)->BestHeight, L::MaxLength);
    // Two cells of 20,000 pixels merged are as wide as a cell may be.
    T->SetCellBestWidth(20000, 0, 1);
    T->SetCellBestWidth(20000, 0, 2);
    T->MergeCells(0, 1, 2, 1, false);
    EXPECT_EQ(T->GetCell(0, 1)->BestWidth, L::MaxLength);
    F.Edit->Format();
    const std::string edited = SaveRPF(*F.Edit);
    std::unique_ptr<TRichPadEdit> back = ReadBack();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(SaveRPF(*back), edited);
    while (F.Edit->CanUndo())
        F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
}

} // namespace
