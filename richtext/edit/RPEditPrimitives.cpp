// The undoable primitives: every change of an editing operation to the items
// goes through one of them. Each writes the record that reverses it into the
// list that records now (none while nothing records), notes the changed
// items for the reformatting, and then changes the document.
#include <algorithm>
#include <stdexcept>

#include "richtext/edit/RPEditData.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Releases the view's pointers to an item that leaves the document.
void ForgetItem(TCustomRPFormattedData& Data, TCustomRPItemInfo* Item) {
    if (Data.PartialSelectedItem == Item) Data.PartialSelectedItem = nullptr;
    if (Data.CaptureItem == Item) Data.CaptureItem = nullptr;
}

} // namespace

int TRPEditRPData::LastItemOfParaPart(int ItemNo) const {
    const int count = GetItemCount();
    while (ItemNo + 1 < count && !IsParaStart(ItemNo + 1))
        ++ItemNo;
    return ItemNo;
}

// ---------------------------------------------------------------------------
// Items

void TRPEditRPData::DeleteItemWithUndo(int ItemNo) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    MarkChanged(ItemNo, ItemNo);
    Deselect(nullptr, false);
    TCustomRPItemInfo* item = GetItem(ItemNo);
    ForgetItem(*this, item);
    if (GetItemStyle(ItemNo) == rpsnListMarker) RemoveMarkerFromList(item, false);
    TRPUndoList* list = GetUndoList();
    if (!list) {
        FreeItemAt(ItemNo, false);
        Items->Delete(ItemNo);
        return;
    }
    // The checkpoint stays with the item that the record keeps.
    if (item->Checkpoint) UnlinkCheckpoint(item->Checkpoint.get(), true);
    std::string text = Items->Get(ItemNo);
    item->DetachForUndo(ItemNo, this);
    auto held = Items->TakeObject(ItemNo);
    Items->Delete(ItemNo);
    list->AddInfo(std::make_unique<TRPUndoDeleteItemInfo>(ItemNo, std::move(text), std::move(held)));
}

void TRPEditRPData::DeleteItemsWithUndo(int FirstItemNo, int LastItemNo) {
    FirstItemNo = std::max(FirstItemNo, 0);
    LastItemNo = std::min(LastItemNo, GetItemCount() - 1);
    if (LastItemNo < FirstItemNo) return;
    MarkChanged(FirstItemNo, LastItemNo);
    Deselect(nullptr, false);
    TRPUndoList* list = GetUndoList();
    std::unique_ptr<TRPUndoDeleteItemsInfo> rec;
    if (list) {
        rec = std::make_unique<TRPUndoDeleteItemsInfo>(FirstItemNo);
        rec->Items.resize(static_cast<size_t>(LastItemNo - FirstItemNo + 1));
    }
    for (int i = LastItemNo; i >= FirstItemNo; --i) {
        TCustomRPItemInfo* item = GetItem(i);
        ForgetItem(*this, item);
        if (GetItemStyle(i) == rpsnListMarker) RemoveMarkerFromList(item, false);
        if (!rec) {
            FreeItemAt(i, false);
            Items->Delete(i);
            continue;
        }
        if (item->Checkpoint) UnlinkCheckpoint(item->Checkpoint.get(), true);
        auto& slot = rec->Items[static_cast<size_t>(i - FirstItemNo)];
        slot.first = Items->Get(i);
        item->DetachForUndo(i, this);
        slot.second = Items->TakeObject(i);
        Items->Delete(i);
    }
    if (rec) list->AddInfo(std::move(rec));
}

void TRPEditRPData::InsertItemWithUndo(int ItemNo, std::string Text, std::unique_ptr<TCustomRPItemInfo> Item,
                                       bool Reattach) {
    std::vector<std::pair<std::string, std::unique_ptr<TCustomRPItemInfo>>> one;
    one.emplace_back(std::move(Text), std::move(Item));
    InsertItemsWithUndo(ItemNo, std::move(one), Reattach);
}

