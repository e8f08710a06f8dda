#pragma once
// Undo records of tables. Each records only what one grid or property change
// needs to be reversed. Undoing a record finds its table again (through the
// cells of the tables around it when it is nested), writes the inverse record
// into the list that records at that moment, and makes the change; so redo
// is the undo of the inverse.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPUndo.h"

class TGraphic;

// One step from a document down into a cell of one of its tables.
struct TRPTableCellStep {
    int ItemNo;
    int Row;
    int Col;
};

// The base of every table record: the table's index in the document that
// holds it, and the cells that lead to that document from the editor's own.
class TRPUndoModifyItemProps : public TRPUndoItemNoInfo {
public:
    TRPUndoModifyItemProps() : TRPUndoItemNoInfo(rpukModifyItem, -1) {}
    std::vector<TRPTableCellStep> Path;
    bool NeedsReformat = true;
    bool CheckWidth = true;

    void Perform(TRPEditRPData& RPData) override;
    // The table the record is about, nil when the document no longer has it there.
    TRPTableItemInfo* FindTable(TRPEditRPData& RPData) const;

protected:
    virtual void UndoTable(TRPTableItemInfo& Table) = 0;
};

// Adds a record about Table to the list that records now (the undo list
// while a command runs, the opposite list while a record is undone); nil
// when nothing records. Args go to the record's constructor.
template <class R, class... A> R* TRPTableItemInfo::AddUndoRecord(A&&... Args) {
    TRPUndoList* list = GetUndoTarget();
    if (!list) return nullptr;
    auto rec = std::make_unique<R>(std::forward<A>(Args)...);
    R* raw = rec.get();
    if (!LocateForUndo(raw->ItemNo, raw->Path)) return nullptr;
    list->AddInfo(std::move(rec));
    return raw;
}

// A table record's inverse: the same location and reformat demands.
template <class R, class... A>
R* AddInverseRecord(TRPTableItemInfo& Table, const TRPUndoModifyItemProps& Of, A&&... Args) {
    R* rec = Table.AddUndoRecord<R>(std::forward<A>(Args)...);
    if (rec) {
        rec->NeedsReformat = Of.NeedsReformat;
        rec->CheckWidth = Of.CheckWidth;
    }
    return rec;
}

