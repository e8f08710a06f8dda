// The grid of a table: main cells, merging, inserting and deleting rows and
// columns, clearing, the column queries of the layout, and the check and
// repair of grids read from files.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableUndo.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPMarkers.h"

namespace {

const char* const errBadIndex = "Invalid row or column index";
const char* const errBadMerge = "Parameters for cell merging are not correct";

// The table, when its changes are recorded for undo now.
TRPTableItemInfo* Recorder(const TRPTableRows& Rows) {
    return Rows.Table && Rows.Table->GetUndoTarget() ? Rows.Table : nullptr;
}

// Moves items First .. the end of From to the end of To, as they are. The
// markers after a moved one count without it at once: it may join the
// numbering again further on, and counts on from those before it there.
void MoveItemsTo(TCustomRPData& From, int First, TCustomRPData& To) {
    const int n = From.GetItemCount();
    for (int i = First; i < n; ++i) {
        if (TCustomRPItemInfo* item = From.GetItem(i); item && dynamic_cast<TRPMarkerItemInfo*>(item))
            From.RemoveMarkerFromList(item, false);
        std::unique_ptr<TCustomRPItemInfo> item = From.Items->TakeObject(i);
        if (!item) continue;
        const bool isMarker = dynamic_cast<TRPMarkerItemInfo*>(item.get()) != nullptr;
        To.Items->AddObject(From.Items->Get(i), std::move(item));
        if (isMarker) To.AddMarkerInList(To.GetItemCount() - 1);
    }
    if (First < n) From.Items->DeleteRange(First, n - First);
}

// A * B / C for a size shared out among spans (C > 0): the product may pass
// an int where the share does not.
int ShareOf(int A, int B, int C) {
    return static_cast<int>(static_cast<int64_t>(A) * B / C);
}

// Brackets the records of one grid change that records for undo; the
// closing record is written also when an exception passes.
class TModifyBracket {
public:
    explicit TModifyBracket(TRPTableItemInfo* ARec) : m_rec(ARec) {
        if (m_rec) m_rec->AddUndoRecord<TRPUndoModifyItemTerminator>(true);
    }
    ~TModifyBracket() {
        if (!m_rec) return;
        try {
            m_rec->AddUndoRecord<TRPUndoModifyItemTerminator>(false);
        } catch (...) {
            // The list refused the record: the bracket stays open, as the group does.
        }
    }
    TModifyBracket(const TModifyBracket&) = delete;
    TModifyBracket& operator=(const TModifyBracket&) = delete;

private:
    TRPTableItemInfo* m_rec;
};

} // namespace

std::unique_ptr<TRPTableCellData> TRPTableRows::NewCell(TRPTableRow* Row) const {
    return std::make_unique<TRPTableCellData>(Row);
}

void TRPTableRows::Reset(int ARowCount, int AColCount) {
    Clear();
    for (int r = 0; r < ARowCount; ++r) {
        auto row = std::make_unique<TRPTableRow>(this);
        for (int c = 0; c < AColCount; ++c)
            row->AddNewCell();
        Add(std::move(row));
    }
}

