// The table and the mouse: presses that open a cell, drag a border or select
// rows, columns and cells; the guide line of a border drag and the sizes its
// release gives the cells; moves and releases handed on to the cells.
#include <algorithm>
#include <climits>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPCoords.h"
#include "richtext/view/RichPad.h"

namespace {

TCustomRPFormattedData* Formatted(TCustomRPData* Data) {
    return dynamic_cast<TCustomRPFormattedData*>(Data);
}

} // namespace

bool TRPTableItemInfo::IsDragging() const {
    const TCustomRPFormattedData* d = Formatted(GetRPData());
    return DragBorder >= 0 && d && d->IsXorDrawerRegistered();
}

void TRPTableItemInfo::AbandonMouse() {
    TCustomRPFormattedData* d = Formatted(GetRPData());
    if (!d) return;
    // The guide line draws through this table: withdrawn unseen.
    if (IsDragging()) {
        DragBorder = -1;
        d->UnregisterXorDrawer();
    }
    DragBorder = DragLimit = -1;
    Selecting = false;
    if (d->CaptureItem == this) d->ReleaseMouseCapture(this);
}

// ---------------------------------------------------------------------------
// Press

bool TRPTableItemInfo::MouseDown(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X,
                                 int Y) {
    TCustomRPFormattedData* doc = Formatted(RPData);
    if (!doc || IsSaving() || Rows->IsEmpty() || IsDragging()) return false;
    int row = -1, col = -1;
    const bool inCell = GetCellAt(X, Y, row, col);
    if ((Button == mbLeft || Button == mbRight) && (TableState & rptbsEditorDoc) && (Options & rptoEditing) &&
        inCell) {
        // A right click keeps a selection it falls into (for a context menu on it).
        if (Button == mbRight) {
            const int no = GetItemNo();
            if (IsCellSelected(row, col) ||
                (no >= 0 && doc->IsPositionInSelection(no, 0) && doc->IsPositionInSelection(no, 1)))
                return true;
        }
        EditCellByClick(*doc, row, col, Button, Shift, X, Y);
        return true;
    }
    if (Button != mbLeft) return false;
    if (!inCell)
        return (Options & (rptoRowSizing | rptoColSizing | rptoRowSelect | rptoColSelect)) &&
               PressOnBorder(*doc, Shift, X, Y);
    return StartSelecting(row, col);
}

bool TRPTableItemInfo::PressOnBorder(TCustomRPFormattedData& Doc, TShiftState Shift, int X, int Y) {
    const bool editor = (TableState & rptbsEditorDoc) != 0;
    int vStart = 0, vPos = 0, hStart = 0, hPos = 0;
    const int v = GetVBorderAt(X, vStart, vPos), h = GetHBorderAt(Y, hStart, hPos);
    if (v > 0 && editor && (Options & rptoColSizing)) return StartDrag(Doc, v, vPos, X, true, Shift);
    if (h > 0 && editor && (Options & rptoRowSizing)) return StartDrag(Doc, h, hPos, Y, false, Shift);
    const int col = h == 0 && (Options & rptoColSelect) ? GetColAt(X) : -1;
    const int row = col < 0 && v == 0 && (Options & rptoRowSelect) ? GetRowAt(Y) : -1;
    if (col < 0 && row < 0) return false;
    if (!(Doc.GetOptions() & rpoAllowSelection)) return false;
    Doc.SetPartialSelectedItem(this);
    if (col >= 0)
        SelectCols(col, 1);
    else
        SelectRows(row, 1);
    Doc.InvalidateView();
    int l = 0, t = 0;
    Doc.CaptureMouseForItem(this, l, t);
    return true;
}

bool TRPTableItemInfo::StartSelecting(int Row, int Col) {
    TCustomRPFormattedData* doc = Formatted(GetRPData());
    if (!doc || !(doc->GetOptions() & rpoAllowSelection) || Row < 0 || Row >= Rows->RowCount() || Col < 0 ||
        Col >= Rows->GetColCount())
        return false;
    const bool had = HasCellSelection();
    doc->SetPartialSelectedItem(this);
    SelStartRow = Row;
    SelStartCol = Col;
    SelRowOffs = SelColOffs = 0;
    TableState &= ~rptbsCellsSelected;
    UpdateCellFlags();
    if (had) doc->InvalidateView();
    Selecting = true;
    int l = 0, t = 0;
    doc->CaptureMouseForItem(this, l, t);
    return true;
}

