#pragma once
// Tables: the table item (style -60), its grid of rows and cells, the cell
// documents, the layout into columns and rows and the painting.
//
// The work is split over several units: RPTable.cpp (item and grid),
// RPTableGrid.cpp (grid operations), RPTableCell.cpp (cell documents),
// RPTableLayout.cpp, RPTableDraw.cpp, RPTableCommands.cpp (commands) and
// RPTableUndo.cpp (undo records, RPTableUndo.h) and RPTableCellEdit.cpp (the
// table's side of the in-place cell editor of RPTableInplace.h).
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/model/RPBackground.h"
#include "richtext/model/RPItem.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPWriterTypes.h"
#include "richtext/view/RPControlData.h"

class TRPTableItemInfo;
class TRPTableRow;
class TRPTableRows;
class TCanvas;
class TGraphic;
class TRPEditRPData;
class TRPUndoList;
class TCustomRichPadEdit;
struct TRPTableCellStep;
class TCustomRPUndoWithCells;
class TRPUndoDeleteRows;
class TRPUndoMerge;
class TRPUndoModifyItemProps;
class TRPTableInplaceEdit;

// ---------------------------------------------------------------------------
// Enumerations and sets.

using TRPTableOptions = uint16_t;
constexpr TRPTableOptions rptoEditing = 1u << 0;
constexpr TRPTableOptions rptoRowSizing = 1u << 1;
constexpr TRPTableOptions rptoColSizing = 1u << 2;
constexpr TRPTableOptions rptoRowSelect = 1u << 3;
constexpr TRPTableOptions rptoColSelect = 1u << 4;
constexpr TRPTableOptions rptoRTFSaveCellPixelBestWidth = 1u << 5;
constexpr TRPTableOptions rptoRTFAllowAutofit = 1u << 6;
constexpr TRPTableOptions rptoHideGridLines = 1u << 7;
constexpr TRPTableOptions rptoOverlappingCorners = 1u << 8;
constexpr TRPTableOptions rptoCellBelowBorders = 1u << 9;
constexpr TRPTableOptions rptoDefaultTableOptions =
    rptoEditing | rptoRowSizing | rptoColSizing | rptoRowSelect | rptoColSelect;

using TRPTablePrintOptions = uint8_t;
constexpr TRPTablePrintOptions rptoHalftoneBorders = 1u << 0;
constexpr TRPTablePrintOptions rptoRowsSplit = 1u << 1;
constexpr TRPTablePrintOptions rptoWhiteBackground = 1u << 2;

enum TRPTableBorderStyle : uint8_t { rptbRaised, rptbLowered, rptbColor, rptbRaisedColor, rptbLoweredColor };
enum TRPCellVAlign : uint8_t { rpcTop, rpcMiddle, rpcBottom, rpcVDefault };

// > 0 pixels, < 0 a percentage (its absolute value), 0 not set.
using TRPHTMLLength = int32_t;

// The ranges of a table's grid and sizes (pixels; a best width below zero is
// a percentage). Table blocks are read in them, and the RTF import and the
// editor make no table outside them, so that whatever a document holds is
// saved as blocks that read back, and the layout's sums over rows and
// columns stay ints.
struct TRPTableLimits {
    // Tables in cells of tables, as deep as the RTF import nests them.
    static constexpr int MaxDepth = 32;
    static constexpr int MaxRows = 100000;
    static constexpr int MaxCols = 256;
    // Rows x columns of the grid.
    static constexpr int MaxPositions = 262144;
    static constexpr int MaxLength = 30000;
    static constexpr int MinPercent = -100;
    static constexpr int MaxBorderWidth = 100;
    static constexpr int MaxPadding = 1000;
    static constexpr int MinSpacing = -100;
    static constexpr int MaxSpacing = 1000;
    // Cell boundaries in RTF, in twips from the margin (kilometres, far beyond
    // any page): the import keeps them within it, so that widths and sums of
    // them cannot overflow, and the writer writes them within it, so that a
    // table of any layout comes back with all its columns.
    static constexpr int MaxRTFBoundary = 1 << 29;

    // Whether a grid of Rows x Cols positions lies in the limits.
    static constexpr bool GridFits(int64_t Rows, int64_t Cols) {
        return Rows >= 0 && Cols >= 0 && Rows <= MaxRows && Cols <= MaxCols && Rows * Cols <= MaxPositions;
    }

    // Each size of a table or cell in its range, whatever a file, a sum or a
    // caller gives: the one definition that the RTF import, the table's
    // stream and the editor's commands keep alike.
    static constexpr int BestWidth(int64_t V) { return Within(V, MinPercent, MaxLength); }
    static constexpr int BestHeight(int64_t V) { return Within(V, 0, MaxLength); }
    static constexpr int BorderWidth(int64_t V) { return Within(V, 0, MaxBorderWidth); }
    static constexpr int Padding(int64_t V) { return Within(V, 0, MaxPadding); }
    static constexpr int Spacing(int64_t V) { return Within(V, MinSpacing, MaxSpacing); }
    static constexpr int HeadingRows(int64_t V) { return Within(V, 0, MaxRows); }

private:
    static constexpr int Within(int64_t V, int Lo, int Hi) {
        return static_cast<int>(V < Lo ? Lo : V > Hi ? Hi : V);
    }
};

// State bits of a table.
constexpr uint16_t rptbsInserted = 1;
constexpr uint16_t rptbsEditorDoc = 2;
constexpr uint16_t rptbsChanged = 4;
constexpr uint16_t rptbsRowsChanged = 8; // only row heights changed: the columns stay
constexpr uint16_t rptbsColDrag = 16;    // the border being dragged is a column's (else a row's)
constexpr uint16_t rptbsDragShift = 32;  // Shift was held when the border drag started
constexpr uint16_t rptbsJustCreated = 64;
// The open cell editor's margins changed: its next placement reformats it.
constexpr uint16_t rptbsEditorMargins = 128;
constexpr uint16_t rptbsCellsSelected = 256;

// Document state flags of a cell.
constexpr uint32_t rpcsSelected = 0x40;
constexpr uint32_t rpcsFormattingByTable = 0x100;

// Paint state flags of a table.
constexpr int rptpsWholeSelected = 1;
constexpr int rptpsPrinting = 8;

// ---------------------------------------------------------------------------
// A cell: a formatted sub-document with its attributes, spans and box.

class TRPTableCellData : public TRPItemFormattedData {
public:
    explicit TRPTableCellData(TRPTableRow* ARow);
    ~TRPTableCellData() override;

    // ---- attributes
    TColor Color = clNone;
    TColor BorderColor = clNone;
    TColor BorderLightColor = clNone;
    TRPHTMLLength BestWidth = 0;
    int BestHeight = 0;
    TRPBooleanRect VisibleBorders;
    TRPCellVAlign VAlign = rpcVDefault;
    std::string BackgroundImageFileName;

    int RowSpan = 1;
    int ColSpan = 1;
    // The box set by the layout, relative to the table, padding included.
    int Left = 0, Top = 0, Width = 0, Height = 0;

    TRPTableRow* Row;
    void* UndoRecord = nullptr; // the record that keeps the cell while it is detached

    TRPTableItemInfo* Table() const;

