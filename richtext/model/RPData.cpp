#include "richtext/model/RPData.h"

#include <QApplication>
#include <algorithm>

#include "platform/Pictures.h"
#include "richtext/model/RPControlImages.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

TRPLoadRTFFileProc RTFFileReader = nullptr;

} // namespace

void RegisterRTFFileReader(TRPLoadRTFFileProc Proc) {
    RTFFileReader = Proc;
}
TRPLoadRTFFileProc GetRTFFileReader() {
    return RTFFileReader;
}

std::vector<std::string>& RPListedGraphicClasses() {
    static std::vector<std::string> classes;
    return classes;
}

bool RP_IsListedGraphicClass(const TGraphic* Graphic) {
    if (!Graphic) return false;
    const std::string name = Graphic->ClassName().toStdString();
    const auto& l = RPListedGraphicClasses();
    return std::find(l.begin(), l.end(), name) != l.end();
}

uint8_t RP_BoolToByte(uint8_t b) {
    return b != 0 ? 1 : 0;
}

// ---------------------------------------------------------------------------

void TRPItemList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
}

const std::string& TRPItemList::Get(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Text;
}

std::string& TRPItemList::Text(int Index) {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Text;
}

void TRPItemList::Put(int Index, std::string Text) {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].Text = std::move(Text);
}

TCustomRPItemInfo* TRPItemList::GetObject(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Item.get();
}

int TRPItemList::IndexOfObject(const TCustomRPItemInfo* Item) const {
    if (!Item || Item->FList != this) return -1;
    if (const int at = Item->FListIndex;
        at >= 0 && at < FNumbered && FItems[static_cast<size_t>(at)].Item.get() == Item)
        return at;
    // The item stands at or after the first entry that changed: the entries
    // up to it learn their places.
    for (int i = FNumbered; i < Count(); ++i) {
        TCustomRPItemInfo* p = FItems[static_cast<size_t>(i)].Item.get();
        if (p) p->FListIndex = i;
        FNumbered = i + 1;
        if (p == Item) return i;
    }
    return -1;
}

int TRPItemList::AddObject(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item) {
    const int at = Count();
    if (Item) {
        Item->FList = this;
        Item->FListIndex = at;
    }
    FItems.push_back({std::move(Text), std::move(Item)});
    if (FNumbered == at) FNumbered = at + 1;
    return at;
}

void TRPItemList::InsertObject(int Index, std::string Text, std::unique_ptr<TCustomRPItemInfo> Item) {
    if (Index < 0 || Index > Count()) RPListIndexError(Index);
    if (Item) {
        Item->FList = this;
        Item->FListIndex = Index;
    }
    FItems.insert(FItems.begin() + Index, TRPItemEntry{std::move(Text), std::move(Item)});
    Unnumber(Index + 1);
}

std::unique_ptr<TCustomRPItemInfo> TRPItemList::TakeObject(int Index) {
    CheckIndex(Index);
    std::unique_ptr<TCustomRPItemInfo> item = std::move(FItems[static_cast<size_t>(Index)].Item);
    if (item) item->FList = nullptr;
    return item;
}

void TRPItemList::Delete(int Index) {
    DeleteRange(Index, 1);
}

void TRPItemList::DeleteRange(int Index, int Count) {
    if (Count <= 0) return;
    CheckIndex(Index);
    CheckIndex(Index + Count - 1);
    // The items leave the list before they are freed: whatever their
    // destructors ask of it finds the entries after them in place.
    std::vector<std::unique_ptr<TCustomRPItemInfo>> gone;
    for (int i = Index; i < Index + Count; ++i)
        if (std::unique_ptr<TCustomRPItemInfo> item = TakeObject(i)) gone.push_back(std::move(item));
    FItems.erase(FItems.begin() + Index, FItems.begin() + Index + Count);
    Unnumber(Index);
}

void TRPItemList::RemoveEmptyEntries(int First, int Last) {
    CheckIndex(First);
    CheckIndex(Last);
    const auto begin = FItems.begin() + First, end = FItems.begin() + Last + 1;
    const auto kept = std::remove_if(begin, end, [](const TRPItemEntry& e) { return !e.Item; });
    if (kept == end) return;
    FItems.erase(kept, end);
    Unnumber(First);
}

void TRPItemList::Clear() {
    FNumbered = 0;
    FItems.clear();
}

