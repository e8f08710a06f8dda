#pragma once
// Comparing two documents as a round trip through a format must leave them:
// line by line, the kinds, texts, text and paragraph styles (by the styles'
// own comparison), list markers, picture sizes and link targets of the items;
// tables by their grids (spans, widths, padding, spacing, borders, the column
// boundaries of a layout) and their cells' documents.
// Empty text runs inside a line and empty lines at the end carry nothing a
// format keeps, so they are left out; neighbouring runs that differ only in
// being kept as UTF-16 are one run.
#include <algorithm>
#include <string>
#include <vector>

#include "WriterTestsDoc.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"

// The text of item i as UTF-8.
inline std::string ItemUtf8(const TCustomRPData& d, int i) {
    const std::string& t = d.GetItemText(i);
    if (d.GetItem(i)->IsUnicode()) return QString::fromStdU16String(ItemTextToWideStr(t)).toStdString();
    const int style = d.GetItemStyle(i);
    return ItemTextToQString(t, 0, style >= 0 ? d.GetStyleCodePage(style) : 1252).toStdString();
}

inline std::string StyleDump(const TFontInfo& f) {
    return f.FontName + "," + std::to_string(f.Size) + ",cs" + std::to_string(f.Charset) + ",u" +
           std::to_string(f.Unicode) + ",st" + std::to_string(f.Style) + ",ex" + std::to_string(f.StyleEx) + ",v" +
           std::to_string(f.VShift) + ",c" + std::to_string(f.Color) + ",b" + std::to_string(f.BackColor) + ",j" +
           std::to_string(f.Jump) + ",sc" + std::to_string(f.CharScale) + ",sp" + std::to_string(f.CharSpacing);
}

inline std::string ParaDump(const TParaInfo& p) {
    auto n = [](int v) { return std::to_string(v) + ","; };
    return n(p.FirstIndent) + n(p.LeftIndent) + n(p.RightIndent) + n(p.SpaceBefore) + n(p.SpaceAfter) +
           n(p.LineSpacing) + n(p.LineSpacingType) + n(p.Alignment) + "bd" + n(p.Border.Style) + n(p.Border.Color) +
           n(p.Border.Width) + "bg" + n(p.Background.Color);
}

// List levels equal for what they show: a level beyond the last is the last
// (RTF lists have one or nine levels), the start value only counts where the
// level numbers, a format text only where the type shows it, and counting on
// through other paragraphs is not a property that numbering shows.
inline bool SameLists(const TRPListInfo& a, const TRPListInfo& b) {
    const int ca = a.Levels.Count(), cb = b.Levels.Count();
    if ((ca == 0) != (cb == 0)) return false;
    for (int k = 0; k < std::max(ca, cb); ++k) {
        TRPListLevel& x = *a.Levels[std::min(k, ca - 1)];
        TRPListLevel& y = *b.Levels[std::min(k, cb - 1)];
        const bool wide = x.ListType == rplstUnicodeBullet;
        const bool text = x.ListType == rplstBullet || x.HasTextNumbering();
        if (x.ListType != y.ListType || (x.HasNumbering() && x.StartFrom != y.StartFrom) ||
            (text && x.FormatString != y.FormatString) || (wide && x.FormatStringW != y.FormatStringW) ||
            x.LeftIndent != y.LeftIndent || x.FirstIndent != y.FirstIndent || x.MarkerIndent != y.MarkerIndent ||
            x.MarkerAlignment != y.MarkerAlignment ||
            (x.Options & ~rploContinuous) != (y.Options & ~rploContinuous))
            return false;
        if (x.UsesFont() && !x.Font()->IsEqual(*y.Font())) return false;
    }
    return true;
}

// Paragraph styles by their own comparison; a list paragraph takes its
// indents from its list level, and a border without colour is no border.
inline bool SameParas(const TParaInfo& a, const TParaInfo& b, bool ListPara) {
    uint32_t mask = RPParaInfoMask::NextParaNo | RPParaInfoMask::DefStyleNo;
    if (ListPara) mask |= RPParaInfoMask::FirstIndent | RPParaInfoMask::LeftIndent;
    const bool va = a.Border.Style != rpbNone && a.Border.Color != clNone;
    const bool vb = b.Border.Style != rpbNone && b.Border.Color != clNone;
    if (!va && !vb)
        mask |= RPParaInfoMask::BorderColor | RPParaInfoMask::BorderStyle | RPParaInfoMask::BorderWidth |
                RPParaInfoMask::BorderInternalWidth | RPParaInfoMask::BorderOffsetLeft |
                RPParaInfoMask::BorderOffsetTop | RPParaInfoMask::BorderOffsetRight |
                RPParaInfoMask::BorderOffsetBottom | RPParaInfoMask::VisibleLeft | RPParaInfoMask::VisibleTop |
                RPParaInfoMask::VisibleRight | RPParaInfoMask::VisibleBottom;
    return a.IsEqualExcept(b, mask);
}

