// Hypertext jumps and the mouse: what the pointer does over a jump, presses,
// moves and releases that select by characters, words, paragraphs and lines,
// double and right clicks.
#include <algorithm>

#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPControlData.h"
#include "richtext/view/RPFormatState.h"
#include "richtext/view/RichPad.h"

namespace {

bool Inside(const TRPJumpInfo& j, int X, int Y) {
    return X >= j.Left && X < j.Left + j.Width && Y >= j.Top && Y < j.Top + j.Height;
}

} // namespace

int TCustomRPFormattedData::FindJumpAt(int X, int Y) const {
    auto* self = const_cast<TCustomRPFormattedData*>(this);
    const int x = X + self->GetHOffs(), y = Y + self->GetVOffs();
    for (size_t i = 0; i < Jumps.size(); ++i)
        if (Inside(Jumps[i], x, y)) return static_cast<int>(i);
    return -1;
}

int TCustomRPFormattedData::GetJumpItemNo(int JumpNo, TCustomRPFormattedData** Holder) {
    // The links of an edited cell live in its editor, numbered among ours.
    if (auto* cell = dynamic_cast<TCustomRichPad*>(GetCellEditor()))
        if (const int item = cell->RPData()->GetJumpItemNo(JumpNo, Holder); item >= 0) return item;
    const int id = JumpNo - FirstJumpNo;
    for (const TRPJumpInfo& j : Jumps)
        if (j.Id == id && j.RPData && j.DItemNo >= 0 && j.DItemNo < j.RPData->DrawItemCount()) {
            if (Holder) *Holder = j.RPData;
            return j.RPData->DrawItem(j.DItemNo)->ItemNo;
        }
    return -1;
}

void TCustomRPFormattedData::RepaintJump(TCustomRPFormattedData* RPData, int Id) {
    (void)RPData;
    if (Id < 0) return;
    const TRPStyle* style = GetRPStyle();
    if (style && style->FullRedraw) {
        InvalidateView();
    } else {
        const int h = GetHOffs(), v = GetVOffs();
        for (const TRPJumpInfo& j : Jumps)
            if (j.Id == Id)
                InvalidateRectInView(Rect(j.Left - h - 5, j.Top - v - 5, j.Left - h + j.Width + 5, j.Top - v + j.Height + 5));
    }
    UpdateView();
}

void TCustomRPFormattedData::ClearLastJump(bool Repaint) {
    if (HoverJumpNo < 0 && !HoverData) return;
    const int old = HoverJumpNo;
    const bool highlighted = (State & rpstJumpHighlighted) != 0;
    if (HoverData && HoverData != this) {
        HoverData->HoverJumpNo = -1;
        HoverData->State &= ~rpstJumpHighlighted;
    }
    State &= ~rpstJumpHighlighted;
    HoverJumpNo = -1;
    HoverData = nullptr;
    DoRPMouseMove(-1);
    if (Repaint || highlighted) RepaintJump(this, old);
}

