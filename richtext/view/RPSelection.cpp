// Selection operations, the search for focusable items, the XOR marker and
// mouse capture of items, coordinates, and the protection tests of editing.
#include <algorithm>

#include "richtext/model/RPStyle.h"
#include "richtext/view/RPControlData.h"
#include "richtext/view/RPFormatState.h"
#include "richtext/view/RichPad.h"

bool TCustomRPFormattedData::SelectionExists(bool DeselectIfEmpty, bool AskPartialItem) {
    // While a cell is edited, its selection is the one that counts.
    if (auto* cell = dynamic_cast<TCustomRichPad*>(GetCellEditor()))
        return cell->RPData()->SelectionExists(DeselectIfEmpty, AskPartialItem);
    if (AskPartialItem && PartialSelectedItem && PartialSelectedItem->HasCellSelection()) return true;
    if (SelStartNo >= 0 && SelEndNo >= 0) {
        int si, so, ei, eo;
        GetSelBounds(si, so, ei, eo, true);
        if (si != ei || so != eo) return true;
    }
    if (DeselectIfEmpty && SelStartNo >= 0) Deselect(nullptr, false);
    return false;
}

void TCustomRPFormattedData::GetSelectionOrCaretBounds(int& StartItemNo, int& StartItemOffs, int& EndItemNo,
                                                       int& EndItemOffs) {
    GetSelBounds(StartItemNo, StartItemOffs, EndItemNo, EndItemOffs, true);
}

void TCustomRPFormattedData::GetSelStartDrawPos(int& DItemNo, int& DOffs) {
    if (!SelectionExists(true, false)) {
        DItemNo = -1;
        DOffs = 0;
        return;
    }
    DItemNo = SelStartNo;
    DOffs = SelStartOffs;
}

void TCustomRPFormattedData::SetSelectionBounds(int StartItemNo, int StartItemOffs, int EndItemNo, int EndItemOffs) {
    ReleasePartialSelections(nullptr);
    // An end on a list marker goes to the text after it.
    const auto offMarker = [this](int& ItemNo, int& Offs) {
        if (IsListMarkerItem(ItemNo) && ItemNo + 1 < GetItemCount()) {
            ++ItemNo;
            Offs = GetFirstOffsetOfItem(ItemNo);
        }
    };
    offMarker(StartItemNo, StartItemOffs);
    offMarker(EndItemNo, EndItemOffs);
    StoreSelectionBounds(StartItemNo, StartItemOffs, EndItemNo, EndItemOffs);
    SelectionChanged();
}

void TCustomRPFormattedData::ReleasePartialSelections(TCustomRPItemInfo* Except) {
    if (PartialSelectedItem && PartialSelectedItem != Except) {
        PartialSelectedItem->ClearSelection();
        PartialSelectedItem = nullptr;
    }
    ReleaseEditedCellExcept(Except);
}

void TCustomRPFormattedData::SetPartialSelectedItem(TCustomRPItemInfo* Item) {
    if (Item == PartialSelectedItem) return;
    Deselect(Item, false);
    PartialSelectedItem = Item;
    SelectionChanged();
}

bool TCustomRPFormattedData::IsPositionInSelection(int ItemNo, int Offs) {
    // All of a selected item is selected, down to its cells.
    if (auto* sub = dynamic_cast<TRPItemFormattedData*>(this))
        if (auto* parent = dynamic_cast<TCustomRPFormattedData*>(sub->ParentData)) {
            const int owner = parent->GetItemNo(sub->OwnerItem);
            if (owner >= 0 && parent->IsPositionInSelection(owner, 0) &&
                parent->IsPositionInSelection(owner, 1))
                return true;
        }
    if (ItemNo < 0 || !SelectionExists(false, false)) return false;
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    const auto before = [](int i1, int o1, int i2, int o2) { return i1 < i2 || (i1 == i2 && o1 < o2); };
    return !before(ItemNo, Offs, si, so) && !before(ei, eo, ItemNo, Offs);
}

bool TCustomRPFormattedData::IsDrawItemParaStart(int DItemNo) const {
    if (DItemNo <= 0) return true;
    const int item = DrawItem(DItemNo)->ItemNo;
    return DrawItem(DItemNo - 1)->ItemNo != item && IsParaStart(item);
}

int TCustomRPFormattedData::ParaStartDItem(int DItemNo) const {
    while (DItemNo > 0 && !IsDrawItemParaStart(DItemNo))
        --DItemNo;
    return DItemNo;
}

int TCustomRPFormattedData::ParaEndDItem(int DItemNo) const {
    const int n = DrawItemCount();
    while (DItemNo + 1 < n && !IsDrawItemParaStart(DItemNo + 1))
        ++DItemNo;
    return DItemNo;
}

bool TCustomRPFormattedData::SelectionCrossesParas() {
    int sd, ed, so, eo;
    GetDrawSelectionBounds(sd, ed, true, so, eo);
    if (sd < 0) return false;
    for (int i = sd + 1; i <= ed; ++i)
        if (IsDrawItemParaStart(i)) return true;
    return false;
}

