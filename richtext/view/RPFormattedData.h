#pragma once
// The document that knows its layout: it breaks its items into draw items
// (positioned pieces grouped into lines) at a width, paints them, keeps the
// selection in draw-item positions, converts between item and draw-item
// positions, finds what lies under a point, and takes the mouse of a view.
//
// Its setting (margins, widths, scroll offsets, canvas, events) is asked
// through virtual operations that the view's document answers from its
// control; this class answers neutral values, so a bare formatted document
// lays out and paints on any canvas.
//
// The work is split over several units: RPFormat.cpp (lines), RPReformat.cpp
// (partial reformatting), RPMinWidth.cpp, RPPositions.cpp (lifecycle,
// positions, hit testing), RPPaint.cpp, RPMouse.cpp (jumps, mouse),
// RPSelection.cpp and RPCopy.cpp (clipboard).
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPDrawLines.h"

class TRPBackground;
class TRPListLevel;
class TRPStyle;
class TCustomRPFormattedData;
class TControl;

// ---------------------------------------------------------------------------
// Bits of a control's document flag word.
constexpr uint32_t rpflRecordJumps = 0x01;       // build jump areas while formatting
constexpr uint32_t rpflWrapDropsSpace = 0x02;    // wrap at spaces by dropping the space
constexpr uint32_t rpflNoControlMoving = 0x04;   // leave embedded controls alone after formatting
constexpr uint32_t rpflExternalLeading = 0x08;   // add the font's external leading to a line's ascent
constexpr uint32_t rpflNoClampWhileSelecting = 0x10;
constexpr uint32_t rpflPrintingDrawItems = 0x20; // items create their own printing draw items
constexpr uint32_t rpflPrintLayout = 0x40;
constexpr uint32_t rpflJumpsAroundSaving = 0x80;
// rpflMainDocument (0x100) is declared with the document model.

// Bits of the document state kept by formatted documents (the model uses
// 0x80, 0x20000, 0x200000 and 0x400000).
constexpr uint32_t rpstFormatting = 0x1;
constexpr uint32_t rpstFinalLineContinues = 0x2;
constexpr uint32_t rpstInheritedListLevel = 0x4;
constexpr uint32_t rpstSelecting = 0x8;     // the left button selects
constexpr uint32_t rpstLineSelection = 0x10; // the press was in the left margin
constexpr uint32_t rpstDblClickLock = 0x20;
constexpr uint32_t rpstDragPending = 0x40;
constexpr uint32_t rpstNoScroll = 0x100;
constexpr uint32_t rpstDeselecting = 0x200;
constexpr uint32_t rpstJumpHighlighted = 0x400;
constexpr uint32_t rpstWholeSelected = 0x800;
constexpr uint32_t rpstUpdatingPalette = 0x1000;
constexpr uint32_t rpstNoControlPlacement = 0x2000;
constexpr uint32_t rpstFocusFromMouse = 0x4000;
constexpr uint32_t rpstReleasingCell = 0x8000;
constexpr uint32_t rpstDragging = 0x10000;
constexpr uint32_t rpstNoMovementYet = 0x40000;
constexpr uint32_t rpstDroppedIntoItself = 0x80000;
constexpr uint32_t rpstClearingFormat = 0x100000;

// Events of a view that the formatted document fires through its owner.
enum class TRPEvent : uint8_t { Jump, MouseMove, MouseDown, MouseUp, DblClick, RightClick, Copy, Select, CheckpointVisible };

// One hypertext jump area: a draw item of a jump, in document coordinates.
struct TRPJumpInfo {
    TCustomRPFormattedData* RPData = nullptr;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Id = 0;      // 0-based within the control
    int DItemNo = 0; // the draw item in RPData
    int16_t Cursor = 0;
};

// The anchor of a selection made by words or paragraphs.
class TRPSelectingInfo {
public:
    int DrawItemNo = -1;
    int DrawItemSOffs = 0, DrawItemEOffs = 0;       // the anchor word as first recorded
    int DrawItemWordOffs1 = 0, DrawItemWordOffs2 = 0; // as extended now
    int PressOffs = 0; // where the press was, in the anchor draw item
    uint8_t SWordState = 0; // 0 inside the anchor word, 1 left it, 2 outside words
    uint8_t Mode = 0;       // TRPSelectionMode
    // The word the pointer is in now, and how far it went in it.
    int CurWordDItemNo = -1, CurWordSOffs = 0, CurWordEOffs = 0, CurWordFurthest = 0;
    bool CurWordNoSnap = false;