TRPTableCellData* TRPTableRows::GetMainCell(int Row, int Col, int& MainRow, int& MainCol) const {
    MainRow = Row;
    MainCol = Col;
    if (!InGrid(Row, Col)) return nullptr;
    if (TRPTableCellData* c = GetCell(Row, Col)) return c;
    if (static_cast<size_t>(Col) < FMainHints.size()) {
        const TMainCellHint& h = FMainHints[static_cast<size_t>(Col)];
        if (h.Row >= 0 && h.Row <= Row && h.Col <= Col && InGrid(h.Row, h.Col)) {
            TRPTableCellData* c = GetCell(h.Row, h.Col);
            if (c && c == h.Cell && c->RowSpan > Row - h.Row && c->ColSpan > Col - h.Col) {
                MainRow = h.Row;
                MainCol = h.Col;
                return c;
            }
        }
    }
    while (MainRow >= 0) {
        TRPTableRow* row = GetRow(MainRow);
        MainCol = std::min(Col, row->Count() - 1);
        while (MainCol >= 1 && !row->GetCell(MainCol))
            --MainCol;
        if (TRPTableCellData* c = MainCol >= 0 ? row->GetCell(MainCol) : nullptr;
            c && c->ColSpan > Col - MainCol && c->RowSpan > Row - MainRow) {
            // The columns the cell covers ask for it next.
            const int end =
                static_cast<int>(std::min<int64_t>(static_cast<int64_t>(MainCol) + c->ColSpan, row->Count()));
            if (FMainHints.size() < static_cast<size_t>(end)) FMainHints.resize(static_cast<size_t>(end));
            for (int k = MainCol; k < end; ++k)
                FMainHints[static_cast<size_t>(k)] = {c, MainRow, MainCol};
            return c;
        }
        --MainRow;
    }
    MainRow = Row;
    MainCol = Col;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Merging

int TRPTableRows::SumBestWidth(int TopRow, int LeftCol, int RowSpan, int ColSpan) const {
    if (TopRow < 0 || LeftCol < 0 || TopRow >= Count()) return 0;
    const int bottom = TopRow + std::clamp(RowSpan, 0, Count() - TopRow);
    int64_t result = 0;
    for (int r = TopRow; r < bottom; ++r) {
        const int right = LeftCol + std::clamp(ColSpan, 0, std::max(0, GetRow(r)->Count() - LeftCol));
        int64_t v = 0;
        for (int c = LeftCol; c < right; ++c) {
            const TRPTableCellData* cell = GetCell(r, c);
            if (!cell) continue;
            if (cell->BestWidth > 0) {
                if (v >= 0) v += cell->BestWidth;
            } else if (cell->BestWidth < 0) {
                if (v > 0) v = 0;
                v += cell->BestWidth;
            }
        }
        if ((result >= 0 && (v < 0 || v > result)) || (result < 0 && v < result)) result = v;
    }
    return TRPTableLimits::BestWidth(result);
}

bool TRPTableRows::CanMergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC) const {
    if (TopRow < 0 || LeftCol < 0 || TopRow >= Count() || LeftCol >= GetRow(TopRow)->Count()) return false;
    // Spans are cut at the grid's edge. They are compared with what is left of
    // the grid, never added to the position: a caller's span may be any int.
    RowSpan = std::min(RowSpan, Count() - TopRow);
    ColSpan = std::min(ColSpan, GetRow(TopRow)->Count() - LeftCol);
    if ((ColSpan < 2 && RowSpan < 2) || ColSpan < 1 || RowSpan < 1) return false;
    const TRPTableCellData* first = GetCell(TopRow, LeftCol);
    if (!first || (first->RowSpan >= RowSpan && first->ColSpan >= ColSpan)) return false;
    const int bottom = TopRow + RowSpan, right = LeftCol + ColSpan;
    bool other = false;
    for (int r = TopRow; r < bottom; ++r)
        for (int c = LeftCol; c < right; ++c) {
            int mr, mc;
            const TRPTableCellData* main = GetMainCell(r, c, mr, mc);
            if (!main) return false;
            if (mr < TopRow || mc < LeftCol || main->RowSpan > bottom - mr || main->ColSpan > right - mc)
                return false;
            if (main != first) other = true;
        }
    if (AllowMergeRC) return other;
    const int colCount = GetColCount();
    for (int c = LeftCol + 1; c < right; ++c) {
        bool kept = false;
        for (int r = 0; r < Count() && !kept; ++r)
            if ((r < TopRow || r >= bottom) && GetCell(r, c)) kept = true;
        if (!kept) return false;
    }
    for (int r = TopRow + 1; r < bottom; ++r) {
        bool kept = false;
        for (int c = 0; c < colCount && !kept; ++c)
            if ((c < LeftCol || c >= right) && GetCell(r, c)) kept = true;
        if (!kept) return false;
    }
    return true;
}

void TRPTableRows::MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC,
                              bool SumBestWidthFlag) {
    if (TopRow < 0 || LeftCol < 0 || TopRow >= Count() || LeftCol >= GetRow(TopRow)->Count()) return;
    RowSpan = std::min(RowSpan, Count() - TopRow);
    ColSpan = std::min(ColSpan, GetRow(TopRow)->Count() - LeftCol);
    if (ColSpan < 2 && RowSpan < 2) return;
    if (ColSpan < 1 || RowSpan < 1) throw ERichPadError(errBadMerge);
    TRPTableCellData* main = GetCell(TopRow, LeftCol);
    if (!main || (main->RowSpan >= RowSpan && main->ColSpan >= ColSpan)) return;
    if (!CanMergeCells(TopRow, LeftCol, ColSpan, RowSpan, AllowMergeRC)) {
        if (RPData) RPData->Beep();
        return;
    }
    TRPUndoMerge* info = nullptr;
    if (TRPTableItemInfo* t = Recorder(*this)) {
        info = t->AddUndoRecord<TRPUndoMerge>(false, TopRow, LeftCol, RowSpan, ColSpan);
        if (info) info->NoteMainCell(*main, SumBestWidthFlag);
    }
    DoMerge(TopRow, LeftCol, RowSpan, ColSpan, SumBestWidthFlag, info);
}