    // An open editor on the cell takes the new colour at once.
    void SetColor(TColor Value);
    void SetBestWidth(TRPHTMLLength Value) { BestWidth = Value; }
    void SetBestHeight(int Value) { BestHeight = Value; }
    void SetVisibleBorders(const TRPBooleanRect& Value) { VisibleBorders.Assign(Value); }
    TGraphic* GetBackgroundImage() const;
    void SetBackgroundImage(TGraphic* Graphic, bool Copy);
    TRPItemBackgroundStyle GetBackgroundStyle() const;
    void SetBackgroundStyle(TRPItemBackgroundStyle Value);
    bool IsTransparent() const { return Color == clNone; }
    void AssignAttributesFrom(const TRPTableCellData& Source, bool IncludeSize, int WidthDivisor,
                              int HeightDivisor);
    void AssignSizeFrom(const TRPTableCellData& Source);
    bool HasData(bool EmptyParaIsEmpty) const;
    bool CanClear();
    int GetMinWidth(const TRPResolution* Resolution, TCanvas* Canvas);
    int GetContentHeight() const;
    int GetContentDocHeight() const;
    TRPCellVAlign GetEffectiveVAlign() const;
    int GetContentVShift() const;
    // Clears the document and gives it one empty text item of style 0.
    void ClearToEmpty();
    // The document that holds the cell's items: the open cell editor's while
    // the cell is edited, else the cell itself.
    TCustomRPFormattedData* GetContentData();
    const TCustomRPFormattedData* GetContentData() const;
    TRPTableInplaceEdit* GetCellEditor() const;

    // ---- the document's questions
    int GetWidth() override;
    int GetHeight() override;
    int GetAreaWidth() override { return GetWidth(); }
    int GetHOffs() override;
    int GetVOffs() override;
    void GetOrigin(int& X, int& Y) override;
    TColor GetColor() override { return clNone; }
    TRPBackground* GetBackground() override { return FBackground.get(); }
    TRPOptions GetOptions() const override;
    TRPMarkerList* GetMarkers(bool AllowCreate) override;
    void DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text,
                      TCustomRPData* RPData) override;
    void DoControlAction(int ControlAction, int ItemNo, TControl* Control) override;
    void GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) override;
    void SetDocumentAreaSize(int W, int H, bool UpdateHorizontal) override {
        (void)W, (void)H, (void)UpdateHorizontal;
    }
    // The place of the content in the outermost document, through the cell
    // editors that hold the documents between.
    void GetOriginEx(int& X, int& Y) override;

    // ---- editing (RPTableCellEdit.cpp)
    // Opens the cell editor on the cell unless it is open there; answers the
    // document that takes the edits (the editor's, else the cell).
    TCustomRPData* StartEditing() override;
    // A cell of a table in this cell's content is edited: the cell becomes
    // its table's chosen one and records the inner cell and its table.
    void SetEditedCell(TCustomRPData* SubData, TCustomRPItemInfo* Item) override;
    void ReleaseEditedCell(TCustomRPData* SubData) override;
    // The inner cell edited in the cell and its table, as recorded; the
    // writers' selection follows them down.
    TCustomRPData* GetActiveSubData() override { return FActiveSubData; }
    TCustomRPItemInfo* GetActiveSubItem() override { return FActiveSubItem; }
    // Deselecting the edited cell releases it in its table's document.
    void Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw) override;
    // The table learns which cell holds the focused item, and the document
    // that holds the table that the table is its focused item.
    void SetFocusedItemNo(int ItemNo) override;
    // The table's drawing origin follows its place in the view, so that the
    // cell's offsets are current.
    void FocusParentItem() override;

    // ---- undo
    void DetachForUndo(void* UndoInfo);
    void ReattachFromUndo();

    // The table's position of this cell (-1, -1 when it is not in the grid).
    void GetPosition(int& RowIndex, int& ColIndex) const;

private:
    std::unique_ptr<TRPBackground> FBackground;
    TCustomRPData* FActiveSubData = nullptr;
    TCustomRPItemInfo* FActiveSubItem = nullptr;
    int CellPadding() const;
    // The content's place in the holding document's root, or with Outermost
    // in the outermost document.
    void OriginIn(bool Outermost, int& X, int& Y);
    // An open editor on the cell shows a new picture or style at once.
    void RepaintEditor();
};

// The position of a cell in its table's grid.
class TRPTableStoreSubRPData : public TRPStoreSubRPData {
public:
    TRPTableStoreSubRPData(TRPTableItemInfo* ATable, int ARow, int ACol)
        : Table(ATable), Row(ARow), Col(ACol) {}
    TRPTableItemInfo* Table;
    int Row, Col;
    TCustomRPData* GetRPData() override;
    // The cell's place among the table's sub-documents (row by row).
    int GetIndex() const override;
};

// ---------------------------------------------------------------------------
// The grid.

// The span of a write of the table's cells: the mouse handlers do nothing
// meanwhile (a writer's event may let input through), and the copy of an
// edited cell's items that the writers read is taken out of the cell again at
// the end, so that nothing outside the editor finds items (or tables nested
// in them) that the next write frees.
class TRPTableSaving {
public:
    TRPTableSaving(const TRPTableItemInfo& ATable, TRPTableCellData* ACopyIn);
    TRPTableSaving(TRPTableSaving&& Other) noexcept
        : Table(Other.Table), Cell(Other.Cell), AsideDoc(Other.AsideDoc), AsideAfter(Other.AsideAfter),
          Aside(std::move(Other.Aside)) {
        Other.Table = nullptr;
        Other.Cell = nullptr;
        Other.Aside.clear();
    }
    TRPTableSaving(const TRPTableSaving&) = delete;
    TRPTableSaving& operator=(const TRPTableSaving&) = delete;
    TRPTableSaving& operator=(TRPTableSaving&&) = delete;
    ~TRPTableSaving();
    // The list entries that the editor's document Doc shows leave the
    // numbering while the copy's count in their place; they come back with
    // the copy's going.
    void SetAside(TCustomRPData& Doc);

private:
    const TRPTableItemInfo* Table;
    TRPTableCellData* Cell;
    TCustomRPData* AsideDoc = nullptr;
    TRPMarkerItemInfo* AsideAfter = nullptr;
    std::vector<TRPMarkerItemInfo*> Aside;
};

class TRPTableRow : public TRPDataList {
public:
    explicit TRPTableRow(TRPTableRows* ARows) : Rows(ARows) {}
    TRPTableRows* Rows;
    TRPCellVAlign VAlign = rpcTop;

    TRPTableCellData* GetCell(int Index) const { return static_cast<TRPTableCellData*>(Get(Index)); }
    // Puts Cell at Index (freeing what was there) and gives it this row.
    void PutCell(int Index, std::unique_ptr<TRPTableCellData> Cell);
    // A cell joins this row, and with it the document that holds the table
    // now: a cell back from an undo record may have left another one (a cell
    // editor's, since freed).
    void Adopt(TRPTableCellData& Cell);
    std::unique_ptr<TRPTableCellData> TakeCell(int Index);
    TRPTableCellData* AddNewCell();
    TRPTableCellData* InsertNewCell(int Index);
    void InsertEmpty(int Index);
    void InsertCell(int Index, std::unique_ptr<TRPTableCellData> Cell);
    int GetBestHeight() const;
    int GetHeight() const;
    bool HasCellEndingIn(int RowIndex, int TopRow, int Count) const;
    TCustomRPData* GetParentData() const;
};

class TRPTableRows : public TRPList<TRPTableRow> {
public:
    TRPTableRows(TRPTableItemInfo* ATable, TCustomRPData* ARPData) : Table(ATable), RPData(ARPData) {}
    TRPTableItemInfo* Table;
    TCustomRPData* RPData;

