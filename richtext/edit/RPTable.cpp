// The table item: construction, its place in a document, its rows and the
// questions the document asks of an item.
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPEditData.h"

#include "platform/Runtime.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPFormattedData.h"

namespace {

std::unique_ptr<TCustomRPItemInfo> CreateTable(TCustomRPData* RPData) {
    return std::make_unique<TRPTableItemInfo>(RPData);
}

const bool kRegistered = [] {
    RPRegisterTableItem();
    return true;
}();

} // namespace

const TRPItemClass TRPTableItemInfo::ClassInfo = {"TRPTableItemInfo", &CreateTable};

void RPRegisterTableItem() {
    RegisterRichPadItemType(rpsnTable, &TRPTableItemInfo::ClassInfo);
}

int RPTablesAround(TCustomRPData* Doc) {
    int n = 0;
    for (TCustomRPData* d = Doc; d;) {
        const auto* cell = dynamic_cast<const TRPTableCellData*>(d->GetSourceData());
        TRPTableItemInfo* table = cell ? cell->Table() : nullptr;
        if (!table) break;
        ++n;
        d = table->GetRPData();
    }
    return n;
}

int RPTablesIn(const TCustomRPItemInfo& Item) {
    const auto* table = dynamic_cast<const TRPTableItemInfo*>(&Item);
    if (!table) return 0;
    int inner = 0;
    table->Rows->ForEachCell([&inner](int, int, TRPTableCellData& Cell) {
        const TCustomRPData* content = Cell.GetContentData();
        for (int i = 0; i < content->GetItemCount(); ++i)
            if (const TCustomRPItemInfo* item = content->GetItem(i))
                inner = std::max(inner, RPTablesIn(*item));
    });
    return 1 + inner;
}

// ---------------------------------------------------------------------------
// Construction

TRPTableItemInfo::TRPTableItemInfo(TCustomRPData* RPData) : TRPFullLineItemInfo(RPData) {
    Init(1, 1, RPData);
}

TRPTableItemInfo::TRPTableItemInfo(int RowCount, int ColCount, TCustomRPData* RPData)
    : TRPFullLineItemInfo(RPData) {
    Init(RowCount, ColCount, RPData);
}

std::unique_ptr<TRPTableItemInfo> TRPTableItemInfo::CreateEx(int RowCount, int ColCount,
                                                             TCustomRPData* RPData) {
    return std::make_unique<TRPTableItemInfo>(RowCount, ColCount, RPData);
}

void TRPTableItemInfo::Init(int RowCount, int ColCount, TCustomRPData* RPData) {
    (void)kRegistered;
    StyleNo = rpsnTable;
    Rows = std::make_unique<TRPTableRows>(this, RPData);
    Rows->Reset(RowCount, ColCount);
    TableState = rptbsJustCreated;
}

TRPTableItemInfo::~TRPTableItemInfo() {
    // The cell under an open editor takes its items back before the grid goes.
    CloseInplaceEditor(false);
    // Only a table in a document may hold that document's mouse capture; the
    // document of any other may be gone already.
    if (TableState & rptbsInserted) AbandonMouse();
    FormattingInfo.Clear();
    Rows.reset();
}

TGraphic* TRPTableItemInfo::GetBackgroundImage() const {
    return FBackground ? FBackground->Image.get() : nullptr;
}

void TRPTableItemInfo::SetBackgroundImage(TGraphic* Graphic, bool Copy) {
    RPSetItemBackgroundImage(FBackground, Graphic, GetRPData(), Copy);
}

TRPItemBackgroundStyle TRPTableItemInfo::GetBackgroundStyle() const {
    return FBackground ? FBackground->GetItemBackStyle() : rpbsColor;
}

void TRPTableItemInfo::SetBackgroundStyle(TRPItemBackgroundStyle Value) {
    RPSetItemBackgroundStyle(FBackground, Value);
}

// ---------------------------------------------------------------------------
// The document that holds the table

void TRPTableItemInfo::SetDocument(TCustomRPData* RPData) {
    Rows->RPData = RPData;
    Rows->ForEachCell([RPData](int, int, TRPTableCellData& Cell) { Cell.ParentData = RPData; });
}

int TRPTableItemInfo::GetItemNo() {
    TCustomRPData* d = GetRPData();
    return d ? d->GetItemNo(this) : -1;
}

void TRPTableItemInfo::Inserting(TCustomRPData* RPData, std::string& Text, bool Safe) {
    TRPFullLineItemInfo::Inserting(RPData, Text, Safe);
    if (!RPData) return;
    TableState |= rptbsInserted;
    ChangeOwnerData(RPData);
}

