// Enter, Delete, Backspace and typing at the caret.
#include <algorithm>

#include "platform/CodePage.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

// ---------------------------------------------------------------------------
// Enter

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CopyOfParaMarker(int ItemNo) {
    const int first = GetFirstParaItem(ItemNo);
    if (first < 0 || GetItemStyle(first) != rpsnListMarker) return nullptr;
    const auto* m = static_cast<const TRPMarkerItemInfo*>(GetItem(first));
    // The copy continues the numbering: it never restarts it.
    auto copy = TRPMarkerItemInfo::CreateEx(this, m->ListNo, m->Level, m->StartFrom, false);
    copy->ParaNo = m->ParaNo;
    return copy;
}

bool TRPEditRPData::InsertListMarkerCopy(int ItemNo, int InsertAt) {
    std::unique_ptr<TCustomRPItemInfo> marker = CopyOfParaMarker(ItemNo);
    if (!marker) return false;
    InsertItemWithUndo(InsertAt, std::string(), std::move(marker), false);
    return true;
}

namespace {

using TNewItems = std::vector<std::pair<std::string, std::unique_ptr<TCustomRPItemInfo>>>;

TNewItems NewItems(std::unique_ptr<TCustomRPItemInfo> A, std::string TextA = std::string(),
                   std::unique_ptr<TCustomRPItemInfo> B = nullptr, std::string TextB = std::string()) {
    TNewItems list;
    list.emplace_back(std::move(TextA), std::move(A));
    if (B) list.emplace_back(std::move(TextB), std::move(B));
    return list;
}

} // namespace

