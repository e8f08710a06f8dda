#pragma once
// Lists at the bottom of the rich-text suite: a list that owns its objects,
// integer and colour lists, the RTF font table, and the weighted similarity
// functions used when style sets are compared.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Colors.h"

// Raised for a bad index, as a list of the framework would.
[[noreturn]] void RPListIndexError(int Index);

// A list that owns its objects: deleting an entry or clearing frees them.
template <class T> class TRPList {
public:
    TRPList() = default;
    TRPList(const TRPList&) = delete;
    TRPList& operator=(const TRPList&) = delete;
    virtual ~TRPList() { Clear(); }

    int Count() const { return static_cast<int>(FItems.size()); }
    T* Get(int Index) const {
        CheckIndex(Index);
        return FItems[static_cast<size_t>(Index)].get();
    }
    T* operator[](int Index) const { return Get(Index); }

    int Add(std::unique_ptr<T> Item) {
        FItems.push_back(std::move(Item));
        return Count() - 1;
    }
    void Insert(int Index, std::unique_ptr<T> Item) {
        if (Index < 0 || Index > Count()) RPListIndexError(Index);
        FItems.insert(FItems.begin() + Index, std::move(Item));
    }
    int IndexOf(const T* Item) const {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i].get() == Item) return static_cast<int>(i);
        return -1;
    }
    // Frees every object from the first upwards, then empties the list.
    virtual void Clear() {
        for (auto& p : FItems)
            p.reset();
        FItems.clear();
    }
    // Frees the object at Index and removes the entry.
    void Delete(int Index) {
        CheckIndex(Index);
        FItems[static_cast<size_t>(Index)].reset();
        FItems.erase(FItems.begin() + Index);
    }
    // Removes the entry and hands its object to the caller.
    std::unique_ptr<T> DeleteNoFree(int Index) {
        CheckIndex(Index);
        std::unique_ptr<T> p = std::move(FItems[static_cast<size_t>(Index)]);
        FItems.erase(FItems.begin() + Index);
        return p;
    }

protected:
    void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    }
    std::vector<std::unique_ptr<T>> FItems;
};

// A list of 32-bit signed integers.
class TRPIntegerList {
public:
    TRPIntegerList() = default;
    virtual ~TRPIntegerList() = default;
    TRPIntegerList(const TRPIntegerList&) = default;
    TRPIntegerList& operator=(const TRPIntegerList&) = default;

    static TRPIntegerList CreateEx(int Count, int32_t Value);
    static TRPIntegerList CreateCopy(const TRPIntegerList& Source);

    int Count() const { return static_cast<int>(FItems.size()); }
    int32_t Get(int Index) const;
    void Put(int Index, int32_t Value);
    int32_t operator[](int Index) const { return Get(Index); }
    int Add(int32_t Value);
    void Insert(int Index, int32_t Value);
    void Delete(int Index);
    int IndexOf(int32_t Value) const;
    // The index of Value when present, else appends it.
    virtual int AddUnique(int32_t Value);
    void Assign(const TRPIntegerList& Source);
    void InitWith(int32_t Value, int Count);
    void SortAscending();
    void Clear() { FItems.clear(); }
    const std::vector<int32_t>& Values() const { return FItems; }

protected:
    std::vector<int32_t> FItems;
};

// Distinct colours (the RTF colour table); clNone is never added.
class TRPColorList : public TRPIntegerList {
public:
    int AddUnique(int32_t Color) override;
};

struct TRPRTFFontTableItem {
    std::string FontName;
    uint8_t Charset = 0;
};

// Font table of the RTF writer; an item's index is its font number.
class TRPRTFFontTable : public TRPList<TRPRTFFontTableItem> {
public:
    int Find(const std::string& FontName, uint8_t Charset) const;
    int AddUnique(const std::string& FontName, uint8_t Charset);
    TRPRTFFontTableItem* GetItem(int Index) const { return Get(Index); }
};

// Case-insensitive comparison of code page 1252 texts (font and style names).
bool RPSameTextNoCase(std::string_view a, std::string_view b);

// Similarity of two integers: A is the reference value.
int RP_CompareInts(int A, int B, int Weight);
// Similarity of two colours (system colours resolved through the fixed table).
int RP_CompareColors(TColor Color1, TColor Color2, int Weight1, int Weight2);
