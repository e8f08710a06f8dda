// The table's side of editing a cell in place: opening and closing the cell
// editor, keeping it over its cell, the caret coming in and going out, the
// cell as the document's chosen sub-document, and the editor's undo history
// folded into the host's.
#include <algorithm>
#include <stdexcept>

#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RPTableUndo.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"

namespace {

// The cell editor's history as one step of the host's: undoing it opens the
// editor on the cell again, gives the steps back and undoes the last there.
class TRPUndoCellModify : public TRPUndoItemNoInfo {
public:
    TRPUndoCellModify(int AItemNo, int ARow, int ACol, int ACaretItemNo, int ACaretOffs, bool AIsRedo)
        : TRPUndoItemNoInfo(rpukModifyItem, AItemNo), Row(ARow), Col(ACol), CaretItemNo(ACaretItemNo),
          CaretOffs(ACaretOffs), IsRedo(AIsRedo) {}
    int Row, Col, CaretItemNo, CaretOffs;
    bool IsRedo;
    std::vector<std::unique_ptr<TRPUndoInfos>> Groups;

    void Perform(TRPEditRPData& RPData) override {
        if (Groups.empty()) return;
        // Steps of a cell that is not where they were made cannot be applied.
        auto* table = ItemNo >= 0 && ItemNo < RPData.GetItemCount()
                          ? dynamic_cast<TRPTableItemInfo*>(RPData.GetItem(ItemNo))
                          : nullptr;
        if (!table) throw std::runtime_error("Undo error");
        int r = -1, c = -1;
        TRPTableInplaceEdit* e = table->GetEditedCell(r, c);
        if (!e || r != Row || c != Col) {
            if (!table->EditCell(ItemNo, Row, Col, true, false, false, true, false))
                throw std::runtime_error("Undo error");
            e = table->InplaceEditor();
        }
        if (!e) throw std::runtime_error("Undo error");
        TRPEditRPData* ed = e->EditData();
        TRPUndoList& to = IsRedo ? *ed->RedoList : *ed->UndoList;
        for (auto& g : Groups)
            to.AppendGroup(std::move(g));
        Groups.clear();
        if (CaretItemNo >= 0 && CaretItemNo < ed->GetItemCount())
            ed->SetCaretItemPos(CaretItemNo, std::clamp(CaretOffs, ed->GetFirstOffsetOfItem(CaretItemNo),
                                                        ed->GetLastOffsetOfItem(CaretItemNo)));
        e->PostUndo(IsRedo);
    }
};

// Moves every item of From into To; the items learn their new document.
void MoveItems(TCustomRPData& From, TCustomRPData& To) {
    To.Assign(&From);
    for (int i = 0; i < To.GetItemCount(); ++i)
        To.GetItem(i)->ChangeOwnerData(&To);
}

// What the host's listeners hear of the cell: the mouse in the host's
// client coordinates, after the editor's own handling; the item actions of
// controls in the cell as the table's.
void RelayEvents(TRPTableInplaceEdit& E, TCustomRichPad& Host) {
    const auto relay = [&E](bool Down) -> TRPMouseItemEvent {
        return [&E, Down](TCustomRichPad*, TMouseButton Button, TShiftState Shift, int, int X, int Y) {
            if (!E.HostControl || !E.Table) return;
            E.HostControl->PostDeferredEvent(TRPMouseUpDownMessageData(
                Down, Button, Shift, E.Table->GetItemNo(), X + E.Left(), Y + E.Top()));
        };
    };
    E.OnRPMouseDown = Host.OnRPMouseDown ? relay(true) : nullptr;
    E.OnRPMouseUp = Host.OnRPMouseUp ? relay(false) : nullptr;
    E.OnControlAction = [&E](TCustomRichPad*, int ControlAction, int, TControl*& Control) {
        if (E.HostData && E.Table) E.HostData->DoControlAction(ControlAction, E.Table->GetItemNo(), Control);
    };
    if (Host.OnMouseMove)
        E.OnMouseMove = [&E, &Host](TObject*, TShiftState Shift, int X, int Y) {
            if (Host.OnMouseMove) Host.OnMouseMove(&Host, Shift, X + E.Left(), Y + E.Top());
        };
}

TCustomRichPadEdit* HostOf(TCustomRPData* Data) {
    auto* d = dynamic_cast<TRichPadRPData*>(Data);
    return d ? dynamic_cast<TCustomRichPadEdit*>(d->OwnerView) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// The cell's content while it is edited

TRPTableInplaceEdit* TRPTableCellData::GetCellEditor() const {
    const TRPTableItemInfo* t = Table();
    TRPTableInplaceEdit* e = t ? t->InplaceEditor() : nullptr;
    return e && e->Cell == this ? e : nullptr;
}

TCustomRPFormattedData* TRPTableCellData::GetContentData() {
    if (TRPTableInplaceEdit* e = GetCellEditor()) return e->EditData();
    return this;
}

const TCustomRPFormattedData* TRPTableCellData::GetContentData() const {
    if (TRPTableInplaceEdit* e = GetCellEditor()) return e->EditData();
    return this;
}

void TRPTableCellData::RepaintEditor() {
    if (TRPTableInplaceEdit* e = GetCellEditor()) e->Invalidate();
}

TCustomRPData* TRPTableCellData::StartEditing() {
    TRPTableItemInfo* t = Table();
    if (t && !GetCellEditor()) {
        int r = -1, c = -1;
        GetPosition(r, c);
        if (r >= 0) t->EditCellAt(r, c, false);
    }
    return GetContentData();
}

void TRPTableCellData::SetEditedCell(TCustomRPData* SubData, TCustomRPItemInfo* Item) {
    if (TRPTableItemInfo* t = Table()) {
        int r = -1, c = -1;
        GetPosition(r, c);
        if (r >= 0) {
            t->ChosenRow = r;
            t->ChosenCol = c;
        }
    }
    if (FActiveSubData && FActiveSubData != SubData) ReleaseEditedCell(FActiveSubData);
    FActiveSubData = SubData;
    FActiveSubItem = Item;
}

void TRPTableCellData::ReleaseEditedCell(TCustomRPData* SubData) {
    TRPItemFormattedData::ReleaseEditedCell(SubData);
    if ((State & rpstReleasingCell) || !FActiveSubData || !SubData) return;
    if (SubData != FActiveSubData && SubData != FActiveSubData->GetContentData()) return;
    TCustomRPFormattedData* content = GetContentData();
    State |= rpstReleasingCell;
    content->State |= rpstReleasingCell;
    // The release may close the editor whose document that was.
    const auto done = [this, content] {
        State &= ~rpstReleasingCell;
        if (TCustomRPFormattedData* now = GetContentData(); now == content) now->State &= ~rpstReleasingCell;
    };
    try {
        if (auto* sub = dynamic_cast<TCustomRPFormattedData*>(FActiveSubData->GetContentData()))
            sub->Deselect(nullptr, false);
        FActiveSubData = nullptr;
        TCustomRPItemInfo* item = FActiveSubItem;
        FActiveSubItem = nullptr;
        if (item) item->UnchooseSubRPData();
    } catch (...) {
        done();
        throw;
    }
    done();
}

void TRPTableCellData::Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw) {
    const bool again = (State & rpstDeselecting) != 0;
    TRPItemFormattedData::Deselect(NewPartialItem, Redraw);
    // A cell that an undo record keeps, or that is being emptied, is edited by nobody.
    if (again || UndoRecord || (State & rpstClearing) || NewPartialItem) return;
    auto* doc = dynamic_cast<TCustomRPFormattedData*>(ParentData);
    if (!doc) return;
    TCustomRPFormattedData* content = GetContentData();
    State |= rpstDeselecting;
    content->State |= rpstDeselecting;
    // The release closes the editor whose document that was.
    const auto done = [this, content] {
        State &= ~rpstDeselecting;
        if (TCustomRPFormattedData* now = GetContentData(); now == content) now->State &= ~rpstDeselecting;
    };
    try {
        doc->ReleaseEditedCell(this);
    } catch (...) {
        done();
        throw;
    }
    done();
}

void TRPTableCellData::SetFocusedItemNo(int ItemNo) {
    TRPItemFormattedData::SetFocusedItemNo(ItemNo);
    TRPTableItemInfo* t = Table();
    if (!t || ItemNo < 0) return;
    int r = -1, c = -1;
    GetPosition(r, c);
    if (r < 0) return;
    t->FocusedRow = r;
    t->FocusedCol = c;
    if (auto* doc = dynamic_cast<TCustomRPFormattedData*>(ParentData))
        if (const int no = t->GetItemNo(); no >= 0) doc->SetFocusedItemNo(no);
}

void TRPTableCellData::FocusParentItem() {
    TRPItemFormattedData::FocusParentItem();
    TRPTableItemInfo* t = Table();
    auto* doc = dynamic_cast<TCustomRPFormattedData*>(ParentData);
    int x = 0, y = 0;
    if (t && doc && doc->GetItemClientCoords(t->GetItemNo(), x, y)) {
        t->DrawLeft = x;
        t->DrawTop = y;
    }
}

// ---------------------------------------------------------------------------
// Opening and closing

namespace {

// Whether the document is the cell or lies in a table inside it.
bool InCell(const TCustomRPData* Data, const TRPTableCellData* Cell) {
    while (auto* c = dynamic_cast<const TRPTableCellData*>(Data)) {
        if (c == Cell) return true;
        const TRPTableItemInfo* owner = c->Table();
        Data = owner ? owner->GetRPData() : nullptr;
    }
    return false;
}

} // namespace

bool TRPTableItemInfo::EditCell(int ItemNo, int Row, int Col, bool Unconditional, bool ByClick,
                                bool CaretAtEnd, bool CaretAtStart, bool ForceJumps) {
    auto* data = dynamic_cast<TRPEditRPData*>(GetRPData());
    TCustomRichPadEdit* host = HostOf(data);
    if (!data || !host || host->Destroying() || !(TableState & rptbsInserted)) return false;
    if (!Rows->InGrid(Row, Col)) return false;
    int mr = -1, mc = -1;
    if (!Rows->GetMainCell(Row, Col, mr, mc)) return false;
    Row = mr;
    Col = mc;
    if (!Unconditional && OnCellEditing) {
        bool allow = true;
        OnCellEditing(this, Row, Col, false, allow);
        if (!allow) return false;
    }
    if (ItemNo < 0) ItemNo = GetItemNo();
    if (ItemNo < 0) return false;
    CloseInplaceEditor(true);
    // One cell of a control is edited at a time.
    if (host->EditedCellItem && host->EditedCellItem != this) host->DestroyCellEditor();
    if (host->EditedCellData) data->ReleaseEditedCell(host->EditedCellData);
    ClearSelection();
    data->SetPartialSelectedItem(nullptr);
    data->Deselect(nullptr, false);
    // While a cell is edited, the table is the host's selection.
    data->StoreSelectionBounds(ItemNo, 0, ItemNo, 1);
    // The minimum width of the table's paragraph before the cell changes.
    FParaMinWidth = data->GetParaMinWidth(ItemNo);

    TRPTableCellData* cell = GetCell(Row, Col);
    // The table's minimum width holds while the editor's document measures
    // as the cell did.
    const int cellMinWidth = cell->GetMinWidth(nullptr, data->GetCanvas());
    auto* e = new TRPTableInplaceEdit(host);
    FInplaceEditor = e;
    FKeptCellsFor = nullptr;
    e->OnInplaceChange = [this](TRPTableInplaceEdit* Sender, bool ClearRedo) {
        InplaceEditorChanged(Sender, ClearRedo);
    };
    e->OnCaretGetOut = [e](TCustomRichPadEdit*, TRPGetOutDirection Direction) {
        e->PostCaretOut(static_cast<TRPCellExit>(Direction));
    };
    // The host's events serve the cell as well.
    e->AssignEvents(*host);
    e->OnStyleConversion = host->OnStyleConversion;
    e->OnParaStyleConversion = host->OnParaStyleConversion;
    e->OnPaste = host->OnPaste;
    e->OnDropFiles = host->OnDropFiles;
    e->OnCurParaStyleChanged = host->OnCurParaStyleChanged;
    e->OnCurTextStyleChanged = host->OnCurTextStyleChanged;
    e->OnCaretMove = host->OnCaretMove;
    RelayEvents(*e, *host);
    e->BiDiMode = host->BiDiMode;
    e->EditorOptions = host->EditorOptions | rpoWantTabs;
    e->SetUndoLimit(host->UndoLimit() != 0 ? -1 : 0);
    // A read-only host keeps the cell's links working.
    if (host->ReadOnly() || ForceJumps) e->DocFlags |= rpflRecordJumps;
    e->SetParent(host);
    e->SetParentData(data);
    // The cell's links keep the numbers the host gave them: a click that
    // opened the editor on a link still follows it.
    if (auto* root = dynamic_cast<TCustomRPFormattedData*>(data->GetAbsoluteRootData()))
        for (const TRPJumpInfo& j : root->Jumps)
            if (InCell(j.RPData, cell)) {
                e->SetFirstJumpNo(root->FirstJumpNo + j.Id);
                break;
            }
    // The editor knows its cell before the items come: its markers join the
    // host's numbering where the cell's stood.
    e->SetCell(Row, Col, cell, this, ItemNo);
    MoveItems(*cell, *e->RPData());
    // The cell's own lines named the items that just left.
    cell->ClearFormatting();
    ColorInplaceEditor();
    FEditorHeight = -1; // not formatted yet
    PlaceInplaceEditor();
    e->Format();
    if (ByClick) e->NoteOpeningClick();
    e->Show();
    data->SetEditedCell(cell, this);
    ChosenRow = Row;
    ChosenCol = Col;
    TRPEditRPData* ed = e->EditData();
    FEditorMinWidth = EditorMinWidth();
    FEditorHeight = ed->DocumentHeight;
    if (FEditorMinWidth != cellMinWidth) ForgetMinWidth();
    ed->MakeSureEmpty();
    const int last = ed->GetItemCount() - 1;
    if (CaretAtEnd && last >= 0)
        ed->SetCaretItemPos(last, ed->GetLastOffsetOfItem(last));
    else if (CaretAtStart && last >= 0)
        ed->SetCaretItemPos(0, ed->GetFirstOffsetOfItem(0));
    e->SetFocus();
    host->Invalidate();
    return true;
}

void TRPTableItemInfo::EditCellAt(int Row, int Col, bool Unconditional) {
    if (!Unconditional && !(Options & rptoEditing)) return;
    // A table in a cell: the outer table opens its editor on that cell first.
    if (auto* cell = dynamic_cast<TRPTableCellData*>(GetRPData())) {
        TRPTableItemInfo* outer = cell->Table();
        int r = -1, c = -1;
        cell->GetPosition(r, c);
        if (!outer || r < 0) throw ERichPadError("Internal error");
        const int at = cell->GetItemNo(this);
        outer->EditCellAt(r, c, Unconditional);
        TRPTableInplaceEdit* e = outer->InplaceEditor();
        if (!e || e->Cell != cell) return;
        // The table now lives in the outer editor's document.
        if (at >= 0 && at < e->RPData()->GetItemCount() && e->RPData()->GetItem(at) == this)
            EditCell(at, Row, Col, Unconditional, false, false, true, false);
        return;
    }
    EditCell(-1, Row, Col, Unconditional, false, false, true, false);
}

void TRPTableItemInfo::CloseInplaceEditor(bool WriteBack) {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e || e->Closing) return;
    e->Closing = true;
    if (!WriteBack) e->MarkDestroyedByOwner();
    delete e;
}

