// The CSS of text and paragraph styles, and the style sheet of a style component.
#include <cstdio>

#include "richtext/model/RPHTMLWriter.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

void Prop(std::string& S, bool MultiLine, const std::string& Name, const std::string& Value) {
    S += " " + Name + ": " + Value + ";";
    if (MultiLine) S += "\r\n";
}

std::string VAlignValue(const TFontInfo& f) {
    return f.VShift > 0 ? "super" : f.VShift < 0 ? "sub" : "";
}

std::string Decoration(const TFontInfo& f) {
    std::string d = (f.Style & RPFontStyle::Underline) ? "underline" : (f.Style & RPFontStyle::StrikeOut) ? "line-through" : "";
    const bool over = (f.StyleEx & rpfsOverline) != 0;
    if (!d.empty() && over) return d + " overline";
    if (!d.empty()) return f.Jump && d != "underline" ? "none " + d : d;
    if (over) return f.Jump ? "none overline" : "overline";
    return "none";
}

bool BorderVisible(const TRPBorder& b) {
    return b.Style != rpbNone && b.Color != clNone;
}

int BorderWidth(const TRPBorder& b) {
    switch (b.Style) {
    case rpbSingle:
        return b.Width;
    case rpbDouble:
        return b.Width + b.InternalWidth;
    case rpbTriple:
        return b.Width + 2 * b.InternalWidth;
    default:
        return b.Width * 3 / 2 + b.InternalWidth;
    }
}

// The room between a paragraph's text and its border or background.
TRPRect Padding(const TParaInfo& p) {
    TRPRect r;
    if (BorderVisible(p.Border)) r = p.Border.BorderOffsets;
    if (p.Background.Color != clNone) {
        const TRPRect& b = p.Background.BorderOffsets;
        r.Left = std::max(r.Left, b.Left);
        r.Top = std::max(r.Top, b.Top);
        r.Right = std::max(r.Right, b.Right);
        r.Bottom = std::max(r.Bottom, b.Bottom);
    }
    return r;
}

std::string Px(int v) {
    return std::to_string(v) + "px";
}

const char* const AlignNames[] = {"left", "right", "center", "justify"};

} // namespace

void RPFontInfoCSS(std::string& S, const TFontInfo& f, const TFontInfo* b, bool ML, const TRPStyle& RPStyle) {
    if (!b || f.Size != b->Size) Prop(S, ML, "font-size", std::to_string(f.Size) + "pt");
    if (!b || !RPSameTextNoCase(f.FontName, b->FontName)) Prop(S, ML, "font-family", "'" + f.FontName + "'");
    const bool it = (f.Style & RPFontStyle::Italic) != 0, bold = (f.Style & RPFontStyle::Bold) != 0;
    if (!b || it != ((b->Style & RPFontStyle::Italic) != 0)) Prop(S, ML, "font-style", it ? "italic" : "normal");
    if (!b || bold != ((b->Style & RPFontStyle::Bold) != 0)) Prop(S, ML, "font-weight", bold ? "bold" : "normal");
    if (!b || f.Color != b->Color) Prop(S, ML, "color", ColorToHTML(f.Color));
    if (b ? f.CharSpacing != b->CharSpacing : f.CharSpacing != 0) Prop(S, ML, "letter-spacing", Px(f.CharSpacing));
    const bool caps = (f.StyleEx & rpfsAllCaps) != 0, baseCaps = b && (b->StyleEx & rpfsAllCaps);
    if (caps && !baseCaps) Prop(S, ML, "text-transform", "uppercase");
    if (!caps && baseCaps) Prop(S, ML, "text-transform", "none");
    if (b ? f.BackColor != b->BackColor : (f.BackColor != clNone || !ML))
        Prop(S, ML, "background-color", ColorToHTMLOrTransparent(f.BackColor));
    const std::string va = VAlignValue(f);
    // Against a shifted base an unshifted style goes back to the baseline.
    if (b ? va != VAlignValue(*b) : !va.empty()) Prop(S, ML, "vertical-align", va.empty() ? "baseline" : va);
    const std::string deco = Decoration(f);
    if (!b || deco != Decoration(*b) || (f.Jump && deco == "none")) Prop(S, ML, "text-decoration", deco);
    (void)RPStyle;
}