// ---------------------------------------------------------------------------

int TCustomRPData::BeepCount = 0;

TCustomRPData::TCustomRPData() : FOwnItems(std::make_unique<TRPItemList>()) {
    Items = FOwnItems.get();
}

TCustomRPData::~TCustomRPData() {
    TCustomRPData::Clear();
}

// Settings: a document that is its own root answers the defaults.
TRPOptions TCustomRPData::GetOptions() const {
    auto* self = const_cast<TCustomRPData*>(this);
    TCustomRPData* r = self->GetRootData();
    return r != this ? r->GetOptions() : 0;
}

void TCustomRPData::SetOptions(TRPOptions Value) {
    if (TCustomRPData* r = GetRootData(); r != this) r->SetOptions(Value);
}

TRPFOptions TCustomRPData::GetRPFOptions() const {
    TCustomRPData* r = const_cast<TCustomRPData*>(this)->GetRootData();
    return r != this ? r->GetRPFOptions() : 0;
}

void TCustomRPData::SetRPFOptions(TRPFOptions Value) {
    if (TCustomRPData* r = GetRootData(); r != this) r->SetRPFOptions(Value);
}

TRPRTFOptions TCustomRPData::GetRTFOptions() const {
    TCustomRPData* r = const_cast<TCustomRPData*>(this)->GetRootData();
    return r != this ? r->GetRTFOptions() : 0;
}

void TCustomRPData::SetRTFOptions(TRPRTFOptions Value) {
    if (TCustomRPData* r = GetRootData(); r != this) r->SetRTFOptions(Value);
}

uint8_t TCustomRPData::GetRPFWarnings() const {
    TCustomRPData* r = const_cast<TCustomRPData*>(this)->GetRootData();
    return r != this ? r->GetRPFWarnings() : 0;
}

void TCustomRPData::SetRPFWarnings(uint8_t Value) {
    if (TCustomRPData* r = GetRootData(); r != this) r->SetRPFWarnings(Value);
}

TRPFReaderStyleMode TCustomRPData::GetRPFTextStylesReadMode() const {
    TCustomRPData* r = const_cast<TCustomRPData*>(this)->GetRootData();
    return r != this ? r->GetRPFTextStylesReadMode() : rpf_sIgnore;
}

TRPFReaderStyleMode TCustomRPData::GetRPFParaStylesReadMode() const {
    TCustomRPData* r = const_cast<TCustomRPData*>(this)->GetRootData();
    return r != this ? r->GetRPFParaStylesReadMode() : rpf_sIgnore;
}

TRPStyle* TCustomRPData::GetRPStyle() const {
    TCustomRPData* p = GetParentData();
    return p ? p->GetRPStyle() : nullptr;
}

void* TCustomRPData::GetPalette() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetPalette() : nullptr;
}

const void* TCustomRPData::GetLogPalette() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetLogPalette() : nullptr;
}

TRPPaletteAction TCustomRPData::GetDoInPaletteMode() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetDoInPaletteMode() : rppaDoNothing;
}

TRPBiDiMode TCustomRPData::GetBiDiMode() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetBiDiMode() : rpbdUnspecified;
}

bool TCustomRPData::DoSaveItemToFile(const std::string& Path, TCustomRPData* RPData, int ItemNo,
                                     int SaveFormat, bool Unicode, std::string& OutStr) {
    TCustomRPData* r = GetAbsoluteRootData();
    return r != this ? r->DoSaveItemToFile(Path, RPData, ItemNo, SaveFormat, Unicode, OutStr) : false;
}

void TCustomRPData::DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text,
                                 TCustomRPData* RPData) {
    (void)ItemAction, (void)Item, (void)Text, (void)RPData;
}

bool TCustomRPData::DoSaveComponentToFile(const std::string& Path, TControl* SaveMe, int SaveFormat,
                                          std::string& OutStr) {
    TCustomRPData* r = GetAbsoluteRootData();
    return r != this ? r->DoSaveComponentToFile(Path, SaveMe, SaveFormat, OutStr) : false;
}

std::string TCustomRPData::GetDelimiters() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetDelimiters() : std::string(" .;,:(){}\"/\\<>!?[]\x91\x92\x93\x94-+*=");
}