void TRPTableItemInfo::CloseInplaceEditorAndRemember() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e) return;
    if (e->DraggingFromCell) throw ERPTableInplaceError("Cannot destroy cell inplace editor at this time");
    FRemembered.ItemNo = e->EditData()->CurItemNo();
    FRemembered.Offs = e->EditData()->OffsetInCurItem();
    FRemembered.Row = e->Row;
    FRemembered.Col = e->Col;
    CloseInplaceEditor(true);
}

void TRPTableItemInfo::ReopenRememberedEditor() {
    const TRememberedCaret m = FRemembered;
    FRemembered = TRememberedCaret{};
    if (m.Row < 0 || !EditCell(-1, m.Row, m.Col, true, false, false, true, false)) return;
    TRPEditRPData* ed = FInplaceEditor->EditData();
    if (m.ItemNo >= 0 && m.ItemNo < ed->GetItemCount())
        ed->SetCaretItemPos(m.ItemNo, std::clamp(m.Offs, ed->GetFirstOffsetOfItem(m.ItemNo),
                                                 ed->GetLastOffsetOfItem(m.ItemNo)));
}

TRPTableSaving::TRPTableSaving(const TRPTableItemInfo& ATable, TRPTableCellData* ACopyIn)
    : Table(&ATable), Cell(ACopyIn) {
    ++Table->FSavingCount;
}