bool TRPTableItemInfo::StartDrag(TCustomRPFormattedData& Doc, int Border, int Pos, int Pointer, bool Column,
                                 TShiftState Shift) {
    if (!CloseEditorForDrag()) return false;
    DragBorder = Border;
    DragOffset = Pos - Pointer;
    FDragStart = Pos;
    DragLimit = -1;
    TableState &= ~(rptbsColDrag | rptbsDragShift);
    if (Column) TableState |= rptbsColDrag;
    if (Shift & ssShift) TableState |= rptbsDragShift;
    SetGuideLimits();
    Doc.RegisterXorDrawer([this](TCustomRPFormattedData* Sender, int, int X, int Y) {
        if (Sender) DrawGuideLine(*Sender, X, Y);
    });
    int l = 0, t = 0;
    Doc.CaptureMouseForItem(this, l, t);
    return true;
}

// ---------------------------------------------------------------------------
// Move

bool TRPTableItemInfo::MouseMove(TCustomRPData* RPData, int ItemNo, TShiftState Shift, int X, int Y) {
    (void)ItemNo;
    TCustomRPFormattedData* doc = Formatted(RPData);
    // The document draws the guide line of a drag (its XOR marker) itself.
    if (!doc || IsSaving() || Rows->IsEmpty() || IsDragging()) return false;
    int row = -1, col = -1;
    if (!GetCellAt(X, Y, row, col)) {
        doc->SetCursor(BorderCursor(*doc, X, Y));
        return true;
    }
    if (Selecting) {
        if (Shift & ssLeft) ExtendSelection(*doc, row, col);
        return true;
    }
    TRPTableCellData* cell = nullptr;
    int cx = 0, cy = 0;
    if (PassToCell(X, Y, cell, cx, cy)) cell->MouseMove(Shift, cx, cy);
    return false;
}

// The cursor over the table outside its cells; the same order of tests as a press.
int TRPTableItemInfo::BorderCursor(TCustomRPFormattedData& Doc, int X, int Y) const {
    const bool editor = (TableState & rptbsEditorDoc) != 0;
    const bool selecting = (Doc.GetOptions() & rpoAllowSelection) != 0;
    int vStart = 0, vPos = 0, hStart = 0, hPos = 0;
    const int v = GetVBorderAt(X, vStart, vPos), h = GetHBorderAt(Y, hStart, hPos);
    if (v > 0 && editor && (Options & rptoColSizing)) return crHSplit;
    if (h > 0 && editor && (Options & rptoRowSizing)) return crVSplit;
    if (h == 0 && selecting && (Options & rptoColSelect) && GetColAt(X) >= 0) return crSelectCol;
    if (v == 0 && selecting && (Options & rptoRowSelect) && GetRowAt(Y) >= 0) return crSelectRow;
    return crArrow;
}

void TRPTableItemInfo::ExtendSelection(TCustomRPFormattedData& Doc, int Row, int Col) {
    if (SelStartRow < 0 || SelStartCol < 0) return;
    const int ro = Row - SelStartRow, co = Col - SelStartCol;
    if (ro == SelRowOffs && co == SelColOffs) return;
    SelRowOffs = ro;
    SelColOffs = co;
    if (ro != 0 || co != 0) {
        TableState |= rptbsCellsSelected;
        // Selecting cells is no click on the link where it started.
        Doc.PressedJumpNo = -1;
    } else
        TableState &= ~rptbsCellsSelected;
    UpdateCellFlags();
    Doc.InvalidateView();
    // An editor open on the anchor shows itself selected with the other cells.
    if (TRPTableInplaceEdit* e = InplaceEditor()) e->SetHighlight(HasCellSelection());
}

bool TRPTableItemInfo::PassToCell(int X, int Y, TRPTableCellData*& Cell, int& CellX, int& CellY) {
    int row = -1, col = -1;
    if (!GetCellAt(X, Y, row, col)) return false;
    Cell = GetCell(row, col);
    const int pad = ScaleX(CellPadding);
    if (!Cell || X < Cell->Left + pad || X >= Cell->Left + Cell->Width - pad || Y < Cell->Top + pad ||
        Y >= Cell->Top + Cell->Height - pad)
        return false;
    // In the cell's client coordinates: its document adds its offsets back.
    CellX = RPCoordSum(X, -Cell->Left, -pad, -Cell->GetHOffs());
    CellY = RPCoordSum(Y, -Cell->Top, -pad, -Cell->GetContentVShift(), -Cell->GetVOffs());
    return true;
}

// ---------------------------------------------------------------------------
// The guide line

