#include "richtext/model/RPLists.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Runtime.h"

void RPListIndexError(int Index) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
}

TRPIntegerList TRPIntegerList::CreateEx(int Count, int32_t Value) {
    TRPIntegerList l;
    l.InitWith(Value, Count);
    return l;
}

TRPIntegerList TRPIntegerList::CreateCopy(const TRPIntegerList& Source) {
    TRPIntegerList l;
    l.Assign(Source);
    return l;
}

int32_t TRPIntegerList::Get(int Index) const {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TRPIntegerList::Put(int Index, int32_t Value) {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    FItems[static_cast<size_t>(Index)] = Value;
}

int TRPIntegerList::Add(int32_t Value) {
    FItems.push_back(Value);
    return Count() - 1;
}

void TRPIntegerList::Insert(int Index, int32_t Value) {
    if (Index < 0 || Index > Count()) RPListIndexError(Index);
    FItems.insert(FItems.begin() + Index, Value);
}

void TRPIntegerList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

int TRPIntegerList::IndexOf(int32_t Value) const {
    auto it = std::find(FItems.begin(), FItems.end(), Value);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TRPIntegerList::AddUnique(int32_t Value) {
    int i = IndexOf(Value);
    return i >= 0 ? i : Add(Value);
}

void TRPIntegerList::Assign(const TRPIntegerList& Source) {
    if (&Source == this) return;
    FItems.clear();
    FItems.reserve(Source.FItems.size());
    FItems.insert(FItems.end(), Source.FItems.begin(), Source.FItems.end());
}

void TRPIntegerList::InitWith(int32_t Value, int Count) {
    FItems.clear();
    if (Count > 0) FItems.assign(static_cast<size_t>(Count), Value);
}

void TRPIntegerList::SortAscending() {
    std::sort(FItems.begin(), FItems.end());
}

int TRPColorList::AddUnique(int32_t Color) {
    // clNone never goes into a colour table; callers ignore the answer then.
    if (Color == clNone) return -1;
    return TRPIntegerList::AddUnique(Color);
}

namespace {
// Case-insensitive comparison of code page 1252 names (ASCII and Latin-1 letters).
unsigned char Upper1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<unsigned char>(c - 32);
    if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 16);
    if (c == 0xFF) return 0x9F;
    return c;
}
} // namespace

bool RPSameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper1252(static_cast<unsigned char>(a[i])) != Upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int TRPRTFFontTable::Find(const std::string& FontName, uint8_t Charset) const {
    for (int i = 0; i < Count(); ++i) {
        const TRPRTFFontTableItem* it = FItems[static_cast<size_t>(i)].get();
        if (it && it->Charset == Charset && RPSameTextNoCase(it->FontName, FontName)) return i;
    }
    return -1;
}

int TRPRTFFontTable::AddUnique(const std::string& FontName, uint8_t Charset) {
    int i = Find(FontName, Charset);
    if (i >= 0) return i;
    auto item = std::make_unique<TRPRTFFontTableItem>();
    item->FontName = FontName;
    item->Charset = Charset;
    return Add(std::move(item));
}

int RP_CompareInts(int A, int B, int Weight) {
    const double a = A, b = B;
    double r;
    if (A != 0)
        r = (1.0 - std::fabs(a - b) / std::fabs(a)) * Weight;
    else
        r = (1.0 - std::fabs(b)) * Weight;
    // Far-apart values only need to compare as very dissimilar.
    r = std::clamp(r, -2147483648.0, 2147483647.0);
    return static_cast<int>(Round(r));
}

int RP_CompareColors(TColor Color1, TColor Color2, int Weight1, int Weight2) {
    const bool none1 = Color1 == clNone, none2 = Color2 == clNone;
    if (none1 && none2) return 3 * Weight1 + Weight2;
    if (none1 || none2) return 0;
    const TColor c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
    const int ch1[3] = {GetRValue(c1), GetGValue(c1), GetBValue(c1)};
    const int ch2[3] = {GetRValue(c2), GetGValue(c2), GetBValue(c2)};
    int r = 0, bright1 = 0, bright2 = 0;
    for (int i = 0; i < 3; ++i) {
        r -= std::abs(ch1[i] - ch2[i]) * Weight1 / 255;
        if (ch1[i] > 64) ++bright1;
        if (ch2[i] > 64) ++bright2;
    }
    if ((bright1 > 0) == (bright2 > 0)) r += Weight2;
    return r;
}
