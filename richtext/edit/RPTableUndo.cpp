// The undo records of tables, the recording scope of table commands and the
// property changes that are recorded.
#include "richtext/edit/RPTableUndo.h"

#include <algorithm>

#include "platform/Pictures.h"
#include "richtext/edit/RPEditData.h"

// ---------------------------------------------------------------------------
// Finding the table again

TRPTableItemInfo* TRPUndoModifyItemProps::FindTable(TRPEditRPData& RPData) const {
    TCustomRPData* doc = &RPData;
    for (const TRPTableCellStep& s : Path) {
        if (s.ItemNo < 0 || s.ItemNo >= doc->GetItemCount()) return nullptr;
        auto* t = dynamic_cast<TRPTableItemInfo*>(doc->GetItem(s.ItemNo));
        doc = t ? t->Rows->FindCell(s.Row, s.Col) : nullptr;
        if (!doc) return nullptr;
    }
    if (ItemNo < 0 || ItemNo >= doc->GetItemCount()) return nullptr;
    return dynamic_cast<TRPTableItemInfo*>(doc->GetItem(ItemNo));
}

void TRPUndoModifyItemProps::Perform(TRPEditRPData& RPData) {
    TRPTableItemInfo* table = FindTable(RPData);
    if (!table) return;
    const int top = Path.empty() ? ItemNo : Path.front().ItemNo;
    RPData.MarkChanged(top, top);
    table->ReleaseCellsOfHost();
    ++table->UndoPerforming;
    try {
        UndoTable(*table);
    } catch (...) {
        --table->UndoPerforming;
        throw;
    }
    --table->UndoPerforming;
    // Row and column numbers of a selection may point past the grid now.
    table->SelStartRow = table->SelStartCol = -1;
    table->SelRowOffs = table->SelColOffs = 0;
    table->TableState &= ~rptbsCellsSelected;
    table->FocusedRow = table->FocusedCol = table->ChosenRow = table->ChosenCol = -1;
    // The tables around a nested one are laid out again with it.
    for (TCustomRPData* doc = table->GetRPData(); auto* cell = dynamic_cast<TRPTableCellData*>(doc);) {
        TRPTableItemInfo* outer = cell->Table();
        if (!outer) break;
        outer->Changed();
        doc = outer->GetRPData();
    }
    table->Changed();
}

// ---------------------------------------------------------------------------
// Recording

namespace {

TRPEditRPData* EditorRoot(const TRPTableItemInfo& Table) {
    TCustomRPData* d = Table.GetRPData();
    return d ? dynamic_cast<TRPEditRPData*>(d->GetAbsoluteRootData()) : nullptr;
}

} // namespace

bool TRPTableItemInfo::LocateForUndo(int& ItemNo, std::vector<TRPTableCellStep>& Path) {
    Path.clear();
    ItemNo = GetItemNo();
    if (ItemNo < 0) return false;
    TCustomRPData* doc = GetRPData();
    while (auto* cell = dynamic_cast<TRPTableCellData*>(doc)) {
        TRPTableItemInfo* outer = cell->Table();
        int r = -1, c = -1;
        cell->GetPosition(r, c);
        const int no = outer ? outer->GetItemNo() : -1;
        if (no < 0 || r < 0) return false;
        Path.insert(Path.begin(), TRPTableCellStep{no, r, c});
        doc = outer->GetRPData();
    }
    return dynamic_cast<TRPEditRPData*>(doc) != nullptr;
}

TRPUndoList* TRPTableItemInfo::GetUndoTarget() {
    if (FModifyLevel <= 0 && UndoPerforming <= 0) return nullptr;
    TRPEditRPData* root = EditorRoot(*this);
    return root ? root->GetUndoList() : nullptr;
}

