#pragma once
// Undo and redo of an editable document. Every change that the editor's
// document makes passes through one of its undoable primitives, which writes
// a small record able to reverse it. Records are gathered in groups, one per
// user action; an editable document keeps two lists of groups, the undo list
// and the redo list. Performing a record calls the same primitives, with the
// opposite list recording, so that redo is undo of the undo.
//
// Typing is coalesced: characters typed one after another into one item make
// one group, undone and redone one character per step.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPTypes.h"

class TRPEditRPData;
class TCustomRPItemInfo;
class TRPCPInfo;
class TRPUndoList;

// Action codes of groups.
constexpr uint8_t rpuaDelete = 1;
constexpr uint8_t rpuaInsert = 2;
constexpr uint8_t rpuaParaStyle = 3;
constexpr uint8_t rpuaEnter = 4;
constexpr uint8_t rpuaTyping = 7;
constexpr uint8_t rpuaTextStyle = 9;
constexpr uint8_t rpuaModifyItem = 13;

// Record kinds.
constexpr uint8_t rpukReformat = 0, rpukDeleteItem = 1, rpukDeleteItems = 2, rpukDeleteSubstring = 3,
                  rpukInsertItem = 4, rpukInsertItems = 5, rpukInsertSubstring = 6, rpukNewLine = 7, rpukBR = 8,
                  rpukParaList = 9, rpukPageBreak = 10, rpukTyping = 11, rpukTag = 12, rpukStyleNo = 13,
                  rpukCheckpoint = 14, rpukModifyItem = 15, rpukChangeText = 16;

// One reversible change. Records are polymorphic: tables add their own kinds.
class TRPUndoInfo {
public:
    explicit TRPUndoInfo(uint8_t AKind) : Kind(AKind) {}
    TRPUndoInfo(const TRPUndoInfo&) = delete;
    TRPUndoInfo& operator=(const TRPUndoInfo&) = delete;
    virtual ~TRPUndoInfo() = default;

    uint8_t Kind;
    TRPUndoList* List = nullptr;

    // Reverses the change on RPData (whose recording mode sends the inverse
    // record to the opposite list).
    virtual void Perform(TRPEditRPData& RPData) = 0;
    // Whether the group is spent after performing this record (typing runs
    // last one character per step).
    virtual bool IsSpent() const { return true; }
};

// A record about item ItemNo (LastItemNo ends a range, -1 when none).
class TRPUndoItemNoInfo : public TRPUndoInfo {
public:
    TRPUndoItemNoInfo(uint8_t AKind, int AItemNo) : TRPUndoInfo(AKind), ItemNo(AItemNo) {}
    int ItemNo;
    int LastItemNo = -1;
};

// One user action: its records in the order written and the caret it restores.
class TRPUndoInfos {
public:
    std::vector<std::unique_ptr<TRPUndoInfo>> Infos;
    std::string Caption;
    uint8_t Action = 0;
    int CaretItemNo = -1;
    int CaretOffs = -1;

    bool IsEmpty() const { return Infos.empty(); }
    // A typing run: one typing record that grows with each character.
    bool IsTyping() const { return Infos.size() == 1 && Infos[0]->Kind == rpukTyping; }
    // Performs the records from the last to the first, then puts the caret back.
    void Perform(TRPEditRPData& RPData);
    // Undoes what the records from index From on stand for, last first, with
    // nothing recorded, and drops them: the action's changes since then are gone.
    void RevertFrom(TRPEditRPData& RPData, size_t From);
};

class TRPUndoList {
public:
    explicit TRPUndoList(TRPEditRPData* AOwner) : Owner(AOwner) {}

    TRPEditRPData* Owner;

    int Limit() const { return FLimit; }
    // -1 means no limit; a lower limit than the groups held frees the oldest at once.
    void SetLimit(int Value);
    int GroupMode = 0;

    int Count() const { return static_cast<int>(FGroups.size()); }
    TRPUndoInfos* Group(int Index) const { return FGroups[static_cast<size_t>(Index)].get(); }
    TRPUndoInfos* Last() const { return FGroups.empty() ? nullptr : FGroups.back().get(); }
    uint8_t CurrentAction() const { return FGroups.empty() ? 0 : FGroups.back()->Action; }
    void Clear() { FGroups.clear(); }

