// Item properties, navigation, text properties and list-marker bookkeeping of
// the document.
#include <QChar>
#include <algorithm>
#include <vector>
#include <type_traits>

#include "platform/Pictures.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

char16_t UnitAt(const std::string& Text, int Index) {
    size_t b = static_cast<size_t>(Index) * 2;
    if (Index < 0 || b + 1 >= Text.size()) return 0;
    return static_cast<char16_t>(static_cast<unsigned char>(Text[b]) |
                                 (static_cast<unsigned char>(Text[b + 1]) << 8));
}

bool IsMark(char16_t c) {
    QChar::Category cat = QChar(c).category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
           cat == QChar::Mark_Enclosing;
}

// Item as a T (a kind of non-text item), or nullptr. Text items, nearly all
// of a document, and items of exactly class T are told by their class record
// without a cast through the hierarchy.
template <class T> T* ItemAs(TCustomRPItemInfo* Item) {
    static_assert(!std::is_base_of_v<T, TRPTextItemInfo>);
    if (!Item) return nullptr;
    const TRPItemClass* cls = &Item->ItemClass();
    if (cls == &TRPTextItemInfo::ClassInfo) return nullptr;
    if (cls == &T::ClassInfo) return static_cast<T*>(Item);
    return dynamic_cast<T*>(Item);
}

TRPMarkerItemInfo* AsMarker(TCustomRPItemInfo* Item) {
    return ItemAs<TRPMarkerItemInfo>(Item);
}

} // namespace

void TCustomRPData::RaiseWrongItemClass() {
    throw ERichPadError("Can't get or set this kind of information for this item");
}

int TCustomRPData::GetActualStyle(const TCustomRPItemInfo* Item) const {
    return Item ? Item->GetActualStyleNo(GetRPStyle()) : 0;
}

int TCustomRPData::GetActualStyleOfPara(int StyleNo, int ParaNo) const {
    if (StyleNo != rpsnParaDefault) return StyleNo;
    const TRPStyle* style = GetRPStyle();
    if (!style) return 0;
    int r = style->ParaStyles().GetItem(ParaNo)->DefStyleNo;
    return r < 0 ? 0 : r;
}

void TCustomRPData::SetItemTag(int ItemNo, const TRPTag& Tag) {
    GetItem(ItemNo)->Tag = Tag;
}

bool TCustomRPData::IsPageBreak(int ItemNo) const {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) throw ERichPadError("Item index is out of bounds");
    // The text after a list marker takes the marker's page break.
    if (ItemNo > 0 && GetItemStyle(ItemNo - 1) == rpsnListMarker)
        return GetItem(ItemNo - 1)->GetPageBreakBefore();
    return GetItem(ItemNo)->GetPageBreakBefore();
}

int TCustomRPData::GetFirstOffsetOfItem(int ItemNo) const {
    return GetItemStyle(ItemNo) >= 0 ? 1 : 0;
}

int TCustomRPData::GetLastOffsetOfItem(int ItemNo) const {
    if (GetItemStyle(ItemNo) < 0) return 1;
    return ItemTextLength(GetItemText(ItemNo), GetItemOptions(ItemNo)) + 1;
}

int TCustomRPData::ItemLength(int ItemNo) const {
    if (GetItemStyle(ItemNo) < 0) return 1;
    return ItemTextLength(GetItemText(ItemNo), GetItemOptions(ItemNo));
}

void TCustomRPData::GetPictureInfo(int ItemNo, std::string& Name, TGraphic*& Graphic, uint8_t& VAlign,
                                   TRPTag& Tag) const {
    auto* g = CheckItemClass<TRPGraphicItemInfo>(ItemNo);
    Name = GetItemText(ItemNo);
    Graphic = g->Image.get();
    VAlign = g->VAlign;
    Tag = g->Tag;
}