void TRPTableRows::DoMerge(int TopRow, int LeftCol, int RowSpan, int ColSpan, bool SumBestWidthFlag,
                           TRPUndoMerge* Info) {
    TRPTableCellData* main = FindCell(TopRow, LeftCol);
    if (!main) return;
    // The spans come checked by MergeCells or from an undo record; they are
    // cut at the grid's edge all the same.
    RowSpan = std::min(RowSpan, Count() - TopRow);
    ColSpan = std::min(ColSpan, GetRow(TopRow)->Count() - LeftCol);
    if (RowSpan < 1 || ColSpan < 1) return;
    if (SumBestWidthFlag) main->BestWidth = SumBestWidth(TopRow, LeftCol, RowSpan, ColSpan);
    // An empty main cell gives its empty paragraph's place to the first content.
    bool mainEmpty = !main->HasData(false) && main->GetItemCount() == 1 && !main->GetItem(0)->Checkpoint;
    for (int r = TopRow; r < TopRow + RowSpan; ++r)
        for (int c = LeftCol; c < LeftCol + ColSpan; ++c) {
            TRPTableCellData* cell = FindCell(r, c);
            if (!cell || cell == main) continue;
            // Only content moves: an empty cell gives no empty paragraph.
            if (mainEmpty && cell->HasData(false)) {
                mainEmpty = false;
                if (Info) {
                    Info->OldItemCount = 0;
                    Info->MainText = main->Items->Get(0);
                    main->GetItem(0)->DetachForUndo(0, main);
                    Info->MainItem = main->Items->TakeObject(0);
                } else {
                    main->FreeItemAt(0, false);
                }
                main->Items->Delete(0);
            }
            const int before = main->GetItemCount();
            if (cell->HasData(false)) main->Assign(cell);
            if (Info) {
                std::unique_ptr<TRPTableCellData> kept = GetRow(r)->TakeCell(c);
                kept->DetachForUndo(Info);
                Info->Items.push_back(
                    std::make_unique<TRPUndoMergeItem>(r, c, main->GetItemCount() - before, std::move(kept)));
            } else {
                GetRow(r)->PutCell(c, nullptr);
            }
        }
    main->ColSpan = ColSpan;
    main->RowSpan = RowSpan;
}

void TRPTableRows::Unmerge(TRPUndoMerge& Info) {
    TRPTableCellData* main = GetCell(Info.Row, Info.Col);
    if (!main) return;
    main->BestWidth = Info.OldBestWidth;
    // The covered cells' items lie at the end of the main cell, in scan order.
    int end = main->GetItemCount();
    for (size_t i = Info.Items.size(); i-- > 0;) {
        TRPUndoMergeItem& m = *Info.Items[i];
        const int start = std::max(Info.OldItemCount, end - m.ItemCount);
        if (m.ItemCount > 0 && start < end) {
            MoveItemsTo(*main, start, *m.Cell);
            end = start;
        }
        if (!InGrid(m.Row, m.Col)) continue;
        // In its place first: its list entries find their places from there.
        TRPTableCellData* cell = m.Cell.get();
        GetRow(m.Row)->PutCell(m.Col, std::move(m.Cell));
        cell->ReattachFromUndo();
    }
    Info.Items.clear();
    if (main->GetItemCount() > Info.OldItemCount)
        main->Items->DeleteRange(Info.OldItemCount, main->GetItemCount() - Info.OldItemCount);
    if (Info.MainItem && main->GetItemCount() == 0) {
        TCustomRPItemInfo* item = Info.MainItem.get();
        main->Items->AddObject(std::move(Info.MainText), std::move(Info.MainItem));
        item->ReattachFromUndo(main);
    }
    Info.MainItem.reset();
    if (main->GetItemCount() == 0) main->ClearToEmpty();
    main->ColSpan = Info.OldColSpan;
    main->RowSpan = Info.OldRowSpan;
}

// ---------------------------------------------------------------------------
// Rows and columns

void TRPTableRows::InsertRowsInternal(int Index, int ACount) {
    const int cols = GetColCount();
    for (int i = 0; i < ACount; ++i) {
        auto row = std::make_unique<TRPTableRow>(this);
        for (int c = 0; c < cols; ++c)
            row->AddNewCell();
        Insert(Index + i, std::move(row));
    }
}

void TRPTableRows::DeleteRowsInternal(int Index, int ACount) {
    for (int i = 0; i < ACount && Index < Count(); ++i)
        Delete(Index);
}

void TRPTableRows::CheckInsertion(bool Cols, int Index, int ACount, int CopyIndex) const {
    // The grid's row or column count, and every span grown by ACount, stay ints.
    const int n = Cols ? GetColCount() : Count();
    if (Index < 0 || Index > n || CopyIndex < -1 || CopyIndex >= n || ACount > INT_MAX - n)
        throw ERichPadError(errBadIndex);
}