void TCustomRPData::GetSelectionBounds(int& StartNo, int& StartOffs, int& EndNo, int& EndOffs,
                                       std::shared_ptr<const TRPMultiDrawItemPart>& StartPart,
                                       std::shared_ptr<const TRPMultiDrawItemPart>& EndPart) {
    StartPart.reset();
    EndPart.reset();
    if (GetItemCount() == 0) {
        StartNo = EndNo = -1;
        StartOffs = EndOffs = 0;
        return;
    }
    StartNo = 0;
    StartOffs = GetFirstOffsetOfItem(0);
    EndNo = GetItemCount() - 1;
    EndOffs = GetLastOffsetOfItem(EndNo);
}

TRPRTFReaderProperties* TCustomRPData::GetRTFReadProperties() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetRTFReadProperties() : nullptr;
}

void TCustomRPData::GetStyleMapVars(TStyleMapVar& TextMap, TStyleMapVar& ParaMap, TStyleMapVar& ListMap) {
    TCustomRPData* r = GetRootData();
    if (r != this) {
        r->GetStyleMapVars(TextMap, ParaMap, ListMap);
        return;
    }
    TextMap = ParaMap = ListMap = nullptr;
}

void TCustomRPData::DestroyMarkers() {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this)
        r->DestroyMarkers();
    else
        FMarkers.reset();
}

TControl* TCustomRPData::GetParentControl() {
    TCustomRPData* r = GetRootData();
    return r != this ? r->GetParentControl() : nullptr;
}

void TCustomRPData::GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) {
    ParentItemNo = -1;
    Location.reset();
}

void TCustomRPData::DoSaveRTFExtra(int Area, void* Obj, int Index1, int Index2, bool InStyleSheet,
                                   std::string& RTFCode) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) r->DoSaveRTFExtra(Area, Obj, Index1, Index2, InStyleSheet, RTFCode);
}

void TCustomRPData::DoSaveHTMLExtra(int Area, bool CSSVersion, std::string& HTMLCode) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this)
        r->DoSaveHTMLExtra(Area, CSSVersion, HTMLCode);
    else
        HTMLCode.clear();
}

std::string TCustomRPData::DoSaveParaHTMLCode(TCustomRPData* RPData, int ItemNo, bool ParaStart,
                                              bool CSSVersion) {
    TCustomRPData* r = GetAbsoluteRootData();
    return r != this ? r->DoSaveParaHTMLCode(RPData, ItemNo, ParaStart, CSSVersion) : std::string();
}

void TCustomRPData::DoReadHyperlink(const std::string& Target, const std::string& Extras, std::string& Text,
                                    TRPTag& Tag, int& StyleNo, int DocFormat) {
    TCustomRPData* r = GetRootData();
    if (r != this) r->DoReadHyperlink(Target, Extras, Text, Tag, StyleNo, DocFormat);
}

void TCustomRPData::DoWriteHyperlink(int id, TCustomRPData* RPData, int ItemNo, int SaveFormat,
                                     std::string& Target, std::string& Extras) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) r->DoWriteHyperlink(id, RPData, ItemNo, SaveFormat, Target, Extras);
}

TGraphic* TCustomRPData::DoImportPicture(const std::string& Location) {
    TCustomRPData* r = GetAbsoluteRootData();
    return r != this ? r->DoImportPicture(Location) : nullptr;
}

void TCustomRPData::DoItemHint(TCustomRPData* RPData, int ItemNo, std::string& HintText) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) r->DoItemHint(RPData, ItemNo, HintText);
}

TGraphic* TCustomRPData::DoRPFPictureNeeded(const std::string& ItemName, const TRPTag& ItemTag) {
    TCustomRPData* r = GetRootData();
    return r != this ? r->DoRPFPictureNeeded(ItemName, ItemTag) : nullptr;
}

TControl* TCustomRPData::DoRPFControlNeeded(const std::string& ItemName, const TRPTag& ItemTag) {
    TCustomRPData* r = GetRootData();
    return r != this ? r->DoRPFControlNeeded(ItemName, ItemTag) : nullptr;
}

TCustomImageList* TCustomRPData::DoRPFImageListNeeded(int ImageListTag) {
    TCustomRPData* r = GetRootData();
    return r != this ? r->DoRPFImageListNeeded(ImageListTag) : nullptr;
}

std::unique_ptr<TBitmap> TCustomRPData::GetControlImageForPrinting(TControl* Control) {
    return GetControlImage(Control);
}

