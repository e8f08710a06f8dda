// The cell editor control and its document: what it relays to its host and
// what it leaves to the table.
#include "richtext/edit/RPTableInplace.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <chrono>

#include "platform/Keys.h"
#include "platform/Messages.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPStyle.h"

namespace {

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

// ---------------------------------------------------------------------------
// The editor's document

TRPTableInplaceEdit* TRPTableInplaceRPData::InplaceEditor() const {
    return static_cast<TRPTableInplaceEdit*>(OwnerView);
}

TCustomRPData* TRPTableInplaceRPData::GetSourceData() {
    TRPTableInplaceEdit* e = InplaceEditor();
    return e && e->Cell ? static_cast<TCustomRPData*>(e->Cell) : this;
}

TRPTableCellData* TRPTableInplaceRPData::NumberingCell() const {
    return EditorGone || !OwnerView ? nullptr : InplaceEditor()->Cell;
}

TRPMarkerList* TRPTableInplaceRPData::GetMarkers(bool AllowCreate) {
    TRPTableCellData* cell = NumberingCell();
    return cell ? cell->GetMarkers(AllowCreate) : TRPEditRPData::GetMarkers(AllowCreate);
}

void TRPTableInplaceRPData::DestroyMarkers() {
    if (TRPTableCellData* cell = NumberingCell())
        cell->DestroyMarkers();
    else
        TRPEditRPData::DestroyMarkers();
}

TCustomRPData* TRPTableInplaceRPData::GetAbsoluteParentData() const {
    TRPTableCellData* cell = NumberingCell();
    return cell ? cell->GetAbsoluteParentData() : nullptr;
}

void TRPTableInplaceRPData::GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (e && e->Cell) {
        e->Cell->GetParentInfo(ParentItemNo, Location);
        return;
    }
    TRPEditRPData::GetParentInfo(ParentItemNo, Location);
}

TRPRTFReaderProperties* TRPTableInplaceRPData::GetRTFReadProperties() {
    TRPTableInplaceEdit* e = InplaceEditor();
    return e && e->HostControl ? e->HostControl->GetRTFReadProperties()
                               : TRPEditRPData::GetRTFReadProperties();
}

TCustomRPFormattedData* TRPTableInplaceRPData::ScrollingHost() const {
    TRPTableInplaceEdit* e = InplaceEditor();
    return e ? dynamic_cast<TCustomRPFormattedData*>(e->HostData) : nullptr;
}

void TRPTableInplaceRPData::ShowRectangle(int X, int Y, int Width, int Height) {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (!e) {
        TRPEditRPData::ShowRectangle(X, Y, Width, Height);
        return;
    }
    // An editor taller than its window slides the window over the
    // rectangle first; the host shows that part of the cell.
    if (e->VScrollAllowed) TRPEditRPData::ShowRectangle(X, Y, Width, Height);
    TCustomRPFormattedData* host = ScrollingHost();
    if (!host) return;
    host->ShowRectangle(RPCoordSum(host->GetHOffs(), e->Left(), X, -GetHOffs()),
                        RPCoordSum(host->GetVOffs(), e->Top(), Y, -GetVOffs()), Width, Height);
}

TCustomRPFormattedData* TRPTableInplaceRPData::GetScrollingData() {
    TCustomRPFormattedData* host = ScrollingHost();
    return host ? host->GetScrollingData() : this;
}

void TRPTableInplaceRPData::DoJump(int Id) {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (!e || !e->HostControl) return;
    e->HostControl->PostDeferredEvent(TRPJumpMessageData(Id));
}

void TRPTableInplaceRPData::BuildJumps(bool Force) {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (auto* host = e ? dynamic_cast<TRPEditRPData*>(e->HostData) : nullptr) host->BuildJumps(Force);
    TRPEditRPData::BuildJumps(Force);
}

void TRPTableInplaceRPData::DropJumps() {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (auto* host = e ? dynamic_cast<TRPEditRPData*>(e->HostData) : nullptr) host->DropJumps();
    TRPEditRPData::DropJumps();
}

void TRPTableInplaceRPData::DoRPDblClick(const std::string& Word, int StyleNo) {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (!e || !e->HostControl) return;
    e->HostControl->PostDeferredEvent(TRPDblClickMessageData(Word, StyleNo));
}

void TRPTableInplaceRPData::SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) {
    TRPEditRPData::SetEditedCell(CellData, Item);
    TRPTableInplaceEdit* e = InplaceEditor();
    if (e && e->Cell) e->Cell->SetEditedCell(CellData, Item);
}