void TCustomRPFormattedData::MouseMove(TShiftState Shift, int X, int Y) {
    TRPStyle* style = GetRPStyle();
    if (!style) return;
    const int docX = X + GetHOffs(), docY = Y + GetVOffs();
    HideXorMarker();
    if (CaptureItem) {
        const int item = GetItemNo(CaptureItem);
        int l = 0, t = 0;
        if (item >= 0 && GetItemCoords(item, l, t))
            CaptureItem->MouseMove(this, item, Shift, docX - l, docY - t);
    } else if (State & rpstSelecting) {
        if (MoveSelectionEnd(X, Y)) {
            SelectionChanged();
            InvalidateView();
        }
    } else {
        // The draw item under the pointer is kept while the pointer stays in it.
        const auto inside = [&](int d) {
            if (d < 0 || d >= DrawItemCount()) return false;
            const TRPDrawLineInfo* di = DrawItem(d);
            return IsPointInRect(docX, docY, di->Left, di->Top, di->Width, di->Height);
        };
        if (!inside(LastDItemNo)) LastDItemNo = FindDrawItemAtPoint(docX, docY);
        bool done = false;
        if (LastDItemNo >= 0) {
            const TRPDrawLineInfo* di = DrawItem(LastDItemNo);
            // An item that takes the move (a table over its borders) sets the cursor itself.
            done = GetItem(di->ItemNo)->MouseMove(this, di->ItemNo, Shift, docX - di->Left, docY - di->Top);
            if (done) ClearLastJump(false);
            if (!done && !(Shift & ssShift) && CanStartDragging()) {
                int dOffs = 0, dn = -1, offs = 0, it = -1;
                FindDrawItemAtPos(docX, docY, true, dn, dOffs);
                DrawItemToItemPos(dn, dOffs, offs, it);
                if (dn >= 0 && IsPositionInSelection(it, offs)) {
                    SetCursor(crArrow);
                    done = true;
                }
            }
        } else if (GetOptions() & rpoShowItemHints) {
            CancelItemHint();
        }
        // Jump areas are kept, in its coordinates, by the root document.
        if (!done && IsNotTableCell()) {
            const int k = FindJumpAt(X, Y);
            if (k < 0) {
                ClearLastJump(false);
                SetCursor(GetNormalCursor());
            } else {
                const TRPJumpInfo j = Jumps[static_cast<size_t>(k)];
                SetCursor(j.Cursor);
                const bool sameJump = HoverData && HoverJumpNo == j.Id;
                if (!sameJump) DoRPMouseMove(FirstJumpNo + j.Id);
                if ((State & rpstJumpHighlighted) && HoverJumpNo != j.Id) {
                    State &= ~rpstJumpHighlighted;
                    RepaintJump(this, HoverJumpNo);
                }
                HoverJumpNo = j.Id;
                HoverData = j.RPData;
                if (j.RPData && j.RPData != this) j.RPData->HoverJumpNo = j.Id;
                const int itemNo = j.RPData ? j.RPData->DrawItem(j.DItemNo)->ItemNo : -1;
                if (!(State & rpstJumpHighlighted) && itemNo >= 0 &&
                    j.RPData->GetItem(itemNo)->GetBoolValueEx(rpbivexHotLook, style)) {
                    State |= rpstJumpHighlighted;
                    RepaintJump(this, j.Id);
                }
            }
        }
    }
    ShowXorMarkerAt(docX, docY);
}

