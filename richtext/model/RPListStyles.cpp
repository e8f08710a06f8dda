#include "richtext/model/RPListStyles.h"

#include <algorithm>
#include <cstdio>

#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

const char kHex[] = "0123456789ABCDEF";

} // namespace

// ---------------------------------------------------------------------------
int TRPMarkerFont::Height(int PixelsPerInch) const {
    return -MulDiv(Size, PixelsPerInch, 72);
}

void TRPMarkerFont::SetHeight(int AHeight, int PixelsPerInch) {
    Size = -MulDiv(AHeight, 72, PixelsPerInch);
}

bool TRPMarkerFont::IsDefault() const {
    return Size == 8 && Color == clWindowText && Charset == rpDefaultCharset && Style == 0 &&
           RPSameTextNoCase(Name, "Arial");
}

bool TRPMarkerFont::IsEqual(const TRPMarkerFont& o) const {
    return Height() == o.Height() && Style == o.Style && Color == o.Color && Charset == o.Charset &&
           RPSameTextNoCase(Name, o.Name);
}

// ---------------------------------------------------------------------------
void TRPLevelImageList::Set(TCustomImageList* List) {
    if (List == FList) return;
    if (FList) FList->RemoveFreeNotification(this);
    FList = List;
    if (FList) FList->AddFreeNotification(this, [this](TCustomImageList* L) { Freed(L); });
}

void TRPLevelImageList::Freed(TCustomImageList* List) {
    if (List != FList) return;
    const TRPListInfo* info = FLevel->ListInfo();
    TRPStyle* style = info && info->Collection() ? info->Collection()->GetOwner() : nullptr;
    if (style) style->ImageListRemoved(List);
    // A level outside a style component forgets the list by itself.
    FList = nullptr;
}

// ---------------------------------------------------------------------------
TRPListLevel::~TRPListLevel() = default;

TRPMarkerFont* TRPListLevel::Font() {
    if (!FFont) FFont = std::make_unique<TRPMarkerFont>();
    return FFont.get();
}

void TRPListLevel::SetFont(const TRPMarkerFont* Value) {
    if (!Value) {
        FFont.reset();
        return;
    }
    if (Value == FFont.get()) return;
    Font()->Assign(*Value);
}

void TRPListLevel::Assign(const TRPListLevel& s) {
    if (&s == this) return;
    ListType = s.ListType;
    ImageList = s.ImageList;
    ImageIndex = s.ImageIndex;
    FormatString = s.FormatString;
    FormatStringW = s.FormatStringW;
    LeftIndent = s.LeftIndent;
    FirstIndent = s.FirstIndent;
    MarkerIndent = s.MarkerIndent;
    MarkerAlignment = s.MarkerAlignment;
    Options = s.Options;
    StartFrom = s.StartFrom;
    SetFont(s.FFont.get());
    if (s.HasPicture()) {
        Picture()->Assign(*s.FPicture);
        if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(true);
    } else {
        FPicture.reset();
    }
}

void TRPListLevel::KeepInReadLimits() {
    using L = TRPReadLimits;
    for (int* v : {&LeftIndent, &FirstIndent, &MarkerIndent})
        *v = L::Indent(*v);
    // Counters go on from the start by one a marker: they stay ints.
    StartFrom = L::ListStart(StartFrom);
    if (FFont) FFont->Size = L::FontSize(FFont->Size);
}

TPicture* TRPListLevel::Picture() {
    if (!FPicture) FPicture = std::make_unique<TPicture>();
    return FPicture.get();
}

void TRPListLevel::SetPicture(const TPicture* Value) {
    if (!Value) {
        FPicture.reset();
        return;
    }
    if (Value == FPicture.get()) return;
    Picture()->Assign(*Value);
}

int TRPListLevel::Index() const {
    return FOwner ? FOwner->Levels.IndexOf(this) : -1;
}

std::string TRPListLevel::GetDisplayName() const {
    return "List Level " + std::to_string(Index());
}

bool TRPListLevel::HasPicture() const {
    return FPicture && FPicture->Graphic();
}

namespace {
// Pictures count as equal without graphics, or with graphics of one class,
// size and stored bytes.
bool SamePictures(const TPicture* a, const TPicture* b) {
    const TGraphic* ga = a ? a->Graphic() : nullptr;
    const TGraphic* gb = b ? b->Graphic() : nullptr;
    if (!ga || !gb) return !ga && !gb;
    return ga->ClassName() == gb->ClassName() && ga->Width() == gb->Width() && ga->Height() == gb->Height() &&
           ga->SaveToStream() == gb->SaveToStream();
}
} // namespace