void TRPTableRows::InsertRows(int Index, int ACount, int CopyIndex, bool DivideHeight) {
    CheckInsertion(false, Index, ACount, CopyIndex);
    if (ACount <= 0) return;
    TRPTableItemInfo* rec = Recorder(*this);
    const TModifyBracket bracket(rec);
    const int cols = GetColCount();
    std::vector<bool> spanned(static_cast<size_t>(cols), false);
    if (Index < Count())
        for (int c = cols - 1; c >= 0; --c) {
            int mr, mc;
            TRPTableCellData* main = GetMainCell(Index, c, mr, mc);
            if (!main) continue;
            if (mr < Index && Index <= mr + main->RowSpan - 1) {
                for (int k = mc; k < mc + main->ColSpan && k < cols; ++k)
                    spanned[static_cast<size_t>(k)] = true;
                SetSpan(mr, mc, false, main->RowSpan + ACount);
            }
            c = mc;
        }
    if (CopyIndex >= Index) CopyIndex += ACount;
    if (rec) rec->AddUndoRecord<TRPUndoInsertTableRows>(Index, ACount, false);
    InsertRowsInternal(Index, ACount);
    for (int c = 0; c < cols;) {
        if (spanned[static_cast<size_t>(c)]) {
            if (rec) rec->AddUndoRecord<TRPUndoFreeEmptyCell>(true, Index, c, ACount, 1);
            FreeCells(Index, c, ACount, 1);
            ++c;
            continue;
        }
        TRPTableCellData* tmpl = CopyIndex >= 0 ? GetCell(CopyIndex, c) : nullptr;
        if (!tmpl) {
            ++c;
            continue;
        }
        if (DivideHeight)
            SetCellSize(CopyIndex, c, false,
                        ShareOf(tmpl->BestHeight, tmpl->RowSpan, tmpl->RowSpan + ACount));
        // The copied span stops at a column that a cell from above crosses.
        int span = 1;
        while (span < tmpl->ColSpan && c + span < cols && !spanned[static_cast<size_t>(c + span)])
            ++span;
        for (int r = Index; r < Index + ACount; ++r) {
            if (rec)
                rec->AssignCellAttributesWithUndo(-1, r, *tmpl, true, 1, tmpl->RowSpan, c);
            else
                GetCell(r, c)->AssignAttributesFrom(*tmpl, true, 1, tmpl->RowSpan);
            if (span > 1) {
                if (rec) rec->AddUndoRecord<TRPUndoSpreadOverEmptyCells>(r, c, span, false);
                SpreadOverEmpty(r, c, span);
            }
        }
        c += span;
    }
}

void TRPTableRows::InsertCols(int Index, int ACount, int CopyIndex, bool DivideWidth) {
    CheckInsertion(true, Index, ACount, CopyIndex);
    if (ACount <= 0) return;
    const int cols = GetColCount();
    TRPTableItemInfo* rec = Recorder(*this);
    const TModifyBracket bracket(rec);
    std::vector<bool> spanned(static_cast<size_t>(Count()), false);
    if (Index < cols)
        for (int r = Count() - 1; r >= 0; --r) {
            int mr, mc;
            TRPTableCellData* main = GetMainCell(r, Index, mr, mc);
            if (!main) continue;
            if (mc < Index && Index <= mc + main->ColSpan - 1) {
                for (int k = mr; k < mr + main->RowSpan && k < Count(); ++k)
                    spanned[static_cast<size_t>(k)] = true;
                SetSpan(mr, mc, true, main->ColSpan + ACount);
            }
            r = mr;
        }
    const auto insertEmpty = [&](int r, int n) {
        if (rec) rec->AddUndoRecord<TRPUndoInsertEmptyCell>(false, r, Index, 1, n);
        InsertEmptyPositions(r, Index, 1, n);
    };
    for (int r = 0; r < Count();) {
        TRPTableRow* row = GetRow(r);
        if (spanned[static_cast<size_t>(r)]) {
            insertEmpty(r, ACount);
            ++r;
            continue;
        }
        TRPTableCellData* tmpl = CopyIndex >= 0 ? row->GetCell(CopyIndex) : nullptr;
        int span = 1;
        if (tmpl) {
            if (DivideWidth)
                SetCellSize(r, CopyIndex, true,
                            ShareOf(tmpl->BestWidth, tmpl->ColSpan, tmpl->ColSpan + ACount));
            while (span < tmpl->RowSpan && r + span < Count() && !spanned[static_cast<size_t>(r + span)])
                ++span;
        }
        for (int k = 0; k < ACount; ++k) {
            if (rec) rec->AddUndoRecord<TRPUndoInsertTableCell>(r, Index, false);
            TRPTableCellData* cell = row->InsertNewCell(Index);
            if (tmpl) {
                if (rec)
                    rec->AssignCellAttributesWithUndo(-1, r, *tmpl, true, tmpl->ColSpan, 1, Index);
                else
                    cell->AssignAttributesFrom(*tmpl, true, tmpl->ColSpan, 1);
                SetSpan(r, Index, false, span);
            }
            for (int b = r + 1; b < r + span; ++b)
                insertEmpty(b, 1);
        }
        r += span;
    }
}