bool TRPEditRPData::OnEnterPress(bool Shift) {
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) return false;
    if (IsItemParaOptionSet(item, rppaoDoNotWantReturns)) {
        Beep();
        return false;
    }
    TRPStyle* style = GetRPStyle();
    const int count = GetItemCount();
    const int first = GetFirstOffsetOfItem(item), last = GetLastOffsetOfItem(item);
    const bool afterMarker = item > 0 && GetItemStyle(item - 1) == rpsnListMarker;
    const bool paraStart = offs == first && (IsParaStart(item) || afterMarker);
    const bool paraEnd = offs == last && (item + 1 >= count || IsParaStart(item + 1));
    int caretItem = item, caretOffs = offs;

    if (paraStart || paraEnd) {
        if (IsProtected(item, rpprParaStartProtect)) {
            Beep();
            return false;
        }
        const bool atLineEnd = paraEnd;
        if (atLineEnd && IsTextItem(item) && GetItem(item)->StyleNo == CurTextStyleNo && style &&
            style->TextStyles().GetItem(CurTextStyleNo)->NextStyleNo >= 0)
            SetCurTextStyle(style->TextStyles().GetItem(CurTextStyleNo)->NextStyleNo);
        if (!Shift && (item + 1 >= count || !GetItem(item + 1)->GetLineBreakBefore()) && style) {
            const int next = style->ParaStyles().GetItem(GetItemPara(item))->NextParaNo;
            if (IsParaReadOnly(item) || (atLineEnd && next >= 0)) SetCurParaStyle(next >= 0 ? next : 0);
        }
        int textStyle = CurTextStyleNo;
        if (IsProtectedStyle(textStyle, rpprModifyProtect)) textStyle = 0;
        const int para = Shift ? GetItemPara(item) : CurParaStyleNo;
        TRPTag tag;
        if (IsTextItem(item) && GetItem(item)->StyleNo == textStyle) tag = GetItem(item)->Tag;
        BeginUndoSequence(rpuaEnter, true);
        auto marker = Shift ? nullptr : CopyOfParaMarker(item);
        if (paraEnd) {
            auto fresh = CreateTextItem(textStyle, para, !Shift, Shift, tag);
            if (marker) {
                // The new paragraph is the next entry of the list.
                marker->ParaNo = para;
                fresh->SetContinuesPrev(true);
                InsertItemsWithUndo(item + 1, NewItems(std::move(marker), {}, std::move(fresh)), false);
                caretItem = item + 2;
            } else {
                InsertItemWithUndo(item + 1, std::string(), std::move(fresh), false);
                caretItem = item + 1;
            }
            caretOffs = 1;
        } else if (afterMarker) {
            // The empty entry stays behind the marker; the text moves on, as a
            // new entry of the list or as a new line of this one.
            const int markerPara = GetItemPara(item - 1);
            auto fresh = CreateTextItem(textStyle, markerPara, false, false, tag);
            fresh->SetContinuesPrev(true);
            if (marker) {
                InsertItemsWithUndo(item, NewItems(std::move(fresh), {}, std::move(marker)), false);
                caretItem = item + 2;
            } else {
                InsertItemWithUndo(item, std::string(), std::move(fresh), false);
                SetSameLineWithUndo(item + 1, false, markerPara);
                SetLineBreakWithUndo(item + 1, true);
                caretItem = item + 1;
            }
            caretOffs = GetFirstOffsetOfItem(caretItem);
        } else {
            // The new paragraph goes before the caret's; a line break moves the
            // paragraph start to the new item and breaks the line after it.
            auto fresh = CreateTextItem(textStyle, para, true, false, tag);
            if (Shift) fresh->ItemOptions |= GetItem(item)->ItemOptions & rpioPageBreakBefore;
            InsertItemWithUndo(item, std::string(), std::move(fresh), false);
            // A checkpoint marks where the paragraph begins.
            MoveCheckpointWithUndo(item + 1, item);
            if (Shift) {
                SetPageBreakWithUndo(item + 1, false);
                SetLineBreakWithUndo(item + 1, true);
            }
            caretItem = item + 1;
            caretOffs = GetFirstOffsetOfItem(caretItem);
        }
    } else {
        if (IsParaReadOnly(item)) {
            Beep();
            return false;
        }
        int target = -1;
        if (offs == first)
            target = item;
        else if (offs == last)
            target = item + 1;
        if (target >= 0) {
            if (IsProtected(target, rpprParaStartProtect)) {
                Beep();
                return false;
            }
            BeginUndoSequence(rpuaEnter, true);
            const bool pageBreak = GetItem(target)->GetPageBreakBefore();
            if (!Shift && InsertListMarkerCopy(item, target)) {
                ++target;
                // A line start after a line break now follows the new marker.
                if (!GetItem(target)->GetContinuesPrev()) {
                    SetSameLineWithUndo(target, true, -1);
                    if (pageBreak) SetPageBreakWithUndo(target - 1, true);
                }
            } else {
                if (GetItem(target)->GetContinuesPrev()) SetSameLineWithUndo(target, false, GetItemPara(target));
                SetLineBreakWithUndo(target, Shift);
            }
            caretItem = target;
            caretOffs = GetFirstOffsetOfItem(target);
        } else {
            if (IsProtected(item, rpprParaStartProtect) || IsProtected(item, rpprModifyProtect)) {
                Beep();
                return false;
            }
            BeginUndoSequence(rpuaEnter, true);
            const std::string tail = ItemTextCopy(GetItemText(item), offs, INT_MAX / 2, GetItemOptions(item));
            DeleteSubstringWithUndo(item, offs, -1);
            auto fresh = CreateTextItemCopy(item);
            fresh->SetContinuesPrev(false);
            if (Shift) fresh->SetLineBreakBefore(true);
            if (auto marker = Shift ? nullptr : CopyOfParaMarker(item)) {
                fresh->SetContinuesPrev(true);
                InsertItemsWithUndo(item + 1, NewItems(std::move(marker), {}, std::move(fresh), tail), false);
                caretItem = item + 2;
            } else {
                InsertItemWithUndo(item + 1, tail, std::move(fresh), false);
                caretItem = item + 1;
            }
            caretOffs = 1;
        }
    }
    EndUndoSequence();
    ReformatAndPlaceCaret(caretItem, caretOffs);
    return true;
}

bool TRPEditRPData::IsProtectedStyle(int StyleNo, TRPProtectOptions Option) const {
    TRPStyle* style = GetRPStyle();
    return style && StyleNo >= 0 && StyleNo < style->TextStyles().Count() &&
           (style->TextStyles().GetItem(StyleNo)->Protection & Option);
}

// ---------------------------------------------------------------------------
// Joining paragraphs