TRPMarkerList* TCustomRPData::GetMarkers(bool AllowCreate) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) return r->GetMarkers(AllowCreate);
    if (!FMarkers && AllowCreate) FMarkers = std::make_unique<TRPMarkerList>();
    return FMarkers.get();
}

// ---------------------------------------------------------------------------
// Appending

void TCustomRPData::AddItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item) {
    if (!Item) return;
    TCustomRPItemInfo* it = Item.get();
    const int n = GetItemCount();
    TCustomRPItemInfo* last = n > 0 ? GetItem(n - 1) : nullptr;
    // A full-line item never joins the line of the item before it, nor does an
    // item join the line of a full-line item.
    if (it->ParaNo == -1 && last && !last->GetBoolValue(rpbivFullLine) && !it->GetBoolValue(rpbivFullLine)) {
        it->SetContinuesPrev(true);
        it->ParaNo = last->ParaNo;
    } else {
        if (last && GetActualStyle(last) == rpsnListMarker) AddText(std::string(), 0, -1);
        it->SetContinuesPrev(false);
        if (it->GetLineBreakBefore() || NewParaSwitch == 0)
            it->SetLineBreakBefore(!it->GetBoolValue(rpbivFullLine));
        else
            it->SetLineBreakBefore(false);
        if (it->ParaNo == -1) it->ParaNo = 0;
    }
    AppendItem(std::move(Text), std::move(Item));
}

void TCustomRPData::AppendItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item) {
    TCustomRPItemInfo* it = Item.get();
    // The item's own checkpoint becomes the pending one (the object moves
    // along), unless one is already pending.
    if (it->Checkpoint) {
        std::unique_ptr<TRPCPInfo> cp = std::move(it->Checkpoint);
        if (!NotAddedCP) {
            cp->Next = cp->Prev = nullptr;
            cp->ItemInfo = nullptr;
            NotAddedCP = std::move(cp);
            ++CPCount;
        }
    }
    LinkPendingCheckpoint(it, LastCP, NotAddedCP);
    it->UpdatePaletteInfo(GetDoInPaletteMode(), false, GetPalette(), GetLogPalette());
    it->Inserting(this, Text, false);
    int index = Items->AddObject(std::move(Text), std::move(Item));
    it->Inserted(this, index);
}

void TCustomRPData::AddTextTag(const std::string& Text, int StyleNo, int ParaNo, const TRPTag& Tag) {
    std::unique_ptr<TCustomRPItemInfo> item = CurrentTextItemClass()->Create(this);
    item->StyleNo = StyleNo < 0 ? rpsnParaDefault : StyleNo;
    item->ParaNo = ParaNo;
    item->Tag = Tag;
    // The paragraph the text will join decides a paragraph-default style.
    int para = ParaNo;
    if (para < 0) para = GetItemCount() > 0 ? GetItem(GetItemCount() - 1)->ParaNo : 0;
    int resolved = GetActualStyleOfPara(item->StyleNo, para);
    TRPStyle* style = GetRPStyle();
    if (style && style->TextStyles().GetItem(resolved)->Unicode) item->ItemOptions |= rpioUnicode;
    std::string s;
    ExpandTabs(Text, resolved, s, false);
    AddItem(std::move(s), std::move(item));
}

void TCustomRPData::AddNL(const std::string& Text, int StyleNo, int ParaNo) {
    size_t start = 0;
    int para = ParaNo;
    for (;;) {
        size_t p = Text.find_first_of("\r\n", start);
        AddText(Text.substr(start, p == std::string::npos ? std::string::npos : p - start), StyleNo, para);
        if (p == std::string::npos) break;
        start = p + 1;
        if (Text[p] == '\r' && start < Text.size() && Text[start] == '\n') ++start;
        // The following lines start paragraphs of the same paragraph style.
        para = GetItem(GetItemCount() - 1)->ParaNo;
    }
}

void TCustomRPData::AddPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, int ParaNo,
                               uint8_t VAlign, const TRPTag& Tag) {
    auto item = TRPGraphicItemInfo::CreateEx(this, std::move(Graphic), VAlign);
    item->ParaNo = ParaNo;
    item->Tag = Tag;
    AddItem(Name, std::move(item));
}

