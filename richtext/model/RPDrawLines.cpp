#include "richtext/model/RPDrawLines.h"

#include <algorithm>

#include "richtext/model/RPData.h"
#include "richtext/model/RPUnicode.h"

void TRPDrawLineInfo::SetPosition(int ALeft, int ATop, bool AFromNewLine, int AItemNo) {
    Left = ALeft;
    Top = ATop;
    FromNewLine = AFromNewLine;
    ItemNo = AItemNo;
}

void TRPDrawLineInfo::SetSize(int AWidth, int AHeight) {
    Width = AWidth;
    Height = AHeight;
}

void TRPDrawLines::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
}

TRPDrawLineInfo* TRPDrawLines::GetPiece(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].get();
}

void TRPDrawLines::Clear() {
    ++FStamp;
    FItems.clear();
    DeletedStart = -1;
    DeletedCount = 0;
}

void TRPDrawLines::MarkDeleted(int First, int Last) {
    ++FStamp;
    if (First < 0) First = 0;
    if (Last >= Count()) Last = Count() - 1;
    if (Last < First) {
        DeletedStart = First;
        DeletedCount = 0;
        return;
    }
    DeletedStart = First;
    DeletedCount = Last - First + 1;
    // The slots stay but hold nothing, so a freed draw item cannot be reached.
    for (int i = First; i <= Last; ++i)
        FItems[static_cast<size_t>(i)].reset();
}

void TRPDrawLines::InsertPiece(int Index, std::unique_ptr<TRPDrawLineInfo> Piece) {
    ++FStamp;
    if (DeletedCount > 0) {
        CheckIndex(Index);
        FItems[static_cast<size_t>(Index)] = std::move(Piece);
        ++DeletedStart;
        --DeletedCount;
    } else {
        if (Index < 0 || Index > Count()) RPListIndexError(Index);
        FItems.insert(FItems.begin() + Index, std::move(Piece));
    }
}

void TRPDrawLines::DeletePiece(int Index) {
    CheckIndex(Index);
    ++FStamp;
    if (DeletedCount > 0) {
        FItems[static_cast<size_t>(Index)].reset();
        --DeletedStart;
        ++DeletedCount;
    } else {
        FItems.erase(FItems.begin() + Index);
    }
}

void TRPDrawLines::PurgeDeleted() {
    ++FStamp;
    if (DeletedCount != 0 && DeletedStart >= 0) {
        int first = std::min(DeletedStart, Count());
        int last = std::min(DeletedStart + DeletedCount, Count());
        FItems.erase(FItems.begin() + first, FItems.begin() + last);
    }
    DeletedCount = 0;
    DeletedStart = -1;
}

void TRPDrawLines::GetPieceText(int Index, const TRPItemList& Items, std::string& s) const {
    const TRPDrawLineInfo* d = GetPiece(Index);
    s.clear();
    if (!d) return;
    const TCustomRPItemInfo* item = Items.GetObject(d->ItemNo);
    s = ItemTextCopy(Items.Get(d->ItemNo), d->Offs, d->Length, item ? item->ItemOptions : 0);
}

void TRPDrawLines::GetPieceSubText(int Index, const TRPItemList& Items, std::string& s, int Count,
                                   int Start) const {
    const TRPDrawLineInfo* d = GetPiece(Index);
    s.clear();
    if (!d) return;
    if (Start + Count > d->Length + 1) Count = d->Length - Start + 1;
    if (Count <= 0 || Start < 1) return;
    const TCustomRPItemInfo* item = Items.GetObject(d->ItemNo);
    s = ItemTextCopy(Items.Get(d->ItemNo), d->Offs + Start - 1, Count, item ? item->ItemOptions : 0);
}