bool TRPEditRPData::ParaHasKeptCheckpoint(int ItemNo) const {
    const int first = GetFirstParaItem(ItemNo), last = LastItemOfParaPart(first);
    for (int i = first; i <= last; ++i)
        if (GetItem(i)->Checkpoint && GetItem(i)->Checkpoint->Persistent) return true;
    return false;
}

void TRPEditRPData::UnifyJoinedPara(int ItemNo) {
    const int first = GetFirstParaItem(ItemNo);
    SetParaRangeWithUndo(first, LastItemOfParaPart(first), GetItemPara(first));
}

// ---------------------------------------------------------------------------
// Delete

bool TRPEditRPData::CaretForDeletion(int& ItemNo, int& Offs) {
    GetCaretItemPos(ItemNo, Offs);
    if (ItemNo < 0) return false;
    if (IsParaReadOnly(ItemNo)) {
        Beep();
        return false;
    }
    return true;
}

void TRPEditRPData::OnDelPressed(bool ByWord, bool Recursing) {
    (void)ByWord, (void)Recursing;
    int item = -1, offs = -1;
    if (!CaretForDeletion(item, offs)) return;
    const int count = GetItemCount();
    const int last = GetLastOffsetOfItem(item);
    const bool emptyText = IsTextItem(item) && GetItemText(item).empty();
    if (offs < last) {
        // Delete removes what Backspace would remove after one step right.
        const int next = IsTextItem(item) ? GetNextCharOffset(GetItemText(item), item, offs) : 1;
        SetCaretItemPos(item, next, false);
        OnBackSpacePressed(false, true, true);
        return;
    }
    if (item + 1 >= count) {
        if (emptyText && item > 0) OnBackSpacePressed(false, true, true);
        return;
    }
    const int next = item + 1;
    if (IsFullLineItem(item) || (IsFullLineItem(next) && !emptyText)) {
        MoveCaretRight(false, false);
        return;
    }
    if (GetItem(next)->GetContinuesPrev()) {
        // The end of this item and the start of the next are one caret place:
        // Delete removes the next item's first character.
        if (IsTextItem(next) && GetItemText(next).empty()) {
            BeginUndoSequence(rpuaDelete, true);
            DeleteItemWithUndo(next);
            EndUndoSequence();
            ReformatAndPlaceCaret(item, offs);
            return;
        }
        const int to = IsTextItem(next) ? GetNextCharOffset(GetItemText(next), next, 1) : 1;
        SetCaretItemPos(next, to, false);
        OnBackSpacePressed(false, true, true);
        return;
    }
    // The next paragraph or line joins this one.
    if (IsParaReadOnly(next) || IsProtected(next, rpprParaStartProtect) || ParaHasKeptCheckpoint(next) ||
        (emptyText && IsProtected(item, rpprDeleteProtect)) ||
        (GetItemStyle(next) == rpsnListMarker && IsProtected(next, rpprDeleteProtect))) {
        Beep();
        return;
    }
    BeginUndoSequence(rpuaDelete, true);
    int caretItem = item, caretOffs = offs;
    if (emptyText) {
        const bool start = !GetItem(item)->GetContinuesPrev();
        const bool br = GetItem(item)->GetLineBreakBefore();
        const int para = GetItemPara(item);
        const bool entryBeforeFullLine = item > 0 && GetItemStyle(item - 1) == rpsnListMarker && IsFullLineItem(next);
        if (entryBeforeFullLine) {
            // An empty list entry before a table or break cannot take it into
            // its line: the entry goes, marker and all.
            DeleteItemsWithUndo(item - 1, item);
            EndUndoSequence();
            ReformatAndPlaceCaret(item - 1, GetFirstOffsetOfItem(item - 1));
            return;
        }
        if (GetItemStyle(next) == rpsnListMarker && (!start || br)) {
            // A marker cannot take a place inside a line: it goes too, and
            // its text follows on this line.
            DeleteItemsWithUndo(item, next);
        } else {
            DeleteItemWithUndo(item);
        }
        // The next item takes over the place of the empty one.
        if (GetItem(item)->GetContinuesPrev()) {
            // It already stands in the line.
        } else if (start) {
            SetLineBreakWithUndo(item, br);
            if (!br) SetParasFromListWithUndo(item, std::vector<int>(1, para));
        } else {
            JoinLineWithUndo(item);
        }
        caretOffs = GetFirstOffsetOfItem(item);
    } else if (IsTextItem(next) && GetItemText(next).empty() && !IsProtected(next, rpprDeleteProtect)) {
        DeleteItemWithUndo(next);
        if (next < GetItemCount() && GetItem(next)->GetContinuesPrev()) {
            // What followed the empty item on its line comes up as well.
        }
    } else if (CanMerge(item, true)) {
        MergeTextItemsWithUndo(item);
    } else if (GetItemStyle(next) == rpsnListMarker) {
        // A marker never stands inside a line: it goes, and its text joins
        // this paragraph.
        DeleteItemWithUndo(next);
        if (next < GetItemCount() && !GetItem(next)->GetContinuesPrev()) {
            // The marker stood alone: nothing of its paragraph is left.
        } else if (CanMerge(item)) {
            MergeTextItemsWithUndo(item);
        }
    } else {
        JoinLineWithUndo(next);
    }
    // What came up behind a table or break starts a paragraph instead.
    SeparateFromFullLines(caretItem, caretItem + 1);
    UnifyJoinedPara(std::min(caretItem, GetItemCount() - 1));
    EndUndoSequence();
    ReformatAndPlaceCaret(caretItem, caretOffs);
}

