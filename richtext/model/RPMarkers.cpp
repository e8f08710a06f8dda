#include "richtext/model/RPMarkers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>
#include <set>
#include <unordered_set>

#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

constexpr int MaxLevels = 256;

// The picture of a picture level, nullptr without one.
const TGraphic* LevelGraphic(const TRPListLevel* lv) {
    if (!lv || lv->ListType != rplstPicture || !lv->PictureIfAny()) return nullptr;
    const TGraphic* g = lv->PictureIfAny()->Graphic();
    return g && !g->Empty() ? g : nullptr;
}

// The image list of an image-list level, nullptr without one.
const TCustomImageList* LevelImageList(const TRPListLevel* lv) {
    if (!lv || (lv->ListType != rplstImageList && lv->ListType != rplstImageListCounter)) return nullptr;
    return lv->ImageList;
}

std::string Roman(int N, bool Upper) {
    static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char* const digits[] = {"M",  "CM", "D",  "CD", "C",  "XC", "L",
                                         "XL", "X",  "IX", "V",  "IV", "I"};
    if (N < 1 || N > rpMaxRomanCounter) return "?";
    std::string s;
    for (int i = 0; i < 13; ++i)
        while (N >= values[i]) {
            s += digits[i];
            N -= values[i];
        }
    if (!Upper)
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Alpha(int N, bool Upper) {
    std::string s;
    char base = Upper ? 'A' : 'a';
    while (N > 0) {
        --N;
        s.insert(s.begin(), static_cast<char>(base + N % 26));
        N /= 26;
    }
    return s;
}

// Reads decimal digits at p; capped so that a width cannot exhaust memory.
int ReadNumber(const std::string& s, size_t& p, bool& Any) {
    int v = 0;
    Any = false;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) {
        v = std::min(v * 10 + (s[p] - '0'), 100000);
        ++p;
        Any = true;
    }
    return v;
}

bool GetInt(const std::string& s, size_t& p, int32_t& v) {
    if (s.size() < 4 || p > s.size() - 4) return false;
    v = RPFReadInt32(s, p);
    p += 4;
    return true;
}

// The level font on the canvas; a printing resolution of the text styles gives the height.
void ApplyMarkerFont(TCanvas& Canvas, TRPListLevel& LevelInfo, const TRPStyle* RPStyle,
                     TRPColorMode ColorMode, bool Printing) {
    const TRPMarkerFont* f = LevelInfo.Font();
    TFont* cf = Canvas.Font();
    cf->SetName(QString::fromStdString(f->Name));
    cf->SetStyle(f->Style);
    cf->SetCharset(f->Charset);
    int ppi = RPStyle ? RPStyle->TextStyles().PixelsPerInch : 0;
    if (ppi > 0 && f->Size > 0)
        cf->SetHeight(-MulDiv(f->Size, ppi, 72));
    else
        cf->SetSize(f->Size);
    cf->SetColor(Printing ? GetPrintTextColor(f->Color, ColorMode) : f->Color);
}

} // namespace

std::string RPCounterText(int N, TRPListType ListType) {
    switch (ListType) {
    case rplstDecimal:
    case rplstImageListCounter:
        return std::to_string(N);
    case rplstLowerAlpha:
        return Alpha(N, false);
    case rplstUpperAlpha:
        return Alpha(N, true);
    case rplstLowerRoman:
        return Roman(N, false);
    case rplstUpperRoman:
        return Roman(N, true);
    default:
        return std::string();
    }
}