void TRPTableItemInfo::BeginModify(bool KeepEditor) {
    TRPEditRPData* root = EditorRoot(*this);
    if (!root || GetItemNo() < 0) return;
    // A change works on the cells as they stand: an open editor gives its cell back.
    if (FModifyLevel == 0 && !KeepEditor) CloseInplaceEditor(true);
    // The group is opened before the nesting counter rises, so that a first
    // command never joins the group of the action before it.
    if (FModifyLevel == 0) root->BeginUndoSequence(rpuaModifyItem, true);
    root->SetUndoGroupMode(true);
    ++FModifyLevel;
}

void TRPTableItemInfo::EndModify() {
    if (FModifyLevel <= 0) return;
    TRPEditRPData* root = EditorRoot(*this);
    --FModifyLevel;
    if (!root) return;
    root->SetUndoGroupMode(false);
    if (FModifyLevel > 0) return;
    root->EndUndoSequence();
    int itemNo = -1;
    std::vector<TRPTableCellStep> path;
    if (LocateForUndo(itemNo, path)) {
        const int top = path.empty() ? itemNo : path.front().ItemNo;
        root->MarkChanged(top, top);
    }
    root->EndEdit(true);
    // A caret standing beside the table takes its new height, so that no
    // line of the old one is left above a table that became lower.
    int caretItem = -1, caretOffs = -1;
    root->GetCaretItemPos(caretItem, caretOffs);
    if (caretItem >= 0 && caretItem == itemNo && path.empty() && !root->CaretRect().IsEmpty())
        root->ChangeCaret(false, false, true);
}

// ---------------------------------------------------------------------------
// Properties by name

namespace {

template <class T> struct TIntProp {
    const char* Name;
    int (*Get)(const T&);
    void (*Set)(T&, int);
    // The range a size keeps (TRPTableLimits), nil for others.
    int (*Keep)(int64_t) = nullptr;
};

#define RP_PROP(T, F, Type)                                                                                  \
    TIntProp<T> {                                                                                            \
#F, [](const T& o) { return static_cast<int>(o.F); },                                                \
                                                           [](T & o, int v) { o.F = static_cast<Type>(v); }  \
    }
// A size property, kept in its range.
template <class T> TIntProp<T> Sized(TIntProp<T> Prop, int (*Keep)(int64_t)) {
    Prop.Keep = Keep;
    return Prop;
}

const TIntProp<TRPTableItemInfo> TableProps[] = {
    RP_PROP(TRPTableItemInfo, Options, TRPTableOptions),
    RP_PROP(TRPTableItemInfo, PrintOptions, TRPTablePrintOptions),
    Sized(RP_PROP(TRPTableItemInfo, BestWidth, int), &TRPTableLimits::BestWidth),
    RP_PROP(TRPTableItemInfo, Color, TColor),
    Sized(RP_PROP(TRPTableItemInfo, HeadingRowCount, int), &TRPTableLimits::HeadingRows),
    Sized(RP_PROP(TRPTableItemInfo, BorderWidth, int), &TRPTableLimits::BorderWidth),
    RP_PROP(TRPTableItemInfo, BorderColor, TColor),
    RP_PROP(TRPTableItemInfo, BorderLightColor, TColor),
    RP_PROP(TRPTableItemInfo, BorderStyle, TRPTableBorderStyle),
    Sized(RP_PROP(TRPTableItemInfo, BorderVSpacing, int), &TRPTableLimits::Spacing),
    Sized(RP_PROP(TRPTableItemInfo, BorderHSpacing, int), &TRPTableLimits::Spacing),
    Sized(RP_PROP(TRPTableItemInfo, CellBorderWidth, int), &TRPTableLimits::BorderWidth),
    RP_PROP(TRPTableItemInfo, CellBorderColor, TColor),
    RP_PROP(TRPTableItemInfo, CellBorderLightColor, TColor),
    Sized(RP_PROP(TRPTableItemInfo, CellPadding, int), &TRPTableLimits::Padding),
    RP_PROP(TRPTableItemInfo, CellBorderStyle, TRPTableBorderStyle),
    Sized(RP_PROP(TRPTableItemInfo, VRuleWidth, int), &TRPTableLimits::BorderWidth),
    RP_PROP(TRPTableItemInfo, VRuleColor, TColor),
    Sized(RP_PROP(TRPTableItemInfo, HRuleWidth, int), &TRPTableLimits::BorderWidth),
    RP_PROP(TRPTableItemInfo, HRuleColor, TColor),
    Sized(RP_PROP(TRPTableItemInfo, CellVSpacing, int), &TRPTableLimits::Spacing),
    Sized(RP_PROP(TRPTableItemInfo, CellHSpacing, int), &TRPTableLimits::Spacing),
    RP_PROP(TRPTableItemInfo, VOutermostRule, bool),
    RP_PROP(TRPTableItemInfo, HOutermostRule, bool),
    {"BackgroundStyle", [](const TRPTableItemInfo& o) { return static_cast<int>(o.GetBackgroundStyle()); },
     [](TRPTableItemInfo& o, int v) { o.SetBackgroundStyle(static_cast<TRPItemBackgroundStyle>(v)); }},
};

const TIntProp<TRPTableCellData> CellProps[] = {
    RP_PROP(TRPTableCellData, Color, TColor),
    RP_PROP(TRPTableCellData, BorderColor, TColor),
    RP_PROP(TRPTableCellData, BorderLightColor, TColor),
    Sized(RP_PROP(TRPTableCellData, BestWidth, int), &TRPTableLimits::BestWidth),
    Sized(RP_PROP(TRPTableCellData, BestHeight, int), &TRPTableLimits::BestHeight),
    RP_PROP(TRPTableCellData, VAlign, TRPCellVAlign),
    {"BackgroundStyle", [](const TRPTableCellData& o) { return static_cast<int>(o.GetBackgroundStyle()); },
     [](TRPTableCellData& o, int v) { o.SetBackgroundStyle(static_cast<TRPItemBackgroundStyle>(v)); }},
};

#undef RP_PROP

template <class T, size_t N>
const TIntProp<T>* FindProp(const TIntProp<T> (&List)[N], const std::string& Name) {
    for (const TIntProp<T>& p : List)
        if (Name == p.Name) return &p;
    return nullptr;
}

} // namespace