bool TCustomRPData::SetPictureInfo(int ItemNo, const std::string& Name, TGraphic* Graphic, uint8_t VAlign,
                                   const TRPTag& Tag) {
    auto* g = CheckItemClass<TRPGraphicItemInfo>(ItemNo);
    TGraphic* cur = g->Image.get();
    TGraphic* now = Graphic ? Graphic : cur;
    bool result = !(cur && now && now->Width() == cur->Width() && now->Height() == cur->Height() &&
                    VAlign == g->VAlign);
    if (now != cur) {
        g->ImageCopy.reset();
        g->Image.reset(now);
    }
    g->VAlign = VAlign;
    SetItemTag(ItemNo, Tag);
    Items->Put(ItemNo, Name);
    g->UpdatePaletteInfo(GetDoInPaletteMode(), false, GetPalette(), GetLogPalette());
    return result;
}

bool TCustomRPData::SetItemExtraIntProperty(int ItemNo, int Prop, int Value) {
    return GetItem(ItemNo)->SetExtraIntProperty(Prop, Value);
}

bool TCustomRPData::GetItemExtraIntProperty(int ItemNo, int Prop, int& Value) const {
    return GetItem(ItemNo)->GetExtraIntProperty(Prop, Value);
}

int TCustomRPData::FindControlItemNo(const TControl* Control) const {
    for (int i = 0; i < GetItemCount(); ++i)
        if (const TCustomRPItemInfo* item = GetItem(i); item && item->OwnsControl(Control)) return i;
    return -1;
}

void TCustomRPData::DoControlActionForItem(int ControlAction, int ItemNo, TCustomRPItemInfo* Item) {
    if (auto* c = ItemAs<TRPControlItemInfo>(Item)) DoControlAction(ControlAction, ItemNo, c->Control.get());
}

// ---------------------------------------------------------------------------
// Navigation

void TCustomRPData::ClampItemNo(int& ItemNo) const {
    if (ItemNo >= GetItemCount()) ItemNo = GetItemCount() - 1;
    if (ItemNo < 0) ItemNo = 0;
}

int TCustomRPData::GetNextCharOffset(const std::string& Text, int ItemNo, int Offs) const {
    if (!RPIsNT || (GetItemOptions(ItemNo) & rpioUnicode) == 0) return Offs + 1;
    // A surrogate pair and the combining marks after a character are one step.
    const int n = static_cast<int>(Text.size() / 2);
    int i = Offs - 1;
    if (i < 0 || i >= n) return Offs + 1;
    char16_t c = UnitAt(Text, i);
    ++i;
    if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(UnitAt(Text, i))) ++i;
    while (i < n && IsMark(UnitAt(Text, i)))
        ++i;
    return i + 1;
}

int TCustomRPData::GetPrevCharOffset(const std::string& Text, int ItemNo, int Offs) const {
    if (!RPIsNT || (GetItemOptions(ItemNo) & rpioUnicode) == 0) return Offs - 1;
    const int n = static_cast<int>(Text.size() / 2);
    int i = std::min(Offs - 1, n); // units before the offset
    if (i <= 0) return 1;
    --i;
    while (i > 0 && IsMark(UnitAt(Text, i)))
        --i;
    if (i > 0 && QChar::isLowSurrogate(UnitAt(Text, i)) && QChar::isHighSurrogate(UnitAt(Text, i - 1))) --i;
    return i + 1;
}

int TCustomRPData::GetFirstParaItem(int ItemNo) const {
    while (ItemNo > 0 && !IsParaStart(ItemNo))
        --ItemNo;
    return ItemNo;
}

int TCustomRPData::GetFirstParaSectionItem(int ItemNo) const {
    while (ItemNo > 0 && !IsFromNewLine(ItemNo))
        --ItemNo;
    return ItemNo;
}

void TCustomRPData::ExpandToParaSection(int StartNo, int EndNo, int& First, int& Last) const {
    First = StartNo;
    while (First > 0 && !IsFromNewLine(First))
        --First;
    Last = EndNo + 1;
    while (Last < GetItemCount() && !IsFromNewLine(Last))
        ++Last;
    --Last;
}

