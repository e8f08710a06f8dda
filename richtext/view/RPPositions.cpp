// The formatted document's lifecycle, its selection in draw-item positions,
// the conversion between item and draw-item positions, and hit testing.
#include <algorithm>

#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormatState.h"

TCustomRPFormattedData::TCustomRPFormattedData() : DrawItems(std::make_unique<TRPDrawLines>()) {}

TCustomRPFormattedData::~TCustomRPFormattedData() {
    // The items go with this class's clearing, while the layout still exists.
    State |= rpstClearing;
    ClearFormatting();
    TCustomRPData::Clear();
}

// ---------------------------------------------------------------------------
// Lifecycle

void TCustomRPFormattedData::ClearJumps() {
    const bool hovered = HoverJumpNo >= 0 || HoverData != nullptr;
    Jumps.clear();
    if (HoverData && HoverData != this) {
        HoverData->State &= ~rpstJumpHighlighted;
        HoverData->HoverJumpNo = -1;
    }
    HoverData = nullptr;
    State &= ~rpstJumpHighlighted;
    HoverJumpNo = -1;
    if (hovered && !(State & rpstClearing)) DoRPMouseMove(-1);
}

void TCustomRPFormattedData::ClearFormatting() {
    if (!DrawItems) return;
    DrawItems->Clear();
    ClearJumps();
    NextJumpNo = 0;
    CaptureItem = nullptr;
    CaptureDItemNo = -1;
    LastDItemNo = -1;
    PressedJumpNo = -1;
    State &= ~(rpstSelecting | rpstLineSelection | rpstDblClickLock);
    LastCheckpointReported = nullptr;
    TempObject.reset();
    LastFormattedItemNo = -1;
    MaxLineOverlap = 0;
    DocumentHeight = GetTopMargin() + GetBottomMargin();
}

void TCustomRPFormattedData::Clear() {
    const bool wasClearing = (State & rpstClearing) != 0;
    State |= rpstClearing;
    TempObject.reset();
    Deselect(nullptr, true);
    ClearFormatting();
    SelStartNo = SelEndNo = -1;
    TCustomRPData::Clear();
    if (!wasClearing) State &= ~rpstClearing;
}

void TCustomRPFormattedData::Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw) {
    if (State & rpstDeselecting) return;
    State |= rpstDeselecting;
    State &= ~(rpstSelecting | rpstLineSelection | rpstDblClickLock);
    const bool had = SelStartNo >= 0;
    SelStartNo = SelEndNo = -1;
    SelStartOffs = SelEndOffs = 0;
    FocusedItemNo = -1;
    ReleasePartialSelections(NewPartialItem);
    State &= ~rpstDeselecting;
    if (Redraw && had) SelectionChanged();
}

void TCustomRPFormattedData::SelectAll() {
    if (GetItemCount() == 0 || DrawItemCount() == 0) return;
    ReleasePartialSelections(nullptr);
    SelStartNo = 0;
    SelStartOffs = GetFirstOffsetOfDrawItem(0);
    SelEndNo = DrawItemCount() - 1;
    SelEndOffs = GetLastOffsetOfDrawItem(SelEndNo);
    SelectionChanged();
}

void TCustomRPFormattedData::DeleteItems(int FirstItemNo, int Count) {
    Deselect(nullptr, true);
    TCustomRPData::DeleteItems(FirstItemNo, Count);
}

bool TCustomRPFormattedData::IsHotJump(int JumpNo) {
    TCustomRPFormattedData* root = dynamic_cast<TCustomRPFormattedData*>(GetAbsoluteRootData());
    if (!root) root = this;
    return (root->State & rpstJumpHighlighted) && root->HoverJumpNo >= 0 &&
           root->HoverJumpNo + root->FirstJumpNo == JumpNo;
}