bool RPGetTableIntProperty(const TRPTableItemInfo& Table, const std::string& Name, int& Value) {
    const auto* p = FindProp(TableProps, Name);
    if (p) Value = p->Get(Table);
    return p != nullptr;
}

bool RPSetTableIntProperty(TRPTableItemInfo& Table, const std::string& Name, int Value) {
    const auto* p = FindProp(TableProps, Name);
    if (p) p->Set(Table, p->Keep ? p->Keep(Value) : Value);
    return p != nullptr;
}

bool RPGetCellIntProperty(const TRPTableCellData& Cell, const std::string& Name, int& Value) {
    const auto* p = FindProp(CellProps, Name);
    if (p) Value = p->Get(Cell);
    return p != nullptr;
}

bool RPSetCellIntProperty(TRPTableCellData& Cell, const std::string& Name, int Value) {
    const auto* p = FindProp(CellProps, Name);
    if (p) p->Set(Cell, p->Keep ? p->Keep(Value) : Value);
    return p != nullptr;
}

void TRPTableItemInfo::KeepSizesInLimits() {
    for (const auto& p : TableProps)
        if (p.Keep) p.Set(*this, p.Keep(p.Get(*this)));
    Rows->ForEachCell([](int, int, TRPTableCellData& Cell) {
        for (const auto& p : CellProps)
            if (p.Keep) p.Set(Cell, p.Keep(p.Get(Cell)));
    });
}

int RPKeptIntProperty(bool OfCell, const std::string& Name, int Value) {
    const auto keep = [&](const auto* p) { return p && p->Keep ? p->Keep(Value) : Value; };
    return OfCell ? keep(FindProp(CellProps, Name)) : keep(FindProp(TableProps, Name));
}