// Brackets the records of one change: Opening for the first, not for the
// last. Undone, it writes the bracket with the flag turned, so that the
// redo list holds the brackets in the same way round.
class TRPUndoModifyItemTerminator : public TRPUndoModifyItemProps {
public:
    explicit TRPUndoModifyItemTerminator(bool AOpening) : Opening(AOpening) {}
    bool Opening;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// ---------------------------------------------------------------------------
// Properties, by the names the program gives them.

class TRPUndoModifyItemIntProperty : public TRPUndoModifyItemProps {
public:
    TRPUndoModifyItemIntProperty(std::string AName, int AValue) : PropName(std::move(AName)), Value(AValue) {}
    std::string PropName;
    int Value;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

class TRPUndoModifyCellIntProperty : public TRPUndoModifyItemIntProperty {
public:
    TRPUndoModifyCellIntProperty(int ARow, int ACol, std::string AName, int AValue)
        : TRPUndoModifyItemIntProperty(std::move(AName), AValue), Row(ARow), Col(ACol) {}
    int Row, Col;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

using TRPIntPropertyList = std::vector<std::pair<std::string, int>>;

class TRPUndoModifyItemIntProperties : public TRPUndoModifyItemProps {
public:
    explicit TRPUndoModifyItemIntProperties(TRPIntPropertyList AValues) : Values(std::move(AValues)) {}
    TRPIntPropertyList Values;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

class TRPUndoModifyCellIntProperties : public TRPUndoModifyItemIntProperties {
public:
    TRPUndoModifyCellIntProperties(int ARow, int ACol, TRPIntPropertyList AValues)
        : TRPUndoModifyItemIntProperties(std::move(AValues)), Row(ARow), Col(ACol) {}
    int Row, Col;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

class TRPUndoModifyCellVisibleBorders : public TRPUndoModifyItemProps {
public:
    TRPUndoModifyCellVisibleBorders(int ARow, int ACol, const TRPBooleanRect& B)
        : Row(ARow), Col(ACol), Left(B.Left), Top(B.Top), Right(B.Right), Bottom(B.Bottom) {}
    int Row, Col;
    bool Left, Top, Right, Bottom;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// The background picture of a cell, or of the table itself at (-1, -1).
class TRPUndoModifyBackgroundImage : public TRPUndoModifyItemProps {
public:
    TRPUndoModifyBackgroundImage(int ARow, int ACol, std::unique_ptr<TGraphic> AImage);
    ~TRPUndoModifyBackgroundImage() override;
    int Row, Col;
    std::unique_ptr<TGraphic> Image;
    std::string FileName;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// ---------------------------------------------------------------------------
// The grid. Flag: what undoing the record does (true: the rows, cells or
// positions come back; false: they go).

class TRPUndoInsertTableRows : public TRPUndoModifyItemProps {
public:
    TRPUndoInsertTableRows(int ARow, int ACount, bool AFlag) : Row(ARow), Count(ACount), Flag(AFlag) {}
    int Row, Count;
    bool Flag;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

class TRPUndoInsertTableCell : public TRPUndoModifyItemProps {
public:
    TRPUndoInsertTableCell(int ARow, int ACol, bool AFlag) : Row(ARow), Col(ACol), Flag(AFlag) {}
    int Row, Col;
    bool Flag;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Flag true: the cell spreads over the empty cells right of it again.
class TRPUndoSpreadOverEmptyCells : public TRPUndoModifyItemProps {
public:
    TRPUndoSpreadOverEmptyCells(int ARow, int ACol, int ASpan, bool AFlag)
        : Row(ARow), Col(ACol), Span(ASpan), Flag(AFlag) {}
    int Row, Col, Span;
    bool Flag;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

class TRPUndoSpan : public TRPUndoModifyItemProps {
public:
    TRPUndoSpan(bool AIsColSpan, int ARow, int ACol, int ASpan)
        : IsColSpan(AIsColSpan), Row(ARow), Col(ACol), Span(ASpan) {}
    bool IsColSpan;
    int Row, Col, Span;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Flag true: new empty cells come into the rectangle; false: they are freed.
class TRPUndoFreeEmptyCell : public TRPUndoModifyItemProps {
public:
    TRPUndoFreeEmptyCell(bool AFlag, int ARow, int ACol, int ARowCount, int AColCount)
        : Flag(AFlag), Row(ARow), Col(ACol), RowCount(ARowCount), ColCount(AColCount) {}
    bool Flag;
    int Row, Col, RowCount, ColCount;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Flag true: the empty positions are inserted again; false: deleted.
class TRPUndoInsertEmptyCell : public TRPUndoModifyItemProps {
public:
    TRPUndoInsertEmptyCell(bool AFlag, int ARow, int ACol, int ARowCount, int AColCount)
        : Flag(AFlag), Row(ARow), Col(ACol), RowCount(ARowCount), ColCount(AColCount) {}
    bool Flag;
    int Row, Col, RowCount, ColCount;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Flag true: the cell at (Row, Col) is split at SplitCol again; false: the
// two parts are joined, the first getting back BestWidth.
class TRPUndoCellSpitVert : public TRPUndoModifyItemProps {
public:
    TRPUndoCellSpitVert(bool AFlag, int ARow, int ACol, int ASplitCol, bool ADecreaseWidth, int ABestWidth)
        : Flag(AFlag), Row(ARow), Col(ACol), SplitCol(ASplitCol), DecreaseWidth(ADecreaseWidth),
          BestWidth(ABestWidth) {}
    bool Flag;
    int Row, Col, SplitCol;
    bool DecreaseWidth;
    int BestWidth;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Cells (nil for empty positions) that live in the record while they are out
// of the grid.
class TCustomRPUndoWithCells : public TRPUndoModifyItemProps {
public:
    ~TCustomRPUndoWithCells() override;
    std::vector<std::unique_ptr<TRPTableCellData>> Cells;
};

// Flag true: the columns go again; false: the kept cells come back.
class TRPUndoDeleteCols : public TCustomRPUndoWithCells {
public:
    TRPUndoDeleteCols(bool AFlag, int AFirstCol, int ACount)
        : Flag(AFlag), FirstCol(AFirstCol), Count(ACount) {}
    bool Flag;
    int FirstCol, Count;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Whole rows, the same way (the row deletion of the editor).
class TRPUndoDeleteRows : public TCustomRPUndoWithCells {
public:
    TRPUndoDeleteRows(bool AFlag, int AFirstRow, int ACount)
        : Flag(AFlag), FirstRow(AFirstRow), Count(ACount) {}
    bool Flag;
    int FirstRow, Count;
    // The vertical alignments of the kept rows.
    std::vector<TRPCellVAlign> VAligns;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// A cell that a row deletion moved down: undoing moves the cell at Row to
// ToRow in its column and gives it RowSpan.
class TRPUndoMoveCell : public TRPUndoModifyItemProps {
public:
    TRPUndoMoveCell(int ARow, int AToRow, int ACol, int ARowSpan)
        : Row(ARow), ToRow(AToRow), Col(ACol), RowSpan(ARowSpan) {}
    int Row, ToRow, Col, RowSpan;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Flag true: the listed cells are emptied again; false: the kept ones come back.
class TRPUndoCellsClear : public TCustomRPUndoWithCells {
public:
    TRPUndoCellsClear(bool AFlag, const TRPIntegerList& ARows, const TRPIntegerList& ACols);
    bool Flag;
    TRPIntegerList RowList, ColList;

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// A cell covered by a merge: its position, the number of items it gave to
// the merged cell, and the cell itself while it is out of the grid.
class TRPUndoMergeItem {
public:
    TRPUndoMergeItem(int ARow, int ACol, int AItemCount, std::unique_ptr<TRPTableCellData> ACell);
    ~TRPUndoMergeItem();
    int Row, Col, ItemCount;
    std::unique_ptr<TRPTableCellData> Cell;
};

// Flag true: the rectangle is merged again; false: it is unmerged.
class TRPUndoMerge : public TRPUndoModifyItemProps {
public:
    TRPUndoMerge(bool AFlag, int ARow, int ACol, int ARowSpan, int AColSpan)
        : Flag(AFlag), Row(ARow), Col(ACol), RowSpan(ARowSpan), ColSpan(AColSpan) {}
    ~TRPUndoMerge() override;
    bool Flag;
    int Row, Col, RowSpan, ColSpan;
    // The main cell as it was: spans, best width and its own item count.
    int OldRowSpan = 1, OldColSpan = 1, OldBestWidth = 0, OldItemCount = 0;
    bool SumBestWidth = true;
    std::vector<std::unique_ptr<TRPUndoMergeItem>> Items;
    // The empty paragraph of an empty main cell, which the merged content replaced.
    std::string MainText;
    std::unique_ptr<TCustomRPItemInfo> MainItem;
    // Notes the main cell as it is before the merge.
    void NoteMainCell(const TRPTableCellData& Main, bool ASumBestWidth);

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Edits made in cells as part of one step of the document (styles applied
// to several cells at once, a text moved into a cell): the cells' own undo
// groups, with the cell and the number of groups each took.
class TRPUndoMultiCellsModify : public TRPUndoModifyItemProps {
public:
    TRPUndoMultiCellsModify();
    ~TRPUndoMultiCellsModify() override;
    std::vector<std::unique_ptr<TRPUndoInfos>> Groups;
    TRPIntegerList RowList, ColList, CountList;
    // Moves every group of From here as the steps of cell (Row, Col).
    void TakeGroups(int Row, int Col, TRPUndoList& From);

protected:
    void UndoTable(TRPTableItemInfo& Table) override;
};

// Ordinal properties by name: False for a name that is not one.
bool RPGetTableIntProperty(const TRPTableItemInfo& Table, const std::string& Name, int& Value);
bool RPSetTableIntProperty(TRPTableItemInfo& Table, const std::string& Name, int Value);
bool RPGetCellIntProperty(const TRPTableCellData& Cell, const std::string& Name, int& Value);
bool RPSetCellIntProperty(TRPTableCellData& Cell, const std::string& Name, int Value);
// Value as a property of a cell or of a table keeps it: sizes in their ranges.
int RPKeptIntProperty(bool OfCell, const std::string& Name, int Value);