int TCustomRPData::AddCheckpoint(const std::string& Name, bool RaiseEvent, const TRPTag& Tag) {
    if (NotAddedCP) return CPCount - 1;
    NotAddedCP = std::make_unique<TRPCPInfo>();
    NotAddedCP->Name = Name;
    NotAddedCP->RaiseEvent = RaiseEvent;
    NotAddedCP->Tag = Tag;
    return CPCount++;
}

void TCustomRPData::ExpandTabs(const std::string& Text, int StyleNo, std::string& Result,
                               bool ForceUnicode) const {
    const TRPStyle* style = GetRPStyle();
    int spaces = style ? style->SpacesInTab : 8;
    bool unicode = style ? (StyleNo >= 0 && style->TextStyles().GetItem(StyleNo)->Unicode) : ForceUnicode;
    Result = unicode ? ExpandTabsUnicode(Text, spaces) : ExpandTabsAnsi(Text, spaces);
}

void TCustomRPData::ReplaceZeroChars(std::string& Text) {
    std::replace(Text.begin(), Text.end(), '\0', '?');
}

void TCustomRPData::Beep() {
    const TRPStyle* style = GetRPStyle();
    if (!style || !style->UseSound) return;
    ++BeepCount;
    QApplication::beep();
}

// ---------------------------------------------------------------------------
// Removing

void TCustomRPData::FreeItem(std::unique_ptr<TCustomRPItemInfo> Item, bool Clearing) {
    if (!Item) return;
    RemoveMarkerFromList(Item.get(), Clearing);
    FreeCheckpoint(Item->Checkpoint, true, true);
    Item.reset();
}

void TCustomRPData::FreeItemAt(int ItemNo, bool Clearing) {
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (!item) return;
    // Callers drop the entry right after: the action sees its text without a copy.
    DoItemAction(rpiaFreeing, item, Items->Text(ItemNo), this);
    DoControlActionForItem(rpcaDestroy, ItemNo, item);
    // Out of its entry before it is freed: nothing can reach it any more.
    FreeItem(Items->TakeObject(ItemNo), Clearing);
}

void TCustomRPData::DeleteItems(int FirstItemNo, int Count) {
    if (ShareItems() || FirstItemNo < 0 || FirstItemNo >= GetItemCount() || Count <= 0) return;
    Count = std::min(Count, GetItemCount() - FirstItemNo);
    Items->BeginUpdate();
    try {
        for (int i = FirstItemNo; i < FirstItemNo + Count; ++i)
            FreeItemAt(i, false);
        Items->DeleteRange(FirstItemNo, Count);
    } catch (...) {
        Items->EndUpdate();
        throw;
    }
    Items->EndUpdate();
}

void TCustomRPData::Clear() {
    const bool wasClearing = (State & rpstClearing) != 0;
    State |= rpstClearing;
    State &= ~(rpstClearedOnClear1 | rpstClearedOnClear2);
    if (!ShareItems()) {
        Items->BeginUpdate();
        try {
            RemoveMarkersFromList(0, GetItemCount());
            for (int i = 0; i < GetItemCount(); ++i)
                FreeItemAt(i, true);
            Items->Clear();
        } catch (...) {
            Items->EndUpdate();
            if (!wasClearing) State &= ~rpstClearing;
            throw;
        }
        Items->EndUpdate();
    }
    FreeCheckpoint(NotAddedCP, false, true);
    FirstCP = LastCP = nullptr;
    if (!ShareItems()) CPCount = 0;
    if (auto* props = GetDocProperties()) props->clear();
    if (!wasClearing) State &= ~rpstClearing;
}

void TCustomRPData::ShareItemsFrom(TCustomRPData& Source) {
    if (!ShareItems()) return;
    Clear();
    Items = Source.Items;
}