void TCustomRPFormattedData::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TRPStyle* style = GetRPStyle();
    if (!style) return;
    const int docX = X + GetHOffs(), docY = Y + GetVOffs();
    const bool dblPress = (Shift & ssDouble) != 0;
    int d = LastDItemNo;
    if (d < 0 || d >= DrawItemCount() ||
        !IsPointInRect(docX, docY, DrawItem(d)->Left, DrawItem(d)->Top, DrawItem(d)->Width, DrawItem(d)->Height))
        d = FindDrawItemAtPoint(docX, docY);
    LastDItemNo = d;
    if (d >= 0) {
        TCustomRPItemInfo* item = GetItem(DrawItem(d)->ItemNo);
        if (item != PartialSelectedItem) {
            // A cell editor of this very item stays: the item decides about it.
            ReleasePartialSelections(item);
            if (!dblPress) SetFocusToControl();
        }
        item->MouseDown(this, Button, Shift, docX - DrawItem(d)->Left, docY - DrawItem(d)->Top);
    } else if (!dblPress) {
        SetFocusToControl();
    }
    if (!CaptureItem && IsAssigned(TRPEvent::MouseDown))
        DoRPMouseDown(Button, Shift, d >= 0 ? DrawItem(d)->ItemNo : -1, X, Y);
    // A table captures a press in a cell; a release on the same link is still its click.
    if (Button == mbLeft && (!CaptureItem || CaptureItem->GetSubRPDataCount() > 0)) {
        const int k = FindJumpAt(X, Y);
        PressedJumpNo = k >= 0 ? Jumps[static_cast<size_t>(k)].Id : -1;
    }
    if (CaptureItem) {
        if (d >= 0) {
            SelStartNo = SelEndNo = d;
            SelStartOffs = SelEndOffs = 1;
            SelectionChanged();
        }
        return;
    }
    auto* root = dynamic_cast<TCustomRPFormattedData*>(GetAbsoluteRootData());
    if (!root) root = this;
    if (Button != mbLeft || (State & rpstDblClickLock) || (root->State & rpstDragPending)) return;
    const TRPOptions options = GetOptions();
    if ((options & rpoSingleClick) && IsAssigned(TRPEvent::DblClick)) {
        std::string word;
        int sn = 0, it = -1, s = 0, e = 0;
        if (FindWordAt(X, Y, word, sn, it, s, e)) DoRPDblClick(word, sn);
    }
    if (!(options & rpoAllowSelection) || !(Shift & ssLeft)) return;
    State &= ~rpstLineSelection;
    ReleasePartialSelections(nullptr);
    int pd = -1, po = 0;
    FindDrawItemAtPos(docX, docY, false, pd, po);
    if (!(Shift & ssShift) && docX >= GetLeftMargin() && !(root->State & rpstDragging) && pd >= 0 &&
        CanStartDragging()) {
        int offs = 0, it = -1;
        DrawItemToItemPos(pd, po, offs, it);
        if (IsPositionInSelection(it, offs)) {
            root->State |= rpstDragPending;
            PostDragStart();
            return;
        }
    }
    SelEndNo = pd;
    SelEndOffs = po;
    if (!(Shift & ssShift) || SelStartNo < 0) {
        SelStartNo = pd;
        SelStartOffs = po;
    }
    if (pd >= 0) {
        State |= rpstSelecting;
        TempObject.reset();
        if (docX < GetLeftMargin() && GetBiDiMode() == rpbdUnspecified && !(Shift & ssShift)) {
            State |= rpstLineSelection;
            ExtendToLines();
        } else if (style->SelectionMode != rpsmChar) {
            TempObject = std::make_unique<TRPSelectingInfo>();
            TRPSelectingInfo& t = *TempObject;
            t.Mode = style->SelectionMode;
            t.DrawItemNo = pd;
            t.PressOffs = po;
            t.DrawItemSOffs = t.DrawItemEOffs = po;
            if (t.Mode == rpsmParagraph) {
                t.InitE();
                if (Shift & ssShift) MoveSelectionEnd(X, Y);
            } else {
                int s = po, e = po;
                FindWordBounds(pd, po, s, e);
                if (s < e) {
                    t.DrawItemSOffs = s;
                    t.DrawItemEOffs = e;
                    t.SWordState = 0;
                } else {
                    t.SWordState = 2;
                }
                t.InitE();
            }
        }
    } else {
        State &= ~rpstSelecting;
    }
    SelectionChanged();
    InvalidateView();
}

bool TCustomRPFormattedData::MoveSelectionEnd(int X, int Y) {
    if (!(GetFlags() & rpflNoClampWhileSelecting)) {
        X = std::clamp(X, 0, GetWidth());
        Y = std::clamp(Y, 0, GetHeight());
    }
    int d = -1, o = 0;
    FindDrawItemAtPos(X + GetHOffs(), Y + GetVOffs(), false, d, o);
    if (d < 0) return false;
    const int oldS = SelStartNo, oldSO = SelStartOffs, oldE = SelEndNo, oldEO = SelEndOffs;
    if (State & rpstLineSelection) {
        SelEndNo = d;
        SelEndOffs = o;
        ExtendToLines();
    } else if (!TempObject) {
        SelEndNo = d;
        SelEndOffs = o;
    } else if (TempObject->Mode == rpsmParagraph) {
        SelStartNo = TempObject->DrawItemNo;
        SelStartOffs = TempObject->PressOffs;
        SelEndNo = d;
        SelEndOffs = o;
        ExtendSelectionToParas(true);
    } else {
        TRPSelectingInfo& t = *TempObject;
        if (t.SWordState == 0) {
            if (t.IsAboveSWord(d, o)) {
                SelStartNo = t.DrawItemNo;
                SelStartOffs = t.DrawItemEOffs;
                t.SWordState = 1;
            } else if (t.IsBelowSWord(d, o)) {
                SelStartNo = t.DrawItemNo;
                SelStartOffs = t.DrawItemSOffs;
                t.SWordState = 1;
            }
        } else if (t.SWordState == 1 && t.IsInSWord(d, o)) {
            SelStartNo = t.DrawItemNo;
            SelStartOffs = t.PressOffs;
            t.SWordState = 2;
            t.CurWordDItemNo = -1;
        } else {
            int s = o, e = o;
            FindWordBounds(d, o, s, e);
            if (s < e) {
                const bool above = t.IsAboveSWord(d, o);
                if (t.CurWordDItemNo != d || t.CurWordSOffs != s) {
                    t.CurWordDItemNo = d;
                    t.CurWordSOffs = s;
                    t.CurWordEOffs = e;
                    t.CurWordNoSnap = false;
                    t.CurWordFurthest = o;
                } else if (t.IsOutsideWordRange(o, above)) {
                    // Moved back toward the anchor: the word no longer snaps.
                    t.CurWordNoSnap = true;
                } else {
                    t.CurWordFurthest = o;
                }
                if (!t.CurWordNoSnap && !t.IsInSWord(d, o)) o = above ? s : e;
            } else {
                t.CurWordDItemNo = -1;
            }
        }
        SelEndNo = d;
        SelEndOffs = o;
    }
    return SelStartNo != oldS || SelStartOffs != oldSO || SelEndNo != oldE || SelEndOffs != oldEO;
}