void TRPTableItemInfo::ChangeOwnerData(TCustomRPData* RPData) {
    if (!RPData) return;
    SetDocument(RPData);
    // In an editor the grid of invisible borders shows, also for a table
    // read into another document first and handed over (a loaded file).
    if (dynamic_cast<TRPEditRPData*>(RPData->GetAbsoluteRootData()))
        TableState |= rptbsEditorDoc;
    else
        TableState &= ~rptbsEditorDoc;
    // The tables in the cells stand in the same root: they learn it too,
    // whatever path brought them (a stream reads them before their table
    // has its place).
    Rows->ForEachCell([](int, int, TRPTableCellData& Cell) {
        for (int i = 0; i < Cell.GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(Cell.GetItem(i))) t->ChangeOwnerData(&Cell);
    });
}

void TRPTableItemInfo::Inserted(TCustomRPData* RPData, int ItemNo) {
    TRPFullLineItemInfo::Inserted(RPData, ItemNo);
    Rows->ForEachCell([this](int, int, TRPTableCellData& Cell) {
        // A cell left empty by its reader gets its empty line.
        if (Cell.GetItemCount() == 0) Cell.ClearToEmpty();
        if (TableState & rptbsJustCreated)
            for (int i = 0; i < Cell.GetItemCount(); ++i)
                Cell.GetItem(i)->Inserted(&Cell, i);
    });
    // Cells filled before the table had its place numbered no markers.
    AfterLoadingCells(0);
}

void TRPTableItemInfo::AfterLoadingCells(int Format) {
    bool found = false;
    TRPMarkerItemInfo* last = nullptr;
    NumberCellMarkers(Format, found, last);
}

void TRPTableItemInfo::NumberCellMarkers(int Format, bool& Found, TRPMarkerItemInfo*& Last) {
    if (GetItemNo() < 0) return;
    // The markers of the cells, nested tables' too, join the numbering in the
    // order they stand in, each after the one before: only the first searches
    // for its place (searching for every one took time in the square of the
    // cells).
    Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) {
        for (int i = 0; i < Cell.GetItemCount(); ++i) {
            if (TRPMarkerItemInfo* m = Found ? Cell.AddMarkerInListAfter(i, Last) : Cell.AddMarkerInList(i)) {
                Found = true;
                Last = m;
            }
            if (auto* nested = dynamic_cast<TRPTableItemInfo*>(Cell.GetItem(i)))
                nested->NumberCellMarkers(Format, Found, Last);
            else
                Cell.GetItem(i)->AfterLoadingCells(Format);
        }
    });
}

void TRPTableItemInfo::AfterLoading(int Format) {
    if (Format == 2 || Format == 3 || Format == 5) TableState &= ~rptbsJustCreated;
}

void TRPTableItemInfo::DetachForUndo(int ItemNo, TCustomRPData* RPData) {
    CloseInplaceEditor(true);
    AbandonMouse();
    // The markers in the cells leave the document's numbering with the table.
    if (RPData) RPData->RemoveSubMarkersFromList(*this, false);
    TRPFullLineItemInfo::DetachForUndo(ItemNo, RPData);
    TableState &= ~rptbsInserted;
}

void TRPTableItemInfo::ReattachFromUndo(TCustomRPData* RPData) {
    TRPFullLineItemInfo::ReattachFromUndo(RPData);
    if (RPData) SetDocument(RPData);
    TableState |= rptbsInserted;
    AfterLoadingCells(0);
}

// ---------------------------------------------------------------------------
// Item questions

bool TRPTableItemInfo::GetBoolValue(int Id) const {
    switch (Id) {
    case rpbivFullLine:
    case rpbivReadsRPFLines:
    case rpbivChangesFont:
    case rpbivNonTextUnicode: // its text comes as UTF-16 when asked for
    case 6:                   // it has text of its own
    case 10:
        return true;
    default:
        return TRPFullLineItemInfo::GetBoolValue(Id);
    }
}

bool TRPTableItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexPrintSliced) return false;
    return TRPFullLineItemInfo::GetBoolValueEx(Id, RPStyle);
}

int TRPTableItemInfo::GetSubRPDataCount() const {
    int n = 0;
    Rows->ForEachCell([&n](int, int, TRPTableCellData&) { ++n; });
    return n;
}

TCustomRPData* TRPTableItemInfo::GetSubRPDataAt(int Index) const {
    for (int r = 0; r < Rows->Count(); ++r)
        for (int c = 0; c < Rows->GetRow(r)->Count(); ++c)
            if (TRPTableCellData* cell = Rows->GetCell(r, c); cell && Index-- == 0) return cell;
    return nullptr;
}

int TRPTableItemInfo::GetRowTop(int Index) const {
    if (Index >= 0 && Index < FormattingInfo.RowStarts.Count()) return FormattingInfo.RowStarts[Index];
    return Index > 0 ? FormattingInfo.Height : 0;
}