void TRPEditRPData::InsertItemsWithUndo(int ItemNo,
                                        std::vector<std::pair<std::string, std::unique_ptr<TCustomRPItemInfo>>> List,
                                        bool Reattach) {
    if (List.empty()) return;
    ItemNo = std::clamp(ItemNo, 0, GetItemCount());
    MarkChanged(ItemNo, ItemNo - 1);
    const int n = static_cast<int>(List.size());
    if (TRPUndoList* list = GetUndoList()) {
        if (n == 1)
            list->AddInfo(std::make_unique<TRPUndoInsertItemInfo>(ItemNo));
        else
            list->AddInfo(std::make_unique<TRPUndoInsertItemsInfo>(ItemNo, n));
    }
    std::vector<std::unique_ptr<TRPCPInfo>> checkpoints(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        auto& [text, item] = List[static_cast<size_t>(k)];
        checkpoints[static_cast<size_t>(k)] = std::move(item->Checkpoint);
        TCustomRPItemInfo* raw = item.get();
        raw->Inserting(this, text, false);
        Items->InsertObject(ItemNo + k, std::move(text), std::move(item));
        raw->Inserted(this, ItemNo + k);
        if (GetItemStyle(ItemNo + k) == rpsnListMarker) AddMarkerInList(ItemNo + k);
        if (Reattach) raw->ReattachFromUndo(this);
        raw->UpdatePaletteInfo(GetDoInPaletteMode(), false, GetPalette(), GetLogPalette());
    }
    // The paragraph part after the inserted items joins their paragraph.
    const int lastNew = ItemNo + n - 1;
    if (lastNew + 1 < GetItemCount() && !IsParaStart(lastNew + 1))
        SetParaRangeWithUndo(lastNew + 1, LastItemOfParaPart(lastNew + 1), GetItemPara(lastNew));
    for (int k = 0; k < n; ++k) {
        auto& cp = checkpoints[static_cast<size_t>(k)];
        if (!cp) continue;
        TCustomRPItemInfo* item = GetItem(ItemNo + k);
        cp->ItemInfo = item;
        item->Checkpoint = std::move(cp);
        InsertCheckpointInOrder(item->Checkpoint.get(), ItemNo + k);
        ++CPCount;
    }
}

void TRPEditRPData::RecordInsertedItems(int ItemNo, int Count) {
    if (Count <= 0) return;
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoInsertItemsInfo>(ItemNo, Count));
}

// ---------------------------------------------------------------------------
// Text

void TRPEditRPData::DeleteSubstringWithUndo(int ItemNo, int Index, int Count) {
    if (Count == 0 || !IsTextItem(ItemNo)) return;
    std::string& text = Items->Text(ItemNo);
    const TRPItemOptions opts = GetItemOptions(ItemNo);
    const int len = ItemTextLength(text, opts);
    if (Index < 1 || Index > len) return;
    if (Count < 0 || Index + Count - 1 > len) Count = len - Index + 1;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoDeleteSubstringInfo>(ItemNo, Index, ItemTextCopy(text, Index, Count, opts)));
    ItemTextDelete(text, Index, Count, opts);
    DoItemAction(rpiaInserted, GetItem(ItemNo), text, this);
}

void TRPEditRPData::InsertSubstringWithUndo(int ItemNo, int Index, const std::string& s) {
    if (s.empty()) return;
    if (!IsTextItem(ItemNo)) throw std::runtime_error("Undo error");
    const TRPItemOptions opts = GetItemOptions(ItemNo);
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoInsertSubstringInfo>(ItemNo, Index, ItemTextLength(s, opts)));
    std::string& text = Items->Text(ItemNo);
    ItemTextInsert(s, text, Index, opts);
    DoItemAction(rpiaInserted, GetItem(ItemNo), text, this);
}

void TRPEditRPData::ChangeTextWithUndo(int ItemNo, const std::string& s) {
    if (ItemNo < 0 || ItemNo >= GetItemCount() || GetItemText(ItemNo) == s) return;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoChangeTextInfo>(ItemNo, GetItemText(ItemNo)));
    Items->Put(ItemNo, s);
    DoItemAction(rpiaInserted, GetItem(ItemNo), Items->Text(ItemNo), this);
}

// ---------------------------------------------------------------------------
// Paragraphs and flags

void TRPEditRPData::SetParaRangeWithUndo(int FirstItemNo, int LastItemNo, int ParaNo) {
    FirstItemNo = std::max(FirstItemNo, 0);
    LastItemNo = std::min(LastItemNo, GetItemCount() - 1);
    if (LastItemNo < FirstItemNo) return;
    std::vector<int> values;
    bool changes = false;
    for (int i = FirstItemNo; i <= LastItemNo; ++i) {
        const TCustomRPItemInfo* item = GetItem(i);
        // A protected paragraph style stays, unless the item only continues a
        // paragraph that already has the new style.
        const int before = i == FirstItemNo ? (i > 0 ? GetItemPara(i - 1) : -1) : values.back();
        const bool joins = !item->StartsPara() && i > 0 && before == ParaNo;
        const int v = IsItemParaOptionSet(i, rppaoStyleProtect) && !joins ? item->ParaNo : ParaNo;
        values.push_back(v);
        changes |= v != item->ParaNo;
    }
    if (changes) SetParasFromListWithUndo(FirstItemNo, values);
}