void TCustomRPFormattedData::GetSelectionBounds(int& StartNo, int& StartOffs, int& EndNo, int& EndOffs,
                                                std::shared_ptr<const TRPMultiDrawItemPart>& StartPart,
                                                std::shared_ptr<const TRPMultiDrawItemPart>& EndPart) {
    StartPart.reset();
    EndPart.reset();
    if (DrawItemCount() == 0) {
        TCustomRPData::GetSelectionBounds(StartNo, StartOffs, EndNo, EndOffs, StartPart, EndPart);
        return;
    }
    // Cells selected in a table leave the document's own selection empty:
    // the table, with its selected part, is what is selected.
    if (PartialSelectedItem && PartialSelectedItem->HasCellSelection())
        if (const int no = GetItemNo(PartialSelectedItem); no >= 0) {
            StartNo = EndNo = no;
            StartOffs = GetFirstOffsetOfItem(no);
            EndOffs = GetLastOffsetOfItem(no);
            StartPart = EndPart = PartialSelectedItem->GetSelectedPart();
            return;
        }
    GetSelBounds(StartNo, StartOffs, EndNo, EndOffs, true);
}

// ---------------------------------------------------------------------------
// Selection and positions

void TCustomRPFormattedData::GetDrawSelectionBounds(int& StartNo, int& EndNo, bool Normalized, int& StartOffs,
                                                    int& EndOffs) const {
    StartNo = SelStartNo;
    EndNo = SelEndNo;
    StartOffs = SelStartOffs;
    EndOffs = SelEndOffs;
    if (Normalized && (StartNo > EndNo || (StartNo == EndNo && StartOffs > EndOffs))) {
        std::swap(StartNo, EndNo);
        std::swap(StartOffs, EndOffs);
    }
}

void TCustomRPFormattedData::GetSelBounds(int& StartItemNo, int& StartItemOffs, int& EndItemNo, int& EndItemOffs,
                                          bool Normalized) {
    int sd, ed, so, eo;
    GetDrawSelectionBounds(sd, ed, Normalized, so, eo);
    DrawItemToItemPos(sd, so, StartItemOffs, StartItemNo);
    DrawItemToItemPos(ed, eo, EndItemOffs, EndItemNo);
}

void TCustomRPFormattedData::StoreSelectionBounds(int StartItemNo, int StartItemOffs, int EndItemNo,
                                                  int EndItemOffs) {
    ItemToDrawItemPos(StartItemNo, StartItemOffs, SelStartOffs, SelStartNo);
    ItemToDrawItemPos(EndItemNo, EndItemOffs, SelEndOffs, SelEndNo);
}

void TCustomRPFormattedData::DrawItemToItemPos(int DItemNo, int DOffs, int& ItemOffs, int& ItemNo) const {
    if (DItemNo < 0 || DItemNo >= DrawItemCount()) {
        ItemNo = -1;
        ItemOffs = 0;
        return;
    }
    const TRPDrawLineInfo* d = DrawItem(DItemNo);
    ItemNo = d->ItemNo;
    ItemOffs = GetItemStyle(ItemNo) >= 0 ? DOffs + d->Offs - 1 : DOffs;
}

void TCustomRPFormattedData::ItemToDrawItemPos(int ItemNo, int ItemOffs, int& DOffs, int& DItemNo) const {
    DItemNo = -1;
    DOffs = 0;
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return;
    int d = GetFirstDrawItemOfItem(ItemNo);
    if (d < 0) return;
    if (GetItemStyle(ItemNo) < 0) {
        DItemNo = d;
        DOffs = ItemOffs;
        return;
    }
    // The last draw item of the item that starts at or before the offset;
    // an offset at a draw item's end stays there (the end of its line).
    const int n = DrawItemCount();
    while (d + 1 < n && DrawItem(d + 1)->ItemNo == ItemNo) {
        const TRPDrawLineInfo* cur = DrawItem(d);
        if (ItemOffs <= cur->Offs + cur->Length) break;
        ++d;
    }
    const TRPDrawLineInfo* cur = DrawItem(d);
    DItemNo = d;
    // Offsets past a piece's end (a space dropped at a wrap) belong to the
    // start of the next piece of the item, offsets before its start to its start.
    DOffs = std::clamp(ItemOffs - cur->Offs + 1, 1, cur->Length + 1);
}