std::string RPFormatMarkerString(const std::string& Pattern, const std::vector<std::string>& Args) {
    std::string out;
    int next = 0;
    size_t i = 0;
    const size_t n = Pattern.size();
    while (i < n) {
        char c = Pattern[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < n && Pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        size_t p = i + 1;
        bool any = false;
        int index = -1;
        int v = ReadNumber(Pattern, p, any);
        if (any && p < n && Pattern[p] == ':') {
            index = v;
            ++p;
        } else {
            p = i + 1;
        }
        bool left = false;
        if (p < n && Pattern[p] == '-') {
            left = true;
            ++p;
        }
        int width = ReadNumber(Pattern, p, any);
        int prec = -1;
        if (p < n && Pattern[p] == '.') {
            ++p;
            prec = ReadNumber(Pattern, p, any);
        }
        int arg = index >= 0 ? index : next;
        if (p < n && (Pattern[p] == 's' || Pattern[p] == 'S') && arg >= 0 &&
            arg < static_cast<int>(Args.size())) {
            std::string s = Args[static_cast<size_t>(arg)];
            if (prec >= 0 && static_cast<int>(s.size()) > prec) s.resize(static_cast<size_t>(prec));
            if (static_cast<int>(s.size()) < width) {
                std::string pad(static_cast<size_t>(width) - s.size(), ' ');
                s = left ? s + pad : pad + s;
            }
            out += s;
            next = arg + 1;
            i = p + 1;
        } else {
            // Not a specifier we know: the percent sign and what follows stay as text.
            out += '%';
            ++i;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------

const TRPItemClass TRPMarkerItemInfo::ClassInfo{"TRPMarkerItemInfo", [](TCustomRPData* d) {
                                                    return std::unique_ptr<TCustomRPItemInfo>(
                                                        std::make_unique<TRPMarkerItemInfo>(d));
                                                }};

TRPMarkerItemInfo::TRPMarkerItemInfo(TCustomRPData* RPData) : TRPRectItemInfo(RPData) {
    SetContinuesPrev(false);
}

std::unique_ptr<TRPMarkerItemInfo> TRPMarkerItemInfo::CreateEx(TCustomRPData* RPData, int ListNo, int Level,
                                                               int StartFrom, bool Reset) {
    auto m = std::make_unique<TRPMarkerItemInfo>(RPData);
    m->StyleNo = rpsnListMarker;
    m->ListNo = ListNo;
    m->Level = Level;
    m->StartFrom = StartFrom;
    m->Reset = Reset;
    return m;
}

TRPListLevel* TRPMarkerItemInfo::GetLevelInfo(const TRPStyle* RPStyle) const {
    if (!RPStyle || ListNo < 0) return nullptr;
    return GetListLevelInfo(RPStyle, ListNo, Level);
}

int TRPMarkerItemInfo::GetIndexInList(const TRPMarkerList* List) {
    if (!List) return -1;
    if (FCachedIndexInList >= 0 && FCachedIndexInList < List->Count() &&
        List->Get(FCachedIndexInList) == this)
        return FCachedIndexInList;
    FCachedIndexInList = List->IndexOf(this);
    return FCachedIndexInList;
}

void TRPMarkerItemInfo::CalcDisplayString(const TRPStyle* RPStyle, const TRPMarkerList* List, int Index) {
    TRPListLevel* startLevel = GetLevelInfo(RPStyle);
    DisplayString.clear();
    if (!startLevel) return;
    if (startLevel->ListType == rplstBullet) {
        DisplayString = startLevel->FormatString;
        return;
    }
    if (!startLevel->HasTextNumbering()) return;

    // One set of level texts serves every call: a marker sets those up to its
    // level and leaves them empty again; making 256 strings per marker would
    // dominate numbering a long list.
    static thread_local std::vector<std::string> texts(MaxLevels);
    const bool legal = (startLevel->Options & rploLegalStyleNumbering) != 0;
    const int startL = std::clamp(Level, 0, MaxLevels - 1);
    struct TEmptyAgain {
        int Last;
        ~TEmptyAgain() {
            for (int k = 0; k <= Last; ++k)
                texts[static_cast<size_t>(k)].clear();
        }
    } emptyAgain{startL};
    const TRPMarkerItemInfo* cur = this;
    const TRPMarkerList* curList = List;
    int curIndex = Index;
    int L = startL;
    for (;;) {
        TRPListLevel* lv = GetListLevelInfo(RPStyle, ListNo, L);
        if (lv) {
            TRPListType t = lv->ListType;
            if (L < startL && legal && t >= rplstLowerAlpha && t <= rplstUpperRoman) t = rplstDecimal;
            texts[static_cast<size_t>(L)] = RPCounterText(cur->Counter, t);
        }
        if (L <= 0) break;
        const TRPMarkerList* pList = nullptr;
        int pIndex = -1;
        if (curList) curList->FindParentMarker(curIndex, cur, pList, pIndex);
        const TRPMarkerItemInfo* parent = pList ? pList->Get(pIndex) : nullptr;
        int P = parent ? std::clamp(parent->Level, -1, L - 1) : -1;
        for (int k = L - 1; k > P; --k)
            if (TRPListLevel* kl = GetListLevelInfo(RPStyle, ListNo, k))
                texts[static_cast<size_t>(k)] = RPCounterText(kl->StartFrom, kl->ListType);
        if (!parent || P < 0) break;
        cur = parent;
        curList = pList;
        curIndex = pIndex;
        L = P;
    }
    DisplayString = RPFormatMarkerString(startLevel->FormatString, texts);
}

QString TRPMarkerItemInfo::GetMarkerQText(const TRPListLevel& LevelInfo) const {
    if (LevelInfo.ListType == rplstUnicodeBullet)
        return QString::fromUtf16(LevelInfo.FormatStringW.data(),
                                  static_cast<qsizetype>(LevelInfo.FormatStringW.size()));
    const TRPMarkerFont* f = LevelInfo.FontIfAny();
    int cp = CharsetToCodePage(f ? f->Charset : rpDefaultCharset);
    return ItemTextToQString(DisplayString, 0, cp);
}

TRPMarkerItemInfo::TMetrics TRPMarkerItemInfo::CalcMetrics(TCanvas* Canvas, TCustomRPData* RPData,
                                                           const TRPResolution* sad) {
    TMetrics m;
    const TRPStyle* style = RPData ? RPData->GetRPStyle() : nullptr;
    TRPListLevel* lv = ListNo < 0 || Level < 0 ? nullptr : GetLevelInfo(style);
    if (!lv) return m;
    int w = 0;
    if (lv->ListType == rplstPicture || lv->ListType == rplstImageList ||
        lv->ListType == rplstImageListCounter) {
        w = GetImageWidth(style);
        m.Height = GetImageHeight(style);
        if (sad) {
            w = ScreenToDeviceX(w, *sad);
            m.Height = ScreenToDeviceY(m.Height, *sad);
        }
    } else if (Canvas) {
        ApplyMarkerFont(*Canvas, *lv, style, rpcmColor, false);
        QString s = GetMarkerQText(*lv);
        TSize sz = Canvas->TextExtent(s);
        w = sz.cx;
        m.Height = sz.cy;
        m.Descent = TextMetrics().Descent(*Canvas->Font());
    }
    int leftPart = 0, rightPart = 0;
    switch (lv->MarkerAlignment) {
    case rpmaLeft:
        rightPart = w;
        break;
    case rpmaRight:
        leftPart = w;
        break;
    case rpmaCenter:
        leftPart = w - w / 2;
        rightPart = w / 2;
        break;
    }
    int room = lv->LeftIndent + lv->FirstIndent - lv->MarkerIndent;
    if (sad) room = ScreenToDeviceX(room, *sad);
    m.MinWidth = std::max(rightPart, room);
    rightPart = std::max(rightPart, room);
    TRPBiDiMode bidi = rpbdUnspecified;
    if (RPData) bidi = RPData->GetParaBiDiMode(ParaNo);
    if (bidi != rpbdRightToLeft) {
        m.LeftOverhang = -leftPart;
        m.ExtraOffset = 0;
    } else {
        m.LeftOverhang = leftPart;
        m.ExtraOffset = leftPart + rightPart - w;
    }
    m.Width = leftPart + rightPart;
    return m;
}

int TRPMarkerItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    return CalcMetrics(Canvas, RPData, sad).MinWidth;
}

void TRPMarkerItemInfo::AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout,
                                         TCanvas* Canvas, TCustomRPData* RPData, const TRPResolution* sad,
                                         int& Descent, int& XOffset, bool OnlyMeasure, bool Force) {
    (void)DocWidth, (void)DrawItem, (void)PrintLayout, (void)Force;
    TMetrics m = CalcMetrics(Canvas, RPData, sad);
    if (!OnlyMeasure) {
        FWidth = m.Width;
        FHeight = m.Height;
        FDescent = m.Descent;
        FLeftOverhang = m.LeftOverhang;
        MeasuredString = DisplayString;
    }
    Descent = m.Descent;
    XOffset = m.ExtraOffset;
}

bool TRPMarkerItemInfo::GetBoolValue(int Id) const {
    if (Id == rpbivChangesFont || Id == rpbivNonTextUnicode) return true;
    return TRPRectItemInfo::GetBoolValue(Id);
}

bool TRPMarkerItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    switch (Id) {
    case rpbivexPrintSliced: {
        TRPListLevel* lv = GetLevelInfo(RPStyle);
        if (!lv) return false;
        if (lv->ListType == rplstImageList || lv->ListType == rplstImageListCounter) return true;
        const TGraphic* g = LevelGraphic(lv);
        return g && !dynamic_cast<const TMetafile*>(g);
    }
    case rpbivexDeviceUnits:
        return true;
    default:
        return TRPRectItemInfo::GetBoolValueEx(Id, RPStyle);
    }
}

int TRPMarkerItemInfo::GetImageWidth(const TRPStyle* RPStyle) const {
    const TRPListLevel* lv = GetLevelInfo(RPStyle);
    if (const TCustomImageList* il = LevelImageList(lv)) return il->Width();
    const TGraphic* g = LevelGraphic(lv);
    return g ? g->Width() : 0;
}

int TRPMarkerItemInfo::GetImageHeight(const TRPStyle* RPStyle) const {
    const TRPListLevel* lv = GetLevelInfo(RPStyle);
    if (const TCustomImageList* il = LevelImageList(lv)) return il->Height();
    const TGraphic* g = LevelGraphic(lv);
    return g ? g->Height() : 0;
}

int TRPMarkerItemInfo::ImageIndexIn(const TRPListLevel& Level) const {
    if (!Level.ImageList) return -1;
    // Both come from files: their sum may lie past the range of int.
    int64_t index = Level.ImageIndex;
    if (Level.ListType == rplstImageListCounter) index += static_cast<int64_t>(Counter) - 1;
    return index >= 0 && index < Level.ImageList->Count() ? static_cast<int>(index) : -1;
}

void TRPMarkerItemInfo::DrawMarker(TCanvas& Canvas, int x, int y, const TRPStyle* RPStyle,
                                   TRPColorMode ColorMode, bool Printing) {
    TRPListLevel* lv = ListNo < 0 || Level < 0 ? nullptr : GetLevelInfo(RPStyle);
    if (!lv) return;
    if (const TGraphic* g = LevelGraphic(lv)) {
        Canvas.Draw(x, y, *g);
        return;
    }
    if (const TCustomImageList* il = LevelImageList(lv)) {
        if (const int index = ImageIndexIn(*lv); index >= 0) il->Draw(&Canvas, x, y, index);
        return;
    }
    if (!lv->UsesFont()) return;
    ApplyMarkerFont(Canvas, *lv, RPStyle, ColorMode, Printing);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(x, y, GetMarkerQText(*lv));
}

void TRPMarkerItemInfo::Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
                              TRPDrawLineInfo* DrawItem) {
    (void)State, (void)DrawItem;
    if (Canvas) DrawMarker(*Canvas, x, y, RPStyle, rpcmColor, false);
}