void TRPEditRPData::SetParasFromListWithUndo(int ItemNo, const std::vector<int>& List) {
    const int n = std::min(static_cast<int>(List.size()), GetItemCount() - ItemNo);
    if (ItemNo < 0 || n <= 0) return;
    MarkChanged(ItemNo, ItemNo + n - 1);
    // One paragraph style per item: undoing a change that spanned paragraphs
    // of different styles gives each its own back.
    if (TRPUndoList* list = GetUndoList()) {
        auto rec = std::make_unique<TRPUndoParaListInfo>(ItemNo);
        for (int i = 0; i < n; ++i)
            rec->List.push_back(GetItemPara(ItemNo + i));
        list->AddInfo(std::move(rec));
    }
    for (int i = 0; i < n; ++i)
        GetItem(ItemNo + i)->ParaNo = List[static_cast<size_t>(i)];
}

void TRPEditRPData::SetStyleNoWithUndo(int ItemNo, int StyleNo) {
    if (!IsTextItem(ItemNo) || GetItem(ItemNo)->StyleNo == StyleNo || StyleNo < 0) return;
    MarkChanged(ItemNo, ItemNo);
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoStyleNoInfo>(ItemNo, item->StyleNo));
    ApplyStyleNo(*item, StyleNo);
}

void TRPEditRPData::ApplyStyleNo(TCustomRPItemInfo& Item, int StyleNo) const {
    const TRPStyle* style = GetRPStyle();
    const auto isUnicode = [style](int sn) {
        return style && sn >= 0 && sn < style->TextStyles().Count() && style->TextStyles().GetItem(sn)->Unicode;
    };
    const bool oldU = isUnicode(Item.StyleNo), newU = isUnicode(StyleNo);
    Item.StyleNo = StyleNo;
    if (oldU && !newU) Item.ItemOptions &= ~rpioUnicode;
    if (!oldU && newU) Item.ItemOptions |= rpioUnicode;
}

void TRPEditRPData::SetSameLineWithUndo(int ItemNo, bool SameLine, int ParaNo) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (item->GetBoolValue(rpbivFullLine)) return;
    if (item->GetContinuesPrev() == SameLine) return;
    if (SameLine) {
        SetLineBreakWithUndo(ItemNo, false);
        SetPageBreakWithUndo(ItemNo, false);
    }
    const int count = GetItemCount();
    int last = ItemNo + 1 >= count || IsParaStart(ItemNo + 1) ? -1 : LastItemOfParaPart(ItemNo + 1);
    MarkChanged(ItemNo, last < 0 ? ItemNo : last);
    if (TRPUndoList* list = GetUndoList()) {
        // The record gives one style back to the whole range: one that had
        // several gets them back through a record of their own.
        bool mixed = false;
        for (int i = ItemNo + 1; i <= last; ++i)
            mixed |= GetItem(i)->ParaNo != item->ParaNo;
        if (mixed) SetParasFromListWithUndo(ItemNo, std::vector<int>(static_cast<size_t>(last - ItemNo + 1), item->ParaNo));
        auto rec = std::make_unique<TRPUndoNewLineInfo>(ItemNo, item->GetContinuesPrev(), item->ParaNo);
        rec->LastItemNo = last;
        list->AddInfo(std::move(rec));
    }
    if (last < 0) last = ItemNo;
    // The paragraph styles go back with the flag when the record is performed;
    // joining a line takes the style of the line before unless one is given.
    const int para = SameLine && ParaNo < 0 ? (ItemNo > 0 ? GetItemPara(ItemNo - 1) : -1) : ParaNo;
    if (para != -1)
        for (int i = ItemNo; i <= last; ++i)
            GetItem(i)->ParaNo = para;
    item->SetContinuesPrev(SameLine);
}

void TRPEditRPData::JoinLineWithUndo(int ItemNo) {
    if (ItemNo <= 0 || ItemNo >= GetItemCount() || IsFullLineItem(ItemNo - 1)) return;
    SetSameLineWithUndo(ItemNo, true, -1);
}

