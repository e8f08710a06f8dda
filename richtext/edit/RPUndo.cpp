#include "richtext/edit/RPUndo.h"

#include <stdexcept>

#include "richtext/edit/RPEditData.h"
#include "richtext/model/RPItem.h"

// ---------------------------------------------------------------------------
// Groups

void TRPUndoInfos::Perform(TRPEditRPData& RPData) {
    if (Infos.empty()) return;
    RPData.Deselect(nullptr, false);
    for (size_t i = Infos.size(); i-- > 0;)
        Infos[i]->Perform(RPData);
    RPData.ReformatAfterEdit();
    // A step that reopened a table cell leaves the caret in the cell's editor.
    if (!RPData.GetCellEditor()) RPData.SetCaretItemPos(CaretItemNo, CaretOffs);
    RPData.InvalidateView();
}

void TRPUndoInfos::RevertFrom(TRPEditRPData& RPData, size_t From) {
    const uint8_t mode = RPData.UndoMode;
    RPData.UndoMode = 0;
    try {
        while (Infos.size() > From) {
            std::unique_ptr<TRPUndoInfo> last = std::move(Infos.back());
            Infos.pop_back();
            last->Perform(RPData);
        }
    } catch (...) {
        RPData.UndoMode = mode;
        throw;
    }
    RPData.UndoMode = mode;
}

// ---------------------------------------------------------------------------
// Lists

void TRPUndoList::SetLimit(int Value) {
    FLimit = Value;
    // Groups beyond a lowered limit would otherwise wait for the next action.
    if (FLimit >= 0) TrimToLimit(0);
}

void TRPUndoList::TrimToLimit(int Room) {
    if (FLimit < 0) return;
    const size_t keep = static_cast<size_t>(std::max(0, FLimit - Room));
    if (FGroups.size() > keep) FGroups.erase(FGroups.begin(), FGroups.begin() + static_cast<long>(FGroups.size() - keep));
}

void TRPUndoList::FreeEmptyLast() {
    if (!FGroups.empty() && FGroups.back()->IsEmpty()) FGroups.pop_back();
}

bool TRPUndoList::BeginItem(uint8_t Action, const std::string& Caption, int CaretItemNo, int CaretOffs) {
    if (FLimit == 0) return false;
    if (GroupMode > 0 && !FGroups.empty()) {
        if (!FGroups.back()->IsTyping()) return true;
    }
    std::string caption = Caption;
    if (!FGroups.empty() && FGroups.back()->IsEmpty()) {
        // The new action inherits the caption and caret of an empty one.
        caption = FGroups.back()->Caption;
        CaretItemNo = FGroups.back()->CaretItemNo;
        CaretOffs = FGroups.back()->CaretOffs;
        FGroups.pop_back();
    }
    TrimToLimit(1);
    auto g = std::make_unique<TRPUndoInfos>();
    g->Action = Action;
    g->Caption = caption;
    g->CaretItemNo = CaretItemNo;
    g->CaretOffs = CaretOffs;
    FGroups.push_back(std::move(g));
    return true;
}

void TRPUndoList::AddInfo(std::unique_ptr<TRPUndoInfo> Info) {
    if (FGroups.empty()) throw ERichPadError("Can't modify empty undo list");
    TRPUndoInfos* g = FGroups.back().get();
    if (g->IsTyping()) throw ERichPadError("Incorrect adding into undo list");
    Info->List = this;
    g->Infos.push_back(std::move(Info));
}

void TRPUndoList::EndItem() {
    if (GroupMode <= 0) FreeEmptyLast();
}

void TRPUndoList::AddTyping(int ItemNo, int Offs, bool Unicode) {
    if (FLimit == 0) return;
    FreeEmptyLast();
    if (!FGroups.empty()) {
        TRPUndoInfos* g = FGroups.back().get();
        auto* t = g->Infos.empty() ? nullptr : dynamic_cast<TRPUndoTypingInfo*>(g->Infos[0].get());
        if (t && g->Infos.size() == 1 && t->ItemNo == ItemNo && t->Index + t->Length == Offs) {
            ++t->Length;
            ++g->CaretOffs;
            return;
        }
    }
    PushTyping(std::make_unique<TRPUndoTypingInfo>(ItemNo, Offs, Unicode), ItemNo, Offs);
}