    TRPTableRow* GetRow(int Index) const { return Get(Index); }
    TRPTableCellData* GetCell(int Row, int Col) const { return Get(Row)->GetCell(Col); }
    int RowCount() const { return Count(); }
    int GetColCount() const { return Count() > 0 ? Get(0)->Count() : 0; }
    bool IsEmpty() const { return Count() == 0 || Get(0)->Count() == 0; }
    // Whether Row, Col lies in the grid (positions kept by records and callers may not).
    bool InGrid(int Row, int Col) const {
        return Row >= 0 && Row < Count() && Col >= 0 && Col < Get(Row)->Count();
    }
    // The cell at Row, Col; null outside the grid or where a merge covers it.
    TRPTableCellData* FindCell(int Row, int Col) const {
        return InGrid(Row, Col) ? GetCell(Row, Col) : nullptr;
    }
    // Calls Fn(Row, Col, Cell) for every cell a merge does not cover, row by row.
    template <class F> void ForEachCell(F&& Fn) const {
        for (int r = 0; r < Count(); ++r)
            for (int c = 0; c < Get(r)->Count(); ++c)
                if (TRPTableCellData* cell = GetCell(r, c)) Fn(r, c, *cell);
    }
    // RowCount rows of ColCount new cells.
    void Reset(int ARowCount, int AColCount);
    std::unique_ptr<TRPTableCellData> NewCell(TRPTableRow* Row) const;

    // The cell at (Row, Col) or the cell that covers it (nil when none does).
    TRPTableCellData* GetMainCell(int Row, int Col, int& MainRow, int& MainCol) const;
    bool CanMergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC) const;
    void MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC, bool SumBestWidth);
    int SumBestWidth(int TopRow, int LeftCol, int RowSpan, int ColSpan) const;

    // ERichPadError "Invalid row or column index" for arguments that
    // InsertRows (InsertCols with Cols) cannot take.
    void CheckInsertion(bool Cols, int Index, int ACount, int CopyIndex) const;
    void InsertRows(int Index, int ACount, int CopyIndex, bool DivideHeight);
    void InsertCols(int Index, int ACount, int CopyIndex, bool DivideWidth);
    void DeleteCols(int Index, int ACount, bool DecreaseWidth);
    // Cells crossing the deleted rows keep their other part (and their content).
    void DeleteRows(int Index, int ACount);
    void ClearCells(const TRPIntegerList& RowList, const TRPIntegerList& ColList);

    // ---- primitives (the undo records repeat and revert grid changes with them)
    void InsertRowsInternal(int Index, int ACount);
    void DeleteRowsInternal(int Index, int ACount);
    void SpreadOverEmpty(int Row, int Col, int ColSpan);
    void UnspreadOverEmpty(int Row, int Col, int ColSpan);
    void SetSpan(int Row, int Col, bool IsColSpan, int Value);
    void FreeCells(int Row, int Col, int ARowCount, int AColCount);
    void PutNewCells(int Row, int Col, int ARowCount, int AColCount);
    void InsertEmptyPositions(int Row, int Col, int ARowCount, int AColCount);
    void DeleteEmptyPositions(int Row, int Col, int ARowCount, int AColCount);
    void SplitCellVert(int Row, int Col, bool DecreaseWidth, int NewCol);
    void JoinCellVert(int Row, int Col, int BestWidth, int SecondCol);
    // Removes Count positions at Index from every row; with Into its cells go
    // there (row by row, right to left, nil for empty positions), else freed.
    void RemoveCols(int Index, int ACount, TCustomRPUndoWithCells* Into);
    void RestoreCols(int Index, std::vector<std::unique_ptr<TRPTableCellData>>& Cells);
    // Every cell of a rectangle goes to the undo record Info (its items
    // detached for undo, its row forgotten); the cells stay where they are.
    void DetachCells(int Row, int Col, int ARowCount, int AColCount, void* Info);
    // Every cell of a rectangle gets its row back and reattaches its items.
    void ReattachCells(int Row, int Col, int ARowCount, int AColCount);
    // Removes rows the same way (their cells row by row, left to right).
    void RemoveRows(int Index, int ACount, TRPUndoDeleteRows* Into);
    void RestoreRows(int Index, TRPUndoDeleteRows& From);
    // Empties the listed cells; with Into the old cells go there and new
    // empty ones with their attributes take their places.
    void ClearCellsInto(const TRPIntegerList& RowList, const TRPIntegerList& ColList,
                        TCustomRPUndoWithCells* Into);
    void RestoreClearedCells(std::vector<std::unique_ptr<TRPTableCellData>>& Cells,
                             const TRPIntegerList& RowList, const TRPIntegerList& ColList);
    // The merge itself (the checks done); with Info the covered cells go
    // there with the number of items each gave.
    void DoMerge(int TopRow, int LeftCol, int RowSpan, int ColSpan, bool SumBestWidth, TRPUndoMerge* Info);
    // Gives the covered cells and their items back (Info's cells move out).
    void Unmerge(TRPUndoMerge& Info);
    // A cell's BestWidth or BestHeight, recorded for undo when the table records.
    void SetCellSize(int Row, int Col, bool Width, int Value);

    // ---- column queries of the layout
    int GetColMinWidth(int Col, const TRPResolution* Resolution, TCanvas* Canvas) const;
    // The same with each cell's minimum width from CellMinWidth.
    int GetColMinWidth(int Col, const std::function<int(TRPTableCellData&)>& CellMinWidth) const;
    int GetColPercentWidth(int Col, int TableWidth) const;
    int GetColPixelBestWidth(int Col) const;
    bool IsColPercent(int Col) const;

    // True when every position is a cell or covered by exactly one cell, and
    // every cell's rectangle lies inside the grid over nil positions only.
    bool IsConsistent() const;
    // Clips spans that overlap or leave the grid and fills uncovered positions
    // with new cells.
    void Repair();

private:
    // Per column, the cell that covered the last position asked for there
    // (GetMainCell), with its place: a cell spanning many rows is found above
    // once, not again for every row below it. A hint counts only while that
    // cell still stands at its place and covers the position asked for.
    struct TMainCellHint {
        const TRPTableCellData* Cell = nullptr;
        int Row = -1, Col = -1;
    };
    mutable std::vector<TMainCellHint> FMainHints;
};

// ---------------------------------------------------------------------------
// A layout of a table: on the screen, or for a printer.

class TRPTableItemFormattingInfo {
public:
    TRPIntegerList ColWidths;
    TRPIntegerList RowHeights;
    TRPIntegerList ColStarts;
    TRPIntegerList RowStarts;
    int Width = 0;
    int Height = 0;
    // The last rows, that stand at the bound of the table's height with no
    // room (RPCoords.h): no view or page shows them.
    int RowsPastBound = 0;
    // Cells spaced closer than their height stand above the rows before them.
    bool RowsClimb = false;
    // The width the columns were laid out for (-1: none yet).
    int LaidOutFor = -1;
    // Per-cell print documents (index row * ColCount + column, nil where a
    // cell prints nothing), and every cell's box; print layouts only.
    std::unique_ptr<TRPList<TCustomRPFormattedData>> CellPrintDocs;
    std::vector<TRect> CellBoxes;

    void Clear();
};

// One printed part of a table: a run of body rows (Height from the part base).
class TRPTablePrintPart : public TRPMultiDrawItemPart {
public:
    int StartRow = 0;
    int RowCount = 0;
    int GetBreakRow() const { return StartRow; }
};

// The selected cells of a table: the rectangle of rows and columns that the
// writers of the selection write as a table of its own.
class TRPTableSelectionPart : public TRPMultiDrawItemPart {
public:
    int StartRow = 0;
    int RowCount = 0;
    int StartCol = 0;
    int ColCount = 0;
};