    void InitE() {
        DrawItemWordOffs1 = DrawItemSOffs;
        DrawItemWordOffs2 = DrawItemEOffs;
    }
    bool IsAboveSWord(int DItemNo, int Offs) const {
        return DItemNo < DrawItemNo || (DItemNo == DrawItemNo && Offs < DrawItemSOffs);
    }
    bool IsBelowSWord(int DItemNo, int Offs) const {
        return DItemNo > DrawItemNo || (DItemNo == DrawItemNo && Offs > DrawItemEOffs);
    }
    bool IsInSWord(int DItemNo, int Offs) const {
        return DItemNo == DrawItemNo && Offs >= DrawItemSOffs && Offs <= DrawItemEOffs;
    }
    bool AreWordsChanged(int DItemNo, int SOffs, int EOffs) const {
        return !(DItemNo == DrawItemNo && SOffs == DrawItemWordOffs1 && EOffs == DrawItemWordOffs2);
    }
    // Whether Offs in the current word lies back toward the anchor from the
    // furthest place the pointer reached in it (Above: the word lies before
    // the anchor).
    bool IsOutsideWordRange(int Offs, bool Above) const {
        return Above ? Offs > CurWordFurthest : Offs < CurWordFurthest;
    }
};

// A drawing method shown with XOR over the view (the table's drag lines).
using TRPXorDrawer = std::function<void(TCustomRPFormattedData* Sender, int Flag, int X, int Y)>;

class TCustomRPFormattedData : public TCustomRPData {
public:
    TCustomRPFormattedData();
    ~TCustomRPFormattedData() override;

    // ---- layout fields
    std::unique_ptr<TRPDrawLines> DrawItems;
    std::vector<TRPJumpInfo> Jumps; // kept by the root document
    int NextJumpNo = 0;
    int LastFormattedItemNo = -1;
    int ContentWidth = 0;
    int TextWidth = 0;
    int DocumentHeight = 0;
    bool SizeChangeGuard = false;
    // How far at most a line's items reach below the top of the line after
    // it (lines spaced closer than their text), of the lines laid out since
    // the document was last formatted whole.
    int MaxLineOverlap = 0;

    // ---- selection and mouse state
    int SelStartNo = -1, SelEndNo = -1;
    int SelStartOffs = 0, SelEndOffs = 0;
    int HoverJumpNo = -1;
    TRPCPInfo* LastCheckpointReported = nullptr;
    TCustomRPItemInfo* PartialSelectedItem = nullptr;
    TCustomRPItemInfo* CaptureItem = nullptr;
    int FocusedItemNo = -1;
    std::unique_ptr<TRPSelectingInfo> TempObject;
    int LastDItemNo = -1;      // draw item under the pointer
    int PressedJumpNo = -1;    // jump id under the last left press
    int CaptureDItemNo = -1;   // draw item of the capturing item
    TCustomRPFormattedData* HoverData = nullptr; // document holding the hovered jump (root only)
    TRPXorDrawer XorDrawer;
    int XorX = 0, XorY = 0;
    bool XorVisible = false;
    // Soft page breaks a pagination left in the document: item, offset, table row (-1).
    struct TSoftPageBreak {
        int ItemNo = 0, Offs = 0, Row = -1;
    };
    std::vector<TSoftPageBreak> SoftPageBreaks;
    TRPCPInfo* EndCheckpoint = nullptr;

