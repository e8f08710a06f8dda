#pragma once
// The document of an editable rich-text control: the view's formatted
// document plus the caret, the current text and paragraph styles that typing
// uses, the undo and redo lists, and every editing operation. The editor
// control turns keys, the clipboard and drops into calls of these
// operations; the operations change items only through the undoable
// primitives (RPEditPrimitives.cpp), so that every change can be undone.
//
// The caret lives in draw-item terms: the caret draw item and an index into
// CharEnds, the caret positions of the screen line that holds it. Its item
// position (CurItemNo, OffsetInCurItem) is derived from them.
//
// After an edit only the changed paragraphs are laid out again: the
// primitives note which items they touched, and ReformatAfterEdit turns that into
// a partial reformat of the draw items concerned.
//
// The work is split over RPEditData.cpp (caret, formatting, services),
// RPEditPrimitives.cpp, RPEditKeys.cpp (Enter, Delete, Backspace, typing),
// RPEditInsert.cpp (selection deletion, insertion, styles) and
// RPEditMove.cpp (caret keys) and RPEditPages.cpp (PageUp and PageDown).
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "richtext/edit/RPUndo.h"
#include "richtext/view/RPControlData.h"

class TCustomRichPadEdit;
class TRPItemResizer;

// One caret position of the caret line.
struct TRPCharPos {
    int X = 0;
    int DrawItemNo = -1;
    int Offset = -1;
    int Correction = 1;
};
// The caret positions of one screen line, in the order the caret visits them.
using TRPCharPosCollection = std::vector<TRPCharPos>;

// A drag over the document tree, counted by the controls it entered: it
// lives from the first entry to the last leaving or drop, and the caret
// hides meanwhile. Where it would land, each control shows itself.
struct TRPDragDropCaretInfo {
    int RefCount = 0;
};

// Document state bits of editable documents.
constexpr uint32_t rpstCaretShown = 0x800000;
constexpr uint32_t rpstNoCaret = 0x1000000;

class TRPEditRPData : public TRichPadRPData {
public:
    explicit TRPEditRPData(TCustomRichPad* AOwnerView);
    ~TRPEditRPData() override;

    TCustomRichPadEdit* Editor() const;