int TRPTableItemInfo::BorderShare(bool Column, int Border) const {
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    const TRPIntegerList& starts = Column ? f.ColStarts : f.RowStarts;
    const TRPIntegerList& sizes = Column ? f.ColWidths : f.RowHeights;
    const int n = starts.Count();
    if (Border < 1 || Border > n || sizes.Count() != n) return 0;
    // Where the hit test puts the line (GetVBorderAt, GetHBorderAt).
    const int outer = BorderWidth + (Column ? BorderHSpacing : BorderVSpacing) + CellBorderWidth;
    const int inner = 2 * CellBorderWidth + (Column ? CellHSpacing : CellVSpacing);
    const int pos =
        Border == n ? (Column ? f.Width : f.Height) - outer / 2 : starts[Border] - (inner + 1) / 2;
    return pos - starts[Border - 1] - 2 * CellPadding - sizes[Border - 1];
}

int TRPTableItemInfo::DragMinWidth(int Col) const {
    TCanvas* canvas = nullptr;
    if (TCustomRPFormattedData* d = Formatted(GetRPData())) canvas = d->GetCanvas();
    return std::max(1, Rows->GetColMinWidth(Col, Resolution, canvas));
}

// The guide's range, from the layout as the drag found it: measuring the
// columns' content once, not at every move.
void TRPTableItemInfo::SetGuideLimits() {
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    FGuideLo = -1;
    FGuideHi = INT_MAX; // where the view's edge is the limit
    const int pad = 2 * CellPadding;
    if (TableState & rptbsColDrag) {
        const int cols = Rows->GetColCount(), col = DragBorder - 1;
        if (col < 0 || col >= cols || f.ColStarts.Count() != cols || f.ColWidths.Count() != cols) return;
        // The same sum that a drop turns back into the column's width.
        const int base = f.ColStarts[col] + pad + BorderShare(true, DragBorder);
        FGuideLo = base + DragMinWidth(col);
        // The right neighbour keeps its minimum; the last border stays in sight.
        if (DragBorder < cols)
            FGuideHi = base + f.ColWidths[col] + f.ColWidths[col + 1] - DragMinWidth(col + 1);
        return;
    }
    const int rows = Rows->RowCount(), row = DragBorder - 1;
    if (row < 0 || row >= rows || f.RowStarts.Count() != rows || f.RowHeights.Count() != rows) return;
    // A row grows downwards without taking from the next one, as far as the
    // view shows; it is never lower than its content.
    int content = 0;
    for (int c = 0; c < Rows->GetColCount(); ++c)
        if (const TRPTableCellData* cell = GetCell(row, c); cell && cell->RowSpan == 1)
            content = std::max(content, cell->DocumentHeight);
    FGuideLo = f.RowStarts[row] + pad + BorderShare(false, DragBorder) + content;
}

int TRPTableItemInfo::GetGuidePos(int X, int Y) {
    TCustomRPFormattedData* doc = Formatted(GetRPData());
    if (DragBorder < 1 || FGuideLo < 0 || !doc) return -1;
    int left = 0, top = 0;
    if (!doc->GetItemCoords(GetItemNo(), left, top)) return -1;
    const bool column = (TableState & rptbsColDrag) != 0;
    int hi = FGuideHi;
    if (hi == INT_MAX)
        hi = column ? doc->GetHOffs() + doc->GetWidth() - left - 1
                    : doc->GetVOffs() + doc->GetHeight() - top - 1;
    return std::clamp((column ? X : Y) + DragOffset, FGuideLo, std::max(FGuideLo, hi));
}

// Inverts a one-pixel line across the table at the guide position: drawn a
// second time it is gone. Outside a paint the line's pixels are marked for
// painting, and the view draws the marker again after painting them.
void TRPTableItemInfo::DrawGuideLine(TCustomRPFormattedData& Doc, int X, int Y) {
    if (DragBorder < 1) return;
    int left = 0, top = 0;
    if (!Doc.GetItemCoords(GetItemNo(), left, top)) return;
    const int p = GetGuidePos(X - left, Y - top);
    if (p < 0) return;
    DragLimit = p;
    const int x = left - Doc.GetHOffs(), y = top - Doc.GetVOffs();
    const TRect line = (TableState & rptbsColDrag) ? Rect(x + p, y, x + p + 1, y + FormattingInfo.Height)
                                                   : Rect(x, y + p, x + FormattingInfo.Width, y + p + 1);
    auto* root = dynamic_cast<TRichPadRPData*>(Doc.GetAbsoluteRootData());
    TCustomRichPad* view = root ? root->OwnerView : nullptr;
    if (!view) return;
    if (!view->Painting()) {
        root->InvalidateRectInView(line);
        return;
    }
    TCanvas* c = view->Canvas();
    TPen& pen = *c->Pen();
    const TPenMode oldMode = pen.Mode();
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    pen.SetColor(clBlack);
    pen.SetMode(pmNot);
    if (TableState & rptbsColDrag) {
        c->MoveTo(line.Left, line.Top);
        c->LineTo(line.Left, line.Bottom);
    } else {
        c->MoveTo(line.Left, line.Top);
        c->LineTo(line.Right, line.Top);
    }
    pen.SetMode(oldMode);
}