void TRPTableInplaceRPData::ReleaseEditedCell(TCustomRPData* CellData) {
    TRPEditRPData::ReleaseEditedCell(CellData);
    TRPTableInplaceEdit* e = InplaceEditor();
    if (e && e->Cell) e->Cell->ReleaseEditedCell(CellData);
}

void TRPTableInplaceRPData::GetOriginEx(int& X, int& Y) {
    X = Y = 0;
    TRPTableInplaceEdit* e = InplaceEditor();
    if (!e || !e->Cell || !e->Table) return;
    e->Cell->GetOriginEx(X, Y);
    X -= e->Table->ScaleX(e->Table->CellPadding);
    Y -= e->Table->ScaleY(e->Table->CellPadding);
}

TRPBackground* TRPTableInplaceRPData::GetBackground() {
    TRPTableInplaceEdit* e = InplaceEditor();
    if (e && !e->Highlighted() && e->Cell)
        if (TRPBackground* cellPicture = e->Cell->GetBackground()) return cellPicture;
    return TRPEditRPData::GetBackground();
}

void TRPTableInplaceRPData::DrawBackground(TCanvas& Canvas, const TRect& Rect) {
    TRPTableInplaceEdit* e = InplaceEditor();
    auto* doc = e && e->Table ? dynamic_cast<TCustomRPFormattedData*>(e->Table->GetRPData()) : nullptr;
    int x = 0, y = 0;
    if (!e || !e->TransparentCell || e->Highlighted() || !e->Cell || !e->HostControl || !doc ||
        !doc->GetItemClientCoords(e->Table->GetItemNo(), x, y)) {
        TRPEditRPData::DrawBackground(Canvas, Rect);
        return;
    }
    // The canvas starts at Rect's corner; the editor's client area lies at its
    // own position in the host's.
    const int dx = e->Left() + Rect.Left, dy = e->Top() + Rect.Top;
    e->HostControl->RPData()->DrawBackground(Canvas, ::Rect(Rect.Left + e->Left(), Rect.Top + e->Top(),
                                                            Rect.Right + e->Left(), Rect.Bottom + e->Top()));
    e->Table->DrawTableBackgroundUnderCell(Canvas, x - dx, y - dy, *e->Cell,
                                           ::Rect(0, 0, Rect.Width(), Rect.Height()));
}

// ---------------------------------------------------------------------------
// The editor control

TRPTableInplaceEdit::TRPTableInplaceEdit(TCustomRichPad* Host)
    : TRichPadEdit(Host, &GetDataClass), HostControl(Host) {
    // Borderless and without scroll bars: the editor is part of the cell.
    BorderStyle = bsNone;
    VScrollVisible = false;
    HScrollVisible = false;
    WheelStep = 0;
    SetVisible(false);
}

TRPTableInplaceEdit::~TRPTableInplaceEdit() {
    m_alive.reset();
    // Whatever path frees the editor, the table must not free it again.
    Closing = true;
    // A table in this cell closes its own editor first; it goes with this one.
    if (auto* nested = dynamic_cast<TRPTableInplaceEdit*>(GetCellEditor()); nested && nested->Table) {
        nested->DestroyedByOwner = nested->DestroyedByOwner || DestroyedByOwner;
        nested->Table->CloseInplaceEditor(!nested->DestroyedByOwner);
    }
    TForm* form = ParentForm();
    const bool focused = form && form->ActiveControl() == this;
    if (Table) {
        if (auto* host = dynamic_cast<TCustomRPFormattedData*>(HostData)) host->ReleaseEditedCell(Cell);
        Table->InplaceEditorDestroyed(this, DestroyedByOwner);
    }
    // The focus goes to the host once the table no longer lists this editor:
    // before, the host's focus-in would hand it straight back.
    if (focused && HostControl && !HostControl->Destroying()) HostControl->SetFocus();
    OnInplaceChange = nullptr;
    OnCaretGetOut = nullptr;
    InplaceData()->EditorGone = true;
}

std::unique_ptr<TRichPadRPData> TRPTableInplaceEdit::GetDataClass(TCustomRichPad* Owner) {
    return std::make_unique<TRPTableInplaceRPData>(Owner);
}

TCustomRichPadEdit* TRPTableInplaceEdit::HostEditor() const {
    return dynamic_cast<TCustomRichPadEdit*>(HostControl);
}

