#include "richtext/model/RPItem.h"

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"

namespace {

const char* const IntPropNames[] = {
    "",      "vshift", "vshiftabs",       "width",   "height",    "transparent",
    "tmode", "tcolor", "minheightonpage", "spacing", "resizable", "unremovable"};
const char* const StrPropNames[] = {"", "hint", "alt", "filename"};

// Decimal text as a number, 0 when it is none.
int StrToIntDef0(const std::string& s) {
    int v = 0;
    const char* b = s.data();
    const char* e = b + s.size();
    if (b != e && *b == '+') ++b;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e || b == e) return 0;
    return v;
}

// An item's sizes as a file gives them, in their ranges: a shift in pixels
// or percent of the item's height, a size below 1 for the picture's own.
int ReadIntProperty(int Id, int Value) {
    using L = TRPReadLimits;
    switch (Id) {
    case rpeipVShift:
        return L::Shift(Value);
    case rpeipSpacing:
        return L::Spacing(Value);
    case rpeipImageWidth:
    case rpeipImageHeight:
    case rpeipMinHeightOnPage:
        return L::Length(Value);
    default:
        return Value;
    }
}

void MarkIndex(TRPIntegerList& List, int Index) {
    if (Index >= 0 && Index < List.Count()) List.Put(Index, 1);
}

template <class T> std::unique_ptr<TCustomRPItemInfo> Make(TCustomRPData* RPData) {
    return std::make_unique<T>(RPData);
}

struct TRichPadItemTypeInfo {
    int StyleNo;
    const TRPItemClass* ItemClass;
};

std::vector<TRichPadItemTypeInfo>& Registry() {
    static std::vector<TRichPadItemTypeInfo> r;
    return r;
}

const TRPItemClass* CurrentTextClass = &TRPTextItemInfo::ClassInfo;

} // namespace

std::string GetItemExtraIntPropertyName(int Id) {
    return Id >= 1 && Id <= 11 ? IntPropNames[Id] : std::string();
}

std::string GetItemExtraStrPropertyName(int Id) {
    return Id >= 1 && Id <= 3 ? StrPropNames[Id] : std::string();
}

void RPFWriteExtraPropertyLine(std::string& Stream, const std::string& Name, const std::string& Value) {
    Stream += Name;
    Stream += '=';
    Stream += RPFLineText(Value);
    Stream += "\r\n";
}

void RPFWriteStrItemProperty(std::string& Stream, int Id, const std::string& Value) {
    RPFWriteExtraPropertyLine(Stream, GetItemExtraStrPropertyName(Id), Value);
}

int RPShiftedStyleIndex(int Index, const TRPIntegerList& Shifts) {
    if (Index < 0 || Index >= Shifts.Count()) return Index;
    return Index - (Shifts.Get(Index) - 1);
}

// ---------------------------------------------------------------------------

void TRPCPInfo::Assign(const TRPCPInfo& Source) {
    if (&Source == this) return;
    Name = Source.Name;
    RaiseEvent = Source.RaiseEvent;
    Persistent = Source.Persistent;
    Tag = Source.Tag;
}

std::unique_ptr<TRPCPInfo> TRPCPInfo::CreateCopy() const {
    auto cp = std::make_unique<TRPCPInfo>();
    cp->Assign(*this);
    return cp;
}

// ---------------------------------------------------------------------------

const TRPItemClass TCustomRPItemInfo::ClassInfo{"TCustomRPItemInfo", Make<TCustomRPItemInfo>};
const TRPItemClass TRPTextItemInfo::ClassInfo{"TRPTextItemInfo", Make<TRPTextItemInfo>};
const TRPItemClass TRPNonTextItemInfo::ClassInfo{"TRPNonTextItemInfo", Make<TRPNonTextItemInfo>};
const TRPItemClass TRPFullLineItemInfo::ClassInfo{"TRPFullLineItemInfo", Make<TRPFullLineItemInfo>};
const TRPItemClass TRPRectItemInfo::ClassInfo{"TRPRectItemInfo", Make<TRPRectItemInfo>};

TCustomRPItemInfo::TCustomRPItemInfo(TCustomRPData* RPData) {
    (void)RPData;
}

TCustomRPItemInfo::~TCustomRPItemInfo() = default;

