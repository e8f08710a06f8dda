// Text and paragraph styles of imported RTF: found in the style component, or added.
#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFImport.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size())),
                        Qt::CaseInsensitive) == 0;
}

int VShiftKind(int vshift) {
    return vshift == 0 ? 0 : vshift < 0 ? 1 : 2;
}

// Text of a style with the default charset is read in the system page.
bool ReadsAsSystemPage(int charset) {
    const int cp = CharsetToCodePage(charset);
    return cp == 0 || cp == 1252;
}

// What a text style must look like, from the reader's character properties.
struct TWantedText {
    std::string FontName;
    int Charset = 1;
    int Size = 12;
    TColor Color = clWindowText;
    TColor BackColor = clNone;
    TRPFontStyleSet Style = 0;
    bool AllCaps = false;
    int CharScale = 100;
    int CharSpacing = 0;
    int VShiftKind = 0;
};

// What a paragraph style must look like.
struct TWantedPara {
    TRPAlignment Alignment = rpaLeft;
    int Left = 0, Right = 0, First = 0, Before = 0, After = 0;
    int Percent = 100;
    TColor Fill = clNone;
    bool HasBorder = false;
    TRPBorder Border;
};

} // namespace

void RPRTFConvertBorder(int Type, int WidthTwips, bool RightOrBottom, double Factor, TRPBorder& Border) {
    const double w = WidthTwips * Factor;
    auto r = [](double v) { return static_cast<int>(Round(v)); };
    const TRPBorderStyle thickIn = RightOrBottom ? rpbThickInside : rpbThickOutside;
    const TRPBorderStyle thickOut = RightOrBottom ? rpbThickOutside : rpbThickInside;
    int width = 0, internal = 0;
    TRPBorderStyle style = rpbNone;
    switch (Type) {
    case 0:
        break;
    case 2:
        style = rpbSingle;
        width = r(2 * w);
        break; // thick
    case 7:
        style = rpbSingle;
        width = 1;
        break; // hairline
    case 4:
    case 22:
        style = rpbDouble;
        width = r(w);
        internal = 2 * width - 1;
        break;
    case 11:
        style = rpbTriple;
        width = r(w);
        internal = 2 * width - 1;
        break;
    case 12:
        style = thickIn;
        width = r(w / 2);
        internal = width + (width + 1) / 2;
        break;
    // The mirror of the one above; its widths follow it.
    case 13:
        style = thickOut;
        width = r(w / 2);
        internal = width + (width + 1) / 2;
        break;
    case 14:
        style = rpbTriple;
        width = r(w / 3);
        internal = 2 * width - 1;
        break;
    case 15:
        style = thickIn;
        width = r(w / 2);
        internal = 2 * width + (width + 1) / 2;
        break;
    case 16:
        style = thickOut;
        width = r(w / 2);
        internal = 2 * width + (width + 1) / 2;
        break;
    case 17:
        style = rpbTriple;
        width = r(w / 2);
        internal = 3 * width - 1;
        break;
    case 18:
        style = thickIn;
        width = 1;
        internal = r(w) + 1;
        break;
    case 19:
        style = thickOut;
        width = 1;
        internal = r(w) + 1;
        break;
    case 20:
        style = rpbTriple;
        width = 1;
        internal = r(w);
        break;
    default:
        style = rpbSingle;
        width = r(w);
        break;
    }
    Border.Style = style;
    Border.Width = width;
    Border.InternalWidth = internal;
}

// A font that names no charset (or the default one) is in the code page in
// force (\ansicpg), which the default charset would read as the system page.
int TRPRTFReaderProperties::FontCharset(const TRPRTFFont* Font) {
    TImport& im = *FImport;
    const int charset = Font ? Font->Charset : 1;
    if (charset != 1) return charset;
    // Symbol fonts have no code page.
    if (Font && (SameNameNoCase(Font->Name, "Symbol") || SameNameNoCase(Font->Name, "Wingdings")))
        return charset;
    const int page = im.Reader->CodePage();
    if (page != im.CharsetCodePage) {
        im.CharsetCodePage = page;
        im.CodePageCharset = 1;
        for (int c = 0; c < 256; ++c)
            if (c != 1 && ResolveCodePage(CharsetToCodePage(c)) == page) {
                im.CodePageCharset = c;
                break;
            }
        if (ReadsAsSystemPage(im.CodePageCharset)) im.CodePageCharset = 1;
    }
    return im.CodePageCharset;
}

