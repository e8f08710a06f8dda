// Partial reformatting: after an edit only the lines (or paragraphs) it
// touched are laid out again; every later draw item moves by the change in
// height and keeps its list slot.
#include <algorithm>
#include <vector>

#include "richtext/model/RPCoords.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPFormatState.h"

void TCustomRPFormattedData::ReformatDrawItemsAround(int FirstDItemNo, int LastDItemNo, int ItemCountDelta) {
    const int n = DrawItemCount();
    if (n == 0) return;
    FirstDItemNo = std::clamp(FirstDItemNo, 0, n - 1);
    LastDItemNo = std::clamp(LastDItemNo, FirstDItemNo, n - 1);
    int first = FirstDItemNo;
    while (first > 0) {
        const TRPDrawLineInfo* d = DrawItem(first);
        const bool continues = d->ItemNo < GetItemCount() && GetItem(d->ItemNo)->GetContinuesPrev();
        if (!continues && DrawItem(first - 1)->ItemNo != d->ItemNo) break;
        --first;
    }
    const int count = GetItemCount();
    int last = LastDItemNo;
    const int item = DrawItem(last)->ItemNo;
    if (item >= count - 1) {
        last = n - 1;
    } else {
        while (last + 1 < n && DrawItem(last + 1)->ItemNo == item)
            ++last;
        if (last + 1 >= n) {
            last = n - 1;
        } else if (DrawItem(last + 1)->ItemNo + ItemCountDelta >= count - 1) {
            last = n - 1;
        } else {
            int k = last + 1;
            while (k < n) {
                const int it = DrawItem(k)->ItemNo + ItemCountDelta;
                if (it < 0 || it >= count || !GetItem(it)->GetContinuesPrev()) break;
                ++k;
            }
            last = k >= n ? n - 1 : k - 1;
        }
    }
    ReformatDrawItemRange(first, last, ItemCountDelta, false);
}

void TCustomRPFormattedData::ExpandDrawItemsToParas(int FirstDItemNo, int LastDItemNo, int& NewFirst,
                                                    int& NewLast) {
    const int n = DrawItemCount();
    NewFirst = NewLast = -1;
    if (n == 0) return;
    const auto isParaStartDItem = [this](int i) {
        const int it = DrawItem(i)->ItemNo;
        return it < GetItemCount() && IsParaStart(it) && (i == 0 || DrawItem(i - 1)->ItemNo != it);
    };
    int f = std::clamp(FirstDItemNo, 0, n - 1);
    while (f > 0 && !isParaStartDItem(f))
        --f;
    if (f > 0) {
        --f;
        while (f > 0 && !isParaStartDItem(f))
            --f;
    }
    NewFirst = f;
    int l = std::clamp(LastDItemNo, 0, n - 1);
    for (int round = 0; round < 2 && l < n; ++round) {
        const int it = DrawItem(l)->ItemNo;
        while (l < n && DrawItem(l)->ItemNo == it)
            ++l;
        while (l < n && DrawItem(l)->ItemNo < GetItemCount() && !IsParaStart(DrawItem(l)->ItemNo))
            ++l;
    }
    NewLast = std::min(l, n) - 1;
}

bool TCustomRPFormattedData::FramedParas(int FirstItemNo, int LastItemNo) const {
    const TRPStyle* style = GetRPStyle();
    if (!style) return false;
    for (int i = FirstItemNo; i <= LastItemNo && i < GetItemCount(); ++i) {
        const TParaInfo* para = style->ParaStyles().GetItem(GetItemPara(i));
        if (para->Border.Style != rpbNone || para->Background.Color != clNone) return true;
    }
    return style->OnDrawParaBack != nullptr;
}

