#include "richtext/model/RPStyleInfos.h"

#include <algorithm>
#include <limits>

#include "platform/Runtime.h"
#include "richtext/model/RPReadLimits.h"

namespace {

int ClampScore(int64_t v) {
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool Bit(uint32_t Mask, uint32_t b) {
    return (Mask & b) != 0;
}

// Translates a reference through a mapping; a reference the mapping does not
// cover is dropped rather than left pointing at an unrelated style.
int MapRef(int Ref, const TRPIntegerList& Mapping) {
    if (Ref < 0) return Ref;
    if (Ref >= Mapping.Count()) return -1;
    return Mapping.Get(Ref);
}

using L = TRPReadLimits;

} // namespace

// ---------------------------------------------------------------------------
int TCustomRPInfo::Index() const {
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TCustomRPInfo::Assign(const TCustomRPInfo& Source) {
    if (&Source == this) return;
    BaseStyleNo = Source.BaseStyleNo;
    StyleName = Source.StyleName;
    Standard = Source.Standard;
}

// ---------------------------------------------------------------------------
void TRPRect::AssignToRect(TRPBounds& R) const {
    R.Left = Left;
    R.Top = Top;
    R.Right = Right;
    R.Bottom = Bottom;
}

void TRPRect::AssignToRectIfGreater(TRPBounds& R) const {
    R.Left = std::max(R.Left, Left);
    R.Top = std::max(R.Top, Top);
    R.Right = std::max(R.Right, Right);
    R.Bottom = std::max(R.Bottom, Bottom);
}

void TRPRect::InflateRect(TRPBounds& R) const {
    R.Left -= Left;
    R.Top -= Top;
    R.Right += Right;
    R.Bottom += Bottom;
}

void TRPRect::InflateRectScaled(TRPBounds& R, const TRPResolution& Res) const {
    R.Left -= MulDiv(Left, Res.DeviceX, Res.ScreenX);
    R.Top -= MulDiv(Top, Res.DeviceY, Res.ScreenY);
    R.Right += MulDiv(Right, Res.DeviceX, Res.ScreenX);
    R.Bottom += MulDiv(Bottom, Res.DeviceY, Res.ScreenY);
}

bool TRPRect::IsEqual(const TRPRect& o) const {
    return Top == o.Top && Left == o.Left && Right == o.Right && Bottom == o.Bottom;
}

bool TRPRect::IsEqualEx(const TRPRect& o, bool IgnoreLeft, bool IgnoreBottom, bool IgnoreRight,
                        bool IgnoreTop) const {
    return (IgnoreLeft || Left == o.Left) && (IgnoreBottom || Bottom == o.Bottom) &&
           (IgnoreRight || Right == o.Right) && (IgnoreTop || Top == o.Top);
}

void TRPRect::KeepInReadLimits() {
    for (int* v : {&Top, &Left, &Right, &Bottom})
        *v = L::Shift(*v);
}

int TRPRect::SimilarityValue(const TRPRect& o, int Weight) const {
    int64_t r = int64_t(RP_CompareInts(Left, o.Left, Weight)) + RP_CompareInts(Top, o.Top, Weight) +
                RP_CompareInts(Right, o.Right, Weight) + RP_CompareInts(Bottom, o.Bottom, Weight);
    return ClampScore(r);
}

// ---------------------------------------------------------------------------
void TRPBooleanRect::SetValues(bool ALeft, bool ATop, bool ARight, bool ABottom) {
    Left = ALeft;
    Top = ATop;
    Right = ARight;
    Bottom = ABottom;
}

bool TRPBooleanRect::IsEqual(const TRPBooleanRect& o) const {
    return IsEqualValues(o.Left, o.Top, o.Right, o.Bottom);
}

bool TRPBooleanRect::IsEqualValues(bool ALeft, bool ATop, bool ARight, bool ABottom) const {
    return Left == ALeft && Top == ATop && Right == ARight && Bottom == ABottom;
}

bool TRPBooleanRect::IsAllEqual(bool Value) const {
    return IsEqualValues(Value, Value, Value, Value);
}

bool TRPBooleanRect::IsEqualEx(const TRPBooleanRect& o, bool IgnoreLeft, bool IgnoreBottom, bool IgnoreRight,
                               bool IgnoreTop) const {
    return (IgnoreLeft || Left == o.Left) && (IgnoreBottom || Bottom == o.Bottom) &&
           (IgnoreRight || Right == o.Right) && (IgnoreTop || Top == o.Top);
}

// ---------------------------------------------------------------------------
int TRPBorder::GetTotalWidth() const {
    switch (Style) {
    case rpbSingle:
        return Width;
    case rpbDouble:
        return 2 * Width + InternalWidth;
    case rpbTriple:
        return 3 * Width + 2 * InternalWidth;
    case rpbThickInside:
    case rpbThickOutside:
        return 3 * Width + InternalWidth;
    default:
        return 0;
    }
}

bool TRPBorder::IsEqual(const TRPBorder& o) const {
    return IsEqualExcept(o, 0);
}

bool TRPBorder::IsEqualExcept(const TRPBorder& o, uint32_t m) const {
    return (Bit(m, 1u << 0) || Color == o.Color) && (Bit(m, 1u << 1) || Style == o.Style) &&
           (Bit(m, 1u << 2) || Width == o.Width) && (Bit(m, 1u << 3) || InternalWidth == o.InternalWidth) &&
           BorderOffsets.IsEqualEx(o.BorderOffsets, Bit(m, 1u << 4), Bit(m, 1u << 7), Bit(m, 1u << 6),
                                   Bit(m, 1u << 5)) &&
           VisibleBorders.IsEqualEx(o.VisibleBorders, Bit(m, 1u << 8), Bit(m, 1u << 11), Bit(m, 1u << 10),
                                    Bit(m, 1u << 9));
}

void TRPBorder::KeepInReadLimits() {
    Width = std::clamp(Width, 0, L::MaxBorderWidth);
    InternalWidth = std::clamp(InternalWidth, 0, L::MaxBorderWidth);
    BorderOffsets.KeepInReadLimits();
}

int TRPBorder::SimilarityValue(const TRPBorder& o) const {
    const bool on1[4] = {Style != rpbNone && VisibleBorders.Left, Style != rpbNone && VisibleBorders.Top,
                         Style != rpbNone && VisibleBorders.Right, Style != rpbNone && VisibleBorders.Bottom};
    const bool on2[4] = {
        o.Style != rpbNone && o.VisibleBorders.Left, o.Style != rpbNone && o.VisibleBorders.Top,
        o.Style != rpbNone && o.VisibleBorders.Right, o.Style != rpbNone && o.VisibleBorders.Bottom};
    const int off1[4] = {BorderOffsets.Left, BorderOffsets.Top, BorderOffsets.Right, BorderOffsets.Bottom};
    const int off2[4] = {o.BorderOffsets.Left, o.BorderOffsets.Top, o.BorderOffsets.Right,
                         o.BorderOffsets.Bottom};
    int k = 0;
    for (int i = 0; i < 4; ++i)
        if (on1[i] && on2[i]) ++k;
    int64_t r = 0;
    if (k > 0)
        r = int64_t(k) *
            (int64_t(RP_CompareColors(Color, o.Color, 3333, 3000)) + RP_CompareInts(Width, o.Width, 1000) +
             RP_CompareInts(InternalWidth, o.InternalWidth, 1000) + (Style == o.Style ? 1000 : 0));
    for (int i = 0; i < 4; ++i) {
        if (!on1[i] && !on2[i])
            r += 20000;
        else if (on1[i] != on2[i])
            r -= 20000;
        else
            r += RP_CompareInts(off1[i], off2[i], 100);
    }
    return ClampScore(r);
}

// ---------------------------------------------------------------------------
bool TRPBackgroundRect::IsEqual(const TRPBackgroundRect& o) const {
    return IsEqualExcept(o, 0);
}

bool TRPBackgroundRect::IsEqualExcept(const TRPBackgroundRect& o, uint32_t m) const {
    return (Bit(m, 1u << 0) || Color == o.Color) &&
           BorderOffsets.IsEqualEx(o.BorderOffsets, Bit(m, 1u << 1), Bit(m, 1u << 4), Bit(m, 1u << 3),
                                   Bit(m, 1u << 2));
}

int TRPBackgroundRect::SimilarityValue(const TRPBackgroundRect& o) const {
    return ClampScore(int64_t(RP_CompareColors(Color, o.Color, 10000, 50000)) +
                      BorderOffsets.SimilarityValue(o.BorderOffsets, 100));
}

// ---------------------------------------------------------------------------
TFontInfo::TFontInfo() {
    StyleName = "Font Style";
}

void TFontInfo::Assign(const TCustomRPInfo& Source) {
    if (&Source == this) return;
    if (auto s = dynamic_cast<const TFontInfo*>(&Source)) {
        BiDiMode = s->BiDiMode;
        Jump = s->Jump;
        JumpCursor = s->JumpCursor;
        FontName = s->FontName;
        Size = s->Size;
        Color = s->Color;
        BackColor = s->BackColor;
        HoverColor = s->HoverColor;
        HoverBackColor = s->HoverBackColor;
        Style = s->Style;
        StyleEx = s->StyleEx;
        VShift = s->VShift;
        NextStyleNo = s->NextStyleNo;
        Charset = s->Charset;
        Unicode = s->Unicode;
        Protection = s->Protection;
        Options = s->Options;
        CharScale = s->CharScale;
        CharSpacing = s->CharSpacing;
    }
    TCustomRPInfo::Assign(Source);
}

void TFontInfo::ReadSingleSymbols(bool Value) {
    if (Value) Protection |= rpprStyleProtect | rpprDoNotAutoSwitch;
}

void TFontInfo::KeepInReadLimits() {
    Size = L::FontSize(Size);
    VShift = L::Shift(VShift);
    CharScale = std::clamp(CharScale, L::MinCharScale, L::MaxCharScale);
    CharSpacing = L::Shift(CharSpacing);
}

bool TFontInfo::EqualsBasic(const TCustomRPInfo& Other, bool IgnoreReferences) const {
    auto o = dynamic_cast<const TFontInfo*>(&Other);
    if (!o) return false;
    if (!(Size == o->Size && Charset == o->Charset && Unicode == o->Unicode && Style == o->Style &&
          StyleEx == o->StyleEx && RPSameTextNoCase(FontName, o->FontName) && VShift == o->VShift &&
          Color == o->Color && BackColor == o->BackColor && Jump == o->Jump))
        return false;
    if (Jump &&
        !(HoverColor == o->HoverColor && HoverBackColor == o->HoverBackColor && JumpCursor == o->JumpCursor))
        return false;
    if (!IgnoreReferences && NextStyleNo != o->NextStyleNo) return false;
    return Protection == o->Protection && Options == o->Options && CharScale == o->CharScale &&
           CharSpacing == o->CharSpacing && BiDiMode == o->BiDiMode;
}

bool TFontInfo::EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const {
    if (!EqualsBasic(Other, true)) return false;
    auto& o = static_cast<TFontInfo&>(Other);
    if (o.NextStyleNo < 0) return true;
    if (o.NextStyleNo >= Mapping.Count()) {
        o.NextStyleNo = -1;
        return true;
    }
    return Mapping.Get(o.NextStyleNo) == NextStyleNo;
}

int TFontInfo::SimilarityScore(const TCustomRPInfo& Other) const {
    auto po = dynamic_cast<const TFontInfo*>(&Other);
    if (!po) return std::numeric_limits<int>::min();
    const TFontInfo& o = *po;
    int64_t r = int64_t(RP_CompareInts(o.Size, Size, 10000)) + RP_CompareInts(o.VShift, VShift, 1000) +
                RP_CompareInts(o.CharScale, CharScale, 300) +
                RP_CompareInts(o.CharSpacing, CharSpacing, 1000);
    r += RP_CompareColors(o.Color, Color, 3333, 3000);
    r += RP_CompareColors(o.BackColor, BackColor, 10000, 50000);
    if (BiDiMode == o.BiDiMode) r += 10000;
    if (RPSameTextNoCase(FontName, o.FontName)) r += 10000;
    for (TRPFontStyleSet b :
         {RPFontStyle::Bold, RPFontStyle::Italic, RPFontStyle::Underline, RPFontStyle::StrikeOut})
        if (((Style & b) != 0) == ((o.Style & b) != 0)) r += 50000;
    for (TRPFontStyles b : {rpfsOverline, rpfsAllCaps})
        if (((StyleEx & b) != 0) == ((o.StyleEx & b) != 0)) r += 50000;
    if ((Style == 0 && StyleEx == 0) == (o.Style == 0 && o.StyleEx == 0)) r += 50000;
    if (Jump && o.Jump) {
        if (JumpCursor == o.JumpCursor) r += 5000;
        r += RP_CompareColors(o.HoverColor, HoverColor, 3333, 3000) / 2;
        r += RP_CompareColors(o.HoverBackColor, HoverBackColor, 10000, 50000) / 2;
    }
    if (Protection != o.Protection) r -= 100000;
    if ((Options & rpteoHTMLCode) == (o.Options & rpteoHTMLCode)) r += 50000;
    if ((Options & rpteoRTFCode) == (o.Options & rpteoRTFCode)) r += 50000;
    if (Charset == o.Charset)
        r += 50000;
    else if (Charset == rpDefaultCharset || o.Charset == rpDefaultCharset)
        r += 12500;
    return ClampScore(r);
}

bool TFontInfo::IsEqualExcept(const TFontInfo& o, uint32_t m) const {
    namespace M = RPFontInfoMask;
    auto styleBit = [](TRPFontStyleSet s, TRPFontStyleSet b) { return (s & b) != 0; };
    if (!Bit(m, M::FontName) && !RPSameTextNoCase(FontName, o.FontName)) return false;
    if (!Bit(m, M::Size) && Size != o.Size) return false;
    if (!Bit(m, M::Charset) && Charset != o.Charset) return false;
    if (!Bit(m, M::Unicode) && Unicode != o.Unicode) return false;
    if (!Bit(m, M::Bold) && styleBit(Style, RPFontStyle::Bold) != styleBit(o.Style, RPFontStyle::Bold))
        return false;
    if (!Bit(m, M::Italic) && styleBit(Style, RPFontStyle::Italic) != styleBit(o.Style, RPFontStyle::Italic))
        return false;
    if (!Bit(m, M::Underline) &&
        styleBit(Style, RPFontStyle::Underline) != styleBit(o.Style, RPFontStyle::Underline))
        return false;
    if (!Bit(m, M::StrikeOut) &&
        styleBit(Style, RPFontStyle::StrikeOut) != styleBit(o.Style, RPFontStyle::StrikeOut))
        return false;
    if (!Bit(m, M::Overline) && styleBit(StyleEx, rpfsOverline) != styleBit(o.StyleEx, rpfsOverline))
        return false;
    if (!Bit(m, M::AllCaps) && styleBit(StyleEx, rpfsAllCaps) != styleBit(o.StyleEx, rpfsAllCaps))
        return false;
    if (!Bit(m, M::VShift) && VShift != o.VShift) return false;
    if (!Bit(m, M::Color) && Color != o.Color) return false;
    if (!Bit(m, M::BackColor) && BackColor != o.BackColor) return false;
    if (!Bit(m, M::Jump) && Jump != o.Jump) return false;
    if (Jump) {
        if (!Bit(m, M::HoverBackColor) && HoverBackColor != o.HoverBackColor) return false;
        if (!Bit(m, M::HoverColor) && HoverColor != o.HoverColor) return false;
        if (!Bit(m, M::JumpCursor) && JumpCursor != o.JumpCursor) return false;
    }
    if (!Bit(m, M::NextStyleNo) && NextStyleNo != o.NextStyleNo) return false;
    if (!Bit(m, M::Protection) && Protection != o.Protection) return false;
    if (!Bit(m, M::CharScale) && CharScale != o.CharScale) return false;
    if (!Bit(m, M::BaseStyleNo) && BaseStyleNo != o.BaseStyleNo) return false;
    if (!Bit(m, M::BiDiMode) && BiDiMode != o.BiDiMode) return false;
    if (!Bit(m, M::CharSpacing) && CharSpacing != o.CharSpacing) return false;
    if (!Bit(m, M::HTMLCode) && (Options & rpteoHTMLCode) != (o.Options & rpteoHTMLCode)) return false;
    if (!Bit(m, M::RTFCode) && (Options & rpteoRTFCode) != (o.Options & rpteoRTFCode)) return false;
    return true;
}

// ---------------------------------------------------------------------------
TParaInfo::TParaInfo() {
    StyleName = "Paragraph Style";
}

void TParaInfo::Assign(const TCustomRPInfo& Source) {
    if (&Source == this) return;
    if (auto s = dynamic_cast<const TParaInfo*>(&Source)) {
        FirstIndent = s->FirstIndent;
        LeftIndent = s->LeftIndent;
        RightIndent = s->RightIndent;
        SpaceBefore = s->SpaceBefore;
        SpaceAfter = s->SpaceAfter;
        LineSpacing = s->LineSpacing;
        LineSpacingType = s->LineSpacingType;
        Alignment = s->Alignment;
        Border = s->Border;
        NextParaNo = s->NextParaNo;
        Background = s->Background;
        Options = s->Options;
        BiDiMode = s->BiDiMode;
        DefStyleNo = s->DefStyleNo;
    }
    TCustomRPInfo::Assign(Source);
}

void TParaInfo::KeepInReadLimits() {
    for (int* v : {&FirstIndent, &LeftIndent, &RightIndent})
        *v = L::Indent(*v);
    SpaceBefore = L::Spacing(SpaceBefore);
    SpaceAfter = L::Spacing(SpaceAfter);
    LineSpacing = LineSpacingType == rplsPercent ? std::clamp(LineSpacing, 0, L::MaxLineSpacingPercent)
                                                 : L::Spacing(LineSpacing);
    Border.KeepInReadLimits();
    Background.BorderOffsets.KeepInReadLimits();
}

bool TParaInfo::HasExtraLineSpacing() const {
    return LineSpacingType == rplsPercent ? LineSpacing > 100 : LineSpacing > 0;
}

int RPShownLineSpacingPercent(int Percent) {
    return Percent >= 50 ? Percent : 100;
}

int TParaInfo::ShownLineSpacingPercent() const {
    return LineSpacingType == rplsPercent ? RPShownLineSpacingPercent(LineSpacing) : 100;
}

bool TParaInfo::EqualsBasic(const TCustomRPInfo& Other, bool IgnoreReferences) const {
    auto o = dynamic_cast<const TParaInfo*>(&Other);
    if (!o) return false;
    uint32_t mask = 0;
    if (IgnoreReferences) mask |= RPParaInfoMask::NextParaNo | RPParaInfoMask::DefStyleNo;
    return IsEqualExcept(*o, mask);
}

bool TParaInfo::EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const {
    if (!EqualsBasic(Other, true)) return false;
    auto& o = static_cast<TParaInfo&>(Other);
    if (o.NextParaNo < 0) return true;
    if (o.NextParaNo >= Mapping.Count()) {
        o.NextParaNo = -1;
        return true;
    }
    return Mapping.Get(o.NextParaNo) == NextParaNo;
}

int TParaInfo::SimilarityScore(const TCustomRPInfo& Other) const {
    auto po = dynamic_cast<const TParaInfo*>(&Other);
    if (!po) return std::numeric_limits<int>::min();
    const TParaInfo& o = *po;
    int64_t r =
        int64_t(RP_CompareInts(FirstIndent, o.FirstIndent, 1000)) +
        RP_CompareInts(LeftIndent, o.LeftIndent, 1000) + RP_CompareInts(RightIndent, o.RightIndent, 1000) +
        RP_CompareInts(SpaceBefore, o.SpaceBefore, 1000) + RP_CompareInts(SpaceAfter, o.SpaceAfter, 1000);
    r += Background.SimilarityValue(o.Background);
    r += Border.SimilarityValue(o.Border);
    if (Alignment == o.Alignment) r += 50000;
    if (BiDiMode == o.BiDiMode) r += 10000;
    auto same = [&](TRPParaOptions b) { return (Options & b) == (o.Options & b); };
    if (same(rppaoNoWrap)) r += 1000;
    if (same(rppaoReadOnly)) r += 100000;
    if (same(rppaoStyleProtect)) r += 1000;
    if (same(rppaoDoNotWantReturns)) r += 10000;
    if (LineSpacingType == o.LineSpacingType)
        r += RP_CompareInts(LineSpacing, o.LineSpacing, 5000);
    else if (HasExtraLineSpacing() != o.HasExtraLineSpacing())
        r -= 20000;
    return ClampScore(r);
}

bool TParaInfo::IsEqualExcept(const TParaInfo& o, uint32_t m) const {
    namespace M = RPParaInfoMask;
    auto opt = [&](TRPParaOptions b) { return (Options & b) == (o.Options & b); };
    return (Bit(m, M::FirstIndent) || FirstIndent == o.FirstIndent) &&
           (Bit(m, M::LeftIndent) || LeftIndent == o.LeftIndent) &&
           (Bit(m, M::RightIndent) || RightIndent == o.RightIndent) &&
           (Bit(m, M::SpaceBefore) || SpaceBefore == o.SpaceBefore) &&
           (Bit(m, M::SpaceAfter) || SpaceAfter == o.SpaceAfter) &&
           (Bit(m, M::Alignment) || Alignment == o.Alignment) &&
           (Bit(m, M::NextParaNo) || NextParaNo == o.NextParaNo) &&
           (Bit(m, M::DefStyleNo) || DefStyleNo == o.DefStyleNo) &&
           (Bit(m, M::LineSpacing) || LineSpacing == o.LineSpacing) &&
           (Bit(m, M::LineSpacingType) || LineSpacingType == o.LineSpacingType) &&
           (Bit(m, M::BackColor) || Background.Color == o.Background.Color) &&
           Background.BorderOffsets.IsEqualEx(o.Background.BorderOffsets, Bit(m, M::BackOffsetLeft),
                                              Bit(m, M::BackOffsetBottom), Bit(m, M::BackOffsetRight),
                                              Bit(m, M::BackOffsetTop)) &&
           (Bit(m, M::BorderColor) || Border.Color == o.Border.Color) &&
           (Bit(m, M::BorderStyle) || Border.Style == o.Border.Style) &&
           (Bit(m, M::BorderWidth) || Border.Width == o.Border.Width) &&
           (Bit(m, M::BorderInternalWidth) || Border.InternalWidth == o.Border.InternalWidth) &&
           Border.BorderOffsets.IsEqualEx(o.Border.BorderOffsets, Bit(m, M::BorderOffsetLeft),
                                          Bit(m, M::BorderOffsetBottom), Bit(m, M::BorderOffsetRight),
                                          Bit(m, M::BorderOffsetTop)) &&
           Border.VisibleBorders.IsEqualEx(o.Border.VisibleBorders, Bit(m, M::VisibleLeft),
                                           Bit(m, M::VisibleBottom), Bit(m, M::VisibleRight),
                                           Bit(m, M::VisibleTop)) &&
           (Bit(m, M::NoWrap) || opt(rppaoNoWrap)) && (Bit(m, M::ReadOnly) || opt(rppaoReadOnly)) &&
           (Bit(m, M::StyleProtect) || opt(rppaoStyleProtect)) &&
           (Bit(m, M::DoNotWantReturns) || opt(rppaoDoNotWantReturns)) &&
           (Bit(m, M::BiDiMode) || BiDiMode == o.BiDiMode);
}

// ---------------------------------------------------------------------------
TCustomRPInfos::TCustomRPInfos(TRPStyle* Owner, TRPInfoFactory Factory)
    : FOwner(Owner), FFactory(std::move(Factory)) {}

TCustomRPInfos::~TCustomRPInfos() = default;

TCustomRPInfo* TCustomRPInfos::At(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<size_t>(Index)].get();
}

int TCustomRPInfos::IndexOf(const TCustomRPInfo* Item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item) return static_cast<int>(i);
    return -1;
}

