// The document of one table cell: its attributes and the questions it
// answers by asking its table and the document that holds the table.
#include "richtext/edit/RPTable.h"

#include "platform/Runtime.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"

TRPTableCellData::TRPTableCellData(TRPTableRow* ARow)
    : TRPItemFormattedData(ARow && ARow->Rows ? ARow->Rows->Table : nullptr,
                           ARow && ARow->Rows ? ARow->Rows->RPData : nullptr),
      Row(ARow) {
    AddText(std::string(), 0, 0);
}

TRPTableCellData::~TRPTableCellData() = default;

TRPTableItemInfo* TRPTableCellData::Table() const {
    return static_cast<TRPTableItemInfo*>(OwnerItem);
}

int TRPTableCellData::CellPadding() const {
    const TRPTableItemInfo* t = Table();
    return t ? t->ScaleX(t->CellPadding) : 0;
}

void TRPTableCellData::ClearToEmpty() {
    Clear();
    AddText(std::string(), 0, 0);
}

void TRPTableCellData::GetPosition(int& RowIndex, int& ColIndex) const {
    RowIndex = ColIndex = -1;
    if (!Row || !Row->Rows) return;
    RowIndex = Row->Rows->IndexOf(Row);
    ColIndex = Row->IndexOf(this);
    if (ColIndex < 0) RowIndex = -1;
}

// ---------------------------------------------------------------------------
// Attributes

TGraphic* TRPTableCellData::GetBackgroundImage() const {
    return FBackground ? FBackground->Image.get() : nullptr;
}

void TRPTableCellData::SetBackgroundImage(TGraphic* Graphic, bool Copy) {
    if (Graphic && FBackground && Graphic == FBackground->Image.get()) return;
    RPSetItemBackgroundImage(FBackground, Graphic, ParentData, Copy);
    RepaintEditor();
}

TRPItemBackgroundStyle TRPTableCellData::GetBackgroundStyle() const {
    return FBackground ? FBackground->GetItemBackStyle() : rpbsColor;
}

void TRPTableCellData::SetBackgroundStyle(TRPItemBackgroundStyle Value) {
    RPSetItemBackgroundStyle(FBackground, Value);
    RepaintEditor();
}

// The background object exists only while it shows something.
void RPSetItemBackgroundImage(std::unique_ptr<TRPBackground>& Background, TGraphic* Graphic,
                              TCustomRPData* RPData, bool Copy) {
    if (Graphic && Background && Graphic == Background->Image.get()) return;
    if (!Background) {
        if (!Graphic) return;
        Background = std::make_unique<TRPBackground>(false);
    }
    Background->AssignImage(Graphic, RPData, Copy);
    if (Background->IsBlank()) Background.reset();
}

void RPSetItemBackgroundStyle(std::unique_ptr<TRPBackground>& Background, TRPItemBackgroundStyle Value) {
    if (!Background) {
        if (Value == rpbsColor) return;
        Background = std::make_unique<TRPBackground>(false);
    }
    Background->SetItemBackStyle(Value);
    if (Background->IsBlank()) Background.reset();
}

void TRPTableCellData::AssignAttributesFrom(const TRPTableCellData& Source, bool IncludeSize,
                                            int WidthDivisor, int HeightDivisor) {
    Color = Source.Color;
    BorderColor = Source.BorderColor;
    BorderLightColor = Source.BorderLightColor;
    VisibleBorders.Assign(Source.VisibleBorders);
    VAlign = Source.VAlign;
    SetBackgroundImage(Source.GetBackgroundImage(), true);
    SetBackgroundStyle(Source.GetBackgroundStyle());
    BackgroundImageFileName = Source.BackgroundImageFileName;
    if (IncludeSize) {
        BestWidth = WidthDivisor ? Source.BestWidth / WidthDivisor : Source.BestWidth;
        BestHeight = HeightDivisor ? Source.BestHeight / HeightDivisor : Source.BestHeight;
    }
}

void TRPTableCellData::AssignSizeFrom(const TRPTableCellData& Source) {
    Left = Source.Left;
    Top = Source.Top;
    Width = Source.Width;
    Height = Source.Height;
}

bool TRPTableCellData::HasData(bool EmptyParaIsEmpty) const {
    const int n = GetItemCount();
    if (n == 0) return false;
    if (n > 1) return true;
    const TCustomRPItemInfo* item = GetItem(0);
    if (!GetItemText(0).empty() || item->StyleNo < 0) return true;
    if (EmptyParaIsEmpty) return item->StyleNo != 0 || item->ParaNo != 0;
    return false;
}

bool TRPTableCellData::CanClear() {
    const TRPStyle* style = GetRPStyle();
    if (!style) return true;
    for (int i = 0; i < GetItemCount(); ++i) {
        const TCustomRPItemInfo* item = GetItem(i);
        const int sn = GetActualStyle(item);
        if (sn >= 0) {
            if (style->TextStyles().GetItem(sn)->Protection & rpprDeleteProtect) return false;
        } else if (const auto* nt = dynamic_cast<const TRPNonTextItemInfo*>(item); nt && nt->DeleteProtect) {
            return false;
        }
    }
    return true;
}