void TCustomRPItemInfo::SetContinuesPrev(bool Value) {
    if (Value)
        ItemOptions = static_cast<TRPItemOptions>((ItemOptions | rpioContinuesPrev) &
                                                  ~(rpioPageBreakBefore | rpioLineBreakBefore));
    else
        ItemOptions = static_cast<TRPItemOptions>(ItemOptions & ~rpioContinuesPrev);
}

void TCustomRPItemInfo::SetPageBreakBefore(bool Value) {
    if (Value)
        ItemOptions = static_cast<TRPItemOptions>((ItemOptions | rpioPageBreakBefore) &
                                                  ~(rpioContinuesPrev | rpioLineBreakBefore));
    else
        ItemOptions = static_cast<TRPItemOptions>(ItemOptions & ~rpioPageBreakBefore);
}

void TCustomRPItemInfo::SetLineBreakBefore(bool Value) {
    // A full-line item always starts its own line, so it never takes the bit.
    if (Value && !GetBoolValue(rpbivFullLine))
        ItemOptions = static_cast<TRPItemOptions>((ItemOptions | rpioLineBreakBefore) & ~rpioContinuesPrev);
    else
        ItemOptions = static_cast<TRPItemOptions>(ItemOptions & ~rpioLineBreakBefore);
}

int TCustomRPItemInfo::GetActualStyleNo(const TRPStyle* RPStyle) const {
    if (StyleNo != rpsnParaDefault) return StyleNo;
    if (!RPStyle) return 0;
    int r = RPStyle->ParaStyles().GetItem(ParaNo)->DefStyleNo;
    return r < 0 ? 0 : r;
}

int TCustomRPItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    (void)Canvas, (void)RPData;
    return sad ? MulDiv(20, sad->DeviceX, sad->ScreenX) : 20;
}

bool TCustomRPItemInfo::GetBoolValue(int Id) const {
    return !(Id == 0 || (Id >= 3 && Id <= 11));
}

bool TCustomRPItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    (void)RPStyle;
    return Id == rpbivexPrintSliced;
}

void TCustomRPItemInfo::PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                                       const TRPStyle* RPStyle, const TRPBounds& ClipRect,
                                       TCustomRPData* RPData) {
    (void)Left, (void)Right, (void)Top, (void)Canvas, (void)State, (void)RPStyle, (void)ClipRect,
        (void)RPData;
}

void TCustomRPItemInfo::Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
                              TRPDrawLineInfo* DrawItem) {
    (void)x, (void)y, (void)Canvas, (void)State, (void)RPStyle, (void)DrawItem;
}

bool TCustomRPItemInfo::PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData,
                                      TRPColorMode ColorMode, int PartIndex, TRPDrawLineInfo* DrawItem) {
    (void)Bitmap, (void)Preview, (void)RPData, (void)ColorMode, (void)PartIndex, (void)DrawItem;
    return false;
}

void TCustomRPItemInfo::Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                              int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad,
                              bool Preview) {
    (void)Canvas, (void)x, (void)y, (void)RPData, (void)ColorMode, (void)PartIndex, (void)DrawItem, (void)sad,
        (void)Preview;
}

int TCustomRPItemInfo::GetImageWidth(const TRPStyle* RPStyle) const {
    return (void)RPStyle, 0;
}
int TCustomRPItemInfo::GetImageHeight(const TRPStyle* RPStyle) const {
    return (void)RPStyle, 0;
}

std::unique_ptr<TRPDrawLineInfo> TCustomRPItemInfo::CreatePrintingDrawItem(TCustomRPData* RPData,
                                                                           const TRPResolution& sad) {
    (void)RPData, (void)sad;
    return std::make_unique<TRPDrawLineInfo>();
}

void TCustomRPItemInfo::Inserting(TCustomRPData* RPData, std::string& Text, bool Safe) {
    (void)Safe;
    if (RPData) RPData->DoItemAction(rpiaInserting, this, Text, RPData);
}

void TCustomRPItemInfo::Inserted(TCustomRPData* RPData, int ItemNo) {
    (void)ItemNo;
    std::string s;
    if (RPData) RPData->DoItemAction(rpiaInserted, this, s, RPData);
}

