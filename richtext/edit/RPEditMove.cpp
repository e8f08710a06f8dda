// Caret movement by keys and the selection that Shift extends. A result of
// True from the moves says that the caret tried to leave the document.
#include <algorithm>

#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Whether a word starts at offset Q of an item text: a space before it, none at it.
bool IsWordStart(const std::string& Text, int Q, TRPItemOptions Options) {
    return ItemTextIsSpaceAt(Text, Q - 1, Options) && !ItemTextIsSpaceAt(Text, Q, Options);
}

} // namespace

void TRPEditRPData::SkipListMarker(bool Forward) {
    if (CaretDrawItemNo < 0 || !IsListMarkerItem(DrawItem(CaretDrawItemNo)->ItemNo)) return;
    if (!Forward && CaretDrawItemNo > 0)
        SetCaretDrawPos(CaretDrawItemNo - 1, GetLastOffsetOfDrawItem(CaretDrawItemNo - 1));
    else if (CaretDrawItemNo + 1 < DrawItemCount())
        SetCaretDrawPos(CaretDrawItemNo + 1, GetFirstOffsetOfDrawItem(CaretDrawItemNo + 1));
}

bool TRPEditRPData::EnterItemFromSide(int CharIndex, int Side, int X) {
    const int d = CharEnds[static_cast<size_t>(CharIndex)].DrawItemNo;
    return d >= 0 && d < DrawItemCount() && GetItemStyle(DrawItem(d)->ItemNo) < 0 &&
           GetItem(DrawItem(d)->ItemNo)->EnterFromSide(Side, X);
}

bool TRPEditRPData::EnterDrawItemFromSide(int DItemNo, int Side, int X) {
    const TRPDrawLineInfo* d = DrawItem(DItemNo);
    // Only a point over the item itself goes in (a table takes the column under it).
    if (GetItemStyle(d->ItemNo) >= 0 || X < d->Left || X >= d->Left + d->Width) return false;
    return GetItem(d->ItemNo)->EnterFromSide(Side, X - d->Left);
}

void TRPEditRPData::CaretToDocumentEdge(bool End) {
    if (End) {
        CaretDrawItemNo = DrawItemCount() - 1;
        BuildCaretLine(-2);
        return;
    }
    SetCaretDrawPos(0, GetFirstOffsetOfDrawItem(0));
    SkipListMarker(true);
    CaretIndex = 0;
    CaretDrawItemNo = CharEnds.empty() ? CaretDrawItemNo : CharEnds[0].DrawItemNo;
}

bool TRPEditRPData::CaretAtDocumentEdge(bool End) {
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) return false;
    if (End) return item == GetItemCount() - 1 && offs == GetLastOffsetOfItem(item);
    const int first = IsListMarkerItem(0) && GetItemCount() > 1 ? 1 : 0;
    return item == first && offs == GetFirstOffsetOfItem(item);
}

bool TRPEditRPData::MoveCaretHome(bool Ctrl) {
    if (DrawItemCount() == 0) return Ctrl;
    if (Ctrl) {
        CaretToDocumentEdge(false);
    } else if (!CharEnds.empty()) {
        CaretIndex = 0;
        CaretDrawItemNo = CharEnds[0].DrawItemNo;
    }
    ChangeCaret(false, true, false);
    return Ctrl;
}

bool TRPEditRPData::MoveCaretEnd(bool Ctrl) {
    if (DrawItemCount() == 0) return Ctrl;
    if (Ctrl) {
        CaretToDocumentEdge(true);
    } else if (!CharEnds.empty()) {
        CaretIndex = static_cast<int>(CharEnds.size()) - 1;
        CaretDrawItemNo = CharEnds.back().DrawItemNo;
    }
    ChangeCaret(false, true, false);
    return Ctrl;
}