void TRPUndoList::AddRedoTyping(const std::string& Ch, int ItemNo, int Offs, bool Unicode) {
    if (FLimit == 0) return;
    FreeEmptyLast();
    if (!FGroups.empty()) {
        TRPUndoInfos* g = FGroups.back().get();
        auto* t = g->Infos.empty() ? nullptr : dynamic_cast<TRPRedoTypingInfo*>(g->Infos[0].get());
        if (t && g->Infos.size() == 1 && t->ItemNo == ItemNo && t->Index - t->CharCount() == Offs) {
            t->Text += Ch;
            --g->CaretOffs;
            return;
        }
    }
    PushTyping(std::make_unique<TRPRedoTypingInfo>(ItemNo, Offs, Ch, Unicode), ItemNo, Offs);
}

void TRPUndoList::PushTyping(std::unique_ptr<TRPUndoInfo> Info, int CaretItemNo, int CaretOffs) {
    TrimToLimit(1);
    auto g = std::make_unique<TRPUndoInfos>();
    g->Action = rpuaTyping;
    g->CaretItemNo = CaretItemNo;
    g->CaretOffs = CaretOffs;
    Info->List = this;
    g->Infos.push_back(std::move(Info));
    FGroups.push_back(std::move(g));
}

void TRPUndoList::AppendGroup(std::unique_ptr<TRPUndoInfos> Group) {
    if (!Group || FLimit == 0) return;
    // An action left empty would otherwise cost the user an undo step.
    if (GroupMode <= 0) FreeEmptyLast();
    for (auto& i : Group->Infos)
        i->List = this;
    TrimToLimit(1);
    FGroups.push_back(std::move(Group));
}

std::unique_ptr<TRPUndoInfos> TRPUndoList::TakeLast() {
    if (FGroups.empty()) return nullptr;
    std::unique_ptr<TRPUndoInfos> g = std::move(FGroups.back());
    FGroups.pop_back();
    return g;
}

std::vector<std::unique_ptr<TRPUndoInfos>> TRPUndoList::TakeAll() {
    std::vector<std::unique_ptr<TRPUndoInfos>> all = std::move(FGroups);
    FGroups.clear();
    return all;
}

bool TRPUndoList::Undo(TRPEditRPData& RPData) {
    return Step(RPData, true);
}

bool TRPUndoList::Redo(TRPEditRPData& RPData) {
    return Step(RPData, false);
}

namespace {

// Reverses what a failed step had done, through the inverse records that it
// wrote from index From of Group on, and leaves nothing recorded.
void RevertFailedStep(TRPEditRPData& RPData, TRPUndoList* Other, TRPUndoInfos* Group, size_t From) {
    RPData.UndoMode = 0;
    bool held = false;
    for (int i = 0; Other && Group && i < Other->Count(); ++i)
        held = held || Other->Group(i) == Group;
    if (held) {
        try {
            Group->RevertFrom(RPData, From);
        } catch (const std::exception&) {
            // The records reverse what was done a moment ago; should one still
            // fail, the document keeps the structure each primitive checks.
        }
    }
    RPData.UndoMode = 0;
    RPData.UndoList->Clear();
    RPData.RedoList->Clear();
    RPData.RecoverAfterFailedStep();
}

} // namespace