void TCustomRPItemInfo::AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout,
                                         TCanvas* Canvas, TCustomRPData* RPData, const TRPResolution* sad,
                                         int& Descent, int& XOffset, bool OnlyMeasure, bool Force) {
    (void)Force;
    (void)DocWidth, (void)DrawItem, (void)PrintLayout, (void)Canvas, (void)RPData, (void)sad,
        (void)OnlyMeasure;
    Descent = 1;
    XOffset = 0;
}

int TCustomRPItemInfo::GetRPFExtraPropertyCount() const {
    return Hint.empty() ? 0 : 1;
}

void TCustomRPItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    if (!Hint.empty()) RPFWriteStrItemProperty(Stream, rpespHint, Hint);
}

void TCustomRPItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (&Source == this) return;
    StyleNo = Source.StyleNo;
    ParaNo = Source.ParaNo;
    ItemOptions = Source.ItemOptions;
    Hint = Source.Hint;
}

std::string TCustomRPItemInfo::GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                            const std::string& Path, const std::string& ItemText) {
    (void)LineWidth, (void)RPData, (void)Unicode, (void)TextOnly, (void)Path, (void)ItemText;
    return std::string();
}

bool TCustomRPItemInfo::ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) {
    (void)RPData, (void)Line;
    ReadRPFProperty(s);
    return true;
}

void TCustomRPItemInfo::DetachForUndo(int ItemNo, TCustomRPData* RPData) {
    if (!RPData) return;
    std::string s =
        ItemNo >= 0 && ItemNo < RPData->GetItemCount() ? RPData->GetItemText(ItemNo) : std::string();
    RPData->DoItemAction(rpiaMovingToUndoList, this, s, RPData);
}

bool TCustomRPItemInfo::MouseMove(TCustomRPData* RPData, int ItemNo, TShiftState Shift, int X, int Y) {
    (void)Shift, (void)X, (void)Y;
    if (!RPData || (RPData->GetOptions() & rpoShowItemHints) == 0) return false;
    std::string s = Hint;
    RPData->GetAbsoluteRootData()->DoItemHint(RPData, ItemNo, s);
    RPData->GetAbsoluteRootData()->SetControlHint(s);
    return false;
}

void TCustomRPItemInfo::MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                       TRPIntegerList& UsedList) const {
    (void)UsedText, (void)UsedList;
    MarkIndex(UsedPara, ParaNo);
}

void TCustomRPItemInfo::ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                          const TRPIntegerList& ListShifts) {
    (void)TextShifts, (void)ListShifts;
    ParaNo = RPShiftedStyleIndex(ParaNo, ParaShifts);
}

bool TCustomRPItemInfo::SetExtraStrProperty(int Prop, const std::string& Value) {
    if (Prop != rpespHint) return false;
    Hint = Value;
    return true;
}

bool TCustomRPItemInfo::GetExtraStrProperty(int Prop, std::string& Value) const {
    if (Prop != rpespHint) return false;
    Value = Hint;
    return true;
}

void TCustomRPItemInfo::ReadRPFProperty(const std::string& Line) {
    size_t eq = Line.find('=');
    if (eq == std::string::npos) return;
    std::string name = Line.substr(0, eq);
    std::string value = Line.substr(eq + 1);
    for (int id = 1; id <= 11; ++id)
        if (name == IntPropNames[id]) {
            SetExtraIntProperty(id, ReadIntProperty(id, StrToIntDef0(value)));
            return;
        }
    for (int id = 1; id <= 3; ++id)
        if (name == StrPropNames[id]) {
            SetExtraStrProperty(id, RPFDecodeLineBreaks(value));
            return;
        }
    SetUnknownRPFProperty(name, value);
}

// ---------------------------------------------------------------------------

bool TRPTextItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    switch (Id) {
    case rpbivexJump:
    case rpbivexKeyboardFocus:
    case rpbivexFocusRect:
    case rpbivexHotLook: {
        if (!RPStyle) return false;
        int sn = GetActualStyleNo(RPStyle);
        if (!RPStyle->TextStyles().GetItem(sn)->Jump) return false;
        if (Id != rpbivexHotLook) return true;
        return const_cast<TRPStyle*>(RPStyle)->StyleHoverSensitive(sn);
    }
    default:
        return TCustomRPItemInfo::GetBoolValueEx(Id, RPStyle);
    }
}