void TCustomRPData::ExpandToPara(int StartNo, int EndNo, int& First, int& Last) const {
    First = StartNo;
    while (First > 0 && !IsParaStart(First))
        --First;
    Last = EndNo + 1;
    while (Last < GetItemCount() && !IsParaStart(Last))
        ++Last;
    --Last;
}

// ---------------------------------------------------------------------------
// Text properties

int TCustomRPData::GetStyleCodePage(int StyleNo) const {
    const TRPStyle* style = GetRPStyle();
    if (!style) return 0;
    if (StyleNo < 0) return style->DefCodePage;
    return CharsetToCodePage(style->TextStyles().GetItem(StyleNo)->Charset);
}

int TCustomRPData::GetStyleLocale(int StyleNo) const {
    const TRPStyle* style = GetRPStyle();
    if (style && StyleNo >= 0)
        return MakeDefaultLocale(CharsetToLangId(style->TextStyles().GetItem(StyleNo)->Charset) & 0x3FF);
    return 0x400;
}

int TCustomRPData::GetDefaultCodePage() const {
    const TRPStyle* style = GetRPStyle();
    return style ? style->DefCodePage : 0;
}

TRPBiDiMode TCustomRPData::GetItemBiDiMode(int ItemNo) {
    const TRPStyle* style = GetRPStyle();
    int sn = GetItemStyle(ItemNo);
    if (style && sn >= 0) {
        TRPBiDiMode m = style->TextStyles().GetItem(sn)->BiDiMode;
        if (m != rpbdUnspecified) return m;
    }
    return GetParaBiDiMode(GetItemPara(ItemNo));
}

TRPBiDiMode TCustomRPData::GetParaBiDiMode(int ParaNo) {
    if (const TRPStyle* style = GetRPStyle()) {
        TRPBiDiMode m = style->ParaStyles().GetItem(ParaNo)->BiDiMode;
        if (m != rpbdUnspecified) return m;
    }
    return GetBiDiMode();
}

bool TCustomRPData::IsDelimiterA(char Ch) {
    return GetDelimiters().find(Ch) != std::string::npos;
}

bool TCustomRPData::IsDelimiterW(char16_t Ch) {
    return Ch < 256 && GetDelimiters().find(static_cast<char>(Ch)) != std::string::npos;
}

bool TCustomRPData::IsDelimiterBefore(const std::string& Text, int Offs, TRPItemOptions Options) {
    // Nothing before the first character: a word may start there.
    if (Offs <= 1) return true;
    if (Options & rpioUnicode) {
        if (static_cast<size_t>(Offs - 1) * 2 > Text.size()) return true;
        return IsDelimiterW(UnitAt(Text, Offs - 2));
    }
    if (static_cast<size_t>(Offs - 1) > Text.size()) return true;
    return IsDelimiterA(Text[static_cast<size_t>(Offs - 2)]);
}

// ---------------------------------------------------------------------------
// Styles in use

void TCustomRPData::MarkStylesInUse(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                    TRPIntegerList& UsedList) {
    for (int i = 0; i < GetItemCount(); ++i)
        if (const TCustomRPItemInfo* item = GetItem(i)) item->MarkUsedStyles(UsedText, UsedPara, UsedList);
}

void TCustomRPData::UpdateStyles(const TRPIntegerList& TextShift, const TRPIntegerList& ParaShift,
                                 const TRPIntegerList& ListShift) {
    for (int i = 0; i < GetItemCount(); ++i)
        if (TCustomRPItemInfo* item = GetItem(i)) item->ShiftStyleIndices(TextShift, ParaShift, ListShift);
}

// ---------------------------------------------------------------------------
// List markers