// ---------------------------------------------------------------------------
// Backspace

void TRPEditRPData::OnBackSpacePressed(bool ByWord, bool FromDelete, bool Recursing) {
    (void)Recursing;
    int item = -1, offs = -1;
    if (!CaretForDeletion(item, offs)) return;
    const int first = GetFirstOffsetOfItem(item);
    TCustomRPItemInfo* it = GetItem(item);
    const bool emptyText = IsTextItem(item) && GetItemText(item).empty();
    const bool afterMarker = item > 0 && GetItemStyle(item - 1) == rpsnListMarker;
    if (offs == first) {
        if (item == 0) return;
        if (IsFullLineItem(item) || (IsFullLineItem(item - 1) && !emptyText)) {
            MoveCaretLeft(false, false);
            return;
        }
        if (it->GetContinuesPrev() && !afterMarker) {
            // The start of an item inside a line is the end of the one before.
            SetCaretItemPos(item - 1, GetLastOffsetOfItem(item - 1), false);
            OnBackSpacePressed(ByWord, FromDelete, true);
            return;
        }
    }
    int caretItem = item, caretOffs = offs;
    if (offs == first) {
        // At the start of a paragraph or line: it joins the one before.
        if (IsParaReadOnly(item - 1) || IsProtected(item, rpprParaStartProtect) || ParaHasKeptCheckpoint(item) ||
            (emptyText && IsProtected(item, rpprDeleteProtect))) {
            Beep();
            return;
        }
        BeginUndoSequence(rpuaDelete, true);
        bool join = true;
        if (it->GetPageBreakBefore() && !afterMarker) {
            SetPageBreakWithUndo(item, false);
            join = false;
        } else if (afterMarker) {
            if (item - 1 > 0) {
                SetSameLineWithUndo(item, false, GetItemPara(item));
                DeleteItemWithUndo(item - 1);
                caretItem = item - 1;
                caretOffs = GetFirstOffsetOfItem(caretItem);
            } else {
                DeleteItemWithUndo(item - 1);
                SetSameLineWithUndo(0, false, GetItemPara(0));
                caretItem = 0;
                caretOffs = GetFirstOffsetOfItem(0);
                join = false;
            }
        } else if (emptyText && !(item + 1 < GetItemCount() && GetItem(item + 1)->GetContinuesPrev())) {
            DeleteItemWithUndo(item);
            caretItem = item - 1;
            caretOffs = GetLastOffsetOfItem(caretItem);
        } else if (IsTextItem(item - 1) && GetItemText(item - 1).empty() && IsParaStart(item - 1)) {
            const bool br = GetItem(item - 1)->GetLineBreakBefore();
            const int para = GetItemPara(item - 1);
            DeleteItemWithUndo(item - 1);
            caretItem = item - 1;
            if (!br) SetLineBreakWithUndo(caretItem, false);
            (void)para;
            caretOffs = GetFirstOffsetOfItem(caretItem);
            join = false;
        } else if (CanMerge(item - 1, true)) {
            const int len = ItemTextLength(GetItemText(item - 1), GetItemOptions(item - 1));
            MergeTextItemsWithUndo(item - 1);
            caretItem = item - 1;
            caretOffs = len + 1;
        } else {
            JoinLineWithUndo(item);
        }
        SeparateFromFullLines(caretItem, caretItem + 1);
        if (join) UnifyJoinedPara(caretItem);
    } else if (IsTextItem(item)) {
        if (IsProtected(item, rpprModifyProtect)) {
            Beep();
            return;
        }
        const std::string& text = GetItemText(item);
        int from = GetPrevCharOffset(text, item, offs);
        if (ByWord) {
            // Back over the blanks before the caret, then over the word.
            const TRPItemOptions opts = GetItemOptions(item);
            from = offs;
            while (from > 1 && ItemTextIsSpaceAt(text, from - 1, opts))
                --from;
            while (from > 1 && !ItemTextIsSpaceAt(text, from - 1, opts))
                --from;
        }
        const int n = offs - from;
        const int len = ItemTextLength(text, GetItemOptions(item));
        BeginUndoSequence(rpuaDelete, true);
        if (n >= len && !RemoveWholeItem(item, caretItem, caretOffs)) {
            EndUndoSequence();
            return;
        }
        if (n < len) {
            DeleteSubstringWithUndo(item, from, n);
            caretOffs = from;
        }
    } else {
        // A non-text item before the caret.
        BeginUndoSequence(rpuaDelete, true);
        if (!RemoveWholeItem(item, caretItem, caretOffs)) {
            EndUndoSequence();
            return;
        }
    }
    EndUndoSequence();
    ReformatAndPlaceCaret(caretItem, caretOffs);
}