bool TRPMarkerItemInfo::PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData,
                                      TRPColorMode ColorMode, int PartIndex, TRPDrawLineInfo* DrawItem) {
    (void)Preview, (void)PartIndex, (void)DrawItem;
    if (!Bitmap) return false;
    DrawMarker(*Bitmap->Canvas(), 0, 0, RPData ? RPData->GetRPStyle() : nullptr, ColorMode, true);
    return true;
}

void TRPMarkerItemInfo::Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                              int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad,
                              bool Preview) {
    (void)PartIndex, (void)DrawItem, (void)sad, (void)Preview;
    if (Canvas) DrawMarker(*Canvas, x, y, RPData ? RPData->GetRPStyle() : nullptr, ColorMode, true);
}

void TRPMarkerItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPMarkerItemInfo*>(&Source); s && s != this) {
        ListNo = s->ListNo;
        Level = s->Level;
        StartFrom = s->StartFrom;
        Reset = s->Reset;
    }
    TRPRectItemInfo::AssignItem(Source);
}

void TRPMarkerItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = std::to_string(ListNo) + " " + std::to_string(Level) + " " + std::to_string(StartFrom) + " " +
        (Reset ? "1" : "0");
}

bool TRPMarkerItemInfo::ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) {
    (void)RPData;
    int32_t v[4] = {0, 0, 0, 0};
    size_t p = 0;
    for (int i = 0; i < 4; ++i) {
        while (p < s.size() && s[p] == ' ')
            ++p;
        size_t e = p;
        while (e < s.size() && s[e] != ' ')
            ++e;
        auto [q, ec] = std::from_chars(s.data() + p, s.data() + e, v[i]);
        if (e == p || ec != std::errc() || q != s.data() + e) return false;
        p = e;
    }
    ListNo = v[0];
    Level = v[1];
    StartFrom = TRPReadLimits::ListStart(v[2]);
    Reset = v[3] != 0;
    s.erase(0, p);
    return true;
}