    // ---- setting, answered by the owner's document (neutral values here)
    virtual int GetLeftMargin() { return 0; }
    virtual int GetRightMargin() { return 0; }
    virtual int GetTopMargin() { return 0; }
    virtual int GetBottomMargin() { return 0; }
    virtual int GetMinTextWidth() { return 0; }
    virtual int GetMaxTextWidth() { return 0; }
    // Visible width and height of the area the document is shown in.
    virtual int GetWidth() { return 0; }
    virtual int GetHeight() { return 0; }
    virtual int GetAreaWidth() { return 0; }
    virtual int GetHOffs() { return 0; }
    virtual int GetVOffs() { return 0; }
    virtual int GetVSmallStep() { return 1; }
    virtual TCanvas* GetCanvas() { return nullptr; }
    virtual TColor GetColor() { return clNone; }
    virtual TRPBackground* GetBackground() { return nullptr; }
    virtual int GetNormalCursor() { return 0; }
    virtual void SetFlags(uint32_t Value) { (void)Value; }
    // The document's place in the root document (table cells answer it).
    virtual void GetOrigin(int& X, int& Y) { X = Y = 0; }
    // The same in the outermost document, through the cell editors that
    // hold the documents between.
    virtual void GetOriginEx(int& X, int& Y) { GetOrigin(X, Y); }
    // One of the document's items took the keyboard focus: the item that
    // holds the document follows (a table cell brings its offsets up to date).
    virtual void FocusParentItem() {}
    // Whether the control, or a cell editor in it, has the keyboard focus.
    virtual bool IsFocused() { return false; }
    virtual int GetCheckpointEventMode() { return 0; }