bool TRPTextItemInfo::ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) {
    (void)RPData;
    size_t p = s.find_first_not_of(' ');
    if (p == std::string::npos) return true;
    if (s[p] != '"') return false;
    std::string h;
    for (size_t i = p + 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                h += '"';
                ++i;
                continue;
            }
            Hint = RPFDecodeLineBreaks(h);
            s.erase(0, i + 1);
            return true;
        }
        h += s[i];
    }
    return false; // no closing quote
}

bool TRPTextItemInfo::IsHotJump(TCustomRPData* RPData) const {
    if (!RPData || !GetBoolValueEx(rpbivexJump, RPData->GetRPStyle())) return false;
    return RPData->IsHotJump(RPData->GetFirstJumpNo() + JumpID);
}

void TRPTextItemInfo::MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                     TRPIntegerList& UsedList) const {
    TCustomRPItemInfo::MarkUsedStyles(UsedText, UsedPara, UsedList);
    if (StyleNo != rpsnParaDefault) MarkIndex(UsedText, StyleNo);
}

void TRPTextItemInfo::ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                        const TRPIntegerList& ListShifts) {
    TCustomRPItemInfo::ShiftStyleIndices(TextShifts, ParaShifts, ListShifts);
    if (StyleNo != rpsnParaDefault) StyleNo = RPShiftedStyleIndex(StyleNo, TextShifts);
}

// ---------------------------------------------------------------------------

int TRPNonTextItemInfo::GetRPFExtraPropertyCount() const {
    return TCustomRPItemInfo::GetRPFExtraPropertyCount() + (DeleteProtect ? 1 : 0);
}

void TRPNonTextItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    TCustomRPItemInfo::SaveRPFExtraProperties(Stream);
    if (DeleteProtect) RPFWriteExtraPropertyLine(Stream, IntPropNames[rpeipDeleteProtect], "1");
}

void TRPNonTextItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPNonTextItemInfo*>(&Source)) DeleteProtect = s->DeleteProtect;
    TCustomRPItemInfo::AssignItem(Source);
}

bool TRPNonTextItemInfo::SetExtraIntProperty(int Prop, int Value) {
    if (Prop != rpeipDeleteProtect) return TCustomRPItemInfo::SetExtraIntProperty(Prop, Value);
    DeleteProtect = Value != 0;
    return true;
}

bool TRPNonTextItemInfo::GetExtraIntProperty(int Prop, int& Value) const {
    if (Prop != rpeipDeleteProtect) return TCustomRPItemInfo::GetExtraIntProperty(Prop, Value);
    Value = DeleteProtect ? 1 : 0;
    return true;
}

// ---------------------------------------------------------------------------

void TRPRectItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = std::to_string(VAlign);
}

int TRPRectItemInfo::GetRPFExtraPropertyCount() const {
    return TRPNonTextItemInfo::GetRPFExtraPropertyCount() + (VShift != 0 ? 1 : 0) + (VShiftAbs ? 1 : 0) +
           (Spacing != 1 ? 1 : 0);
}

void TRPRectItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    TRPNonTextItemInfo::SaveRPFExtraProperties(Stream);
    if (VShift != 0) RPFWriteExtraPropertyLine(Stream, IntPropNames[rpeipVShift], std::to_string(VShift));
    if (VShiftAbs) RPFWriteExtraPropertyLine(Stream, IntPropNames[rpeipVShiftAbs], "1");
    if (Spacing != 1) RPFWriteExtraPropertyLine(Stream, IntPropNames[rpeipSpacing], std::to_string(Spacing));
}

void TRPRectItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPRectItemInfo*>(&Source); s && s != this) {
        MinHeightOnPage = s->MinHeightOnPage;
        VAlign = s->VAlign;
        VShift = s->VShift;
        VShiftAbs = s->VShiftAbs;
        Spacing = s->Spacing;
    }
    TRPNonTextItemInfo::AssignItem(Source);
}

bool TRPRectItemInfo::ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) {
    (void)RPData;
    size_t p = s.find_first_not_of(' ');
    if (p == std::string::npos) {
        VAlign = 0;
        return true;
    }
    size_t e = s.find(' ', p);
    if (e == std::string::npos) e = s.size();
    int v = 0;
    auto [q, ec] = std::from_chars(s.data() + p, s.data() + e, v);
    if (ec != std::errc() || q != s.data() + e || v < 0 || v > 255) return false;
    VAlign = static_cast<uint8_t>(v);
    s.erase(0, e);
    return true;
}