bool TRPEditRPData::MoveCaretLeft(bool Shift, bool Ctrl) {
    if (DrawItemCount() == 0 || CharEnds.empty()) return true;
    TRPStyle* style = GetRPStyle();
    if (Shift && style && style->SelectionMode == rpsmParagraph && SelectionCrossesParas()) {
        MoveCaretToPrevParaStart();
        return false;
    }
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (Ctrl && IsTextItem(item) && offs > 1) {
        const std::string& text = GetItemText(item);
        const TRPItemOptions opts = GetItemOptions(item);
        int q = offs;
        do {
            --q;
        } while (q > 1 && !IsWordStart(text, q, opts));
        int d = -1, o = 0;
        ItemToDrawItemPos(item, q, o, d);
        SetCaretDrawPos(d, o);
        SkipListMarker(false);
        ChangeCaret(false, true, false);
        return false;
    }
    if (CaretIndex > 0 && !Shift && !Ctrl && EnterItemFromSide(CaretIndex, 1, 0)) return false;
    if (CaretIndex > 0) {
        --CaretIndex;
        CaretDrawItemNo = CharEnds[static_cast<size_t>(CaretIndex)].DrawItemNo;
    } else {
        int prev = CharEnds[0].DrawItemNo - 1;
        if (prev >= 0 && IsListMarkerItem(DrawItem(prev)->ItemNo)) --prev;
        if (prev < 0) return true;
        SetCaretDrawPos(prev, GetLastOffsetOfDrawItem(prev));
    }
    ChangeCaret(false, true, false);
    return false;
}

bool TRPEditRPData::MoveCaretRight(bool Shift, bool Ctrl) {
    if (DrawItemCount() == 0 || CharEnds.empty()) return true;
    TRPStyle* style = GetRPStyle();
    if (Shift && style && style->SelectionMode == rpsmParagraph && SelectionCrossesParas()) {
        MoveCaretToNextParaEnd();
        return false;
    }
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (Ctrl && IsTextItem(item) && offs < GetLastOffsetOfItem(item)) {
        const std::string& text = GetItemText(item);
        const TRPItemOptions opts = GetItemOptions(item);
        const int last = GetLastOffsetOfItem(item);
        int q = offs;
        do {
            ++q;
        } while (q < last && !IsWordStart(text, q, opts));
        int d = -1, o = 0;
        ItemToDrawItemPos(item, q, o, d);
        SetCaretDrawPos(d, o);
        ChangeCaret(false, true, false);
        return false;
    }
    if (CaretIndex + 1 < static_cast<int>(CharEnds.size()) && !Shift && !Ctrl &&
        EnterItemFromSide(CaretIndex + 1, 0, 0))
        return false;
    if (CaretIndex + 1 < static_cast<int>(CharEnds.size())) {
        ++CaretIndex;
        CaretDrawItemNo = CharEnds[static_cast<size_t>(CaretIndex)].DrawItemNo;
    } else {
        const int next = CharEnds.back().DrawItemNo + 1;
        if (next >= DrawItemCount()) return true;
        SetCaretDrawPos(next, GetFirstOffsetOfDrawItem(next));
        SkipListMarker(true);
    }
    ChangeCaret(false, true, false);
    return false;
}

bool TRPEditRPData::MoveCaretUp(bool Shift, bool Ctrl) {
    (void)Ctrl;
    if (DrawItemCount() == 0 || CharEnds.empty()) return true;
    int f = 0, l = 0;
    GetLineBounds(CaretDrawItemNo, f, l);
    int above = f - 1;
    if (above >= 0 && IsListMarkerItem(DrawItem(above)->ItemNo)) --above;
    if (above < 0) {
        if (Shift && CaretIndex != 0) {
            CaretIndex = 0;
            CaretDrawItemNo = CharEnds[0].DrawItemNo;
            ChangeCaret(false, true, false);
        } else {
            ScrollToY(0, true);
        }
        return true;
    }
    TRPStyle* style = GetRPStyle();
    if (Shift && style && style->SelectionMode == rpsmParagraph && SelectionCrossesParas()) {
        MoveCaretToPrevParaStart();
        return false;
    }
    int d = -1, o = 0;
    FindDrawItemAtPos(CaretX(), DrawItem(above)->Top + 1, false, d, o);
    if (d < 0) return false;
    if (!Shift && !Ctrl && EnterDrawItemFromSide(d, 3, CaretX())) return false;
    SetCaretDrawPos(d, o);
    ChangeCaret(false, true, false);
    return false;
}