TCustomRPFormattedData::TRangeLayout TCustomRPFormattedData::RelayoutRange(int FirstDItemNo, int LastDItemNo,
                                                                           int ItemCountDelta, bool Force) {
    TRangeLayout r;
    TCanvas* canvas = GetCanvas();
    TRPStyle* style = GetRPStyle();
    const int oldCount = DrawItemCount();
    const int count = GetItemCount();
    if (!canvas || !style || oldCount == 0 || count == 0) return r;
    r.Done = true;
    FirstDItemNo = std::clamp(FirstDItemNo, 0, oldCount - 1);
    LastDItemNo = std::clamp(LastDItemNo, FirstDItemNo, oldCount - 1);
    // In a document that reached its bound (RPCoords.h) the lines below do
    // not stand where a move would take them: they are laid out again.
    const bool toEnd = DocumentHeight >= RPMaxCoord;
    if (toEnd) LastDItemNo = oldCount - 1;
    const int firstItem = std::clamp(DrawItem(FirstDItemNo)->ItemNo, 0, count - 1);
    const int lastItem =
        toEnd ? count - 1
              : std::max(firstItem, std::clamp(DrawItem(LastDItemNo)->ItemNo + ItemCountDelta, 0, count - 1));
    r.FirstItem = firstItem;
    r.LastItem = lastItem;
    TRPMeasureScope measure(FMeasure, firstItem, lastItem - firstItem + 1);

    int oldTop = GetTopMargin();
    if (FirstDItemNo > 0) {
        int f = 0, l = 0;
        GetLineBounds(FirstDItemNo - 1, f, l);
        for (int i = f; i <= l; ++i) {
            const TRPDrawLineInfo* d = DrawItem(i);
            oldTop = std::max(oldTop, RPCoordSum(d->Top, d->Height, d->SpaceBelow));
        }
    }
    int oldNextTop = -1;
    if (LastDItemNo + 1 < oldCount) {
        int f = 0, l = 0;
        GetLineBounds(LastDItemNo + 1, f, l);
        oldNextTop = DrawItem(f)->Top;
        for (int i = f; i <= l; ++i)
            oldNextTop = std::min(oldNextTop, DrawItem(i)->Top);
    }
    r.OldTop = oldTop;
    r.OldNextTop = oldNextTop;

    TLineBuilder B;
    InitLineBuilder(B, canvas);
    B.Y = oldTop;
    B.DrawCount = FirstDItemNo;
    B.LineStart = FirstDItemNo;
    const bool spansHeld = FParaSpansStamp == DrawItems->Stamp();
    DrawItems->MarkDeleted(FirstDItemNo, LastDItemNo);
    PlaceItems(B, firstItem, lastItem, Force);
    B.Y = RPCoordSum(B.Y, FinishLine(B, true));
    DrawItems->PurgeDeleted();
    if (spansHeld) {
        // The paragraphs that end before the range keep their lines, and so
        // their spans: painting after a long paragraph does not go through
        // it again at every edit below it.
        const int keep = IsDrawItemParaStart(FirstDItemNo) ? FirstDItemNo : FirstDItemNo - 1;
        FParaSpans.erase(std::find_if(FParaSpans.begin(), FParaSpans.end(),
                                      [keep](const TParaSpan& S) { return S.Last >= keep; }),
                         FParaSpans.end());
        FParaSpansStamp = DrawItems->Stamp();
    }

    const bool isLast = lastItem >= count - 1;
    const bool nextStartsPara = !isLast && IsParaStart(lastItem + 1);
    if (isLast || nextStartsPara)
        B.PendingBelow =
            RPCoordSum(B.PendingBelow, style->ParaStyles().GetItem(GetItemPara(lastItem))->SpaceAfter);
    if (nextStartsPara)
        B.PendingBelow =
            RPCoordSum(B.PendingBelow, style->ParaStyles().GetItem(GetItemPara(lastItem + 1))->SpaceBefore);
    const int newNextTop = RPCoordSum(B.Y, B.PendingBelow);
    r.NewNextTop = newNextTop;

    const int newCount = DrawItemCount();
    r.OldBottom = DocumentHeight - GetBottomMargin();
    int newBottom = newNextTop;
    const int dy = oldNextTop >= 0 ? newNextTop - oldNextTop : 0;
    r.Dy = dy;
    r.Below = B.DrawCount < newCount;
    if (r.Below) {
        // Everything below moves with the end of the range.
        if (ItemCountDelta != 0 || newCount != oldCount || dy != 0) {
            for (int i = B.DrawCount; i < newCount; ++i) {
                TRPDrawLineInfo* d = DrawItem(i);
                d->Top = RPCoordSum(d->Top, dy);
                d->ItemNo += ItemCountDelta;
                if (!ShareItems() && d->ItemNo >= 0 && d->ItemNo < count && d->Offs == GetFirstOffsetOfItem(d->ItemNo) &&
                    (i == 0 || DrawItem(i - 1)->ItemNo != d->ItemNo))
                    GetItem(d->ItemNo)->DrawItemNo = i;
            }
            r.Moved = true;
        }
        newBottom = RPCoordSum(r.OldBottom, dy);
    }
    DocumentHeight = RPCoordSum(GetBottomMargin(), newBottom);
    return r;
}