bool TRPRectItemInfo::SetExtraIntProperty(int Prop, int Value) {
    switch (Prop) {
    case rpeipVShift:
        VShift = Value;
        return true;
    case rpeipVShiftAbs:
        VShiftAbs = Value != 0;
        return true;
    case rpeipSpacing:
        Spacing = Value < 0 ? 0 : Value;
        return true;
    default:
        return TRPNonTextItemInfo::SetExtraIntProperty(Prop, Value);
    }
}

bool TRPRectItemInfo::GetExtraIntProperty(int Prop, int& Value) const {
    switch (Prop) {
    case rpeipVShift:
        Value = VShift;
        return true;
    case rpeipVShiftAbs:
        Value = VShiftAbs ? 1 : 0;
        return true;
    case rpeipSpacing:
        Value = Spacing;
        return true;
    default:
        return TRPNonTextItemInfo::GetExtraIntProperty(Prop, Value);
    }
}

std::string TRPRectItemInfo::GetVShiftCSS(int ItemHeight) const {
    if (VShift == 0 || ItemHeight == 0 || VAlign != 0) return std::string();
    const int v = VShiftAbs ? VShift : MulDiv(ItemHeight, VShift, 100);
    return "vertical-align: " + std::to_string(v) + "px";
}

std::string TRPRectItemInfo::GetHTMLAlignAttribute() const {
    return VAlign == 1 ? " align=middle" : "";
}

// ---------------------------------------------------------------------------

void RegisterRichPadItemType(int StyleNo, const TRPItemClass* ItemClass) {
    static const char* const msg = "Can't register RichPad item type - this StyleNo is already registered";
    // -10 and -11 are built-in kinds too; the factory would never reach a
    // registration under them.
    if (!ItemClass || StyleNo >= -9 || StyleNo == rpsnHotPicture || StyleNo == rpsnListMarker)
        throw ERichPadError(msg);
    for (const auto& e : Registry())
        if (e.StyleNo == StyleNo) {
            if (e.ItemClass == ItemClass) return;
            throw ERichPadError(msg);
        }
    Registry().push_back({StyleNo, ItemClass});
}

void UnregisterAllRichPadItemTypes() {
    Registry().clear();
}

const TRPItemClass* CurrentTextItemClass() {
    return CurrentTextClass;
}

void SetCurrentTextItemClass(const TRPItemClass* ItemClass) {
    CurrentTextClass = ItemClass ? ItemClass : &TRPTextItemInfo::ClassInfo;
}

std::unique_ptr<TCustomRPItemInfo> CreateItemByStyleNo(TCustomRPData* RPData, int StyleNo) {
    std::unique_ptr<TCustomRPItemInfo> item;
    switch (StyleNo) {
    case rpsnListMarker:
        item = std::make_unique<TRPMarkerItemInfo>(RPData);
        break;
    case rpsnHotPicture:
        item = std::make_unique<TRPHotGraphicItemInfo>(RPData);
        break;
    case rpsnBullet:
        item = std::make_unique<TRPBulletItemInfo>(RPData);
        break;
    case rpsnControl:
        item = std::make_unique<TRPControlItemInfo>(RPData);
        break;
    case rpsnHotspot:
        item = std::make_unique<TRPHotspotItemInfo>(RPData);
        break;
    case rpsnPicture:
        item = std::make_unique<TRPGraphicItemInfo>(RPData);
        break;
    case rpsnBreak:
        item = std::make_unique<TRPBreakItemInfo>(RPData);
        break;
    default:
        if (StyleNo >= 0) {
            item = CurrentTextClass->Create(RPData);
        } else {
            for (const auto& e : Registry())
                if (e.StyleNo == StyleNo) {
                    item = e.ItemClass->Create(RPData);
                    break;
                }
        }
    }
    if (item) item->StyleNo = StyleNo;
    return item;
}

std::unique_ptr<TCustomRPItemInfo> CreateItemCopy(const TCustomRPItemInfo& Source, TCustomRPData* RPData,
                                                  bool CopyCheckpoint) {
    std::unique_ptr<TCustomRPItemInfo> item = Source.ItemClass().Create(RPData);
    item->AssignItem(Source);
    if (CopyCheckpoint && Source.Checkpoint) item->Checkpoint = Source.Checkpoint->CreateCopy();
    item->Tag = Source.Tag;
    return item;
}
