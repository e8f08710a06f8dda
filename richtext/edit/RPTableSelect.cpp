// The table's cell selection, the point test, the neighbours of a cell and
// the sizes that a dropped border gives the cells.
#include <algorithm>

#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableModify.h"
#include "richtext/model/RPData.h"

bool TRPTableItemInfo::GetCellAt(int X, int Y, int& Row, int& Col) {
    Row = Col = -1;
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    if (Rows->IsEmpty() || f.ColStarts.Count() == 0 || f.RowStarts.Count() == 0) return false;
    // Only points a pixel inside the outer cell edges count.
    const int margin = std::min(f.ColStarts[0], f.RowStarts[0]);
    if (X <= f.ColStarts[0] || Y <= f.RowStarts[0] || X >= f.Width - margin || Y >= f.Height - margin)
        return false;
    const auto inside = [X, Y](const TRPTableCellData* c) {
        return c && X > c->Left && X < c->Left + c->Width - 1 && Y > c->Top && Y < c->Top + c->Height - 1;
    };
    if (inside(Rows->FindCell(FHitRow, FHitCol))) {
        Row = FHitRow;
        Col = FHitCol;
        return true;
    }
    int r = 0, c = 0;
    while (r + 1 < f.RowStarts.Count() && f.RowStarts[r + 1] <= Y)
        ++r;
    while (c + 1 < f.ColStarts.Count() && f.ColStarts[c + 1] <= X)
        ++c;
    int mr = -1, mc = -1;
    const TRPTableCellData* cell = Rows->GetMainCell(r, c, mr, mc);
    if (!inside(cell)) return false;
    Row = FHitRow = mr;
    Col = FHitCol = mc;
    return true;
}

// ---------------------------------------------------------------------------
// Selection

void TRPTableItemInfo::Select(int StartRow, int StartCol, int ColOffs, int RowOffs) {
    TCustomRPData* d = GetRPData();
    if (!d || !(d->GetOptions() & rpoAllowSelection) || Rows->IsEmpty()) return;
    const int rows = Rows->RowCount(), cols = Rows->GetColCount();
    if (StartRow < 0 || StartRow >= rows || StartCol < 0 || StartCol >= cols) return;
    SelStartRow = StartRow;
    SelStartCol = StartCol;
    SelRowOffs = std::clamp(StartRow + RowOffs, 0, rows - 1) - StartRow;
    SelColOffs = std::clamp(StartCol + ColOffs, 0, cols - 1) - StartCol;
    TableState |= rptbsCellsSelected;
    UpdateCellFlags();
}

void TRPTableItemInfo::SelectRows(int StartRow, int Count) {
    if (Count > 0) Select(StartRow, 0, Rows->GetColCount() - 1, Count - 1);
}

void TRPTableItemInfo::SelectCols(int StartCol, int Count) {
    if (Count > 0) Select(0, StartCol, Count - 1, Rows->RowCount() - 1);
}

bool TRPTableItemInfo::GetSelectionBounds(int& TopRow, int& LeftCol, int& RowCount, int& ColCount) const {
    TopRow = LeftCol = -1;
    RowCount = ColCount = 0;
    if (!HasCellSelection() || SelStartRow < 0 || SelStartCol < 0) return false;
    int r1 = -1, c1 = -1, r2 = -1, c2 = -1;
    const TRPTableCellData* a = Rows->GetMainCell(SelStartRow, SelStartCol, r1, c1);
    const TRPTableCellData* b = Rows->GetMainCell(SelStartRow + SelRowOffs, SelStartCol + SelColOffs, r2, c2);
    if (!a || !b) return false;
    // The union of the boxes of the two corner cells.
    TopRow = std::min(r1, r2);
    LeftCol = std::min(c1, c2);
    RowCount = std::max(r1 + a->RowSpan, r2 + b->RowSpan) - TopRow;
    ColCount = std::max(c1 + a->ColSpan, c2 + b->ColSpan) - LeftCol;
    return true;
}

std::shared_ptr<const TRPMultiDrawItemPart> TRPTableItemInfo::GetSelectedPart() const {
    auto part = std::make_shared<TRPTableSelectionPart>();
    if (!GetSelectionBounds(part->StartRow, part->StartCol, part->RowCount, part->ColCount)) return nullptr;
    return part;
}