std::string TRPMarkerItemInfo::GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                            const std::string& Path, const std::string& ItemText) {
    (void)LineWidth, (void)TextOnly, (void)Path, (void)ItemText;
    TRPListLevel* lv = GetLevelInfo(RPData ? RPData->GetRPStyle() : nullptr);
    if (!lv) return std::string();
    int cp = RPData ? RPData->GetDefaultCodePage() : 0;
    if (lv->ListType == rplstUnicodeBullet) {
        std::u16string w = lv->FormatStringW + u" ";
        std::string wide = WideStrToItemText(w);
        if (Unicode) return wide;
        std::string a = UnicodeTextToAnsi(cp, wide);
        // A character the code page lacks shows as a star, not as a question mark.
        for (size_t i = 0; i < a.size() && i < w.size(); ++i)
            if (a[i] == '?' && w[i] != u'?') a[i] = '*';
        return a;
    }
    std::string s;
    if (lv->ListType == rplstPicture || lv->ListType == rplstImageList ||
        lv->ListType == rplstImageListCounter) {
        s = "* ";
    } else {
        s = DisplayString;
        const TRPMarkerFont* f = lv->FontIfAny();
        // A symbol font's codes: the characters they stand for, in 8-bit text
        // where the page has them ("Symbol" keeps its own words for arrows).
        std::string wide;
        if (f && SymbolFontTextToUnicodeText(f->Name, s, 0, CharsetToCodePage(f->Charset), wide)) {
            if (Unicode) return wide + WideStrToItemText(u" ");
            if (!RPSameTextNoCase(f->Name, "Symbol")) return SymbolFontTextToAnsi(cp, wide, s, '*') + ' ';
        }
        std::string name = f ? f->Name : std::string("Arial");
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name == "symbol") {
            for (char& c : s) {
                unsigned char u = static_cast<unsigned char>(c);
                if (u == 0xA7 || u == 0xA8 || u == 0xA9 || u == 0xAA || u == 0xB7 || u == 0xD7 || u == 0xE0)
                    c = '*';
            }
            s = RP_ReplaceAll(s, "\xDB", "<=>");
            s = RP_ReplaceAll(s, "\xDC", "<=");
            s = RP_ReplaceAll(s, "\xDE", "=>");
            s = RP_ReplaceAll(s, "\xAB", "<->");
            s = RP_ReplaceAll(s, "\xAC", "<-");
            s = RP_ReplaceAll(s, "\xAE", "->");
        }
        s += ' ';
    }
    return Unicode ? AnsiToUnicodeText(cp, s) : s;
}