void TCustomRPFormattedData::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!GetRPStyle()) return;
    if (CaptureItem) {
        int l = 0, t = 0;
        GetItemCoords(GetItemNo(CaptureItem), l, t);
        CaptureItem->MouseUp(this, Button, Shift, X + GetHOffs() - l, Y + GetVOffs() - t);
    }
    State &= ~(rpstSelecting | rpstLineSelection | rpstDblClickLock);
    if (SelStartNo > SelEndNo || (SelStartNo == SelEndNo && SelStartOffs > SelEndOffs)) {
        std::swap(SelStartNo, SelEndNo);
        std::swap(SelStartOffs, SelEndOffs);
    }
    const int docX = X + GetHOffs(), docY = Y + GetVOffs();
    int d = -1, o = 0, offs = 0, it = -1;
    FindDrawItemAtPos(docX, docY, true, d, o);
    DrawItemToItemPos(d, o, offs, it);
    if ((GetOptions() & rpoRClickDeselects) && Button == mbRight && SelectionExists(false, false) &&
        (d < 0 || !IsPositionInSelection(it, offs))) {
        Deselect(nullptr, true);
        InvalidateView();
    }
    if (IsAssigned(TRPEvent::MouseUp)) DoRPMouseUp(Button, Shift, it, X, Y);
    if (Button == mbRight && IsAssigned(TRPEvent::RightClick)) {
        std::string word;
        int sn = 0, wi = -1, s = 0, e = 0;
        if (FindWordAt(X, Y, word, sn, wi, s, e)) {
            const TPoint p = ClientToScreen(TPoint{X, Y});
            DoRPRightClick(word, sn, p.x, p.y);
        }
    }
    if (Button == mbLeft && PressedJumpNo >= 0 && IsAssigned(TRPEvent::Jump) && !SelectionExists(false, false)) {
        const int id = PressedJumpNo;
        const int h = GetHOffs(), v = GetVOffs();
        for (const TRPJumpInfo& j : Jumps)
            if (j.Id == id && Inside(j, X + h, Y + v)) {
                PressedJumpNo = -1;
                CaptureDItemNo = -1;
                DoJump(FirstJumpNo + id);
                return;
            }
    }
    PressedJumpNo = -1;
    CaptureDItemNo = -1;
}