TCustomRichPad* TRPTableInplaceEdit::RootControl() {
    return HostControl ? HostControl->RootControl() : this;
}

void TRPTableInplaceEdit::Click() {
    if (!HostControl) return;
    HostControl->PostDeferredEvent(TRPClickMessageData());
}

namespace {

// A point of the editor's client area in the host's.
QPoint InHost(TRPTableInplaceEdit& E, int X, int Y) {
    QWidget* from = E.ClientWidget();
    QWidget* to = E.HostControl ? E.HostControl->ClientWidget() : nullptr;
    if (!from || !to) return QPoint(X + E.Left(), Y + E.Top());
    return to->mapFromGlobal(from->mapToGlobal(QPoint(X, Y)));
}

} // namespace

void TRPTableInplaceEdit::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (!HostControl) return;
    const QPoint p = InHost(*this, X, Y);
    HostControl->DragOver(Source, p.x(), p.y(), State, Accept);
}

void TRPTableInplaceEdit::DragDrop(TObject* Source, int X, int Y) {
    if (!HostControl) return;
    const QPoint p = InHost(*this, X, Y);
    HostControl->PostDeferredEvent(TRPDNDMessageData(true, Source, p.x(), p.y()));
}

void TRPTableInplaceEdit::DoEndDrag(TObject* Target, int X, int Y) {
    if (!HostControl) return;
    HostControl->PostDeferredEvent(TRPDNDMessageData(false, Target, X, Y));
}

void TRPTableInplaceEdit::SetCell(int ARow, int ACol, TRPTableCellData* ACell, TRPTableItemInfo* ATable,
                                  int AItemNo) {
    Row = ARow;
    Col = ACol;
    Cell = ACell;
    Table = ATable;
    ItemNo = AItemNo;
    const int pad = ATable ? ATable->CellPadding : 0;
    LeftMargin = RightMargin = TopMargin = BottomMargin = pad;
}

void TRPTableInplaceEdit::SetParentData(TCustomRPData* AHostData) {
    HostData = AHostData;
    if (HostControl) {
        Options = HostControl->Options;
        RPFOptions = HostControl->RPFOptions;
        RTFOptions = HostControl->RTFOptions;
        SetStyle(HostControl->Style());
    }
    VSmallStep = 1;
}

void TRPTableInplaceEdit::SetHighlight(bool On) {
    if (On == m_highlight) return;
    m_highlight = On;
    // The document's highlight: its text is painted as selected text.
    if (On) {
        m_savedColor = Color();
        if (Style()) SetColor(Style()->SelColor);
        EditData()->State |= rpstWholeSelected;
    } else {
        SetColor(m_savedColor);
        EditData()->State &= ~rpstWholeSelected;
    }
    Format();
    Invalidate();
}

void TRPTableInplaceEdit::NoteOpeningClick() {
    LastClickTime = NowMs();
}

template <typename F> void TRPTableInplaceEdit::Post(F&& Work) {
    // Runs after the current handler has returned, unless the editor went first.
    std::weak_ptr<bool> alive = m_alive;
    PostMessage(Widget(), [alive, Work = std::forward<F>(Work)]() mutable {
        if (!alive.expired()) Work();
    });
}

void TRPTableInplaceEdit::PostCaretOut(TRPCellExit Direction) {
    Post([this, Direction] { CaretOut(Direction); });
}

void TRPTableInplaceEdit::PostCaretWork(std::function<void()> Work) {
    Post(std::move(Work));
}

void TRPTableInplaceEdit::PostUndo(bool IsRedo) {
    Post([this, IsRedo] {
        if (IsRedo)
            Redo();
        else
            Undo();
    });
}

void TRPTableInplaceEdit::PostRelease() {
    Post([this] {
        TCustomRichPad* host = HostControl;
        if (Table) Table->CloseInplaceEditor(true);
        if (host) host->SetFocus();
    });
}