bool TCustomRPFormattedData::ExtendSelectionToParas(bool OnlyIfMultiPara) {
    if (SelStartNo < 0 || (SelStartNo == SelEndNo && SelStartOffs == SelEndOffs)) return false;
    if (OnlyIfMultiPara && !SelectionCrossesParas()) return false;
    const bool forward = SelStartNo < SelEndNo || (SelStartNo == SelEndNo && SelStartOffs <= SelEndOffs);
    int& first = forward ? SelStartNo : SelEndNo;
    int& firstOffs = forward ? SelStartOffs : SelEndOffs;
    int& last = forward ? SelEndNo : SelStartNo;
    int& lastOffs = forward ? SelEndOffs : SelStartOffs;
    const int nf = ParaStartDItem(first), nl = ParaEndDItem(last);
    const int nfo = GetFirstOffsetOfDrawItem(nf), nlo = GetLastOffsetOfDrawItem(nl);
    const bool moved = nf != first || nfo != firstOffs || nl != last || nlo != lastOffs;
    first = nf;
    firstOffs = nfo;
    last = nl;
    lastOffs = nlo;
    return moved;
}

void TCustomRPFormattedData::ExtendToLines() {
    if (SelStartNo < 0 || SelEndNo < 0) return;
    const bool forward = SelStartNo <= SelEndNo;
    int f1, l1, f2, l2;
    GetLineBounds(forward ? SelStartNo : SelEndNo, f1, l1);
    GetLineBounds(forward ? SelEndNo : SelStartNo, f2, l2);
    // The first draw item after a list marker starts the line too.
    if (IsListMarkerItem(DrawItem(f1)->ItemNo) && f1 < l1) ++f1;
    int& first = forward ? SelStartNo : SelEndNo;
    int& firstOffs = forward ? SelStartOffs : SelEndOffs;
    int& last = forward ? SelEndNo : SelStartNo;
    int& lastOffs = forward ? SelEndOffs : SelStartOffs;
    first = f1;
    firstOffs = GetFirstOffsetOfDrawItem(f1);
    last = l2;
    lastOffs = GetLastOffsetOfDrawItem(l2);
}

TGraphic* TCustomRPFormattedData::GetSelectedImage() {
    if (!SelectionExists(false, false)) return nullptr;
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    if (si != ei || si < 0 || so != GetFirstOffsetOfItem(si) || eo != GetLastOffsetOfItem(si)) return nullptr;
    if (GetItemStyle(si) >= 0) return nullptr;
    return GetItem(si)->GetGraphic();
}

bool TCustomRPFormattedData::GetItemCoords(int ItemNo, int& Left, int& Top) {
    // While a range of lines is laid out again, their slots are empty and the
    // lines below still carry the old item numbers: no item has a place yet
    // (a table formatting its cells asks; the document places it afterwards).
    if (DrawItems->DeletedCount > 0) return false;
    const int d = GetFirstDrawItemOfItem(ItemNo);
    if (d < 0) return false;
    Left = DrawItem(d)->Left;
    Top = DrawItem(d)->Top;
    return true;
}

bool TCustomRPFormattedData::GetItemClientCoords(int ItemNo, int& Left, int& Top) {
    if (!GetItemCoords(ItemNo, Left, Top)) return false;
    Left -= GetHOffs();
    Top -= GetVOffs();
    return true;
}

void TCustomRPFormattedData::ShowRectangle(int X, int Y, int Width, int Height) {
    const int h = GetHOffs(), v = GetVOffs();
    const int w = GetWidth(), vh = GetHeight();
    if (X < h)
        HScrollTo(X);
    else if (X + Width > h + w)
        HScrollTo(X + Width - w);
    if (Y < v) {
        ScrollToY(Y, true);
    } else if (Y + Height > v + vh) {
        // The view moves by whole scroll units: up to the next one, so that
        // the bottom is not cut, yet never so far that the top of a rectangle
        // that fits would be.
        const int step = std::max(1, GetVSmallStep());
        int y = (Y + Height - vh + step - 1) / step * step;
        if (Height <= vh) y = std::min(y, Y / step * step);
        ScrollToY(y, true);
    }
}

// ---------------------------------------------------------------------------
// Keyboard focus among items

int TCustomRPFormattedData::FindNextFocusableItem(int FromItemNo, bool Forward, TCustomRPFormattedData*& FocusedDataOut,
                                                  int& FocusedItemNoOut) {
    const int n = GetItemCount();
    if (FocusedItemNo >= n) FocusedItemNo = -1;
    const TRPStyle* style = GetRPStyle();
    const auto focusable = [&](int i) { return i >= 0 && i < n && GetItem(i)->GetBoolValueEx(rpbivexKeyboardFocus, style); };
    const auto check = [&](int i) {
        if (focusable(i)) {
            FocusedDataOut = this;
            FocusedItemNoOut = i;
            return true;
        }
        // An item with inner documents searches them itself and names the
        // document and the item that took the focus.
        TCustomRPData* inner = nullptr;
        int innerItem = -1;
        if (GetItem(i)->MoveFocus(Forward, inner, innerItem)) {
            auto* innerData = dynamic_cast<TCustomRPFormattedData*>(inner);
            FocusedDataOut = innerData ? innerData : this;
            FocusedItemNoOut = innerData ? innerItem : i;
            return true;
        }
        return false;
    };
    if (Forward) {
        const int start = FromItemNo < 0 ? 0 : (focusable(FromItemNo) ? FromItemNo + 1 : FromItemNo);
        for (int i = start; i < n; ++i)
            if (check(i)) return i;
    } else {
        if (FromItemNo < 0) FromItemNo = n;
        const int start = (FromItemNo >= n || focusable(FromItemNo)) ? FromItemNo - 1 : FromItemNo;
        for (int i = start; i >= 0; --i)
            if (check(i)) return i;
    }
    return -1;
}