TCustomRPInfo* TCustomRPInfos::AddInfo() {
    std::unique_ptr<TCustomRPInfo> item = FFactory();
    item->FCollection = this;
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

void TCustomRPInfos::Delete(int Index) {
    if (Index < 0 || Index >= Count()) RPListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

void TCustomRPInfos::Clear() {
    FItems.clear();
}

void TCustomRPInfos::Assign(const TCustomRPInfos& Source) {
    if (&Source == this) return;
    Clear();
    for (const auto& s : Source.FItems)
        AddInfo()->Assign(*s);
}

void TCustomRPInfos::AssignTo(std::vector<std::string>& Strings) const {
    Strings.clear();
    for (const auto& s : FItems)
        Strings.push_back(s->StyleName);
}

bool TCustomRPInfos::IsStageCandidate(int, const TCustomRPInfo&, const TCustomRPInfo&) const {
    return true;
}

bool TCustomRPInfos::MarksTaken(const TCustomRPInfo&) const {
    return false;
}

void TCustomRPInfos::AdjustMergedStyle(TCustomRPInfo&, const TRPIntegerList&, const TRPIntegerList*) const {}

int TCustomRPInfos::AppendCopyOf(const TCustomRPInfo& Src) {
    AddInfo()->Assign(Src);
    return Count() - 1;
}

int TCustomRPInfos::FindClosest(const TCustomRPInfo& Src) const {
    for (int stage = 0; stage < SearchStageCount(); ++stage) {
        int best = -1, bestScore = 0;
        for (int j = 0; j < Count(); ++j) {
            const TCustomRPInfo& t = *FItems[static_cast<size_t>(j)];
            if (!IsStageCandidate(stage, Src, t)) continue;
            const int score = Src.SimilarityScore(t);
            if (best < 0 || score > bestScore) {
                best = j;
                bestScore = score;
            }
        }
        if (best >= 0) return best;
    }
    return -1;
}

void TCustomRPInfos::MergeWith(TCustomRPInfos& Source, int Mode, TRPIntegerList& Mapping,
                               const TRPIntegerList* TextStyleMapping) {
    Mapping.Clear();
    const int oldCount = Count();
    if (&Source == this) {
        // Merging a set into itself maps every style onto itself.
        for (int i = 0; i < oldCount; ++i)
            Mapping.Add(i);
        return;
    }
    const int srcCount = Source.Count();
    if (Mode == 2) {
        for (int i = 0; i < srcCount; ++i)
            Mapping.Add(AppendCopyOf(*Source.FItems[static_cast<size_t>(i)]));
    } else if (Mode == 1) {
        for (int i = 0; i < srcCount; ++i) {
            const TCustomRPInfo& src = *Source.FItems[static_cast<size_t>(i)];
            int j = FindClosest(src);
            // An empty target set has no closest style: take the style over
            // rather than map to an index that does not exist.
            if (j < 0) j = AppendCopyOf(src);
            Mapping.Add(j);
        }
    } else {
        // Mode 0; unknown modes behave alike so that every source style is mapped.
        std::vector<bool> taken;
        for (int i = 0; i < srcCount; ++i) {
            TCustomRPInfo& src = *Source.FItems[static_cast<size_t>(i)];
            taken.resize(static_cast<size_t>(Count()), false);
            auto matches = [&](int j) {
                if (KeepsTakenTargets() && taken[static_cast<size_t>(j)]) return false;
                return FItems[static_cast<size_t>(j)]->EqualsWithMapping(src, Mapping);
            };
            int found = -1;
            if (i < Count() && matches(i))
                found = i;
            else
                for (int j = 0; j < Count(); ++j)
                    if (j != i && matches(j)) {
                        found = j;
                        break;
                    }
            if (found < 0) found = AppendCopyOf(src);
            taken.resize(static_cast<size_t>(Count()), false);
            if (KeepsTakenTargets() && MarksTaken(src)) taken[static_cast<size_t>(found)] = true;
            Mapping.Add(found);
        }
    }
    for (int i = oldCount; i < Count(); ++i) {
        TCustomRPInfo& s = *FItems[static_cast<size_t>(i)];
        s.Standard = false;
        s.BaseStyleNo = MapRef(s.BaseStyleNo, Mapping);
        AdjustMergedStyle(s, Mapping, TextStyleMapping);
    }
}

// ---------------------------------------------------------------------------
TFontInfos::TFontInfos(TRPStyle* Owner, TRPInfoFactory Factory)
    : TCustomRPInfos(Owner, Factory ? std::move(Factory) : TRPInfoFactory([] {
                         return std::unique_ptr<TCustomRPInfo>(new TFontInfo());
                     })) {}

TFontInfos::~TFontInfos() = default;

TFontInfo* TFontInfos::Add() {
    return static_cast<TFontInfo*>(AddInfo());
}

TFontInfo* TFontInfos::GetItem(int Index) const {
    if (Index >= 0 && Index < Count())
        return static_cast<TFontInfo*>(FItems[static_cast<size_t>(Index)].get());
    if (!FInvalidItem) {
        FInvalidItem = std::make_unique<TFontInfo>();
        if (Count() > 0) FInvalidItem->Assign(*FItems[0]);
        FInvalidItem->Color = clWhite;
        FInvalidItem->BackColor = clRed;
    }
    return FInvalidItem.get();
}

int TFontInfos::FindStyleWithCharset(int BaseStyleNo, uint8_t Charset) const {
    if (BaseStyleNo < 0 || BaseStyleNo >= Count()) return -1;
    const TFontInfo& base = *GetItem(BaseStyleNo);
    if (base.Charset == Charset && !base.Unicode) return BaseStyleNo;
    for (int i = 0; i < Count(); ++i) {
        if (i == BaseStyleNo) continue;
        const TFontInfo& s = *GetItem(i);
        if (!s.Unicode && s.Charset == Charset &&
            s.IsEqualExcept(base, RPFontInfoMask::Charset | RPFontInfoMask::Unicode))
            return i;
    }
    return -1;
}

bool TFontInfos::IsStageCandidate(int Stage, const TCustomRPInfo& Src, const TCustomRPInfo& Target) const {
    auto s = dynamic_cast<const TFontInfo*>(&Src);
    auto t = dynamic_cast<const TFontInfo*>(&Target);
    if (!s || !t) return Stage == 3;
    switch (Stage) {
    case 0:
        return s->Jump == t->Jump && s->Unicode == t->Unicode;
    case 1:
        return s->Jump == t->Jump;
    case 2:
        return s->Unicode == t->Unicode;
    default:
        return true;
    }
}

void TFontInfos::AdjustMergedStyle(TCustomRPInfo& Style, const TRPIntegerList& Mapping,
                                   const TRPIntegerList*) const {
    if (auto f = dynamic_cast<TFontInfo*>(&Style)) f->NextStyleNo = MapRef(f->NextStyleNo, Mapping);
}

// ---------------------------------------------------------------------------
TParaInfos::TParaInfos(TRPStyle* Owner, TRPInfoFactory Factory)
    : TCustomRPInfos(Owner, Factory ? std::move(Factory) : TRPInfoFactory([] {
                         return std::unique_ptr<TCustomRPInfo>(new TParaInfo());
                     })) {}

TParaInfos::~TParaInfos() = default;

TParaInfo* TParaInfos::Add() {
    return static_cast<TParaInfo*>(AddInfo());
}

TParaInfo* TParaInfos::GetItem(int Index) const {
    if (Index >= 0 && Index < Count())
        return static_cast<TParaInfo*>(FItems[static_cast<size_t>(Index)].get());
    if (!FInvalidItem) {
        FInvalidItem = std::make_unique<TParaInfo>();
        if (Count() > 0) FInvalidItem->Assign(*FItems[0]);
        FInvalidItem->LeftIndent = 1;
        FInvalidItem->RightIndent = 1;
        FInvalidItem->SpaceBefore = 1;
        FInvalidItem->SpaceAfter = 1;
        FInvalidItem->Border.Color = clRed;
        FInvalidItem->Border.Style = rpbSingle;
        FInvalidItem->Border.Width = 2;
        FInvalidItem->Border.BorderOffsets.SetAll(1);
    }
    return FInvalidItem.get();
}

int TParaInfos::FindEqualStyle(int BaseStyleNo, const TParaInfo& Style, uint32_t Mask) const {
    const uint32_t ignore = ~Mask;
    if (BaseStyleNo >= 0 && BaseStyleNo < Count() && GetItem(BaseStyleNo)->IsEqualExcept(Style, ignore))
        return BaseStyleNo;
    for (int i = 0; i < Count(); ++i)
        if (i != BaseStyleNo && GetItem(i)->IsEqualExcept(Style, ignore)) return i;
    return -1;
}

void TParaInfos::AdjustMergedStyle(TCustomRPInfo& Style, const TRPIntegerList& Mapping,
                                   const TRPIntegerList* TextStyleMapping) const {
    auto p = dynamic_cast<TParaInfo*>(&Style);
    if (!p) return;
    p->NextParaNo = MapRef(p->NextParaNo, Mapping);
    if (TextStyleMapping) p->DefStyleNo = MapRef(p->DefStyleNo, *TextStyleMapping);
}
