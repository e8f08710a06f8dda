// The table's commands on its grid and on the text of selected cells. In an
// editor's document each command is one undo group made of the records that
// the grid operations write.
#include <algorithm>
#include <memory>
#include <string>

#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableModify.h"
#include "richtext/edit/RPTableUndo.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/edit/RichPadEdit.h"

namespace {

// Cell indices of a selection mean nothing once rows or columns went.
void ForgetCellSelection(TRPTableItemInfo& Table) {
    Table.SelStartRow = Table.SelStartCol = -1;
    Table.SelRowOffs = Table.SelColOffs = 0;
    Table.TableState &= ~rptbsCellsSelected;
}

// A grid change past the table's limits does nothing: the table would not
// read back from what the document saves.
bool Refuse(TRPTableItemInfo& Table) {
    if (TCustomRPData* d = Table.GetRPData()) d->Beep();
    return false;
}

} // namespace

bool TRPTableItemInfo::InsertRows(int Index, int Count, int CopyIndex, bool Select) {
    Rows->CheckInsertion(false, Index, Count, CopyIndex);
    if (Count > 0 && !TRPTableLimits::GridFits(Rows->RowCount() + int64_t{Count}, Rows->GetColCount()))
        return Refuse(*this);
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->InsertRows(Index, Count, CopyIndex, false);
    Changed();
    m.Done();
    if (Select && Count > 0 && Rows->GetColCount() > 0) {
        SelStartRow = Index;
        SelStartCol = 0;
        SelRowOffs = Count - 1;
        SelColOffs = Rows->GetColCount() - 1;
        TableState |= rptbsCellsSelected;
    }
    return true;
}

bool TRPTableItemInfo::InsertCols(int Index, int Count, int CopyIndex, bool Select) {
    Rows->CheckInsertion(true, Index, Count, CopyIndex);
    if (Count > 0 && !TRPTableLimits::GridFits(Rows->RowCount(), Rows->GetColCount() + int64_t{Count}))
        return Refuse(*this);
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->InsertCols(Index, Count, CopyIndex, false);
    Changed();
    m.Done();
    if (Select && Count > 0 && Rows->RowCount() > 0) {
        SelStartRow = 0;
        SelStartCol = Index;
        SelRowOffs = Rows->RowCount() - 1;
        SelColOffs = Count - 1;
        TableState |= rptbsCellsSelected;
    }
    return true;
}

void TRPTableItemInfo::DeleteRows(int Index, int Count) {
    if (Rows->RowCount() == 0) return;
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->DeleteRows(Index, Count);
    ForgetCellSelection(*this);
    Changed();
    m.Done();
}

void TRPTableItemInfo::DeleteCols(int Index, int Count, bool DecreaseWidth) {
    if (Rows->IsEmpty()) return;
    int row = -1, col = -1;
    GetEditedCell(row, col);
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->DeleteCols(Index, Count, DecreaseWidth);
    ForgetCellSelection(*this);
    Changed();
    m.Done();
    // The caret stays in the table: in the cell that was edited, else where
    // the columns were.
    if (Rows->IsEmpty() || !(Options & rptoEditing) || !dynamic_cast<TRPEditRPData*>(GetRPData())) return;
    if (row < 0) {
        row = 0;
        col = Index;
    } else if (col >= Index + Count) {
        col -= Count;
    }
    row = std::min(row, Rows->RowCount() - 1);
    if (Rows->GetRow(row)->Count() == 0) return;
    col = std::clamp(col, 0, Rows->GetRow(row)->Count() - 1);
    int mr = -1, mc = -1;
    if (Rows->GetMainCell(row, col, mr, mc)) EditCell(-1, mr, mc, true, false, false, true, false);
}

void TRPTableItemInfo::MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC) {
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->MergeCells(TopRow, LeftCol, ColSpan, RowSpan, AllowMergeRC, true);
    Changed();
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
    Rows->ForEachCell([&](int r, int c, TRPTableCellData&) {
        if (!IsCellSelected(r, c)) return;
        bool allow = true;
        if (OnCellEditing) OnCellEditing(this, r, c, true, allow);
        if (!allow) return;
        rows.Add(r);
        cols.Add(c);
    });
    if (rows.Count() == 0) return;
    ReleaseCellsOfHost();
    TModify m(*this);
    Rows->ClearCells(rows, cols);
    Changed();
    m.Done();
}

// ---------------------------------------------------------------------------
// Styles applied to the selected cells

namespace {

void CellToEditor(TRPTableCellData& Cell, TCustomRichPadEdit& Editor) {
    std::string s;
    Cell.SaveRPFToStream(s, false, clNone, nullptr, nullptr);
    TColor color = clNone;
    Editor.EditData()->LoadRPFFromStream(s, color, nullptr, nullptr);
    Editor.EditData()->MakeSureEmpty();
    Editor.Format();
    Editor.SelectAll();
}

void EditorToCell(TCustomRichPadEdit& Editor, TRPTableCellData& Cell) {
    std::string s;
    Editor.EditData()->SaveRPFToStream(s, false, clNone, nullptr, nullptr);
    TColor color = clNone;
    Cell.LoadRPFFromStream(s, color, nullptr, nullptr);
    if (Cell.GetItemCount() == 0) Cell.ClearToEmpty();
}

TCustomRichPadEdit* HostEditor(const TRPTableItemInfo& Table) {
    TCustomRPData* d = Table.GetRPData();
    auto* root = d ? dynamic_cast<TRPEditRPData*>(d->GetAbsoluteRootData()) : nullptr;
    return root ? root->Editor() : nullptr;
}

} // namespace