void TRPTableRows::SplitCellVert(int Row, int Col, bool DecreaseWidth, int NewCol) {
    TRPTableCellData* old = GetCell(Row, Col);
    if (!old || NewCol <= Col || NewCol >= Col + old->ColSpan) return;
    std::unique_ptr<TRPTableCellData> cell = NewCell(GetRow(Row));
    cell->AssignAttributesFrom(*old, true, 1, 1);
    cell->RowSpan = old->RowSpan;
    cell->ColSpan = Col + old->ColSpan - NewCol;
    cell->BestWidth = ShareOf(old->BestWidth, cell->ColSpan, old->ColSpan);
    if (DecreaseWidth) old->BestWidth = ShareOf(old->ColSpan - cell->ColSpan, old->BestWidth, old->ColSpan);
    old->ColSpan -= cell->ColSpan;
    GetRow(Row)->PutCell(NewCol, std::move(cell));
}

void TRPTableRows::JoinCellVert(int Row, int Col, int ABestWidth, int SecondCol) {
    TRPTableCellData* cell = GetCell(Row, Col);
    TRPTableCellData* second = GetCell(Row, SecondCol);
    if (!cell || !second) return;
    cell->BestWidth = ABestWidth;
    cell->ColSpan += second->ColSpan;
    GetRow(Row)->PutCell(SecondCol, nullptr);
}

void TRPTableRows::DeleteCols(int Index, int ACount, bool DecreaseWidth) {
    const int cols = GetColCount();
    if (Index < 0 || Index >= cols || ACount <= 0 || (Index == 0 && ACount > cols))
        throw ERichPadError(errBadIndex);
    ACount = std::min(ACount, cols - Index);
    TRPTableItemInfo* rec = Recorder(*this);
    const TModifyBracket bracket(rec);
    const int after = Index + ACount;
    // Cells that reach beyond the deleted columns keep their right part.
    for (int r = Count() - 1; r >= 0; --r) {
        int mr, mc;
        TRPTableCellData* main = GetMainCell(r, after - 1, mr, mc);
        if (!main) continue;
        if (mc >= Index && mc + main->ColSpan > after) {
            if (rec)
                rec->AddUndoRecord<TRPUndoCellSpitVert>(false, mr, mc, after, DecreaseWidth, main->BestWidth);
            SplitCellVert(mr, mc, DecreaseWidth, after);
        }
        r = mr;
    }
    // Cells that start left of them lose the deleted columns.
    for (int r = Count() - 1; r >= 0; --r) {
        int mr, mc;
        TRPTableCellData* main = GetMainCell(r, Index, mr, mc);
        if (!main) continue;
        if (mc < Index) {
            const int oldSpan = main->ColSpan;
            const int span = mc + oldSpan > after ? oldSpan - ACount : Index - mc;
            if (DecreaseWidth) SetCellSize(mr, mc, true, ShareOf(main->BestWidth, span, oldSpan));
            SetSpan(mr, mc, true, span);
        }
        r = mr;
    }
    RemoveCols(Index, ACount, rec ? rec->AddUndoRecord<TRPUndoDeleteCols>(false, Index, ACount) : nullptr);
}

void TRPTableRows::RemoveCols(int Index, int ACount, TCustomRPUndoWithCells* Into) {
    if (Into) DetachCells(0, Index, Count(), ACount, Into);
    for (int r = 0; r < Count(); ++r) {
        TRPTableRow* row = GetRow(r);
        for (int k = ACount - 1; k >= 0; --k) {
            if (Index + k >= row->Count()) continue;
            if (Into) Into->Cells.push_back(row->TakeCell(Index + k));
            row->Delete(Index + k);
        }
    }
}