// ---------------------------------------------------------------------------
// Release

bool TRPTableItemInfo::MouseUp(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomRPFormattedData* doc = Formatted(RPData);
    if (!doc || IsSaving()) return false;
    if (IsDragging()) {
        EndDrag(*doc, X, Y);
        return true;
    }
    DragBorder = -1;
    TRPTableCellData* cell = nullptr;
    int cx = 0, cy = 0;
    if (PassToCell(X, Y, cell, cx, cy)) cell->MouseUp(Button, Shift, cx, cy);
    if (Selecting) {
        doc->SelectionExists(false, true);
        doc->SelectionChanged();
    }
    doc->ReleaseMouseCapture(this);
    Selecting = false;
    return true;
}

void TRPTableItemInfo::EndDrag(TCustomRPFormattedData& Doc, int X, int Y) {
    const int border = DragBorder, pos = (TableState & rptbsColDrag) ? GetGuidePos(X, 0) : GetGuidePos(0, Y);
    const bool column = (TableState & rptbsColDrag) != 0, keepSum = (TableState & rptbsDragShift) != 0;
    Doc.UnregisterXorDrawer();
    DragBorder = DragLimit = -1;
    TableState &= ~(rptbsColDrag | rptbsDragShift);
    // The table holds the capture until here: the host's change check refuses
    // changes from inside while an item holds it.
    auto* root = dynamic_cast<TRPEditRPData*>(Doc.GetAbsoluteRootData());
    TCustomRichPadEdit* editor = root ? root->Editor() : nullptr;
    // A border let go where it was taken changes nothing (no sizes fixed, no undo step).
    if (pos >= 0 && pos != FDragStart && (!editor || editor->BeforeChange(true))) {
        const uint16_t editorDoc = TableState & rptbsEditorDoc;
        if (column)
            DropVBorder(border, pos, keepSum);
        else
            DropHBorder(border, pos);
        TableState = static_cast<uint16_t>((TableState & ~rptbsEditorDoc) | editorDoc);
    }
    Doc.ReleaseMouseCapture(this);
    Doc.InvalidateView();
    ReopenEditorAfterDrag();
}

// ---------------------------------------------------------------------------
// The cell editor's part

// A click on a cell opens the editor there, which then takes the mouse and
// the press itself (placing its caret, or starting a cell selection).
void TRPTableItemInfo::EditCellByClick(TCustomRPFormattedData& Doc, int Row, int Col, TMouseButton Button,
                                       TShiftState Shift, int X, int Y) {
    (void)Doc;
    if (!EditCell(-1, Row, Col, false, Button == mbLeft, false, false, (Shift & ssCtrl) != 0)) return;
    int r = -1, c = -1;
    TRPTableInplaceEdit* e = GetEditedCell(r, c);
    if (!e || r != Row || c != Col) return;
    const TRPTableCellData* cell = GetCell(Row, Col);
    const QPointF p(X - cell->Left, Y - cell->Top - std::max(0, cell->GetContentVShift()));
    QWidget* w = e->ClientWidget();
    const Qt::MouseButton b = Button == mbRight ? Qt::RightButton : Qt::LeftButton;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    if (Shift & ssShift) mods |= Qt::ShiftModifier;
    if (Shift & ssCtrl) mods |= Qt::ControlModifier;
    if (Shift & ssAlt) mods |= Qt::AltModifier;
    e->SetCapture();
    // This press opened the editor; only a second one may make a double click.
    const int64_t clickTime = e->LastClickTime;
    e->LastClickTime = 0;
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), b, b, mods);
    QApplication::sendEvent(w, &press);
    if (e == InplaceEditor()) e->LastClickTime = clickTime;
}