namespace {

// The markers that Doc shows, in document order: its own, and those in the
// cells of its tables, open ones included.
void CollectShownMarkers(TCustomRPData& Doc, std::vector<TRPMarkerItemInfo*>& Out) {
    for (int i = 0; i < Doc.GetItemCount(); ++i) {
        TCustomRPItemInfo* item = Doc.GetItem(i);
        if (auto* m = dynamic_cast<TRPMarkerItemInfo*>(item))
            Out.push_back(m);
        else if (auto* t = dynamic_cast<TRPTableItemInfo*>(item))
            t->Rows->ForEachCell(
                [&](int, int, TRPTableCellData& Cell) { CollectShownMarkers(*Cell.GetContentData(), Out); });
    }
}

} // namespace

void TRPTableSaving::SetAside(TCustomRPData& Doc) {
    TRPMarkerList* list = Doc.GetMarkers(false);
    if (!list) return;
    std::vector<TRPMarkerItemInfo*> shown;
    CollectShownMarkers(Doc, shown);
    int first = list->Count();
    for (TRPMarkerItemInfo* m : shown)
        if (const int at = list->IndexOf(m); at >= 0) {
            first = std::min(first, at);
            Aside.push_back(m);
        }
    if (Aside.empty()) return;
    // They stand together: the document is one stretch of the numbering.
    AsideDoc = &Doc;
    AsideAfter = first > 0 ? list->Get(first - 1) : nullptr;
    list->DeleteMarkers(std::vector<const TRPMarkerItemInfo*>(Aside.begin(), Aside.end()));
}