struct TLineOfItems {
    bool ParaStart = true;
    std::vector<int> Items;             // the first item of each run
    std::vector<std::vector<int>> Runs; // the items of each run
};

// The text of a run of items as UTF-8.
inline std::string RunUtf8(const TCustomRPData& d, const std::vector<int>& Run) {
    std::string s;
    for (int i : Run)
        s += ItemUtf8(d, i);
    return s;
}

// Two text runs that read back as one: styles equal but for UTF-16 (text is
// written per character as 8-bit or \u, and read back in runs of each), and the same link.
inline bool SameRun(const TCustomRPData& d, int i, int j) {
    const int si = d.GetItemStyle(i), sj = d.GetItemStyle(j);
    if (si < 0 || sj < 0) return false;
    const TRPStyle& st = *const_cast<TCustomRPData&>(d).GetRPStyle();
    return st.TextStyles().GetItem(si)->IsEqualExcept(*st.TextStyles().GetItem(sj),
                                                      RPFontInfoMask::Unicode | RPFontInfoMask::NextStyleNo) &&
           d.GetItemTag(i).Text.value_or("") == d.GetItemTag(j).Text.value_or("");
}

inline std::vector<TLineOfItems> LinesOf(const TCustomRPData& d) {
    std::vector<TLineOfItems> lines;
    for (int i = 0; i < d.GetItemCount(); ++i) {
        if (i == 0 || d.IsFromNewLine(i)) lines.push_back(TLineOfItems{d.IsParaStart(i), {}, {}});
        if (d.GetItemStyle(i) >= 0 && d.GetItemText(i).empty()) continue;
        if (!lines.back().Items.empty() && SameRun(d, lines.back().Items.back(), i)) {
            lines.back().Runs.back().push_back(i);
            continue;
        }
        lines.back().Items.push_back(i);
        lines.back().Runs.push_back({i});
    }
    while (!lines.empty() && lines.back().Items.empty())
        lines.pop_back();
    return lines;
}

inline std::string FirstDifference(TCustomRPData& a, TCustomRPData& b);

// Two tables: their properties, grids, layouts at one width and cells.
inline std::string CompareTables(TRPTableItemInfo& x, TRPTableItemInfo& y) {
    const auto props = [](const TRPTableItemInfo& t) {
        std::string s;
        for (int v : {t.BestWidth, t.BorderWidth, t.CellBorderWidth, t.CellPadding, t.CellHSpacing, t.CellVSpacing,
                      t.BorderHSpacing, t.BorderVSpacing, t.HeadingRowCount, int(t.BorderStyle), int(t.CellBorderStyle),
                      int(t.Color), int(t.BorderColor), int(t.CellBorderColor)})
            s += std::to_string(v) + " ";
        return s;
    };
    // One row has no spacing between rows to keep.
    if (x.Rows->RowCount() == 1) y.CellVSpacing = x.CellVSpacing;
    if (props(x) != props(y)) return "table " + props(x) + "/ " + props(y);
    const int R = x.Rows->RowCount(), C = x.Rows->GetColCount();
    if (R != y.Rows->RowCount() || C != y.Rows->GetColCount())
        return "grid " + std::to_string(R) + "x" + std::to_string(C) + " / " + std::to_string(y.Rows->RowCount()) +
               "x" + std::to_string(y.Rows->GetColCount());
    const auto layout = [](TRPTableItemInfo& t) {
        t.UpdateLayout(600, t.FormattingInfo, true, nullptr);
        std::string s;
        for (int c = 0; c < t.FormattingInfo.ColStarts.Count(); ++c)
            s += std::to_string(t.FormattingInfo.ColStarts[c]) + "+" + std::to_string(t.FormattingInfo.ColWidths[c]) + " ";
        return s;
    };
    if (const std::string lx = layout(x), ly = layout(y); lx != ly) return "columns " + lx + "/ " + ly;
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* p = x.GetCell(r, c);
            TRPTableCellData* q = y.GetCell(r, c);
            const std::string at = "cell " + std::to_string(r) + "," + std::to_string(c) + ": ";
            if (!p != !q) return at + "covered / not";
            if (!p) continue;
            // A border of no width has no form in RTF: which of its sides
            // show counts where the table has cell borders.
            const bool sides = x.CellBorderWidth > 0;
            const auto cell = [&](const TRPTableCellData& k) {
                std::string s;
                for (int v : {k.RowSpan, k.ColSpan, k.BestWidth, k.BestHeight, int(k.Color), int(k.VAlign)})
                    s += std::to_string(v) + " ";
                if (sides)
                    for (bool v : {k.VisibleBorders.Left, k.VisibleBorders.Top, k.VisibleBorders.Right,
                                   k.VisibleBorders.Bottom})
                        s += v ? "1" : "0";
                return s;
            };
            if (cell(*p) != cell(*q)) return at + cell(*p) + "/ " + cell(*q);
            if (std::string d = FirstDifference(*p, *q); !d.empty()) return at + d;
        }
    return std::string();
}