void TRPMarkerItemInfo::DetachForUndo(int ItemNo, TCustomRPData* RPData) {
    TRPRectItemInfo::DetachForUndo(ItemNo, RPData);
    if (RPData) RPData->RemoveMarkerFromList(this, false);
}

void TRPMarkerItemInfo::ReattachFromUndo(TCustomRPData* RPData) {
    if (!RPData) return;
    int no = RPData->GetItemNo(this);
    if (no >= 0) RPData->AddMarkerInList(no);
}

void TRPMarkerItemInfo::MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                       TRPIntegerList& UsedList) const {
    TRPRectItemInfo::MarkUsedStyles(UsedText, UsedPara, UsedList);
    if (ListNo >= 0 && ListNo < UsedList.Count()) UsedList.Put(ListNo, 1);
}

void TRPMarkerItemInfo::ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                          const TRPIntegerList& ListShifts) {
    TRPRectItemInfo::ShiftStyleIndices(TextShifts, ParaShifts, ListShifts);
    if (ListNo >= 0) ListNo = RPShiftedStyleIndex(ListNo, ListShifts);
}

// ---------------------------------------------------------------------------

TRPMarkerItemInfo* TRPMarkerList::Get(int Index) const {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

int TRPMarkerList::IndexOf(const TRPMarkerItemInfo* Marker) const {
    if (!Marker || Marker->FListEntries <= 0) return -1;
    // Readers append marker after marker: the cached place (or its neighbour,
    // after one insertion or deletion before it) is nearly always right.
    const int cached = Marker->FCachedIndexInList;
    for (int i : {cached, cached + 1, cached - 1})
        if (i >= 0 && i < Count() && FItems[static_cast<size_t>(i)] == Marker) return i;
    auto it = std::find(FItems.begin(), FItems.end(), Marker);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TRPMarkerList::Insert(int Index, TRPMarkerItemInfo* Marker) {
    if (Index < 0 || Index > Count()) RPListIndexError(Index);
    FItems.insert(FItems.begin() + Index, Marker);
    Marker->FCachedIndexInList = Index;
    ++Marker->FListEntries;
}

// Bookkeeping of a marker whose entry has gone.
void TRPMarkerList::Left(TRPMarkerItemInfo* Marker) {
    Marker->FCachedIndexInList = -1;
    if (Marker->FListEntries > 0) --Marker->FListEntries;
}

void TRPMarkerList::Delete(int Index) {
    TRPMarkerItemInfo* m = Get(Index);
    FItems.erase(FItems.begin() + Index);
    Left(m);
    auto it = std::find_if(FOwned.begin(), FOwned.end(), [m](const auto& p) { return p.get() == m; });
    if (it != FOwned.end()) FOwned.erase(it);
}

bool TRPMarkerList::DeleteMarkers(const std::vector<const TRPMarkerItemInfo*>& Markers) {
    std::unordered_set<const TRPMarkerItemInfo*> leaving;
    for (const TRPMarkerItemInfo* m : Markers)
        if (m && m->FListEntries > 0) leaving.insert(m);
    if (leaving.empty()) return false;
    const size_t before = FItems.size();
    auto gone = [&](TRPMarkerItemInfo* m) {
        if (!leaving.count(m)) return false;
        Left(m);
        return true;
    };
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), gone), FItems.end());
    if (FItems.size() == before) return false;
    if (!FOwned.empty())
        FOwned.erase(std::remove_if(FOwned.begin(), FOwned.end(),
                                    [&](const auto& p) { return leaving.count(p.get()) != 0; }),
                     FOwned.end());
    // The places of the markers that stay are known again.
    for (size_t i = 0; i < FItems.size(); ++i)
        FItems[i]->FCachedIndexInList = static_cast<int>(i);
    return true;
}