    // Opens a group; False when the limit is 0 (nothing is recorded).
    bool BeginItem(uint8_t Action, const std::string& Caption, int CaretItemNo, int CaretOffs);
    // Appends a record to the last group.
    void AddInfo(std::unique_ptr<TRPUndoInfo> Info);
    // Closes an action: an empty last group is freed outside group mode.
    void EndItem();
    // One typed character at caret offset Offs of text item ItemNo.
    void AddTyping(int ItemNo, int Offs, bool Unicode);
    // One undone typed character (its bytes) for the redo list.
    void AddRedoTyping(const std::string& Ch, int ItemNo, int Offs, bool Unicode);
    // One step of the last group. False when the group does not fit the
    // document: what it had changed is put back, and both histories of
    // RPData are emptied, since the steps before it cannot fit either.
    bool Undo(TRPEditRPData& RPData);
    bool Redo(TRPEditRPData& RPData);
    // Moves a ready group into this list (the cell editor hands its own over).
    void AppendGroup(std::unique_ptr<TRPUndoInfos> Group);
    // Takes the last group out of this list (nil when there is none).
    std::unique_ptr<TRPUndoInfos> TakeLast();
    // Takes every group out, oldest first.
    std::vector<std::unique_ptr<TRPUndoInfos>> TakeAll();

private:
    std::vector<std::unique_ptr<TRPUndoInfos>> FGroups;
    int FLimit = -1;
    void FreeEmptyLast();
    void TrimToLimit(int Room);
    // Starts a new typing run with its first record.
    void PushTyping(std::unique_ptr<TRPUndoInfo> Info, int CaretItemNo, int CaretOffs);
    bool Step(TRPEditRPData& RPData, bool IsUndo);
};

// ---------------------------------------------------------------------------
// Bases that hold what a record keeps: a text, a position in it, an item
// object, a list of items, a list of integers.
class TRPUndoStringInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoStringInfo(uint8_t AKind, int AItemNo, std::string AText)
        : TRPUndoItemNoInfo(AKind, AItemNo), Text(std::move(AText)) {}
    std::string Text;
};

class TRPUndoSubStringInfo : public TRPUndoStringInfo {
public:
    TRPUndoSubStringInfo(uint8_t AKind, int AItemNo, int AIndex, std::string AText)
        : TRPUndoStringInfo(AKind, AItemNo, std::move(AText)), Index(AIndex) {}
    int Index;
};

// The held item goes with the record unless the document took it back.
class TRPUndoItemInfo : public TRPUndoStringInfo {
public:
    TRPUndoItemInfo(uint8_t AKind, int AItemNo, std::string AText, std::unique_ptr<TCustomRPItemInfo> AItem);
    ~TRPUndoItemInfo() override;
    std::unique_ptr<TCustomRPItemInfo> Item;
};

class TRPUndoStringItemListInfo : public TRPUndoInfo {
public:
    explicit TRPUndoStringItemListInfo(uint8_t AKind) : TRPUndoInfo(AKind) {}
    ~TRPUndoStringItemListInfo() override;
    // In document order.
    std::vector<std::pair<std::string, std::unique_ptr<TCustomRPItemInfo>>> Items;
};

class TRPUndoItemRangeInfo : public TRPUndoStringItemListInfo {
public:
    TRPUndoItemRangeInfo(uint8_t AKind, int AStartItemNo)
        : TRPUndoStringItemListInfo(AKind), StartItemNo(AStartItemNo) {}
    int StartItemNo;
    int LastItemNo = -1;
};

class TRPUndoListInfo : public TRPUndoInfo {
public:
    explicit TRPUndoListInfo(uint8_t AKind) : TRPUndoInfo(AKind) {}
    std::vector<int> List;
};

// ---------------------------------------------------------------------------
// Record classes.