// ---------------------------------------------------------------------------
// Property commands

TRPUndoModifyItemProps* TRPTableItemInfo::SetItemPropertyWithUndo(TRPTableCellData* Target, bool CheckWidth,
                                                                  bool NeedsReformat, int Value,
                                                                  const std::string& PropName) {
    int old = 0;
    Value = RPKeptIntProperty(Target != nullptr, PropName, Value);
    if (!(Target ? RPGetCellIntProperty(*Target, PropName, old)
                 : RPGetTableIntProperty(*this, PropName, old)) ||
        old == Value)
        return nullptr;
    TRPUndoModifyItemProps* rec = nullptr;
    if (Target) {
        int row = -1, col = -1;
        Target->GetPosition(row, col);
        rec = AddUndoRecord<TRPUndoModifyCellIntProperty>(row, col, PropName, old);
        RPSetCellIntProperty(*Target, PropName, Value);
    } else {
        rec = AddUndoRecord<TRPUndoModifyItemIntProperty>(PropName, old);
        RPSetTableIntProperty(*this, PropName, Value);
    }
    if (rec) {
        rec->NeedsReformat = NeedsReformat;
        rec->CheckWidth = CheckWidth;
    }
    Changed();
    return rec;
}

void TRPTableItemInfo::SetIntPropertyWithUndo(const std::string& PropName, int Value, bool NeedsReformat,
                                              bool CheckWidth) {
    int old = 0;
    Value = RPKeptIntProperty(false, PropName, Value);
    if (!RPGetTableIntProperty(*this, PropName, old) || old == Value) return;
    // The cell editor's own steps go into the host's history first (the
    // undo group does so); the editor stays open.
    BeginModify(true);
    SetItemPropertyWithUndo(nullptr, CheckWidth, NeedsReformat, Value, PropName);
    EndModify();
}

void TRPTableItemInfo::SetIntProperty(const std::string& PropName, int Value) {
    if (!(TableState & rptbsInserted)) {
        RPSetTableIntProperty(*this, PropName, Value);
        return;
    }
    // What a change may do to the table: its size, and its width.
    static const char* const sizeAndWidth[] = {"BestWidth",       "BorderHSpacing", "BorderWidth",
                                               "CellBorderWidth", "CellHSpacing",   "CellPadding"};
    static const char* const sizeOnly[] = {"BorderVSpacing", "CellVSpacing"};
    const auto listed = [&](const auto& List) {
        return std::find(std::begin(List), std::end(List), PropName) != std::end(List);
    };
    const bool width = listed(sizeAndWidth);
    SetIntPropertyWithUndo(PropName, Value, width || listed(sizeOnly), width);
}

void TRPTableItemInfo::SetCellIntPropertyWithUndo(int ItemNo, const std::string& PropName, bool NeedsReformat,
                                                  bool CheckWidth, int Row, int Col, int Value) {
    (void)ItemNo; // the table finds its own index
    TRPTableCellData* cell = Rows->FindCell(Row, Col);
    int old = 0;
    Value = RPKeptIntProperty(true, PropName, Value);
    if (!cell || !RPGetCellIntProperty(*cell, PropName, old) || old == Value) return;
    BeginModify();
    SetItemPropertyWithUndo(cell, CheckWidth, NeedsReformat, Value, PropName);
    EndModify();
}

void TRPTableItemInfo::SetCellBestWidth(TRPHTMLLength Value, int Row, int Col) {
    SetCellIntPropertyWithUndo(-1, "BestWidth", true, true, Row, Col, Value);
}

void TRPTableItemInfo::SetCellBestHeight(int Value, int Row, int Col) {
    SetCellIntPropertyWithUndo(-1, "BestHeight", false, true, Row, Col, Value);
}