void RPParaInfoCSS(std::string& S, const TParaInfo& p, const TParaInfo* b, bool InList, bool IgnoreLeft,
                   bool ML) {
    if (b ? p.Alignment != b->Alignment : !(IgnoreLeft && p.Alignment == rpaLeft))
        Prop(S, ML, "text-align", AlignNames[p.Alignment & 3]);
    if (!InList && (!b || p.FirstIndent != b->FirstIndent)) Prop(S, ML, "text-indent", Px(p.FirstIndent));
    // The spacing the layout gives the lines, not a percentage it ignores.
    // A base that spaces its lines otherwise writes no line height: its
    // lines are single spaced in CSS, so a percentage other than 100 is
    // stated against it as well.
    const int percent = p.ShownLineSpacingPercent(), basePercent = b ? b->ShownLineSpacingPercent() : 100;
    if (p.LineSpacingType == rplsPercent && percent != basePercent) {
        char v[32];
        std::snprintf(v, sizeof v, "%d.%02d", percent / 100, percent % 100);
        Prop(S, ML, "line-height", v);
    } else if (b && b->LineSpacingType == rplsPercent && basePercent != 100 &&
               p.LineSpacingType != rplsPercent) {
        Prop(S, ML, "line-height", "normal");
    }
    const bool noWrap = (p.Options & rppaoNoWrap) != 0, baseNoWrap = b && (b->Options & rppaoNoWrap);
    if (noWrap && !baseNoWrap) Prop(S, ML, "white-space", "nowrap");
    if (!noWrap && baseNoWrap) Prop(S, ML, "white-space", "normal");
    if (!BorderVisible(p.Border)) {
        if (b && BorderVisible(b->Border)) Prop(S, ML, "border", "none");
    } else {
        Prop(S, ML, "border-color", ColorToHTML(p.Border.Color));
        Prop(S, ML, "border-style", p.Border.Style == rpbSingle ? "solid" : "double");
        Prop(S, ML, "border-width", Px(BorderWidth(p.Border)));
        const TRPBooleanRect& v = p.Border.VisibleBorders;
        if (!v.Top) Prop(S, ML, "border-top", "none");
        if (!v.Right) Prop(S, ML, "border-right", "none");
        if (!v.Bottom) Prop(S, ML, "border-bottom", "none");
        if (!v.Left) Prop(S, ML, "border-left", "none");
    }
    if (b ? p.Background.Color != b->Background.Color : p.Background.Color != clNone)
        Prop(S, ML, "background", ColorToHTMLOrTransparent(p.Background.Color));
    const TRPRect pad = Padding(p);
    const TRPRect basePad = b ? Padding(*b) : TRPRect();
    if (!b || !pad.IsEqual(basePad))
        Prop(S, ML, "padding", Px(pad.Top) + " " + Px(pad.Right) + " " + Px(pad.Bottom) + " " + Px(pad.Left));
    const int mt = p.SpaceBefore - pad.Top, mr = p.RightIndent - pad.Right, mb = p.SpaceAfter - pad.Bottom,
              ml = p.LeftIndent - pad.Left;
    const bool same = b && mt == b->SpaceBefore - basePad.Top && mr == b->RightIndent - basePad.Right &&
                      mb == b->SpaceAfter - basePad.Bottom && ml == b->LeftIndent - basePad.Left;
    if (same) return;
    if (InList) {
        Prop(S, ML, "margin-top", Px(mt));
        Prop(S, ML, "margin-right", Px(mr));
        Prop(S, ML, "margin-bottom", Px(mb));
    } else {
        Prop(S, ML, "margin", Px(mt) + " " + Px(mr) + " " + Px(mb) + " " + Px(ml));
    }
}

void TRPStyle::SaveCSSToStream(std::string& S, int Flags) const {
    const TRPStyle& RPStyle = *this;
    const TFontInfos& ts = RPStyle.TextStyles();
    const TParaInfos& ps = RPStyle.ParaStyles();
    const bool inherit = (Flags & 1) != 0, style0Classes = (Flags & 4) != 0;
    const bool plain0 = ts.Count() > 0 && !ts.GetItem(0)->Jump && ts.GetItem(0)->BackColor == clNone;
    auto comment = [](const TCustomRPInfo& s) {
        return s.Standard ? " /* " + HTMLEscapeAttribute(ReplaceAll(s.StyleName, "*/", "* /")) + " */" : std::string();
    };
    RPWriteLn(S, "/*----------Text Styles----------*/");
    RPWriteLn(S, "HR { color: " + ColorToHTML(ts.Count() > 0 ? ts.GetItem(0)->Color : clWindowText) + "}");
    for (int i = 0; i < ts.Count(); ++i) {
        const TFontInfo& f = *ts.GetItem(i);
        const std::string n = std::to_string(i);
        if (i == 0 && plain0 && !style0Classes)
            RPWriteLn(S, "BODY, TABLE" + comment(f));
        else if (f.Jump)
            RPWriteLn(S, "A.RPTS" + n + ", SPAN.RPTS" + n + comment(f));
        else
            RPWriteLn(S, "SPAN.RPTS" + n + comment(f));
        const TFontInfo* base = nullptr;
        if (inherit && f.BaseStyleNo >= 0 && f.BaseStyleNo < ts.Count())
            base = ts.GetItem(f.BaseStyleNo);
        else if (i > 0 && plain0 && !style0Classes)
            base = ts.GetItem(0);
        RPWriteLn(S, "{");
        RPFontInfoCSS(S, f, base, true, RPStyle);
        RPWriteLn(S, "}");
        const TColor hover = f.HoverColor != clNone ? f.HoverColor : RPStyle.HoverColor;
        if (f.Jump && (hover != clNone || f.HoverBackColor != clNone)) {
            S += "A.RPTS" + n + ":hover {";
            const TColor baseHover =
                base ? (base->HoverColor != clNone ? base->HoverColor : RPStyle.HoverColor) : clNone;
            if (hover != clNone && (!base || !base->Jump || hover != baseHover)) S += " color: " + ColorToHTML(hover) + ";";
            if (f.HoverBackColor != clNone && (!base || !base->Jump || f.HoverBackColor != base->HoverBackColor))
                S += " background-color: " + ColorToHTML(f.HoverBackColor) + ";";
            RPWriteLn(S, " }");
        }
    }
    RPWriteLn(S, "/*----------Para Styles----------*/");
    for (int i = 0; i < ps.Count(); ++i) {
        const TParaInfo& p = *ps.GetItem(i);
        if (i == 0 && !style0Classes)
            RPWriteLn(S, "P,UL,OL" + comment(p));
        else
            RPWriteLn(S, ".RPPS" + std::to_string(i) + comment(p));
        const TParaInfo* base = nullptr;
        if (inherit && p.BaseStyleNo >= 0 && p.BaseStyleNo < ps.Count())
            base = ps.GetItem(p.BaseStyleNo);
        else if (i >= 1 && !style0Classes)
            base = ps.GetItem(0);
        RPWriteLn(S, "{");
        RPParaInfoCSS(S, p, base, false, (Flags & 2) != 0, true);
        RPWriteLn(S, "}");
    }
}
