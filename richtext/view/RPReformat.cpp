// Partial reformatting: after an edit only the lines (or paragraphs) it
// touched are laid out again; every later draw item moves by the change in
// height and keeps its list slot.
#include <algorithm>

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

void TCustomRPFormattedData::ReformatDrawItemRange(int FirstDItemNo, int LastDItemNo, int ItemCountDelta, bool Force) {
    TCanvas* canvas = GetCanvas();
    TRPStyle* style = GetRPStyle();
    const int oldCount = DrawItemCount();
    const int count = GetItemCount();
    if (!canvas || !style || oldCount == 0 || count == 0) return;
    FirstDItemNo = std::clamp(FirstDItemNo, 0, oldCount - 1);
    LastDItemNo = std::clamp(LastDItemNo, FirstDItemNo, oldCount - 1);
    const int firstItem = std::clamp(DrawItem(FirstDItemNo)->ItemNo, 0, count - 1);
    const int lastItem = std::max(firstItem, std::clamp(DrawItem(LastDItemNo)->ItemNo + ItemCountDelta, 0, count - 1));
    TRPMeasureScope measure(FMeasure, firstItem, lastItem - firstItem + 1);
    const int voffs = GetVOffs();
    const int topMargin = GetTopMargin();

    int oldTop = topMargin;
    if (FirstDItemNo > 0) {
        int f = 0, l = 0;
        GetLineBounds(FirstDItemNo - 1, f, l);
        for (int i = f; i <= l; ++i) {
            const TRPDrawLineInfo* d = DrawItem(i);
            oldTop = std::max(oldTop, d->Top + d->Height + d->SpaceBelow);
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
    TRect repaint{0, oldTop - 10 - voffs, GetWidth(), GetHeight()};

    TLineBuilder B;
    InitLineBuilder(B, canvas);
    B.Y = oldTop;
    B.DrawCount = FirstDItemNo;
    B.LineStart = FirstDItemNo;
    DrawItems->MarkDeleted(FirstDItemNo, LastDItemNo);
    PlaceItems(B, firstItem, lastItem, Force);
    B.Y += FinishLine(B, true);
    DrawItems->PurgeDeleted();

    const bool isLast = lastItem >= count - 1;
    const bool nextStartsPara = !isLast && IsParaStart(lastItem + 1);
    if (isLast || nextStartsPara) B.PendingBelow += style->ParaStyles().GetItem(GetItemPara(lastItem))->SpaceAfter;
    if (nextStartsPara) B.PendingBelow += style->ParaStyles().GetItem(GetItemPara(lastItem + 1))->SpaceBefore;
    const int newNextTop = B.Y + B.PendingBelow;
    repaint.Bottom = newNextTop + 10 - voffs;

    const int newCount = DrawItemCount();
    const int oldBottom = DocumentHeight - GetBottomMargin();
    int newBottom = newNextTop;
    const int dy = oldNextTop >= 0 ? newNextTop - oldNextTop : 0;
    // Where the lines below moved, or the document's end came up, the view
    // is painted again down to the old and the new end.
    bool toEnd = false;
    if (B.DrawCount < newCount) {
        // Everything below moves with the end of the range.
        if (ItemCountDelta != 0 || newCount != oldCount || dy != 0) {
            for (int i = B.DrawCount; i < newCount; ++i) {
                TRPDrawLineInfo* d = DrawItem(i);
                d->Top += dy;
                d->ItemNo += ItemCountDelta;
                if (!ShareItems() && d->ItemNo >= 0 && d->ItemNo < count && d->Offs == GetFirstOffsetOfItem(d->ItemNo) &&
                    (i == 0 || DrawItem(i - 1)->ItemNo != d->ItemNo))
                    GetItem(d->ItemNo)->DrawItemNo = i;
            }
            // Jumps below are numbered again when items come or go.
            toEnd = dy != 0 || (ItemCountDelta != 0 && (GetFlags() & rpflRecordJumps));
            if (toEnd)
                repaint.Bottom = std::min(std::max(oldBottom + dy + 10, oldBottom + 10) - voffs, GetHeight());
        }
        newBottom = oldBottom + dy;
    } else {
        repaint.Bottom = std::min(std::max(newBottom + 10, oldBottom + 10) - voffs, GetHeight());
    }
    if (GetBottomMargin() + newBottom != DocumentHeight) {
        DocumentHeight = GetBottomMargin() + newBottom;
        AdjustVScrollStep();
        SizeChangeGuard = true;
        SetDocumentAreaSize(GetLeftMargin() + ContentWidth + GetRightMargin(), DocumentHeight, false);
        SizeChangeGuard = false;
        if (GetVOffs() != voffs) repaint = TRect{0, 0, GetWidth(), GetHeight()};
    }
    // The lines below only moved: their pixels move with them, and only the
    // band of the range is painted, unless a paragraph of the range has a
    // border or background (its frame may span the band).
    if (toEnd && GetVOffs() == voffs && dy != 0 && !FramedParas(firstItem, lastItem)) {
        const int below = std::max(0, std::min(oldNextTop, newNextTop) + 10 - voffs);
        if (below >= GetHeight() || ScrollRectInView(dy, TRect{0, below, GetWidth(), GetHeight()}))
            repaint.Bottom = std::min(newNextTop + 10 - voffs, GetHeight());
    }
    if (GetFlags() & rpflRecordJumps) {
        Jumps.clear();
        NextJumpNo = 0;
        BuildJumpList(NextJumpNo, Jumps);
        UpdateJumpPositions();
    }
    PlaceInsertedControls();
    LastFormattedItemNo = count - 1;
    InvalidateRectInView(repaint);
    UpdateView();
    AfterFormat(firstItem, lastItem, true);
}
