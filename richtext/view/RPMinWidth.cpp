// Minimum widths: the narrowest layout width that cuts no word and no
// non-text item, per item, line section, paragraph and document, and the
// indent rule they share with the line builder.
#include <algorithm>

#include "richtext/model/RPCoords.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormatState.h"

namespace {

// A record with equal resolutions scales nothing.
const TRPResolution* Effective(const TRPResolution* R) {
    return R && (R->ScreenX != R->DeviceX || R->ScreenY != R->DeviceY) ? R : nullptr;
}

} // namespace

void TCustomRPFormattedData::FillResolution(TCanvas* Canvas, TRPResolution& Resolution) {
    if (Canvas)
        FillResolutionRecord(Resolution, *Canvas);
    else
        Resolution = TRPResolution{};
}

int TCustomRPFormattedData::GetParaIndentTotal(int ItemNo, int& ParaStartNo) {
    if (ParaStartNo < 0) ParaStartNo = GetFirstParaItem(ItemNo);
    const TRPStyle* style = GetRPStyle();
    if (!style) return 0;
    const TParaInfo* para = style->ParaStyles().GetItem(GetItemPara(ItemNo));
    const TRPListLevel* level = nullptr;
    if (IsListMarkerItem(ParaStartNo))
        level = static_cast<const TRPMarkerItemInfo*>(GetItem(ParaStartNo))->GetLevelInfo(style);
    int listNo = -1, lvl = -1;
    if (!level && ParaStartNo == 0 && (State & rpstInheritedListLevel) && GetInheritedListLevel(listNo, lvl))
        level = GetListLevelInfo(style, listNo, lvl);
    if (level) {
        const int side = GetParaBiDiMode(GetItemPara(ItemNo)) == rpbdRightToLeft ? para->LeftIndent : para->RightIndent;
        return level->LeftIndent + std::max(level->FirstIndent, 0) + side;
    }
    int total = para->LeftIndent + para->RightIndent;
    if (para->FirstIndent > 0 && !IsFullLineItem(ItemNo)) total += para->FirstIndent;
    return total;
}

int TCustomRPFormattedData::CalcItemIndent(int ItemNo, int& ParaStartNo, const TRPResolution* Resolution) {
    const int v = GetParaIndentTotal(ItemNo, ParaStartNo);
    return Resolution ? MulDiv(v, Resolution->DeviceX, Resolution->ScreenX) : v;
}

int TCustomRPFormattedData::CalcItemMinWidth(int ItemNo, const TRPResolution* Resolution, TCanvas* Canvas) {
    TCustomRPItemInfo* item = GetItem(ItemNo);
    const int sn = GetActualStyle(item);
    int w = 0;
    if (sn < 0) {
        w = item->GetMinWidth(Resolution, Canvas, this);
    } else if (Canvas && GetRPStyle()) {
        // The widest run of characters between spaces.
        if (!IsMeasured(ItemNo))
            GetRPStyle()->TextStyles().GetItem(sn)->Apply(*Canvas, GetParaBiDiMode(item->ParaNo));
        const std::vector<int>& p = MeasureItemText(*Canvas, ItemNo);
        const std::string& text = GetItemText(ItemNo);
        const int n = static_cast<int>(p.size());
        int wordStart = 0; // width before the current word
        for (int i = 1; i <= n + 1; ++i) {
            if (i <= n && !ItemTextIsSpaceAt(text, i, item->ItemOptions)) continue;
            const int end = i > 1 ? p[static_cast<size_t>(i - 2)] : 0;
            w = std::max(w, end - wordStart);
            wordStart = i <= n ? p[static_cast<size_t>(i - 1)] : 0;
        }
    }
    // Text right after a list marker shares its line with the marker.
    if (ItemNo > 0 && item->GetContinuesPrev() && IsListMarkerItem(ItemNo - 1))
        w = RPCoordSum(w, GetItem(ItemNo - 1)->GetMinWidth(Resolution, Canvas, this));
    return RPCoordClamp(w);
}