inline std::string CompareItems(TCustomRPData& a, int i, TCustomRPData& b, int j, bool ListPara,
                                const std::string& TextA, const std::string& TextB) {
    TRPStyle& sa = *a.GetRPStyle();
    TRPStyle& sb = *b.GetRPStyle();
    const std::string at = "item " + std::to_string(i) + "/" + std::to_string(j) + ": ";
    const TCustomRPItemInfo& x = *a.GetItem(i);
    const TCustomRPItemInfo& y = *b.GetItem(j);
    const int kx = a.GetItemStyle(i), ky = b.GetItemStyle(j);
    if ((kx < 0 || ky < 0) && kx != ky) return at + "kind " + std::to_string(kx) + " / " + std::to_string(ky);
    if (kx >= 0) {
        if (TextA != TextB) return at + "text '" + TextA.substr(0, 60) + "' / '" + TextB.substr(0, 60) + "'";
        // Whether a run is kept as UTF-16 or 8-bit text is a matter of storage:
        // the texts are compared as Unicode.
        const uint32_t ignore = RPFontInfoMask::NextStyleNo | RPFontInfoMask::Unicode;
        if (!sa.TextStyles().GetItem(kx)->IsEqualExcept(*sb.TextStyles().GetItem(ky), ignore))
            return at + "text style of '" + TextA.substr(0, 40) + "' " + StyleDump(*sa.TextStyles().GetItem(kx)) +
                   " / " + StyleDump(*sb.TextStyles().GetItem(ky));
    }
    if (x.GetBoolValueEx(rpbivexJump, &sa) && x.Tag.Text.value_or("") != y.Tag.Text.value_or(""))
        return at + "link " + x.Tag.Text.value_or("") + " / " + y.Tag.Text.value_or("");
    if (!SameParas(*sa.ParaStyles().GetItem(x.ParaNo), *sb.ParaStyles().GetItem(y.ParaNo), ListPara))
        return at + "paragraph style " + ParaDump(*sa.ParaStyles().GetItem(x.ParaNo)) + " / " +
               ParaDump(*sb.ParaStyles().GetItem(y.ParaNo));
    if (auto* m = dynamic_cast<const TRPMarkerItemInfo*>(&x)) {
        auto* n = dynamic_cast<const TRPMarkerItemInfo*>(&y);
        const TRPListInfo* la = m->ListNo >= 0 ? sa.ListStyles().Items(m->ListNo) : nullptr;
        const TRPListInfo* lb = n->ListNo >= 0 ? sb.ListStyles().Items(n->ListNo) : nullptr;
        if (m->Level != n->Level || m->DisplayString != n->DisplayString)
            return at + "marker '" + m->DisplayString + "' / '" + n->DisplayString + "'";
        if (!la != !lb || (la && !SameLists(*la, *lb))) return at + "list style";
    }
    if (auto* t = dynamic_cast<TRPTableItemInfo*>(a.GetItem(i))) {
        if (std::string d = CompareTables(*t, *static_cast<TRPTableItemInfo*>(b.GetItem(j))); !d.empty())
            return at + d;
    }
    if (auto* g = dynamic_cast<const TRPGraphicItemInfo*>(&x)) {
        auto* h = dynamic_cast<const TRPGraphicItemInfo*>(&y);
        if (g->GetImageWidth(&sa) != h->GetImageWidth(&sb) || g->GetImageHeight(&sa) != h->GetImageHeight(&sb))
            return at + "picture size " + std::to_string(g->GetImageWidth(&sa)) + "x" +
                   std::to_string(g->GetImageHeight(&sa)) + " / " + std::to_string(h->GetImageWidth(&sb)) + "x" +
                   std::to_string(h->GetImageHeight(&sb));
    }
    return std::string();
}

// The first difference between two documents, empty when there is none.
inline std::string FirstDifference(TCustomRPData& a, TCustomRPData& b) {
    const std::vector<TLineOfItems> la = LinesOf(a), lb = LinesOf(b);
    for (size_t l = 0; l < la.size() && l < lb.size(); ++l) {
        const std::string at = "line " + std::to_string(l) + ": ";
        if (la[l].ParaStart != lb[l].ParaStart) return at + "paragraph start";
        if (la[l].Items.size() != lb[l].Items.size())
            return at + "items " + std::to_string(la[l].Items.size()) + " / " + std::to_string(lb[l].Items.size());
        const bool listPara = !la[l].Items.empty() && a.GetItemStyle(la[l].Items[0]) == rpsnListMarker;
        for (size_t k = 0; k < la[l].Items.size(); ++k)
            if (std::string d = CompareItems(a, la[l].Items[k], b, lb[l].Items[k], listPara,
                                             RunUtf8(a, la[l].Runs[k]), RunUtf8(b, lb[l].Runs[k]));
                !d.empty())
                return at + d;
    }
    if (la.size() != lb.size()) return "lines " + std::to_string(la.size()) + " / " + std::to_string(lb.size());
    return std::string();
}