void TRPTableItemInfo::MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                      TRPIntegerList& UsedList) const {
    TRPFullLineItemInfo::MarkUsedStyles(UsedText, UsedPara, UsedList);
    Rows->ForEachCell(
        [&](int, int, TRPTableCellData& Cell) { Cell.MarkStylesInUse(UsedText, UsedPara, UsedList); });
}

void TRPTableItemInfo::ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                         const TRPIntegerList& ListShifts) {
    TRPFullLineItemInfo::ShiftStyleIndices(TextShifts, ParaShifts, ListShifts);
    Rows->ForEachCell(
        [&](int, int, TRPTableCellData& Cell) { Cell.UpdateStyles(TextShifts, ParaShifts, ListShifts); });
}

TRPCellVAlign TRPTableItemInfo::GetCellVAlign(const TRPTableCellData& Cell) const {
    if (Cell.VAlign != rpcVDefault) return Cell.VAlign;
    if (Cell.Row && Cell.Row->VAlign != rpcVDefault) return Cell.Row->VAlign;
    return rpcMiddle;
}

TColor TRPTableItemInfo::GetEffectiveColor() const {
    if (Color != clNone) return Color;
    if (TCustomRPData* d = GetRPData())
        if (TRPStyle* style = d->GetRPStyle(); style && ParaNo >= 0 && ParaNo < style->ParaStyles().Count())
            return style->ParaStyles().GetItem(ParaNo)->Background.Color;
    return clNone;
}

// Every size of a layout passes here: sizes set through the program (a best
// width or height) are not bounded elsewhere.
int TRPTableItemInfo::ScaleX(int v) const {
    return Resolution ? RPCoordScale(v, Resolution->DeviceX, Resolution->ScreenX) : RPCoordClamp(v);
}

int TRPTableItemInfo::ScaleY(int v) const {
    return Resolution ? RPCoordScale(v, Resolution->DeviceY, Resolution->ScreenY) : RPCoordClamp(v);
}

// ---------------------------------------------------------------------------
// Rows

void TRPTableRow::Adopt(TRPTableCellData& Cell) {
    Cell.Row = this;
    Cell.ParentData = Rows->RPData;
}

void TRPTableRow::PutCell(int Index, std::unique_ptr<TRPTableCellData> Cell) {
    if (Cell) Adopt(*Cell);
    std::unique_ptr<TRPItemFormattedData> old = DeleteNoFree(Index);
    Insert(Index, std::move(Cell));
}

std::unique_ptr<TRPTableCellData> TRPTableRow::TakeCell(int Index) {
    std::unique_ptr<TRPItemFormattedData> p = DeleteNoFree(Index);
    Insert(Index, nullptr);
    return std::unique_ptr<TRPTableCellData>(static_cast<TRPTableCellData*>(p.release()));
}

TRPTableCellData* TRPTableRow::AddNewCell() {
    std::unique_ptr<TRPTableCellData> c = Rows->NewCell(this);
    TRPTableCellData* p = c.get();
    Add(std::move(c));
    return p;
}

TRPTableCellData* TRPTableRow::InsertNewCell(int Index) {
    std::unique_ptr<TRPTableCellData> c = Rows->NewCell(this);
    TRPTableCellData* p = c.get();
    Insert(Index, std::move(c));
    return p;
}

void TRPTableRow::InsertEmpty(int Index) {
    Insert(Index, nullptr);
}

void TRPTableRow::InsertCell(int Index, std::unique_ptr<TRPTableCellData> Cell) {
    if (Cell) Adopt(*Cell);
    Insert(Index, std::move(Cell));
}

int TRPTableRow::GetBestHeight() const {
    int h = 0;
    for (int i = 0; i < Count(); ++i)
        if (const TRPTableCellData* c = GetCell(i); c && c->RowSpan < 2) h = std::max(h, c->BestHeight);
    return h;
}

int TRPTableRow::GetHeight() const {
    int h = 0;
    for (int i = 0; i < Count(); ++i)
        if (const TRPTableCellData* c = GetCell(i); c && c->RowSpan < 2)
            h = std::max(h, c->GetContentHeight());
    return h == 0 ? 10 : h;
}

bool TRPTableRow::HasCellEndingIn(int RowIndex, int TopRow, int ACount) const {
    if (TopRow > RowIndex) return false;
    for (int i = 0; i < Count(); ++i)
        if (const TRPTableCellData* c = GetCell(i); c && RowIndex + c->RowSpan - 1 <= TopRow + ACount - 1)
            return true;
    return false;
}

TCustomRPData* TRPTableRow::GetParentData() const {
    return Rows->RPData;
}