void TRPTableItemInfo::SetCellVisibleBorders(bool Left, bool Top, bool Right, bool Bottom, int Row, int Col) {
    TRPTableCellData* cell = Rows->FindCell(Row, Col);
    if (!cell || cell->VisibleBorders.IsEqualValues(Left, Top, Right, Bottom)) return;
    BeginModify();
    AddUndoRecord<TRPUndoModifyCellVisibleBorders>(Row, Col, cell->VisibleBorders);
    cell->VisibleBorders.SetValues(Left, Top, Right, Bottom);
    Changed();
    EndModify();
}

namespace {

// The picture and its file name of a cell, or of the table at (-1, -1).
struct TBackgroundOf {
    TRPTableItemInfo& Table;
    TRPTableCellData* Cell;
    TGraphic* Get() const { return Cell ? Cell->GetBackgroundImage() : Table.GetBackgroundImage(); }
    void Set(TGraphic* G, bool Copy) const {
        if (Cell)
            Cell->SetBackgroundImage(G, Copy);
        else
            Table.SetBackgroundImage(G, Copy);
    }
    std::string& FileName() const {
        return Cell ? Cell->BackgroundImageFileName : Table.BackgroundImageFileName;
    }
};

bool BackgroundAt(TRPTableItemInfo& Table, int Row, int Col, TRPTableCellData*& Cell) {
    Cell = nullptr;
    if (Row == -1 && Col == -1) return true;
    Cell = Table.Rows->FindCell(Row, Col);
    return Cell != nullptr;
}

std::unique_ptr<TGraphic> CopyOf(const TGraphic* G) {
    return G ? G->Clone() : nullptr;
}

} // namespace

void TRPTableItemInfo::SetBackgroundImageWithUndo(TGraphic* Graphic, bool Copy, int Row, int Col) {
    TRPTableCellData* cell = nullptr;
    if (!BackgroundAt(*this, Row, Col, cell)) return;
    const TBackgroundOf bg{*this, cell};
    if (Graphic && Graphic == bg.Get()) return;
    BeginModify();
    if (auto* rec = AddUndoRecord<TRPUndoModifyBackgroundImage>(Row, Col, CopyOf(bg.Get())))
        rec->FileName = bg.FileName();
    bg.Set(Graphic, Copy);
    Changed();
    EndModify();
}

void TRPTableItemInfo::AssignCellAttributesWithUndo(int ItemNo, int Row, const TRPTableCellData& Source,
                                                    bool IncludeSize, int WidthDivisor, int HeightDivisor,
                                                    int Col) {
    (void)ItemNo;
    TRPTableCellData* cell = Rows->FindCell(Row, Col);
    if (!cell) return;
    BeginModify();
    if (GetUndoTarget()) {
        AddUndoRecord<TRPUndoModifyCellVisibleBorders>(Row, Col, cell->VisibleBorders);
        if (cell->GetBackgroundImage() || Source.GetBackgroundImage() ||
            cell->BackgroundImageFileName != Source.BackgroundImageFileName)
            if (auto* rec =
                    AddUndoRecord<TRPUndoModifyBackgroundImage>(Row, Col, CopyOf(cell->GetBackgroundImage())))
                rec->FileName = cell->BackgroundImageFileName;
        TRPIntPropertyList values;
        const auto note = [&](const char* Name) {
            int v = 0;
            RPGetCellIntProperty(*cell, Name, v);
            values.emplace_back(Name, v);
        };
        for (const char* name : {"Color", "BorderColor", "BorderLightColor", "VAlign", "BackgroundStyle"})
            note(name);
        if (IncludeSize) {
            note("BestWidth");
            note("BestHeight");
        }
        AddUndoRecord<TRPUndoModifyCellIntProperties>(Row, Col, std::move(values));
    }
    cell->AssignAttributesFrom(Source, IncludeSize, WidthDivisor, HeightDivisor);
    Changed();
    EndModify();
}

// ---------------------------------------------------------------------------
// Property records