bool TRPListLevel::IsEqual(const TRPListLevel& o) const {
    if (!(ListType == o.ListType && StartFrom == o.StartFrom && ImageList == o.ImageList &&
          ImageIndex == o.ImageIndex && FormatString == o.FormatString && FormatStringW == o.FormatStringW &&
          LeftIndent == o.LeftIndent && FirstIndent == o.FirstIndent && MarkerIndent == o.MarkerIndent &&
          MarkerAlignment == o.MarkerAlignment))
        return false;
    const bool custom1 = FFont && !FFont->IsDefault();
    const bool custom2 = o.FFont && !o.FFont->IsDefault();
    if (custom1 || custom2) {
        if (!FFont || !o.FFont || !FFont->IsEqual(*o.FFont)) return false;
    }
    if (Options != o.Options) return false;
    return SamePictures(FPicture.get(), o.FPicture.get());
}

int TRPListLevel::SimilarityValue(const TRPListLevel& o) const {
    int r = 0;
    if (ListType == o.ListType) r += 5000;
    if (StartFrom == o.StartFrom) r += 100;
    if (ImageList == o.ImageList) r += 100;
    if (ImageIndex == o.ImageIndex) r += 100;
    if (FormatString == o.FormatString) r += 100;
    if (FormatStringW == o.FormatStringW) r += 100;
    if (LeftIndent == o.LeftIndent) r += 100;
    if (MarkerIndent == o.MarkerIndent) r += 100;
    if (MarkerAlignment == o.MarkerAlignment) r += 100;
    if (Options == o.Options) r += 100;
    if (FirstIndent == o.FirstIndent) r += 200;
    const bool default1 = !FFont || FFont->IsDefault();
    const bool default2 = !o.FFont || o.FFont->IsDefault();
    if ((default1 && default2) || (FFont && o.FFont && FFont->IsEqual(*o.FFont))) r += 100;
    if (SamePictures(FPicture.get(), o.FPicture.get())) r += 100;
    return r;
}

std::string TRPListLevel::GetFormatStringCode() const {
    if (!StoresFormatStringCode()) return {};
    std::string r;
    for (unsigned char c : FormatString) {
        r += kHex[c >> 4];
        r += kHex[c & 15];
    }
    return r;
}

std::string TRPListLevel::GetFormatStringWCode() const {
    std::string r;
    for (char16_t c : FormatStringW)
        for (int shift = 12; shift >= 0; shift -= 4)
            r += kHex[(c >> shift) & 15];
    return r;
}

bool TRPListLevel::SetFormatStringCode(const std::string& Hex) {
    if (Hex.size() % 2 != 0) return false;
    std::string r;
    for (size_t i = 0; i < Hex.size(); i += 2) {
        const int hi = HexDigit(Hex[i]), lo = HexDigit(Hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        r += static_cast<char>(hi * 16 + lo);
    }
    FormatString = r;
    return true;
}

bool TRPListLevel::SetFormatStringWCode(const std::string& Hex) {
    if (Hex.size() % 4 != 0) return false;
    std::u16string r;
    for (size_t i = 0; i < Hex.size(); i += 4) {
        int v = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int d = HexDigit(Hex[i + k]);
            if (d < 0) return false;
            v = v * 16 + d;
        }
        r += static_cast<char16_t>(v);
    }
    FormatStringW = r;
    return true;
}

bool TRPListLevel::StreamsILTag() const {
    auto infos = FOwner ? dynamic_cast<const TRPListInfos*>(FOwner->Collection()) : nullptr;
    return infos && infos->RPData;
}

int TRPListLevel::GetILTag() const {
    return ImageList ? ImageList->Tag() : 0;
}

void TRPListLevel::ReadILTag(int Tag) {
    auto infos = FOwner ? dynamic_cast<const TRPListInfos*>(FOwner->Collection()) : nullptr;
    ImageList = infos && infos->RPData ? infos->RPData->DoRPFImageListNeeded(Tag) : nullptr;
}

// ---------------------------------------------------------------------------
TRPListLevel* TRPListLevelCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(Index)].get();
}

TRPListLevel* TRPListLevelCollection::Add() {
    auto l = std::make_unique<TRPListLevel>();
    l->FOwner = FOwner;
    FItems.push_back(std::move(l));
    return FItems.back().get();
}