TRPTableSaving::~TRPTableSaving() {
    if (Cell) Cell->Clear();
    if (TRPMarkerList* list = Aside.empty() ? nullptr : AsideDoc->GetMarkers(true)) {
        TRPMarkerItemInfo* after = AsideAfter;
        for (TRPMarkerItemInfo* m : Aside) {
            list->InsertAfter(m, after);
            after = m;
        }
        list->RecalcCountersOfLists(list->IndexOf(Aside.front()), AsideDoc->GetRPStyle());
    }
    if (Table) --Table->FSavingCount;
}

TRPTableSaving TRPTableItemInfo::StoreEditedCell() const {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e || !e->Cell) return TRPTableSaving(*this, nullptr);
    std::string rpf;
    if (!e->EditData()->SaveRPFToStream(rpf, false, clNone, nullptr, nullptr))
        return TRPTableSaving(*this, nullptr);
    TRPTableCellData* cell = e->Cell;
    cell->Clear();
    TRPTableSaving saving(*this, cell);
    saving.SetAside(*e->EditData());
    TColor color = clNone;
    if (!cell->LoadRPFFromStream(rpf, color, nullptr, nullptr)) cell->Clear();
    return saving;
}

TRPTableInplaceEdit* TRPTableItemInfo::GetEditedCell(int& Row, int& Col) const {
    Row = FInplaceEditor ? FInplaceEditor->Row : -1;
    Col = FInplaceEditor ? FInplaceEditor->Col : -1;
    return FInplaceEditor;
}