    // ---- caret and current styles
    TRPCharPosCollection CharEnds;
    int CaretDrawItemNo = -1;
    int CaretIndex = -1; // into CharEnds
    int CaretHeight = 0;
    int RememberedTextStyle = 0;
    int CurTextStyleNo = 0;
    int CurParaStyleNo = 0;
    // The current text style as the current paragraph style makes it.
    int ActualCurTextStyleNo() const { return GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo); }
    // Makes the next setting of the current styles tell the editor's
    // listeners even when the value stays (setting the text style clears it).
    bool ForceStyleChangeEvents = false;
    bool JustCleared = false;
    std::unique_ptr<TRPItemResizer> Resizer;
    // The caret's place in client coordinates and its height (0: no caret shown).
    TRect CaretRect() const;
    // Where the caret stands in client coordinates (its top-left point), also
    // while no caret shows: the input method's window goes there.
    TPoint GetCaretClientPoint() const;
    // The drop caret of the document tree, kept by its root; nil while
    // nothing is dragged over it. Entering counts it up (making it), leaving
    // and dropping count it down (freeing it at 0); both show the caret anew.
    TRPDragDropCaretInfo* GetDragDropCaretInfo();
    void AddDragDropCaretRef();
    void ReleaseDragDropCaret();

    // ---- undo
    std::unique_ptr<TRPUndoList> UndoList;
    std::unique_ptr<TRPUndoList> RedoList;
    uint8_t UndoMode = 0; // 0 nothing recorded, 1 undo list, 2 redo list
    TRPUndoList* GetUndoList() const;
    void BeginUndoSequence(uint8_t Action, bool AllowFinalize);
    void BeginNamedUndoSequence(uint8_t Action, const std::string& Caption, bool AllowFinalize);
    void BeginRedoSequence(uint8_t Action, const std::string& Caption);
    void SetUndoGroupMode(bool GroupUndo);
    // Closes the action in the undo list (an empty group goes).
    void EndUndoSequence();
    // After an undo or redo step that did not fit and was put back: the
    // document laid out afresh, the caret at its start.
    void RecoverAfterFailedStep();

    // ---- lifecycle and formatting
    void ClearFormatting() override;
    void Clear() override;
    // The current styles are in use too; after unused styles went they are
    // renumbered, and the histories, which name old numbers, are emptied.
    void MarkStylesInUse(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                         TRPIntegerList& UsedList) override;
    void AdjustAfterStyleDeletion(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                  const TRPIntegerList& ListShifts) override;
    void Format(bool WidthChangeOnly, bool ReformatAnyway, bool NoScrollRestore, int Depth, TCanvas* Canvas,
                bool AppendOnly, bool Force) override;
    void SelectionChanged() override;
    // Hyperlink mode: while it is on, the jumps of the document work as in a
    // viewer and the caret rests. Without Force nothing happens in a
    // read-only editor (whose jumps are always on); off never applies there.
    virtual void BuildJumps(bool Force);
    virtual void DropJumps();
    // The writers name jumps by the numbers hyperlink mode gives them: an
    // editor saves with the mode on for the time of the writing.
    bool SaveRTFToStream(std::string& Stream, bool SelectionOnly, int Level, TColor Color, TRPBackground* Background,
                         TRPRTFTables* Tables, double TwipsPerPixel) override;
    bool SaveHTMLToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                          const std::string& ImagesPrefix, TRPHTMLSaveOptions Options, TColor Color, int& ImageSaveNo,
                          int LeftMargin, int TopMargin, int RightMargin, int BottomMargin, TRPBackground* Background,
                          TRPHTMLBulletList* Bullets) override;
    bool SaveHTMLWithCSSToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                 const std::string& ImagesPrefix, const std::string& ExtraStyles,
                                 const std::string& ExternalCSS, const std::string& CPPrefix, TRPHTMLSaveOptions Options,
                                 TColor Color, TColor& CurrentFileColor, int& ImageSaveNo, int LeftMargin, int TopMargin,
                                 int RightMargin, int BottomMargin, TRPBackground* Background,
                                 TRPHTMLBulletList* Bullets) override;
    bool CanStartDragging() override;
    void PostDragStart() override;
    // Offers the resizer when the selection is exactly one resizable picture.
    void UpdateResizer();
    // Whether (X, Y) of the client area lies on a handle of the resizer, and which.
    bool ResizerHitTest(int X, int Y, int& Index) const;
    // Escape during a drag of a handle: the item keeps its size. False when no drag was under way.
    bool CancelResize();
    // The one item that the selection covers whole (ends at item boundaries
    // belong to the item they border on); -1 when it covers none or several.
    int GetSingleSelectedItem();
    // Text that replaces a selection of exactly one whole text item of the
    // current text style takes that item's tag: an edit holds a copy of it
    // from its start until its end (EndEdit drops it too).
    void HoldReplacedTag();
    void DropHeldTag();
    // The tag of a new text item of StyleNo: the held one when there is one for that style.
    TRPTag NewItemTag(int StyleNo) const;
    void PaintOverlay(TCanvas& Canvas, int XShift, int YShift) override;
    // An empty document gets its one empty text item in the current styles.
    void MakeSureEmpty();

    // ---- caret
    void BuildCaretLine(int WantedOffset);
    void ChangeCaret(bool RepaintFirst, bool ScrollToCaret, bool KeepParaStyle);
    // Scrolls so that the shown caret's line shows whole with a margin; of
    // an item taller than the view, the side the caret stands at.
    void ShowCaretLine();
    // The pixels kept around the caret's line beyond the caret's own.
    static constexpr int CaretLineMargin = 5;
    // Whether the caret's place can be taken from the lines: no edit waits
    // for its reformatting, and the caret's line lies in them.
    bool CaretLinesValid() const;
    // The caret shown again where it is (a scroll, the focus, hyperlink
    // mode): only where its place can be taken from the lines. While they
    // wait for an edit's end, or a cell edited in a table has changed them,
    // the end of that edit (or of the cell's editing) places it.
    void RefreshCaret();
    // An item holding a partial selection (a table's cells) is the caret's
    // item, at offset 1.
    int CurItemNo() const;
    int OffsetInCurItem() const;
    // The caret's item position; Forward moves a position at an item's end
    // to the start of the next item, else one at an item's start to the end
    // of the previous item.
    void NormalizeCaretPos(bool Forward, int& ItemNo, int& Offs) const;
    // Selects Length characters from the position (a new line counts as
    // one); the caret goes to their end, or to their start when Backwards.
    void SelectRange(int ItemNo, int Offs, int Length, bool Backwards);
    // Both tell the editor that the caret moved when the partial selection changed.
    void SetPartialSelectedItem(TCustomRPItemInfo* Item) override;
    void ReleasePartialSelections(TCustomRPItemInfo* Except) override;
    // Puts the caret at an item position (no selection) and shows it.
    void SetCaretItemPos(int ItemNo, int Offs, bool Scroll = true);
    void GetCaretItemPos(int& ItemNo, int& Offs) const;
    bool CaretAtLineStart() const;
    bool CaretAtLineEnd() const;
    void GetSelectionOrCaretBounds(int& StartItemNo, int& StartOffs, int& EndItemNo, int& EndOffs);

    // ---- change tracking and reformatting
    // Notes that items First .. Last (present numbering, before the change)
    // are about to change; Last = First - 1 for an insertion before First.
    void MarkChanged(int First, int Last);
    // Lays out the paragraphs of everything noted since the last call.
    void ReformatAfterEdit();
    // The same, then the caret goes to (ItemNo, Offs) as SetCaretItemPos puts
    // it: its line is built once, in the new lines.
    void ReformatAndPlaceCaret(int ItemNo, int Offs);
    // Lays out what shows a renumbered marker, after an edit elsewhere in the
    // tree (in a cell's editor) renumbered the list; false when nothing was.
    bool LayOutRenumberedMarkers();
    // Marks changed the tables whose cells show a renumbered marker, so that
    // they measure their cells anew, before a table's editor lays it out;
    // false when no marker of the list was renumbered.
    bool ForgetTablesOfRenumberedMarkers() { return FindRenumberedMarkers(false); }
    // Something is noted and not laid out yet.
    bool ChangesPending() const { return FDirtyFirst != INT_MAX || FDirtyTail != INT_MAX; }
    // The end of every edit: the editor's Modified and Change.
    void EndEdit(bool ClearRedo);

    // ---- undoable primitives (RPEditPrimitives.cpp)
    void DeleteItemWithUndo(int ItemNo);
    void DeleteItemsWithUndo(int FirstItemNo, int LastItemNo);
    void DeleteSubstringWithUndo(int ItemNo, int Index, int Count);
    void InsertSubstringWithUndo(int ItemNo, int Index, const std::string& s);
    void ChangeTextWithUndo(int ItemNo, const std::string& s);
    void InsertItemWithUndo(int ItemNo, std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, bool Reattach);
    void InsertItemsWithUndo(int ItemNo, std::vector<std::pair<std::string, std::unique_ptr<TCustomRPItemInfo>>> List,
                             bool Reattach);
    void SetParaRangeWithUndo(int FirstItemNo, int LastItemNo, int ParaNo);
    void SetParasFromListWithUndo(int ItemNo, const std::vector<int>& List);
    void SetStyleNoWithUndo(int ItemNo, int StyleNo);
    void SetSameLineWithUndo(int ItemNo, bool SameLine, int ParaNo);
    // What the editing operations use to join a line: nothing joins the line
    // of a table or break, which stands alone.
    void JoinLineWithUndo(int ItemNo);
    // Items of First .. Last that continue the line of a table or break
    // start paragraphs of their own.
    void SeparateFromFullLines(int First, int Last);
    void SetLineBreakWithUndo(int ItemNo, bool BR);
    void SetPageBreakWithUndo(int ItemNo, bool PageBreak);
    void SetTagWithUndo(int ItemNo, const TRPTag& Tag);
    bool SetExtraIntPropertyWithUndo(int ItemNo, int Prop, int Value);
    // The control of a control item takes Width x Height; false for another item.
    bool ResizeWithUndo(int ItemNo, int Width, int Height);
    // Sets the size of a control item's control (nothing when it has it),
    // laying the item out again when asked.
    void ResizeControlItem(int ItemNo, int Width, int Height, bool Reformat);
    void MergeTextItemsWithUndo(int ItemNo);
    // Checkpoints of items; a second one on an item, or deleting a missing
    // one, raises "Checkpoint error".
    void AddCheckpointWithUndo(int ItemNo, std::unique_ptr<TRPCPInfo> Checkpoint);
    void DeleteCheckpointWithUndo(int ItemNo);
    // A copy of FromItemNo's checkpoint replaces ToItemNo's; FromItemNo loses its own.
    void MoveCheckpointWithUndo(int FromItemNo, int ToItemNo);
    bool HasKeptCheckpoint(int ItemNo) const;
    // Before ItemNo is deleted: its kept checkpoint moves to the next item of
    // the same paragraph (unless BackwardOnly), else to the item before it in
    // the same paragraph. False when it has one that cannot move.
    bool KeepCheckpointOnDelete(int ItemNo, bool BackwardOnly);
    void RecordInsertedItems(int ItemNo, int Count);
    // Undo of one typed character and redo of one (the typing records).
    void UndoTypedChar(TRPUndoTypingInfo& Info);
    void RedoTypedChar(TRPRedoTypingInfo& Info);
    // The last item of the paragraph part that begins at ItemNo.
    int LastItemOfParaPart(int ItemNo) const;

    // New text items of the editing operations.
    std::unique_ptr<TCustomRPItemInfo> CreateTextItem(int StyleNo, int ParaNo, bool ParaStart, bool BR,
                                                      const TRPTag& Tag) const;
    std::unique_ptr<TCustomRPItemInfo> CreateTextItemCopy(int ItemNo) const;
    // A new marker of the same list and level as the one that starts
    // ItemNo's paragraph; nullptr when the paragraph has none.
    std::unique_ptr<TCustomRPItemInfo> CopyOfParaMarker(int ItemNo);
    // Inserts such a copy at InsertAt (a new entry of the list begins there);
    // false when ItemNo's paragraph is no list entry.
    bool InsertListMarkerCopy(int ItemNo, int InsertAt);
    // Makes every list marker in First .. Last start its paragraph with an
    // item behind it; CaretItem follows inserted items.
    void RepairListMarkers(int First, int Last, int& CaretItem);
    bool IsTextItem(int ItemNo) const;
    // Items ItemNo and ItemNo + 1; Join when a paragraph break between them goes.
    bool CanMerge(int ItemNo, bool Join = false) const;
    // Joins the runs First..Last, all just inserted, as the merges of an
    // insertion join them, in one pass and without undo records; answers
    // how many runs went.
    int JoinInsertedRuns(int First, int Last);
    // A text item takes StyleNo; its Unicode option follows the style's.
    void ApplyStyleNo(TCustomRPItemInfo& Item, int StyleNo) const;
    bool IsProtected(int ItemNo, TRPProtectOptions Option) const;
    bool IsParaReadOnly(int ItemNo) const;
    // Whether an item of ItemNo's paragraph holds a checkpoint kept on deletion.
    bool ParaHasKeptCheckpoint(int ItemNo) const;
    bool IsProtectedStyle(int StyleNo, TRPProtectOptions Option) const;
    bool IsUnicodeStyle(int StyleNo) const;
    // Through the editor, which tells its listeners.
    void SetCurTextStyle(int StyleNo);
    void SetCurParaStyle(int ParaNo);
    void GoOnTyping(int StyleNo);
    // A link under the caret is shown as the hovered one.
    void HighlightJumpAtCaret(int ItemNo);

    // ---- Enter, Delete, Backspace and typing (RPEditKeys.cpp)
    bool OnEnterPress(bool Shift);
    void OnDelPressed(bool ByWord, bool Recursing);
    void OnBackSpacePressed(bool ByWord, bool FromDelete, bool Recursing);
    void KeyPressChar(char16_t Key);
    void TypeText(const std::string& Text);
    void TypeAsNewItem(const std::string& Text);
    // Makes the style's default Unicode style current when the actual
    // current text style is 8-bit and its code page cannot hold s.
    bool SwitchToUnicodeStyleFor(const QString& s);
    // Text in the encoding of the actual current text style.
    std::string TextForCurrentStyle(const QString& s) const;

    // ---- selection, insertion and styles (RPEditInsert.cpp)
    bool CanDeleteSelection();
    bool DeleteSelectionWithUndo();
    bool InsertItemAtCaret(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, bool CaretBefore,
                           bool TakeTag);
    void InsertTextA(const std::string& Text, bool CaretAtStart);
    void InsertTextWide(const std::string& Text, bool CaretAtStart);
    // A text file's bytes at the caret, line by line: every line after the
    // first starts a paragraph, a form feed cuts its line and the rest starts
    // on a new page, NUL becomes "?". The bytes are read as UTF-8 when they
    // are, else in the current style's code page (with OEM in the DOS one).
    void InsertTextFile(const std::string& Bytes, bool OEM, bool CaretAtStart);
    // Whether Stream reads whole as an insertion and holds an item.
    bool RPFInsertable(const std::string& Stream);
    // Refused (a beep, nothing changed) unless Stream is insertable; Checked
    // when the caller has just asked.
    bool InsertRPF(const std::string& Stream, bool Checked = false);
    bool InsertRTF(const std::string& Stream);
    // A read item at Index. In a list entry, the first item of an RPF
    // insertion that is a list marker joins the entry's list; the list goes
    // back to the reader, which puts the stream's other markers of that list there too.
    bool InsertReadItem(int Index, std::string& Text, std::unique_ptr<TCustomRPItemInfo>& Item, int& OutInt,
                        bool& OutFlag) override;
    void ApplyParaStyleEx(int Value, bool ConvertMode);
    void ApplyStyleConversion(int UserData);
    // The size a picture or control is dragged to by its handles (the item's
    // spacing included) as one undo step; false when the edit is refused.
    bool ApplyResize(int ItemNo, int Width, int Height);
    bool InsertAllowedAtCaret();
    // The item that the last InsertItemAtCaret placed.
    int LastInsertedItemNo = -1;

    // ---- caret keys (RPEditMove.cpp)
    bool MoveCaretHome(bool Ctrl);
    bool MoveCaretEnd(bool Ctrl);
    bool MoveCaretLeft(bool Shift, bool Ctrl);
    bool MoveCaretRight(bool Shift, bool Ctrl);
    bool MoveCaretUp(bool Shift, bool Ctrl);
    bool MoveCaretDown(bool Shift, bool Ctrl);
    // A screen up or down (RPEditPages.cpp). A cell's editor that does not
    // scroll pages through its host's screens and leaves the cell for a
    // screen beyond it; the caret goes into the cell of a table where the
    // next screen starts. With Shift the caret stays in its document (a
    // selection lives in one), and a table in it is one line.
    void MoveCaretPageUp(bool Shift = false);
    void MoveCaretPageDown(bool Shift = false);
    void MoveCaretToPrevParaStart();
    void MoveCaretToNextParaEnd();
    void StartKeySelection();
    // Shift with a caret key while cells of a table are selected, before the
    // caret moves. Direction is a move of the block's corner (a
    // TRPTableItemInfo direction; -1 for the moves by pages and to the
    // document's ends): True when the block took it. Past the table's edge the
    // selection becomes all of the table, anchored at its far side, with the
    // caret at its edge in the key's direction (Forward: the end), and the
    // caret move that follows extends it beyond the table. Either way the
    // selection stays one: cells or a range of the document, never both.
    bool KeySelectCells(int Direction, bool Forward);
    // Scroll: the view shows the caret's line after (the page keys have placed the view).
    void ExtendKeySelection(bool Scroll = true);
    void CaretToSelectionEnd(bool Scroll = true);

    // What a page key may do with the view: where it found it (From), the
    // views it may leave (Lo to Hi), its direction; Far: the caret stood away
    // from the screen in the key's direction; ToEdge: it goes to the
    // document's end (start), which the view shows as far as it can.
    struct TPageMove {
        bool Down = true, Far = false, ToEdge = false;
        int From = 0, Lo = 0, Hi = 0;
    };
    struct TPageKeyState {
        int V = -1;
        const TRPEditRPData* CaretDoc = nullptr;
        int CaretDrawItemNo = -1, CaretIndex = -1, DrawItems = -1, Item = -1, Offs = -1;
    };