int TRPRTFReaderProperties::ChooseTextStyle(bool Unicode, bool Jump) {
    TImport& im = *FImport;
    if (TextStyleMode == rprsUseSpecified || !im.Style)
        return TextStyleMode == rprsUseSpecified ? FTextStyleNo : 0;
    TFontInfos& styles = im.Style->TextStyles();
    const TRPRTFReader& r = *im.Reader;
    const TRPRTFCharProperties& cp = r.State().CharProps;
    const TRPRTFFont* font = r.CurrentFont();
    TWantedText w;
    w.Charset = FontCharset(font);
    if (!cp.FontNameOverride.empty()) {
        w.FontName = cp.FontNameOverride;
        if (SameNameNoCase(w.FontName, "Symbol") || SameNameNoCase(w.FontName, "Wingdings")) w.Charset = 2;
    } else if (font) {
        w.FontName = font->Name;
    } else if (styles.Count() > 0) {
        // A file without a font table: its text is in the document's default font.
        w.FontName = styles.GetItem(0)->FontName;
    }
    // Raised and lowered text is half as large, and no smaller than a font can be.
    w.Size = TRPReadLimits::FontSize(cp.VShift != 0 ? static_cast<int>(Round(cp.Size / 2.0)) : cp.Size);
    w.Color = cp.Color;
    w.BackColor = cp.BackColor;
    w.Style = cp.Style;
    w.AllCaps = cp.AllCaps;
    w.CharScale = cp.CharScale;
    w.CharSpacing = Px(cp.Expansion);
    w.VShiftKind = cp.VShift;
    auto jumpFits = [&](const TFontInfo& f) { return Jump ? f.Jump : (!f.Jump || UseHypertextStyles); };

    if (TextStyleMode == rprsAddIfNeeded) {
        for (int i = 0; i < styles.Count(); ++i) {
            const TFontInfo& f = *styles.GetItem(i);
            if (SameNameNoCase(f.FontName, w.FontName) && f.Size == w.Size && f.Color == w.Color &&
                f.BackColor == w.BackColor && f.Style == w.Style &&
                (f.Charset == w.Charset || (f.Charset == 1 && ReadsAsSystemPage(w.Charset))) &&
                f.CharScale == w.CharScale && f.CharSpacing == w.CharSpacing &&
                ((f.StyleEx & rpfsAllCaps) != 0) == w.AllCaps && VShiftKind(f.VShift) == w.VShiftKind &&
                f.Unicode == Unicode && (f.StyleEx & ~rpfsAllCaps) == 0 && jumpFits(f))
                return i;
        }
        TFontInfo* f = styles.Add();
        f->Standard = false;
        f->Jump = Jump;
        f->Unicode = Unicode;
        f->Style = w.Style;
        f->Size = w.Size;
        f->Color = w.Color;
        f->BackColor = w.BackColor;
        f->FontName = w.FontName;
        f->Charset = static_cast<uint8_t>(w.Charset);
        f->CharScale = w.CharScale;
        f->CharSpacing = w.CharSpacing;
        f->VShift = w.VShiftKind == 1 ? -25 : w.VShiftKind == 2 ? 45 : 0;
        f->StyleEx = w.AllCaps ? rpfsAllCaps : 0;
        return styles.Count() - 1;
    }

    int best = 0;
    int64_t bestScore = 0;
    for (int i = 0; i < styles.Count(); ++i) {
        const TFontInfo& f = *styles.GetItem(i);
        if (f.Unicode != Unicode || !jumpFits(f)) continue;
        int64_t s = 0;
        if (SameNameNoCase(f.FontName, w.FontName)) s += 10000;
        if (f.Charset == w.Charset)
            s += 50000;
        else if (f.Charset == 1 || w.Charset == 1)
            s += 12500;
        s += RP_CompareInts(w.Size, f.Size, 10000);
        s += RP_CompareColors(f.Color, w.Color, 3333, 3000);
        s += RP_CompareColors(f.BackColor, w.BackColor, 10000, 50000);
        if (((f.StyleEx & rpfsAllCaps) != 0) == w.AllCaps) s += 50000;
        for (TRPFontStyleSet bit :
             {RPFontStyle::Bold, RPFontStyle::Italic, RPFontStyle::Underline, RPFontStyle::StrikeOut})
            if ((f.Style & bit) == (w.Style & bit)) s += 50000;
        if ((f.Style == 0) == (w.Style == 0)) s += 50000;
        s += static_cast<int64_t>(Round((1.0 - std::abs(f.CharScale - w.CharScale) / 100.0) * 300));
        s += RP_CompareInts(w.CharSpacing, f.CharSpacing, 10000);
        if (VShiftKind(f.VShift) == w.VShiftKind) s += 50000;
        if (f.StyleEx != 0) s /= 4;
        if (s > bestScore) {
            bestScore = s;
            best = i;
        }
    }
    return best;
}