void TRPUndoModifyItemTerminator::UndoTable(TRPTableItemInfo& Table) {
    AddInverseRecord<TRPUndoModifyItemTerminator>(Table, *this, !Opening);
}

void TRPUndoModifyItemIntProperty::UndoTable(TRPTableItemInfo& Table) {
    int cur = 0;
    if (!RPGetTableIntProperty(Table, PropName, cur)) return;
    AddInverseRecord<TRPUndoModifyItemIntProperty>(Table, *this, PropName, cur);
    RPSetTableIntProperty(Table, PropName, Value);
}

void TRPUndoModifyCellIntProperty::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = Table.Rows->FindCell(Row, Col);
    int cur = 0;
    if (!cell || !RPGetCellIntProperty(*cell, PropName, cur)) return;
    AddInverseRecord<TRPUndoModifyCellIntProperty>(Table, *this, Row, Col, PropName, cur);
    RPSetCellIntProperty(*cell, PropName, Value);
}

void TRPUndoModifyItemIntProperties::UndoTable(TRPTableItemInfo& Table) {
    TRPIntPropertyList cur;
    for (const auto& [name, value] : Values) {
        int v = 0;
        if (RPGetTableIntProperty(Table, name, v)) cur.emplace_back(name, v);
    }
    AddInverseRecord<TRPUndoModifyItemIntProperties>(Table, *this, std::move(cur));
    for (const auto& [name, value] : Values)
        RPSetTableIntProperty(Table, name, value);
}

void TRPUndoModifyCellIntProperties::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = Table.Rows->FindCell(Row, Col);
    if (!cell) return;
    TRPIntPropertyList cur;
    for (const auto& [name, value] : Values) {
        int v = 0;
        if (RPGetCellIntProperty(*cell, name, v)) cur.emplace_back(name, v);
    }
    AddInverseRecord<TRPUndoModifyCellIntProperties>(Table, *this, Row, Col, std::move(cur));
    for (const auto& [name, value] : Values)
        RPSetCellIntProperty(*cell, name, value);
}

void TRPUndoModifyCellVisibleBorders::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = Table.Rows->FindCell(Row, Col);
    if (!cell) return;
    AddInverseRecord<TRPUndoModifyCellVisibleBorders>(Table, *this, Row, Col, cell->VisibleBorders);
    cell->VisibleBorders.SetValues(Left, Top, Right, Bottom);
}

TRPUndoModifyBackgroundImage::TRPUndoModifyBackgroundImage(int ARow, int ACol,
                                                           std::unique_ptr<TGraphic> AImage)
    : Row(ARow), Col(ACol), Image(std::move(AImage)) {}

TRPUndoModifyBackgroundImage::~TRPUndoModifyBackgroundImage() = default;

void TRPUndoModifyBackgroundImage::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = nullptr;
    if (!BackgroundAt(Table, Row, Col, cell)) return;
    const TBackgroundOf bg{Table, cell};
    if (auto* inv = AddInverseRecord<TRPUndoModifyBackgroundImage>(Table, *this, Row, Col, CopyOf(bg.Get())))
        inv->FileName = bg.FileName();
    // The background adopts the record's picture.
    bg.Set(Image.release(), false);
    bg.FileName() = FileName;
}

// ---------------------------------------------------------------------------
// Grid records

void TRPUndoInsertTableRows::UndoTable(TRPTableItemInfo& Table) {
    TRPTableRows& g = *Table.Rows;
    if (Row < 0 || Row > g.RowCount() || Count <= 0) return;
    AddInverseRecord<TRPUndoInsertTableRows>(Table, *this, Row, Count, !Flag);
    if (Flag)
        g.InsertRowsInternal(Row, Count);
    else
        g.DeleteRowsInternal(Row, Count);
}