bool TRPMarkerList::DeleteDocumentMarkers() {
    if (FItems.size() == FOwned.size()) return false;
    if (FOwned.empty()) {
        Clear();
        return true;
    }
    std::unordered_set<const TRPMarkerItemInfo*> owned;
    for (const auto& p : FOwned)
        owned.insert(p.get());
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(),
                                [&](TRPMarkerItemInfo* m) {
                                    if (owned.count(m)) return false;
                                    Left(m);
                                    return true;
                                }),
                 FItems.end());
    for (size_t i = 0; i < FItems.size(); ++i)
        FItems[i]->FCachedIndexInList = static_cast<int>(i);
    return true;
}

void TRPMarkerList::Clear() {
    for (TRPMarkerItemInfo* m : FItems)
        Left(m);
    FItems.clear();
    FOwned.clear();
}

void TRPMarkerList::InsertAfter(TRPMarkerItemInfo* Marker, TRPMarkerItemInfo* After) {
    int idx = After ? IndexOf(After) + 1 : 0;
    Insert(idx, Marker);
}

void TRPMarkerList::FindParentMarker(int Index, const TRPMarkerItemInfo* Marker, const TRPMarkerList*& List,
                                     int& ParentIndex) const {
    List = nullptr;
    ParentIndex = -1;
    const TRPMarkerList* l = this;
    int from = Index - 1;
    int guard = 0;
    while (l && guard++ < 1000) {
        for (int i = std::min(from, l->Count() - 1); i >= 0; --i) {
            const TRPMarkerItemInfo* m = l->FItems[static_cast<size_t>(i)];
            if (m->ListNo == Marker->ListNo && m->Level < Marker->Level) {
                List = l;
                ParentIndex = i;
                return;
            }
        }
        l = l->PrevMarkerList;
        from = l ? l->Count() - 1 : -1;
    }
}