void TCustomRPFormattedData::ClearItemFocus() {
    if (FocusedItemNo >= 0 && FocusedItemNo < GetItemCount()) GetItem(FocusedItemNo)->ClearFocus();
    FocusedItemNo = -1;
}

void TCustomRPFormattedData::SetFocusedItemNo(int ItemNo) {
    FocusedItemNo = ItemNo;
}

void TCustomRPFormattedData::SelectionChanged() {}

// ---------------------------------------------------------------------------
// XOR marker and mouse capture

void TCustomRPFormattedData::RegisterXorDrawer(TRPXorDrawer Method) {
    if (XorVisible) DrawXorMarker();
    XorDrawer = std::move(Method);
}

void TCustomRPFormattedData::UnregisterXorDrawer() {
    if (XorVisible && !(State & rpstClearing)) DrawXorMarker();
    XorVisible = false;
    XorDrawer = nullptr;
}

void TCustomRPFormattedData::DrawXorMarker() {
    if (!XorDrawer) return;
    XorDrawer(this, 0, XorX, XorY);
    XorVisible = !XorVisible;
}

void TCustomRPFormattedData::ShowXorMarkerAt(int X, int Y) {
    if (!XorDrawer) return;
    XorX = X;
    XorY = Y;
    if (!XorVisible) DrawXorMarker();
}

bool TCustomRPFormattedData::HideXorMarker() {
    if (!XorVisible) return false;
    DrawXorMarker();
    return true;
}

bool TCustomRPFormattedData::CaptureMouseForItem(TCustomRPItemInfo* Item, int& Left, int& Top) {
    CaptureItem = Item;
    const int itemNo = GetItemNo(Item);
    int d = CaptureDItemNo;
    if (d < 0 || d >= DrawItemCount() || DrawItem(d)->ItemNo != itemNo) d = GetFirstDrawItemOfItem(itemNo);
    CaptureDItemNo = d;
    if (d < 0) return false;
    Left = DrawItem(d)->Left;
    Top = DrawItem(d)->Top;
    return true;
}

void TCustomRPFormattedData::ReleaseMouseCapture(TCustomRPItemInfo* Item) {
    if (CaptureItem == Item) CaptureItem = nullptr;
}

// ---------------------------------------------------------------------------
// Protection

bool TCustomRPFormattedData::IsParaOptionSet(int ParaNo, TRPParaOptions Option) {
    const TRPStyle* style = GetRPStyle();
    return style && (style->ParaStyles().GetItem(ParaNo)->Options & Option) != 0;
}

bool TCustomRPFormattedData::IsItemParaOptionSet(int ItemNo, TRPParaOptions Option) {
    return IsParaOptionSet(GetItemPara(ItemNo), Option);
}

bool TCustomRPFormattedData::IsItemProtected(int ItemNo, TRPProtectOptions Option) {
    const int sn = GetItemStyle(ItemNo);
    if (sn >= 0) {
        const TRPStyle* style = GetRPStyle();
        return style && (style->TextStyles().GetItem(sn)->Protection & Option) != 0;
    }
    if (Option != rpprDeleteProtect) return false;
    auto* nt = dynamic_cast<TRPNonTextItemInfo*>(GetItem(ItemNo));
    return nt && nt->DeleteProtect;
}

bool TCustomRPFormattedData::IsStickingProtected(int ItemNo, bool Silent) {
    const int n = GetItemCount();
    bool p = false;
    if (n > 0) {
        if (ItemNo < 0)
            p = IsItemProtected(0, rpprStickToTop);
        else if (ItemNo >= n - 1)
            p = IsItemProtected(n - 1, rpprStickToBottom);
        else
            p = IsItemProtected(ItemNo, rpprSticking) && IsItemProtected(ItemNo + 1, rpprSticking);
    }
    if (p && !Silent) Beep();
    return p;
}

bool TCustomRPFormattedData::IsInsertAllowedAt(int ItemNo, int Offs) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return false;
    if (IsItemParaOptionSet(ItemNo, rppaoReadOnly)) return false;
    if (GetItemStyle(ItemNo) >= 0 && IsItemProtected(ItemNo, rpprModifyProtect)) return false;
    if (Offs <= GetFirstOffsetOfItem(ItemNo) && IsStickingProtected(ItemNo - 1, true)) return false;
    if (Offs >= GetLastOffsetOfItem(ItemNo) && IsStickingProtected(ItemNo, true)) return false;
    return true;
}