void TCustomRPFormattedData::ReformatDrawItemRange(int FirstDItemNo, int LastDItemNo, int ItemCountDelta,
                                                   bool Force) {
    const int voffs = GetVOffs();
    const int oldHeight = DocumentHeight;
    // A full-line item at the end of the range may have changed in a band
    // only (a row of a table): what lies above the band stays, what lies
    // below it moves. The lines before it in the range must come out as they
    // were.
    TCustomRPItemInfo* banded = nullptr;
    std::vector<TRect> before;
    if (ItemCountDelta == 0 && FirstDItemNo >= 0 && FirstDItemNo <= LastDItemNo &&
        LastDItemNo < DrawItemCount()) {
        const int itemNo = DrawItem(LastDItemNo)->ItemNo;
        if (itemNo >= 0 && itemNo < GetItemCount() && IsFullLineItem(itemNo)) {
            banded = GetItem(itemNo);
            int top = 0, oldBottom = 0, newBottom = 0;
            bool fixed = false;
            banded->TakeChangedBand(top, oldBottom, newBottom, fixed); // left from an earlier layout
            for (int i = FirstDItemNo; i < LastDItemNo; ++i) {
                const TRPDrawLineInfo* d = DrawItem(i);
                before.push_back(Bounds(d->Left, d->Top, d->Width, d->Height));
            }
        }
    }
    TRangeLayout r = RelayoutRange(FirstDItemNo, LastDItemNo, ItemCountDelta, Force);
    if (!r.Done) return;
    int bandTop = 0, bandOld = 0, bandNew = 0;
    bool fixedFrame = false;
    TRect sides[2];
    if (banded && banded->TakeChangedBand(bandTop, bandOld, bandNew, fixedFrame) && r.OldNextTop >= 0 &&
        bandNew - bandOld == r.Dy && LastDItemNo < DrawItemCount() &&
        GetItem(DrawItem(LastDItemNo)->ItemNo) == banded &&
        (LastDItemNo + 1 >= DrawItemCount() ||
         DrawItem(LastDItemNo + 1)->ItemNo != DrawItem(LastDItemNo)->ItemNo)) {
        bool same = true;
        for (int i = FirstDItemNo; i < LastDItemNo && same; ++i) {
            const TRPDrawLineInfo* d = DrawItem(i);
            same =
                before[static_cast<size_t>(i - FirstDItemNo)] == Bounds(d->Left, d->Top, d->Width, d->Height);
        }
        if (same) {
            // Painted in the band; below it the item moves with what follows,
            // but for the sides of a frame that stays where it is, which are
            // painted again there.
            const TRPDrawLineInfo* d = DrawItem(LastDItemNo);
            r.OldTop = d->Top + bandTop;
            r.OldNextTop = d->Top + bandOld;
            r.NewNextTop = d->Top + bandNew;
            if (fixedFrame) {
                const int x = d->Left - GetHOffs(), y = std::min(r.OldNextTop, r.NewNextTop) - voffs;
                const int bottom = d->Top + d->Height - voffs;
                sides[0] = TRect{x, y, x + 1, bottom};
                sides[1] = TRect{x + d->Width - 1, y, x + d->Width, bottom};
            }
        }
    }
    FinishRelayout(r, ItemCountDelta, voffs, oldHeight, false, false);
    if (!sides[0].IsEmpty() && GetVOffs() == voffs)
        for (const TRect& side : sides)
            InvalidateRectInView(side);
    AfterFormat(r.FirstItem, r.LastItem, true);
}

