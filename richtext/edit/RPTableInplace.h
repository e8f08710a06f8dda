#pragma once
// The in-place cell editor: a borderless editor control laid over the table
// cell that holds the caret. Its document takes the cell's items while the
// cell is edited and gives them back when it closes; its undo history then
// moves into the host document's history, so that undo runs through cell and
// host as one history. What belongs to the host (read-only state, change
// checks, events, caret moves out of the cell) is relayed to it. Work that
// must not run inside the editor's own handlers (leaving the cell, undo from
// a host record, destruction) is posted to the event loop.
//
//   table->EditCell(-1, Row, Col, false, false, false, true, false);
//   ... the user types into table->InplaceEditor() ...
//   table->CloseInplaceEditor(true);
#include <QEvent>
#include <memory>

#include "richtext/edit/RichPadEdit.h"

class TRPTableItemInfo;
class TRPTableCellData;
class TRPTableInplaceEdit;

class ERPTableInplaceError : public ERichPadError {
public:
    using ERichPadError::ERichPadError;
};

// Directions in which the caret leaves a cell.
enum TRPCellExit : uint8_t {
    rpceLeft = 0,
    rpceUp = 1,
    rpceRight = 2,
    rpceDown = 3,
    rpceDocStart = 4,
    rpceDocEnd = 5,
    rpceNext = 6,
    rpcePrev = 7
};

class TRPTableInplaceRPData : public TRPEditRPData {
public:
    explicit TRPTableInplaceRPData(TCustomRichPad* AOwnerView) : TRPEditRPData(AOwnerView) {}
    TRPTableInplaceEdit* InplaceEditor() const;
    // The host's document while the editor may not scroll, else nil.
    TCustomRPFormattedData* ScrollingHost() const;
    TCustomRPData* GetSourceData() override;
    void GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) override;
    // The cell's list entries keep their numbers in the editor: its markers
    // are counted in the host's list, on from those before the cell.
    TRPMarkerList* GetMarkers(bool AllowCreate) override;
    void DestroyMarkers() override;
    TCustomRPData* GetAbsoluteParentData() const override;
    // The cell whose place in the host numbers the editor's markers, if any.
    TRPTableCellData* NumberingCell() const;
    // Set once the editor is taken down: the document no longer answers for it.
    bool EditorGone = false;
    TRPRTFReaderProperties* GetRTFReadProperties() override;
    // While the editor may not scroll, its host shows what the caret needs.
    void ShowRectangle(int X, int Y, int Width, int Height) override;
    TCustomRPFormattedData* GetScrollingData() override;
    void DoJump(int Id) override;
    // The host lists its links first: that numbers the cell's among them.
    void BuildJumps(bool Force) override;
    void DropJumps() override;
    void DoRPDblClick(const std::string& Word, int StyleNo) override;
    // A table in the cell edits one of its cells: the editor counts it as its
    // edited cell, and the cell under the editor records it.
    void SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) override;
    void ReleaseEditedCell(TCustomRPData* CellData) override;
    // Where the editor's document lies in the outermost document: the cell's
    // content less the padding, which is the editor's margin.
    void GetOriginEx(int& X, int& Y) override;
    TRPBackground* GetBackground() override;
    // A cell without colour shows what lies behind it: the host, the table's
    // background and the cell's picture.
    void DrawBackground(TCanvas& Canvas, const TRect& Rect) override;
};

class TRPTableInplaceEdit : public TRichPadEdit {
public:
    // Host: the control whose document holds the table.
    explicit TRPTableInplaceEdit(TCustomRichPad* Host);
    ~TRPTableInplaceEdit() override;
    QString ClassName() const override { return QStringLiteral("TRPTableInplaceEdit"); }
    // The editor's document: the cell editor's own kind.
    static std::unique_ptr<TRichPadRPData> GetDataClass(TCustomRichPad* Owner);

    TCustomRichPad* HostControl;
    TCustomRPData* HostData = nullptr;
    TRPTableItemInfo* Table = nullptr;
    TRPTableCellData* Cell = nullptr;
    int Row = -1, Col = -1, ItemNo = -1;
    bool DestroyedByOwner = false;
    bool Closing = false; // the table is freeing the editor
    // A left press in the cell may start a cell selection until it is released.
    bool DraggingFromCell = false;
    bool TransparentCell = false;
    // Taller cells than this scroll inside the editor.
    static constexpr int MaxHeight = 10000;
    bool VScrollAllowed = false;
    std::function<void(TRPTableInplaceEdit* Sender, bool ClearRedo)> OnInplaceChange;
    // When the click that opened the editor happened (ms, 0: not by a click).
    int64_t LastClickTime = 0;

    TRPTableInplaceRPData* InplaceData() const { return static_cast<TRPTableInplaceRPData*>(RPData()); }
    // The host control as an editor (nil for a read-only view host).
    TCustomRichPadEdit* HostEditor() const;

    void SetCell(int ARow, int ACol, TRPTableCellData* ACell, TRPTableItemInfo* ATable, int AItemNo);
    void SetParentData(TCustomRPData* AHostData);
    void SetHighlight(bool On);
    bool Highlighted() const { return m_highlight; }
    void MarkDestroyedByOwner() { DestroyedByOwner = true; }
    // The click that opens the editor happened now (a second one may make a double click).
    void NoteOpeningClick();

    // Moves this editor's undo steps into the group that Root records now,
    // as one record of the edited cell, located through the editors around
    // this one: undone with that group, not on their own. False (nothing
    // moved) when Root records nothing or does not hold the cell.
    bool FoldUndoInto(TRPEditRPData& Root);

    // Deferred work on the event loop; the editor may be gone when it runs.
    void PostCaretOut(TRPCellExit Direction);
    void PostUndo(bool IsRedo);
    void PostRelease();
    // A caret move that takes the caret out of this cell (a page beyond it).
    void PostCaretWork(std::function<void()> Work);

    // ---- overrides
    bool ReadOnly() const override;
    void SetReadOnly(bool Value) override;
    bool BeforeChange(bool FromOutside) override;
    void Change(bool ClearRedo) override;
    void Undo() override;
    void Redo() override;
    void SetVPosition(int Pos, bool Redraw) override;
    void SetHPosition(int Pos) override;
    TCustomRichPad* RootControl() override;
    // A click in the cell is the host's click.
    void Click() override;
    // Controls dragged over the cell are dragged over the host: it is asked
    // in its own coordinates, and hears of a drop on the cell and of the end
    // of a drag out of it after the current message.
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyChar(char16_t Key) override;
    bool WantTabs() const override { return true; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_highlight = false;
    bool m_ctrlTab = false; // Ctrl+Tab is typing a tab character
    TColor m_savedColor = clNone;
    void CaretOut(TRPCellExit Direction);
    // A mouse event of a selection drag handed to the host control, in its coordinates.
    void RelayMouseToHost(QEvent::Type Type, TShiftState Shift, int X, int Y);
    template <typename F> void Post(F&& Work);
};