int TCustomRPFormattedData::GetFirstOffsetOfDrawItem(int DItemNo) const {
    return GetItemStyle(DrawItem(DItemNo)->ItemNo) >= 0 ? 1 : 0;
}

int TCustomRPFormattedData::GetLastOffsetOfDrawItem(int DItemNo) const {
    const TRPDrawLineInfo* d = DrawItem(DItemNo);
    return GetItemStyle(d->ItemNo) >= 0 ? d->Length + 1 : 1;
}

int TCustomRPFormattedData::GetFirstDrawItemOfItem(int ItemNo) const {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return -1;
    const int d = GetItem(ItemNo)->DrawItemNo;
    // The number kept in the item, when it still names one of its draw items.
    if (!ShareItems() && d >= 0 && d < DrawItemCount() && DrawItem(d)->ItemNo == ItemNo &&
        (d == 0 || DrawItem(d - 1)->ItemNo != ItemNo))
        return d;
    return FindDrawItemForItem(ItemNo);
}

int TCustomRPFormattedData::DrawPosX(int DItemNo, int DOffs) {
    const TRPDrawLineInfo* d = DrawItem(DItemNo);
    const int sn = GetItemStyle(d->ItemNo);
    if (sn < 0) return d->Left + (DOffs > 0 ? d->Width : 0);
    TCanvas* canvas = GetCanvas();
    TRPStyle* style = GetRPStyle();
    if (!canvas || !style || DOffs <= 1) return d->Left;
    style->ApplyStyle(*canvas, sn, GetParaBiDiMode(GetItemPara(d->ItemNo)));
    return d->Left + PieceWidth(*canvas, d->ItemNo, d->Offs, DOffs - 1);
}

void TCustomRPFormattedData::GetLineBounds(int DItemNo, int& First, int& Last) const {
    First = DItemNo;
    while (First > 0 && !DrawItem(First)->FromNewLine)
        --First;
    Last = DItemNo + 1;
    while (Last < DrawItemCount() && !DrawItem(Last)->FromNewLine)
        ++Last;
    --Last;
}

// ---------------------------------------------------------------------------
// Hit testing