    // ---- commands to the owner (nothing here)
    virtual void SetDocumentAreaSize(int Width, int Height, bool UpdateHorizontal) {
        (void)Width, (void)Height, (void)UpdateHorizontal;
    }
    // After a formatting: a vertical bar that the document would not need,
    // laid out at the width the bar takes from it, goes (the view's document).
    virtual void SettleVerticalBar() {}
    virtual void AdjustVScrollStep() {}
    virtual void ScrollToY(int Y, bool Redraw) { (void)Y, (void)Redraw; }
    virtual void HScrollTo(int X) { (void)X; }
    virtual void SetCursor(int Cursor) { (void)Cursor; }
    virtual void InvalidateRectInView(const TRect& R) { (void)R; }
    virtual void InvalidateView() {}
    virtual void RefreshView() {}
    virtual void UpdateView() {}
    // Moves the pixels of R (client coordinates) DY down in the view, where
    // what is shown there only moves; what the move uncovers is painted
    // later. False when the view cannot do it (nothing moved then).
    virtual bool ScrollRectInView(int DY, const TRect& R) { return (void)DY, (void)R, false; }
    virtual TControl* GetCellEditor() { return nullptr; }
    // Closes the cell editor of the control unless its table is Except.
    virtual void ReleaseEditedCellExcept(TCustomRPItemInfo* Except) { (void)Except; }
    // The table Item edits CellData (a cell of it) now; the control keeps
    // count of it, and a cell records what is edited inside it.
    virtual void SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) {
        (void)CellData, (void)Item;
    }
    // CellData (or the document that holds its items) is edited no more.
    virtual void ReleaseEditedCell(TCustomRPData* CellData) { (void)CellData; }
    virtual bool CanStartDragging() { return false; }
    virtual void PostDragStart() {}
    virtual void SetFocusToControl() {}
    virtual void CancelItemHint() {}
    virtual TPoint ClientToScreen(TPoint P) { return P; }

    // ---- events fired through the owner
    virtual bool IsAssigned(TRPEvent Event) { return (void)Event, false; }
    virtual void DoJump(int Id) { (void)Id; }
    virtual void DoRPMouseMove(int Id) { (void)Id; }
    virtual void DoRPMouseDown(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) {
        (void)Button, (void)Shift, (void)ItemNo, (void)X, (void)Y;
    }
    virtual void DoRPMouseUp(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) {
        (void)Button, (void)Shift, (void)ItemNo, (void)X, (void)Y;
    }
    virtual void DoRPDblClick(const std::string& Word, int StyleNo) { (void)Word, (void)StyleNo; }
    virtual void DoRPRightClick(const std::string& Word, int StyleNo, int X, int Y) {
        (void)Word, (void)StyleNo, (void)X, (void)Y;
    }
    virtual void DoCopy() {}
    virtual void DoSelect() {}
    virtual void DoCheckpointVisible(TRPCPInfo* CP) { (void)CP; }

    // ---- the model's questions
    bool IsHotJump(int JumpNo) override;
    int GetFirstJumpNo() const override { return FirstJumpNo; }
    int FirstJumpNo = 0;
    // The selection put in order; an item with a selection of its own (a
    // table's selected cells) is the whole range, with its part.
    void GetSelectionBounds(int& StartNo, int& StartOffs, int& EndNo, int& EndOffs,
                            std::shared_ptr<const TRPMultiDrawItemPart>& StartPart,
                            std::shared_ptr<const TRPMultiDrawItemPart>& EndPart) override;

    // ---- lifecycle (RPPositions.cpp)
    virtual void ClearFormatting();
    void ClearJumps();
    void Clear() override;
    virtual void Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw);
    void SelectAll();
    void DeleteItems(int FirstItemNo, int Count) override;

    // ---- formatting (RPFormat.cpp)
    virtual void Format(bool WidthChangeOnly, bool ReformatAnyway, bool NoScrollRestore, int Depth,
                        TCanvas* Canvas, bool AppendOnly, bool Force);
    void FormatAll(bool Force);
    // After every format and partial reformat (the cell editor hooks it).
    virtual void AfterFormat(int FirstItemNo, int LastItemNo, bool Partial) {
        (void)FirstItemNo, (void)LastItemNo, (void)Partial;
    }
    int FindDrawItemByY(int Y, int Mode) const;
    int FindDrawItemForItem(int ItemNo) const;
    // A height the document cannot go below when laid out Extra pixels
    // wider: a run of lines that wraps started keeps as many lines as its
    // content needs at that width (a line holds no more than the width, a
    // wrap drops at most two blanks), each at least as high as the highest
    // piece it holds, and tables that share the width lose no more than their
    // cells could; every other line keeps its height. Counted from the top
    // and given up once it passes Enough (a height past Enough is answered
    // then, as far as counted); 0 when nothing can be said. Counted: when
    // given up early, the draw items counted from the first on (0: all).
    int LeastHeightWhenWider(int Enough, int Extra, int* Counted = nullptr);
    // The draw items' jump areas of this document (and its items' inner
    // documents) appended to the root's list, numbered from StartJumpNo.
    void BuildJumpList(int& StartJumpNo, std::vector<TRPJumpInfo>& List);
    void UpdateJumpPositions();

    // ---- partial reformatting (RPReformat.cpp)
    void ReformatDrawItemsAround(int FirstDItemNo, int LastDItemNo, int ItemCountDelta);
    void ExpandDrawItemsToParas(int FirstDItemNo, int LastDItemNo, int& NewFirst, int& NewLast);
    void ReformatDrawItemRange(int FirstDItemNo, int LastDItemNo, int ItemCountDelta, bool Force);
    // The same after an edit that changes the document's widths: the lines
    // of other paragraphs are laid out again only where they depend on the
    // widths (a wrap, an alignment, a full-line item, a line that no longer
    // fits). False, with the draw items in no defined state, when too many
    // would have to be: the caller formats the whole document then.
    bool ReformatForWidths(int FirstDItemNo, int LastDItemNo, int ItemCountDelta);
    // Whether a paragraph of the items has a border or a background (or the
    // application paints paragraph backgrounds).
    bool FramedParas(int FirstItemNo, int LastItemNo) const;

    // ---- minimum widths and indents (RPMinWidth.cpp)
    virtual void FillResolution(TCanvas* Canvas, TRPResolution& Resolution);
    virtual bool GetInheritedListLevel(int& ListNo, int& Level) {
        ListNo = Level = -1;
        return false;
    }
    int CalcDocMinWidth(const TRPResolution* Resolution, TCanvas* Canvas);
    int CalcRangeMinWidthEx(int FirstItemNo, int LastItemNo, TCanvas* Canvas, const TRPResolution* Resolution,
                            int& ParaStartNo);
    int CalcRangeMinWidth(int FirstItemNo, int LastItemNo);
    int CalcParaMinWidthEx(int ItemNo, int& ParaStartNo, TCanvas* Canvas, const TRPResolution* Resolution);
    int CalcParaMinWidth(int ItemNo);
    int GetParaMinWidth(int ItemNo);
    int CalcSectionMinWidth(int FirstItemNo, int LastItemNo, TCanvas* Canvas, const TRPResolution* Resolution,
                            int& ParaStartNo);
    int CalcItemMinWidth(int ItemNo, const TRPResolution* Resolution, TCanvas* Canvas);
    int CalcItemIndent(int ItemNo, int& ParaStartNo, const TRPResolution* Resolution);
    int GetParaIndentTotal(int ItemNo, int& ParaStartNo);
    int CalcItemsMinWidth(int FirstItemNo, int LastItemNo);
    // The minimum width of every line section (indents included) as last
    // measured on the document's own canvas without resolution record, at
    // the section's first item; -2 at its other items, -1 where not known
    // (and always for sections with items other than text and list markers).
    // Every measurement refreshes it; it stands in for measuring only while
    // an editor formats after edits whose changed items it knows
    // (TRPKeptMinWidthsTrust), so that a change of the document's width does
    // not measure every item again.
    const std::vector<int>& KeptMinWidths() const { return FKeptMinWidths; }
    // After an edit: the first First and the last Tail of OldCount items did
    // not change; the paragraphs of those between are measured again when
    // asked, and the paragraph before them when JoinsBefore (the change
    // joins the line of item First - 1, or ends such a join).
    void KeepMinWidthsAround(int First, int Tail, int OldCount, bool JoinsBefore);
    void ForgetKeptMinWidths() { FKeptMinWidths.clear(); }
    // Whether the width of the section of these items may be kept.
    bool KeepsSectionWidth(int FirstItemNo, int LastItemNo) const;

    // ---- positions and hit testing (RPPositions.cpp)
    void GetDrawSelectionBounds(int& StartNo, int& EndNo, bool Normalized, int& StartOffs, int& EndOffs) const;
    void GetSelBounds(int& StartItemNo, int& StartItemOffs, int& EndItemNo, int& EndItemOffs, bool Normalized);
    void StoreSelectionBounds(int StartItemNo, int StartItemOffs, int EndItemNo, int EndItemOffs);
    void DrawItemToItemPos(int DItemNo, int DOffs, int& ItemOffs, int& ItemNo) const;
    void ItemToDrawItemPos(int ItemNo, int ItemOffs, int& DOffs, int& DItemNo) const;
    void GetLineBounds(int DItemNo, int& First, int& Last) const;
    void FindDrawItemAtPos(int X, int Y, bool Strict, int& DItemNo, int& DOffs);
    int FindDrawItemAtPoint(int X, int Y) const;
    int GetFirstOffsetOfDrawItem(int DItemNo) const;
    int GetLastOffsetOfDrawItem(int DItemNo) const;
    int GetFirstDrawItemOfItem(int ItemNo) const;
    // The x of an offset in a draw item, in document coordinates.
    int DrawPosX(int DItemNo, int DOffs);
    int DrawItemCount() const { return DrawItems->Count(); }
    TRPDrawLineInfo* DrawItem(int DItemNo) const { return DrawItems->GetPiece(DItemNo); }

    // ---- painting (RPPaint.cpp)
    void PaintDocument(TCanvas& Canvas, const TRect& Rect);
    virtual void DrawBackground(TCanvas& Canvas, const TRect& Rect);
    virtual void PaintOverlay(TCanvas& Canvas, int XShift, int YShift) { (void)Canvas, (void)XShift, (void)YShift; }
    void PlaceInsertedControls();
    void CheckCheckpointVisibility();
    void UpdateBackgroundPalette(TRPBackground* Background);
    bool IsUpdatingBackgroundPalette() const { return (State & rpstUpdatingPalette) != 0; }
    int GetFirstVisibleItem() const;
    int GetLastVisibleItem() const;
    int GetDocumentWidth() { return GetAreaWidth(); }

    // ---- jumps, mouse and selection (RPMouse.cpp, RPSelection.cpp)
    // Holder, when given, receives the document that holds the item.
    int GetJumpItemNo(int JumpNo, TCustomRPFormattedData** Holder = nullptr);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DblClick(int X, int Y);
    void ClearLastJump(bool Repaint);
    bool SelectionExists(bool DeselectIfEmpty, bool AskPartialItem);
    void GetSelectionOrCaretBounds(int& StartItemNo, int& StartItemOffs, int& EndItemNo, int& EndItemOffs);
    void GetSelStartDrawPos(int& DItemNo, int& DOffs);
    void SetSelectionBounds(int StartItemNo, int StartItemOffs, int EndItemNo, int EndItemOffs);
    virtual void ReleasePartialSelections(TCustomRPItemInfo* Except);
    virtual void SetPartialSelectedItem(TCustomRPItemInfo* Item);
    bool IsPositionInSelection(int ItemNo, int Offs);
    bool ExtendSelectionToParas(bool OnlyIfMultiPara);
    bool SelectionCrossesParas();
    bool IsDrawItemParaStart(int DItemNo) const;
    TGraphic* GetSelectedImage();
    bool GetItemCoords(int ItemNo, int& Left, int& Top);
    bool GetItemClientCoords(int ItemNo, int& Left, int& Top);
    // The word under a client point: its text (the item's bytes), item, style and bounds.
    // Holder, when given, receives the document that holds the word (a table cell's).
    bool FindWordAt(int X, int Y, std::string& Word, int& StyleNo, int& ItemNo, int& StartOffs, int& EndOffs,
                    TCustomRPFormattedData** Holder = nullptr);
    // Scrolls so that the rectangle (document coordinates) is in view.
    virtual void ShowRectangle(int X, int Y, int Width, int Height);
    // The document whose view moves to show this one's rectangles: its own,
    // or that of the document it is shown in (a cell editor's host).
    virtual TCustomRPFormattedData* GetScrollingData() { return this; }
    int FindNextFocusableItem(int FromItemNo, bool Forward, TCustomRPFormattedData*& FocusedData,
                              int& FocusedItemNoOut);
    void ClearItemFocus();
    virtual void SetFocusedItemNo(int ItemNo);
    // Runs after every change of the selection.
    virtual void SelectionChanged();
    // XOR marker and mouse capture.
    void RegisterXorDrawer(TRPXorDrawer Method);
    void UnregisterXorDrawer();
    // Whether a drawer is registered: a drag with a guide line is under way.
    bool IsXorDrawerRegistered() const { return static_cast<bool>(XorDrawer); }
    virtual void DrawXorMarker();
    void ShowXorMarkerAt(int X, int Y);
    bool HideXorMarker();
    bool CaptureMouseForItem(TCustomRPItemInfo* Item, int& Left, int& Top);
    void ReleaseMouseCapture(TCustomRPItemInfo* Item);
    // Protection tests of editing.
    bool IsInsertAllowedAt(int ItemNo, int Offs);
    bool IsItemProtected(int ItemNo, TRPProtectOptions Option);
    bool IsParaOptionSet(int ParaNo, TRPParaOptions Option);
    bool IsItemParaOptionSet(int ItemNo, TRPParaOptions Option);
    bool IsStickingProtected(int ItemNo, bool Silent);

    // ---- clipboard (RPCopy.cpp)
    bool CopyToClipboard(TColor Color, TRPBackground* Background);
    // One format each, added to the clipboard when it is open, else in its
    // place; False when the format could not be made.
    bool CopyRPF(TColor Color, TRPBackground* Background);
    bool CopyRTF(TColor Color, TRPBackground* Background);
    bool CopyText();
    bool CopyTextW();
    bool CopyImage();
    // The selection as plain text, CR LF between lines and paragraphs, from
    // the plain-text writer; False (and no text) when the writer failed.
    bool GetSelText(QString& Text);
    QString GetSelText();
    // The selection as RPF, preceded by its length (little-endian int32).
    std::string GetSelRPFBlock(TColor Color, TRPBackground* Background);
    // The RPF of such a block (from the clipboard or a drop): False when the
    // length is negative or more than the bytes that follow it.
    static bool RPFFromBlock(const std::string& Block, std::string& RPF);

    // State of the line builder and the measurements of one format (RPFormatState.h).
    struct TLineBuilder;
    struct TMeasure;

