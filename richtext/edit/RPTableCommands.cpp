// The table's commands on its grid. In an editor's document each command is
// one undo group whose record holds the table as it was before: undoing puts
// that back and records the changed table, so redo is the undo of the undo.
#include <memory>
#include <string>

#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableModify.h"
#include "richtext/edit/RPUndo.h"

namespace {

class TRPUndoTableGrid : public TRPUndoItemNoInfo {
public:
    TRPUndoTableGrid(int AItemNo, std::string ABlock)
        : TRPUndoItemNoInfo(rpukModifyItem, AItemNo), Block(std::move(ABlock)) {}
    std::string Block;
    void Perform(TRPEditRPData& RPData) override {
        if (ItemNo < 0 || ItemNo >= RPData.GetItemCount()) return;
        if (auto* table = dynamic_cast<TRPTableItemInfo*>(RPData.GetItem(ItemNo)))
            table->RestoreFromUndo(RPData, ItemNo, Block);
    }
};

std::string SaveWhole(const TRPTableItemInfo& Table) {
    return Table.SaveToBlock(0, Table.Rows->RowCount(), 0);
}

// Cell indices of a selection mean nothing once rows or columns went.
void ForgetCellSelection(TRPTableItemInfo& Table) {
    Table.SelStartRow = Table.SelStartCol = -1;
    Table.SelRowOffs = Table.SelColOffs = 0;
    Table.TableState &= ~rptbsCellsSelected;
}

} // namespace

TRPTableItemInfo::TModify::TModify(TRPTableItemInfo& ATable) : Table(ATable) {
    Data = dynamic_cast<TRPEditRPData*>(Table.GetRPData());
    ItemNo = Data ? Table.GetItemNo() : -1;
    if (ItemNo < 0) {
        Data = nullptr;
        return;
    }
    Data->BeginUndoSequence(rpuaModifyItem, true);
    if (Data->GetUndoList()) Before = SaveWhole(Table);
}

TRPTableItemInfo::TModify::~TModify() {
    if (Data) Data->EndUndoSequence();
}

void TRPTableItemInfo::TModify::Done() {
    Table.Changed();
    if (!Data) return;
    Data->MarkChanged(ItemNo, ItemNo);
    // A command the grid declined (a merge it cannot make) leaves no step.
    TRPUndoList* list = Data->GetUndoList();
    if (list && SaveWhole(Table) != Before)
        list->AddInfo(std::make_unique<TRPUndoTableGrid>(ItemNo, std::move(Before)));
    Data->EndUndoSequence();
    Data->EndEdit(true);
    Data = nullptr;
}

void TRPTableItemInfo::RestoreFromUndo(TRPEditRPData& RPData, int ItemNo, const std::string& Block) {
    if (TRPUndoList* list = RPData.GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoTableGrid>(ItemNo, SaveWhole(*this)));
    RPData.MarkChanged(ItemNo, ItemNo);
    // The block was written by this table: reading it back cannot fail short
    // of memory, and then the grid stays as it is.
    if (!LoadFromBlock(Block)) return;
    SetDocument(&RPData);
    for (int r = 0; r < Rows->RowCount(); ++r)
        for (int c = 0; c < Rows->GetRow(r)->Count(); ++c)
            if (TRPTableCellData* cell = Rows->GetCell(r, c); cell && cell->GetItemCount() == 0)
                cell->ClearToEmpty();
    ForgetCellSelection(*this);
    FocusedRow = FocusedCol = ChosenRow = ChosenCol = -1;
    Changed();
}

void TRPTableItemInfo::InsertRows(int Index, int Count, int CopyIndex, bool Select) {
    TModify m(*this);
    Rows->InsertRows(Index, Count, CopyIndex, false);
    m.Done();
    if (Select && Count > 0 && Rows->GetColCount() > 0) {
        SelStartRow = Index;
        SelStartCol = 0;
        SelRowOffs = Count - 1;
        SelColOffs = Rows->GetColCount() - 1;
        TableState |= rptbsCellsSelected;
    }
}

void TRPTableItemInfo::InsertCols(int Index, int Count, int CopyIndex, bool Select) {
    TModify m(*this);
    Rows->InsertCols(Index, Count, CopyIndex, false);
    m.Done();
    if (Select && Count > 0 && Rows->RowCount() > 0) {
        SelStartRow = 0;
        SelStartCol = Index;
        SelRowOffs = Rows->RowCount() - 1;
        SelColOffs = Count - 1;
        TableState |= rptbsCellsSelected;
    }
}

void TRPTableItemInfo::DeleteRows(int Index, int Count) {
    if (Rows->RowCount() == 0) return;
    TModify m(*this);
    Rows->DeleteRows(Index, Count);
    ForgetCellSelection(*this);
    m.Done();
}

void TRPTableItemInfo::DeleteCols(int Index, int Count, bool DecreaseWidth) {
    if (Rows->IsEmpty()) return;
    TModify m(*this);
    Rows->DeleteCols(Index, Count, DecreaseWidth);
    ForgetCellSelection(*this);
    m.Done();
}

void TRPTableItemInfo::MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC) {
    TModify m(*this);
    Rows->MergeCells(TopRow, LeftCol, ColSpan, RowSpan, AllowMergeRC, true);
    m.Done();
}

bool TRPTableItemInfo::CanClearSelectedCells() const {
    if (!(Options & rptoEditing) || !HasCellSelection() || !dynamic_cast<TRPEditRPData*>(GetRPData()))
        return false;
    for (int r = 0; r < Rows->RowCount(); ++r)
        for (int c = 0; c < Rows->GetRow(r)->Count(); ++c)
            if (TRPTableCellData* cell = GetCell(r, c); cell && IsCellSelected(r, c) && !cell->CanClear())
                return false;
    return true;
}

void TRPTableItemInfo::ClearSelectedCells() {
    if (!CanClearSelectedCells()) return;
    TRPIntegerList rows, cols;
    for (int r = 0; r < Rows->RowCount(); ++r)
        for (int c = 0; c < Rows->GetRow(r)->Count(); ++c) {
            if (!GetCell(r, c) || !IsCellSelected(r, c)) continue;
            bool allow = true;
            if (OnCellEditing) OnCellEditing(this, r, c, true, allow);
            if (!allow) continue;
            rows.Add(r);
            cols.Add(c);
        }
    if (rows.Count() == 0) return;
    TModify m(*this);
    Rows->ClearCells(rows, cols);
    m.Done();
}