void TRPMarkerList::RecalcCounters(int From, const TRPStyle* RPStyle) {
    if (From < 0 || From >= Count()) return;
    int list = FItems[static_cast<size_t>(From)]->ListNo;
    if (list < 0) return;
    // A list may start at the largest number a file holds: counting on from
    // there stays at it.
    const auto next = [](int N) { return N < std::numeric_limits<int>::max() ? N + 1 : N; };
    for (int i = From; i < Count(); ++i) {
        TRPMarkerItemInfo* m = FItems[static_cast<size_t>(i)];
        if (m->ListNo != list) continue;
        if (m->Reset) {
            m->Counter = m->StartFrom;
        } else {
            TRPListLevel* lv = m->GetLevelInfo(RPStyle);
            int start = lv ? lv->StartFrom : 1;
            bool levelReset = lv && (lv->Options & rploLevelReset) != 0;
            m->Counter = start;
            for (int j = i - 1; j >= 0; --j) {
                const TRPMarkerItemInfo* p = FItems[static_cast<size_t>(j)];
                if (p->ListNo != list) continue;
                if (p->Level == m->Level) {
                    m->Counter = next(p->Counter);
                    break;
                }
                if (p->Level < m->Level) {
                    if (levelReset) {
                        m->Counter = start;
                        break;
                    }
                } else {
                    m->Counter = next(start);
                }
            }
        }
        m->CalcDisplayString(RPStyle, this, i);
    }
}