// The grid of what a table writes: all of it, the rows of a printed part
// (heading rows first), or the block of its selected cells. A cell merged
// across the block's edge is cut at the edge and stands at its first
// position inside, so that the block reads back as a table of its own.
class TRPTableBlock {
public:
    // The whole table.
    explicit TRPTableBlock(const TRPTableRows& Rows);
    // The table's rows SourceRows (in order), columns FirstCol .. FirstCol + ColCount - 1.
    TRPTableBlock(const TRPTableRows& Rows, std::vector<int> SourceRows, int FirstCol, int ColCount);

    int RowCount() const { return static_cast<int>(FRows.size()); }
    int ColCount() const { return FColCount; }
    // The table's rows that the block's rows show, and its first column.
    const std::vector<int>& SourceRows() const { return FRows; }
    int SourceRow(int Row) const { return FRows[static_cast<size_t>(Row)]; }
    int FirstCol() const { return FFirstCol; }
    // The cell that stands at (Row, Col) of the block with its spans there;
    // nil where a cell before it covers the position.
    TRPTableCellData* GetCell(int Row, int Col) const { return At(Row, Col).Cell; }
    int ColSpan(int Row, int Col) const { return At(Row, Col).ColSpan; }
    int RowSpan(int Row, int Col) const { return At(Row, Col).RowSpan; }
    // The best width and height of the cell standing at (Row, Col): 0 (not
    // set) for a cell cut at the block's edge, whose size was its whole one's.
    int CellBestWidth(int Row, int Col) const;
    int CellBestHeight(int Row, int Col) const;
    // The cell at or covering (Row, Col) of the block, and where it stands.
    TRPTableCellData* GetMainCell(int Row, int Col, int& MainRow, int& MainCol) const;
    // Whether the block is the whole table as it stands.
    bool IsWhole() const { return FWhole; }
    // The leading rows of the block that are heading rows of the table.
    int HeadingRows(int HeadingRowCount) const;
    // The largest best height of the cells standing in Row that span one row.
    int GetBestHeight(int Row) const;
    // The sides the cell standing at (Row, Col) shows: its own, and at the
    // block's top and left edge also a side it left to the neighbour outside
    // the block that drew the line they share.
    TRPBooleanRect VisibleBorders(int Row, int Col) const;
    // Marks those shared sides; SharedH and SharedV tell whether neighbouring
    // cells share their lines across columns and across rows.
    void TakeEdgeBorders(const TRPTableRows& Rows, bool SharedH, bool SharedV);

private:
    struct TPlace {
        TRPTableCellData* Cell = nullptr;
        int ColSpan = 0, RowSpan = 0;
        int MainRow = -1, MainCol = -1; // in the block
        bool ColsCut = false, RowsCut = false;
        bool TopShown = false, LeftShown = false; // lines of neighbours outside the block
    };
    std::vector<int> FRows;
    int FFirstCol = 0, FColCount = 0;
    bool FWhole = false;
    std::vector<TPlace> FPlaces; // row by row
    const TPlace& At(int Row, int Col) const {
        return FPlaces[static_cast<size_t>(Row) * static_cast<size_t>(FColCount) + static_cast<size_t>(Col)];
    }
    void Build(const TRPTableRows& Rows);
};

using TRPCellEditingEvent =
    std::function<void(TRPTableItemInfo* Sender, int Row, int Col, bool Automatic, bool& AllowEdit)>;
using TRPCellEndEditEvent = std::function<void(TRPTableItemInfo* Sender, int Row, int Col, bool Clearing)>;
using TRPTableDrawBorderEvent = std::function<void(
    TRPTableItemInfo* Sender, TCanvas* Canvas, int Left, int Top, int Right, int Bottom, int Width,
    TColor LightColor, TColor Color, TColor BackgroundColor, TRPTableBorderStyle Style, bool Printing,
    const TRPBooleanRect* VisibleBorders, int Row, int Col, bool& DoDefault)>;

// ---------------------------------------------------------------------------
// The table item.