bool TRPEditRPData::RemoveWholeItem(int ItemNo, int& CaretItem, int& CaretOffs) {
    TCustomRPItemInfo* it = GetItem(ItemNo);
    auto* nonText = dynamic_cast<TRPNonTextItemInfo*>(it);
    if (IsProtected(ItemNo, rpprDeleteProtect) || (nonText && nonText->DeleteProtect)) {
        Beep();
        return false;
    }
    const bool continues = it->GetContinuesPrev();
    const bool afterMarker = ItemNo > 0 && GetItemStyle(ItemNo - 1) == rpsnListMarker;
    const bool startsLine = !continues || afterMarker;
    const bool nextContinues = ItemNo + 1 < GetItemCount() && GetItem(ItemNo + 1)->GetContinuesPrev();
    if (startsLine && !nextContinues) {
        // An empty paragraph or line remains.
        if (IsTextItem(ItemNo)) {
            DeleteSubstringWithUndo(ItemNo, 1, -1);
        } else {
            auto fresh = CreateTextItem(CurTextStyleNo, CurParaStyleNo, !continues && !it->GetLineBreakBefore(),
                                        it->GetLineBreakBefore(), TRPTag{});
            if (continues) fresh->SetContinuesPrev(true);
            fresh->ItemOptions |= it->ItemOptions & rpioPageBreakBefore;
            fresh->ParaNo = it->ParaNo;
            if (it->Checkpoint) fresh->Checkpoint = it->Checkpoint->CreateCopy();
            DeleteItemWithUndo(ItemNo);
            InsertItemWithUndo(ItemNo, std::string(), std::move(fresh), false);
        }
        CaretItem = ItemNo;
        CaretOffs = GetFirstOffsetOfItem(ItemNo);
        return true;
    }
    if (startsLine) {
        const bool br = it->GetLineBreakBefore(), pb = it->GetPageBreakBefore();
        const int para = it->ParaNo;
        KeepCheckpointOnDelete(ItemNo, false);
        DeleteItemWithUndo(ItemNo);
        if (!continues) {
            SetSameLineWithUndo(ItemNo, false, para);
            if (br) SetLineBreakWithUndo(ItemNo, true);
            if (pb) SetPageBreakWithUndo(ItemNo, true);
        }
        CaretItem = ItemNo;
        CaretOffs = GetFirstOffsetOfItem(ItemNo);
        return true;
    }
    KeepCheckpointOnDelete(ItemNo, false);
    DeleteItemWithUndo(ItemNo);
    CaretItem = ItemNo - 1;
    CaretOffs = GetLastOffsetOfItem(CaretItem);
    if (CanMerge(CaretItem)) MergeTextItemsWithUndo(CaretItem);
    return true;
}