void TRPUndoInsertTableCell::UndoTable(TRPTableItemInfo& Table) {
    TRPTableRows& g = *Table.Rows;
    if (Row < 0 || Row >= g.RowCount() || Col < 0 || Col > g.GetRow(Row)->Count()) return;
    if (!Flag && Col == g.GetRow(Row)->Count()) return;
    AddInverseRecord<TRPUndoInsertTableCell>(Table, *this, Row, Col, !Flag);
    if (Flag)
        g.GetRow(Row)->InsertNewCell(Col);
    else
        g.GetRow(Row)->Delete(Col);
}

void TRPUndoSpreadOverEmptyCells::UndoTable(TRPTableItemInfo& Table) {
    if (!Table.Rows->FindCell(Row, Col) || Col + Span > Table.Rows->GetRow(Row)->Count()) return;
    AddInverseRecord<TRPUndoSpreadOverEmptyCells>(Table, *this, Row, Col, Span, !Flag);
    if (Flag)
        Table.Rows->SpreadOverEmpty(Row, Col, Span);
    else
        Table.Rows->UnspreadOverEmpty(Row, Col, Span);
}

void TRPUndoSpan::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = Table.Rows->FindCell(Row, Col);
    if (!cell) return;
    int& span = IsColSpan ? cell->ColSpan : cell->RowSpan;
    AddInverseRecord<TRPUndoSpan>(Table, *this, IsColSpan, Row, Col, span);
    span = Span;
}

namespace {

bool RectInGrid(const TRPTableRows& g, int Row, int Col, int RowCount, int ColCount) {
    if (Row < 0 || Col < 0 || RowCount < 0 || ColCount < 0 || Row + RowCount > g.RowCount()) return false;
    for (int r = Row; r < Row + RowCount; ++r)
        if (Col + ColCount > g.GetRow(r)->Count()) return false;
    return true;
}

} // namespace

void TRPUndoFreeEmptyCell::UndoTable(TRPTableItemInfo& Table) {
    if (!RectInGrid(*Table.Rows, Row, Col, RowCount, ColCount)) return;
    AddInverseRecord<TRPUndoFreeEmptyCell>(Table, *this, !Flag, Row, Col, RowCount, ColCount);
    if (Flag)
        Table.Rows->PutNewCells(Row, Col, RowCount, ColCount);
    else
        Table.Rows->FreeCells(Row, Col, RowCount, ColCount);
}

void TRPUndoInsertEmptyCell::UndoTable(TRPTableItemInfo& Table) {
    if (!RectInGrid(*Table.Rows, Row, Col, RowCount, Flag ? 0 : ColCount)) return;
    AddInverseRecord<TRPUndoInsertEmptyCell>(Table, *this, !Flag, Row, Col, RowCount, ColCount);
    if (Flag)
        Table.Rows->InsertEmptyPositions(Row, Col, RowCount, ColCount);
    else
        Table.Rows->DeleteEmptyPositions(Row, Col, RowCount, ColCount);
}

void TRPUndoCellSpitVert::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* cell = Table.Rows->FindCell(Row, Col);
    if (!cell) return;
    AddInverseRecord<TRPUndoCellSpitVert>(Table, *this, !Flag, Row, Col, SplitCol, DecreaseWidth,
                                          cell->BestWidth);
    if (Flag)
        Table.Rows->SplitCellVert(Row, Col, DecreaseWidth, SplitCol);
    else
        Table.Rows->JoinCellVert(Row, Col, BestWidth, SplitCol);
}

TCustomRPUndoWithCells::~TCustomRPUndoWithCells() = default;

void TRPUndoDeleteCols::UndoTable(TRPTableItemInfo& Table) {
    TRPTableRows& g = *Table.Rows;
    if (Flag) {
        if (FirstCol < 0 || Count <= 0 || FirstCol + Count > g.GetColCount()) return;
        g.RemoveCols(FirstCol, Count,
                     AddInverseRecord<TRPUndoDeleteCols>(Table, *this, false, FirstCol, Count));
    } else {
        if (FirstCol < 0 || FirstCol > g.GetColCount()) return;
        AddInverseRecord<TRPUndoDeleteCols>(Table, *this, true, FirstCol, Count);
        g.RestoreCols(FirstCol, Cells);
    }
}