void TCustomRPData::Assign(TCustomRPData* Source) {
    if (!Source || Source == this) return;
    if (TagsArePChars() != Source->TagsArePChars())
        throw ERichPadError("Can't assign RichPad to RichPad - tags types mismatch");
    // Markers leave the source's marker list before they move, those in the
    // cells of a table too: the source's list may outlive them.
    for (int i = 0; i < Source->GetItemCount(); ++i)
        if (TCustomRPItemInfo* item = Source->GetItem(i))
            Source->RemoveMarkerFromList(item, true);
    // Only the first item meets this document's last one; the others keep
    // their flags exactly, so that a history of edits recorded on Source
    // still fits the items here (a cell and its editor hand items back and
    // forth).
    bool first = true;
    for (int i = 0; i < Source->GetItemCount(); ++i) {
        std::unique_ptr<TCustomRPItemInfo> item = Source->Items->TakeObject(i);
        if (!item) continue;
        const bool isMarker = dynamic_cast<TRPMarkerItemInfo*>(item.get()) != nullptr;
        if (first) {
            if (item->GetContinuesPrev()) item->ParaNo = -1;
            AddItem(Source->Items->Get(i), std::move(item));
        } else {
            AppendItem(Source->Items->Get(i), std::move(item));
        }
        first = false;
        if (isMarker) AddMarkerInList(GetItemCount() - 1);
    }
    if (Source->NotAddedCP) {
        if (!NotAddedCP) {
            NotAddedCP = std::move(Source->NotAddedCP);
            ++CPCount;
        } else {
            Source->NotAddedCP.reset();
        }
    }
    Source->Items->Clear();
    Source->FirstCP = Source->LastCP = nullptr;
    Source->CPCount = 0;
    Source->Clear();
}

// ---------------------------------------------------------------------------
// Reading, merging

bool TCustomRPData::InsertReadItem(int Index, std::string& Text, std::unique_ptr<TCustomRPItemInfo>& Item,
                                   int& OutInt, bool& OutFlag) {
    OutInt = -1;
    OutFlag = false;
    if (!Item || Index < 0 || Index > GetItemCount()) return false;
    TCustomRPItemInfo* it = Item.get();
    it->Inserting(this, Text, false);
    Items->InsertObject(Index, Text, std::move(Item));
    it->Inserted(this, Index);
    AddMarkerInList(Index);
    return true;
}

void TCustomRPData::NotifyAllItemsInserted(bool Safe) {
    for (int i = 0; i < GetItemCount(); ++i) {
        TCustomRPItemInfo* item = GetItem(i);
        if (!item) continue;
        std::string s = Items->Get(i);
        item->Inserting(this, s, Safe);
        Items->Put(i, std::move(s));
    }
}

void TCustomRPData::UpdateItemsPaletteInfo() {
    if (ShareItems()) return;
    for (int i = 0; i < GetItemCount(); ++i)
        if (TCustomRPItemInfo* item = GetItem(i))
            item->UpdatePaletteInfo(GetDoInPaletteMode(), false, GetPalette(), GetLogPalette());
}

void TCustomRPData::UnifyParaNo(int ItemNo) {
    const int n = GetItemCount();
    if (n == 0) return;
    ItemNo = std::clamp(ItemNo, 0, n - 1);
    while (ItemNo > 0 && !IsParaStart(ItemNo))
        --ItemNo;
    const int para = GetItem(ItemNo)->ParaNo;
    for (int i = ItemNo + 1; i < n && !IsParaStart(i); ++i)
        GetItem(i)->ParaNo = para;
}

bool TCustomRPData::CanMergeItems(int ItemNo, const TCustomRPItemInfo* Item1, bool Force,
                                  const TCustomRPItemInfo* Item2) {
    if (ItemNo < 0 || ItemNo + 1 >= GetItemCount()) return false;
    return CanJoinItems(Item1, Items->Get(ItemNo).empty(), Item2, Items->Get(ItemNo + 1).empty(), Force);
}

bool TCustomRPData::CanJoinItems(const TCustomRPItemInfo* Item1, bool Empty1, const TCustomRPItemInfo* Item2,
                                 bool Empty2, bool Force) {
    if (!Item1 || !Item2 || Item1->StyleNo < 0 || Item2->StyleNo < 0) return false;
    if ((Empty1 || Empty2) && (Force || Item2->GetContinuesPrev()))
        // The empty one is dropped; only two checkpoints cannot both survive.
        return !(Item1->Checkpoint && Item2->Checkpoint);
    if (Item1->StyleNo != Item2->StyleNo) return false;
    if (!Force && !Item2->GetContinuesPrev()) return false;
    const TRPStyle* style = GetRPStyle();
    const int s1 = GetActualStyle(Item1);
    const int s2 = GetActualStyle(Item2);
    if (style && style->TextStyles().GetItem(s1)->Unicode != style->TextStyles().GetItem(s2)->Unicode)
        return false;
    // Bytes of UTF-16 and code-page text cannot be joined.
    if ((Item1->ItemOptions & rpioUnicode) != (Item2->ItemOptions & rpioUnicode)) return false;
    if (Item1->Hint != Item2->Hint) return false;
    if (!TagsAreEqual(Item1->Tag, Item2->Tag, TagsArePChars())) return false;
    if (Item2->Checkpoint) return false;
    if (!style) return true;
    return (style->TextStyles().GetItem(s1)->Protection & (rpprModifyProtect | rpprConcateProtect)) == 0;
}