void TRPTableItemInfo::InplaceEditorDestroyed(TRPTableInplaceEdit* Editor, bool ByOwner) {
    if (Editor != FInplaceEditor) return;
    TCustomRichPadEdit* host = HostOf(GetRPData());
    const bool hostGoing = !host || host->Destroying();
    // Steps of a table that is going would name a cell that is no more.
    if (!hostGoing && !ByOwner) SaveInplaceUndo();
    TRPTableCellData* cell = Editor->Cell;
    TRPEditRPData* ed = Editor->EditData();
    // What was selected in the cell goes with its editor: the cell is
    // released, and a selection kept in it would stay painted in the
    // selection colour while the caret stands elsewhere.
    if (cell) {
        cell->Clear(); // a copy the writers may have left
        MoveItems(*ed, *cell);
    }
    FInplaceEditor = nullptr;
    FKeptCellsFor = nullptr;
    ChosenRow = ChosenCol = -1;
    // The table was the host's selection for the time of the edit only; so
    // was its partial selection when the press that opened the editor
    // selected no cells. Left behind, it would hide the host's caret and
    // answer for it, whatever keys move the caret.
    if (auto* doc = dynamic_cast<TCustomRPFormattedData*>(GetRPData()); doc && !hostGoing) {
        const int no = GetItemNo();
        int si = -1, sOffs = 0, ei = -1, eOffs = 0;
        doc->GetSelBounds(si, sOffs, ei, eOffs, true);
        const bool wholeTable = no >= 0 && si == no && ei == no && sOffs == 0 && eOffs == 1;
        const bool noCells = doc->PartialSelectedItem == this && !HasCellSelection() && !Selecting;
        if (wholeTable || noCells) doc->Deselect(nullptr, false);
    }
    if (cell && !ByOwner && !hostGoing) {
        if (cell->GetItemCount() == 0) cell->ClearToEmpty();
        cell->State |= rpcsFormattingByTable;
        cell->Format(false, true, false, 0, cell->GetCanvas(), false, true);
        cell->State &= ~rpcsFormattingByTable;
        // The columns and rows were measured with the editor's document,
        // whose lines and margins are not the cell's: the table follows as
        // far as the cell measures otherwise, as the document shows it when
        // it is opened. A cell left as it was costs no other cell anything.
        FollowCell(*cell, Editor->Row, Editor->Col, cell->GetMinWidth(nullptr, cell->GetCanvas()),
                   RPCoordSum(cell->DocumentHeight, 2 * CellPadding));
        FollowInEnclosingEditors();
        host->Invalidate();
    } else {
        // The cell keeps the editor's items unformatted: what was measured of it is not known.
        FFactsKnown = false;
        ForgetMinWidth();
    }
    FEditorMinWidth = FEditorHeight = -1;
    if (OnCellEndEdit) OnCellEndEdit(this, Editor->Row, Editor->Col, ByOwner || hostGoing);
}

// ---------------------------------------------------------------------------
// Undo

void TRPTableItemInfo::SaveInplaceUndo() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    auto* hd = dynamic_cast<TRPEditRPData*>(GetRPData());
    if (!e || !hd || FSavingInplaceUndo) return;
    FSavingInplaceUndo = true;
    const int itemNo = GetItemNo();
    TRPEditRPData* ed = e->EditData();
    // A table nested in the cell hands its steps to this editor first.
    if (auto* nested = e->Cell ? dynamic_cast<TRPTableItemInfo*>(e->Cell->GetActiveSubItem()) : nullptr)
        nested->SaveInplaceUndo();
    int ci = -1, co = -1;
    ed->GetCaretItemPos(ci, co);
    for (const bool redo : {false, true}) {
        TRPUndoList& from = redo ? *ed->RedoList : *ed->UndoList;
        TRPUndoList& to = redo ? *hd->RedoList : *hd->UndoList;
        if (from.Count() == 0 || itemNo < 0) continue;
        auto record = std::make_unique<TRPUndoCellModify>(itemNo, e->Row, e->Col, ci, co, redo);
        record->Groups = from.TakeAll();
        auto group = std::make_unique<TRPUndoInfos>();
        group->Action = rpuaModifyItem;
        group->Caption = record->Groups.back()->Caption;
        group->CaretItemNo = itemNo;
        group->CaretOffs = 1;
        group->Infos.push_back(std::move(record));
        to.AppendGroup(std::move(group));
    }
    FSavingInplaceUndo = false;
}

bool TRPTableInplaceEdit::FoldUndoInto(TRPEditRPData& Root) {
    TRPUndoList& steps = *EditData()->UndoList;
    TRPUndoList* to = Root.GetUndoList();
    if (steps.Count() == 0 || !Table || !Cell || to != Root.UndoList.get() || !to->Last()) return false;
    auto record = std::make_unique<TRPUndoMultiCellsModify>();
    // The table's place once every editor around it has given its items
    // back: each editor's document holds the items of its cell.
    record->ItemNo = Table->GetItemNo();
    const TRPTableInplaceEdit* e = this;
    while (e->HostData != &Root) {
        auto* outer = dynamic_cast<TRPTableInplaceRPData*>(e->HostData);
        e = outer ? outer->InplaceEditor() : nullptr;
        if (!e || !e->Table || e->Table->GetItemNo() < 0) return false;
        record->Path.insert(record->Path.begin(), TRPTableCellStep{e->Table->GetItemNo(), e->Row, e->Col});
    }
    if (record->ItemNo < 0) return false;
    record->TakeGroups(Row, Col, steps);
    to->AddInfo(std::move(record));
    return true;
}

// ---------------------------------------------------------------------------
// Changes in the cell