namespace {

size_t Mix(std::initializer_list<size_t> values) {
    size_t h = 0;
    for (size_t v : values)
        h = h * 1000003u ^ v;
    return h;
}

} // namespace

size_t TRPRTFTextStyleKey::Hash() const {
    const TRPRTFCharProperties& cp = CharProps;
    return Mix({size_t(cp.FontIndex), size_t(cp.Size), size_t(cp.Color), size_t(cp.BackColor),
                size_t(cp.Style), size_t(cp.VShift), size_t(Unicode) * 2 + size_t(Jump)});
}

size_t TRPRTFParaStyleKey::Hash() const {
    return Mix({size_t(Alignment), size_t(LeftIndent), size_t(RightIndent), size_t(FirstIndent),
                size_t(SpaceBefore), size_t(SpaceAfter), size_t(LineSpacing), size_t(Border.has_value())});
}

int TRPRTFReaderProperties::CachedTextStyle(bool Unicode, bool Jump) {
    TImport& im = *FImport;
    if (TextStyleMode == rprsUseSpecified || !im.Style) return ChooseTextStyle(Unicode, Jump);
    const TFontInfos& styles = im.Style->TextStyles();
    const TRPRTFReader& r = *im.Reader;
    auto& cache = im.TextStyles;
    TRPRTFTextStyleKey& key = cache.Key;
    const TRPRTFFont* font = r.CurrentFont();
    cache.Set(key.CharProps, r.State().CharProps);
    cache.Set(key.HasFont, font != nullptr);
    cache.Set(key.FontTableEmpty, r.Fonts().empty());
    if (font)
        cache.Set(key.FontName, font->Name);
    else if (styles.Count() > 0)
        cache.Set(key.FontName, styles.GetItem(0)->FontName);
    else
        cache.Set(key.FontName, std::string());
    cache.Set(key.Charset, font ? font->Charset : 0);
    cache.Set(key.CodePage, r.CodePage());
    cache.Set(key.Unicode, Unicode);
    cache.Set(key.Jump, Jump);
    if (const int known = cache.Find(styles.Count()); known >= 0) return known;
    const int styleNo = ChooseTextStyle(Unicode, Jump);
    cache.Keep(styles.Count(), styleNo);
    return styleNo;
}

int TRPRTFReaderProperties::CachedParaStyle(TRPRTFPosition Position) {
    TImport& im = *FImport;
    const bool newPara = Position == rtfpNewPara || (Position == rtfpNewLine && LineBreaksAsParagraphs);
    if (!newPara || ParaStyleMode == rprsUseSpecified || !im.Style) return ChooseParaStyle(Position);
    const TParaInfos& styles = im.Style->ParaStyles();
    const TRPRTFParaProperties& pp = im.Reader->State().ParaProps;
    auto& cache = im.ParaStyles;
    TRPRTFParaStyleKey& key = cache.Key;
    cache.Set(key.Alignment, pp.Alignment);
    cache.Set(key.LeftIndent, pp.LeftIndent);
    cache.Set(key.RightIndent, pp.RightIndent);
    cache.Set(key.FirstIndent, pp.FirstIndent);
    cache.Set(key.SpaceBefore, pp.SpaceBefore);
    cache.Set(key.SpaceAfter, pp.SpaceAfter);
    cache.Set(key.LineSpacing, pp.LineSpacing);
    cache.Set(key.LineSpacingMulti, pp.LineSpacingMulti);
    cache.Set(key.ShadingFill, pp.ShadingFill);
    cache.Set(key.Border, pp.Border);
    if (const int known = cache.Find(styles.Count()); known >= 0) return known;
    const int styleNo = ChooseParaStyle(Position);
    cache.Keep(styles.Count(), styleNo);
    return styleNo;
}