bool TRPTableItemInfo::IsCellSelected(int Row, int Col) const {
    int top, left, rc, cc, mr, mc;
    if (!GetSelectionBounds(top, left, rc, cc)) return false;
    const TRPTableCellData* cell = Rows->GetMainCell(Row, Col, mr, mc);
    return cell && mr < top + rc && mr + cell->RowSpan > top && mc < left + cc && mc + cell->ColSpan > left;
}

void TRPTableItemInfo::UpdateCellFlags() {
    if (HasCellSelection() && (SelStartRow < 0 || SelStartCol < 0)) {
        // An anchor gone with its rows: the table is no longer partly selected.
        TableState &= ~rptbsCellsSelected;
        if (auto* d = dynamic_cast<TCustomRPFormattedData*>(GetRPData()); d && d->PartialSelectedItem == this)
            d->SetPartialSelectedItem(nullptr);
    }
    // Without a selection no cell is selected, nor was one since the last walk.
    if (!HasCellSelection() && !FCellsFlagged) return;
    int ar = -1, ac = -1;
    const TRPTableCellData* anchor = SelStartRow >= 0 && SelStartCol >= 0 && SelStartRow < Rows->RowCount() &&
                                             SelStartCol < Rows->GetColCount()
                                         ? Rows->GetMainCell(SelStartRow, SelStartCol, ar, ac)
                                         : nullptr;
    bool flagged = false;
    Rows->ForEachCell([&](int r, int c, TRPTableCellData& Cell) {
        const bool was = (Cell.State & rpcsSelected) != 0, now = IsCellSelected(r, c);
        if (now)
            Cell.State |= rpcsSelected;
        else
            Cell.State &= ~rpcsSelected;
        flagged = flagged || now;
        if (was && !now && &Cell != anchor) Cell.Deselect(nullptr, false);
    });
    FCellsFlagged = flagged;
}

void TRPTableItemInfo::ClearSelection() {
    const bool had = HasCellSelection();
    SelStartRow = SelStartCol = -1;
    SelRowOffs = SelColOffs = 0;
    TableState &= ~rptbsCellsSelected;
    UpdateCellFlags();
    if (had)
        if (auto* d = dynamic_cast<TCustomRPFormattedData*>(GetRPData())) d->InvalidateView();
}

bool TRPTableItemInfo::MoveSelectionCorner(int Direction) {
    if (!HasCellSelection() || SelStartRow < 0 || SelStartCol < 0) return false;
    int row = SelStartRow + SelRowOffs, col = SelStartCol + SelColOffs, mr = -1, mc = -1;
    const TRPTableCellData* corner = Rows->GetMainCell(row, col, mr, mc);
    if (!corner) return false;
    // Across a merged cell in one step; the other coordinate keeps its
    // position, so that the block goes on in the same row or column.
    switch (Direction) {
    case rpdLeft:
        if (mc == 0) return false;
        col = mc - 1;
        break;
    case rpdRight:
        if (mc + corner->ColSpan >= Rows->GetColCount()) return false;
        col = mc + corner->ColSpan;
        break;
    case rpdUp:
        if (mr == 0) return false;
        row = mr - 1;
        break;
    case rpdDown:
        if (mr + corner->RowSpan >= Rows->RowCount()) return false;
        row = mr + corner->RowSpan;
        break;
    case rpdRowStart:
        col = 0;
        break;
    case rpdRowEnd:
        col = Rows->GetColCount() - 1;
        break;
    default:
        return false;
    }
    Select(SelStartRow, SelStartCol, col - SelStartCol, row - SelStartRow);
    return true;
}

// ---------------------------------------------------------------------------
// Neighbours