void TRPTableRows::RestoreCols(int Index, std::vector<std::unique_ptr<TRPTableCellData>>& Cells) {
    const size_t rows = static_cast<size_t>(Count());
    if (rows == 0 || Cells.size() % rows != 0) return;
    const size_t per = Cells.size() / rows;
    for (size_t r = 0; r < rows; ++r) {
        TRPTableRow* row = GetRow(static_cast<int>(r));
        const int at = std::min(Index, row->Count());
        // Listed right to left: each goes in front of the one before.
        for (size_t k = 0; k < per; ++k)
            row->InsertCell(at, std::move(Cells[r * per + k]));
        ReattachCells(static_cast<int>(r), at, 1, static_cast<int>(per));
    }
    Cells.clear();
}

void TRPTableRows::DetachCells(int Row, int Col, int ARowCount, int AColCount, void* Info) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = Col; c < Col + AColCount; ++c)
            if (TRPTableCellData* cell = FindCell(r, c)) cell->DetachForUndo(Info);
}

void TRPTableRows::ReattachCells(int Row, int Col, int ARowCount, int AColCount) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = Col; c < Col + AColCount; ++c)
            if (TRPTableCellData* cell = FindCell(r, c)) {
                GetRow(r)->Adopt(*cell);
                cell->ReattachFromUndo();
            }
}

void TRPTableRows::DeleteRows(int Index, int ACount) {
    const int rows = Count();
    if (Index < 0 || Index >= rows || ACount <= 0) throw ERichPadError(errBadIndex);
    ACount = std::min(ACount, rows - Index);
    TRPTableItemInfo* rec = Recorder(*this);
    const int after = Index + ACount;
    const int cols = GetColCount();
    for (int c = 0; c < cols; ++c) {
        // A cell from above loses the deleted rows.
        for (int r = 0; r < Index; ++r)
            if (TRPTableCellData* cell = GetCell(r, c); cell && r + cell->RowSpan > Index)
                SetSpan(r, c, false, cell->RowSpan - (std::min(r + cell->RowSpan, after) - Index));
        // A cell that starts in them and reaches below moves down to the first kept row.
        for (int r = Index; r < after; ++r) {
            TRPTableCellData* cell = GetCell(r, c);
            if (!cell || r + cell->RowSpan <= after) continue;
            if (rec) rec->AddUndoRecord<TRPUndoMoveCell>(after, r, c, cell->RowSpan);
            std::unique_ptr<TRPTableCellData> moved = GetRow(r)->TakeCell(c);
            moved->RowSpan = r + moved->RowSpan - after;
            GetRow(after)->PutCell(c, std::move(moved));
        }
    }
    RemoveRows(Index, ACount, rec ? rec->AddUndoRecord<TRPUndoDeleteRows>(false, Index, ACount) : nullptr);
}

void TRPTableRows::RemoveRows(int Index, int ACount, TRPUndoDeleteRows* Into) {
    if (!Into) {
        DeleteRowsInternal(Index, ACount);
        return;
    }
    DetachCells(Index, 0, ACount, GetColCount(), Into);
    for (int i = 0; i < ACount && Index < Count(); ++i) {
        TRPTableRow* row = GetRow(Index);
        Into->VAligns.push_back(row->VAlign);
        for (int c = 0; c < row->Count(); ++c)
            Into->Cells.push_back(row->TakeCell(c));
        Delete(Index);
    }
}

void TRPTableRows::RestoreRows(int Index, TRPUndoDeleteRows& From) {
    const size_t n = From.VAligns.size();
    if (n == 0 || From.Cells.size() % n != 0 || Index > Count()) return;
    const size_t per = From.Cells.size() / n;
    for (size_t i = 0; i < n; ++i) {
        auto row = std::make_unique<TRPTableRow>(this);
        row->VAlign = From.VAligns[i];
        for (size_t k = 0; k < per; ++k)
            row->InsertCell(row->Count(), std::move(From.Cells[i * per + k]));
        Insert(Index + static_cast<int>(i), std::move(row));
    }
    From.Cells.clear();
    From.VAligns.clear();
    ReattachCells(Index, 0, static_cast<int>(n), static_cast<int>(per));
}

void TRPTableRows::ClearCells(const TRPIntegerList& RowList, const TRPIntegerList& ColList) {
    TRPTableItemInfo* rec = Recorder(*this);
    ClearCellsInto(RowList, ColList,
                   rec ? rec->AddUndoRecord<TRPUndoCellsClear>(false, RowList, ColList) : nullptr);
}