void TCustomRPFormattedData::FindDrawItemAtPos(int X, int Y, bool Strict, int& DItemNo, int& DOffs) {
    DItemNo = -1;
    DOffs = -1;
    const int n = DrawItemCount();
    if (n == 0) return;
    int first = 0, last = 0;
    const TRPDrawLineInfo* d0 = DrawItem(0);
    if (Y < d0->Top + d0->Height) {
        GetLineBounds(0, first, last);
    } else {
        // The last draw item whose top lies at or above Y.
        int lo = 0, hi = n - 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo + 1) / 2;
            if (DrawItem(mid)->Top <= Y)
                lo = mid;
            else
                hi = mid - 1;
        }
        GetLineBounds(lo, first, last);
        // Tops inside a line differ: a following line that starts above Y wins.
        while (last + 1 < n) {
            int nf = 0, nl = 0;
            GetLineBounds(last + 1, nf, nl);
            bool above = false;
            for (int i = nf; i <= nl && !above; ++i)
                above = DrawItem(i)->Top <= Y;
            if (!above) break;
            first = nf;
            last = nl;
        }
    }
    const int paraNo = GetItemPara(DrawItem(first)->ItemNo);
    const TRPBiDiMode bidi = GetParaBiDiMode(paraNo);
    std::vector<int> order;
    for (int i = first; i <= last; ++i)
        order.push_back(i);
    if (bidi != rpbdUnspecified)
        std::stable_sort(order.begin(), order.end(),
                         [this](int a, int b) { return DrawItem(a)->Left < DrawItem(b)->Left; });
    int found = -1;
    if (Strict) {
        for (int i : order) {
            const TRPDrawLineInfo* d = DrawItem(i);
            if (X >= d->Left && X < d->Left + d->Width && Y >= d->Top && Y <= d->Top + d->Height) {
                found = i;
                break;
            }
        }
        if (found < 0) return;
    } else if (X < DrawItem(order.front())->Left) {
        found = order.front();
    } else {
        found = order.back();
        for (size_t k = 0; k + 1 < order.size(); ++k)
            if (X < DrawItem(order[k + 1])->Left) {
                found = order[k];
                break;
            }
    }
    const TRPDrawLineInfo* d = DrawItem(found);
    DItemNo = found;
    const int sn = GetItemStyle(d->ItemNo);
    if (sn < 0) {
        DOffs = X <= d->Left + d->Width / 2 ? 0 : 1;
        if (bidi == rpbdRightToLeft) DOffs = 1 - DOffs;
    } else if (d->Length == 0) {
        DOffs = 1;
    } else {
        TCanvas* canvas = GetCanvas();
        TRPStyle* style = GetRPStyle();
        std::vector<int> pos(static_cast<size_t>(d->Length) + 1, 0);
        if (canvas && style) {
            style->ApplyStyle(*canvas, sn, GetParaBiDiMode(paraNo));
            if (GetItemBiDiMode(d->ItemNo) != rpbdUnspecified) {
                std::string piece;
                DrawItems->GetPieceText(found, *Items, piece);
                ItemTextCaretPositions(*canvas, ApplyAllCapsToItemText(piece, GetItemOptions(d->ItemNo),
                                                                       *style->TextStyles().GetItem(sn)),
                                       pos, GetItemOptions(d->ItemNo));
                pos.resize(static_cast<size_t>(d->Length) + 1, pos.empty() ? 0 : pos.back());
            } else {
                const std::vector<int> p = MeasureItemText(*canvas, d->ItemNo);
                const int base = d->Offs > 1 && d->Offs - 2 < static_cast<int>(p.size()) ? p[static_cast<size_t>(d->Offs - 2)] : 0;
                for (int k = 1; k <= d->Length; ++k) {
                    const int at = d->Offs + k - 2;
                    pos[static_cast<size_t>(k)] = (at < static_cast<int>(p.size()) ? p[static_cast<size_t>(at)] : 0) - base;
                }
            }
        }
        const int x = X - d->Left - d->JustifySpace;
        int best = 0;
        for (int k = 1; k <= d->Length; ++k)
            if (std::abs(pos[static_cast<size_t>(k)] - x) < std::abs(pos[static_cast<size_t>(best)] - x)) best = k;
        // Never between the halves of a character.
        if (best > 0 && best < d->Length && (GetItemOptions(d->ItemNo) & rpioUnicode)) {
            const int itemOffs = d->Offs + best;
            const int next = GetNextCharOffset(GetItemText(d->ItemNo), d->ItemNo, itemOffs - 1);
            if (next > itemOffs) best = std::min(d->Length, next - d->Offs);
        }
        DOffs = std::clamp(best + 1, 1, d->Length + 1);
    }
    if (!Strict && IsListMarkerItem(d->ItemNo) && found + 1 < n) {
        DItemNo = found + 1;
        DOffs = GetFirstOffsetOfDrawItem(found + 1);
    }
}

int TCustomRPFormattedData::FindDrawItemAtPoint(int X, int Y) const {
    const int n = DrawItemCount();
    if (n == 0) return -1;
    const auto inside = [&](int i) {
        const TRPDrawLineInfo* d = DrawItem(i);
        return IsPointInRect(X, Y, d->Left, d->Top, d->Width, d->Height);
    };
    if (inside(0)) return 0;
    // From two lines above the point down to the first line that starts below it.
    for (int i = FindDrawItemByY(Y, 1); i < n; ++i) {
        const TRPDrawLineInfo* d = DrawItem(i);
        if (d->FromNewLine && d->Top > Y) {
            int f = 0, l = 0;
            GetLineBounds(i, f, l);
            bool any = false;
            for (int k = f; k <= l && !any; ++k)
                any = DrawItem(k)->Top <= Y;
            if (!any) break;
        }
        if (inside(i)) return i;
    }
    return -1;
}