void TRPEditRPData::SeparateFromFullLines(int First, int Last) {
    for (int i = std::max(First, 1); i <= Last && i < GetItemCount(); ++i)
        if (GetItem(i)->GetContinuesPrev() && IsFullLineItem(i - 1)) SetSameLineWithUndo(i, false, GetItemPara(i));
}

void TRPEditRPData::SetLineBreakWithUndo(int ItemNo, bool BR) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (item->GetLineBreakBefore() == BR) return;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoBRInfo>(ItemNo, !BR));
    if (BR) item->SetContinuesPrev(false);
    item->SetLineBreakBefore(BR);
}

void TRPEditRPData::SetPageBreakWithUndo(int ItemNo, bool PageBreak) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    if (ItemNo > 0 && GetItemStyle(ItemNo - 1) == rpsnListMarker) --ItemNo;
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (item->GetPageBreakBefore() == PageBreak) return;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoPageBreakInfo>(ItemNo, !PageBreak));
    item->SetPageBreakBefore(PageBreak);
}

void TRPEditRPData::SetTagWithUndo(int ItemNo, const TRPTag& Tag) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    const bool pchars = (GetOptions() & rpoTagsArePChars) != 0;
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (TagsAreEqual(item->Tag, Tag, pchars)) return;
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoTagInfo>(ItemNo, CopyTag(item->Tag, pchars)));
    item->Tag = CopyTag(Tag, pchars);
}

bool TRPEditRPData::SetExtraIntPropertyWithUndo(int ItemNo, int Prop, int Value) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return false;
    TCustomRPItemInfo* item = GetItem(ItemNo);
    int old = 0;
    if (!item->GetExtraIntProperty(Prop, old)) return false;
    if (old == Value) return true;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoExtraIntProperty>(ItemNo, Prop, old));
    item->SetExtraIntProperty(Prop, Value);
    return true;
}

bool TRPEditRPData::ResizeWithUndo(int ItemNo, int Width, int Height) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return false;
    auto* item = dynamic_cast<TRPControlItemInfo*>(GetItem(ItemNo));
    if (!item || !item->Control) return false;
    TControl* control = item->Control.get();
    if (control->Width() == Width && control->Height() == Height) return true;
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoResizeInfo>(ItemNo, control->Width(), control->Height()));
    ResizeControlItem(ItemNo, Width, Height, false);
    return true;
}

void TRPEditRPData::MergeTextItemsWithUndo(int ItemNo) {
    if (!IsTextItem(ItemNo) || !IsTextItem(ItemNo + 1)) return;
    TCustomRPItemInfo* a = GetItem(ItemNo);
    TCustomRPItemInfo* b = GetItem(ItemNo + 1);
    if (a->IsUnicode() != b->IsUnicode() && !GetItemText(ItemNo + 1).empty()) {
        // The first one is empty: the second takes its place.
        if (!a->GetContinuesPrev()) {
            const bool br = a->GetLineBreakBefore();
            SetSameLineWithUndo(ItemNo + 1, false, a->ParaNo);
            if (br) SetLineBreakWithUndo(ItemNo + 1, true);
        }
        // Its checkpoint stays with the text.
        if (a->Checkpoint && !b->Checkpoint) AddCheckpointWithUndo(ItemNo + 1, a->Checkpoint->CreateCopy());
        DeleteItemWithUndo(ItemNo);
        return;
    }
    const bool firstEmpty = GetItemText(ItemNo).empty();
    if (firstEmpty) SetTagWithUndo(ItemNo, b->Tag);
    InsertSubstringWithUndo(ItemNo, ItemTextLength(GetItemText(ItemNo), a->ItemOptions) + 1, GetItemText(ItemNo + 1));
    if (firstEmpty) SetStyleNoWithUndo(ItemNo, b->StyleNo);
    if (b->Checkpoint && !a->Checkpoint) AddCheckpointWithUndo(ItemNo, b->Checkpoint->CreateCopy());
    DeleteItemWithUndo(ItemNo + 1);
}

// ---------------------------------------------------------------------------
// Checkpoints