bool TRPUndoList::Step(TRPEditRPData& RPData, bool IsUndo) {
    if (FGroups.empty()) throw ERichPadError("Undo buffer is empty");
    // The group stays owned here while it runs: its records write into the other list.
    TRPUndoInfos* g = FGroups.back().get();
    if (IsUndo)
        RPData.BeginRedoSequence(g->Action, g->Caption);
    else
        RPData.BeginNamedUndoSequence(g->Action, g->Caption, true);
    const uint8_t mode = RPData.UndoMode;
    TRPUndoList* other = mode == 2 ? RPData.RedoList.get() : mode == 1 ? RPData.UndoList.get() : nullptr;
    TRPUndoInfos* inverse = other ? other->Last() : nullptr;
    const size_t written = inverse ? inverse->Infos.size() : 0;
    try {
        g->Perform(RPData);
    } catch (const std::exception&) {
        // A group that names items the document does not hold (an error, or
        // a history that lost step with its document) is never half applied.
        RevertFailedStep(RPData, other, inverse, written);
        return false;
    }
    const uint8_t after = RPData.UndoMode;
    RPData.UndoMode = 0;
    if (TRPUndoList* o = after == 2 ? RPData.RedoList.get() : after == 1 ? RPData.UndoList.get() : nullptr)
        o->EndItem();
    if (!g->IsTyping() || g->Infos[0]->IsSpent()) {
        if (!FGroups.empty() && FGroups.back().get() == g) FGroups.pop_back();
    } else if (dynamic_cast<TRPUndoTypingInfo*>(g->Infos[0].get())) {
        --g->CaretOffs;
    } else {
        ++g->CaretOffs;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Records

TRPUndoItemInfo::TRPUndoItemInfo(uint8_t AKind, int AItemNo, std::string AText,
                                 std::unique_ptr<TCustomRPItemInfo> AItem)
    : TRPUndoStringInfo(AKind, AItemNo, std::move(AText)), Item(std::move(AItem)) {}

TRPUndoItemInfo::~TRPUndoItemInfo() = default;

TRPUndoStringItemListInfo::~TRPUndoStringItemListInfo() = default;

void TRPUndoDeleteItemInfo::Perform(TRPEditRPData& RPData) {
    if (Item) RPData.InsertItemWithUndo(ItemNo, Text, std::move(Item), true);
}

void TRPUndoDeleteItemsInfo::Perform(TRPEditRPData& RPData) {
    if (Items.empty()) return;
    LastItemNo = StartItemNo + static_cast<int>(Items.size()) - 1;
    RPData.InsertItemsWithUndo(StartItemNo, std::move(Items), true);
    Items.clear();
}

void TRPUndoDeleteSubstringInfo::Perform(TRPEditRPData& RPData) {
    RPData.InsertSubstringWithUndo(ItemNo, Index, Text);
}

void TRPUndoInsertSubstringInfo::Perform(TRPEditRPData& RPData) {
    RPData.DeleteSubstringWithUndo(ItemNo, Index, Length);
}

void TRPUndoInsertItemsInfo::Perform(TRPEditRPData& RPData) {
    if (Count == 1)
        RPData.DeleteItemWithUndo(ItemNo);
    else
        RPData.DeleteItemsWithUndo(ItemNo, ItemNo + Count - 1);
}

void TRPUndoNewLineInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetSameLineWithUndo(ItemNo, SameLine, ParaNo);
}

void TRPUndoBRInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetLineBreakWithUndo(ItemNo, BR);
}

void TRPUndoPageBreakInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetPageBreakWithUndo(ItemNo, PageBreak);
}

void TRPUndoParaListInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetParasFromListWithUndo(StartItemNo, List);
}

void TRPUndoStyleNoInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetStyleNoWithUndo(ItemNo, StyleNo);
}

void TRPUndoTagInfo::Perform(TRPEditRPData& RPData) {
    RPData.SetTagWithUndo(ItemNo, Tag);
}

void TRPUndoChangeTextInfo::Perform(TRPEditRPData& RPData) {
    RPData.ChangeTextWithUndo(ItemNo, Text);
}

void TRPUndoExtraIntProperty::Perform(TRPEditRPData& RPData) {
    RPData.SetExtraIntPropertyWithUndo(ItemNo, Prop, Value);
}

void TRPUndoResizeInfo::Perform(TRPEditRPData& RPData) {
    RPData.ResizeWithUndo(ItemNo, Width, Height);
}

void TRPUndoTypingInfo::Perform(TRPEditRPData& RPData) {
    if (Length > 0) RPData.UndoTypedChar(*this);
}

void TRPRedoTypingInfo::Perform(TRPEditRPData& RPData) {
    if (!Text.empty()) RPData.RedoTypedChar(*this);
}

void TRPUndoAddCPInfo::Perform(TRPEditRPData& RPData) {
    RPData.DeleteCheckpointWithUndo(ItemNo);
}

TRPUndoDeleteCPInfo::TRPUndoDeleteCPInfo(int AItemNo, std::unique_ptr<TRPCPInfo> ACheckpoint)
    : TRPUndoItemNoInfo(rpukCheckpoint, AItemNo), Checkpoint(std::move(ACheckpoint)) {}

TRPUndoDeleteCPInfo::~TRPUndoDeleteCPInfo() = default;

void TRPUndoDeleteCPInfo::Perform(TRPEditRPData& RPData) {
    if (Checkpoint) RPData.AddCheckpointWithUndo(ItemNo, std::move(Checkpoint));
}