void TRPTableRows::ClearCellsInto(const TRPIntegerList& RowList, const TRPIntegerList& ColList,
                                  TCustomRPUndoWithCells* Into) {
    for (int i = 0; i < RowList.Count() && i < ColList.Count(); ++i) {
        const int r = RowList[i], c = ColList[i];
        TRPTableCellData* cell = FindCell(r, c);
        if (!Into) {
            if (cell) cell->ClearToEmpty();
            continue;
        }
        if (!cell) {
            // Keeps the list in step with the positions.
            Into->Cells.push_back(nullptr);
            continue;
        }
        std::unique_ptr<TRPTableCellData> fresh = NewCell(GetRow(r));
        fresh->AssignAttributesFrom(*cell, true, 1, 1);
        fresh->AssignSizeFrom(*cell);
        fresh->RowSpan = cell->RowSpan;
        fresh->ColSpan = cell->ColSpan;
        std::unique_ptr<TRPTableCellData> old = GetRow(r)->TakeCell(c);
        old->DetachForUndo(Into);
        Into->Cells.push_back(std::move(old));
        GetRow(r)->PutCell(c, std::move(fresh));
    }
}

void TRPTableRows::RestoreClearedCells(std::vector<std::unique_ptr<TRPTableCellData>>& Cells,
                                       const TRPIntegerList& RowList, const TRPIntegerList& ColList) {
    const int n = std::min({static_cast<int>(Cells.size()), RowList.Count(), ColList.Count()});
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<TRPTableCellData>& cell = Cells[static_cast<size_t>(i)];
        const int r = RowList[i], c = ColList[i];
        if (!cell || !InGrid(r, c)) continue;
        TRPTableCellData* put = cell.get();
        GetRow(r)->PutCell(c, std::move(cell));
        put->ReattachFromUndo();
    }
    Cells.clear();
}

// ---------------------------------------------------------------------------
// Primitives

void TRPTableRows::SpreadOverEmpty(int Row, int Col, int ColSpan) {
    TRPTableCellData* cell = FindCell(Row, Col);
    if (!cell) return;
    ColSpan = std::min(ColSpan, GetRow(Row)->Count() - Col);
    if (ColSpan < 1) return;
    for (int c = Col + std::min(cell->ColSpan, ColSpan); c < Col + ColSpan; ++c)
        GetRow(Row)->PutCell(c, nullptr);
    cell->ColSpan = ColSpan;
}

void TRPTableRows::UnspreadOverEmpty(int Row, int Col, int ColSpan) {
    TRPTableCellData* cell = FindCell(Row, Col);
    if (!cell) return;
    ColSpan = std::min(ColSpan, GetRow(Row)->Count() - Col);
    cell->ColSpan = 1;
    for (int c = Col + 1; c < Col + ColSpan; ++c)
        GetRow(Row)->PutCell(c, NewCell(GetRow(Row)));
}

void TRPTableRows::SetSpan(int Row, int Col, bool IsColSpan, int Value) {
    TRPTableCellData* cell = GetCell(Row, Col);
    if (!cell) return;
    int& span = IsColSpan ? cell->ColSpan : cell->RowSpan;
    if (span == Value) return;
    if (TRPTableItemInfo* t = Recorder(*this)) t->AddUndoRecord<TRPUndoSpan>(IsColSpan, Row, Col, span);
    span = Value;
}

void TRPTableRows::SetCellSize(int Row, int Col, bool Width, int Value) {
    TRPTableCellData* cell = GetCell(Row, Col);
    if (!cell) return;
    int& size = Width ? cell->BestWidth : cell->BestHeight;
    Value = Width ? TRPTableLimits::BestWidth(Value) : TRPTableLimits::BestHeight(Value);
    if (size == Value) return;
    if (TRPTableItemInfo* t = Recorder(*this))
        t->AddUndoRecord<TRPUndoModifyCellIntProperty>(Row, Col, Width ? "BestWidth" : "BestHeight", size);
    size = Value;
}

void TRPTableRows::FreeCells(int Row, int Col, int ARowCount, int AColCount) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = Col; c < Col + AColCount; ++c)
            GetRow(r)->PutCell(c, nullptr);
}

void TRPTableRows::PutNewCells(int Row, int Col, int ARowCount, int AColCount) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = Col; c < Col + AColCount; ++c)
            GetRow(r)->PutCell(c, NewCell(GetRow(r)));
}

void TRPTableRows::InsertEmptyPositions(int Row, int Col, int ARowCount, int AColCount) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = 0; c < AColCount; ++c)
            GetRow(r)->InsertEmpty(Col);
}

void TRPTableRows::DeleteEmptyPositions(int Row, int Col, int ARowCount, int AColCount) {
    for (int r = Row; r < Row + ARowCount; ++r)
        for (int c = 0; c < AColCount; ++c)
            GetRow(r)->Delete(Col);
}

// ---------------------------------------------------------------------------
// Column queries

int TRPTableRows::GetColMinWidth(int Col, const TRPResolution* Resolution, TCanvas* Canvas) const {
    return GetColMinWidth(Col, [&](TRPTableCellData& c) { return c.GetMinWidth(Resolution, Canvas); });
}