protected:
    // ContentWidth and TextWidth for the document's items and the visible width.
    void SetFormatWidths(const TLineBuilder& B, TCanvas* Canvas);
    // One laid-out range of the partial formats: its items, the tops of its
    // first line and of the line after it before and after, how far what
    // lies below moved, the document's old bottom (before the bottom margin).
    struct TRangeLayout {
        bool Done = false;
        int FirstItem = 0, LastItem = 0;
        int OldTop = 0, OldNextTop = -1, NewNextTop = 0, Dy = 0, OldBottom = 0;
        bool Below = false; // draw items follow the range
        bool Moved = false; // they were moved or renumbered
    };
    // Lays out the items of draw items First .. Last (Delta items more now)
    // again and moves everything below; DocumentHeight follows.
    TRangeLayout RelayoutRange(int FirstDItemNo, int LastDItemNo, int ItemCountDelta, bool Force);
    // The view after RelayoutRange: size, jumps, controls and the repaint.
    void FinishRelayout(const TRangeLayout& R, int ItemCountDelta, int VOffs, int OldHeight,
                        bool WidthsChanged, bool PaintAll);
    // Item ranges of the paragraphs outside SkipFirst .. SkipLast whose lines
    // would not stay as they are at the present widths, adjacent ones joined.
    std::vector<std::pair<int, int>> WidthBoundParas(int SkipFirst, int SkipLast);

    // Layout helpers shared by the full and the partial format.
    void PlaceItems(TLineBuilder& B, int FirstItemNo, int LastItemNo, bool Force);
    void PlaceTextItem(TLineBuilder& B, int ItemNo, int FromOffs, int Count);
    void PlaceJustifiedTextItem(TLineBuilder& B, int ItemNo);
    void PlaceFullLineItem(TLineBuilder& B, int ItemNo, bool Force);
    void PlaceRectItem(TLineBuilder& B, int ItemNo, bool Force);
    void StartNewLine(TLineBuilder& B, int ItemNo, bool Wrapped);
    int FinishLine(TLineBuilder& B, bool NoJustify);
    void RaiseLineAscent(TLineBuilder& B, int NewAscent);
    void AddDrawItem(TLineBuilder& B, std::unique_ptr<TRPDrawLineInfo> D, int Ascent, int Descent);
    void ApplyTextStyle(TLineBuilder& B, int StyleNo, int ParaNo);
    void GetLineIndents(TLineBuilder& B, int ItemNo, bool Explicit, int& Left, int& Right);
    int FitChars(TLineBuilder& B, int ItemNo, int From, int Remaining);
    void ReorderLineForBiDi(TLineBuilder& B, int First, int Last);
    void InitLineBuilder(TLineBuilder& B, TCanvas* Canvas);
    bool IsFullLineItem(int ItemNo) const;
    bool IsListMarkerItem(int ItemNo) const;

    // Measurements of item texts, kept for one format.
    std::unique_ptr<TMeasure> FMeasure;
    // Minimum widths of text items, kept between formats (see KeptMinWidths).
    std::vector<int> FKeptMinWidths;
    bool FTrustKeptMinWidths = false;
    friend class TRPKeptMinWidthsTrust;
    friend class TRPMeasureScope;
    // The item's characters as measured and their prefix widths, with the
    // canvas's font on first use in a format (cached), else measured now.
    const std::vector<int>& MeasureItemText(TCanvas& Canvas, int ItemNo);
    const QString& MeasuredText(TCanvas& Canvas, int ItemNo);
    bool IsMeasured(int ItemNo) const;
    int PieceWidth(TCanvas& Canvas, int ItemNo, int Offs, int Length);
    QString ItemDisplayText(int ItemNo) const;

    // A paragraph's draw items and the box they fill: the smallest top, the
    // greatest bottom with the spacing below, the greatest right edge.
    struct TParaSpan {
        int First = 0, Last = 0;
        int Top = 0, Bottom = 0, Right = 0;
    };
    // The span of the paragraph that holds the draw item, kept while the
    // draw items stay as they are: painting a screen of a long paragraph
    // then does not go through all of it.
    TParaSpan ParaSpanOf(int DItemNo);
    // The smallest top of the items of the line that holds the draw item,
    // and the line's first and last draw item.
    int LineTop(int DItemNo, int& First, int& Last) const;
    // The first draw item of the first line whose top is Y or lower
    // (DrawItemCount() for none). Lines follow each other down the page
    // unless paragraphs are spaced by less than nothing.
    int FirstLineFrom(int Y) const;
    // The draw items First .. Last of the lines whose items reach into the
    // band from Top to Bottom, with those between them; Last < First for
    // none. Stacked: lines follow each other down the page.
    void LinesReaching(int Top, int Bottom, bool Stacked, int& First, int& Last) const;
    std::vector<TParaSpan> FParaSpans; // in the order of their draw items
    bool FFollowingWidth = false;      // Format follows a width that changed within it
    uint64_t FParaSpansStamp = 0;

    // Word searches of the selection code.
    void FindWordBounds(int DItemNo, int DOffs, int& SOffs, int& EOffs);
    int ParaStartDItem(int DItemNo) const;
    int ParaEndDItem(int DItemNo) const;
    void ExtendToLines();
    bool MoveSelectionEnd(int X, int Y);
    void RepaintJump(TCustomRPFormattedData* RPData, int Id);
    int FindJumpAt(int X, int Y) const;
};