void TCustomRPFormattedData::KeepMinWidthsAround(int First, int Tail, int OldCount, bool JoinsBefore) {
    const int count = GetItemCount();
    First = std::max(First, 0);
    Tail = std::max(Tail, 0);
    if (FKeptMinWidths.size() != static_cast<size_t>(OldCount) || First > OldCount - Tail ||
        First > count - Tail) {
        FKeptMinWidths.clear();
        return;
    }
    auto& k = FKeptMinWidths;
    k.erase(k.begin() + First, k.begin() + (OldCount - Tail));
    k.insert(k.begin() + First, static_cast<size_t>(count - Tail - First), -1);
    // Indents come from a paragraph's start: the paragraphs that the change
    // touches are measured again as a whole. Sections end where a line
    // starts: one before the change that did not run into it keeps its width.
    int from = std::min(First, count), to = count - Tail;
    if (JoinsBefore) {
        while (from > 0 && !IsParaStart(from - 1))
            --from;
        if (from > 0) --from;
    }
    while (to < count && !IsParaStart(to))
        ++to;
    std::fill(k.begin() + from, k.begin() + to, -1);
}

bool TCustomRPFormattedData::KeepsSectionWidth(int FirstItemNo, int LastItemNo) const {
    // Other items may change without the document's knowing (a table's cells).
    for (int i = FirstItemNo; i <= LastItemNo; ++i)
        if (GetItemStyle(i) < 0 && GetItemStyle(i) != rpsnListMarker) return false;
    return true;
}

int TCustomRPFormattedData::CalcSectionMinWidth(int FirstItemNo, int LastItemNo, TCanvas* Canvas,
                                                const TRPResolution* Resolution, int& ParaStartNo) {
    if (LastItemNo < FirstItemNo) return 0;
    int indent = CalcItemIndent(FirstItemNo, ParaStartNo, Resolution);
    int result = 0;
    for (int i = FirstItemNo; i <= LastItemNo; ++i) {
        if (IsParaStart(i)) ParaStartNo = i;
        if (i > FirstItemNo && IsFromNewLine(i)) indent = CalcItemIndent(i, ParaStartNo, Resolution);
        result = std::max(result, RPCoordSum(indent, CalcItemMinWidth(i, Resolution, Canvas)));
    }
    return result;
}

int TCustomRPFormattedData::CalcParaMinWidthEx(int ItemNo, int& ParaStartNo, TCanvas* Canvas,
                                               const TRPResolution* Resolution) {
    if (!Canvas) Canvas = GetCanvas();
    const TRPStyle* style = GetRPStyle();
    if (!style || ItemNo < 0 || ItemNo >= GetItemCount()) return 0;
    int first = 0, last = 0;
    ExpandToParaSection(ItemNo, ItemNo, first, last);
    if (!(style->ParaStyles().GetItem(GetItemPara(first))->Options & rppaoNoWrap))
        return CalcSectionMinWidth(first, last, Canvas, Resolution, ParaStartNo);
    // The whole section stands on one line.
    int w = CalcItemIndent(first, ParaStartNo, Resolution);
    for (int i = first; i <= last; ++i) {
        TCustomRPItemInfo* item = GetItem(i);
        const int sn = GetActualStyle(item);
        if (sn < 0) {
            w = RPCoordSum(w, item->GetMinWidth(Resolution, Canvas, this));
        } else if (Canvas) {
            if (!IsMeasured(i)) style->TextStyles().GetItem(sn)->Apply(*Canvas, GetParaBiDiMode(item->ParaNo));
            const std::vector<int>& p = MeasureItemText(*Canvas, i);
            w = RPCoordSum(w, p.empty() ? 0 : p.back());
        }
    }
    return w;
}

