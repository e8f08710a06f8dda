// The grid of a table: main cells, merging, inserting and deleting rows and
// columns, clearing, the column queries of the layout, and the check and
// repair of grids read from files.
#include <algorithm>
#include <vector>

#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPData.h"

namespace {

const char* const errBadIndex = "Invalid row or column index";
const char* const errBadMerge = "Parameters for cell merging are not correct";

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
    if (Row < 0 || Row >= Count() || Col < 0 || Col >= GetRow(Row)->Count()) return nullptr;
    if (TRPTableCellData* c = GetCell(Row, Col)) return c;
    while (MainRow >= 0) {
        TRPTableRow* row = GetRow(MainRow);
        MainCol = std::min(Col, row->Count() - 1);
        while (MainCol >= 1 && !row->GetCell(MainCol))
            --MainCol;
        if (TRPTableCellData* c = MainCol >= 0 ? row->GetCell(MainCol) : nullptr;
            c && c->ColSpan > Col - MainCol && c->RowSpan > Row - MainRow)
            return c;
        --MainRow;
    }
    MainRow = Row;
    MainCol = Col;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Merging

int TRPTableRows::SumBestWidth(int TopRow, int LeftCol, int RowSpan, int ColSpan) const {
    int result = 0;
    for (int r = TopRow; r < TopRow + RowSpan; ++r) {
        int v = 0;
        for (int c = LeftCol; c < LeftCol + ColSpan; ++c) {
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
    return result;
}

bool TRPTableRows::CanMergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC) const {
    if (TopRow < 0 || LeftCol < 0 || TopRow >= Count() || LeftCol >= GetRow(TopRow)->Count()) return false;
    if (TopRow + RowSpan > Count()) RowSpan = Count() - TopRow;
    if (LeftCol + ColSpan > GetRow(TopRow)->Count()) ColSpan = GetRow(TopRow)->Count() - LeftCol;
    if ((ColSpan < 2 && RowSpan < 2) || ColSpan < 1 || RowSpan < 1) return false;
    const TRPTableCellData* first = GetCell(TopRow, LeftCol);
    if (!first || (first->RowSpan >= RowSpan && first->ColSpan >= ColSpan)) return false;
    bool other = false;
    for (int r = TopRow; r < TopRow + RowSpan; ++r)
        for (int c = LeftCol; c < LeftCol + ColSpan; ++c) {
            int mr, mc;
            const TRPTableCellData* main = GetMainCell(r, c, mr, mc);
            if (!main) return false;
            if (mr < TopRow || mc < LeftCol || mr + main->RowSpan > TopRow + RowSpan ||
                mc + main->ColSpan > LeftCol + ColSpan)
                return false;
            if (main != first) other = true;
        }
    if (AllowMergeRC) return other;
    const int colCount = GetColCount();
    for (int c = LeftCol + 1; c < LeftCol + ColSpan; ++c) {
        bool kept = false;
        for (int r = 0; r < Count() && !kept; ++r)
            if ((r < TopRow || r >= TopRow + RowSpan) && GetCell(r, c)) kept = true;
        if (!kept) return false;
    }
    for (int r = TopRow + 1; r < TopRow + RowSpan; ++r) {
        bool kept = false;
        for (int c = 0; c < colCount && !kept; ++c)
            if ((c < LeftCol || c >= LeftCol + ColSpan) && GetCell(r, c)) kept = true;
        if (!kept) return false;
    }
    return true;
}

void TRPTableRows::MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC,
                              bool SumBestWidthFlag) {
    if (TopRow < 0 || LeftCol < 0 || TopRow >= Count() || LeftCol >= GetRow(TopRow)->Count()) return;
    if (TopRow + RowSpan > Count()) RowSpan = Count() - TopRow;
    if (LeftCol + ColSpan > GetRow(TopRow)->Count()) ColSpan = GetRow(TopRow)->Count() - LeftCol;
    if (ColSpan < 2 && RowSpan < 2) return;
    if (ColSpan < 1 || RowSpan < 1) throw ERichPadError(errBadMerge);
    TRPTableCellData* main = GetCell(TopRow, LeftCol);
    if (!main || (main->RowSpan >= RowSpan && main->ColSpan >= ColSpan)) return;
    if (!CanMergeCells(TopRow, LeftCol, ColSpan, RowSpan, AllowMergeRC)) {
        if (RPData) RPData->Beep();
        return;
    }
    if (SumBestWidthFlag) main->BestWidth = SumBestWidth(TopRow, LeftCol, RowSpan, ColSpan);
    for (int r = TopRow; r < TopRow + RowSpan; ++r)
        for (int c = LeftCol; c < LeftCol + ColSpan; ++c) {
            TRPTableCellData* cell = GetCell(r, c);
            if (!cell || cell == main) continue;
            // Only content moves: an empty cell gives no empty paragraph.
            if (cell->HasData(false)) main->Assign(cell);
            GetRow(r)->PutCell(c, nullptr);
        }
    main->ColSpan = ColSpan;
    main->RowSpan = RowSpan;
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

void TRPTableRows::InsertRows(int Index, int ACount, int CopyIndex, bool DivideHeight) {
    if (Index < 0 || Index > Count() || CopyIndex < -1 || CopyIndex >= Count())
        throw ERichPadError(errBadIndex);
    if (ACount <= 0) return;
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
                main->RowSpan += ACount;
            }
            c = mc;
        }
    if (CopyIndex >= Index) CopyIndex += ACount;
    InsertRowsInternal(Index, ACount);
    for (int c = 0; c < cols;) {
        if (spanned[static_cast<size_t>(c)]) {
            for (int r = Index; r < Index + ACount; ++r)
                GetRow(r)->PutCell(c, nullptr);
            ++c;
            continue;
        }
        const TRPTableCellData* tmpl = CopyIndex >= 0 ? GetCell(CopyIndex, c) : nullptr;
        if (!tmpl) {
            ++c;
            continue;
        }
        if (DivideHeight)
            GetCell(CopyIndex, c)->BestHeight = tmpl->BestHeight * tmpl->RowSpan / (tmpl->RowSpan + ACount);
        // The copied span stops at a column that a cell from above crosses.
        int span = 1;
        while (span < tmpl->ColSpan && c + span < cols && !spanned[static_cast<size_t>(c + span)])
            ++span;
        for (int r = Index; r < Index + ACount; ++r) {
            TRPTableCellData* cell = GetCell(r, c);
            cell->AssignAttributesFrom(*tmpl, true, 1, tmpl->RowSpan);
            cell->ColSpan = span;
            for (int k = c + 1; k < c + span; ++k)
                GetRow(r)->PutCell(k, nullptr);
        }
        c += span;
    }
}