void TRPEditRPData::AddCheckpointWithUndo(int ItemNo, std::unique_ptr<TRPCPInfo> Checkpoint) {
    if (!Checkpoint) return;
    if (ItemNo < 0 || ItemNo >= GetItemCount() || GetItem(ItemNo)->Checkpoint) throw ERichPadError("Checkpoint error");
    MarkChanged(ItemNo, ItemNo);
    if (TRPUndoList* list = GetUndoList()) list->AddInfo(std::make_unique<TRPUndoAddCPInfo>(ItemNo));
    TCustomRPItemInfo* item = GetItem(ItemNo);
    Checkpoint->ItemInfo = item;
    item->Checkpoint = std::move(Checkpoint);
    InsertCheckpointInOrder(item->Checkpoint.get(), ItemNo);
    ++CPCount;
}

void TRPEditRPData::DeleteCheckpointWithUndo(int ItemNo) {
    if (ItemNo < 0 || ItemNo >= GetItemCount() || !GetItem(ItemNo)->Checkpoint) throw ERichPadError("Checkpoint error");
    MarkChanged(ItemNo, ItemNo);
    TCustomRPItemInfo* item = GetItem(ItemNo);
    if (LastCheckpointReported == item->Checkpoint.get()) LastCheckpointReported = nullptr;
    UnlinkCheckpoint(item->Checkpoint.get(), true);
    std::unique_ptr<TRPCPInfo> cp = std::move(item->Checkpoint);
    if (TRPUndoList* list = GetUndoList())
        list->AddInfo(std::make_unique<TRPUndoDeleteCPInfo>(ItemNo, std::move(cp)));
}

void TRPEditRPData::MoveCheckpointWithUndo(int FromItemNo, int ToItemNo) {
    if (FromItemNo == ToItemNo || FromItemNo < 0 || FromItemNo >= GetItemCount() || ToItemNo < 0 ||
        ToItemNo >= GetItemCount() || !GetItem(FromItemNo)->Checkpoint)
        return;
    if (GetItem(ToItemNo)->Checkpoint) DeleteCheckpointWithUndo(ToItemNo);
    AddCheckpointWithUndo(ToItemNo, GetItem(FromItemNo)->Checkpoint->CreateCopy());
    DeleteCheckpointWithUndo(FromItemNo);
}

bool TRPEditRPData::HasKeptCheckpoint(int ItemNo) const {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return false;
    const TRPCPInfo* cp = GetItem(ItemNo)->Checkpoint.get();
    return cp && cp->Persistent;
}

bool TRPEditRPData::KeepCheckpointOnDelete(int ItemNo, bool BackwardOnly) {
    if (!HasKeptCheckpoint(ItemNo)) return true;
    const int next = ItemNo + 1;
    if (!BackwardOnly && next < GetItemCount() && !IsParaStart(next) && !HasKeptCheckpoint(next)) {
        MoveCheckpointWithUndo(ItemNo, next);
        return true;
    }
    if (ItemNo > 0 && !IsParaStart(ItemNo) && !HasKeptCheckpoint(ItemNo - 1)) {
        MoveCheckpointWithUndo(ItemNo, ItemNo - 1);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Typing records

void TRPEditRPData::UndoTypedChar(TRPUndoTypingInfo& Info) {
    if (!IsTextItem(Info.ItemNo)) {
        Info.Length = 0;
        return;
    }
    const TRPItemOptions opts = GetItemOptions(Info.ItemNo);
    const int at = Info.Index + Info.Length - 1;
    MarkChanged(Info.ItemNo, Info.ItemNo);
    std::string& text = Items->Text(Info.ItemNo);
    const std::string ch = ItemTextCopy(text, at, 1, opts);
    ItemTextDelete(text, at, 1, opts);
    --Info.Length;
    if (TRPUndoList* list = GetUndoList()) list->AddRedoTyping(ch, Info.ItemNo, at + 1, (opts & rpioUnicode) != 0);
}

void TRPEditRPData::RedoTypedChar(TRPRedoTypingInfo& Info) {
    if (!IsTextItem(Info.ItemNo)) {
        Info.Text.clear();
        return;
    }
    const TRPItemOptions opts = GetItemOptions(Info.ItemNo);
    const size_t size = Info.Unicode ? 2 : 1;
    const int at = Info.Index - Info.CharCount();
    const std::string ch = Info.Text.substr(Info.Text.size() - size);
    Info.Text.resize(Info.Text.size() - size);
    MarkChanged(Info.ItemNo, Info.ItemNo);
    ItemTextInsert(ch, Items->Text(Info.ItemNo), at, opts);
    if (TRPUndoList* list = GetUndoList()) list->AddTyping(Info.ItemNo, at, (opts & rpioUnicode) != 0);
}