void TCustomRPData::MergeItems(int ItemNo) {
    TCustomRPItemInfo* it1 = GetItem(ItemNo);
    TCustomRPItemInfo* it2 = GetItem(ItemNo + 1);
    if (!it1 || !it2) return;
    if (Items->Get(ItemNo).empty()) {
        JoinIntoNext(*it1, *it2);
        FreeItem(Items->TakeObject(ItemNo), false);
        Items->Delete(ItemNo);
        return;
    }
    MoveCheckpoint(*it2, *it1);
    Items->Text(ItemNo) += Items->Get(ItemNo + 1);
    FreeItem(Items->TakeObject(ItemNo + 1), false);
    Items->Delete(ItemNo + 1);
}

// An empty first run goes; the second takes its place in the line and
// paragraph and keeps its own style, text and checkpoint.
void TCustomRPData::JoinIntoNext(TCustomRPItemInfo& Empty, TCustomRPItemInfo& Next) {
    constexpr TRPItemOptions layout = rpioContinuesPrev | rpioPageBreakBefore | rpioLineBreakBefore;
    Next.ItemOptions =
        static_cast<TRPItemOptions>((Next.ItemOptions & ~layout) | (Empty.ItemOptions & layout));
    Next.ParaNo = Empty.ParaNo;
    MoveCheckpoint(Empty, Next);
}

void TCustomRPData::MoveCheckpoint(TCustomRPItemInfo& From, TCustomRPItemInfo& To) {
    if (!From.Checkpoint || To.Checkpoint) return;
    To.Checkpoint = std::move(From.Checkpoint);
    To.Checkpoint->ItemInfo = &To;
}

void TCustomRPData::MergeRange(int First, int Last) {
    JoinRuns(First, Last,
             [this](TCustomRPItemInfo& Left, bool LeftEmpty, TCustomRPItemInfo& Right, bool RightEmpty) {
                 if (!CanJoinItems(&Left, LeftEmpty, &Right, RightEmpty, false)) return TRPJoin::None;
                 if (LeftEmpty) {
                     JoinIntoNext(Left, Right);
                     return TRPJoin::Right;
                 }
                 MoveCheckpoint(Right, Left);
                 return TRPJoin::Left;
             });
}

int TCustomRPData::JoinRuns(int First, int Last, const TRPJoinRule& Rule) {
    Last = std::min(Last, GetItemCount() - 1);
    First = std::max(First, 0);
    if (Last <= First) return 0;
    // The pairs join from the end: the run that the next one to the left
    // meets (the survivor) is the one joined so far. Its text is its entry's
    // followed by the texts it took from the right, kept apart (in reverse)
    // until it is done; the entries of freed runs go together at the end.
    // Each run is touched once and each byte copied once.
    int survivor = Last;
    std::vector<std::string> taken;
    bool survivorEmpty = Items->Get(survivor).empty();
    const auto settle = [&] {
        if (taken.empty()) return;
        std::string& text = Items->Text(survivor);
        size_t size = text.size();
        for (const std::string& t : taken)
            size += t.size();
        text.reserve(size);
        for (auto it = taken.rbegin(); it != taken.rend(); ++it)
            text += *it;
        taken.clear();
    };
    int freed = 0;
    for (int i = Last - 1; i >= First; --i) {
        TCustomRPItemInfo* left = GetItem(i);
        TCustomRPItemInfo* right = GetItem(survivor);
        const bool leftEmpty = Items->Get(i).empty();
        const TRPJoin join = left && right ? Rule(*left, leftEmpty, *right, survivorEmpty) : TRPJoin::None;
        if (join == TRPJoin::None) {
            settle();
            survivor = i;
            survivorEmpty = leftEmpty;
            continue;
        }
        ++freed;
        if (join == TRPJoin::Right) {
            // The left run is empty: its entry goes.
            FreeItem(Items->TakeObject(i), false);
            continue;
        }
        taken.push_back(std::move(Items->Text(survivor)));
        FreeItem(Items->TakeObject(survivor), false);
        survivor = i;
        survivorEmpty = survivorEmpty && leftEmpty;
    }
    settle();
    if (freed > 0) Items->RemoveEmptyEntries(First, Last);
    return freed;
}