void TRPTableRows::InsertCols(int Index, int ACount, int CopyIndex, bool DivideWidth) {
    const int cols = GetColCount();
    if (Index < 0 || Index > cols || CopyIndex < -1 || CopyIndex >= cols) throw ERichPadError(errBadIndex);
    if (ACount <= 0) return;
    std::vector<bool> spanned(static_cast<size_t>(Count()), false);
    if (Index < cols)
        for (int r = Count() - 1; r >= 0; --r) {
            int mr, mc;
            TRPTableCellData* main = GetMainCell(r, Index, mr, mc);
            if (!main) continue;
            if (mc < Index && Index <= mc + main->ColSpan - 1) {
                for (int k = mr; k < mr + main->RowSpan && k < Count(); ++k)
                    spanned[static_cast<size_t>(k)] = true;
                main->ColSpan += ACount;
            }
            r = mr;
        }
    for (int r = 0; r < Count();) {
        TRPTableRow* row = GetRow(r);
        if (spanned[static_cast<size_t>(r)]) {
            for (int k = 0; k < ACount; ++k)
                row->InsertEmpty(Index);
            ++r;
            continue;
        }
        TRPTableCellData* tmpl = CopyIndex >= 0 ? row->GetCell(CopyIndex) : nullptr;
        int span = 1;
        if (tmpl) {
            if (DivideWidth) tmpl->BestWidth = tmpl->BestWidth * tmpl->ColSpan / (tmpl->ColSpan + ACount);
            while (span < tmpl->RowSpan && r + span < Count() && !spanned[static_cast<size_t>(r + span)])
                ++span;
        }
        for (int k = 0; k < ACount; ++k) {
            TRPTableCellData* cell = row->InsertNewCell(Index);
            if (tmpl) {
                cell->AssignAttributesFrom(*tmpl, true, tmpl->ColSpan, 1);
                cell->RowSpan = span;
            }
            for (int b = r + 1; b < r + span; ++b)
                GetRow(b)->InsertEmpty(Index);
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
    cell->BestWidth = old->BestWidth * cell->ColSpan / old->ColSpan;
    if (DecreaseWidth) old->BestWidth = (old->ColSpan - cell->ColSpan) * old->BestWidth / old->ColSpan;
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
    const int after = Index + ACount;
    // Cells that reach beyond the deleted columns keep their right part.
    for (int r = Count() - 1; r >= 0; --r) {
        int mr, mc;
        TRPTableCellData* main = GetMainCell(r, after - 1, mr, mc);
        if (!main) continue;
        if (mc >= Index && mc + main->ColSpan > after) SplitCellVert(mr, mc, DecreaseWidth, after);
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
            if (DecreaseWidth) main->BestWidth = main->BestWidth * span / oldSpan;
            main->ColSpan = span;
        }
        r = mr;
    }
    for (int r = 0; r < Count(); ++r)
        for (int k = 0; k < ACount; ++k)
            GetRow(r)->Delete(Index);
}

void TRPTableRows::DeleteRows(int Index, int ACount) {
    const int rows = Count();
    if (Index < 0 || Index >= rows || ACount <= 0) throw ERichPadError(errBadIndex);
    ACount = std::min(ACount, rows - Index);
    const int after = Index + ACount;
    const int cols = GetColCount();
    for (int c = 0; c < cols; ++c) {
        // A cell from above loses the deleted rows.
        for (int r = 0; r < Index; ++r)
            if (TRPTableCellData* cell = GetCell(r, c); cell && r + cell->RowSpan > Index)
                cell->RowSpan -= std::min(r + cell->RowSpan, after) - Index;
        // A cell that starts in them and reaches below moves down to the first kept row.
        for (int r = Index; r < after; ++r) {
            TRPTableCellData* cell = GetCell(r, c);
            if (!cell || r + cell->RowSpan <= after) continue;
            std::unique_ptr<TRPTableCellData> moved = GetRow(r)->TakeCell(c);
            moved->RowSpan = r + moved->RowSpan - after;
            GetRow(after)->PutCell(c, std::move(moved));
        }
    }
    DeleteRowsInternal(Index, ACount);
}

void TRPTableRows::ClearCells(const TRPIntegerList& RowList, const TRPIntegerList& ColList) {
    for (int i = 0; i < RowList.Count() && i < ColList.Count(); ++i) {
        const int r = RowList[i], c = ColList[i];
        if (r < 0 || r >= Count() || c < 0 || c >= GetRow(r)->Count()) continue;
        if (TRPTableCellData* cell = GetCell(r, c)) cell->ClearToEmpty();
    }
}

// ---------------------------------------------------------------------------
// Primitives

void TRPTableRows::SpreadOverEmpty(int Row, int Col, int ColSpan) {
    TRPTableCellData* cell = GetCell(Row, Col);
    if (!cell) return;
    for (int c = Col + cell->ColSpan; c < Col + ColSpan; ++c)
        GetRow(Row)->PutCell(c, nullptr);
    cell->ColSpan = ColSpan;
}

void TRPTableRows::UnspreadOverEmpty(int Row, int Col, int ColSpan) {
    TRPTableCellData* cell = GetCell(Row, Col);
    if (!cell) return;
    cell->ColSpan = 1;
    for (int c = Col + 1; c < Col + ColSpan; ++c)
        GetRow(Row)->PutCell(c, NewCell(GetRow(Row)));
}

void TRPTableRows::SetSpan(int Row, int Col, bool IsColSpan, int Value) {
    TRPTableCellData* cell = GetCell(Row, Col);
    if (!cell) return;
    (IsColSpan ? cell->ColSpan : cell->RowSpan) = Value;
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
    int w = 0;
    for (int r = 0; r < Count(); ++r)
        if (TRPTableCellData* c = GetCell(r, Col); c && c->ColSpan < 2)
            w = std::max(w, c->GetMinWidth(Resolution, Canvas));
    return w;
}

int TRPTableRows::GetColPercentWidth(int Col, int TableWidth) const {
    int w = 0;
    for (int r = 0; r < Count(); ++r)
        if (const TRPTableCellData* c = GetCell(r, Col); c && c->ColSpan < 2 && c->BestWidth < 0)
            w = std::max(w, -(c->BestWidth * TableWidth) / 100);
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
    std::vector<int> owner(static_cast<size_t>(rows * cols), 0);
    for (int r = 0; r < rows; ++r) {
        if (GetRow(r)->Count() != cols) return false;
        for (int c = 0; c < cols; ++c) {
            const TRPTableCellData* cell = GetCell(r, c);
            if (!cell) continue;
            if (cell->RowSpan < 1 || cell->ColSpan < 1 || r + cell->RowSpan > rows ||
                c + cell->ColSpan > cols)
                return false;
            for (int y = r; y < r + cell->RowSpan; ++y)
                for (int x = c; x < c + cell->ColSpan; ++x) {
                    if ((y != r || x != c) && GetCell(y, x)) return false;
                    if (owner[static_cast<size_t>(y * cols + x)]++) return false;
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
    std::vector<bool> covered(static_cast<size_t>(rows * cols), false);
    auto at = [&](int y, int x) { return covered[static_cast<size_t>(y * cols + x)]; };
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
                    covered[static_cast<size_t>(y * cols + x)] = true;
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (!at(r, c)) GetRow(r)->PutCell(c, NewCell(GetRow(r)));
}