bool TCustomRPFormattedData::ReformatForWidths(int FirstDItemNo, int LastDItemNo, int ItemCountDelta) {
    TCanvas* canvas = GetCanvas();
    if (!canvas || !GetRPStyle() || DrawItemCount() == 0 || GetItemCount() == 0) return false;
    TLineBuilder B;
    InitLineBuilder(B, canvas);
    // A document at its bound is laid out below the edit anyway: once is enough.
    if (B.Scaled || DocumentHeight >= RPMaxCoord) return false;
    const int voffs = GetVOffs(), oldHeight = DocumentHeight, oldText = TextWidth, oldContent = ContentWidth;
    SetFormatWidths(B, canvas);
    const bool widthsChanged = TextWidth != oldText || ContentWidth != oldContent;
    const TRangeLayout r = RelayoutRange(FirstDItemNo, LastDItemNo, ItemCountDelta, false);
    // Elsewhere only the paragraphs whose lines depend on the widths are laid
    // out again, from the top down (each moves what lies below it).
    const std::vector<std::pair<int, int>> paras = WidthBoundParas(r.FirstItem, r.LastItem);
    if (paras.size() > 32) return false;
    for (const auto& [first, last] : paras) {
        const int f = GetItem(first)->DrawItemNo;
        const int next = last + 1 < GetItemCount() ? GetItem(last + 1)->DrawItemNo : DrawItemCount();
        RelayoutRange(f, next - 1, 0, false);
    }
    // A change of the widths moves the frames of paragraphs to the new edge.
    const bool all = !paras.empty() || (widthsChanged && FramedParas(0, GetItemCount() - 1));
    FinishRelayout(r, ItemCountDelta, voffs, oldHeight, widthsChanged, all);
    AfterFormat(0, GetItemCount() - 1, false);
    return true;
}

std::vector<std::pair<int, int>> TCustomRPFormattedData::WidthBoundParas(int SkipFirst, int SkipLast) {
    std::vector<std::pair<int, int>> out;
    const TRPStyle* style = GetRPStyle();
    const TParaInfos& paraStyles = style->ParaStyles();
    // Per paragraph style: -1 not looked at, 0 its lines move with the
    // widths (alignment, reading direction), else 1 + where they must end.
    std::vector<int> lineEnd(static_cast<size_t>(std::max(0, paraStyles.Count())), -1);
    const auto endOf = [&](int ParaNo) {
        if (ParaNo < 0 || ParaNo >= static_cast<int>(lineEnd.size())) return 0;
        int& e = lineEnd[static_cast<size_t>(ParaNo)];
        if (e < 0) {
            const TParaInfo* p = paraStyles.GetItem(ParaNo);
            const bool stays = (p->Alignment == rpaLeft || p->Alignment == rpaJustify) &&
                               GetParaBiDiMode(ParaNo) == rpbdUnspecified;
            const int width = (p->Options & rppaoNoWrap) ? ContentWidth : TextWidth;
            e = stays ? 1 + std::max(0, GetLeftMargin() + width - p->RightIndent) : 0;
        }
        return e;
    };
    // Items that keep their size at any width.
    const auto keepsSize = [](int StyleNo) {
        return StyleNo >= 0 || StyleNo == rpsnListMarker || StyleNo == rpsnPicture ||
               StyleNo == rpsnHotspot || StyleNo == rpsnBullet || StyleNo == rpsnHotPicture;
    };
    const int n = DrawItemCount();
    int paraFirst = -1, prevItem = -1, lineLimit = 0;
    bool bound = false;
    const auto close = [&](int LastItem) {
        if (paraFirst < 0 || !bound || !(LastItem < SkipFirst || paraFirst > SkipLast)) return;
        if (!out.empty() && out.back().second + 1 == paraFirst)
            out.back().second = LastItem;
        else
            out.emplace_back(paraFirst, LastItem);
    };
    for (int k = 0; k < n; ++k) {
        const TRPDrawLineInfo* d = DrawItem(k);
        const bool firstPiece = d->ItemNo != prevItem;
        if (firstPiece) {
            const TCustomRPItemInfo* item = GetItem(d->ItemNo);
            // The first item starts a paragraph, also one read with a line
            // break before it.
            if (item->StartsPara() || k == 0) {
                close(prevItem);
                paraFirst = d->ItemNo;
                bound = false;
            }
            if (!keepsSize(item->StyleNo) || endOf(item->ParaNo) == 0) bound = true;
            // A line that a wrap started, or one that no longer fits.
            if (!bound && d->FromNewLine) {
                if (item->GetContinuesPrev()) bound = true;
                lineLimit = endOf(item->ParaNo) - 1;
            }
            prevItem = d->ItemNo;
        } else if (d->FromNewLine) {
            bound = true;
        }
        if (!bound && (k + 1 == n || DrawItem(k + 1)->FromNewLine) && d->Left + d->Width > lineLimit)
            bound = true;
    }
    close(prevItem);
    return out;
}