bool TRPTableItemInfo::GetAdjacentCell(int Row, int Col, bool Quiet, int& NewRow, int& NewCol,
                                       int Direction) {
    const int rows = Rows->RowCount(), cols = Rows->GetColCount();
    const TRPTableCellData* cell =
        Row >= 0 && Row < rows && Col >= 0 && Col < cols ? GetCell(Row, Col) : nullptr;
    bool found = false;
    const auto main = [&](int r, int c) { found = Rows->GetMainCell(r, c, NewRow, NewCol) != nullptr; };
    // The first main cell after (r, c) in reading order, or the last one before it.
    const auto scan = [&](int r, int c, bool Forward) {
        for (;;) {
            c += Forward ? 1 : -1;
            if (c >= cols) {
                c = 0;
                ++r;
            } else if (c < 0) {
                c = cols - 1;
                --r;
            }
            if (r < 0 || r >= rows) return;
            if (GetCell(r, c)) {
                NewRow = r;
                NewCol = c;
                found = true;
                return;
            }
        }
    };
    if (cell) switch (Direction) {
        case rpdLeft:
            if (Col > 0)
                main(Row, Col - 1);
            else
                scan(Row, Col, false);
            break;
        case rpdUp:
            if (Row > 0) main(Row - 1, Col);
            break;
        case rpdRight:
            if (Col + cell->ColSpan < cols)
                main(Row, Col + cell->ColSpan);
            else if (Row + cell->RowSpan < rows)
                scan(Row, Col, true);
            break;
        case rpdDown:
            if (Row + cell->RowSpan < rows) main(Row + cell->RowSpan, Col);
            break;
        case rpdNext:
            scan(Row, Col, true);
            break;
        case rpdPrev:
            scan(Row, Col, false);
            break;
        default:
            break;
        }
    if (!found) {
        NewRow = Row;
        NewCol = Col;
        if (!Quiet && cell && (Direction == rpdNext || Direction == rpdPrev))
            if (TCustomRPData* d = GetRPData()) d->Beep();
    }
    return found;
}

// ---------------------------------------------------------------------------
// Dropped borders

void TRPTableItemInfo::SetCellBestWidthTo(int Col, int Width) {
    for (int r = 0; r < Rows->RowCount(); ++r)
        if (TRPTableCellData* cell = GetCell(r, Col); cell && cell->ColSpan == 1)
            SetCellBestWidth(Width, r, Col);
}

void TRPTableItemInfo::DropVBorder(int Border, int Pos, bool KeepSum) {
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    const int cols = Rows->GetColCount();
    if (Border < 1 || Border > cols || f.ColStarts.Count() != cols || f.ColWidths.Count() != cols) return;
    const int col = Border - 1;
    const bool last = Border == cols;
    const int share = BorderShare(true, Border);
    int w = std::max(DragMinWidth(col), Pos - f.ColStarts[col] - 2 * CellPadding - share);
    const bool pairs = KeepSum && !last && !Rows->IsColPercent(col + 1) && !Rows->IsColPercent(col);
    int next = 0;
    if (pairs) {
        // The two columns keep their sum; the right one keeps its minimum.
        const int sum = f.ColWidths[col] + f.ColWidths[col + 1];
        next = std::max(DragMinWidth(col + 1), sum - w);
        w = std::max(DragMinWidth(col), sum - next);
    }
    TModify m(*this);
    if (Rows->IsColPercent(col)) {
        const int tableWidth = std::max(1, f.Width);
        SetCellBestWidthTo(col, -std::clamp(w * 100 / tableWidth, 1, 100));
    } else {
        SetCellBestWidthTo(col, w);
        if (pairs) SetCellBestWidthTo(col + 1, next);
    }
    m.Done();
}

void TRPTableItemInfo::DropHBorder(int Border, int Pos) {
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    const int rows = Rows->RowCount();
    if (Border < 1 || Border > rows || f.RowStarts.Count() != rows) return;
    const int row = Border - 1;
    const int share = BorderShare(false, Border);
    const int h = std::max(0, Pos - f.RowStarts[row] - 2 * CellPadding - share);
    TModify m(*this);
    bool setOne = false;
    for (int c = 0; c < Rows->GetColCount(); ++c)
        if (TRPTableCellData* cell = GetCell(row, c); cell && cell->RowSpan == 1) {
            SetCellBestHeight(h, row, c);
            setOne = true;
        }
    // A row made only of cells from above: the cell ending lowest here takes the height.
    if (!setOne)
        for (int c = 0; c < Rows->GetColCount(); ++c) {
            int mr = -1, mc = -1;
            TRPTableCellData* cell = Rows->GetMainCell(row, c, mr, mc);
            if (cell && mr < row && mc == c)
                SetCellBestHeight(std::max(0, Pos - f.RowStarts[mr] - 2 * CellPadding - share), mr, mc);
        }
    m.Done();
}