void TRPMarkerList::RecalcCountersOfList(int From, int ListNo, const TRPStyle* RPStyle) {
    if (ListNo < 0) return;
    for (int i = std::max(From, 0); i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)]->ListNo == ListNo) {
            RecalcCounters(i, RPStyle);
            return;
        }
}

void TRPMarkerList::RecalcCountersOfLists(int From, const TRPStyle* RPStyle) {
    std::set<int> lists;
    for (int i = std::max(From, 0); i < Count(); ++i)
        if (lists.insert(FItems[static_cast<size_t>(i)]->ListNo).second) RecalcCounters(i, RPStyle);
}

void TRPMarkerList::Swap(TRPMarkerList& Other) {
    FItems.swap(Other.FItems);
    FOwned.swap(Other.FOwned);
}

void TRPMarkerList::SaveToStream(std::string& Stream, int Count, bool WithSize) const {
    Count = std::clamp(Count, 0, this->Count());
    if (WithSize) RPFWriteInt32(Stream, Count * 17 + 8);
    RPFWriteInt32(Stream, 0);
    RPFWriteInt32(Stream, Count);
    for (int i = 0; i < Count; ++i) {
        const TRPMarkerItemInfo* m = FItems[static_cast<size_t>(i)];
        RPFWriteInt32(Stream, m->ListNo);
        RPFWriteInt32(Stream, m->Level);
        Stream += static_cast<char>(m->Reset ? 1 : 0);
        RPFWriteInt32(Stream, m->StartFrom);
        RPFWriteInt32(Stream, m->Counter);
    }
}

bool TRPMarkerList::LoadFromStream(const std::string& Stream, size_t& Pos, TCustomRPData* RPData,
                                   bool WithSize) {
    Clear();
    int32_t size = 0, zero = 0, count = 0;
    if (WithSize && !GetInt(Stream, Pos, size)) return false;
    if (!GetInt(Stream, Pos, zero) || !GetInt(Stream, Pos, count)) return false;
    // A count that the data cannot hold is refused before anything is made.
    if (count < 0 || static_cast<uint64_t>(count) * 17 > Stream.size() - Pos) return false;
    if (WithSize && static_cast<int64_t>(size) != static_cast<int64_t>(count) * 17 + 8) return false;
    for (int i = 0; i < count; ++i) {
        int32_t listNo = 0, level = 0, startFrom = 0, counter = 0;
        GetInt(Stream, Pos, listNo);
        GetInt(Stream, Pos, level);
        bool reset = Stream[Pos++] != 0;
        GetInt(Stream, Pos, startFrom);
        GetInt(Stream, Pos, counter);
        // Numbers go on by one a marker from these: they stay far from the int's end.
        startFrom = TRPReadLimits::ListStart(startFrom);
        counter = std::clamp(counter, 0, TRPReadLimits::MaxListCounter);
        auto m = TRPMarkerItemInfo::CreateEx(RPData, listNo, level, startFrom, reset);
        m->Counter = counter;
        FItems.push_back(m.get());
        m->FCachedIndexInList = i;
        ++m->FListEntries;
        FOwned.push_back(std::move(m));
    }
    return true;
}

bool TRPMarkerList::LoadBinary(const std::string& Data, TCustomRPData* RPData) {
    size_t pos = 0;
    return LoadFromStream(Data, pos, RPData, false);
}

bool TRPMarkerList::LoadFromHex(const std::string& Hex, TCustomRPData* RPData) {
    Clear();
    if (Hex.size() % 2 != 0) return false;
    std::string data;
    data.reserve(Hex.size() / 2);
    auto nib = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < Hex.size(); i += 2) {
        int h = nib(Hex[i]), l = nib(Hex[i + 1]);
        if (h < 0 || l < 0) return false;
        data += static_cast<char>(h * 16 + l);
    }
    return LoadBinary(data, RPData);
}

std::string TRPMarkerList::SaveToHex() const {
    std::string data;
    SaveToStream(data, Count(), false);
    static const char* const digits = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : data) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}