std::unique_ptr<TCustomRichPadEdit> TRPTableItemInfo::CreateTempEditor() {
    TCustomRichPadEdit* host = HostEditor(*this);
    if (!host) return nullptr;
    auto e = std::make_unique<TRichPadEdit>(nullptr);
    e->Options = host->Options;
    e->RTFOptions = host->RTFOptions;
    e->RPFOptions = host->RPFOptions;
    e->EditorOptions = host->EditorOptions;
    e->SetStyle(host->Style());
    e->SetBounds(0, 0, std::max(host->Width(), 100), 100);
    e->SetUndoLimit(host->UndoLimit() != 0 ? -1 : 0);
    e->Clear();
    return e;
}

void TRPTableItemInfo::ApplyToSelectedCells(int Mode, int Value) {
    if (!(Options & rptoEditing) || !HasCellSelection()) return;
    TCustomRichPadEdit* host = HostEditor(*this);
    if (!host || Mode < 0 || Mode > 2) return;
    TModify m(*this);
    std::unique_ptr<TCustomRichPadEdit> temp = CreateTempEditor();
    if (Mode == 0) temp->OnStyleConversion = host->OnStyleConversion;
    if (Mode == 2) temp->OnParaStyleConversion = host->OnParaStyleConversion;
    TRPUndoMultiCellsModify* rec = AddUndoRecord<TRPUndoMultiCellsModify>();
    Rows->ForEachCell([&](int r, int c, TRPTableCellData& Cell) {
        if (!IsCellSelected(r, c)) return;
        bool allow = true;
        if (OnCellEditing) OnCellEditing(this, r, c, true, allow);
        if (!allow) return;
        CellToEditor(Cell, *temp);
        TRPUndoList& undo = *temp->EditData()->UndoList;
        undo.Clear();
        if (Mode == 0)
            temp->ApplyStyleConversion(Value);
        else if (Mode == 1)
            temp->ApplyParaStyle(Value);
        else
            temp->ApplyParaStyleConversion(Value);
        if (rec) rec->TakeGroups(r, c, undo);
        EditorToCell(*temp, Cell);
        Changed();
    });
    temp.reset();
    m.Done();
}

void TRPTableItemInfo::ConvertAllCells(int UserData) {
    if (Rows->IsEmpty()) return;
    const int row = SelStartRow, col = SelStartCol, rows = SelRowOffs, cols = SelColOffs;
    const uint16_t had = TableState & rptbsCellsSelected;
    SelStartRow = SelStartCol = 0;
    SelRowOffs = Rows->RowCount() - 1;
    SelColOffs = Rows->GetColCount() - 1;
    TableState |= rptbsCellsSelected;
    UpdateCellFlags();
    ApplyToSelectedCells(0, UserData);
    SelStartRow = row;
    SelStartCol = col;
    SelRowOffs = rows;
    SelColOffs = cols;
    TableState = static_cast<uint16_t>((TableState & ~rptbsCellsSelected) | had);
    UpdateCellFlags();
}

TRPUndoMultiCellsModify::TRPUndoMultiCellsModify() = default;

TRPUndoMultiCellsModify::~TRPUndoMultiCellsModify() = default;

void TRPUndoMultiCellsModify::TakeGroups(int Row, int Col, TRPUndoList& From) {
    const int n = From.Count();
    if (n == 0) return;
    RowList.Add(Row);
    ColList.Add(Col);
    CountList.Add(n);
    // Kept in the list's order, the one to perform first last.
    const size_t at = Groups.size();
    for (int k = 0; k < n; ++k)
        Groups.insert(Groups.begin() + static_cast<long>(at), From.TakeLast());
}

void TRPUndoMultiCellsModify::UndoTable(TRPTableItemInfo& Table) {
    auto* inv = AddInverseRecord<TRPUndoMultiCellsModify>(Table, *this);
    std::unique_ptr<TCustomRichPadEdit> temp = Table.CreateTempEditor();
    if (!temp) return;
    size_t next = 0;
    for (int i = 0; i < RowList.Count() && i < ColList.Count() && i < CountList.Count(); ++i) {
        const int n = CountList[i];
        const int r = RowList[i], c = ColList[i];
        TRPTableCellData* cell = Table.Rows->FindCell(r, c);
        if (!cell || n <= 0 || next + static_cast<size_t>(n) > Groups.size()) {
            next += static_cast<size_t>(std::max(n, 0));
            continue;
        }
        CellToEditor(*cell, *temp);
        TRPEditRPData& data = *temp->EditData();
        data.UndoList->Clear();
        data.RedoList->Clear();
        for (int k = 0; k < n; ++k)
            data.UndoList->AppendGroup(std::move(Groups[next++]));
        for (int k = 0; k < n && temp->CanUndo(); ++k)
            temp->Undo();
        if (inv) inv->TakeGroups(r, c, *data.RedoList);
        EditorToCell(*temp, *cell);
    }
    Groups.clear();
}