void TRPTableItemInfo::InplaceEditorChanged(TRPTableInplaceEdit* Sender, bool ClearRedo) {
    if (Sender != FInplaceEditor) return;
    TCustomRichPadEdit* host = HostOf(GetRPData());
    if (!host) return;
    // An entry begun or ended in the cell counts the list on in the host's
    // lines and in the other cells. The tables whose cells it renumbered
    // forget what they measured of them before this one follows its editor,
    // whose layout measures their markers anew. An edit that renumbered
    // nothing leaves the list alone.
    auto* hd = dynamic_cast<TRPEditRPData*>(GetRPData());
    const bool renumbered = hd && hd->ForgetTablesOfRenumberedMarkers();
    bool laidOut = FollowInplaceEditor();
    if (FPlacing) return;
    if (renumbered && hd->LayOutRenumberedMarkers()) {
        laidOut = true;
        if (FInplaceEditor == Sender) PlaceInplaceEditor();
    }
    host->Change(ClearRedo);
    // The cell's editor showed its caret's line before the table, and the
    // tables and documents around it, were laid out for the change: a line
    // that had no room in the host yet (a new one at the document's end) shows now.
    if (laidOut && FInplaceEditor == Sender) Sender->EditData()->ShowCaretLine();
}

int TRPTableItemInfo::EditorMinWidth() const {
    TRPTableInplaceEdit* e = FInplaceEditor;
    return e && e->Cell ? e->Cell->GetMinWidth(nullptr, e->EditData()->GetCanvas()) : -1;
}

bool TRPTableItemInfo::FollowInplaceEditor() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e || !e->Cell) return false;
    return FollowCell(*e->Cell, e->Row, e->Col, EditorMinWidth(), e->EditData()->DocumentHeight);
}

bool TRPTableItemInfo::FollowCell(const TRPTableCellData& Cell, int Row, int Col, int MinWidth, int Height) {
    auto* hd = dynamic_cast<TRPEditRPData*>(GetRPData());
    if (!hd) return false;
    // Typing that keeps the cell's height and minimum width leaves the table as it is.
    if (MinWidth == FEditorMinWidth && Height == FEditorHeight) return false;
    bool widthChanged = MinWidth != FEditorMinWidth;
    const bool heightChanged = Height != FEditorHeight;
    FEditorMinWidth = MinWidth;
    FEditorHeight = Height;
    const int itemNo = GetItemNo();
    if (itemNo < 0) return false;
    // A new minimum width of the cell that leaves the columns as they are
    // (a word that stays within its column's width) changes at most the
    // table's minimum width: the table is laid out as for a new height.
    bool tableMinChanged = widthChanged;
    if (widthChanged) {
        int tableMin = -1;
        if (ColumnsStayWith(Cell, Row, Col, MinWidth, tableMinChanged, tableMin)) {
            widthChanged = false;
            if (tableMinChanged) {
                ForgetMinWidth();
                FMinWidth = tableMin;
                FMinWidthSurface = FFactsSurface;
            }
        } else {
            ForgetMinWidth();
        }
    }
    // A cell that only grew or shrank in height leaves the columns, the
    // other cells' lines and the table's minimum width as they were; one
    // that grew or shrank in width leaves the other cells as they were.
    if (widthChanged)
        TableState |= rptbsChanged;
    else if (heightChanged)
        RowsChanged();
    const int oldPara = FParaMinWidth;
    bool laidOut = widthChanged || heightChanged, repaint = widthChanged;
    FTrustKeptCells = true;
    try {
        if (tableMinChanged) FParaMinWidth = hd->GetParaMinWidth(itemNo);
        const int formatted = hd->GetAreaWidth();
        // A table wider than the host's window, before or now, makes the
        // host's width: the host lays its line out and follows.
        const int window =
            std::max(hd->GetWidth() - hd->GetLeftMargin() - hd->GetRightMargin(), hd->GetMinTextWidth());
        const bool hostWidth =
            tableMinChanged && oldPara != FParaMinWidth && std::max(oldPara, FParaMinWidth) > window;
        if (tableMinChanged && oldPara != FParaMinWidth &&
            (FParaMinWidth >= formatted || oldPara >= formatted)) {
            hd->Format(false, true, false, 0, nullptr, false, true);
            laidOut = repaint = true;
        } else if (laidOut || hostWidth) {
            ReformatInHost();
            laidOut = true;
        }
    } catch (...) {
        FTrustKeptCells = false;
        throw;
    }
    FTrustKeptCells = false;
    if (!laidOut) return false;
    if (!FPlacing) PlaceInplaceEditor();
    // Rows that only grew or shrank were painted again as far as they
    // changed, and what lies below them moved.
    if (repaint)
        if (TCustomRichPadEdit* host = HostOf(hd)) host->Invalidate();
    return true;
}

void TRPTableItemInfo::FollowInEnclosingEditors() {
    // The table lies in the document of an editor of an outer table's cell:
    // that table follows its editor's document, and so on outwards.
    for (auto* d = dynamic_cast<TRPTableInplaceRPData*>(GetRPData()); d;) {
        TRPTableInplaceEdit* e = d->InplaceEditor();
        TRPTableItemInfo* outer = e ? e->Table : nullptr;
        if (!outer || outer->InplaceEditor() != e || !outer->FollowInplaceEditor()) return;
        d = dynamic_cast<TRPTableInplaceRPData*>(outer->GetRPData());
    }
}

void TRPTableItemInfo::ReformatInHost() {
    auto* hd = dynamic_cast<TRPEditRPData*>(GetRPData());
    const int itemNo = GetItemNo();
    if (!hd || itemNo < 0) return;
    // Within an edit of the host, its own reformatting takes the table along.
    const bool pending = hd->ChangesPending();
    hd->MarkChanged(itemNo, itemNo);
    if (!pending) hd->ReformatAfterEdit();
}