namespace {

// Adds the list marker at ItemNo of Data to the numbering after the marker
// Previous gives (searched for only when asked); the marker when it is in.
template <class F> TRPMarkerItemInfo* NumberMarker(TCustomRPData& Data, int ItemNo, F&& Previous) {
    if (ItemNo < 0 || ItemNo >= Data.GetItemCount()) return nullptr;
    TRPMarkerItemInfo* marker = AsMarker(Data.GetItem(ItemNo));
    if (!marker || Data.GetActualStyle(marker) != rpsnListMarker) return nullptr;
    // A cell of a table that has no place in a document yet numbers nothing.
    TRPMarkerList* list = Data.GetMarkers(true);
    if (!list) return nullptr;
    if (marker->GetIndexInList(list) >= 0) return marker;
    list->InsertAfter(marker, Previous());
    list->RecalcCounters(marker->GetIndexInList(list), Data.GetRPStyle());
    return marker;
}

} // namespace

TRPMarkerItemInfo* TCustomRPData::AddMarkerInList(int ItemNo) {
    return NumberMarker(*this, ItemNo, [&] { return FindPreviousMarker(ItemNo - 1); });
}

TRPMarkerItemInfo* TCustomRPData::AddMarkerInListAfter(int ItemNo, TRPMarkerItemInfo* Previous) {
    return NumberMarker(*this, ItemNo, [Previous] { return Previous; });
}

namespace {

// The markers inside the sub-documents of Item (table cells), nested ones too.
void CollectSubMarkers(const TCustomRPItemInfo& Item, std::vector<const TRPMarkerItemInfo*>& Markers) {
    for (int k = 0; k < Item.GetSubRPDataCount(); ++k)
        if (const TCustomRPData* sub = Item.GetSubRPDataAt(k))
            for (int i = 0; i < sub->GetItemCount(); ++i)
                if (const TCustomRPItemInfo* it = sub->GetItem(i)) {
                    if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(it))
                        Markers.push_back(m);
                    else
                        CollectSubMarkers(*it, Markers);
                }
}

} // namespace

void TCustomRPData::RemoveSubMarkersFromList(const TCustomRPItemInfo& Item, bool Clearing) {
    TRPMarkerList* list = GetMarkers(false);
    if (!list) return;
    std::vector<const TRPMarkerItemInfo*> markers;
    CollectSubMarkers(Item, markers);
    int first = list->Count();
    for (const TRPMarkerItemInfo* m : markers)
        if (const int idx = list->IndexOf(m); idx >= 0) first = std::min(first, idx);
    if (!list->DeleteMarkers(markers)) return;
    if (list->Count() == 0) {
        DestroyMarkers();
        return;
    }
    // The markers after them count without them now.
    if (!Clearing) list->RecalcCountersOfLists(first, GetRPStyle());
}

void TCustomRPData::RemoveMarkerFromList(TCustomRPItemInfo* Item, bool Clearing) {
    // The list first: once a document is without markers, items pass at once.
    TRPMarkerList* list = GetMarkers(false);
    if (!list) return;
    TRPMarkerItemInfo* marker = AsMarker(Item);
    if (!marker) {
        if (Item && Item->GetSubRPDataCount() > 0) RemoveSubMarkersFromList(*Item, Clearing);
        return;
    }
    int idx = marker->GetIndexInList(list);
    if (idx < 0) return;
    const int listNo = marker->ListNo;
    list->Delete(idx);
    if (list->Count() == 0)
        DestroyMarkers();
    else if (!Clearing)
        // The markers after it in its own list count one less now.
        list->RecalcCountersOfList(idx, listNo, GetRPStyle());
}

void TCustomRPData::RemoveMarkersFromList(int FirstItemNo, int Count) {
    TRPMarkerList* list = GetMarkers(false);
    if (!list) return;
    bool removed = false;
    if (FirstItemNo == 0 && Count == GetItemCount() && GetAbsoluteRootData() == this && list == FMarkers.get()) {
        // The whole tree goes: every marker of a document in the list is one of its own.
        removed = list->DeleteDocumentMarkers();
    } else {
        std::vector<const TRPMarkerItemInfo*> markers;
        for (int i = FirstItemNo; i < FirstItemNo + Count; ++i)
            if (const TRPMarkerItemInfo* m = AsMarker(GetItem(i)))
                markers.push_back(m);
            else if (const TCustomRPItemInfo* item = GetItem(i))
                CollectSubMarkers(*item, markers);
        removed = list->DeleteMarkers(markers);
    }
    if (removed && list->Count() == 0) DestroyMarkers();
}