bool TRPEditRPData::MoveCaretDown(bool Shift, bool Ctrl) {
    (void)Ctrl;
    if (DrawItemCount() == 0 || CharEnds.empty()) return true;
    int f = 0, l = 0;
    GetLineBounds(CaretDrawItemNo, f, l);
    if (l >= DrawItemCount() - 1) {
        if (Shift && CaretIndex != static_cast<int>(CharEnds.size()) - 1) {
            CaretIndex = static_cast<int>(CharEnds.size()) - 1;
            CaretDrawItemNo = CharEnds.back().DrawItemNo;
            ChangeCaret(false, true, false);
        } else {
            ScrollToY(DocumentHeight, true);
        }
        return true;
    }
    TRPStyle* style = GetRPStyle();
    if (Shift && style && style->SelectionMode == rpsmParagraph && SelectionCrossesParas()) {
        MoveCaretToNextParaEnd();
        return false;
    }
    int d = -1, o = 0;
    FindDrawItemAtPos(CaretX(), DrawItem(l + 1)->Top + 1, false, d, o);
    if (d < 0) return false;
    if (!Shift && !Ctrl && EnterDrawItemFromSide(d, 2, CaretX())) return false;
    SetCaretDrawPos(d, o);
    ChangeCaret(false, true, false);
    return false;
}

void TRPEditRPData::MoveCaretToPrevParaStart() {
    int d = ParaStartDItem(std::max(CaretDrawItemNo, 0));
    if (d > 0) d = ParaStartDItem(d - 1);
    SetCaretDrawPos(d, GetFirstOffsetOfDrawItem(d));
    SkipListMarker(true);
    ChangeCaret(false, true, false);
}

void TRPEditRPData::MoveCaretToNextParaEnd() {
    const int n = DrawItemCount();
    int d = ParaEndDItem(std::max(CaretDrawItemNo, 0));
    if (d + 1 < n) d = ParaEndDItem(d + 1);
    SetCaretDrawPos(d, GetLastOffsetOfDrawItem(d));
    ChangeCaret(false, true, false);
}

// ---------------------------------------------------------------------------
// Selection by keys

void TRPEditRPData::StartKeySelection() {
    if (SelectionExists(false, false) || CaretIndex < 0 || CharEnds.empty()) return;
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    SelStartNo = SelEndNo = p.DrawItemNo;
    SelStartOffs = SelEndOffs = p.Offset;
}

bool TRPEditRPData::KeySelectCells(int Direction, bool Forward) {
    auto* table = dynamic_cast<TRPTableItemInfo*>(PartialSelectedItem);
    if (!table || !table->HasCellSelection() || GetCellEditor()) return false;
    const int d = GetFirstDrawItemOfItem(GetItemNo(table));
    if (d < 0) return false;
    if (Direction >= 0 && table->MoveSelectionCorner(Direction)) {
        SelectionChanged();
        InvalidateView();
        return true;
    }
    Deselect(nullptr, false);
    SelStartNo = SelEndNo = d;
    SelStartOffs = Forward ? 0 : 1;
    SelEndOffs = Forward ? 1 : 0;
    SetCaretDrawPos(d, SelEndOffs);
    return false;
}

void TRPEditRPData::ExtendKeySelection(bool Scroll) {
    if (CaretIndex < 0 || CharEnds.empty()) return;
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    if (SelStartNo < 0) {
        SelStartNo = p.DrawItemNo;
        SelStartOffs = p.Offset;
    }
    SelEndNo = p.DrawItemNo;
    SelEndOffs = p.Offset;
    TRPStyle* style = GetRPStyle();
    if (style && style->SelectionMode == rpsmParagraph) ExtendSelectionToParas(true);
    CaretToSelectionEnd(Scroll);
    TRichPadRPData::SelectionChanged();
    InvalidateView();
}

void TRPEditRPData::CaretToSelectionEnd(bool Scroll) {
    if (SelEndNo < 0 || SelEndNo >= DrawItemCount()) return;
    if (IsListMarkerItem(DrawItem(SelEndNo)->ItemNo) && SelEndNo + 1 < DrawItemCount()) {
        ++SelEndNo;
        SelEndOffs = GetFirstOffsetOfDrawItem(SelEndNo);
    }
    SetCaretDrawPos(SelEndNo, SelEndOffs);
    ChangeCaret(false, Scroll, false);
}
