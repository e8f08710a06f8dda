#pragma once
// Draw items: the pieces of items on formatted lines, the list that keeps
// them (with slots reused during a partial reformat), and the records of
// printed pages.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPItem.h"
#include "richtext/model/RPLists.h"

class TRPItemList;

// One piece of an item on one line.
class TRPDrawLineInfo {
public:
    TRPDrawLineInfo() = default;
    TRPDrawLineInfo(const TRPDrawLineInfo&) = delete;
    TRPDrawLineInfo& operator=(const TRPDrawLineInfo&) = delete;
    virtual ~TRPDrawLineInfo() = default;

    // Made through the two setters, so that a descendant's overrides apply.
    template <class T = TRPDrawLineInfo>
    static std::unique_ptr<T> CreateEx(int Left, int Top, int Width, int Height, int ItemNo,
                                       bool FromNewLine) {
        auto d = std::make_unique<T>();
        d->SetPosition(Left, Top, FromNewLine, ItemNo);
        d->SetSize(Width, Height);
        return d;
    }

    int JustifySpace = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int ItemNo = 0;
    int Offs = 0;   // first character of the piece, 1-based
    int Length = 0; // characters of the piece
    int SpaceBelow = 0;
    bool FromNewLine = false;

    virtual void SetPosition(int ALeft, int ATop, bool AFromNewLine, int AItemNo);
    virtual void SetSize(int AWidth, int AHeight);
    // Splitting over printed pages; a plain draw item cannot be split.
    virtual bool InitSplit() { return false; }
    virtual bool CanSplitFirst(int Y) { return (void)Y, false; }
    virtual bool SplitAt(int Y) { return (void)Y, false; }
};

// The slices of an item printed over several pages.
class TRPMultiDrawItemPartsList : public TRPList<TRPMultiDrawItemPart> {
public:
    TRPMultiDrawItemPart* GetItem(int Index) const { return Get(Index); }
};

class TRPMultiDrawItemInfo : public TRPDrawLineInfo {
public:
    TRPMultiDrawItemPartsList PartsList;
};

// The draw items of a formatted document. A pending deleted range holds empty
// slots (their draw items already freed) that the next insertions reuse.
class TRPDrawLines {
public:
    TRPDrawLines() = default;
    TRPDrawLines(const TRPDrawLines&) = delete;
    TRPDrawLines& operator=(const TRPDrawLines&) = delete;

    int DeletedStart = -1;
    int DeletedCount = 0;

    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr for a slot of the pending range.
    TRPDrawLineInfo* GetPiece(int Index) const;
    TRPDrawLineInfo* operator[](int Index) const { return GetPiece(Index); }
    void Add(std::unique_ptr<TRPDrawLineInfo> Piece) {
        FItems.push_back(std::move(Piece));
        ++FStamp;
    }
    void Clear();
    void MarkDeleted(int First, int Last);
    void PurgeDeleted();
    void InsertPiece(int Index, std::unique_ptr<TRPDrawLineInfo> Piece);
    void DeletePiece(int Index);
    void GetPieceText(int Index, const TRPItemList& Items, std::string& s) const;
    void GetPieceSubText(int Index, const TRPItemList& Items, std::string& s, int Count, int Start) const;
    // Changes with every addition, insertion, deletion and clearing. The
    // layout places and moves draw items only in a run that also inserts
    // some, so while the stamp stays, what was learnt of their places holds.
    uint64_t Stamp() const { return FStamp; }

private:
    void CheckIndex(int Index) const;
    std::vector<std::unique_ptr<TRPDrawLineInfo>> FItems;
    uint64_t FStamp = 0;
};

// Where a printed page starts.
class TRPPageInfo {
public:
    int StartDrawItemNo = 0;
    int StartY = 0;
    int StartPart = 0; // 0, or the 1-based slice of a split draw item the page starts with
    int StartY2 = 0;

    // Copies all four fields: a page that starts inside a split draw item
    // needs its part and second origin as much as its start.
    void Assign(const TRPPageInfo& Source) { *this = Source; }
};

class TRPPageCollection : public TRPList<TRPPageInfo> {
public:
    TRPPageInfo* Add() {
        TRPList<TRPPageInfo>::Add(std::make_unique<TRPPageInfo>());
        return Get(Count() - 1);
    }
    TRPPageInfo* GetItem(int Index) const { return Get(Index); }
};