// A border drag closes the editor and opens it again where it was after the drop.
bool TRPTableItemInfo::CloseEditorForDrag() {
    try {
        CloseInplaceEditorAndRemember();
    } catch (const ERPTableInplaceError&) {
        // A selection drag from the editor is under way: no border drag now.
        return false;
    }
    return true;
}

void TRPTableItemInfo::ReopenEditorAfterDrag() {
    ReopenRememberedEditor();
}

// ---------------------------------------------------------------------------
// Cells under a point, controls and the keyboard focus

TCustomRPData* TRPTableItemInfo::GetCellRPDataAt(int X, int Y) {
    int row = -1, col = -1;
    return GetCellAt(X, Y, row, col) ? GetCell(row, col)->GetContentData() : nullptr;
}

bool TRPTableItemInfo::OwnsControl(const TControl* Control, int& Row, int& Col, int& ItemNo) const {
    Row = Col = ItemNo = -1;
    if (!Control) return false;
    for (int r = 0; r < Rows->RowCount(); ++r)
        for (int c = 0; c < Rows->GetRow(r)->Count(); ++c)
            if (const TRPTableCellData* cell = GetCell(r, c))
                if (const int i = cell->FindControlItemNo(Control); i >= 0) {
                    Row = r;
                    Col = c;
                    ItemNo = i;
                    return true;
                }
    return false;
}

bool TRPTableItemInfo::OwnsControl(const TControl* Control) const {
    int r, c, i;
    return OwnsControl(Control, r, c, i);
}

bool TRPTableItemInfo::FocusControlItem(const TControl* Control, TCustomRPData*& Data, int& ItemNo) {
    int r = -1, c = -1, i = -1;
    if (!OwnsControl(Control, r, c, i)) return false;
    if (FocusedRow != r || FocusedCol != c) ClearFocus();
    FocusedRow = r;
    FocusedCol = c;
    TRPTableCellData* cell = GetCell(r, c);
    cell->SetFocusedItemNo(i);
    TCustomRPItemInfo* item = cell->GetItem(i);
    // A nested table names the item inside it.
    if (item->FocusControlItem(Control, Data, ItemNo)) return true;
    if (item->GetBoolValueEx(rpbivexKeyboardFocus, cell->GetRPStyle())) {
        Data = cell;
        ItemNo = i;
    }
    return true;
}

bool TRPTableItemInfo::MoveFocus(bool GoForward, TCustomRPData*& Data, int& ItemNo) {
    if (Rows->IsEmpty()) return false;
    const int rows = Rows->RowCount(), cols = Rows->GetColCount();
    int r = FocusedRow, c = FocusedCol;
    if (r < 0 || r >= rows || c < 0 || c >= cols || !GetCell(r, c)) {
        // From the first cell forward, or from the last one back.
        if (!Rows->GetMainCell(GoForward ? 0 : rows - 1, GoForward ? 0 : cols - 1, r, c)) return false;
        GetCell(r, c)->FocusedItemNo = -1;
    }
    for (;;) {
        TRPTableCellData* cell = GetCell(r, c);
        TCustomRPFormattedData* data = nullptr;
        int sub = -1;
        const int found = cell->FindNextFocusableItem(cell->FocusedItemNo, GoForward, data, sub);
        if (found >= 0) {
            // The cell tells this table, and the document that holds it, where the focus is.
            cell->SetFocusedItemNo(found);
            Data = data;
            ItemNo = sub;
            return true;
        }
        cell->FocusedItemNo = -1;
        if (!GetAdjacentCell(r, c, true, r, c, GoForward ? rpdNext : rpdPrev)) break;
        GetCell(r, c)->FocusedItemNo = -1;
    }
    FocusedRow = FocusedCol = -1;
    return false;
}

void TRPTableItemInfo::ClearFocus() {
    if (FocusedRow >= 0 && FocusedRow < Rows->RowCount() && FocusedCol >= 0 &&
        FocusedCol < Rows->GetColCount())
        if (TRPTableCellData* cell = GetCell(FocusedRow, FocusedCol)) cell->ClearItemFocus();
    FocusedRow = FocusedCol = -1;
}

void TRPTableItemInfo::FocusControl() {
    if (FocusedRow < 0 || FocusedRow >= Rows->RowCount() || FocusedCol < 0 ||
        FocusedCol >= Rows->GetColCount())
        return;
    TRPTableCellData* cell = GetCell(FocusedRow, FocusedCol);
    if (cell && cell->FocusedItemNo >= 0 && cell->FocusedItemNo < cell->GetItemCount())
        cell->GetItem(cell->FocusedItemNo)->FocusControl();
}