// ---------------------------------------------------------------------------
// Placement

void TRPTableItemInfo::PlaceAt(int x, int y, bool ApplyTop) {
    TRPFullLineItemInfo::PlaceAt(x, y, ApplyTop);
    // The cells learn their place from the painting; the editor goes along now.
    if (FInplaceEditor) PlaceInplaceEditor();
}

void TRPTableItemInfo::PlaceInplaceEditor() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    auto* data = dynamic_cast<TCustomRPFormattedData*>(GetRPData());
    if (!e || !e->Cell || !data) return;
    const int itemNo = GetItemNo();
    int x = 0, y = 0;
    if (itemNo < 0 || !data->GetItemClientCoords(itemNo, x, y)) return;
    TRPTableCellData* cell = e->Cell;
    const int shift = std::max(0, cell->GetContentVShift());
    int height = std::max(0, cell->Height - shift);
    e->VScrollAllowed = height > TRPTableInplaceEdit::MaxHeight;
    if (e->VScrollAllowed) height = TRPTableInplaceEdit::MaxHeight;
    // An editor that scrolls is a window sliding down its cell as far as it
    // scrolled: its lines stay where the cell has them in the host. The
    // window, far taller than a screen, covers what the host shows of the cell.
    if (!e->VScrollAllowed && e->VPos != 0) e->ScrollTo(0);
    if (TCustomRichPadEdit* host = HostOf(data); host && e->VScrollAllowed) {
        const int contentTop = RPCoordSum(y, cell->Top, shift), step = std::max(1, e->VSmallStep);
        const int last = RPCoordSum(host->ClientHeight(), -contentTop, -height, step);
        const int first = -contentTop, slide = e->EditData()->GetVOffs();
        if (last <= first && (slide < last || slide > first)) e->ScrollTo(std::clamp(slide, last, first));
    }
    const int slide = e->EditData()->GetVOffs();
    e->SetBounds(RPCoordSum(x, cell->Left), RPCoordSum(y, cell->Top, shift, slide), cell->Width, height);
    // Scrolling moves child controls by their Tag.
    e->SetTag(e->Top());
    TRPEditRPData* ed = e->EditData();
    if (TableState & rptbsEditorMargins) {
        TableState &= ~rptbsEditorMargins;
        ed->Format(true, true, false, 0, nullptr, false, false);
    }
    // A new width may wrap the cell's lines anew: the table follows once.
    if (FEditorHeight >= 0 && ed->DocumentHeight != FEditorHeight && !FPlacing) {
        FPlacing = true;
        InplaceEditorChanged(e, false);
        FPlacing = false;
    }
}

void TRPTableItemInfo::FitInplaceEditor() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e || !e->Cell || e->Width() == e->Cell->Width) return;
    e->SetBounds(e->Left(), e->Top(), e->Cell->Width, e->Height());
    // The layout under way follows the height this gives.
    if (FEditorHeight >= 0) FEditorHeight = e->EditData()->DocumentHeight;
}

void TRPTableItemInfo::ColorInplaceEditor() {
    TRPTableInplaceEdit* e = FInplaceEditor;
    if (!e || !e->Cell) return;
    TColor color = e->Cell->Color != clNone ? e->Cell->Color : GetEffectiveColor();
    e->TransparentCell = color == clNone;
    if (color == clNone && e->HostControl) color = e->HostControl->EffectiveColor();
    e->SetColor(color);
    e->Invalidate();
}

void TRPTableItemInfo::SetColor(TColor Value) {
    SetIntProperty("Color", Value);
    ColorInplaceEditor();
}

void TRPTableItemInfo::SetCellPadding(int Value) {
    if (TRPTableInplaceEdit* e = FInplaceEditor) {
        e->LeftMargin = e->RightMargin = e->TopMargin = e->BottomMargin = Value;
        TableState |= rptbsEditorMargins;
    }
    SetIntProperty("CellPadding", Value);
}

void TRPTableCellData::SetColor(TColor Value) {
    Color = Value;
    if (GetCellEditor()) Table()->ColorInplaceEditor();
}

// ---------------------------------------------------------------------------
// The caret and the chosen cell

bool TRPTableItemInfo::EnterFromSide(int Side, int X) {
    if (Rows->IsEmpty() || !(Options & rptoEditing)) return false;
    const int lastRow = Rows->RowCount() - 1;
    int row = 0, col = 0;
    switch (Side) {
    case 0:
        break;
    case 1:
        row = lastRow;
        col = Rows->GetRow(lastRow)->Count() - 1;
        break;
    case 2:
    case 3:
        row = Side == 2 ? 0 : lastRow;
        col = GetColAt(X);
        if (col < 0) return false;
        break;
    default:
        return false;
    }
    int mr = -1, mc = -1;
    if (!Rows->GetMainCell(row, col, mr, mc)) return false;
    const bool atEnd = Side == 1 || Side == 3;
    return EditCell(-1, mr, mc, false, false, atEnd, !atEnd, false);
}