class TRPTableItemInfo : public TRPFullLineItemInfo {
public:
    explicit TRPTableItemInfo(TCustomRPData* RPData);
    TRPTableItemInfo(int RowCount, int ColCount, TCustomRPData* RPData);
    ~TRPTableItemInfo() override;
    static std::unique_ptr<TRPTableItemInfo> CreateEx(int RowCount, int ColCount, TCustomRPData* RPData);
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }

    std::unique_ptr<TRPTableRows> Rows;
    TRPTableItemFormattingInfo FormattingInfo;
    uint16_t TableState = 0;

    // ---- published properties
    TRPTableOptions Options = rptoDefaultTableOptions;
    TRPTablePrintOptions PrintOptions = rptoHalftoneBorders | rptoRowsSplit;
    TRPHTMLLength BestWidth = 0;
    TColor Color = clWindow;
    int HeadingRowCount = 0;
    std::string TextRowSeparator = "\r\n";
    std::string TextColSeparator = "\r\n";
    int BorderWidth = 0;
    TColor BorderColor = clWindowText;
    TColor BorderLightColor = clBtnHighlight;
    TRPTableBorderStyle BorderStyle = rptbRaised;
    int BorderVSpacing = 2;
    int BorderHSpacing = 2;
    int CellBorderWidth = 0;
    TColor CellBorderColor = clWindowText;
    TColor CellBorderLightColor = clBtnHighlight;
    int CellPadding = 1;
    TRPTableBorderStyle CellBorderStyle = rptbLowered;
    int VRuleWidth = 0;
    TColor VRuleColor = clWindowText;
    int HRuleWidth = 0;
    TColor HRuleColor = clWindowText;
    int CellVSpacing = 2;
    int CellHSpacing = 2;
    bool VOutermostRule = false;
    bool HOutermostRule = false;
    std::string BackgroundImageFileName;
    TRPCellEditingEvent OnCellEditing;
    TRPCellEndEditEvent OnCellEndEdit;
    TRPTableDrawBorderEvent OnDrawBorder;

    // Selection and focus fields of cell editing (-1: none).
    int SelStartRow = -1, SelStartCol = -1, SelRowOffs = 0, SelColOffs = 0;
    int FocusedRow = -1, FocusedCol = -1, ChosenRow = -1, ChosenCol = -1;

    // Where the table's corner was last painted (canvas coordinates).
    int DrawLeft = 0, DrawTop = 0;
    // The resolution of the layout running for another device (null: the screen).
    const TRPResolution* Resolution = nullptr;
    // The printed document the table is being printed in (null otherwise).
    TCustomRPData* PrintingRPData = nullptr;

    TGraphic* GetBackgroundImage() const;
    void SetBackgroundImage(TGraphic* Graphic, bool Copy);
    TRPItemBackgroundStyle GetBackgroundStyle() const;
    void SetBackgroundStyle(TRPItemBackgroundStyle Value);

    TRPTableCellData* GetCell(int Row, int Col) const { return Rows->GetCell(Row, Col); }
    TCustomRPData* GetRPData() const { return Rows->RPData; }
    // The table's index in its document, -1 when it is not there.
    int GetItemNo();
    // Brings every size of the table and its cells into its range (TRPTableLimits).
    void KeepSizesInLimits();
    // Marks the table changed, so that its next layout runs in full.
    void Changed() {
        TableState |= rptbsChanged;
        FKeptCellsFor = nullptr;
        FFactsKnown = false;
        ForgetMinWidth();
    }
    // The minimum width measured last is no more, this table's and those of
    // the tables around it.
    void ForgetMinWidth();
    // Marks that only the heights of rows changed: the next layout keeps the
    // columns and the cells' lines, and places the rows anew.
    void RowsChanged() { TableState |= rptbsRowsChanged; }
    // The effective vertical alignment of a cell.
    TRPCellVAlign GetCellVAlign(const TRPTableCellData& Cell) const;

    // ---- grid commands (RPTableCommands.cpp). In an editor's document each
    // is one undo step; elsewhere they change the grid only. Bad indices
    // raise ERichPadError "Invalid row or column index".
    // Select: the new rows (columns) become the cell selection. Rows or
    // columns that would take the grid past its limits are not inserted
    // (False, and a beep).
    bool InsertRows(int Index, int Count, int CopyIndex, bool Select);
    bool InsertCols(int Index, int Count, int CopyIndex, bool Select);
    void DeleteRows(int Index, int Count);
    void DeleteCols(int Index, int Count, bool DecreaseWidth);
    void MergeCells(int TopRow, int LeftCol, int ColSpan, int RowSpan, bool AllowMergeRC);

    // ---- undo (RPTableUndo.cpp)
    // In an editor's document: BeginModify opens one undo group of type 13
    // that every record of the change joins, EndModify closes it. They nest.
    // KeepEditor: a change that the open cell editor survives (a property of the table).
    void BeginModify(bool KeepEditor = false);
    void EndModify();
    // BeginModify and EndModify as a scope (EndModify also when an exception passes).
    class TModify;
    // The undo list that records the table's changes now: the editor's undo
    // list within BeginModify/EndModify, the opposite list while a record is
    // undone; nil outside an editor or when nothing records.
    TRPUndoList* GetUndoTarget();
    // The table's index in its document and the cells that lead to that
    // document from the editor's; False when the table is not in an editor.
    bool LocateForUndo(int& ItemNo, std::vector<TRPTableCellStep>& Path);
    template <class R, class... A> R* AddUndoRecord(A&&... Args); // RPTableUndo.h
    int UndoPerforming = 0;

    // Ordinal properties by name, recorded for undo in an editor's document
    // (a change to the same value records nothing). ItemNo -1: looked up.
    void SetIntPropertyWithUndo(const std::string& PropName, int Value, bool NeedsReformat, bool CheckWidth);
    // Within BeginModify: the ordinal property PropName of Target (a cell of
    // the table; nil: the table) becomes Value, with a record carrying both
    // reformat demands. Nothing when it holds Value; answers the record (nil
    // when nothing records).
    TRPUndoModifyItemProps* SetItemPropertyWithUndo(TRPTableCellData* Target, bool CheckWidth,
                                                    bool NeedsReformat, int Value,
                                                    const std::string& PropName);
    void SetCellIntPropertyWithUndo(int ItemNo, const std::string& PropName, bool NeedsReformat,
                                    bool CheckWidth, int Row, int Col, int Value);
    // The setters of the ordinal table properties: outside a document they
    // store the value, in one they go through SetIntPropertyWithUndo with the
    // property's reformat demands.
    void SetIntProperty(const std::string& PropName, int Value);
    void SetBestWidth(TRPHTMLLength Value) { SetIntProperty("BestWidth", Value); }
    // An open cell editor takes the new colour and stays open.
    void SetColor(TColor Value);
    void SetHeadingRowCount(int Value) { SetIntProperty("HeadingRowCount", Value); }
    void SetBorderWidth(int Value) { SetIntProperty("BorderWidth", Value); }
    void SetBorderColor(TColor Value) { SetIntProperty("BorderColor", Value); }
    void SetBorderLightColor(TColor Value) { SetIntProperty("BorderLightColor", Value); }
    void SetBorderStyle(TRPTableBorderStyle Value) { SetIntProperty("BorderStyle", Value); }
    void SetBorderVSpacing(int Value) { SetIntProperty("BorderVSpacing", Value); }
    void SetBorderHSpacing(int Value) { SetIntProperty("BorderHSpacing", Value); }
    void SetCellBorderWidth(int Value) { SetIntProperty("CellBorderWidth", Value); }
    void SetCellBorderColor(TColor Value) { SetIntProperty("CellBorderColor", Value); }
    void SetCellBorderLightColor(TColor Value) { SetIntProperty("CellBorderLightColor", Value); }
    // An open cell editor takes the new margins and stays open.
    void SetCellPadding(int Value);
    void SetCellBorderStyle(TRPTableBorderStyle Value) { SetIntProperty("CellBorderStyle", Value); }
    void SetVRuleWidth(int Value) { SetIntProperty("VRuleWidth", Value); }
    void SetVRuleColor(TColor Value) { SetIntProperty("VRuleColor", Value); }
    void SetHRuleWidth(int Value) { SetIntProperty("HRuleWidth", Value); }
    void SetHRuleColor(TColor Value) { SetIntProperty("HRuleColor", Value); }
    void SetCellVSpacing(int Value) { SetIntProperty("CellVSpacing", Value); }
    void SetCellHSpacing(int Value) { SetIntProperty("CellHSpacing", Value); }
    void SetVOutermostRule(bool Value) { SetIntProperty("VOutermostRule", Value); }
    void SetHOutermostRule(bool Value) { SetIntProperty("HOutermostRule", Value); }
    void SetCellBestWidth(TRPHTMLLength Value, int Row, int Col);
    void SetCellBestHeight(int Value, int Row, int Col);
    void SetCellVisibleBorders(bool Left, bool Top, bool Right, bool Bottom, int Row, int Col);
    // The background picture of cell (Row, Col), or of the table at (-1, -1);
    // Copy as in SetBackgroundImage.
    void SetBackgroundImageWithUndo(TGraphic* Graphic, bool Copy, int Row, int Col);
    void AssignCellAttributesWithUndo(int ItemNo, int Row, const TRPTableCellData& Source, bool IncludeSize,
                                      int WidthDivisor, int HeightDivisor, int Col);
    // A style applied to the text of every selected cell that OnCellEditing
    // allows, as one undo step (mode 0 text style conversion, 1 paragraph
    // style, 2 paragraph style conversion).
    void ApplyToSelectedCells(int Mode, int Value);
    void ApplyStyleConversion(int UserData) { ApplyToSelectedCells(0, UserData); }
    void ApplyParaStyle(int ParaNo) { ApplyToSelectedCells(1, ParaNo); }
    void ApplyParaStyleConversion(int UserData) { ApplyToSelectedCells(2, UserData); }
    // A selection around the table converts the text styles of all its cells.
    void ConvertAllCells(int UserData);
    // An invisible editor for the cells' text, with the host editor's style and options.
    std::unique_ptr<TCustomRichPadEdit> CreateTempEditor();

    // ---- cell selection, neighbours and border drags (RPTableSelect.cpp)
    // The main cell under a point in table coordinates (not on a cell's rim).
    bool GetCellAt(int X, int Y, int& Row, int& Col);
    // Selects from the anchor cell to the cell at the given offsets; needs a
    // document that allows selection.
    void Select(int StartRow, int StartCol, int ColOffs, int RowOffs);
    void SelectRows(int StartRow, int Count);
    void SelectCols(int StartCol, int Count);
    // The selected rectangle of positions; False without a selection.
    bool GetSelectionBounds(int& TopRow, int& LeftCol, int& RowCount, int& ColCount) const;
    bool IsCellSelected(int Row, int Col) const;
    void ClearSelection() override;
    bool HasCellSelection() const override { return (TableState & rptbsCellsSelected) != 0; }
    // The selected rectangle as a TRPTableSelectionPart; null without a selection.
    std::shared_ptr<const TRPMultiDrawItemPart> GetSelectedPart() const override;
    // What the writers write of the table for Part: a printed part, the
    // selected cells, or (for any other part) the whole table.
    TRPTableBlock GetBlock(const TRPMultiDrawItemPart* Part) const;
    // Whether every selected cell may be emptied, in an editor, with editing on.
    bool CanClearSelectedCells() const override;
    // Empties the selected cells that OnCellEditing allows, as one undo step.
    void ClearSelectedCells() override;
    // The neighbour of cell (Row, Col) in a direction: rpdLeft, rpdUp,
    // rpdRight, rpdDown, rpdNext or rpdPrev. False (and a beep unless Quiet)
    // when there is none.
    enum TDirection {
        rpdLeft = 0,
        rpdUp = 1,
        rpdRight = 2,
        rpdDown = 3,
        rpdNext = 6,
        rpdPrev = 7,
        rpdRowStart = 8,
        rpdRowEnd = 9
    };
    bool GetAdjacentCell(int Row, int Col, bool Quiet, int& NewRow, int& NewCol, int Direction);
    // Moves the corner of the selected block across from its anchor by a
    // cell (rpdLeft, rpdUp, rpdRight, rpdDown) or to the first or last column
    // of its row (rpdRowStart, rpdRowEnd). False, with nothing changed, when
    // the move would leave the table.
    bool MoveSelectionCorner(int Direction);
    // A dragged border dropped at Pos (table coordinates): Border is the index
    // GetVBorderAt or GetHBorderAt gave (1 and above). The cells' best widths
    // or heights change as one undo step; KeepSum (Shift) keeps the width of
    // the column and its right neighbour together.
    void DropVBorder(int Border, int Pos, bool KeepSum);
    void DropHBorder(int Border, int Pos);

    // ---- the mouse (RPTableMouse.cpp). X and Y are relative to the table.
    // A press opens the cell editor, starts a border drag, selects a row or
    // a column from the outer border, or starts selecting cells; a drag moves
    // a guide line (the document's XOR marker) and its release sizes the
    // cells as one undo step.
    bool MouseDown(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseMove(TCustomRPData* RPData, int ItemNo, TShiftState Shift, int X, int Y) override;
    bool MouseUp(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Ends a drag or a selection under way without applying anything, and
    // gives up the document's mouse capture (the table leaves the document).
    void AbandonMouse();
    // Selecting cells with the mouse, anchored at the main cell (Row, Col),
    // with the mouse captured by the table; False where the document allows
    // no selection. (A press in the cell editor starts it too.)
    bool StartSelecting(int Row, int Col);
    // True from a border press to its release.
    bool IsDragging() const;
    // The border being dragged (-1: none), the pointer's distance from it
    // when pressed, and where the guide line was drawn last (-1: nowhere).
    int DragBorder = -1, DragOffset = 0, DragLimit = -1;
    // True from a press that starts a cell selection to its release.
    bool Selecting = false;
    // Where the guide line of the drag stands for the pointer at (X, Y):
    // between the neighbouring borders, no column narrower than its content
    // allows. -1 without a drag.
    int GetGuidePos(int X, int Y);
    // The document of the cell under (X, Y), nil when none.
    TCustomRPData* GetCellRPDataAt(int X, int Y) override;
    // Whether an item of some cell owns Control: its cell and item index.
    bool OwnsControl(const TControl* Control) const override;
    bool OwnsControl(const TControl* Control, int& Row, int& Col, int& ItemNo) const;
    bool FocusControlItem(const TControl* Control, TCustomRPData*& Data, int& ItemNo) override;
    // Keyboard focus among the focusable items (links, controls) of the cells.
    bool MoveFocus(bool GoForward, TCustomRPData*& Data, int& ItemNo) override;
    void ClearFocus() override;
    void FocusControl() override;

    // ---- scaling for the device of the running layout
    int ScaleX(int v) const;
    int ScaleY(int v) const;

    // ---- item behaviour
    bool GetBoolValue(int Id) const override;
    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    int GetWidth() const override { return FormattingInfo.Width; }
    int GetHeight() const override { return FormattingInfo.Height; }
    void Inserting(TCustomRPData* RPData, std::string& Text, bool Safe) override;
    void Inserted(TCustomRPData* RPData, int ItemNo) override;
    void ChangeOwnerData(TCustomRPData* RPData) override;
    void AfterLoading(int Format) override;
    void AfterLoadingCells(int Format) override;
    // The markers in the cells join the numbering; Last is the marker before
    // the next one once Found.
    void NumberCellMarkers(int Format, bool& Found, TRPMarkerItemInfo*& Last);
    int GetSubRPDataCount() const override;
    TCustomRPData* GetSubRPDataAt(int Index) const override;
    int GetRowTop(int Index) const override;
    void MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                        TRPIntegerList& UsedList) const override;
    void ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                           const TRPIntegerList& ListShifts) override;
    void DetachForUndo(int ItemNo, TCustomRPData* RPData) override;
    void ReattachFromUndo(TCustomRPData* RPData) override;

    // ---- RPF (RPTableRPF.cpp)
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;
    bool ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) override;
    int GetRPFExtraPropertyCount() const override;
    void SaveRPFExtraProperties(std::string& Stream) const override;
    bool SetExtraStrProperty(int Prop, const std::string& Value) override;
    bool GetExtraStrProperty(int Prop, std::string& Value) const override;
    // The table's data as one block: properties, then the cells of the
    // block's rows (a table of its own), then the rows' vertical alignments.
    std::string SaveToBlock(const TRPTableBlock& Block) const;
    // Replaces the grid and properties from a block; False for a block that
    // is damaged, too large for the bytes it has, or nested too deep.
    bool LoadFromBlock(const std::string& Block);

    // ---- layout (RPTableLayout.cpp)
    int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) override;
    void ForgetMeasures() override {
        FFactsKnown = false;
        ForgetMinWidth();
    }
    int HeightToLoseWhenWider(int Extra, int Enough = INT_MAX) override;
    void AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout, TCanvas* Canvas,
                          TCustomRPData* RPData, const TRPResolution* sad, int& Descent, int& XOffset,
                          bool OnlyMeasure, bool Force = false) override;
    // Lays the table out; its cells' lines are made anew, and with ForceCells
    // so are the tables inside them, whether they changed or not.
    void UpdateLayout(int AvailableWidth, TRPTableItemFormattingInfo& Info, bool Force, TCanvas* Canvas,
                      bool ForceCells = true);
    bool TakeChangedBand(int& Top, int& OldBottom, int& NewBottom, bool& FixedFrame) override;
    int GetColAt(int X) const;
    int GetRowAt(int Y) const;
    int GetVBorderAt(int X, int& LeftStart, int& Pos) const;
    int GetHBorderAt(int Y, int& TopStart, int& Pos) const;
    static int FindListIndex(const TRPIntegerList& List, int Value);
    bool AllColumnsHavePixelWidths() const;

    // ---- RTF, HTML and text output (RPTableOutput.cpp)
    void FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                       TCustomRPData* RPData) const override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                 double TwipsPerPixel, int Level, TRPRTFTables& Tables) const override;
    void SaveRTFPart(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                     double TwipsPerPixel, int Level, TRPRTFTables& Tables,
                     const TRPMultiDrawItemPart& Part) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                  TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                  TRPHTMLBulletList& Bullets) const override;
    void SaveHTMLPart(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                      const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                      TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets,
                      const TRPMultiDrawItemPart& Part) const override;
    std::string GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                             const std::string& Path, const std::string& ItemText) override;
    std::string GetPlainTextPart(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                 const std::string& Path, const std::string& ItemText,
                                 const TRPMultiDrawItemPart& Part) override;
    // The border part of a cell's CSS: its own colours, or the table's for cells.
    std::string CellBorderCSS(const TRPTableCellData& Cell) const;

    // ---- printing (RPTablePrint.cpp)
    std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPData* RPData,
                                                            const TRPResolution& sad) override;
    void Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode, int PartIndex,
               TRPDrawLineInfo* DrawItem, const TRPResolution& sad, bool Preview) override;
    // Mode 1: the table's colour and picture; other modes but 0 add those of
    // the cell whose document is being printed, in its box.
    void PrintBackground(TCanvas* Canvas, const TRPBounds& Rect, TRPColorMode ColorMode, int Mode) override;

    // ---- drawing (RPTableDraw.cpp)
    void PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                        const TRPStyle* RPStyle, const TRPBounds& ClipRect, TCustomRPData* RPData) override;
    void PaintTo(TCanvas& Canvas, int X, int Y, const TRect& ClipRect, TRPTableItemFormattingInfo& Info,
                 int PaintState, TRPColorMode ColorMode, int FirstRow = 0, int RowCount = -1,
                 bool RepeatHeadings = false);
    void DrawBorder(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int Width, TColor LightColor,
                    TColor BColor, TColor BackgroundColor, TRPTableBorderStyle Style, bool Printing,
                    bool ShowGrid, const TRPBooleanRect* Visible, int Row, int Col, const TRect& ClipRect,
                    TRPColorMode ColorMode);
    // What lies behind a cell without colour: the table's background and the
    // cell's picture, with the table's corner at (X, Y) of the canvas.
    void DrawTableBackgroundUnderCell(TCanvas& Canvas, int X, int Y, const TRPTableCellData& Cell,
                                      const TRect& Clip);
    static void DrawDottedVLine(TCanvas& Canvas, int X, int Top, int Bottom, const TRect& Clip);
    static void DrawDottedHLine(TCanvas& Canvas, int Left, int Right, int Y, const TRect& Clip);
    static int GetVAlignOffset(int Top, int Bottom, TRPCellVAlign VAlign);

    // The colour behind the table: its Color, else its paragraph's background.
    TColor GetEffectiveColor() const;

    // ---- the in-place cell editor (RPTableCellEdit.cpp)
    // Opens the editor on cell (Row, Col) of a table in an editor's document:
    // ItemNo is the table's index (-1: look it up); without Unconditional
    // OnCellEditing may refuse; ByClick lets a quick second click become a
    // double click; ForceJumps makes the cell's links work. True when the
    // editor is open on that cell.
    bool EditCell(int ItemNo, int Row, int Col, bool Unconditional, bool ByClick, bool CaretAtEnd,
                  bool CaretAtStart, bool ForceJumps);
    // Opens the editor from outside; a table in a cell first has the outer
    // table open its editor on that cell.
    void EditCellAt(int Row, int Col, bool Unconditional);
    // WriteBack: the cell takes the editor's items and the host keeps the
    // caret there; without it the editor goes as its owner's part.
    void CloseInplaceEditor(bool WriteBack);
    // Closes the editor for a border drag and remembers its cell and caret
    // (ERPTableInplaceError while a selection drag from the editor runs);
    // ReopenRememberedEditor opens it again there after the drop.
    void CloseInplaceEditorAndRemember();
    void ReopenRememberedEditor();
    // The open editor (nil when none) and its cell (-1, -1 when none).
    TRPTableInplaceEdit* GetEditedCell(int& Row, int& Col) const;
    TRPTableInplaceEdit* InplaceEditor() const { return FInplaceEditor; }
    // Moves the editor's undo and redo history into the host's as one group each.
    void SaveInplaceUndo();
    // After every change in the editor: the table follows it, and the host hears of the change.
    void InplaceEditorChanged(TRPTableInplaceEdit* Sender, bool ClearRedo);
    // Lays the table out again, with its host's lines, when the edited cell's
    // height or minimum width is not what the last layout saw; answers whether it did.
    bool FollowInplaceEditor();
    // The editor is going: the cell takes its items back.
    void InplaceEditorDestroyed(TRPTableInplaceEdit* Editor, bool ByOwner);
    // Lays the table's line out anew in its editor document, as far as the
    // table's state marks it (with the host's edit when one is under way).
    void ReformatInHost();
    // Lays the editor over its cell (the table may have moved).
    void PlaceInplaceEditor();
    // Gives the editor its cell's width, where it stands, so that its
    // document is laid out at that width before the rows are measured.
    void FitInplaceEditor();
    // Gives the editor its cell's colour (a cell without one shows the table's or the host's).
    void ColorInplaceEditor();
    // The caret comes in: Side 0 from the left, 1 from the right, 2 from
    // above, 3 from below (X in table coordinates for 2 and 3).
    bool EnterFromSide(int Side, int X) override;
    void BuildJumpList(int& StartJumpNo) override;
    bool GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& Position, int PositionCode) override;
    void ChooseSubRPData(TRPStoreSubRPData* Position) override;
    void UnchooseSubRPData() override;
    // Before a change that may free cells: the host lets go of the chosen and
    // focused cell and of links that lie in the cells.
    void ReleaseCellsOfHost();
    void PlaceAt(int x, int y, bool ApplyTop) override;
    // Begins a write of the cells. The writers see what an open editor holds:
    // the edited cell gets a copy of the editor's items (the editor keeps the
    // originals) while the result lives.
    [[nodiscard]] TRPTableSaving StoreEditedCell() const;
    bool IsSaving() const { return FSavingCount > 0; }