void TCustomRPFormattedData::FinishRelayout(const TRangeLayout& R, int ItemCountDelta, int VOffs,
                                            int OldHeight, bool WidthsChanged, bool PaintAll) {
    const int voffs = VOffs;
    TRect repaint{0, R.OldTop - 10 - voffs, GetWidth(), R.NewNextTop + 10 - voffs};
    // Where the lines below moved, or the document's end came up, the view
    // is painted again down to the old and the new end.
    bool toEnd = false;
    if (R.Below) {
        // Jumps below are numbered again when items come or go.
        toEnd = R.Moved && (R.Dy != 0 || (ItemCountDelta != 0 && (GetFlags() & rpflRecordJumps)));
        if (toEnd)
            repaint.Bottom =
                std::min(std::max(R.OldBottom + R.Dy + 10, R.OldBottom + 10) - voffs, GetHeight());
    } else {
        const int newBottom = DocumentHeight - GetBottomMargin();
        repaint.Bottom = std::min(std::max(newBottom + 10, R.OldBottom + 10) - voffs, GetHeight());
    }
    const int width = GetWidth();
    if (DocumentHeight != OldHeight || WidthsChanged) {
        AdjustVScrollStep();
        SizeChangeGuard = true;
        SetDocumentAreaSize(GetLeftMargin() + ContentWidth + GetRightMargin(), DocumentHeight, WidthsChanged);
        SizeChangeGuard = false;
        if (GetVOffs() != voffs || GetWidth() != width) repaint = TRect{0, 0, GetWidth(), GetHeight()};
    }
    if (PaintAll) {
        repaint = TRect{0, 0, GetWidth(), GetHeight()};
    } else if (toEnd && GetVOffs() == voffs && R.Dy != 0 && !FramedParas(R.FirstItem, R.LastItem)) {
        // The lines below only moved: their pixels move with them, and only
        // the band of the range is painted, unless a paragraph of the range
        // has a border or background (its frame may span the band).
        const int below = std::max(0, std::min(R.OldNextTop, R.NewNextTop) + 10 - voffs);
        if (below >= GetHeight() || ScrollRectInView(R.Dy, TRect{0, below, GetWidth(), GetHeight()}))
            repaint.Bottom = std::min(R.NewNextTop + 10 - voffs, GetHeight());
    }
    if (GetFlags() & rpflRecordJumps) {
        Jumps.clear();
        NextJumpNo = 0;
        BuildJumpList(NextJumpNo, Jumps);
        UpdateJumpPositions();
    }
    PlaceInsertedControls();
    LastFormattedItemNo = GetItemCount() - 1;
    InvalidateRectInView(repaint);
    UpdateView();
}