class TRPUndoDeleteItemInfo : public TRPUndoItemInfo {
public:
    TRPUndoDeleteItemInfo(int AItemNo, std::string AText, std::unique_ptr<TCustomRPItemInfo> AItem)
        : TRPUndoItemInfo(rpukDeleteItem, AItemNo, std::move(AText), std::move(AItem)) {}
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoDeleteItemsInfo : public TRPUndoItemRangeInfo {
public:
    explicit TRPUndoDeleteItemsInfo(int AStartItemNo) : TRPUndoItemRangeInfo(rpukDeleteItems, AStartItemNo) {}
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoDeleteSubstringInfo : public TRPUndoSubStringInfo {
public:
    TRPUndoDeleteSubstringInfo(int AItemNo, int AIndex, std::string AText)
        : TRPUndoSubStringInfo(rpukDeleteSubstring, AItemNo, AIndex, std::move(AText)) {}
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoInsertSubstringInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoInsertSubstringInfo(int AItemNo, int AIndex, int ALength)
        : TRPUndoItemNoInfo(rpukInsertSubstring, AItemNo), Index(AIndex), Length(ALength) {}
    int Index;
    int Length;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoInsertItemsInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoInsertItemsInfo(int AItemNo, int ACount) : TRPUndoItemNoInfo(rpukInsertItems, AItemNo), Count(ACount) {}
    int Count;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoNewLineInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoNewLineInfo(int AItemNo, bool ASameLine, int AParaNo)
        : TRPUndoItemNoInfo(rpukNewLine, AItemNo), SameLine(ASameLine), ParaNo(AParaNo) {}
    bool SameLine;
    int ParaNo;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoBRInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoBRInfo(int AItemNo, bool ABR) : TRPUndoItemNoInfo(rpukBR, AItemNo), BR(ABR) {}
    bool BR;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoPageBreakInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoPageBreakInfo(int AItemNo, bool APageBreak) : TRPUndoItemNoInfo(rpukPageBreak, AItemNo), PageBreak(APageBreak) {}
    bool PageBreak;
    void Perform(TRPEditRPData& RPData) override;
};

// The paragraph styles of items StartItemNo onward, one per item.
class TRPUndoParaListInfo : public TRPUndoListInfo {
public:
    explicit TRPUndoParaListInfo(int AStartItemNo)
        : TRPUndoListInfo(rpukParaList), StartItemNo(AStartItemNo) {}
    int StartItemNo;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoStyleNoInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoStyleNoInfo(int AItemNo, int AStyleNo) : TRPUndoItemNoInfo(rpukStyleNo, AItemNo), StyleNo(AStyleNo) {}
    int StyleNo;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoTagInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoTagInfo(int AItemNo, TRPTag ATag) : TRPUndoItemNoInfo(rpukTag, AItemNo), Tag(std::move(ATag)) {}
    TRPTag Tag;
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoChangeTextInfo : public TRPUndoStringInfo {
public:
    TRPUndoChangeTextInfo(int AItemNo, std::string AText)
        : TRPUndoStringInfo(rpukChangeText, AItemNo, std::move(AText)) {}
    void Perform(TRPEditRPData& RPData) override;
};

class TRPUndoExtraIntProperty : public TRPUndoItemNoInfo {
public:
    TRPUndoExtraIntProperty(int AItemNo, int AProp, int AValue)
        : TRPUndoItemNoInfo(rpukModifyItem, AItemNo), Prop(AProp), Value(AValue) {}
    int Prop;
    int Value;
    void Perform(TRPEditRPData& RPData) override;
};

// A run of typed characters: Length characters from caret offset Index.
class TRPUndoTypingInfo : public TRPUndoInsertSubstringInfo {
public:
    TRPUndoTypingInfo(int AItemNo, int AStart, bool AUnicode)
        : TRPUndoInsertSubstringInfo(AItemNo, AStart, 1), Unicode(AUnicode) {
        Kind = rpukTyping;
    }
    bool Unicode;
    void Perform(TRPEditRPData& RPData) override;
    bool IsSpent() const override { return Length <= 0; }
};

// Undone typed characters, the last one first to be typed back; Index is
// the caret offset after the whole run.
class TRPRedoTypingInfo : public TRPUndoSubStringInfo {
public:
    TRPRedoTypingInfo(int AItemNo, int AOffs, std::string AText, bool AUnicode)
        : TRPUndoSubStringInfo(rpukTyping, AItemNo, AOffs, std::move(AText)), Unicode(AUnicode) {}
    bool Unicode;
    int CharCount() const { return static_cast<int>(Unicode ? Text.size() / 2 : Text.size()); }
    void Perform(TRPEditRPData& RPData) override;
    bool IsSpent() const override { return Text.empty(); }
};

// The size of a control item's control before a resize.
class TRPUndoResizeInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoResizeInfo(int AItemNo, int AWidth, int AHeight)
        : TRPUndoItemNoInfo(rpukModifyItem, AItemNo), Width(AWidth), Height(AHeight) {}
    int Width, Height;
    void Perform(TRPEditRPData& RPData) override;
};

// One inserted item (its own kind; undone like a range of one).
class TRPUndoInsertItemInfo : public TRPUndoInsertItemsInfo {
public:
    explicit TRPUndoInsertItemInfo(int AItemNo) : TRPUndoInsertItemsInfo(AItemNo, 1) { Kind = rpukInsertItem; }
};

// A checkpoint added to item ItemNo: undone by deleting it.
class TRPUndoAddCPInfo : public TRPUndoItemNoInfo {
public:
    explicit TRPUndoAddCPInfo(int AItemNo) : TRPUndoItemNoInfo(rpukCheckpoint, AItemNo) {}
    void Perform(TRPEditRPData& RPData) override;
};

// A checkpoint deleted from item ItemNo, held here: undone by adding it back.
class TRPUndoDeleteCPInfo : public TRPUndoItemNoInfo {
public:
    TRPUndoDeleteCPInfo(int AItemNo, std::unique_ptr<TRPCPInfo> ACheckpoint);
    ~TRPUndoDeleteCPInfo() override;
    std::unique_ptr<TRPCPInfo> Checkpoint;
    void Perform(TRPEditRPData& RPData) override;
};