int TCustomRPFormattedData::CalcRangeMinWidthEx(int FirstItemNo, int LastItemNo, TCanvas* Canvas,
                                                const TRPResolution* Resolution, int& ParaStartNo) {
    const int count = GetItemCount();
    if (count == 0 || LastItemNo < FirstItemNo) return 0;
    int first = 0, last = 0;
    ExpandToParaSection(std::max(FirstItemNo, 0), std::min(LastItemNo, count - 1), first, last);
    // Widths of line sections on the document's own canvas are kept: the
    // first item of a section holds its width, the others -2.
    const bool keep = !Resolution && (!Canvas || Canvas == GetCanvas());
    if (keep && FKeptMinWidths.size() != static_cast<size_t>(count))
        FKeptMinWidths.assign(static_cast<size_t>(count), -1);
    int result = 0;
    int i = first;
    while (i <= last) {
        if (keep && FTrustKeptMinWidths && FKeptMinWidths[static_cast<size_t>(i)] >= 0) {
            result = std::max(result, FKeptMinWidths[static_cast<size_t>(i)]);
            ParaStartNo = -1; // found again when next needed
            while (++i <= last && FKeptMinWidths[static_cast<size_t>(i)] == -2) {
            }
            continue;
        }
        int sFirst = 0, sLast = 0;
        ExpandToParaSection(i, i, sFirst, sLast);
        if (IsParaStart(i)) ParaStartNo = i;
        const int w = CalcParaMinWidthEx(i, ParaStartNo, Canvas, Resolution);
        result = std::max(result, w);
        if (keep) {
            const bool kept = KeepsSectionWidth(sFirst, sLast);
            FKeptMinWidths[static_cast<size_t>(sFirst)] = kept ? w : -1;
            for (int k = sFirst + 1; k <= sLast; ++k)
                FKeptMinWidths[static_cast<size_t>(k)] = kept ? -2 : -1;
        }
        i = sLast + 1;
    }
    return result;
}

int TCustomRPFormattedData::CalcDocMinWidth(const TRPResolution* Resolution, TCanvas* Canvas) {
    int paraStart = -1;
    return CalcRangeMinWidthEx(0, GetItemCount() - 1, Canvas, Effective(Resolution), paraStart);
}

int TCustomRPFormattedData::CalcRangeMinWidth(int FirstItemNo, int LastItemNo) {
    int paraStart = -1;
    return CalcRangeMinWidthEx(FirstItemNo, LastItemNo, GetCanvas(), nullptr, paraStart);
}

int TCustomRPFormattedData::CalcParaMinWidth(int ItemNo) {
    int paraStart = -1;
    return CalcParaMinWidthEx(ItemNo, paraStart, nullptr, nullptr);
}

int TCustomRPFormattedData::GetParaMinWidth(int ItemNo) {
    int paraStart = -1;
    return CalcParaMinWidthEx(ItemNo, paraStart, GetCanvas(), nullptr);
}

int TCustomRPFormattedData::CalcItemsMinWidth(int FirstItemNo, int LastItemNo) {
    if (GetItemCount() == 0 || LastItemNo < FirstItemNo) return 0;
    FirstItemNo = std::max(FirstItemNo, 0);
    LastItemNo = std::min(LastItemNo, GetItemCount() - 1);
    const TRPStyle* style = GetRPStyle();
    if (!style) return 0;
    TCanvas* canvas = GetCanvas();
    const auto noWrap = [&](int i) { return (style->ParaStyles().GetItem(GetItemPara(i))->Options & rppaoNoWrap) != 0; };
    int f1 = 0, l1 = 0, f2 = 0, l2 = 0;
    ExpandToParaSection(FirstItemNo, FirstItemNo, f1, l1);
    ExpandToParaSection(LastItemNo, LastItemNo, f2, l2);
    int paraStart = -1;
    int result = noWrap(FirstItemNo)
                     ? CalcParaMinWidth(FirstItemNo)
                     : CalcSectionMinWidth(FirstItemNo, std::min(l1, LastItemNo), canvas, nullptr, paraStart);
    if (LastItemNo > l1) {
        paraStart = -1;
        result = std::max(result, noWrap(LastItemNo)
                                      ? CalcParaMinWidth(LastItemNo)
                                      : CalcSectionMinWidth(std::max(f2, FirstItemNo), LastItemNo, canvas, nullptr,
                                                            paraStart));
    }
    if (f2 > l1 + 1) {
        paraStart = -1;
        result = std::max(result, CalcRangeMinWidthEx(l1 + 1, f2 - 1, canvas, nullptr, paraStart));
    }
    return result;
}