void TRPListLevelCollection::Delete(int Index) {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

void TRPListLevelCollection::Assign(const TRPListLevelCollection& Source) {
    if (&Source == this) return;
    Clear();
    for (const auto& l : Source.FItems)
        Add()->Assign(*l);
}

int TRPListLevelCollection::IndexOf(const TRPListLevel* Level) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Level) return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------
TRPListInfo::TRPListInfo() {
    StyleName = "List Style";
}

int32_t TRPListInfo::GetLstID() const {
    while (FLstID == 0)
        FLstID = Runtime::Random(0x7FFFFFFF);
    return FLstID;
}

void TRPListInfo::Assign(const TCustomRPInfo& Source) {
    if (&Source == this) return;
    if (auto s = dynamic_cast<const TRPListInfo*>(&Source)) {
        Levels.Assign(s->Levels);
        OneLevelPreview = s->OneLevelPreview;
    }
    TCustomRPInfo::Assign(Source);
}

bool TRPListInfo::HasNumbering() const {
    for (int i = 0; i < Levels.Count(); ++i)
        if (Levels[i]->HasNumbering()) return true;
    return false;
}

bool TRPListInfo::HasTextNumbering() const {
    for (int i = 0; i < Levels.Count(); ++i)
        if (Levels[i]->HasTextNumbering()) return true;
    return false;
}

bool TRPListInfo::EqualsBasic(const TCustomRPInfo& Other, bool IgnoreID) const {
    auto o = dynamic_cast<const TRPListInfo*>(&Other);
    if (!o) return false;
    if (OneLevelPreview != o->OneLevelPreview || Levels.Count() != o->Levels.Count()) return false;
    if (!IgnoreID && GetLstID() != o->GetLstID()) return false;
    for (int i = 0; i < Levels.Count(); ++i)
        if (!Levels[i]->IsEqual(*o->Levels[i])) return false;
    return true;
}

bool TRPListInfo::EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList&) const {
    return EqualsBasic(Other, true);
}

int TRPListInfo::SimilarityScore(const TCustomRPInfo& Other) const {
    auto o = dynamic_cast<const TRPListInfo*>(&Other);
    if (!o) return -1000000000;
    int r = 0;
    if (OneLevelPreview == o->OneLevelPreview) r += 100;
    if (GetLstID() == o->GetLstID()) r += 50;
    const int n = std::min(Levels.Count(), o->Levels.Count());
    for (int i = 0; i < n; ++i)
        r += Levels[i]->SimilarityValue(*o->Levels[i]);
    r -= 100 * std::abs(Levels.Count() - o->Levels.Count());
    return r;
}

// ---------------------------------------------------------------------------
TRPListInfos::TRPListInfos(TRPStyle* Owner, TRPInfoFactory Factory)
    : TCustomRPInfos(Owner, Factory ? std::move(Factory) : TRPInfoFactory([] {
                         return std::unique_ptr<TCustomRPInfo>(new TRPListInfo());
                     })) {}

TRPListInfos::~TRPListInfos() = default;

TRPListInfo* TRPListInfos::Add() {
    return static_cast<TRPListInfo*>(AddInfo());
}

TRPListInfo* TRPListInfos::Items(int Index) const {
    return static_cast<TRPListInfo*>(At(Index));
}

void TRPListInfos::RemoveImageList(const TCustomImageList* ImageList) {
    for (int i = 0; i < Count(); ++i) {
        TRPListInfo* li = Items(i);
        for (int j = 0; j < li->Levels.Count(); ++j)
            if (li->Levels[j]->ImageList == ImageList) li->Levels[j]->ImageList = nullptr;
    }
}

bool TRPListInfos::MarksTaken(const TCustomRPInfo& Src) const {
    auto l = dynamic_cast<const TRPListInfo*>(&Src);
    return l && l->HasNumbering();
}

// ---------------------------------------------------------------------------
TRPListLevel* GetListLevelInfo(const TRPStyle* RPStyle, int ListNo, int Level) {
    if (!RPStyle || ListNo < 0 || Level < 0) return nullptr;
    const TRPListInfo* li = RPStyle->ListStyles().Items(ListNo);
    if (!li || li->Levels.Count() == 0) return nullptr;
    if (Level >= li->Levels.Count()) Level = li->Levels.Count() - 1;
    return li->Levels[Level];
}