bool TRPTableItemInfo::GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& Position, int PositionCode) {
    const int rows = Rows->RowCount();
    int r = -1, c = -1;
    switch (PositionCode) {
    case 0:
        if (!Rows->IsEmpty()) r = c = 0;
        break;
    case 1:
        if (!Rows->IsEmpty()) {
            int mr = -1, mc = -1;
            if (Rows->GetMainCell(rows - 1, Rows->GetRow(rows - 1)->Count() - 1, mr, mc)) {
                r = mr;
                c = mc;
            }
        }
        break;
    case 2:
    case 3: {
        int top = -1, left = -1, rc = 0, cc = 0;
        if (GetSelectionBounds(top, left, rc, cc)) {
            r = PositionCode == 2 ? SelStartRow : SelStartRow + SelRowOffs;
            c = PositionCode == 2 ? SelStartCol : SelStartCol + SelColOffs;
        } else if (ChosenRow >= 0) {
            r = ChosenRow;
            c = ChosenCol;
        }
        break;
    }
    case 4:
    case 5: {
        auto* at = dynamic_cast<TRPTableStoreSubRPData*>(Position.get());
        int nr = -1, nc = -1;
        if (at && GetAdjacentCell(at->Row, at->Col, true, nr, nc, PositionCode == 4 ? rpdNext : rpdPrev)) {
            r = nr;
            c = nc;
        }
        break;
    }
    default:
        break;
    }
    if (r < 0 || c < 0) {
        Position.reset();
        return false;
    }
    Position = std::make_unique<TRPTableStoreSubRPData>(this, r, c);
    return true;
}

void TRPTableItemInfo::ChooseSubRPData(TRPStoreSubRPData* Position) {
    auto* at = dynamic_cast<TRPTableStoreSubRPData*>(Position);
    if (!at || !Rows->FindCell(at->Row, at->Col)) return;
    auto* d = dynamic_cast<TCustomRPFormattedData*>(GetRPData());
    if (d) d->Deselect(this, false);
    if (dynamic_cast<TRPEditRPData*>(GetRPData()) && (Options & rptoEditing)) {
        // The editor tells the document itself.
        EditCell(-1, at->Row, at->Col, true, false, false, true, false);
    } else if (d) {
        d->SetEditedCell(GetCell(at->Row, at->Col), this);
    }
    ChosenRow = at->Row;
    ChosenCol = at->Col;
}

void TRPTableItemInfo::UnchooseSubRPData() {
    if (ChosenRow >= 0 && ChosenRow < Rows->RowCount() && ChosenCol >= 0 &&
        ChosenCol < Rows->GetRow(ChosenRow)->Count())
        if (TRPTableCellData* cell = GetCell(ChosenRow, ChosenCol); cell && !FInplaceEditor)
            cell->Deselect(nullptr, false);
    ChosenRow = ChosenCol = -1;
    CloseInplaceEditor(true);
}

namespace {

// Whether the document lies in a cell of the table, at any depth of nesting.
bool LiesIn(const TCustomRPData* Data, const TRPTableItemInfo* Table) {
    while (auto* cell = dynamic_cast<const TRPTableCellData*>(Data)) {
        const TRPTableItemInfo* owner = cell->Table();
        if (!owner) return false;
        if (owner == Table) return true;
        Data = owner->GetRPData();
    }
    return false;
}

} // namespace

void TRPTableItemInfo::ReleaseCellsOfHost() {
    if (ChosenRow >= 0) UnchooseSubRPData();
    ChosenRow = ChosenCol = -1;
    ClearFocus();
    TCustomRPData* data = GetRPData();
    auto* root = data ? dynamic_cast<TCustomRPFormattedData*>(data->GetAbsoluteRootData()) : nullptr;
    if (!root) return;
    // The links are listed again when the document is formatted next.
    bool linked = LiesIn(root->HoverData, this);
    for (const TRPJumpInfo& j : root->Jumps)
        linked = linked || LiesIn(j.RPData, this);
    if (linked) root->ClearJumps();
}

// ---------------------------------------------------------------------------
// Links

void TRPTableItemInfo::BuildJumpList(int& StartJumpNo) {
    auto* data = dynamic_cast<TCustomRPFormattedData*>(GetRPData());
    if (!data) return;
    auto* root = dynamic_cast<TCustomRPFormattedData*>(data->GetAbsoluteRootData());
    if (!root) root = data;
    Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) {
        if (TRPTableInplaceEdit* e = Cell.GetCellEditor()) {
            // The edited cell's links live in its editor and are numbered from
            // here; a link over two lines is one number.
            e->SetFirstJumpNo(StartJumpNo + root->FirstJumpNo);
            int count = 0;
            std::vector<TRPJumpInfo> counted;
            e->EditData()->BuildJumpList(count, counted);
            StartJumpNo += count;
            return;
        }
        // The cell's areas move to where the cell lies in the root document.
        const size_t first = root->Jumps.size();
        Cell.BuildJumpList(StartJumpNo, root->Jumps);
        int ox = 0, oy = 0;
        Cell.GetOrigin(ox, oy);
        for (size_t k = first; k < root->Jumps.size(); ++k) {
            root->Jumps[k].Left = RPCoordSum(root->Jumps[k].Left, ox);
            root->Jumps[k].Top = RPCoordSum(root->Jumps[k].Top, oy);
        }
    });
}