void TCustomRPFormattedData::DblClick(int X, int Y) {
    const TRPOptions options = GetOptions();
    if (!(options & rpoDblClickSelectsWord) && ((options & rpoSingleClick) || !IsAssigned(TRPEvent::DblClick))) return;
    std::string word;
    int sn = 0, it = -1, s = 0, e = 0;
    if ((options & rpoDblClickSelectsWord) && (options & rpoAllowSelection)) {
        TCustomRPFormattedData* holder = this;
        if (!FindWordAt(X, Y, word, sn, it, s, e, &holder)) return;
        holder->StoreSelectionBounds(it, s, it, e);
        holder->State |= rpstDblClickLock;
        State |= rpstDblClickLock;
        State &= ~rpstSelecting;
        if (holder != this) holder->SelectionChanged();
        SelectionChanged();
        InvalidateView();
        if (IsAssigned(TRPEvent::DblClick)) DoRPDblClick(word, sn);
    } else if (IsAssigned(TRPEvent::DblClick) && FindWordAt(X, Y, word, sn, it, s, e)) {
        DoRPDblClick(word, sn);
    }
}

bool TCustomRPFormattedData::FindWordAt(int X, int Y, std::string& Word, int& StyleNo, int& ItemNo,
                                        int& StartOffs, int& EndOffs, TCustomRPFormattedData** Holder) {
    int d = -1, o = 0;
    const int docX = X + GetHOffs(), docY = Y + GetVOffs();
    FindDrawItemAtPos(docX, docY, true, d, o);
    if (d < 0) return false;
    ItemNo = DrawItem(d)->ItemNo;
    StyleNo = GetItemStyle(ItemNo);
    // In a table the word is sought in the cell under the point.
    if (auto* cell = dynamic_cast<TRPItemFormattedData*>(
            GetItem(ItemNo)->GetCellRPDataAt(docX - DrawItem(d)->Left, docY - DrawItem(d)->Top))) {
        int ox = 0, oy = 0, cx = 0, cy = 0;
        GetOrigin(ox, oy);
        cell->GetOrigin(cx, cy);
        return cell->FindWordAt(docX + ox - cx - cell->GetHOffs(), docY + oy - cy - cell->GetVOffs(), Word,
                                StyleNo, ItemNo, StartOffs, EndOffs, Holder);
    }
    if (Holder) *Holder = this;
    if (StyleNo < 0) {
        Word = GetItemText(ItemNo);
        StartOffs = 0;
        EndOffs = 1;
        return true;
    }
    int s = o, e = o;
    FindWordBounds(d, o, s, e);
    if (s >= e) return false;
    const TRPDrawLineInfo* di = DrawItem(d);
    StartOffs = s + di->Offs - 1;
    EndOffs = e + di->Offs - 1;
    const TRPItemOptions opt = GetItemOptions(ItemNo);
    Word = ItemTextCopy(GetItemText(ItemNo), StartOffs, EndOffs - StartOffs, opt);
    if (opt & rpioUnicode) Word = UnicodeTextToAnsi(GetStyleCodePage(StyleNo), Word);
    return true;
}

void TCustomRPFormattedData::FindWordBounds(int DItemNo, int DOffs, int& SOffs, int& EOffs) {
    SOffs = EOffs = DOffs;
    if (DItemNo < 0 || DItemNo >= DrawItemCount()) return;
    const TRPDrawLineInfo* d = DrawItem(DItemNo);
    if (GetItemStyle(d->ItemNo) < 0) {
        SOffs = 0;
        EOffs = 1;
        return;
    }
    const std::string& text = GetItemText(d->ItemNo);
    const TRPItemOptions opt = GetItemOptions(d->ItemNo);
    const bool uni = (opt & rpioUnicode) != 0;
    const std::u16string w = uni ? ItemTextToWideStr(ItemTextCopy(text, d->Offs, d->Length, opt)) : std::u16string();
    const auto isDelim = [&](int k) { // k: 1-based character of the piece
        if (uni) return IsDelimiterW(w[static_cast<size_t>(k - 1)]);
        return IsDelimiterA(text[static_cast<size_t>(d->Offs + k - 2)]);
    };
    const int len = d->Length;
    const bool atWord = (DOffs <= len && !isDelim(DOffs)) || (DOffs > 1 && DOffs - 1 <= len && !isDelim(DOffs - 1));
    if (!atWord) return;
    int s = DOffs, e = DOffs;
    while (s > 1 && !isDelim(s - 1))
        --s;
    while (e <= len && !isDelim(e))
        ++e;
    SOffs = s;
    EOffs = e;
}