int TRPRTFReaderProperties::ChooseParaStyle(TRPRTFPosition Position) {
    TImport& im = *FImport;
    if (Position != rtfpNewPara && !(Position == rtfpNewLine && LineBreaksAsParagraphs)) return PrevParaNo();
    if (ParaStyleMode == rprsUseSpecified || !im.Style)
        return ParaStyleMode == rprsUseSpecified ? FParaStyleNo : 0;
    TParaInfos& styles = im.Style->ParaStyles();
    const TRPRTFParaProperties& pp = im.Reader->State().ParaProps;
    TWantedPara w;
    w.Alignment = static_cast<TRPAlignment>(std::clamp(pp.Alignment, 0, 3));
    w.Left = Px(pp.LeftIndent);
    w.Right = Px(pp.RightIndent);
    w.First = Px(pp.FirstIndent);
    w.Before = Px(pp.SpaceBefore);
    w.After = Px(pp.SpaceAfter);
    // A paragraph without \slmult keeps single spacing, in the style it finds
    // too. \sl takes any number (widened, so that a huge one cannot overflow);
    // more than a page can show is cut to what a page can show.
    if (pp.LineSpacingMulti)
        w.Percent = static_cast<int>(
            std::min<long long>(std::llabs(static_cast<long long>(pp.LineSpacing)) * 100 / 240,
                                TRPReadLimits::MaxLineSpacingPercent));
    w.Fill = pp.ShadingFill;
    // The side that gives the border: top, else left, bottom, right.
    const TRPRTFBorderSide* side = nullptr;
    int sideNo = -1;
    if (pp.Border && pp.Border->HasType()) {
        for (int s : {1, 0, 3, 2})
            if (pp.Border->TypeOf(s)) {
                sideNo = s;
                side = &*pp.Border->Sides[s];
                break;
            }
        w.HasBorder = true;
        RPRTFConvertBorder(side->Type, side->Width, sideNo >= 2, im.Factor, w.Border);
        // A border without a colour of its own takes the automatic one.
        w.Border.Color = side->Color == clNone ? RTFAutoColor : side->Color;
        w.Border.VisibleBorders.SetValues(pp.Border->TypeOf(0) != 0, pp.Border->TypeOf(1) != 0,
                                          pp.Border->TypeOf(2) != 0, pp.Border->TypeOf(3) != 0);
        // The gap between text and frame, on the sides that show a line.
        const auto gap = [&](int s) { return pp.Border->TypeOf(s) ? Px(pp.Border->Sides[s]->Spacing) : 0; };
        w.Border.BorderOffsets.Left = gap(0);
        w.Border.BorderOffsets.Top = gap(1);
        w.Border.BorderOffsets.Right = gap(2);
        w.Border.BorderOffsets.Bottom = gap(3);
        w.Border.KeepInReadLimits();
    }
    // Indents and spaces reach the text: the frame and its gap lie inside them.
    const int total = w.HasBorder ? w.Border.GetTotalWidth() : 0;
    const TRPRect& gap = w.Border.BorderOffsets;

    if (ParaStyleMode == rprsAddIfNeeded) {
        // The style as it is added, in the ranges of a style read from a file.
        TParaInfo want;
        want.Standard = false;
        want.Alignment = w.Alignment;
        want.LeftIndent = w.Left + total + gap.Left;
        want.RightIndent = w.Right + total + gap.Right;
        want.FirstIndent = w.First;
        want.SpaceBefore = w.Before + total + gap.Top;
        want.SpaceAfter = w.After + total + gap.Bottom;
        want.LineSpacing = w.Percent;
        want.Background.Color = w.Fill;
        if (w.HasBorder) {
            want.Border = w.Border;
            // The fill reaches the frame.
            want.Background.BorderOffsets = gap;
        }
        want.KeepInReadLimits();
        for (int i = 0; i < styles.Count(); ++i) {
            const TParaInfo& p = *styles.GetItem(i);
            if (p.Alignment != want.Alignment || p.LeftIndent != want.LeftIndent ||
                p.RightIndent != want.RightIndent || p.FirstIndent != want.FirstIndent ||
                p.SpaceBefore != want.SpaceBefore || p.SpaceAfter != want.SpaceAfter ||
                p.Background.Color != want.Background.Color ||
                !p.Background.BorderOffsets.IsEqual(want.Background.BorderOffsets))
                continue;
            // Percentages fit where the layout gives the lines the same spacing.
            const bool fits = p.LineSpacingType == rplsPercent
                                  ? p.ShownLineSpacingPercent() == RPShownLineSpacingPercent(w.Percent)
                                  : (p.LineSpacing <= 1 && w.Percent < 101);
            if (!fits) continue;
            if (!w.HasBorder) {
                if (p.Border.Style != rpbNone) continue;
            } else if (!p.Border.IsEqual(want.Border)) {
                continue;
            }
            return i;
        }
        styles.Add()->Assign(want);
        return styles.Count() - 1;
    }

    int best = 0;
    int64_t bestScore = 0;
    const int percent = std::max(w.Percent, 100);
    for (int i = 0; i < styles.Count(); ++i) {
        const TParaInfo& p = *styles.GetItem(i);
        // The style's own frame and gap lie inside its indents.
        const int t = p.Border.GetTotalWidth();
        const TRPRect& o = p.Border.BorderOffsets;
        int64_t s = 0;
        if (p.Alignment == w.Alignment) s += 50000;
        s += RP_CompareInts(w.Left + t + o.Left, p.LeftIndent, 1000);
        s += RP_CompareInts(w.Right + t + o.Right, p.RightIndent, 1000);
        s += RP_CompareInts(w.First, p.FirstIndent, 1000);
        s += RP_CompareInts(w.Before + t + o.Top, p.SpaceBefore, 1000);
        s += RP_CompareInts(w.After + t + o.Bottom, p.SpaceAfter, 1000);
        s += RP_CompareColors(p.Background.Color, w.Fill, 10000, 50000);
        if (p.LineSpacingType == rplsPercent)
            s += RP_CompareInts(percent, std::max(p.LineSpacing, 100), 5000);
        else
            s += p.LineSpacing >= 2 ? -20000 : (percent < 101 ? 5000 : 0);
        if (!w.HasBorder) {
            if (p.Border.Style == rpbNone) s += 20000;
        } else {
            s += o.SimilarityValue(gap, 1000);
            const bool shows[4] = {p.Border.VisibleBorders.Left, p.Border.VisibleBorders.Top,
                                   p.Border.VisibleBorders.Right, p.Border.VisibleBorders.Bottom};
            for (int k = 0; k < 4; ++k) {
                TRPBorder conv;
                const auto& sd = pp.Border->Sides[k];
                RPRTFConvertBorder(sd ? sd->Type : 0, sd ? sd->Width : 0, k >= 2, im.Factor, conv);
                const bool none = p.Border.Style == rpbNone || !shows[k];
                if (conv.Style != rpbNone) {
                    if (!none) {
                        s += 5000 + RP_CompareInts(conv.Width, p.Border.Width, 1000) +
                             RP_CompareInts(conv.InternalWidth, p.Border.InternalWidth, 1000) +
                             RP_CompareColors(p.Border.Color, sd->Color == clNone ? RTFAutoColor : sd->Color,
                                              3333, 3000);
                        if (conv.Style == p.Border.Style) s += 1000;
                    }
                } else if (none) {
                    s += 20000;
                }
            }
        }
        if (s > bestScore) {
            bestScore = s;
            best = i;
        }
    }
    return best;
}