void TRPTableInplaceEdit::CaretOut(TRPCellExit Direction) {
    TRPTableItemInfo* table = Table;
    TCustomRichPadEdit* host = HostEditor();
    if (!table || !host) return;
    TRPEditRPData* hd = host->EditData();
    const int itemNo = table->GetItemNo();
    if (itemNo < 0) return;
    if (Direction == rpceDocStart || Direction == rpceDocEnd) {
        table->CloseInplaceEditor(true);
        if (hd->GetItemCount() > 0) {
            const int item = Direction == rpceDocStart ? 0 : hd->GetItemCount() - 1;
            hd->SetCaretItemPos(item, Direction == rpceDocStart ? hd->GetFirstOffsetOfItem(item)
                                                                : hd->GetLastOffsetOfItem(item));
        }
        host->SetFocus();
        return;
    }
    const int r = Row, c = Col;
    const bool tab = Direction == rpceNext || Direction == rpcePrev;
    int nr = -1, nc = -1;
    if (table->GetAdjacentCell(r, c, !tab, nr, nc, Direction)) {
        const bool atEnd = Direction == rpceLeft || Direction == rpceUp || Direction == rpcePrev;
        table->EditCell(itemNo, nr, nc, false, false, atEnd, !atEnd, false);
        return;
    }
    if (tab || !Cell) return;
    const bool before = (Direction == rpceLeft && c == 0) || (Direction == rpceUp && r == 0);
    const bool after = (Direction == rpceRight && c + Cell->ColSpan >= table->Rows->GetRow(r)->Count()) ||
                       (Direction == rpceDown && r + Cell->RowSpan >= table->Rows->RowCount());
    if (!before && !after) return;
    table->CloseInplaceEditor(true);
    hd->SetCaretItemPos(itemNo, before ? 0 : 1);
    host->SetFocus();
}

bool TRPTableInplaceEdit::ReadOnly() const {
    TCustomRichPadEdit* host = HostEditor();
    return host ? host->ReadOnly() : true;
}

void TRPTableInplaceEdit::SetReadOnly(bool Value) {
    if (TCustomRichPadEdit* host = HostEditor()) host->SetReadOnly(Value);
}

bool TRPTableInplaceEdit::BeforeChange(bool FromOutside) {
    (void)FromOutside;
    TCustomRichPadEdit* host = HostEditor();
    if (!host || !host->BeforeChange(true)) return false;
    EditData()->MakeSureEmpty();
    FreeDocumentTempObject();
    return true;
}

void TRPTableInplaceEdit::Change(bool ClearRedo) {
    TRichPadEdit::Change(ClearRedo);
    if (OnInplaceChange) OnInplaceChange(this, ClearRedo);
}

void TRPTableInplaceEdit::Undo() {
    if (CanUndo()) {
        TRichPadEdit::Undo();
        return;
    }
    if (TCustomRichPadEdit* host = HostEditor())
        host->Undo();
    else
        EditData()->Beep();
}

void TRPTableInplaceEdit::Redo() {
    if (CanRedo()) {
        TRichPadEdit::Redo();
        return;
    }
    if (TCustomRichPadEdit* host = HostEditor())
        host->Redo();
    else
        EditData()->Beep();
}

void TRPTableInplaceEdit::SetVPosition(int Pos, bool Redraw) {
    if (!VScrollAllowed) {
        // Only back to the top, where an editor that does not scroll stands.
        if (Pos == 0) TRichPadEdit::SetVPosition(0, Redraw);
        return;
    }
    const int old = VPos;
    TRichPadEdit::SetVPosition(Pos, Redraw);
    // The window slides with its scrolling (PlaceInplaceEditor).
    if (VPos != old && Table && Table->InplaceEditor() == this) Table->PlaceInplaceEditor();
}

void TRPTableInplaceEdit::SetHPosition(int Pos) {
    (void)Pos;
}

void TRPTableInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (Key == VK_TAB && !(Shift & ssCtrl)) {
        PostCaretOut((Shift & ssShift) ? rpcePrev : rpceNext);
        Key = 0;
        return;
    }
    m_ctrlTab = Key == VK_TAB;
    TRichPadEdit::KeyDown(Key, Shift);
    m_ctrlTab = false;
}

bool TRPTableInplaceEdit::KeyChar(char16_t Key) {
    // Tab moves between cells; only Ctrl+Tab (sent by KeyDown) types one.
    if (Key == u'\t' && !m_ctrlTab) return true;
    return TRichPadEdit::KeyChar(Key);
}

void TRPTableInplaceEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The click that opened the editor fell on the host: a quick second one
    // here is the double click.
    if (Button == mbLeft && LastClickTime != 0 && !(Shift & ssDouble)) {
        const bool dbl = NowMs() - LastClickTime < int64_t(GetDoubleClickTime());
        LastClickTime = 0;
        if (dbl) {
            DblClick();
            Shift |= ssDouble;
        }
    }
    TRichPadEdit::MouseDown(Button, Shift, X, Y);
    // A press here may go on into a selection of cells; a press on the
    // selected text starts dragging that text instead.
    if (Button == mbLeft && !(Shift & ssDouble) && !(EditData()->State & rpstDragPending) && Table &&
        Table->StartSelecting(Row, Col))
        DraggingFromCell = true;
}

void TRPTableInplaceEdit::RelayMouseToHost(QEvent::Type Type, TShiftState Shift, int X, int Y) {
    QWidget* w = HostControl ? HostControl->ClientWidget() : nullptr;
    if (!w) return;
    const QPointF p(X + Left(), Y + Top());
    const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    if (Shift & ssShift) mods |= Qt::ShiftModifier;
    if (Shift & ssCtrl) mods |= Qt::ControlModifier;
    QMouseEvent e(Type, p, w->mapToGlobal(p), Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  mods);
    QApplication::sendEvent(w, &e);
}

void TRPTableInplaceEdit::MouseMove(TShiftState Shift, int X, int Y) {
    // While cells are selected from here the table follows the pointer.
    if ((Shift & ssLeft) && DraggingFromCell && Table && Table->Selecting)
        RelayMouseToHost(QEvent::MouseMove, Shift, X, Y);
    TRichPadEdit::MouseMove(Shift, X, Y);
}

void TRPTableInplaceEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if ((Button == mbLeft || Button == mbRight) && MouseCapture()) ReleaseCapture();
    TRichPadEdit::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    DraggingFromCell = false;
    if (Table && Table->Selecting && HostControl) {
        // The host ends the selection; its own mouse-up event is not for this release.
        const TRPMouseItemEvent hostUp = HostControl->OnRPMouseUp;
        HostControl->OnRPMouseUp = nullptr;
        TCustomRichPad* host = HostControl;
        const std::weak_ptr<bool> alive = m_alive;
        RelayMouseToHost(QEvent::MouseButtonRelease, Shift, X, Y);
        host->OnRPMouseUp = hostUp;
        if (alive.expired()) return;
    }
    if (m_highlight)
        PostRelease();
    else
        SetHighlight(false);
}

// ---------------------------------------------------------------------------
// The host control's side

TControl* TCustomRichPadEdit::GetCellEditor() {
    return OpenCellEditor();
}

void TCustomRichPadEdit::DestroyCellEditor() {
    if (auto* t = dynamic_cast<TRPTableItemInfo*>(EditedCellItem)) t->CloseInplaceEditor(true);
}

void TCustomRichPadEdit::CloseCellEditorForPress(int X, int Y) {
    auto* t = dynamic_cast<TRPTableItemInfo*>(EditedCellItem);
    if (!t || !t->InplaceEditor()) return;
    // A press on the table is the table's to judge (another cell, a border).
    TRPEditRPData* d = EditData();
    const int di = d->FindDrawItemAtPoint(X + d->GetHOffs(), Y + d->GetVOffs());
    if (di >= 0 && d->GetItem(d->DrawItem(di)->ItemNo) == t) return;
    t->CloseInplaceEditor(true);
}

TCustomRichPadEdit* TCustomRichPadEdit::OpenCellEditor() const {
    auto* t = dynamic_cast<TRPTableItemInfo*>(EditedCellItem);
    return t ? t->InplaceEditor() : nullptr;
}

const TCustomRichPadEdit* TCustomRichPadEdit::InnermostEditor() const {
    const TCustomRichPadEdit* e = this;
    while (const TCustomRichPadEdit* inner = e->OpenCellEditor())
        e = inner;
    return e;
}

bool TCustomRichPadEdit::CanUndo() {
    if (EditData()->UndoList->Count() > 0) return true;
    TCustomRichPadEdit* cell = OpenCellEditor();
    return cell && cell->CanUndo();
}

bool TCustomRichPadEdit::CanRedo() {
    if (EditData()->RedoList->Count() > 0) return true;
    TCustomRichPadEdit* cell = OpenCellEditor();
    return cell && cell->CanRedo();
}

void TCustomRichPadEdit::PostUndoAfterCellEditor(bool IsRedo) {
    // Not from inside the cell editor's own handler: the editor closes first.
    PostMessage(Widget(), [this, IsRedo] {
        DestroyCellEditor();
        if (IsRedo)
            Redo();
        else
            Undo();
    });
}