void TCustomRPData::UpdateMarkerCounters(int ItemNo, bool Create) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    TRPMarkerItemInfo* marker = AsMarker(GetItem(ItemNo));
    if (!marker) return;
    TRPMarkerList* list = GetMarkers(Create);
    if (!list) return;
    int idx = marker->GetIndexInList(list);
    if (idx >= 0) list->RecalcCounters(idx, GetRPStyle());
}

TRPMarkerItemInfo* TCustomRPData::FindMarkerBackwards(int FromItemNo) {
    for (int i = std::min(FromItemNo, GetItemCount() - 1); i >= 0; --i) {
        TCustomRPItemInfo* item = GetItem(i);
        if (!item) continue;
        if (TRPMarkerItemInfo* m = AsMarker(item)) return m;
        for (int k = item->GetSubRPDataCount() - 1; k >= 0; --k)
            if (TCustomRPData* sub = item->GetSubRPDataAt(k))
                if (TRPMarkerItemInfo* m = sub->FindMarkerBackwards(sub->GetItemCount() - 1)) return m;
    }
    return nullptr;
}

TRPMarkerItemInfo* TCustomRPData::FindPreviousMarker(int ItemNo) {
    if (TRPMarkerItemInfo* m = FindMarkerBackwards(ItemNo)) return m;
    int parentNo = -1;
    std::unique_ptr<TRPStoreSubRPData> location;
    GetParentInfo(parentNo, location);
    TCustomRPData* parent = GetAbsoluteParentData();
    if (parentNo < 0 || !parent || parentNo >= parent->GetItemCount()) return nullptr;
    TCustomRPItemInfo* owner = parent->GetItem(parentNo);
    int here = location ? location->GetIndex() : -1;
    if (owner && here > 0)
        for (int k = std::min(here, owner->GetSubRPDataCount()) - 1; k >= 0; --k)
            if (TCustomRPData* sub = owner->GetSubRPDataAt(k))
                if (TRPMarkerItemInfo* m = sub->FindMarkerBackwards(sub->GetItemCount() - 1)) return m;
    return parent->FindPreviousMarker(parentNo - 1);
}

int TCustomRPData::FindLastMarkerOfLists(int MarkerIndex, const TRPIntegerList& ListNos) {
    TRPMarkerList* list = GetMarkers(false);
    if (!list) return -1;
    for (int i = list->Count() - 1; i > MarkerIndex; --i)
        if (ListNos.IndexOf(list->Get(i)->ListNo) >= 0) return i;
    return -1;
}

bool TCustomRPData::ContainsItem(const TCustomRPItemInfo* Item) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        const TCustomRPItemInfo* it = GetItem(i);
        if (!it) continue;
        if (it == Item) return true;
        for (int k = 0; k < it->GetSubRPDataCount(); ++k)
            if (const TCustomRPData* sub = it->GetSubRPDataAt(k); sub && sub->ContainsItem(Item)) return true;
    }
    return false;
}

int TCustomRPData::FindItemContaining(int StartNo, const TCustomRPItemInfo* Item) const {
    if (!Item) return -1;
    for (int i = std::max(StartNo, 0); i < GetItemCount(); ++i) {
        const TCustomRPItemInfo* it = GetItem(i);
        if (!it) continue;
        if (it == Item) return i;
        for (int k = 0; k < it->GetSubRPDataCount(); ++k)
            if (const TCustomRPData* sub = it->GetSubRPDataAt(k); sub && sub->ContainsItem(Item)) return i;
    }
    return -1;
}