private:
    // Change tracking: the first changed item and how many items at the end stayed.
    int FDirtyFirst = INT_MAX;
    int FDirtyTail = INT_MAX;
    int FOldCount = 0;
    // The first changed item continued the line before it when it was noted.
    bool FDirtyJoinsBefore = false;
    std::unique_ptr<TRPDragDropCaretInfo> FDragDropCaret;
    bool FReadingRPF = false;
    bool FTagHeld = false;
    int FHeldTagStyle = -1;
    TRPTag FHeldTag;
    void UnifyJoinedPara(int ItemNo);
    // SetCaretItemPos without showing the caret; false without draw items.
    bool PlaceCaret(int ItemNo, int Offs);
    // The layout of ReformatAfterEdit: items First .. Count - 1 - Tail changed
    // (present numbering), OldCount stood before; JoinsBefore: item First
    // continued the line of the item before it then.
    void ReformatChanged(int First, int Tail, int OldCount, bool JoinsBefore);
    // The caret and the selection name draw items, which a layout makes anew:
    // they are read before it in item terms (the numbers from before the
    // edit) and stored again after it, those in the unchanged tail moved with
    // it. Those in the changed items are only kept valid: the edit places them.
    class TDrawPosCarrier {
    public:
        struct TPos {
            int Item = -1, Offs = 0;
        };
        // Target: where the edit puts the caret (present numbering); the
        // selection goes then.
        TDrawPosCarrier(TRPEditRPData& Data, int First, int Tail, int OldCount, const TPos* Target = nullptr);
        void Restore();

    private:
        TPos Carry(TPos P) const;
        TRPEditRPData& D;
        int First, Tail, OldCount;
        const TPos* Target;
        TPos Caret, SelStart, SelEnd;
    };
    // ReformatAfterEdit with the caret put at Target, when given; false when
    // nothing was noted.
    bool LayOutNotedChanges(const TDrawPosCarrier::TPos* Target);
    // The same for what is noted, renumbered markers included.
    bool LayOutMarked(const TDrawPosCarrier::TPos* Target);
    // Notes the items that show a list marker renumbered since it was
    // measured, in their own lines or in the cells of a table.
    void MarkRenumberedMarkers() { FindRenumberedMarkers(true); }
    // Marks changed the tables that show a renumbered marker in a cell, and
    // when Note, notes them and the items of renumbered markers for layout;
    // false when no marker of the list was renumbered.
    bool FindRenumberedMarkers(bool Note);
    // The caret's item position, unless there is none or its paragraph is read-only (a beep).
    bool CaretForDeletion(int& ItemNo, int& Offs);
    int SpacesInTab() const;
    bool RemoveWholeItem(int ItemNo, int& CaretItem, int& CaretOffs);
    // Moves a kept checkpoint of the selected items to where the selection starts.
    void KeepSelectedCheckpoint(int StartItemNo, int StartOffs, int EndItemNo, int EndOffs);
    void InsertTextPieces(const std::vector<std::pair<std::string, int>>& Pieces, bool CaretAtStart);
    void FinishTextInsertion(int FirstItemNo, int LastItemNo, bool CaretAtStart);
    bool InsertStream(const std::string& Stream, bool IsRTF);
    // A whole text item takes NewStyle (its text converted between 8-bit and
    // UTF-16 when the styles differ in that, its tag cleared when the options say so).
    void ConvertItemStyle(int ItemNo, int NewStyle);
    void ConvertItemRange(int ItemNo, int From, int To, int NewStyle);
    std::string TextForStyle(const std::string& Text, TRPItemOptions Options, int OldStyle,
                             int NewStyle) const;
    int CaretX() const;
    // A caret on a list marker moves on to the next draw item's start
    // (Forward, and always at draw item 0) or back to the previous one's end.
    void SkipListMarker(bool Forward);
    // The item at caret position CharIndex (or under X in a draw item) takes
    // the caret in from a side (tables enter a cell); False when it declines.
    bool EnterItemFromSide(int CharIndex, int Side, int X);
    bool EnterDrawItemFromSide(int DItemNo, int Side, int X);
    void SetCaretDrawPos(int DItemNo, int DOffs);
    // The caret to the document's first place, or (End) its last, without
    // showing it.
    void CaretToDocumentEdge(bool End);
    bool CaretAtDocumentEdge(bool End);
    void MoveCaretByPage(bool Down, bool Shift);
    // Where the last page key left the view (kept by the view's document)
    // and the caret: a key that finds both so goes on from there, wherever
    // the caret waits.
    TPageKeyState PageKeyLeft;
    bool PageKeyGoesOn(const TRPEditRPData& Caret);
    void RememberPageKey(TRPEditRPData& Caret);
    // Work of a page move that goes beyond this document into View's: after
    // the key's handler when this is a cell's editor that it may close.
    void LeaveByPage(TRPEditRPData* View, std::function<void()> Work);
    // The caret to the line under (X, Y) of this document, through the cells
    // of tables there (their editors opened, others closed); then the view
    // settles for it (SettlePage).
    void PlaceCaretInView(int X, int Y, const TPageMove& Move);
    // The caret has come to its place on a page key: down, the view starts a
    // screen with the caret's line, else it shows the line as any caret key
    // does, within the views the key may leave.
    void SettlePage(TRPEditRPData& View, const TPageMove& Move);
};