void TRPUndoDeleteRows::UndoTable(TRPTableItemInfo& Table) {
    TRPTableRows& g = *Table.Rows;
    if (Flag) {
        if (FirstRow < 0 || Count <= 0 || FirstRow + Count > g.RowCount()) return;
        g.RemoveRows(FirstRow, Count,
                     AddInverseRecord<TRPUndoDeleteRows>(Table, *this, false, FirstRow, Count));
    } else {
        if (FirstRow < 0 || FirstRow > g.RowCount()) return;
        AddInverseRecord<TRPUndoDeleteRows>(Table, *this, true, FirstRow, Count);
        g.RestoreRows(FirstRow, *this);
    }
}

void TRPUndoMoveCell::UndoTable(TRPTableItemInfo& Table) {
    TRPTableRows& g = *Table.Rows;
    if (!Table.Rows->FindCell(Row, Col) || ToRow < 0 || ToRow >= g.RowCount() ||
        Col >= g.GetRow(ToRow)->Count() || g.GetCell(ToRow, Col))
        return;
    std::unique_ptr<TRPTableCellData> cell = g.GetRow(Row)->TakeCell(Col);
    AddInverseRecord<TRPUndoMoveCell>(Table, *this, ToRow, Row, Col, cell->RowSpan);
    cell->RowSpan = RowSpan;
    g.GetRow(ToRow)->PutCell(Col, std::move(cell));
}

TRPUndoCellsClear::TRPUndoCellsClear(bool AFlag, const TRPIntegerList& ARows, const TRPIntegerList& ACols)
    : Flag(AFlag) {
    RowList.Assign(ARows);
    ColList.Assign(ACols);
}

void TRPUndoCellsClear::UndoTable(TRPTableItemInfo& Table) {
    if (Flag) {
        Table.Rows->ClearCellsInto(
            RowList, ColList, AddInverseRecord<TRPUndoCellsClear>(Table, *this, false, RowList, ColList));
    } else {
        AddInverseRecord<TRPUndoCellsClear>(Table, *this, true, RowList, ColList);
        Table.Rows->RestoreClearedCells(Cells, RowList, ColList);
    }
}

TRPUndoMergeItem::TRPUndoMergeItem(int ARow, int ACol, int AItemCount,
                                   std::unique_ptr<TRPTableCellData> ACell)
    : Row(ARow), Col(ACol), ItemCount(AItemCount), Cell(std::move(ACell)) {}

TRPUndoMergeItem::~TRPUndoMergeItem() = default;

TRPUndoMerge::~TRPUndoMerge() = default;

void TRPUndoMerge::NoteMainCell(const TRPTableCellData& Main, bool ASumBestWidth) {
    OldRowSpan = Main.RowSpan;
    OldColSpan = Main.ColSpan;
    OldBestWidth = Main.BestWidth;
    OldItemCount = Main.GetItemCount();
    SumBestWidth = ASumBestWidth;
}

void TRPUndoMerge::UndoTable(TRPTableItemInfo& Table) {
    TRPTableCellData* main = Table.Rows->FindCell(Row, Col);
    if (!main || !RectInGrid(*Table.Rows, Row, Col, RowSpan, ColSpan)) return;
    if (Flag) {
        auto* inv = AddInverseRecord<TRPUndoMerge>(Table, *this, false, Row, Col, RowSpan, ColSpan);
        if (inv) inv->NoteMainCell(*main, SumBestWidth);
        Table.Rows->DoMerge(Row, Col, RowSpan, ColSpan, SumBestWidth, inv);
    } else {
        if (auto* inv = AddInverseRecord<TRPUndoMerge>(Table, *this, true, Row, Col, RowSpan, ColSpan))
            inv->SumBestWidth = SumBestWidth;
        Table.Rows->Unmerge(*this);
    }
}