int TRPTableRows::GetColMinWidth(int Col, const std::function<int(TRPTableCellData&)>& CellMinWidth) const {
    int w = 0;
    for (int r = 0; r < Count(); ++r)
        if (TRPTableCellData* c = GetCell(r, Col); c && c->ColSpan < 2) w = std::max(w, CellMinWidth(*c));
    return w;
}

int TRPTableRows::GetColPercentWidth(int Col, int TableWidth) const {
    int w = 0;
    for (int r = 0; r < Count(); ++r)
        if (const TRPTableCellData* c = GetCell(r, Col); c && c->ColSpan < 2 && c->BestWidth < 0)
            w = std::max(w, RPCoordClamp(-(static_cast<int64_t>(c->BestWidth) * TableWidth) / 100));
    return w;
}

int TRPTableRows::GetColPixelBestWidth(int Col) const {
    int w = 0;
    for (int r = 0; r < Count(); ++r)
        if (const TRPTableCellData* c = GetCell(r, Col); c && c->ColSpan < 2) {
            if (c->BestWidth < 0) return 0;
            w = std::max(w, c->BestWidth);
        }
    return w;
}

bool TRPTableRows::IsColPercent(int Col) const {
    const int cols = GetColCount();
    for (int r = 0; r < Count(); ++r) {
        const TRPTableCellData* c = GetCell(r, Col);
        if (c) {
            if (c->ColSpan < 2 && c->BestWidth < 0) return true;
            continue;
        }
        int mr, mc;
        const TRPTableCellData* main = GetMainCell(r, Col, mr, mc);
        if (!main || main->BestWidth >= 0) continue;
        if (Col == cols - 1 || GetCell(r, Col + 1)) return true;
        int nr, nc;
        if (GetMainCell(r, Col + 1, nr, nc) != main) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Consistency

bool TRPTableRows::IsConsistent() const {
    const int rows = Count(), cols = GetColCount();
    std::vector<int> owner(static_cast<size_t>(rows) * static_cast<size_t>(cols), 0);
    for (int r = 0; r < rows; ++r) {
        if (GetRow(r)->Count() != cols) return false;
        for (int c = 0; c < cols; ++c) {
            const TRPTableCellData* cell = GetCell(r, c);
            if (!cell) continue;
            if (cell->RowSpan < 1 || cell->ColSpan < 1 || cell->RowSpan > rows - r ||
                cell->ColSpan > cols - c)
                return false;
            for (int y = r; y < r + cell->RowSpan; ++y)
                for (int x = c; x < c + cell->ColSpan; ++x) {
                    if ((y != r || x != c) && GetCell(y, x)) return false;
                    if (owner[static_cast<size_t>(y) * static_cast<size_t>(cols) + static_cast<size_t>(x)]++)
                        return false;
                }
        }
    }
    return std::all_of(owner.begin(), owner.end(), [](int n) { return n == 1; });
}

void TRPTableRows::Repair() {
    int cols = 0;
    for (int r = 0; r < Count(); ++r)
        cols = std::max(cols, GetRow(r)->Count());
    for (int r = 0; r < Count(); ++r)
        while (GetRow(r)->Count() < cols)
            GetRow(r)->InsertEmpty(GetRow(r)->Count());
    const int rows = Count();
    std::vector<bool> covered(static_cast<size_t>(rows) * static_cast<size_t>(cols), false);
    const auto index = [&](int y, int x) {
        return static_cast<size_t>(y) * static_cast<size_t>(cols) + static_cast<size_t>(x);
    };
    auto at = [&](int y, int x) { return covered[index(y, x)]; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TRPTableCellData* cell = GetCell(r, c);
            if (!cell) continue;
            if (at(r, c)) {
                // Lies under an earlier cell: its content joins nobody, it goes.
                GetRow(r)->PutCell(c, nullptr);
                continue;
            }
            int cs = 1;
            while (cs < cell->ColSpan && c + cs < cols && !GetCell(r, c + cs) && !at(r, c + cs))
                ++cs;
            int rs = 1;
            for (; rs < cell->RowSpan && r + rs < rows; ++rs) {
                bool free = true;
                for (int x = c; x < c + cs && free; ++x)
                    free = !GetCell(r + rs, x) && !at(r + rs, x);
                if (!free) break;
            }
            cell->ColSpan = cs;
            cell->RowSpan = rs;
            for (int y = r; y < r + rs; ++y)
                for (int x = c; x < c + cs; ++x)
                    covered[index(y, x)] = true;
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (!at(r, c)) GetRow(r)->PutCell(c, NewCell(GetRow(r)));
}