private:
    int FModifyLevel = 0;
    int FHitRow = -1, FHitCol = -1; // the cell of the last point test
    // The cell editor, owned by the host control and freed by the table.
    TRPTableInplaceEdit* FInplaceEditor = nullptr;
    // The editor's cell and caret while it is closed for a border drag.
    struct TRememberedCaret {
        int ItemNo = -1, Offs = -1, Row = -1, Col = -1;
    } FRemembered;
    // The edited cell's minimum width as the table measures it (-1: no editor).
    int EditorMinWidth() const;
    // Every table whose open editor holds this one follows its editor's document.
    void FollowInEnclosingEditors();
    // FollowInplaceEditor for Cell at (Row, Col), whose content measures
    // MinWidth and Height (with the padding, as the editor's document
    // measures it): the editor's cell, or the cell its closing editor left.
    bool FollowCell(const TRPTableCellData& Cell, int Row, int Col, int MinWidth, int Height);
    // The editor document's minimum width and height, and the minimum width
    // of the table's paragraph, as the last layout saw them.
    int FEditorMinWidth = -1, FEditorHeight = -1, FParaMinWidth = -1;
    // The minimum widths of the cells as last measured while the cell editor
    // FKeptCellsFor was open; trusted for every cell but the edited one while
    // that editor's typing is laid out (nothing else changes meanwhile).
    std::unordered_map<const TRPTableCellData*, int> FKeptCellMinWidths;
    // The table's minimum width as last measured on a surface of the
    // resolution FMinWidthSurface (-1: not known), until the table or a cell
    // changes: a table in the cell being edited is not measured again at
    // every key.
    int FMinWidth = -1;
    int64_t FMinWidthSurface = -1;
    const TRPTableInplaceEdit* FKeptCellsFor = nullptr;
    TCanvas* FKeptCellsCanvas = nullptr;
    bool FTrustKeptCells = false;
    bool TrustsKeptCell(const TRPTableCellData* Cell) const;
    int MeasureMinWidth(const TRPResolution* sad, TCanvas* Canvas);
    int CellMinWidth(TRPTableCellData* Cell, const TRPResolution* sad, TCanvas* Canvas);
    // The rows the last layout changed, when it placed the rows only.
    struct TChangedBand {
        bool Known = false;
        int Top = 0, OldBottom = 0, NewBottom = 0;
        bool FixedFrame = false;
    } FChangedBand;
    bool FSavingInplaceUndo = false;
    mutable int FSavingCount = 0; // writes of the cells under way
    friend class TRPTableSaving;
    bool FPlacing = false; // the editor is being laid over its cell
    // Sets every cell's selected flag from the selection.
    void UpdateCellFlags();
    // Whether some cell may carry the selected flag: without a selection,
    // no cell is visited (a cell is opened in a table of thousands of rows).
    bool FCellsFlagged = false;
    void SetCellBestWidthTo(int Col, int Width);
    // The narrowest a dragged column may become.
    int DragMinWidth(int Col) const;
    // The distance from the content of the column (row) before a border to
    // the border's line, padding aside, as laid out: a border dropped where
    // it lies keeps the width (height) it has, whatever the spacing's sign.
    int BorderShare(bool Column, int Border) const;
    // Pos: where the border lies; Pointer: the press on the drag's axis.
    bool StartDrag(TCustomRPFormattedData& Doc, int Border, int Pos, int Pointer, bool Column,
                   TShiftState Shift);
    int FDragStart = -1;
    // The guide line's range in the drag under way (INT_MAX: the view's edge).
    int FGuideLo = -1, FGuideHi = 0;
    void SetGuideLimits();
    void EndDrag(TCustomRPFormattedData& Doc, int X, int Y);
    void DrawGuideLine(TCustomRPFormattedData& Doc, int X, int Y);
    bool PressOnBorder(TCustomRPFormattedData& Doc, TShiftState Shift, int X, int Y);
    int BorderCursor(TCustomRPFormattedData& Doc, int X, int Y) const;
    void ExtendSelection(TCustomRPFormattedData& Doc, int Row, int Col);
    // Hands a move or a release inside a cell's content to the cell's document.
    bool PassToCell(int X, int Y, TRPTableCellData*& Cell, int& CellX, int& CellY);
    // The cell editor's part of a click, a drag and a selection.
    void EditCellByClick(TCustomRPFormattedData& Doc, int Row, int Col, TMouseButton Button,
                         TShiftState Shift, int X, int Y);
    bool CloseEditorForDrag();
    void ReopenEditorAfterDrag();
    std::unique_ptr<TRPBackground> FBackground;
    // While a cell's print document draws: the cell, and its box relative to
    // the table's corner in screen pixels.
    TRPTableCellData* FPrintingCell = nullptr;
    TRect FPrintingCellBox;
    TRect FPrintingPartBox; // the part being printed, from the table's corner
    void Init(int RowCount, int ColCount, TCustomRPData* RPData);
    void SetDocument(TCustomRPData* RPData);

    // Layout steps (RPTableLayout.cpp).
    struct TLayoutRun;
    // What the columns' widths and the table's minimum width are made of:
    // per column the minimum width of its cells (the widest one's, and each
    // row's), its pixel width and whether a cell gives it a percentage; the
    // cells spanning columns, row by row, with their minimum and best widths.
    struct TColumnFacts {
        struct TCol {
            int Min = 0;
            // Per row the minimum width of the cell of this column alone that
            // stands there, 0 where none does: any cell's new width gives the
            // column's at once.
            std::vector<int> Cells;
            int PixelBest = 0;
            bool Percent = false;
        };
        struct TSpan {
            const TRPTableCellData* Cell = nullptr;
            int Row = 0, Col = 0, Last = 0; // the columns Col .. Last - 1
            int Min = 0, BestWidth = 0;
        };
        std::vector<TCol> Cols;
        std::vector<TSpan> Spans;
        // The columns' percent widths of a table width PercentBase, found when first asked.
        std::vector<int> PercentWidths;
        int PercentBase = INT_MIN;
    };
    void GatherColumnFacts(TColumnFacts& F, const TRPResolution* sad, TCanvas* Canvas);
    int MinWidthFrom(const TColumnFacts& F) const;
    // The width the layout aims at for a document width (0: the columns' own widths).
    int TargetWidth(int AvailableWidth, bool Natural) const;
    // The columns' widths for the target width T (0: their own widths), and
    // the table's width where it is not T.
    void ColumnWidthsFrom(TLayoutRun& L, TColumnFacts& F, int T);
    int PercentWidthOf(TColumnFacts& F, int Col, int Base) const;
    // The facts of the last layout on the screen (Known), for the document
    // width FFactsWidth, measured on a surface FFactsSurface, of a table of
    // columns of their own widths when FFactsNatural; a cell's typing and a
    // cell's closing editor update them as far as they change the cell (a
    // change that moves the columns forgets them). The other changes of the
    // cells forget them (Changed).
    TColumnFacts FFacts;
    bool FFactsKnown = false, FFactsNatural = false;
    int FFactsWidth = -1;
    int64_t FFactsSurface = -1;
    // Whether the columns come out as the last layout made them when Cell,
    // standing at (Row, Col), has the minimum width MinWidth; if so, the
    // facts take it, and TableMinChanged and TableMin tell the table's
    // minimum width now.
    bool ColumnsStayWith(const TRPTableCellData& Cell, int Row, int Col, int MinWidth, bool& TableMinChanged,
                         int& TableMin);
    void DistributeSpanWidth(TLayoutRun& L, const TColumnFacts::TSpan& S, int w, bool MinMode, int Level);
    void DistributeSpanHeight(TLayoutRun& L, int Row, int Col);
    // Row heights from the cells' contents, and the rows' and cells' vertical places.
    void PlaceRows(TLayoutRun& L);
    // Moves rows spaced below zero into the table's box, which grows to hold them.
    void KeepRowsInBox(TRPTableItemFormattingInfo& Info);
    // Notes the band of rows whose heights changed against the rows' old
    // starts and heights.
    void NoteChangedRows(const std::vector<int>& OldStarts, const std::vector<int>& OldHeights);
    int FixedH() const;
    int PadH() const;
    // Drawing steps (RPTableDraw.cpp).
    struct TPaintRun;
    void DrawCell(TPaintRun& P, int Row, int Col, int X, int Y);
    // The table's colour or picture over Full, clipped to Clip.
    void DrawOwnBackground(TCanvas& Canvas, const TRect& Full, const TRect& Clip, TRPColorMode ColorMode,
                           bool Printing);
    bool BorderOnSide(int Row, int Col, int Side) const;
    // The writers of a block of the table (RPTableOutput.cpp).
    void WriteRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, double TwipsPerPixel, int Level,
                  TRPRTFTables& Tables, const TRPTableBlock& Block) const;
    void WriteHTML(std::string& Stream, TCustomRPData* RPData, const std::string& Path,
                   const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                   TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets,
                   const TRPTableBlock& Block) const;
    std::string WritePlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                               const std::string& Path, const TRPTableBlock& Block) const;
};

// Registers the table as the item class of style -60 (done at start-up too).
void RPRegisterTableItem();

// The number of tables around the document Doc: 0 for a document of its own,
// 1 for a cell of a table in one, and so on, counted through the cell editors
// and the stand-ins that hold a cell's items for a while.
int RPTablesAround(TCustomRPData* Doc);
// The depth of the tables in Item: 1 for a table without tables in its
// cells, 0 for an item that is no table and holds none.
int RPTablesIn(const TCustomRPItemInfo& Item);

// The background picture and style of a table or a cell; the object is made
// when something is to be shown and freed when it has become blank.
void RPSetItemBackgroundImage(std::unique_ptr<TRPBackground>& Background, TGraphic* Graphic,
                              TCustomRPData* RPData, bool Copy);
void RPSetItemBackgroundStyle(std::unique_ptr<TRPBackground>& Background, TRPItemBackgroundStyle Value);