int TRPTableCellData::GetMinWidth(const TRPResolution* Resolution, TCanvas* Canvas) {
    TCustomRPFormattedData* doc = GetContentData();
    const int n = doc->GetItemCount();
    if (n == 0) return 0;
    if (n == 1 && doc->GetItem(0)->StyleNo >= 0 && doc->GetItemText(0).empty()) {
        const TRPStyle* style = GetRPStyle();
        if (!style) return 0;
        const TParaInfo* para = style->ParaStyles().GetItem(doc->GetItem(0)->ParaNo);
        int w = para->FirstIndent + para->LeftIndent + para->RightIndent;
        if (Resolution) w = MulDiv(w, Resolution->DeviceX, Resolution->ScreenX);
        return w;
    }
    const int w = doc->CalcDocMinWidth(Resolution, Canvas);
    return w == 0 ? 10 : w;
}

int TRPTableCellData::GetContentDocHeight() const {
    // The cell editor's document has the padding as its margins.
    const TCustomRPFormattedData* doc = GetContentData();
    return doc == this ? DocumentHeight : std::max(0, doc->DocumentHeight - 2 * CellPadding());
}

int TRPTableCellData::GetContentHeight() const {
    return std::max(GetContentDocHeight(), BestHeight);
}

TRPCellVAlign TRPTableCellData::GetEffectiveVAlign() const {
    if (const TRPTableItemInfo* t = Table()) return t->GetCellVAlign(*this);
    return VAlign == rpcVDefault ? rpcMiddle : VAlign;
}

int TRPTableCellData::GetContentVShift() const {
    const int pad = CellPadding();
    switch (GetEffectiveVAlign()) {
    case rpcMiddle:
        return (Height - GetContentDocHeight()) / 2 - pad;
    case rpcBottom:
        return Height - GetContentDocHeight() - 2 * pad;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// The document's questions

int TRPTableCellData::GetWidth() {
    return Width - 2 * CellPadding();
}

int TRPTableCellData::GetHeight() {
    return Height - 2 * CellPadding();
}

// Offsets and origins of cells nested in cells add up level by level: each
// is kept inside the document's bound (RPCoords.h).
int TRPTableCellData::GetHOffs() {
    const TRPTableItemInfo* t = Table();
    return -RPCoordSum(t ? t->DrawLeft : 0, CellPadding(), Left);
}

int TRPTableCellData::GetVOffs() {
    const TRPTableItemInfo* t = Table();
    return -RPCoordSum(t ? t->DrawTop : 0, CellPadding(), Top, GetContentVShift());
}

void TRPTableCellData::GetOrigin(int& X, int& Y) {
    OriginIn(false, X, Y);
}

void TRPTableCellData::GetOriginEx(int& X, int& Y) {
    OriginIn(true, X, Y);
}

void TRPTableCellData::OriginIn(bool Outermost, int& X, int& Y) {
    X = Y = 0;
    auto* holder = dynamic_cast<TCustomRPFormattedData*>(ParentData);
    TRPTableItemInfo* t = Table();
    if (holder && t) {
        if (Outermost)
            holder->GetOriginEx(X, Y);
        else
            holder->GetOrigin(X, Y);
        int l = 0, tp = 0;
        if (const int no = t->GetItemNo(); no >= 0 && holder->GetItemCoords(no, l, tp)) {
            X = RPCoordSum(X, l);
            Y = RPCoordSum(Y, tp);
        }
    }
    X = RPCoordSum(X, Left, CellPadding());
    Y = RPCoordSum(Y, Top, CellPadding(), GetContentVShift());
}

TRPOptions TRPTableCellData::GetOptions() const {
    return TRPItemFormattedData::GetOptions() & ~rpoClientTextWidth;
}

TRPMarkerList* TRPTableCellData::GetMarkers(bool AllowCreate) {
    // Only a table that has its place in a document that has its own place
    // (up to the root) numbers its markers.
    TRPTableItemInfo* t = Table();
    if (UndoRecord || !t || t->GetItemNo() < 0 || !t->GetRPData()) return nullptr;
    return t->GetRPData()->GetMarkers(AllowCreate);
}

void TRPTableCellData::DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text,
                                    TCustomRPData* RPData) {
    if (ParentData) ParentData->DoItemAction(ItemAction, Item, Text, RPData);
}

void TRPTableCellData::DoControlAction(int ControlAction, int ItemNo, TControl* Control) {
    (void)ItemNo;
    TRPTableItemInfo* t = Table();
    if (ParentData) ParentData->DoControlAction(ControlAction, t ? t->GetItemNo() : -1, Control);
}

void TRPTableCellData::GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) {
    TRPTableItemInfo* t = Table();
    ParentItemNo = t ? t->GetItemNo() : -1;
    int r, c;
    GetPosition(r, c);
    Location = std::make_unique<TRPTableStoreSubRPData>(t, r, c);
}

TCustomRPData* TRPTableStoreSubRPData::GetRPData() {
    return Table ? Table->Rows->FindCell(Row, Col) : nullptr;
}

int TRPTableStoreSubRPData::GetIndex() const {
    if (!Table || !Table->Rows->InGrid(Row, Col)) return -1;
    int n = 0;
    for (int r = 0; r <= Row; ++r)
        for (int c = 0; c < (r == Row ? Col : Table->Rows->GetRow(r)->Count()); ++c)
            if (Table->GetCell(r, c)) ++n;
    return n;
}

// ---------------------------------------------------------------------------
// Undo

void TRPTableCellData::DetachForUndo(void* UndoInfo) {
    for (int i = 0; i < GetItemCount(); ++i)
        GetItem(i)->DetachForUndo(i, this);
    UndoRecord = UndoInfo;
    Row = nullptr;
    State &= ~rpcsSelected;
}

void TRPTableCellData::ReattachFromUndo() {
    UndoRecord = nullptr;
    for (int i = 0; i < GetItemCount(); ++i)
        GetItem(i)->ReattachFromUndo(this);
}