int TCustomRPData::LoadRTF(const std::string& FileName) {
    TRPRTFReaderProperties* props = GetRTFReadProperties();
    if (!props || !RTFFileReader) return rprtfeNoReader;
    const int first = GetItemCount() - 1;
    const int r = RTFFileReader(props, FileName, this);
    MergeRange(first, GetItemCount() - 1);
    return r;
}

// ---------------------------------------------------------------------------
// Checkpoints

void TCustomRPData::LinkPendingCheckpoint(TCustomRPItemInfo* Item, TRPCPInfo*& PrevCP,
                                          std::unique_ptr<TRPCPInfo>& PendingCP) {
    if (!PendingCP || !Item) return;
    TRPCPInfo* cp = PendingCP.get();
    TRPCPInfo* prev = PrevCP;
    const bool wasLast = prev == LastCP;
    cp->Prev = prev;
    cp->ItemInfo = Item;
    if (!prev) {
        cp->Next = FirstCP;
        FirstCP = cp;
    } else {
        cp->Next = prev->Next;
        prev->Next = cp;
    }
    if (cp->Next) cp->Next->Prev = cp;
    if (wasLast) LastCP = cp;
    // An item holds one checkpoint: one it had already goes.
    if (Item->Checkpoint) FreeCheckpoint(Item->Checkpoint, true, true);
    Item->Checkpoint = std::move(PendingCP);
}

void TCustomRPData::UnlinkCheckpoint(TRPCPInfo* CP, bool DecCount) {
    if (!CP) return;
    CP->ItemInfo = nullptr;
    if (FirstCP == CP) FirstCP = CP->Next;
    if (LastCP == CP) LastCP = CP->Prev;
    if (CP->Prev) CP->Prev->Next = CP->Next;
    if (CP->Next) CP->Next->Prev = CP->Prev;
    CP->Prev = CP->Next = nullptr;
    if (DecCount) --CPCount;
}

void TCustomRPData::FreeCheckpoint(std::unique_ptr<TRPCPInfo>& CP, bool Unlink, bool DecCount) {
    if (!CP) return;
    if (Unlink) UnlinkCheckpoint(CP.get(), false);
    CP.reset();
    if (DecCount) --CPCount;
}

void TCustomRPData::InsertCheckpointInOrder(TRPCPInfo* CP, int ItemNo) {
    if (!CP || ItemNo == -1) return;
    UpdateCPItemNumbers();
    CP->ItemNo = ItemNo;
    CP->Next = CP->Prev = nullptr;
    if (!FirstCP) {
        FirstCP = LastCP = CP;
    } else if (ItemNo < FirstCP->ItemNo) {
        CP->Next = FirstCP;
        FirstCP->Prev = CP;
        FirstCP = CP;
    } else if (ItemNo >= LastCP->ItemNo) {
        CP->Prev = LastCP;
        LastCP->Next = CP;
        LastCP = CP;
    } else {
        TRPCPInfo* p = FirstCP;
        while (p->Next && p->Next->ItemNo <= ItemNo)
            p = p->Next;
        CP->Prev = p;
        CP->Next = p->Next;
        if (p->Next) p->Next->Prev = CP;
        p->Next = CP;
    }
}

void TCustomRPData::UpdateCPItemNumbers() {
    if (CPCount == 0) return;
    int met = 0;
    for (int i = 0; i < GetItemCount(); ++i) {
        TCustomRPItemInfo* item = GetItem(i);
        if (item && item->Checkpoint) {
            item->Checkpoint->ItemNo = i;
            if (++met >= CPCount) break;
        }
    }
}

TRPCPInfo* TCustomRPData::FindCheckpointBefore(int ItemNo) {
    UpdateCPItemNumbers();
    if (!FirstCP || FirstCP->ItemNo >= ItemNo) return nullptr;
    TRPCPInfo* p = FirstCP;
    while (p->Next && p->Next->ItemNo < ItemNo)
        p = p->Next;
    return p;
}