// ---------------------------------------------------------------------------
// Typing

std::string TRPEditRPData::TextForCurrentStyle(const QString& s) const {
    const int sn = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    if (IsUnicodeStyle(sn)) return QStringToItemText(s, rpioUnicode, 0);
    return QStringToItemText(s, 0, GetStyleCodePage(sn));
}

bool TRPEditRPData::IsUnicodeStyle(int StyleNo) const {
    TRPStyle* style = GetRPStyle();
    return style && StyleNo >= 0 && StyleNo < style->TextStyles().Count() && style->TextStyles().GetItem(StyleNo)->Unicode;
}

bool TRPEditRPData::SwitchToUnicodeStyleFor(const QString& s) {
    TRPStyle* style = GetRPStyle();
    if (!style) return false;
    const int sn = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    const int uni = style->DefUnicodeStyle;
    if (IsUnicodeStyle(sn) || !IsUnicodeStyle(uni)) return false;
    bool lossy = false;
    CodePage::FromUnicode(GetStyleCodePage(sn), s, &lossy);
    if (!lossy) return false;
    SetCurTextStyle(uni);
    return true;
}

void TRPEditRPData::KeyPressChar(char16_t Key) {
    if (!GetRPStyle() || !InsertAllowedAtCaret()) {
        Beep();
        return;
    }
    // A character the 8-bit style cannot hold would turn into "?".
    SwitchToUnicodeStyleFor(QString(QChar(Key)));
    const std::string s = TextForCurrentStyle(QString(QChar(Key)));
    if (!s.empty()) TypeText(s);
}

void TRPEditRPData::TypeText(const std::string& Text) {
    if (!GetRPStyle() || !InsertAllowedAtCaret()) {
        Beep();
        return;
    }
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) return;
    if (IsParaReadOnly(item)) {
        Beep();
        return;
    }
    const int typing = CurTextStyleNo;
    const int cur = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    const auto ofCurrent = [&](int i) { return IsTextItem(i) && GetItem(i)->StyleNo == cur; };
    if (!ofCurrent(item)) {
        const bool atEnd = offs == GetLastOffsetOfItem(item);
        if (atEnd && item + 1 < GetItemCount() && ofCurrent(item + 1) && GetItem(item + 1)->GetContinuesPrev()) {
            ++item;
            offs = 1;
        } else {
            TypeAsNewItem(Text);
            return;
        }
    }
    if (IsProtected(item, rpprConcateProtect)) {
        TypeAsNewItem(Text);
        return;
    }
    if (IsProtected(item, rpprModifyProtect)) {
        if (offs == GetFirstOffsetOfItem(item) || offs == GetLastOffsetOfItem(item))
            TypeAsNewItem(Text);
        else
            Beep();
        return;
    }
    const TRPItemOptions opts = GetItemOptions(item);
    const int n = ItemTextLength(Text, opts);
    if (n > 1) {
        BeginUndoSequence(rpuaEnter, true);
        InsertSubstringWithUndo(item, offs, Text);
        EndUndoSequence();
    } else {
        UndoList->AddTyping(item, offs, (opts & rpioUnicode) != 0);
        MarkChanged(item, item);
        ItemTextInsert(Text, Items->Text(item), offs, opts);
    }
    ReformatAndPlaceCaret(item, offs + n);
    GoOnTyping(typing);
    EndEdit(true);
}

void TRPEditRPData::TypeAsNewItem(const std::string& Text) {
    BeginUndoSequence(rpuaInsert, true);
    const int typing = CurTextStyleNo;
    const int cur = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    InsertItemAtCaret(Text, CreateTextItem(cur, CurParaStyleNo, false, false, TRPTag{}), false, true);
    EndUndoSequence();
    GoOnTyping(typing);
    EndEdit(true);
}

void TRPEditRPData::GoOnTyping(int StyleNo) {
    // The caret after typed text may belong to the item after it; the next
    // character still goes on in the style just typed.
    if (CurTextStyleNo == StyleNo) return;
    SetCurTextStyle(StyleNo);
    RememberedTextStyle = StyleNo;
}
